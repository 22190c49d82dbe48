#include "ModuloListModel.h"

ModuloListModel::ModuloListModel(ModuloEditor &editor, QObject *parent) : QAbstractTableModel(parent), m_editor(editor)
{
}

void ModuloListModel::reload()
{
    beginResetModel();
    m_rows = m_editor.lista();
    endResetModel();
}

const ModuloEditor::Modulo *ModuloListModel::at(int row) const
{
    return row >= 0 && row < m_rows.size() ? &m_rows.at(row) : nullptr;
}

int ModuloListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ModuloListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 5;
}

QVariant ModuloListModel::data(const QModelIndex &index, int role) const
{
    const ModuloEditor::Modulo *m = index.isValid() ? at(index.row()) : nullptr;
    if (!m || role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return m->clave;
    case 1:
        return m->nombre;
    case 2:
        return m->tipo;
    case 3:
        return m->secuencia;
    case 4:
        return m->arbol;
    }
    return {};
}

QVariant ModuloListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const headers[] = {"Clave", "Nombre", "Tipo", "Secuencia", "Arbol"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 5)
        return {};
    return QString::fromLatin1(headers[section]);
}
