#pragma once

#include "CorteCierre.h"

#include <QDialog>

class ArqueoModelo;
class Corte;
class MovimientosCorteModelo;
class PagosRecibidosModelo;
class QLabel;
class QTableView;

// Closing a cash cut over CorteCierre (every rule sits there): the summary of the cut on the
// left, the cash count and the amounts received on the right, totals below. The count takes the
// keyboard first; typing a number edits the cell, Enter moves to the next row, Enter on a grid
// closes the cut, Escape leaves it open.
class frmCorteFin : public QDialog {
    Q_OBJECT
public:
    explicit frmCorteFin(CorteCierre &cierre, QWidget *parent = nullptr);

    // Runs the closing: false when no cut was chosen, the user left it open, or it failed.
    static bool abrir(CorteCierre &cierre, QWidget *parent = nullptr);
    // The cash-cut entry of the menu: closes the terminal's open cut, or opens one when there is none.
    static bool corteDeCaja(Corte &corte, CorteCierre &cierre, QWidget *parent = nullptr);

    void cmdAceptar();

    QTableView *gridArqueo() const { return grdArqueo; }
    QTableView *gridPagos() const { return grdPagos; }

private:
    QTableView *creaGrid(const QString &nombre);
    void muestraTotales();
    void enfocaRechazo();

    CorteCierre &m_cierre;
    MovimientosCorteModelo *m_movimientos;
    PagosRecibidosModelo *m_pagos;
    ArqueoModelo *m_arqueo;
    QTableView *grdMovimientos;
    QTableView *grdPagos;
    QTableView *grdArqueo;
    QLabel *lblTotal;
    QLabel *lblRecibido;
    QLabel *lblEfectivo;
    QLabel *lblDiferencia;
};
