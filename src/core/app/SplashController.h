#pragma once

#include <QString>

// The rules of the splash window: how long it stays and whether it warns about the
// workstation's regional settings (amounts are typed and stored with "." as decimal point).
class SplashController {
public:
    static constexpr int kNormalStay = 3000;   // ms
    static constexpr int kWarningStay = 10000; // ms: long enough to read the warning
    static constexpr int kBlinkInterval = 400; // ms
    // Colours as the original stored them (0x00BBGGRR): red and yellow.
    static constexpr unsigned kRed = 255;
    static constexpr unsigned kYellow = 65535;

    static const QString kRegionalWarning;

    struct Timing {
        int timer1Interval = kNormalStay;
        QString warning; // empty when the settings are right
    };

    static Timing timingFor(const QString &decimalPoint);
    // major.minor.revision; missing parts read as 0, anything after the third is dropped.
    static QString versionText(const QString &applicationVersion);
    static unsigned nextBlinkColor(unsigned current) { return current == kRed ? kYellow : kRed; }
};
