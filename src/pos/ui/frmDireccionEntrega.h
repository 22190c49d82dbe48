#pragma once

#include "DireccionEntrega.h"

#include <QDialog>
#include <QHash>

class Prompter;
class QLineEdit;

// The address of a home delivery, proposed from the client's and confirmed or changed by the
// cashier before the sale is written. Enter accepts, Escape goes back to the sale unwritten.
class frmDireccionEntrega : public QDialog {
    Q_OBJECT
public:
    frmDireccionEntrega(const EntregaVenta &entrega, Prompter &prompter, QWidget *parent = nullptr);

    // Asks for the address; false when the cashier cancelled (the delivery is left as it was).
    static bool pide(EntregaVenta &entrega, Prompter &prompter, QWidget *parent = nullptr);

    const EntregaVenta &entrega() const { return m_entrega; }
    void cmdAceptar();

private:
    EntregaVenta m_entrega;
    Prompter &m_prompter;
    QHash<int, QLineEdit *> m_campos;
};
