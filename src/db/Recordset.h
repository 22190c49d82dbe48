#pragma once

#include "Decimal.h"
#include "FieldInfo.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

namespace db {

class Connection;

// A result read whole into memory, positioned on its first row (ADO's static cursor).
// Field names are matched without regard to case: PostgreSQL folds unquoted names to lower case.
// Values: text QString, integers qint64, NUMERIC Decimal, dates QDateTime (QDate for date columns),
// binary QByteArray, NULL an invalid QVariant. Copies share one cursor, as ADO objects do.
//
// An updatable recordset (Connection::openUpdatable) also takes addNew(), setValue() and
// deleteCurrent(); nothing reaches the database until updateBatch() writes every pending row
// in one transaction.
class Recordset {
public:
    enum Mode { Static, ForwardOnly, Updatable };

    Recordset();

    bool isOpen() const;
    void close();
    Mode mode() const;

    bool eof() const;
    bool bof() const;
    void moveNext();
    void movePrevious(); // not on forward-only recordsets
    void moveFirst();    // not on forward-only recordsets
    void moveLast();     // not on forward-only recordsets
    int recordCount() const;
    int position() const; // 0-based; equals recordCount() at eof

    int fieldCount() const;
    QString fieldName(int index) const;
    bool hasField(const QString &name) const;
    int fieldIndex(const QString &name) const; // -1 when absent
    QList<FieldInfo> fields() const;

    // Throw DbError: errors::NoCurrentRecord at eof/bof, errors::FieldNotFound for a bad name.
    QVariant value(int index) const;
    QVariant value(const QString &name) const;
    bool isNull(const QString &name) const;
    // NULL reads as "", 0, an invalid QDateTime.
    QString text(const QString &name) const;
    Decimal decimal(const QString &name) const;
    qint64 integer(const QString &name) const;
    QDateTime dateTime(const QString &name) const;

    // Updatable recordsets only (errors::NotUpdatable otherwise).
    void addNew();
    void setValue(const QString &field, const QVariant &value);
    void setValue(const QString &field, const Decimal &value) { setValue(field, value.toQVariant()); }
    void deleteCurrent();
    int pendingCount() const;
    void updateBatch();
    void cancelBatch();

private:
    friend class Connection;
    struct Data;
    std::shared_ptr<Data> d;

    void checkOpen(const char *operation) const;
    void checkCurrent() const;
    void checkUpdatable() const;
};

} // namespace db
