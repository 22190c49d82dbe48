// The checks of a line (stock, cost, maximum discount) with and without the rights, the offer
// limit and its split, the preconditions of paying and the card commission.
#include "VentaFixture.h"

#include <QTest>

namespace {

QString lineasTexto(const QList<LineaVenta> &lineas)
{
    QStringList out;
    for (const LineaVenta &l : lineas)
        out << l.clave + u':' + l.tipoPrecio + u':' + l.cantidad.toString() + u':' + l.precio.toString();
    return out.join(u'|');
}

} // namespace

class tst_VentaCapturaValidacion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void validaciones_data();
    void validaciones();
    void oferta_data();
    void oferta();
    void ofertaAcumulada_data() { TestDatabase::addEngineRows(); }
    void ofertaAcumulada();
    void ofertaDeSuFila_data() { TestDatabase::addEngineRows(); }
    void ofertaDeSuFila();
    void pago_data() { TestDatabase::addEngineRows(); }
    void pago();
    void pagoValidaDeNuevo_data() { TestDatabase::addEngineRows(); }
    void pagoValidaDeNuevo();
    void comision_data();
    void comision();
};

void tst_VentaCapturaValidacion::validaciones_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("articulo");
    QTest::addColumn<QString>("cantidad");
    QTest::addColumn<QString>("precio");
    QTest::addColumn<QString>("descuento");
    QTest::addColumn<QString>("lote");
    QTest::addColumn<QStringList>("claves"); // configuration switches turned on
    QTest::addColumn<QString>("derecho");    // frmVenta_ right held, or none
    QTest::addColumn<QString>("respuestas"); // S/N for each question, in order
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<bool>("aceptado");
    const QStringList ninguna;
    const QStringList limitaEx{"LIMITAR_VENTAS_SIN_EXISTENCIA"};
    const QStringList avisaEx{"AVISO_VENTAS_SIN_EXISTENCIA"};
    const QStringList limitaCo{"LIMITAR_VENTAS_ABAJO_DEL_COSTO"};
    const QStringList avisaCo{"AVISO_VENTAS_ABAJO_DEL_COSTO"};
    const QStringList maxDe{"VENTA-DESCUENTO-MAXIMO"};
    const QStringList avisoDe{"VENTA-DESCUENTO-MAXIMO-AVISO"};
    const QString exi6 =
        "Para el producto EXI-Articulo EXI la existencia es de: 5 No se pueden surtir : 6 articulo(s)";
    const QString costoBajo = "Para el producto P100-Articulo P100 el costo es de : 50.00";
    for (const QString &e : TestDatabase::engines()) {
        // Stock: 'EXISTENCIA' is always compared; 'LIBRE' only when limited or warned.
        TestDatabase::newRow(e, "existencia alcanza") << "EXI"
                                                      << "5"
                                                      << "20"
                                                      << "0"
                                                      << "" << ninguna << ""
                                                      << "" << QStringList() << true;
        TestDatabase::newRow(e, "existencia falta") << "EXI"
                                                    << "6"
                                                    << "20"
                                                    << "0"
                                                    << "" << ninguna << ""
                                                    << "" << QStringList{exi6} << false;
        TestDatabase::newRow(e, "existencia falta con derecho si")
            << "EXI"
            << "6"
            << "20"
            << "0"
            << "" << ninguna << "VentaSinExistencia"
            << "S" << QStringList{exi6 + ", desea continuar con la venta"} << true;
        TestDatabase::newRow(e, "existencia falta con derecho no")
            << "EXI"
            << "6"
            << "20"
            << "0"
            << "" << ninguna << "VentaSinExistencia"
            << "N" << QStringList{exi6 + ", desea continuar con la venta"} << false;
        TestDatabase::newRow(e, "sin filas")
            << "PZA"
            << "1"
            << "20"
            << "0"
            << "" << ninguna << ""
            << ""
            << QStringList{"Para el producto PZA-Articulo PZA No hay existencias "
                           "registradas  No se pueden surtir : 1 articulo(s)"}
            << false;
        TestDatabase::newRow(e, "sin filas con derecho")
            << "PZA"
            << "1"
            << "20"
            << "0"
            << "" << ninguna << "VentaSinExistencia"
            << "S" << QStringList{"No hay existencias registradas, desea continuar con la venta"} << true;
        TestDatabase::newRow(e, "libre sin limite") << "LIB"
                                                    << "9"
                                                    << "20"
                                                    << "0"
                                                    << "" << ninguna << ""
                                                    << "" << QStringList() << true;
        TestDatabase::newRow(e, "libre limitado")
            << "LIB"
            << "9"
            << "20"
            << "0"
            << "" << limitaEx << ""
            << ""
            << QStringList{"Para el producto LIB-Articulo LIB la existencia es de: 4 No se pueden surtir : 9 "
                           "articulo(s)"}
            << false;
        TestDatabase::newRow(e, "libre aviso")
            << "LIB"
            << "9"
            << "20"
            << "0"
            << "" << avisaEx << ""
            << "S"
            << QStringList{"No hay existencias registradas para el artículo LIB desea continuar con la venta"}
            << true;
        TestDatabase::newRow(e, "lote sin existencia")
            << "LOT"
            << "1"
            << "20"
            << "0"
            << "L9" << ninguna << ""
            << "" << QStringList{"Para el producto LOT - Articulo LOT Lote L9 no hay existencia registrada"}
            << false;
        TestDatabase::newRow(e, "lote alcanza") << "LOT"
                                                << "3"
                                                << "20"
                                                << "0"
                                                << "L1" << ninguna << ""
                                                << "" << QStringList() << true;
        TestDatabase::newRow(e, "ensamble por componentes")
            << "KIT"
            << "3"
            << "20"
            << "0"
            << "" << limitaEx << ""
            << ""
            << QStringList{"Para el producto LIB-Articulo LIB la existencia es de: 4 No se pueden surtir : 6 "
                           "articulo(s)"}
            << false;
        TestDatabase::newRow(e, "ensamble alcanza") << "KIT"
                                                    << "2"
                                                    << "20"
                                                    << "0"
                                                    << "" << limitaEx << ""
                                                    << "" << QStringList() << true;
        // Cost: the price after the discount, without tax, against art_Costo.
        TestDatabase::newRow(e, "costo limitado")
            << "P100"
            << "1"
            << "40"
            << "0"
            << "" << limitaCo << ""
            << "" << QStringList{costoBajo + " No se puede vender a : 40.00 por estar abajo del costo"}
            << false;
        TestDatabase::newRow(e, "costo con descuento")
            << "P100"
            << "1"
            << "60"
            << "20"
            << "" << limitaCo << ""
            << "" << QStringList{costoBajo + " No se puede vender a : 48.00 por estar abajo del costo"}
            << false;
        TestDatabase::newRow(e, "costo alcanza") << "P100"
                                                 << "1"
                                                 << "60"
                                                 << "10"
                                                 << "" << limitaCo << ""
                                                 << "" << QStringList() << true;
        TestDatabase::newRow(e, "costo con derecho si")
            << "P100"
            << "1"
            << "40"
            << "0"
            << "" << limitaCo << "VentaAbajoCosto"
            << "S"
            << QStringList{costoBajo + " y el Precio de venta es de: 40.00 por lo que esta abajo del "
                                       "costoDesea continuar"}
            << true;
        TestDatabase::newRow(e, "costo con derecho no")
            << "P100"
            << "1"
            << "40"
            << "0"
            << "" << limitaCo << "VentaAbajoCosto"
            << "N"
            << QStringList{costoBajo + " y el Precio de venta es de: 40.00 por lo que esta abajo del "
                                       "costoDesea continuar"}
            << false;
        TestDatabase::newRow(e, "costo aviso articulo NO")
            << "P100"
            << "1"
            << "40"
            << "0"
            << "" << avisaCo << ""
            << "S"
            << QStringList{costoBajo +
                           " y el Precio de venta es de: 40.00 por lo que esta abajo del costoDesea "
                           "continuar y vender abajo del costo"}
            << true;
        TestDatabase::newRow(e, "costo aviso articulo SI") << "GRA"
                                                           << "1"
                                                           << "4"
                                                           << "0"
                                                           << "" << avisaCo << ""
                                                           << "" << QStringList() << true;
        // Maximum discount 15.
        TestDatabase::newRow(e, "descuento excede")
            << "P100"
            << "1"
            << "100"
            << "20"
            << "" << maxDe << ""
            << ""
            << QStringList{"Para el producto P100-Articulo P100 el descuento : 20 Supera al maximo permitido "
                           ": 15"}
            << false;
        TestDatabase::newRow(e, "descuento ilimitado si")
            << "P100"
            << "1"
            << "100"
            << "20"
            << "" << maxDe << "DescuentoIlimitado"
            << "S"
            << QStringList{"Para el producto P100-Articulo P100 el descuento es de : 20 y maximo permitido "
                           "para la "
                           "venta es de : 15Desea continuar"}
            << true;
        TestDatabase::newRow(e, "descuento tope") << "P100"
                                                  << "1"
                                                  << "100"
                                                  << "15"
                                                  << "" << maxDe << ""
                                                  << "" << QStringList() << true;
        TestDatabase::newRow(e, "descuento solo aviso no")
            << "P100"
            << "1"
            << "100"
            << "20"
            << "" << avisoDe << ""
            << "N"
            << QStringList{"Para el producto P100-Articulo P100 el descuento es de : 20 y maximo permitido "
                           "para la "
                           "venta es de : 15Desea continuar"}
            << false;
    }
}

void tst_VentaCapturaValidacion::validaciones()
{
    QFETCH(QString, engine);
    QFETCH(QString, articulo);
    QFETCH(QString, cantidad);
    QFETCH(QString, precio);
    QFETCH(QString, descuento);
    QFETCH(QString, lote);
    QFETCH(QStringList, claves);
    QFETCH(QString, derecho);
    QFETCH(QString, respuestas);
    QFETCH(QStringList, mensajes);
    QFETCH(bool, aceptado);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    db.connection().execute(
        QStringLiteral("update tArticulo set art_VenderAbajoDelCosto = 'NO' where art_Clave = 'P100'"));
    PuestoVenta p(&db.connection(), derecho.isEmpty() ? QStringList() : QStringList{derecho});
    for (const QString &k : claves)
        QVERIFY(p.config.setValue(k, true));
    p.config.setValue(QStringLiteral("VENTA-DESCUENTO-MAXIMO-VALOR"), 15);
    for (QChar r : respuestas)
        p.prompter.answers.enqueue(r == u'S');
    p.captura.iniciaVenta();
    VentaCaptura::Captura cap =
        PuestoVenta::campos(articulo, cantidad, precio, descuento, QStringLiteral("16"));
    cap.loteSerie = lote;

    QCOMPARE(p.captura.cmdAgregar(cap), aceptado);
    QCOMPARE(p.prompter.texts(), mensajes);
    QVERIFY(p.prompter.drained());
    QCOMPARE(p.captura.lineas().size(), aceptado ? 1 : 0);
    QCOMPARE(p.captura.totales().articulos, aceptado ? Decimal(cantidad) : Decimal());
    // validaDescuento is also called on its own (by the payment window's callers).
    if (claves == QStringList{"VENTA-DESCUENTO-MAXIMO"} && derecho.isEmpty()) {
        p.prompter.clear();
        QVERIFY(!p.captura.validaDescuento(QStringLiteral("X"), QStringLiteral("Y"), Decimal("15.5")));
        QCOMPARE(p.prompter.last(),
                 QStringLiteral("Para el producto X-Y el descuento : 15.5 Supera al maximo permitido : 15"));
    }
}

void tst_VentaCapturaValidacion::oferta_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("vende");
    QTest::addColumn<bool>("aviso");
    QTest::addColumn<QString>("respuestas");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<QString>("lineas");
    const QString inicio =
        "La cantidad de piezas en oferta que desea vender del articulo OFE ( Articulo OFE ) excede el "
        "numero de piezas ofertadas ";
    const QString pregunta = inicio + "[ 2 ] Desea vender a precio normal las excendentes < 3 >";
    const QString rechazo = inicio + "( 2 )";
    const QString dividido = "OFE:OFERTA:2:80|OFE:NORMAL:3:100";
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "divide preguntando")
            << true << true << "S" << QStringList{pregunta} << dividido;
        TestDatabase::newRow(e, "divide sin preguntar") << true << false << "" << QStringList() << dividido;
        TestDatabase::newRow(e, "no acepta dividir")
            << true << true << "N" << QStringList{pregunta, rechazo} << "";
        TestDatabase::newRow(e, "sin venta normal") << false << true << "" << QStringList{rechazo} << "";
    }
}

void tst_VentaCapturaValidacion::oferta()
{
    QFETCH(QString, engine);
    QFETCH(bool, vende);
    QFETCH(bool, aviso);
    QFETCH(QString, respuestas);
    QFETCH(QStringList, mensajes);
    QFETCH(QString, lineas);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    p.config.setValue(QStringLiteral("VENDE-NORMAL-EN-INSUFICIENTE-OFERTA"), vende);
    p.config.setValue(QStringLiteral("AVISO-VENDE-NORMAL-EN-INSUFICIENTE-OFERTA"), aviso);
    for (QChar r : respuestas)
        p.prompter.answers.enqueue(r == u'S');
    p.captura.iniciaVenta();
    auto cap = p.captura.buscaArticulo(QStringLiteral("OFE"));
    QVERIFY(cap);
    cap->cantidad = QStringLiteral("5");

    QCOMPARE(p.captura.cmdAgregar(*cap), !lineas.isEmpty());
    QCOMPARE(p.prompter.texts(), mensajes);
    QCOMPARE(lineasTexto(p.captura.lineas()), lineas);
    if (!lineas.isEmpty()) {
        QCOMPARE(p.captura.totales().importe, Decimal(460));
        QCOMPARE(p.captura.lineas().last().renglon, 2);
    }
}

void tst_VentaCapturaValidacion::ofertaAcumulada()
{
    // The units asked are those of every offer line of the article, not only the new one.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    p.config.setValue(QStringLiteral("VENDE-NORMAL-EN-INSUFICIENTE-OFERTA"), true);
    p.config.setValue(QStringLiteral("AVISO-VENDE-NORMAL-EN-INSUFICIENTE-OFERTA"), false);
    p.captura.iniciaVenta();
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("GRA", "1", "10", "0", "0")));
    auto cap = p.captura.buscaArticulo(QStringLiteral("OFE"));
    QVERIFY(cap);
    cap->cantidad = QStringLiteral("1");
    QVERIFY(p.captura.cmdAgregar(*cap));
    QCOMPARE(lineasTexto(p.captura.lineas()), QStringLiteral("GRA:NORMAL:1:10|OFE:OFERTA:1:80"));
    cap->cantidad = QStringLiteral("2");
    QVERIFY(p.captura.cmdAgregar(*cap));
    QCOMPARE(lineasTexto(p.captura.lineas()),
             QStringLiteral("GRA:NORMAL:1:10|OFE:OFERTA:2:80|OFE:NORMAL:1:100"));
    QCOMPARE(p.prompter.texts(), QStringList());

    // The offer row gone: the limit cannot be checked.
    db.connection().execute(QStringLiteral("delete from tArticuloPrecio where tprecio_Clave = 'OFERTA'"));
    QVERIFY(!p.captura.cmdAgregar(*cap));
    QCOMPARE(p.prompter.texts(), QStringList{"No se encontro la oferta indicada para el articulo OFE"});
}

void tst_VentaCapturaValidacion::ofertaDeSuFila()
{
    // The units left are those of the offer that priced the line, not of an older one.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    const QString fila = QStringLiteral(
        "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, precio_Importe, PRECIO_FECINI, "
        "PRECIO_FECFIN, precio_Cantidad, precio_Vendidas) values ('LIB', 'OFERTA', ?, ?, ?, ?, ?, 0)");
    c.execute(fila, {1, 10, QDateTime(QDate(2001, 1, 1), QTime(0, 0)),
                     QDateTime(QDate(2001, 12, 31), QTime(0, 0)), 100});
    c.execute(fila, {2, 15, QDateTime(QDate(2002, 1, 1), QTime(0, 0)),
                     QDateTime(QDate(2099, 12, 31), QTime(0, 0)), 3});
    PuestoVenta p(&c);
    p.config.setValue(QStringLiteral("VENDE-NORMAL-EN-INSUFICIENTE-OFERTA"), true);
    p.config.setValue(QStringLiteral("AVISO-VENDE-NORMAL-EN-INSUFICIENTE-OFERTA"), false);
    p.captura.iniciaVenta();
    auto cap = p.captura.buscaArticulo(QStringLiteral("LIB"));
    QVERIFY(cap);
    QCOMPARE(cap->numeroPrecio, 2);
    cap->cantidad = QStringLiteral("4");
    QVERIFY(p.captura.cmdAgregar(*cap));
    QCOMPARE(lineasTexto(p.captura.lineas()), QStringLiteral("LIB:OFERTA:3:15|LIB:NORMAL:1:20"));
    QCOMPARE(p.prompter.texts(), QStringList());
}

void tst_VentaCapturaValidacion::pago()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    p.config.setValue(QStringLiteral("CORTE-CAJA"), QString());
    p.captura.iniciaVenta();
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("P100", "3", "100", "10", "15")));

    QVERIFY(!p.captura.preparaPago());
    QCOMPARE(p.prompter.texts(),
             QStringList{"Corte de Caja invalido, aperture un corte de caja antes de continuar"});

    p.abreCaja(db.connection());
    p.captura.iniciaVenta();
    p.prompter.clear();
    QVERIFY(!p.captura.preparaPago());
    QCOMPARE(p.prompter.texts(), QStringList{"No hay articulos para cobrar"});

    p.config.setValue(QStringLiteral("ORDENA-ARTICULOS-VENTA"), true);
    QVERIFY(p.captura.cargaCliente(QStringLiteral("C1")));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("P100", "3", "100", "10", "15")));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("GRA", "1", "10", "0", "0")));
    p.prompter.clear();
    const auto d = p.captura.preparaPago();
    QVERIFY(d);
    QCOMPARE(p.prompter.texts(), QStringList());
    QCOMPARE(p.captura.corte(), QStringLiteral("CAJA1-%1-7").arg(PuestoVenta::anio(db.connection())));
    QCOMPARE(lineasTexto(p.captura.lineas()), QStringLiteral("GRA:NORMAL:1:10|P100:NORMAL:3:100"));
    QCOMPARE(p.captura.lineas().first().renglon, 1);
    QCOMPARE(d->importe, Decimal("320.50"));
    QCOMPARE(d->total, Decimal("288.45"));
    QCOMPARE(d->cliente.clave, QStringLiteral("C1"));
    QCOMPARE(d->tiposPago, QStringList{"EFECTIVO"});
    QVERIFY(d->nota);
    QVERIFY(!d->factura);
    QCOMPARE(d->entrega, QStringLiteral("MOSTRADOR"));
}

void tst_VentaCapturaValidacion::pagoValidaDeNuevo()
{
    // Stock sold elsewhere between capture and payment stops the payment.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    p.abreCaja(db.connection());
    p.captura.iniciaVenta();
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("EXI", "5", "20", "0", "0")));
    QVERIFY(p.captura.preparaPago());
    db.connection().execute(
        QStringLiteral("update tArticuloAlmacen set alma_Existencia = 3 where art_Clave = 'EXI'"));
    QVERIFY(!p.captura.preparaPago());
    QCOMPARE(
        p.prompter.texts(),
        QStringList{
            "Para el producto EXI-Articulo EXI la existencia es de: 3 No se pueden surtir : 5 articulo(s)"});
    QCOMPARE(p.captura.lineas().size(), 1);
}

void tst_VentaCapturaValidacion::comision_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("metodo");
    QTest::addColumn<bool>("aplicado");
    QTest::addColumn<int>("lineas");
    QTest::addColumn<QString>("importe");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "concepto") << "CONCEPTO" << true << 2 << "319.82";
        TestDatabase::newRow(e, "articulo") << "ARTICULO" << true << 1 << "319.83";
        TestDatabase::newRow(e, "otro") << "NINGUNO" << false << 1 << "310.50";
    }
}

void tst_VentaCapturaValidacion::comision()
{
    QFETCH(QString, engine);
    QFETCH(QString, metodo);
    QFETCH(bool, aplicado);
    QFETCH(int, lineas);
    QFETCH(QString, importe);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    QVERIFY(p.config.setValue(QStringLiteral("COMISION-TARJETA-COBRO"), metodo));
    p.captura.iniciaVenta();
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("P100", "3", "100", "10", "15")));

    QCOMPARE(p.captura.aplicaPorcentaje(QStringLiteral("COMISION"), Decimal(3)), aplicado);
    QCOMPARE(p.captura.lineas().size(), lineas);
    QCOMPARE(p.captura.totales().importe, Decimal(importe));
    if (metodo == QLatin1String("CONCEPTO")) {
        QCOMPARE(p.captura.lineas().last().clave, QStringLiteral("COMISION"));
        QCOMPARE(p.captura.lineas().last().renglon, 2);
    }
}

QTEST_GUILESS_MAIN(tst_VentaCapturaValidacion)
#include "tst_venta_captura_validacion.moc"
