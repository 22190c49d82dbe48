// Host API of the script engine: code, procedures, expressions, named objects, errors and limits.
#include "Engine.h"

#include <QDateTime>
#include <QObject>
#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>

namespace {

// A program service object seen through the meta-object system, like "xConfig".
class ConfigObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString almacen READ almacen WRITE setAlmacen)
    Q_PROPERTY(int terminal MEMBER m_terminal)
    Q_PROPERTY(double iva READ iva CONSTANT)
    Q_CLASSINFO("DefaultMember", "getValue")
public:
    // A parentless object returned by an invokable would be the script's to delete.
    ConfigObject() { m_child.setParent(this); }
    QString almacen() const { return m_almacen; }
    void setAlmacen(const QString &a) { m_almacen = a; }
    double iva() const { return 0.16; }
    Q_INVOKABLE QString getValue(const QString &key) const
    {
        return key == QLatin1String("LOCALE-ID") ? QStringLiteral("es-mx") : QString();
    }
    Q_INVOKABLE int add(int a, int b = 10) const { return a + b; }
    Q_INVOKABLE QVariant echo(const QVariant &v) const { return v; }
    Q_INVOKABLE QDateTime stamp() const { return QDateTime(QDate(2026, 3, 4), QTime(10, 5, 0)); }
    Q_INVOKABLE QObject *child() { return &m_child; }
    Q_INVOKABLE void remember(const QString &text) { m_log << text; }
    Q_INVOKABLE QString nameOf(QObject *o) const { return o ? o->objectName() : QStringLiteral("none"); }
    Q_INVOKABLE QVariantList pair() const { return {1, QStringLiteral("dos")}; }
    Q_PROPERTY(QStringList lista READ lista)
    QStringList lista() const { return {QStringLiteral("a"), QStringLiteral("b")}; }
    QStringList m_log;
    QString m_almacen = QStringLiteral("CENTRO");
    int m_terminal = 3;
    QObject m_child;
};

// What the meta-object system cannot express: indexed properties, ByRef and enumeration.
class GridObject : public vbs::HostObject {
public:
    QString typeName() const override { return QStringLiteral("Detalle"); }
    bool get(const vbs::Name &name, vbs::Args &args, vbs::Value &result) override
    {
        if (name.key == QLatin1String("detalle")) {
            if (args.size() != 2)
                vbs::raise(450);
            const int r = vbs::toLong(args[0]), c = vbs::toLong(args[1]);
            if (r < 0 || r >= 2 || c < 0 || c >= 2)
                vbs::raise(9);
            result = m_cells[r][c];
            return true;
        }
        if (name.key == QLatin1String("rows")) {
            result = vbs::Value::lng(2);
            return true;
        }
        if (name.key == QLatin1String("split")) { // split(text, ByRef head, ByRef tail)
            const QString t = vbs::toString(args[0]);
            args[1] = vbs::Value(t.section(QLatin1Char(' '), 0, 0));
            args[2] = vbs::Value(t.section(QLatin1Char(' '), 1));
            result = vbs::Value::boolean(true);
            return true;
        }
        return false;
    }
    bool set(const vbs::Name &name, vbs::Args &args, const vbs::Value &value, bool) override
    {
        if (name.key != QLatin1String("detalle") || args.size() != 2)
            return false;
        m_cells[vbs::toLong(args[0])][vbs::toLong(args[1])] = value;
        return true;
    }
    bool getDefault(vbs::Args &args, vbs::Value &result) override
    {
        vbs::Name n{-1, QStringLiteral("Detalle"), QStringLiteral("detalle")};
        return get(n, args, result);
    }
    bool enumerate(vbs::ValueList &items) override
    {
        for (auto &row : m_cells)
            for (auto &cell : row)
                items.push_back(cell);
        return true;
    }
    vbs::Value m_cells[2][2] = {{vbs::Value(QStringLiteral("A1")), vbs::Value::lng(1)},
                                {vbs::Value(QStringLiteral("A2")), vbs::Value::lng(2)}};
};

class CountingObject : public vbs::HostObject {
public:
    explicit CountingObject(int *alive) : m_alive(alive) { ++*m_alive; }
    ~CountingObject() override { --*m_alive; }
    QString typeName() const override { return QStringLiteral("Counter"); }
    bool get(const vbs::Name &name, vbs::Args &, vbs::Value &result) override
    {
        if (name.key != QLatin1String("value"))
            return false;
        result = vbs::Value::lng(7);
        return true;
    }

private:
    int *m_alive;
};

} // namespace

class tst_Engine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void laterCodeCallsEarlierCode();
    void runPassesArgumentsAndReturnsResult();
    void callWritesByRefArgumentsBack();
    void evalReturnsQtValues_data();
    void evalReturnsQtValues();
    void compileErrorReportsLine();
    void compileErrors_data();
    void compileErrors();
    void runtimeErrorReportsDescriptionAndLine();
    void engineIsUsableAfterErrorAndReset();
    void resetForgetsCodeAndObjects();
    void qobjectMembersIgnoreCase();
    void qobjectMethodsAndConversions();
    void hostObjectIndexedByRefAndEnumeration();
    void hostFunctionsAndProgIds();
    void statementBudgetStopsEndlessLoops();
    void cancelStopsARunningScriptFromAnotherThread();
    void budgetIsNotCaughtByOnErrorResumeNext();
    void localeIsKeptPerEngine();
    void hostErrorsMapHresults_data();
    void hostErrorsMapHresults();
    void hostLocaleNames_data();
    void hostLocaleNames();
    void eventScriptPreparation();
    void objectsAreReleasedOnReset();
    void deepRecursionFailsCleanly();
};

void tst_Engine::laterCodeCallsEarlierCode()
{
    vbs::Engine e;
    QVERIFY(e.addCode(QStringLiteral("Function Iva(x)\n Iva = x * 0.16\nEnd Function")));
    QVERIFY(e.addCode(QStringLiteral("Function Total(x)\n Total = x + Iva(x)\nEnd Function")));
    QVariant r;
    QVERIFY2(e.run(QStringLiteral("total"), {100}, &r), qPrintable(e.errorText()));
    QCOMPARE(r.toDouble(), 116.0);
    QVERIFY(e.hasProcedure(QStringLiteral("IVA")));
    QVERIFY(!e.hasProcedure(QStringLiteral("Missing")));
}

void tst_Engine::runPassesArgumentsAndReturnsResult()
{
    vbs::Engine e;
    QVERIFY(e.addCode(QStringLiteral("Dim log\nSub Note(a, b)\n log = a & \"|\" & b\nEnd Sub")));
    QVERIFY(e.run(QStringLiteral("Note"), {QStringLiteral("x"), 2.5}));
    QCOMPARE(vbs::toString(e.global(QStringLiteral("log"))), QStringLiteral("x|2.5"));
    QVERIFY(!e.run(QStringLiteral("Note"), {1}));
    QCOMPARE(e.lastError().number, 450);
    QVERIFY(!e.run(QStringLiteral("NoSuchSub")));
    QCOMPARE(e.lastError().number, 35);
}

void tst_Engine::callWritesByRefArgumentsBack()
{
    vbs::Engine e;
    QVERIFY(e.addCode(QStringLiteral("Sub Bump(ByRef a, ByVal b)\n a = a + 1 : b = b + 1\nEnd Sub")));
    vbs::ValueList args{vbs::Value::integer(1), vbs::Value::integer(1)};
    QVERIFY(e.call(QStringLiteral("Bump"), args));
    QCOMPARE(vbs::toLong(args[0]), 2);
    QCOMPARE(vbs::toLong(args[1]), 1);
}

void tst_Engine::evalReturnsQtValues_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("integer arithmetic") << "2 + 3 * 4" << QVariant(14);
    QTest::newRow("double") << "1250.5 * 1.16" << QVariant(1450.58);
    QTest::newRow("report formula")
        << "(DateSerial(2026,3,4) + TimeSerial(10, 5, 0)) > Now() Or 1250.5 * 1.16 > \"1000\""
        << QVariant(true);
    QTest::newRow("text") << "\"Total: \" & FormatNumber(1234.5, 2)"
                          << QVariant(QStringLiteral("Total: 1,234.50"));
    QTest::newRow("text with line break")
        << "\"a\" & Chr(13) & Chr(10) & \"b\"" << QVariant(QStringLiteral("a\r\nb"));
    QTest::newRow("date") << "DateSerial(2026, 3, 4) + TimeSerial(10, 5, 0)"
                          << QVariant(QDateTime(QDate(2026, 3, 4), QTime(10, 5, 0)));
    QTest::newRow("Null") << "Null" << QVariant::fromValue(nullptr);
    QTest::newRow("Empty") << "Empty" << QVariant();
    QTest::newRow("undeclared name is Empty") << "0 + NotDeclared" << QVariant(0);
}

void tst_Engine::evalReturnsQtValues()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, expected);
    vbs::Engine e;
    bool ok = false;
    const QVariant v = e.eval(expression, &ok);
    QVERIFY2(ok, qPrintable(e.errorText()));
    QCOMPARE(v, expected);
}

void tst_Engine::compileErrorReportsLine()
{
    vbs::Engine e;
    QVERIFY(!e.addCode(QStringLiteral("Sub A()\n x = 1\n If x Then\nEnd Sub")));
    QVERIFY(e.lastError().compile);
    QCOMPARE(e.lastError().line, 4);
    QCOMPARE(e.lastError().source, QStringLiteral("Microsoft VBScript compilation error"));
    QVERIFY(!e.addCode(QStringLiteral("x = \"open")));
    QCOMPARE(e.lastError().number, 1033);
    QCOMPARE(e.errorText(), QStringLiteral("Unterminated string constant (line 1)"));
}

void tst_Engine::compileErrors_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("line");
    QTest::newRow("Exit Do outside Do") << "For i = 1 To 2\n Exit Do\nNext" << 1039 << 2;
    QTest::newRow("Exit Function in a Sub") << "Sub S\n Exit Function\nEnd Sub" << 1039 << 2;
    QTest::newRow("Exit Do in While") << "While True\n Exit Do\nWend" << 1039 << 2;
    QTest::newRow("missing Then") << "If x\n y = 1\nEnd If" << 1017 << 1;
    QTest::newRow("missing Next") << "For i = 1 To 2\n x = 1\n" << 1020 << 3;
    QTest::newRow("Loop without Do") << "x = 1\nLoop" << 1038 << 2;
    QTest::newRow("unterminated string") << "x = \"abc" << 1033 << 1;
    QTest::newRow("bad character") << "x = 1 $ 2" << 1032 << 1;
    QTest::newRow("expected expression") << "x = * 2" << 1023 << 1;
    QTest::newRow("Property outside a Class") << "Property Get P\nEnd Property" << 1048 << 1;
    QTest::newRow("two defaults") << "Class C\n Public Default Function A : End Function\n"
                                     " Public Default Function B : End Function\nEnd Class"
                                  << 1052 << 3;
    QTest::newRow("Property Let without argument")
        << "Class C\n Property Let P\n End Property\nEnd Class" << 1054 << 2;
    QTest::newRow("missing End Class") << "Class C\n Dim a\n" << 1047 << 3;
    QTest::newRow("statement after expression") << "x = 1 2" << 1025 << 1;
}

void tst_Engine::compileErrors()
{
    QFETCH(QString, code);
    QFETCH(int, number);
    QFETCH(int, line);
    vbs::Engine e;
    QVERIFY(!e.addCode(code));
    QCOMPARE(e.lastError().number, number);
    QCOMPARE(e.lastError().line, line);
    QVERIFY(e.lastError().compile);
}

void tst_Engine::runtimeErrorReportsDescriptionAndLine()
{
    vbs::Engine e;
    QVERIFY(e.addCode(QStringLiteral("Sub Fail()\n Dim a\n a = 1\n a = a / 0\nEnd Sub")));
    QVERIFY(!e.run(QStringLiteral("Fail")));
    QCOMPARE(e.lastError().number, 11);
    QCOMPARE(e.lastError().line, 4);
    QCOMPARE(e.errorText(), QStringLiteral("Division by zero (line 4)"));
    bool ok = true;
    e.eval(QStringLiteral("CLng(\"x\")"), &ok);
    QVERIFY(!ok);
    QCOMPARE(e.lastError().number, 13);
    QCOMPARE(e.errorText(), QStringLiteral("Type mismatch (line 1)"));
}

void tst_Engine::engineIsUsableAfterErrorAndReset()
{
    vbs::Engine e;
    QVERIFY(!e.addCode(QStringLiteral("On Error GoTo 0\nx = 1 / 0")));
    QVERIFY(e.hasError());
    e.reset();
    QVERIFY(!e.hasError());
    QVERIFY(e.addCode(QStringLiteral("Function F : F = 42 : End Function")));
    QVariant r;
    QVERIFY(e.run(QStringLiteral("F"), {}, &r));
    QCOMPARE(r.toInt(), 42);
    // an error inside a With block and a nested call leaves no state behind
    QVERIFY(e.addCode(QStringLiteral(
        "Sub G\n With CreateObject(\"Scripting.Dictionary\")\n .Add 1, 1\n .Add 1, 1\n End With\nEnd Sub")));
    QVERIFY(!e.run(QStringLiteral("G")));
    QCOMPARE(e.lastError().number, 457);
    QCOMPARE(e.eval(QStringLiteral("1 + 1")).toInt(), 2);
}

void tst_Engine::resetForgetsCodeAndObjects()
{
    vbs::Engine e;
    ConfigObject config;
    e.addObject(QStringLiteral("xConfig"), &config);
    QVERIFY(e.addCode(QStringLiteral("Dim kept : kept = 1\nSub S : End Sub")));
    e.reset();
    QVERIFY(!e.hasProcedure(QStringLiteral("S")));
    QVERIFY(e.global(QStringLiteral("kept")).isEmpty());
    bool ok = true;
    e.eval(QStringLiteral("xConfig.almacen"), &ok);
    QVERIFY(!ok); // the named object is gone: reading a member of Empty
    QCOMPARE(e.lastError().number, 424);
}

void tst_Engine::qobjectMembersIgnoreCase()
{
    vbs::Engine e;
    ConfigObject config;
    e.addObject(QStringLiteral("xConfig"), &config);
    QCOMPARE(e.eval(QStringLiteral("XCONFIG.Almacen")).toString(), QStringLiteral("CENTRO"));
    QVERIFY(e.addCode(QStringLiteral("xconfig.ALMACEN = \"NORTE\" : xConfig.Terminal = \"5\"")));
    QCOMPARE(config.almacen(), QStringLiteral("NORTE"));
    QCOMPARE(config.m_terminal, 5);
    QCOMPARE(e.eval(QStringLiteral("xConfig.iva * 100")).toDouble(), 16.0);
    QVERIFY(!e.addCode(QStringLiteral("xConfig.iva = 1")));
    QVERIFY(!e.addCode(QStringLiteral("x = xConfig.NoSuchMember")));
    QCOMPARE(e.lastError().number, 438);
    QCOMPARE(e.lastError().description, QStringLiteral("Object doesn't support this property or method"));
    QCOMPARE(e.lastError().detail, QStringLiteral("NoSuchMember"));
    QVERIFY(e.errorText().startsWith(QStringLiteral("Object doesn't support this property or method: 'NoSuchMember'")));
}

void tst_Engine::qobjectMethodsAndConversions()
{
    vbs::Engine e;
    ConfigObject config;
    e.addObject(QStringLiteral("xConfig"), &config);
    QCOMPARE(e.eval(QStringLiteral("xConfig.getValue(\"LOCALE-ID\")")).toString(), QStringLiteral("es-mx"));
    QCOMPARE(e.eval(QStringLiteral("xConfig(\"LOCALE-ID\")")).toString(), QStringLiteral("es-mx"));
    QCOMPARE(e.eval(QStringLiteral("xConfig.Add(1)")).toInt(), 11);
    QCOMPARE(e.eval(QStringLiteral("xConfig.add(\"2\", 3)")).toInt(), 5);
    QCOMPARE(e.eval(QStringLiteral("TypeName(xConfig.echo(1.5))")).toString(), QStringLiteral("Double"));
    QCOMPARE(e.eval(QStringLiteral("Year(xConfig.Stamp)")).toInt(), 2026);
    QCOMPARE(e.eval(QStringLiteral("TypeName(xConfig.child())")).toString(), QStringLiteral("QObject"));
    QVERIFY(e.addCode(QStringLiteral("xConfig.remember \"uno\"\nCall xConfig.Remember(\"dos\")")));
    QCOMPARE(config.m_log, QStringList({QStringLiteral("uno"), QStringLiteral("dos")}));
    QVERIFY(!e.addCode(QStringLiteral("xConfig.add 1, 2, 3")));
    QCOMPARE(e.lastError().number, 450);
    // objects, lists and indexed list properties cross the boundary
    config.m_child.setObjectName(QStringLiteral("hijo"));
    QCOMPARE(e.eval(QStringLiteral("xConfig.nameOf(xConfig.child())")).toString(), QStringLiteral("hijo"));
    QCOMPARE(e.eval(QStringLiteral("xConfig.nameOf(Nothing)")).toString(), QStringLiteral("none"));
    QCOMPARE(e.eval(QStringLiteral("UBound(xConfig.pair()) & xConfig.pair()(1)")).toString(),
             QStringLiteral("1dos"));
    QCOMPARE(e.eval(QStringLiteral("xConfig.Lista(1)")).toString(), QStringLiteral("b"));
    QCOMPARE(e.eval(QStringLiteral("xConfig.child() Is xConfig.Child")).toBool(), true);
    QVERIFY(!e.addCode(QStringLiteral("x = xConfig.nameOf(CreateObject(\"Scripting.Dictionary\"))")));
    QCOMPARE(e.lastError().number, 13);
    // a deleted QObject is an object variable that is no longer set
    auto *temp = new QObject;
    e.addObject(QStringLiteral("xTemp"), temp);
    delete temp;
    QVERIFY(!e.addCode(QStringLiteral("x = xTemp.objectName")));
    QCOMPARE(e.lastError().number, 91);
}

void tst_Engine::hostObjectIndexedByRefAndEnumeration()
{
    vbs::Engine e;
    e.addObject(QStringLiteral("xGrid"), vbs::HostObjectRef(new GridObject));
    QCOMPARE(e.eval(QStringLiteral("xGrid.Detalle(1, 0)")).toString(), QStringLiteral("A2"));
    QCOMPARE(e.eval(QStringLiteral("xGrid(0, 1) + xGrid(1, 1)")).toInt(), 3);
    QVERIFY(e.addCode(QStringLiteral("xGrid.Detalle(0, 1) = 10")));
    QCOMPARE(e.eval(QStringLiteral("xGrid.detalle(0, 1)")).toInt(), 10);
    QVERIFY(e.addCode(QStringLiteral("Dim h, t, okSplit\nokSplit = xGrid.Split(\"uno dos tres\", h, t)")));
    QCOMPARE(vbs::toString(e.global(QStringLiteral("h"))), QStringLiteral("uno"));
    QCOMPARE(vbs::toString(e.global(QStringLiteral("t"))), QStringLiteral("dos tres"));
    QVERIFY(e.addCode(QStringLiteral("Dim n, c : n = 0\nFor Each c In xGrid : n = n + 1 : Next")));
    QCOMPARE(vbs::toLong(e.global(QStringLiteral("n"))), 4);
    QVERIFY(!e.addCode(QStringLiteral("x = xGrid.Detalle(5, 0)")));
    QCOMPARE(e.lastError().number, 9);
    QCOMPARE(e.eval(QStringLiteral("TypeName(xGrid)")).toString(), QStringLiteral("Detalle"));
}

void tst_Engine::hostFunctionsAndProgIds()
{
    vbs::Engine e;
    QStringList traced;
    e.addFunction(QStringLiteral("trace"), [&](vbs::Args &a) {
        traced << vbs::toString(a[0]);
        return vbs::Value();
    });
    int alive = 0;
    e.registerProgId(QStringLiteral("Mostrador.Counter"),
                     [&] { return vbs::HostObjectRef(new CountingObject(&alive)); });
    QVERIFY(e.addCode(QStringLiteral("trace \"a\"\nCall Trace(\"b\")\nDim c : Set c = "
                                     "CreateObject(\"mostrador.counter\")\ntrace c.Value")));
    QCOMPARE(traced, QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("7")}));
    QCOMPARE(alive, 1);
    QVERIFY(e.addCode(QStringLiteral("Set c = Nothing")));
    QCOMPARE(alive, 0);
    QVERIFY(!e.addCode(QStringLiteral("Set c = CreateObject(\"Not.Registered\")")));
    QCOMPARE(e.lastError().number, 429);
}

void tst_Engine::statementBudgetStopsEndlessLoops()
{
    vbs::Engine e;
    e.setStatementBudget(10000);
    QVERIFY(!e.addCode(QStringLiteral("Do\n x = x + 1\nLoop")));
    QVERIFY(e.errorText().contains(QStringLiteral("budget")));
    QVERIFY(!e.addCode(QStringLiteral("Sub R : R2 : End Sub\nSub R2 : Do : Loop : End Sub\nR")));
    // the budget is per call: a short script still runs afterwards
    QVERIFY(e.addCode(QStringLiteral("For i = 1 To 100 : y = y + i : Next")));
    QCOMPARE(vbs::toLong(e.global(QStringLiteral("y"))), 5050);
}

void tst_Engine::cancelStopsARunningScriptFromAnotherThread()
{
    vbs::Engine e;
    QVERIFY(e.addCode(QStringLiteral("Sub Forever\n Do : n = n + 1 : Loop\nEnd Sub")));
    std::atomic<bool> started{false};
    std::thread stopper([&] {
        while (!started.load())
            std::this_thread::yield();
        QThread::msleep(50);
        e.cancel();
    });
    e.addFunction(QStringLiteral("Started"), [&](vbs::Args &) {
        started = true;
        return vbs::Value();
    });
    QVERIFY(e.addCode(QStringLiteral("Sub Go : Started : Forever : End Sub")));
    const bool ran = e.run(QStringLiteral("Go"));
    stopper.join();
    QVERIFY(!ran);
    QVERIFY(e.errorText().contains(QStringLiteral("cancel")));
    QCOMPARE(e.eval(QStringLiteral("2 * 2")).toInt(), 4);
}

void tst_Engine::budgetIsNotCaughtByOnErrorResumeNext()
{
    vbs::Engine e;
    e.setStatementBudget(1000);
    QVERIFY(!e.addCode(QStringLiteral("On Error Resume Next\nDo : Loop\nreached = True")));
    QVERIFY(e.global(QStringLiteral("reached")).isEmpty());
}

void tst_Engine::localeIsKeptPerEngine()
{
    vbs::Engine mx, us;
    QVERIFY(mx.setLocale(QStringLiteral("es-mx")));
    QVERIFY(us.setLocale(1033));
    QCOMPARE(mx.eval(QStringLiteral("CStr(DateSerial(2026, 3, 4))")).toString(),
             QStringLiteral("04/03/2026"));
    QCOMPARE(us.eval(QStringLiteral("CStr(DateSerial(2026, 3, 4))")).toString(), QStringLiteral("3/4/2026"));
    QVERIFY(us.addCode(QStringLiteral("SetLocale \"es-es\"")));
    QCOMPARE(us.eval(QStringLiteral("CStr(1.5)")).toString(), QStringLiteral("1,5"));
    QCOMPARE(mx.eval(QStringLiteral("CStr(1.5)")).toString(), QStringLiteral("1.5"));
    QVERIFY(!mx.setLocale(QStringLiteral("xx-yy")));
}

void tst_Engine::hostErrorsMapHresults_data()
{
    QTest::addColumn<uint>("raised");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("E_OUTOFMEMORY") << 0x8007000Eu << 7 << QStringLiteral("Out of memory");
    QTest::newRow("VBScript facility") << 0x800A0035u << 53 << QStringLiteral("File not found");
    QTest::newRow("DISP_E_TYPEMISMATCH") << 0x80020005u << 13 << QStringLiteral("Type mismatch");
    QTest::newRow("E_ACCESSDENIED") << 0x80070005u << 70 << QStringLiteral("Permission denied");
    QTest::newRow("plain number") << 5u << 5 << QStringLiteral("Invalid procedure call or argument");
    QTest::newRow("other HRESULT") << 0x80040201u << int(0x80040201u) << QStringLiteral("Unknown runtime error");
}

void tst_Engine::hostErrorsMapHresults()
{
    QFETCH(uint, raised);
    QFETCH(int, number);
    QFETCH(QString, description);
    vbs::Engine e;
    e.addFunction(QStringLiteral("failing"), [raised](vbs::Args &) -> vbs::Value { vbs::raise(int(raised)); });
    QVERIFY(e.addCode(QStringLiteral("On Error Resume Next\nfailing\nn = Err.Number : d = Err.Description")));
    QCOMPARE(e.global(QStringLiteral("n")).rawInt(), number);
    QCOMPARE(e.global(QStringLiteral("d")).rawString(), description);
    QVERIFY(!e.addCode(QStringLiteral("failing")));
    QCOMPARE(e.lastError().number, number);
}

void tst_Engine::hostLocaleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lcid"); // 0: refused
    // what QLocale::system().name() gives on workstations, and VBScript's own short names
    QTest::newRow("es_MX") << QStringLiteral("es_MX") << 2058;
    QTest::newRow("de_AT") << QStringLiteral("de_AT") << 3079;
    QTest::newRow("fr_CA") << QStringLiteral("fr_CA") << 3084;
    QTest::newRow("nb_NO") << QStringLiteral("nb_NO") << 1044;
    QTest::newRow("sr_Latn_RS") << QStringLiteral("sr_Latn_RS") << 2074;
    QTest::newRow("ja_JP") << QStringLiteral("ja_JP") << 1041;
    QTest::newRow("zh-tw") << QStringLiteral("zh-tw") << 1028;
    QTest::newRow("es-ve") << QStringLiteral("es-ve") << 8202;
    QTest::newRow("unknown") << QStringLiteral("xx-yy") << 0;
    QTest::newRow("C") << QStringLiteral("C") << 0;
}

void tst_Engine::hostLocaleNames()
{
    QFETCH(QString, name);
    QFETCH(int, lcid);
    vbs::Engine e;
    QCOMPARE(e.setLocale(name), lcid != 0);
    QCOMPARE(e.locale(), lcid ? lcid : 1033);
    if (lcid) {
        QVERIFY(e.setLocale(1033));
        QVERIFY(e.setLocale(lcid)); // and by LCID
        QCOMPARE(e.eval(QStringLiteral("GetLocale()")).toInt(), lcid);
    }
}

void tst_Engine::eventScriptPreparation()
{
    // how event scripts are run: locale procedure, library, then the script wrapped as a Sub
    vbs::Engine e;
    ConfigObject config;
    e.addObject(QStringLiteral("xConfig"), &config);
    QVERIFY(e.addCode(QStringLiteral(" Sub setZEVSettings()\r\n SetLocale \"es-mx\"\r\n end sub")));
    QVERIFY(e.run(QStringLiteral("setZEVSettings")));
    QVERIFY(e.addCode(QStringLiteral("Function Moneda(x)\r\n Moneda = FormatCurrency(x)\r\nEnd Function")));
    QVERIFY(e.addCode(QStringLiteral(
        "sub OnTicketPrint()\r\nxConfig.remember Moneda(-1234.5) & \" \" & Date()\r\nend sub")));
    QVERIFY2(e.run(QStringLiteral("OnTicketPrint")), qPrintable(e.errorText()));
    QCOMPARE(config.m_log.size(), 1);
    QVERIFY(config.m_log[0].startsWith(QStringLiteral("-$1,234.50 ")));
    QCOMPARE(config.m_log[0].mid(13, 1), QStringLiteral("/")); // dd/MM/yyyy
}

void tst_Engine::objectsAreReleasedOnReset()
{
    vbs::Engine e;
    int alive = 0;
    e.addObject(QStringLiteral("xCounter"), vbs::HostObjectRef(new CountingObject(&alive)));
    QVERIFY(e.addCode(QStringLiteral("Dim keep : Set keep = xCounter\nClass Watcher\n Sub Class_Terminate : "
                                     "xCounter.Value : End Sub\nEnd Class\nDim w : Set w = New Watcher")));
    QCOMPARE(alive, 1);
    e.reset();
    QCOMPARE(alive, 0);
}

void tst_Engine::deepRecursionFailsCleanly()
{
    vbs::Engine e;
    QVERIFY(e.addCode(QStringLiteral("Function Down(n) : Down = Down(n + 1) : End Function")));
    QVERIFY(!e.run(QStringLiteral("Down"), {0}));
    QCOMPARE(e.lastError().number, 28);
    QCOMPARE(e.eval(QStringLiteral("1")).toInt(), 1);
}

QTEST_GUILESS_MAIN(tst_Engine)
#include "tst_vbs_engine.moc"
