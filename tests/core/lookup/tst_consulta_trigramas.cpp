// The article search by any part of the name through the trigram index (an FTS5 table on
// SQLite, a pg_trgm GIN index on PostgreSQL): the rows found are exactly those of the plain
// folded LIKE, for articles that were there when the index was filled, renamed, deleted and
// added after it; the index is what the statement reads; a server that refuses the extension
// still upgrades and searches.
#include "ConsultaFixture.h"
#include "LookupArticulo.h"
#include "LookupSearch.h"
#include "TestDatabase.h"

#include "Schema.h"
#include "TextFold.h"
#include "migrations/Migrations.h"

#include <QTest>

namespace {

const QString kMigracion = QStringLiteral("MDR-2026-busqueda-articulos");

// Every migration before the index: the articles already there are what it fills from.
QList<db::Migration> antesDelIndice()
{
    QList<db::Migration> out;
    for (const db::Migration &m : db::Schema::migrations()) {
        if (m.key == kMigracion)
            break;
        out.append(m);
    }
    return out;
}

using Nombres = QMap<QString, QString>; // key → name

void inserta(db::Connection &c, Nombres &nombres, const QString &clave, const QString &nombre,
             const QString &estado = QStringLiteral("REGISTRADO"))
{
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, eart_Clave) values (?, ?, ?)"),
              {clave, nombre, estado});
    nombres.insert(clave, nombre);
}

// A store with the articles below, the index filled from the first ones and kept by the
// triggers for the changes after it.
Nombres preparaTienda(db::Connection &c)
{
    Nombres n;
    db::Schema::upgrade(c, antesDelIndice());
    inserta(c, n, QStringLiteral("A01"), QStringLiteral("José Pérez Jarabe"));
    inserta(c, n, QStringLiteral("A02"), QStringLiteral("ÑANDÚ Galletas 100%"));
    inserta(c, n, QStringLiteral("A03"), QStringLiteral("Jabón neutro 50_50"));
    inserta(c, n, QStringLiteral("A04"), QStringLiteral("Crema d'Ángel"));
    inserta(c, n, QStringLiteral("A05"), QStringLiteral("Shampoo \"Brillo\" 2x1"));
    inserta(c, n, QStringLiteral("A06"), QStringLiteral("PAÑALES etapa 3"));
    inserta(c, n, QStringLiteral("A07"), QStringLiteral("pañuelos desechables"));
    inserta(c, n, QStringLiteral("A08"), QStringLiteral("Ácido fólico 5 mg"));
    inserta(c, n, QStringLiteral("A09"), QStringLiteral("Aceite 1-2-3"));
    inserta(c, n, QStringLiteral("A10"), QStringLiteral("Back\\slash prueba"));
    inserta(c, n, QStringLiteral("A11"), QStringLiteral("Naranja 100 % natural"));
    inserta(c, n, QStringLiteral("A12"), QStringLiteral("jose cuervo"));
    inserta(c, n, QStringLiteral("A13"), QStringLiteral("Łódź eksport"));
    inserta(c, n, QStringLiteral("A14"), QStringLiteral("Ibuprofeno 400 mg"));
    inserta(c, n, QStringLiteral("A15"), QStringLiteral("Loratadina jarabe"));
    inserta(c, n, QStringLiteral("A17"), QStringLiteral("Jarabe para la tos"), QStringLiteral("SUSPENDIDO"));
    db::Schema::upgrade(c);
    // After the fill: a rename, a deletion, a new article, a change of something else than the name.
    c.execute(QStringLiteral("update tArticulo set art_Nombre = ? where art_Clave = ?"),
              {QStringLiteral("Naproxeno 250 mg"), QStringLiteral("A14")});
    n[QStringLiteral("A14")] = QStringLiteral("Naproxeno 250 mg");
    c.execute(QStringLiteral("delete from tArticulo where art_Clave = ?"), {QStringLiteral("A15")});
    n.remove(QStringLiteral("A15"));
    inserta(c, n, QStringLiteral("A16"), QStringLiteral("Manzanilla té"));
    c.execute(QStringLiteral("update tArticulo set art_Descripcion = 'x' where art_Clave = 'A01'"));
    return n;
}

// What the user asked for, computed here rather than by any SQL.
QStringList esperadas(const Nombres &n, const QString &texto, bool cualquierParte)
{
    const QString buscado = db::foldText(texto.trimmed());
    QStringList out;
    for (auto it = n.cbegin(); it != n.cend(); ++it) {
        const QString nombre = db::foldText(it.value());
        if (cualquierParte ? nombre.contains(buscado) : nombre.startsWith(buscado))
            out.append(it.key());
    }
    return out;
}

QStringList columna(db::Recordset rs)
{
    QStringList out;
    for (; !rs.eof(); rs.moveNext())
        out.append(rs.value(0).toString());
    out.sort();
    return out;
}

const QStringList kTextos = {
    QStringLiteral("j"),         QStringLiteral("jo"),         QStringLiteral("jos"),      QStringLiteral("JOSÉ"),
    QStringLiteral("nandu"),     QStringLiteral("ÑANDÚ"),      QStringLiteral("ñan"),      QStringLiteral("pañ"),
    QStringLiteral("pan"),       QStringLiteral("PA"),         QStringLiteral("100%"),     QStringLiteral("%"),
    QStringLiteral("0 %"),       QStringLiteral("_"),          QStringLiteral("0_5"),      QStringLiteral("50_"),
    QStringLiteral("d'á"),       QStringLiteral("'"),          QStringLiteral("\"brillo\""), QStringLiteral("\""),
    QStringLiteral("o\" 2"),     QStringLiteral("1-2-3"),      QStringLiteral("2-3"),      QStringLiteral("\\s"),
    QStringLiteral("k\\sl"),     QStringLiteral("ibuprofeno"), QStringLiteral("naproxeno"), QStringLiteral("lorat"),
    QStringLiteral("manzan"),    QStringLiteral("TÉ"),         QStringLiteral("jarabe"),   QStringLiteral("łódź"),
    QStringLiteral("ŁÓDŹ"),      QStringLiteral("o 5 m"),      QStringLiteral("zzz"),      QStringLiteral("acido"),
    QStringLiteral("  nara  "),  QStringLiteral("*"),          QStringLiteral("a OR b"),   QStringLiteral("^jos"),
};

} // namespace

class tst_ConsultaTrigramas : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_log.emplace(); }
    void cleanup() { m_log.reset(); }

    void igualALaBusquedaSimple_data();
    void igualALaBusquedaSimple();
    void usaElIndice_data() { TestDatabase::addEngineRows(); }
    void usaElIndice();
    void rellenoRepetido_data() { TestDatabase::addEngineRows(); }
    void rellenoRepetido();
    void sinDerechoAExtension();

private:
    std::optional<TestLogDirectory> m_log;
};

void tst_ConsultaTrigramas::igualALaBusquedaSimple_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("cualquierParte");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("cualquier parte")) << true;
        TestDatabase::newRow(engine, QStringLiteral("inicio")) << false;
    }
}

void tst_ConsultaTrigramas::igualALaBusquedaSimple()
{
    QFETCH(QString, engine);
    QFETCH(bool, cualquierParte);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    db::Connection &c = db.connection();
    const Nombres nombres = preparaTienda(c);
    const bool sqlite = c.engine() == db::Engine::SQLite;

    ConsultaStation st(&c);
    st.config.setValue(QStringLiteral("BUSQUEDA-LIKE"), cualquierParte);
    st.config.setValue(QStringLiteral("BUSQUEDA-SUSPENDIDOS"), false);
    st.config.setValue(QStringLiteral("PREGUNTAR-CONSULTA-VACIA"), false);
    const LookupArticulo::Definicion def = LookupArticulo::definicion(st.config, st.provider);
    QCOMPARE(def.definition.searchFields.at(0).column, QStringLiteral("art_Nombre"));
    LookupSearch s(st.services(), def.definition);
    for (const QString &texto : kTextos) {
        const QStringList esperado = esperadas(nombres, texto, cualquierParte);
        const PreparedQuery simple =
            LookupSearch::textCondition(QStringLiteral("art_Nombre"), texto.trimmed(), cualquierParte, sqlite);
        const QStringList sinIndice =
            columna(c.openRecordset(QStringLiteral("select art_Clave from tArticulo where ") + simple.sql, simple.values));
        QVERIFY2(sinIndice == esperado, qPrintable(texto + QStringLiteral(": sin índice ") + sinIndice.join(u',')));

        const LookupSearch::Outcome outcome = s.cmdBuscar({0, texto, {}, {}});
        QStringList encontradas;
        for (int r = 0; r < s.model().rowCount(); ++r)
            encontradas.append(s.model().plainText(r, def.definition.keyColumn).trimmed());
        encontradas.sort();
        QVERIFY2(encontradas == esperado, qPrintable(texto + QStringLiteral(": ") + encontradas.join(u',') +
                                                     QStringLiteral(" en vez de ") + esperado.join(u',')));
        QCOMPARE(outcome, esperado.isEmpty() ? LookupSearch::Outcome::NotFound : LookupSearch::Outcome::Found);
    }
}

void tst_ConsultaTrigramas::usaElIndice()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    db::Connection &c = db.connection();
    preparaTienda(c);
    ConsultaStation st(&c);
    const LookupArticulo::Definicion def = LookupArticulo::definicion(st.config, st.provider);
    const LookupField &nombre = def.definition.searchFields.at(0);
    const auto plan = [&](const QString &texto) {
        const PreparedQuery q = LookupSearch::fieldCondition(nombre, texto, true, engine == TestDatabase::sqlite());
        QString sql = QStringLiteral("select art_Clave from tArticulo where ") + q.sql;
        QVariantList values = q.values;
        if (engine == TestDatabase::postgresql()) {
            // PostgreSQL prepares no EXPLAIN: the value goes in as a literal the server quotes.
            sql.replace(QLatin1Char('?'), c.scalar(QStringLiteral("select quote_literal(?::text)"), values).toString());
            values.clear();
        }
        QStringList lines;
        for (db::Recordset rs = c.openRecordset(
                 (engine == TestDatabase::sqlite() ? QStringLiteral("explain query plan ") : QStringLiteral("explain ")) +
                     sql,
                 values);
             !rs.eof(); rs.moveNext())
            lines.append(rs.value(rs.fieldCount() - 1).toString());
        return lines.join(u'\n');
    };
    if (engine == TestDatabase::sqlite()) {
        QVERIFY2(plan(QStringLiteral("jarabe")).contains(QStringLiteral("VIRTUAL TABLE INDEX")), qPrintable(plan("jarabe")));
        QVERIFY2(plan(QStringLiteral("ñan")).contains(QStringLiteral("VIRTUAL TABLE INDEX")), qPrintable(plan("ñan")));
        // Two letters make no trigram: the plain scan.
        QVERIFY2(!plan(QStringLiteral("ja")).contains(QStringLiteral("VIRTUAL TABLE")), qPrintable(plan("ja")));
    } else {
        // Few rows: without this the planner rightly reads the table.
        c.execute(QStringLiteral("set enable_seqscan = off"));
        QVERIFY2(plan(QStringLiteral("jarabe")).contains(QStringLiteral("ix_tarticulo_nombretrigramas")),
                 qPrintable(plan("jarabe")));
        QVERIFY2(plan(QStringLiteral("o\" 2%")).contains(QStringLiteral("ix_tarticulo_nombretrigramas")),
                 qPrintable(plan("o\" 2%")));
        c.execute(QStringLiteral("reset enable_seqscan"));
    }
}

// Applying the index to a store that had it (a restored copy, an interrupted upgrade run again)
// leaves one entry per article.
void tst_ConsultaTrigramas::rellenoRepetido()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Empty);
    db::Connection &c = db.connection();
    preparaTienda(c);
    db::migrations::busquedaArticulos(c);
    ConsultaStation st(&c);
    st.config.setValue(QStringLiteral("BUSQUEDA-SUSPENDIDOS"), false);
    const LookupArticulo::Definicion def = LookupArticulo::definicion(st.config, st.provider);
    LookupSearch s(st.services(), def.definition);
    QCOMPARE(s.cmdBuscar({0, QStringLiteral("jarabe"), {}, {}}), LookupSearch::Outcome::Found);
    QCOMPARE(s.model().rowCount(), 2);
    QCOMPARE(s.cmdBuscar({0, QStringLiteral("naproxeno"), {}, {}}), LookupSearch::Outcome::Found);
    QCOMPARE(s.model().rowCount(), 1);
}

// A login that may not create extensions: the upgrade completes without the index, says so, and
// the search reads the table.
void tst_ConsultaTrigramas::sinDerechoAExtension()
{
    MDR_TEST_DATABASE(db, TestDatabase::postgresql(), TestDatabase::Empty);
    db::Connection &c = db.connection();
    QVERIFY(!c.scalar(QStringLiteral("select 1 from pg_extension where extname = 'pg_trgm'")).isValid());
    const QString schema = c.scalar(QStringLiteral("select current_schema()::text")).toString();
    const QString role = schema + QStringLiteral("_sin_extensiones");
    c.executeStatement(QStringLiteral("create role ") + role + QStringLiteral(" nologin"));
    c.executeStatement(QStringLiteral("grant usage, create on schema ") + schema + QStringLiteral(" to ") + role);
    c.executeStatement(QStringLiteral("set role ") + role);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^MDR-2026-busqueda-articulos: no se pudo instalar la "
                                                           "extensión pg_trgm .*leyendo la tabla")));
    Nombres nombres;
    bool ok = true;
    try {
        nombres = preparaTienda(c);
    } catch (const db::DbError &e) {
        ok = false;
        qWarning().noquote() << e.description();
    }
    c.executeStatement(QStringLiteral("reset role"));
    const auto dropRole = [&] {
        c.executeStatement(QStringLiteral("reassign owned by ") + role + QStringLiteral(" to current_user"));
        c.executeStatement(QStringLiteral("drop owned by ") + role);
        c.executeStatement(QStringLiteral("drop role ") + role);
    };
    if (!ok) {
        dropRole();
        QFAIL("the upgrade failed");
    }
    const bool current = db::Schema::isCurrent(c);
    const bool sinIndice = !c.scalar(QStringLiteral("select 1 from pg_indexes where indexname = "
                                                    "'ix_tarticulo_nombretrigramas'"))
                                .isValid();
    ConsultaStation st(&c);
    st.config.setValue(QStringLiteral("BUSQUEDA-SUSPENDIDOS"), false);
    const LookupArticulo::Definicion def = LookupArticulo::definicion(st.config, st.provider);
    LookupSearch s(st.services(), def.definition);
    s.cmdBuscar({0, QStringLiteral("JARABE"), {}, {}});
    const int filas = s.model().rowCount();
    dropRole();
    QVERIFY(current);
    QVERIFY(sinIndice);
    QCOMPARE(filas, esperadas(nombres, QStringLiteral("jarabe"), true).size());
}

QTEST_GUILESS_MAIN(tst_ConsultaTrigramas)
#include "tst_consulta_trigramas.moc"
