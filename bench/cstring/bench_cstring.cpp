// Throughput of the routines every ticket runs: the total in words and the Code 128 font text.
// Each is paired with the plainest work of the same size (formatting the amount as digits,
// copying the code), so the ratio is the figure to read.
#include "cString.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Ticket-like totals: cents, hundreds, thousands and the odd large amount.
std::vector<Decimal> amounts()
{
    std::vector<Decimal> out;
    qint64 raw = 123457;
    for (int i = 0; i < 1024; ++i) {
        raw = (raw * 48271) % 2147483647;
        const qint64 cents = raw % (i % 16 == 0 ? 100000000000LL : 500000LL);
        out.push_back(Decimal::fromRaw(cents * 10000));
    }
    return out;
}

const std::vector<QString> &codes()
{
    static const std::vector<QString> list = {
        QStringLiteral("7501055300075"), QStringLiteral("VENTA-000123"),  QStringLiteral("TERMINAL1-2009-15"),
        QStringLiteral("ASP500"),        QStringLiteral("4006381333931"), QStringLiteral("A123456B"),
    };
    return list;
}

void BM_NroEnLetras(benchmark::State &state)
{
    const cString lib;
    const auto list = amounts();
    const QString pesos = QStringLiteral("PESOS");
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lib.NroEnLetras(list[i++ & 1023], true, pesos));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NroEnLetras);

void BM_AmountAsDigits(benchmark::State &state)
{
    const auto list = amounts();
    const QString picture = QStringLiteral("#,##0.00");
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(list[i++ & 1023].format(picture));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AmountAsDigits);

void BM_code128(benchmark::State &state)
{
    const cString lib;
    const auto &list = codes();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lib.code128(list[i++ % list.size()]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_code128);

void BM_CodeCopy(benchmark::State &state)
{
    const auto &list = codes();
    size_t i = 0;
    for (auto _ : state) {
        const QString &code = list[i++ % list.size()];
        QString copy(code.size() + 3, Qt::Uninitialized);
        std::copy(code.cbegin(), code.cend(), copy.begin());
        benchmark::DoNotOptimize(copy);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CodeCopy);

void BM_StrToArrTicketWidth(benchmark::State &state)
{
    const cString lib;
    const QString words = lib.NroEnLetras(Decimal("987654321.99"), true, QStringLiteral("PESOS"));
    QStringList parts;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lib.StrToArr(parts, words, 36));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StrToArrTicketWidth);

} // namespace

BENCHMARK_MAIN();
