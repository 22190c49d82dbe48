#include "LookupResultsModel.h"

#include "cConfigValue.h"
#include "cConfigure.h"

#include "Decimal.h"
#include "Recordset.h"

#include <QDateTime>

LookupResultsModel::LookupResultsModel(const cConfigure &config, QObject *parent)
    : QAbstractTableModel(parent), m_config(config)
{
}

QList<QVariantList> LookupResultsModel::readPage(int offset, bool &more, QStringList *fields) const
{
    // One row beyond the page says whether another page follows.
    db::Recordset rs = m_source(offset, m_pageSize + 1);
    if (fields) {
        fields->clear();
        for (int i = 0; i < rs.fieldCount(); ++i)
            fields->append(rs.fieldName(i));
    }
    QList<QVariantList> rows;
    for (; !rs.eof() && rows.size() < m_pageSize; rs.moveNext()) {
        QVariantList r;
        r.reserve(rs.fieldCount());
        for (int i = 0; i < rs.fieldCount(); ++i)
            r.append(rs.value(i));
        rows.append(r);
    }
    more = !rs.eof();
    return rows;
}

void LookupResultsModel::load(PageSource source)
{
    const PageSource previous = m_source;
    m_source = std::move(source);
    bool more = false;
    QStringList fields;
    QList<QVariantList> rows;
    try {
        rows = readPage(0, more, &fields);
    } catch (...) {
        m_source = previous;
        throw;
    }
    m_changing = true;
    beginResetModel();
    m_fields = fields;
    m_rows = rows;
    m_more = more;
    endResetModel();
    m_changing = false;
}

void LookupResultsModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_fields.clear();
    m_more = false;
    m_source = {};
    endResetModel();
}

bool LookupResultsModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void LookupResultsModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || !m_more || m_changing)
        return;
    bool more = false;
    QList<QVariantList> rows;
    try {
        rows = readPage(int(m_rows.size()), more, nullptr);
    } catch (const std::exception &e) {
        m_more = false;
        if (m_onError)
            m_onError(e);
        return;
    }
    m_more = more;
    if (rows.isEmpty())
        return;
    m_changing = true;
    beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + rows.size() - 1));
    m_rows.append(rows);
    endInsertRows();
    m_changing = false;
}

int LookupResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int LookupResultsModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_fields.isEmpty() ? m_columns.size() : m_fields.size());
}

QChar LookupResultsModel::kindOf(int column) const
{
    return column < m_columns.size() ? m_columns.at(column).kind.toUpper() : QLatin1Char('?');
}

QString LookupResultsModel::displayText(int r, int column) const
{
    const QVariant v = m_rows.value(r).value(column);
    if (!v.isValid() || v.isNull())
        return {};
    switch (kindOf(column).unicode()) {
    case 'I': {
        bool ok = false;
        const Decimal d = Decimal::fromVariant(v, &ok);
        return ok ? d.toString(0) : v.toString();
    }
    case 'N': {
        bool ok = false;
        const Decimal d = Decimal::fromVariant(v, &ok);
        return ok ? d.format(QStringLiteral("#,##0.00")) : v.toString();
    }
    case 'F': {
        const QDateTime d = v.typeId() == QMetaType::QDate ? v.toDate().startOfDay() : v.toDateTime();
        if (!d.isValid())
            return v.toString();
        return d.toString(cConfigValue::qtDateFormat(m_config.getValue(QStringLiteral("FORMATO-FECHA-CLIENTE")).toString()));
    }
    default:
        return plainText(r, column);
    }
}

QString LookupResultsModel::plainText(int r, int column) const
{
    const QVariant v = m_rows.value(r).value(column);
    if (!v.isValid() || v.isNull())
        return {};
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return v.value<Decimal>().toString();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return v.toString();
}

QVariant LookupResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return displayText(index.row(), index.column());
    if (role == Qt::EditRole)
        return m_rows.at(index.row()).value(index.column());
    if (role == Qt::TextAlignmentRole) {
        const QChar k = kindOf(index.column());
        if (k == QLatin1Char('I') || k == QLatin1Char('N'))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    }
    return {};
}

QVariant LookupResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < m_columns.size() && !m_columns.at(section).caption.isEmpty())
        return m_columns.at(section).caption;
    return m_fields.value(section);
}
