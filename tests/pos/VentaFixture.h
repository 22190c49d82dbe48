#pragma once

// A cashier's workstation for the sale capture tests: warehouse MATRIZ, terminal CAJA1 with an
// open cut, profile PRUEBA with the given frmVenta rights, two client types and the articles:
//   P100 price 100.00, discount 10, tax 15, cost 50       GRA  sold in fractions (art_Granel)
//   SUS  suspended                                        REF  asks for a reference
//   OFE  normal 100, offer 80 with 2 units left           LIS  list 1 price 70 (type MAYOREO)
// plus the stock articles of ArticulosExistencia.h (LIB, EXI, LOT, SER, KIT …) priced 20.
#include "../inventory/ArticulosExistencia.h"
#include "../inventory/PrecioFixture.h"

#include "Permisos.h"
#include "PreciosArticulo.h"
#include "VentaCaptura.h"
#include "cString.h"

#include "Log.h"

#include <QStringList>

// Every field of each line, one text per line (the line number too when asked): what a held sale
// or a crash copy must give back.
inline QStringList contenidoLineas(const QList<LineaVenta> &lineas, bool conRenglon = false)
{
    QStringList out;
    for (const LineaVenta &l : lineas) {
        QStringList campos{l.clave,
                           l.nombre,
                           l.cantidad.toString(),
                           l.precio.toString(),
                           l.descuento.toString(),
                           l.iva.toString(),
                           l.importe.toString(),
                           l.total.toString(),
                           l.referencia,
                           l.modificado ? "S" : "N",
                           l.tipoPrecio,
                           l.loteSerie,
                           l.controlInv};
        if (conRenglon)
            campos << QString::number(l.renglon);
        out << campos.join(u'|');
    }
    return out;
}

struct PuestoVenta : PrecioStation {
    explicit PuestoVenta(db::Connection *conn, const QStringList &derechos = {})
        : PrecioStation(conn), permisos(provider, config), precios(provider, prompter, calculo),
          cadenas(&config),
          captura(VentaCaptura::Servicios{provider, config, prompter, permisos, precios, &cadenas, &code})
    {
        Log::setDirectoryProvider([d = dir.path()] { return d; });
        config.setValue(QStringLiteral("PERFIL"), QStringLiteral("PRUEBA"));
        config.setValue(QStringLiteral("TERMINAL"), QStringLiteral("CAJA1"));
        config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), false);
        config.setValue(QStringLiteral("ACUMULAR-ARTICULOS-VENTA"), false);
        config.setValue(QStringLiteral("CLIENTE-POR-OMISION"), QStringLiteral("SYS"));
        config.setValue(QStringLiteral("TIPO-CLIENTE-POR-OMISION"), QStringLiteral("SYS"));
        code.setEchoSink([this](const QString &t) { echo << t; });
        db::Connection &c = *conn;
        c.execute(
            QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('PRUEBA', 'Prueba')"));
        for (const QString &d : derechos)
            c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('PRUEBA', ?)"),
                      {QStringLiteral("frmVenta_") + d});
    }

    // Opens the terminal's cut and starts a sale.
    void abreCaja(db::Connection &c)
    {
        c.execute(
            QStringLiteral(
                "insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                "ecorte_Clave, usu_Clave) values ('MATRIZ', 'CAJA1', ?, 7, getdate(), 'ABIERTO', 'ADMIN')"),
            {anio(c)});
        config.setValue(QStringLiteral("CORTE-CAJA"), QStringLiteral("CAJA1-%1-7").arg(anio(c)));
    }
    static int anio(db::Connection &c)
    {
        return c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
    }

    // The fields the window fills before adding.
    static VentaCaptura::Captura campos(const QString &articulo, const QString &cantidad,
                                        const QString &precio = "100", const QString &descuento = "0",
                                        const QString &iva = "16", const QString &tipo = "NORMAL")
    {
        VentaCaptura::Captura c;
        c.articulo = articulo;
        c.cantidad = cantidad;
        c.precio = precio;
        c.descuento = descuento;
        c.iva = iva;
        c.tipoPrecio = tipo;
        return c;
    }

    QStringList echo;
    Permisos permisos;
    PreciosArticulo precios;
    cString cadenas;
    VentaCaptura captura;
};

inline void creaCatalogoVenta(db::Connection &c)
{
    c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('MATRIZ', 'Matriz')"));
    c.execute(QStringLiteral(
        "insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values ('CAJA1', 'Caja', 'MATRIZ')"));
    c.execute(QStringLiteral(
        "insert into tTipoCliente (tcli_Clave, tcli_Nombre, tcontrol_Clave, tcli_Lista, "
        "tcli_AcumularArticulos, tcli_Nota) values ('MAYOREO', 'Mayoreo', 'LISTA', 1, 'N', 'SI')"));
    c.execute(
        QStringLiteral("update tTipoCliente set tcli_AcumularArticulos = 'N' where tcli_Clave = 'SYS'"));
    c.execute(QStringLiteral(
        "insert into tTipoClienteTipoPago (tcli_Clave, tpago_Clave) values ('MAYOREO', 'EFECTIVO')"));
    c.execute(QStringLiteral("insert into tCliente (cli_Clave, cli_Nombre, tcli_Clave) values ('SYS', "
                             "'Publico en general', 'SYS')"));
    c.execute(QStringLiteral("insert into tCliente (cli_Clave, cli_Nombre, tcli_Clave, cli_Descuento) values "
                             "('C1', 'Farmacia Sol', 'MAYOREO', 10)"));
    creaArticulosExistencia(c);
    c.execute(QStringLiteral("update tArticulo set art_Importe = 20, art_IVAPorc = 16"));
    const auto art = [&](const char *clave, const char *costo, const char *precio, const char *desc,
                         const char *iva) {
        c.execute(QStringLiteral(
                      "insert into tArticulo (art_Clave, art_Nombre, cinv_Clave, art_Costo, art_Importe, "
                      "art_Descuento, art_IVAPorc) values (?, ?, 'LIBRE', ?, ?, ?, ?)"),
                  {QString::fromLatin1(clave), QStringLiteral("Articulo ") + QLatin1String(clave),
                   QLatin1String(costo), QLatin1String(precio), QLatin1String(desc), QLatin1String(iva)});
    };
    art("P100", "50", "100", "10", "15");
    art("GRA", "5", "10", "0", "0");
    art("SUS", "5", "10", "0", "0");
    art("REF", "5", "10", "0", "0");
    art("OFE", "40", "100", "0", "0");
    art("LIS", "40", "100", "0", "0");
    c.execute(QStringLiteral("update tArticulo set art_Granel = 'SI' where art_Clave = 'GRA'"));
    c.execute(QStringLiteral("update tArticulo set eart_Clave = 'SUSPENDIDO' where art_Clave = 'SUS'"));
    c.execute(QStringLiteral("update tArticulo set ref_Clave = 'SI' where art_Clave = 'REF'"));
    c.execute(QStringLiteral(
        "insert into tArticuloCodigo (acod_Codigo, art_Clave) values ('7501000000017', 'P100')"));
    const QString fila = QStringLiteral(
        "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, precio_Importe, "
        "precio_IVAPorc, "
        "PRECIO_FECINI, PRECIO_FECFIN, precio_Cantidad, precio_Vendidas) values (?, ?, ?, ?, 0, ?, ?, ?, ?)");
    const QVariant sinFecha{QMetaType(QMetaType::QDateTime)};
    const QDateTime desde(QDate(2000, 1, 1), QTime(0, 0)), hasta(QDate(2099, 12, 31), QTime(0, 0));
    c.execute(fila, {"OFE", "NORMAL", 1, 100, sinFecha, sinFecha, 0, 0});
    c.execute(fila, {"OFE", "OFERTA", 1, 80, desde, hasta, 10, 8});
    c.execute(fila, {"LIS", "NORMAL", 1, 100, sinFecha, sinFecha, 0, 0});
    c.execute(fila, {"LIS", "LISTA", 1, 70, sinFecha, sinFecha, 0, 0});
    c.execute(QStringLiteral(
        "insert into tArticuloAlmacen (alm_Clave, art_Clave, alma_Clave, alma_Existencia) values "
        "('MATRIZ', 'EXI', '', 5), ('MATRIZ', 'LOT', 'L1', 3), ('MATRIZ', 'SER', 'S1', 1), "
        "('MATRIZ', 'SER', 'S2', 1), ('MATRIZ', 'LIB', '', 4)"));
}
