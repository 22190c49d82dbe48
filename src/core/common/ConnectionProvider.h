#pragma once

namespace db {
class Connection;
}

// How logic classes reach the one database connection without knowing how it is kept.
// The program's implementation reconnects and asks the user; tests hand out a fixed connection.
class ConnectionProvider {
public:
    virtual ~ConnectionProvider() = default;
    // The connection as it is, or nullptr when there is none; no reconnection, no questions.
    virtual db::Connection *currentConnection() = 0;
    // The entry point of every query: a live connection, reconnecting (and asking) when it was lost.
    virtual db::Connection &getConnection() = 0;
};

// A provider over a connection that someone else keeps open (tests, tools, branch work).
class FixedConnectionProvider : public ConnectionProvider {
public:
    explicit FixedConnectionProvider(db::Connection *connection) : m_connection(connection) {}
    db::Connection *currentConnection() override { return m_connection; }
    db::Connection &getConnection() override { return *m_connection; }

private:
    db::Connection *m_connection;
};
