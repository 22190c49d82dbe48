#pragma once

#include "InventariosLista.h"
#include "InventariosListaModel.h"
#include "LookupServices.h"
#include "frmInventarioDet.h"

#include <QWidget>

class QComboBox;
class QTableView;

// The physical inventories of a warehouse, newest first, filtered by warehouse and year: a new
// one, continuing or viewing one, deleting one, exporting the list. An MDI child of the main
// window; the inventory itself opens in frmInventarioDet.
class frmInventario : public QWidget {
    Q_OBJECT
public:
    // registra is handed to frmInventarioDet (an article not on file, registered from the count).
    explicit frmInventario(const LookupServices &services, frmInventarioDet::RegistraArticulo registra = {},
                           QWidget *parent = nullptr);
    ~frmInventario() override;

    // Reads the list again with the current filters.
    void refresca();
    QTableView *grid() const { return m_grid; }
    const InventariosListaModel &modelo() const { return m_modelo; }
    // The inventory of the selected row; false when no row is selected.
    bool seleccionado(InventariosLista::Fila *fila) const;

public Q_SLOTS:
    void cmdNuevo_Click();
    void cmdAbrir_Click();
    void cmdEliminar_Click();
    void cmdExportar_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void llenaAnios();

    LookupServices m_services;
    frmInventarioDet::RegistraArticulo m_registra;
    InventariosLista m_lista;
    InventariosListaModel m_modelo;
    QComboBox *m_cmbAlmacen = nullptr;
    QComboBox *m_cmbAnio = nullptr;
    QTableView *m_grid = nullptr;
};
