#include "frmCorteIni.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

frmCorteIni::frmCorteIni(Corte &corte, const Corte::Apertura &apertura, QWidget *parent)
    : QDialog(parent), m_corte(corte), m_apertura(apertura)
{
    setObjectName(QStringLiteral("frmCorteIni"));
    setWindowTitle(QStringLiteral("Apertura de corte de caja"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    const auto dato = [this, form](const QString &nombre, const QString &etiqueta, const QString &texto) {
        auto *l = new QLabel(texto, this);
        l->setObjectName(nombre);
        form->addRow(etiqueta, l);
    };
    dato(QStringLiteral("lblTerminal"), QStringLiteral("Terminal:"), apertura.terminal);
    dato(QStringLiteral("lblUsuario"), QStringLiteral("Usuario:"), apertura.usuario);
    dato(QStringLiteral("lblFecha"), QStringLiteral("Fecha:"),
         QLocale(QLocale::Spanish, QLocale::Mexico).toString(apertura.fecha, QStringLiteral("dd/MM/yyyy HH:mm")));
    dato(QStringLiteral("lblAnio"), QStringLiteral("Año:"), QString::number(apertura.anio));
    dato(QStringLiteral("lblNumero"), QStringLiteral("Numero de corte:"), QString::number(apertura.numero));
    txtImporte = new QLineEdit(this);
    txtImporte->setObjectName(QStringLiteral("txtImporte"));
    txtImporte->setAlignment(Qt::AlignRight);
    if (apertura.importeSugerido)
        txtImporte->setText(apertura.importeSugerido->toString(2));
    form->addRow(QStringLiteral("&Importe inicial:"), txtImporte);
    layout->addLayout(form);

    auto *botones = new QDialogButtonBox(this);
    auto *aceptar = botones->addButton(QStringLiteral("&Aceptar"), QDialogButtonBox::AcceptRole);
    aceptar->setObjectName(QStringLiteral("cmdAceptar"));
    aceptar->setDefault(true);
    botones->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCancelar"));
    layout->addWidget(botones);
    connect(botones, &QDialogButtonBox::accepted, this, &frmCorteIni::cmdAceptar);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    txtImporte->setFocus();
    txtImporte->selectAll();
}

bool frmCorteIni::abrir(Corte &corte, QWidget *parent)
{
    const auto apertura = corte.preparaApertura();
    if (!apertura)
        return false;
    frmCorteIni w(corte, *apertura, parent);
    return w.exec() == QDialog::Accepted;
}

void frmCorteIni::cmdAceptar()
{
    if (m_corte.abre(m_apertura, txtImporte->text())) {
        accept();
        return;
    }
    if (m_corte.importeRechazado()) {
        txtImporte->setFocus();
        txtImporte->selectAll();
    }
}
