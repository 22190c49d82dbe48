#include "CuentaPorCobrar.h"

#include "Cobro.h"
#include "PlazoCredito.h"

#include "ConnectionProvider.h"
#include "FechaCapturada.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Prompter.h"
#include "Secuencias.h"
#include "cConfigure.h"

#include "Connection.h"
#include "Transaction.h"

namespace {

struct Rechazo {
    QString texto;
};

std::optional<Decimal> importe(const QString &texto)
{
    const QString t = QString(texto).remove(u',').remove(u'$').trimmed();
    bool ok = false;
    const Decimal d = Decimal::fromString(t, &ok);
    if (t.isEmpty() || !ok || d.sign() <= 0)
        return std::nullopt;
    return d;
}

QString texto(qint64 clave)
{
    return QStringLiteral("La cuenta por cobrar ") + QString::number(clave);
}

} // namespace

const QString CuentaPorCobrar::kAgregado =
    QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas cuentas por cobrar");
const QString CuentaPorCobrar::kCancelada = QStringLiteral("La cuenta por cobrar ha sido cancelada");

const QStringList &CuentaPorCobrar::estadosCaptura()
{
    static const QStringList l = {QStringLiteral("PENDIENTE"), QStringLiteral("REGISTRADA"),
                                  QStringLiteral("AUTORIZADA"), QStringLiteral("VENCIDA")};
    return l;
}

CuentaPorCobrar::CuentaPorCobrar(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter)
{
}

QString CuentaPorCobrar::almacen() const
{
    return m_config.getString(QStringLiteral("ALMACEN"));
}

bool CuentaPorCobrar::rechaza(const QString &t, Campo campo)
{
    m_campo = campo;
    m_prompter.information(t);
    return false;
}

bool CuentaPorCobrar::validaDatos(const Datos &d, bool alta)
{
    m_campo = Campo::Ninguno;
    if (d.cliente.trimmed().isEmpty())
        return rechaza(QStringLiteral("Debe seleccionar un cliente"), Campo::Cliente);
    if (!importe(d.importe))
        return rechaza(QStringLiteral("Debe indicar el importe"), Campo::Importe);
    if (d.estado.trimmed().isEmpty())
        return rechaza(QStringLiteral("Debe seleccionar un estado"), Campo::Estado);
    if (!estadosCaptura().contains(d.estado))
        return rechaza(QStringLiteral("Debe seleccionar un estado"), Campo::Estado);
    if (!alta && !fechaCapturada(d.vencimiento).isValid())
        return rechaza(QStringLiteral("Debe indicar la fecha de vencimiento"), Campo::Vencimiento);
    try {
        if (m_connections.getConnection()
                .scalar(QStringLiteral("select count(*) from tCliente where cli_Clave = ?"),
                        {d.cliente.trimmed()})
                .toInt() == 0)
            return rechaza(QStringLiteral("La clave del cliente no existe"), Campo::Cliente);
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible leer el cliente"),
                    QStringLiteral("frmCobro.validaDatos"), ErrorInfo::fromException(e));
        return false;
    }
    return true;
}

qint64 CuentaPorCobrar::creaCuenta(db::Connection &c, const QString &almacen, const QString &cliente,
                                   const Decimal &importe, const QString &referencia,
                                   const QString &referenciaAdic, const QString &estado)
{
    const QDateTime ahora = c.scalar(QStringLiteral("select getdate()")).toDateTime();
    const QDate hoy = ahora.date();
    const qint64 folio = Secuencias::folioConAnio(
        hoy,
        Secuencias::getNextSequence(c, Secuencias::clave(Secuencias::Documento::Cobranza, almacen, hoy)));
    c.execute(QStringLiteral(
                  "insert into tCobranza (alm_Clave, cob_Clave, cli_Clave, cob_Importe, cob_Pagado, "
                  "cob_Referencia, cob_ReferenciaAdic, ecob_Clave, cob_FecReg, cob_FecVenc) values (?, ?, "
                  "?, ?, 0, ?, ?, ?, ?, ?)"),
              {almacen, folio, cliente, importe.toQVariant(), referencia, referenciaAdic, estado, ahora,
               PlazoCredito::vencimiento(c, cliente, ahora)});
    return folio;
}

std::optional<qint64> CuentaPorCobrar::agregarRegistro(const Datos &d, bool *continuar)
{
    if (continuar)
        *continuar = false;
    if (!validaDatos(d, true))
        return std::nullopt;
    qint64 folio = 0;
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction t(c);
        folio = creaCuenta(c, almacen(), d.cliente.trimmed(), *importe(d.importe), d.referencia.trimmed(),
                           d.referenciaAdic.trimmed(), d.estado);
        t.commit();
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible agregar la cuenta por cobrar"),
                    QStringLiteral("frmCobro.agregarRegistro"), ErrorInfo::fromException(e));
        return std::nullopt;
    }
    const bool otra = m_prompter.question(kAgregado, true);
    if (continuar)
        *continuar = otra;
    return folio;
}

std::optional<CuentaPorCobrar::Registro> CuentaPorCobrar::lee(db::Connection &c, qint64 clave)
{
    auto rs = c.openRecordset(
        QStringLiteral(
            "select c.cli_Clave, k.cli_Nombre, c.cob_Importe, c.cob_Pagado, c.cob_Referencia, "
            "c.cob_ReferenciaAdic, c.ecob_Clave, c.vpago_Anio, c.vpago_Clave, c.cob_FecReg, "
            "c.cob_FecVenc, c.cob_FecCob from tCobranza c join tCliente k on k.cli_Clave = c.cli_Clave "
            "where c.alm_Clave = ? and c.cob_Clave = ?"),
        {almacen(), clave});
    if (rs.eof())
        return std::nullopt;
    Registro r;
    r.clave = clave;
    r.cliente = rs.text(QStringLiteral("cli_Clave"));
    r.nombreCliente = rs.text(QStringLiteral("cli_Nombre"));
    r.importe = rs.decimal(QStringLiteral("cob_Importe"));
    r.pagado = rs.decimal(QStringLiteral("cob_Pagado"));
    r.referencia = rs.text(QStringLiteral("cob_Referencia"));
    r.referenciaAdic = rs.text(QStringLiteral("cob_ReferenciaAdic"));
    r.estado = rs.text(QStringLiteral("ecob_Clave"));
    r.ventaAnio = rs.value(QStringLiteral("vpago_Anio"));
    r.ventaPago = rs.value(QStringLiteral("vpago_Clave"));
    r.registro = rs.dateTime(QStringLiteral("cob_FecReg"));
    r.vencimiento = rs.dateTime(QStringLiteral("cob_FecVenc"));
    r.cobro = rs.dateTime(QStringLiteral("cob_FecCob"));
    return r;
}

std::optional<CuentaPorCobrar::Registro> CuentaPorCobrar::consultarRegistro(qint64 clave)
{
    try {
        if (auto r = lee(m_connections.getConnection(), clave))
            return r;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible leer la cuenta por cobrar"),
                    QStringLiteral("frmCobro.consultarRegistro"), ErrorInfo::fromException(e));
        return std::nullopt;
    }
    m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
    return std::nullopt;
}

bool CuentaPorCobrar::modificarRegistro(const Datos &d)
{
    if (!validaDatos(d, false))
        return false;
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction t(c);
        const auto r = lee(c, d.clave);
        if (!r)
            throw Rechazo{MensajesMantenimiento::claveNoExiste()};
        if (r->estado == QLatin1String("CANCELADA"))
            throw Rechazo{texto(d.clave) + QStringLiteral(" Esta cancelada, no es posible modificarla")};
        if (!EstadosCobro::abiertos().contains(r->estado))
            throw Rechazo{texto(d.clave) + QStringLiteral(" Ya ha sido pagada")};
        const Decimal nuevo = *importe(d.importe);
        QString estado = d.estado;
        // What was collected binds the receivable: its client stays, its amount covers it, and its
        // state follows what is still pending.
        if (r->pagado.sign() > 0) {
            if (d.cliente.trimmed() != r->cliente) {
                m_campo = Campo::Cliente;
                throw Rechazo{texto(d.clave) +
                              QStringLiteral(" ya tiene cobros, no es posible cambiar el cliente")};
            }
            if (nuevo < r->pagado) {
                m_campo = Campo::Importe;
                throw Rechazo{QStringLiteral("El importe no puede ser menor a lo cobrado (") +
                              r->pagado.format(QStringLiteral("#,##0.00")) + u')'};
            }
            estado = nuevo - r->pagado < EstadosCobro::liquidado() ? QStringLiteral("COBRADA")
                                                                   : QStringLiteral("COBRO_PARCIAL");
        }
        c.execute(
            QStringLiteral("update tCobranza set cli_Clave = ?, cob_Importe = ?, cob_Referencia = ?, "
                           "cob_ReferenciaAdic = ?, ecob_Clave = ?, cob_FecVenc = ? where alm_Clave = ? and "
                           "cob_Clave = ?"),
            {d.cliente.trimmed(), nuevo.toQVariant(), d.referencia.trimmed(), d.referenciaAdic.trimmed(),
             estado, QDateTime(fechaCapturada(d.vencimiento), r->vencimiento.time()), almacen(), d.clave});
        t.commit();
    } catch (const Rechazo &r) {
        m_prompter.exclamation(r.texto);
        return false;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible actualizar la cuenta por cobrar"),
                    QStringLiteral("frmCobro.modificarRegistro"), ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(MensajesMantenimiento::actualizado());
    return true;
}

bool CuentaPorCobrar::cancelarCobro(qint64 clave)
{
    try {
        db::Connection &c = m_connections.getConnection();
        const auto r = lee(c, clave);
        if (!r)
            throw Rechazo{MensajesMantenimiento::claveNoExiste()};
        if (r->estado == QLatin1String("CANCELADA"))
            throw Rechazo{texto(clave) + QStringLiteral(" ya esta cancelada")};
        if (!EstadosCobro::abiertos().contains(r->estado))
            throw Rechazo{texto(clave) + QStringLiteral(" Ya ha sido pagada")};
        if (!m_prompter.question(QStringLiteral("Esta seguro de cancelar la cuenta por cobrar ") +
                                 QString::number(clave) + u'?'))
            return false;
        QStringList marcas;
        QVariantList p{almacen(), clave};
        for (const QString &e : EstadosCobro::abiertos()) {
            marcas << QStringLiteral("?");
            p << e;
        }
        // Only while still open: a collection at another station in between wins.
        if (c.execute(QStringLiteral("update tCobranza set ecob_Clave = 'CANCELADA' where alm_Clave = ? and "
                                     "cob_Clave = ? and ecob_Clave in (") +
                          marcas.join(QStringLiteral(", ")) + u')',
                      p) != 1)
            throw Rechazo{texto(clave) + QStringLiteral(" Ya ha sido pagada")};
    } catch (const Rechazo &r) {
        m_prompter.exclamation(r.texto);
        return false;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible cancelar la cuenta por cobrar"),
                    QStringLiteral("frmCobro.cancelarCobro"), ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(kCancelada);
    return true;
}

bool CuentaPorCobrar::eliminarRegistro(qint64 clave)
{
    const QString alm = almacen();
    try {
        db::Connection &c = m_connections.getConnection();
        if (!lee(c, clave))
            throw Rechazo{MensajesMantenimiento::claveNoExiste()};
        if (!m_prompter.question(QStringLiteral("Esta seguro de eliminar la cuenta por cobrar ") +
                                 QString::number(clave)))
            return false;
        db::Transaction t(c);
        struct Enlace {
            qint64 cobro;
            Decimal importe;
        };
        QList<Enlace> enlaces;
        for (auto rs =
                 c.openRecordset(QStringLiteral("select cobro_Clave, ccob_Importe from tCobranzaCobro where "
                                                "alm_Clave = ? and cob_Clave = ? order by cobro_Clave"),
                                 {alm, clave});
             !rs.eof(); rs.moveNext())
            enlaces.append(
                {rs.integer(QStringLiteral("cobro_Clave")), rs.decimal(QStringLiteral("ccob_Importe"))});
        c.execute(QStringLiteral("delete from tCobranzaCobro where alm_Clave = ? and cob_Clave = ?"),
                  {alm, clave});
        for (const Enlace &e : enlaces) {
            // A payment shared with other receivables keeps the part it paid them.
            if (c.scalar(QStringLiteral(
                             "select count(*) from tCobranzaCobro where alm_Clave = ? and cobro_Clave = ?"),
                         {alm, e.cobro})
                    .toInt() > 0) {
                c.execute(QStringLiteral(
                              "update TCOBRO set cobro_Importe = cobro_Importe - ? where alm_Clave = ? and "
                              "cobro_Clave = ?"),
                          {e.importe.toQVariant(), alm, e.cobro});
                continue;
            }
            // A credit note whose payment goes can be applied again.
            auto rs =
                c.openRecordset(QStringLiteral("select tcobro_Clave, cobro_Referencia, cli_Clave from TCOBRO "
                                               "where alm_Clave = ? and cobro_Clave = ?"),
                                {alm, e.cobro});
            if (!rs.eof() && rs.text(QStringLiteral("tcobro_Clave")) == QLatin1String("NOTA"))
                c.execute(QStringLiteral(
                              "update tNotaCliente set edonc_Clave = 'AUTORIZADA' where alm_Clave = ? and "
                              "cli_Clave = ? and notac_Clave = ? and edonc_Clave = 'PAGADA'"),
                          {alm, rs.text(QStringLiteral("cli_Clave")),
                           rs.text(QStringLiteral("cobro_Referencia")).toLongLong()});
            c.execute(QStringLiteral("delete from TCOBRO where alm_Clave = ? and cobro_Clave = ?"),
                      {alm, e.cobro});
        }
        c.execute(QStringLiteral("delete from tCobranza where alm_Clave = ? and cob_Clave = ?"),
                  {alm, clave});
        t.commit();
    } catch (const Rechazo &r) {
        m_prompter.exclamation(r.texto);
        return false;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible eliminar la cuenta por cobrar"),
                    QStringLiteral("frmCobro.eliminarRegistro"), ErrorInfo::fromException(e));
        return false;
    }
    m_prompter.information(MensajesMantenimiento::eliminado());
    return true;
}

QList<CuentaPorCobrar::Opcion> CuentaPorCobrar::clientes()
{
    QList<Opcion> l;
    for (auto rs = m_connections.getConnection().openRecordset(
             QStringLiteral("select cli_Clave, cli_Nombre from tCliente order by cli_Nombre"));
         !rs.eof(); rs.moveNext())
        l.append({rs.text(QStringLiteral("cli_Clave")), rs.text(QStringLiteral("cli_Nombre"))});
    return l;
}

QList<CuentaPorCobrar::Opcion> CuentaPorCobrar::estados()
{
    QList<Opcion> l;
    for (const QString &e : estadosCaptura()) {
        const QVariant nombre = m_connections.getConnection().scalar(
            QStringLiteral("select ecob_Nombre from tEstadoCobro where ecob_Clave = ?"), {e});
        l.append({e, nombre.isValid() ? nombre.toString() : e});
    }
    return l;
}
