// The one stock call: entries, exits, lots and serials, packs, containers and assemblies, the
// kardex it writes, and that it is all or nothing, alone or inside the caller's transaction.
#include "ArticulosExistencia.h"
#include "EstacionPrueba.h"
#include "Existencias.h"
#include "InvariantesExistencia.h"
#include "TestDatabase.h"

#include "Log.h"
#include "Transaction.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "warehouse|article|lot|quantity|E or S|flags", flags a subset of "SAE": S breaks packs,
// A fills containers, E explodes assemblies.
struct Llamada {
    QString almacen, articulo, lote, tipo, banderas;
    Decimal cantidad;
};

Llamada lee(const QString &texto)
{
    const QStringList p = texto.split(u'|');
    return {p[0], p[1], p[2], p[4], p.value(5), Decimal(p[3])};
}

} // namespace

class tst_Existencias : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void reglas_data();
    void reglas();
    void kardexDeUnaCajaAbierta_data() { TestDatabase::addEngineRows(); }
    void kardexDeUnaCajaAbierta();
    void kardexDeUnaAcumulacion_data() { TestDatabase::addEngineRows(); }
    void kardexDeUnaAcumulacion();
    void dentroDeLaTransaccionDelDocumento_data() { TestDatabase::addEngineRows(); }
    void dentroDeLaTransaccionDelDocumento();
    void conexionDelLlamador_data() { TestDatabase::addEngineRows(); }
    void conexionDelLlamador();
    void todoONadaSiFallaUnaSentencia_data();
    void todoONadaSiFallaUnaSentencia();
    void validaLoteSerie_data();
    void validaLoteSerie();
    void fallaORechazo_data();
    void fallaORechazo();
    void esRechazo_data();
    void esRechazo();
    void invariantesDetectanDescuadres_data();
    void invariantesDetectanDescuadres();

private:
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("Mostrador.ini")); }
    bool llama(Existencias &e, const QString &texto, db::Connection *c = nullptr)
    {
        const Llamada l = lee(texto);
        return e.actualizaArticuloAlmacen(l.almacen, l.articulo, l.lote, l.cantidad, l.tipo,
                                          QStringLiteral("PRUEBA-1"), QStringLiteral("PROV1"),
                                          QStringLiteral("F-1"), Decimal(3), l.banderas.contains(u'S'),
                                          l.banderas.contains(u'A'), l.banderas.contains(u'E'), c);
    }
    QTemporaryDir m_dir;
};

void tst_Existencias::reglas_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QStringList>("llamadas");
    QTest::addColumn<QString>("error");     // of the last call; empty when all succeed
    QTest::addColumn<QStringList>("filas"); // every stock row afterwards
    const struct {
        const char *nombre;
        QStringList llamadas;
        const char *error;
        QStringList filas;
    } casos[] = {
        {"la entrada crea la fila", {"A1|LIB||5|E"}, "", {"A1|LIB|=5"}},
        {"una salida libre puede dejar negativo", {"A1|LIB||3|S"}, "", {"A1|LIB|=-3"}},
        {"control vacio cuenta como libre", {"A1|VAC||2|S"}, "", {"A1|VAC|=-2"}},
        {"cada almacen su fila",
         {"A1|LIB||5|E", "A2|LIB||7|E", "A1|LIB||2|S"},
         "",
         {"A1|LIB|=3", "A2|LIB|=7"}},
        {"cantidades con decimales", {"A1|LIB||1.5|E", "A1|LIB||0.25|S"}, "", {"A1|LIB|=1.25"}},
        {"EXISTENCIA rechaza salir de mas",
         {"A1|EXI||2|E", "A1|EXI||3|S"},
         "No tiene existencia suficiente Existencia actual: 2 Requerida 3",
         {"A1|EXI|=2"}},
        {"EXISTENCIA sin fila rechaza", {"A1|EXI||1|S"}, "No tiene existencia suficiente", {}},
        {"EXISTENCIA no toma de otro almacen",
         {"A2|EXI||5|E", "A1|EXI||1|S"},
         "No tiene existencia suficiente",
         {"A2|EXI|=5"}},
        {"EXISTENCIA sale exacta", {"A1|EXI||2|E", "A1|EXI||2|S"}, "", {"A1|EXI|=0"}},
        {"lote sin capturar", {"A1|LOT||1|E"}, "Requiere capturar el Lote", {}},
        {"lote que no existe", {"A1|LOT|L1|1|E", "A1|LOT|L9|1|S"}, "El Lote no existe", {"A1|LOT|L1=1"}},
        {"lote sin existencia suficiente",
         {"A1|LOT|L1|2|E", "A1|LOT|L1|3|S"},
         "El Lote no tiene existencia suficiente",
         {"A1|LOT|L1=2"}},
        {"cada lote su fila",
         {"A1|LOT|L1|2|E", "A1|LOT|L2|3|E", "A1|LOT|L2|1|S"},
         "",
         {"A1|LOT|L1=2", "A1|LOT|L2=2"}},
        {"serie sin capturar", {"A1|SER||1|E"}, "Capture la serie", {}},
        {"serie con cantidad distinta de uno", {"A1|SER|S1|2|E"}, "La cantidad solo puede ser uno", {}},
        {"salida de serie con cantidad distinta de uno",
         {"A1|SER|S1|1|E", "A1|SER|S1|0.5|S"},
         "La cantidad solo puede ser uno",
         {"A1|SER|S1=1"}},
        {"serie repetida", {"A1|SER|S1|1|E", "A1|SER|S1|1|E"}, "La Serie ya existe", {"A1|SER|S1=1"}},
        {"serie vendida y devuelta",
         {"A1|SER|S1|1|E", "A1|SER|S1|1|S", "A1|SER|S1|1|E"},
         "",
         {"A1|SER|S1=1"}},
        {"serie ya vendida",
         {"A1|SER|S1|1|E", "A1|SER|S1|1|S", "A1|SER|S1|1|S"},
         "La Serie no esta disponible",
         {"A1|SER|S1=0"}},
        {"serie que no existe", {"A1|SER|S9|1|S"}, "La serie no existe", {}},
        {"abre una caja", {"A1|CAJA||2|E", "A1|PZA||1|S|SAE"}, "", {"A1|CAJA|=1", "A1|PZA|=9"}},
        {"sin la bandera no abre cajas",
         {"A1|CAJA||2|E", "A1|PZA||1|S"},
         "No tiene existencia suficiente",
         {"A1|CAJA|=2"}},
        {"las piezas sueltas salen primero",
         {"A1|CAJA||1|E", "A1|PZA||3|E", "A1|PZA||2|S|S"},
         "",
         {"A1|CAJA|=1", "A1|PZA|=1"}},
        {"abre solo las cajas que faltan",
         {"A1|CAJA||3|E", "A1|PZA||5|E", "A1|PZA||23|S|S"},
         "",
         {"A1|CAJA|=1", "A1|PZA|=2"}},
        {"cajas insuficientes: no abre ninguna",
         {"A1|CAJA||1|E", "A1|PZA||15|S|S"},
         "No tiene existencia suficiente Existencia actual: 10 Requerida 15",
         {"A1|CAJA|=1"}},
        {"no abre cajas de otro almacen",
         {"A2|CAJA||1|E", "A1|PZA||1|S|S"},
         "No tiene existencia suficiente",
         {"A2|CAJA|=1"}},
        {"las piezas llenan cajas", {"A1|PZA||25|E|A"}, "", {"A1|CAJA|=2", "A1|PZA|=5"}},
        {"las piezas completan una caja", {"A1|PZA||4|E", "A1|PZA||6|E|A"}, "", {"A1|CAJA|=1", "A1|PZA|=0"}},
        {"sin la bandera no llena cajas", {"A1|PZA||25|E|SE"}, "", {"A1|PZA|=25"}},
        {"la salida no llena cajas", {"A1|PZA||25|E", "A1|PZA||3|S|A"}, "", {"A1|PZA|=22"}},
        {"ensamble armado sale de su existencia", {"A1|KIT||1|E", "A1|KIT||1|S|E"}, "", {"A1|KIT|=0"}},
        {"ensamble sin armar sale de sus componentes",
         {"A1|EXI||5|E", "A1|KIT||2|S|E"},
         "",
         {"A1|EXI|=3", "A1|LIB|=-4"}},
        {"ensamble mitad armado",
         {"A1|KIT||1|E", "A1|EXI||5|E", "A1|KIT||3|S|E"},
         "",
         {"A1|EXI|=3", "A1|KIT|=0", "A1|LIB|=-4"}},
        {"componente sin existencia: no sale nada", {"A1|KIT||1|S|E"}, "No tiene existencia suficiente", {}},
        {"ensamble sin la bandera", {"A1|KIT||1|S|SA"}, "", {"A1|KIT|=-1"}},
        {"la entrada de un ensamble es del ensamble", {"A1|KIT||2|E|SAE"}, "", {"A1|KIT|=2"}},
        {"cantidad cero", {"A1|LIB||0|E"}, "La cantidad debe ser mayor que cero", {}},
        {"cantidad negativa", {"A1|LIB||-1|S"}, "La cantidad debe ser mayor que cero", {}},
        {"tipo desconocido", {"A1|LIB||1|X"}, "El tipo de movimiento debe ser E o S", {}},
        {"sin almacen", {"|LIB||1|E"}, "Falta el almacen", {}},
        {"articulo que no existe", {"A1|NOPE||1|E"}, "El articulo NOPE no existe", {}},
    };
    for (const QString &e : TestDatabase::engines())
        for (const auto &c : casos)
            TestDatabase::newRow(e, c.nombre) << c.llamadas << QString::fromUtf8(c.error) << c.filas;
}

void tst_Existencias::reglas()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, llamadas);
    QFETCH(QString, error);
    QFETCH(QStringList, filas);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    EstacionPrueba s(&c, settingsFile());
    Existencias existencias(s.provider, s.config, s.prompter);

    for (qsizetype i = 0; i < llamadas.size(); ++i) {
        const bool ultima = i == llamadas.size() - 1;
        const QStringList antes = filasExistencia(c);
        const QVariant kardexAntes = c.scalar(QStringLiteral("select count(*) from tArticuloKardex"));
        const bool ok = llama(existencias, llamadas[i]);
        if (ultima && !error.isEmpty()) {
            QVERIFY2(!ok, qPrintable(llamadas[i]));
            QVERIFY2(existencias.ultimoError().contains(error), qPrintable(existencias.ultimoError()));
            // refused: nothing of it stays
            QCOMPARE(filasExistencia(c), antes);
            QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloKardex")), kardexAntes);
        } else {
            QVERIFY2(ok, qPrintable(llamadas[i] + u' ' + existencias.ultimoError()));
        }
        MDR_VERIFICA_INVARIANTES(c);
    }
    QCOMPARE(filasExistencia(c), filas);
    QVERIFY(s.prompter.shown.isEmpty()); // the call itself never shows anything
}

// Selling one piece when no loose pieces remain: the box leaves, ten pieces enter, one leaves;
// every row carries the call's origin, supplier, invoice and user.
void tst_Existencias::kardexDeUnaCajaAbierta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    EstacionPrueba s(&c, settingsFile());
    s.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("CAJERO"));
    Existencias e(s.provider, s.config, s.prompter);
    QVERIFY(e.actualizaArticuloAlmacen(QStringLiteral("A1"), QStringLiteral("CAJA"), {}, Decimal(2),
                                       QStringLiteral("E"), QStringLiteral("RECEPCION-A1-7"),
                                       QStringLiteral("P9"), QStringLiteral("FAC-77"), Decimal("85.5"), true,
                                       true, true));
    QCOMPARE(e.existencia(), Decimal(2));
    QVERIFY(e.actualizaArticuloAlmacen(QStringLiteral("A1"), QStringLiteral("PZA"), {}, Decimal(1),
                                       QStringLiteral("S"), QStringLiteral("VENTA-15"), {}, {},
                                       Decimal("12.25"), true, true, true));
    QCOMPARE(e.existencia(), Decimal(9));
    QCOMPARE(
        filas(c,
              QStringLiteral(
                  "select ALM_CLAVE, art_Clave, tkar_Clave, alma_Clave, kar_Cantidad, art_Costo, KAR_ORIGEN, "
                  "prov_Clave, fact_Clave, alma_Existencia, usu_Clave from tArticuloKardex order by "
                  "kar_Clave")),
        (QStringList{"A1|CAJA|E||2|85.5|RECEPCION-A1-7|P9|FAC-77|2|CAJERO",
                     "A1|CAJA|SEPARA-S||-1|90|VENTA-15|||1|CAJERO",
                     "A1|PZA|SEPARA-E||10|9.5|VENTA-15|||10|CAJERO",
                     "A1|PZA|S||-1|12.25|VENTA-15|||9|CAJERO"}));
    QCOMPARE(
        c.scalar(QStringLiteral(
                     "select count(*) from tArticuloKardex where kar_Anio = ? and kar_Fecha is not null"),
                 {QDate::currentDate().year()})
            .toInt(),
        4);
    // every kind written is named
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloKardex k left join tTipoKardex t "
                                     "on t.tkar_Clave = k.tkar_Clave where t.tkar_Nombre is null"))
                 .toInt(),
             0);
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_Existencias::kardexDeUnaAcumulacion()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    EstacionPrueba s(&c, settingsFile());
    Existencias e(s.provider, s.config, s.prompter);
    QVERIFY(e.actualizaArticuloAlmacen(QStringLiteral("A1"), QStringLiteral("PZA"), QStringLiteral("L1"),
                                       Decimal(23), QStringLiteral("E"), QStringLiteral("DEVOLUCION-T-3"), {},
                                       {}, Decimal(9), false, true, false));
    QCOMPARE(e.existencia(), Decimal(3));
    QCOMPARE(
        filas(c, QStringLiteral("select art_Clave, tkar_Clave, alma_Clave, kar_Cantidad, alma_Existencia "
                                "from tArticuloKardex order by kar_Clave")),
        (QStringList{"PZA|E|L1|23|23", "PZA|ACUMULA-S|L1|-20|3", "CAJA|ACUMULA-E|L1|2|2"}));
    MDR_VERIFICA_INVARIANTES(c);
}

// Inside a document's transaction: the call is a savepoint; a refused call leaves the document's
// earlier calls in place, and the document's rollback takes everything back.
void tst_Existencias::dentroDeLaTransaccionDelDocumento()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    EstacionPrueba s(&c, settingsFile());
    Existencias e(s.provider, s.config, s.prompter);
    {
        db::Transaction tx(c);
        QVERIFY(llama(e, QStringLiteral("A1|EXI||2|E")));
        QVERIFY(!llama(e, QStringLiteral("A1|EXI||5|S")));
        QVERIFY(llama(e, QStringLiteral("A1|EXI||1|S")));
        tx.commit();
    }
    QCOMPARE(filasExistencia(c), QStringList{"A1|EXI|=1"});
    MDR_VERIFICA_INVARIANTES(c);
    {
        db::Transaction tx(c);
        QVERIFY(llama(e, QStringLiteral("A1|CAJA||1|E")));
        QVERIFY(llama(e, QStringLiteral("A1|PZA||3|S|S")));
        tx.rollback();
    }
    QCOMPARE(filasExistencia(c), QStringList{"A1|EXI|=1"});
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloKardex")).toInt(), 2);
    MDR_VERIFICA_INVARIANTES(c);
}

// A caller that holds another connection (a branch, a second session) passes it: the call runs
// there, not on the program's connection.
void tst_Existencias::conexionDelLlamador()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    EstacionPrueba s(&c, settingsFile());
    Existencias e(s.provider, s.config, s.prompter);
    std::unique_ptr<db::Connection> otra = db.openAnother();
    otra->begin();
    QVERIFY(llama(e, QStringLiteral("A1|LIB||4|E"), otra.get()));
    otra->rollback();
    QCOMPARE(filasExistencia(c), QStringList());
    QVERIFY(llama(e, QStringLiteral("A1|LIB||4|E"), otra.get()));
    QCOMPARE(filasExistencia(c), QStringList{"A1|LIB|=4"});
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_Existencias::todoONadaSiFallaUnaSentencia_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("llamada");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "abre cajas") << QStringLiteral("A1|PZA||12|S|SAE");
        TestDatabase::newRow(e, "llena cajas") << QStringLiteral("A1|PZA||28|E|SAE");
        TestDatabase::newRow(e, "ensamble por componentes") << QStringLiteral("A1|KIT||3|S|SAE");
    }
}

// The Nth statement of the call fails, for every N until the call goes through: each failure
// leaves stock and kardex exactly as before.
void tst_Existencias::todoONadaSiFallaUnaSentencia()
{
    QFETCH(QString, engine);
    QFETCH(QString, llamada);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    EstacionPrueba s(&c, settingsFile());
    Existencias e(s.provider, s.config, s.prompter);
    QVERIFY(llama(e, QStringLiteral("A1|CAJA||3|E")));
    QVERIFY(llama(e, QStringLiteral("A1|PZA||5|E")));
    QVERIFY(llama(e, QStringLiteral("A1|EXI||5|E")));
    QVERIFY(llama(e, QStringLiteral("A1|KIT||1|E")));
    const QStringList antes = filasExistencia(c);
    const QStringList kardexAntes = filas(c, QStringLiteral("select kar_Clave from tArticuloKardex"));

    int fallas = 0;
    for (int n = 1; n < 200; ++n) {
        qint64 vistas = 0;
        c.setStatementHook([&vistas, n](const QString &) {
            if (++vistas == n)
                throw db::DbError(99, QStringLiteral("falla de prueba"), QStringLiteral("prueba"));
        });
        const bool ok = llama(e, llamada);
        c.setStatementHook({});
        if (ok)
            break;
        ++fallas;
        // the database text is the detail, never the message
        QVERIFY2(e.ultimoDetalle().contains(QStringLiteral("falla de prueba")), qPrintable(e.ultimoDetalle()));
        QVERIFY2(e.ultimoError().startsWith(QStringLiteral("No fue posible actualizar la existencia del articulo ")),
                 qPrintable(e.ultimoError()));
        QCOMPARE(filasExistencia(c), antes);
        QCOMPARE(filas(c, QStringLiteral("select kar_Clave from tArticuloKardex")), kardexAntes);
        MDR_VERIFICA_INVARIANTES(c);
    }
    QVERIFY(fallas >= 1);
    QVERIFY(filasExistencia(c) != antes);
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_Existencias::validaLoteSerie_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<int>("icono");
    const int ninguno = -1;
    const int aviso = int(Prompter::Icon::Exclamation);
    const int info = int(Prompter::Icon::Information);
    QTest::newRow("NINGUNO vacio") << ""
                                   << "NINGUNO" << true << "" << ninguno;
    QTest::newRow("control vacio") << ""
                                   << "" << true << "" << ninguno;
    QTest::newRow("LIBRE vacio") << ""
                                 << "LIBRE" << true << "" << ninguno;
    QTest::newRow("EXISTENCIA vacio") << ""
                                      << "EXISTENCIA" << true << "" << ninguno;
    QTest::newRow("LOTE vacio") << ""
                                << "LOTE" << false << "Requiere capturar el Lote" << aviso;
    QTest::newRow("LOTE en blanco") << "   "
                                    << "LOTE" << false << "Requiere capturar el Lote" << aviso;
    QTest::newRow("LOTE capturado") << "L-001"
                                    << "LOTE" << true << "" << ninguno;
    QTest::newRow("SERIE vacia") << ""
                                 << "SERIE" << false << "Capture la serie" << info;
    QTest::newRow("SERIE capturada") << "SN123"
                                     << "SERIE" << true << "" << ninguno;
}

void tst_Existencias::validaLoteSerie()
{
    QFETCH(QString, texto);
    QFETCH(QString, control);
    QFETCH(bool, valido);
    QFETCH(QString, mensaje);
    QFETCH(int, icono);
    FixedConnectionProvider provider(nullptr);
    ScriptedPrompter prompter;
    SettingsStore settings(settingsFile());
    cConfigure config(provider, settings, prompter);
    Existencias e(provider, config, prompter);

    QCOMPARE(e.validaLoteSerie(texto, control, false), valido);
    QVERIFY(prompter.shown.isEmpty());
    QCOMPARE(e.validaLoteSerie(texto, control, true), valido);
    if (mensaje.isEmpty()) {
        QVERIFY(prompter.shown.isEmpty());
    } else {
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text, mensaje);
        QCOMPARE(int(prompter.shown[0].icon), icono);
    }
}

void tst_Existencias::fallaORechazo_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QStringList>("previas"); // calls that succeed first
    QTest::addColumn<QString>("llamada");
    QTest::addColumn<bool>("fallaLaBase");    // the first statement of the call fails
    QTest::addColumn<QString>("error");       // ultimoError(): exact for a failure, contained for a refusal
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "falla de la base en una entrada")
            << QStringList() << QStringLiteral("A1|LIB||1|E") << true
            << QStringLiteral("No fue posible actualizar la existencia del articulo LIB");
        TestDatabase::newRow(e, "falla de la base en una salida de lote")
            << QStringList{QStringLiteral("A1|LOT|L1|3|E")} << QStringLiteral("A1|LOT|L1|1|S") << true
            << QStringLiteral("No fue posible actualizar la existencia del articulo LOT");
        TestDatabase::newRow(e, "existencia insuficiente es rechazo")
            << QStringList{QStringLiteral("A1|EXI||2|E")} << QStringLiteral("A1|EXI||3|S") << false
            << QStringLiteral("El producto EXI - Articulo EXI No tiene existencia suficiente Existencia actual: 2 "
                              "Requerida 3");
        TestDatabase::newRow(e, "lote requerido es rechazo")
            << QStringList() << QStringLiteral("A1|LOT||1|E") << false
            << QStringLiteral("Requiere capturar el Lote");
        TestDatabase::newRow(e, "articulo inexistente es rechazo")
            << QStringList() << QStringLiteral("A1|NOPE||1|E") << false
            << QStringLiteral("El articulo NOPE no existe");
    }
}

// A refusal keeps the routine's own sentence; a database failure reads as a plain sentence with
// the database text apart (and in the log), and a later good call clears both.
void tst_Existencias::fallaORechazo()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, previas);
    QFETCH(QString, llamada);
    QFETCH(bool, fallaLaBase);
    QFETCH(QString, error);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    QTemporaryDir logs;
    QVERIFY(logs.isValid());
    const QString dirLog = logs.path();
    Log::setDirectoryProvider([dirLog] { return dirLog; });
    const auto restaura = qScopeGuard([] { Log::setDirectoryProvider({}); });
    EstacionPrueba s(&c, settingsFile());
    Existencias e(s.provider, s.config, s.prompter);
    for (const QString &p : previas)
        QVERIFY2(llama(e, p), qPrintable(e.ultimoError()));
    const QStringList antes = filasExistencia(c);

    if (fallaLaBase)
        c.setStatementHook([](const QString &) {
            throw db::DbError(99, QStringLiteral("falla de prueba"), QStringLiteral("prueba"));
        });
    const bool ok = llama(e, llamada);
    c.setStatementHook({});
    QVERIFY(!ok);
    QCOMPARE(filasExistencia(c), antes);
    QVERIFY(s.prompter.shown.isEmpty());
    QFile log(QDir(dirLog).filePath(Log::fileNameFor(QDate::currentDate())));
    const QString textoLog = log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    if (fallaLaBase) {
        QCOMPARE(e.ultimoError(), error);
        QVERIFY2(e.ultimoDetalle().contains(QStringLiteral("falla de prueba")), qPrintable(e.ultimoDetalle()));
        QVERIFY2(textoLog.contains(error) && textoLog.contains(QStringLiteral("falla de prueba")),
                 qPrintable(textoLog));
    } else {
        QVERIFY2(e.ultimoError().contains(error), qPrintable(e.ultimoError()));
        QVERIFY(e.ultimoDetalle().isEmpty());
        QVERIFY2(textoLog.isEmpty(), qPrintable(textoLog));
    }
    QVERIFY(llama(e, QStringLiteral("A1|LIB||1|E")));
    QVERIFY(e.ultimoError().isEmpty());
    QVERIFY(e.ultimoDetalle().isEmpty());
}

void tst_Existencias::esRechazo_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("rechazo");
    QTest::newRow("rechazo de SQLite") << "El Lote no existe (LOT L9)" << true;
    QTest::newRow("rechazo de PostgreSQL con contexto")
        << "ERROR:  La Serie no esta disponible (SER S1)\nCONTEXT:  PL/pgSQL function "
           "mdr_existencia_salida(...) line 70 at RAISE"
        << true;
    QTest::newRow("existencia insuficiente")
        << "El producto EXI - Articulo EXI No tiene existencia suficiente Existencia actual: 0 Requerida 1"
        << true;
    QTest::newRow("cantidad") << "La cantidad debe ser mayor que cero" << true;
    QTest::newRow("conexion perdida") << "server closed the connection unexpectedly" << false;
    QTest::newRow("bloqueo") << "ERROR:  could not serialize access due to concurrent update" << false;
    QTest::newRow("llave duplicada")
        << "ERROR:  duplicate key value violates unique constraint \"tarticuloalmacen_pkey\"" << false;
    QTest::newRow("texto de rechazo a media frase")
        << "no se pudo: El Lote no existe" << false;
    QTest::newRow("vacio") << "" << false;
}

void tst_Existencias::esRechazo()
{
    QFETCH(QString, texto);
    QFETCH(bool, rechazo);
    QCOMPARE(Existencias::esRechazo(texto), rechazo);
}

void tst_Existencias::invariantesDetectanDescuadres_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("descuadre");
    QTest::addColumn<QString>("aviso");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "existencia sin su kardex")
            << QStringLiteral("update tArticuloAlmacen set alma_Existencia = 4 where art_Clave = 'PZA'")
            << QStringLiteral("A1|PZA|: existencia 4, kardex 9");
        TestDatabase::newRow(e, "total del articulo")
            << QStringLiteral("update tArticulo set art_Existencia = 0 where art_Clave = 'CAJA'")
            << QStringLiteral("CAJA: art_Existencia 0");
        TestDatabase::newRow(e, "existencia posterior")
            << QStringLiteral("update tArticuloKardex set alma_Existencia = 7 where tkar_Clave = 'SEPARA-E'")
            << QStringLiteral("existencia posterior 7, suma 10");
        TestDatabase::newRow(e, "kardex sin fila")
            << QStringLiteral("delete from tArticuloAlmacen where art_Clave = 'PZA'")
            << QStringLiteral("kardex sin fila de existencia: A1|PZA|");
    }
}

// The check the other stock tests rely on does catch each kind of mismatch.
void tst_Existencias::invariantesDetectanDescuadres()
{
    QFETCH(QString, engine);
    QFETCH(QString, descuadre);
    QFETCH(QString, aviso);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    EstacionPrueba s(&c, settingsFile());
    Existencias e(s.provider, s.config, s.prompter);
    QVERIFY(llama(e, QStringLiteral("A1|CAJA||2|E")));
    QVERIFY(llama(e, QStringLiteral("A1|PZA||1|S|S")));
    QCOMPARE(invariantesExistencia(c), QString());
    c.execute(descuadre);
    QVERIFY2(invariantesExistencia(c).contains(aviso), qPrintable(invariantesExistencia(c)));
}

QTEST_GUILESS_MAIN(tst_Existencias)
#include "tst_existencias.moc"
