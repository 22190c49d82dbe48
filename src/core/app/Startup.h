#pragma once

#include <QString>

#include <functional>
#include <optional>

class cConfigure;
class ConnectionCatalog;
class ConnectionManager;

// The start-up and shutdown order of the program, with the windows reached through hooks so
// the order itself runs (and is tested) without widgets.
class Startup {
public:
    struct Hooks {
        // Shows the connection dialog modally; the accepted connection string, or nullopt.
        std::function<std::optional<QString>()> runConnectionDialog;
        // Runs a named event script when an active one exists (no-op until scripts exist).
        std::function<void(const char *)> runEventScript;
        // Shows the splash window (not modal).
        std::function<void()> showSplash;
        // Unloads the main window and ends the event loop.
        std::function<void()> quit;
    };

    Startup(cConfigure &config, ConnectionCatalog &catalog, ConnectionManager &connection, Hooks hooks);

    // The dialog; an accepted string becomes CONEXION and is opened at once.
    bool showConnectionDialog();
    // Steps 2 to 6 of the start-up; false means the process ends without a message.
    bool Main();
    // Shutdown: "OnTerminateProgram", configuration saved when asked to, main window unloaded.
    // Every failure is ignored so that closing always completes.
    void terminateProgram();

private:
    cConfigure &m_config;
    ConnectionCatalog &m_catalog;
    ConnectionManager &m_connection;
    Hooks m_hooks;
};
