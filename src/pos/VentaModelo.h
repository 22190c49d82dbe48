#pragma once

#include <QAbstractTableModel>

#include "VentaCaptura.h"

// The line grid of the sale over a VentaCaptura: one row per line, the columns by their keys
// (Clave … ControlInv). Cantidad, Precio, Descuento, IVA and Referencia are editable when the
// capture allows it (rights); an edit goes through VentaCaptura::editaCelda, so a refused value
// shows its message and leaves the cell as it was. Numbers show as the grid does: quantities
// and percentages as typed, money "0.00"; Qt::EditRole gives the plain value.
class VentaModelo : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna {
        Clave,
        Nombre,
        TallaClave,
        TallaNombre,
        ColorClave,
        ColorNombre,
        Cantidad,
        Precio,
        Descuento,
        IVA,
        Importe,
        Total,
        Referencia,
        Renglon,
        Modificado,
        TipoPrecio,
        LoteSerie,
        ControlInv,
        NumColumnas
    };

    explicit VentaModelo(VentaCaptura &captura, QObject *parent = nullptr);

    // The key of a column ("Clave" …) and the column of a key (-1 when unknown).
    static QString clave(int columna);
    static int columna(const QString &clave);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    static std::optional<VentaCaptura::Celda> celda(int columna);
    VentaCaptura &m_captura;
};
