// Opening an article's kardex: KardexArticulo::carga (the newest 1,000 rows) of an article with
// a long history (50,000 movements among 200,000 of other articles) against the plain way, the
// whole history read into the same grid. Also one warehouse and one month. SQLite always;
// PostgreSQL when MDR_BENCH_PG names a server.

#include "BasesDePrueba.h"
#include "ConnectionProvider.h"
#include "KardexArticulo.h"
#include "Schema.h"
#include "SilentPrompter.h"

#include "Connection.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kOtros = 4;          // other articles
constexpr int kMovimientos = 50000; // per article

void llena(db::Connection &c)
{
    db::Schema::upgrade(c);
    db::Transaction tx(c);
    const QDateTime inicio(QDate(2020, 1, 1), QTime(8, 0));
    for (int a = 0; a <= kOtros; ++a) {
        const QString art = QStringLiteral("K%1").arg(a);
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, art_Costo) values (?, ?, 10)"),
                  {art, QStringLiteral("ARTICULO %1").arg(a)});
        for (int i = 0; i < kMovimientos; ++i)
            c.execute(QStringLiteral(
                          "insert into tArticuloKardex (ALM_CLAVE, art_Clave, kar_Anio, kar_Fecha, tkar_Clave, "
                          "alma_Clave, kar_Cantidad, art_Costo, KAR_ORIGEN, alma_Existencia, usu_Clave) "
                          "values (?, ?, 2020, ?, ?, '', 1, 10, 'BENCH', ?, 'ADMIN')"),
                      {i % 3 ? QStringLiteral("A1") : QStringLiteral("A2"), art, inicio.addSecs(i * 3600LL),
                       i % 2 ? QStringLiteral("S") : QStringLiteral("E"), i % 100});
    }
    tx.commit();
}

void carga(benchmark::State &state, const QString &cs, KardexArticulo::Filtro filtro)
{
    db::Connection c;
    c.open(cs);
    FixedConnectionProvider provider(&c);
    SilentPrompter prompter;
    KardexArticulo k(provider, prompter);
    for (auto _ : state) {
        if (!k.carga(QStringLiteral("K0"), filtro))
            state.SkipWithError("carga");
        benchmark::DoNotOptimize(k.rowCount());
    }
    state.counters["filas"] = double(k.rowCount());
}

void registra(const QString &motor, const QString &cs)
{
    KardexArticulo::Filtro ultimos;
    KardexArticulo::Filtro todo;
    todo.limite = kMovimientos * 2;
    KardexArticulo::Filtro mes;
    mes.almacen = QStringLiteral("A1");
    mes.desde = QDate(2023, 3, 1);
    mes.hasta = QDate(2023, 3, 31);
    benchmark::RegisterBenchmark(qPrintable(motor + QStringLiteral("/ultimos 1000")), carga, cs, ultimos)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(qPrintable(motor + QStringLiteral("/un almacen, un mes")), carga, cs, mes)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(qPrintable(motor + QStringLiteral("/todo el historial (sin limite)")), carga,
                                 cs, todo)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    preparaBases(dir, QStringLiteral("kardex"), llena, registra);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
