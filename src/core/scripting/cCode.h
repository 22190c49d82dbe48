#pragma once

#include "Log.h"
#include "ScriptObjects.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class ConnectionProvider;
class Prompter;
class cConfigure;

namespace vbs {
class Engine;
}

// The event-script host (gCode, and more instances where a part runs its own scripts): loads a
// script of tCodigo by key, hands it the named objects and runs it in our VBScript engine.
//
//   code.Search("OnTicketPrint");            // the standard objects again, the row loaded
//   code.addObject("xVenta", venta);         // the document at hand
//   if (code.isLoad() && code.Activo())
//       code.execute();                      // false on a script error; the caller goes on
//
// A missing or inactive script runs nothing and is not an error. A script error ends that run:
// its text (with its line) stays in lastError(), goes to the log and to the user (error report),
// and the error hook is called (the program opens the editor there for users with the right).
class cCode : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isLoad READ isLoad)
    Q_PROPERTY(QString Clave READ Clave WRITE setClave)
    Q_PROPERTY(QString Nombre READ Nombre WRITE setNombre)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool Activo READ Activo WRITE setActivo)
public:
    // The standard named objects ("xConfig", "cn", "xLibStr" ...), built afresh at every Search.
    using ObjectListBuilder = std::function<ScriptObjects()>;
    // Called after a failed run with the key of the script that failed and the error text.
    using ErrorHook = std::function<void(const QString &clave, const QString &text)>;
    // Where the scripts' Echo(text) goes.
    using EchoSink = std::function<void(const QString &text)>;
    // Extra named objects of an event, in order.
    using NamedObjects = QList<std::pair<QString, QVariant>>;

    // Statements one run may take before it is stopped, so that no script hangs the program.
    static constexpr qint64 kStatementBudget = 200'000'000;

    // Compiles a script's text as its event would (wrapped in its procedure; the library whole),
    // running none of it. False with the error text (its line the text's own) when it does not
    // compile; run-time errors are not looked for.
    static bool compila(const QString &clave, const QString &text, bool libreria, QString *error = nullptr,
                        int *line = nullptr);

    cCode(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
          ObjectListBuilder standardObjects = {}, QObject *parent = nullptr);
    ~cCode() override;

    bool isLoad() const { return m_isLoad; }
    QString Clave() const { return m_clave; }
    void setClave(const QString &clave) { m_clave = clave; }
    QString Nombre() const { return m_nombre; }
    void setNombre(const QString &nombre) { m_nombre = nombre; }
    QString Text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    bool Activo() const { return m_activo; }
    void setActivo(bool activo) { m_activo = activo; }

    // Resets the named objects to the standard list and loads the row of tCodigo under clave;
    // whether it was found. A key that is not found leaves nothing loaded.
    Q_INVOKABLE bool Search(const QString &clave);
    // Runs the loaded script as the body of a procedure named after its key (the library script
    // is only added). True when it ran without error or there was nothing to run.
    Q_INVOKABLE bool execute();
    // Runs one procedure of the loaded script; true as for execute.
    Q_INVOKABLE bool Run(const QString &routine);

    // The wall-clock and memory caps of one run: from CODIGO-LIMITE-SEGUNDOS and
    // CODIGO-LIMITE-MEMORIA-MB unless set here (0: no limit; the command line sets none by default).
    void setLimites(qint64 segundos, qint64 megabytes);
    // Stops the script that is running (callable from another thread or a signal handler); it
    // ends with an error like any other failure.
    void cancel();
    // A named object for the next run. QObjects and script objects are handed over as they are;
    // plain values are wrapped in a CValue so the script reads and changes `.Value`. While a
    // script of this host runs, the list does not change (Search, addObject, clearObjects).
    Q_INVOKABLE void addObject(const QString &name, const QVariant &object);
    void addObject(const QString &name, QObject *object);
    // The object under name (the CValue wrapper for a plain value); invalid when there is none.
    Q_INVOKABLE QVariant getObject(const QString &name) const;
    Q_INVOKABLE bool existsObject(const QString &name) const;
    Q_INVOKABLE void clearObjects();
    // Clears the named objects and puts back the standard list (what Search starts with).
    void resetObjects();

    // The plain value under name: a CValue's Value, otherwise what getObject gives.
    QVariant valueOf(const QString &name) const;

    // One line for the events: Search, the extra objects, execute when found and active.
    // False when the script failed, or when it was raised from inside a running script of
    // this host (skipped and logged: the engine is in use).
    bool runEvent(const QString &clave, const NamedObjects &extraObjects = {});
    // Runs text with the full preparation (locale, objects, library) as the body of a
    // procedure named clave, as execute does for a stored script: the editor's run mode and
    // `mostrador-admin script file`. The named objects are the current list.
    bool executeText(const QString &clave, const QString &text);
    // Same for text made of procedures: adds it and runs routine.
    bool runText(const QString &clave, const QString &text, const QString &routine);

    // The error of the last run, with its line ("Division by zero (line 3)"); empty after a
    // run that succeeded.
    QString lastError() const { return m_lastError; }
    // The line of that error within the script's own text; 0 when unknown.
    int lastErrorLine() const { return m_lastErrorLine; }

    void setOnScriptError(ErrorHook hook) { m_onScriptError = std::move(hook); }
    // The program writes Echo output to the log (default); the command line prints it.
    void setEchoSink(EchoSink sink) { m_echo = std::move(sink); }

    const ScriptObjects &objects() const { return m_objects; }
    // The engine, for ProgID registration, budgets and the editor's help list.
    vbs::Engine &engine() { return *m_engine; }

    // The key of the library script (CODIGO-LIBRERIA).
    QString libraryKey() const;
    // The locale procedure added when LOCALE is true; empty otherwise.
    QString localeProcedure() const;

Q_SIGNALS:
    void scriptFailed(const QString &clave, const QString &text);

private:
    bool prepare(const QString &clave);
    bool runPrepared(const QString &clave, const QString &text, const QString &routine, bool wrap);
    // Keeps the engine's error for reporting once the run is over; always false.
    void endScriptTransactions();
    bool fail(const QString &clave, const QString &where);
    void reportFailure(const QString &clave, const QString &where, const ErrorInfo &info);
    bool refuseWhileRunning(const QString &clave);

    struct Failure {
        QString clave;
        QString where;
        ErrorInfo info;
    };
    void unload();

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    ObjectListBuilder m_standardObjects;
    std::unique_ptr<vbs::Engine> m_engine;
    ScriptObjects m_objects;

    bool m_isLoad = false;
    QString m_clave;
    QString m_nombre;
    QString m_text;
    bool m_activo = false;

    bool m_running = false;
    std::optional<Failure> m_failure;
    QString m_lastError;
    int m_lastErrorLine = 0;
    ErrorHook m_onScriptError;
    std::optional<std::pair<qint64, qint64>> m_limites; // seconds, megabytes
    EchoSink m_echo;
};
