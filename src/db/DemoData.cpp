#include "DemoData.h"

#include "Connection.h"
#include "DemoDataArticulos.h"
#include "DemoDataCatalogos.h"
#include "DemoDataClientes.h"
#include "DemoDataCobranza.h"
#include "DemoDataProveedores.h"
#include "DemoDataCodigo.h"
#include "DemoDataConsultas.h"
#include "DemoDataReportes.h"
#include "DemoDataSeguridad.h"
#include "Transaction.h"

namespace db {

namespace {

// Inserts the row only when its key is not there yet.
void ensure(Connection &c, const QString &table, const QStringList &keyColumns, const QStringList &columns,
            const QVariantList &values)
{
    QStringList conditions;
    QVariantList keyValues;
    for (const QString &k : keyColumns) {
        conditions.append(k + QStringLiteral(" = ?"));
        keyValues.append(values.at(columns.indexOf(k)));
    }
    const QString where = conditions.join(QLatin1String(" and "));
    if (c.scalar(QStringLiteral("select count(*) from ") + table + QStringLiteral(" where ") + where, keyValues)
            .toInt() > 0)
        return;
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks.append(QStringLiteral("?"));
    c.execute(QStringLiteral("insert into ") + table + QStringLiteral(" (") + columns.join(u',') +
                  QStringLiteral(") values (") + marks.join(u',') + u')',
              values);
}

void parametro(Connection &c, const QString &tipo, const QString &clave, const QString &nombre, const QString &valor)
{
    ensure(c, QStringLiteral("tParametro"), {QStringLiteral("param_Tipo"), QStringLiteral("param_Clave")},
           {QStringLiteral("param_Tipo"), QStringLiteral("param_Clave"), QStringLiteral("param_Nombre"),
            QStringLiteral("param_Valor")},
           {tipo, clave, nombre, valor});
}

} // namespace

void DemoData::populate(Connection &c)
{
    Transaction tx(c);
    ensure(c, QStringLiteral("tAlmacen"), {QStringLiteral("alm_Clave")},
           {QStringLiteral("alm_Clave"), QStringLiteral("alm_Nombre"), QStringLiteral("alm_Direccion"),
            QStringLiteral("alm_Telefono"), QStringLiteral("alm_Activo")},
           {"MATRIZ", "Farmacia La Esperanza - Matriz", "Av. Juárez 123, Col. Centro, Guadalajara, Jal.",
            "33 3612 4578", "S"});
    ensure(c, QStringLiteral("tTerminal"), {QStringLiteral("term_Clave")},
           {QStringLiteral("term_Clave"), QStringLiteral("term_Nombre"), QStringLiteral("alm_Clave")},
           {"TERMINAL1", "Caja 1", "MATRIZ"});
    ensure(c, QStringLiteral("tSucursal"), {QStringLiteral("suc_Clave")},
           {QStringLiteral("suc_Clave"), QStringLiteral("suc_Nombre"), QStringLiteral("suc_Matriz"),
            QStringLiteral("alm_Clave"), QStringLiteral("suc_DSN"), QStringLiteral("suc_User"),
            QStringLiteral("suc_Psw"), QStringLiteral("usu_Clave"), QStringLiteral("usu_Psw")},
           {"MATRIZ", "Matriz Guadalajara", "S", "MATRIZ", "", "", "", "ADMIN", ""});

    // Receipt header and footer: one printed line per row, in key order.
    const QStringList header = {
        QStringLiteral("FARMACIA LA ESPERANZA"),
        QStringLiteral("Farmacias La Esperanza, S.A. de C.V."),
        QStringLiteral("RFC: FES090511AB3"),
        QStringLiteral("Av. Juárez 123, Col. Centro"),
        QStringLiteral("C.P. 44100, Guadalajara, Jalisco"),
        QStringLiteral("Tel. 33 3612 4578"),
    };
    const QStringList footer = {
        QStringLiteral("GRACIAS POR SU COMPRA"),
        QStringLiteral("Precios con IVA incluido"),
        QStringLiteral("Cambios y devoluciones dentro de 7 días con su ticket"),
        QStringLiteral("Lo esperamos pronto"),
    };
    const QStringList messages = {
        QStringLiteral("Bienvenido a Farmacia La Esperanza"),
        QStringLiteral("Pregunte por nuestras ofertas del día"),
        QStringLiteral("Recuerde ofrecer tiempo aire"),
        QStringLiteral("Solicite su factura el mismo mes de su compra"),
    };
    const auto lines = [&](const QString &tipo, const QString &nombre, const QStringList &values) {
        for (int i = 0; i < values.size(); ++i)
            parametro(c, tipo, QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0')),
                      nombre + QStringLiteral(" %1").arg(i + 1), values[i]);
    };
    lines(QStringLiteral("RECINICIO"), QStringLiteral("Encabezado"), header);
    lines(QStringLiteral("RECFIN"), QStringLiteral("Pie"), footer);
    lines(QStringLiteral("MSGVENTA"), QStringLiteral("Mensaje"), messages);
    populateDemoSeguridad(c);
    populateDemoCatalogos(c);
    populateDemoArticulos(c);
    populateDemoClientes(c);
    populateDemoProveedores(c);
    populateDemoCobranza(c);
    populateDemoCodigo(c);
    populateDemoConsultas(c);
    populateDemoReportes(c);
    tx.commit();
}

} // namespace db
