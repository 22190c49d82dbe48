#pragma once

#include <QMetaType>
#include <QString>

namespace db {

// A column of a result or of a table. kind is the one-letter data kind the program shares
// between reports and layouts: "T" text, "N" number, "F" date/time, "I" binary.
struct FieldInfo {
    QString name;
    QMetaType type;     // what value() returns: QString, qint64, Decimal, double, bool, QDateTime, QDate, QByteArray
    QString kind;
    QString declaredType; // as the engine names it ("varchar(20)", "numeric", "timestamp" …); may be empty
    int size = -1;      // characters for text, precision for numbers; -1 unknown
    int scale = -1;     // decimals for numbers; -1 unknown
    bool nullable = true;
    bool primaryKey = false;
};

// Maps an engine's declared column type to the value type and kind the layer uses.
QMetaType metaTypeForDeclared(const QString &declaredType);
QString kindForMetaType(QMetaType type);

} // namespace db
