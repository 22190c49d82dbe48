#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// Collections: the payments received from clients (TCOBRO), the part of each one applied to each
// receivable (tCobranzaCobro) and the clients' credit notes. The receivables themselves came with
// the counter. A link refers to both of its rows, so no link names a payment or a receivable that
// does not exist.
void cobranza(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists TCOBRO (
    alm_Clave varchar(20) not null references tAlmacen (alm_Clave),
    cobro_Clave bigint not null,
    tcobro_Clave varchar(20) not null,
    cobro_Importe numeric(18,6) not null,
    banco_Clave varchar(20),
    cobro_Cheque varchar(50),
    cobro_Tarjeta varchar(50),
    cobro_FolioTarjeta varchar(50),
    moneda_Clave varchar(20),
    cobro_MonExtranjera numeric(18,6) not null default 0,
    cobro_TipoDeCambio numeric(18,6) not null default 0,
    cobro_Referencia varchar(100),
    cli_Clave varchar(20) not null references tCliente (cli_Clave),
    cobro_Fecha timestamp,
    usu_Clave varchar(20),
    primary key (alm_Clave, cobro_Clave)
);
create index if not exists ix_TCOBRO_cliente on TCOBRO (cli_Clave, alm_Clave);

create table if not exists tCobranzaCobro (
    alm_Clave varchar(20) not null,
    cob_Clave bigint not null,
    cobro_Clave bigint not null,
    ccob_Importe numeric(18,6) not null,
    ccob_Fecha timestamp not null,
    usu_Clave varchar(20),
    primary key (alm_Clave, cob_Clave, cobro_Clave),
    foreign key (alm_Clave, cob_Clave) references tCobranza (alm_Clave, cob_Clave),
    foreign key (alm_Clave, cobro_Clave) references TCOBRO (alm_Clave, cobro_Clave)
);
create index if not exists ix_tCobranzaCobro_cobro on tCobranzaCobro (alm_Clave, cobro_Clave);

create table if not exists tEstadoNotaCli (
    edonc_Clave varchar(20) primary key,
    edonc_Nombre varchar(50) not null
);
create table if not exists tNotaCliente (
    alm_Clave varchar(20) not null references tAlmacen (alm_Clave),
    notac_Clave bigint not null,
    cli_Clave varchar(20) not null references tCliente (cli_Clave),
    notac_Fecha timestamp not null,
    notac_Importe numeric(18,6) not null,
    notac_Concepto varchar(200),
    edonc_Clave varchar(20) not null default 'REGISTRADA' references tEstadoNotaCli (edonc_Clave),
    notac_FecAut timestamp,
    usu_Clave varchar(20),
    primary key (alm_Clave, notac_Clave)
);
create index if not exists ix_tNotaCliente_cliente on tNotaCliente (cli_Clave, alm_Clave, edonc_Clave);
)"));
    // A note is registered first and can be applied only once authorised.
    const QStringList estados[] = {{QStringLiteral("REGISTRADA"), QStringLiteral("REGISTRADA")},
                                   {QStringLiteral("AUTORIZADA"), QStringLiteral("AUTORIZADA")},
                                   {QStringLiteral("PAGADA"), QStringLiteral("PAGADA")},
                                   {QStringLiteral("CANCELADA"), QStringLiteral("CANCELADA")}};
    for (const QStringList &e : estados)
        if (connection
                .scalar(QStringLiteral("select count(*) from tEstadoNotaCli where edonc_Clave = ?"),
                        {e.at(0)})
                .toInt() == 0)
            connection.execute(
                QStringLiteral("insert into tEstadoNotaCli (edonc_Clave, edonc_Nombre) values (?, ?)"),
                {e.at(0), e.at(1)});
}

} // namespace db::migrations
