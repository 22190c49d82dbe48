// Deleting an article: asked first, its price and detail rows go with it, refused while the
// warehouses hold stock rows of it or another table still refers to it (both engines).
#include "ArticuloEditor.h"
#include "Log.h"
#include "PuestoArticulos.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

class tst_ArticuloEliminar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void eliminar_data();
    void eliminar();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ArticuloEliminar::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_ArticuloEliminar::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_ArticuloEliminar::eliminar_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<bool>("eliminado");
    const QString pregunta = QStringLiteral("Esta seguro de eliminar el articulo");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("con sus precios y detalles"))
            << "si" << "A1" << QStringList{pregunta, QStringLiteral("El registro fue eliminado con exito")} << true;
        TestDatabase::newRow(e, QStringLiteral("la respuesta es no"))
            << "no" << "A1" << QStringList{pregunta} << false;
        TestDatabase::newRow(e, QStringLiteral("con existencias"))
            << "existencia" << "A1"
            << QStringList{QStringLiteral("El articulo tiene existencias registradas en los almacenes, no es posible "
                                          "eliminarlo")}
            << false;
        TestDatabase::newRow(e, QStringLiteral("otra tabla lo usa"))
            << "referencia" << "A1"
            << QStringList{pregunta, QStringLiteral("La clave esta en uso, no es posible eliminar este registro")}
            << false;
        TestDatabase::newRow(e, QStringLiteral("no existe"))
            << "si" << "NOHAY" << QStringList{QStringLiteral("La clave no existe")} << false;
    }
}

void tst_ArticuloEliminar::eliminar()
{
    QFETCH(QString, engine);
    QFETCH(QString, caso);
    QFETCH(QString, clave);
    QFETCH(QStringList, mensajes);
    QFETCH(bool, eliminado);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoArticulos p(&db.connection(), m_dir->filePath(QStringLiteral("Mostrador.ini")));
    db::Connection &c = db.connection();
    c.execute(QStringLiteral("insert into tTalla (tala_Clave, tala_Nombre) values ('CH', 'Chica')"));
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, tart_Clave, cambio_Clave) "
                             "values ('B1', 'Otro', 'MED', 'PUBLICO')"));
    {
        ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
        editor.setTexto(QStringLiteral("art_Clave"), QStringLiteral("A1"));
        editor.setTexto(QStringLiteral("art_Nombre"), QStringLiteral("Gasas"));
        editor.setTexto(QStringLiteral("tart_Clave"), QStringLiteral("MED"));
        editor.setCifra(Cifra::Costo, QStringLiteral("5"));
        editor.setCifra(Cifra::Publico, QStringLiteral("8"));
        editor.agregaFila(false);
        editor.tallas() << QStringLiteral("CH");
        editor.ensamble().append({QStringLiteral("B1"), Decimal(2)});
        p.prompter.answers.enqueue(false);
        QVERIFY(editor.guardaDatos());
    }
    if (caso == QLatin1String("existencia"))
        c.execute(QStringLiteral("insert into tArticuloAlmacen (alm_Clave, art_Clave, alma_Existencia) "
                                 "values ('CENTRAL', 'A1', 0)"));
    if (caso == QLatin1String("referencia")) {
        // A table of a later subsystem that keeps the article's key.
        c.execute(QStringLiteral("create table tPruebaVenta (art_Clave varchar(30) references tArticulo (art_Clave))"));
        c.execute(QStringLiteral("insert into tPruebaVenta (art_Clave) values ('A1')"));
    }
    p.prompter.clear();
    if (caso != QLatin1String("existencia") && clave == QLatin1String("A1"))
        p.prompter.answers.enqueue(caso != QLatin1String("no"));

    ArticuloEditor editor(p.provider, p.config, p.prompter, p.calculo);
    QCOMPARE(editor.eliminarRegistro(clave), eliminado);
    QCOMPARE(p.prompter.texts(), mensajes);
    QVERIFY(p.prompter.drained());
    const auto cuenta = [&](const char *tabla) {
        return c.scalar(QStringLiteral("select count(*) from ") + QLatin1String(tabla) +
                            QStringLiteral(" where art_Clave = 'A1'"))
            .toInt();
    };
    QCOMPARE(cuenta("tArticulo"), eliminado ? 0 : 1);
    QCOMPARE(cuenta("tArticuloPrecio"), eliminado ? 0 : 2);
    QCOMPARE(cuenta("tTallaArticulo"), eliminado ? 0 : 1);
    QCOMPARE(cuenta("tArticuloEnsamble"), eliminado ? 0 : 1);
    // The component of the assembly stays.
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticulo where art_Clave = 'B1'")).toInt(), 1);
}

QTEST_GUILESS_MAIN(tst_ArticuloEliminar)
#include "tst_articulo_eliminar.moc"
