#pragma once

#include "Ast.h"
#include "Lexer.h"
#include "Resources.h"

#include <vector>

namespace vbs {

// Recursive-descent parser for VBScript; allocates the tree in the unit's arena.
// Names used inside a procedure are resolved to local slots when the procedure ends, so Dim may
// follow the first use (VBScript hoists declarations).
class Parser {
public:
    Parser(SymbolTable &symbols, Unit &unit, const QString &src, const std::vector<Token> &tokens);

    // Script text: declarations and top-level statements.
    void parseProgram();
    // One expression that must span the whole text (Eval, report formulas).
    Expr *parseWholeExpression();
    // Statements run in an existing procedure's scope (Execute inside a Sub).
    void setScope(Procedure *proc) { m_scope = proc; }

private:
    const Token &cur() const { return m_toks[m_pos]; }
    const Token &peek(int k = 1) const;
    void advance()
    {
        if (m_toks[m_pos].type != T::End)
            ++m_pos;
    }
    bool isKw(int kw) const { return cur().type == T::Name && cur().sym == kw; }
    bool acceptKw(int kw);
    bool accept(T t);
    void expect(T t, int err);
    void expectKw(int kw, int err);
    bool atEndOfStatement() const;
    void endOfStatement();
    void skipSeparators();
    int expectName();
    [[noreturn]] void fail(int err) const;

    // statements
    Block parseBlock();
    bool atBlockEnd() const;
    bool parseStatement(std::vector<Stmt *> &out, bool singleLine);
    void parseDim(std::vector<Stmt *> &out, bool isPublicField, bool classLevel);
    void parseConst(bool classLevel);
    void parseProcedure(bool isPublic, bool isDefault);
    void parseClass();
    Stmt *parseIf();
    Stmt *parseFor();
    Stmt *parseDo();
    Stmt *parseWhile();
    Stmt *parseSelect();
    Stmt *parseWith();
    Stmt *parseReDim();
    Stmt *parseExit();
    Stmt *parseOnError();
    Stmt *parseAssignOrCall();
    Stmt *parseSet();
    Stmt *parseCallKw();
    void parseSingleLineBody(std::vector<Stmt *> &out);
    Block makeBlock(const std::vector<Stmt *> &v);

    // expressions
    Expr *parseExpr();
    int binaryOperator(Op &op) const;
    Expr *parseBinary(int minPrecedence);
    Expr *parseNot();
    Expr *parseConcat();
    Expr *parsePow();
    Expr *parseSigned();
    Expr *parsePostfix(bool statementStart);
    Expr *parsePrimary();
    void parseArgs(CallExpr *call, bool parenthesized);
    Expr *makeIdent(int sym);
    std::vector<int> parseBounds();
    int constInt();

    // Nested blocks, parentheses and prefix operators the parser follows by recursion.
    static constexpr int kMaxNesting = 200;
    // Height of one expression's tree (a long a + b + ... chain, a(1)(1)... or a.b.b...): evaluation
    // recurses that deep, so texts beyond it are refused before they run ("Out of stack space").
    static constexpr int kMaxExprDepth = 3000;
    // A new node over children at most childDepth high.
    Expr *grown(Expr *node, int childDepth)
    {
        if (childDepth >= kMaxExprDepth)
            fail(28);
        node->depth = uint16_t(childDepth + 1);
        return node;
    }
    struct Nest {
        Parser &p;
        explicit Nest(Parser &parser) : p(parser)
        {
            if (++p.m_nesting > kMaxNesting || stackPointer() < p.m_stackLimit)
                p.fail(28);
        }
        ~Nest() { --p.m_nesting; }
    };

    void declareLocal(int sym);
    void resolvePending();

    SymbolTable &m_symbols;
    Unit &m_unit;
    Arena &m_arena;
    const QString &m_src;
    const std::vector<Token> &m_toks;
    size_t m_pos = 0;

    Procedure *m_proc = nullptr;  // procedure being parsed
    Procedure *m_scope = nullptr; // existing scope for Execute
    ClassDef *m_class = nullptr;
    std::vector<IdentExpr *> m_pending;
    size_t m_lastParenPos = 0; // token index of the last call parenthesis in a postfix chain
    int m_doDepth = 0, m_forDepth = 0;
    int m_nesting = 0;
    uintptr_t m_stackLimit = 0;
};

} // namespace vbs
