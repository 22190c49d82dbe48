#pragma once

#include <QString>

#include <functional>

namespace db {

class Connection;

// Fills a store with made-up articles for trying searches and reports on big catalogues: Spanish
// names composed from word lists by department, EAN-13 keys 7509 + serial + check digit that
// continue after the highest one already there, a price breakdown and its 'NORMAL' row each.
// Deterministic: the same serial always gives the same article. One transaction; statements of
// many rows each, prepared once.
class ArticleGenerator {
public:
    struct Result {
        qint64 count = 0;
        QString firstKey, lastKey;
    };
    using Progress = std::function<void(qint64 done, qint64 total)>;

    static constexpr qint64 kMaxSerial = 99999999;
    static constexpr int kBatch = 100; // rows per insert statement

    // Throws DbError (Usage) when count is not positive or the serials would run out.
    static Result generate(Connection &connection, qint64 count, const Progress &progress = {});
    static QString keyFor(qint64 serial);
};

} // namespace db
