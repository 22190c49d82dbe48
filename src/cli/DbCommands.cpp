#include "DbCommands.h"

#include "Connection.h"
#include "DatabaseAdmin.h"
#include "DemoData.h"
#include "Schema.h"

namespace {

int reportFailure(QTextStream &err, const db::DbError &e)
{
    err << "Error: " << e.description();
    if (e.kind() != db::DbError::Usage)
        err << " (" << e.code() << ", " << e.source() << ')';
    err << '\n';
    return 1;
}

void reportApplied(QTextStream &out, const QStringList &applied)
{
    if (applied.isEmpty())
        out << "La base de datos ya está actualizada\n";
    for (const QString &key : applied)
        out << "Actualización aplicada: " << key << '\n';
}

int init(const AdminCli::Arguments &args, QTextStream &out, QTextStream &err)
{
    try {
        const db::ConnectionString target = db::ConnectionString::parse(args.values.value(QStringLiteral("--connection")));
        if (db::DatabaseAdmin::ensureExists(target))
            out << "Base de datos creada: " << target.toDisplayString() << '\n';
        db::Connection c;
        c.open(target);
        reportApplied(out, db::Schema::upgrade(c));
        if (args.flags.contains(QStringLiteral("--demo"))) {
            db::DemoData::populate(c);
            out << "Datos de demostración listos\n";
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
        reportApplied(out, db::Schema::upgrade(c));
        return 0;
    } catch (const db::DbError &e) {
        return reportFailure(err, e);
    }
}

} // namespace

void addDbCommands(AdminCli &cli)
{
    cli.add({{QStringLiteral("db"), QStringLiteral("init")},
             QStringLiteral("db init [--demo] --connection CADENA"),
             {QStringLiteral("--demo")},
             {QStringLiteral("--connection")},
             {QStringLiteral("--connection")},
             init});
    cli.add({{QStringLiteral("db"), QStringLiteral("upgrade")},
             QStringLiteral("db upgrade --connection CADENA"),
             {},
             {QStringLiteral("--connection")},
             {QStringLiteral("--connection")},
             upgrade});
}
