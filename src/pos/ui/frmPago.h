#pragma once

#include "PagoCaptura.h"

#include <QDialog>
#include <QHash>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

// The payment window: one tab per admitted kind, quick cash buttons, the payments grid and the
// amounts in large type. Enter adds the payment of the current tab, Escape cancels, F12 (with
// "COBRO-RAPIDO") charges the rest in cash at once. Every rule sits in PagoCaptura; the caller
// reads the results from it after the window closes.
class frmPago : public QDialog {
    Q_OBJECT
public:
    explicit frmPago(PagoCaptura &pago, QWidget *parent = nullptr);
    ~frmPago() override;

    // Initialises the payment rules and runs the window modally. True when the payments were
    // accepted; false when the catalogues could not be read or the cashier cancelled.
    static bool abrir(PagoCaptura &pago, const PagoCaptura::Inicio &inicio, QWidget *parent = nullptr);

    void cmdAgregar();
    void cmdQuitar();
    void cmdQuitarTodos();
    void cmdAceptar();
    void cmdNota();
    void cmdFactura();
    void cmdCargo();
    void cmdCobroRapido();
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *creaPestanas();
    QWidget *creaImportes();
    QWidget *creaDenominaciones();
    QWidget *creaGrid();
    QWidget *creaPie();
    QString tipoActual() const;
    PagoCaptura::Captura captura() const;
    void limpiaPestana();
    void sugiereImporte();
    void enfocaImporte();
    void enfocaRechazado();
    void muestraImportes();
    void resultado(PagoCaptura::Resultado r);

    PagoCaptura &m_pago;
    QTabWidget *tabPagos = nullptr;
    QHash<QString, int> m_pestana; // kind (or "OTROS") → tab index
    QLineEdit *txtEfectivo, *txtChequeImporte, *txtChequeNumero, *txtTarjetaImporte, *txtTarjetaNumero,
        *txtTarjetaFolio, *txtMonedaImporte, *txtTipoCambio, *txtCreditoImporte, *txtCreditoRef,
        *txtCreditoRefAdic, *txtOtroImporte, *txtOtroRef, *txtPorcentaje;
    QComboBox *cboChequeBanco, *cboTarjetaBanco, *cboMoneda, *cboOtroTipo, *cboEntrega;
    QLabel *lblMonedaLocal, *lblCreditoRef, *lblCreditoRefAdic;
    QLabel *lblImporteVenta, *lblRedondeo, *lblPorPagar, *lblPagado, *lblResta, *lblCambio, *lblComision;
    QGroupBox *fraComision;
    QRadioButton *optTicketSi, *optTicketNo;
    QTableView *grdPagos;
};
