// Capturing lines: finding and pricing an article, adding it with every refusal in order,
// accumulation, the client and its type, editing cells through the grid model.
#include "VentaFixture.h"
#include "VentaModelo.h"

#include <QAbstractItemModelTester>
#include <QTest>

class tst_VentaCaptura : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineaEjemplo_data() { TestDatabase::addEngineRows(); }
    void lineaEjemplo();
    void rechazos_data();
    void rechazos();
    void loteSerie_data() { TestDatabase::addEngineRows(); }
    void loteSerie();
    void buscaArticulo_data() { TestDatabase::addEngineRows(); }
    void buscaArticulo();
    void noEncontrado_data();
    void noEncontrado();
    void acumula_data();
    void acumula();
    void redondeo_data();
    void redondeo();
    void cliente_data() { TestDatabase::addEngineRows(); }
    void cliente();
    void cambioTipoReprecia_data() { TestDatabase::addEngineRows(); }
    void cambioTipoReprecia();
    void editaCelda_data();
    void editaCelda();
    void modelo_data() { TestDatabase::addEngineRows(); }
    void modelo();
};

void tst_VentaCaptura::lineaEjemplo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    p.captura.iniciaVenta();

    auto cap = p.captura.buscaArticulo(QStringLiteral("p100"));
    QVERIFY(cap.has_value());
    QCOMPARE(cap->articulo, QStringLiteral("P100"));
    QCOMPARE(cap->precio, QStringLiteral("100.00"));
    QCOMPARE(cap->descuento, QStringLiteral("10"));
    QCOMPARE(cap->iva, QStringLiteral("15"));
    QCOMPARE(cap->total, QStringLiteral("103.50"));
    QCOMPARE(cap->tipoPrecio, QStringLiteral("NORMAL"));
    QVERIFY(!cap->agregado);
    cap->cantidad = QStringLiteral("3");
    QVERIFY(p.captura.cmdAgregar(*cap));
    QCOMPARE(p.captura.lineas().size(), 1);
    const LineaVenta &l = p.captura.lineas().first();
    QCOMPARE(l.importe, Decimal("103.50"));
    QCOMPARE(l.total, Decimal("310.50"));
    QCOMPARE(l.renglon, 1);
    QVERIFY(!l.modificado);
    QCOMPARE(p.captura.totales().importe, Decimal("310.50"));
    QCOMPARE(p.captura.totales().articulos, Decimal(3));
    // The normal row is written from the article when it was missing.
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select count(*) from tArticuloPrecio where art_Clave = 'P100' and "
                                        "tprecio_Clave = 'NORMAL'"))
                 .toInt(),
             1);
    QCOMPARE(p.prompter.texts(), QStringList());
}

void tst_VentaCaptura::rechazos_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("articulo");
    QTest::addColumn<QString>("cantidad");
    QTest::addColumn<QString>("precio");
    QTest::addColumn<QString>("mensaje");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "sin articulo") << ""
                                                << "1"
                                                << "10"
                                                << "Debe indicar el articulo";
        TestDatabase::newRow(e, "sin cantidad") << "GRA"
                                                << ""
                                                << "10"
                                                << "Debe indicar la cantidad";
        TestDatabase::newRow(e, "sin importe") << "GRA"
                                               << "1"
                                               << ""
                                               << "Debe indicar el importe";
        TestDatabase::newRow(e, "cantidad no numerica") << "GRA"
                                                        << "uno"
                                                        << "10"
                                                        << "Debe ingresar un valor numerico";
        TestDatabase::newRow(e, "cantidad cero") << "GRA"
                                                 << "0"
                                                 << "10"
                                                 << "No se admiten cantidades menores o iguales a cero";
        TestDatabase::newRow(e, "no existe") << "NADA"
                                             << "1"
                                             << "10"
                                             << "Articulo no encontrado";
        TestDatabase::newRow(e, "referencia cancelada") << "REF"
                                                        << "1"
                                                        << "10"
                                                        << "Referencia requerida";
        TestDatabase::newRow(e, "suspendido")
            << "SUS"
            << "1"
            << "10"
            << "El articulo SUSSe encuentra en estado de suspendido. No es posible efectuar su venta";
        TestDatabase::newRow(e, "fraccion")
            << "P100"
            << "1.5"
            << "100"
            << "El articulo P100No se puede vender fraccionado. No es posible "
               "efectuar su venta";
    }
}

void tst_VentaCaptura::rechazos()
{
    QFETCH(QString, engine);
    QFETCH(QString, articulo);
    QFETCH(QString, cantidad);
    QFETCH(QString, precio);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    p.captura.iniciaVenta();
    QVERIFY(p.captura.cmdAgregar(
        PuestoVenta::campos(QStringLiteral("GRA"), QStringLiteral("1"), QStringLiteral("10"))));
    const QList<LineaVenta> antes = p.captura.lineas();

    QVERIFY(!p.captura.cmdAgregar(PuestoVenta::campos(articulo, cantidad, precio)));
    // The reference is asked for before it is refused.
    const QStringList esperados =
        articulo == QLatin1String("REF") ? QStringList{"Referencia", mensaje} : QStringList{mensaje};
    QCOMPARE(p.prompter.texts(), esperados);
    QCOMPARE(p.captura.lineas(), antes);
    // A fraction is accepted for an article sold loose; the reference once it is typed.
    if (articulo == QLatin1String("GRA") || articulo == QLatin1String("REF")) {
        p.prompter.inputs.enqueue(QStringLiteral("5512345678"));
        QVERIFY(p.captura.cmdAgregar(
            PuestoVenta::campos(QStringLiteral("REF"), QStringLiteral("1"), QStringLiteral("10"))));
        QCOMPARE(p.captura.lineas().last().referencia, QStringLiteral("5512345678"));
        QVERIFY(p.captura.cmdAgregar(
            PuestoVenta::campos(QStringLiteral("GRA"), QStringLiteral("0.250"), QStringLiteral("10"))));
        QCOMPARE(p.captura.lineas().last().cantidad, Decimal("0.25"));
    }
}

void tst_VentaCaptura::loteSerie()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    QStringList pedidos;
    std::optional<QString> respuesta = QStringLiteral("S1");
    p.captura.setPideLoteSerie([&](const QString &modo, const QString &articulo) {
        pedidos << modo + u'/' + articulo;
        return respuesta;
    });
    p.captura.iniciaVenta();

    QVERIFY(!p.captura.cmdAgregar(PuestoVenta::campos(QStringLiteral("SER"), QStringLiteral("2"))));
    QCOMPARE(p.prompter.last(), QStringLiteral("Solo se admite un articulo por serie"));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos(QStringLiteral("SER"), QStringLiteral("1"))));
    QCOMPARE(p.captura.lineas().last().loteSerie, QStringLiteral("S1"));
    QCOMPARE(p.captura.lineas().last().controlInv, QStringLiteral("SERIE"));
    p.prompter.clear();
    QVERIFY(!p.captura.cmdAgregar(PuestoVenta::campos(QStringLiteral("SER"), QStringLiteral("1"))));
    QCOMPARE(p.prompter.texts(), QStringList{QStringLiteral("La serie ya ha sido capturada")});
    respuesta = QStringLiteral("S2");
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos(QStringLiteral("SER"), QStringLiteral("1"))));
    QCOMPARE(p.captura.lineas().size(), 2);

    // A cancelled prompt adds nothing; a lot is asked as 'LOTE'.
    p.prompter.clear();
    respuesta.reset();
    QVERIFY(!p.captura.cmdAgregar(PuestoVenta::campos(QStringLiteral("LOT"), QStringLiteral("2"))));
    QCOMPARE(p.prompter.texts(), QStringList{QStringLiteral("El articulo requiere Lote")});
    respuesta = QStringLiteral("L1");
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos(QStringLiteral("LOT"), QStringLiteral("2"))));
    QCOMPARE(pedidos,
             QStringList({"SERIE/SER", "SERIE/SER", "SERIE/SER", "SERIE/SER", "LOTE/LOT", "LOTE/LOT"}));
    QCOMPARE(p.captura.lineas().size(), 3);
}

void tst_VentaCaptura::buscaArticulo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    p.captura.iniciaVenta();

    // An extra barcode finds its article; automatic capture adds one unit at once.
    p.config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), true);
    auto cap = p.captura.buscaArticulo(QStringLiteral("7501000000017"));
    QVERIFY(cap.has_value());
    QVERIFY(cap->agregado);
    QCOMPARE(p.captura.lineas().size(), 1);
    QCOMPARE(p.captura.lineas().first().clave, QStringLiteral("P100"));
    QCOMPARE(p.captura.lineas().first().cantidad, Decimal(1));

    // The offer in force prices the article, with its row number.
    p.config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), false);
    cap = p.captura.buscaArticulo(QStringLiteral("ofe"));
    QVERIFY(cap.has_value());
    QVERIFY(!cap->agregado);
    QCOMPARE(cap->tipoPrecio, QStringLiteral("OFERTA"));
    QCOMPARE(cap->precio, QStringLiteral("80.00"));
    QCOMPARE(p.captura.lineas().size(), 1);
    QCOMPARE(p.prompter.texts(), QStringList());
}

void tst_VentaCaptura::noEncontrado_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("derecho");
    QTest::addColumn<bool>("registra");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<int>("lineas");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "sin derecho")
            << false << false << QStringList{"Articulo no encontrado"} << 0;
        TestDatabase::newRow(e, "no registra")
            << true << false << QStringList{"Articulo no encontrado, desea registrarlo ?"} << 0;
        TestDatabase::newRow(e, "registra")
            << true << true << QStringList{"Articulo no encontrado, desea registrarlo ?"} << 1;
    }
}

void tst_VentaCaptura::noEncontrado()
{
    QFETCH(QString, engine);
    QFETCH(bool, derecho);
    QFETCH(bool, registra);
    QFETCH(QStringList, mensajes);
    QFETCH(int, lineas);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection(), derecho ? QStringList{"AltaRapida"} : QStringList());
    p.config.setValue(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"), true);
    QStringList altas;
    p.captura.setAltaRapida([&](const QString &clave) -> std::optional<QString> {
        altas << clave;
        db.connection().execute(
            QStringLiteral(
                "insert into tArticulo (art_Clave, art_Nombre, art_Importe) values (?, 'Nuevo', 12)"),
            {clave});
        return clave;
    });
    p.captura.iniciaVenta();
    if (derecho)
        p.prompter.answers.enqueue(registra);

    const auto cap = p.captura.buscaArticulo(QStringLiteral("nuevo1"));
    QCOMPARE(cap.has_value(), registra);
    QCOMPARE(p.prompter.texts(), mensajes);
    QCOMPARE(altas, registra ? QStringList{"NUEVO1"} : QStringList());
    QCOMPARE(p.captura.lineas().size(), lineas);
    if (registra)
        QCOMPARE(p.captura.lineas().first().precio, Decimal(12));
}

void tst_VentaCaptura::acumula_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("configuracion");
    QTest::addColumn<QString>("tipo"); // tcli_AcumularArticulos of SYS
    QTest::addColumn<int>("lineas");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "apagado") << false << "N" << 2;
        TestDatabase::newRow(e, "configuracion") << true << "N" << 1;
        TestDatabase::newRow(e, "tipo de cliente") << false << "S" << 1;
    }
}

void tst_VentaCaptura::acumula()
{
    QFETCH(QString, engine);
    QFETCH(bool, configuracion);
    QFETCH(QString, tipo);
    QFETCH(int, lineas);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    db.connection().execute(
        QStringLiteral("update tTipoCliente set tcli_AcumularArticulos = ? where tcli_Clave = 'SYS'"),
        {tipo});
    PuestoVenta p(&db.connection());
    p.config.setValue(QStringLiteral("ACUMULAR-ARTICULOS-VENTA"), configuracion);
    p.captura.iniciaVenta();
    QCOMPARE(p.captura.acumula(), lineas == 1);

    QVERIFY(p.captura.cmdAgregar(
        PuestoVenta::campos(QStringLiteral("P100"), QStringLiteral("1"), "100", "10", "15")));
    QVERIFY(p.captura.cmdAgregar(
        PuestoVenta::campos(QStringLiteral("P100"), QStringLiteral("2"), "100", "10", "15")));
    QCOMPARE(p.captura.lineas().size(), lineas);
    QCOMPARE(p.captura.totales().articulos, Decimal(3));
    QCOMPARE(p.captura.totales().importe, Decimal("310.50"));
    QCOMPARE(p.captura.lineas().last().renglon, lineas);
}

void tst_VentaCaptura::redondeo_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("configArticulo"); // REDONDEO-POR-ARTICULO, step 0.50
    QTest::addColumn<bool>("configMedio");    // REDONDEO-POR-ARTICULO-MEDIO_IMPORTE
    QTest::addColumn<QString>("tipo");        // tcli_RedondeoArticulo; empty: null (the key rules)
    QTest::addColumn<bool>("configVenta");    // REDONDEO-VENTA, step 1, up
    QTest::addColumn<QString>("linea");
    QTest::addColumn<QString>("importe");
    QTest::addColumn<QString>("redondeo");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "configuracion") << true << false << "" << false << "310.50"
                                                 << "310.50"
                                                 << "0.40";
        TestDatabase::newRow(e, "configuracion medio") << true << true << "" << false << "310.00"
                                                       << "310.00"
                                                       << "-0.10";
        TestDatabase::newRow(e, "el tipo lo apaga") << true << false << "N" << false << "310.10"
                                                    << "310.10"
                                                    << "0";
        TestDatabase::newRow(e, "el tipo lo enciende") << false << false << "S" << false << "310.50"
                                                       << "310.50"
                                                       << "0.40";
        TestDatabase::newRow(e, "venta") << false << false << "" << true << "310.10"
                                         << "311"
                                         << "0.90";
    }
}

void tst_VentaCaptura::redondeo()
{
    QFETCH(QString, engine);
    QFETCH(bool, configArticulo);
    QFETCH(bool, configMedio);
    QFETCH(QString, tipo);
    QFETCH(bool, configVenta);
    QFETCH(QString, linea);
    QFETCH(QString, importe);
    QFETCH(QString, redondeo);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    db.connection().execute(QStringLiteral(
        "update tTipoCliente set tcli_RedondeoArticulo = null, tcli_RedondeoArticuloCantidad = null, "
        "tcli_RedondeoArticuloImporteMedio = null, tcli_RedondeoVenta = null, tcli_RedondeoVentaCantidad = "
        "null, "
        "tcli_RedondeoVentaImporteMedio = null where tcli_Clave = 'SYS'"));
    if (!tipo.isEmpty())
        db.connection().execute(
            QStringLiteral("update tTipoCliente set tcli_RedondeoArticulo = ?, "
                           "tcli_RedondeoArticuloCantidad = 0.5, tcli_RedondeoArticuloImporteMedio "
                           "= 'N' where tcli_Clave = 'SYS'"),
            {tipo});
    PuestoVenta p(&db.connection());
    p.config.setValue(QStringLiteral("REDONDEO-POR-ARTICULO"), configArticulo);
    p.config.setValue(QStringLiteral("REDONDEO-POR-ARTICULO-CANTIDAD"), 0.5);
    p.config.setValue(QStringLiteral("REDONDEO-POR-ARTICULO-MEDIO_IMPORTE"), configMedio);
    p.config.setValue(QStringLiteral("REDONDEO-VENTA"), configVenta);
    p.config.setValue(QStringLiteral("REDONDEO-VENTA-CANTIDAD"), 1);
    p.config.setValue(QStringLiteral("REDONDEO-VENTA-MEDIO_IMPORTE"), false);
    p.captura.iniciaVenta();

    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("GRA", "1", "310.10", "0", "0")));
    QCOMPARE(p.captura.lineas().first().total, Decimal(linea));
    QCOMPARE(p.captura.totales().importe, Decimal(importe));
    QCOMPARE(p.captura.totales().redondeo, Decimal(redondeo));
}

void tst_VentaCaptura::cliente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    p.captura.iniciaVenta();
    QCOMPARE(p.captura.cliente().clave, QStringLiteral("SYS"));
    QCOMPARE(p.captura.cliente().tipo, QStringLiteral("SYS"));
    QCOMPARE(p.captura.cliente().entrega, QStringLiteral("MOSTRADOR"));

    // The client's discount takes its percentage off the total.
    QVERIFY(p.captura.cmdAgregar(
        PuestoVenta::campos(QStringLiteral("P100"), QStringLiteral("3"), "100", "10", "15")));
    QVERIFY(p.captura.cargaCliente(QStringLiteral("C1")));
    QCOMPARE(p.captura.cliente().tipo, QStringLiteral("MAYOREO"));
    QCOMPARE(p.captura.cliente().control, QStringLiteral("LISTA"));
    QCOMPARE(p.captura.cliente().lista, 1);
    QVERIFY(p.captura.cliente().nota);
    QCOMPARE(p.captura.cliente().tiposPago, QStringList{"EFECTIVO"});
    QCOMPARE(p.captura.totales().descuentoCliente, Decimal(10));

    // Missing client, missing type: the sale keeps the client it had.
    QVERIFY(!p.captura.cargaCliente(QStringLiteral("NADIE")));
    QCOMPARE(p.prompter.last(), QStringLiteral("No existe informacion del cliente"));
    // A client whose type key is empty (the key must name a row, so an empty one is made).
    db.connection().execute(
        QStringLiteral("insert into tTipoCliente (tcli_Clave, tcli_Nombre) values ('', 'Vacio')"));
    db.connection().execute(QStringLiteral(
        "insert into tCliente (cli_Clave, cli_Nombre, tcli_Clave) values ('C2', 'Sin tipo', '')"));
    p.config.setValue(QStringLiteral("TIPO-CLIENTE-POR-OMISION"), QStringLiteral("NOEXISTE"));
    QVERIFY(!p.captura.cargaCliente(QStringLiteral("C2")));
    QCOMPARE(p.prompter.last(), QStringLiteral("No existe informacion del tipo de cliente"));
    QCOMPARE(p.captura.cliente().clave, QStringLiteral("C1"));
    // An empty type takes the configured one.
    p.config.setValue(QStringLiteral("TIPO-CLIENTE-POR-OMISION"), QStringLiteral("SYS"));
    QVERIFY(p.captura.cargaCliente(QStringLiteral("C2")));
    QCOMPARE(p.captura.cliente().tipo, QStringLiteral("SYS"));
}

void tst_VentaCaptura::cambioTipoReprecia()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection());
    p.captura.iniciaVenta();
    auto cap = p.captura.buscaArticulo(QStringLiteral("LIS"));
    QVERIFY(cap.has_value());
    cap->cantidad = QStringLiteral("2");
    QVERIFY(p.captura.cmdAgregar(*cap));
    QCOMPARE(p.captura.lineas().first().precio, Decimal(100));
    QCOMPARE(p.captura.totales().importe, Decimal(200));

    // Without the right the type stays; a wholesale client re-prices at its list.
    QVERIFY(!p.captura.cambiaTipoCliente(QStringLiteral("MAYOREO")));
    QVERIFY(p.captura.cargaCliente(QStringLiteral("C1")));
    QCOMPARE(p.captura.lineas().first().precio, Decimal(70));
    QCOMPARE(p.captura.lineas().first().tipoPrecio, QStringLiteral("LISTA"));
    QCOMPARE(p.captura.totales().importe, Decimal(140));
    QCOMPARE(p.captura.totales().total, Decimal(126));
    // Back to the public: the normal price again.
    QVERIFY(p.captura.cargaCliente(QStringLiteral("SYS")));
    QCOMPARE(p.captura.lineas().first().precio, Decimal(100));
    QCOMPARE(p.captura.lineas().first().tipoPrecio, QStringLiteral("NORMAL"));
    QCOMPARE(p.prompter.texts(), QStringList());

    // A right granted while the window is open counts once the rights are read again.
    db.connection().execute(QStringLiteral(
        "insert into tSeguridad (perf_Clave, mod_Clave) values ('PRUEBA', 'frmVenta_CambioTipoCliente')"));
    QVERIFY(!p.captura.cambiaTipoCliente(QStringLiteral("MAYOREO")));
    p.captura.cargaDerechos();
    QVERIFY(p.captura.cambiaTipoCliente(QStringLiteral("MAYOREO")));
    QCOMPARE(p.captura.cliente().clave, QStringLiteral("SYS"));
    QCOMPARE(p.captura.lineas().first().precio, Decimal(70));
    QVERIFY(!p.captura.cambiaTipoCliente(QStringLiteral("NADA")));
    QCOMPARE(p.prompter.texts(), QStringList{"No existe informacion del tipo de cliente"});
    QCOMPARE(p.captura.cliente().tipo, QStringLiteral("MAYOREO"));
}

void tst_VentaCaptura::editaCelda_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("articulo");
    QTest::addColumn<int>("celda");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("mensaje"); // empty: accepted
    QTest::addColumn<QString>("total");
    QTest::addColumn<bool>("modificado");
    const int cant = int(VentaCaptura::Celda::Cantidad), prec = int(VentaCaptura::Celda::Precio),
              desc = int(VentaCaptura::Celda::Descuento), iva = int(VentaCaptura::Celda::IVA),
              ref = int(VentaCaptura::Celda::Referencia);
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "cantidad") << "P100" << cant << "3"
                                            << ""
                                            << "310.50" << false;
        TestDatabase::newRow(e, "cantidad texto") << "P100" << cant << "x"
                                                  << "Debe ingresar un valor numerico"
                                                  << "103.50" << false;
        TestDatabase::newRow(e, "cantidad negativa") << "P100" << cant << "-1"
                                                     << "La cantidad debe ser mayor o igual a cero"
                                                     << "103.50" << false;
        TestDatabase::newRow(e, "serie dos") << "SER" << cant << "2"
                                             << "Debe indicar un articulo por serie"
                                             << "23.20" << false;
        TestDatabase::newRow(e, "precio") << "P100" << prec << "200"
                                          << ""
                                          << "207.00" << true;
        TestDatabase::newRow(e, "precio negativo") << "P100" << prec << "-5"
                                                   << "El importe debe ser mayor o igual a cero"
                                                   << "103.50" << false;
        TestDatabase::newRow(e, "descuento") << "P100" << desc << "0"
                                             << ""
                                             << "115.00" << true;
        TestDatabase::newRow(e, "iva") << "P100" << iva << "16"
                                       << ""
                                       << "104.40" << true;
        TestDatabase::newRow(e, "iva negativo") << "P100" << iva << "-16"
                                                << "El importe debe ser mayor o igual a cero"
                                                << "103.50" << false;
        TestDatabase::newRow(e, "referencia") << "P100" << ref << "abc"
                                              << ""
                                              << "103.50" << false;
    }
}

void tst_VentaCaptura::editaCelda()
{
    QFETCH(QString, engine);
    QFETCH(QString, articulo);
    QFETCH(int, celda);
    QFETCH(QString, valor);
    QFETCH(QString, mensaje);
    QFETCH(QString, total);
    QFETCH(bool, modificado);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection(), {"CambioPrecio", "CambioDesc", "CambioIVA"});
    p.captura.setPideLoteSerie([](const QString &, const QString &) { return std::optional<QString>("S1"); });
    p.captura.iniciaVenta();
    const auto cap = articulo == QLatin1String("SER")
                         ? PuestoVenta::campos(articulo, QStringLiteral("1"), "20", "0", "16")
                         : PuestoVenta::campos(articulo, QStringLiteral("1"), "100", "10", "15");
    QVERIFY(p.captura.cmdAgregar(cap));

    const bool aceptado = p.captura.editaCelda(0, VentaCaptura::Celda(celda), valor);
    QCOMPARE(aceptado, mensaje.isEmpty());
    QCOMPARE(p.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    const LineaVenta &l = p.captura.lineas().first();
    QCOMPARE(l.total, Decimal(total));
    QCOMPARE(p.captura.totales().importe, Decimal(total));
    QCOMPARE(l.modificado, modificado);
    QCOMPARE(l.tipoPrecio, modificado ? QStringLiteral("N") : QStringLiteral("NORMAL"));
    if (celda == int(VentaCaptura::Celda::Referencia))
        QCOMPARE(l.referencia, valor);
}

void tst_VentaCaptura::modelo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    creaCatalogoVenta(db.connection());
    PuestoVenta p(&db.connection(), {"CambioDesc"});
    VentaModelo m(p.captura);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    p.captura.iniciaVenta();
    QCOMPARE(m.columnCount(), 18);
    QCOMPARE(VentaModelo::clave(VentaModelo::LoteSerie), QStringLiteral("LoteSerie"));
    QCOMPARE(VentaModelo::columna(QStringLiteral("TipoPrecio")), int(VentaModelo::TipoPrecio));
    QCOMPARE(VentaModelo::columna(QStringLiteral("Nada")), -1);

    QVERIFY(p.captura.cmdAgregar(
        PuestoVenta::campos(QStringLiteral("P100"), QStringLiteral("1"), "100", "10", "15")));
    QVERIFY(p.captura.cmdAgregar(
        PuestoVenta::campos(QStringLiteral("GRA"), QStringLiteral("2"), "10", "0", "0")));
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE(m.index(0, VentaModelo::Total).data().toString(), QStringLiteral("103.50"));
    QCOMPARE(m.index(1, VentaModelo::Renglon).data().toInt(), 2);
    QCOMPARE(m.index(0, VentaModelo::Modificado).data().toString(), QStringLiteral("N"));

    // Rights decide the editable cells; computed ones never are.
    QVERIFY(m.flags(m.index(0, VentaModelo::Cantidad)) & Qt::ItemIsEditable);
    QVERIFY(m.flags(m.index(0, VentaModelo::Descuento)) & Qt::ItemIsEditable);
    QVERIFY(!(m.flags(m.index(0, VentaModelo::Precio)) & Qt::ItemIsEditable));
    QVERIFY(!(m.flags(m.index(0, VentaModelo::Total)) & Qt::ItemIsEditable));
    QVERIFY(!m.setData(m.index(0, VentaModelo::Precio), QStringLiteral("1")));
    QVERIFY(!m.setData(m.index(0, VentaModelo::Total), QStringLiteral("1")));

    QVERIFY(m.setData(m.index(0, VentaModelo::Cantidad), QStringLiteral("3")));
    QCOMPARE(m.index(0, VentaModelo::Total).data().toString(), QStringLiteral("310.50"));
    QVERIFY(m.setData(m.index(0, VentaModelo::Descuento), QStringLiteral("0")));
    QCOMPARE(m.index(0, VentaModelo::Modificado).data().toString(), QStringLiteral("S"));
    QCOMPARE(m.index(0, VentaModelo::TipoPrecio).data().toString(), QStringLiteral("N"));
    QVERIFY(!m.setData(m.index(1, VentaModelo::Cantidad), QStringLiteral("dos")));
    QCOMPARE(p.prompter.last(), QStringLiteral("Debe ingresar un valor numerico"));
    QCOMPARE(m.index(1, VentaModelo::Cantidad).data(Qt::EditRole).toString(), QStringLiteral("2"));
    QVERIFY(p.captura.eliminaLinea(0));
    QCOMPARE(m.rowCount(), 1);
    QCOMPARE(m.index(0, VentaModelo::Renglon).data().toInt(), 1);
}

QTEST_GUILESS_MAIN(tst_VentaCaptura)
#include "tst_venta_captura.moc"
