#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class ConnectionProvider;
class Prompter;

namespace db {
class Connection;
}

// One branch of the chain and the connection to its database (tSucursal).
class cSucursal : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Almacen READ Almacen WRITE setAlmacen)
    Q_PROPERTY(QString Matriz READ Matriz WRITE setMatriz)
    Q_PROPERTY(QString Clave READ Clave WRITE setClave)
    Q_PROPERTY(QString Nombre READ Nombre WRITE setNombre)
    Q_PROPERTY(QString DSN READ DSN WRITE setDSN)
    Q_PROPERTY(QString User READ User WRITE setUser)
    Q_PROPERTY(QString Psw READ Psw WRITE setPsw)
    Q_PROPERTY(QString Usuario READ Usuario WRITE setUsuario)
    Q_PROPERTY(QString Contrasena READ Contrasena WRITE setContrasena)
    Q_PROPERTY(QVariant Connection READ scriptConnection)
public:
    // Makes the script object (an ADO connection) over a provider; the scripting layer sets it.
    using ScriptConnectionMaker = std::function<QVariant(ConnectionProvider &)>;
    static void setScriptConnectionMaker(ScriptConnectionMaker maker);

    cSucursal(ConnectionProvider &connections, Prompter &prompter, QObject *parent = nullptr);
    ~cSucursal() override;

    QString Almacen() const { return m_almacen; }
    void setAlmacen(const QString &v) { m_almacen = v; }
    QString Matriz() const { return m_matriz; }
    void setMatriz(const QString &v) { m_matriz = v; }
    QString Clave() const { return m_clave; }
    void setClave(const QString &v) { m_clave = v; }
    QString Nombre() const { return m_nombre; }
    void setNombre(const QString &v) { m_nombre = v; }
    QString DSN() const { return m_dsn; }
    void setDSN(const QString &v) { m_dsn = v; }
    QString User() const { return m_user; }
    void setUser(const QString &v) { m_user = v; }
    QString Psw() const { return m_psw; }
    void setPsw(const QString &v) { m_psw = v; }
    QString Usuario() const { return m_usuario; }
    void setUsuario(const QString &v) { m_usuario = v; }
    QString Contrasena() const { return m_contrasena; }
    void setContrasena(const QString &v) { m_contrasena = v; }

    // The branch connection once abrirSucursal succeeded, else nullptr.
    db::Connection *Connection() const { return m_connection.get(); }
    // What scripts read as Connection: the branch connection as an ADO connection object, one
    // per branch object. Its statements fail with "La conexion de la sucursal no esta abierta"
    // while the branch is closed (before abrirSucursal, after cerrarSucursal).
    QVariant scriptConnection();

    Q_INVOKABLE void cerrarSucursal();
    Q_INVOKABLE bool cargarSucursal(const QString &clave);
    Q_INVOKABLE bool abrirSucursal();

    // The branch's DSN with User/Psw filled in where the DSN names none, and a 15 s connect time-out.
    QString effectiveConnectionString() const;

private:
    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    std::unique_ptr<db::Connection> m_connection;
    QVariant m_scriptConnection;
    QString m_almacen, m_matriz, m_clave, m_nombre, m_dsn, m_user, m_psw, m_usuario, m_contrasena;
};
