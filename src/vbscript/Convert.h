#pragma once

#include "Value.h"

#include <QString>
#include <QStringList>

namespace vbs {

// What SetLocale changes: separators, date order, names and the default formats.
struct LocaleInfo {
    int lcid;
    const char *name;
    QChar decimal;
    QChar group;
    enum Order { MDY, DMY, YMD } order;
    QString shortDate; // Qt-free pattern letters: d dd M MM yyyy
    QString longDate;  // dddd MMMM d yyyy, quoted text in ''
    bool hour12;
    bool hourLeadingZero;
    QString am, pm;
    QStringList months, monthsAbbr, days, daysAbbr; // days start on Sunday
    QString currency;
    int currencyPositive; // 0 $n, 1 n$, 2 $ n, 3 n $
    int currencyNegative; // 0 ($n), 1 -$n, 8 -n $, 9 -$ n
};

const LocaleInfo *localeByLcid(int lcid);
const LocaleInfo *localeByName(const QString &name); // "es-mx", "en-US", "spanish" ...
const LocaleInfo &currentLocale();
void setCurrentLocale(const LocaleInfo *info);

// Coercions, raising VBScript's errors (13 type mismatch, 94 invalid use of Null, 6 overflow).
double toDouble(const Value &v);
int32_t toLong(const Value &v); // rounds half to even
int16_t toInteger(const Value &v);
uint8_t toByte(const Value &v);
int64_t toCurrencyRaw(const Value &v); // value * 10000, rounded half to even
bool toBool(const Value &v);
double toDate(const Value &v);
QString toString(const Value &v);
// Objects become their default value; other values are returned as they are.
Value defaultValue(const Value &v);
// Numeric view of a value for arithmetic: Empty -> Integer 0, Boolean -> Integer, String -> Double;
// Date stays Date. Raises 13 for text that is not a number.
Value toNumeric(const Value &v);

// Locale-aware text parsing, without raising.
bool parseNumber(QStringView s, double &out);
bool parseDate(QStringView s, double &out, bool literal = false);

QString formatDouble(double d, int precision = 15);
double roundHalfEven(double d);
// Round to `digits` decimals on the shortest decimal form of d; halves to even or away from zero.
double roundDecimal(double d, int digits, bool halfEven);

// Dates as OLE serial days since 1899-12-30.
bool validDate(int y, int m, int d);
double makeDate(int y, int m, int d);   // no range check
double dateSerial(int y, int m, int d); // VBScript rules: overflow rolls over, 2-digit years
double timeSerial(double h, double m, double s);
double combineDateTime(double datePart, double timePart);
struct DateParts {
    int year, month, day, hour, minute, second, weekday; // weekday 1 = Sunday
};
DateParts splitDate(double serial);
QString formatDate(double serial, int namedFormat); // FormatDateTime formats; 0 is CStr's form
double nowSerial();

// Windows-1252 ("ANSI") bytes, as Chr/Asc and text files without a byte-order mark use them.
QByteArray toAnsi(const QString &s);
QString fromAnsi(const QByteArray &bytes);
int ansiCode(QChar c);    // -1 when the character has no ANSI code
QChar ansiChar(int code); // 0..255

// FormatNumber & co: digits -1 = locale default; tristates -2 = locale default.
QString formatNumber(double v, int digits, int leadingDigit, int parens, int group);
QString formatCurrency(double v, int digits, int leadingDigit, int parens, int group);
QString formatPercent(double v, int digits, int leadingDigit, int parens, int group);

} // namespace vbs
