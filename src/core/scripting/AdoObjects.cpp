#include "AdoObjects.h"

#include "ConnectionProvider.h"

#include "Connection.h"
#include "DbError.h"
#include "Decimal.h"
#include "Engine.h"
#include "Recordset.h"

#include <QRegularExpression>

#include <memory>

namespace ado {

// ADO's DataTypeEnum for what the layer reads; reports and layouts derive a column's kind from it.
int adoType(const db::FieldInfo &field)
{
    switch (field.type.id()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return 3; // adInteger
    case QMetaType::Double:
        return 5; // adDouble
    case QMetaType::Bool:
        return 11; // adBoolean
    case QMetaType::QDate:
        return 133; // adDBDate
    case QMetaType::QDateTime:
        return 135; // adDBTimeStamp
    case QMetaType::QByteArray:
        return 205; // adLongVarBinary
    default:
        break;
    }
    if (field.type == QMetaType::fromType<Decimal>())
        return 131; // adNumeric
    return 200;     // adVarChar
}

namespace {

// ADO's numbers as VBScript shows them.
constexpr int kErrorsInCommand = -2147217900; // 0x80040E14: the provider refused the statement
constexpr int kProviderFailure = -2147467259; // 0x80004005: the server could not be reached
constexpr int kNotOpen = 3704;
constexpr int kAlreadyOpen = 3705;
constexpr int kItemNotFound = 3265;
constexpr int kNoTransaction = -2147168242; // 0x8004D00E

// ADO cursor and lock types scripts pass as numbers.
constexpr int adLockReadOnly = 1;
constexpr int adLockBatchOptimistic = 4;

[[noreturn]] void fail(int number, const QString &description, const QString &source)
{
    throw vbs::ScriptError(number, description, source);
}

// The database's own text reaches Err.Description; the number is the one ADO would give.
[[noreturn]] void raiseDb(const db::DbError &e)
{
    int number = kErrorsInCommand;
    const bool closed = e.kind() == db::DbError::ConnectionLost && e.number() == db::errors::NotOpen;
    if ((e.kind() == db::DbError::Usage && e.number() > 0) || closed)
        number = e.number();
    else if (e.kind() == db::DbError::ConnectionLost)
        number = kProviderFailure;
    fail(number, e.description(), e.source());
}

template <class F> auto guarded(F &&f) -> decltype(f())
{
    try {
        return f();
    } catch (const db::DbError &e) {
        raiseDb(e);
    } catch (const DecimalOverflow &) {
        vbs::raise(6);
    }
}

// NUMERIC values become Currency when Currency holds them exactly (4 decimals, which money
// always has), so sums of amounts stay exact in scripts; a value with finer digits (a 6-place
// quantity or factor) becomes Double rather than being rounded away.
vbs::Value fromDb(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return vbs::Value::null();
    if (v.metaType() == QMetaType::fromType<Decimal>()) {
        const qint64 raw = v.value<Decimal>().raw();
        constexpr qint64 toCurrency = Decimal::Unit / 10000;
        if (raw % toCurrency == 0)
            return vbs::Value::currencyRaw(raw / toCurrency);
        return vbs::Value::dbl(v.value<Decimal>().toDouble());
    }
    return vbs::fromVariant(v);
}

QVariant toDb(const vbs::Value &value)
{
    const vbs::Value v = vbs::defaultValue(value);
    switch (v.type()) {
    case vbs::VarType::Empty:
    case vbs::VarType::Null:
        return {};
    case vbs::VarType::Currency:
        return Decimal::fromRaw(v.rawInt() * (Decimal::Unit / 10000)).toQVariant();
    default:
        return vbs::toVariant(v);
    }
}

bool isMissing(vbs::Args &a, int i)
{
    return i >= a.size() || a.isMissing(i);
}

// Statements that answer with rows; anything else runs as a command with an affected count.
bool returnsRows(const QString &sql)
{
    static const QRegularExpression lead(
        QStringLiteral("^(?:\\s+|--[^\\n]*(?:\\n|$)|/\\*.*?\\*/|\\()*([A-Za-z]+)"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto m = lead.match(sql);
    if (!m.hasMatch())
        return false;
    static const QStringList rowWords{QStringLiteral("select"), QStringLiteral("with"),
                                      QStringLiteral("values"), QStringLiteral("show"),
                                      QStringLiteral("pragma"), QStringLiteral("explain")};
    return rowWords.contains(m.captured(1).toLower());
}

bool isTableName(const QString &source)
{
    static const QRegularExpression name(QStringLiteral("^\\s*[A-Za-z_][A-Za-z0-9_.]*\\s*$"));
    return name.match(source).hasMatch();
}

class AdoConnection;
class AdoRecordset;
using ConnectionRef = vbs::Ref<AdoConnection>;
using RecordsetRef = vbs::Ref<AdoRecordset>;

class AdoConnection : public vbs::HostObject {
public:
    explicit AdoConnection(ConnectionProvider *shared) : m_provider(shared), m_open(shared != nullptr) {}
    ~AdoConnection() override
    {
        // A script that stopped between BeginTrans and CommitTrans must not leave the program's
        // connection inside its transaction.
        try {
            rollbackOwnTransactions();
        } catch (...) {
        }
    }

    QString typeName() const override { return QStringLiteral("Connection"); }

    bool isOpen() const { return m_open; }

    void rollbackOwnTransactions()
    {
        if (m_depth == 0)
            return;
        db::Connection *conn = m_provider ? m_provider->currentConnection() : m_own.get();
        while (m_depth > 0) {
            --m_depth;
            if (conn && conn->isOpen() && conn->transactionDepth() > 0)
                conn->rollback();
        }
    }

    db::Connection &live()
    {
        if (!m_open)
            fail(kNotOpen, QStringLiteral("La conexión está cerrada"), source());
        if (m_provider)
            return guarded([&]() -> db::Connection & { return m_provider->getConnection(); });
        return *m_own;
    }

    void open(const QString &text)
    {
        if (m_open)
            fail(kAlreadyOpen, QStringLiteral("La conexión ya está abierta"), source());
        if (!m_provider) {
            const QString cs = text.isEmpty() ? m_connectionString : text;
            // One session object for the connection's life: recordsets opened on it keep its address.
            if (!m_own)
                m_own = std::make_unique<db::Connection>();
            guarded([&] { m_own->open(cs); });
            m_connectionString = cs;
        }
        m_open = true;
    }

    void close()
    {
        if (!m_open)
            fail(kNotOpen, QStringLiteral("La conexión está cerrada"), source());
        guarded([&] { rollbackOwnTransactions(); });
        if (m_own)
            m_own->close();
        m_open = false;
    }

    bool get(const vbs::Name &name, vbs::Args &a, vbs::Value &r) override;

    bool set(const vbs::Name &name, vbs::Args &a, const vbs::Value &v, bool) override
    {
        if (!a.isEmpty())
            return false;
        if (name.key == u"connectionstring") {
            if (m_open)
                fail(kAlreadyOpen, QStringLiteral("La conexión ya está abierta"), source());
            m_connectionString = vbs::toString(v);
            return true;
        }
        if (name.key == u"commandtimeout" || name.key == u"connectiontimeout" ||
            name.key == u"cursorlocation" || name.key == u"mode" || name.key == u"isolationlevel") {
            m_settings.insert(name.key, vbs::toLong(v));
            return true;
        }
        return false;
    }

private:
    static QString source() { return QStringLiteral("ADODB.Connection"); }

    vbs::Value execute(vbs::Args &a);

    ConnectionProvider *m_provider;
    std::unique_ptr<db::Connection> m_own;
    bool m_open;
    QString m_connectionString;
    int m_depth = 0; // transactions this object began and has not ended
    QHash<QString, int> m_settings;
};

class AdoRecordset : public vbs::HostObject {
public:
    QString typeName() const override { return QStringLiteral("Recordset"); }

    void adopt(db::Recordset rs, ConnectionRef connection, int lockType, const QString &sourceText)
    {
        m_source = sourceText;
        m_rs = std::move(rs);
        m_connection = std::move(connection);
        m_lockType = lockType;
        m_open = true;
    }

    db::Recordset &open()
    {
        if (!m_open)
            fail(kNotOpen, QStringLiteral("El recordset está cerrado"), source());
        return m_rs;
    }
    bool isOpen() const { return m_open; }

    int fieldIndex(const vbs::Value &key)
    {
        db::Recordset &rs = open();
        const vbs::Value k = vbs::defaultValue(key);
        int i = -1;
        if (k.isString())
            i = rs.fieldIndex(k.rawString());
        else
            i = vbs::toLong(k);
        if (i < 0 || i >= rs.fieldCount())
            fail(kItemNotFound,
                 QStringLiteral("No existe el campo «%1» en el recordset").arg(vbs::toString(k)), source());
        return i;
    }

    vbs::Value value(int i)
    {
        db::Recordset &rs = open();
        return guarded([&] { return fromDb(rs.value(i)); });
    }

    void setValue(int i, const vbs::Value &v)
    {
        db::Recordset &rs = open();
        guarded([&] { rs.setValue(rs.fieldName(i), toDb(v)); });
    }

    vbs::Value field(const vbs::Value &key);

    bool get(const vbs::Name &name, vbs::Args &a, vbs::Value &r) override;
    bool set(const vbs::Name &name, vbs::Args &a, const vbs::Value &v, bool isSet) override;

    bool getDefault(vbs::Args &a, vbs::Value &r) override
    {
        if (a.size() != 1)
            return false;
        r = field(a[0]);
        return true;
    }
    bool setDefault(vbs::Args &a, const vbs::Value &v) override
    {
        if (a.size() != 1)
            return false;
        setValue(fieldIndex(a[0]), v);
        return true;
    }

private:
    static QString source() { return QStringLiteral("ADODB.Recordset"); }
    vbs::Value getRows(int limit);
    void openSource(vbs::Args &a);
    void load(const ConnectionRef &conn);
    bool batch() const { return m_lockType == adLockBatchOptimistic; }
    void writeIfImmediate()
    {
        if (!batch() && m_rs.pendingCount() > 0)
            guarded([&] { m_rs.updateBatch(); });
    }

    db::Recordset m_rs;
    ConnectionRef m_connection; // keeps the session of an updatable recordset alive
    bool m_open = false;
    int m_cursorType = 0;
    int m_lockType = adLockReadOnly;
    QString m_source;
    vbs::Value m_activeConnection;
};

class AdoField : public vbs::HostObject {
public:
    AdoField(RecordsetRef rs, int index) : m_rs(std::move(rs)), m_index(index) {}
    QString typeName() const override { return QStringLiteral("Field"); }

    bool get(const vbs::Name &name, vbs::Args &a, vbs::Value &r) override
    {
        if (!a.isEmpty())
            return false;
        if (name.key == u"value") {
            r = m_rs->value(m_index);
        } else if (name.key == u"name") {
            r = vbs::Value(m_rs->open().fieldName(m_index));
        } else if (name.key == u"type") {
            r = vbs::Value::lng(adoType(info()));
        } else if (name.key == u"definedsize") {
            r = vbs::Value::lng(info().size);
        } else if (name.key == u"numericscale") {
            r = vbs::Value::lng(info().scale);
        } else {
            return false;
        }
        return true;
    }
    bool set(const vbs::Name &name, vbs::Args &a, const vbs::Value &v, bool) override
    {
        if (!a.isEmpty() || name.key != u"value")
            return false;
        m_rs->setValue(m_index, v);
        return true;
    }
    bool getDefault(vbs::Args &a, vbs::Value &r) override
    {
        if (!a.isEmpty())
            return false;
        r = m_rs->value(m_index);
        return true;
    }
    bool setDefault(vbs::Args &a, const vbs::Value &v) override
    {
        if (!a.isEmpty())
            return false;
        m_rs->setValue(m_index, v);
        return true;
    }

private:
    // The recordset may have been opened again on fewer columns since this field was taken.
    db::FieldInfo info() const
    {
        const QList<db::FieldInfo> fields = m_rs->open().fields();
        if (m_index >= fields.size())
            vbs::raise(3265);
        return fields.at(m_index);
    }

    RecordsetRef m_rs;
    int m_index;
};

class AdoFields : public vbs::HostObject {
public:
    explicit AdoFields(RecordsetRef rs) : m_rs(std::move(rs)) {}
    QString typeName() const override { return QStringLiteral("Fields"); }

    bool get(const vbs::Name &name, vbs::Args &a, vbs::Value &r) override
    {
        if (name.key == u"count" && a.isEmpty()) {
            r = vbs::Value::lng(m_rs->open().fieldCount());
            return true;
        }
        if (name.key == u"item" && a.size() == 1) {
            r = m_rs->field(a[0]);
            return true;
        }
        return false;
    }
    bool getDefault(vbs::Args &a, vbs::Value &r) override
    {
        if (a.size() != 1)
            return false;
        r = m_rs->field(a[0]);
        return true;
    }
    bool setDefault(vbs::Args &a, const vbs::Value &v) override
    {
        if (a.size() != 1)
            return false;
        m_rs->setValue(m_rs->fieldIndex(a[0]), v);
        return true;
    }
    bool enumerate(vbs::ValueList &items) override
    {
        const int n = m_rs->open().fieldCount();
        for (int i = 0; i < n; ++i)
            items.push_back(vbs::Value::object(new AdoField(m_rs, i)));
        return true;
    }

private:
    RecordsetRef m_rs;
};

vbs::Value AdoRecordset::field(const vbs::Value &key)
{
    return vbs::Value::object(new AdoField(RecordsetRef(this), fieldIndex(key)));
}

bool AdoRecordset::get(const vbs::Name &name, vbs::Args &a, vbs::Value &r)
{
    const QString &k = name.key;
    if (k == u"fields") {
        if (a.isEmpty())
            r = vbs::Value::object(new AdoFields(RecordsetRef(this)));
        else if (a.size() == 1)
            r = field(a[0]);
        else
            return false;
        return true;
    }
    if (k == u"state") {
        r = vbs::Value::lng(m_open ? 1 : 0);
        return true;
    }
    if (k == u"open") {
        openSource(a);
        return true;
    }
    if (k == u"source") {
        r = vbs::Value(m_source);
        return true;
    }
    if (k == u"cursortype") {
        r = vbs::Value::lng(m_cursorType);
        return true;
    }
    if (k == u"locktype") {
        r = vbs::Value::lng(m_lockType);
        return true;
    }
    if (k == u"activeconnection") {
        r = m_connection ? vbs::Value::object(m_connection) : m_activeConnection;
        return true;
    }
    if (k == u"close") {
        open().close();
        m_open = false;
        m_connection = ConnectionRef();
        return true;
    }
    db::Recordset &rs = open();
    if (k == u"eof") {
        r = vbs::Value::boolean(rs.eof());
    } else if (k == u"bof") {
        r = vbs::Value::boolean(rs.bof());
    } else if (k == u"recordcount") {
        r = vbs::Value::lng(rs.recordCount());
    } else if (k == u"absoluteposition") {
        r = vbs::Value::lng(rs.eof() || rs.bof() ? -1 : rs.position() + 1);
    } else if (k == u"movenext") {
        guarded([&] { rs.moveNext(); });
    } else if (k == u"moveprevious") {
        guarded([&] { rs.movePrevious(); });
    } else if (k == u"movefirst") {
        guarded([&] { rs.moveFirst(); });
    } else if (k == u"movelast") {
        guarded([&] { rs.moveLast(); });
    } else if (k == u"requery") {
        const ConnectionRef conn = m_connection; // load() replaces it
        load(conn);
    } else if (k == u"getrows") {
        r = getRows(isMissing(a, 0) ? -1 : vbs::toLong(a[0]));
    } else if (k == u"addnew") {
        guarded([&] { rs.addNew(); });
    } else if (k == u"update") {
        // Update(field, value) assigns before writing; with batch locking rows wait for UpdateBatch.
        if (!isMissing(a, 0))
            setValue(fieldIndex(a[0]), isMissing(a, 1) ? vbs::Value() : a[1]);
        writeIfImmediate();
    } else if (k == u"updatebatch") {
        guarded([&] { rs.updateBatch(); });
    } else if (k == u"cancelupdate" || k == u"cancelbatch") {
        guarded([&] { rs.cancelBatch(); });
    } else if (k == u"delete") {
        guarded([&] { rs.deleteCurrent(); });
        writeIfImmediate();
    } else {
        return false;
    }
    return true;
}

bool AdoRecordset::set(const vbs::Name &name, vbs::Args &a, const vbs::Value &v, bool isSet)
{
    const QString &k = name.key;
    if (k == u"fields" && a.size() == 1) {
        setValue(fieldIndex(a[0]), v);
        return true;
    }
    if (!a.isEmpty())
        return false;
    if (k == u"activeconnection") {
        m_activeConnection = isSet ? v : vbs::Value(vbs::toString(v));
    } else if (k == u"source") {
        m_source = vbs::toString(v);
    } else if (k == u"cursortype") {
        m_cursorType = vbs::toLong(v);
    } else if (k == u"locktype") {
        m_lockType = vbs::toLong(v);
    } else if (k == u"cursorlocation" || k == u"maxrecords" || k == u"cachesize") {
        // accepted: every recordset is read whole on the workstation
    } else {
        return false;
    }
    return true;
}

// GetRows([n]): the rows from the current one on, as an array (field, row); the cursor ends
// after the last row read.
vbs::Value AdoRecordset::getRows(int limit)
{
    db::Recordset &rs = open();
    if (rs.eof() || rs.bof())
        fail(db::errors::NoCurrentRecord, QStringLiteral("No hay registro actual (BOF o EOF)"), source());
    const int fields = rs.fieldCount();
    auto *array = new vbs::ArrayData;
    vbs::Value out = vbs::Value::array(array);
    int rows = 0;
    guarded([&] {
        while (!rs.eof() && (limit < 0 || rows < limit)) {
            for (int i = 0; i < fields; ++i)
                array->items.push_back(fromDb(rs.value(i)));
            ++rows;
            rs.moveNext();
        }
    });
    array->bounds = {fields - 1, rows - 1};
    return out;
}

void AdoRecordset::openSource(vbs::Args &a)
{
    if (m_open)
        fail(kAlreadyOpen, QStringLiteral("El recordset ya está abierto"), source());
    if (!isMissing(a, 0))
        m_source = vbs::toString(a[0]);
    if (!isMissing(a, 1))
        m_activeConnection = a[1];
    if (!isMissing(a, 2))
        m_cursorType = vbs::toLong(a[2]);
    if (!isMissing(a, 3))
        m_lockType = vbs::toLong(a[3]);

    ConnectionRef conn;
    if (m_activeConnection.isObject()) {
        conn = ConnectionRef(dynamic_cast<AdoConnection *>(m_activeConnection.rawObject()));
        if (!conn)
            vbs::raise(13);
    } else {
        const QString cs = vbs::toString(m_activeConnection);
        if (cs.isEmpty())
            fail(kNotOpen, QStringLiteral("El recordset no tiene conexión"), source());
        conn = ConnectionRef(new AdoConnection(nullptr));
        conn->open(cs);
    }
    load(conn);
}

void AdoRecordset::load(const ConnectionRef &conn)
{
    db::Connection &c = conn->live();
    const bool updatable = m_lockType > adLockReadOnly;
    db::Recordset rs = guarded([&] {
        if (updatable)
            return c.openUpdatable(m_source);
        return c.openRecordset(isTableName(m_source) ? QStringLiteral("select * from ") + m_source.trimmed()
                                                     : m_source);
    });
    adopt(std::move(rs), conn, m_lockType, m_source);
}

vbs::Value AdoConnection::execute(vbs::Args &a)
{
    if (a.isEmpty() || a.isMissing(0))
        vbs::raise(450);
    const QString sql = vbs::toString(a[0]);
    db::Connection &conn = live();
    auto *result = new AdoRecordset;
    vbs::Value out = vbs::Value::object(result);
    int affected = -1;
    if (returnsRows(sql)) {
        db::Recordset rs = guarded([&] { return conn.openRecordset(sql); });
        result->adopt(std::move(rs), ConnectionRef(this), adLockReadOnly, sql);
    } else {
        affected = guarded([&] { return conn.execute(sql); });
    }
    if (!isMissing(a, 1))
        a[1] = vbs::Value::lng(affected);
    return out;
}

bool AdoConnection::get(const vbs::Name &name, vbs::Args &a, vbs::Value &r)
{
    const QString &k = name.key;
    if (k == u"execute") {
        r = execute(a);
    } else if (k == u"state") {
        r = vbs::Value::lng(m_open ? 1 : 0);
    } else if (k == u"connectionstring") {
        if (m_provider && m_open) {
            db::Connection *c = m_provider->currentConnection();
            r = vbs::Value(c ? c->target().toDisplayString() : QString());
        } else {
            r = vbs::Value(m_own && m_own->isOpen() ? m_own->target().toDisplayString() : m_connectionString);
        }
    } else if (k == u"open") {
        open(isMissing(a, 0) ? QString() : vbs::toString(a[0]));
    } else if (k == u"close") {
        close();
    } else if (k == u"begintrans") {
        db::Connection &c = live();
        guarded([&] { c.begin(); });
        r = vbs::Value::lng(++m_depth);
    } else if (k == u"committrans" || k == u"rollbacktrans") {
        db::Connection &c = live();
        if (m_depth == 0)
            fail(kNoTransaction, QStringLiteral("No hay ninguna transacción activa"), source());
        --m_depth;
        if (k == u"committrans")
            guarded([&] { c.commit(); });
        else
            guarded([&] { c.rollback(); });
    } else if (m_settings.contains(k) && a.isEmpty()) {
        r = vbs::Value::lng(m_settings.value(k));
    } else {
        return false;
    }
    return true;
}

} // namespace

vbs::HostObjectRef sharedConnection(ConnectionProvider &provider)
{
    return vbs::HostObjectRef(new AdoConnection(&provider));
}

vbs::HostObjectRef newConnection()
{
    return vbs::HostObjectRef(new AdoConnection(nullptr));
}

void endScriptTransactions(const vbs::HostObjectRef &connection)
{
    if (auto *c = dynamic_cast<AdoConnection *>(connection.get()))
        guarded([&] { c->rollbackOwnTransactions(); });
}

vbs::HostObjectRef newRecordset()
{
    return vbs::HostObjectRef(new AdoRecordset);
}

void registerProgIds(vbs::Engine &engine)
{
    engine.registerProgId(QStringLiteral("ADODB.Connection"), [] { return newConnection(); });
    engine.registerProgId(QStringLiteral("ADODB.Recordset"), [] { return newRecordset(); });
}

QStringList connectionMembers()
{
    return {QStringLiteral("Open(sConnectionString)"),
            QStringLiteral("Close"),
            QStringLiteral("Execute(sSQL)"),
            QStringLiteral("Execute(sSQL, nRegistrosAfectados)"),
            QStringLiteral("BeginTrans"),
            QStringLiteral("CommitTrans"),
            QStringLiteral("RollbackTrans"),
            QStringLiteral("State"),
            QStringLiteral("ConnectionString")};
}

QStringList recordsetMembers()
{
    return {QStringLiteral("Open(sSQL, cn [, nCursorType, nLockType])"),
            QStringLiteral("Close"),
            QStringLiteral("State"),
            QStringLiteral("EOF"),
            QStringLiteral("BOF"),
            QStringLiteral("MoveNext"),
            QStringLiteral("MovePrevious"),
            QStringLiteral("MoveFirst"),
            QStringLiteral("MoveLast"),
            QStringLiteral("RecordCount"),
            QStringLiteral("GetRows([nFilas])"),
            QStringLiteral("Requery"),
            QStringLiteral("Fields(vIndice).Value"),
            QStringLiteral("Fields(vIndice).Name"),
            QStringLiteral("Fields(vIndice).Type"),
            QStringLiteral("Fields.Count"),
            QStringLiteral("AddNew"),
            QStringLiteral("Update"),
            QStringLiteral("UpdateBatch"),
            QStringLiteral("CancelUpdate"),
            QStringLiteral("Delete")};
}

} // namespace ado
