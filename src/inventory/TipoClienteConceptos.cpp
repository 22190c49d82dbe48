#include "TipoClienteConceptos.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Permisos.h"
#include "Prompter.h"

#include "Connection.h"
#include "Decimal.h"
#include "Transaction.h"

#include <QSet>

const QString TipoClienteConceptos::kDepartamento = QStringLiteral("DEPARTAMENTO");
const QString TipoClienteConceptos::kFamilia = QStringLiteral("FAMILIA");
const QString TipoClienteConceptos::kSinAcceso = MensajesMantenimiento::sinAcceso();
const QString TipoClienteConceptos::kTipoNoExiste = QStringLiteral("La clave del tipo de cliente no existe");
const QString TipoClienteConceptos::kGuardado =
    QStringLiteral("Los conceptos de precio fueron guardados con exito");
const QString TipoClienteConceptos::kFaltaMetodo =
    QStringLiteral("Debe indicar el metodo de cambio de precio");
const QString TipoClienteConceptos::kFaltaValor = QStringLiteral("Debe indicar el valor");
const QString TipoClienteConceptos::kValorNoNumerico = QStringLiteral("El valor debe ser numerico");
const QString TipoClienteConceptos::kValorNegativo = QStringLiteral("El valor no puede ser negativo");
const QString TipoClienteConceptos::kDescuentoMayorACien =
    QStringLiteral("El descuento del metodo PUBLICO no puede ser mayor a 100");

namespace {

bool esFamilia(const QString &control)
{
    return control == TipoClienteConceptos::kFamilia;
}

} // namespace

QString TipoClienteConceptos::sinConceptos(const QString &control)
{
    return QStringLiteral("El control de precio ") + control + QStringLiteral(" no usa conceptos de precio");
}

QString TipoClienteConceptos::faltaConcepto(const QString &control)
{
    return esFamilia(control) ? QStringLiteral("Debe indicar la familia")
                              : QStringLiteral("Debe indicar el departamento");
}

QString TipoClienteConceptos::conceptoNoExiste(const QString &control, const QString &clave)
{
    return (esFamilia(control) ? QStringLiteral("La familia ") : QStringLiteral("El departamento ")) + clave +
           QStringLiteral(" no existe");
}

QString TipoClienteConceptos::conceptoRepetido(const QString &control, const QString &clave)
{
    return esFamilia(control)
               ? QStringLiteral("La familia ") + clave + QStringLiteral(" esta repetida en la lista")
               : QStringLiteral("El departamento ") + clave + QStringLiteral(" esta repetido en la lista");
}

QString TipoClienteConceptos::metodoNoExiste(const QString &clave)
{
    return QStringLiteral("El tipo de cambio de precio ") + clave + QStringLiteral(" no existe");
}

QString TipoClienteConceptos::tituloConcepto(const QString &control)
{
    return esFamilia(control) ? QStringLiteral("Familia") : QStringLiteral("Departamento");
}

TipoClienteConceptos::TipoClienteConceptos(ConnectionProvider &connections, Permisos &permisos,
                                           Prompter &prompter, const QString &modo)
    : m_connections(connections), m_permisos(permisos), m_prompter(prompter), m_modo(modo.trimmed().toUpper())
{
}

bool TipoClienteConceptos::usaConceptos(const QString &control)
{
    return control == kDepartamento || control == kFamilia;
}

bool TipoClienteConceptos::checkRight(QChar comando)
{
    const bool cambio = m_permisos.hasPermission(QStringLiteral("frmTipoCliente_cmdCambio"));
    if (cambio || (comando == u'Q' && m_permisos.hasPermission(QStringLiteral("frmTipoCliente_cmdConsulta"))))
        return true;
    m_prompter.exclamation(kSinAcceso);
    return false;
}

void TipoClienteConceptos::report(const char *operation, const std::exception &e)
{
    reportError(m_prompter, QString(), QStringLiteral("frmTipoCliente.") + QLatin1String(operation),
                ErrorInfo::fromException(e));
}

QList<TipoClienteConceptos::Opcion> TipoClienteConceptos::opciones(const QString &sql)
{
    QList<Opcion> out;
    try {
        for (db::Recordset rs = m_connections.getConnection().openRecordset(sql); !rs.eof(); rs.moveNext())
            out.append({rs.value(0).toString(), rs.value(1).toString()});
    } catch (const std::exception &e) {
        report("lista", e);
    }
    return out;
}

QList<TipoClienteConceptos::Opcion> TipoClienteConceptos::tiposControl()
{
    return opciones(QStringLiteral("SELECT tcontrol_Clave, tcontrol_Nombre FROM tTipoControlPrecio ORDER BY "
                                   "tcontrol_Orden, tcontrol_Clave"));
}

QList<TipoClienteConceptos::Opcion> TipoClienteConceptos::controlesConConceptos()
{
    QList<Opcion> out;
    for (const Opcion &o : tiposControl())
        if (usaConceptos(o.clave))
            out.append(o);
    return out;
}

QList<TipoClienteConceptos::Opcion> TipoClienteConceptos::conceptos(const QString &control)
{
    if (esFamilia(control))
        return opciones(
            QStringLiteral("SELECT fam_Clave, fam_Nombre FROM tFamilia ORDER BY fam_Nombre, fam_Clave"));
    if (control == kDepartamento)
        return opciones(QStringLiteral(
            "SELECT tart_Clave, tart_Nombre FROM tTipoArticulo ORDER BY tart_Nombre, tart_Clave"));
    return {};
}

QList<TipoClienteConceptos::Opcion> TipoClienteConceptos::metodos()
{
    return opciones(QStringLiteral(
        "SELECT cambio_Clave, cambio_Nombre FROM tCambioPrecio ORDER BY cambio_Nombre, cambio_Clave"));
}

bool TipoClienteConceptos::tipoCliente(const QString &tcli, QString *nombre, QString *control)
{
    return checkRight(u'Q') && leeTipo(tcli, nombre, control);
}

bool TipoClienteConceptos::leeTipo(const QString &tcli, QString *nombre, QString *control)
{
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("SELECT tcli_Nombre, tcontrol_Clave FROM tTipoCliente WHERE tcli_Clave = ?"),
            {tcli.trimmed()});
        if (rs.eof()) {
            m_prompter.exclamation(kTipoNoExiste);
            return false;
        }
        if (nombre)
            *nombre = rs.text(QStringLiteral("tcli_Nombre"));
        if (control)
            *control = rs.text(QStringLiteral("tcontrol_Clave"));
        return true;
    } catch (const std::exception &e) {
        report("tipoCliente", e);
        return false;
    }
}

bool TipoClienteConceptos::consultar(const QString &tcli, const QString &control, QList<Linea> *lineas)
{
    lineas->clear();
    if (!checkRight(u'Q'))
        return false;
    if (!usaConceptos(control)) {
        m_prompter.exclamation(sinConceptos(control));
        return false;
    }
    try {
        for (db::Recordset rs = m_connections.getConnection().openRecordset(
                 QStringLiteral("SELECT tcc_Clave, cambio_Clave, tcc_Valor FROM tTipoClienteConcepto "
                                "WHERE tcli_Clave = ? AND tcontrol_Clave = ? ORDER BY tcc_Clave"),
                 {tcli.trimmed(), control});
             !rs.eof(); rs.moveNext())
            lineas->append({rs.text(QStringLiteral("tcc_Clave")), rs.text(QStringLiteral("cambio_Clave")),
                            Decimal::fromVariant(rs.value(QStringLiteral("tcc_Valor"))).toString()});
        return true;
    } catch (const std::exception &e) {
        report("consultar", e);
        return false;
    }
}

bool TipoClienteConceptos::validaDatos(const QString &control, const QList<Linea> &lineas)
{
    m_fila = -1;
    m_columna = -1;
    const auto rechaza = [this](int fila, Columna columna, const QString &message) {
        m_fila = fila;
        m_columna = columna;
        m_prompter.information(message);
        return false;
    };
    if (!usaConceptos(control)) {
        m_prompter.exclamation(sinConceptos(control));
        return false;
    }
    QSet<QString> validos;
    for (const Opcion &o : conceptos(control))
        validos.insert(o.clave);
    QSet<QString> metodosValidos;
    for (const Opcion &o : metodos())
        metodosValidos.insert(o.clave);

    QSet<QString> vistos;
    for (int i = 0; i < lineas.size(); ++i) {
        const Linea &l = lineas.at(i);
        if (l.vacia())
            continue;
        const QString concepto = l.concepto.trimmed();
        if (concepto.isEmpty())
            return rechaza(i, ColConcepto, faltaConcepto(control));
        if (!validos.contains(concepto))
            return rechaza(i, ColConcepto, conceptoNoExiste(control, concepto));
        if (vistos.contains(concepto))
            return rechaza(i, ColConcepto, conceptoRepetido(control, concepto));
        vistos.insert(concepto);
        const QString metodo = l.metodo.trimmed();
        if (metodo.isEmpty())
            return rechaza(i, ColMetodo, kFaltaMetodo);
        if (!metodosValidos.contains(metodo))
            return rechaza(i, ColMetodo, metodoNoExiste(metodo));
        const QString texto = l.valor.trimmed();
        if (texto.isEmpty())
            return rechaza(i, ColValor, kFaltaValor);
        bool ok = false;
        const Decimal valor = Decimal::fromString(texto, &ok);
        if (!ok)
            return rechaza(i, ColValor, kValorNoNumerico);
        if (valor.isNegative())
            return rechaza(i, ColValor, kValorNegativo);
        if (metodo == QLatin1String("PUBLICO") && valor > Decimal::fromString(QStringLiteral("100")))
            return rechaza(i, ColValor, kDescuentoMayorACien);
    }
    return true;
}

bool TipoClienteConceptos::guardar(const QString &tcli, const QString &control, const QList<Linea> &lineas)
{
    if (!checkRight(u'C'))
        return false;
    const QString tipo = tcli.trimmed();
    QString nombre;
    if (!leeTipo(tipo, &nombre) || !validaDatos(control, lineas))
        return false;
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction tx(c);
        c.execute(
            QStringLiteral("DELETE FROM tTipoClienteConcepto WHERE tcli_Clave = ? AND tcontrol_Clave = ?"),
            {tipo, control});
        for (const Linea &l : lineas) {
            if (l.vacia())
                continue;
            c.execute(QStringLiteral("INSERT INTO tTipoClienteConcepto "
                                     "(tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, tcc_Valor) "
                                     "VALUES (?, ?, ?, ?, ?)"),
                      {control, tipo, l.concepto.trimmed(), l.metodo.trimmed(),
                       Decimal::fromString(l.valor.trimmed()).toQVariant()});
        }
        tx.commit();
    } catch (const std::exception &e) {
        report("guardar", e);
        return false;
    }
    m_prompter.information(kGuardado);
    return true;
}
