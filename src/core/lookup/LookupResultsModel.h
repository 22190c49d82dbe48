#pragma once

#include "LookupDefinition.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QVariantList>

#include <functional>

class cConfigure;

namespace db {
class Recordset;
}

// The rows of a lookup, read one page at a time: the first page when a search runs, the next
// ones as the grid scrolls (canFetchMore/fetchMore), so a search over many rows shows at once.
// Cells are shown by the column's display kind: 'I' integer, 'N' "#,##0.00", 'F' the date in
// FORMATO-FECHA-CLIENTE, anything else as text.
class LookupResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Reads `limit` rows starting at `offset`; throws DbError.
    using PageSource = std::function<db::Recordset(int offset, int limit)>;

    explicit LookupResultsModel(const cConfigure &config, QObject *parent = nullptr);

    void setColumns(const QList<LookupColumn> &columns) { m_columns = columns; }
    void setPageSize(int rows) { m_pageSize = qMax(1, rows); }
    int pageSize() const { return m_pageSize; }

    // Replaces the rows by the first page of source. Throws DbError and then keeps the rows
    // it had.
    void load(PageSource source);
    void clear();
    // True when every row of the search has been read.
    bool complete() const { return !m_more; }
    QVariantList row(int r) const { return m_rows.value(r); }
    QStringList fieldNames() const { return m_fields; }
    QString displayText(int r, int column) const;
    // The value as plain text whatever the column's display kind: what a key is handed back as.
    QString plainText(int r, int column) const;
    // Called when a later page fails; the model then stops asking for more.
    void setErrorHandler(std::function<void(const std::exception &)> handler) { m_onError = std::move(handler); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    // One page: its rows, and whether more follow.
    QList<QVariantList> readPage(int offset, bool &more, QStringList *fields) const;
    QChar kindOf(int column) const;

    const cConfigure &m_config;
    QList<LookupColumn> m_columns;
    QStringList m_fields;
    QList<QVariantList> m_rows;
    PageSource m_source;
    int m_pageSize = 100;
    bool m_more = false;
    bool m_changing = false; // views ask for more from inside our own change signals
    std::function<void(const std::exception &)> m_onError;
};
