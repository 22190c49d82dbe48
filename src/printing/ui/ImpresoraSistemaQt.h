#pragma once

#include "ImpresoraSistema.h"

// The system printers through Qt Print Support (CUPS on Linux). A name that begins with "pdf:"
// writes the document to that PDF file instead, for checks without a printer.
class ImpresoraSistemaQt : public ImpresoraSistema {
public:
    bool imprime(const QString &nombre, const FuenteImpresion &fuente, const DocumentoImpreso &documento,
                 QString *detalle) override;
    QStringList impresoras() const override;
};
