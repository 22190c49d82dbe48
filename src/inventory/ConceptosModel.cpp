#include "ConceptosModel.h"

using Linea = TipoClienteConceptos::Linea;

ConceptosModel::ConceptosModel(QObject *parent) : QAbstractTableModel(parent) {}

void ConceptosModel::setControl(const QString &titulo, const QList<TipoClienteConceptos::Opcion> &conceptos,
                                const QList<TipoClienteConceptos::Opcion> &metodos)
{
    m_titulo = titulo;
    m_nombresConcepto.clear();
    for (const auto &o : conceptos)
        m_nombresConcepto.insert(o.clave, o.nombre);
    m_nombresMetodo.clear();
    for (const auto &o : metodos)
        m_nombresMetodo.insert(o.clave, o.nombre);
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (!m_lineas.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void ConceptosModel::setLineas(const QList<Linea> &lineas)
{
    beginResetModel();
    m_lineas = lineas;
    m_modificado = false;
    endResetModel();
}

int ConceptosModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lineas.size());
}

int ConceptosModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QString *ConceptosModel::campo(int row, int column)
{
    if (row < 0 || row >= m_lineas.size())
        return nullptr;
    Linea &l = m_lineas[row];
    switch (column) {
    case TipoClienteConceptos::ColConcepto:
        return &l.concepto;
    case TipoClienteConceptos::ColMetodo:
        return &l.metodo;
    case TipoClienteConceptos::ColValor:
        return &l.valor;
    default:
        return nullptr;
    }
}

QVariant ConceptosModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lineas.size())
        return {};
    const QString *v = const_cast<ConceptosModel *>(this)->campo(index.row(), index.column());
    if (!v)
        return {};
    if (role == Qt::EditRole)
        return *v;
    if (role == Qt::TextAlignmentRole && index.column() == TipoClienteConceptos::ColValor)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const QHash<QString, QString> *nombres =
        index.column() == TipoClienteConceptos::ColConcepto ? &m_nombresConcepto
        : index.column() == TipoClienteConceptos::ColMetodo ? &m_nombresMetodo
                                                            : nullptr;
    if (nombres && nombres->contains(*v))
        return QString(*v + QStringLiteral(" - ") + nombres->value(*v));
    return *v;
}

bool ConceptosModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || m_soloLectura)
        return false;
    QString *v = campo(index.row(), index.column());
    if (!v)
        return false;
    const QString nuevo = value.toString().trimmed();
    if (*v == nuevo)
        return true;
    *v = nuevo;
    m_modificado = true;
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags ConceptosModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!m_soloLectura)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant ConceptosModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case TipoClienteConceptos::ColConcepto:
        return m_titulo;
    case TipoClienteConceptos::ColMetodo:
        return QStringLiteral("Metodo");
    case TipoClienteConceptos::ColValor:
        return QStringLiteral("Valor");
    default:
        return {};
    }
}

bool ConceptosModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_lineas.size() || count <= 0 || m_soloLectura)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_lineas.insert(row, Linea{});
    m_modificado = true;
    endInsertRows();
    return true;
}

bool ConceptosModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_lineas.size() || m_soloLectura)
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_lineas.remove(row, count);
    m_modificado = true;
    endRemoveRows();
    return true;
}
