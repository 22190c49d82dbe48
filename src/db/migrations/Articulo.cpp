#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// The article record with its price breakdown. The catalogue keys (department, family, maker,
// unit …) carry no foreign keys: imports and transfers write articles whose catalogue rows
// arrive later, as the stores' own databases always allowed.
void articulo(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tArticulo (
    art_Clave varchar(30) not null primary key,
    art_Nombre varchar(150) not null,
    art_Descripcion varchar(255),
    tart_Clave varchar(30),
    sub_Clave varchar(30),
    fam_Clave varchar(30),
    fab_Clave varchar(30),
    med_Clave varchar(30),
    art_Ubicacion varchar(50),
    ssa_Clave varchar(30),
    art_Indicacion varchar(255),
    art_Referencia varchar(50),
    ref_Clave varchar(2),
    ref_Pregunta varchar(2),
    eart_Clave varchar(20) not null default 'REGISTRADO',
    art_FecAlta timestamp,
    art_FecMod timestamp,
    usu_Clave varchar(30),
    art_Costo numeric(18,6) not null default 0,
    art_Importe numeric(18,6) not null default 0,
    art_Descuento numeric(18,6) not null default 0,
    art_SubTotal numeric(18,6) not null default 0,
    art_Margen numeric(18,6) not null default 0,
    art_Utilidad numeric(18,6) not null default 0,
    art_IVAPorc numeric(18,6) not null default 0,
    art_IVA numeric(18,6) not null default 0,
    art_Total numeric(18,6) not null default 0,
    art_Comision numeric(18,6) not null default 0,
    art_CostoCompra numeric(18,6) not null default 0,
    cambio_Clave varchar(30),
    mej_Clave varchar(30),
    art_ActLista varchar(2) not null default 'NO',
    art_ActOfertas varchar(2) not null default 'NO',
    art_VenderAbajoDelCosto varchar(2) not null default 'SI',
    prov_Clave varchar(30),
    prov_ClaveAct varchar(30),
    tres_Clave varchar(1),
    per_Clave varchar(30),
    cinv_Clave varchar(20) not null default 'LIBRE',
    art_Existencia numeric(18,6) not null default 0,
    art_Caduca integer not null default 0,
    cad_Clave varchar(2),
    art_Granel varchar(2) not null default 'NO',
    art_Separar varchar(1) not null default 'N',
    art_SepArt varchar(30),
    art_SepNum numeric(18,6) not null default 0,
    art_Acumular varchar(1) not null default 'N',
    art_AcumArt varchar(30),
    art_AcumNum numeric(18,6) not null default 0,
    art_Ensamble varchar(2) not null default 'NO',
    art_Transferencia varchar(1) not null default 'N'
);
create index if not exists ix_tArticulo_Nombre on tArticulo (art_Nombre);
create index if not exists ix_tArticulo_Referencia on tArticulo (art_Referencia);
create index if not exists ix_tArticulo_Departamento on tArticulo (tart_Clave);
create index if not exists ix_tArticulo_Proveedor on tArticulo (prov_Clave);
)"));
}

} // namespace db::migrations
