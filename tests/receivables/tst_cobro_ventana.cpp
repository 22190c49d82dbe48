// The receivables window and the payment dialog driven by keyboard: select the receivables and
// a note, type the cash, Enter to add, Enter to accept; the rows written are checked. An amount
// over what is owed keeps the dialog open with the user's message.
#include "PuestoCobranza.h"

#include "TestDatabase.h"
#include "frmCobroDoc.h"
#include "frmCtasXCobrar.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace cobranza;

namespace {

// Runs f on the first modal dialog that comes up.
void cuandoModal(std::function<void(QWidget *)> f)
{
    auto *t = new QTimer;
    t->setInterval(5);
    QObject::connect(t, &QTimer::timeout, [t, f] {
        if (QWidget *m = QApplication::activeModalWidget()) {
            t->stop();
            t->deleteLater();
            f(m);
        }
    });
    t->start();
}

// With MDR_CAPTURAS set, the window as drawn goes to a PNG there (to look at it).
void captura(QWidget *w, const char *nombre)
{
    const QString dir = qEnvironmentVariable("MDR_CAPTURAS");
    if (dir.isEmpty())
        return;
    QTest::qWait(qEnvironmentVariableIntValue("MDR_PAUSA_MS"));
    w->grab().save(dir + u'/' + QString::fromLatin1(nombre) + QStringLiteral(".png"));
}

} // namespace

class tst_CobroVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cobroPorTeclado_data() { TestDatabase::addEngineRows(); }
    void cobroPorTeclado();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_CobroVentana::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_CobroVentana::cobroPorTeclado()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    c.execute(
        QStringLiteral("insert into tDenominacion (deno_Clave, deno_Valor, deno_Nombre) values ('B20', 20, "
                       "'Billete de 20'), ('M5', 5, 'Moneda de 5')"));
    const qint64 a = cuenta(c, "20");
    const qint64 b = cuenta(c, "10");
    cuenta(c, "99", QStringLiteral("C2"));
    nota(c, 901, "5");
    Puesto s(&c, ini());
    frmCtasXCobrar w({s.provider, s.config, s.prompter});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.modelo()->rowCount(), 3);
    QCOMPARE(w.modeloNotas()->rowCount(), 1);
    captura(&w, "frmCtasXCobrar");

    // The first two rows (C1's), and the note.
    QTableView *grid = w.grid();
    grid->setFocus();
    grid->setCurrentIndex(w.modelo()->index(0, 0));
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    w.gridNotas()->selectAll();

    // First try: 31 is more than the 25 owed after the note; the dialog stays, Escape leaves it.
    bool visto = false;
    cuandoModal([&](QWidget *m) {
        auto *d = qobject_cast<frmCobroDoc *>(m);
        QVERIFY(d);
        auto *importe = d->findChild<QLineEdit *>(QStringLiteral("txtImporte"));
        QTest::keyClicks(importe, QStringLiteral("31"));
        QTest::keyClick(importe, Qt::Key_Return);
        QTest::keyClick(importe, Qt::Key_Return);
        QVERIFY(d->isVisible());
        visto = true;
        QTest::keyClick(d, Qt::Key_Escape);
    });
    w.findChild<QPushButton *>(QStringLiteral("cmdCobrar"))->click();
    QVERIFY(visto);
    QCOMPARE(s.prompter.texts(), QStringList{CobroDoc::kExcede});
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from TCOBRO")).toInt(), 0);

    // Then: two notes of the pad and 5 typed make 25; Enter adds, Enter accepts.
    s.prompter.clear();
    visto = false;
    cuandoModal([&](QWidget *m) {
        auto *d = qobject_cast<frmCobroDoc *>(m);
        QVERIFY(d);
        d->findChild<QPushButton *>(QStringLiteral("cmdBillete0"))->click();
        auto *importe = d->findChild<QLineEdit *>(QStringLiteral("txtImporte"));
        QCOMPARE(importe->text(), QStringLiteral("20.00"));
        importe->selectAll();
        QTest::keyClicks(importe, QStringLiteral("25"));
        QTest::keyClick(importe, Qt::Key_Return);
        QCOMPARE(importe->text(), QString());
        captura(d, "frmCobroDoc");
        visto = true;
        QTest::keyClick(importe, Qt::Key_Return);
    });
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(visto);
    QCOMPARE(s.prompter.texts(), QStringList{Cobranza::kExito});
    QCOMPARE(filas(c, QStringLiteral(
                          "select l.cob_Clave, p.tcobro_Clave, l.ccob_Importe from tCobranzaCobro l join "
                          "TCOBRO p on p.alm_Clave = l.alm_Clave and p.cobro_Clave = l.cobro_Clave order "
                          "by l.cob_Clave, l.cobro_Clave")),
             (QStringList{QStringLiteral("%1|NOTA|5").arg(a), QStringLiteral("%1|EFECTIVO|15").arg(a),
                          QStringLiteral("%1|EFECTIVO|10").arg(b)}));
    // The list was read again.
    QCOMPARE(w.modelo()->filas().at(0).estado, QStringLiteral("COBRADA"));
    QCOMPARE(w.modeloNotas()->notas().first().estado, QStringLiteral("PAGADA"));
    captura(&w, "frmCtasXCobrar-cobrado");
    MDR_VERIFICA_COBRANZA(c);
}

QTEST_MAIN(tst_CobroVentana)
#include "tst_cobro_ventana.moc"
