// Stored queries: system and user markers in their text and bound forms, the typed value
// holder, loading a query with its columns, filling a choice list, and the list-entry convention.
#include "CConsulta.h"
#include "CValue.h"
#include "ConsultaFixture.h"
#include "DemoDataConsultas.h"
#include "ListEntry.h"
#include "TestDatabase.h"

#include <QDate>
#include <QTest>

using Icon = Prompter::Icon;

namespace {

void addWarehousesAndTerminals(db::Connection &c)
{
    c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre, alm_Telefono) values "
                             "('MATRIZ', 'Matriz', '33 1234'), ('NORTE', 'Sucursal Norte', '33 9876'), "
                             "('O''HARA', 'Bodega O''Hara', null)"));
    c.execute(QStringLiteral("insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values "
                             "('CAJA1', 'Caja 1 MATRIZ', 'MATRIZ'), ('CAJA2', 'Caja 2 MATRIZ', 'MATRIZ'), "
                             "('NORTE1', 'Caja NORTE', 'NORTE'), ('OH1', 'Caja O''HARA', 'O''HARA')"));
}

QStringList firstColumn(db::Connection &c, const PreparedQuery &q)
{
    QStringList out;
    for (db::Recordset rs = c.openRecordset(q.sql, q.values); !rs.eof(); rs.moveNext())
        out << rs.value(0).toString();
    return out;
}

void addQuery(db::Connection &c, int clave, const QString &sql, const QList<CConsulta::Columna> &columnas)
{
    c.execute(QStringLiteral("insert into tConsulta (con_Clave, con_Nombre, con_SQL, con_Completar) values (?, ?, ?, 'N')"),
              {clave, QStringLiteral("Consulta ") + QString::number(clave), sql});
    // Inserted in reverse so that sel_Orden, not insertion order, decides.
    for (qsizetype i = columnas.size() - 1; i >= 0; --i) {
        const CConsulta::Columna &col = columnas.at(i);
        c.execute(QStringLiteral("insert into tSelect (con_Clave, sel_Orden, sel_Nombre, sel_Campo, sel_Valor, "
                                 "sel_Descripcion) values (?, ?, ?, ?, ?, ?)"),
                  {clave, int(i + 1), col.nombre, col.campo, col.valor ? "S" : "N", col.descripcion ? "S" : "N"});
    }
}

} // namespace

class tst_Consulta : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_log.emplace(); }
    void cleanup() { m_log.reset(); }

    void remplazaValorSistema_data();
    void remplazaValorSistema();
    void remplazaValorUsuario_data();
    void remplazaValorUsuario();
    void parametroNoEncontrado();
    void valueToDbSigueLaConfiguracion();
    void valorParaEnlazar_data();
    void valorParaEnlazar();

    void marcadoresEnlazados_data();
    void marcadoresEnlazados();
    void sistemaDesconocidoNoCoincideConNada_data() { TestDatabase::addEngineRows(); }
    void sistemaDesconocidoNoCoincideConNada();
    void fechaEnlazada_data() { TestDatabase::addEngineRows(); }
    void fechaEnlazada();
    void parametroNoEncontradoNoEjecuta_data() { TestDatabase::addEngineRows(); }
    void parametroNoEncontradoNoEjecuta();

    void cargaConsulta_data() { TestDatabase::addEngineRows(); }
    void cargaConsulta();
    void cargaCombo_data();
    void cargaCombo();
    void cargaComboErrorReportado_data() { TestDatabase::addEngineRows(); }
    void cargaComboErrorReportado();
    void consultasDeDemostracion_data() { TestDatabase::addEngineRows(); }
    void consultasDeDemostracion();

    void listEntry_data();
    void listEntry();

private:
    std::optional<TestLogDirectory> m_log;
};

void tst_Consulta::remplazaValorSistema_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    const QString year = QString::number(QDate::currentDate().year());
    QTest::newRow("ALM_CLAVE") << "where alm_Clave = '{ALM_CLAVE}'" << "where alm_Clave = 'MATRIZ'";
    QTest::newRow("almacen en minusculas") << "where alm_Clave = '{almacen}'" << "where alm_Clave = 'MATRIZ'";
    QTest::newRow("alm_clave en minusculas") << "'{alm_clave}'" << "'MATRIZ'";
    QTest::newRow("usuario") << "{USU_CLAVE}" << "ADMIN";
    QTest::newRow("terminal") << "{TERM_CLAVE}" << "CAJA1";
    QTest::newRow("anio") << "{ANIO}" << year;
    QTest::newRow("anio minusculas") << "{anio}" << year;
    QTest::newRow("desconocido desaparece") << "a{XYZ}b" << "ab";
    QTest::newRow("todas las apariciones") << "{ALM_CLAVE}-{TERM_CLAVE}-{ALM_CLAVE}" << "MATRIZ-CAJA1-MATRIZ";
    QTest::newRow("llave sin cerrar") << "x = {ALM_CLAVE" << "x = {ALM_CLAVE";
    QTest::newRow("sin marcadores") << "select 1" << "select 1";
}

void tst_Consulta::remplazaValorSistema()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    ConsultaStation st(nullptr);
    CConsulta q(st.provider, st.config, st.prompter);
    QCOMPARE(q.remplazaValorSistema(sql), expected);
    QVERIFY(st.prompter.shown.isEmpty());
}

void tst_Consulta::remplazaValorUsuario_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QString>("expected");
    const QDateTime when(QDate(2026, 3, 5), QTime(14, 7, 9));
    QTest::newRow("fecha F") << "F" << QVariant(when) << "where f >= '05/03/2026 14:07:09'";
    QTest::newRow("fecha F desde texto") << "F" << QVariant(QStringLiteral("2026-03-05")) << "where f >= '05/03/2026 00:00:00'";
    QTest::newRow("numero N") << "N" << QVariant(QStringLiteral("12.5")) << "where f >= 12.5";
    QTest::newRow("numero N decimal") << "N" << Decimal("12.50").toQVariant() << "where f >= 12.5";
    QTest::newRow("texto T con apostrofo") << "T" << QVariant(QStringLiteral("O'Brien")) << "where f >= 'O''Brien'";
    QTest::newRow("EAN E") << "E" << QVariant(QStringLiteral("7501234567890")) << "where f >= '7501234567890'";
    QTest::newRow("objeto O vacio") << "O" << QVariant(QStringLiteral("algo")) << "where f >= ";
    QTest::newRow("si/no S vacio") << "S" << QVariant(true) << "where f >= ";
}

void tst_Consulta::remplazaValorUsuario()
{
    QFETCH(QString, tipo);
    QFETCH(QVariant, valor);
    QFETCH(QString, expected);
    ConsultaStation st(nullptr);
    CConsulta q(st.provider, st.config, st.prompter);
    CValue p(QStringLiteral("FECHA"), valor, tipo);
    // The key is found without regard to case.
    QCOMPARE(q.remplazaValorUsuario(QStringLiteral("where f >= [fecha]"), {&p}), expected);
    QVERIFY(st.prompter.shown.isEmpty());
}

void tst_Consulta::parametroNoEncontrado()
{
    ConsultaStation st(nullptr);
    CConsulta q(st.provider, st.config, st.prompter);
    CValue a(QStringLiteral("A"), QStringLiteral("uno"), QStringLiteral("T"));
    CValue b(QStringLiteral("B"), QStringLiteral("dos"), QStringLiteral("T"));
    const QString out = q.preparaQuery({&a, &b}, QStringLiteral("select [A], [X], [B] from t where w = {ALM_CLAVE}"));
    // Stops at [X]: what came before is replaced, the marker and the rest stay.
    QCOMPARE(out, QStringLiteral("select 'uno', [X], [B] from t where w = MATRIZ"));
    QCOMPARE(st.prompter.shown.size(), 1);
    QCOMPARE(st.prompter.shown.first().icon, Icon::Exclamation);
    QCOMPARE(st.prompter.shown.first().text, QStringLiteral("Parametro no encontrado [X]"));
}

void tst_Consulta::valueToDbSigueLaConfiguracion()
{
    ConsultaStation st(nullptr);
    const QDateTime when(QDate(2026, 3, 5), QTime(14, 7, 9));
    CValue p(QStringLiteral("FECHA"), when, QStringLiteral("F"));
    QCOMPARE(p.valueToDb(), QStringLiteral("'05/03/2026 14:07:09'"));
    p.setConfig(&st.config);
    st.config.setValue(QStringLiteral("FORMATO-FECHA-SERVIDOR-FULL"), QStringLiteral("yyyy-mm-dd HH:nn:ss"));
    QCOMPARE(p.valueToDb(), QStringLiteral("'2026-03-05 14:07:09'"));
    // The stored query's text form reads the same setting.
    CConsulta q(st.provider, st.config, st.prompter);
    CValue unbound(QStringLiteral("FECHA"), when, QStringLiteral("F"));
    QCOMPARE(q.remplazaValorUsuario(QStringLiteral("[FECHA]"), {&unbound}), QStringLiteral("'2026-03-05 14:07:09'"));
}

void tst_Consulta::valorParaEnlazar_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("F texto dia primero") << "F" << QVariant(QStringLiteral("05/03/2026 14:07:09"))
                                         << QVariant(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)));
    QTest::newRow("N entero") << "N" << QVariant(QStringLiteral("42")) << QVariant(qlonglong(42));
    QTest::newRow("N fraccion exacta") << "N" << QVariant(QStringLiteral("0.10")) << Decimal("0.1").toQVariant();
    QTest::newRow("N desde Decimal") << "N" << Decimal("7.25").toQVariant() << Decimal("7.25").toQVariant();
    QTest::newRow("S verdadero") << "S" << QVariant(true) << QVariant(QStringLiteral("S"));
    QTest::newRow("S NO") << "S" << QVariant(QStringLiteral("NO")) << QVariant(QStringLiteral("N"));
    QTest::newRow("T texto") << "T" << QVariant(QStringLiteral("O'Brien")) << QVariant(QStringLiteral("O'Brien"));
}

void tst_Consulta::valorParaEnlazar()
{
    QFETCH(QString, tipo);
    QFETCH(QVariant, valor);
    QFETCH(QVariant, expected);
    const QVariant bound = CValue(QStringLiteral("P"), valor, tipo).valueForBinding();
    QCOMPARE(bound.metaType(), expected.metaType());
    QCOMPARE(bound, expected);
}

void tst_Consulta::marcadoresEnlazados_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("almacen");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("expected");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "ALM_CLAVE como valor")
            << "MATRIZ" << "select term_Clave from tTerminal where alm_Clave = {ALM_CLAVE} order by term_Clave"
            << QStringList{"CAJA1", "CAJA2"};
        TestDatabase::newRow(e, "almacen como valor")
            << "NORTE" << "select term_Clave from tTerminal where alm_Clave = {almacen} order by term_Clave"
            << QStringList{"NORTE1"};
        TestDatabase::newRow(e, "dentro de un literal")
            << "MATRIZ" << "select term_Clave from tTerminal where term_Nombre like '%{ALM_CLAVE}%' order by term_Clave"
            << QStringList{"CAJA1", "CAJA2"};
        TestDatabase::newRow(e, "apostrofo del valor dentro de un literal")
            << "O'HARA" << "select term_Clave from tTerminal where term_Nombre like '%{ALM_CLAVE}%'"
            << QStringList{"OH1"};
        TestDatabase::newRow(e, "apostrofo del valor enlazado")
            << "O'HARA" << "select term_Clave from tTerminal where alm_Clave = {ALM_CLAVE}" << QStringList{"OH1"};
        TestDatabase::newRow(e, "el valor no se vuelve SQL")
            << "MATRIZ' or 'a' = 'a" << "select term_Clave from tTerminal where alm_Clave = {ALM_CLAVE}"
            << QStringList{};
        TestDatabase::newRow(e, "literal con apostrofos dobles antes del marcador")
            << "NORTE"
            << "select term_Clave from tTerminal where term_Nombre <> 'it''s {x}' and alm_Clave = {ALM_CLAVE}"
            << QStringList{"NORTE1"};
        TestDatabase::newRow(e, "marcador dentro de un comentario intacto")
            << "NORTE" << "select term_Clave from tTerminal -- filtra por {ALM_CLAVE}\nwhere alm_Clave = {ALM_CLAVE}"
            << QStringList{"NORTE1"};
    }
}

void tst_Consulta::marcadoresEnlazados()
{
    QFETCH(QString, engine);
    QFETCH(QString, almacen);
    QFETCH(QString, sql);
    QFETCH(QStringList, expected);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addWarehousesAndTerminals(db.connection());
    ConsultaStation st(&db.connection());
    st.config.setValue(QStringLiteral("ALMACEN"), almacen);
    CConsulta q(st.provider, st.config, st.prompter);
    const std::optional<PreparedQuery> p = q.preparaConsulta({}, sql);
    QVERIFY(p);
    QVERIFY(!p->sql.contains(u'{') || p->sql.contains(QStringLiteral("{x}")) || p->sql.contains(QStringLiteral("-- filtra")));
    QCOMPARE(firstColumn(db.connection(), *p), expected);
    QVERIFY(st.prompter.shown.isEmpty());
}

void tst_Consulta::sistemaDesconocidoNoCoincideConNada()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addWarehousesAndTerminals(db.connection());
    ConsultaStation st(&db.connection());
    CConsulta q(st.provider, st.config, st.prompter);
    const auto p = q.preparaConsulta({}, QStringLiteral("select term_Clave from tTerminal where alm_Clave = {XYZ}"));
    QVERIFY(p);
    QCOMPARE(p->values.size(), 1);
    QVERIFY(p->values.first().isNull());
    QCOMPARE(firstColumn(db.connection(), *p), QStringList());
    // Inside a literal it vanishes as in the text form.
    const auto lit = q.preparaConsulta({}, QStringLiteral("select count(*) from tTerminal where term_Nombre like '%{XYZ}%'"));
    QVERIFY(lit);
    QCOMPARE(lit->values.size(), 0);
    QCOMPARE(firstColumn(db.connection(), *lit), QStringList{"4"});
}

void tst_Consulta::fechaEnlazada()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    c.execute(QStringLiteral("create table tPruebaFecha (k varchar(10), f timestamp)"));
    c.execute(QStringLiteral("insert into tPruebaFecha values (?, ?), (?, ?), (?, ?)"),
              {"A", QDateTime(QDate(2026, 3, 5), QTime(10, 0)), "B", QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)),
               "C", QDateTime(QDate(2026, 3, 6), QTime(0, 0))});
    ConsultaStation st(&c);
    CConsulta q(st.provider, st.config, st.prompter);
    CValue desde(QStringLiteral("FECHA"), QStringLiteral("05/03/2026 12:00:00"), QStringLiteral("F"));
    const auto p = q.preparaConsulta({&desde}, QStringLiteral("select k from tPruebaFecha where f >= [FECHA] order by k"));
    QVERIFY(p);
    QCOMPARE(p->values.size(), 1);
    QCOMPARE(p->values.first(), QVariant(QDateTime(QDate(2026, 3, 5), QTime(12, 0))));
    QCOMPARE(firstColumn(c, *p), (QStringList{"B", "C"}));
    // The text form of the same template carries the server's full date format.
    QCOMPARE(q.preparaQuery({&desde}, QStringLiteral("f >= [FECHA]")), QStringLiteral("f >= '05/03/2026 12:00:00'"));
}

void tst_Consulta::parametroNoEncontradoNoEjecuta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addWarehousesAndTerminals(db.connection());
    addQuery(db.connection(), 7, QStringLiteral("select alm_Clave, alm_Nombre from tAlmacen where alm_Clave = [ALM]"),
             {{QStringLiteral("alm_Clave"), QStringLiteral("Clave"), true, false},
              {QStringLiteral("alm_Nombre"), QStringLiteral("Nombre"), false, true}});
    ConsultaStation st(&db.connection());
    CConsulta q(st.provider, st.config, st.prompter);
    QVERIFY(q.cargaConsulta(7));
    QVERIFY(!q.preparaConsulta({}));
    QStringList entries{QStringLiteral("antes")};
    int selected = 5;
    QVERIFY(!q.cargaCombo(entries, selected, QString(), 0, {}));
    QCOMPARE(st.prompter.texts(), (QStringList{"Parametro no encontrado [ALM]", "Parametro no encontrado [ALM]"}));
    QCOMPARE(st.prompter.shown.last().icon, Icon::Exclamation);
}

void tst_Consulta::cargaConsulta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addQuery(db.connection(), 3, QStringLiteral("select 1 as uno, 2 as dos"),
             {{QStringLiteral("uno"), QStringLiteral("Uno"), true, false},
              {QStringLiteral("dos"), QStringLiteral("Dos"), false, true},
              {QStringLiteral("tres"), QStringLiteral("Tres"), true, true}});
    ConsultaStation st(&db.connection());
    CConsulta q(st.provider, st.config, st.prompter);
    QVERIFY(q.cargaConsulta(3));
    QCOMPARE(q.clave(), 3);
    QCOMPARE(q.nombre(), QStringLiteral("Consulta 3"));
    QCOMPARE(q.SQL(), QStringLiteral("select 1 as uno, 2 as dos"));
    QVERIFY(!q.completar());
    QStringList campos;
    for (const auto &c : q.columnas())
        campos << c.campo + (c.valor ? "+v" : "") + (c.descripcion ? "+d" : "");
    QCOMPARE(campos, (QStringList{"uno+v", "dos+d", "tres+v+d"}));

    // A missing query empties the object.
    QVERIFY(!q.cargaConsulta(99));
    QCOMPARE(q.clave(), 0);
    QVERIFY(q.SQL().isEmpty());
    QVERIFY(q.columnas().isEmpty());
    QVERIFY(st.prompter.shown.isEmpty());
}

void tst_Consulta::cargaCombo_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("seleccion");
    QTest::addColumn<int>("ancho");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selected");
    const QStringList padded = {"MATRIZ-CAJA1 \tCaja 1 MATRIZ/Matriz", "MATRIZ-CAJA2 \tCaja 2 MATRIZ/Matriz",
                                "NORTE-NORTE1 \tCaja NORTE/Sucursal Norte"};
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "seleccion en medio") << "MATRIZ-CAJA2" << 13 << padded << 1;
        TestDatabase::newRow(e, "seleccion inexistente") << "SUR-CAJA9" << 13 << padded << -1;
        TestDatabase::newRow(e, "ancho menor que la clave")
            << "NORTE-NORTE1" << 3
            << QStringList{"MATRIZ-CAJA1\tCaja 1 MATRIZ/Matriz", "MATRIZ-CAJA2\tCaja 2 MATRIZ/Matriz",
                           "NORTE-NORTE1\tCaja NORTE/Sucursal Norte"}
            << 2;
    }
}

void tst_Consulta::cargaCombo()
{
    QFETCH(QString, engine);
    QFETCH(QString, seleccion);
    QFETCH(int, ancho);
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addWarehousesAndTerminals(db.connection());
    // Key: warehouse, '-', terminal; text: terminal name, '/', warehouse name.
    addQuery(db.connection(), 5,
             QStringLiteral("select t.alm_Clave, '-' as guion, t.term_Clave, t.term_Nombre, '/' as diagonal, a.alm_Nombre "
                            "from tTerminal t join tAlmacen a on a.alm_Clave = t.alm_Clave "
                            "where t.term_Clave <> [EXCLUYE] order by t.term_Clave"),
             {{QStringLiteral("alm_Clave"), QStringLiteral("Almacen"), true, false},
              {QStringLiteral("guion"), QString(), true, false},
              {QStringLiteral("term_Clave"), QStringLiteral("Terminal"), true, false},
              {QStringLiteral("term_Nombre"), QStringLiteral("Nombre"), false, true},
              {QStringLiteral("diagonal"), QString(), false, true},
              {QStringLiteral("alm_Nombre"), QStringLiteral("Almacen"), false, true}});
    ConsultaStation st(&db.connection());
    CConsulta q(st.provider, st.config, st.prompter);
    QVERIFY(q.cargaConsulta(5));
    CValue excluye(QStringLiteral("EXCLUYE"), QStringLiteral("OH1"), QStringLiteral("T"));
    QStringList got{QStringLiteral("entrada anterior")};
    QStringList keys;
    int index = 99;
    QVERIFY(q.cargaCombo(got, index, seleccion, ancho, {&excluye}, &keys));
    QCOMPARE(got, entries);
    QCOMPARE(index, selected);
    QCOMPARE(keys, (QStringList{"MATRIZ-CAJA1", "MATRIZ-CAJA2", "NORTE-NORTE1"}));
    QCOMPARE(CConsulta::claveDeEntrada(got.at(0)), QStringLiteral("MATRIZ-CAJA1"));
    QVERIFY(st.prompter.shown.isEmpty());
}

void tst_Consulta::cargaComboErrorReportado()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addQuery(db.connection(), 8, QStringLiteral("select no_existe from tAlmacen"),
             {{QStringLiteral("no_existe"), QString(), true, true}});
    ConsultaStation st(&db.connection());
    CConsulta q(st.provider, st.config, st.prompter);
    QVERIFY(q.cargaConsulta(8));
    QStringList entries{QStringLiteral("x")};
    int selected = 0;
    QVERIFY(!q.cargaCombo(entries, selected, QString(), 0, {}));
    QVERIFY(entries.isEmpty());
    QCOMPARE(selected, -1);
    QCOMPARE(st.prompter.shown.size(), 1);
    QCOMPARE(st.prompter.shown.first().icon, Icon::Critical);
}

void tst_Consulta::consultasDeDemostracion()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    addWarehousesAndTerminals(c);
    db::populateDemoConsultas(c);
    const int consultas = c.scalar(QStringLiteral("select count(*) from tConsulta")).toInt();
    const int columnas = c.scalar(QStringLiteral("select count(*) from tSelect")).toInt();
    QVERIFY(consultas >= 3);
    db::populateDemoConsultas(c); // only what is missing
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tConsulta")).toInt(), consultas);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tSelect")).toInt(), columnas);

    // Every demo query runs and gives entries with a key.
    ConsultaStation st(&c);
    CConsulta q(st.provider, st.config, st.prompter);
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select con_Clave from tConsulta order by con_Clave"));
         !rs.eof(); rs.moveNext()) {
        const int clave = int(rs.integer(QStringLiteral("con_Clave")));
        QVERIFY(q.cargaConsulta(clave));
        QStringList entries;
        int selected = -1;
        QVERIFY2(q.cargaCombo(entries, selected, QString(), 10, {}), qPrintable(q.nombre()));
        for (const QString &e : entries)
            QVERIFY(!CConsulta::claveDeEntrada(e).isEmpty());
    }
    // The warehouse's terminals: only those of the session's warehouse.
    QVERIFY(q.cargaConsulta(2));
    QStringList entries;
    int selected = -1;
    QVERIFY(q.cargaCombo(entries, selected, QStringLiteral("CAJA2"), 8, {}));
    QCOMPARE(entries, (QStringList{"CAJA1   \tCaja 1 MATRIZ", "CAJA2   \tCaja 2 MATRIZ"}));
    QCOMPARE(selected, 1);
    QVERIFY(st.prompter.shown.isEmpty());
}

void tst_Consulta::listEntry_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("entry");
    QTest::newRow("relleno") << "Inicio de la palabra" << "N" << 25 << "Inicio de la palabra     \tN";
    QTest::newRow("sin relleno") << "Cualquier parte" << "S" << 0 << "Cualquier parte\tS";
    QTest::newRow("texto mas ancho") << "Texto largo" << "K1" << 4 << "Texto largo\tK1";
    QTest::newRow("clave vacia") << "Nada" << "" << 6 << "Nada  \t";
    QTest::newRow("texto con espacios finales") << "Con espacio " << "X" << 0 << "Con espacio \tX";
}

void tst_Consulta::listEntry()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(int, width);
    QFETCH(QString, entry);
    QCOMPARE(ListEntry::make(text, key, width), entry);
    QCOMPARE(ListEntry::key(entry), key);
    QCOMPARE(ListEntry::text(entry), text.trimmed());
    QCOMPARE(ListEntry::key(QStringLiteral("sin tabulador")), QString());
}

QTEST_GUILESS_MAIN(tst_Consulta)
#include "tst_consulta.moc"
