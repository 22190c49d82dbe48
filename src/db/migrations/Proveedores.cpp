#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// The supplier record, the departments each supplier serves and the layout it uses for each kind
// of electronic exchange. The price-control catalogue the record names is the store's own (no
// rows are seeded). The layouts belong to the exchange module, which has no table yet: the layout
// key is kept as text without a reference. Flags are 'S'/'N'.
void proveedores(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tControlPrecio (
    control_Clave varchar(20) not null primary key,
    control_Nombre varchar(100) not null
);

create table if not exists tProveedor (
    prov_Clave varchar(30) not null primary key,
    prov_Abreviatura varchar(30),
    prov_Nombre varchar(150) not null,
    prov_RFC varchar(13),
    prov_Domicilio varchar(255),
    prov_Ciudad varchar(100),
    prov_CP varchar(10),
    pais_Clave varchar(10) not null references tPais (pais_Clave),
    edo_Clave varchar(10) not null,
    prov_Agente varchar(100),
    prov_Supervisor varchar(100),
    prov_Tel1 varchar(30),
    prov_Tel2 varchar(30),
    prov_Fax varchar(30),
    prov_email varchar(100),
    prov_Descuento numeric(18,6) not null default 0,
    prov_Bonificacion numeric(18,6) not null default 0,
    tpag_Clave varchar(20) not null references tTipoPago (tpago_Clave),
    prov_Periodo integer not null default 0,
    per_Clave varchar(10) references tPeriodo (per_Clave),
    banco_Clave varchar(20) references tBanco (banco_Clave),
    prov_Sucursal varchar(50),
    prov_Cuenta varchar(30),
    prov_Referencia varchar(255),
    prov_ActPrecio varchar(1) not null default 'N',
    prov_ReqPedido varchar(1) not null default 'N',
    prov_ReqFalta varchar(1) not null default 'N',
    prov_ValCantidad varchar(1) not null default 'N',
    prov_ValCantidadPorc numeric(18,6) not null default 0,
    prov_ValPrecio varchar(1) not null default 'N',
    prov_ValPrecioPorc numeric(18,6) not null default 0,
    cpago_Clave varchar(20) references tControlPago (cpago_Clave),
    percp_Clave varchar(20) references tPeriodoControlPago (percp_Clave),
    prov_LimCredito numeric(18,6) not null default 0,
    prov_Saldo numeric(18,6) not null default 0,
    prov_EDI varchar(1) not null default 'N',
    prov_CodProvEDI varchar(30),
    prov_CodClienteEDI varchar(30),
    control_Clave varchar(20) references tControlPrecio (control_Clave),
    prov_UtilDesc varchar(1) not null default 'N',
    prov_DiasResurtido integer not null default 0,
    prov_DiasResurtidoMax integer not null default 0,
    prov_Preferencia integer not null default 1,
    prov_ActLista varchar(1) not null default 'N',
    prov_DispLista varchar(1) not null default 'N',
    prov_ValMaxMin varchar(1) not null default 'N',
    prov_RegimenFiscal varchar(3) references tRegimenFiscal (regf_Clave),
    prov_FecAlta timestamp,
    prov_FecMod timestamp,
    foreign key (pais_Clave, edo_Clave) references tEstado (pais_Clave, edo_Clave)
);
create index if not exists ix_tProveedor_nombre on tProveedor (prov_Nombre);
create index if not exists ix_tProveedor_rfc on tProveedor (prov_RFC);

create table if not exists TPROVEEDORTIPOART (
    prov_Clave varchar(30) not null references tProveedor (prov_Clave) on delete cascade,
    tart_Clave varchar(20) not null references tTipoArticulo (tart_Clave),
    tap_Seleccion varchar(1) not null default 'S',
    primary key (prov_Clave, tart_Clave)
);
create index if not exists ix_TPROVEEDORTIPOART_tart on TPROVEEDORTIPOART (tart_Clave);

create table if not exists tProveedorEDI (
    prov_Clave varchar(30) not null references tProveedor (prov_Clave) on delete cascade,
    tedi_Clave varchar(20) not null references tTipoEDI (tedi_Clave),
    layout_Clave varchar(50) not null,
    primary key (prov_Clave, tedi_Clave)
);
create index if not exists ix_tProveedorEDI_tedi on tProveedorEDI (tedi_Clave);
)"));
}

} // namespace db::migrations
