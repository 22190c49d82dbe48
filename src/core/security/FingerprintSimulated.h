#pragma once

#include "FingerprintReader.h"

// A reader without a device: a "finger" is a byte string, and a sample matches a template
// when the two are equal. Tests and the program's simulated mode drive it by hand.
class FingerprintSimulated : public FingerprintReader {
    Q_OBJECT
public:
    using FingerprintReader::FingerprintReader;

    QString name() const override { return QStringLiteral("simulado"); }
    bool isConnected() const override { return m_connected; }
    bool verify(const QByteArray &sample, const QByteArray &templ) const override;

    void plugIn();
    void unplug();
    // A whole reading: finger on, finger off, quality, and the sample when the quality is good.
    void touch(const QByteArray &finger, Quality quality = Quality::Good);

private:
    bool m_connected = false;
};
