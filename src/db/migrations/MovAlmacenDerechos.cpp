#include "Migrations.h"

#include "Connection.h"

namespace db::migrations {

// The guarded commands of the movement list: registering and cancelling change stock, so each
// is a right of its own under the menu entry. Profiles that already open the list keep doing
// what they could before.
void movAlmacenDerechos(Connection &connection)
{
    const QString padre = QStringLiteral("mnuAlmacen_MovAlm");
    const QVariant arbol =
        connection.scalar(QStringLiteral("select mod_Arbol from tModulo where mod_Clave = ?"), {padre});
    if (!arbol.isValid() || arbol.isNull())
        return; // a store without the module tree has no rights to extend
    const struct {
        const char *clave, *nombre;
    } comandos[] = {
        {"frmMovAlmCon_cmdAlta", "Registrar movimientos de almacen"},
        {"frmMovAlmCon_cmdBaja", "Cancelar movimientos de almacen"},
    };
    for (const auto &k : comandos) {
        const QString clave = QString::fromLatin1(k.clave);
        if (connection.scalar(QStringLiteral("select count(*) from tModulo where mod_Clave = ?"), {clave})
                .toInt())
            continue;
        const int secuencia =
            connection
                .scalar(QStringLiteral(
                            "select coalesce(max(mod_Secuencia), 0) from tModulo where mod_ClaveSup = ?"),
                        {padre})
                .toInt() +
            1;
        connection.execute(
            QStringLiteral("insert into tModulo (mod_Clave, mod_Nombre, mod_Descripcion, mod_ClaveSup, "
                           "mod_Secuencia, tmod_Clave, mod_Arbol) values (?, ?, ?, ?, ?, 'COMANDO', ?)"),
            {clave, QString::fromLatin1(k.nombre), QString::fromLatin1(k.nombre), padre, secuencia,
             arbol.toString() + u'.' + clave});
        connection.execute(
            QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) select s.perf_Clave, ? "
                           "from tSeguridad s where s.mod_Clave = ?"),
            {clave, padre});
    }
}

} // namespace db::migrations
