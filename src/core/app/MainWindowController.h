#pragma once

#include <QObject>
#include <QString>

#include <functional>

class Prompter;

// The rules of the main window: status text, the exit question, which close requests are
// refused, and the order of the first activation and of a change of user. The window only
// forwards its events here; the start-up code supplies the other windows through hooks.
class MainWindowController : public QObject {
    Q_OBJECT
public:
    // Why the main window is being closed.
    enum class CloseMode {
        ControlBox, // the user clicked the frame's close button: refused
        Code,       // the program unloads it (the exit command, shutdown)
        Session,    // the desktop session or the application is ending
    };

    struct Hooks {
        // "Servers"/"Selected" of the settings store and the session's ALMACEN.
        std::function<QString()> selectedConnection;
        std::function<QString()> warehouse;
        // The session's USUARIO.
        std::function<QString()> user;
        // frmSelAlmacen, modal.
        std::function<void()> selectWarehouse;
        // frmLogin, modal, terminal list disabled; true when a user was accepted.
        std::function<bool()> changeUser;
        std::function<void()> buildReportsMenu;
        std::function<void()> applyMenuPermissions;
        // Runs a named event script when an active one exists.
        std::function<void(const QString &)> runEventScript;
        // The shutdown routine; ends the process.
        std::function<void()> terminateProgram;
    };

    static const QString kExitQuestion;

    explicit MainWindowController(Prompter &prompter, Hooks hooks = {}, QObject *parent = nullptr);

    Hooks &hooks() { return m_hooks; }
    // The window closes its children through this before shutdown.
    void setUnloadWindows(std::function<void()> unload) { m_unloadWindows = std::move(unload); }

    // "Conexion: <" + connection + "> Almacen: " + warehouse
    static QString statusText(const QString &connection, const QString &warehouse);
    // "Usuario: " + user
    static QString userText(const QString &user);
    QString statusText() const;

    // On load: the reports menu, then the profile's rights.
    void load();
    // Runs once, on the first activation; later calls return false and do nothing.
    bool activate();
    bool activated() const { return m_activated; }
    bool canChangeUser() const { return bool(m_hooks.changeUser); }
    // Change of user; false (and nothing changed) when the login was not accepted.
    bool mnuArchivo_Usuario();
    // The exit question; true means the window is to be unloaded.
    bool mnuArchivo_Salir();
    // True when the close request is to be cancelled. Any other request unloads the other
    // windows and runs the shutdown, once.
    bool queryUnload(CloseMode mode);
    bool terminating() const { return m_terminating; }
    // After profiles or reports were edited.
    void reapplyPermissions();

Q_SIGNALS:
    void statusTextChanged(const QString &text);
    // The message panel: after a change of user it names the new user, so that no greeting or
    // message of the previous session stays on screen.
    void messageChanged(const QString &text);

private:
    void refreshStatus();

    Prompter &m_prompter;
    Hooks m_hooks;
    std::function<void()> m_unloadWindows;
    bool m_activated = false;
    bool m_terminating = false;
};
