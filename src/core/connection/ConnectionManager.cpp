#include "ConnectionManager.h"

#include "Connection.h"
#include "ConnectionCatalog.h"
#include "DbError.h"
#include "Recordset.h"
#include "Log.h"
#include "Prompter.h"
#include "cConfigure.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdlib>

ConnectionManager::ConnectionManager(cConfigure &config, ConnectionCatalog &catalog, Prompter &prompter)
    : m_config(config), m_catalog(catalog), m_prompter(prompter), m_exit([] { std::exit(0); })
{
}

ConnectionManager::~ConnectionManager() = default;

void ConnectionManager::restoreCursor()
{
    if (m_restoreCursor)
        m_restoreCursor();
}

bool ConnectionManager::pingConnection(db::Connection *connection)
{
    if (!connection || !connection->isOpen())
        return false;
    try {
        return connection->ping();
    } catch (const std::exception &) {
        return false;
    }
}

bool ConnectionManager::reopenConnection(db::Connection *connection)
{
    if (!connection)
        return false;
    try {
        connection->reopen();
    } catch (const std::exception &) {
        return false;
    }
    return pingConnection(connection);
}

bool ConnectionManager::connectDatabase()
{
    if (m_connection) {
        try {
            m_connection->close();
        } catch (...) {
        }
        m_connection.reset();
    }

    auto connection = std::make_unique<db::Connection>();
    try {
        connection->open(m_config.getValue(QStringLiteral("CONEXION")).toString());
    } catch (const std::exception &e) {
        restoreCursor();
        reportError(m_prompter, QStringLiteral("Error al abrir la conexion"), QStringLiteral("connectDatabase"),
                    ErrorInfo::fromException(e));
        return false;
    }
    m_connection = std::move(connection);
    // A reconnection keeps the audit trail's user and workstation.
    try {
        m_connection->setSessionContext(m_config.getString(QStringLiteral("USUARIO")),
                                        m_config.getString(QStringLiteral("COMPUTER")));
    } catch (const std::exception &e) {
        writeLog(QStringLiteral("connectDatabase: ") + QString::fromUtf8(e.what()));
    }

    if (!pingConnection(m_connection.get())) {
        restoreCursor();
        m_prompter.critical(QStringLiteral("Error de conexion a base de datos"));
        return false;
    }

    m_databaseCurrent = isDatabaseCurrent();
    if (!m_databaseCurrent) {
        restoreCursor();
        const QString question = QStringLiteral("La base de datos <") + m_catalog.selected() +
                                 QStringLiteral("> no esta actualizada para usar esta version del sistema \n\n[") +
                                 QLatin1String(kSchemaVersion) + QStringLiteral("]\n\nDesea continuar");
        if (!m_prompter.question(question, false))
            return false;
        m_databaseCurrent = true;
    }

    m_config.saveValue(QStringLiteral("CONEXION"));
    return true;
}

bool ConnectionManager::isDatabaseCurrent()
{
    if (!m_connection)
        return false;
    try {
        db::Recordset rs = m_connection->openRecordset(QStringLiteral("select * from tUpgrade Where upg_Key = ?"),
                                                       {QLatin1String(kSchemaVersion)});
        return !rs.eof();
    } catch (const std::exception &) {
        // A database without tUpgrade is simply not current.
        return false;
    }
}

bool ConnectionManager::fieldExists(const db::Recordset &recordset, const QString &name)
{
    return recordset.hasField(name);
}

db::Connection *ConnectionManager::currentConnection()
{
    return m_connection.get();
}

db::Connection &ConnectionManager::getConnection()
{
    if (pingConnection(m_connection.get()))
        return *m_connection;
    if (reopenConnection(m_connection.get()))
        return *m_connection;

    QElapsedTimer lost;
    lost.start();
    qint64 pauseMs = 100;
    while (!connectDatabase()) {
        if (reopenConnection(m_connection.get()))
            break;
        if (m_unattendedLimitMs >= 0) {
            // Nobody answers: pause longer each time (the attempts are logged) and give up in time.
            const qint64 left = m_unattendedLimitMs - lost.elapsed();
            if (left > 0) {
                QThread::msleep(ulong(std::min(pauseMs, left)));
                pauseMs = std::min<qint64>(pauseMs * 2, 5000);
                continue;
            }
            m_exit();
            throw db::DbError(-1, QStringLiteral("No hay conexion a base de datos"), QStringLiteral("getConnection"),
                              {}, db::DbError::ConnectionLost);
        }
        if (m_prompter.question(
                QStringLiteral("Se ha perdido la conexion a base de datos, desea reintentar la conexion"), true))
            continue;
        if (m_prompter.question(QStringLiteral("No hay conexion a base de datos, desea salir de la aplicación"),
                                false)) {
            m_exit();
            // Only reached when the exit handler returns (tests): the caller gets an error, not a dead handle.
            throw db::DbError(-1, QStringLiteral("No hay conexion a base de datos"), QStringLiteral("getConnection"));
        }
    }
    return *m_connection;
}

db::Recordset ConnectionManager::openRecordset(const QString &sql, const db::Params &params)
{
    return getConnection().openRecordset(sql, params);
}
