// vbsrun FILE.vbs [ARGS]: runs a script with the test helpers ok, trace, Echo, reportSuccess, getVT.
#include "Convert.h"
#include "Engine.h"
#include "Interpreter.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

void printLine(const QString &s)
{
    std::fputs(s.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString vtName(const vbs::Value &v)
{
    using vbs::VarType;
    switch (v.type()) {
    case VarType::Empty:
        return QStringLiteral("VT_EMPTY");
    case VarType::Null:
        return QStringLiteral("VT_NULL");
    case VarType::Integer:
        return QStringLiteral("VT_I2");
    case VarType::Long:
        return QStringLiteral("VT_I4");
    case VarType::Single:
        return QStringLiteral("VT_R4");
    case VarType::Double:
        return QStringLiteral("VT_R8");
    case VarType::Currency:
        return QStringLiteral("VT_CY");
    case VarType::Date:
        return QStringLiteral("VT_DATE");
    case VarType::String:
        return QStringLiteral("VT_BSTR");
    case VarType::Object:
        return QStringLiteral("VT_DISPATCH");
    case VarType::Error:
        return QStringLiteral("VT_ERROR");
    case VarType::Boolean:
        return QStringLiteral("VT_BOOL");
    case VarType::Byte:
        return QStringLiteral("VT_UI1");
    case VarType::Array:
        return QStringLiteral("VT_ARRAY|VT_VARIANT");
    }
    return QStringLiteral("VT_UNKNOWN");
}

QString text(const vbs::Value &v)
{
    if (v.isNull())
        return QStringLiteral("Null");
    if (v.isObject() || v.isArray())
        return QStringLiteral("<") + vtName(v) + QLatin1Char('>');
    return vbs::toString(v);
}

// WScript.Echo and WScript.Arguments, for scripts written for the Windows Script Host.
class WScriptHost : public vbs::HostObject {
public:
    explicit WScriptHost(QStringList args) : m_args(std::move(args)) {}
    QString typeName() const override { return QStringLiteral("Object"); }
    bool get(const vbs::Name &n, vbs::Args &a, vbs::Value &r) override
    {
        if (n.key == QLatin1String("echo")) {
            QStringList parts;
            for (int i = 0; i < a.size(); ++i)
                parts << text(a[i]);
            printLine(parts.join(QLatin1Char(' ')));
        } else if (n.key == QLatin1String("arguments")) {
            if (a.size() == 1) {
                const int i = vbs::toLong(a[0]);
                if (i < 0 || i >= m_args.size())
                    vbs::raise(9);
                r = vbs::Value(m_args[i]);
            } else {
                auto *arr = new vbs::ArrayData;
                arr->bounds = {int(m_args.size()) - 1};
                for (const QString &s : m_args)
                    arr->items.push_back(vbs::Value(s));
                r = vbs::Value::array(arr);
            }
        } else if (n.key == QLatin1String("scriptname")) {
            r = vbs::Value(QStringLiteral("vbsrun"));
        } else {
            return false;
        }
        return true;
    }

private:
    QStringList m_args;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fputs("usage: vbsrun FILE.vbs [ARGS]\n", stderr);
        return 2;
    }
    QFile f(args[1]);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "vbsrun: cannot open %s\n", qPrintable(args[1]));
        return 2;
    }
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.mid(3);
    QString code = QString::fromUtf8(bytes);
    if (code.contains(QChar::ReplacementCharacter))
        code = vbs::fromAnsi(bytes); // scripts saved by Windows editors are often ANSI

    vbs::Engine engine;
    int passed = 0, failed = 0;
    bool success = false;
    engine.addFunction(QStringLiteral("ok"), [&](vbs::Args &a) {
        if (a.size() < 1 || a.size() > 2)
            vbs::raise(450);
        const vbs::Value &c = a[0];
        const bool good = !c.isNull() && vbs::toBool(c);
        if (good) {
            ++passed;
        } else {
            ++failed;
            const QString msg = a.size() > 1 ? text(a[1]) : QString();
            printLine(QStringLiteral("FAIL (line ") + QString::number(engine.interpreter().line()) +
                      QStringLiteral("): ") + msg);
        }
        return vbs::Value();
    });
    engine.addFunction(QStringLiteral("trace"), [](vbs::Args &a) {
        if (a.size() == 1)
            std::fprintf(stderr, "%s\n", text(a[0]).toUtf8().constData());
        return vbs::Value();
    });
    engine.addFunction(QStringLiteral("Echo"), [](vbs::Args &a) {
        QStringList parts;
        for (int i = 0; i < a.size(); ++i)
            parts << text(a[i]);
        printLine(parts.join(QLatin1Char(' ')));
        return vbs::Value();
    });
    engine.addFunction(QStringLiteral("reportSuccess"), [&](vbs::Args &) {
        success = true;
        return vbs::Value();
    });
    engine.addFunction(QStringLiteral("getVT"), [](vbs::Args &a) {
        if (a.size() != 1)
            vbs::raise(450);
        return vbs::Value(vtName(a[0]));
    });
    engine.addObject(QStringLiteral("WScript"), vbs::HostObjectRef(new WScriptHost(args.mid(2))));

    const bool ran = engine.addCode(code);
    if (!ran) {
        const vbs::ScriptError &e = engine.lastError();
        printLine(QStringLiteral("Error %1 at line %2: %3").arg(e.number).arg(e.line).arg(e.description));
    }
    printLine(QStringLiteral("%1 passed, %2 failed").arg(passed).arg(failed));
    (void)success;
    return (ran && failed == 0) ? 0 : 1;
}
