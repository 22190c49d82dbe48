#pragma once

#include <QString>

class ConnectionProvider;
class Prompter;
class cConfigure;

namespace db {
class Connection;
}

// validateLogin: who the user is, by SESION-MODO ("USUARIO", "CREDENCIAL", "HUELLA"), and the
// session values USUARIO and PERFIL once he is accepted. Database errors are thrown to the
// command that called it.
class LoginValidator {
public:
    static const QString kUsuarioInvalido;  // "Usuario o contraseña incorrecta"
    static const QString kCredencialInvalida;
    static const QString kHuellaInvalida;
    static const QString kUsuarioInactivo;

    LoginValidator(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    bool validateLogin(const QString &user, const QString &password, const QString &credential, qint64 fingerKey,
                       bool showMessages = true);

    // A branch's database: the user's profile when user and password are right, else an empty
    // string (after "Usuario o contraseña incorrecta" when a prompter is given).
    static QString validateUserOn(db::Connection &connection, const QString &user, const QString &password,
                                  Prompter *prompter = nullptr);

    // Refused passwords in a row for a user at a workstation; each refusal waits
    // failureDelayMs(count) before answering, and an accepted login starts again from zero.
    static int failuresOf(const QString &user, const QString &workstation);
    static int failureDelayMs(int failures);

private:
    void refusedPassword(const QString &user);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
};
