// Stored-query maintenance: the checks and their messages, the next key, a query and its
// columns written in one transaction, and the refusal to delete a query a report parameter uses.
#include "ConsultaFixture.h"
#include "ConsultaSQLEditor.h"
#include "TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QTest>

using Icon = Prompter::Icon;
using Columna = ConsultaSQLColumnas::Columna;

namespace {

const QString kSql = QStringLiteral("select alm_Clave, alm_Nombre from tAlmacen");

QList<Columna> dosColumnas()
{
    return {{QStringLiteral("Clave"), QStringLiteral("alm_Clave"), true, false},
            {QStringLiteral("Almacen"), QStringLiteral("alm_Nombre"), false, true}};
}

QStringList columnasGuardadas(db::Connection &c, int clave)
{
    QStringList out;
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select sel_Orden, sel_Nombre, sel_Campo, sel_Valor, "
                                                           "sel_Descripcion from tSelect where con_Clave = ? order by sel_Orden"),
                                            {clave});
         !rs.eof(); rs.moveNext())
        out << QStringLiteral("%1:%2:%3:%4%5")
                   .arg(rs.integer(QStringLiteral("sel_Orden")))
                   .arg(rs.text(QStringLiteral("sel_Nombre")), rs.text(QStringLiteral("sel_Campo")),
                        rs.text(QStringLiteral("sel_Valor")), rs.text(QStringLiteral("sel_Descripcion")));
    return out;
}

int cuenta(db::Connection &c, const char *sql)
{
    return c.scalar(QString::fromLatin1(sql)).toInt();
}

} // namespace

class tst_ConsultaSQL : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_log.emplace(); }
    void cleanup() { m_log.reset(); }

    void validaDatos_data();
    void validaDatos();
    void nuevaClave_data() { TestDatabase::addEngineRows(); }
    void nuevaClave();
    void agregar_data() { TestDatabase::addEngineRows(); }
    void agregar();
    void claveEnUso_data() { TestDatabase::addEngineRows(); }
    void claveEnUso();
    void modificarReescribeColumnas_data() { TestDatabase::addEngineRows(); }
    void modificarReescribeColumnas();
    void falloDejaTodoComoEstaba_data();
    void falloDejaTodoComoEstaba();
    void consultar_data() { TestDatabase::addEngineRows(); }
    void consultar();
    void eliminar_data();
    void eliminar();
    void modeloDeColumnas();

private:
    std::optional<TestLogDirectory> m_log;
};

void tst_ConsultaSQL::validaDatos_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("columnaSinCampo");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("completa") << "12" << "Almacenes" << kSql << false << QString();
    QTest::newRow("sin clave") << "  " << "Almacenes" << kSql << false << "Debe indicar una clave";
    QTest::newRow("clave con letras") << "12a" << "Almacenes" << kSql << false << "Debe indicar una clave numerica";
    QTest::newRow("clave decimal") << "1.5" << "Almacenes" << kSql << false << "Debe indicar una clave numerica";
    QTest::newRow("clave cero") << "0" << "Almacenes" << kSql << false << "Debe indicar una clave numerica";
    QTest::newRow("clave negativa") << "-3" << "Almacenes" << kSql << false << "Debe indicar una clave numerica";
    QTest::newRow("clave fuera de rango") << "99999999999" << "Almacenes" << kSql << false
                                          << "Debe indicar una clave numerica";
    QTest::newRow("sin nombre") << "12" << " " << kSql << false << "Debe indicar un nombre";
    QTest::newRow("sin SQL") << "12" << "Almacenes" << "\n  " << false << "Debe indicar el SQL";
    QTest::newRow("la clave antes que el nombre") << "" << "" << "" << false << "Debe indicar una clave";
    QTest::newRow("columna sin campo") << "12" << "Almacenes" << kSql << true << "Debe indicar el campo de la columna 2";
}

void tst_ConsultaSQL::validaDatos()
{
    QFETCH(QString, clave);
    QFETCH(QString, nombre);
    QFETCH(QString, sql);
    QFETCH(bool, columnaSinCampo);
    QFETCH(QString, mensaje);
    ConsultaStation st(nullptr);
    ConsultaSQLEditor editor(st.provider, st.prompter);
    QList<Columna> columnas = dosColumnas();
    if (columnaSinCampo)
        columnas[1].campo = QStringLiteral(" ");
    QCOMPARE(editor.validaDatos({clave, nombre, sql, columnas}), mensaje.isEmpty());
    QCOMPARE(st.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    if (!mensaje.isEmpty())
        QCOMPARE(st.prompter.shown.first().icon, Icon::Information);
}

void tst_ConsultaSQL::nuevaClave()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    ConsultaStation st(&db.connection());
    ConsultaSQLEditor editor(st.provider, st.prompter);
    QCOMPARE(editor.nuevaClave(), 1);
    db.connection().execute(QStringLiteral("insert into tConsulta (con_Clave, con_Nombre) values (7, 'a'), (3, 'b')"));
    QCOMPARE(editor.nuevaClave(), 8);
}

void tst_ConsultaSQL::agregar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    ConsultaStation st(&c);
    ConsultaSQLEditor editor(st.provider, st.prompter);
    st.prompter.answers.enqueue(false);
    bool continuar = true;
    QVERIFY(editor.agregarRegistro({QStringLiteral(" 4 "), QStringLiteral("Almacenes"), kSql, dosColumnas()}, &continuar));
    QVERIFY(!continuar);
    QCOMPARE(st.prompter.texts(),
             QStringList{"El registro fue agregado con exito, desea continuar agregando mas Consultas"});
    QCOMPARE(st.prompter.shown.first().icon, Icon::Question);
    db::Recordset rs = c.openRecordset(QStringLiteral("select con_Nombre, con_SQL, con_Completar from tConsulta where con_Clave = 4"));
    QVERIFY(!rs.eof());
    QCOMPARE(rs.text(QStringLiteral("con_Nombre")), QStringLiteral("Almacenes"));
    QCOMPARE(rs.text(QStringLiteral("con_SQL")), kSql);
    QCOMPARE(rs.text(QStringLiteral("con_Completar")), QStringLiteral("S"));
    QCOMPARE(columnasGuardadas(c, 4), (QStringList{"1:Clave:alm_Clave:SN", "2:Almacen:alm_Nombre:NS"}));

    st.prompter.clear();
    st.prompter.answers.enqueue(true);
    QVERIFY(editor.agregarRegistro({QStringLiteral("5"), QStringLiteral("Sin columnas"), kSql, {}}, &continuar));
    QVERIFY(continuar);
    QCOMPARE(columnasGuardadas(c, 5), QStringList());
}

void tst_ConsultaSQL::claveEnUso()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    c.execute(QStringLiteral("insert into tConsulta (con_Clave, con_Nombre, con_SQL) values (4, 'Terminales', 'select 1')"));
    c.execute(QStringLiteral("insert into tSelect (con_Clave, sel_Orden, sel_Campo) values (4, 1, 'term_Clave')"));
    ConsultaStation st(&c);
    ConsultaSQLEditor editor(st.provider, st.prompter);
    QVERIFY(!editor.agregarRegistro({QStringLiteral("4"), QStringLiteral("Otra"), kSql, dosColumnas()}));
    QCOMPARE(st.prompter.texts(), QStringList{"La clave ya esta en uso para la siguiente Consulta\nTerminales"});
    QCOMPARE(st.prompter.shown.first().icon, Icon::Exclamation);
    // Nothing of the refused query was written over the existing one.
    QCOMPARE(c.scalar(QStringLiteral("select con_Nombre from tConsulta where con_Clave = 4")).toString(),
             QStringLiteral("Terminales"));
    QCOMPARE(columnasGuardadas(c, 4), QStringList{"1::term_Clave:NN"});
}

void tst_ConsultaSQL::modificarReescribeColumnas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    ConsultaStation st(&c);
    ConsultaSQLEditor editor(st.provider, st.prompter);
    st.prompter.answers.enqueue(false);
    QVERIFY(editor.agregarRegistro({QStringLiteral("4"), QStringLiteral("Almacenes"), kSql,
                                    dosColumnas() + QList<Columna>{{"Tel", "alm_Telefono", false, true}}}));
    st.prompter.clear();
    // The grid's new order, one column fewer.
    const QList<Columna> nuevas = {{QStringLiteral("Nombre"), QStringLiteral("alm_Nombre"), false, true},
                                   {QStringLiteral("Clave"), QStringLiteral("alm_Clave"), true, true}};
    QVERIFY(editor.modificarRegistro({QStringLiteral("4"), QStringLiteral("Almacenes activos"),
                                      kSql + QStringLiteral(" where alm_Activo = 'S'"), nuevas}));
    QCOMPARE(st.prompter.texts(), QStringList{"El registro fue actualizado con exito"});
    QCOMPARE(c.scalar(QStringLiteral("select con_Nombre from tConsulta where con_Clave = 4")).toString(),
             QStringLiteral("Almacenes activos"));
    QCOMPARE(columnasGuardadas(c, 4), (QStringList{"1:Nombre:alm_Nombre:NS", "2:Clave:alm_Clave:SS"}));
    // con_Completar stays as it was.
    QCOMPARE(c.scalar(QStringLiteral("select con_Completar from tConsulta where con_Clave = 4")).toString(),
             QStringLiteral("S"));

    st.prompter.clear();
    QVERIFY(!editor.modificarRegistro({QStringLiteral("40"), QStringLiteral("X"), kSql, {}}));
    QCOMPARE(st.prompter.texts(), QStringList{"La clave no existe"});
}

void tst_ConsultaSQL::falloDejaTodoComoEstaba_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("modificar");
    QTest::addColumn<int>("falla"); // the statement that fails, counted from the first write
    for (const QString &e : TestDatabase::engines())
        for (int n = 1; n <= 3; ++n) {
            TestDatabase::newRow(e, qPrintable(QStringLiteral("alta, sentencia %1").arg(n))) << false << n;
            TestDatabase::newRow(e, qPrintable(QStringLiteral("cambio, sentencia %1").arg(n))) << true << n;
        }
}

void tst_ConsultaSQL::falloDejaTodoComoEstaba()
{
    QFETCH(QString, engine);
    QFETCH(bool, modificar);
    QFETCH(int, falla);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    if (modificar) {
        c.execute(QStringLiteral("insert into tConsulta (con_Clave, con_Nombre, con_SQL) values (4, 'Antes', 'select 1')"));
        c.execute(QStringLiteral("insert into tSelect (con_Clave, sel_Orden, sel_Campo, sel_Valor) values (4, 1, 'uno', 'S')"));
    }
    ConsultaStation st(&c);
    ConsultaSQLEditor editor(st.provider, st.prompter);
    int writes = 0;
    c.setStatementHook([&](const QString &sql) {
        const QString s = sql.trimmed().toLower();
        if ((s.startsWith(QLatin1String("insert")) || s.startsWith(QLatin1String("update")) ||
             s.startsWith(QLatin1String("delete"))) &&
            ++writes == falla)
            throw db::DbError(1, QStringLiteral("falla simulada"), QStringLiteral("prueba"));
    });
    const ConsultaSQLEditor::Datos d{QStringLiteral("4"), QStringLiteral("Despues"), kSql, dosColumnas()};
    QVERIFY(modificar ? !editor.modificarRegistro(d) : !editor.agregarRegistro(d));
    c.setStatementHook({});
    QCOMPARE(st.prompter.shown.size(), 1);
    QCOMPARE(st.prompter.shown.first().icon, Icon::Critical);
    if (modificar) {
        QCOMPARE(c.scalar(QStringLiteral("select con_Nombre from tConsulta where con_Clave = 4")).toString(),
                 QStringLiteral("Antes"));
        QCOMPARE(columnasGuardadas(c, 4), QStringList{"1::uno:SN"});
    } else {
        QCOMPARE(cuenta(c, "select count(*) from tConsulta"), 0);
        QCOMPARE(cuenta(c, "select count(*) from tSelect"), 0);
    }
}

void tst_ConsultaSQL::consultar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    ConsultaStation st(&db.connection());
    ConsultaSQLEditor editor(st.provider, st.prompter);
    st.prompter.answers.enqueue(false);
    QVERIFY(editor.agregarRegistro({QStringLiteral("9"), QStringLiteral("Almacenes"), kSql, dosColumnas()}));
    st.prompter.clear();
    const auto d = editor.consultarRegistro(QStringLiteral("9"));
    QVERIFY(d);
    QCOMPARE(d->nombre, QStringLiteral("Almacenes"));
    QCOMPARE(d->sql, kSql);
    QCOMPARE(d->columnas.size(), 2);
    QCOMPARE(d->columnas.at(1).campo, QStringLiteral("alm_Nombre"));
    QVERIFY(d->columnas.at(1).descripcion);
    QVERIFY(!d->columnas.at(1).valor);
    for (const QString &missing : {QStringLiteral("10"), QStringLiteral("abc"), QString()}) {
        st.prompter.clear();
        QVERIFY(!editor.consultarRegistro(missing));
        QCOMPARE(st.prompter.texts(), QStringList{"La clave no existe"});
    }
}

void tst_ConsultaSQL::eliminar_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("conReporte");
    QTest::addColumn<bool>("usada");
    QTest::addColumn<QList<bool>>("respuestas");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<bool>("eliminada");
    const QString pregunta = QStringLiteral("Esta seguro de eliminar la Consulta Almacenes");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "sin reportes") << false << false << QList<bool>{true}
                                                         << QStringList{pregunta, "El registro fue eliminado con exito"} << true;
        TestDatabase::newRow(e, "no usada por un reporte") << true << false << QList<bool>{true}
                                                           << QStringList{pregunta, "El registro fue eliminado con exito"} << true;
        TestDatabase::newRow(e, "usada por un reporte") << true << true << QList<bool>{}
                                                        << QStringList{"La clave esta en uso, no es posible eliminar este registro"}
                                                        << false;
        TestDatabase::newRow(e, "el usuario dice No") << true << false << QList<bool>{false} << QStringList{pregunta} << false;
    }
}

void tst_ConsultaSQL::eliminar()
{
    QFETCH(QString, engine);
    QFETCH(bool, conReporte);
    QFETCH(bool, usada);
    QFETCH(QList<bool>, respuestas);
    QFETCH(QStringList, mensajes);
    QFETCH(bool, eliminada);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    ConsultaStation st(&c);
    ConsultaSQLEditor editor(st.provider, st.prompter);
    st.prompter.answers.enqueue(false);
    QVERIFY(editor.agregarRegistro({QStringLiteral("4"), QStringLiteral("Almacenes"), kSql, dosColumnas()}));
    st.prompter.answers.enqueue(false);
    QVERIFY(editor.agregarRegistro({QStringLiteral("5"), QStringLiteral("Otra"), kSql, dosColumnas()}));
    if (conReporte) {
        c.execute(QStringLiteral("insert into tReporte (rep_Clave, rep_Nombre) values ('VENTAS', 'Ventas')"));
        c.execute(QStringLiteral("insert into tReporteParam (rep_Clave, rparam_Clave, rparam_Nombre, tparam_Clave, "
                                 "con_clave) values ('VENTAS', 1, 'ALMACEN', 'LISTA', ?)"),
                  {usada ? 4 : 5});
    }
    st.prompter.clear();
    for (bool r : respuestas)
        st.prompter.answers.enqueue(r);
    QCOMPARE(editor.eliminarRegistro(QStringLiteral("4")), eliminada);
    QCOMPARE(st.prompter.texts(), mensajes);
    QVERIFY(st.prompter.drained());
    QCOMPARE(cuenta(c, "select count(*) from tConsulta where con_Clave = 4"), eliminada ? 0 : 1);
    QCOMPARE(cuenta(c, "select count(*) from tSelect where con_Clave = 4"), eliminada ? 0 : 2);
    // The other query is untouched.
    QCOMPARE(cuenta(c, "select count(*) from tSelect where con_Clave = 5"), 2);
    if (usada)
        QCOMPARE(st.prompter.shown.first().icon, Icon::Exclamation);

    st.prompter.clear();
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("77")));
    QCOMPARE(st.prompter.texts(), QStringList{"La clave no existe"});
}

void tst_ConsultaSQL::modeloDeColumnas()
{
    ConsultaSQLColumnas m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setColumnas(dosColumnas());
    m.agregar();
    QCOMPARE(m.rowCount(), 3);
    QVERIFY(m.setData(m.index(2, ConsultaSQLColumnas::Campo), QStringLiteral(" alm_Telefono ")));
    QVERIFY(m.setData(m.index(2, ConsultaSQLColumnas::Descripcion), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!m.setData(m.index(2, ConsultaSQLColumnas::Valor), QStringLiteral("S"))); // a check, not text
    QCOMPARE(m.columnas().at(2).campo, QStringLiteral("alm_Telefono"));
    QVERIFY(m.columnas().at(2).descripcion);
    QVERIFY(!m.columnas().at(2).valor);
    QCOMPARE(m.data(m.index(0, ConsultaSQLColumnas::Valor), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(m.flags(m.index(0, ConsultaSQLColumnas::Valor)) & Qt::ItemIsUserCheckable);
    QVERIFY(m.flags(m.index(0, ConsultaSQLColumnas::Nombre)) & Qt::ItemIsEditable);
    m.quitar(0);
    m.quitar(9);
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE(m.columnas().first().campo, QStringLiteral("alm_Nombre"));
}

QTEST_GUILESS_MAIN(tst_ConsultaSQL)
#include "tst_consulta_sql.moc"
