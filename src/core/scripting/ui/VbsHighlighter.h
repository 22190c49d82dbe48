#pragma once

#include <QRegularExpression>
#include <QStringList>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCharFormat>

// VBScript colouring for the script editor: keywords, the named objects scripts receive,
// strings, numbers, and comments (' and Rem), which run to the end of the line except inside
// a string.
class VbsHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit VbsHighlighter(QTextDocument *document);

    enum class Kind { Plain, Keyword, Object, String, Number, Comment };

    // Names shown as objects ("xApp", "cn" ...).
    void setObjectNames(const QStringList &names);
    // What the character at position of block was coloured as.
    Kind kindAt(const QTextBlock &block, int position) const;

protected:
    void highlightBlock(const QString &text) override;

private:
    QRegularExpression m_keywords;
    QRegularExpression m_objects;
    QRegularExpression m_numbers;
    QTextCharFormat m_keywordFormat;
    QTextCharFormat m_objectFormat;
    QTextCharFormat m_stringFormat;
    QTextCharFormat m_numberFormat;
    QTextCharFormat m_commentFormat;
};
