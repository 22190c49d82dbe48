#pragma once

#include "ConceptosModel.h"
#include "TipoClienteConceptos.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

// The price concepts of one client type: the control kind ('DEPARTAMENTO' or 'FAMILIA', in
// tcontrol_Orden order) and its grid of concept, method and value. "Guardar" rewrites the rows of
// that type and kind; changes not saved are only dropped when the user says so. Rules in
// TipoClienteConceptos.
class frmTipoClienteConcepto : public QDialog {
    Q_OBJECT
public:
    static const QString kDescartar;

    // modo "C" edits, "Q" only shows.
    frmTipoClienteConcepto(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter,
                           const QString &modo, const QString &tcli, QWidget *parent = nullptr);

    // False when the client type could not be read (the user was told why).
    bool valido() const { return m_valido; }
    bool guardado() const { return m_guardado; }
    TipoClienteConceptos &reglas() { return m_reglas; }
    ConceptosModel &modelo() { return m_modelo; }
    QString control() const;
    // Selects a control kind, as the user would (the question about unsaved changes included).
    void setControl(const QString &control);

public Q_SLOTS:
    void cmdGuardar_Click();
    void cmdAgregar_Click();
    void cmdQuitar_Click();
    void reject() override;

private:
    void controlElegido(int index);
    void carga();
    bool puedeDescartar();

    Prompter &m_prompter;
    TipoClienteConceptos m_reglas;
    ConceptosModel m_modelo;
    QString m_tcli;
    QString m_controlCargado;
    bool m_valido = true;
    bool m_guardado = false;

    QLabel *m_lblTipo = nullptr;
    QComboBox *m_cmbControl = nullptr;
    QTableView *m_grdConceptos = nullptr;
    QPushButton *m_cmdAgregar = nullptr;
    QPushButton *m_cmdQuitar = nullptr;
    QPushButton *m_cmdGuardar = nullptr;
};
