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
    // The name the error is about ("x" for "Variable is undefined"): for the host's error text,
    // not part of Err.Description.
    QString detail;
    QString helpFile; // what Err.Raise was given
    int helpContext = 0;

    ScriptError() = default;
    ScriptError(int n, QString d, QString s = {}) : number(n), description(std::move(d)), source(std::move(s))
    {
    }
    const char *what() const noexcept override { return "vbscript error"; }
    // Description with the name, "Variable is undefined: 'x'".
    QString describe() const
    {
        return detail.isEmpty() ? description : description + QStringLiteral(": '") + detail + QLatin1Char('\'');
    }
};

// Err.Raise and Err.Number map HRESULTs as VBScript does: 0x800A xxxx to xxxx, well-known COM and
// Automation failures to their run-time error numbers; anything else stays as given.
int mapErrorNumber(int number);

// VBScript's own message for an error number ("Type mismatch" for 13 ...); empty when unknown.
QString errorMessage(int number);

// Throws the error with VBScript's message; `detail` (e.g. a name) goes to ScriptError::detail.
[[noreturn]] void raise(int number, const QString &detail = {});
[[noreturn]] void raiseText(int number, const QString &description);
[[noreturn]] void raiseCompile(int number, int line, int column);

inline constexpr const char *kRuntimeSource = "Microsoft VBScript runtime error";
inline constexpr const char *kCompileSource = "Microsoft VBScript compilation error";

} // namespace vbs
