#pragma once

#include "LookupServices.h"
#include "MovimientosAlmacenLista.h"

#include <QAbstractTableModel>
#include <QDialog>

class Permisos;
class QComboBox;
class QPushButton;
class QTableView;

// The rows of the movement list.
class MovimientosModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Columna {
        Folio,
        Fecha,
        Tipo,
        Articulo,
        Nombre,
        Lote,
        Cantidad,
        Costo,
        Total,
        Estado,
        Destino,
        Columnas
    };

    explicit MovimientosModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setFilas(const QList<MovimientosAlmacenLista::Fila> &filas);
    const QList<MovimientosAlmacenLista::Fila> &filas() const { return m_filas; }

private:
    QList<MovimientosAlmacenLista::Fila> m_filas;
};

// The movements of a warehouse, newest first, filtered by warehouse, year, type and state:
// "Nuevo" registers one (frmMovAlmCon_cmdAlta), "Consultar" shows it, "Cancelar movimiento"
// cancels it (frmMovAlmCon_cmdBaja), "Exportar" writes the grid. Rules in MovimientosAlmacenLista
// and MovimientoAlmacen.
class frmMovAlmCon : public QDialog {
    Q_OBJECT
public:
    frmMovAlmCon(const LookupServices &services, Permisos &permisos, QWidget *parent = nullptr);

    // The menu's entry: the list of the session's warehouse, modal.
    static void abrir(const LookupServices &services, Permisos &permisos, QWidget *parent = nullptr);

    MovimientosModel *modelo() const { return m_modelo; }
    QTableView *grid() const { return m_grid; }

public Q_SLOTS:
    void cargaGrid();
    void cmdNuevo_Click();
    void cmdConsultar_Click();
    void cmdCancelar_Click();
    void cmdExportar_Click();

private:
    // The selected movement; false (and said) when none is.
    bool seleccionado(MovimientosAlmacenLista::Fila *fila);
    void cargaAnios();

    LookupServices m_services;
    Permisos &m_permisos;
    MovimientosAlmacenLista m_lista;
    bool m_cargando = false;

    QComboBox *m_cmbAlmacen = nullptr;
    QComboBox *m_cmbAnio = nullptr;
    QComboBox *m_cmbTipo = nullptr;
    QComboBox *m_cmbEstado = nullptr;
    QTableView *m_grid = nullptr;
    MovimientosModel *m_modelo = nullptr;
    QPushButton *m_cmdNuevo = nullptr;
    QPushButton *m_cmdConsultar = nullptr;
    QPushButton *m_cmdCancelar = nullptr;
    QPushButton *m_cmdExportar = nullptr;
};
