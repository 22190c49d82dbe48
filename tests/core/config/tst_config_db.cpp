// The configuration store on tConfiguracion, on SQLite and PostgreSQL.
#include "ConnectionProvider.h"
#include "Log.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "TestDatabase.h"
#include "cConfigure.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
// One workstation: its own settings file, its own name, the shared database.
struct Workstation {
    Workstation(db::Connection &conn, const QString &settingsFile, const QString &name)
        : provider(&conn), settings(settingsFile), config(provider, settings, prompter)
    {
        config.setValue(QStringLiteral("COMPUTER"), name);
    }
    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
};

int rowCount(db::Connection &conn, const QString &where = QString(), const QVariantList &params = {})
{
    return conn.scalar(QStringLiteral("SELECT COUNT(*) FROM tConfiguracion") + where, params).toInt();
}
} // namespace

class tst_ConfigDb : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void freshWorkstationHasDefaults_data() { TestDatabase::addEngineRows(); }
    void freshWorkstationHasDefaults();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void rowHoldsOnlyItsTypeColumn_data() { TestDatabase::addEngineRows(); }
    void rowHoldsOnlyItsTypeColumn();
    void twoWorkstationsKeepSeparateValues_data() { TestDatabase::addEngineRows(); }
    void twoWorkstationsKeepSeparateValues();
    void savingTwiceKeepsOneRow_data() { TestDatabase::addEngineRows(); }
    void savingTwiceKeepsOneRow();
    void sessionValuesNeverWritten_data() { TestDatabase::addEngineRows(); }
    void sessionValuesNeverWritten();
    void handWrittenRowIsRead_data() { TestDatabase::addEngineRows(); }
    void handWrittenRowIsRead();
    void loadByTypeReadsOnlyItsCategory_data() { TestDatabase::addEngineRows(); }
    void loadByTypeReadsOnlyItsCategory();
    void closedDatabaseKeepsDefaults_data() { TestDatabase::addEngineRows(); }
    void closedDatabaseKeepsDefaults();
    void failedWriteReportedAndRolledBack_data() { TestDatabase::addEngineRows(); }
    void failedWriteReportedAndRolledBack();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile(const QString &name) const { return m_dir->filePath(name + QStringLiteral(".ini")); }
};

void tst_ConfigDb::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_ConfigDb::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_ConfigDb::freshWorkstationHasDefaults()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
    ws.config.loadAll();
    QCOMPARE(ws.config.getValue(QStringLiteral("COBRO-RAPIDO")), QVariant(false));
    QVERIFY(!ws.config.loadValue(QStringLiteral("COBRO-RAPIDO"))); // no row: nothing read
    QVERIFY(ws.prompter.shown.isEmpty());
}

void tst_ConfigDb::valuesRoundTrip_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("texto con acentos y comillas"))
            << "CONCEPTO-FACTURA-POR-OMISION" << QVariant(QStringLiteral("Consulta d'o \"señora\""));
        TestDatabase::newRow(engine, QStringLiteral("texto vacio"))
            << "CLIENTE-POR-OMISION" << QVariant(QString());
        TestDatabase::newRow(engine, QStringLiteral("bandera encendida")) << "COBRO-RAPIDO" << QVariant(true);
        TestDatabase::newRow(engine, QStringLiteral("bandera apagada"))
            << "ACUMULAR-ARTICULOS-VENTA" << QVariant(false);
        TestDatabase::newRow(engine, QStringLiteral("entero")) << "TIMER_VENTAS_MSG" << QVariant(2500);
        TestDatabase::newRow(engine, QStringLiteral("entero negativo")) << "TIMER_ENVIO" << QVariant(-1);
        TestDatabase::newRow(engine, QStringLiteral("doble")) << "REDONDEO-VENTA-CANTIDAD" << QVariant(0.05);
        TestDatabase::newRow(engine, QStringLiteral("fecha y hora"))
            << "AGENDA-NORMAL-HORA-INI" << QVariant(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)));
        TestDatabase::newRow(engine, QStringLiteral("hora sola"))
            << "AGENDA-NORMAL-HORA-FIN" << QVariant(QDateTime(QDate(1899, 12, 30), QTime(17, 30)));
    }
}

void tst_ConfigDb::valuesRoundTrip()
{
    QFETCH(QString, engine);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    {
        Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
        QVERIFY(ws.config.setValue(key, value));
        QVERIFY(ws.config.saveValue(key));
        QVERIFY(ws.prompter.shown.isEmpty());
    }
    for (bool all : {true, false}) {
        Workstation again(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
        if (all)
            again.config.loadAll();
        else
            QVERIFY(again.config.loadValue(key));
        QCOMPARE(again.config.getValue(key), value);
    }
}

void tst_ConfigDb::rowHoldsOnlyItsTypeColumn()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
    QVERIFY(ws.config.setValue(QStringLiteral("COBRO-RAPIDO"), true));
    QVERIFY(ws.config.saveValue(QStringLiteral("COBRO-RAPIDO")));
    db::Recordset rs = db.connection().openRecordset(
        QStringLiteral("SELECT * FROM tConfiguracion WHERE config_computer = ? AND config_Clave = ?"),
        {QStringLiteral("CAJA1"), QStringLiteral("COBRO-RAPIDO")});
    QVERIFY(!rs.eof());
    QCOMPARE(rs.integer(QStringLiteral("tconfig_Clave")), qint64(cConfigure::Ventas));
    QCOMPARE(rs.integer(QStringLiteral("config_TipoDato")), qint64(cConfigValue::BOOLEAN));
    QCOMPARE(rs.text(QStringLiteral("config_Salvar")), QStringLiteral("S"));
    QCOMPARE(rs.text(QStringLiteral("config_ValorBool")), QStringLiteral("S"));
    for (const char *column :
         {"config_ValorStr", "config_ValorLng", "config_ValorDouble", "config_ValorDate"})
        QVERIFY2(rs.isNull(QString::fromLatin1(column)), column);
}

void tst_ConfigDb::twoWorkstationsKeepSeparateValues()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    std::unique_ptr<db::Connection> second = db.openAnother();
    {
        Workstation caja1(db.connection(), settingsFile(QStringLiteral("caja1")), QStringLiteral("CAJA1"));
        Workstation caja2(*second, settingsFile(QStringLiteral("caja2")), QStringLiteral("CAJA2"));
        QVERIFY(caja1.config.setValue(QStringLiteral("IMPRESORA-PUERTO"), QStringLiteral("/dev/usb/lp0")));
        QVERIFY(caja2.config.setValue(QStringLiteral("IMPRESORA-PUERTO"), QStringLiteral("COM2")));
        QVERIFY(caja1.config.saveAll());
        QVERIFY(caja2.config.saveValue(QStringLiteral("IMPRESORA-PUERTO")));
    }
    QCOMPARE(rowCount(db.connection(), QStringLiteral(" WHERE config_Clave = ?"),
                      {QStringLiteral("IMPRESORA-PUERTO")}),
             2);
    Workstation caja1(db.connection(), settingsFile(QStringLiteral("caja1")), QStringLiteral("CAJA1"));
    Workstation caja2(*second, settingsFile(QStringLiteral("caja2")), QStringLiteral("CAJA2"));
    Workstation caja3(db.connection(), settingsFile(QStringLiteral("caja3")), QStringLiteral("CAJA3"));
    for (Workstation *ws : {&caja1, &caja2, &caja3})
        ws->config.loadAll();
    QCOMPARE(caja1.config.getString(QStringLiteral("IMPRESORA-PUERTO")), QStringLiteral("/dev/usb/lp0"));
    QCOMPARE(caja2.config.getString(QStringLiteral("IMPRESORA-PUERTO")), QStringLiteral("COM2"));
    QCOMPARE(caja3.config.getString(QStringLiteral("IMPRESORA-PUERTO")), QStringLiteral("LPT1"));
}

void tst_ConfigDb::savingTwiceKeepsOneRow()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
    QVERIFY(ws.config.saveAll());
    QVERIFY(ws.config.setValue(QStringLiteral("TIMER_VENTAS_MSG"), 1));
    QVERIFY(ws.config.saveValue(QStringLiteral("TIMER_VENTAS_MSG")));
    QVERIFY(ws.config.saveAll());
    QCOMPARE(rowCount(db.connection(), QStringLiteral(" WHERE config_Clave = ?"),
                      {QStringLiteral("TIMER_VENTAS_MSG")}),
             1);
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("SELECT config_ValorLng FROM tConfiguracion WHERE config_Clave = ?"),
                         {QStringLiteral("TIMER_VENTAS_MSG")})
                 .toInt(),
             1);
    // Every written item of the table, one row each; the settings keys go to the file.
    int tableItems = 0;
    for (int i = 0; i < ws.config.getCount(); ++i)
        tableItems += ws.config.storageName(*ws.config.getItemByPos(i)) == QLatin1String("tConfiguracion");
    QCOMPARE(rowCount(db.connection()), tableItems);
}

void tst_ConfigDb::sessionValuesNeverWritten()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
    const QStringList session = {"ALMACEN", "PERFIL", "LAYOUT_PARAM_PATH", "LAYOUT_PARAM_FILE", "COMPUTER"};
    for (const QString &key : session)
        QVERIFY(ws.config.setValue(key, key == QLatin1String("COMPUTER") ? QStringLiteral("CAJA1")
                                                                         : QStringLiteral("X")));
    ws.config.loadAll(); // registers the derived printer strings too
    QVERIFY(ws.config.saveAll());
    for (const QString &key : session) {
        ws.config.saveValue(key);
        QCOMPARE(rowCount(db.connection(), QStringLiteral(" WHERE config_Clave = ?"), {key}), 0);
        for (const QString &section : ws.settings.sections())
            QVERIFY(!ws.settings.containsSetting(section, key));
    }
    QCOMPARE(rowCount(db.connection(), QStringLiteral(" WHERE config_Clave = ?"),
                      {QStringLiteral("IMPRIME-CODIGOS-CAJON-STRING")}),
             0);
    // And reading back does not bring a session value from anywhere.
    Workstation again(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
    again.config.loadAll();
    QCOMPARE(again.config.getString(QStringLiteral("ALMACEN")), QString());
}

void tst_ConfigDb::handWrittenRowIsRead()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db.connection().execute(
        QStringLiteral(
            "INSERT INTO tConfiguracion (config_computer, config_Clave, tconfig_Clave, config_TipoDato, "
            "config_Salvar, config_ValorBool, config_ValorLng) VALUES (?, ?, 10, 2, 'S', 's', 77)"),
        {QStringLiteral("CAJA1"), QStringLiteral("cobro-rapido")});
    db.connection().execute(QStringLiteral(
        "INSERT INTO tConfiguracion (config_computer, config_Clave, tconfig_Clave, config_TipoDato, "
        "config_Salvar, config_ValorDate) VALUES ('CAJA1', 'AGENDA-NORMAL-HORA-INI', 25, 5, 'S', "
        "'15/01/2026 07:45:00')"));
    db.connection().execute(QStringLiteral(
        "INSERT INTO tConfiguracion (config_computer, config_Clave, tconfig_Clave, config_TipoDato, "
        "config_Salvar, config_ValorStr) VALUES ('CAJA1', 'LLAVE-DESCONOCIDA', 10, 1, 'S', 'x')"));
    Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
    ws.config.loadAll();
    QCOMPARE(ws.config.getValue(QStringLiteral("COBRO-RAPIDO")), QVariant(true));
    QCOMPARE(ws.config.getDate(QStringLiteral("AGENDA-NORMAL-HORA-INI")),
             QDateTime(QDate(2026, 1, 15), QTime(7, 45)));
    QVERIFY(!ws.config.existsValue(QStringLiteral("LLAVE-DESCONOCIDA")));
    QVERIFY(ws.prompter.shown.isEmpty());
}

void tst_ConfigDb::loadByTypeReadsOnlyItsCategory()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    {
        Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
        ws.config.setValue(QStringLiteral("COBRO-RAPIDO"), true);
        ws.config.setValue(QStringLiteral("IMPRESORA-PUERTO"), QStringLiteral("COM1"));
        QVERIFY(ws.config.saveAll());
    }
    Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
    ws.config.loadByType(cConfigure::Ventas);
    QCOMPARE(ws.config.getValue(QStringLiteral("COBRO-RAPIDO")), QVariant(true));
    QCOMPARE(ws.config.getString(QStringLiteral("IMPRESORA-PUERTO")), QStringLiteral("LPT1"));
}

void tst_ConfigDb::closedDatabaseKeepsDefaults()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    {
        Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
        ws.config.setValue(QStringLiteral("COBRO-RAPIDO"), true);
        QVERIFY(ws.config.saveValue(QStringLiteral("COBRO-RAPIDO")));
    }
    std::unique_ptr<db::Connection> other = db.openAnother();
    other->close();
    Workstation ws(*other, settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
    QVERIFY(!ws.config.loadValue(QStringLiteral("COBRO-RAPIDO")));
    ws.config.loadAll();
    QCOMPARE(ws.config.getValue(QStringLiteral("COBRO-RAPIDO")), QVariant(false));
    QVERIFY(ws.prompter.shown.isEmpty());
}

void tst_ConfigDb::failedWriteReportedAndRolledBack()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Workstation ws(db.connection(), settingsFile(QStringLiteral("a")), QStringLiteral("CAJA1"));
    ws.config.setValue(QStringLiteral("TIMER_VENTAS_MSG"), 2000);
    QVERIFY(ws.config.saveValue(QStringLiteral("TIMER_VENTAS_MSG")));

    // The insert fails after the delete ran: the old row must still be there.
    db.connection().setStatementHook([](const QString &sql) {
        if (sql.startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive))
            throw db::DbError(99, QStringLiteral("disco lleno"), QStringLiteral("prueba"));
    });
    ws.config.setValue(QStringLiteral("TIMER_VENTAS_MSG"), 3000);
    QVERIFY(!ws.config.saveValue(QStringLiteral("TIMER_VENTAS_MSG")));
    QCOMPARE(ws.prompter.texts(), QStringList{QStringLiteral("No se pudo guardar la configuración")});
    QCOMPARE(ws.prompter.shown.first().details,
             QStringLiteral("cConfigure.saveValue:[99]-[disco lleno]-[prueba]:TIMER_VENTAS_MSG"));
    QCOMPARE(ws.prompter.shown.first().icon, Prompter::Icon::Critical);
    QCOMPARE(ws.config.getValue(QStringLiteral("TIMER_VENTAS_MSG")), QVariant(3000));

    ws.prompter.clear();
    QVERIFY(!ws.config.saveAll());
    QCOMPARE(ws.prompter.shown.size(), 1); // one report for the whole set
    db.connection().setStatementHook({});
    QCOMPARE(rowCount(db.connection()), 1);
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("SELECT config_ValorLng FROM tConfiguracion WHERE config_Clave = ?"),
                         {QStringLiteral("TIMER_VENTAS_MSG")})
                 .toInt(),
             2000);
}

QTEST_GUILESS_MAIN(tst_ConfigDb)
#include "tst_config_db.moc"
