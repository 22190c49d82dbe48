#pragma once

#include "ConnectionString.h"
#include "DbError.h"
#include "Dialect.h"
#include "FieldInfo.h"
#include "Params.h"
#include "Recordset.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantMap>

#include <QHash>
#include <QSqlQuery>

#include <functional>
#include <memory>
#include <optional>

class QSqlError;
struct sqlite3_stmt;

namespace db {

// One database session on SQLite or PostgreSQL. Every statement text goes through Dialect
// (SQL Server spellings) and takes its values as bound parameters. Errors throw DbError.
// Not copyable; use it from the thread that opened it.
class Connection {
public:
    enum class OpenMode {
        ExistingOnly,    // SQLite: a missing file is an error rather than a new empty store
        CreateIfMissing, // SQLite: creates the file (and its folder)
    };

    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void open(const QString &connectionString);
    void open(const ConnectionString &connectionString, OpenMode mode = OpenMode::ExistingOnly);
    void close();
    bool isOpen() const;
    QString connectionString() const { return m_cs.toString(); }
    const ConnectionString &target() const { return m_cs; }
    Engine engine() const { return m_cs.engine(); }
    // A SQLite store the user may not write: opened for reading, writes refused with a message.
    bool isReadOnly() const { return m_readOnly; }

    // Who works on this session, for the audit trail (tAuditoria): the program's user and the
    // workstation. Kept across reopen(); PostgreSQL gets them as session settings mdr.usuario and
    // mdr.estacion, SQLite through the function mdr_contexto(name).
    void setSessionContext(const QString &user, const QString &workstation);

    // True when open and "select 1" answers; never throws.
    bool ping();
    // Closes and opens again with the same connection string, then ping(); never throws.
    bool reopen();
    // The error of the last failed ping()/reopen().
    std::optional<DbError> lastError() const { return m_lastError; }

    // Rows affected.
    int execute(const QString &sql, const Params &params = {});
    // Several statements separated by ';', no parameters, run as written without dialect
    // translation: schema scripts and function bodies in the engine's own SQL.
    void executeScript(const QString &script);
    // Exactly one statement in the engine's own SQL, not split, translated or prepared: the
    // commands PostgreSQL refuses to prepare (CREATE DATABASE, CREATE ROLE, GRANT).
    void executeStatement(const QString &sql);
    // A double-quoted identifier with every '"' doubled.
    static QString quoteIdentifier(const QString &name);
    // First column of the first row; an invalid QVariant when there is no row.
    QVariant scalar(const QString &sql, const Params &params = {});

    Recordset openRecordset(const QString &sql, const Params &params = {});
    Recordset openForwardOnly(const QString &sql, const Params &params = {});
    // A table name (all its rows) or a "select … from table …" over one table.
    Recordset openUpdatable(const QString &sqlOrTable, const Params &params = {});

    // Nested calls use savepoints, so a routine may run inside a document's transaction.
    // SQLite starts with BEGIN IMMEDIATE: the write lock is taken at once, not at the first write.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    QStringList tables();
    bool tableExists(const QString &table);
    QList<FieldInfo> columns(const QString &table);
    QStringList primaryKey(const QString &table);

    // A server routine by name with named parameters ('@' allowed: "@clave"); returns its outputs
    // keyed in lower case without '@'. PostgreSQL: "select * from name(p => …)", OUT parameters
    // or the function's value. SQLite: the C++ routine registered in Routines, run atomically.
    // Parameters whose value is an invalid QVariant are taken as outputs and not passed.
    QVariantMap callRoutine(const QString &name, const QVariantMap &params = {});

    // Called with the translated text before every statement; may throw to simulate a failure
    // (tests make the Nth statement of a document fail).
    void setStatementHook(std::function<void(const QString &sql)> hook) { m_hook = std::move(hook); }
    qint64 statementCount() const { return m_statements; }

    // Escape hatch for Qt APIs that take a QSqlDatabase (models, bulk readers).
    QSqlDatabase database() const { return m_db; }

private:
    friend class Recordset;
    // Runs a statement; the result is in the returned query (the scratch one or a cached one).
    struct Statement;
    // direct (SQLite, a kept statement whose result shape is known): the values are bound through
    // the C API and the statement is left for the caller to step, *direct set to true.
    QSqlQuery &run(QSqlQuery &scratch, const QString &sql, const Params &params, const char *operation,
                   std::shared_ptr<Statement> *cached = nullptr, bool *direct = nullptr);
    void bindSqlite(sqlite3_stmt *stmt, const QVariantList &values, const char *operation,
                    const QString &sql);
    DbError sqliteFailure(int rc, const char *operation, const QString &sql);
    Recordset load(const QString &sql, const Params &params, int mode, const char *operation);
    Recordset loadDirect(Statement &shape, sqlite3_stmt *stmt, const QString &sql, const Params &params,
                         int mode, const char *operation);
    DbError error(const QString &description, int number, const char *operation, const QString &sql = {},
                  DbError::Kind kind = DbError::Usage) const;
    DbError failure(const QSqlError &e, const char *operation, const QString &sql);
    void checkOpen(const char *operation) const;
    void applySessionSettings();
    void checkSqliteSchema();

    QString m_name;
    // Recordsets hold a weak handle: one kept past this connection's end gets an error, not freed memory.
    std::shared_ptr<Connection *> m_self = std::make_shared<Connection *>(this);
    QSqlDatabase m_db;
    ConnectionString m_cs;
    int m_depth = 0;
    bool m_readOnly = false;
    struct SessionContext {
        QByteArray user, workstation, login;
    };
    std::unique_ptr<SessionContext> m_context = std::make_unique<SessionContext>();
    void applySessionContext();
    bool m_aborted = false; // a statement failed inside the open transaction
    sqlite3_stmt *m_schemaVersionStmt = nullptr;
    int m_schemaVersion = -1;
    qint64 m_statements = 0;
    std::optional<DbError> m_lastError;
    std::function<void(const QString &)> m_hook;
    static constexpr qsizetype kStatementCacheSize = 200;
    QHash<QString, std::shared_ptr<Statement>> m_statementCache;
    QHash<QString, TranslatedSql> m_translations; // texts repeat: lookups run thousands of times
};

} // namespace db
