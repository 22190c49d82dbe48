#pragma once

#include "DocumentoImpreso.h"

#include <QFont>
#include <QImage>

class QPainter;

// Draws a narrow-paper document as the paper shows it: the lines in the printer's font, pictures
// scaled to the paper's width and barcodes as real Code 128 bars with their text below.
namespace DibujoTicket {

QFont fuente(const FuenteImpresion &f);
// The height the document takes at ancho pixels wide.
int alto(const FuenteImpresion &f, const DocumentoImpreso &documento, int ancho, QPaintDevice *dispositivo = nullptr);
// Paints from the top of the area; a picture that cannot be read is drawn as "<IMAGEN>".
void dibuja(QPainter &p, const FuenteImpresion &f, const DocumentoImpreso &documento, const QRect &area);
// The whole document on a white strip of paper with margins.
QImage imagen(const FuenteImpresion &f, const DocumentoImpreso &documento);

} // namespace DibujoTicket
