#include "Log.h"

#include "DbError.h"
#include "Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QTime>

namespace {
std::function<QString()> &directoryProvider()
{
    static std::function<QString()> provider;
    return provider;
}
} // namespace

ErrorInfo ErrorInfo::fromException(const std::exception &e)
{
    if (const auto *dbe = dynamic_cast<const db::DbError *>(&e))
        return {dbe->number(), dbe->description(), dbe->source()};
    return {0, QString::fromUtf8(e.what()), QStringLiteral("Mostrador")};
}

void Log::setDirectoryProvider(std::function<QString()> provider)
{
    directoryProvider() = std::move(provider);
}

QString Log::directory()
{
    QString dir;
    if (directoryProvider())
        dir = directoryProvider()();
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QLatin1Char('\\')))
        dir += QLatin1Char('/');
    return dir;
}

QString Log::fileNameFor(const QDate &date)
{
    return QStringLiteral("zev") + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
}

void writeLog(const QString &text)
{
    try {
        QFile file(Log::directory() + Log::fileNameFor(QDate::currentDate()));
        if (!file.open(QIODevice::Append | QIODevice::Text))
            return;
        QTextStream out(&file);
        out << QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) << ':' << text << '\n';
    } catch (...) {
        // Logging must never stop the program.
    }
}

QString reportError(Prompter &prompter, const QString &text, const QString &where, const ErrorInfo &error)
{
    const QString message = where + QStringLiteral(":[") + QString::number(error.number) + QStringLiteral("]-[") +
                            error.description + QStringLiteral("]-[") + error.source + QStringLiteral("]:") + text;
    writeLog(message);
    prompter.critical(message);
    return message;
}
