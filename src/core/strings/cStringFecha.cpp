// Dates, VB-style formatting and Val-style numbers.
#include "cString.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <cmath>
#include <optional>

namespace {

// VB's day zero: dates are days counted from here.
const QDate kVbEpoch(1899, 12, 30);

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

// Runs of digits or of letters; anything else separates. "10:30PM" gives 10, 30, PM.
QStringList dateTokens(const QString &text)
{
    QStringList tokens;
    QString current;
    int kind = 0; // 1 digits, 2 letters
    for (const QChar c : text) {
        const int k = isAsciiDigit(c) ? 1 : (isAsciiLetter(c) ? 2 : 0);
        if (k != kind && !current.isEmpty()) {
            tokens.append(current);
            current.clear();
        }
        kind = k;
        if (k != 0)
            current += c;
    }
    if (!current.isEmpty())
        tokens.append(current);
    return tokens;
}

std::optional<int> number(const QString &token)
{
    if (token.isEmpty() || token.size() > 9)
        return std::nullopt;
    for (const QChar c : token) {
        if (!isAsciiDigit(c))
            return std::nullopt;
    }
    return token.toInt();
}

std::optional<int> month(const QString &token)
{
    static const char *const names[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int i = 0; i < 12; ++i) {
        if (token.compare(QLatin1StringView(names[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return number(token);
}

const QLocale &spanish()
{
    static const QLocale locale(QLocale::Spanish, QLocale::Mexico);
    return locale;
}

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

// VB's Format for dates and times: d dd ddd dddd ddddd, m mm mmm mmmm (minutes after an hour),
// n nn, yy yyyy, y (day of year), h hh, s ss, w, q, AM/PM, A/P, "quoted" and \escaped literals.
QString formatDate(const QDateTime &dt, const QString &format)
{
    const QDate date = dt.date();
    const QTime time = dt.time();
    const bool twelveHour = format.contains(QLatin1StringView("AM/PM"), Qt::CaseInsensitive) ||
                            format.contains(QLatin1StringView("A/P"), Qt::CaseInsensitive) ||
                            format.contains(QLatin1StringView("AMPM"), Qt::CaseInsensitive);
    QString out;
    bool afterHour = false;
    const qsizetype n = format.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = format[i];
        const QChar lower = c.toLower();
        qsizetype run = 1;
        while (i + run < n && format[i + run].toLower() == lower)
            ++run;
        if (c == u'"') {
            const qsizetype close = format.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            out += QStringView(format).sliced(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (c == u'\\' && i + 1 < n) {
            out += format[i + 1];
            i += 2;
            continue;
        }
        const QStringView rest = QStringView(format).sliced(i);
        if (rest.startsWith(QLatin1StringView("AM/PM"), Qt::CaseInsensitive)) {
            const bool upper = format[i].isUpper();
            const QString s = time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            out += upper ? s : s.toLower();
            i += 5;
            continue;
        }
        if (rest.startsWith(QLatin1StringView("A/P"), Qt::CaseInsensitive)) {
            const QString s = time.hour() < 12 ? QStringLiteral("A") : QStringLiteral("P");
            out += format[i].isUpper() ? s : s.toLower();
            i += 3;
            continue;
        }
        if (rest.startsWith(QLatin1StringView("AMPM"), Qt::CaseInsensitive)) {
            out += time.hour() < 12 ? spanish().amText() : spanish().pmText();
            i += 4;
            continue;
        }
        if (lower == u'd') {
            switch (run) {
            case 1:
                out += QString::number(date.day());
                break;
            case 2:
                out += twoDigits(date.day());
                break;
            case 3:
                out += spanish().dayName(date.dayOfWeek(), QLocale::ShortFormat);
                break;
            case 4:
                out += spanish().dayName(date.dayOfWeek(), QLocale::LongFormat);
                break;
            case 5:
                out += date.toString(QStringLiteral("dd/MM/yyyy"));
                break;
            default:
                out += spanish().toString(date, QLocale::LongFormat);
                break;
            }
            afterHour = false;
        } else if (lower == u'm') {
            if (afterHour && run <= 2)
                out += run == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            else if (run == 1)
                out += QString::number(date.month());
            else if (run == 2)
                out += twoDigits(date.month());
            else if (run == 3)
                out += spanish().monthName(date.month(), QLocale::ShortFormat);
            else
                out += spanish().monthName(date.month(), QLocale::LongFormat);
            afterHour = false;
        } else if (lower == u'n') {
            out += run == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            afterHour = false;
        } else if (lower == u'y') {
            if (run == 1)
                out += QString::number(date.dayOfYear());
            else if (run <= 3)
                out += twoDigits(date.year() % 100);
            else
                out += QString::number(date.year()).rightJustified(4, u'0');
            afterHour = false;
        } else if (lower == u'h') {
            int h = time.hour();
            if (twelveHour) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += run == 1 ? QString::number(h) : twoDigits(h);
            afterHour = true;
        } else if (lower == u's') {
            out += run == 1 ? QString::number(time.second()) : twoDigits(time.second());
            afterHour = false;
        } else if (lower == u'w') {
            out += run == 1 ? QString::number(date.dayOfWeek() % 7 + 1) : QString::number(date.weekNumber());
            afterHour = false;
        } else if (lower == u'q') {
            out += QString::number((date.month() - 1) / 3 + 1);
            afterHour = false;
        } else {
            // Separators and other characters are written as they are; they keep "mm" a minute
            // after "hh:".
            out += QStringView(format).sliced(i, run);
        }
        i += run;
    }
    return out;
}

// A number picture ("0.00", "#,##0.00", "$#,##0.00", "0%") or one of VB's named number formats.
std::optional<QString> numberPicture(const QString &format)
{
    static const struct {
        const char *name;
        const char *picture;
    } named[] = {{"Fixed", "0.00"},
                 {"Standard", "#,##0.00"},
                 {"Currency", "$#,##0.00"},
                 {"Percent", "0.00%"},
                 {"General Number", ""}};
    for (const auto &entry : named) {
        if (format.compare(QLatin1StringView(entry.name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(entry.picture);
    }
    if (format.contains(u'0') || format.contains(u'#'))
        return format;
    return std::nullopt;
}

QString formatNumber(const Decimal &value, const QString &picture)
{
    if (picture.isEmpty())
        return value.toString();
    // Sections: positive;negative;zero. The negative section writes its own sign.
    const QStringList sections = picture.split(u';');
    QString section = sections.at(0);
    Decimal v = value;
    if (value.isNegative() && sections.size() > 1 && !sections.at(1).isEmpty()) {
        section = sections.at(1);
        v = value.abs();
    } else if (value.isZero() && sections.size() > 2 && !sections.at(2).isEmpty()) {
        section = sections.at(2);
    }
    if (section.contains(u'%'))
        v = v * Decimal(100);
    // Quoted and escaped literals lose their marks; the picture reads the rest.
    QString plain;
    bool quoted = false;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'"')
            quoted = !quoted;
        else if (c == u'\\' && !quoted && i + 1 < section.size())
            plain += section[++i];
        else
            plain += c;
    }
    return v.format(plain);
}

std::optional<Decimal> numericValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::QString: {
        bool ok = true;
        const Decimal d = Decimal::fromVariant(value, &ok);
        if (ok)
            return d;
        return std::nullopt;
    }
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<Decimal>())
        return value.value<Decimal>();
    return std::nullopt;
}

} // namespace

QString cString::FormatToString(const QVariant &vValue, const QString &sFormat) const
{
    if (!vValue.isValid() || vValue.isNull())
        return QString();
    if (vValue.typeId() == QMetaType::QString && vValue.toString().isEmpty())
        return QString();
    QDateTime dateTime;
    switch (vValue.typeId()) {
    case QMetaType::QDateTime:
        dateTime = vValue.toDateTime();
        break;
    case QMetaType::QDate:
        dateTime = QDateTime(vValue.toDate(), QTime(0, 0));
        break;
    case QMetaType::QTime:
        dateTime = QDateTime(kVbEpoch, vValue.toTime());
        break;
    default:
        break;
    }
    if (dateTime.isValid())
        return sFormat.isEmpty() ? formatDate(dateTime, QStringLiteral("dd/mm/yyyy hh:nn:ss"))
                                 : formatDate(dateTime, sFormat);

    try {
        if (const auto number = numericValue(vValue)) {
            if (const auto picture = numberPicture(sFormat))
                return formatNumber(*number, *picture);
            if (!sFormat.isEmpty()) {
                // A number under a date format is a VB date: days from day zero.
                const qint64 seconds = (*number * Decimal(86400)).toInt64();
                return formatDate(QDateTime(kVbEpoch, QTime(0, 0)).addSecs(seconds), sFormat);
            }
            return number->toString();
        }
    } catch (const std::exception &) {
        // Out of the decimal's range: shown as written.
    }
    if (vValue.typeId() == QMetaType::QString && !sFormat.isEmpty()) {
        const QDateTime iso = QDateTime::fromString(vValue.toString(), Qt::ISODate);
        if (iso.isValid())
            return formatDate(iso, sFormat);
    }
    return vValue.toString();
}

double cString::StringToNumber(const QString &sString) const
{
    // VB's Val: blanks are skipped anywhere, reading stops at the first character that cannot
    // continue the number.
    QString digits;
    bool point = false;
    bool exponent = false;
    bool any = false;
    for (const QChar c : sString) {
        const char16_t u = c.unicode();
        if (u == ' ' || u == '\t' || u == '\n' || u == '\r')
            continue;
        if (isAsciiDigit(c)) {
            digits += c;
            any = true;
        } else if ((u == '+' || u == '-') &&
                   (digits.isEmpty() || (exponent && digits.back().toLower() == u'e'))) {
            digits += c;
        } else if (u == '.' && !point && !exponent) {
            digits += c;
            point = true;
        } else if ((u == 'e' || u == 'E' || u == 'd' || u == 'D') && any && !exponent) {
            digits += u'e';
            exponent = true;
        } else {
            break;
        }
    }
    if (!any)
        return 0.0;
    // An exponent without digits counts for nothing.
    while (!digits.isEmpty() && !isAsciiDigit(digits.back()) && digits.back() != u'.')
        digits.chop(1);
    bool ok = false;
    const double v = digits.toDouble(&ok);
    return ok ? v : 0.0;
}

QString cString::getCurrentDateToString() const
{
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    const QString format =
        configValue(QStringLiteral("FORMATO-FECHA-CLIENTE"), QStringLiteral("dd/mm/yyyy")).toString();
    return formatDate(now, format);
}

QDateTime cString::StrToDate(const QString &sString, const QString &sFormat) const
{
    const auto fail = [&]() {
        const QString text =
            QStringLiteral("Imposible convertir ") + sString + QStringLiteral(" a formato fecha ");
        return StrToDateError(text.toStdString());
    };
    QStringList fields = dateTokens(sFormat);
    QStringList values = dateTokens(sString);
    // "AM"/"PM" may close the time in the text (and be named in the format); they hold no field.
    const auto isMeridiem = [](const QString &t) {
        return t.compare(u"AM", Qt::CaseInsensitive) == 0 || t.compare(u"PM", Qt::CaseInsensitive) == 0;
    };
    fields.removeIf(
        [&](const QString &t) { return isMeridiem(t) || t.compare(u"AMPM", Qt::CaseInsensitive) == 0; });
    std::optional<bool> pm;
    for (const QString &t : values) {
        if (isMeridiem(t))
            pm = t.compare(u"PM", Qt::CaseInsensitive) == 0;
    }
    values.removeIf(isMeridiem);

    std::optional<int> year, mon, day;
    int hour = 0, minute = 0, second = 0;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString field = fields.at(i).toUpper();
        if (field != u"DAY" && field != u"MON" && field != u"YEAR" && field != u"HOUR" && field != u"MIN" &&
            field != u"SEC")
            continue; // another word of the format holds the place of one part of the text
        if (i >= values.size())
            throw fail();
        const QString &value = values.at(i);
        const std::optional<int> v = field == u"MON" ? month(value) : number(value);
        if (!v)
            throw fail();
        if (field == u"DAY")
            day = v;
        else if (field == u"MON")
            mon = v;
        else if (field == u"YEAR")
            year = *v < 100 ? (*v < 30 ? 2000 + *v : 1900 + *v) : *v; // VB's two-digit window
        else if (field == u"HOUR")
            hour = *v;
        else if (field == u"MIN")
            minute = *v;
        else
            second = *v;
    }
    if (pm) {
        // 12 PM is noon and 12 AM midnight.
        if (*pm && hour < 12)
            hour += 12;
        else if (!*pm && hour == 12)
            hour = 0;
    }

    QDate date = kVbEpoch; // a time alone is a time of VB's day zero
    if (year || mon || day) {
        if (!year)
            throw fail();
        date = QDate(*year, mon.value_or(1), day.value_or(1));
    }
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid() || (mon && (*mon < 1 || *mon > 12)))
        throw fail();
    return QDateTime(date, time);
}
