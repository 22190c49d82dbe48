#include "frmCambioPrecio.h"

#include "Enfoque.h"
#include "Prompter.h"
#include "VbsHighlighter.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

frmCambioPrecio::frmCambioPrecio(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter,
                                 const QString &modo, const QString &clave, QWidget *parent)
    : QDialog(parent), m_editor(connections, permisos, prompter, modo)
{
    setObjectName(QStringLiteral("frmCambioPrecio"));
    setWindowTitle(m_editor.titulo());

    m_txtClave = new QLineEdit;
    m_txtClave->setObjectName(QStringLiteral("txtClave"));
    m_txtClave->setMaxLength(CambioPrecioEditor::kLongitudClave);
    m_txtNombre = new QLineEdit;
    m_txtNombre->setObjectName(QStringLiteral("txtNombre"));
    m_txtNombre->setMaxLength(CambioPrecioEditor::kLongitudNombre);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Clave *"), m_txtClave);
    form->addRow(QStringLiteral("Nombre *"), m_txtNombre);

    m_lblPredefinido =
        new QLabel(QStringLiteral("Este metodo lo calcula el programa; no tiene formula propia."));
    m_lblPredefinido->setObjectName(QStringLiteral("lblPredefinido"));

    m_txtScript = new QPlainTextEdit;
    m_txtScript->setObjectName(QStringLiteral("txtScript"));
    m_txtScript->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_txtScript->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtScript->setTabChangesFocus(false);
    auto *highlighter = new VbsHighlighter(m_txtScript->document());
    QStringList objetos;
    for (const QString &v : CambioPrecioEditor::valoresScript())
        objetos << v.section(u'.', 0, 0);
    highlighter->setObjectNames(objetos);

    m_lstValores = new QListWidget;
    m_lstValores->setObjectName(QStringLiteral("lstValores"));
    m_lstValores->addItems(CambioPrecioEditor::valoresScript());
    m_lstValores->setToolTip(QStringLiteral("Doble clic para insertar el valor en la formula"));
    m_lstValores->setMaximumWidth(220);
    m_cmdInsertar = new QPushButton(QStringLiteral("&Insertar"));
    m_cmdInsertar->setObjectName(QStringLiteral("cmdInsertar"));
    m_cmdInsertar->setAutoDefault(false);
    connect(m_cmdInsertar, &QPushButton::clicked, this, &frmCambioPrecio::cmdInsertar_Click);
    connect(m_lstValores, &QListWidget::itemDoubleClicked, this, &frmCambioPrecio::cmdInsertar_Click);

    auto *valores = new QVBoxLayout;
    valores->addWidget(new QLabel(QStringLiteral("Valores que recibe la formula")));
    valores->addWidget(m_lstValores);
    valores->addWidget(m_cmdInsertar);
    auto *editorLayout = new QHBoxLayout;
    editorLayout->addWidget(m_txtScript, 1);
    editorLayout->addLayout(valores);
    m_fraScript = new QWidget;
    m_fraScript->setObjectName(QStringLiteral("fraScript"));
    auto *scriptLayout = new QVBoxLayout(m_fraScript);
    scriptLayout->setContentsMargins(0, 0, 0, 0);
    scriptLayout->addWidget(new QLabel(QStringLiteral("Formula (script VBScript)")));
    scriptLayout->addLayout(editorLayout);

    m_cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"));
    m_cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    m_cmdAceptar->setDefault(true);
    m_cmdAceptar->setVisible(!m_editor.soloLectura());
    auto *cancelar =
        new QPushButton(m_editor.soloLectura() ? QStringLiteral("&Cerrar") : QStringLiteral("&Cancelar"));
    cancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cancelar->setAutoDefault(false);
    connect(m_cmdAceptar, &QPushButton::clicked, this, &frmCambioPrecio::cmdAceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdAceptar);
    buttons->addWidget(cancelar);

    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addWidget(m_lblPredefinido);
    main->addWidget(m_fraScript, 1);
    main->addLayout(buttons);
    resize(760, 520);

    const bool alta = m_editor.modo() == QLatin1String("A");
    m_txtClave->setReadOnly(!alta);
    m_txtNombre->setReadOnly(m_editor.soloLectura());
    m_txtScript->setReadOnly(m_editor.soloLectura());
    m_cmdInsertar->setEnabled(!m_editor.soloLectura());
    connect(m_txtClave, &QLineEdit::editingFinished, this, &frmCambioPrecio::claveCapturada);
    connect(m_txtClave, &QLineEdit::textChanged, this, &frmCambioPrecio::muestraScript);

    limpia();
    if (!alta) {
        CambioPrecioEditor::Metodo m;
        m_valido = m_editor.consultarRegistro(clave, &m);
        if (m_valido)
            setDatos(m);
    }
}

bool frmCambioPrecio::abrir(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter,
                            QChar comando, const QString &clave, QWidget *parent)
{
    const QChar c = comando.toUpper();
    if (c == u'B')
        return CambioPrecioEditor(connections, permisos, prompter).eliminarRegistro(clave);
    const QString modo = c == u'A'   ? QStringLiteral("A")
                         : c == u'Q' ? QStringLiteral("Q")
                                     : QStringLiteral("C");
    CambioPrecioEditor rights(connections, permisos, prompter, modo);
    if (!rights.puede(c)) {
        prompter.exclamation(CambioPrecioEditor::kSinAcceso);
        return false;
    }
    frmCambioPrecio window(connections, permisos, prompter, modo, clave, parent);
    if (!window.valido())
        return false;
    window.exec();
    return window.guardado();
}

CambioPrecioEditor::Metodo frmCambioPrecio::datos() const
{
    return {m_txtClave->text(), m_txtNombre->text(), m_txtScript->toPlainText()};
}

void frmCambioPrecio::setDatos(const CambioPrecioEditor::Metodo &m)
{
    m_txtClave->setText(m.clave);
    m_txtNombre->setText(m.nombre);
    m_txtScript->setPlainText(m.script);
    muestraScript();
}

void frmCambioPrecio::muestraScript()
{
    // The built-in methods are computed by the program: nothing to write for them.
    const bool predefinido = CambioPrecioEditor::esPredefinido(m_txtClave->text());
    m_fraScript->setVisible(!predefinido);
    m_lblPredefinido->setVisible(predefinido);
}

void frmCambioPrecio::claveCapturada()
{
    if (m_editor.modo() != QLatin1String("A") || !m_txtScript->toPlainText().trimmed().isEmpty())
        return;
    const QString clave = m_txtClave->text().trimmed();
    if (clave.isEmpty() || CambioPrecioEditor::esPredefinido(clave))
        return;
    // A formula stored under this key before (from the script catalogue) is the starting point.
    QString texto;
    try {
        if (m_editor.scriptGuardado(clave, &texto))
            m_txtScript->setPlainText(texto);
    } catch (const std::exception &) {
        // Reading a suggestion is no reason to stop the form; saving reports real failures.
    }
}

void frmCambioPrecio::limpia()
{
    m_txtClave->clear();
    m_txtNombre->clear();
    m_txtScript->clear();
    muestraScript();
    (m_editor.modo() == QLatin1String("A") ? m_txtClave : m_txtNombre)->setFocus();
}

void frmCambioPrecio::enfocaRechazado()
{
    const QString &campo = m_editor.campoRechazado();
    if (campo == QLatin1String("clave")) {
        enfocaCampo(m_txtClave);
    } else if (campo == QLatin1String("nombre")) {
        enfocaCampo(m_txtNombre);
    } else if (campo == QLatin1String("script")) {
        m_txtScript->setFocus();
        if (const int line = m_editor.lineaError(); line > 0) {
            // An error found at the end (a block left open) is reported past the last line.
            QTextBlock block = m_txtScript->document()->findBlockByNumber(line - 1);
            if (!block.isValid())
                block = m_txtScript->document()->lastBlock();
            m_txtScript->setTextCursor(QTextCursor(block));
        }
    }
}

void frmCambioPrecio::cmdInsertar_Click()
{
    if (m_editor.soloLectura() || !m_lstValores->currentItem())
        return;
    m_txtScript->insertPlainText(m_lstValores->currentItem()->text());
    m_txtScript->setFocus();
}

void frmCambioPrecio::cmdAceptar_Click()
{
    if (m_editor.modo() == QLatin1String("A")) {
        if (!m_editor.agregarRegistro(datos())) {
            enfocaRechazado();
            return;
        }
        m_guardado = true;
        if (m_editor.continuarAgregando())
            limpia();
        else
            accept();
    } else if (m_editor.modo() == QLatin1String("C")) {
        if (!m_editor.modificarRegistro(datos())) {
            enfocaRechazado();
            return;
        }
        m_guardado = true;
        accept();
    }
}

frmCambioPrecio::~frmCambioPrecio()
{
    sueltaCampos(this);
}
