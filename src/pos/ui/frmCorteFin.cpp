#include "frmCorteFin.h"

#include "CorteModelos.h"
#include "frmCorteIni.h"

#include "DbError.h"

#include <QAbstractItemDelegate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString dinero(const Decimal &d)
{
    return d.format(QStringLiteral("$#,##0.00"));
}

QLabel *cifra(QWidget *padre, const QString &nombre)
{
    auto *l = new QLabel(padre);
    l->setObjectName(nombre);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 1.3);
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

frmCorteFin::frmCorteFin(CorteCierre &cierre, QWidget *parent) : QDialog(parent), m_cierre(cierre)
{
    setObjectName(QStringLiteral("frmCorteFin"));
    setModal(true);
    const ResumenCorte &r = cierre.resumen();
    setWindowTitle(QStringLiteral("Cierre de corte de caja ") + Corte::codigo(r.clave));
    resize(1180, 660);

    const bool verTotal = cierre.puedeVerTotal();
    m_movimientos = new MovimientosCorteModelo(cierre, verTotal, this);
    m_pagos = new PagosRecibidosModelo(cierre, this);
    m_arqueo = new ArqueoModelo(cierre, this);

    auto *principal = new QVBoxLayout(this);
    auto *datos = new QHBoxLayout;
    const auto dato = [this, datos](const QString &nombre, const QString &titulo, const QString &texto) {
        auto *l = new QLabel(QStringLiteral("<b>") + titulo + QStringLiteral("</b> ") + texto.toHtmlEscaped(),
                             this);
        l->setObjectName(nombre);
        datos->addWidget(l);
    };
    dato(QStringLiteral("lblCorte"), QStringLiteral("Corte:"), Corte::codigo(r.clave));
    dato(QStringLiteral("lblUsuario"), QStringLiteral("Abrio:"), r.usuario);
    dato(QStringLiteral("lblFecha"), QStringLiteral("Apertura:"),
         r.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    dato(QStringLiteral("lblArticulos"), QStringLiteral("Articulos vendidos:"),
         r.articulos.format(QStringLiteral("#,##0.##")));
    dato(QStringLiteral("lblPendientes"), QStringLiteral("Ventas pendientes:"),
         QString::number(r.pendientes));
    datos->addStretch();
    principal->addLayout(datos);

    auto *centro = new QHBoxLayout;
    auto *resumen = new QGroupBox(QStringLiteral("Movimientos del corte"), this);
    auto *lr = new QVBoxLayout(resumen);
    grdMovimientos = creaGrid(QStringLiteral("grdMovimientos"));
    grdMovimientos->setModel(m_movimientos);
    grdMovimientos->setFocusPolicy(Qt::NoFocus);
    grdMovimientos->horizontalHeader()->setSectionResizeMode(MovimientosCorteModelo::Nombre,
                                                             QHeaderView::Stretch);
    lr->addWidget(grdMovimientos);
    centro->addWidget(resumen, 5);

    auto *derecha = new QVBoxLayout;
    auto *arqueo = new QGroupBox(QStringLiteral("&Arqueo de caja"), this);
    auto *la = new QVBoxLayout(arqueo);
    grdArqueo = creaGrid(QStringLiteral("grdArqueo"));
    grdArqueo->setModel(m_arqueo);
    grdArqueo->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdArqueo->horizontalHeader()->setSectionResizeMode(ArqueoModelo::Nombre, QHeaderView::Stretch);
    la->addWidget(grdArqueo);
    derecha->addWidget(arqueo, 3);
    auto *pagos = new QGroupBox(QStringLiteral("&Pagos recibidos"), this);
    auto *lp = new QVBoxLayout(pagos);
    grdPagos = creaGrid(QStringLiteral("grdPagos"));
    grdPagos->setModel(m_pagos);
    grdPagos->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdPagos->horizontalHeader()->setSectionResizeMode(PagosRecibidosModelo::Nombre, QHeaderView::Stretch);
    lp->addWidget(grdPagos);
    derecha->addWidget(pagos, 2);
    centro->addLayout(derecha, 4);
    principal->addLayout(centro, 1);

    auto *pie = new QHBoxLayout;
    auto *totales = new QFormLayout;
    lblTotal = cifra(this, QStringLiteral("lblTotal"));
    lblRecibido = cifra(this, QStringLiteral("lblRecibido"));
    lblEfectivo = cifra(this, QStringLiteral("lblEfectivo"));
    lblDiferencia = cifra(this, QStringLiteral("lblDiferencia"));
    totales->addRow(QStringLiteral("Efectivo contado:"), lblEfectivo);
    totales->addRow(QStringLiteral("Total recibido:"), lblRecibido);
    // Without the right the cashier counts blind: neither the expected total nor the difference.
    if (verTotal) {
        totales->addRow(QStringLiteral("Total del corte:"), lblTotal);
        totales->addRow(QStringLiteral("Diferencia:"), lblDiferencia);
    } else {
        lblTotal->hide();
        lblDiferencia->hide();
    }
    pie->addLayout(totales);
    pie->addStretch();
    auto *botones = new QDialogButtonBox(this);
    auto *aceptar = botones->addButton(QStringLiteral("&Cerrar corte"), QDialogButtonBox::AcceptRole);
    aceptar->setObjectName(QStringLiteral("cmdAceptar"));
    aceptar->setDefault(true);
    botones->addButton(QStringLiteral("Ca&ncelar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCancelar"));
    pie->addWidget(botones, 0, Qt::AlignBottom);
    principal->addLayout(pie);
    connect(botones, &QDialogButtonBox::accepted, this, &frmCorteFin::cmdAceptar);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(m_pagos, &QAbstractItemModel::dataChanged, this, &frmCorteFin::muestraTotales);
    connect(m_arqueo, &QAbstractItemModel::dataChanged, this, &frmCorteFin::muestraTotales);
    connect(m_arqueo, &ArqueoModelo::efectivoCambio, this, [this] {
        m_pagos->recarga();
        muestraTotales();
    });

    grdMovimientos->resizeColumnsToContents();
    grdMovimientos->horizontalHeader()->setSectionResizeMode(MovimientosCorteModelo::Nombre,
                                                             QHeaderView::Stretch);
    muestraTotales();
    grdArqueo->setCurrentIndex(m_arqueo->index(0, ArqueoModelo::Cantidad));
    grdPagos->setCurrentIndex(m_pagos->index(0, PagosRecibidosModelo::Importe));
    grdArqueo->setFocus();
}

QTableView *frmCorteFin::creaGrid(const QString &nombre)
{
    auto *g = new QTableView(this);
    g->setObjectName(nombre);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setSelectionBehavior(QAbstractItemView::SelectItems);
    g->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                       QAbstractItemView::EditKeyPressed);
    g->setTabKeyNavigation(false);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 8);
    // After a value is typed and accepted, the next row's cell is ready for the next one.
    connect(g->itemDelegate(), &QAbstractItemDelegate::closeEditor, g,
            [g](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::RevertModelCache)
                    return;
                const QModelIndex i = g->currentIndex();
                if (i.isValid() && i.row() + 1 < g->model()->rowCount())
                    g->setCurrentIndex(g->model()->index(i.row() + 1, i.column()));
            });
    return g;
}

void frmCorteFin::muestraTotales()
{
    const ResumenCorte &r = m_cierre.resumen();
    lblEfectivo->setText(dinero(r.efectivoArqueo()));
    lblRecibido->setText(dinero(r.recibido()));
    lblTotal->setText(dinero(r.total()));
    lblDiferencia->setText(dinero(r.diferencia()));
    m_movimientos->recarga();
}

void frmCorteFin::enfocaRechazo()
{
    switch (m_cierre.campoRechazado()) {
    case CorteCierre::Campo::Pagos:
        grdPagos->setFocus();
        break;
    case CorteCierre::Campo::Arqueo:
        grdArqueo->setFocus();
        break;
    case CorteCierre::Campo::Ninguno:
        break;
    }
}

void frmCorteFin::cmdAceptar()
{
    // A value still being typed counts.
    for (QTableView *g : {grdArqueo, grdPagos})
        if (QWidget *editor = g->indexWidget(g->currentIndex()))
            QMetaObject::invokeMethod(g, "commitData", Q_ARG(QWidget *, editor));
    if (m_cierre.cmdAceptar()) {
        accept();
        return;
    }
    if (!m_cierre.cargado()) {
        reject();
        return;
    }
    m_pagos->recarga();
    m_arqueo->recarga();
    muestraTotales();
    enfocaRechazo();
}

bool frmCorteFin::abrir(CorteCierre &cierre, QWidget *parent)
{
    if (!cierre.inicia())
        return false;
    frmCorteFin w(cierre, parent);
    return w.exec() == QDialog::Accepted;
}

bool frmCorteFin::corteDeCaja(Corte &corte, CorteCierre &cierre, QWidget *parent)
{
    std::optional<Corte::Abierto> abierto;
    try {
        abierto = corte.corteAbierto();
    } catch (const db::DbError &) {
        return corte.validaCorte(); // shows the failure
    }
    if (abierto)
        return abrir(cierre, parent);
    return frmCorteIni::abrir(corte, parent);
}
