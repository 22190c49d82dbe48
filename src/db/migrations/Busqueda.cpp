#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// mdr_fold: what searches compare, the same text foldText gives (TextFold.cpp): lower case, then
// the accented Latin-1 letters to their base letter. Upper-case ones are listed too: lower()
// leaves them alone on a database with the C locale.
// A plain SQL function, immutable, so that an expression index can serve it; the unaccent
// extension would need installing by a superuser and is only stable.
void busqueda(Connection &connection)
{
    if (connection.engine() != Engine::PostgreSQL)
        return; // SQLite connections register the function when they open
    connection.executeScript(QStringLiteral(R"SQL(
create or replace function mdr_fold(value text) returns text
language sql immutable strict parallel safe as $$
    select translate(lower(value),
        'ÀÁÂÃÄÅÇÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝàáâãäåçèéêëìíîïñòóôõöùúûüýÿ',
        'aaaaaaceeeeiiiinooooouuuuyaaaaaaceeeeiiiinooooouuuuyy')
$$;
)SQL"));
}

} // namespace db::migrations
