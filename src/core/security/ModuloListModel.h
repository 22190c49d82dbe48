#pragma once

#include "ModuloEditor.h"

#include <QAbstractTableModel>

// The module list of frmModuloCon: key, name, kind, order and path, ordered by path.
class ModuloListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModuloListModel(ModuloEditor &editor, QObject *parent = nullptr);

    void reload();
    const ModuloEditor::Modulo *at(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ModuloEditor &m_editor;
    QList<ModuloEditor::Modulo> m_rows;
};
