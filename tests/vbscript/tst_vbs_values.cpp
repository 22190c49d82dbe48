// Conversion layer: text to number and date per locale, rounding, number and date text.
#include "Convert.h"
#include "ScriptError.h"

#include <QTest>

namespace {

// Makes a locale current for one test row and restores en-us afterwards.
struct LocaleScope {
    explicit LocaleScope(const QString &name) { vbs::setCurrentLocale(vbs::localeByName(name)); }
    ~LocaleScope() { vbs::setCurrentLocale(vbs::localeByLcid(1033)); }
};

} // namespace

class tst_Values : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parseNumber_data();
    void parseNumber();
    void parseDate_data();
    void parseDate();
    void roundDecimal_data();
    void roundDecimal();
    void doubleText_data();
    void doubleText();
    void serialsBeforeTheEpoch();
    void coercionErrors_data();
    void coercionErrors();
    void formatNumber_data();
    void formatNumber();
    void localeLookup();
    void ansiText();
};

void tst_Values::parseNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "en-us"
                           << "42" << true << 42.0;
    QTest::newRow("spaces around") << "en-us"
                                   << "  42  " << true << 42.0;
    QTest::newRow("grouping and decimals") << "en-us"
                                           << "1,234.5" << true << 1234.5;
    QTest::newRow("es-mx like en-us") << "es-mx"
                                      << "1,234.5" << true << 1234.5;
    QTest::newRow("es-es swaps separators") << "es-es"
                                            << "1.234,5" << true << 1234.5;
    QTest::newRow("es-es rejects a second comma") << "es-es"
                                                  << "1,2,3" << false << 0.0;
    QTest::newRow("exponent") << "en-us"
                              << "1e3" << true << 1000.0;
    QTest::newRow("D exponent") << "en-us"
                                << "2D2" << true << 200.0;
    QTest::newRow("negative") << "en-us"
                              << "-0.25" << true << -0.25;
    QTest::newRow("leading dot with sign") << "en-us"
                                           << "+.5" << true << 0.5;
    QTest::newRow("currency symbol") << "en-us"
                                     << "$1,000" << true << 1000.0;
    QTest::newRow("hex") << "en-us"
                         << "&HFF" << true << 255.0;
    QTest::newRow("hex FFFF is Integer -1") << "en-us"
                                            << "&HFFFF" << true << -1.0;
    QTest::newRow("octal") << "en-us"
                           << "&O17" << true << 15.0;
    QTest::newRow("empty") << "en-us"
                           << "" << false << 0.0;
    QTest::newRow("only a sign") << "en-us"
                                 << "-" << false << 0.0;
    QTest::newRow("two dots") << "en-us"
                              << "1.2.3" << false << 0.0;
    QTest::newRow("letters") << "en-us"
                             << "12abc" << false << 0.0;
    QTest::newRow("dangling exponent") << "en-us"
                                       << "1e" << false << 0.0;
}

void tst_Values::parseNumber()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    LocaleScope scope(locale);
    double out = 0;
    QCOMPARE(vbs::parseNumber(text, out), valid);
    if (valid)
        QCOMPARE(out, value);
}

void tst_Values::parseDate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("expected"); // yyyy-MM-dd hh:mm:ss
    QTest::newRow("en-us month first") << "en-us"
                                       << "3/4/2026" << true << "2026-03-04 00:00:00";
    QTest::newRow("es-mx day first") << "es-mx"
                                     << "3/4/2026" << true << "2026-04-03 00:00:00";
    QTest::newRow("impossible month swaps") << "en-us"
                                            << "13/4/2026" << true << "2026-04-13 00:00:00";
    QTest::newRow("ISO in any locale") << "es-mx"
                                       << "2026-03-04" << true << "2026-03-04 00:00:00";
    QTest::newRow("dashes") << "es-mx"
                            << "04-03-2026" << true << "2026-03-04 00:00:00";
    QTest::newRow("two-digit year 29") << "en-us"
                                       << "1/1/29" << true << "2029-01-01 00:00:00";
    QTest::newRow("two-digit year 30") << "en-us"
                                       << "1/1/30" << true << "1930-01-01 00:00:00";
    QTest::newRow("Spanish words") << "es-mx"
                                   << "4 de marzo de 2026" << true << "2026-03-04 00:00:00";
    QTest::newRow("English month first") << "en-us"
                                         << "March 4, 2026" << true << "2026-03-04 00:00:00";
    QTest::newRow("abbreviated month") << "en-us"
                                       << "4-Mar-2026 10:05" << true << "2026-03-04 10:05:00";
    QTest::newRow("24-hour time") << "es-mx"
                                  << "04/03/2026 17:45:30" << true << "2026-03-04 17:45:30";
    QTest::newRow("p.m.") << "es-mx"
                          << "04/03/2026 05:45:30 p.m." << true << "2026-03-04 17:45:30";
    QTest::newRow("12 AM") << "en-us"
                           << "12:15 AM" << true << "1899-12-30 00:15:00";
    QTest::newRow("leap day") << "en-us"
                              << "2/29/2024" << true << "2024-02-29 00:00:00";
    QTest::newRow("not a leap year") << "en-us"
                                     << "2/29/2026" << false << "";
    QTest::newRow("day 32") << "en-us"
                            << "1/32/2026" << false << "";
    QTest::newRow("hour 25") << "en-us"
                             << "25:00" << false << "";
    QTest::newRow("13 PM") << "en-us"
                           << "13:00 PM" << false << "";
    QTest::newRow("words") << "en-us"
                           << "hello" << false << "";
    QTest::newRow("a bare number") << "en-us"
                                   << "2026" << false << "";
}

void tst_Values::parseDate()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, expected);
    LocaleScope scope(locale);
    double serial = 0;
    QCOMPARE(vbs::parseDate(text, serial), valid);
    if (!valid)
        return;
    const vbs::DateParts p = vbs::splitDate(serial);
    const QString got = QStringLiteral("%1-%2-%3 %4:%5:%6")
                            .arg(p.year, 4, 10, QLatin1Char('0'))
                            .arg(p.month, 2, 10, QLatin1Char('0'))
                            .arg(p.day, 2, 10, QLatin1Char('0'))
                            .arg(p.hour, 2, 10, QLatin1Char('0'))
                            .arg(p.minute, 2, 10, QLatin1Char('0'))
                            .arg(p.second, 2, 10, QLatin1Char('0'));
    QCOMPARE(got, expected);
}

void tst_Values::roundDecimal_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<bool>("halfEven");
    QTest::addColumn<double>("expected");
    QTest::newRow("half to even down") << 2.5 << 0 << true << 2.0;
    QTest::newRow("half to even up") << 3.5 << 0 << true << 4.0;
    QTest::newRow("half away from zero") << 2.5 << 0 << false << 3.0;
    QTest::newRow("negative half away") << -2.5 << 0 << false << -3.0;
    QTest::newRow("negative half even") << -2.5 << 0 << true << -2.0;
    QTest::newRow("binary 2.675 is a decimal half") << 2.675 << 2 << true << 2.68;
    QTest::newRow("1.005 away from zero") << 1.005 << 2 << false << 1.01;
    QTest::newRow("0.125 even") << 0.125 << 2 << true << 0.12;
    QTest::newRow("below half") << 1.2344 << 3 << true << 1.234;
    QTest::newRow("above half") << 1.2346 << 3 << true << 1.235;
    QTest::newRow("more digits than needed") << 1.5 << 4 << true << 1.5;
    QTest::newRow("tiny rounds to zero") << 0.0004 << 2 << false << 0.0;
    QTest::newRow("carry into integer part") << 9.995 << 2 << false << 10.0;
    QTest::newRow("money sum") << 1450.5800000000002 << 2 << false << 1450.58;
}

void tst_Values::roundDecimal()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(bool, halfEven);
    QFETCH(double, expected);
    QCOMPARE(vbs::roundDecimal(value, digits, halfEven), expected);
}

void tst_Values::doubleText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer valued") << 100.0 << "100";
    QTest::newRow("binary noise hidden") << 0.1 + 0.2 << "0.3";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("small uses exponent") << 0.00001 << "1E-05";
    QTest::newRow("0.0001 stays fixed") << 0.0001 << "0.0001";
    QTest::newRow("15 digits fixed") << 123456789012345.0 << "123456789012345";
    QTest::newRow("16 digits exponent") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("negative") << -1.5 << "-1.5";
    QTest::newRow("zero") << 0.0 << "0";
}

void tst_Values::doubleText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(vbs::toString(vbs::Value::dbl(value)), text);
}

void tst_Values::serialsBeforeTheEpoch()
{
    // OLE dates before 1899-12-30 carry the time as a positive fraction
    vbs::DateParts p = vbs::splitDate(-1.25);
    QCOMPARE(p.year, 1899);
    QCOMPARE(p.month, 12);
    QCOMPARE(p.day, 29);
    QCOMPARE(p.hour, 6);
    QCOMPARE(vbs::combineDateTime(vbs::makeDate(1899, 12, 29), 0.25), -1.25);
    p = vbs::splitDate(vbs::makeDate(100, 1, 1));
    QCOMPARE(p.year, 100);
    QCOMPARE(vbs::makeDate(1900, 3, 1) - vbs::makeDate(1900, 2, 28), 1.0); // 1900 is not a leap year
    QCOMPARE(vbs::splitDate(vbs::makeDate(2026, 3, 4)).weekday, 4);
    QCOMPARE(vbs::timeSerial(-1, 0, 0), vbs::combineDateTime(-1, 23.0 / 24.0));
}

void tst_Values::coercionErrors_data()
{
    QTest::addColumn<int>("conversion"); // 0 toDouble, 1 toLong, 2 toInteger, 3 toBool, 4 toDate, 5 toString
    QTest::addColumn<vbs::Value>("input");
    QTest::addColumn<int>("error");
    QTest::newRow("Null to number") << 0 << vbs::Value::null() << 94;
    QTest::newRow("Null to text") << 5 << vbs::Value::null() << 94;
    QTest::newRow("text to number") << 0 << vbs::Value(QStringLiteral("abc")) << 13;
    QTest::newRow("Long overflow") << 1 << vbs::Value::dbl(3e9) << 6;
    QTest::newRow("Integer overflow") << 2 << vbs::Value::lng(40000) << 6;
    QTest::newRow("text to Boolean") << 3 << vbs::Value(QStringLiteral("maybe")) << 13;
    QTest::newRow("text to date") << 4 << vbs::Value(QStringLiteral("2/30/2026")) << 13;
    QTest::newRow("date out of range") << 4 << vbs::Value::dbl(1e9) << 6;
    QTest::newRow("array to number") << 0 << vbs::Value::array(new vbs::ArrayData) << 13;
    QTest::newRow("Nothing to number") << 0 << vbs::Value::nothing() << 91;
}

void tst_Values::coercionErrors()
{
    QFETCH(int, conversion);
    QFETCH(vbs::Value, input);
    QFETCH(int, error);
    try {
        switch (conversion) {
        case 0:
            vbs::toDouble(input);
            break;
        case 1:
            vbs::toLong(input);
            break;
        case 2:
            vbs::toInteger(input);
            break;
        case 3:
            vbs::toBool(input);
            break;
        case 4:
            vbs::toDate(input);
            break;
        default:
            vbs::toString(input);
            break;
        }
        QFAIL("no error raised");
    } catch (const vbs::ScriptError &e) {
        QCOMPARE(e.number, error);
    }
}

void tst_Values::formatNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("currency");
    QTest::newRow("en-us") << "en-us" << 1234.567 << 2 << "1,234.57"
                           << "$1,234.57";
    QTest::newRow("en-us negative") << "en-us" << -1234.567 << 2 << "-1,234.57"
                                    << "($1,234.57)";
    QTest::newRow("es-mx") << "es-mx" << 1234567.5 << 2 << "1,234,567.50"
                           << "$1,234,567.50";
    QTest::newRow("es-mx negative") << "es-mx" << -0.5 << 0 << "-1"
                                    << "-$1";
    QTest::newRow("es-es") << "es-es" << 1234.5 << 1 << "1.234,5"
                           << "1.234,5 \u20ac";
    QTest::newRow("es-es negative") << "es-es" << -1234.5 << 1 << "-1.234,5"
                                    << "-1.234,5 \u20ac";
    QTest::newRow("rounding to zero drops the sign") << "en-us" << -0.004 << 2 << "0.00"
                                                     << "$0.00";
    QTest::newRow("million") << "en-us" << 1e6 << 0 << "1,000,000"
                             << "$1,000,000";
}

void tst_Values::formatNumber()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(QString, number);
    QFETCH(QString, currency);
    LocaleScope scope(locale);
    QCOMPARE(vbs::formatNumber(value, digits, -2, -2, -2), number);
    QCOMPARE(vbs::formatCurrency(value, digits, -2, -2, -2), currency);
}

void tst_Values::localeLookup()
{
    QCOMPARE(vbs::localeByName(QStringLiteral("ES-MX"))->lcid, 2058);
    QCOMPARE(vbs::localeByName(QStringLiteral("es_MX"))->lcid, 2058);
    QCOMPARE(vbs::localeByName(QStringLiteral("en-US"))->lcid, 1033);
    QCOMPARE(QString::fromLatin1(vbs::localeByLcid(3082)->name), QStringLiteral("es-es"));
    QVERIFY(!vbs::localeByName(QStringLiteral("tlh")));
    QVERIFY(!vbs::localeByLcid(12345));
}

void tst_Values::ansiText()
{
    // printers and ANSI files need the Windows-1252 bytes back, not Latin-1
    const QString text = QStringLiteral("\u20ac\u00f1\u2013a");
    QCOMPARE(vbs::toAnsi(text), QByteArray("\x80\xf1\x96" "a"));
    QCOMPARE(vbs::fromAnsi(QByteArray("\x80\xf1\x96" "a")), text);
    QCOMPARE(vbs::toAnsi(QStringLiteral("\u4e2d")), QByteArray("?"));
    QCOMPARE(vbs::ansiCode(QChar(0x81)), 0x81); // the five undefined codes map to themselves
    QCOMPARE(vbs::ansiChar(0x9f), QChar(0x0178));
}

QTEST_GUILESS_MAIN(tst_Values)
#include "tst_vbs_values.moc"
