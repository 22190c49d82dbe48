#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

namespace {

// Inserts the row only when its key is missing: a table may already hold the store's own rows.
void asegura(Connection &c, const char *tabla, const char *columnas, const QVariantList &valores)
{
    const QString cols = QString::fromLatin1(columnas);
    const QString clave = cols.section(u',', 0, 0).trimmed();
    if (c.scalar(QStringLiteral("select count(*) from ") + QLatin1String(tabla) + QStringLiteral(" where ") + clave +
                     QStringLiteral(" = ?"),
                 {valores.first()})
            .toInt() > 0)
        return;
    QStringList marcas;
    for (qsizetype i = 0; i < valores.size(); ++i)
        marcas << QStringLiteral("?");
    c.execute(QStringLiteral("insert into ") + QLatin1String(tabla) + QStringLiteral(" (") + cols +
                  QStringLiteral(") values (") + marcas.join(u',') + u')',
              valores);
}

} // namespace

// The client record and the catalogues it names: client states, delivery kinds, payment controls
// and their periods, and the SAT's tax regimes and CFDI uses (codes as the SAT publishes them;
// fisica/moral say which kind of taxpayer may use each one).
void clientes(Connection &connection)
{
    Schema::executeDdl(connection, QStringLiteral(R"(
create table if not exists tEstadoCliente (
    edoc_Clave varchar(20) not null primary key,
    edoc_Nombre varchar(100) not null
);

create table if not exists tTipoEntrega (
    tent_Clave varchar(20) not null primary key,
    tent_Nombre varchar(100) not null
);

create table if not exists tControlPago (
    cpago_Clave varchar(20) not null primary key,
    cpago_Nombre varchar(100) not null
);

create table if not exists tPeriodoControlPago (
    percp_Clave varchar(20) not null primary key,
    percp_Nombre varchar(100) not null
);

create table if not exists tRegimenFiscal (
    regf_Clave varchar(3) not null primary key,
    regf_Nombre varchar(255) not null,
    regf_Fisica varchar(1) not null default 'S',
    regf_Moral varchar(1) not null default 'S'
);

create table if not exists tUsoCFDI (
    uso_Clave varchar(4) not null primary key,
    uso_Nombre varchar(255) not null,
    uso_Fisica varchar(1) not null default 'S',
    uso_Moral varchar(1) not null default 'S'
);

create table if not exists tCliente (
    cli_Clave varchar(20) not null primary key,
    cli_Nombre varchar(150) not null,
    cli_Descuento numeric(18,6) not null default 0,
    edoc_Clave varchar(20) references tEstadoCliente (edoc_Clave),
    cli_Calle varchar(100),
    cli_Interior varchar(20),
    cli_Exterior varchar(20),
    cli_Colonia varchar(100),
    cli_DelMun varchar(100),
    cli_Ciudad varchar(100),
    edo_Clave varchar(10),
    pais_Clave varchar(10) references tPais (pais_Clave),
    cli_Telefono1 varchar(30),
    cli_Telefono2 varchar(30),
    cli_Fax varchar(30),
    cli_email varchar(100),
    cli_Referencia varchar(255),
    cli_CP varchar(10),
    cli_RFC varchar(13),
    cli_CURP varchar(18),
    cli_NombreFis varchar(255),
    cli_CalleFis varchar(100),
    cli_InteriorFis varchar(20),
    cli_ExteriorFis varchar(20),
    cli_ColoniaFis varchar(100),
    cli_DelMunFis varchar(100),
    cli_CiudadFis varchar(100),
    edo_ClaveFis varchar(10),
    pais_ClaveFis varchar(10) references tPais (pais_Clave),
    cli_CPFis varchar(10),
    cli_Nota1 varchar(255),
    cli_Nota2 varchar(255),
    usu_ClaveVendedor varchar(20) references tUsuario (usu_Clave),
    cli_ComisionVendedor numeric(18,6) not null default 0,
    cli_Credito numeric(18,6) not null default 0,
    cli_Periodo integer not null default 0,
    per_Clave varchar(10) references tPeriodo (per_Clave),
    cpago_Clave varchar(20) references tControlPago (cpago_Clave),
    percp_Clave varchar(20) references tPeriodoControlPago (percp_Clave),
    usu_ClaveCobrador varchar(20) references tUsuario (usu_Clave),
    cli_ComisionCobrador numeric(18,6) not null default 0,
    tcli_Clave varchar(20) not null references tTipoCliente (tcli_Clave),
    tent_Clave varchar(20) default 'MOSTRADOR' references tTipoEntrega (tent_Clave),
    zona_Clave varchar(20) references tZona (zona_Clave),
    ruta_Clave varchar(20) references tRuta (ruta_Clave),
    usu_ClaveEnvio varchar(20) references tUsuario (usu_Clave),
    cli_RegimenFiscal varchar(3) references tRegimenFiscal (regf_Clave),
    cli_UsoCFDI varchar(4) references tUsoCFDI (uso_Clave),
    cli_FecAlta timestamp,
    cli_FecMod timestamp,
    foreign key (pais_Clave, edo_Clave) references tEstado (pais_Clave, edo_Clave),
    foreign key (pais_ClaveFis, edo_ClaveFis) references tEstado (pais_Clave, edo_Clave)
);
create index if not exists ix_tCliente_tcli on tCliente (tcli_Clave);
create index if not exists ix_tCliente_rfc on tCliente (cli_RFC);
)"));

    Connection &c = connection;
    asegura(c, "tEstadoCliente", "edoc_Clave, edoc_Nombre", {"ACTIVO", "Activo"});
    asegura(c, "tEstadoCliente", "edoc_Clave, edoc_Nombre", {"SUSPENDIDO", "Suspendido"});
    asegura(c, "tEstadoCliente", "edoc_Clave, edoc_Nombre", {"BAJA", "Baja"});
    asegura(c, "tTipoEntrega", "tent_Clave, tent_Nombre", {"MOSTRADOR", "Entrega en mostrador"});
    asegura(c, "tTipoEntrega", "tent_Clave, tent_Nombre", {"DOMICILIO", "Envio a domicilio"});
    asegura(c, "tControlPago", "cpago_Clave, cpago_Nombre", {"VENCIMIENTO", "Por vencimiento de cada nota"});
    asegura(c, "tControlPago", "cpago_Clave, cpago_Nombre", {"PERIODO", "Pago por periodo"});
    asegura(c, "tPeriodoControlPago", "percp_Clave, percp_Nombre", {"VENCIMIENTO", "Al vencimiento"});
    asegura(c, "tPeriodoControlPago", "percp_Clave, percp_Nombre", {"SEMANAL", "Semanal"});
    asegura(c, "tPeriodoControlPago", "percp_Clave, percp_Nombre", {"QUINCENAL", "Quincenal"});
    asegura(c, "tPeriodoControlPago", "percp_Clave, percp_Nombre", {"MENSUAL", "Mensual"});
    // Credit periods count days; the maximum/minimum periods stay as they are.
    asegura(c, "tPeriodo", "per_Clave, per_Nombre, per_Intervalo, per_MaxMin", {"DIA", "Dias", "DIA", "N"});

    struct Sat {
        const char *clave;
        const char *nombre;
        const char *fisica;
        const char *moral;
    };
    const Sat regimenes[] = {
        {"601", "General de Ley Personas Morales", "N", "S"},
        {"603", "Personas Morales con Fines no Lucrativos", "N", "S"},
        {"605", "Sueldos y Salarios e Ingresos Asimilados a Salarios", "S", "N"},
        {"606", "Arrendamiento", "S", "N"},
        {"607", "Régimen de Enajenación o Adquisición de Bienes", "S", "N"},
        {"608", "Demás ingresos", "S", "N"},
        {"610", "Residentes en el Extranjero sin Establecimiento Permanente en México", "S", "S"},
        {"611", "Ingresos por Dividendos (socios y accionistas)", "S", "N"},
        {"612", "Personas Físicas con Actividades Empresariales y Profesionales", "S", "N"},
        {"614", "Ingresos por intereses", "S", "N"},
        {"615", "Régimen de los ingresos por obtención de premios", "S", "N"},
        {"616", "Sin obligaciones fiscales", "S", "N"},
        {"620", "Sociedades Cooperativas de Producción que optan por diferir sus ingresos", "N", "S"},
        {"621", "Incorporación Fiscal", "S", "N"},
        {"622", "Actividades Agrícolas, Ganaderas, Silvícolas y Pesqueras", "N", "S"},
        {"623", "Opcional para Grupos de Sociedades", "N", "S"},
        {"624", "Coordinados", "N", "S"},
        {"625", "Régimen de las Actividades Empresariales con ingresos a través de Plataformas Tecnológicas", "S", "N"},
        {"626", "Régimen Simplificado de Confianza", "S", "S"},
    };
    for (const Sat &r : regimenes)
        asegura(c, "tRegimenFiscal", "regf_Clave, regf_Nombre, regf_Fisica, regf_Moral",
                {QLatin1String(r.clave), QString::fromUtf8(r.nombre), QLatin1String(r.fisica), QLatin1String(r.moral)});
    const Sat usos[] = {
        {"G01", "Adquisición de mercancías", "S", "S"},
        {"G02", "Devoluciones, descuentos o bonificaciones", "S", "S"},
        {"G03", "Gastos en general", "S", "S"},
        {"I01", "Construcciones", "S", "S"},
        {"I02", "Mobiliario y equipo de oficina por inversiones", "S", "S"},
        {"I03", "Equipo de transporte", "S", "S"},
        {"I04", "Equipo de computo y accesorios", "S", "S"},
        {"I05", "Dados, troqueles, moldes, matrices y herramental", "S", "S"},
        {"I06", "Comunicaciones telefónicas", "S", "S"},
        {"I07", "Comunicaciones satelitales", "S", "S"},
        {"I08", "Otra maquinaria y equipo", "S", "S"},
        {"D01", "Honorarios médicos, dentales y gastos hospitalarios", "S", "N"},
        {"D02", "Gastos médicos por incapacidad o discapacidad", "S", "N"},
        {"D03", "Gastos funerales", "S", "N"},
        {"D04", "Donativos", "S", "N"},
        {"D05", "Intereses reales efectivamente pagados por créditos hipotecarios (casa habitación)", "S", "N"},
        {"D06", "Aportaciones voluntarias al SAR", "S", "N"},
        {"D07", "Primas por seguros de gastos médicos", "S", "N"},
        {"D08", "Gastos de transportación escolar obligatoria", "S", "N"},
        {"D09", "Depósitos en cuentas para el ahorro, primas que tengan como base planes de pensiones", "S", "N"},
        {"D10", "Pagos por servicios educativos (colegiaturas)", "S", "N"},
        {"S01", "Sin efectos fiscales", "S", "S"},
        {"CP01", "Pagos", "S", "S"},
        {"CN01", "Nómina", "S", "N"},
    };
    for (const Sat &u : usos)
        asegura(c, "tUsoCFDI", "uso_Clave, uso_Nombre, uso_Fisica, uso_Moral",
                {QLatin1String(u.clave), QString::fromUtf8(u.nombre), QLatin1String(u.fisica), QLatin1String(u.moral)});
}

} // namespace db::migrations
