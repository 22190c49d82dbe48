#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

class ConnectionProvider;
class Prompter;

// Application services for windows and event scripts ("xApp"): the status bar, keeping the
// windows alive in long loops, the server clock, temporary files, opening documents with
// their associated programs, and the binary object store (tObjeto).
//
// Members that scripts call by name are Q_INVOKABLE and take and return QVariant-friendly types.
class cAplication : public QObject {
    Q_OBJECT
public:
    // Starts program with arguments. wait: until it ends (events keep being processed), else
    // only long enough to catch a quick failure. Returns the exit code, 0 when it is still
    // running, -1 when it could not start, -2 when it crashed.
    using ShellRunner = std::function<int(const QString &program, const QStringList &arguments, bool wait)>;

    // Shell error codes, as the original's shell reported them; success is above 32.
    enum ShellCode {
        ShellOutOfResources = 0,
        ShellFileNotFound = 2,
        ShellPathNotFound = 3,
        ShellAccessDenied = 5,
        ShellOutOfMemory = 8,
        ShellBadFormat = 11,
        ShellShare = 26,
        ShellAssocIncomplete = 27,
        ShellDdeTimeout = 28,
        ShellDdeFail = 29,
        ShellDdeBusy = 30,
        ShellNoAssoc = 31,
        ShellDllNotFound = 32,
        ShellOk = 33,
    };

    static constexpr const char *kImageExtension = "jpg";

    cAplication(ConnectionProvider &connections, Prompter &prompter, QObject *parent = nullptr);

    void setShellRunner(ShellRunner runner) { m_runner = std::move(runner); }
    static int defaultShellRunner(const QString &program, const QStringList &arguments, bool wait);

    // Opens sFile with a verb: "Open", "Explore", "Print", "Find", "Properties" (any case).
    // Returns ShellOk or a shell error code; on failure asks whether to use another program.
    Q_INVOKABLE int ShellOperation(const QString &sFile, const QString &sOperation = QStringLiteral("Open"));
    Q_INVOKABLE QString fnShellErr(int code) const;
    // Shows a text in the main window's status bar.
    Q_INVOKABLE void msgBar(const QString &sCad);
    Q_INVOKABLE void execDoEvents();
    // Waits ms milliseconds while the windows keep answering.
    Q_INVOKABLE void execDoSleep(int ms);
    // Runs a command line and waits for it to end; its exit code, -1 when it did not start.
    // window_style is accepted for the scripts that pass it; windows open as the desktop decides.
    Q_INVOKABLE int ShellAndWait(const QString &sProgram_name, int window_style = 1);
    // Opens a document with its associated program and waits for the opener to end.
    Q_INVOKABLE int ShellExecuteAndWait(const QString &sFile);
    // The server's clock ("select getdate() as Fecha").
    Q_INVOKABLE QDateTime getDate();
    // A new empty file in the temporary directory: prefix + random part + "." + extension.
    Q_INVOKABLE QString getTempFile(const QString &prefix = QStringLiteral("zev"),
                                    const QString &extension = QStringLiteral("tmp"));

    // Object store. Keys are positive; 0 means "no object".
    // Stores a file as a new object (key <= 0) or replaces object key; the key, 0 when the file
    // cannot be read. The extension is the file's suffix in lower case.
    Q_INVOKABLE qint64 saveObjectFromFile(const QString &sFile, qint64 key = 0);
    // Writes an object to sFile, or to a new temporary file ending in its extension when sFile is
    // empty; the file's path, empty when there is no such object.
    Q_INVOKABLE QString getObjectToFile(qint64 key, const QString &sFile = QString());
    Q_INVOKABLE bool existsObject(qint64 key);
    // An image object written to a temporary file for showing ("jpg" when it has no extension);
    // empty when there is no such object.
    Q_INVOKABLE QString getImage(qint64 key);
    // Stores an image file as a new object; its key, 0 when the file cannot be read.
    Q_INVOKABLE qint64 loadImage(const QString &sFile);
    // Pictures are files here: stores the picture file as an image object, new (key <= 0) or
    // replacing key ("jpg" when the file has no extension); the key, 0 when it cannot be read.
    Q_INVOKABLE qint64 saveImageFromPicture(const QString &sFile, qint64 key = 0);
    // The image held in a field of a script's recordset, written to a temporary file for
    // showing as getImage does; empty when the field is empty or NULL.
    Q_INVOKABLE QString getImageFromRecordSet(const QVariant &rs, const QString &sField);
    // Reads a field of a script's recordset as bytes; nullopt when rs is not a recordset. Set by
    // the scripting layer, which knows the recordset objects.
    using FieldReader = std::function<std::optional<QByteArray>(const QVariant &rs, const QString &field)>;
    static void setFieldReader(FieldReader reader);
    // Image lists and gradient window backgrounds belong to the windows, which draw their own:
    // a script that calls these gets an error saying so rather than nothing happening.
    Q_INVOKABLE QVariant IconList() const;
    Q_INVOKABLE void DibujarDegradado(const QVariant &a = {}, const QVariant &b = {}, const QVariant &c = {},
                                      const QVariant &d = {}, const QVariant &e = {}) const;
    // The content of an object; false when there is no such object.
    bool objectContent(qint64 key, QByteArray &content, QString &extension);
    // Stores bytes as a new object (key <= 0) or replaces object key; the key.
    qint64 saveObject(const QByteArray &content, const QString &extension, qint64 key = 0);
    // Fingerprint templates (tHuellaDigital): a new record (key <= 0, max + 1) or a replacement;
    // the key. An empty array when there is no such record.
    Q_INVOKABLE qint64 saveDigitalFinger(const QByteArray &templ, qint64 key = 0,
                                         const QString &extension = QStringLiteral("fpt"));
    Q_INVOKABLE QByteArray getDigitalFinger(qint64 key);

    // Binary files: strings carry one character per byte.
    Q_INVOKABLE QString binaryFileToString(const QString &sFile) const;
    Q_INVOKABLE QByteArray binaryFileToByteArray(const QString &sFile) const;
    Q_INVOKABLE bool StringToBinaryFile(const QString &sFile, const QString &sData) const;
    Q_INVOKABLE bool ByteArrayToBinaryFile(const QString &sFile, const QByteArray &data) const;

    // Folios for scripts, always on the shared connection (Secuencias); a database error reaches
    // the script as a run-time error.
    Q_INVOKABLE qint64 getNextSequence(const QString &sTipo, qint64 dValorIni = 1, qint64 dValorFin = 2147483647,
                                       qint64 dIncremento = 1, qint64 dValorInicial = 1);
    // Sets sec_Valor of a sequence; a failure goes to the error report and gives false.
    Q_INVOKABLE bool setSequenceValue(const QString &sClave, qint64 dValor);

    static QString failureQuestion(const QString &errorText);

Q_SIGNALS:
    void statusMessage(const QString &text);

private:
    int shellFailure(int code, const QString &file);
    void openWithChooser(const QString &file);
    static int mapOpenerExit(int exitCode);

    ConnectionProvider &m_connections;
    Prompter &m_prompter;
    ShellRunner m_runner;
};
