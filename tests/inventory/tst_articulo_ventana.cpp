// The article editor window, offscreen: an article added through its widgets (both engines),
// refusals that show their tab and field, the figures recalculated as fields are left, the
// highlighted inputs of the method, the grids over the editor's rows, change and consult modes.
#include "ArticuloEditor.h"
#include "Log.h"
#include "PuestoArticulos.h"
#include "TestDatabase.h"
#include "frmArticulo.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using Pestana = ArticuloEditor::Pestana;
using Tipo = ArticuloGridModel::Tipo;

namespace {

QLineEdit *campo(QWidget &w, const char *nombre)
{
    auto *t = w.findChild<QLineEdit *>(QLatin1String(nombre));
    if (!t)
        qWarning("no field %s", nombre);
    return t;
}

QString texto(QWidget &w, const char *nombre)
{
    return campo(w, nombre)->text();
}

// Types into a field and leaves it, as the user does.
void escribe(QWidget &w, const char *nombre, const QString &valor)
{
    QLineEdit *t = campo(w, nombre);
    t->selectAll();
    QTest::keyClicks(t, valor);
    Q_EMIT t->editingFinished();
}

void elige(QWidget &w, const char *nombre, const QString &clave)
{
    auto *cmb = w.findChild<QComboBox *>(QLatin1String(nombre));
    QVERIFY(cmb);
    const int i = cmb->findData(clave);
    QVERIFY2(i >= 0, qPrintable(clave));
    cmb->setCurrentIndex(i);
}

Decimal decimal(db::Connection &c, const QString &sql, const QVariantList &params = {})
{
    return Decimal::fromVariant(c.scalar(sql, params));
}

bool resaltado(QWidget &w, const char *nombre)
{
    return !campo(w, nombre)->styleSheet().isEmpty();
}

} // namespace

class tst_ArticuloVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void altaDesdeLaVentana_data();
    void altaDesdeLaVentana();
    void rechazoMuestraPestanaYCampo_data();
    void rechazoMuestraPestanaYCampo();
    void cifrasAlSalirDeLosCampos();
    void cerrarConUnaCifraEnEdicion();
    void metodoResaltaSusEntradas();
    void gridsSobreLasFilasDelEditor();
    void cambioYConsulta();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_ArticuloVentana::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_ArticuloVentana::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_ArticuloVentana::altaDesdeLaVentana_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("continuar");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("termina")) << false;
        TestDatabase::newRow(engine, QStringLiteral("continua con otro")) << true;
    }
}

void tst_ArticuloVentana::altaDesdeLaVentana()
{
    QFETCH(QString, engine);
    QFETCH(bool, continuar);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo w(editor, p.servicios(), u'A');
    QVERIFY(w.valido());
    // The settings' defaults of a new article.
    QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("cambio_Clave"))->currentData().toString(),
             QStringLiteral("PUBLICO"));
    QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("tres_Clave"))->currentText(), QStringLiteral("POR VENTA"));
    QVERIFY(w.findChild<QCheckBox *>(QStringLiteral("art_VenderAbajoDelCosto"))->isChecked());
    QVERIFY(w.findChild<QPushButton *>(QStringLiteral("cmdGuardar"))->isDefault());

    escribe(w, "art_Clave", QStringLiteral("7501000111"));
    escribe(w, "art_Nombre", QStringLiteral("Aspirina 500 mg"));
    elige(w, "tart_Clave", QStringLiteral("MED"));
    escribe(w, "art_Costo", QStringLiteral("60"));
    escribe(w, "art_Importe", QStringLiteral("100"));
    escribe(w, "art_Descuento", QStringLiteral("10"));
    escribe(w, "art_IVAPorc", QStringLiteral("16"));
    w.findChild<QCheckBox *>(QStringLiteral("art_Granel"))->setChecked(true);
    p.prompter.answers.enqueue(continuar);
    w.findChild<QPushButton *>(QStringLiteral("cmdGuardar"))->click();

    QCOMPARE(p.prompter.last(),
             QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas articulos"));
    QVERIFY(w.guardado());
    db::Connection &c = db.connection();
    const QVariantList clave{QStringLiteral("7501000111")};
    QCOMPARE(c.scalar(QStringLiteral("select art_Nombre from tArticulo where art_Clave = ?"), clave).toString(),
             QStringLiteral("Aspirina 500 mg"));
    QCOMPARE(c.scalar(QStringLiteral("select tart_Clave from tArticulo where art_Clave = ?"), clave).toString(),
             QStringLiteral("MED"));
    QCOMPARE(c.scalar(QStringLiteral("select art_Granel from tArticulo where art_Clave = ?"), clave).toString(),
             QStringLiteral("SI"));
    QCOMPARE(c.scalar(QStringLiteral("select usu_Clave from tArticulo where art_Clave = ?"), clave).toString(),
             QStringLiteral("ADMIN"));
    QCOMPARE(decimal(c, QStringLiteral("select art_Total from tArticulo where art_Clave = ?"), clave),
             Decimal("104.4"));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloPrecio where art_Clave = ?"), clave).toInt(), 1);
    QCOMPARE(decimal(c,
                     QStringLiteral("select precio_Total from tArticuloPrecio where art_Clave = ? and "
                                    "tprecio_Clave = 'NORMAL' and precio_Clave = 1"),
                     clave),
             Decimal("104.4"));
    QCOMPARE(decimal(c,
                     QStringLiteral("select art_Costo from tArticuloPrecio where art_Clave = ? and "
                                    "tprecio_Clave = 'NORMAL'"),
                     clave),
             Decimal(60));

    if (continuar) {
        // The form is ready for the next article, with the defaults again.
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(texto(w, "art_Clave"), QString());
        QCOMPARE(texto(w, "art_Nombre"), QString());
        QCOMPARE(texto(w, "art_Total"), QStringLiteral("0.00"));
        QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("tart_Clave"))->currentIndex(), 0);
        QVERIFY(!w.findChild<QCheckBox *>(QStringLiteral("art_Granel"))->isChecked());
        QVERIFY(!campo(w, "art_Clave")->isReadOnly());
        QVERIFY(editor.esNuevo());
    } else {
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }
}

void tst_ArticuloVentana::rechazoMuestraPestanaYCampo_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<int>("pestana");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("sin nombre") << "nombre" << int(Pestana::Identidad) << "art_Nombre"
                                << "Debe indicar un nombre";
    QTest::newRow("costo que no es numero") << "costo" << int(Pestana::Precios) << "art_Costo"
                                            << "Debe indicar el costo unitario del articulo";
    QTest::newRow("sin departamento") << "departamento" << int(Pestana::Identidad) << "tart_Clave"
                                      << "Debe indicar el departamento al que pertence el articulo";
    QTest::newRow("separa sin articulo contenido") << "separar" << int(Pestana::Paquetes) << "art_SepArt"
                                                   << "Necesita indicar el articulo que esta contenido";
    QTest::newRow("oferta sin piezas") << "oferta" << int(Pestana::Ofertas) << "ofertas"
                                       << "Debe indicar cuantas piezas se venden en la oferta 1";
}

void tst_ArticuloVentana::rechazoMuestraPestanaYCampo()
{
    QFETCH(QString, caso);
    QFETCH(int, pestana);
    QFETCH(QString, widget);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo w(editor, p.servicios(), u'A');
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    escribe(w, "art_Clave", QStringLiteral("X1"));
    if (caso != QLatin1String("nombre"))
        escribe(w, "art_Nombre", QStringLiteral("Jabon"));
    escribe(w, "art_Importe", QStringLiteral("15"));
    // Typed last: a recalculation of another figure would show the unreadable cost as 0.00.
    escribe(w, "art_Costo", caso == QLatin1String("costo") ? QStringLiteral("diez") : QStringLiteral("10"));
    if (caso != QLatin1String("departamento"))
        elige(w, "tart_Clave", QStringLiteral("PERF"));
    if (caso == QLatin1String("separar"))
        w.findChild<QCheckBox *>(QStringLiteral("art_Separar"))->setChecked(true);
    if (caso == QLatin1String("oferta")) {
        ArticuloGridModel *ofertas = w.modelo(Tipo::Ofertas);
        QVERIFY(ofertas->insertRows(0, 1));
        QVERIFY(ofertas->setData(ofertas->index(0, 1), QStringLiteral("0")));
    }
    w.setPestana(Pestana::Resurtido);
    w.findChild<QPushButton *>(QStringLiteral("cmdGuardar"))->click();

    QCOMPARE(p.prompter.texts(), QStringList{mensaje});
    QCOMPARE(w.pestanas()->currentIndex(), pestana);
    QTRY_VERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), widget);
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tArticulo")).toInt(), 0);
    QVERIFY(!w.guardado());
}

void tst_ArticuloVentana::cifrasAlSalirDeLosCampos()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo w(editor, p.servicios(), u'A');

    escribe(w, "art_Costo", QStringLiteral("60"));
    escribe(w, "art_Importe", QStringLiteral("100"));
    escribe(w, "art_Descuento", QStringLiteral("10"));
    escribe(w, "art_IVAPorc", QStringLiteral("16"));
    QCOMPARE(texto(w, "art_Costo"), QStringLiteral("60.00"));
    QCOMPARE(texto(w, "art_Importe"), QStringLiteral("100.00"));
    QCOMPARE(texto(w, "art_SubTotal"), QStringLiteral("90.00"));
    QCOMPARE(texto(w, "art_Margen"), QStringLiteral("30.00"));
    QCOMPARE(texto(w, "art_Utilidad"), QStringLiteral("50.00"));
    QCOMPARE(texto(w, "art_IVA"), QStringLiteral("14.40"));
    QCOMPARE(texto(w, "art_Total"), QStringLiteral("104.40"));
    // What follows from the others is never typed.
    for (const char *derivada : {"art_SubTotal", "art_IVA", "art_Total"})
        QVERIFY2(campo(w, derivada)->isReadOnly(), derivada);

    // Leaving a field untouched recalculates nothing; text that is no number is kept as typed.
    Q_EMIT campo(w, "art_Costo")->editingFinished();
    QCOMPARE(texto(w, "art_Total"), QStringLiteral("104.40"));
    escribe(w, "art_Descuento", QStringLiteral("x"));
    QCOMPARE(texto(w, "art_Descuento"), QStringLiteral("x"));
    QCOMPARE(texto(w, "art_Total"), QStringLiteral("104.40"));
    escribe(w, "art_Descuento", QStringLiteral("0"));
    QCOMPARE(texto(w, "art_Total"), QStringLiteral("116.00"));
    QCOMPARE(editor.precio().total, Decimal(116));
}

void tst_ArticuloVentana::cerrarConUnaCifraEnEdicion()
{
    // The window goes while a figure is being typed: the field's last editingFinished must not
    // reach the half-destroyed window (it did, from the focus-out of the teardown).
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    {
        auto *w = new frmArticulo(editor, p.servicios(), u'A');
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTabWidget *tabs = w->findChild<QTabWidget *>();
        QVERIFY(tabs);
        tabs->setCurrentIndex(int(ArticuloEditor::Pestana::Precios));
        QLineEdit *costo = campo(*w, "art_Costo");
        w->activateWindow();
        costo->setFocus();
        QTest::keyClicks(costo, QStringLiteral("75"));
        delete w;
    }
    QCOMPARE(editor.cifra(Cifra::Costo), QStringLiteral("0.00"));
}

void tst_ArticuloVentana::metodoResaltaSusEntradas()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo w(editor, p.servicios(), u'A');
    QVERIFY(resaltado(w, "art_Importe"));
    QVERIFY(!resaltado(w, "art_Margen"));

    elige(w, "cambio_Clave", QStringLiteral("FINANCIERO"));
    QCOMPARE(editor.texto(QStringLiteral("cambio_Clave")), QStringLiteral("FINANCIERO"));
    QVERIFY(resaltado(w, "art_Importe"));
    QVERIFY(resaltado(w, "art_Utilidad"));
    QVERIFY(!resaltado(w, "art_Costo"));

    // With MARGEN the margin is the input: cost 60 and margin 30 give a public price of 90.
    elige(w, "cambio_Clave", QStringLiteral("MARGEN"));
    QVERIFY(resaltado(w, "art_Margen"));
    QVERIFY(!resaltado(w, "art_Importe"));
    QVERIFY(!resaltado(w, "art_Utilidad"));
    escribe(w, "art_Costo", QStringLiteral("60"));
    escribe(w, "art_Margen", QStringLiteral("30"));
    QCOMPARE(texto(w, "art_Importe"), QStringLiteral("90.00"));
    QCOMPARE(texto(w, "art_Utilidad"), QStringLiteral("50.00"));
}

void tst_ArticuloVentana::gridsSobreLasFilasDelEditor()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo w(editor, p.servicios(), u'A');
    // The testers watch every change below.
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    for (Tipo t : {Tipo::Listas, Tipo::Ofertas, Tipo::Ensamble, Tipo::MaxMin})
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            w.modelo(t), QAbstractItemModelTester::FailureReportingMode::QtTest));
    ArticuloGridModel *listas = w.modelo(Tipo::Listas);
    QCOMPARE(listas->columnCount(), 10);
    QCOMPARE(w.modelo(Tipo::Ofertas)->columnCount(), 13);
    QCOMPARE(w.modelo(Tipo::Ofertas)->headerData(12, Qt::Horizontal).toString(), QStringLiteral("Vendidas"));

    escribe(w, "art_Costo", QStringLiteral("60"));
    escribe(w, "art_Importe", QStringLiteral("100"));
    // A new line takes the article's breakdown and the next number.
    w.findChild<QPushButton *>(QStringLiteral("listas_agregar"))->click();
    w.findChild<QPushButton *>(QStringLiteral("listas_agregar"))->click();
    QCOMPARE(listas->rowCount(), 2);
    QCOMPARE(listas->data(listas->index(1, 0)).toInt(), 2);
    QCOMPARE(listas->data(listas->index(1, 2)).toString(), QStringLiteral("100.00"));
    // A public price typed in the grid recalculates that line only.
    QVERIFY(listas->setData(listas->index(1, 2), QStringLiteral("80")));
    QCOMPARE(listas->data(listas->index(1, 5)).toString(), QStringLiteral("20.00")); // margin
    QCOMPARE(listas->data(listas->index(0, 5)).toString(), QStringLiteral("40.00"));
    QVERIFY(!listas->setData(listas->index(1, 2), QStringLiteral("ochenta")));
    QVERIFY(!(listas->flags(listas->index(1, 9)) & Qt::ItemIsEditable)); // total
    // A cost typed in the form moves the lines' margins (lists do not follow the method).
    escribe(w, "art_Costo", QStringLiteral("70"));
    QCOMPARE(listas->data(listas->index(1, 2)).toString(), QStringLiteral("80.00"));
    QCOMPARE(listas->data(listas->index(1, 5)).toString(), QStringLiteral("10.00"));

    // The period's details fill the maximum/minimum grid.
    elige(w, "per_Clave", QStringLiteral("BIM"));
    ArticuloGridModel *maxMin = w.modelo(Tipo::MaxMin);
    QCOMPARE(maxMin->rowCount(), 6);
    QCOMPARE(maxMin->data(maxMin->index(0, 0)).toString(), QStringLiteral("Enero-Febrero"));
    QVERIFY(maxMin->setData(maxMin->index(0, 3), QStringLiteral("12")));
    QVERIFY(!maxMin->insertRows(6, 1));

    ArticuloGridModel *ofertas = w.modelo(Tipo::Ofertas);
    w.findChild<QPushButton *>(QStringLiteral("ofertas_agregar"))->click();
    QVERIFY(ofertas->setData(ofertas->index(0, 1), QStringLiteral("5")));
    QVERIFY(ofertas->setData(ofertas->index(0, 11), QDate(2030, 1, 31)));
    QCOMPARE(ofertas->data(ofertas->index(0, 11)).toString(), QStringLiteral("31/01/2030"));

    escribe(w, "art_Clave", QStringLiteral("L1"));
    escribe(w, "art_Nombre", QStringLiteral("Crema"));
    elige(w, "tart_Clave", QStringLiteral("PERF"));
    // The first line is removed: the second keeps its number.
    w.findChild<QTableView *>(QStringLiteral("listas"))->setCurrentIndex(listas->index(0, 0));
    w.findChild<QPushButton *>(QStringLiteral("listas_quitar"))->click();
    QCOMPARE(listas->rowCount(), 1);
    p.prompter.answers.enqueue(false);
    w.cmdGuardar_Click();
    QVERIFY2(w.guardado(), qPrintable(p.prompter.texts().join(u'|')));
    db::Connection &c = db.connection();
    QCOMPARE(decimal(c, QStringLiteral("select precio_Importe from tArticuloPrecio where art_Clave = 'L1' and "
                                       "tprecio_Clave = 'LISTA' and precio_Clave = 2")),
             Decimal(80));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloPrecio where art_Clave = 'L1'")).toInt(), 3);
    QCOMPARE(decimal(c, QStringLiteral("select precio_Cantidad from tArticuloPrecio where art_Clave = 'L1' and "
                                       "tprecio_Clave = 'OFERTA'")),
             Decimal(5));
    QCOMPARE(decimal(c, QStringLiteral("select amm_Maximo from tArticuloMaxMin where art_Clave = 'L1' and "
                                       "per_Clave = 'BIM' and perd_Clave = '1'")),
             Decimal(12));
}

void tst_ArticuloVentana::cambioYConsulta()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), settingsFile());
    {
        ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
        editor.setTexto(QStringLiteral("art_Clave"), QStringLiteral("C1"));
        editor.setTexto(QStringLiteral("art_Nombre"), QStringLiteral("Colonia"));
        editor.setTexto(QStringLiteral("tart_Clave"), QStringLiteral("PERF"));
        editor.setTexto(QStringLiteral("tres_Clave"), QStringLiteral("E"));
        editor.setCifra(Cifra::Costo, QStringLiteral("40"));
        editor.setCifra(Cifra::Publico, QStringLiteral("50"));
        p.prompter.answers.enqueue(false);
        QVERIFY(editor.guardaDatos());
    }
    p.prompter.clear();

    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo cambio(editor, p.servicios(), u'C', QStringLiteral("C1"));
    QVERIFY(cambio.valido());
    QCOMPARE(texto(cambio, "art_Nombre"), QStringLiteral("Colonia"));
    QCOMPARE(texto(cambio, "art_Costo"), QStringLiteral("40.00"));
    QCOMPARE(cambio.findChild<QComboBox *>(QStringLiteral("tart_Clave"))->currentData().toString(),
             QStringLiteral("PERF"));
    QCOMPARE(cambio.findChild<QComboBox *>(QStringLiteral("tres_Clave"))->currentText(), QStringLiteral("EN LINEA"));
    QVERIFY(campo(cambio, "art_Clave")->isReadOnly());
    escribe(cambio, "art_Nombre", QStringLiteral("Colonia floral"));
    cambio.cmdGuardar_Click();
    QCOMPARE(p.prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QCOMPARE(cambio.result(), int(QDialog::Accepted));
    QCOMPARE(db.connection().scalar(QStringLiteral("select art_Nombre from tArticulo where art_Clave = 'C1'")).toString(),
             QStringLiteral("Colonia floral"));

    ArticuloEditor lectura(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo consulta(lectura, p.servicios(), u'Q', QStringLiteral("C1"));
    QVERIFY(campo(consulta, "art_Nombre")->isReadOnly());
    QVERIFY(campo(consulta, "art_Costo")->isReadOnly());
    QVERIFY(!consulta.findChild<QComboBox *>(QStringLiteral("tart_Clave"))->isEnabled());
    QVERIFY(!consulta.findChild<QPushButton *>(QStringLiteral("cmdGuardar"))->isVisibleTo(&consulta));
    QVERIFY(!consulta.modelo(Tipo::Listas)->insertRows(0, 1));

    p.prompter.clear();
    ArticuloEditor falta(p.provider, p.config, p.prompter, p.calculo);
    frmArticulo ninguno(falta, p.servicios(), u'C', QStringLiteral("NOHAY"));
    QVERIFY(!ninguno.valido());
    QCOMPARE(p.prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
}

QTEST_MAIN(tst_ArticuloVentana)
#include "tst_articulo_ventana.moc"
