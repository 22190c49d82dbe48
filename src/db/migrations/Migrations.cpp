#include "Migrations.h"

namespace db::migrations {

// Append new migrations at the end; keys are never renamed or reordered once released.
const QList<Migration> &all()
{
    static const QList<Migration> list = {
        {QStringLiteral("DB-2009May11"), &baseline},
        {QStringLiteral("MDR-2026-secuencias"), &secuencias},
        {QStringLiteral("MDR-2026-seguridad"), &seguridad},
        {QStringLiteral("MDR-2026-codigo"), &codigo},
        {QStringLiteral("MDR-2026-consultas"), &consultas},
        {QStringLiteral("MDR-2026-catalogos"), &catalogos},
        {QStringLiteral("MDR-2026-articulo"), &articulo},
        {QStringLiteral("MDR-2026-secuencias-64"), &secuenciasChecadas},
        {QStringLiteral("MDR-2026-auditoria"), &auditoria},
        {QStringLiteral("MDR-2026-busqueda"), &busqueda},
        {QStringLiteral("MDR-2026-precios"), &precios},
        {QStringLiteral("MDR-2026-busqueda-articulos"), &busquedaArticulos},
        {QStringLiteral("MDR-2026-existencias"), &existencias},
        {QStringLiteral("MDR-2026-inventario"), &inventario},
        {QStringLiteral("MDR-2026-movimientos-almacen"), &movAlmacen},
        {QStringLiteral("MDR-2026-clientes"), &clientes},
        {QStringLiteral("MDR-2026-cortes"), &cortes},
        {QStringLiteral("MDR-2026-ventas"), &ventas},
        {QStringLiteral("MDR-2026-movimientos-derechos"), &movAlmacenDerechos},
        {QStringLiteral("MDR-2026-ventas-derechos"), &ventasDerechos},
        {QStringLiteral("MDR-2026-proveedores"), &proveedores},
        {QStringLiteral("MDR-2026-cobranza"), &cobranza},
        {QStringLiteral("MDR-2026-cortes-cierre"), &cortesCierre},
        {QStringLiteral("MDR-2026-reportes"), &reportes},
    };
    return list;
}

} // namespace db::migrations
