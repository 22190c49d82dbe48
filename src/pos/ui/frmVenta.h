#pragma once

#include "GuardaVenta.h"
#include "LookupServices.h"
#include "MensajesVenta.h"
#include "MovimientoCaja.h"
#include "PreciosArticulo.h"
#include "VentaCaptura.h"
#include "VentaModelo.h"

#include <QQueue>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class CalculoPrecio;
class ImpresionTicket;
class cTicketPrinter;
class Permisos;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

// The cashier's screen: one sale at a time over VentaCaptura (every rule sits there), the
// payment through frmPago and the writer GuardaVenta. The article field is always ready for the
// next scan; F-keys run the commands (shown on the buttons) and never while a modal dialog is up.
class frmVenta : public QWidget {
    Q_OBJECT
public:
    struct Servicios {
        ConnectionProvider &connections;
        cConfigure &config;
        Prompter &prompter;
        Permisos &permisos;
        const CalculoPrecio &calculo;
        cCode *scripts = nullptr;
        cString *cadenas = nullptr;
        // "VENTA-PROMISCUA": the login before every sale; the user who logged in, nothing when
        // refused. Without it the seller stays "USUARIO".
        std::function<std::optional<QString>()> pideUsuario;
        // The file that keeps the sale being rung up across a crash; empty: no copy.
        QString respaldo;
        // The receipt printer; without it a sale prints nothing (scripts still run).
        cTicketPrinter *impresora = nullptr;
        // The receipt of a cash movement (F7), when the built-in one is printed.
        MovimientoCaja::Imprime imprimeMovimiento;
    };

    explicit frmVenta(const Servicios &servicios, QWidget *parent = nullptr);
    ~frmVenta() override;

    // The window for the menu entry, not shown yet; null when the login of "VENTA-PROMISCUA"
    // was refused.
    static frmVenta *abrir(const Servicios &servicios, QWidget *parent = nullptr);

    VentaCaptura &captura() { return m_captura; }
    GuardaVenta &guarda() { return m_guarda; }
    QTableView *grid() const { return grdVenta; }
    QLineEdit *campoArticulo() const { return txtArticulo; }
    // The last sale written in this window.
    std::optional<VentaGuardada> ultimaVenta() const { return m_ultima; }

public Q_SLOTS:
    void cmdAyuda();          // F1
    void cmdBuscaCliente();   // F2
    void cmdPago();           // F3
    void cmdBorrar();         // F4
    void cmdTiempoAire();     // F5
    void cmdInicio();         // F6
    void cmdConcepto();       // F7
    void cmdPresupuesto();    // F8
    void cmdPendiente();      // F9
    void cmdSalvarPrecio();   // F11
    void cmdRecuperarVenta(); // F12
    void ofreceRespaldo();    // a sale an earlier run left unfinished
    // Shows the terminal's open cut again (after a cut was opened or closed elsewhere).
    void actualizaCorte();
    void cmdImportar();       // Ctrl+I: lines from a file chosen in a dialog
    // The lines of a file (article, quantity[, lot] per line); the log, when the cashier asks to
    // see it, in a window of its own.
    void importaArchivo(const QString &archivo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *creaEncabezado();
    QWidget *creaCaptura();
    QWidget *creaTotales();
    QWidget *creaBotones();
    void atajo(const QKeySequence &tecla, void (frmVenta::*comando)());
    QLabel *etiquetaTotal(QLayout *layout, const QString &nombre, const QString &titulo, int puntos);

    void txtArticulo_returnPressed();
    void txtCantidad_returnPressed();
    void txtCliente_returnPressed();
    void procesaCola();
    void buscaArticulo(const QString &texto);
    void muestraCaptura(const VentaCaptura::Captura &c);
    void limpiaCaptura();
    void muestraEncabezado();
    void muestraCliente();
    void muestraTotales();
    void rotaMensaje();
    void ajustaColumnas();
    void muestraColumnasOpcionales();
    // A new sale after paying or F6: login with "VENTA-PROMISCUA", the held-sale list with
    // "MODO-CAJA-CENTRAL".
    bool nuevaVenta();
    bool pideVendedor();
    void enfocaArticulo();
    void estado(const QString &texto);

    Servicios m_s;
    LookupServices m_lookup;
    PreciosArticulo m_precios;
    std::unique_ptr<RespaldoVenta> m_respaldo; // outlives the capture that writes to it
    VentaCaptura m_captura;
    VentaModelo m_modelo;
    GuardaVenta m_guarda;
    std::unique_ptr<ImpresionTicket> m_impresion;
    MensajesVenta m_mensajes;
    QString m_codigoCorte;
    std::optional<VentaCaptura::Captura> m_pendiente; // found, waiting for its quantity
    QQueue<QString> m_cola;                           // codes entered while a lookup runs
    bool m_buscando = false;
    bool m_iniciada = false;
    std::optional<VentaGuardada> m_ultima;

    QLabel *lblMensaje, *lblTerminal, *lblVendedor, *lblCorte, *lblNombreCliente, *lblDescuentoCliente;
    QLineEdit *txtCliente, *txtArticulo, *txtCantidad;
    QCheckBox *chkAutomatica;
    QLabel *lblNombre, *lblPrecio, *lblDescuento, *lblIVA, *lblImporte;
    QTableView *grdVenta;
    QLabel *lblArticulos, *lblImporteVenta, *lblRedondeo, *lblDescuentos, *lblImpuesto, *lblDescCliente,
        *lblTotal, *lblCambio, *lblEstado;
    QTimer *m_timerMensajes;
};
