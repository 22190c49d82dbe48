// frmConfig and frmConfigDet open offscreen and bind their widgets to the configuration rules.
#include "ConnectionProvider.h"
#include "DbError.h"
#include "Log.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "cConfigure.h"
#include "frmConfig.h"
#include "frmConfigDet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
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

class tst_ConfigWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void frmConfigShowsTheGrid();
    void frmConfigDetFitsTheDataType_data();
    void frmConfigDetFitsTheDataType();
    void frmConfigDetStores();
    void frmConfigDetRefusesEmptyNumber();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<cConfigure> m_config;
    NoDatabase m_db;
    ScriptedPrompter m_prompter;
};

void tst_ConfigWindows::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
    m_settings = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("Mostrador.ini")));
    m_prompter.clear();
    m_config = std::make_unique<cConfigure>(m_db, *m_settings, m_prompter);
}

void tst_ConfigWindows::cleanup()
{
    m_config.reset();
    m_settings.reset();
    Log::setDirectoryProvider({});
}

void tst_ConfigWindows::frmConfigShowsTheGrid()
{
    frmConfig window(*m_config, m_prompter);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const char *name :
         {"cmbTipoConfig", "chkOrdenar", "cmdModificar", "cmdSalvar", "cmdExportar", "cmdImportar"})
        QVERIFY2(window.findChild<QWidget *>(QString::fromLatin1(name)), name);
    auto *grid = window.findChild<QTableView *>(QStringLiteral("grdConfig"));
    auto *combo = window.findChild<QComboBox *>(QStringLiteral("cmbTipoConfig"));
    auto *count = window.findChild<QLabel *>(QStringLiteral("lblRegistros"));
    QVERIFY(grid && combo && count);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Computadora"));
    QCOMPARE(grid->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Valor"));
    QCOMPARE(combo->currentText(), QStringLiteral("Sesión"));
    QCOMPARE(count->text(), QStringLiteral("5 Registros"));

    combo->setCurrentIndex(combo->findText(QStringLiteral("Ventas")));
    QCOMPARE(window.categoria(), int(cConfigure::Ventas));
    QCOMPARE(count->text(), QStringLiteral("43 Registros"));
    QCOMPARE(window.claveActual(), QStringLiteral("ORDENA-ARTICULOS-VENTA"));
    QVERIFY(grid->horizontalHeader()->sectionSize(1) > 0);

    window.findChild<QCheckBox *>(QStringLiteral("chkOrdenar"))->setChecked(true);
    QCOMPARE(window.claveActual(), QStringLiteral("ACUMULA-SALDO-CORTE-DE-CAJA"));
    QCOMPARE(grid->model()->data(grid->model()->index(0, 5)).toString(), QStringLiteral("No"));

    // A value changed elsewhere shows at once.
    m_config->setValue(QStringLiteral("ACUMULA-SALDO-CORTE-DE-CAJA"), true);
    QCOMPARE(grid->model()->data(grid->model()->index(0, 5)).toString(), QStringLiteral("Sí"));
}

void tst_ConfigWindows::frmConfigDetFitsTheDataType_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("present");
    QTest::newRow("opciones") << "ASISTENCIA-IDENTIFICACION" << QStringList{"cmbValor"};
    QTest::newRow("si/no") << "COBRO-RAPIDO" << QStringList{"optSi", "optNo"};
    QTest::newRow("fecha") << "AGENDA-NORMAL-HORA-INI" << QStringList{"dtpValor"};
    QTest::newRow("numero") << "TIMER_VENTAS_MSG" << QStringList{"txtValor"};
    QTest::newRow("texto") << "IMPRESORA-PUERTO" << QStringList{"txtValor"};
}

void tst_ConfigWindows::frmConfigDetFitsTheDataType()
{
    QFETCH(QString, key);
    QFETCH(QStringList, present);
    frmConfigDet dialog(*m_config, m_prompter, key);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const char *name : {"cmbValor", "optSi", "optNo", "dtpValor", "txtValor"}) {
        const bool expected = present.contains(QString::fromLatin1(name));
        QCOMPARE(dialog.findChild<QWidget *>(QString::fromLatin1(name)) != nullptr, expected);
    }
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblClave"))->text(), key);
}

void tst_ConfigWindows::frmConfigDetStores()
{
    {
        frmConfigDet dialog(*m_config, m_prompter, QStringLiteral("TERMINAL"));
        dialog.show();
        auto *text = dialog.findChild<QLineEdit *>(QStringLiteral("txtValor"));
        QCOMPARE(text->text(), QStringLiteral("TERMINAL1"));
        text->setText(QStringLiteral("CAJA4"));
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdAceptar")), Qt::LeftButton);
        QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("Configuración actualizada")});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_settings->getEncodedSetting(QStringLiteral("Database"), QStringLiteral("TERMINAL")),
                 QStringLiteral("CAJA4"));
    }
    m_prompter.clear();
    m_config->setValue(QStringLiteral("ASISTENCIA-IDENTIFICACION"), QStringLiteral("HUELLA"));
    frmConfigDet dialog(*m_config, m_prompter, QStringLiteral("ASISTENCIA-IDENTIFICACION"));
    auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("cmbValor"));
    QCOMPARE(combo->currentText(), QStringLiteral("HUELLA"));
    QCOMPARE(combo->count(), 3);
}

void tst_ConfigWindows::frmConfigDetRefusesEmptyNumber()
{
    frmConfigDet dialog(*m_config, m_prompter, QStringLiteral("TIMER_VENTAS_MSG"));
    dialog.show();
    dialog.findChild<QLineEdit *>(QStringLiteral("txtValor"))->clear();
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdAceptar")), Qt::LeftButton);
    QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("Debe Ingresar un numero")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_config->getLong(QStringLiteral("TIMER_VENTAS_MSG")), 10000);
}

QTEST_MAIN(tst_ConfigWindows)
#include "tst_config_windows.moc"
