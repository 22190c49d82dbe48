#pragma once

#include "Value.h"

#include <QString>
#include <QVariant>

class cPrintObject;

// What printable objects need from the report that runs them: formulas evaluated through the
// script engine, on-print statements, value formatting and the error list.
class ReportRun {
public:
    virtual ~ReportRun() = default;

    enum class Outcome { Ok, MissingReference, Failed };
    // Evaluates a formula whose [name] and [name.property] references read the report's objects.
    virtual Outcome evaluate(cPrintObject &owner, const QString &formula, vbs::Value &result) = 0;
    // Runs on-print statements; false when the object must not print (the error is listed).
    virtual bool runOnPrint(cPrintObject &owner, const QString &statements) = 0;
    // A value through a format picture (dates and numbers).
    virtual QString format(const QVariant &value, const QString &picture) const = 0;
    // The configured date pictures for SQL text: the client's, or the server's full one.
    virtual QString datePicture(bool serverFull) const = 0;
};
