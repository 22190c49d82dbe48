#include "ConnectionProvider.h"
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "cAplication.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QFileInfo>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>

class tst_Aplicacion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void objectRoundTrip_data() { TestDatabase::addEngineRows(); }
    void objectRoundTrip();
    void newKeyFollowsGreatest_data() { TestDatabase::addEngineRows(); }
    void newKeyFollowsGreatest();
    void replaceAndMissingObjects_data() { TestDatabase::addEngineRows(); }
    void replaceAndMissingObjects();
    void imagesDefaultToJpg_data() { TestDatabase::addEngineRows(); }
    void imagesDefaultToJpg();
    void twoWorkstationsNeverShareAKey_data() { TestDatabase::addEngineRows(); }
    void twoWorkstationsNeverShareAKey();
    void serverClock_data() { TestDatabase::addEngineRows(); }
    void serverClock();

    void shellErrorTexts_data();
    void shellErrorTexts();
    void shellVerbs_data();
    void shellVerbs();
    void shellFailureAsksForAnotherProgram_data();
    void shellFailureAsksForAnotherProgram();
    void shellAndWaitRunsCommandLines();
    void tempFiles_data();
    void tempFiles();
    void binaryFiles();
    void statusBarAndSleep();

private:
    QString writeFile(const QString &name, const QByteArray &content);
    static QByteArray everyByte();

    QTemporaryDir m_dir;
    QStringList m_tempFiles; // files the services made in the temporary directory
};

namespace {

// Records what would be started instead of starting it.
struct FakeShell {
    QStringList started;
    QList<int> results; // per call; 0 when exhausted
    cAplication::ShellRunner runner()
    {
        return [this](const QString &program, const QStringList &args, bool wait) {
            started << program + ' ' + args.join('|') + (wait ? " (wait)" : "");
            return results.isEmpty() ? 0 : results.takeFirst();
        };
    }
};

} // namespace

void tst_Aplicacion::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void tst_Aplicacion::cleanup()
{
    for (const QString &f : std::as_const(m_tempFiles))
        QFile::remove(f);
    m_tempFiles.clear();
}

QByteArray tst_Aplicacion::everyByte()
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    return all + all; // zeros and high bytes in the middle, not only at the ends
}

QString tst_Aplicacion::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(content);
    return path;
}

void tst_Aplicacion::objectRoundTrip()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    cAplication app(provider, prompter);

    const QByteArray content = everyByte();
    const qint64 key = app.saveObjectFromFile(writeFile("Factura.PDF", content));
    QCOMPARE(key, qint64(1)); // empty table: max is NULL, so the first key is 1
    QVERIFY(app.existsObject(key));

    const QString temp = app.getObjectToFile(key);
    m_tempFiles << temp;
    QVERIFY(!temp.isEmpty());
    QCOMPARE(QFileInfo(temp).suffix(), QStringLiteral("pdf"));
    QCOMPARE(app.binaryFileToByteArray(temp), content);

    const QString chosen = m_dir.filePath("copia.bin");
    QCOMPARE(app.getObjectToFile(key, chosen), chosen);
    QCOMPARE(app.binaryFileToByteArray(chosen), content);

    db::Recordset rs =
        db.connection().openRecordset("select obj_Extension from tObjeto where obj_Clave = ?", {key});
    QCOMPARE(rs.text("obj_Extension"), QStringLiteral("pdf"));
}

void tst_Aplicacion::newKeyFollowsGreatest()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    // Keys left by other workstations, with a gap: the next one is the greatest plus one.
    db.connection().execute("insert into tObjeto (obj_Clave, obj_Extension, obj_Contenido) values (?, ?, ?)",
                            {7, "jpg", QByteArray("x")});
    db.connection().execute("insert into tObjeto (obj_Clave, obj_Extension, obj_Contenido) values (?, ?, ?)",
                            {41, "png", QByteArray("y")});
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    cAplication app(provider, prompter);
    const QString file = writeFile("nota.txt", "hola");
    QCOMPARE(app.saveObjectFromFile(file), qint64(42));
    QCOMPARE(app.saveObjectFromFile(file), qint64(43));
    QCOMPARE(app.saveObject(QByteArray(), "txt"), qint64(44)); // an empty object is still an object
    QVERIFY(app.existsObject(44));
    QVERIFY(!app.existsObject(8));
}

void tst_Aplicacion::replaceAndMissingObjects()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    cAplication app(provider, prompter);

    const qint64 key = app.saveObjectFromFile(writeFile("logo.png", "primero"));
    QCOMPARE(app.saveObjectFromFile(writeFile("logo2.gif", "segundo"), key), key);
    QByteArray content;
    QString extension;
    QVERIFY(app.objectContent(key, content, extension));
    QCOMPARE(content, QByteArray("segundo"));
    QCOMPARE(extension, QStringLiteral("gif"));
    QCOMPARE(db.connection().scalar("select count(*) from tObjeto").toInt(), 1);

    // A key that does not exist yet is created under that key.
    QCOMPARE(app.saveObjectFromFile(writeFile("otro.png", "tercero"), 10), qint64(10));
    QVERIFY(app.existsObject(10));

    QCOMPARE(app.saveObjectFromFile(m_dir.filePath("no-existe.png")), qint64(0));
    QCOMPARE(db.connection().scalar("select count(*) from tObjeto").toInt(), 2);

    QVERIFY(!app.existsObject(999));
    QCOMPARE(app.getObjectToFile(999), QString());
    QCOMPARE(app.getImage(999), QString());
    QVERIFY(!app.objectContent(999, content, extension));
}

void tst_Aplicacion::imagesDefaultToJpg()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    cAplication app(provider, prompter);

    const qint64 noSuffix = app.loadImage(writeFile("foto", "imagen"));
    const qint64 png = app.loadImage(writeFile("foto.PNG", "imagen png"));
    QCOMPARE(noSuffix, qint64(1));
    QCOMPARE(png, qint64(2));
    db.connection().execute("insert into tObjeto (obj_Clave, obj_Extension, obj_Contenido) values (?, ?, ?)",
                            {3, QVariant(), QByteArray("sin extension")});

    const QString a = app.getImage(noSuffix), b = app.getImage(png), c = app.getImage(3);
    m_tempFiles << a << b << c;
    QCOMPARE(QFileInfo(a).suffix(), QStringLiteral("jpg"));
    QCOMPARE(QFileInfo(b).suffix(), QStringLiteral("png"));
    QCOMPARE(QFileInfo(c).suffix(), QStringLiteral("jpg"));
    QCOMPARE(app.binaryFileToByteArray(c), QByteArray("sin extension"));
    QCOMPARE(app.loadImage(m_dir.filePath("no-existe.jpg")), qint64(0));
}

void tst_Aplicacion::twoWorkstationsNeverShareAKey()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    const QString target = db.connectionString();
    constexpr int perStation = 15;
    std::atomic<int> failures{0};
    QStringList errors;
    QMutex errorsLock;

    auto station = [&] {
        try {
            db::Connection conn;
            conn.open(target);
            FixedConnectionProvider provider(&conn);
            ScriptedPrompter prompter;
            cAplication app(provider, prompter);
            for (int i = 0; i < perStation; ++i)
                if (app.saveObject(QByteArray::number(i), "txt") <= 0)
                    ++failures;
        } catch (const std::exception &e) {
            ++failures;
            QMutexLocker lock(&errorsLock);
            errors << QString::fromUtf8(e.what());
        }
    };
    std::unique_ptr<QThread> a(QThread::create(station)), b(QThread::create(station));
    a->start();
    b->start();
    QVERIFY(a->wait(60000));
    QVERIFY(b->wait(60000));
    QVERIFY2(failures == 0, qPrintable(errors.join('\n')));

    QSet<qint64> keys;
    db::Recordset rs = db.connection().openRecordset("select obj_Clave from tObjeto order by obj_Clave");
    for (; !rs.eof(); rs.moveNext())
        keys.insert(rs.integer("obj_Clave"));
    QCOMPARE(keys.size(), 2 * perStation);
    QCOMPARE(*std::max_element(keys.cbegin(), keys.cend()), qint64(2 * perStation));
}

void tst_Aplicacion::serverClock()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    cAplication app(provider, prompter);
    const QDateTime server = app.getDate();
    QVERIFY(server.isValid());
    // Same machine, so the server's clock reads the workstation's local time.
    QVERIFY2(qAbs(server.secsTo(QDateTime::currentDateTime())) < 120,
             qPrintable(server.toString(Qt::ISODate)));
    QDateTime viaScript; // scripts reach it by name
    QVERIFY(QMetaObject::invokeMethod(&app, "getDate", Q_RETURN_ARG(QDateTime, viaScript)));
    QVERIFY(viaScript >= server);
}

void tst_Aplicacion::shellErrorTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("file not found") << 2 << "The specified FILE was not found.";
    QTest::newRow("path not found") << 3 << "The specified path was not found.";
    QTest::newRow("no association")
        << 31 << "There is no application associated with the given filename extension.";
    QTest::newRow("access denied") << 5 << "The operating system denied access to the specified file.";
    QTest::newRow("out of resources") << 0 << "The operating system is out of memory or resources.";
    QTest::newRow("unknown code") << 17 << "Undefined error: 17";
    QTest::newRow("success has no text") << 42 << "";
}

void tst_Aplicacion::shellErrorTexts()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    ScriptedPrompter prompter;
    FixedConnectionProvider none(nullptr);
    cAplication app(none, prompter);
    QCOMPARE(app.fnShellErr(code), text);
}

void tst_Aplicacion::shellVerbs_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("started"); // FILE and DIR stand for the test's file and folder
    QTest::newRow("Open") << "Open"
                          << "xdg-open FILE";
    QTest::newRow("open, any case") << "OPEN"
                                    << "xdg-open FILE";
    QTest::newRow("no verb opens") << ""
                                   << "xdg-open FILE";
    QTest::newRow("Explore shows the folder") << "Explore"
                                              << "xdg-open DIR";
    QTest::newRow("Find in the folder") << "Find"
                                        << "xdg-open DIR";
    QTest::newRow("Properties in the file manager") << "Properties"
                                                    << "xdg-open DIR";
    QTest::newRow("Print to the default printer") << "Print"
                                                  << "lp --|FILE (wait)";
}

void tst_Aplicacion::shellVerbs()
{
    QFETCH(QString, verb);
    QFETCH(QString, started);
    const QString file = writeFile("reporte.csv", "a,b\r\n");
    started.replace("FILE", QFileInfo(file).absoluteFilePath())
        .replace("DIR", QFileInfo(file).absolutePath());
    ScriptedPrompter prompter;
    FixedConnectionProvider none(nullptr);
    cAplication app(none, prompter);
    FakeShell shell;
    app.setShellRunner(shell.runner());
    QVERIFY(app.ShellOperation(file, verb) > 32);
    QCOMPARE(shell.started, QStringList{started});
    QVERIFY(prompter.shown.isEmpty());
}

void tst_Aplicacion::shellFailureAsksForAnotherProgram_data()
{
    QTest::addColumn<QString>("fileName"); // "" = a file that does not exist
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QList<int>>("results");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("programs"); // every program started, in order
    QTest::newRow("missing file, yes: the chooser")
        << ""
        << "Open" << QList<int>{} << true << 2 << "The specified FILE was not found." << QStringList{"gdbus"};
    QTest::newRow("missing file, no: nothing started")
        << ""
        << "Open" << QList<int>{} << false << 2 << "The specified FILE was not found." << QStringList{};
    QTest::newRow("no program for the type")
        << "datos.xyz"
        << "Open" << QList<int>{3, 0} << true << 31
        << "There is no application associated with the given filename extension."
        << QStringList{"xdg-open", "gdbus"};
    QTest::newRow("no portal: the file manager offers the programs")
        << "datos.xyz"
        << "Open" << QList<int>{4, 1, 0} << true << 31
        << "There is no application associated with the given filename extension."
        << QStringList{"xdg-open", "gdbus", "xdg-open"};
    QTest::newRow("opener missing") << "datos.xyz"
                                    << "Open" << QList<int>{-1} << false << 31
                                    << "There is no application associated with the given filename extension."
                                    << QStringList{"xdg-open"};
    QTest::newRow("unknown verb") << "datos.xyz"
                                  << "Edit" << QList<int>{} << false << 31
                                  << "There is no application associated with the given filename extension."
                                  << QStringList{};
    QTest::newRow("printing fails") << "datos.xyz"
                                    << "Print" << QList<int>{1} << false << 31
                                    << "There is no application associated with the given filename extension."
                                    << QStringList{"lp"};
}

void tst_Aplicacion::shellFailureAsksForAnotherProgram()
{
    QFETCH(QString, fileName);
    QFETCH(QString, verb);
    QFETCH(QList<int>, results);
    QFETCH(bool, answer);
    QFETCH(int, code);
    QFETCH(QString, error);
    QFETCH(QStringList, programs);
    const QString file = fileName.isEmpty() ? m_dir.filePath("no-existe.pdf") : writeFile(fileName, "x");
    ScriptedPrompter prompter;
    prompter.answers << answer;
    FixedConnectionProvider none(nullptr);
    cAplication app(none, prompter);
    FakeShell shell;
    shell.results = results;
    app.setShellRunner(shell.runner());

    QCOMPARE(app.ShellOperation(file, verb), code);
    QCOMPARE(prompter.texts(), QStringList{"Imposible realizar la operacion Error:= " + error +
                                           "\n Desea usar Otra Aplicación"});
    QStringList started;
    for (const QString &s : std::as_const(shell.started))
        started << s.section(' ', 0, 0);
    QCOMPARE(started, programs);
    if (programs.contains("gdbus"))
        QVERIFY(shell.started.at(programs.indexOf("gdbus")).contains("{'ask': <true>}"));
}

void tst_Aplicacion::shellAndWaitRunsCommandLines()
{
    ScriptedPrompter prompter;
    FixedConnectionProvider none(nullptr);
    cAplication app(none, prompter);
    QCOMPARE(app.ShellAndWait("sh -c \"exit 3\""), 3);
    const QString marker = m_dir.filePath("hecho con espacio.txt");
    QCOMPARE(app.ShellAndWait("touch \"" + marker + "\"", 0), 0);
    QVERIFY(QFileInfo::exists(marker)); // it waited, and the quoted argument stayed one
    QCOMPARE(app.ShellAndWait("programa-que-no-existe-mdr"), -1);
    QCOMPARE(app.ShellAndWait(""), -1);
    QCOMPARE(app.ShellExecuteAndWait(m_dir.filePath("no-existe.pdf")), -1);
}

void tst_Aplicacion::tempFiles_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("export") << "zevexp"
                            << "csv"
                            << "csv";
    QTest::newRow("extension with a dot") << "zevexp"
                                          << ".xls"
                                          << "xls";
    QTest::newRow("no extension") << "zev"
                                  << ""
                                  << "";
}

void tst_Aplicacion::tempFiles()
{
    QFETCH(QString, prefix);
    QFETCH(QString, extension);
    QFETCH(QString, suffix);
    ScriptedPrompter prompter;
    FixedConnectionProvider none(nullptr);
    cAplication app(none, prompter);
    const QString a = app.getTempFile(prefix, extension), b = app.getTempFile(prefix, extension);
    m_tempFiles << a << b;
    QVERIFY(a != b);
    for (const QString &f : {a, b}) {
        const QFileInfo info(f);
        QVERIFY2(info.exists(), qPrintable(f)); // taken, so no other process gets the name
        QVERIFY(info.fileName().startsWith(prefix));
        QCOMPARE(info.suffix(), suffix);
        QCOMPARE(info.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    }
}

void tst_Aplicacion::binaryFiles()
{
    ScriptedPrompter prompter;
    FixedConnectionProvider none(nullptr);
    cAplication app(none, prompter);
    const QByteArray bytes = everyByte();
    const QString f1 = m_dir.filePath("b1.bin"), f2 = m_dir.filePath("b2.bin");
    QVERIFY(app.ByteArrayToBinaryFile(f1, bytes));
    const QString asText = app.binaryFileToString(f1);
    QCOMPARE(asText.size(), bytes.size()); // one character per byte
    QCOMPARE(asText.at(255).unicode(), ushort(255));
    QVERIFY(app.StringToBinaryFile(f2, asText));
    QCOMPARE(app.binaryFileToByteArray(f2), bytes);
    QVERIFY(app.ByteArrayToBinaryFile(f2, "corto"));
    QCOMPARE(app.binaryFileToByteArray(f2), QByteArray("corto")); // rewritten, not appended
    QCOMPARE(app.binaryFileToByteArray(m_dir.filePath("nada.bin")), QByteArray());
    QCOMPARE(app.binaryFileToString(m_dir.filePath("nada.bin")), QString());
    QVERIFY(!app.StringToBinaryFile(m_dir.filePath("no/existe/carpeta.bin"), "x"));
}

void tst_Aplicacion::statusBarAndSleep()
{
    ScriptedPrompter prompter;
    FixedConnectionProvider none(nullptr);
    cAplication app(none, prompter);
    QSignalSpy spy(&app, &cAplication::statusMessage);
    QVERIFY(QMetaObject::invokeMethod(&app, "msgBar", Q_ARG(QString, "Procesando 3 de 10")));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first().first().toString(), QStringLiteral("Procesando 3 de 10"));

    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    app.execDoSleep(150);
    QVERIFY(clock.elapsed() >= 150);
    QVERIFY(clock.elapsed() < 1500);
    QVERIFY(fired); // events kept flowing while it slept

    bool posted = false;
    QMetaObject::invokeMethod(
        &app, [&] { posted = true; }, Qt::QueuedConnection);
    app.execDoEvents();
    QVERIFY(posted);
    clock.restart();
    app.execDoSleep(-5);
    QVERIFY(clock.elapsed() < 100);
}

QTEST_GUILESS_MAIN(tst_Aplicacion)
#include "tst_aplicacion.moc"
