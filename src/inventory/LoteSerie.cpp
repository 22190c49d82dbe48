#include "LoteSerie.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Prompter.h"

LoteSerie::LoteSerie(ConnectionProvider &connections, Prompter &prompter)
    : m_connections(connections), m_prompter(prompter)
{
}

bool LoteSerie::rechaza(const QString &texto)
{
    m_prompter.exclamation(texto);
    return false;
}

QString LoteSerie::control(const QString &articulo)
{
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select cinv_Clave from tArticulo where art_Clave = ?"), {articulo});
    if (rs.eof())
        return QString();
    const QString c = rs.text(QStringLiteral("cinv_Clave")).trimmed();
    return c.isEmpty() ? QStringLiteral("LIBRE") : c;
}

QList<LoteSerie::Fila> LoteSerie::lista(const QString &almacen, const QString &articulo)
{
    QList<Fila> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(
             QStringLiteral("select alma_Clave, sum(alma_Existencia) as existencia from tArticuloAlmacen "
                            "where alm_Clave = ? and art_Clave = ? and alma_Clave <> '' "
                            "group by alma_Clave having sum(alma_Existencia) > 0 order by alma_Clave"),
             {almacen, articulo});
         !rs.eof(); rs.moveNext())
        out << Fila{rs.text(QStringLiteral("alma_Clave")), rs.decimal(QStringLiteral("existencia"))};
    return out;
}

bool LoteSerie::existencia(const QString &almacen, const QString &articulo, const QString &lote,
                           Decimal *existencia)
{
    const QVariant v = m_connections.getConnection().scalar(
        QStringLiteral(
            "select sum(alma_Existencia) from tArticuloAlmacen where alm_Clave = ? and art_Clave = ? "
            "and alma_Clave = ?"),
        {almacen, articulo, lote.isNull() ? QStringLiteral("") : lote}); // no lot is '', never null
    *existencia = v.isNull() ? Decimal() : Decimal::fromVariant(v);
    return !v.isNull();
}

bool LoteSerie::validaSalida(const QString &almacen, const QString &articulo, const QString &lote,
                             const Decimal &cantidad)
{
    const QString c = control(articulo);
    if (!usaLote(c))
        return true;
    Decimal hay;
    const bool fila = existencia(almacen, articulo, lote.trimmed(), &hay);
    if (c == QLatin1String("SERIE")) {
        if (!fila)
            return rechaza(QStringLiteral("La serie no existe"));
        if (hay <= Decimal())
            return rechaza(QStringLiteral("La Serie no esta disponible"));
        return true;
    }
    if (!fila)
        return rechaza(QStringLiteral("El Lote no existe"));
    if (hay < cantidad)
        return rechaza(QStringLiteral("El Lote no tiene existencia suficiente"));
    return true;
}

bool LoteSerie::validaEntrada(const QString &almacen, const QString &articulo, const QString &lote)
{
    if (control(articulo) != QLatin1String("SERIE"))
        return true;
    Decimal hay;
    if (existencia(almacen, articulo, lote.trimmed(), &hay) && hay > Decimal())
        return rechaza(QStringLiteral("La Serie ya existe"));
    return true;
}

bool LoteSerie::validaCantidad(const QString &control, const Decimal &cantidad)
{
    if (control == QLatin1String("SERIE") && cantidad != Decimal(1))
        return rechaza(QStringLiteral("La cantidad solo puede ser uno"));
    return true;
}

bool LoteSerie::validaComponente(const QString &almacen, const QString &articulo, const QString &lote,
                                 const QString &cantidad, bool salida, Decimal *leida)
{
    bool ok = false;
    const Decimal q = Decimal::fromString(cantidad.trimmed(), &ok);
    if (!ok)
        return rechaza(QStringLiteral("Debe ingresar un numero"));
    if (leida)
        *leida = q;
    const QString c = control(articulo);
    if (!validaCantidad(c, q))
        return false;
    // A lot not captured yet is asked for when the movement is registered.
    if (usaLote(c) && lote.trimmed().isEmpty())
        return true;
    if (!salida)
        return validaEntrada(almacen, articulo, lote);
    if (usaLote(c))
        return validaSalida(almacen, articulo, lote, q);
    if (c == QLatin1String("EXISTENCIA")) {
        Decimal hay;
        existencia(almacen, articulo, QString(), &hay);
        if (hay < q)
            return rechaza(QStringLiteral("Existencia ") + hay.toString() + QStringLiteral(" Requerida ") +
                           q.toString());
    }
    return true;
}
