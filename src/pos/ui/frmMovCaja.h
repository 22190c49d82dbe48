#pragma once

#include "MovimientoCaja.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

// Cash movements of the terminal's open cut over MovimientoCaja (every rule sits there): one tab
// per kind (concept, supplier invoice paid in cash, deposit to a bank account). Enter writes the
// movement of the tab shown, Escape closes; Ctrl+1..3 choose the tab.
class frmMovCaja : public QDialog {
    Q_OBJECT
public:
    enum Pestana { PestanaConcepto, PestanaFactura, PestanaDeposito };

    explicit frmMovCaja(MovimientoCaja &movimiento, QWidget *parent = nullptr);

    // Runs the window when the terminal has an open cut; false when it has none (shown).
    static bool abrir(MovimientoCaja &movimiento, QWidget *parent = nullptr);

    void cmdAceptar();
    QTabWidget *pestanas() const { return tabTipo; }

private:
    QWidget *creaConcepto();
    QWidget *creaFactura();
    QWidget *creaDeposito();
    void cmbConcepto_changed();
    void cmbProveedor_changed();
    void cmbFactura_changed();
    void limpia();
    void enfoca(MovimientoCaja::Campo campo);
    void enfocaPestana();

    MovimientoCaja &m_mov;
    QList<MovimientoCaja::Concepto> m_conceptos;
    QList<MovimientoCaja::Factura> m_facturas;
    QTabWidget *tabTipo;
    QComboBox *cmbConcepto;
    QLineEdit *txtDescripcion;
    QLineEdit *txtImporteConcepto;
    QComboBox *cmbProveedor;
    QComboBox *cmbFactura;
    QLabel *lblPorPagar;
    QLineEdit *txtImporteFactura;
    QComboBox *cmbCuenta;
    QLineEdit *txtImporteDeposito;
};
