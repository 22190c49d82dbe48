#pragma once

#include "ConfiguracionImpresoras.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class frmVistaPrevia;

// Chooses and tries the receipt, note and report printers (rules in ConfiguracionImpresoras).
// "Probar" prints the test page with what is on screen; "Vista previa" draws it; Aceptar saves.
class frmImpresora : public QDialog {
    Q_OBJECT
public:
    frmImpresora(cConfigure &config, cTicketPrinter &impresora, Prompter &prompter, QWidget *parent = nullptr);
    ~frmImpresora() override;

    ConfiguracionImpresoras &reglas() { return m_reglas; }
    // The preview window of the last "Vista previa" (null before).
    frmVistaPrevia *vistaPrevia() const { return m_vista; }

public Q_SLOTS:
    void accept() override;
    void reject() override;
    void cmdProbar(int impresora); // ConfiguracionImpresoras::Impresora
    void cmdVistaPrevia();

private:
    struct CamposSalida {
        QCheckBox *chkEnLinea;
        QCheckBox *chkDirecto;
        QLineEdit *txtPuerto;
        QComboBox *cmbImpresora;
        QComboBox *cmbPagina;
        QLineEdit *txtFuente;
        QSpinBox *spnTamanio;
    };
    QWidget *creaSalida(CamposSalida &c, const QString &prefijo, int impresora);
    void muestra();
    void lee();
    void enfoca(const QString &campo);

    cTicketPrinter &m_impresora;
    ConfiguracionImpresoras m_reglas;
    frmVistaPrevia *m_vista = nullptr;
    QTabWidget *tabs;
    CamposSalida m_recibos{}, m_nota{};
    QComboBox *cmbReportes;
    QCheckBox *chkCajon, *chkCorte;
    QLineEdit *txtCajonPuerto, *txtCajonCodigos, *txtCortePuerto, *txtCorteCodigos;
    QSpinBox *spnEspera;
};
