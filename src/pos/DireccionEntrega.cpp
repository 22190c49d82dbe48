#include "DireccionEntrega.h"

#include "Connection.h"

EntregaVenta DireccionEntrega::paraTipo(db::Connection &c, const QString &cliente, const QString &tipo)
{
    EntregaVenta e;
    e.tipo = tipo;
    e.domicilio = tipo == QLatin1String("DOMICILIO");
    if (!e.domicilio)
        return e;
    db::Recordset rs = c.openRecordset(
        QStringLiteral("select cli_Calle, cli_Interior, cli_Exterior, cli_Colonia, cli_DelMun, cli_Ciudad, "
                       "edo_Clave, pais_Clave, cli_Telefono1, cli_Telefono2, cli_Fax, cli_email, cli_Referencia, "
                       "cli_CP, usu_ClaveEnvio from tCliente where cli_Clave = ?"),
        {cliente});
    if (rs.eof())
        return e;
    const auto t = [&](int i) { return rs.value(i).toString().trimmed(); };
    e.calle = t(0);
    e.interior = t(1);
    e.exterior = t(2);
    e.colonia = t(3);
    e.delMun = t(4);
    e.ciudad = t(5);
    e.estado = t(6);
    e.pais = t(7);
    e.telefono1 = t(8);
    e.telefono2 = t(9);
    e.fax = t(10);
    e.email = t(11);
    e.referencia = t(12);
    e.cp = t(13);
    e.repartidor = t(14);
    return e;
}

int DireccionEntrega::largo(Campo campo)
{
    switch (campo) {
    case Campo::Exterior:
    case Campo::Interior:
        return 20;
    case Campo::CP:
        return 10;
    case Campo::Telefono:
        return 30;
    case Campo::Referencia:
        return 200;
    case Campo::Comentario:
        return 500;
    case Campo::Calle:
    case Campo::Colonia:
    case Campo::Ciudad:
    case Campo::DelMun:
        break;
    }
    return 100;
}

QString &DireccionEntrega::texto(EntregaVenta &e, Campo campo)
{
    switch (campo) {
    case Campo::Calle:
        return e.calle;
    case Campo::Exterior:
        return e.exterior;
    case Campo::Interior:
        return e.interior;
    case Campo::Colonia:
        return e.colonia;
    case Campo::CP:
        return e.cp;
    case Campo::Ciudad:
        return e.ciudad;
    case Campo::DelMun:
        return e.delMun;
    case Campo::Telefono:
        return e.telefono1;
    case Campo::Referencia:
        return e.referencia;
    case Campo::Comentario:
        break;
    }
    return e.comentario;
}

QString DireccionEntrega::texto(const EntregaVenta &e, Campo campo)
{
    return texto(const_cast<EntregaVenta &>(e), campo);
}

QString DireccionEntrega::titulo(Campo campo)
{
    switch (campo) {
    case Campo::Calle:
        return QStringLiteral("Calle");
    case Campo::Exterior:
        return QStringLiteral("Número exterior");
    case Campo::Interior:
        return QStringLiteral("Número interior");
    case Campo::Colonia:
        return QStringLiteral("Colonia");
    case Campo::CP:
        return QStringLiteral("Código postal");
    case Campo::Ciudad:
        return QStringLiteral("Ciudad");
    case Campo::DelMun:
        return QStringLiteral("Delegación o municipio");
    case Campo::Telefono:
        return QStringLiteral("Teléfono");
    case Campo::Referencia:
        return QStringLiteral("Referencia");
    case Campo::Comentario:
        break;
    }
    return QStringLiteral("Comentario");
}

std::optional<DireccionEntrega::Falta> DireccionEntrega::valida(const EntregaVenta &e)
{
    if (!e.domicilio)
        return std::nullopt;
    if (e.calle.trimmed().isEmpty())
        return Falta{Campo::Calle, QStringLiteral("Debe indicar la calle del domicilio de entrega")};
    for (Campo campo : {Campo::Calle, Campo::Exterior, Campo::Interior, Campo::Colonia, Campo::CP, Campo::Ciudad,
                        Campo::DelMun, Campo::Telefono, Campo::Referencia, Campo::Comentario})
        if (texto(e, campo).size() > largo(campo))
            return Falta{campo, QStringLiteral("El dato %1 admite hasta %2 caracteres")
                                    .arg(titulo(campo).toLower())
                                    .arg(largo(campo))};
    return std::nullopt;
}
