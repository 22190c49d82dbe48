#pragma once

#include "Venta.h"

#include "ModeloLista.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ConnectionProvider;
class Permisos;
class Prompter;
class cConfigure;

// The payments grid: one row per accepted payment, the eleven fields of a payment line.
class PagosModel : public ModeloLista<PagoVenta> {
    Q_OBJECT
public:
    explicit PagosModel(QObject *parent = nullptr) : ModeloLista(kEncabezados, parent) {}

    static const QStringList kEncabezados;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QList<PagoVenta> &pagos() const { return filas(); }
};

// The rules of the payment window without widgets: what may be paid how, the totals, the card
// commission, the documents and the delivery type. Nothing is written; the sale writer stores the
// payment lines read back from here.
class PagoCaptura {
public:
    // Applies the card commission to the sale and returns the sale's new totals.
    using AplicaPorcentaje = std::function<TotalesVenta(const QString &concepto, const Decimal &porcentaje)>;

    struct Inicio {
        Decimal importeVenta; // the sale amount (line sum)
        Decimal redondeo;
        Decimal porPagar;
        std::optional<QStringList> tiposAdmitidos; // absent: every kind of tTipoPago
        std::optional<bool> ticket;                // absent: "IMPRIME-TICKET-POR-OMISION"
        bool nota = false;
        bool factura = false;
        bool rechazaExcedente = false; // refunds: the payments may not exceed the amount
        QString tipoEntrega = QStringLiteral("MOSTRADOR");
        // The sale's client: its credit limit is applied to credit payments. Empty (refunds): no limit.
        QString cliente;
        AplicaPorcentaje aplicaPorcentaje; // the sale's card commission; empty: no charge possible
        QString titulo = QStringLiteral("Pago");
    };

    // What the cashier typed in one tab; numbers as typed.
    struct Captura {
        QString tipo;
        QString importe;
        QString banco;
        QString cheque;
        QString tarjeta;
        QString folio;
        QString moneda;
        QString importeMoneda;
        QString tipoCambio;
        QString referencia;
        QString referenciaAdic;
    };

    enum class Campo {
        Ninguno,
        Tipo,
        Importe,
        Banco,
        Cheque,
        Moneda,
        ImporteMoneda,
        TipoCambio,
        Referencia,
        ReferenciaAdic
    };
    enum class Resultado {
        Rechazado, // a message was shown, nothing added; campoRechazado() names the field
        Agregado,  // the row was added, the payment is not complete (or the cashier said No)
        Completo,  // the payments cover the amount: the window closes accepting
    };

    struct Opcion {
        QString clave;
        QString nombre;
    };
    struct Denominacion {
        QString nombre;
        Decimal valor;
        QString texto; // caption: name and value "#,##0.00"
    };

    static const QStringList kTiposFijos; // EFECTIVO, CHEQUE, TARJETA, EXTRANJERA, CREDITO
    static const QString kConceptoComision;
    static const QString kPermisoSobreGiro;

    PagoCaptura(ConnectionProvider &connections, cConfigure &config, Permisos &permisos, Prompter &prompter);

    // Reads the kinds, denominations, currencies, banks and delivery types and sets the amounts.
    // False (shown) when the database could not be read.
    bool init(const Inicio &inicio);

    // --- catalogues
    QList<Opcion> tiposPago() const { return m_tiposPago; } // tTipoPago in tab order
    // The admitted kinds in tab order: the fixed kinds first, then the others.
    QStringList tiposAdmitidos() const;
    bool admitido(const QString &tipo) const;
    // Admitted kinds other than the fixed five, with their names (the "Otros" tab).
    QList<Opcion> otrosTipos() const;
    QList<Denominacion> denominaciones() const { return m_denominaciones; }
    QList<Opcion> monedas() const { return m_monedas; }
    QList<Opcion> bancos() const { return m_bancos; }
    // Delivery selector items: name + tab + key.
    QStringList tiposEntrega() const { return m_tiposEntrega; }
    // Reloads the currencies from tMoneda ordered by name. Throws db::DbError.
    void cargaMoneda();

    QString captionReferencia() const;
    QString captionReferenciaAdic() const;
    bool comisionVisible() const; // "COMISION-TARJETA"
    bool cobroRapido() const;     // "COBRO-RAPIDO"
    // The amount to prefill when a kind's tab opens: the rest with "COBRO-PAGO-IGUAL-A-COBRO".
    QString importeSugerido(const QString &tipo) const;

    // --- payments
    Resultado agregarPago(const Captura &captura);
    Resultado agregaDenominacion(int indice);
    // F12 with "COBRO-RAPIDO": the rest in cash and accept, no question asked.
    Resultado cobroRapidoEfectivo();
    void quitaPago(int fila);
    void quitaTodos();
    Campo campoRechazado() const { return m_campoRechazado; }

    // Accepting: the payments must cover the amount to pay (and, with the refusal flag, not exceed
    // it); "PREGUNTA-PAGO-COMPLETO" asks first. Complete when accepted.
    Resultado terminar(bool preguntar = true);
    // The note and invoice commands: mark the document, then try to accept.
    Resultado cmdNota();
    Resultado cmdFactura();
    void cancelar() { m_aceptado = false; }

    // --- card commission
    void setPorcentajeComision(const Decimal &p) { m_porcentaje = p; }
    Decimal porcentajeComision() const { return m_porcentaje; }
    Decimal comisionCalculada() const; // amount to pay × p / 100, two places
    bool aplicaCargo();
    bool cargoAplicado() const { return m_cargoAplicado; }

    // --- amounts
    Decimal importeVenta() const { return m_importeVenta; }
    Decimal redondeo() const { return m_redondeo; }
    Decimal porPagar() const { return m_porPagar; }
    Decimal pagado() const;
    Decimal resta() const;                          // never below 0
    Decimal cambio() const;                         // pagado − porPagar, never below 0
    static QString formatoMoneda(const Decimal &d); // "$#,##0.00"

    // --- documents and delivery
    bool ticket() const { return m_ticket; }
    void setTicket(bool s) { m_ticket = s; }
    bool nota() const { return m_nota; }
    bool factura() const { return m_factura; }
    QString tipoEntrega() const { return m_tipoEntrega; }
    void setTipoEntrega(const QString &clave) { m_tipoEntrega = clave; }
    QString titulo() const { return m_inicio.titulo; }

    // --- results
    bool aceptado() const { return m_aceptado; }
    QList<PagoVenta> obtenerPagos() const { return m_modelo.pagos(); }
    QStringList obtenerPagosArr() const;
    Decimal comision() const { return m_comision; } // charged on the sale (venta_Comision)
    // The sale's totals after the commission; nothing when no commission was charged.
    std::optional<TotalesVenta> totales() const { return m_totales; }
    PagosModel *modelo() { return &m_modelo; }
    // Called when the payments change, before any question: the window shows the new amounts
    // (the change above all) while the cashier is asked whether the payment is complete.
    void setAlCambiar(std::function<void()> f) { m_alCambiar = std::move(f); }

private:
    bool valida(const Captura &captura, PagoVenta &pago);
    bool validaCredito(const Decimal &importe);
    bool rechaza(const QString &texto, Campo campo);
    Resultado agrega(const PagoVenta &pago);
    bool activo(const QString &clave) const;

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Permisos &m_permisos;
    Prompter &m_prompter;
    Inicio m_inicio;
    PagosModel m_modelo;
    QList<Opcion> m_tiposPago;
    QList<Denominacion> m_denominaciones;
    QList<Opcion> m_monedas;
    QList<Opcion> m_bancos;
    QStringList m_tiposEntrega;
    Decimal m_importeVenta, m_redondeo, m_porPagar;
    Decimal m_porcentaje, m_comision;
    bool m_cargoAplicado = false;
    std::optional<TotalesVenta> m_totales;
    bool m_ticket = true, m_nota = false, m_factura = false;
    QString m_tipoEntrega;
    bool m_aceptado = false;
    std::function<void()> m_alCambiar;
    Campo m_campoRechazado = Campo::Ninguno;
};
