#pragma once

#include "FingerprintReader.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ConnectionProvider;
class Prompter;
class cAplication;
class cConfigure;

// The rules of the login window frmLogin: the three modes, the checks and messages before
// validateLogin, the connection command behind CONEXION-PSW, the terminal list and the
// fingerprint reader's prompt. The window forwards its events here and shows the state.
class LoginController : public QObject {
    Q_OBJECT
public:
    enum class Mode { Usuario, Credencial, Huella };
    enum class Field { User, Password, Credential, Finger };
    Q_ENUM(Mode)
    Q_ENUM(Field)

    struct Terminal {
        QString key;
        QString name;
    };

    struct Hooks {
        // gDatabaseCurrent and the name of the selected connection for the refusal text.
        std::function<bool()> databaseCurrent;
        std::function<QString()> selectedConnection;
        // frmPsw, modal: the typed text, or nullopt when cancelled.
        std::function<std::optional<QString>()> askPassword;
        // The connection dialog; true when a connection was accepted.
        std::function<bool()> connectionDialog;
    };

    static const QString kModeTitle;
    static const QString kIndiqueUsuario;
    static const QString kIndiqueContrasena;
    static const QString kIndiqueCredencial;
    static const QString kToqueLector;
    static const QString kContrasenaInvalida;
    static const QString kHuellaNoValida;

    LoginController(ConnectionProvider &connections, cConfigure &config, cAplication &app, Prompter &prompter,
                    Hooks hooks, FingerprintReader *reader = nullptr, QObject *parent = nullptr);

    // On load: not logged in, terminals from tTerminal, the last user, the mode's fields.
    void load();
    static Mode modeFrom(const QString &sesionModo);
    static QString modeName(Mode mode);
    Mode mode() const { return m_mode; }
    const QList<Terminal> &terminals() const { return m_terminals; }
    // Index of the configured TERMINAL in terminals(), -1 when it is not there.
    int terminalIndex() const { return m_terminalIndex; }
    QString lastUser() const { return m_lastUser; }
    QString fingerPrompt() const { return m_fingerPrompt; }
    bool loginOk() const { return m_loginOk; }
    qint64 capturedFinger() const { return m_fingerKey; }

    // The terminal chosen in the list (a fingerprint login uses it without a click on OK).
    void setChosenTerminal(int index) { m_chosenTerminal = index; }

    bool cmdModoSesion();
    bool cmdConexion();
    // terminal: index into terminals() (-1 keeps TERMINAL as it is). True when accepted.
    bool cmdOK(const QString &user, const QString &password, const QString &credential, int terminal);
    void cmdCancel();

Q_SIGNALS:
    void modeChanged(LoginController::Mode mode);
    void terminalsChanged();
    void fingerPromptChanged(const QString &text);
    void focusRequested(LoginController::Field field);
    // A verified fingerprint logged the user in: the window closes.
    void accepted();

private:
    void setFingerPrompt(const QString &text);
    void onSample(const QByteArray &sample);
    void loadTerminals();

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    cAplication &m_app;
    Prompter &m_prompter;
    Hooks m_hooks;
    FingerprintReader *m_reader;
    Mode m_mode = Mode::Usuario;
    QList<Terminal> m_terminals;
    int m_terminalIndex = -1;
    int m_chosenTerminal = -1;
    QString m_lastUser;
    QString m_fingerPrompt;
    qint64 m_fingerKey = 0;
    bool m_loginOk = false;
};
