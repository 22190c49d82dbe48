#include "Cobranza.h"

#include "CobroDoc.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "MensajesMantenimiento.h"
#include "Prompter.h"
#include "Secuencias.h"
#include "cConfigure.h"

#include "Connection.h"
#include "DbError.h"
#include "Transaction.h"

namespace {

// "in (?, ?, …)" over the open states, and their values.
QString marcasAbiertas()
{
    QStringList m;
    for (qsizetype i = 0; i < EstadosCobro::abiertos().size(); ++i)
        m << QStringLiteral("?");
    return QStringLiteral("(") + m.join(QStringLiteral(", ")) + QStringLiteral(")");
}

QVariantList abiertas()
{
    QVariantList v;
    for (const QString &e : EstadosCobro::abiertos())
        v << e;
    return v;
}

QString notaCancelada()
{
    return QStringLiteral(
        "No es posible efectuar operaciones sobre esta nota, ya que se encuentra cancelada");
}

QString notaPagada()
{
    return QStringLiteral("No es posible efectuar operaciones sobre esta nota, ya que se encuentra pagada");
}

QString notaSinAutorizar()
{
    return QStringLiteral("No es posible efectuar operaciones sobre esta nota, ya que no ha sido autorizada");
}

} // namespace

const QString Cobranza::kTodos = QStringLiteral("<TODOS>");
const QString Cobranza::kExito = QStringLiteral("Pago efectuado con éxito");
const QString Cobranza::kErrorAlGuardar = QStringLiteral("No fue posible registrar el pago");

Cobranza::Cobranza(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter)
{
}

QString Cobranza::almacen() const
{
    return m_config.getString(QStringLiteral("ALMACEN"));
}

QList<Cobranza::Fila> Cobranza::lista(const Filtro &f)
{
    QString sql = QStringLiteral(
        "select c.cob_FecReg, c.cli_Clave, k.cli_Nombre, c.cob_Clave, c.cob_Importe, c.cob_Pagado, "
        "c.cob_Referencia, c.cob_ReferenciaAdic, c.cob_FecCob, c.ecob_Clave, e.ecob_Nombre, c.vpago_Anio, "
        "v.venta_Folio, c.cob_FecVenc from tCobranza c join tCliente k on k.cli_Clave = c.cli_Clave "
        "join tEstadoCobro e on e.ecob_Clave = c.ecob_Clave left join tVentaPago v on v.alm_Clave = "
        "c.alm_Clave and v.vpago_Anio = c.vpago_Anio and v.vpago_Clave = c.vpago_Clave "
        "where c.alm_Clave = ? and c.cob_FecReg >= ? and c.cob_FecReg < ?");
    // The last day is whole: anything registered before the next midnight counts.
    QVariantList p{almacen(), QDateTime(f.desde, QTime(0, 0)), QDateTime(f.hasta.addDays(1), QTime(0, 0))};
    if (!f.cliente.isEmpty() && f.cliente != kTodos) {
        sql += QStringLiteral(" and c.cli_Clave = ?");
        p << f.cliente;
    }
    if (!f.estado.isEmpty()) {
        sql += QStringLiteral(" and c.ecob_Clave = ?");
        p << f.estado;
    }
    sql += QStringLiteral(" order by c.cob_FecReg, c.cob_Clave");
    QList<Fila> filas;
    for (auto rs = m_connections.getConnection().openRecordset(sql, p); !rs.eof(); rs.moveNext()) {
        Fila r;
        r.fecha = rs.dateTime(QStringLiteral("cob_FecReg"));
        r.cliente = rs.text(QStringLiteral("cli_Clave"));
        r.nombreCliente = rs.text(QStringLiteral("cli_Nombre"));
        r.clave = rs.integer(QStringLiteral("cob_Clave"));
        r.importe = rs.decimal(QStringLiteral("cob_Importe"));
        r.pagado = rs.decimal(QStringLiteral("cob_Pagado"));
        r.referencia = rs.text(QStringLiteral("cob_Referencia"));
        r.referenciaAdic = rs.text(QStringLiteral("cob_ReferenciaAdic"));
        r.fechaPago = rs.dateTime(QStringLiteral("cob_FecCob"));
        r.estado = rs.text(QStringLiteral("ecob_Clave"));
        r.nombreEstado = rs.text(QStringLiteral("ecob_Nombre"));
        r.ventaAnio = rs.value(QStringLiteral("vpago_Anio"));
        r.ventaNumero = rs.value(QStringLiteral("venta_Folio"));
        r.vencimiento = rs.dateTime(QStringLiteral("cob_FecVenc"));
        filas << r;
    }
    return filas;
}

QList<NotaCobro> Cobranza::notas(const QString &cliente)
{
    QList<NotaCobro> l;
    for (auto rs = m_connections.getConnection().openRecordset(
             QStringLiteral(
                 "select n.cli_Clave, n.notac_Clave, n.notac_Fecha, n.notac_Importe, n.notac_Concepto, "
                 "n.edonc_Clave, e.edonc_Nombre from tNotaCliente n join tEstadoNotaCli e on "
                 "e.edonc_Clave = n.edonc_Clave where n.alm_Clave = ? and n.cli_Clave = ? order by "
                 "n.notac_Fecha, n.notac_Clave"),
             {almacen(), cliente});
         !rs.eof(); rs.moveNext()) {
        NotaCobro n;
        n.cliente = rs.text(QStringLiteral("cli_Clave"));
        n.clave = rs.integer(QStringLiteral("notac_Clave"));
        n.fecha = rs.dateTime(QStringLiteral("notac_Fecha"));
        n.importe = rs.decimal(QStringLiteral("notac_Importe"));
        n.concepto = rs.text(QStringLiteral("notac_Concepto"));
        n.estado = rs.text(QStringLiteral("edonc_Clave"));
        n.nombreEstado = rs.text(QStringLiteral("edonc_Nombre"));
        l << n;
    }
    return l;
}

QList<Cobranza::Opcion> Cobranza::clientes()
{
    QList<Opcion> l;
    for (auto rs = m_connections.getConnection().openRecordset(
             QStringLiteral(
                 "select k.cli_Clave, k.cli_Nombre from tCliente k where exists (select 1 from "
                 "tCobranza c where c.cli_Clave = k.cli_Clave and c.alm_Clave = ?) or exists "
                 "(select 1 from tNotaCliente n where n.cli_Clave = k.cli_Clave and n.alm_Clave = ?) "
                 "order by k.cli_Nombre"),
             {almacen(), almacen()});
         !rs.eof(); rs.moveNext())
        l.append({rs.text(QStringLiteral("cli_Clave")), rs.text(QStringLiteral("cli_Nombre"))});
    return l;
}

QList<Cobranza::Opcion> Cobranza::estados()
{
    QList<Opcion> l;
    for (auto rs = m_connections.getConnection().openRecordset(
             QStringLiteral("select ecob_Clave, ecob_Nombre from tEstadoCobro order by ecob_Nombre"));
         !rs.eof(); rs.moveNext())
        l.append({rs.text(QStringLiteral("ecob_Clave")), rs.text(QStringLiteral("ecob_Nombre"))});
    return l;
}

std::optional<NotaCobro> Cobranza::leeNota(db::Connection &c, qint64 clave)
{
    auto rs = c.openRecordset(
        QStringLiteral("select cli_Clave, notac_Fecha, notac_Importe, notac_Concepto, "
                       "edonc_Clave from tNotaCliente where alm_Clave = ? and notac_Clave = ?"),
        {almacen(), clave});
    if (rs.eof())
        return std::nullopt;
    NotaCobro n;
    n.cliente = rs.text(QStringLiteral("cli_Clave"));
    n.clave = clave;
    n.fecha = rs.dateTime(QStringLiteral("notac_Fecha"));
    n.importe = rs.decimal(QStringLiteral("notac_Importe"));
    n.concepto = rs.text(QStringLiteral("notac_Concepto"));
    n.estado = rs.text(QStringLiteral("edonc_Clave"));
    return n;
}

bool Cobranza::cmdCobrar(const QList<qint64> &cuentas, const QList<qint64> &notas, const Dialogo &dialogo)
{
    if (cuentas.isEmpty()) {
        m_prompter.information(
            QStringLiteral("Debe seleccionar las cuentas por cobrar antes de intentar cobrarlas"));
        return false;
    }
    QList<NotaCobro> aplicadas;
    QList<CuentaCobro> porCobrar;
    try {
        db::Connection &c = m_connections.getConnection();
        // 2. The receivables, as they are now; all of one client, whose payment this is.
        for (qint64 clave : cuentas) {
            auto rs = c.openRecordset(
                QStringLiteral("select c.cli_Clave, k.cli_Nombre, c.cob_FecReg, c.cob_Importe, c.cob_Pagado, "
                               "c.ecob_Clave from tCobranza c join tCliente k on k.cli_Clave = c.cli_Clave "
                               "where c.alm_Clave = ? and c.cob_Clave = ?"),
                {almacen(), clave});
            if (rs.eof()) {
                m_prompter.exclamation(MensajesMantenimiento::claveNoExiste());
                return false;
            }
            const QString estado = rs.text(QStringLiteral("ecob_Clave"));
            const QString texto = QStringLiteral("La cuenta por cobrar ") + QString::number(clave);
            if (estado == QLatin1String("CANCELADA")) {
                m_prompter.exclamation(texto + QStringLiteral(" Esta cancelada, no es posible pagarla"));
                return false;
            }
            if (!EstadosCobro::abiertos().contains(estado)) {
                m_prompter.exclamation(texto + QStringLiteral(" Ya ha sido pagada"));
                return false;
            }
            CuentaCobro k;
            k.cliente = rs.text(QStringLiteral("cli_Clave"));
            k.nombreCliente = rs.text(QStringLiteral("cli_Nombre"));
            k.clave = clave;
            k.fecha = rs.dateTime(QStringLiteral("cob_FecReg"));
            k.importe = rs.decimal(QStringLiteral("cob_Importe"));
            k.pagado = rs.decimal(QStringLiteral("cob_Pagado"));
            k.estado = estado;
            if (!porCobrar.isEmpty() && porCobrar.first().cliente != k.cliente) {
                m_prompter.exclamation(
                    QStringLiteral("Las cuentas por cobrar seleccionadas deben ser del mismo "
                                   "cliente"));
                return false;
            }
            porCobrar << k;
        }
        // 1. The notes: open, authorised, and the same client's.
        for (qint64 clave : notas) {
            const auto n = leeNota(c, clave);
            if (!n) {
                m_prompter.exclamation(QStringLiteral("La nota de credito no existe"));
                return false;
            }
            if (n->estado == QLatin1String("CANCELADA")) {
                m_prompter.exclamation(notaCancelada());
                return false;
            }
            if (n->estado == QLatin1String("PAGADA")) {
                m_prompter.exclamation(notaPagada());
                return false;
            }
            if (n->estado != QLatin1String("AUTORIZADA")) {
                m_prompter.exclamation(notaSinAutorizar());
                return false;
            }
            if (n->cliente != porCobrar.first().cliente) {
                m_prompter.exclamation(QStringLiteral("La nota de credito ") + QString::number(clave) +
                                       QStringLiteral(" no es del cliente de las cuentas por cobrar"));
                return false;
            }
            aplicadas << *n;
        }
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible leer las cuentas por cobrar"),
                    QStringLiteral("frmCtasXCobrar.cmdCobrar"), ErrorInfo::fromException(e));
        return false;
    }

    CobroDoc doc(m_connections, m_config, m_prompter);
    if (!doc.init())
        return false;
    for (const NotaCobro &n : aplicadas)
        doc.agregarNota(n);
    for (const CuentaCobro &k : porCobrar)
        doc.agregarCuentaPorPagar(k);
    // 3. The dialog; 4. and 5. the writer.
    if (!dialogo || !dialogo(doc) || !doc.aceptado())
        return false;
    return procesaPagosDeVenta(doc);
}

void Cobranza::abona(db::Connection &c, const QString &almacen, qint64 cuenta, const Decimal &importe,
                     const QDateTime &fecha)
{
    // Only an open receivable takes the amount: another station may have collected or cancelled it
    // since the dialog read it.
    const QString texto = QStringLiteral("La cuenta por cobrar ") + QString::number(cuenta);
    if (c.execute(
            QStringLiteral("update tCobranza set cob_Pagado = coalesce(cob_Pagado, 0) + ?, cob_FecCob = ? "
                           "where alm_Clave = ? and cob_Clave = ? and ecob_Clave in ") +
                marcasAbiertas(),
            QVariantList{importe.toQVariant(), fecha, almacen, cuenta} + abiertas()) != 1)
        throw Rechazo{texto + QStringLiteral(" ya no esta abierta; no se registro el pago")};
    auto rs = c.openRecordset(
        QStringLiteral("select cob_Importe, cob_Pagado from tCobranza where alm_Clave = ? and cob_Clave = ?"),
        {almacen, cuenta});
    const Decimal pendiente =
        rs.decimal(QStringLiteral("cob_Importe")) - rs.decimal(QStringLiteral("cob_Pagado"));
    if (-pendiente >= EstadosCobro::liquidado())
        throw Rechazo{texto + QStringLiteral(" fue cobrada en otra estacion; no se registro el pago")};
    c.execute(
        QStringLiteral("update tCobranza set ecob_Clave = ? where alm_Clave = ? and cob_Clave = ?"),
        {pendiente < EstadosCobro::liquidado() ? QStringLiteral("COBRADA") : QStringLiteral("COBRO_PARCIAL"),
         almacen, cuenta});
}

bool Cobranza::procesaPagosDeVenta(CobroDoc &doc)
{
    if (!doc.aceptado())
        return false;
    const QString alm = almacen();
    const QString usuario = m_config.getString(QStringLiteral("USUARIO"));
    const QList<PagoCobro> pagos = doc.pagos();
    const QList<CuentaCobro> cuentas = doc.cuentas();
    QList<qint64> folios;
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction t(c);
        const QDateTime ahora = c.scalar(QStringLiteral("select getdate()")).toDateTime();
        const QDate hoy = ahora.date();
        // First pass: every payment line, and the notes they consume.
        for (const PagoCobro &p : pagos) {
            const qint64 folio = Secuencias::folioConAnio(
                hoy,
                Secuencias::getNextSequence(c, Secuencias::clave(Secuencias::Documento::Cobro, alm, hoy)));
            folios << folio;
            c.execute(
                QStringLiteral(
                    "insert into TCOBRO (alm_Clave, cobro_Clave, tcobro_Clave, cobro_Importe, banco_Clave, "
                    "cobro_Cheque, cobro_Tarjeta, cobro_FolioTarjeta, moneda_Clave, cobro_MonExtranjera, "
                    "cobro_TipoDeCambio, cobro_Referencia, cli_Clave, cobro_Fecha, usu_Clave) values (?, ?, "
                    "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {alm, folio, p.tipo, p.importe.toQVariant(), p.banco, p.cheque, p.tarjeta, p.folioTarjeta,
                 p.moneda, p.importeMoneda.toQVariant(), p.tipoCambio.toQVariant(), p.referencia, p.cliente,
                 ahora, usuario});
            if (p.tipo == QLatin1String("NOTA") &&
                c.execute(
                    QStringLiteral("update tNotaCliente set edonc_Clave = 'PAGADA' where cli_Clave = ? and "
                                   "notac_Clave = ? and alm_Clave = ? and edonc_Clave = 'AUTORIZADA'"),
                    {p.cliente, p.referencia.toLongLong(), alm}) != 1)
                throw Rechazo{QStringLiteral("La nota de credito ") + p.referencia +
                              QStringLiteral(" ya no esta autorizada; no se registro el pago")};
        }
        // Second pass: each receivable's share, taken from the lines in grid order.
        QList<Decimal> colocado(pagos.size());
        for (const CuentaCobro &k : cuentas) {
            if (k.cobro.sign() <= 0)
                continue;
            Decimal falta = k.cobro;
            for (qsizetype i = 0; i < pagos.size(); ++i) {
                const Decimal tiene = pagos.at(i).importe - colocado.at(i);
                Decimal parte;
                if (tiene >= falta)
                    parte = falta;
                else if (tiene.sign() > 0)
                    parte = tiene;
                if (parte.sign() <= 0)
                    continue;
                c.execute(QStringLiteral("insert into tCobranzaCobro (alm_Clave, cob_Clave, cobro_Clave, "
                                         "ccob_Importe, ccob_Fecha, usu_Clave) values (?, ?, ?, ?, ?, ?)"),
                          {alm, k.clave, folios.at(i), parte.toQVariant(), ahora, usuario});
                colocado[i] += parte;
                falta -= parte;
            }
            abona(c, alm, k.clave, k.cobro, ahora);
        }
        t.commit();
    } catch (const Rechazo &r) {
        m_prompter.exclamation(r.texto);
        return false;
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("Cobranza.procesaPagosDeVenta: [") + QString::number(e.number()) +
                 QStringLiteral("]-") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical, kErrorAlGuardar, e.description());
        return false;
    }
    for (qsizetype i = 0; i < folios.size(); ++i)
        doc.setProrrateo(int(i), folios.at(i));
    m_prompter.information(kExito);
    return true;
}

bool Cobranza::cambiaNotas(const QList<qint64> &notas, const QString &pregunta,
                           const std::function<bool(db::Connection &, const NotaCobro &)> &cambia)
{
    if (notas.isEmpty()) {
        m_prompter.information(QStringLiteral("Debe seleccionar una nota de credito"));
        return false;
    }
    if (!m_prompter.question(pregunta))
        return false;
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction t(c);
        for (qint64 clave : notas) {
            const auto n = leeNota(c, clave);
            if (!n)
                throw Rechazo{QStringLiteral("La nota de credito no existe")};
            if (!cambia(c, *n))
                return false;
        }
        t.commit();
    } catch (const Rechazo &r) {
        m_prompter.exclamation(r.texto);
        return false;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible cambiar la nota de credito"),
                    QStringLiteral("frmCtasXCobrar.notas"), ErrorInfo::fromException(e));
        return false;
    }
    return true;
}

bool Cobranza::cmdAutorizarNota(const QList<qint64> &notas)
{
    const bool ok = cambiaNotas(
        notas, QStringLiteral("Esta seguro de autorizar las notas de credito seleccionadas?"),
        [this](db::Connection &c, const NotaCobro &n) {
            if (n.estado == QLatin1String("CANCELADA"))
                throw Rechazo{notaCancelada()};
            if (n.estado == QLatin1String("PAGADA"))
                throw Rechazo{notaPagada()};
            c.execute(QStringLiteral(
                          "update tNotaCliente set edonc_Clave = 'AUTORIZADA', notac_FecAut = getdate(), "
                          "usu_Clave = ? where alm_Clave = ? and notac_Clave = ?"),
                      {m_config.getString(QStringLiteral("USUARIO")), almacen(), n.clave});
            return true;
        });
    if (ok)
        m_prompter.information(QStringLiteral("Las notas de credito fueron autorizadas"));
    return ok;
}

bool Cobranza::cmdCancelarNota(const QList<qint64> &notas)
{
    const bool ok =
        cambiaNotas(notas, QStringLiteral("Esta seguro de cancelar las notas de credito seleccionadas?"),
                    [this](db::Connection &c, const NotaCobro &n) {
                        if (n.estado == QLatin1String("CANCELADA"))
                            throw Rechazo{notaCancelada()};
                        if (n.estado == QLatin1String("PAGADA"))
                            throw Rechazo{notaPagada()};
                        c.execute(QStringLiteral("update tNotaCliente set edonc_Clave = 'CANCELADA' where "
                                                 "alm_Clave = ? and notac_Clave = ?"),
                                  {almacen(), n.clave});
                        return true;
                    });
    if (ok)
        m_prompter.information(QStringLiteral("Las notas de credito fueron canceladas"));
    return ok;
}

bool Cobranza::cmdEliminarNota(const QList<qint64> &notas)
{
    // A paid note stays: the payment that consumed it names it.
    const bool ok =
        cambiaNotas(notas, QStringLiteral("Esta seguro de eliminar las notas de credito seleccionadas?"),
                    [this](db::Connection &c, const NotaCobro &n) {
                        if (n.estado == QLatin1String("PAGADA"))
                            throw Rechazo{notaPagada()};
                        c.execute(QStringLiteral("delete from tNotaCliente where alm_Clave = ? and "
                                                 "notac_Clave = ?"),
                                  {almacen(), n.clave});
                        return true;
                    });
    if (ok)
        m_prompter.information(MensajesMantenimiento::eliminado());
    return ok;
}

std::optional<qint64> Cobranza::registraNota(const QString &cliente, const Decimal &importe,
                                             const QString &concepto)
{
    if (cliente.trimmed().isEmpty() || cliente == kTodos) {
        m_prompter.information(QStringLiteral("Debe seleccionar un cliente"));
        return std::nullopt;
    }
    if (importe.sign() <= 0) {
        m_prompter.information(QStringLiteral("Debe indicar el importe"));
        return std::nullopt;
    }
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction t(c);
        const QDateTime ahora = c.scalar(QStringLiteral("select getdate()")).toDateTime();
        // Numbered like the receivables: the year, then the warehouse's count of that year.
        const qint64 folio = Secuencias::folioConAnio(
            ahora.date(), Secuencias::getNextSequence(c, QStringLiteral("NOTACLIENTE_") + almacen() + u'_' +
                                                             QString::number(ahora.date().year())));
        c.execute(
            QStringLiteral("insert into tNotaCliente (alm_Clave, notac_Clave, cli_Clave, notac_Fecha, "
                           "notac_Importe, notac_Concepto, edonc_Clave, usu_Clave) values (?, ?, ?, ?, ?, ?, "
                           "'REGISTRADA', ?)"),
            {almacen(), folio, cliente, ahora, importe.toQVariant(), concepto,
             m_config.getString(QStringLiteral("USUARIO"))});
        t.commit();
        return folio;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible registrar la nota de credito"),
                    QStringLiteral("frmCtasXCobrar.registraNota"), ErrorInfo::fromException(e));
        return std::nullopt;
    }
}
