#include "PerfilEditor.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Prompter.h"
#include "Transaction.h"

const QString PerfilEditor::kClaveEnUso = QStringLiteral("La clave ya esta en uso para el siguiente Perfil");
const QString PerfilEditor::kAgregado =
    QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas Perfiles");
const QString PerfilEditor::kActualizado = MensajesMantenimiento::actualizado();
const QString PerfilEditor::kConfirmaBaja = QStringLiteral("Esta seguro de eliminar el Perfil");
const QString PerfilEditor::kEnUso = MensajesMantenimiento::enUso();
const QString PerfilEditor::kEliminado = MensajesMantenimiento::eliminado();

namespace {
// A module tree deeper than this has a cycle in mod_ClaveSup.
constexpr int kMaxDepth = 32;
} // namespace

PerfilEditor::PerfilEditor(ConnectionProvider &connections, Prompter &prompter, const QString &mode)
    : m_connections(connections), m_prompter(prompter), m_mode(mode.toUpper())
{
}

QString PerfilEditor::title() const
{
    if (m_mode == QLatin1String("A"))
        return QStringLiteral("Alta de Perfil");
    if (m_mode == QLatin1String("C"))
        return QStringLiteral("Cambio de Perfil");
    return QStringLiteral("Consulta de Perfil");
}

QList<PerfilEditor::Node> PerfilEditor::level(const QString &perfil, const QString &parent, int depth)
{
    QList<Node> out;
    if (depth > kMaxDepth)
        return out;
    const QString select = QStringLiteral(
        "select tModulo.mod_Clave, tModulo.mod_Nombre, tSeguridad.perf_Clave from tModulo (nolock) "
        "left join tSeguridad (nolock) on tSeguridad.mod_Clave = tModulo.mod_Clave and "
        "tSeguridad.perf_Clave = ? where ");
    db::Recordset rs =
        parent.isEmpty()
            ? m_connections.getConnection().openRecordset(
                  select + QStringLiteral("tModulo.mod_ClaveSup is null order by tModulo.mod_Secuencia"),
                  {perfil})
            : m_connections.getConnection().openRecordset(
                  select + QStringLiteral("tModulo.mod_ClaveSup = ? order by tModulo.mod_Secuencia"),
                  {perfil, parent});
    for (; !rs.eof(); rs.moveNext()) {
        Node n;
        n.key = rs.text(QStringLiteral("mod_Clave"));
        n.name = rs.text(QStringLiteral("mod_Nombre"));
        n.checked = !rs.isNull(QStringLiteral("perf_Clave"));
        out.append(n);
    }
    for (Node &n : out)
        n.children = level(perfil, n.key, depth + 1);
    return out;
}

QList<PerfilEditor::Node> PerfilEditor::cargaArbol(const QString &perfil)
{
    try {
        return level(perfil, QString(), 0);
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmPerfil.cargaArbol"),
                    ErrorInfo::fromException(e));
        return {};
    }
}

QSet<QString> PerfilEditor::checkedKeys(const QList<Node> &tree)
{
    QSet<QString> out;
    for (const Node &n : tree) {
        if (n.checked)
            out.insert(n.key);
        out.unite(checkedKeys(n.children));
    }
    return out;
}

bool PerfilEditor::consultarRegistro(const QString &clave, QString &nombre)
{
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select perf_Nombre from tPerfil where perf_Clave = ?"), {clave});
        if (rs.eof()) {
            m_prompter.information(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        nombre = rs.text(QStringLiteral("perf_Nombre"));
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmPerfil.consultarRegistro"),
                    ErrorInfo::fromException(e));
        return false;
    }
}

bool PerfilEditor::validaDatos(const QString &clave, const QString &nombre)
{
    m_campoRechazado.clear();
    if (clave.trimmed().isEmpty()) {
        m_campoRechazado = QStringLiteral("clave");
        m_prompter.information(QStringLiteral("Debe indicar una clave"));
        return false;
    }
    if (nombre.trimmed().isEmpty()) {
        m_campoRechazado = QStringLiteral("nombre");
        m_prompter.information(QStringLiteral("Debe indicar un nombre"));
        return false;
    }
    return true;
}

bool PerfilEditor::guardaDatos(const QString &clave, const QString &nombre, const QSet<QString> &rights,
                               bool *continuar)
{
    if (readOnly() || !validaDatos(clave, nombre))
        return false;
    const QString key = clave.trimmed();
    try {
        db::Connection &conn = m_connections.getConnection();
        db::Transaction tx(conn);
        if (m_mode == QLatin1String("A")) {
            if (conn.scalar(QStringLiteral("select count(*) from tPerfil where perf_Clave = ?"), {key})
                    .toInt() > 0) {
                tx.rollback();
                m_prompter.exclamation(kClaveEnUso);
                return false;
            }
            conn.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values (?, ?)"),
                         {key, nombre.trimmed()});
        } else if (conn.execute(QStringLiteral("update tPerfil set perf_Nombre = ? where perf_Clave = ?"),
                                {nombre.trimmed(), key}) == 0) {
            tx.rollback();
            m_prompter.information(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        conn.execute(QStringLiteral("DELETE FROM tSeguridad where perf_Clave = ?"), {key});
        QStringList sorted(rights.cbegin(), rights.cend());
        sorted.sort();
        for (const QString &m : sorted)
            conn.execute(QStringLiteral("insert into tSeguridad(perf_clave,mod_Clave) values (?, ?)"),
                         {key, m});
        tx.commit();
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmPerfil.guardaDatos"),
                    ErrorInfo::fromException(e));
        return false;
    }
    if (m_mode == QLatin1String("A")) {
        const bool more = m_prompter.question(kAgregado, true);
        if (continuar)
            *continuar = more;
    } else {
        m_prompter.information(kActualizado);
    }
    return true;
}

bool PerfilEditor::eliminarRegistro(const QString &clave)
{
    if (!m_prompter.question(kConfirmaBaja, false))
        return false;
    try {
        db::Connection &conn = m_connections.getConnection();
        db::Transaction tx(conn);
        if (conn.scalar(QStringLiteral("select count(*) from tUsuario where perf_Clave = ?"), {clave})
                .toInt() > 0) {
            tx.rollback();
            m_prompter.exclamation(kEnUso);
            return false;
        }
        conn.execute(QStringLiteral("delete from tSeguridad where perf_Clave = ?"), {clave});
        conn.execute(QStringLiteral("delete from tPerfil where perf_Clave = ?"), {clave});
        tx.commit();
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmPerfil.eliminarRegistro"),
                    ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(kEliminado);
    return true;
}
