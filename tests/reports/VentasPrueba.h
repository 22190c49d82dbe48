#pragma once

// The sales of a day by department and line, and the report program that lists them: the data
// and design the run-time and output tests share.
#include "Decimal.h"

#include "Connection.h"

#include <QDateTime>

#include "easyReport.h"

namespace ventas_prueba {

struct Fila {
    const char *depto, *linea, *articulo, *importe, *fecha;
};

// Four groups of two levels; two rows just outside the day, two on its very edges. On a page
// 100 mm high the first department ends on the last line of the page, so its summary waits for
// the next one.
inline const Fila kVentas[] = {
    {"ABARROTES", "ACEITES", "Aceite 1 l", "45.50", "2026-12-07 00:00:00"},
    {"ABARROTES", "ACEITES", "Aceite 500 ml", "120.00", "2026-12-07 10:00:00"},
    {"ABARROTES", "ACEITES", "Manteca", "30.25", "2026-12-07 10:05:00"},
    {"ABARROTES", "GRANOS", "Arroz", "18.00", "2026-12-07 11:00:00"},
    {"ABARROTES", "GRANOS", "Frijol", "22.50", "2026-12-07 11:10:00"},
    {"ABARROTES", "GRANOS", "Galleta \"María\", 200 g", "150.00", "2026-12-07 11:20:00"},
    {"ABARROTES", "GRANOS", "Garbanzo", "14.00", "2026-12-07 11:22:00"},
    {"ABARROTES", "GRANOS", "Haba", "16.00", "2026-12-07 11:25:00"},
    {"ABARROTES", "GRANOS", "Lenteja", "9.90", "2026-12-07 11:30:00"},
    {"BEBIDAS", "AGUAS", "Agua 1 l", "12.00", "2026-12-07 12:00:00"},
    {"BEBIDAS", "AGUAS", "Agua 5 l", "15.50", "2026-12-07 12:10:00"},
    {"BEBIDAS", "REFRESCOS", "Cola 600 ml", "18.50", "2026-12-07 13:00:00"},
    {"BEBIDAS", "REFRESCOS", "Cola 3 l", "250.00", "2026-12-07 13:10:00"},
    {"BEBIDAS", "REFRESCOS", "Naranja", "19.00", "2026-12-07 13:20:00"},
    {"BEBIDAS", "REFRESCOS", "Toronja", "21.00", "2026-12-07 13:30:00"},
    {"BEBIDAS", "REFRESCOS", "Uva", "17.25", "2026-12-07 13:40:00"},
    {"BEBIDAS", "REFRESCOS", "Zarzamora", "33.00", "2026-12-07 23:59:59"},
    {"ABARROTES", "ACEITES", "Ayer", "1000.00", "2026-12-06 23:59:59"},
    {"BEBIDAS", "AGUAS", "Mañana", "2000.00", "2026-12-08 00:00:00"},
};

inline void creaVentas(db::Connection &c, int repeticiones = 1)
{
    c.execute(QStringLiteral(
        "create table tVentaPrueba (depto varchar(20), linea varchar(20), articulo varchar(40), "
        "importe numeric(18,6), fecha timestamp)"));
    for (int r = 0; r < repeticiones; ++r)
        for (const Fila &f : kVentas)
            c.execute(
                QStringLiteral("insert into tVentaPrueba (depto, linea, articulo, importe, fecha) "
                               "values (?, ?, ?, ?, ?)"),
                {QString::fromUtf8(f.depto), QString::fromUtf8(f.linea),
                 r == 0 ? QString::fromUtf8(f.articulo) : QString::fromUtf8(f.articulo) + QString::number(r),
                 Decimal(QString::fromLatin1(f.importe)).toQVariant(),
                 QDateTime::fromString(QString::fromLatin1(f.fecha), QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
}

// A report as a stored program writes it: page header, two group levels, detail with an
// on-print mark and a running total (ReCalc), two-line group summary, page and report footers.
inline const char *kPrograma = R"VBS(
xRpt.UserPageHeight = 100
xRpt.UserPageWidth = 150
xRpt.HeaderHeight = 15
xRpt.FooterHeight = 10
xRpt.SQL = "select depto, linea, articulo, importe from tVentaPrueba " & Chr(13) & Chr(10) & "where fecha >= [Fecha] and fecha <= [Fecha.Fin] order by depto, linea, articulo"
xRpt.addObject xFactory.NewcPrintText("Titulo", 2, 5, 6, 140, "Ventas por departamento", 0, 1, "Arial", True, 12)
xRpt.addObject xFactory.NewcPrintLine("Raya", 12, 5, 12, 145, 1, 0)
xRpt.addObject xFactory.NewcPrintFormula("Hoja", 8, 110, 4, 35, """Hoja "" & [xRpt.CurrentPage]", "", 0, 2, "Arial", False, 8, "", "T")
xRpt.addObject xFactory.NewcPrintField("depto", 0, 0, 0, 0, 0, 0, "Arial", False, 9, "")
xRpt.addObject xFactory.NewcPrintField("linea", 0, 0, 0, 0, 0, 0, "Arial", False, 9, "")
xRpt.addObject xFactory.NewcPrintGroup("GDepto", 0, 5, 5, 60, 0, 0, "Arial", True, 10)
xRpt.addObject xFactory.NewcPrintGroup("GLinea", 0, 70, 5, 60, 0, 0, "Arial", False, 10)
xRpt.addObject xFactory.NewcPrintField("articulo", 0, 10, 5, 60, 0, 0, "Arial", False, 9, "")
xRpt.addObject xFactory.NewcPrintField("importe", 0, 72, 5, 28, 0, 2, "Arial", False, 9, "#,##0.00")
xRpt.addObject xFactory.NewcPrintFormula("Marca", 0, 101, 5, 4, "", "", 0, 0, "Arial", True, 9, "", "T")
xRpt.getObject("Marca").onPrintFormula = "If [importe] >= 100 Then xRpt.getItem(""Marca"").Value = ""*"" Else xRpt.getItem(""Marca"").Value = """""
xRpt.addObject xFactory.NewcPrintFormula("Acumulado", 0, 110, 5, 35, "[GranTotal]", "0", 0, 2, "Arial", False, 9, "#,##0.00", "N")
xRpt.getObject("Acumulado").ReCalc = True
xRpt.addObject xFactory.NewcPrintSumary("TotLinea", 0, 76, 5, 28, "[TotLinea] + [importe]", "0", 0, 2, "Arial", True, 9, "#,##0.00")
xRpt.addObject xFactory.NewcPrintSumary("TotDepto", 5, 76, 5, 28, "[TotDepto] + [importe]", "0", 0, 2, "Arial", True, 9, "#,##0.00")
xRpt.addObject xFactory.NewcPrintText("EtqLinea", 0, 10, 5, 60, "Total de la linea", 0, 0, "Arial", False, 9)
xRpt.addObject xFactory.NewcPrintText("EtqDepto", 5, 10, 5, 60, "Total del departamento", 0, 0, "Arial", False, 9)
xRpt.addObject xFactory.NewcPrintSumary("GranTotal", 0, 76, 5, 28, "[GranTotal] + [importe]", "0", 0, 2, "Arial", True, 10, "#,##0.00")
xRpt.addObject xFactory.NewcPrintSumary("Cuenta", 0, 110, 5, 20, "[Cuenta] + 1", "0", 0, 2, "Arial", False, 10, "")
xRpt.addObject xFactory.NewcPrintFormula("Pagina", 2, 100, 5, 45, """Pagina "" & [xRpt.CurrentPage]", "", 0, 2, "Arial", False, 8, "", "T")
xRpt.addObject xFactory.NewcPrintFormula("Impreso", 2, 5, 5, 60, "[xRpt.PrintDateTime]", "", 0, 0, "Arial", False, 8, "dd/mm/yyyy hh:nn", "T")
xRpt.getObject("TotLinea").Box = False
xRpt.addHeaderObject(xRpt.getObject("Titulo"))
xRpt.addHeaderObject(xRpt.getObject("Raya"))
xRpt.addHeaderObject(xRpt.getObject("Hoja"))
xRpt.addGroupObject(xRpt.getObject("GDepto"))
xRpt.addGroupObject(xRpt.getObject("GLinea"))
xRpt.addDetailObject(xRpt.getObject("articulo"))
xRpt.addDetailObject(xRpt.getObject("importe"))
xRpt.addDetailObject(xRpt.getObject("Marca"))
xRpt.addDetailObject(xRpt.getObject("Acumulado"))
xRpt.addSumaryObject(xRpt.getObject("EtqLinea"))
xRpt.addSumaryObject(xRpt.getObject("TotLinea"))
xRpt.addSumaryObject(xRpt.getObject("EtqDepto"))
xRpt.addSumaryObject(xRpt.getObject("TotDepto"))
xRpt.addFooterObject(xRpt.getObject("Impreso"))
xRpt.addFooterObject(xRpt.getObject("Pagina"))
xRpt.addReportFooterObject(xRpt.getObject("GranTotal"))
xRpt.addReportFooterObject(xRpt.getObject("Cuenta"))
xRpt.getObject("GDepto").addField xRpt.getObject("depto")
xRpt.getObject("GDepto").addSumary xRpt.getObject("TotDepto")
xRpt.getObject("GLinea").addField xRpt.getObject("depto")
xRpt.getObject("GLinea").addField xRpt.getObject("linea")
xRpt.getObject("GLinea").addSumary xRpt.getObject("TotLinea")
)VBS";

inline void diaCompleto(easyReport &r)
{
    r.setParam(QStringLiteral("Fecha"), QStringLiteral("07/12/2026 00:00:00"),
               QStringLiteral("07/12/2026 23:59:59"), QStringLiteral("F"));
}

inline Decimal suma(db::Connection &c, const QString &where, const QVariantList &params = {})
{
    return Decimal::fromVariant(c.scalar(
        QStringLiteral("select coalesce(sum(importe), 0) from tVentaPrueba where ") + where, params));
}

} // namespace ventas_prueba
