#include "DatabaseAdmin.h"

#include "Connection.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>

namespace db {

namespace {

ConnectionString maintenance(const ConnectionString &target)
{
    return target.withDatabase(QStringLiteral("postgres"));
}

// Database names cannot be bound; the driver quotes them as identifiers.
QString quotedName(Connection &c, const QString &name)
{
    if (name.isEmpty() || name.contains(QChar(0)))
        throw DbError(errors::BadParameters, QStringLiteral("Nombre de base de datos inválido"),
                      QStringLiteral("db.DatabaseAdmin"), {}, DbError::Usage);
    return c.database().driver()->escapeIdentifier(name, QSqlDriver::TableName);
}

} // namespace

bool DatabaseAdmin::exists(const ConnectionString &target)
{
    if (target.engine() == Engine::SQLite)
        return target.isMemory() || QFileInfo::exists(target.path());
    Connection c;
    c.open(maintenance(target));
    return c.scalar(QStringLiteral("select 1 from pg_database where datname = ?"), {target.database()}).isValid();
}

bool DatabaseAdmin::ensureExists(const ConnectionString &target)
{
    if (target.engine() == Engine::SQLite) {
        if (exists(target))
            return false;
        Connection c;
        c.open(target, Connection::OpenMode::CreateIfMissing);
        return true;
    }
    Connection c;
    c.open(maintenance(target));
    if (c.scalar(QStringLiteral("select 1 from pg_database where datname = ?"), {target.database()}).isValid())
        return false;
    c.executeScript(QStringLiteral("create database ") + quotedName(c, target.database()) +
                    QStringLiteral(" encoding 'UTF8' template template0"));
    return true;
}

void DatabaseAdmin::drop(const ConnectionString &target)
{
    if (target.engine() == Engine::SQLite) {
        if (target.isMemory())
            return;
        for (const char *suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(target.path() + QLatin1String(suffix));
        return;
    }
    Connection c;
    c.open(maintenance(target));
    c.execute(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity "
                             "where datname = ? and pid <> pg_backend_pid()"),
              {target.database()});
    c.executeScript(QStringLiteral("drop database if exists ") + quotedName(c, target.database()) +
                    QStringLiteral(" with (force)"));
}

QStringList DatabaseAdmin::databases(const ConnectionString &server)
{
    if (server.engine() == Engine::SQLite)
        return {};
    Connection c;
    c.open(maintenance(server));
    QStringList out;
    for (Recordset rs = c.openForwardOnly(
             QStringLiteral("select datname::text from pg_database where not datistemplate order by datname"));
         !rs.eof(); rs.moveNext())
        out.append(rs.value(0).toString());
    return out;
}

} // namespace db
