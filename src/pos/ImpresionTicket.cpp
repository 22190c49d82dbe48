#include "ImpresionTicket.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "Prompter.h"
#include "cCode.h"
#include "cConfigure.h"
#include "cTicketPrinter.h"
#include "cVenta.h"

#include "Connection.h"
#include "DbError.h"

const QString ImpresionTicket::kReimprimeRecibo = QStringLiteral("Imprimir nuevamente el recibo");
const QString ImpresionTicket::kReimprimeNota = QStringLiteral("Imprimir nuevamente la nota");

ImpresionTicket::ImpresionTicket(cTicketPrinter &impresora, cConfigure &config, Prompter &prompter, cCode *code)
    : m_impresora(impresora), m_config(config), m_prompter(prompter), m_code(code)
{
}

ImpresionTicket::Documentos ImpresionTicket::eligeDocumentos(const DatosVenta &d, const cConfigure &config)
{
    Documentos out;
    out.ticket = d.ticket || (d.factura && config.getBool(QStringLiteral("IMPRIMIR-TICKET-EN-FACTURA"))) ||
                 (d.nota && config.getBool(QStringLiteral("IMPRIMIR-TICKET-EN-NOTA")));
    out.nota = d.nota || (d.factura && config.getBool(QStringLiteral("IMPRIMIR-NOTA-EN-FACTURA")));
    return out;
}

void ImpresionTicket::conecta(GuardaVenta &guarda)
{
    guarda.setImprime([this](const VentaGuardada &v, const DatosVenta &d, cVenta &venta,
                             const GuardaVenta::Impresion &i) { despuesDeVenta(v, d, venta, i); });
}

bool ImpresionTicket::porScript(const QString &evento, const QList<std::pair<QString, QVariant>> &objetos)
{
    if (!m_code || !m_code->Search(evento) || !m_code->Activo())
        return false;
    m_code->runEvent(evento, objetos);
    return true;
}

bool ImpresionTicket::imprime(const QString &documento, const QString &referencia,
                              const std::function<bool()> &imprime, const QString &preguntaReimpresion)
{
    for (;;) {
        if (!imprime()) {
            const cTicketPrinter::Falla &f = m_impresora.fallo();
            QString texto = f.mensaje + QStringLiteral(".");
            if (!referencia.isEmpty())
                texto += u' ' + referencia + u'.';
            texto += QStringLiteral("\n¿Desea intentar imprimir ") + documento + QStringLiteral(" de nuevo?");
            if (m_prompter.question(texto, false))
                continue;
            return false;
        }
        if (!preguntaReimpresion.isEmpty() && m_prompter.question(preguntaReimpresion, false))
            continue;
        return true;
    }
}

void ImpresionTicket::despuesDeVenta(const VentaGuardada &v, const DatosVenta &d, cVenta &venta,
                                     const GuardaVenta::Impresion &porScript)
{
    m_ticketImpreso = false;
    const Documentos docs = eligeDocumentos(d, m_config);
    TicketVenta t;
    t.lineas = d.lineas;
    t.importe = d.totales.importe;
    t.total = d.totales.total;
    t.redondeo = d.totales.redondeo;
    t.cambio = d.cambio;
    t.articulos = d.totales.articulos;
    t.pagos = d.pagos;
    t.folio = v.folio;
    t.fecha = v.fecha;
    t.terminal = v.terminal;
    t.usuario = m_config.getString(QStringLiteral("USUARIO"));
    t.cliente = d.cliente;
    const QString referencia = QStringLiteral("La venta quedó guardada con el folio ") + QString::number(v.folio);
    Q_UNUSED(venta);

    if (docs.ticket) {
        if (porScript.ticketPorScript) {
            m_ticketImpreso = true;
        } else if (!m_config.getBool(QStringLiteral("TICKET-MINIMO")) ||
                   t.total >= m_config.getDecimal(QStringLiteral("TICKET-MINIMO-IMPORTE"))) {
            m_impresora.cargaValoresReportes();
            const bool simple = m_config.getBool(QStringLiteral("TICKET-SIMPLE")) &&
                                t.total < m_config.getDecimal(QStringLiteral("TICKET-SIMPLE-IMPORTE-MINIMO"));
            m_ticketImpreso = imprime(
                QStringLiteral("el ticket"), referencia,
                [&] { return simple ? m_impresora.imprimeTicketSimple(t) : m_impresora.imprimeTicket(t); },
                m_config.getBool(QStringLiteral("PREGUNTA-REIMPRESION")) ? kReimprimeRecibo : QString());
        }
    }
    if (docs.nota && !porScript.notaPorScript) {
        m_impresora.cargaValoresReportes();
        imprime(QStringLiteral("la nota"), referencia, [&] { return m_impresora.imprimeNota(t); },
                m_config.getBool(QStringLiteral("IMPRESORA-NOTA-PREGUNTA-REIMPRESION")) ? kReimprimeNota : QString());
    }
}

bool ImpresionTicket::reimprimeVenta(qint64 folio)
{
    if (folio <= 0) {
        QString texto;
        if (!m_prompter.input(QStringLiteral("Folio de la venta a reimprimir"), QStringLiteral("Reimprimir ticket"),
                              texto))
            return false;
        bool ok = false;
        folio = texto.trimmed().toLongLong(&ok);
        if (!ok || folio <= 0) {
            m_prompter.information(QStringLiteral("Debe indicar un folio de venta"));
            return false;
        }
    }
    std::optional<TicketVenta> t;
    try {
        t = TicketVenta::lee(m_impresora.conexiones().getConnection(), m_config.getString(QStringLiteral("ALMACEN")),
                             folio);
    } catch (const db::DbError &e) {
        reportError(m_prompter, QStringLiteral("No fue posible leer la venta"), QStringLiteral("reimprimeVenta"),
                    ErrorInfo::fromException(e));
        return false;
    }
    if (!t) {
        m_prompter.exclamation(QStringLiteral("No existe una venta con el folio ") + QString::number(folio));
        return false;
    }
    m_impresora.cargaValoresReportes();
    return imprime(QStringLiteral("el ticket"), QString(), [&] { return m_impresora.imprimeTicket(*t); },
                   m_config.getBool(QStringLiteral("PREGUNTA-REIMPRESION")) ? kReimprimeRecibo : QString());
}

bool ImpresionTicket::imprimeCorte(const CorteTicket &corte, QObject *xCorte)
{
    if (xCorte && porScript(QStringLiteral("OnCutOfBox"), {{QStringLiteral("xCorte"), QVariant::fromValue(xCorte)}}))
        return true;
    const QString referencia = QStringLiteral("El corte ") + corte.terminal + u'-' + QString::number(corte.anio) +
                               u'-' + QString::number(corte.numero) + QStringLiteral(" quedó guardado");
    return imprime(QStringLiteral("el corte de caja"), referencia, [&] { return m_impresora.imprimeCorteDeCaja(corte); },
                   QStringLiteral("Desea volver a imprimir el corte de caja"));
}

bool ImpresionTicket::imprimeMovimiento(const MovimientoCajaTicket &movimiento, QObject *xMovimiento)
{
    if (xMovimiento &&
        porScript(QStringLiteral("OnMovOfBox"), {{QStringLiteral("xMovimiento"), QVariant::fromValue(xMovimiento)}}))
        return true;
    const QString referencia = QStringLiteral("El movimiento ") + QString::number(movimiento.movimiento) +
                               QStringLiteral(" quedó guardado");
    return imprime(QStringLiteral("el movimiento de caja"), referencia,
                   [&] { return m_impresora.imprimeMovimientoDeCaja(movimiento); },
                   m_config.getBool(QStringLiteral("PREGUNTA-REIMPRESION"))
                       ? QStringLiteral("Desea volver a imprimir el movimiento de caja")
                       : QString());
}
