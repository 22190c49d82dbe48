#include "LoginController.h"

#include "Connection.h"
#include "ConnectionManager.h"
#include "ConnectionProvider.h"
#include "Log.h"
#include "LoginPassword.h"
#include "LoginValidator.h"
#include "Prompter.h"
#include "cAplication.h"
#include "cConfigure.h"

#include <QTime>

const QString LoginController::kModeTitle = QStringLiteral("Indique el Modo de Validacion de su Usuario");
const QString LoginController::kIndiqueUsuario = QStringLiteral("Indique el usuario");
const QString LoginController::kIndiqueContrasena = QStringLiteral("Indique la contraseña");
const QString LoginController::kIndiqueCredencial = QStringLiteral("Indique la credencial");
const QString LoginController::kToqueLector = QStringLiteral("Toque el lector de huella digital");
const QString LoginController::kContrasenaInvalida = QStringLiteral("Contraseña Invalida");
const QString LoginController::kHuellaNoValida = QStringLiteral("La huella no es valida");

namespace {
const QStringList kModes = {QStringLiteral("USUARIO"), QStringLiteral("CREDENCIAL"), QStringLiteral("HUELLA")};

QString elapsed(const QElapsedTimer &t)
{
    return QTime(0, 0).addMSecs(int(t.elapsed())).toString(QStringLiteral("HH:mm:ss"));
}
} // namespace

LoginController::LoginController(ConnectionProvider &connections, cConfigure &config, cAplication &app,
                                 Prompter &prompter, Hooks hooks, FingerprintReader *reader, QObject *parent)
    : QObject(parent), m_connections(connections), m_config(config), m_app(app), m_prompter(prompter),
      m_hooks(std::move(hooks)), m_reader(reader)
{
    if (!m_reader)
        return;
    connect(m_reader, &FingerprintReader::readerConnected, this,
            [this] { setFingerPrompt(QStringLiteral("El lector esta conectado")); });
    connect(m_reader, &FingerprintReader::readerDisconnected, this,
            [this] { setFingerPrompt(QStringLiteral("El lector esta desconectado")); });
    connect(m_reader, &FingerprintReader::fingerTouched, this,
            [this] { setFingerPrompt(QStringLiteral("El dedo ha sido puesto sobre el lector")); });
    connect(m_reader, &FingerprintReader::fingerRemoved, this,
            [this] { setFingerPrompt(QStringLiteral("El dedo ha sido removido del lector")); });
    connect(m_reader, &FingerprintReader::sampleQuality, this, [this](FingerprintReader::Quality q) {
        setFingerPrompt(q == FingerprintReader::Quality::Good ? QStringLiteral("La calidad de la huella es buena")
                                                              : QStringLiteral("La calidad de la huella es pobre"));
    });
    connect(m_reader, &FingerprintReader::sampleComplete, this, &LoginController::onSample);
}

LoginController::Mode LoginController::modeFrom(const QString &sesionModo)
{
    const QString m = sesionModo.trimmed().toUpper();
    if (m == kModes.at(1))
        return Mode::Credencial;
    if (m == kModes.at(2))
        return Mode::Huella;
    return Mode::Usuario;
}

QString LoginController::modeName(Mode mode)
{
    return kModes.at(int(mode));
}

void LoginController::load()
{
    m_loginOk = false;
    m_fingerKey = 0;
    loadTerminals();
    m_lastUser = m_config.getString(QStringLiteral("USUARIO"));
    m_mode = modeFrom(m_config.getString(QStringLiteral("SESION-MODO")));
    if (m_reader)
        setFingerPrompt(m_reader->isConnected() ? QStringLiteral("El lector esta conectado")
                                                : QStringLiteral("El lector esta desconectado"));
    else
        setFingerPrompt(QStringLiteral("El lector esta desconectado"));
    Q_EMIT modeChanged(m_mode);
}

void LoginController::loadTerminals()
{
    m_terminals.clear();
    m_terminalIndex = -1;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select term_Clave, term_Nombre from tTerminal order by term_Clave"));
        for (; !rs.eof(); rs.moveNext())
            m_terminals.append({rs.text(QStringLiteral("term_Clave")), rs.text(QStringLiteral("term_Nombre"))});
    } catch (const std::exception &e) {
        // An outdated database may lack the table: the login still explains what is wrong.
        writeLog(QStringLiteral("frmLogin: ") + QString::fromUtf8(e.what()));
    }
    const QString current = m_config.getString(QStringLiteral("TERMINAL"));
    for (int i = 0; i < m_terminals.size(); ++i)
        if (m_terminals.at(i).key.compare(current, Qt::CaseInsensitive) == 0)
            m_terminalIndex = i;
    m_chosenTerminal = m_terminalIndex;
    Q_EMIT terminalsChanged();
}

bool LoginController::cmdModoSesion()
{
    int index = int(m_mode);
    if (!m_prompter.choose(kModeTitle, kModeTitle, kModes, index) || index < 0 || index >= kModes.size())
        return false;
    m_config.setValue(QStringLiteral("SESION-MODO"), kModes.at(index));
    m_config.saveValue(QStringLiteral("SESION-MODO"));
    m_mode = Mode(index);
    Q_EMIT modeChanged(m_mode);
    return true;
}

bool LoginController::cmdConexion()
{
    // Read again: another workstation's administrator may have set it meanwhile.
    m_config.loadValue(QStringLiteral("CONEXION-PSW"));
    const QString required = m_config.getString(QStringLiteral("CONEXION-PSW"));
    if (!required.isEmpty()) {
        const std::optional<QString> typed = m_hooks.askPassword ? m_hooks.askPassword() : std::nullopt;
        if (!typed)
            return false;
        if (!LoginPassword::verify(required, *typed)) {
            m_prompter.exclamation(kContrasenaInvalida);
            return false;
        }
        if (LoginPassword::needsRehash(required)) {
            // A value kept in plain text by an older version is replaced by its hash once typed right.
            try {
                m_config.setValue(QStringLiteral("CONEXION-PSW"), LoginPassword::hash(*typed));
                m_config.saveValue(QStringLiteral("CONEXION-PSW"));
            } catch (const std::exception &e) {
                writeLog(QStringLiteral("cmdConexion: ") + QString::fromUtf8(e.what()));
            }
        }
    }
    if (!m_hooks.connectionDialog || !m_hooks.connectionDialog())
        return false;
    loadTerminals();
    return true;
}

bool LoginController::cmdOK(const QString &user, const QString &password, const QString &credential, int terminal)
{
    if (m_hooks.databaseCurrent && !m_hooks.databaseCurrent()) {
        m_prompter.critical(QStringLiteral("La base de datos no esta actualizada para usar esta version del sistema [") +
                            QLatin1String(ConnectionManager::kSchemaVersion) + QStringLiteral("]\nConexion: <") +
                            (m_hooks.selectedConnection ? m_hooks.selectedConnection() : QString()) +
                            QStringLiteral(">"));
        return false;
    }
    const auto refuse = [this](const QString &text, Field field) {
        m_prompter.information(text);
        Q_EMIT focusRequested(field);
        return false;
    };
    switch (m_mode) {
    case Mode::Usuario:
        if (user.trimmed().isEmpty())
            return refuse(kIndiqueUsuario, Field::User);
        if (!m_config.getBool(QStringLiteral("SESION-SIN-PSW")) && password.isEmpty())
            return refuse(kIndiqueContrasena, Field::Password);
        break;
    case Mode::Credencial:
        if (credential.trimmed().isEmpty())
            return refuse(kIndiqueCredencial, Field::Credential);
        break;
    case Mode::Huella:
        if (m_fingerKey <= 0)
            return refuse(kToqueLector, Field::Finger);
        break;
    }
    m_chosenTerminal = terminal;
    try {
        LoginValidator validator(m_connections, m_config, m_prompter);
        if (!validator.validateLogin(user.trimmed(), password, credential.trimmed(), m_fingerKey, true)) {
            m_fingerKey = 0;
            Q_EMIT focusRequested(m_mode == Mode::Usuario ? Field::User
                                  : m_mode == Mode::Credencial ? Field::Credential
                                                               : Field::Finger);
            return false;
        }
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmLogin.cmdOK"), ErrorInfo::fromException(e));
        return false;
    }
    if (terminal >= 0 && terminal < m_terminals.size()) {
        m_config.setValue(QStringLiteral("TERMINAL"), m_terminals.at(terminal).key);
        m_config.saveValue(QStringLiteral("TERMINAL"));
    }
    m_loginOk = true;
    return true;
}

void LoginController::cmdCancel()
{
    m_loginOk = false;
}

void LoginController::setFingerPrompt(const QString &text)
{
    m_fingerPrompt = text;
    Q_EMIT fingerPromptChanged(text);
}

void LoginController::onSample(const QByteArray &sample)
{
    if (m_mode != Mode::Huella || !m_reader)
        return;
    setFingerPrompt(QStringLiteral("Procesando la huella ..."));
    QElapsedTimer timer;
    timer.start();
    qint64 match = 0;
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("select hdigital_Clave from tHuellaDigital order by hdigital_Clave"));
        for (; !rs.eof() && match == 0; rs.moveNext()) {
            const qint64 key = rs.integer(QStringLiteral("hdigital_Clave"));
            if (m_reader->verify(sample, m_app.getDigitalFinger(key)))
                match = key;
        }
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("frmLogin.huella"), ErrorInfo::fromException(e));
        return;
    }
    if (match == 0) {
        setFingerPrompt(QStringLiteral("Verificacion fallida Tiempo:  ") + elapsed(timer));
        m_prompter.exclamation(kHuellaNoValida);
        return;
    }
    setFingerPrompt(QStringLiteral("La huella ha sido verificada Tiempo: ") + elapsed(timer));
    m_fingerKey = match;
    if (cmdOK(QString(), QString(), QString(), m_chosenTerminal))
        Q_EMIT accepted();
}
