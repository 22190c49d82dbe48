#include "mdiMain.h"

#include "AjustePantalla.h"
#include "MainWindowController.h"
#include "MenuTree.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

mdiMain::mdiMain(MainWindowController &controller, QWidget *parent)
    : QMainWindow(parent), m_controller(controller)
{
    setObjectName(QStringLiteral("mdiMain"));
    setWindowTitle(QStringLiteral("Mostrador"));
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setBackground(QColor(0x3a, 0x4f, 0x66));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    resize(1024, 720);

    buildMenus();
    buildStatusBar();

    connect(&m_controller, &MainWindowController::statusTextChanged, this,
            [this](const QString &text) { setPanelText(2, text); });
    connect(&m_controller, &MainWindowController::messageChanged, this, &mdiMain::showMessage);
    m_controller.setUnloadWindows([this] { unloadOtherWindows(); });

    // The two commands the window owns; every other one is wired by whoever owns its window.
    setCommand(QStringLiteral("mnuArchivo_Salir"), [this] {
        if (m_controller.mnuArchivo_Salir())
            unload();
    });
    if (m_controller.canChangeUser())
        setCommand(QStringLiteral("mnuArchivo_Usuario"), [this] { m_controller.mnuArchivo_Usuario(); });
}

mdiMain::~mdiMain()
{
    m_controller.setUnloadWindows({});
}

void mdiMain::buildMenus()
{
    for (const MenuEntry &e : MenuTree::entries()) {
        QWidget *parentWidget =
            e.parent.isEmpty() ? static_cast<QWidget *>(menuBar()) : m_menus.value(e.parent);
        Q_ASSERT(parentWidget); // the tree lists parents before children
        if (e.separatorBefore && !e.parent.isEmpty())
            m_menus.value(e.parent)->addSeparator();
        if (e.isMenu()) {
            QMenu *m = e.parent.isEmpty() ? menuBar()->addMenu(e.caption)
                                          : m_menus.value(e.parent)->addMenu(e.caption);
            m->setObjectName(e.name);
            m->menuAction()->setObjectName(e.name);
            m_menus.insert(e.name, m);
            m_actions.insert(e.name, m->menuAction());
            continue;
        }
        QAction *a = m_menus.value(e.parent)->addAction(e.caption);
        a->setObjectName(e.name);
        a->setEnabled(false);
        if (e.kind == MenuEntry::Kind::Placeholder)
            a->setVisible(false);
        m_actions.insert(e.name, a);
    }
}

void mdiMain::buildStatusBar()
{
    for (int i = 1; i <= kPanelCount; ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("pnlStatus%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumWidth(i == 1 ? 300 : 200);
        panel->setContentsMargins(4, 0, 4, 0);
        statusBar()->addWidget(panel, i == 1 ? 3 : 2);
        m_panels << panel;
    }
}

bool mdiMain::setCommand(const QString &menuName, std::function<void()> command)
{
    const MenuEntry *entry = MenuTree::find(menuName);
    QAction *a = m_actions.value(menuName);
    if (!entry || entry->isMenu() || !a)
        return false;
    if (const auto old = m_commands.take(menuName))
        disconnect(old);
    if (!command) {
        a->setEnabled(false);
        return true;
    }
    m_commands.insert(menuName,
                      connect(a, &QAction::triggered, this, [command = std::move(command)] { command(); }));
    a->setEnabled(true);
    return true;
}

int mdiMain::setCatalogueCommand(const std::function<void(const MenuEntry &)> &open)
{
    int wired = 0;
    for (const MenuEntry &e : MenuTree::entries()) {
        if (e.opens != QLatin1String(MenuTree::kCatalogueWindow) || !e.catalogue.isValid())
            continue;
        const MenuEntry *entry = &e; // the tree is static: the pointer outlives the window
        wired += setCommand(e.name, open ? std::function<void()>([open, entry] { open(*entry); })
                                         : std::function<void()>());
    }
    return wired;
}

QList<QAction *> mdiMain::menuActions() const
{
    QList<QAction *> out;
    for (const MenuEntry &e : MenuTree::entries())
        if (QAction *a = m_actions.value(e.name))
            out << a;
    return out;
}

QAction *mdiMain::menuAction(const QString &menuName) const
{
    return m_actions.value(menuName);
}

QMenu *mdiMain::menu(const QString &menuName) const
{
    return m_menus.value(menuName);
}

QMenu *mdiMain::reportsMenu() const
{
    return m_menus.value(QString::fromLatin1(MenuTree::kReportsMenu));
}

namespace {

// A window that closes itself (its "Cerrar") takes its frame along; otherwise the frame would stay
// open and empty. Closing the frame closes the window first, which Qt does not repeat.
class CierraMarco : public QObject {
public:
    explicit CierraMarco(QMdiSubWindow *sub) : QObject(sub), m_sub(sub) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close && event->isAccepted())
            m_sub->close();
        return false;
    }

private:
    QMdiSubWindow *m_sub;
};

} // namespace

QMdiSubWindow *mdiMain::addWindow(QWidget *window, QSize size)
{
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(window);
    if (size.isValid())
        sub->resize(size);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    window->installEventFilter(new CierraMarco(sub));
    sub->show();
    // The area places a new frame where its cascade goes on: keep the whole frame in view.
    AjustePantalla::ajusta(sub);
    return sub;
}

void mdiMain::setPanelText(int panel, const QString &text)
{
    if (panel >= 1 && panel <= m_panels.size())
        m_panels.at(panel - 1)->setText(text);
}

QString mdiMain::panelText(int panel) const
{
    return (panel >= 1 && panel <= m_panels.size()) ? m_panels.at(panel - 1)->text() : QString();
}

void mdiMain::showMessage(const QString &text)
{
    setPanelText(1, text);
}

void mdiMain::runProcess(const QVariant &, const QVariant &, const QVariant &) {}

void mdiMain::unload()
{
    m_unloading = true;
    close();
    m_unloading = false;
}

void mdiMain::unloadOtherWindows()
{
    m_mdiArea->closeAllSubWindows();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        if (w != this && w->isVisible())
            w->close();
}

void mdiMain::closeEvent(QCloseEvent *event)
{
    using Mode = MainWindowController::CloseMode;
    // The frame's close button arrives from the window system; the program's own unload and
    // the end of the application do not.
    const Mode mode = m_unloading ? Mode::Code : (event->spontaneous() ? Mode::ControlBox : Mode::Session);
    if (m_controller.queryUnload(mode))
        event->ignore();
    else
        event->accept();
}

void mdiMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Loaded when first shown, so the hooks may reach this window once it exists.
    if (!m_loaded) {
        m_loaded = true;
        m_controller.load();
    }
    // Without a window manager the frame may never be activated; the first show counts as one.
    if (!m_controller.activated())
        QTimer::singleShot(0, this, [this] { firstActivation(); });
}

bool mdiMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_controller.activated())
        QTimer::singleShot(0, this, [this] { firstActivation(); });
    return QMainWindow::event(event);
}

void mdiMain::firstActivation()
{
    if (isVisible())
        m_controller.activate();
}
