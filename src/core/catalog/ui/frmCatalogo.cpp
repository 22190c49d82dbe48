#include "frmCatalogo.h"

#include "LookupPanel.h"

#include <QVBoxLayout>

frmCatalogo::frmCatalogo(const LookupServices &services, const LookupDefinition &definition,
                         MaintenanceOpener opener, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCatalogo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(definition.title);
    m_panel = new LookupPanel(services, definition, std::move(opener), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_panel);
    resize(760, 480);
    connect(m_panel, &LookupPanel::activated, this, &frmCatalogo::elegido);
    connect(m_panel, &LookupPanel::autoAccepted, this, [this] { Q_EMIT chosen(m_panel->search().result()); });
    m_panel->setFocus();
}

frmCatalogo::~frmCatalogo() = default;

void frmCatalogo::cmdBuscar_Click()
{
    m_panel->cmdBuscar_Click();
}

void frmCatalogo::elegido()
{
    LookupSearch &search = m_panel->search();
    const int row = m_panel->currentRow();
    if (!search.cmdAceptar(row))
        return;
    Q_EMIT chosen(search.result());
    if (search.commands().cambio)
        search.cmdMod(row);
    else if (search.commands().consulta)
        search.cmdCon(row);
}
