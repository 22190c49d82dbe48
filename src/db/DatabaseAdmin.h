#pragma once

#include "ConnectionString.h"

#include <QStringList>

namespace db {

// Creating, listing and dropping whole databases: the admin command line, the connection
// dialog's database list and the test fixtures.
class DatabaseAdmin {
public:
    static bool exists(const ConnectionString &target);
    // Creates the SQLite file (and its folder) or the PostgreSQL database when it is missing;
    // returns true when it created it. PostgreSQL connects to the server's "postgres" database.
    static bool ensureExists(const ConnectionString &target);
    // PostgreSQL: ends the other sessions first. SQLite: removes the file and its WAL companions.
    static void drop(const ConnectionString &target);
    // The databases of a PostgreSQL server (templates left out); empty for SQLite.
    static QStringList databases(const ConnectionString &server);
};

} // namespace db
