#include "cString.h"

#include <QTest>

// Font texts hold characters above 127 (start, stop and code-switch symbols); rows spell them as
// Latin-1 bytes.
static QString latin1(const char *bytes)
{
    return QString::fromLatin1(bytes);
}

class tst_cStringBarcode : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ean13_data();
    void ean13();
    void ean13CheckDigitOfRealProducts_data();
    void ean13CheckDigitOfRealProducts();
    void ean8_data();
    void ean8();
    void code25I_data();
    void code25I();
    void code39_data();
    void code39();
    void code128_data();
    void code128();
    void addOn_data();
    void addOn();

private:
    cString s;
};

// clang-format off
void tst_cStringBarcode::ean13_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("codeAfter");
    QTest::addColumn<QString>("font");
    QTest::newRow("worked example (first digit 4: BAABB)") << "400638133393" << "4006381333931" << "4AKGDSL*dddjdb+";
    QTest::newRow("GS1 example (first digit 5: BBAAB)") << "590123412345" << "5901234123457" << "5JKLCDO*bcdefh+";
    QTest::newRow("UPC-A as EAN-13 (first digit 0: all A)") << "001234567890" << "0012345678905" << "0ABCDEF*ghijaf+";
    QTest::newRow("ISBN (first digit 9: BBABA)") << "978030640615" << "9780306406157" << "9HSKDKG*eagbfh+";
    QTest::newRow("eleven digits") << "40063813339" << "40063813339" << "";
    QTest::newRow("thirteen digits") << "4006381333931" << "4006381333931" << "";
    QTest::newRow("a letter") << "40063813339A" << "40063813339A" << "";
    QTest::newRow("empty") << "" << "" << "";
}
// clang-format on

void tst_cStringBarcode::ean13()
{
    QFETCH(QString, code);
    QFETCH(QString, codeAfter);
    QFETCH(QString, font);
    QCOMPARE(s.EAN13(std::as_const(code)), font); // by value: the code stays
    QString byRef = code;
    QCOMPARE(s.EAN13(byRef), font);
    QCOMPARE(byRef, codeAfter);
}

// clang-format off
void tst_cStringBarcode::ean13CheckDigitOfRealProducts_data()
{
    // Barcodes printed on real products and publications, check digit included.
    QTest::addColumn<QString>("barcode");
    QTest::newRow("Stabilo pen") << "4006381333931";
    QTest::newRow("Nutella 400 g") << "3017620422003";
    QTest::newRow("Coca-Cola 330 ml") << "5449000000996";
    QTest::newRow("The C++ Programming Language") << "9780321563842";
    QTest::newRow("Design Patterns") << "9780201633610";
    QTest::newRow("ISBN example 978-0-306-40615-7") << "9780306406157";
}
// clang-format on

void tst_cStringBarcode::ean13CheckDigitOfRealProducts()
{
    QFETCH(QString, barcode);
    QString code = barcode.left(12);
    QVERIFY(!s.EAN13(code).isEmpty());
    QCOMPARE(code, barcode);
}

// clang-format off
void tst_cStringBarcode::ean8_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("codeAfter");
    QTest::addColumn<QString>("font");
    QTest::newRow("worked example") << "5512345" << "55123457" << ":FFBC*defh+";
    QTest::newRow("published EAN-8 96385074") << "9638507" << "96385074" << ":JGDI*fahe+";
    QTest::newRow("published EAN-8 73513537") << "7351353" << "73513537" << ":HDFB*dfdh+";
    QTest::newRow("check digit zero") << "0000000" << "00000000" << ":AAAA*aaaa+";
    QTest::newRow("six digits") << "551234" << "551234" << "";
    QTest::newRow("eight digits") << "55123457" << "55123457" << "";
    QTest::newRow("a blank") << "551234 " << "551234 " << "";
}
// clang-format on

void tst_cStringBarcode::ean8()
{
    QFETCH(QString, code);
    QFETCH(QString, codeAfter);
    QFETCH(QString, font);
    QCOMPARE(s.EAN8(std::as_const(code)), font);
    QString byRef = code;
    QCOMPARE(s.EAN8(byRef), font);
    QCOMPARE(byRef, codeAfter);
}

// clang-format off
void tst_cStringBarcode::code25I_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("check");
    QTest::addColumn<QString>("font");
    // ITF-14 of the shipping cases of GS1 examples: the check digit is the real one (2 and 3).
    QTest::newRow("ITF-14 10012345678902") << "1001234567890" << true
                                           << latin1("\xC9+\"8Ndz#\xCA");
    QTest::newRow("ITF-14 15400141288763") << "1540014128876" << true
                                           << latin1("\xC9" "0I\"J=x`" "\xCA");
    QTest::newRow("even length without check") << "10012345678902" << false
                                               << latin1("\xC9+\"8Ndz#\xCA");
    QTest::newRow("pairs from 94 up") << "9499" << false << latin1("\xC9\xC3\xC8\xCA");
    QTest::newRow("pair 93 stays below") << "9300" << false << latin1("\xC9~!\xCA");
    QTest::newRow("odd length without check") << "12345" << false << "";
    QTest::newRow("check digit makes the length odd") << "123456" << true << "";
    QTest::newRow("check digit makes the length even") << "12345" << true << latin1("\xC9-CZ\xCA");
    QTest::newRow("not digits") << "12A4" << false << "";
    QTest::newRow("empty") << "" << true << "";
}
// clang-format on

void tst_cStringBarcode::code25I()
{
    QFETCH(QString, code);
    QFETCH(bool, check);
    QFETCH(QString, font);
    QCOMPARE(s.Code25I(code, check), font);
}

// clang-format off
void tst_cStringBarcode::code39_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("font");
    QTest::newRow("worked example") << "AB-1" << "*AB-1*";
    QTest::newRow("every symbol") << "CODE 39 $%+-./" << "*CODE 39 $%+-./*";
    QTest::newRow("lower case") << "ab" << "";
    QTest::newRow("asterisk is the guard") << "A*B" << "";
    QTest::newRow("empty (only guards before)") << "" << "";
}
// clang-format on

void tst_cStringBarcode::code39()
{
    QFETCH(QString, code);
    QFETCH(QString, font);
    QCOMPARE(s.Code39(code), font);
}

// clang-format off
void tst_cStringBarcode::code128_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("font");
    // Check values: published ones ("abcdef" 97, "345678" 73, "HI345678" 67 with start A, so 68
    // with start B) and ones worked by hand from the standard's weighted sum.
    QTest::newRow("set B, check from 95 up") << "abcdef" << latin1("\xD1" "abcdef" "\xCA\xD3");
    QTest::newRow("set C from the start") << "345678" << latin1("\xD2" "BXni" "\xD3");
    QTest::newRow("switch to C for six digits") << "HI345678" << latin1("\xD1" "HI" "\xCC" "BXnd" "\xD3");
    QTest::newRow("four digits at the start") << "1234" << latin1("\xD2" ",Br" "\xD3");
    QTest::newRow("three digits stay in B") << "123" << latin1("\xD1" "123(" "\xD3");
    QTest::newRow("odd digit back in B") << "12345" << latin1("\xD2" ",B" "\xCD" "5V" "\xD3");
    QTest::newRow("four digits closing the text") << "AB12345" << latin1("\xD1" "AB1" "\xCC" "7M'" "\xD3");
    QTest::newRow("six digits inside, back to B") << "A123456B"
                                                  << latin1("\xD1" "A" "\xCC" ",BX" "\xCD" "Bp" "\xD3");
    QTest::newRow("five digits inside stay in B") << "A12345B" << latin1("\xD1" "A12345BL" "\xD3");
    QTest::newRow("pairs from 95 up") << "9999" << latin1("\xD2\xCC\xCC}\xD3");
    QTest::newRow("character 203 accepted") << latin1("A\xCB") << latin1("\xD1" "A" "\xCB" "8" "\xD3");
    QTest::newRow("character outside the font") << QStringLiteral("Año") << "";
    QTest::newRow("control character") << "A\tB" << "";
    QTest::newRow("empty") << "" << "";
}
// clang-format on

void tst_cStringBarcode::code128()
{
    QFETCH(QString, text);
    QFETCH(QString, font);
    QCOMPARE(s.code128(text), font);
}

// clang-format off
void tst_cStringBarcode::addOn_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("font");
    QTest::newRow("2 digits, key 0: AA") << "12" << "[B\\C";
    QTest::newRow("2 digits, key 1: AB") << "05" << "[A\\P";
    QTest::newRow("2 digits, key 2: BA") << "34" << "[N\\E";
    QTest::newRow("2 digits, key 3: BB") << "99" << "[T\\T";
    QTest::newRow("5 digits, price 24.95 (key 1: BABAA)") << "52495" << "[P\\C\\O\\J\\F";
    QTest::newRow("5 digits, key 0: BBAAA") << "00000" << "[K\\K\\A\\A\\A";
    QTest::newRow("three digits") << "123" << "";
    QTest::newRow("not digits") << "1A" << "";
}
// clang-format on

void tst_cStringBarcode::addOn()
{
    QFETCH(QString, code);
    QFETCH(QString, font);
    QCOMPARE(s.AddOn(code), font);
}

QTEST_GUILESS_MAIN(tst_cStringBarcode)
#include "tst_cstringbarcode.moc"
