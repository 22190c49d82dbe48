#include "MovimientoAlmacen.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "DbError.h"
#include "Existencias.h"
#include "Log.h"
#include "LoteSerie.h"
#include "Prompter.h"
#include "Secuencias.h"
#include "Transaction.h"
#include "cConfigure.h"
#include "cSucursal.h"

#include <QDateTime>

namespace {

const QString kEnsamble = QStringLiteral("ENSAMBLE");
const QString kDesensamble = QStringLiteral("DESENSAMBLE");
const QString kTraspaso = QStringLiteral("TRASPASO");
const QString kCambios = QStringLiteral("CAMBIOS");
const QString kIntersucursal = QStringLiteral("INTERSUCURSAL");

// A document step failed; the message is shown once the transaction has been rolled back.
// detalle: the database text of a failed stock call (the call already logged it).
struct Rechazo {
    Rechazo(QString t, QString d = {}) : texto(std::move(t)), detalle(std::move(d)) {}
    QString texto;
    QString detalle;
};

QString folio(int anio, qint64 numero)
{
    return QString::number(anio) + u'-' + QString::number(numero);
}

Rechazo rechazoDe(const Existencias &e)
{
    return {e.ultimoError(), e.ultimoDetalle()};
}

struct Articulo {
    bool existe = false;
    QString nombre, control;
};

Articulo leeArticulo(db::Connection &c, const QString &clave)
{
    Articulo a;
    db::Recordset rs = c.openRecordset(
        QStringLiteral("select art_Nombre, cinv_Clave from tArticulo where art_Clave = ?"), {clave});
    if (rs.eof())
        return a;
    a.existe = true;
    a.nombre = rs.text(QStringLiteral("art_Nombre"));
    a.control = rs.text(QStringLiteral("cinv_Clave")).trimmed();
    if (a.control.isEmpty())
        a.control = QStringLiteral("LIBRE");
    return a;
}

} // namespace

MovimientoAlmacen::MovimientoAlmacen(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter)
{
}

QString MovimientoAlmacen::origen(const QString &tipo, int anio, qint64 numero)
{
    return QStringLiteral("MOV_ALMACEN-") + tipo + u'-' + folio(anio, numero);
}

QString MovimientoAlmacen::origenComponentes(const QString &tipo, int anio, qint64 numero)
{
    return QStringLiteral("MOV_ALMACEN-") + tipo + QStringLiteral("-COMP-") + folio(anio, numero);
}

QString MovimientoAlmacen::origenCancelacion(const QString &tipo, int anio, qint64 numero)
{
    return QStringLiteral("MOV_ALMACEN-C-") + tipo + u'-' + folio(anio, numero);
}

QList<MovimientoAlmacen::Componente> MovimientoAlmacen::componentes(const QString &articulo,
                                                                    const Decimal &cantidad)
{
    QList<Componente> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(
             QStringLiteral("select e.esa_Clave, e.esa_Cantidad, a.art_Costo from tArticuloEnsamble e "
                            "join tArticulo a on a.art_Clave = e.esa_Clave where e.art_Clave = ? "
                            "order by e.esa_Clave"),
             {articulo});
         !rs.eof(); rs.moveNext())
        out << Componente{rs.text(QStringLiteral("esa_Clave")), QString(),
                          rs.decimal(QStringLiteral("esa_Cantidad")) * cantidad,
                          rs.decimal(QStringLiteral("art_Costo"))};
    return out;
}

bool MovimientoAlmacen::rechaza(const QString &campo, const QString &texto)
{
    m_campo = campo;
    m_prompter.exclamation(texto);
    return false;
}

void MovimientoAlmacen::avisa(const QString &texto)
{
    if (m_progreso)
        m_progreso(texto);
}

bool MovimientoAlmacen::validaLinea(db::Connection &c, const QString &articulo, const QString &lote,
                                    const Decimal &cantidad, const QString &campoArticulo,
                                    const QString &campoLote)
{
    const Articulo a = leeArticulo(c, articulo);
    if (!a.existe)
        return rechaza(campoArticulo,
                       QStringLiteral("El articulo ") + articulo + QStringLiteral(" no existe"));
    if (a.control == QLatin1String("NINGUNO"))
        return rechaza(
            campoArticulo,
            QStringLiteral("No es posible generar movimientos de articulos sin control de inventario "));
    const QString campoCantidad =
        campoLote == QLatin1String("lote") || campoLote == QLatin1String("loteCambio")
            ? QStringLiteral("cantidad")
            : campoLote;
    if (cantidad <= Decimal())
        return rechaza(campoCantidad, QStringLiteral("Debe indicar la cantidad"));
    Existencias e(m_connections, m_config, m_prompter);
    if (!e.validaLoteSerie(lote, a.control, true)) {
        m_campo = campoLote;
        return false;
    }
    if (a.control == QLatin1String("SERIE") && cantidad != Decimal(1))
        return rechaza(
            campoCantidad,
            QStringLiteral("La cantidad para un articulo controlado por serie siempre debe ser uno"));
    return true;
}

bool MovimientoAlmacen::valida(const Datos &d)
{
    try {
        return revisa(d);
    } catch (const db::DbError &e) {
        reportError(m_prompter, QString(), QStringLiteral("MovimientoAlmacen.valida"),
                    ErrorInfo::fromException(e));
    }
    return false;
}

bool MovimientoAlmacen::revisa(const Datos &d)
{
    m_campo.clear();
    m_componente = -1;
    db::Connection &c = m_connections.getConnection();
    if (d.almacen.isEmpty())
        return rechaza(QStringLiteral("almacen"), QStringLiteral("Debe seleccionar un almacen"));
    if (d.tipo.isEmpty() ||
        c.scalar(QStringLiteral("select count(*) from tTipoMovAlmacen where tmova_Clave = ?"), {d.tipo})
                .toInt() == 0)
        return rechaza(QStringLiteral("tipo"), QStringLiteral("Debe seleccionar un tipo de movimiento"));
    if (d.tipo == kIntersucursal &&
        (d.destino.isEmpty() ||
         c.scalar(QStringLiteral("select count(*) from tSucursal where suc_Clave = ?"), {d.destino})
                 .toInt() == 0))
        return rechaza(QStringLiteral("destino"), QStringLiteral("Selecciona la sucursal destino"));
    if (d.articulo.isEmpty())
        return rechaza(QStringLiteral("articulo"), QStringLiteral("Debe indicar el articulo"));
    if (!validaLinea(c, d.articulo, d.lote, d.cantidad, QStringLiteral("articulo"), QStringLiteral("lote")))
        return false;
    if (d.tipo == kTraspaso) {
        if (d.destino.isEmpty() ||
            c.scalar(QStringLiteral("select count(*) from tAlmacen where alm_Clave = ?"), {d.destino})
                    .toInt() == 0)
            return rechaza(QStringLiteral("destino"), QStringLiteral("Debe seleccionar el almacen destino"));
        if (d.destino == d.almacen)
            return rechaza(QStringLiteral("destino"),
                           QStringLiteral("El almacen destino debe ser distinto al almacen origen"));
    }
    if (d.tipo == kCambios) {
        if (d.articuloCambio.isEmpty())
            return rechaza(QStringLiteral("articuloCambio"),
                           QStringLiteral("Debe indicar el articulo de cambio"));
        if (d.articuloCambio == d.articulo && d.loteCambio == d.lote)
            return rechaza(QStringLiteral("articuloCambio"),
                           QStringLiteral("El articulo de cambio debe ser distinto"));
        if (!validaLinea(c, d.articuloCambio, d.loteCambio, d.cantidad, QStringLiteral("articuloCambio"),
                         QStringLiteral("loteCambio")))
            return false;
    }
    if (d.tipo == kEnsamble || d.tipo == kDesensamble) {
        if (d.componentes.isEmpty())
            return rechaza(QStringLiteral("articulo"), QStringLiteral("El articulo no tiene componentes"));
        LoteSerie lotes(m_connections, m_prompter);
        for (int i = 0; i < d.componentes.size(); ++i) {
            const Componente &k = d.componentes.at(i);
            m_componente = i;
            if (!lotes.validaCantidad(leeArticulo(c, k.articulo).control, k.cantidad)) {
                m_campo = QStringLiteral("componentes");
                return false;
            }
            if (!validaLinea(c, k.articulo, k.lote, k.cantidad, QStringLiteral("componentes"),
                             QStringLiteral("componentes")))
                return false;
        }
        m_componente = -1;
    }
    return true;
}

QList<MovimientoAlmacen::Paso> MovimientoAlmacen::pasosRegistro(const Datos &d, bool entrada, int anio,
                                                                qint64 numero) const
{
    const QString o = origen(d.tipo, anio, numero);
    const QString oc = origenComponentes(d.tipo, anio, numero);
    const QString E = QStringLiteral("E"), S = QStringLiteral("S");
    QList<Paso> pasos;
    if (d.tipo == kEnsamble) {
        for (const Componente &k : d.componentes)
            pasos << Paso{d.almacen, k.articulo, k.lote, k.cantidad, S, oc, k.costo};
        pasos << Paso{d.almacen, d.articulo, d.lote, d.cantidad, E, o, d.costo};
    } else if (d.tipo == kDesensamble) {
        pasos << Paso{d.almacen, d.articulo, d.lote, d.cantidad, S, o, d.costo};
        for (const Componente &k : d.componentes)
            pasos << Paso{d.almacen, k.articulo, k.lote, k.cantidad, E, oc, k.costo};
    } else if (d.tipo == kTraspaso) {
        pasos << Paso{d.almacen, d.articulo, d.lote, d.cantidad, S, o, d.costo}
              << Paso{d.destino, d.articulo, d.lote, d.cantidad, E, o, d.costo};
    } else if (d.tipo == kCambios) {
        pasos << Paso{d.almacen, d.articulo, d.lote, d.cantidad, S, o, d.costo}
              << Paso{d.almacen, d.articuloCambio, d.loteCambio, d.cantidad, E, o, d.costo};
    } else {
        pasos << Paso{d.almacen, d.articulo, d.lote, d.cantidad, entrada ? E : S, o, d.costo};
    }
    return pasos;
}

bool MovimientoAlmacen::registra(const Datos &d)
{
    m_anio = 0;
    m_numero = 0;
    if (d.tipo == kIntersucursal)
        return registraIntersucursal(d);
    QString error, detalle;
    bool enLog = false;
    try {
        if (!revisa(d) || !m_prompter.question(QStringLiteral("Los datos son correctos"), true))
            return false;
        db::Connection &c = m_connections.getConnection();
        db::Transaction t(c);
        const QDateTime ahora = c.scalar(QStringLiteral("select getdate()")).toDateTime();
        const int anio = ahora.date().year();
        const qint64 numero = Secuencias::getNextSequence(
            c, Secuencias::clave(Secuencias::Documento::MovAlmacenAnual, d.almacen, ahora.date()));
        const bool entrada =
            c.scalar(QStringLiteral("select tmova_Entrada from tTipoMovAlmacen where tmova_Clave = ?"),
                     {d.tipo})
                .toString() == QLatin1String("S");
        // The document moves exactly what it names: no box is opened, filled or exploded.
        Existencias e(m_connections, m_config, m_prompter);
        for (const Paso &p : pasosRegistro(d, entrada, anio, numero))
            if (!e.actualizaArticuloAlmacen(p.almacen, p.articulo, p.lote, p.cantidad, p.tipo, p.origen,
                                            QString(), QString(), p.costo, false, false, false, &c))
                throw rechazoDe(e);
        const bool traspaso = d.tipo == kTraspaso, cambio = d.tipo == kCambios;
        c.execute(QStringLiteral("insert into tMovAlmacen (alm_Clave, mova_Anio, mova_Clave, MOVA_Fecha, "
                                 "art_Clave, alma_Clave, MOVA_Cantidad, MOVA_Costo, MOVA_Total, EMOVA_CLAVE, "
                                 "tmova_Clave, alm_Destino, art_Cambio, alma_ClaveCambio, mova_Descripcion) "
                                 "values (?, ?, ?, getdate(), ?, ?, ?, ?, ?, 'REGISTRADO', ?, ?, ?, ?, ?)"),
                  {d.almacen, anio, numero, d.articulo, d.lote, d.cantidad.toQVariant(), d.costo.toQVariant(),
                   (d.cantidad * d.costo).round(2).toQVariant(), d.tipo,
                   traspaso ? QVariant(d.destino) : QVariant(),
                   cambio ? QVariant(d.articuloCambio) : QVariant(),
                   cambio ? QVariant(d.loteCambio) : QVariant(), d.descripcion});
        t.commit();
        m_anio = anio;
        m_numero = numero;
    } catch (const Rechazo &r) {
        error = r.texto;
        detalle = r.detalle;
        enLog = !detalle.isEmpty();
    } catch (const db::DbError &e) {
        detalle = e.description();
        error = QStringLiteral("No fue posible registrar el movimiento");
    }
    return informa(error, detalle, enLog, QString(), QString(), QString(),
                   QStringLiteral("El registro fue dado de alta con exito"));
}

// The branch entry first, in the branch's own transaction; the local exit and row after it, in the
// local one. A local failure after the branch committed cannot undo the branch: it is reported
// (and logged) with exactly what to cancel there.
bool MovimientoAlmacen::registraIntersucursal(const Datos &d)
{
    QString error, detalle, pendiente;
    bool enLog = false;
    try {
        if (!revisa(d) || !m_prompter.question(QStringLiteral("Los datos son correctos"), true))
            return false;
        db::Connection &c = m_connections.getConnection();
        cSucursal sucursal(m_connections, m_prompter);
        if (!sucursal.cargarSucursal(d.destino))
            return rechaza(QStringLiteral("destino"), QStringLiteral("Selecciona la sucursal destino"));
        avisa(QStringLiteral("Iniciando la conexion a la sucursal ..."));
        if (!sucursal.abrirSucursal()) // reported by the branch object
            return false;
        db::Connection &b = *sucursal.Connection();
        db::Transaction t(c);
        const QDateTime ahora = c.scalar(QStringLiteral("select getdate()")).toDateTime();
        const int anio = ahora.date().year();
        const qint64 numero = Secuencias::getNextSequence(
            c, Secuencias::clave(Secuencias::Documento::MovAlmacenAnual, d.almacen, ahora.date()));
        const QString documento = d.almacen + u'-' + folio(anio, numero);
        // The usual refusal (too little stock here) comes before anything reaches the branch.
        hayExistencia(
            c, Paso{d.almacen, d.articulo, d.lote, d.cantidad, QStringLiteral("S"), QString(), d.costo});
        Existencias e(m_connections, m_config, m_prompter);
        {
            avisa(QStringLiteral("Actualizando almacen de la sucursal"));
            db::Transaction tb(b);
            const qint64 numeroSucursal =
                Secuencias::getNextSequence(b, Secuencias::clave(Secuencias::Documento::MovAlmacenAnual,
                                                                 sucursal.Almacen(), ahora.date()));
            const QString origenSucursal = origen(d.tipo, anio, numeroSucursal);
            // The branch's kardex names the sending document as its invoice.
            if (!e.actualizaArticuloAlmacen(sucursal.Almacen(), d.articulo, d.lote, d.cantidad,
                                            QStringLiteral("E"), origenSucursal, QString(), documento,
                                            d.costo, false, false, false, &b))
                throw rechazoDe(e);
            tb.commit();
            pendiente = QStringLiteral("En la sucursal ") + d.destino +
                        QStringLiteral(" debe cancelarse la entrada ") + origenSucursal +
                        QStringLiteral(" del almacen ") + sucursal.Almacen() + QStringLiteral(": articulo ") +
                        d.articulo + (d.lote.isEmpty() ? QString() : QStringLiteral(" lote ") + d.lote) +
                        QStringLiteral(" cantidad ") + d.cantidad.toString();
        }
        avisa(QStringLiteral("Actualizar el almacen local"));
        if (!e.actualizaArticuloAlmacen(d.almacen, d.articulo, d.lote, d.cantidad, QStringLiteral("S"),
                                        origen(d.tipo, anio, numero), QString(), QString(), d.costo, false,
                                        false, false, &c))
            throw rechazoDe(e);
        c.execute(QStringLiteral("insert into tMovAlmacen (alm_Clave, mova_Anio, mova_Clave, MOVA_Fecha, "
                                 "art_Clave, alma_Clave, MOVA_Cantidad, MOVA_Costo, MOVA_Total, EMOVA_CLAVE, "
                                 "tmova_Clave, alm_Destino, mova_Descripcion) "
                                 "values (?, ?, ?, getdate(), ?, ?, ?, ?, ?, 'REGISTRADO', ?, ?, ?)"),
                  {d.almacen, anio, numero, d.articulo, d.lote, d.cantidad.toQVariant(), d.costo.toQVariant(),
                   (d.cantidad * d.costo).round(2).toQVariant(), d.tipo, d.destino, d.descripcion});
        t.commit();
        m_anio = anio;
        m_numero = numero;
        pendiente.clear();
    } catch (const Rechazo &r) {
        error = r.texto;
        detalle = r.detalle;
        enLog = !detalle.isEmpty();
    } catch (const db::DbError &e) {
        detalle = e.description();
        error = QStringLiteral("No fue posible registrar el movimiento");
    }
    return informa(error, detalle, enLog, pendiente, QStringLiteral("No fue posible registrar la salida local ("),
                   QStringLiteral("MovimientoAlmacen.registraIntersucursal: "),
                   QStringLiteral("El registro fue dado de alta con exito"));
}

bool MovimientoAlmacen::hayExistencia(db::Connection &c, const Paso &p)
{
    const Articulo a = leeArticulo(c, p.articulo);
    if (a.control == QLatin1String("NINGUNO") || a.control == QLatin1String("LIBRE"))
        return true;
    const QVariant v = c.scalar(QStringLiteral("select sum(alma_Existencia) from tArticuloAlmacen where "
                                               "alm_Clave = ? and art_Clave = ? and alma_Clave = ? and "
                                               "alma_Existencia > 0"),
                                {p.almacen, p.articulo, p.lote});
    if (v.isNull()) {
        if (a.control == QLatin1String("SERIE"))
            throw Rechazo{QStringLiteral("La serie ") + p.lote + QStringLiteral(" del producto ") +
                          p.articulo + u'-' + a.nombre + u' ' +
                          QStringLiteral("No esta registrada en el sistema")};
        if (a.control == QLatin1String("LOTE"))
            throw Rechazo{QStringLiteral("El Lote ") + p.lote + QStringLiteral(" del producto ") +
                          p.articulo + u'-' + a.nombre + u' ' +
                          QStringLiteral("No esta registrado en el sistema")};
        throw Rechazo{QStringLiteral("El producto ") + p.articulo + QStringLiteral(" - ") + a.nombre + u' ' +
                      QStringLiteral("No tiene existencia registrada en el sistema")};
    }
    const Decimal existencia = Decimal::fromVariant(v);
    if (existencia < p.cantidad)
        throw Rechazo{QStringLiteral("El producto ") + p.articulo + QStringLiteral(" - ") + a.nombre + u' ' +
                      QStringLiteral("No tiene existencia suficiente ") +
                      QStringLiteral("Existencia actual: ") + existencia.toString() +
                      QStringLiteral(" Requerida ") + p.cantidad.toString()};
    return true;
}

bool MovimientoAlmacen::cancela(const QString &almacen, int anio, qint64 numero)
{
    QString error, detalle;
    bool enLog = false;
    try {
        db::Connection &c = m_connections.getConnection();
        Datos d;
        QString estado;
        {
            db::Recordset rs = c.openRecordset(
                QStringLiteral(
                    "select * from tMovAlmacen where alm_Clave = ? and mova_Anio = ? and mova_Clave = ?"),
                {almacen, anio, numero});
            if (rs.eof()) {
                m_prompter.exclamation(QStringLiteral("No se encontro informacion del movimiento"));
                return false;
            }
            d.almacen = almacen;
            d.tipo = rs.text(QStringLiteral("tmova_Clave"));
            d.articulo = rs.text(QStringLiteral("art_Clave"));
            d.lote = rs.text(QStringLiteral("alma_Clave"));
            d.cantidad = rs.decimal(QStringLiteral("MOVA_Cantidad"));
            d.costo = rs.decimal(QStringLiteral("MOVA_Costo"));
            d.destino = rs.text(QStringLiteral("alm_Destino"));
            d.articuloCambio = rs.text(QStringLiteral("art_Cambio"));
            d.loteCambio = rs.text(QStringLiteral("alma_ClaveCambio"));
            estado = rs.text(QStringLiteral("EMOVA_CLAVE"));
        }
        if (estado != QLatin1String("REGISTRADO")) {
            m_prompter.exclamation(QStringLiteral("El movimiento ") + folio(anio, numero) +
                                   QStringLiteral(" ya ha sido cancelado"));
            return false;
        }
        if (!m_prompter.question(QStringLiteral("Esta seguro que desea cancelar el movimiento ") +
                                     folio(anio, numero) + QStringLiteral(" ?"),
                                 false, QStringLiteral("Esto puede afectar la existencia del articulo")))
            return false;
        if (d.tipo == kIntersucursal)
            return cancelaIntersucursal(d, anio, numero);

        db::Transaction t(c);
        // What the components really moved, whatever the assembly says today.
        if (d.tipo == kEnsamble || d.tipo == kDesensamble)
            for (db::Recordset rs = c.openRecordset(
                     QStringLiteral(
                         "select art_Clave, alma_Clave, sum(kar_Cantidad) as cantidad, "
                         "max(art_Costo) as costo from tArticuloKardex where ALM_CLAVE = ? and "
                         "KAR_ORIGEN = ? group by art_Clave, alma_Clave order by art_Clave, alma_Clave"),
                     {almacen, origenComponentes(d.tipo, anio, numero)});
                 !rs.eof(); rs.moveNext()) {
                const Decimal q = rs.decimal(QStringLiteral("cantidad")).abs();
                if (!q.isZero())
                    d.componentes << Componente{rs.text(QStringLiteral("art_Clave")),
                                                rs.text(QStringLiteral("alma_Clave")), q,
                                                rs.decimal(QStringLiteral("costo"))};
            }
        // The direction the movement really took, whatever its type says today.
        const bool entrada = Decimal::fromVariant(c.scalar(
                                 QStringLiteral("select coalesce(sum(kar_Cantidad), 0) from tArticuloKardex "
                                                "where ALM_CLAVE = ? and art_Clave = ? and KAR_ORIGEN = ?"),
                                 {almacen, d.articulo, origen(d.tipo, anio, numero)})) > Decimal();
        QList<Paso> pasos = pasosRegistro(d, entrada, anio, numero);
        // Reversed: what entered leaves, what left enters; exits first so the stock they need is
        // the stock the movement brought.
        QList<Paso> salidas, entradas;
        for (Paso p : pasos) {
            p.origen = origenCancelacion(d.tipo, anio, numero);
            if (p.tipo == QLatin1String("E")) {
                p.tipo = QStringLiteral("S");
                salidas << p;
            } else {
                p.tipo = QStringLiteral("E");
                entradas << p;
            }
        }
        Existencias e(m_connections, m_config, m_prompter);
        for (const Paso &p : salidas + entradas) {
            if (p.tipo == QLatin1String("S"))
                hayExistencia(c, p);
            if (!e.actualizaArticuloAlmacen(p.almacen, p.articulo, p.lote, p.cantidad, p.tipo, p.origen,
                                            QString(), QString(), p.costo, false, false, false, &c))
                throw rechazoDe(e);
        }
        // Another workstation may have cancelled it meanwhile: then nothing of this one stays.
        if (c.execute(
                QStringLiteral("update tMovAlmacen set EMOVA_CLAVE = 'CANCELADO' where alm_Clave = ? and "
                               "mova_Anio = ? and mova_Clave = ? and EMOVA_CLAVE = 'REGISTRADO'"),
                {almacen, anio, numero}) != 1)
            throw Rechazo{QStringLiteral("El movimiento ") + folio(anio, numero) +
                          QStringLiteral(" ya ha sido cancelado")};
        t.commit();
    } catch (const Rechazo &r) {
        error = r.texto;
        detalle = r.detalle;
        enLog = !detalle.isEmpty();
    } catch (const db::DbError &e) {
        detalle = e.description();
        error = QStringLiteral("No fue posible cancelar el movimiento");
    }
    return informa(error, detalle, enLog, QString(), QString(), QString(),
                   QStringLiteral("El registro ha sido cancelado con exito"));
}

// Mirrors the shipment: the branch gives the goods back first (its own transaction, after its
// stock check), then they re-enter here and the row is cancelled.
bool MovimientoAlmacen::cancelaIntersucursal(const Datos &d, int anio, qint64 numero)
{
    QString error, detalle, pendiente;
    bool enLog = false;
    try {
        db::Connection &c = m_connections.getConnection();
        cSucursal sucursal(m_connections, m_prompter);
        if (!sucursal.cargarSucursal(d.destino)) {
            m_prompter.exclamation(QStringLiteral("Selecciona la sucursal destino"));
            return false;
        }
        avisa(QStringLiteral("Iniciando la conexion a la sucursal ..."));
        if (!sucursal.abrirSucursal())
            return false;
        db::Connection &b = *sucursal.Connection();
        const QString documento = d.almacen + u'-' + folio(anio, numero);
        // The branch's entry carries the sending document as its invoice.
        QString origenSucursal;
        {
            db::Recordset rs = b.openRecordset(
                QStringLiteral("select KAR_ORIGEN from tArticuloKardex where ALM_CLAVE = ? and art_Clave = ? "
                               "and fact_Clave = ? and KAR_ORIGEN like ? order by kar_Clave"),
                {sucursal.Almacen(), d.articulo, documento,
                 QStringLiteral("MOV_ALMACEN-") + d.tipo + QStringLiteral("-%")});
            if (rs.eof()) {
                m_prompter.exclamation(QStringLiteral("No se encontro informacion del movimiento"));
                return false;
            }
            origenSucursal = rs.text(QStringLiteral("KAR_ORIGEN"));
        }
        const QString origenCancelSucursal =
            QStringLiteral("MOV_ALMACEN-C-") + origenSucursal.mid(QStringLiteral("MOV_ALMACEN-").size());
        db::Transaction t(c);
        Existencias e(m_connections, m_config, m_prompter);
        {
            avisa(QStringLiteral("Actualizando almacen de la sucursal"));
            db::Transaction tb(b);
            const Paso salida{sucursal.Almacen(),  d.articulo,           d.lote, d.cantidad,
                              QStringLiteral("S"), origenCancelSucursal, d.costo};
            hayExistencia(b, salida);
            if (!e.actualizaArticuloAlmacen(salida.almacen, salida.articulo, salida.lote, salida.cantidad,
                                            salida.tipo, salida.origen, QString(), documento, salida.costo,
                                            false, false, false, &b))
                throw rechazoDe(e);
            tb.commit();
            pendiente = QStringLiteral("En la sucursal ") + d.destino +
                        QStringLiteral(" debe volver a entrar ") + origenCancelSucursal +
                        QStringLiteral(" al almacen ") + sucursal.Almacen() + QStringLiteral(": articulo ") +
                        d.articulo + (d.lote.isEmpty() ? QString() : QStringLiteral(" lote ") + d.lote) +
                        QStringLiteral(" cantidad ") + d.cantidad.toString();
        }
        avisa(QStringLiteral("Actualizar el almacen local"));
        if (!e.actualizaArticuloAlmacen(d.almacen, d.articulo, d.lote, d.cantidad, QStringLiteral("E"),
                                        origenCancelacion(d.tipo, anio, numero), QString(), QString(),
                                        d.costo, false, false, false, &c))
            throw rechazoDe(e);
        if (c.execute(
                QStringLiteral("update tMovAlmacen set EMOVA_CLAVE = 'CANCELADO' where alm_Clave = ? and "
                               "mova_Anio = ? and mova_Clave = ? and EMOVA_CLAVE = 'REGISTRADO'"),
                {d.almacen, anio, numero}) != 1)
            throw Rechazo{QStringLiteral("El movimiento ") + folio(anio, numero) +
                          QStringLiteral(" ya ha sido cancelado")};
        t.commit();
        pendiente.clear();
    } catch (const Rechazo &r) {
        error = r.texto;
        detalle = r.detalle;
        enLog = !detalle.isEmpty();
    } catch (const db::DbError &e) {
        detalle = e.description();
        error = QStringLiteral("No fue posible cancelar el movimiento");
    }
    return informa(error, detalle, enLog, pendiente, QStringLiteral("No fue posible registrar la entrada local ("),
                   QStringLiteral("MovimientoAlmacen.cancelaIntersucursal: "),
                   QStringLiteral("El registro ha sido cancelado con exito"));
}

// How a writer ends: the success message, or its refusal; a database failure as a plain sentence
// with its text behind "Detalles"; for a branch document whose branch part is already done, what
// is left to undo there (also in the log, where).
bool MovimientoAlmacen::informa(QString error, const QString &detalle, bool detalleEnLog,
                                const QString &pendiente,
                                const QString &ladoLocal, const QString &donde, const QString &exito)
{
    if (error.isEmpty()) {
        m_prompter.information(exito);
        return true;
    }
    if (!pendiente.isEmpty()) {
        error = ladoLocal + Existencias::textoDeRechazo(error) + QStringLiteral("). ") + pendiente;
        writeLog(donde + error);
    }
    if (detalle.isEmpty()) {
        m_prompter.exclamation(error);
    } else {
        if (!detalleEnLog)
            writeLog(error + QStringLiteral(": ") + detalle);
        m_prompter.detailedMessage(Prompter::Icon::Exclamation, error, detalle);
    }
    return false;
}
