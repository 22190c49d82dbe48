// The receipt printer's documents, byte for byte (what a direct output receives, drawer and cut
// included) and line for line, against golden files; and the edges of its fixed-width fields.
#include "ImpresoraPrueba.h"

#include "CalculoVenta.h"
#include "Log.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

LineaVenta renglon(const QString &clave, const QString &nombre, const char *cantidad, const char *precio,
                   const char *descuento, const char *iva, const QString &referencia = QString())
{
    LineaVenta l;
    l.clave = clave;
    l.nombre = nombre;
    l.cantidad = Decimal(cantidad);
    l.precio = Decimal(precio);
    l.descuento = Decimal(descuento);
    l.iva = Decimal(iva);
    l.referencia = referencia;
    CalculoVenta::calculaLinea(l, ReglaRedondeo{});
    return l;
}

PagoVenta pagoDe(const char *tipo, const char *importe)
{
    PagoVenta p;
    p.tipo = QString::fromLatin1(tipo);
    p.importe = Decimal(importe);
    return p;
}

// A sale with a line at the public price, a discounted line with a long name, a reference line,
// rounding of 0.50 and three payments.
TicketVenta ventaCompleta()
{
    TicketVenta t;
    t.lineas = {renglon(QStringLiteral("7501000111"), QStringLiteral("Jabón Zote Rosa 400g"), "2", "17.24", "0", "16"),
                renglon(QStringLiteral("7502000222"), QStringLiteral("Paracetamol 500mg c/20 tabletas"), "1", "45",
                        "10", "0"),
                renglon(QStringLiteral("RECARGA"), QStringLiteral("Tiempo aire Telcel"), "1", "100", "0", "0",
                        QStringLiteral("TEL 3312345678 AUT 998877"))};
    for (const LineaVenta &l : t.lineas) {
        t.importe += l.total;
        t.articulos += l.cantidad;
    }
    t.redondeo = Decimal("0.50");
    t.total = t.importe + t.redondeo;
    t.pagos = {pagoDe("EFECTIVO", "100"), pagoDe("TARJETA", "50"), pagoDe("VALES", "40")};
    t.cambio = Decimal("9");
    t.folio = 12345;
    t.fecha = relojTicket();
    t.cliente = QStringLiteral("C1");
    return t;
}

} // namespace

class tst_TicketPrinter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void documentos_data();
    void documentos();
    void renglones_data();
    void renglones();
    void imagenDirecta();
    void sinEncabezado_data() { TestDatabase::addEngineRows(); }
    void sinEncabezado();
    void sinImpresoraEnLinea();
    void encabezadoFueraDeRango();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ruta(const char *nombre) const { return m_dir->filePath(QString::fromLatin1(nombre)); }
};

void tst_TicketPrinter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_TicketPrinter::documentos_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("documento");
    for (const QString &engine : TestDatabase::engines())
        for (const char *d : {"ticket", "ticket-simple", "nota", "presupuesto", "venta-pendiente",
                              "venta-pendiente-completa", "devolucion", "tiempo-aire", "tiempo-aire-reversa",
                              "movimiento-caja", "corte-caja", "pedido", "faltantes", "codigo-barras"})
            TestDatabase::newRow(engine, QString::fromLatin1(d)) << QString::fromLatin1(d);
}

void tst_TicketPrinter::documentos()
{
    QFETCH(QString, engine);
    QFETCH(QString, documento);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    encabezadosTicket(c);
    c.execute(QStringLiteral(
        "insert into tCliente (cli_Clave, cli_Nombre, tcli_Clave, cli_Calle, cli_Exterior, cli_Interior, "
        "cli_Colonia, cli_DelMun, cli_Ciudad, edo_Clave, cli_CP, cli_Telefono1, cli_Telefono2, cli_Fax, "
        "cli_Referencia) values ('C1', 'María Peña Núñez', 'SYS', 'Calzada Independencia Norte', '1450', "
        "'B-3', 'Jardines del Country', 'Guadalajara', 'Guadalajara', 'JAL', '44210', '3336151234', '', '', "
        "'Frente al parque')"));
    EstacionPrueba s(&c, ruta("Mostrador.ini"));
    const QString archivo = ruta("ticket.bin");
    const QString archivoNota = ruta("nota.bin");
    configuraImpresora(s.config, archivo, archivoNota);
    s.config.setValue(QStringLiteral("IMPRIMIR-VENTA-PENDIENTE-TICKET"), documento == u"venta-pendiente-completa");
    cString cadenas(&s.config);
    cTicketPrinter p(s.provider, s.config, cadenas);
    p.setReloj(relojTicket);
    p.cargaValoresReportes();

    bool ok = false;
    const TicketVenta venta = ventaCompleta();
    if (documento == u"ticket") {
        ok = p.imprimeTicket(venta);
    } else if (documento == u"ticket-simple") {
        ok = p.imprimeTicketSimple(venta);
    } else if (documento == u"nota") {
        ok = p.imprimeNota(venta);
    } else if (documento == u"presupuesto") {
        ok = p.imprimePresupuesto(venta);
    } else if (documento.startsWith(u"venta-pendiente")) {
        ok = p.imprimeVentaPendiente(venta);
    } else if (documento == u"devolucion") {
        DevolucionTicket d;
        d.folio = 77;
        d.lineas = {venta.lineas.at(1)};
        d.importe = venta.lineas.at(1).total;
        d.articulos = Decimal(1);
        d.fecha = relojTicket();
        ok = p.imprimeDevolucion(d);
    } else if (documento.startsWith(u"tiempo-aire")) {
        TiempoAireTicket t;
        t.folio = 501;
        t.fecha = QDateTime(QDate(2026, 3, 5), QTime(14, 6, 59));
        t.telefono = QStringLiteral("3312345678");
        t.monto = Decimal(100);
        t.transaccion = QStringLiteral("TX-889911");
        t.operacion = QStringLiteral("OP-4455");
        t.accion = QStringLiteral("APROBADA");
        t.verificacion = QStringLiteral("9F3A77C2");
        t.comentario = QStringLiteral("Vigencia de 30 días. Consulte términos y condiciones en la tienda o en el "
                                      "sitio del proveedor.");
        t.copia = documento == u"tiempo-aire-reversa";
        ok = documento == u"tiempo-aire" ? p.imprimeTiempoAire(t) : p.imprimeTiempoAireReversa(t);
    } else if (documento == u"movimiento-caja") {
        MovimientoCajaTicket m;
        m.corte = QStringLiteral("CAJA1-2026-3");
        m.movimiento = 1204;
        m.concepto = QStringLiteral("PAGO DE GARRAFÓN DE AGUA");
        m.importe = Decimal("1777.75"); // its words take two lines
        m.fecha = relojTicket();
        ok = p.imprimeMovimientoDeCaja(m);
    } else if (documento == u"corte-caja") {
        CorteTicket t;
        t.terminal = QStringLiteral("CAJA1");
        t.anio = 2026;
        t.numero = 3;
        t.fecha = relojTicket();
        t.usuario = QStringLiteral("CAJERO");
        t.articulos = Decimal("42.5");
        t.ventas = 17;
        t.devoluciones = 1;
        t.movimientos = {{QStringLiteral("IMPORTE INICIAL"), Decimal(500), true},
                         {QStringLiteral("PAGO DE GARRAFÓN DE AGUA"), Decimal("35.50"), false},
                         {QStringLiteral("VENTAS"), Decimal("3210.75"), true},
                         {QStringLiteral("DEVOLUCIONES"), Decimal("40.50"), false}};
        t.arqueo = {{Decimal(3), Decimal(500)}, {Decimal(5), Decimal(200)}, {Decimal(0), Decimal(100)},
                    {Decimal(12), Decimal("0.50")}};
        ok = p.imprimeCorteDeCaja(t);
    } else if (documento == u"pedido") {
        PedidoTicket t;
        t.numero = QStringLiteral("A1-2026-15");
        t.proveedor = QStringLiteral("Distribuidora Farmacéutica de Occidente");
        t.fechaSolicitud = relojTicket();
        t.lineas = {{QStringLiteral("7502000222"), QStringLiteral("Paracetamol 500mg c/20"), Decimal(24), Decimal(6)},
                    {QStringLiteral("7501000111"), QStringLiteral("Jabón Zote Rosa 400g"), Decimal(10), Decimal(0)}};
        ok = p.imprimePedido(t);
    } else if (documento == u"faltantes") {
        FaltantesTicket t;
        t.proveedor = QStringLiteral("Distribuidora Farmacéutica de Occidente");
        t.fecha = relojTicket();
        t.lineas = {{QStringLiteral("7502000222"), QStringLiteral("Paracetamol 500mg c/20 tabletas"), Decimal(24)},
                    {QStringLiteral("7501000111"), QStringLiteral("Jabón Zote Rosa 400g"), Decimal("2.5")}};
        ok = p.imprimeFaltantes(t);
    } else if (documento == u"codigo-barras") {
        ok = p.imprimeCodigoBarras(QStringLiteral("7501000111"));
    }
    QVERIFY2(ok, qPrintable(p.fallo().mensaje + u' ' + p.fallo().detalle));
    // The note goes on its own printer: no drawer, no cut, its own file.
    const QByteArray bytes = leeArchivo(documento == u"nota" ? archivoNota : archivo);
    QVERIFY(comparaGolden(documento, bytes, p.ultimoDocumento().textoPlano()));
    for (const QString &linea : p.ultimoDocumento().textoPlano().split(u'\n'))
        QVERIFY2(linea.size() <= DocumentoImpreso::kAncho, qPrintable(linea));
}

void tst_TicketPrinter::renglones_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("cantidad");
    QTest::addColumn<QString>("precio");
    QTest::addColumn<QString>("descuento");
    QTest::addColumn<QString>("referencia");
    QTest::addColumn<QStringList>("lineas");
    QTest::newRow("precio completo: una linea")
        << "Agua 1L" << "3" << "10" << "0" << "" << QStringList{"3   Agua 1L             $     30.00"};
    QTest::newRow("descuento: linea PUB antes")
        << "Agua 1L" << "3" << "10" << "10" << ""
        << QStringList{QStringLiteral("ART").leftJustified(13) + QStringLiteral("       $     30.00 PUB"),
                       "3   Agua 1L             $     27.00"};
    QTest::newRow("nombre cortado a 20")
        << "ABCDEFGHIJKLMNOPQRSTUVWXYZ" << "1" << "10" << "0" << ""
        << QStringList{"1   ABCDEFGHIJKLMNOPQRST$     10.00"};
    QTest::newRow("importe a sus ultimos 10")
        << "Bascula" << "1" << "1234567.89" << "0" << "" << QStringList{"1   Bascula             $234,567.89"};
    QTest::newRow("cantidad con decimales") << "Queso" << "0.25" << "120" << "0" << ""
                                            << QStringList{"0.25Queso               $     30.00"};
    QTest::newRow("referencia en su linea")
        << "Recarga" << "1" << "50" << "0" << "TEL 3312345678 AUTORIZACION 99887766 EXTRA"
        << QStringList{"1   Recarga             $     50.00", "TEL 3312345678 AUTORIZACION 99887766"};
}

void tst_TicketPrinter::renglones()
{
    QFETCH(QString, nombre);
    QFETCH(QString, cantidad);
    QFETCH(QString, precio);
    QFETCH(QString, descuento);
    QFETCH(QString, referencia);
    QFETCH(QStringList, lineas);
    // No database: the short ticket reads nothing.
    FixedConnectionProvider ninguna(nullptr);
    ScriptedPrompter prompter;
    SettingsStore settings(ruta("Mostrador.ini"));
    cConfigure config(ninguna, settings, prompter);
    config.setValue(QStringLiteral("IMPRESORA-EN-LINEA"), false);
    cString cadenas(&config);
    cTicketPrinter p(ninguna, config, cadenas);
    TicketVenta t;
    t.lineas = {renglon(QStringLiteral("ART"), nombre, qPrintable(cantidad), qPrintable(precio), qPrintable(descuento),
                        "0", referencia)};
    t.folio = 1;
    QVERIFY(p.imprimeTicketSimple(t));
    QStringList impresas = p.ultimoDocumento().textoPlano().split(u'\n');
    // The folio line first, the change line and the final line end last.
    QCOMPARE(impresas.takeFirst(), QStringLiteral("FOLIO     #         1"));
    impresas.removeLast();
    QVERIFY(impresas.takeLast().startsWith(QStringLiteral("CAMBIO")));
    QCOMPARE(impresas, lineas);
}

void tst_TicketPrinter::imagenDirecta()
{
    FixedConnectionProvider ninguna(nullptr);
    ScriptedPrompter prompter;
    SettingsStore settings(ruta("Mostrador.ini"));
    cConfigure config(ninguna, settings, prompter);
    const QString archivo = ruta("imagen.bin");
    configuraImpresora(config, archivo, ruta("nota.bin"));
    config.setValue(QStringLiteral("IMPRIME-ABRE-CAJON"), false);
    config.setValue(QStringLiteral("IMPRIME-CORTE-DE-PAGINA"), false);
    cString cadenas(&config);
    cTicketPrinter p(ninguna, config, cadenas);
    // As a script would: a picture between two lines.
    p.iniciaImpresionImpresoraRecibos();
    p.imprimeLinea(QStringLiteral("ANTES"));
    QCOMPARE(p.PrinterFile(), 1);
    p.imprimeImagen(QStringLiteral(":/no/existe.png"));
    p.imprimeLinea(QStringLiteral("DESPUÉS"));
    QVERIFY(p.terminaImpresion());
    QCOMPARE(p.PrinterFile(), 0);
    QCOMPARE(leeArchivo(archivo), QByteArray("\x1B@\x1Bt\x13"
                                             "ANTES\n<IMAGEN>\nDESPU\x90S\n"));
}

void tst_TicketPrinter::sinEncabezado()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    encabezadosTicket(c);
    c.execute(QStringLiteral("delete from tParametro where param_Tipo = 'RECINICIO'"));
    EstacionPrueba s(&c, ruta("Mostrador.ini"));
    configuraImpresora(s.config, ruta("t.bin"), ruta("n.bin"));
    cString cadenas(&s.config);
    cTicketPrinter p(s.provider, s.config, cadenas);
    p.setReloj(relojTicket);
    p.cargaValoresReportes();
    QCOMPARE(p.TotEncabezado(), 0);
    QCOMPARE(p.TotPie(), 3);
    QCOMPARE(p.RecPie(1), QStringLiteral("    GRACIAS POR SU COMPRA"));
    QVERIFY(p.imprimeTicket(ventaCompleta()));
    QVERIFY(p.ultimoDocumento().textoPlano().startsWith(QStringLiteral("FECHA:05/03/2026        HORA : 14:07\n")));
}

void tst_TicketPrinter::sinImpresoraEnLinea()
{
    // Without a printer online nothing goes out, not even to a port that could not be opened,
    // and nothing fails; the drawer still opens.
    FixedConnectionProvider ninguna(nullptr);
    ScriptedPrompter prompter;
    SettingsStore settings(ruta("Mostrador.ini"));
    cConfigure config(ninguna, settings, prompter);
    const QString cajon = ruta("cajon.bin");
    configuraImpresora(config, ruta("no/existe/ticket.bin"), ruta("n.bin"));
    config.setValue(QStringLiteral("IMPRESORA-EN-LINEA"), false);
    config.setValue(QStringLiteral("PUERTO-APERTURA-CAJON"), cajon);
    cString cadenas(&config);
    cTicketPrinter p(ninguna, config, cadenas);
    QVERIFY(p.imprimeTicketSimple(ventaCompleta()));
    QVERIFY(!p.fallo().hay());
    QCOMPARE(leeArchivo(cajon), QByteArray("\x1Bp0\x19\xFA\n"));

    // Online again, the port that cannot be opened is a failure told in plain Spanish.
    config.setValue(QStringLiteral("IMPRESORA-EN-LINEA"), true);
    QVERIFY(!p.imprimeTicketSimple(ventaCompleta()));
    QVERIFY(p.fallo().mensaje.startsWith(QStringLiteral("No fue posible escribir en ")));
}

void tst_TicketPrinter::encabezadoFueraDeRango()
{
    FixedConnectionProvider ninguna(nullptr);
    ScriptedPrompter prompter;
    SettingsStore settings(ruta("Mostrador.ini"));
    cConfigure config(ninguna, settings, prompter);
    cString cadenas(&config);
    cTicketPrinter p(ninguna, config, cadenas);
    QCOMPARE(p.RecEncabezado(0), QString());
    QCOMPARE(p.RecEncabezado(-5), QString());
    QCOMPARE(p.VPendPie(99), QString());
    QCOMPARE(p.SepEncabezado(), QString(36, u'='));
}

QTEST_GUILESS_MAIN(tst_TicketPrinter)
#include "tst_ticket_printer.moc"
