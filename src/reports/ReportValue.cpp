#include "ReportValue.h"

#include "Convert.h"
#include "Decimal.h"
#include "cConfigValue.h"

#include <cmath>

namespace reportvalue {

QString kindForAdoType(int adoType)
{
    switch (adoType) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 14:
    case 16:
    case 20:
    case 131:
        return QStringLiteral("N");
    case 7:
    case 133:
    case 134:
    case 135:
        return QStringLiteral("F");
    case 204:
    case 205:
        return QStringLiteral("I");
    default:
        return QStringLiteral("T");
    }
}

double leadingNumber(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text.at(i).isSpace())
        ++i;
    const int start = i;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+'))
        ++i;
    bool digits = false;
    while (i < n && text.at(i).isDigit()) {
        ++i;
        digits = true;
    }
    if (i < n && text.at(i) == u'.') {
        ++i;
        while (i < n && text.at(i).isDigit()) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    int end = i;
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        int j = i + 1;
        if (j < n && (text.at(j) == u'-' || text.at(j) == u'+'))
            ++j;
        if (j < n && text.at(j).isDigit()) {
            while (j < n && text.at(j).isDigit())
                ++j;
            end = j;
        }
    }
    bool ok = false;
    const double d = QStringView(text).mid(start, end - start).toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0;
}

bool isNull(const QVariant &value)
{
    return value.metaType().id() == QMetaType::Nullptr;
}

namespace {

QString numberText(double d)
{
    if (d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    QString s = QString::number(d, 'f', 10);
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(u'.'))
        s.chop(1);
    return s;
}

} // namespace

QString text(const QVariant &value)
{
    if (!value.isValid() || isNull(value))
        return QString();
    if (value.metaType() == QMetaType::fromType<Decimal>())
        return value.value<Decimal>().toString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime d = value.toDateTime();
        return d.time() == QTime(0, 0) ? d.toString(QStringLiteral("dd/MM/yyyy"))
                                       : d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray());
    default:
        return value.toString();
    }
}

QString scriptDate(const QDateTime &when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("(DateSerial(%1,%2,%3) + TimeSerial(%4, %5, %6))")
        .arg(d.year())
        .arg(d.month())
        .arg(d.day())
        .arg(t.hour())
        .arg(t.minute())
        .arg(t.second());
}

QString scriptString(const QString &text)
{
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    QStringList parts;
    for (QString line : normal.split(u'\n')) {
        line.replace(u'"', QLatin1String("\"\""));
        parts << u'"' + line + u'"';
    }
    return parts.join(QLatin1String(" & Chr(13) & Chr(10) & "));
}

QString scriptNumber(double n)
{
    return numberText(n);
}

QDateTime toDateTime(const QVariant &value, const QString &datePicture)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    const QString s = value.toString().trimmed();
    if (s.isEmpty())
        return {};
    QStringList pictures;
    if (!datePicture.isEmpty()) {
        const QString qt = cConfigValue::qtDateFormat(datePicture);
        pictures << qt << qt.section(u' ', 0, 0) + QStringLiteral(" HH:mm:ss");
    }
    pictures << QStringLiteral("dd/MM/yyyy HH:mm:ss") << QStringLiteral("dd/MM/yyyy HH:mm")
             << QStringLiteral("dd/MM/yyyy") << QStringLiteral("yyyy-MM-dd HH:mm:ss")
             << QStringLiteral("yyyy-MM-ddTHH:mm:ss") << QStringLiteral("yyyy-MM-dd");
    for (const QString &p : pictures) {
        QDateTime d = QDateTime::fromString(s, p);
        if (d.isValid())
            return d;
        const QDate only = QDate::fromString(s, p);
        if (only.isValid())
            return QDateTime(only, QTime(0, 0));
    }
    return {};
}

QString toScript(const QVariant &value, const QString &kind)
{
    if (isNull(value))
        return QStringLiteral("Null");
    const QString k = kind.toUpper();
    if (k == u"F") {
        const QDateTime d = toDateTime(value);
        return d.isValid() ? scriptDate(d) : QStringLiteral("Null");
    }
    if (k == u"N")
        return scriptNumber(leadingNumber(text(value)));
    if (k == u"E")
        return u'"' + text(value).remove(u'"') + u'"';
    return scriptString(text(value));
}

vbs::Value toScriptValue(const QVariant &value, const QString &kind)
{
    if (isNull(value))
        return vbs::Value::null();
    const QString k = kind.toUpper();
    if (k == u"F") {
        const QDateTime d = toDateTime(value);
        if (!d.isValid())
            return vbs::Value::null();
        const double day = vbs::makeDate(d.date().year(), d.date().month(), d.date().day());
        const double time = (d.time().hour() * 3600 + d.time().minute() * 60 + d.time().second()) / 86400.0;
        return vbs::Value::date(day + time);
    }
    if (k == u"N") {
        // The same subtype the literal would have: Integer, Long, else Double.
        const double n = leadingNumber(text(value));
        if (n == std::floor(n) && std::fabs(n) <= 32767)
            return vbs::Value::integer(int16_t(n));
        if (n == std::floor(n) && n >= -2147483648.0 && n <= 2147483647.0)
            return vbs::Value::lng(int32_t(n));
        return vbs::Value::dbl(n);
    }
    if (k == u"E")
        return vbs::Value(text(value).remove(u'"'));
    QString t = text(value);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    t.replace(u'\n', QLatin1String("\r\n"));
    return vbs::Value(t);
}

QString toDb(const QVariant &value, const QString &kind, const QString &datePicture)
{
    const QString k = kind.toUpper();
    if (k == u"F") {
        const QDateTime d = toDateTime(value, datePicture);
        return u'\'' + (d.isValid() ? d.toString(cConfigValue::qtDateFormat(datePicture)) : text(value)) +
               u'\'';
    }
    if (k == u"N")
        return text(value);
    return u'\'' + text(value) + u'\'';
}

std::optional<bool> booleanText(const QString &text)
{
    const QString t = text.trimmed().toUpper();
    if (t == u"1" || t == u"S" || t == u"SI" || t == u"TRUE" || t == u"VERDADERO")
        return true;
    if (t == u"0" || t == u"N" || t == u"NO" || t == u"FALSE" || t == u"FALSO")
        return false;
    return std::nullopt;
}

} // namespace reportvalue
