// Folios per second from one key of tSecuencia on PostgreSQL ($MDR_TEST_PG), with 1 and with 8
// workstations (threads, each on its own connection) drawing at once through
// Secuencias::getNextSequence. The plain way beside it: PostgreSQL's own nextval(), which may
// skip numbers. After the runs it prints, per run, how many folios were handed out twice and
// how many were skipped; both must be 0.

#include "Connection.h"
#include "Schema.h"
#include "Secuencias.h"

#include <QCoreApplication>
#include <QMutex>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

QString g_cs; // connection string with the benchmark's own schema
QMutex g_mutex;
std::map<QString, std::vector<qint64>> g_folios; // per run key

QString runKey(const benchmark::State &state)
{
    return QStringLiteral("BENCH_%1_%2").arg(state.threads()).arg(state.range(0));
}

void BM_GetNextSequence(benchmark::State &state)
{
    db::Connection c;
    c.open(g_cs);
    // Every invocation of a run draws from the run's key: together they must give 1..N.
    const QString key = runKey(state);
    std::vector<qint64> mine;
    mine.reserve(100000);
    for (auto _ : state)
        mine.push_back(qint64(Secuencias::getNextSequence(c, key)));
    state.counters["folios/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    QMutexLocker lock(&g_mutex);
    auto &all = g_folios[runKey(state)];
    all.insert(all.end(), mine.begin(), mine.end());
}

void BM_NativeNextval(benchmark::State &state)
{
    db::Connection c;
    c.open(g_cs);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.scalar(QStringLiteral("select nextval('bench_native')")).toLongLong());
    state.counters["folios/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void report()
{
    for (const auto &[run, values] : g_folios) {
        std::vector<qint64> v = values;
        std::sort(v.begin(), v.end());
        const qint64 duplicates = qint64(v.size()) - qint64(std::unique(v.begin(), v.end()) - v.begin());
        v.erase(std::unique(v.begin(), v.end()), v.end());
        const qint64 skipped = v.empty() ? 0 : v.back() - qint64(v.size());
        std::printf("%s: %zu folios, duplicates %lld, skipped %lld\n", qPrintable(run), values.size(),
                    static_cast<long long>(duplicates), static_cast<long long>(skipped));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray admin = qgetenv("MDR_TEST_PG");
    if (admin.isEmpty()) {
        std::printf("bench_sequence: MDR_TEST_PG not set, nothing to measure\n");
        return 0;
    }
    const QString schema = QStringLiteral("bench_seq_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    db::Connection setup;
    try {
        setup.open(QString::fromUtf8(admin));
        setup.executeScript(QStringLiteral("create schema ") + schema);
        QString cs = QString::fromUtf8(admin);
        cs += cs.contains(u'?') ? u'&' : u'?';
        cs += QStringLiteral("options=-c%20search_path%3D") + schema;
        g_cs = cs;
        db::Connection c;
        c.open(g_cs);
        db::Schema::upgrade(c);
        c.executeScript(QStringLiteral("create sequence bench_native"));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_sequence: %s\n", e.what());
        return 1;
    }

    benchmark::RegisterBenchmark("GetNextSequence", BM_GetNextSequence)->Arg(0)->Threads(1)->UseRealTime();
    benchmark::RegisterBenchmark("GetNextSequence", BM_GetNextSequence)->Arg(0)->Threads(8)->UseRealTime();
    benchmark::RegisterBenchmark("NativeNextval", BM_NativeNextval)->Threads(1)->UseRealTime();
    benchmark::RegisterBenchmark("NativeNextval", BM_NativeNextval)->Threads(8)->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    report();
    try {
        setup.executeScript(QStringLiteral("drop schema ") + schema + QStringLiteral(" cascade"));
    } catch (const std::exception &) {
    }
    return 0;
}
