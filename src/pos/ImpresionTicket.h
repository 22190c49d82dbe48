#pragma once

#include "DocumentosTicket.h"
#include "GuardaVenta.h"

#include <QString>

#include <functional>
#include <utility>

class Prompter;
class cCode;
class cConfigure;
class cTicketPrinter;
class cVenta;

// What the counter prints and how it insists: the document choice after a sale, the event
// scripts that take a document's place, the reprint questions, and a printer that fails. The
// document was written before any of this runs, so a printer that is off, unplugged or out of
// paper costs a question ("try again?") and nothing else: the cashier answers No and goes on,
// and the reprint command prints it later.
class ImpresionTicket {
public:
    struct Documentos {
        bool ticket = false;
        bool nota = false;
    };
    static const QString kReimprimeRecibo;
    static const QString kReimprimeNota;

    ImpresionTicket(cTicketPrinter &impresora, cConfigure &config, Prompter &prompter, cCode *code = nullptr);

    // The ticket when the payment window asked for it, or with an invoice or a note when
    // "IMPRIMIR-TICKET-EN-FACTURA"/"IMPRIMIR-TICKET-EN-NOTA" say so; the note when asked for, or
    // with an invoice under "IMPRIMIR-NOTA-EN-FACTURA".
    static Documentos eligeDocumentos(const DatosVenta &d, const cConfigure &config);

    // The sale writer's printing step (GuardaVenta::setImprime): the built-in ticket (short form
    // below "TICKET-SIMPLE-IMPORTE-MINIMO", none below "TICKET-MINIMO-IMPORTE") and note where no
    // script took their place.
    void despuesDeVenta(const VentaGuardada &v, const DatosVenta &d, cVenta &venta,
                        const GuardaVenta::Impresion &porScript);
    // Hooks this into the writer.
    void conecta(GuardaVenta &guarda);
    // Whether the last sale's ticket reached the paper (or a script printed it).
    bool ticketImpreso() const { return m_ticketImpreso; }

    // Prints through imprime until it succeeds and no reprint is asked for. A failure asks
    // "<message>. <referencia>. ¿Desea intentar imprimir <documento> de nuevo?" (default No); with
    // a reprint question, Yes prints again. False when the cashier gave up on a failure.
    bool imprime(const QString &documento, const QString &referencia, const std::function<bool()> &imprime,
                 const QString &preguntaReimpresion = QString());
    // Runs the event when a script is found and active for it; whether it took the document.
    bool porScript(const QString &evento, const QList<std::pair<QString, QVariant>> &objetos);

    // The cash-cut report, or "OnCutOfBox" with the cut as "xCorte" when a script handles it;
    // "Desea volver a imprimir el corte de caja" after each print. False when it did not print.
    bool imprimeCorte(const CorteTicket &corte, QObject *xCorte = nullptr);
    // The cash-movement receipt, or "OnMovOfBox" with "xMovimiento"; with "PREGUNTA-REIMPRESION"
    // "Desea volver a imprimir el movimiento de caja".
    bool imprimeMovimiento(const MovimientoCajaTicket &movimiento, QObject *xMovimiento = nullptr);

    // The reprint command: the folio asked for when none is given, the sale read back and its
    // ticket printed. False when there is no such sale or the cashier cancelled.
    bool reimprimeVenta(qint64 folio = 0);

private:
    cTicketPrinter &m_impresora;
    cConfigure &m_config;
    Prompter &m_prompter;
    cCode *m_code;
    bool m_ticketImpreso = false;
};
