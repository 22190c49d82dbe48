#pragma once

#include "Cobranza.h"
#include "LookupServices.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <functional>

class QComboBox;
class QDateEdit;
class QPushButton;
class QTableView;

// The receivables list, in the columns the back office knows.
class CtasXCobrarModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    static const QStringList kEncabezados;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setFilas(const QList<Cobranza::Fila> &filas);
    const QList<Cobranza::Fila> &filas() const { return m_filas; }

private:
    QList<Cobranza::Fila> m_filas;
};

// A client's credit notes.
class NotasClienteModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setNotas(const QList<NotaCobro> &notas);
    const QList<NotaCobro> &notas() const { return m_notas; }

private:
    QList<NotaCobro> m_notas;
};

// Accounts receivable: the warehouse's receivables by registration date, client and state, the
// client's credit notes, and the commands: collect the selected receivables (with the selected
// notes), add, change, consult, cancel and delete a receivable, the notes' commands and the
// client's statement. Rules in Cobranza, CuentaPorCobrar and CobroDoc.
class frmCtasXCobrar : public QDialog {
    Q_OBJECT
public:
    explicit frmCtasXCobrar(const LookupServices &services, QWidget *parent = nullptr);
    // The menu's entry (Contabilidad > Cuentas por Cobrar), modal.
    static void abrir(const LookupServices &services, QWidget *parent = nullptr);

    CtasXCobrarModel *modelo() const { return m_modelo; }
    NotasClienteModel *modeloNotas() const { return m_notas; }
    QTableView *grid() const { return grdCuentas; }
    QTableView *gridNotas() const { return grdNotas; }

    void cargaGrid();
    void cargaNotas();
    void cmdCobrar();
    void cmdAgregar();
    void cmdModificar();
    void cmdConsultar();
    void cmdCancelar();
    void cmdEliminar();
    void cmdEstadoCuenta();
    void cmdExportar();
    void cmdNuevaNota();
    void cmdAutorizarNota();
    void cmdCancelarNota();
    void cmdEliminarNota();

private:
    QList<qint64> cuentasSeleccionadas() const;
    QList<qint64> notasSeleccionadas() const;
    // The receivable under the cursor; false (and said) when there is none.
    bool actual(Cobranza::Fila *fila);
    QString clienteActual() const;

    LookupServices m_services;
    Cobranza m_cobranza;
    bool m_cargando = true;
    QDateEdit *dtpDesde, *dtpHasta;
    QComboBox *cboCliente, *cboEstado;
    QTableView *grdCuentas, *grdNotas;
    CtasXCobrarModel *m_modelo;
    NotasClienteModel *m_notas;
};
