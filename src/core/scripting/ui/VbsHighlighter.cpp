#include "VbsHighlighter.h"

#include <QTextLayout>

namespace {

const char *const kKeywords[] = {
    "And",     "As",       "ByRef",  "ByVal",    "Call",    "Case",     "Class",   "Const",     "Dim",
    "Do",      "Each",     "Else",   "ElseIf",   "Empty",   "End",      "Eqv",     "Erase",     "Error",
    "Exit",    "Explicit", "False",  "For",      "Function", "Get",     "GoTo",    "If",        "Imp",
    "In",      "Is",       "Let",    "Loop",     "Me",      "Mod",      "New",     "Next",      "Not",
    "Nothing", "Null",     "On",     "Option",   "Or",      "Preserve", "Private", "Property",  "Public",
    "ReDim",   "Resume",   "Select", "Set",      "Step",    "Sub",      "Then",    "To",        "True",
    "Until",   "Wend",     "While",  "With",     "Xor",     "Default",
};

QRegularExpression wordsPattern(const QStringList &words)
{
    QStringList escaped;
    for (const QString &w : words)
        escaped << QRegularExpression::escape(w);
    return QRegularExpression(QStringLiteral("\\b(?:") + escaped.join(QLatin1Char('|')) + QStringLiteral(")\\b"),
                              QRegularExpression::CaseInsensitiveOption);
}

// "Rem" opening a statement: at the start of the line or after a ':' separator.
bool isRem(const QString &text, int i)
{
    if (text.mid(i, 3).compare(QLatin1String("rem"), Qt::CaseInsensitive) != 0)
        return false;
    if (i + 3 < text.size() && (text.at(i + 3).isLetterOrNumber() || text.at(i + 3) == QLatin1Char('_')))
        return false;
    const QString before = text.left(i).trimmed();
    return before.isEmpty() || before.endsWith(QLatin1Char(':'));
}

} // namespace

VbsHighlighter::VbsHighlighter(QTextDocument *document) : QSyntaxHighlighter(document)
{
    QStringList keywords;
    for (const char *k : kKeywords)
        keywords << QString::fromLatin1(k);
    m_keywords = wordsPattern(keywords);
    // Not inside a name ("v1") nor after a member dot.
    m_numbers = QRegularExpression(QStringLiteral("(?<![\\w.])(?:&H[0-9A-F]+&?|\\d+(?:\\.\\d+)?(?:E[+-]?\\d+)?)(?!\\w)"),
                                   QRegularExpression::CaseInsensitiveOption);
    m_keywordFormat.setForeground(QColor(0x00, 0x00, 0xA0));
    m_keywordFormat.setFontWeight(QFont::Bold);
    m_objectFormat.setForeground(QColor(0x80, 0x00, 0x80));
    m_stringFormat.setForeground(QColor(0xA0, 0x30, 0x00));
    m_numberFormat.setForeground(QColor(0x00, 0x70, 0x70));
    m_commentFormat.setForeground(QColor(0x00, 0x80, 0x00));
    m_commentFormat.setFontItalic(true);
}

void VbsHighlighter::setObjectNames(const QStringList &names)
{
    m_objects = names.isEmpty() ? QRegularExpression() : wordsPattern(names);
    rehighlight();
}

VbsHighlighter::Kind VbsHighlighter::kindAt(const QTextBlock &block, int position) const
{
    const QList<std::pair<const QTextCharFormat *, Kind>> kinds = {
        {&m_keywordFormat, Kind::Keyword}, {&m_objectFormat, Kind::Object}, {&m_stringFormat, Kind::String},
        {&m_numberFormat, Kind::Number},   {&m_commentFormat, Kind::Comment}};
    for (const QTextLayout::FormatRange &r : block.layout()->formats())
        if (position >= r.start && position < r.start + r.length)
            for (const auto &[format, kind] : kinds)
                if (r.format.foreground() == format->foreground())
                    return kind;
    return Kind::Plain;
}

void VbsHighlighter::highlightBlock(const QString &text)
{
    const auto apply = [&](const QRegularExpression &re, const QTextCharFormat &format) {
        if (re.pattern().isEmpty())
            return;
        for (auto it = re.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            setFormat(int(m.capturedStart()), int(m.capturedLength()), format);
        }
    };
    apply(m_numbers, m_numberFormat);
    apply(m_objects, m_objectFormat);
    apply(m_keywords, m_keywordFormat);

    // Strings and comments last, scanning so that a quote inside a comment or an apostrophe
    // inside a string is read as VBScript reads it ("" is a quote inside a string).
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n) {
                if (text.at(j) == QLatin1Char('"')) {
                    if (j + 1 < n && text.at(j + 1) == QLatin1Char('"')) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const int end = qMin(j + 1, n);
            setFormat(i, end - i, m_stringFormat);
            i = end - 1;
        } else if (c == QLatin1Char('\'') || isRem(text, i)) {
            setFormat(i, n - i, m_commentFormat);
            return;
        }
    }
}
