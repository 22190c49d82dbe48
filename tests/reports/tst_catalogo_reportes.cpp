// The reports a profile may run: the list by the right "R" + key with its filters and order,
// loading a report (missing, not allowed, switched off, without program), accepting without a
// report, and the menu module of a report.
#include "ReportePrueba.h"

#include "CatalogoReportes.h"
#include "EstacionPrueba.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace reportes;

namespace {

QStringList claves(const QList<CatalogoReportes::Entrada> &lista)
{
    QStringList out;
    for (const CatalogoReportes::Entrada &e : lista)
        out << e.clave;
    return out;
}

// Reports in several versions and kinds; PRUEBA may run all but OCULTO, OTRO holds OCULTO only.
void reportesVarios(db::Connection &c)
{
    EstacionPrueba::grant(c, {QStringLiteral("mnuReporte")});
    c.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('OTRO', 'Otro')"));
    reporte(c, QStringLiteral("ZETA"), QStringLiteral("Zeta"), QStringLiteral("select 1 as Uno"),
            QStringLiteral("PRG_ZETA"), 1);
    reporte(c, QStringLiteral("ALFA"), QStringLiteral("Alfa"), QStringLiteral("select 1 as Uno"),
            QStringLiteral("PRG_ALFA"), 2);
    reporte(c, QStringLiteral("BETA"), QStringLiteral("Beta"), QStringLiteral("select 1 as Uno"),
            QStringLiteral("PRG_BETA"), 2);
    reporte(c, QStringLiteral("FACT"), QStringLiteral("Factura"), QStringLiteral("select 1 as Uno"),
            QStringLiteral("PRG_FACT"), 0, QString(), QStringLiteral("FACTURA"));
    reporte(c, QStringLiteral("V2"), QStringLiteral("Version dos"), QStringLiteral("select 1 as Uno"),
            QStringLiteral("PRG_V2"), 0, QStringLiteral("2"));
    reporte(c, QStringLiteral("OCULTO"), QStringLiteral("Oculto"), QStringLiteral("select 1 as Uno"),
            QStringLiteral("PRG_OCULTO"));
    for (const char *k : {"ZETA", "ALFA", "BETA", "FACT", "V2"})
        derecho(c, QStringLiteral("PRUEBA"), QLatin1String(k));
    derecho(c, QStringLiteral("OTRO"), QStringLiteral("OCULTO"));
    // A right of another kind whose key happens to start with R is not a report.
    c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('PRUEBA', 'RALFA_X')"));
}

} // namespace

class tst_CatalogoReportes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void claveDeMenu_data();
    void claveDeMenu();
    void lista_data();
    void lista();
    void carga_data();
    void carga();
    void cargaConParametros_data() { TestDatabase::addEngineRows(); }
    void cargaConParametros();
    void aceptar_data() { TestDatabase::addEngineRows(); }
    void aceptar();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_CatalogoReportes::claveDeMenu_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<QString>("reporte");
    QTest::newRow("reporte") << "RVENTASDIA"
                             << "VENTASDIA";
    QTest::newRow("clave que empieza con R") << "RRETIROS"
                                             << "RETIROS";
    QTest::newRow("encabezado del menu") << "mnuReporte_Ventas"
                                         << "";
    QTest::newRow("r minuscula") << "rventas"
                                 << "";
    QTest::newRow("solo R") << "R"
                            << "";
    QTest::newRow("vacio") << ""
                           << "";
}

void tst_CatalogoReportes::claveDeMenu()
{
    QFETCH(QString, modulo);
    QFETCH(QString, reporte);
    QCOMPARE(CatalogoReportes::claveDeMenu(modulo), reporte);
    if (!reporte.isEmpty())
        QCOMPARE(CatalogoReportes::claveDeModulo(reporte), modulo);
}

void tst_CatalogoReportes::lista_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("perfil");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QStringList>("reportes");
    for (const QString &e : TestDatabase::engines()) {
        // By version, then rep_Orden, then name.
        TestDatabase::newRow(e, QStringLiteral("todos los del perfil"))
            << "PRUEBA"
            << ""
            << ""
            << "" << QStringList{"FACT", "ZETA", "ALFA", "BETA", "V2"};
        TestDatabase::newRow(e, QStringLiteral("una version")) << "PRUEBA"
                                                               << "2"
                                                               << ""
                                                               << "" << QStringList{"V2"};
        TestDatabase::newRow(e, QStringLiteral("un tipo")) << "PRUEBA"
                                                           << ""
                                                           << "FACTURA"
                                                           << "" << QStringList{"FACT"};
        TestDatabase::newRow(e, QStringLiteral("tipo general"))
            << "PRUEBA"
            << ""
            << "GENERAL"
            << "" << QStringList{"ZETA", "ALFA", "BETA", "V2"};
        TestDatabase::newRow(e, QStringLiteral("una clave")) << "PRUEBA"
                                                             << ""
                                                             << ""
                                                             << "BETA" << QStringList{"BETA"};
        TestDatabase::newRow(e, QStringLiteral("clave sin derecho")) << "PRUEBA"
                                                                     << ""
                                                                     << ""
                                                                     << "OCULTO" << QStringList();
        TestDatabase::newRow(e, QStringLiteral("otro perfil")) << "OTRO"
                                                               << ""
                                                               << ""
                                                               << "" << QStringList{"OCULTO"};
        TestDatabase::newRow(e, QStringLiteral("perfil sin derechos")) << "NADIE"
                                                                       << ""
                                                                       << ""
                                                                       << "" << QStringList();
    }
}

void tst_CatalogoReportes::lista()
{
    QFETCH(QString, engine);
    QFETCH(QString, perfil);
    QFETCH(QString, version);
    QFETCH(QString, tipo);
    QFETCH(QString, clave);
    QFETCH(QStringList, reportes);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    reportesVarios(db.connection());
    EstacionPrueba estacion(&db.connection(), ini());
    estacion.config.setValue(QStringLiteral("PERFIL"), perfil);
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);
    QCOMPARE(claves(catalogo.lista({version, tipo, clave})), reportes);
    QVERIFY(estacion.prompter.texts().isEmpty());
}

void tst_CatalogoReportes::carga_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("reporte");
    QTest::addColumn<bool>("todos");
    QTest::addColumn<QString>("mensaje");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, QStringLiteral("listo")) << "LISTO" << false << "";
        TestDatabase::newRow(e, QStringLiteral("no existe"))
            << "NOHAY" << false << "El reporte no fue encontrado";
        TestDatabase::newRow(e, QStringLiteral("sin derecho del perfil"))
            << "AJENO" << false << "El reporte no fue encontrado";
        TestDatabase::newRow(e, QStringLiteral("sin derecho, desde la administracion"))
            << "AJENO" << true << "";
        TestDatabase::newRow(e, QStringLiteral("programa apagado"))
            << "APAGADO" << false << "El reporte no esta activo";
        TestDatabase::newRow(e, QStringLiteral("apagado aun desde la administracion"))
            << "APAGADO" << true << "El reporte no esta activo";
        TestDatabase::newRow(e, QStringLiteral("sin clave de programa"))
            << "SINCLAVE" << false << "No hay codigo definido para el reporte";
        TestDatabase::newRow(e, QStringLiteral("programa ausente"))
            << "SINFILA" << false << "No hay codigo definido para el reporte";
        TestDatabase::newRow(e, QStringLiteral("programa vacio"))
            << "VACIO" << false << "No hay codigo definido para el reporte";
    }
}

void tst_CatalogoReportes::carga()
{
    QFETCH(QString, engine);
    QFETCH(QString, reporte);
    QFETCH(bool, todos);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c, {QStringLiteral("mnuReporte")});
    const QString texto = QStringLiteral("xRpt.SQL = \"select 1\"\n");
    reportes::reporte(c, QStringLiteral("LISTO"), QStringLiteral("Listo"), QStringLiteral("select 1"),
                      QStringLiteral("PRG_LISTO"));
    programa(c, QStringLiteral("PRG_LISTO"), texto);
    reportes::reporte(c, QStringLiteral("AJENO"), QStringLiteral("Ajeno"), QStringLiteral("select 1"),
                      QStringLiteral("PRG_AJENO"));
    programa(c, QStringLiteral("PRG_AJENO"), texto);
    // Whatever its design, a report whose program is switched off does not run.
    reportes::reporte(c, QStringLiteral("APAGADO"), QStringLiteral("Apagado"), QStringLiteral("select 1"),
                      QStringLiteral("PRG_APAGADO"));
    programa(c, QStringLiteral("PRG_APAGADO"), texto, QStringLiteral("N"));
    reportes::reporte(c, QStringLiteral("SINCLAVE"), QStringLiteral("Sin clave"));
    reportes::reporte(c, QStringLiteral("SINFILA"), QStringLiteral("Sin fila"), QStringLiteral("select 1"),
                      QStringLiteral("PRG_NOHAY"));
    reportes::reporte(c, QStringLiteral("VACIO"), QStringLiteral("Vacio"), QStringLiteral("select 1"),
                      QStringLiteral("PRG_VACIO"));
    programa(c, QStringLiteral("PRG_VACIO"), QStringLiteral("  \n"));
    for (const char *k : {"LISTO", "APAGADO", "SINCLAVE", "SINFILA", "VACIO", "NOHAY"})
        derecho(c, QStringLiteral("PRUEBA"), QLatin1String(k));

    EstacionPrueba estacion(&c, ini());
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);
    QVERIFY(catalogo.cargaReporte(QStringLiteral("LISTO")));
    const bool ok = catalogo.cargaReporte(reporte, todos ? CatalogoReportes::Derechos::Todos
                                                         : CatalogoReportes::Derechos::DelPerfil);
    QCOMPARE(ok, mensaje.isEmpty());
    QCOMPARE(estacion.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    // A report that cannot be loaded leaves none chosen, not the one before.
    QCOMPARE(bool(catalogo.reporte()), ok);
    if (ok) {
        QCOMPARE(catalogo.reporte()->clave, reporte);
        QCOMPARE(catalogo.reporte()->programa, texto);
    }
}

void tst_CatalogoReportes::cargaConParametros()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c, {QStringLiteral("mnuReporte")});
    reporte(c, QStringLiteral("VENTAS"), QStringLiteral("Ventas del día"), QStringLiteral("select 1"),
            QStringLiteral("PRG_VENTAS"));
    c.execute(QStringLiteral("update tReporte set rep_Archivo = 'ventas.rpt' where rep_Clave = 'VENTAS'"));
    programa(c, QStringLiteral("PRG_VENTAS"), QStringLiteral("xRpt.SQL = \"select 1\"\n"));
    parametro(c, QStringLiteral("VENTAS"), 1, QStringLiteral("FECHA"), QStringLiteral("Periodo"),
              QStringLiteral("RANGOFECHA"), QStringLiteral("F"), 0, true, QStringLiteral("HOY"));
    parametro(c, QStringLiteral("VENTAS"), 2, QStringLiteral("MINIMO"), QStringLiteral("Importe minimo"),
              QStringLiteral("TEXTO"), QStringLiteral("N"));
    derecho(c, QStringLiteral("PRUEBA"), QStringLiteral("VENTAS"));
    EstacionPrueba estacion(&c, ini());
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);
    QVERIFY(catalogo.cargaReporte(QStringLiteral("VENTAS")));
    const CatalogoReportes::Reporte &r = *catalogo.reporte();
    QCOMPARE(r.nombre, QStringLiteral("Ventas del día"));
    QCOMPARE(r.descripcion, QStringLiteral("Descripcion de Ventas del día"));
    QCOMPARE(r.archivo, QStringLiteral("ventas.rpt"));
    QCOMPARE(r.codigoClave, QStringLiteral("PRG_VENTAS"));
    QCOMPARE(r.parametros.size(), 2);
    QCOMPARE(r.parametros[0].nombre, QStringLiteral("FECHA"));
    QCOMPARE(r.parametros[1].descripcion, QStringLiteral("Importe minimo"));
}

void tst_CatalogoReportes::aceptar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c, {QStringLiteral("mnuReporte")});
    reporte(c, QStringLiteral("CORTE"), QStringLiteral("Corte"), QStringLiteral("select 1"),
            QStringLiteral("PRG"));
    programa(c, QStringLiteral("PRG"), QStringLiteral("xRpt.SQL = \"select 1\"\n"));
    parametro(c, QStringLiteral("CORTE"), 1, QStringLiteral("FECHA"), QStringLiteral("Fecha"),
              QStringLiteral("FECHA"), QStringLiteral("F"), 0, true);
    derecho(c, QStringLiteral("PRUEBA"), QStringLiteral("CORTE"));
    EstacionPrueba estacion(&c, ini());
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);

    QVERIFY(!catalogo.aceptar({}));
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("No hay reporte cargado")});
    QCOMPARE(estacion.prompter.shown.first().icon, Prompter::Icon::Information);

    estacion.prompter.clear();
    QVERIFY(catalogo.cargaReporte(QStringLiteral("CORTE")));
    QVERIFY(!catalogo.aceptar({ParametrosReporte::Captura{}}));
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("Fecha es requerido")});
    ParametrosReporte::Captura dia;
    dia.desde = QDate(2026, 3, 5);
    const auto valores = catalogo.aceptar({dia});
    QVERIFY(valores);
    QCOMPARE(valores->first().valor.toString(), QStringLiteral("05/03/2026"));

    // Once unloaded there is nothing to accept.
    estacion.prompter.clear();
    catalogo.descarga();
    QVERIFY(!catalogo.aceptar({dia}));
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("No hay reporte cargado")});
}

QTEST_GUILESS_MAIN(tst_CatalogoReportes)
#include "tst_catalogo_reportes.moc"
