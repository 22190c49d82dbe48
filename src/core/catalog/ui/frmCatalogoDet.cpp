#include "frmCatalogoDet.h"

#include "CatalogoEditor.h"
#include "ListEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using Tipo = CatalogoCampo::Tipo;

frmCatalogoDet::frmCatalogoDet(CatalogoEditor &editor, const QStringList &clave, QWidget *parent)
    : QDialog(parent), m_editor(editor)
{
    const CatalogoDef &def = editor.def();
    setObjectName(QStringLiteral("frmCatalogoDet"));
    setWindowTitle(editor.titulo());

    auto *form = new QWidget;
    auto *layout = new QFormLayout(form);
    for (const CatalogoCampo &c : def.campos) {
        QWidget *w = nullptr;
        switch (c.tipo) {
        case Tipo::Bandera:
            w = new QCheckBox;
            break;
        case Tipo::Fecha: {
            auto *d = new QDateEdit;
            d->setCalendarPopup(true);
            d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
            w = d;
            break;
        }
        case Tipo::Opcion:
        case Tipo::Referencia: {
            auto *cmb = new QComboBox;
            cmb->addItem(QString(), QString()); // nothing chosen yet: "Debe seleccionar …"
            // The entry keeps the list-entry form; the combo shows only its text.
            for (const QString &e : editor.lista(c))
                cmb->addItem(ListEntry::text(e), e);
            w = cmb;
            break;
        }
        default: {
            auto *t = new QLineEdit;
            if (c.longitud > 0)
                t->setMaxLength(c.longitud);
            if (c.oculto)
                t->setEchoMode(QLineEdit::Password);
            if (c.tipo == Tipo::Entero || c.tipo == Tipo::Decimal)
                t->setAlignment(Qt::AlignRight);
            w = t;
        }
        }
        w->setObjectName(c.columna);
        m_controles.insert(c.columna, w);
        const bool soloLectura =
            editor.soloLectura() || (def.esClave(c.columna) && editor.modo() != QLatin1String("A"));
        if (auto *t = qobject_cast<QLineEdit *>(w))
            t->setReadOnly(soloLectura);
        else
            w->setEnabled(!soloLectura);
        layout->addRow(c.titulo + (c.requerido ? QStringLiteral(" *") : QString()), w);
    }

    auto *scroll = new QScrollArea;
    scroll->setWidget(form);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    m_cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"));
    m_cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    m_cmdAceptar->setDefault(true);
    m_cmdAceptar->setVisible(!editor.soloLectura());
    auto *cerrar = new QPushButton(QStringLiteral("&Cerrar"));
    cerrar->setObjectName(QStringLiteral("cmdCerrar"));
    connect(m_cmdAceptar, &QPushButton::clicked, this, &frmCatalogoDet::cmdAceptar_Click);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdAceptar);
    buttons->addWidget(cerrar);

    auto *main = new QVBoxLayout(this);
    main->addWidget(scroll);
    main->addLayout(buttons);
    const int rows = int(def.campos.size());
    resize(460, qMin(120 + rows * 34, 640));

    limpia();
    if (editor.modo() != QLatin1String("A")) {
        QVariantMap valores;
        m_valido = editor.consultarRegistro(clave, valores);
        if (m_valido)
            setDatos(valores);
    }
}

QVariantMap frmCatalogoDet::datos() const
{
    QVariantMap out;
    for (const CatalogoCampo &c : m_editor.def().campos) {
        QWidget *w = m_controles.value(c.columna);
        if (auto *t = qobject_cast<QLineEdit *>(w))
            out.insert(c.columna, t->text());
        else if (auto *b = qobject_cast<QCheckBox *>(w))
            out.insert(c.columna, b->isChecked());
        else if (auto *d = qobject_cast<QDateEdit *>(w))
            out.insert(c.columna, d->date());
        else if (auto *cmb = qobject_cast<QComboBox *>(w))
            out.insert(c.columna, cmb->currentData().toString());
    }
    return out;
}

void frmCatalogoDet::setDatos(const QVariantMap &valores)
{
    for (const CatalogoCampo &c : m_editor.def().campos) {
        QWidget *w = m_controles.value(c.columna);
        const QVariant v = valores.value(c.columna);
        if (auto *t = qobject_cast<QLineEdit *>(w)) {
            t->setText(v.toString());
        } else if (auto *b = qobject_cast<QCheckBox *>(w)) {
            b->setChecked(v.toBool());
        } else if (auto *d = qobject_cast<QDateEdit *>(w)) {
            d->setDate(v.toDate().isValid() ? v.toDate() : QDate::currentDate());
        } else if (auto *cmb = qobject_cast<QComboBox *>(w)) {
            const QString key = v.toString();
            int found = -1;
            for (int i = 0; i < cmb->count() && found < 0; ++i)
                if (CatalogoEditor::claveDe(cmb->itemData(i).toString()) == key)
                    found = i;
            // A stored key that the list no longer offers is kept visible rather than replaced.
            if (found < 0 && !key.isEmpty()) {
                cmb->addItem(key, CatalogoEditor::entrada(key, key));
                found = cmb->count() - 1;
            }
            cmb->setCurrentIndex(qMax(found, 0));
        }
    }
}

void frmCatalogoDet::limpia()
{
    for (const CatalogoCampo &c : m_editor.def().campos) {
        QWidget *w = m_controles.value(c.columna);
        if (auto *t = qobject_cast<QLineEdit *>(w))
            t->clear();
        else if (auto *b = qobject_cast<QCheckBox *>(w))
            b->setChecked(c.marcada);
        else if (auto *d = qobject_cast<QDateEdit *>(w))
            d->setDate(QDate::currentDate());
        else if (auto *cmb = qobject_cast<QComboBox *>(w))
            cmb->setCurrentIndex(0);
    }
    if (!m_editor.def().campos.isEmpty())
        if (QWidget *first = m_controles.value(m_editor.def().campos.first().columna))
            first->setFocus();
}

void frmCatalogoDet::cmdAceptar_Click()
{
    // After a refusal the field it names takes the next keystrokes.
    const auto enfoca = [this] {
        if (QWidget *w = m_controles.value(m_editor.campoRechazado())) {
            w->setFocus();
            if (auto *t = qobject_cast<QLineEdit *>(w))
                t->selectAll();
        }
    };
    if (m_editor.modo() == QLatin1String("A")) {
        if (!m_editor.agregarRegistro(datos())) {
            enfoca();
            return;
        }
        m_guardado = true;
        if (m_editor.continuarAgregando())
            limpia();
        else
            accept();
    } else if (m_editor.modo() == QLatin1String("C")) {
        if (!m_editor.modificarRegistro(datos())) {
            enfoca();
            return;
        }
        m_guardado = true;
        accept();
    }
}
