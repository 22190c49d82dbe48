#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

void agregaDerechos(Connection &connection, const QString &padre, const QList<Derecho> &derechos,
                    const QString &otorgarComo)
{
    const QVariant arbol =
        connection.scalar(QStringLiteral("select mod_Arbol from tModulo where mod_Clave = ?"), {padre});
    if (!arbol.isValid() || arbol.isNull())
        return; // a store without the module tree has no rights to extend
    for (const Derecho &d : derechos) {
        if (connection.scalar(QStringLiteral("select count(*) from tModulo where mod_Clave = ?"), {d.clave}).toInt())
            continue;
        const int secuencia =
            connection
                .scalar(QStringLiteral("select coalesce(max(mod_Secuencia), 0) from tModulo where mod_ClaveSup = ?"),
                        {padre})
                .toInt() +
            1;
        connection.execute(QStringLiteral("insert into tModulo (mod_Clave, mod_Nombre, mod_Descripcion, mod_ClaveSup, "
                                          "mod_Secuencia, tmod_Clave, mod_Arbol) values (?, ?, ?, ?, ?, 'COMANDO', ?)"),
                           {d.clave, d.nombre, d.nombre, padre, secuencia, arbol.toString() + u'.' + d.clave});
        connection.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) select s.perf_Clave, ? "
                                          "from tSeguridad s where s.mod_Clave = ?"),
                           {d.clave, otorgarComo});
    }
}

// The guarded commands of the movement list: registering and cancelling change stock, so each
// is a right of its own under the menu entry. Profiles that already open the list keep doing
// what they could before.
void movAlmacenDerechos(Connection &connection)
{
    const QString padre = QStringLiteral("mnuAlmacen_MovAlm");
    agregaDerechos(connection, padre,
                   {{QStringLiteral("frmMovAlmCon_cmdAlta"), QStringLiteral("Registrar movimientos de almacen")},
                    {QStringLiteral("frmMovAlmCon_cmdBaja"), QStringLiteral("Cancelar movimientos de almacen")}},
                   padre);
}

// What a cashier may do beyond ringing up at the list price. These relax the counter's checks, so
// on upgrade they go only to the profiles that may already sell over the credit limit (the
// supervisors), not to everyone who opens the counter.
void ventasDerechos(Connection &connection)
{
    agregaDerechos(
        connection, QStringLiteral("mnuVentas_Ventas"),
        {{QStringLiteral("frmVenta_AltaRapida"), QStringLiteral("Registrar articulos desde la venta")},
         {QStringLiteral("frmVenta_CambioPrecio"), QStringLiteral("Cambiar el precio en la venta")},
         {QStringLiteral("frmVenta_CambioDesc"), QStringLiteral("Cambiar el descuento en la venta")},
         {QStringLiteral("frmVenta_CambioIVA"), QStringLiteral("Cambiar el IVA en la venta")},
         {QStringLiteral("frmVenta_VentaSinExistencia"), QStringLiteral("Vender sin existencia")},
         {QStringLiteral("frmVenta_VentaAbajoCosto"), QStringLiteral("Vender abajo del costo")},
         {QStringLiteral("frmVenta_DescuentoIlimitado"), QStringLiteral("Descuento sobre el maximo")},
         {QStringLiteral("frmVenta_ActualizaCatalogo"), QStringLiteral("Guardar en el catalogo los precios cambiados")},
         {QStringLiteral("frmVenta_ModVentaPendiente"), QStringLiteral("Modificar ventas pendientes")},
         {QStringLiteral("frmVenta_CambioTipoCliente"), QStringLiteral("Elegir el tipo de cliente en la venta")}},
        QStringLiteral("frmVenta_SobreGiro"));
}

} // namespace db::migrations
