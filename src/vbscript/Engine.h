#pragma once

#include "Convert.h" // toString, toLong ... for host objects
#include "HostObject.h"
#include "ScriptError.h"
#include "Value.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

// VBScript engine: the host API the program calls.
//
//   vbs::Engine engine;
//   engine.setLocale(2058);                          // es-mx; SetLocale in a script also works
//   engine.addObject("xConfig", configQObject);      // Q_PROPERTY / Q_INVOKABLE members, any case
//   engine.addObject("xVenta", vbs::HostObjectRef(new VentaHost(...)));   // explicit interface
//   engine.addFunction("trace", [](vbs::Args &a) { ...; return vbs::Value(); });
//   if (!engine.addCode(libraryText) || !engine.run("OnTicketPrint"))
//       show(engine.errorText());                    // "Type mismatch: 'x' (line 12)"
//   QVariant v = engine.eval("1250.5 * 1.16 > \"1000\"");
//   engine.reset();                                  // forget code, variables and named objects
//
// Every call returns normally; failures are reported by the return value and lastError().
// Scripts cannot hang the host: setStatementBudget() bounds the statements run by one call, and
// cancel() (callable from another thread) stops the running call. An engine is used from one thread.
namespace vbs {

class Interpreter;

using HostFunction = std::function<Value(Args &)>;
using ObjectFactory = std::function<HostObjectRef()>;

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // Forgets all code, variables, named objects and host functions; keeps ProgIDs, budget and locale.
    void reset();

    // Named objects, visible to scripts as global names. A QObject is not owned; it must outlive its use.
    void addObject(const QString &name, QObject *object);
    void addObject(const QString &name, const HostObjectRef &object);
    // A host-implemented global function, e.g. trace(text).
    void addFunction(const QString &name, HostFunction fn);
    // CreateObject(progId) makes objects through this factory (case-insensitive ProgID).
    void registerProgId(const QString &progId, ObjectFactory factory);

    // Adds procedures and runs the top-level statements of `code`. Later code may call earlier code.
    bool addCode(const QString &code);
    // Runs a Sub or Function by name. QVariant arguments are passed by value.
    bool run(const QString &procedure, const QVariantList &args = {}, QVariant *result = nullptr);
    // Same with script values; ByRef parameters write back into `args`.
    bool call(const QString &procedure, ValueList &args, Value *result = nullptr);
    // Runs statements at script level (ExecuteGlobal).
    bool execute(const QString &statements);
    // Evaluates one expression at script level.
    bool evaluate(const QString &expression, Value &result);
    QVariant eval(const QString &expression, bool *ok = nullptr);

    bool hasProcedure(const QString &name) const;
    Value global(const QString &name) const;

    bool hasError() const { return m_hasError; }
    const ScriptError &lastError() const { return m_error; }
    // Description with its line, e.g. "Division by zero (line 3)".
    QString errorText() const;
    void clearError();

    // At most `statements` statements per call (0: no limit).
    void setStatementBudget(qint64 statements);
    // A call fails with "Out of memory" (number 7, not catchable by On Error Resume Next) when the
    // process heap would grow by more than `bytes` during it (0: no limit). The heap is the whole
    // process's, so other threads' allocations during the call count too.
    void setMemoryLimit(qint64 bytes);
    // A call stops after `milliseconds` of wall-clock time (0: no limit), like the budget.
    void setTimeLimit(qint64 milliseconds);
    // Stops the call in progress (thread-safe); the call fails with a "cancelled" error.
    void cancel();

    // Locale for conversions and formats (LCID such as 2058 es-mx, 1033 en-us).
    bool setLocale(int lcid);
    bool setLocale(const QString &name);
    int locale() const;

    Interpreter &interpreter() { return *m_in; }

private:
    template <class F> bool guarded(F &&f);

    std::unique_ptr<Interpreter> m_in;
    ScriptError m_error;
    bool m_hasError = false;
    int m_running = 0; // guarded calls in progress (a host function may call back in)
};

// Conversions at the boundary with Qt.
QVariant toVariant(const Value &v);
Value fromVariant(const QVariant &v);
// A QObject seen by scripts: properties and invokable methods by name, without regard to case.
HostObjectRef wrapQObject(QObject *object);
// The same for an object a host method made for the script: a parentless one is the script's and
// is deleted with its last reference, unless someone gives it a parent first.
HostObjectRef wrapReturnedQObject(QObject *object);

} // namespace vbs

Q_DECLARE_METATYPE(vbs::Value)
