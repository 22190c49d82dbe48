#include "AppServices.h"
#include "DbError.h"
#include "Log.h"
#include "ScriptedPrompter.h"
#include "cConfigure.h"
#include "cObjectFactory.h"
#include "cString.h"
#include "cSucursal.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class tst_Log : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { Log::setDirectoryProvider({}); }
    void fileName_data();
    void fileName();
    void appendsTimedLines_data();
    void appendsTimedLines();
    void unwritableDirectoryIsIgnored();
    void defaultIsPrivateInDataFolder();
    void oldDaysRemoved_data();
    void oldDaysRemoved();
    void reportErrorText_data();
    void reportErrorText();
    void plainSentence_data();
    void plainSentence();
    void servicesFollowConfiguration();
};

void tst_Log::fileName_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");
    QTest::newRow("4 March 2026") << QDate(2026, 3, 4) << "zev20260304.log";
    QTest::newRow("last day of the year") << QDate(2025, 12, 31) << "zev20251231.log";
}

void tst_Log::fileName()
{
    QFETCH(QDate, date);
    QFETCH(QString, expected);
    QCOMPARE(Log::fileNameFor(date), expected);
}

void tst_Log::appendsTimedLines_data()
{
    QTest::addColumn<bool>("trailingSlash");
    QTest::newRow("directory without separator") << false;
    QTest::newRow("directory with separator") << true;
}

void tst_Log::appendsTimedLines()
{
    QFETCH(bool, trailingSlash);
    QTemporaryDir dir;
    const QString path = dir.path() + (trailingSlash ? "/" : "");
    Log::setDirectoryProvider([path] { return path; });
    writeLog("primera linea");
    writeLog("segunda: con acentos ñ á");

    QFile file(dir.filePath(Log::fileNameFor(QDate::currentDate())));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    const QRegularExpression stamp("^\\d\\d:\\d\\d:\\d\\d:");
    QVERIFY(stamp.match(lines.at(0)).hasMatch());
    QCOMPARE(lines.at(0).mid(9), QStringLiteral("primera linea"));
    QCOMPARE(lines.at(1).mid(9), QStringLiteral("segunda: con acentos ñ á"));
}

void tst_Log::unwritableDirectoryIsIgnored()
{
    Log::setDirectoryProvider([] { return QStringLiteral("/proc/no-such-dir"); });
    writeLog("nothing happens"); // must neither throw nor crash
    ScriptedPrompter prompter;
    reportError(prompter, "texto", "lugar", {1, "d", "s"});
    QCOMPARE(prompter.shown.size(), 1); // the screen still gets it
}

// Without a configured folder the log goes to the user's data folder, readable by him alone,
// not beside the program.
void tst_Log::defaultIsPrivateInDataFolder()
{
    QTemporaryDir home;
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    const QString dir = Log::directory();
    writeLog("privado");
    qputenv("XDG_DATA_HOME", old);
    QVERIFY2(dir.startsWith(home.path() + '/'), qPrintable(dir));
    QVERIFY(!dir.startsWith(QCoreApplication::applicationDirPath()));
    const QString file = dir + Log::fileNameFor(QDate::currentDate());
    QVERIFY(QFile::exists(file));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(file) & others, QFile::Permissions());
    QCOMPARE(QFile::permissions(dir) & others, QFile::Permissions());
    QVERIFY(QFile::permissions(file) & QFile::WriteOwner);
}

void tst_Log::oldDaysRemoved_data()
{
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<bool>("kept");
    QTest::newRow("yesterday") << 1 << true;
    QTest::newRow("last day kept") << Log::kKeepDays - 1 << true;
    QTest::newRow("first day removed") << Log::kKeepDays << false;
    QTest::newRow("a year ago") << 365 << false;
}

// The day's first line removes the files of days past the kept number; other files stay.
void tst_Log::oldDaysRemoved()
{
    QFETCH(int, daysAgo);
    QFETCH(bool, kept);
    QTemporaryDir dir;
    const QString path = dir.path();
    Log::setDirectoryProvider([path] { return path; });
    const QString old = dir.filePath(Log::fileNameFor(QDate::currentDate().addDays(-daysAgo)));
    const QString other = dir.filePath("notas.txt");
    for (const QString &f : {old, other}) {
        QFile file(f);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    writeLog("hoy");
    QCOMPARE(QFile::exists(old), kept);
    QVERIFY(QFile::exists(other));
}

void tst_Log::reportErrorText_data()
{
    QTest::addColumn<int>("kind"); // 0 plain values, 1 database error, 2 other exception
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << 0
                           << "frmVenta.guardaDatos:[5]-[Invalid procedure call]-[Mostrador]:No se guardo";
    QTest::newRow("database error")
        << 1 << "frmVenta.guardaDatos:[19]-[UNIQUE constraint failed]-[SQLite.execute]:No se guardo";
    QTest::newRow("other exception") << 2
                                     << "frmVenta.guardaDatos:[0]-[algo salio mal]-[Mostrador]:No se guardo";
}

void tst_Log::reportErrorText()
{
    QFETCH(int, kind);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.path();
    Log::setDirectoryProvider([path] { return path; });

    ErrorInfo info;
    if (kind == 0)
        info = {5, "Invalid procedure call", "Mostrador"};
    else if (kind == 1)
        info = ErrorInfo::fromException(db::DbError(19, "UNIQUE constraint failed", "SQLite.execute"));
    else
        info = ErrorInfo::fromException(std::runtime_error("algo salio mal"));

    ScriptedPrompter prompter;
    QCOMPARE(reportError(prompter, "No se guardo", "frmVenta.guardaDatos", info), expected);
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Critical);
    // The user reads the caller's sentence; the technical line waits behind "Detalles".
    QCOMPARE(prompter.last(), QStringLiteral("No se guardo"));
    QCOMPARE(prompter.shown.first().details, expected);

    QFile file(dir.filePath(Log::fileNameFor(QDate::currentDate())));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QVERIFY(QString::fromUtf8(file.readAll()).trimmed().endsWith(expected));
}

void tst_Log::plainSentence_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("shown");
    QTest::newRow("the caller's sentence") << "Error al abrir la conexion"
                                           << "cmdBase"
                                           << "Error al abrir la conexion";
    QTest::newRow("operation in text") << "agregarRegistro"
                                       << "frmParametro"
                                       << "No se pudo agregar el registro";
    QTest::newRow("operation in where") << ""
                                        << "frmPerfil.guardaDatos"
                                        << "No se pudieron guardar los datos";
    QTest::newRow("delete") << ""
                            << "frmUsuario.eliminarRegistro"
                            << "No se pudo eliminar el registro";
    QTest::newRow("a key is not a sentence") << "TIMER_VENTAS_MSG"
                                             << "cConfigure.saveValue"
                                             << "No se pudo guardar la configuración";
    QTest::newRow("unknown operation") << ""
                                       << "frmX.algo"
                                       << "No se pudo completar la operación";
}

// What reaches the screen is Spanish and plain, never a procedure name.
void tst_Log::plainSentence()
{
    QFETCH(QString, text);
    QFETCH(QString, where);
    QFETCH(QString, shown);
    QCOMPARE(errorParaUsuario(text, where), shown);
}

void tst_Log::servicesFollowConfiguration()
{
    // The log goes where SETTING-DIRECTORIO-LOG says, read at every write.
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    AppServices services(prompter, dir.filePath("settings.ini"));
    QTemporaryDir logs;
    services.config().setValue("SETTING-DIRECTORIO-LOG", logs.path());
    writeLog("hacia el directorio configurado");
    QVERIFY(QFile::exists(logs.filePath(Log::fileNameFor(QDate::currentDate()))));

    // Scripts get fresh instances of the classes that exist.
    for (const char *member : {"newcString", "newcSucursal", "newcDatabase", "newcCollectionContainer"}) {
        std::unique_ptr<QObject> made(services.factory().create(QString::fromLatin1(member)));
        QVERIFY2(made, member);
    }
    std::unique_ptr<QObject> text(services.factory().newcString());
    QVERIFY(qobject_cast<cString *>(text.get()));
    std::unique_ptr<QObject> branch(services.factory().newcSucursal());
    QVERIFY(qobject_cast<cSucursal *>(branch.get()));
}

QTEST_GUILESS_MAIN(tst_Log)
#include "tst_log.moc"
