// The article generator (statements of 100 rows, NORMAL rows copied from the articles) against the
// plain way, one insert per article and one per NORMAL row through the same connection, both in
// one transaction on a fresh SQLite store. The rate tells how long a million articles take.

#include "ArticleGenerator.h"
#include "Connection.h"
#include "Schema.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int kArticulos = 20000;

// A fresh, upgraded store per run, made while the clock is stopped.
std::unique_ptr<db::Connection> tiendaNueva(benchmark::State &state, QTemporaryDir &dir, int vuelta)
{
    state.PauseTiming();
    auto c = std::make_unique<db::Connection>();
    c->open(db::ConnectionString::sqlite(dir.filePath(QStringLiteral("tienda%1.db").arg(vuelta))),
            db::Connection::OpenMode::CreateIfMissing);
    db::Schema::upgrade(*c);
    state.ResumeTiming();
    return c;
}

void BM_Generador(benchmark::State &state)
{
    QTemporaryDir dir;
    int vuelta = 0;
    for (auto _ : state) {
        auto c = tiendaNueva(state, dir, ++vuelta);
        benchmark::DoNotOptimize(db::ArticleGenerator::generate(*c, kArticulos).count);
    }
    state.SetItemsProcessed(state.iterations() * kArticulos);
}

void BM_FilaPorFila(benchmark::State &state)
{
    QTemporaryDir dir;
    int vuelta = 0;
    const QDateTime ahora = QDateTime::currentDateTime();
    for (auto _ : state) {
        auto c = tiendaNueva(state, dir, ++vuelta);
        db::Transaction tx(*c);
        for (int i = 1; i <= kArticulos; ++i) {
            const QString clave = db::ArticleGenerator::keyFor(i);
            const Decimal costo = Decimal::fromRaw(qint64(300 + i % 60000) * 10000);
            const Decimal publico = (costo * Decimal("1.4")).round(2);
            const Decimal margen = publico - costo;
            const Decimal utilidad = (margen / (costo / Decimal(100))).round(2);
            const Decimal iva = (publico * Decimal("0.16")).round(2);
            c->execute(QStringLiteral(
                           "insert into tArticulo (art_Clave, art_Nombre, tart_Clave, fam_Clave, fab_Clave, "
                           "med_Clave, eart_Clave, art_FecAlta, art_FecMod, usu_Clave, art_Costo, "
                           "art_Importe, art_Descuento, art_SubTotal, art_Margen, art_Utilidad, art_IVAPorc, "
                           "art_IVA, art_Total, art_CostoCompra, cambio_Clave, cinv_Clave, cad_Clave) "
                           "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       {clave,         QStringLiteral("ARTICULO DE PRUEBA %1").arg(i),
                        "ABARROTES",   "ABARROTES",
                        "ESPERANZA",   "PZA",
                        "REGISTRADO",  ahora,
                        ahora,         "ADMIN",
                        costo,         publico,
                        Decimal(),     publico,
                        margen,        utilidad,
                        Decimal(16),   iva,
                        publico + iva, costo,
                        "PUBLICO",     "EXISTENCIA",
                        "NO"});
            c->execute(
                QStringLiteral("insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, "
                               "cambio_Clave, art_Costo, precio_Importe, precio_Descuento, precio_SubTotal, "
                               "precio_Margen, precio_Utilidad, precio_IVA, precio_IVAPorc, precio_Total, "
                               "PRECIO_FECINI) values (?, 'NORMAL', 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {clave, "PUBLICO", costo, publico, Decimal(), publico, margen, utilidad, iva, Decimal(16),
                 publico + iva, ahora});
        }
        tx.commit();
    }
    state.SetItemsProcessed(state.iterations() * kArticulos);
}

BENCHMARK(BM_Generador)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FilaPorFila)->Unit(benchmark::kMillisecond)->Iterations(3);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                m_real[r.run_name.function_name] = r.GetAdjustedRealTime(); // milliseconds
    }
    std::map<std::string, double> m_real;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double generador = reporter.m_real["BM_Generador"];
    const double plano = reporter.m_real["BM_FilaPorFila"];
    if (generador > 0)
        std::printf("generador: %d artículos en %.0f ms, un millón en unos %.0f s\n", kArticulos, generador,
                    generador / kArticulos * 1e6 / 1000.0);
    if (generador > 0 && plano > 0)
        std::printf("fila por fila: %.0f ms; razón %.1fx\n", plano, plano / generador);
    benchmark::Shutdown();
    return 0;
}
