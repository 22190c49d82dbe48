#include "ReportCommands.h"

#include "AdminCli.h"
#include "SesionAdmin.h"
#include "AppServices.h"
#include "CatalogoReportes.h"
#include "ConnectionManager.h"
#include "ConsolePrompter.h"
#include "Log.h"
#include "ReportFactory.h"
#include "ReportPainter.h"
#include "ServiciosReporte.h"
#include "cConfigure.h"
#include "easyReport.h"

#include <QTemporaryDir>

#include <cstring>

namespace {

struct Destino {
    enum Tipo { Pdf, Csv, Impresora } tipo;
    QString valor;
};

std::optional<Destino> leeDestino(const QString &to)
{
    if (to.startsWith(QLatin1String("pdf:")) && to.size() > 4)
        return Destino{Destino::Pdf, to.mid(4)};
    if (to.startsWith(QLatin1String("csv:")) && to.size() > 4)
        return Destino{Destino::Csv, to.mid(4)};
    if (to.startsWith(QLatin1String("printer:")))
        return Destino{Destino::Impresora, to.mid(8)};
    return std::nullopt;
}

int run(const AdminCli::Arguments &args, QTextStream &out, QTextStream &err)
{
    const QString clave = args.positionals.value(0);
    const auto destino = leeDestino(args.values.value(QStringLiteral("--to")));
    if (!destino) {
        err << "El destino debe ser pdf:RUTA, csv:RUTA o printer:NOMBRE" << Qt::endl;
        return 2;
    }
    SesionAdmin sesion(err);
    AppServices &services = sesion.services;
    ConsolePrompter &prompter = sesion.prompter;
    try {
        if (!sesion.conecta(args.values.value(QStringLiteral("--connection"))))
            return 1;
        cConfigure &config = services.config();
        registraObjetosReporte(services.factory());
        CatalogoReportes catalogo(services.connection(), config, prompter);
        // The administrator's command line has no session: any stored report may run.
        if (!catalogo.cargaReporte(clave, CatalogoReportes::Derechos::Todos))
            return 1;
        const CatalogoReportes::Reporte reporte = *catalogo.reporte();
        const auto capturas = catalogo.parametros().leeArgumentos(
            reporte.parametros, args.lists.value(QStringLiteral("--param")));
        if (!capturas)
            return 2;
        const auto valores = catalogo.aceptar(*capturas);
        if (!valores)
            return 2;
        if (!catalogo.parametros().enSusListas(reporte.parametros, *capturas, *valores))
            return 2;

        easyReport report(serviciosReporte(services, &prompter));
        for (const ValorParametro &v : *valores)
            report.setParam(v.clave, v.valor, v.valorExtra, v.tipoDato);
        QString error;
        if (!report.configureScript(reporte.programa, &error)) {
            err << "El programa del reporte tiene errores" << Qt::endl << error << Qt::endl;
            return 1;
        }
        bool ok = false;
        switch (destino->tipo) {
        case Destino::Pdf:
            ok = reportToPdf(report, destino->valor, &error, rutaImagen(services));
            break;
        case Destino::Csv:
            ok = report.exportCsv(destino->valor, &error);
            break;
        case Destino::Impresora: {
            ReportPrinterCanvas impresora(destino->valor.isEmpty() ? report.printerName() : destino->valor,
                                          ReportPaper::of(report), rutaImagen(services));
            ok = report.printPages(impresora);
            error = impresora.error();
            break;
        }
        }
        for (const QString &e : report.errors())
            err << e << Qt::endl;
        if (!ok) {
            if (!error.isEmpty())
                err << error << Qt::endl;
            return 1;
        }
        if (destino->tipo == Destino::Csv)
            out << "Datos del reporte " << clave << " en " << destino->valor << Qt::endl;
        else
            out << "Reporte " << clave << ": " << report.pageCount()
                << (report.pageCount() == 1 ? " página en " : " páginas en ") << destino->valor << Qt::endl;
        return report.errors().isEmpty() ? 0 : 1;
    } catch (const std::exception &e) {
        err << "Error: " << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
}

} // namespace

bool reportNeedsGui(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "report") == 0 && std::strcmp(argv[i + 1], "run") == 0)
            return true;
    return false;
}

void addReportCommands(AdminCli &cli)
{
    cli.add({{QStringLiteral("report"), QStringLiteral("run")},
             QStringLiteral("report run CLAVE --connection CADENA [--param NOMBRE=VALOR ...] "
                            "--to pdf:RUTA|csv:RUTA|printer:NOMBRE"),
             {},
             {QStringLiteral("--connection"), QStringLiteral("--param"), QStringLiteral("--to")},
             {QStringLiteral("--connection"), QStringLiteral("--to")},
             run,
             {QStringLiteral("CLAVE")}});
}
