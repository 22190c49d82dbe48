#pragma once

// One workstation for the article and price tests: a connection, a scripted prompter, a
// configuration in a temporary settings file, the script host and the price calculation.
#include "ConnectionProvider.h"
#include "Precio.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "TestDatabase.h"
#include "cCode.h"
#include "cConfigure.h"

#include <QTemporaryDir>

Q_DECLARE_METATYPE(Precio)
Q_DECLARE_METATYPE(Cifra)

struct PrecioStation {
    explicit PrecioStation(db::Connection *conn)
        : provider(conn), settings(dir.filePath(QStringLiteral("settings.ini"))), config(provider, settings, prompter),
          code(provider, config, prompter), calculo(&code)
    {
        config.setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA1"));
        config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("MATRIZ"));
        config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
    }

    QTemporaryDir dir;
    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
    cCode code;
    CalculoPrecio calculo;
};

// Department, family and a client type of each control kind, as the price tests use them.
inline void catalogosDePrecio(db::Connection &c)
{
    c.execute(QStringLiteral("insert into tTipoArticulo (tart_Clave, tart_Nombre) values ('FARM', 'Farmacia')"));
    c.execute(QStringLiteral("insert into tTipoArticulo (tart_Clave, tart_Nombre) values ('ABAR', 'Abarrotes')"));
    c.execute(QStringLiteral("insert into tFamilia (fam_Clave, fam_Nombre) values ('ANALG', 'Analgesicos')"));
    for (const auto &[tipo, control, lista] :
         {std::tuple{"DEPTO", "DEPARTAMENTO", 0}, std::tuple{"FAMI", "FAMILIA", 0}, std::tuple{"LISTA1", "LISTA", 1},
          std::tuple{"LISTA2", "LISTA", 2}, std::tuple{"LISTA3", "LISTA", 3}})
        c.execute(QStringLiteral("insert into tTipoCliente (tcli_Clave, tcli_Nombre, tcontrol_Clave, tcli_Lista) "
                                 "values (?, ?, ?, ?)"),
                  {QLatin1String(tipo), QLatin1String(tipo), QLatin1String(control), lista});
}

inline Precio precioDe(const char *costo, const char *publico, const char *descuento, const char *iva)
{
    Precio p;
    p.costo = Decimal(costo);
    p.publico = Decimal(publico);
    p.descuento = Decimal(descuento);
    p.impuestoPorcentaje = Decimal(iva);
    return p;
}
