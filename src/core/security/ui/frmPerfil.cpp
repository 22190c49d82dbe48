#include "frmPerfil.h"

#include "Enfoque.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

frmPerfil::frmPerfil(PerfilEditor &editor, const QString &clave, QWidget *parent)
    : QWidget(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("frmPerfil"));
    setWindowTitle(m_editor.title());
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    txtClave = new QLineEdit(this);
    txtClave->setObjectName(QStringLiteral("txtClave"));
    txtClave->setMaxLength(20);
    txtNombre = new QLineEdit(this);
    txtNombre->setObjectName(QStringLiteral("txtNombre"));
    txtNombre->setMaxLength(100);
    form->addRow(QStringLiteral("&Clave *:"), txtClave);
    form->addRow(QStringLiteral("&Nombre *:"), txtNombre);
    layout->addLayout(form);
    tvData = new QTreeWidget(this);
    tvData->setObjectName(QStringLiteral("tvData"));
    tvData->setHeaderLabels({QStringLiteral("Modulo"), QStringLiteral("Clave")});
    tvData->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(tvData, 1);
    auto *buttons = new QHBoxLayout;
    cmdSave = new QPushButton(QStringLiteral("&Guardar"), this);
    cmdSave->setObjectName(QStringLiteral("cmdGuardar"));
    cmdDelete = new QPushButton(QStringLiteral("&Eliminar"), this);
    auto *close = new QPushButton(QStringLiteral("&Cerrar"), this);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdDelete);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(cmdSave, &QPushButton::clicked, this, &frmPerfil::cmdGuardar);
    connect(cmdDelete, &QPushButton::clicked, this, &frmPerfil::cmdEliminar);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    const bool adding = m_editor.mode() == QLatin1String("A");
    cmdSave->setVisible(!m_editor.readOnly());
    cmdDelete->setVisible(m_editor.mode() == QLatin1String("C"));
    txtNombre->setReadOnly(m_editor.readOnly());
    txtClave->setReadOnly(!adding && !clave.isEmpty());
    connect(txtClave, &QLineEdit::returnPressed, this, &frmPerfil::consultar);
    if (!adding && !clave.isEmpty()) {
        txtClave->setText(clave);
        consultar();
    } else {
        fillTree(m_editor.cargaArbol(QString()));
    }
    resize(520, 560);
}

void frmPerfil::consultar()
{
    if (m_editor.mode() == QLatin1String("A"))
        return;
    QString nombre;
    if (m_editor.consultarRegistro(txtClave->text().trimmed(), nombre)) {
        txtNombre->setText(nombre);
        fillTree(m_editor.cargaArbol(txtClave->text().trimmed()));
    }
}

void frmPerfil::fillTree(const QList<PerfilEditor::Node> &tree)
{
    tvData->clear();
    addNodes(nullptr, tree);
    tvData->expandToDepth(0);
}

void frmPerfil::addNodes(QTreeWidgetItem *parent, const QList<PerfilEditor::Node> &nodes)
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_editor.readOnly())
        flags |= Qt::ItemIsUserCheckable;
    for (const auto &n : nodes) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvData);
        item->setText(0, n.name);
        item->setText(1, n.key);
        item->setFlags(flags);
        item->setCheckState(0, n.checked ? Qt::Checked : Qt::Unchecked);
        addNodes(item, n.children);
    }
}

QSet<QString> frmPerfil::ticked() const
{
    QSet<QString> out;
    for (QTreeWidgetItemIterator it(tvData); *it; ++it)
        if ((*it)->checkState(0) == Qt::Checked)
            out.insert((*it)->text(1));
    return out;
}

void frmPerfil::cmdGuardar()
{
    bool more = false;
    if (!m_editor.guardaDatos(txtClave->text(), txtNombre->text(), ticked(), &more)) {
        const QString &campo = m_editor.campoRechazado();
        enfocaCampo(campo == QLatin1String("clave")    ? txtClave
                    : campo == QLatin1String("nombre") ? txtNombre
                                                       : nullptr);
        return;
    }
    Q_EMIT saved();
    if (m_editor.mode() == QLatin1String("A") && more) {
        txtClave->clear();
        txtNombre->clear();
        fillTree(m_editor.cargaArbol(QString()));
        txtClave->setFocus();
    } else {
        close();
    }
}

void frmPerfil::cmdEliminar()
{
    if (m_editor.eliminarRegistro(txtClave->text().trimmed())) {
        Q_EMIT saved();
        close();
    }
}
