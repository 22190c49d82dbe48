// The preview window by keyboard: pages composed as they are asked for, the page box, and the
// print dialog's refusals reaching the field to correct.
#include "EjecucionReporte.h"
#include "TestDatabase.h"
#include "VentasPrueba.h"
#include "frmShowPrinter.h"
#include "frmerReport.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

using namespace ventas_prueba;

class tst_reporte_vista : public QObject {
    Q_OBJECT
private slots:
    void navegacion_data() { TestDatabase::addEngineRows(); }
    void navegacion();
    void dialogoDeImpresion();
};

void tst_reporte_vista::navegacion()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    creaVentas(db.connection(), 3);
    EjecucionReporte p(&db.connection());
    frmerReport ventana(*p.report, p.prompter);
    ventana.show();
    ventana.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    QVERIFY(ventana.cargaReporteParametros(QString::fromUtf8(kPrograma),
                                           {{QStringLiteral("Fecha"), QStringLiteral("07/12/2026 00:00:00"),
                                             QStringLiteral("07/12/2026 23:59:59"), QStringLiteral("F")}}));
    // Only the first page is composed until another is asked for.
    QCOMPARE(ventana.paginaMostrada(), 1);
    QCOMPARE(p.report->pageCount(), 1);
    QCOMPARE(ventana.lblPagina->text(), QStringLiteral("de 1+"));
    QVERIFY(!ventana.imagenPagina().isNull());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QCOMPARE(ventana.paginaMostrada(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QCOMPARE(ventana.paginaMostrada(), 5);
    QCOMPARE(ventana.lblPagina->text(), QStringLiteral("de 5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown); // past the last page stays on it
    QCOMPARE(ventana.paginaMostrada(), 5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    QCOMPARE(ventana.paginaMostrada(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    QCOMPARE(ventana.paginaMostrada(), 1);
    ventana.txtPagina->setFocus();
    ventana.txtPagina->selectAll();
    QTest::keyClicks(ventana.txtPagina, QStringLiteral("3"));
    QTest::keyClick(ventana.txtPagina, Qt::Key_Return);
    QCOMPARE(ventana.paginaMostrada(), 3);
    QCOMPARE(ventana.txtPagina->text(), QStringLiteral("3"));
    // The page on screen is the composed page: same texts as its log.
    QVERIFY(p.textos(3).contains(QStringLiteral("Pagina 3")));
}

void tst_reporte_vista::dialogoDeImpresion()
{
    ScriptedPrompter prompter;
    frmShowPrinter dialogo(prompter, QStringLiteral("pdf"));
    dialogo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialogo));
    dialogo.txtCopias->setText(QStringLiteral("dos"));
    QTest::keyClick(&dialogo, Qt::Key_Return);
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Debe capturar un numero")});
    QVERIFY(dialogo.isVisible());
    QCOMPARE(QApplication::focusWidget(), dialogo.txtCopias);
    prompter.clear();
    dialogo.txtCopias->setText(QStringLiteral("2"));
    dialogo.optRango->setChecked(true);
    dialogo.txtDesde->setText(QStringLiteral("4"));
    dialogo.txtHasta->setText(QStringLiteral("3"));
    QTest::keyClick(&dialogo, Qt::Key_Return);
    QCOMPARE(prompter.texts(),
             QStringList{QStringLiteral("La página de inicio debe ser menor a la pagina final")});
    QCOMPARE(QApplication::focusWidget(), dialogo.txtDesde);
    dialogo.txtHasta->setText(QStringLiteral("4"));
    QTest::keyClick(&dialogo, Qt::Key_Return);
    QCOMPARE(dialogo.result(), int(QDialog::Accepted));
    QCOMPARE(dialogo.rango().copias, 2);
    QCOMPARE(dialogo.rango().desde, 4);
    QCOMPARE(dialogo.rango().hasta, 4);
    QCOMPARE(dialogo.impresora(), QStringLiteral("pdf"));
}

QTEST_MAIN(tst_reporte_vista)
#include "tst_reporte_vista.moc"
