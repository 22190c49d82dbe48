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

// The fold of UTF-8 bytes; false when they hold a letter outside ASCII and Latin-1, which the
// QString path folds.
bool foldUtf8(const char *text, int size, QByteArray &out)
{
    out.resize(size);
    char *o = out.data();
    int n = 0;
    for (int i = 0; i < size; ++i) {
        const auto c = uchar(text[i]);
        if (c < 0x80) {
            o[n++] = (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : char(c);
        } else if (c == 0xC3 && i + 1 < size && (uchar(text[i + 1]) & 0xC0) == 0x80) {
            const auto next = uchar(text[++i]);
            const char f = kLatin1[next - 0x80];
            if (f) {
                o[n++] = f;
            } else {
                o[n++] = char(c);
                // Upper-case letters without a base letter (Æ, Ø, Ð, Þ) to lower case; ×, ß, æ... stay.
                o[n++] = char(next <= 0x9E && next != 0x97 ? next + 0x20 : next);
            }
        } else {
            return false;
        }
    }
    out.resize(n);
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
    QByteArray out;
    if (!foldUtf8(text, size, out))
        out = foldText(QString::fromUtf8(text, size)).toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

} // namespace db
