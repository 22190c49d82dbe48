#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// Stored reports: the design the designer edits (the report row, its parameters, groups,
// summaries, totals, objects and their properties) and the catalogues the parameters name. The
// program generated from a design lives in tCodigo under tReporte.codigo_Clave; running a report
// reads only that program. Every design row hangs from its report and goes with it.
void reportes(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tTipoReporte (
    trep_Clave varchar(20) not null primary key,
    trep_Nombre varchar(100) not null
);
create table if not exists tTipoParametro (
    tparam_Clave varchar(20) not null primary key,
    tparam_Nombre varchar(100) not null
);
create table if not exists tTipoDato (
    tdat_Clave varchar(1) not null primary key,
    tdat_Nombre varchar(50) not null
);

create table if not exists tReporte (
    ver_Clave varchar(20) not null default '',
    rep_Clave varchar(50) not null primary key,
    rep_Nombre varchar(150) not null,
    rep_Descripcion varchar(1000),
    rep_Archivo varchar(255),
    trep_Clave varchar(20) not null default 'GENERAL' references tTipoReporte (trep_Clave),
    codigo_Clave varchar(100),
    rep_Impresora varchar(255),
    rep_Orientacion integer not null default 1,
    rep_Papel integer not null default 1,
    rep_Forma varchar(100),
    rep_AltoForma numeric(18,6) not null default -1,
    rep_AnchoForma numeric(18,6) not null default -1,
    rep_Encabezado numeric(18,6) not null default 0,
    rep_Pie numeric(18,6) not null default 0,
    rep_Detalle numeric(18,6) not null default 0,
    rep_Lineas integer not null default 0,
    rep_SoloCodigo varchar(1) not null default 'N',
    rep_Orden integer not null default 0,
    rep_ExpImagenes varchar(1) not null default 'N',
    rep_ExpConsultas varchar(1) not null default 'N',
    rep_SQL text
);
create index if not exists ix_tReporte_orden on tReporte (ver_Clave, rep_Orden, rep_Nombre);

-- rparam_Clave orders the inputs; rparam_Nombre is the name the query writes in brackets.
create table if not exists TREPORTEPARAM (
    rep_Clave varchar(50) not null references tReporte (rep_Clave) on delete cascade,
    rparam_Clave integer not null,
    rparam_Nombre varchar(50) not null,
    rparam_Descripcion varchar(255),
    tparam_Clave varchar(20) not null references tTipoParametro (tparam_Clave),
    tdat_Clave varchar(1) not null default 'T' references tTipoDato (tdat_Clave),
    con_clave integer references tConsulta (con_Clave),
    rparam_ClaveChg integer,
    rparam_Requerido varchar(1) not null default 'N',
    rparam_Consulta text,
    rparam_Valor varchar(255),
    primary key (rep_Clave, rparam_Clave)
);
create unique index if not exists ux_TREPORTEPARAM_nombre on TREPORTEPARAM (rep_Clave, rparam_Nombre);

create table if not exists TREPORTEGRUPO (
    rep_Clave varchar(50) not null references tReporte (rep_Clave) on delete cascade,
    rgrupo_Nombre varchar(100) not null,
    rgrupo_Campos varchar(1000) not null,
    primary key (rep_Clave, rgrupo_Nombre)
);

-- A group summary and the group that resets it (none: it runs over the whole report).
create table if not exists tReporteSumario (
    rep_Clave varchar(50) not null references tReporte (rep_Clave) on delete cascade,
    rsum_Nombre varchar(100) not null,
    rsum_Formula varchar(1000),
    rgrupo_Nombre varchar(100),
    primary key (rep_Clave, rsum_Nombre)
);

create table if not exists tReporteTotales (
    rep_Clave varchar(50) not null references tReporte (rep_Clave) on delete cascade,
    rtotal_Nombre varchar(100) not null,
    rtotal_Formula varchar(1000),
    primary key (rep_Clave, rtotal_Nombre)
);

-- robj_Clave orders the objects; robj_Tipo is the object's data kind.
create table if not exists tReporteObjeto (
    rep_Clave varchar(50) not null references tReporte (rep_Clave) on delete cascade,
    robj_Clave integer not null,
    robj_Nombre varchar(100) not null,
    robj_Seccion varchar(20),
    robj_Tipo varchar(1),
    robj_Clase varchar(50) not null,
    primary key (rep_Clave, robj_Clave)
);
create unique index if not exists ux_tReporteObjeto_nombre on tReporteObjeto (rep_Clave, robj_Nombre);

create table if not exists tReporteObjetoPropiedad (
    rep_Clave varchar(50) not null,
    robj_Clave integer not null,
    rop_Nombre varchar(50) not null,
    rop_Valor text,
    primary key (rep_Clave, robj_Clave, rop_Nombre),
    foreign key (rep_Clave, robj_Clave) references tReporteObjeto (rep_Clave, robj_Clave) on delete cascade
);

insert into tTipoReporte (trep_Clave, trep_Nombre) values
    ('GENERAL', 'Reportes generales'), ('FACTURA', 'Facturas'), ('PEDIDO', 'Recetas y pedidos');
insert into tTipoParametro (tparam_Clave, tparam_Nombre) values
    ('LISTA', 'Lista de una consulta'), ('TEXTO', 'Captura'), ('FECHA', 'Fecha'),
    ('RANGOFECHA', 'Rango de fechas');
insert into tTipoDato (tdat_Clave, tdat_Nombre) values
    ('T', 'Texto'), ('N', 'Numero'), ('F', 'Fecha'), ('E', 'Literal'), ('I', 'Imagen');
)"));
}

} // namespace db::migrations
