// A store with 1,000,000 articles (and one extra barcode each): finding an article by key and by
// barcode through BuscaArticulo::porCodigo against the raw SQLite C API, and the article
// lookup's search for any part of the name (the first page, as frmConsultaArt runs it) through
// the trigram index against the plain folded LIKE that reads every name, on SQLite and, when
// $MDR_BENCH_PG (or $MDR_TEST_PG) names a server, on PostgreSQL.
// The filled SQLite file is kept in the build folder (bench/articulos-<version>.sqlite) so that
// a second run starts at once; on PostgreSQL the filled schema bench_articulos is kept.
// Then the cashier's scan on the same store: a barcode into the sale capture with automatic
// capture on, to the new line as the grid reads it, the crash copy of the sale written (goal
// under 5 ms).

#include "BuscaArticulo.h"

#include "Precio.h"
#include "Permisos.h"
#include "PreciosArticulo.h"
#include "VentaCaptura.h"
#include "VentaModelo.h"
#include "cCode.h"
#include "cString.h"

#include "ConnectionProvider.h"
#include "LookupArticulo.h"
#include "LookupSearch.h"
#include "Prompter.h"
#include "SilentPrompter.h"
#include "SettingsStore.h"
#include "cConfigure.h"

#include "Connection.h"
#include "Decimal.h"
#include "Schema.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr int kRows = 1000000;
// Bump when the generated data changes: the cached file is then made again.
constexpr int kDataVersion = 1;
const QString kMigracion = QStringLiteral("MDR-2026-busqueda-articulos");

QString g_sqlite;
QString g_pg; // empty: no PostgreSQL
QString g_settings;

// ---- the data -------------------------------------------------------------------------------

const char *const kProductos[] = {
    "Paracetamol", "Ibuprofeno", "Amoxicilina", "Naproxeno", "Omeprazol", "Loratadina", "Metformina",
    "Losartán", "Ácido fólico", "Diclofenaco", "Cetirizina", "Ambroxol", "Captopril", "Salbutamol",
    "Galletas", "Jabón de tocador", "Shampoo", "Pañales", "Toallas húmedas", "Crema corporal", "Desodorante",
    "Pasta dental", "Cepillo dental", "Alcohol etílico", "Algodón", "Gasas estériles", "Venda elástica",
    "Suero oral", "Vitamina C", "Complejo B", "Leche entera", "Café soluble", "Azúcar estándar", "Atún en agua",
    "Sardinas en tomate", "Frijoles refritos", "Arroz súper extra", "Aceite vegetal", "Refresco de cola",
    "Agua natural", "Jugo de naranja", "Chocolate en polvo", "Chicles de menta", "Papel higiénico",
    "Servilletas", "Detergente en polvo", "Cloro", "Suavizante de telas", "Insecticida", "Pilas alcalinas",
    "Foco ahorrador", "Preservativos", "Prueba de embarazo", "Termómetro digital", "Jeringa desechable",
    "Curitas", "Talco para bebé", "Bloqueador solar", "Gel antibacterial", "Cubrebocas", "Biberón",
    "Chupón", "Fórmula infantil", "Papilla de manzana", "Cereal de maíz", "Avena en hojuelas",
    "Galletas María", "Pan tostado", "Mermelada de fresa", "Miel de abeja", "Salsa picante", "Mayonesa",
    "Catsup", "Mostaza", "Consomé de pollo", "Sopa instantánea", "Tortillas de harina", "Queso panela",
    "Yogur bebible", "Crema ácida", "Jamón de pavo", "Salchicha de pavo", "Huevo blanco", "Piña en almíbar",
    "Champiñones", "Té de manzanilla", "Clonazepam", "Ranitidina", "Butilhioscina", "Dexametasona"};
const char *const kMarcas[] = {"Genfar",   "Bayer",     "Pfizer",     "Sanofi",    "Colgate",     "Palmolive",
                               "Huggies",  "Kleenex",   "Nestlé",     "Bimbo",     "Lala",        "Alpura",
                               "Herdez",   "La Costeña", "Maruchan",  "Gamesa",    "Marinela",    "Jumex",
                               "Peñafiel", "Nescafé",   "Dove",       "Nivea",     "Gillette",    "Ariel",
                               "Roma",     "Cloralex",  "Downy",      "Raid",      "Duracell",    "Philips",
                               "Genérico", "Similares", "Great Value", "Sello Rojo", "Del Valle", "Zuko"};
const char *const kFormas[] = {"tabletas", "cápsulas", "jarabe", "suspensión", "gotas", "crema", "pieza", "paquete",
                               "caja",     "botella",  "lata",   "bolsa",      "sobre", "frasco", "tubo"};
const char *const kUnidades[] = {"mg", "ml", "g", "kg", "l", "pzas"};
const int kCantidades[] = {5, 10, 20, 50, 100, 120, 250, 400, 500, 750, 1000};
const int kPiezas[] = {1, 6, 10, 12, 20, 24, 30, 50, 100};

template <typename T, size_t N>
constexpr size_t count(const T (&)[N])
{
    return N;
}

quint64 mezcla(quint64 x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// 12 digits and the EAN-13 check digit.
QByteArray ean13(quint64 twelve)
{
    QByteArray d = QByteArray::number(twelve).rightJustified(12, '0');
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (d.at(i) - '0') * (i % 2 ? 3 : 1);
    d.append(char('0' + (10 - sum % 10) % 10));
    return d;
}

QByteArray clave(int i) { return ean13(750100000000ULL + quint64(i) * 7); }
QByteArray codigo(int i) { return ean13(780200000000ULL + quint64(i) * 3); }

// The one article with a rare name: what a search for a single article finds.
constexpr int kRaro = 777777;

QByteArray nombre(int i)
{
    if (i == kRaro)
        return QByteArray("Zarzaparrilla silvestre Ñandutí 1 l");
    const quint64 r = mezcla(quint64(i));
    QByteArray n = kProductos[r % count(kProductos)];
    n += ' ';
    n += kMarcas[(r >> 8) % count(kMarcas)];
    n += ' ';
    n += QByteArray::number(kCantidades[(r >> 16) % count(kCantidades)]);
    n += ' ';
    n += kUnidades[(r >> 24) % count(kUnidades)];
    n += ' ';
    n += kFormas[(r >> 32) % count(kFormas)];
    n += " c/";
    n += QByteArray::number(kPiezas[(r >> 40) % count(kPiezas)]);
    return n;
}

QList<db::Migration> antesDelIndice()
{
    QList<db::Migration> out;
    for (const db::Migration &m : db::Schema::migrations()) {
        if (m.key == kMigracion)
            break;
        out.append(m);
    }
    return out;
}

sqlite3 *handleOf(db::Connection &c)
{
    const QVariant v = c.database().driver()->handle();
    return *static_cast<sqlite3 *const *>(v.constData());
}

void check(int rc, sqlite3 *h)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(h));
        std::exit(1);
    }
}

// Articles through prepared inserts in one transaction, then the index migration fills its
// table from them, as it does in a store upgraded with its catalogue.
void llenaSqlite(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    db::Connection c;
    c.open(db::ConnectionString::sqlite(path), db::Connection::OpenMode::CreateIfMissing);
    db::Schema::upgrade(c, antesDelIndice());
    QElapsedTimer t;
    t.start();
    sqlite3 *h = handleOf(c);
    check(sqlite3_exec(h, "begin", nullptr, nullptr, nullptr), h);
    sqlite3_stmt *art = nullptr;
    sqlite3_stmt *cod = nullptr;
    check(sqlite3_prepare_v2(h,
                             "insert into tArticulo (art_Clave, art_Nombre, eart_Clave, art_Importe, art_Total, "
                             "tart_Clave, fab_Clave) values (?, ?, ?, ?, ?, 'FARMACIA', 'GENERICO')",
                             -1, &art, nullptr),
          h);
    check(sqlite3_prepare_v2(h, "insert into tArticuloCodigo (acod_Codigo, art_Clave) values (?, ?)", -1, &cod, nullptr),
          h);
    for (int i = 0; i < kRows; ++i) {
        const QByteArray k = clave(i);
        const QByteArray n = nombre(i);
        sqlite3_bind_text(art, 1, k.constData(), int(k.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(art, 2, n.constData(), int(n.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(art, 3, i % 50 == 0 ? "SUSPENDIDO" : "REGISTRADO", -1, SQLITE_STATIC);
        sqlite3_bind_double(art, 4, 10.0 + i % 5000);
        sqlite3_bind_double(art, 5, 11.6 + i % 5000);
        check(sqlite3_step(art), h);
        sqlite3_reset(art);
        const QByteArray b = codigo(i);
        sqlite3_bind_text(cod, 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(cod, 2, k.constData(), int(k.size()), SQLITE_TRANSIENT);
        check(sqlite3_step(cod), h);
        sqlite3_reset(cod);
    }
    sqlite3_finalize(art);
    sqlite3_finalize(cod);
    check(sqlite3_exec(h, "commit", nullptr, nullptr, nullptr), h);
    std::printf("SQLite: %d artículos y sus códigos en %.1f s\n", kRows, t.elapsed() / 1000.0);
    t.restart();
    db::Schema::upgrade(c);
    std::printf("SQLite: índice de trigramas (%s) lleno en %.1f s\n", qPrintable(kMigracion), t.elapsed() / 1000.0);
    c.execute(QStringLiteral("analyze"));
}

bool sqliteListo(const QString &path)
{
    if (!QFile::exists(path))
        return false;
    try {
        db::Connection c;
        c.open(db::ConnectionString::sqlite(path));
        return db::Schema::isCurrent(c) &&
               c.scalar(QStringLiteral("select count(*) from tArticulo")).toInt() == kRows;
    } catch (const std::exception &) {
        return false;
    }
}

// PostgreSQL: multi-row inserts of 1,000 rows in one transaction, then the index migration.
void llenaPostgres(db::Connection &c)
{
    db::Schema::upgrade(c, antesDelIndice());
    QElapsedTimer t;
    t.start();
    constexpr int kLote = 1000;
    QString artSql = QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, eart_Clave, art_Importe, art_Total, "
                                    "tart_Clave, fab_Clave) values ");
    QString codSql = QStringLiteral("insert into tArticuloCodigo (acod_Codigo, art_Clave) values ");
    for (int j = 0; j < kLote; ++j) {
        artSql += (j ? QStringLiteral(", ") : QString()) + QStringLiteral("(?, ?, ?, ?, ?, 'FARMACIA', 'GENERICO')");
        codSql += (j ? QStringLiteral(", ") : QString()) + QStringLiteral("(?, ?)");
    }
    db::Transaction tx(c);
    for (int i0 = 0; i0 < kRows; i0 += kLote) {
        QVariantList a, b;
        for (int i = i0; i < i0 + kLote; ++i) {
            const QString k = QString::fromLatin1(clave(i));
            a << k << QString::fromUtf8(nombre(i))
              << QString::fromLatin1(i % 50 == 0 ? "SUSPENDIDO" : "REGISTRADO")
              << Decimal::fromRaw(qint64(10 + i % 5000) * 1000000).toQVariant()
              << Decimal::fromRaw(qint64(10 + i % 5000) * 1160000).toQVariant();
            b << QString::fromLatin1(codigo(i)) << k;
        }
        c.execute(artSql, a);
        c.execute(codSql, b);
    }
    tx.commit();
    std::printf("PostgreSQL: %d artículos y sus códigos en %.1f s\n", kRows, t.elapsed() / 1000.0);
    t.restart();
    db::Schema::upgrade(c);
    std::printf("PostgreSQL: índice de trigramas (%s) creado en %.1f s\n", qPrintable(kMigracion),
                t.elapsed() / 1000.0);
    c.executeStatement(QStringLiteral("analyze"));
}

// ---- measuring --------------------------------------------------------------------------------

struct Cifras {
    double p50 = 0, p99 = 0, media = 0;
    int filas = 0;
};
std::map<std::string, Cifras> g_cifras;

// Times each call of f (microseconds) and keeps the percentiles under the benchmark's name.
template <typename F>
void mide(benchmark::State &state, const std::string &name, F &&f)
{
    std::vector<double> us;
    int filas = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        filas = f(us.size());
        const auto t1 = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    if (us.empty())
        return;
    double suma = 0;
    for (double v : us)
        suma += v;
    std::sort(us.begin(), us.end());
    Cifras c;
    c.p50 = us[us.size() / 2];
    c.p99 = us[std::min(us.size() - 1, size_t(double(us.size()) * 0.99))];
    c.media = suma / double(us.size());
    c.filas = filas;
    state.counters["p50_us"] = c.p50;
    state.counters["p99_us"] = c.p99;
    state.counters["filas"] = filas;
    g_cifras[name] = c;
}

// Keys and barcodes spread over the whole table, in an order that defeats the page cache's help.
int cualquiera(size_t n) { return int(mezcla(n + 12345) % kRows); }

void BM_PorCodigo_Clave(benchmark::State &state)
{
    db::Connection c;
    c.open(db::ConnectionString::sqlite(g_sqlite));
    std::vector<QString> claves;
    for (int i = 0; i < 4096; ++i)
        claves.push_back(QString::fromLatin1(clave(cualquiera(size_t(i)))));
    mide(state, "PorCodigo/clave",
         [&](size_t n) { return BuscaArticulo::porCodigo(c, claves[n % claves.size()]).isEmpty() ? 0 : 1; });
}

void BM_PorCodigo_Barras(benchmark::State &state)
{
    db::Connection c;
    c.open(db::ConnectionString::sqlite(g_sqlite));
    std::vector<QString> codigos;
    for (int i = 0; i < 4096; ++i)
        codigos.push_back(QString::fromLatin1(codigo(cualquiera(size_t(i)))));
    mide(state, "PorCodigo/barras",
         [&](size_t n) { return BuscaArticulo::porCodigo(c, codigos[n % codigos.size()]).isEmpty() ? 0 : 1; });
}

// The same two steps the plainest way: prepared once, bound, stepped, the key copied out.
struct Crudo {
    Crudo()
    {
        sqlite3_open_v2(g_sqlite.toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_prepare_v2(h, "select art_Clave from tArticulo where art_Clave = ?", -1, &porClave, nullptr);
        sqlite3_prepare_v2(h, "select art_Clave from tArticuloCodigo where acod_Codigo = ?", -1, &porBarras, nullptr);
    }
    ~Crudo()
    {
        sqlite3_finalize(porClave);
        sqlite3_finalize(porBarras);
        sqlite3_close(h);
    }
    QString paso(sqlite3_stmt *s, const QByteArray &code)
    {
        sqlite3_bind_text(s, 1, code.constData(), int(code.size()), SQLITE_STATIC);
        QString out;
        if (sqlite3_step(s) == SQLITE_ROW)
            out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)),
                                    sqlite3_column_bytes(s, 0));
        sqlite3_reset(s);
        return out;
    }
    QString busca(const QString &code)
    {
        const QByteArray u = code.toUtf8();
        const QString k = paso(porClave, u);
        return k.isEmpty() ? paso(porBarras, u) : k;
    }
    sqlite3 *h = nullptr;
    sqlite3_stmt *porClave = nullptr;
    sqlite3_stmt *porBarras = nullptr;
};

void BM_Crudo_Clave(benchmark::State &state)
{
    Crudo r;
    std::vector<QString> claves;
    for (int i = 0; i < 4096; ++i)
        claves.push_back(QString::fromLatin1(clave(cualquiera(size_t(i)))));
    mide(state, "Crudo/clave", [&](size_t n) { return r.busca(claves[n % claves.size()]).isEmpty() ? 0 : 1; });
}

void BM_Crudo_Barras(benchmark::State &state)
{
    Crudo r;
    std::vector<QString> codigos;
    for (int i = 0; i < 4096; ++i)
        codigos.push_back(QString::fromLatin1(codigo(cualquiera(size_t(i)))));
    mide(state, "Crudo/barras", [&](size_t n) { return r.busca(codigos[n % codigos.size()]).isEmpty() ? 0 : 1; });
}

// One workstation with the article lookup as frmConsultaArt opens it.
struct Estacion {
    explicit Estacion(const QString &cs) : provider(&connection), settings(g_settings), config(provider, settings, prompter)
    {
        connection.open(cs);
        config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("MATRIZ"));
        config.setValue(QStringLiteral("BUSQUEDA-LIKE"), true);
    }
    db::Connection connection;
    FixedConnectionProvider provider;
    SilentPrompter prompter;
    SettingsStore settings;
    cConfigure config;
};

// indexed false: the plain folded LIKE over every name (SQLite: the field without its trigram
// table; PostgreSQL: a session that may not use indexes, so it reads the table and sorts).
void busca(benchmark::State &state, const std::string &name, const QString &cs, const QString &texto, bool indexed)
{
    Estacion st(cs);
    LookupArticulo::Definicion def = LookupArticulo::definicion(st.config, st.provider);
    if (!indexed) {
        def.definition.searchFields[0].trigramTable.clear();
        if (st.connection.engine() == db::Engine::PostgreSQL)
            st.connection.executeScript(QStringLiteral("set enable_bitmapscan = off; set enable_indexscan = off"));
    }
    LookupSearch s(LookupServices{st.provider, st.config, st.prompter}, def.definition);
    mide(state, name, [&](size_t) {
        s.cmdBuscar({0, texto, {}, {}});
        return s.model().rowCount();
    });
}

const std::vector<std::pair<const char *, QString>> kTextos = {
    {"comun", QStringLiteral("paracetamol")},        // one product of 90: ~11,000 names
    {"parte", QStringLiteral("amoxi")},              // the start of a word
    {"dos_palabras", QStringLiteral("nestlé 500")}, // brand and amount: a few thousand
    {"raro", QStringLiteral("zarzaparr")},          // one article
    {"acento", QStringLiteral("ÑANDUTÍ")},          // one article, accents and ñ typed
    {"tres_letras", QStringLiteral("gel")},         // shortest text the index serves
    {"dos_letras", QStringLiteral("mg")},           // too short for trigrams: the plain scan
};

// The counter of warehouse MATRIZ: terminal CAJA1 with its open cut and the default client, added
// to the filled store when missing.
void preparaCaja(db::Connection &c)
{
    const auto falta = [&](const char *sql) { return c.scalar(QString::fromLatin1(sql)).toInt() == 0; };
    if (falta("select count(*) from tAlmacen where alm_Clave = 'MATRIZ'"))
        c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('MATRIZ', 'Matriz')"));
    if (falta("select count(*) from tTerminal where term_Clave = 'CAJA1'"))
        c.execute(QStringLiteral(
            "insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values ('CAJA1', 'Caja', 'MATRIZ')"));
    if (falta("select count(*) from TCORTE where term_Clave = 'CAJA1' and ecorte_Clave = 'ABIERTO'"))
        c.execute(QStringLiteral("insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                                 "ecorte_Clave, usu_Clave) values ('MATRIZ', 'CAJA1', ?, 1, getdate(), 'ABIERTO', "
                                 "'ADMIN')"),
                  {c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year()});
    if (falta("select count(*) from tCliente where cli_Clave = 'SYS'"))
        c.execute(QStringLiteral(
            "insert into tCliente (cli_Clave, cli_Nombre, tcli_Clave) values ('SYS', 'Publico en general', 'SYS')"));
}

struct Caja : Estacion {
    explicit Caja(const QString &cs)
        : Estacion(cs), code(provider, config, prompter), calculo(&code), permisos(provider, config),
          precios(provider, prompter, calculo), cadenas(&config),
          captura(VentaCaptura::Servicios{provider, config, prompter, permisos, precios, &cadenas, &code}),
          modelo(captura), respaldo(QFileInfo(g_settings).absolutePath() + QStringLiteral("/venta-en-curso.json"))
    {
        preparaCaja(connection);
        // The counter keeps its crash copy after every scan: part of the time measured.
        captura.setRespaldo(&respaldo);
        const QVariant corte = connection.scalar(
            QStringLiteral("select term_Clave || '-' || corte_Anio || '-' || corte_Numero from TCORTE where "
                           "term_Clave = 'CAJA1' and ecorte_Clave = 'ABIERTO'"));
        config.setValue(QStringLiteral("TERMINAL"), QStringLiteral("CAJA1"));
        config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
        config.setValue(QStringLiteral("CORTE-CAJA"), corte.toString());
        config.setValue(QStringLiteral("CLIENTE-POR-OMISION"), QStringLiteral("SYS"));
        config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), true);
        config.setValue(QStringLiteral("ACUMULAR-ARTICULOS-VENTA"), false);
        captura.iniciaVenta();
    }
    cCode code;
    CalculoPrecio calculo;
    Permisos permisos;
    PreciosArticulo precios;
    cString cadenas;
    VentaCaptura captura;
    VentaModelo modelo;
    RespaldoVenta respaldo;
};

// Scan to shown line; a sale of 100 lines is dropped (untimed) and a new one begun.
void escanea(benchmark::State &state, const std::string &name, const QString &cs)
{
    Caja caja(cs);
    std::vector<QString> codigos;
    for (size_t i = 0; codigos.size() < 4096; ++i)
        if (const int a = cualquiera(i); a % 50 != 0) // every 50th article is suspended
            codigos.push_back(QString::fromLatin1(codigo(a)));
    std::vector<double> us;
    for (auto _ : state) {
        if (caja.modelo.rowCount() >= 100) {
            state.PauseTiming();
            caja.captura.iniciaVenta();
            state.ResumeTiming();
        }
        const auto t0 = std::chrono::steady_clock::now();
        const auto hecha = caja.captura.buscaArticulo(codigos[us.size() % codigos.size()]);
        const int fila = caja.modelo.rowCount() - 1;
        QString visto;
        for (int col = 0; fila >= 0 && col < caja.modelo.columnCount(); ++col)
            visto += caja.modelo.data(caja.modelo.index(fila, col)).toString();
        const auto t1 = std::chrono::steady_clock::now();
        if (!hecha || !hecha->agregado || visto.isEmpty()) {
            state.SkipWithError("el articulo escaneado no quedo en la venta");
            return;
        }
        us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    if (us.empty())
        return;
    std::sort(us.begin(), us.end());
    Cifras c;
    c.p50 = us[us.size() / 2];
    c.p99 = us[std::min(us.size() - 1, size_t(double(us.size()) * 0.99))];
    c.filas = 1;
    state.counters["p50_us"] = c.p50;
    state.counters["p99_us"] = c.p99;
    g_cifras[name] = c;
}

class Reporte : public benchmark::ConsoleReporter {};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_settings = dir.filePath(QStringLiteral("settings.ini"));
    g_sqlite = QCoreApplication::applicationDirPath() + QStringLiteral("/articulos-%1.sqlite").arg(kDataVersion);
    if (!sqliteListo(g_sqlite)) {
        std::printf("Preparando %d artículos en SQLite (%s)...\n", kRows, qPrintable(g_sqlite));
        llenaSqlite(g_sqlite);
    }

    QByteArray server = qgetenv("MDR_BENCH_PG");
    if (server.isEmpty())
        server = qgetenv("MDR_TEST_PG");
    if (server.isEmpty()) {
        std::printf("bench_articulos: sin MDR_BENCH_PG ni MDR_TEST_PG, PostgreSQL no se mide\n");
    } else {
        try {
            const QString schema = QStringLiteral("bench_articulos_%1").arg(kDataVersion);
            db::Connection setup;
            setup.open(QString::fromUtf8(server));
            setup.executeStatement(QStringLiteral("create schema if not exists ") + schema);
            QString cs = QString::fromUtf8(server);
            cs += cs.contains(u'?') ? u'&' : u'?';
            cs += QStringLiteral("options=-c%20search_path%3D") + schema;
            g_pg = cs;
            db::Connection c;
            c.open(g_pg);
            const bool listo = db::Schema::isCurrent(c) &&
                               c.scalar(QStringLiteral("select count(*) from tArticulo")).toInt() == kRows;
            if (!listo) {
                std::printf("Preparando %d artículos en PostgreSQL (esquema %s)...\n", kRows, qPrintable(schema));
                setup.executeStatement(QStringLiteral("drop schema ") + schema + QStringLiteral(" cascade"));
                setup.executeStatement(QStringLiteral("create schema ") + schema);
                llenaPostgres(c);
            }
        } catch (const std::exception &e) {
            std::fprintf(stderr, "bench_articulos: PostgreSQL: %s\n", e.what());
            g_pg.clear();
        }
    }

    benchmark::RegisterBenchmark("PorCodigo/clave", BM_PorCodigo_Clave);
    benchmark::RegisterBenchmark("Crudo/clave", BM_Crudo_Clave);
    benchmark::RegisterBenchmark("PorCodigo/barras", BM_PorCodigo_Barras);
    benchmark::RegisterBenchmark("Crudo/barras", BM_Crudo_Barras);
    const QString sqliteCs = db::ConnectionString::sqlite(g_sqlite).toString();
    for (const auto &[nombreTexto, texto] : kTextos) {
        const std::string n = nombreTexto;
        const QString t = texto;
        benchmark::RegisterBenchmark(("Nombre/SQLite/indice/" + n).c_str(), [=](benchmark::State &s) {
            busca(s, "Nombre/SQLite/indice/" + n, sqliteCs, t, true);
        })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Nombre/SQLite/recorrido/" + n).c_str(), [=](benchmark::State &s) {
            busca(s, "Nombre/SQLite/recorrido/" + n, sqliteCs, t, false);
        })
            ->Unit(benchmark::kMillisecond);
        if (!g_pg.isEmpty()) {
            const QString pg = g_pg;
            benchmark::RegisterBenchmark(("Nombre/PostgreSQL/indice/" + n).c_str(), [=](benchmark::State &s) {
            busca(s, "Nombre/PostgreSQL/indice/" + n, pg, t, true);
        })
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Nombre/PostgreSQL/recorrido/" + n).c_str(), [=](benchmark::State &s) {
            busca(s, "Nombre/PostgreSQL/recorrido/" + n, pg, t, false);
        })
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("Escaneo/SQLite", [=](benchmark::State &s) { escanea(s, "Escaneo/SQLite", sqliteCs); })
        ->Unit(benchmark::kMillisecond);
    if (!g_pg.isEmpty()) {
        const QString pg = g_pg;
        benchmark::RegisterBenchmark("Escaneo/PostgreSQL",
                                     [=](benchmark::State &s) { escanea(s, "Escaneo/PostgreSQL", pg); })
            ->Unit(benchmark::kMillisecond);
    }
    Reporte reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nArtículo por código, %d artículos (meta: p99 < 1 ms y no más de 2x el C API de SQLite)\n", kRows);
    for (const char *k : {"clave", "barras"}) {
        const Cifras o = g_cifras[std::string("PorCodigo/") + k];
        const Cifras r = g_cifras[std::string("Crudo/") + k];
        if (r.p50 > 0)
            std::printf("  por %-6s porCodigo p50 %.1f us, p99 %.1f us; C API p50 %.1f us, p99 %.1f us; razón p50 %.2fx\n",
                        k, o.p50, o.p99, r.p50, r.p99, o.p50 / r.p50);
    }
    std::printf("\nBúsqueda por cualquier parte del nombre, primera página (meta < 10 ms)\n");
    for (const char *motor : {"SQLite", "PostgreSQL"})
        for (const auto &[nombreTexto, texto] : kTextos) {
            const std::string base = std::string("Nombre/") + motor + "/";
            const auto i = g_cifras.find(base + "indice/" + nombreTexto);
            const auto p = g_cifras.find(base + "recorrido/" + nombreTexto);
            if (i == g_cifras.end() || p == g_cifras.end())
                continue;
            std::printf("  %-10s %-13s «%s»: índice p50 %.2f ms, p99 %.2f ms (%d filas); recorrido p50 %.1f ms\n", motor,
                        nombreTexto, qPrintable(texto), i->second.p50 / 1000, i->second.p99 / 1000, i->second.filas,
                        p->second.p50 / 1000);
        }
    std::printf("\nDel código escaneado al renglón mostrado, %d artículos (meta < 5 ms)\n", kRows);
    for (const char *motor : {"SQLite", "PostgreSQL"})
        if (const auto e = g_cifras.find(std::string("Escaneo/") + motor); e != g_cifras.end())
            std::printf("  %-10s p50 %.2f ms, p99 %.2f ms\n", motor, e->second.p50 / 1000, e->second.p99 / 1000);
    benchmark::Shutdown();
    return 0;
}
