#include "DemoCommands.h"

#include "ArticleGenerator.h"
#include "Connection.h"
#include "Schema.h"

#include <QElapsedTimer>
#include <QLocale>

namespace {

QString miles(qint64 n)
{
    // Mexico groups thousands with commas.
    return QLocale(QLocale::Spanish, QLocale::Mexico).toString(n);
}

int articles(const AdminCli::Arguments &args, QTextStream &out, QTextStream &err)
{
    bool ok = false;
    const qint64 count = args.values.value(QStringLiteral("--count")).toLongLong(&ok);
    if (!ok || count <= 0 || count > db::ArticleGenerator::kMaxSerial) {
        err << "El número de artículos debe ser un entero entre 1 y "
            << miles(db::ArticleGenerator::kMaxSerial) << ": " << args.values.value(QStringLiteral("--count"))
            << Qt::endl;
        return 2;
    }
    try {
        db::Connection c;
        c.open(args.values.value(QStringLiteral("--connection")));
        if (!db::Schema::isCurrent(c)) {
            err << "Error: La base de datos no está actualizada; ejecute antes mostrador-admin db upgrade"
                << Qt::endl;
            return 1;
        }
        out << "Generando " << miles(count) << " artículos..." << Qt::endl;
        QElapsedTimer reloj;
        reloj.start();
        // A line per tenth, so a million rows show how far they got without flooding the screen.
        qint64 siguiente = count / 10;
        const auto avance = [&](qint64 hechos, qint64 total) {
            if (count < 10000 || hechos < siguiente || hechos == total)
                return;
            out << "  " << miles(hechos) << " de " << miles(total) << " (" << hechos * 100 / total << " %)"
                << Qt::endl;
            siguiente = (hechos / (count / 10) + 1) * (count / 10);
        };
        const db::ArticleGenerator::Result r = db::ArticleGenerator::generate(c, count, avance);
        const double segundos = double(reloj.elapsed()) / 1000.0;
        out << "Se generaron " << miles(r.count) << " artículos (claves " << r.firstKey << " a " << r.lastKey
            << ") en " << QString::number(segundos, 'f', 1) << " segundos";
        if (segundos > 0)
            out << " (" << miles(qint64(double(r.count) / segundos)) << " por segundo)";
        out << Qt::endl;
        return 0;
    } catch (const db::DbError &e) {
        err << "Error: " << e.description();
        if (e.kind() != db::DbError::Usage)
            err << " (" << e.code() << ", " << e.source() << ')';
        err << Qt::endl;
        return 1;
    }
}

} // namespace

void addDemoCommands(AdminCli &cli)
{
    cli.add({{QStringLiteral("demo"), QStringLiteral("articles")},
             QStringLiteral("demo articles --count N --connection CADENA"),
             {},
             {QStringLiteral("--count"), QStringLiteral("--connection")},
             {QStringLiteral("--count"), QStringLiteral("--connection")},
             articles});
}
