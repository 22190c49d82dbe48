#include "DemoDataProveedores.h"

#include "Connection.h"
#include "Decimal.h"

#include <QStringList>

namespace db {

namespace {

struct Proveedor {
    const char *clave;
    const char *abreviatura;
    const char *nombre;
    const char *rfc;
    const char *regimen;
    const char *domicilio;
    const char *ciudad;
    const char *cp;
    const char *telefono;
    const char *agente;
    const char *pago;
    int plazo;
    const char *banco;
    const char *cuenta;
    const char *credito;
    const char *edi;
    const char *codigoCliente; // the store's customer code at the supplier
    const char *reqPedido;
    const char *valCantidad;
    const char *tolerancia;
    int preferencia;
    int dias;
    int diasMax;
    const char *departamentos; // comma-separated tart_Clave
};

} // namespace

void populateDemoProveedores(Connection &c)
{
    if (!c.tableExists(QStringLiteral("tProveedor")))
        return;
    // Invented RFCs with their check digit right (companies 12 characters, the person 13).
    const Proveedor proveedores[] = {
        {"FANASA", "FANASA", "FARMACOS NACIONALES SA DE CV", "FNA600101QH6", "601", "Av. Lopez Mateos Sur 2375",
         "Zapopan", "45050", "33 3134 2200", "Ricardo Navarro", "CREDITO", 30, "BBVA", "0112233445", "250000", "S",
         "ESP0451", "S", "S", "5", 1, 1, 2, "FARMACIA,GENERICOS,CURACION"},
        {"NADRO", "NADRO", "NACIONAL DE DROGAS SA DE CV", "NDR430615KT9", "601", "Calle 2 No. 1145 Zona Industrial",
         "Guadalajara", "44940", "33 3668 1500", "Patricia Ibarra", "CREDITO", 21, "BANORTE", "0876543210", "150000",
         "S", "GDL-77812", "N", "S", "3", 2, 1, 3, "FARMACIA,GENERICOS,PERFUMERIA"},
        {"MARZAM", "MARZAM", "CASA MARZAM SA DE CV", "CMA520301BR5", "601", "Av. Mariano Otero 3405", "Guadalajara",
         "44550", "33 3880 9000", "Hector Ruiz", "CREDITO", 30, "SANTANDER", "6550012345", "80000", "N", "", "N",
         "N", "0", 3, 2, 5, "FARMACIA,PERFUMERIA,CURACION"},
        {"DAO", "ABARROTES OCC", "DISTRIBUIDORA DE ABARROTES DE OCCIDENTE SA DE CV", "DAO981120LM4", "601",
         "Calzada Lazaro Cardenas 1870", "Guadalajara", "44920", "33 3812 4455", "Miguel Castro", "EFECTIVO", 0, "",
         "", "0", "N", "", "N", "N", "0", 1, 1, 2, "ABARROTES,BEBIDAS,LACTEOS"},
        {"PEGL", "JL PEREZ", "JOSE LUIS PEREZ GARCIA", "PEGL780412HJA", "612", "Calle Pedro Moreno 920",
         "Guadalajara", "44100", "33 3614 7788", "", "CHEQUE", 15, "BANAMEX", "7001234567", "10000", "N", "", "N", "N",
         "0", 4, 3, 7, "PERFUMERIA"},
    };
    const QString existe = QStringLiteral("select count(*) from tProveedor where prov_Clave = ?");
    const QString inserta = QStringLiteral(
        "insert into tProveedor (prov_Clave, prov_Abreviatura, prov_Nombre, prov_RFC, prov_RegimenFiscal, "
        "prov_Domicilio, prov_Ciudad, prov_CP, pais_Clave, edo_Clave, prov_Tel1, prov_Agente, tpag_Clave, "
        "prov_Periodo, per_Clave, banco_Clave, prov_Cuenta, prov_LimCredito, prov_EDI, prov_CodProvEDI, "
        "prov_CodClienteEDI, prov_ReqPedido, prov_ValCantidad, prov_ValCantidadPorc, prov_Preferencia, "
        "prov_DiasResurtido, prov_DiasResurtidoMax, prov_FecAlta, prov_FecMod) values (?, ?, ?, ?, ?, ?, ?, ?, 'MEX', "
        "'JAL', ?, ?, ?, ?, 'DIA', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, getdate(), getdate())");
    const QString departamento = QStringLiteral(
        "insert into TPROVEEDORTIPOART (prov_Clave, tart_Clave, tap_Seleccion) select ?, tart_Clave, 'S' "
        "from tTipoArticulo where tart_Clave = ?");
    const auto nulo = [](const char *t) {
        return *t ? QVariant(QString::fromUtf8(t)) : QVariant(QMetaType(QMetaType::QString));
    };
    for (const Proveedor &p : proveedores) {
        const QString clave = QLatin1String(p.clave);
        if (c.scalar(existe, {clave}).toInt() > 0)
            continue;
        const bool edi = *p.edi == 'S';
        c.execute(inserta, {clave, QString::fromUtf8(p.abreviatura), QString::fromUtf8(p.nombre), QLatin1String(p.rfc),
                            QLatin1String(p.regimen), QString::fromUtf8(p.domicilio), QString::fromUtf8(p.ciudad),
                            QLatin1String(p.cp), QLatin1String(p.telefono), nulo(p.agente), QLatin1String(p.pago),
                            p.plazo, nulo(p.banco), nulo(p.cuenta), QLatin1String(p.credito), QLatin1String(p.edi),
                            edi ? QVariant(clave) : QVariant(QMetaType(QMetaType::QString)), nulo(p.codigoCliente),
                            QLatin1String(p.reqPedido), QLatin1String(p.valCantidad), QLatin1String(p.tolerancia),
                            p.preferencia, p.dias, p.diasMax});
        for (const QString &d : QString::fromLatin1(p.departamentos).split(u','))
            c.execute(departamento, {clave, d});
    }

    // Open invoices the counter may pay in cash, and the account the day's cash is deposited to.
    if (c.tableExists(QStringLiteral("tFactura"))) {
        struct Factura {
            const char *proveedor, *factura, *total, *pagado, *estado;
        };
        // Amounts with 16 % IVA included.
        const auto importe = [](const char *total) { return (Decimal(total) / Decimal("1.16")).round(2); };
        const Factura facturas[] = {{"DAO", "A-10452", "1845.60", "0", "AUTORIZADA"},
                                    {"DAO", "A-10467", "932.00", "400", "PAGO_PARCIAL"},
                                    {"PEGL", "318", "2410.00", "0", "REGISTRADA"}};
        for (const Factura &f : facturas)
            if (c.scalar(QStringLiteral("select count(*) from tFactura where alm_Clave = 'MATRIZ' and prov_Clave = ? "
                                        "and fact_Clave = ?"),
                         {QLatin1String(f.proveedor), QLatin1String(f.factura)})
                    .toInt() == 0)
                c.execute(QStringLiteral("insert into tFactura (alm_Clave, prov_Clave, fact_Clave, fact_Fecha, "
                                         "fact_FecPago, fact_Importe, fact_IVA, fact_Total, fact_Pago, fact_FecReg, "
                                         "edof_Clave, fact_Concepto) values ('MATRIZ', ?, ?, getdate(), getdate(), ?, ?, ?, ?, "
                                         "getdate(), ?, 'Mercancia')"),
                          {QLatin1String(f.proveedor), QLatin1String(f.factura), importe(f.total).toQVariant(),
                           (Decimal(f.total) - importe(f.total)).toQVariant(), Decimal(f.total).toQVariant(),
                           Decimal(f.pagado).toQVariant(), QLatin1String(f.estado)});
    }
    if (c.tableExists(QStringLiteral("tCuentaBancaria")) &&
        c.scalar(QStringLiteral("select count(*) from tCuentaBancaria where ctab_Clave = '0114477852'")).toInt() == 0)
        c.execute(QStringLiteral("insert into tCuentaBancaria (ctab_Clave, banco_Clave, ctab_Saldo) values "
                                 "('0114477852', 'BBVA', 48250)"));
}

} // namespace db
