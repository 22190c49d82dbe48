#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// The counter: sales with their lines, payments and tax per rate, held sales, receivables created
// by credit payments, and home deliveries. A sale belongs to a cut (the cut's warehouse is part of
// its key), so a sale can never name a cut that does not exist.
void ventas(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tVenta (
    term_Clave varchar(20) not null,
    corte_Anio integer not null,
    corte_Numero integer not null,
    venta_Numero integer not null,
    venta_Folio bigint not null,
    venta_importe numeric(18,6) not null,
    venta_descuento numeric(18,6) not null default 0,
    venta_Total numeric(18,6) not null,
    usu_Clave varchar(20) not null,
    venta_Fecha timestamp not null,
    cli_Clave varchar(20) not null references tCliente (cli_Clave),
    venta_Pago numeric(18,6) not null default 0,
    venta_Cambio numeric(18,6) not null default 0,
    venta_Cantidad numeric(18,6) not null default 0,
    eventa_Clave varchar(20) not null default 'REGISTRADA',
    alm_Clave varchar(20) not null,
    venta_IVA numeric(18,6) not null default 0,
    usu_ClaveReg varchar(20) not null,
    venta_Comision numeric(18,6) not null default 0,
    tent_Clave varchar(20) not null default 'MOSTRADOR',
    venta_Servicio varchar(2) not null default 'NO',
    venta_Redondeo numeric(18,6) not null default 0,
    venta_Ticket varchar(2) not null default 'NO',
    venta_Nota varchar(2) not null default 'NO',
    venta_Factura varchar(2) not null default 'NO',
    primary key (term_Clave, corte_Anio, corte_Numero, venta_Numero),
    foreign key (alm_Clave, term_Clave, corte_Anio, corte_Numero)
        references TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero)
);
create unique index if not exists ux_tVenta_folio on tVenta (alm_Clave, venta_Folio);
create index if not exists ix_tVenta_fecha on tVenta (venta_Fecha);
create index if not exists ix_tVenta_cliente on tVenta (cli_Clave);

-- The tax of a sale per rate: base and amount in money, for invoices and reports.
create table if not exists tVentaIVA (
    term_Clave varchar(20) not null,
    corte_Anio integer not null,
    corte_Numero integer not null,
    venta_Numero integer not null,
    viva_Tasa numeric(18,6) not null,
    viva_Base numeric(18,6) not null,
    viva_Importe numeric(18,6) not null,
    primary key (term_Clave, corte_Anio, corte_Numero, venta_Numero, viva_Tasa),
    foreign key (term_Clave, corte_Anio, corte_Numero, venta_Numero)
        references tVenta (term_Clave, corte_Anio, corte_Numero, venta_Numero) on delete cascade
);

create table if not exists tVentaDetalle (
    term_Clave varchar(20) not null,
    corte_Anio integer not null,
    corte_Numero integer not null,
    venta_Numero integer not null,
    vdet_Numero integer not null,
    art_Clave varchar(30) not null, -- a commission line carries its concept, not an article
    venta_Folio bigint not null,
    art_Nombre varchar(200) not null,
    tala_Clave varchar(20),
    cola_Clave varchar(20),
    vdet_Cantidad numeric(18,6) not null,
    vdet_Importe numeric(18,6) not null,
    vdet_Descuento numeric(18,6) not null default 0,
    vdet_IVA numeric(18,6) not null default 0,
    vdet_SubTotal numeric(18,6) not null,
    vdet_Total numeric(18,6) not null,
    alm_Clave varchar(20) not null,
    eventa_Clave varchar(20) not null default 'REGISTRADA',
    vdet_anio integer not null,
    vdet_mes integer not null,
    vdet_dia integer not null,
    vdet_Referencia varchar(100),
    vdet_Fecha timestamp not null,
    vdet_Costo numeric(18,6) not null default 0,
    alma_Clave varchar(50) not null default '',
    primary key (term_Clave, corte_Anio, corte_Numero, venta_Numero, vdet_Numero),
    foreign key (term_Clave, corte_Anio, corte_Numero, venta_Numero)
        references tVenta (term_Clave, corte_Anio, corte_Numero, venta_Numero)
);
create index if not exists ix_tVentaDetalle_articulo on tVentaDetalle (art_Clave, vdet_anio, vdet_mes);
create index if not exists ix_tVentaDetalle_folio on tVentaDetalle (alm_Clave, venta_Folio);

create table if not exists tVentaPago (
    alm_Clave varchar(20) not null,
    vpago_Anio integer not null,
    vpago_Clave bigint not null,
    term_Clave varchar(20) not null,
    corte_Anio integer not null,
    corte_Numero integer not null,
    venta_Numero integer not null,
    venta_Folio bigint not null,
    tpago_Clave varchar(20) not null,
    vpago_Importe numeric(18,6) not null,
    banco_Clave varchar(20),
    vpago_Cheque varchar(50),
    vpago_Tarjeta varchar(50),
    vpago_FolioTarjeta varchar(50),
    moneda_Clave varchar(20),
    vpago_MonExtranjera numeric(18,6) not null default 0,
    vpago_TipoDeCambio numeric(18,6) not null default 0,
    vpago_Referencia varchar(100),
    evpago_Clave varchar(20) not null,
    cli_Clave varchar(20) not null references tCliente (cli_Clave),
    vpago_ReferenciaAdic varchar(100),
    primary key (alm_Clave, vpago_Anio, vpago_Clave),
    foreign key (term_Clave, corte_Anio, corte_Numero, venta_Numero)
        references tVenta (term_Clave, corte_Anio, corte_Numero, venta_Numero)
);
create index if not exists ix_tVentaPago_venta on tVentaPago (term_Clave, corte_Anio, corte_Numero, venta_Numero);
create index if not exists ix_tVentaPago_cliente on tVentaPago (cli_Clave, tpago_Clave, evpago_Clave);

create table if not exists tEstadoCobro (
    ecob_Clave varchar(20) primary key,
    ecob_Nombre varchar(50) not null
);
create table if not exists tCobranza (
    alm_Clave varchar(20) not null references tAlmacen (alm_Clave),
    cob_Clave bigint not null,
    cli_Clave varchar(20) not null references tCliente (cli_Clave),
    cob_Importe numeric(18,6) not null,
    cob_Pagado numeric(18,6) default 0,
    cob_Referencia varchar(100),
    cob_ReferenciaAdic varchar(100),
    vpago_Anio integer,
    vpago_Clave bigint,
    ecob_Clave varchar(20) not null default 'PENDIENTE' references tEstadoCobro (ecob_Clave),
    cob_FecReg timestamp not null,
    cob_FecVenc timestamp not null,
    cob_FecCob timestamp,
    primary key (alm_Clave, cob_Clave)
);
create index if not exists ix_tCobranza_cliente on tCobranza (cli_Clave, alm_Clave, ecob_Clave);

create table if not exists tVentaPendiente (
    term_Clave varchar(20) not null,
    corte_Anio integer not null,
    corte_Numero integer not null,
    venta_Numero bigint not null,
    venta_Folio bigint not null,
    venta_importe numeric(18,6) not null default 0,
    venta_descuento numeric(18,6) not null default 0,
    venta_Total numeric(18,6) not null default 0,
    usu_Clave varchar(20) not null,
    venta_Fecha timestamp not null,
    cli_Clave varchar(20) not null,
    venta_Pago numeric(18,6) not null default 0,
    venta_Cambio numeric(18,6) not null default 0,
    venta_Cantidad numeric(18,6) not null default 0,
    eventa_Clave varchar(20) not null default 'REGISTRADA',
    alm_Clave varchar(20) not null,
    primary key (term_Clave, corte_Anio, corte_Numero, venta_Numero)
);
create table if not exists tVentaPendienteDet (
    term_Clave varchar(20) not null,
    corte_Anio integer not null,
    corte_Numero integer not null,
    venta_Numero bigint not null,
    vdet_Numero integer not null,
    art_Clave varchar(30) not null,
    art_Nombre varchar(200) not null,
    tala_Clave varchar(20),
    cola_Clave varchar(20),
    vdet_Cantidad numeric(18,6) not null,
    vdet_Importe numeric(18,6) not null,
    vdet_Descuento numeric(18,6) not null default 0,
    vdet_IVA numeric(18,6) not null default 0,
    vdet_SubTotal numeric(18,6) not null,
    vdet_Total numeric(18,6) not null,
    alm_Clave varchar(20) not null,
    vdet_Referencia varchar(100),
    vdet_ModPrecio varchar(1) not null default 'N',
    vdet_TipoPrecio varchar(20) not null default 'N',
    alma_Clave varchar(50) not null default '',
    primary key (term_Clave, corte_Anio, corte_Numero, venta_Numero, vdet_Numero)
);

create table if not exists tEstadoEnvio (
    eenv_Clave varchar(20) primary key,
    eenv_Nombre varchar(50) not null
);
create table if not exists tVentaEnvio (
    alm_Clave varchar(20) not null references tAlmacen (alm_Clave),
    venv_Clave bigint not null,
    venta_Folio bigint not null,
    eenv_Clave varchar(20) not null references tEstadoEnvio (eenv_Clave),
    cli_Calle varchar(100),
    cli_Interior varchar(20),
    cli_Exterior varchar(20),
    cli_Colonia varchar(100),
    cli_DelMun varchar(100),
    cli_Ciudad varchar(100),
    edo_Clave varchar(20),
    pais_Clave varchar(20),
    cli_Telefono1 varchar(30),
    cli_Telefono2 varchar(30),
    cli_Fax varchar(30),
    cli_email varchar(100),
    cli_Referencia varchar(200),
    cli_CP varchar(10),
    venv_Comentario varchar(500),
    venv_FecPla timestamp,
    usu_ClaveEnvio varchar(20),
    primary key (alm_Clave, venv_Clave),
    foreign key (alm_Clave, venta_Folio) references tVenta (alm_Clave, venta_Folio)
);
create table if not exists tVentaEnvioSeguimiento (
    alm_Clave varchar(20) not null,
    venv_Clave bigint not null,
    vseg_Clave integer not null,
    eenv_Clave varchar(20) not null references tEstadoEnvio (eenv_Clave),
    usu_Clave varchar(20) not null,
    vseg_Fecha timestamp not null,
    primary key (alm_Clave, venv_Clave, vseg_Clave),
    foreign key (alm_Clave, venv_Clave) references tVentaEnvio (alm_Clave, venv_Clave)
);
)"));
    Schema::executeDdl(connection, QStringLiteral(R"(
alter table tPeriodo add column per_Credito varchar(1) not null default 'N';
alter table tPeriodo add column per_IntervaloSQL varchar(10);
insert into tEstadoCobro (ecob_Clave, ecob_Nombre) values
    ('PENDIENTE', 'PENDIENTE'), ('COBRO_PARCIAL', 'COBRO PARCIAL'), ('COBRADA', 'COBRADA'),
    ('CANCELADA', 'CANCELADA'), ('REGISTRADA', 'REGISTRADA'), ('AUTORIZADA', 'AUTORIZADA'),
    ('VENCIDA', 'VENCIDA');
insert into tEstadoEnvio (eenv_Clave, eenv_Nombre) values
    ('PENDIENTE', 'PENDIENTE'), ('ENVIADO', 'ENVIADO'), ('ENTREGADO', 'ENTREGADO'), ('CANCELADO', 'CANCELADO');
)"));
    // The four delivery types of a sale; a store may already hold some of them.
    const QStringList entregas[] = {{QStringLiteral("MOSTRADOR"), QStringLiteral("Entrega en mostrador")},
                                    {QStringLiteral("VENTANILLA"), QStringLiteral("Entrega en ventanilla")},
                                    {QStringLiteral("PENDIENTE"), QStringLiteral("Entrega pendiente")},
                                    {QStringLiteral("DOMICILIO"), QStringLiteral("Envio a domicilio")}};
    for (const QStringList &e : entregas)
        if (connection.scalar(QStringLiteral("select count(*) from tTipoEntrega where tent_Clave = ?"), {e.at(0)})
                .toInt() == 0)
            connection.execute(QStringLiteral("insert into tTipoEntrega (tent_Clave, tent_Nombre) values (?, ?)"),
                               {e.at(0), e.at(1)});
    // Credit terms count in days unless a store defines others: "d" is the day part of a date.
    connection.execute(QStringLiteral("update tPeriodo set per_Credito = 'S', per_IntervaloSQL = 'd' where per_Clave = 'DIA'"));
}

} // namespace db::migrations
