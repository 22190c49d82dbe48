#include "CodigoEditor.h"

#include "cCode.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Permisos.h"
#include "Prompter.h"

#include "Connection.h"
#include "Convert.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

const QString CodigoEditor::kSinAcceso = MensajesMantenimiento::sinAcceso();
const QString CodigoEditor::kClaveEnUso = QStringLiteral("La clave ya esta en uso para el siguiente Codigo");
const QString CodigoEditor::kAgregado =
    QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas Codigos");
const QString CodigoEditor::kNoExiste = QStringLiteral("La clave del Codigo no existe");
const QString CodigoEditor::kActualizado = MensajesMantenimiento::actualizado();
const QString CodigoEditor::kConfirmaBaja = QStringLiteral("Esta seguro de eliminar el Codigo");
const QString CodigoEditor::kEliminado = MensajesMantenimiento::eliminado();
const QString CodigoEditor::kExportado = QStringLiteral("Se ha exportado exitosamente");

CodigoEditor::CodigoEditor(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter,
                           const QString &modo)
    : m_connections(connections), m_permisos(permisos), m_prompter(prompter)
{
    setModo(modo);
}

QString CodigoEditor::titulo() const
{
    if (m_modo == QLatin1String("C"))
        return QStringLiteral("Cambio de Codigo");
    if (m_modo == QLatin1String("Q"))
        return QStringLiteral("Consulta de Codigo");
    if (m_modo == QLatin1String("R"))
        return QStringLiteral("Ejecutar codigo");
    return QStringLiteral("Alta de Codigo");
}

bool CodigoEditor::soloLectura() const
{
    return m_modo == QLatin1String("Q") || m_modo == QLatin1String("R");
}

bool CodigoEditor::puede(QChar comando) const
{
    return m_permisos.puedeComando(QStringLiteral("frmCodigo"), comando);
}

bool CodigoEditor::checkRight(QChar comando)
{
    if (puede(comando))
        return true;
    m_prompter.exclamation(kSinAcceso);
    return false;
}

void CodigoEditor::report(const char *operation, const std::exception &e)
{
    reportError(m_prompter, QString(), QStringLiteral("frmCodigo.") + QLatin1String(operation),
                ErrorInfo::fromException(e));
}

bool CodigoEditor::validaDatos(const Codigo &c)
{
    const auto rechaza = [this](const char *campo, const QString &message) {
        m_campoRechazado = QLatin1String(campo);
        m_prompter.information(message);
        return false;
    };
    m_campoRechazado.clear();
    if (c.clave.trimmed().isEmpty())
        return rechaza("clave", QStringLiteral("Debe indicar una clave"));
    if (c.nombre.trimmed().isEmpty())
        return rechaza("nombre", QStringLiteral("Debe indicar un nombre"));
    const QString activo = c.activo.trimmed().toUpper();
    if (activo != QLatin1String("S") && activo != QLatin1String("N"))
        return rechaza("activo", QStringLiteral("De indicar si esta activo o no el procedimiento"));
    return true;
}

bool CodigoEditor::fetch(const QString &clave, Codigo *c)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("SELECT codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo FROM tCodigo "
                       "WHERE codigo_Clave = ?"),
        {clave});
    if (rs.eof())
        return false;
    if (c)
        *c = {rs.text(QStringLiteral("codigo_Clave")), rs.text(QStringLiteral("codigo_Nombre")),
              rs.text(QStringLiteral("codigo_Text")),
              rs.text(QStringLiteral("codigo_Activo")).trimmed().toUpper()};
    return true;
}

QString CodigoEditor::preguntaSintaxis(const QString &error)
{
    return QStringLiteral("El codigo tiene un error de sintaxis: ") + error +
           QStringLiteral(". ¿Desea guardarlo de todos modos?");
}

bool CodigoEditor::revisaSintaxis(const Codigo &c)
{
    m_errorSintaxis.clear();
    m_lineaError = 0;
    const QString clave = c.clave.trimmed();
    if (cCode::compila(clave, c.text, clave.compare(m_libreria, Qt::CaseInsensitive) == 0, &m_errorSintaxis,
                       &m_lineaError))
        return true;
    // A script that does not compile fails at every event: saved only on purpose.
    return m_prompter.question(preguntaSintaxis(m_errorSintaxis), false);
}

bool CodigoEditor::agregarRegistro(const Codigo &c)
{
    m_continuar = false;
    if (!checkRight(QLatin1Char('A')) || !validaDatos(c) || !revisaSintaxis(c))
        return false;
    const QString clave = c.clave.trimmed();
    try {
        Codigo existing;
        if (fetch(clave, &existing)) {
            m_prompter.exclamation(kClaveEnUso + QLatin1Char(' ') + existing.nombre);
            return false;
        }
        m_connections.getConnection().execute(
            QStringLiteral("INSERT INTO tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) "
                           "VALUES (?, ?, ?, ?)"),
            {clave, c.nombre.trimmed(), c.text, c.activo.trimmed().toUpper()});
    } catch (const std::exception &e) {
        report("agregarRegistro", e);
        return false;
    }
    m_continuar = m_prompter.question(kAgregado, true);
    return true;
}

bool CodigoEditor::modificarRegistro(const Codigo &c)
{
    if (!checkRight(QLatin1Char('C')) || !validaDatos(c) || !revisaSintaxis(c))
        return false;
    try {
        if (m_connections.getConnection().execute(
                QStringLiteral("UPDATE tCodigo SET codigo_Nombre = ?, codigo_Text = ?, codigo_Activo = ? "
                               "WHERE codigo_Clave = ?"),
                {c.nombre.trimmed(), c.text, c.activo.trimmed().toUpper(), c.clave.trimmed()}) == 0) {
            m_prompter.exclamation(kNoExiste);
            return false;
        }
    } catch (const std::exception &e) {
        report("modificarRegistro", e);
        return false;
    }
    m_prompter.information(kActualizado);
    return true;
}

bool CodigoEditor::consultarRegistro(const QString &clave, Codigo *c)
{
    if (!checkRight(QLatin1Char('Q')))
        return false;
    if (clave.trimmed().isEmpty()) {
        m_prompter.information(QStringLiteral("Debe indicar una clave"));
        return false;
    }
    try {
        if (!fetch(clave.trimmed(), c)) {
            m_prompter.exclamation(kNoExiste);
            return false;
        }
        return true;
    } catch (const std::exception &e) {
        report("consultarRegistro", e);
        return false;
    }
}

bool CodigoEditor::historial(const QString &clave, QList<Cambio> *cambios)
{
    if (!checkRight(QLatin1Char('Q')))
        return false;
    try {
        cambios->clear();
        for (db::Recordset rs = m_connections.getConnection().openRecordset(
                 QStringLiteral(
                     "select aud_Fecha, aud_Operacion, aud_Usuario, aud_Login, aud_Estacion, aud_Anterior, "
                     "aud_Nuevo from tAuditoria where aud_Tabla = 'tcodigo' and aud_Clave = ? order by "
                     "aud_Id"),
                 {clave.trimmed()});
             !rs.eof(); rs.moveNext())
            cambios->append({rs.dateTime(QStringLiteral("aud_Fecha")),
                             rs.text(QStringLiteral("aud_Operacion")), rs.text(QStringLiteral("aud_Usuario")),
                             rs.text(QStringLiteral("aud_Login")), rs.text(QStringLiteral("aud_Estacion")),
                             rs.text(QStringLiteral("aud_Anterior")), rs.text(QStringLiteral("aud_Nuevo"))});
        return true;
    } catch (const std::exception &e) {
        report("historial", e);
        return false;
    }
}

bool CodigoEditor::eliminarRegistro(const QString &clave)
{
    if (!checkRight(QLatin1Char('B')))
        return false;
    const QString k = clave.trimmed();
    try {
        if (!fetch(k, nullptr)) {
            m_prompter.exclamation(kNoExiste);
            return false;
        }
        if (!m_prompter.question(kConfirmaBaja, false))
            return false;
        m_connections.getConnection().execute(QStringLiteral("DELETE FROM tCodigo WHERE codigo_Clave = ?"),
                                              {k});
    } catch (const std::exception &e) {
        report("eliminarRegistro", e);
        return false;
    }
    m_prompter.information(kEliminado);
    return true;
}

bool CodigoEditor::exportar(const QString &archivo, const QString &texto)
{
    QSaveFile file(archivo);
    if (!file.open(QIODevice::WriteOnly) || file.write(texto.toUtf8()) < 0 || !file.commit()) {
        m_prompter.critical(QStringLiteral("No fue posible escribir el archivo ") + archivo +
                            QStringLiteral(": ") + file.errorString());
        return false;
    }
    m_prompter.information(kExportado);
    return true;
}

bool CodigoEditor::importar(const QString &archivo, QString *texto)
{
    QFile file(archivo);
    if (!file.open(QIODevice::ReadOnly)) {
        m_prompter.critical(QStringLiteral("No fue posible leer el archivo ") + archivo +
                            QStringLiteral(": ") + file.errorString());
        return false;
    }
    *texto = decodeScript(file.readAll());
    return true;
}

QString CodigoEditor::decodeScript(const QByteArray &bytes)
{
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? vbs::fromAnsi(bytes) : text;
}
