// The sale capture's copy of the sale being rung up (see RespaldoVenta).
#include "VentaCaptura.h"

#include "cConfigure.h"

void VentaCaptura::setRespaldo(RespaldoVenta *respaldo)
{
    disconnect(this, &VentaCaptura::lineasCambiaron, this, &VentaCaptura::respalda);
    disconnect(this, &VentaCaptura::lineaCambio, this, nullptr);
    disconnect(this, &VentaCaptura::clienteCambio, this, &VentaCaptura::respalda);
    m_respaldo = respaldo;
    m_recuperable.reset();
    if (!m_respaldo)
        return;
    m_recuperable = m_respaldo->lee();
    connect(this, &VentaCaptura::lineasCambiaron, this, &VentaCaptura::respalda);
    connect(this, &VentaCaptura::lineaCambio, this, [this](int) { respalda(); });
    connect(this, &VentaCaptura::clienteCambio, this, &VentaCaptura::respalda);
}

int VentaCaptura::lineasRecuperables() const
{
    return m_recuperable ? int(m_recuperable->lineas.size()) : 0;
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
    m_respaldo->guarda({m_cliente.clave, m_vendedor, m_pendientes, m_lineas, QDateTime::currentDateTime()});
}
