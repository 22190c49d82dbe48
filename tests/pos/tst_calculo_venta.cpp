#include "CalculoVenta.h"

#include <QTest>

namespace {

ReglaRedondeo regla(const char *paso, bool medio)
{
    return {true, Decimal(paso), medio};
}

LineaVenta linea(const char *precio, const char *descuento, const char *iva, const char *cantidad,
                 const ReglaRedondeo &r = {})
{
    LineaVenta l;
    l.clave = QStringLiteral("A");
    l.precio = Decimal(precio);
    l.descuento = Decimal(descuento);
    l.iva = Decimal(iva);
    l.cantidad = Decimal(cantidad);
    CalculoVenta::calculaLinea(l, r);
    return l;
}

} // namespace

class tst_CalculoVenta : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void redondea_data();
    void redondea();
    void calculaLinea_data();
    void calculaLinea();
    void redondeoDeVentaApagado();
    void redondeoDeVentaEncendido();
    void impuestoEnDinero();
    void descuentoDelCliente();
    void comision_data();
    void comision();
    void comisionDesconocida();
    void pagoTexto();
    void estadoDelPago_data();
    void estadoDelPago();
};

void tst_CalculoVenta::redondea_data()
{
    QTest::addColumn<Decimal>("valor");
    QTest::addColumn<Decimal>("paso");
    QTest::addColumn<bool>("medio");
    QTest::addColumn<Decimal>("esperado");
    QTest::newRow("siempre al siguiente paso") << Decimal("12.10") << Decimal("0.50") << false << Decimal("12.50");
    QTest::newRow("medio: al paso de abajo") << Decimal("12.10") << Decimal("0.50") << true << Decimal("12.00");
    QTest::newRow("medio: al paso de arriba") << Decimal("12.30") << Decimal("0.50") << true << Decimal("12.50");
    QTest::newRow("medio: justo a la mitad sube") << Decimal("12.25") << Decimal("0.50") << true << Decimal("12.50");
    QTest::newRow("ya en un paso") << Decimal("12.50") << Decimal("0.50") << false << Decimal("12.50");
    QTest::newRow("entero") << Decimal("12") << Decimal("0.50") << false << Decimal("12");
    QTest::newRow("paso de un peso") << Decimal("12.01") << Decimal("1") << false << Decimal("13");
    QTest::newRow("paso de cinco centavos") << Decimal("1.01") << Decimal("0.05") << false << Decimal("1.05");
    QTest::newRow("paso de diez centavos, medio") << Decimal("1.04") << Decimal("0.10") << true << Decimal("1.00");
    QTest::newRow("paso cero: sin cambio") << Decimal("12.10") << Decimal("0") << false << Decimal("12.10");
    QTest::newRow("negativo como su valor absoluto") << Decimal("-12.10") << Decimal("0.50") << false
                                                     << Decimal("-12.50");
    QTest::newRow("la linea del ejemplo") << Decimal("310.10") << Decimal("0.50") << false << Decimal("310.50");
    QTest::newRow("la linea del ejemplo, medio") << Decimal("310.10") << Decimal("0.50") << true
                                                 << Decimal("310.00");
}

void tst_CalculoVenta::redondea()
{
    QFETCH(Decimal, valor);
    QFETCH(Decimal, paso);
    QFETCH(bool, medio);
    QFETCH(Decimal, esperado);
    QCOMPARE(CalculoVenta::redondea(valor, paso, medio), esperado);
    QCOMPARE(CalculoVenta::redondea(valor, ReglaRedondeo{false, paso, medio}), valor);
}

void tst_CalculoVenta::calculaLinea_data()
{
    QTest::addColumn<LineaVenta>("l");
    QTest::addColumn<Decimal>("importe");
    QTest::addColumn<Decimal>("total");
    QTest::newRow("precio 100, descuento 10, iva 15, tres") << linea("100", "10", "15", "3") << Decimal("103.50")
                                                           << Decimal("310.50");
    QTest::newRow("el precio a dos decimales antes de multiplicar")
        << linea("0.333", "0", "0", "3") << Decimal("0.33") << Decimal("0.99");
    QTest::newRow("iva 16 redondeado a centavos") << linea("9.99", "0", "16", "3") << Decimal("11.59")
                                                  << Decimal("34.77");
    QTest::newRow("granel") << linea("20", "0", "0", "1.255") << Decimal("20") << Decimal("25.10");
    QTest::newRow("redondeo por articulo") << linea("310.10", "0", "0", "1", regla("0.50", false))
                                           << Decimal("310.10") << Decimal("310.50");
    QTest::newRow("redondeo por articulo, medio")
        << linea("310.10", "0", "0", "1", regla("0.50", true)) << Decimal("310.10") << Decimal("310.00");
    QTest::newRow("descuento total") << linea("50", "100", "16", "2") << Decimal("0") << Decimal("0");
}

void tst_CalculoVenta::calculaLinea()
{
    QFETCH(LineaVenta, l);
    QFETCH(Decimal, importe);
    QFETCH(Decimal, total);
    QCOMPARE(l.importe, importe);
    QCOMPARE(l.total, total);
}

void tst_CalculoVenta::redondeoDeVentaApagado()
{
    // Without sale rounding, the rounding shown is what the line rule added, line by line.
    const ReglaRedondeo r = regla("0.50", false);
    const QList<LineaVenta> ls{linea("310.10", "0", "0", "1", r), linea("12.30", "0", "0", "1", r),
                               linea("100", "10", "16", "1", r)};
    const TotalesVenta t = CalculoVenta::calculaGrid(ls, r, {}, {}, false);
    QCOMPARE(t.articulos, Decimal(3));
    QCOMPARE(t.importe, Decimal("310.50") + Decimal("12.50") + Decimal("104.50"));
    QCOMPARE(t.neto, Decimal("310.10") + Decimal("12.30") + Decimal("104.40"));
    QCOMPARE(t.redondeo, Decimal("0.40") + Decimal("0.20") + Decimal("0.10"));
    QCOMPARE(t.bruto, Decimal("310.10") + Decimal("12.30") + Decimal("116"));
    QCOMPARE(t.descuentoLineas, t.bruto - t.importe);
    QCOMPARE(t.total, t.importe);
}

void tst_CalculoVenta::redondeoDeVentaEncendido()
{
    const QList<LineaVenta> ls{linea("10", "0", "16", "3"), linea("2.10", "0", "0", "1")};
    // Totals 34.80 + 2.10 = 36.90 go up to the next peso.
    const TotalesVenta t = CalculoVenta::calculaGrid(ls, {}, regla("1", false), {}, false);
    QCOMPARE(t.importe, Decimal(37));
    QCOMPARE(t.redondeo, Decimal("0.10"));
    QCOMPARE(t.bruto, Decimal(37));
    QCOMPARE(t.descuentoLineas, Decimal(0));
    QCOMPARE(t.total, Decimal(37));

    // Asked to re-apply the line rule, each line total is rounded before it is added.
    const ReglaRedondeo r = regla("0.50", false);
    LineaVenta sinRedondear = linea("2.10", "0", "0", "1");
    const TotalesVenta u = CalculoVenta::calculaGrid({sinRedondear}, r, {}, {}, true);
    QCOMPARE(u.importe, Decimal("2.50"));
    QCOMPARE(u.redondeo, Decimal("0.40"));
}

void tst_CalculoVenta::impuestoEnDinero()
{
    // Three articles of 10 + 16 %: the tax is 4.80 in money (not 3 × 16).
    const QList<LineaVenta> ls{linea("10", "0", "16", "3"), linea("100", "0", "8", "1"), linea("50", "0", "0", "2"),
                               linea("5", "0", "16", "2")};
    const TotalesVenta t = CalculoVenta::calculaGrid(ls, {}, {}, {}, false);
    QCOMPARE(t.impuestoPorTasa.size(), 3);
    QCOMPARE(t.impuestoPorTasa.value(Decimal(16)), (ImpuestoTasa{Decimal("40.00"), Decimal("6.40")}));
    QCOMPARE(t.impuestoPorTasa.value(Decimal(8)), (ImpuestoTasa{Decimal("100.00"), Decimal("8.00")}));
    QCOMPARE(t.impuestoPorTasa.value(Decimal(0)), (ImpuestoTasa{Decimal("100.00"), Decimal("0")}));
    QCOMPARE(t.impuesto, Decimal("14.40"));
    // Base and tax add up to what is charged.
    Decimal suma;
    for (const ImpuestoTasa &i : t.impuestoPorTasa)
        suma += i.base + i.importe;
    QCOMPARE(suma, t.importe);
}

void tst_CalculoVenta::descuentoDelCliente()
{
    const TotalesVenta t =
        CalculoVenta::calculaGrid({linea("33.33", "0", "0", "1")}, {}, {}, Decimal("10"), false);
    QCOMPARE(t.descuentoCliente, Decimal(10));
    QCOMPARE(t.importe, Decimal("33.33"));
    QCOMPARE(t.total, Decimal("30.00")); // 29.997 shown as "0.00"
}

void tst_CalculoVenta::comision_data()
{
    QTest::addColumn<QString>("metodo");
    QTest::addColumn<Decimal>("minimo");
    QTest::addColumn<QList<LineaVenta>>("antes");
    QTest::addColumn<QList<Decimal>>("precios");
    QTest::addColumn<QList<Decimal>>("descuentos");
    QTest::addColumn<QList<Decimal>>("importes");
    const QList<LineaVenta> dos{linea("100", "0", "16", "1"), linea("100", "10", "16", "1")};
    QTest::newRow("A: sin descuento sube el precio, con descuento baja el descuento")
        << "A" << Decimal(5) << dos << QList<Decimal>{Decimal("103"), Decimal("100")}
        << QList<Decimal>{Decimal(0), Decimal("7.30")} << QList<Decimal>{Decimal("119.48"), Decimal("107.53")};
    QTest::newRow("D: solo las lineas con el descuento minimo")
        << "Descuento" << Decimal(5) << dos << QList<Decimal>{Decimal("100"), Decimal("100")}
        << QList<Decimal>{Decimal(0), Decimal("7.30")} << QList<Decimal>{Decimal("116"), Decimal("107.53")};
    QTest::newRow("D: un descuento que quedaria negativo queda en cero")
        << "D" << Decimal(1) << QList<LineaVenta>{linea("100", "1", "0", "1")} << QList<Decimal>{Decimal("100")}
        << QList<Decimal>{Decimal(0)} << QList<Decimal>{Decimal("100")};
    QTest::newRow("A: el descuento negativo queda como recargo")
        << "A" << Decimal(5) << QList<LineaVenta>{linea("100", "1", "0", "1")} << QList<Decimal>{Decimal("100")}
        << QList<Decimal>{Decimal("-1.97")} << QList<Decimal>{Decimal("101.97")};
    QTest::newRow("A: precio cero no cambia") << "a" << Decimal(5) << QList<LineaVenta>{linea("0", "10", "16", "1")}
                                              << QList<Decimal>{Decimal(0)} << QList<Decimal>{Decimal(10)}
                                              << QList<Decimal>{Decimal(0)};
    QTest::newRow("C: una linea del concepto por el importe menos el redondeo")
        << "C" << Decimal(5) << dos << QList<Decimal>{Decimal("100"), Decimal("100"), Decimal("6.61")}
        << QList<Decimal>{Decimal(0), Decimal(10), Decimal(0)}
        << QList<Decimal>{Decimal("116"), Decimal("104.40"), Decimal("6.61")};
}

void tst_CalculoVenta::comision()
{
    QFETCH(QString, metodo);
    QFETCH(Decimal, minimo);
    QFETCH(QList<LineaVenta>, antes);
    QFETCH(QList<Decimal>, precios);
    QFETCH(QList<Decimal>, descuentos);
    QFETCH(QList<Decimal>, importes);
    QList<LineaVenta> ls = antes;
    const TotalesVenta t = CalculoVenta::calculaGrid(ls, {}, {}, {}, false);
    QVERIFY(CalculoVenta::aplicaPorcentaje(ls, metodo, QStringLiteral("COMISION"), Decimal(3), t, minimo, {}));
    QCOMPARE(ls.size(), precios.size());
    for (qsizetype i = 0; i < ls.size(); ++i) {
        QCOMPARE(ls.at(i).precio, precios.at(i));
        QCOMPARE(ls.at(i).descuento, descuentos.at(i));
        QCOMPARE(ls.at(i).importe, importes.at(i));
        QCOMPARE(ls.at(i).total, (ls.at(i).importe * ls.at(i).cantidad).round(2));
    }
    if (ls.size() > antes.size()) {
        QCOMPARE(ls.last().clave, QStringLiteral("COMISION"));
        QCOMPARE(ls.last().nombre, QStringLiteral("COMISION"));
        QCOMPARE(ls.last().cantidad, Decimal(1));
        QCOMPARE(ls.last().tipoPrecio, QStringLiteral("N"));
    }
}

void tst_CalculoVenta::comisionDesconocida()
{
    QList<LineaVenta> ls{linea("100", "10", "16", "1")};
    const QList<LineaVenta> antes = ls;
    for (const QString &m : {QString(), QStringLiteral("X"), QStringLiteral(" ")})
        QVERIFY(!CalculoVenta::aplicaPorcentaje(ls, m, QStringLiteral("COMISION"), Decimal(3), {}, {}, {}));
    QCOMPARE(ls, antes);
}

void tst_CalculoVenta::pagoTexto()
{
    PagoVenta p;
    p.tipo = QStringLiteral("EXTRANJERA");
    p.importe = Decimal("135");
    p.moneda = QStringLiteral("USD");
    p.importeMoneda = Decimal("10");
    p.tipoCambio = Decimal("13.5");
    p.referencia = QStringLiteral("ref con espacio");
    const QString t = p.texto();
    QCOMPARE(t.count(u'\t'), 10);
    QCOMPARE(t.section(u'\t', 8, 8), QStringLiteral("13.5"));
    bool ok = false;
    QCOMPARE(PagoVenta::deTexto(t, &ok), p);
    QVERIFY(ok);

    // A short line keeps its trailing fields empty; a field that is no number is flagged.
    const PagoVenta corto = PagoVenta::deTexto(QStringLiteral("EFECTIVO\t50"), &ok);
    QVERIFY(ok);
    QCOMPARE(corto.importe, Decimal(50));
    QVERIFY(corto.referenciaAdic.isEmpty());
    PagoVenta::deTexto(QStringLiteral("EFECTIVO\tcincuenta"), &ok);
    QVERIFY(!ok);
}

void tst_CalculoVenta::estadoDelPago_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("estado");
    QTest::newRow("efectivo") << "EFECTIVO" << "PAGADO";
    QTest::newRow("extranjera") << "EXTRANJERA" << "PAGADO";
    QTest::newRow("credito") << "CREDITO" << "COBRANZA";
    QTest::newRow("cheque") << "CHEQUE" << "REGISTRADO";
    QTest::newRow("tarjeta") << "TARJETA" << "REGISTRADO";
    QTest::newRow("vales") << "VALES" << "REGISTRADO";
}

void tst_CalculoVenta::estadoDelPago()
{
    QFETCH(QString, tipo);
    QFETCH(QString, estado);
    QCOMPARE(PagoVenta::estadoInicial(tipo), estado);
}

QTEST_GUILESS_MAIN(tst_CalculoVenta)
#include "tst_calculo_venta.moc"
