#pragma once

#include "DestinoImpresion.h"
#include "DocumentoImpreso.h"
#include "DocumentosTicket.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <utility>

class ConnectionProvider;
class ImpresoraSistema;
class VistaPrevia;
class cConfigure;
class cString;

// The receipt printer ("xTicketPrinter"): every narrow-paper document of the counter, 36
// columns of fixed-width fields, to the receipt printer (or the note printer) chosen in the
// configuration: raw ESC/POS bytes to a device, a file or a network printer, or a system printer
// by name; and to the preview when one is set.
//
// A document is gathered from its start operation to terminaImpresion and only then sent, with
// the drawer's control string before it and the paper cut after it when they go to the same
// place. Sending never throws and never asks: terminaImpresion answers false and fallo() holds
// the reason, so a sale already written stays written and its caller decides what to tell.
//
// Members are declared in the order scripts have always seen them.
class cTicketPrinter : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString PrinterDevice READ PrinterDevice)
    Q_PROPERTY(int TotEncabezado READ TotEncabezado)
    Q_PROPERTY(int TotPie READ TotPie)
    Q_PROPERTY(int TotVPendEncabezado READ TotVPendEncabezado)
    Q_PROPERTY(int TotVPendPie READ TotVPendPie)
    Q_PROPERTY(QString SepEncabezado READ SepEncabezado)
    Q_PROPERTY(QString NuevaLinea READ NuevaLinea)
    Q_PROPERTY(int PrinterFile READ PrinterFile)
public:
    // What went wrong with the last document (empty when it went out whole).
    struct Falla {
        QString mensaje; // for the cashier
        QString detalle; // for "Detalles" and the log
        bool hay() const { return !mensaje.isEmpty(); }
    };

    cTicketPrinter(ConnectionProvider &connections, cConfigure &config, cString &cadenas,
                   QObject *parent = nullptr);
    ~cTicketPrinter() override;

    // The system printers (the windows provide them); without one such documents fail.
    void setImpresoraSistema(ImpresoraSistema *impresora) { m_sistema = impresora; }
    ImpresoraSistema *impresoraSistema() const { return m_sistema; }
    // The preview every document is also drawn on; null for none.
    void setVistaPrevia(VistaPrevia *vista) { m_vista = vista; }
    // Documents go to the preview only: nothing is sent, no drawer opens, no paper is cut.
    void setSoloVistaPrevia(bool solo) { m_soloVista = solo; }
    // The preview SetPricture turns on for scripts.
    void setVistaPreviaPrograma(VistaPrevia *vista) { m_vistaPrograma = vista; }
    // Replaces the clock of the date lines (tests).
    void setReloj(std::function<QDateTime()> reloj) { m_reloj = std::move(reloj); }

    ConnectionProvider &conexiones() const { return m_connections; }
    const Falla &fallo() const { return m_falla; }
    // The last document as it was laid out (whatever its destination).
    const DocumentoImpreso &ultimoDocumento() const { return m_ultimo; }

    QString PrinterDevice() const;
    int TotEncabezado() const { return int(m_encabezado.size()); }
    Q_INVOKABLE QString RecEncabezado(int i) const { return linea(m_encabezado, i); }
    int TotPie() const { return int(m_pie.size()); }
    Q_INVOKABLE QString RecPie(int i) const { return linea(m_pie, i); }
    Q_INVOKABLE QString VPendEncabezado(int i) const { return linea(m_vpendEncabezado, i); }
    int TotVPendEncabezado() const { return int(m_vpendEncabezado.size()); }
    Q_INVOKABLE QString VPendPie(int i) const { return linea(m_vpendPie, i); }
    int TotVPendPie() const { return int(m_vpendPie.size()); }
    QString SepEncabezado() const { return QString(DocumentoImpreso::kAncho, u'='); }
    QString NuevaLinea() const { return QStringLiteral("\n"); }
    // 1 while a document for a direct output is open, 0 otherwise.
    int PrinterFile() const;
    // Anything but Nothing/False/empty turns the program's preview on; those turn it off.
    Q_INVOKABLE void SetPricture(const QVariant &picture);
    Q_INVOKABLE QObject *picture() const;

    // The header and footer lines of tParametro ('RECINICIO', 'RECFIN', 'VPENDINI', 'VPENDFIN').
    Q_INVOKABLE void cargaValoresReportes();
    Q_INVOKABLE void imprimeLinea(const QString &texto);
    // On a direct output the picture prints as the line "<IMAGEN>".
    Q_INVOKABLE void imprimeImagen(const QString &archivo);
    Q_INVOKABLE void iniciaImpresionTicket();
    Q_INVOKABLE void iniciaImpresionImpresoraRecibos();
    // The control text (one byte per character, 0..255) and a line end, to the port.
    Q_INVOKABLE void sendEscapeCode(const QString &puerto, const QString &codigo);
    Q_INVOKABLE void iniciaImpresionVentaPendiente();
    // Ends and sends the document; false when any part of it did not go out (see fallo()).
    Q_INVOKABLE bool terminaImpresion();
    bool imprimeTicketSimple(const TicketVenta &t);
    Q_INVOKABLE bool imprimeTicketSimple(QObject *venta);
    bool imprimeDevolucion(const DevolucionTicket &d);
    bool imprimeTiempoAire(const TiempoAireTicket &t);
    bool imprimeTiempoAireReversa(const TiempoAireTicket &t);
    bool imprimeTicket(const TicketVenta &t);
    // From a sale snapshot ("xVenta").
    Q_INVOKABLE bool imprimeTicket(QObject *venta);
    bool imprimePresupuesto(const TicketVenta &t);
    Q_INVOKABLE bool imprimePresupuesto(QObject *venta);
    bool imprimeFaltantes(const FaltantesTicket &f);
    // Inside a document: the barcode line. Alone: a label of its own.
    Q_INVOKABLE bool imprimeCodigoBarras(const QString &texto);
    // The claim receipt, or the full form with "IMPRIMIR-VENTA-PENDIENTE-TICKET".
    bool imprimeVentaPendiente(const TicketVenta &t);
    Q_INVOKABLE void iniciaImpresionMovCaja();
    Q_INVOKABLE void iniciaImpresionCorteDeCaja();
    bool imprimeMovimientoDeCaja(const MovimientoCajaTicket &m);
    bool imprimeCorteDeCaja(const CorteTicket &c);
    bool imprimePedido(const PedidoTicket &p);
    Q_INVOKABLE void iniciaImpresionImpresoraNota();
    Q_INVOKABLE void iniciaImpresionNota();
    bool imprimeNota(const TicketVenta &t);
    Q_INVOKABLE bool imprimeNota(QObject *venta);

    // A page that shows the printer's accents, the drawer and the cut: the drawer opens and the
    // paper is cut whenever they are configured, whatever the document.
    bool imprimePrueba(bool nota);

    // The fixed-width fields: left-aligned in n (cut to its first n), right-aligned in n (cut
    // to its last n).
    static QString izquierda(const QString &texto, int n);
    static QString derecha(const QString &texto, int n);
    static QString importe(const Decimal &d);  // "#,##0.00"
    static QString cuenta(const Decimal &d);   // "#,##0", its decimals when it has them
    static QString cantidad(const Decimal &d); // a line's quantity as typed

private:
    enum class Impresora { Recibos, Nota };
    struct Envio {
        DestinoImpresion destino;
        QByteArray bytes;
    };

    static QString linea(const QStringList &lineas, int i);
    QString clave(const char *recibos, const char *nota) const;
    QDateTime ahora() const;
    FuenteImpresion fuente() const;
    bool directo() const;
    bool enLinea() const;
    void abreTrabajo();
    void abreDocumento(Impresora impresora);
    void encola(const QString &puerto, const QByteArray &bytes);
    void anotaFalla(const QString &mensaje, const QString &detalle);
    void envia();

    // Blocks shared by the documents.
    void lineaFecha(const QDateTime &fecha);
    void lineaTerminal(const QString &terminal, const QString &usuario);
    void lineaFolio(qint64 folio);
    void codigoFolio(qint64 folio);
    // The sale lines with the " PUB" rule; the sum of their public amounts.
    Decimal lineasVenta(const QList<LineaVenta> &lineas);
    void enLetras(const Decimal &total);
    void firmas();
    void ticketCompleto(const TicketVenta &t);
    bool tiempoAire(const TiempoAireTicket &t, bool reversa);
    static TicketVenta deVenta(QObject *venta);

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    cString &m_cadenas;
    ImpresoraSistema *m_sistema = nullptr;
    VistaPrevia *m_vista = nullptr;
    VistaPrevia *m_vistaPrograma = nullptr;
    std::function<QDateTime()> m_reloj;

    QStringList m_encabezado, m_pie, m_vpendEncabezado, m_vpendPie;

    bool m_soloVista = false;
    bool m_trabajo = false;   // between a start operation and terminaImpresion
    bool m_documento = false; // a document is open
    Impresora m_impresora = Impresora::Recibos;
    DocumentoImpreso m_doc;
    DocumentoImpreso m_ultimo;
    QList<Envio> m_envios; // raw bytes in the order they go out
    Falla m_falla;
};
