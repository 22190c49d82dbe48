#include "CambioPrecioEditor.h"

#include "CodigoEditor.h"
#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Permisos.h"
#include "Prompter.h"
#include "cCode.h"

#include "Connection.h"
#include "DbError.h"
#include "Transaction.h"

const QString CambioPrecioEditor::kClaveEnUso =
    QStringLiteral("La clave ya esta en uso para el siguiente Tipo de Cambio de Precio");
const QString CambioPrecioEditor::kNoExiste =
    QStringLiteral("La clave del tipo de cambio de precio no existe");
const QString CambioPrecioEditor::kClaveNoExiste = MensajesMantenimiento::claveNoExiste();
const QString CambioPrecioEditor::kAgregado = QStringLiteral(
    "El registro fue agregado con exito, desea continuar agregando mas Tipos de Cambio de Precios");
const QString CambioPrecioEditor::kActualizado = MensajesMantenimiento::actualizado();
const QString CambioPrecioEditor::kConfirmaBaja =
    QStringLiteral("Esta seguro de eliminar el tipo de cambio de precio");
const QString CambioPrecioEditor::kEliminado = MensajesMantenimiento::eliminado();
const QString CambioPrecioEditor::kFaltaClave = QStringLiteral("Debe indicar una clave");
const QString CambioPrecioEditor::kFaltaNombre = QStringLiteral("Debe indicar un nombre");
const QString CambioPrecioEditor::kUsadoPorArticulos =
    QStringLiteral("El tipo de cambio de precio esta en uso por articulos, no es posible eliminarlo");
const QString CambioPrecioEditor::kUsadoPorConceptos = QStringLiteral(
    "El tipo de cambio de precio esta en uso en los conceptos de precio de un tipo de cliente, no es posible "
    "eliminarlo");
const QString CambioPrecioEditor::kSinAcceso = MensajesMantenimiento::sinAcceso();

QString CambioPrecioEditor::predefinido(const QString &clave)
{
    return QStringLiteral("El tipo de cambio de precio ") + clave +
           QStringLiteral(" es parte del programa, no es posible eliminarlo");
}

QString CambioPrecioEditor::claveLarga(int maximo)
{
    return QStringLiteral("La clave no puede tener mas de %1 caracteres").arg(maximo);
}

QString CambioPrecioEditor::nombreLargo(int maximo)
{
    return QStringLiteral("El nombre no puede tener mas de %1 caracteres").arg(maximo);
}

CambioPrecioEditor::CambioPrecioEditor(ConnectionProvider &connections, Permisos &permisos,
                                       Prompter &prompter, const QString &modo)
    : m_connections(connections), m_permisos(permisos), m_prompter(prompter)
{
    setModo(modo);
}

QString CambioPrecioEditor::titulo() const
{
    if (m_modo == QLatin1String("C"))
        return QStringLiteral("Cambio de Tipo de Cambio de Precio");
    if (m_modo == QLatin1String("Q"))
        return QStringLiteral("Consulta de Tipo de Cambio de Precio");
    return QStringLiteral("Alta de Tipo de Cambio de Precio");
}

bool CambioPrecioEditor::puede(QChar comando) const
{
    return m_permisos.puedeComando(QStringLiteral("frmCambioPrecio"), comando);
}

bool CambioPrecioEditor::checkRight(QChar comando)
{
    if (puede(comando))
        return true;
    m_prompter.exclamation(kSinAcceso);
    return false;
}

void CambioPrecioEditor::report(const char *operation, const std::exception &e)
{
    reportError(m_prompter, QString(), QStringLiteral("frmCambioPrecio.") + QLatin1String(operation),
                ErrorInfo::fromException(e));
}

bool CambioPrecioEditor::esPredefinido(const QString &clave)
{
    static const QStringList fijos = {QStringLiteral("FIJO"), QStringLiteral("PUBLICO"),
                                      QStringLiteral("MARGEN"), QStringLiteral("UTILIDAD"),
                                      QStringLiteral("FINANCIERO")};
    return fijos.contains(clave.trimmed());
}

QString CambioPrecioEditor::claveScript(const QString &clave)
{
    return QStringLiteral("ONCHANGEPRICE_") + clave.trimmed();
}

QStringList CambioPrecioEditor::valoresScript()
{
    return {QStringLiteral("CambioPrecio.Value"),    QStringLiteral("Costo.Value"),
            QStringLiteral("Publico.Value"),         QStringLiteral("Descuento.Value"),
            QStringLiteral("SubTotal.Value"),        QStringLiteral("Margen.Value"),
            QStringLiteral("Utilidad.Value"),        QStringLiteral("ImpuestoPorcentaje.Value"),
            QStringLiteral("ImpuestoImporte.Value"), QStringLiteral("Total.Value")};
}

bool CambioPrecioEditor::validaDatos(const Metodo &m)
{
    const auto rechaza = [this](const char *campo, const QString &message) {
        m_campoRechazado = QLatin1String(campo);
        m_prompter.information(message);
        return false;
    };
    m_campoRechazado.clear();
    const QString clave = m.clave.trimmed();
    if (clave.isEmpty())
        return rechaza("clave", kFaltaClave);
    if (clave.size() > kLongitudClave)
        return rechaza("clave", claveLarga(kLongitudClave));
    const QString nombre = m.nombre.trimmed();
    if (nombre.isEmpty())
        return rechaza("nombre", kFaltaNombre);
    if (nombre.size() > kLongitudNombre)
        return rechaza("nombre", nombreLargo(kLongitudNombre));
    return true;
}

bool CambioPrecioEditor::revisaSintaxis(const Metodo &m)
{
    m_errorSintaxis.clear();
    m_lineaError = 0;
    if (esPredefinido(m.clave))
        return true;
    // Compiled as the price calculation runs it: a procedure named after its tCodigo key.
    if (cCode::compila(claveScript(m.clave), m.script, false, &m_errorSintaxis, &m_lineaError))
        return true;
    if (m_prompter.question(CodigoEditor::preguntaSintaxis(m_errorSintaxis), false))
        return true;
    m_campoRechazado = QStringLiteral("script");
    return false;
}

bool CambioPrecioEditor::fetch(const QString &clave, Metodo *m)
{
    db::Connection &c = m_connections.getConnection();
    db::Recordset rs = c.openRecordset(
        QStringLiteral("SELECT cambio_Clave, cambio_Nombre FROM tCambioPrecio WHERE cambio_Clave = ?"),
        {clave});
    if (rs.eof())
        return false;
    if (m) {
        m->clave = rs.text(QStringLiteral("cambio_Clave"));
        m->nombre = rs.text(QStringLiteral("cambio_Nombre"));
        m->script.clear();
        if (!esPredefinido(m->clave))
            scriptGuardado(m->clave, &m->script);
    }
    return true;
}

bool CambioPrecioEditor::scriptGuardado(const QString &clave, QString *texto)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("SELECT codigo_Text FROM tCodigo WHERE codigo_Clave = ?"), {claveScript(clave)});
    if (rs.eof())
        return false;
    if (texto)
        *texto = rs.text(QStringLiteral("codigo_Text"));
    return true;
}

void CambioPrecioEditor::escribeScript(const Metodo &m)
{
    db::Connection &c = m_connections.getConnection();
    const QString clave = claveScript(m.clave);
    c.execute(QStringLiteral("DELETE FROM tCodigo WHERE codigo_Clave = ?"), {clave});
    c.execute(QStringLiteral("INSERT INTO tCodigo (codigo_Clave, codigo_Nombre, codigo_Activo, codigo_Text) "
                             "VALUES (?, ?, 'S', ?)"),
              {clave, m.nombre.trimmed(), m.script});
}

bool CambioPrecioEditor::agregarRegistro(const Metodo &m)
{
    m_continuar = false;
    if (!checkRight(u'A') || !validaDatos(m))
        return false;
    const QString clave = m.clave.trimmed();
    const auto enUsoPor = [&](const Metodo &existente) {
        m_campoRechazado = QStringLiteral("clave");
        m_prompter.exclamation(kClaveEnUso + u' ' + existente.nombre);
    };
    try {
        Metodo existente;
        if (fetch(clave, &existente)) {
            enUsoPor(existente);
            return false;
        }
        if (!revisaSintaxis(m))
            return false;
        db::Connection &c = m_connections.getConnection();
        try {
            db::Transaction tx(c);
            c.execute(QStringLiteral("INSERT INTO tCambioPrecio (cambio_Clave, cambio_Nombre) VALUES (?, ?)"),
                      {clave, m.nombre.trimmed()});
            if (!esPredefinido(clave))
                escribeScript(m);
            tx.commit();
        } catch (const db::DbError &e) {
            // Another workstation added the same key between the check and the insert.
            if (e.kind() != db::DbError::UniqueViolation || !fetch(clave, &existente))
                throw;
            enUsoPor(existente);
            return false;
        }
    } catch (const std::exception &e) {
        report("agregarRegistro", e);
        return false;
    }
    m_continuar = m_prompter.question(kAgregado, true);
    return true;
}

bool CambioPrecioEditor::modificarRegistro(const Metodo &m)
{
    if (!checkRight(u'C') || !validaDatos(m) || !revisaSintaxis(m))
        return false;
    const QString clave = m.clave.trimmed();
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction tx(c);
        if (c.execute(QStringLiteral("UPDATE tCambioPrecio SET cambio_Nombre = ? WHERE cambio_Clave = ?"),
                      {m.nombre.trimmed(), clave}) == 0) {
            m_campoRechazado = QStringLiteral("clave");
            m_prompter.exclamation(kNoExiste);
            return false;
        }
        if (!esPredefinido(clave))
            escribeScript(m);
        tx.commit();
    } catch (const std::exception &e) {
        report("modificarRegistro", e);
        return false;
    }
    m_prompter.information(kActualizado);
    return true;
}

bool CambioPrecioEditor::consultarRegistro(const QString &clave, Metodo *m)
{
    if (!checkRight(u'Q'))
        return false;
    if (clave.trimmed().isEmpty()) {
        m_prompter.information(kFaltaClave);
        return false;
    }
    try {
        if (!fetch(clave.trimmed(), m)) {
            m_prompter.exclamation(kClaveNoExiste);
            return false;
        }
        return true;
    } catch (const std::exception &e) {
        report("consultarRegistro", e);
        return false;
    }
}

QString CambioPrecioEditor::usadoPor(const QString &clave)
{
    db::Connection &c = m_connections.getConnection();
    const auto usa = [&](const char *sql) { return c.scalar(QLatin1String(sql), {clave}).toLongLong() > 0; };
    if (usa("SELECT count(*) FROM tArticulo WHERE cambio_Clave = ?") ||
        usa("SELECT count(*) FROM tArticuloPrecio WHERE cambio_Clave = ?"))
        return kUsadoPorArticulos;
    if (usa("SELECT count(*) FROM tTipoClienteConcepto WHERE cambio_Clave = ?"))
        return kUsadoPorConceptos;
    return QString();
}

bool CambioPrecioEditor::eliminarRegistro(const QString &claveTexto)
{
    if (!checkRight(u'B'))
        return false;
    const QString clave = claveTexto.trimmed();
    if (clave.isEmpty()) {
        m_prompter.information(kFaltaClave);
        return false;
    }
    try {
        if (!fetch(clave, nullptr)) {
            m_prompter.exclamation(kClaveNoExiste);
            return false;
        }
        if (esPredefinido(clave)) {
            m_prompter.exclamation(predefinido(clave));
            return false;
        }
        if (const QString uso = usadoPor(clave); !uso.isEmpty()) {
            m_prompter.exclamation(uso);
            return false;
        }
        if (!m_prompter.question(kConfirmaBaja, false))
            return false;
        db::Connection &c = m_connections.getConnection();
        db::Transaction tx(c);
        // Checked again inside the transaction: an article may have taken the method meanwhile.
        if (const QString uso = usadoPor(clave); !uso.isEmpty()) {
            m_prompter.exclamation(uso);
            return false;
        }
        c.execute(QStringLiteral("DELETE FROM tCodigo WHERE codigo_Clave = ?"), {claveScript(clave)});
        c.execute(QStringLiteral("DELETE FROM tCambioPrecio WHERE cambio_Clave = ?"), {clave});
        tx.commit();
    } catch (const std::exception &e) {
        report("eliminarRegistro", e);
        return false;
    }
    m_prompter.information(kEliminado);
    return true;
}
