#include "MovimientosAlmacenLista.h"

#include "BuscaArticulo.h"
#include "Connection.h"
#include "ConnectionProvider.h"
#include "Permisos.h"

const QString MovimientosAlmacenLista::kSinAcceso = QStringLiteral("No tiene acceso a esta opcion");

MovimientosAlmacenLista::MovimientosAlmacenLista(ConnectionProvider &connections, Permisos &permisos)
    : m_connections(connections), m_permisos(permisos)
{
}

bool MovimientosAlmacenLista::puedeRegistrar() const
{
    return m_permisos.puedeComando(QStringLiteral("frmMovAlmCon"), u'A');
}

bool MovimientosAlmacenLista::puedeCancelar() const
{
    return m_permisos.puedeComando(QStringLiteral("frmMovAlmCon"), u'B');
}

QList<MovimientosAlmacenLista::Fila> MovimientosAlmacenLista::lista(const Filtro &filtro)
{
    QString sql = QStringLiteral(
        "select m.alm_Clave, m.mova_Anio, m.mova_Clave, m.MOVA_Fecha, m.tmova_Clave, m.art_Clave, "
        "a.art_Nombre, "
        "m.alma_Clave, m.MOVA_Cantidad, m.MOVA_Costo, m.MOVA_Total, m.EMOVA_CLAVE, m.alm_Destino "
        "from tMovAlmacen m left join tArticulo a on a.art_Clave = m.art_Clave where m.alm_Clave = ?");
    QVariantList params{filtro.almacen};
    if (filtro.anio > 0) {
        sql += QStringLiteral(" and m.mova_Anio = ?");
        params << filtro.anio;
    }
    if (!filtro.tipo.isEmpty()) {
        sql += QStringLiteral(" and m.tmova_Clave = ?");
        params << filtro.tipo;
    }
    if (!filtro.estado.isEmpty()) {
        sql += QStringLiteral(" and m.EMOVA_CLAVE = ?");
        params << filtro.estado;
    }
    sql += QStringLiteral(" order by m.MOVA_Fecha desc, m.mova_Anio desc, m.mova_Clave desc");
    QList<Fila> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(sql, params); !rs.eof();
         rs.moveNext()) {
        Fila f;
        f.almacen = rs.text(QStringLiteral("alm_Clave"));
        f.anio = rs.value(QStringLiteral("mova_Anio")).toInt();
        f.numero = rs.value(QStringLiteral("mova_Clave")).toLongLong();
        f.fecha = rs.dateTime(QStringLiteral("MOVA_Fecha"));
        f.tipo = rs.text(QStringLiteral("tmova_Clave"));
        f.articulo = rs.text(QStringLiteral("art_Clave"));
        f.nombre = rs.text(QStringLiteral("art_Nombre"));
        f.lote = rs.text(QStringLiteral("alma_Clave"));
        f.cantidad = rs.decimal(QStringLiteral("MOVA_Cantidad"));
        f.costo = rs.decimal(QStringLiteral("MOVA_Costo"));
        f.total = rs.decimal(QStringLiteral("MOVA_Total"));
        f.estado = rs.text(QStringLiteral("EMOVA_CLAVE"));
        f.destino = rs.text(QStringLiteral("alm_Destino"));
        out << f;
    }
    return out;
}

QList<int> MovimientosAlmacenLista::anios(const QString &almacen)
{
    QList<int> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(
             QStringLiteral(
                 "select distinct mova_Anio from tMovAlmacen where alm_Clave = ? order by mova_Anio desc"),
             {almacen});
         !rs.eof(); rs.moveNext())
        out << rs.value(0).toInt();
    return out;
}

QList<MovimientosAlmacenLista::Opcion> MovimientosAlmacenLista::opciones(Catalogo catalogo)
{
    if (catalogo == Catalogo::Estados)
        return {{QStringLiteral("REGISTRADO"), QStringLiteral("Registrado")},
                {QStringLiteral("CANCELADO"), QStringLiteral("Cancelado")}};
    QString sql;
    switch (catalogo) {
    case Catalogo::Almacenes:
        sql = QStringLiteral("select alm_Clave, alm_Nombre from tAlmacen order by alm_Clave");
        break;
    case Catalogo::Tipos:
        sql = QStringLiteral(
            "select tmova_Clave, tmova_Nombre, tmova_Entrada from tTipoMovAlmacen order by tmova_Nombre");
        break;
    default:
        sql = QStringLiteral("select suc_Clave, suc_Nombre from tSucursal order by suc_Clave");
        break;
    }
    QList<Opcion> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(sql); !rs.eof(); rs.moveNext())
        out << Opcion{rs.value(0).toString(), rs.value(1).toString(),
                      catalogo == Catalogo::Tipos && rs.value(2).toString() == QLatin1String("S")};
    return out;
}

std::optional<MovimientosAlmacenLista::Movimiento> MovimientosAlmacenLista::lee(const QString &almacen,
                                                                                int anio, qint64 numero)
{
    db::Connection &c = m_connections.getConnection();
    Movimiento m;
    {
        db::Recordset rs = c.openRecordset(
            QStringLiteral(
                "select * from tMovAlmacen where alm_Clave = ? and mova_Anio = ? and mova_Clave = ?"),
            {almacen, anio, numero});
        if (rs.eof())
            return std::nullopt;
        MovimientoAlmacen::Datos &d = m.datos;
        d.almacen = almacen;
        d.tipo = rs.text(QStringLiteral("tmova_Clave"));
        d.articulo = rs.text(QStringLiteral("art_Clave"));
        d.lote = rs.text(QStringLiteral("alma_Clave"));
        d.cantidad = rs.decimal(QStringLiteral("MOVA_Cantidad"));
        d.costo = rs.decimal(QStringLiteral("MOVA_Costo"));
        d.destino = rs.text(QStringLiteral("alm_Destino"));
        d.articuloCambio = rs.text(QStringLiteral("art_Cambio"));
        d.loteCambio = rs.text(QStringLiteral("alma_ClaveCambio"));
        d.descripcion = rs.text(QStringLiteral("mova_Descripcion"));
        m.fecha = rs.dateTime(QStringLiteral("MOVA_Fecha"));
        m.estado = rs.text(QStringLiteral("EMOVA_CLAVE"));
    }
    m.anio = anio;
    m.numero = numero;
    for (db::Recordset rs = c.openRecordset(
             QStringLiteral(
                 "select art_Clave, alma_Clave, sum(kar_Cantidad) as cantidad, max(art_Costo) as costo "
                 "from tArticuloKardex where ALM_CLAVE = ? and KAR_ORIGEN = ? "
                 "group by art_Clave, alma_Clave order by art_Clave, alma_Clave"),
             {almacen, MovimientoAlmacen::origenComponentes(m.datos.tipo, anio, numero)});
         !rs.eof(); rs.moveNext())
        m.datos.componentes << MovimientoAlmacen::Componente{
            rs.text(QStringLiteral("art_Clave")), rs.text(QStringLiteral("alma_Clave")),
            rs.decimal(QStringLiteral("cantidad")).abs(), rs.decimal(QStringLiteral("costo"))};
    return m;
}

std::optional<MovimientosAlmacenLista::Articulo> MovimientosAlmacenLista::articulo(const QString &codigo)
{
    db::Connection &c = m_connections.getConnection();
    const QString clave = BuscaArticulo::porCodigo(c, codigo.trimmed());
    if (clave.isEmpty())
        return std::nullopt;
    db::Recordset rs = c.openRecordset(
        QStringLiteral("select art_Nombre, cinv_Clave, art_Costo from tArticulo where art_Clave = ?"),
        {clave});
    if (rs.eof())
        return std::nullopt;
    Articulo a{clave, rs.text(QStringLiteral("art_Nombre")), rs.text(QStringLiteral("cinv_Clave")).trimmed(),
               rs.decimal(QStringLiteral("art_Costo"))};
    if (a.control.isEmpty())
        a.control = QStringLiteral("LIBRE");
    return a;
}

QDateTime MovimientosAlmacenLista::ahora()
{
    return m_connections.getConnection().scalar(QStringLiteral("select getdate()")).toDateTime();
}
