#include "TestDatabase.h"

#include "DatabaseAdmin.h"
#include "DbError.h"
#include "Schema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QRandomGenerator>

namespace {

QAtomicInt g_serial;

// Creating a PostgreSQL database takes about a second, so a test process creates one and each
// TestDatabase gets a fresh schema in it, named in the connection string's search_path so that
// every session opened from that string (a second workstation, a reconnection) sees it alone.
db::ConnectionString g_processDatabase;

void dropProcessDatabase()
{
    if (g_processDatabase.isEmpty())
        return;
    try {
        db::DatabaseAdmin::drop(g_processDatabase);
    } catch (const db::DbError &e) {
        qWarning("No se pudo borrar la base de prueba: %s", e.what());
    }
    g_processDatabase = {};
}

const db::ConnectionString &processDatabase(const QString &adminUri)
{
    if (g_processDatabase.isEmpty()) {
        const QString name = QStringLiteral("mdr_test_%1_%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QRandomGenerator::global()->bounded(1000000));
        const db::ConnectionString target = db::ConnectionString::parse(adminUri).withDatabase(name);
        db::DatabaseAdmin::ensureExists(target);
        g_processDatabase = target;
        qAddPostRoutine(dropProcessDatabase);
    }
    return g_processDatabase;
}

} // namespace

void TestDatabase::addEngineColumn()
{
    QTest::addColumn<QString>("engine");
}

void TestDatabase::addEngineRows()
{
    addEngineColumn();
    for (const QString &e : engines())
        QTest::newRow(qPrintable(e)) << e;
}

QTestData &TestDatabase::newRow(const QString &engine, const QString &name)
{
    return QTest::newRow(qPrintable(engine + QStringLiteral(": ") + name)) << engine;
}

TestDatabase::TestDatabase(const QString &engine, Setup setup) : m_engine(engine)
{
    try {
        if (engine == sqlite()) {
            m_dir = std::make_unique<QTemporaryDir>();
            if (!m_dir->isValid()) {
                m_problem = QStringLiteral("No se pudo crear la carpeta temporal");
                m_mustFail = true;
                return;
            }
            m_target = db::ConnectionString::sqlite(m_dir->filePath(QStringLiteral("prueba.db")));
        } else if (engine == postgresql()) {
            const QString admin = qEnvironmentVariable("MDR_TEST_PG");
            if (admin.isEmpty()) {
                m_problem = QStringLiteral("PostgreSQL no disponible: defina MDR_TEST_PG");
                m_mustFail = qEnvironmentVariable("MDR_REQUIRE_PG") == u"1";
                return;
            }
            m_schema = QStringLiteral("mdr_s%1").arg(g_serial.fetchAndAddRelaxed(1) + 1);
            const db::ConnectionString base = processDatabase(admin);
            {
                db::Connection setup;
                setup.open(base);
                setup.executeScript(QStringLiteral("drop schema if exists ") + m_schema +
                                    QStringLiteral(" cascade; create schema ") + m_schema);
            }
            QString uri = base.toString();
            uri += base.options().isEmpty() ? u'?' : u'&';
            uri += QStringLiteral("options=-c%20search_path%3D") + m_schema +
                   QStringLiteral("&application_name=") + m_schema;
            m_target = db::ConnectionString::parse(uri);
        } else {
            m_problem = QStringLiteral("Motor desconocido: ") + engine;
            m_mustFail = true;
            return;
        }
        if (m_target.engine() == db::Engine::SQLite)
            db::DatabaseAdmin::ensureExists(m_target);
        m_connection = std::make_unique<db::Connection>();
        m_connection->open(m_target);
        if (setup == Upgraded)
            db::Schema::upgrade(*m_connection);
        m_ready = true;
    } catch (const db::DbError &e) {
        m_problem = QStringLiteral("No se pudo preparar la base de prueba: ") + e.message();
        m_mustFail = engine == sqlite() || qEnvironmentVariable("MDR_REQUIRE_PG") == u"1";
    }
}

TestDatabase::~TestDatabase()
{
    m_connection.reset();
    if (m_schema.isEmpty() || g_processDatabase.isEmpty())
        return;
    try {
        db::Connection c;
        c.open(g_processDatabase);
        // Sessions a test left open would hold locks on the schema.
        // Schema names repeat across test processes; only this process's database is ours.
        c.execute(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity "
                                 "where application_name = ? and datname = current_database() "
                                 "and pid <> pg_backend_pid()"),
                  {m_schema});
        c.executeScript(QStringLiteral("drop schema if exists ") + m_schema + QStringLiteral(" cascade"));
    } catch (const db::DbError &e) {
        qWarning("No se pudo borrar el esquema de prueba: %s", e.what());
    }
}

std::unique_ptr<db::Connection> TestDatabase::openAnother() const
{
    auto c = std::make_unique<db::Connection>();
    c->open(m_target);
    return c;
}
