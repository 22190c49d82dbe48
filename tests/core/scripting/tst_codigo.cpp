// Event scripts: cCode with the standard named objects against a real store on both engines.
#include "CValue.h"
#include "ConnectionCatalog.h"
#include "ConnectionManager.h"
#include "ConnectionProvider.h"
#include "DemoData.h"
#include "Engine.h"
#include "Log.h"
#include "MainWindowController.h"
#include "ScriptObjects.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "Startup.h"
#include "TestDatabase.h"
#include "Transaction.h"
#include "cAplication.h"
#include "cCode.h"
#include "cCollectionContainer.h"
#include "cConfigure.h"
#include "cObjectFactory.h"
#include "cString.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

// The services a logged-in session has, over the test database, and a host with the
// standard object list. Echo output and error-hook calls are recorded.
struct Host {
    explicit Host(db::Connection &connection)
        : provider(&connection), settings(dir.filePath(QStringLiteral("settings.ini"))),
          config(provider, settings, prompter), string(&config), app(provider, prompter),
          code(provider, config, prompter, [this] {
              return buildScriptObjects({config, provider, string, app, factory, global});
          })
    {
        prepareScriptEngine(code.engine());
        code.setEchoSink([this](const QString &text) { echoed << text; });
        code.setOnScriptError(
            [this](const QString &clave, const QString &text) { hooked << clave + '|' + text; });
    }

    void store(const QString &clave, const QString &text, const QString &activo = QStringLiteral("S"))
    {
        provider.getConnection().execute(QStringLiteral("delete from tCodigo where codigo_Clave = ?"),
                                         {clave});
        provider.getConnection().execute(
            QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) "
                           "values (?, ?, ?, ?)"),
            {clave, QStringLiteral("Prueba ") + clave, text, activo});
    }

    QTemporaryDir dir;
    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
    cString string;
    cAplication app;
    cObjectFactory factory;
    cCollectionContainer global;
    cCode code;
    QStringList echoed;
    QStringList hooked;
};

// A service whose member makes the program raise another event, as a window opened from a
// script would.
class Reentrante : public QObject {
    Q_OBJECT
public:
    cCode *code = nullptr;
    Q_INVOKABLE bool evento() { return code->runEvent(QStringLiteral("OTRO")); }
    Q_INVOKABLE void cambia()
    {
        code->addObject(QStringLiteral("xVenta"), 8);
        code->clearObjects();
    }
};

QString todayLog(const QString &dir)
{
    QFile f(dir + QLatin1Char('/') + Log::fileNameFor(QDate::currentDate()));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class tst_Codigo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void busqueda_data();
    void busqueda();
    void localeDelScript_data();
    void localeDelScript();
    void libreria_data();
    void libreria();
    void eventosNoCompartenObjetos_data() { TestDatabase::addEngineRows(); }
    void eventosNoCompartenObjetos();
    void objetosEstandar_data() { TestDatabase::addEngineRows(); }
    void objetosEstandar();
    void configuracion_data() { TestDatabase::addEngineRows(); }
    void configuracion();
    void folioDesdeScript_data() { TestDatabase::addEngineRows(); }
    void folioDesdeScript();
    void tablasPorCn_data() { TestDatabase::addEngineRows(); }
    void tablasPorCn();
    void transaccionAbiertaPorElScript_data();
    void transaccionAbiertaPorElScript();
    void globalEntreEventos_data() { TestDatabase::addEngineRows(); }
    void globalEntreEventos();
    void errorEnMedio_data();
    void errorEnMedio();
    void calculoConCValue_data() { TestDatabase::addEngineRows(); }
    void calculoConCValue();
    void rutinaConRun_data() { TestDatabase::addEngineRows(); }
    void rutinaConRun();
    void clavesQueNoSonIdentificadores_data();
    void clavesQueNoSonIdentificadores();
    void msgBoxPorPrompter_data() { TestDatabase::addEngineRows(); }
    void msgBoxPorPrompter();
    void demoAlIniciar_data() { TestDatabase::addEngineRows(); }
    void demoAlIniciar();
    void eventoDentroDeUnScript_data() { TestDatabase::addEngineRows(); }
    void eventoDentroDeUnScript();
    void alTerminarAunqueFalle_data() { TestDatabase::addEngineRows(); }
    void alTerminarAunqueFalle();
    void limitesDeUnaCorrida_data();
    void limitesDeUnaCorrida();
    void detenidoDesdeOtroHilo();
    void alIniciarTrasElAlmacen_data() { TestDatabase::addEngineRows(); }
    void alIniciarTrasElAlmacen();

private:
    QTemporaryDir m_logDir;
};

void tst_Codigo::initTestCase()
{
    QVERIFY(m_logDir.isValid());
    const QString dir = m_logDir.path();
    Log::setDirectoryProvider([dir] { return dir; });
}

void tst_Codigo::cleanupTestCase()
{
    Log::setDirectoryProvider({});
}

void tst_Codigo::cleanup()
{
    QLocale::setDefault(QLocale::system());
}

// Missing and inactive scripts run nothing, show nothing and are not failures.
void tst_Codigo::busqueda_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("activo"); // empty: no row at all
    QTest::addColumn<bool>("encontrado");
    QTest::addColumn<bool>("corre");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "activo") << "S" << true << true;
        TestDatabase::newRow(e, "inactivo") << "N" << true << false;
        TestDatabase::newRow(e, "activo en minuscula no corre") << "s" << true << false;
        TestDatabase::newRow(e, "sin valor") << "" << true << false;
        TestDatabase::newRow(e, "no existe") << QString() << false << false;
    }
}

void tst_Codigo::busqueda()
{
    QFETCH(QString, engine);
    QFETCH(QString, activo);
    QFETCH(bool, encontrado);
    QFETCH(bool, corre);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(QStringLiteral("OTRO"), QStringLiteral("Echo \"otro\""));
    if (!activo.isNull())
        h.store(QStringLiteral("OnStartUpSale"), QStringLiteral("Echo \"corrio\"\nx = 1 / 0"), activo);

    // A script loaded before must not run in place of a key that is missing.
    QVERIFY(h.code.Search(QStringLiteral("OTRO")));
    QCOMPARE(h.code.Search(QStringLiteral("OnStartUpSale")), encontrado);
    QCOMPARE(h.code.isLoad(), encontrado);
    QCOMPARE(h.code.Activo(), corre);
    if (encontrado) {
        QCOMPARE(h.code.Clave(), QStringLiteral("OnStartUpSale"));
        QCOMPARE(h.code.Nombre(), QStringLiteral("Prueba OnStartUpSale"));
    }
    QCOMPARE(h.code.execute(), !corre);
    QCOMPARE(h.code.runEvent(QStringLiteral("OnStartUpSale")), !corre);
    QCOMPARE(h.echoed, corre ? QStringList({"corrio", "corrio"}) : QStringList());
    // A failing script reaches the error hook, not a message box.
    QVERIFY(h.prompter.shown.isEmpty());
    QCOMPARE(h.hooked.size(), corre ? 2 : 0);
}

void tst_Codigo::localeDelScript_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("locale");
    QTest::addColumn<QString>("localeId");
    QTest::addColumn<int>("lcid");
    QTest::addColumn<QString>("numero");
    QTest::addColumn<bool>("procedimiento");
    for (const QString &e : TestDatabase::engines()) {
        // The workstation is German here, so its own locale cannot be mistaken for a default.
        TestDatabase::newRow(e, "LOCALE falso: la estacion")
            << false << "es-mx" << 1031 << "1.234,50" << false;
        TestDatabase::newRow(e, "LOCALE verdadero: es-mx") << true << "es-mx" << 2058 << "1,234.50" << true;
        TestDatabase::newRow(e, "LOCALE verdadero: es-es") << true << "es-es" << 3082 << "1.234,50" << true;
    }
}

void tst_Codigo::localeDelScript()
{
    QFETCH(QString, engine);
    QFETCH(bool, locale);
    QFETCH(QString, localeId);
    QFETCH(int, lcid);
    QFETCH(QString, numero);
    QFETCH(bool, procedimiento);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Host h(db.connection());
    h.store(QStringLiteral("LOCALES"),
            QStringLiteral("Echo GetLocale()\nEcho FormatNumber(1234.5, 2)\n"
                           "On Error Resume Next\nCall setZEVSettings()\nEcho Err.Number = 0"));
    // A run under another locale first: the next one must not inherit it.
    h.config.setValue(QStringLiteral("LOCALE"), true);
    h.config.setValue(QStringLiteral("LOCALE-ID"), QStringLiteral("fr-fr"));
    QVERIFY(h.code.runEvent(QStringLiteral("LOCALES")));
    h.echoed.clear();

    h.config.setValue(QStringLiteral("LOCALE"), locale);
    h.config.setValue(QStringLiteral("LOCALE-ID"), localeId);
    QCOMPARE(h.code.localeProcedure().isEmpty(), !locale);
    QVERIFY(h.code.runEvent(QStringLiteral("LOCALES")));
    QCOMPARE(h.echoed.value(0), QString::number(lcid));
    QCOMPARE(h.echoed.value(1), numero);
    QCOMPARE(h.echoed.value(2), procedimiento ? QStringLiteral("True") : QStringLiteral("False"));
}

void tst_Codigo::libreria_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("clave");    // the library key configured
    QTest::addColumn<QString>("libreria"); // text stored under "LIBRERIA"; null: no row
    QTest::addColumn<QString>("script");   // key run
    QTest::addColumn<QStringList>("echo");
    QTest::addColumn<QString>("fallo"); // key given to the error hook; empty: no failure
    const QString lib = QStringLiteral("Dim cargas\ncargas = cargas + 1\nEcho \"cargas \" & cargas\n"
                                       "Function doble(x)\n doble = x * 2\nEnd Function");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "el script usa un procedimiento de la libreria")
            << "LIBRERIA" << lib << "USA" << QStringList{"cargas 1", "42"} << "";
        TestDatabase::newRow(e, "la libreria misma se agrega una sola vez")
            << "LIBRERIA" << lib << "LIBRERIA" << QStringList{"cargas 1"} << "";
        TestDatabase::newRow(e, "sin fila de libreria el script corre solo")
            << "LIBRERIA" << QString() << "SOLO" << QStringList{"solo"} << "";
        TestDatabase::newRow(e, "otra clave de libreria: LIBRERIA es un script mas")
            << "UTIL"
            << "Echo \"como script\""
            << "LIBRERIA" << QStringList{"util", "como script"} << "";
        TestDatabase::newRow(e, "libreria con error de sintaxis: falla la libreria")
            << "LIBRERIA"
            << "Sub roto(\nEnd Sub"
            << "SOLO" << QStringList() << "LIBRERIA";
        TestDatabase::newRow(e, "sin libreria configurada")
            << "" << lib << "SOLO" << QStringList{"solo"} << "";
    }
}

void tst_Codigo::libreria()
{
    QFETCH(QString, engine);
    QFETCH(QString, clave);
    QFETCH(QString, libreria);
    QFETCH(QString, script);
    QFETCH(QStringList, echo);
    QFETCH(QString, fallo);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.config.setValue(QStringLiteral("CODIGO-LIBRERIA"), clave);
    if (!libreria.isNull())
        h.store(QStringLiteral("LIBRERIA"), libreria);
    h.store(QStringLiteral("USA"), QStringLiteral("Echo doble(21)"));
    h.store(QStringLiteral("SOLO"), QStringLiteral("Echo \"solo\""));
    h.store(QStringLiteral("UTIL"), QStringLiteral("Echo \"util\""));

    QCOMPARE(h.code.runEvent(script), fallo.isEmpty());
    QCOMPARE(h.echoed, echo);
    QCOMPARE(h.hooked.size(), fallo.isEmpty() ? 0 : 1);
    if (!fallo.isEmpty())
        QVERIFY2(h.hooked.value(0).startsWith(fallo + QLatin1Char('|')), qPrintable(h.hooked.value(0)));
}

void tst_Codigo::eventosNoCompartenObjetos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(QStringLiteral("OnTicketPrint"), QStringLiteral("Echo IsObject(xVenta) & \" \" & xVenta.Value"));
    h.store(QStringLiteral("OnCutOfBox"), QStringLiteral("Echo IsObject(xVenta) & \" \" & IsObject(xCorte)"));

    QVERIFY(h.code.runEvent(QStringLiteral("OnTicketPrint"), {{QStringLiteral("xVenta"), 125}}));
    QVERIFY(h.code.existsObject(QStringLiteral("xVenta")));
    QVERIFY(h.code.runEvent(QStringLiteral("OnCutOfBox"),
                            {{QStringLiteral("xCorte"), QStringLiteral("T1-2026-4")}}));
    QVERIFY(!h.code.existsObject(QStringLiteral("xVenta")));
    QCOMPARE(h.echoed, QStringList({"True 125", "False True"}));
    // Search alone also gives back exactly the standard list.
    h.code.addObject(QStringLiteral("xExtra"), 1);
    h.code.Search(QStringLiteral("OnCutOfBox"));
    QCOMPARE(h.code.objects().names(),
             QStringList({"xConfig", "cn", "xLibStr", "xApp", "xFactory", "xGlobal"}));
}

// One script touching every standard object, as an installation's script would.
void tst_Codigo::objetosEstandar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    QSignalSpy bar(&h.app, &cAplication::statusMessage);
    h.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
    h.store(QStringLiteral("TODOS"), QStringLiteral(R"(Echo xConfig.getValue("USUARIO")
Echo cn.Execute("select count(*) as n from tCodigo")("n")
Echo xLibStr.leftFill("7", "0", 4)
xApp.msgBar "hola"
Set c = xFactory.newcCollectionContainer()
c.addObject "v", "k"
Echo c.getItem("k")
xGlobal.addObject 3, "g"
Echo xGlobal.getItem("g")
Set rs = CreateObject("ADODB.Recordset")
Echo TypeName(rs) <> "")"));
    QVERIFY2(h.code.runEvent(QStringLiteral("TODOS")), qPrintable(h.code.lastError()));
    QCOMPARE(h.echoed, QStringList({"ADMIN", "1", "0007", "v", "3", "True"}));
    QCOMPARE(bar.size(), 1);
    QCOMPARE(bar.at(0).at(0).toString(), QStringLiteral("hola"));
}

void tst_Codigo::configuracion()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("MATRIZ"));
    h.store(QStringLiteral("CONFIG"), QStringLiteral(R"(Echo xConfig.getValue("ALMACEN")
Echo xConfig.setValue("ALMACEN", "SUR")
Echo xConfig.setValue("LOCALE-ID", "es-es")
Echo xConfig.saveValue("LOCALE-ID")
Echo xConfig.setValue("NO-EXISTE", "x"))"));
    QVERIFY2(h.code.runEvent(QStringLiteral("CONFIG")), qPrintable(h.code.lastError()));
    QCOMPARE(h.echoed, QStringList({"MATRIZ", "True", "True", "True", "False"}));
    QCOMPARE(h.config.getString(QStringLiteral("ALMACEN")), QStringLiteral("SUR"));
    QCOMPARE(
        db.connection()
            .scalar(QStringLiteral("select config_ValorStr from tConfiguracion where config_Clave = ? and "
                                   "config_computer = ?"),
                    {QStringLiteral("LOCALE-ID"), h.config.computer()})
            .toString(),
        QStringLiteral("es-es"));
}

void tst_Codigo::folioDesdeScript()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(QStringLiteral("FOLIO"),
            QStringLiteral("Echo xApp.getNextSequence(\"VALE_MATRIZ\")\n"
                           "Echo xApp.getNextSequence(\"VALE_MATRIZ\", 1, 100, 5, 1)"));
    QVERIFY2(h.code.runEvent(QStringLiteral("FOLIO")), qPrintable(h.code.lastError()));
    QVERIFY2(h.code.runEvent(QStringLiteral("FOLIO")), qPrintable(h.code.lastError()));
    // The key keeps the bounds it was created with; folios never repeat across runs.
    QCOMPARE(h.echoed, QStringList({"1", "2", "3", "4"}));
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select sec_Valor from tSecuencia where sec_Clave = ?"),
                         {QStringLiteral("VALE_MATRIZ")})
                 .toLongLong(),
             qint64(4));
}

void tst_Codigo::tablasPorCn()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    db.connection().execute(
        QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre, alm_Telefono) values "
                       "('MATRIZ', 'Matriz', '111'), ('SUR', 'Sucursal Sur', '222')"));
    h.store(QStringLiteral("CONSULTA"),
            QStringLiteral(
                R"(Set rs = cn.Execute("select alm_Clave, alm_Telefono from tAlmacen order by alm_Clave")
Do While Not rs.EOF
    Echo rs("alm_Clave") & "=" & rs.Fields("alm_Telefono").Value
    rs.MoveNext
Loop
rs.Close
cn.Execute "update tAlmacen set alm_Telefono = '333' where alm_Clave = 'SUR'"
cn.BeginTrans
cn.Execute "update tAlmacen set alm_Telefono = '999' where alm_Clave = 'MATRIZ'"
cn.RollbackTrans)"));
    QVERIFY2(h.code.runEvent(QStringLiteral("CONSULTA")), qPrintable(h.code.lastError()));
    QCOMPARE(h.echoed, QStringList({"MATRIZ=111", "SUR=222"}));
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select alm_Telefono from tAlmacen where alm_Clave = 'SUR'"))
                 .toString(),
             QStringLiteral("333"));
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select alm_Telefono from tAlmacen where alm_Clave = 'MATRIZ'"))
                 .toString(),
             QStringLiteral("111"));
}

void tst_Codigo::transaccionAbiertaPorElScript_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("termina");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "termina sin CommitTrans")
            << "cn.BeginTrans\ncn.Execute \"update tAlmacen set alm_Telefono = '999'\"" << true;
        TestDatabase::newRow(e, "falla dentro de la transaccion")
            << "cn.BeginTrans\ncn.Execute \"update tAlmacen set alm_Telefono = '999'\"\nx = 1 / 0" << false;
    }
}

// What a script began and left open is undone when its run ends; the program's connection
// is not left inside the script's transaction.
void tst_Codigo::transaccionAbiertaPorElScript()
{
    QFETCH(QString, engine);
    QFETCH(QString, texto);
    QFETCH(bool, termina);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    db.connection().execute(
        QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre, alm_Telefono) values "
                       "('MATRIZ', 'Matriz', '111')"));
    h.store(QStringLiteral("OnTerminateProgram"), texto);
    QCOMPARE(h.code.runEvent(QStringLiteral("OnTerminateProgram")), termina);
    QCOMPARE(db.connection().scalar(QStringLiteral("select alm_Telefono from tAlmacen")).toString(),
             QStringLiteral("111"));
    // The program's own write after the script commits for good.
    {
        db::Transaction tx(db.connection());
        db.connection().execute(QStringLiteral("update tAlmacen set alm_Telefono = '222'"));
        tx.commit();
    }
    const auto other = db.openAnother();
    QCOMPARE(other->scalar(QStringLiteral("select alm_Telefono from tAlmacen")).toString(),
             QStringLiteral("222"));
}

void tst_Codigo::globalEntreEventos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(QStringLiteral("OnStartUpSale"),
            QStringLiteral("Dim n\nn = xGlobal.getItem(\"ventas\")\nIf IsEmpty(n) Then n = 0\n"
                           "xGlobal.addObject n + 1, \"ventas\"\nEcho n + 1"));
    for (int i = 0; i < 3; ++i)
        QVERIFY2(h.code.runEvent(QStringLiteral("OnStartUpSale")), qPrintable(h.code.lastError()));
    QCOMPARE(h.echoed, QStringList({"1", "2", "3"}));
    QCOMPARE(h.global.getItem(QStringLiteral("ventas")).toInt(), 3);
}

void tst_Codigo::errorEnMedio_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("echo"); // what ran before the failure
    QTest::addColumn<QString>("error");    // lastError(), or its start for database texts
    QTest::addColumn<int>("linea");
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("fuente");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "division entre cero en la linea 3")
            << "Echo \"antes\"\nx = 10\ny = x / 0\nEcho \"despues\"" << QStringList{"antes"}
            << "Division by zero (line 3)" << 3 << 11 << "Microsoft VBScript runtime error";
        TestDatabase::newRow(e, "primera linea: el encabezado no la corre")
            << "x = CInt(\"abc\")" << QStringList() << "Type mismatch (line 1)" << 1 << 13
            << "Microsoft VBScript runtime error";
        TestDatabase::newRow(e, "error de sintaxis: no corre nada")
            << "Echo \"antes\"\nIf x Then\nEcho 1" << QStringList() << "Expected 'If' (line 4)" << 4 << 1012
            << "Microsoft VBScript compilation error";
        TestDatabase::newRow(e, "error de la base de datos por cn")
            << "Echo \"antes\"\ncn.Execute \"select * from tNoExiste\"\nEcho \"despues\""
            << QStringList{"antes"} << "" << 2 << -2147217900 << "";
    }
}

void tst_Codigo::errorEnMedio()
{
    QFETCH(QString, engine);
    QFETCH(QString, texto);
    QFETCH(QStringList, echo);
    QFETCH(QString, error);
    QFETCH(int, linea);
    QFETCH(int, numero);
    QFETCH(QString, fuente);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(QStringLiteral("OnTerminateProgram"), texto);
    h.store(QStringLiteral("DESPUES"), QStringLiteral("Echo \"sigue\""));

    QVERIFY(!h.code.runEvent(QStringLiteral("OnTerminateProgram")));
    QCOMPARE(h.echoed, echo);
    QCOMPARE(h.code.lastErrorLine(), linea);
    if (!error.isEmpty())
        QCOMPARE(h.code.lastError(), error);
    else
        QVERIFY2(h.code.lastError().contains(QLatin1String("tnoexiste"), Qt::CaseInsensitive),
                 qPrintable(h.code.lastError()));
    QVERIFY2(h.code.lastError().endsWith(QStringLiteral("(line %1)").arg(linea)),
             qPrintable(h.code.lastError()));

    // Nothing on screen (the hook opens the editor for those who may correct it); the error
    // report's line in the log.
    QVERIFY(h.prompter.shown.isEmpty());
    const QString prefix = QStringLiteral("cCode.execute:[%1]-[%2]-[").arg(numero).arg(h.code.lastError());
    const QString log = todayLog(m_logDir.path());
    const qsizetype at = log.indexOf(prefix);
    QVERIFY2(at >= 0, qPrintable(log));
    // A database's message may span lines: the report ends where the key follows it.
    const qsizetype end = log.indexOf(QLatin1String(":OnTerminateProgram"), at);
    QVERIFY2(end > at, qPrintable(log));
    const QString logged = log.mid(at, end - at);
    if (!fuente.isEmpty())
        QVERIFY2(logged.contains(QLatin1Char('[') + fuente + QLatin1Char(']')), qPrintable(logged));
    QCOMPARE(h.hooked, QStringList({QStringLiteral("OnTerminateProgram|") + h.code.lastError()}));

    // The host is usable at once: the next event runs, and the error is gone.
    h.echoed.clear();
    QVERIFY(h.code.runEvent(QStringLiteral("DESPUES")));
    QCOMPARE(h.echoed, QStringList({"sigue"}));
    QVERIFY(h.code.lastError().isEmpty());
}

// A calculation script: the caller clears the objects, hands values, reads them back.
void tst_Codigo::calculoConCValue()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(QStringLiteral("ONCHANGEPRICE_MARGEN"), QStringLiteral(R"(If CambioPrecio.Value = "MARGEN" Then
    Publico.Value = Round(Costo.Value * (1 + Margen.Value / 100), 2)
    Utilidad.Value = Publico - Costo
    Total.Value = Round(Publico.Value * (1 + ImpuestoPorcentaje.Value / 100), 2)
    Nota.Value = UCase(Nota.Value)
End If)"));
    QVERIFY(h.code.Search(QStringLiteral("ONCHANGEPRICE_MARGEN")));
    h.code.clearObjects();
    QCOMPARE(h.code.objects().size(), 0);
    h.code.addObject(QStringLiteral("CambioPrecio"), QStringLiteral("MARGEN"));
    const QStringList cifras = {"Costo",  "Publico",  "Descuento",          "SubTotal",
                                "Margen", "Utilidad", "ImpuestoPorcentaje", "ImpuestoImporte",
                                "Total"};
    const QList<double> valores = {80, 0, 0, 0, 25, 0, 16, 0, 0};
    for (int i = 0; i < cifras.size(); ++i)
        h.code.addObject(cifras[i], valores[i]);
    QVERIFY(qobject_cast<CValue *>(h.code.getObject(QStringLiteral("Costo")).value<QObject *>()));
    // A value that comes from another script is wrapped the same way.
    h.code.addObject(QStringLiteral("Nota"), QVariant::fromValue(vbs::Value(QStringLiteral("lista 2"))));
    QVERIFY2(h.code.execute(), qPrintable(h.code.lastError()));
    QCOMPARE(h.code.valueOf(QStringLiteral("Publico")).toDouble(), 100.0);
    QCOMPARE(h.code.valueOf(QStringLiteral("Utilidad")).toDouble(), 20.0);
    QCOMPARE(h.code.valueOf(QStringLiteral("Total")).toDouble(), 116.0);
    QCOMPARE(h.code.valueOf(QStringLiteral("Costo")).toDouble(), 80.0);
    QCOMPARE(h.code.valueOf(QStringLiteral("Nota")).toString(), QStringLiteral("LISTA 2"));
    QVERIFY(!h.code.existsObject(QStringLiteral("xConfig")));
}

void tst_Codigo::rutinaConRun()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(QStringLiteral("LIBRERIA"),
            QStringLiteral("Function ajusta(t)\n ajusta = \"[\" & t & \"]\"\nEnd Function"));
    h.store(QStringLiteral("LAYOUT_CLIENTES"),
            QStringLiteral(
                "Sub Antes()\n Echo ajusta(\"antes\")\nEnd Sub\nSub Despues()\n Echo \"despues\"\nEnd Sub"));
    QVERIFY(h.code.Search(QStringLiteral("LAYOUT_CLIENTES")));
    QVERIFY2(h.code.Run(QStringLiteral("Antes")), qPrintable(h.code.lastError()));
    QVERIFY2(h.code.Run(QStringLiteral("despues")), qPrintable(h.code.lastError()));
    QCOMPARE(h.echoed, QStringList({"[antes]", "despues"}));
    QVERIFY(!h.code.Run(QStringLiteral("NoExiste")));
    QCOMPARE(h.hooked.size(), 1);
    QVERIFY(h.hooked[0].startsWith(QLatin1String("LAYOUT_CLIENTES|")));
}

void tst_Codigo::clavesQueNoSonIdentificadores_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("clave");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "guion") << "TRAN_SUC-01";
        TestDatabase::newRow(e, "espacio") << "LAYOUT_LISTA PRECIOS";
        TestDatabase::newRow(e, "empieza con numero") << "01_INICIO";
        TestDatabase::newRow(e, "corchete") << "TRAN_[X]";
    }
}

void tst_Codigo::clavesQueNoSonIdentificadores()
{
    QFETCH(QString, engine);
    QFETCH(QString, clave);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(clave, QStringLiteral("Echo \"ok\""));
    QVERIFY2(h.code.runEvent(clave), qPrintable(h.code.lastError()));
    QCOMPARE(h.echoed, QStringList({"ok"}));
}

void tst_Codigo::msgBoxPorPrompter()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(QStringLiteral("MSG"),
            QStringLiteral("Echo MsgBox(\"¿Imprimir copia?\", vbYesNo + vbQuestion, \"Ticket\")\n"
                           "Echo MsgBox(\"Sin papel\", vbExclamation)"));
    h.prompter.answers.enqueue(false);
    QVERIFY2(h.code.runEvent(QStringLiteral("MSG")), qPrintable(h.code.lastError()));
    QCOMPARE(h.echoed, QStringList({"7", "1"}));
    QCOMPARE(h.prompter.texts(), QStringList({"¿Imprimir copia?", "Sin papel"}));
    QCOMPARE(h.prompter.shown[1].icon, Prompter::Icon::Exclamation);
}

// The demo store's start-up script greets in the status bar through the library.
void tst_Codigo::demoAlIniciar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::DemoData::populate(db.connection());
    db::DemoData::populate(db.connection()); // a second fill keeps the rows as they are
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tCodigo")).toInt(), 2);
    Host h(db.connection());
    h.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
    h.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("MATRIZ"));
    QSignalSpy bar(&h.app, &cAplication::statusMessage);
    QVERIFY2(h.code.runEvent(QStringLiteral("OnStartUpProgram")), qPrintable(h.code.lastError()));
    QCOMPARE(bar.size(), 1);
    const QString text = bar.at(0).at(0).toString();
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral(
                 "^Buen(os días|as tardes|as noches), ADMIN\\. Almacén MATRIZ - \\d\\d/\\d\\d/\\d{4}$"))),
             qPrintable(text));
    // The library's helpers as other scripts use them.
    h.store(QStringLiteral("FORMATOS"),
            QStringLiteral("Echo fmtMoneda(1234.5)\nEcho fmtFecha(DateSerial(2026, 3, 4))\n"
                           "Echo \"[\" & ajustaTexto(\"Aspirina 500\", 8) & \"]\""));
    QVERIFY2(h.code.runEvent(QStringLiteral("FORMATOS")), qPrintable(h.code.lastError()));
    QCOMPARE(h.echoed, QStringList({"$1,234.50", "04/03/2026", "[Aspirina]"}));
}

void tst_Codigo::eventoDentroDeUnScript()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    Reentrante re;
    re.code = &h.code;
    h.store(QStringLiteral("OTRO"), QStringLiteral("Echo \"otro\""));
    h.store(
        QStringLiteral("OnTicketPrint"),
        QStringLiteral("Echo xVenta.Value\nEcho xRe.evento()\nxRe.cambia\nEcho xVenta.Value & \" sigue\""));
    QVERIFY(h.code.Search(QStringLiteral("OnTicketPrint")));
    h.code.addObject(QStringLiteral("xVenta"), 7);
    h.code.addObject(QStringLiteral("xRe"), &re);
    // The inner event is skipped; the outer script keeps its objects and ends normally.
    QVERIFY2(h.code.execute(), qPrintable(h.code.lastError()));
    QCOMPARE(h.echoed, QStringList({"7", "False", "7 sigue"}));
    QVERIFY(h.code.existsObject(QStringLiteral("xRe")));
    QVERIFY(
        todayLog(m_logDir.path()).contains(QStringLiteral("OTRO no se ejecutó: otro script está en curso")));
    h.echoed.clear();
    QVERIFY(h.code.runEvent(QStringLiteral("OTRO")));
    QCOMPARE(h.echoed, QStringList({"otro"}));
}

// Shutdown goes on after a failing OnTerminateProgram: the configuration is saved (with what
// the script changed before failing) and the program ends.
void tst_Codigo::alTerminarAunqueFalle()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    ConnectionCatalog catalog(h.settings);
    ConnectionManager manager(h.config, catalog, h.prompter);
    bool quit = false;
    Startup::Hooks hooks;
    hooks.runEventScript = [&](const char *key) { h.code.runEvent(QString::fromLatin1(key)); };
    hooks.quit = [&] { quit = true; };
    Startup startup(h.config, catalog, manager, hooks);
    h.config.setValue(QStringLiteral("SALVAR-CONFIGURACION-AL-SALIR"), true);
    h.store(QStringLiteral("OnTerminateProgram"),
            QStringLiteral("xConfig.setValue \"LOCALE-ID\", \"en-gb\"\nx = 1 / 0"));

    startup.terminateProgram();
    QVERIFY(quit);
    QCOMPARE(h.hooked.size(), 1);
    QVERIFY(h.hooked.first().contains(QLatin1String("Division by zero (line 2)")));
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select config_ValorStr from tConfiguracion where config_Clave = ?"),
                         {QStringLiteral("LOCALE-ID")})
                 .toString(),
             QStringLiteral("en-gb"));
}

void tst_Codigo::alIniciarTrasElAlmacen()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Host h(db.connection());
    h.store(QStringLiteral("OnStartUpProgram"), QStringLiteral("Echo xConfig.getValue(\"ALMACEN\")"));
    MainWindowController::Hooks hooks;
    hooks.selectWarehouse = [&] { h.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("SUR")); };
    hooks.runEventScript = [&](const QString &key) { h.code.runEvent(key); };
    MainWindowController window(h.prompter, hooks);
    QVERIFY(window.activate());
    QVERIFY(!window.activate());
    QCOMPARE(h.echoed, QStringList({"SUR"}));
}

void tst_Codigo::limitesDeUnaCorrida_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<int>("valor");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("error");
    QTest::newRow("ciclo sin fin: tiempo")
        << "CODIGO-LIMITE-SEGUNDOS" << 1 << "Do\n  x = Replace(Space(100000), \" \", \"a\")\nLoop"
        << "time limit";
    QTest::newRow("memoria sin fin") << "CODIGO-LIMITE-MEMORIA-MB" << 32
                                     << "Dim a(400)\nFor i = 0 To 400\n  a(i) = Space(1000000)\nNext"
                                     << "Out of memory";
}

// A runaway event script ends at the workstation's caps instead of hanging the counter or
// taking its memory; the next event runs normally.
void tst_Codigo::limitesDeUnaCorrida()
{
    QFETCH(QString, clave);
    QFETCH(int, valor);
    QFETCH(QString, texto);
    QFETCH(QString, error);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Host h(db.connection());
    h.config.setValue(clave, valor);
    h.store(QStringLiteral("OnStartUpSale"), texto);
    QVERIFY(!h.code.runEvent(QStringLiteral("OnStartUpSale")));
    QVERIFY2(h.code.lastError().contains(error), qPrintable(h.code.lastError()));
    QCOMPARE(h.hooked.size(), 1);
    h.store(QStringLiteral("OnStartUpSale"), QStringLiteral("Echo \"sigue\""));
    QVERIFY(h.code.runEvent(QStringLiteral("OnStartUpSale")));
    QCOMPARE(h.echoed, QStringList{QStringLiteral("sigue")});
}

// The program (or Ctrl-C on the command line) stops a script that would otherwise run on.
void tst_Codigo::detenidoDesdeOtroHilo()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Host h(db.connection());
    h.code.setLimites(0, 0); // no cap: only the cancel ends it
    h.store(QStringLiteral("OnStartUpSale"), QStringLiteral("Echo \"antes\"\nDo\nLoop"));
    std::atomic<bool> started = false;
    h.code.setEchoSink([&](const QString &) { started = true; });
    std::thread stopper([&] {
        while (!started)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        h.code.cancel();
    });
    const bool ok = h.code.runEvent(QStringLiteral("OnStartUpSale"));
    stopper.join();
    QVERIFY(!ok);
    QVERIFY2(h.code.lastError().contains(QStringLiteral("cancelled")), qPrintable(h.code.lastError()));
}

QTEST_GUILESS_MAIN(tst_Codigo)
#include "tst_codigo.moc"
