#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// mostrador-admin as an administrator runs it: exit code (-1 when it crashed), stdout, stderr.
struct AdminRun {
    int code = -1;
    QString out;
    QString err;
};

inline AdminRun runAdmin(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
