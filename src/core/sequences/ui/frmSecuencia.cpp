#include "frmSecuencia.h"

#include "OrdenPorEncabezado.h"

#include "Enfoque.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

frmSecuencia::frmSecuencia(ConnectionProvider &connections, Prompter &prompter, const QString &modo,
                           const QString &clave, QWidget *parent)
    : QWidget(parent), m_editor(connections, prompter), m_catalogo(connections, prompter)
{
    setObjectName(QStringLiteral("frmSecuencia"));
    m_soloConsulta = modo.trimmed().toUpper() == QLatin1String("Q");

    m_grdCatalogo = new QTableView(this);
    m_grdCatalogo->setObjectName(QStringLiteral("grdCatalogo"));
    m_orden = ordenablePorEncabezado(m_grdCatalogo, &m_catalogo);
    m_grdCatalogo->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdCatalogo->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grdCatalogo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdCatalogo->verticalHeader()->hide();
    m_grdCatalogo->horizontalHeader()->setStretchLastSection(true);

    const auto numero = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    m_txtClave = new QLineEdit(this);
    m_txtClave->setObjectName(QStringLiteral("txtClave"));
    m_txtClave->setMaxLength(100);
    m_txtMinimo = numero("txtMinimo");
    m_txtMaximo = numero("txtMaximo");
    m_txtValor = numero("txtValor");
    m_txtIncremento = numero("txtIncremento");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Clave *:"), m_txtClave);
    form->addRow(QStringLiteral("Límite inferior *:"), m_txtMinimo);
    form->addRow(QStringLiteral("Límite superior *:"), m_txtMaximo);
    form->addRow(QStringLiteral("Valor *:"), m_txtValor);
    form->addRow(QStringLiteral("Incremento *:"), m_txtIncremento);

    m_cmdNuevo = new QPushButton(QStringLiteral("&Nuevo"), this);
    m_cmdNuevo->setObjectName(QStringLiteral("cmdNuevo"));
    m_cmdAceptar = new QPushButton(this);
    m_cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    m_cmdEliminar = new QPushButton(QStringLiteral("&Eliminar"), this);
    m_cmdEliminar->setObjectName(QStringLiteral("cmdEliminar"));
    auto *cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    m_cmdNuevo->setVisible(!m_soloConsulta);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdNuevo);
    buttons->addStretch();
    buttons->addWidget(m_cmdAceptar);
    buttons->addWidget(m_cmdEliminar);
    buttons->addWidget(cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grdCatalogo, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_cmdNuevo, &QPushButton::clicked, this, &frmSecuencia::cmdNuevo_Click);
    connect(m_cmdAceptar, &QPushButton::clicked, this, &frmSecuencia::cmdAceptar_Click);
    connect(m_cmdEliminar, &QPushButton::clicked, this, &frmSecuencia::cmdEliminar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QWidget::close);
    connect(m_txtClave, &QLineEdit::returnPressed, this, [this] {
        if (m_editor.modo() != QLatin1String("A"))
            consulta();
    });
    connect(m_grdCatalogo, &QAbstractItemView::clicked, this, &frmSecuencia::filaElegida);
    connect(m_grdCatalogo, &QAbstractItemView::activated, this, &frmSecuencia::filaElegida);

    m_catalogo.recargar();
    setModo(modo);
    if (!clave.isEmpty() && m_editor.modo() != QLatin1String("A")) {
        m_txtClave->setText(clave);
        consulta();
    }
    resize(560, 420);
}

void frmSecuencia::setModo(const QString &modo)
{
    m_editor.setModo(m_soloConsulta ? QStringLiteral("Q") : modo);
    const QString &m = m_editor.modo();
    const bool consultaSola = m == QLatin1String("Q");
    setWindowTitle(m_editor.titulo());
    for (QLineEdit *e : {m_txtMinimo, m_txtMaximo, m_txtValor, m_txtIncremento})
        e->setReadOnly(consultaSola);
    m_cmdAceptar->setText(consultaSola ? QStringLiteral("C&onsultar") : QStringLiteral("&Aceptar"));
    m_cmdEliminar->setVisible(m != QLatin1String("A"));
}

SecuenciaEditor::Secuencia frmSecuencia::datos() const
{
    return {m_txtClave->text(), m_txtMinimo->text(), m_txtMaximo->text(), m_txtValor->text(),
            m_txtIncremento->text()};
}

void frmSecuencia::setDatos(const SecuenciaEditor::Secuencia &s)
{
    m_txtClave->setText(s.clave);
    m_txtMinimo->setText(s.minimo);
    m_txtMaximo->setText(s.maximo);
    m_txtValor->setText(s.valor);
    m_txtIncremento->setText(s.incremento);
}

void frmSecuencia::limpia()
{
    setDatos({});
    m_grdCatalogo->clearSelection();
    m_txtClave->setFocus();
}

void frmSecuencia::filaElegida(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    setModo(QStringLiteral("C"));
    m_txtClave->setText(m_catalogo.fila(m_orden->mapToSource(index).row()).clave);
    consulta();
}

void frmSecuencia::consulta()
{
    SecuenciaEditor::Secuencia s;
    if (m_editor.consultarRegistro(m_txtClave->text(), &s))
        setDatos(s);
}

void frmSecuencia::cmdNuevo_Click()
{
    setModo(QStringLiteral("A"));
    limpia();
}

void frmSecuencia::cmdAceptar_Click()
{
    const QString &modo = m_editor.modo();
    if (modo == QLatin1String("A")) {
        const QString clave = m_txtClave->text().trimmed();
        if (!m_editor.agregarRegistro(datos())) {
            enfocaRechazado();
            return;
        }
        m_catalogo.recargar();
        if (m_editor.continuarAgregando()) {
            limpia();
        } else {
            setModo(QStringLiteral("C"));
            m_grdCatalogo->selectRow(
                m_orden->mapFromSource(m_catalogo.index(m_catalogo.filaDe(clave), 0)).row());
        }
    } else if (modo == QLatin1String("C")) {
        if (m_editor.modificarRegistro(datos()))
            m_catalogo.recargar();
        else
            enfocaRechazado();
    } else {
        consulta();
    }
}

void frmSecuencia::enfocaRechazado()
{
    const QString &campo = m_editor.campoRechazado();
    enfocaCampo(campo == QLatin1String("clave")        ? m_txtClave
                : campo == QLatin1String("minimo")     ? m_txtMinimo
                : campo == QLatin1String("maximo")     ? m_txtMaximo
                : campo == QLatin1String("incremento") ? m_txtIncremento
                : campo == QLatin1String("valor")      ? m_txtValor
                                                       : nullptr);
}

void frmSecuencia::cmdEliminar_Click()
{
    if (!m_editor.eliminarRegistro(m_txtClave->text()))
        return;
    m_catalogo.recargar();
    limpia();
}

void frmSecuencia::soloFormulario()
{
    m_grdCatalogo->hide();
    m_cmdNuevo->hide();
}
