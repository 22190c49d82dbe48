#pragma once

#include "GridLayout.h"

#include <QList>
#include <QString>

class Prompter;
class QTableView;
class QWidget;
class SettingsStore;
class cAplication;
class cConfigure;

// The grid services for a QTableView: the layout, export and search rules live in GridLayout,
// GridExport and GridSearch; this only reads and moves the view's columns and rows.
class GridView {
public:
    static QList<GridColumn> captureLayout(const QTableView &view);
    // Applies as many stored columns as the view has.
    static void applyLayout(QTableView &view, const QList<GridColumn> &columns);

    // Stored under window + "-" + the view's objectName.
    static void saveLayout(SettingsStore &settings, const QString &window, const QTableView &view);
    // False (and the designed layout kept) while no layout was stored.
    static bool loadLayout(const SettingsStore &settings, const QString &window, QTableView &view);

    // Visible columns in screen order: what the user sees is what is exported.
    static QList<int> visibleColumns(const QTableView &view);
    static QString quickExport(const QTableView &view, cAplication &app, const cConfigure &config);
    // Asks for a file name (a save dialog), then writes; false when nothing was written.
    static bool exportToFile(const QTableView &view, Prompter &prompter, QWidget *parent = nullptr);
    // Asks for a text and selects the first matching row; false when none was found.
    static bool search(QTableView &view, Prompter &prompter);
};
