// The demo store's articles and the generator of big catalogues, checked by what must hold of any
// catalogue rather than by the rows of the tables: price rows that agree with their article,
// breakdowns whose arithmetic holds to the cent, valid bar codes, references that lead somewhere.

#include "ArticleGenerator.h"
#include "Connection.h"
#include "DemoData.h"
#include "TestDatabase.h"

#include <QDateTime>
#include <QSet>
#include <QTest>

using db::Connection;

namespace {

const Decimal kCentavo("0.01");

// Written here from the bar-code rule itself (weights 1 and 3), not taken from the code under test.
bool ean13Valido(const QString &codigo)
{
    if (codigo.size() != 13)
        return false;
    int suma = 0;
    for (int i = 0; i < 13; ++i) {
        if (codigo[i] < u'0' || codigo[i] > u'9')
            return false;
        suma += (codigo[i].unicode() - u'0') * (i % 2 == 0 ? 1 : 3);
    }
    return suma % 10 == 0;
}

struct Desglose {
    QString metodo;
    Decimal costo, publico, descuento, subTotal, margen, utilidad, ivaPorc, iva, total;
    bool operator==(const Desglose &) const = default;
};

Desglose deArticulo(const db::Recordset &rs)
{
    return {rs.text("cambio_Clave"),     rs.decimal("art_Costo"),    rs.decimal("art_Importe"),
            rs.decimal("art_Descuento"), rs.decimal("art_SubTotal"), rs.decimal("art_Margen"),
            rs.decimal("art_Utilidad"),  rs.decimal("art_IVAPorc"),  rs.decimal("art_IVA"),
            rs.decimal("art_Total")};
}

Desglose dePrecio(const db::Recordset &rs)
{
    return {rs.text("cambio_Clave"),        rs.decimal("art_Costo"),       rs.decimal("precio_Importe"),
            rs.decimal("precio_Descuento"), rs.decimal("precio_SubTotal"), rs.decimal("precio_Margen"),
            rs.decimal("precio_Utilidad"),  rs.decimal("precio_IVAPorc"),  rs.decimal("precio_IVA"),
            rs.decimal("precio_Total")};
}

bool cerca(const Decimal &a, const Decimal &b, const Decimal &tolerancia = kCentavo)
{
    return (a - b).abs() <= tolerancia;
}

// Empty when the breakdown holds, otherwise what does not. Each figure is what the editor shows
// ("0.00" of the exact result), so relations between figures hold to a cent; the utility is a
// percentage rounded to the cent, worth costo/10000 pesos of margin.
QString falla(const Desglose &d)
{
    const Decimal cien(100);
    for (const Decimal &v :
         {d.costo, d.publico, d.descuento, d.subTotal, d.margen, d.utilidad, d.ivaPorc, d.iva, d.total})
        if (v != v.round(2))
            return QStringLiteral("más de dos decimales: %1").arg(v.toString());
    if (d.descuento.isNegative() || d.descuento >= cien)
        return QStringLiteral("descuento fuera de 0..100");
    if (!cerca(d.subTotal, d.publico * (cien - d.descuento) / cien))
        return QStringLiteral("subtotal %1 no es el público menos el descuento").arg(d.subTotal.toString());
    if (!cerca(d.margen, d.subTotal - d.costo))
        return QStringLiteral("margen %1 no es subtotal menos costo").arg(d.margen.toString());
    if (!cerca(d.iva, d.ivaPorc / cien * d.subTotal))
        return QStringLiteral("IVA %1 no es el %2 % del subtotal")
            .arg(d.iva.toString(), d.ivaPorc.toString());
    if (!cerca(d.total, d.subTotal + d.iva))
        return QStringLiteral("total %1 no es subtotal más IVA").arg(d.total.toString());
    if (d.metodo == u"FINANCIERO") {
        if (!cerca(d.margen, d.utilidad * d.costo / cien))
            return QStringLiteral("FINANCIERO: el margen no es la utilidad sobre el costo");
    } else if (d.costo.isZero() || d.publico.isZero()) {
        if (!d.utilidad.isZero())
            return QStringLiteral("utilidad sin costo o sin público");
    } else if (!cerca(d.utilidad * d.costo / cien, d.margen, kCentavo + d.costo / Decimal(10000))) {
        return QStringLiteral("utilidad %1 % no corresponde al margen %2")
            .arg(d.utilidad.toString(), d.margen.toString());
    }
    if ((d.metodo == u"MARGEN" || d.metodo == u"UTILIDAD") &&
        (!d.descuento.isZero() || d.publico != d.subTotal))
        return QStringLiteral("%1 no lleva descuento").arg(d.metodo);
    if (d.metodo == u"UTILIDAD" && d.publico != ((d.utilidad / cien + Decimal(1)) * d.costo).round(2))
        return QStringLiteral("UTILIDAD: el público no es el costo más la utilidad");
    if (!QStringList{"FIJO", "PUBLICO", "MARGEN", "UTILIDAD", "FINANCIERO"}.contains(d.metodo))
        return QStringLiteral("método desconocido %1").arg(d.metodo);
    if (d.margen <= Decimal())
        return QStringLiteral("vende abajo del costo");
    return {};
}

qint64 cuenta(Connection &c, const QString &sql, const db::Params &params = {})
{
    return c.scalar(sql, params).toLongLong();
}

// Every article of the store has one 'NORMAL' row, number 1, with its own breakdown; every price
// row's breakdown holds. Empty when all is well, otherwise the first fault; *articulosVistos counts
// the articles.
QString revisaPrecios(Connection &c, qint64 *articulosVistos)
{
    QHash<QString, Desglose> articulos;
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select * from tArticulo")); !rs.eof();
         rs.moveNext()) {
        const Desglose d = deArticulo(rs);
        const QString falta = falla(d);
        if (!falta.isEmpty())
            return rs.text("art_Clave") + QStringLiteral(": ") + falta;
        articulos.insert(rs.text("art_Clave"), d);
    }
    QSet<QString> conNormal;
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select * from tArticuloPrecio")); !rs.eof();
         rs.moveNext()) {
        const QString clave = rs.text("art_Clave");
        const QString tipo = rs.text("tprecio_Clave");
        const Desglose d = dePrecio(rs);
        const QString falta = falla(d);
        if (!falta.isEmpty())
            return clave + u' ' + tipo + QStringLiteral(": ") + falta;
        if (tipo == u"NORMAL") {
            if (conNormal.contains(clave) || rs.integer("precio_Clave") != 1 || d != articulos.value(clave) ||
                !rs.isNull("PRECIO_FECFIN") || rs.isNull("PRECIO_FECINI"))
                return clave + QStringLiteral(": renglón NORMAL que no copia al artículo");
            conNormal.insert(clave);
        } else if (d.costo != articulos.value(clave).costo || d.ivaPorc != articulos.value(clave).ivaPorc) {
            return clave + u' ' + tipo + QStringLiteral(": otro costo u otro IVA");
        }
    }
    *articulosVistos = articulos.size();
    if (conNormal.size() != articulos.size())
        return QStringLiteral("%1 artículos sin renglón NORMAL").arg(articulos.size() - conNormal.size());
    return {};
}

} // namespace

class tst_DemoArticulos : public QObject {
    Q_OBJECT
private slots:
    void preciosCuadran_data() { TestDatabase::addEngineRows(); }
    void preciosCuadran();
    void clavesEan13_data() { TestDatabase::addEngineRows(); }
    void clavesEan13();
    void catalogosExisten_data() { TestDatabase::addEngineRows(); }
    void catalogosExisten();
    void paquetesYEnsambles_data() { TestDatabase::addEngineRows(); }
    void paquetesYEnsambles();
    void unaOfertaVigente_data() { TestDatabase::addEngineRows(); }
    void unaOfertaVigente();
    void tiposDeCliente_data() { TestDatabase::addEngineRows(); }
    void tiposDeCliente();
    void segundaCargaNoAgrega_data() { TestDatabase::addEngineRows(); }
    void segundaCargaNoAgrega();

    void generaDosVeces_data() { TestDatabase::addEngineRows(); }
    void generaDosVeces();
    void generaDespuesDeCodigos_data() { TestDatabase::addEngineRows(); }
    void generaDespuesDeCodigos();
    void generaSinClavesLibres_data() { TestDatabase::addEngineRows(); }
    void generaSinClavesLibres();
};

void tst_DemoArticulos::preciosCuadran()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    db::DemoData::populate(c);
    qint64 n = 0;
    const QString falta = revisaPrecios(c, &n);
    QVERIFY2(falta.isEmpty(), qPrintable(falta));
    QVERIFY2(n >= 300 && n <= 400, qPrintable(QString::number(n)));
    // Every method is represented, and the rows beyond the normal one too.
    for (const char *metodo : {"FIJO", "PUBLICO", "MARGEN", "UTILIDAD", "FINANCIERO"})
        QVERIFY2(cuenta(c, "select count(*) from tArticulo where cambio_Clave = ?", {metodo}) > 0, metodo);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where cambio_Clave = 'FINANCIERO'"), 1);
    QVERIFY(
        cuenta(c, "select count(*) from tArticuloPrecio where tprecio_Clave = 'LISTA' and precio_Clave = 2") >
        0);
    // A list row sells by the quantity of its column: list 2 from more pieces than list 1.
    QCOMPARE(
        cuenta(c,
               "select count(*) from tArticuloPrecio a join tArticuloPrecio b on b.art_Clave = a.art_Clave "
               "where a.tprecio_Clave = 'LISTA' and b.tprecio_Clave = 'LISTA' and a.precio_Clave = 1 "
               "and b.precio_Clave = 2 and (b.precio_Cantidad <= a.precio_Cantidad "
               "or b.precio_Total >= a.precio_Total)"),
        0);
    // Medicines and the basic basket carry no VAT, most of the rest 16 %.
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where tart_Clave = 'FARMACIA' and art_IVAPorc <> 0"),
             0);
    QVERIFY(cuenta(c, "select count(*) from tArticulo where art_IVAPorc = 16") >
            cuenta(c, "select count(*) from tArticulo where art_IVAPorc = 0") / 2);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where art_IVAPorc not in (0, 16)"), 0);
}

void tst_DemoArticulos::clavesEan13()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    db::DemoData::populate(c);
    QSet<QString> claves;
    for (db::Recordset rs = c.openRecordset("select art_Clave from tArticulo"); !rs.eof(); rs.moveNext()) {
        const QString clave = rs.text("art_Clave");
        QVERIFY2(ean13Valido(clave) && clave.startsWith(QLatin1String("750")), qPrintable(clave));
        claves.insert(clave);
    }
    qint64 codigos = 0;
    for (db::Recordset rs = c.openRecordset("select acod_Codigo from tArticuloCodigo"); !rs.eof();
         rs.moveNext()) {
        const QString codigo = rs.text("acod_Codigo");
        QVERIFY2(ean13Valido(codigo), qPrintable(codigo));
        QVERIFY2(!claves.contains(codigo), qPrintable(codigo + " es también clave de artículo"));
        ++codigos;
    }
    QVERIFY(codigos >= 3);
    // Names are what a search finds: no two articles share one.
    QCOMPARE(cuenta(c, "select count(distinct art_Nombre) from tArticulo"),
             cuenta(c, "select count(*) from tArticulo"));
}

void tst_DemoArticulos::catalogosExisten()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    db::DemoData::populate(c);
    const struct {
        const char *columna, *tabla, *clave;
    } referencias[] = {
        {"tart_Clave", "tTipoArticulo", "tart_Clave"},
        {"fam_Clave", "tFamilia", "fam_Clave"},
        {"fab_Clave", "tFabricante", "fab_Clave"},
        {"med_Clave", "tMedida", "med_Clave"},
        {"cambio_Clave", "tCambioPrecio", "cambio_Clave"},
        {"cinv_Clave", "tControlInventario", "cinv_Clave"},
        {"sub_Clave", "tSubTipo", "sub_Clave"},
        {"ssa_Clave", "tSSA", "ssa_Clave"},
    };
    for (const auto &r : referencias) {
        const QString sql =
            QStringLiteral("select count(*) from tArticulo a where a.%1 is not null and not exists "
                           "(select 1 from %2 x where x.%3 = a.%1)")
                .arg(QLatin1String(r.columna), QLatin1String(r.tabla), QLatin1String(r.clave));
        QVERIFY2(cuenta(c, sql) == 0, r.columna);
    }
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where tart_Clave is null or fam_Clave is null"), 0);
    QVERIFY(cuenta(c, "select count(distinct tart_Clave) from tArticulo") >= 5);
    // A sub-type belongs to the article's department.
    QCOMPARE(cuenta(c, "select count(*) from tArticulo a join tSubTipo s on s.sub_Clave = a.sub_Clave "
                       "where s.tart_Clave <> a.tart_Clave"),
             0);
    // Lots and expiry go together; devices go by serial number; one article is suspended.
    QVERIFY(cuenta(c, "select count(*) from tArticulo where cinv_Clave = 'LOTE'") > 0);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where cinv_Clave = 'LOTE' and (cad_Clave <> 'SI' or "
                       "art_Caduca <= 0)"),
             0);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where (cad_Clave = 'SI') <> (art_Caduca > 0)"), 0);
    QVERIFY(cuenta(c, "select count(*) from tArticulo where cinv_Clave = 'SERIE'") >= 2);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where eart_Clave = 'SUSPENDIDO'"), 1);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where eart_Clave not in ('REGISTRADO', 'SUSPENDIDO')"),
             0);
    // The stock of an article is the sum of its warehouses'.
    QCOMPARE(cuenta(c, "select count(*) from tArticulo a where a.art_Existencia <> (select "
                       "coalesce(sum(alma_Existencia), 0) "
                       "from tArticuloAlmacen x where x.art_Clave = a.art_Clave)"),
             0);
    QCOMPARE(cuenta(c, "select count(*) from tArticuloAlmacen x where not exists "
                       "(select 1 from tAlmacen w where w.alm_Clave = x.alm_Clave)"),
             0);
}

void tst_DemoArticulos::paquetesYEnsambles()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    db::DemoData::populate(c);
    // A box that breaks into pieces, and the piece that gathers back into that same box.
    QVERIFY(cuenta(c, "select count(*) from tArticulo where art_Separar = 'S'") > 0);
    QCOMPARE(cuenta(c,
                    "select count(*) from tArticulo caja left join tArticulo pieza on pieza.art_Clave = "
                    "caja.art_SepArt "
                    "where caja.art_Separar = 'S' and (pieza.art_Clave is null or pieza.art_Acumular <> 'S' "
                    "or pieza.art_AcumArt <> caja.art_Clave or pieza.art_AcumNum <> caja.art_SepNum "
                    "or caja.art_SepNum <= 1 or pieza.art_Clave = caja.art_Clave)"),
             0);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo pieza left join tArticulo caja on caja.art_Clave = "
                       "pieza.art_AcumArt "
                       "where pieza.art_Acumular = 'S' and (caja.art_Clave is null or caja.art_SepArt <> "
                       "pieza.art_Clave)"),
             0);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where (art_Separar = 'N') <> (art_SepArt is null) "
                       "or (art_Acumular = 'N') <> (art_AcumArt is null)"),
             0);
    // Assemblies: components that exist and are not assemblies themselves; a cost that is theirs.
    QVERIFY(cuenta(c, "select count(*) from tArticulo where art_Ensamble = 'SI'") > 0);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo a where (art_Ensamble = 'SI') <> exists "
                       "(select 1 from tArticuloEnsamble e where e.art_Clave = a.art_Clave)"),
             0);
    QCOMPARE(
        cuenta(c,
               "select count(*) from tArticuloEnsamble e left join tArticulo x on x.art_Clave = e.esa_Clave "
               "where x.art_Clave is null or x.art_Ensamble = 'SI' or e.esa_Cantidad <= 0"),
        0);
    for (db::Recordset rs =
             c.openRecordset("select art_Clave, art_Costo from tArticulo where art_Ensamble = 'SI'");
         !rs.eof(); rs.moveNext()) {
        const Decimal componentes =
            c.openRecordset("select sum(e.esa_Cantidad * x.art_Costo) as costo from tArticuloEnsamble e "
                            "join tArticulo x on x.art_Clave = e.esa_Clave where e.art_Clave = ?",
                            {rs.text("art_Clave")})
                .decimal("costo");
        QCOMPARE(rs.decimal("art_Costo"), componentes);
    }
}

void tst_DemoArticulos::unaOfertaVigente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    db::DemoData::populate(c);
    const QDateTime ahora = QDateTime::currentDateTime();
    int vigentes = 0, vencidas = 0, agotadas = 0;
    for (db::Recordset rs = c.openRecordset("select * from tArticuloPrecio where tprecio_Clave = 'OFERTA'");
         !rs.eof(); rs.moveNext()) {
        const QDateTime desde = rs.dateTime("PRECIO_FECINI");
        const QDateTime hasta = rs.dateTime("PRECIO_FECFIN");
        QVERIFY(desde.isValid() && hasta.isValid() && desde < hasta);
        QCOMPARE(desde.time(), QTime(0, 0));
        QCOMPARE(hasta.time(), QTime(23, 59, 59));
        QVERIFY(rs.decimal("precio_Vendidas") <= rs.decimal("precio_Cantidad"));
        const bool enFechas = desde <= ahora && ahora <= hasta;
        const bool quedan = rs.decimal("precio_Cantidad") > rs.decimal("precio_Vendidas");
        vigentes += enFechas && quedan;
        vencidas += hasta < ahora;
        agotadas += enFechas && !quedan;
        // An offer lowers the article's own price.
        QVERIFY(rs.decimal("precio_Total") <
                c.scalar("select art_Total from tArticulo where art_Clave = ?", {rs.text("art_Clave")})
                    .value<Decimal>());
    }
    QCOMPARE(vigentes, 1);
    QCOMPARE(vencidas, 1);
    QCOMPARE(agotadas, 1);
}

void tst_DemoArticulos::tiposDeCliente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    db::DemoData::populate(c);
    QCOMPARE(c.scalar("select tcontrol_Clave from tTipoCliente where tcli_Clave = 'SYS'").toString(),
             QStringLiteral("ARTICULO"));
    // A type priced by list finds its list on some articles.
    for (db::Recordset rs = c.openRecordset(
             "select tcli_Clave, tcli_Lista from tTipoCliente where tcontrol_Clave = 'LISTA'");
         !rs.eof(); rs.moveNext())
        QVERIFY2(
            cuenta(c,
                   "select count(*) from tArticuloPrecio where tprecio_Clave = 'LISTA' and precio_Clave = ?",
                   {rs.integer("tcli_Lista")}) > 0,
            qPrintable(rs.text("tcli_Clave")));
    // A type priced by department has concepts, each naming a department that sells articles and
    // a built-in method.
    QVERIFY(cuenta(c, "select count(*) from tTipoCliente where tcontrol_Clave = 'DEPARTAMENTO'") >= 1);
    QCOMPARE(
        cuenta(c, "select count(*) from tTipoCliente t where tcontrol_Clave = 'DEPARTAMENTO' and not exists "
                  "(select 1 from tTipoClienteConcepto k where k.tcli_Clave = t.tcli_Clave "
                  "and k.tcontrol_Clave = 'DEPARTAMENTO')"),
        0);
    QCOMPARE(cuenta(c,
                    "select count(*) from tTipoClienteConcepto k where not exists (select 1 from tArticulo a "
                    "where a.tart_Clave = k.tcc_Clave) or not exists (select 1 from tCambioPrecio m "
                    "where m.cambio_Clave = k.cambio_Clave) or k.tcc_Valor <= 0"),
             0);
    QCOMPARE(cuenta(c, "select count(distinct cambio_Clave) from tTipoClienteConcepto"), 2);
}

void tst_DemoArticulos::segundaCargaNoAgrega()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    const QStringList tablas = {"tArticulo",         "tArticuloPrecio",  "tArticuloCodigo",
                                "tArticuloEnsamble", "tArticuloAlmacen", "tTipoClienteConcepto"};
    const auto cuentas = [&] {
        QStringList out;
        for (const QString &tabla : tablas)
            out << tabla + u'=' + QString::number(cuenta(c, "select count(*) from " + tabla));
        return out;
    };
    db::DemoData::populate(c);
    const QStringList primera = cuentas();
    // An article removed by the user comes back whole; the others stay as they are.
    const QString clave =
        c.scalar("select min(art_Clave) from tArticulo where art_Ensamble = 'NO' and not exists "
                 "(select 1 from tArticuloEnsamble e where e.esa_Clave = art_Clave)")
            .toString();
    c.execute("delete from tArticuloAlmacen where art_Clave = ?", {clave});
    c.execute("delete from tArticulo where art_Clave = ?", {clave});
    c.execute("update tArticulo set art_Nombre = 'CAMBIADO' where art_Clave <> ?", {clave});
    db::DemoData::populate(c);
    QCOMPARE(cuentas(), primera);
    QCOMPARE(cuenta(c, "select count(*) from tArticulo where art_Nombre = 'CAMBIADO'"),
             cuenta(c, "select count(*) from tArticulo") - 1);
}

void tst_DemoArticulos::generaDosVeces()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    db::DemoData::populate(c);
    const qint64 demo = cuenta(c, "select count(*) from tArticulo");
    const qint64 n = db::ArticleGenerator::kBatch * 2 + 37; // whole statements and a shorter last one
    QSet<QString> claves;
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        qint64 ultimoAvance = 0;
        const auto r = db::ArticleGenerator::generate(c, n, [&](qint64 hechos, qint64 total) {
            QVERIFY(hechos > ultimoAvance);
            QCOMPARE(total, n);
            ultimoAvance = hechos;
        });
        QCOMPARE(ultimoAvance, n);
        QCOMPARE(r.count, n);
        QCOMPARE(cuenta(c, "select count(*) from tArticulo"), demo + (vuelta + 1) * n);
        QCOMPARE(cuenta(c, "select count(*) from tArticulo where art_Clave between ? and ?",
                        {r.firstKey, r.lastKey}),
                 n);
        for (db::Recordset rs = c.openRecordset(
                 "select art_Clave from tArticulo where art_Clave between ? and ?", {r.firstKey, r.lastKey});
             !rs.eof(); rs.moveNext()) {
            QVERIFY2(ean13Valido(rs.text("art_Clave")), qPrintable(rs.text("art_Clave")));
            QVERIFY(!claves.contains(rs.text("art_Clave")));
            claves.insert(rs.text("art_Clave"));
        }
    }
    qint64 vistos = 0;
    const QString falta = revisaPrecios(c, &vistos);
    QVERIFY2(falta.isEmpty(), qPrintable(falta));
    QCOMPARE(vistos, demo + 2 * n);
    // Spread over departments and families, with names a search can tell apart.
    const QString generados = QStringLiteral("art_Clave like '7509%'");
    QVERIFY(cuenta(c, "select count(distinct tart_Clave) from tArticulo where " + generados) >= 5);
    QVERIFY(cuenta(c, "select count(distinct fam_Clave) from tArticulo where " + generados) >= 10);
    QVERIFY(cuenta(c, "select count(distinct art_Nombre) from tArticulo where " + generados) >
            2 * n * 9 / 10);
    QVERIFY(cuenta(c,
                   "select count(*) from tArticulo where " + generados + " and mdr_fold(art_Nombre) like ?",
                   {"%paracetamol%"}) > 0);
}

// Extra bar codes share the range of the generated keys: numbering goes on after them too.
void tst_DemoArticulos::generaDespuesDeCodigos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    const auto primera = db::ArticleGenerator::generate(c, 1);
    QCOMPARE(primera.firstKey, db::ArticleGenerator::keyFor(1));
    c.execute("insert into tArticuloCodigo (acod_Codigo, art_Clave) values (?, ?)",
              {db::ArticleGenerator::keyFor(500), primera.firstKey});
    c.execute("insert into tArticulo (art_Clave, art_Nombre) values ('7509ABCDEFGHI', 'CAPTURADO A MANO')");
    const auto r = db::ArticleGenerator::generate(c, 2);
    QCOMPARE(r.firstKey, db::ArticleGenerator::keyFor(501));
    QCOMPARE(r.lastKey, db::ArticleGenerator::keyFor(502));
    QVERIFY(ean13Valido(r.lastKey));
}

void tst_DemoArticulos::generaSinClavesLibres()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    c.execute("insert into tArticulo (art_Clave, art_Nombre) values (?, 'ULTIMO')",
              {db::ArticleGenerator::keyFor(db::ArticleGenerator::kMaxSerial - 1)});
    QVERIFY_THROWS_EXCEPTION(db::DbError, db::ArticleGenerator::generate(c, 2));
    QVERIFY_THROWS_EXCEPTION(db::DbError, db::ArticleGenerator::generate(c, 0));
    QCOMPARE(cuenta(c, "select count(*) from tArticulo"), 1);
    QCOMPARE(db::ArticleGenerator::generate(c, 1).firstKey,
             db::ArticleGenerator::keyFor(db::ArticleGenerator::kMaxSerial));
}

QTEST_GUILESS_MAIN(tst_DemoArticulos)
#include "tst_demoarticulos.moc"
