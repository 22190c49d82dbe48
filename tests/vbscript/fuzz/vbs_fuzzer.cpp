// libFuzzer entry: script text through lexer, parser and evaluator. Bounded by a statement budget
// so a slow or endless script shows up as a timeout finding, not as a fuzzer stuck in a loop.
// An input starting with '=' is evaluated as one expression (the report-formula path).
#include "Engine.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

vbs::Engine &engine()
{
    static vbs::Engine *e = [] {
        auto *en = new vbs::Engine;
        return en;
    }();
    return *e;
}

void setUp(vbs::Engine &e)
{
    e.reset();
    e.setStatementBudget(200000);
    e.addFunction(QStringLiteral("ok"), [](vbs::Args &) { return vbs::Value(); });
    e.addFunction(QStringLiteral("trace"), [](vbs::Args &) { return vbs::Value(); });
    e.addFunction(QStringLiteral("Echo"), [](vbs::Args &) { return vbs::Value(); });
    e.addFunction(QStringLiteral("reportSuccess"), [](vbs::Args &) { return vbs::Value(); });
    e.addFunction(QStringLiteral("getVT"), [](vbs::Args &) { return vbs::Value(QStringLiteral("VT_EMPTY")); });
    // no files written by the fuzzer
    e.registerProgId(QStringLiteral("Scripting.FileSystemObject"), []() -> vbs::HostObjectRef { vbs::raise(429); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 65536)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    vbs::Engine &e = engine();
    setUp(e);
    if (text.startsWith(QLatin1Char('='))) {
        vbs::Value v;
        e.evaluate(text.mid(1), v);
    } else if (e.addCode(text)) {
        e.execute(QStringLiteral("x = 1 + 1"));
    }
    return 0;
}
