#pragma once

#include <QList>
#include <QString>

// One printed line of a narrow-paper document: text, a picture or a barcode.
struct RenglonImpreso {
    enum class Tipo { Texto, Imagen, CodigoBarras };
    Tipo tipo = Tipo::Texto;
    QString texto; // the line; the picture's file; the barcode's data

    friend bool operator==(const RenglonImpreso &, const RenglonImpreso &) = default;
};

// The font a system printer and the preview draw with (the direct output has its own).
struct FuenteImpresion {
    QString nombre = QStringLiteral("Courier New");
    int tamanio = 10;
    bool negritas = false;
    bool italica = false;
    QString nombreCodigoBarras;
    int tamanioCodigoBarras = 10;
};

// A document as it goes to paper, line by line, 36 columns of text.
struct DocumentoImpreso {
    static constexpr int kAncho = 36;

    QList<RenglonImpreso> renglones;

    void texto(const QString &linea) { renglones << RenglonImpreso{RenglonImpreso::Tipo::Texto, linea}; }
    void imagen(const QString &archivo) { renglones << RenglonImpreso{RenglonImpreso::Tipo::Imagen, archivo}; }
    void codigoBarras(const QString &dato)
    {
        renglones << RenglonImpreso{RenglonImpreso::Tipo::CodigoBarras, dato};
    }
    bool isEmpty() const { return renglones.isEmpty(); }

    // The lines as a reader sees them, each ended by "\n": a picture as "<IMAGEN>" (what a
    // direct output prints in its place), a barcode as "<CODIGO DE BARRAS data>".
    QString textoPlano() const;
};
