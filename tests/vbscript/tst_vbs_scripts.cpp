// Script shapes the program runs: value wrappers read back after a run, a keyed container,
// a layout-style program driven by a state record, and report formulas row by row.
#include "Engine.h"

#include <QMap>
#include <QTest>

namespace {

// A named plain value the script can read and change (Key, Value).
class ValueBox : public vbs::HostObject {
public:
    ValueBox(QString key, vbs::Value v) : m_value(std::move(v)), m_key(std::move(key)) {}
    QString typeName() const override { return QStringLiteral("CValue"); }
    bool get(const vbs::Name &n, vbs::Args &, vbs::Value &r) override
    {
        if (n.key == QLatin1String("key"))
            r = vbs::Value(m_key);
        else if (n.key == QLatin1String("value"))
            r = m_value;
        else
            return false;
        return true;
    }
    bool set(const vbs::Name &n, vbs::Args &, const vbs::Value &v, bool) override
    {
        if (n.key != QLatin1String("value"))
            return false;
        m_value = v;
        return true;
    }
    bool getDefault(vbs::Args &a, vbs::Value &r) override
    {
        if (a.size())
            return false;
        r = m_value;
        return true;
    }
    vbs::Value m_value;

private:
    QString m_key;
};

// Keyed bag of objects shared between scripts (addObject, getItem, getCount, existsValue).
class Container : public vbs::HostObject {
public:
    bool get(const vbs::Name &n, vbs::Args &a, vbs::Value &r) override
    {
        if (n.key == QLatin1String("addobject")) {
            m_keys << vbs::toString(a[1]);
            m_items << a[0];
        } else if (n.key == QLatin1String("addvalue")) {
            m_keys << vbs::toString(a[0]);
            m_items << vbs::Value::object(new ValueBox(vbs::toString(a[0]), a[1]));
        } else if (n.key == QLatin1String("getitem") || n.key == QLatin1String("campo")) {
            const vbs::Value &k = a[0];
            if (k.isString()) {
                const int i = m_keys.indexOf(k.rawString());
                if (i < 0)
                    vbs::raise(5);
                r = m_items[i];
            } else {
                const int i = vbs::toLong(k);
                if (i < 1 || i > m_items.size())
                    vbs::raise(9);
                r = m_items[i - 1];
            }
        } else if (n.key == QLatin1String("getcount")) {
            r = vbs::Value::lng(int32_t(m_items.size()));
        } else if (n.key == QLatin1String("existsvalue")) {
            r = vbs::Value::boolean(m_keys.contains(vbs::toString(a[0])));
        } else {
            return false;
        }
        return true;
    }
    bool enumerate(vbs::ValueList &items) override
    {
        for (const vbs::Value &v : m_items)
            items.push_back(v);
        return true;
    }
    QStringList m_keys;
    QList<vbs::Value> m_items;
};

// A data source handing out rows, as a layout run reads them.
class RowSource : public vbs::HostObject {
public:
    explicit RowSource(QList<QStringList> rows) : m_rows(std::move(rows)) {}
    bool get(const vbs::Name &n, vbs::Args &a, vbs::Value &r) override
    {
        if (n.key == QLatin1String("eof"))
            r = vbs::Value::boolean(m_pos >= m_rows.size());
        else if (n.key == QLatin1String("movenext"))
            ++m_pos;
        else if (n.key == QLatin1String("field"))
            r = vbs::Value(m_rows[m_pos][vbs::toLong(a[0])]);
        else
            return false;
        return true;
    }

private:
    QList<QStringList> m_rows;
    int m_pos = 0;
};

} // namespace

class tst_Scripts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void priceChangeScriptWritesValuesBack();
    void sharedContainerSurvivesBetweenRuns();
    void layoutProgramLoopsOverRows();
    void reportSummaryAccumulatesPerRow();
    void onPrintStatementsWithBareCarriageReturns();
    void reportFormulaTextsFromValues_data();
    void reportFormulaTextsFromValues();
};

void tst_Scripts::priceChangeScriptWritesValuesBack()
{
    vbs::Engine e;
    QMap<QString, ValueBox *> boxes;
    const QStringList names = {QStringLiteral("CambioPrecio"),    QStringLiteral("Costo"),
                               QStringLiteral("Publico"),         QStringLiteral("ImpuestoPorcentaje"),
                               QStringLiteral("ImpuestoImporte"), QStringLiteral("Total")};
    const double values[] = {1, 60, 100, 16, 0, 0};
    for (int i = 0; i < names.size(); ++i) {
        auto *b = new ValueBox(names[i], vbs::Value::dbl(values[i]));
        boxes.insert(names[i], b);
        e.addObject(names[i], vbs::HostObjectRef(b));
    }
    const QString script = QStringLiteral(
        "sub ONCHANGEPRICE_PUBLICO()\r\n"
        "  If CambioPrecio.Value = 1 Then\r\n"
        "    ImpuestoImporte.Value = Round(Publico.Value * ImpuestoPorcentaje.Value / 100, 2)\r\n"
        "    Total.Value = Publico + ImpuestoImporte\r\n"
        "  End If\r\n"
        "end sub");
    QVERIFY(e.addCode(script));
    QVERIFY2(e.run(QStringLiteral("ONCHANGEPRICE_PUBLICO")), qPrintable(e.errorText()));
    QCOMPARE(vbs::toDouble(boxes[QStringLiteral("ImpuestoImporte")]->m_value), 16.0);
    QCOMPARE(vbs::toDouble(boxes[QStringLiteral("Total")]->m_value), 116.0);
}

void tst_Scripts::sharedContainerSurvivesBetweenRuns()
{
    vbs::Engine e;
    vbs::HostObjectRef global(new Container);
    e.addObject(QStringLiteral("xGlobal"), global);
    QVERIFY(e.addCode(QStringLiteral("xGlobal.addValue \"contador\", 1")));
    e.reset(); // the next event sees only what the container kept
    e.addObject(QStringLiteral("xGlobal"), global);
    QVERIFY(e.addCode(
        QStringLiteral("If xGlobal.existsValue(\"contador\") Then\r\n"
                       "  xGlobal.getItem(\"contador\").Value = xGlobal.getItem(\"contador\").Value + 1\r\n"
                       "End If")));
    QCOMPARE(e.eval(QStringLiteral("xGlobal.getItem(\"contador\").Value")).toInt(), 2);
    QCOMPARE(e.eval(QStringLiteral("xGlobal.getItem(1).Key")).toString(), QStringLiteral("contador"));
    QCOMPARE(e.eval(QStringLiteral("xGlobal.getCount()")).toInt(), 1);
}

void tst_Scripts::layoutProgramLoopsOverRows()
{
    vbs::Engine e;
    auto *state = new Container;
    e.addObject(QStringLiteral("xEstado"), vbs::HostObjectRef(state));
    e.addObject(QStringLiteral("xOrigen"),
                vbs::HostObjectRef(new RowSource({{QStringLiteral("A1"), QStringLiteral("10")},
                                                  {QStringLiteral("B2"), QStringLiteral("x")},
                                                  {QStringLiteral("C3"), QStringLiteral("5.5")},
                                                  {QStringLiteral("STOP"), QStringLiteral("0")},
                                                  {QStringLiteral("D4"), QStringLiteral("1")}})));
    auto *out = new Container;
    e.addObject(QStringLiteral("xDestinos"), vbs::HostObjectRef(out));
    const QString program =
        QStringLiteral("Dim total\r\n"
                       "Sub onLayOutLoad()\r\n"
                       "  xEstado.addValue \"Resultado\", True\r\n"
                       "  xEstado.addValue \"Omitir\", False\r\n"
                       "  xEstado.addValue \"Detener\", False\r\n"
                       "  total = 0\r\n"
                       "End Sub\r\n"
                       "Sub onLayOutValidate()\r\n"
                       "  xEstado.Campo(\"Omitir\").Value = Not IsNumeric(xOrigen.Field(1))\r\n"
                       "  xEstado.Campo(\"Detener\").Value = (xOrigen.Field(0) = \"STOP\")\r\n"
                       "End Sub\r\n"
                       "Sub onLayOutProcess()\r\n"
                       "  total = total + CDbl(xOrigen.Field(1))\r\n"
                       "  xDestinos.addValue xOrigen.Field(0), CDbl(xOrigen.Field(1)) * 2\r\n"
                       "End Sub\r\n"
                       "Sub runLayOut()\r\n"
                       "  onLayOutLoad\r\n"
                       "  Do Until xOrigen.EOF\r\n"
                       "    onLayOutValidate\r\n"
                       "    If xEstado.Campo(\"Detener\").Value Then Exit Do\r\n"
                       "    If Not xEstado.Campo(\"Omitir\").Value Then onLayOutProcess\r\n"
                       "    xOrigen.MoveNext\r\n"
                       "  Loop\r\n"
                       "End Sub\r\n");
    QVERIFY2(e.addCode(program), qPrintable(e.errorText()));
    QVERIFY2(e.run(QStringLiteral("runLayOut")), qPrintable(e.errorText()));
    QCOMPARE(vbs::toDouble(e.global(QStringLiteral("total"))), 15.5);
    QCOMPARE(out->m_keys, QStringList({QStringLiteral("A1"), QStringLiteral("C3")}));
}

void tst_Scripts::reportSummaryAccumulatesPerRow()
{
    // a summary named Total whose formula adds [Importe] to [Total], evaluated once per row
    vbs::Engine e;
    QString total = QStringLiteral("0");
    const double importes[] = {10.5, 20.25, 0.1, 0.2};
    for (double imp : importes) {
        e.reset();
        QVERIFY(e.addCode(QStringLiteral(" Sub setZEVSettings()\r\n SetLocale \"es-mx\"\r\n end sub")));
        QVERIFY(e.run(QStringLiteral("setZEVSettings")));
        bool ok = false;
        const QString formula = QString::number(imp) + QStringLiteral(" + ") + total;
        total = e.eval(formula, &ok).toString();
        QVERIFY2(ok, qPrintable(e.errorText()));
    }
    QCOMPARE(total, QStringLiteral("31.05"));
}

void tst_Scripts::onPrintStatementsWithBareCarriageReturns()
{
    // on-print code is joined with CR alone: "sub evalOnPrint()" CR statements CR "end sub"
    vbs::Engine e;
    auto *rpt = new Container;
    e.addObject(QStringLiteral("xRpt"), vbs::HostObjectRef(rpt));
    const QString code = QStringLiteral("sub evalOnPrint()\rIf 2 > 1 Then\r xRpt.addValue \"Visible\", False\rEnd If\rend sub");
    QVERIFY2(e.addCode(code), qPrintable(e.errorText()));
    QVERIFY2(e.run(QStringLiteral("evalOnPrint")), qPrintable(e.errorText()));
    QCOMPARE(rpt->m_keys, QStringList{QStringLiteral("Visible")});
    QVERIFY(!e.addCode(QStringLiteral("sub bad()\rx = \rend sub")));
    QCOMPARE(e.lastError().line, 2);
}

void tst_Scripts::reportFormulaTextsFromValues_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("expected");
    QTest::newRow("date value") << "Year((DateSerial(2026,3,4) + TimeSerial(10, 5, 0)))"
                                << "2026";
    QTest::newRow("Null field") << "IsNull(Null)"
                                << "True";
    QTest::newRow("text with quotes and line break")
        << "Len(\"Dijo \"\"hola\"\"\" & Chr(13) & Chr(10) & \"adios\")"
        << "18";
    QTest::newRow("literal kind") << "\"CENTRO\" & \" - \" & \"2026\""
                                  << "CENTRO - 2026";
    QTest::newRow("number kind") << "1250.5 * 1.16"
                                 << "1450.58";
    QTest::newRow("group change") << "\"A - 1\" <> \"A - 2\""
                                  << "True";
    QTest::newRow("condition on a number field") << "IIfLike(5 > 3)"
                                                 << "yes";
}

void tst_Scripts::reportFormulaTextsFromValues()
{
    QFETCH(QString, formula);
    QFETCH(QString, expected);
    vbs::Engine e;
    QVERIFY(e.addCode(QStringLiteral(
        "Function IIfLike(c)\r\n If c Then IIfLike = \"yes\" Else IIfLike = \"no\"\r\nEnd Function")));
    bool ok = false;
    const QVariant v = e.eval(formula, &ok);
    QVERIFY2(ok, qPrintable(e.errorText()));
    QCOMPARE(v.toBool() && v.typeId() == QMetaType::Bool ? QStringLiteral("True") : v.toString(), expected);
}

QTEST_GUILESS_MAIN(tst_Scripts)
#include "tst_vbs_scripts.moc"
