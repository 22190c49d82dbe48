// Opening a one-row recordset by primary key through Connection::openRecordset, against the
// same lookup through the raw SQLite C API with one prepared statement reused: the ratio is
// what the layer costs (dialect translation, Qt SQL, value conversion, the recordset).

#include "Connection.h"
#include "DatabaseAdmin.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>

namespace {

constexpr int kRows = 200000;
QString g_path;

QString keyOf(int i)
{
    return QStringLiteral("ART%1").arg(i, 7, 10, QLatin1Char('0'));
}

void createStore(const QString &path)
{
    db::Connection c;
    c.open(db::ConnectionString::sqlite(path), db::Connection::OpenMode::CreateIfMissing);
    c.executeScript(QStringLiteral(
        "create table tArticulo (art_Clave varchar(20) not null primary key, art_Nombre varchar(100), "
        "art_CodigoBarras varchar(30), art_Costo numeric(18,6), art_Publico numeric(18,6), "
        "art_Impuesto numeric(18,6), art_Existencia numeric(18,6), art_Granel varchar(2), "
        "tart_Clave varchar(20), art_Alta timestamp)"));
    db::Transaction tx(c);
    for (int i = 0; i < kRows; ++i)
        c.execute(QStringLiteral("insert into tArticulo values (?, ?, ?, ?, ?, ?, ?, ?, ?, getdate())"),
                  {keyOf(i), QStringLiteral("Artículo de prueba número %1").arg(i), QString::number(7501000000000LL + i),
                   Decimal::fromRaw(qint64(i % 5000) * 10000 + 10000), Decimal::fromRaw(qint64(i % 5000) * 13000 + 13000),
                   Decimal(16), Decimal(i % 100), "NO", "GENERAL"});
    tx.commit();
}

void BM_OpenRecordsetByKey(benchmark::State &state)
{
    db::Connection c;
    c.open(db::ConnectionString::sqlite(g_path));
    int i = 0;
    for (auto _ : state) {
        const db::Recordset rs = c.openRecordset(QStringLiteral("select * from tArticulo where art_Clave = ?"),
                                                 {keyOf((i += 7919) % kRows)});
        benchmark::DoNotOptimize(rs.decimal(QStringLiteral("art_Publico")));
    }
}

void BM_RawSqliteByKey(benchmark::State &state)
{
    sqlite3 *h = nullptr;
    sqlite3_open_v2(g_path.toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(h, "select * from tArticulo where art_Clave = ?", -1, &stmt, nullptr);
    int i = 0;
    for (auto _ : state) {
        const QByteArray key = keyOf((i += 7919) % kRows).toUtf8();
        sqlite3_bind_text(stmt, 1, key.constData(), int(key.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 4));
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(h);
}

BENCHMARK(BM_OpenRecordsetByKey);
BENCHMARK(BM_RawSqliteByKey);

// A total over every article: the exact sum the program's connections use, against SQLite's
// own (binary) sum on a plain connection.
void BM_ExactSum(benchmark::State &state)
{
    db::Connection c;
    c.open(db::ConnectionString::sqlite(g_path));
    for (auto _ : state)
        benchmark::DoNotOptimize(c.scalar(QStringLiteral("select sum(art_Publico) from tArticulo")));
}

void BM_BuiltinSum(benchmark::State &state)
{
    sqlite3 *h = nullptr;
    sqlite3_open_v2(g_path.toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(h, "select sum(art_Publico) from tArticulo", -1, &stmt, nullptr);
    for (auto _ : state) {
        if (sqlite3_step(stmt) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_double(stmt, 0));
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(h);
}

BENCHMARK(BM_ExactSum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuiltinSum)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per lookup for the ratio printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            const bool mean = r.run_type == Run::RT_Aggregate && r.aggregate_name == "mean";
            if (!mean && (r.run_type != Run::RT_Iteration || r.iterations == 0))
                continue;
            const double unit = r.time_unit == benchmark::kMicrosecond   ? 1e3
                                 : r.time_unit == benchmark::kMillisecond ? 1e6
                                                                          : 1.0;
            m_real[r.run_name.function_name] = r.GetAdjustedRealTime() * unit;
            m_cpu[r.run_name.function_name] = r.GetAdjustedCPUTime() * unit;
        }
    }
    std::map<std::string, double> m_real;
    std::map<std::string, double> m_cpu;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_path = dir.filePath(QStringLiteral("articulos.db"));
    std::printf("Preparando %d artículos en SQLite...\n", kRows);
    createStore(g_path);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (auto *times : {&reporter.m_real, &reporter.m_cpu}) {
        const double exact = (*times)["BM_ExactSum"];
        const double builtin = (*times)["BM_BuiltinSum"];
        if (exact > 0 && builtin > 0)
            std::printf("%s: suma exacta de %d importes %.2f ms; suma de SQLite %.2f ms; razón %.1fx\n",
                        times == &reporter.m_real ? "tiempo real" : "tiempo de CPU", kRows, exact / 1e6,
                        builtin / 1e6, exact / builtin);
        const double layer = (*times)["BM_OpenRecordsetByKey"];
        const double raw = (*times)["BM_RawSqliteByKey"];
        if (layer > 0 && raw > 0)
            std::printf("%s: openRecordset por clave %.1f us; SQLite directo %.1f us; razón %.1fx\n",
                        times == &reporter.m_real ? "tiempo real" : "tiempo de CPU", layer / 1000.0, raw / 1000.0,
                        layer / raw);
    }
    benchmark::Shutdown();
    return 0;
}
