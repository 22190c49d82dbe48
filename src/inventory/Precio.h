#pragma once

#include "Decimal.h"

#include <QString>
#include <QStringList>

class cCode;

namespace db {
class Recordset;
}

// The price breakdown carried between operations: the article's own figures (art_Costo …
// art_Total) or one price row's (art_Costo, precio_Importe … precio_Total). Percentages are
// whole percents (16 means 16 %).
struct Precio {
    Decimal costo;
    Decimal publico; // before discount, without tax
    Decimal descuento;
    Decimal subTotal;
    Decimal margen;
    Decimal utilidad;
    Decimal impuestoPorcentaje;
    Decimal impuestoImporte;
    Decimal total;

    friend bool operator==(const Precio &, const Precio &) = default;
    // Every figure rounded as "0.00" shows it: what the editors store.
    Precio redondeado() const;

    // The breakdown of the current row: a tArticulo row (art_Costo, art_Importe … art_Total) or a
    // tArticuloPrecio row (art_Costo, precio_Importe … precio_Total).
    static Precio deArticulo(const db::Recordset &rs);
    static Precio deFilaPrecio(const db::Recordset &rs);
};

// The figures of a breakdown, for the editors (which field a method takes as input).
enum class Cifra { Costo, Publico, Descuento, SubTotal, Margen, Utilidad, ImpuestoPorcentaje, ImpuestoImporte, Total };

// The price calculation (calculaPrecio): derives the dependent figures from those the method
// takes as input. The built-in methods are FIJO, PUBLICO (and an empty key), MARGEN, UTILIDAD and
// FINANCIERO; any other key runs the event script "ONCHANGEPRICE_" + key with the ten values
// CambioPrecio, Costo … Total and takes back Costo, Publico, SubTotal, Utilidad,
// ImpuestoPorcentaje, ImpuestoImporte and Total. Nothing is rounded (beyond Decimal's six places).
class CalculoPrecio {
public:
    // Without a script host, user methods fail (the record stays as it was).
    explicit CalculoPrecio(cCode *scripts = nullptr) : m_scripts(scripts) {}

    // False when the record was left as it was: a user method's script failed or gave back a
    // value that is no number, or a figure does not fit.
    bool calculaPrecio(const QString &metodo, Precio &precio) const;

    static bool esInterno(const QString &metodo);
    // What the editor highlights when the method is chosen.
    static QList<Cifra> entradas(const QString &metodo);
    static QString claveScript(const QString &metodo) { return QStringLiteral("ONCHANGEPRICE_") + metodo; }
    // The values a price script sees, as the script editor offers them.
    static QStringList valoresScript();

private:
    bool porScript(const QString &metodo, Precio &precio) const;
    cCode *m_scripts;
};
