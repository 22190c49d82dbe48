// The report run-time: banding with groups, summaries and formulas into page logs (golden),
// the edge cases of pagination, and the guards that keep summaries from counting a row twice.
#include "EjecucionReporte.h"
#include "TestDatabase.h"
#include "VentasPrueba.h"
#include "cPrintObjects.h"

#include "Decimal.h"

#include <QtTest>

using namespace ventas_prueba;

class tst_easy_report : public QObject {
    Q_OBJECT
private slots:
    void paginasDelReporte_data() { TestDatabase::addEngineRows(); }
    void paginasDelReporte();
    void sinFilas_data() { TestDatabase::addEngineRows(); }
    void sinFilas();
    void detalleQueNoCabe_data() { TestDatabase::addEngineRows(); }
    void detalleQueNoCabe();
    void cadaFilaSeSumaUnaVez_data();
    void cadaFilaSeSumaUnaVez();
    void paginasEnArchivos_data() { TestDatabase::addEngineRows(); }
    void paginasEnArchivos();
    void parametroFaltante_data() { TestDatabase::addEngineRows(); }
    void parametroFaltante();
    void errorEnOnPrint_data() { TestDatabase::addEngineRows(); }
    void errorEnOnPrint();
};

void tst_easy_report::paginasDelReporte()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection());
    EjecucionReporte p(&db.connection());
    diaCompleto(*p.report);
    QString error;
    QVERIFY2(p.report->configureScript(QString::fromUtf8(kPrograma), &error), qPrintable(error));
    QVERIFY(p.report->printReport());
    QCOMPARE(p.report->pageCount(), 1);
    QVERIFY(p.report->composeUntil(99) == false);
    QVERIFY(p.report->finished());
    QVERIFY2(p.report->errors().isEmpty(), qPrintable(p.report->errors().join(u'\n')));
    // The same pages on both engines, and the same as the file read and approved.
    QVERIFY(comparaGoldenReporte(QStringLiteral("ventas-por-departamento.log"), p.paginas()));

    // What the file shows, asserted: the day's rows only, both edges included.
    QCOMPARE(p.report->object(QStringLiteral("Cuenta"))->Value().toString(), QStringLiteral("17"));
    const Decimal dia =
        suma(db.connection(), QStringLiteral("fecha >= ? and fecha <= ?"),
             {QDateTime(QDate(2026, 12, 7), QTime(0, 0)), QDateTime(QDate(2026, 12, 7), QTime(23, 59, 59))});
    QCOMPARE(Decimal(p.report->object(QStringLiteral("GranTotal"))->Value().toString()), dia);
    QStringList todos;
    for (int i = 1; i <= p.report->pageCount(); ++i)
        todos << p.textos(i);
    QVERIFY(!todos.contains(QStringLiteral("Ayer")));
    QVERIFY(!todos.contains(QStringLiteral("Mañana")));
    QVERIFY(todos.contains(QStringLiteral("Zarzamora")));
    QVERIFY(todos.contains(QStringLiteral("Aceite 1 l")));
    // Each line's and department's total is printed with that group's own sum, including the
    // summary that waited for the next page.
    for (const auto &[grupo, campo] : {std::pair{QStringLiteral("ACEITES"), QStringLiteral("linea")},
                                       std::pair{QStringLiteral("GRANOS"), QStringLiteral("linea")},
                                       std::pair{QStringLiteral("AGUAS"), QStringLiteral("linea")},
                                       std::pair{QStringLiteral("REFRESCOS"), QStringLiteral("linea")},
                                       std::pair{QStringLiteral("ABARROTES"), QStringLiteral("depto")},
                                       std::pair{QStringLiteral("BEBIDAS"), QStringLiteral("depto")}}) {
        const Decimal total =
            suma(db.connection(), campo + QStringLiteral(" = ? and fecha >= ? and fecha <= ?"),
                 {grupo, QDateTime(QDate(2026, 12, 7), QTime(0, 0)),
                  QDateTime(QDate(2026, 12, 7), QTime(23, 59, 59))});
        QVERIFY2(todos.contains(p.strings.FormatToString(total.toQVariant(), QStringLiteral("#,##0.00"))),
                 qPrintable(grupo));
    }
    // Every page numbered in its header and its footer, the page that starts with the summary
    // that waited for it too.
    for (int i = 1; i <= p.report->pageCount(); ++i) {
        QVERIFY2(p.textos(i).contains(QStringLiteral("Pagina %1").arg(i)), qPrintable(QString::number(i)));
        QVERIFY2(p.textos(i).contains(QStringLiteral("Hoja %1").arg(i)), qPrintable(QString::number(i)));
    }
    // One compiled procedure per formula text, however many rows ran.
    QCOMPARE(p.report->compiledFormulas(), 9);
}

void tst_easy_report::sinFilas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection());
    EjecucionReporte p(&db.connection());
    p.report->setParam(QStringLiteral("Fecha"), QStringLiteral("01/01/2020 00:00:00"),
                       QStringLiteral("01/01/2020 23:59:59"), QStringLiteral("F"));
    QVERIFY(p.report->configureScript(QString::fromUtf8(kPrograma)));
    QVERIFY(p.report->printReport());
    // The first page is numbered and left blank: no row, no header.
    QCOMPARE(p.report->pageCount(), 1);
    QVERIFY(p.report->pageLog(1).empty());
    QVERIFY(p.report->finished());
    QVERIFY(!p.report->composeNext());
    QCOMPARE(p.report->pageCount(), 1);
}

void tst_easy_report::detalleQueNoCabe()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection());
    EjecucionReporte p(&db.connection());
    diaCompleto(*p.report);
    QVERIFY(p.report->configureScript(QString::fromUtf8(kPrograma) +
                                      QStringLiteral("\r\nxRpt.getObject(\"articulo\").Height = 40\r\n")));
    p.prompter.answers.enqueue(false); // the question about the error list
    QVERIFY(p.report->printReport());
    // A band that cannot hold two rows prints none, and the report stops instead of making
    // empty pages for ever.
    QVERIFY(p.report->finished());
    QCOMPARE(p.report->pageCount(), 1);
    const QStringList textos = p.textos(1);
    QVERIFY(textos.contains(QStringLiteral("Ventas por departamento")));
    QVERIFY(!textos.contains(QStringLiteral("Aceite 1 l")));
    QCOMPARE(p.report->errors().size(), 1);
    QVERIFY(
        p.report->errors().first().startsWith(QStringLiteral("La sección de detalle no cabe en la página")));
    QCOMPARE(p.prompter.texts().value(0),
             QStringLiteral("Ocurrieron errores en la impresion, desea ver la lista de errores"));
}

void tst_easy_report::cadaFilaSeSumaUnaVez_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("alto"); // page height: from many pages to a single one
    for (const QString &e : TestDatabase::engines())
        for (int alto : {40, 55, 100, 400})
            TestDatabase::newRow(e, QStringLiteral("alto %1").arg(alto)) << alto;
}

void tst_easy_report::cadaFilaSeSumaUnaVez()
{
    QFETCH(QString, engine);
    QFETCH(int, alto);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection(), 7);
    EjecucionReporte p(&db.connection());
    diaCompleto(*p.report);
    QVERIFY(p.report->configureScript(QString::fromUtf8(kPrograma) +
                                      QStringLiteral("\r\nxRpt.UserPageHeight = %1\r\n").arg(alto)));
    QVERIFY(p.report->printReport());
    p.report->composeUntil(100000);
    QVERIFY(p.report->finished());
    QVERIFY(p.report->errors().isEmpty());
    if (alto < 100)
        QVERIFY(p.report->pageCount() > 5);
    // The row that starts a page and the end-of-page refresh are counted once.
    const QVariantList dia{QDateTime(QDate(2026, 12, 7), QTime(0, 0)),
                           QDateTime(QDate(2026, 12, 7), QTime(23, 59, 59))};
    QCOMPARE(p.report->object(QStringLiteral("Cuenta"))->Value().toString(), QStringLiteral("119"));
    QCOMPARE(Decimal(p.report->object(QStringLiteral("GranTotal"))->Value().toString()),
             suma(db.connection(), QStringLiteral("fecha >= ? and fecha <= ?"), dia));
    // The running total of the last row equals the grand total.
    QCOMPARE(p.report->object(QStringLiteral("Acumulado"))->Value().toString(),
             p.report->object(QStringLiteral("GranTotal"))->Value().toString());
}

void tst_easy_report::paginasEnArchivos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection(), 3);
    EjecucionReporte enMemoria(&db.connection());
    EjecucionReporte enArchivos(&db.connection(), 2);
    for (EjecucionReporte *p : {&enMemoria, &enArchivos}) {
        diaCompleto(*p->report);
        QVERIFY(p->report->configureScript(QString::fromUtf8(kPrograma)));
        QVERIFY(p->report->printReport());
        p->report->composeUntil(1000);
    }
    QVERIFY(enArchivos.report->pageCount() >= 5);
    QCOMPARE(enArchivos.report->pagesInMemory(), 2);
    QVERIFY(enMemoria.report->pagesInMemory() == enMemoria.report->pageCount());
    // A page read back from its file is the page as composed.
    QCOMPARE(enArchivos.paginas(), enMemoria.paginas());
}

void tst_easy_report::parametroFaltante()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection());
    EjecucionReporte p(&db.connection());
    QVERIFY(p.report->configureScript(QString::fromUtf8(kPrograma)));
    QVERIFY(!p.report->printReport());
    QCOMPARE(p.prompter.texts(), QStringList{QStringLiteral("Parametro no encontrado [Fecha]")});
    QCOMPARE(p.report->pageCount(), 0);
}

void tst_easy_report::errorEnOnPrint()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection());
    EjecucionReporte p(&db.connection());
    diaCompleto(*p.report);
    QVERIFY(p.report->configureScript(
        QString::fromUtf8(kPrograma) +
        QStringLiteral("\r\nxRpt.getObject(\"Marca\").onPrintFormula = \"x = [NoExiste]\"\r\n"
                       "xRpt.getObject(\"Acumulado\").Formula = \"[Fantasma] + 1\"\r\n")));
    p.prompter.answers.enqueue(false);
    QVERIFY(p.report->printReport());
    p.report->composeUntil(100);
    // The mark is not printed and its error is listed; a formula naming nothing keeps its value.
    QVERIFY(!p.report->errors().isEmpty());
    QCOMPARE(p.report->errors().first(), QStringLiteral("onPrintFormula: Formula no encontrada: [NoExiste]"));
    QVERIFY(!p.textos(1).contains(QStringLiteral("*")));
    QCOMPARE(p.report->object(QStringLiteral("Acumulado"))->Value().toString(), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(tst_easy_report)
#include "tst_easy_report.moc"
