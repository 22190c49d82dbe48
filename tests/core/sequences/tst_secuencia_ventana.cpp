// Maintenance of tSecuencia: SecuenciaEditor's checks and messages, the catalogue model and
// the window frmSecuencia, on both engines.
#include "ConnectionProvider.h"
#include "Log.h"
#include "ScriptedPrompter.h"
#include "SecuenciaCatalogo.h"
#include "SecuenciaEditor.h"
#include "Secuencias.h"
#include "TestDatabase.h"
#include "frmSecuencia.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
using S = SecuenciaEditor::Secuencia;

qint64 valor(db::Connection &conn, const QString &clave)
{
    return conn.scalar(QStringLiteral("select sec_Valor from tSecuencia where sec_Clave = ?"), {clave})
        .toLongLong();
}

int cuantas(db::Connection &conn)
{
    return conn.scalar(QStringLiteral("select count(*) from tSecuencia")).toInt();
}
} // namespace

class tst_SecuenciaVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void validaDatos_data();
    void validaDatos();
    void agregar_data() { TestDatabase::addEngineRows(); }
    void agregar();
    void modificarYConsultar_data() { TestDatabase::addEngineRows(); }
    void modificarYConsultar();
    void eliminar_data() { TestDatabase::addEngineRows(); }
    void eliminar();
    void catalogo_data() { TestDatabase::addEngineRows(); }
    void catalogo();
    void ventana_data() { TestDatabase::addEngineRows(); }
    void ventana();
    void enfoqueTrasRechazo_data();
    void enfoqueTrasRechazo();
    void ordenPorEncabezado();

private:
    QTemporaryDir m_logDir;
};

void tst_SecuenciaVentana::initTestCase()
{
    const QString dir = m_logDir.path();
    Log::setDirectoryProvider([dir] { return dir; });
}

void tst_SecuenciaVentana::cleanupTestCase()
{
    Log::setDirectoryProvider({});
}

void tst_SecuenciaVentana::validaDatos_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("minimo");
    QTest::addColumn<QString>("maximo");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("incremento");
    QTest::addColumn<QString>("message");
    QTest::newRow("sin clave") << " "
                               << "1"
                               << "10"
                               << "0"
                               << "1"
                               << "Debe indicar una clave";
    QTest::newRow("inferior vacio") << "K"
                                    << ""
                                    << "10"
                                    << "0"
                                    << "1"
                                    << "Debe indicar un limite inferior valido";
    QTest::newRow("inferior con letras") << "K"
                                         << "1a"
                                         << "10"
                                         << "0"
                                         << "1"
                                         << "Debe indicar un limite inferior valido";
    QTest::newRow("superior bajo el inferior") << "K"
                                               << "5"
                                               << "4"
                                               << "0"
                                               << "1"
                                               << "Debe indicar un limite superior valido";
    QTest::newRow("superior con decimales") << "K"
                                            << "1"
                                            << "10.5"
                                            << "0"
                                            << "1"
                                            << "Debe indicar un limite superior valido";
    QTest::newRow("incremento cero") << "K"
                                     << "1"
                                     << "10"
                                     << "0"
                                     << "0"
                                     << "Debe indicar un incremento valido";
    QTest::newRow("incremento negativo") << "K"
                                         << "1"
                                         << "10"
                                         << "0"
                                         << "-1"
                                         << "Debe indicar un incremento valido";
    QTest::newRow("valor sobre el superior") << "K"
                                             << "1"
                                             << "10"
                                             << "11"
                                             << "1"
                                             << "Debe indicar un valor valido";
    QTest::newRow("valor vacio") << "K"
                                 << "1"
                                 << "10"
                                 << ""
                                 << "1"
                                 << "Debe indicar un valor valido";
    QTest::newRow("valor bajo el inferior: aun sin folios") << "K"
                                                            << "1"
                                                            << "10"
                                                            << "0"
                                                            << "1"
                                                            << "";
    QTest::newRow("limites iguales") << "K"
                                     << "7"
                                     << "7"
                                     << "7"
                                     << "1"
                                     << "";
}

void tst_SecuenciaVentana::validaDatos()
{
    QFETCH(QString, clave);
    QFETCH(QString, minimo);
    QFETCH(QString, maximo);
    QFETCH(QString, valor);
    QFETCH(QString, incremento);
    QFETCH(QString, message);
    ScriptedPrompter prompter;
    FixedConnectionProvider none(nullptr); // validation never reaches the database
    SecuenciaEditor editor(none, prompter);
    QCOMPARE(editor.validaDatos({clave, minimo, maximo, valor, incremento}), message.isEmpty());
    QCOMPARE(prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Information);
}

void tst_SecuenciaVentana::agregar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    SecuenciaEditor editor(provider, prompter);
    prompter.answers << false;
    QVERIFY(editor.agregarRegistro({QStringLiteral(" VENTA_07 "), "100", "999", "99", "2"}));
    QVERIFY(!editor.continuarAgregando());
    QCOMPARE(prompter.texts(),
             QStringList{QStringLiteral(
                 "El registro fue agregado con exito, desea continuar agregando mas secuencias")});
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Question);
    QVERIFY(prompter.shown.first().defaultYes);
    // The first draw after the value an administrator gave.
    QCOMPARE(Secuencias::getNextSequence(db.connection(), QStringLiteral("VENTA_07")), qint64(101));

    prompter.clear();
    QVERIFY(!editor.agregarRegistro({QStringLiteral("VENTA_07"), "1", "10", "0", "1"}));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave ya esta en uso ")});
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Exclamation);
    QCOMPARE(valor(db.connection(), QStringLiteral("VENTA_07")), 101);
}

void tst_SecuenciaVentana::modificarYConsultar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    SecuenciaEditor editor(provider, prompter);
    QVERIFY(!editor.modificarRegistro({QStringLiteral("PED_01_2026"), "1", "10", "0", "1"}));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
    QCOMPARE(cuantas(db.connection()), 0);

    Secuencias::getNextSequence(db.connection(), QStringLiteral("PED_01_2026"));
    prompter.clear();
    QVERIFY(editor.modificarRegistro({QStringLiteral("PED_01_2026"), "1", "500", "300", "5"}));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    S s;
    QVERIFY(editor.consultarRegistro(QStringLiteral("PED_01_2026"), &s));
    QCOMPARE(QStringList({s.clave, s.minimo, s.maximo, s.valor, s.incremento}),
             QStringList({"PED_01_2026", "1", "500", "300", "5"}));
    QCOMPARE(Secuencias::getNextSequence(db.connection(), QStringLiteral("PED_01_2026")), qint64(305));

    prompter.clear();
    editor.setModo(QStringLiteral("q"));
    QCOMPARE(editor.titulo(), QStringLiteral("Consulta de secuencia"));
    QVERIFY(!editor.consultarRegistro(QStringLiteral("PED_02_2026"), &s));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
}

void tst_SecuenciaVentana::eliminar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    SecuenciaEditor editor(provider, prompter);
    Secuencias::getNextSequence(db.connection(), QStringLiteral("VENTA_01"));

    prompter.answers << false;
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("VENTA_01")));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Esta seguro de eliminar la secuencia VENTA_01")});
    QVERIFY(!prompter.shown.first().defaultYes);
    QCOMPARE(cuantas(db.connection()), 1);

    prompter.clear();
    prompter.answers << true;
    QVERIFY(editor.eliminarRegistro(QStringLiteral("VENTA_01")));
    QCOMPARE(prompter.last(), QStringLiteral("El registro fue eliminado con exito"));
    QCOMPARE(cuantas(db.connection()), 0);

    prompter.clear();
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("VENTA_01")));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
}

void tst_SecuenciaVentana::catalogo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    SecuenciaCatalogo model(provider, prompter);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList headers;
    for (int c = 0; c < model.columnCount(); ++c)
        headers << model.headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers,
             QStringList({"Clave", "Lim. Inferior", "Lim. Superior", "Lim. Valor", "Lim. Incremento"}));

    Secuencias::getNextSequence(db.connection(), QStringLiteral("VENTA_02"), 1, 2147483647, 1, 1);
    Secuencias::getNextSequence(db.connection(), QStringLiteral("AGENDA2026"), 1, 50, 3, 4);
    model.recargar();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("AGENDA2026"));
    QCOMPARE(model.data(model.index(0, 2)).toLongLong(), 50);
    QCOMPARE(model.data(model.index(0, 3)).toLongLong(), 4);
    QCOMPARE(model.data(model.index(0, 4)).toLongLong(), 3);
    QCOMPARE(model.data(model.index(1, 2)).toLongLong(), 2147483647);
    QCOMPARE(model.filaDe(QStringLiteral("VENTA_02")), 1);
    QVERIFY(prompter.shown.isEmpty());
}

void tst_SecuenciaVentana::ventana()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    Secuencias::getNextSequence(db.connection(), QStringLiteral("COBRO_01_2026"));
    Secuencias::getNextSequence(db.connection(), QStringLiteral("VENTA_01"));

    frmSecuencia window(provider, prompter);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Alta de secuencia"));
    auto *grid = window.findChild<QTableView *>(QStringLiteral("grdCatalogo"));
    auto *clave = window.findChild<QLineEdit *>(QStringLiteral("txtClave"));
    auto *valorTxt = window.findChild<QLineEdit *>(QStringLiteral("txtValor"));
    auto *aceptar = window.findChild<QPushButton *>(QStringLiteral("cmdAceptar"));
    QVERIFY(grid && clave && valorTxt && aceptar);
    QCOMPARE(grid->model()->rowCount(), 2);

    // Choosing a row opens it for change.
    const QRect cell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(window.modo(), QStringLiteral("C"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Cambio de secuencia"));
    QCOMPARE(clave->text(), QStringLiteral("VENTA_01"));
    QCOMPARE(valorTxt->text(), QStringLiteral("1"));
    valorTxt->setText(QStringLiteral("250"));
    QTest::mouseClick(aceptar, Qt::LeftButton);
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QCOMPARE(valor(db.connection(), QStringLiteral("VENTA_01")), 250);
    QCOMPARE(grid->model()->data(grid->model()->index(1, 3)).toLongLong(), 250);

    // A new one through the form, then no more.
    prompter.clear();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdNuevo")), Qt::LeftButton);
    QCOMPARE(window.modo(), QStringLiteral("A"));
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("cmdEliminar"))->isHidden());
    window.setDatos({QStringLiteral("ENVIO_01_2026"), "1", "2147483647", "0", "1"});
    prompter.answers << false;
    QTest::mouseClick(aceptar, Qt::LeftButton);
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(window.modo(), QStringLiteral("C"));

    prompter.clear();
    frmSecuencia query(provider, prompter, QStringLiteral("Q"), QStringLiteral("VENTA_01"));
    QCOMPARE(query.windowTitle(), QStringLiteral("Consulta de secuencia"));
    QCOMPARE(query.datos().valor, QStringLiteral("250"));
    QVERIFY(query.findChild<QLineEdit *>(QStringLiteral("txtValor"))->isReadOnly());
    QVERIFY(query.findChild<QPushButton *>(QStringLiteral("cmdNuevo"))->isHidden());
    QVERIFY(prompter.shown.isEmpty());
}

void tst_SecuenciaVentana::enfoqueTrasRechazo_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("maximo");
    QTest::addColumn<QString>("incremento");
    QTest::addColumn<QString>("campo");
    QTest::newRow("sin clave") << ""
                               << "10"
                               << "1"
                               << "txtClave";
    QTest::newRow("superior bajo el inferior") << "K"
                                               << "0"
                                               << "1"
                                               << "txtMaximo";
    QTest::newRow("incremento cero") << "K"
                                     << "10"
                                     << "0"
                                     << "txtIncremento";
}

// After the refusal, the field it names has the focus, whichever field was being typed in.
void tst_SecuenciaVentana::enfoqueTrasRechazo()
{
    QFETCH(QString, clave);
    QFETCH(QString, maximo);
    QFETCH(QString, incremento);
    QFETCH(QString, campo);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    frmSecuencia window(provider, prompter);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto set = [&](const char *name, const QString &text) {
        window.findChild<QLineEdit *>(QLatin1String(name))->setText(text);
    };
    set("txtClave", clave);
    set("txtMinimo", QStringLiteral("1"));
    set("txtMaximo", maximo);
    set("txtValor", QStringLiteral("1"));
    set("txtIncremento", incremento);
    window.findChild<QLineEdit *>(QStringLiteral("txtValor"))->setFocus();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdAceptar")), Qt::LeftButton);
    QCOMPARE(prompter.shown.size(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), window.findChild<QLineEdit *>(campo));
}

// A click on a header orders the list; choosing a row afterwards opens that row, not the one that
// stood there before.
void tst_SecuenciaVentana::ordenPorEncabezado()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    Secuencias::getNextSequence(db.connection(), QStringLiteral("A_UNO"));
    Secuencias::getNextSequence(db.connection(), QStringLiteral("B_DOS"));
    frmSecuencia window(provider, prompter);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *grid = window.findChild<QTableView *>(QStringLiteral("grdCatalogo"));
    QHeaderView *header = grid->horizontalHeader();
    const QPoint first(header->sectionViewportPosition(0) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, first); // ascending
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, first); // descending
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("B_DOS"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 0)).center());
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("txtClave"))->text(), QStringLiteral("B_DOS"));
}

QTEST_MAIN(tst_SecuenciaVentana)
#include "tst_secuencia_ventana.moc"
