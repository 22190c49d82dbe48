#include "MainWindowController.h"
#include "MenuTree.h"
#include "ScriptedPrompter.h"
#include "mdiMain.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QPointer>
#include <QTest>
#include <QWindow>

// The frame's close button reaches a window as the platform delivers it: a spontaneous close
// event. Qt keeps that entry point in its platform API, so the test declares it here.
class QWindowSystemInterface {
public:
    struct SynchronousDelivery {};
    template <typename Delivery> static bool handleCloseEvent(QWindow *window);
};

using Mode = MainWindowController::CloseMode;

class tst_MainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statusText_data();
    void statusText();
    void exitQuestion_data();
    void exitQuestion();
    void queryUnload_data();
    void queryUnload();
    void shutdownRunsOnce();
    void firstActivationOnlyOnce();
    void changeOfUser_data();
    void changeOfUser();

    void windowCloseTakesItsFrame();
    void windowsStayInsideTheFrame();
    void menuBarCarriesEveryEntry();
    void commandsStartDisabled();
    void setCommandEnablesAndRuns();
    void catalogueEntriesOpenTheGenericWindow();
    void controlBoxCloseIsRefused();
    void exitAnsweredNoKeepsWindow();
    void exitAnsweredYesUnloadsAndTerminates();
    void showingLoadsThenActivatesOnce();
    void messagesGoToPanelOne();
};

namespace {

struct Recorder {
    QStringList calls;
    MainWindowController::Hooks hooks(bool loginOk = true)
    {
        MainWindowController::Hooks h;
        h.selectedConnection = [] { return QStringLiteral("Matriz"); };
        h.warehouse = [] { return QStringLiteral("ALM01"); };
        h.user = [] { return QStringLiteral("CAJERO"); };
        h.selectWarehouse = [this] { calls << "selectWarehouse"; };
        h.changeUser = [this, loginOk] {
            calls << "login";
            return loginOk;
        };
        h.buildReportsMenu = [this] { calls << "buildReportsMenu"; };
        h.applyMenuPermissions = [this] { calls << "applyMenuPermissions"; };
        h.runEventScript = [this](const QString &name) { calls << "script:" + name; };
        h.terminateProgram = [this] { calls << "terminateProgram"; };
        return h;
    }
};

} // namespace

void tst_MainWindow::statusText_data()
{
    QTest::addColumn<QString>("connection");
    QTest::addColumn<QString>("warehouse");
    QTest::addColumn<QString>("expected");
    QTest::newRow("named connection") << "Matriz"
                                      << "ALM01"
                                      << "Conexion: <Matriz> Almacen: ALM01";
    QTest::newRow("nothing chosen yet") << ""
                                        << ""
                                        << "Conexion: <> Almacen: ";
    QTest::newRow("accents and spaces kept") << "Sucursal Peñón"
                                             << "CENTRO 2"
                                             << "Conexion: <Sucursal Peñón> Almacen: CENTRO 2";
}

void tst_MainWindow::statusText()
{
    QFETCH(QString, connection);
    QFETCH(QString, warehouse);
    QFETCH(QString, expected);
    ScriptedPrompter prompter;
    MainWindowController::Hooks hooks;
    hooks.selectedConnection = [&] { return connection; };
    hooks.warehouse = [&] { return warehouse; };
    MainWindowController controller(prompter, hooks);
    QCOMPARE(controller.statusText(), expected);
}

void tst_MainWindow::exitQuestion_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("yes leaves") << true;
    QTest::newRow("no stays") << false;
}

void tst_MainWindow::exitQuestion()
{
    QFETCH(bool, answer);
    ScriptedPrompter prompter;
    prompter.answers << answer;
    MainWindowController controller(prompter);
    QCOMPARE(controller.mnuArchivo_Salir(), answer);
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown.first().text,
             QStringLiteral("Esta usted seguro que desea salir de la aplicación"));
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Question);
    QCOMPARE(prompter.shown.first().defaultYes, false);
}

void tst_MainWindow::queryUnload_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("control box is refused") << Mode::ControlBox << true << QStringList();
    QTest::newRow("unload by the program shuts down")
        << Mode::Code << false << QStringList{"unloadWindows", "terminateProgram"};
    QTest::newRow("end of session shuts down")
        << Mode::Session << false << QStringList{"unloadWindows", "terminateProgram"};
}

void tst_MainWindow::queryUnload()
{
    QFETCH(Mode, mode);
    QFETCH(bool, cancelled);
    QFETCH(QStringList, calls);
    ScriptedPrompter prompter;
    Recorder rec;
    MainWindowController controller(prompter, rec.hooks());
    controller.setUnloadWindows([&] { rec.calls << "unloadWindows"; });
    QCOMPARE(controller.queryUnload(mode), cancelled);
    QCOMPARE(rec.calls, calls);
    QVERIFY(prompter.shown.isEmpty());
}

void tst_MainWindow::shutdownRunsOnce()
{
    // The shutdown unloads the main window again: that close must go through untouched.
    ScriptedPrompter prompter;
    Recorder rec;
    MainWindowController controller(prompter, rec.hooks());
    controller.hooks().terminateProgram = [&] {
        rec.calls << "terminateProgram";
        QCOMPARE(controller.queryUnload(Mode::Code), false);
        throw std::runtime_error("a failing shutdown step must not stop the close");
    };
    QCOMPARE(controller.queryUnload(Mode::Code), false);
    QCOMPARE(controller.queryUnload(Mode::ControlBox), false);
    QCOMPARE(rec.calls, QStringList{"terminateProgram"});
}

void tst_MainWindow::firstActivationOnlyOnce()
{
    ScriptedPrompter prompter;
    Recorder rec;
    MainWindowController controller(prompter, rec.hooks());
    QSignalSpy status(&controller, &MainWindowController::statusTextChanged);
    controller.hooks().selectWarehouse = [&] {
        rec.calls << "selectWarehouse";
        QVERIFY(!controller.activate()); // the modal window re-activates the frame
    };
    QVERIFY(controller.activate());
    QVERIFY(!controller.activate());
    QCOMPARE(rec.calls, (QStringList{"selectWarehouse", "script:OnStartUpProgram"}));
    QCOMPARE(status.size(), 1);
    QCOMPARE(status.first().first().toString(), QStringLiteral("Conexion: <Matriz> Almacen: ALM01"));
}

void tst_MainWindow::changeOfUser_data()
{
    QTest::addColumn<bool>("loginOk");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("statusUpdates");
    QTest::newRow("accepted user reloads the session")
        << true << QStringList{"login", "selectWarehouse", "buildReportsMenu", "applyMenuPermissions"} << 1;
    QTest::newRow("refused login keeps everything") << false << QStringList{"login"} << 0;
}

void tst_MainWindow::changeOfUser()
{
    QFETCH(bool, loginOk);
    QFETCH(QStringList, calls);
    QFETCH(int, statusUpdates);
    ScriptedPrompter prompter;
    Recorder rec;
    MainWindowController controller(prompter, rec.hooks(loginOk));
    QSignalSpy status(&controller, &MainWindowController::statusTextChanged);
    QSignalSpy message(&controller, &MainWindowController::messageChanged);
    QCOMPARE(controller.mnuArchivo_Usuario(), loginOk);
    QCOMPARE(rec.calls, calls);
    QCOMPARE(status.size(), statusUpdates);
    // The previous user's greeting gives way to the new user's name.
    QCOMPARE(message.size(), statusUpdates);
    if (loginOk)
        QCOMPARE(message.first().first().toString(), QStringLiteral("Usuario: CAJERO"));
}

void tst_MainWindow::windowCloseTakesItsFrame()
{
    ScriptedPrompter prompter;
    MainWindowController controller(prompter);
    mdiMain w(controller);
    auto *inner = new QWidget;
    QPointer<QMdiSubWindow> sub = w.addWindow(inner);
    inner->close(); // what a window's "Cerrar" does
    QTRY_VERIFY(sub.isNull());
    QVERIFY(w.mdiArea()->subWindowList().isEmpty());

    // Closing the frame itself closes its window once.
    auto *second = new QWidget;
    QPointer<QWidget> secondAlive = second;
    QPointer<QMdiSubWindow> sub2 = w.addWindow(second);
    sub2->close();
    QTRY_VERIFY(sub2.isNull());
    QVERIFY(secondAlive.isNull());
}

// A large window opened after others stays inside the frame instead of hanging off its edge.
void tst_MainWindow::windowsStayInsideTheFrame()
{
    ScriptedPrompter prompter;
    MainWindowController controller(prompter);
    mdiMain w(controller);
    w.resize(800, 560);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect area = w.mdiArea()->viewport()->rect();
    for (int i = 0; i < 4; ++i) {
        QMdiSubWindow *sub = w.addWindow(new QWidget, QSize(700, 450));
        QVERIFY2(area.contains(sub->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                .arg(sub->x())
                                                                .arg(sub->y())
                                                                .arg(sub->width())
                                                                .arg(sub->height())));
    }
}

void tst_MainWindow::menuBarCarriesEveryEntry()
{
    ScriptedPrompter prompter;
    MainWindowController controller(prompter);
    mdiMain w(controller);
    for (const MenuEntry &e : MenuTree::entries()) {
        const QList<QAction *> found = w.findChildren<QAction *>(e.name);
        QVERIFY2(!found.isEmpty(), qPrintable(e.name));
        if (e.isMenu()) {
            QMenu *m = w.findChild<QMenu *>(e.name);
            QVERIFY2(m, qPrintable(e.name));
            QCOMPARE(m->menuAction()->text(), e.caption);
            QCOMPARE(w.menu(e.name), m);
        } else {
            QCOMPARE(found.size(), 1);
            QCOMPARE(found.first()->text(), e.caption);
            // The entry sits in its parent's menu, so permissions hide it where the user looks.
            QVERIFY(w.menu(e.parent)->actions().contains(found.first()));
        }
    }
    QStringList topNames;
    for (QAction *a : w.menuBar()->actions())
        topNames << a->objectName();
    QStringList expected;
    for (const MenuEntry *e : MenuTree::topLevel())
        expected << e->name;
    QCOMPARE(topNames, expected);
    QCOMPARE(w.reportsMenu(), w.findChild<QMenu *>("mnuReporte"));
    QVERIFY(!w.menuAction("mnuReporte_Reportes")->isVisible());
}

void tst_MainWindow::commandsStartDisabled()
{
    ScriptedPrompter prompter;
    MainWindowController controller(prompter); // no login hook yet
    mdiMain w(controller);
    QVERIFY(w.menuAction("mnuArchivo_Salir")->isEnabled());
    QVERIFY(!w.menuAction("mnuArchivo_Usuario")->isEnabled());
    QVERIFY(!w.menuAction("mnuCatalogo_Almacen")->isEnabled());
    QVERIFY(!w.menuAction("mnuVentas_Ventas")->isEnabled());
    QVERIFY(w.menuAction("mnuCatalogo")->isEnabled());

    Recorder rec;
    MainWindowController withLogin(prompter, rec.hooks());
    mdiMain w2(withLogin);
    QVERIFY(w2.menuAction("mnuArchivo_Usuario")->isEnabled());
    w2.menuAction("mnuArchivo_Usuario")->trigger();
    QCOMPARE(rec.calls.value(0), QStringLiteral("login"));
}

void tst_MainWindow::setCommandEnablesAndRuns()
{
    ScriptedPrompter prompter;
    MainWindowController controller(prompter);
    mdiMain w(controller);
    int first = 0, second = 0;
    QVERIFY(w.setCommand("mnuSistema_Configuracion", [&] { ++first; }));
    QVERIFY(w.menuAction("mnuSistema_Configuracion")->isEnabled());
    w.menuAction("mnuSistema_Configuracion")->trigger();
    QCOMPARE(first, 1);

    // Wiring again replaces the command instead of running both.
    QVERIFY(w.setCommand("mnuSistema_Configuracion", [&] { ++second; }));
    w.menuAction("mnuSistema_Configuracion")->trigger();
    QCOMPARE(first, 1);
    QCOMPARE(second, 1);

    QVERIFY(w.setCommand("mnuSistema_Configuracion", {}));
    QVERIFY(!w.menuAction("mnuSistema_Configuracion")->isEnabled());

    QVERIFY(!w.setCommand("mnuSistema", [] {}));               // a menu, not a command
    QVERIFY(!w.setCommand("mnuNoExiste", [] {}));              // unknown
    QVERIFY(!w.setCommand("mnusistema_configuracion", [] {})); // names are exact
}

void tst_MainWindow::catalogueEntriesOpenTheGenericWindow()
{
    ScriptedPrompter prompter;
    MainWindowController controller(prompter);
    mdiMain w(controller);
    QStringList opened;
    const int wired = w.setCatalogueCommand([&](const MenuEntry &e) { opened << e.catalogue.title; });
    QCOMPARE(wired, 44);
    w.menuAction("mnuSistema_EDI_LayOut")->trigger();
    w.menuAction("mnuConsultorio_Pacientes")->trigger();
    QCOMPARE(opened, (QStringList{"LayOuts", "Paciente"}));
    QVERIFY(!w.menuAction("mnuSistema_Configuracion")->isEnabled()); // its own window, not a catalogue
    QVERIFY(!w.menuAction("mnuVentas_Ventas")->isEnabled());

    // The permission pass sees every entry once, menus included, in tree order.
    const QList<QAction *> all = w.menuActions();
    QCOMPARE(all.size(), MenuTree::entries().size());
    QCOMPARE(all.first()->objectName(), QStringLiteral("mnuArchivo"));
    QCOMPARE(all.last()->objectName(), QStringLiteral("mnuAsistencia_Registro"));
}

void tst_MainWindow::controlBoxCloseIsRefused()
{
    ScriptedPrompter prompter;
    Recorder rec;
    MainWindowController controller(prompter, rec.hooks());
    mdiMain w(controller);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.windowHandle());
    QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(w.windowHandle());
    QCoreApplication::processEvents();
    QVERIFY(w.isVisible());
    QVERIFY(!rec.calls.contains("terminateProgram"));
    QVERIFY(prompter.shown.isEmpty()); // refused silently, no question
}

void tst_MainWindow::exitAnsweredNoKeepsWindow()
{
    ScriptedPrompter prompter;
    prompter.answers << false;
    Recorder rec;
    MainWindowController controller(prompter, rec.hooks());
    mdiMain w(controller);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.menuAction("mnuArchivo_Salir")->trigger();
    QVERIFY(w.isVisible());
    QCOMPARE(prompter.texts(), QStringList{MainWindowController::kExitQuestion});
    QVERIFY(!rec.calls.contains("terminateProgram"));
}

void tst_MainWindow::exitAnsweredYesUnloadsAndTerminates()
{
    ScriptedPrompter prompter;
    prompter.answers << true;
    Recorder rec;
    MainWindowController controller(prompter, rec.hooks());
    mdiMain w(controller);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *child = new QWidget;
    QPointer<QMdiSubWindow> sub = w.addWindow(child);
    QVERIFY(sub->isVisible());
    controller.hooks().terminateProgram = [&] {
        rec.calls << "terminateProgram";
        w.close(); // the shutdown unloads the main window itself
    };
    w.menuAction("mnuArchivo_Salir")->trigger();
    QVERIFY(!w.isVisible());
    QTRY_VERIFY(sub.isNull()); // every other window was unloaded first
    QCOMPARE(rec.calls.count("terminateProgram"), 1);
}

void tst_MainWindow::showingLoadsThenActivatesOnce()
{
    ScriptedPrompter prompter;
    Recorder rec;
    MainWindowController controller(prompter, rec.hooks());
    mdiMain w(controller);
    QVERIFY(rec.calls.isEmpty()); // nothing runs before the window is shown
    w.show();
    QTRY_VERIFY(controller.activated());
    QCOMPARE(rec.calls, (QStringList{"buildReportsMenu", "applyMenuPermissions", "selectWarehouse",
                                     "script:OnStartUpProgram"}));
    QCOMPARE(w.panelText(2), QStringLiteral("Conexion: <Matriz> Almacen: ALM01"));
    w.hide();
    w.show();
    QTest::qWait(20);
    QCOMPARE(rec.calls.size(), 4);
}

void tst_MainWindow::messagesGoToPanelOne()
{
    ScriptedPrompter prompter;
    MainWindowController controller(prompter);
    mdiMain w(controller);
    w.showMessage(QStringLiteral("Exportando"));
    QCOMPARE(w.panelText(1), QStringLiteral("Exportando"));
    QCOMPARE(w.panelText(2), QString());
    QCOMPARE(w.panelText(3), QString()); // no such panel
    w.runProcess(1, "dos");              // accepted, nothing happens
    QVERIFY(QMetaObject::invokeMethod(&w, "runProcess"));
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
