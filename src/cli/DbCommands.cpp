#include "DbCommands.h"

#include "Connection.h"
#include "DatabaseAdmin.h"
#include "DemoData.h"
#include "Schema.h"

#include <optional>

namespace {

int reportFailure(QTextStream &err, const db::DbError &e)
{
    err << "Error: " << e.description();
    if (e.kind() != db::DbError::Usage)
        err << " (" << e.code() << ", " << e.source() << ')';
    err << '\n';
    return 1;
}

// Our schema goes only into an empty database or one of ours, unless --adopt says otherwise.
bool refuseForeign(db::Connection &c, const AdminCli::Arguments &args, QTextStream &err)
{
    if (args.flags.contains(QStringLiteral("--adopt")) || !db::Schema::isForeign(c))
        return false;
    err << "Error: La base de datos tiene tablas y no es de Mostrador (le falta tUpgrade); no se modificó. "
           "Si de verdad quiere agregarle las tablas de Mostrador, repita la orden con --adopt\n";
    return true;
}

void reportApplied(QTextStream &out, const QStringList &applied)
{
    if (applied.isEmpty())
        out << "La base de datos ya está actualizada\n";
    for (const QString &key : applied)
        out << "Actualización aplicada: " << key << '\n';
}

int init(const AdminCli::Arguments &args, QTextStream &out, QTextStream &err, const DemoStep &demoStep)
{
    try {
        const db::ConnectionString target = db::ConnectionString::parse(args.values.value(QStringLiteral("--connection")));
        if (db::DatabaseAdmin::ensureExists(target))
            out << "Base de datos creada: " << target.toDisplayString() << '\n';
        db::Connection c;
        c.open(target);
        if (refuseForeign(c, args, err))
            return 1;
        std::optional<db::DatabaseAdmin::Roles> roles;
        if (target.engine() == db::Engine::PostgreSQL) {
            roles = db::DatabaseAdmin::createRoles(c, args.values.value(QStringLiteral("--owner-password")),
                                                   args.values.value(QStringLiteral("--station-password")));
            db::DatabaseAdmin::actAsOwner(c);
        }
        reportApplied(out, db::Schema::upgrade(c));
        if (args.flags.contains(QStringLiteral("--demo"))) {
            db::DemoData::populate(c);
            if (demoStep && !demoStep(c, out, err))
                return 1;
            out << "Datos de demostración listos\n";
        }
        if (roles) {
            db::DatabaseAdmin::grantWorkstation(c);
            const auto show = [](const db::ConnectionString &cs, bool passwordSet) -> QString {
                return passwordSet ? cs.toString() : cs.toDisplayString() + QStringLiteral(" (contraseña sin cambio)");
            };
            out << "Conexión del dueño del esquema (db upgrade): " << show(roles->owner, roles->ownerPasswordSet)
                << '\n';
            out << "Conexión de las estaciones: " << show(roles->workstation, roles->workstationPasswordSet) << '\n';
        }
        return 0;
    } catch (const db::DbError &e) {
        return reportFailure(err, e);
    }
}

int upgrade(const AdminCli::Arguments &args, QTextStream &out, QTextStream &err)
{
    try {
        db::Connection c;
        c.open(args.values.value(QStringLiteral("--connection")));
        if (refuseForeign(c, args, err))
            return 1;
        // Whoever runs it, what the migrations create belongs to the schema's owner role.
        db::DatabaseAdmin::actAsOwner(c);
        reportApplied(out, db::Schema::upgrade(c));
        db::DatabaseAdmin::grantWorkstation(c);
        return 0;
    } catch (const db::DbError &e) {
        return reportFailure(err, e);
    }
}

} // namespace

void addDbCommands(AdminCli &cli, DemoStep demoStep)
{
    cli.add({{QStringLiteral("db"), QStringLiteral("init")},
             QStringLiteral("db init [--demo] [--adopt] [--owner-password CLAVE] [--station-password CLAVE] "
                            "--connection CADENA"),
             {QStringLiteral("--demo"), QStringLiteral("--adopt")},
             {QStringLiteral("--connection"), QStringLiteral("--owner-password"), QStringLiteral("--station-password")},
             {QStringLiteral("--connection")},
             [demoStep](const AdminCli::Arguments &args, QTextStream &out, QTextStream &err) {
                 return init(args, out, err, demoStep);
             }});
    cli.add({{QStringLiteral("db"), QStringLiteral("upgrade")},
             QStringLiteral("db upgrade [--adopt] --connection CADENA"),
             {QStringLiteral("--adopt")},
             {QStringLiteral("--connection")},
             {QStringLiteral("--connection")},
             upgrade});
}
