#include "MainWindowController.h"

#include "Prompter.h"

const QString MainWindowController::kExitQuestion =
    QStringLiteral("Esta usted seguro que desea salir de la aplicación");

MainWindowController::MainWindowController(Prompter &prompter, Hooks hooks, QObject *parent)
    : QObject(parent), m_prompter(prompter), m_hooks(std::move(hooks))
{
}

QString MainWindowController::statusText(const QString &connection, const QString &warehouse)
{
    return QStringLiteral("Conexion: <") + connection + QStringLiteral("> Almacen: ") + warehouse;
}

QString MainWindowController::userText(const QString &user)
{
    return QStringLiteral("Usuario: ") + user;
}

QString MainWindowController::statusText() const
{
    return statusText(m_hooks.selectedConnection ? m_hooks.selectedConnection() : QString(),
                      m_hooks.warehouse ? m_hooks.warehouse() : QString());
}

void MainWindowController::refreshStatus()
{
    Q_EMIT statusTextChanged(statusText());
}

void MainWindowController::load()
{
    if (m_hooks.buildReportsMenu)
        m_hooks.buildReportsMenu();
    if (m_hooks.applyMenuPermissions)
        m_hooks.applyMenuPermissions();
}

bool MainWindowController::activate()
{
    if (m_activated)
        return false;
    // Set first: the warehouse window is modal and re-activates the main window when it closes.
    m_activated = true;
    if (m_hooks.selectWarehouse)
        m_hooks.selectWarehouse();
    refreshStatus();
    if (m_hooks.runEventScript)
        m_hooks.runEventScript(QStringLiteral("OnStartUpProgram"));
    return true;
}

bool MainWindowController::mnuArchivo_Usuario()
{
    if (!m_hooks.changeUser || !m_hooks.changeUser())
        return false;
    if (m_hooks.selectWarehouse)
        m_hooks.selectWarehouse();
    load();
    refreshStatus();
    Q_EMIT messageChanged(userText(m_hooks.user ? m_hooks.user() : QString()));
    return true;
}

bool MainWindowController::mnuArchivo_Salir()
{
    return m_prompter.question(kExitQuestion, false);
}

bool MainWindowController::queryUnload(CloseMode mode)
{
    if (m_terminating)
        return false; // the shutdown itself unloads the window
    if (mode == CloseMode::ControlBox)
        return true;
    m_terminating = true;
    // Closing must always complete, whatever a window or the shutdown throws.
    try {
        if (m_unloadWindows)
            m_unloadWindows();
    } catch (...) {
    }
    try {
        if (m_hooks.terminateProgram)
            m_hooks.terminateProgram();
    } catch (...) {
    }
    return false;
}

void MainWindowController::reapplyPermissions()
{
    if (m_hooks.applyMenuPermissions)
        m_hooks.applyMenuPermissions();
}
