#pragma once

#include <QString>
#include <QStringList>

class ConnectionProvider;
class Prompter;
class cAplication;
class cConfigure;

// The rules of frmSelAlmacen, shown right after a login: the database's name, the user's name
// and photo, and the warehouse the session works for (ALMACEN).
class LoginWarehouse {
public:
    static const QString kDebeSeleccionar; // "Debe seleccionar el almacen"

    LoginWarehouse(ConnectionProvider &connections, cConfigure &config, cAplication &app, Prompter &prompter);

    // Reads the user and the warehouses; a database error goes to the error report.
    bool load();
    // The value after "=" of the "Database" part of CONEXION; for our URI strings, the database
    // (PostgreSQL) or the file's name (SQLite).
    static QString databaseName(const QString &conexion);
    QString database() const { return m_database; }
    QString userName() const { return m_userName; }
    // A temporary file with the user's photo, empty when he has none.
    QString photoFile() const { return m_photo; }
    // "key<Tab>name" entries; selected() is the user's home warehouse, -1 when not listed.
    const QStringList &warehouses() const { return m_warehouses; }
    int selected() const { return m_selected; }

    // The chosen entry's first tab-separated field becomes ALMACEN.
    bool cmdOK(const QString &entry);

private:
    ConnectionProvider &m_connections;
    cConfigure &m_config;
    cAplication &m_app;
    Prompter &m_prompter;
    QString m_database;
    QString m_userName;
    QString m_photo;
    QStringList m_warehouses;
    int m_selected = -1;
};
