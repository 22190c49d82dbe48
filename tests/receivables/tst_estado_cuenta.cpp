// A client's statement: charges, collections and notes with the running balance, whose end is
// the open balance; exported as the grid services export it. And the demo store's receivables,
// which must hold the same rules as any collection written by the program.
#include "EstadoCuenta.h"
#include "PuestoCobranza.h"

#include "DemoData.h"
#include "GridExport.h"
#include "TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

using namespace cobranza;

class tst_EstadoCuenta : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void saldoCorrido_data() { TestDatabase::addEngineRows(); }
    void saldoCorrido();
    void demo_data() { TestDatabase::addEngineRows(); }
    void demo();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_EstadoCuenta::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_EstadoCuenta::saldoCorrido()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 a = cuenta(c, "100");
    const qint64 b = cuenta(c, "50");
    const qint64 cancelada = cuenta(c, "20");
    cuenta(c, "999", QStringLiteral("C2"));
    cuenta(c, "888", QStringLiteral("C1"), QStringLiteral("A2"));
    nota(c, 901, "10");
    nota(c, 902, "7", QStringLiteral("REGISTRADA"));
    Puesto s(&c, ini());
    s.prompter.answers << true << true << true;
    QVERIFY(s.cobra({a}, {efectivo("30")}));
    QVERIFY(s.cobra({b}, {efectivo("40")}, {901}));
    QVERIFY(s.cobra({cancelada}, {efectivo("5")}));
    QVERIFY(CuentaPorCobrar(s.provider, s.config, s.prompter).cancelarCobro(cancelada));

    EstadoCuenta e;
    QAbstractItemModelTester tester(&e, QAbstractItemModelTester::FailureReportingMode::QtTest);
    e.carga(c, QStringLiteral("A1"), QStringLiteral("C1"));
    QCOMPARE(e.nombreCliente(), QStringLiteral("Cliente uno"));
    // Every charge and credit of the client here, and nothing of others or other warehouses.
    QStringList movimientos;
    for (const EstadoCuenta::Movimiento &m : e.movimientos())
        movimientos << m.documento.section(u' ', 0, 0) + u'|' + m.cargo.toString() + u'|' +
                           m.abono.toString() + u'|' + m.estado;
    movimientos.sort();
    // The collection of the cancelled receivable is shown and not counted.
    QCOMPARE(movimientos, (QStringList{"Cobro|0|0|", "Cobro|0|10|", "Cobro|0|30|", "Cobro|0|40|",
                                       "CxC|0|0|CANCELADA", "CxC|100|0|COBRO_PARCIAL", "CxC|50|0|COBRADA",
                                       "Nota|0|0|PAGADA", "Nota|0|0|REGISTRADA"}));
    // Each balance follows from the one before; the last is the open balance.
    Decimal corrido;
    for (const EstadoCuenta::Movimiento &m : e.movimientos()) {
        corrido += m.cargo - m.abono;
        QCOMPARE(m.saldo, corrido);
    }
    QCOMPARE(e.saldo(), Decimal(70));
    QCOMPARE(e.saldo(), SaldoCliente::saldo(c, QStringLiteral("C1"), QStringLiteral("A1")));

    const QStringList texto = GridExport::toText(e).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(texto.size(), e.rowCount() + 1);
    QCOMPARE(texto.first(), QStringLiteral("Fecha,Documento,Concepto,Cargo,Abono,Saldo,Estado"));
    QVERIFY2(texto.last().contains(QStringLiteral(",70.00,")), qPrintable(texto.last()));
    QVERIFY(texto.filter(QStringLiteral("\"Cuenta por cobrar, vence ")).size() >= 2);
    MDR_VERIFICA_COBRANZA(c);
}

void tst_EstadoCuenta::demo()
{
    // The demo's receivables obey the collection rules; collecting on them keeps doing so, and
    // populating again changes nothing.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    db::DemoData::populate(c);
    MDR_VERIFICA_COBRANZA(c);
    QCOMPARE(SaldoCliente::saldo(c, QStringLiteral("C0003"), QStringLiteral("MATRIZ")), Decimal("1810.5"));
    QCOMPARE(SaldoCliente::saldo(c, QStringLiteral("C0005"), QStringLiteral("MATRIZ")), Decimal("315.75"));
    EstadoCuenta e;
    e.carga(c, QStringLiteral("MATRIZ"), QStringLiteral("C0003"));
    QCOMPARE(e.saldo(), Decimal("1810.5"));

    EstacionPrueba s(&c, ini());
    s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("MATRIZ"));
    s.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("ADMIN"));
    Cobranza cobranza(s.provider, s.config, s.prompter);
    const QList<Cobranza::Fila> lista = cobranza.lista(
        {QDate::currentDate().addYears(-1), QDate::currentDate(), QStringLiteral("C0005"), {}});
    QCOMPARE(lista.size(), 1);
    const QList<NotaCobro> notas = cobranza.notas(QStringLiteral("C0005"));
    QCOMPARE(notas.size(), 1);
    QVERIFY(cobranza.cmdCobrar({lista.first().clave}, {notas.first().clave}, [](CobroDoc &doc) {
        return doc.cmdAgregar(efectivo("265.75")) && doc.cmdAceptar();
    }));
    QCOMPARE(SaldoCliente::saldo(c, QStringLiteral("C0005"), QStringLiteral("MATRIZ")), Decimal(0));
    MDR_VERIFICA_COBRANZA(c);
    const QStringList antes = filas(c, QStringLiteral("select * from tCobranza order by cob_Clave"));
    db::DemoData::populate(c);
    QCOMPARE(filas(c, QStringLiteral("select * from tCobranza order by cob_Clave")), antes);
}

QTEST_GUILESS_MAIN(tst_EstadoCuenta)
#include "tst_estado_cuenta.moc"
