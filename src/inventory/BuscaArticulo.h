#pragma once

#include <QString>

namespace db {
class Connection;
}

// Finding an article by what a cashier types or scans: its key, or one of its extra barcodes
// (tArticuloCodigo). Each step is one statement by primary key, kept prepared by the connection.
class BuscaArticulo {
public:
    // The article's key (art_Clave) for a key or barcode; empty when neither names an article.
    // The key wins over a barcode that happens to be written the same. Suspended articles are
    // found too: whether they may be sold is the caller's decision.
    static QString porCodigo(db::Connection &connection, const QString &code);
};
