#pragma once

#include "LookupArticulo.h"
#include "frmConsulta.h"

// The article lookup: frmConsulta over the article definition of the configuration
// (BUSQUEDA-COLUMNA… columns, initial search field, suspended articles left out).
//   LookupResult r = frmConsultaArt::consultaArticulo(services, opener, this, txtArticulo->text());
class frmConsultaArt : public frmConsulta {
    Q_OBJECT
public:
    frmConsultaArt(const LookupServices &services, MaintenanceOpener opener = {}, QWidget *parent = nullptr);

    static LookupResult consultaArticulo(const LookupServices &services, MaintenanceOpener opener = {},
                                         QWidget *parent = nullptr, const QString &texto = QString());

private:
    frmConsultaArt(const LookupServices &services, const LookupArticulo::Definicion &definicion,
                   MaintenanceOpener opener, QWidget *parent);
};
