#include "frmConfig.h"

#include "OrdenPorEncabezado.h"

#include "ConfigExchange.h"
#include "ConfigGridModel.h"
#include "Prompter.h"
#include "cConfigure.h"
#include "frmConfigDet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

const QString IniFilter = QStringLiteral("Configuracion (*.ini);;Todos los archivos (*)");
} // namespace

frmConfig::frmConfig(cConfigure &config, Prompter &prompter, QWidget *parent)
    : QWidget(parent), m_config(config), m_prompter(prompter), m_model(new ConfigGridModel(config, this))
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configuración"));

    m_cmbTipoConfig = new QComboBox(this);
    m_cmbTipoConfig->setObjectName(QStringLiteral("cmbTipoConfig"));
    for (const auto &[category, text] : m_model->categorias())
        m_cmbTipoConfig->addItem(text, category);

    m_chkOrdenar = new QCheckBox(QStringLiteral("Ordenar"), this);
    m_chkOrdenar->setObjectName(QStringLiteral("chkOrdenar"));

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grdConfig"));
    m_orden = ordenablePorEncabezado(m_grid, m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    m_lblRegistros = new QLabel(this);
    m_lblRegistros->setObjectName(QStringLiteral("lblRegistros"));

    auto *cmdModificar = button(this, "cmdModificar", QStringLiteral("&Modificar"));
    auto *cmdSalvar = button(this, "cmdSalvar", QStringLiteral("&Salvar"));
    auto *cmdExportar = button(this, "cmdExportar", QStringLiteral("&Exportar"));
    auto *cmdImportar = button(this, "cmdImportar", QStringLiteral("&Importar"));
    auto *cmdCerrar = button(this, "cmdCerrar", QStringLiteral("&Cerrar"));

    auto *top = new QHBoxLayout;
    auto *lblTipo = new QLabel(QStringLiteral("Tipo:"), this);
    lblTipo->setBuddy(m_cmbTipoConfig);
    top->addWidget(lblTipo);
    top->addWidget(m_cmbTipoConfig, 1);
    top->addWidget(m_chkOrdenar);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_lblRegistros, 1);
    for (QPushButton *b : {cmdModificar, cmdSalvar, cmdExportar, cmdImportar, cmdCerrar})
        bottom->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(m_cmbTipoConfig, &QComboBox::currentIndexChanged, this, &frmConfig::cargaGrid);
    connect(m_chkOrdenar, &QCheckBox::toggled, this, &frmConfig::cargaGrid);
    connect(m_model, &QAbstractItemModel::modelReset, this,
            [this] { m_lblRegistros->setText(m_model->registros()); });
    connect(m_grid, &QTableView::doubleClicked, this, &frmConfig::cmdModificar_Click);
    connect(cmdModificar, &QPushButton::clicked, this, &frmConfig::cmdModificar_Click);
    connect(cmdSalvar, &QPushButton::clicked, this, &frmConfig::cmdSalvar_Click);
    connect(cmdExportar, &QPushButton::clicked, this, &frmConfig::cmdExportar_Click);
    connect(cmdImportar, &QPushButton::clicked, this, &frmConfig::cmdImportar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QWidget::close);

    resize(820, 520);
    cargaGrid();
}

int frmConfig::categoria() const
{
    return m_cmbTipoConfig->currentData().toInt();
}

void frmConfig::setCategoria(int category)
{
    const int index = m_cmbTipoConfig->findData(category);
    if (index >= 0)
        m_cmbTipoConfig->setCurrentIndex(index);
}

void frmConfig::cargaGrid()
{
    m_model->setOrdenar(m_chkOrdenar->isChecked());
    m_model->setCategoria(categoria());
    m_lblRegistros->setText(m_model->registros());
    m_grid->resizeColumnsToContents();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

QString frmConfig::claveActual() const
{
    const cConfigValue *item = m_model->itemAt(m_orden->mapToSource(m_grid->currentIndex()).row());
    return item ? item->key() : QString();
}

void frmConfig::cmdModificar_Click()
{
    const QString key = claveActual();
    if (key.isEmpty())
        return;
    frmConfigDet dialog(m_config, m_prompter, key, this);
    dialog.exec();
}

void frmConfig::cmdSalvar_Click()
{
    m_config.saveAll();
}

bool frmConfig::exportarA(const QString &fileName, const QList<int> &categories)
{
    ConfigExchange exchange(m_config, m_prompter);
    return exchange.exportar(fileName, categories);
}

bool frmConfig::importarDe(const QString &fileName)
{
    ConfigExchange exchange(m_config, m_prompter);
    return exchange.importar(fileName);
}

QList<int> frmConfig::eligeCategorias()
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Exportar configuración"));
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstCategorias"));
    for (const auto &[category, text] : m_model->categorias()) {
        auto *entry = new QListWidgetItem(text, list);
        entry->setData(Qt::UserRole, category);
        entry->setCheckState(category == categoria() ? Qt::Checked : Qt::Unchecked);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    QList<int> chosen;
    if (dialog.exec() != QDialog::Accepted)
        return chosen;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked)
            chosen << list->item(i)->data(Qt::UserRole).toInt();
    }
    return chosen;
}

void frmConfig::cmdExportar_Click()
{
    const QList<int> categories = eligeCategorias();
    if (categories.isEmpty())
        return;
    const QString fileName = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar configuración"),
                                                          QStringLiteral("configuracion.ini"), IniFilter);
    if (!fileName.isEmpty())
        exportarA(fileName, categories);
}

void frmConfig::cmdImportar_Click()
{
    const QString fileName =
        QFileDialog::getOpenFileName(this, QStringLiteral("Importar configuración"), QString(), IniFilter);
    if (!fileName.isEmpty())
        importarDe(fileName);
}
