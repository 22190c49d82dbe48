#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class ConnectionProvider;
class Permisos;
class Prompter;
class cConfigure;

// The rules of the user window frmUsuario: every column of tUsuario, the required fields, the
// card code's format and uniqueness, and the rights frmUsuario_cmdAlta / frmUsuario_cmdConsulta.
// Passwords are stored hashed; in change mode an empty password field keeps the stored one.
class UsuarioEditor {
public:
    // Columns of tUsuario the window edits, in form order (usu_Psw is handled apart).
    static const QStringList &columns();
    static const QStringList &dateColumns();
    // The caption of a column, as the form and the messages name it.
    static QString titulo(const QString &column);

    static const QString kSinAcceso;

    UsuarioEditor(ConnectionProvider &connections, cConfigure &config, Permisos &permisos, Prompter &prompter,
                  const QString &mode);

    QString mode() const { return m_mode; }
    QString title() const;
    // Whether the mode's command is allowed to this profile (add: cmdAlta; else cmdConsulta).
    bool allowed() const;

    // "key<Tab>name" lists for the combos.
    QStringList lista(const QString &table, const QString &keyColumn, const QString &nameColumn);

    // The card code as CREDENCIAL-FORMATO and CREDENCIAL-CODIGO-DE-BARRAS shape it.
    static QString formatoCredencial(const QString &code, const QString &formato, const QString &prefijo);
    QString formatoCredencial(const QString &code) const;

    bool consultarRegistro(const QString &clave, QVariantMap &usuario);
    // Refuses missing required fields, dates that are not dates and a postal code that is not
    // five digits; campoRechazado() then names the column, for the form's focus.
    bool validaDatos(const QVariantMap &usuario);
    const QString &campoRechazado() const { return m_campoRechazado; }
    bool guardaDatos(QVariantMap usuario, const QString &password, bool *continuar = nullptr);
    bool eliminarRegistro(const QString &clave);

private:
    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Permisos &m_permisos;
    Prompter &m_prompter;
    QString m_mode;
    QString m_campoRechazado;
};
