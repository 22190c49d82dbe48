#pragma once

#include <QStringList>

namespace db {
class Connection;

// The demo reports as stored designs (tReporte and the design tables), their entries in the
// Reportes menu (a heading per area, a module "R" + rep_Clave per report) and the rights of the
// demo profiles: every report for the administrator, the day's cash cut for the cashier too.
// Their programs are written from these designs by the report feature, above this layer.
// Each report, module and right only when its key is missing.
void populateDemoReportes(Connection &c);

// The keys of the demo reports.
QStringList demoReportes();

} // namespace db
