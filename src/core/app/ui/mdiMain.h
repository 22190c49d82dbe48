#pragma once

#include <QHash>
#include <QMainWindow>
#include <QVariant>

#include <functional>

class MainWindowController;
struct MenuEntry;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The main window: a multiple-document frame whose menu (built from MenuTree) opens every
// other window. It binds widgets only; the rules are in MainWindowController.
class mdiMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 2;

    explicit mdiMain(MainWindowController &controller, QWidget *parent = nullptr);
    ~mdiMain() override;

    // Wires a menu command to what it opens and enables it; entries without a command stay
    // disabled. False for a name that is not a command of the menu.
    bool setCommand(const QString &menuName, std::function<void()> command);
    bool hasCommand(const QString &menuName) const { return m_commands.contains(menuName); }
    // Wires every entry that opens the generic catalogue window to open(entry); the entry
    // carries title, tables, restriction and whether permissions are applied again afterwards.
    // Returns how many entries were wired.
    int setCatalogueCommand(const std::function<void(const MenuEntry &)> &open);

    // Every menu and command action in tree order (what the permission pass walks).
    QList<QAction *> menuActions() const;

    // The QAction of a command, or the menuAction() of a menu; nullptr for an unknown name.
    QAction *menuAction(const QString &menuName) const;
    QMenu *menu(const QString &menuName) const;
    QMenu *reportsMenu() const;
    QMdiArea *mdiArea() const { return m_mdiArea; }

    // Opens a child window inside the frame, of size when given; the whole frame stays in view.
    QMdiSubWindow *addWindow(QWidget *window, QSize size = QSize());

    // Status bar panels are numbered from 1; panel 1 carries messages, panel 2 the connection.
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;

    // Leaves through the program's own door: the close that is not refused.
    void unload();

public Q_SLOTS:
    // Scripts may call it; it accepts the call and does nothing.
    void runProcess(const QVariant &a = {}, const QVariant &b = {}, const QVariant &c = {});
    // The msgBar of the application services.
    void showMessage(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildMenus();
    void buildStatusBar();
    void firstActivation();
    void unloadOtherWindows();

    MainWindowController &m_controller;
    QMdiArea *m_mdiArea = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QHash<QString, QMetaObject::Connection> m_commands;
    QList<QLabel *> m_panels;
    bool m_unloading = false;
    bool m_loaded = false;
};
