// The SQLite store as a file: who may read it, a store the user may only read, and statements
// that would reach other files.

#include "Connection.h"
#include "ConnectionString.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using db::Connection;
using db::DbError;

namespace {

int mode(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 0777);
}

// Root may write any file: the read-only cases run as "nobody" for their duration.
struct Unprivileged {
    bool switched = false;
    Unprivileged() { switched = ::geteuid() == 0 && ::seteuid(65534) == 0; }
    ~Unprivileged()
    {
        if (switched && ::seteuid(0) != 0)
            qFatal("seteuid(0)");
    }
};

} // namespace

class tst_Store : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newStoreIsPrivate();
    void readOnlyStore_data();
    void readOnlyStore();
    void attachRefused_data();
    void attachRefused();
};

// Password hashes and sales are not for every local user: 0600 whatever the umask, and the WAL
// companions SQLite makes take the same mode.
void tst_Store::newStoreIsPrivate()
{
    QTemporaryDir dir;
    const mode_t old = ::umask(022);
    const QString path = dir.filePath("datos/tienda.sqlite");
    {
        Connection c;
        c.open(db::ConnectionString::sqlite(path), Connection::OpenMode::CreateIfMissing);
        c.execute("create table t (a integer)");
        c.execute("insert into t (a) values (1)");
        QCOMPARE(mode(path), 0600);
        QCOMPARE(mode(path + "-wal"), 0600);
        QCOMPARE(mode(path + "-shm"), 0600);
    }
    ::umask(old);
}

void tst_Store::readOnlyStore_data()
{
    QTest::addColumn<bool>("folderWritable"); // where SQLite could make its WAL index
    QTest::newRow("folder writable") << true;
    QTest::newRow("folder read-only too") << false;
}

// A store the user may only read is opened for reading (lookups, reports) instead of failing at
// the WAL pragma; a write says why it is refused.
void tst_Store::readOnlyStore()
{
    QFETCH(bool, folderWritable);
    QTemporaryDir dir;
    const QString path = dir.filePath("tienda.sqlite");
    {
        Connection c;
        c.open(db::ConnectionString::sqlite(path), Connection::OpenMode::CreateIfMissing);
        c.execute("create table t (a integer)");
        c.execute("insert into t (a) values (7)");
    }
    QVERIFY(!QFile::exists(path + "-wal"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup |
                                                  (folderWritable ? QFile::WriteOwner | QFile::WriteOther
                                                                  : QFile::Permissions())));
    {
        Unprivileged nobody;
        Connection c;
        c.open(db::ConnectionString::sqlite(path));
        QVERIFY(c.isReadOnly());
        QCOMPARE(c.scalar("select a from t").toInt(), 7);
        try {
            c.execute("insert into t (a) values (8)");
            QFAIL("a read-only store took a write");
        } catch (const DbError &e) {
            QVERIFY2(e.description().contains("sólo para lectura"), qPrintable(e.description()));
        }
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void tst_Store::attachRefused_data()
{
    QTest::addColumn<QString>("statement"); // %1 is another database file
    QTest::newRow("attach") << "attach database '%1' as otra";
    QTest::newRow("attach, lower-case and bare") << "attach '%1' as otra";
}

// Statement texts come from scripts and stored queries: none may open another file.
void tst_Store::attachRefused()
{
    QFETCH(QString, statement);
    QTemporaryDir dir;
    const QString other = dir.filePath("otra.sqlite");
    {
        Connection c;
        c.open(db::ConnectionString::sqlite(other), Connection::OpenMode::CreateIfMissing);
        c.execute("create table secreto (a integer)");
    }
    Connection c;
    c.open(db::ConnectionString::sqlite(dir.filePath("tienda.sqlite")), Connection::OpenMode::CreateIfMissing);
    QVERIFY_THROWS_EXCEPTION(DbError, c.execute(statement.arg(other)));
    QVERIFY_THROWS_EXCEPTION(DbError, c.scalar("select count(*) from otra.secreto"));
}

QTEST_GUILESS_MAIN(tst_Store)
#include "tst_store.moc"
