#pragma once

#include <QString>
#include <QStringList>

class ConnectionProvider;

// The messages the sale window rotates in its title area: tParametro rows of type 'MSGVENTA',
// ordered by PARAM_CLAVE. The window calls next() every "TIMER_VENTAS_MSG" milliseconds.
class MensajesVenta {
public:
    explicit MensajesVenta(ConnectionProvider &connections) : m_connections(connections) {}

    // Reads the messages again; false on a database error (nothing rotates then).
    bool carga();
    bool isEmpty() const { return m_mensajes.isEmpty(); }
    const QStringList &mensajes() const { return m_mensajes; }
    // The next message, from the first again after the last; empty when there are none.
    QString next();

private:
    ConnectionProvider &m_connections;
    QStringList m_mensajes;
    qsizetype m_siguiente = 0;
};
