#pragma once

#include <QList>
#include <QSet>
#include <QString>

class ConnectionProvider;
class Prompter;

// The rules of the profile window frmPerfil: key and name, and the rights tree built level by
// level from tModulo with the profile's ticks from tSeguridad. Storing replaces the profile's
// rights (delete and insert) in one transaction.
class PerfilEditor {
public:
    // One module of the tree with its children.
    struct Node {
        QString key;
        QString name;
        bool checked = false;
        QList<Node> children;
    };

    static const QString kClaveEnUso;
    static const QString kAgregado;
    static const QString kActualizado;
    static const QString kConfirmaBaja;
    static const QString kEnUso;
    static const QString kEliminado;

    // mode: "A" add, "C" change, "Q" query.
    PerfilEditor(ConnectionProvider &connections, Prompter &prompter, const QString &mode);

    QString mode() const { return m_mode; }
    QString title() const;
    bool readOnly() const { return m_mode == QLatin1String("Q"); }

    // The tree for a profile (empty key: nothing ticked); a database error is reported.
    QList<Node> cargaArbol(const QString &perfil);
    static QSet<QString> checkedKeys(const QList<Node> &tree);

    // Name of an existing profile; "La clave no existe" and false when there is none.
    bool consultarRegistro(const QString &clave, QString &nombre);
    bool validaDatos(const QString &clave, const QString &nombre);
    // The field of the last refusal ("clave", "nombre" ...), for the form's focus; empty otherwise.
    const QString &campoRechazado() const { return m_campoRechazado; }
    // Writes the profile and its rights. In add mode returns the answer to "continue adding"
    // through continuar. False when refused or when the database failed (reported).
    bool guardaDatos(const QString &clave, const QString &nombre, const QSet<QString> &rights,
                     bool *continuar = nullptr);
    bool eliminarRegistro(const QString &clave);

private:
    QList<Node> level(const QString &perfil, const QString &parent, int depth);

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    QString m_campoRechazado;
    QString m_mode;
};
