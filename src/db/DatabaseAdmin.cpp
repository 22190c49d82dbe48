#include "DatabaseAdmin.h"

#include "Connection.h"

#include <QRandomGenerator>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace db {

namespace {

ConnectionString maintenance(const ConnectionString &target)
{
    return target.withDatabase(QStringLiteral("postgres"));
}

// Database names cannot be bound. The name is checked against a plain pattern and quoted here
// (the driver leaves a name that already starts and ends with '"' as it is).
QString quotedName(const QString &name)
{
    DatabaseAdmin::checkName(name);
    return Connection::quoteIdentifier(name);
}

} // namespace

void DatabaseAdmin::checkName(const QString &name)
{
    static const QRegularExpression sane(QStringLiteral("^[A-Za-z_][A-Za-z0-9_-]{0,62}$"));
    if (!sane.match(name).hasMatch())
        throw DbError(errors::BadParameters,
                      QStringLiteral("El nombre de base de datos «%1» no es válido: use letras sin acento, números, "
                                     "«_» o «-», empezando con una letra, hasta 63 caracteres")
                          .arg(name),
                      QStringLiteral("db.DatabaseAdmin"), {}, DbError::Usage);
}

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
    const QString name = quotedName(target.database());
    Connection c;
    c.open(maintenance(target));
    if (c.scalar(QStringLiteral("select 1 from pg_database where datname = ?"), {target.database()}).isValid())
        return false;
    c.executeStatement(QStringLiteral("create database ") + name + QStringLiteral(" encoding 'UTF8' template template0"));
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
    const QString name = quotedName(target.database());
    Connection c;
    c.open(maintenance(target));
    c.execute(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity "
                             "where datname = ? and pid <> pg_backend_pid()"),
              {target.database()});
    c.executeStatement(QStringLiteral("drop database if exists ") + name +
                       QStringLiteral(" with (force)"));
}

namespace {

QString quotedLiteral(const QString &text)
{
    QString q = text;
    q.replace(u'\'', QStringLiteral("''"));
    return u'\'' + q + u'\'';
}

QString randomPassword()
{
    static const QString alphabet = QStringLiteral("abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789");
    QString out;
    for (int i = 0; i < 24; ++i)
        out += alphabet.at(int(QRandomGenerator::system()->bounded(quint32(alphabet.size()))));
    return out;
}

bool roleExists(Connection &c, const QString &role)
{
    return c.scalar(QStringLiteral("select 1 from pg_roles where rolname = ?"), {role}).isValid();
}

} // namespace

DatabaseAdmin::Roles DatabaseAdmin::createRoles(Connection &c, const QString &ownerPassword,
                                                const QString &workstationPassword)
{
    const ConnectionString target = c.target();
    const QString database = c.scalar(QStringLiteral("select current_database()::text")).toString();
    checkName(database);
    const QString owner = ownerRole(database);
    const QString station = workstationRole(database);
    if (station.size() > 63)
        throw DbError(errors::BadParameters,
                      QStringLiteral("El nombre de base de datos «%1» es muy largo para nombrar sus roles (hasta 54 "
                                     "caracteres)")
                          .arg(database),
                      QStringLiteral("db.DatabaseAdmin"), {}, DbError::Usage);
    Roles roles;
    const auto ensure = [&](const QString &role, const QString &given, const QString &attributes, bool *set) {
        QString password = given;
        if (!roleExists(c, role)) {
            if (password.isEmpty())
                password = randomPassword();
            c.executeStatement(QStringLiteral("create role %1 login %2 password %3")
                                   .arg(Connection::quoteIdentifier(role), attributes, quotedLiteral(password)));
            *set = true;
        } else if (!password.isEmpty()) {
            c.executeStatement(QStringLiteral("alter role %1 password %2")
                                   .arg(Connection::quoteIdentifier(role), quotedLiteral(password)));
            *set = true;
        }
        return target.withLogin(role, password);
    };
    roles.owner = ensure(owner, ownerPassword, QStringLiteral("nosuperuser nocreatedb nocreaterole"),
                         &roles.ownerPasswordSet);
    roles.workstation = ensure(station, workstationPassword,
                               QStringLiteral("nosuperuser nocreatedb nocreaterole noinherit"),
                               &roles.workstationPasswordSet);
    const QString schema = c.scalar(QStringLiteral("select current_schema()::text")).toString();
    const QString o = Connection::quoteIdentifier(owner);
    const QString w = Connection::quoteIdentifier(station);
    const QString s = Connection::quoteIdentifier(schema);
    const QString d = Connection::quoteIdentifier(database);
    c.executeStatement(QStringLiteral("alter database %1 owner to %2").arg(d, o));
    c.executeStatement(QStringLiteral("alter schema %1 owner to %2").arg(s, o));
    // Nobody else creates objects in the store's schema.
    c.executeStatement(QStringLiteral("revoke create on schema %1 from public").arg(s));
    c.executeStatement(QStringLiteral("grant connect, temporary on database %1 to %2").arg(d, w));
    // What an earlier init made as another login passes to the owner.
    for (Recordset rs = c.openRecordset(QStringLiteral("select tablename::text from pg_tables where schemaname = ? "
                                                       "and tableowner <> ?"),
                                        {schema, owner});
         !rs.eof(); rs.moveNext())
        c.executeStatement(QStringLiteral("alter table %1.%2 owner to %3")
                               .arg(s, Connection::quoteIdentifier(rs.value(0).toString()), o));
    for (Recordset rs = c.openRecordset(QStringLiteral("select p.oid::regprocedure::text from pg_proc p join "
                                                       "pg_namespace n on n.oid = p.pronamespace where n.nspname = ? "
                                                       "and pg_get_userbyid(p.proowner) <> ?"),
                                        {schema, owner});
         !rs.eof(); rs.moveNext())
        c.executeStatement(QStringLiteral("alter function %1 owner to %2").arg(rs.value(0).toString(), o));
    return roles;
}

bool DatabaseAdmin::actAsOwner(Connection &c)
{
    if (c.engine() != Engine::PostgreSQL)
        return false;
    const QString database = c.scalar(QStringLiteral("select current_database()::text")).toString();
    const QString owner = ownerRole(database);
    if (!roleExists(c, owner) ||
        c.scalar(QStringLiteral("select current_user::text")).toString() == owner ||
        !c.scalar(QStringLiteral("select pg_has_role(current_user, ?, 'MEMBER')"), {owner}).toBool())
        return false;
    c.executeStatement(QStringLiteral("set role %1").arg(Connection::quoteIdentifier(owner)));
    return true;
}

void DatabaseAdmin::grantWorkstation(Connection &c)
{
    if (c.engine() != Engine::PostgreSQL)
        return;
    const QString database = c.scalar(QStringLiteral("select current_database()::text")).toString();
    const QString station = workstationRole(database);
    if (!roleExists(c, station))
        return;
    const QString w = Connection::quoteIdentifier(station);
    const QString s =
        Connection::quoteIdentifier(c.scalar(QStringLiteral("select current_schema()::text")).toString());
    c.executeStatement(QStringLiteral("grant usage on schema %1 to %2").arg(s, w));
    c.executeStatement(QStringLiteral("grant select, insert, update, delete on all tables in schema %1 to %2").arg(s, w));
    c.executeStatement(QStringLiteral("grant usage, select, update on all sequences in schema %1 to %2").arg(s, w));
    // The trail is written by its trigger alone; the schema version by db upgrade alone.
    for (const char *table : {"tAuditoria", "tUpgrade"})
        if (c.tableExists(QLatin1String(table)))
            c.executeStatement(QStringLiteral("revoke insert, update, delete, truncate on %1.%2 from %3")
                                   .arg(s, QLatin1String(table), w));
    if (c.scalar(QStringLiteral("select current_user::text")).toString() ==
        ownerRole(database)) {
        // Tables of later upgrades get the same rights.
        c.executeStatement(QStringLiteral("alter default privileges in schema %1 grant select, insert, update, "
                                          "delete on tables to %2")
                               .arg(s, w));
        c.executeStatement(
            QStringLiteral("alter default privileges in schema %1 grant usage, select, update on sequences to %2")
                .arg(s, w));
    }
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
