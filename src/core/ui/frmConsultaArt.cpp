#include "frmConsultaArt.h"

#include "LookupArticulo.h"
#include "LookupPanel.h"

namespace {

LookupArticulo::Definicion definicion(const LookupServices &services)
{
    return LookupArticulo::definicion(services.config, services.connections);
}

} // namespace

frmConsultaArt::frmConsultaArt(const LookupServices &services, MaintenanceOpener opener, QWidget *parent)
    : frmConsulta(services, definicion(services).definition, std::move(opener), parent)
{
    setObjectName(QStringLiteral("frmConsultaArt"));
    panel()->setCampo(definicion(services).campoInicial);
    resize(1000, 560);
}

LookupResult frmConsultaArt::consultaArticulo(const LookupServices &services, MaintenanceOpener opener,
                                              QWidget *parent, const QString &texto)
{
    frmConsultaArt w(services, std::move(opener), parent);
    if (!texto.isEmpty() && w.buscar(texto))
        return w.result();
    w.exec();
    return w.result();
}
