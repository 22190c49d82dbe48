#include "frmModuloCon.h"

#include "OrdenPorEncabezado.h"

#include "ModuloEditor.h"
#include "ModuloListModel.h"
#include "Prompter.h"
#include "frmModulo.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

frmModuloCon::frmModuloCon(ConnectionProvider &connections, Prompter &prompter, QWidget *parent)
    : QWidget(parent), m_connections(connections), m_prompter(prompter),
      m_listEditor(new ModuloEditor(connections, prompter, QStringLiteral("Q")))
{
    setObjectName(QStringLiteral("frmModuloCon"));
    setWindowTitle(QStringLiteral("Modulos"));
    m_model = new ModuloListModel(*m_listEditor, this);
    auto *layout = new QVBoxLayout(this);
    grdData = new QTableView(this);
    grdData->setObjectName(QStringLiteral("grdData"));
    m_orden = ordenablePorEncabezado(grdData, m_model);
    grdData->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdData->setSelectionMode(QAbstractItemView::SingleSelection);
    grdData->verticalHeader()->setDefaultSectionSize(grdData->fontMetrics().height() + 6);
    grdData->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grdData, 1);
    auto *buttons = new QHBoxLayout;
    const auto button = [&](const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, this);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    buttons->addStretch();
    button(QStringLiteral("&Alta"), [this] { open(QStringLiteral("A")); });
    button(QStringLiteral("&Cambio"), [this] { open(QStringLiteral("C")); });
    button(QStringLiteral("C&onsulta"), [this] { open(QStringLiteral("Q")); });
    button(QStringLiteral("&Baja"), [this] { cmdBaja(); });
    layout->addLayout(buttons);
    m_model->reload();
    grdData->resizeColumnsToContents();
    resize(760, 480);
}

frmModuloCon::~frmModuloCon()
{
    delete m_model;
    m_model = nullptr;
    delete m_listEditor;
}

QString frmModuloCon::selectedKey()
{
    const auto *m = m_model->at(m_orden->mapToSource(grdData->currentIndex()).row());
    if (!m) {
        m_prompter.information(QStringLiteral("Debe seleccionar un registro"));
        return {};
    }
    return m->clave;
}

void frmModuloCon::open(const QString &mode)
{
    QString key;
    if (mode != QLatin1String("A") && (key = selectedKey()).isEmpty())
        return;
    ModuloEditor editor(m_connections, m_prompter, mode);
    frmModulo window(editor, key, this);
    if (window.exec() == QDialog::Accepted || mode == QLatin1String("A"))
        m_model->reload();
}

void frmModuloCon::cmdBaja()
{
    const QString key = selectedKey();
    if (key.isEmpty())
        return;
    ModuloEditor editor(m_connections, m_prompter, QStringLiteral("C"));
    if (editor.eliminarRegistro(key))
        m_model->reload();
}
