// Parameter maintenance (tParametro) through ParametroEditor and frmParametro, on both engines.
#include "ConnectionProvider.h"
#include "Log.h"
#include "ParametroEditor.h"
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "frmParametro.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
using P = ParametroEditor::Parametro;

void seed(db::Connection &conn)
{
    conn.execute(QStringLiteral("INSERT INTO tParametro (param_Tipo, param_Clave, param_Nombre, param_Valor) "
                                "VALUES (?, ?, ?, ?)"),
                 {QStringLiteral("RECINICIO"), QStringLiteral("01"), QStringLiteral("Encabezado"),
                  QStringLiteral("FARMACIA CENTRO")});
}

int count(db::Connection &conn)
{
    return conn.scalar(QStringLiteral("SELECT COUNT(*) FROM tParametro")).toInt();
}

QString field(db::Connection &conn, const char *column, const QString &tipo, const QString &clave)
{
    return conn
        .scalar(QStringLiteral("SELECT ") + QString::fromLatin1(column) +
                    QStringLiteral(" FROM tParametro WHERE param_Tipo = ? AND param_Clave = ?"),
                {tipo, clave})
        .toString();
}
} // namespace

class tst_Parametro : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void validaDatos_data();
    void validaDatos();
    void agregar_data() { TestDatabase::addEngineRows(); }
    void agregar();
    void agregarClaveEnUso_data() { TestDatabase::addEngineRows(); }
    void agregarClaveEnUso();
    void modificar_data() { TestDatabase::addEngineRows(); }
    void modificar();
    void consultar_data() { TestDatabase::addEngineRows(); }
    void consultar();
    void eliminar_data() { TestDatabase::addEngineRows(); }
    void eliminar();
    void errorDeBaseDeDatos_data() { TestDatabase::addEngineRows(); }
    void errorDeBaseDeDatos();
    void ventanaAlta_data() { TestDatabase::addEngineRows(); }
    void ventanaAlta();
    void ventanaCambioYConsulta_data() { TestDatabase::addEngineRows(); }
    void ventanaCambioYConsulta();

private:
    QTemporaryDir m_logDir;
};

void tst_Parametro::initTestCase()
{
    const QString dir = m_logDir.path();
    Log::setDirectoryProvider([dir] { return dir; });
}

void tst_Parametro::cleanupTestCase()
{
    Log::setDirectoryProvider({});
}

void tst_Parametro::validaDatos_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("message");
    QTest::newRow("sin tipo") << ""
                              << "01"
                              << "Encabezado"
                              << "Debe indicar un tipo";
    QTest::newRow("tipo en blanco") << "   "
                                    << "01"
                                    << "Encabezado"
                                    << "Debe indicar un tipo";
    QTest::newRow("sin nada: primero el tipo") << ""
                                               << ""
                                               << ""
                                               << "Debe indicar un tipo";
    QTest::newRow("sin clave") << "MSGVENTA"
                               << ""
                               << "Encabezado"
                               << "Debe indicar una clave";
    QTest::newRow("sin nombre") << "MSGVENTA"
                                << "01"
                                << " "
                                << "Debe indicar un nombre";
    QTest::newRow("completo") << "MSGVENTA"
                              << "01"
                              << "Aviso"
                              << "";
}

void tst_Parametro::validaDatos()
{
    QFETCH(QString, tipo);
    QFETCH(QString, clave);
    QFETCH(QString, nombre);
    QFETCH(QString, message);
    ScriptedPrompter prompter;
    FixedConnectionProvider none(nullptr); // validation never reaches the database
    ParametroEditor editor(none, prompter);
    QCOMPARE(editor.validaDatos({tipo, clave, nombre, QString()}), message.isEmpty());
    QCOMPARE(prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Information);
}

void tst_Parametro::agregar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    ParametroEditor editor(provider, prompter);

    prompter.answers << true;
    QVERIFY(
        editor.agregarRegistro({QStringLiteral(" MSGVENTA "), QStringLiteral("01"), QStringLiteral("Aviso"),
                                QStringLiteral("Pregunte por nuestras ofertas")}));
    QVERIFY(editor.continuarAgregando());
    QCOMPARE(prompter.texts(),
             QStringList{QStringLiteral(
                 "El registro fue agregado con exito, desea continuar agregando mas parametros")});
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Question);
    QCOMPARE(field(db.connection(), "param_Valor", QStringLiteral("MSGVENTA"), QStringLiteral("01")),
             QStringLiteral("Pregunte por nuestras ofertas"));

    prompter.clear();
    prompter.answers << false;
    QVERIFY(editor.agregarRegistro(
        {QStringLiteral("MSGVENTA"), QStringLiteral("02"), QStringLiteral("Aviso 2"), QString()}));
    QVERIFY(!editor.continuarAgregando());
    QVERIFY(prompter.drained());
    // The same key in another group is another parameter.
    prompter.answers << false;
    QVERIFY(editor.agregarRegistro(
        {QStringLiteral("LISTENER"), QStringLiteral("01"), QStringLiteral("Lector"), QString()}));
    QCOMPARE(count(db.connection()), 3);
    QCOMPARE(editor.tipos(), QStringList({"LISTENER", "MSGVENTA"}));
}

void tst_Parametro::agregarClaveEnUso()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    seed(db.connection());
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    ParametroEditor editor(provider, prompter);
    QVERIFY(!editor.agregarRegistro(
        {QStringLiteral("RECINICIO"), QStringLiteral("01"), QStringLiteral("Otro"), QStringLiteral("x")}));
    QCOMPARE(prompter.texts(),
             QStringList{QStringLiteral("La clave ya esta en uso para el siguiente parametro Encabezado")});
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Exclamation);
    QCOMPARE(field(db.connection(), "param_Nombre", QStringLiteral("RECINICIO"), QStringLiteral("01")),
             QStringLiteral("Encabezado"));
    QCOMPARE(count(db.connection()), 1);
}

void tst_Parametro::modificar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    seed(db.connection());
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    ParametroEditor editor(provider, prompter);

    QVERIFY(!editor.modificarRegistro(
        {QStringLiteral("RECINICIO"), QStringLiteral("02"), QStringLiteral("Nuevo"), QString()}));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave del parametro no existe")});
    QCOMPARE(count(db.connection()), 1);

    prompter.clear();
    QVERIFY(
        !editor.modificarRegistro({QStringLiteral("RECINICIO"), QStringLiteral("01"), QString(), QString()}));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Debe indicar un nombre")});

    prompter.clear();
    QVERIFY(editor.modificarRegistro({QStringLiteral("RECINICIO"), QStringLiteral("01"),
                                      QStringLiteral("Encabezado 1"), QStringLiteral("FARMACIA O'HIGGINS")}));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QCOMPARE(field(db.connection(), "param_Nombre", QStringLiteral("RECINICIO"), QStringLiteral("01")),
             QStringLiteral("Encabezado 1"));
    QCOMPARE(field(db.connection(), "param_Valor", QStringLiteral("RECINICIO"), QStringLiteral("01")),
             QStringLiteral("FARMACIA O'HIGGINS"));
}

void tst_Parametro::consultar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    seed(db.connection());
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    ParametroEditor editor(provider, prompter);
    P p;
    QVERIFY(editor.consultarRegistro(QStringLiteral("RECINICIO"), QStringLiteral("01"), &p));
    QCOMPARE(p.nombre, QStringLiteral("Encabezado"));
    QCOMPARE(p.valor, QStringLiteral("FARMACIA CENTRO"));
    QVERIFY(prompter.shown.isEmpty());

    QVERIFY(!editor.consultarRegistro(QStringLiteral("RECINICIO"), QStringLiteral("99"), &p));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
    prompter.clear();
    QVERIFY(!editor.consultarRegistro(QStringLiteral("RECINICIO"), QString(), &p));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Debe indicar una clave")});
}

void tst_Parametro::eliminar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    seed(db.connection());
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    ParametroEditor editor(provider, prompter);

    prompter.answers << false;
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("RECINICIO"), QStringLiteral("01")));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Esta seguro de eliminar el parametro")});
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Question);
    QVERIFY(!prompter.shown.first().defaultYes);
    QCOMPARE(count(db.connection()), 1);

    prompter.clear();
    prompter.answers << true;
    QVERIFY(editor.eliminarRegistro(QStringLiteral("RECINICIO"), QStringLiteral("01")));
    QCOMPARE(prompter.texts(), QStringList({QStringLiteral("Esta seguro de eliminar el parametro"),
                                            QStringLiteral("El registro fue eliminado con exito")}));
    QCOMPARE(count(db.connection()), 0);

    prompter.clear();
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("RECINICIO"), QStringLiteral("01")));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
}

void tst_Parametro::errorDeBaseDeDatos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    ParametroEditor editor(provider, prompter);
    db.connection().setStatementHook([](const QString &sql) {
        if (sql.startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive))
            throw db::DbError(7, QStringLiteral("sin espacio"), QStringLiteral("prueba"));
    });
    QVERIFY(!editor.agregarRegistro(
        {QStringLiteral("MSGVENTA"), QStringLiteral("01"), QStringLiteral("Aviso"), QString()}));
    db.connection().setStatementHook({});
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("No se pudo agregar el registro")});
    QCOMPARE(prompter.shown.first().details,
             QStringLiteral("frmParametro:[7]-[sin espacio]-[prueba]:agregarRegistro"));
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Critical);
    QVERIFY(!editor.continuarAgregando());
    QCOMPARE(count(db.connection()), 0);
}

void tst_Parametro::ventanaAlta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    frmParametro window(provider, prompter, QStringLiteral("A"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *tipo = window.findChild<QComboBox *>(QStringLiteral("cmbTipo"));
    auto *clave = window.findChild<QLineEdit *>(QStringLiteral("txtClave"));
    auto *nombre = window.findChild<QLineEdit *>(QStringLiteral("txtNombre"));
    auto *valor = window.findChild<QPlainTextEdit *>(QStringLiteral("txtValor"));
    auto *aceptar = window.findChild<QPushButton *>(QStringLiteral("cmdAceptar"));
    QVERIFY(tipo && clave && nombre && valor && aceptar);
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("cmdEliminar"))->isHidden());

    QTest::mouseClick(aceptar, Qt::LeftButton);
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Debe indicar un tipo")});

    prompter.clear();
    tipo->setEditText(QStringLiteral("MSGVENTA"));
    QTest::keyClicks(clave, QStringLiteral("01"));
    QTest::keyClicks(nombre, QStringLiteral("Aviso"));
    valor->setPlainText(QStringLiteral("Gracias por su compra"));
    prompter.answers << true;
    QTest::mouseClick(aceptar, Qt::LeftButton);
    QCOMPARE(prompter.last(),
             QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas parametros"));
    QVERIFY(window.isVisible());
    QCOMPARE(clave->text(), QString()); // ready for the next one
    QCOMPARE(tipo->currentText(), QStringLiteral("MSGVENTA"));
    QCOMPARE(field(db.connection(), "param_Valor", QStringLiteral("MSGVENTA"), QStringLiteral("01")),
             QStringLiteral("Gracias por su compra"));

    QTest::keyClicks(clave, QStringLiteral("02"));
    QTest::keyClicks(nombre, QStringLiteral("Aviso 2"));
    prompter.answers << false;
    QTest::mouseClick(aceptar, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(count(db.connection()), 2);
}

void tst_Parametro::ventanaCambioYConsulta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    seed(db.connection());
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    {
        frmParametro window(provider, prompter, QStringLiteral("C"));
        window.show();
        auto *clave = window.findChild<QLineEdit *>(QStringLiteral("txtClave"));
        window.findChild<QComboBox *>(QStringLiteral("cmbTipo"))->setEditText(QStringLiteral("RECINICIO"));
        QTest::keyClicks(clave, QStringLiteral("01"));
        QTest::keyClick(clave, Qt::Key_Return);
        auto *nombre = window.findChild<QLineEdit *>(QStringLiteral("txtNombre"));
        QCOMPARE(nombre->text(), QStringLiteral("Encabezado"));
        QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("txtValor"))->toPlainText(),
                 QStringLiteral("FARMACIA CENTRO"));
        nombre->setText(QStringLiteral("Encabezado del ticket"));
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdAceptar")), Qt::LeftButton);
        QCOMPARE(prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
        QCOMPARE(field(db.connection(), "param_Nombre", QStringLiteral("RECINICIO"), QStringLiteral("01")),
                 QStringLiteral("Encabezado del ticket"));
    }
    prompter.clear();
    frmParametro query(provider, prompter, QStringLiteral("Q"));
    query.show();
    QVERIFY(query.findChild<QLineEdit *>(QStringLiteral("txtNombre"))->isReadOnly());
    QVERIFY(!query.findChild<QPushButton *>(QStringLiteral("cmdEliminar"))->isHidden());
    query.findChild<QComboBox *>(QStringLiteral("cmbTipo"))->setEditText(QStringLiteral("RECINICIO"));
    query.findChild<QLineEdit *>(QStringLiteral("txtClave"))->setText(QStringLiteral("07"));
    QTest::mouseClick(query.findChild<QPushButton *>(QStringLiteral("cmdAceptar")), Qt::LeftButton);
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
    query.findChild<QLineEdit *>(QStringLiteral("txtClave"))->setText(QStringLiteral("01"));
    prompter.clear();
    prompter.answers << true;
    QTest::mouseClick(query.findChild<QPushButton *>(QStringLiteral("cmdEliminar")), Qt::LeftButton);
    QCOMPARE(prompter.last(), QStringLiteral("El registro fue eliminado con exito"));
    QCOMPARE(count(db.connection()), 0);
}

QTEST_MAIN(tst_Parametro)
#include "tst_parametro.moc"
