#include "LoginValidator.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Log.h"
#include "LoginPassword.h"
#include "Prompter.h"
#include "cConfigure.h"

#include <QHash>
#include <QThread>

#include <algorithm>

const QString LoginValidator::kUsuarioInvalido = QStringLiteral("Usuario o contraseña incorrecta");
const QString LoginValidator::kCredencialInvalida = QStringLiteral("Credencial Invalida");
const QString LoginValidator::kHuellaInvalida = QStringLiteral("Huella Invalida");
const QString LoginValidator::kUsuarioInactivo = QStringLiteral("EL Usuario no esta activo");

namespace {

QHash<QString, int> &failures()
{
    static QHash<QString, int> byUserAndWorkstation;
    return byUserAndWorkstation;
}

QString failureKey(const QString &user, const QString &workstation)
{
    return user.trimmed().toUpper() + QLatin1Char('|') + workstation;
}

const QString kColumns = QStringLiteral("SELECT USU_CLAVE,USU_PSW,alm_Clave,perf_Clave,eusu_Clave FROM TUSUARIO ");

} // namespace

int LoginValidator::failuresOf(const QString &user, const QString &workstation)
{
    return failures().value(failureKey(user, workstation));
}

int LoginValidator::failureDelayMs(int count)
{
    // Short enough not to annoy a cashier who mistyped, long enough to slow down guessing.
    return count <= 0 ? 0 : 250 << std::min(count - 1, 3);
}

void LoginValidator::refusedPassword(const QString &user)
{
    const int count = ++failures()[failureKey(user, m_config.getString(QStringLiteral("COMPUTER")))];
    QThread::msleep(ulong(failureDelayMs(count)));
}

LoginValidator::LoginValidator(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter)
{
}

bool LoginValidator::validateLogin(const QString &user, const QString &password, const QString &credential,
                                   qint64 fingerKey, bool showMessages)
{
    db::Connection &conn = m_connections.getConnection();
    const QString mode = m_config.getString(QStringLiteral("SESION-MODO")).trimmed().toUpper();
    db::Recordset rs;
    QString refusal;
    bool byPassword = false;
    if (mode == QLatin1String("CREDENCIAL")) {
        rs = conn.openRecordset(kColumns + QStringLiteral("WHERE usu_Credencial = ?"), {credential});
        refusal = kCredencialInvalida;
    } else if (mode == QLatin1String("HUELLA")) {
        rs = conn.openRecordset(kColumns + QStringLiteral("WHERE hdigital_Clave = ?"), {fingerKey});
        refusal = kHuellaInvalida;
    } else {
        // The password is checked here, not in the query: stored ones are hashes.
        rs = conn.openRecordset(kColumns + QStringLiteral("WHERE USU_CLAVE = ?"), {user});
        refusal = kUsuarioInvalido;
        byPassword = true;
    }
    const QString stored = rs.eof() ? QString() : rs.text(QStringLiteral("usu_Psw"));
    bool accepted = !rs.eof();
    if (byPassword) {
        // The same Argon2 work whether the user exists or not, so the refusal's time tells nothing.
        if (rs.eof() || !LoginPassword::isHashed(stored))
            LoginPassword::verifyNothing(password);
        accepted = accepted && LoginPassword::verify(stored, password);
        if (!accepted)
            refusedPassword(user);
        else
            failures().remove(failureKey(user, m_config.getString(QStringLiteral("COMPUTER"))));
    }
    if (!accepted) {
        if (showMessages)
            m_prompter.exclamation(refusal);
        return false;
    }
    if (rs.text(QStringLiteral("eusu_Clave")).trimmed() != QLatin1String("ACTIVO")) {
        if (showMessages)
            m_prompter.exclamation(kUsuarioInactivo);
        return false;
    }
    const QString clave = rs.text(QStringLiteral("usu_Clave"));
    if (byPassword && LoginPassword::needsRehash(stored)) {
        // An older database's plain text becomes a hash now that we know it was typed right.
        try {
            conn.execute(QStringLiteral("update tUsuario set usu_Psw = ? where usu_Clave = ? and usu_Psw = ?"),
                         {LoginPassword::hash(password), clave, stored});
        } catch (const std::exception &e) {
            writeLog(QStringLiteral("validateLogin: ") + QString::fromUtf8(e.what()));
        }
    }
    m_config.setValue(QStringLiteral("USUARIO"), clave);
    m_config.setValue(QStringLiteral("PERFIL"), rs.text(QStringLiteral("perf_Clave")));
    conn.setSessionContext(clave, m_config.getString(QStringLiteral("COMPUTER")));
    m_config.saveValue(QStringLiteral("USUARIO"));
    return true;
}

QString LoginValidator::validateUserOn(db::Connection &connection, const QString &user, const QString &password,
                                       Prompter *prompter)
{
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT USU_CLAVE,USU_PSW,alm_Clave,perf_Clave FROM TUSUARIO WHERE USU_CLAVE = ?"), {user});
    if (rs.eof() || !LoginPassword::isHashed(rs.text(QStringLiteral("usu_Psw"))))
        LoginPassword::verifyNothing(password);
    if (rs.eof() || !LoginPassword::verify(rs.text(QStringLiteral("usu_Psw")), password)) {
        if (prompter)
            prompter->exclamation(kUsuarioInvalido);
        return {};
    }
    return rs.text(QStringLiteral("perf_Clave"));
}
