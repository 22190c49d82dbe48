#include "AdminCli.h"
#include "CoreCommands.h"
#include "DbCommands.h"
#include "DemoCommands.h"
#include "ScriptCommands.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Mostrador"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    AdminCli cli(out, err);
    addDbCommands(cli);
    addDemoCommands(cli);
    addCoreCommands(cli);
    addScriptCommands(cli);

    return cli.run(app.arguments().mid(1));
}
