// The lookup windows bound to their rules, offscreen: the modal lookup and its result, the
// catalogue window with its maintenance commands, the article lookup's columns, the settings
// combos and the stored-query maintenance window.
#include "ConsultaFixture.h"
#include "ConsultaSQLEditor.h"
#include "ListEntry.h"
#include "LookupPanel.h"
#include "TestDatabase.h"
#include "frmCatalogo.h"
#include "frmConsulta.h"
#include "frmConsultaArt.h"
#include "frmConsultaSQL.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

void addArticulos(db::Connection &c)
{
    const QList<QStringList> rows = {{"7501001", "Paracetamol 500 mg tabletas c/20", "REGISTRADO"},
                                     {"7501002", "Paracetamol infantil jarabe 120 ml", "REGISTRADO"},
                                     {"7501003", "Ibuprofeno 400 mg tabletas c/10", "REGISTRADO"},
                                     {"7501004", "Paracetamol suspendido", "SUSPENDIDO"}};
    for (const QStringList &r : rows)
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, eart_Clave, art_Importe, art_Total) "
                                 "values (?, ?, ?, 25.5, 29.58)"),
                  {r.at(0), r.at(1), r.at(2)});
}

LookupDefinition articulos()
{
    LookupDefinition d;
    d.selectList = QStringLiteral("art_Clave, art_Nombre");
    d.table = QStringLiteral("tArticulo");
    d.order = QStringLiteral("art_Clave");
    d.searchFields = {{QStringLiteral("Nombre"), QStringLiteral("art_Nombre"), LookupField::Texto}};
    d.columns = {{QStringLiteral("Clave"), QLatin1Char('?'), 90}, {QStringLiteral("Nombre"), QLatin1Char('?'), 0}};
    d.title = QStringLiteral("Articulos");
    return d;
}

template <typename T>
T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QLatin1String(name));
    if (!c)
        qFatal("missing child %s", name);
    return c;
}

void grantRights(db::Connection &c, const QStringList &rights)
{
    c.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('GERENTE', 'Gerente')"));
    for (const QString &r : rights)
        c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('GERENTE', ?)"), {r});
}

} // namespace

class tst_ConsultaVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_log.emplace(); }
    void cleanup() { m_log.reset(); }

    void consultaAutoAceptaSinMostrarse_data() { TestDatabase::addEngineRows(); }
    void consultaAutoAceptaSinMostrarse();
    void aceptarFilaElegida_data() { TestDatabase::addEngineRows(); }
    void aceptarFilaElegida();
    void catalogoComandos_data() { TestDatabase::addEngineRows(); }
    void catalogoComandos();
    void articulosColumnasConfiguradas_data() { TestDatabase::addEngineRows(); }
    void articulosColumnasConfiguradas();
    void combosDeAjustes_data() { TestDatabase::addEngineRows(); }
    void combosDeAjustes();
    void consultaSQLAltaYConsulta_data() { TestDatabase::addEngineRows(); }
    void consultaSQLAltaYConsulta();

private:
    std::optional<TestLogDirectory> m_log;
};

void tst_ConsultaVentana::consultaAutoAceptaSinMostrarse()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    LookupDefinition d = articulos();
    d.autoAccept = true;
    // A modal loop here would block the test: consulta must return before showing anything.
    const LookupResult r = frmConsulta::consulta(st.services(), d, {}, nullptr, QStringLiteral("ibupro"));
    QVERIFY(r.accepted);
    QCOMPARE(r.key, QStringLiteral("7501003"));
    QCOMPARE(r.name, QStringLiteral("Ibuprofeno 400 mg tabletas c/10"));
    QVERIFY(st.prompter.shown.isEmpty());
}

void tst_ConsultaVentana::aceptarFilaElegida()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    frmConsulta w(st.services(), articulos());
    QCOMPARE(w.windowTitle(), QStringLiteral("Articulos"));
    QVERIFY(!w.buscar(QStringLiteral("paracetamol")));
    QTableView *grid = child<QTableView>(&w, "grdConsulta");
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Clave"));
    QCOMPARE(grid->columnWidth(0), 90);
    grid->selectRow(1);
    QTest::mouseClick(child<QPushButton>(&w, "cmdAceptar"), Qt::LeftButton);
    QCOMPARE(w.result().key, QStringLiteral("7501002"));
    QCOMPARE(w.QDialog::result(), int(QDialog::Accepted));

    // Nothing found: the message, and the window stays open.
    frmConsulta otra(st.services(), articulos());
    otra.buscar(QStringLiteral("zzz"));
    QTest::mouseClick(child<QPushButton>(&otra, "cmdAceptar"), Qt::LeftButton);
    QCOMPARE(st.prompter.texts(), (QStringList{"No se encontraron elementos con el criterio indicado",
                                               "Debe seleccionar un registro"}));
    QVERIFY(!otra.result().accepted);
}

void tst_ConsultaVentana::catalogoComandos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    grantRights(db.connection(), {"frmArticulo_cmdCambio", "frmArticulo_cmdConsulta"});
    ConsultaStation st(&db.connection());

    frmCatalogo sinMantenimiento(st.services(), articulos());
    for (const char *name : {"cmdReg", "cmdMod", "cmdBaja", "cmdCon"})
        QVERIFY(child<QPushButton>(&sinMantenimiento, name)->isHidden());

    QList<QPair<QChar, QString>> calls;
    LookupDefinition d = articulos();
    d.maintenanceWindow = QStringLiteral("frmArticulo");
    auto *w = new frmCatalogo(st.services(), d, [&](const QString &, QChar cmd, const QString &key) {
        calls.append({cmd, key});
        return false;
    });
    QSignalSpy chosen(w, &frmCatalogo::chosen);
    QCOMPARE(w->windowTitle(), QStringLiteral("Articulos"));
    QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!child<QPushButton>(w, "cmdReg")->isHidden());
    QVERIFY(!child<QPushButton>(w, "cmdReg")->isEnabled());
    QVERIFY(child<QPushButton>(w, "cmdMod")->isEnabled());
    QVERIFY(!child<QPushButton>(w, "cmdBaja")->isEnabled());
    QVERIFY(child<QPushButton>(w, "cmdCon")->isEnabled());

    child<QLineEdit>(w, "txtBuscar")->setText(QStringLiteral("tabletas"));
    w->cmdBuscar_Click();
    QTableView *grid = child<QTableView>(w, "grdConsulta");
    QCOMPARE(grid->model()->rowCount(), 2);
    grid->selectRow(1);
    // Enter on a row opens it for change, the right the profile has.
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().first().value<LookupResult>().key, QStringLiteral("7501003"));
    QCOMPARE(calls, (QList<QPair<QChar, QString>>{{QLatin1Char('C'), QStringLiteral("7501003")}}));
    delete w;
}

void tst_ConsultaVentana::articulosColumnasConfiguradas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    st.config.setValue(QStringLiteral("BUSQUEDA-COLUMNAS"), 5);
    frmConsultaArt w(st.services());
    QCOMPARE(w.objectName(), QStringLiteral("frmConsultaArt"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Consulta de Articulos"));
    QCOMPARE(child<QComboBox>(&w, "cmbCampo")->currentText(), QStringLiteral("Nombre"));
    w.buscar(QStringLiteral("PARACETAMOL"));
    QTableView *grid = child<QTableView>(&w, "grdConsulta");
    QStringList headers;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        headers << grid->model()->headerData(i, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{"Clave", "Nombre", "Importe", "Descuento", "Total"}));
    QCOMPARE(grid->columnWidth(1), 300);
    // Suspended articles are left out by default; ordered by name.
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("7501001"));
    QCOMPARE(grid->model()->index(0, 4).data().toString(), QStringLiteral("29.58"));
}

void tst_ConsultaVentana::combosDeAjustes()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    ConsultaStation st(&db.connection());
    st.config.setValue(QStringLiteral("PREGUNTAR-CONSULTA-VACIA"), false);
    frmConsulta w(st.services(), articulos());
    QComboBox *busqueda = child<QComboBox>(&w, "cmbBusqueda");
    QComboBox *pregunta = child<QComboBox>(&w, "cmbPregunta");
    QCOMPARE(busqueda->itemText(0), QStringLiteral("Cualquier parte de la palabra"));
    QCOMPARE(busqueda->itemText(1), QStringLiteral("Inicio de la palabra"));
    QCOMPARE(busqueda->currentIndex(), 0);
    QCOMPARE(pregunta->currentIndex(), 1);
    QCOMPARE(ListEntry::key(pregunta->currentData().toString()), QStringLiteral("N"));
    busqueda->setCurrentIndex(1);
    QCOMPARE(st.config.getValue(QStringLiteral("BUSQUEDA-LIKE")).toBool(), false);
    pregunta->setCurrentIndex(0);
    QCOMPARE(st.config.getValue(QStringLiteral("PREGUNTAR-CONSULTA-VACIA")).toBool(), true);
    QTest::mouseClick(child<QPushButton>(&w, "cmdSalvarSetting"), Qt::LeftButton);
    QCOMPARE(st.prompter.texts(), QStringList{"Configuracion actualizada"});
}

void tst_ConsultaVentana::consultaSQLAltaYConsulta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    c.execute(QStringLiteral("insert into tConsulta (con_Clave, con_Nombre, con_SQL) values (41, 'Vieja', 'select 1')"));
    ConsultaStation st(&c);
    {
        frmConsultaSQL w(st.services(), QStringLiteral("A"));
        QCOMPARE(child<QLineEdit>(&w, "txtClave")->text(), QStringLiteral("42"));
        child<QLineEdit>(&w, "txtNombre")->setText(QStringLiteral("Usuarios"));
        child<QPlainTextEdit>(&w, "txtSQL")->setPlainText(QStringLiteral("select usu_Clave, usu_Nombre from tUsuario"));
        QTest::mouseClick(child<QPushButton>(&w, "cmdAgregarColumna"), Qt::LeftButton);
        w.columnas().setData(w.columnas().index(0, ConsultaSQLColumnas::Campo), QStringLiteral("usu_Clave"));
        w.columnas().setData(w.columnas().index(0, ConsultaSQLColumnas::Valor), Qt::Checked, Qt::CheckStateRole);
        st.prompter.answers.enqueue(false);
        QTest::mouseClick(child<QPushButton>(&w, "cmdAceptar"), Qt::LeftButton);
        QVERIFY(w.cambios());
        QCOMPARE(w.QDialog::result(), int(QDialog::Accepted));
    }
    QCOMPARE(c.scalar(QStringLiteral("select con_Nombre from tConsulta where con_Clave = 42")).toString(),
             QStringLiteral("Usuarios"));
    QCOMPARE(c.scalar(QStringLiteral("select sel_Campo from tSelect where con_Clave = 42 and sel_Orden = 1")).toString(),
             QStringLiteral("usu_Clave"));

    frmConsultaSQL q(st.services(), QStringLiteral("Q"), QStringLiteral("42"));
    QCOMPARE(child<QLineEdit>(&q, "txtNombre")->text(), QStringLiteral("Usuarios"));
    QVERIFY(child<QLineEdit>(&q, "txtNombre")->isReadOnly());
    QVERIFY(child<QPushButton>(&q, "cmdAceptar")->isHidden());
    QCOMPARE(q.columnas().rowCount(), 1);

    // The catalogue lookup over tConsulta opens this window as its maintenance window.
    const LookupDefinition d = ConsultaSQLEditor::definicionCatalogo();
    QCOMPARE(d.maintenanceWindow, QStringLiteral("frmConsultaSQL"));
    st.prompter.clear();
    st.prompter.answers.enqueue(true);
    QVERIFY(frmConsultaSQL::abrir(st.services(), QLatin1Char('B'), QStringLiteral("41"), nullptr));
    QCOMPARE(st.prompter.texts(), (QStringList{"Esta seguro de eliminar la Consulta Vieja",
                                               "El registro fue eliminado con exito"}));
}

QTEST_MAIN(tst_ConsultaVentana)
#include "tst_consulta_ventana.moc"
