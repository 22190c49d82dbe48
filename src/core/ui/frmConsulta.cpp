#include "frmConsulta.h"

frmConsulta::frmConsulta(const LookupServices &services, const LookupDefinition &definition,
                         MaintenanceOpener opener, QWidget *parent)
    : QDialog(parent)
{
    Q_UNUSED(services);
    Q_UNUSED(opener);
    setWindowTitle(definition.title);
}

frmConsulta::~frmConsulta() = default;

LookupResult frmConsulta::consulta(const LookupServices &services, const LookupDefinition &definition,
                                   MaintenanceOpener opener, QWidget *parent)
{
    frmConsulta w(services, definition, std::move(opener), parent);
    w.exec();
    return w.result();
}

void frmConsulta::cmdBuscar_Click() {}

void frmConsulta::cmdAceptar_Click() {}
