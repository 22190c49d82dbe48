#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

// The "Aceptar" (default: Enter) and "Cancelar" (Escape) buttons of a small dialog, named
// cmdAceptar and cmdCancelar; Cancelar rejects, and Aceptar runs acepta, which accepts the
// dialog when the data will do.
template <typename Dialogo, typename Acepta>
QDialogButtonBox *botonesAceptarCancelar(Dialogo *dialogo, Acepta acepta)
{
    auto *botones = new QDialogButtonBox(dialogo);
    QPushButton *aceptar = botones->addButton(QStringLiteral("&Aceptar"), QDialogButtonBox::AcceptRole);
    aceptar->setObjectName(QStringLiteral("cmdAceptar"));
    aceptar->setDefault(true);
    botones->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCancelar"));
    QObject::connect(botones, &QDialogButtonBox::accepted, dialogo, acepta);
    QObject::connect(botones, &QDialogButtonBox::rejected, dialogo, &QDialog::reject);
    return botones;
}
