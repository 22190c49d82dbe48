#include "VentaCaptura.h"

#include "VentaInterno.h"

#include "BuscaArticulo.h"
#include "CalculoVenta.h"
#include "ConnectionProvider.h"
#include "Corte.h"
#include "Log.h"
#include "Permisos.h"
#include "PreciosArticulo.h"
#include "Prompter.h"
#include "cCode.h"
#include "cConfigure.h"

#include "Connection.h"
#include "DbError.h"

#include <algorithm>

using namespace venta;

const QStringList VentaCaptura::kDerechos = {
    QStringLiteral("AltaRapida"),         QStringLiteral("CambioPrecio"),
    QStringLiteral("CambioDesc"),         QStringLiteral("CambioIVA"),
    QStringLiteral("VentaSinExistencia"), QStringLiteral("VentaAbajoCosto"),
    QStringLiteral("DescuentoIlimitado"), QStringLiteral("ActualizaCatalogo"),
    QStringLiteral("ModVentaPendiente"),  QStringLiteral("CambioTipoCliente"),
};

QString VentaCaptura::Pendiente::clave() const
{
    return terminal + u'\t' + QString::number(anio) + u'\t' + QString::number(corte) + u'\t' +
           QString::number(numero);
}

VentaCaptura::VentaCaptura(const Servicios &servicios, QObject *parent) : QObject(parent), m_s(servicios) {}

VentaCaptura::~VentaCaptura() = default;

QString VentaCaptura::almacen() const
{
    return m_s.config.getString(QStringLiteral("ALMACEN"));
}

bool VentaCaptura::acumula() const
{
    return m_s.config.getBool(QStringLiteral("ACUMULAR-ARTICULOS-VENTA")) || m_cliente.acumular;
}

void VentaCaptura::cargaDerechos()
{
    m_derechos.clear();
    for (const QString &d : kDerechos)
        if (m_s.permisos.hasPermission(QStringLiteral("frmVenta_") + d))
            m_derechos.insert(d);
}

void VentaCaptura::iniciaVenta()
{
    m_terminal = m_s.config.getString(QStringLiteral("TERMINAL"));
    m_vendedor = m_s.config.getString(QStringLiteral("USUARIO"));
    m_corte = m_s.config.getString(QStringLiteral("CORTE-CAJA"));
    cargaDerechos();
    m_lineas.clear();
    m_pendientes.clear();
    m_totales = TotalesVenta();
    m_cliente = Cliente();
    cargaCliente(m_s.config.getString(QStringLiteral("CLIENTE-POR-OMISION")));
    calculaGrid();
    Q_EMIT lineasCambiaron();
    if (m_s.scripts)
        m_s.scripts->runEvent(QStringLiteral("OnStartUpSale"));
    Q_EMIT ventaIniciada();
}

bool VentaCaptura::puedeDescartar()
{
    if (m_lineas.isEmpty())
        return true;
    return m_s.prompter.question(
        QStringLiteral("Los articulos capturados no han sido guardados y se perderan, desea  continuar"));
}

bool VentaCaptura::cmdBorrar()
{
    if (!puedeDescartar())
        return false;
    iniciaVenta();
    return true;
}

bool VentaCaptura::rechaza(const Modo &modo, const QString &texto)
{
    if (modo.interactivo)
        m_s.prompter.exclamation(texto);
    else if (modo.rechazo)
        *modo.rechazo = texto;
    return false;
}

bool VentaCaptura::pregunta(const Modo &modo, const QString &texto)
{
    // The import asks nothing: what a question would let through is taken.
    return !modo.interactivo || m_s.prompter.question(texto);
}

std::optional<VentaCaptura::Articulo> VentaCaptura::leeArticulo(const QString &texto)
{
    db::Connection &c = m_s.connections.getConnection();
    const QString clave = BuscaArticulo::porCodigo(c, texto);
    if (clave.isEmpty())
        return std::nullopt;
    db::Recordset rs = c.openRecordset(
        QStringLiteral(
            "select art_Clave, art_Nombre, ref_Clave, ref_Pregunta, eart_Clave, cinv_Clave, art_Granel, "
            "art_Ensamble, art_Costo, art_VenderAbajoDelCosto from tArticulo where art_Clave = ?"),
        {clave});
    if (rs.eof())
        return std::nullopt;
    Articulo a;
    a.clave = rs.text(QStringLiteral("art_Clave"));
    a.nombre = rs.text(QStringLiteral("art_Nombre"));
    a.referencia =
        esSi(rs.text(QStringLiteral("ref_Clave"))) || esSi(rs.text(QStringLiteral("ref_Pregunta")));
    a.estado = rs.text(QStringLiteral("eart_Clave")).trimmed().toUpper();
    a.control = rs.text(QStringLiteral("cinv_Clave")).trimmed().toUpper();
    a.granel = esSi(rs.text(QStringLiteral("art_Granel")));
    a.ensamble = esSi(rs.text(QStringLiteral("art_Ensamble")));
    if (!rs.isNull(QStringLiteral("art_Costo")))
        a.costo = rs.decimal(QStringLiteral("art_Costo"));
    a.venderAbajoDelCosto = rs.text(QStringLiteral("art_VenderAbajoDelCosto")).trimmed().toUpper();
    return a;
}

bool VentaCaptura::noEncontrado(const QString &clave, const Modo &modo, QString *registrado)
{
    if (modo.interactivo && tieneDerecho(QStringLiteral("AltaRapida"))) {
        if (m_s.prompter.question(QStringLiteral("Articulo no encontrado, desea registrarlo ?")) &&
            m_altaRapida) {
            if (const auto nuevo = m_altaRapida(clave); nuevo && !nuevo->isEmpty()) {
                *registrado = *nuevo;
                return true;
            }
        }
        return false;
    }
    return rechaza(modo, QStringLiteral("Articulo no encontrado"));
}

std::optional<VentaCaptura::Captura> VentaCaptura::buscaArticulo(const QString &texto)
{
    QString clave = texto.trimmed().toUpper();
    if (clave.isEmpty())
        return std::nullopt;
    try {
        std::optional<Articulo> art = leeArticulo(clave);
        if (!art) {
            QString registrado;
            if (!noEncontrado(clave, Modo(), &registrado))
                return std::nullopt;
            art = leeArticulo(registrado.toUpper());
            if (!art)
                return std::nullopt;
        }
        const auto precio = m_s.precios.obtenPrecioCliente(art->clave, m_cliente.tipo);
        if (!precio)
            return std::nullopt;
        Captura cap;
        cap.articulo = art->clave;
        cap.nombre = art->nombre;
        cap.precio = precio->precio.publico.toString(2);
        cap.descuento = precio->precio.descuento.toString();
        cap.iva = precio->precio.impuestoPorcentaje.toString();
        LineaVenta l;
        l.precio = precio->precio.publico;
        l.descuento = precio->precio.descuento;
        l.iva = precio->precio.impuestoPorcentaje;
        l.cantidad = Decimal(1);
        CalculoVenta::calculaLinea(l, ReglaRedondeo());
        cap.subTotal = (l.precio * (Decimal(100) - l.descuento) / Decimal(100)).toString(2);
        cap.total = l.importe.toString(2);
        cap.tipoPrecio = precio->tipoPrecio.isEmpty() ? QStringLiteral("NORMAL") : precio->tipoPrecio;
        cap.numeroPrecio = precio->numero;
        if (m_s.config.getBool(QStringLiteral("OPERACION-CAPTURA-AUTOMATICA"))) {
            cap.cantidad = QStringLiteral("1");
            cap.agregado = cmdAgregar(cap);
        }
        return cap;
    } catch (const std::exception &e) {
        reportError(m_s.prompter, QString(), QStringLiteral("buscaArticulo"), ErrorInfo::fromException(e));
        return std::nullopt;
    }
}

bool VentaCaptura::cmdAgregar(const Captura &captura)
{
    const Modo modo;
    if (captura.articulo.trimmed().isEmpty())
        return rechaza(modo, QStringLiteral("Debe indicar el articulo"));
    if (captura.cantidad.trimmed().isEmpty())
        return rechaza(modo, QStringLiteral("Debe indicar la cantidad"));
    if (captura.precio.trimmed().isEmpty())
        return rechaza(modo, QStringLiteral("Debe indicar el importe"));
    const auto cantidad = numero(captura.cantidad);
    if (!cantidad)
        return rechaza(modo, QStringLiteral("Debe ingresar un valor numerico"));
    if (cantidad->sign() <= 0)
        return rechaza(modo, QStringLiteral("No se admiten cantidades menores o iguales a cero"));
    try {
        std::optional<Articulo> art = leeArticulo(captura.articulo.trimmed().toUpper());
        if (!art) {
            QString registrado;
            if (!noEncontrado(captura.articulo.trimmed().toUpper(), modo, &registrado))
                return false;
            // The registered article is priced again before it is added.
            if (auto cap = buscaArticulo(registrado); cap && !cap->agregado) {
                cap->cantidad = captura.cantidad;
                return cmdAgregar(*cap);
            }
            return false;
        }
        return agrega(captura, modo, *art, *cantidad);
    } catch (const std::exception &e) {
        reportError(m_s.prompter, QString(), QStringLiteral("cmdAgregar"), ErrorInfo::fromException(e));
        return false;
    }
}

bool VentaCaptura::agrega(const Captura &captura, const Modo &modo, const Articulo &art,
                          const Decimal &cantidad)
{
    const auto precio = numero(captura.precio);
    const auto descuento =
        captura.descuento.trimmed().isEmpty() ? std::optional<Decimal>(Decimal()) : numero(captura.descuento);
    const auto iva =
        captura.iva.trimmed().isEmpty() ? std::optional<Decimal>(Decimal()) : numero(captura.iva);
    if (!precio || !descuento || !iva)
        return rechaza(modo, QStringLiteral("Debe ingresar un valor numerico"));

    QString referencia = captura.referencia;
    if (art.referencia && referencia.trimmed().isEmpty()) {
        if (modo.interactivo)
            m_s.prompter.input(QStringLiteral("Referencia"), QStringLiteral("Referencia"), referencia);
        if (referencia.trimmed().isEmpty())
            return rechaza(modo, QStringLiteral("Referencia requerida"));
    }
    if (art.estado == QLatin1String("SUSPENDIDO"))
        return rechaza(modo, modo.interactivo
                                 ? QString(QStringLiteral("El articulo ") + art.clave +
                                           QStringLiteral("Se encuentra en estado de suspendido. No "
                                                          "es posible efectuar su venta"))
                                 : QStringLiteral("Articulo Suspendido"));
    if (!art.granel && cantidad != cantidad.truncated())
        return rechaza(modo, modo.interactivo
                                 ? QString(QStringLiteral("El articulo ") + art.clave +
                                           QStringLiteral("No se puede vender fraccionado. No es "
                                                          "posible efectuar su venta"))
                                 : QStringLiteral("El articulo no puede ser vendido a granel"));
    QString loteSerie = captura.loteSerie.trimmed();
    const bool serie = art.control == QLatin1String("SERIE");
    if (serie || art.control == QLatin1String("LOTE")) {
        const QString modoLote = serie ? QStringLiteral("SERIE") : QStringLiteral("LOTE");
        if (loteSerie.isEmpty() && modo.interactivo && m_pideLoteSerie)
            loteSerie = m_pideLoteSerie(modoLote, art.clave).value_or(QString()).trimmed();
        if (loteSerie.isEmpty())
            return rechaza(modo, QStringLiteral("El articulo requiere ") +
                                     (serie ? QStringLiteral("Serie") : QStringLiteral("Lote")));
        if (serie && cantidad != Decimal(1))
            return rechaza(
                modo,
                modo.interactivo
                    ? QStringLiteral("Solo se admite un articulo por serie")
                    : QStringLiteral("La cantidad solo puede uno(1) en articulos controlados por serie"));
        for (const LineaVenta &l : std::as_const(m_lineas))
            if (serie && l.clave == art.clave && l.loteSerie.compare(loteSerie, Qt::CaseInsensitive) == 0)
                return rechaza(modo, QStringLiteral("La serie ya ha sido capturada"));
    }

    db::Connection &c = m_s.connections.getConnection();
    if (c.scalar(QStringLiteral(
                     "select count(*) from tArticuloPrecio where art_Clave = ? and tprecio_Clave = 'NORMAL'"),
                 {art.clave})
            .toInt() == 0)
        m_s.precios.actualizaPrecioNormal(art.clave);

    LineaVenta linea;
    linea.clave = art.clave;
    linea.nombre = captura.nombre.isEmpty() ? art.nombre : captura.nombre;
    linea.tallaClave = captura.tallaClave;
    linea.colorClave = captura.colorClave;
    linea.cantidad = cantidad;
    linea.precio = *precio;
    linea.descuento = *descuento;
    linea.iva = *iva;
    linea.referencia = referencia;
    linea.tipoPrecio = captura.tipoPrecio.isEmpty() ? QStringLiteral("N") : captura.tipoPrecio.toUpper();
    linea.loteSerie = loteSerie;
    linea.controlInv = art.control;
    linea.numeroPrecio = captura.numeroPrecio;

    QList<LineaVenta> nuevas = m_lineas;
    int fila = -1;
    if (acumula() && !serie) {
        for (int i = 0; i < nuevas.size(); ++i)
            if (nuevas[i].clave == linea.clave && nuevas[i].loteSerie == linea.loteSerie &&
                nuevas[i].tipoPrecio == linea.tipoPrecio) {
                fila = i;
                break;
            }
    }
    if (fila >= 0)
        nuevas[fila].cantidad += cantidad;
    else
        nuevas.append(linea);
    if (linea.tipoPrecio == QLatin1String("OFERTA") && !limiteOferta(nuevas, art, modo))
        return false;

    const ReglaRedondeo &regla = m_cliente.porArticulo;
    for (LineaVenta &l : nuevas)
        if (l.clave == art.clave)
            CalculoVenta::calculaLinea(l, regla);
    // The article's lines that are new or changed go through the checks; the stock once.
    bool existenciaVista = false;
    for (int i = 0; i < nuevas.size(); ++i) {
        const LineaVenta &l = nuevas[i];
        if (l.clave != art.clave || (i < m_lineas.size() && m_lineas[i] == l))
            continue;
        if (!existenciaVista || !l.loteSerie.isEmpty()) {
            Decimal procesable;
            if (!validaExistencia(nuevas, l, modo, &procesable)) {
                // The import keeps what the stock allows, with the log text of the shortage.
                if (modo.interactivo || procesable.sign() <= 0 || !modo.rechazo || modo.rechazo->isEmpty())
                    return false;
                nuevas[i].cantidad = procesable;
                CalculoVenta::calculaLinea(nuevas[i], regla);
            }
            existenciaVista = true;
        }
        if (!validaCosto(nuevas[i], modo) || !validaDescuento(l.clave, l.nombre, l.descuento, modo))
            return false;
    }
    reemplazaLineas(nuevas);
    return true;
}

bool VentaCaptura::limiteOferta(QList<LineaVenta> &lineas, const Articulo &art, const Modo &modo)
{
    Decimal pedida;
    const QString nombre = art.nombre;
    int numero = 0; // the offer row that priced the lines; unknown (0): the article's first
    for (const LineaVenta &l : std::as_const(lineas))
        if (l.clave == art.clave && l.tipoPrecio == QLatin1String("OFERTA")) {
            pedida += l.cantidad;
            numero = std::max(numero, l.numeroPrecio);
        }
    if (pedida.isZero())
        return true;
    db::Connection &c = m_s.connections.getConnection();
    const QString sql =
        QStringLiteral("select precio_Cantidad, precio_Vendidas from tArticuloPrecio where art_Clave = ? "
                       "and tprecio_Clave = 'OFERTA'");
    db::Recordset rs =
        numero > 0 ? c.openRecordset(sql + QStringLiteral(" and precio_Clave = ?"), {art.clave, numero})
                   : c.openRecordset(sql + QStringLiteral(" order by precio_Clave"), {art.clave});
    if (rs.eof())
        return rechaza(modo,
                       QStringLiteral("No se encontro la oferta indicada para el articulo ") + art.clave);
    Decimal restantes =
        rs.decimal(QStringLiteral("precio_Cantidad")) - rs.decimal(QStringLiteral("precio_Vendidas"));
    if (restantes.isNegative())
        restantes = Decimal();
    if (pedida <= restantes)
        return true;
    const Decimal exceso = pedida - restantes;
    const QString inicio = QStringLiteral("La cantidad de piezas en oferta que desea vender del articulo ") +
                           art.clave + QStringLiteral(" ( ") + nombre +
                           QStringLiteral(" ) excede el numero de piezas ofertadas ");
    bool divide = m_s.config.getBool(QStringLiteral("VENDE-NORMAL-EN-INSUFICIENTE-OFERTA"));
    if (divide && m_s.config.getBool(QStringLiteral("AVISO-VENDE-NORMAL-EN-INSUFICIENTE-OFERTA")))
        divide = pregunta(modo, inicio + QStringLiteral("[ ") + texto(restantes) + QStringLiteral(" ] ") +
                                    QStringLiteral("Desea vender a precio normal las excendentes < ") +
                                    texto(exceso) + QStringLiteral(" >"));
    if (!divide)
        return rechaza(modo, inicio + QStringLiteral("( ") + texto(restantes) + QStringLiteral(" )"));

    const auto normal = m_s.precios.obtenPrecioCliente(art.clave, m_cliente.tipo, QStringLiteral("NORMAL"));
    if (!normal)
        return false;
    int primera = -1;
    LineaVenta oferta;
    for (int i = lineas.size() - 1; i >= 0; --i)
        if (lineas[i].clave == art.clave && lineas[i].tipoPrecio == QLatin1String("OFERTA")) {
            oferta = lineas[i];
            primera = i;
            lineas.removeAt(i);
        }
    LineaVenta aNormal = oferta;
    aNormal.cantidad = exceso;
    aNormal.precio = normal->precio.publico;
    aNormal.descuento = normal->precio.descuento;
    aNormal.iva = normal->precio.impuestoPorcentaje;
    aNormal.tipoPrecio = normal->tipoPrecio.isEmpty() ? QStringLiteral("NORMAL") : normal->tipoPrecio;
    aNormal.numeroPrecio = normal->numero;
    aNormal.modificado = false;
    oferta.cantidad = restantes;
    if (restantes.sign() > 0)
        lineas.insert(primera++, oferta);
    lineas.insert(primera, aNormal);
    return true;
}

Decimal VentaCaptura::existenciaDe(const QString &articulo, const QString &lote, bool *hayFilas)
{
    db::Connection &c = m_s.connections.getConnection();
    QString sql = QStringLiteral("select count(*) as n, sum(alma_Existencia) as e from tArticuloAlmacen "
                                 "where alm_Clave = ? and art_Clave = ?");
    QVariantList p{almacen(), articulo};
    if (!lote.isNull()) {
        sql += QStringLiteral(" and alma_Clave = ?");
        p.append(lote);
    }
    db::Recordset rs = c.openRecordset(sql, p);
    *hayFilas = rs.integer(QStringLiteral("n")) > 0;
    return rs.decimal(QStringLiteral("e"));
}

bool VentaCaptura::validaExistencia(const QList<LineaVenta> &lineas, const LineaVenta &linea,
                                    const Modo &modo, Decimal *procesable)
{
    const QString control = linea.controlInv.trimmed().toUpper();
    const bool porLote = control == QLatin1String("LOTE") || control == QLatin1String("SERIE");
    const bool limita = m_s.config.getBool(QStringLiteral("LIMITAR_VENTAS_SIN_EXISTENCIA"));
    const bool compara = limita || control == QLatin1String("EXISTENCIA") || porLote;
    const bool avisa = !compara && m_s.config.getBool(QStringLiteral("AVISO_VENTAS_SIN_EXISTENCIA"));
    if (!compara && !avisa)
        return true;

    // What the grid asks of the same stock row.
    Decimal pedida;
    for (const LineaVenta &l : lineas)
        if (l.clave == linea.clave && (!porLote || l.loteSerie == linea.loteSerie))
            pedida += l.cantidad;

    db::Connection &c = m_s.connections.getConnection();
    // An assembly is sold from its components.
    QList<std::pair<QString, Decimal>> partes;
    const bool ensamble =
        esSi(c.scalar(QStringLiteral("select art_Ensamble from tArticulo where art_Clave = ?"), {linea.clave})
                 .toString());
    if (ensamble && !porLote) {
        db::Recordset rs =
            c.openRecordset(QStringLiteral("select esa_Clave, esa_Cantidad from tArticuloEnsamble where "
                                           "art_Clave = ? order by esa_Clave"),
                            {linea.clave});
        for (; !rs.eof(); rs.moveNext())
            partes.append({rs.text(QStringLiteral("esa_Clave")), rs.decimal(QStringLiteral("esa_Cantidad"))});
    }
    if (partes.isEmpty())
        partes.append({linea.clave, Decimal(1)});

    for (const auto &[clave, factor] : partes) {
        const Decimal requerida = pedida * factor;
        bool hayFilas = false;
        const Decimal existencia = existenciaDe(clave, porLote ? linea.loteSerie : QString(), &hayFilas);
        if (hayFilas && existencia >= requerida)
            continue;
        const QString nombre =
            clave == linea.clave
                ? linea.nombre
                : c.scalar(QStringLiteral("select art_Nombre from tArticulo where art_Clave = ?"), {clave})
                      .toString();
        if (avisa) {
            if (!pregunta(modo, QStringLiteral("No hay existencias registradas para el artículo ") + clave +
                                    QStringLiteral(" desea continuar con la venta")))
                return false;
            continue;
        }
        if (!modo.interactivo) {
            const Decimal actual = hayFilas ? existencia : Decimal();
            const Decimal otras = pedida - linea.cantidad; // other lines of the same stock
            Decimal proc = std::max(Decimal(), std::min(linea.cantidad, actual / factor - otras))
                               .truncated(control == QLatin1String("SERIE") ? 0 : 6);
            if (procesable)
                *procesable = proc;
            return rechaza(modo, QStringLiteral("Existencia Insuficiente Actual (") + texto(actual) +
                                     QStringLiteral(") Solicitada (") + texto(linea.cantidad) +
                                     QStringLiteral(") Procesada (") + texto(proc) +
                                     QStringLiteral(") Faltante (") + texto(linea.cantidad - proc) + u')');
        }
        if (tieneDerecho(QStringLiteral("VentaSinExistencia"))) {
            const QString q =
                hayFilas ? QString(QStringLiteral("Para el producto ") + clave + u'-' + nombre +
                                   QStringLiteral(" la existencia es de: ") + texto(existencia) +
                                   QStringLiteral(" No se pueden surtir : ") + texto(requerida) +
                                   QStringLiteral(" articulo(s), desea continuar con la venta"))
                         : QStringLiteral("No hay existencias registradas, desea continuar con la venta");
            if (!m_s.prompter.question(q))
                return false;
            continue;
        }
        if (!hayFilas && control == QLatin1String("LOTE"))
            return rechaza(modo, QStringLiteral("Para el producto ") + clave + QStringLiteral(" - ") +
                                     nombre + QStringLiteral(" Lote ") + linea.loteSerie +
                                     QStringLiteral(" no hay existencia registrada"));
        if (!hayFilas)
            return rechaza(modo, QStringLiteral("Para el producto ") + clave + u'-' + nombre +
                                     QStringLiteral(" No hay existencias registradas ") +
                                     QStringLiteral(" No se pueden surtir : ") + texto(requerida) +
                                     QStringLiteral(" articulo(s)"));
        return rechaza(modo, QStringLiteral("Para el producto ") + clave + u'-' + nombre +
                                 QStringLiteral(" la existencia es de: ") + texto(existencia) +
                                 QStringLiteral(" No se pueden surtir : ") + texto(requerida) +
                                 QStringLiteral(" articulo(s)"));
    }
    return true;
}

bool VentaCaptura::validaCosto(const LineaVenta &linea, const Modo &modo)
{
    const bool limita = m_s.config.getBool(QStringLiteral("LIMITAR_VENTAS_ABAJO_DEL_COSTO"));
    const bool avisa = m_s.config.getBool(QStringLiteral("AVISO_VENTAS_ABAJO_DEL_COSTO"));
    if (!limita && !avisa)
        return true;
    const auto art = leeArticulo(linea.clave);
    const bool derecho = tieneDerecho(QStringLiteral("VentaAbajoCosto"));
    if (!art) // not an article of the catalogue: a commission line
        return true;
    if (!art->costo) {
        if (derecho)
            return pregunta(
                modo, QStringLiteral("El precio de venta del articulo no puede verificarse con el precio "
                                     "de costo, desea continuar con la venta"));
        return rechaza(
            modo,
            QStringLiteral("El precio de venta del articulo no puede verificarse con el precio de costo"));
    }
    // The price the store receives: after the discount, without the tax (as the cost is).
    const Decimal precio = (linea.precio * (Decimal(100) - linea.descuento) / Decimal(100)).round(2);
    const Decimal costo = *art->costo;
    if (precio >= costo)
        return true;
    const QString inicio = QStringLiteral("Para el producto ") + linea.clave + u'-' + linea.nombre +
                           QStringLiteral(" el costo es de : ") + costo.format(QStringLiteral("0.00"));
    const QString pregunto = inicio + QStringLiteral(" y el Precio de venta es de: ") +
                             precio.format(QStringLiteral("0.00")) +
                             QStringLiteral(" por lo que esta abajo del costo");
    if (limita) {
        if (!derecho)
            return rechaza(modo, inicio + QStringLiteral(" No se puede vender a : ") +
                                     precio.format(QStringLiteral("0.00")) +
                                     QStringLiteral(" por estar abajo del costo"));
        return pregunta(modo, pregunto + QStringLiteral("Desea continuar"));
    }
    if (art->venderAbajoDelCosto != QLatin1String("NO"))
        return true;
    return pregunta(modo, pregunto + QStringLiteral("Desea continuar y vender abajo del costo"));
}

bool VentaCaptura::validaDescuento(const QString &articulo, const QString &nombre, const Decimal &descuento)
{
    return validaDescuento(articulo, nombre, descuento, Modo());
}

bool VentaCaptura::validaDescuento(const QString &articulo, const QString &nombre, const Decimal &descuento,
                                   const Modo &modo)
{
    const bool maximo = m_s.config.getBool(QStringLiteral("VENTA-DESCUENTO-MAXIMO"));
    const bool aviso = m_s.config.getBool(QStringLiteral("VENTA-DESCUENTO-MAXIMO-AVISO"));
    if (!maximo && !aviso)
        return true;
    const Decimal tope = m_s.config.getDecimal(QStringLiteral("VENTA-DESCUENTO-MAXIMO-VALOR"));
    if (descuento <= tope)
        return true;
    const QString inicio = QStringLiteral("Para el producto ") + articulo + u'-' + nombre;
    const QString pregunto = inicio + QStringLiteral(" el descuento es de : ") + texto(descuento) +
                             QStringLiteral(" y maximo permitido para la venta es de : ") + texto(tope) +
                             QStringLiteral("Desea continuar");
    if (maximo && !tieneDerecho(QStringLiteral("DescuentoIlimitado")))
        return rechaza(modo, inicio + QStringLiteral(" el descuento : ") + texto(descuento) +
                                 QStringLiteral(" Supera al maximo permitido : ") + texto(tope));
    return pregunta(modo, pregunto);
}

bool VentaCaptura::validaLinea(const QList<LineaVenta> &lineas, const LineaVenta &linea, const Modo &modo)
{
    const auto art = leeArticulo(linea.clave);
    if (art && !art->granel && linea.cantidad != linea.cantidad.truncated())
        return rechaza(modo,
                       QStringLiteral("El articulo ") + linea.clave +
                           QStringLiteral("No se puede vender fraccionado. No es posible efectuar su venta"));
    if (art && !validaExistencia(lineas, linea, modo))
        return false;
    return validaDescuento(linea.clave, linea.nombre, linea.descuento, modo) && validaCosto(linea, modo);
}

void VentaCaptura::renumera(QList<LineaVenta> &lineas) const
{
    for (int i = 0; i < lineas.size(); ++i)
        lineas[i].renglon = i + 1;
}

void VentaCaptura::reemplazaLineas(QList<LineaVenta> lineas)
{
    renumera(lineas);
    m_lineas = std::move(lineas);
    Q_EMIT lineasCambiaron();
    calculaGrid();
}

bool VentaCaptura::eliminaLinea(int fila)
{
    if (fila < 0 || fila >= m_lineas.size())
        return false;
    QList<LineaVenta> nuevas = m_lineas;
    nuevas.removeAt(fila);
    reemplazaLineas(nuevas);
    return true;
}

void VentaCaptura::calculaGrid(bool redondeaLineas)
{
    for (LineaVenta &l : m_lineas)
        CalculoVenta::calculaLinea(l, m_cliente.porArticulo);
    m_totales = CalculoVenta::calculaGrid(m_lineas, m_cliente.porArticulo, m_cliente.porVenta,
                                          m_cliente.descuento, redondeaLineas);
    Q_EMIT totalesCambiaron();
}

bool VentaCaptura::puedeEditar(int fila, Celda celda) const
{
    if (fila < 0 || fila >= m_lineas.size())
        return false;
    switch (celda) {
    case Celda::Cantidad:
    case Celda::Referencia:
        return true;
    case Celda::Precio:
        return tieneDerecho(QStringLiteral("CambioPrecio"));
    case Celda::Descuento:
        return tieneDerecho(QStringLiteral("CambioDesc"));
    case Celda::IVA:
        return tieneDerecho(QStringLiteral("CambioIVA"));
    }
    return false;
}

bool VentaCaptura::editaCelda(int fila, Celda celda, const QString &valor)
{
    if (!puedeEditar(fila, celda))
        return false;
    const Modo modo;
    LineaVenta linea = m_lineas[fila];
    if (celda == Celda::Referencia) {
        linea.referencia = valor;
    } else {
        const auto n = numero(valor);
        if (!n)
            return rechaza(modo, QStringLiteral("Debe ingresar un valor numerico"));
        switch (celda) {
        case Celda::Cantidad:
            if (n->isNegative())
                return rechaza(modo, QStringLiteral("La cantidad debe ser mayor o igual a cero"));
            if (linea.controlInv == QLatin1String("SERIE") && *n != Decimal(1))
                return rechaza(modo, QStringLiteral("Debe indicar un articulo por serie"));
            linea.cantidad = *n;
            break;
        case Celda::Precio:
            if (n->isNegative())
                return rechaza(modo, QStringLiteral("El importe debe ser mayor o igual a cero"));
            linea.precio = *n;
            break;
        case Celda::Descuento:
            linea.descuento = *n;
            break;
        case Celda::IVA:
            if (n->isNegative())
                return rechaza(modo, QStringLiteral("El importe debe ser mayor o igual a cero"));
            linea.iva = *n;
            break;
        case Celda::Referencia:
            break;
        }
        if (celda != Celda::Cantidad) {
            linea.modificado = true;
            linea.tipoPrecio = QStringLiteral("N");
        }
    }
    CalculoVenta::calculaLinea(linea, m_cliente.porArticulo);
    QList<LineaVenta> nuevas = m_lineas;
    nuevas[fila] = linea;
    try {
        if (celda != Celda::Referencia && !validaLinea(nuevas, linea, modo))
            return false;
    } catch (const std::exception &e) {
        reportError(m_s.prompter, QString(), QStringLiteral("editaCelda"), ErrorInfo::fromException(e));
        return false;
    }
    m_lineas[fila] = linea;
    Q_EMIT lineaCambio(fila);
    calculaGrid();
    return true;
}

bool VentaCaptura::aplicaPorcentaje(const QString &concepto, const Decimal &porcentaje)
{
    calculaGrid();
    QList<LineaVenta> nuevas = m_lineas;
    const bool hecho = CalculoVenta::aplicaPorcentaje(
        nuevas, m_s.config.getString(QStringLiteral("COMISION-TARJETA-COBRO")), concepto, porcentaje,
        m_totales, m_s.config.getDecimal(QStringLiteral("COMISION-TARJETA-DESCUENTO-MINIMO")),
        m_cliente.porArticulo);
    if (!hecho)
        return false;
    reemplazaLineas(nuevas);
    return true;
}

bool VentaCaptura::aseguraCorte()
{
    Corte corte(m_s.connections, m_s.config, m_s.prompter);
    const bool abierto = corte.validaCorte();
    if (abierto)
        m_corte = m_s.config.getString(QStringLiteral("CORTE-CAJA"));
    return abierto;
}

std::optional<VentaCaptura::DatosCobro> VentaCaptura::preparaPago()
{
    calculaGrid();
    if (m_s.config.getBool(QStringLiteral("ORDENA-ARTICULOS-VENTA"))) {
        QList<LineaVenta> nuevas = m_lineas;
        std::stable_sort(nuevas.begin(), nuevas.end(), [](const LineaVenta &a, const LineaVenta &b) {
            return a.nombre.localeAwareCompare(b.nombre) < 0;
        });
        reemplazaLineas(nuevas);
    }
    if (!aseguraCorte())
        return std::nullopt;
    const Modo modo;
    if (m_lineas.isEmpty()) {
        rechaza(modo, QStringLiteral("No hay articulos para cobrar"));
        return std::nullopt;
    }
    if (m_cliente.clave.trimmed().isEmpty() &&
        !cargaCliente(m_s.config.getString(QStringLiteral("CLIENTE-POR-OMISION"))))
        return std::nullopt;
    try {
        QList<LineaVenta> nuevas = m_lineas;
        QSet<QString> ofertas;
        for (const LineaVenta &l : std::as_const(m_lineas))
            if (l.tipoPrecio == QLatin1String("OFERTA") && !ofertas.contains(l.clave)) {
                ofertas.insert(l.clave);
                const auto art = leeArticulo(l.clave);
                if (art && !limiteOferta(nuevas, *art, modo))
                    return std::nullopt;
            }
        for (LineaVenta &l : nuevas)
            CalculoVenta::calculaLinea(l, m_cliente.porArticulo);
        for (const LineaVenta &l : std::as_const(nuevas))
            if (!validaLinea(nuevas, l, modo))
                return std::nullopt;
        if (nuevas != m_lineas)
            reemplazaLineas(nuevas);
    } catch (const std::exception &e) {
        reportError(m_s.prompter, QString(), QStringLiteral("cmdPago"), ErrorInfo::fromException(e));
        return std::nullopt;
    }
    calculaGrid(true);
    DatosCobro d;
    d.totales = m_totales;
    d.importe = m_totales.importe;
    d.redondeo = m_totales.redondeo;
    d.total = m_totales.total;
    d.cliente = m_cliente;
    d.tiposPago = m_cliente.tiposPago;
    d.ticket = m_cliente.ticket;
    d.nota = m_cliente.nota;
    d.factura = m_cliente.factura;
    d.entrega = m_cliente.entrega;
    return d;
}
