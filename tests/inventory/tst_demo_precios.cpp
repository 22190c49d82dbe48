// The demo store and the generated catalogue as the price logic sees them: every stored breakdown
// is what the price calculation gives from its method's inputs, shown as "0.00", and each client
// type of the demo finds its price.

#include "ArticleGenerator.h"
#include "DemoData.h"
#include "PrecioFixture.h"
#include "PreciosArticulo.h"

#include <QTest>

namespace {

struct Renglon {
    QString donde;
    QString metodo;
    Precio guardado;
};

// The method's inputs alone: what the editor's user typed.
Precio entradas(const QString &metodo, const Precio &g)
{
    Precio p;
    p.costo = g.costo;
    p.impuestoPorcentaje = g.impuestoPorcentaje;
    if (metodo == u"MARGEN") {
        p.margen = g.margen;
    } else if (metodo == u"UTILIDAD") {
        p.utilidad = g.utilidad;
    } else if (metodo == u"FINANCIERO") {
        p.utilidad = g.utilidad;
        p.publico = g.publico;
    } else {
        p.publico = g.publico;
        p.descuento = g.descuento;
    }
    return p;
}

QList<Renglon> renglones(db::Connection &c)
{
    QList<Renglon> out;
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select * from tArticulo")); !rs.eof();
         rs.moveNext())
        out.append({rs.text("art_Clave"), rs.text("cambio_Clave"),
                    Precio{rs.decimal("art_Costo"), rs.decimal("art_Importe"), rs.decimal("art_Descuento"),
                           rs.decimal("art_SubTotal"), rs.decimal("art_Margen"), rs.decimal("art_Utilidad"),
                           rs.decimal("art_IVAPorc"), rs.decimal("art_IVA"), rs.decimal("art_Total")}});
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select * from tArticuloPrecio")); !rs.eof();
         rs.moveNext())
        out.append(
            {rs.text("art_Clave") + u' ' + rs.text("tprecio_Clave") + u' ' + rs.text("precio_Clave"),
             rs.text("cambio_Clave"),
             Precio{rs.decimal("art_Costo"), rs.decimal("precio_Importe"), rs.decimal("precio_Descuento"),
                    rs.decimal("precio_SubTotal"), rs.decimal("precio_Margen"), rs.decimal("precio_Utilidad"),
                    rs.decimal("precio_IVAPorc"), rs.decimal("precio_IVA"), rs.decimal("precio_Total")}});
    return out;
}

QString texto(const Precio &p)
{
    QStringList v;
    for (const Decimal &d : {p.costo, p.publico, p.descuento, p.subTotal, p.margen, p.utilidad,
                             p.impuestoPorcentaje, p.impuestoImporte, p.total})
        v << d.toString();
    return v.join(u' ');
}

QString primero(db::Connection &c, const QString &sql)
{
    return c.scalar(sql).toString();
}

} // namespace

class tst_DemoPrecios : public QObject {
    Q_OBJECT
private slots:
    void comoLaCalculaElEditor_data() { TestDatabase::addEngineRows(); }
    void comoLaCalculaElEditor();
    void tiposDeCliente_data() { TestDatabase::addEngineRows(); }
    void tiposDeCliente();
};

void tst_DemoPrecios::comoLaCalculaElEditor()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    db::DemoData::populate(c);
    db::ArticleGenerator::generate(c, 500);
    const CalculoPrecio calculo;
    const QList<Renglon> todos = renglones(c);
    QVERIFY(todos.size() > 2 * 830);
    for (const Renglon &r : todos) {
        Precio p = entradas(r.metodo, r.guardado);
        QVERIFY2(calculo.calculaPrecio(r.metodo, p), qPrintable(r.donde));
        QVERIFY2(p.redondeado() == r.guardado,
                 qPrintable(r.donde + u' ' + r.metodo + QStringLiteral(": guardado ") + texto(r.guardado) +
                            QStringLiteral(", calculado ") + texto(p.redondeado())));
    }
}

void tst_DemoPrecios::tiposDeCliente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    db::DemoData::populate(c);
    PrecioStation st(&c);
    PreciosArticulo precios(st.provider, st.prompter, st.calculo);

    // The public: of the articles with offers, exactly one sells at its offer today.
    int enOferta = 0;
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select distinct art_Clave from tArticuloPrecio "
                                                           "where tprecio_Clave = 'OFERTA'"));
         !rs.eof(); rs.moveNext()) {
        const auto r = precios.obtenPrecioCliente(rs.text("art_Clave"), QStringLiteral("SYS"));
        QVERIFY(r.has_value());
        enOferta += r->tipoPrecio == u"OFERTA";
    }
    QCOMPARE(enOferta, 1);

    // Wholesale: list 2 for groceries, nothing for a medicine.
    const QString abarrote =
        primero(c, QStringLiteral("select min(art_Clave) from tArticulo where tart_Clave = 'ABARROTES' "
                                  "and art_Ensamble = 'NO'"));
    auto r = precios.obtenPrecioCliente(abarrote, QStringLiteral("MAYOREO"));
    QVERIFY(r.has_value());
    QCOMPARE(r->tipoPrecio, QStringLiteral("LISTA"));
    QCOMPARE(r->numero, 2);
    const QString medicina =
        primero(c, QStringLiteral("select min(art_Clave) from tArticulo where tart_Clave = 'FARMACIA' and "
                                  "eart_Clave = 'REGISTRADO'"));
    QVERIFY(!precios.obtenPrecioCliente(medicina, QStringLiteral("MAYOREO")).has_value());
    QCOMPARE(st.prompter.last(), QStringLiteral("El articulo no esta catalogado para la lista 2"));

    // Employees: 10 % off medicines, 15 % over cost in groceries.
    st.prompter.clear();
    r = precios.obtenPrecioCliente(medicina, QStringLiteral("EMPLEADO"));
    QVERIFY(r.has_value());
    QCOMPARE(r->precio.descuento, Decimal(10));
    QCOMPARE(r->precio.subTotal,
             c.scalar(QStringLiteral("select art_Importe from tArticulo where art_Clave = ?"), {medicina})
                     .value<Decimal>() *
                 Decimal("0.9"));
    r = precios.obtenPrecioCliente(abarrote, QStringLiteral("EMPLEADO"));
    QVERIFY(r.has_value());
    QCOMPARE(r->precio.utilidad, Decimal(15));
    QCOMPARE(r->precio.subTotal, r->precio.costo * Decimal("1.15"));
    QCOMPARE(st.prompter.texts(), QStringList());
}

QTEST_GUILESS_MAIN(tst_DemoPrecios)
#include "tst_demo_precios.moc"
