#pragma once

#include "RespaldoVenta.h"
#include "Venta.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ConnectionProvider;
class Permisos;
class PreciosArticulo;
class Prompter;
class cCode;
class cConfigure;
class cString;

// The sale capture of the counter (frmVenta without widgets): the client and its type, the
// lines with every check of adding and editing them, the totals, the preconditions of paying,
// held sales, changed prices, importing lines from a file. Nothing is written to the database
// while lines are captured, except held sales (VentaPendiente) and stored prices.
//
// How the window binds to it:
//   - iniciaVenta() when the window opens and after every sale (runs "OnStartUpSale").
//   - cargaCliente(key) on the client field; cambiaTipoCliente(type) with the right.
//   - buscaArticulo(text) on Enter in the article field: fills the capture fields (the returned
//     Captura); with "OPERACION-CAPTURA-AUTOMATICA" the line is added already (agregado).
//   - cmdAgregar(captura) on the add command; editaCelda through VentaModelo.
//   - preparaPago() on F3: when it returns data the payment window may open.
//   - aplicaPorcentaje(concept, p): the payment window's card commission.
//   - ventaPendiente() F9, ventasPendientes()/cargaVentaPendiente() F12, cmdSalvarPrecio() F11,
//     importa(file), puedeDescartar() before closing, discarding or an airtime top-up.
// Every refusal goes through the Prompter with the exact text the cashier sees; the signals
// tell the window (and VentaModelo) what to refresh.
class VentaCaptura : public QObject {
    Q_OBJECT
public:
    // What the capture needs from the program; scripts and strings may be null (no event,
    // no EAN padding on import).
    struct Servicios {
        ConnectionProvider &connections;
        cConfigure &config;
        Prompter &prompter;
        Permisos &permisos;
        PreciosArticulo &precios;
        cString *cadenas = nullptr;
        cCode *scripts = nullptr;
    };

    // The rights of the window, each checked as "frmVenta_" + name.
    static const QStringList kDerechos;

    // The article fields of the capture row (what the window shows before adding).
    struct Captura {
        QString articulo;
        QString nombre;
        QString cantidad;
        QString precio;    // unit public price without tax, before discount
        QString descuento; // percentage
        QString iva;       // tax percentage
        QString subTotal;  // shown only: price with discount, without tax
        QString total;     // shown only: unit price to pay
        QString tipoPrecio = QStringLiteral("N");
        int numeroPrecio = 0; // precio_Clave of the row that priced it (offers)
        QString referencia;
        QString loteSerie; // asked for through PideLoteSerie when empty
        QString tallaClave, colorClave;
        bool agregado = false; // buscaArticulo added the line already (automatic capture)
    };

    // The client of the sale and its type's settings.
    struct Cliente {
        QString clave;
        QString nombre;
        Decimal descuento; // cli_Descuento, percentage on the whole sale
        QString tipo;      // tcli_Clave
        QString control;   // tcontrol_Clave (defaults from CONTROL-DE-PRECIOS-POR-OMISION)
        int lista = 0;
        bool ticket = true, nota = false, factura = false; // documents by default
        bool acumular = false;                             // tcli_AcumularArticulos
        ReglaRedondeo porArticulo, porVenta;
        QStringList tiposPago; // allowed payment kinds (empty: none listed)
        QString entrega;       // tent_Clave of the client, or TIPO-ENTREGA-POR-OMISION
    };

    // What the payment window needs once preparaPago accepted.
    struct DatosCobro {
        TotalesVenta totales;
        Decimal importe;  // sale amount (line sum)
        Decimal redondeo; // rounding included in it
        Decimal total;    // amount to pay (client discount taken off)
        Cliente cliente;
        QStringList tiposPago;
        bool ticket = true, nota = false, factura = false;
        QString entrega;
    };

    // One held sale of the warehouse, for the F12 list.
    struct Pendiente {
        QString terminal;
        int anio = 0;
        int corte = 0;
        qint64 numero = 0;
        QString cliente;
        QString nombreCliente;
        QString usuario;
        QDateTime fecha;
        Decimal total;
        QString clave() const; // term TAB year TAB cut TAB number
    };

    // One row of the import log.
    struct RenglonImportacion {
        int linea = 0; // line of the file, from 1
        QString articulo;
        QString cantidad;
        QString mensaje;
        bool procesado = false;
    };
    struct Importacion {
        bool abierto = false; // the file was read
        QList<RenglonImportacion> renglones;
        bool conErrores = false;
        bool verRegistro = false; // the cashier asked to see the log
        // The log as text: one line per row, tab-separated (line, article, quantity, message).
        QString texto() const;
    };

    // The quick article entry: given the key typed, the key registered (nothing when cancelled).
    using AltaRapida = std::function<std::optional<QString>(const QString &articulo)>;
    // The lot/serial prompt (frmLoteSerie): modo 'LOTE' or 'SERIE'; nothing when cancelled.
    using PideLoteSerie = std::function<std::optional<QString>(const QString &modo, const QString &articulo)>;

    explicit VentaCaptura(const Servicios &servicios, QObject *parent = nullptr);
    ~VentaCaptura() override;

    void setAltaRapida(AltaRapida alta) { m_altaRapida = std::move(alta); }
    void setPideLoteSerie(PideLoteSerie pide) { m_pideLoteSerie = std::move(pide); }

    // --- window state
    QString terminal() const { return m_terminal; }
    QString vendedor() const { return m_vendedor; }
    // The seller: "USUARIO" at each new sale, the held sale's when one is loaded; with
    // "VENTA-PROMISCUA" the window sets the user who logged in after iniciaVenta.
    void setVendedor(const QString &usuario) { m_vendedor = usuario; }
    QString corte() const { return m_corte; }
    QString almacen() const;
    const Cliente &cliente() const { return m_cliente; }
    const QList<LineaVenta> &lineas() const { return m_lineas; }
    const TotalesVenta &totales() const { return m_totales; }
    bool acumula() const;
    // Held sales loaded into the grid (keys term TAB year TAB cut TAB number); the writer
    // deletes them and then calls olvidaPendientes().
    const QStringList &pendientesCargadas() const { return m_pendientes; }
    void olvidaPendientes() { m_pendientes.clear(); }

    // --- rights
    void cargaDerechos();
    bool tieneDerecho(const QString &nombre) const { return m_derechos.contains(nombre); }

    // New sale: empty grid, default client, rights and settings reloaded, "OnStartUpSale" run.
    void iniciaVenta();
    // Asks before lines are lost; true when the grid is empty or the cashier agreed.
    bool puedeDescartar();
    // cmdBorrar: discards after puedeDescartar.
    bool cmdBorrar();

    // --- client
    bool cargaCliente(const QString &clave);
    // Right CambioTipoCliente: prices the sale for another type (the client stays).
    bool cambiaTipoCliente(const QString &tipo);

    // --- lines
    std::optional<Captura> buscaArticulo(const QString &texto);
    bool cmdAgregar(const Captura &captura);
    bool eliminaLinea(int fila);
    // Columns a cell may be edited in.
    enum class Celda { Cantidad, Precio, Descuento, IVA, Referencia };
    bool puedeEditar(int fila, Celda celda) const;
    bool editaCelda(int fila, Celda celda, const QString &valor);
    // validaDescuento: false when refused (message shown) or not confirmed.
    bool validaDescuento(const QString &articulo, const QString &nombre, const Decimal &descuento);
    // Recomputes the lines' totals (and with redondeaLineas rounds each total again).
    void calculaGrid(bool redondeaLineas = false);
    // The card commission by "COMISION-TARJETA-COBRO"; false when nothing was charged.
    bool aplicaPorcentaje(const QString &concepto, const Decimal &porcentaje);

    // --- paying (cmdPago steps 1-5)
    std::optional<DatosCobro> preparaPago();

    // --- held sales
    // cmdPendiente: stores the grid in one transaction and starts a new sale; the number.
    std::optional<qint64> ventaPendiente();
    bool cargaVentaPendiente(const QString &terminal, int anio, int corte, qint64 numero);
    QList<Pendiente> ventasPendientes();

    // --- the copy that survives a crash
    // From now on every change of the sale is written to the copy (null: none). A copy left by
    // an earlier run is kept aside, untouched, until recovered or discarded.
    void setRespaldo(RespaldoVenta *respaldo);
    // The lines of the copy an earlier run left; 0 when there is none.
    int lineasRecuperables() const;
    // The question that offers it: its pieces and amount, as the cashier last saw them.
    QString preguntaRecuperacion() const;
    // Loads the earlier copy into the sale as it was rung up (client, seller, held sales, lines).
    bool recuperaRespaldo();
    void descartaRespaldo();

    // cmdSalvarPrecio: stores the changed prices (right ActualizaCatalogo) after confirming.
    bool cmdSalvarPrecio();

    // cmdImportar: lines from a comma-separated file (key, quantity[, lot or serial]).
    Importacion importa(const QString &archivo);

Q_SIGNALS:
    void lineasCambiaron();     // lines added, removed or replaced
    void lineaCambio(int fila); // one line's cells changed
    void totalesCambiaron();    // the totals were recomputed
    void clienteCambio();       // client or type loaded
    void ventaIniciada();       // a new, empty sale

private:
    // How a check reports: interactive (messages and questions) or into the import log.
    struct Modo {
        bool interactivo = true;
        QString *rechazo = nullptr; // import: the text of the refusal or of a partial line
    };
    struct Articulo;
    std::optional<Articulo> leeArticulo(const QString &clave);
    bool rechaza(const Modo &modo, const QString &texto);
    bool pregunta(const Modo &modo, const QString &texto);
    bool cargaTipoCliente(const QString &tipo);
    void repreciaLineas();
    bool agrega(const Captura &captura, const Modo &modo, const Articulo &art, const Decimal &cantidad);
    bool limiteOferta(QList<LineaVenta> &lineas, const Articulo &art, const Modo &modo);
    bool validaExistencia(const QList<LineaVenta> &lineas, const LineaVenta &linea, const Modo &modo,
                          Decimal *procesable = nullptr);
    bool validaCosto(const LineaVenta &linea, const Modo &modo);
    bool validaDescuento(const QString &articulo, const QString &nombre, const Decimal &descuento,
                         const Modo &modo);
    bool validaLinea(const QList<LineaVenta> &lineas, const LineaVenta &linea, const Modo &modo);
    void renumera(QList<LineaVenta> &lineas) const;
    void reemplazaLineas(QList<LineaVenta> lineas);
    bool noEncontrado(const QString &clave, const Modo &modo, QString *registrado);
    Decimal existenciaDe(const QString &articulo, const QString &lote, bool *hayFilas);
    bool aseguraCorte();
    void respalda();

    Servicios m_s;
    AltaRapida m_altaRapida;
    PideLoteSerie m_pideLoteSerie;
    QString m_terminal, m_vendedor, m_corte;
    Cliente m_cliente;
    QSet<QString> m_derechos;
    QList<LineaVenta> m_lineas;
    TotalesVenta m_totales;
    QStringList m_pendientes;
    RespaldoVenta *m_respaldo = nullptr;
    std::optional<RespaldoVenta::Contenido> m_recuperable;
};
