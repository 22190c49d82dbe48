#pragma once

#include "InventariosLista.h"

#include <QAbstractTableModel>

// The list of physical inventories, read only: warehouse, year, number, date, user, kind,
// counts planned, current count, state.
class InventariosListaModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Almacen, Anio, Numero, Fecha, Usuario, Tipo, Conteos, ConteoActual, Estado, Columnas };

    explicit InventariosListaModel(QObject *parent = nullptr);

    void setFilas(const QList<InventariosLista::Fila> &filas);
    const QList<InventariosLista::Fila> &filas() const { return m_filas; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<InventariosLista::Fila> m_filas;
};
