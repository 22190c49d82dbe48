// Export and import of configuration categories through an initialization file.
#include "ConfigExchange.h"
#include "ConfigIniFile.h"
#include "ConnectionProvider.h"
#include "DbError.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "cConfigure.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
class NoDatabase : public ConnectionProvider {
public:
    db::Connection *currentConnection() override { return nullptr; }
    db::Connection &getConnection() override
    {
        throw db::DbError(-1, QStringLiteral("No hay conexion"), QStringLiteral("prueba"));
    }
};

QString fixture(const QString &name)
{
    const QString dir = qEnvironmentVariable("MDR_TEST_DATA");
    if (!dir.isEmpty())
        return dir + QStringLiteral("/config/") + name;
    return QFINDTESTDATA(QStringLiteral("../data/config/") + name);
}
} // namespace

class tst_ConfigExchange : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void roundTrip();
    void fileLayout();
    void handEditedFile();
    void nothingToImport_data();
    void nothingToImport();
    void unknownKeyOnExport();
    void decodeValue_data();
    void decodeValue();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    NoDatabase m_db;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void tst_ConfigExchange::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ConfigExchange::roundTrip()
{
    ScriptedPrompter prompter;
    SettingsStore settingsA(path(QStringLiteral("a.ini")));
    cConfigure a(m_db, settingsA, prompter);
    const QList<QPair<QString, QVariant>> changes = {
        {QStringLiteral("COBRO-RAPIDO"), true},
        {QStringLiteral("TIMER_VENTAS_MSG"), 2500},
        {QStringLiteral("REDONDEO-VENTA-CANTIDAD"), 0.1},
        {QStringLiteral("COMISION-TARJETA-COBRO"), QStringLiteral("DESCUENTO")},
        {QStringLiteral("CREDITO-REFERENCIA"), QStringLiteral("Nº de vale = 1; a,b")},
        {QStringLiteral("IMPRIME-CODIGOS-CAJON"), QStringLiteral("27,112,0,25,250,")},
        {QStringLiteral("IMPRESORA-DE-RECIBOS"), QString()},
        {QStringLiteral("AGENDA-NORMAL-HORA-INI"), QDateTime(QDate(1899, 12, 30), QTime(7, 30))},
        {QStringLiteral("AGENDA-DURACION-CITA-MINUTOS"), 45.5},
        {QStringLiteral("CONEXION"), QStringLiteral("postgresql://u:p@127.0.0.1:5432/tienda")},
    };
    for (const auto &[key, value] : changes)
        QVERIFY2(a.setValue(key, value), qPrintable(key));
    const QList<int> categories = {cConfigure::Ventas, cConfigure::Impresion, 25, cConfigure::Database};
    ConfigExchange exportA(a, prompter);
    QVERIFY(exportA.exportar(path(QStringLiteral("config.ini")), categories));
    QVERIFY(prompter.shown.isEmpty());

    SettingsStore settingsB(path(QStringLiteral("b.ini")));
    cConfigure b(m_db, settingsB, prompter);
    ConfigExchange importB(b, prompter);
    QVERIFY(importB.importar(path(QStringLiteral("config.ini"))));
    QVERIFY(prompter.shown.isEmpty());

    int expectedKeys = 0;
    for (int i = 0; i < a.getCount(); ++i) {
        const cConfigValue *item = a.getItemByPos(i);
        if (!categories.contains(item->category()))
            continue;
        ++expectedKeys;
        QCOMPARE(b.getValue(item->key()), item->value());
    }
    QCOMPARE(importB.importedKeys().size(), expectedKeys);
    QCOMPARE(b.getString(QStringLiteral("CONEXION")),
             QStringLiteral("postgresql://u:p@127.0.0.1:5432/tienda"));
    // Memory only: nothing reached B's settings file (nor a database, which would have failed).
    QCOMPARE(settingsB.sections(), QStringList());
}

void tst_ConfigExchange::fileLayout()
{
    ScriptedPrompter prompter;
    SettingsStore settings(path(QStringLiteral("a.ini")));
    cConfigure config(m_db, settings, prompter);
    config.setValue(QStringLiteral("PACIENTE-ALTA-COMO-CLIENTE"), false);
    ConfigExchange exchange(config, prompter);
    QVERIFY(exchange.exportar(path(QStringLiteral("c.ini")), {cConfigure::Almacen, 26}));

    QFile file(path(QStringLiteral("c.ini")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray raw = file.readAll();
    QVERIFY(raw.startsWith(
        "[SECCIONES]\r\nTOTAL=Mg==\r\nSECCION1=QWxtYWNlbg==\r\nSECCION2=Q2F0ZWdvcmlhMjY=\r\n"));
    QVERIFY(raw.contains(
        "[SECCION-Almacen-VALOR1]\r\nxType=MTc=\r\nxDataType=Mg==\r\nbSave=Uw==\r\nvValue=Uw==\r\n"));

    ConfigIniFile ini;
    QVERIFY(ini.load(path(QStringLiteral("c.ini"))));
    const auto read = [&ini](const char *section, const char *key) {
        return ConfigExchange::decodeValue(ini.value(QString::fromLatin1(section), QString::fromLatin1(key)));
    };
    QCOMPARE(read("SECCION-Almacen", "COUNT"), QStringLiteral("1"));
    QCOMPARE(read("SECCION-Almacen", "VALOR1"), QStringLiteral("KARDEX-ARTICULOS"));
    QCOMPARE(read("SECCION-Categoria26", "COUNT"), QStringLiteral("3"));
    QCOMPARE(read("SECCION-Categoria26", "VALOR1"), QStringLiteral("PACIENTE-ALTA-COMO-CLIENTE"));
    QCOMPARE(read("SECCION-Categoria26-VALOR1", "xType"), QStringLiteral("26"));
    QCOMPARE(read("SECCION-Categoria26-VALOR1", "vValue"), QStringLiteral("N"));
    QCOMPARE(read("SECCION-Categoria26-VALOR3", "vValue"), QStringLiteral("S"));
}

void tst_ConfigExchange::handEditedFile()
{
    ScriptedPrompter prompter;
    SettingsStore settings(path(QStringLiteral("a.ini")));
    cConfigure config(m_db, settings, prompter);
    const QString computer = config.computer();
    ConfigExchange exchange(config, prompter);
    QVERIFY(exchange.importar(fixture(QStringLiteral("editado-a-mano.ini"))));
    QVERIFY(prompter.shown.isEmpty());
    QCOMPARE(exchange.importedKeys(),
             QStringList({"COBRO-RAPIDO", "TIMER_VENTAS_MSG", "CREDITO-REFERENCIA"}));
    QCOMPARE(config.getValue(QStringLiteral("COBRO-RAPIDO")), QVariant(true));
    QCOMPARE(config.getValue(QStringLiteral("TIMER_VENTAS_MSG")), QVariant(2500));
    QCOMPARE(config.getString(QStringLiteral("CREDITO-REFERENCIA")), QStringLiteral("No. de cliente (ñ)"));
    QVERIFY(!config.existsValue(QStringLiteral("LLAVE-QUE-YA-NO-EXISTE")));
    // The workstation keeps its own name whatever the file says.
    QCOMPARE(config.computer(), computer);
}

void tst_ConfigExchange::nothingToImport_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("archivo vacio") << QByteArray();
    QTest::newRow("solo comentarios") << QByteArray("; nada\r\n\r\n");
    QTest::newRow("otras secciones") << QByteArray("[Servers]\nCount=1\n");
    QTest::newRow("total cero") << QByteArray("[SECCIONES]\nTOTAL=MA==\n");
    QTest::newRow("no existe") << QByteArray("<no existe>");
}

void tst_ConfigExchange::nothingToImport()
{
    QFETCH(QByteArray, contents);
    QString file = path(QStringLiteral("x.ini"));
    if (contents == "<no existe>") {
        file = path(QStringLiteral("no/existe.ini"));
    } else {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    ScriptedPrompter prompter;
    SettingsStore settings(path(QStringLiteral("a.ini")));
    cConfigure config(m_db, settings, prompter);
    ConfigExchange exchange(config, prompter);
    QVERIFY(!exchange.importar(file));
    QCOMPARE(prompter.texts(),
             QStringList{QStringLiteral("No hay configuraciones disponibles en este archivo")});
    QVERIFY(exchange.importedKeys().isEmpty());
}

void tst_ConfigExchange::unknownKeyOnExport()
{
    ScriptedPrompter prompter;
    SettingsStore settings(path(QStringLiteral("a.ini")));
    cConfigure config(m_db, settings, prompter);
    ConfigExchange exchange(config, prompter);
    QVERIFY(exchange.exportarClaves(
        path(QStringLiteral("c.ini")),
        {{cConfigure::Ventas, {"COBRO-RAPIDO", "YA-NO-EXISTE", "TIMER_VENTAS_MSG"}}}));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Configuracion no encontrada: YA-NO-EXISTE")});
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Exclamation);

    ConfigIniFile ini;
    QVERIFY(ini.load(path(QStringLiteral("c.ini"))));
    QCOMPARE(
        ConfigExchange::decodeValue(ini.value(QStringLiteral("SECCION-Ventas"), QStringLiteral("COUNT"))),
        QStringLiteral("2"));
    QCOMPARE(
        ConfigExchange::decodeValue(ini.value(QStringLiteral("SECCION-Ventas"), QStringLiteral("VALOR2"))),
        QStringLiteral("TIMER_VENTAS_MSG"));
}

void tst_ConfigExchange::decodeValue_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Base64 de texto") << "VmVudGFz"
                                     << "Ventas";
    QTest::newRow("Base64 con relleno") << "Uw=="
                                        << "S";
    QTest::newRow("Base64 UTF-8") << "Q29udHJhc2XDsWE="
                                  << "Contraseña";
    QTest::newRow("numero a mano") << "2500"
                                   << "2500";
    QTest::newRow("palabra a mano") << "GLOBAL"
                                    << "GLOBAL";
    QTest::newRow("llave con guion bajo") << "TIMER_VENTAS_MSG"
                                          << "TIMER_VENTAS_MSG";
    QTest::newRow("letra a mano") << "S"
                                  << "S";
    QTest::newRow("vacio") << ""
                           << "";
}

void tst_ConfigExchange::decodeValue()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QCOMPARE(ConfigExchange::decodeValue(stored), expected);
}

QTEST_GUILESS_MAIN(tst_ConfigExchange)
#include "tst_config_exchange.moc"
