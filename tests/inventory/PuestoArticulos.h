#pragma once

// The workstation of the article tests: a user, a warehouse, two departments and the services
// the article windows take.
#include "ConnectionProvider.h"
#include "LookupServices.h"
#include "Precio.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "cConfigure.h"

#include "Connection.h"

struct PuestoArticulos {
    PuestoArticulos(db::Connection *conn, const QString &settingsFile)
        : provider(conn), settings(settingsFile), config(provider, settings, prompter)
    {
        config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
        config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("CENTRAL"));
        conn->execute(QStringLiteral("insert into tTipoArticulo (tart_Clave, tart_Nombre) values ('MED', 'Medicamentos')"));
        conn->execute(QStringLiteral("insert into tTipoArticulo (tart_Clave, tart_Nombre) values ('PERF', 'Perfumeria')"));
    }

    LookupServices servicios() { return {provider, config, prompter}; }

    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
    CalculoPrecio calculo;
};
