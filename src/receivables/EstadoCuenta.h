#pragma once

#include "Decimal.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QString>

namespace db {
class Connection;
}

// A client's statement in a warehouse: its receivables (charges), what was collected on them
// (credits, one row per payment and receivable), the credit sales not yet turned into
// receivables, and its credit notes, by date with the running balance. A model, so the grid
// services show and export it as it is. A cancelled receivable and its collections are listed
// without counting; a note counts only through the payment that applied it.
class EstadoCuenta : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Fecha, Documento, Concepto, Cargo, Abono, Saldo, Estado, Columnas };
    struct Movimiento {
        QDateTime fecha;
        QString documento, concepto;
        Decimal cargo, abono, saldo;
        QString estado;
        int orden = 0; // within one instant: charges before credits before notes
    };

    explicit EstadoCuenta(QObject *parent = nullptr);

    // Throws db::DbError.
    void carga(db::Connection &c, const QString &almacen, const QString &cliente);
    const QList<Movimiento> &movimientos() const { return m_movimientos; }
    Decimal saldo() const { return m_movimientos.isEmpty() ? Decimal() : m_movimientos.last().saldo; }
    QString cliente() const { return m_cliente; }
    QString nombreCliente() const { return m_nombre; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<Movimiento> m_movimientos;
    QString m_cliente, m_nombre;
};
