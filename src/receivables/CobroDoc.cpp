#include "CobroDoc.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "Prompter.h"
#include "cConfigure.h"

#include "Connection.h"

namespace {

const QString kEfectivo = QStringLiteral("EFECTIVO");
const QString kCheque = QStringLiteral("CHEQUE");
const QString kTarjeta = QStringLiteral("TARJETA");
const QString kExtranjera = QStringLiteral("EXTRANJERA");
const QString kCredito = QStringLiteral("CREDITO");
const QString kNota = QStringLiteral("NOTA");

QString numero(const Decimal &d)
{
    return d.format(QStringLiteral("#,##0.00"));
}

// A typed amount above zero; nothing for empty text, zero, a negative or what is not a number.
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

} // namespace

// ---------------------------------------------------------------------------------------------
const QStringList PagosCobroModel::kEncabezados = {
    QStringLiteral("Tipo"),       QStringLiteral("Importe"),        QStringLiteral("Banco"),
    QStringLiteral("Cheque"),     QStringLiteral("Tarjeta"),        QStringLiteral("Folio"),
    QStringLiteral("Moneda"),     QStringLiteral("Importe Moneda"), QStringLiteral("T. de Cambio"),
    QStringLiteral("Referencia"), QStringLiteral("Cliente"),        QStringLiteral("Prorrateo")};

QVariant PagosCobroModel::data(const QModelIndex &index, int role) const
{
    const PagoCobro *fila = ModeloLista::fila(index);
    if (!fila)
        return {};
    const PagoCobro &p = *fila;
    const int col = index.column();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(col == 1 || col == 7 || col == 8 ? Qt::AlignRight | Qt::AlignVCenter
                                                                    : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (col) {
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
    case 7:
        return p.importeMoneda.isZero() ? QString() : numero(p.importeMoneda);
    case 8:
        return p.tipoCambio.isZero() ? QString() : p.tipoCambio.toString();
    case 9:
        return p.referencia;
    case 10:
        return p.cliente;
    case 11:
        return p.prorrateo ? QString::number(p.prorrateo) : QString();
    }
    return {};
}

void PagosCobroModel::setProrrateo(int fila, qint64 folio)
{
    if (fila < 0 || fila >= m_filas.size())
        return;
    m_filas[fila].prorrateo = folio;
    emit dataChanged(index(fila, 11), index(fila, 11));
}

// ---------------------------------------------------------------------------------------------
const QStringList CuentasCobroModel::kEncabezados = {
    QStringLiteral("Cve. Cliente"), QStringLiteral("Cliente"), QStringLiteral("Clave"),
    QStringLiteral("Fecha"),        QStringLiteral("Importe"), QStringLiteral("Pagado"),
    QStringLiteral("Pendiente"),    QStringLiteral("Estado"),  QStringLiteral("Cobro")};

int CuentasCobroModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_cuentas.size());
}

int CuentasCobroModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kEncabezados.size());
}

QVariant CuentasCobroModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_cuentas.size() || index.column() >= kEncabezados.size())
        return {};
    const CuentaCobro &c = m_cuentas.at(index.row());
    const int col = index.column();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue((col >= 4 && col <= 6) || col == 8 ? Qt::AlignRight | Qt::AlignVCenter
                                                                      : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (col) {
    case 0:
        return c.cliente;
    case 1:
        return c.nombreCliente;
    case 2:
        return QString::number(c.clave);
    case 3:
        return c.fecha.toString(QStringLiteral("dd/MM/yyyy"));
    case 4:
        return numero(c.importe);
    case 5:
        return numero(c.pagado);
    case 6:
        return numero(c.pendiente());
    case 7:
        return c.estado;
    case 8:
        return numero(c.cobro);
    }
    return {};
}

QVariant CuentasCobroModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < kEncabezados.size() ? QVariant(kEncabezados.at(section))
                                                             : QVariant();
    return section + 1;
}

void CuentasCobroModel::agrega(const CuentaCobro &cuenta)
{
    beginInsertRows({}, int(m_cuentas.size()), int(m_cuentas.size()));
    m_cuentas.append(cuenta);
    endInsertRows();
}

void CuentasCobroModel::setCobros(const QList<Decimal> &cobros)
{
    for (qsizetype i = 0; i < m_cuentas.size() && i < cobros.size(); ++i)
        m_cuentas[i].cobro = cobros.at(i);
    if (!m_cuentas.isEmpty())
        emit dataChanged(index(0, 8), index(int(m_cuentas.size()) - 1, 8));
}

// ---------------------------------------------------------------------------------------------
const QStringList CobroDoc::kTiposFijos = {kEfectivo, kCheque, kTarjeta, kExtranjera, kCredito, kNota};
const QString CobroDoc::kNoHayPagos = QStringLiteral("No hay pagos");
const QString CobroDoc::kExcede = QStringLiteral("El pago excede la cantidad a pagar");
const QString CobroDoc::kParcial =
    QStringLiteral("El importe de pago es menor a la cantidad a pagar, desea efectuar un pago parcial?");

CobroDoc::CobroDoc(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter)
{
}

bool CobroDoc::init()
{
    try {
        db::Connection &c = m_connections.getConnection();
        m_otrosTipos.clear();
        for (auto rs = c.openRecordset(
                 QStringLiteral("select tpago_Clave, tpago_Nombre from tTipoPago order by tpago_Nombre"));
             !rs.eof(); rs.moveNext()) {
            const QString clave = rs.value(0).toString();
            if (!kTiposFijos.contains(clave.toUpper()))
                m_otrosTipos.append({clave, rs.value(1).toString()});
        }
        m_denominaciones.clear();
        for (auto rs = c.openRecordset(QStringLiteral(
                 "select deno_Nombre, deno_Valor from tDenominacion order by deno_Valor desc"));
             !rs.eof(); rs.moveNext())
            m_denominaciones.append({rs.value(0).toString(), Decimal::fromVariant(rs.value(1))});
        m_monedas.clear();
        for (auto rs = c.openRecordset(
                 QStringLiteral("select moneda_Clave, moneda_Nombre from tMoneda order by moneda_Nombre"));
             !rs.eof(); rs.moveNext())
            m_monedas.append({rs.value(0).toString(), rs.value(1).toString()});
        m_bancos.clear();
        for (auto rs = c.openRecordset(
                 QStringLiteral("select banco_Clave, banco_Nombre from tBanco order by banco_Nombre"));
             !rs.eof(); rs.moveNext())
            m_bancos.append({rs.value(0).toString(), rs.value(1).toString()});
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("No fue posible leer los tipos de pago"),
                    QStringLiteral("frmCobroDoc.Form_Load"), ErrorInfo::fromException(e));
        return false;
    }
    return true;
}

void CobroDoc::agregarCuentaPorPagar(const CuentaCobro &cuenta)
{
    CuentaCobro c = cuenta;
    c.cobro = Decimal();
    m_cuentas.agrega(c);
    m_aceptado = false;
}

void CobroDoc::agregarNota(const NotaCobro &nota)
{
    PagoCobro p;
    p.tipo = kNota;
    p.importe = nota.importe;
    p.referencia = QString::number(nota.clave);
    p.cliente = nota.cliente;
    m_pagos.agrega(p);
    m_aceptado = false;
}

QString CobroDoc::cliente() const
{
    return cuentas().isEmpty() ? QString() : cuentas().first().cliente;
}

bool CobroDoc::rechaza(const QString &texto, Campo campo)
{
    m_campo = campo;
    m_prompter.information(texto);
    return false;
}

bool CobroDoc::validaNota(const QString &folio, const Decimal &importe, QString *cliente)
{
    // A note typed by hand must be one of this client's, authorised and not in the lines yet:
    // the writer marks it paid, so a note is never used twice.
    bool ok = false;
    const qint64 clave = folio.trimmed().toLongLong(&ok);
    *cliente = this->cliente();
    std::optional<NotaCobro> nota;
    if (ok) {
        try {
            auto rs = m_connections.getConnection().openRecordset(
                QStringLiteral("select notac_Importe, edonc_Clave from tNotaCliente where alm_Clave = ? and "
                               "cli_Clave = ? and notac_Clave = ?"),
                {m_config.getString(QStringLiteral("ALMACEN")), *cliente, clave});
            if (!rs.eof()) {
                nota = NotaCobro{};
                nota->importe = rs.decimal(QStringLiteral("notac_Importe"));
                nota->estado = rs.text(QStringLiteral("edonc_Clave"));
            }
        } catch (const std::exception &e) {
            reportError(m_prompter, QStringLiteral("No fue posible leer la nota de credito"),
                        QStringLiteral("frmCobroDoc.cmdAgregar"), ErrorInfo::fromException(e));
            m_campo = Campo::Referencia;
            return false;
        }
    }
    if (!nota)
        return rechaza(QStringLiteral("La nota de credito no existe"), Campo::Referencia);
    if (nota->estado == QLatin1String("CANCELADA"))
        return rechaza(
            QStringLiteral("No es posible efectuar operaciones sobre esta nota, ya que se encuentra "
                           "cancelada"),
            Campo::Referencia);
    if (nota->estado == QLatin1String("PAGADA"))
        return rechaza(
            QStringLiteral("No es posible efectuar operaciones sobre esta nota, ya que se encuentra "
                           "pagada"),
            Campo::Referencia);
    if (nota->estado != QLatin1String("AUTORIZADA"))
        return rechaza(QStringLiteral("No es posible efectuar operaciones sobre esta nota, ya que no ha sido "
                                      "autorizada"),
                       Campo::Referencia);
    for (const PagoCobro &p : pagos())
        if (p.tipo == kNota && p.referencia.trimmed().toLongLong() == clave)
            return rechaza(QStringLiteral("La nota de credito ya esta en los pagos"), Campo::Referencia);
    if (importe > nota->importe)
        return rechaza(QStringLiteral("El importe excede el de la nota de credito"), Campo::Importe);
    return true;
}

bool CobroDoc::cmdAgregar(const Captura &k)
{
    m_campo = Campo::Ninguno;
    const QString tipo = k.tipo.trimmed().toUpper();
    PagoCobro p;
    p.tipo = tipo;
    std::optional<Decimal> importe;
    if (tipo == kEfectivo) {
        if (!(importe = positivo(k.importe)))
            return rechaza(QStringLiteral("Debe indicar importe en efectivo"), Campo::Importe);
    } else if (tipo == kCheque) {
        if (k.banco.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe seleccionar un banco"), Campo::Banco);
        if (k.cheque.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar el numero de cheque"), Campo::Cheque);
        if (!(importe = positivo(k.importe)))
            return rechaza(QStringLiteral("Debe indicar el importe del cheque"), Campo::Importe);
        p.banco = k.banco.trimmed();
        p.cheque = k.cheque.trimmed();
    } else if (tipo == kTarjeta) {
        if (k.tarjeta.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar el numero de la tarjeta"), Campo::Tarjeta);
        if (k.folio.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar el folio de pago generado por la tarjeta"),
                           Campo::Folio);
        if (!(importe = positivo(k.importe)))
            return rechaza(QStringLiteral("Debe indicar el importe del pago con tarjeta"), Campo::Importe);
        p.tarjeta = k.tarjeta.trimmed();
        p.folioTarjeta = k.folio.trimmed();
    } else if (tipo == kExtranjera) {
        if (k.moneda.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar la moneda de pago"), Campo::Moneda);
        const auto monto = positivo(k.importeMoneda);
        if (!monto)
            return rechaza(QStringLiteral("Debe indicar el importe del pago con moneda extranjera"),
                           Campo::ImporteMoneda);
        const auto tasa = positivo(k.tipoCambio);
        if (!tasa)
            return rechaza(QStringLiteral("Debe indicar el tipo de cambio actual de la moneda"),
                           Campo::TipoCambio);
        p.moneda = k.moneda.trimmed();
        p.importeMoneda = *monto;
        p.tipoCambio = *tasa;
        importe = importeLocal(k.importeMoneda, k.tipoCambio);
    } else if (tipo == kCredito) {
        if (!(importe = positivo(k.importe)))
            return rechaza(QStringLiteral("Debe indicar el importe del pago a credito"), Campo::Importe);
    } else if (tipo == kNota) {
        if (k.referencia.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar el folio de la nota de credito"), Campo::Referencia);
        if (!(importe = positivo(k.importe)))
            return rechaza(QStringLiteral("Debe indicar el importe de la nota de credito"), Campo::Importe);
        if (!validaNota(k.referencia, *importe, &p.cliente))
            return false;
        p.referencia = QString::number(k.referencia.trimmed().toLongLong());
    } else {
        if (tipo.isEmpty())
            return rechaza(QStringLiteral("Debe seleccionar un tipo de pago"), Campo::Tipo);
        if (k.referencia.trimmed().isEmpty())
            return rechaza(QStringLiteral("Debe indicar una referencia"), Campo::Referencia);
        if (!(importe = positivo(k.importe)))
            return rechaza(QStringLiteral("Debe indicar el importe del pago"), Campo::Importe);
        p.tipo = k.tipo.trimmed();
        p.referencia = k.referencia.trimmed();
    }
    if (p.cliente.isEmpty())
        p.cliente = cliente();
    p.importe = *importe;
    m_pagos.agrega(p);
    m_aceptado = false;
    return true;
}

QString CobroDoc::cmdBillete(int indice, const QString &importe) const
{
    if (indice < 0 || indice >= m_denominaciones.size())
        return importe;
    const Decimal actual = positivo(importe).value_or(Decimal());
    return (actual + m_denominaciones.at(indice).valor).toString(2);
}

std::optional<Decimal> CobroDoc::importeLocal(const QString &importeMoneda, const QString &tipoCambio)
{
    const auto monto = positivo(importeMoneda);
    const auto tasa = positivo(tipoCambio);
    if (!monto || !tasa)
        return std::nullopt;
    return (*monto * *tasa).round(2);
}

void CobroDoc::quitaPago(int fila)
{
    m_pagos.quita(fila);
    m_aceptado = false;
}

Decimal CobroDoc::porPagar() const
{
    Decimal t;
    for (const CuentaCobro &c : cuentas())
        t += c.pendiente();
    return t;
}

Decimal CobroDoc::pagado() const
{
    Decimal t;
    for (const PagoCobro &p : pagos())
        t += p.importe;
    return t;
}

Decimal CobroDoc::resta() const
{
    const Decimal r = porPagar() - pagado();
    return r.isNegative() ? Decimal() : r;
}

QString CobroDoc::formatoMoneda(const Decimal &d)
{
    return d.format(QStringLiteral("$#,##0.00"));
}

bool CobroDoc::cmdAceptar()
{
    m_aceptado = false;
    if (pagos().isEmpty()) {
        m_prompter.exclamation(kNoHayPagos);
        return false;
    }
    const Decimal exceso = pagado() - porPagar();
    if (exceso >= EstadosCobro::liquidado()) {
        m_prompter.exclamation(kExcede);
        return false;
    }
    if (pagado() < porPagar() && !m_prompter.question(kParcial))
        return false;
    prorratea();
    m_aceptado = true;
    return true;
}

void CobroDoc::prorratea()
{
    Decimal queda = pagado();
    QList<Decimal> cobros;
    for (const CuentaCobro &c : cuentas()) {
        Decimal cobro = qMin(c.pendiente(), queda);
        if (cobro.isNegative())
            cobro = Decimal();
        cobros << cobro;
        queda -= cobro;
    }
    m_cuentas.setCobros(cobros);
}
