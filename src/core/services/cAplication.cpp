#include "cAplication.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Prompter.h"
#include "Secuencias.h"
#include "Recordset.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>
#include <QUrl>

#include <stdexcept>

namespace {

QString opener()
{
    return QStringLiteral("xdg-open");
}

bool writeAll(const QString &fileName, const QByteArray &data)
{
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool ok = f.write(data) == data.size();
    f.close();
    return ok && f.error() == QFileDevice::NoError;
}

} // namespace

cAplication::cAplication(ConnectionProvider &connections, Prompter &prompter, QObject *parent)
    : QObject(parent), m_connections(connections), m_prompter(prompter),
      m_runner(&cAplication::defaultShellRunner)
{
}

int cAplication::defaultShellRunner(const QString &program, const QStringList &arguments, bool wait)
{
    auto *process = new QProcess;
    process->start(program, arguments);
    if (!process->waitForStarted(10000)) {
        delete process;
        return -1;
    }
    auto result = [process] {
        const int code = process->exitStatus() == QProcess::CrashExit ? -2 : process->exitCode();
        delete process;
        return code;
    };
    if (wait) {
        while (!process->waitForFinished(50))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return result();
    }
    // Openers return at once when they hand the file over; a slow one keeps running on its own.
    if (process->waitForFinished(3000))
        return result();
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return 0;
}

QString cAplication::fnShellErr(int code) const
{
    switch (code) {
    case ShellOutOfResources:
        return QStringLiteral("The operating system is out of memory or resources.");
    case ShellFileNotFound:
        return QStringLiteral("The specified FILE was not found.");
    case ShellPathNotFound:
        return QStringLiteral("The specified path was not found.");
    case ShellAccessDenied:
        return QStringLiteral("The operating system denied access to the specified file.");
    case ShellOutOfMemory:
        return QStringLiteral("There was not enough memory to complete the operation.");
    case ShellBadFormat:
        return QStringLiteral("The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).");
    case ShellShare:
        return QStringLiteral("A sharing violation occurred.");
    case ShellAssocIncomplete:
        return QStringLiteral("The filename association is incomplete or invalid.");
    case ShellDdeTimeout:
        return QStringLiteral("The DDE transaction could not be completed because the request timed out.");
    case ShellDdeFail:
        return QStringLiteral("The DDE transaction failed.");
    case ShellDdeBusy:
        return QStringLiteral("The DDE transaction could not be completed because other DDE transactions "
                              "were being processed.");
    case ShellNoAssoc:
        return QStringLiteral("There is no application associated with the given filename extension.");
    case ShellDllNotFound:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        return code > 32 ? QString() : QStringLiteral("Undefined error: ") + QString::number(code);
    }
}

QString cAplication::failureQuestion(const QString &errorText)
{
    return QStringLiteral("Imposible realizar la operacion ") + QStringLiteral("Error:= ") + errorText +
           QLatin1Char('\n') + QStringLiteral(" Desea usar Otra Aplicación");
}

int cAplication::mapOpenerExit(int exitCode)
{
    // xdg-open: 1 bad arguments, 2 file missing, 3 no tool for it, 4 the action failed.
    switch (exitCode) {
    case 0:
        return ShellOk;
    case 2:
        return ShellFileNotFound;
    case -1:
    case 3:
    case 4:
        return ShellNoAssoc;
    default:
        return ShellAssocIncomplete;
    }
}

int cAplication::ShellOperation(const QString &sFile, const QString &sOperation)
{
    const QString verb = sOperation.trimmed().toLower();
    const QFileInfo info(sFile);
    // A folder for the verbs that browse: the file's own one unless it is a folder itself.
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();

    int code = ShellOk;
    if (verb.isEmpty() || verb == QLatin1String("open")) {
        code = info.exists() ? mapOpenerExit(m_runner(opener(), {info.absoluteFilePath()}, false))
                             : ShellFileNotFound;
    } else if (verb == QLatin1String("explore") || verb == QLatin1String("find") ||
               verb == QLatin1String("properties")) {
        // No desktop-neutral search or properties dialog: the file manager on its folder offers both.
        code = QFileInfo(folder).isDir() ? mapOpenerExit(m_runner(opener(), {folder}, false))
                                         : ShellPathNotFound;
    } else if (verb == QLatin1String("print")) {
        if (!info.exists())
            code = ShellFileNotFound;
        else
            code = m_runner(QStringLiteral("lp"), {QStringLiteral("--"), info.absoluteFilePath()}, true) == 0
                       ? int(ShellOk)
                       : int(ShellNoAssoc);
    } else {
        code = ShellNoAssoc;
    }
    return code > 32 ? code : shellFailure(code, sFile);
}

int cAplication::shellFailure(int code, const QString &file)
{
    if (m_prompter.question(failureQuestion(fnShellErr(code)), true))
        openWithChooser(file);
    return code;
}

void cAplication::openWithChooser(const QString &file)
{
    // The desktop portal asks the user for a program; without one, the file manager does it.
    const QString uri = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString();
    const int asked =
        m_runner(QStringLiteral("gdbus"),
                 {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
                  QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("--object-path"),
                  QStringLiteral("/org/freedesktop/portal/desktop"), QStringLiteral("--method"),
                  QStringLiteral("org.freedesktop.portal.OpenURI.OpenURI"), QString(), uri,
                  QStringLiteral("{'ask': <true>}")},
                 true);
    if (asked != 0)
        m_runner(opener(), {QFileInfo(file).absolutePath()}, false);
}

void cAplication::msgBar(const QString &sCad)
{
    Q_EMIT statusMessage(sCad);
}

void cAplication::execDoEvents()
{
    QCoreApplication::processEvents();
}

void cAplication::execDoSleep(int ms)
{
    QDeadlineTimer deadline(qMax(ms, 0));
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents,
                                        int(qMin<qint64>(deadline.remainingTime(), 50)));
        const qint64 left = deadline.remainingTime();
        if (left > 0)
            QThread::msleep(ulong(qMin<qint64>(left, 10)));
    }
}

int cAplication::ShellAndWait(const QString &sProgram_name, int)
{
    QStringList parts = QProcess::splitCommand(sProgram_name);
    if (parts.isEmpty())
        return -1;
    const QString program = parts.takeFirst();
    return m_runner(program, parts, true);
}

int cAplication::ShellExecuteAndWait(const QString &sFile)
{
    if (!QFileInfo::exists(sFile))
        return -1;
    return m_runner(opener(), {QFileInfo(sFile).absoluteFilePath()}, true);
}

QDateTime cAplication::getDate()
{
    db::Recordset rs =
        m_connections.getConnection().openRecordset(QStringLiteral("select getdate() as Fecha"));
    return rs.eof() ? QDateTime() : rs.dateTime(QStringLiteral("Fecha"));
}

qint64 cAplication::getNextSequence(const QString &sTipo, qint64 dValorIni, qint64 dValorFin, qint64 dIncremento,
                                    qint64 dValorInicial)
{
    return Secuencias(m_connections, m_prompter)
        .getNextSequence(sTipo, dValorIni, dValorFin, dIncremento, dValorInicial);
}

bool cAplication::setSequenceValue(const QString &sClave, qint64 dValor)
{
    return Secuencias(m_connections, m_prompter).setSequenceValue(sClave, dValor);
}

QString cAplication::getTempFile(const QString &prefix, const QString &extension)
{
    QString ext = extension;
    while (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    QString pattern = QDir(QDir::tempPath()).filePath(prefix + QStringLiteral("XXXXXX"));
    if (!ext.isEmpty())
        pattern += QLatin1Char('.') + ext;
    QTemporaryFile file(pattern);
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    const QString name = file.fileName();
    file.close();
    return name;
}

qint64 cAplication::saveObject(const QByteArray &content, const QString &extension, qint64 key)
{
    db::Connection &conn = m_connections.getConnection();
    db::Transaction tx(conn);
    if (key > 0 && conn.execute(QStringLiteral("update tObjeto set obj_Extension = ?, obj_Contenido = ? "
                                               "where obj_Clave = ?"),
                                {extension, content, key}) > 0) {
        tx.commit();
        return key;
    }
    if (key <= 0) {
        // max + 1 is only safe while no other workstation can insert: SQLite's transaction holds
        // the write lock from its start; PostgreSQL needs the table locked against writers.
        if (conn.engine() == db::Engine::PostgreSQL)
            conn.execute(QStringLiteral("lock table tObjeto in share row exclusive mode"));
        db::Recordset rs = conn.openRecordset(QStringLiteral("select max(obj_Clave) as Maximo from tObjeto"));
        key = (rs.eof() ? 0 : rs.integer(QStringLiteral("Maximo"))) + 1;
    }
    conn.execute(
        QStringLiteral("insert into tObjeto (obj_Clave, obj_Extension, obj_Contenido) values (?, ?, ?)"),
        {key, extension, content});
    tx.commit();
    return key;
}

qint64 cAplication::saveObjectFromFile(const QString &sFile, qint64 key)
{
    QFile f(sFile);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray content = f.readAll();
    return saveObject(content, QFileInfo(sFile).suffix().toLower(), key);
}

qint64 cAplication::loadImage(const QString &sFile)
{
    QFile f(sFile);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QString suffix = QFileInfo(sFile).suffix().toLower();
    return saveObject(f.readAll(), suffix.isEmpty() ? QString::fromLatin1(kImageExtension) : suffix);
}

qint64 cAplication::saveImageFromPicture(const QString &sFile, qint64 key)
{
    QFile f(sFile);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QString suffix = QFileInfo(sFile).suffix().toLower();
    return saveObject(f.readAll(), suffix.isEmpty() ? QString::fromLatin1(kImageExtension) : suffix, key);
}

namespace {
cAplication::FieldReader &fieldReader()
{
    static cAplication::FieldReader reader;
    return reader;
}
} // namespace

void cAplication::setFieldReader(FieldReader reader)
{
    fieldReader() = std::move(reader);
}

QString cAplication::getImageFromRecordSet(const QVariant &rs, const QString &sField)
{
    const std::optional<QByteArray> content = fieldReader() ? fieldReader()(rs, sField) : std::nullopt;
    // The script engine turns the exception into a run-time error with this text.
    if (!content)
        throw std::runtime_error("xApp.getImageFromRecordSet espera un Recordset abierto");
    if (content->isEmpty())
        return {};
    const QString target = getTempFile(QStringLiteral("zevimg"), QString::fromLatin1(kImageExtension));
    return (!target.isEmpty() && writeAll(target, *content)) ? target : QString();
}

QVariant cAplication::IconList() const
{
    throw std::runtime_error("xApp.IconList no existe en esta plataforma: los iconos son de las ventanas");
}

void cAplication::DibujarDegradado(const QVariant &, const QVariant &, const QVariant &, const QVariant &,
                                   const QVariant &) const
{
    throw std::runtime_error(
        "xApp.DibujarDegradado no existe en esta plataforma: el fondo de las ventanas lo dibuja el programa");
}

bool cAplication::objectContent(qint64 key, QByteArray &content, QString &extension)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select obj_Extension, obj_Contenido from tObjeto where obj_Clave = ?"), {key});
    if (rs.eof())
        return false;
    extension = rs.text(QStringLiteral("obj_Extension")).trimmed();
    content = rs.value(QStringLiteral("obj_Contenido")).toByteArray();
    return true;
}

bool cAplication::existsObject(qint64 key)
{
    return !m_connections.getConnection()
                .openRecordset(QStringLiteral("select obj_Clave from tObjeto where obj_Clave = ?"), {key})
                .eof();
}

QString cAplication::getObjectToFile(qint64 key, const QString &sFile)
{
    QByteArray content;
    QString extension;
    if (!objectContent(key, content, extension))
        return {};
    const QString target = sFile.isEmpty() ? getTempFile(QStringLiteral("zevobj"), extension) : sFile;
    return (!target.isEmpty() && writeAll(target, content)) ? target : QString();
}

QString cAplication::getImage(qint64 key)
{
    QByteArray content;
    QString extension;
    if (!objectContent(key, content, extension))
        return {};
    const QString target = getTempFile(
        QStringLiteral("zevimg"), extension.isEmpty() ? QString::fromLatin1(kImageExtension) : extension);
    return (!target.isEmpty() && writeAll(target, content)) ? target : QString();
}

QByteArray cAplication::binaryFileToByteArray(const QString &sFile) const
{
    QFile f(sFile);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString cAplication::binaryFileToString(const QString &sFile) const
{
    return QString::fromLatin1(binaryFileToByteArray(sFile));
}

bool cAplication::StringToBinaryFile(const QString &sFile, const QString &sData) const
{
    return writeAll(sFile, sData.toLatin1());
}

bool cAplication::ByteArrayToBinaryFile(const QString &sFile, const QByteArray &data) const
{
    return writeAll(sFile, data);
}
