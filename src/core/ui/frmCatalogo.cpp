#include "frmCatalogo.h"

frmCatalogo::frmCatalogo(const LookupServices &services, const LookupDefinition &definition,
                         MaintenanceOpener opener, QWidget *parent)
    : QWidget(parent)
{
    Q_UNUSED(services);
    Q_UNUSED(opener);
    setWindowTitle(definition.title);
}

frmCatalogo::~frmCatalogo() = default;

void frmCatalogo::cmdBuscar_Click() {}

void frmCatalogo::elegido() {}
