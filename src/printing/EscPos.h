#pragma once

#include "DocumentoImpreso.h"
#include "PaginaCodigos.h"

#include <QByteArray>

// The bytes an ESC/POS receipt printer takes for a document: reset, the code page selected
// (ESC t n), each text line encoded for it and ended by LF, a picture as the line "<IMAGEN>",
// a barcode as the printer's own CODE128 command (GS k), centred with its digits below.
namespace EscPos {

QByteArray documento(const DocumentoImpreso &documento, const PaginaCodigos &pagina);
// GS k for data in code set B; characters outside printable ASCII become "?", and the data is
// cut to what the command can carry.
QByteArray codigo128(const QString &dato);

} // namespace EscPos
