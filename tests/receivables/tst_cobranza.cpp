// Collecting receivables: the spreading of a payment over several receivables, the link rows
// each payment line leaves, when a receivable counts as settled, the checks of the selection and
// of every payment kind, credit notes, and a collection written whole or not at all.
#include "PuestoCobranza.h"

#include "CarteraPrueba.h"
#include "Secuencias.h"
#include "TestDatabase.h"

#include "DbError.h"

#include <QTemporaryDir>
#include <QTest>

using namespace cobranza;

namespace {

// The tables a collection touches, row by row, and the sequences.
QStringList estado(db::Connection &c)
{
    QStringList out;
    for (const char *sql :
         {"select * from tCobranza order by cob_Clave", "select * from TCOBRO order by cobro_Clave",
          "select * from tCobranzaCobro order by cob_Clave, cobro_Clave",
          "select * from tNotaCliente order by notac_Clave",
          "select sec_Clave, sec_Valor from tSecuencia order by sec_Clave"})
        out << QString::fromLatin1(sql) << filas(c, QString::fromLatin1(sql));
    return out;
}

// "receivable|payment line|amount" with both as 1-based positions: what tCobranzaCobro holds.
QStringList enlaces(db::Connection &c, const QList<qint64> &cuentas)
{
    QStringList pagos = filas(c, QStringLiteral("select cobro_Clave from TCOBRO order by cobro_Clave"));
    QStringList out;
    for (const QString &r :
         filas(c, QStringLiteral("select cob_Clave, cobro_Clave, ccob_Importe from tCobranzaCobro "
                                 "order by cob_Clave, cobro_Clave"))) {
        const QStringList f = r.split(u'|');
        out << QStringLiteral("%1|%2|%3")
                   .arg(cuentas.indexOf(f.at(0).toLongLong()) + 1)
                   .arg(pagos.indexOf(f.at(1)) + 1)
                   .arg(f.at(2));
    }
    return out;
}

QStringList estados(db::Connection &c)
{
    return filas(c, QStringLiteral("select ecob_Clave, cob_Pagado from tCobranza order by cob_Clave"));
}

} // namespace

class tst_Cobranza : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void liquidacion_data();
    void liquidacion();
    void reparto_data();
    void reparto();
    void saldoAbierto_data() { TestDatabase::addEngineRows(); }
    void saldoAbierto();
    void folios_data() { TestDatabase::addEngineRows(); }
    void folios();
    void seleccionRechazada_data();
    void seleccionRechazada();
    void lineaRechazada_data();
    void lineaRechazada();
    void notaCapturada_data();
    void notaCapturada();
    void cambioEnOtraEstacion_data();
    void cambioEnOtraEstacion();
    void fallaEnCadaSentencia_data() { TestDatabase::addEngineRows(); }
    void fallaEnCadaSentencia();
    void comandosDeNotas_data() { TestDatabase::addEngineRows(); }
    void comandosDeNotas();
    void lista_data() { TestDatabase::addEngineRows(); }
    void lista();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_Cobranza::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_Cobranza::liquidacion_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("pago");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<QString>("resultado"); // state|paid of the receivable of 100
    const QString parcial = CobroDoc::kParcial, exito = Cobranza::kExito;
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("99.995 liquida"))
            << "99.995" << QStringList{parcial, exito} << "COBRADA|99.995";
        TestDatabase::newRow(engine, QStringLiteral("99.99 deja un centavo"))
            << "99.99" << QStringList{parcial, exito} << "COBRO_PARCIAL|99.99";
        TestDatabase::newRow(engine, QStringLiteral("99.98 es parcial"))
            << "99.98" << QStringList{parcial, exito} << "COBRO_PARCIAL|99.98";
        TestDatabase::newRow(engine, QStringLiteral("exacto"))
            << "100" << QStringList{exito} << "COBRADA|100";
        // The receivable takes what it owed; the payment keeps what was handed over.
        TestDatabase::newRow(engine, QStringLiteral("100.009 se acepta"))
            << "100.009" << QStringList{exito} << "COBRADA|100";
        TestDatabase::newRow(engine, QStringLiteral("100.01 excede"))
            << "100.01" << QStringList{CobroDoc::kExcede} << "PENDIENTE|0";
    }
}

void tst_Cobranza::liquidacion()
{
    QFETCH(QString, engine);
    QFETCH(QString, pago);
    QFETCH(QStringList, mensajes);
    QFETCH(QString, resultado);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 k = cuenta(c, "100");
    Puesto s(&c, ini());
    s.prompter.answers << true;
    const bool escrito = s.cobra({k}, {efectivo(qPrintable(pago))});
    QCOMPARE(s.prompter.texts(), mensajes);
    QCOMPARE(escrito, mensajes.last() == Cobranza::kExito);
    QCOMPARE(estados(c), QStringList{resultado});
    if (escrito) {
        QCOMPARE(
            filas(c, QStringLiteral("select tcobro_Clave, cobro_Importe, cli_Clave, usu_Clave from TCOBRO")),
            QStringList{QStringLiteral("EFECTIVO|%1|C1|COBRADOR")
                            .arg(Decimal(pago.toLatin1().constData()).toString())});
        QCOMPARE(enlaces(c, {k}), QStringList{QStringLiteral("1|1|") + resultado.section(u'|', 1)});
    } else {
        QCOMPARE(c.scalar(QStringLiteral("select count(*) from TCOBRO")).toInt(), 0);
    }
    MDR_VERIFICA_COBRANZA(c);
}

void tst_Cobranza::reparto_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QStringList>("pendientes"); // receivables in grid order
    QTest::addColumn<QStringList>("lineas");     // payment lines in grid order; "N15" a note of 15
    QTest::addColumn<QStringList>("cobros");     // "Cobro" of each receivable
    QTest::addColumn<QStringList>("links");      // receivable|line|amount
    QTest::addColumn<QStringList>("finales");    // state|paid of each receivable
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("25 sobre 20 y 10"))
            << QStringList{"20", "10"} << QStringList{"25"} << QStringList{"20", "5"}
            << QStringList{"1|1|20", "2|1|5"} << QStringList{"COBRADA|20", "COBRO_PARCIAL|5"};
        TestDatabase::newRow(engine, QStringLiteral("el orden de la rejilla manda"))
            << QStringList{"10", "20"} << QStringList{"25"} << QStringList{"10", "15"}
            << QStringList{"1|1|10", "2|1|15"} << QStringList{"COBRADA|10", "COBRO_PARCIAL|15"};
        // The fully used first line adds no row for the second receivable.
        TestDatabase::newRow(engine, QStringLiteral("10 y 20 sobre 20 y 10: tres enlaces"))
            << QStringList{"20", "10"} << QStringList{"10", "20"} << QStringList{"20", "10"}
            << QStringList{"1|1|10", "1|2|10", "2|2|10"} << QStringList{"COBRADA|20", "COBRADA|10"};
        TestDatabase::newRow(engine, QStringLiteral("lo pagado se acaba: la ultima no recibe nada"))
            << QStringList{"20", "10", "5"} << QStringList{"12", "8"} << QStringList{"20", "0", "0"}
            << QStringList{"1|1|12", "1|2|8"} << QStringList{"COBRADA|20", "PENDIENTE|0", "PENDIENTE|0"};
        TestDatabase::newRow(engine, QStringLiteral("nota y efectivo"))
            << QStringList{"20", "10"} << QStringList{"N15", "15"} << QStringList{"20", "10"}
            << QStringList{"1|1|15", "1|2|5", "2|2|10"} << QStringList{"COBRADA|20", "COBRADA|10"};
        TestDatabase::newRow(engine, QStringLiteral("centavos en tres lineas"))
            << QStringList{"0.30", "0.30"} << QStringList{"0.10", "0.20", "0.29"}
            << QStringList{"0.3", "0.29"} << QStringList{"1|1|0.1", "1|2|0.2", "2|3|0.29"}
            << QStringList{"COBRADA|0.3", "COBRO_PARCIAL|0.29"};
    }
}

void tst_Cobranza::reparto()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, pendientes);
    QFETCH(QStringList, lineas);
    QFETCH(QStringList, cobros);
    QFETCH(QStringList, links);
    QFETCH(QStringList, finales);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    QList<qint64> cuentas;
    for (const QString &p : pendientes)
        cuentas << cuenta(c, qPrintable(p));
    QList<qint64> notas;
    QList<CobroDoc::Captura> capturas;
    for (const QString &l : lineas) {
        if (l.startsWith(u'N')) {
            notas << 900 + notas.size();
            nota(c, notas.last(), qPrintable(l.mid(1)));
        } else {
            capturas << efectivo(qPrintable(l));
        }
    }
    Puesto s(&c, ini());
    s.prompter.answers << true;
    QList<Decimal> repartido;
    QList<qint64> prorrateo;
    const bool ok = s.cobranza.cmdCobrar(cuentas, notas, [&](CobroDoc &doc) {
        for (const CobroDoc::Captura &k : capturas)
            if (!doc.cmdAgregar(k))
                return false;
        if (!doc.cmdAceptar())
            return false;
        for (const CuentaCobro &k : doc.cuentas())
            repartido << k.cobro;
        return true;
    });
    QVERIFY2(ok, qPrintable(s.prompter.texts().join(u'\n')));
    QStringList obtenidos;
    for (const Decimal &d : repartido)
        obtenidos << d.toString();
    QCOMPARE(obtenidos, cobros);
    QCOMPARE(enlaces(c, cuentas), links);
    QCOMPARE(estados(c), finales);
    // The folios went to the lines in grid order.
    QCOMPARE(filas(c, QStringLiteral("select tcobro_Clave from TCOBRO order by cobro_Clave")).size(),
             lineas.size());
    if (!notas.isEmpty())
        QCOMPARE(filas(c, QStringLiteral("select edonc_Clave from tNotaCliente")), QStringList{"PAGADA"});
    MDR_VERIFICA_COBRANZA(c);
}

void tst_Cobranza::saldoAbierto()
{
    // One open receivable of 50 with 10 collected and a registered credit sale payment of 30.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    c.execute(QStringLiteral(
        "insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values ('T1', 'Caja', 'A1')"));
    c.execute(
        QStringLiteral("insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                       "usu_Clave) values ('A1', 'T1', 2026, 1, '2026-03-01 09:00:00', 'ADMIN')"));
    const qint64 k = cuenta(c, "50");
    cartera::pagoVenta(c, QStringLiteral("A1"), 1, QStringLiteral("C1"), QStringLiteral("CREDITO"),
                       Decimal("30"), QStringLiteral("REGISTRADO"));
    Puesto s(&c, ini());
    s.prompter.answers << true;
    QVERIFY(s.cobra({k}, {efectivo("10")}));
    QCOMPARE(SaldoCliente::saldo(c, QStringLiteral("C1"), QStringLiteral("A1")), Decimal("70"));
    QCOMPARE(SaldoCliente::saldo(c, QStringLiteral("C1"), QStringLiteral("A2")), Decimal("0"));
    MDR_VERIFICA_COBRANZA(c);
}

void tst_Cobranza::folios()
{
    // Payment folios: year and the warehouse's yearly sequence; the lines keep theirs.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 k = cuenta(c, "100");
    const int anio = c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
    QCOMPARE(k, Secuencias::folioConAnio(anio, 1));
    Puesto s(&c, ini());
    s.prompter.answers << true;
    QList<qint64> prorrateo;
    QVERIFY(s.cobranza.cmdCobrar({k}, {}, [&](CobroDoc &doc) {
        doc.cmdAgregar(efectivo("10"));
        CobroDoc::Captura ch;
        ch.tipo = QStringLiteral("CHEQUE");
        ch.banco = QStringLiteral("BANCO1");
        ch.cheque = QStringLiteral("000123");
        ch.importe = QStringLiteral("20");
        doc.cmdAgregar(ch);
        const bool ok = doc.cmdAceptar();
        // What the dialog shows once written comes back through the same object.
        QObject::connect(doc.modeloPagos(), &QAbstractItemModel::dataChanged, doc.modeloPagos(),
                         [&doc, &prorrateo] {
                             prorrateo.clear();
                             for (const PagoCobro &p : doc.pagos())
                                 prorrateo << p.prorrateo;
                         });
        return ok;
    }));
    QCOMPARE(prorrateo,
             (QList<qint64>{Secuencias::folioConAnio(anio, 1), Secuencias::folioConAnio(anio, 2)}));
    QCOMPARE(
        filas(c, QStringLiteral(
                     "select cobro_Clave, tcobro_Clave, banco_Clave, cobro_Cheque, cobro_Importe from "
                     "TCOBRO order by cobro_Clave")),
        (QStringList{QStringLiteral("%1|EFECTIVO|||10").arg(Secuencias::folioConAnio(anio, 1)),
                     QStringLiteral("%1|CHEQUE|BANCO1|000123|20").arg(Secuencias::folioConAnio(anio, 2))}));
    QCOMPARE(
        c.scalar(QStringLiteral("select sec_Valor from tSecuencia where sec_Clave = ?"),
                 {Secuencias::clave(Secuencias::Documento::Cobro, QStringLiteral("A1"), QDate(anio, 1, 1))})
            .toLongLong(),
        2);
    MDR_VERIFICA_COBRANZA(c);
}

void tst_Cobranza::seleccionRechazada_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("mensaje"); // %1: the first receivable's folio
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("ninguna"))
            << "ninguna"
            << "Debe seleccionar las cuentas por cobrar antes de intentar cobrarlas";
        TestDatabase::newRow(engine, QStringLiteral("cancelada"))
            << "cancelada"
            << "La cuenta por cobrar %1 Esta cancelada, no es posible pagarla";
        TestDatabase::newRow(engine, QStringLiteral("cobrada"))
            << "cobrada"
            << "La cuenta por cobrar %1 Ya ha sido pagada";
        TestDatabase::newRow(engine, QStringLiteral("no existe")) << "no existe"
                                                                  << "La clave no existe";
        TestDatabase::newRow(engine, QStringLiteral("dos clientes"))
            << "dos clientes"
            << "Las cuentas por cobrar seleccionadas deben ser del mismo cliente";
        TestDatabase::newRow(engine, QStringLiteral("nota cancelada"))
            << "nota CANCELADA"
            << "No es posible efectuar operaciones sobre esta nota, ya que se encuentra cancelada";
        TestDatabase::newRow(engine, QStringLiteral("nota pagada"))
            << "nota PAGADA"
            << "No es posible efectuar operaciones sobre esta nota, ya que se encuentra pagada";
        TestDatabase::newRow(engine, QStringLiteral("nota sin autorizar"))
            << "nota REGISTRADA"
            << "No es posible efectuar operaciones sobre esta nota, ya que no ha sido autorizada";
        TestDatabase::newRow(engine, QStringLiteral("nota de otro cliente"))
            << "nota de otro"
            << "La nota de credito 901 no es del cliente de las cuentas por cobrar";
    }
}

void tst_Cobranza::seleccionRechazada()
{
    QFETCH(QString, engine);
    QFETCH(QString, caso);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    qint64 k = cuenta(c, "100");
    const qint64 otra =
        cuenta(c, "40", caso == QLatin1String("dos clientes") ? QStringLiteral("C2") : QStringLiteral("C1"));
    QList<qint64> cuentas{k, otra}, notas;
    if (caso == QLatin1String("ninguna"))
        cuentas.clear();
    else if (caso == QLatin1String("cancelada"))
        c.execute(QStringLiteral("update tCobranza set ecob_Clave = 'CANCELADA' where cob_Clave = ?"), {k});
    else if (caso == QLatin1String("cobrada"))
        c.execute(QStringLiteral("update tCobranza set ecob_Clave = 'COBRADA' where cob_Clave = ?"), {k});
    else if (caso == QLatin1String("no existe"))
        cuentas = {k + 1000};
    else if (caso.startsWith(QLatin1String("nota "))) {
        const bool deOtro = caso == QLatin1String("nota de otro");
        nota(c, 901, "5", deOtro ? QStringLiteral("AUTORIZADA") : caso.mid(5),
             deOtro ? QStringLiteral("C2") : QStringLiteral("C1"));
        notas << 901;
    }
    const QStringList antes = estado(c);
    Puesto s(&c, ini());
    bool dialogo = false;
    QVERIFY(!s.cobranza.cmdCobrar(cuentas, notas, [&dialogo](CobroDoc &) { return dialogo = true; }));
    QVERIFY(!dialogo);
    QCOMPARE(s.prompter.texts(),
             QStringList{QString(mensaje).replace(QStringLiteral("%1"), QString::number(k))});
    QCOMPARE(estado(c), antes);
}

void tst_Cobranza::lineaRechazada_data()
{
    TestDatabase::addEngineColumn();
    // tipo|importe|banco|cheque|tarjeta|folio|moneda|importeMoneda|tipoCambio|referencia
    QTest::addColumn<QString>("captura");
    QTest::addColumn<QString>("mensaje"); // empty: accepted
    QTest::addColumn<int>("campo");
    QTest::addColumn<QString>("importe"); // the line's amount when accepted
    using C = CobroDoc::Campo;
    for (const QString &engine : TestDatabase::engines()) {
        const auto fila = [&engine](const char *n, const char *k, const char *m, C campo,
                                    const char *i = "") {
            TestDatabase::newRow(engine, QString::fromLatin1(n))
                << QString::fromLatin1(k) << QString::fromLatin1(m) << int(campo) << QString::fromLatin1(i);
        };
        fila("efectivo sin importe", "EFECTIVO|", "Debe indicar importe en efectivo", C::Importe);
        fila("efectivo cero", "EFECTIVO|0", "Debe indicar importe en efectivo", C::Importe);
        fila("efectivo negativo", "EFECTIVO|-5", "Debe indicar importe en efectivo", C::Importe);
        fila("efectivo con texto", "EFECTIVO|diez", "Debe indicar importe en efectivo", C::Importe);
        fila("efectivo con formato", "EFECTIVO|$1,250.50", "", C::Ninguno, "1250.5");
        fila("cheque sin banco", "CHEQUE|10||123", "Debe seleccionar un banco", C::Banco);
        fila("cheque sin numero", "CHEQUE|10|BANCO1|", "Debe indicar el numero de cheque", C::Cheque);
        fila("cheque sin importe", "CHEQUE||BANCO1|123", "Debe indicar el importe del cheque", C::Importe);
        fila("tarjeta sin numero", "TARJETA|10|||", "Debe indicar el numero de la tarjeta", C::Tarjeta);
        fila("tarjeta sin folio", "TARJETA|10|||4111|",
             "Debe indicar el folio de pago generado por la tarjeta", C::Folio);
        fila("tarjeta sin importe", "TARJETA||||4111|A77", "Debe indicar el importe del pago con tarjeta",
             C::Importe);
        fila("extranjera sin moneda", "EXTRANJERA|||||||20|17.25", "Debe indicar la moneda de pago",
             C::Moneda);
        fila("extranjera sin importe", "EXTRANJERA||||||USD||17.25",
             "Debe indicar el importe del pago con moneda extranjera", C::ImporteMoneda);
        fila("extranjera sin tipo de cambio", "EXTRANJERA||||||USD|20|",
             "Debe indicar el tipo de cambio actual de la moneda", C::TipoCambio);
        fila("extranjera: importe por tipo de cambio", "EXTRANJERA|1|||||USD|20|17.255", "", C::Ninguno,
             "345.1");
        fila("credito sin importe", "CREDITO|", "Debe indicar el importe del pago a credito", C::Importe);
        fila("nota sin folio", "NOTA|10", "Debe indicar el folio de la nota de credito", C::Referencia);
        fila("nota sin importe", "NOTA|||||||||901", "Debe indicar el importe de la nota de credito",
             C::Importe);
        fila("otro tipo sin tipo", "|10", "Debe seleccionar un tipo de pago", C::Tipo);
        fila("otro tipo sin referencia", "VALES|10", "Debe indicar una referencia", C::Referencia);
        fila("otro tipo sin importe", "VALES|||||||||V-1", "Debe indicar el importe del pago", C::Importe);
        fila("otro tipo completo", "VALES|10||||||||V-1", "", C::Ninguno, "10");
    }
}

void tst_Cobranza::lineaRechazada()
{
    QFETCH(QString, engine);
    QFETCH(QString, captura);
    QFETCH(QString, mensaje);
    QFETCH(int, campo);
    QFETCH(QString, importe);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    Puesto s(&c, ini());
    CobroDoc doc(s.provider, s.config, s.prompter);
    QVERIFY(doc.init());
    const QStringList f = QString(captura + QStringLiteral("|||||||||||")).split(u'|');
    CobroDoc::Captura k{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]};
    QCOMPARE(doc.cmdAgregar(k), mensaje.isEmpty());
    QCOMPARE(int(doc.campoRechazado()), campo);
    QCOMPARE(s.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    QCOMPARE(doc.pagos().size(), mensaje.isEmpty() ? 1 : 0);
    if (mensaje.isEmpty())
        QCOMPARE(doc.pagos().first().importe, Decimal(importe));
}

void tst_Cobranza::notaCapturada_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("folio");
    QTest::addColumn<QString>("importe");
    QTest::addColumn<QString>("mensaje"); // empty: accepted and consumed
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("autorizada")) << "901"
                                                                   << "30"
                                                                   << "";
        TestDatabase::newRow(engine, QStringLiteral("menos que la nota")) << "901"
                                                                          << "20"
                                                                          << "";
        TestDatabase::newRow(engine, QStringLiteral("mas que la nota"))
            << "901"
            << "30.01"
            << "El importe excede el de la nota de credito";
        TestDatabase::newRow(engine, QStringLiteral("no existe")) << "999"
                                                                  << "5"
                                                                  << "La nota de credito no existe";
        TestDatabase::newRow(engine, QStringLiteral("folio que no es numero"))
            << "abc"
            << "5"
            << "La nota de credito no existe";
        TestDatabase::newRow(engine, QStringLiteral("de otro cliente")) << "902"
                                                                        << "5"
                                                                        << "La nota de credito no existe";
        TestDatabase::newRow(engine, QStringLiteral("cancelada"))
            << "903"
            << "5"
            << "No es posible efectuar operaciones sobre esta nota, ya que se encuentra cancelada";
        TestDatabase::newRow(engine, QStringLiteral("pagada"))
            << "904"
            << "5"
            << "No es posible efectuar operaciones sobre esta nota, ya que se encuentra pagada";
        TestDatabase::newRow(engine, QStringLiteral("sin autorizar"))
            << "905"
            << "5"
            << "No es posible efectuar operaciones sobre esta nota, ya que no ha sido autorizada";
        TestDatabase::newRow(engine, QStringLiteral("dos veces"))
            << "901"
            << "30"
            << "La nota de credito ya esta en los pagos";
    }
}

void tst_Cobranza::notaCapturada()
{
    // A note typed by hand belongs to the client being collected and is consumed like one picked
    // from the list.
    QFETCH(QString, engine);
    QFETCH(QString, folio);
    QFETCH(QString, importe);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 k = cuenta(c, "100");
    nota(c, 901, "30");
    nota(c, 902, "30", QStringLiteral("AUTORIZADA"), QStringLiteral("C2"));
    nota(c, 903, "30", QStringLiteral("CANCELADA"));
    nota(c, 904, "30", QStringLiteral("AUTORIZADA"));
    nota(c, 905, "30", QStringLiteral("REGISTRADA"));
    Puesto s(&c, ini());
    const qint64 usada = cuenta(c, "30");
    QVERIFY(s.cobra({usada}, {}, {904}));
    s.prompter.clear();
    s.prompter.answers << true;
    CobroDoc::Captura n;
    n.tipo = QStringLiteral("NOTA");
    n.referencia = folio;
    n.importe = importe;
    const bool dosVeces = QByteArray(QTest::currentDataTag()).contains("dos veces");
    CobroDoc::Campo campo = CobroDoc::Campo::Ninguno;
    QString cliente;
    const bool ok =
        s.cobranza.cmdCobrar({k}, dosVeces ? QList<qint64>{901} : QList<qint64>{}, [&](CobroDoc &doc) {
            if (!doc.cmdAgregar(n)) {
                campo = doc.campoRechazado();
                return false;
            }
            cliente = doc.pagos().last().cliente;
            return doc.cmdAceptar();
        });
    QCOMPARE(ok, mensaje.isEmpty());
    if (!ok)
        QCOMPARE(int(campo),
                 int(mensaje.startsWith(QLatin1String("El importe")) ? CobroDoc::Campo::Importe
                                                                     : CobroDoc::Campo::Referencia));
    else
        QCOMPARE(cliente, QStringLiteral("C1"));
    if (mensaje.isEmpty()) {
        QCOMPARE(s.prompter.texts(), (QStringList{CobroDoc::kParcial, Cobranza::kExito}));
        QCOMPARE(filas(c, QStringLiteral("select edonc_Clave from tNotaCliente where notac_Clave = 901")),
                 QStringList{"PAGADA"});
    } else {
        QCOMPARE(s.prompter.texts(), QStringList{mensaje});
    }
    MDR_VERIFICA_COBRANZA(c);
}

void tst_Cobranza::cambioEnOtraEstacion_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("mensaje"); // %1: the receivable
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("cobrada en otra estacion"))
            << "cobrada"
            << "La cuenta por cobrar %1 fue cobrada en otra estacion; no se registro el pago";
        TestDatabase::newRow(engine, QStringLiteral("cancelada en otra estacion"))
            << "cancelada"
            << "La cuenta por cobrar %1 ya no esta abierta; no se registro el pago";
        TestDatabase::newRow(engine, QStringLiteral("nota usada en otra estacion"))
            << "nota"
            << "La nota de credito 901 ya no esta autorizada; no se registro el pago";
    }
}

void tst_Cobranza::cambioEnOtraEstacion()
{
    // The dialog was filled from what the list read; what changed meanwhile stops the writer and
    // leaves nothing of this payment.
    QFETCH(QString, engine);
    QFETCH(QString, caso);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 k = cuenta(c, "100");
    nota(c, 901, "20");
    Puesto s(&c, ini());
    CobroDoc doc(s.provider, s.config, s.prompter);
    QVERIFY(doc.init());
    NotaCobro n;
    n.cliente = QStringLiteral("C1");
    n.clave = 901;
    n.importe = Decimal(20);
    doc.agregarNota(n);
    CuentaCobro cc;
    cc.cliente = QStringLiteral("C1");
    cc.clave = k;
    cc.importe = Decimal(100);
    doc.agregarCuentaPorPagar(cc);
    QVERIFY(doc.cmdAgregar(efectivo("80")));
    QVERIFY(doc.cmdAceptar());

    Puesto otra(&c, ini());
    otra.prompter.answers << true << true;
    if (caso == QLatin1String("cobrada"))
        QVERIFY(otra.cobra({k}, {efectivo("50")}));
    else if (caso == QLatin1String("cancelada"))
        QVERIFY(CuentaPorCobrar(otra.provider, otra.config, otra.prompter).cancelarCobro(k));
    else {
        const qint64 m = cuenta(c, "20");
        QVERIFY(otra.cobra({m}, {}, {901}));
    }
    const QStringList antes = estado(c);
    QVERIFY(!s.cobranza.procesaPagosDeVenta(doc));
    QCOMPARE(s.prompter.texts(),
             QStringList{QString(mensaje).replace(QStringLiteral("%1"), QString::number(k))});
    QCOMPARE(estado(c), antes);
    MDR_VERIFICA_COBRANZA(c);
}

void tst_Cobranza::fallaEnCadaSentencia()
{
    // Whatever statement of the writer fails, receivables, payments, links, notes and folios stay
    // as they were; then the same payment goes through whole.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 a = cuenta(c, "20");
    const qint64 b = cuenta(c, "10");
    const qint64 d = cuenta(c, "7");
    nota(c, 901, "5");
    Puesto s(&c, ini());
    s.prompter.answers << true;
    QVERIFY(s.cobra({d}, {efectivo("3")}));
    s.prompter.clear();

    CobroDoc doc(s.provider, s.config, s.prompter);
    QVERIFY(doc.init());
    NotaCobro n;
    n.cliente = QStringLiteral("C1");
    n.clave = 901;
    n.importe = Decimal(5);
    doc.agregarNota(n);
    for (auto [clave, importe, pagado] : {std::tuple{a, 20, 0}, std::tuple{b, 10, 0}, std::tuple{d, 7, 3}}) {
        CuentaCobro cc;
        cc.cliente = QStringLiteral("C1");
        cc.clave = clave;
        cc.importe = Decimal(importe);
        cc.pagado = Decimal(pagado);
        doc.agregarCuentaPorPagar(cc);
    }
    QVERIFY(doc.cmdAgregar(efectivo("10")));
    CobroDoc::Captura ch;
    ch.tipo = QStringLiteral("CHEQUE");
    ch.banco = QStringLiteral("BANCO1");
    ch.cheque = QStringLiteral("77");
    ch.importe = QStringLiteral("12");
    QVERIFY(doc.cmdAgregar(ch));
    s.prompter.answers << true;
    QVERIFY(doc.cmdAceptar());
    s.prompter.clear();

    const QStringList antes = estado(c);
    int fallas = 0;
    bool ok = false;
    for (int n = 1; n < 200 && !ok; ++n) {
        int vistas = 0;
        c.setStatementHook([&vistas, n](const QString &) {
            if (++vistas == n)
                throw db::DbError(99, QStringLiteral("falla de prueba"), QStringLiteral("prueba"));
        });
        s.prompter.clear();
        ok = s.cobranza.procesaPagosDeVenta(doc);
        c.setStatementHook({});
        if (ok)
            break;
        ++fallas;
        QCOMPARE(estado(c), antes);
        QCOMPARE(s.prompter.texts(), QStringList{Cobranza::kErrorAlGuardar});
        QVERIFY2(s.prompter.shown.last().details.contains(QStringLiteral("falla de prueba")),
                 qPrintable(s.prompter.shown.last().details));
        for (const PagoCobro &p : doc.pagos())
            QCOMPARE(p.prorrateo, 0);
        MDR_VERIFICA_COBRANZA(c);
    }
    QVERIFY(ok);
    // The clock, three folios, three payments, the note, links and three receivables' updates.
    QVERIFY2(fallas >= 20, qPrintable(QString::number(fallas)));
    QCOMPARE(estados(c), (QStringList{"COBRADA|20", "COBRO_PARCIAL|7", "COBRO_PARCIAL|3"}));
    QCOMPARE(enlaces(c, {a, b, d}), (QStringList{"1|2|5", "1|3|10", "1|4|5", "2|4|7", "3|1|3"}));
    MDR_VERIFICA_COBRANZA(c);
}

void tst_Cobranza::comandosDeNotas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    Puesto s(&c, ini());
    const auto nueva =
        s.cobranza.registraNota(QStringLiteral("C1"), Decimal("45.5"), QStringLiteral("Devolucion"));
    QVERIFY(nueva);
    const int anio = c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
    QCOMPARE(*nueva, Secuencias::folioConAnio(anio, 1));
    QVERIFY(!s.cobranza.registraNota(QString(), Decimal(5), QString()));
    QVERIFY(!s.cobranza.registraNota(QStringLiteral("C1"), Decimal(0), QString()));
    QCOMPARE(s.prompter.texts(), (QStringList{"Debe seleccionar un cliente", "Debe indicar el importe"}));
    nota(c, 902, "10", QStringLiteral("CANCELADA"));
    const auto estadoNota = [&c](qint64 k) {
        return c.scalar(QStringLiteral("select edonc_Clave from tNotaCliente where notac_Clave = ?"), {k})
            .toString();
    };

    // Nothing selected, or the user says No: nothing changes.
    s.prompter.clear();
    QVERIFY(!s.cobranza.cmdAutorizarNota({}));
    s.prompter.answers << false;
    QVERIFY(!s.cobranza.cmdAutorizarNota({*nueva}));
    QCOMPARE(estadoNota(*nueva), QStringLiteral("REGISTRADA"));
    // All or none: a cancelled one among them stops the lot.
    s.prompter.answers << true;
    QVERIFY(!s.cobranza.cmdAutorizarNota({*nueva, 902}));
    QCOMPARE(estadoNota(*nueva), QStringLiteral("REGISTRADA"));
    s.prompter.answers << true;
    QVERIFY(s.cobranza.cmdAutorizarNota({*nueva}));
    QCOMPARE(estadoNota(*nueva), QStringLiteral("AUTORIZADA"));
    QCOMPARE(s.prompter.texts(),
             (QStringList{"Debe seleccionar una nota de credito",
                          "Esta seguro de autorizar las notas de credito seleccionadas?",
                          "Esta seguro de autorizar las notas de credito seleccionadas?",
                          "No es posible efectuar operaciones sobre esta nota, ya que se encuentra cancelada",
                          "Esta seguro de autorizar las notas de credito seleccionadas?",
                          "Las notas de credito fueron autorizadas"}));

    // Applied, it can be neither cancelled nor deleted.
    const qint64 k = cuenta(c, "100");
    s.prompter.clear();
    s.prompter.answers << true;
    QVERIFY(s.cobra({k}, {}, {*nueva}));
    QCOMPARE(estadoNota(*nueva), QStringLiteral("PAGADA"));
    s.prompter.clear();
    s.prompter.answers << true << true << true;
    QVERIFY(!s.cobranza.cmdCancelarNota({*nueva}));
    QVERIFY(!s.cobranza.cmdEliminarNota({*nueva}));
    QVERIFY(!s.cobranza.cmdAutorizarNota({*nueva}));
    const QString pagada =
        QStringLiteral("No es posible efectuar operaciones sobre esta nota, ya que se encuentra pagada");
    QCOMPARE(s.prompter.texts().filter(pagada).size(), 3);
    QCOMPARE(estadoNota(*nueva), QStringLiteral("PAGADA"));

    // A registered one is cancelled, then deleted.
    nota(c, 903, "8", QStringLiteral("REGISTRADA"));
    s.prompter.clear();
    s.prompter.answers << true << true << true;
    QVERIFY(s.cobranza.cmdCancelarNota({903}));
    QCOMPARE(estadoNota(903), QStringLiteral("CANCELADA"));
    QVERIFY(!s.cobranza.cmdCancelarNota({903}));
    QVERIFY(s.cobranza.cmdEliminarNota({903, 902}));
    QCOMPARE(
        c.scalar(QStringLiteral("select count(*) from tNotaCliente where notac_Clave in (902, 903)")).toInt(),
        0);
    QCOMPARE(s.prompter.texts(),
             (QStringList{"Esta seguro de cancelar las notas de credito seleccionadas?",
                          "Las notas de credito fueron canceladas",
                          "Esta seguro de cancelar las notas de credito seleccionadas?",
                          "No es posible efectuar operaciones sobre esta nota, ya que se encuentra cancelada",
                          "Esta seguro de eliminar las notas de credito seleccionadas?",
                          "El registro fue eliminado con exito"}));
    QVERIFY(s.prompter.drained());
    MDR_VERIFICA_COBRANZA(c);
}

void tst_Cobranza::lista()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 a = cuenta(c, "100");
    const qint64 b = cuenta(c, "50", QStringLiteral("C2"));
    cuenta(c, "70", QStringLiteral("C1"), QStringLiteral("A2"));
    c.execute(
        QStringLiteral("update tCobranza set cob_FecReg = '2026-03-10 23:59:59.5' where cob_Clave = ? and "
                       "alm_Clave = 'A1'"),
        {a});
    c.execute(
        QStringLiteral("update tCobranza set cob_FecReg = '2026-03-11 00:00:00' where cob_Clave = ? and "
                       "alm_Clave = 'A1'"),
        {b});
    Puesto s(&c, ini());
    const auto claves = [&](const Cobranza::Filtro &f) {
        QList<qint64> l;
        for (const Cobranza::Fila &r : s.cobranza.lista(f))
            l << r.clave;
        return l;
    };
    // The last day is whole, to its last instant.
    QCOMPARE(claves({QDate(2026, 3, 10), QDate(2026, 3, 10), Cobranza::kTodos, {}}), QList<qint64>{a});
    QCOMPARE(claves({QDate(2026, 3, 1), QDate(2026, 3, 31), Cobranza::kTodos, {}}), (QList<qint64>{a, b}));
    QCOMPARE(claves({QDate(2026, 3, 1), QDate(2026, 3, 31), QStringLiteral("C2"), {}}), QList<qint64>{b});
    QCOMPARE(claves({QDate(2026, 3, 1), QDate(2026, 3, 31), {}, QStringLiteral("COBRADA")}), QList<qint64>{});
    const Cobranza::Fila f = s.cobranza.lista({QDate(2026, 3, 11), QDate(2026, 3, 11), {}, {}}).first();
    QCOMPARE(f.nombreCliente, QStringLiteral("Cliente dos"));
    QCOMPARE(f.importe, Decimal(50));
    QCOMPARE(f.nombreEstado, QStringLiteral("PENDIENTE"));
    QVERIFY(f.ventaAnio.isNull());
    QCOMPARE(s.cobranza.clientes().size(), 2);
}

QTEST_GUILESS_MAIN(tst_Cobranza)
#include "tst_cobranza.moc"
