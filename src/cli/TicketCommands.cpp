#include "TicketCommands.h"

#include "AdminCli.h"
#include "SesionAdmin.h"
#include "AppServices.h"
#include "ConnectionManager.h"
#include "ConsolePrompter.h"
#include "DocumentosTicket.h"
#include "ImpresoraSistemaQt.h"
#include "Log.h"
#include "cConfigure.h"
#include "cString.h"
#include "cTicketPrinter.h"

#include "Connection.h"

#include <QTemporaryDir>

#include <cstring>

namespace {

// Where --to sends the ticket, as the printer's settings say it.
struct Destino {
    bool sistema = false;
    QString valor; // the port for a direct output, the printer's name otherwise
};

std::optional<Destino> leeDestino(const QString &to)
{
    if (to.startsWith(QLatin1String("file:")) && to.size() > 5)
        return Destino{false, to};
    if (to.startsWith(QLatin1String("tcp:")) && to.size() > 4)
        return Destino{false, to};
    if (to.startsWith(QLatin1String("printer:")))
        return Destino{true, to.mid(8)};
    return std::nullopt;
}

int reprint(const AdminCli::Arguments &args, QTextStream &out, QTextStream &err)
{
    bool ok = false;
    const qint64 folio = args.values.value(QStringLiteral("--folio")).toLongLong(&ok);
    if (!ok || folio <= 0) {
        err << "El folio debe ser un número mayor que cero" << Qt::endl;
        return 2;
    }
    const auto destino = leeDestino(args.values.value(QStringLiteral("--to")));
    if (!destino) {
        err << "El destino debe ser file:RUTA, tcp:HOST:PUERTO o printer:NOMBRE" << Qt::endl;
        return 2;
    }
    SesionAdmin sesion(err);
    AppServices &services = sesion.services;
    try {
        if (!sesion.conecta(args.values.value(QStringLiteral("--connection"))))
            return 1;
        cConfigure &config = services.config();
        db::Connection &c = services.connection().getConnection();
        QString almacen = args.values.value(QStringLiteral("--warehouse"));
        if (almacen.isEmpty()) {
            // Folios are per warehouse: without one, the folio must name a single sale.
            QStringList almacenes;
            for (db::Recordset rs = c.openRecordset(
                     QStringLiteral("select alm_Clave from tVenta where venta_Folio = ? order by alm_Clave"),
                     {folio});
                 !rs.eof(); rs.moveNext())
                almacenes << rs.text(QStringLiteral("alm_Clave"));
            if (almacenes.size() > 1) {
                err << "El folio " << folio << " existe en los almacenes "
                    << almacenes.join(QStringLiteral(", ")) << "; indique --warehouse" << Qt::endl;
                return 1;
            }
            almacen = almacenes.value(0);
        }
        const auto venta = TicketVenta::lee(c, almacen, folio);
        if (!venta) {
            err << "No existe una venta con el folio " << folio << Qt::endl;
            return 1;
        }
        // The configured layout (header, barcode, amount in words, code page, cut) to the
        // destination given; a reprint never opens the drawer.
        config.setValue(QStringLiteral("IMPRESORA-EN-LINEA"), true);
        config.setValue(QStringLiteral("IMPRESORA-DIRECTO-A-PUERTO"), !destino->sistema);
        config.setValue(QStringLiteral("IMPRIME-ABRE-CAJON"), false);
        if (destino->sistema) {
            config.setValue(QStringLiteral("IMPRESORA-DE-RECIBOS"), destino->valor);
        } else {
            config.setValue(QStringLiteral("IMPRESORA-PUERTO"), destino->valor);
            config.setValue(QStringLiteral("PUERTO-CORTE-DE-PAGINA"), destino->valor);
        }
        cTicketPrinter impresora(services.connection(), config, services.string());
        ImpresoraSistemaQt sistema;
        if (destino->sistema)
            impresora.setImpresoraSistema(&sistema);
        impresora.cargaValoresReportes();
        if (!impresora.imprimeTicket(*venta)) {
            err << impresora.fallo().mensaje << Qt::endl << impresora.fallo().detalle << Qt::endl;
            return 1;
        }
        out << "Ticket de la venta " << folio << " enviado a " << args.values.value(QStringLiteral("--to"))
            << Qt::endl;
        return 0;
    } catch (const std::exception &e) {
        err << "Error: " << ErrorInfo::fromException(e).description << Qt::endl;
        return 1;
    }
}

} // namespace

bool ticketNeedsGui(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--to") == 0 && std::strncmp(argv[i + 1], "printer:", 8) == 0)
            return true;
    return false;
}

void addTicketCommands(AdminCli &cli)
{
    cli.add({{QStringLiteral("ticket"), QStringLiteral("reprint")},
             QStringLiteral(
                 "ticket reprint --folio N --connection CADENA --to file:RUTA|tcp:HOST:PUERTO|printer:NOMBRE "
                 "[--warehouse ALMACEN]"),
             {},
             {QStringLiteral("--folio"), QStringLiteral("--connection"), QStringLiteral("--to"),
              QStringLiteral("--warehouse")},
             {QStringLiteral("--folio"), QStringLiteral("--connection"), QStringLiteral("--to")},
             reprint});
}
