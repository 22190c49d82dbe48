#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// Stored queries: SQL templates with {SYSTEM} and [USER] markers that fill choice lists, and
// the result columns that make up each entry's key and description.
void consultas(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tConsulta (
    con_Clave integer not null primary key,
    con_Nombre varchar(100) not null,
    con_SQL text,
    con_Completar varchar(1) not null default 'N'
);
create table if not exists tSelect (
    con_Clave integer not null references tConsulta (con_Clave) on delete cascade,
    sel_Orden integer not null,
    sel_Nombre varchar(100),
    sel_Campo varchar(100) not null,
    sel_Valor varchar(1) not null default 'N',
    sel_Descripcion varchar(1) not null default 'N',
    primary key (con_Clave, sel_Orden)
);
)"));
}

} // namespace db::migrations
