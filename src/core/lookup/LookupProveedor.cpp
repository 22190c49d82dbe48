#include "LookupProveedor.h"

LookupDefinition LookupProveedor::definicion(bool soloEdi)
{
    LookupDefinition d;
    d.title = QStringLiteral("Consulta de Proveedores");
    d.table = QStringLiteral("tProveedor");
    d.selectList = QStringLiteral("prov_Clave, prov_Nombre, prov_Abreviatura, prov_RFC, prov_Tel1, tpag_Clave");
    d.order = QStringLiteral("prov_Nombre");
    d.maintenanceWindow = QStringLiteral("frmProveedor");
    if (soloEdi) {
        d.filter = QStringLiteral("prov_EDI = ?");
        d.filterParams = {QStringLiteral("S")};
    }
    d.searchFields = {
        {QStringLiteral("Nombre"), QStringLiteral("prov_Nombre"), LookupField::Texto, {}, {}},
        {QStringLiteral("Clave"), QStringLiteral("prov_Clave"), LookupField::Texto, {}, {}},
        {QStringLiteral("Abreviatura"), QStringLiteral("prov_Abreviatura"), LookupField::Texto, {}, {}},
        {QStringLiteral("RFC"), QStringLiteral("prov_RFC"), LookupField::Texto, {}, {}},
    };
    d.columns = {
        {QStringLiteral("Clave"), QLatin1Char('?'), 90},        {QStringLiteral("Nombre"), QLatin1Char('?'), 280},
        {QStringLiteral("Abreviatura"), QLatin1Char('?'), 100}, {QStringLiteral("RFC"), QLatin1Char('?'), 120},
        {QStringLiteral("Telefono"), QLatin1Char('?'), 110},    {QStringLiteral("Forma de pago"), QLatin1Char('?'), 100},
    };
    d.keyColumn = 0;
    d.nameColumn = 1;
    return d;
}
