#pragma once

#include "DocumentosTicket.h"

class cMovCaja;
struct ResumenCorte;

// The cut report and the cash-movement receipt from what the closing and the movement writer
// hand over after their commit.
CorteTicket corteTicketDe(const ResumenCorte &resumen);
MovimientoCajaTicket movimientoTicketDe(const cMovCaja &movimiento);
