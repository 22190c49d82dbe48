#pragma once

// A test workstation: profile PRUEBA, holding every right or only the ones given.
#include "ConnectionProvider.h"
#include "Permisos.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "cConfigure.h"

#include "Connection.h"
#include "Decimal.h"

#include <QStringList>

struct EstacionPrueba {
    EstacionPrueba(db::Connection *conn, const QString &settingsFile)
        : provider(conn), settings(settingsFile), config(provider, settings, prompter),
          permisos(provider, config)
    {
        config.setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA1"));
        config.setValue(QStringLiteral("PERFIL"), QStringLiteral("PRUEBA"));
    }

    static void grant(db::Connection &c, const QStringList &modules = {})
    {
        c.execute(
            QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('PRUEBA', 'Prueba')"));
        if (modules.isEmpty()) {
            c.execute(QStringLiteral(
                "insert into tSeguridad (perf_Clave, mod_Clave) select 'PRUEBA', mod_Clave from tModulo"));
            return;
        }
        for (const QString &m : modules)
            c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('PRUEBA', ?)"),
                      {m});
    }

    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
    Permisos permisos;
};

// Every row of the given query as one text per row, to compare a table before and after.
inline QStringList filas(db::Connection &c, const QString &sql)
{
    QStringList out;
    for (db::Recordset rs = c.openRecordset(sql); !rs.eof(); rs.moveNext()) {
        QStringList campos;
        for (int i = 0; i < rs.fieldCount(); ++i) {
            const QVariant v = rs.value(i);
            campos << (v.metaType() == QMetaType::fromType<Decimal>() ? Decimal::fromVariant(v).toString()
                                                                      : v.toString());
        }
        out << campos.join(u'|');
    }
    return out;
}
