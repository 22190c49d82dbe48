#pragma once

#include "GuardaVenta.h"

#include <QString>

#include <optional>

namespace db {
class Connection;
}

// The delivery of a paid sale: the type the payment window chose and, for a home delivery, the
// address that goes to tVentaEnvio. The client's own address is proposed; the counter asks the
// cashier to confirm or change it when "VENTA-SOLICITA-DIRECCION-DOMICILIO" is on.
class DireccionEntrega {
public:
    // A field of the address the window shows, in its order.
    enum class Campo { Calle, Exterior, Interior, Colonia, CP, Ciudad, DelMun, Telefono, Referencia, Comentario };

    // The delivery of the given type for the client (throws db::DbError). Only 'DOMICILIO' is a
    // home delivery and carries the client's address and delivery person; any other type clears them.
    static EntregaVenta paraTipo(db::Connection &c, const QString &cliente, const QString &tipo);

    // The widest text each field's column holds.
    static int largo(Campo campo);

    // The first field a home delivery cannot go with, and the message to show; nothing when the
    // address will do. A street is required; no field may exceed its column.
    struct Falta {
        Campo campo;
        QString mensaje;
    };
    static std::optional<Falta> valida(const EntregaVenta &e);

    static QString &texto(EntregaVenta &e, Campo campo);
    static QString texto(const EntregaVenta &e, Campo campo);
    static QString titulo(Campo campo);
};
