#include "ImpresoraSistemaQt.h"

#include "DibujoTicket.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

bool ImpresoraSistemaQt::imprime(const QString &nombre, const FuenteImpresion &fuente,
                                 const DocumentoImpreso &documento, QString *detalle)
{
    QPrinter printer(QPrinter::HighResolution);
    if (nombre.startsWith(QLatin1String("pdf:"))) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(nombre.mid(4));
    } else {
        if (!nombre.isEmpty() && !QPrinterInfo::availablePrinterNames().contains(nombre)) {
            if (detalle)
                *detalle = QStringLiteral("La impresora «%1» no está instalada").arg(nombre);
            return false;
        }
        if (!nombre.isEmpty())
            printer.setPrinterName(nombre);
        else if (QPrinterInfo::defaultPrinterName().isEmpty()) {
            if (detalle)
                *detalle = QStringLiteral("No hay una impresora predeterminada");
            return false;
        }
    }
    printer.setDocName(QStringLiteral("Mostrador"));
    QPainter p;
    if (!p.begin(&printer)) {
        if (detalle)
            *detalle = QStringLiteral("No se pudo iniciar la impresión en «%1»").arg(nombre);
        return false;
    }
    const QRect pagina = printer.pageLayout().paintRectPixels(printer.resolution());
    // A document longer than the page goes on as many pages as it needs, whole lines each.
    DocumentoImpreso hoja;
    const auto vacia = [&] {
        if (hoja.isEmpty())
            return;
        DibujoTicket::dibuja(p, fuente, hoja, QRect(0, 0, pagina.width(), pagina.height()));
        hoja.renglones.clear();
    };
    for (const RenglonImpreso &r : documento.renglones) {
        DocumentoImpreso prueba = hoja;
        prueba.renglones << r;
        if (!hoja.isEmpty() && DibujoTicket::alto(fuente, prueba, pagina.width(), &printer) > pagina.height()) {
            vacia();
            printer.newPage();
        }
        hoja.renglones << r;
    }
    vacia();
    if (!p.end()) {
        if (detalle)
            *detalle = QStringLiteral("La impresión en «%1» no terminó").arg(nombre);
        return false;
    }
    return true;
}

QStringList ImpresoraSistemaQt::impresoras() const
{
    return QPrinterInfo::availablePrinterNames();
}
