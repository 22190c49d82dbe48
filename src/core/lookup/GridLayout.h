#pragma once

#include <QList>
#include <QString>

#include <optional>

class SettingsStore;

// One column of a grid as the user left it.
struct GridColumn {
    int width = 0;
    int order = 0; // position on screen, from 0
    QString header;

    friend bool operator==(const GridColumn &, const GridColumn &) = default;
};

// Column layouts of grids in the per-user settings store, under window name + "-" + grid name.
// "write" = "SI" is stored last, so a layout that was never stored whole is never applied and
// the grid keeps its designed layout.
class GridLayout {
public:
    static QString sectionName(const QString &window, const QString &grid);

    static void save(SettingsStore &settings, const QString &window, const QString &grid,
                     const QList<GridColumn> &columns);
    // The stored columns, or nothing while "write" is not "SI" or the layout is unreadable.
    static std::optional<QList<GridColumn>> load(const SettingsStore &settings, const QString &window,
                                                 const QString &grid);
};
