#include "migrations/Migrations.h"

#include "TestDatabase.h"

#include <QTest>

namespace {

QStringList perfilesCon(db::Connection &c, const QString &modulo)
{
    QStringList out;
    for (auto rs = c.openRecordset(QStringLiteral("select perf_Clave from tSeguridad where mod_Clave = ? order by perf_Clave"),
                                   {modulo});
         !rs.eof(); rs.moveNext())
        out << rs.value(0).toString();
    return out;
}

} // namespace

class tst_Derechos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void agregaYOtorga_data() { TestDatabase::addEngineRows(); }
    void agregaYOtorga();
    void derechosDeLaVenta_data() { TestDatabase::addEngineRows(); }
    void derechosDeLaVenta();
};

void tst_Derechos::agregaYOtorga()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    c.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('SUPER', 'Supervisor'), "
                             "('CAJA', 'Cajero')"));
    c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('SUPER', 'frmVenta_SobreGiro'), "
                             "('SUPER', 'mnuVentas_Ventas'), ('CAJA', 'mnuVentas_Ventas')"));
    const QList<db::migrations::Derecho> nuevos{{QStringLiteral("frmVenta_Prueba1"), QStringLiteral("Uno")},
                                                {QStringLiteral("frmVenta_Prueba2"), QStringLiteral("Dos")}};
    const int antes = c.scalar(QStringLiteral("select max(mod_Secuencia) from tModulo where mod_ClaveSup = "
                                              "'mnuVentas_Ventas'"))
                          .toInt();
    db::migrations::agregaDerechos(c, QStringLiteral("mnuVentas_Ventas"), nuevos, QStringLiteral("frmVenta_SobreGiro"));
    // Placed after the entry's last command, in its branch of the tree; only the supervisors get them.
    for (int i = 0; i < nuevos.size(); ++i) {
        auto rs = c.openRecordset(QStringLiteral("select mod_ClaveSup, tmod_Clave, mod_Secuencia, mod_Arbol, mod_Nombre "
                                                 "from tModulo where mod_Clave = ?"),
                                  {nuevos.at(i).clave});
        QVERIFY(!rs.eof());
        QCOMPARE(rs.value(0).toString(), QStringLiteral("mnuVentas_Ventas"));
        QCOMPARE(rs.value(1).toString(), QStringLiteral("COMANDO"));
        QCOMPARE(rs.value(2).toInt(), antes + 1 + i);
        QVERIFY(rs.value(3).toString().endsWith(QStringLiteral(".mnuVentas_Ventas.") + nuevos.at(i).clave));
        QCOMPARE(rs.value(4).toString(), nuevos.at(i).nombre);
        QCOMPARE(perfilesCon(c, nuevos.at(i).clave), QStringList{QStringLiteral("SUPER")});
    }
    // Running again adds nothing and grants nothing twice.
    db::migrations::agregaDerechos(c, QStringLiteral("mnuVentas_Ventas"), nuevos, QStringLiteral("frmVenta_SobreGiro"));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tModulo where mod_Clave like 'frmVenta_Prueba%'")).toInt(), 2);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tSeguridad where mod_Clave like 'frmVenta_Prueba%'")).toInt(), 2);
    // An entry the tree does not have gets nothing.
    db::migrations::agregaDerechos(c, QStringLiteral("mnuNoExiste"), {{QStringLiteral("x_y"), QStringLiteral("x")}},
                                   QStringLiteral("mnuNoExiste"));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tModulo where mod_Clave = 'x_y'")).toInt(), 0);
}

void tst_Derechos::derechosDeLaVenta()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    const QStringList esperados{"frmVenta_ActualizaCatalogo",  "frmVenta_AltaRapida",
                                "frmVenta_CambioDesc",         "frmVenta_CambioIVA",
                                "frmVenta_CambioPrecio",       "frmVenta_CambioTipoCliente",
                                "frmVenta_ConfiguracionTiempoAire", "frmVenta_DescuentoIlimitado",
                                "frmVenta_ModVentaPendiente",  "frmVenta_ReversoTiempoAire",
                                "frmVenta_SobreGiro",          "frmVenta_VentaAbajoCosto",
                                "frmVenta_VentaSinExistencia"};
    QStringList hay;
    for (auto rs = c.openRecordset(QStringLiteral("select mod_Clave from tModulo where mod_ClaveSup = 'mnuVentas_Ventas' "
                                                  "and mod_Clave like 'frmVenta%' order by mod_Clave"));
         !rs.eof(); rs.moveNext())
        hay << rs.value(0).toString();
    QCOMPARE(hay, esperados);
}

QTEST_GUILESS_MAIN(tst_Derechos)
#include "tst_derechos.moc"
