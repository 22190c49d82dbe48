// The supplier window, offscreen, on both engines: a supplier added through its widgets with its
// departments and exchange layouts, a refusal that shows its tab and field, an existing
// supplier's lists shown and replaced, and the consult mode.
#include "PuestoProveedores.h"
#include "TestDatabase.h"
#include "frmProveedor.h"

#include "Log.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using maestros::campo;
using maestros::elegido;
using maestros::elige;
using maestros::escribe;

namespace {

const auto departamentos = &PuestoProveedores::departamentos;
const auto intercambios = &PuestoProveedores::intercambios;

QStandardItemModel *modelo(QWidget &w, const char *tabla)
{
    return qobject_cast<QStandardItemModel *>(w.findChild<QTableView *>(QLatin1String(tabla))->model());
}

// The departments checked in the window's list, by key.
QStringList marcados(QWidget &w)
{
    QStringList out;
    QStandardItemModel *m = modelo(w, "tblDepartamentos");
    for (int i = 0; i < m->rowCount(); ++i)
        if (m->item(i, 0)->checkState() == Qt::Checked)
            out << m->item(i, 0)->text();
    return out;
}

// Checks or unchecks a department as a click on its box does.
void marca(QWidget &w, const QString &clave, bool servido)
{
    QStandardItemModel *m = modelo(w, "tblDepartamentos");
    const QList<QStandardItem *> items = m->findItems(clave);
    QVERIFY(items.size() == 1);
    items.first()->setCheckState(servido ? Qt::Checked : Qt::Unchecked);
}

// A click on a check box's square (the box spans its row, its text does not).
void pulsa(QWidget &w, const char *nombre)
{
    auto *b = w.findChild<QCheckBox *>(QLatin1String(nombre));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

} // namespace

class tst_ProveedorVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_log.activa(); }
    void cleanupTestCase() { m_log.suelta(); }
    void altaDesdeLaVentana_data() { TestDatabase::addEngineRows(); }
    void altaDesdeLaVentana();
    void rechazoMuestraPestanaYCampo_data() { TestDatabase::addEngineRows(); }
    void rechazoMuestraPestanaYCampo();
    void cambioReemplazaLasListas_data() { TestDatabase::addEngineRows(); }
    void cambioReemplazaLasListas();
    void consulta_data() { TestDatabase::addEngineRows(); }
    void consulta();

private:
    maestros::Bitacora m_log;
};

void tst_ProveedorVentana::altaDesdeLaVentana()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    PuestoProveedores::layouts(c);
    ProveedorEditor editor = p.editor();
    frmProveedor w(editor, p.prompter(), u'A');
    QVERIFY(w.valido());
    QCOMPARE(w.windowTitle(), QStringLiteral("Proveedor - Alta"));
    QVERIFY(w.width() <= 1000 && w.height() <= 600);
    QCOMPARE(w.pestanas()->count(), 6);
    // The defaults of a new supplier are on screen.
    QCOMPARE(elegido(w, QStringLiteral("pais_Clave")), QStringLiteral("MEX"));
    QCOMPARE(elegido(w, QStringLiteral("tpag_Clave")), QStringLiteral("CREDITO"));
    QCOMPARE(campo(w, "prov_Preferencia")->text(), QStringLiteral("1"));
    QVERIFY(!w.findChild<QCheckBox *>(QStringLiteral("prov_EDI"))->isChecked());
    QVERIFY(marcados(w).isEmpty());
    // Every kind of exchange by its order, each at "<NINGUNO>".
    QStandardItemModel *edi = modelo(w, "tblIntercambio");
    QCOMPARE(edi->rowCount(), 3);
    QCOMPARE(edi->item(0, 0)->text(), QStringLiteral("Lista"));
    QCOMPARE(edi->item(2, 0)->text(), QStringLiteral("Factura"));
    QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("layout_PEDIDO"))->currentText(), QStringLiteral("<NINGUNO>"));

    escribe(w, "prov_Clave", QStringLiteral("FANASA"));
    escribe(w, "prov_Nombre", QStringLiteral("FARMACOS NACIONALES SA DE CV"));
    escribe(w, "prov_RFC", QStringLiteral("FNA600101QH6"));
    QVERIFY(elige(w, QStringLiteral("prov_RegimenFiscal"), QStringLiteral("601")));
    QVERIFY(elige(w, QStringLiteral("edo_Clave"), QStringLiteral("JAL")));
    escribe(w, "prov_CP", QStringLiteral("45050"));
    QVERIFY(elige(w, QStringLiteral("banco_Clave"), QStringLiteral("BBVA")));
    escribe(w, "prov_Descuento", QStringLiteral("3"));
    // Check boxes are clicked where the user sees them.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Shown, the long lists (tax regimes) do not widen it past an inner window's size.
    QVERIFY2(w.width() <= 1000 && w.height() <= 600, qPrintable(QStringLiteral("%1x%2").arg(w.width()).arg(w.height())));
    w.pestanas()->setCurrentIndex(int(ProveedorEditor::Pestana::Recepcion));
    pulsa(w, "prov_ReqPedido");
    w.pestanas()->setCurrentIndex(int(ProveedorEditor::Pestana::Intercambio));
    pulsa(w, "prov_EDI");
    escribe(w, "prov_CodClienteEDI", QStringLiteral("ESP0451"));
    QVERIFY(elige(w, QStringLiteral("layout_PEDIDO"), QStringLiteral("PED-FANASA")));
    QVERIFY(elige(w, QStringLiteral("layout_LISTA"), QStringLiteral("LIS-FANASA")));
    QVERIFY(elige(w, QStringLiteral("layout_LISTA"), QString())); // back to "<NINGUNO>"
    marca(w, QStringLiteral("MED"), true);
    marca(w, QStringLiteral("PERF"), true);

    p.prompter().answers << false;
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("cmdGuardar")), Qt::LeftButton);
    QCOMPARE(p.prompter().texts(),
             QStringList{"El registro fue agregado con exito, desea continuar agregando mas proveedores"});
    QVERIFY(w.guardado());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    db::Recordset rs = c.openRecordset(QStringLiteral("select * from tProveedor where prov_Clave = 'FANASA'"));
    QVERIFY(!rs.eof());
    QCOMPARE(rs.text(QStringLiteral("prov_Nombre")), QStringLiteral("FARMACOS NACIONALES SA DE CV"));
    QCOMPARE(rs.text(QStringLiteral("prov_RFC")), QStringLiteral("FNA600101QH6"));
    QCOMPARE(rs.text(QStringLiteral("edo_Clave")), QStringLiteral("JAL"));
    QCOMPARE(rs.text(QStringLiteral("banco_Clave")), QStringLiteral("BBVA"));
    QCOMPARE(rs.decimal(QStringLiteral("prov_Descuento")), Decimal(3));
    QCOMPARE(rs.text(QStringLiteral("prov_ReqPedido")), QStringLiteral("S"));
    QCOMPARE(rs.text(QStringLiteral("prov_ReqFalta")), QStringLiteral("N"));
    QCOMPARE(rs.text(QStringLiteral("prov_EDI")), QStringLiteral("S"));
    QCOMPARE(rs.text(QStringLiteral("prov_CodClienteEDI")), QStringLiteral("ESP0451"));
    QCOMPARE(departamentos(c, QStringLiteral("FANASA")), (QStringList{"MED=S", "PERF=S"}));
    QCOMPARE(intercambios(c, QStringLiteral("FANASA")), QStringList{"PEDIDO=PED-FANASA"});
}

void tst_ProveedorVentana::rechazoMuestraPestanaYCampo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoProveedores p(db.connection());
    ProveedorEditor editor = p.editor();
    frmProveedor w(editor, p.prompter(), u'A');
    w.show();
    w.activateWindow(); // a display without a window manager activates nothing by itself
    QVERIFY(QTest::qWaitForWindowActive(&w));
    escribe(w, "prov_Clave", QStringLiteral("P1"));
    escribe(w, "prov_Nombre", QStringLiteral("PROVEEDOR"));
    QVERIFY(elige(w, QStringLiteral("edo_Clave"), QStringLiteral("JAL")));
    QVERIFY(elige(w, QStringLiteral("tpag_Clave"), QString()));
    w.pestanas()->setCurrentIndex(int(ProveedorEditor::Pestana::Departamentos));
    QTest::keyClick(&w, Qt::Key_Return);
    QCOMPARE(p.prompter().texts(), QStringList{"Debe indicar una forma de  pago"});
    QCOMPARE(w.pestanas()->currentIndex(), int(ProveedorEditor::Pestana::Condiciones));
    QCOMPARE(QApplication::focusWidget(), w.findChild<QWidget *>(QStringLiteral("tpag_Clave")));

    QVERIFY(elige(w, QStringLiteral("tpag_Clave"), QStringLiteral("EFECTIVO")));
    escribe(w, "prov_RFC", QStringLiteral("FNA600101QH7"));
    p.prompter().clear();
    p.prompter().answers << false; // do not keep the RFC with a wrong check digit
    QTest::keyClick(&w, Qt::Key_Return);
    QCOMPARE(p.prompter().texts(),
             QStringList{"El digito verificador del RFC FNA600101QH7 no corresponde, desea continuar"});
    QCOMPARE(w.pestanas()->currentIndex(), int(ProveedorEditor::Pestana::Generales));
    QCOMPARE(QApplication::focusWidget(), campo(w, "prov_RFC"));

    // Changing the country leaves its states behind.
    QVERIFY(elige(w, QStringLiteral("pais_Clave"), QStringLiteral("USA")));
    QCOMPARE(elegido(w, QStringLiteral("edo_Clave")), QString());
    escribe(w, "prov_RFC", QString());
    p.prompter().clear();
    QTest::keyClick(&w, Qt::Key_Return);
    QCOMPARE(p.prompter().texts(), QStringList{"Debe indicar un estado"});
    QCOMPARE(QApplication::focusWidget(), w.findChild<QWidget *>(QStringLiteral("edo_Clave")));
    QVERIFY(!w.guardado());
    // Escape leaves without writing anything.
    p.prompter().clear();
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.isHidden());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QVERIFY(p.prompter().texts().isEmpty());
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tProveedor")).toInt(), 0);
}

void tst_ProveedorVentana::cambioReemplazaLasListas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    PuestoProveedores::layouts(c);
    PuestoProveedores::inserta(c, QStringLiteral("P1"), {QStringLiteral("MED"), QStringLiteral("ABA")},
                               {{"PEDIDO", "PED-NADRO"}, {"LISTA", "LIS-FANASA"}});
    ProveedorEditor editor = p.editor();
    frmProveedor w(editor, p.prompter(), u'C', QStringLiteral("P1"));
    QVERIFY(w.valido());
    QVERIFY(campo(w, "prov_Clave")->isReadOnly());
    QCOMPARE(campo(w, "prov_Descuento")->text(), QStringLiteral("4.00"));
    QCOMPARE(marcados(w), (QStringList{"ABA", "MED"}));
    QCOMPARE(elegido(w, QStringLiteral("layout_PEDIDO")), QStringLiteral("PED-NADRO"));
    QCOMPARE(elegido(w, QStringLiteral("layout_LISTA")), QStringLiteral("LIS-FANASA"));
    QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("layout_FACTURA"))->currentText(), QStringLiteral("<NINGUNO>"));

    marca(w, QStringLiteral("ABA"), false);
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("cmdMarcarTodos")), Qt::LeftButton);
    QCOMPARE(marcados(w), (QStringList{"ABA", "MED", "PERF"}));
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("cmdDesmarcarTodos")), Qt::LeftButton);
    marca(w, QStringLiteral("PERF"), true);
    QVERIFY(elige(w, QStringLiteral("layout_PEDIDO"), QStringLiteral("PED-FANASA")));
    QVERIFY(elige(w, QStringLiteral("layout_LISTA"), QString()));
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("cmdGuardar")), Qt::LeftButton);
    QCOMPARE(p.prompter().texts(), QStringList{"El registro fue actualizado con exito"});
    QVERIFY(w.guardado());
    QCOMPARE(departamentos(c, QStringLiteral("P1")), QStringList{"PERF=S"});
    QCOMPARE(intercambios(c, QStringLiteral("P1")), QStringList{"PEDIDO=PED-FANASA"});
}

void tst_ProveedorVentana::consulta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    PuestoProveedores::inserta(c, QStringLiteral("P1"), {QStringLiteral("PERF")}, {{"FACTURA", "FAC-1"}});
    ProveedorEditor editor = p.editor();
    frmProveedor w(editor, p.prompter(), u'Q', QStringLiteral("P1"));
    QVERIFY(w.valido());
    QCOMPARE(campo(w, "prov_Nombre")->text(), QStringLiteral("NOMBRE DE P1"));
    QVERIFY(campo(w, "prov_Nombre")->isReadOnly());
    QVERIFY(!w.findChild<QComboBox *>(QStringLiteral("tpag_Clave"))->isEnabled());
    QVERIFY(!w.findChild<QCheckBox *>(QStringLiteral("prov_EDI"))->isEnabled());
    QVERIFY(!w.findChild<QComboBox *>(QStringLiteral("layout_FACTURA"))->isEnabled());
    QCOMPARE(elegido(w, QStringLiteral("layout_FACTURA")), QStringLiteral("FAC-1"));
    QCOMPARE(marcados(w), QStringList{"PERF"});
    QVERIFY(!(modelo(w, "tblDepartamentos")->item(0, 0)->flags() & Qt::ItemIsUserCheckable));
    QVERIFY(!w.findChild<QPushButton *>(QStringLiteral("cmdMarcarTodos"))->isEnabled());
    QVERIFY(w.findChild<QPushButton *>(QStringLiteral("cmdGuardar"))->isHidden());

    ProveedorEditor otro = p.editor();
    frmProveedor falta(otro, p.prompter(), u'Q', QStringLiteral("NOEXISTE"));
    QVERIFY(!falta.valido());
    QCOMPARE(p.prompter().texts(), QStringList{"La clave no existe"});

    // A picture of each tab, for a person to look at (MDR_CAPTURA=folder, on a real display).
    const QString carpeta = qEnvironmentVariable("MDR_CAPTURA");
    if (!carpeta.isEmpty() && engine == TestDatabase::sqlite()) {
        PuestoProveedores::layouts(c);
        ProveedorEditor cambio = p.editor();
        frmProveedor a(cambio, p.prompter(), u'C', QStringLiteral("P1"));
        a.show();
        QVERIFY(QTest::qWaitForWindowExposed(&a));
        for (int i = 0; i < a.pestanas()->count(); ++i) {
            a.pestanas()->setCurrentIndex(i);
            QTest::qWait(300);
            a.grab().save(QDir(carpeta).filePath(QStringLiteral("frmProveedor-%1.png").arg(i)));
        }
    }
}

QTEST_MAIN(tst_ProveedorVentana)
#include "tst_proveedor_ventana.moc"
