#pragma once

#include "DocumentoImpreso.h"

#include <QString>
#include <QStringList>

// A printer of the operating system (CUPS), chosen by name, printing the lines with a font. The
// windows provide it (Qt Print Support); without one, documents for a system printer fail.
class ImpresoraSistema {
public:
    virtual ~ImpresoraSistema() = default;
    // nombre empty: the system's default printer. False with the reason in *detalle.
    virtual bool imprime(const QString &nombre, const FuenteImpresion &fuente, const DocumentoImpreso &documento,
                         QString *detalle) = 0;
    // The names of the installed printers.
    virtual QStringList impresoras() const = 0;
};
