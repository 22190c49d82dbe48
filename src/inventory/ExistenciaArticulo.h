#pragma once

#include "Decimal.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

class ConnectionProvider;
class Prompter;

// The stock of one article, read only: one row per warehouse and lot (with the warehouse's
// name), the rows at zero hidden unless asked for; a warehouse with more than one row shown
// closes with its total row. The overall total is total().
class ExistenciaArticulo : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Almacen, Nombre, LoteSerie, Existencia, NumColumnas };

    struct Fila {
        QString almacen, nombre, lote;
        Decimal existencia;
        bool esTotal = false; // a warehouse's total row
    };

    ExistenciaArticulo(ConnectionProvider &connections, Prompter &prompter, QObject *parent = nullptr);

    // Reads the article's rows; a database error is reported and leaves the grid empty.
    bool carga(const QString &articulo, bool conCeros = false);
    void limpia();

    const QList<Fila> &filas() const { return m_filas; }
    // Over every row of the article, the hidden zero rows included (they add nothing).
    Decimal total() const { return m_total; }
    Decimal totalAlmacen(const QString &almacen) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    QList<Fila> m_filas;
    QList<QPair<QString, Decimal>> m_totales; // per warehouse, in order
    Decimal m_total;
};
