#include "AppServices.h"

#include "ConnectionCatalog.h"
#include "ConnectionManager.h"
#include "Log.h"
#include "SettingsStore.h"
#include "cAplication.h"
#include "cCollectionContainer.h"
#include "cConfigure.h"
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
    m_global = std::make_unique<cCollectionContainer>();
    cConfigure *config = m_config.get();
    Log::setDirectoryProvider([config] { return config->getValue(QStringLiteral("SETTING-DIRECTORIO-LOG")).toString(); });
}

AppServices::~AppServices()
{
    Log::setDirectoryProvider({});
}
