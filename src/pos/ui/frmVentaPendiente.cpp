#include "frmVentaPendiente.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

frmVentaPendiente::frmVentaPendiente(const QList<VentaCaptura::Pendiente> &pendientes, QWidget *parent)
    : QDialog(parent), m_pendientes(pendientes)
{
    setObjectName(QStringLiteral("frmVentaPendiente"));
    setWindowTitle(QStringLiteral("Ventas pendientes"));
    setModal(true);
    resize(760, 400);

    m_modelo = new QStandardItemModel(0, 7, this);
    m_modelo->setHorizontalHeaderLabels({QStringLiteral("Terminal"), QStringLiteral("Corte"),
                                         QStringLiteral("Número"), QStringLiteral("Fecha"),
                                         QStringLiteral("Cliente"), QStringLiteral("Vendedor"),
                                         QStringLiteral("Total")});
    const QLocale mx(QLocale::Spanish, QLocale::Mexico);
    for (const VentaCaptura::Pendiente &p : pendientes) {
        QList<QStandardItem *> fila{
            new QStandardItem(p.terminal),
            new QStandardItem(QStringLiteral("%1-%2").arg(p.anio).arg(p.corte)),
            new QStandardItem(QString::number(p.numero)),
            new QStandardItem(mx.toString(p.fecha, QStringLiteral("dd/MM/yyyy HH:mm"))),
            new QStandardItem(
                p.nombreCliente.isEmpty() ? p.cliente : p.cliente + QStringLiteral(" - ") + p.nombreCliente),
            new QStandardItem(p.usuario),
            new QStandardItem(p.total.format(QStringLiteral("$#,##0.00")))};
        fila[2]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        fila[6]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (QStandardItem *i : fila)
            i->setEditable(false);
        m_modelo->appendRow(fila);
    }

    auto *layout = new QVBoxLayout(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grdPendientes"));
    m_grid->setModel(m_modelo);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    m_grid->resizeColumnsToContents();
    layout->addWidget(m_grid);

    auto *botones = new QDialogButtonBox(this);
    auto *cargar = botones->addButton(QStringLiteral("&Cargar"), QDialogButtonBox::AcceptRole);
    cargar->setObjectName(QStringLiteral("cmdCargar"));
    cargar->setDefault(true);
    botones->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCancelar"));
    layout->addWidget(botones);
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_grid, &QTableView::doubleClicked, this, &QDialog::accept);

    if (!pendientes.isEmpty())
        m_grid->setCurrentIndex(m_modelo->index(0, 0));
    m_grid->setFocus();
}

std::optional<VentaCaptura::Pendiente> frmVentaPendiente::elegida() const
{
    const int fila = m_grid->currentIndex().row();
    if (fila < 0 || fila >= m_pendientes.size())
        return std::nullopt;
    return m_pendientes.at(fila);
}

std::optional<VentaCaptura::Pendiente>
frmVentaPendiente::elige(const QList<VentaCaptura::Pendiente> &pendientes, QWidget *parent)
{
    frmVentaPendiente w(pendientes, parent);
    if (w.exec() != QDialog::Accepted)
        return std::nullopt;
    return w.elegida();
}
