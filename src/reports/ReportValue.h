#pragma once

#include "Value.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

// How report values turn into script text, SQL text and printed text, by their one-letter kind:
// "F" date/time, "N" number, "E" literal text, "T" text, "I" image data.
namespace reportvalue {

// The kind of a column from its ADO type (2..131 numbers, 7/133..135 dates, 204/205 images).
QString kindForAdoType(int adoType);

// VB's Val: the number at the start of the text, 0 when there is none.
double leadingNumber(const QString &text);

// The value as plain text: numbers without exponent, dates dd/MM/yyyy[ HH:mm:ss], Null and Empty "".
QString text(const QVariant &value);

bool isNull(const QVariant &value);

// A date expression scripts evaluate back to the same instant.
QString scriptDate(const QDateTime &when);
// A script string expression: quotes doubled, line breaks as " & Chr(13) & Chr(10) ".
QString scriptString(const QString &text);
// A number as a script literal ("12.5", "-3").
QString scriptNumber(double n);

// The script text of a value by kind; "Null" for a Null value whatever the kind.
QString toScript(const QVariant &value, const QString &kind);
// What evaluating toScript() gives, without parsing it: formulas read values this way.
vbs::Value toScriptValue(const QVariant &value, const QString &kind);
// The SQL text of a value by kind; dates with the given picture (cString picture letters).
QString toDb(const QVariant &value, const QString &kind, const QString &datePicture);

// A date/time value from a value of any kind (text in the given picture, ISO, or a date).
QDateTime toDateTime(const QVariant &value, const QString &datePicture = QString());

// Boolean property text: "1", "S", "SI", "TRUE", "VERDADERO" / "0", "N", "NO", "FALSE", "FALSO".
std::optional<bool> booleanText(const QString &text);

} // namespace reportvalue
