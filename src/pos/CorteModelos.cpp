#include "CorteModelos.h"

#include "CorteCierre.h"

namespace {

QString dinero(const Decimal &d)
{
    return d.format(QStringLiteral("#,##0.00"));
}

QVariant alineado(int columna, std::initializer_list<int> numericas)
{
    for (int n : numericas)
        if (n == columna)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

} // namespace

MovimientosCorteModelo::MovimientosCorteModelo(const CorteCierre &cierre, bool verImportes, QObject *parent)
    : QAbstractTableModel(parent), m_cierre(cierre), m_verImportes(verImportes)
{
}

void MovimientosCorteModelo::recarga()
{
    beginResetModel();
    endResetModel();
}

int MovimientosCorteModelo::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_cierre.cargado())
        return 0;
    return int(m_cierre.resumen().movimientos.size()) + 1;
}

int MovimientosCorteModelo::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NumColumnas;
}

QVariant MovimientosCorteModelo::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return alineado(index.column(), {Ingreso, Egreso, Documentos});
    if (role != Qt::DisplayRole)
        return {};
    const ResumenCorte &r = m_cierre.resumen();
    const bool importes = m_verImportes || index.column() < Ingreso || index.column() == Documentos;
    if (index.row() == r.movimientos.size()) {
        switch (index.column()) {
        case Nombre:
            return QStringLiteral("SUMAS");
        case Ingreso:
            return m_verImportes ? dinero(r.ingresos()) : QVariant();
        case Egreso:
            return m_verImportes ? dinero(r.egresos()) : QVariant();
        default:
            return {};
        }
    }
    if (!importes)
        return {};
    const MovimientoResumen &m = r.movimientos.at(index.row());
    switch (index.column()) {
    case Concepto:
        return m.concepto;
    case Nombre:
        return m.nombre;
    case Ingreso:
        return m.ingreso ? dinero(m.importe) : QVariant();
    case Egreso:
        return m.ingreso ? QVariant() : dinero(m.importe);
    default:
        return m.documentos < 0 ? QVariant() : QVariant(m.documentos);
    }
}

QVariant MovimientosCorteModelo::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const t[] = {"Concepto", "Descripcion", "Ingreso", "Egreso", "Documentos"};
    return section >= 0 && section < NumColumnas ? QString::fromLatin1(t[section]) : QVariant();
}

PagosRecibidosModelo::PagosRecibidosModelo(CorteCierre &cierre, QObject *parent)
    : QAbstractTableModel(parent), m_cierre(cierre)
{
}

void PagosRecibidosModelo::recarga()
{
    beginResetModel();
    endResetModel();
}

int PagosRecibidosModelo::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_cierre.cargado() ? 0 : int(m_cierre.resumen().pagos.size());
}

int PagosRecibidosModelo::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NumColumnas;
}

QVariant PagosRecibidosModelo::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return alineado(index.column(), {Importe});
    const PagoRecibido &p = m_cierre.resumen().pagos.at(index.row());
    if (role == Qt::EditRole && index.column() == Importe)
        return p.importe.toString(2);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Tipo:
        return p.tipo;
    case Nombre:
        return p.nombre;
    default:
        return dinero(p.importe);
    }
}

QVariant PagosRecibidosModelo::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const t[] = {"Tipo", "Forma de pago", "Importe recibido"};
    return section >= 0 && section < NumColumnas ? QString::fromLatin1(t[section]) : QVariant();
}

Qt::ItemFlags PagosRecibidosModelo::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    return index.isValid() && index.column() == Importe ? f | Qt::ItemIsEditable : f;
}

bool PagosRecibidosModelo::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != Importe ||
        !m_cierre.capturaPago(index.row(), value.toString()))
        return false;
    Q_EMIT dataChanged(index, index);
    return true;
}

ArqueoModelo::ArqueoModelo(CorteCierre &cierre, QObject *parent)
    : QAbstractTableModel(parent), m_cierre(cierre)
{
}

void ArqueoModelo::recarga()
{
    beginResetModel();
    endResetModel();
}

int ArqueoModelo::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_cierre.cargado() ? 0 : int(m_cierre.resumen().arqueo.size());
}

int ArqueoModelo::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NumColumnas;
}

QVariant ArqueoModelo::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return alineado(index.column(), {Valor, Cantidad, Subtotal});
    const ArqueoFila &a = m_cierre.resumen().arqueo.at(index.row());
    if (role == Qt::EditRole && index.column() == Cantidad)
        return QString::number(a.cantidad);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Clave:
        return a.clave;
    case Valor:
        return dinero(a.valor);
    case Nombre:
        return a.nombre;
    case Cantidad:
        return a.cantidad;
    default:
        return dinero(a.subtotal());
    }
}

QVariant ArqueoModelo::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const t[] = {"Clave", "Valor", "Denominacion", "Cantidad", "Subtotal"};
    return section >= 0 && section < NumColumnas ? QString::fromLatin1(t[section]) : QVariant();
}

Qt::ItemFlags ArqueoModelo::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    return index.isValid() && index.column() == Cantidad ? f | Qt::ItemIsEditable : f;
}

bool ArqueoModelo::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != Cantidad ||
        !m_cierre.capturaCantidad(index.row(), value.toString()))
        return false;
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), NumColumnas - 1));
    Q_EMIT efectivoCambio();
    return true;
}
