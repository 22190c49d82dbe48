#include "Startup.h"

#include "ConnectionCatalog.h"
#include "ConnectionManager.h"
#include "cConfigure.h"

Startup::Startup(cConfigure &config, ConnectionCatalog &catalog, ConnectionManager &connection, Hooks hooks)
    : m_config(config), m_catalog(catalog), m_connection(connection), m_hooks(std::move(hooks))
{
}

bool Startup::showConnectionDialog()
{
    if (!m_hooks.runConnectionDialog)
        return false;
    const std::optional<QString> accepted = m_hooks.runConnectionDialog();
    if (!accepted)
        return false;
    m_config.setValue(QStringLiteral("CONEXION"), *accepted);
    return m_connection.connectDatabase();
}

bool Startup::Main()
{
    if (m_catalog.mostrar()) {
        if (!showConnectionDialog())
            return false;
    }
    // The connection is opened (again) in every case.
    if (!m_connection.connectDatabase()) {
        if (!showConnectionDialog())
            return false;
    }
    m_config.loadAll();
    if (m_hooks.showSplash)
        m_hooks.showSplash();
    return true;
}

void Startup::terminateProgram()
{
    try {
        if (m_hooks.runEventScript)
            m_hooks.runEventScript("OnTerminateProgram");
    } catch (...) {
    }
    try {
        if (m_config.getValue(QStringLiteral("SALVAR-CONFIGURACION-AL-SALIR")).toBool())
            m_config.saveAll();
    } catch (...) {
    }
    try {
        if (m_hooks.quit)
            m_hooks.quit();
    } catch (...) {
    }
}
