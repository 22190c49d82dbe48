// Finding an article by key or barcode: the key first, then the extra barcodes; suspended
// articles found; nothing for an unknown or empty code.
#include "BuscaArticulo.h"
#include "TestDatabase.h"

#include <QTest>

class tst_BuscaArticulo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void porCodigo_data();
    void porCodigo();
    void cambiosSeVenAlMomento_data() { TestDatabase::addEngineRows(); }
    void cambiosSeVenAlMomento();
};

namespace {

void tienda(db::Connection &c)
{
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, eart_Clave) values "
                             "('7501000000017', 'Paracetamol 500 mg', 'REGISTRADO'), "
                             "('7501000000024', 'Ibuprofeno 400 mg', 'SUSPENDIDO'), "
                             "('ABC', 'Jabón neutro', 'REGISTRADO'), "
                             "('0042', 'Clave con ceros', 'REGISTRADO')"));
    c.execute(QStringLiteral("insert into tArticuloCodigo (acod_Codigo, art_Clave) values "
                             "('7509999999995', '7501000000017'), ('1234567890128', '7501000000017'), "
                             "('7508888888886', '7501000000024'), "
                             // A barcode written like another article's key: the key wins.
                             "('ABC', '7501000000017'), ('42', '0042')"));
}

} // namespace

void tst_BuscaArticulo::porCodigo_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("clave");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("clave")) << QStringLiteral("7501000000017") << QStringLiteral("7501000000017");
        TestDatabase::newRow(e, QStringLiteral("codigo de barras")) << QStringLiteral("1234567890128")
                                                                   << QStringLiteral("7501000000017");
        TestDatabase::newRow(e, QStringLiteral("otro codigo del mismo")) << QStringLiteral("7509999999995")
                                                                        << QStringLiteral("7501000000017");
        TestDatabase::newRow(e, QStringLiteral("suspendido por clave")) << QStringLiteral("7501000000024")
                                                                       << QStringLiteral("7501000000024");
        TestDatabase::newRow(e, QStringLiteral("suspendido por codigo")) << QStringLiteral("7508888888886")
                                                                        << QStringLiteral("7501000000024");
        TestDatabase::newRow(e, QStringLiteral("la clave gana")) << QStringLiteral("ABC") << QStringLiteral("ABC");
        TestDatabase::newRow(e, QStringLiteral("texto, no numero")) << QStringLiteral("42") << QStringLiteral("0042");
        TestDatabase::newRow(e, QStringLiteral("ceros a la izquierda")) << QStringLiteral("042") << QString();
        TestDatabase::newRow(e, QStringLiteral("mayusculas cuentan")) << QStringLiteral("abc") << QString();
        TestDatabase::newRow(e, QStringLiteral("espacios del lector")) << QStringLiteral(" 1234567890128\r\n")
                                                                      << QStringLiteral("7501000000017");
        TestDatabase::newRow(e, QStringLiteral("desconocido")) << QStringLiteral("7500000000000") << QString();
        TestDatabase::newRow(e, QStringLiteral("prefijo no basta")) << QStringLiteral("750100000001") << QString();
        TestDatabase::newRow(e, QStringLiteral("comodin literal")) << QStringLiteral("7501%") << QString();
        TestDatabase::newRow(e, QStringLiteral("vacio")) << QString() << QString();
        TestDatabase::newRow(e, QStringLiteral("solo espacios")) << QStringLiteral("   ") << QString();
    }
}

void tst_BuscaArticulo::porCodigo()
{
    QFETCH(QString, engine);
    QFETCH(QString, codigo);
    QFETCH(QString, clave);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    tienda(db.connection());
    const QString found = BuscaArticulo::porCodigo(db.connection(), codigo);
    QCOMPARE(found, clave);
}

// The statements are kept prepared; a code added or removed by another workstation is seen at
// the next call.
void tst_BuscaArticulo::cambiosSeVenAlMomento()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    tienda(c);
    QCOMPARE(BuscaArticulo::porCodigo(c, QStringLiteral("7777777777777")), QString());
    std::unique_ptr<db::Connection> otra = db.openAnother();
    otra->execute(QStringLiteral("insert into tArticuloCodigo (acod_Codigo, art_Clave) values ('7777777777777', 'ABC')"));
    QCOMPARE(BuscaArticulo::porCodigo(c, QStringLiteral("7777777777777")), QStringLiteral("ABC"));
    otra->execute(QStringLiteral("delete from tArticuloCodigo where acod_Codigo = '7777777777777'"));
    QCOMPARE(BuscaArticulo::porCodigo(c, QStringLiteral("7777777777777")), QString());
    otra->execute(QStringLiteral("update tArticulo set eart_Clave = 'SUSPENDIDO' where art_Clave = 'ABC'"));
    QCOMPARE(BuscaArticulo::porCodigo(c, QStringLiteral("ABC")), QStringLiteral("ABC"));
}

QTEST_GUILESS_MAIN(tst_BuscaArticulo)
#include "tst_busca_articulo.moc"
