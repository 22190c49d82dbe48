#pragma once

#include "RangoImpresion.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;
class Prompter;

// The print dialog: the printer, copies, and all pages or a range.
class frmShowPrinter : public QDialog {
    Q_OBJECT
public:
    frmShowPrinter(Prompter &prompter, const QString &printer, QWidget *parent = nullptr);
    RangoImpresion rango() const { return m_rango; }
    QString impresora() const;

    QLineEdit *txtCopias;
    QLineEdit *txtDesde;
    QLineEdit *txtHasta;
    QRadioButton *optTodas;
    QRadioButton *optRango;
    QComboBox *cboImpresora;

    void accept() override;

private:
    Prompter &m_prompter;
    RangoImpresion m_rango;
};
