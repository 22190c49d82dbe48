#include "cConfigValue.h"

#include "Decimal.h"

#include <QTimeZone>

#include <cmath>
#include <limits>

namespace {
const QString TextDateFormat = QStringLiteral("dd/MM/yyyy HH:mm:ss");

bool readBool(const QString &text, bool *ok)
{
    const QString t = text.trimmed().toUpper();
    static const QStringList yes = {QStringLiteral("S"),    QStringLiteral("SI"),        QStringLiteral("SÍ"),
                                    QStringLiteral("TRUE"), QStringLiteral("VERDADERO"), QStringLiteral("1"),
                                    QStringLiteral("-1")};
    static const QStringList no = {QStringLiteral("N"), QStringLiteral("NO"), QStringLiteral("FALSE"),
                                   QStringLiteral("FALSO"), QStringLiteral("0")};
    *ok = true;
    if (yes.contains(t))
        return true;
    if (no.contains(t))
        return false;
    *ok = false;
    return false;
}

QDateTime readDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    static const QStringList dateTimeFormats = {
        QStringLiteral("dd/MM/yyyy HH:mm:ss"),     QStringLiteral("d/M/yyyy H:mm:ss"),
        QStringLiteral("dd/MM/yyyy HH:mm"),        QStringLiteral("d/M/yyyy H:mm"),
        QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"), QStringLiteral("yyyy-MM-dd HH:mm:ss"),
        QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"), QStringLiteral("yyyy-MM-ddTHH:mm:ss"),
    };
    for (const QString &f : dateTimeFormats) {
        const QDateTime dt = QDateTime::fromString(t, f);
        if (dt.isValid())
            return dt;
    }
    for (const QString &f :
         {QStringLiteral("dd/MM/yyyy"), QStringLiteral("d/M/yyyy"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate d = QDate::fromString(t, f);
        if (d.isValid())
            return d.startOfDay();
    }
    for (const QString &f : {QStringLiteral("HH:mm:ss"), QStringLiteral("H:mm:ss"), QStringLiteral("HH:mm"),
                             QStringLiteral("H:mm")}) {
        const QTime tm = QTime::fromString(t, f);
        if (tm.isValid())
            return QDateTime(QDate(1899, 12, 30), tm);
    }
    return {};
}
} // namespace

cConfigValue::cConfigValue(int category, const QString &key, const QVariant &defaultValue, int dataType,
                           bool writeBack, int loadSource, int writeTarget, const QString &choices)
    : m_key(key), m_category(category), m_dataType(dataType), m_writeBack(writeBack),
      m_loadSource(loadSource), m_writeTarget(writeTarget), m_choices(choices)
{
    bool ok = false;
    m_default = convert(defaultValue, dataType, &ok);
    if (!ok)
        m_default = convert(QVariant(), dataType);
    m_value = m_default;
}

QStringList cConfigValue::choiceList() const
{
    if (m_choices.isEmpty())
        return {};
    QStringList list = m_choices.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString &c : list)
        c = c.trimmed();
    return list;
}

bool cConfigValue::setValue(const QVariant &value)
{
    bool ok = false;
    const QVariant converted = convert(value, m_dataType, &ok);
    if (ok)
        m_value = converted;
    return ok;
}

QString cConfigValue::toText(const QVariant &value, int dataType)
{
    switch (dataType) {
    case BOOLEAN:
        return value.toBool() ? QStringLiteral("S") : QStringLiteral("N");
    case LONG:
        return QString::number(value.toInt());
    case DOUBLE:
        return QString::number(value.toDouble(), 'g', 15);
    case DATE: {
        const QDateTime dt = value.toDateTime();
        return dt.isValid() ? dt.toString(TextDateFormat) : QString();
    }
    default:
        return value.toString();
    }
}

QVariant cConfigValue::convert(const QVariant &value, int dataType, bool *ok)
{
    bool dummy = false;
    bool &good = ok ? *ok : dummy;
    good = true;
    const bool isText = value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
    const bool isDecimal = value.metaType() == QMetaType::fromType<Decimal>();

    switch (dataType) {
    case BOOLEAN: {
        if (!value.isValid() || value.isNull())
            return false;
        if (value.typeId() == QMetaType::Bool)
            return value.toBool();
        if (isText)
            return readBool(value.toString(), &good);
        if (isDecimal)
            return !value.value<Decimal>().isZero();
        bool numeric = false;
        const double d = value.toDouble(&numeric);
        if (numeric)
            return d != 0.0;
        good = false;
        return false;
    }
    case LONG: {
        if (!value.isValid() || value.isNull())
            return 0;
        double d = 0;
        bool numeric = false;
        if (isDecimal) {
            d = value.value<Decimal>().toDouble();
            numeric = true;
        } else if (isText) {
            const QString t = value.toString().trimmed();
            const qlonglong n = t.toLongLong(&numeric);
            d = numeric ? double(n) : t.toDouble(&numeric);
        } else {
            d = value.toDouble(&numeric);
        }
        if (!numeric || d != std::floor(d) || d < std::numeric_limits<int>::min() ||
            d > std::numeric_limits<int>::max()) {
            good = false;
            return 0;
        }
        return int(d);
    }
    case DOUBLE: {
        if (!value.isValid() || value.isNull())
            return 0.0;
        if (isDecimal)
            return value.value<Decimal>().toDouble();
        bool numeric = false;
        const double d = isText ? value.toString().trimmed().toDouble(&numeric) : value.toDouble(&numeric);
        if (!numeric || !std::isfinite(d)) {
            good = false;
            return 0.0;
        }
        return d;
    }
    case DATE: {
        if (!value.isValid() || value.isNull())
            return QDateTime();
        QDateTime dt;
        switch (value.typeId()) {
        case QMetaType::QDateTime:
            dt = value.toDateTime();
            break;
        case QMetaType::QDate:
            dt = value.toDate().startOfDay();
            break;
        case QMetaType::QTime:
            dt = QDateTime(QDate(1899, 12, 30), value.toTime());
            break;
        default:
            dt = readDate(value.toString());
        }
        if (!dt.isValid()) {
            good = false;
            return QDateTime();
        }
        // Configuration dates are wall-clock values of the workstation, whatever the driver said.
        if (dt.timeSpec() != Qt::LocalTime)
            dt = QDateTime(dt.date(), dt.time());
        return dt;
    }
    default:
        if (!value.isValid() || value.isNull())
            return QString();
        if (value.typeId() == QMetaType::Bool)
            return value.toBool() ? QStringLiteral("S") : QStringLiteral("N");
        if (isDecimal)
            return value.value<Decimal>().toString();
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().toString(TextDateFormat);
        return value.toString();
    }
}

QDateTime cConfigValue::timeOfDay(int hour, int minute)
{
    return QDateTime(QDate(1899, 12, 30), QTime(hour, minute));
}

QString cConfigValue::qtDateFormat(const QString &configuredFormat)
{
    // Tokens of the configured (Visual Basic style) formats; "m" after an hour means minutes.
    QString out;
    bool afterHour = false;
    const bool ampm = configuredFormat.contains(QLatin1String("AM/PM"), Qt::CaseInsensitive);
    int i = 0;
    const int n = configuredFormat.size();
    while (i < n) {
        if (configuredFormat.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
            out += configuredFormat.at(i).isUpper() ? QStringLiteral("AP") : QStringLiteral("ap");
            i += 5;
            continue;
        }
        const QChar c = configuredFormat.at(i);
        const QChar lc = c.toLower();
        int run = 1;
        while (i + run < n && configuredFormat.at(i + run).toLower() == lc)
            ++run;
        switch (lc.unicode()) {
        case 'd':
            out += QString(run, QLatin1Char('d'));
            afterHour = false;
            break;
        case 'y':
            out += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            afterHour = false;
            break;
        case 'h':
            out += QString(qMin(run, 2), ampm ? QLatin1Char('h') : QLatin1Char('H'));
            afterHour = true;
            break;
        case 'n':
            out += QString(qMin(run, 2), QLatin1Char('m'));
            afterHour = false;
            break;
        case 'm':
            out += QString(qMin(run, afterHour ? 2 : 4), afterHour ? QLatin1Char('m') : QLatin1Char('M'));
            afterHour = false;
            break;
        case 's':
            out += QString(qMin(run, 2), QLatin1Char('s'));
            afterHour = false;
            break;
        default:
            if (c.isLetter())
                out += QLatin1Char('\'') + configuredFormat.mid(i, run) + QLatin1Char('\'');
            else
                out += configuredFormat.mid(i, run);
            // Separators between hour and minutes keep the "minutes" reading of "m".
            if (c != QLatin1Char(':'))
                afterHour = false;
        }
        i += run;
    }
    return out;
}
