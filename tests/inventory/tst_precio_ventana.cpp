// The quick article entry window, offscreen: prices typed with or without tax, the breakdown it
// shows, the article it adds with its normal price row (both engines) and its refusals.
#include "Log.h"
#include "PuestoArticulos.h"
#include "TestDatabase.h"
#include "frmPrecio.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QLineEdit *campo(frmPrecio &w, const char *nombre)
{
    return qobject_cast<QLineEdit *>(w.campo(QLatin1String(nombre)));
}

void escribe(frmPrecio &w, const char *nombre, const QString &valor)
{
    QLineEdit *t = campo(w, nombre);
    t->selectAll();
    QTest::keyClicks(t, valor);
    Q_EMIT t->editingFinished();
}

} // namespace

class tst_PrecioVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void desglose_data();
    void desglose();
    void altaConPrecioNormal_data();
    void altaConPrecioNormal();
    void rechazoEnfocaElCampo();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_PrecioVentana::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_PrecioVentana::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_PrecioVentana::desglose_data()
{
    QTest::addColumn<bool>("incluyeIva");
    QTest::addColumn<QString>("costo");
    QTest::addColumn<QString>("precio");
    QTest::addColumn<QString>("porcentaje");
    QTest::addColumn<QString>("costoSinIva");
    QTest::addColumn<QString>("publico");
    QTest::addColumn<QString>("iva");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("margen");
    QTest::newRow("precio con IVA") << true << "58" << "116" << "16.00" << "50.00" << "100.00" << "16.00"
                                    << "116.00" << "50.00";
    QTest::newRow("precio sin IVA") << false << "50" << "116" << "0" << "50.00" << "116.00" << "0.00"
                                    << "116.00" << "66.00";
    QTest::newRow("sin costo") << true << "" << "11.6" << "16.00" << "" << "10.00" << "1.60" << "11.60"
                               << "10.00";
}

void tst_PrecioVentana::desglose()
{
    QFETCH(bool, incluyeIva);
    QFETCH(QString, costo);
    QFETCH(QString, precio);
    QFETCH(QString, porcentaje);
    QFETCH(QString, costoSinIva);
    QFETCH(QString, publico);
    QFETCH(QString, iva);
    QFETCH(QString, total);
    QFETCH(QString, margen);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    PrecioRapido rapido(p.provider, p.config, p.prompter, p.calculo);
    frmPrecio w(rapido, p.provider, p.prompter);
    auto *caja = w.findChild<QCheckBox *>(QStringLiteral("chkIncluyeIva"));
    QCOMPARE(caja->text(), QStringLiteral("El precio incluye IVA"));
    QVERIFY(!caja->isChecked());
    caja->setChecked(incluyeIva);
    QCOMPARE(campo(w, "art_IVAPorc")->text(), porcentaje);
    // The box's state is kept for the next quick entry.
    QCOMPARE(p.config.getValue(QStringLiteral("ALTA-RAPIDA-PRECIO-INCLUYE-IVA")).toBool(), incluyeIva);

    if (!costo.isEmpty())
        escribe(w, "art_Costo", costo);
    escribe(w, "art_Importe", precio);
    QCOMPARE(campo(w, "art_Costo")->text(), costoSinIva);
    QCOMPARE(campo(w, "art_Importe")->text(), publico);
    QCOMPARE(campo(w, "art_IVA")->text(), iva);
    QCOMPARE(campo(w, "art_Total")->text(), total);
    QCOMPARE(campo(w, "art_Margen")->text(), margen);
    for (const char *soloLectura : {"art_SubTotal", "art_Margen", "art_Utilidad", "art_IVA", "art_Total"})
        QVERIFY2(campo(w, soloLectura)->isReadOnly(), soloLectura);
}

void tst_PrecioVentana::altaConPrecioNormal_data()
{
    TestDatabase::addEngineRows();
}

void tst_PrecioVentana::altaConPrecioNormal()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    PrecioRapido rapido(p.provider, p.config, p.prompter, p.calculo);
    frmPrecio w(rapido, p.provider, p.prompter);
    // The counter presets the key it did not find.
    w.setClave(QStringLiteral("7509999"));
    QTest::keyClicks(campo(w, "art_Nombre"), QStringLiteral("Shampoo"));
    auto *depto = qobject_cast<QComboBox *>(w.campo(QStringLiteral("tart_Clave")));
    depto->setCurrentIndex(depto->findData(QStringLiteral("PERF")));
    w.findChild<QCheckBox *>(QStringLiteral("chkIncluyeIva"))->setChecked(true);
    // Accepting counts the price still being typed.
    QTest::keyClicks(campo(w, "art_Importe"), QStringLiteral("116"));
    w.findChild<QPushButton *>(QStringLiteral("cmdAceptar"))->click();
    QVERIFY2(w.result() == QDialog::Accepted, qPrintable(p.prompter.texts().join(u'|')));

    db::Connection &c = db.connection();
    db::Recordset rs = c.openRecordset(QStringLiteral("select art_Nombre, tart_Clave, art_Importe, art_IVAPorc, "
                                                      "art_Total, cambio_Clave from tArticulo where art_Clave = ?"),
                                       {QStringLiteral("7509999")});
    QVERIFY(!rs.eof());
    QCOMPARE(rs.text(QStringLiteral("art_Nombre")), QStringLiteral("Shampoo"));
    QCOMPARE(rs.text(QStringLiteral("tart_Clave")), QStringLiteral("PERF"));
    QCOMPARE(rs.decimal(QStringLiteral("art_Importe")), Decimal(100));
    QCOMPARE(rs.decimal(QStringLiteral("art_IVAPorc")), Decimal(16));
    QCOMPARE(rs.decimal(QStringLiteral("art_Total")), Decimal(116));
    QCOMPARE(rs.text(QStringLiteral("cambio_Clave")), QStringLiteral("PUBLICO"));
    QCOMPARE(Decimal::fromVariant(c.scalar(QStringLiteral("select precio_Total from tArticuloPrecio where art_Clave = ? "
                                                          "and tprecio_Clave = 'NORMAL' and precio_Clave = 1"),
                                           {QStringLiteral("7509999")})),
             Decimal(116));
}

void tst_PrecioVentana::rechazoEnfocaElCampo()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    PrecioRapido rapido(p.provider, p.config, p.prompter, p.calculo);
    frmPrecio w(rapido, p.provider, p.prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.setClave(QStringLiteral("A1"));
    escribe(w, "art_Importe", QStringLiteral("10"));
    w.cmdAceptar_Click();
    QCOMPARE(p.prompter.texts(), QStringList{QStringLiteral("Debe indicar un nombre")});
    QTRY_COMPARE(QApplication::focusWidget(), w.campo(QStringLiteral("art_Nombre")));

    p.prompter.clear();
    QTest::keyClicks(campo(w, "art_Nombre"), QStringLiteral("Jabon"));
    w.cmdAceptar_Click();
    QCOMPARE(p.prompter.texts(), QStringList{QStringLiteral("Debe indicar el departamento")});
    QTRY_COMPARE(QApplication::focusWidget(), w.campo(QStringLiteral("tart_Clave")));
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tArticulo")).toInt(), 0);
}

QTEST_MAIN(tst_PrecioVentana)
#include "tst_precio_ventana.moc"
