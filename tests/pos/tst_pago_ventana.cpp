#include "frmPago.h"

#include "EstacionPrueba.h"
#include "Log.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Caja {
    Caja(db::Connection &c, const QString &ini)
        : s(&c, ini), pago(s.provider, s.config, s.permisos, s.prompter)
    {
        c.execute(QStringLiteral("insert into tDenominacion (deno_Clave, deno_Valor, deno_Nombre) values "
                                 "('B500', 500, 'Billete'), ('B20', 20, 'Billete'), ('M1', 1, 'Moneda')"));
        c.execute(QStringLiteral("insert into tBanco (banco_Clave, banco_Nombre) values ('BNX', 'Banamex')"));
        EstacionPrueba::grant(c);
        s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
        s.config.setValue(QStringLiteral("PREGUNTA-PAGO-COMPLETO"), false);
    }
    PagoCaptura::Inicio inicio(const Decimal &porPagar) const
    {
        PagoCaptura::Inicio i;
        i.importeVenta = porPagar;
        i.porPagar = porPagar;
        return i;
    }
    EstacionPrueba s;
    PagoCaptura pago;
};

template <typename T> T *hijo(QWidget &w, const char *nombre)
{
    T *h = w.findChild<T *>(QString::fromLatin1(nombre));
    if (!h)
        qFatal("no existe %s", nombre);
    return h;
}

bool pestanaVisible(QWidget &w, const char *nombre)
{
    auto *tabs = hijo<QTabWidget>(w, "tabPagos");
    return tabs->isTabVisible(tabs->indexOf(hijo<QWidget>(w, nombre)));
}

} // namespace

class tst_PagoVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        const QString logDir = m_dir->path();
        Log::setDirectoryProvider([logDir] { return logDir; });
    }
    void efectivoYEnterAcepta();
    void campoRechazadoConservaElFoco();
    void denominaciones();
    void pestanasOcultas();
    void escapeCancela();
    void cobroRapidoConF12();
    void importeSugeridoYEntrega();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_PagoVentana::efectivoYEnterAcepta()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Caja k(db.connection(), ini());
    QVERIFY(k.pago.init(k.inicio(Decimal(100))));
    frmPago w(k.pago);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.width() <= 1000 && w.height() <= 700);
    auto *efectivo = hijo<QLineEdit>(w, "txtEfectivo");
    QCOMPARE(QApplication::focusWidget(), efectivo);
    QCOMPARE(hijo<QLabel>(w, "lblPorPagar")->text(), QStringLiteral("$100.00"));
    QTest::keyClicks(efectivo, QStringLiteral("40"));
    QTest::keyClick(efectivo, Qt::Key_Return);
    QVERIFY(w.isVisible());
    QCOMPARE(hijo<QLabel>(w, "lblResta")->text(), QStringLiteral("$60.00"));
    QCOMPARE(efectivo->text(), QString()); // ready for the next payment
    QCOMPARE(QApplication::focusWidget(), efectivo);
    QTest::keyClicks(efectivo, QStringLiteral("110"));
    QTest::keyClick(efectivo, Qt::Key_Enter);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(k.pago.aceptado());
    QCOMPARE(hijo<QLabel>(w, "lblCambio")->text(), QStringLiteral("$50.00"));
    QCOMPARE(k.pago.obtenerPagosArr().size(), 2);
    QVERIFY(k.s.prompter.shown.isEmpty());
}

void tst_PagoVentana::campoRechazadoConservaElFoco()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Caja k(db.connection(), ini());
    QVERIFY(k.pago.init(k.inicio(Decimal(100))));
    frmPago w(k.pago);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *efectivo = hijo<QLineEdit>(w, "txtEfectivo");
    QTest::keyClick(efectivo, Qt::Key_Return);
    QCOMPARE(k.s.prompter.last(), QStringLiteral("Debe indicar importe en efectivo"));
    QVERIFY(w.isVisible());
    QCOMPARE(QApplication::focusWidget(), efectivo);

    // Cheque: the amount is there, the bank is missing: the bank takes the focus.
    hijo<QTabWidget>(w, "tabPagos")->setCurrentWidget(hijo<QWidget>(w, "tabCHEQUE"));
    auto *importe = hijo<QLineEdit>(w, "txtChequeImporte");
    QCOMPARE(QApplication::focusWidget(), importe);
    QTest::keyClicks(importe, QStringLiteral("80"));
    QTest::keyClick(importe, Qt::Key_Return);
    QCOMPARE(k.s.prompter.last(), QStringLiteral("Debe seleccionar un banco"));
    QCOMPARE(QApplication::focusWidget(), hijo<QComboBox>(w, "cboChequeBanco"));
    hijo<QComboBox>(w, "cboChequeBanco")->setCurrentIndex(1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(k.s.prompter.last(), QStringLiteral("Debe indicar el numero de cheque"));
    auto *numero = hijo<QLineEdit>(w, "txtChequeNumero");
    QCOMPARE(QApplication::focusWidget(), numero);
    QTest::keyClicks(numero, QStringLiteral("000123"));
    QTest::keyClick(numero, Qt::Key_Return);
    QVERIFY(w.isVisible());
    QCOMPARE(k.pago.obtenerPagosArr(),
             QStringList{QStringLiteral("CHEQUE\t80\tBNX\t000123\t\t\t\t0\t0\t\t")});
    QCOMPARE(hijo<QTableView>(w, "grdPagos")->model()->rowCount(), 1);
    QCOMPARE(hijo<QLabel>(w, "lblPagado")->text(), QStringLiteral("$80.00"));
}

void tst_PagoVentana::denominaciones()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Caja k(db.connection(), ini());
    QVERIFY(k.pago.init(k.inicio(Decimal(520))));
    frmPago w(k.pago);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *b500 = hijo<QPushButton>(w, "cmdDeno0");
    QCOMPARE(b500->text(), QStringLiteral("Billete\n500.00"));
    QCOMPARE(hijo<QPushButton>(w, "cmdDeno2")->text(), QStringLiteral("Moneda\n1.00"));
    QTest::mouseClick(b500, Qt::LeftButton);
    QCOMPARE(hijo<QLabel>(w, "lblResta")->text(), QStringLiteral("$20.00"));
    QCOMPARE(QApplication::focusWidget(), hijo<QLineEdit>(w, "txtEfectivo"));
    // Remove it again and pay with two buttons.
    hijo<QTableView>(w, "grdPagos")->setCurrentIndex(k.pago.modelo()->index(0, 0));
    QTest::mouseClick(hijo<QPushButton>(w, "cmdQuitar"), Qt::LeftButton);
    QCOMPARE(hijo<QLabel>(w, "lblResta")->text(), QStringLiteral("$520.00"));
    QTest::mouseClick(b500, Qt::LeftButton);
    QTest::mouseClick(hijo<QPushButton>(w, "cmdDeno1"), Qt::LeftButton);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(k.pago.pagado(), Decimal(520));
}

void tst_PagoVentana::pestanasOcultas()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Caja k(db.connection(), ini());
    db.connection().execute(QStringLiteral(
        "insert into tTipoPago (tpago_Clave, tpago_Nombre) values ('VALES', 'Vales de despensa')"));
    k.s.config.setValue(QStringLiteral("CREDITO-REFERENCIA"), QStringLiteral("Pedido"));
    auto i = k.inicio(Decimal(100));
    i.tiposAdmitidos = QStringList{"EFECTIVO", "CREDITO"};
    QVERIFY(k.pago.init(i));
    {
        frmPago w(k.pago);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(pestanaVisible(w, "tabEFECTIVO"));
        QVERIFY(pestanaVisible(w, "tabCREDITO"));
        for (const char *t : {"tabCHEQUE", "tabTARJETA", "tabEXTRANJERA", "tabOTROS"})
            QVERIFY2(!pestanaVisible(w, t), t);
        QCOMPARE(hijo<QLabel>(w, "lblCreditoRef")->text(), QStringLiteral("Pedido:"));
    }
    // Everything admitted: the other kinds have their tab, listed in its selector.
    QVERIFY(k.pago.init(k.inicio(Decimal(100))));
    frmPago w(k.pago);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (const char *t :
         {"tabEFECTIVO", "tabCHEQUE", "tabTARJETA", "tabEXTRANJERA", "tabCREDITO", "tabOTROS"})
        QVERIFY2(pestanaVisible(w, t), t);
    QCOMPARE(hijo<QComboBox>(w, "cboOtroTipo")->itemData(1).toString(), QStringLiteral("VALES"));
    // Only the first visible tab's kind is on, and the commission frame follows "COMISION-TARJETA".
    QVERIFY(hijo<QWidget>(w, "fraComision")->isVisible());
}

void tst_PagoVentana::escapeCancela()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Caja k(c, ini());
    QVERIFY(k.pago.init(k.inicio(Decimal(100))));
    frmPago w(k.pago);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *efectivo = hijo<QLineEdit>(w, "txtEfectivo");
    QTest::keyClicks(efectivo, QStringLiteral("30"));
    QTest::keyClick(efectivo, Qt::Key_Return);
    QTest::keyClick(efectivo, Qt::Key_Escape);
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QVERIFY(!w.isVisible());
    QVERIFY(!k.pago.aceptado());
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVentaPago")).toInt(), 0);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVenta")).toInt(), 0);
}

void tst_PagoVentana::cobroRapidoConF12()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Caja k(db.connection(), ini());
    // Without the key F12 does nothing.
    QVERIFY(k.pago.init(k.inicio(Decimal("87.50"))));
    {
        frmPago w(k.pago);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.findChild<QPushButton *>(QStringLiteral("cmdCobroRapido")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
        QVERIFY(w.isVisible());
        QVERIFY(k.pago.obtenerPagos().isEmpty());
    }
    k.s.config.setValue(QStringLiteral("COBRO-RAPIDO"), true);
    QVERIFY(k.pago.init(k.inicio(Decimal("87.50"))));
    frmPago w(k.pago);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(k.pago.obtenerPagosArr(), QStringList{QStringLiteral("EFECTIVO\t87.5\t\t\t\t\t\t0\t0\t\t")});
}

void tst_PagoVentana::importeSugeridoYEntrega()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Caja k(db.connection(), ini());
    k.s.config.setValue(QStringLiteral("COBRO-PAGO-IGUAL-A-COBRO"), true);
    k.s.config.setValue(QStringLiteral("IMPRIME-TICKET-POR-OMISION"), false);
    auto i = k.inicio(Decimal("250.75"));
    i.tipoEntrega = QStringLiteral("PENDIENTE");
    QVERIFY(k.pago.init(i));
    frmPago w(k.pago);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(hijo<QLineEdit>(w, "txtEfectivo")->text(), QStringLiteral("250.75"));
    QVERIFY(hijo<QRadioButton>(w, "optTicketNo")->isChecked());
    auto *entrega = hijo<QComboBox>(w, "cboEntrega");
    QCOMPARE(entrega->currentData().toString(), QStringLiteral("Entrega pendiente\tPENDIENTE"));
    entrega->setCurrentIndex(entrega->findData(QStringLiteral("Envio a domicilio\tDOMICILIO")));
    QTest::mouseClick(hijo<QRadioButton>(w, "optTicketSi"), Qt::LeftButton);
    // The card tab gets the rest too; the invoice command is remembered until Enter pays.
    hijo<QTabWidget>(w, "tabPagos")->setCurrentWidget(hijo<QWidget>(w, "tabTARJETA"));
    QCOMPARE(hijo<QLineEdit>(w, "txtTarjetaImporte")->text(), QStringLiteral("250.75"));
    QTest::mouseClick(hijo<QPushButton>(w, "cmdFactura"), Qt::LeftButton);
    QVERIFY(w.isVisible()); // nothing paid yet
    QCOMPARE(k.s.prompter.last(), QStringLiteral("Falta por pagar $250.75"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(k.pago.factura());
    QVERIFY(k.pago.ticket());
    QCOMPARE(k.pago.tipoEntrega(), QStringLiteral("DOMICILIO"));

    if (!qEnvironmentVariableIsEmpty("MDR_PAGO_CAPTURA")) {
        // For a look at the window under a real display.
        QVERIFY(k.pago.init(k.inicio(Decimal("1234.50"))));
        k.pago.agregarPago({QStringLiteral("EFECTIVO"), QStringLiteral("200")});
        k.pago.agregarPago({QStringLiteral("EXTRANJERA"),
                            {},
                            {},
                            {},
                            {},
                            {},
                            QStringLiteral("USD"),
                            QStringLiteral("10"),
                            QStringLiteral("17.85")});
        frmPago v(k.pago);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        QTest::qWait(4000);
        v.grab().save(qEnvironmentVariable("MDR_PAGO_CAPTURA"));
    }
}

QTEST_MAIN(tst_PagoVentana)
#include "tst_pago_ventana.moc"
