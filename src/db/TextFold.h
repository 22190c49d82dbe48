#pragma once

#include <QString>

struct sqlite3_context;
struct sqlite3_value;

namespace db {

// Text as searches compare it: lower case, and the accented Latin-1 letters (the tilde of ñ too)
// to their base letter ("José Peña" → "jose pena"), so that "mexico" finds "México" on every
// engine. Other letters are only lowered ("Łódź" → "łodź"). The SQL function mdr_fold does
// the same on both engines (registered on SQLite connections; created by a migration on
// PostgreSQL, immutable there so that it can be indexed).
QString foldText(const QString &text);

// mdr_fold(text) for SQLite.
void sqliteFold(sqlite3_context *ctx, int argc, sqlite3_value **argv);

} // namespace db
