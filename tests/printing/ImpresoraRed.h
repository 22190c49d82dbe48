#pragma once

// A network receipt printer on 127.0.0.1 for tests: it accepts one connection on a port of its
// own and reads the document, or fails the way real ones do (drops the connection part way,
// stops reading as when the paper runs out). It runs in a thread of its own, since the sender
// waits on its socket.
#include <QByteArray>
#include <QHostAddress>
#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <future>

class ImpresoraRed : public QThread {
public:
    enum class Modo { Completa, CortaALaMitad, DejaDeLeer };

    explicit ImpresoraRed(Modo modo = Modo::Completa, int conexiones = 1) : m_modo(modo), m_conexiones(conexiones)
    {
        start();
        m_puerto = m_listo.get_future().get();
    }
    ~ImpresoraRed() override
    {
        requestInterruption();
        wait();
    }

    quint16 puerto() const { return m_puerto; }
    QString destino() const { return QStringLiteral("tcp:127.0.0.1:") + QString::number(m_puerto); }
    // Everything read, once the thread is done (or so far).
    QByteArray recibido()
    {
        QMutexLocker l(&m_mutex);
        return m_recibido;
    }
    // Waits until every expected connection was served.
    bool termina(int ms = 10000) { return wait(QDeadlineTimer(ms)); }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_listo.set_value(server.serverPort());
        for (int n = 0; n < m_conexiones && !isInterruptionRequested(); ++n) {
            if (!server.waitForNewConnection(10000))
                return;
            QTcpSocket *s = server.nextPendingConnection();
            if (m_modo != Modo::Completa)
                s->setReadBufferSize(16); // the rest stays unread in the kernel
            while (s->state() == QAbstractSocket::ConnectedState && !isInterruptionRequested()) {
                if (s->waitForReadyRead(200) || s->bytesAvailable() > 0) {
                    const QByteArray b = m_modo == Modo::Completa ? s->readAll() : s->read(16);
                    QMutexLocker l(&m_mutex);
                    m_recibido += b;
                    if (m_modo == Modo::CortaALaMitad && m_recibido.size() >= 16) {
                        s->abort();
                        break;
                    }
                    if (m_modo == Modo::DejaDeLeer && m_recibido.size() >= 16) {
                        QThread::msleep(1500); // out of paper: nothing more is read
                        s->abort();
                        break;
                    }
                }
            }
            if (m_modo == Modo::Completa) {
                QMutexLocker l(&m_mutex);
                m_recibido += s->readAll();
            }
            delete s;
        }
    }

private:
    Modo m_modo;
    int m_conexiones;
    quint16 m_puerto = 0;
    std::promise<quint16> m_listo;
    QMutex m_mutex;
    QByteArray m_recibido;
};
