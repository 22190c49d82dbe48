#include "DestinoImpresion.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTcpSocket>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/socket.h>

std::optional<DestinoImpresion> DestinoImpresion::deTexto(const QString &texto, QString *error)
{
    const auto falla = [error](const QString &t) -> std::optional<DestinoImpresion> {
        if (error)
            *error = t;
        return std::nullopt;
    };
    QString t = texto.trimmed();
    if (t.isEmpty())
        return falla(QStringLiteral("No se indicó el puerto de la impresora"));
    DestinoImpresion d;
    static const QRegularExpression red(QStringLiteral("^(?:tcp:)?([A-Za-z0-9._-]+|\\[[0-9A-Fa-f:.]+\\]):([0-9]+)$"));
    static const QRegularExpression puerto(QStringLiteral("^(LPT|COM)([1-9])$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (t.startsWith(QLatin1String("file:"))) {
        d.m_ruta = t.mid(5);
        return d;
    }
    if (t.startsWith(QLatin1String("tcp:")) && !t.mid(4).contains(u':'))
        t += QStringLiteral(":9100");
    if (const auto m = red.match(t); m.hasMatch() && (texto.trimmed().startsWith(QLatin1String("tcp:")) ||
                                                       m.captured(1).size() > 1)) {
        bool ok = false;
        const uint p = m.captured(2).toUInt(&ok);
        if (!ok || p == 0 || p > 65535)
            return falla(QStringLiteral("El puerto de red de la impresora no es válido: ") + m.captured(2));
        d.m_tipo = Tipo::Red;
        d.m_host = m.captured(1);
        if (d.m_host.startsWith(u'['))
            d.m_host = d.m_host.mid(1, d.m_host.size() - 2);
        d.m_puerto = quint16(p);
        return d;
    }
    if (const auto m = puerto.match(t); m.hasMatch()) {
        const int n = m.captured(2).toInt() - 1;
        d.m_ruta = m.captured(1).toUpper() == QLatin1String("LPT") ? QStringLiteral("/dev/lp%1").arg(n)
                                                                   : QStringLiteral("/dev/ttyS%1").arg(n);
        return d;
    }
    if (t.compare(QLatin1String("PRN"), Qt::CaseInsensitive) == 0) {
        d.m_ruta = QStringLiteral("/dev/lp0");
        return d;
    }
    d.m_ruta = t;
    return d;
}

QString DestinoImpresion::descripcion() const
{
    if (m_tipo == Tipo::Archivo)
        return m_ruta;
    return (m_host.contains(u':') ? u'[' + m_host + u']' : m_host) + u':' + QString::number(m_puerto);
}

bool DestinoImpresion::entrega(const QByteArray &bytes, int esperaMs, QString *mensaje, QString *detalle) const
{
    QString tecnico;
    const bool ok = m_tipo == Tipo::Red ? entregaRed(bytes, esperaMs, &tecnico)
                    : esDispositivo(m_ruta) ? entregaDispositivo(bytes, esperaMs, &tecnico)
                                            : entregaArchivo(bytes, &tecnico);
    if (!ok) {
        if (mensaje)
            *mensaje = m_tipo == Tipo::Red
                           ? QStringLiteral("La impresora %1 no recibió el documento; revise que esté "
                                            "encendida, conectada a la red y con papel")
                                 .arg(descripcion())
                           : QStringLiteral("No fue posible escribir en %1; revise que la impresora esté "
                                            "encendida, conectada y con papel")
                                 .arg(descripcion());
        if (detalle)
            *detalle = descripcion() + QStringLiteral(": ") + tecnico;
    }
    return ok;
}

bool DestinoImpresion::esDispositivo(const QString &ruta)
{
    struct stat st {};
    return ::stat(QFile::encodeName(ruta).constData(), &st) == 0 && (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode));
}

// A printer port (or a pipe to one) is written without blocking, within the wait: a printer that
// is off or out of paper stops taking bytes, and the counter must not hang on it.
bool DestinoImpresion::entregaDispositivo(const QByteArray &bytes, int esperaMs, QString *detalle) const
{
    const int fd = ::open(QFile::encodeName(m_ruta).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *detalle = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const QDeadlineTimer plazo(esperaMs);
    qsizetype enviados = 0;
    bool ok = true;
    while (enviados < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + enviados, size_t(bytes.size() - enviados));
        if (n > 0) {
            enviados += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            *detalle = QString::fromLocal8Bit(std::strerror(errno));
            ok = false;
            break;
        }
        pollfd p{fd, POLLOUT, 0};
        const qint64 resta = plazo.remainingTime();
        if (resta <= 0 || ::poll(&p, 1, int(resta)) <= 0) {
            *detalle = QStringLiteral("el dispositivo no tomó %1 de %2 bytes en %3 ms")
                           .arg(bytes.size() - enviados)
                           .arg(bytes.size())
                           .arg(esperaMs);
            ok = false;
            break;
        }
        if (p.revents & (POLLERR | POLLHUP)) {
            *detalle = QStringLiteral("el dispositivo se desconectó");
            ok = false;
            break;
        }
    }
    ::close(fd);
    return ok;
}

bool DestinoImpresion::entregaArchivo(const QByteArray &bytes, QString *detalle) const
{
    QFile f(m_ruta);
    // A device is written as it is; a file holds the last document sent to it.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *detalle = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        *detalle = f.errorString();
        return false;
    }
    f.close();
    if (f.error() != QFileDevice::NoError) {
        *detalle = f.errorString();
        return false;
    }
    return true;
}

bool DestinoImpresion::entregaRed(const QByteArray &bytes, int esperaMs, QString *detalle) const
{
    QTcpSocket s;
    // Connecting, sending and the close together take at most three waits.
    const QDeadlineTimer limite(qint64(qMax(esperaMs, 1)) * 3);
    s.connectToHost(m_host, m_puerto);
    if (!s.waitForConnected(esperaMs)) {
        *detalle = QStringLiteral("no se conectó: ") + s.errorString();
        return false;
    }
    if (s.write(bytes) != bytes.size()) {
        *detalle = s.errorString();
        return false;
    }
    while (s.bytesToWrite() > 0) {
        if (!s.waitForBytesWritten(qMin<qint64>(esperaMs, qMax<qint64>(limite.remainingTime(), 1)))) {
            *detalle = QStringLiteral("dejó de recibir: ") + s.errorString();
            return false;
        }
    }
    // The end of the document is our half-close; the raw port's printer closes its side once it
    // has read everything. Until then the bytes may sit unread in its buffers. Qt reports a reset
    // and an orderly close alike, so the last step reads the descriptor itself.
    const int fd = int(s.socketDescriptor());
    if (::shutdown(fd, SHUT_WR) != 0) {
        *detalle = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    char basura[256];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int listo = ::poll(&p, 1, int(qMin<qint64>(esperaMs, qMax<qint64>(limite.remainingTime(), 0))));
        if (listo < 0 && errno == EINTR)
            continue;
        if (listo <= 0) {
            *detalle = QStringLiteral("no confirmó haber recibido todo el documento");
            return false;
        }
        const ssize_t n = ::recv(fd, basura, sizeof basura, MSG_DONTWAIT);
        if (n == 0)
            break; // the printer read everything and closed
        if (n > 0)
            continue; // status bytes some printers send back
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
            continue;
        *detalle = QStringLiteral("cortó la conexión: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}
