// Printing after a sale: which documents, the scripts that take their place, the reprint
// questions, the reprint of a written sale, and printers that fail without costing the sale.
#include "../printing/ImpresoraRed.h"
#include "ImpresoraPrueba.h"
#include "PuestoVenta.h"

#include "ImpresionTicket.h"
#include "Log.h"
#include "TestDatabase.h"
#include "cCode.h"
#include "cVenta.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The counter with a printer: writer, printer and its after-sale step wired as the sale window
// wires them.
struct Mostrador {
    Mostrador(db::Connection &c, const QString &ini, const QString &archivo, cCode *code = nullptr)
        : s(&c, ini), cadenas(&s.config), impresora(s.provider, s.config, cadenas),
          impresion(impresora, s.config, s.prompter, code), guarda(s.provider, s.config, s.prompter, code)
    {
        enCaja(s, c);
        configuraImpresora(s.config, archivo, archivo + QStringLiteral(".nota"));
        s.config.setValue(QStringLiteral("IMPRIME-ABRE-CAJON"), false);
        s.config.setValue(QStringLiteral("IMPRIME-CORTE-DE-PAGINA"), false);
        s.config.setValue(QStringLiteral("IMPRESORA-ESPERA-RED"), 400);
        impresion.conecta(guarda);
    }
    EstacionPrueba s;
    cString cadenas;
    cTicketPrinter impresora;
    ImpresionTicket impresion;
    GuardaVenta guarda;
};

DatosVenta ventaConTicket()
{
    DatosVenta d = venta({linea(QStringLiteral("LIB"), "2", "10", "16"), linea(QStringLiteral("EXI"), "1", "8", "16")});
    d.ticket = true;
    return d;
}

} // namespace

class tst_ImpresionVenta : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void eleccion_data();
    void eleccion();
    void ticketSegunImporte_data();
    void ticketSegunImporte();
    void impresoraFalla_data();
    void impresoraFalla();
    void reimpresion_data() { TestDatabase::addEngineRows(); }
    void reimpresion();
    void porScript_data() { TestDatabase::addEngineRows(); }
    void porScript();
    void corteLeidoEImpreso_data() { TestDatabase::addEngineRows(); }
    void corteLeidoEImpreso();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ruta(const char *n) const { return m_dir->filePath(QString::fromLatin1(n)); }
};

void tst_ImpresionVenta::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_ImpresionVenta::eleccion_data()
{
    QTest::addColumn<bool>("ticket");
    QTest::addColumn<bool>("nota");
    QTest::addColumn<bool>("factura");
    QTest::addColumn<QStringList>("opciones"); // configuration flags turned on
    QTest::addColumn<bool>("imprimeTicket");
    QTest::addColumn<bool>("imprimeNota");
    QTest::newRow("nada") << false << false << false << QStringList{} << false << false;
    QTest::newRow("ticket") << true << false << false << QStringList{} << true << false;
    QTest::newRow("nota sola") << false << true << false << QStringList{} << false << true;
    QTest::newRow("ticket con la nota") << false << true << false << QStringList{"IMPRIMIR-TICKET-EN-NOTA"} << true
                                        << true;
    QTest::newRow("factura sin opciones") << false << false << true << QStringList{} << false << false;
    QTest::newRow("ticket con la factura") << false << false << true << QStringList{"IMPRIMIR-TICKET-EN-FACTURA"}
                                           << true << false;
    QTest::newRow("nota con la factura") << false << false << true << QStringList{"IMPRIMIR-NOTA-EN-FACTURA"}
                                         << false << true;
}

void tst_ImpresionVenta::eleccion()
{
    QFETCH(bool, ticket);
    QFETCH(bool, nota);
    QFETCH(bool, factura);
    QFETCH(QStringList, opciones);
    QFETCH(bool, imprimeTicket);
    QFETCH(bool, imprimeNota);
    FixedConnectionProvider ninguna(nullptr);
    ScriptedPrompter prompter;
    SettingsStore settings(ruta("Mostrador.ini"));
    cConfigure config(ninguna, settings, prompter);
    for (const QString &o : opciones)
        config.setValue(o, true);
    DatosVenta d;
    d.ticket = ticket;
    d.nota = nota;
    d.factura = factura;
    const auto docs = ImpresionTicket::eligeDocumentos(d, config);
    QCOMPARE(docs.ticket, imprimeTicket);
    QCOMPARE(docs.nota, imprimeNota);
}

void tst_ImpresionVenta::ticketSegunImporte_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("minimo");
    QTest::addColumn<double>("importeMinimo");
    QTest::addColumn<bool>("simple");
    QTest::addColumn<double>("importeSimple");
    QTest::addColumn<QString>("forma"); // "" none, "simple", "completo"
    // The sale totals 32.48 (2 × 11.60 + 9.28, tax included).
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "sin reglas") << false << 0.0 << false << 0.0 << "completo";
        TestDatabase::newRow(e, "bajo el minimo: sin ticket") << true << 50.0 << false << 0.0 << "";
        TestDatabase::newRow(e, "justo en el minimo") << true << 32.48 << false << 0.0 << "completo";
        TestDatabase::newRow(e, "bajo el importe simple") << false << 0.0 << true << 100.0 << "simple";
        TestDatabase::newRow(e, "en el importe simple: completo") << false << 0.0 << true << 32.48 << "completo";
    }
}

void tst_ImpresionVenta::ticketSegunImporte()
{
    QFETCH(QString, engine);
    QFETCH(bool, minimo);
    QFETCH(double, importeMinimo);
    QFETCH(bool, simple);
    QFETCH(double, importeSimple);
    QFETCH(QString, forma);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ruta("inicial.ini"));
    encabezadosTicket(c);
    const QString archivo = ruta("ticket.bin");
    Mostrador m(c, ruta("Mostrador.ini"), archivo);
    m.s.config.setValue(QStringLiteral("TICKET-MINIMO"), minimo);
    m.s.config.setValue(QStringLiteral("TICKET-MINIMO-IMPORTE"), importeMinimo);
    m.s.config.setValue(QStringLiteral("TICKET-SIMPLE"), simple);
    m.s.config.setValue(QStringLiteral("TICKET-SIMPLE-IMPORTE-MINIMO"), importeSimple);
    const DatosVenta d = ventaConTicket();
    QCOMPARE(d.totales.total, Decimal("32.48"));
    const auto v = m.guarda.guardaDatos(d);
    QVERIFY(v);
    QCOMPARE(m.impresion.ticketImpreso(), !forma.isEmpty());
    const QString texto = m.impresora.ultimoDocumento().textoPlano();
    if (forma.isEmpty())
        QVERIFY(!QFile::exists(archivo));
    else if (forma == u"simple")
        QVERIFY(texto.startsWith(QStringLiteral("FOLIO     #")));
    else
        QVERIFY(texto.startsWith(QStringLiteral("    FARMACIA SAN JOSÉ")));
    QVERIFY(m.s.prompter.shown.isEmpty());
}

void tst_ImpresionVenta::impresoraFalla_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<int>("modo"); // -1: nothing listens
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "puerto cerrado") << -1;
        TestDatabase::newRow(e, "corta a la mitad") << int(ImpresoraRed::Modo::CortaALaMitad);
        TestDatabase::newRow(e, "deja de leer") << int(ImpresoraRed::Modo::DejaDeLeer);
    }
}

void tst_ImpresionVenta::impresoraFalla()
{
    QFETCH(QString, engine);
    QFETCH(int, modo);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ruta("inicial.ini"));
    std::unique_ptr<ImpresoraRed> red;
    QString destino;
    if (modo < 0) {
        QTcpServer libre;
        QVERIFY(libre.listen(QHostAddress::LocalHost, 0));
        destino = QStringLiteral("tcp:127.0.0.1:") + QString::number(libre.serverPort());
    } else {
        // Two attempts reach it: the sale's and the cashier's retry.
        red = std::make_unique<ImpresoraRed>(ImpresoraRed::Modo(modo), 2);
        destino = red->destino();
    }
    Mostrador m(c, ruta("Mostrador.ini"), destino);
    m.s.prompter.answers << true << false; // try again, then give up
    const auto v = m.guarda.guardaDatos(ventaConTicket());
    QVERIFY(v);
    // The sale is whole in the database whatever the printer did.
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVenta where venta_Folio = ?"), {v->folio}).toInt(), 1);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVentaDetalle where venta_Folio = ?"), {v->folio}).toInt(),
             2);
    QVERIFY(!m.impresion.ticketImpreso());
    QCOMPARE(m.s.prompter.shown.size(), 2);
    for (const auto &q : m.s.prompter.shown) {
        QCOMPARE(q.icon, Prompter::Icon::Question);
        QVERIFY(!q.defaultYes);
        QVERIFY2(q.text.startsWith(QStringLiteral("La impresora 127.0.0.1:")), qPrintable(q.text));
        QVERIFY(q.text.contains(QStringLiteral("La venta quedó guardada con el folio ") + QString::number(v->folio)));
        QVERIFY(q.text.endsWith(QStringLiteral("¿Desea intentar imprimir el ticket de nuevo?")));
    }
    QVERIFY(m.s.prompter.drained());
    // The next sale goes on as usual.
    m.s.prompter.answers << false;
    QVERIFY(m.guarda.guardaDatos(ventaConTicket()));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVenta")).toInt(), 2);
}

void tst_ImpresionVenta::reimpresion()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ruta("inicial.ini"));
    encabezadosTicket(c);
    ImpresoraRed red(ImpresoraRed::Modo::Completa, 3);
    Mostrador m(c, ruta("Mostrador.ini"), red.destino());
    m.s.config.setValue(QStringLiteral("PREGUNTA-REIMPRESION"), true);
    m.s.prompter.answers << true << false; // once more, then no
    DatosVenta d = ventaConTicket();
    d.lineas[0].referencia = QStringLiteral("RECETA 4471");
    const auto v = m.guarda.guardaDatos(d);
    QVERIFY(v);
    QCOMPARE(m.s.prompter.texts(), (QStringList{ImpresionTicket::kReimprimeRecibo, ImpresionTicket::kReimprimeRecibo}));
    QVERIFY(m.impresion.ticketImpreso());
    const QString alVender = m.impresora.ultimoDocumento().textoPlano();

    // The reprint reads the sale back and prints the same ticket.
    m.s.prompter.clear();
    m.s.config.setValue(QStringLiteral("PREGUNTA-REIMPRESION"), false);
    m.s.prompter.inputs << QString::number(v->folio);
    QVERIFY(m.impresion.reimprimeVenta());
    QCOMPARE(m.impresora.ultimoDocumento().textoPlano(), alVender);
    QVERIFY(red.termina());
    const QByteArray todo = red.recibido();
    QCOMPARE(todo.size() % 3, 0);
    const QByteArray uno = todo.left(todo.size() / 3);
    QCOMPARE(todo, uno + uno + uno);
    QVERIFY(uno.contains("RECETA 4471"));

    // A folio that does not exist is told, nothing printed.
    m.s.prompter.inputs << QStringLiteral("999999");
    QVERIFY(!m.impresion.reimprimeVenta());
    QCOMPARE(m.s.prompter.last(), QStringLiteral("No existe una venta con el folio 999999"));
}

void tst_ImpresionVenta::porScript()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ruta("inicial.ini"));
    // The store's own ticket, through the printer the scripts see.
    c.execute(QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) values "
                             "('OnTicketPrint', 'Ticket', ?, 'S')"),
              {QStringLiteral("xTicketPrinter.iniciaImpresionImpresoraRecibos\n"
                              "xTicketPrinter.imprimeLinea \"MI TICKET \" & xVenta.Folio\n"
                              "xTicketPrinter.imprimeLinea \"Cañas: \" & xTicketPrinter.TotEncabezado\n"
                              "xTicketPrinter.imprimeCodigoBarras CStr(xVenta.Folio)\n"
                              "xTicketPrinter.terminaImpresion\n")});
    const QString archivo = ruta("ticket.bin");
    cTicketPrinter *visto = nullptr;
    std::unique_ptr<Mostrador> m;
    EstacionPrueba s(&c, ruta("scripts.ini"));
    cCode code(s.provider, s.config, s.prompter, [&] {
        ScriptObjects o;
        o.add(QStringLiteral("xTicketPrinter"), QVariant::fromValue<QObject *>(visto));
        return o;
    });
    m = std::make_unique<Mostrador>(c, ruta("Mostrador.ini"), archivo, &code);
    visto = &m->impresora;
    const auto v = m->guarda.guardaDatos(ventaConTicket());
    QVERIFY(v);
    QVERIFY2(code.lastError().isEmpty(), qPrintable(code.lastError()));
    QVERIFY(m->impresion.ticketImpreso());
    QCOMPARE(m->impresora.ultimoDocumento().textoPlano(),
             QStringLiteral("MI TICKET %1\nCañas: 0\n<CODIGO DE BARRAS %1>\n").arg(v->folio));
    QVERIFY(leeArchivo(archivo).contains("Ca\xA4" "as: 0\n"));
}

void tst_ImpresionVenta::corteLeidoEImpreso()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, ruta("inicial.ini"));
    const int anio = anioServidor(c);
    // A closed cut as the closing leaves it: its movements, a sale, the cash received.
    c.execute(QStringLiteral("insert into tConcepto (concepto_Clave, concepto_Nombre, concepto_Signo) values "
                             "('GAS', 'GASOLINA', '-')"));
    c.execute(QStringLiteral("insert into tMovCaja (alm_Clave, term_Clave, corte_Anio, corte_Numero, movc_Clave, "
                             "concepto_Clave, concepto_Nombre, movc_Importe, movc_Fecha, usu_Clave) values "
                             "('A1', 'CAJA1', ?, 1, 1, 'EFEC_APORTACION', 'IMPORTE INICIAL', 500, getdate(), 'ADMIN'), "
                             "('A1', 'CAJA1', ?, 1, 2, 'GAS', 'GASOLINA', 120.5, getdate(), 'ADMIN'), "
                             "('A1', 'CAJA1', ?, 1, 3, 'VENTAS', 'VENTAS', 300, getdate(), 'ADMIN'), "
                             "('A1', 'CAJA1', ?, 1, 4, 'DEVOLUCIONES', 'DEVOLUCIONES', 0, getdate(), 'ADMIN')"),
              {anio, anio, anio, anio});
    c.execute(QStringLiteral("insert into tCorteTipoPago (alm_Clave, term_Clave, corte_Anio, corte_Numero, "
                             "tpago_Clave, cortetp_Importe) values ('A1', 'CAJA1', ?, 1, 'EFECTIVO', 679.5)"),
              {anio});
    const auto corte = CorteTicket::lee(c, QStringLiteral("A1"), QStringLiteral("CAJA1"), anio, 1);
    QVERIFY(corte);
    QVERIFY(!CorteTicket::lee(c, QStringLiteral("A1"), QStringLiteral("CAJA1"), anio, 99));
    QCOMPARE(corte->movimientos.size(), 4);
    QCOMPARE(corte->ingresos(), Decimal(800));
    QCOMPARE(corte->egresos(), Decimal("120.5"));
    QCOMPARE(corte->efectivoContado(), Decimal("679.5"));
    const auto mov = MovimientoCajaTicket::lee(c, QStringLiteral("A1"), QStringLiteral("CAJA1"), anio, 1, 2);
    QVERIFY(mov);
    QCOMPARE(mov->concepto, QStringLiteral("GASOLINA"));

    // The report prints, the reprint question comes after it; a failing printer asks to retry.
    const QString archivo = ruta("corte.bin");
    Mostrador m(c, ruta("Mostrador.ini"), archivo);
    m.s.prompter.answers << false;
    QVERIFY(m.impresion.imprimeCorte(*corte));
    QCOMPARE(m.s.prompter.texts(), QStringList{QStringLiteral("Desea volver a imprimir el corte de caja")});
    const QString texto = m.impresora.ultimoDocumento().textoPlano();
    QVERIFY(texto.contains(QStringLiteral("GASOLINA               -$    120.50\n")));
    QVERIFY(texto.contains(QStringLiteral("=== TOTAL            $    679.50\n")));
    QVERIFY(texto.contains(QStringLiteral("EFECTIVO      $     679.50\n")));
    m.s.config.setValue(QStringLiteral("IMPRESORA-PUERTO"), ruta("no/hay/carpeta.bin"));
    m.s.prompter.clear();
    m.s.prompter.answers << false;
    QVERIFY(!m.impresion.imprimeMovimiento(*mov));
    QVERIFY(m.s.prompter.last().endsWith(
        QStringLiteral("El movimiento 2 quedó guardado.\n¿Desea intentar imprimir el movimiento de caja de nuevo?")));
}

QTEST_GUILESS_MAIN(tst_ImpresionVenta)
#include "tst_impresion_venta.moc"
