// The price rows of an article: the client type's price for every control kind with its
// messages, offers in force to the last second, the price typed at the sale screen and the
// normal row, each writer whole or not at all, on both engines.
#include "PrecioFixture.h"
#include "PreciosArticulo.h"

#include <QTest>

namespace {

const QDateTime kMediodia(QDate(2026, 12, 6), QTime(12, 0));

// Article A1: cost 60 today; its rows were written when the cost was 50.
void articulo(db::Connection &c, const char *familia = "ANALG")
{
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, tart_Clave, fam_Clave, cambio_Clave, "
                             "art_Costo, art_Importe, art_Descuento, art_SubTotal, art_Margen, art_Utilidad, art_IVAPorc, "
                             "art_IVA, art_Total) values ('A1', 'PARACETAMOL 500 MG', 'FARM', ?, 'PUBLICO', 60, 100, 10, "
                             "90, 30, 50, 16, 14.4, 104.4)"),
              {familia ? QVariant(QLatin1String(familia)) : QVariant(QMetaType(QMetaType::QString))});
    const QString fila = QStringLiteral(
        "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, cambio_Clave, art_Costo, precio_Importe, "
        "precio_Descuento, precio_SubTotal, precio_Margen, precio_Utilidad, precio_IVAPorc, precio_IVA, precio_Total, "
        "PRECIO_FECINI, PRECIO_FECFIN, precio_Cantidad, precio_Vendidas) values ('A1', ?, ?, 'PUBLICO', 50, ?, ?, 0, 0, 0, "
        "16, 0, 0, ?, ?, ?, ?)");
    const QVariant sinFecha{QMetaType(QMetaType::QDateTime)};
    c.execute(fila, {"NORMAL", 1, 100, 10, kMediodia.addDays(-30), sinFecha, 0, 0});
    c.execute(fila, {"LISTA", 1, 95, 0, sinFecha, sinFecha, 1, 0});
    c.execute(fila, {"LISTA", 2, 80, 0, sinFecha, sinFecha, 12, 0});
    // Offer 1 ends today; offer 2 ended yesterday; offer 3 (list 3's) has its units sold.
    c.execute(fila, {"OFERTA", 1, 70, 0, QDateTime(QDate(2026, 12, 1), QTime(0, 0)),
                     QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59)), 10, 4});
    c.execute(fila, {"OFERTA", 2, 50, 0, QDateTime(QDate(2026, 11, 1), QTime(0, 0)),
                     QDateTime(QDate(2026, 12, 5), QTime(23, 59, 59)), 10, 0});
    c.execute(fila, {"OFERTA", 3, 40, 0, QDateTime(QDate(2026, 12, 1), QTime(0, 0)),
                     QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), 5, 5});
}

struct Fotografia {
    QVariantList articulo, precios;
    bool operator==(const Fotografia &) const = default;
};

Fotografia fotografia(db::Connection &c)
{
    Fotografia f;
    db::Recordset a = c.openRecordset(QStringLiteral(
        "select art_Importe, art_Descuento, art_SubTotal, art_Margen, art_Utilidad, art_IVAPorc, art_IVA, art_Total "
        "from tArticulo where art_Clave = 'A1'"));
    for (int i = 0; i < a.fieldCount(); ++i)
        f.articulo << a.decimal(a.fieldName(i)).toString();
    for (db::Recordset p = c.openRecordset(QStringLiteral(
             "select tprecio_Clave, precio_Clave, precio_Importe, precio_Total from tArticuloPrecio where art_Clave = 'A1' "
             "order by tprecio_Clave, precio_Clave"));
         !p.eof(); p.moveNext())
        f.precios << QString(p.text(QStringLiteral("tprecio_Clave")) + p.decimal(QStringLiteral("precio_Importe")).toString() +
                         u'/' + p.decimal(QStringLiteral("precio_Total")).toString());
    return f;
}

} // namespace

class tst_PreciosArticulo : public QObject {
    Q_OBJECT
private slots:
    void precioCliente_data();
    void precioCliente();
    void relojDelServidor_data() { TestDatabase::addEngineRows(); }
    void relojDelServidor();
    void concepto_data();
    void concepto();
    void rechazos_data();
    void rechazos();
    void precioVenta_data();
    void precioVenta();
    void escritoresCompletosONada_data() { TestDatabase::addEngineRows(); }
    void escritoresCompletosONada();
};

void tst_PreciosArticulo::precioCliente_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<QDateTime>("momento");
    QTest::addColumn<QString>("cantidad");
    QTest::addColumn<QString>("tipoPrecio");
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("publico");
    QTest::addColumn<QString>("margen"); // against today's cost 60
    for (const QString &e : TestDatabase::engines()) {
        const QDateTime ultimo(QDate(2026, 12, 6), QTime(23, 59, 59));
        TestDatabase::newRow(e, "articulo: la oferta vigente") << "SYS" << "TODO" << kMediodia << "0" << "OFERTA" << 1
                                                              << "70" << "10";
        TestDatabase::newRow(e, "oferta hasta el ultimo segundo") << "SYS" << "" << ultimo << "0" << "OFERTA" << 1
                                                                  << "70" << "10";
        TestDatabase::newRow(e, "un segundo despues: normal") << "SYS" << "" << ultimo.addSecs(1) << "0" << "NORMAL" << 1
                                                              << "100" << "30";
        TestDatabase::newRow(e, "antes de empezar: normal")
            << "SYS" << "" << QDateTime(QDate(2026, 10, 31), QTime(23, 59, 59)) << "0" << "NORMAL" << 1 << "100" << "30";
        TestDatabase::newRow(e, "quedan 6 piezas, se piden 6") << "SYS" << "" << kMediodia << "6" << "OFERTA" << 1
                                                               << "70" << "10";
        TestDatabase::newRow(e, "quedan 6 piezas, se piden 7") << "SYS" << "" << kMediodia << "7" << "NORMAL" << 1
                                                               << "100" << "30";
        TestDatabase::newRow(e, "sin oferta") << "SYS" << "SINOFERTA" << kMediodia << "0" << "NORMAL" << 1 << "100"
                                              << "30";
        TestDatabase::newRow(e, "solo normal") << "SYS" << "NORMAL" << kMediodia << "0" << "NORMAL" << 1 << "100"
                                               << "30";
        TestDatabase::newRow(e, "solo oferta") << "SYS" << "OFERTA" << kMediodia << "0" << "OFERTA" << 1 << "70"
                                               << "10";
        TestDatabase::newRow(e, "lista 2") << "LISTA2" << "" << kMediodia << "0" << "LISTA" << 2 << "80" << "20";
        TestDatabase::newRow(e, "lista 1 con su oferta") << "LISTA1" << "" << kMediodia << "0" << "OFERTA" << 1 << "70"
                                                         << "10";
        TestDatabase::newRow(e, "lista 1 sin ofertas") << "LISTA1" << "SINOFERTA" << kMediodia << "0" << "LISTA" << 1
                                                       << "95" << "35";
        TestDatabase::newRow(e, "lista 3: su oferta agotada") << "LISTA3" << "" << kMediodia << "0" << "" << 0 << ""
                                                              << "";
    }
}

void tst_PreciosArticulo::precioCliente()
{
    QFETCH(QString, engine);
    QFETCH(QString, tipo);
    QFETCH(QString, filtro);
    QFETCH(QDateTime, momento);
    QFETCH(QString, cantidad);
    QFETCH(QString, tipoPrecio);
    QFETCH(int, numero);
    QFETCH(QString, publico);
    QFETCH(QString, margen);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    catalogosDePrecio(db.connection());
    articulo(db.connection());
    db.connection().execute(QStringLiteral("insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, "
                                           "precio_Importe) values ('A1', 'LISTA', 3, 77)"));
    PrecioStation st(&db.connection());
    PreciosArticulo precios(st.provider, st.prompter, st.calculo);
    precios.setReloj([momento] { return momento; });

    const auto r = precios.obtenPrecioCliente(QStringLiteral("A1"), tipo, filtro, Decimal(cantidad));
    QVERIFY(r.has_value());
    if (tipoPrecio.isEmpty()) {
        QCOMPARE(r->tipoPrecio, QStringLiteral("LISTA")); // list 3's own row: its offer is used up
        QCOMPARE(r->precio.publico, Decimal(77));
        return;
    }
    QCOMPARE(r->tipoPrecio, tipoPrecio);
    QCOMPARE(r->numero, numero);
    QCOMPARE(r->precio.publico, Decimal(publico));
    QCOMPARE(r->precio.costo, Decimal(60));
    QCOMPARE(r->precio.margen, Decimal(margen));
    QCOMPARE(r->precio.total, r->precio.subTotal * Decimal("1.16"));
    QCOMPARE(r->metodo, QStringLiteral("PUBLICO"));
    QCOMPARE(st.prompter.texts(), QStringList());
}

void tst_PreciosArticulo::relojDelServidor()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    catalogosDePrecio(c);
    articulo(c);
    // Offer 1 runs from yesterday to tomorrow by the server's clock; the others are over.
    const QDateTime ahora = c.scalar(QStringLiteral("select getdate()")).toDateTime();
    c.execute(QStringLiteral("update tArticuloPrecio set PRECIO_FECINI = ?, PRECIO_FECFIN = ? where tprecio_Clave = "
                             "'OFERTA' and precio_Clave = 1"),
              {ahora.addDays(-1), ahora.addDays(1)});
    c.execute(QStringLiteral("update tArticuloPrecio set PRECIO_FECFIN = ? where tprecio_Clave = 'OFERTA' and "
                             "precio_Clave > 1"),
              {ahora.addDays(-1)});
    PrecioStation st(&c);
    PreciosArticulo precios(st.provider, st.prompter, st.calculo);
    auto r = precios.obtenPrecioCliente(QStringLiteral("A1"), QStringLiteral("SYS"));
    QVERIFY(r.has_value());
    QCOMPARE(r->tipoPrecio, QStringLiteral("OFERTA"));
    QCOMPARE(r->ofertaDisponible, Decimal(6));
    c.execute(QStringLiteral("update tArticuloPrecio set PRECIO_FECINI = ? where tprecio_Clave = 'OFERTA'"),
              {ahora.addSecs(3600)});
    r = precios.obtenPrecioCliente(QStringLiteral("A1"), QStringLiteral("SYS"));
    QVERIFY(r.has_value());
    QCOMPARE(r->tipoPrecio, QStringLiteral("NORMAL"));
}

void tst_PreciosArticulo::concepto_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("metodo");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("publico");
    QTest::addColumn<QString>("descuento");
    QTest::addColumn<QString>("subTotal");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "departamento: descuento") << "DEPARTAMENTO" << "PUBLICO" << "20" << "100" << "20" << "80";
        TestDatabase::newRow(e, "departamento: utilidad") << "DEPARTAMENTO" << "UTILIDAD" << "25" << "75" << "0" << "75";
        TestDatabase::newRow(e, "departamento: margen") << "DEPARTAMENTO" << "MARGEN" << "15" << "75" << "0" << "75";
        TestDatabase::newRow(e, "departamento: precio fijo") << "DEPARTAMENTO" << "FIJO" << "120" << "120" << "10"
                                                             << "108";
        TestDatabase::newRow(e, "familia: financiero") << "FAMILIA" << "FINANCIERO" << "25" << "100" << "25" << "75";
    }
}

void tst_PreciosArticulo::concepto()
{
    QFETCH(QString, engine);
    QFETCH(QString, control);
    QFETCH(QString, metodo);
    QFETCH(QString, valor);
    QFETCH(QString, publico);
    QFETCH(QString, descuento);
    QFETCH(QString, subTotal);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    catalogosDePrecio(db.connection());
    articulo(db.connection());
    const QString tipo = control == QLatin1String("FAMILIA") ? QStringLiteral("FAMI") : QStringLiteral("DEPTO");
    db.connection().execute(QStringLiteral("insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, "
                                           "cambio_Clave, tcc_Valor) values (?, ?, ?, ?, ?)"),
                            {control, tipo, control == QLatin1String("FAMILIA") ? "ANALG" : "FARM", metodo, valor});
    PrecioStation st(&db.connection());
    PreciosArticulo precios(st.provider, st.prompter, st.calculo);
    precios.setReloj([] { return kMediodia; });

    // Without offers: the concept's price.
    auto r = precios.obtenPrecioCliente(QStringLiteral("A1"), tipo, QStringLiteral("SINOFERTA"));
    QVERIFY(r.has_value());
    QCOMPARE(r->precio.publico, Decimal(publico));
    QCOMPARE(r->precio.descuento, Decimal(descuento));
    QCOMPARE(r->precio.subTotal, Decimal(subTotal));
    QCOMPARE(r->precio.margen, Decimal(subTotal) - Decimal(60));
    QCOMPARE(r->tipoPrecio, QString());
    // An offer in force still wins over the concept.
    r = precios.obtenPrecioCliente(QStringLiteral("A1"), tipo);
    QVERIFY(r.has_value());
    QCOMPARE(r->tipoPrecio, QStringLiteral("OFERTA"));
    QCOMPARE(r->precio.publico, Decimal(70));
}

void tst_PreciosArticulo::rechazos_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("articulo");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<bool>("sinFamilia");
    QTest::addColumn<QString>("mensaje");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "articulo inexistente") << "ZZ" << "DEPTO" << false << "El articulo no existe";
        TestDatabase::newRow(e, "tipo de cliente inexistente")
            << "A1" << "NADIE" << false << "No existe informacion del tipo de cliente";
        TestDatabase::newRow(e, "departamento sin concepto")
            << "A1" << "DEPTO" << false
            << "El Articulo A1 - PARACETAMOL 500 MG y los articulos del departamento FARM no estan habilitados para "
               "ser vendidos a este cliente";
        TestDatabase::newRow(e, "familia sin concepto")
            << "A1" << "FAMI" << false
            << "El Articulo A1 - PARACETAMOL 500 MG y los articulos del Familia ANALG no estan habilitados para ser "
               "vendidos a este cliente";
        TestDatabase::newRow(e, "articulo sin familia") << "A1" << "FAMI" << true << "El articulo A1 no tiene Familia";
        TestDatabase::newRow(e, "lista no catalogada")
            << "A1" << "LISTA3" << false << "El articulo no esta catalogado para la lista 3";
    }
}

void tst_PreciosArticulo::rechazos()
{
    QFETCH(QString, engine);
    QFETCH(QString, articulo);
    QFETCH(QString, tipo);
    QFETCH(bool, sinFamilia);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    catalogosDePrecio(db.connection());
    ::articulo(db.connection(), sinFamilia ? nullptr : "ANALG");
    PrecioStation st(&db.connection());
    PreciosArticulo precios(st.provider, st.prompter, st.calculo);
    precios.setReloj([] { return kMediodia; });
    QVERIFY(!precios.obtenPrecioCliente(articulo, tipo).has_value());
    QCOMPARE(st.prompter.texts(), QStringList{mensaje});
}

void tst_PreciosArticulo::precioVenta_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("costo");
    QTest::addColumn<QString>("descuento");
    QTest::addColumn<QStringList>("esperado"); // subtotal, margin, utility, tax, total
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "con costo") << "60" << "10" << QStringList{"90", "30", "50", "14.4", "104.4"};
        TestDatabase::newRow(e, "costo cero: margen y utilidad quedan")
            << "0" << "10" << QStringList{"90", "1", "2", "14.4", "104.4"};
        TestDatabase::newRow(e, "descuento total: sin impuesto")
            << "60" << "100" << QStringList{"0", "-60", "-100", "0", "0"};
    }
}

void tst_PreciosArticulo::precioVenta()
{
    QFETCH(QString, engine);
    QFETCH(QString, costo);
    QFETCH(QString, descuento);
    QFETCH(QStringList, esperado);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    catalogosDePrecio(c);
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, art_Costo, art_Margen, art_Utilidad, art_IVA, "
                             "cambio_Clave) values ('A1', 'X', ?, 1, 2, 9, 'PUBLICO')"),
              {costo});
    PrecioStation st(&db.connection());
    PreciosArticulo precios(st.provider, st.prompter, st.calculo);
    QVERIFY2(precios.guardaPrecioVenta(QStringLiteral("A1"), Decimal(100), Decimal(descuento), Decimal(16)),
             qPrintable(st.prompter.texts().join(u'|') + (st.prompter.shown.isEmpty() ? QString() : st.prompter.shown.last().details)));
    db::Recordset a = c.openRecordset(QStringLiteral("select * from tArticulo where art_Clave = 'A1'"));
    QCOMPARE(a.decimal(QStringLiteral("art_Importe")), Decimal(100));
    QCOMPARE(a.decimal(QStringLiteral("art_IVAPorc")), Decimal(16));
    const char *columnas[] = {"art_SubTotal", "art_Margen", "art_Utilidad", "art_IVA", "art_Total"};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(a.decimal(QLatin1String(columnas[i])), Decimal(esperado.at(i)));
    // The normal row copies the article.
    db::Recordset n = c.openRecordset(QStringLiteral("select * from tArticuloPrecio where art_Clave = 'A1'"));
    QCOMPARE(n.recordCount(), 1);
    QCOMPARE(n.text(QStringLiteral("tprecio_Clave")), QStringLiteral("NORMAL"));
    QCOMPARE(n.integer(QStringLiteral("precio_Clave")), 1);
    QCOMPARE(n.decimal(QStringLiteral("precio_Total")), Decimal(esperado.at(4)));
    QCOMPARE(n.decimal(QStringLiteral("precio_Margen")), Decimal(esperado.at(1)));
    QCOMPARE(n.text(QStringLiteral("cambio_Clave")), QStringLiteral("PUBLICO"));
    QVERIFY(n.dateTime(QStringLiteral("PRECIO_FECINI")).isValid());
    QVERIFY(n.isNull(QStringLiteral("PRECIO_FECFIN")));
}

void tst_PreciosArticulo::escritoresCompletosONada()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    catalogosDePrecio(c);
    articulo(c);
    PrecioStation st(&c);
    PreciosArticulo precios(st.provider, st.prompter, st.calculo);
    for (const bool venta : {true, false}) {
        if (!venta) // a normal row that no longer matches the article
            c.execute(QStringLiteral("update tArticuloPrecio set precio_Importe = 1 where tprecio_Clave = 'NORMAL'"));
        const Fotografia antes = fotografia(c);
        for (int n = 1;; ++n) {
            QVERIFY(n < 50);
            int cuenta = 0;
            c.setStatementHook([&](const QString &sql) {
                if (!sql.startsWith(QLatin1String("select"), Qt::CaseInsensitive) && ++cuenta == n)
                    throw db::DbError(9999, QStringLiteral("falla simulada"), QStringLiteral("prueba"));
            });
            const bool ok = venta ? precios.guardaPrecioVenta(QStringLiteral("A1"), Decimal(130), Decimal(0), Decimal(16))
                                  : precios.actualizaPrecioNormal(QStringLiteral("A1"));
            c.setStatementHook({});
            if (ok) {
                QVERIFY2(n > 2, "every writer has more than one statement");
                break;
            }
            QCOMPARE(fotografia(c), antes);
            QVERIFY(!st.prompter.texts().isEmpty());
            st.prompter.clear();
        }
        QVERIFY(fotografia(c) != antes);
    }
}

QTEST_GUILESS_MAIN(tst_PreciosArticulo)
#include "tst_precios_articulo.moc"
