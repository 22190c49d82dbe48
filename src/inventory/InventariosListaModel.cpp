#include "InventariosListaModel.h"

InventariosListaModel::InventariosListaModel(QObject *parent) : QAbstractTableModel(parent) {}

void InventariosListaModel::setFilas(const QList<InventariosLista::Fila> &filas)
{
    beginResetModel();
    m_filas = filas;
    endResetModel();
}

int InventariosListaModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_filas.size());
}

int InventariosListaModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columnas;
}

QVariant InventariosListaModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_filas.size())
        return {};
    const InventariosLista::Fila &f = m_filas.at(index.row());
    const int c = index.column();
    if (role == Qt::TextAlignmentRole)
        return (c == Anio || c == Numero || c == Conteos || c == ConteoActual)
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    switch (c) {
    case Almacen:
        return f.almacen;
    case Anio:
        return f.anio;
    case Numero:
        return f.numero;
    case Fecha:
        return f.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    case Usuario:
        return f.usuario;
    case Tipo:
        return f.tipo;
    case Conteos:
        return f.conteos;
    case ConteoActual:
        return f.conteoActual;
    case Estado:
        return f.estado;
    default:
        return {};
    }
}

QVariant InventariosListaModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titulos = {
        QStringLiteral("Almacen"), QStringLiteral("Año"),           QStringLiteral("Numero"),
        QStringLiteral("Fecha"),   QStringLiteral("Usuario"),       QStringLiteral("Tipo"),
        QStringLiteral("Conteos"), QStringLiteral("Conteo actual"), QStringLiteral("Estado")};
    return section >= 0 && section < titulos.size() ? QVariant(titulos.at(section)) : QVariant();
}
