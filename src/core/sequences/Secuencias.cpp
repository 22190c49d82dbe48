#include "Secuencias.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "Prompter.h"

#include "Connection.h"

#include <QStringList>

#include <cmath>

Secuencias::Secuencias(ConnectionProvider &connections, Prompter &prompter)
    : m_connections(connections), m_prompter(prompter)
{
}

qint64 Secuencias::getNextSequence(const QString &clave, qint64 valorIni, qint64 valorFin, qint64 incremento,
                                   qint64 valorInicial)
{
    return getNextSequence(m_connections.getConnection(), clave, valorIni, valorFin, incremento,
                           valorInicial);
}

qint64 Secuencias::getNextSequence(db::Connection &connection, const QString &clave, qint64 valorIni,
                                   qint64 valorFin, qint64 incremento, qint64 valorInicial)
{
    const QVariantMap out = connection.callRoutine(QStringLiteral("sp_generasecuencia"),
                                                   {{QStringLiteral("@sec_Clave"), clave},
                                                    {QStringLiteral("@valor_ini"), valorIni},
                                                    {QStringLiteral("@valor_fin"), valorFin},
                                                    {QStringLiteral("@inc_inicial"), incremento},
                                                    {QStringLiteral("@valor_Inicial"), valorInicial}});
    return out.value(QStringLiteral("valor")).toLongLong();
}

bool Secuencias::setSequenceValue(const QString &clave, qint64 valor)
{
    try {
        const int changed = m_connections.getConnection().execute(
            QStringLiteral("UPDATE TSECUENCIA SET SEC_VALOR = ? WHERE SEC_CLAVE = ?"), {valor, clave});
        if (changed == 0) {
            m_prompter.critical(QStringLiteral("No existe la secuencia «%1»").arg(clave));
            return false;
        }
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QStringLiteral("setSequenceValue"), QStringLiteral("cAplication"),
                    ErrorInfo::fromException(e));
        return false;
    }
}

QString Secuencias::clave(Documento documento, const QString &almacen, const QDate &fecha,
                          const QString &parte)
{
    const QString anio = fecha.toString(QStringLiteral("yyyy"));
    const auto join = [](QStringList parts) { return parts.join(QLatin1Char('_')); };
    switch (documento) {
    case Documento::Venta:
        return join({QStringLiteral("VENTA"), almacen});
    case Documento::VentaPendiente:
        return QStringLiteral("VENTAPENDIENTE");
    case Documento::PagoVenta:
        return join({QStringLiteral("VPAGO"), almacen, anio});
    case Documento::Cobranza:
        return join({QStringLiteral("COBRANZA"), almacen, anio});
    case Documento::Cobro:
        return join({QStringLiteral("COBRO"), almacen, anio});
    case Documento::Pago:
        return join({QStringLiteral("PAGO"), almacen, anio});
    case Documento::Envio:
        return join({QStringLiteral("ENVIO"), almacen, anio});
    case Documento::Devolucion:
        return join({QStringLiteral("DEVOLUCION"), almacen});
    case Documento::MovCaja: {
        // CORTE-CAJA is terminal-year-cut; a terminal key may hold '-' itself, so the year and
        // the cut number are taken from the right.
        QStringList corte = parte.split(QLatin1Char('-'));
        QStringList tail;
        while (corte.size() > 1 && tail.size() < 2)
            tail.prepend(corte.takeLast());
        return join(QStringList{QStringLiteral("MOV_CAJA"), almacen, corte.join(QLatin1Char('-'))} + tail);
    }
    case Documento::MovAlmacen:
        return join({QStringLiteral("MOV_ALMACEN"), almacen});
    case Documento::MovAlmacenAnual:
        return join({QStringLiteral("MOV_ALMACEN"), almacen, anio});
    case Documento::Pedido:
        return join({QStringLiteral("PED"), almacen, anio});
    case Documento::FaltaProveedor:
        return join({QStringLiteral("FALTAPROVEEDOR"), parte});
    case Documento::DevProveedor:
        return join({QStringLiteral("DEVPROVEEDOR"), parte});
    case Documento::Comision:
        return join({QStringLiteral("COMISION"), almacen, parte});
    case Documento::CuentaBancaria:
        return join({QStringLiteral("CUENTABANCARIA"), parte});
    case Documento::FacturaAutomatica:
        return QStringLiteral("FOLIO-FACTURA-AUTOMATICO");
    case Documento::TiempoAire:
        return QStringLiteral("TIEMPO-AIRE-FOLIO-") + anio;
    case Documento::Receta:
        return QStringLiteral("RECETA-FOLIO") + anio;
    case Documento::Agenda:
        return QStringLiteral("AGENDA") + anio;
    }
    return {};
}

qint64 Secuencias::folioConAnio(int anio, qint64 valor)
{
    // A folio that does not fit in 64 bits reads as 0 rather than wrapping into another folio.
    return QString(QString::number(anio) + QString::number(valor)).toLongLong();
}
