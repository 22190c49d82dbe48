#include "frmCodigo.h"

#include "Enfoque.h"

#include "Prompter.h"
#include "ScriptHelp.h"
#include "ScriptObjects.h"
#include "VbsHighlighter.h"
#include "cCode.h"
#include "cConfigure.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QSplitter>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kQualifiedRole = Qt::UserRole + 1;

} // namespace

frmCodigo::frmCodigo(const ScriptServices &services, Prompter &prompter, Permisos &permisos,
                     const QString &modo, const QString &clave, QWidget *parent)
    : QDialog(parent), m_services(services), m_prompter(prompter),
      m_editor(services.connections, permisos, prompter)
{
    setObjectName(QStringLiteral("frmCodigo"));

    m_txtClave = new QLineEdit(this);
    m_txtClave->setObjectName(QStringLiteral("txtClave"));
    m_txtClave->setMaxLength(100);
    m_txtNombre = new QLineEdit(this);
    m_txtNombre->setObjectName(QStringLiteral("txtNombre"));
    m_txtNombre->setMaxLength(255);
    m_cmbActivo = new QComboBox(this);
    m_cmbActivo->setObjectName(QStringLiteral("cmbActivo"));
    m_cmbActivo->addItem(QStringLiteral("Si"), QStringLiteral("S"));
    m_cmbActivo->addItem(QStringLiteral("No"), QStringLiteral("N"));
    m_cmbActivo->setCurrentIndex(-1);

    m_txtCodigo = new QPlainTextEdit(this);
    m_txtCodigo->setObjectName(QStringLiteral("txtCodigo"));
    m_txtCodigo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_txtCodigo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtCodigo->setTabStopDistance(4 * m_txtCodigo->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    auto *highlighter = new VbsHighlighter(m_txtCodigo->document());
    m_txtError = new QPlainTextEdit(this);
    m_txtError->setObjectName(QStringLiteral("txtError"));
    m_txtError->setReadOnly(true);
    m_txtError->setMaximumBlockCount(200);

    m_tvwAyuda = new QTreeWidget(this);
    m_tvwAyuda->setObjectName(QStringLiteral("tvwAyuda"));
    m_tvwAyuda->setHeaderLabel(QStringLiteral("Objetos"));
    m_tvwAyuda->setToolTip(QStringLiteral("Doble clic inserta el miembro en el codigo"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Clave *:"), m_txtClave);
    form->addRow(QStringLiteral("Nombre *:"), m_txtNombre);
    form->addRow(QStringLiteral("Activo *:"), m_cmbActivo);

    auto *textAndError = new QSplitter(Qt::Vertical, this);
    textAndError->addWidget(m_txtCodigo);
    textAndError->addWidget(m_txtError);
    textAndError->setStretchFactor(0, 4);
    textAndError->setStretchFactor(1, 1);
    auto *main = new QSplitter(Qt::Horizontal, this);
    main->addWidget(textAndError);
    main->addWidget(m_tvwAyuda);
    main->setStretchFactor(0, 3);
    main->setStretchFactor(1, 1);

    const auto button = [this](const QString &text, const char *name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    m_cmdImportar = button(QStringLiteral("&Importar..."), "cmdImportar");
    m_cmdExportar = button(QStringLiteral("E&xportar..."), "cmdExportar");
    m_cmdHistorial = button(QStringLiteral("&Historial..."), "cmdHistorial");
    m_cmdEjecutar = button(QStringLiteral("E&jecutar"), "cmdEjecutar");
    m_cmdAceptar = button(QStringLiteral("&Aceptar"), "cmdAceptar");
    m_cmdEliminar = button(QStringLiteral("&Eliminar"), "cmdEliminar");
    auto *cmdCerrar = button(QStringLiteral("&Cerrar"), "cmdCerrar");
    m_lblEstado = new QLabel(this);
    m_lblEstado->setObjectName(QStringLiteral("lblEstado"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdImportar);
    buttons->addWidget(m_cmdExportar);
    buttons->addWidget(m_cmdHistorial);
    buttons->addWidget(m_lblEstado, 1);
    buttons->addWidget(m_cmdEjecutar);
    buttons->addWidget(m_cmdAceptar);
    buttons->addWidget(m_cmdEliminar);
    buttons->addWidget(cmdCerrar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(main, 1);
    layout->addLayout(buttons);

    connect(m_cmdImportar, &QPushButton::clicked, this, &frmCodigo::cmdImportar_Click);
    connect(m_cmdExportar, &QPushButton::clicked, this, &frmCodigo::cmdExportar_Click);
    connect(m_cmdHistorial, &QPushButton::clicked, this, &frmCodigo::cmdHistorial_Click);
    connect(m_cmdEjecutar, &QPushButton::clicked, this, &frmCodigo::cmdEjecutar_Click);
    connect(m_cmdAceptar, &QPushButton::clicked, this, &frmCodigo::cmdAceptar_Click);
    connect(m_cmdEliminar, &QPushButton::clicked, this, &frmCodigo::cmdEliminar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tvwAyuda, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { insertaAyuda(item); });
    connect(m_txtClave, &QLineEdit::returnPressed, this, [this] {
        if (m_editor.modo() != QLatin1String("A"))
            consulta();
    });

    cargaAyuda();
    QStringList names;
    for (int i = 0; i < m_tvwAyuda->topLevelItemCount(); ++i)
        names << m_tvwAyuda->topLevelItem(i)->data(0, Qt::UserRole).toString();
    highlighter->setObjectNames(names);

    setModo(modo);
    if (!clave.isEmpty() && m_editor.modo() != QLatin1String("A")) {
        m_txtClave->setText(clave);
        consulta();
    }
    resize(900, 600);
}

frmCodigo::~frmCodigo() = default;

void frmCodigo::cargaAyuda()
{
    for (const ScriptHelp::Topic &t : ScriptHelp::standard(m_services)) {
        auto *top = new QTreeWidgetItem(m_tvwAyuda, {t.title + QStringLiteral(" (") + t.object + u')'});
        top->setData(0, Qt::UserRole, t.object);
        for (int i = 0; i < t.members.size(); ++i) {
            auto *leaf = new QTreeWidgetItem(top, {t.members.at(i)});
            leaf->setData(0, kQualifiedRole, t.qualified(i));
            leaf->setToolTip(0, t.qualified(i));
        }
    }
}

void frmCodigo::insertaAyuda(QTreeWidgetItem *item)
{
    const QString text = item ? item->data(0, kQualifiedRole).toString() : QString();
    if (text.isEmpty() || m_txtCodigo->isReadOnly())
        return;
    m_txtCodigo->insertPlainText(text);
    m_txtCodigo->setFocus();
}

void frmCodigo::setModo(const QString &modo)
{
    m_editor.setModo(modo);
    const QString &m = m_editor.modo();
    setWindowTitle(m_editor.titulo());
    const bool consultaSola = m == QLatin1String("Q");
    const bool ejecutar = m == QLatin1String("R");
    m_txtClave->setReadOnly(m == QLatin1String("C") || ejecutar);
    m_txtNombre->setReadOnly(m_editor.soloLectura());
    m_cmbActivo->setEnabled(!m_editor.soloLectura());
    m_txtCodigo->setReadOnly(consultaSola);
    m_cmdImportar->setEnabled(!consultaSola);
    m_cmdEjecutar->setVisible(ejecutar);
    m_cmdAceptar->setVisible(m == QLatin1String("A") || m == QLatin1String("C"));
    m_cmdEliminar->setVisible(m == QLatin1String("C"));
    m_cmdAceptar->setEnabled(m_editor.puede(m.isEmpty() ? QChar() : m.at(0)));
    m_cmdEliminar->setEnabled(m_editor.puede(QLatin1Char('B')));
    m_cmdEjecutar->setEnabled(m_editor.puede(QLatin1Char('R')));
}

QString frmCodigo::texto() const
{
    // The editor works in bare line feeds; a script that came with CR LF goes back with them.
    QString text = m_txtCodigo->toPlainText();
    if (m_crlf)
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void frmCodigo::setTexto(const QString &text)
{
    m_crlf = text.contains(QLatin1String("\r\n"));
    m_txtCodigo->setPlainText(text);
}

CodigoEditor::Codigo frmCodigo::datos() const
{
    return {m_txtClave->text(), m_txtNombre->text(), texto(), m_cmbActivo->currentData().toString()};
}

void frmCodigo::setDatos(const CodigoEditor::Codigo &c)
{
    m_txtClave->setText(c.clave);
    m_txtNombre->setText(c.nombre);
    setTexto(c.text);
    m_cmbActivo->setCurrentIndex(m_cmbActivo->findData(c.activo.trimmed().toUpper()));
}

void frmCodigo::limpia()
{
    setDatos({});
    m_txtError->clear();
    m_txtClave->setFocus();
}

void frmCodigo::consulta()
{
    CodigoEditor::Codigo c;
    if (m_editor.consultarRegistro(m_txtClave->text(), &c))
        setDatos(c);
}

void frmCodigo::mostrarError(const QString &text, int line)
{
    m_txtError->setPlainText(text);
    const QTextBlock block = m_txtCodigo->document()->findBlockByNumber(line - 1);
    if (line <= 0 || !block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_txtCodigo->setTextCursor(cursor);
    m_txtCodigo->centerCursor();
    m_txtCodigo->setFocus();
}

void frmCodigo::enfocaRechazado()
{
    const QString &campo = m_editor.campoRechazado();
    enfocaCampo(campo == QLatin1String("clave")    ? static_cast<QWidget *>(m_txtClave)
                : campo == QLatin1String("nombre") ? static_cast<QWidget *>(m_txtNombre)
                : campo == QLatin1String("activo") ? static_cast<QWidget *>(m_cmbActivo)
                                                   : nullptr);
}

void frmCodigo::cmdAceptar_Click()
{
    m_editor.setLibreria(m_services.config.getString(QStringLiteral("CODIGO-LIBRERIA")));
    // A compile error found on saving stays on screen, whatever the user chose.
    const auto muestraSintaxis = [this] {
        if (!m_editor.errorSintaxis().isEmpty())
            mostrarError(m_editor.errorSintaxis(), m_editor.lineaError());
    };
    if (m_editor.modo() == QLatin1String("A")) {
        const QString clave = m_txtClave->text().trimmed();
        const bool added = m_editor.agregarRegistro(datos());
        muestraSintaxis();
        if (!added) {
            enfocaRechazado();
            return;
        }
        m_modificado = true;
        if (m_editor.continuarAgregando()) {
            limpia();
        } else {
            setModo(QStringLiteral("C"));
            m_txtClave->setText(clave);
        }
    } else if (m_editor.modo() == QLatin1String("C")) {
        const bool changed = m_editor.modificarRegistro(datos());
        m_modificado = changed || m_modificado;
        muestraSintaxis();
        if (!changed)
            enfocaRechazado();
    }
}

void frmCodigo::cmdEliminar_Click()
{
    if (!m_editor.eliminarRegistro(m_txtClave->text()))
        return;
    m_modificado = true;
    accept();
}

void frmCodigo::cmdEjecutar_Click()
{
    if (!m_editor.puede(QLatin1Char('R')))
        return;
    if (!m_runner) {
        // The editor's own host, without the program's error hook: a failure is corrected here
        // instead of opening another editor. MsgBox and the error report still reach the user.
        const ScriptServices objects = m_services;
        m_runner = std::make_unique<cCode>(m_services.connections, m_services.config, m_prompter,
                                           [objects] { return buildScriptObjects(objects); });
    }
    m_txtError->clear();
    m_lblEstado->clear();
    const QString clave = m_txtClave->text().trimmed();
    m_runner->Search(clave); // a fresh standard object list; the text run is the one in the editor
    const bool ok = m_runner->executeText(clave.isEmpty() ? QStringLiteral("frmCodigo") : clave,
                                          m_txtCodigo->toPlainText());
    if (ok)
        m_lblEstado->setText(QStringLiteral("Ejecutado sin errores"));
    else
        mostrarError(m_runner->lastError(), m_runner->lastErrorLine());
}

void frmCodigo::cmdImportar_Click()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Importar codigo"), QString(),
                                                      QStringLiteral("VBScript (*.vbs *.txt);;Todos (*)"));
    QString text;
    if (!file.isEmpty() && m_editor.importar(file, &text))
        setTexto(text);
}

void frmCodigo::cmdExportar_Click()
{
    const QString suggested = m_txtClave->text().trimmed().isEmpty()
                                  ? QStringLiteral("codigo.vbs")
                                  : m_txtClave->text().trimmed() + QStringLiteral(".vbs");
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar codigo"), suggested,
                                                      QStringLiteral("VBScript (*.vbs);;Todos (*)"));
    if (!file.isEmpty())
        m_editor.exportar(file, texto());
}

// The script's changes: one line each, the row before and after for the chosen one.
void frmCodigo::cmdHistorial_Click()
{
    QList<CodigoEditor::Cambio> cambios;
    if (!m_editor.historial(m_txtClave->text(), &cambios))
        return;
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("frmCodigoHistorial"));
    dialog.setWindowTitle(QStringLiteral("Historial de cambios de ") + m_txtClave->text().trimmed());
    auto *lista = new QTableWidget(int(cambios.size()), 5, &dialog);
    lista->setObjectName(QStringLiteral("lvwCambios"));
    lista->setHorizontalHeaderLabels({QStringLiteral("Fecha"), QStringLiteral("Cambio"),
                                      QStringLiteral("Usuario"), QStringLiteral("Conexion"),
                                      QStringLiteral("Estacion")});
    lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista->setSelectionMode(QAbstractItemView::SingleSelection);
    const auto operacion = [](const QString &op) {
        return op == u"INSERT"   ? QStringLiteral("Alta")
               : op == u"DELETE" ? QStringLiteral("Baja")
                                 : QStringLiteral("Cambio");
    };
    for (int i = 0; i < cambios.size(); ++i) {
        const auto &c = cambios.at(i);
        const QStringList celdas = {
            c.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), operacion(c.operacion),
            c.usuario.isEmpty() ? QStringLiteral("(fuera del sistema)") : c.usuario, c.login, c.estacion};
        for (int j = 0; j < celdas.size(); ++j)
            lista->setItem(i, j, new QTableWidgetItem(celdas.at(j)));
    }
    lista->resizeColumnsToContents();
    auto *antes = new QPlainTextEdit(&dialog);
    auto *despues = new QPlainTextEdit(&dialog);
    for (auto *t : {antes, despues})
        t->setReadOnly(true);
    connect(lista, &QTableWidget::currentCellChanged, &dialog, [=](int row) {
        const bool ok = row >= 0 && row < cambios.size();
        antes->setPlainText(ok ? cambios.at(row).anterior : QString());
        despues->setPlainText(ok ? cambios.at(row).nuevo : QString());
    });
    auto *textos = new QSplitter(Qt::Horizontal, &dialog);
    textos->addWidget(antes);
    textos->addWidget(despues);
    auto *cerrar = new QPushButton(QStringLiteral("&Cerrar"), &dialog);
    connect(cerrar, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(lista, 1);
    layout->addWidget(new QLabel(QStringLiteral("Antes y despues del cambio elegido:"), &dialog));
    layout->addWidget(textos, 1);
    layout->addWidget(cerrar, 0, Qt::AlignRight);
    if (!cambios.isEmpty())
        lista->selectRow(int(cambios.size()) - 1);
    dialog.resize(800, 500);
    dialog.exec();
}

bool frmCodigo::abrir(const ScriptServices &services, Prompter &prompter, Permisos &permisos, QChar command,
                      const QString &clave, QWidget *parent)
{
    const QChar c = command.toUpper();
    if (c == QLatin1Char('B')) {
        CodigoEditor editor(services.connections, permisos, prompter, QStringLiteral("C"));
        return editor.eliminarRegistro(clave);
    }
    CodigoEditor rights(services.connections, permisos, prompter);
    if (!rights.puede(c)) {
        prompter.exclamation(CodigoEditor::kSinAcceso);
        return false;
    }
    frmCodigo window(services, prompter, permisos, QString(c), clave, parent);
    window.exec();
    return window.modificado();
}

void frmCodigo::corregir(const ScriptServices &services, Prompter &prompter, Permisos &permisos,
                         const QString &clave, const QString &error, int line, QWidget *parent)
{
    CodigoEditor rights(services.connections, permisos, prompter);
    if (!rights.puede(QLatin1Char('C')))
        return;
    frmCodigo window(services, prompter, permisos, QStringLiteral("C"), clave, parent);
    window.mostrarError(error, line);
    window.exec();
}
