#include "PreciosArticulo.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "Prompter.h"

#include "Connection.h"
#include "Transaction.h"

namespace {

const QString kNormal = QStringLiteral("NORMAL");
const QString kLista = QStringLiteral("LISTA");
const QString kOferta = QStringLiteral("OFERTA");


} // namespace

struct PreciosArticulo::Fila {
    QString tipo;
    int numero = 0;
    Precio precio;
    QDateTime inicio, fin;
    Decimal cantidad, vendidas;
};

PreciosArticulo::PreciosArticulo(ConnectionProvider &connections, Prompter &prompter, const CalculoPrecio &calculo)
    : m_connections(connections), m_prompter(prompter), m_calculo(calculo)
{
}

bool PreciosArticulo::filtroValido(const QString &filtro)
{
    static const QStringList filtros = {QString(), QStringLiteral("TODO"), kNormal, kOferta,
                                        QStringLiteral("SINOFERTA")};
    return filtros.contains(filtro.trimmed().toUpper());
}

QDateTime PreciosArticulo::ahora()
{
    if (m_reloj)
        return m_reloj();
    const QVariant v = m_connections.getConnection().scalar(QStringLiteral("select getdate()"));
    const QDateTime t = v.toDateTime();
    return t.isValid() ? t : QDateTime::currentDateTime();
}

bool PreciosArticulo::ofertaVigente(const QDateTime &inicio, const QDateTime &fin, const Decimal &cantidad,
                                    const Decimal &vendidas, const QDateTime &momento, const Decimal &solicitada)
{
    if (!inicio.isValid() || !fin.isValid() || momento < inicio || momento > fin)
        return false;
    if (!(cantidad > vendidas))
        return false;
    return solicitada.sign() <= 0 || vendidas + solicitada <= cantidad;
}

void PreciosArticulo::escribePrecioNormal(db::Connection &c, const QString &articulo)
{
    c.execute(QStringLiteral("delete from tArticuloPrecio where art_Clave = ? and tprecio_Clave = 'NORMAL'"),
              {articulo});
    c.execute(QStringLiteral(
                  "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, cambio_Clave, art_Costo, "
                  "precio_Importe, precio_Descuento, precio_SubTotal, precio_Margen, precio_Utilidad, precio_IVA, "
                  "precio_IVAPorc, precio_Total, PRECIO_FECINI, PRECIO_FECFIN, precio_Cantidad, precio_Vendidas) "
                  "select art_Clave, 'NORMAL', 1, cambio_Clave, isnull(art_Costo, 0), isnull(art_Importe, 0), "
                  "isnull(art_Descuento, 0), isnull(art_SubTotal, 0), isnull(art_Margen, 0), isnull(art_Utilidad, 0), "
                  "isnull(art_IVA, 0), isnull(art_IVAPorc, 0), isnull(art_Total, 0), getdate(), null, 0, 0 "
                  "from tArticulo where art_Clave = ?"),
              {articulo});
}

bool PreciosArticulo::actualizaPrecioNormal(const QString &articulo)
{
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction tx(c);
        escribePrecioNormal(c, articulo);
        tx.commit();
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("actualizaPrecioNormal"), ErrorInfo::fromException(e));
        return false;
    }
}

bool PreciosArticulo::guardaPrecioVenta(const QString &articulo, const Decimal &publico, const Decimal &descuento,
                                        const Decimal &impuestoPorcentaje)
{
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction tx(c);
        // Worked out here in exact decimals rather than in SQL: SQLite divides integers as integers.
        db::Recordset a = c.openRecordset(
            QStringLiteral("select art_Costo, art_Margen, art_Utilidad from tArticulo where art_Clave = ?"), {articulo});
        if (a.eof())
            throw db::DbError(0, QStringLiteral("El articulo no existe"), QStringLiteral("guardaPrecioVenta"));
        const Decimal costo = a.decimal(QStringLiteral("art_Costo"));
        const Decimal cien(100);
        const Decimal subTotal = publico * (Decimal(1) - descuento / cien);
        Decimal margen = a.decimal(QStringLiteral("art_Margen"));
        Decimal utilidad = a.decimal(QStringLiteral("art_Utilidad"));
        // With no cost the margin and utility cannot be known: they stay as they were.
        if (costo > Decimal()) {
            margen = subTotal - costo;
            utilidad = margen / (costo / cien);
        }
        const Decimal porcentaje = impuestoPorcentaje.round(2);
        // A price discounted to nothing carries no tax (keeping the old amount would charge it alone).
        const Decimal iva = subTotal > Decimal() ? porcentaje / cien * subTotal : Decimal();
        c.execute(QStringLiteral("update tArticulo set art_Importe = ?, art_Descuento = ?, art_IVAPorc = ?, "
                                 "art_SubTotal = ?, art_Margen = ?, art_Utilidad = ?, art_IVA = ?, art_Total = ? "
                                 "where art_Clave = ?"),
                  {publico.toQVariant(), descuento.toQVariant(), porcentaje.toQVariant(), subTotal.toQVariant(),
                   margen.toQVariant(), utilidad.toQVariant(), iva.toQVariant(), (subTotal + iva).toQVariant(),
                   articulo});
        escribePrecioNormal(c, articulo);
        tx.commit();
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("guardaPrecioVenta"), ErrorInfo::fromException(e));
        return false;
    }
}

PrecioCliente PreciosArticulo::desdeFila(const Fila &fila, const Decimal &costoActual) const
{
    PrecioCliente r;
    r.precio = fila.precio;
    r.tipoPrecio = fila.tipo;
    r.numero = fila.numero;
    // Public price and discount as stored; margin and utility against today's cost.
    r.precio.costo = costoActual;
    m_calculo.calculaPrecio(QStringLiteral("FIJO"), r.precio);
    if (fila.tipo == kOferta)
        r.ofertaDisponible = fila.cantidad - fila.vendidas;
    return r;
}

std::optional<PrecioCliente> PreciosArticulo::obtenPrecioCliente(const QString &articulo, const QString &tipoCliente,
                                                                 const QString &filtroDado, const Decimal &cantidad)
{
    try {
        db::Connection &c = m_connections.getConnection();
        const QString filtro = filtroDado.trimmed().toUpper();
        const bool conOfertas = filtro != kNormal && filtro != QLatin1String("SINOFERTA");

        db::Recordset tipo = c.openRecordset(
            QStringLiteral("select tcontrol_Clave, tcli_Lista from tTipoCliente where tcli_Clave = ?"), {tipoCliente});
        if (tipo.eof()) {
            m_prompter.exclamation(QStringLiteral("No existe informacion del tipo de cliente"));
            return std::nullopt;
        }
        QString control = tipo.text(QStringLiteral("tcontrol_Clave")).trimmed().toUpper();
        if (control.isEmpty())
            control = QStringLiteral("ARTICULO");
        const int lista = int(tipo.integer(QStringLiteral("tcli_Lista")));

        db::Recordset art = c.openRecordset(
            QStringLiteral("select art_Clave, art_Nombre, tart_Clave, fam_Clave, cambio_Clave, art_Costo, art_Importe, "
                           "art_Descuento, art_SubTotal, art_Margen, art_Utilidad, art_IVAPorc, art_IVA, art_Total "
                           "from tArticulo where art_Clave = ?"),
            {articulo});
        if (art.eof()) {
            m_prompter.exclamation(QStringLiteral("El articulo no existe"));
            return std::nullopt;
        }
        const QString metodo = art.text(QStringLiteral("cambio_Clave"));
        const Decimal costo = art.decimal(QStringLiteral("art_Costo"));

        std::optional<PrecioCliente> resultado;
        if (control == QLatin1String("DEPARTAMENTO") || control == QLatin1String("FAMILIA")) {
            const bool depto = control == QLatin1String("DEPARTAMENTO");
            const QString concepto = art.text(depto ? QStringLiteral("tart_Clave") : QStringLiteral("fam_Clave")).trimmed();
            if (concepto.isEmpty()) {
                m_prompter.exclamation(QStringLiteral("El articulo ") + articulo +
                                       (depto ? QStringLiteral(" no tiene departamento") : QStringLiteral(" no tiene Familia")));
                return std::nullopt;
            }
            db::Recordset cc = c.openRecordset(
                QStringLiteral("select cambio_Clave, tcc_Valor from tTipoClienteConcepto where tcontrol_Clave = ? and "
                               "tcli_Clave = ? and tcc_Clave = ?"),
                {control, tipoCliente, concepto});
            if (cc.eof()) {
                m_prompter.exclamation(QStringLiteral("El Articulo ") + articulo + QStringLiteral(" - ") +
                                       art.text(QStringLiteral("art_Nombre")) +
                                       (depto ? QStringLiteral(" y los articulos del departamento ")
                                              : QStringLiteral(" y los articulos del Familia ")) +
                                       concepto + QStringLiteral(" no estan habilitados para ser vendidos a este cliente"));
                return std::nullopt;
            }
            const QString metodoConcepto = cc.text(QStringLiteral("cambio_Clave")).trimmed().toUpper();
            const Decimal valor = cc.decimal(QStringLiteral("tcc_Valor"));
            PrecioCliente r;
            r.precio = Precio::deArticulo(art);
            if (metodoConcepto == QLatin1String("PUBLICO"))
                r.precio.descuento = valor;
            else if (metodoConcepto == QLatin1String("MARGEN"))
                r.precio.margen = valor;
            else if (metodoConcepto == QLatin1String("UTILIDAD") || metodoConcepto == QLatin1String("FINANCIERO"))
                r.precio.utilidad = valor;
            else if (metodoConcepto == QLatin1String("FIJO"))
                r.precio.publico = valor;
            m_calculo.calculaPrecio(cc.text(QStringLiteral("cambio_Clave")).trimmed(), r.precio);
            resultado = r;
        }

        // The article's price rows: offers first, then the normal row, lists last.
        QList<Fila> filas;
        QDateTime servidor;
        {
            db::Recordset rs = c.openRecordset(
                QStringLiteral("select tprecio_Clave, precio_Clave, art_Costo, precio_Importe, precio_Descuento, "
                               "precio_SubTotal, precio_Margen, precio_Utilidad, precio_IVAPorc, precio_IVA, precio_Total, "
                               "PRECIO_FECINI, PRECIO_FECFIN, precio_Cantidad, precio_Vendidas, getdate() as mdr_Ahora "
                               "from tArticuloPrecio where art_Clave = ? order by tprecio_Clave desc, precio_Clave"),
                {articulo});
            for (; !rs.eof(); rs.moveNext()) {
                Fila f;
                f.tipo = rs.text(QStringLiteral("tprecio_Clave")).trimmed().toUpper();
                f.numero = int(rs.integer(QStringLiteral("precio_Clave")));
                f.precio = Precio::deFilaPrecio(rs);
                f.inicio = rs.dateTime(QStringLiteral("PRECIO_FECINI"));
                f.fin = rs.dateTime(QStringLiteral("PRECIO_FECFIN"));
                f.cantidad = rs.decimal(QStringLiteral("precio_Cantidad"));
                f.vendidas = rs.decimal(QStringLiteral("precio_Vendidas"));
                if (!servidor.isValid()) // the server's clock, read with the rows: no extra round trip
                    servidor = rs.dateTime(QStringLiteral("mdr_Ahora"));
                filas.append(f);
            }
        }

        if (control == QLatin1String("LISTA")) {
            for (const Fila &f : filas)
                if (f.tipo == kLista && f.numero == lista) {
                    resultado = desdeFila(f, costo);
                    break;
                }
            if (!resultado) {
                m_prompter.exclamation(QStringLiteral("El articulo no esta catalogado para la lista ") +
                                       QString::number(lista));
                return std::nullopt;
            }
        } else if (!resultado) {
            for (const Fila &f : filas) {
                if (f.tipo == kNormal && filtro != kOferta) {
                    resultado = desdeFila(f, costo);
                }
            }
            if (!resultado && filtro != kOferta) {
                // No normal row yet (an article written by an import): its own breakdown.
                PrecioCliente r;
                r.precio = Precio::deArticulo(art);
                r.tipoPrecio = kNormal;
                r.numero = 1;
                resultado = r;
            }
        }

        if (conOfertas) {
            QDateTime momento;
            for (const Fila &f : filas) {
                if (f.tipo != kOferta || (control == QLatin1String("LISTA") && f.numero != lista))
                    continue;
                if (!momento.isValid())
                    momento = m_reloj || !servidor.isValid() ? ahora() : servidor;
                if (ofertaVigente(f.inicio, f.fin, f.cantidad, f.vendidas, momento, cantidad)) {
                    resultado = desdeFila(f, costo);
                    break;
                }
            }
        }
        if (resultado)
            resultado->metodo = metodo;
        return resultado;
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("obtenPrecioCliente"), ErrorInfo::fromException(e));
        return std::nullopt;
    }
}
