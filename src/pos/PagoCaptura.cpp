#include "PagoCaptura.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "DbError.h"
#include "Log.h"
#include "Permisos.h"
#include "Prompter.h"
#include "SaldoCliente.h"
#include "cConfigValue.h"
#include "cConfigure.h"

#include <algorithm>

namespace {

const QString kEfectivo = QStringLiteral("EFECTIVO");
const QString kCheque = QStringLiteral("CHEQUE");
const QString kTarjeta = QStringLiteral("TARJETA");
const QString kExtranjera = QStringLiteral("EXTRANJERA");
const QString kCredito = QStringLiteral("CREDITO");

const QString kExcede = QStringLiteral("La suma de los pagos excede al importe por pagar");
const QString kSinCliente = QStringLiteral("No se encontraron datos del usuario");

QString numero(const Decimal &d)
{
    return d.format(QStringLiteral("#,##0.00"));
}

// A typed amount: a number above zero, kept to the cent.
std::optional<Decimal> positivo(const QString &texto)
{
    const QString t = QString(texto).remove(u',').remove(u'$').trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const Decimal d = Decimal::fromString(t, &ok);
    if (!ok || d.sign() <= 0)
        return std::nullopt;
    return d;
}

// The fixed delivery types first, in the order the counter offers them.
int ordenEntrega(const QString &clave)
{
    static const QStringList orden = {QStringLiteral("MOSTRADOR"), QStringLiteral("VENTANILLA"),
                                      QStringLiteral("PENDIENTE"), QStringLiteral("DOMICILIO")};
    const qsizetype i = orden.indexOf(clave.toUpper());
    return i < 0 ? int(orden.size()) : int(i);
}

} // namespace

// ---------------------------------------------------------------------------------------------
const QStringList PagosModel::kEncabezados = {
    QStringLiteral("Tipo"),        QStringLiteral("Importe"),        QStringLiteral("Banco"),
    QStringLiteral("Cheque"),      QStringLiteral("Tarjeta"),        QStringLiteral("Folio"),
    QStringLiteral("Moneda"),      QStringLiteral("Importe Moneda"), QStringLiteral("T. de Cambio"),
    QStringLiteral("Referencia1"), QStringLiteral("Referencia2")};

QVariant PagosModel::data(const QModelIndex &index, int role) const
{
    const PagoVenta *fila = ModeloLista::fila(index);
    if (!fila)
        return {};
    const PagoVenta &p = *fila;
    const bool numerica = index.column() == 1 || index.column() == 7 || index.column() == 8;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(numerica ? Qt::AlignRight | Qt::AlignVCenter
                                            : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return p.tipo;
    case 1:
        return numero(p.importe);
    case 2:
        return p.banco;
    case 3:
        return p.cheque;
    case 4:
        return p.tarjeta;
    case 5:
        return p.folioTarjeta;
    case 6:
        return p.moneda;
    // Only a foreign payment has these; zeros elsewhere would only add noise.
    case 7:
        return p.importeMoneda.isZero() ? QString() : numero(p.importeMoneda);
    case 8:
        return p.tipoCambio.isZero() ? QString() : p.tipoCambio.toString();
    case 9:
        return p.referencia;
    case 10:
        return p.referenciaAdic;
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
const QStringList PagoCaptura::kTiposFijos = {kEfectivo, kCheque, kTarjeta, kExtranjera, kCredito};
const QString PagoCaptura::kConceptoComision = QStringLiteral("CARGO TARJETA");
const QString PagoCaptura::kPermisoSobreGiro = QStringLiteral("frmVenta_SobreGiro");

PagoCaptura::PagoCaptura(ConnectionProvider &connections, cConfigure &config, Permisos &permisos,
                         Prompter &prompter)
    : m_connections(connections), m_config(config), m_permisos(permisos), m_prompter(prompter)
{
}

bool PagoCaptura::activo(const QString &clave) const
{
    return cConfigValue::convert(m_config.getValue(clave), cConfigValue::BOOLEAN).toBool();
}

bool PagoCaptura::init(const Inicio &inicio)
{
    m_inicio = inicio;
    m_importeVenta = inicio.importeVenta;
    m_redondeo = inicio.redondeo;
    m_porPagar = inicio.porPagar;
    m_modelo.limpia();
    m_porcentaje = m_comision = Decimal();
    m_cargoAplicado = false;
    m_totales.reset();
    m_ticket = inicio.ticket ? *inicio.ticket : activo(QStringLiteral("IMPRIME-TICKET-POR-OMISION"));
    m_nota = inicio.nota;
    m_factura = inicio.factura;
    m_tipoEntrega = inicio.tipoEntrega.isEmpty() ? QStringLiteral("MOSTRADOR") : inicio.tipoEntrega;
    m_aceptado = false;
    m_campoRechazado = Campo::Ninguno;
    try {
        db::Connection &c = m_connections.getConnection();
        m_tiposPago.clear();
        for (auto rs = c.openRecordset(QStringLiteral("select tpago_Clave, tpago_Nombre from tTipoPago"));
             !rs.eof(); rs.moveNext())
            m_tiposPago.append({rs.value(0).toString(), rs.value(1).toString()});
        std::stable_sort(m_tiposPago.begin(), m_tiposPago.end(), [](const Opcion &a, const Opcion &b) {
            const auto orden = [](const QString &k) {
                const qsizetype i = kTiposFijos.indexOf(k.toUpper());
                return i < 0 ? kTiposFijos.size() : i;
            };
            if (orden(a.clave) != orden(b.clave))
                return orden(a.clave) < orden(b.clave);
            return a.nombre.localeAwareCompare(b.nombre) < 0;
        });

        m_denominaciones.clear();
        for (auto rs = c.openRecordset(QStringLiteral(
                 "select deno_Nombre, deno_Valor from tDenominacion order by deno_Valor desc"));
             !rs.eof(); rs.moveNext()) {
            Denominacion d{rs.value(0).toString(), Decimal::fromVariant(rs.value(1)), QString()};
            d.texto = d.nombre + u'\n' + numero(d.valor);
            m_denominaciones.append(d);
        }

        cargaMoneda();

        m_bancos.clear();
        for (auto rs = c.openRecordset(
                 QStringLiteral("select banco_Clave, banco_Nombre from tBanco order by banco_Nombre"));
             !rs.eof(); rs.moveNext())
            m_bancos.append({rs.value(0).toString(), rs.value(1).toString()});

        QList<Opcion> entregas;
        for (auto rs = c.openRecordset(
                 QStringLiteral("select tent_Clave, tent_Nombre from tTipoEntrega order by tent_Nombre"));
             !rs.eof(); rs.moveNext())
            entregas.append({rs.value(0).toString(), rs.value(1).toString()});
        std::stable_sort(entregas.begin(), entregas.end(), [](const Opcion &a, const Opcion &b) {
            return ordenEntrega(a.clave) < ordenEntrega(b.clave);
        });
        m_tiposEntrega.clear();
        for (const Opcion &e : entregas)
            m_tiposEntrega.append(e.nombre + u'\t' + e.clave);
    } catch (const db::DbError &e) {
        reportError(m_prompter, QStringLiteral("No fue posible leer las formas de pago"),
                    QStringLiteral("frmPago.init"), ErrorInfo::fromException(e));
        return false;
    }
    return true;
}

void PagoCaptura::cargaMoneda()
{
    m_monedas.clear();
    auto rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select moneda_Clave, moneda_Nombre from tMoneda order by moneda_Nombre"));
    for (; !rs.eof(); rs.moveNext())
        m_monedas.append({rs.value(0).toString(), rs.value(1).toString()});
}

bool PagoCaptura::admitido(const QString &tipo) const
{
    return !m_inicio.tiposAdmitidos || m_inicio.tiposAdmitidos->contains(tipo.trimmed(), Qt::CaseInsensitive);
}

QStringList PagoCaptura::tiposAdmitidos() const
{
    QStringList out;
    for (const QString &t : kTiposFijos)
        if (admitido(t))
            out.append(t);
    for (const Opcion &o : otrosTipos())
        out.append(o.clave);
    return out;
}

QList<PagoCaptura::Opcion> PagoCaptura::otrosTipos() const
{
    QList<Opcion> out;
    for (const Opcion &o : m_tiposPago)
        if (!kTiposFijos.contains(o.clave, Qt::CaseInsensitive) && admitido(o.clave))
            out.append(o);
    return out;
}

QString PagoCaptura::captionReferencia() const
{
    const QString c = m_config.getString(QStringLiteral("CREDITO-REFERENCIA")).trimmed();
    return c.isEmpty() ? QStringLiteral("Referencia") : c;
}

QString PagoCaptura::captionReferenciaAdic() const
{
    const QString c = m_config.getString(QStringLiteral("CREDITO-REFERENCIA-ADIC")).trimmed();
    return c.isEmpty() ? QStringLiteral("Referencia adicional") : c;
}

bool PagoCaptura::comisionVisible() const
{
    return activo(QStringLiteral("COMISION-TARJETA"));
}

bool PagoCaptura::cobroRapido() const
{
    return activo(QStringLiteral("COBRO-RAPIDO"));
}

QString PagoCaptura::importeSugerido(const QString &tipo) const
{
    // A foreign amount depends on the rate, which is not known before it is typed.
    if (!activo(QStringLiteral("COBRO-PAGO-IGUAL-A-COBRO")) || tipo == kExtranjera || resta().sign() <= 0)
        return {};
    return resta().toString(2);
}

bool PagoCaptura::rechaza(const QString &texto, Campo campo)
{
    m_campoRechazado = campo;
    m_prompter.exclamation(texto);
    return false;
}

bool PagoCaptura::valida(const Captura &k, PagoVenta &pago)
{
    pago = PagoVenta();
    pago.tipo = k.tipo.trimmed().toUpper();
    if (pago.tipo.isEmpty())
        return rechaza(QStringLiteral("Debe seleccionar un tipo de pago"), Campo::Tipo);
    if (!admitido(pago.tipo))
        return rechaza(QStringLiteral("La forma de pago ") + pago.tipo +
                           QStringLiteral(" no es admitida para este cliente"),
                       Campo::Tipo);
    const auto importe = positivo(k.importe);
    if (importe)
        pago.importe = importe->round(2);
    if (pago.tipo == kEfectivo) {
        if (!importe)
            return rechaza(QStringLiteral("Debe indicar importe en efectivo"), Campo::Importe);
    } else if (pago.tipo == kCheque) {
        if (!importe)
            return rechaza(QStringLiteral("Debe indicar el importe del cheque"), Campo::Importe);
        if (k.banco.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe seleccionar un banco"), Campo::Banco);
        if (k.cheque.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar el numero de cheque"), Campo::Cheque);
        pago.banco = k.banco.trimmed();
        pago.cheque = k.cheque.trimmed();
    } else if (pago.tipo == kTarjeta) {
        if (!importe)
            return rechaza(QStringLiteral("Debe indicar el importe del pago con tarjeta"), Campo::Importe);
        pago.banco = k.banco.trimmed();
        pago.tarjeta = k.tarjeta.trimmed();
        pago.folioTarjeta = k.folio.trimmed();
    } else if (pago.tipo == kExtranjera) {
        const auto monto = positivo(k.importeMoneda);
        if (!monto)
            return rechaza(QStringLiteral("Debe indicar el importe del pago con moneda extranjera"),
                           Campo::ImporteMoneda);
        if (k.moneda.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar la moneda de pago"), Campo::Moneda);
        const auto cambio = positivo(k.tipoCambio);
        if (!cambio)
            return rechaza(QStringLiteral("Debe indicar el tipo de cambio actual de la moneda"),
                           Campo::TipoCambio);
        pago.moneda = k.moneda.trimmed();
        pago.importeMoneda = *monto;
        pago.tipoCambio = *cambio;
        pago.importe = (*monto * *cambio).round(2);
    } else if (pago.tipo == kCredito) {
        if (!importe)
            return rechaza(QStringLiteral("Debe indicar el importe del pago a credito"), Campo::Importe);
        if (activo(QStringLiteral("CREDITO-REQUIERE-REFERENCIA")) && k.referencia.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar la referencia de credito"), Campo::Referencia);
        if (activo(QStringLiteral("CREDITO-REQUIERE-REFERENCIA-ADIC")) &&
            k.referenciaAdic.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar la referencia adicional de credito"),
                           Campo::ReferenciaAdic);
        pago.referencia = k.referencia.trimmed();
        pago.referenciaAdic = k.referenciaAdic.trimmed();
    } else {
        if (!importe)
            return rechaza(QStringLiteral("Debe indicar el importe del pago"), Campo::Importe);
        if (k.referencia.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar una referencia"), Campo::Referencia);
        pago.referencia = k.referencia.trimmed();
    }
    return true;
}

bool PagoCaptura::validaCredito(const Decimal &importe)
{
    Decimal limite, saldo;
    try {
        db::Connection &c = m_connections.getConnection();
        const auto l = SaldoCliente::limiteCredito(c, m_inicio.cliente);
        if (!l)
            return rechaza(kSinCliente, Campo::Importe);
        limite = *l;
        saldo = SaldoCliente::saldo(c, m_inicio.cliente, m_config.getString(QStringLiteral("ALMACEN")));
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("frmPago.validaCredito: ") + e.description());
        m_campoRechazado = Campo::Importe;
        m_prompter.detailedMessage(Prompter::Icon::Exclamation, kSinCliente, e.description());
        return false;
    }
    Decimal enGrid;
    for (const PagoVenta &p : m_modelo.pagos())
        if (p.tipo == kCredito)
            enGrid += p.importe;
    const Decimal total = saldo + enGrid + importe;
    if (total <= limite)
        return true;
    const QString texto = QStringLiteral("El límite de credito insuficiente ") + QStringLiteral(" Limite ") +
                          numero(limite) + QStringLiteral(" Saldo Actual ") + numero(saldo) +
                          QStringLiteral(" SobreGiro ") + numero(total - limite);
    if (m_permisos.hasPermission(kPermisoSobreGiro)) {
        if (m_prompter.question(texto + QStringLiteral("\nDesea continuar"), false))
            return true;
        m_campoRechazado = Campo::Importe;
        return false;
    }
    return rechaza(texto, Campo::Importe);
}

PagoCaptura::Resultado PagoCaptura::agregarPago(const Captura &captura)
{
    m_campoRechazado = Campo::Ninguno;
    PagoVenta pago;
    if (!valida(captura, pago))
        return Resultado::Rechazado;
    if (pago.tipo == kTarjeta && activo(QStringLiteral("COMISION-TARJETA-PREGUNTA")) &&
        m_porcentaje.sign() > 0 && !m_cargoAplicado && m_inicio.aplicaPorcentaje &&
        m_prompter.question(QStringLiteral("Se efectua cargo por pago por este medio"), false)) {
        const Decimal antes = resta();
        // The charge is for the whole sale: a card payment of exactly the rest pays it too.
        if (aplicaCargo() && pago.importe == antes)
            pago.importe = resta();
    }
    if (pago.tipo == kCredito) {
        if (pago.importe > resta()) {
            rechaza(QStringLiteral("El importe del pago a credito (") + numero(pago.importe) +
                        QStringLiteral(") es superior al saldo por pagar (") + numero(resta()) + u')',
                    Campo::Importe);
            return Resultado::Rechazado;
        }
        if (!m_inicio.cliente.isEmpty() && !validaCredito(pago.importe))
            return Resultado::Rechazado;
    }
    m_modelo.agrega(pago);
    if (m_inicio.rechazaExcedente && pagado() > m_porPagar) {
        m_prompter.exclamation(kExcede);
        return Resultado::Agregado;
    }
    return pagado() >= m_porPagar ? terminar() : Resultado::Agregado;
}

PagoCaptura::Resultado PagoCaptura::agregaDenominacion(int indice)
{
    if (indice < 0 || indice >= m_denominaciones.size())
        return Resultado::Rechazado;
    Captura k;
    k.tipo = kEfectivo;
    k.importe = m_denominaciones.at(indice).valor.toString();
    return agregarPago(k);
}

PagoCaptura::Resultado PagoCaptura::cobroRapidoEfectivo()
{
    m_campoRechazado = Campo::Ninguno;
    if (!cobroRapido())
        return Resultado::Rechazado;
    if (resta().sign() > 0) {
        Captura k;
        k.tipo = kEfectivo;
        k.importe = resta().toString();
        PagoVenta pago;
        if (!valida(k, pago))
            return Resultado::Rechazado;
        m_modelo.agrega(pago);
    }
    return terminar(false);
}

void PagoCaptura::quitaPago(int fila)
{
    m_modelo.quita(fila);
}

void PagoCaptura::quitaTodos()
{
    m_modelo.limpia();
}

PagoCaptura::Resultado PagoCaptura::terminar(bool preguntar)
{
    m_campoRechazado = Campo::Ninguno;
    if (pagado() < m_porPagar) {
        m_campoRechazado = Campo::Importe;
        m_prompter.exclamation(QStringLiteral("Falta por pagar ") + formatoMoneda(resta()));
        return Resultado::Rechazado;
    }
    if (m_inicio.rechazaExcedente && pagado() > m_porPagar) {
        m_prompter.exclamation(kExcede);
        return Resultado::Rechazado;
    }
    if (m_alCambiar)
        m_alCambiar();
    if (preguntar && activo(QStringLiteral("PREGUNTA-PAGO-COMPLETO")) &&
        !m_prompter.question(QStringLiteral("Su pago esta completo ?"), true))
        return Resultado::Agregado;
    m_aceptado = true;
    return Resultado::Completo;
}

PagoCaptura::Resultado PagoCaptura::cmdNota()
{
    m_nota = true;
    return terminar();
}

PagoCaptura::Resultado PagoCaptura::cmdFactura()
{
    m_factura = true;
    return terminar();
}

Decimal PagoCaptura::comisionCalculada() const
{
    if (m_cargoAplicado)
        return m_comision;
    return (m_porPagar * m_porcentaje / Decimal(100)).round(2);
}

bool PagoCaptura::aplicaCargo()
{
    if (m_cargoAplicado) {
        m_prompter.exclamation(QStringLiteral("El cargo ya fue aplicado"));
        return false;
    }
    if (m_modelo.rowCount() > 1) {
        m_prompter.exclamation(QStringLiteral(
            "Solo se puede aplicar el cargo por tarjeta de credito por el total y para todos los articulos"));
        return false;
    }
    if (m_porcentaje.sign() <= 0) {
        m_prompter.exclamation(QStringLiteral("Debe indicar el porcentaje del cargo"));
        return false;
    }
    if (!m_inicio.aplicaPorcentaje)
        return false;
    const Decimal antes = m_porPagar;
    const TotalesVenta t = m_inicio.aplicaPorcentaje(kConceptoComision, m_porcentaje);
    m_totales = t;
    m_importeVenta = t.importe;
    m_redondeo = t.redondeo;
    m_porPagar = t.total;
    m_comision = t.total - antes;
    m_cargoAplicado = true;
    return true;
}

Decimal PagoCaptura::pagado() const
{
    Decimal s;
    for (const PagoVenta &p : m_modelo.pagos())
        s += p.importe;
    return s;
}

Decimal PagoCaptura::resta() const
{
    const Decimal r = m_porPagar - pagado();
    return r.sign() > 0 ? r : Decimal();
}

Decimal PagoCaptura::cambio() const
{
    const Decimal c = pagado() - m_porPagar;
    return c.sign() > 0 ? c : Decimal();
}

QString PagoCaptura::formatoMoneda(const Decimal &d)
{
    return d.format(QStringLiteral("$#,##0.00"));
}

QStringList PagoCaptura::obtenerPagosArr() const
{
    QStringList out;
    for (const PagoVenta &p : m_modelo.pagos())
        out.append(p.texto());
    return out;
}
