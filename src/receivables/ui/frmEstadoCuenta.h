#pragma once

#include "EstadoCuenta.h"
#include "LookupServices.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QTableView;

// A client's statement: choose the client, read the movements with their running balance,
// export them as the grids export.
class frmEstadoCuenta : public QDialog {
    Q_OBJECT
public:
    frmEstadoCuenta(const LookupServices &services, const QString &cliente = QString(),
                    QWidget *parent = nullptr);
    static void abrir(const LookupServices &services, const QString &cliente = QString(),
                      QWidget *parent = nullptr);

    EstadoCuenta *modelo() const { return m_modelo; }

    void cargaGrid();
    void cmdExportar();

private:
    LookupServices m_services;
    EstadoCuenta *m_modelo;
    QComboBox *cboCliente;
    QTableView *grdMovimientos;
    QLabel *lblSaldo;
};
