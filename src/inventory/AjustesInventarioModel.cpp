#include "AjustesInventarioModel.h"

AjustesInventarioModel::AjustesInventarioModel(QObject *parent) : QAbstractTableModel(parent) {}

void AjustesInventarioModel::setFilas(const QList<InventarioFisico::FilaAjuste> &filas)
{
    beginResetModel();
    m_filas = filas;
    endResetModel();
}

int AjustesInventarioModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_filas.size());
}

int AjustesInventarioModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columnas;
}

QVariant AjustesInventarioModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_filas.size())
        return {};
    const InventarioFisico::FilaAjuste &f = m_filas.at(index.row());
    const int c = index.column();
    if (role == Qt::TextAlignmentRole)
        return (c == Contado || c == Existencia || c == Cantidad || c == Costo)
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    switch (c) {
    case Articulo:
        return f.articulo;
    case Nombre:
        return f.nombre;
    case Lote:
        return f.lote;
    case Contado:
        return f.contado.toString();
    case Existencia:
        return f.existencia.toString();
    case Tipo:
        return InventarioFisico::nombreAjuste(f.tipo);
    case Cantidad:
        return f.cantidad.toString();
    case Costo:
        return f.costo.format(QStringLiteral("#,##0.00"));
    default:
        return {};
    }
}

QVariant AjustesInventarioModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titulos = {QStringLiteral("Articulo"),   QStringLiteral("Nombre"),
                                        QStringLiteral("Serie/Lote"), QStringLiteral("Contado"),
                                        QStringLiteral("Existencia"), QStringLiteral("Tipo"),
                                        QStringLiteral("Cantidad"),   QStringLiteral("Costo")};
    return section >= 0 && section < titulos.size() ? QVariant(titulos.at(section)) : QVariant();
}
