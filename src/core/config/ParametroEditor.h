#pragma once

#include <QString>
#include <QStringList>

class ConnectionProvider;
class Prompter;

// The rules of frmParametro: maintenance of tParametro rows (type, key, name, value) in the
// modes add "A", change "C" and query "Q". Every message goes through the Prompter; a
// database error is reported (reportError) and the operation returns false.
class ParametroEditor {
public:
    struct Parametro {
        QString tipo;
        QString clave;
        QString nombre;
        QString valor;
    };

    ParametroEditor(ConnectionProvider &connections, Prompter &prompter);

    void setModo(const QString &modo) { m_modo = modo; }
    const QString &modo() const { return m_modo; }

    // Type, key and name are required ("Debe indicar un tipo", "… una clave", "… un nombre").
    bool validaDatos(const Parametro &p);
    // The field of the last refusal ("clave", "nombre" ...), for the form's focus; empty otherwise.
    const QString &campoRechazado() const { return m_campoRechazado; }
    // Refuses an existing (type, key); after the insert asks whether to go on adding, the
    // answer left in continuarAgregando().
    bool agregarRegistro(const Parametro &p);
    bool continuarAgregando() const { return m_continuar; }
    bool modificarRegistro(const Parametro &p);
    // Fills *p from the row of (tipo, clave); "La clave no existe" when there is none.
    bool consultarRegistro(const QString &tipo, const QString &clave, Parametro *p);
    // Asks first; false when the user says No or the row does not exist.
    bool eliminarRegistro(const QString &tipo, const QString &clave);

    // The groups already in use, for the type list.
    QStringList tipos();

private:
    bool requireKey(const QString &tipo, const QString &clave);
    bool fetch(const QString &tipo, const QString &clave, Parametro *p);

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    QString m_campoRechazado;
    QString m_modo = QStringLiteral("A");
    bool m_continuar = false;
};
