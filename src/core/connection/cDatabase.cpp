#include "cDatabase.h"

#include "Connection.h"
#include "Log.h"
#include "Prompter.h"
#include "Recordset.h"

#include <QElapsedTimer>
#include <QTime>

namespace {
QStringList splitColumns(const QString &list)
{
    QStringList out;
    for (const QString &part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            out << name;
    }
    return out;
}
} // namespace

cDatabase::cDatabase(Prompter &prompter, QObject *parent) : QObject(parent), m_prompter(prompter) {}

void cDatabase::status(const QString &text)
{
    if (m_status)
        m_status(text);
}

QList<QPair<QString, QString>> cDatabase::pairColumns(const db::Recordset &destination, const db::Recordset &source,
                                                      const QString &destinationColumns,
                                                      const QString &sourceColumns)
{
    QList<QPair<QString, QString>> pairs;
    const QStringList first = splitColumns(destinationColumns);
    const QStringList second = splitColumns(sourceColumns);
    if (!first.isEmpty() && !second.isEmpty()) {
        const qsizetype n = qMin(first.size(), second.size());
        for (qsizetype i = 0; i < n; ++i) {
            if (destination.hasField(first.at(i)) && source.hasField(second.at(i)))
                pairs.append({first.at(i), second.at(i)});
        }
        return pairs;
    }
    for (int i = 0; i < source.fieldCount(); ++i) {
        const QString name = source.fieldName(i);
        if (destination.hasField(name))
            pairs.append({name, name});
    }
    return pairs;
}

bool cDatabase::bulkCopy(db::Connection &destination, db::Connection &source, const QString &destinationQuery,
                         const QString &sourceQuery, const QString &destinationColumns,
                         const QString &sourceColumns, int progressInterval)
{
    const int interval = qMax(1, progressInterval);
    try {
        db::Recordset from = source.openForwardOnly(sourceQuery);
        db::Recordset to = destination.openUpdatable(destinationQuery);
        const auto pairs = pairColumns(to, from, destinationColumns, sourceColumns);
        if (pairs.isEmpty()) {
            from.close();
            to.close();
            m_prompter.exclamation(QStringLiteral("El Origen y Destino No son compatibles"));
            return false;
        }

        QElapsedTimer clock;
        clock.start();
        qint64 count = 0;
        while (!from.eof()) {
            to.addNew();
            for (const auto &pair : pairs)
                to.setValue(pair.first, from.value(pair.second));
            from.moveNext();
            if (++count % interval == 0) {
                const QString elapsed = QTime(0, 0).addMSecs(int(clock.elapsed())).toString(QStringLiteral("HH:mm:ss"));
                status(QStringLiteral(" Registros ") + QString::number(count) + QStringLiteral(" Tiempo ") + elapsed);
            }
        }
        status(QStringLiteral(" Actualizando ..."));
        to.updateBatch();
        from.close();
        to.close();
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("Error al copiar los registros"), QStringLiteral("cDatabase.bulkCopy"),
                    ErrorInfo::fromException(e));
        return false;
    }
}
