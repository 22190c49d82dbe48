#include "InventariosLista.h"

#include "Connection.h"
#include "ConnectionProvider.h"

namespace {

// A warehouse filter as bound: never null, which would bind as NULL and match nothing.
QString filtro(const QString &almacen)
{
    const QString t = almacen.trimmed();
    return t.isEmpty() ? QStringLiteral("") : t;
}

} // namespace

InventariosLista::InventariosLista(ConnectionProvider &connections) : m_connections(connections) {}

QList<InventariosLista::Fila> InventariosLista::filas(const QString &almacen, int anio)
{
    // Both filters bound; an empty one matches everything.
    const QString sql =
        QStringLiteral("select alm_Clave, inv_Anio, inv_Clave, inv_Fecha, usu_Clave, tinv_Clave, inv_Conteo, "
                       "inv_ConteoActual, einv_Clave from tInventario "
                       "where (? = '' or alm_Clave = ?) and (? = 0 or inv_Anio = ?) "
                       "order by inv_Fecha desc, inv_Anio desc, inv_Clave desc, alm_Clave");
    const QString alm = filtro(almacen);
    QList<Fila> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(sql, {alm, alm, anio, anio});
         !rs.eof(); rs.moveNext())
        out.append({rs.text(QStringLiteral("alm_Clave")), int(rs.integer(QStringLiteral("inv_Anio"))),
                    int(rs.integer(QStringLiteral("inv_Clave"))), rs.dateTime(QStringLiteral("inv_Fecha")),
                    rs.text(QStringLiteral("usu_Clave")), rs.text(QStringLiteral("tinv_Clave")),
                    int(rs.integer(QStringLiteral("inv_Conteo"))),
                    int(rs.integer(QStringLiteral("inv_ConteoActual"))),
                    rs.text(QStringLiteral("einv_Clave"))});
    return out;
}

QList<int> InventariosLista::anios(const QString &almacen)
{
    const QString alm = filtro(almacen);
    QList<int> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(
             QStringLiteral("select distinct inv_Anio from tInventario where (? = '' or alm_Clave = ?) "
                            "order by inv_Anio desc"),
             {alm, alm});
         !rs.eof(); rs.moveNext())
        out << int(rs.integer(QStringLiteral("inv_Anio")));
    return out;
}

QList<InventariosLista::Opcion> InventariosLista::opciones(const QString &sql)
{
    QList<Opcion> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(sql); !rs.eof(); rs.moveNext())
        out.append({rs.value(0).toString(), rs.value(1).toString()});
    return out;
}

QList<InventariosLista::Opcion> InventariosLista::almacenes()
{
    return opciones(QStringLiteral("select alm_Clave, alm_Nombre from tAlmacen order by alm_Clave"));
}

QList<InventariosLista::Opcion> InventariosLista::departamentos()
{
    return opciones(QStringLiteral("select tart_Clave, tart_Nombre from tTipoArticulo order by tart_Nombre"));
}

QList<InventariosLista::Opcion> InventariosLista::categorias()
{
    return opciones(QStringLiteral("select sub_Clave, sub_Nombre from tSubTipo order by sub_Nombre"));
}
