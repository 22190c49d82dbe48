#pragma once

#include "ConnectionProvider.h"
#include "ScriptObjects.h"

#include <QString>

#include <memory>

class Prompter;
class SettingsStore;
class ConnectionCatalog;
class ConnectionManager;
class cAplication;
class cCode;
class cCollectionContainer;
class cConfigure;
class cObjectFactory;
class cString;

// The process-wide service objects, created once in start-up order and living until the
// process ends. Logic classes receive what they need from here by reference; only the
// program's entry point owns an AppServices.
class AppServices {
public:
    // settingsFile: empty for the user's own settings file (tests pass a temporary one).
    AppServices(Prompter &prompter, const QString &settingsFile = QString());
    ~AppServices();

    AppServices(const AppServices &) = delete;
    AppServices &operator=(const AppServices &) = delete;

    Prompter &prompter() { return m_prompter; }
    SettingsStore &settings() { return *m_settings; }
    ConnectionCatalog &catalog() { return *m_catalog; }
    ConnectionManager &connection() { return *m_connection; }
    cConfigure &config() { return *m_config; }
    cString &string() { return *m_string; }
    cAplication &app() { return *m_app; }
    cObjectFactory &factory() { return *m_factory; }
    cCollectionContainer &global() { return *m_global; }
    // gCode: the event-script host; every event goes through runEvent.
    cCode &code() { return *m_code; }
    // What scripts receive from these services (the script editor builds its objects from it).
    ScriptServices scriptServices();
    // The receipt printer (built by the counter, above this layer): scripts see it as
    // "xTicketPrinter" from the next run on.
    void setTicketPrinter(QObject *printer) { m_ticketPrinter = printer; }

private:
    // The configuration needs the connection and the connection needs the configuration
    // (CONEXION): the configuration gets this forwarder, bound once the manager exists.
    class Forwarder : public ConnectionProvider {
    public:
        ConnectionProvider *target = nullptr;
        db::Connection *currentConnection() override
        {
            return target ? target->currentConnection() : nullptr;
        }
        db::Connection &getConnection() override { return target->getConnection(); }
    };

    Prompter &m_prompter;
    Forwarder m_forwarder;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<ConnectionCatalog> m_catalog;
    std::unique_ptr<cConfigure> m_config;
    std::unique_ptr<ConnectionManager> m_connection;
    std::unique_ptr<cString> m_string;
    std::unique_ptr<cAplication> m_app;
    std::unique_ptr<cObjectFactory> m_factory;
    std::unique_ptr<cCollectionContainer> m_global;
    std::unique_ptr<cCode> m_code;
    QObject *m_ticketPrinter = nullptr;
};
