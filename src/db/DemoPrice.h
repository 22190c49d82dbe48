#pragma once

#include "Decimal.h"

#include <QString>

namespace db {

// One price breakdown of the demo articles, figured as the article editor figures it: the
// method's inputs go through the price calculation and every figure is kept as the editor shows
// it, "0.00" (two decimals, half away from zero). The demo data and the article generator live
// below the inventory feature, so they carry their own copy of the arithmetic.
struct DemoPrice {
    Decimal costo, publico, descuento, subTotal, margen, utilidad, ivaPorc, iva, total;

    // metodo: "FIJO", "PUBLICO" (inputs publico, descuento), "MARGEN" (margen), "UTILIDAD"
    // (utilidad), "FINANCIERO" (utilidad, publico). costo and ivaPorc are always inputs.
    static DemoPrice calcula(const QString &metodo, const DemoPrice &entrada);
};

} // namespace db
