// libFuzzer entry: script text through lexer, parser and evaluator. A statement budget and the
// engine's time and memory limits end endless or greedy scripts; whatever still runs past the
// fuzzer's -timeout or -rss_limit_mb (a built-in that cannot be stopped, a limit that leaks) is a
// finding.
// An input starting with '=' is evaluated as one expression (the report-formula path).
#include "Engine.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

vbs::Engine &engine()
{
    static vbs::Engine *e = new vbs::Engine; // one engine, reset per input, as hosts reuse theirs
    return *e;
}

void setUp(vbs::Engine &e)
{
    e.reset();
    e.setStatementBudget(200000);
    e.setTimeLimit(3000);
    e.setMemoryLimit(qint64(512) << 20);
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
