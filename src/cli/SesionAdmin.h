#pragma once

#include "AppServices.h"
#include "ConnectionManager.h"
#include "ConsolePrompter.h"
#include "cConfigure.h"

#include <QTemporaryDir>

// The program's services for one command, on the database of --connection: messages to stderr,
// a settings file of its own (the workstation's settings stay as they are), a lost server tried
// again for 5 s, then given up.
struct SesionAdmin {
    explicit SesionAdmin(QTextStream &err)
        : prompter(err), services(prompter, settingsDir.filePath(QStringLiteral("Mostrador.ini")))
    {
        services.connection().setUnattendedRetry(5000);
        services.connection().setExitHandler([] {});
    }
    // Connects and reads that database's configuration; false when it could not (said on stderr).
    bool conecta(const QString &connectionString)
    {
        services.config().setValue(QStringLiteral("CONEXION"), connectionString);
        if (!services.connection().connectDatabase())
            return false;
        services.config().loadAll();
        return true;
    }

    ConsolePrompter prompter;
    QTemporaryDir settingsDir;
    AppServices services;
};
