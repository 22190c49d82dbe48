#pragma once

#include "VentaCaptura.h"

#include <QDialog>

#include <optional>

class QStandardItemModel;
class QTableView;

// The held sales of the warehouse to pick one from (F12 of the sale window, and the start of
// every sale in central-cashier mode): Enter or a double click loads the current row, Escape
// cancels.
class frmVentaPendiente : public QDialog {
    Q_OBJECT
public:
    frmVentaPendiente(const QList<VentaCaptura::Pendiente> &pendientes, QWidget *parent = nullptr);

    // The held sale chosen; nothing when cancelled.
    static std::optional<VentaCaptura::Pendiente> elige(const QList<VentaCaptura::Pendiente> &pendientes,
                                                        QWidget *parent = nullptr);

    std::optional<VentaCaptura::Pendiente> elegida() const;
    QTableView *grid() const { return m_grid; }

private:
    QList<VentaCaptura::Pendiente> m_pendientes;
    QStandardItemModel *m_modelo;
    QTableView *m_grid;
};
