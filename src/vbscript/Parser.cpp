#include "Parser.h"

#include "ScriptError.h"
#include "Resources.h"

#include <algorithm>

namespace vbs {

Parser::Parser(SymbolTable &symbols, Unit &unit, const QString &src, const std::vector<Token> &tokens)
    : m_symbols(symbols), m_unit(unit), m_arena(unit.arena), m_src(src), m_toks(tokens), m_stackLimit(stackLimit())
{
}

const Token &Parser::peek(int k) const
{
    size_t p = m_pos + size_t(k);
    return p < m_toks.size() ? m_toks[p] : m_toks.back();
}

void Parser::fail(int err) const
{
    raiseCompile(err, cur().line, cur().col);
}

bool Parser::acceptKw(int kw)
{
    if (isKw(kw)) {
        advance();
        return true;
    }
    return false;
}

bool Parser::accept(T t)
{
    if (cur().type == t) {
        advance();
        return true;
    }
    return false;
}

void Parser::expect(T t, int err)
{
    if (!accept(t))
        fail(err);
}

void Parser::expectKw(int kw, int err)
{
    if (!acceptKw(kw))
        fail(err);
}

bool Parser::atEndOfStatement() const
{
    const T t = cur().type;
    // VBScript also ends a statement at End If / End Sub ... on the same line: "Sub f() x = 1 End Sub"
    return t == T::Newline || t == T::Colon || t == T::End || isKw(Kw::End);
}

void Parser::endOfStatement()
{
    if (!atEndOfStatement() && !isKw(Kw::Else))
        fail(1025);
}

void Parser::skipSeparators()
{
    while (cur().type == T::Newline || cur().type == T::Colon)
        advance();
}

int Parser::expectName()
{
    if (cur().type != T::Name || (cur().sym < Kw::FirstSoft))
        fail(1010);
    const int s = cur().sym;
    advance();
    return s;
}

Block Parser::makeBlock(const std::vector<Stmt *> &v)
{
    Block b;
    b.count = int(v.size());
    b.items = m_arena.array<Stmt *>(v.size());
    std::copy(v.begin(), v.end(), b.items);
    return b;
}

// ---------------------------------------------------------------- program structure

void Parser::parseProgram()
{
    std::vector<Stmt *> top;
    for (;;) {
        skipSeparators();
        if (cur().type == T::End)
            break;
        parseStatement(top, false);
    }
    m_unit.body = makeBlock(top);
    if (m_scope)
        resolvePending();
}

Expr *Parser::parseWholeExpression()
{
    skipSeparators();
    Expr *e = parseExpr();
    skipSeparators();
    if (cur().type != T::End)
        fail(1025);
    if (m_scope)
        resolvePending();
    return e;
}

bool Parser::atBlockEnd() const
{
    if (cur().type == T::End)
        return true;
    if (cur().type != T::Name)
        return false;
    switch (cur().sym) {
    case Kw::End:
    case Kw::Next:
    case Kw::Loop:
    case Kw::Wend:
    case Kw::Else:
    case Kw::ElseIf:
    case Kw::Case:
        return true;
    default:
        return false;
    }
}

Block Parser::parseBlock()
{
    Nest nest(*this);
    std::vector<Stmt *> items;
    for (;;) {
        skipSeparators();
        if (atBlockEnd())
            break;
        parseStatement(items, false);
    }
    return makeBlock(items);
}

void Parser::declareLocal(int sym)
{
    if (m_proc) {
        auto &ls = m_proc->localSyms;
        if (std::find(ls.begin(), ls.end(), sym) == ls.end())
            ls.push_back(sym);
    } else if (m_scope) {
        // Execute inside a procedure: new names become dynamic locals at run time
    } else if (std::find(m_unit.globals.begin(), m_unit.globals.end(), sym) == m_unit.globals.end()) {
        m_unit.globals.push_back(sym);
    }
}

void Parser::resolvePending()
{
    Procedure *p = m_proc ? m_proc : m_scope;
    if (!p)
        return;
    for (IdentExpr *id : m_pending) {
        const auto &ls = p->localSyms;
        auto it = std::find(ls.begin(), ls.end(), id->sym);
        if (it != ls.end())
            id->slot = int(it - ls.begin());
    }
    m_pending.clear();
}

Expr *Parser::makeIdent(int sym)
{
    auto *id = m_arena.make<IdentExpr>(sym);
    // constants are literals to VBScript: comparisons convert the other side to their type
    const auto &consts = m_proc ? m_proc->consts : m_unit.consts;
    for (const ConstDecl &c : consts)
        if (c.sym == sym && c.value->literal)
            id->literal = true;
    if (m_proc)
        for (const ConstDecl &c : m_unit.consts)
            if (c.sym == sym && c.value->literal)
                id->literal = true;
    if (m_proc || m_scope)
        m_pending.push_back(id);
    return id;
}

bool Parser::parseStatement(std::vector<Stmt *> &out, bool singleLine)
{
    const Token &t = cur();
    const int line = t.line;
    Stmt *s = nullptr;
    if (t.type == T::Name) {
        switch (t.sym) {
        case Kw::Dim:
            advance();
            parseDim(out, true, m_class != nullptr && m_proc == nullptr);
            return true;
        case Kw::Const:
            advance();
            parseConst(false);
            return true;
        case Kw::Public:
        case Kw::Private: {
            const bool isPublic = t.sym == Kw::Public;
            advance();
            bool isDefault = false;
            if (acceptKw(Kw::Default)) {
                isDefault = true;
                if (!isPublic)
                    fail(1057);
            }
            if (isKw(Kw::Sub) || isKw(Kw::Function) || isKw(Kw::Property)) {
                parseProcedure(isPublic, isDefault);
                return true;
            }
            if (isDefault)
                fail(1056);
            if (acceptKw(Kw::Const)) {
                parseConst(false);
                return true;
            }
            parseDim(out, isPublic, m_class != nullptr && m_proc == nullptr);
            return true;
        }
        case Kw::Sub:
        case Kw::Function:
            parseProcedure(true, false);
            return true;
        case Kw::Property:
            if (!m_class)
                fail(1048);
            parseProcedure(true, false);
            return true;
        case Kw::Class:
            parseClass();
            return true;
        case Kw::Option:
            advance();
            expectKw(Kw::Explicit, 1002);
            m_unit.optionExplicit = true;
            endOfStatement();
            return true;
        case Kw::If:
            s = parseIf();
            break;
        case Kw::For:
            s = parseFor();
            break;
        case Kw::Do:
            s = parseDo();
            break;
        case Kw::While:
            s = parseWhile();
            break;
        case Kw::Select:
            s = parseSelect();
            break;
        case Kw::With:
            s = parseWith();
            break;
        case Kw::ReDim:
            s = parseReDim();
            break;
        case Kw::Erase: {
            advance();
            for (;;) {
                auto *e = m_arena.make<EraseStmt>();
                e->target = makeIdent(expectName());
                e->line = line;
                if (!accept(T::Comma)) {
                    s = e;
                    break;
                }
                out.push_back(e); // Erase a, b: one statement per array
            }
            break;
        }
        case Kw::Exit:
            s = parseExit();
            break;
        case Kw::On:
            s = parseOnError();
            break;
        case Kw::Set:
            s = parseSet();
            break;
        case Kw::Call:
            s = parseCallKw();
            break;
        case Kw::Stop:
            // a breakpoint for a debugger; without one VBScript goes on
            advance();
            s = m_arena.make<Stmt>(SK::Nop);
            break;
        case Kw::Next:
            fail(1055);
        case Kw::Loop:
            fail(1038);
        default:
            if (t.sym < Kw::FirstSoft && t.sym != Kw::Me)
                fail(1024);
            s = parseAssignOrCall();
        }
    } else if (t.type == T::Dot) {
        s = parseAssignOrCall();
    } else {
        fail(1024);
    }
    s->line = line;
    out.push_back(s);
    if (!singleLine)
        endOfStatement();
    return true;
}

std::vector<int> Parser::parseBounds()
{
    std::vector<int> b;
    expect(T::LParen, 1005);
    if (accept(T::RParen))
        return b;
    do {
        b.push_back(constInt());
    } while (accept(T::Comma));
    expect(T::RParen, 1006);
    return b;
}

int Parser::constInt()
{
    bool neg = accept(T::Minus);
    if (cur().type != T::Int)
        fail(1026);
    int v = int(cur().ival);
    advance();
    return neg ? -v : v;
}

void Parser::parseDim(std::vector<Stmt *> &out, bool isPublicField, bool classLevel)
{
    (void)out;
    do {
        const int sym = expectName();
        bool isArray = false;
        std::vector<int> bounds;
        if (cur().type == T::LParen) {
            isArray = true;
            bounds = parseBounds();
        }
        if (classLevel) {
            m_class->fields.push_back({sym, isPublicField, bounds, isArray});
            m_class->memberFor(sym).field = int(m_class->fields.size()) - 1;
            m_class->memberFor(sym).isPublic = isPublicField;
            continue;
        }
        declareLocal(sym);
        if (m_scope && !m_proc) {
            m_unit.scopeDims.push_back({sym, isArray, ArrayDecl{sym, -1, bounds, bounds.empty()}});
            continue;
        }
        if (isArray) {
            ArrayDecl d{sym, -1, bounds, bounds.empty()};
            if (m_proc) {
                auto &ls = m_proc->localSyms;
                d.slot = int(std::find(ls.begin(), ls.end(), sym) - ls.begin());
                m_proc->arrays.push_back(d);
            } else {
                m_unit.arrays.push_back(d);
            }
        }
    } while (accept(T::Comma));
}

void Parser::parseConst(bool classLevel)
{
    (void)classLevel;
    do {
        const int sym = expectName();
        expect(T::Eq, 1011);
        Expr *v = parseExpr();
        declareLocal(sym);
        if (m_proc) {
            auto &ls = m_proc->localSyms;
            m_proc->consts.push_back({sym, int(std::find(ls.begin(), ls.end(), sym) - ls.begin()), v});
        } else {
            m_unit.consts.push_back({sym, -1, v});
        }
    } while (accept(T::Comma));
}

void Parser::parseProcedure(bool isPublic, bool isDefault)
{
    if (m_proc)
        fail(1024);
    const int line = cur().line;
    auto *p = m_arena.make<Procedure>();
    p->isPublic = isPublic;
    p->isDefault = isDefault;
    p->line = line;
    p->owner = m_class;
    int endKw;
    if (acceptKw(Kw::Sub)) {
        p->kind = ProcKind::Sub;
        endKw = Kw::Sub;
    } else if (acceptKw(Kw::Function)) {
        p->kind = ProcKind::Function;
        endKw = Kw::Function;
    } else {
        expectKw(Kw::Property, 1050);
        endKw = Kw::Property;
        if (acceptKw(Kw::Get))
            p->kind = ProcKind::PropertyGet;
        else if (acceptKw(Kw::Let))
            p->kind = ProcKind::PropertyLet;
        else if (acceptKw(Kw::Set))
            p->kind = ProcKind::PropertySet;
        else
            fail(1049);
    }
    if (isDefault && p->kind != ProcKind::PropertyGet && p->kind != ProcKind::Function &&
        p->kind != ProcKind::Sub)
        fail(1058);
    p->sym = expectName();
    if (accept(T::LParen)) {
        if (!accept(T::RParen)) {
            do {
                Param prm;
                if (acceptKw(Kw::ByVal))
                    prm.byVal = true;
                else
                    acceptKw(Kw::ByRef);
                prm.sym = expectName();
                if (accept(T::LParen)) {
                    expect(T::RParen, 1006);
                    prm.isArray = true;
                }
                p->params.push_back(prm);
                p->localSyms.push_back(prm.sym);
            } while (accept(T::Comma));
            expect(T::RParen, 1006);
        }
    }
    if ((p->kind == ProcKind::PropertyLet || p->kind == ProcKind::PropertySet) && p->params.empty())
        fail(1054);
    if (p->kind == ProcKind::Function || p->kind == ProcKind::PropertyGet) {
        p->resultSlot = int(p->localSyms.size());
        p->localSyms.push_back(p->sym);
    }
    m_proc = p;
    m_pending.clear();
    const int savedDo = m_doDepth, savedFor = m_forDepth;
    m_doDepth = m_forDepth = 0;
    p->body = parseBlock();
    m_doDepth = savedDo;
    m_forDepth = savedFor;
    expectKw(Kw::End, endKw == Kw::Sub ? 1016 : (endKw == Kw::Function ? 1015 : 1050));
    expectKw(endKw, endKw == Kw::Sub ? 1016 : (endKw == Kw::Function ? 1015 : 1050));
    resolvePending();
    m_proc = nullptr;
    endOfStatement();

    if (m_class) {
        const Name &nm = m_symbols.name(p->sym);
        if (nm.key == QLatin1String("class_initialize") || nm.key == QLatin1String("class_terminate")) {
            if (!p->params.empty())
                fail(1053);
            (nm.key == QLatin1String("class_initialize") ? m_class->initialize : m_class->terminate) = p;
        }
        ClassMember &m = m_class->memberFor(p->sym);
        m.isPublic = isPublic;
        switch (p->kind) {
        case ProcKind::PropertyLet:
            m.let = p;
            break;
        case ProcKind::PropertySet:
            m.set = p;
            break;
        default:
            m.get = p;
        }
        if (isDefault) {
            if (m_class->defaultMember >= 0 && m_class->defaultMember != p->sym)
                fail(1052);
            m_class->defaultMember = p->sym;
        }
    } else {
        m_unit.procedures.push_back(p);
    }
}

void Parser::parseClass()
{
    if (m_class || m_proc)
        fail(1024);
    advance();
    auto *c = m_arena.make<ClassDef>();
    c->sym = expectName();
    endOfStatement();
    m_class = c;
    std::vector<Stmt *> dummy;
    for (;;) {
        skipSeparators();
        if (isKw(Kw::End))
            break;
        if (cur().type == T::End)
            fail(1047);
        const int sym = cur().type == T::Name ? cur().sym : -1;
        if (sym != Kw::Public && sym != Kw::Private && sym != Kw::Dim && sym != Kw::Sub &&
            sym != Kw::Function && sym != Kw::Property && sym != Kw::Const)
            fail(1024);
        parseStatement(dummy, false);
    }
    expectKw(Kw::End, 1014);
    expectKw(Kw::Class, 1047);
    endOfStatement();
    m_class = nullptr;
    m_unit.classes.push_back(c);
}

void Parser::parseSingleLineBody(std::vector<Stmt *> &out)
{
    // statements separated by ':' up to the end of the line or an Else
    for (;;) {
        while (accept(T::Colon)) {
        }
        if (cur().type == T::Newline || cur().type == T::End || isKw(Kw::Else))
            return;
        if (isKw(Kw::End) && peek().type == T::Name && peek().sym == Kw::If) {
            // tolerate "If a Then b End If" on one line
            advance();
            advance();
            return;
        }
        parseStatement(out, true);
        if (!atEndOfStatement() && !isKw(Kw::Else) && !isKw(Kw::End))
            fail(1025);
    }
}

Stmt *Parser::parseIf()
{
    advance();
    auto *s = m_arena.make<IfStmt>();
    std::vector<Expr *> conds;
    std::vector<Block> blocks;
    conds.push_back(parseExpr());
    expectKw(Kw::Then, 1017);
    if (cur().type != T::Newline && cur().type != T::End) {
        // single-line form
        std::vector<Stmt *> thenPart;
        parseSingleLineBody(thenPart);
        blocks.push_back(makeBlock(thenPart));
        if (acceptKw(Kw::Else)) {
            std::vector<Stmt *> elsePart;
            parseSingleLineBody(elsePart);
            s->elseBlock = makeBlock(elsePart);
            s->hasElse = true;
        }
    } else {
        blocks.push_back(parseBlock());
        for (;;) {
            if (acceptKw(Kw::ElseIf)) {
                conds.push_back(parseExpr());
                expectKw(Kw::Then, 1017);
                if (cur().type != T::Newline && cur().type != T::Colon) {
                    std::vector<Stmt *> part;
                    parseSingleLineBody(part);
                    std::vector<Stmt *> rest;
                    Block more = parseBlock();
                    for (int i = 0; i < more.count; ++i)
                        part.push_back(more.items[i]);
                    blocks.push_back(makeBlock(part));
                } else {
                    blocks.push_back(parseBlock());
                }
                continue;
            }
            if (acceptKw(Kw::Else)) {
                s->elseBlock = parseBlock();
                s->hasElse = true;
            }
            break;
        }
        expectKw(Kw::End, 1014);
        expectKw(Kw::If, 1012);
    }
    s->count = int(conds.size());
    s->conds = m_arena.array<Expr *>(conds.size());
    std::copy(conds.begin(), conds.end(), s->conds);
    s->blocks = static_cast<Block *>(m_arena.allocate(sizeof(Block) * blocks.size(), alignof(Block)));
    for (size_t i = 0; i < blocks.size(); ++i)
        new (&s->blocks[i]) Block(blocks[i]);
    return s;
}

Stmt *Parser::parseFor()
{
    advance();
    if (acceptKw(Kw::Each)) {
        auto *s = m_arena.make<ForEachStmt>();
        s->var = makeIdent(expectName());
        expectKw(Kw::In, 1046);
        s->collection = parseExpr();
        ++m_forDepth;
        s->body = parseBlock();
        --m_forDepth;
        expectKw(Kw::Next, 1020);
        if (cur().type == T::Name && cur().sym >= Kw::FirstSoft)
            advance();
        return s;
    }
    auto *s = m_arena.make<ForStmt>();
    s->var = makeIdent(expectName());
    expect(T::Eq, 1011);
    s->from = parseExpr();
    expectKw(Kw::To, 1013);
    s->to = parseExpr();
    if (acceptKw(Kw::Step))
        s->step = parseExpr();
    ++m_forDepth;
    s->body = parseBlock();
    --m_forDepth;
    expectKw(Kw::Next, 1020);
    if (cur().type == T::Name && cur().sym >= Kw::FirstSoft)
        advance();
    return s;
}

Stmt *Parser::parseDo()
{
    advance();
    auto *s = m_arena.make<DoStmt>();
    if (isKw(Kw::While) || isKw(Kw::Until)) {
        s->until = isKw(Kw::Until);
        advance();
        s->cond = parseExpr();
        s->testFirst = true;
    }
    ++m_doDepth;
    s->body = parseBlock();
    --m_doDepth;
    expectKw(Kw::Loop, 1019);
    if (isKw(Kw::While) || isKw(Kw::Until)) {
        if (s->cond)
            fail(1025);
        s->until = isKw(Kw::Until);
        advance();
        s->cond = parseExpr();
        s->testFirst = false;
    }
    return s;
}

Stmt *Parser::parseWhile()
{
    advance();
    auto *s = m_arena.make<DoStmt>();
    s->cond = parseExpr();
    s->body = parseBlock();
    expectKw(Kw::Wend, 1018);
    return s;
}

Stmt *Parser::parseSelect()
{
    advance();
    expectKw(Kw::Case, 1021);
    auto *s = m_arena.make<SelectStmt>();
    s->test = parseExpr();
    endOfStatement();
    skipSeparators();
    std::vector<CaseClause> clauses;
    while (acceptKw(Kw::Case)) {
        if (acceptKw(Kw::Else)) {
            s->elseBlock = parseBlock();
            s->hasElse = true;
            break;
        }
        std::vector<CaseItem> items;
        do {
            CaseItem it;
            if (acceptKw(Kw::Is)) {
                it.kind = 2;
                switch (cur().type) {
                case T::Eq:
                    it.op = Op::Eq;
                    break;
                case T::Ne:
                    it.op = Op::Ne;
                    break;
                case T::Lt:
                    it.op = Op::Lt;
                    break;
                case T::Gt:
                    it.op = Op::Gt;
                    break;
                case T::Le:
                    it.op = Op::Le;
                    break;
                case T::Ge:
                    it.op = Op::Ge;
                    break;
                default:
                    fail(1023);
                }
                advance();
                it.a = parseConcat();
            } else {
                it.a = parseExpr();
                if (acceptKw(Kw::To)) {
                    it.kind = 1;
                    it.b = parseExpr();
                }
            }
            items.push_back(it);
        } while (accept(T::Comma));
        CaseClause c;
        c.count = int(items.size());
        c.items = m_arena.array<CaseItem>(items.size());
        std::copy(items.begin(), items.end(), c.items);
        c.body = parseBlock();
        clauses.push_back(c);
    }
    expectKw(Kw::End, 1014);
    expectKw(Kw::Select, 1022);
    s->count = int(clauses.size());
    s->cases = static_cast<CaseClause *>(
        m_arena.allocate(sizeof(CaseClause) * (clauses.size() + 1), alignof(CaseClause)));
    for (size_t i = 0; i < clauses.size(); ++i)
        new (&s->cases[i]) CaseClause(clauses[i]);
    return s;
}

Stmt *Parser::parseWith()
{
    advance();
    auto *s = m_arena.make<WithStmt>();
    s->object = parseExpr();
    s->body = parseBlock();
    expectKw(Kw::End, 1014);
    expectKw(Kw::With, 1029);
    return s;
}

Stmt *Parser::parseReDim()
{
    advance();
    auto *s = m_arena.make<ReDimStmt>();
    s->preserve = acceptKw(Kw::Preserve);
    std::vector<ReDimItem> items;
    do {
        ReDimItem it;
        const int sym = expectName();
        // At script level ReDim declares the name; inside a procedure it may name a class field or a
        // global, so an unknown name becomes a local only when it runs.
        if (!m_proc && !m_scope)
            declareLocal(sym);
        it.target = makeIdent(sym);
        expect(T::LParen, 1005);
        std::vector<Expr *> dims;
        do {
            dims.push_back(parseExpr());
        } while (accept(T::Comma));
        expect(T::RParen, 1006);
        it.ndims = int(dims.size());
        it.dims = m_arena.array<Expr *>(dims.size());
        std::copy(dims.begin(), dims.end(), it.dims);
        items.push_back(it);
    } while (accept(T::Comma));
    s->count = int(items.size());
    s->items = m_arena.array<ReDimItem>(items.size());
    std::copy(items.begin(), items.end(), s->items);
    return s;
}

Stmt *Parser::parseExit()
{
    advance();
    auto *s = m_arena.make<ExitStmt>();
    // each Exit must sit inside what it leaves (Execute text inside a procedure may leave it)
    const Procedure *p = m_proc ? m_proc : m_scope;
    const ProcKind k = p ? p->kind : ProcKind::Sub;
    bool valid;
    if (isKw(Kw::Do)) {
        s->what = ExitKind::Do;
        valid = m_doDepth > 0;
    } else if (isKw(Kw::For)) {
        s->what = ExitKind::For;
        valid = m_forDepth > 0;
    } else if (isKw(Kw::Sub)) {
        s->what = ExitKind::Sub;
        valid = p && k == ProcKind::Sub;
    } else if (isKw(Kw::Function)) {
        s->what = ExitKind::Function;
        valid = p && k == ProcKind::Function;
    } else if (isKw(Kw::Property)) {
        s->what = ExitKind::Property;
        valid = p && k != ProcKind::Sub && k != ProcKind::Function;
    } else {
        valid = false;
    }
    if (!valid)
        fail(1039);
    advance();
    return s;
}

Stmt *Parser::parseOnError()
{
    advance();
    expectKw(Kw::Error, 1002);
    auto *s = m_arena.make<OnErrorStmt>();
    if (acceptKw(Kw::Resume)) {
        expectKw(Kw::Next, 1002);
        s->resumeNext = true;
    } else {
        expectKw(Kw::GoTo, 1002);
        if (cur().type != T::Int || cur().ival != 0)
            fail(1002);
        advance();
        s->resumeNext = false;
    }
    return s;
}

Stmt *Parser::parseSet()
{
    advance();
    auto *s = m_arena.make<AssignStmt>();
    s->isSet = true;
    s->target = parsePostfix(true);
    expect(T::Eq, 1011);
    s->value = parseExpr();
    return s;
}

Stmt *Parser::parseCallKw()
{
    advance();
    auto *s = m_arena.make<CallStmt>();
    Expr *e = parsePostfix(true);
    s->call = e;
    return s;
}

Stmt *Parser::parseAssignOrCall()
{
    const size_t start = m_pos;
    (void)start;
    m_lastParenPos = 0;
    Expr *target = parsePostfix(true);
    if (cur().type == T::Eq) {
        advance();
        auto *s = m_arena.make<AssignStmt>();
        s->target = target;
        s->value = parseExpr();
        return s;
    }
    auto *s = m_arena.make<CallStmt>();
    if (atEndOfStatement() || isKw(Kw::Else)) {
        // foo(x) as a statement: the parentheses make x a by-value argument
        if (target->kind == EK::Call) {
            auto *c = static_cast<CallExpr *>(target);
            if (c->nargs == 1 && c->args[0]->kind != EK::Missing && m_lastParenPos &&
                c->target->kind != EK::Call)
                c->args[0]->parens = true;
        }
        s->call = target;
        return s;
    }
    // foo a, b  or  foo (a) + 1, b: the arguments follow without parentheses
    if (target->kind == EK::Call && m_lastParenPos) {
        auto *c = static_cast<CallExpr *>(target);
        m_pos = m_lastParenPos;
        target = c->target;
    }
    auto *call = m_arena.make<CallExpr>(target);
    call->line = cur().line;
    parseArgs(call, false);
    int childDepth = target->depth;
    for (int i = 0; i < call->nargs; ++i)
        childDepth = std::max<int>(childDepth, call->args[i]->depth);
    grown(call, childDepth);
    s->call = call;
    return s;
}

// ---------------------------------------------------------------- expressions

Expr *Parser::parseExpr()
{
    // deeply nested input would exhaust the stack; real formulas stay far below this
    Nest nest(*this);
    return parseBinary(1);
}

// The binary operator at the current token and how tightly it binds (0: none):
// Imp < Eqv < Xor < Or < And < (Not) < comparisons and Is < & < + - < Mod < \ < * /.
int Parser::binaryOperator(Op &op) const
{
    const Token &t = cur();
    switch (t.type) {
    case T::Star:
        op = Op::Mul;
        return 12;
    case T::Slash:
        op = Op::Div;
        return 12;
    case T::Backslash:
        op = Op::IntDiv;
        return 11;
    case T::Plus:
        op = Op::Add;
        return 9;
    case T::Minus:
        op = Op::Sub;
        return 9;
    case T::Amp:
        op = Op::Concat;
        return 8;
    case T::Eq:
        op = Op::Eq;
        return 7;
    case T::Ne:
        op = Op::Ne;
        return 7;
    case T::Lt:
        op = Op::Lt;
        return 7;
    case T::Gt:
        op = Op::Gt;
        return 7;
    case T::Le:
        op = Op::Le;
        return 7;
    case T::Ge:
        op = Op::Ge;
        return 7;
    case T::Name:
        switch (t.sym) {
        case Kw::Mod:
            op = Op::Mod;
            return 10;
        case Kw::Is:
            op = Op::Is;
            return 7;
        case Kw::And:
            op = Op::And;
            return 5;
        case Kw::Or:
            op = Op::Or;
            return 4;
        case Kw::Xor:
            op = Op::Xor;
            return 3;
        case Kw::Eqv:
            op = Op::Eqv;
            return 2;
        case Kw::Imp:
            op = Op::Imp;
            return 1;
        default:
            return 0;
        }
    default:
        return 0;
    }
}

// Operators binding at least as tightly as minPrecedence, left to right (one loop per level
// instead of a function per level: formulas are parsed on every evaluation).
Expr *Parser::parseBinary(int minPrecedence)
{
    Expr *l = isKw(Kw::Not) ? parseNot() : parsePow();
    for (;;) {
        Op op;
        const int prec = binaryOperator(op);
        if (prec < minPrecedence || prec == 0)
            return l;
        const int line = cur().line;
        advance();
        Expr *r = parseBinary(prec + 1);
        l = grown(m_arena.make<BinaryExpr>(op, l, r), std::max(l->depth, r->depth));
        l->line = line;
    }
}

Expr *Parser::parseConcat()
{
    return parseBinary(8);
}

// Not binds more loosely than comparisons: Not a = b is Not (a = b).
Expr *Parser::parseNot()
{
    if (isKw(Kw::Not)) {
        const int line = cur().line;
        advance();
        Nest nest(*this);
        Expr *operand = parseBinary(7);
        Expr *e = grown(m_arena.make<UnaryExpr>(Op::Not, operand), operand->depth);
        e->line = line;
        return e;
    }
    return parseBinary(7);
}

// Sign operators bind tighter than ^ in VBScript: -3 ^ 2 is 9, 2 ^ -1 is 0.5.
Expr *Parser::parseSigned()
{
    if (cur().type == T::Minus) {
        const int line = cur().line;
        advance();
        Nest nest(*this);
        Expr *operand = parseSigned();
        if (operand->kind == EK::Literal && !operand->parens) {
            // fold -literal so it stays a literal (hard-typed for comparisons)
            auto *lit = static_cast<LiteralExpr *>(operand);
            const Value &v = lit->value;
            switch (v.type()) {
            case VarType::Integer:
                lit->value = v.rawInt() == -32768 ? Value::lng(32768) : Value::integer(int16_t(-v.rawInt()));
                return lit;
            case VarType::Long:
                // -32768 stays a Long: the literal 32768 was one before the sign
                lit->value =
                    v.rawInt() == INT32_MIN ? Value::dbl(2147483648.0) : Value::lng(int32_t(-v.rawInt()));
                return lit;
            case VarType::Double:
                lit->value = Value::dbl(-v.rawDouble());
                return lit;
            default:
                break;
            }
        }
        Expr *e = grown(m_arena.make<UnaryExpr>(Op::Neg, operand), operand->depth);
        e->line = line;
        return e;
    }
    if (cur().type == T::Plus) {
        advance();
        Nest nest(*this);
        return parseSigned();
    }
    if (isKw(Kw::Not)) {
        Nest nest(*this);
        return parseNot();
    }
    return parsePostfix(false);
}

Expr *Parser::parsePow()
{
    Expr *l = parseSigned();
    while (cur().type == T::Caret) {
        const int line = cur().line;
        advance();
        Expr *r = parseSigned();
        l = grown(m_arena.make<BinaryExpr>(Op::Pow, l, r), std::max(l->depth, r->depth));
        l->line = line;
    }
    return l;
}

void Parser::parseArgs(CallExpr *call, bool parenthesized)
{
    std::vector<Expr *> args;
    auto endOfArgs = [&] {
        return parenthesized ? cur().type == T::RParen : (atEndOfStatement() || isKw(Kw::Else));
    };
    if (!endOfArgs()) {
        for (;;) {
            if (cur().type == T::Comma || endOfArgs()) {
                args.push_back(m_arena.make<Expr>(EK::Missing));
            } else {
                args.push_back(parseExpr());
            }
            if (!accept(T::Comma))
                break;
            if (endOfArgs())
                args.push_back(m_arena.make<Expr>(EK::Missing));
        }
    }
    if (parenthesized)
        expect(T::RParen, 1006);
    call->nargs = int(args.size());
    call->args = m_arena.array<Expr *>(args.size());
    std::copy(args.begin(), args.end(), call->args);
}

Expr *Parser::parsePostfix(bool statementStart)
{
    (void)statementStart;
    Expr *e = parsePrimary();
    for (;;) {
        if (cur().type == T::Dot && !cur().space) {
            advance();
            if (cur().type != T::Name)
                fail(1010);
            const int sym = m_symbols.member(cur().sym);
            const int line = cur().line;
            advance();
            e = grown(m_arena.make<MemberExpr>(e, sym), e->depth);
            e->line = line;
            continue;
        }
        if (cur().type == T::LParen) {
            if (e->kind == EK::Literal || e->kind == EK::New)
                return e;
            const size_t parenPos = m_pos;
            const int line = cur().line;
            advance();
            auto *c = m_arena.make<CallExpr>(e);
            c->line = line;
            parseArgs(c, true);
            int childDepth = e->depth;
            for (int i = 0; i < c->nargs; ++i)
                childDepth = std::max<int>(childDepth, c->args[i]->depth);
            e = grown(c, childDepth);
            m_lastParenPos = parenPos;
            continue;
        }
        return e;
    }
}

Expr *Parser::parsePrimary()
{
    const Token &t = cur();
    const int line = t.line;
    switch (t.type) {
    case T::Int: {
        auto *l = m_arena.make<LiteralExpr>();
        l->value = t.fval == 2 ? Value::lng(int32_t(t.ival)) : Value::fromInt(t.ival);
        l->line = line;
        advance();
        return l;
    }
    case T::Float: {
        auto *l = m_arena.make<LiteralExpr>();
        l->value = Value::dbl(t.fval);
        l->line = line;
        advance();
        return l;
    }
    case T::Str: {
        auto *l = m_arena.make<LiteralExpr>();
        l->value = Value(Lexer::stringValue(m_src, t));
        l->line = line;
        advance();
        return l;
    }
    case T::Date: {
        auto *l = m_arena.make<LiteralExpr>();
        l->value = Value::date(t.fval);
        l->line = line;
        advance();
        return l;
    }
    case T::LParen: {
        advance();
        Expr *e = parseExpr();
        expect(T::RParen, 1006);
        e->parens = true;
        return e;
    }
    case T::Dot: {
        advance();
        if (cur().type != T::Name)
            fail(1010);
        auto *m = m_arena.make<MemberExpr>(nullptr, m_symbols.member(cur().sym));
        m->line = line;
        advance();
        return m;
    }
    case T::Name:
        switch (t.sym) {
        case Kw::True:
        case Kw::False: {
            auto *l = m_arena.make<LiteralExpr>();
            l->value = Value::boolean(t.sym == Kw::True);
            advance();
            return l;
        }
        case Kw::Empty: {
            auto *l = m_arena.make<LiteralExpr>();
            l->literal = false;
            advance();
            return l;
        }
        case Kw::Null: {
            auto *l = m_arena.make<LiteralExpr>();
            l->value = Value::null();
            l->literal = false;
            advance();
            return l;
        }
        case Kw::Nothing: {
            auto *l = m_arena.make<LiteralExpr>();
            l->value = Value::nothing();
            l->literal = false;
            advance();
            return l;
        }
        case Kw::Me: {
            advance();
            auto *e = m_arena.make<Expr>(EK::Me);
            e->line = line;
            return e;
        }
        case Kw::New: {
            advance();
            if (cur().type != T::Name)
                fail(1010);
            auto *e = m_arena.make<NewExpr>(cur().sym);
            e->line = line;
            advance();
            return e;
        }
        default:
            if (t.sym < Kw::FirstSoft)
                fail(1023);
            advance();
            Expr *e = makeIdent(t.sym);
            e->line = line;
            return e;
        }
    default:
        fail(1023);
    }
}

} // namespace vbs
