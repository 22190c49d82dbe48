#pragma once

#include "Decimal.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <stdexcept>

class QAbstractItemModel;
class cConfigure;

// StrToDate's failure; what() is the text the user sees.
class StrToDateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The shared text routines: token lists, fills, word wrap, amounts in words, formatting and the
// barcode font encoders. One instance serves every window and the event scripts ("xLibStr"),
// which reach the Q_INVOKABLE members by name.
//
// ByRef members (StrToArr's destination, EAN8's and EAN13's code) cannot be expressed through
// the meta-object system: scripts reach them through cStringHost.
class cString : public QObject {
    Q_OBJECT
public:
    // config may be null: the registered defaults are used ("EAN15" true, "dd/mm/yyyy").
    explicit cString(cConfigure *config = nullptr, QObject *parent = nullptr);

    Q_INVOKABLE int GetTokenCount(const QString &StrSource, const QString &StrToken) const;
    Q_INVOKABLE QString Gettoken(const QString &StrSource, const QString &StrToken, int IntToken) const;
    Q_INVOKABLE QString ChangeStr(const QString &sSource, const QString &sItem, const QString &sNew) const;
    // Rows of column 0 of a list or combo model; -1 when none matches.
    int SearchInTokenList(const QAbstractItemModel *list, const QString &sItem, const QString &sToken,
                          int iToken) const;
    int SearchInTokenList(const QStringList &list, const QString &sItem, const QString &sToken,
                          int iToken) const;
    // Scripts hand over a model object or an array of entries.
    Q_INVOKABLE int SearchInTokenList(const QVariant &ctlList, const QString &sItem, const QString &sToken,
                                      int iToken) const;
    Q_INVOKABLE QString leftFill(const QString &sCad, const QString &sChar, int iLen) const;
    Q_INVOKABLE QString rightFill(const QString &sCad, const QString &sChar, int iLen) const;
    // dest is replaced by the parts; returns their number.
    int StrToArr(QStringList &dest, const QString &sString, int iLen) const;
    Q_INVOKABLE int StrToArrVar(const QString &sString, int iLen);
    Q_INVOKABLE QString getArrVar(int iIndex) const;
    Q_INVOKABLE QString preparaEAN(const QString &sCodigo) const;
    QString NroEnLetras(const Decimal &curNumero, bool blnO_Final = false,
                        const QString &sMoneda = QString()) const;
    Q_INVOKABLE QString NroEnLetras(const QVariant &curNumero, bool blnO_Final = false,
                                    const QString &sMoneda = QString()) const;
    Q_INVOKABLE QString FormatToString(const QVariant &vValue, const QString &sFormat) const;
    // VB's Val: a double, like the original; amounts should be read with Decimal::fromString.
    Q_INVOKABLE double StringToNumber(const QString &sString) const;
    Q_INVOKABLE QString GetTokenTextDelim(const QString &sString, int lToken, const QString &sDelim,
                                          const QString &sDelimTexto) const;
    Q_INVOKABLE QString getCurrentDateToString() const;
    Q_INVOKABLE QVariant decidir(bool bCondicion, const QVariant &vVerdadero, const QVariant &vFalso) const;
    // A negative iLen means "to the end".
    Q_INVOKABLE QString SubString(const QString &sString, int iStart, int iLen = -1) const;
    Q_INVOKABLE QString ReplaceInvalidCharacter(const QString &sString, const QString &sValidChar,
                                                const QString &sFillChar) const;
    // Throws StrToDateError "Imposible convertir <text> a formato fecha ".
    Q_INVOKABLE QDateTime StrToDate(const QString &sString, const QString &sFormat) const;
    Q_INVOKABLE QString code128(const QString &sString) const;
    Q_INVOKABLE QString Code25I(const QString &sString, bool bCheckDigit = false) const;
    Q_INVOKABLE QString Code39(const QString &sString) const;
    // The code gains its check digit when it is valid (ByRef in scripts).
    QString EAN8(QString &sString) const;
    Q_INVOKABLE QString EAN8(const QString &sString) const;
    QString EAN13(QString &sString) const;
    Q_INVOKABLE QString EAN13(const QString &sString) const;
    Q_INVOKABLE QString AddOn(const QString &sString) const;
    Q_INVOKABLE QString getFileExtension(const QString &sFileName) const;

    // Routine signatures shown by the script editor.
    Q_INVOKABLE QStringList listaFunciones() const;

    // Replaces the clock of getCurrentDateToString (tests).
    void setClock(std::function<QDateTime()> clock);

private:
    QVariant configValue(const QString &key, const QVariant &registeredDefault) const;

    cConfigure *m_config = nullptr;
    QStringList m_arrVar;
    std::function<QDateTime()> m_clock;
};
