#include "Recordset.h"

#include "Connection.h"
#include "DateParts.h"
#include "RecordsetData.h"
#include "Transaction.h"

namespace db {

namespace {

DbError usage(int number, const QString &description, const char *operation)
{
    return DbError(number, description, QStringLiteral("db.Recordset.") + QLatin1String(operation), {},
                   DbError::Usage);
}

} // namespace

Recordset::Recordset() : d(std::make_shared<Data>()) {}

bool Recordset::isOpen() const
{
    return d->open;
}

void Recordset::close()
{
    d->open = false;
    d->rows.clear();
    d->states.clear();
    d->originals.clear();
    d->assigned.clear();
    d->pos = 0;
}

Recordset::Mode Recordset::mode() const
{
    return d->mode;
}

void Recordset::checkOpen(const char *operation) const
{
    if (!d->open)
        throw usage(errors::NotOpen, QStringLiteral("El recordset está cerrado"), operation);
}

void Recordset::checkCurrent() const
{
    checkOpen("value");
    if (d->pos < 0 || d->pos >= d->rows.size())
        throw usage(errors::NoCurrentRecord, QStringLiteral("No hay registro actual (BOF o EOF)"), "value");
}

bool Recordset::eof() const
{
    return !d->open || d->pos >= d->rows.size();
}

bool Recordset::bof() const
{
    return !d->open || d->pos < 0 || d->rows.isEmpty();
}

void Recordset::moveNext()
{
    checkOpen("moveNext");
    if (d->pos >= d->rows.size())
        throw usage(errors::NoCurrentRecord, QStringLiteral("No hay registro actual (EOF)"), "moveNext");
    ++d->pos;
}

void Recordset::movePrevious()
{
    checkOpen("movePrevious");
    if (d->mode == ForwardOnly)
        throw usage(errors::NotUpdatable, QStringLiteral("El recordset sólo avanza"), "movePrevious");
    if (d->pos < 0)
        throw usage(errors::NoCurrentRecord, QStringLiteral("No hay registro actual (BOF)"), "movePrevious");
    --d->pos;
}

void Recordset::moveFirst()
{
    checkOpen("moveFirst");
    if (d->mode == ForwardOnly && d->pos > 0)
        throw usage(errors::NotUpdatable, QStringLiteral("El recordset sólo avanza"), "moveFirst");
    d->pos = 0;
}

void Recordset::moveLast()
{
    checkOpen("moveLast");
    if (d->mode == ForwardOnly)
        throw usage(errors::NotUpdatable, QStringLiteral("El recordset sólo avanza"), "moveLast");
    d->pos = std::max(0, int(d->rows.size()) - 1);
}

int Recordset::recordCount() const
{
    return d->open ? int(d->rows.size()) : 0;
}

int Recordset::position() const
{
    return d->pos;
}

int Recordset::fieldCount() const
{
    return int(d->fields.size());
}

QString Recordset::fieldName(int index) const
{
    return index >= 0 && index < d->fields.size() ? d->fields[index].name : QString();
}

bool Recordset::hasField(const QString &name) const
{
    return d->index.contains(name.toLower());
}

int Recordset::fieldIndex(const QString &name) const
{
    return d->index.value(name.toLower(), -1);
}

QList<FieldInfo> Recordset::fields() const
{
    return d->fields;
}

QVariant Recordset::value(int index) const
{
    checkCurrent();
    if (index < 0 || index >= d->fields.size())
        throw usage(errors::FieldNotFound, QStringLiteral("No existe el campo número %1").arg(index), "value");
    return d->rows[d->pos][index];
}

QVariant Recordset::value(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw usage(errors::FieldNotFound, QStringLiteral("No existe el campo «%1»").arg(name), "value");
    return value(i);
}

bool Recordset::isNull(const QString &name) const
{
    const QVariant v = value(name);
    return !v.isValid() || v.isNull();
}

QString Recordset::text(const QString &name) const
{
    const QVariant v = value(name);
    if (!v.isValid() || v.isNull())
        return {};
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return v.value<Decimal>().toString();
    if (v.typeId() == QMetaType::QDateTime)
        return DateParts::toStorage(v.toDateTime());
    return v.toString();
}

Decimal Recordset::decimal(const QString &name) const
{
    bool ok = true;
    const Decimal r = Decimal::fromVariant(value(name), &ok);
    if (!ok)
        throw usage(errors::BadParameters, QStringLiteral("El campo «%1» no es numérico").arg(name), "decimal");
    return r;
}

qint64 Recordset::integer(const QString &name) const
{
    const QVariant v = value(name);
    if (!v.isValid() || v.isNull())
        return 0;
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
        return v.toLongLong();
    case QMetaType::ULongLong: // PostgreSQL's positive int8: whole, beyond what a Decimal holds
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        if (ok)
            return n;
        break;
    }
    default:
        break;
    }
    return decimal(name).toInt64();
}

QDateTime Recordset::dateTime(const QString &name) const
{
    const QVariant v = value(name);
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return v.toDateTime();
    case QMetaType::QDate:
        return QDateTime(v.toDate(), QTime(0, 0));
    default:
        return DateParts::parse(v.toString());
    }
}

void Recordset::checkUpdatable() const
{
    checkOpen("update");
    if (d->mode != Updatable)
        throw usage(errors::NotUpdatable, QStringLiteral("El recordset es de sólo lectura"), "update");
}

void Recordset::addNew()
{
    checkUpdatable();
    QVariantList row;
    row.resize(d->fields.size());
    d->rows.append(row);
    d->states.append(Data::New);
    d->originals.append(row);
    d->assigned.append(QSet<int>());
    d->pos = int(d->rows.size()) - 1;
}

void Recordset::setValue(const QString &field, const QVariant &value)
{
    checkUpdatable();
    checkCurrent();
    const int i = fieldIndex(field);
    if (i < 0)
        throw usage(errors::FieldNotFound, QStringLiteral("No existe el campo «%1»").arg(field), "setValue");
    d->rows[d->pos][i] = value;
    d->assigned[d->pos].insert(i);
    if (d->states[d->pos] == Data::Unchanged)
        d->states[d->pos] = Data::Modified;
}

void Recordset::deleteCurrent()
{
    checkUpdatable();
    checkCurrent();
    if (d->states[d->pos] == Data::New) {
        d->rows.removeAt(d->pos);
        d->states.removeAt(d->pos);
        d->originals.removeAt(d->pos);
        d->assigned.removeAt(d->pos);
        return;
    }
    d->states[d->pos] = Data::Deleted;
}

int Recordset::pendingCount() const
{
    int n = 0;
    for (const auto s : d->states)
        n += s != Data::Unchanged;
    return n;
}

void Recordset::cancelBatch()
{
    checkUpdatable();
    for (int r = int(d->rows.size()) - 1; r >= 0; --r) {
        if (d->states[r] == Data::New) {
            d->rows.removeAt(r);
            d->states.removeAt(r);
            d->originals.removeAt(r);
            d->assigned.removeAt(r);
            continue;
        }
        d->rows[r] = d->originals[r];
        d->states[r] = Data::Unchanged;
        d->assigned[r].clear();
    }
    d->pos = std::min(d->pos, int(d->rows.size()));
}

namespace {
// Column names as the engine reported them, quoted so that keywords and spaces survive; the
// reported spelling is exact, so quoting does not change which column PostgreSQL finds.
QString quoted(const QString &name)
{
    return Connection::quoteIdentifier(name);
}
} // namespace

void Recordset::updateBatch()
{
    checkUpdatable();
    const std::shared_ptr<Connection *> handle = d->connection.lock();
    if (!handle)
        throw DbError(errors::NotOpen,
                      QStringLiteral("La conexión de este recordset ya se cerró; ábralo de nuevo para guardar los cambios"),
                      QStringLiteral("db.Recordset.updateBatch"), {}, DbError::ConnectionLost);
    Connection &conn = **handle;
    const auto whereFor = [&](int r, QVariantList *values) {
        QStringList conds;
        QList<int> cols;
        if (!d->keyFields.isEmpty()) {
            for (const QString &k : d->keyFields)
                cols.append(fieldIndex(k));
        } else {
            for (int i = 0; i < d->fields.size(); ++i)
                if (d->fields[i].kind != u"I")
                    cols.append(i);
        }
        for (int i : cols) {
            const QVariant &v = d->originals[r][i];
            if (!v.isValid() || v.isNull()) {
                conds.append(quoted(d->fields[i].name) + QStringLiteral(" is null"));
            } else {
                conds.append(quoted(d->fields[i].name) + QStringLiteral(" = ?"));
                values->append(v);
            }
        }
        return conds.join(QLatin1String(" and "));
    };

    // Columns in table order: rows assigned alike give one statement text, prepared once.
    const auto sortedAssigned = [&](int r) {
        QList<int> cols = d->assigned[r].values();
        std::sort(cols.begin(), cols.end());
        return cols;
    };

    Transaction tx(conn);
    for (int r = 0; r < d->rows.size(); ++r) {
        const auto state = d->states[r];
        if (state == Data::Unchanged)
            continue;
        QVariantList values;
        QString sql;
        if (state == Data::New) {
            QStringList names;
            QStringList marks;
            for (int i : sortedAssigned(r)) {
                names.append(quoted(d->fields[i].name));
                marks.append(QStringLiteral("?"));
                values.append(d->rows[r][i]);
            }
            if (names.isEmpty())
                continue;
            sql = QStringLiteral("insert into ") + d->table + QStringLiteral(" (") + names.join(u',') +
                  QStringLiteral(") values (") + marks.join(u',') + u')';
        } else if (state == Data::Modified) {
            QStringList sets;
            for (int i : sortedAssigned(r)) {
                sets.append(quoted(d->fields[i].name) + QStringLiteral(" = ?"));
                values.append(d->rows[r][i]);
            }
            sql = QStringLiteral("update ") + d->table + QStringLiteral(" set ") + sets.join(u',');
            sql += QStringLiteral(" where ") + whereFor(r, &values);
        } else {
            sql = QStringLiteral("delete from ") + d->table + QStringLiteral(" where ") + whereFor(r, &values);
        }
        const int affected = conn.execute(sql, values);
        if (state != Data::New && affected != 1)
            throw DbError(errors::NotUpdatable,
                          QStringLiteral("El registro fue modificado o eliminado por otro usuario"),
                          QStringLiteral("db.Recordset.updateBatch"), sql, DbError::Other);
    }
    tx.commit();

    for (int r = int(d->rows.size()) - 1; r >= 0; --r) {
        if (d->states[r] == Data::Deleted) {
            d->rows.removeAt(r);
            d->states.removeAt(r);
            d->originals.removeAt(r);
            d->assigned.removeAt(r);
            continue;
        }
        d->originals[r] = d->rows[r];
        d->states[r] = Data::Unchanged;
        d->assigned[r].clear();
    }
    d->pos = std::min(d->pos, int(d->rows.size()));
}

} // namespace db
