#pragma once

#include "Connection.h"
#include "ConnectionString.h"

#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A fresh database for one test, on either engine, removed at the end.
//   SQLite: a file in a temporary folder.
//   PostgreSQL: a fresh schema in a database of its own that the test process creates on the
//   server of $MDR_TEST_PG (an admin URI such as postgresql://mostrador@127.0.0.1:5432/postgres);
//   the connection string selects the schema, the schema is dropped at the end of the test and
//   the database when the process ends.
// Without MDR_TEST_PG the PostgreSQL rows are skipped, or fail when MDR_REQUIRE_PG=1.
//
//   void tst_X::f_data() { TestDatabase::addEngineRows(); }
//   void tst_X::f() {
//       QFETCH(QString, engine);
//       MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
//       db.connection().execute(...);
//   }
class TestDatabase {
public:
    enum Setup { Empty, Upgraded };

    static QString sqlite() { return QStringLiteral("sqlite"); }
    static QString postgresql() { return QStringLiteral("postgresql"); }
    static QStringList engines() { return {sqlite(), postgresql()}; }

    // Adds the column "engine" and one row per engine.
    static void addEngineRows();
    // For tests with more columns: add the "engine" column first, then rows per engine and case.
    static void addEngineColumn();
    static QTestData &newRow(const QString &engine, const QString &name);

    explicit TestDatabase(const QString &engine, Setup setup = Empty);
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    // False when the engine is not available; problem() says why, mustFail() whether that is an error.
    bool isReady() const { return m_ready; }
    bool mustFail() const { return m_mustFail; }
    QString problem() const { return m_problem; }

    db::Connection &connection() { return *m_connection; }
    const db::ConnectionString &target() const { return m_target; }
    QString connectionString() const { return m_target.toString(); }
    // Another session on the same database: a second workstation.
    std::unique_ptr<db::Connection> openAnother() const;

private:
    QString m_engine;
    bool m_ready = false;
    bool m_mustFail = false;
    QString m_problem;
    std::unique_ptr<QTemporaryDir> m_dir;
    db::ConnectionString m_target;
    QString m_schema;
    std::unique_ptr<db::Connection> m_connection;
};

#define MDR_TEST_DATABASE(var, ...)                                                                          \
    TestDatabase var(__VA_ARGS__);                                                                           \
    do {                                                                                                     \
        if (!var.isReady()) {                                                                                \
            if (var.mustFail())                                                                              \
                QFAIL(qPrintable(var.problem()));                                                            \
            QSKIP(qPrintable(var.problem()));                                                                \
        }                                                                                                    \
    } while (false)
