// The price a client type pays for one article with 3 lists and 2 offers (one in force), as the
// counter asks for it on every scanned line: obtenPrecioCliente for each control kind, against
// the plainest way to read the same rows (the raw SQLite C API, two prepared statements).
// PostgreSQL too when MDR_BENCH_PG names a server (postgresql://user@host:port/db).

#include "ConnectionProvider.h"
#include "PreciosArticulo.h"
#include "Prompter.h"
#include "SilentPrompter.h"
#include "Schema.h"

#include "Connection.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kArticulos = 1000;
QString g_sqlite;

void llena(db::Connection &c)
{
    db::Schema::upgrade(c);
    db::Transaction tx(c);
    c.execute(QStringLiteral("insert into tTipoArticulo (tart_Clave, tart_Nombre) values ('FARM', 'Farmacia')"));
    c.execute(QStringLiteral("insert into tTipoCliente (tcli_Clave, tcli_Nombre, tcontrol_Clave, tcli_Lista) values "
                             "('MAYOREO', 'Mayoreo', 'LISTA', 2)"));
    c.execute(QStringLiteral("insert into tTipoCliente (tcli_Clave, tcli_Nombre, tcontrol_Clave) values "
                             "('EMPLEADO', 'Empleado', 'DEPARTAMENTO')"));
    c.execute(QStringLiteral("insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, "
                             "tcc_Valor) values ('DEPARTAMENTO', 'EMPLEADO', 'FARM', 'PUBLICO', 10)"));
    const QDateTime hoy = QDateTime::currentDateTime();
    const QString fila = QStringLiteral(
        "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, cambio_Clave, art_Costo, precio_Importe, "
        "precio_Descuento, precio_IVAPorc, PRECIO_FECINI, PRECIO_FECFIN, precio_Cantidad, precio_Vendidas) values "
        "(?, ?, ?, 'PUBLICO', 60, ?, 0, 16, ?, ?, ?, 0)");
    const QVariant sinFecha{QMetaType(QMetaType::QDateTime)};
    for (int i = 0; i < kArticulos; ++i) {
        const QString clave = QStringLiteral("750%1").arg(i, 10, 10, QLatin1Char('0'));
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, tart_Clave, cambio_Clave, art_Costo, "
                                 "art_Importe, art_SubTotal, art_IVAPorc, art_IVA, art_Total) values (?, ?, 'FARM', "
                                 "'PUBLICO', 60, 100, 100, 16, 16, 116)"),
                  {clave, QStringLiteral("ARTICULO %1").arg(i)});
        c.execute(fila, {clave, "NORMAL", 1, 100, hoy, sinFecha, 0});
        for (int l = 1; l <= 3; ++l)
            c.execute(fila, {clave, "LISTA", l, 100 - 5 * l, sinFecha, sinFecha, 6 * l});
        c.execute(fila, {clave, "OFERTA", 1, 70, hoy.addDays(-60), hoy.addDays(-30), 100});
        c.execute(fila, {clave, "OFERTA", 2, 80, hoy.addDays(-1), hoy.addDays(30), 100});
    }
    tx.commit();
}

void precio(benchmark::State &state, const QString &cs, const QString &tipo)
{
    db::Connection c;
    c.open(cs);
    FixedConnectionProvider provider(&c);
    SilentPrompter prompter;
    CalculoPrecio calculo;
    PreciosArticulo precios(provider, prompter, calculo);
    int i = 0;
    for (auto _ : state) {
        const auto r = precios.obtenPrecioCliente(QStringLiteral("750%1").arg(i++ % kArticulos, 10, 10, QLatin1Char('0')),
                                                  tipo);
        if (!r)
            state.SkipWithError("sin precio");
        benchmark::DoNotOptimize(r);
    }
}

// The same rows read the plainest way: the client type, the article, its price rows.
void raw(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_sqlite.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *tipo = nullptr, *art = nullptr, *filas = nullptr;
    sqlite3_prepare_v2(db, "select tcontrol_Clave, tcli_Lista from tTipoCliente where tcli_Clave = ?", -1, &tipo, nullptr);
    sqlite3_prepare_v2(db,
                       "select art_Clave, art_Nombre, tart_Clave, fam_Clave, cambio_Clave, art_Costo, art_Importe, "
                       "art_Descuento, art_SubTotal, art_Margen, art_Utilidad, art_IVAPorc, art_IVA, art_Total from "
                       "tArticulo where art_Clave = ?",
                       -1, &art, nullptr);
    sqlite3_prepare_v2(db,
                       "select tprecio_Clave, precio_Clave, art_Costo, precio_Importe, precio_Descuento, precio_SubTotal, "
                       "precio_Margen, precio_Utilidad, precio_IVAPorc, precio_IVA, precio_Total, PRECIO_FECINI, "
                       "PRECIO_FECFIN, precio_Cantidad, precio_Vendidas from tArticuloPrecio where art_Clave = ? order by "
                       "tprecio_Clave desc, precio_Clave",
                       -1, &filas, nullptr);
    int i = 0;
    double suma = 0;
    for (auto _ : state) {
        const QByteArray clave = QStringLiteral("750%1").arg(i++ % kArticulos, 10, 10, QLatin1Char('0')).toUtf8();
        sqlite3_bind_text(tipo, 1, "SYS", -1, SQLITE_STATIC);
        while (sqlite3_step(tipo) == SQLITE_ROW)
            suma += sqlite3_column_bytes(tipo, 0);
        sqlite3_reset(tipo);
        for (sqlite3_stmt *s : {art, filas}) {
            sqlite3_bind_text(s, 1, clave.constData(), int(clave.size()), SQLITE_TRANSIENT);
            while (sqlite3_step(s) == SQLITE_ROW)
                for (int col = 0; col < sqlite3_column_count(s); ++col)
                    suma += sqlite3_column_double(s, col);
            sqlite3_reset(s);
        }
    }
    benchmark::DoNotOptimize(suma);
    for (sqlite3_stmt *s : {tipo, art, filas})
        sqlite3_finalize(s);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_sqlite = dir.filePath(QStringLiteral("precios.sqlite"));
    {
        db::Connection c;
        c.open(db::ConnectionString::sqlite(g_sqlite), db::Connection::OpenMode::CreateIfMissing);
        llena(c);
    }
    const QString sqlite = db::ConnectionString::sqlite(g_sqlite).toString();
    benchmark::RegisterBenchmark("SQLite/obtenPrecioCliente/ARTICULO", precio, sqlite, QStringLiteral("SYS"));
    benchmark::RegisterBenchmark("SQLite/obtenPrecioCliente/LISTA", precio, sqlite, QStringLiteral("MAYOREO"));
    benchmark::RegisterBenchmark("SQLite/obtenPrecioCliente/DEPARTAMENTO", precio, sqlite, QStringLiteral("EMPLEADO"));
    benchmark::RegisterBenchmark("SQLite/C directo (mismas filas)", raw);

    const QString pg = qEnvironmentVariable("MDR_BENCH_PG");
    QString pgStore;
    if (!pg.isEmpty()) {
        db::Connection admin;
        admin.open(pg);
        const QString nombre = QStringLiteral("mdr_bench_precios");
        admin.executeStatement(QStringLiteral("drop database if exists ") + nombre);
        admin.executeStatement(QStringLiteral("create database ") + nombre);
        pgStore = admin.target().withDatabase(nombre).toString();
        db::Connection c;
        c.open(pgStore);
        llena(c);
        benchmark::RegisterBenchmark("PostgreSQL/obtenPrecioCliente/ARTICULO", precio, pgStore, QStringLiteral("SYS"));
        benchmark::RegisterBenchmark("PostgreSQL/obtenPrecioCliente/LISTA", precio, pgStore, QStringLiteral("MAYOREO"));
    } else {
        std::printf("PostgreSQL omitido: defina MDR_BENCH_PG para medirlo\n");
    }
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
