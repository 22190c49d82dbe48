#pragma once

#include "CobroDoc.h"

#include <QDialog>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// The payment dialog of a collection: the kind and its fields, a pad of notes and coins, the
// payment lines and the receivables being collected, the totals. Enter adds the line typed (or,
// with nothing typed, accepts), Escape cancels. Every rule sits in CobroDoc.
class frmCobroDoc : public QDialog {
    Q_OBJECT
public:
    frmCobroDoc(CobroDoc &doc, QWidget *parent = nullptr);
    ~frmCobroDoc() override;

    // Runs the dialog modally over prepared rules; true when accepted.
    static bool abrir(CobroDoc &doc, QWidget *parent = nullptr);

    void cmdAgregar();
    void cmdQuitar();
    void cmdAceptar();
    void cmdBillete(int indice);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void cambiaTipo();
    void muestraTotales();
    void calculaExtranjera();
    void limpia();
    bool hayCaptura() const;
    QString tipoActual() const;

    CobroDoc &m_doc;
    QComboBox *cboTipo, *cboBanco, *cboMoneda;
    QLineEdit *txtImporte, *txtCheque, *txtTarjeta, *txtFolio, *txtImporteMoneda, *txtTipoCambio,
        *txtReferencia;
    QLabel *lblReferencia, *lblPorPagar, *lblPagado, *lblResta;
    QWidget *fraBilletes;
    QTableView *grdPagos, *grdCuentas;
    QHash<QWidget *, QList<QWidget *>> m_campos; // a field and its caption
};
