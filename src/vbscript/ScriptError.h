#pragma once

#include <QString>

#include <exception>

namespace vbs {

// A run-time or compilation error as the Err object and the host see it.
struct ScriptError : std::exception {
    int number = 0;
    QString description;
    QString source;
    int line = 0; // 1-based line in the code text that failed; 0 when unknown
    int column = 0;
    bool compile = false;

    ScriptError() = default;
    ScriptError(int n, QString d, QString s = {}) : number(n), description(std::move(d)), source(std::move(s))
    {
    }
    const char *what() const noexcept override { return "vbscript error"; }
};

// VBScript's own message for an error number ("Type mismatch" for 13 ...); empty when unknown.
QString errorMessage(int number);

// Throws the error with VBScript's message; `detail` is appended as ": 'detail'" (e.g. a name).
[[noreturn]] void raise(int number, const QString &detail = {});
[[noreturn]] void raiseText(int number, const QString &description);
[[noreturn]] void raiseCompile(int number, int line, int column);

inline constexpr const char *kRuntimeSource = "Microsoft VBScript runtime error";
inline constexpr const char *kCompileSource = "Microsoft VBScript compilation error";

} // namespace vbs
