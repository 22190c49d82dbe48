#include "ModuloEditor.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Prompter.h"
#include "Transaction.h"

namespace {

QString key(const QString &entry)
{
    return entry.section(QLatin1Char('\t'), 0, 0).trimmed();
}

} // namespace

ModuloEditor::ModuloEditor(ConnectionProvider &connections, Prompter &prompter, const QString &mode)
    : m_connections(connections), m_prompter(prompter), m_mode(mode.toUpper())
{
}

QString ModuloEditor::title() const
{
    if (m_mode == QLatin1String("A"))
        return QStringLiteral("Alta de Modulo");
    if (m_mode == QLatin1String("C"))
        return QStringLiteral("Cambio de Modulo");
    return QStringLiteral("Consulta de Modulo");
}

QStringList ModuloEditor::tipos()
{
    QStringList out;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select tmod_Clave, tmod_Nombre from tTipoModulo order by tmod_Clave"));
        for (; !rs.eof(); rs.moveNext())
            out << rs.text(QStringLiteral("tmod_Clave")) + QLatin1Char('\t') +
                       rs.text(QStringLiteral("tmod_Nombre"));
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmModulo.tipos"), ErrorInfo::fromException(e));
    }
    return out;
}

QStringList ModuloEditor::modulos()
{
    QStringList out;
    for (const Modulo &m : lista())
        out << m.clave + QLatin1Char('\t') + m.nombre;
    return out;
}

QList<ModuloEditor::Modulo> ModuloEditor::lista()
{
    QList<Modulo> out;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(QStringLiteral(
            "select mod_Clave, mod_Nombre, mod_Descripcion, mod_ClaveSup, mod_Secuencia, tmod_Clave, "
            "mod_Arbol from tModulo order by mod_Arbol"));
        for (; !rs.eof(); rs.moveNext()) {
            Modulo m;
            m.clave = rs.text(QStringLiteral("mod_Clave"));
            m.nombre = rs.text(QStringLiteral("mod_Nombre"));
            m.descripcion = rs.text(QStringLiteral("mod_Descripcion"));
            m.claveSup = rs.text(QStringLiteral("mod_ClaveSup"));
            m.secuencia = QString::number(rs.integer(QStringLiteral("mod_Secuencia")));
            m.tipo = rs.text(QStringLiteral("tmod_Clave"));
            m.arbol = rs.text(QStringLiteral("mod_Arbol"));
            out << m;
        }
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmModuloCon.lista"), ErrorInfo::fromException(e));
    }
    return out;
}

bool ModuloEditor::consultarRegistro(const QString &clave, Modulo &m)
{
    for (const Modulo &x : lista())
        if (x.clave == clave) {
            m = x;
            return true;
        }
    m_prompter.information(MensajesMantenimiento::claveNoExiste());
    return false;
}

bool ModuloEditor::validaDatos(const Modulo &m)
{
    QString message;
    bool sequenceOk = false;
    m.secuencia.trimmed().toInt(&sequenceOk);
    m_campoRechazado.clear();
    const auto rechaza = [&](const char *campo, const QString &texto) {
        m_campoRechazado = QLatin1String(campo);
        message = texto;
    };
    if (m.clave.trimmed().isEmpty())
        rechaza("clave", QStringLiteral("Debe indicar una clave"));
    else if (m.nombre.trimmed().isEmpty())
        rechaza("nombre", QStringLiteral("Debe indicar un nombre"));
    else if (key(m.tipo).isEmpty())
        rechaza("tipo", QStringLiteral("Debe seleccionar un tipo de componente"));
    else if (key(m.claveSup).isEmpty())
        rechaza("superior", QStringLiteral("Debe seleccionar un modulo superior"));
    else if (!sequenceOk)
        rechaza("secuencia", QStringLiteral("Debe indicar un numero de secuencia valido"));
    if (message.isEmpty())
        return true;
    m_prompter.information(message);
    return false;
}

bool ModuloEditor::guardaDatos(const Modulo &m, bool *continuar)
{
    if (m_mode == QLatin1String("Q") || !validaDatos(m))
        return false;
    try {
        return m_mode == QLatin1String("A") ? agregarRegistro(m, continuar) : modificarRegistro(m);
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmModulo.guardaDatos"),
                    ErrorInfo::fromException(e));
        return false;
    }
}

bool ModuloEditor::agregarRegistro(const Modulo &m, bool *continuar)
{
    db::Connection &conn = m_connections.getConnection();
    const QString clave = m.clave.trimmed();
    db::Transaction tx(conn);
    if (conn.scalar(QStringLiteral("select count(*) from tModulo where mod_Clave = ?"), {clave}).toInt() >
        0) {
        tx.rollback();
        m_prompter.exclamation(QStringLiteral("La clave ya esta en uso para el siguiente modulo"));
        return false;
    }
    const QVariant parentPath =
        conn.scalar(QStringLiteral("select MOD_ARBOL from tModulo where mod_Clave = ?"), {key(m.claveSup)});
    if (!parentPath.isValid()) {
        tx.rollback();
        m_prompter.information(QStringLiteral("Debe seleccionar un modulo superior"));
        return false;
    }
    conn.execute(
        QStringLiteral("insert into tModulo (mod_ClaveSup, mod_Clave, mod_Secuencia, tmod_clave, mod_Nombre, "
                       "mod_Descripcion, mod_arbol) values (?, ?, ?, ?, ?, ?, ?)"),
        {key(m.claveSup), clave, m.secuencia.trimmed().toInt(), key(m.tipo), m.nombre.trimmed(),
         m.descripcion, parentPath.toString() + QLatin1Char('.') + clave});
    tx.commit();
    const bool more = m_prompter.question(
        QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas modulos"), true);
    if (continuar)
        *continuar = more;
    return true;
}

bool ModuloEditor::modificarRegistro(const Modulo &m)
{
    const int rows = m_connections.getConnection().execute(
        QStringLiteral(
            "update tModulo set mod_Nombre = ?, mod_Secuencia = ?, mod_claveSup = ?, tmod_clave = ?, "
            "mod_Descripcion = ? where mod_Clave = ?"),
        {m.nombre.trimmed(), m.secuencia.trimmed().toInt(), key(m.claveSup), key(m.tipo), m.descripcion,
         m.clave.trimmed()});
    if (rows == 0) {
        m_prompter.information(MensajesMantenimiento::claveNoExiste());
        return false;
    }
    m_prompter.information(MensajesMantenimiento::actualizado());
    return true;
}

bool ModuloEditor::eliminarRegistro(const QString &clave)
{
    if (!m_prompter.question(QStringLiteral("Esta seguro de eliminar el modulo"), false))
        return false;
    try {
        db::Connection &conn = m_connections.getConnection();
        db::Transaction tx(conn);
        const int uses =
            conn.scalar(QStringLiteral("select count(*) from tSeguridad where mod_Clave = ?"), {clave})
                .toInt() +
            conn.scalar(QStringLiteral("select count(*) from tModulo where mod_ClaveSup = ?"), {clave})
                .toInt();
        if (uses > 0) {
            tx.rollback();
            m_prompter.exclamation(MensajesMantenimiento::enUso());
            return false;
        }
        conn.execute(QStringLiteral("delete from tModulo where mod_Clave = ?"), {clave});
        tx.commit();
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmModulo.eliminarRegistro"),
                    ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(MensajesMantenimiento::eliminado());
    return true;
}
