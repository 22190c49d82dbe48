#include "GridLayout.h"

#include "SettingsStore.h"

namespace {

QString columnKey(int n, const char *part)
{
    return QStringLiteral("Column_") + QString::number(n) + QLatin1Char('_') + QLatin1String(part);
}

} // namespace

QString GridLayout::sectionName(const QString &window, const QString &grid)
{
    return window + QLatin1Char('-') + grid;
}

void GridLayout::save(SettingsStore &settings, const QString &window, const QString &grid,
                      const QList<GridColumn> &columns)
{
    const QString section = sectionName(window, grid);
    settings.saveSetting(section, QStringLiteral("load"), QStringLiteral("SI"));
    settings.saveSetting(section, QStringLiteral("Columns"), QString::number(columns.size()));
    for (int n = 0; n < columns.size(); ++n) {
        const GridColumn &c = columns.at(n);
        settings.saveSetting(section, columnKey(n, "Width"), QString::number(c.width));
        settings.saveSetting(section, columnKey(n, "Order"), QString::number(c.order));
        settings.saveSetting(section, columnKey(n, "Header"), c.header);
    }
    settings.saveSetting(section, QStringLiteral("write"), QStringLiteral("SI"));
}

std::optional<QList<GridColumn>> GridLayout::load(const SettingsStore &settings, const QString &window,
                                                  const QString &grid)
{
    const QString section = sectionName(window, grid);
    if (settings.getSetting(section, QStringLiteral("write"), QStringLiteral("NO")).trimmed().toUpper() !=
        QLatin1String("SI"))
        return std::nullopt;
    bool ok = false;
    const int count = settings.getSetting(section, QStringLiteral("Columns")).trimmed().toInt(&ok);
    if (!ok || count < 0)
        return std::nullopt;
    QList<GridColumn> columns;
    columns.reserve(count);
    for (int n = 0; n < count; ++n) {
        GridColumn c;
        bool okWidth = false, okOrder = false;
        c.width = settings.getSetting(section, columnKey(n, "Width")).trimmed().toInt(&okWidth);
        c.order = settings.getSetting(section, columnKey(n, "Order")).trimmed().toInt(&okOrder);
        c.header = settings.getSetting(section, columnKey(n, "Header"));
        // A hand-edited or half-written entry must not scramble the grid.
        if (!okWidth || !okOrder || c.width < 0 || c.order < 0 || c.order >= count)
            return std::nullopt;
        columns << c;
    }
    return columns;
}
