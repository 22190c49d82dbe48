#include "Connection.h"

#include "DateParts.h"
#include "Dialect.h"
#include "RecordsetData.h"
#include "Routines.h"
#include "SqliteFunctions.h"
#include "Transaction.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QUrl>

#include <sqlite3.h>

#include <cmath>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace db {

namespace {

QAtomicInt g_counter;

constexpr int kPgNumericOid = 1700;

sqlite3 *sqliteHandle(const QSqlDatabase &database)
{
    if (!database.isValid() || !database.driver())
        return nullptr;
    const QVariant v = database.driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(v.constData());
    return nullptr;
}

sqlite3_stmt *sqliteStatement(const QSqlQuery &query)
{
    if (!query.result())
        return nullptr;
    const QVariant v = query.result()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3_stmt*") == 0)
        return *static_cast<sqlite3_stmt *const *>(v.constData());
    return nullptr;
}

// What the engines get for our value types: Decimal as exact text, dates as ISO text in the
// one stored form (no time-zone conversion on either engine), booleans as 1/0 on SQLite.
QVariant bindable(const QVariant &v, Engine engine)
{
    if (!v.isValid())
        return QVariant(QMetaType::fromType<QString>());
    if (v.isNull())
        return QVariant(v.metaType());
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return v.value<Decimal>().toString();
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return DateParts::toStorage(v.toDateTime());
    case QMetaType::QDate:
        return QString(v.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00"));
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Bool:
        return engine == Engine::SQLite ? QVariant(v.toBool() ? 1 : 0) : v;
    default:
        return v;
    }
}

QString quoteOption(const QString &value)
{
    QString v = value;
    v.replace(u'\\', QLatin1String("\\\\")).replace(u'\'', QLatin1String("\\'"));
    return u'\'' + v + u'\'';
}

DbError::Kind pgKind(const QString &state, const QString &text, QSqlError::ErrorType type)
{
    if (type == QSqlError::ConnectionError || state.startsWith(QLatin1String("08")) ||
        state.startsWith(QLatin1String("57P0")) || text.contains(QLatin1String("server closed the connection")) ||
        text.contains(QLatin1String("no connection to the server")) ||
        text.contains(QLatin1String("terminating connection")))
        return DbError::ConnectionLost;
    if (state == u"23505")
        return DbError::UniqueViolation;
    if (state.startsWith(QLatin1String("23")))
        return DbError::ConstraintViolation;
    if (state == u"40001" || state == u"40P01" || state == u"55P03")
        return DbError::Busy;
    if (state == u"42P01" || state == u"42703" || state == u"42883")
        return DbError::NotFound;
    return DbError::Other;
}

DbError::Kind sqliteKind(int extended, const QString &text)
{
    switch (extended & 0xff) {
    case SQLITE_CONSTRAINT:
        return (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
                   ? DbError::UniqueViolation
                   : DbError::ConstraintViolation;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbError::Busy;
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
        return DbError::ConnectionLost;
    default:
        break;
    }
    if (text.contains(QLatin1String("no such table")) || text.contains(QLatin1String("no such column")) ||
        text.contains(QLatin1String("no such function")))
        return DbError::NotFound;
    return DbError::Other;
}

QString describe(const QSqlError &e)
{
    QString t = e.databaseText().trimmed();
    if (t.isEmpty())
        t = e.text().trimmed();
    if (t.isEmpty())
        t = QStringLiteral("Error desconocido de la base de datos");
    return t;
}

// Values read from the engine made uniform: NUMERIC as Decimal, SQLite's date text as QDateTime.
enum class Conv { Keep, ToDecimal, ToDateTime, ToDate, Guess };

// SQLite keeps an amount as the double nearest to it; rounding that double's exact value to six
// decimals gives the amount back (15 significant digits would cut 1234567890.123456).
QVariant storedDecimal(double value)
{
    const long double micros = (long double)value * 1000000.0L;
    if (!(micros < 9.2e18L && micros > -9.2e18L))
        return value;
    return Decimal::fromRaw(llroundl(micros)).toQVariant();
}

QVariant convert(const QVariant &v, Conv conv, bool doubleField)
{
    if (v.isNull())
        return {};
    switch (conv) {
    case Conv::Keep:
        return v;
    case Conv::ToDecimal: {
        if (v.typeId() == QMetaType::Double)
            return storedDecimal(v.toDouble());
        bool ok = true;
        const Decimal d = Decimal::fromVariant(v, &ok);
        return ok ? d.toQVariant() : v;
    }
    case Conv::ToDateTime:
    case Conv::ToDate: {
        if (v.typeId() != QMetaType::QString)
            return v;
        const QDateTime dt = DateParts::parse(v.toString());
        if (!dt.isValid())
            return v;
        return conv == Conv::ToDate ? QVariant(dt.date()) : QVariant(dt);
    }
    case Conv::Guess:
        if (doubleField && v.typeId() == QMetaType::Double)
            return storedDecimal(v.toDouble());
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString();
            if (doubleField) {
                bool ok = false;
                const Decimal d = Decimal::fromString(s, &ok);
                if (ok)
                    return d.toQVariant();
            }
            static const QRegularExpression iso(
                QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d(\\.\\d{1,3})?$"));
            if (s.size() >= 19 && iso.match(s).hasMatch())
                return DateParts::parse(s);
        }
        return v;
    }
    return v;
}

int declaredSize(const QString &declared, int *scale)
{
    static const QRegularExpression re(QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
    const auto m = re.match(declared);
    if (!m.hasMatch())
        return -1;
    if (scale && !m.captured(2).isEmpty())
        *scale = m.captured(2).toInt();
    return m.captured(1).toInt();
}

const QRegularExpression &identifierPattern()
{
    static const QRegularExpression re(
        QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(?:\\.[A-Za-z_][A-Za-z0-9_]*)?$"));
    return re;
}

// By the effective user, who opens the file (access() would ask for the real one).
bool writable(const QString &path)
{
#ifdef Q_OS_UNIX
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
#else
    return QFileInfo(path).isWritable();
#endif
}

// New stores hold password hashes and every sale: only their owner reads them. SQLite gives
// its -wal and -shm files the mode of the store.
void createPrivateFile(const QString &path)
{
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return; // SQLite reports why it cannot create it
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

Connection::Connection() : m_name(QStringLiteral("mdr-db-%1").arg(g_counter.fetchAndAddRelaxed(1) + 1)) {}

Connection::~Connection()
{
    close();
}

DbError Connection::error(const QString &description, int number, const char *operation, const QString &sql,
                          DbError::Kind kind) const
{
    return DbError(number, description, QStringLiteral("db.Connection.") + QLatin1String(operation), sql, kind);
}

void Connection::checkOpen(const char *operation) const
{
    if (!m_db.isValid() || !m_db.isOpen())
        throw error(QStringLiteral("La conexión a la base de datos está cerrada"), errors::NotOpen, operation, {},
                    DbError::ConnectionLost);
}

void Connection::open(const QString &connectionString)
{
    open(ConnectionString::parse(connectionString));
}

void Connection::open(const ConnectionString &cs, OpenMode mode)
{
    close();
    m_cs = cs;
    m_lastError.reset();
    if (cs.isEmpty())
        throw error(QStringLiteral("Falta la cadena de conexión"), errors::BadConnectionString, "open");

    m_readOnly = false;
    if (cs.engine() == Engine::SQLite) {
        if (!cs.isMemory()) {
            const QFileInfo info(cs.path());
            if (!info.exists()) {
                if (mode == OpenMode::ExistingOnly)
                    throw DbError(SQLITE_CANTOPEN,
                                  QStringLiteral("No existe el archivo de base de datos «%1»").arg(cs.path()),
                                  QStringLiteral("SQLite.open"), {}, DbError::NotFound);
                createPrivateFile(cs.path());
            } else if (!writable(cs.path())) {
                // A store the user may only read is still read (lookups, reports); writes are
                // refused with a message that says why.
                m_readOnly = true;
            }
        }
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        if (m_readOnly && !QFileInfo::exists(cs.path() + QStringLiteral("-shm")) &&
            !writable(QFileInfo(cs.path()).absolutePath())) {
            // Nobody has the store open and its WAL index cannot be made beside it: read the
            // file as it stands.
            m_db.setDatabaseName(QUrl::fromLocalFile(cs.path()).toString(QUrl::FullyEncoded) +
                                 QStringLiteral("?immutable=1"));
            m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        } else {
            m_db.setDatabaseName(cs.path());
            m_db.setConnectOptions(m_readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY")
                                              : QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        }
    } else {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        if (!cs.host().isEmpty())
            m_db.setHostName(cs.host());
        if (cs.port() > 0)
            m_db.setPort(cs.port());
        m_db.setUserName(cs.user());
        m_db.setPassword(cs.password());
        m_db.setDatabaseName(cs.database());
        QStringList options;
        bool timeout = false;
        for (const auto &[key, value] : cs.options()) {
            timeout = timeout || key.compare(QLatin1String("connect_timeout"), Qt::CaseInsensitive) == 0;
            options.append(key + u'=' + quoteOption(value));
        }
        if (!timeout)
            options.append(QStringLiteral("connect_timeout='10'"));
        m_db.setConnectOptions(options.join(u';'));
    }
    m_db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!m_db.open()) {
        const QSqlError e = m_db.lastError();
        const QString source = engineName(cs.engine()) + QStringLiteral(".open");
        const QString code = e.nativeErrorCode();
        close();
        m_cs = cs;
        throw DbError(code.toInt(), describe(e), source, {}, DbError::ConnectionLost, code);
    }
    try {
        applySessionSettings();
    } catch (...) {
        close();
        m_cs = cs;
        throw;
    }
}

void Connection::applySessionSettings()
{
    QSqlQuery q(m_db);
    const auto must = [&](const QString &sql) {
        if (!q.exec(sql))
            throw DbError(q.lastError().nativeErrorCode().toInt(), describe(q.lastError()),
                          engineName(engine()) + QStringLiteral(".open"), sql, DbError::Other,
                          q.lastError().nativeErrorCode());
        q.finish();
    };
    if (engine() == Engine::SQLite) {
        sqlite3 *h = sqliteHandle(m_db);
        if (!h || !registerSqliteFunctions(h))
            throw error(QStringLiteral("No se pudieron registrar las funciones del servidor en SQLite"), -1,
                        "open", {}, DbError::Other);
        // Stores are our files: another database file attached by a statement text would
        // reach past the rights the program checks.
        sqlite3_limit(h, SQLITE_LIMIT_ATTACHED, 0);
        // The audit triggers read the session's user and workstation through this function.
        sqlite3_create_function_v2(
            h, "mdr_contexto", 1, SQLITE_UTF8, m_context.get(),
            [](sqlite3_context *ctx, int, sqlite3_value **argv) {
                const auto *c = static_cast<const SessionContext *>(sqlite3_user_data(ctx));
                const char *what = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
                const QByteArray *value = !what                          ? nullptr
                                          : qstrcmp(what, "usuario") == 0  ? &c->user
                                          : qstrcmp(what, "estacion") == 0 ? &c->workstation
                                          : qstrcmp(what, "login") == 0    ? &c->login
                                                                           : nullptr;
                if (!value || value->isEmpty())
                    sqlite3_result_null(ctx);
                else
                    sqlite3_result_text(ctx, value->constData(), int(value->size()), SQLITE_TRANSIENT);
            },
            nullptr, nullptr, nullptr);
        if (!m_cs.isMemory() && !m_readOnly)
            must(QStringLiteral("pragma journal_mode=WAL"));
        must(QStringLiteral("pragma foreign_keys=ON"));
        must(QStringLiteral("pragma synchronous=NORMAL"));
    } else {
        // Day-first literals ('31/03/2026') as the stored texts write them; output stays ISO.
        must(QStringLiteral("SET DateStyle TO 'ISO, DMY'"));
        must(QStringLiteral("SET client_min_messages TO warning"));
    }
    applySessionContext();
}

void Connection::setSessionContext(const QString &user, const QString &workstation)
{
    m_context->user = user.toUtf8();
    m_context->workstation = workstation.toUtf8();
    if (isOpen())
        applySessionContext();
}

void Connection::applySessionContext()
{
    if (m_context->login.isEmpty())
        m_context->login = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME")).toUtf8();
    if (engine() != Engine::PostgreSQL)
        return;
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("select set_config('mdr.usuario', ?, false), set_config('mdr.estacion', ?, false)"));
    q.addBindValue(QString::fromUtf8(m_context->user));
    q.addBindValue(QString::fromUtf8(m_context->workstation));
    if (!q.exec())
        throw failure(q.lastError(), "setSessionContext", q.lastQuery());
}

// Another session changed the schema. SQLite would prepare a statement again with other columns
// during its first step, behind Qt's back: Qt sizes its row buffer before that step and would
// read (and write) past it. So the schema is reloaded and every kept statement dropped first.
void Connection::checkSqliteSchema()
{
    sqlite3 *h = sqliteHandle(m_db);
    if (!h)
        return;
    if (!m_schemaVersionStmt &&
        sqlite3_prepare_v2(h, "pragma schema_version", -1, &m_schemaVersionStmt, nullptr) != SQLITE_OK)
        return;
    int version = -1;
    if (sqlite3_step(m_schemaVersionStmt) == SQLITE_ROW)
        version = sqlite3_column_int(m_schemaVersionStmt, 0);
    sqlite3_reset(m_schemaVersionStmt);
    if (version != m_schemaVersion) {
        m_statementCache.clear();
        // Reading sqlite_master makes SQLite load the new schema now, so the next statement is
        // prepared with its real columns instead of being re-prepared during Qt's first fetch.
        if (m_schemaVersion != -1)
            sqlite3_exec(h, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
        m_schemaVersion = version;
    }
}

void Connection::close()
{
    m_statementCache.clear();
    if (m_schemaVersionStmt) {
        sqlite3_finalize(m_schemaVersionStmt);
        m_schemaVersionStmt = nullptr;
    }
    m_schemaVersion = -1;
    m_translations.clear();
    m_depth = 0;
    m_aborted = false;
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool Connection::isOpen() const
{
    return m_db.isValid() && m_db.isOpen();
}

bool Connection::ping()
{
    try {
        checkOpen("ping");
        QSqlQuery q(m_db);
        if (!q.exec(QStringLiteral("select 1")) || !q.next()) {
            const QSqlError e = q.lastError();
            m_lastError = DbError(e.nativeErrorCode().toInt(), describe(e), engineName(engine()) + QStringLiteral(".ping"),
                                  QStringLiteral("select 1"), DbError::ConnectionLost, e.nativeErrorCode());
            return false;
        }
        return true;
    } catch (const DbError &e) {
        m_lastError = e;
        return false;
    }
}

bool Connection::reopen()
{
    const ConnectionString cs = m_cs;
    close();
    try {
        open(cs);
    } catch (const DbError &e) {
        m_lastError = e;
        return false;
    }
    return ping();
}

// A prepared statement kept for reuse, with the shape of its result once known.
struct Connection::Statement {
    std::shared_ptr<QSqlQuery> query;
    bool described = false;
    QList<FieldInfo> fields;
    QHash<QString, int> index;
    std::vector<int> conv;
    std::vector<char> doubleField;
};

QSqlQuery &Connection::run(QSqlQuery &scratch, const QString &sql, const Params &params, const char *operation,
                            std::shared_ptr<Statement> *cached, bool *direct)
{
    if (direct)
        *direct = false;
    checkOpen(operation);
    auto translated = m_translations.constFind(sql);
    if (translated == m_translations.cend()) {
        if (m_translations.size() >= kStatementCacheSize * 4)
            m_translations.clear();
        translated = m_translations.insert(sql, Dialect::translate(sql, engine()));
    }
    const TranslatedSql &t = *translated;
    if (t.placeholderCount < 0)
        throw error(QStringLiteral("La sentencia mezcla parámetros «?» y «:nombre»"), errors::BadParameters,
                    operation, sql);

    QVariantList values;
    if (!t.parameterNames.isEmpty()) {
        QHash<QString, QVariant> byName;
        const QVariantMap &named = params.named();
        for (auto it = named.cbegin(); it != named.cend(); ++it)
            byName.insert(Routines::normalizeName(it.key()), it.value());
        if (!params.isNamed() && !params.isEmpty())
            throw error(QStringLiteral("La sentencia usa parámetros con nombre y recibió una lista"),
                        errors::BadParameters, operation, sql);
        for (const QString &name : t.parameterNames) {
            const auto it = byName.constFind(name.toLower());
            if (it == byName.cend())
                throw error(QStringLiteral("Falta el valor del parámetro «:%1»").arg(name), errors::BadParameters,
                            operation, sql);
            values.append(*it);
        }
    } else {
        if (params.isNamed() && !params.isEmpty())
            throw error(QStringLiteral("La sentencia no tiene parámetros con nombre"), errors::BadParameters,
                        operation, sql);
        values = params.positional();
    }
    if (values.size() != t.placeholderCount)
        throw error(QStringLiteral("La sentencia espera %1 valores y recibió %2")
                        .arg(t.placeholderCount)
                        .arg(values.size()),
                    errors::BadParameters, operation, sql);

    ++m_statements;
    if (m_hook)
        m_hook(t.sql);

    // A statement read directly notices a schema change itself (loadDirect), without this
    // check's own read transaction.
    const auto kept = m_statementCache.constFind(t.sql);
    const bool canDirect = direct && engine() == Engine::SQLite && t.placeholderCount > 0 &&
                           kept != m_statementCache.cend() && (*kept)->described;
    if (engine() == Engine::SQLite && !canDirect)
        checkSqliteSchema();
    if (t.placeholderCount == 0) {
        // Schema changes make PostgreSQL refuse plans prepared before them.
        static const QRegularExpression ddl(QStringLiteral("^\\s*(create|alter|drop)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
        if (ddl.match(t.sql).hasMatch())
            m_statementCache.clear();
        if (scratch.driver() != m_db.driver()) // load() makes it only when needed
            scratch = QSqlQuery(m_db);
        scratch.setForwardOnly(true);
        if (!scratch.exec(t.sql))
            throw failure(scratch.lastError(), operation, sql);
        return scratch;
    }

    // Statements with values stay prepared: one round trip per execution on PostgreSQL,
    // no parsing on SQLite.
    auto it = m_statementCache.find(t.sql);
    if (it == m_statementCache.end()) {
        if (m_statementCache.size() >= kStatementCacheSize)
            m_statementCache.clear();
        auto st = std::make_shared<Statement>();
        st->query = std::make_shared<QSqlQuery>(m_db);
        st->query->setForwardOnly(true);
        if (!st->query->prepare(t.sql))
            throw failure(st->query->lastError(), operation, sql);
        it = m_statementCache.insert(t.sql, st);
    }
    std::shared_ptr<Statement> statement = *it; // alive even if a failure evicts it
    QSqlQuery &q = *statement->query;
    if (canDirect) {
        // Qt's exec and fetch cost more than the lookup itself; the caller steps and reads.
        if (sqlite3_stmt *stmt = sqliteStatement(q)) {
            bindSqlite(stmt, values, operation, sql);
            *direct = true;
            if (cached)
                *cached = statement;
            return q;
        }
    }
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, bindable(values[i], engine()));
    if (!q.exec()) {
        const QSqlError qe = q.lastError();
        q.finish();
        m_statementCache.remove(t.sql);
        // Another session changed a table under our prepared plan ("cached plan must not change
        // result type"): prepare again once, when no transaction was spoiled by the failure.
        if (engine() == Engine::PostgreSQL && qe.nativeErrorCode() == u"0A000" && m_depth == 0) {
            statement.reset();
            --m_statements;
            return run(scratch, sql, params, operation, cached);
        }
        throw failure(qe, operation, sql);
    }
    if (cached)
        *cached = statement;
    return q;
}

void Connection::bindSqlite(sqlite3_stmt *stmt, const QVariantList &values, const char *operation, const QString &sql)
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 1); // counts from here (loadDirect)
    for (int i = 0; i < values.size(); ++i) {
        const QVariant v = bindable(values[i], engine());
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, i + 1);
        } else {
            switch (v.typeId()) {
            case QMetaType::QByteArray: {
                const QByteArray bytes = v.toByteArray();
                rc = sqlite3_bind_blob(stmt, i + 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::Int:
            case QMetaType::Short:
            case QMetaType::Bool:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::Long:
                rc = sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, i + 1, v.toDouble());
                break;
            default: {
                const QString text = v.toString();
                rc = sqlite3_bind_text16(stmt, i + 1, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            throw sqliteFailure(rc, operation, sql);
    }
}

DbError Connection::sqliteFailure(int rc, const char *operation, const QString &sql)
{
    sqlite3 *h = sqliteHandle(m_db);
    const QString text = h ? QString::fromUtf8(sqlite3_errmsg(h)) : QString();
    return failure(QSqlError(QString(), text, QSqlError::StatementError, QString::number(rc)), operation, sql);
}

namespace {
// A column of the current row as Qt's SQLite driver gives it, for the same conversions.
QVariant sqliteColumn(sqlite3_stmt *stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, i)), sqlite3_column_bytes(stmt, i));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    default: {
        const auto *text = static_cast<const QChar *>(sqlite3_column_text16(stmt, i));
        return QString(text, sqlite3_column_bytes16(stmt, i) / int(sizeof(QChar)));
    }
    }
}
} // namespace

DbError Connection::failure(const QSqlError &e, const char *operation, const QString &sql)
{
    const QString source = engineName(engine()) + u'.' + QLatin1String(operation);
    const QString text = describe(e);
    DbError::Kind kind = DbError::Other;
    int number = -1;
    QString code = e.nativeErrorCode();
    if (engine() == Engine::SQLite) {
        sqlite3 *h = sqliteHandle(m_db);
        number = h ? sqlite3_extended_errcode(h) : code.toInt();
        code = QString::number(number);
        kind = sqliteKind(number, text);
    } else {
        bool numeric = false;
        const int n = code.toInt(&numeric);
        number = numeric ? n : -1;
        kind = pgKind(code, text, e.type());
        if (code.isEmpty())
            code = QString::number(number);
    }
    if (m_depth > 0)
        m_aborted = true;
    if (m_readOnly && (number & 0xff) == SQLITE_READONLY)
        return DbError(number,
                       QStringLiteral("La base de datos «%1» está abierta sólo para lectura: el usuario del "
                                      "sistema no tiene permiso de escribir en el archivo")
                           .arg(m_cs.path()),
                       source, sql, DbError::Other, code);
    if (kind == DbError::ConnectionLost) {
        m_depth = 0;
        m_aborted = false;
    }
    return DbError(number, text, source, sql, kind, code);
}

int Connection::execute(const QString &sql, const Params &params)
{
    QSqlQuery scratch(m_db);
    QSqlQuery &q = run(scratch, sql, params, "execute");
    const int n = q.numRowsAffected();
    q.finish();
    return n < 0 ? 0 : n;
}

void Connection::executeScript(const QString &script)
{
    checkOpen("executeScript");
    for (const QString &statement : Dialect::splitStatements(script)) {
        ++m_statements;
        if (m_hook)
            m_hook(statement);
        m_statementCache.clear();
        QSqlQuery q(m_db);
        if (!q.exec(statement))
            throw failure(q.lastError(), "executeScript", statement);
    }
}

void Connection::executeStatement(const QString &sql)
{
    checkOpen("executeStatement");
    ++m_statements;
    if (m_hook)
        m_hook(sql);
    m_statementCache.clear();
    QSqlQuery q(m_db);
    if (!q.exec(sql))
        throw failure(q.lastError(), "executeStatement", sql);
}

QString Connection::quoteIdentifier(const QString &name)
{
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QVariant Connection::scalar(const QString &sql, const Params &params)
{
    const Recordset rs = load(sql, params, Recordset::ForwardOnly, "scalar");
    if (rs.eof() || rs.fieldCount() == 0)
        return {};
    return rs.value(0);
}

Recordset Connection::openRecordset(const QString &sql, const Params &params)
{
    return load(sql, params, Recordset::Static, "openRecordset");
}

Recordset Connection::openForwardOnly(const QString &sql, const Params &params)
{
    return load(sql, params, Recordset::ForwardOnly, "openForwardOnly");
}

Recordset Connection::load(const QString &sql, const Params &params, int mode, const char *operation)
{
    QSqlQuery scratch; // made by run() only for a statement without values
    std::shared_ptr<Statement> cached; // keeps the statement alive while it is read
    bool direct = false;
    QSqlQuery &q = run(scratch, sql, params, operation, &cached, &direct);
    if (direct)
        return loadDirect(*cached, sqliteStatement(q), sql, params, mode, operation);
    // A cached statement must be reset even when reading fails, or SQLite keeps its read lock.
    struct Finish {
        QSqlQuery &q;
        ~Finish() { q.finish(); }
    } finish{q};

    Recordset rs;
    Recordset::Data &d = *rs.d;
    d.mode = Recordset::Mode(mode);
    d.open = true;

    Statement local;
    Statement &shape = cached ? *cached : local;
    bool guessing = false;
    if (!shape.described) {
        const QSqlRecord rec = q.record();
        const int n = rec.count();
        shape.fields.clear();
        shape.conv.assign(size_t(n), int(Conv::Keep));
        shape.doubleField.assign(size_t(n), 0);
        sqlite3_stmt *stmt = engine() == Engine::SQLite ? sqliteStatement(q) : nullptr;
        for (int i = 0; i < n; ++i) {
            const QSqlField f = rec.field(i);
            FieldInfo info;
            info.name = f.name();
            info.type = f.metaType();
            info.size = f.length();
            info.scale = f.precision();
            shape.doubleField[size_t(i)] = f.metaType().id() == QMetaType::Double;
            if (engine() == Engine::SQLite) {
                const char *decl = stmt ? sqlite3_column_decltype(stmt, i) : nullptr;
                if (decl) {
                    info.declaredType = QString::fromUtf8(decl);
                    info.type = metaTypeForDeclared(info.declaredType);
                    int scale = -1;
                    info.size = declaredSize(info.declaredType, &scale);
                    info.scale = scale;
                    if (info.type == QMetaType::fromType<Decimal>())
                        shape.conv[size_t(i)] = int(Conv::ToDecimal);
                    else if (info.type.id() == QMetaType::QDateTime)
                        shape.conv[size_t(i)] = int(Conv::ToDateTime);
                    else if (info.type.id() == QMetaType::QDate)
                        shape.conv[size_t(i)] = int(Conv::ToDate);
                } else {
                    // An expression: its type shows only in the values of this execution.
                    shape.conv[size_t(i)] = int(Conv::Guess);
                    guessing = true;
                    if (shape.doubleField[size_t(i)])
                        info.type = QMetaType::fromType<Decimal>();
                }
            } else if (f.typeID() == kPgNumericOid) {
                shape.conv[size_t(i)] = int(Conv::ToDecimal);
                info.type = QMetaType::fromType<Decimal>();
            }
            info.kind = kindForMetaType(info.type);
            shape.fields.append(info);
        }
        d.fields = shape.fields;
        d.buildIndex();
        shape.index = d.index;
        shape.described = !guessing;
    } else {
        d.fields = shape.fields;
        d.index = shape.index;
    }

    const int n = int(d.fields.size());
    while (q.next()) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row.append(convert(q.value(i), Conv(shape.conv[size_t(i)]), shape.doubleField[size_t(i)]));
        d.rows.append(std::move(row));
    }
    if (q.lastError().isValid())
        throw failure(q.lastError(), operation, sql);
    if (guessing) {
        for (int i = 0; i < n; ++i) {
            if (Conv(shape.conv[size_t(i)]) != Conv::Guess)
                continue;
            for (const QVariantList &row : std::as_const(d.rows)) {
                if (row[i].isValid()) {
                    d.fields[i].type = row[i].metaType();
                    d.fields[i].kind = kindForMetaType(d.fields[i].type);
                    break;
                }
            }
        }
    }
    return rs;
}

Recordset Connection::loadDirect(Statement &shape, sqlite3_stmt *stmt, const QString &sql, const Params &params,
                                 int mode, const char *operation)
{
    // Reset even when reading fails, or SQLite keeps its read lock.
    struct Reset {
        sqlite3_stmt *stmt;
        ~Reset() { sqlite3_reset(stmt); }
    } reset{stmt};
    Recordset rs;
    Recordset::Data &d = *rs.d;
    d.mode = Recordset::Mode(mode);
    d.open = true;
    d.fields = shape.fields;
    d.index = shape.index;
    const int n = int(d.fields.size());
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            throw sqliteFailure(rc, operation, sql);
        if (d.rows.isEmpty() && sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 1) > 0) {
            // Another session changed the schema and SQLite prepared the statement again: its
            // columns may differ from the kept shape, so it is described afresh.
            sqlite3_reset(stmt);
            m_statementCache.clear();
            --m_statements;
            return load(sql, params, mode, operation);
        }
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row.append(convert(sqliteColumn(stmt, i), Conv(shape.conv[size_t(i)]), shape.doubleField[size_t(i)]));
        d.rows.append(std::move(row));
    }
    return rs;
}

Recordset Connection::openUpdatable(const QString &sqlOrTable, const Params &params)
{
    QString sql = sqlOrTable;
    QString table;
    if (identifierPattern().match(sqlOrTable.trimmed()).hasMatch()) {
        table = sqlOrTable.trimmed();
        sql = QStringLiteral("select * from ") + table;
    } else {
        static const QRegularExpression from(QStringLiteral("\\bfrom\\s+([A-Za-z_][A-Za-z0-9_.]*)"),
                                             QRegularExpression::CaseInsensitiveOption);
        const auto m = from.match(Dialect::translate(sqlOrTable, engine()).sql);
        if (!m.hasMatch())
            throw error(QStringLiteral("No se encontró la tabla a actualizar en la consulta"), errors::NotUpdatable,
                        "openUpdatable", sqlOrTable);
        table = m.captured(1);
    }
    Recordset rs = load(sql, params, Recordset::Updatable, "openUpdatable");
    Recordset::Data &d = *rs.d;
    d.connection = m_self;
    d.table = table;
    d.keyFields = primaryKey(table);
    for (const QString &k : std::as_const(d.keyFields))
        if (!rs.hasField(k)) {
            d.keyFields.clear(); // rows are then found by all their original values
            break;
        }
    d.states.fill(Recordset::Data::Unchanged, d.rows.size());
    d.originals = d.rows;
    d.assigned.resize(d.rows.size());
    return rs;
}

void Connection::begin()
{
    checkOpen("begin");
    QSqlQuery q(m_db);
    if (m_depth == 0) {
        run(q, engine() == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"), {}, "begin");
        m_aborted = false;
    } else {
        run(q, QStringLiteral("SAVEPOINT mdr_sp%1").arg(m_depth), {}, "begin");
    }
    ++m_depth;
}

void Connection::commit()
{
    if (m_depth == 0)
        throw error(QStringLiteral("No hay una transacción abierta"), errors::NotOpen, "commit");
    if (m_aborted) {
        // PostgreSQL would turn this COMMIT into a silent rollback; both engines refuse it alike.
        rollback();
        throw error(QStringLiteral("La transacción se deshizo porque una sentencia falló dentro de ella"), -1,
                    "commit", {}, DbError::Other);
    }
    QSqlQuery q(m_db);
    if (m_depth == 1)
        run(q, QStringLiteral("COMMIT"), {}, "commit");
    else
        run(q, QStringLiteral("RELEASE SAVEPOINT mdr_sp%1").arg(m_depth - 1), {}, "commit");
    --m_depth;
}

void Connection::rollback()
{
    if (m_depth == 0)
        throw error(QStringLiteral("No hay una transacción abierta"), errors::NotOpen, "rollback");
    checkOpen("rollback");
    // Not through run(): the statement hook must not be able to stop a rollback.
    const int depth = m_depth;
    m_depth = depth - 1;
    m_aborted = false;
    QSqlQuery q(m_db);
    const QString sql = depth == 1 ? QStringLiteral("ROLLBACK")
                                   : QStringLiteral("ROLLBACK TO SAVEPOINT mdr_sp%1").arg(depth - 1);
    if (!q.exec(sql))
        throw failure(q.lastError(), "rollback", sql);
    if (depth > 1) {
        q.finish();
        const QString release = QStringLiteral("RELEASE SAVEPOINT mdr_sp%1").arg(depth - 1);
        if (!q.exec(release))
            throw failure(q.lastError(), "rollback", release);
    }
}

QStringList Connection::tables()
{
    const QString sql = engine() == Engine::SQLite
                            ? QStringLiteral("select name from sqlite_master where type in ('table', 'view') "
                                             "and name not like 'sqlite%' order by name")
                            : QStringLiteral("select table_name::text from information_schema.tables "
                                             "where table_schema = current_schema() order by table_name");
    Recordset rs = openForwardOnly(sql);
    QStringList out;
    for (; !rs.eof(); rs.moveNext())
        out.append(rs.value(0).toString());
    return out;
}

bool Connection::tableExists(const QString &table)
{
    return tables().contains(table, Qt::CaseInsensitive);
}

QStringList Connection::primaryKey(const QString &table)
{
    const QString sql =
        engine() == Engine::SQLite
            ? QStringLiteral("select name from pragma_table_info(?) where pk > 0 order by pk")
            : QStringLiteral("select a.attname::text as name from pg_index i join pg_attribute a "
                             "on a.attrelid = i.indrelid and a.attnum = any(i.indkey) "
                             "where i.indrelid = to_regclass(?) and i.indisprimary "
                             "order by array_position(i.indkey::int2[], a.attnum)");
    Recordset rs = openForwardOnly(sql, {table});
    QStringList out;
    for (; !rs.eof(); rs.moveNext())
        out.append(rs.text(QStringLiteral("name")));
    return out;
}

QList<FieldInfo> Connection::columns(const QString &table)
{
    QList<FieldInfo> out;
    const QStringList keys = primaryKey(table);
    if (engine() == Engine::SQLite) {
        Recordset rs = openForwardOnly(
            QStringLiteral("select name, type, \"notnull\" as nn from pragma_table_info(?) order by cid"),
            {table});
        for (; !rs.eof(); rs.moveNext()) {
            FieldInfo f;
            f.name = rs.text(QStringLiteral("name"));
            f.declaredType = rs.text(QStringLiteral("type"));
            f.type = metaTypeForDeclared(f.declaredType);
            f.kind = kindForMetaType(f.type);
            int scale = -1;
            f.size = declaredSize(f.declaredType, &scale);
            f.scale = scale;
            f.nullable = rs.integer(QStringLiteral("nn")) == 0;
            f.primaryKey = keys.contains(f.name, Qt::CaseInsensitive);
            out.append(f);
        }
        return out;
    }
    Recordset rs = openForwardOnly(
        QStringLiteral("select column_name::text as name, data_type::text as type, "
                       "character_maximum_length::int as len, numeric_precision::int as prec, "
                       "numeric_scale::int as scale, is_nullable::text as nullable "
                       "from information_schema.columns where table_schema = current_schema() "
                       "and table_name = ? order by ordinal_position"),
        {table.toLower()});
    for (; !rs.eof(); rs.moveNext()) {
        FieldInfo f;
        f.name = rs.text(QStringLiteral("name"));
        f.declaredType = rs.text(QStringLiteral("type"));
        f.type = metaTypeForDeclared(f.declaredType);
        f.kind = kindForMetaType(f.type);
        f.size = rs.isNull(QStringLiteral("len")) ? (rs.isNull(QStringLiteral("prec")) ? -1 : int(rs.integer(QStringLiteral("prec"))))
                                                  : int(rs.integer(QStringLiteral("len")));
        f.scale = rs.isNull(QStringLiteral("scale")) ? -1 : int(rs.integer(QStringLiteral("scale")));
        f.nullable = rs.text(QStringLiteral("nullable")) == u"YES";
        f.primaryKey = keys.contains(f.name, Qt::CaseInsensitive);
        out.append(f);
    }
    return out;
}

QVariantMap Connection::callRoutine(const QString &name, const QVariantMap &params)
{
    const QString routine = Routines::normalizeName(name);
    if (!identifierPattern().match(routine).hasMatch())
        throw error(QStringLiteral("Nombre de rutina inválido «%1»").arg(name), errors::BadParameters,
                    "callRoutine");
    if (engine() == Engine::SQLite) {
        checkOpen("callRoutine");
        const auto fn = Routines::find(routine);
        if (!fn)
            throw error(QStringLiteral("No existe la rutina «%1»").arg(name), errors::RoutineNotFound, "callRoutine",
                        {}, DbError::NotFound);
        QVariantMap inputs;
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            if (it.value().isValid())
                inputs.insert(Routines::normalizeName(it.key()), it.value());
        Transaction tx(*this);
        const QVariantMap out = (*fn)(*this, inputs);
        tx.commit();
        return Routines::normalizeKeys(out);
    }
    QStringList args;
    QVariantList values;
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        if (!it.value().isValid())
            continue;
        const QString p = Routines::normalizeName(it.key());
        if (!identifierPattern().match(p).hasMatch() || p.contains(u'.'))
            throw error(QStringLiteral("Nombre de parámetro inválido «%1»").arg(it.key()), errors::BadParameters,
                        "callRoutine");
        args.append(p + QStringLiteral(" => ?"));
        values.append(it.value());
    }
    const Recordset rs =
        openForwardOnly(QStringLiteral("select * from ") + routine + u'(' + args.join(QStringLiteral(", ")) + u')',
                        values);
    QVariantMap out;
    if (!rs.eof())
        for (int i = 0; i < rs.fieldCount(); ++i)
            out.insert(rs.fieldName(i).toLower(), rs.value(i));
    return out;
}

} // namespace db
