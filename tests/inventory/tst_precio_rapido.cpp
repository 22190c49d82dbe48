// The quick article entry: the tax box and its rate, amounts typed with tax, the checks and
// the article written with its defaults and normal row.
#include "PrecioFixture.h"
#include "PrecioRapido.h"

#include <QTest>

class tst_PrecioRapido : public QObject {
    Q_OBJECT
private slots:
    void impuesto_data();
    void impuesto();
    void rechazos_data();
    void rechazos();
    void alta_data() { TestDatabase::addEngineRows(); }
    void alta();
};

void tst_PrecioRapido::impuesto_data()
{
    QTest::addColumn<bool>("incluye");
    QTest::addColumn<QString>("tasa"); // ALTA-RAPIDA-IVA-PORCENTAJE; empty: the default
    QTest::addColumn<QString>("porcentaje");
    QTest::addColumn<QString>("precio");
    QTest::addColumn<QString>("total");
    QTest::newRow("incluye iva general") << true << "" << "16.00" << "100.00" << "116.00";
    QTest::newRow("frontera norte 8 %") << true << "8" << "8.00" << "107.41" << "116.00";
    QTest::newRow("sin iva") << false << "" << "0" << "116.00" << "116.00";
}

void tst_PrecioRapido::impuesto()
{
    QFETCH(bool, incluye);
    QFETCH(QString, tasa);
    QFETCH(QString, porcentaje);
    QFETCH(QString, precio);
    QFETCH(QString, total);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PrecioStation st(&db.connection());
    if (!tasa.isEmpty())
        st.config.setValue(QStringLiteral("ALTA-RAPIDA-IVA-PORCENTAJE"), tasa.toDouble());
    PrecioRapido r(st.provider, st.config, st.prompter, st.calculo);
    r.setIncluyeIva(incluye);
    QCOMPARE(r.impuestoPorcentaje(), porcentaje);
    QCOMPARE(st.config.getValue(QStringLiteral("ALTA-RAPIDA-PRECIO-INCLUYE-IVA")).toBool(), incluye);
    r.salePrecio(QStringLiteral("116"));
    r.saleCosto(QStringLiteral("58"));
    QCOMPARE(r.precioVenta(), precio);
    QCOMPARE(r.precio().total.format(QStringLiteral("0.00")), total);
    // The box's state is what the next entry starts with.
    PrecioRapido siguiente(st.provider, st.config, st.prompter, st.calculo);
    QCOMPARE(siguiente.incluyeIva(), incluye);
}

void tst_PrecioRapido::rechazos_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("departamento");
    QTest::addColumn<QString>("precio");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("campo");
    QTest::newRow("nombre") << "7501" << "" << "FARM" << "10" << "Debe indicar un nombre" << "art_Nombre";
    QTest::newRow("departamento") << "7501" << "X" << "" << "10" << "Debe indicar el departamento" << "tart_Clave";
    QTest::newRow("precio") << "7501" << "X" << "FARM" << "" << "Debe indicar el precio de venta" << "art_Importe";
    QTest::newRow("precio cero") << "7501" << "X" << "FARM" << "0" << "Debe indicar el precio de venta" << "art_Importe";
    QTest::newRow("departamento inexistente") << "7501" << "X" << "ROPA" << "10" << "El departamento no existe"
                                              << "tart_Clave";
    QTest::newRow("clave existente") << "CAJA" << "X" << "FARM" << "10"
                                     << "La clave ya esta en uso para el siguiente articulo: Caja" << "art_Clave";
}

void tst_PrecioRapido::rechazos()
{
    QFETCH(QString, clave);
    QFETCH(QString, nombre);
    QFETCH(QString, departamento);
    QFETCH(QString, precio);
    QFETCH(QString, mensaje);
    QFETCH(QString, campo);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    catalogosDePrecio(db.connection());
    db.connection().execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre) values ('CAJA', 'Caja')"));
    PrecioStation st(&db.connection());
    PrecioRapido r(st.provider, st.config, st.prompter, st.calculo);
    r.clave = clave;
    r.nombre = nombre;
    r.departamento = departamento;
    r.salePrecio(precio);
    QVERIFY(!r.guardaDatos());
    QCOMPARE(st.prompter.texts(), QStringList{mensaje});
    QCOMPARE(r.campoRechazado(), campo);
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tArticulo")).toInt(), 1);
}

void tst_PrecioRapido::alta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    catalogosDePrecio(c);
    PrecioStation st(&c);
    st.config.setValue(QStringLiteral("PROVEEDOR-PREFERENTE"), QStringLiteral("NADRO"));
    PrecioRapido r(st.provider, st.config, st.prompter, st.calculo);
    r.clave = QStringLiteral("7501234567895");
    r.nombre = QStringLiteral("GALLETAS MARIAS 170 G");
    r.departamento = QStringLiteral("ABAR");
    r.setIncluyeIva(true);
    r.saleCosto(QStringLiteral("11.60"));
    r.salePrecio(QStringLiteral("17.40"));
    QVERIFY2(r.guardaDatos(), qPrintable(st.prompter.texts().join(u'|')));
    db::Recordset a = c.openRecordset(QStringLiteral("select * from tArticulo where art_Clave = '7501234567895'"));
    QCOMPARE(a.decimal(QStringLiteral("art_Costo")), Decimal(10));
    QCOMPARE(a.decimal(QStringLiteral("art_Importe")), Decimal(15));
    QCOMPARE(a.decimal(QStringLiteral("art_Margen")), Decimal(5));
    QCOMPARE(a.decimal(QStringLiteral("art_IVA")), Decimal("2.4"));
    QCOMPARE(a.decimal(QStringLiteral("art_Total")), Decimal("17.4"));
    const QStringList columnas = {"eart_Clave", "cambio_Clave", "prov_Clave", "prov_ClaveAct", "tres_Clave",
                                  "mej_Clave",  "art_Separar",  "art_Acumular", "cad_Clave", "ref_Clave",
                                  "art_VenderAbajoDelCosto", "cinv_Clave", "art_ActOfertas", "art_ActLista",
                                  "art_Granel", "art_Ensamble"};
    QStringList valores;
    for (const QString &col : columnas)
        valores << a.text(col);
    QCOMPARE(valores, (QStringList{"REGISTRADO", "PUBLICO", "NADRO", "NADRO", "V", "SI", "N", "N", "NO", "NO", "SI",
                                   "LIBRE", "NO", "NO", "SI", "NO"}));
    QCOMPARE(Decimal::fromVariant(c.scalar(QStringLiteral("select precio_Total from tArticuloPrecio where art_Clave = '7501234567895' and "
                                     "tprecio_Clave = 'NORMAL' and precio_Clave = 1"))),
             Decimal("17.4"));
}

QTEST_GUILESS_MAIN(tst_PrecioRapido)
#include "tst_precio_rapido.moc"
