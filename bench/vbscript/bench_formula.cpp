// Formula evaluation as a report runs it: a fresh expression text parsed and evaluated per call.
// The same work in Lua 5.4 (load + call of a fresh chunk) runs in the same process for the ratio.
#include "Engine.h"

#include <QDateTime>

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <cstdio>
#include <ctime>
#include <map>
#include <string>

namespace {

// Texts differ per call (the amount changes), as formulas expanded from row values do.
QString vbsFormula(int i)
{
    return QStringLiteral("(DateSerial(2026,3,4) + TimeSerial(10, 5, 0)) > Now() Or %1.5 * 1.16 > \"1000\"")
        .arg(1000 + i % 997);
}

std::string luaFormula(int i)
{
    return "return (dateserial(2026,3,4) + timeserial(10, 5, 0)) > now() or " +
           std::to_string(1000 + i % 997) + ".5 * 1.16 > tonumber(\"1000\")";
}

double serialOf(int y, int m, int d)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}

int luaDateSerial(lua_State *L)
{
    lua_pushnumber(L, serialOf(int(luaL_checkinteger(L, 1)), int(luaL_checkinteger(L, 2)),
                               int(luaL_checkinteger(L, 3))));
    return 1;
}

int luaTimeSerial(lua_State *L)
{
    const double s =
        double(luaL_checkinteger(L, 1) * 3600 + luaL_checkinteger(L, 2) * 60 + luaL_checkinteger(L, 3));
    lua_pushnumber(L, s / 86400.0);
    return 1;
}

// Same clock reading as the engine's Now(), so both sides pay the same for it.
int luaNow(lua_State *L)
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local;
    localtime_r(&ts.tv_sec, &local);
    lua_pushnumber(L, serialOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
                          (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0);
    return 1;
}

void BM_VbsFormula(benchmark::State &state)
{
    vbs::Engine engine;
    std::vector<QString> texts;
    for (int i = 0; i < 997; ++i)
        texts.push_back(vbsFormula(i));
    vbs::Value v;
    size_t i = 0;
    for (auto _ : state) {
        if (!engine.evaluate(texts[i++ % texts.size()], v))
            state.SkipWithError("evaluation failed");
        benchmark::DoNotOptimize(v);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_VbsFormula);

void BM_LuaFormula(benchmark::State &state)
{
    lua_State *L = luaL_newstate();
    luaL_openlibs(L);
    lua_register(L, "dateserial", luaDateSerial);
    lua_register(L, "timeserial", luaTimeSerial);
    lua_register(L, "now", luaNow);
    std::vector<std::string> texts;
    for (int i = 0; i < 997; ++i)
        texts.push_back(luaFormula(i));
    size_t i = 0;
    for (auto _ : state) {
        const std::string &t = texts[i++ % texts.size()];
        if (luaL_loadbuffer(L, t.data(), t.size(), "formula") != LUA_OK || lua_pcall(L, 0, 1, 0) != LUA_OK) {
            state.SkipWithError(lua_tostring(L, -1));
            break;
        }
        benchmark::DoNotOptimize(lua_toboolean(L, -1));
        lua_pop(L, 1);
    }
    lua_close(L);
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_LuaFormula);

// The whole preparation a report formula gets: reset, locale procedure, named objects, evaluation.
void BM_VbsFormulaPrepared(benchmark::State &state)
{
    vbs::Engine engine;
    const QString locale = QStringLiteral(" Sub setZEVSettings()\r\n SetLocale \"es-mx\"\r\n end sub");
    const QStringList names = {QStringLiteral("xConfig"), QStringLiteral("cn"),
                               QStringLiteral("xLibStr"), QStringLiteral("xTicketPrinter"),
                               QStringLiteral("xApp"),    QStringLiteral("xFactory"),
                               QStringLiteral("xGlobal")};
    vbs::HostObjectRef host(new vbs::HostObject);
    std::vector<QString> texts;
    for (int i = 0; i < 997; ++i)
        texts.push_back(vbsFormula(i));
    vbs::Value v;
    size_t i = 0;
    for (auto _ : state) {
        engine.reset();
        engine.addCode(locale);
        engine.run(QStringLiteral("setZEVSettings"));
        for (const QString &n : names)
            engine.addObject(n, host);
        if (!engine.evaluate(texts[i++ % texts.size()], v))
            state.SkipWithError("evaluation failed");
        benchmark::DoNotOptimize(v);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_VbsFormulaPrepared);

// A procedure of stored code called with arguments.
void BM_VbsParsedProcedureCall(benchmark::State &state)
{
    vbs::Engine engine;
    engine.addCode(
        QStringLiteral("Function total(a, b)\n total = FormatNumber(a * b * 1.16, 2)\nEnd Function"));
    vbs::ValueList args{vbs::Value::dbl(1250.5), vbs::Value::integer(3)};
    vbs::Value r;
    for (auto _ : state) {
        engine.call(QStringLiteral("total"), args, &r);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_VbsParsedProcedureCall);

class RateReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> rates;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            auto it = r.counters.find("items_per_second");
            if (it != r.counters.end())
                rates[r.benchmark_name()] = it->second.value;
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double vbsRate = reporter.rates["BM_VbsFormula"];
    const double luaRate = reporter.rates["BM_LuaFormula"];
    if (vbsRate > 0 && luaRate > 0) {
        std::printf("\nformula evaluations/s: VBScript engine %.0f, Lua 5.4 %.0f, ratio (engine/Lua) %.2f\n",
                    vbsRate, luaRate, vbsRate / luaRate);
        std::printf("target over 200000 evaluations/s: %s\n", vbsRate > 200000 ? "met" : "NOT met");
    }
    benchmark::Shutdown();
    return 0;
}
