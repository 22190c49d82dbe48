#include "frmUsuario.h"

#include "UsuarioEditor.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

struct Combo {
    const char *column;
    const char *table;
    const char *key;
    const char *name;
};
const Combo kCombos[] = {
    {"alm_Clave", "tAlmacen", "alm_Clave", "alm_Nombre"},
    {"perf_Clave", "tPerfil", "perf_Clave", "perf_Nombre"},
    {"term_Clave", "tTerminal", "term_Clave", "term_Nombre"},
    {"eusu_Clave", "tEstadoUsuario", "eusu_Clave", "eusu_Nombre"},
    {"rusu_Clave", "tRelacionUsuario", "rusu_Clave", "rusu_Nombre"},
};

// Required fields carry the "*" every maintenance form shows.
QString label(const QString &column)
{
    static const QStringList required = {"usu_Clave",  "usu_Nombre", "alm_Clave", "perf_Clave",
                                         "term_Clave", "eusu_Clave", "rusu_Clave"};
    return UsuarioEditor::titulo(column) +
           (required.contains(column) ? QStringLiteral(" *:") : QStringLiteral(":"));
}

constexpr int kFirstPersonal = 11; // columns before this index go on the first tab

} // namespace

frmUsuario::frmUsuario(UsuarioEditor &editor, const QString &clave, QWidget *parent)
    : QDialog(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("frmUsuario"));
    setWindowTitle(m_editor.title());
    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    auto *general = new QWidget(tabs);
    auto *personal = new QWidget(tabs);
    auto *generalForm = new QFormLayout(general);
    auto *personalForm = new QFormLayout(personal);
    tabs->addTab(general, QStringLiteral("&General"));
    tabs->addTab(personal, QStringLiteral("Datos &personales"));
    layout->addWidget(tabs);

    for (const Combo &c : kCombos) {
        auto *combo = new QComboBox(this);
        for (const QString &e : m_editor.lista(QString::fromLatin1(c.table), QString::fromLatin1(c.key),
                                               QString::fromLatin1(c.name)))
            combo->addItem(QString(e).replace(QLatin1Char('\t'), QStringLiteral(" - ")), e);
        combo->setCurrentIndex(-1);
        m_combos.insert(QString::fromLatin1(c.column), combo);
    }
    const QStringList &columns = UsuarioEditor::columns();
    for (int i = 0; i < columns.size(); ++i) {
        (i < kFirstPersonal ? generalForm : personalForm)->addRow(label(columns.at(i)), field(columns.at(i)));
        if (columns.at(i) == QLatin1String("usu_Nombre")) {
            txtPassword = new QLineEdit(this);
            txtPassword->setObjectName(QStringLiteral("txtPassword"));
            txtPassword->setEchoMode(QLineEdit::Password);
            if (m_editor.mode() == QLatin1String("C"))
                txtPassword->setPlaceholderText(QStringLiteral("(sin cambio)"));
            generalForm->addRow(QStringLiteral("Contraseña:"), txtPassword);
        }
    }
    const bool query = m_editor.mode() == QLatin1String("Q");
    auto *buttons = new QDialogButtonBox(
        query ? QDialogButtonBox::Close : QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    if (QPushButton *b = buttons->button(QDialogButtonBox::Save))
        b->setText(QStringLiteral("&Aceptar"));
    if (QPushButton *b = buttons->button(QDialogButtonBox::Cancel))
        b->setText(QStringLiteral("&Cancelar"));
    if (QPushButton *b = buttons->button(QDialogButtonBox::Close))
        b->setText(QStringLiteral("&Cerrar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &frmUsuario::cmdGuardar);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    QVariantMap u;
    if (!clave.isEmpty() && m_editor.consultarRegistro(clave, u))
        showUser(u);
    m_lines.value(QStringLiteral("usu_Clave"))->setReadOnly(m_editor.mode() != QLatin1String("A"));
    if (query) {
        for (QLineEdit *l : std::as_const(m_lines))
            l->setReadOnly(true);
        for (QComboBox *c : std::as_const(m_combos))
            c->setEnabled(false);
        txtPassword->setEnabled(false);
    }
    resize(520, 560);
}

QWidget *frmUsuario::field(const QString &column)
{
    if (QComboBox *c = m_combos.value(column))
        return c;
    auto *line = new QLineEdit(this);
    line->setObjectName(QStringLiteral("txt") + column);
    if (UsuarioEditor::dateColumns().contains(column))
        line->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    m_lines.insert(column, line);
    return line;
}

void frmUsuario::showUser(const QVariantMap &u)
{
    for (auto it = m_lines.cbegin(); it != m_lines.cend(); ++it) {
        const QVariant v = u.value(it.key());
        if (UsuarioEditor::dateColumns().contains(it.key()))
            it.value()->setText(
                v.toDateTime().isValid() ? v.toDateTime().toString(QStringLiteral("dd/MM/yyyy")) : QString());
        else
            it.value()->setText(v.toString());
    }
    for (auto it = m_combos.cbegin(); it != m_combos.cend(); ++it) {
        const QString key = u.value(it.key()).toString().trimmed();
        for (int i = 0; i < it.value()->count(); ++i)
            if (it.value()->itemData(i).toString().section(QLatin1Char('\t'), 0, 0) == key)
                it.value()->setCurrentIndex(i);
    }
}

QVariantMap frmUsuario::read() const
{
    QVariantMap u;
    for (auto it = m_lines.cbegin(); it != m_lines.cend(); ++it) {
        u.insert(it.key(), it.value()->text()); // dates as typed: the editor refuses what is not one
    }
    for (auto it = m_combos.cbegin(); it != m_combos.cend(); ++it)
        u.insert(it.key(), it.value()->currentData());
    return u;
}

void frmUsuario::cmdGuardar()
{
    bool more = false;
    if (!m_editor.guardaDatos(read(), txtPassword->text(), &more)) {
        enfocaRechazado();
        return;
    }
    if (m_editor.mode() == QLatin1String("A") && more) {
        for (QLineEdit *l : std::as_const(m_lines))
            l->clear();
        txtPassword->clear();
        return;
    }
    accept();
}

void frmUsuario::enfocaRechazado()
{
    const QString column = m_editor.campoRechazado();
    QWidget *w = m_lines.value(column);
    if (!w)
        w = m_combos.value(column);
    if (!w)
        return;
    // The field may sit on the other tab.
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (auto *tabs =
                qobject_cast<QTabWidget *>(p->parentWidget() ? p->parentWidget()->parentWidget() : nullptr))
            tabs->setCurrentWidget(p);
    w->setFocus();
    if (auto *line = qobject_cast<QLineEdit *>(w))
        line->selectAll();
}
