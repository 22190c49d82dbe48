#pragma once

// Shared by the files of the sale capture; not part of its interface.
#include "VentaCaptura.h"

#include <optional>

struct VentaCaptura::Articulo {
    QString clave;
    QString nombre;
    bool referencia = false; // ref_Clave or ref_Pregunta 'SI'
    QString estado;          // eart_Clave
    QString control;         // cinv_Clave
    bool granel = false;
    bool ensamble = false;
    std::optional<Decimal> costo;
    QString venderAbajoDelCosto;
};

namespace venta {

inline bool esSi(const QString &valor)
{
    const QString v = valor.trimmed().toUpper();
    return v == QLatin1String("SI") || v == QLatin1String("S");
}

// A number typed by the cashier (or read from a file); nothing when it is not one.
inline std::optional<Decimal> numero(const QString &texto)
{
    bool ok = false;
    const Decimal d = Decimal::fromString(texto.trimmed(), &ok);
    if (!ok || texto.trimmed().isEmpty())
        return std::nullopt;
    return d;
}

// A quantity or percentage in a message: its shortest exact text.
inline QString texto(const Decimal &d)
{
    return d.toString();
}

} // namespace venta
