#include "Migrations.h"

#include "Connection.h"

#include <QDebug>

namespace db::migrations {

namespace {

// SQLite: an FTS5 table of the folded names with the trigram tokenizer, so that a search for
// any part of the name reads the index instead of folding every name.
// Contentless (content=''): the lookup needs only the matching rowids, so the names are not
// stored a second time, and an external-content table would have to read its content through a
// view over mdr_fold, which only the program's connections have. The price: a row leaves the
// index only with the exact text it went in with, which the triggers give from old.art_Nombre
// (mdr_fold is deterministic; a change of the fold needs a migration that refills the table).
// Keyed by tArticulo's rowid: tArticulo has no INTEGER PRIMARY KEY, but it has indexes, and
// VACUUM keeps the rowids of such tables (it renumbers only tables without any index).
// case_sensitive 1: the text is folded already; the tokenizer's own Unicode folding would make
// a few non-Latin letters match where the plain search does not. columnsize 0: no ranking.
void sqliteIndex(Connection &connection)
{
    connection.executeStatement(QStringLiteral(
        "create virtual table if not exists tArticuloBusqueda using fts5(nombre, content='', "
        "columnsize=0, tokenize='trigram case_sensitive 1')"));
    connection.executeStatement(QStringLiteral(
        "create trigger if not exists trg_tArticulo_busqueda_insert after insert on tArticulo begin "
        "insert into tArticuloBusqueda (rowid, nombre) values (new.rowid, mdr_fold(new.art_Nombre)); end"));
    connection.executeStatement(QStringLiteral(
        "create trigger if not exists trg_tArticulo_busqueda_update after update on tArticulo "
        "when old.art_Nombre is not new.art_Nombre or old.rowid <> new.rowid begin "
        "insert into tArticuloBusqueda (tArticuloBusqueda, rowid, nombre) "
        "values ('delete', old.rowid, mdr_fold(old.art_Nombre)); "
        "insert into tArticuloBusqueda (rowid, nombre) values (new.rowid, mdr_fold(new.art_Nombre)); end"));
    connection.executeStatement(QStringLiteral(
        "create trigger if not exists trg_tArticulo_busqueda_delete after delete on tArticulo begin "
        "insert into tArticuloBusqueda (tArticuloBusqueda, rowid, nombre) "
        "values ('delete', old.rowid, mdr_fold(old.art_Nombre)); end"));
    connection.executeStatement(QStringLiteral("insert into tArticuloBusqueda (tArticuloBusqueda) values ('delete-all')"));
    connection.executeStatement(QStringLiteral(
        "insert into tArticuloBusqueda (rowid, nombre) select rowid, mdr_fold(art_Nombre) from tArticulo"));
}

// PostgreSQL: a trigram GIN index over mdr_fold(art_Nombre), which serves the lookup's
// mdr_fold(…) LIKE '%…%' as it stands. pg_trgm is a trusted extension: the schema's owner may
// create it when it may create in the database. When it may not, the article search still works
// by reading the table: the migration goes on without the index and says so.
void postgresqlIndex(Connection &connection)
{
    const auto extensionSchema = [&connection] {
        return connection
            .scalar(QStringLiteral("select n.nspname::text from pg_extension e join pg_namespace n on n.oid = "
                                   "e.extnamespace where e.extname = 'pg_trgm'"))
            .toString();
    };
    QString schema = extensionSchema();
    if (schema.isEmpty()) {
        connection.begin(); // a savepoint: a refusal must not spoil the migration's transaction
        try {
            connection.executeStatement(QStringLiteral("create extension if not exists pg_trgm"));
            connection.commit();
        } catch (const DbError &e) {
            connection.rollback();
            qWarning().noquote()
                << QStringLiteral("MDR-2026-busqueda-articulos: no se pudo instalar la extensión pg_trgm (%1); "
                                  "la búsqueda de artículos por nombre funcionará sin índice, leyendo la tabla. "
                                  "Un administrador puede instalarla (create extension pg_trgm) y crear el índice "
                                  "ix_tArticulo_NombreTrigramas.")
                       .arg(e.description().simplified());
            return;
        }
        schema = extensionSchema();
    }
    // The operator class named with its schema: the extension may live outside the search path.
    connection.executeStatement(QStringLiteral("create index if not exists ix_tArticulo_NombreTrigramas on tArticulo "
                                               "using gin (mdr_fold(art_Nombre) %1.gin_trgm_ops)")
                                    .arg(Connection::quoteIdentifier(schema)));
}

} // namespace

void busquedaArticulos(Connection &connection)
{
    if (connection.engine() == Engine::SQLite)
        sqliteIndex(connection);
    else
        postgresqlIndex(connection);
}

} // namespace db::migrations
