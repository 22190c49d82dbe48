// The rules behind frmConfig and frmConfigDet: the grid model and the value editor.
#include "ConfigEditor.h"
#include "ConfigGridModel.h"
#include "ConnectionProvider.h"
#include "DbError.h"
#include "Log.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "cConfigure.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
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
} // namespace

class tst_ConfigGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void headersAndRows();
    void categoryList();
    void countAndSorting();
    void followsTheStore();
    void valueTexts_data();
    void valueTexts();
    void editorControls_data();
    void editorControls();
    void editorRefusesEmptyEntries_data();
    void editorRefusesEmptyEntries();
    void editorStoresAndConfirms();
    void editorDatabaseFailureNoConfirmation();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<cConfigure> m_config;
    NoDatabase m_db;
    ScriptedPrompter m_prompter;
};

void tst_ConfigGrid::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
    m_settings = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("Mostrador.ini")));
    m_prompter.clear();
    m_config = std::make_unique<cConfigure>(m_db, *m_settings, m_prompter);
    m_config->setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA1"));
}

void tst_ConfigGrid::cleanup()
{
    m_config.reset();
    m_settings.reset();
    Log::setDirectoryProvider({});
}

void tst_ConfigGrid::headersAndRows()
{
    ConfigGridModel model(*m_config);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QStringList headers = {"Computadora", "Clave", "Tipo", "Dato", "Salvar", "Valor"};
    QCOMPARE(model.columnCount(), headers.size());
    for (int c = 0; c < headers.size(); ++c)
        QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), headers.at(c));
    QCOMPARE(model.rowCount(), 0); // no category chosen yet

    model.setCategoria(cConfigure::Almacen);
    QCOMPARE(model.rowCount(), 1);
    const QStringList row = {"CAJA1", "KARDEX-ARTICULOS", "Almacén", "Sí/No", "Sí", "Sí"};
    for (int c = 0; c < row.size(); ++c)
        QCOMPARE(model.data(model.index(0, c)).toString(), row.at(c));

    model.setCategoria(cConfigure::GLOBAL);
    const int r = model.rowOf(QStringLiteral("ALMACEN"));
    QCOMPARE(model.data(model.index(r, ConfigGridModel::Salvar)).toString(), QStringLiteral("No"));
    model.setCategoria(22);
    QCOMPARE(model.data(model.index(0, ConfigGridModel::Tipo)).toString(), QStringLiteral("Apariencia"));
    QCOMPARE(model.data(model.index(0, ConfigGridModel::Dato)).toString(), QStringLiteral("Entero"));
}

void tst_ConfigGrid::categoryList()
{
    ConfigGridModel model(*m_config);
    const auto list = model.categorias();
    QList<int> numbers;
    QStringList texts;
    for (const auto &[n, text] : list) {
        numbers << n;
        texts << text;
    }
    // Crystal (6) and TiempoAire (21) hold no key.
    QCOMPARE(numbers, QList<int>({1,  2,  3,  4,  5,  7,  8,  9,  10, 11, 12, 13,
                                  14, 15, 16, 17, 18, 19, 20, 22, 23, 24, 25, 26}));
    // Spanish captions, never the stored English names nor bare numbers.
    QCOMPARE(texts, (QStringList{"Sesión",
                                 "Usuarios",
                                 "Ajustes generales",
                                 "Operación",
                                 "Impresión",
                                 "Actualizaciones",
                                 "Base de datos",
                                 "Instalación",
                                 "Ventas",
                                 "Recepción",
                                 "Resurtido",
                                 "Envío",
                                 "Facturación",
                                 "Pedidos",
                                 "Catálogo",
                                 "Almacén",
                                 "Códigos (scripts)",
                                 "Reportes",
                                 "Consulta",
                                 "Apariencia",
                                 "Pagos",
                                 "Asistencia",
                                 "Agenda",
                                 "Consultorio"}));
}

void tst_ConfigGrid::countAndSorting()
{
    ConfigGridModel model(*m_config);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setCategoria(cConfigure::Ventas);
    QCOMPARE(model.registros(), QStringLiteral("43 Registros"));
    QCOMPARE(model.itemAt(0)->key(), QStringLiteral("ORDENA-ARTICULOS-VENTA"));
    model.setOrdenar(true);
    QCOMPARE(model.rowCount(), 43);
    QCOMPARE(model.itemAt(0)->key(), QStringLiteral("ACUMULA-SALDO-CORTE-DE-CAJA"));
    QCOMPARE(model.itemAt(42)->key(), QStringLiteral("VENTA-SOLICITA-DIRECCION-DOMICILIO"));
    for (int r = 1; r < model.rowCount(); ++r)
        QVERIFY(model.itemAt(r - 1)->key() < model.itemAt(r)->key());
    model.setCategoria(cConfigure::Consulta);
    QCOMPARE(model.registros(), QStringLiteral("30 Registros"));
    QVERIFY(!model.itemAt(30));
    QVERIFY(!model.itemAt(-1));
}

void tst_ConfigGrid::followsTheStore()
{
    ConfigGridModel model(*m_config);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setCategoria(cConfigure::Impresion);
    const int before = model.rowCount();
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    m_config->setValue(QStringLiteral("IMPRESORA-PUERTO"), QStringLiteral("COM3"));
    QCOMPARE(changed.count(), 1);
    const int r = model.rowOf(QStringLiteral("IMPRESORA-PUERTO"));
    QCOMPARE(changed.first().at(0).toModelIndex(), model.index(r, ConfigGridModel::Valor));
    QCOMPARE(model.data(model.index(r, ConfigGridModel::Valor)).toString(), QStringLiteral("COM3"));

    m_config->traducir(); // registers the two derived printer strings in Impresion
    QCOMPARE(model.rowCount(), before + 2);
    QCOMPARE(model.registros(), QString::number(before + 2) + QStringLiteral(" Registros"));

    changed.clear();
    m_config->setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA9"));
    QCOMPARE(model.data(model.index(0, ConfigGridModel::Computadora)).toString(), QStringLiteral("CAJA9"));
    QCOMPARE(changed.count(), 1);
}

void tst_ConfigGrid::valueTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("bandera si") << "COBRO-RAPIDO" << QVariant(true) << "Sí";
    QTest::newRow("bandera no") << "EAN15" << QVariant(false) << "No";
    QTest::newRow("entero") << "TIMER_VENTAS_MSG" << QVariant(10000) << "10000";
    QTest::newRow("doble") << "REDONDEO-VENTA-CANTIDAD" << QVariant(0.5) << "0.5";
    QTest::newRow("hora sola") << "AGENDA-NORMAL-HORA-FIN"
                               << QVariant(QDateTime(QDate(1899, 12, 30), QTime(18, 0))) << "18:00";
    QTest::newRow("fecha con formato de cliente")
        << "AGENDA-NORMAL-HORA-INI" << QVariant(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)))
        << "04/03/2026 05:06:07";
    QTest::newRow("texto") << "CODIGO-LIBRERIA" << QVariant(QStringLiteral("LIBRERIA")) << "LIBRERIA";
}

void tst_ConfigGrid::valueTexts()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    QVERIFY(m_config->setValue(key, value));
    ConfigGridModel model(*m_config);
    model.setCategoria(m_config->getItemByKey(key)->category());
    const int r = model.rowOf(key);
    QVERIFY(r >= 0);
    QCOMPARE(model.data(model.index(r, ConfigGridModel::Valor)).toString(), shown);
}

void tst_ConfigGrid::editorControls_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("control");
    QTest::addColumn<QStringList>("choices");
    QTest::newRow("lista de opciones") << "ASISTENCIA-IDENTIFICACION" << int(ConfigEditor::Lista)
                                       << QStringList({"CREDENCIAL", "HUELLA", "NOMBRE"});
    QTest::newRow("si o no") << "COBRO-RAPIDO" << int(ConfigEditor::SiNo) << QStringList();
    QTest::newRow("fecha") << "AGENDA-NORMAL-HORA-INI" << int(ConfigEditor::Fecha) << QStringList();
    QTest::newRow("entero") << "TIMER_VENTAS_MSG" << int(ConfigEditor::Numero) << QStringList();
    QTest::newRow("doble") << "TICKET-MINIMO-IMPORTE" << int(ConfigEditor::Numero) << QStringList();
    QTest::newRow("texto libre") << "IMPRESORA-PUERTO" << int(ConfigEditor::Texto) << QStringList();
}

void tst_ConfigGrid::editorControls()
{
    QFETCH(QString, key);
    QFETCH(int, control);
    QFETCH(QStringList, choices);
    ConfigEditor editor(*m_config, m_prompter);
    QVERIFY(editor.setClave(key));
    QCOMPARE(int(editor.control()), control);
    QCOMPARE(editor.opciones(), choices);
    QVERIFY(!editor.setClave(QStringLiteral("NO-EXISTE")));
    QVERIFY(!editor.aceptar(QStringLiteral("x")));
    QVERIFY(m_prompter.shown.isEmpty());
}

void tst_ConfigGrid::editorRefusesEmptyEntries_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("entrada");
    QTest::addColumn<QString>("message");
    QTest::newRow("lista sin eleccion")
        << "COMISION-TARJETA-COBRO" << QVariant(QString()) << "Debe Elegir un valor";
    QTest::newRow("lista con valor ajeno")
        << "COMISION-TARJETA-COBRO" << QVariant("OTRO") << "Debe Elegir un valor";
    QTest::newRow("si/no sin opcion") << "COBRO-RAPIDO" << QVariant() << "Debe Elegir un valor";
    QTest::newRow("fecha vacia") << "AGENDA-NORMAL-HORA-INI" << QVariant(QString())
                                 << "Debe Ingresar una fecha";
    QTest::newRow("fecha nula") << "AGENDA-NORMAL-HORA-INI" << QVariant(QDateTime())
                                << "Debe Ingresar una fecha";
    QTest::newRow("fecha imposible") << "AGENDA-NORMAL-HORA-INI" << QVariant("30/02/2026")
                                     << "Debe Ingresar una fecha";
    QTest::newRow("numero vacio") << "TIMER_VENTAS_MSG" << QVariant(QString()) << "Debe Ingresar un numero";
    QTest::newRow("numero en blanco") << "TIMER_VENTAS_MSG" << QVariant("   ") << "Debe Ingresar un numero";
    QTest::newRow("letras en numero")
        << "TICKET-MINIMO-IMPORTE" << QVariant("diez") << "Debe Ingresar un numero";
    QTest::newRow("decimales en entero")
        << "TIMER_VENTAS_MSG" << QVariant("10.5") << "Debe Ingresar un numero";
}

void tst_ConfigGrid::editorRefusesEmptyEntries()
{
    QFETCH(QString, key);
    QFETCH(QVariant, entrada);
    QFETCH(QString, message);
    ConfigEditor editor(*m_config, m_prompter);
    QVERIFY(editor.setClave(key));
    const QVariant before = m_config->getValue(key);
    QVERIFY(!editor.aceptar(entrada));
    QCOMPARE(m_prompter.texts(), QStringList{message});
    QCOMPARE(m_prompter.shown.first().icon, Prompter::Icon::Information);
    QCOMPARE(m_config->getValue(key), before);
}

void tst_ConfigGrid::editorStoresAndConfirms()
{
    ConfigEditor editor(*m_config, m_prompter);
    QVERIFY(editor.setClave(QStringLiteral("CONEXION")));
    QCOMPARE(editor.control(), ConfigEditor::Texto);
    QVERIFY(editor.aceptar(QStringLiteral("sqlite:/srv/tienda.db")));
    QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("Configuración actualizada")});
    QCOMPARE(m_settings->getEncodedSetting(QStringLiteral("Database"), QStringLiteral("CONEXION")),
             QStringLiteral("sqlite:/srv/tienda.db"));

    // A session value changes in memory, is confirmed and written nowhere.
    m_prompter.clear();
    QVERIFY(editor.setClave(QStringLiteral("ALMACEN")));
    QVERIFY(editor.aceptar(QStringLiteral("CENTRO")));
    QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("Configuración actualizada")});
    QCOMPARE(m_config->getString(QStringLiteral("ALMACEN")), QStringLiteral("CENTRO"));
    QCOMPARE(m_settings->sections(), QStringList({"Database"}));

    // An empty text is a value too.
    m_prompter.clear();
    QVERIFY(editor.setClave(QStringLiteral("PROXY")));
    QVERIFY(editor.aceptar(QString()));
    QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("Configuración actualizada")});
}

void tst_ConfigGrid::editorDatabaseFailureNoConfirmation()
{
    ConfigEditor editor(*m_config, m_prompter);
    QVERIFY(editor.setClave(QStringLiteral("COBRO-RAPIDO")));
    QVERIFY(!editor.aceptar(true));
    QCOMPARE(m_prompter.shown.size(), 1);
    QCOMPARE(m_prompter.shown.first().icon, Prompter::Icon::Critical);
    QCOMPARE(m_config->getValue(QStringLiteral("COBRO-RAPIDO")), QVariant(true)); // kept in memory
}

QTEST_GUILESS_MAIN(tst_ConfigGrid)
#include "tst_config_grid.moc"
