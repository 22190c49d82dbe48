#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// Cash-register sessions: the cut of a terminal, the money put in and taken out during it, and
// what was received per payment kind at closing.
void cortes(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tEstadoCorte (
    ecorte_Clave varchar(20) primary key,
    ecorte_Nombre varchar(50) not null
);
create table if not exists TCORTE (
    alm_Clave varchar(20) not null references tAlmacen (alm_Clave),
    term_Clave varchar(20) not null references tTerminal (term_Clave),
    corte_Anio integer not null,
    corte_Numero integer not null,
    corte_Fecha timestamp not null,
    ecorte_Clave varchar(20) not null default 'ABIERTO' references tEstadoCorte (ecorte_Clave),
    usu_Clave varchar(20) not null,
    corte_Articulos numeric(18,6) not null default 0,
    corte_Total numeric(18,6) not null default 0,
    corte_Diferencia numeric(18,6) not null default 0,
    corte_FechaFin timestamp,
    usu_ClaveFin varchar(20),
    primary key (alm_Clave, term_Clave, corte_Anio, corte_Numero)
);
-- A terminal has at most one open cut per warehouse, even when two stations try at once.
create unique index if not exists ux_TCORTE_abierto on TCORTE (alm_Clave, term_Clave) where ecorte_Clave = 'ABIERTO';
create table if not exists tMovCaja (
    alm_Clave varchar(20) not null,
    term_Clave varchar(20) not null,
    corte_Anio integer not null,
    corte_Numero integer not null,
    movc_Clave integer not null,
    concepto_Clave varchar(20) not null,
    concepto_Nombre varchar(100) not null,
    movc_Importe numeric(18,6) not null,
    movc_Fecha timestamp not null,
    usu_Clave varchar(20) not null,
    primary key (alm_Clave, term_Clave, corte_Anio, corte_Numero, movc_Clave),
    foreign key (alm_Clave, term_Clave, corte_Anio, corte_Numero)
        references TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero)
);
create table if not exists tCorteTipoPago (
    alm_Clave varchar(20) not null,
    term_Clave varchar(20) not null,
    corte_Anio integer not null,
    corte_Numero integer not null,
    tpago_Clave varchar(20) not null,
    cortetp_Importe numeric(18,6) not null,
    primary key (alm_Clave, term_Clave, corte_Anio, corte_Numero, tpago_Clave),
    foreign key (alm_Clave, term_Clave, corte_Anio, corte_Numero)
        references TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero)
);
insert into tEstadoCorte (ecorte_Clave, ecorte_Nombre) values
    ('ABIERTO', 'ABIERTO'), ('CERRADO', 'CERRADO'), ('DIFERENCIA', 'CERRADO CON DIFERENCIA');
)"));
}

} // namespace db::migrations
