#include "Interpreter.h"

#include "Convert.h"
#include "Parser.h"

#include <algorithm>
#include <cmath>

namespace vbs {

namespace {
constexpr int kMaxDepth = 900;
// tokens and syntax tree of Execute/Eval text, per source character (a generous estimate)
constexpr size_t kCodeBytesPerChar = 24;
} // namespace

// Arguments of one call: vars point at variables (ByRef) or at the temporaries here.
class ArgPack {
public:
    explicit ArgPack(int n) : m_n(n)
    {
        if (n > kInlineArgs) {
            m_bigTemps = std::make_unique<Value[]>(size_t(n));
            m_bigRefs = std::make_unique<Value *[]>(size_t(n));
            m_temps = m_bigTemps.get();
            m_refs = m_bigRefs.get();
        } else {
            m_temps = m_inlineTemps;
            m_refs = m_inlineRefs;
        }
    }
    Value **refs() { return m_refs; }
    Value &temp(int i)
    {
        m_refs[i] = &m_temps[i];
        return m_temps[i];
    }
    void ref(int i, Value *v) { m_refs[i] = v; }
    int size() const { return m_n; }

    // An array element passed ByRef: copied in, written back after the call.
    struct ElementArg {
        int arg;
        Value *array;
        std::vector<Value> subscripts;
    };
    std::vector<ElementArg> elements;

private:
    int m_n;
    Value m_inlineTemps[kInlineArgs];
    Value *m_inlineRefs[kInlineArgs];
    std::unique_ptr<Value[]> m_bigTemps;
    std::unique_ptr<Value *[]> m_bigRefs;
    Value *m_temps;
    Value **m_refs;
};

namespace {

struct FrameGuard {
    Interpreter &in;
    Frame *saved;
    FrameGuard(Interpreter &i, Frame *f) : in(i), saved(i.frame) { in.frame = f; }
    ~FrameGuard() { in.frame = saved; }
};

Value missingArg()
{
    return Value::error(int32_t(0x80020004u));
}

} // namespace

// ---------------------------------------------------------------- lifecycle

Interpreter::Interpreter()
{
    self = std::make_shared<Interpreter *>(this);
    m_err = makeRef<ErrObject>();
    int n = 0;
    const Builtin *table = builtinTable(n);
    for (int i = 0; i < n; ++i) {
        const int sym = symbols.intern(QString::fromLatin1(table[i].name));
        if (size_t(sym) >= m_builtins.size())
            m_builtins.resize(size_t(sym) + 1, nullptr);
        m_builtins[size_t(sym)] = &table[i];
    }
    frame = &m_scriptFrame;
    m_evalUnit = std::make_unique<Unit>();
    m_stackLimit = stackLimit();
}

Interpreter::~Interpreter()
{
    reset();
    *self = nullptr;
}

void Interpreter::reset()
{
    std::deque<Value> old;
    old.swap(m_globals);
    auto units = std::move(m_units);
    auto classUnits = std::move(m_classUnits);
    m_units.clear();
    m_classUnits.clear();
    std::fill(m_bind.begin(), m_bind.end(), Binding()); // keeps the table's size for the next run
    m_procs.clear();
    m_classes.clear();
    auto hostFns = std::move(m_hostFns);
    m_hostFns.clear();
    m_scriptFrame = Frame();
    frame = &m_scriptFrame;
    m_depth = 0;
    m_err->clear();
    cancel.store(false);
    old.clear(); // may run Class_Terminate, which finds an empty environment
    m_evalUnit->arena.clear();
}

void Interpreter::beginRun()
{
    m_stackLimit = stackLimit();
    m_budget = m_budgetLimit;
    m_meter.begin(m_memoryLimit, m_timeLimitMs);
    cancel.store(false, std::memory_order_relaxed);
}

void Interpreter::addObject(const QString &name, const Value &object)
{
    const int sym = symbols.intern(name);
    Binding &b = binding(sym);
    if (b.kind != Kind::Var) {
        b.kind = Kind::Var;
        b.index = int(m_globals.size());
        m_globals.emplace_back();
    }
    b.readOnly = true;
    m_globals[size_t(b.index)] = object;
}

void Interpreter::addFunction(const QString &name, HostFunction fn)
{
    const int sym = symbols.intern(name);
    Binding &b = binding(sym);
    b.kind = Kind::HostFn;
    b.index = int(m_hostFns.size());
    m_hostFns.push_back(std::move(fn));
}

void Interpreter::loadUnit(const std::shared_ptr<Unit> &unit, bool runBody)
{
    for (Procedure *p : unit->procedures) {
        p->explicitVars = unit->optionExplicit;
        Binding &b = binding(p->sym);
        if (b.kind == Kind::Proc) {
            m_procs[size_t(b.index)] = p;
        } else {
            b.kind = Kind::Proc;
            b.index = int(m_procs.size());
            m_procs.push_back(p);
        }
    }
    for (ClassDef *c : unit->classes) {
        for (auto &m : c->members) {
            for (Procedure *p : {m.second.get, m.second.let, m.second.set})
                if (p)
                    p->explicitVars = unit->optionExplicit;
        }
        Binding &b = binding(c->sym);
        b.kind = Kind::Class;
        b.index = int(m_classes.size());
        m_classes.push_back(c);
        m_classUnits.push_back(unit);
    }
    for (int sym : unit->globals) {
        Binding &b = binding(sym);
        if (b.kind != Kind::Var) {
            b.kind = Kind::Var;
            b.readOnly = false;
            b.index = int(m_globals.size());
            m_globals.emplace_back();
        }
    }
    for (const ArrayDecl &d : unit->arrays) {
        auto *a = new ArrayData;
        if (!d.dynamic) {
            a->resize(d.bounds, false);
            a->fixedSize = true;
        }
        *globalSlot(d.sym) = Value::array(a);
    }
    m_units.push_back(unit);
    FrameGuard g(*this, &m_scriptFrame);
    for (const ConstDecl &c : unit->consts) {
        Value v = eval(c.value);
        Binding &b = binding(c.sym);
        if (b.kind != Kind::Var) {
            b.kind = Kind::Var;
            b.index = int(m_globals.size());
            m_globals.emplace_back();
        }
        m_globals[size_t(b.index)] = v;
        b.readOnly = true;
    }
    if (runBody) {
        m_scriptFrame.explicitVars = unit->optionExplicit;
        m_scriptFrame.resumeNext = false;
        execBlock(unit->body);
    }
}

void Interpreter::addCode(const QString &code)
{
    auto unit = std::make_shared<Unit>();
    Lexer(symbols).tokenize(code, m_codeTokens); // host calls do not nest, so one buffer serves
    Parser(symbols, *unit, code, m_codeTokens).parseProgram();
    loadUnit(unit, true);
}

Value Interpreter::evaluate(const QString &text)
{
    FrameGuard g(*this, &m_scriptFrame);
    m_line = 1; // an expression's errors are on its own first line, not the last statement run
    return evalInScope(text);
}

Value Interpreter::evalInScope(const QString &text)
{
    // Nested Eval calls need their own tree; the outermost reuses one arena and token buffer.
    std::unique_ptr<Unit> nested;
    std::vector<Token> nestedTokens;
    Unit *u = m_evalUnit.get();
    std::vector<Token> *toks = &m_tokens;
    if (m_evalDepth > 0) {
        nested = std::make_unique<Unit>();
        u = nested.get();
        toks = &nestedTokens;
    } else {
        u->arena.clear();
    }
    chargeMemory(size_t(text.size()) * kCodeBytesPerChar);
    Lexer(symbols).tokenize(text, *toks);
    Parser p(symbols, *u, text, *toks);
    if (frame->proc)
        p.setScope(frame->proc);
    const Expr *e = p.parseWholeExpression();
    ++m_evalDepth;
    struct DepthGuard {
        int &d;
        ~DepthGuard() { --d; }
    } dg{m_evalDepth};
    return eval(e);
}

void Interpreter::executeStatements(const QString &code, bool global)
{
    if (global) {
        FrameGuard g(*this, &m_scriptFrame);
        m_scriptFrame.resumeNext = false; // a host call starts without the last script's handler
        executeInScope(code, true);
    } else {
        executeInScope(code, false);
    }
}

void Interpreter::executeInScope(const QString &text, bool global)
{
    auto unit = std::make_shared<Unit>();
    std::vector<Token> toks;
    chargeMemory(size_t(text.size()) * kCodeBytesPerChar);
    Lexer(symbols).tokenize(text, toks);
    Parser p(symbols, *unit, text, toks);
    Frame *target = global ? &m_scriptFrame : frame;
    if (target->proc)
        p.setScope(target->proc);
    p.parseProgram();
    loadUnit(unit, false);
    FrameGuard g(*this, target);
    for (const Unit::ScopeDim &d : unit->scopeDims) {
        // a local of this call already (a slot or an earlier Execute), else a new one shadowing globals
        Value *existing = nullptr;
        for (auto &dl : target->dynLocals)
            if (dl.first == d.sym)
                existing = &dl.second;
        if (target->proc) {
            const auto &ls = target->proc->localSyms;
            const auto it = std::find(ls.begin(), ls.end(), d.sym);
            if (it != ls.end())
                existing = target->vars[it - ls.begin()];
        }
        if (existing && !d.isArray)
            continue;
        Value init;
        if (d.isArray) {
            auto *a = new ArrayData;
            init = Value::array(a);
            if (!d.array.dynamic) {
                a->resize(d.array.bounds, false);
                a->fixedSize = true;
            }
        }
        if (existing)
            *existing = std::move(init);
        else
            target->dynLocals.emplace_back(d.sym, std::move(init));
    }
    execBlock(unit->body);
}

bool Interpreter::hasProcedure(const QString &name) const
{
    const int sym = symbols.find(name);
    if (sym < 0 || size_t(sym) >= m_bind.size())
        return false;
    return m_bind[size_t(sym)].kind == Kind::Proc || m_bind[size_t(sym)].kind == Kind::HostFn;
}

Value Interpreter::globalValue(const QString &name) const
{
    const int sym = symbols.find(name);
    if (sym < 0 || size_t(sym) >= m_bind.size() || m_bind[size_t(sym)].kind != Kind::Var)
        return Value();
    return m_globals[size_t(m_bind[size_t(sym)].index)];
}

Value Interpreter::callByName(const QString &name, Value **args, int n)
{
    FrameGuard g(*this, &m_scriptFrame);
    const int sym = symbols.find(name);
    if (sym >= 0 && size_t(sym) < m_bind.size()) {
        const Binding &b = m_bind[size_t(sym)];
        if (b.kind == Kind::Proc)
            return invokeProc(m_procs[size_t(b.index)], nullptr, args, n);
        if (b.kind == Kind::HostFn) {
            Args a(args, n);
            return checkedFromHost(m_hostFns[size_t(b.index)](a));
        }
    }
    raise(35, name);
}

HostObjectRef Interpreter::createObject(const QString &progId)
{
    const QString key = progId.trimmed().toLower();
    auto it = m_progIds.constFind(key);
    if (it != m_progIds.constEnd()) {
        HostObjectRef o = it.value()();
        if (o)
            return o;
    }
    if (HostObjectRef o = createStandardObject(key))
        return o;
    raise(429, progId);
}

// ---------------------------------------------------------------- names

Value *Interpreter::globalSlot(int sym)
{
    Binding &b = binding(sym);
    if (b.kind != Kind::Var) {
        b.kind = Kind::Var;
        b.index = int(m_globals.size());
        m_globals.emplace_back();
    }
    return &m_globals[size_t(b.index)];
}

Value *Interpreter::findVariable(int sym, Frame &f)
{
    for (auto &d : f.dynLocals)
        if (d.first == sym)
            return &d.second;
    if (f.me) {
        if (const ClassMember *m = f.me->cls()->member(sym)) {
            if (m->field >= 0)
                return &f.me->fields[size_t(m->field)];
            return nullptr;
        }
    }
    if (size_t(sym) < m_bind.size()) {
        const Binding &b = m_bind[size_t(sym)];
        if (b.kind == Kind::Var && !b.readOnly)
            return &m_globals[size_t(b.index)];
    }
    return nullptr;
}

Value *Interpreter::variableRef(const Expr *e)
{
    if (e->kind != EK::Ident || e->parens)
        return nullptr;
    const auto *id = static_cast<const IdentExpr *>(e);
    if (id->slot >= 0) {
        if (frame->proc && id->slot == frame->proc->resultSlot)
            return nullptr;
        return frame->vars[id->slot];
    }
    return findVariable(id->sym, *frame);
}

// VBScript declares a name on its first use, so `cn.Execute sql, n` with a new n gets the count.
Value *Interpreter::implicitVariable(const Expr *e)
{
    if (e->kind != EK::Ident || e->parens)
        return nullptr;
    const auto *id = static_cast<const IdentExpr *>(e);
    Frame &f = *frame;
    const int sym = id->sym;
    if (id->slot >= 0 || f.explicitVars || builtin(sym))
        return nullptr;
    if (f.me && f.me->cls()->member(sym))
        return nullptr;
    if (size_t(sym) < m_bind.size() && m_bind[size_t(sym)].kind != Kind::None)
        return nullptr;
    if (f.proc) {
        f.dynLocals.emplace_back(sym, Value());
        return &f.dynLocals.back().second;
    }
    return globalSlot(sym);
}

Value Interpreter::readName(const IdentExpr *e)
{
    Frame &f = *frame;
    const int sym = e->sym;
    for (auto &d : f.dynLocals)
        if (d.first == sym)
            return d.second;
    if (f.me) {
        if (const ClassMember *m = f.me->cls()->member(sym))
            return classMemberGet(f.me, m, nullptr, 0);
    }
    if (size_t(sym) < m_bind.size()) {
        const Binding &b = m_bind[size_t(sym)];
        switch (b.kind) {
        case Kind::Var:
            return m_globals[size_t(b.index)];
        case Kind::Proc:
            return invokeProc(m_procs[size_t(b.index)], nullptr, nullptr, 0);
        case Kind::HostFn: {
            Args a(nullptr, 0);
            return checkedFromHost(m_hostFns[size_t(b.index)](a));
        }
        case Kind::Class:
            raise(13, symbols.name(sym).text);
        case Kind::None:
            break;
        }
    }
    if (const Builtin *bi = builtin(sym)) {
        if (bi->minArgs > 0)
            raise(450, symbols.name(sym).text);
        return bi->fn(*this, nullptr, 0);
    }
    if (f.explicitVars)
        raise(500, symbols.name(sym).text);
    return Value();
}

Value Interpreter::assignedValue(Value v, bool isSet)
{
    if (isSet) {
        if (!v.isObject())
            raise(424);
        return v;
    }
    if (v.isObject())
        return defaultValue(v);
    return v;
}

void Interpreter::assignName(int sym, Value v, bool isSet)
{
    Frame &f = *frame;
    if (Value *slot = findVariable(sym, f)) {
        *slot = std::move(v);
        return;
    }
    if (f.me) {
        if (const ClassMember *m = f.me->cls()->member(sym)) {
            classMemberSet(f.me, m, nullptr, 0, v, isSet);
            return;
        }
    }
    if (size_t(sym) < m_bind.size() && m_bind[size_t(sym)].kind != Kind::None)
        raise(501);
    if (builtin(sym))
        raise(501);
    if (f.explicitVars)
        raise(500, symbols.name(sym).text);
    if (f.proc) {
        f.dynLocals.emplace_back(sym, std::move(v));
        return;
    }
    *globalSlot(sym) = std::move(v);
}

Value Interpreter::withObject()
{
    if (frame->with.empty())
        raise(424);
    return frame->with.back();
}

// ---------------------------------------------------------------- expressions

Value Interpreter::eval(const Expr *e)
{
    // only the kinds that recurse check the stack: literals and names are most nodes
    switch (e->kind) {
    case EK::Literal:
        return static_cast<const LiteralExpr *>(e)->value;
    case EK::Ident: {
        const auto *id = static_cast<const IdentExpr *>(e);
        if (id->slot >= 0)
            return *frame->vars[id->slot];
        return readName(id);
    }
    case EK::Binary: {
        checkStack();
        const auto *b = static_cast<const BinaryExpr *>(e);
        Value l = eval(b->left);
        Value r = eval(b->right);
        if (b->op >= Op::Eq && b->op <= Op::Ge)
            return compare(b->op, l, r, b->left->literal, b->right->literal);
        if (b->op == Op::Is) {
            if (!l.isObject() || !r.isObject())
                raise(424);
            return Value::boolean(l.rawObject() == r.rawObject());
        }
        if (b->op >= Op::And)
            return logical(b->op, l, r);
        return binary(b->op, l, r);
    }
    case EK::Call:
        checkStack();
        return evalCall(static_cast<const CallExpr *>(e));
    case EK::Member:
        checkStack();
        return evalMember(static_cast<const MemberExpr *>(e));
    case EK::Unary: {
        checkStack();
        const auto *u = static_cast<const UnaryExpr *>(e);
        Value v = eval(u->operand);
        return u->op == Op::Neg ? negate(v) : logicalNot(v);
    }
    case EK::New:
        return newInstance(static_cast<const NewExpr *>(e)->sym);
    case EK::Me:
        if (!frame->me)
            raise(424);
        return Value::object(frame->me);
    case EK::Missing:
        return missingArg();
    }
    return Value();
}

void Interpreter::bindArg(ArgPack &pack, int i, const Expr *arg, bool byRef)
{
    if (byRef && !arg->parens) {
        if (Value *r = variableRef(arg)) {
            pack.ref(i, r);
            return;
        }
        if (Value *r = implicitVariable(arg)) {
            pack.ref(i, r);
            return;
        }
        if (arg->kind == EK::Call) {
            const auto *c = static_cast<const CallExpr *>(arg);
            Value *var = c->target->kind == EK::Ident ? variableRef(c->target) : nullptr;
            if (var && var->isArray() && c->nargs > 0) {
                ArgPack::ElementArg el{i, var, {}};
                std::vector<Value *> subs;
                for (int k = 0; k < c->nargs; ++k)
                    el.subscripts.push_back(eval(c->args[k]));
                for (Value &v : el.subscripts)
                    subs.push_back(&v);
                pack.temp(i) = *arrayElement(*var, subs.data(), int(subs.size()), false);
                pack.elements.push_back(std::move(el));
                return;
            }
        }
    }
    pack.temp(i) = eval(arg);
}

void Interpreter::writeBack(ArgPack &pack)
{
    for (ArgPack::ElementArg &el : pack.elements) {
        if (!el.array->isArray())
            continue;
        std::vector<Value *> subs;
        for (Value &v : el.subscripts)
            subs.push_back(&v);
        try {
            *arrayElement(*el.array, subs.data(), int(subs.size()), true) = *pack.refs()[el.arg];
        } catch (const ScriptError &) {
            // the callee resized the array: the element is gone
        }
    }
}

Value Interpreter::evalMember(const MemberExpr *m)
{
    Value obj = m->object ? eval(m->object) : withObject();
    return memberGet(obj, m->sym, nullptr, 0);
}

Value Interpreter::evalCall(const CallExpr *c)
{
    const Expr *t = c->target;
    if (t->kind == EK::Ident)
        return callName(static_cast<const IdentExpr *>(t), c);
    ArgPack pack(c->nargs);
    if (t->kind == EK::Member) {
        const auto *m = static_cast<const MemberExpr *>(t);
        Value obj = m->object ? eval(m->object) : withObject();
        for (int i = 0; i < c->nargs; ++i)
            bindArg(pack, i, c->args[i], true);
        Value r = memberGet(obj, m->sym, pack.refs(), c->nargs);
        writeBack(pack);
        return r;
    }
    Value callee = eval(t);
    for (int i = 0; i < c->nargs; ++i)
        pack.temp(i) = eval(c->args[i]);
    return callValue(callee, pack.refs(), c->nargs);
}

Value Interpreter::callBuiltin(const Builtin *b, Expr *const *args, int n)
{
    if (n < b->minArgs || n > b->maxArgs)
        raise(450, QString::fromLatin1(b->name));
    // Array() takes up to 255 arguments: only short calls use the inline buffer
    Value inlineArgv[kInlineArgs];
    std::unique_ptr<Value[]> big;
    Value *argv = inlineArgv;
    if (n > kInlineArgs) {
        big = std::make_unique<Value[]>(size_t(n));
        argv = big.get();
    }
    for (int i = 0; i < n; ++i)
        argv[i] = eval(args[i]);
    Value r = b->fn(*this, argv, n);
    if (r.isString()) {
        if (r.rawString().size() > kMaxStringLength)
            raise(14);
        chargeMemory(size_t(r.rawString().size()) * 2);
    }
    return r;
}

Value Interpreter::callName(const IdentExpr *id, const CallExpr *c)
{
    Frame &f = *frame;
    const int n = c->nargs;
    const int sym = id->sym;
    if (id->slot >= 0) {
        if (f.proc && id->slot == f.proc->resultSlot) {
            // a function calling itself by name
            ArgPack pack(n);
            for (int i = 0; i < n; ++i)
                bindArg(pack, i, c->args[i], true);
            Value r = invokeProc(f.proc, f.proc->owner ? f.me : nullptr, pack.refs(), n);
            writeBack(pack);
            return r;
        }
        ArgPack pack(n);
        for (int i = 0; i < n; ++i)
            pack.temp(i) = eval(c->args[i]);
        return callValue(*f.vars[id->slot], pack.refs(), n);
    }
    if (!f.dynLocals.empty() || f.me ||
        (size_t(sym) < m_bind.size() && m_bind[size_t(sym)].kind != Kind::None)) {
        for (auto &d : f.dynLocals) {
            if (d.first == sym) {
                ArgPack pack(n);
                for (int i = 0; i < n; ++i)
                    pack.temp(i) = eval(c->args[i]);
                return callValue(d.second, pack.refs(), n);
            }
        }
        const ClassMember *cm = f.me ? f.me->cls()->member(sym) : nullptr;
        // a copy: evaluating the arguments may grow the binding table
        const Binding bound = size_t(sym) < m_bind.size() ? m_bind[size_t(sym)] : Binding();
        const Binding *b = &bound;
        if (cm || b->kind != Kind::None) {
            ArgPack pack(n);
            const bool byRef = cm ? cm->field < 0 : (b->kind == Kind::Proc || b->kind == Kind::HostFn);
            for (int i = 0; i < n; ++i)
                bindArg(pack, i, c->args[i], byRef);
            if (cm) {
                Value r = classMemberGet(f.me, cm, pack.refs(), n);
                writeBack(pack);
                return r;
            }
            switch (b->kind) {
            case Kind::Var:
                return callValue(m_globals[size_t(b->index)], pack.refs(), n);
            case Kind::Proc: {
                Value r = invokeProc(m_procs[size_t(b->index)], nullptr, pack.refs(), n);
                writeBack(pack);
                return r;
            }
            case Kind::HostFn: {
                Args a(pack.refs(), n);
                Value r;
                try {
                    r = m_hostFns[size_t(b->index)](a);
                } catch (const ScriptError &) {
                    throw;
                } catch (const std::exception &ex) {
                    raiseText(440, QString::fromLocal8Bit(ex.what()));
                }
                checkedFromHost(r);
                writeBack(pack);
                return r;
            }
            default:
                raise(13, symbols.name(sym).text);
            }
        }
    }
    if (const Builtin *bi = builtin(sym))
        return callBuiltin(bi, c->args, n);
    if (f.explicitVars)
        raise(500, symbols.name(sym).text);
    raise(13, symbols.name(sym).text);
}

Value Interpreter::callValue(const Value &callee, Value **args, int n)
{
    if (callee.isArray())
        return indexArray(callee, args, n);
    if (callee.isObject()) {
        HostObject *o = callee.rawObject();
        if (!o)
            raise(91);
        Args a(args, n);
        Value r;
        if (o->getDefault(a, r))
            return checkedFromHost(r);
        if (n == 0)
            return callee;
        raise(438);
    }
    if (n == 0)
        return callee;
    raise(13);
}

Value *Interpreter::arrayElement(Value &arr, Value **args, int n, bool forWrite)
{
    ArrayData *a = forWrite ? arr.mutableArray() : arr.rawArray();
    if (n != a->dims() || a->items.empty())
        raise(9);
    size_t flat = 0;
    size_t mul = 1;
    for (int i = 0; i < n; ++i) {
        const int32_t idx = toLong(*args[i]);
        if (idx < 0 || idx > a->bounds[size_t(i)])
            raise(9);
        flat += size_t(idx) * mul;
        mul *= size_t(a->bounds[size_t(i)] + 1);
    }
    return &a->items[flat];
}

Value Interpreter::indexArray(const Value &arr, Value **args, int n)
{
    Value copy = arr;
    return *arrayElement(copy, args, n, false);
}

Value Interpreter::memberGet(const Value &obj, int sym, Value **args, int n)
{
    if (!obj.isObject())
        raise(424);
    HostObject *o = obj.rawObject();
    if (!o)
        raise(424);
    if (ClassInstance *ci = o->asClassInstance()) {
        const ClassMember *m = ci->cls()->member(sym);
        if (!m || (!m->isPublic && frame->me != ci))
            raise(438, symbols.name(sym).text);
        Value keep = obj;
        return classMemberGet(ci, m, args, n);
    }
    Args a(args, n);
    Value r;
    Value keep = obj;
    bool found;
    try {
        found = o->get(symbols.name(sym), a, r);
    } catch (const ScriptError &) {
        throw;
    } catch (const std::exception &ex) {
        raiseText(440, QString::fromLocal8Bit(ex.what()));
    }
    if (!found && n > 0) {
        // obj.Prop(i) where Prop takes no arguments: index what it returns
        Args none(nullptr, 0);
        if (o->get(symbols.name(sym), none, r) && (r.isObject() || r.isArray()))
            return callValue(r, args, n);
    }
    if (!found)
        raise(438, symbols.name(sym).text);
    return checkedFromHost(r);
}

void Interpreter::memberSet(const Value &obj, int sym, Value **args, int n, const Value &v, bool isSet)
{
    if (!obj.isObject())
        raise(424);
    HostObject *o = obj.rawObject();
    if (!o)
        raise(424);
    if (ClassInstance *ci = o->asClassInstance()) {
        const ClassMember *m = ci->cls()->member(sym);
        if (!m || (!m->isPublic && frame->me != ci))
            raise(438, symbols.name(sym).text);
        Value keep = obj;
        classMemberSet(ci, m, args, n, v, isSet);
        return;
    }
    Args a(args, n);
    bool found;
    try {
        found = o->set(symbols.name(sym), a, v, isSet);
    } catch (const ScriptError &) {
        throw;
    } catch (const std::exception &ex) {
        raiseText(440, QString::fromLocal8Bit(ex.what()));
    }
    if (!found)
        raise(438, symbols.name(sym).text);
}

Value Interpreter::classMemberGet(ClassInstance *inst, const ClassMember *m, Value **args, int n)
{
    if (m->field >= 0) {
        Value &f = inst->fields[size_t(m->field)];
        if (n == 0)
            return f;
        return callValue(f, args, n);
    }
    if (m->get)
        return invokeProc(m->get, inst, args, n);
    raise(438);
}

void Interpreter::classMemberSet(ClassInstance *inst, const ClassMember *m, Value **args, int n,
                                 const Value &v, bool isSet)
{
    if (m->field >= 0) {
        Value &f = inst->fields[size_t(m->field)];
        if (n == 0) {
            f = v;
            return;
        }
        if (!f.isArray())
            raise(13);
        *arrayElement(f, args, n, true) = v;
        return;
    }
    Procedure *p = isSet ? m->set : m->let;
    if (!p)
        p = isSet ? m->let : m->set;
    if (!p)
        raise(438);
    ArgPack pack(n + 1);
    for (int i = 0; i < n; ++i)
        pack.ref(i, args[i]);
    pack.temp(n) = v;
    invokeProc(p, inst, pack.refs(), n + 1);
}

// A class's Property Let receives an object itself (obj.P = other), not its default value.
bool Interpreter::letTakesObject(const Value &obj, int sym) const
{
    if (!obj.isObject() || !obj.rawObject())
        return false;
    ClassInstance *ci = obj.rawObject()->asClassInstance();
    if (!ci)
        return false;
    const ClassMember *m = ci->cls()->member(sym);
    return m && m->field < 0 && m->let;
}

void Interpreter::assign(const Expr *target, Value v, bool isSet)
{
    const bool rawObject = !isSet && v.isObject();
    if (target->kind != EK::Member && !(target->kind == EK::Call &&
                                        static_cast<const CallExpr *>(target)->target->kind == EK::Member)) {
        if (rawObject && target->kind == EK::Ident && static_cast<const IdentExpr *>(target)->slot < 0 &&
            frame->me && letTakesObject(Value::object(frame->me), static_cast<const IdentExpr *>(target)->sym)) {
            // P = other inside the class, through its Property Let
            classMemberSet(frame->me, frame->me->cls()->member(static_cast<const IdentExpr *>(target)->sym),
                           nullptr, 0, v, false);
            return;
        }
        v = assignedValue(std::move(v), isSet);
    }
    switch (target->kind) {
    case EK::Ident: {
        const auto *id = static_cast<const IdentExpr *>(target);
        if (id->slot >= 0) {
            *frame->vars[id->slot] = std::move(v);
            return;
        }
        assignName(id->sym, std::move(v), isSet);
        return;
    }
    case EK::Member: {
        const auto *m = static_cast<const MemberExpr *>(target);
        Value obj = m->object ? eval(m->object) : withObject();
        if (!(rawObject && letTakesObject(obj, m->sym)))
            v = assignedValue(std::move(v), isSet);
        memberSet(obj, m->sym, nullptr, 0, v, isSet);
        return;
    }
    case EK::Call: {
        const auto *c = static_cast<const CallExpr *>(target);
        if (c->target->kind == EK::Call) {
            assignNested(c, std::move(v), isSet);
            return;
        }
        ArgPack pack(c->nargs);
        for (int i = 0; i < c->nargs; ++i)
            pack.temp(i) = eval(c->args[i]);
        if (c->target->kind == EK::Member) {
            const auto *m = static_cast<const MemberExpr *>(c->target);
            Value obj = m->object ? eval(m->object) : withObject();
            if (!(rawObject && letTakesObject(obj, m->sym)))
                v = assignedValue(std::move(v), isSet);
            memberSet(obj, m->sym, pack.refs(), c->nargs, v, isSet);
            return;
        }
        if (c->target->kind == EK::Ident) {
            const auto *id = static_cast<const IdentExpr *>(c->target);
            Value *var = nullptr;
            if (id->slot >= 0) {
                var = frame->vars[id->slot];
            } else {
                Frame &f = *frame;
                if (f.me) {
                    if (const ClassMember *cm = f.me->cls()->member(id->sym)) {
                        classMemberSet(f.me, cm, pack.refs(), c->nargs, v, isSet);
                        return;
                    }
                }
                var = findVariable(id->sym, f);
                if (!var && size_t(id->sym) < m_bind.size() && m_bind[size_t(id->sym)].kind == Kind::Var)
                    var =
                        &m_globals[size_t(m_bind[size_t(id->sym)].index)]; // a named object's default member
            }
            if (!var)
                raise(frame->explicitVars ? 500 : 13, symbols.name(id->sym).text);
            if (var->isArray()) {
                *arrayElement(*var, pack.refs(), c->nargs, true) = std::move(v);
                return;
            }
            if (var->isObject()) {
                HostObject *o = var->rawObject();
                if (!o)
                    raise(91);
                Args a(pack.refs(), c->nargs);
                if (!o->setDefault(a, v))
                    raise(438);
                return;
            }
            raise(13);
        }
        raise(501);
    }
    default:
        raise(501);
    }
}

// x(0)(1) = v: each index but the last selects an element (an array in an array, or what a default
// member returns); the last one is written.
void Interpreter::assignNested(const CallExpr *c, Value v, bool isSet)
{
    std::vector<const CallExpr *> chain;
    const Expr *root = c;
    while (root->kind == EK::Call) {
        chain.push_back(static_cast<const CallExpr *>(root));
        root = static_cast<const CallExpr *>(root)->target;
    }
    std::reverse(chain.begin(), chain.end()); // innermost first: x(0) before (1)
    std::vector<std::vector<Value>> subs(chain.size());
    for (size_t k = 0; k < chain.size(); ++k)
        for (int i = 0; i < chain[k]->nargs; ++i)
            subs[k].push_back(eval(chain[k]->args[i]));
    auto refsOf = [](std::vector<Value> &vals) {
        std::vector<Value *> r;
        for (Value &x : vals)
            r.push_back(&x);
        return r;
    };
    std::deque<Value> temps; // what default members return; stable addresses
    Value *cur = nullptr;
    if (root->kind == EK::Ident) {
        const auto *id = static_cast<const IdentExpr *>(root);
        cur = id->slot >= 0 ? frame->vars[id->slot] : findVariable(id->sym, *frame);
    }
    if (!cur) {
        temps.push_back(eval(root));
        cur = &temps.back();
    }
    for (size_t k = 0; k + 1 < chain.size(); ++k) {
        std::vector<Value *> r = refsOf(subs[k]);
        if (cur->isArray()) {
            cur = arrayElement(*cur, r.data(), int(r.size()), true);
        } else if (cur->isObject()) {
            temps.push_back(callValue(*cur, r.data(), int(r.size())));
            cur = &temps.back();
        } else {
            raise(13);
        }
    }
    std::vector<Value *> r = refsOf(subs.back());
    if (cur->isArray()) {
        *arrayElement(*cur, r.data(), int(r.size()), true) = std::move(v);
        return;
    }
    if (cur->isObject()) {
        HostObject *o = cur->rawObject();
        if (!o)
            raise(91);
        Value keep = *cur;
        Args a(r.data(), int(r.size()));
        if (isSet || !o->setDefault(a, v))
            raise(438);
        return;
    }
    raise(13);
}

// ---------------------------------------------------------------- procedures and classes

Value Interpreter::invokeProc(Procedure *p, ClassInstance *me, Value **args, int n)
{
    const int nparams = int(p->params.size());
    if (n != nparams)
        raise(450, symbols.name(p->sym).text);
    if (m_depth >= kMaxDepth)
        raise(28);
    checkStack();
    const int nl = int(p->localSyms.size());
    Value inlineStore[12];
    Value *inlineSlots[12];
    std::unique_ptr<Value[]> bigStore;
    std::unique_ptr<Value *[]> bigSlots;
    Value *store = inlineStore;
    Value **vars = inlineSlots;
    if (nl > 12) {
        bigStore = std::make_unique<Value[]>(size_t(nl));
        bigSlots = std::make_unique<Value *[]>(size_t(nl));
        store = bigStore.get();
        vars = bigSlots.get();
    }
    for (int i = 0; i < nparams; ++i) {
        if (p->params[size_t(i)].byVal || args[i]->type() == VarType::Error) {
            store[i] = *args[i];
            if (store[i].type() == VarType::Error && int32_t(store[i].rawInt()) == int32_t(0x80020004u))
                raise(449);
            vars[i] = &store[i];
        } else {
            vars[i] = args[i];
        }
    }
    for (int i = nparams; i < nl; ++i)
        vars[i] = &store[i];
    for (const ArrayDecl &d : p->arrays) {
        auto *a = new ArrayData;
        if (!d.dynamic) {
            a->resize(d.bounds, false);
            a->fixedSize = true;
        }
        store[d.slot] = Value::array(a);
    }
    Frame f;
    f.proc = p;
    f.vars = vars;
    f.me = me;
    f.explicitVars = p->explicitVars;
    HostObjectRef keepMe(me);
    ++m_depth;
    struct DepthGuard {
        int &d;
        ~DepthGuard() { --d; }
    } dg{m_depth};
    FrameGuard g(*this, &f);
    for (const ConstDecl &c : p->consts)
        store[c.slot] = eval(c.value);
    execBlock(p->body);
    if (p->resultSlot >= 0)
        return std::move(store[p->resultSlot]);
    return Value();
}

Value Interpreter::newInstance(int classSym)
{
    if (size_t(classSym) >= m_bind.size() || m_bind[size_t(classSym)].kind != Kind::Class) {
        if (symbols.name(classSym).key == QLatin1String("regexp"))
            return Value::object(newRegExp());
        raise(506, symbols.name(classSym).text);
    }
    const int idx = m_bind[size_t(classSym)].index;
    ClassDef *c = m_classes[size_t(idx)];
    chargeMemory(sizeof(ClassInstance) + c->fields.size() * sizeof(Value));
    auto *inst = new ClassInstance(this, m_classUnits[size_t(idx)], c);
    Value v = Value::object(inst);
    for (size_t i = 0; i < c->fields.size(); ++i) {
        const ClassField &fd = c->fields[i];
        if (fd.isArray) {
            auto *a = new ArrayData;
            if (!fd.bounds.empty()) {
                a->resize(fd.bounds, false);
                a->fixedSize = true;
            }
            inst->fields[i] = Value::array(a);
        }
    }
    if (c->initialize)
        invokeProc(c->initialize, inst, nullptr, 0);
    return v;
}

ClassInstance::ClassInstance(Interpreter *in, std::shared_ptr<Unit> unit, ClassDef *cls)
    : interp(in->self), m_unit(std::move(unit)), m_cls(cls)
{
    fields.resize(cls->fields.size());
}

QString ClassInstance::typeName() const
{
    Interpreter *in = *interp;
    return in ? in->symbols.name(m_cls->sym).text : QStringLiteral("Object");
}

bool ClassInstance::get(const Name &name, Args &args, Value &result)
{
    Interpreter *in = *interp;
    if (!in)
        return false;
    int sym = in->symbols.find(name.text);
    if (sym >= 0 && sym < Kw::FirstSoft) // a member named like a keyword
        sym = in->symbols.find(QString(QStringLiteral("[") + name.text + QLatin1Char(']')));
    const ClassMember *m = sym >= 0 ? m_cls->member(sym) : nullptr;
    if (!m || !m->isPublic)
        return false;
    std::vector<Value *> refs(size_t(args.size()));
    for (int i = 0; i < args.size(); ++i)
        refs[size_t(i)] = &args[i];
    result = in->classMemberGet(this, m, refs.data(), args.size());
    return true;
}

bool ClassInstance::set(const Name &name, Args &args, const Value &value, bool isSet)
{
    Interpreter *in = *interp;
    if (!in)
        return false;
    int sym = in->symbols.find(name.text);
    if (sym >= 0 && sym < Kw::FirstSoft) // a member named like a keyword
        sym = in->symbols.find(QString(QStringLiteral("[") + name.text + QLatin1Char(']')));
    const ClassMember *m = sym >= 0 ? m_cls->member(sym) : nullptr;
    if (!m || !m->isPublic)
        return false;
    std::vector<Value *> refs(size_t(args.size()));
    for (int i = 0; i < args.size(); ++i)
        refs[size_t(i)] = &args[i];
    in->classMemberSet(this, m, refs.data(), args.size(), value, isSet);
    return true;
}

bool ClassInstance::getDefault(Args &args, Value &result)
{
    Interpreter *in = *interp;
    if (!in || m_cls->defaultMember < 0)
        return false;
    const ClassMember *m = m_cls->member(m_cls->defaultMember);
    std::vector<Value *> refs(size_t(args.size()));
    for (int i = 0; i < args.size(); ++i)
        refs[size_t(i)] = &args[i];
    result = in->classMemberGet(this, m, refs.data(), args.size());
    return true;
}

bool ClassInstance::setDefault(Args &args, const Value &value)
{
    Interpreter *in = *interp;
    if (!in || m_cls->defaultMember < 0)
        return false;
    const ClassMember *m = m_cls->member(m_cls->defaultMember);
    std::vector<Value *> refs(size_t(args.size()));
    for (int i = 0; i < args.size(); ++i)
        refs[size_t(i)] = &args[i];
    in->classMemberSet(this, m, refs.data(), args.size(), value, false);
    return true;
}

bool ClassInstance::enumerate(ValueList &items)
{
    (void)items;
    return false;
}

void ClassInstance::finalRelease()
{
    Interpreter *in = *interp;
    if (in && m_cls->terminate) {
        addRef(); // keep alive while Class_Terminate runs
        try {
            // what Class_Terminate lets go of dies at once, as it would in VBScript
            ReleaseImmediately now;
            in->invokeProc(m_cls->terminate, this, nullptr, 0);
        } catch (...) {
            // errors in Class_Terminate are ignored, as VBScript does; this runs from destructors
        }
        if (refCount() > 1) {
            // resurrected by Class_Terminate: drop our guard reference only
            HostObject::release();
            return;
        }
    }
    delete this;
}

// ---------------------------------------------------------------- statements

bool Interpreter::isTrue(const Value &v)
{
    if (v.type() == VarType::Boolean)
        return v.rawBool();
    if (v.isNull())
        return false;
    return toBool(v);
}

void Interpreter::noteError(const ScriptError &e)
{
    m_err->number = e.number;
    m_err->description = e.description;
    m_err->source = e.source;
    m_err->helpFile = e.helpFile;
    m_err->helpContext = e.helpContext;
    m_err->line = e.line ? e.line : m_line;
}

Flow Interpreter::execBlock(const Block &b)
{
    checkStack();
    for (int i = 0; i < b.count; ++i) {
        const Stmt *s = b.items[i];
        m_line = s->line;
        tick();
        if (!frame->resumeNext) {
            const Flow f = exec(s);
            if (f != Flow::Normal)
                return f;
        } else {
            try {
                const Flow f = exec(s);
                if (f != Flow::Normal)
                    return f;
            } catch (const ScriptError &e) {
                noteError(e);
            }
        }
    }
    return Flow::Normal;
}

namespace {
// Condition of If/ElseIf/While: 1 true, 0 false, -1 raised an error under On Error Resume Next.
template <class F> int condition(Interpreter &in, Frame *frame, const Expr *e, F &&note)
{
    if (!frame->resumeNext)
        return in.isTrue(in.eval(e)) ? 1 : 0;
    try {
        return in.isTrue(in.eval(e)) ? 1 : 0;
    } catch (const ScriptError &err) {
        note(err);
        return -1;
    }
}
} // namespace

Flow Interpreter::execIf(const IfStmt *s)
{
    for (int i = 0; i < s->count; ++i) {
        // a failing condition under On Error Resume Next resumes into its own branch, as VBScript does
        const int c = condition(*this, frame, s->conds[i], [this](const ScriptError &e) { noteError(e); });
        if (c != 0)
            return execBlock(s->blocks[i]);
    }
    if (s->hasElse)
        return execBlock(s->elseBlock);
    return Flow::Normal;
}

// A For, For Each or Select Case whose header failed under On Error Resume Next: VBScript resumes
// at the next statement, the first of the block, which runs once.
Flow Interpreter::enterAfterFailedHeader(const Block &body, const ScriptError &e, bool forLoop)
{
    if (!frame->resumeNext)
        throw e;
    noteError(e);
    const Flow f = execBlock(body);
    return forLoop && f == Flow::ExitFor ? Flow::Normal : f;
}

Flow Interpreter::execFor(const ForStmt *s)
{
    double toD, stepD;
    Value step;
    try {
        Value from = toNumeric(eval(s->from));
        const Value to = toNumeric(eval(s->to));
        step = s->step ? toNumeric(eval(s->step)) : Value::integer(1);
        if (from.isNull() || to.isNull() || step.isNull())
            raise(94);
        toD = toDouble(to);
        stepD = toDouble(step);
        assign(s->var, from, false);
    } catch (const ScriptError &e) {
        return enterAfterFailedHeader(s->body, e, true);
    }
    for (;;) {
        const double c = toDouble(eval(s->var));
        if (stepD >= 0 ? c > toD : c < toD)
            break;
        const Flow f = execBlock(s->body);
        if (f == Flow::ExitFor)
            break;
        if (f != Flow::Normal)
            return f;
        tick(); // an empty body must still count against the budget
        assign(s->var, binary(Op::Add, eval(s->var), step), false);
    }
    return Flow::Normal;
}

Flow Interpreter::execForEach(const ForEachStmt *s)
{
    ValueList items;
    try {
        Value coll = eval(s->collection);
        if (coll.isArray()) {
            items = coll.rawArray()->items;
        } else if (coll.isObject() && coll.rawObject()) {
            if (!coll.rawObject()->enumerate(items))
                raise(451);
        } else {
            raise(451);
        }
    } catch (const ScriptError &e) {
        return enterAfterFailedHeader(s->body, e, true);
    }
    for (Value &item : items) {
        tick();
        assign(s->var, item, item.isObject());
        const Flow f = execBlock(s->body);
        if (f == Flow::ExitFor)
            break;
        if (f != Flow::Normal)
            return f;
    }
    return Flow::Normal;
}

Flow Interpreter::execDo(const DoStmt *s)
{
    auto note = [this](const ScriptError &e) { noteError(e); };
    for (;;) {
        if (s->cond && s->testFirst) {
            const int c = condition(*this, frame, s->cond, note);
            if (c >= 0 && (s->until ? c == 1 : c == 0))
                break;
        }
        const Flow f = execBlock(s->body);
        if (f == Flow::ExitDo)
            break;
        if (f != Flow::Normal)
            return f;
        if (s->cond && !s->testFirst) {
            const int c = condition(*this, frame, s->cond, note);
            if (c < 0 || (s->until ? c == 1 : c == 0))
                break;
        }
        tick();
    }
    return Flow::Normal;
}

Flow Interpreter::execSelect(const SelectStmt *s)
{
    Value test;
    try {
        test = eval(s->test);
    } catch (const ScriptError &e) {
        if (s->count == 0)
            return enterAfterFailedHeader(s->elseBlock, e, false);
        return enterAfterFailedHeader(s->cases[0].body, e, false);
    }
    const bool testLit = s->test->literal;
    auto holds = [&](Op op, const Expr *e) {
        const Value v = compare(op, test, eval(e), testLit, e->literal);
        return v.type() == VarType::Boolean && v.rawBool();
    };
    for (int i = 0; i < s->count; ++i) {
        const CaseClause &c = s->cases[i];
        for (int k = 0; k < c.count; ++k) {
            const CaseItem &it = c.items[k];
            bool match;
            if (it.kind == 0)
                match = holds(Op::Eq, it.a);
            else if (it.kind == 1)
                match = holds(Op::Ge, it.a) && holds(Op::Le, it.b);
            else
                match = holds(it.op, it.a);
            if (match)
                return execBlock(c.body);
        }
    }
    if (s->hasElse)
        return execBlock(s->elseBlock);
    return Flow::Normal;
}

void Interpreter::execReDim(const ReDimStmt *s)
{
    for (int i = 0; i < s->count; ++i) {
        const ReDimItem &it = s->items[i];
        std::vector<int> bounds;
        for (int k = 0; k < it.ndims; ++k)
            bounds.push_back(toLong(eval(it.dims[k])));
        const auto *id = static_cast<const IdentExpr *>(it.target);
        Value *var = id->slot >= 0 ? frame->vars[id->slot] : findVariable(id->sym, *frame);
        if (!var) {
            assignName(id->sym, Value(), false);
            var = findVariable(id->sym, *frame);
            if (!var)
                raise(501);
        }
        if (var->isArray()) {
            ArrayData *a = var->mutableArray();
            if (a->fixedSize)
                raise(10);
            if (s->preserve && !a->bounds.empty()) {
                a->resize(bounds, true);
                continue;
            }
        }
        auto *a = new ArrayData;
        Value nv = Value::array(a);
        a->resize(bounds, false);
        *var = std::move(nv);
    }
}

Flow Interpreter::exec(const Stmt *s)
{
    switch (s->kind) {
    case SK::Assign: {
        const auto *a = static_cast<const AssignStmt *>(s);
        if (!a->isSet && a->target->kind == EK::Ident && a->value->kind == EK::Binary &&
            a->value->op == Op::Concat) {
            // s = s & x appends in place, so building text in a loop is not quadratic
            const auto *id = static_cast<const IdentExpr *>(a->target);
            const auto *cat = static_cast<const BinaryExpr *>(a->value);
            if (cat->left->kind == EK::Ident && static_cast<const IdentExpr *>(cat->left)->sym == id->sym &&
                !(frame->proc && id->slot == frame->proc->resultSlot)) {
                Value *var = id->slot >= 0 ? frame->vars[id->slot] : findVariable(id->sym, *frame);
                if (var && var->isString()) {
                    Value r = eval(cat->right);
                    if (var->isString() && !r.isObject() && !r.isArray() && r.type() != VarType::Error) {
                        const QString tail = r.isNull() ? QString() : toString(r);
                        if (var->rawString().size() + tail.size() > kMaxStringLength)
                            raise(14);
                        chargeMemory(size_t(tail.size()) * 2);
                        var->appendString(tail);
                        return Flow::Normal;
                    }
                    assign(a->target, binary(Op::Concat, *var, r), false);
                    return Flow::Normal;
                }
            }
        }
        if (a->target->kind == EK::Ident && a->value->kind != EK::Call) {
            // common case first: plain variable from a simple expression
            const auto *id = static_cast<const IdentExpr *>(a->target);
            if (id->slot >= 0 && !a->isSet) {
                Value v = eval(a->value);
                if (v.isObject())
                    v = defaultValue(v);
                *frame->vars[id->slot] = std::move(v);
                return Flow::Normal;
            }
        }
        assign(a->target, eval(a->value), a->isSet);
        return Flow::Normal;
    }
    case SK::Call: {
        const Expr *e = static_cast<const CallStmt *>(s)->call;
        if (e->kind == EK::Ident) {
            const auto *id = static_cast<const IdentExpr *>(e);
            if (id->slot >= 0)
                raise(13, symbols.name(id->sym).text);
            readName(id);
        } else {
            eval(e);
        }
        return Flow::Normal;
    }
    case SK::If:
        return execIf(static_cast<const IfStmt *>(s));
    case SK::For:
        return execFor(static_cast<const ForStmt *>(s));
    case SK::ForEach:
        return execForEach(static_cast<const ForEachStmt *>(s));
    case SK::Do:
        return execDo(static_cast<const DoStmt *>(s));
    case SK::Select:
        return execSelect(static_cast<const SelectStmt *>(s));
    case SK::With: {
        const auto *w = static_cast<const WithStmt *>(s);
        Value obj;
        try {
            obj = eval(w->object);
            if (!obj.isObject())
                raise(424);
        } catch (const ScriptError &e) {
            // under On Error Resume Next VBScript goes on into the block
            if (!frame->resumeNext)
                throw;
            noteError(e);
            obj = Value();
        }
        Frame *f = frame;
        f->with.push_back(std::move(obj));
        struct Pop {
            Frame *f;
            ~Pop() { f->with.pop_back(); }
        } pop{f};
        return execBlock(w->body);
    }
    case SK::ReDim:
        execReDim(static_cast<const ReDimStmt *>(s));
        return Flow::Normal;
    case SK::Erase: {
        const auto *id = static_cast<const IdentExpr *>(static_cast<const EraseStmt *>(s)->target);
        Value *var = id->slot >= 0 ? frame->vars[id->slot] : findVariable(id->sym, *frame);
        if (!var || !var->isArray())
            raise(13);
        ArrayData *a = var->mutableArray();
        if (a->fixedSize) {
            for (Value &v : a->items)
                v = Value();
        } else {
            auto *e = new ArrayData;
            *var = Value::array(e);
        }
        return Flow::Normal;
    }
    case SK::Exit:
        switch (static_cast<const ExitStmt *>(s)->what) {
        case ExitKind::Do:
            return Flow::ExitDo;
        case ExitKind::For:
            return Flow::ExitFor;
        default:
            m_err->clear(); // VBScript clears Err on Exit Sub / Exit Function
            return Flow::ExitProc;
        }
    case SK::OnError:
        frame->resumeNext = static_cast<const OnErrorStmt *>(s)->resumeNext;
        m_err->clear();
        return Flow::Normal;
    case SK::Nop:
        return Flow::Normal;
    }
    return Flow::Normal;
}

// ---------------------------------------------------------------- Err

bool ErrObject::get(const Name &name, Args &args, Value &result)
{
    const QString &k = name.key;
    if (k == QLatin1String("number")) {
        result = Value::lng(number);
    } else if (k == QLatin1String("description")) {
        result = Value(description);
    } else if (k == QLatin1String("source")) {
        result = Value(source);
    } else if (k == QLatin1String("helpfile")) {
        result = Value(helpFile);
    } else if (k == QLatin1String("helpcontext")) {
        result = Value::lng(helpContext);
    } else if (k == QLatin1String("clear")) {
        clear();
    } else if (k == QLatin1String("raise")) {
        if (args.size() < 1 || args.size() > 5)
            raise(450);
        const int given = toLong(args[0]);
        if (given == 0)
            raise(5);
        const int n = mapErrorNumber(given);
        ScriptError e;
        e.number = n;
        e.source =
            args.size() > 1 && !args.isMissing(1) ? toString(args[1]) : QString::fromLatin1(kRuntimeSource);
        if (args.size() > 2 && !args.isMissing(2)) {
            e.description = toString(args[2]);
        } else {
            e.description = errorMessage(n);
            if (e.description.isEmpty())
                e.description = QStringLiteral("Unknown runtime error");
        }
        if (args.size() > 3 && !args.isMissing(3))
            e.helpFile = toString(args[3]);
        if (args.size() > 4 && !args.isMissing(4))
            e.helpContext = toLong(args[4]);
        throw e;
    } else {
        return false;
    }
    return true;
}

bool ErrObject::set(const Name &name, Args &args, const Value &value, bool isSet)
{
    const QString &k = name.key;
    if (k == QLatin1String("number"))
        number = mapErrorNumber(toLong(value));
    else if (k == QLatin1String("description"))
        description = toString(value);
    else if (k == QLatin1String("source"))
        source = toString(value);
    else if (k == QLatin1String("helpfile"))
        helpFile = toString(value);
    else if (k == QLatin1String("helpcontext"))
        helpContext = toLong(value);
    else
        return false;
    return true;
}

bool ErrObject::getDefault(Args &args, Value &result)
{
    if (args.size() != 0)
        return false;
    result = Value::lng(number);
    return true;
}

} // namespace vbs
