#pragma once

#include "Decimal.h"

#include <QString>

class ConnectionProvider;
class Prompter;
class cConfigure;

namespace db {
class Connection;
}

// The program's one entry to changes of stock: every sale, return, reception, movement and count
// calls actualizaArticuloAlmacen, which runs the database routine sp_actualizaArticuloAlmacen.
// The routine is atomic and may run inside the caller's open transaction (a savepoint).
class Existencias {
public:
    Existencias(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    // tipo 'E' adds, 'S' removes; cantidad is positive. The three flags apply the article's
    // pack-breaking, container and assembly rules. Without a connection the program's one is used;
    // a caller holding a transaction or a branch connection passes its own. False on any error
    // (nothing is shown: the caller reports ultimoError() and stops).
    // A refusal of the routine (too little stock, a lot missing ...) leaves its own message in
    // ultimoError() and ultimoDetalle() empty; a database failure leaves a plain sentence in
    // ultimoError(), the database text in ultimoDetalle() (for "Detalles"), and is logged.
    bool actualizaArticuloAlmacen(const QString &almacen, const QString &articulo, const QString &loteSerie,
                                  const Decimal &cantidad, const QString &tipo, const QString &origen,
                                  const QString &proveedor, const QString &factura, const Decimal &costo,
                                  bool verificaSeparar, bool verificaAcumular, bool verificaEnsamble,
                                  db::Connection *conexion = nullptr);
    QString ultimoError() const { return m_error; }
    QString ultimoDetalle() const { return m_detalle; }
    // Whether a database error text is one of the stock routine's own refusals.
    static bool esRechazo(const QString &textoDeError);
    // A refusal as the user reads it: PostgreSQL wraps it in "ERROR:" and a context.
    static QString textoDeRechazo(const QString &textoDeError);
    // The stock of the moved row after the call.
    Decimal existencia() const { return m_existencia; }

    // Whether the lot/serial captured for an article of the given control kind is acceptable;
    // with mensaje the refusal is shown (the window then gives the field the focus).
    bool validaLoteSerie(const QString &texto, const QString &control, bool mensaje);

private:
    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    QString m_error;
    QString m_detalle;
    Decimal m_existencia;
};
