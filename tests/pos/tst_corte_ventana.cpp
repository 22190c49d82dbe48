#include "frmCorteIni.h"

#include "EstacionPrueba.h"
#include "Log.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class tst_CorteVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString logDir = m_dir.path();
        Log::setDirectoryProvider([logDir] { return logDir; });
    }
    void enterAceptaYEscapeCancela();
    void yaAbiertoNoSeMuestra();

private:
    QTemporaryDir m_dir;
};

namespace {

void enCaja(db::Connection &c, EstacionPrueba &s)
{
    c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz')"));
    c.execute(QStringLiteral("insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values ('T1', 'Uno', 'A1')"));
    s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
    s.config.setValue(QStringLiteral("TERMINAL"), QStringLiteral("T1"));
    s.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("CAJERO"));
    s.config.setValue(QStringLiteral("CORTE-CAJA"), QString());
}

} // namespace

void tst_CorteVentana::enterAceptaYEscapeCancela()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba s(&c, m_dir.filePath(QStringLiteral("a.ini")));
    enCaja(c, s);
    Corte corte(s.provider, s.config, s.prompter);
    const auto a = corte.preparaApertura();
    QVERIFY(a);

    // Escape closes without opening anything.
    {
        frmCorteIni w(corte, *a);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(w.focusWidget(), Qt::Key_Escape);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(c.scalar(QStringLiteral("select count(*) from TCORTE")).toInt(), 0);
    }

    frmCorteIni w(corte, *a);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("lblNumero"))->text(), QStringLiteral("1"));
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("lblUsuario"))->text(), QStringLiteral("CAJERO"));
    auto *importe = w.findChild<QLineEdit *>(QStringLiteral("txtImporte"));
    QCOMPARE(QApplication::focusWidget(), importe);
    // Enter on an empty amount: refused, the amount keeps the focus.
    QTest::keyClick(importe, Qt::Key_Return);
    QCOMPARE(s.prompter.last(), QStringLiteral("Debe indicar el importe inicial"));
    QVERIFY(w.isVisible());
    QCOMPARE(QApplication::focusWidget(), importe);
    QTest::keyClicks(importe, QStringLiteral("250"));
    QTest::keyClick(importe, Qt::Key_Return);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from TCORTE where ecorte_Clave = 'ABIERTO'")).toInt(), 1);
    QVERIFY(s.config.getString(QStringLiteral("CORTE-CAJA")).startsWith(QStringLiteral("T1-")));
}

void tst_CorteVentana::yaAbiertoNoSeMuestra()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba s(&c, m_dir.filePath(QStringLiteral("b.ini")));
    enCaja(c, s);
    Corte corte(s.provider, s.config, s.prompter);
    const auto a = corte.preparaApertura();
    QVERIFY(a && corte.abre(*a, QStringLiteral("1")));
    // No dialog comes up: abrir returns at once with the refusal shown.
    QVERIFY(!frmCorteIni::abrir(corte));
    QCOMPARE(s.prompter.last(), QStringLiteral("Hay un corte de caja abierto, debe  cerrarlo antes de iniciar uno nuevo"));
}

QTEST_MAIN(tst_CorteVentana)
#include "tst_corte_ventana.moc"
