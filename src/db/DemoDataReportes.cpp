#include "DemoDataReportes.h"

#include "Connection.h"

#include <QList>
#include <QPair>

namespace db {

namespace {

using Propiedades = QList<QPair<QString, QString>>;

struct Objeto {
    QString nombre, seccion, clase, tipo;
    Propiedades propiedades;
};

struct Parametro {
    int clave;
    const char *nombre, *descripcion, *entrada, *dato;
    int consulta; // 0: none
    bool requerido;
    const char *omision;
};

struct Sumario {
    QString nombre, formula, grupo; // grupo empty: a report total
};

struct Reporte {
    QString clave, nombre, descripcion, menu; // menu: the heading module it hangs under
    int orden = 0;
    double encabezado = 0, pie = 0;
    QString sql;
    QList<Parametro> parametros;
    QList<Objeto> objetos;
    QList<QPair<QString, QString>> grupos; // name, key fields
    QList<Sumario> sumarios;
};

// A column of a listing: the detail field, its heading, and where both go (mm, Letter portrait:
// the printable width is about 203 mm).
struct Columna {
    const char *campo, *titulo;
    double izquierda, ancho;
    int alineacion; // 0 left, 2 right
    const char *formato, *tipo;
};

QString num(double v)
{
    return QString::number(v, 'g', 10);
}

Propiedades caja(double top, double left, double width, double height)
{
    return {{QStringLiteral("Top"), num(top)},
            {QStringLiteral("Left"), num(left)},
            {QStringLiteral("Width"), num(width)},
            {QStringLiteral("Height"), num(height)}};
}

Propiedades letra(double size, bool bold, int align)
{
    Propiedades p{{QStringLiteral("FontSize"), num(size)}};
    if (bold)
        p.append({QStringLiteral("FontBold"), QStringLiteral("True")});
    if (align != 0)
        p.append({QStringLiteral("Align"), QString::number(align)});
    return p;
}

Objeto texto(const char *seccion, const QString &nombre, double top, double left, double width, double height,
             const QString &valor, double size = 8, bool bold = false, int align = 0)
{
    return {nombre, QLatin1String(seccion), QStringLiteral("cPrintText"), QStringLiteral("T"),
            caja(top, left, width, height) + letra(size, bold, align) +
                Propiedades{{QStringLiteral("Value"), valor}}};
}

Objeto campo(const char *seccion, const Columna &c, double top = 0.5, double height = 4, double size = 8,
             bool bold = false)
{
    Propiedades p = caja(top, c.izquierda, c.ancho, height) + letra(size, bold, c.alineacion);
    if (*c.formato)
        p.append({QStringLiteral("FormatField"), QLatin1String(c.formato)});
    p.append({QStringLiteral("DataType"), QLatin1String(c.tipo)});
    return {QLatin1String(c.campo), QLatin1String(seccion), QStringLiteral("cPrintField"),
            QLatin1String(c.tipo), p};
}

// A detail field that only feeds a group key: printed nowhere.
Objeto oculto(const char *nombre, const char *tipo = "T")
{
    Propiedades p = caja(0, 0, 0, 0);
    p.append({QStringLiteral("DataType"), QLatin1String(tipo)});
    p.append({QStringLiteral("Visible"), QStringLiteral("False")});
    return {QLatin1String(nombre), QStringLiteral("DETAIL"), QStringLiteral("cPrintField"),
            QLatin1String(tipo), p};
}

Objeto formula(const char *seccion, const QString &nombre, double top, double left, double width,
               double height, const QString &expresion, const char *tipo, const char *formato, double size,
               int align)
{
    Propiedades p = caja(top, left, width, height) + letra(size, false, align);
    p.append({QStringLiteral("Formula"), expresion});
    p.append({QStringLiteral("DataType"), QLatin1String(tipo)});
    if (*formato)
        p.append({QStringLiteral("FormatField"), QLatin1String(formato)});
    return {nombre, QLatin1String(seccion), QStringLiteral("cPrintFormula"), QLatin1String(tipo), p};
}

// A summary printed under a column; its formula is the designer's (tReporteSumario/tReporteTotales).
Objeto sumario(const char *seccion, const QString &nombre, const Columna &c, double top = 1)
{
    Propiedades p = caja(top, c.izquierda, c.ancho, 4) + letra(8, true, 2);
    p.append({QStringLiteral("FormatField"), QLatin1String(*c.formato ? c.formato : "#,##0.00")});
    p.append({QStringLiteral("DataType"), QStringLiteral("N")});
    return {nombre, QLatin1String(seccion), QStringLiteral("cPrintSumary"), QStringLiteral("N"), p};
}

Objeto linea(const char *seccion, const QString &nombre, double x1, double y1, double x2, double y2)
{
    return {nombre,
            QLatin1String(seccion),
            QStringLiteral("cPrintLine"),
            QString(),
            {{QStringLiteral("Left"), num(x1)},
             {QStringLiteral("Top"), num(y1)},
             {QStringLiteral("Width"), num(x2)},
             {QStringLiteral("Height"), num(y2)}}};
}

Objeto grupo(const QString &nombre, double top, double left, double width, bool visible = true)
{
    Propiedades p = caja(top, left, width, 5) + letra(9, true, 0);
    if (!visible)
        p.append({QStringLiteral("Visible"), QStringLiteral("False")});
    return {nombre, QStringLiteral("GROUP"), QStringLiteral("cPrintGroup"), QString(), p};
}

// Page header (title, run date, page, column headings under a rule) and page footer.
QList<Objeto> pagina(const QString &titulo, const QList<Columna> &columnas)
{
    QList<Objeto> o;
    o << texto("HEADER", QStringLiteral("TITULO"), 2, 5, 140, 7, titulo, 14, true)
      << texto("HEADER", QStringLiteral("EMPRESA"), 9, 5, 140, 5, QStringLiteral("Farmacia La Esperanza"), 9)
      << formula("HEADER", QStringLiteral("FECHAIMP"), 2, 150, 48, 4, QStringLiteral("[xRpt.PrintDateTime]"),
                 "F", "dd/mm/yyyy hh:nn", 8, 2)
      << formula("HEADER", QStringLiteral("PAGINA"), 7, 150, 48, 4,
                 QStringLiteral("\"Página \" & [xRpt.CurrentPage]"), "T", "", 8, 2);
    for (const Columna &c : columnas)
        o << texto("HEADER", QStringLiteral("ENC_") + QLatin1String(c.campo), 16, c.izquierda, c.ancho, 4,
                   QString::fromUtf8(c.titulo), 8, true, c.alineacion);
    o << linea("HEADER", QStringLiteral("RAYA_ENC"), 5, 21, 198, 21)
      << linea("BOTTOM", QStringLiteral("RAYA_PIE"), 5, 1, 198, 1)
      << texto("BOTTOM", QStringLiteral("PIE"), 2, 5, 150, 4, QStringLiteral("Mostrador - ") + titulo, 7);
    return o;
}

const Columna &col(const QList<Columna> &columnas, const char *campo)
{
    for (const Columna &c : columnas)
        if (qstrcmp(c.campo, campo) == 0)
            return c;
    return columnas.first();
}

QList<Reporte> reportes()
{
    QList<Reporte> l;
    const Parametro periodo{1, "FECHA", "Periodo", "RANGOFECHA", "F", 0, true, "HOY"};
    const Parametro almacen{2, "ALMACEN", "Almacen", "LISTA", "T", 1, true, "MATRIZ"};

    {
        Reporte r;
        r.clave = QStringLiteral("VENTASDIA");
        r.nombre = QStringLiteral("Ventas por día y terminal");
        r.descripcion =
            QStringLiteral("Ventas, artículos, descuentos, IVA y total de cada terminal por día, con el "
                           "total de cada día y del periodo. No cuenta las ventas canceladas.");
        r.menu = QStringLiteral("mnuReporte_Ventas");
        r.orden = 10;
        r.encabezado = 23;
        r.pie = 8;
        r.parametros = {periodo, almacen};
        r.sql = QStringLiteral(
            "select convert(varchar(8), v.venta_Fecha, 112) as DiaOrden,\n"
            "    convert(varchar(10), v.venta_Fecha, 103) as Dia,\n"
            "    v.term_Clave as Terminal, t.term_Nombre as NombreTerminal,\n"
            "    count(*) as Ventas, sum(v.venta_Cantidad) as Articulos, sum(v.venta_descuento) as "
            "Descuento,\n"
            "    sum(v.venta_IVA) as IVA, sum(v.venta_Total) as Total\n"
            "from tVenta v\n"
            "join tTerminal t on t.term_Clave = v.term_Clave\n"
            "where v.alm_Clave = [ALMACEN] and v.eventa_Clave <> 'CANCELADA'\n"
            "    and v.venta_Fecha between [FECHA_INI] and [FECHA_FIN]\n"
            "group by convert(varchar(8), v.venta_Fecha, 112), convert(varchar(10), v.venta_Fecha, 103),\n"
            "    v.term_Clave, t.term_Nombre\n"
            "order by 1, 3");
        const QList<Columna> c = {
            {"Terminal", "Terminal", 10, 25, 0, "", "T"},
            {"NombreTerminal", "Nombre", 36, 50, 0, "", "T"},
            {"Ventas", "Ventas", 87, 18, 2, "#,##0", "N"},
            {"Articulos", "Artículos", 106, 23, 2, "#,##0.00", "N"},
            {"Descuento", "Descuento", 130, 22, 2, "#,##0.00", "N"},
            {"IVA", "IVA", 153, 21, 2, "#,##0.00", "N"},
            {"Total", "Total", 175, 23, 2, "#,##0.00", "N"},
        };
        r.objetos = pagina(r.nombre, c);
        r.objetos << texto("GROUP", QStringLiteral("T_DIA"), 1.5, 5, 12, 5, QStringLiteral("Día:"), 9, true)
                  << grupo(QStringLiteral("GPODIA"), 1.5, 17, 60);
        for (const Columna &k : c)
            r.objetos << campo("DETAIL", k);
        r.objetos << oculto("Dia") << linea("SUMARY", QStringLiteral("RAYA_DIA"), 87, 0.5, 198, 0.5)
                  << texto("SUMARY", QStringLiteral("T_TOTALDIA"), 1, 36, 50, 4,
                           QStringLiteral("Total del día"), 8, true);
        const QList<QPair<const char *, const char *>> sumas = {{"Ventas", "Ventas"},
                                                                {"Articulos", "Articulos"},
                                                                {"Descuento", "Descuento"},
                                                                {"IVA", "IVA"},
                                                                {"Total", "Total"}};
        r.objetos << linea("TOTAL", QStringLiteral("RAYA_TOTAL"), 87, 1, 198, 1)
                  << texto("TOTAL", QStringLiteral("T_TOTAL"), 2, 36, 50, 4,
                           QStringLiteral("Total del periodo"), 8, true);
        for (const auto &s : sumas) {
            const QString dia = QStringLiteral("DIA_") + QLatin1String(s.first);
            const QString tot = QStringLiteral("TOT_") + QLatin1String(s.first);
            r.objetos << sumario("SUMARY", dia, col(c, s.second))
                      << sumario("TOTAL", tot, col(c, s.second), 2);
            r.sumarios << Sumario{dia, u'[' + dia + QStringLiteral("] + [") + QLatin1String(s.second) + u']',
                                  QStringLiteral("GPODIA")}
                       << Sumario{
                              tot, u'[' + tot + QStringLiteral("] + [") + QLatin1String(s.second) + u']', {}};
        }
        r.grupos = {{QStringLiteral("GPODIA"), QStringLiteral("Dia")}};
        l << r;
    }

    {
        Reporte r;
        r.clave = QStringLiteral("VENTASDEPTO");
        r.nombre = QStringLiteral("Ventas por departamento y categoría");
        r.descripcion =
            QStringLiteral("Piezas e importe vendidos de cada artículo, agrupados por departamento y, "
                           "dentro de él, por categoría, con el total de cada categoría, lo acumulado "
                           "del departamento y el total del periodo.");
        r.menu = QStringLiteral("mnuReporte_Ventas");
        r.orden = 20;
        r.encabezado = 23;
        r.pie = 8;
        r.parametros = {periodo, almacen};
        r.sql = QStringLiteral(
            "select coalesce(a.tart_Clave, '') as Departamento,\n"
            "    coalesce(d.tart_Nombre, 'Sin departamento') as NombreDepartamento,\n"
            "    coalesce(a.sub_Clave, '') as Categoria, coalesce(s.sub_Nombre, 'Sin categoría') as "
            "NombreCategoria,\n"
            "    l.art_Clave as Articulo, max(l.art_Nombre) as NombreArticulo,\n"
            "    sum(l.vdet_Cantidad) as Cantidad, sum(l.vdet_Total) as Importe\n"
            "from tVentaDetalle l\n"
            "left join tArticulo a on a.art_Clave = l.art_Clave\n"
            "left join tTipoArticulo d on d.tart_Clave = a.tart_Clave\n"
            "left join tSubTipo s on s.sub_Clave = a.sub_Clave\n"
            "where l.alm_Clave = [ALMACEN] and l.eventa_Clave <> 'CANCELADA'\n"
            "    and l.vdet_Fecha between [FECHA_INI] and [FECHA_FIN]\n"
            "group by coalesce(a.tart_Clave, ''), coalesce(d.tart_Nombre, 'Sin departamento'),\n"
            "    coalesce(a.sub_Clave, ''), coalesce(s.sub_Nombre, 'Sin categoría'), l.art_Clave\n"
            "order by 2, 1, 4, 3, 6");
        const QList<Columna> c = {
            {"Articulo", "Artículo", 10, 35, 0, "", "T"},
            {"NombreArticulo", "Nombre", 46, 95, 0, "", "T"},
            {"Cantidad", "Piezas", 142, 25, 2, "#,##0.00", "N"},
            {"Importe", "Importe", 168, 30, 2, "#,##0.00", "N"},
        };
        r.objetos = pagina(r.nombre, c);
        // The two groups print as one heading line: department, then category.
        const Columna depto{"NombreDepartamento", "", 36, 60, 0, "", "T"};
        const Columna categoria{"NombreCategoria", "", 119, 79, 0, "", "T"};
        r.objetos << grupo(QStringLiteral("GPODEPTO"), 1.5, 5, 80, false)
                  << grupo(QStringLiteral("GPOCATEGORIA"), 1.5, 90, 100, false)
                  << texto("GROUP", QStringLiteral("T_DEPTO"), 1.5, 5, 31, 5, QStringLiteral("Departamento:"),
                           9, true)
                  << campo("GROUP", depto, 1.5, 5, 9, true)
                  << texto("GROUP", QStringLiteral("T_CATEGORIA"), 1.5, 99, 20, 5,
                           QStringLiteral("Categoría:"), 9, true)
                  << campo("GROUP", categoria, 1.5, 5, 9, true);
        for (const Columna &k : c)
            r.objetos << campo("DETAIL", k);
        r.objetos << oculto("Departamento") << oculto("Categoria")
                  << linea("SUMARY", QStringLiteral("RAYA_CAT"), 142, 0.5, 198, 0.5)
                  << texto("SUMARY", QStringLiteral("T_TOTALCAT"), 1, 46, 95, 4,
                           QStringLiteral("Total de la categoría"), 8, true)
                  << sumario("SUMARY", QStringLiteral("CAT_Cantidad"), col(c, "Cantidad"))
                  << sumario("SUMARY", QStringLiteral("CAT_Importe"), col(c, "Importe"))
                  << texto("SUMARY", QStringLiteral("T_ACUMDEPTO"), 5.5, 46, 95, 4,
                           QStringLiteral("Acumulado del departamento"), 8, false)
                  << sumario("SUMARY", QStringLiteral("DEP_Importe"), col(c, "Importe"), 5.5)
                  << linea("TOTAL", QStringLiteral("RAYA_TOTAL"), 142, 1, 198, 1)
                  << texto("TOTAL", QStringLiteral("T_TOTAL"), 2, 46, 95, 4,
                           QStringLiteral("Total del periodo"), 8, true)
                  << sumario("TOTAL", QStringLiteral("TOT_Cantidad"), col(c, "Cantidad"), 2)
                  << sumario("TOTAL", QStringLiteral("TOT_Importe"), col(c, "Importe"), 2);
        r.grupos = {{QStringLiteral("GPODEPTO"), QStringLiteral("Departamento")},
                    {QStringLiteral("GPOCATEGORIA"), QStringLiteral("Departamento,Categoria")}};
        r.sumarios = {
            {QStringLiteral("CAT_Cantidad"), QStringLiteral("[CAT_Cantidad] + [Cantidad]"),
             QStringLiteral("GPOCATEGORIA")},
            {QStringLiteral("CAT_Importe"), QStringLiteral("[CAT_Importe] + [Importe]"),
             QStringLiteral("GPOCATEGORIA")},
            {QStringLiteral("DEP_Importe"), QStringLiteral("[DEP_Importe] + [Importe]"),
             QStringLiteral("GPODEPTO")},
            {QStringLiteral("TOT_Cantidad"), QStringLiteral("[TOT_Cantidad] + [Cantidad]"), {}},
            {QStringLiteral("TOT_Importe"), QStringLiteral("[TOT_Importe] + [Importe]"), {}},
        };
        l << r;
    }

    {
        Reporte r;
        r.clave = QStringLiteral("EXISTENCIAS");
        r.nombre = QStringLiteral("Valuación de inventario por almacén");
        r.descripcion = QStringLiteral("Existencia de cada artículo por almacén, valuada al costo actual del "
                                       "artículo, con el valor de cada almacén y el total.");
        r.menu = QStringLiteral("mnuReporte_Inventario");
        r.orden = 30;
        r.encabezado = 23;
        r.pie = 8;
        r.sql = QStringLiteral(
            "select e.alm_Clave as Almacen, w.alm_Nombre as NombreAlmacen, a.art_Clave as Articulo,\n"
            "    a.art_Nombre as NombreArticulo, sum(e.alma_Existencia) as Existencia, a.art_Costo as "
            "Costo,\n"
            "    sum(e.alma_Existencia) * a.art_Costo as Valor\n"
            "from tArticuloAlmacen e\n"
            "join tArticulo a on a.art_Clave = e.art_Clave\n"
            "join tAlmacen w on w.alm_Clave = e.alm_Clave\n"
            "where e.alma_Existencia <> 0\n"
            "group by e.alm_Clave, w.alm_Nombre, a.art_Clave, a.art_Nombre, a.art_Costo\n"
            "order by 2, 1, 4, 3");
        const QList<Columna> c = {
            {"Articulo", "Artículo", 10, 35, 0, "", "T"},
            {"NombreArticulo", "Nombre", 46, 86, 0, "", "T"},
            {"Existencia", "Existencia", 133, 20, 2, "#,##0.00", "N"},
            {"Costo", "Costo", 154, 20, 2, "#,##0.00", "N"},
            {"Valor", "Valor", 175, 23, 2, "#,##0.00", "N"},
        };
        r.objetos = pagina(r.nombre, c);
        r.objetos << texto("GROUP", QStringLiteral("T_ALMACEN"), 1.5, 5, 18, 5, QStringLiteral("Almacén:"), 9,
                           true)
                  << grupo(QStringLiteral("GPOALMACEN"), 1.5, 23, 175);
        for (const Columna &k : c)
            r.objetos << campo("DETAIL", k);
        r.objetos << oculto("Almacen") << oculto("NombreAlmacen")
                  << linea("SUMARY", QStringLiteral("RAYA_ALM"), 133, 0.5, 198, 0.5)
                  << texto("SUMARY", QStringLiteral("T_TOTALALM"), 1, 46, 86, 4,
                           QStringLiteral("Total del almacén"), 8, true)
                  << sumario("SUMARY", QStringLiteral("ALM_Existencia"), col(c, "Existencia"))
                  << sumario("SUMARY", QStringLiteral("ALM_Valor"), col(c, "Valor"))
                  << linea("TOTAL", QStringLiteral("RAYA_TOTAL"), 133, 1, 198, 1)
                  << texto("TOTAL", QStringLiteral("T_TOTAL"), 2, 46, 86, 4,
                           QStringLiteral("Valor del inventario"), 8, true)
                  << sumario("TOTAL", QStringLiteral("TOT_Valor"), col(c, "Valor"), 2);
        r.grupos = {{QStringLiteral("GPOALMACEN"), QStringLiteral("Almacen,NombreAlmacen")}};
        r.sumarios = {
            {QStringLiteral("ALM_Existencia"), QStringLiteral("[ALM_Existencia] + [Existencia]"),
             QStringLiteral("GPOALMACEN")},
            {QStringLiteral("ALM_Valor"), QStringLiteral("[ALM_Valor] + [Valor]"),
             QStringLiteral("GPOALMACEN")},
            {QStringLiteral("TOT_Valor"), QStringLiteral("[TOT_Valor] + [Valor]"), {}},
        };
        l << r;
    }

    {
        Reporte r;
        r.clave = QStringLiteral("LISTAPRECIOS");
        r.nombre = QStringLiteral("Lista de precios con ofertas");
        r.descripcion =
            QStringLiteral("Precio al público de cada artículo activo por departamento y, cuando tiene "
                           "una oferta vigente hoy, su precio de oferta y hasta cuándo dura. Puede "
                           "limitarse a los artículos cuyo nombre contiene un texto.");
        r.menu = QStringLiteral("mnuReporte_Inventario");
        r.orden = 40;
        r.encabezado = 23;
        r.pie = 8;
        r.parametros = {{1, "BUSCAR", "Nombre contiene", "TEXTO", "T", 0, false, ""}};
        r.sql = QStringLiteral(
            "select coalesce(d.tart_Nombre, 'Sin departamento') as Departamento, a.art_Clave as Articulo,\n"
            "    a.art_Nombre as NombreArticulo, a.art_Total as Precio, o.precio_Total as PrecioOferta,\n"
            "    o.PRECIO_FECFIN as Vigencia, case when o.art_Clave is null then 0 else 1 end as EnOferta\n"
            "from tArticulo a\n"
            "left join tTipoArticulo d on d.tart_Clave = a.tart_Clave\n"
            "left join tArticuloPrecio o on o.art_Clave = a.art_Clave and o.tprecio_Clave = 'OFERTA'\n"
            "    and o.precio_Clave = (select min(x.precio_Clave) from tArticuloPrecio x\n"
            "        where x.art_Clave = a.art_Clave and x.tprecio_Clave = 'OFERTA'\n"
            "        and getdate() between x.PRECIO_FECINI and x.PRECIO_FECFIN)\n"
            "where a.eart_Clave <> 'SUSPENDIDO' and a.art_Nombre like '%' + coalesce([BUSCAR], '') + '%'\n"
            "order by 1, 3, 2");
        const QList<Columna> c = {
            {"Articulo", "Artículo", 10, 35, 0, "", "T"},
            {"NombreArticulo", "Nombre", 46, 82, 0, "", "T"},
            {"Precio", "Precio", 129, 22, 2, "#,##0.00", "N"},
            {"PrecioOferta", "Oferta", 152, 22, 2, "#,##0.00", "N"},
            {"Vigencia", "Vigencia", 176, 22, 2, "dd/mm/yyyy", "F"},
        };
        r.objetos = pagina(r.nombre, c);
        r.objetos << grupo(QStringLiteral("GPODEPTO"), 1.5, 5, 150);
        for (const Columna &k : c)
            r.objetos << campo("DETAIL", k);
        const Columna cuenta{"", "", 129, 22, 2, "#,##0", "N"};
        const Columna ofertas{"", "", 152, 22, 2, "#,##0", "N"};
        r.objetos << oculto("Departamento") << oculto("EnOferta", "N")
                  << texto("SUMARY", QStringLiteral("T_TOTALDEP"), 1, 46, 82, 4,
                           QStringLiteral("Artículos y ofertas del departamento"), 8, true)
                  << sumario("SUMARY", QStringLiteral("DEP_Articulos"), cuenta)
                  << sumario("SUMARY", QStringLiteral("DEP_Ofertas"), ofertas)
                  << linea("TOTAL", QStringLiteral("RAYA_TOTAL"), 129, 1, 174, 1)
                  << texto("TOTAL", QStringLiteral("T_TOTAL"), 2, 46, 82, 4,
                           QStringLiteral("Artículos y ofertas"), 8, true)
                  << sumario("TOTAL", QStringLiteral("TOT_Articulos"), cuenta, 2)
                  << sumario("TOTAL", QStringLiteral("TOT_Ofertas"), ofertas, 2);
        r.grupos = {{QStringLiteral("GPODEPTO"), QStringLiteral("Departamento")}};
        r.sumarios = {
            {QStringLiteral("DEP_Articulos"), QStringLiteral("[DEP_Articulos] + 1"),
             QStringLiteral("GPODEPTO")},
            {QStringLiteral("DEP_Ofertas"), QStringLiteral("[DEP_Ofertas] + [EnOferta]"),
             QStringLiteral("GPODEPTO")},
            {QStringLiteral("TOT_Articulos"), QStringLiteral("[TOT_Articulos] + 1"), {}},
            {QStringLiteral("TOT_Ofertas"), QStringLiteral("[TOT_Ofertas] + [EnOferta]"), {}},
        };
        l << r;
    }

    {
        Reporte r;
        r.clave = QStringLiteral("CARTERA");
        r.nombre = QStringLiteral("Antigüedad de saldos por cliente");
        r.descripcion =
            QStringLiteral("Saldo de cada cuenta por cobrar abierta, repartido por los días desde su "
                           "registro (0 a 30, 31 a 60, 61 a 90 y más de 90), con el total de cada "
                           "cliente y de la cartera.");
        r.menu = QStringLiteral("mnuReporte_Cobranza");
        r.orden = 50;
        r.encabezado = 23;
        r.pie = 8;
        r.parametros = {{1, "ALMACEN", "Almacen", "LISTA", "T", 1, true, "MATRIZ"}};
        const QString saldo = QStringLiteral("c.cob_Importe - coalesce(c.cob_Pagado, 0)");
        const QString dias = QStringLiteral("datediff(dd, c.cob_FecReg, getdate())");
        const auto tramo = [&](const QString &condicion, const char *nombre) -> QString {
            return QStringLiteral("    case when ") + condicion + QStringLiteral(" then ") + saldo +
                   QStringLiteral(" else 0 end as ") + QLatin1String(nombre);
        };
        r.sql =
            QStringLiteral("select c.cli_Clave as Cliente, k.cli_Nombre as NombreCliente, c.cob_Clave as "
                           "Documento,\n    c.cob_FecReg as Fecha, ") +
            dias + QStringLiteral(" as Dias, ") + saldo + QStringLiteral(" as Saldo,\n") +
            tramo(dias + QStringLiteral(" <= 30"), "Dias0a30") + QStringLiteral(",\n") +
            tramo(dias + QStringLiteral(" between 31 and 60"), "Dias31a60") + QStringLiteral(",\n") +
            tramo(dias + QStringLiteral(" between 61 and 90"), "Dias61a90") + QStringLiteral(",\n") +
            tramo(dias + QStringLiteral(" > 90"), "DiasMas90") +
            QStringLiteral("\nfrom tCobranza c\n"
                           "join tCliente k on k.cli_Clave = c.cli_Clave\n"
                           "where c.alm_Clave = [ALMACEN] and c.ecob_Clave not in ('COBRADA', 'CANCELADA')\n"
                           "    and ") +
            saldo + QStringLiteral(" >= 0.01\norder by 2, 1, 4, 3");
        const QList<Columna> c = {
            {"Documento", "Documento", 5, 22, 0, "", "T"},
            {"Fecha", "Fecha", 28, 17, 0, "dd/mm/yyyy", "F"},
            {"Dias", "Días", 46, 9, 2, "#,##0", "N"},
            {"Saldo", "Saldo", 56, 27, 2, "#,##0.00", "N"},
            {"Dias0a30", "0 a 30", 84, 28, 2, "#,##0.00", "N"},
            {"Dias31a60", "31 a 60", 113, 28, 2, "#,##0.00", "N"},
            {"Dias61a90", "61 a 90", 142, 28, 2, "#,##0.00", "N"},
            {"DiasMas90", "Más de 90", 171, 27, 2, "#,##0.00", "N"},
        };
        r.objetos = pagina(r.nombre, c);
        r.objetos << texto("GROUP", QStringLiteral("T_CLIENTE"), 1.5, 5, 16, 5, QStringLiteral("Cliente:"), 9,
                           true)
                  << grupo(QStringLiteral("GPOCLIENTE"), 1.5, 21, 177);
        for (const Columna &k : c)
            r.objetos << campo("DETAIL", k);
        r.objetos << oculto("Cliente") << oculto("NombreCliente")
                  << linea("SUMARY", QStringLiteral("RAYA_CLI"), 56, 0.5, 198, 0.5)
                  << texto("SUMARY", QStringLiteral("T_TOTALCLI"), 1, 5, 50, 4,
                           QStringLiteral("Total del cliente"), 8, true)
                  << linea("TOTAL", QStringLiteral("RAYA_TOTAL"), 56, 1, 198, 1)
                  << texto("TOTAL", QStringLiteral("T_TOTAL"), 2, 5, 50, 4,
                           QStringLiteral("Total de la cartera"), 8, true);
        for (const char *k : {"Saldo", "Dias0a30", "Dias31a60", "Dias61a90", "DiasMas90"}) {
            const QString cli = QStringLiteral("CLI_") + QLatin1String(k);
            const QString tot = QStringLiteral("TOT_") + QLatin1String(k);
            r.objetos << sumario("SUMARY", cli, col(c, k)) << sumario("TOTAL", tot, col(c, k), 2);
            r.sumarios << Sumario{cli, u'[' + cli + QStringLiteral("] + [") + QLatin1String(k) + u']',
                                  QStringLiteral("GPOCLIENTE")}
                       << Sumario{tot, u'[' + tot + QStringLiteral("] + [") + QLatin1String(k) + u']', {}};
        }
        r.grupos = {{QStringLiteral("GPOCLIENTE"), QStringLiteral("Cliente,NombreCliente")}};
        l << r;
    }

    {
        Reporte r;
        r.clave = QStringLiteral("CORTEDIA");
        r.nombre = QStringLiteral("Corte de caja del día");
        r.descripcion =
            QStringLiteral("Lo cobrado en ventas por tipo de pago y los movimientos de caja de cada "
                           "corte del almacén en el día, con el total de cada corte y del día.");
        r.menu = QStringLiteral("mnuReporte_Ventas");
        r.orden = 60;
        r.encabezado = 23;
        r.pie = 8;
        r.parametros = {{1, "FECHA", "Fecha", "FECHA", "F", 0, true, "HOY"}, almacen};
        r.sql = QStringLiteral(
            "select c.term_Clave as Terminal, t.term_Nombre as NombreTerminal, c.corte_Anio as CorteAnio,\n"
            "    c.corte_Numero as CorteNumero, c.ecorte_Clave as Estado, 1 as Orden, 'Ventas' as Tipo,\n"
            "    coalesce(tp.tpago_Nombre, p.tpago_Clave) as Concepto, count(*) as Documentos,\n"
            "    sum(p.vpago_Importe) as Importe\n"
            "from TCORTE c\n"
            "join tTerminal t on t.term_Clave = c.term_Clave\n"
            "join tVenta v on v.alm_Clave = c.alm_Clave and v.term_Clave = c.term_Clave\n"
            "    and v.corte_Anio = c.corte_Anio and v.corte_Numero = c.corte_Numero\n"
            "join tVentaPago p on p.term_Clave = v.term_Clave and p.corte_Anio = v.corte_Anio\n"
            "    and p.corte_Numero = v.corte_Numero and p.venta_Numero = v.venta_Numero\n"
            "left join tTipoPago tp on tp.tpago_Clave = p.tpago_Clave\n"
            "where c.alm_Clave = [ALMACEN] and v.eventa_Clave <> 'CANCELADA'\n"
            "    and v.venta_Fecha between [FECHA_INI] and [FECHA_FIN]\n"
            "group by c.term_Clave, t.term_Nombre, c.corte_Anio, c.corte_Numero, c.ecorte_Clave,\n"
            "    coalesce(tp.tpago_Nombre, p.tpago_Clave)\n"
            "union all\n"
            "select c.term_Clave, t.term_Nombre, c.corte_Anio, c.corte_Numero, c.ecorte_Clave, 2, 'Caja',\n"
            "    m.concepto_Nombre, count(*),\n"
            "    sum(case when k.concepto_Signo = '+' then m.movc_Importe else -m.movc_Importe end)\n"
            "from TCORTE c\n"
            "join tTerminal t on t.term_Clave = c.term_Clave\n"
            "join tMovCaja m on m.alm_Clave = c.alm_Clave and m.term_Clave = c.term_Clave\n"
            "    and m.corte_Anio = c.corte_Anio and m.corte_Numero = c.corte_Numero\n"
            "left join tConcepto k on k.concepto_Clave = m.concepto_Clave\n"
            "where c.alm_Clave = [ALMACEN] and m.concepto_Clave not in ('VENTAS', 'DEVOLUCIONES')\n"
            "    and m.movc_Fecha between [FECHA_INI] and [FECHA_FIN]\n"
            "group by c.term_Clave, t.term_Nombre, c.corte_Anio, c.corte_Numero, c.ecorte_Clave, "
            "m.concepto_Nombre\n"
            "order by 1, 3, 4, 6, 8");
        const QList<Columna> c = {
            {"Tipo", "Origen", 10, 25, 0, "", "T"},
            {"Concepto", "Concepto", 36, 90, 0, "", "T"},
            {"Documentos", "Documentos", 127, 25, 2, "#,##0", "N"},
            {"Importe", "Importe", 155, 43, 2, "#,##0.00", "N"},
        };
        r.objetos = pagina(r.nombre, c);
        // The cut's heading line is made of its fields: they hold the new cut's row when it prints.
        const Columna terminal{"NombreTerminal", "", 5, 60, 0, "", "T"};
        const Columna anio{"CorteAnio", "", 82, 10, 0, "0", "N"};
        const Columna numero{"CorteNumero", "", 95, 15, 0, "0", "N"};
        const Columna estado{"Estado", "", 130, 40, 0, "", "T"};
        r.objetos << grupo(QStringLiteral("GPOCORTE"), 1.5, 5, 60, false)
                  << campo("GROUP", terminal, 1.5, 5, 9, true)
                  << texto("GROUP", QStringLiteral("T_CORTE"), 1.5, 67, 15, 5, QStringLiteral("Corte:"), 9,
                           true)
                  << campo("GROUP", anio, 1.5, 5, 9, true)
                  << texto("GROUP", QStringLiteral("T_GUION"), 1.5, 92, 3, 5, QStringLiteral("-"), 9, true)
                  << campo("GROUP", numero, 1.5, 5, 9, true)
                  << texto("GROUP", QStringLiteral("T_ESTADO"), 1.5, 112, 18, 5, QStringLiteral("Estado:"), 9,
                           true)
                  << campo("GROUP", estado, 1.5, 5, 9, false);
        for (const Columna &k : c)
            r.objetos << campo("DETAIL", k);
        r.objetos << oculto("Terminal") << linea("SUMARY", QStringLiteral("RAYA_CORTE"), 155, 0.5, 198, 0.5)
                  << texto("SUMARY", QStringLiteral("T_TOTALCORTE"), 1, 36, 90, 4,
                           QStringLiteral("Total del corte"), 8, true)
                  << sumario("SUMARY", QStringLiteral("CORTE_Importe"), col(c, "Importe"))
                  << linea("TOTAL", QStringLiteral("RAYA_TOTAL"), 155, 1, 198, 1)
                  << texto("TOTAL", QStringLiteral("T_TOTAL"), 2, 36, 90, 4, QStringLiteral("Total del día"),
                           8, true)
                  << sumario("TOTAL", QStringLiteral("TOT_Importe"), col(c, "Importe"), 2);
        r.grupos = {{QStringLiteral("GPOCORTE"), QStringLiteral("Terminal,CorteAnio,CorteNumero")}};
        r.sumarios = {
            {QStringLiteral("CORTE_Importe"), QStringLiteral("[CORTE_Importe] + [Importe]"),
             QStringLiteral("GPOCORTE")},
            {QStringLiteral("TOT_Importe"), QStringLiteral("[TOT_Importe] + [Importe]"), {}},
        };
        l << r;
    }
    return l;
}

struct Modulo {
    const char *clave, *nombre;
};

// The headings of the Reportes menu, in the order they are added.
const Modulo kEncabezados[] = {
    {"mnuReporte_Ventas", "Ventas"},
    {"mnuReporte_Inventario", "Inventario"},
    {"mnuReporte_Cobranza", "Cobranza"},
};

// What the cashier may run besides the counter.
const char *const kCajero[] = {"mnuReporte_Ventas", "RCORTEDIA"};

bool existe(Connection &c, const QString &sql, const QVariantList &valores)
{
    return c.scalar(sql, valores).toInt() > 0;
}

void modulo(Connection &c, const QString &clave, const QString &nombre, const QString &padre,
            const QString &tipo, const QString &descripcion)
{
    if (existe(c, QStringLiteral("select count(*) from tModulo where mod_Clave = ?"), {clave}))
        return;
    db::Recordset p =
        c.openRecordset(QStringLiteral("select mod_Arbol from tModulo where mod_Clave = ?"), {padre});
    const QString arbol =
        (p.eof() ? QStringLiteral("ZEV.") + padre : p.text(QStringLiteral("mod_Arbol"))) + u'.' + clave;
    const int secuencia =
        c.scalar(
             QStringLiteral("select coalesce(max(mod_Secuencia), 0) + 1 from tModulo where mod_ClaveSup = ?"),
             {padre})
            .toInt();
    c.execute(QStringLiteral("insert into tModulo (mod_Clave, mod_Nombre, mod_Descripcion, mod_ClaveSup, "
                             "mod_Secuencia, tmod_Clave, mod_Arbol) values (?, ?, ?, ?, ?, ?, ?)"),
              {clave, nombre, descripcion, padre, secuencia, tipo, arbol});
}

void derecho(Connection &c, const QString &perfil, const QString &clave)
{
    if (!existe(c, QStringLiteral("select count(*) from tPerfil where perf_Clave = ?"), {perfil}) ||
        existe(c, QStringLiteral("select count(*) from tSeguridad where perf_Clave = ? and mod_Clave = ?"),
               {perfil, clave}))
        return;
    c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values (?, ?)"),
              {perfil, clave});
}

void guardaReporte(Connection &c, const Reporte &r)
{
    c.execute(QStringLiteral(
                  "insert into tReporte (ver_Clave, rep_Clave, rep_Nombre, rep_Descripcion, trep_Clave, "
                  "codigo_Clave, rep_Impresora, rep_Orientacion, rep_Papel, rep_Forma, rep_AltoForma, "
                  "rep_AnchoForma, rep_Encabezado, rep_Pie, rep_SoloCodigo, rep_Orden, rep_SQL) values "
                  "('', ?, ?, ?, 'GENERAL', ?, 'IMPRESORA-DE-REPORTES', 1, 1, '', -1, -1, ?, ?, 'N', ?, ?)"),
              {r.clave, r.nombre, r.descripcion, QStringLiteral("REPORTE_") + r.clave, num(r.encabezado),
               num(r.pie), r.orden, r.sql});
    for (const Parametro &p : r.parametros)
        c.execute(QStringLiteral("insert into TREPORTEPARAM (rep_Clave, rparam_Clave, rparam_Nombre, "
                                 "rparam_Descripcion, tparam_Clave, tdat_Clave, con_clave, rparam_Requerido, "
                                 "rparam_Valor) values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {r.clave, p.clave, QLatin1String(p.nombre), QString::fromUtf8(p.descripcion),
                   QLatin1String(p.entrada), QLatin1String(p.dato),
                   p.consulta ? QVariant(p.consulta) : QVariant(QMetaType(QMetaType::Int)),
                   p.requerido ? QStringLiteral("S") : QStringLiteral("N"), QString::fromUtf8(p.omision)});
    int orden = 0;
    for (const Objeto &o : r.objetos) {
        ++orden;
        c.execute(
            QStringLiteral("insert into tReporteObjeto (rep_Clave, robj_Clave, robj_Nombre, robj_Seccion, "
                           "robj_Tipo, robj_Clase) values (?, ?, ?, ?, ?, ?)"),
            {r.clave, orden, o.nombre, o.seccion, o.tipo, o.clase});
        for (const auto &p : o.propiedades)
            c.execute(
                QStringLiteral("insert into tReporteObjetoPropiedad (rep_Clave, robj_Clave, rop_Nombre, "
                               "rop_Valor) values (?, ?, ?, ?)"),
                {r.clave, orden, p.first, p.second});
    }
    for (const auto &g : r.grupos)
        c.execute(QStringLiteral(
                      "insert into TREPORTEGRUPO (rep_Clave, rgrupo_Nombre, rgrupo_Campos) values (?, ?, ?)"),
                  {r.clave, g.first, g.second});
    for (const Sumario &s : r.sumarios) {
        if (s.grupo.isEmpty())
            c.execute(QStringLiteral("insert into tReporteTotales (rep_Clave, rtotal_Nombre, rtotal_Formula) "
                                     "values (?, ?, ?)"),
                      {r.clave, s.nombre, s.formula});
        else
            c.execute(QStringLiteral("insert into tReporteSumario (rep_Clave, rsum_Nombre, rsum_Formula, "
                                     "rgrupo_Nombre) values (?, ?, ?, ?)"),
                      {r.clave, s.nombre, s.formula, s.grupo});
    }
}

} // namespace

QStringList demoReportes()
{
    QStringList out;
    for (const Reporte &r : reportes())
        out << r.clave;
    return out;
}

void populateDemoReportes(Connection &c)
{
    if (!c.tableExists(QStringLiteral("tReporte")))
        return;
    const QString admin = QStringLiteral("ADMINISTRADOR");
    const QString raiz = QStringLiteral("mnuReporte");
    for (const Modulo &m : kEncabezados) {
        const QString nombre = QString::fromUtf8(m.nombre);
        modulo(c, QLatin1String(m.clave), nombre, raiz, QStringLiteral("TREPORTE"),
               QStringLiteral("Reportes de ") + nombre);
        derecho(c, admin, QLatin1String(m.clave));
    }
    for (const Reporte &r : reportes()) {
        if (!existe(c, QStringLiteral("select count(*) from tReporte where rep_Clave = ?"), {r.clave}))
            guardaReporte(c, r);
        const QString clave = QStringLiteral("R") + r.clave;
        modulo(c, clave, r.nombre, r.menu, QStringLiteral("REPORTE"), r.descripcion.left(255));
        derecho(c, admin, clave);
    }
    for (const char *m : kCajero)
        derecho(c, QStringLiteral("CAJERO"), QLatin1String(m));
}

} // namespace db
