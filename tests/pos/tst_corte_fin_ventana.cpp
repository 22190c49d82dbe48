#include "frmCorteFin.h"
#include "frmMovCaja.h"

#include "CajaFixture.h"

#include "Log.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class tst_CorteFinVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        Log::setDirectoryProvider([d = m_dir.path()] { return d; });
    }
    void cierraConElTeclado();
    void escapeLoDejaAbierto();
    void movimientoConElTeclado();

private:
    QTemporaryDir m_dir;
};

namespace {

// CAJA1's cut with 500 to start and a cash sale of 100: 600 expected.
void preparaCorte(db::Connection &c, EstacionPrueba &s, const QString &dir, const QStringList &derechos)
{
    preparaCaja(c, dir + QStringLiteral("/p.ini"), "500");
    EstacionPrueba::grant(c, derechos);
    enCaja(s, c);
    s.config.setValue(QStringLiteral("IMPRIMIR-CORTE-DE-CAJA"), false);
    GuardaVenta g(s.provider, s.config, s.prompter);
    QVERIFY(g.guardaDatos(venta({linea(QStringLiteral("LIB"), "1", "100", "0")})));
}

// Types into whatever has the keyboard (a grid opens its editor at the first key), then Enter.
void teclea(const QString &texto)
{
    for (const QChar ch : texto)
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::qWait(20); // the grid commits a typed value after the key
}

} // namespace

void tst_CorteFinVentana::cierraConElTeclado()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba s(&c, m_dir.filePath(QStringLiteral("a.ini")));
    preparaCorte(c, s, m_dir.path(), {QStringLiteral("ninguno")});
    CorteCierre k(s.provider, s.config, s.prompter, s.permisos);
    QVERIFY(k.inicia());
    frmCorteFin w(k);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Fits the cashier's 1366x768 screen.
    QVERIFY(w.frameGeometry().width() <= 1366 && w.frameGeometry().height() <= 768);
    // A blind count: no expected total on the screen, no amounts in the movement table.
    QVERIFY(w.findChild<QLabel *>(QStringLiteral("lblTotal"))->isHidden());
    auto *movs = w.findChild<QTableView *>(QStringLiteral("grdMovimientos"));
    QVERIFY(!movs->model()->index(0, 2).data().isValid());

    QTableView *arqueo = w.gridArqueo();
    QCOMPARE(QApplication::focusWidget(), arqueo);
    QCOMPARE(arqueo->currentIndex().row(), 0);
    // One 500 note, Enter moves down; skip the 200, one 100 note.
    teclea(QStringLiteral("1"));
    QCOMPARE(arqueo->currentIndex().row(), 1);
    QTest::keyClick(arqueo, Qt::Key_Down);
    teclea(QStringLiteral("1"));
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("lblRecibido"))->text(), QStringLiteral("$600.00"));
    QVERIFY(s.prompter.shown.isEmpty());

    if (const int segundos = qEnvironmentVariableIntValue("MDR_PAUSA_VENTANA"))
        QTest::qWait(segundos * 1000); // time for a screenshot

    // Enter on the grid closes the cut.
    s.prompter.answers << true;
    QTest::keyClick(arqueo, Qt::Key_Return);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(s.prompter.texts(), QStringList{CorteCierre::kConfirma});
    QCOMPARE(
        filas(c, QStringLiteral("select ecorte_Clave, corte_Total from TCORTE where term_Clave = 'CAJA1' and "
                                "corte_Numero = 2")),
        QStringList{QStringLiteral("CERRADO|600")});
    QCOMPARE(filas(c, QStringLiteral(
                          "select deno_Clave, carq_Cantidad from tCorteArqueo order by deno_Valor desc")),
             (QStringList{"B500|1", "B100|1"}));
}

void tst_CorteFinVentana::escapeLoDejaAbierto()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba s(&c, m_dir.filePath(QStringLiteral("b.ini")));
    preparaCorte(c, s, m_dir.path(), {CorteCierre::kDerechoVerTotal});
    CorteCierre k(s.provider, s.config, s.prompter, s.permisos);
    QVERIFY(k.inicia());
    frmCorteFin w(k);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // With the right the expected total shows.
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("lblTotal"))->text(), QStringLiteral("$600.00"));
    if (const int segundos = qEnvironmentVariableIntValue("MDR_PAUSA_VENTANA"))
        QTest::qWait(segundos * 1000); // time for a screenshot
    // A count that does not match: refused, the payments take the keyboard.
    teclea(QStringLiteral("1"));
    QTest::keyClick(w.gridArqueo(), Qt::Key_Return);
    QCOMPARE(s.prompter.last(), CorteCierre::kNoCoinciden);
    QVERIFY(w.isVisible());
    QCOMPARE(QApplication::focusWidget(), w.gridPagos());
    QTest::keyClick(w.gridPagos(), Qt::Key_Escape);
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(c.scalar(QStringLiteral(
                          "select ecorte_Clave from TCORTE where term_Clave = 'CAJA1' and corte_Numero = 2"))
                 .toString(),
             QStringLiteral("ABIERTO"));
}

void tst_CorteFinVentana::movimientoConElTeclado()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba s(&c, m_dir.filePath(QStringLiteral("c.ini")));
    preparaCorte(c, s, m_dir.path(), {QStringLiteral("ninguno")});
    s.config.setValue(QStringLiteral("IMPRIME-MOVIMIENTO-DE-CAJA"), false);
    MovimientoCaja m(s.provider, s.config, s.prompter);
    QVERIFY(m.validaCorte());
    frmMovCaja w(m);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto *concepto = w.findChild<QComboBox *>(QStringLiteral("cmbConcepto"));
    QCOMPARE(QApplication::focusWidget(), concepto);
    // Enter with nothing chosen: the concept is refused and keeps the keyboard.
    QTest::keyClick(concepto, Qt::Key_Return);
    QCOMPARE(s.prompter.last(), MovimientoCaja::kSinConcepto);
    QCOMPARE(QApplication::focusWidget(), concepto);
    // Down picks the first concept (DEPOSITO DEL DIA), whose description is proposed.
    QTest::keyClick(concepto, Qt::Key_Down);
    QVERIFY(w.findChild<QLineEdit *>(QStringLiteral("txtDescripcion"))
                ->text()
                .startsWith(QStringLiteral("DEPOSITO A CUENTA ")));
    QTest::keyClick(concepto, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtImporteConcepto"));
    s.prompter.answers << true << false;
    teclea(QStringLiteral("150"));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(
        filas(c, QStringLiteral(
                     "select movc_Clave, concepto_Clave, movc_Importe from tMovCaja order by movc_Clave")),
        (QStringList{"1|EFEC_APORTACION|500", "2|DEPOSITO_DIA|150"}));

    // Ctrl+3 shows the deposit tab with the account list ready.
    frmMovCaja w2(m);
    w2.show();
    QVERIFY(QTest::qWaitForWindowActive(&w2));
    QTest::keyClick(&w2, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmbCuenta"));
    QTest::keyClick(&w2, Qt::Key_Escape);
    QCOMPARE(w2.result(), int(QDialog::Rejected));
}

QTEST_MAIN(tst_CorteFinVentana)
#include "tst_corte_fin_ventana.moc"
