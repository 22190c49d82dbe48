#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>

// What a caller hands the lookup window (frmConsulta, frmCatalogo, frmConsultaArt) before showing it.
struct LookupField {
    enum Kind { Numero = 1, Texto = 2, Fecha = 3 };
    QString caption; // the user's words: "Nombre", "Clave", "RFC"
    QString column;  // the column searched
    int kind = Texto;
    // SQLite: an FTS5 table with the trigram tokenizer holding mdr_fold(column), keyed by the
    // rowid that indexedRowid names ("tArticulo.rowid"). A text search of 3 characters or more
    // then reads it instead of folding every row; the rows found are the same. Empty: no index.
    // PostgreSQL: the table itself, with a trigram index over the folded column, and
    // indexedRowid its ctid ("tArticulo.ctid").
    QString trigramTable;
    QString indexedRowid;
};

struct LookupColumn {
    QString caption;
    // 'I' integer, 'N' number "#,##0.00", 'F' date in FORMATO-FECHA-CLIENTE, '?' as text
    QChar kind = QLatin1Char('?');
    int width = 0; // 0: the window decides
};

struct LookupDefinition {
    QString selectList;        // "prov_Clave, prov_Nombre"
    QString table;             // FROM text
    QString filter;            // fixed WHERE text every search keeps; '?' placeholders bind filterParams
    QVariantList filterParams; // values for the fixed filter's placeholders, in order
    QString order;             // ORDER BY text
    QList<LookupField> searchFields;
    QList<LookupColumn> columns;
    QString title;
    QString maintenanceWindow; // "frmProveedor"; empty: no Add/Change/Delete/Consult commands
    QString sqlTemplate;       // a whole statement with "##REPLACE##"; replaces the composition
    bool noQuestion = false;   // an empty search never asks
    bool autoAccept = false;   // exactly one row found: accepted at once
    int keyColumn = 0;         // result column holding the key
    int nameColumn = 1;        // result column holding the name (-1: none)
};

// The row the user accepted.
struct LookupResult {
    bool accepted = false;
    QString key;
    QString name;
    QVariantList row;
};

// How a lookup opens the maintenance window named in its definition.
// command: 'A' add, 'C' change, 'B' delete, 'Q' consult; key empty for 'A'.
// Runs the window to its end; returns true when rows may have changed (the lookup searches again).
using MaintenanceOpener = std::function<bool(const QString &window, QChar command, const QString &key)>;
