// The per-user settings store: raw and encoded values, hand-written files, owner-only rights.
#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
mode_t modeOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 0777;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class tst_SettingsStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void rawValues();
    void deleteKeyAndSection();
    void encodedValueCarriesMarker();
    void readingEncoded_data();
    void readingEncoded();
    void valuesSurviveAnotherInstance();
    void newFileIsOwnerOnly();
    void widerFileIsNarrowedOnWrite();
    void defaultFileUnderUserConfig();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name = QStringLiteral("Mostrador.ini")) const
    {
        return m_dir->filePath(name);
    }
};

void tst_SettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_SettingsStore::rawValues()
{
    SettingsStore store(path());
    QCOMPARE(store.getSetting(QStringLiteral("Servers"), QStringLiteral("Mostrar"), QStringLiteral("S")),
             QStringLiteral("S"));
    store.saveSetting(QStringLiteral("Servers"), QStringLiteral("Count"), QStringLiteral("2"));
    store.saveSetting(QStringLiteral("Servers"), QStringLiteral("Server1"),
                      QStringLiteral("Matriz; sucursal, 1"));
    store.saveSetting(QStringLiteral("Servers"), QStringLiteral("Mostrar"), QStringLiteral("N"));
    QCOMPARE(store.getSetting(QStringLiteral("Servers"), QStringLiteral("Count")), QStringLiteral("2"));
    QCOMPARE(store.getSetting(QStringLiteral("Servers"), QStringLiteral("Server1")),
             QStringLiteral("Matriz; sucursal, 1"));
    QCOMPARE(store.getSetting(QStringLiteral("Servers"), QStringLiteral("Mostrar"), QStringLiteral("S")),
             QStringLiteral("N"));
    QVERIFY(store.containsSetting(QStringLiteral("Servers"), QStringLiteral("Count")));
    QVERIFY(!store.containsSetting(QStringLiteral("Analizer"), QStringLiteral("Count")));
    QStringList keys = store.sectionKeys(QStringLiteral("Servers"));
    keys.sort();
    QCOMPARE(keys, QStringList({"Count", "Mostrar", "Server1"}));
    QCOMPARE(store.sectionKeys(QStringLiteral("Nada")), QStringList());
}

void tst_SettingsStore::deleteKeyAndSection()
{
    SettingsStore store(path());
    store.saveSetting(QStringLiteral("frmVenta-grdDetalle"), QStringLiteral("load"), QStringLiteral("SI"));
    store.saveSetting(QStringLiteral("frmVenta-grdDetalle"), QStringLiteral("Columns"), QStringLiteral("3"));
    store.saveSetting(QStringLiteral("Servers"), QStringLiteral("Count"), QStringLiteral("1"));
    store.deleteSetting(QStringLiteral("frmVenta-grdDetalle"), QStringLiteral("load"));
    QCOMPARE(store.sectionKeys(QStringLiteral("frmVenta-grdDetalle")), QStringList({"Columns"}));
    store.deleteSetting(QStringLiteral("frmVenta-grdDetalle"));
    QCOMPARE(store.sections(), QStringList({"Servers"}));
    SettingsStore reread(path());
    QCOMPARE(reread.sections(), QStringList({"Servers"}));
}

void tst_SettingsStore::encodedValueCarriesMarker()
{
    SettingsStore store(path());
    store.saveEncodedSetting(QStringLiteral("Database"), QStringLiteral("CONEXION"),
                             QStringLiteral("sqlite:/tmp/a.db"));
    QCOMPARE(store.getSetting(QStringLiteral("Database"), QStringLiteral("CONEXION")),
             QStringLiteral("c3FsaXRlOi90bXAvYS5kYg=="));
    QCOMPARE(store.getSetting(QStringLiteral("Database"), QStringLiteral("CONEXION_Resource")),
             QStringLiteral("UmVzb3VyY2U="));
    QCOMPARE(store.getEncodedSetting(QStringLiteral("Database"), QStringLiteral("CONEXION")),
             QStringLiteral("sqlite:/tmp/a.db"));
    QCOMPARE(SettingsStore::decode(SettingsStore::encode(QStringLiteral("Contraseña ñ"))),
             QStringLiteral("Contraseña ñ"));
}

void tst_SettingsStore::readingEncoded_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("expected");
    QTest::newRow("con marca se decodifica")
        << QByteArray("[S]\nK=Q0FKQTI=\nK_Resource=UmVzb3VyY2U=\n") << "CAJA2";
    QTest::newRow("sin marca texto plano") << QByteArray("[S]\nK=CAJA 2\n") << "CAJA 2";
    QTest::newRow("sin marca aunque parezca Base64") << QByteArray("[S]\nK=Q0FKQTI=\n") << "Q0FKQTI=";
    QTest::newRow("comas a mano") << QByteArray("[S]\nK=27,105,\n") << "27,105,";
    QTest::newRow("entre comillas") << QByteArray("[S]\nK=\"a = b\"\n") << "a = b";
    QTest::newRow("ausente da el valor por omision") << QByteArray("[S]\nOTRA=1\n") << "omision";
    QTest::newRow("fin de linea CRLF") << QByteArray("[S]\r\nK=valor\r\n") << "valor";
}

void tst_SettingsStore::readingEncoded()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, expected);
    writeFile(path(), ini);
    SettingsStore store(path());
    QCOMPARE(store.getEncodedSetting(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("omision")),
             expected);
}

void tst_SettingsStore::valuesSurviveAnotherInstance()
{
    {
        SettingsStore store(path());
        store.saveEncodedSetting(QStringLiteral("Setup"), QStringLiteral("PROXY-PSW"),
                                 QStringLiteral("s3cr3t/+="));
    }
    SettingsStore other(path());
    QCOMPARE(other.getEncodedSetting(QStringLiteral("Setup"), QStringLiteral("PROXY-PSW")),
             QStringLiteral("s3cr3t/+="));
}

void tst_SettingsStore::newFileIsOwnerOnly()
{
    const QString file = m_dir->filePath(QStringLiteral("nueva/carpeta/Mostrador.ini"));
    SettingsStore store(file);
    QVERIFY(!QFile::exists(file)); // reading creates nothing
    store.saveEncodedSetting(QStringLiteral("Database"), QStringLiteral("CONEXION"),
                             QStringLiteral("postgresql://u:clave@h/db"));
    QVERIFY(QFile::exists(file));
    QCOMPARE(modeOf(file), mode_t(0600));
    QCOMPARE(modeOf(QFileInfo(file).absolutePath()), mode_t(0700));
    // Later writes go through a replacement file: the rights must survive them.
    store.saveSetting(QStringLiteral("Servers"), QStringLiteral("Count"), QStringLiteral("1"));
    QCOMPARE(modeOf(file), mode_t(0600));
}

void tst_SettingsStore::widerFileIsNarrowedOnWrite()
{
    writeFile(path(), "[Servers]\nCount=0\n");
    QVERIFY(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther));
    QCOMPARE(modeOf(path()), mode_t(0644));
    SettingsStore store(path());
    store.saveSetting(QStringLiteral("Servers"), QStringLiteral("Count"), QStringLiteral("1"));
    QCOMPARE(modeOf(path()), mode_t(0600));
    QCOMPARE(store.getSetting(QStringLiteral("Servers"), QStringLiteral("Count")), QStringLiteral("1"));
}

void tst_SettingsStore::defaultFileUnderUserConfig()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString expected = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                             QStringLiteral("/mostrador/Mostrador.ini");
    QCOMPARE(SettingsStore::defaultFilePath(), expected);
    SettingsStore store;
    QCOMPARE(store.filePath(), expected);
    QCOMPARE(SettingsStore::defaultFilePath(QStringLiteral("Otra")),
             QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/mostrador/Otra.ini"));
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
