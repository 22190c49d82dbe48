// The client master's rules without a window, on both engines: the checks in their order and
// their messages, the discount's bounds, the client type's terms while adding, the right to
// change an existing client's type, the tax data (RFC, CURP, postal code, regime and use),
// adding, changing, consulting and deleting, and deletion refused while documents name the client.
#include "PuestoClientes.h"
#include "TestDatabase.h"

#include "Log.h"
#include "MensajesMantenimiento.h"

#include <QTest>

using Pestana = ClienteEditor::Pestana;
Q_DECLARE_METATYPE(ClienteEditor::Pestana)

namespace {

QVariant valor(db::Connection &c, const QString &columna, const QString &clave)
{
    // The column is one of the test's own names.
    return c.scalar(QStringLiteral("select ") + columna + QStringLiteral(" from tCliente where cli_Clave = ?"), {clave});
}

int clientes(db::Connection &c)
{
    return c.scalar(QStringLiteral("select count(*) from tCliente")).toInt();
}

void inserta(db::Connection &c, const QString &clave, const QString &tipo = QStringLiteral("SYS"))
{
    c.execute(QStringLiteral("insert into tCliente (cli_Clave, cli_Nombre, cli_Descuento, pais_Clave, edo_Clave, "
                             "pais_ClaveFis, tcli_Clave, cli_Credito) values (?, ?, 7, 'MEX', 'JAL', 'MEX', ?, 500)"),
              {clave, QStringLiteral("NOMBRE DE ") + clave, tipo});
}

} // namespace

class tst_ClienteEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_log.activa(); }
    void cleanupTestCase() { m_log.suelta(); }
    void ordenDeLasValidaciones_data() { TestDatabase::addEngineRows(); }
    void ordenDeLasValidaciones();
    void descuento_data();
    void descuento();
    void tipoLlenaLosCamposAlAgregar_data() { TestDatabase::addEngineRows(); }
    void tipoLlenaLosCamposAlAgregar();
    void cambioDeTipoRequiereDerecho_data();
    void cambioDeTipoRequiereDerecho();
    void datosFiscales_data();
    void datosFiscales();
    void altaCambioYConsulta_data() { TestDatabase::addEngineRows(); }
    void altaCambioYConsulta();
    void eliminar_data();
    void eliminar();
    void eliminarReferido_data();
    void eliminarReferido();
    void eliminarConReferenciaDeLaBase_data() { TestDatabase::addEngineRows(); }
    void eliminarConReferenciaDeLaBase();

private:
    maestros::Bitacora m_log;
};

void tst_ClienteEditor::ordenDeLasValidaciones()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoClientes p(db.connection());
    ClienteEditor e = p.editor();
    // Emptied one by one in reverse: each check speaks only once the earlier ones pass.
    for (const char *campo : {"pais_Clave", "pais_ClaveFis", "edo_Clave", "cli_Nombre", "cli_Clave", "tcli_Clave"})
        e.setTexto(QLatin1String(campo), QString());
    e.setTexto(QStringLiteral("cli_Descuento"), QStringLiteral("101"));
    const QList<std::tuple<const char *, const char *, Pestana, const char *>> pasos = {
        {"cli_Clave", "Debe indicar una clave", Pestana::General, "C1"},
        {"pais_Clave", "Debe indicar el pais", Pestana::Domicilio, "MEX"},
        {"edo_Clave", "Debe indicar el estado", Pestana::Domicilio, "JAL"},
        {"pais_ClaveFis", "Debe indicar el Pais", Pestana::Fiscal, "MEX"},
        {"cli_Nombre", "Debe indicar un nombre", Pestana::General, "FARMACIAS DEL NORTE"},
        {"cli_Descuento", "Debe indicar el descuento [0-100]%", Pestana::General, "10"},
        {"tcli_Clave", "Debe indicar un tipo de cliente", Pestana::Credito, "MAYOREO"},
    };
    for (const auto &[campo, mensaje, pestana, arreglo] : pasos) {
        p.prompter().clear();
        QVERIFY(!e.validaDatos());
        QCOMPARE(p.prompter().texts(), QStringList{QLatin1String(mensaje)});
        QCOMPARE(e.campoRechazado(), QLatin1String(campo));
        QCOMPARE(e.pestanaRechazada(), pestana);
        e.setTexto(QLatin1String(campo), QLatin1String(arreglo));
    }
    p.prompter().clear();
    QVERIFY(e.validaDatos());
    QVERIFY(p.prompter().texts().isEmpty());
    QCOMPARE(clientes(db.connection()), 0); // validating writes nothing
}

void tst_ClienteEditor::descuento_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("descuento");
    QTest::addColumn<bool>("aceptado");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("101")) << "101" << false;
        TestDatabase::newRow(engine, QStringLiteral("100.01")) << "100.01" << false;
        TestDatabase::newRow(engine, QStringLiteral("-1")) << "-1" << false;
        TestDatabase::newRow(engine, QStringLiteral("texto")) << "diez" << false;
        TestDatabase::newRow(engine, QStringLiteral("vacio")) << "" << false;
        TestDatabase::newRow(engine, QStringLiteral("0")) << "0" << true;
        TestDatabase::newRow(engine, QStringLiteral("100")) << "100" << true;
        TestDatabase::newRow(engine, QStringLiteral("12.5")) << "12.5" << true;
    }
}

void tst_ClienteEditor::descuento()
{
    QFETCH(QString, engine);
    QFETCH(QString, descuento);
    QFETCH(bool, aceptado);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoClientes p(db.connection());
    ClienteEditor e = p.editor();
    PuestoClientes::minimo(e, QStringLiteral("C1"));
    e.setTexto(QStringLiteral("cli_Descuento"), descuento);
    p.prompter().answers << false; // do not go on adding
    QCOMPARE(e.guardaDatos(), aceptado);
    if (aceptado) {
        QCOMPARE(Decimal::fromVariant(valor(db.connection(), QStringLiteral("cli_Descuento"), QStringLiteral("C1"))),
                 Decimal::fromString(descuento));
    } else {
        QCOMPARE(p.prompter().texts(), QStringList{"Debe indicar el descuento [0-100]%"});
        QCOMPARE(e.campoRechazado(), QStringLiteral("cli_Descuento"));
        QCOMPARE(clientes(db.connection()), 0);
    }
}

void tst_ClienteEditor::tipoLlenaLosCamposAlAgregar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoClientes p(db.connection());
    ClienteEditor e = p.editor();
    // A new client starts with the default type ("TIPO-CLIENTE-POR-OMISION", SYS) and its terms.
    QCOMPARE(e.texto(QStringLiteral("tcli_Clave")), QStringLiteral("SYS"));
    QCOMPARE(e.texto(QStringLiteral("cli_Descuento")), QStringLiteral("0.00"));
    QCOMPARE(e.texto(QStringLiteral("tent_Clave")), QStringLiteral("MOSTRADOR"));

    QVERIFY(e.setTexto(QStringLiteral("tcli_Clave"), QStringLiteral("CREDITO5")));
    QCOMPARE(e.texto(QStringLiteral("cli_Descuento")), QStringLiteral("5.00"));
    QCOMPARE(e.texto(QStringLiteral("cli_Periodo")), QStringLiteral("30"));
    QCOMPARE(e.texto(QStringLiteral("cli_Credito")), QStringLiteral("1000.00"));
    QCOMPARE(e.texto(QStringLiteral("per_Clave")), QStringLiteral("DIA"));
    QCOMPARE(e.texto(QStringLiteral("cpago_Clave")), QStringLiteral("PERIODO"));
    QCOMPARE(e.texto(QStringLiteral("percp_Clave")), QStringLiteral("MENSUAL"));

    // Another type replaces them all, empty ones included.
    QVERIFY(e.setTexto(QStringLiteral("tcli_Clave"), QStringLiteral("MAYOREO")));
    QCOMPARE(e.texto(QStringLiteral("cli_Descuento")), QStringLiteral("12.50"));
    QCOMPARE(e.texto(QStringLiteral("cli_Credito")), QStringLiteral("0.00"));
    QCOMPARE(e.texto(QStringLiteral("per_Clave")), QString());
    QCOMPARE(e.texto(QStringLiteral("cpago_Clave")), QString());

    // An existing client keeps its own terms when its type changes.
    inserta(db.connection(), QStringLiteral("C9"));
    QVERIFY(e.carga(QStringLiteral("C9")));
    QVERIFY(e.setTexto(QStringLiteral("tcli_Clave"), QStringLiteral("CREDITO5")));
    QCOMPARE(e.texto(QStringLiteral("cli_Descuento")), QStringLiteral("7.00"));
    QCOMPARE(e.texto(QStringLiteral("cli_Credito")), QStringLiteral("500.00"));
    QVERIFY(p.prompter().texts().isEmpty());
}

void tst_ClienteEditor::cambioDeTipoRequiereDerecho_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("conDerecho");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("con el derecho")) << true;
        TestDatabase::newRow(engine, QStringLiteral("sin el derecho")) << false;
    }
}

void tst_ClienteEditor::cambioDeTipoRequiereDerecho()
{
    QFETCH(QString, engine);
    QFETCH(bool, conDerecho);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    QStringList derechos = {QStringLiteral("frmCliente_cmdCambio")};
    if (conDerecho)
        derechos << ClienteEditor::kDerechoCambiarTipo;
    PuestoClientes p(db.connection(), derechos);
    inserta(db.connection(), QStringLiteral("C1"));
    ClienteEditor e = p.editor();
    // Adding never needs the right.
    QVERIFY(e.puedeCambiarTipo());
    QVERIFY(e.setTexto(QStringLiteral("tcli_Clave"), QStringLiteral("MAYOREO")));

    QVERIFY(e.carga(QStringLiteral("C1")));
    QCOMPARE(e.puedeCambiarTipo(), conDerecho);
    // Choosing the type it has is no change.
    QVERIFY(e.setTexto(QStringLiteral("tcli_Clave"), QStringLiteral("SYS")));
    QCOMPARE(e.setTexto(QStringLiteral("tcli_Clave"), QStringLiteral("MAYOREO")), conDerecho);
    QCOMPARE(e.texto(QStringLiteral("tcli_Clave")), conDerecho ? QStringLiteral("MAYOREO") : QStringLiteral("SYS"));
    QCOMPARE(p.prompter().texts(), conDerecho ? QStringList() : QStringList{MensajesMantenimiento::sinAcceso()});
    e.setTexto(QStringLiteral("cli_Nombre"), QStringLiteral("NOMBRE NUEVO"));
    QVERIFY(e.guardaDatos());
    QCOMPARE(valor(db.connection(), QStringLiteral("tcli_Clave"), QStringLiteral("C1")).toString().trimmed(),
             conDerecho ? QStringLiteral("MAYOREO") : QStringLiteral("SYS"));
    QCOMPARE(valor(db.connection(), QStringLiteral("cli_Nombre"), QStringLiteral("C1")).toString(),
             QStringLiteral("NOMBRE NUEVO"));
    QCOMPARE(p.prompter().last(), QStringLiteral("El registro fue actualizado con exito"));
}

void tst_ClienteEditor::datosFiscales_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QVariantMap>("campos");
    QTest::addColumn<QList<bool>>("respuestas");
    QTest::addColumn<bool>("guardado");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<QString>("campoRechazado");
    const QString alta = QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas clientes");
    for (const QString &engine : TestDatabase::engines()) {
        const auto row = [&](const char *name) -> QTestData & { return TestDatabase::newRow(engine, QLatin1String(name)); };
        row("persona valida") << QVariantMap{{"cli_RFC", "gode561231gr8"}, {"cli_RegimenFiscal", "612"},
                                             {"cli_UsoCFDI", "D01"}}
                              << QList<bool>{false} << true << QStringList{alta} << QString();
        const QString aviso = QStringLiteral("El digito verificador del RFC GODE561231GR9 no corresponde, desea continuar");
        row("digito incorrecto, continua") << QVariantMap{{"cli_RFC", "GODE561231GR9"}} << QList<bool>{true, false}
                                           << true << QStringList{aviso, alta} << QString();
        row("digito incorrecto, no continua") << QVariantMap{{"cli_RFC", "GODE561231GR9"}} << QList<bool>{false}
                                              << false << QStringList{aviso} << "cli_RFC";
        row("RFC con formato invalido")
            << QVariantMap{{"cli_RFC", "GODE561331GR8"}} << QList<bool>{} << false
            << QStringList{"El RFC no es valido: debe tener 13 caracteres para personas fisicas o 12 para personas "
                           "morales (letras, fecha AAMMDD y homoclave)"}
            << "cli_RFC";
        row("CURP invalida") << QVariantMap{{"cli_CURP", "HEGG560427MXXRRL04"}} << QList<bool>{} << false
                             << QStringList{"La CURP no es valida: debe tener 18 caracteres"} << "cli_CURP";
        row("CURP de otra persona") << QVariantMap{{"cli_RFC", "GODE561231GR8"}, {"cli_CURP", "HEGG560427MVZRRL04"}}
                                    << QList<bool>{false} << false
                                    << QStringList{"La CURP y el RFC no corresponden a la misma persona, desea continuar"}
                                    << "cli_CURP";
        row("regimen de moral para persona") << QVariantMap{{"cli_RFC", "GODE561231GR8"}, {"cli_RegimenFiscal", "601"}}
                                             << QList<bool>{} << false
                                             << QStringList{"El regimen fiscal 601 no aplica a personas fisicas"}
                                             << "cli_RegimenFiscal";
        row("uso de persona para moral") << QVariantMap{{"cli_RFC", "SAT970701NN3"}, {"cli_UsoCFDI", "D01"}}
                                         << QList<bool>{} << false
                                         << QStringList{"El uso del CFDI D01 no aplica a personas morales"}
                                         << "cli_UsoCFDI";
        row("codigo postal de 4 digitos") << QVariantMap{{"cli_CP", "4410"}} << QList<bool>{} << false
                                          << QStringList{"El codigo postal debe tener 5 digitos"} << "cli_CP";
        row("codigo postal de otro pais") << QVariantMap{{"pais_Clave", "USA"}, {"edo_Clave", "TX"}, {"cli_CP", "78501-1234"}}
                                          << QList<bool>{false} << true << QStringList{alta} << QString();
    }
}

void tst_ClienteEditor::datosFiscales()
{
    QFETCH(QString, engine);
    QFETCH(QVariantMap, campos);
    QFETCH(QList<bool>, respuestas);
    QFETCH(bool, guardado);
    QFETCH(QStringList, mensajes);
    QFETCH(QString, campoRechazado);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoClientes p(db.connection());
    ClienteEditor e = p.editor();
    PuestoClientes::minimo(e, QStringLiteral("C1"));
    for (auto it = campos.cbegin(); it != campos.cend(); ++it)
        e.setTexto(it.key(), it.value().toString());
    for (bool r : respuestas)
        p.prompter().answers << r;
    QCOMPARE(e.guardaDatos(), guardado);
    QCOMPARE(p.prompter().texts(), mensajes);
    QVERIFY(p.prompter().drained());
    QCOMPARE(clientes(db.connection()), guardado ? 1 : 0);
    if (!guardado) {
        QCOMPARE(e.campoRechazado(), campoRechazado);
        QCOMPARE(e.pestanaRechazada(), campoRechazado == QLatin1String("cli_CP") ? Pestana::Domicilio : Pestana::Fiscal);
    } else if (campos.contains(QStringLiteral("cli_RFC"))) {
        // Kept as the SAT writes it: upper case, nothing between the parts.
        QCOMPARE(valor(db.connection(), QStringLiteral("cli_RFC"), QStringLiteral("C1")).toString(),
                 campos.value(QStringLiteral("cli_RFC")).toString().toUpper());
        QCOMPARE(valor(db.connection(), QStringLiteral("cli_RegimenFiscal"), QStringLiteral("C1")).toString(),
                 campos.value(QStringLiteral("cli_RegimenFiscal")).toString());
    }
}

void tst_ClienteEditor::altaCambioYConsulta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    c.execute(QStringLiteral("insert into tZona (zona_Clave, zona_Nombre) values ('NORTE', 'Norte')"));
    c.execute(QStringLiteral("insert into tRuta (ruta_Clave, ruta_Nombre) values ('R1', 'Ruta 1')"));
    PuestoClientes p(c);
    ClienteEditor e = p.editor();
    // Every column the window writes, with a value of its own.
    const QVariantMap todo = {
        {"cli_Clave", "C100"}, {"cli_Nombre", "CLINICA SAN RAFAEL SC"}, {"edoc_Clave", "ACTIVO"},
        {"cli_Calle", "Av. Patria"}, {"cli_Interior", "B"}, {"cli_Exterior", "1650"}, {"cli_Colonia", "Jardines"},
        {"cli_DelMun", "Zapopan"}, {"cli_Ciudad", "Zapopan"}, {"edo_Clave", "JAL"}, {"pais_Clave", "MEX"},
        {"cli_Telefono1", "33 3673 9021"}, {"cli_Telefono2", "33 3673 9022"}, {"cli_Fax", "33 3673 9023"},
        {"cli_email", "compras@sanrafael.mx"}, {"cli_Referencia", "Frente al parque"}, {"cli_CP", "45110"},
        {"cli_RFC", "EKU9003173C9"}, {"cli_CURP", ""}, {"cli_NombreFis", "CLINICA SAN RAFAEL"},
        {"cli_CalleFis", "Av. Patria"}, {"cli_InteriorFis", "B"}, {"cli_ExteriorFis", "1650"},
        {"cli_ColoniaFis", "Jardines"}, {"cli_DelMunFis", "Zapopan"}, {"cli_CiudadFis", "Zapopan"},
        {"edo_ClaveFis", "DF"}, {"pais_ClaveFis", "MEX"}, {"cli_CPFis", "06500"}, {"cli_Nota1", "Nota uno"},
        {"cli_Nota2", "Nota dos"}, {"usu_ClaveVendedor", "VEND1"}, {"cli_ComisionVendedor", "2.5"},
        {"cli_ComisionCobrador", "1"}, {"usu_ClaveCobrador", "COBR1"}, {"tent_Clave", "DOMICILIO"},
        {"zona_Clave", "NORTE"}, {"ruta_Clave", "R1"}, {"usu_ClaveEnvio", "VEND1"}, {"cli_RegimenFiscal", "603"},
        {"cli_UsoCFDI", "G03"}};
    e.setTexto(QStringLiteral("tcli_Clave"), QStringLiteral("CREDITO5"));
    for (auto it = todo.cbegin(); it != todo.cend(); ++it)
        e.setTexto(it.key(), it.value().toString());
    e.setTexto(QStringLiteral("cli_Descuento"), QStringLiteral("3"));
    p.prompter().answers << true;
    QVERIFY(e.guardaDatos());
    QVERIFY(e.continuar());
    QCOMPARE(p.prompter().texts(),
             QStringList{"El registro fue agregado con exito, desea continuar agregando mas clientes"});
    for (auto it = todo.cbegin(); it != todo.cend(); ++it) {
        const QVariant v = valor(c, it.key(), QStringLiteral("C100"));
        const QString esperado = it.value().toString();
        if (it.key().startsWith(QLatin1String("cli_Comision")))
            QCOMPARE(Decimal::fromVariant(v), Decimal::fromString(esperado));
        else if (esperado.isEmpty())
            QVERIFY2(v.isNull(), qPrintable(it.key()));
        else
            QCOMPARE(v.toString().trimmed(), esperado);
    }
    QCOMPARE(Decimal::fromVariant(valor(c, QStringLiteral("cli_Descuento"), QStringLiteral("C100"))), Decimal(3));
    QCOMPARE(Decimal::fromVariant(valor(c, QStringLiteral("cli_Credito"), QStringLiteral("C100"))), Decimal(1000));
    QCOMPARE(valor(c, QStringLiteral("cli_Periodo"), QStringLiteral("C100")).toInt(), 30);
    QCOMPARE(valor(c, QStringLiteral("tcli_Clave"), QStringLiteral("C100")).toString(), QStringLiteral("CREDITO5"));
    QCOMPARE(valor(c, QStringLiteral("percp_Clave"), QStringLiteral("C100")).toString(), QStringLiteral("MENSUAL"));
    QVERIFY(!valor(c, QStringLiteral("cli_FecAlta"), QStringLiteral("C100")).isNull());

    // The same key again: refused with the name of the client that has it.
    e.nuevo();
    PuestoClientes::minimo(e, QStringLiteral("C100"), QStringLiteral("OTRO"));
    p.prompter().clear();
    QVERIFY(!e.guardaDatos());
    QCOMPARE(p.prompter().texts(),
             QStringList{"La clave ya esta en uso para el siguiente cliente: CLINICA SAN RAFAEL SC"});
    QCOMPARE(e.campoRechazado(), QStringLiteral("cli_Clave"));

    // Consulting reads every column back as the window shows it.
    ClienteEditor leido = p.editor();
    QVERIFY(leido.carga(QStringLiteral("C100")));
    QVERIFY(!leido.esNuevo());
    QCOMPARE(leido.texto(QStringLiteral("cli_ComisionVendedor")), QStringLiteral("2.50"));
    QCOMPARE(leido.texto(QStringLiteral("cli_UsoCFDI")), QStringLiteral("G03"));
    QCOMPARE(leido.texto(QStringLiteral("cli_CURP")), QString());
    p.prompter().clear();
    QVERIFY(!leido.carga(QStringLiteral("NOEXISTE")));
    QCOMPARE(p.prompter().texts(), QStringList{"La clave no existe"});

    // Changing: every column but the key; a client deleted meanwhile is not written back.
    QVERIFY(leido.carga(QStringLiteral("C100")));
    leido.setTexto(QStringLiteral("cli_Telefono1"), QStringLiteral("33 1111 2222"));
    leido.setTexto(QStringLiteral("cli_Nota2"), QString());
    p.prompter().clear();
    QVERIFY(leido.guardaDatos());
    QCOMPARE(p.prompter().texts(), QStringList{"El registro fue actualizado con exito"});
    QCOMPARE(valor(c, QStringLiteral("cli_Telefono1"), QStringLiteral("C100")).toString(), QStringLiteral("33 1111 2222"));
    QVERIFY(valor(c, QStringLiteral("cli_Nota2"), QStringLiteral("C100")).isNull());
    c.execute(QStringLiteral("delete from tCliente where cli_Clave = 'C100'"));
    p.prompter().clear();
    QVERIFY(!leido.guardaDatos());
    QCOMPARE(p.prompter().texts(), QStringList{"La clave del cliente no existe"});
    QCOMPARE(clientes(c), 0);
}

void tst_ClienteEditor::eliminar_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("clave");
    QTest::addColumn<bool>("respuesta");
    QTest::addColumn<QString>("pregunta");
    const QString omision = QStringLiteral("Este cliente, es el cliente por omision, esta seguro de eliminar el cliente");
    const QString normal = QStringLiteral("Esta seguro de eliminar el cliente");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("cliente por omision, si")) << "SYS" << true << omision;
        TestDatabase::newRow(engine, QStringLiteral("cliente por omision, no")) << "SYS" << false << omision;
        TestDatabase::newRow(engine, QStringLiteral("otro cliente, si")) << "C1" << true << normal;
        TestDatabase::newRow(engine, QStringLiteral("otro cliente, no")) << "C1" << false << normal;
    }
}

void tst_ClienteEditor::eliminar()
{
    QFETCH(QString, engine);
    QFETCH(QString, clave);
    QFETCH(bool, respuesta);
    QFETCH(QString, pregunta);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoClientes p(db.connection());
    inserta(db.connection(), QStringLiteral("SYS"));
    inserta(db.connection(), QStringLiteral("C1"));
    ClienteEditor e = p.editor();
    p.prompter().answers << respuesta;
    QCOMPARE(e.eliminarRegistro(clave), respuesta);
    QStringList esperado{pregunta};
    if (respuesta)
        esperado << QStringLiteral("El registro fue eliminado con exito");
    QCOMPARE(p.prompter().texts(), esperado);
    QCOMPARE(clientes(db.connection()), respuesta ? 1 : 2);
    p.prompter().clear();
    QVERIFY(!e.eliminarRegistro(QStringLiteral("NOEXISTE")));
    QCOMPARE(p.prompter().texts(), QStringList{"La clave no existe"});
}

void tst_ClienteEditor::eliminarReferido_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("tabla");
    // The documents that name a client, in the schema or still to come.
    for (const QString &engine : TestDatabase::engines())
        for (const QString &tabla : ClienteEditor::tablasQueRefieren())
            TestDatabase::newRow(engine, tabla) << tabla;
}

void tst_ClienteEditor::eliminarReferido()
{
    QFETCH(QString, engine);
    QFETCH(QString, tabla);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoClientes p(c);
    inserta(c, QStringLiteral("C1"));
    inserta(c, QStringLiteral("C2"));
    // Tables of the schema get a real document of C1; the others are made as small as the check needs.
    static const QHash<QString, QStringList> documentos = {
        {QStringLiteral("tVenta"),
         {QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz')"),
          QStringLiteral("insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values ('T1', 'Caja', 'A1')"),
          QStringLiteral("insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, usu_Clave) "
                         "values ('A1', 'T1', 2026, 1, getdate(), 'ADMIN')"),
          QStringLiteral("insert into tVenta (term_Clave, corte_Anio, corte_Numero, venta_Numero, venta_Folio, "
                         "venta_importe, venta_Total, usu_Clave, venta_Fecha, cli_Clave, alm_Clave, usu_ClaveReg) "
                         "values ('T1', 2026, 1, 1, 1, 10, 10, 'ADMIN', getdate(), 'C1', 'A1', 'ADMIN')")}},
        {QStringLiteral("tVentaPendiente"),
         {QStringLiteral("insert into tVentaPendiente (term_Clave, corte_Anio, corte_Numero, venta_Numero, venta_Folio, "
                         "usu_Clave, venta_Fecha, cli_Clave, alm_Clave) values ('T1', 2026, 1, 1, 1, 'ADMIN', "
                         "getdate(), 'C1', 'A1')")}},
        {QStringLiteral("tCobranza"),
         {QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz')"),
          QStringLiteral("insert into tCobranza (alm_Clave, cob_Clave, cli_Clave, cob_Importe, cob_FecReg, cob_FecVenc) "
                         "values ('A1', 20261, 'C1', 100, getdate(), getdate())")}},
        {QStringLiteral("TCOBRO"),
         {QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz')"),
          QStringLiteral("insert into TCOBRO (alm_Clave, cobro_Clave, tcobro_Clave, cobro_Importe, cli_Clave) "
                         "values ('A1', 20261, 'EFECTIVO', 100, 'C1')")}},
        {QStringLiteral("tNotaCliente"),
         {QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz')"),
          QStringLiteral("insert into tNotaCliente (alm_Clave, notac_Clave, cli_Clave, notac_Fecha, notac_Importe) "
                         "values ('A1', 20261, 'C1', getdate(), 50)")}},
    };
    if (c.tableExists(tabla)) {
        QVERIFY2(documentos.contains(tabla), qPrintable(tabla + QStringLiteral(": falta su documento de prueba")));
        for (const QString &sql : documentos.value(tabla))
            c.execute(sql);
    } else {
        c.execute(QStringLiteral("create table ") + tabla + QStringLiteral(" (doc_Clave integer, cli_Clave varchar(20))"));
        c.execute(QStringLiteral("insert into ") + tabla + QStringLiteral(" (cli_Clave) values ('C1')"));
    }
    ClienteEditor e = p.editor();
    QVERIFY(!e.eliminarRegistro(QStringLiteral("C1")));
    // Refused before the question: nothing to confirm.
    QCOMPARE(p.prompter().texts(), QStringList{"La clave esta en uso, no es posible eliminar este registro"});
    QCOMPARE(clientes(c), 2);
    // A client no document names still goes.
    p.prompter().clear();
    p.prompter().answers << true;
    QVERIFY(e.eliminarRegistro(QStringLiteral("C2")));
    QCOMPARE(clientes(c), 1);
}

void tst_ClienteEditor::eliminarConReferenciaDeLaBase()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoClientes p(c);
    inserta(c, QStringLiteral("C1"));
    // A table of another subsystem whose reference the database enforces.
    c.execute(QStringLiteral("create table tClienteDocumento (doc_Clave integer primary key, "
                             "cli_Clave varchar(20) not null references tCliente (cli_Clave))"));
    c.execute(QStringLiteral("insert into tClienteDocumento (doc_Clave, cli_Clave) values (1, 'C1')"));
    ClienteEditor e = p.editor();
    p.prompter().answers << true;
    QVERIFY(!e.eliminarRegistro(QStringLiteral("C1")));
    QCOMPARE(p.prompter().texts(), (QStringList{"Esta seguro de eliminar el cliente",
                                                "La clave esta en uso, no es posible eliminar este registro"}));
    QCOMPARE(clientes(c), 1);
}

QTEST_GUILESS_MAIN(tst_ClienteEditor)
#include "tst_cliente_editor.moc"
