// A report of 10,000 rows with two group levels, summaries that refer to themselves, a ReCalc
// formula and page header and footer formulas, composed and written to a PDF file; beside it the
// same query read raw (every column of every row). Target: under 5 s to PDF. The preview keeps at
// most REPORTE-PAGINAS-EN-MEMORIA pages in memory; the peak memory of composing every page for
// the preview is printed with 60 pages in memory and with all of them, so the bound shows.
// SQLite always; PostgreSQL when MDR_BENCH_PG names a server.

#include "BasesDePrueba.h"
#include "ConnectionProvider.h"
#include "ReportFactory.h"
#include "ReportPainter.h"
#include "SilentPrompter.h"
#include "cObjectFactory.h"
#include "cString.h"
#include "easyReport.h"

#include "Connection.h"
#include "Decimal.h"
#include "Transaction.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kFilas = 10000;
QTemporaryDir *g_dir = nullptr;

void llena(db::Connection &c)
{
    c.execute(QStringLiteral(
        "create table tVentaBench (depto varchar(20), linea varchar(20), articulo varchar(40), "
        "cantidad numeric(18,6), importe numeric(18,6))"));
    db::Transaction tx(c);
    for (int i = 0; i < kFilas; ++i)
        c.execute(QStringLiteral("insert into tVentaBench values (?, ?, ?, ?, ?)"),
                  {QStringLiteral("DEPTO %1").arg(i / 2000), QStringLiteral("LINEA %1").arg(i / 250),
                   QStringLiteral("Articulo %1").arg(i, 5, 10, QLatin1Char('0')),
                   Decimal(1 + i % 7).toQVariant(),
                   Decimal(QStringLiteral("%1.%2").arg(10 + i % 90).arg(i % 100, 2, 10, QLatin1Char('0')))
                       .toQVariant()});
    tx.commit();
}

const char *kPrograma = R"VBS(
xRpt.HeaderHeight = 20
xRpt.FooterHeight = 12
xRpt.SQL = "select depto, linea, articulo, cantidad, importe from tVentaBench order by depto, linea, articulo"
xRpt.addObject xFactory.NewcPrintText("Titulo", 3, 5, 7, 190, "Ventas por departamento y linea", 0, 1, "Arial", True, 13)
xRpt.addObject xFactory.NewcPrintFormula("Impreso", 12, 5, 5, 80, "[xRpt.PrintDateTime]", "", 0, 0, "Arial", False, 8, "dd/mm/yyyy hh:nn", "T")
xRpt.addObject xFactory.NewcPrintLine("Raya", 18, 5, 18, 198, 1, 0)
xRpt.addObject xFactory.NewcPrintField("depto", 0, 0, 0, 0, 0, 0, "Arial", False, 9, "")
xRpt.addObject xFactory.NewcPrintField("linea", 0, 0, 0, 0, 0, 0, "Arial", False, 9, "")
xRpt.addObject xFactory.NewcPrintGroup("GDepto", 0, 5, 5, 80, 0, 0, "Arial", True, 10)
xRpt.addObject xFactory.NewcPrintGroup("GLinea", 0, 90, 5, 80, 0, 0, "Arial", False, 10)
xRpt.addObject xFactory.NewcPrintField("articulo", 0, 10, 4.5, 70, 0, 0, "Arial", False, 9, "")
xRpt.addObject xFactory.NewcPrintField("cantidad", 0, 85, 4.5, 20, 0, 2, "Arial", False, 9, "#,##0")
xRpt.addObject xFactory.NewcPrintField("importe", 0, 110, 4.5, 30, 0, 2, "Arial", False, 9, "#,##0.00")
xRpt.addObject xFactory.NewcPrintFormula("Acumulado", 0, 150, 4.5, 40, "[GranTotal]", "0", 0, 2, "Arial", False, 9, "#,##0.00", "N")
xRpt.getObject("Acumulado").ReCalc = True
xRpt.addObject xFactory.NewcPrintSumary("TotLinea", 0, 110, 5, 30, "[TotLinea] + [importe]", "0", 0, 2, "Arial", True, 9, "#,##0.00")
xRpt.addObject xFactory.NewcPrintSumary("TotDepto", 5, 110, 5, 30, "[TotDepto] + [importe]", "0", 0, 2, "Arial", True, 9, "#,##0.00")
xRpt.addObject xFactory.NewcPrintSumary("GranTotal", 0, 110, 6, 30, "[GranTotal] + [importe]", "0", 0, 2, "Arial", True, 10, "#,##0.00")
xRpt.addObject xFactory.NewcPrintSumary("Piezas", 0, 85, 6, 20, "[Piezas] + [cantidad]", "0", 0, 2, "Arial", True, 10, "#,##0")
xRpt.addObject xFactory.NewcPrintFormula("Pagina", 3, 150, 5, 45, """Pagina "" & [xRpt.CurrentPage]", "", 0, 2, "Arial", False, 8, "", "T")
xRpt.addHeaderObject(xRpt.getObject("Titulo"))
xRpt.addHeaderObject(xRpt.getObject("Impreso"))
xRpt.addHeaderObject(xRpt.getObject("Raya"))
xRpt.addGroupObject(xRpt.getObject("GDepto"))
xRpt.addGroupObject(xRpt.getObject("GLinea"))
xRpt.addDetailObject(xRpt.getObject("articulo"))
xRpt.addDetailObject(xRpt.getObject("cantidad"))
xRpt.addDetailObject(xRpt.getObject("importe"))
xRpt.addDetailObject(xRpt.getObject("Acumulado"))
xRpt.addSumaryObject(xRpt.getObject("TotLinea"))
xRpt.addSumaryObject(xRpt.getObject("TotDepto"))
xRpt.addFooterObject(xRpt.getObject("Pagina"))
xRpt.addReportFooterObject(xRpt.getObject("GranTotal"))
xRpt.addReportFooterObject(xRpt.getObject("Piezas"))
xRpt.getObject("GDepto").addField xRpt.getObject("depto")
xRpt.getObject("GDepto").addSumary xRpt.getObject("TotDepto")
xRpt.getObject("GLinea").addField xRpt.getObject("depto")
xRpt.getObject("GLinea").addField xRpt.getObject("linea")
xRpt.getObject("GLinea").addSumary xRpt.getObject("TotLinea")
)VBS";

struct Reporte {
    explicit Reporte(db::Connection &c, int paginas = 0) : provider(&c)
    {
        registraObjetosReporte(factory);
        ReportServices s;
        s.connections = &provider;
        s.strings = &strings;
        s.prompter = &prompter;
        s.pagesInMemory = paginas;
        s.hostObjects = [this](vbs::Engine &e) { e.addObject(QStringLiteral("xFactory"), factory.scriptHost()); };
        report = std::make_unique<easyReport>(s);
        if (!report->configureScript(QString::fromUtf8(kPrograma)))
            std::abort();
    }
    FixedConnectionProvider provider;
    SilentPrompter prompter;
    cObjectFactory factory;
    cString strings;
    std::unique_ptr<easyReport> report;
};

long maxRssKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void aPdf(benchmark::State &state, QString conexion)
{
    db::Connection c;
    c.open(conexion);
    Reporte r(c);
    const QString file = g_dir->filePath(QStringLiteral("bench.pdf"));
    int paginas = 0;
    for (auto _ : state) {
        QString error;
        if (!reportToPdf(*r.report, file, &error))
            state.SkipWithError(qPrintable(error));
        paginas = r.report->pageCount();
    }
    state.counters["paginas"] = paginas;
    state.counters["filas/s"] =
        benchmark::Counter(double(kFilas), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["formulas compiladas"] = r.report->compiledFormulas();
}

void crudo(benchmark::State &state, QString conexion)
{
    db::Connection c;
    c.open(conexion);
    for (auto _ : state) {
        qint64 n = 0;
        for (db::Recordset rs =
                 c.openForwardOnly(QStringLiteral("select depto, linea, articulo, cantidad, importe from "
                                                  "tVentaBench order by depto, linea, articulo"));
             !rs.eof(); rs.moveNext())
            for (int i = 0; i < 5; ++i)
                n += rs.value(i).isValid();
        benchmark::DoNotOptimize(n);
    }
}

// Every page composed for the preview; the resident memory it took.
void vistaPrevia(benchmark::State &state, QString conexion)
{
    db::Connection c;
    c.open(conexion);
    const int enMemoria = int(state.range(0));
    Reporte r(c, enMemoria);
    for (auto _ : state) {
        r.report->printReport();
        r.report->composeUntil(1 << 20);
    }
    state.counters["paginas"] = r.report->pageCount();
    state.counters["en memoria"] = r.report->pagesInMemory();
    state.counters["rss max KB"] = double(maxRssKb());
}

void registra(const QString &motor, const QString &conexion)
{
    benchmark::RegisterBenchmark(qPrintable(QStringLiteral("ReporteAPdf/%1").arg(motor)), aPdf, conexion)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark(qPrintable(QStringLiteral("ConsultaCruda/%1").arg(motor)), crudo, conexion)
        ->Unit(benchmark::kMillisecond);
    // Memory last, the smaller bound first: the peak only grows.
    benchmark::RegisterBenchmark(qPrintable(QStringLiteral("VistaPreviaTodas/%1").arg(motor)), vistaPrevia,
                                 conexion)
        ->Arg(60)
        ->Arg(100000)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    preparaBases(dir, QStringLiteral("reporte"), llena, registra);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
