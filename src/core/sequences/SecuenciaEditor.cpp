#include "SecuenciaEditor.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Prompter.h"

#include "Connection.h"

#include <optional>

namespace {

std::optional<qint64> whole(const QString &text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

} // namespace

SecuenciaEditor::SecuenciaEditor(ConnectionProvider &connections, Prompter &prompter)
    : m_connections(connections), m_prompter(prompter)
{
}

QString SecuenciaEditor::titulo() const
{
    if (m_modo == QLatin1String("Q"))
        return QStringLiteral("Consulta de secuencia");
    if (m_modo == QLatin1String("C"))
        return QStringLiteral("Cambio de secuencia");
    return QStringLiteral("Alta de secuencia");
}

void SecuenciaEditor::report(const char *operation, const std::exception &e)
{
    reportError(m_prompter, QString::fromLatin1(operation), QStringLiteral("frmSecuencia"),
                ErrorInfo::fromException(e));
}

bool SecuenciaEditor::requireKey(const QString &clave)
{
    m_campoRechazado = QStringLiteral("clave");
    if (clave.trimmed().isEmpty()) {
        m_prompter.information(QStringLiteral("Debe indicar una clave"));
        return false;
    }
    return true;
}

bool SecuenciaEditor::validaDatos(const Secuencia &s)
{
    if (!requireKey(s.clave))
        return false;
    m_campoRechazado = QStringLiteral("minimo");
    const auto minimo = whole(s.minimo);
    if (!minimo) {
        m_prompter.information(QStringLiteral("Debe indicar un limite inferior valido"));
        return false;
    }
    m_campoRechazado = QStringLiteral("maximo");
    const auto maximo = whole(s.maximo);
    if (!maximo || *maximo < *minimo) {
        m_prompter.information(QStringLiteral("Debe indicar un limite superior valido"));
        return false;
    }
    m_campoRechazado = QStringLiteral("incremento");
    const auto incremento = whole(s.incremento);
    if (!incremento || *incremento <= 0) {
        m_prompter.information(QStringLiteral("Debe indicar un incremento valido"));
        return false;
    }
    m_campoRechazado = QStringLiteral("valor");
    const auto valor = whole(s.valor);
    if (!valor || *valor > *maximo) {
        m_prompter.information(QStringLiteral("Debe indicar un valor valido"));
        return false;
    }
    m_campoRechazado.clear();
    return true;
}

bool SecuenciaEditor::fetch(const QString &clave, Secuencia *s)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("SELECT sec_Clave, sec_Minimo, sec_Maximo, sec_Valor, sec_Incremento FROM tSecuencia "
                       "WHERE sec_Clave = ?"),
        {clave});
    if (rs.eof())
        return false;
    if (s)
        *s = {rs.text(QStringLiteral("sec_Clave")), QString::number(rs.integer(QStringLiteral("sec_Minimo"))),
              QString::number(rs.integer(QStringLiteral("sec_Maximo"))),
              QString::number(rs.integer(QStringLiteral("sec_Valor"))),
              QString::number(rs.integer(QStringLiteral("sec_Incremento")))};
    return true;
}

bool SecuenciaEditor::agregarRegistro(const Secuencia &s)
{
    m_continuar = false;
    if (!validaDatos(s))
        return false;
    const QString clave = s.clave.trimmed();
    try {
        if (fetch(clave, nullptr)) {
            m_prompter.exclamation(QStringLiteral("La clave ya esta en uso "));
            return false;
        }
        m_connections.getConnection().execute(
            QStringLiteral(
                "INSERT INTO tSecuencia (sec_Clave, sec_Minimo, sec_Maximo, sec_Valor, sec_Incremento) "
                "VALUES (?, ?, ?, ?, ?)"),
            {clave, *whole(s.minimo), *whole(s.maximo), *whole(s.valor), *whole(s.incremento)});
    } catch (const std::exception &e) {
        report("agregarRegistro", e);
        return false;
    }
    m_continuar = m_prompter.question(
        QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas secuencias"), true);
    return true;
}

bool SecuenciaEditor::modificarRegistro(const Secuencia &s)
{
    if (!validaDatos(s))
        return false;
    const QString clave = s.clave.trimmed();
    try {
        if (!fetch(clave, nullptr)) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        m_connections.getConnection().execute(
            QStringLiteral(
                "UPDATE tSecuencia SET sec_Minimo = ?, sec_Maximo = ?, sec_Valor = ?, sec_Incremento = ? "
                "WHERE sec_Clave = ?"),
            {*whole(s.minimo), *whole(s.maximo), *whole(s.valor), *whole(s.incremento), clave});
    } catch (const std::exception &e) {
        report("modificarRegistro", e);
        return false;
    }
    m_prompter.information(MensajesMantenimiento::actualizado());
    return true;
}

bool SecuenciaEditor::consultarRegistro(const QString &clave, Secuencia *s)
{
    if (!requireKey(clave))
        return false;
    try {
        if (!fetch(clave.trimmed(), s)) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        return true;
    } catch (const std::exception &e) {
        report("consultarRegistro", e);
        return false;
    }
}

bool SecuenciaEditor::eliminarRegistro(const QString &clave)
{
    if (!requireKey(clave))
        return false;
    const QString k = clave.trimmed();
    try {
        if (!fetch(k, nullptr)) {
            m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
            return false;
        }
        if (!m_prompter.question(QStringLiteral("Esta seguro de eliminar la secuencia ") + k, false))
            return false;
        m_connections.getConnection().execute(QStringLiteral("DELETE FROM tSecuencia WHERE sec_Clave = ?"),
                                              {k});
    } catch (const std::exception &e) {
        report("eliminarRegistro", e);
        return false;
    }
    m_prompter.information(MensajesMantenimiento::eliminado());
    return true;
}
