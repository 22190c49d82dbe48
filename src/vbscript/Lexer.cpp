#include "Lexer.h"

#include <string>

#include "Convert.h"
#include "ScriptError.h"

#include <cmath>

namespace vbs {

namespace {
inline bool isIdentStart(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0xC0 && QChar(c).isLetter());
}
inline bool isIdentChar(char16_t c)
{
    return isIdentStart(c) || (c >= '0' && c <= '9') || c == '_';
}
inline bool isDigit(char16_t c)
{
    return c >= '0' && c <= '9';
}
} // namespace

QString Lexer::stringValue(const QString &src, const Token &t)
{
    QString s = src.mid(t.start, t.len);
    if (t.escapes)
        s.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return s;
}

void Lexer::tokenize(const QString &src, std::vector<Token> &out, int firstLine)
{
    out.clear();
    const char16_t *p = reinterpret_cast<const char16_t *>(src.constData());
    const size_t n = size_t(src.size());
    size_t i = 0;
    int line = firstLine;
    size_t lineStart = 0;
    bool space = false;
    bool continued = false; // a line continuation came before this token
    auto push = [&](T type, size_t start) -> Token & {
        out.emplace_back();
        Token &t = out.back();
        t.type = type;
        t.space = space;
        if (continued) {
            // "obj _" then ".Member" on the next line is still obj.Member
            if (type == T::Dot)
                t.space = false;
            continued = false;
        }
        t.line = line;
        t.col = int(start - lineStart) + 1;
        space = false;
        return t;
    };
    auto newline = [&](size_t start) {
        if (!out.empty() && out.back().type != T::Newline)
            push(T::Newline, start);
        ++line;
    };
    while (i < n) {
        const char16_t c = p[i];
        if (c == ' ' || c == '\t' || c == 0xA0 || c == 0xFEFF) {
            ++i;
            space = true;
            continue;
        }
        if (c == '\r' || c == '\n') {
            newline(i);
            if (c == '\r' && i + 1 < n && p[i + 1] == '\n')
                ++i;
            ++i;
            lineStart = i;
            space = true;
            continue;
        }
        if (c == '\'') {
            while (i < n && p[i] != '\r' && p[i] != '\n')
                ++i;
            continue;
        }
        if (c == '_') {
            size_t j = i + 1;
            while (j < n && (p[j] == ' ' || p[j] == '\t'))
                ++j;
            if (j >= n || p[j] == '\r' || p[j] == '\n') {
                if (j < n && p[j] == '\r' && j + 1 < n && p[j + 1] == '\n')
                    ++j;
                i = j + 1;
                ++line;
                lineStart = i;
                space = true;
                continued = true;
                continue;
            }
            raiseCompile(1032, line, int(i - lineStart) + 1);
        }
        const size_t start = i;
        if (isIdentStart(c)) {
            while (i < n && isIdentChar(p[i]))
                ++i;
            const QStringView name(src.constData() + start, qsizetype(i - start));
            const int sym = m_symbols.intern(name);
            if (sym == Kw::Rem && !(!out.empty() && out.back().type == T::Dot && p[start - 1] == '.') &&
                (i >= n || p[i] == ' ' || p[i] == '\t' || p[i] == '\r' || p[i] == '\n' || p[i] == ':')) {
                while (i < n && p[i] != '\r' && p[i] != '\n')
                    ++i;
                continue;
            }
            Token &t = push(T::Name, start);
            t.sym = sym;
            continue;
        }
        if (c == '[') {
            size_t j = i + 1;
            while (j < n && p[j] != ']' && p[j] != '\r' && p[j] != '\n')
                ++j;
            if (j >= n || p[j] != ']')
                raiseCompile(1007, line, int(i - lineStart) + 1);
            Token &t = push(T::Name, start);
            t.sym = m_symbols.intern(QStringView(src.constData() + i + 1, qsizetype(j - i - 1)));
            // bracketed names are never keywords; re-intern keyword spellings under a distinct form
            if (t.sym < Kw::FirstSoft)
                t.sym = m_symbols.intern(QStringView(src.constData() + i, qsizetype(j - i + 1)));
            i = j + 1;
            continue;
        }
        const bool dotNumber =
            c == '.' && i + 1 < n && isDigit(p[i + 1]) &&
            (out.empty() || space || (out.back().type != T::Name && out.back().type != T::RParen));
        if (isDigit(c) || dotNumber) {
            bool isFloat = false;
            while (i < n && isDigit(p[i]))
                ++i;
            if (i < n && p[i] == '.' && i + 1 <= n) {
                isFloat = true;
                ++i;
                while (i < n && isDigit(p[i]))
                    ++i;
            }
            if (i < n && (p[i] == 'e' || p[i] == 'E')) {
                size_t j = i + 1;
                if (j < n && (p[j] == '+' || p[j] == '-'))
                    ++j;
                if (j < n && isDigit(p[j])) {
                    isFloat = true;
                    i = j;
                    while (i < n && isDigit(p[i]))
                        ++i;
                }
            }
            if (i < n && isIdentStart(p[i]))
                raiseCompile(1025, line, int(i - lineStart) + 1);
            if (!isFloat) {
                int64_t v = 0;
                bool big = false;
                for (size_t k = start; k < i; ++k) {
                    v = v * 10 + (p[k] - '0');
                    if (v > INT32_MAX) {
                        big = true;
                        break;
                    }
                }
                if (!big) {
                    Token &t = push(T::Int, start);
                    t.ival = v;
                    continue;
                }
            }
            std::string digits(i - start, '0'); // as long as the literal is: no fixed buffer
            for (size_t k = start; k < i; ++k)
                digits[k - start] = char(p[k]);
            const double d = std::strtod(digits.c_str(), nullptr);
            if (!std::isfinite(d))
                raiseCompile(6, line, int(start - lineStart) + 1); // 1e99999: Overflow, not infinity
            Token &t = push(T::Float, start);
            t.fval = d;
            continue;
        }
        // "x" &hi is the & operator before hi: &H and &O need a digit of their base right after
        auto radixDigit = [&](size_t k, bool hex) {
            if (k >= n)
                return false;
            const char16_t d = p[k];
            return isDigit(d) || (hex && ((d >= 'a' && d <= 'f') || (d >= 'A' && d <= 'F')));
        };
        if (c == '&' && i + 1 < n &&
            (((p[i + 1] == 'h' || p[i + 1] == 'H') && radixDigit(i + 2, true)) ||
             ((p[i + 1] == 'o' || p[i + 1] == 'O') && radixDigit(i + 2, false)) || isDigit(p[i + 1]))) {
            const bool hex = p[i + 1] == 'h' || p[i + 1] == 'H';
            size_t j = i + (isDigit(p[i + 1]) ? 1 : 2);
            uint64_t v = 0;
            size_t digits = 0;
            for (; j < n; ++j) {
                int d;
                const char16_t k = p[j];
                if (isDigit(k))
                    d = k - '0';
                else if (hex && k >= 'a' && k <= 'f')
                    d = k - 'a' + 10;
                else if (hex && k >= 'A' && k <= 'F')
                    d = k - 'A' + 10;
                else
                    break;
                if (!hex && d > 7)
                    raiseCompile(1031, line, int(i - lineStart) + 1);
                v = v * (hex ? 16 : 8) + uint64_t(d);
                if (v > 0xFFFFFFFFull)
                    raiseCompile(1031, line, int(i - lineStart) + 1);
                ++digits;
            }
            if (!digits)
                raiseCompile(1031, line, int(i - lineStart) + 1);
            bool forceLong = j < n && p[j] == '&';
            if (forceLong)
                ++j;
            Token &t = push(T::Int, start);
            // &HFFFF is the Integer -1; wider values are Longs
            t.ival =
                (v <= 0xFFFF && !forceLong) ? int64_t(int16_t(uint16_t(v))) : int64_t(int32_t(uint32_t(v)));
            t.fval = (v <= 0xFFFF && !forceLong) ? 0 : 2; // 2: a Long even when the value is small
            i = j;
            continue;
        }
        if (c == '"') {
            ++i;
            bool esc = false;
            for (;;) {
                if (i >= n || p[i] == '\r' || p[i] == '\n')
                    raiseCompile(1033, line, int(start - lineStart) + 1);
                if (p[i] == '"') {
                    if (i + 1 < n && p[i + 1] == '"') {
                        esc = true;
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            Token &t = push(T::Str, start);
            t.start = uint32_t(start + 1);
            t.len = uint32_t(i - start - 1);
            t.escapes = esc;
            ++i;
            continue;
        }
        if (c == '#') {
            size_t j = i + 1;
            while (j < n && p[j] != '#' && p[j] != '\r' && p[j] != '\n')
                ++j;
            if (j >= n || p[j] != '#')
                raiseCompile(1002, line, int(i - lineStart) + 1);
            double d;
            if (!parseDate(QStringView(src.constData() + i + 1, qsizetype(j - i - 1)), d, true))
                raiseCompile(1002, line, int(i - lineStart) + 1);
            Token &t = push(T::Date, start);
            t.fval = d;
            i = j + 1;
            continue;
        }
        T type;
        size_t len = 1;
        switch (c) {
        case ':':
            type = T::Colon;
            break;
        case '(':
            type = T::LParen;
            break;
        case ')':
            type = T::RParen;
            break;
        case ',':
            type = T::Comma;
            break;
        case '.':
            type = T::Dot;
            break;
        case '+':
            type = T::Plus;
            break;
        case '-':
            type = T::Minus;
            break;
        case '*':
            type = T::Star;
            break;
        case '/':
            type = T::Slash;
            break;
        case '\\':
            type = T::Backslash;
            break;
        case '^':
            type = T::Caret;
            break;
        case '&':
            type = T::Amp;
            break;
        case '=':
            type = T::Eq;
            if (i + 1 < n && p[i + 1] == '<') {
                type = T::Le;
                len = 2;
            } else if (i + 1 < n && p[i + 1] == '>') {
                type = T::Ge;
                len = 2;
            }
            break;
        case '<':
            type = T::Lt;
            if (i + 1 < n && p[i + 1] == '>') {
                type = T::Ne;
                len = 2;
            } else if (i + 1 < n && p[i + 1] == '=') {
                type = T::Le;
                len = 2;
            }
            break;
        case '>':
            type = T::Gt;
            if (i + 1 < n && p[i + 1] == '=') {
                type = T::Ge;
                len = 2;
            } else if (i + 1 < n && p[i + 1] == '<') {
                type = T::Ne;
                len = 2;
            }
            break;
        default:
            raiseCompile(1032, line, int(i - lineStart) + 1);
        }
        push(type, start);
        i += len;
    }
    const int lastLine = line;
    newline(n);
    Token &e = push(T::End, n);
    e.line = lastLine;
}

} // namespace vbs
