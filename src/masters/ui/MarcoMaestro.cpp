#include "MarcoMaestro.h"

#include "Log.h"
#include "Prompter.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace marco {

QString titulo(const QString &sujeto, QChar modo)
{
    return sujeto + (modo == u'A'   ? QStringLiteral(" - Alta")
                     : modo == u'C' ? QStringLiteral(" - Cambio")
                                    : QStringLiteral(" - Consulta"));
}

bool carga(Prompter &prompter, QChar modo, const std::function<void()> &nuevo, const std::function<bool()> &carga)
{
    try {
        if (modo != u'A')
            return carga();
        nuevo();
        return true;
    } catch (const std::exception &e) {
        reportError(prompter, QString(), QStringLiteral("consultarRegistro"), ErrorInfo::fromException(e));
        return false;
    }
}

QPushButton *arma(QDialog *ventana, QTabWidget *tabs, QChar modo, const std::function<void()> &guardar)
{
    auto *cmdGuardar = new QPushButton(QStringLiteral("&Guardar"));
    cmdGuardar->setObjectName(QStringLiteral("cmdGuardar"));
    cmdGuardar->setDefault(true);
    auto *cancelar = new QPushButton(modo == u'Q' ? QStringLiteral("&Cerrar") : QStringLiteral("&Cancelar"));
    cancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cancelar->setAutoDefault(false);
    QObject::connect(cmdGuardar, &QPushButton::clicked, ventana, guardar);
    QObject::connect(cancelar, &QPushButton::clicked, ventana, &QDialog::reject);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdGuardar);
    botones->addWidget(cancelar);

    auto *layout = new QVBoxLayout(ventana);
    layout->addWidget(tabs, 1);
    layout->addLayout(botones);
    ventana->resize(860, 520);
    return cmdGuardar;
}

void soloLecturaVisible(QLineEdit *t)
{
    if (!t)
        return;
    t->setReadOnly(true);
    QPalette gris = t->palette();
    gris.setColor(QPalette::Base, gris.color(QPalette::Window));
    t->setPalette(gris);
}

void soloLectura(const QHash<QString, QWidget *> &campos, QPushButton *guardar)
{
    for (QWidget *w : campos) {
        if (auto *t = qobject_cast<QLineEdit *>(w))
            soloLecturaVisible(t);
        else
            w->setEnabled(false);
    }
    guardar->setVisible(false);
}

void selecciona(QComboBox *cmb, const QString &valorDado)
{
    const QSignalBlocker block(cmb);
    const QString valor = valorDado.trimmed();
    int i = cmb->findData(valor);
    if (i < 0 && !valor.isEmpty()) {
        cmb->addItem(valor, valor);
        i = cmb->count() - 1;
    }
    cmb->setCurrentIndex(qMax(0, i));
}

Rejilla::Rejilla(QWidget *w) : layout(new QGridLayout(w)) {}

void Rejilla::agrega(const QString &titulo, QWidget *campo, int ancho)
{
    if (columna + ancho > 2) {
        ++fila;
        columna = 0;
    }
    layout->addWidget(new QLabel(titulo), fila, columna * 2);
    layout->addWidget(campo, fila, columna * 2 + 1, 1, ancho * 2 - 1);
    columna += ancho;
    if (columna >= 2) {
        ++fila;
        columna = 0;
    }
}

void Rejilla::termina()
{
    layout->setRowStretch(fila + 1, 1);
}

} // namespace marco
