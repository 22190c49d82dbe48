#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// The physical inventory: the header, the counted rows (up to three counts and the result) and the
// adjustments computed from them. The detail rows go with their header.
void inventario(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tInventario (
    alm_Clave varchar(20) not null,
    inv_Anio integer not null,
    inv_Clave integer not null,
    inv_Fecha timestamp not null,
    usu_Clave varchar(30),
    einv_Clave varchar(12) not null default 'REGISTRADO'
        check (einv_Clave in ('REGISTRADO', 'PROCESADO', 'CERRADO')),
    inv_Conteo integer not null check (inv_Conteo between 1 and 3),
    tinv_Clave varchar(12) not null check (tinv_Clave in ('TOTAL', 'PARCIAL', 'DEPTO', 'CATEGORIA')),
    inv_ConteoActual integer not null default 1 check (inv_ConteoActual between 1 and 3),
    tart_Clave varchar(30),
    sub_Clave varchar(30),
    primary key (alm_Clave, inv_Anio, inv_Clave)
);
create table if not exists tInventarioArticulo (
    alm_Clave varchar(20) not null,
    inv_Anio integer not null,
    inv_Clave integer not null,
    art_Clave varchar(30) not null references tArticulo (art_Clave),
    alma_Clave varchar(50) not null default '',
    inva_Conteo1 numeric(18,6) not null default 0,
    inva_Conteo2 numeric(18,6) not null default 0,
    inva_Conteo3 numeric(18,6) not null default 0,
    inva_Resultado numeric(18,6) not null default 0,
    primary key (alm_Clave, inv_Anio, inv_Clave, art_Clave, alma_Clave),
    foreign key (alm_Clave, inv_Anio, inv_Clave) references tInventario (alm_Clave, inv_Anio, inv_Clave)
);
create table if not exists tInventarioAjuste (
    alm_Clave varchar(20) not null,
    inv_Anio integer not null,
    inv_Clave integer not null,
    art_Clave varchar(30) not null references tArticulo (art_Clave),
    alma_Clave varchar(50) not null default '',
    inva_Resultado numeric(18,6) not null,
    alma_Existencia numeric(18,6) not null,
    ajuste_Tipo char(1) not null check (ajuste_Tipo in ('E', 'S')),
    ajuste_Cantidad numeric(18,6) not null,
    art_Costo numeric(18,6) not null default 0,
    primary key (alm_Clave, inv_Anio, inv_Clave, art_Clave, alma_Clave),
    foreign key (alm_Clave, inv_Anio, inv_Clave) references tInventario (alm_Clave, inv_Anio, inv_Clave)
);
)"));
}

} // namespace db::migrations
