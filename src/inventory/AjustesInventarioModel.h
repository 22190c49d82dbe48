#pragma once

#include "InventarioFisico.h"

#include <QAbstractTableModel>

// The adjustments of a processed physical inventory, read only: article, name, lot, counted,
// stock, kind ("ENTRADA DE ALMACEN" / "SALIDA DE ALMACEN"), quantity and cost.
class AjustesInventarioModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Articulo, Nombre, Lote, Contado, Existencia, Tipo, Cantidad, Costo, Columnas };

    explicit AjustesInventarioModel(QObject *parent = nullptr);

    void setFilas(const QList<InventarioFisico::FilaAjuste> &filas);
    const QList<InventarioFisico::FilaAjuste> &filas() const { return m_filas; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<InventarioFisico::FilaAjuste> m_filas;
};
