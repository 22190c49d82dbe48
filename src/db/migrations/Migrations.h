#pragma once

#include "Schema.h"

#include <QVariantMap>

namespace db {
class Connection;
}

// One function per migration, each in its own file; Migrations.cpp lists them in order.
namespace db::migrations {

const QList<Migration> &all();

void baseline(Connection &connection);          // DB-2009May11
void contractFunctions(Connection &connection); // the server contract on PostgreSQL
void secuencias(Connection &connection);        // tSecuencia, sp_generasecuencia
// sp_generasecuencia for SQLite (Routines)
QVariantMap generaSecuencia(Connection &connection, const QVariantMap &params);
void seguridad(Connection &connection);          // users, profiles, modules and rights
void codigo(Connection &connection);             // tCodigo: event scripts
void consultas(Connection &connection);          // tConsulta, tSelect: stored queries
void catalogos(Connection &connection);          // the small catalogues
void articulo(Connection &connection);           // tArticulo
void secuenciasChecadas(Connection &connection); // sp_generasecuencia with a checked sum (PostgreSQL)
void auditoria(Connection &connection);          // tAuditoria and the triggers that fill it
void busqueda(Connection &connection);           // mdr_fold on PostgreSQL: accent-blind searches
void precios(Connection &connection);            // price rows, methods, concepts, assemblies, stock rows
void busquedaArticulos(Connection &connection);  // trigram index of the article names (any-part search)
void existencias(Connection &connection);        // tArticuloKardex, tTipoKardex, sp_actualizaArticuloAlmacen
// sp_actualizaArticuloAlmacen for SQLite (Routines)
QVariantMap actualizaArticuloAlmacen(Connection &connection, const QVariantMap &params);
void inventario(Connection &connection); // tInventario, tInventarioArticulo, tInventarioAjuste
void movAlmacen(Connection &connection); // tMovAlmacen: warehouse movements
void clientes(Connection &connection);   // tCliente and its catalogues, SAT tax regimes and CFDI uses
void cortes(Connection &connection);     // TCORTE, tMovCaja, tCorteTipoPago: cash-register sessions
void ventas(Connection &connection);     // tVenta and its lines, payments, tax, held sales, receivables, deliveries
void inventario(Connection &connection);         // tInventario, tInventarioArticulo, tInventarioAjuste
void movAlmacen(Connection &connection);         // tMovAlmacen: warehouse movements
void movAlmacenDerechos(Connection &connection); // rights to register and cancel movements
void ventasDerechos(Connection &connection);     // the frmVenta_ rights of the counter

// A right (command module) under a menu entry.
struct Derecho {
    QString clave;
    QString nombre;
};
// Adds the rights missing under padre and grants them to the profiles that hold otorgarComo.
void agregaDerechos(Connection &connection, const QString &padre, const QList<Derecho> &derechos,
                    const QString &otorgarComo);
void proveedores(Connection &connection); // tProveedor, its departments and exchange layouts, tControlPrecio
void cobranza(Connection &connection);    // TCOBRO, tCobranzaCobro, tNotaCliente: collections and credit notes
// the cash count of a closed cut; supplier invoices and payments, bank accounts and movements
void cortesCierre(Connection &connection);
// stored reports: designs, parameters and their catalogues
void reportes(Connection &connection);

} // namespace db::migrations
