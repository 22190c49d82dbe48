// The lookup search: every message and outcome, bound search values (apostrophes, '%' and '_'
// typed by the user), case-insensitive text on both engines including accented letters, the
// SQL template, auto-accept, paging, the maintenance commands and the two settings.
#include "ConsultaFixture.h"
#include "LookupArticulo.h"
#include "LookupSearch.h"
#include "ListEntry.h"
#include "TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QTest>

using Icon = Prompter::Icon;
using Outcome = LookupSearch::Outcome;

Q_DECLARE_METATYPE(LookupSearch::Outcome)

namespace {

const QString kVacia = QStringLiteral(
    "No se ha indicado un elemento de busqueda, el resultado puede ser muy grande, desea continuar");
const QString kNoEncontrado = QStringLiteral("No se encontraron elementos con el criterio indicado");

struct Articulo {
    const char *clave;
    const char *nombre;
    const char *estado;
    int caduca;
    QDateTime alta;
};

void addArticulos(db::Connection &c)
{
    const QList<Articulo> rows = {
        {"A01", "abcd", "REGISTRADO", 12, QDateTime(QDate(2026, 3, 1), QTime(0, 0))},
        {"A02", "xabc", "REGISTRADO", 6, QDateTime(QDate(2026, 3, 5), QTime(23, 59, 59))},
        {"A03", "ABC MAYUSCULAS", "REGISTRADO", 12, QDateTime(QDate(2026, 3, 6), QTime(0, 0))},
        {"A04", "José Pérez", "REGISTRADO", 0, QDateTime(QDate(2026, 2, 28), QTime(23, 59, 59))},
        {"A05", "JOSÉ LUIS ÁLVAREZ", "REGISTRADO", 0, {}},
        {"A06", "Jose sin acento", "REGISTRADO", 0, {}},
        {"A07", "O'Brien galletas", "REGISTRADO", 0, {}},
        {"A08", "100% algodón", "REGISTRADO", 0, {}},
        {"A09", "1000 hojas", "REGISTRADO", 0, {}},
        {"A10", "a_b", "REGISTRADO", 0, {}},
        {"A11", "axb", "REGISTRADO", 0, {}},
        {"A12", "ruta c:\\temp", "REGISTRADO", 0, {}},
        {"A13", "abc suspendido", "SUSPENDIDO", 0, {}},
        {"A14", "CAFÉ ŁÓDŹ ÑANDÚ", "REGISTRADO", 0, {}},
        {"A15", "Dulces de México", "REGISTRADO", 0, {}},
        {"A16", "QUERÉTARO artesanías", "REGISTRADO", 0, {}},
    };
    for (const Articulo &a : rows)
        c.execute(QStringLiteral(
                      "insert into tArticulo (art_Clave, art_Nombre, eart_Clave, art_Caduca, art_FecAlta, "
                      "art_Total) values (?, ?, ?, ?, ?, ?)"),
                  {a.clave, QString::fromUtf8(a.nombre), a.estado, a.caduca,
                   a.alta.isValid() ? QVariant(a.alta) : QVariant(), Decimal("1234.5")});
    // A number kept in a text column, as many catalogue keys are.
    c.execute(QStringLiteral("update tArticulo set art_Referencia = '1000' where art_Clave = 'A09'"));
}

LookupDefinition articulos()
{
    LookupDefinition d;
    d.selectList = QStringLiteral("art_Clave, art_Nombre, art_Total, art_FecAlta");
    d.table = QStringLiteral("tArticulo");
    d.order = QStringLiteral("art_Clave");
    d.searchFields = {{QStringLiteral("Nombre"), QStringLiteral("art_Nombre"), LookupField::Texto},
                      {QStringLiteral("Caducidad"), QStringLiteral("art_Caduca"), LookupField::Numero},
                      {QStringLiteral("Alta"), QStringLiteral("art_FecAlta"), LookupField::Fecha},
                      {QStringLiteral("Referencia"), QStringLiteral("art_Referencia"), LookupField::Numero}};
    d.columns = {{QStringLiteral("Clave"), QLatin1Char('?'), 0},
                 {QStringLiteral("Nombre"), QLatin1Char('?'), 0},
                 {QStringLiteral("Total"), QLatin1Char('N'), 0},
                 {QStringLiteral("Alta"), QLatin1Char('F'), 0}};
    d.title = QStringLiteral("Articulos");
    return d;
}

QStringList claves(LookupSearch &s)
{
    QStringList out;
    for (int r = 0; r < s.model().rowCount(); ++r)
        out << s.model().row(r).value(0).toString();
    return out;
}

QStringList clavesOrdenadas(LookupSearch &s)
{
    QStringList out = claves(s);
    out.sort();
    return out;
}

LookupSearch::Criteria criterio(const QString &t, int field = 0)
{
    return {field, t, {}, {}};
}

} // namespace

class tst_ConsultaBusqueda : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_log.emplace(); }
    void cleanup() { m_log.reset(); }

    void texto_data();
    void texto();
    void busquedaVacia_data();
    void busquedaVacia();
    void numero_data();
    void numero();
    void fecha_data();
    void fecha();
    void sinCampo_data() { TestDatabase::addEngineRows(); }
    void sinCampo();
    void noEncontrado_data() { TestDatabase::addEngineRows(); }
    void noEncontrado();
    void composicion_data();
    void composicion();
    void autoAceptar_data();
    void autoAceptar();
    void aceptar_data() { TestDatabase::addEngineRows(); }
    void aceptar();
    void errorConservaLaRejilla_data() { TestDatabase::addEngineRows(); }
    void errorConservaLaRejilla();
    void sinConexion();
    void estadoMientrasCarga_data() { TestDatabase::addEngineRows(); }
    void estadoMientrasCarga();
    void paginas_data() { TestDatabase::addEngineRows(); }
    void paginas();
    void ordenPorColumna_data() { TestDatabase::addEngineRows(); }
    void ordenPorColumna();
    void formatoDeColumnas_data() { TestDatabase::addEngineRows(); }
    void formatoDeColumnas();
    void mantenimiento_data();
    void mantenimiento();
    void sinVentanaDeMantenimiento_data() { TestDatabase::addEngineRows(); }
    void sinVentanaDeMantenimiento();
    void ajustes_data() { TestDatabase::addEngineRows(); }
    void ajustes();
    void rangoInicial_data();
    void rangoInicial();
    void columnaArticulo_data();
    void columnaArticulo();
    void consultaDeArticulos_data();
    void consultaDeArticulos();

private:
    std::optional<TestLogDirectory> m_log;
};

void tst_ConsultaBusqueda::texto_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("enCualquierParte");
    QTest::addColumn<QString>("buscado");
    QTest::addColumn<QStringList>("expected");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "abc al inicio") << false << "abc" << QStringList{"A01", "A03", "A13"};
        TestDatabase::newRow(e, "abc en cualquier parte")
            << true << "abc" << QStringList{"A01", "A02", "A03", "A13"};
        TestDatabase::newRow(e, "mayusculas encuentran minusculas") << false << "ABCD" << QStringList{"A01"};
        TestDatabase::newRow(e, "JOSÉ encuentra José y Jose")
            << false << "JOSÉ" << QStringList{"A04", "A05", "A06"};
        TestDatabase::newRow(e, "josé encuentra JOSÉ") << false << "josé" << QStringList{"A04", "A05", "A06"};
        TestDatabase::newRow(e, "álvarez en cualquier parte") << true << "álvarez" << QStringList{"A05"};
        TestDatabase::newRow(e, "alvarez sin acento") << true << "alvarez" << QStringList{"A05"};
        TestDatabase::newRow(e, "jose sin acento encuentra José")
            << false << "JOSE " << QStringList{"A04", "A05", "A06"};
        TestDatabase::newRow(e, "mexico encuentra México") << true << "mexico" << QStringList{"A15"};
        TestDatabase::newRow(e, "queretaro encuentra QUERÉTARO")
            << false << "queretaro" << QStringList{"A16"};
        TestDatabase::newRow(e, "acento donde no lo hay") << true << "artesanías" << QStringList{"A16"};
        TestDatabase::newRow(e, "perez encuentra Pérez") << true << "PEREZ" << QStringList{"A04"};
        TestDatabase::newRow(e, "apostrofo") << true << "o'brien" << QStringList{"A07"};
        TestDatabase::newRow(e, "apostrofo solo") << true << "'" << QStringList{"A07"};
        TestDatabase::newRow(e, "porcentaje literal") << false << "100%" << QStringList{"A08"};
        TestDatabase::newRow(e, "porcentaje solo") << true << "%" << QStringList{"A08"};
        TestDatabase::newRow(e, "guion bajo literal") << false << "a_b" << QStringList{"A10"};
        TestDatabase::newRow(e, "diagonal invertida") << true << "c:\\temp" << QStringList{"A12"};
        TestDatabase::newRow(e, "fuera de Latin-1") << true << "łódź ñandú" << QStringList{"A14"};
        TestDatabase::newRow(e, "eñe mayuscula") << true << "ÑAN" << QStringList{"A14"};
        TestDatabase::newRow(e, "n encuentra ñ") << true << "nandu" << QStringList{"A14"};
        TestDatabase::newRow(e, "inyeccion sin efecto") << true << "x' or '1'='1" << QStringList{};
    }
}

void tst_ConsultaBusqueda::texto()
{
    QFETCH(QString, engine);
    QFETCH(bool, enCualquierParte);
    QFETCH(QString, buscado);
    QFETCH(QStringList, expected);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    st.config.setValue(QStringLiteral("BUSQUEDA-LIKE"), enCualquierParte);
    LookupSearch s(st.services(), articulos());
    const Outcome outcome = s.cmdBuscar(criterio(buscado));
    QCOMPARE(claves(s), expected);
    if (expected.isEmpty()) {
        QCOMPARE(outcome, Outcome::NotFound);
        QCOMPARE(st.prompter.texts(), QStringList{kNoEncontrado});
    } else {
        QCOMPARE(outcome, Outcome::Found);
        QVERIFY(st.prompter.shown.isEmpty());
    }
    QVERIFY(db.connection().scalar(QStringLiteral("select count(*) from tArticulo")).toInt() == 16);
}

void tst_ConsultaBusqueda::busquedaVacia_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("campo");
    QTest::addColumn<bool>("preguntar");
    QTest::addColumn<bool>("sinPregunta");
    QTest::addColumn<QList<bool>>("respuestas");
    QTest::addColumn<bool>("pregunta");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("filas");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "texto: No detiene")
            << 0 << true << false << QList<bool>{false} << true << Outcome::Cancelled << 0;
        TestDatabase::newRow(e, "texto: Si busca todo")
            << 0 << true << false << QList<bool>{true} << true << Outcome::Found << 16;
        TestDatabase::newRow(e, "numero: No detiene")
            << 1 << true << false << QList<bool>{false} << true << Outcome::Cancelled << 0;
        TestDatabase::newRow(e, "numero: Si busca todo")
            << 1 << true << false << QList<bool>{true} << true << Outcome::Found << 16;
        TestDatabase::newRow(e, "configuracion sin pregunta")
            << 0 << false << false << QList<bool>{} << false << Outcome::Found << 16;
        TestDatabase::newRow(e, "definicion sin pregunta")
            << 0 << true << true << QList<bool>{} << false << Outcome::Found << 16;
    }
}

void tst_ConsultaBusqueda::busquedaVacia()
{
    QFETCH(QString, engine);
    QFETCH(int, campo);
    QFETCH(bool, preguntar);
    QFETCH(bool, sinPregunta);
    QFETCH(QList<bool>, respuestas);
    QFETCH(bool, pregunta);
    QFETCH(Outcome, outcome);
    QFETCH(int, filas);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    st.config.setValue(QStringLiteral("PREGUNTAR-CONSULTA-VACIA"), preguntar);
    for (bool r : respuestas)
        st.prompter.answers.enqueue(r);
    LookupDefinition d = articulos();
    d.noQuestion = sinPregunta;
    LookupSearch s(st.services(), d);
    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("  "), campo)), outcome);
    QCOMPARE(s.model().rowCount(), filas);
    QVERIFY(st.prompter.drained());
    if (pregunta) {
        QCOMPARE(st.prompter.shown.size(), 1);
        QCOMPARE(st.prompter.shown.first().icon, Icon::Question);
        QCOMPARE(st.prompter.shown.first().text, kVacia);
        QVERIFY(!st.prompter.shown.first().defaultYes);
    } else {
        QVERIFY(st.prompter.shown.isEmpty());
    }
}

void tst_ConsultaBusqueda::numero_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("campo");
    QTest::addColumn<QString>("buscado");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("mensaje");
    const QString kNumero = QStringLiteral("Debe indicar un numero para efectuar la busqueda");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "entero") << 1 << "12" << QStringList{"A01", "A03"} << QString();
        TestDatabase::newRow(e, "con espacios") << 1 << " 6 " << QStringList{"A02"} << QString();
        TestDatabase::newRow(e, "decimal exacto") << 1 << "6.0" << QStringList{"A02"} << QString();
        TestDatabase::newRow(e, "letras") << 1 << "doce" << QStringList{} << kNumero;
        TestDatabase::newRow(e, "inyeccion") << 1 << "1 or 1=1" << QStringList{} << kNumero;
        TestDatabase::newRow(e, "sin coincidencia") << 1 << "99" << QStringList{} << kNoEncontrado;
        TestDatabase::newRow(e, "numero en columna de texto")
            << 3 << "1000" << QStringList{"A09"} << QString();
    }
}

void tst_ConsultaBusqueda::numero()
{
    QFETCH(QString, engine);
    QFETCH(int, campo);
    QFETCH(QString, buscado);
    QFETCH(QStringList, expected);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    LookupSearch s(st.services(), articulos());
    s.cmdBuscar(criterio(buscado, campo));
    QCOMPARE(claves(s), expected);
    QCOMPARE(st.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    if (!mensaje.isEmpty())
        QCOMPARE(s.focus(), LookupSearch::Focus::Text);
}

void tst_ConsultaBusqueda::fecha_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<QDate>("hasta");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("mensaje");
    const QString kFecha = QStringLiteral("Debe indicar una fecha para efectuar la busqueda");
    for (const QString &e : TestDatabase::engines()) {
        // Closed range: the first day from 00:00:00, the last until 23:59:59.
        TestDatabase::newRow(e, "rango cerrado")
            << QDate(2026, 3, 1) << QDate(2026, 3, 5) << QStringList{"A01", "A02"} << QString();
        TestDatabase::newRow(e, "un solo dia")
            << QDate(2026, 3, 6) << QDate(2026, 3, 6) << QStringList{"A03"} << QString();
        TestDatabase::newRow(e, "fin de febrero")
            << QDate(2026, 2, 28) << QDate(2026, 2, 28) << QStringList{"A04"} << QString();
        TestDatabase::newRow(e, "desde invalida") << QDate() << QDate(2026, 3, 5) << QStringList{} << kFecha;
        TestDatabase::newRow(e, "hasta invalida")
            << QDate(2026, 3, 1) << QDate(2026, 2, 30) << QStringList{} << kFecha;
    }
}

void tst_ConsultaBusqueda::fecha()
{
    QFETCH(QString, engine);
    QFETCH(QDate, desde);
    QFETCH(QDate, hasta);
    QFETCH(QStringList, expected);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    LookupSearch s(st.services(), articulos());
    const Outcome outcome = s.cmdBuscar({2, QString(), desde, hasta});
    QCOMPARE(claves(s), expected);
    QCOMPARE(st.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    if (!mensaje.isEmpty()) {
        QCOMPARE(outcome, Outcome::Refused);
        QCOMPARE(s.focus(), LookupSearch::Focus::Dates);
    }
}

void tst_ConsultaBusqueda::sinCampo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    ConsultaStation st(&db.connection());
    LookupSearch s(st.services(), articulos());
    for (int campo : {-1, 4}) {
        st.prompter.clear();
        QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("abc"), campo)), Outcome::Refused);
        QCOMPARE(st.prompter.texts(), QStringList{"Deber seleccionar un campo de busqueda"});
        QCOMPARE(s.focus(), LookupSearch::Focus::Field);
    }
}

void tst_ConsultaBusqueda::noEncontrado()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    LookupSearch s(st.services(), articulos());
    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("zzz"))), Outcome::NotFound);
    QCOMPARE(st.prompter.shown.size(), 1);
    QCOMPARE(st.prompter.shown.first().text, kNoEncontrado);
    QCOMPARE(st.prompter.shown.first().icon, Icon::Information);
    QCOMPARE(s.focus(), LookupSearch::Focus::Text);
}

void tst_ConsultaBusqueda::composicion_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("plantilla");
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<QVariantList>("params");
    QTest::addColumn<QString>("buscado");
    QTest::addColumn<QStringList>("expected");
    for (const QString &e : TestDatabase::engines()) {
        const QString fija = QStringLiteral("select art_Clave, art_Nombre from tArticulo where art_Clave in "
                                            "('A01', 'A09') order by art_Clave");
        TestDatabase::newRow(e, "sin REPLACE: corre igual con texto")
            << fija << QString() << QVariantList{} << "josé" << QStringList{"A01", "A09"};
        TestDatabase::newRow(e, "sin REPLACE: corre igual con otro texto")
            << fija << QString() << QVariantList{} << "abc" << QStringList{"A01", "A09"};
        TestDatabase::newRow(e, "REPLACE entre marcadores propios")
            << "select art_Clave, art_Nombre from tArticulo where eart_Clave = ? and ##REPLACE## and "
               "art_Clave <> ? order by art_Clave"
            << QString() << QVariantList{"REGISTRADO", "A03"} << "abc" << QStringList{"A01"};
        TestDatabase::newRow(e, "REPLACE con marcador de sistema")
            << "select art_Clave, art_Nombre from tArticulo where ##REPLACE## and coalesce(usu_Clave, "
               "{USU_CLAVE}) = {USU_CLAVE} order by art_Clave"
            << QString() << QVariantList{} << "o'b" << QStringList{"A07"};
        TestDatabase::newRow(e, "REPLACE dos veces")
            << "select art_Clave, art_Nombre from tArticulo where ##REPLACE## union select art_Clave, "
               "art_Nombre from tArticulo where art_Clave = ? and ##REPLACE##"
            << QString() << QVariantList{"A01"} << "abc" << QStringList{"A01", "A03", "A13"};
        TestDatabase::newRow(e, "OR del filtro no absorbe la condicion")
            << QString() << "art_Clave = 'A01' or art_Clave = 'A09'" << QVariantList{} << "1000"
            << QStringList{"A09"};
        TestDatabase::newRow(e, "marcadores propios del filtro")
            << QString() << "eart_Clave = ? and art_Clave <> ?" << QVariantList{"REGISTRADO", "A01"} << "abc"
            << QStringList{"A03"};
        TestDatabase::newRow(e, "marcador de sistema en el filtro")
            << QString() << "coalesce(usu_Clave, 'ADMIN') = {USU_CLAVE}" << QVariantList{} << "abc"
            << QStringList{"A01", "A03", "A13"};
    }
}

void tst_ConsultaBusqueda::composicion()
{
    QFETCH(QString, engine);
    QFETCH(QString, plantilla);
    QFETCH(QString, filtro);
    QFETCH(QVariantList, params);
    QFETCH(QString, buscado);
    QFETCH(QStringList, expected);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    st.config.setValue(QStringLiteral("BUSQUEDA-LIKE"), false);
    LookupDefinition d = articulos();
    d.sqlTemplate = plantilla;
    d.filter = filtro;
    d.filterParams = params;
    LookupSearch s(st.services(), d);
    QCOMPARE(s.cmdBuscar(criterio(buscado)), Outcome::Found);
    QCOMPARE(clavesOrdenadas(s), expected);
    QVERIFY(st.prompter.shown.isEmpty());
}

void tst_ConsultaBusqueda::autoAceptar_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("autoAceptar");
    QTest::addColumn<QString>("buscado");
    QTest::addColumn<Outcome>("outcome");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "una coincidencia se acepta") << true << "O'Brien" << Outcome::Accepted;
        TestDatabase::newRow(e, "dos coincidencias no") << true << "josé" << Outcome::Found;
        TestDatabase::newRow(e, "sin la bandera no") << false << "O'Brien" << Outcome::Found;
        TestDatabase::newRow(e, "ninguna") << true << "zzz" << Outcome::NotFound;
    }
}

void tst_ConsultaBusqueda::autoAceptar()
{
    QFETCH(QString, engine);
    QFETCH(bool, autoAceptar);
    QFETCH(QString, buscado);
    QFETCH(Outcome, outcome);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    LookupDefinition d = articulos();
    d.autoAccept = autoAceptar;
    LookupSearch s(st.services(), d);
    QCOMPARE(s.cmdBuscar(criterio(buscado)), outcome);
    QCOMPARE(s.result().accepted, outcome == Outcome::Accepted);
    if (outcome == Outcome::Accepted) {
        QCOMPARE(s.result().key, QStringLiteral("A07"));
        QCOMPARE(s.result().name, QStringLiteral("O'Brien galletas"));
        QCOMPARE(s.result().row.size(), 4);
        QVERIFY(st.prompter.shown.isEmpty());
    }
}

void tst_ConsultaBusqueda::aceptar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    LookupSearch s(st.services(), articulos());
    QVERIFY(!s.cmdAceptar(0)); // nothing searched yet
    QCOMPARE(st.prompter.texts(), QStringList{"Debe seleccionar un registro"});
    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("jos"))), Outcome::Found);
    st.prompter.clear();
    QVERIFY(!s.cmdAceptar(-1));
    QCOMPARE(st.prompter.texts(), QStringList{"Debe seleccionar un registro"});
    QVERIFY(!s.result().accepted);
    QVERIFY(s.cmdAceptar(1));
    QCOMPARE(s.result().key, QStringLiteral("A05"));
    QCOMPARE(s.result().name, QStringLiteral("JOSÉ LUIS ÁLVAREZ"));
}

void tst_ConsultaBusqueda::errorConservaLaRejilla()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    LookupDefinition d = articulos();
    d.searchFields.append({QStringLiteral("Roto"), QStringLiteral("no_existe"), LookupField::Texto});
    LookupSearch s(st.services(), d);
    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("abc"))), Outcome::Found);
    const QStringList before = claves(s);
    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("abc"), 4)), Outcome::Failed);
    QCOMPARE(claves(s), before);
    QCOMPARE(st.prompter.shown.size(), 1);
    QCOMPARE(st.prompter.shown.first().icon, Icon::Critical);
    // The connection stays usable.
    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("xabc"))), Outcome::Found);
    QCOMPARE(claves(s), QStringList{"A02"});
}

void tst_ConsultaBusqueda::sinConexion()
{
    // The user gave up reconnecting: the search reports it and the window stays usable.
    struct Lost : ConnectionProvider {
        db::Connection *currentConnection() override { return nullptr; }
        db::Connection &getConnection() override
        {
            throw db::DbError(-1, QStringLiteral("No hay conexion"), QStringLiteral("prueba"));
        }
    } lost;
    ConsultaStation st(nullptr);
    LookupDefinition d = articulos();
    d.maintenanceWindow = QStringLiteral("frmArticulo");
    LookupSearch s(LookupServices{lost, st.config, st.prompter}, d,
                   [](const QString &, QChar, const QString &) { return true; });
    QVERIFY(!s.commands().alta); // no right can be read without a database
    for (int campo : {0, 1}) {
        st.prompter.clear();
        QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("12"), campo)), Outcome::Failed);
        QCOMPARE(st.prompter.shown.size(), 1);
        QCOMPARE(st.prompter.shown.first().icon, Icon::Critical);
        QCOMPARE(st.prompter.shown.first().text, QStringLiteral("No se pudo realizar la búsqueda"));
        QVERIFY(st.prompter.shown.first().details.contains(QStringLiteral("No hay conexion")));
    }
    QCOMPARE(s.model().rowCount(), 0);
}

void tst_ConsultaBusqueda::estadoMientrasCarga()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    LookupSearch s(st.services(), articulos());
    QStringList events;
    s.setBusyHandler([&](bool busy) { events << (busy ? "busy" : "idle"); });
    s.setStatusHandler([&](const QString &t) { events << "status:" + t; });
    s.cmdBuscar(criterio(QStringLiteral("abc")));
    QCOMPARE(events, (QStringList{"busy", "status:Cargando datos ...", "status:", "idle"}));
    events.clear();
    s.cmdBuscar(criterio(QStringLiteral("doce"), 1)); // refused before any loading
    QCOMPARE(events, QStringList());
}

// A header click orders every row of the search, across pages, not only the page on screen.
void tst_ConsultaBusqueda::ordenPorColumna()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    for (int i = 1; i <= 150; ++i)
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre) values (?, ?)"),
                  {QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')),
                   QStringLiteral("Producto %1").arg(1000 - i)});
    ConsultaStation st(&c);
    LookupSearch s(st.services(), articulos()); // ordered by art_Clave
    s.model().setPageSize(100);
    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("producto"))), Outcome::Found);
    QCOMPARE(s.model().row(0).value(0).toString(), QStringLiteral("P0001"));

    s.ordena(0, Qt::DescendingOrder);
    QCOMPARE(s.model().row(0).value(0).toString(), QStringLiteral("P0150")); // from the last page
    s.ordena(1, Qt::AscendingOrder);
    QCOMPARE(s.model().row(0).value(1).toString(), QStringLiteral("Producto 850"));
    while (s.model().canFetchMore({}))
        s.model().fetchMore({});
    QCOMPARE(s.model().rowCount(), 150);
    QCOMPARE(s.model().row(149).value(1).toString(), QStringLiteral("Producto 999"));
    // A new search keeps the chosen order; -1 goes back to the definition's.
    s.cmdBuscar(criterio(QStringLiteral("producto 9")));
    QCOMPARE(s.model().row(0).value(1).toString(), QStringLiteral("Producto 900"));
    s.ordena(-1, Qt::AscendingOrder);
    QCOMPARE(s.model().row(0).value(0).toString(), QStringLiteral("P0001"));
}

void tst_ConsultaBusqueda::paginas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    for (int i = 1; i <= 250; ++i)
        c.execute(
            QStringLiteral("insert into tArticulo (art_Clave, art_Nombre) values (?, ?)"),
            {QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("Producto %1").arg(i)});
    ConsultaStation st(&c);
    LookupDefinition d = articulos();
    d.order.clear(); // paging keeps an order of its own
    LookupSearch s(st.services(), d);
    s.model().setPageSize(100);
    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("producto"))), Outcome::Found);
    QCOMPARE(s.model().rowCount(), 100);
    QVERIFY(s.model().canFetchMore({}));
    s.model().fetchMore({});
    QCOMPARE(s.model().rowCount(), 200);
    s.model().fetchMore({});
    QCOMPARE(s.model().rowCount(), 250);
    QVERIFY(!s.model().canFetchMore({}));
    QVERIFY(s.model().complete());
    const QStringList keys = claves(s);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), 250);
    QCOMPARE(keys, clavesOrdenadas(s)); // pages follow one order: none repeated, none skipped
    // The model keeps its contract through a new search and every page; the tester itself
    // asks for more rows from inside the change signals.
    {
        QAbstractItemModelTester tester(&s.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        s.cmdBuscar(criterio(QStringLiteral("producto 1")));
        while (s.model().canFetchMore({}))
            s.model().fetchMore({});
        QCOMPARE(s.model().rowCount(), 111); // 1, 10-19, 100-199
    }
    // A search of exactly one page reads no further.
    s.model().setPageSize(250);
    s.cmdBuscar(criterio(QStringLiteral("producto")));
    QCOMPARE(s.model().rowCount(), 250);
    QVERIFY(!s.model().canFetchMore({}));
}

void tst_ConsultaBusqueda::formatoDeColumnas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    addArticulos(db.connection());
    ConsultaStation st(&db.connection());
    LookupSearch s(st.services(), articulos());
    s.cmdBuscar(criterio(QStringLiteral("xabc")));
    QCOMPARE(s.model().rowCount(), 1);
    LookupResultsModel &m = s.model();
    QCOMPARE(m.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Total"));
    QCOMPARE(m.data(m.index(0, 2)).toString(), QStringLiteral("1,234.50"));
    QCOMPARE(m.data(m.index(0, 3)).toString(), QStringLiteral("05/03/2026"));
    st.config.setValue(QStringLiteral("FORMATO-FECHA-CLIENTE"), QStringLiteral("yyyy-mm-dd"));
    QCOMPARE(m.data(m.index(0, 3)).toString(), QStringLiteral("2026-03-05"));
    QCOMPARE(m.data(m.index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));

    // A key in a number column comes back as stored, not as the grid shows it.
    LookupDefinition d = articulos();
    d.keyColumn = 2;
    d.nameColumn = 3;
    LookupSearch porTotal(st.services(), d);
    porTotal.cmdBuscar(criterio(QStringLiteral("xabc")));
    QVERIFY(porTotal.cmdAceptar(0));
    QCOMPARE(porTotal.result().key, QStringLiteral("1234.5"));
    QCOMPARE(porTotal.result().name, QStringLiteral("2026-03-05"));
}

void tst_ConsultaBusqueda::mantenimiento_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("derechos");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "todos") << QStringList{"_cmdAlta", "_cmdCambio", "_cmdBaja", "_cmdConsulta"};
        TestDatabase::newRow(e, "solo consulta") << QStringList{"_cmdConsulta"};
        TestDatabase::newRow(e, "alta y baja") << QStringList{"_cmdAlta", "_cmdBaja"};
        TestDatabase::newRow(e, "ninguno") << QStringList{};
    }
}

void tst_ConsultaBusqueda::mantenimiento()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, derechos);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    addArticulos(c);
    c.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('GERENTE', 'Gerente')"));
    for (const QString &d : derechos)
        c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('GERENTE', ?)"),
                  {QStringLiteral("frmArticulo") + d});
    ConsultaStation st(&c);
    QList<std::tuple<QString, QChar, QString>> calls;
    bool changes = true;
    MaintenanceOpener opener = [&](const QString &window, QChar command, const QString &key) {
        calls.append({window, command, key});
        if (command == QLatin1Char('A'))
            c.execute(
                QStringLiteral("insert into tArticulo (art_Clave, art_Nombre) values ('A99', 'abc nuevo')"));
        return changes;
    };
    LookupDefinition d = articulos();
    d.maintenanceWindow = QStringLiteral("frmArticulo");
    st.config.setValue(QStringLiteral("BUSQUEDA-LIKE"), false);
    LookupSearch s(st.services(), d, opener);
    const LookupSearch::Commands &cmds = s.commands();
    QVERIFY(cmds.visible);
    QCOMPARE(cmds.alta, derechos.contains("_cmdAlta"));
    QCOMPARE(cmds.cambio, derechos.contains("_cmdCambio"));
    QCOMPARE(cmds.baja, derechos.contains("_cmdBaja"));
    QCOMPARE(cmds.consulta, derechos.contains("_cmdConsulta"));

    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("abc"))), Outcome::Found);
    QCOMPARE(claves(s), (QStringList{"A01", "A03", "A13"}));

    // Add needs no row; the search runs again and shows the new article.
    QCOMPARE(s.cmdReg(), cmds.alta);
    const QStringList afterAdd =
        cmds.alta ? QStringList{"A01", "A03", "A13", "A99"} : QStringList{"A01", "A03", "A13"};
    QCOMPARE(claves(s), afterAdd);

    st.prompter.clear();
    QVERIFY(!s.cmdMod(-1));
    QVERIFY(!s.cmdBaja(-1));
    QVERIFY(!s.cmdCon(-1));
    // Without the right no message: the command is simply not available.
    QStringList expected;
    for (bool allowed : {cmds.cambio, cmds.baja, cmds.consulta})
        if (allowed)
            expected << QStringLiteral("Debe seleccionar un registro");
    QCOMPARE(st.prompter.texts(), expected);

    changes = false;
    QCOMPARE(s.cmdMod(1), false);
    changes = true;
    QCOMPARE(s.cmdBaja(0), cmds.baja);
    QCOMPARE(s.cmdCon(0), cmds.consulta);

    QList<std::tuple<QString, QChar, QString>> expectedCalls;
    if (cmds.alta)
        expectedCalls.append({"frmArticulo", QLatin1Char('A'), QString()});
    if (cmds.cambio)
        expectedCalls.append({"frmArticulo", QLatin1Char('C'), "A03"});
    if (cmds.baja)
        expectedCalls.append({"frmArticulo", QLatin1Char('B'), "A01"});
    if (cmds.consulta)
        expectedCalls.append({"frmArticulo", QLatin1Char('Q'), "A01"});
    QCOMPARE(calls, expectedCalls);
}

void tst_ConsultaBusqueda::sinVentanaDeMantenimiento()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    addArticulos(c);
    c.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('GERENTE', 'Gerente')"));
    c.execute(
        QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('GERENTE', '_cmdAlta')"));
    ConsultaStation st(&c);
    int calls = 0;
    LookupSearch s(st.services(), articulos(),
                   [&](const QString &, QChar, const QString &) { return ++calls > 0; });
    QVERIFY(!s.commands().visible);
    QVERIFY(!s.commands().alta);
    QVERIFY(!s.cmdReg());
    QCOMPARE(calls, 0);
    // A window named without anything to open it hides the commands too.
    LookupDefinition d = articulos();
    d.maintenanceWindow = QStringLiteral("frmArticulo");
    LookupSearch sinAbridor(st.services(), d);
    QVERIFY(!sinAbridor.commands().visible);
}

void tst_ConsultaBusqueda::ajustes()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    ConsultaStation st(&db.connection());
    LookupSearch s(st.services(), articulos());
    const QStringList busqueda = LookupSearch::opcionesBusqueda();
    QCOMPARE(busqueda.size(), 2);
    QCOMPARE(ListEntry::text(busqueda.at(0)), QStringLiteral("Cualquier parte de la palabra"));
    QCOMPARE(ListEntry::key(busqueda.at(0)), QStringLiteral("S"));
    QCOMPARE(ListEntry::text(busqueda.at(1)), QStringLiteral("Inicio de la palabra"));
    QCOMPARE(ListEntry::key(busqueda.at(1)), QStringLiteral("N"));
    const QStringList pregunta = LookupSearch::opcionesPregunta();
    QCOMPARE(ListEntry::key(pregunta.at(0)), QStringLiteral("S"));
    QCOMPARE(ListEntry::key(pregunta.at(1)), QStringLiteral("N"));

    // Defaults: anywhere, ask.
    QCOMPARE(s.busquedaIndex(), 0);
    QCOMPARE(s.preguntaIndex(), 0);
    s.setBusqueda(busqueda.at(1));
    s.setPregunta(pregunta.at(1));
    QCOMPARE(st.config.getValue(QStringLiteral("BUSQUEDA-LIKE")).toBool(), false);
    QCOMPARE(st.config.getValue(QStringLiteral("PREGUNTAR-CONSULTA-VACIA")).toBool(), false);
    QCOMPARE(s.busquedaIndex(), 1);
    QCOMPARE(s.preguntaIndex(), 1);
    QVERIFY(s.cmdSalvarSetting());
    QCOMPARE(st.prompter.texts(), QStringList{"Configuracion actualizada"});
    QCOMPARE(st.prompter.shown.first().icon, Icon::Information);
    const auto stored = [&](const char *key) {
        return db.connection()
            .scalar(QStringLiteral("select config_ValorBool from tConfiguracion where config_Clave = ? and "
                                   "config_computer = 'CAJA1'"),
                    {QString::fromLatin1(key)})
            .toString();
    };
    QCOMPARE(stored("BUSQUEDA-LIKE"), QStringLiteral("N"));
    QCOMPARE(stored("PREGUNTAR-CONSULTA-VACIA"), QStringLiteral("N"));
    s.setBusqueda(busqueda.at(0));
    QVERIFY(s.cmdSalvarSetting());
    QCOMPARE(stored("BUSQUEDA-LIKE"), QStringLiteral("S"));
}

void tst_ConsultaBusqueda::rangoInicial_data()
{
    QTest::addColumn<QDate>("hoy");
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<QDate>("hasta");
    QTest::newRow("diciembre") << QDate(2026, 12, 6) << QDate(2026, 12, 1) << QDate(2026, 12, 30);
    QTest::newRow("enero") << QDate(2026, 1, 31) << QDate(2026, 1, 1) << QDate(2026, 1, 31);
    QTest::newRow("marzo tras febrero") << QDate(2026, 3, 10) << QDate(2026, 3, 1) << QDate(2026, 3, 28);
    QTest::newRow("marzo bisiesto") << QDate(2028, 3, 1) << QDate(2028, 3, 1) << QDate(2028, 3, 29);
    QTest::newRow("febrero") << QDate(2026, 2, 14) << QDate(2026, 2, 1) << QDate(2026, 2, 28);
}

void tst_ConsultaBusqueda::rangoInicial()
{
    QFETCH(QDate, hoy);
    QFETCH(QDate, desde);
    QFETCH(QDate, hasta);
    const auto [d, h] = LookupSearch::rangoInicial(hoy);
    QCOMPARE(d, desde);
    QCOMPARE(h, hasta);
}

void tst_ConsultaBusqueda::columnaArticulo_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("ancho");
    QTest::addColumn<QChar>("tipo");
    QTest::newRow("barras") << "tArticulo.art_Clave|Clave|120" << true << "tArticulo.art_Clave"
                            << "Clave" << 120 << QChar('?');
    QTest::newRow("comas") << "art_Total, Total, 90" << true << "art_Total"
                           << "Total" << 90 << QChar('N');
    QTest::newRow("sin titulo ni ancho") << "art_FecAlta" << true << "art_FecAlta"
                                         << "art_FecAlta" << 0 << QChar('F');
    QTest::newRow("vacia") << "" << false << ""
                           << "" << 0 << QChar('?');
    QTest::newRow("texto SQL rechazado") << "art_Clave); drop table tArticulo; --|x|1" << false << ""
                                         << "" << 0 << QChar('?');
    QTest::newRow("expresion rechazada") << "upper(art_Nombre)|Nombre|10" << false << ""
                                         << "" << 0 << QChar('?');
}

void tst_ConsultaBusqueda::columnaArticulo()
{
    QFETCH(QString, texto);
    QFETCH(bool, ok);
    QFETCH(QString, campo);
    QFETCH(QString, titulo);
    QFETCH(int, ancho);
    QFETCH(QChar, tipo);
    QString field;
    LookupColumn column;
    QCOMPARE(LookupArticulo::columna(texto, field, column), ok);
    if (!ok)
        return;
    QCOMPARE(field, campo);
    QCOMPARE(column.caption, titulo);
    QCOMPARE(column.width, ancho);
    QCOMPARE(column.kind, tipo);
}

void tst_ConsultaBusqueda::consultaDeArticulos_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("sinSuspendidos");
    QTest::addColumn<bool>("soloExistencia");
    QTest::addColumn<bool>("tablaDeExistencias");
    QTest::addColumn<QStringList>("expected");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "suspendidos fuera")
            << true << false << false << QStringList{"A01", "A02", "A03"};
        TestDatabase::newRow(e, "suspendidos dentro")
            << false << false << false << QStringList{"A01", "A02", "A03", "A13"};
        TestDatabase::newRow(e, "solo existencia del almacen")
            << false << true << true << QStringList{"A02", "A13"};
    }
}

void tst_ConsultaBusqueda::consultaDeArticulos()
{
    QFETCH(QString, engine);
    QFETCH(bool, sinSuspendidos);
    QFETCH(bool, soloExistencia);
    QFETCH(bool, tablaDeExistencias);
    QFETCH(QStringList, expected);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    addArticulos(c);
    if (tablaDeExistencias) {
        c.execute(
            QStringLiteral("insert into tArticuloAlmacen (alm_Clave, art_Clave, alma_Existencia) values ('MATRIZ', "
                           "'A01', 0), ('NORTE', 'A03', 5), ('MATRIZ', 'A02', 2), ('MATRIZ', 'A13', 1)"));
    }
    ConsultaStation st(&c);
    st.config.setValue(QStringLiteral("BUSQUEDA-SUSPENDIDOS"), sinSuspendidos);
    st.config.setValue(QStringLiteral("BUSQUEDA-SOLO-EXISTENCIA"), soloExistencia);
    st.config.setValue(QStringLiteral("BUSQUEDA-COLUMNAS"), 3);
    st.config.setValue(QStringLiteral("BUSQUEDA-COLUMNA2"), QStringLiteral("art_Total|Precio|90"));
    st.config.setValue(QStringLiteral("BUSQUEDA-COLUMNA3"), QStringLiteral("no valida()|x|1"));
    const LookupArticulo::Definicion def = LookupArticulo::definicion(st.config, st.provider);
    // Column 1 from the defaults, column 2 as configured, column 3 refused; the name is added.
    QCOMPARE(def.definition.selectList,
             QStringLiteral("tArticulo.art_Clave, art_Total, tArticulo.art_Nombre"));
    QCOMPARE(def.definition.columns.at(1).caption, QStringLiteral("Precio"));
    QCOMPARE(def.definition.keyColumn, 0);
    QCOMPARE(def.definition.nameColumn, 2);
    QCOMPARE(def.definition.searchFields.at(def.campoInicial).column, QStringLiteral("art_Nombre"));
    LookupSearch s(st.services(), def.definition);
    QCOMPARE(s.cmdBuscar(criterio(QStringLiteral("abc"), def.campoInicial)), Outcome::Found);
    QCOMPARE(clavesOrdenadas(s), expected);
    QVERIFY(s.cmdAceptar(0));
    QVERIFY(!s.result().name.isEmpty());
}

QTEST_GUILESS_MAIN(tst_ConsultaBusqueda)
#include "tst_consulta_busqueda.moc"
