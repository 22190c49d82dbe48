#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// A table over a list of rows of one kind under fixed column titles: the counts, the titles
// (rows numbered from 1), adding, removing and clearing rows. The model that derives from it says
// how a row shows (data).
template <typename Fila>
class ModeloLista : public QAbstractTableModel {
public:
    explicit ModeloLista(const QStringList &encabezados, QObject *parent = nullptr)
        : QAbstractTableModel(parent), m_encabezados(encabezados)
    {
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_filas.size());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_encabezados.size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal)
            return section >= 0 && section < m_encabezados.size() ? QVariant(m_encabezados.at(section)) : QVariant();
        return section + 1;
    }

    const QList<Fila> &filas() const { return m_filas; }
    void agrega(const Fila &fila)
    {
        beginInsertRows({}, int(m_filas.size()), int(m_filas.size()));
        m_filas.append(fila);
        endInsertRows();
    }
    void quita(int fila)
    {
        if (fila < 0 || fila >= m_filas.size())
            return;
        beginRemoveRows({}, fila, fila);
        m_filas.removeAt(fila);
        endRemoveRows();
    }
    void limpia()
    {
        beginResetModel();
        m_filas.clear();
        endResetModel();
    }

protected:
    // The row an index shows; null outside the rows and columns.
    const Fila *fila(const QModelIndex &index) const
    {
        if (!index.isValid() || index.row() >= m_filas.size() || index.column() >= m_encabezados.size())
            return nullptr;
        return &m_filas.at(index.row());
    }

    QList<Fila> m_filas;

private:
    QStringList m_encabezados;
};
