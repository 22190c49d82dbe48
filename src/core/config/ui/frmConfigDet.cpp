#include "frmConfigDet.h"

#include "cConfigure.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmConfigDet::frmConfigDet(cConfigure &config, Prompter &prompter, const QString &key, QWidget *parent)
    : QDialog(parent), m_editor(config, prompter)
{
    setObjectName(QStringLiteral("frmConfigDet"));
    setWindowTitle(QStringLiteral("Configuración"));
    m_editor.setClave(key);
    const cConfigValue *item = m_editor.item();

    auto *form = new QFormLayout;
    auto *lblClave = new QLabel(item ? item->key() : key, this);
    lblClave->setObjectName(QStringLiteral("lblClave"));
    form->addRow(QStringLiteral("Clave:"), lblClave);
    auto *lblTipo = new QLabel(item ? config.getDataTypeToString(item->dataType()) : QString(), this);
    lblTipo->setObjectName(QStringLiteral("lblTipo"));
    form->addRow(QStringLiteral("Dato:"), lblTipo);

    switch (m_editor.control()) {
    case ConfigEditor::Lista:
        m_cmbValor = new QComboBox(this);
        m_cmbValor->setObjectName(QStringLiteral("cmbValor"));
        m_cmbValor->addItems(m_editor.opciones());
        m_cmbValor->setCurrentIndex(m_cmbValor->findText(m_editor.texto()));
        form->addRow(QStringLiteral("Valor:"), m_cmbValor);
        break;
    case ConfigEditor::SiNo: {
        m_optSi = new QRadioButton(QStringLiteral("Sí"), this);
        m_optSi->setObjectName(QStringLiteral("optSi"));
        m_optNo = new QRadioButton(QStringLiteral("No"), this);
        m_optNo->setObjectName(QStringLiteral("optNo"));
        (m_editor.siNo() ? m_optSi : m_optNo)->setChecked(true);
        auto *row = new QHBoxLayout;
        row->addWidget(m_optSi);
        row->addWidget(m_optNo);
        row->addStretch();
        form->addRow(QStringLiteral("Valor:"), row);
        break;
    }
    case ConfigEditor::Fecha:
        m_dtpValor = new QDateTimeEdit(this);
        m_dtpValor->setObjectName(QStringLiteral("dtpValor"));
        m_dtpValor->setMinimumDate(QDate(1899, 12, 30));
        // A time of day (the agenda hours) is shown without its zero date.
        m_dtpValor->setDisplayFormat(m_editor.fecha().date() == QDate(1899, 12, 30)
                                         ? QStringLiteral("HH:mm")
                                         : QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        m_dtpValor->setDateTime(m_editor.fecha().isValid() ? m_editor.fecha() : QDateTime::currentDateTime());
        form->addRow(QStringLiteral("Valor:"), m_dtpValor);
        break;
    case ConfigEditor::Numero:
    case ConfigEditor::Texto:
        m_txtValor = new QLineEdit(m_editor.texto(), this);
        m_txtValor->setObjectName(QStringLiteral("txtValor"));
        if (m_editor.control() == ConfigEditor::Numero)
            m_txtValor->setAlignment(Qt::AlignRight);
        form->addRow(QStringLiteral("Valor:"), m_txtValor);
        break;
    }

    auto *cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setDefault(true);
    auto *cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    connect(cmdAceptar, &QPushButton::clicked, this, &frmConfigDet::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAceptar);
    buttons->addWidget(cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

QVariant frmConfigDet::entrada() const
{
    switch (m_editor.control()) {
    case ConfigEditor::Lista:
        return m_cmbValor->currentText();
    case ConfigEditor::SiNo:
        if (!m_optSi->isChecked() && !m_optNo->isChecked())
            return {};
        return m_optSi->isChecked();
    case ConfigEditor::Fecha:
        return m_dtpValor->dateTime();
    default:
        return m_txtValor->text();
    }
}

void frmConfigDet::cmdAceptar_Click()
{
    if (m_editor.aceptar(entrada()))
        accept();
}
