#include "ImpresionCaja.h"

#include "ResumenCorte.h"
#include "cMovCaja.h"

CorteTicket corteTicketDe(const ResumenCorte &r)
{
    CorteTicket t;
    t.terminal = r.clave.terminal;
    t.anio = r.clave.anio;
    t.numero = r.clave.numero;
    t.fecha = r.fechaFin.isValid() ? r.fechaFin : r.fecha;
    t.usuario = r.usuarioFin.isEmpty() ? r.usuario : r.usuarioFin;
    t.articulos = r.articulos;
    t.ventas = r.ventas;
    t.devoluciones = r.devoluciones;
    for (const MovimientoResumen &m : r.movimientos)
        t.movimientos << CorteTicket::Movimiento{m.nombre, m.importe, m.ingreso};
    for (const ArqueoFila &a : r.arqueo)
        if (a.cantidad > 0)
            t.arqueo << CorteTicket::Arqueo{Decimal(a.cantidad), a.valor};
    // Without a count by denomination the report shows the cash received as typed.
    if (t.arqueo.isEmpty())
        t.efectivo = r.efectivoArqueo();
    return t;
}

MovimientoCajaTicket movimientoTicketDe(const cMovCaja &m)
{
    const cMovCaja::Datos &d = m.datos();
    MovimientoCajaTicket t;
    t.corte = m.codigoCorte();
    t.movimiento = int(d.movimiento);
    t.concepto = d.conceptoNombre;
    t.importe = d.importe;
    t.fecha = d.fecha;
    t.terminal = d.terminal;
    t.usuario = d.usuario;
    return t;
}
