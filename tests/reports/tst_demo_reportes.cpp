// The demo store's reports on both engines: every design has its program, active and equal to
// what its design writes now; the menu and the rights of the demo profiles; the query of every
// report runs with the values its inputs give, with the figures checked on sales, cuts and
// receivables written for the purpose (a one-day range takes 23:30 and leaves the next midnight);
// and every program runs in the report control to its last page without an error, its totals
// printed under their columns.
#include "ReportePrueba.h"

#include "CatalogoReportes.h"
#include "DemoData.h"
#include "DemoDataReportes.h"
#include "EstacionPrueba.h"
#include "ProgramaReporte.h"
#include "ReportFactory.h"
#include "TestDatabase.h"
#include "cObjectFactory.h"
#include "cString.h"
#include "easyReport.h"

#include "Engine.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace {

// The report's query with its [NAME] references bound as the report control binds them.
db::Recordset abre(db::Connection &c, const QString &sql, const QList<ValorParametro> &valores)
{
    easyReport reporte(ReportServices{});
    for (const ValorParametro &v : valores)
        reporte.setParam(v.clave, v.valor, v.valorExtra, v.tipoDato);
    reporte.setProperty("SQL", sql);
    QString texto;
    QList<QVariant> enlazados;
    QString falta;
    if (!reporte.resolveSql(texto, enlazados, &falta))
        throw std::runtime_error(QString(QStringLiteral("Parametro no encontrado ") + falta).toStdString());
    return c.openRecordset(texto, enlazados);
}

// A day of sales at the counter: one cut with three sales on 5 March (one cancelled, one at
// 23:30), one sale just after midnight, their lines and payments, and a cash withdrawal.
void ventasDePrueba(db::Connection &c)
{
    c.execute(QStringLiteral(
                  "insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                  "ecorte_Clave, usu_Clave) values ('MATRIZ', 'TERMINAL1', 2026, 7, ?, 'ABIERTO', 'CAJERO')"),
              {QDateTime(QDate(2026, 3, 5), QTime(8, 0))});
    db::Recordset a = c.openRecordset(QStringLiteral("select art_Clave, art_Nombre from tArticulo where "
                                                     "tart_Clave is not null and eart_Clave <> 'SUSPENDIDO' "
                                                     "order by art_Clave"));
    const QString art1 = a.text(QStringLiteral("art_Clave"));
    const QString nom1 = a.text(QStringLiteral("art_Nombre"));
    a.moveNext();
    const QString art2 = a.text(QStringLiteral("art_Clave"));
    const QString nom2 = a.text(QStringLiteral("art_Nombre"));
    struct Venta {
        int numero;
        QDateTime fecha;
        const char *estado;
        const char *total;
        const char *pago;
    };
    const QList<Venta> ventas = {
        {1, QDateTime(QDate(2026, 3, 5), QTime(10, 15)), "REGISTRADA", "150.00", "EFECTIVO"},
        {2, QDateTime(QDate(2026, 3, 5), QTime(23, 30)), "REGISTRADA", "99.50", "TARJETA"},
        {3, QDateTime(QDate(2026, 3, 5), QTime(12, 0)), "CANCELADA", "1000.00", "EFECTIVO"},
        {4, QDateTime(QDate(2026, 3, 6), QTime(0, 0, 30)), "REGISTRADA", "40.00", "EFECTIVO"},
    };
    for (const Venta &v : ventas) {
        c.execute(QStringLiteral(
                      "insert into tVenta (term_Clave, corte_Anio, corte_Numero, venta_Numero, venta_Folio, "
                      "venta_importe, venta_Total, venta_IVA, venta_Cantidad, usu_Clave, venta_Fecha, "
                      "cli_Clave, eventa_Clave, alm_Clave, usu_ClaveReg) values ('TERMINAL1', 2026, 7, ?, "
                      "?, ?, ?, 0, 2, 'CAJERO', ?, 'SYS', ?, 'MATRIZ', 'CAJERO')"),
                  {v.numero, 9000 + v.numero, QLatin1String(v.total), QLatin1String(v.total), v.fecha,
                   QLatin1String(v.estado)});
        int linea = 0;
        for (const auto &[art, nom] : {std::pair{art1, nom1}, std::pair{art2, nom2}}) {
            ++linea;
            c.execute(QStringLiteral(
                          "insert into tVentaDetalle (term_Clave, corte_Anio, corte_Numero, venta_Numero, "
                          "vdet_Numero, art_Clave, venta_Folio, art_Nombre, vdet_Cantidad, vdet_Importe, "
                          "vdet_SubTotal, vdet_Total, alm_Clave, eventa_Clave, vdet_anio, vdet_mes, "
                          "vdet_dia, vdet_Fecha) values ('TERMINAL1', 2026, 7, ?, ?, ?, ?, ?, 1, ?, ?, ?, "
                          "'MATRIZ', ?, 2026, ?, ?, ?)"),
                      {v.numero, linea, art, 9000 + v.numero, nom, QLatin1String(v.total),
                       QLatin1String(v.total), QLatin1String(v.total), QLatin1String(v.estado),
                       v.fecha.date().month(), v.fecha.date().day(), v.fecha});
        }
        c.execute(QStringLiteral(
                      "insert into tVentaPago (alm_Clave, vpago_Anio, vpago_Clave, term_Clave, corte_Anio, "
                      "corte_Numero, venta_Numero, venta_Folio, tpago_Clave, vpago_Importe, evpago_Clave, "
                      "cli_Clave) values ('MATRIZ', 2026, ?, 'TERMINAL1', 2026, 7, ?, ?, ?, ?, "
                      "'REGISTRADO', 'SYS')"),
                  {v.numero, v.numero, 9000 + v.numero, QLatin1String(v.pago), QLatin1String(v.total)});
    }
    c.execute(QStringLiteral("insert into tConcepto (concepto_Clave, concepto_Nombre, concepto_Signo) values "
                             "('RETIRO-PRUEBA', 'Retiro a banco', '-')"));
    c.execute(QStringLiteral(
                  "insert into tMovCaja (alm_Clave, term_Clave, corte_Anio, corte_Numero, movc_Clave, "
                  "concepto_Clave, concepto_Nombre, movc_Importe, movc_Fecha, usu_Clave) values ('MATRIZ', "
                  "'TERMINAL1', 2026, 7, 1, 'RETIRO-PRUEBA', 'Retiro a banco', 100, ?, 'CAJERO')"),
              {QDateTime(QDate(2026, 3, 5), QTime(18, 0))});
}

// Every row as "col=value" of the named columns.
QStringList filasDe(db::Recordset rs, const QStringList &columnas)
{
    QStringList out;
    for (; !rs.eof(); rs.moveNext()) {
        QStringList campos;
        for (const QString &col : columnas) {
            const QVariant v = rs.value(col);
            campos << (v.metaType() == QMetaType::fromType<Decimal>() ? Decimal::fromVariant(v).toString()
                       : v.typeId() == QMetaType::Double ? Decimal::fromDouble(v.toDouble()).toString()
                                                         : v.toString());
        }
        out << campos.join(u'|');
    }
    return out;
}

} // namespace

class tst_DemoReportes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void programas_data() { TestDatabase::addEngineRows(); }
    void programas();
    void menuYDerechos_data() { TestDatabase::addEngineRows(); }
    void menuYDerechos();
    void consultas_data() { TestDatabase::addEngineRows(); }
    void consultas();
    void corridas_data() { TestDatabase::addEngineRows(); }
    void corridas();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
    // The demo store with its report programs, as "db init --demo" leaves it.
    void demo(db::Connection &c)
    {
        db::DemoData::populate(c);
        ScriptedPrompter prompter;
        ProgramaReporte programa(prompter);
        const std::optional<int> escritos = programa.guardaFaltantes(c);
        QVERIFY2(escritos, qPrintable(prompter.texts().join(u'\n')));
    }
};

void tst_DemoReportes::programas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    db::DemoData::populate(c);
    ScriptedPrompter prompter;
    ProgramaReporte programa(prompter);
    QCOMPARE(programa.guardaFaltantes(c), std::optional<int>(6));
    // A second fill adds nothing and writes no program again.
    db::DemoData::populate(c);
    QCOMPARE(programa.guardaFaltantes(c), std::optional<int>(0));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tReporte")).toInt(), 6);

    QCOMPARE(db::demoReportes(),
             (QStringList{"VENTASDIA", "VENTASDEPTO", "EXISTENCIAS", "LISTAPRECIOS", "CARTERA", "CORTEDIA"}));
    for (const QString &clave : db::demoReportes()) {
        db::Recordset r = c.openRecordset(
            QStringLiteral(
                "select k.codigo_Text, k.codigo_Activo from tReporte r join tCodigo k on k.codigo_Clave = "
                "r.codigo_Clave where r.rep_Clave = ?"),
            {clave});
        QVERIFY2(!r.eof(), qPrintable(clave));
        QCOMPARE(r.text(QStringLiteral("codigo_Activo")), QStringLiteral("S"));
        const std::optional<QString> ahora = programa.generaPrograma(c, clave);
        QVERIFY2(ahora, qPrintable(clave));
        QCOMPARE(r.text(QStringLiteral("codigo_Text")), *ahora);
        // Page header with title, run date and page; groups wired to their keys and summaries.
        QVERIFY(
            ahora->contains(QLatin1String("xRpt.setPrinter xConfig.getValue(\"IMPRESORA-DE-REPORTES\")\n")));
        QVERIFY(ahora->contains(QLatin1String(".Formula = \"[xRpt.PrintDateTime]\"")));
        QVERIFY(ahora->contains(QLatin1String("[xRpt.CurrentPage]")));
        QVERIFY(ahora->contains(QLatin1String("xRpt.addFooterObject(")));
        QVERIFY(ahora->contains(QLatin1String("xRpt.addReportFooterObject(")));
        QVERIFY(ahora->contains(QLatin1String(".addField xRpt.getObject(")));
        QVERIFY(ahora->contains(QLatin1String(".addSumary xRpt.getObject(")));
    }
    QVERIFY(prompter.texts().isEmpty());
}

void tst_DemoReportes::menuYDerechos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    demo(c);
    EstacionPrueba estacion(&c, ini());
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);

    estacion.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("ADMINISTRADOR"));
    QCOMPARE(catalogo.lista().size(), 6);
    for (const QString &clave : db::demoReportes())
        QVERIFY2(catalogo.cargaReporte(clave), qPrintable(clave));
    QList<Permisos::ReportEntry> menu = estacion.permisos.buildReportsMenu();
    QStringList textos;
    for (const Permisos::ReportEntry &e : menu)
        textos << e.caption;
    QCOMPARE(textos,
             (QStringList{"-", "Cobranza", "    Antigüedad de saldos por cliente", "-", "Inventario",
                          "    Valuación de inventario por almacén", "    Lista de precios con ofertas", "-",
                          "Ventas", "    Corte de caja del día", "    Ventas por departamento y categoría",
                          "    Ventas por día y terminal"}));
    // Each report entry's module is the right that runs it.
    for (const Permisos::ReportEntry &e : menu)
        if (e.kind == Permisos::ReportEntry::Report)
            QVERIFY2(db::demoReportes().contains(CatalogoReportes::claveDeMenu(e.key)), qPrintable(e.key));

    estacion.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("CAJERO"));
    const QList<CatalogoReportes::Entrada> delCajero = catalogo.lista();
    QCOMPARE(delCajero.size(), 1);
    QCOMPARE(delCajero.first().clave, QStringLiteral("CORTEDIA"));
    textos.clear();
    for (const Permisos::ReportEntry &e : estacion.permisos.buildReportsMenu())
        textos << e.caption;
    QCOMPARE(textos, (QStringList{"-", "Ventas", "    Corte de caja del día"}));
    QVERIFY(!catalogo.cargaReporte(QStringLiteral("CARTERA")));
    QCOMPARE(estacion.prompter.texts(), QStringList{QStringLiteral("El reporte no fue encontrado")});
}

void tst_DemoReportes::consultas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    demo(c);
    ventasDePrueba(c);
    EstacionPrueba estacion(&c, ini());
    estacion.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("ADMINISTRADOR"));
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);
    ParametrosReporte &parametros = catalogo.parametros();
    const QDate dia(2026, 3, 5);

    QHash<QString, db::Recordset> resultados;
    for (const QString &clave : db::demoReportes()) {
        QVERIFY2(catalogo.cargaReporte(clave), qPrintable(clave));
        const CatalogoReportes::Reporte r = *catalogo.reporte();
        QList<ParametrosReporte::Captura> capturas;
        for (const ParametrosReporte::Definicion &d : r.parametros) {
            ParametrosReporte::Captura k = ParametrosReporte::valorInicial(d, dia);
            if (d.entrada() == ParametrosReporte::Entrada::Lista) {
                // The stored default must be one of the list's entries.
                const auto opciones = parametros.cargaLista(d);
                QVERIFY2(opciones, qPrintable(clave + u' ' + d.nombre));
                bool esta = false;
                for (const auto &o : *opciones)
                    esta = esta || o.clave == k.texto;
                QVERIFY2(esta, qPrintable(clave + u' ' + d.nombre + u' ' + k.texto));
            }
            capturas << k;
        }
        const std::optional<QList<ValorParametro>> valores = catalogo.aceptar(capturas);
        QVERIFY2(valores, qPrintable(clave + u' ' + estacion.prompter.texts().join(u' ')));
        const QString sql =
            c.scalar(QStringLiteral("select rep_SQL from tReporte where rep_Clave = ?"), {clave}).toString();
        try {
            resultados.insert(clave, abre(c, sql, *valores));
        } catch (const std::exception &e) {
            QFAIL(qPrintable(clave + QStringLiteral(": ") + QString::fromUtf8(e.what())));
        }
    }
    QVERIFY(estacion.prompter.texts().isEmpty());

    // The day's two sales (23:30 included, the cancelled one and the next midnight left out).
    QCOMPARE(filasDe(resultados.value(QStringLiteral("VENTASDIA")),
                     {"DiaOrden", "Dia", "Terminal", "NombreTerminal", "Ventas", "Total"}),
             QStringList{"20260305|05/03/2026|TERMINAL1|Caja 1|2|249.5"});
    // Each of the two articles sold twice that day, under its department and category.
    QCOMPARE(filasDe(resultados.value(QStringLiteral("VENTASDEPTO")), {"Cantidad", "Importe"}),
             (QStringList{"2|249.5", "2|249.5"}));
    QCOMPARE(filasDe(resultados.value(QStringLiteral("CORTEDIA")),
                     {"Terminal", "CorteAnio", "CorteNumero", "Tipo", "Concepto", "Documentos", "Importe"}),
             (QStringList{"TERMINAL1|2026|7|Ventas|Efectivo|1|150",
                          "TERMINAL1|2026|7|Ventas|Tarjeta de credito o debito|1|99.5",
                          "TERMINAL1|2026|7|Caja|Retiro a banco|1|-100"}));

    // Receivables by age since registration: 40 days, 25 days (partly paid) and 12 days.
    QCOMPARE(filasDe(resultados.value(QStringLiteral("CARTERA")),
                     {"Cliente", "Dias", "Saldo", "Dias0a30", "Dias31a60", "Dias61a90", "DiasMas90"}),
             (QStringList{"C0003|40|1250|0|1250|0|0", "C0003|25|560.5|560.5|0|0|0",
                          "C0005|12|315.75|315.75|0|0|0"}));

    // Stock valued at cost, and the price list with the offers in force today.
    db::Recordset existencias = resultados.value(QStringLiteral("EXISTENCIAS"));
    QVERIFY(existencias.recordCount() > 100);
    QCOMPARE(existencias.fieldCount(), 7);
    db::Recordset precios = resultados.value(QStringLiteral("LISTAPRECIOS"));
    const int articulos =
        c.scalar(QStringLiteral("select count(*) from tArticulo where eart_Clave <> 'SUSPENDIDO'")).toInt();
    QCOMPARE(precios.recordCount(), articulos);
    int enOferta = 0;
    for (; !precios.eof(); precios.moveNext())
        enOferta += precios.integer(QStringLiteral("EnOferta"));
    QVERIFY(enOferta > 0);
}

void tst_DemoReportes::corridas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    demo(c);
    ventasDePrueba(c);
    EstacionPrueba estacion(&c, ini());
    CatalogoReportes catalogo(estacion.provider, estacion.config, estacion.prompter);
    cObjectFactory factory;
    registraObjetosReporte(factory);
    cString cadenas;
    const QDate dia(2026, 3, 5);

    // What each report prints after the label of its report footer (the totals, column by column).
    const auto pesos = [&](const QString &sql) {
        return Decimal::fromVariant(c.scalar(sql)).format(QStringLiteral("#,##0.00"));
    };
    const auto cuenta = [&](const QString &sql) { return c.scalar(sql).toString(); };
    const QHash<QString, QStringList> totales = {
        {QStringLiteral("VENTASDIA"), {"Total del periodo", "2", "4.00", "0.00", "0.00", "249.50"}},
        {QStringLiteral("VENTASDEPTO"), {"Total del periodo", "4.00", "499.00"}},
        {QStringLiteral("CORTEDIA"), {"Total del día", "149.50"}},
        {QStringLiteral("CARTERA"),
         {"Total de la cartera", "2,126.25", "876.25", "1,250.00", "0.00", "0.00"}},
        {QStringLiteral("EXISTENCIAS"),
         {"Valor del inventario",
          pesos(QStringLiteral(
              "select sum(e.alma_Existencia * a.art_Costo) from tArticuloAlmacen e join tArticulo "
              "a on a.art_Clave = e.art_Clave"))}},
        {QStringLiteral("LISTAPRECIOS"),
         {"Artículos y ofertas",
          cuenta(QStringLiteral("select count(*) from tArticulo where eart_Clave <> 'SUSPENDIDO'")),
          cuenta(QStringLiteral(
              "select count(distinct x.art_Clave) from tArticuloPrecio x join tArticulo a on "
              "a.art_Clave = x.art_Clave where a.eart_Clave <> 'SUSPENDIDO' and x.tprecio_Clave = "
              "'OFERTA' and getdate() between x.PRECIO_FECINI and x.PRECIO_FECFIN"))}},
    };

    for (const QString &clave : db::demoReportes()) {
        QVERIFY(catalogo.cargaReporte(clave, CatalogoReportes::Derechos::Todos));
        QList<ParametrosReporte::Captura> capturas;
        for (const ParametrosReporte::Definicion &d : catalogo.reporte()->parametros)
            capturas << ParametrosReporte::valorInicial(d, dia);
        const std::optional<QList<ValorParametro>> valores = catalogo.aceptar(capturas);
        QVERIFY(valores);

        ReportServices servicios;
        servicios.connections = &estacion.provider;
        servicios.config = &estacion.config;
        servicios.strings = &cadenas;
        servicios.prompter = &estacion.prompter;
        servicios.hostObjects = [&](vbs::Engine &e) {
            e.addObject(QStringLiteral("xFactory"), factory.scriptHost());
            e.addObject(QStringLiteral("xConfig"), &estacion.config);
        };
        servicios.clock = [] { return QDateTime(QDate(2026, 3, 5), QTime(21, 45)); };
        easyReport reporte(servicios);
        for (const ValorParametro &v : *valores)
            reporte.setParam(v.clave, v.valor, v.valorExtra, v.tipoDato);
        QString error;
        QVERIFY2(reporte.configureScript(catalogo.reporte()->programa, &error),
                 qPrintable(clave + u' ' + error));
        QVERIFY2(reporte.printReport(), qPrintable(clave));
        reporte.composeUntil(1000);
        QVERIFY2(reporte.finished(), qPrintable(clave));
        QVERIFY2(reporte.errors().isEmpty(), qPrintable(clave + u' ' + reporte.errors().join(u'\n')));

        QStringList textos;
        for (const ReportLogRecord &r : reporte.pageLog(reporte.pageCount()))
            if (r.operation == u"DrawText")
                textos << r.arguments.value(4);
        const QStringList esperados = totales.value(clave);
        const qsizetype i = textos.indexOf(esperados.first());
        QVERIFY2(i >= 0, qPrintable(clave + QStringLiteral(": ") + textos.join(u'|')));
        QCOMPARE(textos.mid(i, esperados.size()), esperados);
        // The first page's header: title, the run's date and the page.
        QStringList primera;
        for (const ReportLogRecord &r : reporte.pageLog(1))
            if (r.operation == u"DrawText")
                primera << r.arguments.value(4);
        QVERIFY(primera.contains(catalogo.reporte()->nombre));
        QVERIFY2(primera.contains(QStringLiteral("05/03/2026 21:45")), qPrintable(primera.join(u'|')));
        // Every page's header shows its own number (the stock and the price list take several pages).
        if (clave == QLatin1String("EXISTENCIAS") || clave == QLatin1String("LISTAPRECIOS"))
            QVERIFY2(reporte.pageCount() > 1, qPrintable(clave));
        for (int pagina = 1; pagina <= reporte.pageCount(); ++pagina) {
            QStringList textosPagina;
            for (const ReportLogRecord &r : reporte.pageLog(pagina))
                if (r.operation == u"DrawText")
                    textosPagina << r.arguments.value(4);
            QVERIFY2(textosPagina.contains(QStringLiteral("Página %1").arg(pagina)),
                     qPrintable(clave + QStringLiteral(" página %1").arg(pagina)));
        }
    }
    QVERIFY(estacion.prompter.texts().isEmpty());
}

QTEST_GUILESS_MAIN(tst_DemoReportes)
#include "tst_demo_reportes.moc"
