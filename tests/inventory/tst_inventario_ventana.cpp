// The physical inventory windows, offscreen: opening through the fields (a refused field takes
// the focus), counting from the keyboard and by scanning, grid edits and deletions, closing the
// counts up to the adjustments and concluding them into stock, a closed inventory read only, a
// database failure reported plainly, and the list of inventories newest first.
#include "ArticulosExistencia.h"
#include "DbError.h"
#include "EstacionPrueba.h"
#include "Existencias.h"
#include "InvariantesExistencia.h"
#include "InventarioFisico.h"
#include "LookupServices.h"
#include "Log.h"
#include "TestDatabase.h"
#include "frmInventario.h"
#include "frmInventarioDet.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Warehouse A1: LIB 10, EXI 5, LOT L1 3, SER S1, NIN ('NINGUNO') 4; A2: LIB 7. LIB and EXI are
// department MED. LIB also scans as 7501234.
struct Tienda {
    Tienda(db::Connection &c, const QString &settingsFile)
        : conn(c), estacion(&c, settingsFile),
          existencias(estacion.provider, estacion.config, estacion.prompter), servicios{estacion.provider,
                                                                                        estacion.config,
                                                                                        estacion.prompter}
    {
        creaArticulosExistencia(c);
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, cinv_Clave, art_Costo) "
                                 "values ('NIN', 'Articulo NIN', 'NINGUNO', 2)"));
        c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz'), "
                                 "('A2', 'Sucursal')"));
        c.execute(QStringLiteral(
            "insert into tTipoArticulo (tart_Clave, tart_Nombre) values ('MED', 'Medicinas')"));
        c.execute(
            QStringLiteral("update tArticulo set tart_Clave = 'MED' where art_Clave in ('LIB', 'EXI')"));
        c.execute(
            QStringLiteral("insert into tArticuloCodigo (acod_Codigo, art_Clave) values ('7501234', 'LIB')"));
        for (const char *e :
             {"A1|LIB||10", "A1|EXI||5", "A1|LOT|L1|3", "A1|SER|S1|1", "A1|NIN||4", "A2|LIB||7"}) {
            const QStringList p = QString::fromLatin1(e).split(u'|');
            if (!existencias.actualizaArticuloAlmacen(p[0], p[1], p[2], Decimal(p[3]), QStringLiteral("E"),
                                                      QStringLiteral("PRUEBA"), {}, {}, Decimal(1), false,
                                                      false, false))
                qFatal("%s", qPrintable(existencias.ultimoError()));
        }
        estacion.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
        estacion.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ANA"));
    }

    ScriptedPrompter &prompter() { return estacion.prompter; }
    QStringList conteos()
    {
        return filas(conn, QStringLiteral("select art_Clave, alma_Clave, inva_Conteo1, inva_Conteo2 "
                                          "from tInventarioArticulo order by art_Clave, alma_Clave"));
    }

    db::Connection &conn;
    EstacionPrueba estacion;
    Existencias existencias;
    LookupServices servicios;
};

template <typename T> T *hijo(QWidget &w, const char *nombre)
{
    T *t = w.findChild<T *>(QLatin1String(nombre));
    if (!t)
        qWarning("no widget %s", nombre);
    return t;
}

void elige(QWidget &w, const char *combo, const QVariant &dato)
{
    auto *c = hijo<QComboBox>(w, combo);
    QVERIFY(c);
    const int i = c->findData(dato);
    QVERIFY2(i >= 0, qPrintable(dato.toString()));
    c->setCurrentIndex(i);
}

void escribe(QWidget &w, const char *nombre, const QString &valor)
{
    QLineEdit *t = hijo<QLineEdit>(w, nombre);
    t->selectAll();
    t->del();
    QTest::keyClicks(t, valor);
}

void enter(QWidget &w, const char *nombre)
{
    QTest::keyClick(hijo<QLineEdit>(w, nombre), Qt::Key_Return);
}

bool activa(QWidget &w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    return QTest::qWaitForWindowActive(&w);
}

// Opens a new inventory of A1 for 2026 through the opening panel, answering Yes.
void abre(frmInventarioDet &w, Tienda &t, const QString &tipo, int conteos)
{
    elige(w, "cmbAlmacen", QStringLiteral("A1"));
    escribe(w, "txtAnio", QStringLiteral("2026"));
    Q_EMIT hijo<QLineEdit>(w, "txtAnio")->editingFinished();
    elige(w, "cmbConteos", conteos);
    elige(w, "cmbTipo", tipo);
    t.prompter().answers.enqueue(true);
    hijo<QPushButton>(w, "cmdIniciar")->click();
}

// "article|lot|count 1|count 2|..." as the grid shows the visible columns.
QStringList renglones(QTableView *v)
{
    QStringList out;
    for (int r = 0; r < v->model()->rowCount(); ++r) {
        QStringList celdas;
        for (int c = 0; c < v->model()->columnCount(); ++c)
            if (!v->isColumnHidden(c))
                celdas << v->model()->index(r, c).data().toString();
        out << celdas.join(u'|');
    }
    return out;
}

} // namespace

class tst_InventarioVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void aperturaTotal_data() { TestDatabase::addEngineRows(); }
    void aperturaTotal();
    void campoRechazadoEnfocado_data();
    void campoRechazadoEnfocado();
    void capturaConTeclado_data() { TestDatabase::addEngineRows(); }
    void capturaConTeclado();
    void capturaAutomatica_data() { TestDatabase::addEngineRows(); }
    void capturaAutomatica();
    void articuloNuevo_data();
    void articuloNuevo();
    void editaYEliminaEnElGrid_data() { TestDatabase::addEngineRows(); }
    void editaYEliminaEnElGrid();
    void conteosHastaConcluir_data() { TestDatabase::addEngineRows(); }
    void conteosHastaConcluir();
    void procesarYReiniciar_data() { TestDatabase::addEngineRows(); }
    void procesarYReiniciar();
    void cargaArchivoConReporte_data() { TestDatabase::addEngineRows(); }
    void cargaArchivoConReporte();
    void fallaDeBaseDeDatos_data() { TestDatabase::addEngineRows(); }
    void fallaDeBaseDeDatos();
    void listaRecientesPrimero_data() { TestDatabase::addEngineRows(); }
    void listaRecientesPrimero();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_InventarioVentana::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_InventarioVentana::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_InventarioVentana::aperturaTotal()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    // An older inventory of A1 in 2026 makes the proposed number 2.
    db.connection().execute(
        QStringLiteral("insert into tInventario (alm_Clave, inv_Anio, inv_Clave, inv_Fecha, einv_Clave, "
                       "inv_Conteo, tinv_Clave) "
                       "values ('A1', 2026, 1, '2026-01-05 10:00:00', 'CERRADO', 1, 'PARCIAL')"));
    frmInventarioDet w(t.servicios);
    QVERIFY(activa(w));
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Apertura);
    QCOMPARE(hijo<QComboBox>(w, "cmbAlmacen")->currentData().toString(), QStringLiteral("A1"));
    // Department and category only for their kinds.
    elige(w, "cmbTipo", QStringLiteral("DEPTO"));
    QVERIFY(hijo<QComboBox>(w, "cmbDepartamento")->isVisible());
    QVERIFY(!hijo<QComboBox>(w, "cmbCategoria")->isVisible());
    elige(w, "cmbTipo", QStringLiteral("CATEGORIA"));
    QVERIFY(!hijo<QComboBox>(w, "cmbDepartamento")->isVisible());
    QVERIFY(hijo<QComboBox>(w, "cmbCategoria")->isVisible());

    abre(w, t, QStringLiteral("TOTAL"), 2);
    QCOMPARE(hijo<QLineEdit>(w, "txtNumero")->text(), QStringLiteral("2"));
    QCOMPARE(t.prompter().texts(), QStringList{QStringLiteral("Desea iniciar un nuevo inventario")});
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Captura);
    QVERIFY(w.cambiado());
    QCOMPARE(hijo<QLabel>(w, "lblConteo")->text(), QStringLiteral("Conteo 1"));
    QCOMPARE(QApplication::focusWidget(), hijo<QLineEdit>(w, "txtArticulo"));
    QCOMPARE(
        filas(db.connection(), QStringLiteral("select alm_Clave, inv_Anio, inv_Clave, usu_Clave, einv_Clave, "
                                              "inv_Conteo, tinv_Clave, inv_ConteoActual from tInventario "
                                              "where inv_Clave = 2")),
        QStringList{QStringLiteral("A1|2026|2|ANA|REGISTRADO|2|TOTAL|1")});
    // Every article with stock in A1 preloaded; two counts: no third column.
    auto *grid = hijo<QTableView>(w, "grdConteos");
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(renglones(grid), (QStringList{"EXI||0|0|", "LIB||0|0|", "LOT||0|0|", "NIN||0|0|", "SER||0|0|"}));
    QStringList titulos;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c))
            titulos << grid->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titulos, (QStringList{"Articulo", "Serie/Lote", "Conteo 1", "Conteo 2", "Diferencia"}));
}

void tst_InventarioVentana::campoRechazadoEnfocado_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("almacen");
    QTest::addColumn<QString>("anio");
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("campo");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("sin almacen")) << ""
                                                               << "2026"
                                                               << "1"
                                                               << "TOTAL"
                                                               << "Debe seleccionar un almacen"
                                                               << "cmbAlmacen";
        TestDatabase::newRow(e, QStringLiteral("sin año")) << "A1"
                                                           << ""
                                                           << "1"
                                                           << "TOTAL"
                                                           << "Debe seleccionar un año"
                                                           << "txtAnio";
        TestDatabase::newRow(e, QStringLiteral("sin numero")) << "A1"
                                                              << "2026"
                                                              << ""
                                                              << "TOTAL"
                                                              << "Debe indicar un numero de inventario"
                                                              << "txtNumero";
        TestDatabase::newRow(e, QStringLiteral("departamento sin elegir"))
            << "A1"
            << "2026"
            << "1"
            << "DEPTO"
            << "Debe seleccionar un departamento"
            << "cmbDepartamento";
        TestDatabase::newRow(e, QStringLiteral("categoria sin elegir")) << "A1"
                                                                        << "2026"
                                                                        << "1"
                                                                        << "CATEGORIA"
                                                                        << "Debe seleccionar una categoria"
                                                                        << "cmbCategoria";
    }
}

void tst_InventarioVentana::campoRechazadoEnfocado()
{
    QFETCH(QString, engine);
    QFETCH(QString, almacen);
    QFETCH(QString, anio);
    QFETCH(QString, numero);
    QFETCH(QString, tipo);
    QFETCH(QString, mensaje);
    QFETCH(QString, campo);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    frmInventarioDet w(t.servicios);
    QVERIFY(activa(w));
    if (almacen.isEmpty())
        hijo<QComboBox>(w, "cmbAlmacen")->setCurrentIndex(-1);
    else
        elige(w, "cmbAlmacen", almacen);
    elige(w, "cmbTipo", tipo);
    escribe(w, "txtAnio", anio);
    escribe(w, "txtNumero", numero);
    // Enter on a field accepts the panel.
    QTest::keyClick(hijo<QLineEdit>(w, "txtNumero"), Qt::Key_Return);
    QCOMPARE(t.prompter().texts(), QStringList{mensaje});
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Apertura);
    QCOMPARE(QApplication::focusWidget()->objectName(), campo);
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tInventario")).toInt(), 0);
}

void tst_InventarioVentana::capturaConTeclado()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    QVERIFY(t.estacion.config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), false));
    frmInventarioDet w(t.servicios);
    QVERIFY(activa(w));
    abre(w, t, QStringLiteral("PARCIAL"), 1);
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Captura);
    auto *articulo = hijo<QLineEdit>(w, "txtArticulo");
    auto *grid = hijo<QTableView>(w, "grdConteos");
    QCOMPARE(grid->model()->rowCount(), 0);
    t.prompter().clear();

    // Article, Enter, quantity, Enter: counted, and the article field is ready for the next.
    escribe(w, "txtArticulo", QStringLiteral("LIB"));
    enter(w, "txtArticulo");
    QCOMPARE(QApplication::focusWidget(), hijo<QLineEdit>(w, "txtCantidad"));
    escribe(w, "txtCantidad", QStringLiteral("3"));
    enter(w, "txtCantidad");
    QCOMPARE(renglones(grid), QStringList{QStringLiteral("LIB||3")});
    QCOMPARE(QApplication::focusWidget(), articulo);
    QVERIFY(articulo->text().isEmpty());
    QVERIFY(hijo<QLineEdit>(w, "txtCantidad")->text().isEmpty());
    QVERIFY(hijo<QLabel>(w, "lblUltimo")->text().contains(QStringLiteral("Articulo LIB")));

    // By its barcode, quantity typed first: adds to the same row.
    escribe(w, "txtCantidad", QStringLiteral("2.5"));
    escribe(w, "txtArticulo", QStringLiteral("7501234"));
    enter(w, "txtArticulo");
    QCOMPARE(renglones(grid), QStringList{QStringLiteral("LIB||5.5")});

    // A lot article asks for its lot before the quantity.
    escribe(w, "txtArticulo", QStringLiteral("LOT"));
    enter(w, "txtArticulo");
    QCOMPARE(QApplication::focusWidget(), hijo<QLineEdit>(w, "txtLote"));
    escribe(w, "txtLote", QStringLiteral("L1"));
    enter(w, "txtLote");
    QCOMPARE(QApplication::focusWidget(), hijo<QLineEdit>(w, "txtCantidad"));
    escribe(w, "txtCantidad", QStringLiteral("2"));
    enter(w, "txtCantidad");
    QCOMPARE(renglones(grid), (QStringList{"LIB||5.5", "LOT|L1|2"}));
    QVERIFY(t.prompter().texts().isEmpty());

    // A refusal keeps what was typed and gives the field back, its text selected.
    escribe(w, "txtArticulo", QStringLiteral("NIN"));
    escribe(w, "txtCantidad", QStringLiteral("1"));
    enter(w, "txtCantidad");
    QCOMPARE(t.prompter().last(),
             QStringLiteral("No es posible inventariar articulos sin control de inventario  "
                            "( CONTROL DE INVENTARIO = <NINGUNO> )"));
    QCOMPARE(QApplication::focusWidget(), articulo);
    QCOMPARE(articulo->selectedText(), QStringLiteral("NIN"));
    // A negative quantity: the quantity field.
    escribe(w, "txtArticulo", QStringLiteral("EXI"));
    escribe(w, "txtCantidad", QStringLiteral("-1"));
    enter(w, "txtCantidad");
    QCOMPARE(t.prompter().last(), QStringLiteral("No se admiten existencias negativas"));
    QCOMPARE(QApplication::focusWidget(), hijo<QLineEdit>(w, "txtCantidad"));
    QCOMPARE(t.conteos(), (QStringList{"LIB||5.5|0", "LOT|L1|2|0"}));
}

void tst_InventarioVentana::capturaAutomatica()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    QVERIFY(t.estacion.config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), true));
    frmInventarioDet w(t.servicios);
    QVERIFY(activa(w));
    abre(w, t, QStringLiteral("PARCIAL"), 1);
    t.prompter().clear();
    auto *articulo = hijo<QLineEdit>(w, "txtArticulo");
    // Each scan (the code and its Enter) counts one unit at once.
    for (int i = 0; i < 3; ++i) {
        QTest::keyClicks(articulo, QStringLiteral("7501234"));
        QTest::keyClick(articulo, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), articulo);
        QVERIFY(articulo->text().isEmpty());
    }
    // A serial still needs its number; then it counts one.
    QTest::keyClicks(articulo, QStringLiteral("SER"));
    QTest::keyClick(articulo, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), hijo<QLineEdit>(w, "txtLote"));
    QTest::keyClicks(hijo<QLineEdit>(w, "txtLote"), QStringLiteral("S1"));
    enter(w, "txtLote");
    // A quantity typed by hand still counts as typed.
    escribe(w, "txtCantidad", QStringLiteral("4"));
    QTest::keyClicks(articulo, QStringLiteral("EXI"));
    QTest::keyClick(articulo, Qt::Key_Return);
    QVERIFY(t.prompter().texts().isEmpty());
    QCOMPARE(t.conteos(), (QStringList{"EXI||4|0", "LIB||3|0", "SER|S1|1|0"}));
    QCOMPARE(renglones(hijo<QTableView>(w, "grdConteos")), (QStringList{"EXI||4", "LIB||3", "SER|S1|1"}));
}

void tst_InventarioVentana::articuloNuevo_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("conEditor");
    QTest::addColumn<bool>("respuesta");
    QTest::addColumn<QStringList>("llamadas");
    QTest::addColumn<QStringList>("conteos");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("registrado y contado"))
            << true << true << QStringList{"NUEVO"} << QStringList{"NUEVO||2|0"};
        TestDatabase::newRow(e, QStringLiteral("no lo quiere registrar"))
            << true << false << QStringList{} << QStringList{};
        TestDatabase::newRow(e, QStringLiteral("sin editor no pasa nada"))
            << false << true << QStringList{} << QStringList{};
    }
}

void tst_InventarioVentana::articuloNuevo()
{
    QFETCH(QString, engine);
    QFETCH(bool, conEditor);
    QFETCH(bool, respuesta);
    QFETCH(QStringList, llamadas);
    QFETCH(QStringList, conteos);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    QStringList vistas;
    frmInventarioDet::RegistraArticulo registra;
    if (conEditor)
        registra = [&](const QString &clave) {
            vistas << clave;
            db.connection().execute(
                QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, cinv_Clave) "
                               "values (?, 'Recien registrado', 'LIBRE')"),
                {clave});
            return true;
        };
    frmInventarioDet w(t.servicios, registra);
    QVERIFY(activa(w));
    abre(w, t, QStringLiteral("PARCIAL"), 1);
    t.prompter().clear();
    t.prompter().answers.enqueue(respuesta);
    escribe(w, "txtArticulo", QStringLiteral("NUEVO"));
    escribe(w, "txtCantidad", QStringLiteral("2"));
    enter(w, "txtCantidad");
    QCOMPARE(t.prompter().texts(),
             QStringList{QStringLiteral("Articulo no encontrado, desea registrarlo ?")});
    QVERIFY(t.prompter().drained());
    QCOMPARE(vistas, llamadas);
    QCOMPARE(t.conteos(), conteos);
    QCOMPARE(QApplication::focusWidget(), hijo<QLineEdit>(w, "txtArticulo"));
}

void tst_InventarioVentana::editaYEliminaEnElGrid()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    frmInventarioDet w(t.servicios);
    QVERIFY(activa(w));
    abre(w, t, QStringLiteral("DEPTO"), 2); // refused: no department chosen yet
    QCOMPARE(t.prompter().last(), QStringLiteral("Debe seleccionar un departamento"));
    t.prompter().answers.clear();
    elige(w, "cmbDepartamento", QStringLiteral("MED"));
    t.prompter().answers.enqueue(true);
    hijo<QPushButton>(w, "cmdIniciar")->click();
    auto *grid = hijo<QTableView>(w, "grdConteos");
    QCOMPARE(renglones(grid), (QStringList{"EXI||0|0|", "LIB||0|0|"}));
    t.prompter().clear();

    // Typing into a count cell and Enter goes through the rules.
    const auto editaCelda = [&](int row, int column, const QString &texto) {
        const QModelIndex i = grid->model()->index(row, column);
        grid->setFocus();
        grid->setCurrentIndex(i);
        QTest::keyClick(grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(i));
        QVERIFY(editor);
        QCOMPARE(QApplication::focusWidget(), editor);
        editor->selectAll();
        QTest::keyClicks(editor, texto);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits on its next turn of the event loop.
        QTRY_VERIFY(!grid->indexWidget(i));
    };
    editaCelda(1, ConteosInventarioModel::Conteo1, QStringLiteral("doce"));
    QCOMPARE(t.prompter().texts(), QStringList{QStringLiteral("Debe capturar un numero")});
    QCOMPARE(t.conteos(), (QStringList{"EXI||0|0", "LIB||0|0"}));
    editaCelda(1, ConteosInventarioModel::Conteo1, QStringLiteral("12"));
    editaCelda(1, ConteosInventarioModel::Conteo2, QStringLiteral("11"));
    QCOMPARE(t.conteos(), (QStringList{"EXI||0|0", "LIB||12|11"}));
    // The difference stays blank until the second count is under way.
    QCOMPARE(renglones(grid), (QStringList{"EXI||0|0|", "LIB||12|11|"}));
    // Article and lot are not edited in the grid.
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, ConteosInventarioModel::Articulo)) &
              Qt::ItemIsEditable));
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, ConteosInventarioModel::Diferencia)) &
              Qt::ItemIsEditable));

    // Delete on a row, asked first.
    t.prompter().clear();
    grid->setFocus();
    grid->selectRow(0);
    t.prompter().answers << false;
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(grid->model()->rowCount(), 2);
    t.prompter().answers << true;
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(t.prompter().texts(),
             (QStringList{"Desea eliminar el articulo EXI", "Desea eliminar el articulo EXI"}));
    QCOMPARE(renglones(grid), QStringList{QStringLiteral("LIB||12|11|")});
    QCOMPARE(t.conteos(), QStringList{QStringLiteral("LIB||12|11")});
}

void tst_InventarioVentana::conteosHastaConcluir()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Tienda t(c, settingsFile());
    ScriptedPrompter &p = t.prompter();
    frmInventarioDet w(t.servicios);
    QVERIFY(activa(w));
    abre(w, t, QStringLiteral("PARCIAL"), 2);
    const auto cuenta = [&](const QString &art, const QString &cantidad) {
        escribe(w, "txtArticulo", art);
        escribe(w, "txtCantidad", cantidad);
        enter(w, "txtCantidad");
    };
    cuenta(QStringLiteral("LIB"), QStringLiteral("12"));
    cuenta(QStringLiteral("EXI"), QStringLiteral("5"));
    p.clear();
    p.answers << true;
    hijo<QPushButton>(w, "cmdCerrarConteo")->click();
    QCOMPARE(p.texts(), (QStringList{"Desea cerrar el primer conteo",
                                     "Por favor capture nuevamente los articulos para el conteo 2"}));
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Captura);
    QCOMPARE(hijo<QLabel>(w, "lblConteo")->text(), QStringLiteral("Conteo 2"));
    QCOMPARE(QApplication::focusWidget(), hijo<QLineEdit>(w, "txtArticulo"));
    cuenta(QStringLiteral("LIB"), QStringLiteral("12"));
    QCOMPARE(renglones(hijo<QTableView>(w, "grdConteos")), (QStringList{"EXI||5|0|5", "LIB||12|12|0"}));
    cuenta(QStringLiteral("EXI"), QStringLiteral("5"));
    QCOMPARE(renglones(hijo<QTableView>(w, "grdConteos")), (QStringList{"EXI||5|5|0", "LIB||12|12|0"}));
    p.clear();
    p.answers << true << true;
    hijo<QPushButton>(w, "cmdCerrarConteo")->click();
    QCOMPARE(p.texts(), (QStringList{"Desea cerrar el segundo conteo",
                                     "La captura ha sido completada, desea procesar el inventario"}));
    // The adjustments: only LIB differs from its stock.
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Ajustes);
    auto *ajustes = hijo<QTableView>(w, "grdAjustes");
    QAbstractItemModelTester tester(ajustes->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(renglones(ajustes),
             QStringList{QStringLiteral("LIB|Articulo LIB||12|10|ENTRADA DE ALMACEN|2|10.00")});
    QVERIFY(hijo<QPushButton>(w, "cmdConcluir")->isVisible());

    const QStringList antes = filasExistencia(c);
    p.clear();
    p.answers << false;
    hijo<QPushButton>(w, "cmdConcluir")->click();
    QCOMPARE(filasExistencia(c), antes);
    p.clear();
    p.answers << true;
    hijo<QPushButton>(w, "cmdConcluir")->click();
    QCOMPARE(p.texts(),
             (QStringList{"Esto modificara las existencias para los articulos afectados, desea continuar",
                          "El Inventario ha sido concluido con exito"}));
    QCOMPARE(filasExistencia(c), (QStringList{"A1|EXI|=5", "A1|LIB|=12", "A1|LOT|L1=3", "A1|NIN|=4",
                                              "A1|SER|S1=1", "A2|LIB|=7"}));
    MDR_VERIFICA_INVARIANTES(c);
    // Closed: the adjustments stay, read only.
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Ajustes);
    QVERIFY(!hijo<QPushButton>(w, "cmdConcluir")->isVisible());
    QVERIFY(!hijo<QPushButton>(w, "cmdReiniciarAjustes")->isVisible());

    // Opened again from the list: read only, the same adjustments.
    frmInventarioDet otra(t.servicios);
    QVERIFY(activa(otra));
    QVERIFY(otra.muestra(QStringLiteral("A1"), 2026, 1));
    QCOMPARE(otra.panel(), frmInventarioDet::Panel::Ajustes);
    QVERIFY(!hijo<QPushButton>(otra, "cmdConcluir")->isVisible());
    QVERIFY(hijo<QLabel>(otra, "lblAjustes")->text().contains(QStringLiteral("solo consulta")));
    QCOMPARE(renglones(hijo<QTableView>(otra, "grdAjustes")),
             QStringList{QStringLiteral("LIB|Articulo LIB||12|10|ENTRADA DE ALMACEN|2|10.00")});
}

void tst_InventarioVentana::procesarYReiniciar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    ScriptedPrompter &p = t.prompter();
    frmInventarioDet w(t.servicios);
    QVERIFY(activa(w));
    abre(w, t, QStringLiteral("PARCIAL"), 1);
    escribe(w, "txtArticulo", QStringLiteral("EXI"));
    escribe(w, "txtCantidad", QStringLiteral("3"));
    enter(w, "txtCantidad");
    hijo<QPushButton>(w, "cmdProcesar")->click();
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Ajustes);
    QCOMPARE(renglones(hijo<QTableView>(w, "grdAjustes")),
             QStringList{QStringLiteral("EXI|Articulo EXI||3|5|SALIDA DE ALMACEN|2|4.50")});
    p.clear();
    p.answers << true;
    hijo<QPushButton>(w, "cmdReiniciarAjustes")->click();
    QCOMPARE(p.texts(), QStringList{QStringLiteral("Desea iniciar de nuevo la captura del inventario")});
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Captura);
    QCOMPARE(hijo<QLabel>(w, "lblConteo")->text(), QStringLiteral("Conteo 1"));
    // The counts were kept.
    QCOMPARE(renglones(hijo<QTableView>(w, "grdConteos")), QStringList{QStringLiteral("EXI||3")});
    // Continuing it from the list lands on the capture panel, asking nothing.
    frmInventarioDet otra(t.servicios);
    p.clear();
    QVERIFY(otra.muestra(QStringLiteral("A1"), 2026, 1));
    QCOMPARE(otra.panel(), frmInventarioDet::Panel::Captura);
    QVERIFY(p.texts().isEmpty());
    QVERIFY(!otra.muestra(QStringLiteral("A1"), 2026, 9));
    QCOMPARE(p.last(), QStringLiteral("No se encontro el inventario A1 2026-9"));
}

void tst_InventarioVentana::cargaArchivoConReporte()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    frmInventarioDet w(t.servicios);
    QVERIFY(activa(w));
    abre(w, t, QStringLiteral("PARCIAL"), 1);
    const QString ruta = m_dir->filePath(QStringLiteral("conteo.txt"));
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("LIB 4\n7501234,2\nXYZ 1\nEXI\n");
    f.close();
    w.cargaArchivo(ruta);
    QCOMPARE(renglones(hijo<QTableView>(w, "grdConteos")), QStringList{QStringLiteral("LIB||6")});
    QVERIFY(w.reporteCarga());
    const QString reporte = hijo<QPlainTextEdit>(*w.reporteCarga(), "txtReporte")->toPlainText();
    QCOMPARE(reporte.split(u'\n'),
             (QStringList{"Linea 3: Articulo no existe : XYZ", "Linea 4: no se entiende \"EXI\""}));
    QVERIFY(hijo<QPushButton>(*w.reporteCarga(), "cmdGuardar"));
    w.reporteCarga()->close();

    // A file taken whole says so, and no report opens.
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("EXI 5\n");
    f.close();
    t.prompter().clear();
    t.prompter().answers << false; // keep the rows already counted
    w.cargaArchivo(ruta);
    QTRY_VERIFY(!w.reporteCarga());
    QCOMPARE(t.prompter().last(), QStringLiteral("El archivo se cargo completo"));
    QCOMPARE(renglones(hijo<QTableView>(w, "grdConteos")), (QStringList{"EXI||5", "LIB||6"}));
}

void tst_InventarioVentana::fallaDeBaseDeDatos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Tienda t(c, settingsFile());
    frmInventarioDet w(t.servicios);
    QVERIFY(activa(w));
    abre(w, t, QStringLiteral("PARCIAL"), 1);
    t.prompter().clear();
    c.setStatementHook([](const QString &sql) {
        if (sql.contains(QLatin1String("insert into tInventarioArticulo"), Qt::CaseInsensitive))
            throw db::DbError(9999, QStringLiteral("falla simulada"), QStringLiteral("prueba"));
    });
    escribe(w, "txtArticulo", QStringLiteral("LIB"));
    escribe(w, "txtCantidad", QStringLiteral("1"));
    enter(w, "txtCantidad");
    c.setStatementHook({});
    QCOMPARE(t.prompter().shown.size(), 1);
    const ScriptedPrompter::Shown &m = t.prompter().shown.first();
    QCOMPARE(m.icon, Prompter::Icon::Critical);
    QCOMPARE(m.text, QStringLiteral("No fue posible registrar el conteo del articulo LIB"));
    QVERIFY(!m.text.contains(QLatin1String("falla simulada")));
    QVERIFY(m.details.contains(QLatin1String("falla simulada")));
    // The same line in the day's log.
    QFile log(QDir(Log::directory()).filePath(Log::fileNameFor(QDate::currentDate())));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(log.readAll()).contains(QLatin1String("falla simulada")));
    // The window goes on: what was typed is still there and the next try counts.
    QCOMPARE(w.panel(), frmInventarioDet::Panel::Captura);
    QCOMPARE(hijo<QLineEdit>(w, "txtArticulo")->text(), QStringLiteral("LIB"));
    enter(w, "txtCantidad");
    QCOMPARE(t.conteos(), QStringList{QStringLiteral("LIB||1|0")});
}

void tst_InventarioVentana::listaRecientesPrimero()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Tienda t(c, settingsFile());
    for (const char *e : {"A1|2025|1|2025-03-01 09:00:00|CERRADO|1|TOTAL|1",
                          "A1|2026|1|2026-02-01 09:00:00|PROCESADO|2|PARCIAL|2",
                          "A1|2026|2|2026-06-15 18:30:00|REGISTRADO|3|DEPTO|1",
                          "A2|2026|1|2026-07-01 08:00:00|REGISTRADO|1|TOTAL|1"}) {
        const QStringList v = QString::fromLatin1(e).split(u'|');
        c.execute(QStringLiteral(
                      "insert into tInventario (alm_Clave, inv_Anio, inv_Clave, inv_Fecha, usu_Clave, "
                      "einv_Clave, inv_Conteo, tinv_Clave, inv_ConteoActual) values (?, ?, ?, ?, 'ANA', ?, "
                      "?, ?, ?)"),
                  {v[0], v[1].toInt(), v[2].toInt(),
                   QDateTime::fromString(v[3], QStringLiteral("yyyy-MM-dd HH:mm:ss")), v[4], v[5].toInt(),
                   v[6], v[7].toInt()});
    }
    c.execute(QStringLiteral("insert into tInventarioArticulo (alm_Clave, inv_Anio, inv_Clave, art_Clave, "
                             "inva_Conteo1) values ('A1', 2026, 1, 'LIB', 3)"));
    frmInventario w(t.servicios);
    QVERIFY(activa(w));
    QAbstractItemModelTester tester(w.grid()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    // The workstation's warehouse first, every year, newest first.
    QCOMPARE(hijo<QComboBox>(w, "cmbAlmacen")->currentData().toString(), QStringLiteral("A1"));
    QCOMPARE(renglones(w.grid()), (QStringList{"A1|2026|2|15/06/2026 18:30|ANA|DEPTO|3|1|REGISTRADO",
                                               "A1|2026|1|01/02/2026 09:00|ANA|PARCIAL|2|2|PROCESADO",
                                               "A1|2025|1|01/03/2025 09:00|ANA|TOTAL|1|1|CERRADO"}));
    QStringList anios;
    for (int i = 0; i < hijo<QComboBox>(w, "cmbAnio")->count(); ++i)
        anios << hijo<QComboBox>(w, "cmbAnio")->itemText(i);
    QCOMPARE(anios, (QStringList{"(Todos)", "2026", "2025"}));
    elige(w, "cmbAnio", 2025);
    QCOMPARE(w.grid()->model()->rowCount(), 1);
    elige(w, "cmbAlmacen", QString());
    elige(w, "cmbAnio", 2026);
    QCOMPARE(renglones(w.grid()).size(), 3);
    QVERIFY(renglones(w.grid()).first().startsWith(QLatin1String("A2|2026|1|")));

    // Deleting the selected one asks first, then takes its rows away.
    elige(w, "cmbAlmacen", QStringLiteral("A1"));
    w.grid()->selectRow(1); // A1 2026-1
    t.prompter().clear();
    t.prompter().answers << false;
    hijo<QPushButton>(w, "cmdEliminar")->click();
    QCOMPARE(w.grid()->model()->rowCount(), 2);
    t.prompter().answers << true;
    QTest::keyClick(w.grid(), Qt::Key_Delete);
    QCOMPARE(t.prompter().texts(), (QStringList{"Esta seguro de eliminar el inventario 2026-1",
                                                "Esta seguro de eliminar el inventario 2026-1"}));
    QCOMPARE(renglones(w.grid()),
             QStringList{QStringLiteral("A1|2026|2|15/06/2026 18:30|ANA|DEPTO|3|1|REGISTRADO")});
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tInventarioArticulo")).toInt(), 0);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tInventario")).toInt(), 3);
}

QTEST_MAIN(tst_InventarioVentana)
#include "tst_inventario_ventana.moc"
