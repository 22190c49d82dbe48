#include "ConteosInventarioModel.h"

#include "DbError.h"
#include "Log.h"

#include <QScopedValueRollback>

ConteosInventarioModel::ConteosInventarioModel(InventarioFisico &inventario, Prompter &prompter,
                                               QObject *parent)
    : QAbstractTableModel(parent), m_inventario(inventario), m_prompter(prompter)
{
}

void ConteosInventarioModel::refresca()
{
    beginResetModel();
    m_filas = m_inventario.abierto() ? m_inventario.articulos() : QList<InventarioFisico::FilaConteo>();
    endResetModel();
}

void ConteosInventarioModel::setConteoActual(int conteo)
{
    if (conteo == m_conteoActual)
        return;
    m_conteoActual = conteo;
    if (!m_filas.isEmpty())
        Q_EMIT dataChanged(index(0, Diferencia), index(int(m_filas.size()) - 1, Diferencia));
}

int ConteosInventarioModel::busca(const QString &articulo, const QString &lote) const
{
    for (int i = 0; i < m_filas.size(); ++i)
        if (m_filas[i].articulo == articulo && m_filas[i].lote == lote)
            return i;
    return -1;
}

int ConteosInventarioModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_filas.size());
}

int ConteosInventarioModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columnas;
}

int ConteosInventarioModel::conteoDe(int column)
{
    switch (column) {
    case Conteo1:
        return 1;
    case Conteo2:
        return 2;
    case Conteo3:
        return 3;
    default:
        return 0;
    }
}

QVariant ConteosInventarioModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_filas.size())
        return {};
    const InventarioFisico::FilaConteo &f = m_filas.at(index.row());
    const int c = index.column();
    if (role == Qt::TextAlignmentRole)
        return c >= Conteo1 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role == Qt::ToolTipRole && c == Articulo)
        return f.nombre;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (c) {
    case Articulo:
        return f.articulo;
    case Lote:
        return f.lote;
    case Conteo1:
        return f.conteo1.toString();
    case Conteo2:
        return f.conteo2.toString();
    case Diferencia:
        return m_conteoActual < 2 ? QString() : (f.conteo1 - f.conteo2).toString();
    case Conteo3:
        return f.conteo3.toString();
    default:
        return {};
    }
}

QVariant ConteosInventarioModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titulos = {QStringLiteral("Articulo"),   QStringLiteral("Serie/Lote"),
                                        QStringLiteral("Conteo 1"),   QStringLiteral("Conteo 2"),
                                        QStringLiteral("Diferencia"), QStringLiteral("Conteo 3")};
    return section >= 0 && section < titulos.size() ? QVariant(titulos.at(section)) : QVariant();
}

Qt::ItemFlags ConteosInventarioModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !m_soloLectura && conteoDe(index.column()) > 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ConteosInventarioModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const int conteo = conteoDe(index.column());
    if (!index.isValid() || role != Qt::EditRole || conteo == 0 || m_soloLectura ||
        index.row() >= m_filas.size())
        return false;
    // A refusal's message box takes the focus from the cell editor, whose delegate then commits
    // the same text again: one answer is enough.
    if (m_guardando)
        return false;
    const QScopedValueRollback<bool> guardando(m_guardando, true);
    InventarioFisico::FilaConteo &f = m_filas[index.row()];
    const QString texto = value.toString().trimmed();
    if (texto == data(index, Qt::EditRole).toString())
        return false;
    try {
        if (!m_inventario.fijaConteo(f.articulo, f.lote, conteo, texto))
            return false;
    } catch (const db::DbError &e) {
        reportError(m_prompter, QStringLiteral("No fue posible guardar el conteo del articulo ") + f.articulo,
                    QStringLiteral("frmInventarioDet.fijaConteo"), ErrorInfo::fromException(e));
        return false;
    }
    const Decimal valor = Decimal::fromString(texto);
    (conteo == 1 ? f.conteo1 : conteo == 2 ? f.conteo2 : f.conteo3) = valor;
    Q_EMIT dataChanged(index.siblingAtColumn(Conteo1), index.siblingAtColumn(Conteo3));
    return true;
}
