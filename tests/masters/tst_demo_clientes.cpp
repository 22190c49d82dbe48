// The demo store's clients: the default client for the general public, cash and credit clients
// of several types, every one of them passing the client window's own checks; idempotent.
#include "PuestoClientes.h"
#include "TestDatabase.h"

#include "DatosFiscales.h"
#include "DemoData.h"
#include "Log.h"

#include <QSet>
#include <QTest>

class tst_DemoClientes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { Log::setDirectoryProvider({}); }
    void clientes_data() { TestDatabase::addEngineRows(); }
    void clientes();

private:
    QTemporaryDir m_log;
};

void tst_DemoClientes::initTestCase()
{
    const QString dir = m_log.path();
    Log::setDirectoryProvider([dir] { return dir; });
}

void tst_DemoClientes::clientes()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    db::DemoData::populate(c);
    const int cuantos = c.scalar(QStringLiteral("select count(*) from tCliente")).toInt();
    QVERIFY(cuantos >= 5);

    db::Recordset sys = c.openRecordset(QStringLiteral("select * from tCliente where cli_Clave = 'SYS'"));
    QVERIFY(!sys.eof());
    QCOMPARE(sys.text(QStringLiteral("cli_Nombre")), QStringLiteral("PUBLICO EN GENERAL"));
    QCOMPARE(sys.text(QStringLiteral("cli_RFC")), DatosFiscales::rfcPublicoGeneral());
    QCOMPARE(sys.text(QStringLiteral("tcli_Clave")).trimmed(), QStringLiteral("SYS"));

    QSet<QString> tipos;
    int credito = 0;
    int contado = 0;
    int morales = 0;
    QStringList claves;
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select cli_Clave, cli_RFC, cli_CURP, tcli_Clave, cli_Credito "
                                                           "from tCliente order by cli_Clave"));
         !rs.eof(); rs.moveNext()) {
        const QString rfc = rs.text(QStringLiteral("cli_RFC"));
        const auto r = DatosFiscales::revisaRfc(rfc);
        QVERIFY2(r == DatosFiscales::Resultado::Valido || r == DatosFiscales::Resultado::Generico, qPrintable(rfc));
        if (!rs.value(QStringLiteral("cli_CURP")).isNull())
            QCOMPARE(DatosFiscales::revisaCurp(rs.text(QStringLiteral("cli_CURP"))), DatosFiscales::Resultado::Valido);
        morales += DatosFiscales::esPersonaFisica(rfc) ? 0 : 1;
        tipos << rs.text(QStringLiteral("tcli_Clave")).trimmed();
        (rs.decimal(QStringLiteral("cli_Credito")) > Decimal() ? credito : contado)++;
        claves << rs.text(QStringLiteral("cli_Clave")).trimmed();
    }
    QVERIFY(tipos.size() >= 4);
    QVERIFY(credito >= 2);
    QVERIFY(contado >= 2);
    QVERIFY(morales >= 2);

    // Every demo client passes the window's checks without a question.
    QTemporaryDir dir;
    EstacionPrueba p(&c, dir.filePath(QStringLiteral("settings.ini")));
    for (const QString &clave : claves) {
        ClienteEditor e(p.provider, p.config, p.permisos, p.prompter);
        QVERIFY(e.carga(clave));
        QVERIFY2(e.validaDatos(), qPrintable(clave + QStringLiteral(": ") + p.prompter.texts().join(u'|')));
    }
    QVERIFY(p.prompter.texts().isEmpty());

    db::DemoData::populate(c);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tCliente")).toInt(), cuantos);
}

QTEST_GUILESS_MAIN(tst_DemoClientes)
#include "tst_demo_clientes.moc"
