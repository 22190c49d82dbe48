// The lots and serials of an article in a warehouse and the checks of a captured one: the
// picker's exit checks, a serial entering, and the component lines of an assembly with their
// typed quantities.
#include "ArticulosExistencia.h"
#include "EstacionPrueba.h"
#include "Existencias.h"
#include "InvariantesExistencia.h"
#include "LoteSerie.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A1: LOT L1 5, L2 2; SER S1 in stock, S2 sold (row at 0); EXI 3. A2: LOT L3 4.
void preparaExistencias(db::Connection &c, Existencias &e)
{
    creaArticulosExistencia(c);
    c.execute(
        QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Uno'), ('A2', 'Dos')"));
    const auto mueve = [&e](const char *alm, const char *art, const char *lote, const char *cant,
                            const char *tipo) {
        QVERIFY(e.actualizaArticuloAlmacen(QString::fromLatin1(alm), QString::fromLatin1(art),
                                           QString::fromLatin1(lote), Decimal(cant),
                                           QString::fromLatin1(tipo), QStringLiteral("PRUEBA"), QString(),
                                           QString(), Decimal(1), false, false, false));
    };
    mueve("A1", "LOT", "L1", "5", "E");
    mueve("A1", "LOT", "L2", "2", "E");
    mueve("A1", "SER", "S1", "1", "E");
    mueve("A1", "SER", "S2", "1", "E");
    mueve("A1", "SER", "S2", "1", "S");
    mueve("A1", "EXI", "", "3", "E");
    mueve("A2", "LOT", "L3", "4", "E");
}

} // namespace

class tst_LoteSerie : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void valida_data();
    void valida();
    void lista_data() { TestDatabase::addEngineRows(); }
    void lista();

private:
    QTemporaryDir m_dir;
};

void tst_LoteSerie::valida_data()
{
    TestDatabase::addEngineColumn();
    // salida: the picker on an exit; entrada: a serial entering; comp-S / comp-E: a component line
    // leaving (assembly) or entering (dismantling), quantity as typed.
    QTest::addColumn<QString>("prueba");
    QTest::addColumn<QString>("almacen");
    QTest::addColumn<QString>("articulo");
    QTest::addColumn<QString>("lote");
    QTest::addColumn<QString>("cantidad");
    QTest::addColumn<QString>("mensaje"); // empty: accepted, nothing shown
    QTest::addColumn<QString>("leida");   // component lines: the quantity read
    const struct {
        const char *nombre, *prueba, *almacen, *articulo, *lote, *cantidad, *mensaje, *leida;
    } casos[] = {
        {"lote inexistente", "salida", "A1", "LOT", "L9", "1", "El Lote no existe", ""},
        {"lote de otro almacen", "salida", "A1", "LOT", "L3", "1", "El Lote no existe", ""},
        {"lote corto", "salida", "A1", "LOT", "L2", "3", "El Lote no tiene existencia suficiente", ""},
        {"lote justo", "salida", "A1", "LOT", "L1", "5", "", ""},
        {"lote con espacios", "salida", "A1", "LOT", " L1 ", "1", "", ""},
        {"serie inexistente", "salida", "A1", "SER", "S9", "1", "La serie no existe", ""},
        {"serie vendida", "salida", "A1", "SER", "S2", "1", "La Serie no esta disponible", ""},
        {"serie disponible", "salida", "A1", "SER", "S1", "1", "", ""},
        {"articulo sin lotes", "salida", "A1", "EXI", "", "99", "", ""},
        {"serie que entra ya existe", "entrada", "A1", "SER", "S1", "1", "La Serie ya existe", ""},
        {"serie vendida vuelve a entrar", "entrada", "A1", "SER", "S2", "1", "", ""},
        {"serie nueva", "entrada", "A1", "SER", "S7", "1", "", ""},
        {"lote que entra ya existe", "entrada", "A1", "LOT", "L1", "1", "", ""},
        {"componente corto", "comp-S", "A1", "EXI", "", "5", "Existencia 3 Requerida 5", ""},
        {"componente en decimales", "comp-S", "A1", "EXI", "", "3.5", "Existencia 3 Requerida 3.5", ""},
        {"componente justo", "comp-S", "A1", "EXI", "", "2.5", "", "2.5"},
        {"componente libre sin existencia", "comp-S", "A1", "LIB", "", "100", "", "100"},
        {"componente serie de dos", "comp-S", "A1", "SER", "S1", "2", "La cantidad solo puede ser uno", ""},
        {"componente serie de cero", "comp-E", "A1", "SER", "S7", "0", "La cantidad solo puede ser uno", ""},
        {"componente serie que sale", "comp-S", "A1", "SER", "S1", "1", "", "1"},
        {"componente serie vendida", "comp-S", "A1", "SER", "S2", "1", "La Serie no esta disponible", ""},
        {"componente serie inexistente", "comp-S", "A1", "SER", "S9", "1", "La serie no existe", ""},
        {"componente serie que entra ya existe", "comp-E", "A1", "SER", "S1", "1", "La Serie ya existe", ""},
        {"componente serie que entra", "comp-E", "A1", "SER", "S8", "1", "", "1"},
        {"componente lote corto", "comp-S", "A1", "LOT", "L2", "3", "El Lote no tiene existencia suficiente",
         ""},
        {"componente lote inexistente", "comp-S", "A1", "LOT", "L9", "1", "El Lote no existe", ""},
        {"componente lote sin capturar", "comp-S", "A1", "LOT", "", "1", "", "1"},
        {"componente que entra sin existencia", "comp-E", "A1", "EXI", "", "50", "", "50"},
        {"componente no numerico", "comp-S", "A1", "LIB", "", "dos", "Debe ingresar un numero", ""},
        {"componente vacio", "comp-S", "A1", "LIB", "", "", "Debe ingresar un numero", ""},
        {"componente con coma", "comp-S", "A1", "LIB", "", "1,5", "Debe ingresar un numero", ""},
    };
    for (const QString &e : TestDatabase::engines())
        for (const auto &k : casos)
            TestDatabase::newRow(e, k.nombre)
                << QString::fromLatin1(k.prueba) << QString::fromLatin1(k.almacen)
                << QString::fromLatin1(k.articulo) << QString::fromLatin1(k.lote)
                << QString::fromLatin1(k.cantidad) << QString::fromLatin1(k.mensaje)
                << QString::fromLatin1(k.leida);
}

void tst_LoteSerie::valida()
{
    QFETCH(QString, engine);
    QFETCH(QString, prueba);
    QFETCH(QString, almacen);
    QFETCH(QString, articulo);
    QFETCH(QString, lote);
    QFETCH(QString, cantidad);
    QFETCH(QString, mensaje);
    QFETCH(QString, leida);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba s(&c, m_dir.filePath(QStringLiteral("Mostrador.ini")));
    Existencias e(s.provider, s.config, s.prompter);
    preparaExistencias(c, e);
    const QStringList antes = filas(c, QStringLiteral("select * from tArticuloAlmacen order by 1, 2, 3"));
    LoteSerie l(s.provider, s.prompter);
    bool ok = false;
    Decimal q(-1);
    if (prueba == QLatin1String("salida"))
        ok = l.validaSalida(almacen, articulo, lote, Decimal(cantidad));
    else if (prueba == QLatin1String("entrada"))
        ok = l.validaEntrada(almacen, articulo, lote);
    else
        ok = l.validaComponente(almacen, articulo, lote, cantidad, prueba == QLatin1String("comp-S"), &q);
    QCOMPARE(ok, mensaje.isEmpty());
    QCOMPARE(s.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    if (!mensaje.isEmpty())
        QCOMPARE(s.prompter.shown.last().icon, Prompter::Icon::Exclamation);
    if (!leida.isEmpty())
        QCOMPARE(q, Decimal(leida));
    // A check moves nothing.
    QCOMPARE(filas(c, QStringLiteral("select * from tArticuloAlmacen order by 1, 2, 3")), antes);
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_LoteSerie::lista()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba s(&c, m_dir.filePath(QStringLiteral("Mostrador.ini")));
    Existencias e(s.provider, s.config, s.prompter);
    preparaExistencias(c, e);
    LoteSerie l(s.provider, s.prompter);
    const auto texto = [](const QList<LoteSerie::Fila> &filas) {
        QStringList out;
        for (const LoteSerie::Fila &f : filas)
            out << f.lote + u'=' + f.existencia.toString();
        return out;
    };
    QCOMPARE(texto(l.lista(QStringLiteral("A1"), QStringLiteral("LOT"))), (QStringList{"L1=5", "L2=2"}));
    QCOMPARE(texto(l.lista(QStringLiteral("A2"), QStringLiteral("LOT"))), QStringList{"L3=4"});
    // A sold serial is no longer offered; an article without lots lists nothing.
    QCOMPARE(texto(l.lista(QStringLiteral("A1"), QStringLiteral("SER"))), QStringList{"S1=1"});
    QCOMPARE(texto(l.lista(QStringLiteral("A1"), QStringLiteral("EXI"))), QStringList{});
    QCOMPARE(l.control(QStringLiteral("VAC")), QStringLiteral("LIBRE"));
    QCOMPARE(l.control(QStringLiteral("SER")), QStringLiteral("SERIE"));
    QCOMPARE(l.control(QStringLiteral("NADA")), QString());
    Decimal hay;
    QVERIFY(l.existencia(QStringLiteral("A1"), QStringLiteral("SER"), QStringLiteral("S2"), &hay));
    QCOMPARE(hay, Decimal());
    QVERIFY(!l.existencia(QStringLiteral("A1"), QStringLiteral("SER"), QStringLiteral("S9"), &hay));
    QVERIFY(s.prompter.shown.isEmpty());
}

QTEST_GUILESS_MAIN(tst_LoteSerie)
#include "tst_lote_serie.moc"
