#include "cString.h"

#include "cConfigure.h"
#include "cStringPrivate.h"

#include <QAbstractItemModel>

#include <algorithm>

namespace {

// The largest part count a wrap produces, as the original routine stops there.
constexpr int kMaxWrapParts = 1000;

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// VB's IsNumeric for plain decimal text: surrounding blanks, a sign, digits with one point and an
// exponent. Codes such as "12.5" or " 123" count as numeric, as they did for the original.
bool isNumericText(QStringView s)
{
    s = cstring_detail::trimBlanks(s);
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    bool digits = false;
    while (i < n && isAsciiDigit(s[i])) {
        ++i;
        digits = true;
    }
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && isAsciiDigit(s[i])) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < n && QStringLiteral("eEdD").contains(s[i])) {
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        bool expDigits = false;
        while (i < n && isAsciiDigit(s[i])) {
            ++i;
            expDigits = true;
        }
        if (!expDigits)
            return false;
    }
    return i == n;
}

QString fill(const QString &text, const QString &fillChar, int length, bool left)
{
    if (length <= 0)
        return QString();
    if (text.size() >= length)
        return left ? text.right(length) : text.left(length);
    // Only the first character fills, as VB's String(n, s) does; no character means a blank.
    const QChar c = fillChar.isEmpty() ? QChar(u' ') : fillChar.front();
    const QString padding(length - text.size(), c);
    return left ? padding + text : text + padding;
}

} // namespace

namespace cstring_detail {

QStringView trimBlanks(QStringView s)
{
    while (!s.isEmpty() && s.front() == u' ')
        s = s.sliced(1);
    while (!s.isEmpty() && s.back() == u' ')
        s.chop(1);
    return s;
}

} // namespace cstring_detail

using cstring_detail::trimBlanks;

cString::cString(cConfigure *config, QObject *parent) : QObject(parent), m_config(config) {}

QVariant cString::configValue(const QString &key, const QVariant &registeredDefault) const
{
    if (m_config) {
        const QVariant v = m_config->getValue(key);
        if (v.isValid())
            return v;
    }
    return registeredDefault;
}

void cString::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

int cString::GetTokenCount(const QString &StrSource, const QString &StrToken) const
{
    if (StrToken.isEmpty())
        return 0;
    int count = 0;
    qsizetype from = 0;
    while ((from = StrSource.indexOf(StrToken, from)) >= 0) {
        ++count;
        from += StrToken.size();
    }
    return count;
}

QString cString::Gettoken(const QString &StrSource, const QString &StrToken, int IntToken) const
{
    if (StrSource.isEmpty() || IntToken < 1)
        return QString();
    if (StrToken.isEmpty())
        return IntToken == 1 ? trimBlanks(StrSource).toString() : QString();
    const QStringView src(StrSource);
    qsizetype start = 0;
    for (int i = 1;; ++i) {
        const qsizetype at = src.indexOf(StrToken, start);
        if (at < 0) {
            // The delimiter appended to a text that lacks one closes a last token.
            if (i == IntToken && !src.endsWith(StrToken))
                return trimBlanks(src.sliced(start)).toString();
            return QString();
        }
        if (i == IntToken)
            return trimBlanks(src.sliced(start, at - start)).toString();
        start = at + StrToken.size();
    }
}

QString cString::ChangeStr(const QString &sSource, const QString &sItem, const QString &sNew) const
{
    if (sItem.isEmpty())
        return sSource; // the original looped forever
    return QString(sSource).replace(sItem, sNew);
}

int cString::SearchInTokenList(const QAbstractItemModel *list, const QString &sItem, const QString &sToken,
                               int iToken) const
{
    if (!list)
        return -1;
    const int rows = list->rowCount();
    for (int r = 0; r < rows; ++r) {
        if (Gettoken(list->index(r, 0).data(Qt::DisplayRole).toString(), sToken, iToken) == sItem)
            return r;
    }
    return -1;
}

int cString::SearchInTokenList(const QStringList &list, const QString &sItem, const QString &sToken,
                               int iToken) const
{
    for (int r = 0; r < list.size(); ++r) {
        if (Gettoken(list.at(r), sToken, iToken) == sItem)
            return r;
    }
    return -1;
}

int cString::SearchInTokenList(const QVariant &ctlList, const QString &sItem, const QString &sToken,
                               int iToken) const
{
    if (ctlList.canConvert<QObject *>()) {
        if (auto *model = qobject_cast<const QAbstractItemModel *>(ctlList.value<QObject *>()))
            return SearchInTokenList(model, sItem, sToken, iToken);
        return -1;
    }
    if (ctlList.canConvert<QStringList>())
        return SearchInTokenList(ctlList.toStringList(), sItem, sToken, iToken);
    return -1;
}

QString cString::leftFill(const QString &sCad, const QString &sChar, int iLen) const
{
    return fill(sCad, sChar, iLen, true);
}

QString cString::rightFill(const QString &sCad, const QString &sChar, int iLen) const
{
    return fill(sCad, sChar, iLen, false);
}

int cString::StrToArr(QStringList &dest, const QString &sString, int iLen) const
{
    dest.clear();
    if (sString.isEmpty())
        return 0;
    if (iLen < 1) {
        // The original never advanced and returned 1000 empty parts.
        dest.append(sString);
        return 1;
    }
    const QStringView text(sString);
    const qsizetype n = text.size();
    qsizetype p = 0;
    while (p < n && dest.size() < kMaxWrapParts) {
        if (n - p <= iLen) {
            dest.append(text.sliced(p).toString());
            break;
        }
        // The blank may sit right after the width: the part then fills the width exactly.
        const qsizetype blank = text.sliced(p, iLen + 1).lastIndexOf(u' ');
        if (blank >= 0) {
            dest.append(text.sliced(p, blank).toString());
            p += blank + 1;
        } else {
            dest.append(text.sliced(p, iLen).toString());
            p += iLen;
        }
    }
    return int(dest.size());
}

int cString::StrToArrVar(const QString &sString, int iLen)
{
    return StrToArr(m_arrVar, sString, iLen);
}

QString cString::getArrVar(int iIndex) const
{
    // Out of range gives an empty text instead of VB's "Subscript out of range".
    return m_arrVar.value(iIndex);
}

QString cString::preparaEAN(const QString &sCodigo) const
{
    const bool ean15 = configValue(QStringLiteral("EAN15"), true).toBool();
    if (ean15 && sCodigo.size() < 15 && isNumericText(sCodigo))
        return leftFill(sCodigo, QStringLiteral("0"), 15);
    return QString(sCodigo).remove(u'\'');
}

QString cString::GetTokenTextDelim(const QString &sString, int lToken, const QString &sDelim,
                                   const QString &sDelimTexto) const
{
    if (sDelimTexto.isEmpty())
        return Gettoken(sString, sDelim, lToken);
    if (sString.isEmpty() || lToken < 1)
        return QString();
    if (sDelim.isEmpty())
        return lToken == 1 ? trimBlanks(sString).toString() : QString();
    const QStringView src(sString);
    const qsizetype n = src.size();
    qsizetype start = 0;
    for (int i = 1;; ++i) {
        qsizetype lead = start;
        while (lead < n && src[lead] == u' ')
            ++lead;
        qsizetype searchFrom = start;
        if (src.sliced(lead).startsWith(sDelimTexto)) {
            const qsizetype close = src.indexOf(sDelimTexto, lead + sDelimTexto.size());
            // An unclosed text runs to the end of the line.
            searchFrom = close < 0 ? n : close + sDelimTexto.size();
        }
        const qsizetype at = searchFrom >= n ? -1 : src.indexOf(sDelim, searchFrom);
        const qsizetype end = at < 0 ? n : at;
        if (i == lToken)
            return trimBlanks(src.sliced(start, end - start)).toString();
        if (at < 0)
            return QString();
        start = at + sDelim.size();
        if (start >= n)
            return QString(); // a closing delimiter does not open another token
    }
}

QVariant cString::decidir(bool bCondicion, const QVariant &vVerdadero, const QVariant &vFalso) const
{
    return bCondicion ? vVerdadero : vFalso;
}

QString cString::SubString(const QString &sString, int iStart, int iLen) const
{
    // A start before 1 counts from 1 (VB's Mid raised an error).
    const qsizetype from = std::max(iStart, 1) - 1;
    if (from >= sString.size())
        return QString();
    return iLen < 0 ? sString.mid(from) : sString.mid(from, iLen);
}

QString cString::ReplaceInvalidCharacter(const QString &sString, const QString &sValidChar,
                                         const QString &sFillChar) const
{
    QString out;
    out.reserve(sString.size());
    for (const QChar c : sString) {
        if (sValidChar.contains(c, Qt::CaseInsensitive))
            out += c;
        else
            out += sFillChar;
    }
    return out;
}

QString cString::getFileExtension(const QString &sFileName) const
{
    // Only the last path component: a dot in a folder name is not an extension.
    const qsizetype slash = std::max(sFileName.lastIndexOf(u'/'), sFileName.lastIndexOf(u'\\'));
    const qsizetype dot = sFileName.lastIndexOf(u'.');
    if (dot <= slash)
        return QString();
    return sFileName.mid(dot + 1);
}

QStringList cString::listaFunciones() const
{
    return {
        QStringLiteral("GetTokenCount(StrSource, StrToken)"),
        QStringLiteral("Gettoken(StrSource, StrToken, IntToken)"),
        QStringLiteral("ChangeStr(sSource, sItem, sNew)"),
        QStringLiteral("SearchInTokenList(ctlList, sItem, sToken, iToken)"),
        QStringLiteral("leftFill(sCad, sChar, iLen)"),
        QStringLiteral("rightFill(sCad, sChar, iLen)"),
        QStringLiteral("StrToArr(aArr, sString, iLen)"),
        QStringLiteral("StrToArrVar(sString, iLen)"),
        QStringLiteral("getArrVar(iIndex)"),
        QStringLiteral("preparaEAN(sCodigo)"),
        QStringLiteral("NroEnLetras(curNumero,blnO_Final,sMoneda)"),
        QStringLiteral("FormatToString(vValue, sFormat)"),
        QStringLiteral("StringToNumber(sString)"),
        QStringLiteral("GetTokenTextDelim(sString, lToken, sDelim, sDelimTexto)"),
        QStringLiteral("getCurrentDateToString()"),
        QStringLiteral("decidir(bCondicion, vVerdadero, vFalso)"),
        QStringLiteral("SubString(sString, iStart, iLen)"),
        QStringLiteral("ReplaceInvalidCharacter(sString, sValidChar, sFillChar)"),
        QStringLiteral("StrToDate(sString, sFormat)"),
        QStringLiteral("code128(sString)"),
        QStringLiteral("Code25I(sString)"),
        QStringLiteral("Code39(sString)"),
        QStringLiteral("EAN8(sString)"),
        QStringLiteral("EAN13(sString)"),
        QStringLiteral("AddOn(sString)"),
        QStringLiteral("getFileExtension(sFileName)"),
    };
}
