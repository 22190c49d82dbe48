#include "LookupPanel.h"

#include "ListEntry.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// The combo shows each entry's text and keeps the whole entry (text, Tab, key) as its data.
QComboBox *entryCombo(QWidget *parent, const char *name, const QStringList &entries, int current)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const QString &e : entries)
        c->addItem(ListEntry::text(e), e);
    c->setCurrentIndex(current);
    return c;
}

} // namespace

LookupPanel::LookupPanel(const LookupServices &services, const LookupDefinition &definition,
                         MaintenanceOpener opener, QWidget *parent)
    : QWidget(parent), m_search(services, definition, std::move(opener))
{
    m_cmbCampo = new QComboBox(this);
    m_cmbCampo->setObjectName(QStringLiteral("cmbCampo"));
    for (const LookupField &f : definition.searchFields)
        m_cmbCampo->addItem(f.caption);
    m_txtBuscar = new QLineEdit(this);
    m_txtBuscar->setObjectName(QStringLiteral("txtBuscar"));
    const auto [desde, hasta] = LookupSearch::rangoInicial(QDate::currentDate());
    m_dtpDesde = new QDateEdit(desde, this);
    m_dtpDesde->setObjectName(QStringLiteral("dtpDesde"));
    m_dtpDesde->setCalendarPopup(true);
    m_dtpHasta = new QDateEdit(hasta, this);
    m_dtpHasta->setObjectName(QStringLiteral("dtpHasta"));
    m_dtpHasta->setCalendarPopup(true);
    m_cmdBuscar = button(this, "cmdBuscar", QStringLiteral("&Buscar"));

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grdConsulta"));
    m_grid->setModel(&m_search.model());
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    // A click on a header orders every row of the search by that column (a second click turns
    // the order round); the database orders them, so pages stay in step.
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_grid->horizontalHeader()->setSortIndicatorShown(true);
    connect(m_grid->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int section, Qt::SortOrder order) { m_search.ordena(section, order); });
    m_grid->installEventFilter(this);

    m_cmbBusqueda = entryCombo(this, "cmbBusqueda", LookupSearch::opcionesBusqueda(), m_search.busquedaIndex());
    m_cmbPregunta = entryCombo(this, "cmbPregunta", LookupSearch::opcionesPregunta(), m_search.preguntaIndex());
    m_cmdSalvarSetting = button(this, "cmdSalvarSetting", QStringLiteral("Guardar"));

    m_cmdReg = button(this, "cmdReg", QStringLiteral("&Agregar"));
    m_cmdMod = button(this, "cmdMod", QStringLiteral("&Modificar"));
    m_cmdBaja = button(this, "cmdBaja", QStringLiteral("&Eliminar"));
    m_cmdCon = button(this, "cmdCon", QStringLiteral("C&onsultar"));
    const LookupSearch::Commands &cmds = m_search.commands();
    const QList<std::pair<QPushButton *, bool>> maintenance = {
        {m_cmdReg, cmds.alta}, {m_cmdMod, cmds.cambio}, {m_cmdBaja, cmds.baja}, {m_cmdCon, cmds.consulta}};
    for (const auto &[b, allowed] : maintenance) {
        b->setVisible(cmds.visible);
        b->setEnabled(allowed);
    }

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));

    auto *criteria = new QHBoxLayout;
    criteria->addWidget(new QLabel(QStringLiteral("Buscar por"), this));
    criteria->addWidget(m_cmbCampo);
    criteria->addWidget(m_txtBuscar, 1);
    criteria->addWidget(m_dtpDesde);
    criteria->addWidget(m_dtpHasta);
    criteria->addWidget(m_cmdBuscar);

    auto *settings = new QHBoxLayout;
    settings->addWidget(new QLabel(QStringLiteral("Busqueda"), this));
    settings->addWidget(m_cmbBusqueda);
    settings->addWidget(new QLabel(QStringLiteral("Preguntar si no hay criterio"), this));
    settings->addWidget(m_cmbPregunta);
    settings->addWidget(m_cmdSalvarSetting);
    settings->addStretch(1);
    // The maintenance commands get a row of their own so the settings keep their full captions.
    auto *commands = new QHBoxLayout;
    commands->addStretch(1);
    for (const auto &[b, allowed] : maintenance)
        commands->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(criteria);
    layout->addWidget(m_grid, 1);
    layout->addLayout(settings);
    layout->addLayout(commands);
    layout->addWidget(m_status);

    // Column widths of the definition; 0 leaves the width to the grid.
    for (int i = 0; i < definition.columns.size(); ++i) {
        m_fixedWidths << (definition.columns.at(i).width > 0);
        if (m_fixedWidths.last())
            m_grid->setColumnWidth(i, definition.columns.at(i).width);
    }

    m_search.setBusyHandler([this](bool busy) {
        m_cmdBuscar->setEnabled(!busy);
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    m_search.setStatusHandler([this](const QString &text) {
        m_status->setText(text);
        m_status->repaint();
    });

    connect(m_cmbCampo, &QComboBox::currentIndexChanged, this, &LookupPanel::campoCambiado);
    connect(m_cmdBuscar, &QPushButton::clicked, this, &LookupPanel::cmdBuscar_Click);
    connect(m_txtBuscar, &QLineEdit::returnPressed, this, &LookupPanel::cmdBuscar_Click);
    connect(m_cmbBusqueda, &QComboBox::currentIndexChanged, this,
            [this] { m_search.setBusqueda(m_cmbBusqueda->currentData().toString()); });
    connect(m_cmbPregunta, &QComboBox::currentIndexChanged, this,
            [this] { m_search.setPregunta(m_cmbPregunta->currentData().toString()); });
    connect(m_cmdSalvarSetting, &QPushButton::clicked, this, &LookupPanel::cmdSalvarSetting_Click);
    connect(m_cmdReg, &QPushButton::clicked, this, &LookupPanel::cmdReg_Click);
    connect(m_cmdMod, &QPushButton::clicked, this, &LookupPanel::cmdMod_Click);
    connect(m_cmdBaja, &QPushButton::clicked, this, &LookupPanel::cmdBaja_Click);
    connect(m_cmdCon, &QPushButton::clicked, this, &LookupPanel::cmdCon_Click);
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex &i) { Q_EMIT activated(i.row()); });

    campoCambiado();
    setFocusProxy(m_txtBuscar);
}

void LookupPanel::setCampo(int index)
{
    m_cmbCampo->setCurrentIndex(index);
}

int LookupPanel::currentRow() const
{
    const QModelIndexList rows = m_grid->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

LookupSearch::Criteria LookupPanel::criteria() const
{
    return {m_cmbCampo->currentIndex(), m_txtBuscar->text(), m_dtpDesde->date(), m_dtpHasta->date()};
}

void LookupPanel::campoCambiado()
{
    const int i = m_cmbCampo->currentIndex();
    const bool fecha = i >= 0 && i < m_search.definition().searchFields.size() &&
                       m_search.definition().searchFields.at(i).kind == LookupField::Fecha;
    m_txtBuscar->setVisible(!fecha);
    m_dtpDesde->setVisible(fecha);
    m_dtpHasta->setVisible(fecha);
}

void LookupPanel::applyFocus()
{
    switch (m_search.focus()) {
    case LookupSearch::Focus::Field:
        m_cmbCampo->setFocus();
        break;
    case LookupSearch::Focus::Text:
        m_txtBuscar->setFocus();
        m_txtBuscar->selectAll();
        break;
    case LookupSearch::Focus::Dates:
        m_dtpDesde->setFocus();
        break;
    case LookupSearch::Focus::None:
        break;
    }
}

LookupSearch::Outcome LookupPanel::cmdBuscar_Click()
{
    const LookupSearch::Outcome outcome = m_search.cmdBuscar(criteria());
    if (outcome == LookupSearch::Outcome::Found) {
        // Columns without a designed width fit what the first page shows; the last one stretches.
        const int columns = m_search.model().columnCount();
        for (int c = 0; c + 1 < columns; ++c) {
            if (!m_fixedWidths.value(c))
                m_grid->resizeColumnToContents(c);
        }
        m_grid->selectRow(0);
        m_grid->setFocus();
    }
    applyFocus();
    if (outcome == LookupSearch::Outcome::Accepted)
        Q_EMIT autoAccepted();
    return outcome;
}

void LookupPanel::cmdSalvarSetting_Click()
{
    m_search.cmdSalvarSetting();
}

void LookupPanel::cmdReg_Click()
{
    m_search.cmdReg();
}

void LookupPanel::cmdMod_Click()
{
    m_search.cmdMod(currentRow());
}

void LookupPanel::cmdBaja_Click()
{
    m_search.cmdBaja(currentRow());
}

void LookupPanel::cmdCon_Click()
{
    m_search.cmdCon(currentRow());
}

bool LookupPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && currentRow() >= 0) {
            Q_EMIT activated(currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
