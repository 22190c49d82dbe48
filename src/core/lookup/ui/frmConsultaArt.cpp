#include "frmConsultaArt.h"

#include "LookupPanel.h"

frmConsultaArt::frmConsultaArt(const LookupServices &services, MaintenanceOpener opener, QWidget *parent)
    : frmConsultaArt(services, LookupArticulo::definicion(services.config, services.connections), std::move(opener),
                     parent)
{
}

frmConsultaArt::frmConsultaArt(const LookupServices &services, const LookupArticulo::Definicion &definicion,
                               MaintenanceOpener opener, QWidget *parent)
    : frmConsulta(services, definicion.definition, std::move(opener), parent)
{
    setObjectName(QStringLiteral("frmConsultaArt"));
    panel()->setCampo(definicion.campoInicial);
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
