// The login: validateLogin in its three modes, the checks of the login window, the connection
// command's password, the fingerprint reader's prompt and the warehouse window, on both engines.
#include "ConnectionProvider.h"
#include "FingerprintSimulated.h"
#include "Log.h"
#include "LoginController.h"
#include "LoginPassword.h"
#include "LoginValidator.h"
#include "LoginWarehouse.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "TestDatabase.h"
#include "cAplication.h"
#include "cConfigure.h"
#include "frmLogin.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Icon = Prompter::Icon;
using Mode = LoginController::Mode;
using Field = LoginController::Field;

namespace {

// One workstation on a test database.
struct Station {
    Station(db::Connection &conn, const QString &settingsFile)
        : provider(&conn), settings(settingsFile), config(provider, settings, prompter),
          app(provider, prompter)
    {
        config.setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA1"));
    }
    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
    cAplication app;
};

void addUser(db::Connection &c, const QString &key, const QString &storedPsw, const QString &perfil,
             const QString &estado = QStringLiteral("ACTIVO"), const QVariant &credencial = {},
             const QVariant &huella = {})
{
    c.execute(QStringLiteral(
                  "insert into tUsuario (usu_Clave, usu_Nombre, usu_Psw, alm_Clave, perf_Clave, eusu_Clave, "
                  "usu_Credencial, hdigital_Clave) values (?, ?, ?, 'MATRIZ', ?, ?, ?, ?)"),
              {key, QStringLiteral("Nombre de ") + key, storedPsw, perfil, estado, credencial, huella});
}

QString storedPassword(db::Connection &c, const QString &user)
{
    return c.scalar(QStringLiteral("select usu_Psw from tUsuario where usu_Clave = ?"), {user}).toString();
}

// Hashing is slow on purpose: each password is hashed once per run.
QString hashOf(const QString &plain)
{
    static QHash<QString, QString> cache;
    auto it = cache.find(plain);
    if (it == cache.end())
        it = cache.insert(plain, LoginPassword::hash(plain));
    return *it;
}

// The users every login test sees.
void addUsers(db::Connection &c)
{
    c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('MATRIZ', 'Matriz')"));
    c.execute(
        QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('NORTE', 'Sucursal Norte')"));
    c.execute(QStringLiteral("insert into tTerminal (term_Clave, term_Nombre) values ('CAJA1', 'Caja 1')"));
    c.execute(QStringLiteral("insert into tTerminal (term_Clave, term_Nombre) values ('CAJA2', 'Caja 2')"));
    addUser(c, QStringLiteral("ANA"), hashOf(QStringLiteral("secreto")), QStringLiteral("CAJERO"),
            QStringLiteral("ACTIVO"), QStringLiteral("111"), 7);
    addUser(c, QStringLiteral("BETO"), hashOf(QStringLiteral("clave")), QStringLiteral("GERENTE"),
            QStringLiteral("BAJA"), QStringLiteral("222"), 8);
    addUser(c, QStringLiteral("SINPSW"), QString(), QStringLiteral("CAJERO"));
    addUser(c, QStringLiteral("VIEJO"), QStringLiteral("antigua"), QStringLiteral("CAJERO"));
}

} // namespace

class tst_Login : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void validateLogin_data();
    void validateLogin();
    void refusalWithoutMessages_data() { TestDatabase::addEngineRows(); }
    void refusalWithoutMessages();
    void plainTextPasswordRehashedAtLogin_data() { TestDatabase::addEngineRows(); }
    void plainTextPasswordRehashedAtLogin();
    void validateUserOn_data();
    void validateUserOn();

    void cmdOKChecks_data();
    void cmdOKChecks();
    void outdatedDatabaseRefused_data() { TestDatabase::addEngineRows(); }
    void outdatedDatabaseRefused();
    void acceptedLoginStoresTerminal_data() { TestDatabase::addEngineRows(); }
    void acceptedLoginStoresTerminal();
    void cmdModoSesion_data() { TestDatabase::addEngineRows(); }
    void cmdModoSesion();
    void cmdConexion_data();
    void cmdConexion();
    void failedLoginDelay_data() { TestDatabase::addEngineRows(); }
    void failedLoginDelay();
    void fingerprintLogin_data() { TestDatabase::addEngineRows(); }
    void fingerprintLogin();

    void databaseName_data();
    void databaseName();
    void warehouseWindow_data() { TestDatabase::addEngineRows(); }
    void warehouseWindow();
    void enterRefusesOnce_data();
    void enterRefusesOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_Login::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_Login::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_Login::validateLogin_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("credential");
    QTest::addColumn<qint64>("finger");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QString>("usuario"); // USUARIO afterwards
    const QString bad = QStringLiteral("Usuario o contraseña incorrecta");
    const QString inactive = QStringLiteral("EL Usuario no esta activo");
    const QString prev = QStringLiteral("ANTERIOR"); // the previous session stays on a refusal
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "usuario y contraseña correctos") << "USUARIO"
                                                                  << "ANA"
                                                                  << "secreto"
                                                                  << "" << qint64(0) << ""
                                                                  << "ANA";
        TestDatabase::newRow(e, "contraseña distinta") << "USUARIO"
                                                       << "ANA"
                                                       << "Secreto"
                                                       << "" << qint64(0) << bad << prev;
        TestDatabase::newRow(e, "usuario inexistente") << "USUARIO"
                                                       << "NADIE"
                                                       << "secreto"
                                                       << "" << qint64(0) << bad << prev;
        TestDatabase::newRow(e, "vacia guardada admite vacia") << "USUARIO"
                                                               << "SINPSW"
                                                               << ""
                                                               << "" << qint64(0) << ""
                                                               << "SINPSW";
        TestDatabase::newRow(e, "vacia tecleada no abre una con contraseña")
            << "USUARIO"
            << "ANA"
            << ""
            << "" << qint64(0) << bad << prev;
        TestDatabase::newRow(e, "inactivo con contraseña correcta") << "USUARIO"
                                                                    << "BETO"
                                                                    << "clave"
                                                                    << "" << qint64(0) << inactive << prev;
        TestDatabase::newRow(e, "texto plano antiguo") << "USUARIO"
                                                       << "VIEJO"
                                                       << "antigua"
                                                       << "" << qint64(0) << ""
                                                       << "VIEJO";
        TestDatabase::newRow(e, "credencial registrada") << "CREDENCIAL"
                                                         << ""
                                                         << ""
                                                         << "111" << qint64(0) << ""
                                                         << "ANA";
        TestDatabase::newRow(e, "credencial desconocida")
            << "CREDENCIAL"
            << "ANA"
            << "secreto"
            << "999" << qint64(0) << "Credencial Invalida" << prev;
        TestDatabase::newRow(e, "credencial de usuario inactivo") << "CREDENCIAL"
                                                                  << ""
                                                                  << ""
                                                                  << "222" << qint64(0) << inactive << prev;
        TestDatabase::newRow(e, "huella registrada") << "HUELLA"
                                                     << ""
                                                     << ""
                                                     << "" << qint64(7) << ""
                                                     << "ANA";
        TestDatabase::newRow(e, "huella desconocida") << "HUELLA"
                                                      << "ANA"
                                                      << "secreto"
                                                      << "" << qint64(99) << "Huella Invalida" << prev;
        TestDatabase::newRow(e, "huella de usuario inactivo") << "HUELLA"
                                                              << ""
                                                              << ""
                                                              << "" << qint64(8) << inactive << prev;
    }
}

void tst_Login::validateLogin()
{
    QFETCH(QString, engine);
    QFETCH(QString, mode);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, credential);
    QFETCH(qint64, finger);
    QFETCH(QString, message);
    QFETCH(QString, usuario);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    s.config.setValue(QStringLiteral("SESION-MODO"), mode);
    s.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ANTERIOR"));
    s.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("PERFIL-ANTERIOR"));

    LoginValidator v(s.provider, s.config, s.prompter);
    const bool ok = v.validateLogin(user, password, credential, finger, true);

    QCOMPARE(ok, message.isEmpty());
    QCOMPARE(s.prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(s.prompter.shown.first().icon, Icon::Exclamation);
    QCOMPARE(s.config.getString(QStringLiteral("USUARIO")), usuario);
    QCOMPARE(s.config.getString(QStringLiteral("PERFIL")),
             ok ? QStringLiteral("CAJERO") : QStringLiteral("PERFIL-ANTERIOR"));
    if (ok) {
        // USUARIO is written to its store: the next start offers the last user.
        Station next(db.connection(), settingsFile());
        next.config.loadAll();
        QCOMPARE(next.config.getString(QStringLiteral("USUARIO")), usuario);
    }
}

void tst_Login::refusalWithoutMessages()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    LoginValidator v(s.provider, s.config, s.prompter);
    QVERIFY(!v.validateLogin(QStringLiteral("ANA"), QStringLiteral("otra"), {}, 0, false));
    QVERIFY(!v.validateLogin(QStringLiteral("BETO"), QStringLiteral("clave"), {}, 0, false));
    QVERIFY(s.prompter.shown.isEmpty());
}

void tst_Login::plainTextPasswordRehashedAtLogin()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    LoginValidator v(s.provider, s.config, s.prompter);

    // A wrong password leaves the old text alone.
    QVERIFY(!v.validateLogin(QStringLiteral("VIEJO"), QStringLiteral("ANTIGUA"), {}, 0, false));
    QCOMPARE(storedPassword(db.connection(), QStringLiteral("VIEJO")), QStringLiteral("antigua"));

    QVERIFY(v.validateLogin(QStringLiteral("VIEJO"), QStringLiteral("antigua"), {}, 0, true));
    const QString after = storedPassword(db.connection(), QStringLiteral("VIEJO"));
    QVERIFY2(LoginPassword::isHashed(after), qPrintable(after));
    QVERIFY(!after.contains(QLatin1String("antigua")));

    // The hash admits the same password and nothing else; it is not hashed again.
    QVERIFY(v.validateLogin(QStringLiteral("VIEJO"), QStringLiteral("antigua"), {}, 0, true));
    QCOMPARE(storedPassword(db.connection(), QStringLiteral("VIEJO")), after);
    QVERIFY(!v.validateLogin(QStringLiteral("VIEJO"), after, {}, 0, false));

    // An empty password means "no password" and stays empty.
    QVERIFY(v.validateLogin(QStringLiteral("SINPSW"), QString(), {}, 0, true));
    QCOMPARE(storedPassword(db.connection(), QStringLiteral("SINPSW")), QString());
    QVERIFY(s.prompter.shown.isEmpty());
}

void tst_Login::validateUserOn_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("perfil");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "correcto") << "ANA"
                                            << "secreto"
                                            << "CAJERO";
        TestDatabase::newRow(e, "texto plano de la sucursal") << "VIEJO"
                                                              << "antigua"
                                                              << "CAJERO";
        TestDatabase::newRow(e, "contraseña distinta") << "ANA"
                                                       << "otra"
                                                       << "";
        TestDatabase::newRow(e, "usuario inexistente") << "NADIE"
                                                       << "secreto"
                                                       << "";
    }
}

void tst_Login::validateUserOn()
{
    QFETCH(QString, engine);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, perfil);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    ScriptedPrompter prompter;
    QCOMPARE(LoginValidator::validateUserOn(db.connection(), user, password, &prompter), perfil);
    QCOMPARE(prompter.texts(), perfil.isEmpty()
                                   ? QStringList{QStringLiteral("Usuario o contraseña incorrecta")}
                                   : QStringList());
}

void tst_Login::cmdOKChecks_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("sinPsw");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("credential");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("focus"); // -1: none
    const int info = int(Icon::Information);
    const int excl = int(Icon::Exclamation);
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "sin usuario") << "USUARIO" << false << " "
                                               << "x"
                                               << ""
                                               << "Indique el usuario" << info << int(Field::User);
        TestDatabase::newRow(e, "sin contraseña") << "USUARIO" << false << "ANA"
                                                  << ""
                                                  << ""
                                                  << "Indique la contraseña" << info << int(Field::Password);
        TestDatabase::newRow(e, "SESION-SIN-PSW pasa la vacia a la consulta")
            << "USUARIO" << true << "ANA"
            << ""
            << ""
            << "Usuario o contraseña incorrecta" << excl << int(Field::User);
        TestDatabase::newRow(e, "SESION-SIN-PSW y sin contraseña guardada") << "USUARIO" << true << "SINPSW"
                                                                            << ""
                                                                            << ""
                                                                            << "" << 0 << -1;
        TestDatabase::newRow(e, "contraseña incorrecta regresa al usuario")
            << "USUARIO" << false << "ANA"
            << "mala"
            << ""
            << "Usuario o contraseña incorrecta" << excl << int(Field::User);
        TestDatabase::newRow(e, "sin credencial")
            << "CREDENCIAL" << false << "ANA"
            << "secreto"
            << " "
            << "Indique la credencial" << info << int(Field::Credential);
        TestDatabase::newRow(e, "credencial invalida regresa a la credencial")
            << "CREDENCIAL" << false << ""
            << ""
            << "123"
            << "Credencial Invalida" << excl << int(Field::Credential);
        TestDatabase::newRow(e, "credencial correcta") << "CREDENCIAL" << false << ""
                                                       << ""
                                                       << "111"
                                                       << "" << 0 << -1;
        TestDatabase::newRow(e, "huella sin capturar")
            << "HUELLA" << false << "ANA"
            << "secreto"
            << "111"
            << "Toque el lector de huella digital" << info << int(Field::Finger);
    }
}

void tst_Login::cmdOKChecks()
{
    QFETCH(QString, engine);
    QFETCH(QString, mode);
    QFETCH(bool, sinPsw);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, credential);
    QFETCH(QString, message);
    QFETCH(int, icon);
    QFETCH(int, focus);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    s.config.setValue(QStringLiteral("SESION-MODO"), mode);
    s.config.setValue(QStringLiteral("SESION-SIN-PSW"), sinPsw);
    LoginController login(s.provider, s.config, s.app, s.prompter, {});
    login.load();
    QCOMPARE(login.mode(), LoginController::modeFrom(mode));
    QSignalSpy focusSpy(&login, &LoginController::focusRequested);

    const bool ok = login.cmdOK(user, password, credential, -1);

    QCOMPARE(ok, message.isEmpty());
    QCOMPARE(login.loginOk(), ok);
    QCOMPARE(s.prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(int(s.prompter.shown.first().icon), icon);
    QCOMPARE(focusSpy.size(), focus < 0 ? 0 : 1);
    if (focus >= 0)
        QCOMPARE(int(focusSpy.first().first().value<Field>()), focus);
}

void tst_Login::outdatedDatabaseRefused()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    LoginController::Hooks hooks;
    hooks.databaseCurrent = [] { return false; };
    hooks.selectedConnection = [] { return QStringLiteral("Demo"); };
    LoginController login(s.provider, s.config, s.app, s.prompter, hooks);
    login.load();
    QVERIFY(!login.cmdOK(QStringLiteral("ANA"), QStringLiteral("secreto"), {}, 0));
    QVERIFY(!login.loginOk());
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("La base de datos no esta actualizada para usar esta "
                                        "version del sistema [DB-2009May11]\nConexion: <Demo>")});
    QCOMPARE(s.prompter.shown.first().icon, Icon::Critical);
}

void tst_Login::acceptedLoginStoresTerminal()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    s.config.setValue(QStringLiteral("TERMINAL"), QStringLiteral("CAJA2"));
    s.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ANA"));
    s.config.setValue(QStringLiteral("SESION-SIN-PSW"), false);
    LoginController login(s.provider, s.config, s.app, s.prompter, {});
    login.load();
    QCOMPARE(login.terminals().size(), 2);
    QCOMPARE(login.terminals().at(login.terminalIndex()).key, QStringLiteral("CAJA2"));
    QCOMPARE(login.lastUser(), QStringLiteral("ANA"));

    QVERIFY(login.cmdOK(QStringLiteral("ANA"), QStringLiteral("secreto"), {}, 0));
    QCOMPARE(s.config.getString(QStringLiteral("TERMINAL")), QStringLiteral("CAJA1"));
    Station next(db.connection(), settingsFile());
    QCOMPARE(next.config.getString(QStringLiteral("TERMINAL")), QStringLiteral("CAJA1"));

    // Cancelling a later login leaves nobody logged in through this window.
    login.load();
    QVERIFY(!login.loginOk());
    login.cmdCancel();
    QVERIFY(!login.loginOk());
}

void tst_Login::cmdModoSesion()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Station s(db.connection(), settingsFile());
    LoginController login(s.provider, s.config, s.app, s.prompter, {});
    login.load();
    QSignalSpy modes(&login, &LoginController::modeChanged);

    QVERIFY(!login.cmdModoSesion()); // cancelled
    QCOMPARE(login.mode(), Mode::Usuario);
    s.prompter.choices.enqueue(2);
    QVERIFY(login.cmdModoSesion());
    QCOMPARE(login.mode(), Mode::Huella);
    QCOMPARE(modes.size(), 1);
    QCOMPARE(s.prompter.shown.last().title, QStringLiteral("Indique el Modo de Validacion de su Usuario"));

    // Written at once: another start of the program opens in the chosen mode.
    Station next(db.connection(), settingsFile());
    next.config.loadAll();
    QCOMPARE(next.config.getString(QStringLiteral("SESION-MODO")), QStringLiteral("HUELLA"));
}

void tst_Login::cmdConexion_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("stored");    // CONEXION-PSW in the settings store
    QTest::addColumn<QStringList>("typed"); // frmPsw's answer; empty list: cancelled
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("message");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "sin contraseña de conexion") << "" << QStringList() << true << "";
        TestDatabase::newRow(e, "contraseña correcta") << "s3cr3t" << QStringList{"s3cr3t"} << true << "";
        TestDatabase::newRow(e, "contraseña distinta")
            << "s3cr3t" << QStringList{"S3CR3T"} << false << "Contraseña Invalida";
        TestDatabase::newRow(e, "cancelada") << "s3cr3t" << QStringList() << false << "";
        TestDatabase::newRow(e, "guardada como hash") << LoginPassword::hash("s3cr3t") << QStringList{"s3cr3t"} << true << "";
        TestDatabase::newRow(e, "hash y contraseña distinta")
            << LoginPassword::hash("s3cr3t") << QStringList{"otra"} << false << "Contraseña Invalida";
    }
}

void tst_Login::cmdConexion()
{
    QFETCH(QString, engine);
    QFETCH(QString, stored);
    QFETCH(QStringList, typed);
    QFETCH(bool, opened);
    QFETCH(QString, message);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Station s(db.connection(), settingsFile());
    int asked = 0;
    int dialogs = 0;
    LoginController::Hooks hooks;
    hooks.askPassword = [&]() -> std::optional<QString> {
        ++asked;
        return typed.isEmpty() ? std::nullopt : std::optional<QString>(typed.first());
    };
    hooks.connectionDialog = [&] {
        ++dialogs;
        return true;
    };
    LoginController login(s.provider, s.config, s.app, s.prompter, hooks);
    login.load();
    // Set after start-up, from another program on this workstation: the command reads it again.
    {
        Station admin(db.connection(), settingsFile());
        admin.config.setValue(QStringLiteral("CONEXION-PSW"), stored);
        QVERIFY(admin.config.saveValue(QStringLiteral("CONEXION-PSW")));
    }
    QCOMPARE(login.cmdConexion(), opened);
    QCOMPARE(dialogs, opened ? 1 : 0);
    QCOMPARE(asked, stored.isEmpty() ? 0 : 1);
    QCOMPARE(s.prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(s.prompter.shown.first().icon, Icon::Exclamation);
    // What is kept afterwards is never the plain text: an older plain value is hashed at its first use.
    Station after(db.connection(), settingsFile());
    after.config.loadValue(QStringLiteral("CONEXION-PSW"));
    const QString kept = after.config.getString(QStringLiteral("CONEXION-PSW"));
    if (opened && !stored.isEmpty()) {
        QVERIFY2(LoginPassword::isHashed(kept), qPrintable(kept));
        QVERIFY(LoginPassword::verify(kept, typed.first()));
    } else {
        QCOMPARE(kept, stored);
    }
}

// A wrong password waits longer each time for that user at that workstation; an accepted login
// starts again. The refusal of a user that does not exist costs the same Argon2 work.
void tst_Login::failedLoginDelay()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    LoginValidator v(s.provider, s.config, s.prompter);
    QVERIFY(v.validateLogin("ANA", "secreto", {}, 0, false)); // from zero
    QCOMPARE(LoginValidator::failuresOf("ANA", "CAJA1"), 0);

    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(!v.validateLogin("ANA", "mal", {}, 0, false));
        QCOMPARE(LoginValidator::failuresOf("ANA", "CAJA1"), i);
    }
    QVERIFY(clock.elapsed() >= LoginValidator::failureDelayMs(1) + LoginValidator::failureDelayMs(2) +
                                   LoginValidator::failureDelayMs(3));
    QVERIFY(LoginValidator::failureDelayMs(1) > 0);
    QVERIFY(LoginValidator::failureDelayMs(3) > LoginValidator::failureDelayMs(2));
    QVERIFY(LoginValidator::failureDelayMs(100) <= 5000); // bounded
    // Another workstation and another user are not slowed down by these.
    QCOMPARE(LoginValidator::failuresOf("ANA", "CAJA2"), 0);
    QCOMPARE(LoginValidator::failuresOf("BETO", "CAJA1"), 0);

    QVERIFY(v.validateLogin("ANA", "secreto", {}, 0, false));
    QCOMPARE(LoginValidator::failuresOf("ANA", "CAJA1"), 0);

    // Known and unknown users cost one Argon2 verification each.
    qint64 before = LoginPassword::verifications();
    QVERIFY(!v.validateLogin("ANA", "mal", {}, 0, false));
    const qint64 known = LoginPassword::verifications() - before;
    before = LoginPassword::verifications();
    QVERIFY(!v.validateLogin("NADIE", "mal", {}, 0, false));
    QCOMPARE(LoginPassword::verifications() - before, known);
    QVERIFY(known >= 1);
    QVERIFY(v.validateLogin("ANA", "secreto", {}, 0, false));
}

void tst_Login::fingerprintLogin()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    const qint64 otherKey = s.app.saveDigitalFinger(QByteArrayLiteral("indice-de-otro"));
    const qint64 anaKey = s.app.saveDigitalFinger(QByteArrayLiteral("pulgar-de-ana"));
    QCOMPARE(anaKey, otherKey + 1);
    QCOMPARE(s.app.getDigitalFinger(anaKey), QByteArrayLiteral("pulgar-de-ana"));
    QVERIFY(s.app.getDigitalFinger(anaKey + 10).isEmpty());
    db.connection().execute(QStringLiteral("update tUsuario set hdigital_Clave = ? where usu_Clave = 'ANA'"),
                            {anaKey});
    db.connection().execute(QStringLiteral("update tUsuario set hdigital_Clave = ? where usu_Clave = 'BETO'"),
                            {otherKey});
    s.config.setValue(QStringLiteral("SESION-MODO"), QStringLiteral("HUELLA"));

    FingerprintSimulated reader;
    LoginController login(s.provider, s.config, s.app, s.prompter, {}, &reader);
    login.load();
    QCOMPARE(login.fingerPrompt(), QStringLiteral("El lector esta desconectado"));
    QStringList prompts;
    connect(&login, &LoginController::fingerPromptChanged, this, [&](const QString &t) { prompts << t; });
    QSignalSpy accepted(&login, &LoginController::accepted);
    reader.plugIn();
    reader.touch(QByteArrayLiteral("pulgar-de-ana"), FingerprintReader::Quality::Poor);
    QCOMPARE(prompts,
             (QStringList{"El lector esta conectado", "El dedo ha sido puesto sobre el lector",
                          "El dedo ha sido removido del lector", "La calidad de la huella es pobre"}));
    QCOMPARE(accepted.size(), 0);

    prompts.clear();
    reader.touch(QByteArrayLiteral("dedo-desconocido"));
    QCOMPARE(prompts.mid(2, 2),
             (QStringList{"La calidad de la huella es buena", "Procesando la huella ..."}));
    QCOMPARE(prompts.last(), QStringLiteral("Verificacion fallida Tiempo:  00:00:00"));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("La huella no es valida")});
    QVERIFY(!login.loginOk());

    // A print of an inactive user is verified but refused by validateLogin.
    s.prompter.clear();
    reader.touch(QByteArrayLiteral("indice-de-otro"));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("EL Usuario no esta activo")});
    QVERIFY(!login.loginOk());

    s.prompter.clear();
    reader.touch(QByteArrayLiteral("pulgar-de-ana"));
    QVERIFY(prompts.last().startsWith(QLatin1String("La huella ha sido verificada Tiempo: 00:00:")));
    QCOMPARE(accepted.size(), 1);
    QVERIFY(login.loginOk());
    QCOMPARE(s.config.getString(QStringLiteral("USUARIO")), QStringLiteral("ANA"));
    QVERIFY(s.prompter.shown.isEmpty());

    reader.unplug();
    QCOMPARE(login.fingerPrompt(), QStringLiteral("El lector esta desconectado"));
}

void tst_Login::databaseName_data()
{
    QTest::addColumn<QString>("conexion");
    QTest::addColumn<QString>("name");
    QTest::newRow("cadena de proveedor") << "Provider=SQLNCLI;Server=srv;Database=tienda;Uid=sa"
                                         << "tienda";
    QTest::newRow("Database con espacios") << "Server=srv; Database = farmacia ;"
                                           << "farmacia";
    QTest::newRow("archivo SQLite") << "sqlite:/home/caja1/demo.sqlite"
                                    << "demo.sqlite";
    QTest::newRow("servidor PostgreSQL") << "postgresql://tienda:x@10.0.0.5:5432/sucursal"
                                         << "sucursal";
    QTest::newRow("vacia") << ""
                           << "";
}

void tst_Login::databaseName()
{
    QFETCH(QString, conexion);
    QFETCH(QString, name);
    QCOMPARE(LoginWarehouse::databaseName(conexion), name);
}

void tst_Login::warehouseWindow()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    const qint64 photo = s.app.saveObject(QByteArrayLiteral("JPEGDATA"), QStringLiteral("jpg"));
    db.connection().execute(QStringLiteral("update tUsuario set obj_ClaveFoto = ?, alm_Clave = 'NORTE' "
                                           "where usu_Clave = 'ANA'"),
                            {photo});
    s.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ANA"));
    s.config.setValue(QStringLiteral("CONEXION"), db.connectionString());
    s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("MATRIZ"));

    LoginWarehouse w(s.provider, s.config, s.app, s.prompter);
    QVERIFY(w.load());
    QCOMPARE(w.userName(), QStringLiteral("Nombre de ANA"));
    QCOMPARE(w.database(), db.target().databaseLabel());
    QCOMPARE(w.warehouses(), (QStringList{"MATRIZ\tMatriz", "NORTE\tSucursal Norte"}));
    QCOMPARE(w.selected(), 1);
    QVERIFY(w.photoFile().endsWith(QLatin1String(".jpg")));
    QFile f(w.photoFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArrayLiteral("JPEGDATA"));

    QVERIFY(!w.cmdOK(QString()));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("Debe seleccionar el almacen")});
    QCOMPARE(s.config.getString(QStringLiteral("ALMACEN")), QStringLiteral("MATRIZ"));
    QVERIFY(w.cmdOK(w.warehouses().at(1)));
    QCOMPARE(s.config.getString(QStringLiteral("ALMACEN")), QStringLiteral("NORTE"));
}

QTEST_MAIN(tst_Login)
void tst_Login::enterRefusesOnce_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("Enter en la contraseña") << "txtPassword";
    QTest::newRow("Enter en el usuario") << "txtUserName";
}

// Enter in a field of the login window checks once: one refusal, not one per route to cmdOK.
void tst_Login::enterRefusesOnce()
{
    QFETCH(QString, field);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    addUsers(db.connection());
    Station s(db.connection(), settingsFile());
    LoginController login(s.provider, s.config, s.app, s.prompter, {});
    frmLogin window(login);
    window.show();
    window.findChild<QLineEdit *>(QStringLiteral("txtUserName"))->setText(QStringLiteral("ANA"));
    window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(QStringLiteral("equivocada"));
    QTest::keyClick(window.findChild<QLineEdit *>(field), Qt::Key_Return);
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("Usuario o contraseña incorrecta")});
    QVERIFY(!login.loginOk());
}

#include "tst_login.moc"
