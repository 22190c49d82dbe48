#include "SymbolTable.h"

namespace vbs {

namespace {
const char *const kKeywords[] = {
    "And",    "ByRef",   "ByVal", "Call",     "Case",   "Class", "Const",    "Dim",      "Do",     "Each",
    "Else",   "ElseIf",  "Empty", "End",      "Eqv",    "Erase", "Exit",     "False",    "For",    "Function",
    "GoTo",   "If",      "Imp",   "In",       "Is",     "Loop",  "Me",       "Mod",      "New",    "Next",
    "Not",    "Nothing", "Null",  "On",       "Option", "Or",    "Private",  "Public",   "ReDim",  "Rem",
    "Select", "Set",     "Stop",    "Sub",   "Then",     "To",     "True",  "Until",    "Wend",     "While",  "With",
    "Xor",    "Default", "Error", "Explicit", "Get",    "Let",   "Preserve", "Property", "Resume", "Step",
};
static_assert(sizeof(kKeywords) / sizeof(kKeywords[0]) == Kw::Count);

inline char16_t fold(char16_t c)
{
    if (c < 128)
        return (c >= 'A' && c <= 'Z') ? char16_t(c + 32) : c;
    return QChar(c).toLower().unicode();
}
} // namespace

SymbolTable::SymbolTable()
{
    m_slots.assign(512, -1);
    for (const char *k : kKeywords)
        intern(QString::fromLatin1(k));
}

uint32_t SymbolTable::hashOf(QStringView s)
{
    uint32_t h = 2166136261u;
    for (QChar c : s) {
        h ^= fold(c.unicode());
        h *= 16777619u;
    }
    return h;
}

bool SymbolTable::sameName(QStringView a, const QString &key)
{
    if (a.size() != key.size())
        return false;
    const QChar *k = key.constData();
    for (qsizetype i = 0; i < a.size(); ++i)
        if (fold(a[i].unicode()) != k[i].unicode())
            return false;
    return true;
}

int SymbolTable::find(QStringView name) const
{
    const uint32_t h = hashOf(name);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
        const int id = m_slots[i];
        if (id < 0)
            return -1;
        if (m_hashes[size_t(id)] == h && sameName(name, m_keys[size_t(id)]))
            return id;
    }
}

int SymbolTable::member(int sym)
{
    if (sym >= Kw::FirstSoft) // soft keywords (Step, Property ...) are names already
        return sym;
    return intern(QString(QStringLiteral("[") + m_names[size_t(sym)].text + QLatin1Char(']')));
}

int SymbolTable::intern(QStringView name)
{
    const uint32_t h = hashOf(name);
    size_t mask = m_slots.size() - 1;
    size_t i = h & mask;
    for (;; i = (i + 1) & mask) {
        const int id = m_slots[i];
        if (id < 0)
            break;
        if (m_hashes[size_t(id)] == h && sameName(name, m_keys[size_t(id)]))
            return id;
    }
    const int id = int(m_names.size());
    Name n;
    n.id = id;
    n.text = name.toString();
    n.key = n.text.toLower();
    m_keys.push_back(n.key); // shared with the key unless bracketed
    if (n.text.size() > 2 && n.text.startsWith(QLatin1Char('[')) && n.text.endsWith(QLatin1Char(']'))) {
        n.text = n.text.mid(1, n.text.size() - 2);
        n.key = n.text.toLower();
    }
    m_names.push_back(std::move(n));
    m_hashes.push_back(h);
    m_slots[i] = id;
    if (m_names.size() * 2 > m_slots.size())
        grow();
    return id;
}

void SymbolTable::grow()
{
    std::vector<int> table(m_slots.size() * 2, -1);
    const size_t mask = table.size() - 1;
    for (size_t id = 0; id < m_names.size(); ++id) {
        size_t i = m_hashes[id] & mask;
        while (table[i] >= 0)
            i = (i + 1) & mask;
        table[i] = int(id);
    }
    m_slots.swap(table);
}

} // namespace vbs
