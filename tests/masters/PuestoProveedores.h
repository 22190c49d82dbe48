#pragma once

// The workstation of the supplier tests: profile PRUEBA with every right, places, three
// departments, three kinds of electronic exchange (their order column differs from their keys'
// order) and a bank.
#include "EstacionPrueba.h"
#include "PuestoMaestros.h"

#include "ProveedorEditor.h"

#include <QTemporaryDir>

struct PuestoProveedores {
    explicit PuestoProveedores(db::Connection &c) : estacion(&c, dir.filePath(QStringLiteral("settings.ini")))
    {
        EstacionPrueba::grant(c);
        maestros::insertaLugares(c);
        for (const auto &[clave, nombre] : {std::pair{"ABA", "Abarrotes"}, std::pair{"MED", "Medicamentos"},
                                            std::pair{"PERF", "Perfumeria"}})
            c.execute(QStringLiteral("insert into tTipoArticulo (tart_Clave, tart_Nombre) values (?, ?)"),
                      {QLatin1String(clave), QLatin1String(nombre)});
        for (const auto &[clave, nombre, orden] : {std::tuple{"FACTURA", "Factura", 3}, std::tuple{"LISTA", "Lista", 1},
                                                   std::tuple{"PEDIDO", "Pedido", 2}})
            c.execute(QStringLiteral("insert into tTipoEDI (tedi_Clave, tedi_Nombre, tedi_Orden) values (?, ?, ?)"),
                      {QLatin1String(clave), QLatin1String(nombre), orden});
        c.execute(QStringLiteral("insert into tBanco (banco_Clave, banco_Nombre) values ('BBVA', 'BBVA')"));
        c.execute(QStringLiteral("insert into tControlPrecio (control_Clave, control_Nombre) values ('LISTA', 'Lista')"));
    }

    // The exchange module's layouts, as that module will keep them.
    static void layouts(db::Connection &c)
    {
        c.execute(QStringLiteral("create table tLayOut (layout_Clave varchar(50) primary key, layout_NOMBRE "
                                 "varchar(100), tedi_Clave varchar(20))"));
        for (const auto &[clave, nombre, tipo] :
             {std::tuple{"PED-FANASA", "Pedido FANASA", "PEDIDO"}, std::tuple{"PED-NADRO", "Pedido NADRO", "PEDIDO"},
              std::tuple{"LIS-FANASA", "Lista FANASA", "LISTA"}})
            c.execute(QStringLiteral("insert into tLayOut (layout_Clave, layout_NOMBRE, tedi_Clave) values (?, ?, ?)"),
                      {QLatin1String(clave), QLatin1String(nombre), QLatin1String(tipo)});
    }

    ScriptedPrompter &prompter() { return estacion.prompter; }
    ProveedorEditor editor() { return ProveedorEditor(estacion.provider, estacion.prompter); }

    // Only what the checks require, on a new supplier.
    static void minimo(ProveedorEditor &e, const QString &clave, const QString &nombre = QStringLiteral("PROVEEDOR"))
    {
        e.setTexto(QStringLiteral("prov_Clave"), clave);
        e.setTexto(QStringLiteral("prov_Nombre"), nombre);
        e.setTexto(QStringLiteral("edo_Clave"), QStringLiteral("JAL"));
    }

    // A supplier written directly, with departments and layouts.
    static void inserta(db::Connection &c, const QString &clave, const QStringList &departamentos = {},
                        const QList<QPair<QString, QString>> &layouts = {})
    {
        c.execute(QStringLiteral("insert into tProveedor (prov_Clave, prov_Nombre, pais_Clave, edo_Clave, tpag_Clave, "
                                 "prov_Descuento) values (?, ?, 'MEX', 'JAL', 'CREDITO', 4)"),
                  {clave, QStringLiteral("NOMBRE DE ") + clave});
        for (const QString &d : departamentos)
            c.execute(QStringLiteral("insert into TPROVEEDORTIPOART (prov_Clave, tart_Clave, tap_Seleccion) "
                                     "values (?, ?, 'S')"),
                      {clave, d});
        for (const auto &[tipo, layout] : layouts)
            c.execute(QStringLiteral("insert into tProveedorEDI (prov_Clave, tedi_Clave, layout_Clave) values (?, ?, ?)"),
                      {clave, tipo, layout});
    }

    // The three tables of a supplier, one text per row, to compare before and after.
    static QStringList estado(db::Connection &c)
    {
        return filas(c, QStringLiteral("select prov_Clave, prov_Nombre, prov_Descuento, tpag_Clave, prov_EDI, "
                                       "prov_Preferencia, prov_FecMod from tProveedor order by prov_Clave")) +
               filas(c, QStringLiteral("select prov_Clave, tart_Clave, tap_Seleccion from TPROVEEDORTIPOART "
                                       "order by prov_Clave, tart_Clave")) +
               filas(c, QStringLiteral("select prov_Clave, tedi_Clave, layout_Clave from tProveedorEDI "
                                       "order by prov_Clave, tedi_Clave"));
    }

    // A supplier's departments ("ABA=S") and layouts ("PEDIDO=PED-FANASA") as written, by key.
    static QStringList departamentos(db::Connection &c, const QString &clave)
    {
        return filasDe(c,
                       QStringLiteral("select tart_Clave, tap_Seleccion from TPROVEEDORTIPOART where prov_Clave = ? "
                                      "order by tart_Clave"),
                       clave);
    }
    static QStringList intercambios(db::Connection &c, const QString &clave)
    {
        return filasDe(c,
                       QStringLiteral("select tedi_Clave, layout_Clave from tProveedorEDI where prov_Clave = ? "
                                      "order by tedi_Clave"),
                       clave);
    }
    // "column=column" per row of a query about one supplier.
    static QStringList filasDe(db::Connection &c, const QString &sql, const QString &clave)
    {
        QStringList out;
        for (db::Recordset rs = c.openRecordset(sql, {clave}); !rs.eof(); rs.moveNext())
            out << rs.value(0).toString().trimmed() + u'=' + rs.value(1).toString().trimmed();
        return out;
    }

    QTemporaryDir dir;
    EstacionPrueba estacion;
};
