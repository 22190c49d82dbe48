#pragma once

#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

class Prompter;

namespace db {
class Connection;
class Recordset;
} // namespace db

// Copies the rows of a query on one database into a table of another (branch transfers).
class cDatabase : public QObject {
    Q_OBJECT
public:
    explicit cDatabase(Prompter &prompter, QObject *parent = nullptr);

    // Where progress texts go (the main window's status bar).
    void setStatusSink(std::function<void(const QString &)> sink) { m_status = std::move(sink); }

    // The first column list names destination columns and the second the source columns they
    // take their values from, paired by position (the same order as the two connections and the
    // two queries). Without lists, every source column found by name in the destination is copied.
    // All rows are written at the end in one batch: the copy lands whole or not at all.
    bool bulkCopy(db::Connection &destination, db::Connection &source, const QString &destinationQuery,
                  const QString &sourceQuery, const QString &destinationColumns = QString(),
                  const QString &sourceColumns = QString(), int progressInterval = 100);

    // Pairs (destination, source) of the copy; empty when the two sides share nothing.
    static QList<QPair<QString, QString>> pairColumns(const db::Recordset &destination, const db::Recordset &source,
                                                      const QString &destinationColumns,
                                                      const QString &sourceColumns);

private:
    void status(const QString &text);

    Prompter &m_prompter;
    std::function<void(const QString &)> m_status;
};
