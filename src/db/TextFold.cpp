#include "TextFold.h"

#include <QByteArray>

#include <sqlite3.h>

namespace db {

namespace {

// Latin-1 letters U+00C0..U+00FF (UTF-8 C3 80..C3 BF) to their base ASCII letter; 0: no base letter
// (Æ, Ð, ×, Ø, Þ, ß, ÷ ...), the character is only lowered.
constexpr char kLatin1[64] = {
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i', // C0-CF
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   0,   // D0-DF
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i', // E0-EF
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   'y', // F0-FF
};

// The fold of UTF-8 bytes into out (room for size bytes: the fold never grows); the folded size, or
// -1 when the bytes hold a letter outside ASCII and Latin-1, which the QString path folds.
int foldUtf8(const char *text, int size, char *out)
{
    int n = 0;
    for (int i = 0; i < size; ++i) {
        const auto c = uchar(text[i]);
        if (c < 0x80) {
            out[n++] = (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : char(c);
        } else if (c == 0xC3 && i + 1 < size && (uchar(text[i + 1]) & 0xC0) == 0x80) {
            const auto next = uchar(text[++i]);
            const char f = kLatin1[next - 0x80];
            if (f) {
                out[n++] = f;
            } else {
                // Upper-case letters without a base letter (Æ, Ø, Ð, Þ) to lower case; ×, ß, æ... stay.
                out[n++] = char(c);
                out[n++] = char(next <= 0x9E && next != 0x97 ? next + 0x20 : next);
            }
        } else {
            return -1;
        }
    }
    return n;
}

// True when folding would leave the bytes as they are (lower-case ASCII and no letters to fold),
// the common case of a value already stored folded.
bool alreadyFolded(const char *text, int size)
{
    for (int i = 0; i < size; ++i) {
        const auto c = uchar(text[i]);
        if (c >= 0x80 || (c >= 'A' && c <= 'Z'))
            return false;
    }
    return true;
}

} // namespace

QString foldText(const QString &text)
{
    QString out = text.toLower();
    for (QChar &ch : out) {
        const char16_t c = ch.unicode();
        if (c >= 0xC0 && c <= 0xFF && kLatin1[c - 0xC0])
            ch = QLatin1Char(kLatin1[c - 0xC0]);
    }
    return out;
}

void sqliteFold(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const int size = sqlite3_value_bytes(argv[0]);
    if (alreadyFolded(text, size)) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    // Called once per row of a search: one allocation, handed to SQLite without a copy.
    auto *out = static_cast<char *>(sqlite3_malloc(size > 0 ? size : 1));
    if (!out) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    const int n = foldUtf8(text, size, out);
    if (n >= 0) {
        sqlite3_result_text(ctx, out, n, sqlite3_free);
        return;
    }
    sqlite3_free(out);
    const QByteArray folded = foldText(QString::fromUtf8(text, size)).toUtf8();
    sqlite3_result_text(ctx, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

} // namespace db
