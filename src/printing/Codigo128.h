#pragma once

#include <QList>
#include <QString>

// Code 128 (code set B) as bar widths, for drawing a barcode where no printer command makes it:
// the preview and the system printer. The printer's own command is EscPos::codigo128.
namespace Codigo128 {

// Widths in modules, bar first and alternating bar/space: start B, the data, the check symbol
// and the stop. Characters outside printable ASCII are drawn as "?".
QList<int> modulos(const QString &dato);

} // namespace Codigo128
