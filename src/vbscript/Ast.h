#pragma once

#include "Value.h"

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace vbs {

// Bump allocator for syntax trees: one parse allocates a few blocks, freed all at once.
class Arena {
public:
    Arena() = default;
    Arena(const Arena &) = delete;
    Arena &operator=(const Arena &) = delete;
    ~Arena() { clear(); }

    void *allocate(size_t size, size_t align = alignof(std::max_align_t))
    {
        size_t p = (m_used + align - 1) & ~(align - 1);
        if (m_current < 0 || p + size > m_blocks[size_t(m_current)].size) {
            nextBlock(size + align);
            p = (m_used + align - 1) & ~(align - 1);
        }
        m_used = p + size;
        return m_blocks[size_t(m_current)].data.get() + p;
    }
    template <class T, class... A> T *make(A &&...a)
    {
        T *t = new (allocate(sizeof(T), alignof(T))) T(std::forward<A>(a)...);
        if constexpr (!std::is_trivially_destructible_v<T>)
            m_dtors.push_back({t, [](void *p) { static_cast<T *>(p)->~T(); }});
        return t;
    }
    template <class T> T *array(size_t n)
    {
        static_assert(std::is_trivially_destructible_v<T>);
        if (n == 0)
            return nullptr;
        T *t = static_cast<T *>(allocate(sizeof(T) * n, alignof(T)));
        for (size_t i = 0; i < n; ++i)
            new (t + i) T();
        return t;
    }
    // Frees every node but keeps the first block for the next parse.
    void clear()
    {
        for (auto it = m_dtors.rbegin(); it != m_dtors.rend(); ++it)
            it->fn(it->p);
        m_dtors.clear();
        if (m_blocks.size() > 1)
            m_blocks.resize(1);
        m_current = m_blocks.empty() ? -1 : 0;
        m_used = 0;
    }

private:
    struct Block {
        std::unique_ptr<char[]> data;
        size_t size;
    };
    struct Dtor {
        void *p;
        void (*fn)(void *);
    };
    void nextBlock(size_t atLeast)
    {
        if (m_current + 1 < int(m_blocks.size()) && m_blocks[size_t(m_current + 1)].size >= atLeast) {
            ++m_current;
        } else {
            const size_t size = atLeast > 8192 ? atLeast : 8192;
            m_blocks.push_back({std::unique_ptr<char[]>(new char[size]), size});
            m_current = int(m_blocks.size()) - 1;
        }
        m_used = 0;
    }
    std::vector<Block> m_blocks;
    std::vector<Dtor> m_dtors;
    int m_current = -1;
    size_t m_used = 0;
};

enum class EK : uint8_t { Literal, Ident, Member, Call, Unary, Binary, New, Me, Missing };

enum class Op : uint8_t {
    None,
    Neg,
    Not,
    Pow,
    Mul,
    Div,
    IntDiv,
    Mod,
    Add,
    Sub,
    Concat,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    Is,
    And,
    Or,
    Xor,
    Eqv,
    Imp
};

struct Expr {
    EK kind;
    Op op = Op::None;
    bool literal = false; // a constant in the source: comparisons convert the other side to its type
    bool parens = false;  // written inside parentheses: passed by value
    uint16_t depth = 1;   // height of the subtree: evaluation recurses this deep
    int line = 0;
    explicit Expr(EK k) : kind(k) {}
};

struct LiteralExpr : Expr {
    Value value;
    LiteralExpr() : Expr(EK::Literal) { literal = true; }
};

struct IdentExpr : Expr {
    int sym;
    int slot = -1; // local slot in the enclosing procedure, resolved when the procedure ends
    explicit IdentExpr(int s) : Expr(EK::Ident), sym(s) {}
};

struct MemberExpr : Expr {
    Expr *object; // nullptr: member of the current With object
    int sym;
    MemberExpr(Expr *o, int s) : Expr(EK::Member), object(o), sym(s) {}
};

struct CallExpr : Expr {
    Expr *target;
    Expr **args = nullptr; // a missing optional argument is an EK::Missing node
    int nargs = 0;
    explicit CallExpr(Expr *t) : Expr(EK::Call), target(t) {}
};

struct UnaryExpr : Expr {
    Expr *operand;
    UnaryExpr(Op o, Expr *e) : Expr(EK::Unary), operand(e) { op = o; }
};

struct BinaryExpr : Expr {
    Expr *left;
    Expr *right;
    BinaryExpr(Op o, Expr *l, Expr *r) : Expr(EK::Binary), left(l), right(r) { op = o; }
};

struct NewExpr : Expr {
    int sym;
    explicit NewExpr(int s) : Expr(EK::New), sym(s) {}
};

// ---------------------------------------------------------------- statements

enum class SK : uint8_t {
    Assign,
    Call,
    If,
    For,
    ForEach,
    Do,
    Select,
    With,
    ReDim,
    Erase,
    Exit,
    OnError,
    Nop
};

struct Stmt {
    SK kind;
    int line = 0;
    explicit Stmt(SK k) : kind(k) {}
};

struct Block {
    Stmt **items = nullptr;
    int count = 0;
};

struct AssignStmt : Stmt {
    Expr *target = nullptr;
    Expr *value = nullptr;
    bool isSet = false;
    AssignStmt() : Stmt(SK::Assign) {}
};

struct CallStmt : Stmt {
    Expr *call = nullptr; // CallExpr, IdentExpr or MemberExpr
    CallStmt() : Stmt(SK::Call) {}
};

struct IfStmt : Stmt {
    int count = 0; // If and ElseIf arms
    Expr **conds = nullptr;
    Block *blocks = nullptr;
    Block elseBlock;
    bool hasElse = false;
    IfStmt() : Stmt(SK::If) {}
};

struct ForStmt : Stmt {
    Expr *var = nullptr;
    Expr *from = nullptr, *to = nullptr, *step = nullptr;
    Block body;
    ForStmt() : Stmt(SK::For) {}
};

struct ForEachStmt : Stmt {
    Expr *var = nullptr;
    Expr *collection = nullptr;
    Block body;
    ForEachStmt() : Stmt(SK::ForEach) {}
};

struct DoStmt : Stmt {
    Expr *cond = nullptr; // nullptr: loop until Exit Do
    bool until = false;
    bool testFirst = true;
    Block body;
    DoStmt() : Stmt(SK::Do) {}
};

struct CaseItem {
    uint8_t kind = 0; // 0 value, 1 range a To b, 2 Is <op> a
    Op op = Op::Eq;
    Expr *a = nullptr;
    Expr *b = nullptr;
};

struct CaseClause {
    CaseItem *items = nullptr;
    int count = 0;
    Block body;
};

struct SelectStmt : Stmt {
    Expr *test = nullptr;
    CaseClause *cases = nullptr;
    int count = 0;
    Block elseBlock;
    bool hasElse = false;
    SelectStmt() : Stmt(SK::Select) {}
};

struct WithStmt : Stmt {
    Expr *object = nullptr;
    Block body;
    WithStmt() : Stmt(SK::With) {}
};

struct ReDimItem {
    Expr *target = nullptr;
    Expr **dims = nullptr;
    int ndims = 0;
};

struct ReDimStmt : Stmt {
    bool preserve = false;
    ReDimItem *items = nullptr;
    int count = 0;
    ReDimStmt() : Stmt(SK::ReDim) {}
};

struct EraseStmt : Stmt {
    Expr *target = nullptr;
    EraseStmt() : Stmt(SK::Erase) {}
};

enum class ExitKind : uint8_t { Do, For, Sub, Function, Property };

struct ExitStmt : Stmt {
    ExitKind what = ExitKind::Sub;
    ExitStmt() : Stmt(SK::Exit) {}
};

struct OnErrorStmt : Stmt {
    bool resumeNext = true;
    OnErrorStmt() : Stmt(SK::OnError) {}
};

// ---------------------------------------------------------------- declarations

struct ArrayDecl {
    int sym;
    int slot; // local slot, or -1 at script level
    std::vector<int> bounds;
    bool dynamic = false; // Dim a(): an array without elements until ReDim
};

struct ConstDecl {
    int sym;
    int slot;
    Expr *value;
};

enum class ProcKind : uint8_t { Sub, Function, PropertyGet, PropertyLet, PropertySet };

struct ClassDef;

struct Param {
    int sym = -1;
    bool byVal = false;
    bool isArray = false;
};

struct Procedure {
    int sym = -1;
    ProcKind kind = ProcKind::Sub;
    bool isPublic = true;
    bool isDefault = false;
    bool explicitVars = false; // Option Explicit in its script
    ClassDef *owner = nullptr;
    std::vector<Param> params;
    std::vector<int> localSyms; // slot -> symbol; params first, then the result, then Dim'd names
    int resultSlot = -1;
    std::vector<ArrayDecl> arrays;
    std::vector<ConstDecl> consts;
    Block body;
    int line = 0;
    int unit = 0;
};

struct ClassField {
    int sym;
    bool isPublic;
    std::vector<int> bounds; // non-empty: a fixed array
    bool isArray = false;
};

struct ClassMember {
    Procedure *get = nullptr; // Property Get, Function or Sub
    Procedure *let = nullptr;
    Procedure *set = nullptr;
    int field = -1; // index in fields
    bool isPublic = true;
};

struct ClassDef {
    int sym = -1;
    std::vector<ClassField> fields;
    std::vector<std::pair<int, ClassMember>> members; // by symbol
    Procedure *initialize = nullptr;
    Procedure *terminate = nullptr;
    int defaultMember = -1; // symbol
    const ClassMember *member(int sym) const
    {
        for (const auto &m : members)
            if (m.first == sym)
                return &m.second;
        return nullptr;
    }
    ClassMember &memberFor(int sym)
    {
        for (auto &m : members)
            if (m.first == sym)
                return m.second;
        members.push_back({sym, ClassMember()});
        return members.back().second;
    }
};

// One parsed piece of code: its top-level statements and declarations.
struct Unit {
    Arena arena;
    Block body;
    std::vector<Procedure *> procedures;
    std::vector<ClassDef *> classes;
    std::vector<int> globals; // Dim'd at script level (hoisted)
    std::vector<ArrayDecl> arrays;
    std::vector<ConstDecl> consts;
    // Execute inside a procedure: Dim'd names become that call's locals (isArray: with bounds)
    struct ScopeDim {
        int sym;
        bool isArray;
        ArrayDecl array;
    };
    std::vector<ScopeDim> scopeDims;
    bool optionExplicit = false;
    int firstLine = 1;
};

} // namespace vbs
