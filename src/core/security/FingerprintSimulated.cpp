#include "FingerprintSimulated.h"

bool FingerprintSimulated::verify(const QByteArray &sample, const QByteArray &templ) const
{
    return !sample.isEmpty() && sample == templ;
}

void FingerprintSimulated::plugIn()
{
    m_connected = true;
    Q_EMIT readerConnected();
}

void FingerprintSimulated::unplug()
{
    m_connected = false;
    Q_EMIT readerDisconnected();
}

void FingerprintSimulated::touch(const QByteArray &finger, Quality quality)
{
    if (!m_connected)
        return;
    // The order a capture device reports in: the sample is complete after the finger is gone.
    Q_EMIT fingerTouched();
    Q_EMIT fingerRemoved();
    Q_EMIT sampleQuality(quality);
    if (quality == Quality::Good)
        Q_EMIT sampleComplete(finger);
}

FingerprintReader *FingerprintReader::create(const QString &name, QObject *parent)
{
    if (name.isEmpty() || name.compare(QLatin1String("simulado"), Qt::CaseInsensitive) == 0) {
        auto *reader = new FingerprintSimulated(parent);
        reader->plugIn();
        return reader;
    }
    return nullptr;
}
