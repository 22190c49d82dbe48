#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class ConnectionCatalog;
class Prompter;

// What the connection dialog shows of one named connection. The engine choice takes the place
// of the server-version list: SQLite needs a file, PostgreSQL a server and a database.
struct ConnectionFields {
    enum Engine { SQLite = 0, PostgreSQL = 1 };

    QString name;
    Engine engine = SQLite;
    QString file;     // SQLite
    QString server;   // PostgreSQL host
    QString port;     // empty: the default port
    QString user;
    QString password;
    QString database;
    QString options;  // extra libpq parameters, "key=value&key=value"
};

// The rules of the connection dialog frmODBCLogon, without widgets.
class ConnectionEditor {
public:
    ConnectionEditor(ConnectionCatalog &catalog, Prompter &prompter);

    // The stored definition of entry i (1-based), split into fields.
    ConnectionFields load(int i) const;
    static ConnectionFields fieldsFrom(const QString &name, const QString &connectionString);

    // The connection string of the fields; nullopt (after "Debe indicar un nombre") without a name.
    // Without a database the string reaches the server only (used to list its databases).
    std::optional<QString> buildConnectionString(const ConnectionFields &fields, bool withDatabase = true);

    // Stores the definition under its name (overwriting an entry of the same name); returns its
    // position, or 0 when nothing was stored.
    int cmdSalvar(const ConnectionFields &fields);
    // The accepted connection string; nothing happens while no entry is selected (selectedIndex < 1).
    std::optional<QString> cmdOK(const ConnectionFields &fields, int selectedIndex);
    // The databases of a PostgreSQL server; throws db::DbError when it cannot be reached.
    QStringList cmdBase(const ConnectionFields &fields);

private:
    ConnectionCatalog &m_catalog;
    Prompter &m_prompter;
};
