#pragma once

#include <QAbstractTableModel>

class CorteCierre;

// The three grids of the closing window over a CorteCierre: the movement table (with the
// "SUMAS" row last), the amounts received per payment kind and the cash count. Amounts and
// quantities are edited through the rules (capturaPago, capturaCantidad), so a refused value
// shows its message and leaves the cell as it was. Without "frmCorteFin_VerTotal" the amounts of
// the movement table stay blank: the cashier counts blind.
class MovimientosCorteModelo : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Concepto, Nombre, Ingreso, Egreso, Documentos, NumColumnas };
    MovimientosCorteModelo(const CorteCierre &cierre, bool verImportes, QObject *parent = nullptr);
    void recarga();
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const CorteCierre &m_cierre;
    bool m_verImportes;
};

class PagosRecibidosModelo : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Tipo, Nombre, Importe, NumColumnas };
    explicit PagosRecibidosModelo(CorteCierre &cierre, QObject *parent = nullptr);
    void recarga();
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    CorteCierre &m_cierre;
};

class ArqueoModelo : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Clave, Valor, Nombre, Cantidad, Subtotal, NumColumnas };
    explicit ArqueoModelo(CorteCierre &cierre, QObject *parent = nullptr);
    void recarga();
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    // The count changed the cash received.
    void efectivoCambio();

private:
    CorteCierre &m_cierre;
};
