// Scripts that once crashed the host (fixed buffers, native stack exhaustion, recursive frees) must
// end in a VBScript error or a result, and leave the engine usable.
#include "Engine.h"

#include <QTest>

class tst_Limits : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void endsInErrorNotSignal_data();
    void endsInErrorNotSignal();
    void deepCallsWithLongExpressions();
    void longChainsAreFreedWithoutRecursion_data();
    void longChainsAreFreedWithoutRecursion();
    void stringLimitHoldsEverywhere_data();
    void stringLimitHoldsEverywhere();
    void hostLimitsStopTheCall_data();
    void hostLimitsStopTheCall();
};

namespace {

// A host object whose method hands back a text longer than scripts may hold.
class BigText : public vbs::HostObject {
public:
    bool get(const vbs::Name &name, vbs::Args &, vbs::Value &result) override
    {
        if (name.key != QLatin1String("text"))
            return false;
        result = vbs::Value(QString(vbs::kMaxStringLength + 1, QLatin1Char('x')));
        return true;
    }
    bool getDefault(vbs::Args &args, vbs::Value &result) override
    {
        vbs::Name n;
        n.key = QStringLiteral("text");
        return get(n, args, result);
    }
};

} // namespace

namespace {

QString repeat(const QString &s, int n)
{
    QString out;
    out.reserve(s.size() * n);
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

} // namespace

void tst_Limits::endsInErrorNotSignal_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("error"); // 0: runs; the script sets r to "ok"

    QTest::newRow("builtin with 12 arguments")
        << QStringLiteral("meses = Array(\"Ene\",\"Feb\",\"Mar\",\"Abr\",\"May\",\"Jun\",\"Jul\",\"Ago\","
                          "\"Sep\",\"Oct\",\"Nov\",\"Dic\")\nIf UBound(meses) = 11 And meses(11) = \"Dic\" "
                          "Then r = \"ok\"")
        << 0;
    QTest::newRow("builtin with 255 arguments")
        << QStringLiteral("a = Array(") + repeat(QStringLiteral("1,"), 254) +
               QStringLiteral("1)\nIf UBound(a) = 254 Then r = \"ok\"")
        << 0;
    QTest::newRow("builtin with too many arguments") << QStringLiteral("x = Left(1,2,3,4,5,6,7,8,9,10)") << 450;
    QTest::newRow("50000 additions") << QStringLiteral("x = 1") + repeat(QStringLiteral(" + 1"), 50000) << 28;
    QTest::newRow("long but legal chain")
        << QStringLiteral("x = 0") + repeat(QStringLiteral(" + 1"), 2000) + QStringLiteral("\nIf x = 2000 Then r = \"ok\"")
        << 0;
    QTest::newRow("130000 negations") << QStringLiteral("x = ") + repeat(QStringLiteral("-"), 130000) + QStringLiteral("1")
                                      << 28;
    QTest::newRow("130000 Not") << QStringLiteral("x = ") + repeat(QStringLiteral("Not "), 130000) + QStringLiteral("1")
                                << 28;
    QTest::newRow("130000 unary plus") << QStringLiteral("x = ") + repeat(QStringLiteral("+"), 130000) + QStringLiteral("1")
                                       << 28;
    QTest::newRow("12000 indexes") << QStringLiteral("x = a") + repeat(QStringLiteral("(1)"), 12000) << 28;
    QTest::newRow("35000 members") << QStringLiteral("x = a") + repeat(QStringLiteral(".b"), 35000) << 28;
    QTest::newRow("35000 members as statement") << QStringLiteral("a") + repeat(QStringLiteral(".b"), 35000) << 28;
    QTest::newRow("nested parentheses") << QStringLiteral("x = ") + repeat(QStringLiteral("("), 5000) << 28;
    QTest::newRow("power chain") << QStringLiteral("x = 1") + repeat(QStringLiteral("^1"), 20000) << 28;
    QTest::newRow("nested Eval")
        << QStringLiteral("Function E(n) : If n > 0 Then E = Eval(\"E(\" & (n - 1) & \")\") Else E = 0\nEnd Function\n"
                          "x = E(100000)")
        << 28;
    QTest::newRow("recursive default member")
        << QStringLiteral("Class C\nPublic Default Property Get V : V = Me + 1 : End Property\nEnd Class\n"
                          "Set o = New C : x = o + 1")
        << 28;
}

void tst_Limits::endsInErrorNotSignal()
{
    QFETCH(QString, code);
    QFETCH(int, error);
    vbs::Engine e;
    const bool ok = e.addCode(code);
    if (error) {
        QVERIFY(!ok);
        QCOMPARE(e.lastError().number, error);
    } else {
        QVERIFY2(ok, qPrintable(e.errorText()));
        QCOMPARE(e.global(QStringLiteral("r")).rawString(), QStringLiteral("ok"));
    }
    QCOMPARE(e.eval(QStringLiteral("2 * 21")).toInt(), 42);
}

void tst_Limits::deepCallsWithLongExpressions()
{
    // each level's expression is legal; together they would overrun the native stack
    vbs::Engine e;
    const QString body = QStringLiteral("0") + repeat(QStringLiteral(" + (n"), 150) + repeat(QStringLiteral(")"), 150);
    QVERIFY2(e.addCode(QStringLiteral("Function F(n) : If n > 0 Then F = F(n - 1) + ") + repeat(QStringLiteral("1 + "), 2500) +
                       QStringLiteral("0 Else F = 0\nEnd Function\nFunction G(n) : If n > 0 Then G = ") + body +
                       QStringLiteral(" - 150 * n + G(n - 1) Else G = 0\nEnd Function")),
             qPrintable(e.errorText()));
    bool ok = false;
    QCOMPARE(e.eval(QStringLiteral("F(3)"), &ok).toInt(), 7500);
    QVERIFY(ok);
    for (const QString &f : {QStringLiteral("F(800)"), QStringLiteral("G(800)")}) {
        const QVariant v = e.eval(f, &ok);
        // enough stack to finish, or error 28: never a crash
        if (!ok)
            QCOMPARE(e.lastError().number, 28);
    }
    QCOMPARE(e.eval(QStringLiteral("F(1)")).toInt(), 2500);
}

void tst_Limits::longChainsAreFreedWithoutRecursion_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("terminated"); // Class_Terminate calls counted by the script, -1: none

    QTest::newRow("linked list of 2 million instances")
        << QStringLiteral("Class Node : Public nxt : End Class\nSet head = Nothing\n"
                          "For i = 1 To 2000000 : Set n = New Node : Set n.nxt = head : Set head = n : Next\n"
                          "Set n = Nothing : Set head = Nothing")
        << -1;
    QTest::newRow("terminating list")
        << QStringLiteral("Class Node : Public nxt\nSub Class_Terminate : count = count + 1 : End Sub\nEnd Class\n"
                          "count = 0 : Set head = Nothing\n"
                          "For i = 1 To 100000 : Set n = New Node : Set n.nxt = head : Set head = n : Next\n"
                          "Set n = Nothing : Set head = Nothing")
        << 100000;
    QTest::newRow("self-referencing instance extended")
        << QStringLiteral("Class Node : Public nxt : End Class\nSet a = New Node : Set a.nxt = a\n"
                          "For i = 1 To 300000 : Set b = New Node : Set b.nxt = a.nxt : Set a.nxt = b : Next\n"
                          "Set b = Nothing : Set a.nxt = Nothing : Set a = Nothing")
        << -1;
    QTest::newRow("nested arrays")
        << QStringLiteral("a = Array()\nFor i = 1 To 500000 : a = Array(a) : Next\na = Empty")
        << -1;
    QTest::newRow("nested Dictionaries")
        << QStringLiteral("Set d = CreateObject(\"Scripting.Dictionary\")\n"
                          "For i = 1 To 300000 : Set n = CreateObject(\"Scripting.Dictionary\") : n.Add \"k\", d : "
                          "Set d = n : Next\nSet n = Nothing : Set d = Nothing")
        << -1;
}

void tst_Limits::longChainsAreFreedWithoutRecursion()
{
    QFETCH(QString, code);
    QFETCH(int, terminated);
    vbs::Engine e;
    QVERIFY2(e.addCode(code), qPrintable(e.errorText()));
    if (terminated >= 0)
        QCOMPARE(e.global(QStringLiteral("count")).rawInt(), terminated);
    // whatever is still alive goes with the engine's variables
    QVERIFY(e.addCode(code));
    e.reset();
}

void tst_Limits::stringLimitHoldsEverywhere_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("Join") << QStringLiteral("s = Join(Array(Space(40000000), Space(40000000)), \"\")");
    QTest::newRow("Join separator") << QStringLiteral("s = Join(Array(1, 2, 3), Space(40000000))");
    QTest::newRow("Replace") << QStringLiteral("s = Replace(String(1000000, \"a\"), \"a\", String(100, \"b\"))");
    QTest::newRow("Replace text compare")
        << QStringLiteral("s = Replace(String(1000000, \"a\"), \"A\", String(100, \"b\"), 1, -1, 1)");
    QTest::newRow("Escape") << QStringLiteral("s = Escape(String(20000000, ChrW(1000)))");
    QTest::newRow("concatenation") << QStringLiteral("s = Space(40000000) & Space(40000000)");
    QTest::newRow("appending") << QStringLiteral("s = Space(40000000) : s = s & Space(40000000)");
    QTest::newRow("host method") << QStringLiteral("s = xBig.Text");
    QTest::newRow("host default member") << QStringLiteral("s = xBig & \"\"");
    QTest::newRow("host function") << QStringLiteral("s = bigText()");
}

void tst_Limits::stringLimitHoldsEverywhere()
{
    QFETCH(QString, code);
    vbs::Engine e;
    e.addObject(QStringLiteral("xBig"), vbs::HostObjectRef(new BigText));
    e.addFunction(QStringLiteral("bigText"),
                  [](vbs::Args &) { return vbs::Value(QString(vbs::kMaxStringLength + 1, QLatin1Char('y'))); });
    QVERIFY(!e.addCode(code));
    QCOMPARE(e.lastError().number, 14);
    // a script may catch it and go on
    QVERIFY(e.addCode(QStringLiteral("On Error Resume Next\n") + code + QStringLiteral("\nn = Err.Number")));
    QCOMPARE(e.global(QStringLiteral("n")).rawInt(), 14);
}

void tst_Limits::hostLimitsStopTheCall_data()
{
    QTest::addColumn<qint64>("memoryLimit");
    QTest::addColumn<qint64>("timeLimit");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("error");

    const qint64 mb = 1 << 20;
    QTest::newRow("many arrays") << 200 * mb << qint64(0)
                                 << QStringLiteral("Dim a(200)\nFor i = 0 To 200 : ReDim b(4000000) : a(i) = b : Next") << 7;
    QTest::newRow("one huge array") << 200 * mb << qint64(0) << QStringLiteral("ReDim b(60000000)") << 7;
    QTest::newRow("copied arrays") << 200 * mb << qint64(0)
                                   << QStringLiteral("ReDim b(1000000)\nDim a(500)\nFor i = 0 To 500 : b(0) = i : a(i) = b : "
                                                     "Next")
                                   << 7;
    QTest::newRow("many texts") << 100 * mb << qint64(0)
                                << QStringLiteral("ReDim a(2000)\nFor i = 0 To 2000 : a(i) = Space(1000000) & i : Next")
                                << 7;
    QTest::newRow("split pieces") << 100 * mb << qint64(0)
                                  << QStringLiteral("s = String(30000000, \",\")\nDim keep(9)\n"
                                                    "For i = 0 To 9 : keep(i) = Split(s, \",\") : Next")
                                  << 7;
    QTest::newRow("instances") << 50 * mb << qint64(0)
                               << QStringLiteral("Class C : Public a, b, c, d : End Class\nReDim k(10000000)\n"
                                                 "For i = 0 To 10000000 : Set k(i) = New C : Next")
                               << 7;
    QTest::newRow("not caught by On Error") << 100 * mb << qint64(0)
                                            << QStringLiteral("On Error Resume Next\nReDim a(2000)\n"
                                                              "For i = 0 To 2000 : a(i) = Space(1000000) & i : Next")
                                            << 7;
    QTest::newRow("huge Execute") << 200 * mb << qint64(0)
                                  << QStringLiteral("t = Replace(Space(10000000), \" \", \"x=1:\")\nExecute t") << 7;
    QTest::newRow("endless loop") << qint64(0) << qint64(200) << QStringLiteral("Do : Loop") << 0;
    QTest::newRow("slow built-ins") << qint64(0) << qint64(300)
                                    << QStringLiteral("For i = 1 To 200 : s = Replace(String(30000000, \"a\"), "
                                                      "\"a\", \"bb\") : Next")
                                    << 0;
    QTest::newRow("time not caught by On Error")
        << qint64(0) << qint64(200) << QStringLiteral("On Error Resume Next\nDo : x = 1 / 0 : Loop") << 0;
}

void tst_Limits::hostLimitsStopTheCall()
{
    QFETCH(qint64, memoryLimit);
    QFETCH(qint64, timeLimit);
    QFETCH(QString, code);
    QFETCH(int, error);
    vbs::Engine e;
    e.setMemoryLimit(memoryLimit);
    e.setTimeLimit(timeLimit);
    QVERIFY(!e.addCode(code));
    QCOMPARE(e.lastError().number, error);
    if (timeLimit)
        QVERIFY2(e.errorText().contains(QStringLiteral("time limit")), qPrintable(e.errorText()));
    // the limits are per call: the engine goes on working
    e.reset();
    QCOMPARE(e.eval(QStringLiteral("Len(Space(1000))")).toInt(), 1000);
}

QTEST_GUILESS_MAIN(tst_Limits)
#include "tst_vbs_limits.moc"
