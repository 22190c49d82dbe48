#pragma once

struct sqlite3;

namespace db {

// Registers the server contract functions (getdate, dateadd, datediff, datepart, year, month,
// day, left, right) on one SQLite connection. Returns false when SQLite refused one.
bool registerSqliteFunctions(sqlite3 *handle);

} // namespace db
