#pragma once

#include "SymbolTable.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vbs {

enum class T : uint8_t {
    End,
    Newline,
    Colon,
    Name,
    Int,
    Float,
    Str,
    Date,
    LParen,
    RParen,
    Comma,
    Dot,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Amp
};

struct Token {
    T type = T::End;
    bool space = false;   // whitespace before the token
    bool escapes = false; // string with doubled quotes
    int line = 0;
    int col = 0;
    int sym = -1;                // Name: interned symbol (keywords below Kw::Count)
    int64_t ival = 0;            // Int: value; Int with ival > INT32_MAX never occurs (becomes Float)
    double fval = 0;             // Float, Date
    uint32_t start = 0, len = 0; // Str: the text between the quotes
};

// Turns source text into tokens; names are interned into the engine's symbol table.
class Lexer {
public:
    Lexer(SymbolTable &symbols) : m_symbols(symbols) {}
    // Throws ScriptError (compilation) on bad input; lines are numbered from firstLine.
    void tokenize(const QString &src, std::vector<Token> &out, int firstLine = 1);
    static QString stringValue(const QString &src, const Token &t);

private:
    SymbolTable &m_symbols;
};

} // namespace vbs
