#include "frmConsulta.h"

#include "LookupPanel.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmConsulta::frmConsulta(const LookupServices &services, const LookupDefinition &definition,
                         MaintenanceOpener opener, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConsulta"));
    setWindowTitle(definition.title);
    m_panel = new LookupPanel(services, definition, std::move(opener), this);
    auto *cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setAutoDefault(false);
    auto *cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdAceptar);
    buttons->addWidget(cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_panel, 1);
    layout->addLayout(buttons);
    resize(760, 480);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmConsulta::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_panel, &LookupPanel::activated, this, &frmConsulta::acepta);
    connect(m_panel, &LookupPanel::autoAccepted, this, &frmConsulta::autoAcepta);
    m_panel->setFocus();
}

frmConsulta::~frmConsulta() = default;

LookupResult frmConsulta::consulta(const LookupServices &services, const LookupDefinition &definition,
                                   MaintenanceOpener opener, QWidget *parent, const QString &texto)
{
    frmConsulta w(services, definition, std::move(opener), parent);
    if (!texto.isEmpty() && w.buscar(texto))
        return w.result();
    w.exec();
    return w.result();
}

bool frmConsulta::buscar(const QString &texto)
{
    m_panel->texto()->setText(texto);
    cmdBuscar_Click();
    return m_result.accepted;
}

void frmConsulta::cmdBuscar_Click()
{
    m_panel->cmdBuscar_Click();
}

void frmConsulta::cmdAceptar_Click()
{
    acepta(m_panel->currentRow());
}

void frmConsulta::acepta(int row)
{
    if (!m_panel->search().cmdAceptar(row))
        return;
    m_result = m_panel->search().result();
    accept();
}

void frmConsulta::autoAcepta()
{
    m_result = m_panel->search().result();
    accept();
}
