#include "cSucursal.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "ConnectionString.h"
#include "Log.h"
#include "Recordset.h"

#include <QUrl>
#include <QUrlQuery>

cSucursal::cSucursal(ConnectionProvider &connections, Prompter &prompter, QObject *parent)
    : QObject(parent), m_connections(connections), m_prompter(prompter)
{
}

cSucursal::~cSucursal()
{
    cerrarSucursal();
}

void cSucursal::cerrarSucursal()
{
    if (!m_connection)
        return;
    try {
        m_connection->close();
    } catch (...) {
    }
    m_connection.reset();
}

bool cSucursal::cargarSucursal(const QString &clave)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select * from tSucursal where suc_Clave = ?"), {clave});
    if (rs.eof())
        return false;
    m_clave = rs.text(QStringLiteral("suc_clave"));
    m_nombre = rs.text(QStringLiteral("suc_Nombre"));
    m_dsn = rs.text(QStringLiteral("suc_DSN"));
    m_user = rs.text(QStringLiteral("suc_User"));
    m_psw = rs.text(QStringLiteral("suc_Psw"));
    m_usuario = rs.text(QStringLiteral("usu_Clave"));
    m_contrasena = rs.text(QStringLiteral("usu_Psw"));
    m_matriz = rs.text(QStringLiteral("suc_Matriz"));
    m_almacen = rs.text(QStringLiteral("alm_Clave"));
    return true;
}

QString cSucursal::effectiveConnectionString() const
{
    const db::ConnectionString cs = db::ConnectionString::parse(m_dsn);
    if (cs.engine() != db::Engine::PostgreSQL)
        return cs.toString();
    QUrl url(cs.toString());
    if (url.userName().isEmpty() && !m_user.isEmpty())
        url.setUserName(m_user);
    if (url.password().isEmpty() && !m_psw.isEmpty())
        url.setPassword(m_psw);
    QUrlQuery query(url);
    if (!query.hasQueryItem(QStringLiteral("connect_timeout")))
        query.addQueryItem(QStringLiteral("connect_timeout"), QStringLiteral("15"));
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

bool cSucursal::abrirSucursal()
{
    cerrarSucursal();
    try {
        auto connection = std::make_unique<db::Connection>();
        connection->open(effectiveConnectionString());
        m_connection = std::move(connection);
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("Error al abrir la conexion"), QStringLiteral("cSucursal.abrirSucursal"),
                    ErrorInfo::fromException(e));
        return false;
    }
}
