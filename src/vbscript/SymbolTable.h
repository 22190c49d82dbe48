#pragma once

#include "HostObject.h"

#include <QStringView>

#include <deque>
#include <vector>

namespace vbs {

// Keywords are interned first, so a token is a keyword when its symbol is below Kw::Count.
// Those after Kw::FirstSoft may also serve as names.
namespace Kw {
enum : int {
    And,
    ByRef,
    ByVal,
    Call,
    Case,
    Class,
    Const,
    Dim,
    Do,
    Each,
    Else,
    ElseIf,
    Empty,
    End,
    Eqv,
    Erase,
    Exit,
    False,
    For,
    Function,
    GoTo,
    If,
    Imp,
    In,
    Is,
    Loop,
    Me,
    Mod,
    New,
    Next,
    Not,
    Nothing,
    Null,
    On,
    Option,
    Or,
    Private,
    Public,
    ReDim,
    Rem,
    Select,
    Set,
    Stop,
    Sub,
    Then,
    To,
    True,
    Until,
    Wend,
    While,
    With,
    Xor,
    FirstSoft,
    Default = FirstSoft,
    Error,
    Explicit,
    Get,
    Let,
    Preserve,
    Property,
    Resume,
    Step,
    Count
};
}

// Case-insensitive interning of names to dense ids, so lookups at run time are array indexes.
class SymbolTable {
public:
    SymbolTable();
    int intern(QStringView name);
    int find(QStringView name) const; // -1 when never seen
    // A member named like a keyword (obj.rem, Public [end]): a symbol of its own whose Name is the
    // bare word, so host objects see "rem".
    int member(int sym);
    const Name &name(int id) const { return m_names[size_t(id)]; }
    int size() const { return int(m_names.size()); }

private:
    static uint32_t hashOf(QStringView s);
    static bool sameName(QStringView a, const QString &key);
    void grow();

    std::deque<Name> m_names;
    std::vector<QString> m_keys; // what lookups match: the key, or "[rem]" for a bracketed keyword
    std::vector<uint32_t> m_hashes;
    std::vector<int> m_slots; // open addressing, -1 empty
};

} // namespace vbs
