#include "DemoDataClientes.h"

#include "Connection.h"

#include <QStringList>

namespace db {

namespace {

struct Cliente {
    const char *clave;
    const char *nombre;
    const char *tipo;
    const char *descuento;
    const char *credito;
    int plazo;
    const char *rfc;
    const char *curp;
    const char *regimen;
    const char *uso;
    const char *calle;
    const char *exterior;
    const char *colonia;
    const char *cp;
    const char *telefono;
    const char *zona;
    const char *ruta;
    const char *entrega;
};

} // namespace

void populateDemoClientes(Connection &c)
{
    if (!c.tableExists(QStringLiteral("tCliente")))
        return;
    // RFCs with their check digit right: the persons' from their names and birth dates, the
    // companies' from their initials and foundation dates.
    const Cliente clientes[] = {
        {"SYS", "PUBLICO EN GENERAL", "SYS", "0", "0", 0, "XAXX010101000", "", "616", "S01", "Av. Juárez", "123",
         "Centro", "44100", "", "", "", "MOSTRADOR"},
        {"C0001", "MARIA GUADALUPE HERNANDEZ LOPEZ", "SYS", "0", "0", 0, "HELG850312K4A", "HELG850312MJCRPD08", "605",
         "G03", "Calle Morelos", "845", "Americana", "44160", "33 3825 1190", "CENTRO", "R01", "MOSTRADOR"},
        {"C0002", "JUAN CARLOS RAMIREZ SOTO", "EMPLEADO", "10", "2000", 15, "RASJ790805TU5", "RASJ790805HJCMTN09",
         "605", "G03", "Av. Vallarta", "2210", "Arcos Vallarta", "44130", "33 3615 4420", "PONIENTE", "R02",
         "MOSTRADOR"},
        {"C0003", "ABARROTES EL GIRASOL SA DE CV", "CREDITO", "0", "10000", 30, "AGI090512M73", "", "601", "G01",
         "Calzada Independencia Sur", "1520", "San Juan de Dios", "44360", "33 3617 8035", "ORIENTE", "R03",
         "DOMICILIO"},
        {"C0004", "CLINICA SAN RAFAEL SC", "INSTITUCION", "5", "50000", 30, "CSR950220H36", "", "603", "G03",
         "Av. Patria", "1650", "Jardines Universidad", "45110", "33 3673 9021", "PONIENTE", "R04", "DOMICILIO"},
        {"C0005", "ROSA ELENA TORRES MEDINA", "CREDITO", "0", "10000", 30, "TOMR880117P5A", "", "626", "G03",
         "Calle Hidalgo", "77", "Centro", "45500", "33 3635 1288", "SUR", "R03", "DOMICILIO"},
    };
    const QString existe = QStringLiteral("select count(*) from tCliente where cli_Clave = ?");
    const QString inserta = QStringLiteral(
        "insert into tCliente (cli_Clave, cli_Nombre, cli_Descuento, edoc_Clave, cli_Calle, cli_Exterior, cli_Colonia, "
        "cli_Ciudad, edo_Clave, pais_Clave, cli_Telefono1, cli_CP, cli_RFC, cli_CURP, cli_NombreFis, cli_CalleFis, "
        "cli_ExteriorFis, cli_ColoniaFis, cli_CiudadFis, edo_ClaveFis, pais_ClaveFis, cli_CPFis, cli_Credito, "
        "cli_Periodo, per_Clave, cpago_Clave, percp_Clave, tcli_Clave, tent_Clave, zona_Clave, ruta_Clave, "
        "cli_RegimenFiscal, cli_UsoCFDI, cli_FecAlta, cli_FecMod) values (?, ?, ?, 'ACTIVO', ?, ?, ?, 'Guadalajara', "
        "'JAL', 'MEX', ?, ?, ?, ?, ?, ?, ?, ?, 'Guadalajara', 'JAL', 'MEX', ?, ?, ?, 'DIA', 'VENCIMIENTO', "
        "'VENCIMIENTO', ?, ?, ?, ?, ?, ?, getdate(), getdate())");
    const auto nulo = [](const char *t) {
        return *t ? QVariant(QString::fromUtf8(t)) : QVariant(QMetaType(QMetaType::QString));
    };
    for (const Cliente &k : clientes) {
        if (c.scalar(existe, {QLatin1String(k.clave)}).toInt() > 0)
            continue;
        const QString nombre = QString::fromUtf8(k.nombre);
        c.execute(inserta, {QLatin1String(k.clave), nombre, QLatin1String(k.descuento), QString::fromUtf8(k.calle),
                            QLatin1String(k.exterior), QString::fromUtf8(k.colonia), nulo(k.telefono),
                            QLatin1String(k.cp), QLatin1String(k.rfc), nulo(k.curp), nombre,
                            QString::fromUtf8(k.calle), QLatin1String(k.exterior), QString::fromUtf8(k.colonia),
                            QLatin1String(k.cp), QLatin1String(k.credito), k.plazo, QLatin1String(k.tipo),
                            QLatin1String(k.entrega), nulo(k.zona), nulo(k.ruta), QLatin1String(k.regimen),
                            QLatin1String(k.uso)});
    }
}

} // namespace db
