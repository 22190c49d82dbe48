#pragma once

// The counter of the sale-writer tests: warehouse A1 with two terminals, each with its open cut,
// the stock articles of tests/inventory with stock in A1, a client, and helpers that build grid
// lines and totals the way the capture does.
#include "../inventory/ArticulosExistencia.h"
#include "CalculoVenta.h"
#include "EstacionPrueba.h"
#include "Existencias.h"
#include "GuardaVenta.h"

#include "Connection.h"

#include <QDateTime>

inline int anioServidor(db::Connection &c)
{
    return c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
}

// Warehouse, terminals, open cuts, articles with stock, the clients C1 and C2.
inline void preparaMostrador(db::Connection &c, const QString &settingsFile)
{
    const int anio = anioServidor(c);
    c.execute(QStringLiteral(
        "insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz'), ('A2', 'Sucursal')"));
    c.execute(QStringLiteral(
        "insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values "
        "('CAJA1', 'Caja uno', 'A1'), ('CAJA2', 'Caja dos', 'A1'), ('CAJA9', 'Caja nueve', 'A2')"));
    c.execute(QStringLiteral(
                  "insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                  "ecorte_Clave, usu_Clave) values ('A1', 'CAJA1', ?, 1, getdate(), 'CERRADO', 'ADMIN'), "
                  "('A1', 'CAJA1', ?, 2, getdate(), 'ABIERTO', 'ADMIN'), "
                  "('A1', 'CAJA2', ?, 1, getdate(), 'ABIERTO', 'ADMIN'), "
                  "('A2', 'CAJA9', ?, 1, getdate(), 'ABIERTO', 'ADMIN')"),
              {anio, anio, anio, anio});
    c.execute(QStringLiteral(
        "insert into tCliente (cli_Clave, cli_Nombre, tcli_Clave) values ('C1', 'Cliente uno', "
        "'SYS'), ('C2', 'Cliente dos', 'SYS')"));
    creaArticulosExistencia(c);
    // Stock through the stock call itself, so the kardex holds every unit.
    FixedConnectionProvider provider(&c);
    ScriptedPrompter prompter;
    SettingsStore settings(settingsFile);
    cConfigure config(provider, settings, prompter);
    config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
    Existencias e(provider, config, prompter);
    const auto entra = [&](const char *art, const char *lote, int n) {
        if (!e.actualizaArticuloAlmacen(QStringLiteral("A1"), QString::fromLatin1(art),
                                        QString::fromLatin1(lote), Decimal(n), QStringLiteral("E"),
                                        QStringLiteral("INICIAL"), {}, {}, Decimal(1), false, false, false))
            qFatal("%s", qPrintable(e.ultimoError()));
    };
    entra("LIB", "", 100);
    entra("EXI", "", 5);
    entra("LOT", "L1", 8);
}

// The workstation at terminal CAJA1 (or another), with the open cut's code in CORTE-CAJA.
inline void enCaja(EstacionPrueba &s, db::Connection &c, const QString &terminal = QStringLiteral("CAJA1"))
{
    const int anio = anioServidor(c);
    const QVariant numero =
        c.scalar(QStringLiteral("select corte_Numero from TCORTE where term_Clave = ? and "
                                "ecorte_Clave = 'ABIERTO'"),
                 {terminal});
    s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
    s.config.setValue(QStringLiteral("TERMINAL"), terminal);
    s.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("CAJERO"));
    s.config.setValue(QStringLiteral("CORTE-CAJA"),
                      QString(terminal + u'-' + QString::number(anio) + u'-' + numero.toString()));
}

// A grid line computed as the capture computes it.
inline LineaVenta linea(const QString &clave, const char *cantidad, const char *precio, const char *iva,
                        const QString &tipoPrecio = QStringLiteral("NORMAL"), const QString &lote = QString())
{
    LineaVenta l;
    l.clave = clave;
    l.nombre = QStringLiteral("Articulo ") + clave;
    l.cantidad = Decimal(cantidad);
    l.precio = Decimal(precio);
    l.iva = Decimal(iva);
    l.tipoPrecio = tipoPrecio;
    l.loteSerie = lote;
    CalculoVenta::calculaLinea(l, ReglaRedondeo{});
    return l;
}

inline PagoVenta pago(const QString &tipo, const char *importe)
{
    PagoVenta p;
    p.tipo = tipo;
    p.importe = Decimal(importe);
    return p;
}

// A sale of the given lines for C1 paid with one payment of the given kind for the whole total.
inline DatosVenta venta(const QList<LineaVenta> &lineas, const QString &tipoPago = QStringLiteral("EFECTIVO"))
{
    DatosVenta d;
    d.lineas = lineas;
    for (int i = 0; i < d.lineas.size(); ++i)
        d.lineas[i].renglon = i + 1;
    d.totales = CalculoVenta::calculaGrid(d.lineas, ReglaRedondeo{}, ReglaRedondeo{}, Decimal(), false);
    PagoVenta p;
    p.tipo = tipoPago;
    p.importe = d.totales.total;
    d.pagos << p;
    d.pago = d.totales.total;
    d.cliente = QStringLiteral("C1");
    d.vendedor = QStringLiteral("VENDEDOR1");
    return d;
}
