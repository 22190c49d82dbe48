#include "Log.h"

#include "DbError.h"
#include "Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
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
    if (dir.isEmpty()) {
        // Errors quote statements and data: not beside the program, and not for other users.
        dir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/log");
        if (!QFileInfo::exists(dir) && QDir().mkpath(dir))
            QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QLatin1Char('\\')))
        dir += QLatin1Char('/');
    return dir;
}

QString Log::fileNameFor(const QDate &date)
{
    return QStringLiteral("zev") + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
}

void Log::removeOldFiles(const QString &dir, const QDate &today, int keepDays)
{
    const QDate oldest = today.addDays(-(keepDays - 1));
    const QStringList files = QDir(dir).entryList({QStringLiteral("zev????????.log")}, QDir::Files);
    for (const QString &name : files) {
        const QDate day = QDate::fromString(name.mid(3, 8), QStringLiteral("yyyyMMdd"));
        if (day.isValid() && day < oldest)
            QFile::remove(QDir(dir).filePath(name));
    }
}

void writeLog(const QString &text)
{
    try {
        const QString dir = Log::directory();
        const QDate today = QDate::currentDate();
        QFile file(dir + Log::fileNameFor(today));
        const bool firstToday = !file.exists();
        if (!file.open(QIODevice::Append | QIODevice::Text, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            return;
        if (firstToday)
            Log::removeOldFiles(dir, today);
        QTextStream out(&file);
        out << QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) << ':' << text << '\n';
    } catch (...) {
        // Logging must never stop the program.
    }
}

QString errorParaUsuario(const QString &text, const QString &where)
{
    const QString sentence = text.trimmed();
    if (sentence.contains(QLatin1Char(' ')))
        return sentence;
    // Otherwise text and where are procedure names ("agregarRegistro", "frmPerfil.guardaDatos").
    static const QList<std::pair<QString, QString>> operaciones = {
        {QStringLiteral("agregar"), QStringLiteral("No se pudo agregar el registro")},
        {QStringLiteral("modificar"), QStringLiteral("No se pudo modificar el registro")},
        {QStringLiteral("eliminar"), QStringLiteral("No se pudo eliminar el registro")},
        {QStringLiteral("consultar"), QStringLiteral("No se pudo consultar el registro")},
        {QStringLiteral("guarda"), QStringLiteral("No se pudieron guardar los datos")},
        {QStringLiteral("save"), QStringLiteral("No se pudo guardar la configuración")},
        {QStringLiteral("valida"), QStringLiteral("No se pudieron revisar los datos")},
        {QStringLiteral("cmdok"), QStringLiteral("No se pudo revisar el usuario")},
        {QStringLiteral("huella"), QStringLiteral("No se pudo revisar la huella digital")},
        {QStringLiteral("buscar"), QStringLiteral("No se pudo realizar la búsqueda")},
        {QStringLiteral("cargagrid"), QStringLiteral("No se pudo realizar la búsqueda")},
        {QStringLiteral("carga"), QStringLiteral("No se pudieron leer los datos")},
    };
    const QString where1 = where.section(QLatin1Char('.'), -1).toLower();
    for (const QString &name : {sentence.toLower(), where1}) {
        if (name.isEmpty())
            continue;
        for (const auto &[prefix, message] : operaciones)
            if (name.contains(prefix))
                return message;
    }
    return QStringLiteral("No se pudo completar la operación");
}

QString reportError(Prompter &prompter, const QString &text, const QString &where, const ErrorInfo &error)
{
    const QString message = where + QStringLiteral(":[") + QString::number(error.number) +
                            QStringLiteral("]-[") + error.description + QStringLiteral("]-[") + error.source +
                            QStringLiteral("]:") + text;
    writeLog(message);
    prompter.detailedMessage(Prompter::Icon::Critical, errorParaUsuario(text, where), message);
    return message;
}
