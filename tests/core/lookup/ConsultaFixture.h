#pragma once

// One workstation for the lookup and stored-query tests: a connection, a scripted prompter,
// a configuration in a temporary settings file, and the session values the markers read.
#include "ConnectionProvider.h"
#include "Log.h"
#include "LookupServices.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "cConfigure.h"

#include <QTemporaryDir>

#include <optional>

// While it lives, the log goes to a temporary folder of its own.
class TestLogDirectory {
public:
    TestLogDirectory()
    {
        const QString dir = m_dir.path();
        Log::setDirectoryProvider([dir] { return dir; });
    }
    ~TestLogDirectory() { Log::setDirectoryProvider({}); }

private:
    QTemporaryDir m_dir;
};

struct ConsultaStation {
    explicit ConsultaStation(db::Connection *conn)
        : provider(conn), settings(dir.filePath(QStringLiteral("settings.ini"))), config(provider, settings, prompter)
    {
        config.setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA1"));
        config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("MATRIZ"));
        config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
        config.setValue(QStringLiteral("TERMINAL"), QStringLiteral("CAJA1"));
        config.setValue(QStringLiteral("PERFIL"), QStringLiteral("GERENTE"));
    }
    LookupServices services() { return {provider, config, prompter}; }

    QTemporaryDir dir;
    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
};
