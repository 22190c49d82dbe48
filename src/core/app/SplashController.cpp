#include "SplashController.h"

#include <QVersionNumber>

const QString SplashController::kRegionalWarning = QStringLiteral("Verifique Configuración Regional");

SplashController::Timing SplashController::timingFor(const QString &decimalPoint)
{
    Timing t;
    if (decimalPoint != QLatin1String(".")) {
        t.timer1Interval = kWarningStay;
        t.warning = kRegionalWarning;
    }
    return t;
}

QString SplashController::versionText(const QString &applicationVersion)
{
    const QVersionNumber v = QVersionNumber::fromString(applicationVersion.trimmed());
    return QStringLiteral("%1.%2.%3").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion());
}
