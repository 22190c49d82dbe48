#include "PagoCaptura.h"

#include "../receivables/CarteraPrueba.h"
#include "CalculoVenta.h"
#include "EstacionPrueba.h"
#include "Log.h"
#include "TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

using R = PagoCaptura::Resultado;
using C = PagoCaptura::Campo;
Q_DECLARE_METATYPE(PagoCaptura::Resultado)
Q_DECLARE_METATYPE(PagoCaptura::Campo)

namespace {

// A payment as typed, in the order of the payment line: kind, amount, bank, cheque, card, folio,
// currency, foreign amount, rate, reference, additional reference.
PagoCaptura::Captura captura(const QString &texto)
{
    const QStringList f = texto.split(u'\t');
    const auto c = [&f](int i) { return i < f.size() ? f.at(i) : QString(); };
    return {c(0), c(1), c(2), c(3), c(4), c(5), c(6), c(7), c(8), c(9), c(10)};
}

void catalogos(db::Connection &c)
{
    c.execute(QStringLiteral("insert into tDenominacion (deno_Clave, deno_Valor, deno_Nombre) values "
                             "('B20', 20, 'Billete'), ('M05', 0.5, 'Moneda'), ('B500', 500, 'Billete')"));
    c.execute(QStringLiteral("insert into tMoneda (moneda_Clave, moneda_Nombre) values ('USD', 'Dolar'), "
                             "('GBP', 'Libra'), ('EUR', 'Euro')"));
    c.execute(QStringLiteral("insert into tBanco (banco_Clave, banco_Nombre) values ('BNX', 'Banamex'), "
                             "('AZT', 'Azteca')"));
    c.execute(QStringLiteral("insert into tTipoPago (tpago_Clave, tpago_Nombre) values "
                             "('VALES', 'Vales de despensa'), ('TRANSFER', 'Transferencia')"));
}

// One cashier at the counter of warehouse A1 with clients C1 (limit 1000, owes 157.34), C2, C3.
struct Mostrador {
    Mostrador(db::Connection &c, const QString &ini, const QStringList &derechos = {QStringLiteral("nada")})
        : s(&c, ini), pago(s.provider, s.config, s.permisos, s.prompter)
    {
        cartera::creaCartera(c);
        catalogos(c);
        EstacionPrueba::grant(c, derechos);
        s.config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
        s.config.setValue(QStringLiteral("USUARIO"), QStringLiteral("CAJERO"));
        s.config.setValue(QStringLiteral("PREGUNTA-PAGO-COMPLETO"), false);
        s.config.setValue(QStringLiteral("COMISION-TARJETA-PREGUNTA"), false);
    }
    bool init(const Decimal &porPagar, std::optional<QStringList> admitidos = std::nullopt)
    {
        PagoCaptura::Inicio i;
        i.importeVenta = porPagar;
        i.porPagar = porPagar;
        i.tiposAdmitidos = std::move(admitidos);
        return pago.init(i);
    }
    EstacionPrueba s;
    PagoCaptura pago;
};

} // namespace

class tst_PagoCaptura : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void catalogos_data() { TestDatabase::addEngineRows(); }
    void catalogos();
    void admitidos_data();
    void admitidos();
    void camposRequeridos_data();
    void camposRequeridos();
    void referenciaCredito_data();
    void referenciaCredito();
    void importes_data();
    void importes();
    void creditoSuperiorAlResto_data();
    void creditoSuperiorAlResto();
    void limiteCredito_data();
    void limiteCredito();
    void rechazaExcedente();
    void pagoCompleto_data();
    void pagoCompleto();
    void quitar();
    void denominaciones();
    void comision();
    void comisionRechazos();
    void comisionAlPagarConTarjeta_data();
    void comisionAlPagarConTarjeta();
    void cobroRapido();
    void importeSugerido_data();
    void importeSugerido();
    void documentos();
    void modelo();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_PagoCaptura::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_PagoCaptura::catalogos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    QVERIFY(m.init(Decimal(100)));
    // The fixed kinds first in their order, the others by name.
    QCOMPARE(m.pago.tiposAdmitidos(),
             (QStringList{"EFECTIVO", "CHEQUE", "TARJETA", "EXTRANJERA", "CREDITO", "TRANSFER", "VALES"}));
    QCOMPARE(m.pago.otrosTipos().size(), 2);
    QCOMPARE(m.pago.otrosTipos().at(0).nombre, QStringLiteral("Transferencia"));
    const auto denos = m.pago.denominaciones();
    QCOMPARE(denos.size(), 3);
    QCOMPARE(denos.at(0).valor, Decimal(500));
    QCOMPARE(denos.at(0).texto, QStringLiteral("Billete\n500.00"));
    QCOMPARE(denos.at(1).valor, Decimal(20));
    QCOMPARE(denos.at(2).texto, QStringLiteral("Moneda\n0.50"));
    QStringList monedas;
    for (const auto &o : m.pago.monedas())
        monedas << o.clave;
    QCOMPARE(monedas, (QStringList{"USD", "EUR", "GBP", "MXN"})); // MXN "Peso mexicano" comes with the schema
    QCOMPARE(m.pago.bancos().at(0).nombre, QStringLiteral("Azteca"));
    QCOMPARE(m.pago.tiposEntrega(),
             (QStringList{"Entrega en mostrador\tMOSTRADOR", "Entrega en ventanilla\tVENTANILLA",
                          "Entrega pendiente\tPENDIENTE", "Envio a domicilio\tDOMICILIO"}));
    QCOMPARE(m.pago.tipoEntrega(), QStringLiteral("MOSTRADOR"));

    // A currency added while the window is open shows after cargaMoneda.
    db.connection().execute(
        QStringLiteral("insert into tMoneda (moneda_Clave, moneda_Nombre) values ('CAD', 'Canadiense')"));
    m.pago.cargaMoneda();
    QCOMPARE(m.pago.monedas().at(0).clave, QStringLiteral("CAD"));
}

void tst_PagoCaptura::admitidos_data()
{
    QTest::addColumn<QString>("pago");
    QTest::addColumn<QString>("mensaje"); // empty: accepted
    QTest::newRow("efectivo") << "EFECTIVO\t10"
                              << "";
    QTest::newRow("credito") << "CREDITO\t10"
                             << "";
    QTest::newRow("tarjeta") << "TARJETA\t10"
                             << "La forma de pago TARJETA no es admitida para este cliente";
    QTest::newRow("cheque") << "CHEQUE\t10\tBNX\t1"
                            << "La forma de pago CHEQUE no es admitida para este cliente";
    QTest::newRow("extranjera") << "EXTRANJERA\t\t\t\t\t\tUSD\t1\t18"
                                << "La forma de pago EXTRANJERA no es admitida para este cliente";
    QTest::newRow("otra forma") << "VALES\t10\t\t\t\t\t\t\t\tV-1"
                                << "La forma de pago VALES no es admitida para este cliente";
}

void tst_PagoCaptura::admitidos()
{
    QFETCH(QString, pago);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    QVERIFY(m.init(Decimal(100), QStringList{"EFECTIVO", "CREDITO"}));
    QCOMPARE(m.pago.tiposAdmitidos(), (QStringList{"EFECTIVO", "CREDITO"}));
    QVERIFY(m.pago.otrosTipos().isEmpty());
    const R r = m.pago.agregarPago(captura(pago));
    QCOMPARE(r, mensaje.isEmpty() ? R::Agregado : R::Rechazado);
    QCOMPARE(m.s.prompter.last(), mensaje);
    QCOMPARE(m.pago.obtenerPagos().size(), mensaje.isEmpty() ? 1 : 0);
}

void tst_PagoCaptura::camposRequeridos_data()
{
    QTest::addColumn<QString>("pago");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<PagoCaptura::Campo>("campo");
    QTest::newRow("efectivo vacio") << "EFECTIVO\t"
                                    << "Debe indicar importe en efectivo" << C::Importe;
    QTest::newRow("efectivo no numerico") << "EFECTIVO\tcien"
                                          << "Debe indicar importe en efectivo" << C::Importe;
    QTest::newRow("efectivo cero") << "EFECTIVO\t0"
                                   << "Debe indicar importe en efectivo" << C::Importe;
    QTest::newRow("efectivo negativo") << "EFECTIVO\t-5"
                                       << "Debe indicar importe en efectivo" << C::Importe;
    QTest::newRow("cheque sin importe") << "CHEQUE\t\tBNX\t123"
                                        << "Debe indicar el importe del cheque" << C::Importe;
    QTest::newRow("cheque sin banco") << "CHEQUE\t50\t\t123"
                                      << "Debe seleccionar un banco" << C::Banco;
    QTest::newRow("cheque sin numero") << "CHEQUE\t50\tBNX\t "
                                       << "Debe indicar el numero de cheque" << C::Cheque;
    QTest::newRow("tarjeta sin importe") << "TARJETA\t\tBNX\t4111\tA1"
                                         << "Debe indicar el importe del pago con tarjeta" << C::Importe;
    QTest::newRow("extranjera sin monto")
        << "EXTRANJERA\t\t\t\t\t\tUSD\t\t18"
        << "Debe indicar el importe del pago con moneda extranjera" << C::ImporteMoneda;
    QTest::newRow("extranjera sin moneda") << "EXTRANJERA\t\t\t\t\t\t\t10\t18"
                                           << "Debe indicar la moneda de pago" << C::Moneda;
    QTest::newRow("extranjera sin tipo de cambio")
        << "EXTRANJERA\t\t\t\t\t\tUSD\t10\t"
        << "Debe indicar el tipo de cambio actual de la moneda" << C::TipoCambio;
    QTest::newRow("extranjera tipo de cambio cero")
        << "EXTRANJERA\t\t\t\t\t\tUSD\t10\t0"
        << "Debe indicar el tipo de cambio actual de la moneda" << C::TipoCambio;
    QTest::newRow("credito sin importe") << "CREDITO\t"
                                         << "Debe indicar el importe del pago a credito" << C::Importe;
    QTest::newRow("otra sin tipo") << "\t10\t\t\t\t\t\t\t\tR"
                                   << "Debe seleccionar un tipo de pago" << C::Tipo;
    QTest::newRow("otra sin importe") << "VALES\t\t\t\t\t\t\t\t\tR"
                                      << "Debe indicar el importe del pago" << C::Importe;
    QTest::newRow("otra sin referencia") << "VALES\t10"
                                         << "Debe indicar una referencia" << C::Referencia;
}

void tst_PagoCaptura::camposRequeridos()
{
    QFETCH(QString, pago);
    QFETCH(QString, mensaje);
    QFETCH(PagoCaptura::Campo, campo);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    QVERIFY(m.init(Decimal(100)));
    QCOMPARE(m.pago.agregarPago(captura(pago)), R::Rechazado);
    QCOMPARE(m.s.prompter.texts(), QStringList{mensaje});
    QCOMPARE(m.pago.campoRechazado(), campo);
    QVERIFY(m.pago.obtenerPagos().isEmpty());
    QCOMPARE(m.pago.pagado(), Decimal());
}

void tst_PagoCaptura::referenciaCredito_data()
{
    QTest::addColumn<bool>("requiere");
    QTest::addColumn<bool>("requiereAdic");
    QTest::addColumn<QString>("pago");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("sin requisitos") << false << false << "CREDITO\t10"
                                    << "";
    QTest::newRow("falta referencia") << true << false << "CREDITO\t10\t\t\t\t\t\t\t\t\tADIC"
                                      << "Debe indicar la referencia de credito";
    QTest::newRow("con referencia") << true << false << "CREDITO\t10\t\t\t\t\t\t\t\tPED-1"
                                    << "";
    QTest::newRow("falta adicional") << true << true << "CREDITO\t10\t\t\t\t\t\t\t\tPED-1"
                                     << "Debe indicar la referencia adicional de credito";
    QTest::newRow("solo adicional requerida") << false << true << "CREDITO\t10\t\t\t\t\t\t\t\t\tADIC"
                                              << "";
    QTest::newRow("ambas") << true << true << "CREDITO\t10\t\t\t\t\t\t\t\tPED-1\tADIC"
                           << "";
}

void tst_PagoCaptura::referenciaCredito()
{
    QFETCH(bool, requiere);
    QFETCH(bool, requiereAdic);
    QFETCH(QString, pago);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    m.s.config.setValue(QStringLiteral("CREDITO-REQUIERE-REFERENCIA"), requiere);
    m.s.config.setValue(QStringLiteral("CREDITO-REQUIERE-REFERENCIA-ADIC"), requiereAdic);
    m.s.config.setValue(QStringLiteral("CREDITO-REFERENCIA"), QStringLiteral("Pedido"));
    m.s.config.setValue(QStringLiteral("CREDITO-REFERENCIA-ADIC"), QStringLiteral("Orden de compra"));
    QVERIFY(m.init(Decimal(100)));
    QCOMPARE(m.pago.captionReferencia(), QStringLiteral("Pedido"));
    QCOMPARE(m.pago.captionReferenciaAdic(), QStringLiteral("Orden de compra"));
    const R r = m.pago.agregarPago(captura(pago));
    QCOMPARE(m.s.prompter.last(), mensaje);
    QCOMPARE(r, mensaje.isEmpty() ? R::Agregado : R::Rechazado);
    if (!mensaje.isEmpty())
        return;
    QCOMPARE(m.pago.obtenerPagos().size(), 1);
    QCOMPARE(m.pago.obtenerPagos().first().referencia, captura(pago).referencia);
    QCOMPARE(m.pago.obtenerPagos().first().referenciaAdic, captura(pago).referenciaAdic);
}

void tst_PagoCaptura::importes_data()
{
    QTest::addColumn<Decimal>("porPagar");
    QTest::addColumn<QStringList>("pagos");
    QTest::addColumn<PagoCaptura::Resultado>("ultimo");
    QTest::addColumn<Decimal>("pagado");
    QTest::addColumn<Decimal>("resta");
    QTest::addColumn<QString>("cambio");
    QTest::addColumn<QStringList>("lineas");
    QTest::newRow("100 pagado con 150 da 50 de cambio")
        << Decimal(100) << QStringList{"EFECTIVO\t150"} << R::Completo << Decimal(150) << Decimal(0)
        << "$50.00" << QStringList{"EFECTIVO\t150\t\t\t\t\t\t0\t0\t\t"};
    QTest::newRow("10 dolares a 13.50 son 135")
        << Decimal(200) << QStringList{"EXTRANJERA\t\t\t\t\t\tUSD\t10\t13.50"} << R::Agregado << Decimal(135)
        << Decimal(65) << "$0.00" << QStringList{"EXTRANJERA\t135\t\t\t\t\tUSD\t10\t13.5\t\t"};
    QTest::newRow("moneda extranjera redondea al centavo")
        << Decimal("19.26") << QStringList{"EXTRANJERA\t\t\t\t\t\tUSD\t1.11\t17.355"} << R::Completo
        << Decimal("19.26") << Decimal(0) << "$0.00"
        << QStringList{"EXTRANJERA\t19.26\t\t\t\t\tUSD\t1.11\t17.355\t\t"};
    QTest::newRow("pagos mixtos en orden de captura")
        << Decimal(250)
        << QStringList{"EFECTIVO\t100", "CHEQUE\t100\tBNX\t0042", "TARJETA\t50\tAZT\t\t4111\tAUT9"}
        << R::Completo << Decimal(250) << Decimal(0) << "$0.00"
        << QStringList{"EFECTIVO\t100\t\t\t\t\t\t0\t0\t\t", "CHEQUE\t100\tBNX\t0042\t\t\t\t0\t0\t\t",
                       "TARJETA\t50\tAZT\t\t4111\tAUT9\t\t0\t0\t\t"};
    QTest::newRow("un cheque mayor deja cambio")
        << Decimal(100) << QStringList{"CHEQUE\t120\tBNX\t7"} << R::Completo << Decimal(120) << Decimal(0)
        << "$20.00" << QStringList{"CHEQUE\t120\tBNX\t7\t\t\t\t0\t0\t\t"};
    QTest::newRow("falta un centavo")
        << Decimal(100) << QStringList{"EFECTIVO\t99.99"} << R::Agregado << Decimal("99.99")
        << Decimal("0.01") << "$0.00" << QStringList{"EFECTIVO\t99.99\t\t\t\t\t\t0\t0\t\t"};
    QTest::newRow("miles con separador")
        << Decimal(1500) << QStringList{"EFECTIVO\t$2,000.00"} << R::Completo << Decimal(2000) << Decimal(0)
        << "$500.00" << QStringList{"EFECTIVO\t2000\t\t\t\t\t\t0\t0\t\t"};
    QTest::newRow("otra forma con referencia")
        << Decimal(80) << QStringList{"VALES\t80\t\t\t\t\t\t\t\tV-77"} << R::Completo << Decimal(80)
        << Decimal(0) << "$0.00" << QStringList{"VALES\t80\t\t\t\t\t\t0\t0\tV-77\t"};
}

void tst_PagoCaptura::importes()
{
    QFETCH(Decimal, porPagar);
    QFETCH(QStringList, pagos);
    QFETCH(PagoCaptura::Resultado, ultimo);
    QFETCH(Decimal, pagado);
    QFETCH(Decimal, resta);
    QFETCH(QString, cambio);
    QFETCH(QStringList, lineas);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    QVERIFY(m.init(porPagar));
    R r = R::Rechazado;
    for (const QString &p : pagos)
        r = m.pago.agregarPago(captura(p));
    QCOMPARE(r, ultimo);
    QVERIFY(m.s.prompter.shown.isEmpty());
    QCOMPARE(m.pago.aceptado(), ultimo == R::Completo);
    QCOMPARE(m.pago.pagado(), pagado);
    QCOMPARE(m.pago.resta(), resta);
    QCOMPARE(PagoCaptura::formatoMoneda(m.pago.cambio()), cambio);
    QCOMPARE(m.pago.obtenerPagosArr(), lineas);
    QCOMPARE(m.pago.obtenerPagos().size(), lineas.size());
}

void tst_PagoCaptura::creditoSuperiorAlResto_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QStringList>("previos");
    QTest::addColumn<QString>("credito");
    QTest::addColumn<QString>("mensaje");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("mayor que el total"))
            << QStringList{} << "150"
            << "El importe del pago a credito (150.00) es superior al saldo por pagar (100.00)";
        TestDatabase::newRow(engine, QStringLiteral("mayor que lo que resta"))
            << QStringList{"EFECTIVO\t60"} << "40.01"
            << "El importe del pago a credito (40.01) es superior al saldo por pagar (40.00)";
        TestDatabase::newRow(engine, QStringLiteral("igual a lo que resta"))
            << QStringList{"EFECTIVO\t60"} << "40"
            << "";
    }
}

void tst_PagoCaptura::creditoSuperiorAlResto()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, previos);
    QFETCH(QString, credito);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    PagoCaptura::Inicio i;
    i.porPagar = Decimal(100);
    i.cliente = QStringLiteral("C1"); // limit 1000, owes 157.34: the limit would allow it
    QVERIFY(m.pago.init(i));
    for (const QString &p : previos)
        QCOMPARE(m.pago.agregarPago(captura(p)), R::Agregado);
    const R r = m.pago.agregarPago(captura(QStringLiteral("CREDITO\t") + credito));
    QCOMPARE(m.s.prompter.last(), mensaje);
    QCOMPARE(r, mensaje.isEmpty() ? R::Completo : R::Rechazado);
    QCOMPARE(m.pago.obtenerPagos().size(), previos.size() + (mensaje.isEmpty() ? 1 : 0));
}

void tst_PagoCaptura::limiteCredito_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<Decimal>("limite");
    QTest::addColumn<bool>("derecho");
    QTest::addColumn<bool>("respuesta");
    QTest::addColumn<QStringList>("previos");
    QTest::addColumn<QString>("credito");
    QTest::addColumn<bool>("aceptado");
    QTest::addColumn<QString>("mensaje"); // message or question; empty: none
    const QString excede = QStringLiteral(
        "El límite de credito insuficiente  Limite 200.00 Saldo Actual 157.34 SobreGiro 57.34");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("dentro del limite"))
            << "C1" << Decimal(1000) << false << false << QStringList{} << "100" << true << "";
        TestDatabase::newRow(engine, QStringLiteral("justo en el limite"))
            << "C1" << Decimal("257.34") << false << false << QStringList{} << "100" << true << "";
        TestDatabase::newRow(engine, QStringLiteral("excede sin derecho"))
            << "C1" << Decimal(200) << false << false << QStringList{} << "100" << false << excede;
        TestDatabase::newRow(engine, QStringLiteral("excede con derecho: si"))
            << "C1" << Decimal(200) << true << true << QStringList{} << "100" << true
            << excede + QStringLiteral("\nDesea continuar");
        TestDatabase::newRow(engine, QStringLiteral("excede con derecho: no"))
            << "C1" << Decimal(200) << true << false << QStringList{} << "100" << false
            << excede + QStringLiteral("\nDesea continuar");
        TestDatabase::newRow(engine, QStringLiteral("el credito ya capturado cuenta"))
            << "C1" << Decimal(200) << false << false << QStringList{"CREDITO\t40"} << "10" << false
            << "El límite de credito insuficiente  Limite 200.00 Saldo Actual 157.34 SobreGiro 7.34";
        TestDatabase::newRow(engine, QStringLiteral("sin saldo con limite cero"))
            << "C3" << Decimal(0) << false << false << QStringList{} << "0.01" << false
            << "El límite de credito insuficiente  Limite 0.00 Saldo Actual 0.00 SobreGiro 0.01";
        TestDatabase::newRow(engine, QStringLiteral("cliente inexistente"))
            << "NADIE" << Decimal(1000) << true << true << QStringList{} << "100" << false
            << "No se encontraron datos del usuario";
        TestDatabase::newRow(engine, QStringLiteral("devolucion: sin cliente no hay limite"))
            << "" << Decimal(0) << false << false << QStringList{} << "100" << true << "";
    }
}

void tst_PagoCaptura::limiteCredito()
{
    QFETCH(QString, engine);
    QFETCH(QString, cliente);
    QFETCH(Decimal, limite);
    QFETCH(bool, derecho);
    QFETCH(bool, respuesta);
    QFETCH(QStringList, previos);
    QFETCH(QString, credito);
    QFETCH(bool, aceptado);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    Mostrador m(c, ini(),
                derecho ? QStringList{PagoCaptura::kPermisoSobreGiro}
                        : QStringList{QStringLiteral("frmVenta_CambioPrecio")});
    c.execute(QStringLiteral("update tCliente set cli_Credito = ? where cli_Clave in ('C1', 'C3')"),
              {limite.toQVariant()});
    PagoCaptura::Inicio i;
    i.porPagar = Decimal(100);
    i.cliente = cliente;
    QVERIFY(m.pago.init(i));
    for (const QString &p : previos)
        QCOMPARE(m.pago.agregarPago(captura(p)), R::Agregado);
    m.s.prompter.answers.enqueue(respuesta);
    const bool pregunta =
        derecho && !mensaje.isEmpty() && mensaje.endsWith(QStringLiteral("Desea continuar"));
    if (!pregunta)
        m.s.prompter.answers.clear();
    const R r = m.pago.agregarPago(captura(QStringLiteral("CREDITO\t") + credito));
    QVERIFY(m.s.prompter.drained());
    QCOMPARE(m.s.prompter.last(), mensaje);
    if (pregunta)
        QCOMPARE(m.s.prompter.shown.last().icon, Prompter::Icon::Question);
    QCOMPARE(m.pago.obtenerPagos().size(), previos.size() + (aceptado ? 1 : 0));
    if (aceptado)
        QVERIFY(r != R::Rechazado);
    else
        QCOMPARE(r, R::Rechazado);
}

void tst_PagoCaptura::rechazaExcedente()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    PagoCaptura::Inicio i;
    i.porPagar = Decimal(100);
    i.rechazaExcedente = true;
    QVERIFY(m.pago.init(i));
    // The row stays, the window stays open.
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t150"))), R::Agregado);
    QCOMPARE(m.s.prompter.last(), QStringLiteral("La suma de los pagos excede al importe por pagar"));
    QCOMPARE(m.pago.obtenerPagos().size(), 1);
    QVERIFY(!m.pago.aceptado());
    m.s.prompter.clear();
    QCOMPARE(m.pago.terminar(), R::Rechazado);
    QCOMPARE(m.s.prompter.last(), QStringLiteral("La suma de los pagos excede al importe por pagar"));
    QVERIFY(!m.pago.aceptado());
    m.pago.quitaPago(0);
    m.s.prompter.clear();
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t100"))), R::Completo);
    QVERIFY(m.s.prompter.shown.isEmpty());
    QVERIFY(m.pago.aceptado());
}

void tst_PagoCaptura::pagoCompleto_data()
{
    QTest::addColumn<bool>("pregunta");
    QTest::addColumn<QList<bool>>("respuestas");
    QTest::addColumn<bool>("aceptado");
    QTest::newRow("sin pregunta") << false << QList<bool>{} << true;
    QTest::newRow("pregunta: si") << true << QList<bool>{true} << true;
    QTest::newRow("pregunta: no, luego si al aceptar") << true << QList<bool>{false, true} << true;
    QTest::newRow("pregunta: no, no") << true << QList<bool>{false, false} << false;
}

void tst_PagoCaptura::pagoCompleto()
{
    QFETCH(bool, pregunta);
    QFETCH(QList<bool>, respuestas);
    QFETCH(bool, aceptado);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    m.s.config.setValue(QStringLiteral("PREGUNTA-PAGO-COMPLETO"), pregunta);
    QVERIFY(m.init(Decimal(50)));
    for (bool b : respuestas)
        m.s.prompter.answers.enqueue(b);
    // The window is told of the new amounts before the question, so the cashier sees the change.
    QList<qsizetype> avisos;
    m.pago.setAlCambiar([&] {
        QCOMPARE(m.pago.pagado(), Decimal(50));
        avisos << m.s.prompter.shown.size();
    });
    R r = m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t50")));
    QVERIFY(!avisos.isEmpty());
    QCOMPARE(avisos.first(), 0);
    if (respuestas.size() > 1) {
        QCOMPARE(r, R::Agregado);
        QVERIFY(!m.pago.aceptado());
        r = m.pago.terminar();
    }
    QVERIFY(m.s.prompter.drained());
    QCOMPARE(r, aceptado ? R::Completo : R::Agregado);
    QCOMPARE(m.pago.aceptado(), aceptado);
    for (const auto &s : m.s.prompter.shown) {
        QCOMPARE(s.text, QStringLiteral("Su pago esta completo ?"));
        QVERIFY(s.defaultYes);
    }
    QCOMPARE(m.s.prompter.shown.size(), respuestas.size());
}

void tst_PagoCaptura::quitar()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    QVERIFY(m.init(Decimal(1000)));
    QCOMPARE(m.pago.terminar(), R::Rechazado);
    QCOMPARE(m.s.prompter.last(), QStringLiteral("Falta por pagar $1,000.00"));
    for (const char *p : {"EFECTIVO\t100", "TARJETA\t200", "EFECTIVO\t300"})
        QCOMPARE(m.pago.agregarPago(captura(QString::fromLatin1(p))), R::Agregado);
    m.pago.quitaPago(1);
    QCOMPARE(m.pago.obtenerPagosArr(),
             (QStringList{"EFECTIVO\t100\t\t\t\t\t\t0\t0\t\t", "EFECTIVO\t300\t\t\t\t\t\t0\t0\t\t"}));
    QCOMPARE(m.pago.pagado(), Decimal(400));
    QCOMPARE(m.pago.resta(), Decimal(600));
    m.pago.quitaPago(7); // no such row: nothing changes
    QCOMPARE(m.pago.obtenerPagos().size(), 2);
    m.pago.quitaTodos();
    QVERIFY(m.pago.obtenerPagos().isEmpty());
    QCOMPARE(m.pago.pagado(), Decimal());
    QCOMPARE(m.pago.resta(), Decimal(1000));
}

void tst_PagoCaptura::denominaciones()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    QVERIFY(m.init(Decimal(520)));
    QCOMPARE(m.pago.agregaDenominacion(0), R::Agregado); // 500
    QCOMPARE(m.pago.agregaDenominacion(1), R::Completo); // 20
    QCOMPARE(m.pago.obtenerPagos().at(0).tipo, QStringLiteral("EFECTIVO"));
    QCOMPARE(m.pago.obtenerPagos().at(0).importe, Decimal(500));
    QCOMPARE(m.pago.cambio(), Decimal());
    QCOMPARE(m.pago.agregaDenominacion(9), R::Rechazado);

    // Without cash admitted the quick buttons are refused like any cash payment.
    QVERIFY(m.init(Decimal(10), QStringList{"CREDITO"}));
    QCOMPARE(m.pago.agregaDenominacion(2), R::Rechazado);
    QCOMPARE(m.s.prompter.last(),
             QStringLiteral("La forma de pago EFECTIVO no es admitida para este cliente"));
}

namespace {

// The sale the commission is charged on: two articles of 100 + 16 % tax (232.00).
struct VentaPrueba {
    QList<LineaVenta> lineas;
    TotalesVenta totales;
    QString metodo = QStringLiteral("C");
    int llamadas = 0;
    VentaPrueba()
    {
        LineaVenta l;
        l.clave = QStringLiteral("A-1");
        l.cantidad = Decimal(2);
        l.precio = Decimal(100);
        l.iva = Decimal(16);
        CalculoVenta::calculaLinea(l, {});
        lineas << l;
        totales = CalculoVenta::calculaGrid(lineas, {}, {}, Decimal(), false);
    }
    PagoCaptura::AplicaPorcentaje funcion()
    {
        return [this](const QString &concepto, const Decimal &p) {
            ++llamadas;
            CalculoVenta::aplicaPorcentaje(lineas, metodo, concepto, p, totales, Decimal(), {});
            totales = CalculoVenta::calculaGrid(lineas, {}, {}, Decimal(), false);
            return totales;
        };
    }
};

} // namespace

void tst_PagoCaptura::comision()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    VentaPrueba v;
    QCOMPARE(v.totales.total, Decimal(232));
    PagoCaptura::Inicio i;
    i.importeVenta = v.totales.importe;
    i.porPagar = v.totales.total;
    i.aplicaPorcentaje = v.funcion();
    QVERIFY(m.pago.init(i));
    QVERIFY(m.pago.comisionVisible()); // "COMISION-TARJETA" is on by default
    m.pago.setPorcentajeComision(Decimal("3.5"));
    QCOMPARE(m.pago.comisionCalculada(), Decimal("8.12")); // 232 × 3.5 %
    QVERIFY(m.pago.aplicaCargo());
    QCOMPARE(v.llamadas, 1);
    QCOMPARE(v.lineas.size(), 2);
    QCOMPARE(v.lineas.last().clave, PagoCaptura::kConceptoComision);
    QCOMPARE(m.pago.porPagar(), v.totales.total);
    QCOMPARE(m.pago.importeVenta(), v.totales.importe);
    QVERIFY(m.pago.porPagar() > Decimal(232));
    QCOMPARE(m.pago.comision(), v.totales.total - Decimal(232));
    QVERIFY(m.pago.totales());
    QCOMPARE(m.pago.totales()->total, v.totales.total);
    QVERIFY(m.s.prompter.shown.isEmpty());

    QVERIFY(!m.pago.aplicaCargo());
    QCOMPARE(m.s.prompter.last(), QStringLiteral("El cargo ya fue aplicado"));
    QCOMPARE(v.llamadas, 1);
    // The card pays the new total.
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("TARJETA\t") + m.pago.porPagar().toString())),
             R::Completo);
}

void tst_PagoCaptura::comisionRechazos()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    VentaPrueba v;
    PagoCaptura::Inicio i;
    i.porPagar = v.totales.total;
    i.aplicaPorcentaje = v.funcion();
    QVERIFY(m.pago.init(i));
    QVERIFY(!m.pago.aplicaCargo());
    QCOMPARE(m.s.prompter.last(), QStringLiteral("Debe indicar el porcentaje del cargo"));
    m.pago.setPorcentajeComision(Decimal(5));
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t10"))), R::Agregado);
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t10"))), R::Agregado);
    QVERIFY(!m.pago.aplicaCargo());
    QCOMPARE(
        m.s.prompter.last(),
        QStringLiteral(
            "Solo se puede aplicar el cargo por tarjeta de credito por el total y para todos los articulos"));
    QCOMPARE(v.llamadas, 0);
    QCOMPARE(m.pago.porPagar(), Decimal(232));
    // One payment in the grid still allows the charge.
    m.pago.quitaPago(1);
    QVERIFY(m.pago.aplicaCargo());
    QCOMPARE(v.llamadas, 1);
}

void tst_PagoCaptura::comisionAlPagarConTarjeta_data()
{
    QTest::addColumn<bool>("pregunta");
    QTest::addColumn<bool>("respuesta");
    QTest::addColumn<bool>("cargo");
    QTest::newRow("sin pregunta: no se carga") << false << false << false;
    QTest::newRow("pregunta: si") << true << true << true;
    QTest::newRow("pregunta: no") << true << false << false;
}

void tst_PagoCaptura::comisionAlPagarConTarjeta()
{
    QFETCH(bool, pregunta);
    QFETCH(bool, respuesta);
    QFETCH(bool, cargo);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    m.s.config.setValue(QStringLiteral("COMISION-TARJETA-PREGUNTA"), pregunta);
    VentaPrueba v;
    PagoCaptura::Inicio i;
    i.porPagar = v.totales.total;
    i.aplicaPorcentaje = v.funcion();
    QVERIFY(m.pago.init(i));
    m.pago.setPorcentajeComision(Decimal(5));
    if (pregunta)
        m.s.prompter.answers.enqueue(respuesta);
    // The card pays the whole sale: with the charge it pays the charge too.
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("TARJETA\t232\tBNX\t4111\tA7"))), R::Completo);
    QVERIFY(m.s.prompter.drained());
    if (pregunta)
        QCOMPARE(m.s.prompter.shown.first().text, QStringLiteral("Se efectua cargo por pago por este medio"));
    QCOMPARE(m.pago.cargoAplicado(), cargo);
    QCOMPARE(v.llamadas, cargo ? 1 : 0);
    QCOMPARE(m.pago.pagado(), m.pago.porPagar());
    QCOMPARE(m.pago.comision().isZero(), !cargo);
    QCOMPARE(m.pago.cambio(), Decimal());
}

void tst_PagoCaptura::cobroRapido()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    m.s.config.setValue(QStringLiteral("PREGUNTA-PAGO-COMPLETO"), true);
    QVERIFY(m.init(Decimal("123.45")));
    QCOMPARE(m.pago.cobroRapidoEfectivo(), R::Rechazado); // the key is off: nothing happens
    QVERIFY(m.pago.obtenerPagos().isEmpty());
    m.s.config.setValue(QStringLiteral("COBRO-RAPIDO"), true);
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("TARJETA\t20"))), R::Agregado);
    QCOMPARE(m.pago.cobroRapidoEfectivo(), R::Completo); // no question asked
    QVERIFY(m.s.prompter.shown.isEmpty());
    QCOMPARE(m.pago.obtenerPagosArr().last(), QStringLiteral("EFECTIVO\t103.45\t\t\t\t\t\t0\t0\t\t"));
    QVERIFY(m.pago.aceptado());

    // Cash not admitted: refused with the usual message.
    QVERIFY(m.init(Decimal(10), QStringList{"TARJETA"}));
    QCOMPARE(m.pago.cobroRapidoEfectivo(), R::Rechazado);
    QCOMPARE(m.s.prompter.last(),
             QStringLiteral("La forma de pago EFECTIVO no es admitida para este cliente"));
}

void tst_PagoCaptura::importeSugerido_data()
{
    QTest::addColumn<bool>("igual");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("antes");
    QTest::addColumn<QString>("despues"); // after paying 30 in cash
    QTest::newRow("apagado") << false << "EFECTIVO"
                             << ""
                             << "";
    QTest::newRow("efectivo") << true << "EFECTIVO"
                              << "100.00"
                              << "70.00";
    QTest::newRow("credito") << true << "CREDITO"
                             << "100.00"
                             << "70.00";
    QTest::newRow("extranjera no se sugiere") << true << "EXTRANJERA"
                                              << ""
                                              << "";
}

void tst_PagoCaptura::importeSugerido()
{
    QFETCH(bool, igual);
    QFETCH(QString, tipo);
    QFETCH(QString, antes);
    QFETCH(QString, despues);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    m.s.config.setValue(QStringLiteral("COBRO-PAGO-IGUAL-A-COBRO"), igual);
    QVERIFY(m.init(Decimal(100)));
    QCOMPARE(m.pago.importeSugerido(tipo), antes);
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t30"))), R::Agregado);
    QCOMPARE(m.pago.importeSugerido(tipo), despues);
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t70"))), R::Completo);
    QCOMPARE(m.pago.importeSugerido(tipo), QString()); // nothing left
}

void tst_PagoCaptura::documentos()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    m.s.config.setValue(QStringLiteral("IMPRIME-TICKET-POR-OMISION"), QStringLiteral("N"));
    PagoCaptura::Inicio i;
    i.porPagar = Decimal(10);
    i.tipoEntrega = QStringLiteral("DOMICILIO");
    QVERIFY(m.pago.init(i));
    QVERIFY(!m.pago.ticket());
    QCOMPARE(m.pago.tipoEntrega(), QStringLiteral("DOMICILIO"));
    QVERIFY(!m.pago.nota() && !m.pago.factura());
    // The note command before the payment covers: marked, not accepted.
    QCOMPARE(m.pago.cmdNota(), R::Rechazado);
    QVERIFY(m.pago.nota());
    QVERIFY(!m.pago.aceptado());
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t10"))), R::Completo);
    QVERIFY(m.pago.aceptado());

    m.s.config.setValue(QStringLiteral("IMPRIME-TICKET-POR-OMISION"), QStringLiteral("S"));
    i.factura = false;
    QVERIFY(m.pago.init(i));
    QVERIFY(m.pago.ticket());
    QVERIFY(!m.pago.nota());
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t5"))), R::Agregado);
    QCOMPARE(m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t5"))), R::Completo);
    m.pago.cancelar();
    QVERIFY(!m.pago.aceptado());
    QCOMPARE(m.pago.cmdFactura(), R::Completo);
    QVERIFY(m.pago.factura());
    QVERIFY(m.pago.aceptado());

    // Explicit choices of the caller win over the configuration.
    i.ticket = false;
    i.nota = true;
    QVERIFY(m.pago.init(i));
    QVERIFY(!m.pago.ticket());
    QVERIFY(m.pago.nota());
    QVERIFY(m.pago.obtenerPagos().isEmpty());
}

void tst_PagoCaptura::modelo()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Mostrador m(db.connection(), ini());
    QVERIFY(m.init(Decimal(1000)));
    PagosModel *modelo = m.pago.modelo();
    QAbstractItemModelTester tester(modelo, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList encabezados;
    for (int c = 0; c < modelo->columnCount(); ++c)
        encabezados << modelo->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(encabezados, (QStringList{"Tipo", "Importe", "Banco", "Cheque", "Tarjeta", "Folio", "Moneda",
                                       "Importe Moneda", "T. de Cambio", "Referencia1", "Referencia2"}));
    m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t1200.5")));
    QCOMPARE(modelo->rowCount(), 1);
    // A new init starts an empty grid.
    PagoCaptura::Inicio i;
    i.porPagar = Decimal(5000);
    QVERIFY(m.pago.init(i));
    QCOMPARE(modelo->rowCount(), 0);
    m.pago.agregarPago(captura(QStringLiteral("EFECTIVO\t1200.5")));
    m.pago.agregarPago(captura(QStringLiteral("EXTRANJERA\t\t\t\t\t\tUSD\t10\t18.25")));
    m.pago.agregarPago(captura(QStringLiteral("CHEQUE\t100\tBNX\t55")));
    QCOMPARE(modelo->rowCount(), 3);
    const auto celda = [modelo](int f, int c) { return modelo->index(f, c).data().toString(); };
    QCOMPARE(celda(0, 0), QStringLiteral("EFECTIVO"));
    QCOMPARE(celda(0, 1), QStringLiteral("1,200.50"));
    QCOMPARE(celda(0, 7), QString());
    QCOMPARE(celda(1, 1), QStringLiteral("182.50"));
    QCOMPARE(celda(1, 6), QStringLiteral("USD"));
    QCOMPARE(celda(1, 7), QStringLiteral("10.00"));
    QCOMPARE(celda(1, 8), QStringLiteral("18.25"));
    QCOMPARE(celda(2, 2), QStringLiteral("BNX"));
    QCOMPARE(celda(2, 3), QStringLiteral("55"));
    QVERIFY(modelo->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    m.pago.quitaPago(0);
    QCOMPARE(celda(0, 0), QStringLiteral("EXTRANJERA"));
    m.pago.quitaTodos();
    QCOMPARE(modelo->rowCount(), 0);
}

QTEST_GUILESS_MAIN(tst_PagoCaptura)
#include "tst_pago_captura.moc"
