#include "frmModulo.h"

#include "Enfoque.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmModulo::frmModulo(ModuloEditor &editor, const QString &clave, QWidget *parent)
    : QDialog(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("frmModulo"));
    setWindowTitle(m_editor.title());
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    txtClave = new QLineEdit(this);
    txtNombre = new QLineEdit(this);
    txtDescripcion = new QLineEdit(this);
    cmbTipo = new QComboBox(this);
    cmbSuperior = new QComboBox(this);
    txtSecuencia = new QLineEdit(this);
    form->addRow(QStringLiteral("&Clave *:"), txtClave);
    form->addRow(QStringLiteral("&Nombre *:"), txtNombre);
    form->addRow(QStringLiteral("&Descripcion:"), txtDescripcion);
    form->addRow(QStringLiteral("&Tipo de componente *:"), cmbTipo);
    form->addRow(QStringLiteral("Modulo &superior *:"), cmbSuperior);
    form->addRow(QStringLiteral("S&ecuencia *:"), txtSecuencia);
    layout->addLayout(form);
    for (const QString &e : m_editor.tipos())
        cmbTipo->addItem(QString(e).replace(QLatin1Char('\t'), QStringLiteral(" - ")), e);
    for (const QString &e : m_editor.modulos())
        cmbSuperior->addItem(QString(e).replace(QLatin1Char('\t'), QStringLiteral(" - ")), e);
    cmbTipo->setCurrentIndex(-1);
    cmbSuperior->setCurrentIndex(-1);

    const bool query = m_editor.mode() == QLatin1String("Q");
    auto *buttons = new QDialogButtonBox(
        query ? QDialogButtonBox::Close : QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmModulo::cmdGuardar);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    ModuloEditor::Modulo m;
    if (!clave.isEmpty() && m_editor.consultarRegistro(clave, m)) {
        txtClave->setText(m.clave);
        txtNombre->setText(m.nombre);
        txtDescripcion->setText(m.descripcion);
        txtSecuencia->setText(m.secuencia);
        select(cmbTipo, m.tipo);
        select(cmbSuperior, m.claveSup);
    }
    txtClave->setReadOnly(m_editor.mode() != QLatin1String("A"));
    for (QWidget *w : {static_cast<QWidget *>(txtNombre), static_cast<QWidget *>(txtDescripcion),
                       static_cast<QWidget *>(cmbTipo), static_cast<QWidget *>(cmbSuperior),
                       static_cast<QWidget *>(txtSecuencia)})
        w->setEnabled(!query);
    resize(460, height());
}

void frmModulo::select(QComboBox *combo, const QString &key)
{
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemData(i).toString().section(QLatin1Char('\t'), 0, 0) == key)
            combo->setCurrentIndex(i);
}

void frmModulo::cmdGuardar()
{
    ModuloEditor::Modulo m;
    m.clave = txtClave->text();
    m.nombre = txtNombre->text();
    m.descripcion = txtDescripcion->text();
    m.tipo = cmbTipo->currentData().toString();
    m.claveSup = cmbSuperior->currentData().toString();
    m.secuencia = txtSecuencia->text();
    bool more = false;
    if (!m_editor.guardaDatos(m, &more)) {
        const QString &campo = m_editor.campoRechazado();
        enfocaCampo(campo == QLatin1String("clave")       ? static_cast<QWidget *>(txtClave)
                    : campo == QLatin1String("nombre")    ? static_cast<QWidget *>(txtNombre)
                    : campo == QLatin1String("tipo")      ? static_cast<QWidget *>(cmbTipo)
                    : campo == QLatin1String("superior")  ? static_cast<QWidget *>(cmbSuperior)
                    : campo == QLatin1String("secuencia") ? static_cast<QWidget *>(txtSecuencia)
                                                          : nullptr);
        return;
    }
    if (m_editor.mode() == QLatin1String("A") && more) {
        txtClave->clear();
        txtNombre->clear();
        txtDescripcion->clear();
        txtSecuencia->clear();
        txtClave->setFocus();
        return;
    }
    accept();
}
