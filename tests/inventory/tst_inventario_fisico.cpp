// The physical inventory: opening with its four kinds, the counts and their refusals, closing
// counts, processing into adjustment rows, concluding into stock all or nothing, deleting.
#include "ArticulosExistencia.h"
#include "EstacionPrueba.h"
#include "Existencias.h"
#include "InvariantesExistencia.h"
#include "InventarioFisico.h"
#include "TestDatabase.h"

#include "DbError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kCerrado = QStringLiteral(
    "El Inventario ya ha sido cerrado, para ver los resultados, consulte los reportes de inventarios");

// The store of every test, warehouse A1: LIB 10, EXI 5, LOT L1 3 and L2 2, SER S1 and S2, NIN
// ('NINGUNO') 4, VAC (empty control kind) 2, PZA 3 (fills containers: never preloaded);
// warehouse A2: LIB 7. LIB and EXI are department MED; EXI and LOT category ANALG.
struct Tienda {
    Tienda(db::Connection &c, const QString &settingsFile)
        : conn(c), estacion(&c, settingsFile),
          existencias(estacion.provider, estacion.config, estacion.prompter),
          inventario(estacion.provider, estacion.config, estacion.prompter, existencias)
    {
        creaArticulosExistencia(c);
        c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, cinv_Clave, art_Costo) "
                                 "values ('NIN', 'Articulo NIN', 'NINGUNO', 2)"));
        c.execute(
            QStringLiteral("update tArticulo set tart_Clave = 'MED' where art_Clave in ('LIB', 'EXI')"));
        c.execute(
            QStringLiteral("update tArticulo set sub_Clave = 'ANALG' where art_Clave in ('EXI', 'LOT')"));
        for (const char *e : {"A1|LIB||10", "A1|EXI||5", "A1|LOT|L1|3", "A1|LOT|L2|2", "A1|SER|S1|1",
                              "A1|SER|S2|1", "A1|NIN||4", "A1|VAC||2", "A1|PZA||3", "A2|LIB||7"}) {
            const QStringList p = QString::fromLatin1(e).split(u'|');
            if (!existencias.actualizaArticuloAlmacen(p[0], p[1], p[2], Decimal(p[3]), QStringLiteral("E"),
                                                      QStringLiteral("PRUEBA"), {}, {}, Decimal(1), false,
                                                      false, false))
                qFatal("%s", qPrintable(existencias.ultimoError()));
        }
    }

    // Opens inventory A1-2026-1, answering Yes to "Desea iniciar un nuevo inventario".
    bool abre(const QString &tipo, int conteos, const QString &depto = {}, const QString &categoria = {})
    {
        estacion.prompter.answers.enqueue(true);
        return inventario.abre({QStringLiteral("A1"), 2026, 1, conteos, tipo, depto, categoria});
    }
    // "article|lot|quantity", quantity "-" for none.
    InventarioFisico::Captura captura(const QString &texto)
    {
        const QStringList p = texto.split(u'|');
        return inventario.captura(
            p[0], p[1], p[2] == QLatin1String("-") ? std::nullopt : std::optional<Decimal>(Decimal(p[2])));
    }
    void capturaTodo(const QStringList &capturas)
    {
        for (const QString &t : capturas)
            captura(t);
    }
    QStringList conteos()
    {
        return filas(conn,
                     QStringLiteral("select art_Clave, alma_Clave, inva_Conteo1, inva_Conteo2, inva_Conteo3 "
                                    "from tInventarioArticulo order by art_Clave, alma_Clave"));
    }
    QStringList ajustes()
    {
        return filas(conn, QStringLiteral("select art_Clave, alma_Clave, inva_Resultado, alma_Existencia, "
                                          "ajuste_Tipo, ajuste_Cantidad, art_Costo from tInventarioAjuste "
                                          "order by art_Clave, alma_Clave"));
    }
    ScriptedPrompter &prompter() { return estacion.prompter; }

    db::Connection &conn;
    EstacionPrueba estacion;
    Existencias existencias;
    InventarioFisico inventario;
};

} // namespace

class tst_InventarioFisico : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void datosFaltantes_data();
    void datosFaltantes();
    void precarga_data();
    void precarga();
    void inventarioExistente_data() { TestDatabase::addEngineRows(); }
    void inventarioExistente();
    void captura_data();
    void captura();
    void tresConteosSinDiferencias_data() { TestDatabase::addEngineRows(); }
    void tresConteosSinDiferencias();
    void tercerConteoSoloDiferencias_data() { TestDatabase::addEngineRows(); }
    void tercerConteoSoloDiferencias();
    void conteoEnCeroPregunta_data() { TestDatabase::addEngineRows(); }
    void conteoEnCeroPregunta();
    void procesa_data();
    void procesa();
    void concluye_data() { TestDatabase::addEngineRows(); }
    void concluye();
    void concluyeTodoONada_data() { TestDatabase::addEngineRows(); }
    void concluyeTodoONada();
    void elimina_data() { TestDatabase::addEngineRows(); }
    void elimina();
    void editaConteo_data();
    void editaConteo();
    void cargaArchivo_data();
    void cargaArchivo();

private:
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("Mostrador.ini")); }
    QTemporaryDir m_dir;
};

void tst_InventarioFisico::datosFaltantes_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("almacen");
    QTest::addColumn<int>("anio");
    QTest::addColumn<int>("numero");
    QTest::addColumn<int>("conteos");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("grupo"); // department or category
    QTest::addColumn<QString>("mensaje");
    const QString conteo =
        QStringLiteral("Debe indicar la cantidad de veces que se realizara el conteo de los articulos");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("sin almacen")) << "" << 2026 << 1 << 1 << "TOTAL"
                                                               << ""
                                                               << "Debe seleccionar un almacen";
        TestDatabase::newRow(e, QStringLiteral("sin año")) << "A1" << 0 << 1 << 1 << "TOTAL"
                                                           << ""
                                                           << "Debe seleccionar un año";
        TestDatabase::newRow(e, QStringLiteral("sin numero")) << "A1" << 2026 << 0 << 1 << "TOTAL"
                                                              << ""
                                                              << "Debe indicar un numero de inventario";
        TestDatabase::newRow(e, QStringLiteral("cero conteos")) << "A1" << 2026 << 1 << 0 << "TOTAL"
                                                                << "" << conteo;
        TestDatabase::newRow(e, QStringLiteral("cuatro conteos")) << "A1" << 2026 << 1 << 4 << "TOTAL"
                                                                  << "" << conteo;
        TestDatabase::newRow(e, QStringLiteral("sin tipo"))
            << "A1" << 2026 << 1 << 1 << ""
            << ""
            << "Debe indicar el tipo de inventario a realizar";
        TestDatabase::newRow(e, QStringLiteral("tipo desconocido"))
            << "A1" << 2026 << 1 << 1 << "GENERAL"
            << ""
            << "Debe indicar el tipo de inventario a realizar";
        TestDatabase::newRow(e, QStringLiteral("departamento sin elegir"))
            << "A1" << 2026 << 1 << 1 << "DEPTO"
            << " "
            << "Debe seleccionar un departamento";
        TestDatabase::newRow(e, QStringLiteral("categoria sin elegir"))
            << "A1" << 2026 << 1 << 1 << "CATEGORIA"
            << ""
            << "Debe seleccionar una categoria";
    }
}

void tst_InventarioFisico::datosFaltantes()
{
    QFETCH(QString, engine);
    QFETCH(QString, almacen);
    QFETCH(int, anio);
    QFETCH(int, numero);
    QFETCH(int, conteos);
    QFETCH(QString, tipo);
    QFETCH(QString, grupo);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    QVERIFY(!t.inventario.abre({almacen, anio, numero, conteos, tipo, grupo, grupo}));
    QCOMPARE(t.prompter().texts(), QStringList{mensaje});
    QCOMPARE(t.prompter().shown.last().icon, Prompter::Icon::Exclamation);
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tInventario")).toInt(), 0);
    QVERIFY(!t.inventario.abierto());
}

void tst_InventarioFisico::precarga_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("grupo");
    QTest::addColumn<QStringList>("articulos");
    for (const QString &e : TestDatabase::engines()) {
        // PZA fills containers and is left out; A2 stock does not count.
        TestDatabase::newRow(e, QStringLiteral("total"))
            << "TOTAL"
            << "" << QStringList{"EXI", "LIB", "LOT", "NIN", "SER", "VAC"};
        TestDatabase::newRow(e, QStringLiteral("parcial")) << "PARCIAL"
                                                           << "" << QStringList{};
        TestDatabase::newRow(e, QStringLiteral("departamento")) << "DEPTO"
                                                                << "MED" << QStringList{"EXI", "LIB"};
        TestDatabase::newRow(e, QStringLiteral("categoria")) << "CATEGORIA"
                                                             << "ANALG" << QStringList{"EXI", "LOT"};
        TestDatabase::newRow(e, QStringLiteral("departamento sin articulos")) << "DEPTO"
                                                                              << "OTRO" << QStringList{};
    }
}

void tst_InventarioFisico::precarga()
{
    QFETCH(QString, engine);
    QFETCH(QString, tipo);
    QFETCH(QString, grupo);
    QFETCH(QStringList, articulos);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Tienda t(c, settingsFile());
    QCOMPARE(t.inventario.siguienteNumero(QStringLiteral("A1"), 2026), 1);
    QVERIFY(t.abre(tipo, 2, grupo, grupo));
    QCOMPARE(t.prompter().texts(), QStringList{QStringLiteral("Desea iniciar un nuevo inventario")});
    QVERIFY(t.prompter().drained());
    QCOMPARE(t.inventario.estado(), QStringLiteral("REGISTRADO"));
    QCOMPARE(t.inventario.conteoActual(), 1);
    QCOMPARE(t.inventario.conteos(), 2);
    QStringList esperadas;
    for (const QString &a : articulos)
        esperadas << a + QStringLiteral("||0|0|0");
    QCOMPARE(t.conteos(), esperadas);
    QCOMPARE(filas(c, QStringLiteral("select tinv_Clave, coalesce(tart_Clave, '-'), coalesce(sub_Clave, '-') "
                                     "from tInventario")),
             QStringList{tipo + u'|' + (tipo == QLatin1String("DEPTO") ? grupo : QStringLiteral("-")) + u'|' +
                         (tipo == QLatin1String("CATEGORIA") ? grupo : QStringLiteral("-"))});
    QCOMPARE(t.inventario.siguienteNumero(QStringLiteral("A1"), 2026), 2);
    QCOMPARE(t.inventario.siguienteNumero(QStringLiteral("A1"), 2027), 1);
    QCOMPARE(t.inventario.siguienteNumero(QStringLiteral("A2"), 2026), 1);
}

void tst_InventarioFisico::inventarioExistente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Tienda t(c, settingsFile());
    ScriptedPrompter &p = t.prompter();

    // A new one refused: nothing written.
    p.answers.enqueue(false);
    QVERIFY(!t.inventario.abre({QStringLiteral("A1"), 2026, 1, 3, QStringLiteral("TOTAL"), {}, {}}));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tInventario")).toInt(), 0);
    QVERIFY(t.abre(QStringLiteral("PARCIAL"), 3));
    QCOMPARE(t.captura(QStringLiteral("LIB||4")), InventarioFisico::Captura::Capturado);

    // Continuing takes the stored kind and counts, not the ones typed again.
    InventarioFisico otro(t.estacion.provider, t.estacion.config, p, t.existencias);
    p.clear();
    p.answers.enqueue(false);
    QVERIFY(!otro.abre({QStringLiteral("A1"), 2026, 1, 1, QStringLiteral("TOTAL"), {}, {}}));
    p.answers.enqueue(true);
    QVERIFY(otro.abre({QStringLiteral("A1"), 2026, 1, 1, QStringLiteral("TOTAL"), {}, {}}));
    const QString enCurso =
        QStringLiteral("El inventario se encuentra en curso, desea capturar sobre este mismo inventario");
    QCOMPARE(p.texts(), (QStringList{enCurso, enCurso}));
    QCOMPARE(otro.conteos(), 3);
    QCOMPARE(otro.tipo(), QStringLiteral("PARCIAL"));
    QCOMPARE(t.conteos(), QStringList{QStringLiteral("LIB||4|0|0")});

    c.execute(QStringLiteral("update tInventario set einv_Clave = 'CERRADO'"));
    p.clear();
    QVERIFY(!otro.abre({QStringLiteral("A1"), 2026, 1, 1, QStringLiteral("TOTAL"), {}, {}}));
    QCOMPARE(p.texts(), QStringList{kCerrado});
    QVERIFY(p.drained());
    // A closed inventory takes no counts.
    p.clear();
    QCOMPARE(t.captura(QStringLiteral("LIB||1")), InventarioFisico::Captura::Rechazado);
    QCOMPARE(p.texts(), QStringList{kCerrado});
}

void tst_InventarioFisico::captura_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QStringList>("capturas"); // the last one is checked
    QTest::addColumn<QList<bool>>("respuestas");
    QTest::addColumn<int>("resultado");
    QTest::addColumn<QString>("mensaje");     // the last shown, or empty
    QTest::addColumn<QStringList>("conteos"); // art|lot|count 1|2|3 afterwards
    QTest::addColumn<bool>("automatica");     // OPERACION-CAPTURA-AUTOMATICA
    const int ok = int(InventarioFisico::Captura::Capturado);
    const int no = int(InventarioFisico::Captura::Rechazado);
    const int registrar = int(InventarioFisico::Captura::RegistrarArticulo);
    const QString serie = QStringLiteral("Solo se admite un articulo por serie");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("se suman"))
            << QStringList{"LIB||3", "LIB||2.5"} << QList<bool>{} << ok << "" << QStringList{"LIB||5.5|0|0"}
            << false;
        TestDatabase::newRow(e, QStringLiteral("sin articulo"))
            << QStringList{" ||1"} << QList<bool>{} << no << "Debe indicar el articulo" << QStringList{}
            << false;
        TestDatabase::newRow(e, QStringLiteral("sin cantidad"))
            << QStringList{"LIB||-"} << QList<bool>{} << no << "Debe indicar la cantidad" << QStringList{}
            << false;
        // With the automatic capture on (its default) a scanned article counts one unit.
        TestDatabase::newRow(e, QStringLiteral("captura automatica"))
            << QStringList{"LIB||-", "LIB||-"} << QList<bool>{} << ok << "" << QStringList{"LIB||2|0|0"}
            << true;
        TestDatabase::newRow(e, QStringLiteral("negativa"))
            << QStringList{"LIB||-1"} << QList<bool>{} << no << "No se admiten existencias negativas"
            << QStringList{} << false;
        TestDatabase::newRow(e, QStringLiteral("sin control de inventario"))
            << QStringList{"NIN||1"} << QList<bool>{} << no
            << "No es posible inventariar articulos sin control de inventario  ( CONTROL DE INVENTARIO = "
               "<NINGUNO> )"
            << QStringList{} << false;
        TestDatabase::newRow(e, QStringLiteral("lote sin capturar"))
            << QStringList{"LOT||1"} << QList<bool>{} << no << "Requiere capturar el Lote" << QStringList{}
            << false;
        TestDatabase::newRow(e, QStringLiteral("cada lote su fila"))
            << QStringList{"LOT|L1|2", "LOT|L2|1", "LOT|L1|1"} << QList<bool>{} << ok << ""
            << QStringList{"LOT|L1|3|0|0", "LOT|L2|1|0|0"} << false;
        TestDatabase::newRow(e, QStringLiteral("serie sin capturar"))
            << QStringList{"SER||1"} << QList<bool>{} << no << "Capture la serie" << QStringList{} << false;
        TestDatabase::newRow(e, QStringLiteral("serie con dos"))
            << QStringList{"SER|S1|2"} << QList<bool>{} << no << serie << QStringList{} << false;
        TestDatabase::newRow(e, QStringLiteral("serie con cero"))
            << QStringList{"SER|S1|0"} << QList<bool>{} << no << serie << QStringList{} << false;
        TestDatabase::newRow(e, QStringLiteral("serie contada dos veces"))
            << QStringList{"SER|S1|1", "SER|S1|1"} << QList<bool>{} << no << "La serie ya existe"
            << QStringList{"SER|S1|1|0|0"} << false;
        TestDatabase::newRow(e, QStringLiteral("series distintas"))
            << QStringList{"SER|S1|1", "SER|S9|1"} << QList<bool>{} << ok << ""
            << QStringList{"SER|S1|1|0|0", "SER|S9|1|0|0"} << false;
        TestDatabase::newRow(e, QStringLiteral("articulo libre no guarda lote"))
            << QStringList{"LIB|X|1", "LIB||1"} << QList<bool>{} << ok << "" << QStringList{"LIB||2|0|0"}
            << true;
        TestDatabase::newRow(e, QStringLiteral("cero aceptado"))
            << QStringList{"EXI||0"} << QList<bool>{true} << ok << "" << QStringList{"EXI||0|0|0"} << false;
        TestDatabase::newRow(e, QStringLiteral("cero rechazado"))
            << QStringList{"EXI||0"} << QList<bool>{false} << no << "" << QStringList{} << false;
        TestDatabase::newRow(e, QStringLiteral("articulo nuevo a registrar"))
            << QStringList{"ZZZ||1"} << QList<bool>{true} << registrar << "" << QStringList{} << false;
        TestDatabase::newRow(e, QStringLiteral("articulo nuevo no registrado"))
            << QStringList{"ZZZ||1"} << QList<bool>{false} << no << "" << QStringList{} << false;
    }
}

void tst_InventarioFisico::captura()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, capturas);
    QFETCH(QList<bool>, respuestas);
    QFETCH(int, resultado);
    QFETCH(QString, mensaje);
    QFETCH(QStringList, conteos);
    QFETCH(bool, automatica);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    QVERIFY(t.estacion.config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), automatica));
    QVERIFY(t.abre(QStringLiteral("PARCIAL"), 1));
    t.prompter().clear();
    for (bool r : respuestas)
        t.prompter().answers.enqueue(r);
    const QString ultima = capturas.takeLast();
    t.capturaTodo(capturas);
    QCOMPARE(int(t.captura(ultima)), resultado);
    QVERIFY(t.prompter().drained());
    const QList<ScriptedPrompter::Shown> &vistos = t.prompter().shown;
    const bool hayMensaje = !vistos.isEmpty() && vistos.last().icon != Prompter::Icon::Question;
    QCOMPARE(hayMensaje ? vistos.last().text : QString(), mensaje);
    QCOMPARE(t.conteos(), conteos);
}

void tst_InventarioFisico::tresConteosSinDiferencias()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    ScriptedPrompter &p = t.prompter();
    QVERIFY(t.abre(QStringLiteral("PARCIAL"), 3));
    t.capturaTodo({"LIB||10", "EXI||3"});
    p.clear();
    p.answers << true;
    QVERIFY(t.inventario.cierraConteo());
    QCOMPARE(p.texts(), (QStringList{"Desea cerrar el primer conteo",
                                     "Por favor capture nuevamente los articulos para el conteo 2"}));
    QCOMPARE(t.inventario.conteoActual(), 2);
    t.capturaTodo({"EXI||3", "LIB||10"});
    p.clear();
    p.answers << true << true;
    QVERIFY(t.inventario.cierraConteo());
    QCOMPARE(p.texts(), (QStringList{"Desea cerrar el segundo conteo",
                                     "La captura ha sido completada, desea procesar el inventario"}));
    QVERIFY(p.drained());
    QCOMPARE(t.inventario.estado(), QStringLiteral("PROCESADO"));
    QCOMPARE(t.inventario.conteoActual(), 2);
    QCOMPARE(
        filas(db.connection(), QStringLiteral("select art_Clave, inva_Resultado from tInventarioArticulo "
                                              "order by art_Clave")),
        (QStringList{"EXI|3", "LIB|10"}));
    // LIB counted as its stock: no adjustment.
    QCOMPARE(t.ajustes(), QStringList{QStringLiteral("EXI||3|5|S|2|4.5")});
}

void tst_InventarioFisico::tercerConteoSoloDiferencias()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    ScriptedPrompter &p = t.prompter();
    QVERIFY(t.abre(QStringLiteral("PARCIAL"), 3));
    t.capturaTodo({"LIB||9", "EXI||3"});
    p.answers << true;
    QVERIFY(t.inventario.cierraConteo());
    t.capturaTodo({"LIB||9", "EXI||4"});
    p.clear();
    p.answers << true;
    QVERIFY(t.inventario.cierraConteo());
    QCOMPARE(p.texts(), (QStringList{"Desea cerrar el segundo conteo",
                                     "Existen diferencias en el conteo por favor capture el conteo 3 de los "
                                     "articulos en que hay diferencias"}));
    QCOMPARE(t.inventario.conteoActual(), 3);
    QCOMPARE(t.inventario.estado(), QStringLiteral("REGISTRADO"));

    p.clear();
    const QString iguales =
        QStringLiteral("Las cantidades para este articulo son iguales, no es necesario volver a capturalo");
    QCOMPARE(t.captura(QStringLiteral("LIB||9")), InventarioFisico::Captura::Rechazado);
    QCOMPARE(t.captura(QStringLiteral("VAC||1")), InventarioFisico::Captura::Rechazado);
    QCOMPARE(p.texts(), (QStringList{iguales, iguales}));
    QCOMPARE(t.captura(QStringLiteral("EXI||5")), InventarioFisico::Captura::Capturado);
    p.clear();
    p.answers << true << true;
    QVERIFY(t.inventario.cierraConteo());
    QCOMPARE(p.texts(), (QStringList{"Desea cerrar el tercer conteo",
                                     "La captura ha sido completada, desea procesar el inventario"}));
    QCOMPARE(t.conteos(), (QStringList{"EXI||3|4|5", "LIB||9|9|0"}));
    // EXI takes the third count (equal to stock), LIB the second.
    QCOMPARE(t.ajustes(), QStringList{QStringLiteral("LIB||9|10|S|1|10")});

    // Starting over goes back to count 1 and the counting state.
    p.clear();
    p.answers << true;
    QVERIFY(t.inventario.reiniciaCaptura());
    QCOMPARE(p.texts(), QStringList{QStringLiteral("Desea iniciar de nuevo la captura del inventario")});
    QCOMPARE(t.inventario.conteoActual(), 1);
    QCOMPARE(t.inventario.estado(), QStringLiteral("REGISTRADO"));
}

void tst_InventarioFisico::conteoEnCeroPregunta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    ScriptedPrompter &p = t.prompter();
    QVERIFY(t.abre(QStringLiteral("DEPTO"), 2, QStringLiteral("MED")));
    QCOMPARE(t.captura(QStringLiteral("LIB||10")), InventarioFisico::Captura::Capturado);
    p.clear();
    // EXI was preloaded and not counted.
    p.answers << false;
    QVERIFY(!t.inventario.cierraConteo());
    const QString cero1 = QStringLiteral(
        "La captura de articulos contiene uno o varios registros con conteo 1 igual a cero, desea continuar");
    QCOMPARE(p.texts(), QStringList{cero1});
    QCOMPARE(t.inventario.conteoActual(), 1);
    p.clear();
    p.answers << true << false;
    QVERIFY(!t.inventario.cierraConteo());
    QCOMPARE(p.texts(), (QStringList{cero1, "Desea cerrar el primer conteo"}));
    QCOMPARE(t.inventario.conteoActual(), 1);
    p.clear();
    p.answers << true << true;
    QVERIFY(t.inventario.cierraConteo());
    QCOMPARE(t.inventario.conteoActual(), 2);
    t.capturaTodo({"LIB||10", "EXI||5"});
    p.clear();
    // The last count: no zero rows, and processing declined leaves it counting.
    p.answers << true << false;
    QVERIFY(t.inventario.cierraConteo());
    QCOMPARE(p.texts(), (QStringList{"Desea cerrar el segundo conteo",
                                     "La captura ha sido completada, desea procesar el inventario"}));
    QCOMPARE(t.inventario.estado(), QStringLiteral("REGISTRADO"));
    QVERIFY(p.drained());
}

void tst_InventarioFisico::procesa_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QStringList>("capturas");
    QTest::addColumn<QStringList>("ajustes"); // art|lot|result|stock|kind|quantity|cost
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("igual a la existencia"))
            << "PARCIAL" << QStringList{"LIB||10"} << QStringList{};
        TestDatabase::newRow(e, QStringLiteral("sobrante"))
            << "PARCIAL" << QStringList{"LIB||12.5"} << QStringList{"LIB||12.5|10|E|2.5|10"};
        TestDatabase::newRow(e, QStringLiteral("faltante"))
            << "PARCIAL" << QStringList{"EXI||1"} << QStringList{"EXI||1|5|S|4|4.5"};
        TestDatabase::newRow(e, QStringLiteral("sin existencia previa"))
            << "PARCIAL" << QStringList{"KIT||2"} << QStringList{"KIT||2|0|E|2|30"};
        TestDatabase::newRow(e, QStringLiteral("contado en cero"))
            << "PARCIAL" << QStringList{"EXI||0"} << QStringList{"EXI||0|5|S|5|4.5"};
        TestDatabase::newRow(e, QStringLiteral("lote por lote"))
            << "PARCIAL" << QStringList{"LOT|L1|3", "LOT|L2|1", "LOT|L7|4"}
            << QStringList{"LOT|L2|1|2|S|1|7", "LOT|L7|4|0|E|4|7"};
        TestDatabase::newRow(e, QStringLiteral("series"))
            << "PARCIAL" << QStringList{"SER|S1|1", "SER|S3|1"} << QStringList{"SER|S3|1|0|E|1|1500"};
        // A whole count: lots and serials on the books that nobody counted leave; a partial one
        // leaves alone what it did not name.
        TestDatabase::newRow(e, QStringLiteral("total con lote y serie sin contar"))
            << "TOTAL" << QStringList{"LIB||10", "EXI||5", "LOT|L1|3", "SER|S1|1", "VAC||2"}
            << QStringList{"LOT|L2|0|2|S|2|7", "SER|S2|0|1|S|1|1500"};
        TestDatabase::newRow(e, QStringLiteral("departamento no toca otros lotes"))
            << "DEPTO" << QStringList{"LIB||10", "EXI||5"} << QStringList{};
        TestDatabase::newRow(e, QStringLiteral("parcial con lote sin contar"))
            << "PARCIAL" << QStringList{"LOT|L1|3"} << QStringList{};
        // Preloaded and not counted: all stock leaves, except the 'NINGUNO' article's.
        TestDatabase::newRow(e, QStringLiteral("total sin contar"))
            << "TOTAL" << QStringList{"LIB||10", "EXI||5", "LOT|L1|3", "LOT|L2|2", "SER|S1|1", "SER|S2|1"}
            << QStringList{"VAC||0|2|S|2|1"};
    }
}

void tst_InventarioFisico::procesa()
{
    QFETCH(QString, engine);
    QFETCH(QString, tipo);
    QFETCH(QStringList, capturas);
    QFETCH(QStringList, ajustes);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Tienda t(c, settingsFile());
    QVERIFY(t.abre(tipo, 1, tipo == QLatin1String("DEPTO") ? QStringLiteral("MED") : QString()));
    t.prompter().answers << true << true << true; // a zero count, if any
    t.capturaTodo(capturas);
    t.prompter().answers.clear();
    QVERIFY(t.inventario.procesa());
    QCOMPARE(t.inventario.estado(), QStringLiteral("PROCESADO"));
    QCOMPARE(t.ajustes(), ajustes);
    QCOMPARE(c.scalar(QStringLiteral("select cinv_Clave from tArticulo where art_Clave = 'VAC'")).toString(),
             QStringLiteral("LIBRE"));
    // Processing again rebuilds the same rows, not more.
    QVERIFY(t.inventario.procesa());
    QCOMPARE(t.ajustes(), ajustes);
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_InventarioFisico::concluye()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Tienda t(c, settingsFile());
    t.estacion.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ANA"));
    ScriptedPrompter &p = t.prompter();
    QVERIFY(t.abre(QStringLiteral("PARCIAL"), 1));
    t.capturaTodo({"LIB||12", "EXI||1", "LOT|L2|1", "SER|S3|1", "SER|S1|1"});
    p.clear();
    QVERIFY(!t.inventario.concluye());
    QCOMPARE(p.texts(), QStringList{QStringLiteral("El inventario debe procesarse antes de concluirlo")});
    QVERIFY(t.inventario.procesa());
    const QStringList antes = filasExistencia(c);
    p.clear();
    p.answers << false;
    QVERIFY(!t.inventario.concluye());
    QCOMPARE(filasExistencia(c), antes);
    QCOMPARE(t.inventario.estado(), QStringLiteral("PROCESADO"));

    p.clear();
    p.answers << true;
    QVERIFY(t.inventario.concluye());
    QCOMPARE(p.texts(),
             (QStringList{"Esto modificara las existencias para los articulos afectados, desea continuar",
                          "El Inventario ha sido concluido con exito"}));
    QCOMPARE(t.inventario.estado(), QStringLiteral("CERRADO"));
    QCOMPARE(filasExistencia(c),
             (QStringList{"A1|EXI|=1", "A1|LIB|=12", "A1|LOT|L1=3", "A1|LOT|L2=1", "A1|NIN|=4", "A1|PZA|=3",
                          "A1|SER|S1=1", "A1|SER|S2=1", "A1|SER|S3=1", "A1|VAC|=2", "A2|LIB|=7"}));
    QCOMPARE(filas(c, QStringLiteral(
                          "select art_Clave, alma_Clave, tkar_Clave, kar_Cantidad, art_Costo, KAR_ORIGEN, "
                          "prov_Clave, fact_Clave, usu_Clave from tArticuloKardex "
                          "where KAR_ORIGEN like 'INVENTARIO-%' order by art_Clave, alma_Clave")),
             (QStringList{"EXI||S|-4|4.5|INVENTARIO-2026-1|SYS|INV-2026-1|ANA",
                          "LIB||E|2|10|INVENTARIO-2026-1|SYS|INV-2026-1|ANA",
                          "LOT|L2|S|-1|7|INVENTARIO-2026-1|SYS|INV-2026-1|ANA",
                          "SER|S3|E|1|1500|INVENTARIO-2026-1|SYS|INV-2026-1|ANA"}));
    MDR_VERIFICA_INVARIANTES(c);
    // Closed: neither processed again nor concluded twice.
    QVERIFY(!t.inventario.procesa());
    p.clear();
    QVERIFY(!t.inventario.concluye());
    QCOMPARE(
        filas(c, QStringLiteral("select count(*) from tArticuloKardex where KAR_ORIGEN like 'INVENTARIO-%'")),
        QStringList{QStringLiteral("4")});
}

void tst_InventarioFisico::concluyeTodoONada()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Tienda t(c, settingsFile());
    ScriptedPrompter &p = t.prompter();
    QVERIFY(t.abre(QStringLiteral("PARCIAL"), 1));
    t.capturaTodo({"LIB||12", "EXI||1", "LOT|L2|1", "SER|S3|1"});
    QVERIFY(t.inventario.procesa());
    const QStringList antes = filasExistencia(c);
    const QString kardex = QStringLiteral("select kar_Clave from tArticuloKardex order by kar_Clave");
    const QStringList kardexAntes = filas(c, kardex);

    int fallas = 0;
    for (int n = 1; n < 400; ++n) {
        qint64 vistas = 0;
        c.setStatementHook([&vistas, n](const QString &) {
            if (++vistas == n)
                throw db::DbError(99, QStringLiteral("falla de prueba"), QStringLiteral("prueba"));
        });
        p.clear();
        p.answers.clear();
        p.answers << true;
        const bool ok = t.inventario.concluye();
        c.setStatementHook({});
        if (ok)
            break;
        ++fallas;
        QCOMPARE(p.shown.last().icon, Prompter::Icon::Critical);
        QVERIFY2(p.shown.last().details.contains(QStringLiteral("falla de prueba")),
                 qPrintable(p.shown.last().details));
        QCOMPARE(filasExistencia(c), antes);
        QCOMPARE(filas(c, kardex), kardexAntes);
        QCOMPARE(t.inventario.estado(), QStringLiteral("PROCESADO"));
        MDR_VERIFICA_INVARIANTES(c);
    }
    // Every statement of the four stock calls and the closing was made to fail once.
    QVERIFY2(fallas >= 6, qPrintable(QString::number(fallas)));
    QCOMPARE(t.inventario.estado(), QStringLiteral("CERRADO"));
    QCOMPARE(filas(c, kardex).size(), kardexAntes.size() + 4);
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_InventarioFisico::elimina()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Tienda t(c, settingsFile());
    ScriptedPrompter &p = t.prompter();
    QVERIFY(t.abre(QStringLiteral("TOTAL"), 1));
    t.captura(QStringLiteral("LIB||3"));
    QVERIFY(t.inventario.procesa());
    QVERIFY(!t.ajustes().isEmpty());
    p.clear();
    p.answers << false;
    QVERIFY(!t.inventario.elimina());
    QCOMPARE(p.texts(), QStringList{QStringLiteral("Esta seguro de eliminar el inventario 2026-1")});
    QVERIFY(!t.conteos().isEmpty());
    p.answers << true;
    QVERIFY(t.inventario.elimina());
    for (const char *tabla : {"tInventario", "tInventarioArticulo", "tInventarioAjuste"})
        QCOMPARE(c.scalar(QStringLiteral("select count(*) from ") + QLatin1String(tabla)).toInt(), 0);
    QVERIFY(!t.inventario.abierto());
    // Row deletion in the grid asks first.
    QVERIFY(t.abre(QStringLiteral("PARCIAL"), 1));
    t.captura(QStringLiteral("LIB||3"));
    p.clear();
    p.answers << false << true;
    QVERIFY(!t.inventario.eliminaArticulo(QStringLiteral("LIB"), {}));
    QVERIFY(t.inventario.eliminaArticulo(QStringLiteral("LIB"), {}));
    QCOMPARE(p.texts(), (QStringList{"Desea eliminar el articulo LIB", "Desea eliminar el articulo LIB"}));
    QVERIFY(t.conteos().isEmpty());
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_InventarioFisico::editaConteo_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<int>("conteo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("fila");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("numero")) << 2 << " 7.5 "
                                                          << ""
                                                          << "LIB||4|7.5|0";
        TestDatabase::newRow(e, QStringLiteral("tercer conteo")) << 3 << "1"
                                                                 << ""
                                                                 << "LIB||4|0|1";
        TestDatabase::newRow(e, QStringLiteral("texto")) << 1 << "siete"
                                                         << "Debe capturar un numero"
                                                         << "LIB||4|0|0";
        TestDatabase::newRow(e, QStringLiteral("vacio")) << 1 << ""
                                                         << "Debe capturar un numero"
                                                         << "LIB||4|0|0";
        TestDatabase::newRow(e, QStringLiteral("negativo")) << 1 << "-2"
                                                            << "No se admiten existencias negativas"
                                                            << "LIB||4|0|0";
    }
}

void tst_InventarioFisico::editaConteo()
{
    QFETCH(QString, engine);
    QFETCH(int, conteo);
    QFETCH(QString, texto);
    QFETCH(QString, mensaje);
    QFETCH(QString, fila);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    QVERIFY(t.abre(QStringLiteral("PARCIAL"), 3));
    QCOMPARE(t.captura(QStringLiteral("LIB||4")), InventarioFisico::Captura::Capturado);
    t.prompter().clear();
    QCOMPARE(t.inventario.fijaConteo(QStringLiteral("LIB"), {}, conteo, texto), mensaje.isEmpty());
    QCOMPARE(t.prompter().texts(), mensaje.isEmpty() ? QStringList{} : QStringList{mensaje});
    QCOMPARE(t.conteos(), QStringList{fila});
}

void tst_InventarioFisico::cargaArchivo_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QList<bool>>("respuestas"); // to "Ya existen articulos registrados ..."
    QTest::addColumn<QStringList>("reporte");
    QTest::addColumn<QStringList>("conteos");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("separadores"))
            << QByteArray("LIB 3\r\nEXI,2\nLIB;1.5\n\n  EXI\t1  \n") << QList<bool>{} << QStringList{}
            << QStringList{"EXI||3|0|0", "LIB||4.5|0|0"};
        TestDatabase::newRow(e, QStringLiteral("lineas no entendidas"))
            << QByteArray("LIB 3\nLIB\nLIB tres\nLIB 1 2\nZZZ 4\nNIN 1\nEXI -1\nSER 1\nLOT 2\n")
            << QList<bool>{}
            << QStringList{"Linea 2: no se entiende \"LIB\"",
                           "Linea 3: no se entiende \"LIB tres\"",
                           "Linea 4: no se entiende \"LIB 1 2\"",
                           "Linea 5: Articulo no existe : ZZZ",
                           "Linea 6: No es posible inventariar articulos sin control de inventario  ( "
                           "CONTROL DE "
                           "INVENTARIO = <NINGUNO> )",
                           "Linea 7: No se admiten existencias negativas",
                           "Linea 8: Capture la serie",
                           "Linea 9: Requiere capturar el Lote"}
            << QStringList{"LIB||3|0|0"};
        TestDatabase::newRow(e, QStringLiteral("cero se toma sin preguntar"))
            << QByteArray("EXI 0\n") << QList<bool>{} << QStringList{} << QStringList{"EXI||0|0|0"};
        TestDatabase::newRow(e, QStringLiteral("reemplaza lo capturado"))
            << QByteArray("EXI 2\n") << QList<bool>{true} << QStringList{} << QStringList{"EXI||2|0|0"};
        TestDatabase::newRow(e, QStringLiteral("suma a lo capturado"))
            << QByteArray("LIB 2\n") << QList<bool>{false} << QStringList{} << QStringList{"LIB||9|0|0"};
    }
}

void tst_InventarioFisico::cargaArchivo()
{
    QFETCH(QString, engine);
    QFETCH(QByteArray, contenido);
    QFETCH(QList<bool>, respuestas);
    QFETCH(QStringList, reporte);
    QFETCH(QStringList, conteos);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Tienda t(db.connection(), settingsFile());
    QVERIFY(t.abre(QStringLiteral("PARCIAL"), 1));
    if (!respuestas.isEmpty())
        QCOMPARE(t.captura(QStringLiteral("LIB||7")), InventarioFisico::Captura::Capturado);
    const QString ruta = m_dir.filePath(QStringLiteral("conteo.txt"));
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenido);
    f.close();
    t.prompter().clear();
    for (bool r : respuestas)
        t.prompter().answers << r;
    QStringList visto;
    QVERIFY(t.inventario.cargaArchivo(ruta, visto));
    QCOMPARE(visto, reporte);
    QCOMPARE(t.conteos(), conteos);
    QVERIFY(t.prompter().drained());
    // Refusals go to the report, never to message boxes.
    QCOMPARE(t.prompter().shown.size(), respuestas.size());
}

QTEST_GUILESS_MAIN(tst_InventarioFisico)
#include "tst_inventario_fisico.moc"
