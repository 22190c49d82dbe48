#pragma once

#include "Precio.h"

#include <QDateTime>

#include <functional>
#include <optional>

class ConnectionProvider;
class Prompter;

namespace db {
class Connection;
}

// The price that applies to a client type, as the sale takes it.
struct PrecioCliente {
    Precio precio;
    QString tipoPrecio; // 'NORMAL', 'LISTA', 'OFERTA'; empty when the article's own breakdown
    int numero = 0;     // precio_Clave of the row
    QString metodo;     // the article's cambio_Clave
    // An offer's units: how many may still be sold at it.
    Decimal ofertaDisponible;
};

// The article's price rows: the normal row rewritten from the article, the price typed at the
// sale screen, and the resolution of a client type's price. Each writer runs in one transaction
// (a savepoint inside the caller's): on any failure nothing of it stays.
class PreciosArticulo {
public:
    // Which rows obtenPrecioCliente considers: "TODO" (or empty), "NORMAL", "OFERTA", "SINOFERTA".
    static bool filtroValido(const QString &filtro);

    PreciosArticulo(ConnectionProvider &connections, Prompter &prompter, const CalculoPrecio &calculo);

    // The clock offers are judged by; the database server's by default.
    void setReloj(std::function<QDateTime()> reloj) { m_reloj = std::move(reloj); }
    QDateTime ahora();

    // Rewrites the 'NORMAL' row from tArticulo. Throws on a database error (the caller's
    // transaction decides); actualizaPrecioNormal reports it and returns false instead.
    static void escribePrecioNormal(db::Connection &connection, const QString &articulo);
    bool actualizaPrecioNormal(const QString &articulo);

    // Stores a price typed at the sale screen: public price, discount and tax percentage, the
    // derived figures, and the normal row. False (after reporting) on a database error.
    bool guardaPrecioVenta(const QString &articulo, const Decimal &publico, const Decimal &descuento,
                           const Decimal &impuestoPorcentaje);

    // The price of one article for a client type; nothing (after the message that says why)
    // when none applies. cantidad > 0: an offer applies only while it has that many units left.
    std::optional<PrecioCliente> obtenPrecioCliente(const QString &articulo, const QString &tipoCliente,
                                                    const QString &filtro = QString(),
                                                    const Decimal &cantidad = Decimal());

    // An offer row is in force at that moment with those units sold.
    static bool ofertaVigente(const QDateTime &inicio, const QDateTime &fin, const Decimal &cantidad,
                              const Decimal &vendidas, const QDateTime &momento, const Decimal &solicitada = {});

private:
    struct Fila;
    std::optional<PrecioCliente> primeraOferta(db::Connection &c, const QString &articulo, int lista,
                                               const Decimal &costo, const Decimal &cantidad);
    PrecioCliente desdeFila(const Fila &fila, const Decimal &costoActual) const;

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    const CalculoPrecio &m_calculo;
    std::function<QDateTime()> m_reloj;
};
