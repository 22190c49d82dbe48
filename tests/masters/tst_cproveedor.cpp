// Event scripts reading a supplier: by key through the object factory, its data, any column, the
// departments it serves and its exchange layouts.
#include "PuestoProveedores.h"
#include "TestDatabase.h"
#include "cProveedor.h"

#include "cCode.h"
#include "cObjectFactory.h"

#include <QTest>

class tst_cProveedor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void script_data() { TestDatabase::addEngineRows(); }
    void script();
};

void tst_cProveedor::script()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    PuestoProveedores::inserta(c, QStringLiteral("P1"), {QStringLiteral("MED")}, {{"PEDIDO", "PED-FANASA"}});
    c.execute(QStringLiteral("update tProveedor set prov_Nombre = 'FARMACOS NACIONALES SA DE CV', prov_RFC = "
                             "'FNA600101QH6', prov_Periodo = 30, per_Clave = 'DIA', prov_LimCredito = 250000.5, "
                             "prov_Saldo = 1200.25, prov_EDI = 'S', prov_Preferencia = 2, prov_DiasResurtidoMax = 4, "
                             "prov_Cuenta = '0112233445', banco_Clave = 'BBVA' where prov_Clave = 'P1'"));
    cObjectFactory factory;
    registraScriptsProveedores(factory, p.estacion.provider);
    QVERIFY(factory.hasClass(QStringLiteral("newcProveedor")));
    cCode code(p.estacion.provider, p.estacion.config, p.prompter());
    code.addObject(QStringLiteral("xFactory"), &factory);
    const QString texto = QStringLiteral(
        "Set prov = xFactory.create(\"newcProveedor\")\n"
        "If prov.isLoad Then Err.Raise 5\n"
        "If prov.SurteDepartamento(\"MED\") Or prov.Layout(\"PEDIDO\") <> \"\" Then Err.Raise 6\n"
        "If prov.Search(\"NOEXISTE\") Then Err.Raise 7\n"
        "If Not prov.Search(\" P1 \") Then Err.Raise 8\n"
        "If prov.Clave <> \"P1\" Or prov.Nombre <> \"FARMACOS NACIONALES SA DE CV\" Then Err.Raise 9\n"
        "If prov.RFC <> \"FNA600101QH6\" Or prov.FormaPago <> \"CREDITO\" Or prov.Descuento <> 4 Then Err.Raise 10\n"
        "If prov.Periodo <> 30 Or prov.TipoPeriodo <> \"DIA\" Or prov.LimiteCredito <> 250000.5 Then Err.Raise 11\n"
        "If prov.Saldo <> 1200.25 Or Not prov.EDI Or prov.Preferencia <> 2 Then Err.Raise 12\n"
        "If prov.DiasResurtidoMax <> 4 Then Err.Raise 13\n"
        "If prov.Campo(\"prov_cuenta\") <> \"0112233445\" Or prov.Campo(\"BANCO_CLAVE\") <> \"BBVA\" Then Err.Raise 14\n"
        "If Not IsEmpty(prov.Campo(\"cli_Clave\")) Then Err.Raise 15\n"
        "If Not prov.SurteDepartamento(\"MED\") Or prov.SurteDepartamento(\"PERF\") Then Err.Raise 16\n"
        "If prov.Layout(\"PEDIDO\") <> \"PED-FANASA\" Or prov.Layout(\"LISTA\") <> \"\" Then Err.Raise 17\n"
        "If prov.Search(\"OTRO\") Or prov.isLoad Then Err.Raise 18\n");
    QVERIFY2(code.executeText(QStringLiteral("prueba"), texto), qPrintable(code.lastError()));
    QVERIFY(p.prompter().texts().isEmpty());
}

QTEST_GUILESS_MAIN(tst_cProveedor)
#include "tst_cproveedor.moc"
