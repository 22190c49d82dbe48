// The printable objects: value texts by data kind, the designer's property interface, section
// heights, drawing inside the band, group change detection and formula evaluation.
#include "ReportValue.h"
#include "EjecucionReporte.h"
#include "cPrintObjects.h"
#include "cPrintSection.h"

#include "Engine.h"

#include <QtTest>

class tst_report_objects : public QObject {
    Q_OBJECT
private slots:
    void valorEnScript_data();
    void valorEnScript();
    void textoConComillasYSaltos();
    void valorEnSql_data();
    void valorEnSql();
    void tipoPorColumnaAdo_data();
    void tipoPorColumnaAdo();
    void propiedades_data();
    void propiedades();
    void textoDePropiedad_data();
    void textoDePropiedad();
    void alturaDeSeccion_data();
    void alturaDeSeccion();
    void dibujaSoloLoQueCabe_data();
    void dibujaSoloLoQueCabe();
    void cambioDeGrupo();
    void nombresGenerados();
    void bitacoraEnArchivo();
};

void tst_report_objects::valorEnScript_data()
{
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("script");
    const QVariant nulo = QVariant::fromValue(nullptr);
    QTest::newRow("nulo numero") << nulo << "N"
                                 << "Null";
    QTest::newRow("nulo texto") << nulo << "T"
                                << "Null";
    QTest::newRow("nulo fecha") << nulo << "F"
                                << "Null";
    QTest::newRow("numero") << QVariant(QStringLiteral("1250.5")) << "N"
                            << "1250.5";
    QTest::newRow("numero con texto detras") << QVariant(QStringLiteral("12abc")) << "N"
                                             << "12";
    QTest::newRow("texto no numerico") << QVariant(QStringLiteral("abc")) << "N"
                                       << "0";
    QTest::newRow("negativo") << QVariant(-3.25) << "N"
                              << "-3.25";
    QTest::newRow("decimal") << Decimal(QStringLiteral("196.300000")).toQVariant() << "N"
                             << "196.3";
    QTest::newRow("literal sin comillas") << QVariant(QStringLiteral("Dijo \"hola\"")) << "E"
                                          << "\"Dijo hola\"";
    QTest::newRow("texto") << QVariant(QStringLiteral("Dijo \"hola\"")) << "T"
                           << "\"Dijo \"\"hola\"\"\"";
    QTest::newRow("fecha") << QVariant(QDateTime(QDate(2026, 12, 7), QTime(23, 59, 59))) << "F"
                           << "(DateSerial(2026,12,7) + TimeSerial(23, 59, 59))";
}

void tst_report_objects::valorEnScript()
{
    QFETCH(QVariant, valor);
    QFETCH(QString, tipo);
    QFETCH(QString, script);
    cPrintField f;
    f.QObject::setProperty("DataType", tipo);
    f.setValue(valor);
    QCOMPARE(f.ValueToScript(), script);
    // What formulas read without parsing equals what the text evaluates to.
    vbs::Engine engine;
    engine.setLocale(2058);
    vbs::Value esperado;
    QVERIFY2(engine.evaluate(script, esperado), qPrintable(engine.errorText()));
    const vbs::Value directo = f.scriptValue();
    QCOMPARE(int(directo.type()), int(esperado.type()));
    QCOMPARE(vbs::toVariant(directo), vbs::toVariant(esperado));
}

void tst_report_objects::textoConComillasYSaltos()
{
    // One valid script expression, whatever the text holds.
    const QString texto = QStringLiteral("Renglón \"uno\"\r\nRenglón 2\n\"fin\"");
    const QString script = reportvalue::toScript(texto, QStringLiteral("T"));
    vbs::Engine engine;
    vbs::Value v;
    QVERIFY2(engine.evaluate(script, v), qPrintable(engine.errorText()));
    QCOMPARE(vbs::toString(v), QStringLiteral("Renglón \"uno\"\r\nRenglón 2\r\n\"fin\""));
    QCOMPARE(vbs::toString(reportvalue::toScriptValue(texto, QStringLiteral("T"))), vbs::toString(v));
}

void tst_report_objects::valorEnSql_data()
{
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("sql");
    QTest::newRow("fecha") << QVariant(QDateTime(QDate(2026, 1, 5), QTime(8, 0))) << "F"
                           << "'05/01/2026'";
    QTest::newRow("numero") << QVariant(QStringLiteral("15.5")) << "N"
                            << "15.5";
    QTest::newRow("texto") << QVariant(QStringLiteral("ABC")) << "T"
                           << "'ABC'";
    QTest::newRow("literal") << QVariant(QStringLiteral("ABC")) << "E"
                             << "'ABC'";
}

void tst_report_objects::valorEnSql()
{
    QFETCH(QVariant, valor);
    QFETCH(QString, tipo);
    QFETCH(QString, sql);
    QCOMPARE(reportvalue::toDb(valor, tipo, QStringLiteral("dd/mm/yyyy")), sql);
}

void tst_report_objects::tipoPorColumnaAdo_data()
{
    QTest::addColumn<int>("ado");
    QTest::addColumn<QString>("tipo");
    for (int n : {2, 3, 4, 5, 6, 14, 16, 20, 131})
        QTest::newRow(qPrintable(QStringLiteral("num %1").arg(n))) << n << "N";
    for (int n : {7, 133, 134, 135})
        QTest::newRow(qPrintable(QStringLiteral("fecha %1").arg(n))) << n << "F";
    for (int n : {204, 205})
        QTest::newRow(qPrintable(QStringLiteral("imagen %1").arg(n))) << n << "I";
    for (int n : {11, 129, 200, 201, 202})
        QTest::newRow(qPrintable(QStringLiteral("texto %1").arg(n))) << n << "T";
}

void tst_report_objects::tipoPorColumnaAdo()
{
    QFETCH(int, ado);
    QFETCH(QString, tipo);
    QCOMPARE(reportvalue::kindForAdoType(ado), tipo);
}

void tst_report_objects::propiedades_data()
{
    QTest::addColumn<QString>("clase");
    QTest::addColumn<QString>("lista");
    QTest::newRow("linea")
        << "cPrintLine"
        << "Name,String;Value,Variant;DataType,String;Left,Single;Top,Single;Width,Single;"
           "Height,Single;ForeColor,Long;DrawWidth,Double;DrawStyle,Double;DrawMode,Double;"
           "Visible,Boolean";
    QTest::newRow("texto")
        << "cPrintText"
        << "Name,String;Value,Variant;Align,Integer;FontName,String;FontSize,Double;"
           "FontBold,Boolean;FontItalic,Boolean;FontTransparent,Boolean;DataType,String;"
           "Left,Single;Top,Single;Width,Single;Height,Single;ForeColor,Long;DrawWidth,Double;"
           "DrawStyle,Double;DrawMode,Double;Visible,Boolean;Box,Boolean";
    QTest::newRow("campo")
        << "cPrintField"
        << "Name,String;Value,Variant;Align,Integer;FontName,String;FontSize,Double;"
           "FontBold,Boolean;FontItalic,Boolean;FontTransparent,Boolean;FormatField,String;"
           "DataType,String;Left,Single;Top,Single;Width,Single;Height,Single;ForeColor,Long;"
           "DrawWidth,Double;DrawStyle,Double;DrawMode,Double;Visible,Boolean";
    QTest::newRow("grupo")
        << "cPrintGroup"
        << "Name,String;Value,Variant;Align,Integer;FontName,String;FontSize,Double;"
           "FontBold,Boolean;FontItalic,Boolean;FontTransparent,Boolean;Left,Single;Top,Single;"
           "Width,Single;Height,Single;ForeColor,Long;DrawWidth,Double;DrawStyle,Double;"
           "DrawMode,Double;Visible,Boolean";
    QTest::newRow("sumario")
        << "cPrintSumary"
        << "Name,String;Formula,String;Value,Variant;Align,Integer;FontName,String;"
           "FontSize,Double;FontBold,Boolean;FontItalic,Boolean;FontTransparent,Boolean;"
           "FormatField,String;DataType,String;Left,Single;Top,Single;Width,Single;"
           "Height,Single;ForeColor,Long;DrawWidth,Double;DrawStyle,Double;DrawMode,Double;"
           "Visible,Boolean";
    QTest::newRow("formula")
        << "cPrintFormula"
        << "Name,String;Formula,String;Value,Variant;Align,Integer;FontName,String;"
           "FontSize,Double;FontBold,Boolean;FontItalic,Boolean;FontTransparent,Boolean;"
           "FormatField,String;DataType,String;Left,Single;Top,Single;Width,Single;"
           "Height,Single;ForeColor,Long;DrawWidth,Double;DrawStyle,Double;DrawMode,Double;"
           "Visible,Boolean;Box,Boolean;ReCalc,Boolean;onPrintFormula,String";
    QTest::newRow("imagen")
        << "cPrintImage"
        << "Name,String;Value,Variant;DataType,String;Formula,String;Left,Single;Top,Single;"
           "Width,Single;Height,Single;Visible,Boolean;Box,Boolean;ReCalc,Boolean;"
           "onPrintFormula,String";
}

void tst_report_objects::propiedades()
{
    QFETCH(QString, clase);
    QFETCH(QString, lista);
    cObjectFactory factory;
    registraObjetosReporte(factory);
    std::unique_ptr<QObject> o(factory.construct(QStringLiteral("New") + clase, {}));
    auto *objeto = qobject_cast<cPrintObject *>(o.get());
    QVERIFY(objeto);
    QCOMPARE(objeto->ObjectType(), clase);
    QCOMPARE(objeto->getProperties().join(u';'), lista);
}

void tst_report_objects::textoDePropiedad_data()
{
    QTest::addColumn<QString>("propiedad");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("mensaje"); // empty: accepted
    QTest::addColumn<QVariant>("valor");
    QTest::newRow("si") << "FontBold"
                        << "si"
                        << "" << QVariant(true);
    QTest::newRow("VERDADERO") << "FontBold"
                               << "VERDADERO"
                               << "" << QVariant(true);
    QTest::newRow("n") << "FontBold"
                       << "n"
                       << "" << QVariant(false);
    QTest::newRow("Falso") << "Visible"
                           << "Falso"
                           << "" << QVariant(false);
    QTest::newRow("yes") << "FontBold"
                         << "yes"
                         << "Valor invalido, se esperaba TRUE,FALSE,SI,NO" << QVariant(false);
    QTest::newRow("izquierda") << "Left"
                               << "12.5"
                               << "" << QVariant(12.5);
    QTest::newRow("izquierda no numero") << "Left"
                                         << "doce"
                                         << "Debe ingresar un valor numerico" << QVariant(0.0);
    QTest::newRow("color") << "ForeColor"
                           << "255"
                           << "" << QVariant(qint64(255));
    QTest::newRow("grosor vacio") << "DrawWidth"
                                  << ""
                                  << "Debe ingresar un valor numerico" << QVariant(1.0);
    QTest::newRow("formato") << "FormatField"
                             << "#,##0.00"
                             << "" << QVariant(QStringLiteral("#,##0.00"));
}

void tst_report_objects::textoDePropiedad()
{
    QFETCH(QString, propiedad);
    QFETCH(QString, texto);
    QFETCH(QString, mensaje);
    QFETCH(QVariant, valor);
    cPrintField f;
    QString recibido;
    QCOMPARE(f.setPropertyText(propiedad, texto, &recibido), mensaje.isEmpty());
    QCOMPARE(recibido, mensaje);
    // A refused text leaves the property as it was.
    QCOMPARE(f.getPropertyValue(propiedad), valor);
    // Scripts receive the refusal as an error with the same text.
    if (!mensaje.isEmpty()) {
        vbs::Engine engine;
        engine.addObject(QStringLiteral("o"), &f);
        QVERIFY(!engine.execute(QStringLiteral("o.setProperty \"%1\", \"%2\"").arg(propiedad, texto)));
        QVERIFY2(engine.errorText().contains(mensaje), qPrintable(engine.errorText()));
    }
}

void tst_report_objects::alturaDeSeccion_data()
{
    QTest::addColumn<double>("alto");
    QTest::addColumn<QList<double>>("objetos"); // top, height per object; a negative top marks a line
    QTest::addColumn<double>("controles");
    QTest::addColumn<double>("maximo");
    QTest::newRow("vacia") << 12.0 << QList<double>{} << 0.0 << 12.0;
    QTest::newRow("objeto mas bajo") << 5.0 << QList<double>{2, 6, 0, 3} << 8.0 << 8.0;
    QTest::newRow("cabe en el alto") << 10.0 << QList<double>{2, 3} << 5.0 << 10.0;
    QTest::newRow("linea hacia arriba") << 3.0 << QList<double>{-9, 1} << 9.0 << 9.0;
    QTest::newRow("linea hacia abajo") << 3.0 << QList<double>{-1, 7} << 7.0 << 7.0;
}

void tst_report_objects::alturaDeSeccion()
{
    QFETCH(double, alto);
    QFETCH(QList<double>, objetos);
    QFETCH(double, controles);
    QFETCH(double, maximo);
    cPrintSection s;
    s.setHeight(alto);
    for (int i = 0; i + 1 < objetos.size(); i += 2) {
        cPrintObject *o = objetos[i] < 0 ? static_cast<cPrintObject *>(new cPrintLine(&s))
                                         : static_cast<cPrintObject *>(new cPrintText(&s));
        o->QObject::setProperty("Top", qAbs(objetos[i]));
        o->QObject::setProperty("Height", objetos[i + 1]);
        s.addObject(o);
    }
    QCOMPARE(s.MaxHeightControls(), controles);
    QCOMPARE(s.MaxHeight(), maximo);
    QCOMPARE(s.Item(QStringLiteral("K0")) != nullptr, !objetos.isEmpty());
}

void tst_report_objects::dibujaSoloLoQueCabe_data()
{
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("alto");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("dibujado");
    QTest::newRow("dentro") << 2.0 << 5.0 << true << true;
    QTest::newRow("justo al borde") << 5.0 << 5.0 << true << true;
    QTest::newRow("se sale por abajo") << 6.0 << 5.0 << true << false;
    QTest::newRow("empieza fuera") << 11.0 << 1.0 << true << false;
    QTest::newRow("oculto") << 0.0 << 5.0 << false << false;
}

void tst_report_objects::dibujaSoloLoQueCabe()
{
    QFETCH(double, top);
    QFETCH(double, alto);
    QFETCH(bool, visible);
    QFETCH(bool, dibujado);
    EjecucionReporte p(nullptr);
    cPrintText t;
    t.setValue(QStringLiteral("Hola"));
    t.QObject::setProperty("Top", top);
    t.QObject::setProperty("Height", alto);
    t.QObject::setProperty("Width", 20.0);
    t.QObject::setProperty("Left", 10.0);
    t.QObject::setProperty("Visible", visible);
    t.QObject::setProperty("Box", true);
    t.printObject(*p.report, p.report->printer(), 30, 10);
    const ReportPageLog &log = p.report->printer().getLog();
    QCOMPARE(!log.empty(), dibujado);
    if (dibujado) {
        // Pen and font in their order, then the text in its rectangle (section top added) and the frame.
        QStringList ops;
        for (const ReportLogRecord &r : log)
            ops << r.operation;
        QCOMPARE(ops.join(u','),
                 QStringLiteral("DrawMode,DrawWidth,ForeColor,DrawStyle,FontName,FontSize,FontBold,"
                                "FontItalic,FontTransparent,DrawText,DrawLine"));
        const int y1 = qRound((30 + top) * 96 / 25.4), y2 = qRound((30 + top + alto) * 96 / 25.4);
        QCOMPARE(log[9].arguments,
                 (QStringList{QStringLiteral("38"), QString::number(y1), QStringLiteral("113"),
                              QString::number(y2), QStringLiteral("Hola"), QStringLiteral("4"),
                              QStringLiteral("16")}));
        QCOMPARE(log[10].arguments.last(), QStringLiteral("True"));
    }
}

void tst_report_objects::cambioDeGrupo()
{
    cPrintField depto, linea;
    depto.setName(QStringLiteral("depto"));
    linea.setName(QStringLiteral("linea"));
    cPrintSumary total;
    total.setName(QStringLiteral("Total"));
    cPrintGroup g;
    g.addField(&depto);
    g.addField(&linea);
    g.addSumary(&total);
    depto.setValue(QStringLiteral("A"));
    linea.setValue(QVariant::fromValue(nullptr));
    // No snapshot yet: a change.
    QVERIFY(g.isChangeGroup());
    total.setValue(40);
    g.startGroup();
    QCOMPARE(total.Value().toString(), QStringLiteral("0"));
    QVERIFY(!g.isChangeGroup());
    QCOMPARE(g.groupValue().toString(), QStringLiteral("A - "));
    linea.setValue(QStringLiteral("X")); // Null to a value is a change
    QVERIFY(g.isChangeGroup());
    g.startGroup();
    depto.setValue(QStringLiteral("A"));
    QVERIFY(!g.isChangeGroup());
    QCOMPARE(g.ValueToScript(), QStringLiteral("\"A - X\""));
    g.reset();
    QVERIFY(g.isChangeGroup());
}

void tst_report_objects::nombresGenerados()
{
    EjecucionReporte p(nullptr);
    easyReport &r = *p.report;
    auto *a = new cPrintText;
    auto *b = new cPrintText;
    auto *c = new cPrintLine;
    r.addHeaderObject(a);
    r.addHeaderObject(b);
    r.addFooterObject(c);
    QCOMPARE(a->Name(), QStringLiteral("HEAD_cPrintText0"));
    QCOMPARE(b->Name(), QStringLiteral("HEAD_cPrintText1"));
    QCOMPARE(c->Name(), QStringLiteral("FOO_cPrintLine0"));
    QCOMPARE(r.getObject(QStringLiteral("head_cprinttext1")), b);
    // A name already taken is skipped.
    auto *d = new cPrintText;
    d->setName(QStringLiteral("DET_cPrintText0"));
    r.addObject(d);
    auto *e = new cPrintText;
    r.addDetailObject(e);
    QCOMPARE(e->Name(), QStringLiteral("DET_cPrintText1"));
    QCOMPARE(r.detailSection().Count(), 1);
}

void tst_report_objects::bitacoraEnArchivo()
{
    // Texts with the file form's separators come back whole.
    cReportPrinter printer;
    printer.setFontName(QStringLiteral("Arial"));
    printer.DrawText(1, 2, 30, 40, QStringLiteral("a|b:c\\d\r\nlínea 2"), 19, 2);
    printer.DrawLine(0, 0, 10, 10, 255, false);
    printer.DrawText(1, 2, 30, 40, QString(), 0, 0);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pagina.log"));
    QVERIFY(printer.saveLogToFile(file));
    const ReportPageLog original = printer.getLog();
    cReportPrinter otro;
    QVERIFY(otro.loadLog(file));
    QCOMPARE(otro.getLog().size(), original.size());
    for (size_t i = 0; i < original.size(); ++i)
        QCOMPARE(otro.getLog()[i], original[i]);
    QCOMPARE(original[1].arguments.value(6), QStringLiteral("18")); // word wrap always added
}

QTEST_GUILESS_MAIN(tst_report_objects)
#include "tst_report_objects.moc"
