// The windows of the price-change methods and of a client type's price concepts, offscreen: a
// method created with its formula through the window, Enter accepting, refused fields taking the
// focus, the built-in methods without a formula, the concepts edited through the grid, and the
// catalogue entries wired to these windows.
#include "CatalogoEditor.h"
#include "CatalogoWindows.h"
#include "Catalogos.h"
#include "EstacionPrueba.h"
#include "Log.h"
#include "MainWindowController.h"
#include "TestDatabase.h"
#include "frmCambioPrecio.h"
#include "frmTipoCliente.h"
#include "frmTipoClienteConcepto.h"
#include "mdiMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

void catalogos(db::Connection &c)
{
    c.execute(
        QStringLiteral("insert into tTipoArticulo (tart_Clave, tart_Nombre) values ('MED', 'Medicamentos')"));
    c.execute(
        QStringLiteral("insert into tTipoArticulo (tart_Clave, tart_Nombre) values ('PERF', 'Perfumeria')"));
    c.execute(QStringLiteral("insert into tFamilia (fam_Clave, fam_Nombre) values ('VIT', 'Vitaminas')"));
    c.execute(QStringLiteral("insert into tTipoCliente (tcli_Clave, tcli_Nombre, tcontrol_Clave) "
                             "values ('MAYOREO', 'Mayoreo', 'DEPARTAMENTO')"));
}

// Opens the cell's editor, lets pick choose in it, and commits by moving the focus away.
// abrir: false when the window itself already opened the cell's editor.
template <typename Editor, typename Pick>
void editaCelda(QTableView *grid, int row, int column, Pick pick, bool abrir = true)
{
    const QModelIndex index = grid->model()->index(row, column);
    if (abrir) {
        grid->setCurrentIndex(index);
        grid->edit(index);
    }
    QCOMPARE(grid->currentIndex(), index);
    Editor *editor = nullptr;
    for (Editor *e : grid->viewport()->findChildren<Editor *>())
        if (e->isVisible())
            editor = e;
    QVERIFY(editor);
    pick(editor);
    QMetaObject::invokeMethod(grid, "commitData", Q_ARG(QWidget *, editor));
    grid->setFocus();
    QApplication::processEvents();
}

} // namespace

class tst_MetodosVentanas : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void altaDeMetodo_data() { TestDatabase::addEngineRows(); }
    void altaDeMetodo();
    void cambioYConsulta_data() { TestDatabase::addEngineRows(); }
    void cambioYConsulta();
    void conceptosDeTipoCliente_data() { TestDatabase::addEngineRows(); }
    void conceptosDeTipoCliente();
    void formaDelTipoCliente();
    void menuConectado();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_MetodosVentanas::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_MetodosVentanas::altaDeMetodo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    EstacionPrueba s(&c, settingsFile());
    frmCambioPrecio w(s.provider, s.permisos, s.prompter, QStringLiteral("A"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Alta de Tipo de Cambio de Precio"));
    auto *clave = w.findChild<QLineEdit *>(QStringLiteral("txtClave"));
    auto *nombre = w.findChild<QLineEdit *>(QStringLiteral("txtNombre"));
    auto *script = w.findChild<QPlainTextEdit *>(QStringLiteral("txtScript"));
    auto *valores = w.findChild<QListWidget *>(QStringLiteral("lstValores"));
    auto *insertar = w.findChild<QPushButton *>(QStringLiteral("cmdInsertar"));
    auto *aceptar = w.findChild<QPushButton *>(QStringLiteral("cmdAceptar"));
    auto *formula = w.findChild<QWidget *>(QStringLiteral("fraScript"));
    QVERIFY(clave && nombre && script && valores && insertar && aceptar && formula);
    QVERIFY(aceptar->isDefault());
    QCOMPARE(w.findChild<QPushButton *>(QStringLiteral("cmdCancelar"))->text(), QStringLiteral("&Cancelar"));
    QCOMPARE(clave->maxLength(), 30);
    QCOMPARE(valores->count(), 10);
    QVERIFY(w.width() <= 1366 && w.height() <= 768);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // Enter on an empty form: the key is asked for and takes the focus.
    QTest::keyClick(nombre, Qt::Key_Return);
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("Debe indicar una clave")});
    QTRY_COMPARE(QApplication::focusWidget(), clave);

    // A built-in key has no formula to write.
    QTest::keyClicks(clave, QStringLiteral("FIJO"));
    QVERIFY(formula->isHidden());
    QVERIFY(!w.findChild<QLabel *>(QStringLiteral("lblPredefinido"))->isHidden());
    clave->clear();
    QTest::keyClicks(clave, QStringLiteral("ESP"));
    QVERIFY(!formula->isHidden());

    s.prompter.clear();
    nombre->setFocus();
    QTest::keyClick(nombre, Qt::Key_Return);
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("Debe indicar un nombre")});
    QTRY_COMPARE(QApplication::focusWidget(), nombre);
    QTest::keyClicks(nombre, QStringLiteral("Costo mas 30"));

    // The formula is typed with the values inserted from the list.
    script->setFocus();
    QTest::keyClicks(script, QStringLiteral("Publico.Value = "));
    valores->setCurrentRow(1);
    QCOMPARE(valores->currentItem()->text(), QStringLiteral("Costo.Value"));
    QTest::mouseClick(insertar, Qt::LeftButton);
    QTest::keyClicks(script, QStringLiteral(" * 1.3"));
    QCOMPARE(script->toPlainText(), QStringLiteral("Publico.Value = Costo.Value * 1.3"));

    s.prompter.clear();
    s.prompter.answers << false; // no more methods
    nombre->setFocus();
    QTest::keyClick(nombre, Qt::Key_Return);
    QCOMPARE(s.prompter.texts(), QStringList{CambioPrecioEditor::kAgregado});
    QVERIFY(w.guardado());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(
        filas(c, QStringLiteral("select c.cambio_Nombre, k.codigo_Activo, k.codigo_Text from tCambioPrecio c "
                                "join tCodigo k on k.codigo_Clave = 'ONCHANGEPRICE_' || c.cambio_Clave "
                                "where c.cambio_Clave = 'ESP'")),
        QStringList{QStringLiteral("Costo mas 30|S|Publico.Value = Costo.Value * 1.3")});
}

void tst_MetodosVentanas::cambioYConsulta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    c.execute(
        QStringLiteral("insert into tCambioPrecio (cambio_Clave, cambio_Nombre) values ('ESP', 'Especial')"));
    c.execute(QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Activo, codigo_Text) "
                             "values ('ONCHANGEPRICE_ESP', 'Especial', 'S', 'Total.Value = 1')"));
    EstacionPrueba s(&c, settingsFile());
    {
        frmCambioPrecio w(s.provider, s.permisos, s.prompter, QStringLiteral("C"), QStringLiteral("ESP"));
        QVERIFY(w.valido());
        auto *clave = w.findChild<QLineEdit *>(QStringLiteral("txtClave"));
        auto *script = w.findChild<QPlainTextEdit *>(QStringLiteral("txtScript"));
        QVERIFY(clave->isReadOnly());
        QCOMPARE(script->toPlainText(), QStringLiteral("Total.Value = 1"));
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        // A formula that does not compile, not saved on purpose: the cursor goes to its line.
        script->setPlainText(QStringLiteral("Total.Value = 1\nIf Costo.Value > 0 Then\nTotal.Value = 2"));
        s.prompter.answers << false;
        w.cmdAceptar_Click();
        QCOMPARE(s.prompter.shown.size(), 1);
        QVERIFY(s.prompter.last().endsWith(QStringLiteral("¿Desea guardarlo de todos modos?")));
        QTRY_COMPARE(QApplication::focusWidget(), script);
        QVERIFY(w.editor().lineaError() > 0);
        QCOMPARE(script->textCursor().blockNumber() + 1, qMin(w.editor().lineaError(), 3));
        QVERIFY(!w.guardado());

        script->setPlainText(QStringLiteral("Total.Value = Costo.Value"));
        s.prompter.clear();
        w.cmdAceptar_Click();
        QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(c.scalar(QStringLiteral(
                              "select codigo_Text from tCodigo where codigo_Clave = 'ONCHANGEPRICE_ESP'"))
                     .toString(),
                 QStringLiteral("Total.Value = Costo.Value"));
    }
    {
        frmCambioPrecio w(s.provider, s.permisos, s.prompter, QStringLiteral("Q"), QStringLiteral("MARGEN"));
        QVERIFY(w.valido());
        QCOMPARE(w.windowTitle(), QStringLiteral("Consulta de Tipo de Cambio de Precio"));
        QVERIFY(w.findChild<QPushButton *>(QStringLiteral("cmdAceptar"))->isHidden());
        QVERIFY(w.findChild<QLineEdit *>(QStringLiteral("txtNombre"))->isReadOnly());
        QVERIFY(w.findChild<QWidget *>(QStringLiteral("fraScript"))->isHidden());
    }
    s.prompter.clear();
    frmCambioPrecio ninguno(s.provider, s.permisos, s.prompter, QStringLiteral("C"), QStringLiteral("NOHAY"));
    QVERIFY(!ninguno.valido());
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
}

void tst_MetodosVentanas::conceptosDeTipoCliente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    catalogos(c);
    c.execute(QStringLiteral(
        "insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, "
        "tcc_Valor) values ('FAMILIA', 'MAYOREO', 'VIT', 'MARGEN', 3)"));
    EstacionPrueba s(&c, settingsFile());
    frmTipoClienteConcepto w(s.provider, s.permisos, s.prompter, QStringLiteral("C"),
                             QStringLiteral("MAYOREO"));
    QVERIFY(w.valido());
    auto *control = w.findChild<QComboBox *>(QStringLiteral("cmbControl"));
    auto *grid = w.findChild<QTableView *>(QStringLiteral("grdConceptos"));
    auto *agregar = w.findChild<QPushButton *>(QStringLiteral("cmdAgregar"));
    auto *guardar = w.findChild<QPushButton *>(QStringLiteral("cmdGuardar"));
    QVERIFY(control && grid && agregar && guardar);
    QVERIFY(guardar->isDefault());
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("lblTipo"))->text(),
             QStringLiteral("Tipo de cliente: MAYOREO - Mayoreo"));
    QCOMPARE(control->count(), 2);
    QCOMPARE(control->itemData(0).toString(), QStringLiteral("DEPARTAMENTO"));
    QCOMPARE(w.control(), QStringLiteral("DEPARTAMENTO")); // the type's own kind
    QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Departamento"));
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // One line typed through the grid's editors.
    QTest::mouseClick(agregar, Qt::LeftButton);
    QCOMPARE(grid->model()->rowCount(), 1);
    // Adding a line opens its department's list at once.
    editaCelda<QComboBox>(
        grid, 0, 0, [](QComboBox *cmb) { cmb->setCurrentIndex(cmb->findData(QStringLiteral("MED"))); },
        false);
    editaCelda<QComboBox>(
        grid, 0, 1, [](QComboBox *cmb) { cmb->setCurrentIndex(cmb->findData(QStringLiteral("PUBLICO"))); });
    editaCelda<QLineEdit>(grid, 0, 2, [](QLineEdit *e) {
        e->clear();
        QTest::keyClicks(e, QStringLiteral("12.5"));
    });
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("MED - Medicamentos"));
    QTest::mouseClick(guardar, Qt::LeftButton);
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("Los conceptos de precio fueron guardados con exito")});
    QCOMPARE(
        filas(c, QStringLiteral("select tcontrol_Clave, tcc_Clave, cambio_Clave, tcc_Valor from "
                                "tTipoClienteConcepto where tcli_Clave = 'MAYOREO' order by tcontrol_Clave")),
        (QStringList{QStringLiteral("DEPARTAMENTO|MED|PUBLICO|12.5"),
                     QStringLiteral("FAMILIA|VIT|MARGEN|3")}));

    // A repeated department: refused, and its cell is the current one.
    QTest::mouseClick(agregar, Qt::LeftButton);
    QTest::mouseClick(agregar, Qt::LeftButton);
    QAbstractItemModel *m = grid->model();
    m->setData(m->index(2, 0), QStringLiteral("MED"));
    m->setData(m->index(2, 1), QStringLiteral("FIJO"));
    m->setData(m->index(2, 2), QStringLiteral("20"));
    s.prompter.clear();
    QTest::keyClick(&w, Qt::Key_Return); // Enter saves
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("El departamento MED esta repetido en la lista")});
    QCOMPARE(grid->currentIndex(), m->index(2, 0));
    QTRY_COMPARE(QApplication::focusWidget(), grid);

    // Another kind with changes unsaved: only on purpose.
    s.prompter.clear();
    s.prompter.answers << false;
    w.setControl(QStringLiteral("FAMILIA"));
    QCOMPARE(s.prompter.texts(), QStringList{frmTipoClienteConcepto::kDescartar});
    QCOMPARE(w.control(), QStringLiteral("DEPARTAMENTO"));
    QCOMPARE(m->rowCount(), 3);
    s.prompter.answers << true;
    w.setControl(QStringLiteral("FAMILIA"));
    QCOMPARE(w.control(), QStringLiteral("FAMILIA"));
    QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Familia"));
    QCOMPARE(m->rowCount(), 1);
    QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("VIT - Vitaminas"));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tTipoClienteConcepto")).toInt(), 2);

    // Closing without changes asks nothing.
    s.prompter.clear();
    w.reject();
    QVERIFY(s.prompter.texts().isEmpty());
    QVERIFY(w.guardado());
}

void tst_MetodosVentanas::formaDelTipoCliente()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    catalogos(c);
    // The order column decides where each kind is offered.
    c.execute(
        QStringLiteral("update tTipoControlPrecio set tcontrol_Orden = 0 where tcontrol_Clave = 'LISTA'"));
    EstacionPrueba s(&c, settingsFile());
    const CatalogoDef &def = *Catalogos::porTabla(QStringLiteral("tTipoCliente"));
    CatalogoEditor editor(def, s.provider, s.permisos, s.prompter, QStringLiteral("C"));
    frmTipoCliente w(editor, s.provider, s.permisos, s.prompter, {QStringLiteral("MAYOREO")});
    QVERIFY(w.valido());
    auto *cmb = qobject_cast<QComboBox *>(w.control(QStringLiteral("tcontrol_Clave")));
    QStringList orden;
    for (int i = 1; i < cmb->count(); ++i)
        orden << CatalogoEditor::claveDe(cmb->itemData(i).toString());
    QCOMPARE(orden, (QStringList{"LISTA", "ARTICULO", "DEPARTAMENTO", "FAMILIA"}));
    QCOMPARE(CatalogoEditor::claveDe(cmb->currentData().toString()), QStringLiteral("DEPARTAMENTO"));
    auto *conceptos = w.findChild<QPushButton *>(QStringLiteral("cmdConceptos"));
    QVERIFY(conceptos && conceptos->isEnabled());

    // The generic form still saves the type itself.
    w.cmdAceptar_Click();
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});

    CatalogoEditor alta(def, s.provider, s.permisos, s.prompter, QStringLiteral("A"));
    frmTipoCliente nuevo(alta, s.provider, s.permisos, s.prompter);
    QVERIFY(!nuevo.findChild<QPushButton *>(QStringLiteral("cmdConceptos"))->isEnabled());

    // From a query the concepts are only shown.
    c.execute(QStringLiteral(
        "insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, "
        "tcc_Valor) values ('DEPARTAMENTO', 'MAYOREO', 'MED', 'FIJO', 7)"));
    frmTipoClienteConcepto consulta(s.provider, s.permisos, s.prompter, QStringLiteral("Q"),
                                    QStringLiteral("MAYOREO"));
    QVERIFY(consulta.valido());
    for (const char *boton : {"cmdGuardar", "cmdAgregar", "cmdQuitar"})
        QVERIFY2(consulta.findChild<QPushButton *>(QLatin1String(boton))->isHidden(), boton);
    QAbstractItemModel *m = consulta.findChild<QTableView *>(QStringLiteral("grdConceptos"))->model();
    QCOMPARE(m->rowCount(), 1);
    QVERIFY(!(m->flags(m->index(0, 2)) & Qt::ItemIsEditable));

    s.prompter.clear();
    frmTipoClienteConcepto ninguno(s.provider, s.permisos, s.prompter, QStringLiteral("C"),
                                   QStringLiteral("NOHAY"));
    QVERIFY(!ninguno.valido());
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("La clave del tipo de cliente no existe")});
}

void tst_MetodosVentanas::menuConectado()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    catalogos(c);
    c.execute(
        QStringLiteral("insert into tCambioPrecio (cambio_Clave, cambio_Nombre) values ('ESP', 'Especial')"));
    EstacionPrueba s(&c, settingsFile());
    CatalogoWindows windows(s.provider, s.config, s.permisos, s.prompter);
    MainWindowController controller(s.prompter);
    mdiMain main(controller);
    QVERIFY(!windows.conecta(main).contains(QStringLiteral("mnuCatalogo_CambioPrecio")));
    QVERIFY(!main.menuAction(QStringLiteral("mnuCatalogo_CambioPrecio"))->isEnabled());

    windows.registraVentana(
        QStringLiteral("frmCambioPrecio"), [&](const QString &, QChar comando, const QString &clave) {
            return frmCambioPrecio::abrir(s.provider, s.permisos, s.prompter, comando, clave);
        });
    windows.registraVentana(
        QStringLiteral("frmTipoCliente"), [&](const QString &, QChar comando, const QString &clave) {
            return frmTipoCliente::abrir(s.provider, s.permisos, s.prompter, comando, clave);
        });
    const QStringList wired = windows.conecta(main);
    QVERIFY(wired.contains(QStringLiteral("mnuCatalogo_CambioPrecio")));
    QVERIFY(wired.contains(QStringLiteral("mnuCatalogo_TipoCliente")));
    QVERIFY(main.menuAction(QStringLiteral("mnuCatalogo_CambioPrecio"))->isEnabled());
    // The others waiting for the article editor stay disabled.
    for (const char *pendiente : {"mnuCatalogo_Articulos", "mnuCatalogo_lista", "mnuCatalogo_Ofertas"})
        QVERIFY2(!main.menuAction(QLatin1String(pendiente))->isEnabled(), pendiente);

    // The lookup's Delete goes through the method's own rules.
    s.prompter.answers << true;
    QVERIFY(windows.opener()(QStringLiteral("frmCambioPrecio"), u'B', QStringLiteral("ESP")));
    QCOMPARE(s.prompter.texts(),
             (QStringList{QStringLiteral("Esta seguro de eliminar el tipo de cambio de precio"),
                          QStringLiteral("El registro fue eliminado con exito")}));
    s.prompter.clear();
    QVERIFY(!windows.opener()(QStringLiteral("frmCambioPrecio"), u'B', QStringLiteral("FIJO")));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral(
                 "El tipo de cambio de precio FIJO es parte del programa, no es posible eliminarlo")});
    // Deleting a client type through its window takes its concepts along.
    c.execute(QStringLiteral(
        "insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, "
        "tcc_Valor) values ('DEPARTAMENTO', 'MAYOREO', 'MED', 'FIJO', 7)"));
    s.prompter.clear();
    s.prompter.answers << true;
    QVERIFY(windows.opener()(QStringLiteral("frmTipoCliente"), u'B', QStringLiteral("MAYOREO")));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tTipoClienteConcepto")).toInt(), 0);

    const LookupDefinition lookup = Catalogos::porTabla(QStringLiteral("tCambioPrecio"))->lookup();
    QCOMPARE(lookup.title, QStringLiteral("Tipo de Cambio de Precio"));
}

QTEST_MAIN(tst_MetodosVentanas)
#include "tst_metodos_ventanas.moc"
