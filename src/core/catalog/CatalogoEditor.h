#pragma once

#include "CatalogoDef.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

class ConnectionProvider;
class Permisos;
class Prompter;

// The maintenance rules of every catalogue the generic window keeps, driven by its description:
// modes add "A", change "C" and query "Q"; the rights of the description's window
// (<ventana>_cmdAlta, _cmdCambio, _cmdBaja, _cmdConsulta) are checked before each operation.
//
// Values travel as a map column → value: text as typed; numbers as text or numbers; dates as
// QDate or "dd/MM/yyyy"; flags as bool or their stored text; choices as a list entry
// ("text<blanks><Tab>key") or a bare key. consultarRegistro hands back texts, qint64, decimal
// text, QDate, bool and bare keys.
class CatalogoEditor {
public:
    static const QString kSinAcceso;
    static const QString kClaveNoExiste;
    static const QString kActualizado;
    static const QString kEliminado;
    static const QString kEnUso;
    static const QString kClaveInvalida;

    CatalogoEditor(const CatalogoDef &def, ConnectionProvider &connections, Permisos &permisos,
                   Prompter &prompter, const QString &modo = QStringLiteral("A"));

    const CatalogoDef &def() const { return m_def; }
    const QString &modo() const { return m_modo; }
    void setModo(const QString &modo) { m_modo = modo; }
    bool soloLectura() const { return m_modo == QLatin1String("Q"); }
    // "Alta de Bancos", "Cambio de Bancos", "Consulta de Bancos"
    QString titulo() const;
    // Whether the profile may run a command: 'A' add, 'C' change, 'B' delete, 'Q' consult.
    bool permitido(QChar comando) const;

    bool validaDatos(const QVariantMap &valores);
    // The column of the last refusal (empty after a success), for the form's focus.
    const QString &campoRechazado() const { return m_campoRechazado; }
    // After the insert asks whether to go on adding; the answer is left in continuarAgregando().
    bool agregarRegistro(const QVariantMap &valores);
    bool continuarAgregando() const { return m_continuar; }
    bool modificarRegistro(const QVariantMap &valores);
    bool consultarRegistro(const QStringList &clave, QVariantMap &valores);
    // Refuses a key other rows refer to, asks, then deletes the row with its own details.
    bool eliminarRegistro(const QStringList &clave);

    // The choice list of a column: list entries "text<blanks><Tab>key", ordered by text.
    QStringList lista(const CatalogoCampo &campo);
    // The key of a list entry (the second Tab-separated token), or the text itself.
    static QString claveDe(const QString &entrada);
    static QString entrada(const QString &texto, const QString &clave);

private:
    bool requiere(QChar comando);
    bool claveCompleta(const QStringList &clave);
    // The value as the database stores it; invalid QVariant for an empty optional value.
    QVariant valorSql(const CatalogoCampo &campo, const QVariant &valor) const;
    QVariant valorLeido(const CatalogoCampo &campo, const QVariant &valor) const;
    bool existe(const QStringList &clave, QString *nombre = nullptr);
    bool enUso(const QStringList &clave);
    QString whereClave() const;
    QStringList claveDe(const QVariantMap &valores) const;
    void falla(const char *donde, const std::exception &e);

    const CatalogoDef &m_def;
    ConnectionProvider &m_connections;
    Permisos &m_permisos;
    Prompter &m_prompter;
    QString m_modo;
    bool m_continuar = false;
    QString m_campoRechazado;
};
