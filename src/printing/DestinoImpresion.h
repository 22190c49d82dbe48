#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Where a direct output goes, read from a port setting: a device or file path ("/dev/usb/lp0",
// "ticket.txt"), the old port names "LPT1".."LPT9" and "COM1".."COM9" (their Linux devices), or
// a network printer "tcp:host:port", "host:port" or "tcp:host" (port 9100, the raw port of
// Ethernet receipt printers).
class DestinoImpresion {
public:
    enum class Tipo { Archivo, Red };

    static constexpr quint16 kPuertoRed = 9100;
    // How long a network printer may take to answer, by default.
    static constexpr int kEsperaMs = 3000;

    // Nothing (with the reason in *error) for an empty setting or a bad port number.
    static std::optional<DestinoImpresion> deTexto(const QString &texto, QString *error = nullptr);

    Tipo tipo() const { return m_tipo; }
    QString ruta() const { return m_ruta; }
    QString host() const { return m_host; }
    quint16 puerto() const { return m_puerto; }
    // The destination as the user reads it: the path, or "host:port".
    QString descripcion() const;

    // Sends the bytes, replacing what a file held. A network printer must accept the connection,
    // take every byte and close its side once the end is signalled, each within esperaMs: a
    // printer that stops reading (no paper, cover open) or drops the connection fails the
    // delivery. False with the user's text in *mensaje and the technical one in *detalle.
    bool entrega(const QByteArray &bytes, int esperaMs, QString *mensaje, QString *detalle) const;

    friend bool operator==(const DestinoImpresion &, const DestinoImpresion &) = default;

    // A character device (a printer port) or a pipe, written within the wait; not a plain file.
    static bool esDispositivo(const QString &ruta);

private:
    bool entregaArchivo(const QByteArray &bytes, QString *detalle) const;
    bool entregaDispositivo(const QByteArray &bytes, int esperaMs, QString *detalle) const;
    bool entregaRed(const QByteArray &bytes, int esperaMs, QString *detalle) const;

    Tipo m_tipo = Tipo::Archivo;
    QString m_ruta;
    QString m_host;
    quint16 m_puerto = kPuertoRed;
};
