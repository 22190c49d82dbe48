#include "LookupCliente.h"

LookupDefinition LookupCliente::definicion(bool soloActivos)
{
    LookupDefinition d;
    d.title = QStringLiteral("Consulta de Clientes");
    d.table = QStringLiteral("tCliente");
    d.selectList = QStringLiteral("cli_Clave, cli_Nombre, cli_RFC, cli_Telefono1, tcli_Clave, edoc_Clave");
    d.order = QStringLiteral("cli_Nombre");
    d.maintenanceWindow = QStringLiteral("frmCliente");
    if (soloActivos) {
        d.filter = QStringLiteral("(edoc_Clave = ? or edoc_Clave is null)");
        d.filterParams = {QStringLiteral("ACTIVO")};
    }
    d.searchFields = {
        {QStringLiteral("Nombre"), QStringLiteral("cli_Nombre")},
        {QStringLiteral("Clave"), QStringLiteral("cli_Clave")},
        {QStringLiteral("RFC"), QStringLiteral("cli_RFC")},
        {QStringLiteral("Telefono"), QStringLiteral("cli_Telefono1")},
    };
    d.columns = {
        {QStringLiteral("Clave"), QLatin1Char('?'), 90},  {QStringLiteral("Nombre"), QLatin1Char('?'), 280},
        {QStringLiteral("RFC"), QLatin1Char('?'), 120},   {QStringLiteral("Telefono"), QLatin1Char('?'), 110},
        {QStringLiteral("Tipo"), QLatin1Char('?'), 90},   {QStringLiteral("Estado"), QLatin1Char('?'), 90},
    };
    d.keyColumn = 0;
    d.nameColumn = 1;
    return d;
}
