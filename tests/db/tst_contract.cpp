// What the program's statements rely on from the database server, checked identically on
// SQLite and PostgreSQL.

#include "Connection.h"
#include "Routines.h"
#include "Schema.h"
#include "TextFold.h"
#include "TestDatabase.h"
#include "Transaction.h"

#include <QTest>

using db::Connection;
using db::DbError;
using db::Recordset;

Q_DECLARE_METATYPE(DbError::Kind)

namespace {

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s));
}

void createArticulos(Connection &c)
{
    db::Schema::executeDdl(
        c, QStringLiteral("create table tArticulo (art_Clave varchar(20) not null primary key, "
                          "art_Nombre varchar(60), art_Precio numeric(18,6), "
                          "art_Existencia integer, art_Alta timestamp, art_Foto blob)"));
}

void insertArticulo(Connection &c, const QString &clave, const QString &nombre, const Decimal &precio)
{
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, art_Precio, art_Existencia) "
                             "values (?, ?, ?, ?)"),
              {clave, nombre, precio, 10});
}

int count(Connection &c, const QString &table)
{
    return int(c.scalar(QStringLiteral("select count(*) from ") + table).toLongLong());
}

} // namespace

class tst_Contract : public QObject {
    Q_OBJECT
private slots:
    void selectOne_data() { TestDatabase::addEngineRows(); }
    void selectOne();
    void getdateIsServerNow_data() { TestDatabase::addEngineRows(); }
    void getdateIsServerNow();
    void nullAndTextFunctions_data();
    void nullAndTextFunctions();
    void foldSameEverywhere_data();
    void foldSameEverywhere();
    void dateCount_data();
    void dateCount();
    void dateadd_data();
    void dateadd();
    void datePartFromData_data() { TestDatabase::addEngineRows(); }
    void datePartFromData();
    void tableHints_data();
    void tableHints();
    void dayFirstLiterals_data();
    void dayFirstLiterals();
    void dayFirstLiteralStored_data() { TestDatabase::addEngineRows(); }
    void dayFirstLiteralStored();
    void textLeftAlone_data();
    void textLeftAlone();
    void oldServerTexts_data();
    void oldServerTexts();
    void untranslatableRefused_data() { TestDatabase::addEngineRows(); }
    void untranslatableRefused();

    void recordsetNavigation_data() { TestDatabase::addEngineRows(); }
    void recordsetNavigation();
    void recordsetValueTypes_data() { TestDatabase::addEngineRows(); }
    void recordsetValueTypes();
    void decimalsExact_data();
    void decimalsExact();
    void forwardOnly_data() { TestDatabase::addEngineRows(); }
    void forwardOnly();
    void namedAndPositionalParameters_data() { TestDatabase::addEngineRows(); }
    void namedAndPositionalParameters();
    void injectionStaysData_data() { TestDatabase::addEngineRows(); }
    void injectionStaysData();

    void updatableBatch_data() { TestDatabase::addEngineRows(); }
    void updatableBatch();
    void updatableBatchIsAtomic_data() { TestDatabase::addEngineRows(); }
    void updatableBatchIsAtomic();
    void updatableChangeAndDelete_data() { TestDatabase::addEngineRows(); }
    void recordsetOutlivesConnection_data() { TestDatabase::addEngineRows(); }
    void recordsetOutlivesConnection();
    void exactAmounts_data();
    void exactAmounts();
    void updatableQuotedColumns_data();
    void updatableQuotedColumns();
    void updatableChangeAndDelete();

    void rollbackLeavesNothing_data() { TestDatabase::addEngineRows(); }
    void rollbackLeavesNothing();
    void transactionGuard_data() { TestDatabase::addEngineRows(); }
    void transactionGuard();
    void nestedTransactions_data() { TestDatabase::addEngineRows(); }
    void nestedTransactions();
    void failedStatementSpoilsCommit_data() { TestDatabase::addEngineRows(); }
    void failedStatementSpoilsCommit();
    void uncommittedIsInvisible_data() { TestDatabase::addEngineRows(); }
    void uncommittedIsInvisible();

    void errorsCarryDetail_data();
    void errorsCarryDetail();
    void layerErrors_data() { TestDatabase::addEngineRows(); }
    void layerErrors();

    void tablesAndColumns_data() { TestDatabase::addEngineRows(); }
    void tablesAndColumns();

    void routineCall_data() { TestDatabase::addEngineRows(); }
    void routineCall();
    void routineIsAtomic_data() { TestDatabase::addEngineRows(); }
    void routineIsAtomic();
    void unknownRoutine_data() { TestDatabase::addEngineRows(); }
    void unknownRoutine();

    void pingAndReopen_data() { TestDatabase::addEngineRows(); }
    void pingAndReopen();
    void tableChangedByAnotherWorkstation_data() { TestDatabase::addEngineRows(); }
    void tableChangedByAnotherWorkstation();
    void repeatedStatementsKeepTheirValues_data() { TestDatabase::addEngineRows(); }
    void repeatedStatementsKeepTheirValues();
    void statementHookCanFail_data() { TestDatabase::addEngineRows(); }
    void statementHookCanFail();
    void failedCommitIsRolledBack_data() { TestDatabase::addEngineRows(); }
    void failedCommitIsRolledBack();

private:
    void createRoutine(Connection &c);
};

void tst_Contract::selectOne()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    QCOMPARE(t.connection().scalar(QStringLiteral("select 1")).toInt(), 1);
}

void tst_Contract::getdateIsServerNow()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    const QVariant v = t.connection().scalar(QStringLiteral("select getdate()"));
    QCOMPARE(v.typeId(), int(QMetaType::QDateTime));
    QVERIFY2(qAbs(v.toDateTime().secsTo(QDateTime::currentDateTime())) <= 5, qPrintable(v.toString()));
}

void tst_Contract::nullAndTextFunctions_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "null takes the default") << "select isnull(null, 5) as r"
                                                          << "5";
        TestDatabase::newRow(e, "value kept") << "select isnull(2, 5) as r"
                                              << "2";
        TestDatabase::newRow(e, "next number on an empty table")
            << "select ISNULL(MAX(n), 0) + 1 as r from tNumero"
            << "1";
        TestDatabase::newRow(e, "text column") << "select isnull(max(nombre), 'ninguno') as r from tNumero"
                                               << "ninguno";
        TestDatabase::newRow(e, "left and right") << "select left('Aspirina', 3) || right('Aspirina', 2) as r"
                                                  << "Aspna";
        TestDatabase::newRow(e, "inside a condition")
            << "select count(*) as r from tNumero where isnull(nombre, '') = ''"
            << "0";
    }
}

void tst_Contract::foldSameEverywhere_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "acentos y eñe") << "José PEÑA Álvarez"
                                                 << "jose pena alvarez";
        TestDatabase::newRow(e, "dieresis y cedilla") << "PINGÜINO Çà"
                                                      << "pinguino ca";
        TestDatabase::newRow(e, "sin letra base: solo minusculas") << "ÆØÐÞ"
                                                                   << "æøðþ";
        TestDatabase::newRow(e, "signos y eszett quedan") << "2×3÷ß"
                                                          << "2×3÷ß";
        TestDatabase::newRow(e, "y con dieresis") << "ÿÝ"
                                                  << "yy";
        TestDatabase::newRow(e, "fuera de Latin-1 solo se baja") << "ŁÓDŹ"
                                                                 << "łodź";
        TestDatabase::newRow(e, "ascii") << "ABC-xyz 09"
                                         << "abc-xyz 09";
        TestDatabase::newRow(e, "ya plegado") << "jose pena"
                                              << "jose pena";
        TestDatabase::newRow(e, "vacio") << ""
                                         << "";
    }
}

// The fold that searches compare: the SQL function on each engine and the one the program folds
// the typed text with must agree, or a search misses rows.
void tst_Contract::foldSameEverywhere()
{
    QFETCH(QString, engine);
    QFETCH(QString, text);
    QFETCH(QString, folded);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    QCOMPARE(db::foldText(text), folded);
    QCOMPARE(t.connection().scalar(QStringLiteral("select mdr_fold(?)"), {text}).toString(), folded);
    QVERIFY(t.connection().scalar(QStringLiteral("select mdr_fold(null)")).isNull());
}

void tst_Contract::nullAndTextFunctions()
{
    QFETCH(QString, engine);
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    t.connection().executeScript(QStringLiteral("create table tNumero (n integer, nombre varchar(20))"));
    const Recordset rs = t.connection().openRecordset(expression);
    QCOMPARE(rs.text(QStringLiteral("r")), expected);
}

void tst_Contract::oldServerTexts_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariant>("expected"); // text, or an invalid QVariant for NULL
    for (const QString &e : TestDatabase::engines()) {
        const auto row = [&](const char *name, const char *sql, const QVariant &expected) {
            TestDatabase::newRow(e, name) << QString::fromUtf8(sql) << expected;
        };
        row("style 103", "select CONVERT(varchar(10), f, 103) as r from tNumero where n = 1", "05/03/2026");
        row("style 101", "select convert(varchar(10), f, 101) as r from tNumero where n = 1", "03/05/2026");
        row("style 112", "select convert(varchar(8), f, 112) as r from tNumero where n = 1", "20260305");
        row("style 108", "select convert(varchar(8), f, 108) as r from tNumero where n = 1", "14:07:09");
        // Compared in SQL: SQLite hands back a text shaped like a timestamp as a date.
        row("style 120",
            "select case when convert(varchar(19), f, 120) = '2026-03-05 14:07:09' then 'si' end as r from tNumero "
            "where n = 1",
            "si");
        row("style 103 cut short", "select convert(varchar(5), f, 103) as r from tNumero where n = 1", "05/03");
        row("style on a text literal", "select convert(varchar(10), '31/03/2026', 101) as r", "31/03/2026");
        row("text literal cut", "select convert(varchar(3), 'abcdef') as r", "abc");
        row("style on NULL", "select convert(varchar(10), f, 103) as r from tNumero where n = 3", QVariant());
        row("text to date by style",
            "select count(*) as r from tNumero where f >= convert(datetime, '01/03/2026', 103)", "2");
        row("cast to varchar", "select CAST(n AS VARCHAR(14)) as r from tNumero where n = 12", "12");
        row("cast cuts to its length", "select cast(nombre as varchar(2)) as r from tNumero where n = 12", "do");
        row("cast to char pads", "select cast(nombre as char(5)) + '|' as r from tNumero where n = 1", "uno  |");
        row("two literals", "select 'a' + 'b' as r", "ab");
        row("literal and column", "select 'Folio: ' + nombre as r from tNumero where n = 1", "Folio: uno");
        row("column, literal and cast", "select nombre + '-' + CAST(n AS varchar(10)) as r from tNumero where n = 12",
            "doce-12");
        row("text functions", "select upper(nombre) + lower('X') as r from tNumero where n = 1", "UNOx");
        row("text and NULL", "select 'a' + nombre as r from tNumero where n = 3", QVariant());
        row("case giving text", "select case when n > 1 then 'mayor' else 'menor' end + '!' as r from tNumero where n = 12",
            "mayor!");
        row("search pattern", "select count(*) as r from tNumero where nombre like '%' + 'o' + '%'", "2");
        row("numbers still add", "select ISNULL(MAX(n), 0) + 1 as r from tNumero", "13");
        row("top", "select top 1 nombre as r from tNumero order by n desc", "doce");
        row("top in a subquery",
            "select count(*) as r from tNumero where n in (select top 2 n from tNumero order by n)", "2");
        row("top in union members",
            "select count(*) as r from (select top 1 n from tNumero union all select top 2 n from tNumero) x", "3");
    }
}

void tst_Contract::oldServerTexts()
{
    QFETCH(QString, engine);
    QFETCH(QString, sql);
    QFETCH(QVariant, expected);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    c.executeScript(QStringLiteral("create table tNumero (n integer, nombre varchar(20), f timestamp)"));
    c.execute(QStringLiteral("insert into tNumero values (?, ?, ?)"), {1, "uno", at(2026, 3, 5, 14, 7, 9)});
    c.execute(QStringLiteral("insert into tNumero values (?, ?, ?)"), {12, "doce", at(2026, 3, 20)});
    c.execute(QStringLiteral("insert into tNumero values (?, ?, ?)"), {3, QVariant(), QVariant()});
    const Recordset rs = c.openRecordset(sql);
    QVERIFY(!rs.eof());
    const QVariant value = rs.value(QStringLiteral("r"));
    if (!expected.isValid())
        QVERIFY2(value.isNull() || !value.isValid(), qPrintable(value.toString()));
    else
        QCOMPARE(value.toString(), expected.toString());
}

// A construct without a faithful translation is an error naming it, never another result.
void tst_Contract::untranslatableRefused()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    try {
        t.connection().openRecordset(QStringLiteral("select convert(varchar(10), getdate(), 106) as r"));
        QFAIL("the statement must be refused");
    } catch (const DbError &e) {
        QCOMPARE(e.number(), db::errors::UntranslatableSql);
        QVERIFY(e.description().contains(QStringLiteral("convert(varchar(10), getdate(), 106)")));
    }
}

void tst_Contract::dateCount_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("expression");
    QTest::addColumn<qint64>("expected");
    for (const QString &e : TestDatabase::engines()) {
        // datediff counts boundaries crossed, as SQL Server does
        TestDatabase::newRow(e, "mi: ninety minutes")
            << "datediff(mi, '04/03/2026 10:00:00', '04/03/2026 11:30:00')" << qint64(90);
        TestDatabase::newRow(e, "mi: one boundary in two seconds")
            << "datediff(mi, '04/03/2026 10:00:59', '04/03/2026 10:01:01')" << qint64(1);
        TestDatabase::newRow(e, "dd: two minutes across midnight")
            << "datediff(dd, '04/03/2026 23:59:00', '05/03/2026 00:01:00')" << qint64(1);
        TestDatabase::newRow(e, "dd: backwards is negative")
            << "datediff(dd, '05/03/2026', '04/03/2026')" << qint64(-1);
        TestDatabase::newRow(e, "dd: quoted part")
            << "datediff('dd', '01/02/2026', '01/03/2026')" << qint64(28);
        TestDatabase::newRow(e, "mm: one day across months")
            << "datediff(mm, '31/01/2026', '01/02/2026')" << qint64(1);
        TestDatabase::newRow(e, "month: long name")
            << "datediff(month, '15/01/2026', '14/03/2026')" << qint64(2);
        TestDatabase::newRow(e, "yyyy: one second across years")
            << "datediff(yyyy, '31/12/2025 23:59:59', '01/01/2026 00:00:00')" << qint64(1);
        TestDatabase::newRow(e, "yy: same year") << "datediff(yy, '01/01/2026', '31/12/2026')" << qint64(0);
        TestDatabase::newRow(e, "hh: one boundary")
            << "datediff(hh, '04/03/2026 10:59:00', '04/03/2026 11:00:00')" << qint64(1);
        TestDatabase::newRow(e, "ss")
            << "datediff(ss, '04/03/2026 10:00:00', '04/03/2026 10:01:05')" << qint64(65);
        TestDatabase::newRow(e, "wk: Saturday to Sunday")
            << "datediff(wk, '07/03/2026', '08/03/2026')" << qint64(1);
        TestDatabase::newRow(e, "wk: Sunday to Saturday")
            << "datediff(wk, '01/03/2026', '07/03/2026')" << qint64(0);
        TestDatabase::newRow(e, "qq") << "datediff(qq, '31/03/2026', '01/04/2026')" << qint64(1);
        TestDatabase::newRow(e, "datepart dd") << "datepart(dd, '04/03/2026 13:45:10')" << qint64(4);
        TestDatabase::newRow(e, "datepart mm") << "datepart(mm, '04/03/2026 13:45:10')" << qint64(3);
        TestDatabase::newRow(e, "datepart yyyy") << "datepart(yyyy, '04/03/2026 13:45:10')" << qint64(2026);
        TestDatabase::newRow(e, "datepart hh") << "datepart(hh, '04/03/2026 13:45:10')" << qint64(13);
        TestDatabase::newRow(e, "datepart mi") << "datepart(mi, '04/03/2026 13:45:10')" << qint64(45);
        TestDatabase::newRow(e, "datepart ss") << "datepart(ss, '04/03/2026 13:45:10')" << qint64(10);
        TestDatabase::newRow(e, "datepart dy") << "datepart(dy, '04/03/2026')" << qint64(63);
        TestDatabase::newRow(e, "datepart qq") << "datepart(qq, '04/08/2026')" << qint64(3);
        TestDatabase::newRow(e, "datepart dw: Sunday is 1") << "datepart(dw, '01/03/2026')" << qint64(1);
        TestDatabase::newRow(e, "datepart dw: Saturday is 7") << "datepart(dw, '07/03/2026')" << qint64(7);
        TestDatabase::newRow(e, "datepart wk: week holding January 1st is 1")
            << "datepart(wk, '03/01/2026')" << qint64(1);
        TestDatabase::newRow(e, "datepart wk: first Sunday starts week 2")
            << "datepart(wk, '04/01/2026')" << qint64(2);
        TestDatabase::newRow(e, "year() month() day()")
            << "year('04/03/2026') * 10000 + month('04/03/2026') * 100 + day('04/03/2026')"
            << qint64(20260304);
        TestDatabase::newRow(e, "against getdate")
            << "datediff(yyyy, '01/01/2000', getdate()) - (datepart(yyyy, "
               "getdate()) - 2000)"
            << qint64(0);
    }
}

void tst_Contract::dateCount()
{
    QFETCH(QString, engine);
    QFETCH(QString, expression);
    QFETCH(qint64, expected);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    const Recordset rs =
        t.connection().openRecordset(QStringLiteral("select ") + expression + QStringLiteral(" as r"));
    QCOMPARE(rs.integer(QStringLiteral("r")), expected);
}

void tst_Contract::dateadd_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QDateTime>("expected");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "dd: into next month") << "dateadd(dd, 1, '31/03/2026')" << at(2026, 4, 1);
        TestDatabase::newRow(e, "d: backwards")
            << "dateadd(d, -7, '04/03/2026 10:00:00')" << at(2026, 2, 25, 10);
        TestDatabase::newRow(e, "mm: clamps to month end")
            << "dateadd(mm, 1, '31/01/2026')" << at(2026, 2, 28);
        TestDatabase::newRow(e, "yyyy: leap day") << "dateadd(yyyy, 1, '29/02/2024')" << at(2025, 2, 28);
        TestDatabase::newRow(e, "mi: across midnight")
            << "dateadd(mi, 90, '04/03/2026 23:00:00')" << at(2026, 3, 5, 0, 30);
        TestDatabase::newRow(e, "hh: back across midnight")
            << "dateadd(hh, -1, '01/03/2026 00:30:00')" << at(2026, 2, 28, 23, 30);
        TestDatabase::newRow(e, "ss") << "dateadd(ss, 61, '01/03/2026 00:00:00')" << at(2026, 3, 1, 0, 1, 1);
        TestDatabase::newRow(e, "wk") << "dateadd(wk, 2, '01/03/2026')" << at(2026, 3, 15);
        TestDatabase::newRow(e, "qq") << "dateadd(qq, 1, '30/11/2026')" << at(2027, 2, 28);
        TestDatabase::newRow(e, "ISO literal")
            << "dateadd(day, 1, '2026-03-04 10:00:00')" << at(2026, 3, 5, 10);
    }
}

void tst_Contract::dateadd()
{
    QFETCH(QString, engine);
    QFETCH(QString, expression);
    QFETCH(QDateTime, expected);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    const Recordset rs =
        t.connection().openRecordset(QStringLiteral("select ") + expression + QStringLiteral(" as r"));
    QCOMPARE(rs.dateTime(QStringLiteral("r")), expected);
}

void tst_Contract::datePartFromData()
{
    // tPeriodo.per_IntervaloSQL style: the part is a column value, not a word in the text.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    c.executeScript(
        QStringLiteral("create table tPeriodoIntervalo (per_Clave varchar(10), per_IntervaloSQL varchar(10))"));
    c.execute(QStringLiteral("insert into tPeriodoIntervalo values ('MES', 'mm'), ('SEMANA', 'wk')"));
    const Recordset rs =
        c.openRecordset(QStringLiteral("select per_Clave, dateadd(per_IntervaloSQL, 2, ?) as hasta "
                                       "from tPeriodoIntervalo order by per_Clave"),
                        {at(2026, 1, 15)});
    QCOMPARE(rs.text(QStringLiteral("per_Clave")), QStringLiteral("MES"));
    QCOMPARE(rs.dateTime(QStringLiteral("hasta")), at(2026, 3, 15));
    Recordset next = rs;
    next.moveNext();
    QCOMPARE(next.dateTime(QStringLiteral("hasta")), at(2026, 1, 29));
}

void tst_Contract::tableHints_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("sql");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "hint after alias")
            << "select a.art_Nombre from tArticulo a (nolock) where a.art_Clave = 'A1'";
        TestDatabase::newRow(e, "with hint, upper case")
            << "select art_Nombre from tArticulo WITH (NOLOCK) where art_Clave = 'A1'";
        TestDatabase::newRow(e, "dbo prefix and hint")
            << "select art_Nombre from dbo.tArticulo (nolock) where art_Clave = 'A1'";
        TestDatabase::newRow(e, "bracketed names")
            << "select [art_Nombre] from [dbo].[tArticulo] with (nolock) "
               "where [art_Clave] = 'A1'";
        TestDatabase::newRow(e, "hint list in a join")
            << "select a.art_Nombre from tArticulo a with (nolock, rowlock) inner join tArticulo b (nolock) "
               "on b.art_Clave = a.art_Clave where a.art_Clave = 'A1'";
        TestDatabase::newRow(e, "hint before where without blank")
            << "select art_Nombre from tArticulo(nolock)where art_Clave = 'A1'";
    }
}

void tst_Contract::tableHints()
{
    QFETCH(QString, engine);
    QFETCH(QString, sql);
    MDR_TEST_DATABASE(t, engine);
    createArticulos(t.connection());
    insertArticulo(t.connection(), QStringLiteral("A1"), QStringLiteral("Aspirina"), Decimal("12.50"));
    QCOMPARE(t.connection().scalar(sql).toString(), QStringLiteral("Aspirina"));
}

void tst_Contract::dayFirstLiterals_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("expected");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "closed range of March")
            << "venta_Fecha BETWEEN '01/03/2026 00:00:00' AND '31/03/2026 23:59:59'" << 3;
        TestDatabase::newRow(e, "from a date") << "venta_Fecha >= '01/03/2026'" << 4;
        TestDatabase::newRow(e, "before a date") << "venta_Fecha < '01/03/2026'" << 1;
        TestDatabase::newRow(e, "exact moment") << "venta_Fecha = '15/03/2026 12:00:00'" << 1;
        TestDatabase::newRow(e, "date alone is midnight") << "venta_Fecha = '01/03/2026'" << 1;
        TestDatabase::newRow(e, "single-digit day and month")
            << "venta_Fecha between '1/3/2026' and '2/3/2026'" << 1;
        TestDatabase::newRow(e, "day 13 cannot be a month") << "venta_Fecha < '13/03/2026'" << 2;
    }
}

void tst_Contract::dayFirstLiterals()
{
    QFETCH(QString, engine);
    QFETCH(QString, condition);
    QFETCH(int, expected);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    c.executeScript(QStringLiteral("create table tVenta (venta_Numero integer, venta_Fecha timestamp)"));
    const QList<QDateTime> moments = {at(2026, 2, 28, 23, 59, 59), at(2026, 3, 1), at(2026, 3, 15, 12),
                                      at(2026, 3, 31, 23, 59, 59), at(2026, 4, 1)};
    for (int i = 0; i < moments.size(); ++i)
        c.execute(QStringLiteral("insert into tVenta (venta_Numero, venta_Fecha) values (?, ?)"),
                  {i + 1, moments[i]});
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVenta (nolock) where ") + condition).toInt(),
             expected);
}

void tst_Contract::dayFirstLiteralStored()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    c.executeScript(QStringLiteral("create table tVenta (venta_Numero integer, venta_Fecha timestamp)"));
    c.execute(QStringLiteral("insert into tVenta values (1, '05/03/2026 10:20:30')"));
    const Recordset rs = c.openRecordset(QStringLiteral("select venta_Fecha from tVenta"));
    QCOMPARE(rs.value(QStringLiteral("venta_fecha")).typeId(), int(QMetaType::QDateTime));
    QCOMPARE(rs.dateTime(QStringLiteral("venta_Fecha")), at(2026, 3, 5, 10, 20, 30));
}

void tst_Contract::textLeftAlone_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("literal");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "words that are rewritten elsewhere")
            << "con (nolock), dbo.x, isnull(a, b), [c]";
        TestDatabase::newRow(e, "date inside a sentence") << "Fecha: 01/03/2026";
        TestDatabase::newRow(e, "question mark and colon name") << "¿Cuánto? :precio";
        TestDatabase::newRow(e, "doubled apostrophe") << "D''Angelo (nolock)";
    }
}

void tst_Contract::textLeftAlone()
{
    QFETCH(QString, engine);
    QFETCH(QString, literal);
    MDR_TEST_DATABASE(t, engine);
    const QString expected = QString(literal).replace(QLatin1String("''"), QLatin1String("'"));
    QCOMPARE(t.connection()
                 .scalar(QStringLiteral("select '") + literal + QStringLiteral("' -- dbo.x (nolock) ?"))
                 .toString(),
             expected);
}

void tst_Contract::recordsetNavigation()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Aspirina"), Decimal("12.5"));
    insertArticulo(c, QStringLiteral("B2"), QStringLiteral("Bicarbonato"), Decimal("8"));
    insertArticulo(c, QStringLiteral("C3"), QStringLiteral("Curitas"), Decimal("25.9"));

    Recordset rs =
        c.openRecordset(QStringLiteral("select art_Clave, art_Nombre from tArticulo order by art_Clave"));
    QCOMPARE(rs.recordCount(), 3);
    QCOMPARE(rs.fieldCount(), 2);
    QVERIFY(rs.hasField(QStringLiteral("ART_NOMBRE")));
    QVERIFY(!rs.hasField(QStringLiteral("art_Precio")));
    QVERIFY(!rs.eof());
    QStringList seen;
    for (; !rs.eof(); rs.moveNext())
        seen.append(rs.text(QStringLiteral("Art_Clave")));
    QCOMPARE(seen, QStringList({QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")}));
    try {
        rs.value(QStringLiteral("art_Clave"));
        QFAIL("reading at eof must fail");
    } catch (const DbError &e) {
        QCOMPARE(e.number(), db::errors::NoCurrentRecord);
    }
    rs.moveFirst();
    QCOMPARE(rs.value(0).toString(), QStringLiteral("A1"));
    try {
        rs.value(QStringLiteral("art_Inexistente"));
        QFAIL("a missing field must fail");
    } catch (const DbError &e) {
        QCOMPARE(e.number(), db::errors::FieldNotFound);
    }
    rs.close();
    QVERIFY(rs.eof());
    QCOMPARE(rs.recordCount(), 0);

    const Recordset empty =
        c.openRecordset(QStringLiteral("select * from tArticulo where art_Clave = ?"), {"ZZ"});
    QVERIFY(empty.eof());
    QVERIFY(empty.bof());
    QCOMPARE(empty.recordCount(), 0);
    QVERIFY(empty.hasField(QStringLiteral("art_Nombre")));
}

void tst_Contract::recordsetValueTypes()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    const QByteArray photo("\x00\x01\xff\x7f'\\x", 7);
    c.execute(QStringLiteral("insert into tArticulo values (?, ?, ?, ?, ?, ?)"),
              {"Ñ1", "Año Señor pingüino", Decimal("1234.567891"), 42, at(2026, 3, 4, 5, 6, 7), photo});
    c.execute(QStringLiteral("insert into tArticulo (art_Clave) values (?)"), {"VACIO"});

    Recordset rs = c.openRecordset(QStringLiteral("select * from tArticulo order by art_Existencia desc"));
    if (engine == TestDatabase::postgresql())
        rs.moveNext(); // PostgreSQL sorts NULL first when descending
    QCOMPARE(rs.text(QStringLiteral("art_Clave")), QStringLiteral("Ñ1"));
    QCOMPARE(rs.text(QStringLiteral("art_Nombre")), QStringLiteral("Año Señor pingüino"));
    QCOMPARE(rs.value(QStringLiteral("art_Precio")).value<Decimal>(), Decimal("1234.567891"));
    QCOMPARE(rs.decimal(QStringLiteral("art_Precio")), Decimal("1234.567891"));
    QCOMPARE(rs.value(QStringLiteral("art_Existencia")).toLongLong(), 42);
    QCOMPARE(rs.integer(QStringLiteral("art_Existencia")), 42);
    QCOMPARE(rs.value(QStringLiteral("art_Alta")).typeId(), int(QMetaType::QDateTime));
    QCOMPARE(rs.dateTime(QStringLiteral("art_Alta")), at(2026, 3, 4, 5, 6, 7));
    QCOMPARE(rs.value(QStringLiteral("art_Foto")).toByteArray(), photo);

    const QList<db::FieldInfo> fields = rs.fields();
    QCOMPARE(fields[rs.fieldIndex(QStringLiteral("art_Precio"))].kind, QStringLiteral("N"));
    QCOMPARE(fields[rs.fieldIndex(QStringLiteral("art_Precio"))].type, QMetaType::fromType<Decimal>());
    QCOMPARE(fields[rs.fieldIndex(QStringLiteral("art_Alta"))].kind, QStringLiteral("F"));
    QCOMPARE(fields[rs.fieldIndex(QStringLiteral("art_Nombre"))].kind, QStringLiteral("T"));
    QCOMPARE(fields[rs.fieldIndex(QStringLiteral("art_Foto"))].kind, QStringLiteral("I"));

    Recordset nulls = c.openRecordset(QStringLiteral("select * from tArticulo where art_Clave = 'VACIO'"));
    QVERIFY(nulls.isNull(QStringLiteral("art_Nombre")));
    QVERIFY(!nulls.value(QStringLiteral("art_Precio")).isValid());
    QCOMPARE(nulls.text(QStringLiteral("art_Nombre")), QString());
    QCOMPARE(nulls.decimal(QStringLiteral("art_Precio")), Decimal(0));
    QCOMPARE(nulls.integer(QStringLiteral("art_Existencia")), 0);
    QVERIFY(!nulls.dateTime(QStringLiteral("art_Alta")).isValid());
}

void tst_Contract::decimalsExact_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<Decimal>("value");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "a tenth") << Decimal("0.1");
        TestDatabase::newRow(e, "smallest step") << Decimal("-0.000001");
        TestDatabase::newRow(e, "millions with six decimals") << Decimal("1234567.891234");
        TestDatabase::newRow(e, "whole amount") << Decimal("250");
        TestDatabase::newRow(e, "cents") << Decimal("9999999.99");
    }
}

void tst_Contract::decimalsExact()
{
    QFETCH(QString, engine);
    QFETCH(Decimal, value);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    c.executeScript(QStringLiteral("create table tImporte (n integer, importe numeric(18,6))"));
    for (int i = 1; i <= 3; ++i)
        c.execute(QStringLiteral("insert into tImporte values (?, ?)"), {i, value});
    const Recordset rs =
        c.openRecordset(QStringLiteral("select importe from tImporte where importe = ?"), {value});
    QCOMPARE(rs.recordCount(), 3);
    QCOMPARE(rs.decimal(QStringLiteral("importe")), value);
    QCOMPARE(Decimal::fromVariant(c.scalar(QStringLiteral("select sum(importe) from tImporte"))),
             value * Decimal(3));
}

void tst_Contract::forwardOnly()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Uno"), Decimal(1));
    insertArticulo(c, QStringLiteral("A2"), QStringLiteral("Dos"), Decimal(2));
    Recordset rs = c.openForwardOnly(QStringLiteral("select art_Nombre from tArticulo order by art_Clave"));
    QCOMPARE(rs.text(QStringLiteral("art_Nombre")), QStringLiteral("Uno"));
    rs.moveNext();
    QCOMPARE(rs.text(QStringLiteral("art_Nombre")), QStringLiteral("Dos"));
    QVERIFY_THROWS_EXCEPTION(DbError, rs.moveFirst());
    rs.moveNext();
    QVERIFY(rs.eof());
    QVERIFY_THROWS_EXCEPTION(DbError, rs.addNew());
}

void tst_Contract::namedAndPositionalParameters()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    c.execute(
        QStringLiteral(
            "insert into tArticulo (art_Clave, art_Nombre, art_Precio) values (:clave, :nombre, :precio)"),
        QVariantMap{{"clave", "N1"}, {"@Nombre", "Naproxeno"}, {":PRECIO", Decimal("45.5").toQVariant()}});
    QCOMPARE(
        c.scalar(QStringLiteral("select art_Nombre from tArticulo where art_Clave = :c and art_Precio = :p "
                                "and art_Clave = :C"),
                 QVariantMap{{"c", "N1"}, {"p", Decimal("45.50").toQVariant()}})
            .toString(),
        QStringLiteral("Naproxeno"));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticulo where art_Clave = ? or art_Clave = ?"),
                      {"N1", "X"})
                 .toInt(),
             1);
    QCOMPARE(c.scalar(QStringLiteral("select cast(? as integer) + 1"), {41}).toInt(), 42);
    QCOMPARE(c.execute(QStringLiteral("update tArticulo set art_Existencia = ? where art_Clave like ?"),
                       {7, "N%"}),
             1);
    QCOMPARE(c.execute(QStringLiteral("delete from tArticulo where art_Clave = ?"), {"nadie"}), 0);
}

void tst_Contract::injectionStaysData()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    const QString evil = QStringLiteral("x'); delete from tArticulo; --");
    insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Uno"), Decimal(1));
    insertArticulo(c, QStringLiteral("E1"), evil, Decimal(1));
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 2);
    QCOMPARE(
        c.scalar(QStringLiteral("select art_Nombre from tArticulo where art_Clave = ?"), {"E1"}).toString(),
        evil);
}

void tst_Contract::updatableBatch()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    auto other = t.openAnother();

    Recordset rs = c.openUpdatable(QStringLiteral("tArticulo"));
    QVERIFY(rs.eof());
    rs.addNew();
    rs.setValue(QStringLiteral("art_Clave"), QStringLiteral("U1"));
    rs.setValue(QStringLiteral("ART_NOMBRE"), QStringLiteral("Uno"));
    rs.setValue(QStringLiteral("art_Precio"), Decimal("10.25"));
    rs.addNew();
    rs.setValue(QStringLiteral("art_Clave"), QStringLiteral("U2"));
    rs.setValue(QStringLiteral("art_Alta"), at(2026, 3, 1, 8));
    QCOMPARE(rs.pendingCount(), 2);
    QCOMPARE(count(*other, QStringLiteral("tArticulo")), 0); // nothing written before the batch
    rs.updateBatch();
    QCOMPARE(rs.pendingCount(), 0);
    QCOMPARE(count(*other, QStringLiteral("tArticulo")), 2);
    const Recordset check =
        other->openRecordset(QStringLiteral("select * from tArticulo order by art_Clave"));
    QCOMPARE(check.decimal(QStringLiteral("art_Precio")), Decimal("10.25"));
    Recordset second = check;
    second.moveNext();
    QCOMPARE(second.dateTime(QStringLiteral("art_Alta")), at(2026, 3, 1, 8));
    QVERIFY(second.isNull(QStringLiteral("art_Nombre")));
}

void tst_Contract::updatableBatchIsAtomic()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    insertArticulo(c, QStringLiteral("DUP"), QStringLiteral("Existente"), Decimal(1));
    Recordset rs = c.openUpdatable(QStringLiteral("select * from tArticulo where art_Clave = ?"), {"nada"});
    for (const char *clave : {"N1", "N2", "DUP"}) {
        rs.addNew();
        rs.setValue(QStringLiteral("art_Clave"), QString::fromLatin1(clave));
    }
    try {
        rs.updateBatch();
        QFAIL("a duplicate key must stop the batch");
    } catch (const DbError &e) {
        QCOMPARE(e.kind(), DbError::UniqueViolation);
    }
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 1);
    QCOMPARE(c.transactionDepth(), 0);
}

// The connection an updatable recordset was read from is gone (a reconnection replaced it): the
// batch is refused with a clear error and its rows stay pending, instead of using freed memory.
void tst_Contract::recordsetOutlivesConnection()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    createArticulos(t.connection());
    auto gone = t.openAnother();
    Recordset rs = gone->openUpdatable(QStringLiteral("tArticulo"));
    rs.addNew();
    rs.setValue(QStringLiteral("art_Clave"), QStringLiteral("A1"));
    gone.reset();
    try {
        rs.updateBatch();
        QFAIL("the batch went through a connection that no longer exists");
    } catch (const DbError &e) {
        QCOMPARE(e.kind(), DbError::ConnectionLost);
    }
    QCOMPARE(rs.pendingCount(), 1);
    QCOMPARE(count(t.connection(), QStringLiteral("tArticulo")), 0);
}

void tst_Contract::exactAmounts_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QStringList>("amounts"); // "n*amount" repeats it n times
    QTest::addColumn<QString>("total");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, "a balance of 10,000 cents") << QStringList{"10000*0.01", "1*-100"} << "0";
        TestDatabase::newRow(engine, "0.1 + 0.2") << QStringList{"1*0.1", "1*0.2"} << "0.3";
        TestDatabase::newRow(engine, "sixteen digits") << QStringList{"1*1234567890.123456"} << "1234567890.123456";
        TestDatabase::newRow(engine, "cents on large amounts")
            << QStringList{"3*99999999.99", "7*0.07", "1*-0.5"} << "299999999.96";
    }
}

// What the program writes reads back exactly, and totals computed by the server are exact.
void tst_Contract::exactAmounts()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, amounts);
    QFETCH(QString, total);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    c.execute(QStringLiteral("create table tMov (mov_Id integer, mov_Importe numeric(18,6))"));
    int id = 0;
    {
        db::Transaction tx(c);
        for (const QString &entry : amounts) {
            const int times = entry.section(u'*', 0, 0).toInt();
            const Decimal amount(entry.section(u'*', 1));
            for (int i = 0; i < times; ++i)
                c.execute(QStringLiteral("insert into tMov (mov_Id, mov_Importe) values (?, ?)"),
                          {++id, amount.toQVariant()});
        }
        tx.commit();
    }
    const Decimal expected(total);
    QCOMPARE(Decimal::fromVariant(c.scalar(QStringLiteral("select mov_Importe from tMov where mov_Id = 1"))),
             Decimal(amounts.first().section(u'*', 1)));
    QCOMPARE(Decimal::fromVariant(c.scalar(QStringLiteral("select sum(mov_Importe) from tMov"))), expected);
    // Compared inside the server too, as a report's condition would.
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tMov having sum(mov_Importe) = %1").arg(total)).toInt(),
             id);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tMov where mov_Importe = %1")
                          .arg(amounts.first().section(u'*', 1)))
                 .toInt(),
             amounts.first().section(u'*', 0, 0).toInt());
}

void tst_Contract::updatableQuotedColumns_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("column"); // as created, quoted
    QTest::addColumn<QString>("name");   // as the engine reports it
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, "keyword") << "\"order\"" << "order";
        TestDatabase::newRow(engine, "space") << "\"precio unitario\"" << "precio unitario";
    }
}

// Names that are keywords or hold spaces are written quoted: insert, change (keyed) and delete.
void tst_Contract::updatableQuotedColumns()
{
    QFETCH(QString, engine);
    QFETCH(QString, column);
    QFETCH(QString, name);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    c.execute(QStringLiteral("create table tRaro (%1 varchar(20) not null primary key, \"group\" integer)").arg(column));
    Recordset rs = c.openUpdatable(QStringLiteral("tRaro"));
    rs.addNew();
    rs.setValue(name, QStringLiteral("A"));
    rs.setValue(QStringLiteral("group"), QVariant(1));
    rs.addNew();
    rs.setValue(name, QStringLiteral("B"));
    rs.updateBatch();
    rs.moveFirst();
    rs.setValue(QStringLiteral("group"), QVariant(7));
    rs.moveNext();
    rs.deleteCurrent();
    rs.updateBatch();
    const Recordset check = c.openRecordset(QStringLiteral("select * from tRaro"));
    QCOMPARE(check.recordCount(), 1);
    QCOMPARE(check.text(name), QStringLiteral("A"));
    QCOMPARE(check.integer(QStringLiteral("group")), 7);
}

void tst_Contract::updatableChangeAndDelete()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Uno"), Decimal(1));
    insertArticulo(c, QStringLiteral("A2"), QStringLiteral("Dos"), Decimal(2));
    insertArticulo(c, QStringLiteral("A3"), QStringLiteral("Tres"), Decimal(3));
    Recordset rs = c.openUpdatable(
        QStringLiteral("select art_Clave, art_Precio from dbo.tArticulo (nolock) order by art_Clave"));
    rs.setValue(QStringLiteral("art_Precio"), Decimal("1.5"));
    rs.moveNext();
    rs.deleteCurrent();
    rs.updateBatch();
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 2);
    QCOMPARE(Decimal::fromVariant(
                 c.scalar(QStringLiteral("select art_Precio from tArticulo where art_Clave = 'A1'"))),
             Decimal("1.5"));
    QCOMPARE(c.scalar(QStringLiteral("select art_Nombre from tArticulo where art_Clave = 'A1'")).toString(),
             QStringLiteral("Uno"));

    // Someone else deleted the row: the change is refused instead of silently lost.
    Recordset stale = c.openUpdatable(QStringLiteral("select * from tArticulo where art_Clave = ?"), {"A1"});
    c.execute(QStringLiteral("delete from tArticulo where art_Clave = 'A1'"));
    stale.setValue(QStringLiteral("art_Nombre"), QStringLiteral("Perdido"));
    QVERIFY_THROWS_EXCEPTION(DbError, stale.updateBatch());
}

void tst_Contract::rollbackLeavesNothing()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    c.begin();
    insertArticulo(c, QStringLiteral("T1"), QStringLiteral("Uno"), Decimal(1));
    c.execute(QStringLiteral("update tArticulo set art_Nombre = 'Cambiado'"));
    c.rollback();
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 0);
    QCOMPARE(c.transactionDepth(), 0);
}

void tst_Contract::transactionGuard()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    try {
        db::Transaction tx(c);
        insertArticulo(c, QStringLiteral("T1"), QStringLiteral("Uno"), Decimal(1));
        throw std::runtime_error("falla a media escritura");
    } catch (const std::runtime_error &) {
    }
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 0);
    {
        db::Transaction tx(c);
        insertArticulo(c, QStringLiteral("T2"), QStringLiteral("Dos"), Decimal(2));
        tx.commit();
    }
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 1);
}

void tst_Contract::nestedTransactions()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    {
        db::Transaction outer(c);
        insertArticulo(c, QStringLiteral("O1"), QStringLiteral("Fuera"), Decimal(1));
        {
            db::Transaction inner(c);
            insertArticulo(c, QStringLiteral("I1"), QStringLiteral("Dentro"), Decimal(1));
            QCOMPARE(c.transactionDepth(), 2);
        } // inner rolled back, outer goes on
        {
            db::Transaction inner(c);
            insertArticulo(c, QStringLiteral("I2"), QStringLiteral("Dentro"), Decimal(1));
            inner.commit();
        }
        outer.commit();
    }
    QCOMPARE(
        c.scalar(QStringLiteral("select count(*) from tArticulo where art_Clave in ('O1', 'I2')")).toInt(),
        2);
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 2);
}

void tst_Contract::failedStatementSpoilsCommit()
{
    // PostgreSQL aborts a transaction at the first error; SQLite would not. Both refuse to commit.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    c.begin();
    insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Uno"), Decimal(1));
    QVERIFY_THROWS_EXCEPTION(DbError,
                             insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Otra vez"), Decimal(1)));
    QVERIFY_THROWS_EXCEPTION(DbError, c.commit());
    QCOMPARE(c.transactionDepth(), 0);
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 0);

    // A savepoint that failed and was rolled back leaves the outer transaction usable.
    {
        db::Transaction outer(c);
        insertArticulo(c, QStringLiteral("B1"), QStringLiteral("Uno"), Decimal(1));
        try {
            db::Transaction inner(c);
            insertArticulo(c, QStringLiteral("B1"), QStringLiteral("Repetido"), Decimal(1));
            inner.commit();
        } catch (const DbError &) {
        }
        insertArticulo(c, QStringLiteral("B2"), QStringLiteral("Dos"), Decimal(2));
        outer.commit();
    }
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 2);
}

void tst_Contract::uncommittedIsInvisible()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    auto other = t.openAnother();
    db::Transaction tx(c);
    insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Uno"), Decimal(1));
    QCOMPARE(count(*other, QStringLiteral("tArticulo")), 0);
    tx.commit();
    QCOMPARE(count(*other, QStringLiteral("tArticulo")), 1);
}

void tst_Contract::errorsCarryDetail_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("sql");
    QTest::addColumn<DbError::Kind>("kind");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "syntax") << "selec 1" << DbError::Other;
        TestDatabase::newRow(e, "missing table") << "select * from tNoExiste" << DbError::NotFound;
        TestDatabase::newRow(e, "missing column") << "select art_Nada from tArticulo" << DbError::NotFound;
        TestDatabase::newRow(e, "duplicate key")
            << "insert into tArticulo (art_Clave) values ('A1')" << DbError::UniqueViolation;
        TestDatabase::newRow(e, "not null")
            << "insert into tArticulo (art_Nombre) values ('sin clave')" << DbError::ConstraintViolation;
    }
}

void tst_Contract::errorsCarryDetail()
{
    QFETCH(QString, engine);
    QFETCH(QString, sql);
    QFETCH(DbError::Kind, kind);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Uno"), Decimal(1));
    try {
        c.execute(sql);
        QFAIL("the statement must fail");
    } catch (const DbError &e) {
        QCOMPARE(e.kind(), kind);
        QVERIFY(!e.description().isEmpty());
        QVERIFY(!e.code().isEmpty());
        QVERIFY2(e.source().startsWith(engine == TestDatabase::sqlite() ? QLatin1String("SQLite.")
                                                                        : QLatin1String("PostgreSQL.")),
                 qPrintable(e.source()));
        QCOMPARE(e.sql(), sql);
        QVERIFY(QString::fromUtf8(e.what()).contains(e.description()));
        if (engine == TestDatabase::sqlite())
            QVERIFY(e.number() > 0);
    }
    QCOMPARE(c.scalar(QStringLiteral("select 1")).toInt(), 1); // the session survives its errors
}

void tst_Contract::layerErrors()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    const auto numberOf = [](const std::function<void()> &f) {
        try {
            f();
        } catch (const DbError &e) {
            return e.number();
        }
        return 0;
    };
    QCOMPARE(numberOf([&] { c.scalar(QStringLiteral("select ?, ?"), {1}); }), db::errors::BadParameters);
    QCOMPARE(numberOf([&] { c.scalar(QStringLiteral("select 1"), {1}); }), db::errors::BadParameters);
    QCOMPARE(numberOf([&] {
                 c.scalar(QStringLiteral("select :a"), QVariantMap{{"b", 1}});
             }),
             db::errors::BadParameters);
    QCOMPARE(numberOf([&] { c.scalar(QStringLiteral("select :a, ?"), {1, 2}); }), db::errors::BadParameters);
    QCOMPARE(numberOf([&] { c.commit(); }), db::errors::NotOpen);
    c.close();
    QCOMPARE(numberOf([&] { c.execute(QStringLiteral("select 1")); }), db::errors::NotOpen);
}

void tst_Contract::tablesAndColumns()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    c.executeScript(
        QStringLiteral("create table tLinea (lin_Folio integer not null, lin_Renglon integer not null, "
                       "lin_Cantidad numeric(18,6), primary key (lin_Folio, lin_Renglon))"));
    const QStringList tables = c.tables();
    QVERIFY2(tables.contains(QStringLiteral("tArticulo"), Qt::CaseInsensitive),
             qPrintable(tables.join(u',')));
    QVERIFY(c.tableExists(QStringLiteral("TARTICULO")));
    QVERIFY(!c.tableExists(QStringLiteral("tNada")));

    const QList<db::FieldInfo> cols = c.columns(QStringLiteral("tArticulo"));
    QStringList kinds;
    for (const db::FieldInfo &f : cols)
        kinds.append(f.name.toLower() + u'=' + f.kind);
    QCOMPARE(kinds.join(u' '),
             QStringLiteral("art_clave=T art_nombre=T art_precio=N art_existencia=N art_alta=F art_foto=I"));
    QCOMPARE(cols[0].size, 20);
    QVERIFY(cols[0].primaryKey);
    QVERIFY(!cols[0].nullable);
    QVERIFY(!cols[1].primaryKey);
    QVERIFY(cols[1].nullable);
    QCOMPARE(cols[2].scale, 6);
    QCOMPARE(cols[2].type, QMetaType::fromType<Decimal>());
    QCOMPARE(cols[4].type, QMetaType::fromType<QDateTime>());

    QStringList key = c.primaryKey(QStringLiteral("tLinea"));
    for (QString &k : key)
        k = k.toLower();
    QCOMPARE(key, QStringList({QStringLiteral("lin_folio"), QStringLiteral("lin_renglon")}));
    QVERIFY(c.columns(QStringLiteral("tNada")).isEmpty());
}

void tst_Contract::createRoutine(Connection &c)
{
    c.executeScript(QStringLiteral("create table tBitacora (bit_Clave varchar(20), bit_Cantidad integer)"));
    if (c.engine() == db::Engine::PostgreSQL) {
        c.executeScript(QStringLiteral(R"(
create function sp_prueba(clave varchar, cantidad integer, falla varchar default 'N', out valor integer, out eco varchar)
language plpgsql as $$
begin
    insert into tBitacora values (clave, cantidad);
    if falla = 'S' then
        raise exception 'falla pedida';
    end if;
    valor := cantidad * 2;
    eco := clave;
end
$$)"));
        return;
    }
    db::Routines::registerRoutine(QStringLiteral("sp_prueba"), [](Connection &conn, const QVariantMap &p) {
        conn.execute(QStringLiteral("insert into tBitacora values (?, ?)"),
                     {p.value("clave"), p.value("cantidad")});
        if (p.value(QStringLiteral("falla")).toString() == u"S")
            throw DbError(50000, QStringLiteral("falla pedida"), QStringLiteral("SQLite.sp_prueba"));
        return QVariantMap{{"@Valor", p.value(QStringLiteral("cantidad")).toInt() * 2},
                           {"eco", p.value("clave")}};
    });
}

void tst_Contract::routineCall()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    createRoutine(c);
    const QVariantMap out = c.callRoutine(QStringLiteral("dbo.sp_Prueba"),
                                          {{"@clave", "ABC"}, {"@Cantidad", 21}, {"@valor", QVariant()}});
    QCOMPARE(out.value(QStringLiteral("valor")).toInt(), 42);
    QCOMPARE(out.value(QStringLiteral("eco")).toString(), QStringLiteral("ABC"));
    QCOMPARE(count(c, QStringLiteral("tBitacora")), 1);

    // Inside a document's transaction the routine's work is part of it.
    {
        db::Transaction tx(c);
        c.callRoutine(QStringLiteral("sp_prueba"), {{"clave", "DEF"}, {"cantidad", 1}});
    }
    QCOMPARE(count(c, QStringLiteral("tBitacora")), 1);
}

void tst_Contract::routineIsAtomic()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    createRoutine(c);
    try {
        c.callRoutine(QStringLiteral("sp_prueba"), {{"@clave", "X"}, {"@cantidad", 1}, {"@falla", "S"}});
        QFAIL("the routine must fail");
    } catch (const DbError &e) {
        QVERIFY2(e.description().contains(QLatin1String("falla pedida")), qPrintable(e.description()));
    }
    QCOMPARE(count(c, QStringLiteral("tBitacora")), 0);
    QCOMPARE(c.transactionDepth(), 0);
}

void tst_Contract::unknownRoutine()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    try {
        t.connection().callRoutine(QStringLiteral("sp_noexiste"), {{"@a", 1}});
        QFAIL("an unknown routine must fail");
    } catch (const DbError &e) {
        QCOMPARE(e.kind(), DbError::NotFound);
    }
}

void tst_Contract::pingAndReopen()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    QVERIFY(c.ping());
    c.close();
    QVERIFY(!c.ping());
    QVERIFY(c.lastError().has_value());
    QVERIFY(c.reopen());
    QVERIFY(c.ping());
    QCOMPARE(c.connectionString(), t.connectionString());
}

void tst_Contract::statementHookCanFail()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    // Fail the second statement of a two-insert document: the document is all or nothing.
    const qint64 start = c.statementCount();
    c.setStatementHook([&](const QString &) {
        if (c.statementCount() - start == 3) // BEGIN, insert, insert
            throw DbError(-1, QStringLiteral("falla simulada"), QStringLiteral("prueba"));
    });
    try {
        db::Transaction tx(c);
        insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Uno"), Decimal(1));
        insertArticulo(c, QStringLiteral("A2"), QStringLiteral("Dos"), Decimal(2));
        tx.commit();
        QFAIL("the hook must stop the document");
    } catch (const DbError &e) {
        QCOMPARE(e.description(), QStringLiteral("falla simulada"));
    }
    c.setStatementHook(nullptr);
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 0);
}

void tst_Contract::failedCommitIsRolledBack()
{
    // A COMMIT that fails leaves the transaction open; the guard must still end it.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    c.setStatementHook([](const QString &sql) {
        if (sql == QStringLiteral("COMMIT"))
            throw DbError(-1, QStringLiteral("commit fallido"), QStringLiteral("prueba"));
    });
    try {
        db::Transaction tx(c);
        insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Uno"), Decimal(1));
        tx.commit();
        QFAIL("the commit must fail");
    } catch (const DbError &e) {
        QCOMPARE(e.description(), QStringLiteral("commit fallido"));
    }
    c.setStatementHook(nullptr);
    QCOMPARE(c.transactionDepth(), 0);
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 0);
    // The connection is usable for the next document.
    db::Transaction tx(c);
    insertArticulo(c, QStringLiteral("A2"), QStringLiteral("Dos"), Decimal(2));
    tx.commit();
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 1);
}

void tst_Contract::tableChangedByAnotherWorkstation()
{
    // A statement this session keeps prepared must follow a table another session altered.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    insertArticulo(c, QStringLiteral("A1"), QStringLiteral("Uno"), Decimal(1));
    const QString sql = QStringLiteral("select * from tArticulo where art_Clave = ?");
    QCOMPARE(c.openRecordset(sql, {"A1"}).fieldCount(), 6);
    auto other = t.openAnother();
    other->executeScript(
        QStringLiteral("alter table tArticulo add column art_Nuevo varchar(10) default 'x'"));
    const Recordset rs = c.openRecordset(sql, {"A1"});
    QCOMPARE(rs.fieldCount(), 7);
    QCOMPARE(rs.text(QStringLiteral("art_Nuevo")), QStringLiteral("x"));
    QCOMPARE(rs.text(QStringLiteral("art_Nombre")), QStringLiteral("Uno"));
    // The same without values (a statement that is never kept prepared).
    other->executeScript(QStringLiteral("alter table tArticulo add column art_Otro integer default 5"));
    const Recordset all = c.openRecordset(QStringLiteral("select * from tArticulo"));
    QCOMPARE(all.fieldCount(), 8);
    QCOMPARE(all.integer(QStringLiteral("art_Otro")), 5);
}

void tst_Contract::repeatedStatementsKeepTheirValues()
{
    // The same text run again with other values, NULL among them, and after a failure.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    createArticulos(c);
    const QString insert =
        QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, art_Precio) values (?, ?, ?)");
    c.execute(insert, {"A1", "Uno", Decimal("1.5")});
    c.execute(insert, {"A2", QVariant(), QVariant()});
    QVERIFY_THROWS_EXCEPTION(DbError, c.execute(insert, {"A1", "Repetido", Decimal(9)}));
    c.execute(insert, {"A3", "Tres", Decimal("3.25")});
    const QString select = QStringLiteral("select art_Nombre, art_Precio from tArticulo where art_Clave = ?");
    QCOMPARE(c.openRecordset(select, {"A1"}).decimal(QStringLiteral("art_Precio")), Decimal("1.5"));
    QVERIFY(c.openRecordset(select, {"A2"}).isNull(QStringLiteral("art_Nombre")));
    QCOMPARE(c.openRecordset(select, {"A3"}).text(QStringLiteral("art_Nombre")), QStringLiteral("Tres"));
    QVERIFY(c.openRecordset(select, {"A9"}).eof());
    QCOMPARE(count(c, QStringLiteral("tArticulo")), 3);
}

QTEST_GUILESS_MAIN(tst_Contract)
#include "tst_contract.moc"
