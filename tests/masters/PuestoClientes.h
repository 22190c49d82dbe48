#pragma once

// The workstation of the client tests: profile PRUEBA with every right or only the ones given,
// client types of each kind of terms, two users (seller and collector).
#include "EstacionPrueba.h"
#include "PuestoMaestros.h"

#include "ClienteEditor.h"

#include <QTemporaryDir>

struct PuestoClientes {
    explicit PuestoClientes(db::Connection &c, const QStringList &derechos = {})
        : estacion(&c, dir.filePath(QStringLiteral("settings.ini")))
    {
        EstacionPrueba::grant(c, derechos);
        maestros::insertaLugares(c);
        estacion.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
        c.execute(QStringLiteral("insert into tTipoCliente (tcli_Clave, tcli_Nombre, tcontrol_Clave, tcli_Descuento, "
                                 "tcli_Periodo, per_Clave, tcli_Credito, cpago_Clave, percp_Clave) values "
                                 "('CREDITO5', 'Credito a 30 dias', 'ARTICULO', 5, 30, 'DIA', 1000, 'PERIODO', "
                                 "'MENSUAL')"));
        c.execute(QStringLiteral("insert into tTipoCliente (tcli_Clave, tcli_Nombre, tcontrol_Clave, tcli_Descuento, "
                                 "tcli_Periodo, tcli_Credito) values ('MAYOREO', 'Mayoreo', 'ARTICULO', 12.5, 0, 0)"));
        for (const char *u : {"VEND1", "COBR1"})
            c.execute(QStringLiteral("insert into tUsuario (usu_Clave, usu_Nombre) values (?, ?)"),
                      {QLatin1String(u), QLatin1String(u)});
    }

    ScriptedPrompter &prompter() { return estacion.prompter; }
    ClienteEditor editor()
    {
        return ClienteEditor(estacion.provider, estacion.config, estacion.permisos, estacion.prompter);
    }

    // Only what the checks require, on a new client.
    static void minimo(ClienteEditor &e, const QString &clave, const QString &nombre = QStringLiteral("CLIENTE"))
    {
        e.setTexto(QStringLiteral("cli_Clave"), clave);
        e.setTexto(QStringLiteral("cli_Nombre"), nombre);
        e.setTexto(QStringLiteral("edo_Clave"), QStringLiteral("JAL"));
    }

    QTemporaryDir dir;
    EstacionPrueba estacion;
};
