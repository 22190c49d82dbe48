#include "Corte.h"

#include "DbError.h"
#include "EstacionPrueba.h"
#include "Log.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The warehouse and terminal of the cut tests, and the workstation's settings that name them.
void creaCaja(db::Connection &c)
{
    c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz')"));
    c.execute(QStringLiteral("insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values "
                             "('CAJA-1', 'Caja uno', 'A1'), ('CAJA2', 'Caja dos', 'A1')"));
}

void enCaja(EstacionPrueba &s, const QString &terminal = QStringLiteral("CAJA-1"))
{
    s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
    s.config.setValue(QStringLiteral("TERMINAL"), terminal);
    s.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
    s.config.setValue(QStringLiteral("CORTE-CAJA"), QString());
}

int anioServidor(db::Connection &c)
{
    return c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
}

} // namespace

class tst_Corte : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void codigo_data();
    void codigo();
    void abre_data() { TestDatabase::addEngineRows(); }
    void abre();
    void importeInicial_data();
    void importeInicial();
    void numeroPorAnio_data() { TestDatabase::addEngineRows(); }
    void numeroPorAnio();
    void saldoAcumulado_data() { TestDatabase::addEngineRows(); }
    void saldoAcumulado();
    void dosEstaciones_data() { TestDatabase::addEngineRows(); }
    void dosEstaciones();
    void fallaEnCadaSentencia_data() { TestDatabase::addEngineRows(); }
    void fallaEnCadaSentencia();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_Corte::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_Corte::codigo_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<QString>("terminal");
    QTest::addColumn<int>("anio");
    QTest::addColumn<int>("numero");
    QTest::newRow("simple") << "CAJA1-2026-3" << true << "CAJA1" << 2026 << 3;
    QTest::newRow("terminal con guion") << "CAJA-NORTE-2026-12" << true << "CAJA-NORTE" << 2026 << 12;
    QTest::newRow("sin numero") << "CAJA1-2026" << false << "" << 0 << 0;
    QTest::newRow("solo terminal") << "CAJA1" << false << "" << 0 << 0;
    QTest::newRow("vacio") << "" << false << "" << 0 << 0;
    QTest::newRow("anio no numerico") << "CAJA1-dos-3" << false << "" << 0 << 0;
    QTest::newRow("sin terminal") << "-2026-3" << false << "" << 0 << 0;
    QTest::newRow("numero cero") << "CAJA1-2026-0" << false << "" << 0 << 0;
}

void tst_Corte::codigo()
{
    QFETCH(QString, texto);
    QFETCH(bool, valido);
    QFETCH(QString, terminal);
    QFETCH(int, anio);
    QFETCH(int, numero);
    const auto clave = Corte::deCodigo(texto);
    QCOMPARE(clave.has_value(), valido);
    if (!valido)
        return;
    QCOMPARE(*clave, (Corte::Clave{terminal, anio, numero}));
    QCOMPARE(Corte::codigo(*clave), texto);
}

void tst_Corte::abre()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCaja(c);
    EstacionPrueba s(&c, ini());
    enCaja(s);
    Corte corte(s.provider, s.config, s.prompter);

    // No cut yet: the counter is told to open one.
    QVERIFY(!corte.validaCorte());
    QCOMPARE(s.prompter.last(), Corte::kCorteInvalido);

    const auto a = corte.preparaApertura();
    QVERIFY(a);
    const int anio = anioServidor(c);
    QCOMPARE(a->anio, anio);
    QCOMPARE(a->numero, 1);
    QCOMPARE(a->terminal, QStringLiteral("CAJA-1"));
    QCOMPARE(a->usuario, QStringLiteral("ADMIN"));
    QVERIFY(!a->importeSugerido);
    QVERIFY(corte.abre(*a, QStringLiteral(" 500.50 ")));
    QCOMPARE(s.prompter.last(), QStringLiteral("El corte ha sido generado con éxito"));
    const QString codigo = QStringLiteral("CAJA-1-%1-1").arg(anio);
    QCOMPARE(s.config.getString(QStringLiteral("CORTE-CAJA")), codigo);
    QCOMPARE(filas(c, QStringLiteral("select alm_Clave, term_Clave, corte_Numero, ecorte_Clave, usu_Clave from TCORTE")),
             QStringList{QStringLiteral("A1|CAJA-1|1|ABIERTO|ADMIN")});
    QCOMPARE(filas(c, QStringLiteral("select movc_Clave, concepto_Clave, concepto_Nombre, movc_Importe from tMovCaja")),
             QStringList{QStringLiteral("1|EFEC_APORTACION|IMPORTE INICIAL|500.5")});

    // The lookup finds it and keeps the code; a second opening is refused.
    s.config.setValue(QStringLiteral("CORTE-CAJA"), QString());
    QVERIFY(corte.validaCorte());
    QCOMPARE(s.config.getString(QStringLiteral("CORTE-CAJA")), codigo);
    QVERIFY(!corte.preparaApertura());
    QCOMPARE(s.prompter.last(), QStringLiteral("Hay un corte de caja abierto, debe  cerrarlo antes de iniciar uno nuevo"));

    // Another terminal of the same warehouse opens its own cut, numbered on its own.
    enCaja(s, QStringLiteral("CAJA2"));
    const auto b = corte.preparaApertura();
    QVERIFY(b);
    QCOMPARE(b->numero, 1);
    QVERIFY(corte.abre(*b, QStringLiteral("0")));

    // Once closed, the next cut of the terminal takes the next number.
    c.execute(QStringLiteral("update TCORTE set ecorte_Clave = 'CERRADO' where term_Clave = 'CAJA2'"));
    const auto d = corte.preparaApertura();
    QVERIFY(d);
    QCOMPARE(d->numero, 2);
}

void tst_Corte::importeInicial_data()
{
    QTest::addColumn<QString>("importe");
    QTest::newRow("vacio") << "";
    QTest::newRow("espacios") << "   ";
    QTest::newRow("letras") << "cien";
    QTest::newRow("negativo") << "-1";
}

void tst_Corte::importeInicial()
{
    QFETCH(QString, importe);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCaja(c);
    EstacionPrueba s(&c, ini());
    enCaja(s);
    Corte corte(s.provider, s.config, s.prompter);
    const auto a = corte.preparaApertura();
    QVERIFY(a);
    QVERIFY(!corte.abre(*a, importe));
    QVERIFY(corte.importeRechazado());
    QCOMPARE(s.prompter.last(), QStringLiteral("Debe indicar el importe inicial"));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from TCORTE")).toInt(), 0);
    QVERIFY(s.config.getString(QStringLiteral("CORTE-CAJA")).isEmpty());
}

void tst_Corte::numeroPorAnio()
{
    // The first cut of a year is 1 even when the last year ended at 250.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCaja(c);
    const int anio = anioServidor(c);
    c.execute(QStringLiteral("insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                             "ecorte_Clave, usu_Clave) values ('A1', 'CAJA-1', ?, 250, getdate(), 'CERRADO', 'ADMIN')"),
              {anio - 1});
    EstacionPrueba s(&c, ini());
    enCaja(s);
    Corte corte(s.provider, s.config, s.prompter);
    const auto a = corte.preparaApertura();
    QVERIFY(a);
    QCOMPARE(a->numero, 1);
    QVERIFY(corte.abre(*a, QStringLiteral("100")));
    QCOMPARE(c.scalar(QStringLiteral("select corte_Numero from TCORTE where corte_Anio = ?"), {anio}).toInt(), 1);

    // The opening window shown on the last evening of the old year and accepted after midnight.
    c.execute(QStringLiteral("delete from tMovCaja"));
    c.execute(QStringLiteral("delete from TCORTE where corte_Anio = ?"), {anio});
    Corte::Apertura vieja = *corte.preparaApertura();
    vieja.anio = anio - 1;
    vieja.numero = 251;
    QVERIFY(corte.abre(vieja, QStringLiteral("100")));
    QCOMPARE(filas(c, QStringLiteral("select corte_Anio, corte_Numero from TCORTE where ecorte_Clave = 'ABIERTO'")),
             QStringList{QStringLiteral("%1|1").arg(anio)});
    QCOMPARE(s.config.getString(QStringLiteral("CORTE-CAJA")), QStringLiteral("CAJA-1-%1-1").arg(anio));
}

void tst_Corte::saldoAcumulado()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCaja(c);
    EstacionPrueba s(&c, ini());
    enCaja(s);
    Corte corte(s.provider, s.config, s.prompter);
    auto a = corte.preparaApertura();
    QVERIFY(a && corte.abre(*a, QStringLiteral("100")));
    c.execute(QStringLiteral("update TCORTE set ecorte_Clave = 'CERRADO', corte_Total = 1234.5"));

    a = corte.preparaApertura();
    QVERIFY(a);
    QVERIFY(!a->importeSugerido); // only with the setting
    s.config.setValue(QStringLiteral("ACUMULA-SALDO-CORTE-DE-CAJA"), true);
    a = corte.preparaApertura();
    QVERIFY(a);
    QCOMPARE(a->numero, 2);
    QCOMPARE(a->importeSugerido.value_or(Decimal(-1)), Decimal("1234.5"));
}

void tst_Corte::dosEstaciones()
{
    // Two stations showing the opening of the same terminal: the second to accept is refused.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCaja(c);
    auto otra = db.openAnother();
    EstacionPrueba s1(&c, ini());
    EstacionPrueba s2(otra.get(), m_dir->filePath(QStringLiteral("Otra.ini")));
    enCaja(s1);
    enCaja(s2);
    Corte c1(s1.provider, s1.config, s1.prompter), c2(s2.provider, s2.config, s2.prompter);
    const auto a1 = c1.preparaApertura(), a2 = c2.preparaApertura();
    QVERIFY(a1 && a2);
    QVERIFY(c1.abre(*a1, QStringLiteral("10")));
    QVERIFY(!c2.abre(*a2, QStringLiteral("20")));
    QCOMPARE(s2.prompter.last(), QStringLiteral("Hay un corte de caja abierto, debe  cerrarlo antes de iniciar uno nuevo"));
    QVERIFY(s2.config.getString(QStringLiteral("CORTE-CAJA")).isEmpty());
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from TCORTE")).toInt(), 1);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tMovCaja")).toInt(), 1);
}

void tst_Corte::fallaEnCadaSentencia()
{
    // A failure at any statement of the opening leaves no cut, no movement and no number drawn.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCaja(c);
    EstacionPrueba s(&c, ini());
    enCaja(s);
    Corte corte(s.provider, s.config, s.prompter);
    const auto a = corte.preparaApertura();
    QVERIFY(a);
    const auto estado = [&c] {
        return filas(c, QStringLiteral("select count(*) from TCORTE")) +
               filas(c, QStringLiteral("select count(*) from tMovCaja")) +
               filas(c, QStringLiteral("select sec_Clave, sec_Valor from tSecuencia order by sec_Clave"));
    };
    const QStringList antes = estado();
    int fallas = 0;
    bool ok = false;
    for (int n = 1; n < 40 && !ok; ++n) {
        int vistas = 0;
        c.setStatementHook([&vistas, n](const QString &) {
            if (++vistas == n)
                throw db::DbError(99, QStringLiteral("falla de prueba"), QStringLiteral("prueba"));
        });
        ok = corte.abre(*a, QStringLiteral("100"));
        c.setStatementHook({});
        if (ok)
            break;
        ++fallas;
        QCOMPARE(estado(), antes);
        QVERIFY(s.config.getString(QStringLiteral("CORTE-CAJA")).isEmpty());
        // The database's text goes behind "Detalles", never in the message itself.
        QCOMPARE(s.prompter.shown.last().details, QStringLiteral("falla de prueba"));
        QVERIFY(!s.prompter.last().contains(QStringLiteral("falla de prueba")));
    }
    QVERIFY(ok);
    QVERIFY(fallas >= 4);
}

QTEST_GUILESS_MAIN(tst_Corte)
#include "tst_corte.moc"
