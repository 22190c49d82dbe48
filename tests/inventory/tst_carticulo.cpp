// Event scripts reading an article: by key and by barcode, its data, and a client type's price.
#include "PrecioFixture.h"
#include "cArticulo.h"

#include <QTest>

class tst_cArticulo : public QObject {
    Q_OBJECT
private slots:
    void script_data() { TestDatabase::addEngineRows(); }
    void script();
};

void tst_cArticulo::script()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    catalogosDePrecio(c);
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, tart_Clave, cambio_Clave, art_Costo, "
                             "art_Importe, art_Descuento, art_SubTotal, art_Margen, art_IVAPorc, art_IVA, art_Total) "
                             "values ('A1', 'JABON NEUTRO', 'ABAR', 'PUBLICO', 10, 20, 0, 20, 10, 16, 3.2, 23.2)"));
    c.execute(QStringLiteral("insert into tArticuloCodigo (acod_Codigo, art_Clave) values ('7500000000017', 'A1')"));
    c.execute(QStringLiteral("insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, precio_Importe, "
                             "precio_IVAPorc) values ('A1', 'LISTA', 2, 15, 16)"));
    PrecioStation st(&c);
    cArticulo articulo(st.provider, st.prompter, st.calculo);
    st.code.addObject(QStringLiteral("xArt"), &articulo);
    const QString texto = QStringLiteral(
        "If xArt.Search(\"NOEXISTE\") Then Err.Raise 5\n"
        "If Not xArt.Search(\"7500000000017\") Then Err.Raise 6\n"
        "If xArt.Clave <> \"A1\" Or xArt.Nombre <> \"JABON NEUTRO\" Then Err.Raise 7\n"
        "If xArt.Total <> 23.2 Then Err.Raise 8\n"
        "If Not xArt.PrecioCliente(\"LISTA2\") Then Err.Raise 9\n"
        "If xArt.TipoPrecio <> \"LISTA\" Or xArt.Total <> 17.4 Or xArt.Margen <> 5 Then Err.Raise 10\n"
        "If xArt.PrecioCliente(\"LISTA3\") Then Err.Raise 11\n");
    QVERIFY2(st.code.executeText(QStringLiteral("prueba"), texto), qPrintable(st.code.lastError()));
    QCOMPARE(st.prompter.texts(), QStringList{"El articulo no esta catalogado para la lista 3"});
}

QTEST_GUILESS_MAIN(tst_cArticulo)
#include "tst_carticulo.moc"
