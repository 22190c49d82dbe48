#pragma once

#include "Venta.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

class cObjectFactory;

// A finished sale as event scripts and the printers read it ("xVenta"): a copy of the lines, the
// totals and the payment lines, never read from the database.
//   For i = 1 To xVenta.Renglones
//       Echo xVenta.Detalle(i, 0) & " " & xVenta.Detalle(i, 11)   ' key and line total
//   Next
//   For i = 0 To xVenta.RenglonesPagos: Echo xVenta.Pagos(i): Next
// Detalle's row 0 holds the column keys (Clave, Nombre ... ControlInv, see columnas()); lines are
// rows 1 to Renglones. Pagos and Devoluciones run from 0 to their upper bound (-1 when empty). An
// index outside those bounds is the script's "Subscript out of range". Money members are Currency.
class cVenta : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Entrega READ entrega WRITE setEntrega)
    Q_PROPERTY(QString Origen READ origen WRITE setOrigen)
    Q_PROPERTY(QString Name READ name WRITE setName)
    Q_PROPERTY(QVariant IVA READ iva)
    Q_PROPERTY(short Renglones READ renglones)
    Q_PROPERTY(QVariant Importe READ importe)
    Q_PROPERTY(QVariant Total READ total)
    Q_PROPERTY(QVariant Redondeo READ redondeo)
    Q_PROPERTY(int RenglonesPagos READ renglonesPagos)
    Q_PROPERTY(int RenglonesDevoluciones READ renglonesDevoluciones)
    Q_PROPERTY(QVariant Cambio READ cambio)
    Q_PROPERTY(QVariant Articulos READ articulos)
    Q_PROPERTY(int Folio READ folio)
    Q_PROPERTY(bool isLoad READ isLoad)
public:
    // What load copies.
    struct Datos {
        QString entrega;
        QString origen = QStringLiteral("VENTA");
        QList<LineaVenta> lineas;
        Decimal iva, importe, total, redondeo, cambio, articulos;
        QStringList pagos;        // payment lines, tab-separated
        QStringList devoluciones; // returned-merchandise lines
        qint64 folio = 0;
    };

    explicit cVenta(QObject *parent = nullptr);

    // The column keys of Detalle, in column order.
    static const QStringList &columnas();
    // One line as the text cells of Detalle, in columnas() order.
    static QStringList celdas(const LineaVenta &linea);

    // Copies everything at once and marks the snapshot loaded.
    void load(const Datos &datos);

    Q_INVOKABLE QString Detalle(int renglon, int columna) const;
    Q_INVOKABLE QString Pagos(int i) const;
    Q_INVOKABLE QString Devoluciones(int i) const;

    QString entrega() const { return m_entrega; }
    void setEntrega(const QString &v) { m_entrega = v; }
    QString origen() const { return m_origen; }
    void setOrigen(const QString &v) { m_origen = v; }
    QString name() const { return m_name; }
    void setName(const QString &v) { m_name = v; }
    QVariant iva() const { return moneda(m_iva); }
    short renglones() const { return short(m_detalle.size()); }
    QVariant importe() const { return moneda(m_importe); }
    QVariant total() const { return moneda(m_total); }
    QVariant redondeo() const { return moneda(m_redondeo); }
    int renglonesPagos() const { return int(m_pagos.size()) - 1; }
    int renglonesDevoluciones() const { return int(m_devoluciones.size()) - 1; }
    QVariant cambio() const { return moneda(m_cambio); }
    QVariant articulos() const { return moneda(m_articulos); }
    int folio() const { return int(m_folio); }
    bool isLoad() const { return m_loaded; }

    // What load copied, as C++ reads it (the printers).
    const Datos &datos() const { return m_datos; }
    // The amounts as C++ reads them.
    Decimal ivaDecimal() const { return m_iva; }
    Decimal totalDecimal() const { return m_total; }

private:
    // A script's Currency (four decimals, as the language keeps money).
    static QVariant moneda(const Decimal &d);

    Datos m_datos;
    QString m_entrega, m_origen, m_name;
    QList<QStringList> m_detalle;
    QStringList m_pagos, m_devoluciones;
    Decimal m_iva, m_importe, m_total, m_redondeo, m_cambio, m_articulos;
    qint64 m_folio = 0;
    bool m_loaded = false;
};

// Makes "newcVenta" known to the scripts' object factory (an empty snapshot; the returns window
// and the printers fill theirs from C++).
void registraScriptsVenta(cObjectFactory &factory);
