#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

namespace {

void siFalta(Connection &c, const QString &tabla, const QString &columnaClave, const QStringList &columnas,
             const QVariantList &valores)
{
    if (c.scalar(QStringLiteral("select count(*) from ") + tabla + QStringLiteral(" where ") + columnaClave +
                     QStringLiteral(" = ?"),
                 {valores.first()})
            .toInt() > 0)
        return;
    QStringList marcas;
    for (qsizetype i = 0; i < valores.size(); ++i)
        marcas << QStringLiteral("?");
    c.execute(QStringLiteral("insert into ") + tabla + QStringLiteral(" (") +
                  columnas.join(QStringLiteral(", ")) + QStringLiteral(") values (") +
                  marcas.join(QStringLiteral(", ")) + u')',
              valores);
}

} // namespace

// Closing a cut and the cash movements that reach payables and the bank: the count of notes and
// coins kept with the cut (so a reprint shows the same count), the concepts the closing writes,
// supplier invoices and their payments, bank accounts and their movements.
void cortesCierre(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tCorteArqueo (
    alm_Clave varchar(20) not null,
    term_Clave varchar(20) not null,
    corte_Anio integer not null,
    corte_Numero integer not null,
    deno_Clave varchar(10) not null,
    deno_Valor numeric(18,6) not null,
    deno_Nombre varchar(50) not null,
    carq_Cantidad integer not null,
    primary key (alm_Clave, term_Clave, corte_Anio, corte_Numero, deno_Clave),
    foreign key (alm_Clave, term_Clave, corte_Anio, corte_Numero)
        references TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero)
);

create table if not exists tEstadoFactura (
    edof_Clave varchar(20) primary key,
    edof_Nombre varchar(50) not null
);
create table if not exists tFactura (
    alm_Clave varchar(20) not null,
    prov_Clave varchar(30) not null references tProveedor (prov_Clave),
    fact_Clave varchar(50) not null,
    fact_Fecha timestamp,
    fact_FecPago timestamp,
    fact_Importe numeric(18,6) not null default 0,
    fact_IVA numeric(18,6) not null default 0,
    fact_Total numeric(18,6) not null default 0,
    fact_Pago numeric(18,6),
    fact_FecReg timestamp,
    fact_FecMod timestamp,
    edof_Clave varchar(20) not null references tEstadoFactura (edof_Clave),
    fact_Concepto varchar(255),
    usu_ClaveMod varchar(20),
    prog_Clave varchar(50),
    primary key (alm_Clave, prov_Clave, fact_Clave)
);
create table if not exists TPAGO (
    alm_Clave varchar(20) not null,
    pago_Clave bigint not null,
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
    prov_Clave varchar(30),
    primary key (alm_Clave, pago_Clave)
);
create table if not exists tFacturaPago (
    alm_Clave varchar(20) not null,
    prov_Clave varchar(30) not null,
    fact_Clave varchar(50) not null,
    pago_Clave bigint not null,
    fpag_Importe numeric(18,6) not null,
    fpag_Fecha timestamp not null,
    usu_Clave varchar(20) not null,
    primary key (alm_Clave, prov_Clave, fact_Clave, pago_Clave),
    foreign key (alm_Clave, prov_Clave, fact_Clave) references tFactura (alm_Clave, prov_Clave, fact_Clave),
    foreign key (alm_Clave, pago_Clave) references TPAGO (alm_Clave, pago_Clave)
);

create table if not exists tCuentaBancaria (
    ctab_Clave varchar(30) not null primary key,
    banco_Clave varchar(20) not null references tBanco (banco_Clave),
    ctab_Saldo numeric(18,6) not null default 0
);
create table if not exists tEstadoMovCuentaBancaria (
    emovcb_Clave varchar(20) primary key,
    emovcb_Nombre varchar(50) not null
);
create table if not exists tMovCuentaBancaria (
    ctab_Clave varchar(30) not null references tCuentaBancaria (ctab_Clave),
    movcb_Clave bigint not null,
    tmovcb_Clave varchar(20) not null references tTipoMovCuentaBancaria (tmovcb_Clave),
    tmovcb_Nombre varchar(100),
    movcb_Beneficiario varchar(200),
    movcb_Importe numeric(18,6) not null,
    movcb_Fecha timestamp not null,
    usu_Clave varchar(20) not null,
    movcb_Saldo numeric(18,6),
    emovcb_Clave varchar(20) not null references tEstadoMovCuentaBancaria (emovcb_Clave),
    movcb_FecApl timestamp,
    movcb_cheque varchar(50),
    cob_Clave bigint,
    prov_Clave varchar(30),
    fact_Clave varchar(50),
    pago_Clave bigint,
    cobro_Clave bigint,
    alm_Clave varchar(20),
    primary key (ctab_Clave, movcb_Clave)
);
)"));
    const QStringList edo{QStringLiteral("edof_Clave"), QStringLiteral("edof_Nombre")};
    for (const char *e :
         {"REGISTRADA", "PENDIENTE", "AUTORIZADA", "PAGO_PARCIAL", "PARCIAL", "PAGADA", "CANCELADA"})
        siFalta(connection, QStringLiteral("tEstadoFactura"), edo.first(), edo,
                {QString::fromLatin1(e), QString::fromLatin1(e).replace(u'_', u' ')});
    const QStringList emov{QStringLiteral("emovcb_Clave"), QStringLiteral("emovcb_Nombre")};
    siFalta(connection, QStringLiteral("tEstadoMovCuentaBancaria"), emov.first(), emov,
            {QStringLiteral("PENDIENTE"), QStringLiteral("PENDIENTE")});
    siFalta(connection, QStringLiteral("tEstadoMovCuentaBancaria"), emov.first(), emov,
            {QStringLiteral("APLICADO"), QStringLiteral("APLICADO")});
    // A deposit from the drawer is a bank movement of this type.
    siFalta(connection, QStringLiteral("tTipoMovCuentaBancaria"), QStringLiteral("tmovcb_Clave"),
            {QStringLiteral("tmovcb_Clave"), QStringLiteral("tmovcb_Nombre"), QStringLiteral("tdocb_Clave"),
             QStringLiteral("tmovcb_Signo")},
            {QStringLiteral("DEPOSITO"), QStringLiteral("Deposito en efectivo"), QStringLiteral("DEPOSITO"),
             QStringLiteral("+")});
    // The closing writes the cut's sales and returns as movements of these concepts; their signs
    // put them on the right side when a closed cut is read back.
    const QStringList con{QStringLiteral("concepto_Clave"), QStringLiteral("concepto_Nombre"),
                          QStringLiteral("tconcepto_Clave"), QStringLiteral("concepto_Signo")};
    siFalta(
        connection, QStringLiteral("tConcepto"), con.first(), con,
        {QStringLiteral("VENTAS"), QStringLiteral("VENTAS"), QStringLiteral("INGRESO"), QStringLiteral("+")});
    siFalta(connection, QStringLiteral("tConcepto"), con.first(), con,
            {QStringLiteral("DEVOLUCIONES"), QStringLiteral("DEVOLUCIONES"), QStringLiteral("GASTO"),
             QStringLiteral("-")});

    // Closing another terminal's cut, seeing the expected total and closing with a difference
    // relax the blind count: on upgrade they go to the supervisors (who may sell over the credit
    // limit), not to every cashier.
    for (const char *d :
         {"frmCorteFin_CambiarTerminal", "frmCorteFin_VerTotal", "frmCorteFin_CerrarSinCapturar"})
        connection.execute(
            QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) select s.perf_Clave, ? "
                           "from tSeguridad s where s.mod_Clave = 'frmVenta_SobreGiro' and not exists "
                           "(select 1 from tSeguridad t where t.perf_Clave = s.perf_Clave and "
                           "t.mod_Clave = ?)"),
            {QString::fromLatin1(d), QString::fromLatin1(d)});
}

} // namespace db::migrations
