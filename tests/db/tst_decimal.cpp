#include "Decimal.h"

#include <QTest>

class tst_Decimal : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void parseRejects_data();
    void parseRejects();
    void arithmetic_data();
    void arithmetic();
    void noFloatingPointDrift();
    void round_data();
    void round();
    void toStringFixed_data();
    void toStringFixed();
    void format_data();
    void format();
    void fromDouble_data();
    void fromDouble();
    void fromVariant_data();
    void fromVariant();
    void overflow();
    void divisionByZero();
    void ordering();
    void asTestColumn_data();
    void asTestColumn();
};

void tst_Decimal::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("integer") << "1234" << qint64(1234000000);
    QTest::newRow("two decimals") << "1234.50" << qint64(1234500000);
    QTest::newRow("negative half") << "-0.5" << qint64(-500000);
    QTest::newRow("leading dot") << ".25" << qint64(250000);
    QTest::newRow("trailing dot") << "7." << qint64(7000000);
    QTest::newRow("plus sign and blanks") << "  +3.1 " << qint64(3100000);
    QTest::newRow("smallest step") << "0.000001" << qint64(1);
    QTest::newRow("seventh digit rounds up") << "0.0000005" << qint64(1);
    QTest::newRow("seventh digit rounds away from zero") << "-0.0000005" << qint64(-1);
    QTest::newRow("seventh digit below half") << "0.00000049999" << qint64(0);
    QTest::newRow("exponent as REAL text") << "1.5e-05" << qint64(15);
    QTest::newRow("positive exponent") << "2E3" << qint64(2000000000);
    QTest::newRow("negative zero") << "-0.000" << qint64(0);
    QTest::newRow("many leading zeros") << "0000000000000000000000000000000012.5" << qint64(12500000);
    QTest::newRow("largest whole value") << "9223372036854" << qint64(9223372036854000000);
}

void tst_Decimal::parse()
{
    QFETCH(QString, text);
    QFETCH(qint64, raw);
    QCOMPARE(Decimal(text).raw(), raw);
    bool ok = false;
    QCOMPARE(Decimal::fromString(text, &ok).raw(), raw);
    QVERIFY(ok);
}

void tst_Decimal::parseRejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("sign only") << "-";
    QTest::newRow("thousands comma") << "1,234.50";
    QTest::newRow("two dots") << "1.2.3";
    QTest::newRow("letters") << "12abc";
    QTest::newRow("currency sign") << "$5";
    QTest::newRow("dangling exponent") << "1e";
    QTest::newRow("too big") << "10000000000000";
}

void tst_Decimal::parseRejects()
{
    QFETCH(QString, text);
    bool ok = true;
    QCOMPARE(Decimal::fromString(text, &ok), Decimal(0));
    QVERIFY(!ok);
    bool threw = false;
    try {
        Decimal d(text);
    } catch (const std::exception &) {
        threw = true;
    }
    QVERIFY(threw);
}

void tst_Decimal::arithmetic_data()
{
    QTest::addColumn<Decimal>("a");
    QTest::addColumn<Decimal>("b");
    QTest::addColumn<Decimal>("sum");
    QTest::addColumn<Decimal>("difference");
    QTest::addColumn<Decimal>("product");
    QTest::addColumn<Decimal>("quotient");
    QTest::newRow("price times quantity") << Decimal("19.99") << Decimal("3") << Decimal("22.99")
                                          << Decimal("16.99") << Decimal("59.97") << Decimal("6.663333");
    QTest::newRow("tax 16 percent") << Decimal("100") << Decimal("0.16") << Decimal("100.16")
                                    << Decimal("99.84") << Decimal("16") << Decimal("625");
    QTest::newRow("product rounds half away at sixth place")
        << Decimal("0.000005") << Decimal("0.1") << Decimal("0.100005") << Decimal("-0.099995")
        << Decimal("0.000001") << Decimal("0.00005");
    QTest::newRow("negative product rounds away from zero")
        << Decimal("-0.000005") << Decimal("0.1") << Decimal("0.099995") << Decimal("-0.100005")
        << Decimal("-0.000001") << Decimal("-0.00005");
    QTest::newRow("one third") << Decimal(1) << Decimal(3) << Decimal(4) << Decimal(-2)
                               << Decimal(3) << Decimal("0.333333");
    QTest::newRow("two thirds rounds up") << Decimal(2) << Decimal(3) << Decimal(5) << Decimal(-1)
                                          << Decimal(6) << Decimal("0.666667");
    QTest::newRow("large amounts keep cents") << Decimal("123456789.12") << Decimal("1000")
                                              << Decimal("123457789.12") << Decimal("123455789.12")
                                              << Decimal("123456789120") << Decimal("123456.78912");
    QTest::newRow("negative divisor") << Decimal("10") << Decimal("-4") << Decimal("6") << Decimal("14")
                                      << Decimal("-40") << Decimal("-2.5");
}

void tst_Decimal::arithmetic()
{
    QFETCH(Decimal, a);
    QFETCH(Decimal, b);
    QFETCH(Decimal, sum);
    QFETCH(Decimal, difference);
    QFETCH(Decimal, product);
    QFETCH(Decimal, quotient);
    QCOMPARE(a + b, sum);
    QCOMPARE(a - b, difference);
    QCOMPARE(a * b, product);
    QCOMPARE(a / b, quotient);
    QCOMPARE(-(a - b), b - a);
}

void tst_Decimal::noFloatingPointDrift()
{
    // Ten cents added a thousand times must be exactly one hundred.
    Decimal total;
    for (int i = 0; i < 1000; ++i)
        total += Decimal("0.10");
    QCOMPARE(total, Decimal(100));
    QCOMPARE(Decimal("0.1") + Decimal("0.2"), Decimal("0.3"));
}

void tst_Decimal::round_data()
{
    QTest::addColumn<Decimal>("value");
    QTest::addColumn<int>("places");
    QTest::addColumn<Decimal>("awayFromZero");
    QTest::addColumn<Decimal>("halfEven");
    QTest::newRow("2.345 to cents") << Decimal("2.345") << 2 << Decimal("2.35") << Decimal("2.34");
    QTest::newRow("2.355 to cents") << Decimal("2.355") << 2 << Decimal("2.36") << Decimal("2.36");
    QTest::newRow("-2.345 to cents") << Decimal("-2.345") << 2 << Decimal("-2.35") << Decimal("-2.34");
    QTest::newRow("0.5 to units") << Decimal("0.5") << 0 << Decimal(1) << Decimal(0);
    QTest::newRow("1.5 to units") << Decimal("1.5") << 0 << Decimal(2) << Decimal(2);
    QTest::newRow("2.5 to units") << Decimal("2.5") << 0 << Decimal(3) << Decimal(2);
    QTest::newRow("-0.5 to units") << Decimal("-0.5") << 0 << Decimal(-1) << Decimal(0);
    QTest::newRow("not a half") << Decimal("2.3449") << 2 << Decimal("2.34") << Decimal("2.34");
    QTest::newRow("beyond the half") << Decimal("2.250001") << 1 << Decimal("2.3") << Decimal("2.3");
    QTest::newRow("to tens") << Decimal("125") << -1 << Decimal("130") << Decimal("120");
    QTest::newRow("six places is identity") << Decimal("1.234567") << 6 << Decimal("1.234567")
                                            << Decimal("1.234567");
}

void tst_Decimal::round()
{
    QFETCH(Decimal, value);
    QFETCH(int, places);
    QFETCH(Decimal, awayFromZero);
    QFETCH(Decimal, halfEven);
    QCOMPARE(value.round(places), awayFromZero);
    QCOMPARE(value.round(places, Decimal::HalfEven), halfEven);
}

void tst_Decimal::toStringFixed_data()
{
    QTest::addColumn<Decimal>("value");
    QTest::addColumn<QString>("minimal");
    QTest::addColumn<QString>("twoDecimals");
    QTest::newRow("zero") << Decimal(0) << "0" << "0.00";
    QTest::newRow("whole") << Decimal(1234) << "1234" << "1234.00";
    QTest::newRow("trailing zeros dropped") << Decimal("1234.50") << "1234.5" << "1234.50";
    QTest::newRow("negative fraction") << Decimal("-0.5") << "-0.5" << "-0.50";
    QTest::newRow("smallest step") << Decimal("0.000001") << "0.000001" << "0.00";
    QTest::newRow("half cent rounds up") << Decimal("0.005") << "0.005" << "0.01";
    QTest::newRow("negative half cent rounds away") << Decimal("-0.005") << "-0.005" << "-0.01";
    QTest::newRow("negative that rounds to zero") << Decimal("-0.004") << "-0.004" << "0.00";
    QTest::newRow("most negative value") << Decimal::fromRaw(std::numeric_limits<qint64>::min())
                                         << "-9223372036854.775808" << "-9223372036854.78";
}

void tst_Decimal::toStringFixed()
{
    QFETCH(Decimal, value);
    QFETCH(QString, minimal);
    QFETCH(QString, twoDecimals);
    QCOMPARE(value.toString(), minimal);
    // The most negative value cannot be rounded away from zero without overflow.
    if (value.raw() == std::numeric_limits<qint64>::min()) {
        QVERIFY_THROWS_EXCEPTION(DecimalOverflow, value.toString(2));
        return;
    }
    QCOMPARE(value.toString(2), twoDecimals);
}

void tst_Decimal::format_data()
{
    QTest::addColumn<Decimal>("value");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain cents") << Decimal("1234.5") << "0.00" << "1234.50";
    QTest::newRow("cents round half away") << Decimal("2.345") << "0.00" << "2.35";
    QTest::newRow("negative cents round half away") << Decimal("-2.345") << "0.00" << "-2.35";
    QTest::newRow("grouped") << Decimal("1234567.891") << "#,##0.00" << "1,234,567.89";
    QTest::newRow("grouped under a thousand") << Decimal("999.999") << "#,##0.00" << "1,000.00";
    QTest::newRow("grouped zero") << Decimal(0) << "#,##0.00" << "0.00";
    QTest::newRow("money") << Decimal("1500") << "$#,##0.00" << "$1,500.00";
    QTest::newRow("negative money") << Decimal("-1234.5") << "$#,##0.00" << "-$1,234.50";
    QTest::newRow("whole grouped") << Decimal("1234567.5") << "#,##0" << "1,234,568";
    QTest::newRow("whole grouped small") << Decimal("12") << "#,##0" << "12";
    QTest::newRow("minus zero is not shown") << Decimal("-0.001") << "0.00" << "0.00";
    QTest::newRow("three decimals") << Decimal("1.0005") << "0.000" << "1.001";
    QTest::newRow("optional decimals") << Decimal("2.5") << "0.##" << "2.5";
    QTest::newRow("percent suffix") << Decimal("16") << "0%" << "16%";
}

void tst_Decimal::format()
{
    QFETCH(Decimal, value);
    QFETCH(QString, picture);
    QFETCH(QString, text);
    QCOMPARE(value.format(picture), text);
}

void tst_Decimal::fromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<Decimal>("expected");
    QTest::newRow("binary noise removed") << 0.1 + 0.2 << Decimal("0.3");
    QTest::newRow("price") << 19.99 << Decimal("19.99");
    QTest::newRow("seventh place rounds") << 1.2345675 << Decimal("1.234568");
    QTest::newRow("negative") << -7.25 << Decimal("-7.25");
    QTest::newRow("large") << 1234567890.5 << Decimal("1234567890.5");
}

void tst_Decimal::fromDouble()
{
    QFETCH(double, value);
    QFETCH(Decimal, expected);
    QCOMPARE(Decimal::fromDouble(value), expected);
}

void tst_Decimal::fromVariant_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<Decimal>("expected");
    QTest::addColumn<bool>("ok");
    QTest::newRow("decimal") << Decimal("3.25").toQVariant() << Decimal("3.25") << true;
    QTest::newRow("int") << QVariant(42) << Decimal(42) << true;
    QTest::newRow("long long") << QVariant(qint64(5000000000)) << Decimal(qint64(5000000000)) << true;
    QTest::newRow("double") << QVariant(2.675) << Decimal("2.675") << true;
    QTest::newRow("numeric text from the server") << QVariant(QStringLiteral("123.450000"))
                                                 << Decimal("123.45") << true;
    QTest::newRow("null") << QVariant() << Decimal(0) << true;
    QTest::newRow("empty text") << QVariant(QString()) << Decimal(0) << true;
    QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << Decimal(0) << false;
}

void tst_Decimal::fromVariant()
{
    QFETCH(QVariant, value);
    QFETCH(Decimal, expected);
    QFETCH(bool, ok);
    bool good = !ok;
    QCOMPARE(Decimal::fromVariant(value, &good), expected);
    QCOMPARE(good, ok);
}

void tst_Decimal::overflow()
{
    const Decimal big("9000000000000");
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, big + big);
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, -big - big);
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, big * Decimal(2));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, big / Decimal("0.5"));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, Decimal(qint64(10000000000000)));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, -Decimal::fromRaw(std::numeric_limits<qint64>::min()));
    // A product whose intermediate exceeds 64 bits but whose result fits is exact.
    QCOMPARE(Decimal("3000000") * Decimal("3000000"), Decimal("9000000000000"));
    QCOMPARE(big / big, Decimal(1));
}

void tst_Decimal::divisionByZero()
{
    QVERIFY_THROWS_EXCEPTION(DecimalDivisionByZero, Decimal(1) / Decimal(0));
}

void tst_Decimal::ordering()
{
    QVERIFY(Decimal("-0.000001") < Decimal(0));
    QVERIFY(Decimal("0.01") > Decimal("0.009999"));
    QVERIFY(Decimal("1.10") == Decimal("1.1"));
    QVERIFY(Decimal(5) >= 5);
    QCOMPARE(Decimal("-3.5").abs(), Decimal("3.5"));
    QCOMPARE(Decimal("2.5").toInt64(), qint64(3));
    QCOMPARE(Decimal("-2.5").toInt64(), qint64(-3));
    QCOMPARE(Decimal("-2.99").truncated(), Decimal(-2));
}

void tst_Decimal::asTestColumn_data()
{
    QTest::addColumn<Decimal>("value");
    QTest::newRow("column of decimals") << Decimal("0.01");
}

void tst_Decimal::asTestColumn()
{
    QFETCH(Decimal, value);
    const QVariant v = value.toQVariant();
    QCOMPARE(v.value<Decimal>(), value);
    QCOMPARE(Decimal::fromVariant(v), value);
}

QTEST_GUILESS_MAIN(tst_Decimal)
#include "tst_decimal.moc"
