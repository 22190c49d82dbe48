#pragma once

// The workstation of the catalogue tests: its profile PRUEBA holds the rights grant() gives it.
#include "ConnectionProvider.h"
#include "Permisos.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "cConfigure.h"

#include "Connection.h"

#include <QStringList>

struct CatalogoPrueba {
    CatalogoPrueba(db::Connection *conn, const QString &settingsFile)
        : provider(conn), settings(settingsFile), config(provider, settings, prompter), permisos(provider, config)
    {
        config.setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA1"));
        config.setValue(QStringLiteral("PERFIL"), QStringLiteral("PRUEBA"));
    }

    // Every module, or only the given ones.
    static void grant(db::Connection &c, const QStringList &modules = {})
    {
        c.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('PRUEBA', 'Prueba')"));
        if (modules.isEmpty()) {
            c.execute(QStringLiteral(
                "insert into tSeguridad (perf_Clave, mod_Clave) select 'PRUEBA', mod_Clave from tModulo"));
            return;
        }
        for (const QString &m : modules)
            c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('PRUEBA', ?)"), {m});
    }

    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
    Permisos permisos;
};
