// The sale writer: a paid sale written whole (header, lines, stock, tax, payments, receivables,
// delivery, held sales removed) or not at all, its numbering across stations, and the snapshot
// event scripts read.
#include "PuestoVenta.h"

#include "../inventory/InvariantesExistencia.h"
#include "Corte.h"
#include "DireccionEntrega.h"
#include "GuardaVenta.h"
#include "Log.h"
#include "Secuencias.h"
#include "TestDatabase.h"
#include "cVenta.h"

#include "DbError.h"
#include "Engine.h"
#include "cCode.h"

#include <QTemporaryDir>
#include <QTest>

#include <thread>

namespace {

// Every table the writer touches, row by row, and the sequences.
QStringList estado(db::Connection &c)
{
    QStringList out;
    for (const char *sql :
         {"select * from tVenta order by venta_Folio",
          "select * from tVentaDetalle order by venta_Folio, vdet_Numero",
          "select * from tVentaIVA order by venta_Numero, viva_Tasa",
          "select * from tVentaPago order by vpago_Clave", "select * from tCobranza order by cob_Clave",
          "select * from tVentaPendiente order by venta_Numero",
          "select * from tVentaPendienteDet order by venta_Numero, vdet_Numero",
          "select * from tVentaEnvio order by venv_Clave",
          "select * from tVentaEnvioSeguimiento order by venv_Clave",
          "select alm_Clave, art_Clave, alma_Clave, alma_Existencia from tArticuloAlmacen order by "
          "art_Clave, alma_Clave",
          "select kar_Clave, art_Clave, kar_Cantidad from tArticuloKardex order by kar_Clave",
          "select art_Clave, art_Existencia from tArticulo order by art_Clave",
          "select art_Clave, tprecio_Clave, precio_Clave, precio_Vendidas from tArticuloPrecio order by 1, "
          "2, 3",
          "select sec_Clave, sec_Valor from tSecuencia order by sec_Clave"})
        out << QString::fromLatin1(sql) << filas(c, QString::fromLatin1(sql));
    return out;
}

int cuenta(db::Connection &c, const QString &sql, const QVariantList &p = {})
{
    return c.scalar(sql, p).toInt();
}

// A held sale of CAJA1 with two lines.
void pendiente(db::Connection &c, int numero)
{
    const int anio = anioServidor(c);
    c.execute(QStringLiteral(
                  "insert into tVentaPendiente (term_Clave, corte_Anio, corte_Numero, venta_Numero, "
                  "venta_Folio, usu_Clave, venta_Fecha, cli_Clave, alm_Clave) values ('CAJA1', ?, 2, ?, ?, "
                  "'CAJERO', getdate(), 'C1', 'A1')"),
              {anio, numero, numero});
    for (int r = 1; r <= 2; ++r)
        c.execute(QStringLiteral(
                      "insert into tVentaPendienteDet (term_Clave, corte_Anio, corte_Numero, venta_Numero, "
                      "vdet_Numero, art_Clave, art_Nombre, vdet_Cantidad, vdet_Importe, vdet_SubTotal, "
                      "vdet_Total, alm_Clave) values ('CAJA1', ?, 2, ?, ?, 'LIB', 'Articulo LIB', 1, 10, "
                      "10, 10, 'A1')"),
                  {anio, numero, r});
}

QString clavePendiente(db::Connection &c, int numero)
{
    return QStringLiteral("CAJA1\t%1\t2\t%2").arg(anioServidor(c)).arg(numero);
}

} // namespace

class tst_GuardaVenta : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void documentoCompleto_data() { TestDatabase::addEngineRows(); }
    void documentoCompleto();
    void estadoDelPago_data();
    void estadoDelPago();
    void sumaIntervalo_data();
    void sumaIntervalo();
    void vencimientoDelCredito_data();
    void vencimientoDelCredito();
    void pendientesBorrados_data() { TestDatabase::addEngineRows(); }
    void pendientesBorrados();
    void ofertaVendida_data() { TestDatabase::addEngineRows(); }
    void ofertaVendida();
    void envioADomicilio_data() { TestDatabase::addEngineRows(); }
    void envioADomicilio();
    void domicilioDelCliente_data();
    void domicilioDelCliente();
    void rechazos_data();
    void rechazos();
    void fallaEnCadaSentencia_data() { TestDatabase::addEngineRows(); }
    void fallaEnCadaSentencia();
    void dosEstaciones_data() { TestDatabase::addEngineRows(); }
    void dosEstaciones();
    void limitesDelSnapshot_data();
    void limitesDelSnapshot();
    void eventoDelTicket_data() { TestDatabase::addEngineRows(); }
    void eventoDelTicket();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini(const QString &nombre = QStringLiteral("Mostrador.ini")) const
    {
        return m_dir->filePath(nombre);
    }
};

void tst_GuardaVenta::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_GuardaVenta::documentoCompleto()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    EstacionPrueba s(&c, ini());
    enCaja(s, c);
    const int anio = anioServidor(c);
    GuardaVenta g(s.provider, s.config, s.prompter);

    // Grid order is not key order: the lines keep the order the cashier gave them.
    LineaVenta comision = linea(QStringLiteral("COMISION TARJETA"), "1", "3.50", "0");
    DatosVenta d =
        venta({linea(QStringLiteral("LOT"), "2", "20", "16", QStringLiteral("NORMAL"), QStringLiteral("L1")),
               linea(QStringLiteral("LIB"), "3", "10", "16"), linea(QStringLiteral("EXI"), "1.5", "8", "0"),
               comision});
    d.pago = Decimal(200);
    d.cambio = d.pago - d.totales.total;
    d.comision = Decimal("3.5");
    d.ticket = true;
    d.factura = true;
    d.entrega.tipo = QStringLiteral("VENTANILLA");
    const auto v = g.guardaDatos(d);
    QVERIFY2(v, qPrintable(s.prompter.texts().join(u'\n') + u' ' +
                           (s.prompter.shown.isEmpty() ? QString() : s.prompter.shown.last().details)));
    QVERIFY(s.prompter.texts().isEmpty());
    QCOMPARE(v->folio, 1);
    QCOMPARE(v->numero, 1);
    QCOMPARE(v->terminal, QStringLiteral("CAJA1"));
    QCOMPARE(v->corteAnio, anio);
    QCOMPARE(v->corteNumero, 2);

    // The header as the totals gave it; the tax figure is money.
    db::Recordset h = c.openRecordset(QStringLiteral("select * from tVenta"));
    QVERIFY(!h.eof());
    QCOMPARE(h.decimal(QStringLiteral("venta_importe")), d.totales.importe);
    QCOMPARE(h.decimal(QStringLiteral("venta_Total")), d.totales.total);
    QCOMPARE(h.decimal(QStringLiteral("venta_IVA")), d.totales.impuesto.round(2));
    QCOMPARE(h.decimal(QStringLiteral("venta_IVA")), Decimal("11.2")); // 46.40 and 34.80 hold 16 %
    QCOMPARE(h.decimal(QStringLiteral("venta_Cantidad")), Decimal("7.5"));
    QCOMPARE(h.decimal(QStringLiteral("venta_Pago")), Decimal(200));
    QCOMPARE(h.decimal(QStringLiteral("venta_Cambio")), Decimal(200) - d.totales.total);
    QCOMPARE(h.decimal(QStringLiteral("venta_Comision")), Decimal("3.5"));
    QCOMPARE(h.text(QStringLiteral("usu_Clave")), QStringLiteral("VENDEDOR1"));
    QCOMPARE(h.text(QStringLiteral("usu_ClaveReg")), QStringLiteral("CAJERO"));
    QCOMPARE(h.text(QStringLiteral("alm_Clave")), QStringLiteral("A1"));
    QCOMPARE(h.text(QStringLiteral("cli_Clave")), QStringLiteral("C1"));
    QCOMPARE(h.text(QStringLiteral("eventa_Clave")), QStringLiteral("REGISTRADA"));
    QCOMPARE(h.text(QStringLiteral("tent_Clave")), QStringLiteral("VENTANILLA"));
    QCOMPARE(h.text(QStringLiteral("venta_Servicio")), QStringLiteral("NO"));
    QCOMPARE(h.text(QStringLiteral("venta_Ticket")), QStringLiteral("SI"));
    QCOMPARE(h.text(QStringLiteral("venta_Nota")), QStringLiteral("NO"));
    QCOMPARE(h.text(QStringLiteral("venta_Factura")), QStringLiteral("SI"));

    // One tax row per rate, base and amount as the grid computed them.
    QStringList esperado;
    for (auto it = d.totales.impuestoPorTasa.cbegin(); it != d.totales.impuestoPorTasa.cend(); ++it)
        esperado << it.key().toString() + u'|' + it.value().base.round(2).toString() + u'|' +
                        it.value().importe.round(2).toString();
    QCOMPARE(esperado.size(), 2);
    QCOMPARE(filas(c, QStringLiteral(
                          "select viva_Tasa, viva_Base, viva_Importe from tVentaIVA order by viva_Tasa")),
             esperado);

    // Lines numbered in grid order, costs from the articles, the concept line at no cost.
    QCOMPARE(
        filas(c, QStringLiteral(
                     "select vdet_Numero, art_Clave, alma_Clave, vdet_Cantidad, vdet_Costo, venta_Folio, "
                     "eventa_Clave from tVentaDetalle order by vdet_Numero")),
        (QStringList{"1|LOT|L1|2|7|1|REGISTRADA", "2|LIB||3|10|1|REGISTRADA", "3|EXI||1.5|4.5|1|REGISTRADA",
                     "4|COMISION TARJETA||1|0|1|REGISTRADA"}));
    QCOMPARE(GuardaVenta::obtieneCostoArticulo(c, QStringLiteral("A1"), QStringLiteral("LOT"),
                                               QStringLiteral("L1")),
             std::optional<Decimal>(Decimal(7)));
    QVERIFY(!GuardaVenta::obtieneCostoArticulo(c, QStringLiteral("A1"), QStringLiteral("COMISION TARJETA"),
                                               QString()));
    QCOMPARE(
        cuenta(c,
               QStringLiteral("select count(*) from tVentaDetalle where vdet_anio = ? and vdet_mes > 0 and "
                              "vdet_dia > 0 and vdet_Fecha is not null"),
               {anio}),
        4);

    // Stock left per line, one kardex exit per article line, none for the concept.
    QCOMPARE(filasExistencia(c), (QStringList{"A1|EXI|=3.5", "A1|LIB|=97", "A1|LOT|L1=6"}));
    QCOMPARE(
        filas(c, QStringLiteral(
                     "select art_Clave, kar_Cantidad, tkar_Clave from tArticuloKardex where KAR_ORIGEN = "
                     "'VENTA-1' order by kar_Clave")),
        (QStringList{"LOT|-2|S", "LIB|-3|S", "EXI|-1.5|S"}));
    MDR_VERIFICA_INVARIANTES(c);

    // The payment, and the next sale numbered after this one.
    QCOMPARE(
        filas(c, QStringLiteral(
                     "select vpago_Anio, vpago_Clave, tpago_Clave, vpago_Importe, evpago_Clave, venta_Folio "
                     "from tVentaPago")),
        QStringList{QStringLiteral("%1|1|EFECTIVO|%2|PAGADO|1").arg(anio).arg(d.totales.total.toString())});
    const auto v2 = g.guardaDatos(venta({linea(QStringLiteral("LIB"), "1", "10", "16")}));
    QVERIFY(v2);
    QCOMPARE(v2->folio, 2);
    QCOMPARE(v2->numero, 2);
    QCOMPARE(
        filas(c, QStringLiteral("select vdet_Numero, art_Clave from tVentaDetalle where venta_Numero = 2")),
        QStringList{"1|LIB"});
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tCobranza")), 0);
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tVentaEnvio")), 0);
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_GuardaVenta::estadoDelPago_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<int>("cobranzas");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("efectivo")) << "EFECTIVO"
                                                                 << "PAGADO" << 0;
        TestDatabase::newRow(engine, QStringLiteral("cheque")) << "CHEQUE"
                                                               << "REGISTRADO" << 0;
        TestDatabase::newRow(engine, QStringLiteral("tarjeta")) << "TARJETA"
                                                                << "REGISTRADO" << 0;
        TestDatabase::newRow(engine, QStringLiteral("extranjera")) << "EXTRANJERA"
                                                                   << "PAGADO" << 0;
        TestDatabase::newRow(engine, QStringLiteral("credito")) << "CREDITO"
                                                                << "COBRANZA" << 1;
        TestDatabase::newRow(engine, QStringLiteral("vales")) << "VALES"
                                                              << "REGISTRADO" << 0;
    }
}

void tst_GuardaVenta::estadoDelPago()
{
    QFETCH(QString, engine);
    QFETCH(QString, tipo);
    QFETCH(QString, estado);
    QFETCH(int, cobranzas);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    EstacionPrueba s(&c, ini());
    enCaja(s, c);
    GuardaVenta g(s.provider, s.config, s.prompter);
    DatosVenta d = venta({linea(QStringLiteral("LIB"), "2", "50", "16")}, tipo);
    // Every field of the payment line goes to its column.
    PagoVenta &p = d.pagos[0];
    p.banco = QStringLiteral("BANCO1");
    p.cheque = QStringLiteral("CH-77");
    p.tarjeta = QStringLiteral("4111");
    p.folioTarjeta = QStringLiteral("AUT9");
    p.moneda = QStringLiteral("USD");
    p.importeMoneda = Decimal("6.5");
    p.tipoCambio = Decimal("17.845");
    p.referencia = QStringLiteral("REF1");
    p.referenciaAdic = QStringLiteral("REF2");
    QVERIFY(g.guardaDatos(d));
    const int anio = anioServidor(c);
    QCOMPARE(
        filas(c, QStringLiteral(
                     "select vpago_Anio, vpago_Clave, term_Clave, corte_Numero, venta_Numero, tpago_Clave, "
                     "vpago_Importe, banco_Clave, vpago_Cheque, vpago_Tarjeta, vpago_FolioTarjeta, "
                     "moneda_Clave, vpago_MonExtranjera, vpago_TipoDeCambio, vpago_Referencia, "
                     "evpago_Clave, cli_Clave, alm_Clave, vpago_ReferenciaAdic from tVentaPago")),
        QStringList{
            QStringLiteral("%1|1|CAJA1|2|1|%2|116|BANCO1|CH-77|4111|AUT9|USD|6.5|17.845|REF1|%3|C1|A1|REF2")
                .arg(anio)
                .arg(tipo, estado)});
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tCobranza")), cobranzas);
    QCOMPARE(c.scalar(QStringLiteral("select sec_Valor from tSecuencia where sec_Clave = ?"),
                      {QStringLiteral("VPAGO_A1_%1").arg(anio)})
                 .toLongLong(),
             1);
}

void tst_GuardaVenta::sumaIntervalo_data()
{
    QTest::addColumn<QString>("parte");
    QTest::addColumn<int>("cantidad");
    QTest::addColumn<QDateTime>("desde");
    QTest::addColumn<QDateTime>("hasta"); // invalid: not a date part
    const QDateTime base(QDate(2026, 1, 31), QTime(10, 30));
    QTest::newRow("mm") << "mm" << 1 << base << QDateTime(QDate(2026, 2, 28), QTime(10, 30));
    QTest::newRow("m bisiesto") << "m" << 1 << QDateTime(QDate(2028, 1, 31), QTime(10, 30))
                                << QDateTime(QDate(2028, 2, 29), QTime(10, 30));
    QTest::newRow("MONTH mayusculas") << "MONTH" << 2 << base << QDateTime(QDate(2026, 3, 31), QTime(10, 30));
    QTest::newRow("d") << "d" << 30 << base << QDateTime(QDate(2026, 3, 2), QTime(10, 30));
    QTest::newRow("dd") << "dd" << 1 << base << QDateTime(QDate(2026, 2, 1), QTime(10, 30));
    QTest::newRow("day") << "day" << 0 << base << base;
    QTest::newRow("dy") << "dy" << 2 << base << QDateTime(QDate(2026, 2, 2), QTime(10, 30));
    QTest::newRow("y dia del anio") << "y" << 3 << base << QDateTime(QDate(2026, 2, 3), QTime(10, 30));
    QTest::newRow("yy") << "yy" << 1 << base << QDateTime(QDate(2027, 1, 31), QTime(10, 30));
    QTest::newRow("yyyy") << "yyyy" << 2 << base << QDateTime(QDate(2028, 1, 31), QTime(10, 30));
    QTest::newRow("year") << " year " << 1 << base << QDateTime(QDate(2027, 1, 31), QTime(10, 30));
    QTest::newRow("q") << "q" << 1 << base << QDateTime(QDate(2026, 4, 30), QTime(10, 30));
    QTest::newRow("qq") << "qq" << 2 << base << QDateTime(QDate(2026, 7, 31), QTime(10, 30));
    QTest::newRow("quarter") << "quarter" << 4 << base << QDateTime(QDate(2027, 1, 31), QTime(10, 30));
    QTest::newRow("wk") << "wk" << 2 << base << QDateTime(QDate(2026, 2, 14), QTime(10, 30));
    QTest::newRow("ww") << "ww" << 1 << base << QDateTime(QDate(2026, 2, 7), QTime(10, 30));
    QTest::newRow("week") << "week" << 1 << base << QDateTime(QDate(2026, 2, 7), QTime(10, 30));
    QTest::newRow("hh") << "hh" << 14 << base << QDateTime(QDate(2026, 2, 1), QTime(0, 30));
    QTest::newRow("hour") << "hour" << 1 << base << QDateTime(QDate(2026, 1, 31), QTime(11, 30));
    QTest::newRow("desconocida") << "fortnight" << 1 << base << QDateTime();
    QTest::newRow("vacia") << "" << 1 << base << QDateTime();
}

void tst_GuardaVenta::sumaIntervalo()
{
    QFETCH(QString, parte);
    QFETCH(int, cantidad);
    QFETCH(QDateTime, desde);
    QFETCH(QDateTime, hasta);
    const auto r = GuardaVenta::sumaIntervalo(desde, parte, cantidad);
    QCOMPARE(r.has_value(), hasta.isValid());
    if (r)
        QCOMPARE(*r, hasta);
}

void tst_GuardaVenta::vencimientoDelCredito_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("periodo");   // per_Clave|per_Credito|per_IntervaloSQL, or empty: none
    QTest::addColumn<int>("cantidad");      // cli_Periodo
    QTest::addColumn<QString>("intervalo"); // what the due date adds
    QTest::addColumn<int>("veces");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("sin periodo")) << "" << 30 << "mm" << 1;
        TestDatabase::newRow(engine, QStringLiteral("dias")) << "PV30|S|d" << 30 << "d" << 30;
        TestDatabase::newRow(engine, QStringLiteral("semanas")) << "PVSEM|S|wk" << 2 << "d" << 14;
        TestDatabase::newRow(engine, QStringLiteral("meses")) << "PVMES|S|mm" << 3 << "mm" << 3;
        TestDatabase::newRow(engine, QStringLiteral("periodo que no es de credito"))
            << "PV10|N|d" << 10 << "mm" << 1;
        TestDatabase::newRow(engine, QStringLiteral("palabra desconocida"))
            << "PVRARO|S|fortnight" << 2 << "mm" << 1;
    }
}

void tst_GuardaVenta::vencimientoDelCredito()
{
    QFETCH(QString, engine);
    QFETCH(QString, periodo);
    QFETCH(int, cantidad);
    QFETCH(QString, intervalo);
    QFETCH(int, veces);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    if (!periodo.isEmpty()) {
        const QStringList p = periodo.split(u'|');
        c.execute(QStringLiteral(
                      "insert into tPeriodo (per_Clave, per_Nombre, per_Credito, per_IntervaloSQL) values "
                      "(?, ?, ?, ?)"),
                  {p[0], p[0], p[1], p[2]});
        c.execute(QStringLiteral("update tCliente set per_Clave = ?, cli_Periodo = ? where cli_Clave = 'C1'"),
                  {p[0], cantidad});
    }
    EstacionPrueba s(&c, ini());
    enCaja(s, c);
    GuardaVenta g(s.provider, s.config, s.prompter);
    // Two credit payments and a cash one: one receivable per credit payment.
    DatosVenta d = venta({linea(QStringLiteral("LIB"), "10", "10", "0")}, QStringLiteral("CREDITO"));
    d.pagos = {pago(QStringLiteral("CREDITO"), "60"), pago(QStringLiteral("EFECTIVO"), "10"),
               pago(QStringLiteral("CREDITO"), "30")};
    d.pagos[2].referencia = QStringLiteral("PAGARE 2");
    d.pagos[2].referenciaAdic = QStringLiteral("FIRMA");
    QVERIFY(g.guardaDatos(d));
    const int anio = anioServidor(c);
    QCOMPARE(
        filas(c, QStringLiteral(
                     "select cob_Clave, cli_Clave, alm_Clave, cob_Importe, cob_Pagado, cob_Referencia, "
                     "cob_ReferenciaAdic, vpago_Anio, vpago_Clave, ecob_Clave from tCobranza order by "
                     "cob_Clave")),
        (QStringList{
            QStringLiteral("%1|C1|A1|60|0|||%2|1|PENDIENTE").arg(Secuencias::folioConAnio(anio, 1)).arg(anio),
            QStringLiteral("%1|C1|A1|30|0|PAGARE 2|FIRMA|%2|3|PENDIENTE")
                .arg(Secuencias::folioConAnio(anio, 2))
                .arg(anio)}));
    const QDateTime fecha = c.scalar(QStringLiteral("select venta_Fecha from tVenta")).toDateTime();
    const QDateTime vence = *GuardaVenta::sumaIntervalo(fecha, intervalo, veces);
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select cob_FecReg, cob_FecVenc from tCobranza"));
         !rs.eof(); rs.moveNext()) {
        QCOMPARE(rs.value(0).toDateTime(), fecha);
        QCOMPARE(rs.value(1).toDateTime(), vence);
    }
    QCOMPARE(
        filas(c, QStringLiteral(
                     "select vpago_Clave, tpago_Clave, evpago_Clave from tVentaPago order by vpago_Clave")),
        (QStringList{"1|CREDITO|COBRANZA", "2|EFECTIVO|PAGADO", "3|CREDITO|COBRANZA"}));
}

void tst_GuardaVenta::pendientesBorrados()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    pendiente(c, 7);
    pendiente(c, 8);
    pendiente(c, 9);
    EstacionPrueba s(&c, ini());
    enCaja(s, c);
    GuardaVenta g(s.provider, s.config, s.prompter);
    DatosVenta d = venta({linea(QStringLiteral("LIB"), "4", "10", "16")});
    d.pendientes = {clavePendiente(c, 7), clavePendiente(c, 9)};
    QVERIFY(g.guardaDatos(d));
    // Both held sales went, headers and lines; the one not loaded stays.
    QCOMPARE(filas(c, QStringLiteral("select venta_Numero from tVentaPendiente")), QStringList{"8"});
    QCOMPARE(filas(c, QStringLiteral(
                          "select venta_Numero, vdet_Numero from tVentaPendienteDet order by vdet_Numero")),
             (QStringList{"8|1", "8|2"}));
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tVenta")), 1);
}

void tst_GuardaVenta::ofertaVendida()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    // Two offers of LIB (one already over: its dates do not matter), its normal price, an offer of EXI.
    c.execute(QStringLiteral(
        "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, precio_Cantidad, "
        "precio_Vendidas, PRECIO_FECINI, PRECIO_FECFIN) values "
        "('LIB', 'OFERTA', 1, 50, 0, '2020-01-01 00:00:00', '2020-01-31 23:59:59'), "
        "('LIB', 'OFERTA', 2, 50, 3, getdate(), getdate()), "
        "('LIB', 'NORMAL', 1, 0, 0, null, null), ('EXI', 'OFERTA', 1, 10, 1, null, null)"));
    EstacionPrueba s(&c, ini());
    enCaja(s, c);
    GuardaVenta g(s.provider, s.config, s.prompter);
    // An offer line and a normal line of the same article: only the offer's quantity counts.
    QVERIFY(g.guardaDatos(venta({linea(QStringLiteral("LIB"), "2.5", "8", "16", QStringLiteral("OFERTA")),
                                 linea(QStringLiteral("LIB"), "4", "10", "16", QStringLiteral("NORMAL")),
                                 linea(QStringLiteral("EXI"), "1", "8", "16", QStringLiteral("N"))})));
    QCOMPARE(filas(c, QStringLiteral("select art_Clave, tprecio_Clave, precio_Clave, precio_Vendidas from "
                                     "tArticuloPrecio order by art_Clave, tprecio_Clave, precio_Clave")),
             (QStringList{"EXI|OFERTA|1|1", "LIB|NORMAL|1|0", "LIB|OFERTA|1|2.5", "LIB|OFERTA|2|5.5"}));
    QVERIFY(g.guardaDatos(venta({linea(QStringLiteral("LIB"), "1", "8", "16", QStringLiteral("OFERTA"))})));
    QCOMPARE(filas(c, QStringLiteral(
                          "select precio_Vendidas from tArticuloPrecio where tprecio_Clave = 'OFERTA' and "
                          "art_Clave = 'LIB' order by precio_Clave")),
             (QStringList{"3.5", "6.5"}));
}

void tst_GuardaVenta::envioADomicilio()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    EstacionPrueba s(&c, ini());
    enCaja(s, c);
    GuardaVenta g(s.provider, s.config, s.prompter);
    // A sale for the counter writes no delivery; one asking for a home delivery does.
    QVERIFY(g.guardaDatos(venta({linea(QStringLiteral("LIB"), "1", "10", "16")})));
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tVentaEnvio")), 0);
    DatosVenta d = venta({linea(QStringLiteral("LIB"), "1", "10", "16")});
    EntregaVenta &e = d.entrega;
    e.tipo = QStringLiteral("DOMICILIO");
    e.domicilio = true;
    e.calle = QStringLiteral("Av. Juárez");
    e.interior = QStringLiteral("4B");
    e.exterior = QStringLiteral("120");
    e.colonia = QStringLiteral("Centro");
    e.delMun = QStringLiteral("Cuauhtémoc");
    e.ciudad = QStringLiteral("CDMX");
    e.estado = QStringLiteral("CMX");
    e.pais = QStringLiteral("MEX");
    e.telefono1 = QStringLiteral("5555");
    e.telefono2 = QStringLiteral("6666");
    e.fax = QStringLiteral("7777");
    e.email = QStringLiteral("a@b.mx");
    e.referencia = QStringLiteral("Portón verde");
    e.cp = QStringLiteral("06000");
    e.comentario = QStringLiteral("Después de las 5");
    e.fechaPlaneada = QDateTime(QDate(2030, 5, 6), QTime(17, 0));
    e.repartidor = QStringLiteral("REPARTO1");
    const auto v = g.guardaDatos(d);
    QVERIFY(v);
    const int anio = anioServidor(c);
    const qint64 numero = Secuencias::folioConAnio(anio, 1);
    QCOMPARE(filas(c, QStringLiteral(
                          "select alm_Clave, venv_Clave, venta_Folio, eenv_Clave, cli_Calle, cli_Interior, "
                          "cli_Exterior, cli_Colonia, cli_DelMun, cli_Ciudad, edo_Clave, pais_Clave, "
                          "cli_Telefono1, cli_Telefono2, cli_Fax, cli_email, cli_Referencia, cli_CP, "
                          "venv_Comentario, usu_ClaveEnvio from tVentaEnvio")),
             QStringList{QStringLiteral(
                             "A1|%1|2|PENDIENTE|Av. Juárez|4B|120|Centro|Cuauhtémoc|CDMX|CMX|MEX|5555|6666|"
                             "7777|a@b.mx|Portón verde|06000|Después de las 5|REPARTO1")
                             .arg(numero)});
    QCOMPARE(c.scalar(QStringLiteral("select venv_FecPla from tVentaEnvio")).toDateTime(), e.fechaPlaneada);
    QCOMPARE(filas(c, QStringLiteral("select alm_Clave, venv_Clave, vseg_Clave, eenv_Clave, usu_Clave from "
                                     "tVentaEnvioSeguimiento")),
             QStringList{QStringLiteral("A1|%1|1|PENDIENTE|CAJERO").arg(numero)});
    QCOMPARE(c.scalar(QStringLiteral("select vseg_Fecha from tVentaEnvioSeguimiento")).toDateTime(),
             v->fecha);
    QCOMPARE(c.scalar(QStringLiteral("select tent_Clave from tVenta where venta_Folio = 2")).toString(),
             QStringLiteral("DOMICILIO"));
}

void tst_GuardaVenta::domicilioDelCliente_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("exterior"); // typed over the client's; empty keeps it
    QTest::addColumn<QString>("direccion"); // domicilio|calle|exterior|cp|repartidor
    QTest::addColumn<QString>("falta");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "a domicilio lleva el del cliente")
            << "C1" << "DOMICILIO" << "" << "1|Av. Juárez|120|06000|REPARTO1" << "";
        for (const char *tipo : {"MOSTRADOR", "VENTANILLA", "PENDIENTE"})
            TestDatabase::newRow(e, QByteArray(QByteArray(tipo) + " no lleva domicilio").constData())
                << "C1" << tipo << "" << "0||||" << "";
        TestDatabase::newRow(e, "cliente sin calle")
            << "C2" << "DOMICILIO" << "" << "1||||" << "Debe indicar la calle del domicilio de entrega";
        TestDatabase::newRow(e, "numero mas largo que su columna")
            << "C1" << "DOMICILIO" << QString(21, u'9') << QStringLiteral("1|Av. Juárez|%1|06000|REPARTO1").arg(QString(21, u'9'))
            << "El dato número exterior admite hasta 20 caracteres";
    }
}

// A home delivery proposes the client's address and delivery person; other types carry none, and
// an address without street or with a field wider than its column is refused before writing.
void tst_GuardaVenta::domicilioDelCliente()
{
    QFETCH(QString, engine);
    QFETCH(QString, cliente);
    QFETCH(QString, tipo);
    QFETCH(QString, exterior);
    QFETCH(QString, direccion);
    QFETCH(QString, falta);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    c.execute(QStringLiteral("insert into tUsuario (usu_Clave, usu_Nombre) values ('REPARTO1', 'Reparto')"));
    c.execute(QStringLiteral("update tCliente set cli_Calle = 'Av. Juárez ', cli_Exterior = '120', cli_CP = '06000', "
                             "usu_ClaveEnvio = 'REPARTO1' where cli_Clave = 'C1'"));
    EntregaVenta e = DireccionEntrega::paraTipo(c, cliente, tipo);
    if (!exterior.isEmpty())
        e.exterior = exterior;
    QCOMPARE(e.tipo, tipo);
    QCOMPARE(QStringList({e.domicilio ? "1" : "0", e.calle, e.exterior, e.cp, e.repartidor}).join(u'|'), direccion);
    const auto f = DireccionEntrega::valida(e);
    QCOMPARE(f ? f->mensaje : QString(), falta);
}

void tst_GuardaVenta::rechazos_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("mensaje");
    const QString sinExistencia = QStringLiteral(
        "El producto EXI - Articulo EXI No tiene existencia suficiente Existencia actual: 5 Requerida 7");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("existencia insuficiente"))
            << "existencia" << sinExistencia;
        TestDatabase::newRow(engine, QStringLiteral("lote que no existe"))
            << "lote" << QStringLiteral("El Lote no existe (LOT L9)");
        TestDatabase::newRow(engine, QStringLiteral("sin corte")) << "sin corte" << Corte::kCorteInvalido;
        TestDatabase::newRow(engine, QStringLiteral("corte cerrado"))
            << "corte cerrado" << Corte::kCorteInvalido;
        TestDatabase::newRow(engine, QStringLiteral("corte de otro almacen"))
            << "otro almacen" << Corte::kCorteInvalido;
        TestDatabase::newRow(engine, QStringLiteral("sin articulos"))
            << "vacia" << GuardaVenta::kSinArticulos;
        TestDatabase::newRow(engine, QStringLiteral("tiempo aire sin tabla"))
            << "tiempo aire" << GuardaVenta::kSinTiempoAire;
    }
}

void tst_GuardaVenta::rechazos()
{
    QFETCH(QString, engine);
    QFETCH(QString, caso);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    pendiente(c, 4);
    EstacionPrueba s(&c, ini());
    enCaja(s, c);
    GuardaVenta g(s.provider, s.config, s.prompter);
    // Lines that move stock before the refused one, a held sale, a credit payment: all of it stays undone.
    DatosVenta d =
        venta({linea(QStringLiteral("LIB"), "3", "10", "16", QStringLiteral("OFERTA")),
               linea(QStringLiteral("EXI"), caso == QLatin1String("existencia") ? "7" : "1", "8", "16"),
               linea(QStringLiteral("LOT"), "1", "9", "16", QStringLiteral("NORMAL"),
                     caso == QLatin1String("lote") ? QStringLiteral("L9") : QStringLiteral("L1"))},
              QStringLiteral("CREDITO"));
    d.pendientes = {clavePendiente(c, 4)};
    const int anio = anioServidor(c);
    if (caso == QLatin1String("sin corte"))
        s.config.setValue(QStringLiteral("CORTE-CAJA"), QString());
    else if (caso == QLatin1String("corte cerrado"))
        s.config.setValue(QStringLiteral("CORTE-CAJA"), QStringLiteral("CAJA1-%1-1").arg(anio));
    else if (caso == QLatin1String("otro almacen"))
        s.config.setValue(QStringLiteral("CORTE-CAJA"), QStringLiteral("CAJA9-%1-1").arg(anio));
    else if (caso == QLatin1String("vacia"))
        d.lineas.clear();
    else if (caso == QLatin1String("tiempo aire"))
        d.tiempoAire = 15;
    const QStringList antes = estado(c);
    QVERIFY(!g.guardaDatos(d));
    QCOMPARE(s.prompter.texts(), QStringList{mensaje});
    QCOMPARE(s.prompter.shown.last().icon, Prompter::Icon::Exclamation);
    QCOMPARE(estado(c), antes);
    QVERIFY(!g.ultimaVenta());
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_GuardaVenta::fallaEnCadaSentencia()
{
    // Whatever statement fails, the database is left as it was: no partial sale, no number drawn.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    pendiente(c, 3);
    c.execute(QStringLiteral(
        "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, precio_Cantidad) "
        "values ('LIB', 'OFERTA', 1, 50)"));
    EstacionPrueba s(&c, ini());
    enCaja(s, c);
    GuardaVenta g(s.provider, s.config, s.prompter);
    DatosVenta d =
        venta({linea(QStringLiteral("LIB"), "3", "10", "16", QStringLiteral("OFERTA")),
               linea(QStringLiteral("LOT"), "1", "9", "0", QStringLiteral("NORMAL"), QStringLiteral("L1")),
               linea(QStringLiteral("COMISION"), "1", "2", "0")});
    d.pagos = {pago(QStringLiteral("EFECTIVO"), "10"), pago(QStringLiteral("CREDITO"), "30")};
    d.pendientes = {clavePendiente(c, 3)};
    d.entrega.tipo = QStringLiteral("DOMICILIO");
    d.entrega.domicilio = true;
    d.entrega.calle = QStringLiteral("Hidalgo 5");
    d.ticket = true;
    const QStringList antes = estado(c);
    int fallas = 0;
    bool ok = false;
    for (int n = 1; n < 300 && !ok; ++n) {
        int vistas = 0;
        c.setStatementHook([&vistas, n](const QString &) {
            if (++vistas == n)
                throw db::DbError(99, QStringLiteral("falla de prueba"), QStringLiteral("prueba"));
        });
        s.prompter.clear();
        ok = g.guardaDatos(d).has_value();
        c.setStatementHook({});
        if (ok)
            break;
        ++fallas;
        QCOMPARE(estado(c), antes);
        // A plain sentence; the database's text only behind "Detalles".
        QCOMPARE(s.prompter.texts(), QStringList{GuardaVenta::kErrorAlGuardar});
        QVERIFY2(s.prompter.shown.last().details.contains(QStringLiteral("falla de prueba")),
                 qPrintable(s.prompter.shown.last().details));
    }
    QVERIFY(ok);
    // Reads, the folio, the header, the lines, the stock calls, the payments, the receivable, the delivery.
    QVERIFY2(fallas >= 20, qPrintable(QString::number(fallas)));
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tVenta")), 1);
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tVentaDetalle")), 3);
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tVentaPago")), 2);
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tCobranza")), 1);
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tVentaEnvioSeguimiento")), 1);
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tVentaPendiente")), 0);
    QCOMPARE(c.scalar(QStringLiteral("select venta_Folio from tVenta")).toLongLong(), 1);
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_GuardaVenta::dosEstaciones()
{
    // Two terminals of one warehouse writing at once: folios never repeat, each cut numbers its own.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    constexpr int kVentas = 8;
    QStringList errores[2];
    const auto estacion = [&](int i) {
        auto conexion = db.openAnother();
        EstacionPrueba s(conexion.get(), ini(QStringLiteral("estacion%1.ini").arg(i)));
        enCaja(s, *conexion, i == 0 ? QStringLiteral("CAJA1") : QStringLiteral("CAJA2"));
        GuardaVenta g(s.provider, s.config, s.prompter);
        for (int n = 0; n < kVentas; ++n)
            if (!g.guardaDatos(venta({linea(QStringLiteral("LIB"), "1", "10", "16"),
                                      linea(QStringLiteral("EXI"), "0.25", "8", "16")},
                                     QStringLiteral("CREDITO"))))
                errores[i] << s.prompter.texts();
    };
    std::thread a(estacion, 0), b(estacion, 1);
    a.join();
    b.join();
    QVERIFY2(errores[0].isEmpty() && errores[1].isEmpty(), qPrintable((errores[0] + errores[1]).join(u'\n')));
    QStringList folios;
    for (int f = 1; f <= 2 * kVentas; ++f)
        folios << QString::number(f);
    QCOMPARE(filas(c, QStringLiteral("select venta_Folio from tVenta order by venta_Folio")), folios);
    for (const char *terminal : {"CAJA1", "CAJA2"}) {
        QStringList numeros;
        for (int n = 1; n <= kVentas; ++n)
            numeros << QString::number(n);
        QStringList leidos;
        for (db::Recordset rs =
                 c.openRecordset(QStringLiteral("select venta_Numero from tVenta where term_Clave = ? "
                                                "order by venta_Numero"),
                                 {QString::fromLatin1(terminal)});
             !rs.eof(); rs.moveNext())
            leidos << rs.value(0).toString();
        QCOMPARE(leidos, numeros);
    }
    QCOMPARE(cuenta(c, QStringLiteral("select count(distinct vpago_Clave) from tVentaPago")), 2 * kVentas);
    QCOMPARE(cuenta(c, QStringLiteral("select count(distinct cob_Clave) from tCobranza")), 2 * kVentas);
    QCOMPARE(filasExistencia(c), (QStringList{"A1|EXI|=1", "A1|LIB|=84", "A1|LOT|L1=8"}));
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_GuardaVenta::limitesDelSnapshot_data()
{
    QTest::addColumn<QString>("expresion");
    QTest::addColumn<QString>("valor"); // empty: "Subscript out of range"
    QTest::newRow("encabezado") << "xVenta.Detalle(0, 0) & xVenta.Detalle(0, 17)"
                                << "ClaveControlInv";
    QTest::newRow("primera linea") << "xVenta.Detalle(1, 0) & \"|\" & xVenta.Detalle(1, 11)"
                                   << "LIB|23.20";
    QTest::newRow("ultima linea") << "xVenta.Detalle(2, 6) & \"|\" & xVenta.Detalle(2, 15)"
                                  << "0.5|OFERTA";
    QTest::newRow("renglones") << "xVenta.Renglones & \"|\" & TypeName(xVenta.Renglones)"
                               << "2|Integer";
    QTest::newRow("pagos") << "xVenta.RenglonesPagos & \"|\" & Left(xVenta.Pagos(1), 7)"
                           << "1|CREDITO";
    QTest::newRow("sin devoluciones") << "xVenta.RenglonesDevoluciones"
                                      << "-1";
    QTest::newRow("dinero") << "TypeName(xVenta.Total) & TypeName(xVenta.IVA) & TypeName(xVenta.Articulos)"
                            << "CurrencyCurrencyCurrency";
    QTest::newRow("total") << "xVenta.Total * 100"
                           << "2785";
    QTest::newRow("folio") << "xVenta.Folio & TypeName(xVenta.Folio)"
                           << "41Long";
    QTest::newRow("origen y entrega") << "xVenta.Origen & \"|\" & xVenta.Entrega"
                                      << "VENTA|MOSTRADOR";
    QTest::newRow("renglon negativo") << "xVenta.Detalle(-1, 0)"
                                      << "";
    QTest::newRow("renglon pasado") << "xVenta.Detalle(3, 0)"
                                    << "";
    QTest::newRow("columna pasada") << "xVenta.Detalle(1, 18)"
                                    << "";
    QTest::newRow("columna negativa") << "xVenta.Detalle(1, -1)"
                                      << "";
    QTest::newRow("pago pasado") << "xVenta.Pagos(2)"
                                 << "";
    QTest::newRow("pago negativo") << "xVenta.Pagos(-1)"
                                   << "";
    QTest::newRow("devolucion") << "xVenta.Devoluciones(0)"
                                << "";
}

void tst_GuardaVenta::limitesDelSnapshot()
{
    QFETCH(QString, expresion);
    QFETCH(QString, valor);
    cVenta v;
    QVERIFY(!v.isLoad());
    cVenta::Datos d;
    d.entrega = QStringLiteral("MOSTRADOR");
    d.lineas = {linea(QStringLiteral("LIB"), "2", "10", "16"),
                linea(QStringLiteral("EXI"), "0.5", "8", "0", QStringLiteral("OFERTA"))};
    d.total = Decimal("27.85");
    d.iva = Decimal("3.2");
    d.articulos = Decimal("2.5");
    d.pagos = {pago(QStringLiteral("EFECTIVO"), "10").texto(),
               pago(QStringLiteral("CREDITO"), "17.85").texto()};
    d.folio = 41;
    v.load(d);
    QVERIFY(v.isLoad());
    vbs::Engine engine;
    engine.addObject(QStringLiteral("xVenta"), &v);
    bool ok = false;
    const QVariant r = engine.eval(expresion, &ok);
    if (valor.isEmpty()) {
        QVERIFY(!ok);
        QCOMPARE(engine.lastError().number, 9);
        return;
    }
    QVERIFY2(ok, qPrintable(engine.errorText()));
    QCOMPARE(r.toString(), valor);
}

void tst_GuardaVenta::eventoDelTicket()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ini(QStringLiteral("inicial.ini")));
    // The ticket script reads the snapshot; a bad index ends it with a script error, not a crash.
    c.execute(
        QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) values "
                       "('OnTicketPrint', 'Ticket', ?, 'S'), ('OnNotePrint', 'Nota', 'Echo \"nota\"', 'N')"),
        {QStringLiteral(
            "Echo xVenta.Folio & \"|\" & xVenta.Renglones & \"|\" & xVenta.Detalle(2, 0) & \"|\" & "
            "xVenta.Origen & \"|\" & xVenta.Entrega\n"
            "xVenta.Name = \"ticket\"\n"
            "On Error Resume Next\n"
            "x = xVenta.Detalle(3, 0)\n"
            "Echo Err.Number\n"
            "On Error GoTo 0\n"
            "x = xVenta.Pagos(5)\n"
            "Echo \"no llega\"\n")});
    EstacionPrueba s(&c, ini());
    enCaja(s, c);
    QStringList eco;
    cCode code(s.provider, s.config, s.prompter);
    code.setEchoSink([&eco](const QString &t) { eco << t; });
    GuardaVenta g(s.provider, s.config, s.prompter, &code);
    QList<GuardaVenta::Impresion> impresiones;
    g.setImprime([&](const VentaGuardada &v, const DatosVenta &, cVenta &snapshot,
                     const GuardaVenta::Impresion &i) {
        // Printing comes after the commit: the sale is in the database already.
        QCOMPARE(
            c.scalar(QStringLiteral("select count(*) from tVenta where venta_Folio = ?"), {v.folio}).toInt(),
            1);
        QCOMPARE(snapshot.folio(), int(v.folio));
        impresiones << i;
    });
    DatosVenta d =
        venta({linea(QStringLiteral("LIB"), "1", "10", "16"), linea(QStringLiteral("EXI"), "1", "8", "16")});
    d.ticket = true;
    d.nota = true;
    const auto v = g.guardaDatos(d);
    QVERIFY(v);
    QCOMPARE(eco, (QStringList{"1|2|EXI|VENTA|MOSTRADOR", "9"}));
    QVERIFY(code.lastError().contains(QStringLiteral("Subscript out of range")));
    QCOMPARE(impresiones.size(), 1);
    QVERIFY(impresiones[0].ticketPorScript);
    QVERIFY(!impresiones[0].notaPorScript); // inactive script: the built-in note prints
    QCOMPARE(g.ultimaVenta()->name(), QStringLiteral("ticket"));
    QCOMPARE(g.ultimaVenta()->totalDecimal(), d.totales.total);
    QCOMPARE(cuenta(c, QStringLiteral("select count(*) from tVenta")), 1);

    // Without a ticket the script does not run.
    eco.clear();
    QVERIFY(g.guardaDatos(venta({linea(QStringLiteral("LIB"), "1", "10", "16")})));
    QVERIFY(eco.isEmpty());
    QCOMPARE(impresiones.size(), 2);
    QVERIFY(!impresiones[1].ticketPorScript);
}

QTEST_GUILESS_MAIN(tst_GuardaVenta)
#include "tst_guarda_venta.moc"
