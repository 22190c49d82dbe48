// The client window, offscreen, on both engines: a client added through its widgets, the type's
// terms shown when a type is chosen, a refusal that shows its tab and field, the type list of an
// existing client locked without the right, the catalogue buttons guarded by their rights and
// the consult mode.
#include "PuestoClientes.h"
#include "TestDatabase.h"
#include "frmCliente.h"

#include "Log.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using maestros::campo;
using maestros::elegido;
using maestros::elige;
using maestros::escribe;

class tst_ClienteVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_log.activa(); }
    void cleanupTestCase() { m_log.suelta(); }
    void altaDesdeLaVentana_data() { TestDatabase::addEngineRows(); }
    void altaDesdeLaVentana();
    void rechazoMuestraPestanaYCampo_data() { TestDatabase::addEngineRows(); }
    void rechazoMuestraPestanaYCampo();
    void tipoSinDerechoEnCambio_data();
    void tipoSinDerechoEnCambio();
    void botonesDeCatalogo_data();
    void botonesDeCatalogo();
    void consulta_data() { TestDatabase::addEngineRows(); }
    void consulta();

private:
    maestros::Bitacora m_log;
};

void tst_ClienteVentana::altaDesdeLaVentana()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoClientes p(c);
    ClienteEditor editor = p.editor();
    frmCliente w(editor, p.prompter(), u'A');
    QVERIFY(w.valido());
    QCOMPARE(w.windowTitle(), QStringLiteral("Cliente - Alta"));
    QVERIFY(w.width() <= 1000 && w.height() <= 600);
    // The defaults of a new client are on screen.
    QCOMPARE(elegido(w, "tcli_Clave"), QStringLiteral("SYS"));
    QCOMPARE(elegido(w, "pais_Clave"), QStringLiteral("MEX"));
    QCOMPARE(elegido(w, "tent_Clave"), QStringLiteral("MOSTRADOR"));

    escribe(w, "cli_Clave", QStringLiteral("C0100"));
    escribe(w, "cli_Nombre", QStringLiteral("MARIA GUADALUPE HERNANDEZ LOPEZ"));
    QVERIFY(elige(w, "edo_Clave", QStringLiteral("JAL")));
    escribe(w, "cli_Calle", QStringLiteral("Calle Morelos"));
    escribe(w, "cli_CP", QStringLiteral("44160"));
    // Choosing the type shows its terms in their fields.
    QVERIFY(elige(w, "tcli_Clave", QStringLiteral("CREDITO5")));
    QCOMPARE(campo(w, "cli_Descuento")->text(), QStringLiteral("5.00"));
    QCOMPARE(campo(w, "cli_Periodo")->text(), QStringLiteral("30"));
    QCOMPARE(campo(w, "cli_Credito")->text(), QStringLiteral("1000.00"));
    QCOMPARE(elegido(w, "per_Clave"), QStringLiteral("DIA"));
    QCOMPARE(elegido(w, "percp_Clave"), QStringLiteral("MENSUAL"));
    escribe(w, "cli_RFC", QStringLiteral("HELG850312K4A"));
    QVERIFY(elige(w, "cli_RegimenFiscal", QStringLiteral("605")));
    QVERIFY(elige(w, "cli_UsoCFDI", QStringLiteral("G03")));
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("cmdCopiarDomicilio")), Qt::LeftButton);
    QCOMPARE(campo(w, "cli_CalleFis")->text(), QStringLiteral("Calle Morelos"));
    QCOMPARE(campo(w, "cli_NombreFis")->text(), QStringLiteral("MARIA GUADALUPE HERNANDEZ LOPEZ"));
    QCOMPARE(elegido(w, "edo_ClaveFis"), QStringLiteral("JAL"));
    QVERIFY(elige(w, "usu_ClaveVendedor", QStringLiteral("VEND1")));

    p.prompter().answers << false;
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("cmdGuardar")), Qt::LeftButton);
    QCOMPARE(p.prompter().texts(),
             QStringList{"El registro fue agregado con exito, desea continuar agregando mas clientes"});
    QVERIFY(w.guardado());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    db::Recordset rs = c.openRecordset(QStringLiteral("select * from tCliente where cli_Clave = 'C0100'"));
    QVERIFY(!rs.eof());
    QCOMPARE(rs.text(QStringLiteral("cli_Nombre")), QStringLiteral("MARIA GUADALUPE HERNANDEZ LOPEZ"));
    QCOMPARE(rs.text(QStringLiteral("tcli_Clave")).trimmed(), QStringLiteral("CREDITO5"));
    QCOMPARE(rs.decimal(QStringLiteral("cli_Credito")), Decimal(1000));
    QCOMPARE(rs.text(QStringLiteral("cli_RFC")), QStringLiteral("HELG850312K4A"));
    QCOMPARE(rs.text(QStringLiteral("cli_CPFis")), QStringLiteral("44160"));
    QCOMPARE(rs.text(QStringLiteral("edo_ClaveFis")), QStringLiteral("JAL"));
    QCOMPARE(rs.text(QStringLiteral("usu_ClaveVendedor")), QStringLiteral("VEND1"));
    QCOMPARE(rs.text(QStringLiteral("cli_UsoCFDI")), QStringLiteral("G03"));
}

void tst_ClienteVentana::rechazoMuestraPestanaYCampo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoClientes p(db.connection());
    ClienteEditor editor = p.editor();
    frmCliente w(editor, p.prompter(), u'A');
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    escribe(w, "cli_Clave", QStringLiteral("C1"));
    escribe(w, "cli_Nombre", QStringLiteral("CLIENTE"));
    QVERIFY(elige(w, "edo_Clave", QStringLiteral("JAL")));
    escribe(w, "cli_RFC", QStringLiteral("GODE561231GR9"));
    w.pestanas()->setCurrentIndex(0);
    p.prompter().answers << false; // do not keep the RFC with a wrong check digit
    QTest::keyClick(&w, Qt::Key_Return);
    QCOMPARE(p.prompter().texts(),
             QStringList{"El digito verificador del RFC GODE561231GR9 no corresponde, desea continuar"});
    QCOMPARE(w.pestanas()->currentIndex(), int(ClienteEditor::Pestana::Fiscal));
    QCOMPARE(QApplication::focusWidget(), campo(w, "cli_RFC"));
    QVERIFY(!w.guardado());

    // Changing the country leaves its states behind.
    QVERIFY(elige(w, "pais_Clave", QStringLiteral("USA")));
    QCOMPARE(elegido(w, "edo_Clave"), QString());
    QVERIFY(w.findChild<QComboBox *>(QStringLiteral("edo_Clave"))->findData(QStringLiteral("TX")) > 0);
    escribe(w, "cli_RFC", QString());
    p.prompter().clear();
    QTest::keyClick(&w, Qt::Key_Return);
    QCOMPARE(p.prompter().texts(), QStringList{"Debe indicar el estado"});
    QCOMPARE(w.pestanas()->currentIndex(), int(ClienteEditor::Pestana::Domicilio));
    QCOMPARE(QApplication::focusWidget(), w.findChild<QWidget *>(QStringLiteral("edo_Clave")));
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tCliente")).toInt(), 0);
}

void tst_ClienteVentana::tipoSinDerechoEnCambio_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("conDerecho");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("con el derecho")) << true;
        TestDatabase::newRow(engine, QStringLiteral("sin el derecho")) << false;
    }
}

void tst_ClienteVentana::tipoSinDerechoEnCambio()
{
    QFETCH(QString, engine);
    QFETCH(bool, conDerecho);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    QStringList derechos{QStringLiteral("frmCliente_cmdCambio")};
    if (conDerecho)
        derechos << ClienteEditor::kDerechoCambiarTipo;
    PuestoClientes p(db.connection(), derechos);
    db.connection().execute(QStringLiteral("insert into tCliente (cli_Clave, cli_Nombre, pais_Clave, edo_Clave, "
                                           "pais_ClaveFis, tcli_Clave, cli_Descuento) values ('C1', 'UNO', 'MEX', "
                                           "'JAL', 'MEX', 'SYS', 7)"));
    ClienteEditor editor = p.editor();
    frmCliente w(editor, p.prompter(), u'C', QStringLiteral("C1"));
    QVERIFY(w.valido());
    QVERIFY(campo(w, "cli_Clave")->isReadOnly());
    auto *tipo = w.findChild<QComboBox *>(QStringLiteral("tcli_Clave"));
    QCOMPARE(tipo->isEnabled(), conDerecho);
    QCOMPARE(campo(w, "cli_Descuento")->text(), QStringLiteral("7.00"));
    if (conDerecho) {
        QVERIFY(elige(w, "tcli_Clave", QStringLiteral("CREDITO5")));
        // An existing client keeps its own terms.
        QCOMPARE(campo(w, "cli_Descuento")->text(), QStringLiteral("7.00"));
    }
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("cmdGuardar")), Qt::LeftButton);
    QCOMPARE(p.prompter().texts(), QStringList{"El registro fue actualizado con exito"});
    QCOMPARE(db.connection().scalar(QStringLiteral("select tcli_Clave from tCliente where cli_Clave = 'C1'")).toString(),
             conDerecho ? QStringLiteral("CREDITO5") : QStringLiteral("SYS"));
}

void tst_ClienteVentana::botonesDeCatalogo_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QStringList>("derechos");
    QTest::addColumn<QStringList>("habilitados");
    const QStringList todos = {"cmdtcli_Clave_Alta", "cmdtcli_Clave_Consulta", "cmdzona_Clave_Alta",
                               "cmdruta_Clave_Alta", "cmdusu_ClaveVendedor_Alta", "cmdusu_ClaveCobrador_Alta",
                               "cmdusu_ClaveEnvio_Alta"};
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("ninguno")) << QStringList{"frmCliente_cmdAlta"} << QStringList{};
        TestDatabase::newRow(engine, QStringLiteral("zona y consulta de tipos"))
            << QStringList{"frmZona_cmdAlta", "frmTipoCliente_cmdConsulta"}
            << QStringList{"cmdzona_Clave_Alta", "cmdtcli_Clave_Consulta"};
        TestDatabase::newRow(engine, QStringLiteral("usuarios, ruta y alta de tipos"))
            << QStringList{"frmUsuario_cmdAlta", "frmRuta_cmdAlta", "frmTipoCliente_cmdAlta"}
            << QStringList{"cmdtcli_Clave_Alta", "cmdruta_Clave_Alta", "cmdusu_ClaveVendedor_Alta",
                           "cmdusu_ClaveCobrador_Alta", "cmdusu_ClaveEnvio_Alta"};
        TestDatabase::newRow(engine, QStringLiteral("todos")) << QStringList{} << todos;
    }
}

void tst_ClienteVentana::botonesDeCatalogo()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, derechos);
    QFETCH(QStringList, habilitados);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoClientes p(c, derechos);
    QList<std::tuple<QString, QChar, QString>> abiertos;
    // The catalogue adds a zone, as the real zone window would.
    const MaintenanceOpener opener = [&](const QString &ventana, QChar comando, const QString &clave) {
        abiertos.append({ventana, comando, clave});
        if (ventana == QLatin1String("frmZona"))
            c.execute(QStringLiteral("insert into tZona (zona_Clave, zona_Nombre) values ('NUEVA', 'Zona nueva')"));
        return true;
    };
    ClienteEditor editor = p.editor();
    frmCliente w(editor, p.prompter(), u'A', {}, opener);
    QStringList encontrados;
    for (auto *b : w.findChildren<QToolButton *>())
        if (b->isEnabled() && b->objectName().startsWith(QLatin1String("cmd")))
            encontrados << b->objectName();
    encontrados.sort();
    habilitados.sort();
    QCOMPARE(encontrados, habilitados);
    if (habilitados.contains(QStringLiteral("cmdzona_Clave_Alta"))) {
        QTest::mouseClick(w.findChild<QToolButton *>(QStringLiteral("cmdzona_Clave_Alta")), Qt::LeftButton);
        QCOMPARE(abiertos.size(), 1);
        QCOMPARE(std::get<0>(abiertos.first()), QStringLiteral("frmZona"));
        QCOMPARE(std::get<1>(abiertos.first()), QChar(u'A'));
        // The list is read again: the new zone can be chosen at once.
        QVERIFY(elige(w, "zona_Clave", QStringLiteral("NUEVA")));
    }
    if (habilitados.contains(QStringLiteral("cmdtcli_Clave_Consulta"))) {
        QTest::mouseClick(w.findChild<QToolButton *>(QStringLiteral("cmdtcli_Clave_Consulta")), Qt::LeftButton);
        QCOMPARE(abiertos.last(), std::make_tuple(QStringLiteral("frmTipoCliente"), QChar(u'Q'), QStringLiteral("SYS")));
    }
}

void tst_ClienteVentana::consulta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoClientes p(db.connection());
    db.connection().execute(QStringLiteral("insert into tCliente (cli_Clave, cli_Nombre, pais_Clave, edo_Clave, "
                                           "pais_ClaveFis, tcli_Clave, cli_RFC) values ('C1', 'UNO', 'MEX', 'JAL', "
                                           "'MEX', 'SYS', 'GODE561231GR8')"));
    ClienteEditor editor = p.editor();
    frmCliente w(editor, p.prompter(), u'Q', QStringLiteral("C1"));
    QVERIFY(w.valido());
    QCOMPARE(campo(w, "cli_RFC")->text(), QStringLiteral("GODE561231GR8"));
    QVERIFY(campo(w, "cli_Nombre")->isReadOnly());
    QVERIFY(!w.findChild<QComboBox *>(QStringLiteral("tcli_Clave"))->isEnabled());
    QVERIFY(w.findChild<QPushButton *>(QStringLiteral("cmdGuardar"))->isHidden());
    for (auto *b : w.findChildren<QToolButton *>())
        if (b->objectName().startsWith(QLatin1String("cmd")))
            QVERIFY(!b->isEnabled());

    ClienteEditor otro = p.editor();
    frmCliente falta(otro, p.prompter(), u'Q', QStringLiteral("NOEXISTE"));
    QVERIFY(!falta.valido());
    QCOMPARE(p.prompter().texts(), QStringList{"La clave no existe"});

    // A picture of each tab, for a person to look at (MDR_CAPTURA=folder, on a real display).
    const QString carpeta = qEnvironmentVariable("MDR_CAPTURA");
    if (!carpeta.isEmpty() && engine == TestDatabase::sqlite()) {
        ClienteEditor nuevo = p.editor();
        frmCliente a(nuevo, p.prompter(), u'A');
        a.show();
        QVERIFY(QTest::qWaitForWindowExposed(&a));
        for (int i = 0; i < a.pestanas()->count(); ++i) {
            a.pestanas()->setCurrentIndex(i);
            QTest::qWait(300);
            a.grab().save(QDir(carpeta).filePath(QStringLiteral("frmCliente-%1.png").arg(i)));
        }
    }
}

QTEST_MAIN(tst_ClienteVentana)
#include "tst_cliente_ventana.moc"
