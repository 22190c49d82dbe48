#include "frmMaestro.h"

#include "Enfoque.h"
#include "Log.h"
#include "Prompter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

frmMaestro::frmMaestro(EditorMaestro &editor, Prompter &prompter, QChar modo, const QString &sujeto,
                       const QString &clave, QWidget *parent)
    : QDialog(parent), m_prompter(prompter), m_modo(modo), m_maestro(editor)
{
    setWindowTitle(sujeto + (modo == u'A'   ? QStringLiteral(" - Alta")
                             : modo == u'C' ? QStringLiteral(" - Cambio")
                                            : QStringLiteral(" - Consulta")));
    try {
        if (modo == u'A')
            m_maestro.nuevo();
        else
            m_valido = m_maestro.carga(clave);
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("consultarRegistro"), ErrorInfo::fromException(e));
        m_valido = false;
    }
    m_tabs = new QTabWidget;
}

frmMaestro::~frmMaestro()
{
    sueltaCampos(this);
}

void frmMaestro::arma(const QString &campoClave, const QString &campoNombre)
{
    m_campoClave = campoClave;
    m_cmdGuardar = new QPushButton(QStringLiteral("&Guardar"));
    m_cmdGuardar->setObjectName(QStringLiteral("cmdGuardar"));
    m_cmdGuardar->setDefault(true);
    auto *cancelar =
        new QPushButton(m_modo == u'Q' ? QStringLiteral("&Cerrar") : QStringLiteral("&Cancelar"));
    cancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cancelar->setAutoDefault(false);
    connect(m_cmdGuardar, &QPushButton::clicked, this, &frmMaestro::cmdGuardar_Click);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(m_cmdGuardar);
    botones->addWidget(cancelar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(botones);
    resize(860, 520);

    muestra();
    if (m_modo == u'Q')
        soloLectura();
    else if (m_modo == u'C')
        marco::soloLecturaVisible(qobject_cast<QLineEdit *>(m_campos.value(campoClave)));
    m_campos.value(m_modo == u'A' ? campoClave : campoNombre)->setFocus();
}

void frmMaestro::soloLectura()
{
    for (QWidget *w : std::as_const(m_campos)) {
        if (auto *t = qobject_cast<QLineEdit *>(w))
            marco::soloLecturaVisible(t);
        else
            w->setEnabled(false);
    }
    m_cmdGuardar->setVisible(false);
}

QLineEdit *frmMaestro::texto(const QString &columna, int longitud)
{
    auto *t = new QLineEdit;
    t->setObjectName(columna);
    if (longitud > 0)
        t->setMaxLength(longitud);
    m_campos.insert(columna, t);
    connect(t, &QLineEdit::textChanged, this, [this, columna](const QString &v) {
        if (!m_mostrando)
            m_maestro.setTexto(columna, v);
    });
    return t;
}

void frmMaestro::llenaCombo(const QString &columna)
{
    auto *cmb = qobject_cast<QComboBox *>(m_campos.value(columna));
    if (!cmb)
        return;
    const QSignalBlocker block(cmb);
    cmb->clear();
    try {
        for (const EditorMaestro::Opcion &o : m_maestro.opciones(columna))
            cmb->addItem(o.first.isEmpty() ? QString() : o.first + QStringLiteral(" - ") + o.second, o.first);
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), objectName(), ErrorInfo::fromException(e));
    }
    if (!m_mostrando && cmb->findData(m_maestro.texto(columna).trimmed()) < 0)
        m_maestro.setTexto(columna, QString());
    marco::selecciona(cmb, m_maestro.texto(columna));
}

void frmMaestro::cmdGuardar_Click()
{
    if (m_modo == u'Q')
        return;
    const bool nuevo = m_maestro.esNuevo();
    if (!m_maestro.guardaDatos()) {
        const QString campo = m_maestro.campoRechazado();
        if (campo.isEmpty())
            return; // a database error, already reported
        m_tabs->setCurrentIndex(m_maestro.indicePestanaRechazada());
        enfocaCampo(m_campos.value(campo));
        return;
    }
    m_guardado = true;
    if (nuevo && m_maestro.continuar()) {
        // The next record, from the first tab.
        m_maestro.nuevo();
        muestra();
        m_tabs->setCurrentIndex(0);
        enfocaCampo(m_campos.value(m_campoClave));
        return;
    }
    accept();
}

namespace marco {

void soloLecturaVisible(QLineEdit *t)
{
    if (!t)
        return;
    t->setReadOnly(true);
    QPalette gris = t->palette();
    gris.setColor(QPalette::Base, gris.color(QPalette::Window));
    t->setPalette(gris);
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
