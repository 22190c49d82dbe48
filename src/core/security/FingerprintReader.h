#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// A fingerprint reader as the program needs one: events while a finger is read, and the
// comparison of a captured sample with an enrolled template. Devices implement it; the
// simulated reader serves tests and workstations without a device.
class FingerprintReader : public QObject {
    Q_OBJECT
public:
    enum class Quality { Good, Poor };
    Q_ENUM(Quality)

    using QObject::QObject;

    virtual QString name() const = 0;
    virtual bool isConnected() const = 0;
    // True when the sample and the template come from the same finger.
    virtual bool verify(const QByteArray &sample, const QByteArray &templ) const = 0;

    // The reader's chosen by name: "simulado" (or empty) gives the simulated one.
    static FingerprintReader *create(const QString &name, QObject *parent = nullptr);

Q_SIGNALS:
    void readerConnected();
    void readerDisconnected();
    void fingerTouched();
    void fingerRemoved();
    void sampleQuality(FingerprintReader::Quality quality);
    void sampleComplete(const QByteArray &sample);
};
