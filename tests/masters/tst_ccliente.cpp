// Event scripts reading a client: by key through the object factory, its data and any column.
#include "PuestoClientes.h"
#include "TestDatabase.h"
#include "cCliente.h"

#include "cCode.h"
#include "cObjectFactory.h"

#include <QTest>

class tst_cCliente : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void script_data() { TestDatabase::addEngineRows(); }
    void script();
};

void tst_cCliente::script()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoClientes p(c);
    c.execute(QStringLiteral("insert into tCliente (cli_Clave, cli_Nombre, cli_Descuento, pais_Clave, edo_Clave, "
                             "pais_ClaveFis, tcli_Clave, cli_Credito, cli_Periodo, per_Clave, cli_RFC, "
                             "cli_RegimenFiscal, cli_UsoCFDI, cli_Calle, usu_ClaveVendedor) values ('C1', "
                             "'CLINICA SAN RAFAEL', 5, 'MEX', 'JAL', 'MEX', 'CREDITO5', 1000.5, 30, 'DIA', "
                             "'CFE370814QI0', '601', 'G03', 'Av. Patria', 'VEND1')"));
    cObjectFactory factory;
    registraScriptsClientes(factory, p.estacion.provider);
    QVERIFY(factory.hasClass(QStringLiteral("newcCliente")));
    cCode code(p.estacion.provider, p.estacion.config, p.prompter());
    code.addObject(QStringLiteral("xFactory"), &factory);
    const QString texto = QStringLiteral(
        "Set cli = xFactory.create(\"newcCliente\")\n"
        "If cli.isLoad Then Err.Raise 5\n"
        "If cli.Search(\"NOEXISTE\") Then Err.Raise 6\n"
        "If Not cli.Search(\" C1 \") Then Err.Raise 7\n"
        "If cli.Clave <> \"C1\" Or cli.Nombre <> \"CLINICA SAN RAFAEL\" Then Err.Raise 8\n"
        "If cli.Descuento <> 5 Or cli.Credito <> 1000.5 Or cli.Periodo <> 30 Then Err.Raise 9\n"
        "If cli.TipoCliente <> \"CREDITO5\" Or cli.TipoPeriodo <> \"DIA\" Then Err.Raise 10\n"
        "If cli.RFC <> \"CFE370814QI0\" Or cli.RegimenFiscal <> \"601\" Or cli.UsoCFDI <> \"G03\" Then Err.Raise 11\n"
        "If cli.Campo(\"cli_calle\") <> \"Av. Patria\" Or cli.Campo(\"USU_CLAVEVENDEDOR\") <> \"VEND1\" Then Err.Raise 12\n"
        "If Not IsEmpty(cli.Campo(\"art_Clave\")) Then Err.Raise 13\n"
        "If cli.Search(\"OTRO\") Or cli.isLoad Then Err.Raise 14\n");
    QVERIFY2(code.executeText(QStringLiteral("prueba"), texto), qPrintable(code.lastError()));
    QVERIFY(p.prompter().texts().isEmpty());
}

QTEST_GUILESS_MAIN(tst_cCliente)
#include "tst_ccliente.moc"
