#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <exception>

class ConnectionProvider;
class Permisos;
class Prompter;

// The rules of the script editor frmCodigo over tCodigo, in the modes add "A", change "C",
// query "Q" and run "R". Every command checks its right (frmCodigo_cmdAlta, _cmdCambio,
// _cmdBaja, _cmdConsulta) before it touches the table, whoever calls it; messages go through
// the Prompter and a database error is reported, the command returning false.
class CodigoEditor {
public:
    struct Codigo {
        QString clave;
        QString nombre;
        QString text;
        QString activo; // "S" runs, "N" does not; empty when not chosen yet
    };

    static const QString kSinAcceso;
    static const QString kClaveEnUso;
    static const QString kAgregado;
    static const QString kNoExiste;
    static const QString kActualizado;
    static const QString kConfirmaBaja;
    static const QString kEliminado;
    static const QString kExportado;

    CodigoEditor(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter,
                 const QString &modo = QStringLiteral("A"));

    void setModo(const QString &modo) { m_modo = modo.trimmed().toUpper(); }
    const QString &modo() const { return m_modo; }
    QString titulo() const;
    // Key, name and flag cannot be edited in query and run modes; the key only when adding.
    bool soloLectura() const;

    // Whether the profile holds the right of a command: 'A' add, 'C' change, 'B' delete,
    // 'Q' query (change includes query), 'R' run (as powerful as changing a script).
    bool puede(QChar comando) const;

    bool validaDatos(const Codigo &c);
    // The field of the last refusal ("clave", "nombre" ...), for the form's focus; empty otherwise.
    const QString &campoRechazado() const { return m_campoRechazado; }
    // The key of the library script (CODIGO-LIBRERIA), which compiles whole, not as a procedure.
    void setLibreria(const QString &clave) { m_libreria = clave.trimmed(); }
    // Before a save: a text that does not compile is shown (errorSintaxis(), lineaError()) and
    // saved only when the user says so. True to go on saving.
    bool revisaSintaxis(const Codigo &c);
    const QString &errorSintaxis() const { return m_errorSintaxis; }
    int lineaError() const { return m_lineaError; }
    static QString preguntaSintaxis(const QString &error);
    // Refuses an existing key; afterwards asks whether to go on adding (continuarAgregando()).
    bool agregarRegistro(const Codigo &c);
    bool continuarAgregando() const { return m_continuar; }
    bool modificarRegistro(const Codigo &c);
    // Fills *c from the row of clave.
    bool consultarRegistro(const QString &clave, Codigo *c);
    // Asks first; false when the user says No, the key does not exist or the right is missing.
    bool eliminarRegistro(const QString &clave);

    // One recorded change of a script (tAuditoria), oldest first.
    struct Cambio {
        QDateTime fecha;
        QString operacion; // INSERT, UPDATE, DELETE
        QString usuario;   // the program's user; empty for a change made outside the program
        QString login;     // the database login (and address on PostgreSQL)
        QString estacion;
        QString anterior; // the row as JSON text; empty when added
        QString nuevo;    // empty when deleted
    };
    // Who changed the script of clave, when, from where and how; needs the query right.
    bool historial(const QString &clave, QList<Cambio> *cambios);

    // The script text to a file, UTF-8; "Se ha exportado exitosamente".
    bool exportar(const QString &archivo, const QString &texto);
    // A script file's text; false (reported) when it cannot be read.
    bool importar(const QString &archivo, QString *texto);
    // Byte-order marks decide; without one, valid UTF-8 is UTF-8 and anything else Windows-1252,
    // the encoding that older scripts were saved in.
    static QString decodeScript(const QByteArray &bytes);

private:
    bool checkRight(QChar comando);
    bool fetch(const QString &clave, Codigo *c);
    void report(const char *operation, const std::exception &e);

    ConnectionProvider &m_connections;
    Permisos &m_permisos;
    Prompter &m_prompter;
    QString m_campoRechazado;
    QString m_modo;
    bool m_continuar = false;
    QString m_libreria = QStringLiteral("LIBRERIA");
    QString m_errorSintaxis;
    int m_lineaError = 0;
};
