#include "ConfigGridModel.h"

#include "cConfigure.h"

#include <algorithm>

namespace {
QString siNo(bool value)
{
    return value ? QStringLiteral("Sí") : QStringLiteral("No");
}
} // namespace

ConfigGridModel::ConfigGridModel(cConfigure &config, QObject *parent)
    : QAbstractTableModel(parent), m_config(config)
{
    connect(&m_config, &cConfigure::valueChanged, this, &ConfigGridModel::onValueChanged);
    connect(&m_config, &cConfigure::itemAdded, this, &ConfigGridModel::onItemAdded);
}

QString ConfigGridModel::nombreCategoria(int category)
{
    // What the administrator reads; the stored names (getTypeToString) stay as they are for the
    // exchange files and scripts.
    static const QStringList nombres = {QStringLiteral("Sesión"),
                                        QStringLiteral("Usuarios"),
                                        QStringLiteral("Ajustes generales"),
                                        QStringLiteral("Operación"),
                                        QStringLiteral("Impresión"),
                                        QStringLiteral("Reportes Crystal"),
                                        QStringLiteral("Actualizaciones"),
                                        QStringLiteral("Base de datos"),
                                        QStringLiteral("Instalación"),
                                        QStringLiteral("Ventas"),
                                        QStringLiteral("Recepción"),
                                        QStringLiteral("Resurtido"),
                                        QStringLiteral("Envío"),
                                        QStringLiteral("Facturación"),
                                        QStringLiteral("Pedidos"),
                                        QStringLiteral("Catálogo"),
                                        QStringLiteral("Almacén"),
                                        QStringLiteral("Códigos (scripts)"),
                                        QStringLiteral("Reportes"),
                                        QStringLiteral("Consulta"),
                                        QStringLiteral("Tiempo aire"),
                                        QStringLiteral("Apariencia"),
                                        QStringLiteral("Pagos"),
                                        QStringLiteral("Asistencia"),
                                        QStringLiteral("Agenda"),
                                        QStringLiteral("Consultorio")};
    if (category >= 1 && category <= nombres.size())
        return nombres.at(category - 1);
    return QStringLiteral("Otros (") + QString::number(category) + QLatin1Char(')');
}

QString ConfigGridModel::nombreDato(int dataType)
{
    switch (dataType) {
    case cConfigValue::STRING:
        return QStringLiteral("Texto");
    case cConfigValue::BOOLEAN:
        return QStringLiteral("Sí/No");
    case cConfigValue::LONG:
        return QStringLiteral("Entero");
    case cConfigValue::DOUBLE:
        return QStringLiteral("Número");
    case cConfigValue::DATE:
        return QStringLiteral("Fecha");
    default:
        return QString();
    }
}

QList<QPair<int, QString>> ConfigGridModel::categorias() const
{
    QList<QPair<int, QString>> out;
    for (int c : m_config.categories())
        out.append({c, nombreCategoria(c)});
    return out;
}

void ConfigGridModel::setCategoria(int category)
{
    if (category == m_category)
        return;
    m_category = category;
    rebuild();
}

void ConfigGridModel::setOrdenar(bool sorted)
{
    if (sorted == m_sorted)
        return;
    m_sorted = sorted;
    rebuild();
}

void ConfigGridModel::rebuild()
{
    beginResetModel();
    m_rows.clear();
    for (int i = 0; i < m_config.getCount(); ++i) {
        cConfigValue *item = m_config.getItemByPos(i);
        if (item->category() == m_category)
            m_rows << item;
    }
    if (m_sorted) {
        std::stable_sort(m_rows.begin(), m_rows.end(),
                         [](const cConfigValue *a, const cConfigValue *b) { return a->key() < b->key(); });
    }
    endResetModel();
}

cConfigValue *ConfigGridModel::itemAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row) : nullptr;
}

int ConfigGridModel::rowOf(const QString &key) const
{
    for (int r = 0; r < m_rows.size(); ++r) {
        if (m_rows.at(r)->key().compare(key, Qt::CaseInsensitive) == 0)
            return r;
    }
    return -1;
}

QString ConfigGridModel::registros() const
{
    return QString::number(m_rows.size()) + QStringLiteral(" Registros");
}

QString ConfigGridModel::valorTexto(const cConfigValue &item) const
{
    const QVariant &v = item.value();
    switch (item.dataType()) {
    case cConfigValue::BOOLEAN:
        return siNo(v.toBool());
    case cConfigValue::DATE: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            return QString();
        if (dt.date() == QDate(1899, 12, 30))
            return dt.time().toString(QStringLiteral("HH:mm"));
        return dt.toString(
            cConfigValue::qtDateFormat(m_config.getString(QStringLiteral("FORMATO-FECHA-CLIENTE-FULL"))));
    }
    default:
        return item.toText();
    }
}

int ConfigGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ConfigGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ConfigGridModel::data(const QModelIndex &index, int role) const
{
    const cConfigValue *item = index.isValid() ? itemAt(index.row()) : nullptr;
    if (!item)
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == Valor &&
        (item->dataType() == cConfigValue::LONG || item->dataType() == cConfigValue::DOUBLE))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Computadora:
        return m_config.computer();
    case Clave:
        return item->key();
    case Tipo:
        return nombreCategoria(item->category());
    case Dato:
        return nombreDato(item->dataType());
    case Salvar:
        return siNo(item->writeBack());
    case Valor:
        return valorTexto(*item);
    default:
        return {};
    }
}

QVariant ConfigGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const captions[] = {"Computadora", "Clave", "Tipo", "Dato", "Salvar", "Valor"};
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(captions[section]);
}

void ConfigGridModel::onValueChanged(const QString &key)
{
    if (m_rows.isEmpty())
        return;
    if (key == QLatin1String("COMPUTER")) {
        Q_EMIT dataChanged(index(0, Computadora), index(int(m_rows.size()) - 1, Computadora));
    }
    const int row = rowOf(key);
    if (row >= 0)
        Q_EMIT dataChanged(index(row, Valor), index(row, Valor));
}

void ConfigGridModel::onItemAdded(const QString &key)
{
    const cConfigValue *item = m_config.getItemByKey(key);
    if (item && item->category() == m_category)
        rebuild();
}
