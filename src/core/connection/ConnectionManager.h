#pragma once

#include "ConnectionProvider.h"
#include "Params.h"

#include <QString>

#include <functional>
#include <memory>

class cConfigure;
class ConnectionCatalog;
class Prompter;

namespace db {
class Connection;
class Recordset;
} // namespace db

// The one process-wide database connection: opening and checking it at start-up, the schema
// version question, and the reconnection that every query goes through.
class ConnectionManager : public ConnectionProvider {
public:
    static constexpr const char *kSchemaVersion = "DB-2009May11";

    ConnectionManager(cConfigure &config, ConnectionCatalog &catalog, Prompter &prompter);
    ~ConnectionManager() override;

    // Opens the configured CONEXION, checks it answers and that the schema is current.
    bool connectDatabase();
    static bool pingConnection(db::Connection *connection);
    static bool reopenConnection(db::Connection *connection);
    bool isDatabaseCurrent();
    static bool fieldExists(const db::Recordset &recordset, const QString &name);

    db::Connection *currentConnection() override;
    db::Connection &getConnection() override;
    db::Recordset openRecordset(const QString &sql, const db::Params &params = {});

    // True when the version row was found or the user chose to go on without it.
    bool databaseCurrent() const { return m_databaseCurrent; }

    // Without a person to answer (the command line): the lost connection is tried again with a
    // growing pause, at most for `limitMs` in all; then the exit handler runs and getConnection
    // throws. A negative limit asks the user at every attempt, as the program does.
    void setUnattendedRetry(qint64 limitMs) { m_unattendedLimitMs = limitMs; }

    // Ends the process when the user gives up reconnecting; tests replace it.
    void setExitHandler(std::function<void()> handler) { m_exit = std::move(handler); }
    // Busy-cursor restoration before a question (the window layer supplies it).
    void setRestoreCursor(std::function<void()> restore) { m_restoreCursor = std::move(restore); }

private:
    void restoreCursor();

    cConfigure &m_config;
    ConnectionCatalog &m_catalog;
    Prompter &m_prompter;
    std::unique_ptr<db::Connection> m_connection;
    bool m_databaseCurrent = false;
    qint64 m_unattendedLimitMs = -1;
    std::function<void()> m_exit;
    std::function<void()> m_restoreCursor;
};
