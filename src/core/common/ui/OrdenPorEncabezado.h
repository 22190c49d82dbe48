#pragma once

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTableView>

// Shows model in view so that a click on a column's header orders the rows by it (a second click
// turns the order round); until then they keep the model's order. Rows the view hands back are the
// proxy's: map them with the returned proxy (mapToSource / mapFromSource).
inline QSortFilterProxyModel *ordenablePorEncabezado(QTableView *view, QAbstractItemModel *model)
{
    auto *proxy = new QSortFilterProxyModel(view);
    proxy->setSourceModel(model);
    proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    proxy->setSortLocaleAware(true);
    view->setModel(proxy);
    view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view->setSortingEnabled(true);
    return proxy;
}
