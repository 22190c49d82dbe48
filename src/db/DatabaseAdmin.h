#pragma once

#include "ConnectionString.h"

#include <QStringList>

namespace db {

class Connection;

// Creating, listing and dropping whole databases: the admin command line, the connection
// dialog's database list and the test fixtures.
class DatabaseAdmin {
public:
    // Throws a usage DbError unless the name is letters, digits, '_' or '-', starting with a
    // letter or '_', at most 63 characters: what a store's database needs and nothing to escape.
    static void checkName(const QString &name);
    static bool exists(const ConnectionString &target);
    // Creates the SQLite file (and its folder) or the PostgreSQL database when it is missing;
    // returns true when it created it. PostgreSQL connects to the server's "postgres" database.
    static bool ensureExists(const ConnectionString &target);
    // PostgreSQL: ends the other sessions first. SQLite: removes the file and its WAL companions.
    static void drop(const ConnectionString &target);
    // The databases of a PostgreSQL server (templates left out); empty for SQLite.
    static QStringList databases(const ConnectionString &server);

    // PostgreSQL's two roles of a store database: "<database>_admin" owns the schema (db upgrade
    // connects as it) and "<database>_estacion" is the workstations' login, with data rights only.
    struct Roles {
        ConnectionString owner;
        ConnectionString workstation;
        bool ownerPasswordSet = false;
        bool workstationPasswordSet = false;
    };
    static QString ownerRole(const QString &database) { return database + QStringLiteral("_admin"); }
    static QString workstationRole(const QString &database) { return database + QStringLiteral("_estacion"); }
    // Creates both roles when missing (with the passwords given, or random ones), gives the
    // database and the connection's current schema to the owner. Needs a login that may create
    // roles. Empty passwords leave existing roles' passwords alone.
    static Roles createRoles(Connection &connection, const QString &ownerPassword,
                             const QString &workstationPassword);
    // When the owner role exists and the session may act as it, SET ROLE to it, so that what the
    // schema migrations create belongs to it. Returns true when it did.
    static bool actAsOwner(Connection &connection);
    // The workstation role's rights on every table of the schema: read and write data, no DDL;
    // tUpgrade and tAuditoria read only. Nothing when the role does not exist.
    static void grantWorkstation(Connection &connection);
};

} // namespace db
