// How a warehouse movement reports a stock call that failed in the database: the plain sentence
// of the stock call, the database text behind "Detalles", one line in the log; and a refusal of
// the stock routine in its own words with nothing behind "Detalles".
#include "ArticulosExistencia.h"
#include "EstacionPrueba.h"
#include "Existencias.h"
#include "InvariantesExistencia.h"
#include "Log.h"
#include "MovimientoAlmacen.h"
#include "TestDatabase.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Fails the stock routine's own write: the call on PostgreSQL, its kardex row on SQLite.
void fallaLaExistencia(db::Connection &c)
{
    c.setStatementHook([](const QString &sql) {
        const QString s = sql.toLower();
        if (s.contains(QLatin1String("sp_actualizaarticuloalmacen")) ||
            s.contains(QLatin1String("insert into tarticulokardex")))
            throw db::DbError(99, QStringLiteral("falla de prueba"), QStringLiteral("prueba"));
    });
}

MovimientoAlmacen::Datos movimiento(const QString &tipo, const QString &articulo, const QString &lote,
                                    const Decimal &cantidad)
{
    MovimientoAlmacen::Datos d;
    d.almacen = QStringLiteral("A1");
    d.tipo = tipo;
    d.articulo = articulo;
    d.lote = lote;
    d.cantidad = cantidad;
    d.costo = Decimal(2);
    return d;
}

} // namespace

class tst_ExistenciasAvisos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void movimientoConFallaDeLaBase_data();
    void movimientoConFallaDeLaBase();
    void rechazoDeLaRutina_data() { TestDatabase::addEngineRows(); }
    void rechazoDeLaRutina();

private:
    QString logTexto() const
    {
        QFile f(QDir(m_dir->path()).filePath(Log::fileNameFor(QDate::currentDate())));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ExistenciasAvisos::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_ExistenciasAvisos::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_ExistenciasAvisos::movimientoConFallaDeLaBase_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("cancelar"); // the failure comes while cancelling, not registering
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "al registrar") << false;
        TestDatabase::newRow(e, "al cancelar") << true;
    }
}

void tst_ExistenciasAvisos::movimientoConFallaDeLaBase()
{
    QFETCH(QString, engine);
    QFETCH(bool, cancelar);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Uno')"));
    c.execute(QStringLiteral("insert into tTipoMovAlmacen (tmova_Clave, tmova_Nombre, tmova_Entrada, tmova_Salida) "
                             "values ('REGALO', 'Regalo', 'S', 'N')"));
    EstacionPrueba s(&c, settingsFile());
    MovimientoAlmacen m(s.provider, s.config, s.prompter);
    if (cancelar) {
        s.prompter.answers << true;
        QVERIFY(m.registra(movimiento(QStringLiteral("REGALO"), QStringLiteral("LOT"), QStringLiteral("L1"),
                                      Decimal(5))));
    }
    const QStringList antes = filasExistencia(c);
    s.prompter.clear();
    s.prompter.answers << true;

    fallaLaExistencia(c);
    const bool ok = cancelar ? m.cancela(QStringLiteral("A1"), m.anio(), m.numero())
                             : m.registra(movimiento(QStringLiteral("REGALO"), QStringLiteral("LOT"),
                                                     QStringLiteral("L1"), Decimal(5)));
    c.setStatementHook({});
    QVERIFY(!ok);
    QVERIFY(s.prompter.drained());
    const ScriptedPrompter::Shown &aviso = s.prompter.shown.last();
    QCOMPARE(aviso.text, QStringLiteral("No fue posible actualizar la existencia del articulo LOT"));
    QCOMPARE(aviso.icon, Prompter::Icon::Exclamation);
    QVERIFY2(aviso.details.contains(QStringLiteral("falla de prueba")), qPrintable(aviso.details));
    // Logged once, by the stock call, with its sentence and the database text.
    const QString log = logTexto();
    QCOMPARE(log.count(QStringLiteral("falla de prueba")), 1);
    QVERIFY2(log.contains(QStringLiteral("No fue posible actualizar la existencia del articulo LOT: ")),
             qPrintable(log));
    QCOMPARE(filasExistencia(c), antes);
    MDR_VERIFICA_INVARIANTES(c);
}

void tst_ExistenciasAvisos::rechazoDeLaRutina()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Uno')"));
    c.execute(QStringLiteral("insert into tTipoMovAlmacen (tmova_Clave, tmova_Nombre, tmova_Entrada, tmova_Salida) "
                             "values ('MERMA', 'Merma', 'N', 'S')"));
    EstacionPrueba s(&c, settingsFile());
    MovimientoAlmacen m(s.provider, s.config, s.prompter);
    s.prompter.answers << true;
    // Only the routine knows the lot is not there: the capture checks pass.
    QVERIFY(!m.registra(movimiento(QStringLiteral("MERMA"), QStringLiteral("LOT"), QStringLiteral("L9"), Decimal(1))));
    const ScriptedPrompter::Shown &aviso = s.prompter.shown.last();
    QCOMPARE(aviso.text, QStringLiteral("El Lote no existe (LOT L9)"));
    QCOMPARE(aviso.icon, Prompter::Icon::Exclamation);
    QVERIFY(aviso.details.isEmpty());
    QVERIFY2(logTexto().isEmpty(), qPrintable(logTexto()));
}

QTEST_GUILESS_MAIN(tst_ExistenciasAvisos)
#include "tst_existencias_avisos.moc"
