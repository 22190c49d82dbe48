#include "cSucursal.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "ConnectionString.h"
#include "Log.h"
#include "Recordset.h"

#include <QPointer>
#include <QUrl>
#include <QUrlQuery>

#include <mutex>
#include <vector>

namespace {

cSucursal::ScriptConnectionMaker &scriptConnectionMaker()
{
    static cSucursal::ScriptConnectionMaker maker;
    return maker;
}

// The branch connection for a script object, which may outlive the branch object: once that
// is gone or closed, statements fail instead of reaching a freed connection.
class BranchConnectionProvider : public ConnectionProvider {
public:
    explicit BranchConnectionProvider(cSucursal *branch) : m_branch(branch) {}
    db::Connection *currentConnection() override { return m_branch ? m_branch->Connection() : nullptr; }
    db::Connection &getConnection() override
    {
        db::Connection *c = currentConnection();
        if (!c)
            throw db::DbError(db::errors::NotOpen,
                              QStringLiteral("La conexion de la sucursal no esta abierta"),
                              QStringLiteral("cSucursal.Connection"));
        return *c;
    }

private:
    QPointer<cSucursal> m_branch;
};

// Script objects refer to their provider by reference and may live as long as the script that
// holds them, so providers live until the process ends: one small object per branch object
// whose Connection a script read.
BranchConnectionProvider &newProvider(cSucursal *branch)
{
    static std::mutex lock;
    static std::vector<std::unique_ptr<BranchConnectionProvider>> providers;
    const std::lock_guard<std::mutex> guard(lock);
    providers.push_back(std::make_unique<BranchConnectionProvider>(branch));
    return *providers.back();
}

} // namespace

void cSucursal::setScriptConnectionMaker(ScriptConnectionMaker maker)
{
    scriptConnectionMaker() = std::move(maker);
}

QVariant cSucursal::scriptConnection()
{
    if (!m_scriptConnection.isValid() && scriptConnectionMaker())
        m_scriptConnection = scriptConnectionMaker()(newProvider(this));
    return m_scriptConnection;
}

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
        reportError(m_prompter, QStringLiteral("Error al abrir la conexion"),
                    QStringLiteral("cSucursal.abrirSucursal"), ErrorInfo::fromException(e));
        return false;
    }
}
