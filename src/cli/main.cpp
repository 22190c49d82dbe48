#include "AdminCli.h"
#include "ConsolePrompter.h"
#include "CoreCommands.h"
#include "DbCommands.h"
#include "DemoCommands.h"
#include "ProgramaReporte.h"
#include "ReportCommands.h"
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
    if (ticketNeedsGui(argc, argv) || reportNeedsGui(argc, argv)) {
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
    // The demo reports' programs are written from their designs, as the designer would.
    addDbCommands(cli, [](db::Connection &c, QTextStream &out, QTextStream &err) {
        ConsolePrompter prompter(err);
        ProgramaReporte programa(prompter);
        const std::optional<int> escritos = programa.guardaFaltantes(c);
        if (escritos.value_or(0) > 0)
            out << "Programas de reportes escritos: " << *escritos << '\n';
        return escritos.has_value();
    });
    addDemoCommands(cli);
    addCoreCommands(cli);
    addScriptCommands(cli);
    addTicketCommands(cli);
    addReportCommands(cli);

    return cli.run(app.arguments().mid(1));
}
