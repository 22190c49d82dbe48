#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

namespace {

// Rows the program's own logic branches on: every store needs them, demo or not.
struct Row {
    const char *table;
    const char *columns;
    QVariantList values;
};

void seed(Connection &c, const QList<Row> &rows)
{
    for (const Row &r : rows) {
        QStringList marks;
        for (qsizetype i = 0; i < r.values.size(); ++i)
            marks << QStringLiteral("?");
        c.execute(QStringLiteral("insert into ") + QLatin1String(r.table) + QStringLiteral(" (") +
                      QLatin1String(r.columns) + QStringLiteral(") values (") + marks.join(u',') + u')',
                  r.values);
    }
}

} // namespace

// The small catalogues: places, banks, article classification, payment and cash kinds,
// deliveries, staff and pharmacy keys. Detail tables refer to their parents, so the database
// itself refuses a row whose parent is missing or the removal of a parent still in use.
void catalogos(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tPais (
    pais_Clave varchar(10) not null primary key,
    pais_Nombre varchar(100) not null
);

create table if not exists tEstado (
    pais_Clave varchar(10) not null references tPais (pais_Clave),
    edo_Clave varchar(10) not null,
    edo_Nombre varchar(100) not null,
    primary key (pais_Clave, edo_Clave)
);

create table if not exists tBanco (
    banco_Clave varchar(20) not null primary key,
    banco_Nombre varchar(100) not null
);

create table if not exists tMedida (
    med_Clave varchar(10) not null primary key,
    med_Nombre varchar(100) not null
);

create table if not exists tFabricante (
    fab_Clave varchar(20) not null primary key,
    fab_Nombre varchar(100) not null
);

create table if not exists tFamilia (
    fam_Clave varchar(20) not null primary key,
    fam_Nombre varchar(100) not null
);

create table if not exists tTipoArticulo (
    tart_Clave varchar(20) not null primary key,
    tart_Nombre varchar(100) not null
);

create table if not exists tSubTipo (
    sub_Clave varchar(20) not null primary key,
    sub_Nombre varchar(100) not null,
    tart_Clave varchar(20) not null references tTipoArticulo (tart_Clave)
);
create index if not exists ix_tSubTipo_tart on tSubTipo (tart_Clave);

create table if not exists tSSA (
    ssa_Clave varchar(20) not null primary key,
    ssa_Nombre varchar(255) not null
);

create table if not exists tTipoPago (
    tpago_Clave varchar(20) not null primary key,
    tpago_Nombre varchar(100) not null
);

create table if not exists tMoneda (
    moneda_Clave varchar(10) not null primary key,
    moneda_Nombre varchar(100) not null
);

create table if not exists tTipoConcepto (
    tconcepto_Clave varchar(20) not null primary key,
    tconcepto_Nombre varchar(100) not null
);

create table if not exists tConcepto (
    concepto_Clave varchar(20) not null primary key,
    concepto_Nombre varchar(100) not null,
    tconcepto_Clave varchar(20) references tTipoConcepto (tconcepto_Clave),
    concepto_Signo varchar(1) not null default '+'
);

create table if not exists tDenominacion (
    deno_Clave varchar(10) not null primary key,
    deno_Valor numeric(18,6) not null,
    deno_Nombre varchar(50) not null
);

create table if not exists tZona (
    zona_Clave varchar(20) not null primary key,
    zona_Nombre varchar(100) not null
);

create table if not exists tRuta (
    ruta_Clave varchar(20) not null primary key,
    ruta_Nombre varchar(100) not null
);

create table if not exists tEstadoCivil (
    ecivil_Clave varchar(20) not null primary key,
    ecivil_Nombre varchar(100) not null
);

create table if not exists tIdentificacion (
    id_Clave varchar(20) not null primary key,
    id_Nombre varchar(100) not null
);

create table if not exists tTipoMovAlmacen (
    tmova_Clave varchar(20) not null primary key,
    tmova_Nombre varchar(100) not null,
    tmova_Entrada varchar(1) not null default 'N',
    tmova_Salida varchar(1) not null default 'N'
);

create table if not exists tTipoDocumentoBancario (
    tdocb_Clave varchar(20) not null primary key,
    tdocb_Nombre varchar(100) not null
);

create table if not exists tTipoMovCuentaBancaria (
    tmovcb_Clave varchar(20) not null primary key,
    tmovcb_Nombre varchar(100) not null,
    tdocb_Clave varchar(20) references tTipoDocumentoBancario (tdocb_Clave),
    tmovcb_Signo varchar(1) not null default '+'
);

create table if not exists tTipoControlPrecio (
    tcontrol_Clave varchar(20) not null primary key,
    tcontrol_Nombre varchar(100) not null,
    tcontrol_Orden integer not null
);

create table if not exists tTipoCliente (
    tcli_Clave varchar(20) not null primary key,
    tcli_Nombre varchar(100) not null,
    tcli_Descuento numeric(18,6) default 0,
    tcontrol_Clave varchar(20) references tTipoControlPrecio (tcontrol_Clave),
    tcli_Lista integer,
    tcli_Ticket varchar(2) default 'SI',
    tcli_Nota varchar(2) default 'NO',
    tcli_Factura varchar(2) default 'NO',
    tcli_AcumularArticulos varchar(1) default 'S',
    tcli_RedondeoVenta varchar(1) default 'N',
    tcli_RedondeoVentaCantidad numeric(18,6) default 0,
    tcli_RedondeoVentaImporteMedio varchar(1) default 'S',
    tcli_RedondeoArticulo varchar(1) default 'N',
    tcli_RedondeoArticuloCantidad numeric(18,6) default 0,
    tcli_RedondeoArticuloImporteMedio varchar(1) default 'S',
    tcli_Periodo integer default 0,
    per_Clave varchar(20),
    tcli_Credito numeric(18,6) default 0,
    cpago_Clave varchar(20),
    percp_Clave varchar(20)
);

create table if not exists tTipoClienteTipoPago (
    tcli_Clave varchar(20) not null references tTipoCliente (tcli_Clave),
    tpago_Clave varchar(20) not null references tTipoPago (tpago_Clave),
    primary key (tcli_Clave, tpago_Clave)
);

create table if not exists tTipoEDI (
    tedi_Clave varchar(20) not null primary key,
    tedi_Nombre varchar(100) not null,
    tedi_Orden integer
);

create table if not exists tTipoDocumento (
    tdoc_Clave varchar(20) not null primary key,
    tdoc_Nombre varchar(100) not null,
    obj_Clave numeric(18,0) references tObjeto (obj_Clave)
);

create table if not exists tTipoPaciente (
    tpac_Clave varchar(20) not null primary key,
    tpac_Nombre varchar(100) not null,
    tpac_PorOmision varchar(1) not null default 'N'
);
)"));

    seed(connection,
         {
             {"tTipoControlPrecio", "tcontrol_Clave, tcontrol_Nombre, tcontrol_Orden", {"ARTICULO", "Por articulo", 1}},
             {"tTipoControlPrecio", "tcontrol_Clave, tcontrol_Nombre, tcontrol_Orden",
              {"DEPARTAMENTO", "Por departamento", 2}},
             {"tTipoControlPrecio", "tcontrol_Clave, tcontrol_Nombre, tcontrol_Orden", {"FAMILIA", "Por familia", 3}},
             {"tTipoControlPrecio", "tcontrol_Clave, tcontrol_Nombre, tcontrol_Orden",
              {"LISTA", "Por lista de precios", 4}},
             {"tTipoConcepto", "tconcepto_Clave, tconcepto_Nombre", {"INGRESO", "Ingreso"}},
             {"tTipoConcepto", "tconcepto_Clave, tconcepto_Nombre", {"GASTO", "Gasto"}},
             {"tTipoConcepto", "tconcepto_Clave, tconcepto_Nombre", {"FACTURA", "Pago de factura"}},
             {"tTipoConcepto", "tconcepto_Clave, tconcepto_Nombre", {"TESORERIA", "Tesoreria"}},
             {"tConcepto", "concepto_Clave, concepto_Nombre, tconcepto_Clave, concepto_Signo",
              {"EFEC_APORTACION", "IMPORTE INICIAL", "INGRESO", "+"}},
             {"tTipoDocumentoBancario", "tdocb_Clave, tdocb_Nombre", {"CHEQUE", "Cheque"}},
             {"tTipoDocumentoBancario", "tdocb_Clave, tdocb_Nombre", {"FACTURA", "Pago de factura"}},
             {"tTipoDocumentoBancario", "tdocb_Clave, tdocb_Nombre", {"ADEUDO", "Cobro de adeudo"}},
             {"tTipoDocumentoBancario", "tdocb_Clave, tdocb_Nombre", {"DEPOSITO", "Deposito"}},
             {"tTipoDocumentoBancario", "tdocb_Clave, tdocb_Nombre", {"TRANSFERENCIA", "Transferencia"}},
             {"tTipoPago", "tpago_Clave, tpago_Nombre", {"EFECTIVO", "Efectivo"}},
             {"tTipoPago", "tpago_Clave, tpago_Nombre", {"CHEQUE", "Cheque"}},
             {"tTipoPago", "tpago_Clave, tpago_Nombre", {"TARJETA", "Tarjeta de credito o debito"}},
             {"tTipoPago", "tpago_Clave, tpago_Nombre", {"EXTRANJERA", "Moneda extranjera"}},
             {"tTipoPago", "tpago_Clave, tpago_Nombre", {"CREDITO", "Credito"}},
             {"tMoneda", "moneda_Clave, moneda_Nombre", {"MXN", "Peso mexicano"}},
             {"tTipoMovAlmacen", "tmova_Clave, tmova_Nombre, tmova_Entrada, tmova_Salida",
              {"ENSAMBLE", "Ensamble de paquetes", "S", "N"}},
             {"tTipoMovAlmacen", "tmova_Clave, tmova_Nombre, tmova_Entrada, tmova_Salida",
              {"DESENSAMBLE", "Desensamble de paquetes", "N", "S"}},
             {"tTipoMovAlmacen", "tmova_Clave, tmova_Nombre, tmova_Entrada, tmova_Salida",
              {"TRASPASO", "Traspaso entre almacenes", "N", "S"}},
             {"tTipoMovAlmacen", "tmova_Clave, tmova_Nombre, tmova_Entrada, tmova_Salida",
              {"CAMBIOS", "Cambio de articulo", "N", "S"}},
             {"tTipoMovAlmacen", "tmova_Clave, tmova_Nombre, tmova_Entrada, tmova_Salida",
              {"INTERSUCURSAL", "Envio a sucursal", "N", "S"}},
             {"tTipoCliente", "tcli_Clave, tcli_Nombre, tcontrol_Clave", {"SYS", "Publico en general", "ARTICULO"}},
         });
    // The default client type pays in any of the built-in kinds.
    connection.execute(QStringLiteral("insert into tTipoClienteTipoPago (tcli_Clave, tpago_Clave) "
                                      "select 'SYS', tpago_Clave from tTipoPago"));
}

} // namespace db::migrations
