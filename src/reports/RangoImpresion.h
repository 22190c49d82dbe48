#pragma once

#include <QString>

// What the print dialog asks: copies and a page range, or every page.
struct RangoImpresion {
    int copias = 1;
    int desde = 1;
    int hasta = 0; // 0: to the last page
    bool todas = true;

    enum class Campo { Ninguno, Copias, Desde, Hasta };
    // Reads the dialog's texts; false with the message and the field to correct.
    static bool lee(const QString &copias, const QString &desde, const QString &hasta, bool todas,
                    RangoImpresion &rango, QString *mensaje, Campo *campo = nullptr);
};
