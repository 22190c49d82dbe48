#pragma once

// Internal to the db library: the state behind Recordset, filled by Connection.

#include "Recordset.h"

#include <QHash>
#include <QSet>

#include <memory>

namespace db {

struct Recordset::Data {
    enum RowState { Unchanged, New, Modified, Deleted };

    Mode mode = Static;
    bool open = false;
    QList<FieldInfo> fields;
    QHash<QString, int> index; // lower-case name -> column
    QList<QVariantList> rows;
    int pos = 0;

    // Updatable recordsets
    std::weak_ptr<Connection *> connection;
    QString table;
    QStringList keyFields;
    QList<RowState> states;
    QList<QVariantList> originals;
    QList<QSet<int>> assigned;

    void buildIndex()
    {
        index.clear();
        // The first of two equal names wins, as in ADO.
        for (int i = int(fields.size()) - 1; i >= 0; --i)
            index.insert(fields[i].name.toLower(), i);
    }
};

} // namespace db
