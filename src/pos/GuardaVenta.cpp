#include "GuardaVenta.h"

#include "ImpresionTicket.h"

#include "Corte.h"
#include "Existencias.h"
#include "PlazoCredito.h"
#include "cVenta.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "Prompter.h"
#include "Secuencias.h"
#include "cCode.h"
#include "cConfigure.h"

#include "Connection.h"
#include "DbError.h"
#include "Transaction.h"

using namespace Qt::StringLiterals;

namespace {

struct Rechazo {
    QString texto;
};

// A failure of the stock call that is not one of its refusals (a lost connection, a deadlock).
struct FallaExistencia {
    QString detalle;
};

QVariant dinero(const Decimal &d)
{
    return d.round(2).toQVariant();
}

QString siNo(bool b)
{
    return b ? QStringLiteral("SI") : QStringLiteral("NO");
}

} // namespace

const QString GuardaVenta::kErrorAlGuardar = QStringLiteral("No fue posible guardar la venta");
const QString GuardaVenta::kSinArticulos = QStringLiteral("No hay articulos para cobrar");
const QString GuardaVenta::kSinTiempoAire =
    QStringLiteral("La venta incluye tiempo aire, pero esta base de datos no tiene la tabla de tiempo aire "
                   "(tTiempoAire). No se guardo la venta");

GuardaVenta::GuardaVenta(ConnectionProvider &connections, cConfigure &config, Prompter &prompter, cCode *code)
    : m_connections(connections), m_config(config), m_prompter(prompter), m_code(code)
{
}

GuardaVenta::~GuardaVenta() = default;

std::optional<Decimal> GuardaVenta::obtieneCostoArticulo(db::Connection &c, const QString &almacen,
                                                         const QString &articulo, const QString &loteSerie)
{
    // A stock row (warehouse, article, lot) has no cost column here: its cost is its article's,
    // which is also what a key without stock rows falls back to. Warehouse and lot stay in the
    // signature for the day stock rows carry their own cost.
    Q_UNUSED(almacen);
    Q_UNUSED(loteSerie);
    db::Recordset rs =
        c.openRecordset(QStringLiteral("select art_Costo from tArticulo where art_Clave = ?"), {articulo});
    if (rs.eof())
        return std::nullopt;
    return rs.decimal(QStringLiteral("art_Costo"));
}

QHash<QString, Decimal> GuardaVenta::costosDeArticulos(db::Connection &c, const QList<LineaVenta> &lineas)
{
    // Every line's cost as obtieneCostoArticulo gives it, read in few statements; a key that is
    // not an article has no entry.
    QStringList claves;
    for (const LineaVenta &l : lineas)
        if (!claves.contains(l.clave))
            claves << l.clave;
    QHash<QString, Decimal> costos;
    constexpr int kPorSentencia = 200;
    for (qsizetype desde = 0; desde < claves.size(); desde += kPorSentencia) {
        const QStringList parte = claves.mid(desde, kPorSentencia);
        QStringList marcas;
        QVariantList valores;
        for (const QString &k : parte) {
            marcas << QStringLiteral("?");
            valores << k;
        }
        for (db::Recordset rs =
                 c.openRecordset(QStringLiteral("select art_Clave, art_Costo from tArticulo where "
                                                "art_Clave in (") +
                                     marcas.join(u',') + u')',
                                 valores);
             !rs.eof(); rs.moveNext())
            costos.insert(rs.text(QStringLiteral("art_Clave")), rs.decimal(QStringLiteral("art_Costo")));
    }
    return costos;
}

std::optional<QDateTime> GuardaVenta::sumaIntervalo(const QDateTime &desde, const QString &parte,
                                                    int cantidad)
{
    return PlazoCredito::sumaIntervalo(desde, parte, cantidad);
}

QDateTime GuardaVenta::vencimientoCredito(db::Connection &c, const QString &cliente, const QDateTime &fecha)
{
    return PlazoCredito::vencimiento(c, cliente, fecha);
}

std::optional<VentaGuardada> GuardaVenta::guardaDatos(const DatosVenta &datos)
{
    std::optional<VentaGuardada> venta;
    try {
        db::Connection &c = m_connections.getConnection();
        venta = escribe(c, datos);
    } catch (const Rechazo &r) {
        m_prompter.exclamation(r.texto);
        return std::nullopt;
    } catch (const FallaExistencia &f) {
        // Existencias has logged it already.
        m_prompter.detailedMessage(Prompter::Icon::Critical, kErrorAlGuardar, f.detalle);
        return std::nullopt;
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("GuardaVenta.guardaDatos: [") + QString::number(e.number()) +
                 QStringLiteral("]-") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical, kErrorAlGuardar, e.description());
        return std::nullopt;
    }
    despuesDeGuardar(*venta, datos);
    return venta;
}

VentaGuardada GuardaVenta::escribe(db::Connection &c, const DatosVenta &d)
{
    if (d.lineas.isEmpty())
        throw Rechazo{kSinArticulos};
    const QString almacen = m_config.getString(QStringLiteral("ALMACEN"));
    const QString usuario = m_config.getString(QStringLiteral("USUARIO"));
    const auto corte = Corte::deCodigo(m_config.getString(QStringLiteral("CORTE-CAJA")));
    if (!corte)
        throw Rechazo{Corte::kCorteInvalido};

    db::Transaction t(c);
    // The cut's row stays locked until the sale commits: a closing of the cut waits for it.
    if (!Corte::bloqueaAbierto(c, almacen, *corte))
        throw Rechazo{Corte::kCorteInvalido};
    // Airtime is linked by a later part of the counter; without its table the link cannot be kept.
    if (d.tiempoAire && !c.tableExists(QStringLiteral("tTiempoAire")))
        throw Rechazo{kSinTiempoAire};

    VentaGuardada v;
    v.terminal = corte->terminal;
    v.corteAnio = corte->anio;
    v.corteNumero = corte->numero;
    v.fecha = c.scalar(QStringLiteral("select getdate()")).toDateTime();
    const QDate hoy = v.fecha.date();
    const QVariantList claveVenta{v.terminal, v.corteAnio, v.corteNumero};

    // 1. The held sales this sale was made of go.
    for (const QString &pendiente : d.pendientes) {
        const QStringList k = pendiente.split(u'\t');
        if (k.size() < 4)
            continue;
        const QVariantList p{k.at(0), k.at(1).trimmed().toInt(), k.at(2).trimmed().toInt(),
                             k.at(3).trimmed().toLongLong()};
        const QString donde = QStringLiteral(
            " where term_Clave = ? and corte_Anio = ? and corte_Numero = ? and venta_Numero = ?");
        c.execute(QStringLiteral("delete from tVentaPendiente") + donde, p);
        c.execute(QStringLiteral("delete from tVentaPendienteDet") + donde, p);
    }

    // 2. The due date of credit payments, read only when there is one.
    bool hayCredito = false;
    for (const PagoVenta &p : d.pagos)
        hayCredito = hayCredito || p.tipo == QLatin1String("CREDITO");
    const QDateTime vence = hayCredito ? vencimientoCredito(c, d.cliente, v.fecha) : QDateTime();

    // 3. and 4. The folio first: its row lock orders two stations, so the number read next is
    // the one after the other station's committed sale.
    v.folio = Secuencias::getNextSequence(c, Secuencias::clave(Secuencias::Documento::Venta, almacen));
    v.numero =
        c.scalar(QStringLiteral("select coalesce(max(venta_Numero), 0) + 1 from tVenta where term_Clave = ? "
                                "and corte_Anio = ? and corte_Numero = ?"),
                 claveVenta)
            .toInt();
    QVariantList clave = claveVenta;
    clave << v.numero;

    // 5. The header and its tax per rate.
    c.execute(
        QStringLiteral("insert into tVenta (term_Clave, corte_Anio, corte_Numero, venta_Numero, venta_Folio, "
                       "venta_importe, venta_descuento, venta_Total, usu_Clave, venta_Fecha, cli_Clave, "
                       "venta_Pago, venta_Cambio, venta_Cantidad, eventa_Clave, alm_Clave, venta_IVA, "
                       "usu_ClaveReg, venta_Comision, tent_Clave, venta_Servicio, venta_Redondeo) values "
                       "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'REGISTRADA', ?, ?, ?, ?, ?, ?, ?)"),
        clave + QVariantList{v.folio, dinero(d.totales.importe), dinero(d.totales.descuentoCliente),
                             dinero(d.totales.total), d.vendedor, v.fecha, d.cliente, dinero(d.pago),
                             dinero(d.cambio), d.totales.articulos.toQVariant(), almacen,
                             dinero(d.totales.impuesto), usuario, dinero(d.comision), d.entrega.tipo,
                             siNo(d.tiempoAire.has_value()), dinero(d.totales.redondeo)});
    for (auto it = d.totales.impuestoPorTasa.cbegin(); it != d.totales.impuestoPorTasa.cend(); ++it)
        c.execute(
            QStringLiteral("insert into tVentaIVA (term_Clave, corte_Anio, corte_Numero, venta_Numero, "
                           "viva_Tasa, viva_Base, viva_Importe) values (?, ?, ?, ?, ?, ?, ?)"),
            clave + QVariantList{it.key().toQVariant(), dinero(it.value().base), dinero(it.value().importe)});

    // 6. The lines in grid order, then each line's stock exit and offer counter in the same order.
    // The lines go in a few multi-row statements and the costs come in one read: on a loaded
    // server every round trip counts, and inside this transaction the stored rows are the same.
    const QHash<QString, Decimal> costos = costosDeArticulos(c, d.lineas);
    constexpr int kFilasPorSentencia = 40;
    const QString columnas = QStringLiteral(
        "insert into tVentaDetalle (term_Clave, corte_Anio, corte_Numero, venta_Numero, vdet_Numero, "
        "art_Clave, "
        "venta_Folio, art_Nombre, tala_Clave, cola_Clave, vdet_Cantidad, vdet_Importe, vdet_Descuento, "
        "vdet_IVA, "
        "vdet_SubTotal, vdet_Total, alm_Clave, eventa_Clave, vdet_anio, vdet_mes, vdet_dia, vdet_Referencia, "
        "vdet_Fecha, vdet_Costo, alma_Clave) values ");
    const QString fila =
        QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'REGISTRADA', ?, ?, ?, ?, "
                       "?, ?, ?)");
    for (qsizetype desde = 0; desde < d.lineas.size(); desde += kFilasPorSentencia) {
        const qsizetype hasta = qMin(d.lineas.size(), desde + kFilasPorSentencia);
        QStringList filas;
        QVariantList valores;
        for (qsizetype i = desde; i < hasta; ++i) {
            const LineaVenta &l = d.lineas.at(i);
            filas << fila;
            // The sale is new inside this transaction: its lines number 1, 2, 3 ... in grid order.
            valores << clave
                    << QVariantList{int(i + 1),
                                    l.clave,
                                    v.folio,
                                    l.nombre,
                                    l.tallaClave,
                                    l.colorClave,
                                    l.cantidad.toQVariant(),
                                    dinero(l.precio),
                                    dinero(l.descuento),
                                    dinero(l.iva),
                                    dinero(l.importe),
                                    dinero(l.total),
                                    almacen,
                                    hoy.year(),
                                    hoy.month(),
                                    hoy.day(),
                                    l.referencia,
                                    v.fecha,
                                    costos.value(l.clave).toQVariant(),
                                    l.loteSerie.isNull() ? QString(u""_s) : l.loteSerie};
        }
        c.execute(columnas + filas.join(QStringLiteral(", ")), valores);
    }
    Existencias existencias(m_connections, m_config, m_prompter);
    const QString origen = QStringLiteral("VENTA-") + QString::number(v.folio);
    for (const LineaVenta &l : d.lineas) {
        // A concept line (the card commission) moves no stock, nor does a line of nothing.
        const auto costo = costos.constFind(l.clave);
        if (costo != costos.cend() && !l.cantidad.isZero() &&
            !existencias.actualizaArticuloAlmacen(almacen, l.clave, l.loteSerie, l.cantidad,
                                                  QStringLiteral("S"), origen, QString(), QString(), *costo,
                                                  true, true, true, &c)) {
            // A refusal of the routine comes without detail; a failure carries the database text.
            if (existencias.ultimoDetalle().isEmpty())
                throw Rechazo{existencias.ultimoError()};
            throw FallaExistencia{existencias.ultimoDetalle()};
        }
        if (l.tipoPrecio == QLatin1String("OFERTA"))
            c.execute(QStringLiteral(
                          "update tArticuloPrecio set precio_Vendidas = coalesce(precio_Vendidas, 0) + ? "
                          "where art_Clave = ? and tprecio_Clave = 'OFERTA'"),
                      {l.cantidad.toQVariant(), l.clave});
    }

    // 7. Payments, and a receivable for every credit payment.
    const int anio = hoy.year();
    for (const PagoVenta &p : d.pagos) {
        const qint64 vpago =
            Secuencias::getNextSequence(c, Secuencias::clave(Secuencias::Documento::PagoVenta, almacen, hoy));
        c.execute(
            QStringLiteral(
                "insert into tVentaPago (vpago_Anio, vpago_Clave, term_Clave, corte_Anio, corte_Numero, "
                "venta_Numero, venta_Folio, tpago_Clave, vpago_Importe, banco_Clave, vpago_Cheque, "
                "vpago_Tarjeta, vpago_FolioTarjeta, moneda_Clave, vpago_MonExtranjera, "
                "vpago_TipoDeCambio, vpago_Referencia, evpago_Clave, cli_Clave, alm_Clave, "
                "vpago_ReferenciaAdic) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?, ?, ?)"),
            QVariantList{anio, vpago} + clave +
                QVariantList{v.folio, p.tipo, p.importe.toQVariant(), p.banco, p.cheque, p.tarjeta,
                             p.folioTarjeta, p.moneda, p.importeMoneda.toQVariant(),
                             p.tipoCambio.toQVariant(), p.referencia, PagoVenta::estadoInicial(p.tipo),
                             d.cliente, almacen, p.referenciaAdic});
        if (p.tipo != QLatin1String("CREDITO"))
            continue;
        const qint64 cobranza = Secuencias::folioConAnio(
            anio,
            Secuencias::getNextSequence(c, Secuencias::clave(Secuencias::Documento::Cobranza, almacen, hoy)));
        c.execute(QStringLiteral(
                      "insert into tCobranza (cob_Clave, cli_Clave, alm_Clave, cob_Importe, cob_Pagado, "
                      "cob_Referencia, cob_ReferenciaAdic, vpago_Anio, vpago_Clave, ecob_Clave, cob_FecReg, "
                      "cob_FecVenc) values (?, ?, ?, ?, 0, ?, ?, ?, ?, 'PENDIENTE', ?, ?)"),
                  {cobranza, d.cliente, almacen, p.importe.toQVariant(), p.referencia, p.referenciaAdic, anio,
                   vpago, v.fecha, vence});
    }

    // 8. The home delivery and its first tracking row.
    if (d.entrega.domicilio) {
        const EntregaVenta &e = d.entrega;
        const qint64 envio = Secuencias::folioConAnio(
            anio,
            Secuencias::getNextSequence(c, Secuencias::clave(Secuencias::Documento::Envio, almacen, hoy)));
        c.execute(QStringLiteral(
                      "insert into tVentaEnvio (alm_Clave, venv_Clave, venta_Folio, eenv_Clave, cli_Calle, "
                      "cli_Interior, cli_Exterior, cli_Colonia, cli_DelMun, cli_Ciudad, edo_Clave, "
                      "pais_Clave, cli_Telefono1, cli_Telefono2, cli_Fax, cli_email, cli_Referencia, cli_CP, "
                      "venv_Comentario, venv_FecPla, usu_ClaveEnvio) values (?, ?, ?, 'PENDIENTE', ?, ?, ?, "
                      "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {almacen,
                   envio,
                   v.folio,
                   e.calle,
                   e.interior,
                   e.exterior,
                   e.colonia,
                   e.delMun,
                   e.ciudad,
                   e.estado,
                   e.pais,
                   e.telefono1,
                   e.telefono2,
                   e.fax,
                   e.email,
                   e.referencia,
                   e.cp,
                   e.comentario,
                   e.fechaPlaneada.isValid() ? QVariant(e.fechaPlaneada) : QVariant(),
                   e.repartidor.isEmpty() ? QVariant() : QVariant(e.repartidor)});
        c.execute(QStringLiteral(
                      "insert into tVentaEnvioSeguimiento (alm_Clave, venv_Clave, vseg_Clave, eenv_Clave, "
                      "usu_Clave, vseg_Fecha) values (?, ?, 1, 'PENDIENTE', ?, ?)"),
                  {almacen, envio, usuario, v.fecha});
    }

    // 9. The airtime top-up the sale paid.
    if (d.tiempoAire)
        c.execute(
            QStringLiteral(
                "update tTiempoAire set alm_Clave = ?, venta_Folio = ?, term_Clave = ?, corte_Anio = ?, "
                "corte_Numero = ?, venta_Numero = ?, taire_FechaCobro = ?, usu_ClaveCobro = ? "
                "where taire_Clave = ?"),
            QVariantList{almacen, v.folio} + clave + QVariantList{v.fecha, usuario, *d.tiempoAire});

    // 11. The documents chosen for the sale (printing itself comes after the commit).
    c.execute(QStringLiteral("update tVenta set venta_Ticket = ?, venta_Nota = ?, venta_Factura = ? where "
                             "term_Clave = ? and corte_Anio = ? and corte_Numero = ? and venta_Numero = ?"),
              QVariantList{siNo(d.ticket), siNo(d.nota), siNo(d.factura)} + clave);
    t.commit();
    return v;
}

void GuardaVenta::despuesDeGuardar(const VentaGuardada &v, const DatosVenta &d)
{
    cVenta::Datos s;
    s.entrega = d.entrega.tipo;
    s.origen = QStringLiteral("VENTA");
    s.lineas = d.lineas;
    s.iva = d.totales.impuesto;
    s.importe = d.totales.importe;
    s.total = d.totales.total;
    s.redondeo = d.totales.redondeo;
    s.cambio = d.cambio;
    s.articulos = d.totales.articulos;
    for (const PagoVenta &p : d.pagos)
        s.pagos << p.texto();
    s.folio = v.folio;
    m_venta = std::make_unique<cVenta>();
    m_venta->load(s);

    // An active "OnTicketPrint"/"OnNotePrint" script prints that document instead of the built-in
    // one; its failure is reported by the script host and the sale stays written.
    Impresion impresion;
    const auto porScript = [this](const QString &evento) {
        if (!m_code || !m_code->Search(evento) || !m_code->Activo())
            return false;
        m_code->runEvent(evento, {{QStringLiteral("xVenta"), QVariant::fromValue<QObject *>(m_venta.get())}});
        return true;
    };
    // The documents the sale asks for, those an invoice or a note bring along included.
    const ImpresionTicket::Documentos docs = ImpresionTicket::eligeDocumentos(d, m_config);
    if (docs.ticket)
        impresion.ticketPorScript = porScript(QStringLiteral("OnTicketPrint"));
    if (docs.nota)
        impresion.notaPorScript = porScript(QStringLiteral("OnNotePrint"));

    // Printing (ticket, note, invoice window) hooks in here. Storing prices changed at the counter
    // belongs to the capture, after this returns.
    if (m_imprime)
        m_imprime(v, d, *m_venta, impresion);
}
