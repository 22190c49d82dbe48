#include "AppServices.h"

#include "ConnectionCatalog.h"
#include "ConnectionManager.h"
#include "Log.h"
#include "ScriptObjects.h"
#include "SettingsStore.h"
#include "cAplication.h"
#include "cCode.h"
#include "cCollectionContainer.h"
#include "cConfigure.h"
#include "cDatabase.h"
#include "cSucursal.h"
#include "cObjectFactory.h"
#include "cString.h"

AppServices::AppServices(Prompter &prompter, const QString &settingsFile) : m_prompter(prompter)
{
    m_settings = settingsFile.isEmpty() ? std::make_unique<SettingsStore>()
                                        : std::make_unique<SettingsStore>(settingsFile);
    m_catalog = std::make_unique<ConnectionCatalog>(*m_settings);
    m_config = std::make_unique<cConfigure>(m_forwarder, *m_settings, prompter);
    m_connection = std::make_unique<ConnectionManager>(*m_config, *m_catalog, prompter);
    m_forwarder.target = m_connection.get();
    m_string = std::make_unique<cString>(m_config.get());
    m_app = std::make_unique<cAplication>(*m_connection, prompter);
    m_factory = std::make_unique<cObjectFactory>();
    cConfigure *config = m_config.get();
    ConnectionManager *connection = m_connection.get();
    cAplication *app = m_app.get();
    Prompter *shown = &prompter;
    m_factory->registerClass(QStringLiteral("newcString"), [config] { return new cString(config); });
    m_factory->registerClass(QStringLiteral("newcSucursal"),
                             [connection, shown] { return new cSucursal(*connection, *shown); });
    m_factory->registerClass(QStringLiteral("newcDatabase"), [shown, app] {
        auto *database = new cDatabase(*shown);
        database->setStatusSink([app](const QString &text) { app->msgBar(text); });
        return database;
    });
    m_global = std::make_unique<cCollectionContainer>();
    cCollectionContainer *global = m_global.get();
    cObjectFactory *factory = m_factory.get();
    cString *string = m_string.get();
    m_code = std::make_unique<cCode>(*m_connection, *m_config, prompter, [=, this] {
        return buildScriptObjects({*config, *connection, *string, *app, *factory, *global, m_ticketPrinter});
    });
    prepareScriptEngine(m_code->engine());
    Log::setDirectoryProvider(
        [config] { return config->getValue(QStringLiteral("SETTING-DIRECTORIO-LOG")).toString(); });
}

ScriptServices AppServices::scriptServices()
{
    return {*m_config, *m_connection, *m_string, *m_app, *m_factory, *m_global, m_ticketPrinter};
}

AppServices::~AppServices()
{
    Log::setDirectoryProvider({});
}
