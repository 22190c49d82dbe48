#include "ParametroEditor.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Prompter.h"

#include "Connection.h"

namespace {
const char *const Where = "frmParametro";

ParametroEditor::Parametro trimmed(const ParametroEditor::Parametro &p)
{
    return {p.tipo.trimmed(), p.clave.trimmed(), p.nombre.trimmed(), p.valor};
}
} // namespace

ParametroEditor::ParametroEditor(ConnectionProvider &connections, Prompter &prompter)
    : m_connections(connections), m_prompter(prompter)
{
}

bool ParametroEditor::requireKey(const QString &tipo, const QString &clave)
{
    m_campoRechazado = QStringLiteral("tipo");
    if (tipo.trimmed().isEmpty()) {
        m_prompter.information(QStringLiteral("Debe indicar un tipo"));
        return false;
    }
    m_campoRechazado = QStringLiteral("clave");
    if (clave.trimmed().isEmpty()) {
        m_prompter.information(QStringLiteral("Debe indicar una clave"));
        return false;
    }
    m_campoRechazado.clear();
    return true;
}

bool ParametroEditor::validaDatos(const Parametro &p)
{
    if (!requireKey(p.tipo, p.clave))
        return false;
    if (p.nombre.trimmed().isEmpty()) {
        m_campoRechazado = QStringLiteral("nombre");
        m_prompter.information(QStringLiteral("Debe indicar un nombre"));
        return false;
    }
    return true;
}

bool ParametroEditor::fetch(const QString &tipo, const QString &clave, Parametro *p)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("SELECT param_Tipo, param_Clave, param_Nombre, param_Valor FROM tParametro "
                       "WHERE param_Tipo = ? AND param_Clave = ?"),
        {tipo, clave});
    if (rs.eof())
        return false;
    if (p)
        *p = {rs.text(QStringLiteral("param_Tipo")), rs.text(QStringLiteral("param_Clave")),
              rs.text(QStringLiteral("param_Nombre")), rs.text(QStringLiteral("param_Valor"))};
    return true;
}

bool ParametroEditor::agregarRegistro(const Parametro &entrada)
{
    m_continuar = false;
    if (!validaDatos(entrada))
        return false;
    const Parametro p = trimmed(entrada);
    try {
        Parametro existing;
        if (fetch(p.tipo, p.clave, &existing)) {
            m_prompter.exclamation(QStringLiteral("La clave ya esta en uso para el siguiente parametro ") +
                                   existing.nombre);
            return false;
        }
        m_connections.getConnection().execute(
            QStringLiteral("INSERT INTO tParametro (param_Tipo, param_Clave, param_Nombre, param_Valor) "
                           "VALUES (?, ?, ?, ?)"),
            {p.tipo, p.clave, p.nombre, p.valor});
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("agregarRegistro"), QString::fromLatin1(Where),
                    ErrorInfo::fromException(e));
        return false;
    }
    m_continuar = m_prompter.question(
        QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas parametros"), true);
    return true;
}

bool ParametroEditor::modificarRegistro(const Parametro &entrada)
{
    if (!validaDatos(entrada))
        return false;
    const Parametro p = trimmed(entrada);
    try {
        if (!fetch(p.tipo, p.clave, nullptr)) {
            m_prompter.exclamation(QStringLiteral("La clave del parametro no existe"));
            return false;
        }
        m_connections.getConnection().execute(
            QStringLiteral("UPDATE tParametro SET param_Nombre = ?, param_Valor = ? "
                           "WHERE param_Tipo = ? AND param_Clave = ?"),
            {p.nombre, p.valor, p.tipo, p.clave});
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("modificarRegistro"), QString::fromLatin1(Where),
                    ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(MensajesMantenimiento::actualizado());
    return true;
}

bool ParametroEditor::consultarRegistro(const QString &tipo, const QString &clave, Parametro *p)
{
    if (!requireKey(tipo, clave))
        return false;
    try {
        if (!fetch(tipo.trimmed(), clave.trimmed(), p)) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("consultarRegistro"), QString::fromLatin1(Where),
                    ErrorInfo::fromException(e));
        return false;
    }
}

bool ParametroEditor::eliminarRegistro(const QString &tipo, const QString &clave)
{
    if (!requireKey(tipo, clave))
        return false;
    try {
        if (!fetch(tipo.trimmed(), clave.trimmed(), nullptr)) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        if (!m_prompter.question(QStringLiteral("Esta seguro de eliminar el parametro"), false))
            return false;
        m_connections.getConnection().execute(
            QStringLiteral("DELETE FROM tParametro WHERE param_Tipo = ? AND param_Clave = ?"),
            {tipo.trimmed(), clave.trimmed()});
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("eliminarRegistro"), QString::fromLatin1(Where),
                    ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(MensajesMantenimiento::eliminado());
    return true;
}

QStringList ParametroEditor::tipos()
{
    QStringList out;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("SELECT DISTINCT param_Tipo FROM tParametro ORDER BY param_Tipo"));
        for (; !rs.eof(); rs.moveNext())
            out << rs.text(QStringLiteral("param_Tipo"));
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("tipos"), QString::fromLatin1(Where),
                    ErrorInfo::fromException(e));
    }
    return out;
}
