#include "GridSearch.h"

#include "Prompter.h"

#include <QAbstractItemModel>

const QString GridSearch::kTitle = QStringLiteral("Buscar Por");
const QString GridSearch::kPrompt = QStringLiteral("Texto a buscar");
const QString GridSearch::kNotFound = QStringLiteral("No se encontro el elemento deseado");

int GridSearch::findRow(const QAbstractItemModel &model, const QString &text, const QList<int> &columns)
{
    const QString needle = text.trimmed();
    if (needle.isEmpty())
        return -1;
    QList<int> cols = columns;
    if (cols.isEmpty())
        for (int c = 0; c < model.columnCount(); ++c)
            cols << c;
    for (int r = 0; r < model.rowCount(); ++r)
        for (int c : cols)
            if (model.data(model.index(r, c), Qt::DisplayRole)
                    .toString()
                    .contains(needle, Qt::CaseInsensitive))
                return r;
    return -1;
}

int GridSearch::buscar(const QAbstractItemModel &model, Prompter &prompter, const QList<int> &columns)
{
    QString text;
    if (!prompter.input(kPrompt, kTitle, text) || text.trimmed().isEmpty())
        return -1;
    const int row = findRow(model, text, columns);
    if (row < 0)
        prompter.information(kNotFound);
    return row;
}
