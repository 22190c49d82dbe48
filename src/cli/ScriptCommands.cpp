#include "ScriptCommands.h"

#include "AdminCli.h"
#include "AppServices.h"
#include "Connection.h"
#include "ConnectionManager.h"
#include "ConsolePrompter.h"
#include "Convert.h"
#include "Engine.h"
#include "Log.h"
#include "cCode.h"
#include "cConfigure.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <csignal>

namespace {

const QStringList kSessionOptions = {QStringLiteral("--connection"),    QStringLiteral("--user"),
                                     QStringLiteral("--warehouse"),     QStringLiteral("--terminal"),
                                     QStringLiteral("--retry"),         QStringLiteral("--limite-segundos"),
                                     QStringLiteral("--limite-memoria")};

// How long a lost connection is tried again before the command gives up.
constexpr qint64 kDefaultRetrySeconds = 30;

// The text of a script file: UTF-8, or Windows-1252 as files exported by older installations are.
QString readScript(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? vbs::fromAnsi(bytes) : text;
}

// Checks that a session value names an existing row; empty values are left as they are.
bool exists(db::Connection &c, const QString &sql, const QString &key)
{
    return c.scalar(sql, {key}).toInt() > 0;
}

// The session a logged-in user would have: configuration loaded from the database, USUARIO,
// PERFIL, ALMACEN and TERMINAL set. False (with the reason on err) when it cannot be set up.
bool openSession(AppServices &services, const AdminCli::Arguments &args, QTextStream &err)
{
    cConfigure &config = services.config();
    config.setValue(QStringLiteral("CONEXION"), args.values.value(QStringLiteral("--connection")));
    if (!services.connection().connectDatabase())
        return false;
    config.loadAll();
    db::Connection &c = services.connection().getConnection();
    const QString user = args.values.value(QStringLiteral("--user"));
    const QString warehouse = args.values.value(QStringLiteral("--warehouse"));
    const QString terminal = args.values.value(QStringLiteral("--terminal"));
    if (!user.isEmpty()) {
        db::Recordset rs =
            c.openRecordset(QStringLiteral("select perf_Clave from tUsuario where usu_Clave = ?"), {user});
        if (rs.eof()) {
            err << "El usuario «" << user << "» no existe" << Qt::endl;
            return false;
        }
        config.setValue(QStringLiteral("USUARIO"), user);
        c.setSessionContext(user, QStringLiteral("mostrador-admin@") +
                                      config.getString(QStringLiteral("COMPUTER")));
        config.setValue(QStringLiteral("PERFIL"), rs.text(QStringLiteral("perf_Clave")));
    }
    if (!warehouse.isEmpty()) {
        if (!exists(c, QStringLiteral("select count(*) from tAlmacen where alm_Clave = ?"), warehouse)) {
            err << "El almacén «" << warehouse << "» no existe" << Qt::endl;
            return false;
        }
        config.setValue(QStringLiteral("ALMACEN"), warehouse);
    }
    if (!terminal.isEmpty()) {
        if (!exists(c, QStringLiteral("select count(*) from tTerminal where term_Clave = ?"), terminal)) {
            err << "La terminal «" << terminal << "» no existe" << Qt::endl;
            return false;
        }
        config.setValue(QStringLiteral("TERMINAL"), terminal);
    }
    return true;
}

// While alive, Ctrl-C (SIGINT) cancels the running script instead of killing the process.
class InterruptStopsScript {
public:
    explicit InterruptStopsScript(cCode &code)
    {
        s_code = &code;
        m_previous = std::signal(SIGINT, &InterruptStopsScript::onSignal);
    }
    ~InterruptStopsScript()
    {
        std::signal(SIGINT, m_previous);
        s_code = nullptr;
    }
    InterruptStopsScript(const InterruptStopsScript &) = delete;
    InterruptStopsScript &operator=(const InterruptStopsScript &) = delete;

private:
    static void onSignal(int)
    {
        // Only an atomic store happens here (Engine::cancel), which a signal handler may do.
        if (cCode *code = s_code)
            code->cancel();
    }
    static inline cCode *volatile s_code = nullptr;
    void (*m_previous)(int) = SIG_DFL;
};

// Runs `body` inside a session; 0 done, 1 failed (the reason already on err).
template <class Body>
int inSession(const AdminCli::Arguments &args, QTextStream &out, QTextStream &err, Body body)
{
    ConsolePrompter prompter(err);
    // A settings file of its own: running a script must not change the workstation's settings.
    QTemporaryDir settingsDir;
    AppServices services(prompter, settingsDir.filePath(QStringLiteral("Mostrador.ini")));
    bool ok = true;
    const qint64 retrySeconds =
        args.values.value(QStringLiteral("--retry"), QString::number(kDefaultRetrySeconds)).toLongLong(&ok);
    if (!ok || retrySeconds < 0) {
        err << "El valor de --retry debe ser un número de segundos" << Qt::endl;
        return 2;
    }
    // The console answers every question with its default ("retry"): without a limit a lost
    // server would be tried thousands of times a second, forever.
    services.connection().setUnattendedRetry(retrySeconds * 1000);
    services.connection().setExitHandler([] {});
    try {
        if (!openSession(services, args, err))
            return 1;
        cCode &code = services.code();
        code.setEchoSink([&out](const QString &text) { out << text << Qt::endl; });
        // A failing script is only logged by the host; here the administrator reads it at once.
        code.setOnScriptError([&err](const QString &clave, const QString &text) {
            err << clave << ": [" << text << "]" << Qt::endl;
        });
        // Scheduled jobs may legitimately run long: no cap unless asked for; Ctrl-C stops the
        // script cleanly (it ends with an error, the connection is closed as usual).
        code.engine().setStatementBudget(0);
        code.setLimites(args.values.value(QStringLiteral("--limite-segundos")).toLongLong(),
                        args.values.value(QStringLiteral("--limite-memoria")).toLongLong());
        const InterruptStopsScript interrupt(code);
        return body(code) ? 0 : 1;
    } catch (const std::exception &e) {
        const ErrorInfo info = ErrorInfo::fromException(e);
        err << "Error: " << info.description << Qt::endl;
        return 1;
    }
}

int runStored(const AdminCli::Arguments &args, QTextStream &out, QTextStream &err)
{
    const QString clave = args.positionals.value(0);
    return inSession(args, out, err, [&](cCode &code) {
        if (!code.Search(clave)) {
            err << "No existe el script «" << clave << "»" << Qt::endl;
            return false;
        }
        if (!code.Activo()) {
            // A scheduled job switched off is not a failure.
            err << "El script «" << clave << "» está inactivo: no se ejecutó" << Qt::endl;
            return true;
        }
        return code.execute();
    });
}

int runFile(const AdminCli::Arguments &args, QTextStream &out, QTextStream &err)
{
    const QString path = args.positionals.value(0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "No se puede leer el archivo «" << path << "»: " << file.errorString() << Qt::endl;
        return 1;
    }
    const QString text = readScript(file.readAll());
    return inSession(args, out, err, [&](cCode &code) {
        // Named after the file, the objects a stored script would get. A file is a whole
        // program, as a .vbs file is: procedures, classes and statements at the top level, so
        // it is added as it stands rather than wrapped in a procedure like a stored script.
        code.resetObjects();
        return code.runText(QFileInfo(path).completeBaseName(), text, QString());
    });
}

} // namespace

void addScriptCommands(AdminCli &cli)
{
    cli.add({{QStringLiteral("script"), QStringLiteral("run")},
             QStringLiteral("script run CLAVE --connection CADENA [--user USUARIO] [--warehouse ALMACEN] "
                            "[--terminal TERMINAL] [--retry SEGUNDOS] "
                            "[--limite-segundos N] [--limite-memoria MB]"),
             {},
             kSessionOptions,
             {QStringLiteral("--connection")},
             runStored,
             {QStringLiteral("CLAVE")}});
    cli.add(
        {{QStringLiteral("script"), QStringLiteral("file")},
         QStringLiteral("script file ARCHIVO.vbs --connection CADENA [--user USUARIO] [--warehouse ALMACEN] "
                        "[--terminal TERMINAL] [--retry SEGUNDOS] "
                        "[--limite-segundos N] [--limite-memoria MB]"),
         {},
         kSessionOptions,
         {QStringLiteral("--connection")},
         runFile,
         {QStringLiteral("ARCHIVO")}});
}
