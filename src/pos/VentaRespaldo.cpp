// The sale capture's copy of the sale being rung up (see RespaldoVenta).
#include "VentaCaptura.h"

#include "PagoCaptura.h"
#include "cConfigure.h"

void VentaCaptura::setRespaldo(RespaldoVenta *respaldo)
{
    disconnect(this, &VentaCaptura::totalesCambiaron, this, &VentaCaptura::respalda);
    disconnect(this, &VentaCaptura::clienteCambio, this, &VentaCaptura::respalda);
    m_respaldo = respaldo;
    m_recuperable.reset();
    if (!m_respaldo)
        return;
    m_recuperable = m_respaldo->lee();
    // Every change of the lines ends in new totals: one write per change, with the total shown.
    connect(this, &VentaCaptura::totalesCambiaron, this, &VentaCaptura::respalda);
    connect(this, &VentaCaptura::clienteCambio, this, &VentaCaptura::respalda);
}

int VentaCaptura::lineasRecuperables() const
{
    return m_recuperable ? int(m_recuperable->lineas.size()) : 0;
}

QString VentaCaptura::preguntaRecuperacion() const
{
    if (!m_recuperable)
        return QString();
    Decimal piezas;
    for (const LineaVenta &l : m_recuperable->lineas)
        piezas += l.cantidad;
    return QStringLiteral("La venta anterior no se termino (%1 %2, %3), desea recuperarla")
        .arg(piezas.toString(), piezas == Decimal(1) ? QStringLiteral("articulo") : QStringLiteral("articulos"),
             PagoCaptura::formatoMoneda(m_recuperable->total));
}

bool VentaCaptura::recuperaRespaldo()
{
    if (!m_recuperable)
        return false;
    const RespaldoVenta::Contenido c = *m_recuperable;
    m_recuperable.reset();
    // A client removed since keeps the default one: the lines matter more.
    if (!c.cliente.isEmpty())
        cargaCliente(c.cliente);
    if (!c.vendedor.isEmpty())
        m_vendedor = c.vendedor;
    m_pendientes = c.pendientes;
    // The prices stay as they were rung up: only the totals are recomputed.
    reemplazaLineas(c.lineas);
    return true;
}

void VentaCaptura::descartaRespaldo()
{
    m_recuperable.reset();
    respalda();
}

void VentaCaptura::respalda()
{
    // Until the cashier decides, the earlier copy is the only one of that sale.
    if (!m_respaldo || m_recuperable)
        return;
    if (m_lineas.isEmpty()) {
        m_respaldo->borra();
        return;
    }
    m_respaldo->guarda(
        {m_cliente.clave, m_vendedor, m_pendientes, m_lineas, m_totales.total, QDateTime::currentDateTime()});
}
