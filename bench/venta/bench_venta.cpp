// Writing a paid sale: GuardaVenta::guardaDatos of a 20-line cash sale (header, tax row, lines
// with their cost, 20 stock calls with their kardex rows, payment, document flags, all in one
// transaction) against the plainest write of the same rows in one transaction: the folio counter,
// the header, the tax row, 20 lines each with an UPDATE of its stock row and of its article and an
// INSERT of its kardex row, and the payment. SQLite always; PostgreSQL when MDR_BENCH_PG names a
// server. Targets: SQLite under 10 ms a sale and within 2x the plain writes; PostgreSQL on the
// loopback under 30 ms.
// Then 8 terminals of one warehouse writing sales at once on PostgreSQL, each a process of its
// own (this program run with --terminal): sales per second, repeated folios and deadlocks, both 0.

#include "BasesDePrueba.h"
#include "CalculoVenta.h"
#include "ConnectionProvider.h"
#include "GuardaVenta.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "SilentPrompter.h"
#include "cConfigure.h"

#include "Connection.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kLineas = 20;
constexpr int kTerminales = 8;
constexpr int kSegundosConcurrencia = 10;
QTemporaryDir *g_dir = nullptr;

QString clave(int i)
{
    return QStringLiteral("V%1").arg(i, 4, 10, QLatin1Char('0'));
}

// Warehouse A1 (the writer's) and A2 (the plain writes'), each with a terminal and its open cut.
void llena(db::Connection &c)
{
    db::Schema::upgrade(c);
    db::Transaction tx(c);
    const int anio = c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
    c.execute(
        QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Uno'), ('A2', 'Dos')"));
    c.execute(
        QStringLiteral("insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values ('CAJA1', 'Uno', "
                       "'A1'), ('CAJA2', 'Dos', 'A2')"));
    c.execute(QStringLiteral(
                  "insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                  "ecorte_Clave, usu_Clave) values ('A1', 'CAJA1', ?, 1, getdate(), 'ABIERTO', 'ADMIN'), "
                  "('A2', 'CAJA2', ?, 1, getdate(), 'ABIERTO', 'ADMIN')"),
              {anio, anio});
    // The terminals that write at once: T1 … T8 of warehouse A1, each with its open cut.
    for (int t = 1; t <= kTerminales; ++t) {
        const QString term = QStringLiteral("T%1").arg(t);
        c.execute(QStringLiteral("insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values (?, ?, 'A1')"),
                  {term, term});
        c.execute(QStringLiteral("insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                                 "ecorte_Clave, usu_Clave) values ('A1', ?, ?, 1, getdate(), 'ABIERTO', 'ADMIN')"),
                  {term, anio});
    }
    c.execute(QStringLiteral(
        "insert into tCliente (cli_Clave, cli_Nombre, tcli_Clave) values ('C1', 'Cliente', 'SYS')"));
    for (int i = 0; i < kLineas; ++i) {
        c.execute(QStringLiteral(
                      "insert into tArticulo (art_Clave, art_Nombre, cinv_Clave, art_Costo, art_Existencia) "
                      "values (?, ?, 'EXISTENCIA', 10, 2000000)"),
                  {clave(i), QStringLiteral("ARTICULO %1").arg(i)});
        for (const char *alm : {"A1", "A2"})
            c.execute(QStringLiteral(
                          "insert into tArticuloAlmacen (alm_Clave, art_Clave, alma_Clave, alma_Existencia) "
                          "values (?, ?, '', 1000000)"),
                      {QString::fromLatin1(alm), clave(i)});
    }
    tx.commit();
}

DatosVenta venta()
{
    DatosVenta d;
    for (int i = 0; i < kLineas; ++i) {
        LineaVenta l;
        l.clave = clave(i);
        l.nombre = QStringLiteral("ARTICULO %1").arg(i);
        l.cantidad = Decimal(1 + i % 3);
        l.precio = Decimal(25) + Decimal(i);
        l.iva = Decimal(i % 4 == 0 ? 0 : 16);
        l.tipoPrecio = QStringLiteral("NORMAL");
        l.renglon = i + 1;
        CalculoVenta::calculaLinea(l, ReglaRedondeo{});
        d.lineas << l;
    }
    d.totales = CalculoVenta::calculaGrid(d.lineas, ReglaRedondeo{}, ReglaRedondeo{}, Decimal(), false);
    PagoVenta p;
    p.tipo = QStringLiteral("EFECTIVO");
    p.importe = d.totales.total;
    d.pagos << p;
    d.pago = d.totales.total;
    d.cliente = QStringLiteral("C1");
    d.vendedor = QStringLiteral("ADMIN");
    d.ticket = true;
    return d;
}

void guardaDatos(benchmark::State &state, const QString &cs)
{
    db::Connection c;
    c.open(cs);
    FixedConnectionProvider provider(&c);
    SilentPrompter prompter;
    SettingsStore settings(g_dir->filePath(QStringLiteral("venta.ini")));
    cConfigure config(provider, settings, prompter);
    const int anio = c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
    config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
    config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
    config.setValue(QStringLiteral("CORTE-CAJA"), QStringLiteral("CAJA1-%1-1").arg(anio));
    GuardaVenta g(provider, config, prompter);
    const DatosVenta d = venta();
    for (auto _ : state)
        if (!g.guardaDatos(d))
            state.SkipWithError("la venta no se guardo");
    state.counters["ventas/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void crudo(benchmark::State &state, const QString &cs)
{
    db::Connection c;
    c.open(cs);
    const DatosVenta d = venta();
    const QDateTime ahora = c.scalar(QStringLiteral("select getdate()")).toDateTime();
    const int anio = ahora.date().year();
    // The benchmark calls this more than once: the counter is created the first time only.
    c.execute(
        QStringLiteral("insert into tSecuencia (sec_Clave, sec_Valor) select 'CRUDO', 0 where not exists "
                       "(select 1 from tSecuencia where sec_Clave = 'CRUDO')"));
    for (auto _ : state) {
        db::Transaction tx(c);
        c.execute(
            QStringLiteral("update tSecuencia set sec_Valor = sec_Valor + 1 where sec_Clave = 'CRUDO'"));
        const qint64 folio =
            c.scalar(QStringLiteral("select sec_Valor from tSecuencia where sec_Clave = 'CRUDO'"))
                .toLongLong();
        const QVariantList k{QStringLiteral("CAJA2"), anio, 1, folio};
        c.execute(QStringLiteral(
                      "insert into tVenta (term_Clave, corte_Anio, corte_Numero, venta_Numero, venta_Folio, "
                      "venta_importe, venta_descuento, venta_Total, usu_Clave, venta_Fecha, cli_Clave, "
                      "venta_Pago, venta_Cambio, venta_Cantidad, alm_Clave, venta_IVA, usu_ClaveReg, "
                      "venta_Ticket) values (?, ?, ?, ?, ?, ?, 0, ?, 'ADMIN', ?, 'C1', ?, 0, ?, 'A2', ?, "
                      "'ADMIN', 'SI')"),
                  k + QVariantList{folio, d.totales.importe.toQVariant(), d.totales.total.toQVariant(), ahora,
                                   d.pago.toQVariant(), d.totales.articulos.toQVariant(),
                                   d.totales.impuesto.round(2).toQVariant()});
        for (auto it = d.totales.impuestoPorTasa.cbegin(); it != d.totales.impuestoPorTasa.cend(); ++it)
            c.execute(
                QStringLiteral("insert into tVentaIVA (term_Clave, corte_Anio, corte_Numero, venta_Numero, "
                               "viva_Tasa, viva_Base, viva_Importe) values (?, ?, ?, ?, ?, ?, ?)"),
                k + QVariantList{it.key().toQVariant(), it.value().base.toQVariant(),
                                 it.value().importe.toQVariant()});
        int n = 0;
        for (const LineaVenta &l : d.lineas) {
            c.execute(
                QStringLiteral(
                    "insert into tVentaDetalle (term_Clave, corte_Anio, corte_Numero, venta_Numero, "
                    "vdet_Numero, art_Clave, venta_Folio, art_Nombre, vdet_Cantidad, vdet_Importe, "
                    "vdet_IVA, vdet_SubTotal, vdet_Total, alm_Clave, vdet_anio, vdet_mes, vdet_dia, "
                    "vdet_Fecha, vdet_Costo) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'A2', ?, ?, "
                    "?, ?, 10)"),
                k + QVariantList{++n, l.clave, folio, l.nombre, l.cantidad.toQVariant(),
                                 l.precio.toQVariant(), l.iva.toQVariant(), l.importe.toQVariant(),
                                 l.total.toQVariant(), anio, ahora.date().month(), ahora.date().day(),
                                 ahora});
            c.execute(
                QStringLiteral("update tArticuloAlmacen set alma_Existencia = alma_Existencia - ? where "
                               "alm_Clave = 'A2' and art_Clave = ? and alma_Clave = ''"),
                {l.cantidad.toQVariant(), l.clave});
            c.execute(QStringLiteral(
                          "update tArticulo set art_Existencia = art_Existencia - ? where art_Clave = ?"),
                      {l.cantidad.toQVariant(), l.clave});
            c.execute(QStringLiteral(
                          "insert into tArticuloKardex (ALM_CLAVE, art_Clave, kar_Anio, kar_Fecha, "
                          "tkar_Clave, alma_Clave, kar_Cantidad, art_Costo, KAR_ORIGEN, alma_Existencia) "
                          "values ('A2', ?, ?, ?, 'S', '', ?, 10, 'CRUDO', 0)"),
                      {l.clave, anio, ahora, (-l.cantidad).toQVariant()});
        }
        c.execute(
            QStringLiteral(
                "insert into tVentaPago (vpago_Anio, vpago_Clave, term_Clave, corte_Anio, corte_Numero, "
                "venta_Numero, venta_Folio, tpago_Clave, vpago_Importe, evpago_Clave, cli_Clave, "
                "alm_Clave) values (?, ?, ?, ?, ?, ?, ?, 'EFECTIVO', ?, 'PAGADO', 'C1', 'A2')"),
            QVariantList{anio, folio} + k + QVariantList{folio, d.totales.total.toQVariant()});
        tx.commit();
    }
    state.counters["ventas/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Keeps the last refusal, so a terminal can tell a deadlock from another failure.
class PrompterRegistro : public SilentPrompter {
public:
    void detailedMessage(Icon, const QString &text, const QString &details, const QString &) override
    {
        ultimo = text + u'\n' + details;
    }
    void message(Icon, const QString &text, const QString &) override { ultimo = text; }
    QString ultimo;
};

// --terminal CONEXION TERMINAL INICIO_MS SEGUNDOS INI: writes sales from INICIO_MS for SEGUNDOS
// and prints "ventas fallas deadlocks". Each sale holds the 20 articles in an order of its own, so
// two terminals lock the same stock rows in different orders.
int terminal(const QStringList &args)
{
    db::Connection c;
    c.open(args.at(2));
    FixedConnectionProvider provider(&c);
    PrompterRegistro prompter;
    SettingsStore settings(args.at(6));
    cConfigure config(provider, settings, prompter);
    const int anio = c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
    config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
    config.setValue(QStringLiteral("TERMINAL"), args.at(3));
    config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
    config.setValue(QStringLiteral("CORTE-CAJA"), QStringLiteral("%1-%2-1").arg(args.at(3)).arg(anio));
    GuardaVenta g(provider, config, prompter);
    DatosVenta d = venta();
    const qint64 espera = args.at(4).toLongLong() - QDateTime::currentMSecsSinceEpoch();
    if (espera > 0)
        QThread::msleep(ulong(espera));
    const qint64 fin = QDateTime::currentMSecsSinceEpoch() + args.at(5).toLongLong() * 1000;
    int ventas = 0, fallas = 0, deadlocks = 0;
    QRandomGenerator azar(quint32(args.at(3).mid(1).toInt()));
    while (QDateTime::currentMSecsSinceEpoch() < fin) {
        std::shuffle(d.lineas.begin(), d.lineas.end(), azar);
        for (int i = 0; i < d.lineas.size(); ++i)
            d.lineas[i].renglon = i + 1;
        prompter.ultimo.clear();
        if (g.guardaDatos(d)) {
            ++ventas;
        } else {
            ++fallas;
            if (prompter.ultimo.contains(QLatin1String("deadlock"), Qt::CaseInsensitive))
                ++deadlocks;
            std::fprintf(stderr, "%s\n", qPrintable(prompter.ultimo));
        }
    }
    std::printf("%d %d %d\n", ventas, fallas, deadlocks);
    return 0;
}

void concurrencia(benchmark::State &state, const QString &cs)
{
    for (auto _ : state) {
        db::Connection c;
        c.open(cs);
        const int antes = c.scalar(QStringLiteral("select count(*) from tVenta")).toInt();
        std::vector<std::unique_ptr<QProcess>> procesos;
        const QString inicio = QString::number(QDateTime::currentMSecsSinceEpoch() + 2000);
        for (int t = 1; t <= kTerminales; ++t) {
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--terminal"), cs, QStringLiteral("T%1").arg(t), inicio,
                      QString::number(kSegundosConcurrencia), g_dir->filePath(QStringLiteral("t%1.ini").arg(t))});
            procesos.push_back(std::move(p));
        }
        int ventas = 0, fallas = 0, deadlocks = 0;
        for (auto &p : procesos) {
            if (!p->waitForFinished(120000) || p->exitCode() != 0) {
                state.SkipWithError("una terminal no termino");
                return;
            }
            const QList<QByteArray> n = p->readAllStandardOutput().trimmed().split(' ');
            if (n.size() == 3) {
                ventas += n[0].toInt();
                fallas += n[1].toInt();
                deadlocks += n[2].toInt();
            }
        }
        const int escritas = c.scalar(QStringLiteral("select count(*) from tVenta")).toInt() - antes;
        const int repetidos =
            c.scalar(QStringLiteral("select count(*) from (select venta_Folio from tVenta where alm_Clave = 'A1' "
                                    "group by venta_Folio having count(*) > 1) x"))
                .toInt();
        state.counters["ventas/s"] = double(ventas) / kSegundosConcurrencia;
        state.counters["ventas"] = ventas;
        state.counters["en_base"] = escritas;
        state.counters["folios_repetidos"] = repetidos;
        state.counters["deadlocks"] = deadlocks;
        state.counters["fallas"] = fallas;
    }
}

void registra(const QString &motor, const QString &cs)
{
    benchmark::RegisterBenchmark(qPrintable(motor + QStringLiteral("/guardaDatos 20 renglones")), guardaDatos,
                                 cs)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(qPrintable(motor + QStringLiteral("/INSERT+UPDATE crudos 20 renglones")),
                                 crudo, cs)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    if (motor == QLatin1String("PostgreSQL"))
        benchmark::RegisterBenchmark(qPrintable(motor + QStringLiteral("/8 terminales a la vez")), concurrencia, cs)
            ->Unit(benchmark::kSecond)
            ->UseRealTime()
            ->Iterations(1);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--terminal") == 0)
        return terminal(app.arguments());
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    preparaBases(dir, QStringLiteral("venta"), llena, registra);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
