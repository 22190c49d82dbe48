// The program written from a stored design: the whole text against a reference file for a design
// with every class and section, the script strings of texts with quotes and line breaks, property
// values as the script takes them, and designs that cannot make a program (nothing is stored).
#include "ReportePrueba.h"

#include "ProgramaReporte.h"
#include "ScriptedPrompter.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace reportes;

namespace {

// A design holding every class in every section, a group with its key and its summary, a report
// total whose stored formula wins over the designer's list, an object no section prints, and a
// query with quotes and line breaks of both kinds.
void disenoCompleto(db::Connection &c, const QString &codigo = QString())
{
    reporte(c, QStringLiteral("COMPLETO"), QStringLiteral("Cobranza por cliente"),
            QStringLiteral("select cli_Clave as Cliente, cob_Importe as Importe\r\nfrom tCobranza\n"
                           "where cob_Referencia <> \"x\""),
            codigo);
    c.execute(
        QStringLiteral("update tReporte set rep_Impresora = 'impresora-de-facturas', rep_Orientacion = 2, "
                       "rep_Encabezado = 25.5, rep_Pie = 10 where rep_Clave = 'COMPLETO'"));
    const QString rep = QStringLiteral("COMPLETO");
    objeto(c, rep, 1, QStringLiteral("TITULO"), QStringLiteral("HEADER"), QStringLiteral("cPrintText"),
           {{QStringLiteral("Top"), QStringLiteral("2")},
            {QStringLiteral("Left"), QStringLiteral("5")},
            {QStringLiteral("Width"), QStringLiteral("120")},
            {QStringLiteral("Height"), QStringLiteral("7.50")},
            {QStringLiteral("Value"), QStringLiteral("Cobranza \"al\" día")},
            {QStringLiteral("fontbold"), QStringLiteral("si")},
            {QStringLiteral("FontSize"), QStringLiteral("14.0")},
            {QStringLiteral("Align"), QStringLiteral("1")}});
    objeto(c, rep, 2, QStringLiteral("FECHA"), QStringLiteral("HEADER"), QStringLiteral("cPrintFormula"),
           {{QStringLiteral("Top"), QStringLiteral("2")},
            {QStringLiteral("Left"), QStringLiteral("150")},
            {QStringLiteral("Width"), QStringLiteral("48")},
            {QStringLiteral("Height"), QStringLiteral("4")},
            {QStringLiteral("Formula"), QStringLiteral("[xRpt.PrintDateTime]")},
            {QStringLiteral("FormatField"), QStringLiteral("dd/mm/yyyy")},
            {QStringLiteral("ReCalc"), QStringLiteral("0")}},
           QStringLiteral("F"));
    objeto(c, rep, 3, QStringLiteral("LOGO"), QStringLiteral("header"), QStringLiteral("cPrintImage"),
           {{QStringLiteral("Top"), QStringLiteral("1")},
            {QStringLiteral("Left"), QStringLiteral("180")},
            {QStringLiteral("Width"), QStringLiteral("20")},
            {QStringLiteral("Height"), QStringLiteral("10")},
            {QStringLiteral("Value"), QStringLiteral("3")},
            {QStringLiteral("Box"), QStringLiteral("TRUE")}});
    objeto(c, rep, 4, QStringLiteral("RAYA"), QStringLiteral("HEADER"), QStringLiteral("cPrintLine"),
           {{QStringLiteral("Left"), QStringLiteral("5")},
            {QStringLiteral("Top"), QStringLiteral("20")},
            {QStringLiteral("Width"), QStringLiteral("198")},
            {QStringLiteral("Height"), QStringLiteral("20")},
            {QStringLiteral("DrawWidth"), QStringLiteral("2")},
            {QStringLiteral("ForeColor"), QStringLiteral("255")}});
    objeto(c, rep, 5, QStringLiteral("GPO"), QStringLiteral("GROUP"), QStringLiteral("cPrintGroup"),
           {{QStringLiteral("Top"), QStringLiteral("1")},
            {QStringLiteral("Left"), QStringLiteral("5")},
            {QStringLiteral("Width"), QStringLiteral("80")},
            {QStringLiteral("Height"), QStringLiteral("5")},
            {QStringLiteral("FontBold"), QStringLiteral("Verdadero")}});
    objeto(c, rep, 6, QStringLiteral("Cliente"), QStringLiteral("DETAIL"), QStringLiteral("cPrintField"),
           {{QStringLiteral("Top"), QStringLiteral("0")},
            {QStringLiteral("Left"), QStringLiteral("5")},
            {QStringLiteral("Width"), QStringLiteral("30")},
            {QStringLiteral("Height"), QStringLiteral("4")}});
    objeto(c, rep, 7, QStringLiteral("Importe"), QStringLiteral("DETAIL"), QStringLiteral("cPrintField"),
           {{QStringLiteral("Top"), QStringLiteral("0")},
            {QStringLiteral("Left"), QStringLiteral("150")},
            {QStringLiteral("Width"), QStringLiteral("48")},
            {QStringLiteral("Height"), QStringLiteral("4")},
            {QStringLiteral("Align"), QStringLiteral("2")},
            {QStringLiteral("FormatField"), QStringLiteral("#,##0.00")},
            {QStringLiteral("DataType"), QStringLiteral("N")}},
           QStringLiteral("N"));
    objeto(c, rep, 8, QStringLiteral("SUMA"), QStringLiteral("SUMARY"), QStringLiteral("cPrintSumary"),
           {{QStringLiteral("Top"), QStringLiteral("1")},
            {QStringLiteral("Left"), QStringLiteral("150")},
            {QStringLiteral("Width"), QStringLiteral("48")},
            {QStringLiteral("Height"), QStringLiteral("4")},
            {QStringLiteral("FormatField"), QStringLiteral("#,##0.00")},
            {QStringLiteral("DataType"), QStringLiteral("N")}},
           QStringLiteral("N"));
    objeto(c, rep, 9, QStringLiteral("PIE"), QStringLiteral("BOTTOM"), QStringLiteral("cPrintText"),
           {{QStringLiteral("Top"), QStringLiteral("1")},
            {QStringLiteral("Left"), QStringLiteral("5")},
            {QStringLiteral("Width"), QStringLiteral("100")},
            {QStringLiteral("Height"), QStringLiteral("8")},
            {QStringLiteral("Value"), QStringLiteral("Línea uno\nLínea dos")}});
    objeto(c, rep, 10, QStringLiteral("TOTAL"), QStringLiteral("TOTAL"), QStringLiteral("cPrintSumary"),
           {{QStringLiteral("Top"), QStringLiteral("2")},
            {QStringLiteral("Left"), QStringLiteral("150")},
            {QStringLiteral("Width"), QStringLiteral("48")},
            {QStringLiteral("Height"), QStringLiteral("4")},
            {QStringLiteral("Formula"), QStringLiteral("[TOTAL] + [Importe]")},
            {QStringLiteral("Visible"), QStringLiteral("n")}},
           QStringLiteral("N"));
    objeto(c, rep, 11, QStringLiteral("DOBLE"), QString(), QStringLiteral("cPrintFormula"),
           {{QStringLiteral("Formula"), QStringLiteral("[Importe] * 2")},
            {QStringLiteral("DataType"), QStringLiteral("N")}},
           QStringLiteral("N"));
    c.execute(QStringLiteral("insert into TREPORTEGRUPO (rep_Clave, rgrupo_Nombre, rgrupo_Campos) values "
                             "('COMPLETO', 'GPO', ' Cliente ')"));
    c.execute(
        QStringLiteral("insert into tReporteSumario (rep_Clave, rsum_Nombre, rsum_Formula, rgrupo_Nombre) "
                       "values ('COMPLETO', 'SUMA', '[SUMA] + [Importe]', 'GPO')"));
    c.execute(QStringLiteral("insert into tReporteTotales (rep_Clave, rtotal_Nombre, rtotal_Formula) values "
                             "('COMPLETO', 'TOTAL', '[TOTAL] + 1')"));
}

QByteArray leeArchivo(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Compares with tests/data/reports/<nombre>; with MDR_REGENERA_REPORTES set the file is written
// instead, to be read and committed on purpose.
bool comparaGolden(const QString &nombre, const QString &texto)
{
    const QString dir = qEnvironmentVariable("MDR_TEST_DATA") + QStringLiteral("/reports/");
    if (qEnvironmentVariableIsSet("MDR_REGENERA_REPORTES")) {
        QDir().mkpath(dir);
        QFile f(dir + nombre);
        return f.open(QIODevice::WriteOnly) && f.write(texto.toUtf8()) >= 0;
    }
    const QString esperado = QString::fromUtf8(leeArchivo(dir + nombre));
    return QTest::qCompare(texto, esperado, "programa", "golden", __FILE__, __LINE__);
}

QString textoDe(db::Connection &c, const QString &codigo)
{
    return c.scalar(QStringLiteral("select codigo_Text from tCodigo where codigo_Clave = ?"), {codigo})
        .toString();
}

} // namespace

class tst_ProgramaReporte : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cadenaScript_data();
    void cadenaScript();
    void programaCompleto_data() { TestDatabase::addEngineRows(); }
    void programaCompleto();
    void guardaCreaCodigo_data() { TestDatabase::addEngineRows(); }
    void guardaCreaCodigo();
    void valoresDePropiedades_data();
    void valoresDePropiedades();
    void impresora_data();
    void impresora();
    void disenoRechazado_data();
    void disenoRechazado();
    void rechazoNoGuarda_data() { TestDatabase::addEngineRows(); }
    void rechazoNoGuarda();
    void reporteInexistente_data() { TestDatabase::addEngineRows(); }
    void reporteInexistente();
};

void tst_ProgramaReporte::cadenaScript_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("script");
    QTest::newRow("vacio") << ""
                           << "\"\"";
    QTest::newRow("simple") << "select 1"
                            << "\"select 1\"";
    QTest::newRow("comilla dentro") << "a \"b\" c"
                                    << "\"a \" & chr(34) & \"b\" & chr(34) & \" c\"";
    QTest::newRow("comilla al inicio y al final") << "\"x\""
                                                  << "\"\" & chr(34) & \"x\" & chr(34) & \"\"";
    QTest::newRow("dos comillas seguidas") << "a\"\"b"
                                           << "\"a\" & chr(34) & \"\" & chr(34) & \"b\"";
    QTest::newRow("salto LF") << "uno\ndos"
                              << "\"uno\" & Chr(13) & Chr(10) & \"dos\"";
    QTest::newRow("salto CRLF") << "uno\r\ndos"
                                << "\"uno\" & Chr(13) & Chr(10) & \"dos\"";
    QTest::newRow("salto CR") << "uno\rdos"
                              << "\"uno\" & Chr(13) & Chr(10) & \"dos\"";
    QTest::newRow("salto final") << "uno\n"
                                 << "\"uno\" & Chr(13) & Chr(10) & \"\"";
    QTest::newRow("comilla y salto") << "a\"\nb"
                                     << "\"a\" & chr(34) & \"\" & Chr(13) & Chr(10) & \"b\"";
    QTest::newRow("apostrofo queda") << "where x = 'A'"
                                     << "\"where x = 'A'\"";
}

void tst_ProgramaReporte::cadenaScript()
{
    QFETCH(QString, texto);
    QFETCH(QString, script);
    QCOMPARE(ProgramaReporte::cadenaScript(texto), script);
}

void tst_ProgramaReporte::programaCompleto()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    disenoCompleto(c, QStringLiteral("PRG_COMPLETO"));
    ScriptedPrompter prompter;
    ProgramaReporte programa(prompter);
    const std::optional<QString> texto = programa.generaPrograma(c, QStringLiteral("COMPLETO"));
    QVERIFY2(texto, qPrintable(prompter.texts().join(u'\n')));
    QVERIFY(comparaGolden(QStringLiteral("programa_completo.txt"), *texto));
    QVERIFY(prompter.texts().isEmpty());

    QVERIFY(programa.guardaPrograma(c, QStringLiteral("COMPLETO")));
    QCOMPARE(textoDe(c, QStringLiteral("PRG_COMPLETO")), *texto);
    QCOMPARE(c.scalar(QStringLiteral("select codigo_Nombre from tCodigo where codigo_Clave = 'PRG_COMPLETO'"))
                 .toString(),
             QStringLiteral("Cobranza por cliente"));
}

void tst_ProgramaReporte::guardaCreaCodigo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    reporte(c, QStringLiteral("NUEVO"), QStringLiteral("Nuevo"));
    reporte(c, QStringLiteral("APAGADO"), QStringLiteral("Apagado"), QStringLiteral("select 2 as Dos"),
            QStringLiteral("PRG_APAGADO"));
    programa(c, QStringLiteral("PRG_APAGADO"), QStringLiteral("' viejo"), QStringLiteral("N"));
    reporte(c, QStringLiteral("SOLOCODIGO"), QStringLiteral("Solo codigo"));
    c.execute(QStringLiteral("update tReporte set rep_SoloCodigo = 'S' where rep_Clave = 'SOLOCODIGO'"));
    ScriptedPrompter prompter;
    ProgramaReporte programa(prompter);

    // A report without a program key gets one, written back to the report.
    QVERIFY(programa.guardaPrograma(c, QStringLiteral("NUEVO")));
    QCOMPARE(
        c.scalar(QStringLiteral("select codigo_Clave from tReporte where rep_Clave = 'NUEVO'")).toString(),
        QStringLiteral("REPORTE_NUEVO"));
    QCOMPARE(
        c.scalar(QStringLiteral("select codigo_Activo from tCodigo where codigo_Clave = 'REPORTE_NUEVO'"))
            .toString(),
        QStringLiteral("S"));
    QVERIFY(textoDe(c, QStringLiteral("REPORTE_NUEVO"))
                .contains(QLatin1String("xRpt.SQL = \"select 1 as Uno\"")));

    // The usual key taken by another script: the report gets the next free one.
    reporte(c, QStringLiteral("OTRO"), QStringLiteral("Otro"));
    reportes::programa(c, QStringLiteral("REPORTE_OTRO"), QStringLiteral("' un evento"));
    reportes::programa(c, QStringLiteral("REPORTE_OTRO_2"), QStringLiteral("' otro evento"));
    QVERIFY(programa.guardaPrograma(c, QStringLiteral("OTRO")));
    QCOMPARE(
        c.scalar(QStringLiteral("select codigo_Clave from tReporte where rep_Clave = 'OTRO'")).toString(),
        QStringLiteral("REPORTE_OTRO_3"));
    QCOMPARE(textoDe(c, QStringLiteral("REPORTE_OTRO")), QStringLiteral("' un evento"));
    QCOMPARE(textoDe(c, QStringLiteral("REPORTE_OTRO_2")), QStringLiteral("' otro evento"));

    // Writing again replaces the text and leaves a program switched off as it was.
    QVERIFY(programa.guardaPrograma(c, QStringLiteral("APAGADO")));
    QVERIFY(textoDe(c, QStringLiteral("PRG_APAGADO")).contains(QLatin1String("\"select 2 as Dos\"")));
    QCOMPARE(c.scalar(QStringLiteral("select codigo_Activo from tCodigo where codigo_Clave = 'PRG_APAGADO'"))
                 .toString(),
             QStringLiteral("N"));

    // Reports without a program get one; reports kept as code only, and those with one, do not.
    c.execute(QStringLiteral("delete from tCodigo where codigo_Clave = 'REPORTE_NUEVO'"));
    QCOMPARE(programa.guardaFaltantes(c), std::optional<int>(1));
    QCOMPARE(programa.guardaFaltantes(c), std::optional<int>(0));
    QCOMPARE(
        c.scalar(QStringLiteral("select count(*) from tCodigo where codigo_Clave = 'REPORTE_NUEVO'")).toInt(),
        1);
    QVERIFY(c.scalar(QStringLiteral("select codigo_Clave from tReporte where rep_Clave = 'SOLOCODIGO'"))
                .isNull());
    QVERIFY(prompter.texts().isEmpty());
}

void tst_ProgramaReporte::valoresDePropiedades_data()
{
    QTest::addColumn<QString>("clase");
    QTest::addColumn<QString>("propiedad");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("sentencia");
    QTest::newRow("logico si") << "cPrintText"
                               << "FontBold"
                               << "si"
                               << "xRpt.getObject(\"X\").FontBold = True";
    QTest::newRow("logico S") << "cPrintText"
                              << "FontItalic"
                              << "S"
                              << "xRpt.getObject(\"X\").FontItalic = True";
    QTest::newRow("logico 1") << "cPrintText"
                              << "Box"
                              << "1"
                              << "xRpt.getObject(\"X\").Box = True";
    QTest::newRow("logico falso") << "cPrintField"
                                  << "Visible"
                                  << "Falso"
                                  << "xRpt.getObject(\"X\").Visible = False";
    QTest::newRow("logico NO") << "cPrintGroup"
                               << "FontBold"
                               << "NO"
                               << "xRpt.getObject(\"X\").FontBold = False";
    QTest::newRow("numero con ceros") << "cPrintText"
                                      << "Top"
                                      << "007.50"
                                      << "xRpt.getObject(\"X\").Top = 7.5";
    QTest::newRow("numero negativo") << "cPrintLine"
                                     << "DrawStyle"
                                     << "-1"
                                     << "xRpt.getObject(\"X\").DrawStyle = -1";
    QTest::newRow("numero con espacios") << "cPrintText"
                                         << "FontSize"
                                         << " 9 "
                                         << "xRpt.getObject(\"X\").FontSize = 9";
    QTest::newRow("color") << "cPrintText"
                           << "ForeColor"
                           << "16711680"
                           << "xRpt.getObject(\"X\").ForeColor = 16711680";
    QTest::newRow("texto con comillas")
        << "cPrintField"
        << "FormatField"
        << "\"$\"#,##0"
        << "xRpt.getObject(\"X\").FormatField = \"\" & chr(34) & \"$\" & chr(34) & "
           "\"#,##0\"";
    QTest::newRow("texto que parece numero") << "cPrintText"
                                             << "Value"
                                             << "123"
                                             << "xRpt.getObject(\"X\").Value = \"123\"";
    QTest::newRow("nombre de propiedad en otro caso") << "cPrintFormula"
                                                      << "onprintformula"
                                                      << "a = 1"
                                                      << "xRpt.getObject(\"X\").onPrintFormula = \"a = 1\"";
    QTest::newRow("formula de imagen") << "cPrintImage"
                                       << "Formula"
                                       << "[LOGO]"
                                       << "xRpt.getObject(\"X\").Formula = \"[LOGO]\"";
}

void tst_ProgramaReporte::valoresDePropiedades()
{
    QFETCH(QString, clase);
    QFETCH(QString, propiedad);
    QFETCH(QString, valor);
    QFETCH(QString, sentencia);
    ScriptedPrompter prompter;
    ProgramaReporte programa(prompter);
    ProgramaReporte::Diseno d;
    d.objetos << ProgramaReporte::Objeto{1,     QStringLiteral("X"), QStringLiteral("DETAIL"), QString(),
                                         clase, {{propiedad, valor}}};
    const std::optional<QString> texto = programa.escribe(d);
    QVERIFY2(texto, qPrintable(prompter.texts().join(u'\n')));
    QVERIFY2(texto->split(u'\n').contains(sentencia), qPrintable(*texto));
    QVERIFY(prompter.texts().isEmpty());
}

void tst_ProgramaReporte::impresora_data()
{
    QTest::addColumn<QString>("impresora");
    QTest::addColumn<QString>("primera");
    QTest::newRow("clave de reportes") << "IMPRESORA-DE-REPORTES"
                                       << "xRpt.setPrinter xConfig.getValue(\"IMPRESORA-DE-REPORTES\")";
    QTest::newRow("clave de notas en minusculas")
        << "impresora-de-notas"
        << "xRpt.setPrinter xConfig.getValue(\"IMPRESORA-DE-NOTAS\")";
    QTest::newRow("clave de recibos") << "IMPRESORA-DE-RECIBOS"
                                      << "xRpt.setPrinter xConfig.getValue(\"IMPRESORA-DE-RECIBOS\")";
    QTest::newRow("nombre de impresora") << "HP LaserJet \"Caja\""
                                         << "xRpt.setPrinter \"HP LaserJet \" & chr(34) & "
                                            "\"Caja\" & chr(34) & \"\"";
    QTest::newRow("otra clave es un nombre") << "IMPRESORA-DE-TICKETS"
                                             << "xRpt.setPrinter \"IMPRESORA-DE-TICKETS\"";
    QTest::newRow("sin impresora") << ""
                                   << "xRpt.OrientPage = 1";
}

void tst_ProgramaReporte::impresora()
{
    QFETCH(QString, impresora);
    QFETCH(QString, primera);
    ScriptedPrompter prompter;
    ProgramaReporte programa(prompter);
    ProgramaReporte::Diseno d;
    d.impresora = impresora;
    const std::optional<QString> texto = programa.escribe(d);
    QVERIFY(texto);
    QCOMPARE(texto->section(u'\n', 0, 0), primera);
    // Without values the page settings take the report defaults.
    QVERIFY(texto->contains(
        QLatin1String("xRpt.PaperSize = 1\nxRpt.HeaderHeight = 0\nxRpt.FooterHeight = 0\n"
                      "xRpt.PrintForm = \"\"\nxRpt.UserPageHeight = -1\nxRpt.UserPageWidth = -1\n"
                      "xRpt.SQL = \"\"\n")));
}

void tst_ProgramaReporte::disenoRechazado_data()
{
    // The design: an object (name, class, section, one property) beside G, a group (or not) with a key field.
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("clase");
    QTest::addColumn<QString>("seccion");
    QTest::addColumn<QString>("propiedad");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("claseGrupo");
    QTest::addColumn<QString>("mensaje");
    // clang-format off
    QTest::newRow("clase desconocida") << "X" << "cPrintBarcode" << "DETAIL" << "" << "" << "X" << "cPrintGroup"
        << "Tipo de objeto incorrecto";
    QTest::newRow("clase en otro caso") << "X" << "cprintfield" << "DETAIL" << "" << "" << "X" << "cPrintGroup"
        << "Tipo de objeto incorrecto";
    QTest::newRow("numero invalido") << "X" << "cPrintText" << "DETAIL" << "Top" << "dos" << "X" << "cPrintGroup"
        << "Debe ingresar un valor numerico";
    QTest::newRow("numero vacio") << "X" << "cPrintField" << "DETAIL" << "Width" << "" << "X" << "cPrintGroup"
        << "Debe ingresar un valor numerico";
    QTest::newRow("logico en ingles") << "X" << "cPrintText" << "DETAIL" << "FontBold" << "yes" << "X" << "cPrintGroup"
        << "Valor invalido, se esperaba TRUE,FALSE,SI,NO";
    QTest::newRow("propiedad de otra clase") << "X" << "cPrintLine" << "DETAIL" << "FontName" << "Arial" << "X" << "cPrintGroup"
        << "La propiedad FontName no es de un objeto cPrintLine";
    QTest::newRow("seccion desconocida") << "X" << "cPrintText" << "PIE" << "" << "" << "X" << "cPrintGroup"
        << "La seccion PIE del objeto X no es valida";
    QTest::newRow("nombre repetido en otro caso") << "g" << "cPrintText" << "DETAIL" << "" << "" << "g" << "cPrintGroup"
        << "El nombre de objeto g se repite en el reporte";
    QTest::newRow("campo de grupo ausente") << "X" << "cPrintText" << "DETAIL" << "" << "" << "Cliente" << "cPrintGroup"
        << "El campo Cliente del grupo G no es un objeto del reporte";
    QTest::newRow("grupo que no es grupo") << "X" << "cPrintText" << "DETAIL" << "" << "" << "X" << "cPrintText"
        << "El grupo G no es un objeto del reporte";
    // clang-format on
}

void tst_ProgramaReporte::disenoRechazado()
{
    QFETCH(QString, nombre);
    QFETCH(QString, clase);
    QFETCH(QString, seccion);
    QFETCH(QString, propiedad);
    QFETCH(QString, valor);
    QFETCH(QString, campo);
    QFETCH(QString, claseGrupo);
    QFETCH(QString, mensaje);
    ScriptedPrompter prompter;
    ProgramaReporte programa(prompter);
    ProgramaReporte::Diseno d;
    ProgramaReporte::Objeto o{1, nombre, seccion, QString(), clase, {}};
    if (!propiedad.isEmpty())
        o.propiedades.append({propiedad, valor});
    d.objetos << ProgramaReporte::Objeto{2,         QStringLiteral("G"), QStringLiteral("GROUP"),
                                         QString(), claseGrupo,          {}}
              << o;
    d.grupos << ProgramaReporte::Grupo{QStringLiteral("G"), {campo}, {}};
    QVERIFY(!programa.escribe(d));
    QCOMPARE(prompter.texts(), QStringList{mensaje});
}

void tst_ProgramaReporte::rechazoNoGuarda()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    disenoCompleto(c);
    reporte(c, QStringLiteral("VIEJO"), QStringLiteral("Viejo"), QStringLiteral("select 1 as Uno"),
            QStringLiteral("PRG_VIEJO"));
    programa(c, QStringLiteral("PRG_VIEJO"), QStringLiteral("' el programa de antes"));
    objeto(c, QStringLiteral("VIEJO"), 1, QStringLiteral("CODIGO"), QStringLiteral("DETAIL"),
           QStringLiteral("cPrintBarcode"));
    objeto(c, QStringLiteral("COMPLETO"), 12, QStringLiteral("MALO"), QStringLiteral("DETAIL"),
           QStringLiteral("cPrintChart"));
    ScriptedPrompter prompter;
    ProgramaReporte programa(prompter);

    // A design with a class the program cannot make keeps the program it had, or none.
    QVERIFY(!programa.guardaPrograma(c, QStringLiteral("VIEJO")));
    QCOMPARE(textoDe(c, QStringLiteral("PRG_VIEJO")), QStringLiteral("' el programa de antes"));
    QVERIFY(!programa.guardaPrograma(c, QStringLiteral("COMPLETO")));
    QVERIFY(
        c.scalar(QStringLiteral("select codigo_Clave from tReporte where rep_Clave = 'COMPLETO'")).isNull());
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tCodigo")).toInt(), 1);
    QCOMPARE(prompter.texts(), (QStringList{QStringLiteral("Tipo de objeto incorrecto"),
                                            QStringLiteral("Tipo de objeto incorrecto")}));
    QCOMPARE(prompter.shown.first().details, QStringLiteral("CODIGO: cPrintBarcode"));

    // The missing programs stop at the first refused design.
    prompter.clear();
    QCOMPARE(programa.guardaFaltantes(c), std::optional<int>());
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Tipo de objeto incorrecto")});
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tCodigo")).toInt(), 1);
}

void tst_ProgramaReporte::reporteInexistente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    ScriptedPrompter prompter;
    ProgramaReporte programa(prompter);
    QVERIFY(!programa.guardaPrograma(db.connection(), QStringLiteral("NOHAY")));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("El reporte no fue encontrado")});
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tCodigo")).toInt(), 0);
}

QTEST_GUILESS_MAIN(tst_ProgramaReporte)
#include "tst_programa_reporte.moc"
