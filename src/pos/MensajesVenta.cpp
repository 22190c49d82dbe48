#include "MensajesVenta.h"

#include "ConnectionProvider.h"
#include "Log.h"

#include "Connection.h"

bool MensajesVenta::carga()
{
    m_mensajes.clear();
    m_siguiente = 0;
    try {
        for (db::Recordset rs = m_connections.getConnection().openRecordset(QStringLiteral(
                 "select param_Valor from tParametro where param_Tipo = 'MSGVENTA' order by param_Clave"));
             !rs.eof(); rs.moveNext())
            m_mensajes << rs.text(QStringLiteral("param_Valor"));
        return true;
    } catch (const std::exception &e) {
        writeLog(QStringLiteral("MensajesVenta: ") + QString::fromUtf8(e.what()));
        return false;
    }
}

QString MensajesVenta::next()
{
    if (m_mensajes.isEmpty())
        return QString();
    if (m_siguiente >= m_mensajes.size())
        m_siguiente = 0;
    return m_mensajes.at(m_siguiente++);
}
