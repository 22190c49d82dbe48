#include "SplashController.h"
#include "frmSplash.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

class tst_Splash : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void timing_data();
    void timing();
    void versionText_data();
    void versionText();
    void blinkAlternatesRedAndYellow();

    void windowShowsVersionAndWarning_data();
    void windowShowsVersionAndWarning();
    void closes_data();
    void closes();
    void warningBlinksOnScreen();
};

void tst_Splash::timing_data()
{
    QTest::addColumn<QString>("decimalPoint");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QString>("warning");
    const QString warn = QStringLiteral("Verifique Configuración Regional");
    QTest::newRow("point: 3 seconds, no warning") << "." << 3000 << "";
    QTest::newRow("comma: 10 seconds and warning") << "," << 10000 << warn;
    QTest::newRow("arabic separator warns") << QString(QChar(0x066B)) << 10000 << warn;
    QTest::newRow("empty separator warns") << "" << 10000 << warn;
}

void tst_Splash::timing()
{
    QFETCH(QString, decimalPoint);
    QFETCH(int, interval);
    QFETCH(QString, warning);
    const auto t = SplashController::timingFor(decimalPoint);
    QCOMPARE(t.timer1Interval, interval);
    QCOMPARE(t.warning, warning);
}

void tst_Splash::versionText_data()
{
    QTest::addColumn<QString>("appVersion");
    QTest::addColumn<QString>("shown");
    QTest::newRow("three parts") << "2.4.17"
                                 << "2.4.17";
    QTest::newRow("two parts: revision 0") << "1.3"
                                           << "1.3.0";
    QTest::newRow("four parts: build dropped") << "1.2.3.4"
                                               << "1.2.3";
    QTest::newRow("suffix ignored") << "0.1.0-rc1"
                                    << "0.1.0";
    QTest::newRow("no version set") << ""
                                    << "0.0.0";
}

void tst_Splash::versionText()
{
    QFETCH(QString, appVersion);
    QFETCH(QString, shown);
    QCOMPARE(SplashController::versionText(appVersion), shown);
}

void tst_Splash::blinkAlternatesRedAndYellow()
{
    QCOMPARE(SplashController::nextBlinkColor(255), 65535u);
    QCOMPARE(SplashController::nextBlinkColor(65535), 255u);
    QCOMPARE(SplashController::nextBlinkColor(0), 255u); // any other colour starts over at red
}

void tst_Splash::windowShowsVersionAndWarning_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QString>("message");
    QTest::newRow("Mexico: point") << QLocale(QLocale::Spanish, QLocale::Mexico) << 3000 << "";
    QTest::newRow("Spain: comma") << QLocale(QLocale::Spanish, QLocale::Spain) << 10000
                                  << "Verifique Configuración Regional";
}

void tst_Splash::windowShowsVersionAndWarning()
{
    QFETCH(QLocale, locale);
    QFETCH(int, interval);
    QFETCH(QString, message);
    QCoreApplication::setApplicationVersion(QStringLiteral("3.1.4"));
    frmSplash splash({}, nullptr, locale);
    QCOMPARE(splash.findChild<QLabel *>("lblVersion")->text(), QStringLiteral("3.1.4"));
    QCOMPARE(splash.findChild<QLabel *>("lblMsg")->text(), message);
    QCOMPARE(splash.timer1()->interval(), interval);
    QVERIFY(splash.timer1()->isActive());
    QVERIFY(splash.timer2()->isActive());
    QCOMPARE(splash.timer1()->objectName(), QStringLiteral("Timer1"));
    QCOMPARE(splash.timer2()->objectName(), QStringLiteral("Timer2"));
}

void tst_Splash::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("any key") << "key";
    QTest::newRow("click on the window") << "click";
    QTest::newRow("click on the logo") << "logo";
    QTest::newRow("Timer1 tick") << "timer";
}

void tst_Splash::closes()
{
    QFETCH(QString, how);
    int calls = 0;
    frmSplash splash([&] { ++calls; }, nullptr, QLocale(QLocale::Spanish, QLocale::Mexico));
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    if (how == "key") {
        QTest::keyClick(&splash, Qt::Key_Space);
    } else if (how == "click") {
        QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(5, 5));
    } else if (how == "logo") {
        QWidget *logo = splash.findChild<QWidget *>("imgLogo");
        QVERIFY(logo);
        QTest::mouseClick(logo, Qt::LeftButton);
    } else {
        splash.timer1()->setInterval(10); // the tick itself, without the three-second stay
        splash.timer1()->start();
    }
    QTRY_COMPARE(calls, 1);
    QVERIFY(!splash.isVisible());
    QVERIFY(!splash.timer1()->isActive());
    QCOMPARE(splash.timer1()->interval(), 0);
    QVERIFY(!splash.timer2()->isActive());
    // A second close (say, a late key) does not run the callback again.
    splash.show();
    splash.close();
    QTest::qWait(20);
    QCOMPARE(calls, 1);
}

void tst_Splash::warningBlinksOnScreen()
{
    frmSplash splash({}, nullptr, QLocale(QLocale::Spanish, QLocale::Spain));
    QLabel *msg = splash.findChild<QLabel *>("lblMsg");
    const QColor first = msg->palette().color(QPalette::WindowText);
    QCOMPARE(first, QColor(255, 0, 0));
    splash.timer2()->stop();
    QVERIFY(QMetaObject::invokeMethod(splash.timer2(), "timeout"));
    QCOMPARE(msg->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QVERIFY(QMetaObject::invokeMethod(splash.timer2(), "timeout"));
    QCOMPARE(msg->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

QTEST_MAIN(tst_Splash)
#include "tst_splash.moc"
