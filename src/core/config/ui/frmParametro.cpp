#include "frmParametro.h"

#include "Enfoque.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmParametro::frmParametro(ConnectionProvider &connections, Prompter &prompter, const QString &modo,
                           QWidget *parent)
    : QWidget(parent), m_editor(connections, prompter)
{
    setObjectName(QStringLiteral("frmParametro"));
    m_editor.setModo(modo.toUpper());
    const bool alta = m_editor.modo() == QLatin1String("A");
    const bool consulta = m_editor.modo() == QLatin1String("Q");
    setWindowTitle(
        alta ? QStringLiteral("Parámetros - Alta")
             : (consulta ? QStringLiteral("Parámetros - Consulta") : QStringLiteral("Parámetros - Cambio")));

    m_cmbTipo = new QComboBox(this);
    m_cmbTipo->setObjectName(QStringLiteral("cmbTipo"));
    m_cmbTipo->setEditable(true);
    m_cmbTipo->addItems(m_editor.tipos());
    m_cmbTipo->setCurrentIndex(-1);
    m_txtClave = new QLineEdit(this);
    m_txtClave->setObjectName(QStringLiteral("txtClave"));
    m_txtNombre = new QLineEdit(this);
    m_txtNombre->setObjectName(QStringLiteral("txtNombre"));
    m_txtValor = new QPlainTextEdit(this);
    m_txtValor->setObjectName(QStringLiteral("txtValor"));
    m_txtNombre->setReadOnly(consulta);
    m_txtValor->setReadOnly(consulta);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Tipo *:"), m_cmbTipo);
    form->addRow(QStringLiteral("Clave *:"), m_txtClave);
    form->addRow(QStringLiteral("Nombre *:"), m_txtNombre);
    form->addRow(QStringLiteral("Valor:"), m_txtValor);

    m_cmdAceptar =
        new QPushButton(consulta ? QStringLiteral("C&onsultar") : QStringLiteral("&Aceptar"), this);
    m_cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    m_cmdEliminar = new QPushButton(QStringLiteral("&Eliminar"), this);
    m_cmdEliminar->setObjectName(QStringLiteral("cmdEliminar"));
    m_cmdEliminar->setVisible(!alta);
    auto *cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdAceptar);
    buttons->addWidget(m_cmdEliminar);
    buttons->addWidget(cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_cmdAceptar, &QPushButton::clicked, this, &frmParametro::cmdAceptar_Click);
    connect(m_cmdEliminar, &QPushButton::clicked, this, &frmParametro::cmdEliminar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QWidget::close);
    if (!alta)
        connect(m_txtClave, &QLineEdit::returnPressed, this, &frmParametro::consulta);
}

ParametroEditor::Parametro frmParametro::datos() const
{
    return {m_cmbTipo->currentText(), m_txtClave->text(), m_txtNombre->text(), m_txtValor->toPlainText()};
}

void frmParametro::setDatos(const ParametroEditor::Parametro &p)
{
    m_cmbTipo->setEditText(p.tipo);
    m_txtClave->setText(p.clave);
    m_txtNombre->setText(p.nombre);
    m_txtValor->setPlainText(p.valor);
}

void frmParametro::limpia()
{
    m_txtClave->clear();
    m_txtNombre->clear();
    m_txtValor->clear();
    m_txtClave->setFocus();
}

void frmParametro::consulta()
{
    ParametroEditor::Parametro p;
    if (m_editor.consultarRegistro(m_cmbTipo->currentText(), m_txtClave->text(), &p))
        setDatos(p);
}

void frmParametro::enfocaRechazado()
{
    const QString &campo = m_editor.campoRechazado();
    enfocaCampo(campo == QLatin1String("tipo")     ? static_cast<QWidget *>(m_cmbTipo)
                : campo == QLatin1String("clave")  ? m_txtClave
                : campo == QLatin1String("nombre") ? m_txtNombre
                                                   : nullptr);
}

void frmParametro::cmdAceptar_Click()
{
    const QString &modo = m_editor.modo();
    if (modo == QLatin1String("A")) {
        if (!m_editor.agregarRegistro(datos())) {
            enfocaRechazado();
            return;
        }
        if (m_editor.continuarAgregando())
            limpia();
        else
            close();
    } else if (modo == QLatin1String("C")) {
        if (m_editor.modificarRegistro(datos()))
            close();
        else
            enfocaRechazado();
    } else {
        consulta();
    }
}

void frmParametro::cmdEliminar_Click()
{
    if (m_editor.eliminarRegistro(m_cmbTipo->currentText(), m_txtClave->text()))
        limpia();
}
