#include "cCode.h"

#include "AdoObjects.h"

#include "CValue.h"
#include "Connection.h"
#include "ConnectionProvider.h"
#include "Engine.h"
#include "Log.h"
#include "Prompter.h"
#include "cConfigure.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

constexpr const char *kLocaleProcedure = "setZEVSettings";

// The procedure that wraps a script is named after its key; a key that is not a plain
// identifier ("TRAN_SUC-01") is written bracketed, which VBScript accepts for any name.
QString procedureName(const QString &clave)
{
    QString name = clave;
    return name.remove(QLatin1Char(']')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
}

QString procedureHeader(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    return QStringLiteral("sub ") +
           (plain.match(name).hasMatch() ? name : QLatin1Char('[') + name + QLatin1Char(']')) +
           QStringLiteral("() : ");
}

QString argText(const vbs::Value &v)
{
    return v.isNull() ? QString() : vbs::toString(v);
}

} // namespace

cCode::cCode(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
             ObjectListBuilder standardObjects, QObject *parent)
    : QObject(parent), m_connections(connections), m_config(config), m_prompter(prompter),
      m_standardObjects(std::move(standardObjects)), m_engine(std::make_unique<vbs::Engine>()),
      m_echo([](const QString &text) { writeLog(QStringLiteral("Echo: ") + text); })
{
    m_engine->setStatementBudget(kStatementBudget);
}

cCode::~cCode()
{
    // The engine may still hold the objects of the last run.
    m_engine->reset();
}

QString cCode::libraryKey() const
{
    return m_config.getString(QStringLiteral("CODIGO-LIBRERIA")).trimmed();
}

QString cCode::localeProcedure() const
{
    if (!m_config.getBool(QStringLiteral("LOCALE")))
        return QString();
    QString id = m_config.getString(QStringLiteral("LOCALE-ID"));
    id.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QStringLiteral(" Sub %1()\n SetLocale \"%2\"\n end sub").arg(QLatin1String(kLocaleProcedure), id);
}

void cCode::unload()
{
    m_isLoad = false;
    m_clave.clear();
    m_nombre.clear();
    m_text.clear();
    m_activo = false;
}

void cCode::resetObjects()
{
    if (m_running)
        return;
    clearObjects();
    if (m_standardObjects)
        m_objects = m_standardObjects();
}

bool cCode::Search(const QString &clave)
{
    if (refuseWhileRunning(clave))
        return false;
    resetObjects();
    unload();
    try {
        db::Recordset rs = m_connections.getConnection().openRecordset(
            QStringLiteral("SELECT * FROM tCodigo WHERE codigo_Clave = ?"), {clave});
        if (rs.eof())
            return false;
        m_clave = rs.text(QStringLiteral("codigo_Clave"));
        m_nombre = rs.text(QStringLiteral("codigo_Nombre"));
        m_text = rs.text(QStringLiteral("codigo_Text"));
        m_activo = rs.text(QStringLiteral("codigo_Activo")).trimmed() == QLatin1String("S");
        m_isLoad = true;
        return true;
    } catch (const std::exception &e) {
        // Looking a script up must not stop the operation that raises the event.
        reportError(m_prompter, clave, QStringLiteral("cCode.Search"), ErrorInfo::fromException(e));
        return false;
    }
}

bool cCode::execute()
{
    if (!m_isLoad || !m_activo)
        return true;
    return executeText(m_clave, m_text);
}

bool cCode::Run(const QString &routine)
{
    if (!m_isLoad || !m_activo)
        return true;
    return runText(m_clave, m_text, routine);
}

void cCode::addObject(const QString &name, const QVariant &object)
{
    // Replacing an object would free it under the running script.
    if (!m_running)
        m_objects.add(name, object);
}

void cCode::addObject(const QString &name, QObject *object)
{
    addObject(name, QVariant::fromValue(object));
}

QVariant cCode::getObject(const QString &name) const
{
    return m_objects.get(name);
}

bool cCode::existsObject(const QString &name) const
{
    return m_objects.contains(name);
}

void cCode::clearObjects()
{
    if (m_running)
        return;
    // The engine still refers to the objects of the last run; let it go of them first.
    m_engine->reset();
    m_objects.clear();
}

QVariant cCode::valueOf(const QString &name) const
{
    const QVariant object = m_objects.get(name);
    if (object.metaType().flags() & QMetaType::PointerToQObject) {
        if (auto *value = qobject_cast<CValue *>(object.value<QObject *>()))
            return value->value();
    }
    return object;
}

bool cCode::runEvent(const QString &clave, const NamedObjects &extraObjects)
{
    if (refuseWhileRunning(clave))
        return false;
    if (!Search(clave))
        return true;
    for (const auto &[name, object] : extraObjects)
        addObject(name, object);
    return execute();
}

bool cCode::executeText(const QString &clave, const QString &text)
{
    return runPrepared(clave, text, QString(), true);
}

bool cCode::runText(const QString &clave, const QString &text, const QString &routine)
{
    return runPrepared(clave, text, routine, false);
}

void cCode::setLimites(qint64 segundos, qint64 megabytes)
{
    m_limites = std::make_pair(qMax<qint64>(0, segundos), qMax<qint64>(0, megabytes));
}

void cCode::cancel()
{
    m_engine->cancel();
}

bool cCode::prepare(const QString &clave)
{
    m_engine->reset();
    // A runaway event must not hang the counter nor exhaust the workstation's memory.
    const qint64 segundos = m_limites
                                ? m_limites->first
                                : m_config.getValue(QStringLiteral("CODIGO-LIMITE-SEGUNDOS")).toLongLong();
    const qint64 megas = m_limites
                             ? m_limites->second
                             : m_config.getValue(QStringLiteral("CODIGO-LIMITE-MEMORIA-MB")).toLongLong();
    m_engine->setTimeLimit(qMax<qint64>(0, segundos) * 1000);
    m_engine->setMemoryLimit(qMax<qint64>(0, megas) * 1024 * 1024);
    m_lastError.clear();
    m_lastErrorLine = 0;
    // Without LOCALE the script follows the workstation; a locale the engine does not know
    // leaves en-us rather than whatever the previous run set.
    m_engine->setLocale(1033);
    m_engine->setLocale(QLocale().name());
    m_engine->addFunction(QStringLiteral("Echo"), [this](vbs::Args &a) {
        QStringList parts;
        for (int i = 0; i < a.size(); ++i)
            parts << argText(a[i]);
        if (m_echo)
            m_echo(parts.join(QLatin1Char(' ')));
        return vbs::Value();
    });
    // MsgBox reaches the user through the Prompter: questions for vbYesNo, messages otherwise.
    m_engine->addFunction(QStringLiteral("MsgBox"), [this](vbs::Args &a) {
        const QString text = a.size() > 0 ? argText(a[0]) : QString();
        const int buttons = a.size() > 1 && !a.isMissing(1) ? int(vbs::toLong(a[1])) : 0;
        const QString title = a.size() > 2 && !a.isMissing(2) ? argText(a[2]) : QString();
        constexpr int vbYesNo = 4, vbYes = 6, vbNo = 7, vbOK = 1;
        if ((buttons & 7) == vbYesNo)
            return vbs::Value::lng(m_prompter.question(text, (buttons & 256) == 0, title) ? vbYes : vbNo);
        const int icon = buttons & 0x70;
        m_prompter.message(icon == 16   ? Prompter::Icon::Critical
                           : icon == 48 ? Prompter::Icon::Exclamation
                                        : Prompter::Icon::Information,
                           text, title);
        return vbs::Value::lng(vbOK);
    });

    const QString locale = localeProcedure();
    if (!locale.isEmpty()) {
        if (!m_engine->addCode(locale) || !m_engine->run(QLatin1String(kLocaleProcedure)))
            return fail(clave, QStringLiteral("cCode.setZEVSettings"));
    }
    m_objects.addTo(*m_engine);
    const QString library = libraryKey();
    if (library.isEmpty() || clave.compare(library, Qt::CaseInsensitive) == 0)
        return true;
    const QVariant text = m_connections.getConnection().scalar(
        QStringLiteral("SELECT codigo_Text FROM tCodigo WHERE codigo_Clave = ?"), {library});
    if (!text.isNull() && !m_engine->addCode(text.toString()))
        return fail(library, QStringLiteral("cCode.libreria"));
    return true;
}

bool cCode::compila(const QString &clave, const QString &text, bool libreria, QString *error, int *line)
{
    vbs::Engine engine;
    // The library's top-level statements would run: one at most, with no objects to reach.
    engine.setStatementBudget(1);
    const bool ok =
        libreria ? engine.addCode(text)
                 : engine.addCode(procedureHeader(procedureName(clave)) + text + QStringLiteral("\nend sub"));
    if (ok || !engine.lastError().compile)
        return true;
    if (error)
        *error = engine.errorText();
    if (line)
        *line = engine.lastError().line;
    return false;
}

bool cCode::runPrepared(const QString &clave, const QString &text, const QString &routine, bool wrap)
{
    if (refuseWhileRunning(clave))
        return false;
    m_failure.reset();
    const QString where = wrap ? QStringLiteral("cCode.execute") : QStringLiteral("cCode.Run");
    m_running = true;
    try {
        if (prepare(clave)) {
            const bool isLibrary = clave.compare(libraryKey(), Qt::CaseInsensitive) == 0;
            if (wrap && !isLibrary) {
                // The header shares the first line with the text, so error lines are the text's own.
                const QString name = procedureName(clave);
                if (!m_engine->addCode(procedureHeader(name) + text + QStringLiteral("\nend sub")) ||
                    !m_engine->run(name))
                    fail(clave, where);
            } else if (!m_engine->addCode(text) || (!routine.isEmpty() && !m_engine->run(routine))) {
                fail(clave, where);
            }
        }
    } catch (const std::exception &e) {
        // The library could not be read: the run ends like a script error.
        m_failure = Failure{clave, where, ErrorInfo::fromException(e)};
    }
    m_running = false;
    endScriptTransactions();
    if (!m_failure)
        return true;
    // Reported once the run is over: the hook may open windows that run scripts themselves.
    const Failure failure = *m_failure;
    m_lastError = failure.info.description;
    reportFailure(failure.clave, failure.where, failure.info);
    return false;
}

// A script that began a transaction on "cn" and did not end it must not leave the program's
// connection inside it: what it left open is rolled back when the run ends.
void cCode::endScriptTransactions()
{
    const QVariant cn = m_objects.get(QStringLiteral("cn"));
    if (cn.metaType() != QMetaType::fromType<vbs::Value>())
        return;
    const vbs::Value value = cn.value<vbs::Value>();
    if (value.isObject())
        ado::endScriptTransactions(vbs::HostObjectRef(value.rawObject()));
}

bool cCode::fail(const QString &clave, const QString &where)
{
    const vbs::ScriptError &e = m_engine->lastError();
    m_lastErrorLine = e.line;
    m_failure = Failure{clave, where, ErrorInfo{e.number, m_engine->errorText(), e.source}};
    return false;
}

bool cCode::refuseWhileRunning(const QString &clave)
{
    if (!m_running)
        return false;
    // A script that makes the program raise another event on the same host: the engine and
    // the objects are in use, so the inner event is skipped rather than pulled from under it.
    writeLog(QStringLiteral("cCode: ") + clave + QStringLiteral(" no se ejecutó: otro script está en curso"));
    return true;
}

void cCode::reportFailure(const QString &clave, const QString &where, const ErrorInfo &info)
{
    // Logged always; shown only through the hook, which opens the editor for those who may
    // correct the script. Anyone else (a cashier at login) is not interrupted by it.
    writeLog(where + QStringLiteral(":[") + QString::number(info.number) + QStringLiteral("]-[") +
             info.description + QStringLiteral("]-[") + info.source + QStringLiteral("]:") + clave);
    Q_EMIT scriptFailed(clave, m_lastError);
    if (m_onScriptError)
        m_onScriptError(clave, m_lastError);
}
