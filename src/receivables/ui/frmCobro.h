#pragma once

#include "CuentaPorCobrar.h"

#include <QDialog>

class ConnectionProvider;
class Prompter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class cConfigure;

// One receivable by hand: add ('A'), change ('C') or consult ('Q'). Enter accepts, Escape
// cancels, a refused field takes the focus. Rules in CuentaPorCobrar.
class frmCobro : public QDialog {
    Q_OBJECT
public:
    frmCobro(ConnectionProvider &connections, cConfigure &config, Prompter &prompter, QChar modo,
             qint64 clave = 0, QWidget *parent = nullptr);

    // Runs the form modally; true when something was written.
    static bool abrir(ConnectionProvider &connections, cConfigure &config, Prompter &prompter, QChar modo,
                      qint64 clave = 0, QWidget *parent = nullptr);
    bool cargado() const { return m_cargado; }

    void cmdAceptar();

private:
    CuentaPorCobrar::Datos datos() const;
    void limpia();

    CuentaPorCobrar m_reglas;
    QChar m_modo;
    qint64 m_clave;
    bool m_cargado = true;
    bool m_escrito = false;
    QComboBox *cboCliente, *cboEstado;
    QLineEdit *txtImporte, *txtReferencia, *txtReferenciaAdic, *txtVencimiento;
    QLabel *lblClave, *lblPagado, *lblRegistro;
    QPushButton *cmdOk;
};
