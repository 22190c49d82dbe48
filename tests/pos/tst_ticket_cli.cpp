// `mostrador-admin ticket reprint`: a written sale's ticket to a file or a network printer, the
// same bytes the program prints, on both engines.
#include "../printing/ImpresoraRed.h"
#include "AdminRun.h"
#include "ImpresoraPrueba.h"
#include "PuestoVenta.h"

#include "Log.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

class tst_TicketCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reimprime_data() { TestDatabase::addEngineRows(); }
    void reimprime();
    void argumentos_data();
    void argumentos();
};

void tst_TicketCli::reimprime()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    QTemporaryDir dir;
    const QString logDir = dir.path();
    Log::setDirectoryProvider([logDir] { return logDir; });
    preparaMostrador(c, dir.filePath(QStringLiteral("inicial.ini")));
    encabezadosTicket(c);
    EstacionPrueba s(&c, dir.filePath(QStringLiteral("Mostrador.ini")));
    enCaja(s, c);
    GuardaVenta g(s.provider, s.config, s.prompter);
    DatosVenta d = venta({linea(QStringLiteral("LIB"), "2", "10", "16"),
                          linea(QStringLiteral("EXI"), "1", "8", "16", QStringLiteral("OFERTA"))});
    d.lineas[1].descuento = Decimal(25);
    CalculoVenta::calculaLinea(d.lineas[1], ReglaRedondeo{});
    const auto v = g.guardaDatos(d);
    QVERIFY(v);

    // What the program prints for that sale with the stored configuration (the defaults).
    const QString esperado = dir.filePath(QStringLiteral("esperado.bin"));
    s.config.setValue(QStringLiteral("IMPRESORA-EN-LINEA"), true);
    s.config.setValue(QStringLiteral("IMPRESORA-DIRECTO-A-PUERTO"), true);
    s.config.setValue(QStringLiteral("IMPRESORA-PUERTO"), esperado);
    s.config.setValue(QStringLiteral("IMPRIME-ABRE-CAJON"), false);
    cString cadenas(&s.config);
    cTicketPrinter p(s.provider, s.config, cadenas);
    p.cargaValoresReportes();
    QVERIFY(p.imprimeTicket(*TicketVenta::lee(c, QStringLiteral("A1"), v->folio)));
    const QByteArray bytes = leeArchivo(esperado);
    QVERIFY(bytes.contains("    FARMACIA SAN JOS\x90, S.A.\n"));
    QVERIFY(bytes.contains(" PUB\n"));

    const QString archivo = dir.filePath(QStringLiteral("reimpreso.bin"));
    const QStringList base = {QStringLiteral("ticket"), QStringLiteral("reprint"), QStringLiteral("--folio"),
                              QString::number(v->folio), QStringLiteral("--connection"), db.connectionString()};
    AdminRun r = runAdmin(QStringLiteral(MDR_ADMIN_PATH), base + QStringList{"--to", "file:" + archivo});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(leeArchivo(archivo), bytes);

    ImpresoraRed red;
    r = runAdmin(QStringLiteral(MDR_ADMIN_PATH), base + QStringList{"--to", red.destino(), "--warehouse", "A1"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(red.termina());
    QCOMPARE(red.recibido(), bytes);

    // A system printer through Qt Print Support; "pdf:" writes what it would print.
    const QString pdf = dir.filePath(QStringLiteral("ticket.pdf"));
    r = runAdmin(QStringLiteral(MDR_ADMIN_PATH), base + QStringList{"--to", "printer:pdf:" + pdf});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(leeArchivo(pdf).startsWith("%PDF"));
    r = runAdmin(QStringLiteral(MDR_ADMIN_PATH), base + QStringList{"--to", "printer:NO-EXISTE-EN-CUPS"});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("La impresora «NO-EXISTE-EN-CUPS» no está instalada")), qPrintable(r.err));

    // A printer that is not there: exit code 1 and the reason; no folio: exit code 1.
    QTcpServer libre;
    QVERIFY(libre.listen(QHostAddress::LocalHost, 0));
    const QString cerrado = QStringLiteral("tcp:127.0.0.1:") + QString::number(libre.serverPort());
    libre.close();
    r = runAdmin(QStringLiteral(MDR_ADMIN_PATH), base + QStringList{"--to", cerrado});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("no recibió el documento")), qPrintable(r.err));
    r = runAdmin(QStringLiteral(MDR_ADMIN_PATH), {"ticket", "reprint", "--folio", "424242", "--connection",
                                                  db.connectionString(), "--to", "file:" + archivo});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("No existe una venta con el folio 424242")));
}

void tst_TicketCli::argumentos_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("folio no numerico") << QStringList{"--folio", "abc", "--connection", "x", "--to", "file:/tmp/x"}
                                       << "El folio debe ser un número mayor que cero";
    QTest::newRow("destino desconocido") << QStringList{"--folio", "1", "--connection", "x", "--to", "lpt1"}
                                         << "El destino debe ser file:RUTA, tcp:HOST:PUERTO o printer:NOMBRE";
}

void tst_TicketCli::argumentos()
{
    QFETCH(QStringList, args);
    QFETCH(QString, mensaje);
    const AdminRun r = runAdmin(QStringLiteral(MDR_ADMIN_PATH), QStringList{"ticket", "reprint"} + args);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(mensaje), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(tst_TicketCli)
#include "tst_ticket_cli.moc"
