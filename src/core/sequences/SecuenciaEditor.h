#pragma once

#include <QString>

#include <exception>

class ConnectionProvider;
class Prompter;

// The rules of frmSecuencia: maintenance of tSecuencia rows in the modes add "A", change "C"
// and query "Q". Numbers arrive as typed; every message goes through the Prompter and a
// database error is reported (reportError), the operation returning false.
class SecuenciaEditor {
public:
    struct Secuencia {
        QString clave;
        QString minimo;
        QString maximo;
        QString valor;
        QString incremento;
    };

    SecuenciaEditor(ConnectionProvider &connections, Prompter &prompter);

    void setModo(const QString &modo) { m_modo = modo.trimmed().toUpper(); }
    const QString &modo() const { return m_modo; }
    QString titulo() const;

    // Key, then whole numbers: lower bound, upper bound not below it, a step above zero and a
    // value not above the upper bound (below the lower one means "start at the lower bound").
    bool validaDatos(const Secuencia &s);
    // The field of the last refusal ("clave", "nombre" ...), for the form's focus; empty otherwise.
    const QString &campoRechazado() const { return m_campoRechazado; }
    // Refuses an existing key; afterwards asks whether to go on adding (continuarAgregando()).
    bool agregarRegistro(const Secuencia &s);
    bool continuarAgregando() const { return m_continuar; }
    bool modificarRegistro(const Secuencia &s);
    // Fills *s from the row of clave; "La clave no existe" when there is none.
    bool consultarRegistro(const QString &clave, Secuencia *s);
    // Asks first; false when the user says No or the row does not exist.
    bool eliminarRegistro(const QString &clave);

private:
    bool requireKey(const QString &clave);
    bool fetch(const QString &clave, Secuencia *s);
    void report(const char *operation, const std::exception &e);

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    QString m_campoRechazado;
    QString m_modo = QStringLiteral("A");
    bool m_continuar = false;
};
