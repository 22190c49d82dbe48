#include "CValue.h"

#include "cConfigValue.h"
#include "cConfigure.h"

#include "Decimal.h"

#include <QDateTime>
#include <QHash>

CValue::CValue(QObject *parent) : QObject(parent) {}

CValue::CValue(const QString &key, const QVariant &value, const QString &tipo, QObject *parent)
    : QObject(parent), m_key(key), m_value(value)
{
    setTipo(tipo);
}

namespace {

QDateTime asDateTime(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().startOfDay();
    const QString text = v.toString().trimmed();
    for (const char *f : {"dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd"}) {
        const QDateTime d = QDateTime::fromString(text, QString::fromLatin1(f));
        if (d.isValid())
            return d;
    }
    return {};
}

// Decimal has no QVariant text conversion of its own.
QString textOf(const QVariant &v)
{
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return v.value<Decimal>().toString();
    return v.toString();
}

bool isEmpty(const QVariant &v)
{
    return !v.isValid() || v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

} // namespace

QString CValue::dateFormat() const
{
    if (m_config) {
        const QString configured = m_config->getValue(QStringLiteral("FORMATO-FECHA-SERVIDOR-FULL")).toString();
        if (!configured.isEmpty())
            return configured;
    }
    return m_dateFormat;
}

QString CValue::valueToDb() const
{
    return valueToDb(dateFormat());
}

QString CValue::literalText(const QString &vbDateFormat) const
{
    if (m_tipo == QLatin1String("F")) {
        const QDateTime d = asDateTime(m_value);
        return d.isValid() ? d.toString(cConfigValue::qtDateFormat(vbDateFormat)) : textOf(m_value);
    }
    return textOf(m_value);
}

QString CValue::valueToDb(const QString &vbDateFormat) const
{
    const auto quoted = [](const QString &text) -> QString {
        QString t = text;
        t.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + t + QLatin1Char('\'');
    };
    if (m_tipo == QLatin1String("F") || m_tipo == QLatin1String("E") || m_tipo == QLatin1String("T"))
        return quoted(literalText(vbDateFormat));
    if (m_tipo == QLatin1String("N"))
        return textOf(m_value);
    return QString();
}

QVariant CValue::valueForBinding() const
{
    if (isEmpty(m_value))
        return QVariant(QMetaType(QMetaType::QString));
    if (m_tipo == QLatin1String("N")) {
        bool ok = false;
        const qlonglong n = textOf(m_value).trimmed().toLongLong(&ok);
        if (ok)
            return n;
        // Exact, as every amount the program binds.
        const Decimal d = Decimal::fromString(textOf(m_value).trimmed(), &ok);
        return ok ? d.toQVariant() : m_value;
    }
    if (m_tipo == QLatin1String("F")) {
        const QDateTime d = asDateTime(m_value);
        return d.isValid() ? QVariant(d) : m_value;
    }
    if (m_tipo == QLatin1String("S")) {
        const QString t = textOf(m_value).trimmed().toUpper();
        const bool yes = m_value.typeId() == QMetaType::Bool ? m_value.toBool()
                                                             : (t == QLatin1String("S") || t == QLatin1String("SI") ||
                                                                t == QLatin1String("TRUE") || t == QLatin1String("-1") ||
                                                                t == QLatin1String("1"));
        return yes ? QStringLiteral("S") : QStringLiteral("N");
    }
    return textOf(m_value);
}

QStringList CValue::tipos()
{
    return {QStringLiteral("T"), QStringLiteral("O"), QStringLiteral("E"),
            QStringLiteral("N"), QStringLiteral("F"), QStringLiteral("S")};
}

QString CValue::nombreTipo(const QString &tipo)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("T"), QStringLiteral("TEXTO")},  {QStringLiteral("O"), QStringLiteral("OBJETO")},
        {QStringLiteral("E"), QStringLiteral("EAN")},    {QStringLiteral("N"), QStringLiteral("NUMERO")},
        {QStringLiteral("F"), QStringLiteral("FECHA")},  {QStringLiteral("S"), QStringLiteral("SI/NO")},
    };
    return names.value(tipo.trimmed().toUpper());
}
