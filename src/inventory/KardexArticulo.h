#pragma once

#include "Decimal.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

class ConnectionProvider;
class Prompter;

// The stock history of one article, read only: newest first (kar_Fecha, then kar_Clave), at
// most a limit of rows so a long history opens at once; optionally one warehouse and a range
// of days.
class KardexArticulo : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna { Fecha, Almacen, Tipo, LoteSerie, Cantidad, Existencia, Costo, Origen, Proveedor, Factura,
                   Usuario, NumColumnas };
    static constexpr int kLimite = 1000;

    struct Filtro {
        QString almacen;  // empty: every warehouse
        QDate desde, hasta; // invalid: open on that side; both ends included
        int limite = kLimite;
    };

    struct Fila {
        QDateTime fecha;
        QString almacen, tipo, nombreTipo, lote, origen, proveedor, factura, usuario;
        Decimal cantidad, existencia, costo;
    };

    KardexArticulo(ConnectionProvider &connections, Prompter &prompter, QObject *parent = nullptr);

    // Reads the article's rows; a database error is reported and leaves the grid empty.
    bool carga(const QString &articulo, const Filtro &filtro);
    bool carga(const QString &articulo) { return carga(articulo, Filtro()); }
    void limpia();

    const QList<Fila> &filas() const { return m_filas; }
    // More rows than the limit matched (only the newest are shown).
    bool recortado() const { return m_recortado; }
    // "Mostrando los ultimos 1000 movimientos" when cut, otherwise how many there are.
    QString resumen() const;
    // Warehouse key and name, for the filter.
    QList<QPair<QString, QString>> almacenes();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    QList<Fila> m_filas;
    int m_limite = kLimite;
    bool m_recortado = false;
};
