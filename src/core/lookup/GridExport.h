#pragma once

#include <QList>
#include <QString>

class QAbstractItemModel;
class Prompter;
class cAplication;
class cConfigure;

// Grid exports: the header row and every row, cells joined with ",".
class GridExport {
public:
    static const QString kOverwriteQuestion;

    // Columns are model columns in the order to write; empty means all, in model order.
    static QString toText(const QAbstractItemModel &model, const QList<int> &columns = {});
    // SETTING-EXPORT-EXTENSION, "csv" when it is empty.
    static QString exportExtension(const cConfigure &config);

    // Writes to fileName, asking before replacing an existing file; false when nothing was written.
    static bool exportToFile(const QAbstractItemModel &model, const QString &fileName, Prompter &prompter,
                             const QList<int> &columns = {});
    // "Exportando" in the status bar, a temporary "zevexp" file, then opened with its program.
    // The file's path, empty when it could not be written.
    static QString quickExport(const QAbstractItemModel &model, cAplication &app, const QString &extension,
                               const QList<int> &columns = {});

private:
    static bool write(const QString &fileName, const QString &text);
};
