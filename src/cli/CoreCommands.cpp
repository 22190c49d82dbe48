#include "CoreCommands.h"

#include "AdminCli.h"
#include "ConsolePrompter.h"
#include "ConnectionCatalog.h"
#include "ConnectionProvider.h"
#include "ConnectionString.h"
#include "DbError.h"
#include "SettingsStore.h"
#include "cConfigure.h"

void addCoreCommands(AdminCli &cli)
{
    cli.add({{QStringLiteral("config"), QStringLiteral("list")},
             QStringLiteral("config list"),
             {},
             {},
             {},
             [](const AdminCli::Arguments &, QTextStream &out, QTextStream &err) {
                 ConsolePrompter prompter(err);
                 SettingsStore settings;
                 FixedConnectionProvider none(nullptr);
                 cConfigure config(none, settings, prompter);
                 for (const QString &line : config.describeAll())
                     out << line << '\n';
                 return 0;
             }});

    cli.add({{QStringLiteral("connection"), QStringLiteral("add")},
             QStringLiteral("connection add --name NOMBRE --connection CADENA [--select]"),
             {QStringLiteral("--select")},
             {QStringLiteral("--name"), QStringLiteral("--connection")},
             {QStringLiteral("--name"), QStringLiteral("--connection")},
             [](const AdminCli::Arguments &args, QTextStream &out, QTextStream &err) {
                 const QString name = args.values.value(QStringLiteral("--name")).trimmed();
                 const QString text = args.values.value(QStringLiteral("--connection"));
                 if (name.isEmpty()) {
                     err << "Debe indicar un nombre" << Qt::endl;
                     return 2;
                 }
                 try {
                     db::ConnectionString::parse(text);
                 } catch (const db::DbError &e) {
                     err << e.description() << Qt::endl;
                     return 1;
                 }
                 SettingsStore settings;
                 ConnectionCatalog catalog(settings);
                 const int index = catalog.save(name, text);
                 if (args.flags.contains(QStringLiteral("--select"))) {
                     catalog.setSelected(name);
                     // The chosen connection is the one opened at start-up.
                     settings.saveEncodedSetting(QStringLiteral("Database"), QStringLiteral("CONEXION"), text);
                 }
                 out << "Conexion " << name << " guardada (" << index << ")" << Qt::endl;
                 return 0;
             }});
}
