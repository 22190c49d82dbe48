// Credit sales meet collections: after every sale, collection, cancellation and deletion, each
// client's open balance (what the counter's credit check reads) equals what the rows say.
#include "PuestoVenta.h"

#include "../receivables/InvariantesCobranza.h"
#include "Cobranza.h"
#include "CobroDoc.h"
#include "CuentaPorCobrar.h"
#include "GuardaVenta.h"
#include "Log.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

class tst_VentaCobranza : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void secuencia_data() { TestDatabase::addEngineRows(); }
    void secuencia();
};

void tst_VentaCobranza::secuencia()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    QTemporaryDir dir;
    const QString logDir = dir.path();
    Log::setDirectoryProvider([logDir] { return logDir; });
    db::Connection &c = db.connection();
    preparaMostrador(c, dir.filePath(QStringLiteral("inicial.ini")));
    EstacionPrueba s(&c, dir.filePath(QStringLiteral("Mostrador.ini")));
    enCaja(s, c);
    GuardaVenta g(s.provider, s.config, s.prompter);
    Cobranza cobranza(s.provider, s.config, s.prompter);
    CuentaPorCobrar cuentas(s.provider, s.config, s.prompter);
    const auto saldo = [&c](const char *cliente) {
        return SaldoCliente::saldo(c, QString::fromLatin1(cliente), QStringLiteral("A1"));
    };
    const auto cuentasDe = [&c](const char *cliente) {
        QList<qint64> l;
        for (auto rs = c.openRecordset(
                 QStringLiteral("select cob_Clave from tCobranza where cli_Clave = ? order by "
                                "cob_Clave"),
                 {QString::fromLatin1(cliente)});
             !rs.eof(); rs.moveNext())
            l << rs.integer(QStringLiteral("cob_Clave"));
        return l;
    };
    const auto cobra = [&](const QList<qint64> &k, const char *efectivo) {
        s.prompter.answers << true;
        return cobranza.cmdCobrar(k, {}, [efectivo](CobroDoc &doc) {
            CobroDoc::Captura p;
            p.tipo = QStringLiteral("EFECTIVO");
            p.importe = QString::fromLatin1(efectivo);
            return doc.cmdAgregar(p) && doc.cmdAceptar();
        });
    };

    // A sale of 100: 60 and 30 on credit, 10 in cash.
    DatosVenta d = venta({linea(QStringLiteral("LIB"), "10", "10", "0")}, QStringLiteral("CREDITO"));
    d.pagos = {pago(QStringLiteral("CREDITO"), "60"), pago(QStringLiteral("EFECTIVO"), "10"),
               pago(QStringLiteral("CREDITO"), "30")};
    QVERIFY(g.guardaDatos(d));
    QCOMPARE(saldo("C1"), Decimal(90));
    MDR_VERIFICA_COBRANZA(c);
    const QList<qint64> c1 = cuentasDe("C1");
    QCOMPARE(c1.size(), 2);

    QVERIFY(cobra({c1.at(0)}, "25"));
    QCOMPARE(saldo("C1"), Decimal(65));
    MDR_VERIFICA_COBRANZA(c);

    DatosVenta d2 = venta({linea(QStringLiteral("LIB"), "5", "10", "0")}, QStringLiteral("CREDITO"));
    d2.cliente = QStringLiteral("C2");
    QVERIFY(g.guardaDatos(d2));
    QCOMPARE(saldo("C2"), Decimal(50));
    MDR_VERIFICA_COBRANZA(c);

    s.prompter.answers << true;
    QVERIFY(cuentas.cancelarCobro(c1.at(1)));
    QCOMPARE(saldo("C1"), Decimal(35));
    MDR_VERIFICA_COBRANZA(c);

    QVERIFY(cobra({c1.at(0)}, "35"));
    QCOMPARE(saldo("C1"), Decimal(0));
    MDR_VERIFICA_COBRANZA(c);

    const QList<qint64> c2 = cuentasDe("C2");
    QVERIFY(cobra(c2, "40"));
    QCOMPARE(saldo("C2"), Decimal(10));
    s.prompter.answers << true;
    QVERIFY(cuentas.eliminarRegistro(c2.first()));
    QCOMPARE(saldo("C2"), Decimal(0));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from TCOBRO where cli_Clave = 'C2'")).toInt(), 0);
    MDR_VERIFICA_COBRANZA(c);
    Log::setDirectoryProvider({});
}

QTEST_GUILESS_MAIN(tst_VentaCobranza)
#include "tst_venta_cobranza.moc"
