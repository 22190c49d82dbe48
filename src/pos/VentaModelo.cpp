#include "VentaModelo.h"

namespace {

const char *const kClaves[] = {"Clave",       "Nombre",    "TallaClave", "TallaNombre", "ColorClave",
                               "ColorNombre", "Cantidad",  "Precio",     "Descuento",   "IVA",
                               "Importe",     "Total",     "Referencia", "Renglon",     "Modificado",
                               "TipoPrecio",  "LoteSerie", "ControlInv"};

const char *const kTitulos[] = {"Clave",        "Nombre",     "Talla",      "Nombre talla", "Color",
                                "Nombre color", "Cantidad",   "Precio",     "Descuento",    "IVA",
                                "Importe",      "Total",      "Referencia", "Renglón",      "Modificado",
                                "Tipo precio",  "Lote/Serie", "Control"};

} // namespace

VentaModelo::VentaModelo(VentaCaptura &captura, QObject *parent)
    : QAbstractTableModel(parent), m_captura(captura)
{
    connect(&captura, &VentaCaptura::lineasCambiaron, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&captura, &VentaCaptura::lineaCambio, this, [this](int fila) {
        if (fila >= 0 && fila < rowCount())
            Q_EMIT dataChanged(index(fila, 0), index(fila, NumColumnas - 1));
    });
    // Recomputing the totals rewrites Importe and Total of every line.
    connect(&captura, &VentaCaptura::totalesCambiaron, this, [this] {
        if (rowCount() > 0)
            Q_EMIT dataChanged(index(0, Importe), index(rowCount() - 1, Total));
    });
}

QString VentaModelo::clave(int columna)
{
    return columna >= 0 && columna < NumColumnas ? QString::fromLatin1(kClaves[columna]) : QString();
}

int VentaModelo::columna(const QString &clave)
{
    for (int i = 0; i < NumColumnas; ++i)
        if (clave.compare(QLatin1String(kClaves[i]), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int VentaModelo::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_captura.lineas().size());
}

int VentaModelo::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NumColumnas;
}

QVariant VentaModelo::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LineaVenta &l = m_captura.lineas().at(index.row());
    const bool edicion = role == Qt::EditRole;
    if (role == Qt::TextAlignmentRole) {
        const int c = index.column();
        return (c >= Cantidad && c <= Total) || c == Renglon ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                             : QVariant();
    }
    if (role != Qt::DisplayRole && !edicion)
        return {};
    const auto dinero = [edicion](const Decimal &d) {
        return edicion ? d.toString() : d.format(QStringLiteral("0.00"));
    };
    switch (index.column()) {
    case Clave:
        return l.clave;
    case Nombre:
        return l.nombre;
    case TallaClave:
        return l.tallaClave;
    case TallaNombre:
        return l.tallaNombre;
    case ColorClave:
        return l.colorClave;
    case ColorNombre:
        return l.colorNombre;
    case Cantidad:
        return l.cantidad.toString();
    case Precio:
        return dinero(l.precio);
    case Descuento:
        return l.descuento.toString();
    case IVA:
        return l.iva.toString();
    case Importe:
        return dinero(l.importe);
    case Total:
        return dinero(l.total);
    case Referencia:
        return l.referencia;
    case Renglon:
        return l.renglon;
    case Modificado:
        return l.modificado ? QStringLiteral("S") : QStringLiteral("N");
    case TipoPrecio:
        return l.tipoPrecio;
    case LoteSerie:
        return l.loteSerie;
    case ControlInv:
        return l.controlInv;
    default:
        return {};
    }
}

QVariant VentaModelo::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= NumColumnas)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(kTitulos[section]);
}

std::optional<VentaCaptura::Celda> VentaModelo::celda(int columna)
{
    switch (columna) {
    case Cantidad:
        return VentaCaptura::Celda::Cantidad;
    case Precio:
        return VentaCaptura::Celda::Precio;
    case Descuento:
        return VentaCaptura::Celda::Descuento;
    case IVA:
        return VentaCaptura::Celda::IVA;
    case Referencia:
        return VentaCaptura::Celda::Referencia;
    default:
        return std::nullopt;
    }
}

Qt::ItemFlags VentaModelo::flags(const QModelIndex &index) const
{
    if (!index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (const auto c = celda(index.column()); c && m_captura.puedeEditar(index.row(), *c))
        f |= Qt::ItemIsEditable;
    return f;
}

bool VentaModelo::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const auto c = celda(index.column());
    return c && m_captura.editaCelda(index.row(), *c, value.toString());
}
