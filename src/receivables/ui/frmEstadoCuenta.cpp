#include "frmEstadoCuenta.h"

#include "Cobranza.h"
#include "GridView.h"
#include "Log.h"
#include "Prompter.h"
#include "cConfigure.h"

#include "ConnectionProvider.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

frmEstadoCuenta::frmEstadoCuenta(const LookupServices &services, const QString &cliente, QWidget *parent)
    : QDialog(parent), m_services(services), m_modelo(new EstadoCuenta(this))
{
    setObjectName(QStringLiteral("frmEstadoCuenta"));
    setWindowTitle(QStringLiteral("Estado de cuenta"));
    cboCliente = new QComboBox;
    cboCliente->setObjectName(QStringLiteral("cboCliente"));
    cboCliente->setMinimumWidth(360);
    try {
        Cobranza c(services.connections, services.config, services.prompter);
        for (const auto &o : c.clientes())
            cboCliente->addItem(o.nombre + QStringLiteral(" (") + o.clave + u')', o.clave);
    } catch (const std::exception &e) {
        reportError(services.prompter, QStringLiteral("No fue posible leer los clientes"),
                    QStringLiteral("frmEstadoCuenta"), ErrorInfo::fromException(e));
    }
    cboCliente->setCurrentIndex(qMax(0, cboCliente->findData(cliente)));

    grdMovimientos = new QTableView;
    grdMovimientos->setObjectName(QStringLiteral("grdMovimientos"));
    grdMovimientos->setModel(m_modelo);
    grdMovimientos->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdMovimientos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdMovimientos->verticalHeader()->hide();
    grdMovimientos->setAlternatingRowColors(true);
    grdMovimientos->setWordWrap(false);
    const int anchos[] = {120, 110, 0, 95, 95, 100, 110};
    for (int i = 0; i < EstadoCuenta::Columnas; ++i)
        if (anchos[i] > 0)
            grdMovimientos->setColumnWidth(i, anchos[i]);
    grdMovimientos->horizontalHeader()->setSectionResizeMode(EstadoCuenta::Concepto, QHeaderView::Stretch);

    lblSaldo = new QLabel;
    lblSaldo->setObjectName(QStringLiteral("lblSaldo"));
    QFont f = lblSaldo->font();
    f.setPointSize(f.pointSize() + 3);
    f.setBold(true);
    lblSaldo->setFont(f);
    auto *exportar = new QPushButton(QStringLiteral("&Exportar"));
    exportar->setObjectName(QStringLiteral("cmdExportar"));
    exportar->setAutoDefault(false);
    auto *cerrar = new QPushButton(QStringLiteral("&Cerrar"));
    cerrar->setAutoDefault(false);
    connect(exportar, &QPushButton::clicked, this, &frmEstadoCuenta::cmdExportar);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);

    auto *arriba = new QHBoxLayout;
    arriba->addWidget(new QLabel(QStringLiteral("Cliente")));
    arriba->addWidget(cboCliente);
    arriba->addStretch();
    auto *abajo = new QHBoxLayout;
    abajo->addWidget(new QLabel(QStringLiteral("Saldo")));
    abajo->addWidget(lblSaldo);
    abajo->addStretch();
    abajo->addWidget(exportar);
    abajo->addWidget(cerrar);
    auto *main = new QVBoxLayout(this);
    main->addLayout(arriba);
    main->addWidget(grdMovimientos, 1);
    main->addLayout(abajo);
    resize(1000, 560);
    connect(cboCliente, &QComboBox::currentIndexChanged, this, &frmEstadoCuenta::cargaGrid);
    cargaGrid();
}

void frmEstadoCuenta::abrir(const LookupServices &services, const QString &cliente, QWidget *parent)
{
    frmEstadoCuenta w(services, cliente, parent);
    w.exec();
}

void frmEstadoCuenta::cargaGrid()
{
    try {
        m_modelo->carga(m_services.connections.getConnection(),
                        m_services.config.getString(QStringLiteral("ALMACEN")),
                        cboCliente->currentData().toString());
    } catch (const std::exception &e) {
        reportError(m_services.prompter, QStringLiteral("No fue posible leer el estado de cuenta"),
                    QStringLiteral("frmEstadoCuenta.cargaGrid"), ErrorInfo::fromException(e));
    }
    lblSaldo->setText(m_modelo->saldo().format(QStringLiteral("$#,##0.00")));
    grdMovimientos->scrollToBottom();
}

void frmEstadoCuenta::cmdExportar()
{
    GridView::exportToFile(*grdMovimientos, m_services.prompter, this);
}
