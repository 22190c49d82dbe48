#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// Price rows, price-change methods, client-type concepts, assemblies, sizes/colours/models,
// maximum/minimum levels and the stock rows the article editor totals. Detail rows of an article
// go with it (on delete cascade); keys of catalogues stay free as in tArticulo.
void precios(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tCambioPrecio (
    cambio_Clave varchar(30) not null primary key,
    cambio_Nombre varchar(100) not null
);

create table if not exists tMejoraPrecio (
    mej_Clave varchar(30) not null primary key,
    mej_Nombre varchar(100) not null
);

create table if not exists tControlInventario (
    cinv_Clave varchar(20) not null primary key,
    cinv_Nombre varchar(100) not null
);

create table if not exists tArticuloPrecio (
    art_Clave varchar(30) not null references tArticulo (art_Clave) on delete cascade,
    tprecio_Clave varchar(10) not null,
    precio_Clave integer not null,
    cambio_Clave varchar(30),
    art_Costo numeric(18,6) not null default 0,
    precio_Importe numeric(18,6) not null default 0,
    precio_Descuento numeric(18,6) not null default 0,
    precio_SubTotal numeric(18,6) not null default 0,
    precio_Margen numeric(18,6) not null default 0,
    precio_Utilidad numeric(18,6) not null default 0,
    precio_IVA numeric(18,6) not null default 0,
    precio_IVAPorc numeric(18,6) not null default 0,
    precio_Total numeric(18,6) not null default 0,
    PRECIO_FECINI timestamp,
    PRECIO_FECFIN timestamp,
    precio_Cantidad numeric(18,6) not null default 0,
    precio_Vendidas numeric(18,6) not null default 0,
    primary key (art_Clave, tprecio_Clave, precio_Clave)
);

create table if not exists tTipoClienteConcepto (
    tcontrol_Clave varchar(20) not null references tTipoControlPrecio (tcontrol_Clave),
    tcli_Clave varchar(20) not null references tTipoCliente (tcli_Clave) on delete cascade,
    tcc_Clave varchar(30) not null,
    cambio_Clave varchar(30) not null,
    tcc_Valor numeric(18,6) not null default 0,
    primary key (tcontrol_Clave, tcli_Clave, tcc_Clave)
);

create table if not exists tArticuloEnsamble (
    art_Clave varchar(30) not null references tArticulo (art_Clave) on delete cascade,
    esa_Clave varchar(30) not null,
    esa_Cantidad numeric(18,6) not null default 1,
    primary key (art_Clave, esa_Clave)
);

create table if not exists tArticuloCodigo (
    acod_Codigo varchar(30) not null primary key,
    art_Clave varchar(30) not null references tArticulo (art_Clave) on delete cascade
);
create index if not exists ix_tArticuloCodigo_art on tArticuloCodigo (art_Clave);

create table if not exists tTalla (
    tala_Clave varchar(20) not null primary key,
    tala_Nombre varchar(100) not null
);
create table if not exists tColor (
    cola_Clave varchar(20) not null primary key,
    cola_Nombre varchar(100) not null
);
create table if not exists tModelo (
    moda_Clave varchar(20) not null primary key,
    moda_Nombre varchar(100) not null
);
create table if not exists tTallaArticulo (
    art_Clave varchar(30) not null references tArticulo (art_Clave) on delete cascade,
    tala_Clave varchar(20) not null references tTalla (tala_Clave),
    primary key (art_Clave, tala_Clave)
);
create table if not exists tColorArticulo (
    art_Clave varchar(30) not null references tArticulo (art_Clave) on delete cascade,
    cola_Clave varchar(20) not null references tColor (cola_Clave),
    primary key (art_Clave, cola_Clave)
);
create table if not exists tModeloArticulo (
    art_Clave varchar(30) not null references tArticulo (art_Clave) on delete cascade,
    moda_Clave varchar(20) not null references tModelo (moda_Clave),
    primary key (art_Clave, moda_Clave)
);

create table if not exists tPeriodo (
    per_Clave varchar(10) not null primary key,
    per_Nombre varchar(100) not null,
    per_Intervalo varchar(10),
    per_MaxMin varchar(1) not null default 'N'
);
create table if not exists tPeriodoDetalle (
    per_Clave varchar(10) not null references tPeriodo (per_Clave),
    perd_Clave varchar(10) not null,
    perd_Nombre varchar(100) not null,
    perd_Orden integer not null,
    primary key (per_Clave, perd_Clave)
);
create table if not exists tArticuloMaxMin (
    alm_Clave varchar(20) not null,
    art_Clave varchar(30) not null references tArticulo (art_Clave) on delete cascade,
    tala_Clave varchar(20) not null default '',
    cola_Clave varchar(20) not null default '',
    per_Clave varchar(10) not null,
    perd_Clave varchar(10) not null,
    amm_Minimo numeric(18,6) not null default 0,
    amm_ReOrden numeric(18,6) not null default 0,
    amm_Maximo numeric(18,6) not null default 0,
    primary key (alm_Clave, art_Clave, tala_Clave, cola_Clave, per_Clave, perd_Clave)
);

create table if not exists tArticuloAlmacen (
    alm_Clave varchar(20) not null,
    art_Clave varchar(30) not null references tArticulo (art_Clave),
    alma_Clave varchar(50) not null default '',
    alma_Existencia numeric(18,6) not null default 0,
    primary key (alm_Clave, art_Clave, alma_Clave)
);
create index if not exists ix_tArticuloAlmacen_art on tArticuloAlmacen (art_Clave);
)"));

    const auto seed = [&](const char *table, const char *columns, const QList<QVariantList> &rows) {
        for (const QVariantList &values : rows) {
            QStringList marks;
            for (qsizetype i = 0; i < values.size(); ++i)
                marks << QStringLiteral("?");
            connection.execute(QStringLiteral("insert into ") + QLatin1String(table) + QStringLiteral(" (") +
                                   QLatin1String(columns) + QStringLiteral(") values (") + marks.join(u',') + u')',
                               values);
        }
    };
    // The methods the price calculation knows; others are the stores' own, with a script each.
    seed("tCambioPrecio", "cambio_Clave, cambio_Nombre",
         {{"FIJO", "Precio fijo"},
          {"PUBLICO", "Precio publico con descuento"},
          {"MARGEN", "Margen sobre el costo"},
          {"UTILIDAD", "Porcentaje de utilidad sobre el costo"},
          {"FINANCIERO", "Utilidad con descuento sobre el publico"}});
    seed("tMejoraPrecio", "mej_Clave, mej_Nombre", {{"SI", "Buscar el mejor costo"}, {"NO", "Proveedor preferente"}});
    seed("tControlInventario", "cinv_Clave, cinv_Nombre",
         {{"NINGUNO", "Sin control de existencia"},
          {"LIBRE", "Existencia libre"},
          {"EXISTENCIA", "Existencia controlada"},
          {"LOTE", "Por lote"},
          {"SERIE", "Por numero de serie"}});
    seed("tPeriodo", "per_Clave, per_Nombre, per_Intervalo, per_MaxMin",
         {{"MES", "Mensual", "MES", "S"},
          {"BIM", "Bimestral", "MES", "S"},
          {"TRI", "Trimestral", "MES", "S"},
          {"SEM", "Semestral", "MES", "S"},
          {"ANIO", "Anual", "MES", "S"}});
    static const char *meses[] = {"Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
                                  "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    QList<QVariantList> detalle;
    for (int m = 1; m <= 12; ++m)
        detalle.append({"MES", QString::number(m), QString::fromLatin1(meses[m - 1]), m});
    static const char *bimestres[] = {"Enero-Febrero", "Marzo-Abril", "Mayo-Junio",
                                      "Julio-Agosto",  "Septiembre-Octubre", "Noviembre-Diciembre"};
    for (int b = 1; b <= 6; ++b)
        detalle.append({"BIM", QString::number(b), QString::fromLatin1(bimestres[b - 1]), b});
    for (int t = 1; t <= 4; ++t)
        detalle.append({"TRI", QString::number(t), QStringLiteral("Trimestre %1").arg(t), t});
    detalle.append({"SEM", "1", "Primer semestre", 1});
    detalle.append({"SEM", "2", "Segundo semestre", 2});
    detalle.append({"ANIO", "1", "Todo el año", 1});
    seed("tPeriodoDetalle", "per_Clave, perd_Clave, perd_Nombre, perd_Orden", detalle);
}

} // namespace db::migrations
