#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// tCodigo: event scripts, looked up by key at named moments; 'S' in codigo_Activo runs them.
void codigo(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tCodigo (
    codigo_Clave varchar(100) not null primary key,
    codigo_Nombre varchar(255),
    codigo_Text text,
    codigo_Activo char(1) default 'S'
);
)"));
}

} // namespace db::migrations
