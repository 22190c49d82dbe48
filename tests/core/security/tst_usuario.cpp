// The user window's rules: required fields, the card code's format and uniqueness, hashed
// passwords and the rights that guard its commands; on both engines.
#include "ConnectionProvider.h"
#include "Log.h"
#include "LoginPassword.h"
#include "Permisos.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "TestDatabase.h"
#include "UsuarioEditor.h"
#include "cConfigure.h"
#include "frmUsuario.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Station {
    Station(db::Connection *conn, const QString &settingsFile)
        : provider(conn), settings(settingsFile), config(provider, settings, prompter),
          permisos(provider, config)
    {
        config.setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA1"));
        config.setValue(QStringLiteral("PERFIL"), QStringLiteral("ADMIN"));
    }
    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
    Permisos permisos;
};

QVariantMap complete(const QString &clave, const QString &credencial = QString())
{
    QVariantMap u;
    u.insert(QStringLiteral("usu_Clave"), clave);
    u.insert(QStringLiteral("usu_Nombre"), QString(QStringLiteral("Nombre ") + clave));
    u.insert(QStringLiteral("alm_Clave"), QStringLiteral("MATRIZ\tMatriz"));
    u.insert(QStringLiteral("perf_Clave"), QStringLiteral("CAJERO\tCajero"));
    u.insert(QStringLiteral("term_Clave"), QStringLiteral("CAJA1\tCaja 1"));
    u.insert(QStringLiteral("eusu_Clave"), QStringLiteral("ACTIVO\tActivo"));
    u.insert(QStringLiteral("rusu_Clave"), QStringLiteral("EMPLEADO\tEmpleado"));
    u.insert(QStringLiteral("usu_Credencial"), credencial);
    u.insert(QStringLiteral("usu_RFC"), QStringLiteral("GOMA800101XX1"));
    u.insert(QStringLiteral("usu_FecIngreso"), QDate(2024, 3, 1));
    return u;
}

void grant(db::Connection &c, const QStringList &modules)
{
    c.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('ADMIN', 'Admin')"));
    for (const QString &m : modules)
        c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('ADMIN', ?)"), {m});
}

} // namespace

class tst_Usuario : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void required_data();
    void required();
    void formatoCredencial_data();
    void formatoCredencial();
    void addChangeAndBadge_data() { TestDatabase::addEngineRows(); }
    void addChangeAndBadge();
    void hashFailureSavesNothing_data() { TestDatabase::addEngineRows(); }
    void hashFailureSavesNothing();
    void rightsGuardCommands_data() { TestDatabase::addEngineRows(); }
    void rightsGuardCommands();
    void badValuesRefused_data();
    void badValuesRefused();
    void formFocusesRefusedField();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_Usuario::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_Usuario::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_Usuario::required_data()
{
    QTest::addColumn<QString>("blank");
    QTest::addColumn<QString>("message");
    QTest::newRow("clave") << "usu_Clave"
                           << "Debe indicar una clave";
    QTest::newRow("nombre") << "usu_Nombre"
                            << "Debe indicar un nombre";
    QTest::newRow("almacen") << "alm_Clave"
                             << "Debe indicar el almacen";
    QTest::newRow("perfil") << "perf_Clave"
                            << "Debe indicar el perfil de acceso";
    QTest::newRow("terminal") << "term_Clave"
                              << "Debe indicar las terminal de acceso";
    QTest::newRow("estado") << "eusu_Clave"
                            << "Debe indicar el estado del usuario";
    QTest::newRow("relacion") << "rusu_Clave"
                              << "Debe indicar la relacion del empleado";
}

void tst_Usuario::required()
{
    QFETCH(QString, blank);
    QFETCH(QString, message);
    Station s(nullptr, settingsFile());
    UsuarioEditor editor(s.provider, s.config, s.permisos, s.prompter, QStringLiteral("A"));
    QVariantMap u = complete(QStringLiteral("ANA"));
    u.insert(blank, QStringLiteral(" "));
    QVERIFY(!editor.validaDatos(u));
    QCOMPARE(s.prompter.texts(), QStringList{message});
}

void tst_Usuario::formatoCredencial_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("formato");
    QTest::addColumn<QString>("prefijo");
    QTest::addColumn<QString>("result");
    QTest::newRow("por omision quita ceros") << "000123"
                                             << "###############"
                                             << ""
                                             << "123";
    QTest::newRow("ceros del formato") << "123"
                                       << "000000"
                                       << ""
                                       << "000123";
    QTest::newRow("texto se conserva") << "AB-12"
                                       << "###############"
                                       << ""
                                       << "AB-12";
    QTest::newRow("prefijo de codigo de barras") << "0042"
                                                 << "0000"
                                                 << "EMP"
                                                 << "EMP0042";
    QTest::newRow("prefijo ya leido por el lector") << "EMP0042"
                                                    << "0000"
                                                    << "EMP"
                                                    << "EMP0042";
    QTest::newRow("vacia") << "  "
                           << "0000"
                           << "EMP"
                           << "";
}

void tst_Usuario::formatoCredencial()
{
    QFETCH(QString, code);
    QFETCH(QString, formato);
    QFETCH(QString, prefijo);
    QFETCH(QString, result);
    QCOMPARE(UsuarioEditor::formatoCredencial(code, formato, prefijo), result);
}

void tst_Usuario::badValuesRefused_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QDate>("stored");
    const QString fecha = QStringLiteral("Debe indicar una fecha valida en Fecha de nacimiento");
    const QString cp = QStringLiteral("Debe indicar un codigo postal de 5 digitos en Codigo postal");
    QTest::newRow("31 de febrero") << "usu_FecNacimiento" << QVariant("31/02/2024") << fecha << QDate();
    QTest::newRow("mes 13") << "usu_FecNacimiento" << QVariant("2024-13-01") << fecha << QDate();
    QTest::newRow("texto") << "usu_FecNacimiento" << QVariant("ayer") << fecha << QDate();
    QTest::newRow("fecha valida") << "usu_FecNacimiento" << QVariant("29/02/2024") << QString()
                                  << QDate(2024, 2, 29);
    QTest::newRow("sin dia ni mes con cero")
        << "usu_FecNacimiento" << QVariant("5/3/1990") << QString() << QDate(1990, 3, 5);
    QTest::newRow("fecha vacia") << "usu_FecNacimiento" << QVariant("  ") << QString() << QDate();
    QTest::newRow("cp con letras") << "usu_CP" << QVariant("abcde") << cp << QDate();
    QTest::newRow("cp corto") << "usu_CP" << QVariant("4410") << cp << QDate();
    QTest::newRow("cp valido") << "usu_CP" << QVariant("44100") << QString() << QDate();
}

// What is not a date or a postal code is refused, named, and nothing is written.
void tst_Usuario::badValuesRefused()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    QFETCH(QDate, stored);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    grant(db.connection(), {"frmUsuario_cmdAlta", "frmUsuario_cmdConsulta"});
    Station s(&db.connection(), settingsFile());
    UsuarioEditor add(s.provider, s.config, s.permisos, s.prompter, QStringLiteral("A"));
    QVariantMap u = complete(QStringLiteral("ANA"));
    u.insert(column, value);
    s.prompter.answers.enqueue(false);
    const bool saved = add.guardaDatos(u, QStringLiteral("uno"));
    QCOMPARE(saved, message.isEmpty());
    const int rows = db.connection().scalar(QStringLiteral("select count(*) from tUsuario")).toInt();
    if (!saved) {
        QCOMPARE(s.prompter.texts(), QStringList{message});
        QCOMPARE(add.campoRechazado(), column);
        QCOMPARE(rows, 0);
        return;
    }
    QCOMPARE(rows, 1);
    if (column == QLatin1String("usu_FecNacimiento")) {
        const QVariant v = db.connection().scalar(QStringLiteral("select usu_FecNacimiento from tUsuario"));
        QCOMPARE(v.toDateTime().date(), stored);
    }
}

// After the message, the refused field (on its tab) has the focus, so the next typing lands there.
void tst_Usuario::formFocusesRefusedField()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    grant(db.connection(), {"frmUsuario_cmdAlta", "frmUsuario_cmdConsulta"});
    Station s(&db.connection(), settingsFile());
    UsuarioEditor add(s.provider, s.config, s.permisos, s.prompter, QStringLiteral("A"));
    for (const char *sql :
         {"insert into tAlmacen (alm_Clave, alm_Nombre) values ('MATRIZ', 'Matriz')",
          "insert into tTerminal (term_Clave, term_Nombre) values ('CAJA1', 'Caja 1')",
          "insert into tEstadoUsuario (eusu_Clave, eusu_Nombre) values ('ACTIVO', 'Activo')",
          "insert into tRelacionUsuario (rusu_Clave, rusu_Nombre) values ('EMP', 'Empleado')"}) {
        const QString table = QString::fromLatin1(sql).section(u' ', 2, 2);
        if (db.connection().scalar(QStringLiteral("select count(*) from ") + table).toInt() == 0)
            db.connection().execute(QString::fromLatin1(sql));
    }
    frmUsuario window(add, QString());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QLineEdit *>(QStringLiteral("txtusu_Clave"))->setText(QStringLiteral("ANA"));
    window.findChild<QLineEdit *>(QStringLiteral("txtusu_Nombre"))->setText(QStringLiteral("Ana"));
    for (QComboBox *c : window.findChildren<QComboBox *>())
        c->setCurrentIndex(0);
    auto *nacimiento = window.findChild<QLineEdit *>(QStringLiteral("txtusu_FecNacimiento"));
    nacimiento->setText(QStringLiteral("31/02/2024"));
    window.cmdGuardar();
    QVERIFY(s.prompter.last().startsWith(QStringLiteral("Debe")));
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tUsuario")).toInt(), 0);
    QTRY_COMPARE(QApplication::focusWidget(), nacimiento);
    const QStringList captions = [&] {
        QStringList out;
        for (QPushButton *b : window.findChildren<QPushButton *>())
            out << b->text();
        return out;
    }();
    QVERIFY(captions.contains(QStringLiteral("&Aceptar")));
    QVERIFY(!captions.contains(QStringLiteral("Save")));
}

// Argon2 cannot get its memory: the user is not written at all, rather than with the plain
// password in place of its hash.
void tst_Usuario::hashFailureSavesNothing()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    grant(db.connection(), {"frmUsuario_cmdAlta"});
    Station s(&db.connection(), settingsFile());
    UsuarioEditor add(s.provider, s.config, s.permisos, s.prompter, QStringLiteral("A"));
    LoginPassword::setHashMemoryLimit(size_t(1) << 60);
    const bool saved = add.guardaDatos(complete(QStringLiteral("ANA")), QStringLiteral("uno"));
    LoginPassword::setHashMemoryLimit(0);
    QVERIFY(!saved);
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("No se pudo cifrar la contraseña; no se guardó nada")});
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tUsuario where usu_Clave = 'ANA'")).toInt(), 0);
}

void tst_Usuario::addChangeAndBadge()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    grant(db.connection(), {"frmUsuario_cmdAlta", "frmUsuario_cmdConsulta"});
    Station s(&db.connection(), settingsFile());
    UsuarioEditor add(s.provider, s.config, s.permisos, s.prompter, QStringLiteral("A"));
    s.prompter.answers.enqueue(true);
    bool more = false;
    QVERIFY(add.guardaDatos(complete(QStringLiteral("ANA"), QStringLiteral("00077")), QStringLiteral("uno"),
                            &more));
    QVERIFY(more);
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral(
                 "El registro fue agregado con exito, desea continuar agregando mas Usuarios")});
    const QString hash = db.connection()
                             .scalar(QStringLiteral("select usu_Psw from tUsuario where usu_Clave = 'ANA'"))
                             .toString();
    QVERIFY(LoginPassword::verify(hash, QStringLiteral("uno")) && LoginPassword::isHashed(hash));
    s.prompter.answers.enqueue(false);
    QVERIFY(add.guardaDatos(complete(QStringLiteral("BETO")), QStringLiteral("dos")));

    // Same card, another user: refused with the holder's name.
    s.prompter.clear();
    QVERIFY(!add.guardaDatos(complete(QStringLiteral("CARLA"), QStringLiteral("77")), QString()));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("La credencial esta asignada al siguiente usuario Nombre ANA")});
    s.prompter.clear();
    QVERIFY(!add.guardaDatos(complete(QStringLiteral("ANA")), QString()));
    QVERIFY(s.prompter.last().startsWith(QLatin1String("La clave ya esta en uso")));

    // A change keeps the password when none is typed, and the user may keep his own card.
    s.prompter.clear();
    db.connection().execute(QStringLiteral("update tUsuario set hdigital_Clave = 5 where usu_Clave = 'ANA'"));
    UsuarioEditor change(s.provider, s.config, s.permisos, s.prompter, QStringLiteral("C"));
    QVariantMap ana;
    QVERIFY(change.consultarRegistro(QStringLiteral("ANA"), ana));
    QCOMPARE(ana.value(QStringLiteral("usu_Credencial")).toString(), QStringLiteral("77"));
    QCOMPARE(ana.value(QStringLiteral("usu_RFC")).toString(), QStringLiteral("GOMA800101XX1"));
    QCOMPARE(ana.value(QStringLiteral("usu_FecIngreso")).toDateTime().date(), QDate(2024, 3, 1));
    ana.insert(QStringLiteral("usu_Ciudad"), QStringLiteral("Zapopan"));
    QVERIFY(change.guardaDatos(ana, QString()));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select usu_Psw from tUsuario where usu_Clave = 'ANA'"))
                 .toString(),
             hash);
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select usu_Ciudad from tUsuario where usu_Clave = 'ANA'"))
                 .toString(),
             QStringLiteral("Zapopan"));
    QVariantMap again;
    QVERIFY(change.consultarRegistro(QStringLiteral("ANA"), again));
    QCOMPARE(again.value(QStringLiteral("hdigital_Clave")).toLongLong(), 5); // kept through the change
    // Users without a card do not collide with each other.
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select count(*) from tUsuario where usu_Credencial is null"))
                 .toInt(),
             1);
}

void tst_Usuario::rightsGuardCommands()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    grant(db.connection(), {"frmUsuario_cmdConsulta"});
    Station s(&db.connection(), settingsFile());
    UsuarioEditor add(s.provider, s.config, s.permisos, s.prompter, QStringLiteral("A"));
    QVERIFY(!add.allowed());
    QVERIFY(!add.guardaDatos(complete(QStringLiteral("ANA")), QStringLiteral("x")));
    QCOMPARE(s.prompter.texts(), QStringList{UsuarioEditor::kSinAcceso});
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tUsuario")).toInt(), 0);
    UsuarioEditor query(s.provider, s.config, s.permisos, s.prompter, QStringLiteral("Q"));
    QVERIFY(query.allowed());
}

QTEST_MAIN(tst_Usuario)
#include "tst_usuario.moc"
