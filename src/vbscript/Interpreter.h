#pragma once

#include "Ast.h"
#include "HostObject.h"
#include "Lexer.h"
#include "ScriptError.h"
#include "Resources.h"
#include "SymbolTable.h"

#include <QHash>

#include <atomic>
#include <deque>
#include <functional>
#include <list>
#include <memory>

namespace vbs {

class Interpreter;
class ErrObject;

using HostFunction = std::function<Value(Args &)>;
using ObjectFactory = std::function<HostObjectRef()>;

// An instance of a script Class.
class ClassInstance : public HostObject {
public:
    ClassInstance(Interpreter *in, std::shared_ptr<Unit> unit, ClassDef *cls);
    QString typeName() const override;
    bool get(const Name &name, Args &args, Value &result) override;
    bool set(const Name &name, Args &args, const Value &value, bool isSet) override;
    bool getDefault(Args &args, Value &result) override;
    bool setDefault(Args &args, const Value &value) override;
    bool enumerate(ValueList &items) override;
    ClassInstance *asClassInstance() override { return this; }

    ClassDef *cls() const { return m_cls; }
    std::vector<Value> fields;
    std::shared_ptr<Interpreter *> interp;

protected:
    void finalRelease() override;

private:
    std::shared_ptr<Unit> m_unit; // keeps the class's code alive as long as the instance
    ClassDef *m_cls;
};

struct Frame {
    Procedure *proc = nullptr; // nullptr: script level
    Value **vars = nullptr;
    ClassInstance *me = nullptr;
    bool resumeNext = false;
    bool explicitVars = false;
    // Undeclared names used as variables inside a procedure; a list, so ByRef pointers to them stay valid.
    std::list<std::pair<int, Value>> dynLocals;
    std::vector<Value> with;
};

enum class Flow : uint8_t { Normal, ExitDo, ExitFor, ExitProc };

struct Builtin;
class ArgPack;
constexpr int kInlineArgs = 8;

class Interpreter {
public:
    Interpreter();
    ~Interpreter();

    // host API support
    void reset();
    void addObject(const QString &name, const Value &object);
    void addFunction(const QString &name, HostFunction fn);
    void addCode(const QString &code);                        // throws ScriptError
    Value evaluate(const QString &expr);                      // throws ScriptError
    void executeStatements(const QString &code, bool global); // throws ScriptError
    Value callByName(const QString &name, Value **args, int n);
    bool hasProcedure(const QString &name) const;
    Value globalValue(const QString &name) const;
    void registerProgId(const QString &progId, ObjectFactory f)
    {
        m_progIds.insert(progId.toLower(), std::move(f));
    }
    HostObjectRef createObject(const QString &progId);

    // limits
    void setBudget(int64_t statements) { m_budgetLimit = statements; }
    void setMemoryLimit(size_t bytes) { m_memoryLimit = bytes; }
    void setTimeLimit(int64_t ms) { m_timeLimitMs = ms; }
    size_t memoryLimit() const { return m_memoryLimit; }
    int64_t timeLimit() const { return m_timeLimitMs; }
    void beginRun();
    ResourceMeter &meter() { return m_meter; }
    std::atomic<bool> cancel{false};
    int line() const { return m_line; }
    ErrObject &err() { return *m_err; }

    // evaluation
    Value eval(const Expr *e);
    void assign(const Expr *target, Value v, bool isSet);
    Value invokeProc(Procedure *p, ClassInstance *me, Value **args, int n);
    Value callValue(const Value &callee, Value **args, int n); // index an array or call a default member
    Value memberGet(const Value &obj, int sym, Value **args, int n);
    void memberSet(const Value &obj, int sym, Value **args, int n, const Value &v, bool isSet);
    Value evalInScope(const QString &text);                // Eval()
    void executeInScope(const QString &text, bool global); // Execute / ExecuteGlobal
    Value getRef(const QString &name);
    Value newInstance(int classSym);
    bool isTrue(const Value &v); // condition: Null is false

    SymbolTable symbols;
    Frame *frame = nullptr;
    int localeLcid = 1033;
    uint32_t rndSeed = 0x50000;
    float lastRnd = 0;
    std::shared_ptr<Interpreter *> self;

    // Binary operators (also used by built-ins).
    static Value binary(Op op, const Value &a, const Value &b);
    static Value compare(Op op, const Value &a, const Value &b, bool aLit, bool bLit);
    static Value negate(const Value &a);
    static Value logicalNot(const Value &a);
    static Value logical(Op op, const Value &a, const Value &b);

private:
    friend class ClassInstance;
    friend struct BuiltinLibrary;

    enum class Kind : uint8_t { None, Var, Proc, Class, HostFn };
    struct Binding {
        Kind kind = Kind::None;
        bool readOnly = false;
        int index = -1;
    };

    void loadUnit(const std::shared_ptr<Unit> &unit, bool runBody);
    Binding &binding(int sym)
    {
        if (size_t(sym) >= m_bind.size())
            m_bind.resize(size_t(symbols.size()) + 64);
        return m_bind[size_t(sym)];
    }
    const Builtin *builtin(int sym) const
    {
        return size_t(sym) < m_builtins.size() ? m_builtins[size_t(sym)] : nullptr;
    }
    Value *globalSlot(int sym);
    Value *findVariable(int sym, Frame &f); // declared or known variable, else nullptr
    Value *variableRef(const Expr *e);      // a by-reference argument target, or nullptr
    Value *implicitVariable(const Expr *e); // a name never used before, made a variable for ByRef
    Value readName(const IdentExpr *e);
    Value callName(const IdentExpr *id, const CallExpr *call);
    void assignName(int sym, Value v, bool isSet);
    Value evalCall(const CallExpr *c);
    Value evalMember(const MemberExpr *m);
    Value callBuiltin(const Builtin *b, Expr *const *args, int n);
    void bindArg(ArgPack &pack, int i, const Expr *arg, bool byRef);
    void writeBack(ArgPack &pack);
    Value withObject();
    Value indexArray(const Value &arr, Value **args, int n);
    Value *arrayElement(Value &arr, Value **args, int n, bool forWrite);
    Value classMemberGet(ClassInstance *inst, const ClassMember *m, Value **args, int n);
    void classMemberSet(ClassInstance *inst, const ClassMember *m, Value **args, int n, const Value &v,
                        bool isSet);
    Value assignedValue(Value v, bool isSet);
    bool letTakesObject(const Value &obj, int sym) const;
    void assignNested(const CallExpr *c, Value v, bool isSet);
    Flow enterAfterFailedHeader(const Block &body, const ScriptError &e, bool forLoop);

    Flow execBlock(const Block &b);
    Flow exec(const Stmt *s);
    Flow execIf(const IfStmt *s);
    Flow execFor(const ForStmt *s);
    Flow execForEach(const ForEachStmt *s);
    Flow execDo(const DoStmt *s);
    Flow execSelect(const SelectStmt *s);
    void execReDim(const ReDimStmt *s);
    void noteError(const ScriptError &e);
    // Deep recursion (expressions, calls, Eval, default members) ends in error 28 before the
    // native stack does.
    void checkStack() const
    {
        if (stackPointer() < m_stackLimit)
            raise(28);
    }
    void tick()
    {
        if (m_budget > 0 && --m_budget == 0)
            throw Abort{QStringLiteral("Script stopped: statement budget exhausted")};
        if (cancel.load(std::memory_order_relaxed))
            throw Abort{QStringLiteral("Script stopped: cancelled by the host")};
        m_meter.tick();
    }

    std::vector<Binding> m_bind;
    std::deque<Value> m_globals;
    std::vector<Procedure *> m_procs;
    std::vector<ClassDef *> m_classes;
    std::vector<std::shared_ptr<Unit>> m_classUnits;
    std::vector<HostFunction> m_hostFns;
    std::vector<const Builtin *> m_builtins;
    std::vector<std::shared_ptr<Unit>> m_units;
    QHash<QString, ObjectFactory> m_progIds;
    Ref<ErrObject> m_err;
    Frame m_scriptFrame;
    int m_depth = 0;
    int m_line = 0;
    int64_t m_budget = 0;
    int64_t m_budgetLimit = 0;
    uintptr_t m_stackLimit = 0;
    size_t m_memoryLimit = 0;
    int64_t m_timeLimitMs = 0;
    ResourceMeter m_meter;

    // Reused for Eval and report formulas so each evaluation allocates next to nothing.
    std::vector<Token> m_tokens;
    std::vector<Token> m_codeTokens;
    std::unique_ptr<Unit> m_evalUnit;
    int m_evalDepth = 0;
};

// Err object of the running interpreter.
class ErrObject : public HostObject {
public:
    QString typeName() const override { return QStringLiteral("ErrObject"); }
    bool get(const Name &name, Args &args, Value &result) override;
    bool set(const Name &name, Args &args, const Value &value, bool isSet) override;
    bool getDefault(Args &args, Value &result) override;
    void clear()
    {
        number = 0;
        description.clear();
        source.clear();
        helpFile.clear();
        helpContext = 0;
        line = 0;
    }
    int number = 0;
    QString description, source, helpFile;
    int helpContext = 0;
    int line = 0;
};

// Built-in function entry.
struct Builtin {
    const char *name;
    int minArgs;
    int maxArgs;
    Value (*fn)(Interpreter &in, Value *args, int n);
};
const Builtin *builtinTable(int &count);
// Objects the engine makes itself for CreateObject.
HostObjectRef createStandardObject(const QString &progIdLower);
HostObjectRef newRegExp();

} // namespace vbs
