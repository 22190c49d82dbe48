#pragma once

#include <QDate>
#include <QString>

#include <exception>
#include <functional>

class Prompter;

// The pending error of an operation, as the error report shows it.
struct ErrorInfo {
    int number = 0;
    QString description;
    QString source;

    // Takes number, description and source from a database error, or the what() text otherwise.
    static ErrorInfo fromException(const std::exception &e);
};

// The daily log file and the error report shared by every window.
class Log {
public:
    // Days of log files kept; older ones go when a day's first line is written.
    static constexpr int kKeepDays = 30;

    // Where the log goes; read on every write (the configured SETTING-DIRECTORIO-LOG). Without
    // one, the user's data folder ("log" under QStandardPaths::AppLocalDataLocation, 0700).
    static void setDirectoryProvider(std::function<QString()> provider);
    static QString directory();
    // "zev" + yyyymmdd + ".log"
    static QString fileNameFor(const QDate &date);
    // Removes the day files of `dir` older than keepDays before today.
    static void removeOldFiles(const QString &dir, const QDate &today, int keepDays = kKeepDays);
};

// Appends "HH:nn:ss:" + text to today's log; every failure is ignored.
void writeLog(const QString &text);

// The error report: logs where:[number]-[description]-[source]:text and shows, with the critical
// icon, a plain Spanish sentence (errorParaUsuario) with that technical line behind "Detalles".
// Returns the technical line.
QString reportError(Prompter &prompter, const QString &text, const QString &where, const ErrorInfo &error);
// What the user reads of an error: text when the caller gave a sentence ("Error al abrir la
// conexion"), otherwise a sentence for the operation that failed (text or where name it).
QString errorParaUsuario(const QString &text, const QString &where);
