// Stock calls per second: Existencias::actualizaArticuloAlmacen (the routine with its locks,
// checks and kardex row) against the plainest write of the same two rows, an UPDATE of the stock
// and an INSERT of the kardex row in one transaction. One and 8 workstations (threads, each on its
// own connection); "mismo articulo" makes them all move one article, "articulos distintos" spreads
// them over 100. SQLite always; PostgreSQL when MDR_BENCH_PG names a server.

#include "BasesDePrueba.h"
#include "ConnectionProvider.h"
#include "Existencias.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "SilentPrompter.h"
#include "cConfigure.h"

#include "Connection.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kArticulos = 100;
QTemporaryDir *g_dir = nullptr;

QString clave(int i)
{
    return QStringLiteral("B%1").arg(i % kArticulos, 4, 10, QLatin1Char('0'));
}

void llena(db::Connection &c)
{
    db::Schema::upgrade(c);
    db::Transaction tx(c);
    for (int i = 0; i < kArticulos; ++i) {
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, art_Costo, art_Existencia) "
                                 "values (?, ?, 10, 1000000)"),
                  {clave(i), QStringLiteral("ARTICULO %1").arg(i)});
        c.execute(
            QStringLiteral("insert into tArticuloAlmacen (alm_Clave, art_Clave, alma_Clave, alma_Existencia) "
                           "values ('A1', ?, '', 1000000)"),
            {clave(i)});
    }
    tx.commit();
}

// Entry and exit in turn, so the stock stays put whatever the number of iterations.
void llamada(benchmark::State &state, const QString &cs)
{
    db::Connection c;
    c.open(cs);
    FixedConnectionProvider provider(&c);
    SilentPrompter prompter;
    SettingsStore settings(g_dir->filePath(QStringLiteral("b%1.ini").arg(state.thread_index())));
    cConfigure config(provider, settings, prompter);
    Existencias e(provider, config, prompter);
    const bool distintos = state.range(0) == 1;
    int i = 0;
    for (auto _ : state) {
        const QString art = clave(distintos ? state.thread_index() + 8 * (i / 2) : 0);
        if (!e.actualizaArticuloAlmacen(QStringLiteral("A1"), art, {}, Decimal(1),
                                        i % 2 ? QStringLiteral("S") : QStringLiteral("E"),
                                        QStringLiteral("BENCH"), {}, {}, Decimal(10), true, true, true))
            state.SkipWithError(qPrintable(e.ultimoError()));
        ++i;
    }
    state.counters["llamadas/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void crudo(benchmark::State &state, const QString &cs)
{
    db::Connection c;
    c.open(cs);
    const bool distintos = state.range(0) == 1;
    const int anio = QDate::currentDate().year();
    int i = 0;
    for (auto _ : state) {
        const QString art = clave(distintos ? state.thread_index() + 8 * (i / 2) : 0);
        const int delta = i % 2 ? -1 : 1;
        db::Transaction tx(c);
        c.execute(QStringLiteral("update tArticuloAlmacen set alma_Existencia = alma_Existencia + ? "
                                 "where alm_Clave = 'A1' and art_Clave = ? and alma_Clave = ''"),
                  {delta, art});
        c.execute(QStringLiteral(
                      "insert into tArticuloKardex (ALM_CLAVE, art_Clave, kar_Anio, kar_Fecha, tkar_Clave, "
                      "alma_Clave, kar_Cantidad, art_Costo, KAR_ORIGEN, alma_Existencia) "
                      "values ('A1', ?, ?, getdate(), 'E', '', ?, 10, 'BENCH', 0)"),
                  {art, anio, delta});
        tx.commit();
        ++i;
    }
    state.counters["llamadas/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void registra(const QString &motor, const QString &cs)
{
    for (int hilos : {1, 8})
        for (int distintos : {0, 1}) {
            const QString sufijo =
                distintos ? QStringLiteral("/articulos distintos") : QStringLiteral("/mismo articulo");
            benchmark::RegisterBenchmark(
                qPrintable(motor + QStringLiteral("/actualizaArticuloAlmacen") + sufijo), llamada, cs)
                ->Arg(distintos)
                ->Threads(hilos)
                ->UseRealTime();
            benchmark::RegisterBenchmark(qPrintable(motor + QStringLiteral("/UPDATE+INSERT") + sufijo), crudo,
                                         cs)
                ->Arg(distintos)
                ->Threads(hilos)
                ->UseRealTime();
        }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    preparaBases(dir, QStringLiteral("existencias"), llena, registra);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
