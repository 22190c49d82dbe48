#include "cString.h"
#include "cStringHost.h"

#include "ConnectionProvider.h"
#include "Engine.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "cConfigure.h"

#include <QMetaMethod>
#include <QStandardPaths>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The configuration store on a scratch settings file and no database: registered defaults.
struct ConfigFixture {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("mostrador.ini"))};
    FixedConnectionProvider connections{nullptr};
    ScriptedPrompter prompter;
    cConfigure config{connections, settings, prompter};
};

class tst_cString : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void gettoken_data();
    void gettoken();
    void getTokenCount_data();
    void getTokenCount();
    void getTokenTextDelim_data();
    void getTokenTextDelim();
    void changeStr_data();
    void changeStr();
    void searchInTokenList();
    void fills_data();
    void fills();

    void strToArr_data();
    void strToArr();
    void strToArrVar();

    void nroEnLetras_data();
    void nroEnLetras();
    void nroEnLetrasFromScriptValues();

    void preparaEAN_data();
    void preparaEAN();
    void preparaEANWithoutConfiguration();

    void formatToString_data();
    void formatToString();
    void stringToNumber_data();
    void stringToNumber();
    void getCurrentDateToString();
    void strToDate_data();
    void strToDate();
    void strToDateFailure_data();
    void strToDateFailure();

    void subString_data();
    void subString();
    void replaceInvalidCharacter_data();
    void replaceInvalidCharacter();
    void getFileExtension_data();
    void getFileExtension();
    void decidir();

    void scriptsReachEveryRoutine();
    void scriptsUseByRefMembers();

private:
    cString s;
};

void tst_cString::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

// clang-format off
void tst_cString::gettoken_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("delim");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("second of three") << "A|B|C" << "|" << 2 << "B";
    QTest::newRow("last token without closing delimiter") << "A|B|C" << "|" << 3 << "C";
    QTest::newRow("beyond the tokens") << "A|B|" << "|" << 4 << "";
    QTest::newRow("closing delimiter opens no token") << "A|B|" << "|" << 3 << "";
    QTest::newRow("empty text") << "" << "|" << 1 << "";
    QTest::newRow("blanks trimmed") << "  uno  | dos " << "|" << 1 << "uno";
    QTest::newRow("empty middle token") << "A||C" << "|" << 2 << "";
    QTest::newRow("list entry text") << "Aspirina 500    \tASP500" << "\t" << 1 << "Aspirina 500";
    QTest::newRow("list entry key") << "Aspirina 500    \tASP500" << "\t" << 2 << "ASP500";
    QTest::newRow("several-character delimiter") << "uno<>dos<>tres" << "<>" << 2 << "dos";
    QTest::newRow("position zero") << "A|B" << "|" << 0 << "";
    QTest::newRow("no delimiter: whole text is token 1") << " ABC " << "|" << 1 << "ABC";
    QTest::newRow("empty delimiter") << "A|B" << "" << 1 << "A|B";
}
// clang-format on

void tst_cString::gettoken()
{
    QFETCH(QString, text);
    QFETCH(QString, delim);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(s.Gettoken(text, delim, n), expected);
}

// clang-format off
void tst_cString::getTokenCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("delim");
    QTest::addColumn<int>("expected");
    QTest::newRow("two delimiters") << "A|B|C" << "|" << 2;
    QTest::newRow("closing delimiter counts") << "A|B|" << "|" << 2;
    QTest::newRow("none") << "ABC" << "|" << 0;
    QTest::newRow("empty text") << "" << "|" << 0;
    QTest::newRow("matches do not overlap") << "aaaaa" << "aa" << 2;
    QTest::newRow("empty delimiter (the original hung)") << "ABC" << "" << 0;
}
// clang-format on

void tst_cString::getTokenCount()
{
    QFETCH(QString, text);
    QFETCH(QString, delim);
    QFETCH(int, expected);
    QCOMPARE(s.GetTokenCount(text, delim), expected);
}

// clang-format off
void tst_cString::getTokenTextDelim_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("textDelim");
    QTest::addColumn<QString>("expected");
    const QString line = QStringLiteral("1,\"Perez, Juan\",300");
    QTest::newRow("quoted token keeps its comma and quotes") << line << 2 << "\"" << "\"Perez, Juan\"";
    QTest::newRow("token after the quoted one") << line << 3 << "\"" << "300";
    QTest::newRow("first token") << line << 1 << "\"" << "1";
    QTest::newRow("no text delimiter splits inside quotes") << line << 2 << "" << "\"Perez";
    QTest::newRow("unclosed quote runs to the end") << "1,\"abc,def" << 2 << "\"" << "\"abc,def";
    QTest::newRow("doubled quotes stay in the token") << "\"a\"\"b\",c" << 1 << "\"" << "\"a\"\"b\"";
    QTest::newRow("token after doubled quotes") << "\"a\"\"b\",c" << 2 << "\"" << "c";
    QTest::newRow("blank before the quote") << "1, \"x,y\" ,2" << 2 << "\"" << "\"x,y\"";
    QTest::newRow("token after a blank-padded quote") << "1, \"x,y\" ,2" << 3 << "\"" << "2";
    QTest::newRow("closing delimiter opens no token") << "a,b," << 3 << "\"" << "";
    QTest::newRow("quoted last token") << "a,\"b,c\"" << 2 << "\"" << "\"b,c\"";
    QTest::newRow("empty text") << "" << 1 << "\"" << "";
}
// clang-format on

void tst_cString::getTokenTextDelim()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, textDelim);
    QFETCH(QString, expected);
    QCOMPARE(s.GetTokenTextDelim(text, n, QStringLiteral(","), textDelim), expected);
}

// clang-format off
void tst_cString::changeStr_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every occurrence") << "a-b-c" << "-" << "/" << "a/b/c";
    QTest::newRow("continues after the inserted text") << "aaa" << "a" << "aa" << "aaaaaa";
    QTest::newRow("removal") << "1,234,567" << "," << "" << "1234567";
    QTest::newRow("case matters") << "Aa" << "a" << "x" << "Ax";
    QTest::newRow("empty item leaves the text (the original hung)") << "abc" << "" << "x" << "abc";
}
// clang-format on

void tst_cString::changeStr()
{
    QFETCH(QString, source);
    QFETCH(QString, item);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    QCOMPARE(s.ChangeStr(source, item, replacement), expected);
}

void tst_cString::searchInTokenList()
{
    const QStringList entries = {QStringLiteral("Aspirina 500       \tASP500"),
                                 QStringLiteral("Paracetamol        \tPAR"),
                                 QStringLiteral("Paracetamol infantil\tPARI")};
    QStringListModel model(entries);
    const auto tab = QStringLiteral("\t");
    QCOMPARE(s.SearchInTokenList(&model, QStringLiteral("PAR"), tab, 2), 1);
    QCOMPARE(s.SearchInTokenList(&model, QStringLiteral("Paracetamol"), tab, 1), 1);
    QCOMPARE(s.SearchInTokenList(&model, QStringLiteral("par"), tab, 2), -1);
    QCOMPARE(s.SearchInTokenList(&model, QStringLiteral("XYZ"), tab, 2), -1);
    QCOMPARE(s.SearchInTokenList(entries, QStringLiteral("PARI"), tab, 2), 2);
    QCOMPARE(s.SearchInTokenList(QStringListModel().stringList(), QStringLiteral("PAR"), tab, 2), -1);
    // Scripts hand the model over as an object or the entries as an array.
    QCOMPARE(s.SearchInTokenList(QVariant::fromValue<QObject *>(&model), QStringLiteral("ASP500"), tab, 2),
             0);
    QCOMPARE(s.SearchInTokenList(QVariant(entries), QStringLiteral("PARI"), tab, 2), 2);
    QCOMPARE(s.SearchInTokenList(QVariant::fromValue<QObject *>(this), QStringLiteral("PAR"), tab, 2), -1);
}

// clang-format off
void tst_cString::fills_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fill");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");
    QTest::newRow("left pads") << true << "123" << "0" << 6 << "000123";
    QTest::newRow("left keeps the rightmost") << true << "1234567" << "0" << 6 << "234567";
    QTest::newRow("right pads") << false << "123" << " " << 6 << "123   ";
    QTest::newRow("right keeps the leftmost") << false << "1234567" << " " << 6 << "123456";
    QTest::newRow("empty text") << true << "" << "*" << 3 << "***";
    QTest::newRow("first fill character only") << true << "1" << "ab" << 3 << "aa1";
    QTest::newRow("no fill character pads blanks") << false << "1" << "" << 3 << "1  ";
    QTest::newRow("length zero") << true << "123" << "0" << 0 << "";
    QTest::newRow("negative length") << false << "123" << "0" << -2 << "";
}
// clang-format on

void tst_cString::fills()
{
    QFETCH(bool, left);
    QFETCH(QString, text);
    QFETCH(QString, fill);
    QFETCH(int, length);
    QFETCH(QString, expected);
    QCOMPARE(left ? s.leftFill(text, fill, length) : s.rightFill(text, fill, length), expected);
}

// clang-format off
void tst_cString::strToArr_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("parts");
    // 40 characters with blanks at positions 30 and 35.
    const QString forty = QString(29, u'a') + u' ' + QString(4, u'b') + u' ' + QString(5, u'c');
    QTest::newRow("blanks at 30 and 35, width 36")
        << forty << 36 << QStringList{QString(29, u'a') + QStringLiteral(" bbbb"), QStringLiteral("ccccc")};
    QTest::newRow("ticket amount in words")
        << "UN MIL DOSCIENTOS CINCUENTA PESOS 50/100" << 36
        << QStringList{QStringLiteral("UN MIL DOSCIENTOS CINCUENTA PESOS"), QStringLiteral("50/100")};
    QTest::newRow("text of exactly the width") << "abcdef" << 6 << QStringList{QStringLiteral("abcdef")};
    QTest::newRow("one past the width breaks at the last blank")
        << "abc defg" << 7 << QStringList{QStringLiteral("abc"), QStringLiteral("defg")};
    QTest::newRow("blank right after the width")
        << "abc def" << 3 << QStringList{QStringLiteral("abc"), QStringLiteral("def")};
    QTest::newRow("no blank cuts at the width")
        << "abcdefgh" << 3 << QStringList{QStringLiteral("abc"), QStringLiteral("def"), QStringLiteral("gh")};
    QTest::newRow("blank at the start of a part gives an empty part")
        << "ab  cd" << 2 << QStringList{QStringLiteral("ab"), QString(), QStringLiteral("cd")};
    QTest::newRow("trailing blank adds no part") << "abcd " << 4 << QStringList{QStringLiteral("abcd")};
    QTest::newRow("empty text") << "" << 36 << QStringList{};
    QTest::newRow("width zero keeps the text whole (the original gave 1000 empty parts)")
        << "abc def" << 0 << QStringList{QStringLiteral("abc def")};
    QTest::newRow("stops after 1000 parts") << QString(1500, u'x') << 1 << QStringList(1000, QStringLiteral("x"));
}
// clang-format on

void tst_cString::strToArr()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QStringList, parts);
    QStringList dest{QStringLiteral("stale")};
    QCOMPARE(s.StrToArr(dest, text, width), parts.size());
    QCOMPARE(dest, parts);
}

void tst_cString::strToArrVar()
{
    cString lib;
    QCOMPARE(lib.StrToArrVar(QStringLiteral("UN MIL DOSCIENTOS CINCUENTA PESOS 50/100"), 36), 2);
    QCOMPARE(lib.getArrVar(0), QStringLiteral("UN MIL DOSCIENTOS CINCUENTA PESOS"));
    QCOMPARE(lib.getArrVar(1), QStringLiteral("50/100"));
    QCOMPARE(lib.getArrVar(2), QString()); // VB raised "Subscript out of range"
    QCOMPARE(lib.getArrVar(-1), QString());
    QCOMPARE(lib.StrToArrVar(QString(), 36), 0);
    QCOMPARE(lib.getArrVar(0), QString());
}

// clang-format off
void tst_cString::nroEnLetras_data()
{
    QTest::addColumn<Decimal>("amount");
    QTest::addColumn<bool>("withCurrency");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *amount, bool currency, const char *text) {
        QTest::newRow(name) << Decimal(amount) << currency << QString::fromLatin1(text);
    };
    row("zero", "0", false, "CERO ");
    row("one", "1", false, "UN ");
    row("nine", "9", false, "NUEVE ");
    row("ten", "10", false, "DIEZ ");
    row("eleven", "11", false, "ONCE ");
    row("sixteen", "16", false, "DIECISEIS ");
    row("nineteen", "19", false, "DIECINUEVE ");
    row("twenty", "20", false, "VEINTE ");
    row("twenty-one", "21", false, "VEINTIUN ");
    row("twenty-two", "22", false, "VEINTIDOS ");
    row("twenty-nine", "29", false, "VEINTINUEVE ");
    row("thirty", "30", false, "TREINTA ");
    row("thirty-five", "35", false, "TREINTA Y CINCO ");
    row("ninety-nine", "99", false, "NOVENTA Y NUEVE ");
    row("one hundred", "100", false, "CIEN ");
    row("one hundred one", "101", false, "CIENTO UN ");
    row("one hundred ten", "110", false, "CIENTO DIEZ ");
    row("one hundred fifteen", "115", false, "CIENTO QUINCE ");
    row("one hundred twenty", "120", false, "CIENTO VEINTE ");
    row("five hundred", "500", false, "QUINIENTOS ");
    row("nine hundred ninety-nine", "999", false, "NOVECIENTOS NOVENTA Y NUEVE ");
    row("one thousand keeps its UN", "1000", false, "UN MIL ");
    row("one thousand one hundred", "1100", false, "UN MIL CIEN ");
    row("two thousand twenty-five", "2025", false, "DOS MIL VEINTICINCO ");
    row("twenty-one thousand", "21000", false, "VEINTIUN MIL ");
    row("one hundred thousand", "100000", false, "CIEN MIL ");
    row("one hundred one thousand", "101000", false, "CIENTO UN MIL ");
    row("one million", "1000000", false, "UN MILLON ");
    row("two million", "2000000", false, "DOS MILLONES ");
    row("million, thousand and one", "1001001", false, "UN MILLON UN MIL UN ");
    row("twenty-one million", "21000000", false, "VEINTIUN MILLONES ");
    row("one hundred million", "100000000", false, "CIEN MILLONES ");
    row("hundreds of millions", "987654321", false,
        "NOVECIENTOS OCHENTA Y SIETE MILLONES SEISCIENTOS CINCUENTA Y CUATRO MIL TRESCIENTOS VEINTIUN ");
    row("one thousand million", "1000000000", false, "UN MIL MILLONES ");
    row("cents ignored without currency", "35.75", false, "TREINTA Y CINCO ");
    row("ticket example", "1250.50", true, "UN MIL DOSCIENTOS CINCUENTA PESOS 50/100");
    row("ticket total", "120.50", true, "CIENTO VEINTE PESOS 50/100");
    row("half a peso", "0.5", true, "CERO PESOS 50/100");
    row("whole pesos", "15", true, "QUINCE PESOS 00/100");
    row("one cent", "0.01", true, "CERO PESOS 01/100");
    row("one peso is not singular", "1", true, "UN PESOS 00/100");
    row("half cent to even, down", "0.125", true, "CERO PESOS 12/100");
    row("half cent to even, up", "0.135", true, "CERO PESOS 14/100");
    row("just over half a cent", "0.125001", true, "CERO PESOS 13/100");
    row("cents reaching a peso carry (the original printed 100/100)", "0.995", true, "UN PESOS 00/100");
    row("cents carry into the thousands", "999.999", true, "UN MIL PESOS 00/100");
    row("negative without currency", "-5", false, "(CINCO )");
    row("negative with currency", "-1250.50", true, "(UN MIL DOSCIENTOS CINCUENTA PESOS 50/100)");
    row("negative cents only", "-0.25", true, "(CERO PESOS 25/100)");
}
// clang-format on

void tst_cString::nroEnLetras()
{
    QFETCH(Decimal, amount);
    QFETCH(bool, withCurrency);
    QFETCH(QString, expected);
    QCOMPARE(s.NroEnLetras(amount, withCurrency, QStringLiteral("PESOS")), expected);
}

void tst_cString::nroEnLetrasFromScriptValues()
{
    QCOMPARE(s.NroEnLetras(QVariant(120.5), true, QStringLiteral("PESOS")),
             QStringLiteral("CIENTO VEINTE PESOS 50/100"));
    QCOMPARE(s.NroEnLetras(QVariant(QStringLiteral("2000000")), false), QStringLiteral("DOS MILLONES "));
    QCOMPARE(s.NroEnLetras(QVariant(21), true, QStringLiteral("DOLARES")),
             QStringLiteral("VEINTIUN DOLARES 00/100"));
    QCOMPARE(s.NroEnLetras(Decimal(7), true, QString()), QStringLiteral("SIETE  00/100"));
}

// clang-format off
void tst_cString::preparaEAN_data()
{
    QTest::addColumn<bool>("ean15");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("EAN-13 padded to 15") << true << "7501055300075" << "007501055300075";
    QTest::newRow("short key padded") << true << "123" << "000000000000123";
    QTest::newRow("15 digits unchanged") << true << "123456789012345" << "123456789012345";
    QTest::newRow("longer than 15 unchanged") << true << "1234567890123456" << "1234567890123456";
    QTest::newRow("text key loses apostrophes") << true << "ASP'500'" << "ASP500";
    QTest::newRow("numeric in VB's sense is padded as well") << true << "12.5" << "0000000000012.5";
    QTest::newRow("empty code") << true << "" << "";
    QTest::newRow("switched off: digits unchanged") << false << "7501055300075" << "7501055300075";
    QTest::newRow("switched off: apostrophes removed") << false << "12'3" << "123";
}
// clang-format on

void tst_cString::preparaEAN()
{
    QFETCH(bool, ean15);
    QFETCH(QString, code);
    QFETCH(QString, expected);
    ConfigFixture f;
    QVERIFY(f.config.setValue(QStringLiteral("EAN15"), ean15));
    const cString lib(&f.config);
    QCOMPARE(lib.preparaEAN(code), expected);
}

void tst_cString::preparaEANWithoutConfiguration()
{
    // The registered default of "EAN15" is true.
    QCOMPARE(s.preparaEAN(QStringLiteral("7501055300075")), QStringLiteral("007501055300075"));
}

// clang-format off
void tst_cString::formatToString_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    const QDateTime afternoon(QDate(2009, 5, 11), QTime(14, 7, 9));
    QTest::newRow("missing value") << QVariant() << "0.00" << "";
    QTest::newRow("empty text") << QVariant(QString()) << "0.00" << "";
    QTest::newRow("amount with thousands") << QVariant::fromValue(Decimal("1234.5")) << "#,##0.00" << "1,234.50";
    QTest::newRow("integer") << QVariant(5) << "0.00" << "5.00";
    QTest::newRow("numeric text") << QVariant(QStringLiteral("12.5")) << "0.00" << "12.50";
    QTest::newRow("double") << QVariant(1234567.891) << "#,##0" << "1,234,568";
    QTest::newRow("percent scales") << QVariant(0.256) << "0.0%" << "25.6%";
    QTest::newRow("negative section") << QVariant(-5) << "0.00;(0.00)" << "(5.00)";
    QTest::newRow("zero section") << QVariant(0) << "0.00;(0.00);\"cero\"" << "cero";
    QTest::newRow("named Standard") << QVariant::fromValue(Decimal("1234.5")) << "Standard" << "1,234.50";
    QTest::newRow("text that is no number") << QVariant(QStringLiteral("abc")) << "0.00" << "abc";
    QTest::newRow("no format") << QVariant::fromValue(Decimal("12.50")) << "" << "12.5";
    QTest::newRow("date, server format") << QVariant(QDate(2009, 5, 11)) << "dd/mm/yyyy" << "11/05/2009";
    QTest::newRow("date and time, full format") << QVariant(afternoon) << "dd/mm/yyyy HH:nn:ss" << "11/05/2009 14:07:09";
    QTest::newRow("mm after hh is minutes") << QVariant(afternoon) << "hh:mm" << "14:07";
    QTest::newRow("twelve-hour clock") << QVariant(afternoon) << "h:nn AM/PM" << "2:07 PM";
    QTest::newRow("unpadded day and month") << QVariant(afternoon) << "d/m/yy" << "11/5/09";
    QTest::newRow("month name") << QVariant(afternoon) << "d \"de\" mmmm \"de\" yyyy" << "11 de mayo de 2009";
    QTest::newRow("ISO text as a date") << QVariant(QStringLiteral("2009-05-11T14:07:09")) << "dd/mm/yyyy"
                                        << "11/05/2009";
    QTest::newRow("number as a VB date") << QVariant(39944.5) << "dd/mm/yyyy hh:nn" << "11/05/2009 12:00";
}
// clang-format on

void tst_cString::formatToString()
{
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(s.FormatToString(value, format), expected);
}

// clang-format off
void tst_cString::stringToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("leading number") << "12abc" << 12.0;
    QTest::newRow("sign, point and unit") << "  -3.5kg" << -3.5;
    QTest::newRow("blanks inside are skipped") << "1 2 3" << 123.0;
    QTest::newRow("comma ends the number") << "1,234.50" << 1.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("exponent D") << "2D2x" << 200.0;
    QTest::newRow("exponent without digits") << "7e" << 7.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("double sign") << "--5" << 0.0;
}
// clang-format on

void tst_cString::stringToNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(s.StringToNumber(text), expected);
}

void tst_cString::getCurrentDateToString()
{
    const QDateTime at(QDate(2009, 11, 5), QTime(22, 30, 15));
    cString defaults;
    defaults.setClock([at] { return at; });
    QCOMPARE(defaults.getCurrentDateToString(), QStringLiteral("05/11/2009"));

    ConfigFixture f;
    QVERIFY(
        f.config.setValue(QStringLiteral("FORMATO-FECHA-CLIENTE"), QStringLiteral("dd/mm/yyyy HH:nn:ss")));
    cString configured(&f.config);
    configured.setClock([at] { return at; });
    QCOMPARE(configured.getCurrentDateToString(), QStringLiteral("05/11/2009 22:30:15"));
}

// clang-format off
void tst_cString::strToDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QDateTime>("expected");
    const QString full = QStringLiteral("DAY/MON/YEAR HOUR:MIN:SEC");
    QTest::newRow("day first") << "11/05/2009" << "DAY/MON/YEAR" << QDateTime(QDate(2009, 5, 11), QTime(0, 0));
    QTest::newRow("month first") << "05/11/2009" << "MON/DAY/YEAR" << QDateTime(QDate(2009, 5, 11), QTime(0, 0));
    QTest::newRow("year first with time") << "2009/05/11 23:59:59" << "YEAR/MON/DAY HOUR:MIN:SEC"
                                          << QDateTime(QDate(2009, 5, 11), QTime(23, 59, 59));
    QTest::newRow("month name") << "11/NOV/2009" << "DAY/MON/YEAR" << QDateTime(QDate(2009, 11, 11), QTime(0, 0));
    QTest::newRow("month name in lower case") << "11 dec 2009" << "DAY MON YEAR"
                                              << QDateTime(QDate(2009, 12, 11), QTime(0, 0));
    QTest::newRow("format words in any case") << "11 Jan 2009" << "day mon year"
                                              << QDateTime(QDate(2009, 1, 11), QTime(0, 0));
    QTest::newRow("PM time") << "11/NOV/2009 10:30:15 PM" << full << QDateTime(QDate(2009, 11, 11), QTime(22, 30, 15));
    QTest::newRow("AM time") << "11/11/2009 10:30:15 AM" << full << QDateTime(QDate(2009, 11, 11), QTime(10, 30, 15));
    QTest::newRow("12 PM is noon") << "11/11/2009 12:05:00 PM" << full << QDateTime(QDate(2009, 11, 11), QTime(12, 5));
    QTest::newRow("12 AM is midnight") << "11/11/2009 12:05:00 am" << full << QDateTime(QDate(2009, 11, 11), QTime(0, 5));
    QTest::newRow("PM joined to the minutes") << "11/11/2009 3:45PM" << "DAY/MON/YEAR HOUR:MIN"
                                              << QDateTime(QDate(2009, 11, 11), QTime(15, 45));
    QTest::newRow("PM named in the format") << "11/11/2009 3:45 PM" << "DAY/MON/YEAR HOUR:MIN PM"
                                            << QDateTime(QDate(2009, 11, 11), QTime(15, 45));
    QTest::newRow("two-digit year 09") << "11/05/09" << "DAY/MON/YEAR" << QDateTime(QDate(2009, 5, 11), QTime(0, 0));
    QTest::newRow("two-digit year 95") << "11/05/95" << "DAY/MON/YEAR" << QDateTime(QDate(1995, 5, 11), QTime(0, 0));
    QTest::newRow("time alone falls on VB's day zero") << "22:30" << "HOUR:MIN"
                                                       << QDateTime(QDate(1899, 12, 30), QTime(22, 30));
}
// clang-format on

void tst_cString::strToDate()
{
    QFETCH(QString, text);
    QFETCH(QString, format);
    QFETCH(QDateTime, expected);
    QCOMPARE(s.StrToDate(text, format), expected);
}

// clang-format off
void tst_cString::strToDateFailure_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");
    QTest::newRow("no such day") << "31/02/2009" << "DAY/MON/YEAR";
    QTest::newRow("month 13") << "11/13/2009" << "DAY/MON/YEAR";
    QTest::newRow("unknown month name") << "11/ENE/2009" << "DAY/MON/YEAR";
    QTest::newRow("missing year") << "11/05" << "DAY/MON/YEAR";
    QTest::newRow("letters for a day") << "XX/05/2009" << "DAY/MON/YEAR";
    QTest::newRow("hour 25") << "11/05/2009 25:00" << "DAY/MON/YEAR HOUR:MIN";
    QTest::newRow("empty text") << "" << "DAY/MON/YEAR";
}
// clang-format on

void tst_cString::strToDateFailure()
{
    QFETCH(QString, text);
    QFETCH(QString, format);
    try {
        s.StrToDate(text, format);
        QFAIL("no failure reported");
    } catch (const StrToDateError &e) {
        QCOMPARE(QString::fromStdString(e.what()),
                 QStringLiteral("Imposible convertir ") + text + QStringLiteral(" a formato fecha "));
    }
}

// clang-format off
void tst_cString::subString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");
    QTest::newRow("middle") << "Mostrador" << 3 << 4 << "stra";
    QTest::newRow("to the end without length") << "Mostrador" << 5 << -1 << "rador";
    QTest::newRow("length past the end") << "Mostrador" << 8 << 10 << "or";
    QTest::newRow("start past the end") << "Mostrador" << 10 << 2 << "";
    QTest::newRow("start before 1 counts from 1") << "Mostrador" << 0 << 3 << "Mos";
    QTest::newRow("zero length") << "Mostrador" << 2 << 0 << "";
}
// clang-format on

void tst_cString::subString()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, expected);
    QCOMPARE(s.SubString(text, start, length), expected);
}

// clang-format off
void tst_cString::replaceInvalidCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("valid");
    QTest::addColumn<QString>("fill");
    QTest::addColumn<QString>("expected");
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789 ");
    QTest::newRow("accents and marks replaced") << QStringLiteral("Año 2009!") << letters << "_" << "A_o 2009_";
    QTest::newRow("case does not matter") << "ABC xyz" << letters << "_" << "ABC xyz";
    QTest::newRow("empty fill removes") << "R.F.C." << letters << "" << "RFC";
    QTest::newRow("nothing valid") << "abc" << "" << "*" << "***";
}
// clang-format on

void tst_cString::replaceInvalidCharacter()
{
    QFETCH(QString, text);
    QFETCH(QString, valid);
    QFETCH(QString, fill);
    QFETCH(QString, expected);
    QCOMPARE(s.ReplaceInvalidCharacter(text, valid, fill), expected);
}

// clang-format off
void tst_cString::getFileExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "venta.csv" << "csv";
    QTest::newRow("last dot wins") << "respaldo.tar.gz" << "gz";
    QTest::newRow("windows path") << "C:\\datos\\foto.JPG" << "JPG";
    QTest::newRow("none") << "/tmp/venta" << "";
    QTest::newRow("dot in a folder name is no extension") << "C:\\datos.v2\\venta" << "";
    QTest::newRow("trailing dot") << "venta." << "";
}
// clang-format on

void tst_cString::getFileExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(s.getFileExtension(name), expected);
}

void tst_cString::decidir()
{
    QCOMPARE(s.decidir(true, QStringLiteral("S"), 0), QVariant(QStringLiteral("S")));
    QCOMPARE(s.decidir(false, QStringLiteral("S"), 0), QVariant(0));
}

void tst_cString::scriptsReachEveryRoutine()
{
    const QStringList signatures = s.listaFunciones();
    for (const char *quoted : {"Gettoken(StrSource, StrToken, IntToken)", "leftFill(sCad, sChar, iLen)",
                               "NroEnLetras(curNumero,blnO_Final,sMoneda)",
                               "GetTokenTextDelim(sString, lToken, sDelim, sDelimTexto)",
                               "ReplaceInvalidCharacter(sString, sValidChar, sFillChar)", "code128(sString)",
                               "Code25I(sString)", "Code39(sString)", "EAN13(sString)", "EAN8(sString)"})
        QVERIFY2(signatures.contains(QString::fromLatin1(quoted)), quoted);

    // Every routine of the list is reachable by name: an invokable member, or a ByRef one.
    const QStringList byRef = {QStringLiteral("StrToArr")};
    const QMetaObject *mo = s.metaObject();
    QCOMPARE(signatures.size(), 26);
    for (const QString &signature : signatures) {
        const QString name = signature.left(signature.indexOf(u'('));
        bool found = byRef.contains(name);
        for (int i = mo->methodOffset(); i < mo->methodCount() && !found; ++i)
            found = QString::fromLatin1(mo->method(i).name()) == name;
        QVERIFY2(found, qPrintable(name));
    }

    QString token;
    QVERIFY(QMetaObject::invokeMethod(&s, "Gettoken", Q_RETURN_ARG(QString, token),
                                      Q_ARG(QString, QStringLiteral("A|B|C")),
                                      Q_ARG(QString, QStringLiteral("|")), Q_ARG(int, 2)));
    QCOMPARE(token, QStringLiteral("B"));
    QString words;
    QVERIFY(QMetaObject::invokeMethod(&s, "NroEnLetras", Q_RETURN_ARG(QString, words),
                                      Q_ARG(QVariant, QVariant(100))));
    QCOMPARE(words, QStringLiteral("CIEN "));
}

void tst_cString::scriptsUseByRefMembers()
{
    cString lib;
    vbs::Engine engine;
    engine.addObject(QStringLiteral("xLibStr"), cStringHost::create(&lib));
    const bool ran = engine.addCode(
        QStringLiteral("Dim partes, n, codigo, fuente, malo, fuenteMala, letras, fecha, errFecha\n"
                       "n = xLibStr.StrToArr(partes, \"UN MIL DOSCIENTOS CINCUENTA PESOS 50/100\", 36)\n"
                       "codigo = \"400638133393\"\n"
                       "fuente = xLibStr.EAN13(codigo)\n"
                       "malo = \"55123\"\n"
                       "fuenteMala = xLibStr.ean8(malo)\n"
                       "letras = XLIBSTR.NroEnLetras(1250.5, True, \"PESOS\")\n"
                       "On Error Resume Next\n"
                       "fecha = xLibStr.StrToDate(\"31/02/2009\", \"DAY/MON/YEAR\")\n"
                       "errFecha = Err.Description\n"));
    QVERIFY2(ran, qPrintable(engine.errorText()));
    QCOMPARE(engine.eval(QStringLiteral("n")).toInt(), 2);
    QCOMPARE(engine.eval(QStringLiteral("UBound(partes)")).toInt(), 1);
    QCOMPARE(engine.eval(QStringLiteral("partes(0)")).toString(),
             QStringLiteral("UN MIL DOSCIENTOS CINCUENTA PESOS"));
    QCOMPARE(engine.eval(QStringLiteral("partes(1)")).toString(), QStringLiteral("50/100"));
    QCOMPARE(engine.eval(QStringLiteral("codigo")).toString(), QStringLiteral("4006381333931"));
    QCOMPARE(engine.eval(QStringLiteral("fuente")).toString(), QStringLiteral("4AKGDSL*dddjdb+"));
    QCOMPARE(engine.eval(QStringLiteral("malo")).toString(), QStringLiteral("55123"));
    QCOMPARE(engine.eval(QStringLiteral("fuenteMala")).toString(), QString());
    QCOMPARE(engine.eval(QStringLiteral("letras")).toString(),
             QStringLiteral("UN MIL DOSCIENTOS CINCUENTA PESOS 50/100"));
    QCOMPARE(engine.eval(QStringLiteral("errFecha")).toString(),
             QStringLiteral("Imposible convertir 31/02/2009 a formato fecha "));
}

QTEST_GUILESS_MAIN(tst_cString)
#include "tst_cstring.moc"
