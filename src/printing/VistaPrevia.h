#pragma once

#include "DocumentoImpreso.h"

// Where a preview of the paper is drawn: each document, as it ends, with the font of its printer.
class VistaPrevia {
public:
    virtual ~VistaPrevia() = default;
    virtual void muestra(const FuenteImpresion &fuente, const DocumentoImpreso &documento) = 0;
};
