#include "AdminCli.h"
#include "CoreCommands.h"
#include "DbCommands.h"
#include "DemoCommands.h"
#include "ScriptCommands.h"
#include "TicketCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    // A system printer needs fonts and print support; everything else stays a console program.
    std::unique_ptr<QCoreApplication> application;
    if (ticketNeedsGui(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("Mostrador"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    AdminCli cli(out, err);
    addDbCommands(cli);
    addDemoCommands(cli);
    addCoreCommands(cli);
    addScriptCommands(cli);
    addTicketCommands(cli);

    return cli.run(app.arguments().mid(1));
}
