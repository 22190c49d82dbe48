// The supplier master's rules without a window, on both engines: the checks in their order and
// their messages, percentages and counts, the tax data, adding, changing, consulting, the
// department and exchange lists (replaced on every save), one transaction for all three tables,
// and deleting, refused while other rows name the supplier.
#include "PuestoProveedores.h"
#include "TestDatabase.h"

#include "Log.h"

#include <QTest>

using Pestana = ProveedorEditor::Pestana;
Q_DECLARE_METATYPE(ProveedorEditor::Pestana)

namespace {

const auto departamentos = &PuestoProveedores::departamentos;
const auto intercambios = &PuestoProveedores::intercambios;

QVariant valor(db::Connection &c, const QString &columna, const QString &clave)
{
    // The column is one of the test's own names.
    return c.scalar(QStringLiteral("select ") + columna + QStringLiteral(" from tProveedor where prov_Clave = ?"),
                    {clave});
}

int proveedores(db::Connection &c)
{
    return c.scalar(QStringLiteral("select count(*) from tProveedor")).toInt();
}

QStringList marcados(const ProveedorEditor &e)
{
    QStringList out;
    for (const auto &d : e.departamentos())
        if (d.servido)
            out << d.clave;
    return out;
}

QStringList layouts(const ProveedorEditor &e)
{
    QStringList out;
    for (const auto &i : e.intercambios())
        out << i.tipo + u'=' + (i.layout.isEmpty() ? ProveedorEditor::ninguno() : i.layout);
    return out;
}

const QString kAlta = QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas proveedores");

} // namespace

class tst_ProveedorEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_log.activa(); }
    void cleanupTestCase() { m_log.suelta(); }
    void nuevoProveedor_data() { TestDatabase::addEngineRows(); }
    void nuevoProveedor();
    void ordenDeLasValidaciones_data() { TestDatabase::addEngineRows(); }
    void ordenDeLasValidaciones();
    void numeros_data();
    void numeros();
    void datosFiscales_data();
    void datosFiscales();
    void altaCambioYConsulta_data() { TestDatabase::addEngineRows(); }
    void altaCambioYConsulta();
    void listasSeReemplazan_data() { TestDatabase::addEngineRows(); }
    void listasSeReemplazan();
    void layoutsOfrecidos_data() { TestDatabase::addEngineRows(); }
    void layoutsOfrecidos();
    void fallaEnCadaSentencia_data();
    void fallaEnCadaSentencia();
    void eliminar_data();
    void eliminar();
    void eliminarReferido_data();
    void eliminarReferido();
    void eliminarConReferenciaDeLaBase_data() { TestDatabase::addEngineRows(); }
    void eliminarConReferenciaDeLaBase();

private:
    maestros::Bitacora m_log;
};

void tst_ProveedorEditor::nuevoProveedor()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    ProveedorEditor e = p.editor();
    // Every department unchecked, every kind of exchange by its order column and without layout.
    QCOMPARE(e.departamentos().size(), 3);
    QVERIFY(marcados(e).isEmpty());
    QCOMPARE(layouts(e), (QStringList{"LISTA=<NINGUNO>", "PEDIDO=<NINGUNO>", "FACTURA=<NINGUNO>"}));
    PuestoProveedores::minimo(e, QStringLiteral("P1"));
    p.prompter().answers << false;
    QVERIFY(e.guardaDatos());
    QCOMPARE(p.prompter().texts(), QStringList{kAlta});
    QVERIFY(!e.continuar());
    QVERIFY(!e.esNuevo());
    // The defaults the window leaves untouched are stored as such.
    db::Recordset rs = c.openRecordset(QStringLiteral("select * from tProveedor where prov_Clave = 'P1'"));
    QVERIFY(!rs.eof());
    QCOMPARE(rs.text(QStringLiteral("pais_Clave")), QStringLiteral("MEX"));
    QCOMPARE(rs.text(QStringLiteral("tpag_Clave")), QStringLiteral("CREDITO"));
    QCOMPARE(rs.integer(QStringLiteral("prov_Periodo")), 30);
    QCOMPARE(rs.text(QStringLiteral("per_Clave")), QStringLiteral("DIA"));
    QCOMPARE(rs.integer(QStringLiteral("prov_Preferencia")), 1);
    QCOMPARE(rs.integer(QStringLiteral("prov_DiasResurtido")), 1);
    QCOMPARE(rs.integer(QStringLiteral("prov_DiasResurtidoMax")), 3);
    QCOMPARE(rs.decimal(QStringLiteral("prov_Saldo")), Decimal());
    for (const char *b : {"prov_ActPrecio", "prov_ReqPedido", "prov_ReqFalta", "prov_ValCantidad", "prov_ValPrecio",
                          "prov_EDI", "prov_UtilDesc", "prov_ActLista", "prov_DispLista", "prov_ValMaxMin"})
        QCOMPARE(rs.text(QLatin1String(b)), QStringLiteral("N"));
    QVERIFY(rs.value(QStringLiteral("prov_RFC")).isNull());
    QVERIFY(!rs.value(QStringLiteral("prov_FecAlta")).isNull());
    QVERIFY(departamentos(c, QStringLiteral("P1")).isEmpty());
    QVERIFY(intercambios(c, QStringLiteral("P1")).isEmpty());
}

void tst_ProveedorEditor::ordenDeLasValidaciones()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoProveedores p(db.connection());
    ProveedorEditor e = p.editor();
    for (const char *campo : {"prov_Clave", "prov_Nombre", "pais_Clave", "tpag_Clave", "edo_Clave"})
        e.setTexto(QLatin1String(campo), QString());
    e.setTexto(QStringLiteral("prov_Descuento"), QStringLiteral("101"));
    e.setTexto(QStringLiteral("prov_RFC"), QStringLiteral("FNA6001"));
    const QList<std::tuple<const char *, const char *, Pestana, const char *>> pasos = {
        {"prov_Clave", "Debe indicar una clave", Pestana::Generales, "P1"},
        {"prov_Nombre", "Debe indicar un nombre", Pestana::Generales, "FARMACOS NACIONALES SA DE CV"},
        {"pais_Clave", "Debe indicar un pais", Pestana::Generales, "MEX"},
        {"tpag_Clave", "Debe indicar una forma de  pago", Pestana::Condiciones, "CHEQUE"},
        {"edo_Clave", "Debe indicar un estado", Pestana::Generales, "JAL"},
        // Then the tax data, then the figures.
        {"prov_RFC",
         "El RFC no es valido: debe tener 13 caracteres para personas fisicas o 12 para personas morales (letras, "
         "fecha AAMMDD y homoclave)",
         Pestana::Generales, "FNA600101QH6"},
        {"prov_Descuento", "Debe indicar el descuento [0-100]%", Pestana::Condiciones, "100"},
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
    QCOMPARE(proveedores(db.connection()), 0); // validating writes nothing
}

void tst_ProveedorEditor::numeros_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("mensaje"); // empty: accepted
    QTest::addColumn<Pestana>("pestana");
    const QString descuento = QStringLiteral("Debe indicar el descuento [0-100]%");
    const QString bonificacion = QStringLiteral("Debe indicar la bonificacion [0-100]%");
    const QString cantidad = QStringLiteral("Debe indicar la tolerancia de la cantidad [0-100]%");
    const QString precio = QStringLiteral("Debe indicar la tolerancia del precio [0-100]%");
    const QString positivo = QStringLiteral("Debe indicar un numero mayor o igual a cero");
    const QString maximo =
        QStringLiteral("Los dias maximos de resurtido no pueden ser menos que los dias de resurtido");
    for (const QString &engine : TestDatabase::engines()) {
        const auto row = [&](const char *name) -> QTestData & { return TestDatabase::newRow(engine, QLatin1String(name)); };
        row("descuento 101") << "prov_Descuento" << "101" << descuento << Pestana::Condiciones;
        row("descuento negativo") << "prov_Descuento" << "-1" << descuento << Pestana::Condiciones;
        row("descuento en letras") << "prov_Descuento" << "diez" << descuento << Pestana::Condiciones;
        row("descuento 0") << "prov_Descuento" << "0" << "" << Pestana::Generales;
        row("descuento 100") << "prov_Descuento" << "100" << "" << Pestana::Generales;
        row("descuento vacio") << "prov_Descuento" << "" << "" << Pestana::Generales;
        row("bonificacion 100.01") << "prov_Bonificacion" << "100.01" << bonificacion << Pestana::Condiciones;
        row("bonificacion 2.5") << "prov_Bonificacion" << "2.5" << "" << Pestana::Generales;
        row("tolerancia de cantidad 150") << "prov_ValCantidadPorc" << "150" << cantidad << Pestana::Recepcion;
        row("tolerancia de precio -0.01") << "prov_ValPrecioPorc" << "-0.01" << precio << Pestana::Recepcion;
        row("tolerancia de precio 100") << "prov_ValPrecioPorc" << "100" << "" << Pestana::Generales;
        row("plazo negativo") << "prov_Periodo" << "-1" << positivo << Pestana::Condiciones;
        row("plazo con decimales") << "prov_Periodo" << "1.5" << positivo << Pestana::Condiciones;
        row("limite de credito negativo") << "prov_LimCredito" << "-5" << positivo << Pestana::Condiciones;
        row("limite de credito 25000.50") << "prov_LimCredito" << "25000.50" << "" << Pestana::Generales;
        row("dias negativos") << "prov_DiasResurtido" << "-1" << positivo << Pestana::Resurtido;
        row("preferencia en letras") << "prov_Preferencia" << "uno" << positivo << Pestana::Resurtido;
        row("preferencia 0") << "prov_Preferencia" << "0" << "" << Pestana::Generales;
        row("dias maximos bajo los dias") << "prov_DiasResurtidoMax" << "0" << maximo << Pestana::Resurtido;
        row("dias maximos iguales") << "prov_DiasResurtidoMax" << "1" << "" << Pestana::Generales;
    }
}

void tst_ProveedorEditor::numeros()
{
    QFETCH(QString, engine);
    QFETCH(QString, campo);
    QFETCH(QString, texto);
    QFETCH(QString, mensaje);
    QFETCH(Pestana, pestana);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoProveedores p(db.connection());
    ProveedorEditor e = p.editor();
    PuestoProveedores::minimo(e, QStringLiteral("P1"));
    e.setTexto(campo, texto);
    p.prompter().answers << false;
    QCOMPARE(e.guardaDatos(), mensaje.isEmpty());
    if (mensaje.isEmpty()) {
        QCOMPARE(p.prompter().texts(), QStringList{kAlta});
        const QVariant v = valor(db.connection(), campo, QStringLiteral("P1"));
        QCOMPARE(Decimal::fromVariant(v), texto.isEmpty() ? Decimal() : Decimal::fromString(texto));
    } else {
        QCOMPARE(p.prompter().texts(), QStringList{mensaje});
        QCOMPARE(e.campoRechazado(), campo);
        QCOMPARE(e.pestanaRechazada(), pestana);
        QCOMPARE(proveedores(db.connection()), 0);
    }
}

void tst_ProveedorEditor::datosFiscales_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QVariantMap>("campos");
    QTest::addColumn<QList<bool>>("respuestas");
    QTest::addColumn<bool>("guardado");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<QString>("campoRechazado");
    for (const QString &engine : TestDatabase::engines()) {
        const auto row = [&](const char *name) -> QTestData & { return TestDatabase::newRow(engine, QLatin1String(name)); };
        row("persona valida") << QVariantMap{{"prov_RFC", "pegl780412hja"}, {"prov_RegimenFiscal", "612"}}
                              << QList<bool>{false} << true << QStringList{kAlta} << QString();
        row("moral valida") << QVariantMap{{"prov_RFC", "FNA-600101-QH6"}, {"prov_RegimenFiscal", "601"},
                                           {"prov_CP", "45050"}}
                            << QList<bool>{false} << true << QStringList{kAlta} << QString();
        row("extranjero") << QVariantMap{{"prov_RFC", "XEXX010101000"}, {"pais_Clave", "USA"}, {"edo_Clave", "TX"}}
                          << QList<bool>{false} << true << QStringList{kAlta} << QString();
        const QString aviso = QStringLiteral("El digito verificador del RFC FNA600101QH7 no corresponde, desea continuar");
        row("digito incorrecto, continua") << QVariantMap{{"prov_RFC", "FNA600101QH7"}} << QList<bool>{true, false}
                                           << true << QStringList{aviso, kAlta} << QString();
        row("digito incorrecto, no continua") << QVariantMap{{"prov_RFC", "FNA600101QH7"}} << QList<bool>{false}
                                              << false << QStringList{aviso} << "prov_RFC";
        row("RFC con fecha invalida")
            << QVariantMap{{"prov_RFC", "FNA601301QH6"}} << QList<bool>{} << false
            << QStringList{"El RFC no es valido: debe tener 13 caracteres para personas fisicas o 12 para personas "
                           "morales (letras, fecha AAMMDD y homoclave)"}
            << "prov_RFC";
        row("regimen de moral para persona")
            << QVariantMap{{"prov_RFC", "PEGL780412HJA"}, {"prov_RegimenFiscal", "601"}} << QList<bool>{} << false
            << QStringList{"El regimen fiscal 601 no aplica a personas fisicas"} << "prov_RegimenFiscal";
        row("codigo postal de 4 digitos") << QVariantMap{{"prov_CP", "4410"}} << QList<bool>{} << false
                                          << QStringList{"El codigo postal debe tener 5 digitos"} << "prov_CP";
        row("codigo postal de otro pais")
            << QVariantMap{{"pais_Clave", "USA"}, {"edo_Clave", "TX"}, {"prov_CP", "78501-1234"}} << QList<bool>{false}
            << true << QStringList{kAlta} << QString();
    }
}

void tst_ProveedorEditor::datosFiscales()
{
    QFETCH(QString, engine);
    QFETCH(QVariantMap, campos);
    QFETCH(QList<bool>, respuestas);
    QFETCH(bool, guardado);
    QFETCH(QStringList, mensajes);
    QFETCH(QString, campoRechazado);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    PuestoProveedores p(db.connection());
    ProveedorEditor e = p.editor();
    PuestoProveedores::minimo(e, QStringLiteral("P1"));
    for (auto it = campos.cbegin(); it != campos.cend(); ++it)
        e.setTexto(it.key(), it.value().toString());
    for (bool r : respuestas)
        p.prompter().answers << r;
    QCOMPARE(e.guardaDatos(), guardado);
    QCOMPARE(p.prompter().texts(), mensajes);
    QVERIFY(p.prompter().drained());
    QCOMPARE(proveedores(db.connection()), guardado ? 1 : 0);
    if (!guardado) {
        QCOMPARE(e.campoRechazado(), campoRechazado);
        QCOMPARE(e.pestanaRechazada(), Pestana::Generales);
    } else if (campos.contains(QStringLiteral("prov_RFC"))) {
        // Kept as the SAT writes it: upper case, nothing between the parts.
        QCOMPARE(valor(db.connection(), QStringLiteral("prov_RFC"), QStringLiteral("P1")).toString(),
                 campos.value(QStringLiteral("prov_RFC")).toString().toUpper().remove(u'-'));
    }
}

void tst_ProveedorEditor::altaCambioYConsulta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    ProveedorEditor e = p.editor();
    // Every column the window writes, with a value of its own.
    const QVariantMap todo = {
        {"prov_Clave", "FANASA"}, {"prov_Abreviatura", "FANASA"}, {"prov_Nombre", "FARMACOS NACIONALES SA DE CV"},
        {"prov_RFC", "FNA600101QH6"}, {"prov_Domicilio", "Av. Lopez Mateos Sur 2375"}, {"prov_Ciudad", "Zapopan"},
        {"prov_CP", "45050"}, {"pais_Clave", "MEX"}, {"edo_Clave", "JAL"}, {"prov_Agente", "Ricardo Navarro"},
        {"prov_Supervisor", "Ana Lopez"}, {"prov_Tel1", "33 3134 2200"}, {"prov_Tel2", "33 3134 2201"},
        {"prov_Fax", "33 3134 2202"}, {"prov_email", "pedidos@fanasa.mx"}, {"prov_Descuento", "3.5"},
        {"prov_Bonificacion", "1"}, {"tpag_Clave", "CHEQUE"}, {"prov_Periodo", "45"}, {"per_Clave", "DIA"},
        {"banco_Clave", "BBVA"}, {"prov_Sucursal", "0451 Chapultepec"}, {"prov_Cuenta", "0112233445"},
        {"prov_Referencia", "Pagar contra recibo"}, {"prov_ActPrecio", "S"}, {"prov_ReqPedido", "S"},
        {"prov_ReqFalta", "S"}, {"prov_ValCantidad", "S"}, {"prov_ValCantidadPorc", "5"}, {"prov_ValPrecio", "S"},
        {"prov_ValPrecioPorc", "2"}, {"cpago_Clave", "PERIODO"}, {"percp_Clave", "MENSUAL"},
        {"prov_LimCredito", "250000"}, {"prov_EDI", "S"}, {"prov_CodProvEDI", "FAN"}, {"prov_CodClienteEDI", "ESP0451"},
        {"control_Clave", "LISTA"}, {"prov_UtilDesc", "S"}, {"prov_DiasResurtido", "2"},
        {"prov_DiasResurtidoMax", "4"}, {"prov_Preferencia", "2"}, {"prov_ActLista", "S"}, {"prov_DispLista", "S"},
        {"prov_ValMaxMin", "S"}, {"prov_RegimenFiscal", "601"}};
    QCOMPARE(todo.size() + 1, ProveedorEditor::campos().size()); // all but the balance
    for (auto it = todo.cbegin(); it != todo.cend(); ++it)
        e.setTexto(it.key(), it.value().toString());
    e.setTexto(QStringLiteral("prov_Saldo"), QStringLiteral("999")); // the balance is not the window's
    p.prompter().answers << true;
    QVERIFY(e.guardaDatos());
    QVERIFY(e.continuar());
    QCOMPARE(p.prompter().texts(), QStringList{kAlta});
    for (auto it = todo.cbegin(); it != todo.cend(); ++it) {
        const QVariant v = valor(c, it.key(), QStringLiteral("FANASA"));
        const QString esperado = it.value().toString();
        static const QStringList numeros = {"prov_Descuento",       "prov_Bonificacion",  "prov_Periodo",
                                            "prov_ValCantidadPorc", "prov_ValPrecioPorc", "prov_LimCredito",
                                            "prov_DiasResurtido",   "prov_DiasResurtidoMax", "prov_Preferencia"};
        if (numeros.contains(it.key()))
            QVERIFY2(Decimal::fromVariant(v) == Decimal::fromString(esperado), qPrintable(it.key()));
        else
            QCOMPARE(v.toString().trimmed(), esperado);
    }
    QCOMPARE(Decimal::fromVariant(valor(c, QStringLiteral("prov_Saldo"), QStringLiteral("FANASA"))), Decimal());

    // The same key again: refused with the name of the supplier that has it.
    e.nuevo();
    PuestoProveedores::minimo(e, QStringLiteral("FANASA"), QStringLiteral("OTRO"));
    p.prompter().clear();
    QVERIFY(!e.guardaDatos());
    QCOMPARE(p.prompter().texts(),
             QStringList{"La clave ya esta en uso para el siguiente proveedor: FARMACOS NACIONALES SA DE CV"});
    QCOMPARE(e.campoRechazado(), QStringLiteral("prov_Clave"));

    // Consulting reads every column back as the window shows it.
    c.execute(QStringLiteral("update tProveedor set prov_Saldo = 1234.5 where prov_Clave = 'FANASA'"));
    ProveedorEditor leido = p.editor();
    QVERIFY(leido.carga(QStringLiteral(" FANASA ")));
    QVERIFY(!leido.esNuevo());
    QCOMPARE(leido.texto(QStringLiteral("prov_Descuento")), QStringLiteral("3.50"));
    QCOMPARE(leido.texto(QStringLiteral("prov_Periodo")), QStringLiteral("45"));
    QCOMPARE(leido.texto(QStringLiteral("prov_Saldo")), QStringLiteral("1234.50"));
    QCOMPARE(leido.texto(QStringLiteral("prov_EDI")), QStringLiteral("S"));
    QCOMPARE(leido.texto(QStringLiteral("banco_Clave")), QStringLiteral("BBVA"));
    p.prompter().clear();
    QVERIFY(!leido.carga(QStringLiteral("NOEXISTE")));
    QCOMPARE(p.prompter().texts(), QStringList{"La clave no existe"});

    // Changing: every column but the key; the balance payables wrote stays.
    QVERIFY(leido.carga(QStringLiteral("FANASA")));
    leido.setTexto(QStringLiteral("prov_Tel1"), QStringLiteral("33 1111 2222"));
    leido.setTexto(QStringLiteral("prov_Supervisor"), QString());
    leido.setTexto(QStringLiteral("prov_EDI"), QStringLiteral("n"));
    p.prompter().clear();
    QVERIFY(leido.guardaDatos());
    QCOMPARE(p.prompter().texts(), QStringList{"El registro fue actualizado con exito"});
    QCOMPARE(valor(c, QStringLiteral("prov_Tel1"), QStringLiteral("FANASA")).toString(), QStringLiteral("33 1111 2222"));
    QVERIFY(valor(c, QStringLiteral("prov_Supervisor"), QStringLiteral("FANASA")).isNull());
    QCOMPARE(valor(c, QStringLiteral("prov_EDI"), QStringLiteral("FANASA")).toString(), QStringLiteral("N"));
    QCOMPARE(Decimal::fromVariant(valor(c, QStringLiteral("prov_Saldo"), QStringLiteral("FANASA"))),
             Decimal::fromString(QStringLiteral("1234.5")));
    // A supplier deleted meanwhile is not written back.
    c.execute(QStringLiteral("delete from tProveedor where prov_Clave = 'FANASA'"));
    p.prompter().clear();
    QVERIFY(!leido.guardaDatos());
    QCOMPARE(p.prompter().texts(), QStringList{"La clave del proveedor no existe"});
    QCOMPARE(proveedores(c), 0);
}

void tst_ProveedorEditor::listasSeReemplazan()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    // Another supplier's rows are never touched.
    PuestoProveedores::inserta(c, QStringLiteral("OTRO"), {QStringLiteral("MED")}, {{"PEDIDO", "PED-OTRO"}});
    ProveedorEditor e = p.editor();
    PuestoProveedores::minimo(e, QStringLiteral("P1"));
    QVERIFY(e.marcaDepartamento(QStringLiteral("MED"), true));
    QVERIFY(e.marcaDepartamento(QStringLiteral("PERF"), true));
    QVERIFY(!e.marcaDepartamento(QStringLiteral("NOEXISTE"), true));
    QVERIFY(e.setLayout(QStringLiteral("PEDIDO"), QStringLiteral("PED-FANASA")));
    QVERIFY(e.setLayout(QStringLiteral("LISTA"), QStringLiteral("LIS-FANASA")));
    QVERIFY(!e.setLayout(QStringLiteral("NOEXISTE"), QStringLiteral("X")));
    p.prompter().answers << false;
    QVERIFY(e.guardaDatos());
    QCOMPARE(departamentos(c, QStringLiteral("P1")), (QStringList{"MED=S", "PERF=S"}));
    // A kind at "<NINGUNO>" has no row.
    QCOMPARE(intercambios(c, QStringLiteral("P1")), (QStringList{"LISTA=LIS-FANASA", "PEDIDO=PED-FANASA"}));

    ProveedorEditor leido = p.editor();
    QVERIFY(leido.carga(QStringLiteral("P1")));
    QCOMPARE(marcados(leido), (QStringList{"MED", "PERF"}));
    QCOMPARE(layouts(leido), (QStringList{"LISTA=LIS-FANASA", "PEDIDO=PED-FANASA", "FACTURA=<NINGUNO>"}));

    // The second save replaces both lists: unchecked departments and cleared kinds go.
    leido.marcaDepartamento(QStringLiteral("MED"), false);
    leido.marcaDepartamento(QStringLiteral("ABA"), true);
    QVERIFY(leido.setLayout(QStringLiteral("LISTA"), ProveedorEditor::ninguno()));
    QVERIFY(leido.setLayout(QStringLiteral("FACTURA"), QStringLiteral("FAC-FANASA")));
    p.prompter().clear();
    QVERIFY(leido.guardaDatos());
    QCOMPARE(p.prompter().texts(), QStringList{"El registro fue actualizado con exito"});
    QCOMPARE(departamentos(c, QStringLiteral("P1")), (QStringList{"ABA=S", "PERF=S"}));
    QCOMPARE(intercambios(c, QStringLiteral("P1")), (QStringList{"FACTURA=FAC-FANASA", "PEDIDO=PED-FANASA"}));
    QCOMPARE(departamentos(c, QStringLiteral("OTRO")), QStringList{"MED=S"});
    QCOMPARE(intercambios(c, QStringLiteral("OTRO")), QStringList{"PEDIDO=PED-OTRO"});

    // Everything cleared: no rows left.
    for (const auto &d : leido.departamentos())
        leido.marcaDepartamento(d.clave, false);
    for (const auto &i : leido.intercambios())
        leido.setLayout(i.tipo, QString());
    QVERIFY(leido.guardaDatos());
    QVERIFY(departamentos(c, QStringLiteral("P1")).isEmpty());
    QVERIFY(intercambios(c, QStringLiteral("P1")).isEmpty());

    // A row marked otherwise by older data reads as not served, and the next save drops it.
    c.execute(QStringLiteral("insert into TPROVEEDORTIPOART (prov_Clave, tart_Clave, tap_Seleccion) "
                             "values ('P1', 'ABA', 'N')"));
    QVERIFY(leido.carga(QStringLiteral("P1")));
    QVERIFY(marcados(leido).isEmpty());
    QVERIFY(leido.guardaDatos());
    QVERIFY(departamentos(c, QStringLiteral("P1")).isEmpty());
}

void tst_ProveedorEditor::layoutsOfrecidos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    PuestoProveedores::inserta(c, QStringLiteral("P1"), {}, {{"PEDIDO", "PED-VIEJO"}});
    ProveedorEditor e = p.editor();
    QVERIFY(e.carga(QStringLiteral("P1")));
    const auto claves = [&](const QString &tipo) {
        QStringList out;
        for (const auto &o : e.layouts(tipo))
            out << o.first + u'/' + o.second;
        return out;
    };
    // Without the exchange module's table: none, and the layout the supplier has.
    QCOMPARE(claves(QStringLiteral("PEDIDO")), (QStringList{"/<NINGUNO>", "PED-VIEJO/PED-VIEJO"}));
    QCOMPARE(claves(QStringLiteral("LISTA")), QStringList{"/<NINGUNO>"});
    // With it: the kind's layouts by name, the supplier's own kept when the module lacks it.
    PuestoProveedores::layouts(c);
    QCOMPARE(claves(QStringLiteral("PEDIDO")), (QStringList{"/<NINGUNO>", "PED-FANASA/Pedido FANASA",
                                                            "PED-NADRO/Pedido NADRO", "PED-VIEJO/PED-VIEJO"}));
    QCOMPARE(claves(QStringLiteral("LISTA")), (QStringList{"/<NINGUNO>", "LIS-FANASA/Lista FANASA"}));
    QCOMPARE(claves(QStringLiteral("FACTURA")), QStringList{"/<NINGUNO>"});
}

void tst_ProveedorEditor::fallaEnCadaSentencia_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("alta");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("alta")) << true;
        TestDatabase::newRow(engine, QStringLiteral("cambio")) << false;
    }
}

void tst_ProveedorEditor::fallaEnCadaSentencia()
{
    QFETCH(QString, engine);
    QFETCH(bool, alta);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    PuestoProveedores::inserta(c, QStringLiteral("P1"), {QStringLiteral("MED"), QStringLiteral("ABA")},
                               {{"PEDIDO", "PED-1"}, {"LISTA", "LIS-1"}});
    const QStringList antes = PuestoProveedores::estado(c);
    const auto prepara = [&](ProveedorEditor &e) {
        if (alta)
            PuestoProveedores::minimo(e, QStringLiteral("P2"));
        else
            QVERIFY(e.carga(QStringLiteral("P1")));
        e.setTexto(QStringLiteral("prov_Nombre"), QStringLiteral("NOMBRE NUEVO"));
        e.setTexto(QStringLiteral("prov_Descuento"), QStringLiteral("9"));
        e.marcaDepartamento(QStringLiteral("MED"), false);
        e.marcaDepartamento(QStringLiteral("PERF"), true);
        e.marcaDepartamento(QStringLiteral("ABA"), true);
        e.setLayout(QStringLiteral("LISTA"), QString());
        e.setLayout(QStringLiteral("FACTURA"), QStringLiteral("FAC-1"));
        e.setLayout(QStringLiteral("PEDIDO"), QStringLiteral("PED-2"));
    };
    int fallas = 0;
    for (int n = 1;; ++n) {
        QVERIFY2(n < 60, "the save never ended");
        ProveedorEditor e = p.editor();
        prepara(e);
        int vista = 0;
        c.setStatementHook([&](const QString &) {
            if (++vista == n)
                throw db::DbError(99, QStringLiteral("falla simulada"), QStringLiteral("prueba"));
        });
        p.prompter().clear();
        p.prompter().answers << false;
        const bool ok = e.guardaDatos();
        c.setStatementHook({});
        if (vista < n) {
            QVERIFY(ok);
            break;
        }
        QVERIFY2(!ok, qPrintable(QStringLiteral("statement %1").arg(n)));
        QVERIFY(!p.prompter().shown.isEmpty());
        QVERIFY2(PuestoProveedores::estado(c) == antes,
                 qPrintable(QStringLiteral("statement %1 left a partial write").arg(n)));
        QCOMPARE(c.transactionDepth(), 0);
        ++fallas;
    }
    // The checks, BEGIN, the record, both deletes, four inserts and COMMIT among them.
    QVERIFY2(fallas >= 10, qPrintable(QString::number(fallas)));
    const QString clave = alta ? QStringLiteral("P2") : QStringLiteral("P1");
    QCOMPARE(valor(c, QStringLiteral("prov_Nombre"), clave).toString(), QStringLiteral("NOMBRE NUEVO"));
    QCOMPARE(departamentos(c, clave), (QStringList{"ABA=S", "PERF=S"}));
    QCOMPARE(intercambios(c, clave), (QStringList{"FACTURA=FAC-1", "PEDIDO=PED-2"}));
}

void tst_ProveedorEditor::eliminar_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("respuesta");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("si")) << true;
        TestDatabase::newRow(engine, QStringLiteral("no")) << false;
    }
}

void tst_ProveedorEditor::eliminar()
{
    QFETCH(QString, engine);
    QFETCH(bool, respuesta);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    PuestoProveedores::inserta(c, QStringLiteral("P1"), {QStringLiteral("MED")}, {{"PEDIDO", "PED-1"}});
    PuestoProveedores::inserta(c, QStringLiteral("P2"), {QStringLiteral("MED")}, {{"PEDIDO", "PED-2"}});
    ProveedorEditor e = p.editor();
    p.prompter().answers << respuesta;
    QCOMPARE(e.eliminarRegistro(QStringLiteral("P1")), respuesta);
    QStringList esperado{QStringLiteral("Esta seguro de eliminar el proveedor")};
    if (respuesta)
        esperado << QStringLiteral("El registro fue eliminado con exito");
    QCOMPARE(p.prompter().texts(), esperado);
    QCOMPARE(proveedores(c), respuesta ? 1 : 2);
    // Its departments and layouts go with it; the other supplier's stay.
    QCOMPARE(departamentos(c, QStringLiteral("P1")).size(), respuesta ? 0 : 1);
    QCOMPARE(intercambios(c, QStringLiteral("P1")).size(), respuesta ? 0 : 1);
    QCOMPARE(departamentos(c, QStringLiteral("P2")), QStringList{"MED=S"});
    p.prompter().clear();
    QVERIFY(!e.eliminarRegistro(QStringLiteral("NOEXISTE")));
    QCOMPARE(p.prompter().texts(), QStringList{"La clave no existe"});
}

void tst_ProveedorEditor::eliminarReferido_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QString>("columna");
    for (const QString &engine : TestDatabase::engines())
        for (const auto &[tabla, columna] : ProveedorEditor::tablasQueRefieren())
            TestDatabase::newRow(engine, tabla + u'.' + columna) << tabla << columna;
}

void tst_ProveedorEditor::eliminarReferido()
{
    QFETCH(QString, engine);
    QFETCH(QString, tabla);
    QFETCH(QString, columna);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    PuestoProveedores::inserta(c, QStringLiteral("P1"));
    PuestoProveedores::inserta(c, QStringLiteral("P2"));
    // Tables of the schema get a real row that names P1; the others are made as small as the
    // check needs.
    const QString articulo = QStringLiteral("insert into tArticulo (art_Clave, art_Nombre, %1) values ('A1', 'Aspirina', 'P1')");
    static const QHash<QString, QStringList> documentos = {
        {QStringLiteral("tArticulo.prov_Clave"), {articulo.arg(QStringLiteral("prov_Clave"))}},
        {QStringLiteral("tArticulo.prov_ClaveAct"), {articulo.arg(QStringLiteral("prov_ClaveAct"))}},
        {QStringLiteral("tArticuloKardex.prov_Clave"),
         {QStringLiteral("insert into tArticulo (art_Clave, art_Nombre) values ('A1', 'Aspirina')"),
          QStringLiteral("insert into tArticuloKardex (ALM_CLAVE, art_Clave, kar_Anio, kar_Fecha, tkar_Clave, "
                         "kar_Cantidad, art_Costo, KAR_ORIGEN, prov_Clave, fact_Clave, alma_Existencia, usu_Clave) "
                         "values ('MATRIZ', 'A1', 2026, getdate(), 'E', 10, 5, 'RECEPCION-1', 'P1', 'F-100', 10, "
                         "'ADMIN')")}},
        {QStringLiteral("tFactura.prov_Clave"),
         {QStringLiteral("insert into tFactura (alm_Clave, prov_Clave, fact_Clave, fact_Total, edof_Clave) values "
                         "('MATRIZ', 'P1', 'F-1', 100, 'REGISTRADA')")}},
        {QStringLiteral("TPAGO.prov_Clave"),
         {QStringLiteral("insert into TPAGO (alm_Clave, pago_Clave, tpago_Clave, vpago_Importe, prov_Clave) values "
                         "('MATRIZ', 20261, 'EFECTIVO', 100, 'P1')")}},
        {QStringLiteral("tMovCuentaBancaria.prov_Clave"),
         {QStringLiteral("insert into tBanco (banco_Clave, banco_Nombre) values ('B1', 'Banco')"),
          QStringLiteral("insert into tCuentaBancaria (ctab_Clave, banco_Clave) values ('C1', 'B1')"),
          QStringLiteral("insert into tMovCuentaBancaria (ctab_Clave, movcb_Clave, tmovcb_Clave, movcb_Importe, "
                         "movcb_Fecha, usu_Clave, emovcb_Clave, prov_Clave, fact_Clave) values ('C1', 1, 'DEPOSITO', "
                         "100, getdate(), 'ADMIN', 'APLICADO', 'P1', 'F-1')")}},
    };
    if (c.tableExists(tabla)) {
        const QString nombre = tabla + u'.' + columna;
        QVERIFY2(documentos.contains(nombre), qPrintable(nombre + QStringLiteral(": falta su documento de prueba")));
        for (const QString &sql : documentos.value(nombre))
            c.execute(sql);
    } else {
        c.execute(QStringLiteral("create table ") + tabla + QStringLiteral(" (doc_Clave integer, ") + columna +
                  QStringLiteral(" varchar(30))"));
        c.execute(QStringLiteral("insert into ") + tabla + QStringLiteral(" (") + columna +
                  QStringLiteral(") values ('P1')"));
    }
    ProveedorEditor e = p.editor();
    QVERIFY(!e.eliminarRegistro(QStringLiteral("P1")));
    // Refused before the question: nothing to confirm.
    QCOMPARE(p.prompter().texts(), QStringList{"La clave esta en uso, no es posible eliminar este registro"});
    QCOMPARE(proveedores(c), 2);
    // A supplier no row names still goes.
    p.prompter().clear();
    p.prompter().answers << true;
    QVERIFY(e.eliminarRegistro(QStringLiteral("P2")));
    QCOMPARE(proveedores(c), 1);
}

void tst_ProveedorEditor::eliminarConReferenciaDeLaBase()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    PuestoProveedores::inserta(c, QStringLiteral("P1"), {QStringLiteral("MED")});
    // A table of another subsystem whose reference the database enforces.
    c.execute(QStringLiteral("create table tProveedorDocumento (doc_Clave integer primary key, "
                             "prov_Clave varchar(30) not null references tProveedor (prov_Clave))"));
    c.execute(QStringLiteral("insert into tProveedorDocumento (doc_Clave, prov_Clave) values (1, 'P1')"));
    ProveedorEditor e = p.editor();
    p.prompter().answers << true;
    QVERIFY(!e.eliminarRegistro(QStringLiteral("P1")));
    QCOMPARE(p.prompter().texts(), (QStringList{"Esta seguro de eliminar el proveedor",
                                                "La clave esta en uso, no es posible eliminar este registro"}));
    QCOMPARE(proveedores(c), 1);
    // Its departments were not taken either: the whole deletion rolled back.
    QCOMPARE(departamentos(c, QStringLiteral("P1")), QStringList{"MED=S"});
    QCOMPARE(c.transactionDepth(), 0);
}

QTEST_GUILESS_MAIN(tst_ProveedorEditor)
#include "tst_proveedor_editor.moc"
