// Article search by part of the name over 200,000 articles: the first page through the
// program's own lookup (LookupSearch over the article definition, the way frmConsultaArt
// searches), against the same search done the plainest way with the raw SQLite C API.

#include "ConnectionProvider.h"
#include "LookupArticulo.h"
#include "LookupSearch.h"
#include "Prompter.h"
#include "SilentPrompter.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "cConfigure.h"

#include "Connection.h"
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
QString g_settings;

const char *const kDrugs[] = {"Paracetamol", "Ibuprofeno", "Amoxicilina", "Naproxeno", "Omeprazol", "Loratadina",
                              "Metformina", "Losartán", "Ácido fólico", "Diclofenaco", "Ranitidina", "Cetirizina",
                              "Ambroxol", "Clonazepam", "Captopril", "Salbutamol", "Galletas", "Jabón neutro",
                              "Shampoo", "Pañales"};
const char *const kForms[] = {"tabletas", "cápsulas", "jarabe", "suspensión", "gotas", "crema", "pieza", "paquete"};

void createStore(const QString &path)
{
    db::Connection c;
    c.open(db::ConnectionString::sqlite(path), db::Connection::OpenMode::CreateIfMissing);
    db::Schema::upgrade(c);
    db::Transaction tx(c);
    for (int i = 0; i < kRows; ++i) {
        const QString name = QStringLiteral("%1 %2 mg %3 c/%4 lote %5")
                                 .arg(QString::fromUtf8(kDrugs[i % 20]))
                                 .arg(50 * (1 + i % 17))
                                 .arg(QString::fromUtf8(kForms[(i / 20) % 8]))
                                 .arg(10 + i % 30)
                                 .arg(i);
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, art_Descripcion, tart_Clave, "
                                 "fab_Clave, med_Clave, art_Importe, art_Total, eart_Clave) "
                                 "values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {QStringLiteral("75010%1").arg(i, 8, 10, QLatin1Char('0')), name, name, "FARMACIA", "GENERICO",
                   "PZA", Decimal::fromRaw(qint64(i % 5000) * 10000 + 10000),
                   Decimal::fromRaw(qint64(i % 5000) * 11600 + 11600), i % 50 == 0 ? "SUSPENDIDO" : "REGISTRADO"});
    }
    tx.commit();
}

// One workstation: connection, configuration, the article lookup.
struct Station {
    Station()
        : provider(&connection), settings(g_settings), config(provider, settings, prompter)
    {
        connection.open(db::ConnectionString::sqlite(g_path));
        config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("MATRIZ"));
    }
    db::Connection connection;
    FixedConnectionProvider provider;
    SilentPrompter prompter;
    SettingsStore settings;
    cConfigure config;
};

void lookup(benchmark::State &state, const QString &text, bool anywhere)
{
    Station st;
    st.config.setValue(QStringLiteral("BUSQUEDA-LIKE"), anywhere);
    const LookupArticulo::Definicion def = LookupArticulo::definicion(st.config, st.provider);
    LookupSearch search(LookupServices{st.provider, st.config, st.prompter}, def.definition);
    int rows = 0;
    for (auto _ : state) {
        search.cmdBuscar({def.campoInicial, text, {}, {}});
        rows = search.model().rowCount();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["filas"] = rows;
}

void raw(benchmark::State &state, const QString &text, bool anywhere)
{
    sqlite3 *h = nullptr;
    sqlite3_open_v2(g_path.toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(h,
                       "select art_Clave, art_Nombre, art_Importe, art_Descuento, art_Total, art_Descripcion, "
                       "med_Clave, art_Referencia, fab_Clave, tart_Clave from tArticulo "
                       "where eart_Clave <> 'SUSPENDIDO' and art_Nombre like ? order by art_Nombre limit 101",
                       -1, &stmt, nullptr);
    const QByteArray pattern = ((anywhere ? QStringLiteral("%") : QString()) + text + QLatin1Char('%')).toUtf8();
    int rows = 0;
    for (auto _ : state) {
        sqlite3_bind_text(stmt, 1, pattern.constData(), int(pattern.size()), SQLITE_TRANSIENT);
        rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
            ++rows;
        }
        sqlite3_reset(stmt);
    }
    state.counters["filas"] = rows;
    sqlite3_finalize(stmt);
    sqlite3_close(h);
}

void BM_Lookup_Amoxi(benchmark::State &s) { lookup(s, QStringLiteral("amoxi"), true); }
void BM_Raw_Amoxi(benchmark::State &s) { raw(s, QStringLiteral("amoxi"), true); }
void BM_Lookup_Inicio(benchmark::State &s) { lookup(s, QStringLiteral("loratadina 300"), false); }
void BM_Raw_Inicio(benchmark::State &s) { raw(s, QStringLiteral("loratadina 300"), false); }
void BM_Lookup_Raro(benchmark::State &s) { lookup(s, QStringLiteral("lote 199999"), true); }
void BM_Raw_Raro(benchmark::State &s) { raw(s, QStringLiteral("lote 199999"), true); }
// Accented letters take the Unicode fold; the plain way has no equivalent (SQLite folds ASCII only).
void BM_Lookup_Acento(benchmark::State &s) { lookup(s, QStringLiteral("ÁCIDO FÓLICO 850"), true); }

BENCHMARK(BM_Lookup_Amoxi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw_Amoxi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lookup_Inicio)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw_Inicio)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lookup_Raro)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw_Raro)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lookup_Acento)->Unit(benchmark::kMillisecond);

class TimesReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                m_ms[r.run_name.function_name] = r.GetAdjustedRealTime() *
                                                 (r.time_unit == benchmark::kMillisecond ? 1.0 : 1e-6);
    }
    std::map<std::string, double> m_ms;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_path = dir.filePath(QStringLiteral("articulos.sqlite"));
    g_settings = dir.filePath(QStringLiteral("settings.ini"));
    std::printf("Preparando %d artículos en SQLite...\n", kRows);
    createStore(g_path);

    TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char *name : {"Amoxi", "Inicio", "Raro", "Acento"}) {
        const double ours = reporter.m_ms[std::string("BM_Lookup_") + name];
        const double plain = reporter.m_ms[std::string("BM_Raw_") + name];
        if (plain > 0)
            std::printf("Busqueda %-7s primera pagina: %.2f ms (meta < 100 ms); SQLite directo %.2f ms; razon %.1fx\n",
                        name, ours, plain, ours / plain);
        else if (ours > 0)
            std::printf("Busqueda %-7s primera pagina: %.2f ms (meta < 100 ms)\n", name, ours);
    }
    benchmark::Shutdown();
    return 0;
}
