#include "frmShowPrinter.h"

#include "BotonesDialogo.h"
#include "Prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QIntValidator>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>

frmShowPrinter::frmShowPrinter(Prompter &prompter, const QString &printer, QWidget *parent)
    : QDialog(parent), m_prompter(prompter)
{
    setWindowTitle(QStringLiteral("Imprimir"));
    auto *form = new QFormLayout;
    cboImpresora = new QComboBox(this);
    cboImpresora->addItems(QPrinterInfo::availablePrinterNames());
    if (!printer.isEmpty()) {
        if (cboImpresora->findText(printer) < 0)
            cboImpresora->addItem(printer);
        cboImpresora->setCurrentText(printer);
    } else {
        cboImpresora->setCurrentText(QPrinterInfo::defaultPrinterName());
    }
    form->addRow(QStringLiteral("&Impresora:"), cboImpresora);
    txtCopias = new QLineEdit(QStringLiteral("1"), this);
    form->addRow(QStringLiteral("&Copias:"), txtCopias);
    optTodas = new QRadioButton(QStringLiteral("&Todas las páginas"), this);
    optTodas->setChecked(true);
    optRango = new QRadioButton(QStringLiteral("&Páginas"), this);
    txtDesde = new QLineEdit(QStringLiteral("1"), this);
    txtHasta = new QLineEdit(QStringLiteral("1"), this);
    auto *rango = new QHBoxLayout;
    rango->addWidget(optRango);
    rango->addWidget(txtDesde);
    rango->addWidget(new QLabel(QStringLiteral("a"), this));
    rango->addWidget(txtHasta);
    form->addRow(optTodas);
    form->addRow(rango);
    const auto habilita = [this] {
        txtDesde->setEnabled(optRango->isChecked());
        txtHasta->setEnabled(optRango->isChecked());
    };
    connect(optRango, &QRadioButton::toggled, this, habilita);
    habilita();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(botonesAceptarCancelar(this, [this] { accept(); }));
}

QString frmShowPrinter::impresora() const
{
    return cboImpresora->currentText();
}

void frmShowPrinter::accept()
{
    QString mensaje;
    RangoImpresion::Campo campo = RangoImpresion::Campo::Ninguno;
    if (!RangoImpresion::lee(txtCopias->text(), txtDesde->text(), txtHasta->text(), optTodas->isChecked(),
                             m_rango, &mensaje, &campo)) {
        m_prompter.exclamation(mensaje);
        QLineEdit *f = campo == RangoImpresion::Campo::Copias  ? txtCopias
                       : campo == RangoImpresion::Campo::Hasta ? txtHasta
                                                               : txtDesde;
        f->setFocus();
        f->selectAll();
        return;
    }
    QDialog::accept();
}
