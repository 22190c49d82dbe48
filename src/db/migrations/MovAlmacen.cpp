#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// The warehouse movement document: one row per movement, numbered per warehouse and year.
// The columns a type does not use stay null (destination only for transfers and branch
// shipments, the exchanged article only for exchanges).
void movAlmacen(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tMovAlmacen (
    alm_Clave varchar(20) not null references tAlmacen (alm_Clave),
    mova_Anio integer not null,
    mova_Clave bigint not null,
    MOVA_Fecha timestamp not null,
    art_Clave varchar(30) not null references tArticulo (art_Clave),
    alma_Clave varchar(50) not null default '',
    MOVA_Cantidad numeric(18,6) not null,
    MOVA_Costo numeric(18,6) not null default 0,
    MOVA_Total numeric(18,6) not null default 0,
    EMOVA_CLAVE varchar(20) not null default 'REGISTRADO',
    tmova_Clave varchar(20) not null references tTipoMovAlmacen (tmova_Clave),
    alm_Destino varchar(20),
    art_Cambio varchar(30) references tArticulo (art_Clave),
    alma_ClaveCambio varchar(50),
    mova_Descripcion varchar(500),
    primary key (alm_Clave, mova_Anio, mova_Clave)
);
create index if not exists ix_tMovAlmacen_fecha on tMovAlmacen (MOVA_Fecha);
)"));
}

} // namespace db::migrations
