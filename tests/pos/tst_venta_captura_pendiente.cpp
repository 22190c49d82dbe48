// Held sales (store, list, load one or several), storing changed prices, importing lines from a
// file with its log, the rotating messages, the start-of-sale event and discarding a sale.
#include "MensajesVenta.h"
#include "VentaFixture.h"

#include "DbError.h"
#include "EstacionPrueba.h"

#include <QFile>
#include <QTest>

namespace {

QString lineasTexto(const QList<LineaVenta> &lineas)
{
    QStringList out;
    for (const LineaVenta &l : lineas)
        out << l.clave + u':' + l.tipoPrecio + u':' + l.cantidad.toString() + u':' + l.precio.toString();
    return out.join(u'|');
}

int cuenta(db::Connection &c, const char *tabla)
{
    return c.scalar(QStringLiteral("select count(*) from ") + QLatin1String(tabla)).toInt();
}

} // namespace

class tst_VentaCapturaPendiente : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void idaYVuelta_data() { TestDatabase::addEngineRows(); }
    void idaYVuelta();
    void dosEnUna_data();
    void dosEnUna();
    void rechazos_data() { TestDatabase::addEngineRows(); }
    void rechazos();
    void todoONada_data() { TestDatabase::addEngineRows(); }
    void todoONada();
    void salvarPrecio_data();
    void salvarPrecio();
    void importa_data() { TestDatabase::addEngineRows(); }
    void importa();
    void mensajes_data() { TestDatabase::addEngineRows(); }
    void mensajes();
    void inicioYDescarte_data() { TestDatabase::addEngineRows(); }
    void inicioYDescarte();
};

void tst_VentaCapturaPendiente::idaYVuelta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    PuestoVenta p(&c, {"CambioPrecio"});
    p.captura.setPideLoteSerie([](const QString &, const QString &) { return std::optional<QString>("S2"); });
    p.abreCaja(c);
    p.captura.iniciaVenta();
    QVERIFY(p.captura.cargaCliente(QStringLiteral("C1")));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("P100", "3", "100", "10", "15")));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("SER", "1", "20", "0", "16")));
    p.prompter.inputs.enqueue(QStringLiteral("5512345678"));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("REF", "2", "10", "0", "0")));
    QVERIFY(p.captura.editaCelda(2, VentaCaptura::Celda::Precio, QStringLiteral("12.5")));
    const QStringList antes = contenidoLineas(p.captura.lineas());
    const TotalesVenta totales = p.captura.totales();
    p.prompter.clear();

    const auto numero = p.captura.ventaPendiente();
    QCOMPARE(numero, std::optional<qint64>(1));
    QCOMPARE(p.prompter.texts(), QStringList{"La venta pendiente ha sido guardada con el Numero << 1 >> "});
    QVERIFY(p.captura.lineas().isEmpty());
    QCOMPARE(p.captura.cliente().clave, QStringLiteral("SYS"));
    const int anio = PuestoVenta::anio(c);
    QCOMPARE(
        filas(c, QStringLiteral(
                     "select term_Clave, corte_Anio, corte_Numero, venta_Numero, venta_Folio, venta_importe, "
                     "venta_descuento, venta_Total, usu_Clave, cli_Clave, venta_Cantidad, eventa_Clave, "
                     "alm_Clave from tVentaPendiente")),
        QStringList{QStringLiteral("CAJA1|%1|7|1|1|%2|10|%3|ADMIN|C1|6|REGISTRADA|MATRIZ")
                        .arg(anio)
                        .arg(totales.importe.round(2).toString(), totales.total.round(2).toString())});
    QCOMPARE(cuenta(c, "tVentaPendienteDet"), 3);

    const auto lista = p.captura.ventasPendientes();
    QCOMPARE(lista.size(), 1);
    QCOMPARE(lista.first().nombreCliente, QStringLiteral("Farmacia Sol"));
    QCOMPARE(lista.first().total, totales.total.round(2));
    QCOMPARE(lista.first().clave(), QStringLiteral("CAJA1\t%1\t7\t1").arg(anio));

    p.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("OTRO"));
    QVERIFY(p.captura.cargaVentaPendiente(QStringLiteral("CAJA1"), anio, 7, 1));
    QCOMPARE(contenidoLineas(p.captura.lineas()), antes);
    QCOMPARE(p.captura.totales().importe, totales.importe);
    QCOMPARE(p.captura.totales().total, totales.total);
    QCOMPARE(p.captura.cliente().clave, QStringLiteral("C1"));
    QCOMPARE(p.captura.vendedor(), QStringLiteral("ADMIN"));
    QCOMPARE(p.captura.pendientesCargadas(), QStringList{lista.first().clave()});
    // Loading it twice is refused; the held rows stay until the writer deletes them.
    QVERIFY(!p.captura.cargaVentaPendiente(QStringLiteral("CAJA1"), anio, 7, 1));
    QCOMPARE(p.prompter.last(),
             QStringLiteral("La venta pendiente CAJA1\t%1\t7\t1 ya fue incluida").arg(anio));
    QCOMPARE(p.captura.lineas().size(), 3);
    QCOMPARE(cuenta(c, "tVentaPendiente"), 1);
}

void tst_VentaCapturaPendiente::dosEnUna_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("multiple");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "multiple") << true;
        TestDatabase::newRow(e, "una a la vez") << false;
    }
}

void tst_VentaCapturaPendiente::dosEnUna()
{
    QFETCH(QString, engine);
    QFETCH(bool, multiple);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    PuestoVenta p(&c);
    p.config.setValue(QStringLiteral("VENTA-PENDIENTE-MULTIPLE"), multiple);
    p.abreCaja(c);
    p.captura.iniciaVenta();
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("P100", "3", "100", "10", "15")));
    QCOMPARE(p.captura.ventaPendiente(), std::optional<qint64>(1));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("GRA", "2", "10", "0", "0")));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("LIB", "1", "20", "0", "16")));
    QCOMPARE(p.captura.ventaPendiente(), std::optional<qint64>(2));
    QCOMPARE(p.captura.ventasPendientes().size(), 2);

    const int anio = PuestoVenta::anio(c);
    QVERIFY(p.captura.cargaVentaPendiente(QStringLiteral("CAJA1"), anio, 7, 1));
    QVERIFY(p.captura.cargaVentaPendiente(QStringLiteral("CAJA1"), anio, 7, 2));
    const QString k1 = QStringLiteral("CAJA1\t%1\t7\t1").arg(anio),
                  k2 = QStringLiteral("CAJA1\t%1\t7\t2").arg(anio);
    if (multiple) {
        QCOMPARE(p.captura.lineas().size(), 3);
        QCOMPARE(p.captura.pendientesCargadas(), QStringList({k1, k2}));
        QCOMPARE(p.captura.totales().importe, Decimal("353.70"));
        QCOMPARE(p.captura.lineas().last().renglon, 3);
    } else {
        QCOMPARE(p.captura.lineas().size(), 2);
        QCOMPARE(p.captura.pendientesCargadas(), QStringList{k2});
        QCOMPARE(p.captura.totales().importe, Decimal("43.20"));
    }
    p.captura.olvidaPendientes();
    QVERIFY(p.captura.pendientesCargadas().isEmpty());
}

void tst_VentaCapturaPendiente::rechazos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    PuestoVenta p(&c);
    p.abreCaja(c);
    p.captura.iniciaVenta();
    QVERIFY(!p.captura.ventaPendiente());
    QVERIFY(!p.captura.cargaVentaPendiente(QStringLiteral("CAJA1"), 2026, 7, 99));
    QCOMPARE(p.prompter.texts(), QStringList({"No hay articulos", "Venta Pendiente no encontarda"}));
    QCOMPARE(cuenta(c, "tVentaPendiente"), 0);
}

void tst_VentaCapturaPendiente::todoONada()
{
    // A failure at any statement of storing leaves no header, no line and the grid as it was.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    PuestoVenta p(&c);
    p.abreCaja(c);
    p.captura.iniciaVenta();
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("P100", "3", "100", "10", "15")));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("GRA", "2", "10", "0", "0")));
    const QStringList lineas = contenidoLineas(p.captura.lineas());
    int fallas = 0;
    std::optional<qint64> numero;
    for (int n = 1; n < 20 && !numero; ++n) {
        int vistas = 0;
        c.setStatementHook([&vistas, n](const QString &) {
            if (++vistas == n)
                throw db::DbError(99, QStringLiteral("falla de prueba"), QStringLiteral("prueba"));
        });
        p.prompter.clear();
        numero = p.captura.ventaPendiente();
        c.setStatementHook({});
        if (numero)
            break;
        ++fallas;
        QCOMPARE(cuenta(c, "tVentaPendiente"), 0);
        QCOMPARE(cuenta(c, "tVentaPendienteDet"), 0);
        QCOMPARE(contenidoLineas(p.captura.lineas()), lineas);
        QVERIFY(p.prompter.shown.last().details.contains(QStringLiteral("falla de prueba")));
        QVERIFY(!p.prompter.last().contains(QStringLiteral("falla de prueba")));
    }
    QVERIFY(fallas >= 5); // number, two deletes, header, two lines
    // A number drawn in a failed attempt goes back with it.
    QCOMPARE(numero, std::optional<qint64>(1));
    QCOMPARE(cuenta(c, "tVentaPendienteDet"), 2);
}

void tst_VentaCapturaPendiente::salvarPrecio_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("derecho");
    QTest::addColumn<QString>("respuesta");
    QTest::addColumn<QString>("importe"); // art_Importe of P100 afterwards
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "guarda") << true << "S"
                                          << "120";
        TestDatabase::newRow(e, "no guarda") << true << "N"
                                             << "100";
        TestDatabase::newRow(e, "sin derecho") << false << ""
                                               << "100";
    }
}

void tst_VentaCapturaPendiente::salvarPrecio()
{
    QFETCH(QString, engine);
    QFETCH(bool, derecho);
    QFETCH(QString, respuesta);
    QFETCH(QString, importe);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    PuestoVenta p(&c,
                  derecho ? QStringList{"CambioPrecio", "ActualizaCatalogo"} : QStringList{"CambioPrecio"});
    if (!respuesta.isEmpty())
        p.prompter.answers.enqueue(respuesta == QLatin1String("S"));
    p.captura.iniciaVenta();
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("P100", "1", "100", "10", "15")));
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("GRA", "1", "10", "0", "0")));
    QVERIFY(p.captura.editaCelda(0, VentaCaptura::Celda::Precio, QStringLiteral("120")));

    QCOMPARE(p.captura.cmdSalvarPrecio(), respuesta == QLatin1String("S"));
    QCOMPARE(p.prompter.texts(), derecho ? QStringList{"Los precios de estos articulos han cambiado\nP100 - "
                                                       "Articulo P100  120.00  10%  IVA 15%\n"
                                                       "¿Desea actualizar los precios definitivamente?"}
                                         : QStringList());
    QCOMPARE(Decimal::fromVariant(
                 c.scalar(QStringLiteral("select art_Importe from tArticulo where art_Clave = 'P100'"))),
             Decimal(importe));
    QCOMPARE(p.captura.lineas().first().modificado, respuesta != QLatin1String("S"));
}

void tst_VentaCapturaPendiente::importa()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    // A numeric key is padded by "EAN15" as a scanner would send it.
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, art_Importe) values "
                             "('000000000000123', 'Codigo', 5)"));
    PuestoVenta p(&c);
    p.config.setValue(QStringLiteral("EAN15"), true);
    // Importing needs an open cut.
    QVERIFY(!p.captura.importa(p.dir.filePath(QStringLiteral("venta.csv"))).abierto);
    QCOMPARE(p.prompter.texts(),
             QStringList{"Corte de Caja invalido, aperture un corte de caja antes de continuar"});
    p.prompter.clear();
    p.abreCaja(c);
    p.captura.iniciaVenta();
    const QString archivo = p.dir.filePath(QStringLiteral("venta.csv"));
    {
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write("p100,2\n"
                "NADA,1\n"
                "SUS,1\n"
                "P100,1.5\n"
                "SER,2,S1\n"
                "SER,1,S1\n"
                "SER,1,S1\n"
                "GRA,0\n"
                "REF,1\n"
                "LOT,1\n"
                "EXI,7\n"
                "\n"
                "123,1\n");
    }
    p.prompter.answers.enqueue(true);
    const auto r = p.captura.importa(archivo);
    QVERIFY(r.abierto);
    QVERIFY(r.conErrores);
    QVERIFY(r.verRegistro);
    QCOMPARE(p.prompter.texts(), QStringList{"Archivo procesado con errores, desea ver el registro"});
    QStringList log;
    for (const auto &row : r.renglones)
        log << QString::number(row.linea) + u' ' + row.articulo + u' ' + row.mensaje;
    QCOMPARE(log, QStringList(
                      {"1 P100 Procesado", "2 NADA Articulo no encontrado", "3 SUS Articulo Suspendido",
                       "4 P100 El articulo no puede ser vendido a granel",
                       "5 SER La cantidad solo puede uno(1) en articulos controlados por serie",
                       "6 SER Procesado", "7 SER La serie ya ha sido capturada",
                       "8 GRA No se admiten cantidades menores o iguales a cero",
                       "9 REF Referencia requerida", "10 LOT El articulo requiere Lote",
                       "11 EXI Existencia Insuficiente Actual (5) Solicitada (7) Procesada (5) Faltante (2)",
                       "13 000000000000123 Procesado"}));
    // What could be sold of EXI is sold; the rest of the refused lines added nothing.
    QCOMPARE(lineasTexto(p.captura.lineas()),
             QStringLiteral("P100:NORMAL:2:100|SER:NORMAL:1:20|EXI:NORMAL:5:20|000000000000123:NORMAL:1:5"));
    QVERIFY(
        r.texto().startsWith(QStringLiteral("1\tP100\t2\tProcesado\n2\tNADA\t1\tArticulo no encontrado\n")));
}

void tst_VentaCapturaPendiente::mensajes()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    c.execute(QStringLiteral("delete from tParametro where param_Tipo = 'MSGVENTA'"));
    c.execute(
        QStringLiteral("insert into tParametro (param_Tipo, param_Clave, param_Nombre, param_Valor) values "
                       "('MSGVENTA', '02', 'M2', 'Segundo'), ('MSGVENTA', '01', 'M1', 'Primero'), "
                       "('RECFIN', '00', 'Pie', 'Gracias')"));
    FixedConnectionProvider provider(&c);
    MensajesVenta m(provider);
    QCOMPARE(m.next(), QString());
    QVERIFY(m.carga());
    QCOMPARE(m.mensajes(), QStringList({"Primero", "Segundo"}));
    QCOMPARE(QStringList({m.next(), m.next(), m.next()}), QStringList({"Primero", "Segundo", "Primero"}));
}

void tst_VentaCapturaPendiente::inicioYDescarte()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    c.execute(
        QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) values "
                       "('OnStartUpSale', 'Inicio', 'Echo \"venta \" & 1', 'S')"));
    PuestoVenta p(&c);
    p.captura.iniciaVenta();
    QCOMPARE(p.echo, QStringList{"venta 1"});
    QCOMPARE(p.captura.terminal(), QStringLiteral("CAJA1"));
    QCOMPARE(p.captura.vendedor(), QStringLiteral("ADMIN"));

    // An empty sale goes without asking; one with lines only when the cashier agrees.
    QVERIFY(p.captura.cmdBorrar());
    QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("GRA", "1", "10", "0", "0")));
    const QString pregunta =
        QStringLiteral("Los articulos capturados no han sido guardados y se perderan, desea  continuar");
    p.prompter.answers.enqueue(false);
    QVERIFY(!p.captura.cmdBorrar());
    QCOMPARE(p.captura.lineas().size(), 1);
    p.prompter.answers.enqueue(true);
    QVERIFY(p.captura.cmdBorrar());
    QVERIFY(p.captura.lineas().isEmpty());
    QCOMPARE(p.prompter.texts(), QStringList({pregunta, pregunta}));
    QCOMPARE(p.echo.size(), 3);
}

QTEST_GUILESS_MAIN(tst_VentaCapturaPendiente)
#include "tst_venta_captura_pendiente.moc"
