// The price calculation: every built-in method with the worked figures and the zero guards,
// and user methods run as event scripts, on both engines.
#include "PrecioFixture.h"

#include <QTest>

class tst_Precio : public QObject {
    Q_OBJECT
private slots:
    void calcula_data();
    void calcula();
    void fueraDeRango();
    void entradas_data();
    void entradas();
    void script_data();
    void script();
};

void tst_Precio::calcula_data()
{
    QTest::addColumn<QString>("metodo");
    QTest::addColumn<Precio>("entrada");
    QTest::addColumn<QString>("margenOUtilidad"); // the method's input besides the record's
    QTest::addColumn<Precio>("esperado");

    const auto p = [](const char *costo, const char *publico, const char *descuento, const char *subTotal,
                      const char *margen, const char *utilidad, const char *ivaPorc, const char *iva,
                      const char *total) {
        Precio r;
        r.costo = Decimal(costo);
        r.publico = Decimal(publico);
        r.descuento = Decimal(descuento);
        r.subTotal = Decimal(subTotal);
        r.margen = Decimal(margen);
        r.utilidad = Decimal(utilidad);
        r.impuestoPorcentaje = Decimal(ivaPorc);
        r.impuestoImporte = Decimal(iva);
        r.total = Decimal(total);
        return r;
    };
    const Precio fijo = precioDe("60", "100", "10", "15");
    const Precio fijoEsperado = p("60", "100", "10", "90", "30", "50", "15", "13.5", "103.5");
    QTest::newRow("fijo: publico con descuento") << "FIJO" << fijo << "" << fijoEsperado;
    QTest::newRow("publico: lo mismo que fijo") << "PUBLICO" << fijo << "" << fijoEsperado;
    QTest::newRow("sin metodo: como fijo") << "" << fijo << "" << fijoEsperado;
    QTest::newRow("metodo en minusculas") << "publico" << fijo << "" << fijoEsperado;
    QTest::newRow("iva 16 %") << "PUBLICO" << precioDe("60", "100", "0", "16") << ""
                              << p("60", "100", "0", "100", "40", "66.666667", "16", "16", "116");
    QTest::newRow("fijo con costo cero: utilidad 0") << "FIJO" << precioDe("0", "100", "0", "15") << ""
                                                     << p("0", "100", "0", "100", "100", "0", "15", "15", "115");
    QTest::newRow("publico cero: utilidad 0, margen negativo") << "PUBLICO" << precioDe("50", "0", "0", "16") << ""
                                                               << p("50", "0", "0", "0", "-50", "0", "16", "0", "0");
    QTest::newRow("margen") << "MARGEN" << precioDe("60", "999", "5", "15") << "m30"
                            << p("60", "90", "0", "90", "30", "50", "15", "13.5", "103.5");
    QTest::newRow("margen con costo cero") << "MARGEN" << precioDe("0", "1", "0", "0") << "m30"
                                           << p("0", "30", "0", "30", "30", "0", "0", "0", "30");
    QTest::newRow("utilidad") << "UTILIDAD" << precioDe("80", "1", "7", "0") << "u25"
                              << p("80", "100", "0", "100", "20", "25", "0", "0", "100");
    QTest::newRow("financiero") << "FINANCIERO" << precioDe("80", "125", "0", "0") << "u25"
                                << p("80", "125", "20", "100", "20", "25", "0", "0", "100");
    QTest::newRow("financiero con descuento negativo: como publico")
        << "FINANCIERO" << precioDe("80", "90", "3", "0") << "u25"
        << p("80", "90", "0", "90", "10", "12.5", "0", "0", "90");
    QTest::newRow("financiero con publico cero: sin descuento")
        << "FINANCIERO" << precioDe("80", "0", "3", "10") << "u25"
        << p("80", "0", "0", "100", "20", "25", "10", "10", "110");
}

void tst_Precio::calcula()
{
    QFETCH(QString, metodo);
    QFETCH(Precio, entrada);
    QFETCH(QString, margenOUtilidad);
    QFETCH(Precio, esperado);
    if (margenOUtilidad.startsWith(u'm'))
        entrada.margen = Decimal(margenOUtilidad.mid(1));
    if (margenOUtilidad.startsWith(u'u'))
        entrada.utilidad = Decimal(margenOUtilidad.mid(1));
    const CalculoPrecio calculo;
    QVERIFY(calculo.calculaPrecio(metodo, entrada));
    QCOMPARE(entrada.publico, esperado.publico);
    QCOMPARE(entrada.descuento, esperado.descuento);
    QCOMPARE(entrada.subTotal, esperado.subTotal);
    QCOMPARE(entrada.margen, esperado.margen);
    QCOMPARE(entrada.utilidad, esperado.utilidad);
    QCOMPARE(entrada.impuestoImporte, esperado.impuestoImporte);
    QCOMPARE(entrada.total, esperado.total);
    QCOMPARE(entrada.costo, esperado.costo);
}

void tst_Precio::fueraDeRango()
{
    // A figure that does not fit leaves the record as it was instead of wrapping.
    Precio p = precioDe("9000000000000", "1", "0", "0");
    p.utilidad = Decimal("9000000000000");
    const Precio antes = p;
    QVERIFY(!CalculoPrecio().calculaPrecio(QStringLiteral("UTILIDAD"), p));
    QCOMPARE(p, antes);
    // A user method without a script host cannot run.
    QVERIFY(!CalculoPrecio().calculaPrecio(QStringLiteral("REDONDEO"), p));
    QCOMPARE(p, antes);
}

void tst_Precio::entradas_data()
{
    QTest::addColumn<QString>("metodo");
    QTest::addColumn<QList<Cifra>>("campos");
    QTest::newRow("publico") << "PUBLICO" << QList<Cifra>{Cifra::Publico};
    QTest::newRow("fijo") << "FIJO" << QList<Cifra>{Cifra::Publico};
    QTest::newRow("margen") << "MARGEN" << QList<Cifra>{Cifra::Margen};
    QTest::newRow("utilidad") << "UTILIDAD" << QList<Cifra>{Cifra::Utilidad};
    QTest::newRow("financiero") << "FINANCIERO" << QList<Cifra>{Cifra::Utilidad, Cifra::Publico};
    QTest::newRow("de la tienda: ninguno") << "REDONDEO" << QList<Cifra>{};
}

void tst_Precio::entradas()
{
    QFETCH(QString, metodo);
    QFETCH(QList<Cifra>, campos);
    QCOMPARE(CalculoPrecio::entradas(metodo), campos);
}

void tst_Precio::script_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("texto");  // empty: no script row
    QTest::addColumn<bool>("activo");
    QTest::addColumn<bool>("cambia");
    for (const QString &engine : TestDatabase::engines()) {
        // Descuento and Margen reach the script but do not come back.
        TestDatabase::newRow(engine, "cambia el precio")
            << QStringLiteral("If CambioPrecio.Value <> \"DOBLE\" Then Err.Raise 5\n"
                              "Publico.Value = Costo.Value * 2\nSubTotal.Value = Publico.Value\n"
                              "ImpuestoImporte.Value = SubTotal.Value * ImpuestoPorcentaje.Value / 100\n"
                              "Total.Value = SubTotal.Value + ImpuestoImporte.Value\nUtilidad.Value = 100\n"
                              "Descuento.Value = 99\nMargen.Value = 77")
            << true << true;
        TestDatabase::newRow(engine, "falla: division entre cero") << QStringLiteral("x = 1 / 0") << true << false;
        TestDatabase::newRow(engine, "devuelve texto") << QStringLiteral("Total.Value = \"caro\"") << true << false;
        TestDatabase::newRow(engine, "sin script") << QString() << true << false;
        TestDatabase::newRow(engine, "script inactivo") << QStringLiteral("Publico.Value = 1") << false << false;
    }
}

void tst_Precio::script()
{
    QFETCH(QString, engine);
    QFETCH(QString, texto);
    QFETCH(bool, activo);
    QFETCH(bool, cambia);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    if (!texto.isEmpty())
        db.connection().execute(QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, "
                                               "codigo_Activo) values ('ONCHANGEPRICE_DOBLE', 'Doble', ?, ?)"),
                                {texto, activo ? QStringLiteral("S") : QStringLiteral("N")});
    PrecioStation st(&db.connection());
    Precio p = precioDe("40.5", "100", "10", "16");
    p.margen = Decimal(3);
    const Precio antes = p;
    const bool calculado = st.calculo.calculaPrecio(QStringLiteral("DOBLE"), p);
    QVERIFY2(calculado == cambia, qPrintable(st.code.lastError()));
    if (!cambia) {
        QCOMPARE(p, antes);
        return;
    }
    QCOMPARE(p.publico, Decimal("81"));
    QCOMPARE(p.subTotal, Decimal("81"));
    QCOMPARE(p.impuestoImporte, Decimal("12.96"));
    QCOMPARE(p.total, Decimal("93.96"));
    QCOMPARE(p.utilidad, Decimal("100"));
    QCOMPARE(p.descuento, Decimal("10"));
    QCOMPARE(p.margen, Decimal("3"));
}

QTEST_GUILESS_MAIN(tst_Precio)
#include "tst_precio.moc"
