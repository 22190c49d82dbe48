#include "frmVistaPrevia.h"

#include "DibujoTicket.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

frmVistaPrevia::frmVistaPrevia(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVistaPrevia"));
    setWindowTitle(QStringLiteral("Vista previa del ticket"));
    auto *layout = new QVBoxLayout(this);
    auto *scroll = new QScrollArea(this);
    scroll->setBackgroundRole(QPalette::Dark);
    scroll->setAlignment(Qt::AlignHCenter);
    lblPapel = new QLabel(scroll);
    lblPapel->setObjectName(QStringLiteral("lblPapel"));
    scroll->setWidget(lblPapel);
    layout->addWidget(scroll);
    auto *botones = new QDialogButtonBox(QDialogButtonBox::Close, this);
    botones->button(QDialogButtonBox::Close)->setText(QStringLiteral("Cerrar"));
    botones->button(QDialogButtonBox::Close)->setDefault(true);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(botones);
    resize(440, 680);
}

void frmVistaPrevia::muestra(const FuenteImpresion &fuente, const DocumentoImpreso &documento)
{
    m_imagen = DibujoTicket::imagen(fuente, documento);
    lblPapel->setPixmap(QPixmap::fromImage(m_imagen));
    lblPapel->resize(m_imagen.size());
    resize(qMin(m_imagen.width() + 60, 1300), qMin(m_imagen.height() + 90, 700));
    show();
    raise();
    activateWindow();
}
