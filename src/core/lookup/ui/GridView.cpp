#include "GridView.h"

#include "GridExport.h"
#include "GridSearch.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTableView>

QList<GridColumn> GridView::captureLayout(const QTableView &view)
{
    QList<GridColumn> columns;
    const QAbstractItemModel *model = view.model();
    if (!model)
        return columns;
    const QHeaderView *header = view.horizontalHeader();
    for (int c = 0; c < model->columnCount(); ++c)
        columns << GridColumn{header->sectionSize(c), header->visualIndex(c),
                              model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()};
    return columns;
}

void GridView::applyLayout(QTableView &view, const QList<GridColumn> &columns)
{
    QAbstractItemModel *model = view.model();
    if (!model)
        return;
    QHeaderView *header = view.horizontalHeader();
    const int count = int(qMin<qsizetype>(columns.size(), model->columnCount()));
    for (int c = 0; c < count; ++c) {
        header->resizeSection(c, columns.at(c).width);
        if (!columns.at(c).header.isEmpty())
            model->setHeaderData(c, Qt::Horizontal, columns.at(c).header, Qt::DisplayRole);
    }
    // Screen positions from the left, so every move lands where it was stored.
    QList<int> byOrder;
    for (int c = 0; c < count; ++c)
        byOrder << c;
    std::stable_sort(byOrder.begin(), byOrder.end(),
                     [&](int a, int b) { return columns.at(a).order < columns.at(b).order; });
    for (int pos = 0; pos < byOrder.size(); ++pos)
        header->moveSection(header->visualIndex(byOrder.at(pos)), pos);
}

void GridView::saveLayout(SettingsStore &settings, const QString &window, const QTableView &view)
{
    GridLayout::save(settings, window, view.objectName(), captureLayout(view));
}

bool GridView::loadLayout(const SettingsStore &settings, const QString &window, QTableView &view)
{
    const auto columns = GridLayout::load(settings, window, view.objectName());
    if (!columns)
        return false;
    applyLayout(view, *columns);
    return true;
}

QList<int> GridView::visibleColumns(const QTableView &view)
{
    QList<int> out;
    const QHeaderView *header = view.horizontalHeader();
    for (int v = 0; v < header->count(); ++v) {
        const int logical = header->logicalIndex(v);
        if (!header->isSectionHidden(logical))
            out << logical;
    }
    return out;
}

QString GridView::quickExport(const QTableView &view, cAplication &app, const cConfigure &config)
{
    if (!view.model())
        return {};
    return GridExport::quickExport(*view.model(), app, GridExport::exportExtension(config),
                                   visibleColumns(view));
}

bool GridView::exportToFile(const QTableView &view, Prompter &prompter, QWidget *parent)
{
    if (!view.model())
        return false;
    // The overwrite question is the program's own, asked after the name is chosen.
    const QString fileName =
        QFileDialog::getSaveFileName(parent, QStringLiteral("Exportar"), QString(),
                                     QStringLiteral("Texto separado por comas (*.csv);;Todos (*)"), nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    if (fileName.isEmpty())
        return false;
    return GridExport::exportToFile(*view.model(), fileName, prompter, visibleColumns(view));
}

bool GridView::search(QTableView &view, Prompter &prompter)
{
    if (!view.model())
        return false;
    const int row = GridSearch::buscar(*view.model(), prompter, visibleColumns(view));
    if (row < 0)
        return false;
    const QModelIndex index = view.model()->index(row, qMax(0, view.horizontalHeader()->logicalIndex(0)));
    view.setCurrentIndex(index);
    view.selectRow(row);
    view.scrollTo(index);
    return true;
}
