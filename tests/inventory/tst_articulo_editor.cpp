// The article editor's rules: the checks in their order (message, tab, field), the figures
// recalculated on every change, list and offer lines following a new cost, and the article
// written with all its rows at once — or not at all — on both engines.
#include "ArticuloEditor.h"
#include "PrecioFixture.h"
#include "PreciosArticulo.h"

#include <QTest>

using Pestana = ArticuloEditor::Pestana;
Q_DECLARE_METATYPE(ArticuloEditor::Pestana)

namespace {

void catalogos(db::Connection &c)
{
    catalogosDePrecio(c);
    c.execute(QStringLiteral("insert into tTalla (tala_Clave, tala_Nombre) values ('CH', 'Chica')"));
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, tart_Clave) values ('CAJA', 'Caja', 'FARM')"));
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, tart_Clave) values ('PIEZA', 'Pieza', 'FARM')"));
}

// A complete new article: cost 60, public 100, discount 10, tax 16, method PUBLICO.
void llena(ArticuloEditor &e)
{
    e.setTexto(QStringLiteral("art_Clave"), QStringLiteral("A1"));
    e.setTexto(QStringLiteral("art_Nombre"), QStringLiteral("ASPIRINA 500 MG"));
    e.setTexto(QStringLiteral("tart_Clave"), QStringLiteral("FARM"));
    e.setTexto(QStringLiteral("cambio_Clave"), QStringLiteral("PUBLICO"));
    e.setCifra(Cifra::ImpuestoPorcentaje, QStringLiteral("16"));
    e.setCifra(Cifra::Costo, QStringLiteral("60"));
    e.setCifra(Cifra::Descuento, QStringLiteral("10"));
    e.setCifra(Cifra::Publico, QStringLiteral("100"));
}

} // namespace

class tst_ArticuloEditor : public QObject {
    Q_OBJECT
private slots:
    void validaciones_data();
    void validaciones();
    void recalculo_data();
    void recalculo();
    void listasSiguenAlCosto_data();
    void listasSiguenAlCosto();
    void guardaYCarga_data() { TestDatabase::addEngineRows(); }
    void guardaYCarga();
    void completoONada_data() { TestDatabase::addEngineRows(); }
    void completoONada();
};

void tst_ArticuloEditor::validaciones_data()
{
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<bool>("completos"); // DATOS-COMPLETOS-ARTICULO
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<Pestana>("pestana");
    QTest::addColumn<QString>("foco");
    QTest::newRow("clave") << "art_Clave" << "" << false << "Debe indicar una clave de articulo" << Pestana::Identidad
                           << "art_Clave";
    QTest::newRow("nombre") << "art_Nombre" << " " << false << "Debe indicar un nombre" << Pestana::Identidad
                            << "art_Nombre";
    QTest::newRow("costo vacio") << "#0" << "" << false << "Debe indicar el costo unitario del articulo"
                                 << Pestana::Precios << "art_Costo";
    QTest::newRow("costo no numerico") << "#0" << "6o" << false << "Debe indicar el costo unitario del articulo"
                                       << Pestana::Precios << "art_Costo";
    QTest::newRow("publico") << "#1" << "" << false << "Debe indicar el precio público" << Pestana::Precios
                             << "art_Importe";
    QTest::newRow("descuento") << "#2" << "x" << false << "Debe indicar el descuento" << Pestana::Precios
                               << "art_Descuento";
    QTest::newRow("neto") << "#8" << "" << false << "Debe indicar el precio neto" << Pestana::Precios << "art_Total";
    QTest::newRow("metodo") << "cambio_Clave" << "" << false << "Debe indicar el metodo de cambio de precio"
                            << Pestana::Precios << "cambio_Clave";
    QTest::newRow("metodo inexistente") << "cambio_Clave" << "MAGIA" << false << "El metodo de cambio de precio no existe"
                                        << Pestana::Precios << "cambio_Clave";
    QTest::newRow("departamento") << "tart_Clave" << "" << false
                                  << "Debe indicar el departamento al que pertence el articulo" << Pestana::Identidad
                                  << "tart_Clave";
    QTest::newRow("departamento inexistente") << "tart_Clave" << "ROPA" << false << "El departamento no existe"
                                              << Pestana::Identidad << "tart_Clave";
    QTest::newRow("contenido") << "separa" << "" << false << "Necesita indicar el articulo que esta contenido"
                               << Pestana::Paquetes << "art_SepArt";
    QTest::newRow("cuantos contenidos") << "separa" << "PIEZA" << false
                                        << "Necesita indicar el numero de articulos que estan contenidos"
                                        << Pestana::Paquetes << "art_SepNum";
    QTest::newRow("contenedor") << "acumula" << "" << false << "Necesita indicar el articulo que lo contiene"
                                << Pestana::Paquetes << "art_AcumArt";
    QTest::newRow("cuantos acumula") << "acumula" << "CAJA" << false
                                     << "Necesita indicar el numero de articulos que se acumulan" << Pestana::Paquetes
                                     << "art_AcumNum";
    QTest::newRow("completos: fabricante") << "" << "" << true << "Debe indicar el fabricante" << Pestana::Identidad
                                           << "fab_Clave";
    QTest::newRow("completos: medida") << "fab_Clave" << "BAYER" << true << "Debe indicar un tipo de medida"
                                       << Pestana::Identidad << "med_Clave";
    QTest::newRow("existente") << "art_Clave" << "CAJA" << false
                               << "La clave ya esta en uso para el siguiente articulo: Caja" << Pestana::Identidad
                               << "art_Clave";
}

void tst_ArticuloEditor::validaciones()
{
    QFETCH(QString, campo);
    QFETCH(QString, valor);
    QFETCH(bool, completos);
    QFETCH(QString, mensaje);
    QFETCH(Pestana, pestana);
    QFETCH(QString, foco);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    catalogos(db.connection());
    PrecioStation st(&db.connection());
    ArticuloEditor e(st.provider, st.config, st.prompter, st.calculo);
    llena(e);
    QVERIFY(e.validaDatos());
    st.config.setValue(QStringLiteral("DATOS-COMPLETOS-ARTICULO"), completos);
    if (campo.startsWith(u'#'))
        e.setCifra(Cifra(campo.mid(1).toInt()), valor);
    else if (campo == QLatin1String("separa")) {
        e.setTexto(QStringLiteral("art_Separar"), QStringLiteral("S"));
        e.setTexto(QStringLiteral("art_SepArt"), valor);
    } else if (campo == QLatin1String("acumula")) {
        e.setTexto(QStringLiteral("art_Acumular"), QStringLiteral("S"));
        e.setTexto(QStringLiteral("art_AcumArt"), valor);
    } else if (!campo.isEmpty())
        e.setTexto(campo, valor);
    QVERIFY(!e.guardaDatos());
    QCOMPARE(st.prompter.texts(), QStringList{mensaje});
    QCOMPARE(e.pestanaRechazada(), pestana);
    QCOMPARE(e.campoRechazado(), foco);
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tArticulo where art_Clave = 'A1'")).toInt(), 0);
}

void tst_ArticuloEditor::recalculo_data()
{
    QTest::addColumn<QString>("metodo");
    QTest::addColumn<int>("cifra");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QStringList>("esperado"); // public, discount, subtotal, margin, utility, tax, total
    QTest::newRow("publico tecleado") << "UTILIDAD" << int(Cifra::Publico) << "120"
                                      << QStringList{"120.00", "10.00", "108.00", "48.00", "80.00", "17.28", "125.28"};
    QTest::newRow("costo con publico") << "PUBLICO" << int(Cifra::Costo) << "45"
                                       << QStringList{"100.00", "10.00", "90.00", "45.00", "100.00", "14.40", "104.40"};
    QTest::newRow("utilidad") << "UTILIDAD" << int(Cifra::Utilidad) << "25"
                              << QStringList{"75.00", "0.00", "75.00", "15.00", "25.00", "12.00", "87.00"};
    QTest::newRow("margen") << "MARGEN" << int(Cifra::Margen) << "40"
                            << QStringList{"100.00", "0.00", "100.00", "40.00", "66.67", "16.00", "116.00"};
    QTest::newRow("impuesto 0") << "PUBLICO" << int(Cifra::ImpuestoPorcentaje) << "0"
                                << QStringList{"100.00", "10.00", "90.00", "30.00", "50.00", "0.00", "90.00"};
    QTest::newRow("texto: nada cambia") << "PUBLICO" << int(Cifra::Costo) << "abc"
                                        << QStringList{"100.00", "10.00", "90.00", "30.00", "50.00", "14.40", "104.40"};
    // A bad figure elsewhere stops the recalculation instead of turning into 0.00.
    QTest::newRow("otro campo con texto: nada cambia")
        << "PUBLICO" << -1 << "120" << QStringList{"100.00", "1o", "90.00", "30.00", "50.00", "14.40", "104.40"};
}

void tst_ArticuloEditor::recalculo()
{
    QFETCH(QString, metodo);
    QFETCH(int, cifra);
    QFETCH(QString, valor);
    QFETCH(QStringList, esperado);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PrecioStation st(&db.connection());
    ArticuloEditor e(st.provider, st.config, st.prompter, st.calculo);
    llena(e);
    e.setTexto(QStringLiteral("cambio_Clave"), metodo);
    if (cifra < 0) { // the discount is left unreadable, then the public price typed
        e.setCifra(Cifra::Descuento, QStringLiteral("1o"));
        e.setCifra(Cifra::Publico, valor);
        QCOMPARE(e.cifra(Cifra::Publico), valor);
        e.setCifra(Cifra::Publico, QStringLiteral("100.00"));
        cifra = int(Cifra::Descuento);
        valor = QStringLiteral("1o");
    } else {
        e.setCifra(Cifra(cifra), valor);
    }
    const Cifra orden[] = {Cifra::Publico, Cifra::Descuento, Cifra::SubTotal, Cifra::Margen,
                           Cifra::Utilidad, Cifra::ImpuestoImporte, Cifra::Total};
    QStringList shown;
    for (Cifra c : orden)
        shown << e.cifra(c);
    QCOMPARE(shown, esperado);
    bool numero = false;
    Decimal::fromString(valor, &numero);
    QCOMPARE(e.cifra(Cifra(cifra)), numero ? Decimal(valor).format(QStringLiteral("0.00")) : valor);
}

void tst_ArticuloEditor::listasSiguenAlCosto_data()
{
    QTest::addColumn<QString>("actualiza"); // art_ActLista and art_ActOfertas
    QTest::addColumn<QString>("publicoLista");
    QTest::addColumn<QString>("margenLista");
    QTest::newRow("siguen el metodo (utilidad)") << "SI" << "100.00" << "20.00";
    QTest::newRow("conservan su publico y descuento") << "NO" << "90.00" << "1.00";
}

void tst_ArticuloEditor::listasSiguenAlCosto()
{
    QFETCH(QString, actualiza);
    QFETCH(QString, publicoLista);
    QFETCH(QString, margenLista);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    PrecioStation st(&db.connection());
    ArticuloEditor e(st.provider, st.config, st.prompter, st.calculo);
    llena(e);
    e.setTexto(QStringLiteral("cambio_Clave"), QStringLiteral("UTILIDAD"));
    e.setTexto(QStringLiteral("art_ActLista"), actualiza);
    e.setTexto(QStringLiteral("art_ActOfertas"), actualiza);
    e.agregaFila(false);
    e.agregaFila(true);
    // Each line: public 90, utility 25 over cost 60.
    for (const bool oferta : {false, true}) {
        e.setCifraFila(oferta, 0, Cifra::Publico, Decimal(90));
        (oferta ? e.ofertas() : e.listas())[0].precio.utilidad = Decimal(25);
    }
    e.setCifra(Cifra::Costo, QStringLiteral("80"));
    for (const bool oferta : {false, true}) {
        const Precio &p = (oferta ? e.ofertas() : e.listas()).at(0).precio;
        QCOMPARE(p.costo, Decimal(80));
        QCOMPARE(p.publico.format(QStringLiteral("0.00")), publicoLista);
        QCOMPARE(p.margen.format(QStringLiteral("0.00")), margenLista);
    }
}

void tst_ArticuloEditor::guardaYCarga()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    catalogos(c);
    PrecioStation st(&c);
    ArticuloEditor e(st.provider, st.config, st.prompter, st.calculo);
    llena(e);
    e.setCifra(Cifra::Costo, QStringLiteral("33.333")); // shown and stored with two decimals
    e.agregaFila(false);
    e.listas()[0].cantidad = Decimal(12);
    e.agregaFila(true);
    e.ofertas()[0].inicio = QDate(2026, 12, 1);
    e.ofertas()[0].fin = QDate(2026, 12, 24);
    e.ofertas()[0].cantidad = Decimal(10);
    e.tallas() << QStringLiteral("CH");
    e.ensamble().append({QStringLiteral("PIEZA"), Decimal(2)});
    e.setTexto(QStringLiteral("per_Clave"), QStringLiteral("TRI"));
    QCOMPARE(e.maxMin().size(), 4);
    e.maxMin()[0].minimo = Decimal(5);
    e.maxMin()[0].maximo = Decimal(20);
    st.prompter.answers.enqueue(true);
    QVERIFY2(e.guardaDatos(), qPrintable(st.prompter.texts().join(u'|')));
    QCOMPARE(st.prompter.texts(),
             QStringList{"El registro fue agregado con exito, desea continuar agregando mas articulos"});
    QVERIFY(e.continuar());

    db::Recordset a = c.openRecordset(QStringLiteral("select * from tArticulo where art_Clave = 'A1'"));
    QCOMPARE(a.decimal(QStringLiteral("art_Costo")), Decimal("33.33"));
    QCOMPARE(a.decimal(QStringLiteral("art_Margen")), Decimal("56.67"));
    QCOMPARE(a.decimal(QStringLiteral("art_Existencia")), Decimal(0));
    QCOMPARE(a.text(QStringLiteral("usu_Clave")), QStringLiteral("ADMIN"));
    QCOMPARE(a.text(QStringLiteral("eart_Clave")), QStringLiteral("REGISTRADO"));
    QCOMPARE(a.text(QStringLiteral("art_VenderAbajoDelCosto")), QStringLiteral("SI"));
    QCOMPARE(a.text(QStringLiteral("art_Separar")), QStringLiteral("N"));
    QVERIFY(a.dateTime(QStringLiteral("art_FecAlta")).isValid());
    QVERIFY(a.isNull(QStringLiteral("fam_Clave")));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloPrecio where art_Clave = 'A1'")).toInt(), 3);
    QCOMPARE(c.scalar(QStringLiteral("select PRECIO_FECFIN from tArticuloPrecio where tprecio_Clave = 'OFERTA'"))
                 .toDateTime(),
             QDateTime(QDate(2026, 12, 24), QTime(23, 59, 59)));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tTallaArticulo where art_Clave = 'A1'")).toInt(), 1);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloMaxMin where art_Clave = 'A1' and "
                                     "alm_Clave = 'MATRIZ' and per_Clave = 'TRI'"))
                 .toInt(),
             4);

    // Loaded again, changed and written: the rows are replaced, not added.
    ArticuloEditor otro(st.provider, st.config, st.prompter, st.calculo);
    QVERIFY(otro.carga(QStringLiteral("A1")));
    QVERIFY(!otro.esNuevo());
    QCOMPARE(otro.cifra(Cifra::Costo), QStringLiteral("33.33"));
    QCOMPARE(otro.listas().size(), 1);
    QCOMPARE(otro.listas()[0].cantidad, Decimal(12));
    QCOMPARE(otro.ofertas()[0].fin, QDate(2026, 12, 24));
    QCOMPARE(otro.ensamble().size(), 1);
    QCOMPARE(otro.maxMin()[0].maximo, Decimal(20));
    QCOMPARE(otro.tallas(), QStringList{"CH"});
    otro.setTexto(QStringLiteral("art_Nombre"), QStringLiteral("ASPIRINA PROTECT"));
    otro.ofertas().clear();
    for (const auto &[almacen, lote, cantidad] : {std::tuple{"MATRIZ", "", "3"}, std::tuple{"MATRIZ", "L1", "2"},
                                                  std::tuple{"BODEGA", "", "2.5"}})
        c.execute(QStringLiteral("insert into tArticuloAlmacen (alm_Clave, art_Clave, alma_Clave, alma_Existencia) "
                                 "values (?, 'A1', ?, ?)"),
                  {QLatin1String(almacen), QLatin1String(lote), QLatin1String(cantidad)});
    st.prompter.clear();
    QVERIFY(otro.guardaDatos());
    QCOMPARE(st.prompter.texts(), QStringList{"El registro fue actualizado con exito"});
    QCOMPARE(c.scalar(QStringLiteral("select art_Nombre from tArticulo where art_Clave = 'A1'")).toString(),
             QStringLiteral("ASPIRINA PROTECT"));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloPrecio where art_Clave = 'A1'")).toInt(), 2);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloMaxMin where art_Clave = 'A1'")).toInt(), 4);
    // The total stock is the sum over the warehouses, refreshed on every write.
    QCOMPARE(Decimal::fromVariant(c.scalar(QStringLiteral("select art_Existencia from tArticulo where art_Clave = 'A1'"))),
             Decimal("7.5"));
    QVERIFY(!otro.carga(QStringLiteral("NOEXISTE")));
}

void tst_ArticuloEditor::completoONada()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    catalogos(c);
    PrecioStation st(&c);
    const auto cuentas = [&] {
        QStringList out;
        for (const char *t : {"tArticulo", "tArticuloPrecio", "tTallaArticulo", "tArticuloEnsamble", "tArticuloMaxMin"})
            out << c.scalar(QStringLiteral("select count(*) from ") + QLatin1String(t)).toString();
        out << c.scalar(QStringLiteral("select coalesce(max(art_Nombre), '') from tArticulo where art_Clave = 'A1'"))
                   .toString();
        return out;
    };
    // First a new article, then a change of it: every statement in turn fails.
    for (const bool nuevo : {true, false}) {
        const QStringList antes = cuentas();
        for (int n = 1;; ++n) {
            QVERIFY(n < 100);
            ArticuloEditor e(st.provider, st.config, st.prompter, st.calculo);
            if (nuevo)
                llena(e);
            else
                QVERIFY(e.carga(QStringLiteral("A1")));
            e.setTexto(QStringLiteral("art_Nombre"), nuevo ? QStringLiteral("UNO") : QStringLiteral("DOS"));
            e.agregaFila(false);
            e.agregaFila(true);
            e.ofertas()[0].cantidad = Decimal(3);
            e.tallas() = QStringList{QStringLiteral("CH")};
            e.ensamble() = {{QStringLiteral("PIEZA"), Decimal(1)}};
            e.setTexto(QStringLiteral("per_Clave"), QStringLiteral("SEM"));
            int cuenta = 0;
            c.setStatementHook([&](const QString &sql) {
                if (!sql.startsWith(QLatin1String("select"), Qt::CaseInsensitive) && ++cuenta == n)
                    throw db::DbError(9999, QStringLiteral("falla simulada"), QStringLiteral("prueba"));
            });
            st.prompter.answers.enqueue(false);
            const bool ok = e.guardaDatos();
            c.setStatementHook({});
            st.prompter.answers.clear();
            st.prompter.clear();
            if (ok) {
                QVERIFY(n > 8);
                break;
            }
            QCOMPARE(cuentas(), antes);
        }
    }
    QCOMPARE(cuentas().last(), QStringLiteral("DOS"));
}

QTEST_GUILESS_MAIN(tst_ArticuloEditor)
#include "tst_articulo_editor.moc"
