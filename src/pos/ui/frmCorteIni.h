#pragma once

#include "Corte.h"

#include <QDialog>

class QLabel;
class QLineEdit;

// Opening a cash cut: shows the terminal, user, date and the number the cut will take, and asks
// for the initial amount. Refused (and not shown) when the terminal already has an open cut.
class frmCorteIni : public QDialog {
    Q_OBJECT
public:
    frmCorteIni(Corte &corte, const Corte::Apertura &apertura, QWidget *parent = nullptr);

    // Runs the opening: false when the cut could not be prepared or the user cancelled.
    static bool abrir(Corte &corte, QWidget *parent = nullptr);

    void cmdAceptar();

private:
    Corte &m_corte;
    Corte::Apertura m_apertura;
    QLineEdit *txtImporte;
};
