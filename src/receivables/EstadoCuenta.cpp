#include "EstadoCuenta.h"

#include "Connection.h"

#include <algorithm>

namespace {

QString dinero(const Decimal &d)
{
    return d.format(QStringLiteral("$#,##0.00"));
}

} // namespace

EstadoCuenta::EstadoCuenta(QObject *parent) : QAbstractTableModel(parent) {}

void EstadoCuenta::carga(db::Connection &c, const QString &almacen, const QString &cliente)
{
    QList<Movimiento> l;
    const QVariant nombre =
        c.scalar(QStringLiteral("select cli_Nombre from tCliente where cli_Clave = ?"), {cliente});
    for (auto rs = c.openRecordset(
             QStringLiteral(
                 "select cob_Clave, cob_FecReg, cob_Importe, cob_Referencia, cob_FecVenc, ecob_Clave from "
                 "tCobranza where alm_Clave = ? and cli_Clave = ?"),
             {almacen, cliente});
         !rs.eof(); rs.moveNext()) {
        Movimiento m;
        m.fecha = rs.dateTime(QStringLiteral("cob_FecReg"));
        m.documento = QStringLiteral("CxC ") + rs.text(QStringLiteral("cob_Clave"));
        m.estado = rs.text(QStringLiteral("ecob_Clave"));
        const Decimal importe = rs.decimal(QStringLiteral("cob_Importe"));
        QString concepto = QStringLiteral("Cuenta por cobrar");
        const QString ref = rs.text(QStringLiteral("cob_Referencia")).trimmed();
        if (!ref.isEmpty())
            concepto += QStringLiteral(" ") + ref;
        concepto += QStringLiteral(", vence ") +
                    rs.dateTime(QStringLiteral("cob_FecVenc")).toString(QStringLiteral("dd/MM/yyyy"));
        if (m.estado == QLatin1String("CANCELADA"))
            concepto += QStringLiteral(" (cancelada, ") + dinero(importe) + QStringLiteral(" no cuenta)");
        else
            m.cargo = importe;
        m.concepto = concepto;
        l << m;
    }
    for (auto rs = c.openRecordset(
             QStringLiteral(
                 "select l.cob_Clave, l.cobro_Clave, l.ccob_Importe, l.ccob_Fecha, p.tcobro_Clave, "
                 "p.cobro_Referencia, c.ecob_Clave from tCobranzaCobro l join tCobranza c on c.alm_Clave = "
                 "l.alm_Clave and c.cob_Clave = l.cob_Clave join TCOBRO p on p.alm_Clave = l.alm_Clave "
                 "and p.cobro_Clave = l.cobro_Clave where l.alm_Clave = ? and c.cli_Clave = ?"),
             {almacen, cliente});
         !rs.eof(); rs.moveNext()) {
        Movimiento m;
        m.fecha = rs.dateTime(QStringLiteral("ccob_Fecha"));
        m.documento = QStringLiteral("Cobro ") + rs.text(QStringLiteral("cobro_Clave"));
        const QString tipo = rs.text(QStringLiteral("tcobro_Clave"));
        const Decimal importe = rs.decimal(QStringLiteral("ccob_Importe"));
        m.concepto = QStringLiteral("Pago ") + tipo;
        if (tipo == QLatin1String("NOTA"))
            m.concepto += QStringLiteral(" ") + rs.text(QStringLiteral("cobro_Referencia"));
        m.concepto += QStringLiteral(" a CxC ") + rs.text(QStringLiteral("cob_Clave"));
        if (rs.text(QStringLiteral("ecob_Clave")) == QLatin1String("CANCELADA"))
            m.concepto += QStringLiteral(" (cancelada, ") + dinero(importe) + QStringLiteral(" no cuenta)");
        else
            m.abono = importe;
        m.orden = 1;
        l << m;
    }
    for (auto rs = c.openRecordset(
             QStringLiteral(
                 "select p.vpago_Importe, v.venta_Folio, v.venta_Fecha from tVentaPago p join tVenta v on "
                 "v.term_Clave = p.term_Clave and v.corte_Anio = p.corte_Anio and v.corte_Numero = "
                 "p.corte_Numero and v.venta_Numero = p.venta_Numero where p.alm_Clave = ? and "
                 "p.cli_Clave = ? and p.tpago_Clave = 'CREDITO' and p.evpago_Clave = 'REGISTRADO'"),
             {almacen, cliente});
         !rs.eof(); rs.moveNext()) {
        Movimiento m;
        m.fecha = rs.dateTime(QStringLiteral("venta_Fecha"));
        m.documento = QStringLiteral("Venta ") + rs.text(QStringLiteral("venta_Folio"));
        m.concepto = QStringLiteral("Venta a credito por registrar");
        m.cargo = rs.decimal(QStringLiteral("vpago_Importe"));
        m.estado = QStringLiteral("REGISTRADO");
        l << m;
    }
    for (auto rs = c.openRecordset(
             QStringLiteral("select notac_Clave, notac_Fecha, notac_Importe, notac_Concepto, "
                            "edonc_Clave from tNotaCliente where alm_Clave = ? and cli_Clave = ?"),
             {almacen, cliente});
         !rs.eof(); rs.moveNext()) {
        Movimiento m;
        m.fecha = rs.dateTime(QStringLiteral("notac_Fecha"));
        m.documento = QStringLiteral("Nota ") + rs.text(QStringLiteral("notac_Clave"));
        m.concepto =
            QStringLiteral("Nota de credito por ") + dinero(rs.decimal(QStringLiteral("notac_Importe")));
        const QString concepto = rs.text(QStringLiteral("notac_Concepto")).trimmed();
        if (!concepto.isEmpty())
            m.concepto += QStringLiteral(": ") + concepto;
        m.estado = rs.text(QStringLiteral("edonc_Clave"));
        m.orden = 2;
        l << m;
    }
    std::stable_sort(l.begin(), l.end(), [](const Movimiento &a, const Movimiento &b) {
        if (a.fecha != b.fecha)
            return a.fecha < b.fecha;
        if (a.orden != b.orden)
            return a.orden < b.orden;
        return a.documento < b.documento;
    });
    Decimal saldo;
    for (Movimiento &m : l) {
        saldo += m.cargo - m.abono;
        m.saldo = saldo;
    }
    beginResetModel();
    m_movimientos = l;
    m_cliente = cliente;
    m_nombre = nombre.toString();
    endResetModel();
}

int EstadoCuenta::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_movimientos.size());
}

int EstadoCuenta::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columnas;
}

QVariant EstadoCuenta::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_movimientos.size() || index.column() >= Columnas)
        return {};
    const Movimiento &m = m_movimientos.at(index.row());
    const int col = index.column();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(col >= Cargo && col <= Saldo ? Qt::AlignRight | Qt::AlignVCenter
                                                                : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (col) {
    case Fecha:
        return m.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    case Documento:
        return m.documento;
    case Concepto:
        return m.concepto;
    case Cargo:
        return m.cargo.isZero() ? QString() : m.cargo.format(QStringLiteral("#,##0.00"));
    case Abono:
        return m.abono.isZero() ? QString() : m.abono.format(QStringLiteral("#,##0.00"));
    case Saldo:
        return m.saldo.format(QStringLiteral("#,##0.00"));
    case Estado:
        return m.estado;
    }
    return {};
}

QVariant EstadoCuenta::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titulos[] = {"Fecha", "Documento", "Concepto", "Cargo",
                                          "Abono", "Saldo",     "Estado"};
    return section >= 0 && section < Columnas ? QString::fromLatin1(titulos[section]) : QVariant();
}
