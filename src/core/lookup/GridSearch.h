#pragma once

#include <QList>
#include <QString>

class QAbstractItemModel;
class Prompter;

// Search in a grid: the first row with a cell that contains the text, without regard to case.
class GridSearch {
public:
    static const QString kTitle;
    static const QString kPrompt;
    static const QString kNotFound;

    // Columns to look in; empty means all. -1 when no row matches or the text is empty.
    static int findRow(const QAbstractItemModel &model, const QString &text, const QList<int> &columns = {});
    // Asks for the text; the matching row, or -1 (with a message when nothing matched, silently
    // when the user cancelled or typed nothing).
    static int buscar(const QAbstractItemModel &model, Prompter &prompter, const QList<int> &columns = {});
};
