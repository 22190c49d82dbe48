#pragma once

#include "VistaPrevia.h"

#include <QDialog>
#include <QImage>

class QLabel;

// The preview of a narrow-paper document: the paper as it prints, in a window that scrolls.
// As the printer's preview it shows each document when it ends.
class frmVistaPrevia : public QDialog, public VistaPrevia {
    Q_OBJECT
public:
    explicit frmVistaPrevia(QWidget *parent = nullptr);

    void muestra(const FuenteImpresion &fuente, const DocumentoImpreso &documento) override;
    QImage imagen() const { return m_imagen; }

private:
    QLabel *lblPapel;
    QImage m_imagen;
};
