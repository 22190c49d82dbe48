#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ConnectionProvider;
class Prompter;

// The rules of the module window frmModulo and the module list frmModuloCon. A module's path
// (mod_Arbol) is fixed when it is added: changing its parent later does not move it.
class ModuloEditor {
public:
    struct Modulo {
        QString clave;
        QString nombre;
        QString descripcion;
        QString claveSup;
        QString secuencia; // as typed; validaDatos checks it
        QString tipo;
        QString arbol;
    };

    // mode: "A" add, "C" change, "Q" query.
    ModuloEditor(ConnectionProvider &connections, Prompter &prompter, const QString &mode);

    QString mode() const { return m_mode; }
    QString title() const;

    // "key<Tab>name" entries for the kind and parent lists.
    QStringList tipos();
    QStringList modulos();
    // Every module ordered by path, for the module list.
    QList<Modulo> lista();

    bool consultarRegistro(const QString &clave, Modulo &m);
    bool validaDatos(const Modulo &m);
    // The field of the last refusal ("clave", "nombre" ...), for the form's focus; empty otherwise.
    const QString &campoRechazado() const { return m_campoRechazado; }
    // Add or change by mode; continuar receives the answer to "continue adding".
    bool guardaDatos(const Modulo &m, bool *continuar = nullptr);
    bool eliminarRegistro(const QString &clave);

private:
    bool agregarRegistro(const Modulo &m, bool *continuar);
    bool modificarRegistro(const Modulo &m);

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    QString m_campoRechazado;
    QString m_mode;
};
