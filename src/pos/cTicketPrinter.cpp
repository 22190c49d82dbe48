#include "cTicketPrinter.h"

#include "CalculoVenta.h"
#include "ConnectionProvider.h"
#include "EscPos.h"
#include "ImpresoraSistema.h"
#include "Log.h"
#include "PaginaCodigos.h"
#include "VistaPrevia.h"
#include "cConfigValue.h"
#include "cConfigure.h"
#include "cString.h"
#include "cVenta.h"

#include "Connection.h"
#include "DbError.h"

namespace {

constexpr int kAncho = DocumentoImpreso::kAncho;
const Decimal kCien(100);

QString espacios(int n)
{
    return QString(n, u' ');
}

} // namespace

cTicketPrinter::cTicketPrinter(ConnectionProvider &connections, cConfigure &config, cString &cadenas,
                               QObject *parent)
    : QObject(parent), m_connections(connections), m_config(config), m_cadenas(cadenas)
{
    setObjectName(QStringLiteral("xTicketPrinter"));
}

cTicketPrinter::~cTicketPrinter() = default;

// ---- fields ----

QString cTicketPrinter::izquierda(const QString &texto, int n)
{
    return texto.size() >= n ? texto.left(n) : texto + espacios(n - int(texto.size()));
}

QString cTicketPrinter::derecha(const QString &texto, int n)
{
    return texto.size() >= n ? texto.right(n) : espacios(n - int(texto.size())) + texto;
}

QString cTicketPrinter::importe(const Decimal &d)
{
    return d.format(QStringLiteral("#,##0.00"));
}

QString cTicketPrinter::cuenta(const Decimal &d)
{
    // Units sold by weight keep their decimals: "#,##0" alone would print 0.5 kg as 1.
    if (d.round(0) == d)
        return d.format(QStringLiteral("#,##0"));
    return d.format(QStringLiteral("#,##0.###"));
}

QString cTicketPrinter::cantidad(const Decimal &d)
{
    return d.round(3).toString();
}

QString cTicketPrinter::linea(const QStringList &lineas, int i)
{
    return (i >= 1 && i <= lineas.size()) ? lineas.at(i - 1) : QString();
}

// ---- settings ----

QString cTicketPrinter::clave(const char *recibos, const char *nota) const
{
    return QString::fromLatin1(m_impresora == Impresora::Nota ? nota : recibos);
}

bool cTicketPrinter::enLinea() const
{
    return m_config.getBool(clave("IMPRESORA-EN-LINEA", "IMPRESORA-NOTA-EN-LINEA"));
}

bool cTicketPrinter::directo() const
{
    return m_config.getBool(clave("IMPRESORA-DIRECTO-A-PUERTO", "IMPRESORA-NOTA-DIRECTO-A-PUERTO"));
}

FuenteImpresion cTicketPrinter::fuente() const
{
    FuenteImpresion f;
    f.nombre = m_config.getString(clave("FUENTE-IMPRESION", "IMPRESORA-NOTA-FUENTE-IMPRESION"));
    f.tamanio = m_config.getLong(clave("TAMANIO-FUENTE-IMPRESION", "IMPRESORA-NOTA-TAMANIO-FUENTE-IMPRESION"));
    f.negritas = m_config.getBool(clave("FUENTE-IMPRESION-NEGRITAS", "IMPRESORA-NOTA-FUENTE-IMPRESION-NEGRITAS"));
    f.italica = m_config.getBool(clave("FUENTE-IMPRESION-ITALICA", "IMPRESORA-NOTA-FUENTE-IMPRESION-ITALICA"));
    f.nombreCodigoBarras = m_config.getString(QStringLiteral("FUENTE-CODIGO-DE-BARRAS"));
    f.tamanioCodigoBarras = m_config.getLong(QStringLiteral("TAMANIO-FUENTE-CODIGO-DE-BARRAS"));
    return f;
}

QDateTime cTicketPrinter::ahora() const
{
    return m_reloj ? m_reloj() : QDateTime::currentDateTime();
}

QString cTicketPrinter::PrinterDevice() const
{
    if (directo())
        return m_config.getString(clave("IMPRESORA-PUERTO", "IMPRESORA-NOTA-PUERTO"));
    return m_config.getString(clave("IMPRESORA-DE-RECIBOS", "IMPRESORA-DE-NOTAS"));
}

int cTicketPrinter::PrinterFile() const
{
    return (m_documento && enLinea() && directo()) ? 1 : 0;
}

void cTicketPrinter::SetPricture(const QVariant &picture)
{
    const bool apaga = !picture.isValid() || picture.isNull() ||
                       (picture.metaType() == QMetaType::fromType<bool>() && !picture.toBool()) ||
                       (picture.metaType() == QMetaType::fromType<QObject *>() && !picture.value<QObject *>());
    m_vista = apaga ? nullptr : m_vistaPrograma;
}

QObject *cTicketPrinter::picture() const
{
    return dynamic_cast<QObject *>(m_vista);
}

void cTicketPrinter::cargaValoresReportes()
{
    const auto lee = [this](const QString &tipo) {
        QStringList out;
        try {
            db::Connection &c = m_connections.getConnection();
            for (db::Recordset rs = c.openRecordset(QStringLiteral("select param_Valor from tParametro where "
                                                                   "param_Tipo = ? order by param_Clave"),
                                                    {tipo});
                 !rs.eof(); rs.moveNext())
                out << rs.text(QStringLiteral("param_Valor"));
        } catch (const db::DbError &e) {
            // A ticket without its header is better than no ticket.
            writeLog(QStringLiteral("cTicketPrinter.cargaValoresReportes: ") + e.description());
        }
        return out;
    };
    m_encabezado = lee(QStringLiteral("RECINICIO"));
    m_pie = lee(QStringLiteral("RECFIN"));
    m_vpendEncabezado = lee(QStringLiteral("VPENDINI"));
    m_vpendPie = lee(QStringLiteral("VPENDFIN"));
}

// ---- the document and its sending ----

void cTicketPrinter::abreTrabajo()
{
    if (m_trabajo)
        return;
    m_trabajo = true;
    m_envios.clear();
    m_falla = {};
}

void cTicketPrinter::abreDocumento(Impresora impresora)
{
    abreTrabajo();
    m_impresora = impresora;
    m_doc = {};
    m_documento = true;
}

void cTicketPrinter::anotaFalla(const QString &mensaje, const QString &detalle)
{
    writeLog(QStringLiteral("Impresion: ") + mensaje + QStringLiteral(" (") + detalle + u')');
    if (!m_falla.hay())
        m_falla = {mensaje, detalle};
}

void cTicketPrinter::encola(const QString &puerto, const QByteArray &bytes)
{
    if (m_soloVista)
        return;
    QString error;
    const auto destino = DestinoImpresion::deTexto(puerto, &error);
    if (!destino) {
        anotaFalla(QStringLiteral("No está configurado el puerto de la impresora"), error);
        return;
    }
    // Pieces for one place go out together, in one connection.
    if (!m_envios.isEmpty() && m_envios.last().destino == *destino)
        m_envios.last().bytes += bytes;
    else
        m_envios << Envio{*destino, bytes};
}

void cTicketPrinter::envia()
{
    const int espera = qMax(100, m_config.getLong(QStringLiteral("IMPRESORA-ESPERA-RED")));
    for (const Envio &e : std::as_const(m_envios)) {
        QString mensaje, detalle;
        if (!e.destino.entrega(e.bytes, espera, &mensaje, &detalle))
            anotaFalla(mensaje, detalle);
    }
    m_envios.clear();
}

void cTicketPrinter::imprimeLinea(const QString &texto)
{
    if (!m_documento)
        abreDocumento(m_impresora);
    m_doc.texto(texto);
}

void cTicketPrinter::imprimeImagen(const QString &archivo)
{
    if (!m_documento)
        abreDocumento(m_impresora);
    m_doc.imagen(archivo);
}

void cTicketPrinter::iniciaImpresionTicket()
{
    abreTrabajo();
    if (m_config.getBool(QStringLiteral("IMPRIME-ABRE-CAJON")))
        sendEscapeCode(m_config.getString(QStringLiteral("PUERTO-APERTURA-CAJON")),
                       m_config.getString(QStringLiteral("IMPRIME-CODIGOS-CAJON-STRING")));
    iniciaImpresionImpresoraRecibos();
}

void cTicketPrinter::iniciaImpresionImpresoraRecibos()
{
    abreDocumento(Impresora::Recibos);
}

void cTicketPrinter::iniciaImpresionImpresoraNota()
{
    abreDocumento(Impresora::Nota);
}

void cTicketPrinter::iniciaImpresionNota()
{
    // The note goes on its own printer, often a sheet printer: no drawer, no cut.
    iniciaImpresionImpresoraNota();
}

void cTicketPrinter::iniciaImpresionVentaPendiente()
{
    iniciaImpresionImpresoraRecibos();
}

void cTicketPrinter::iniciaImpresionMovCaja()
{
    // Money goes in or out of the drawer.
    iniciaImpresionTicket();
}

void cTicketPrinter::iniciaImpresionCorteDeCaja()
{
    iniciaImpresionImpresoraRecibos();
}

void cTicketPrinter::sendEscapeCode(const QString &puerto, const QString &codigo)
{
    const bool solo = !m_trabajo;
    abreTrabajo();
    // Control strings are bytes already (traduceSecuenciaASCII): no code page applies.
    encola(puerto, codigo.toLatin1() + '\n');
    if (solo) {
        envia();
        m_trabajo = false;
    }
}

bool cTicketPrinter::terminaImpresion()
{
    if (!m_documento) {
        // Nothing open: whatever was queued (a drawer) still goes.
        envia();
        m_trabajo = false;
        return !m_falla.hay();
    }
    m_documento = false;
    m_ultimo = m_doc;
    const FuenteImpresion f = fuente();
    if (m_vista)
        m_vista->muestra(f, m_doc);
    const bool papel = enLinea() && !m_soloVista;
    const bool directa = papel && directo();
    if (directa) {
        const QString nombre = m_config.getString(clave("IMPRESORA-PAGINA-CODIGOS", "IMPRESORA-NOTA-PAGINA-CODIGOS"));
        auto pagina = PaginaCodigos::porNombre(nombre);
        if (!pagina) {
            writeLog(QStringLiteral("Impresion: pagina de codigos desconocida «") + nombre +
                     QStringLiteral("», se usa CP858"));
            pagina = PaginaCodigos::cp858();
        }
        encola(m_config.getString(clave("IMPRESORA-PUERTO", "IMPRESORA-NOTA-PUERTO")),
               EscPos::documento(m_doc, *pagina));
    } else if (papel) {
        const QString nombre = m_config.getString(clave("IMPRESORA-DE-RECIBOS", "IMPRESORA-DE-NOTAS"));
        QString detalle;
        if (!m_sistema)
            anotaFalla(QStringLiteral("No hay impresoras del sistema disponibles en este programa"), nombre);
        else if (!m_sistema->imprime(nombre, f, m_doc, &detalle))
            anotaFalla(QStringLiteral("No fue posible imprimir en la impresora «%1»; revise que esté encendida "
                                      "y con papel")
                           .arg(nombre),
                       detalle);
    }
    if (directa && m_impresora == Impresora::Recibos && m_config.getBool(QStringLiteral("IMPRIME-CORTE-DE-PAGINA")))
        encola(m_config.getString(QStringLiteral("PUERTO-CORTE-DE-PAGINA")),
               m_config.getString(QStringLiteral("IMPRIME-CODIGOS-CORTE-STRING")).toLatin1() + '\n');
    envia();
    m_trabajo = false;
    return !m_falla.hay();
}

// ---- shared blocks ----

void cTicketPrinter::lineaFecha(const QDateTime &fecha)
{
    const QDateTime f = fecha.isValid() ? fecha : ahora();
    const QString formato = cConfigValue::qtDateFormat(m_config.getString(QStringLiteral("FORMATO-FECHA-CLIENTE")));
    imprimeLinea(QStringLiteral("FECHA:") + f.toString(formato) + espacios(8) + QStringLiteral("HORA : ") +
                 f.toString(QStringLiteral("HH:mm")));
}

void cTicketPrinter::lineaTerminal(const QString &terminal, const QString &usuario)
{
    const QString t = terminal.isEmpty() ? m_config.getString(QStringLiteral("TERMINAL")) : terminal;
    const QString u = usuario.isEmpty() ? m_config.getString(QStringLiteral("USUARIO")) : usuario;
    imprimeLinea(izquierda(t, 10) + espacios(16) + izquierda(u, 10));
}

void cTicketPrinter::lineaFolio(qint64 folio)
{
    imprimeLinea(QStringLiteral("FOLIO     #") + derecha(cuenta(Decimal(folio)), 10));
}

void cTicketPrinter::codigoFolio(qint64 folio)
{
    // The printer's CODE128 carries the folio's digits only: padding blanks would be read back.
    if (m_config.getBool(QStringLiteral("IMPRIMIR-CODIGO-DE-BARRAS")))
        imprimeCodigoBarras(QString::number(folio));
}

Decimal cTicketPrinter::lineasVenta(const QList<LineaVenta> &lineas)
{
    Decimal publicos;
    for (const LineaVenta &l : lineas) {
        const Decimal publico = (l.cantidad * l.precio * (kCien + l.iva) / kCien).round(2);
        publicos += publico;
        if (l.total < publico)
            imprimeLinea(izquierda(l.clave, 13) + espacios(7) + u'$' + derecha(importe(publico), 10) +
                         QStringLiteral(" PUB"));
        imprimeLinea(izquierda(cantidad(l.cantidad), 4) + izquierda(l.nombre, 20) + u'$' +
                     derecha(importe(l.total), 10));
        if (!l.referencia.isEmpty())
            imprimeLinea(izquierda(l.referencia, kAncho));
    }
    return publicos;
}

void cTicketPrinter::enLetras(const Decimal &total)
{
    if (!m_config.getBool(QStringLiteral("IMPRIME-IMPORTE-EN-LETRAS")))
        return;
    QStringList partes;
    m_cadenas.StrToArr(partes, m_cadenas.NroEnLetras(total, true, QStringLiteral("PESOS")), kAncho);
    for (const QString &p : std::as_const(partes))
        imprimeLinea(p);
}

void cTicketPrinter::firmas()
{
    imprimeLinea(QString());
    imprimeLinea(QString());
    imprimeLinea(QString(16, u'_') + espacios(2) + QString(16, u'_'));
    imprimeLinea(izquierda(QStringLiteral("     Cajero"), 18) + QStringLiteral("     Autorizo"));
}

// ---- sale documents ----

void cTicketPrinter::ticketCompleto(const TicketVenta &t)
{
    for (const QString &l : std::as_const(m_encabezado))
        imprimeLinea(l);
    lineaFecha(t.fecha);
    lineaTerminal(t.terminal, t.usuario);
    lineaFolio(t.folio);
    codigoFolio(t.folio);
    Decimal suma;
    for (const LineaVenta &l : t.lineas)
        suma += l.total;
    const Decimal publicos = lineasVenta(t.lineas);
    imprimeLinea(SepEncabezado());
    imprimeLinea(QStringLiteral("redondeo...             $") + derecha(importe(t.redondeo), 10));
    imprimeLinea(QStringLiteral("TOTAL A PAGAR           $") + derecha(importe(t.total), 10));
    enLetras(t.total);
    for (const PagoVenta &p : t.pagos)
        imprimeLinea(izquierda(p.tipo, 24) + u'$' + derecha(importe(p.importe), 10));
    imprimeLinea(QStringLiteral("CAMBIO                  $") + derecha(importe(t.cambio), 10));
    imprimeLinea(QStringLiteral("NO.DE ARTICULOS VENDIDOS  ") + derecha(cuenta(t.articulos), 6));
    if (publicos - suma > Decimal())
        imprimeLinea(QStringLiteral("USTED AHORRO CON NOSOTROS $") + derecha(importe(publicos - suma), 8));
    for (const QString &l : std::as_const(m_pie))
        imprimeLinea(l);
}

bool cTicketPrinter::imprimeTicket(const TicketVenta &t)
{
    iniciaImpresionTicket();
    ticketCompleto(t);
    return terminaImpresion();
}

bool cTicketPrinter::imprimeNota(const TicketVenta &t)
{
    iniciaImpresionNota();
    ticketCompleto(t);
    return terminaImpresion();
}

bool cTicketPrinter::imprimeTicketSimple(const TicketVenta &t)
{
    iniciaImpresionTicket();
    lineaFolio(t.folio);
    codigoFolio(t.folio);
    lineasVenta(t.lineas);
    imprimeLinea(QStringLiteral("CAMBIO                  $") + derecha(importe(t.cambio), 10));
    return terminaImpresion();
}

bool cTicketPrinter::imprimePresupuesto(const TicketVenta &t)
{
    iniciaImpresionImpresoraRecibos();
    for (const QString &l : std::as_const(m_encabezado))
        imprimeLinea(l);
    imprimeLinea(espacios(12) + QStringLiteral("PRESUPUESTO"));
    lineaFecha(t.fecha);
    lineaTerminal(t.terminal, t.usuario);
    lineasVenta(t.lineas);
    imprimeLinea(SepEncabezado());
    imprimeLinea(QStringLiteral("PRESUPUESTO             $") + derecha(importe(t.total), 10));
    imprimeLinea(QStringLiteral("NO.DE ARTICULOS              ") + derecha(cuenta(t.articulos), 6));
    for (const QString &l : std::as_const(m_pie))
        imprimeLinea(l);
    return terminaImpresion();
}

bool cTicketPrinter::imprimeVentaPendiente(const TicketVenta &t)
{
    iniciaImpresionVentaPendiente();
    for (const QString &l : std::as_const(m_vpendEncabezado))
        imprimeLinea(l);
    if (!m_config.getBool(QStringLiteral("IMPRIMIR-VENTA-PENDIENTE-TICKET"))) {
        // The claim receipt: what the client shows at the cash register.
        imprimeLinea(QStringLiteral(" FOLIO: << ") + QString::number(t.folio) + QStringLiteral(" >>"));
        codigoFolio(t.folio);
        lineaFecha(t.fecha);
        imprimeLinea(QStringLiteral("PENDIENTE DE PAGO       $") + derecha(importe(t.total), 10));
    } else {
        lineaFecha(t.fecha);
        lineaTerminal(t.terminal, t.usuario);
        lineaFolio(t.folio);
        codigoFolio(t.folio);
        if (!t.cliente.isEmpty() && t.cliente != m_config.getString(QStringLiteral("CLIENTE-POR-OMISION"))) {
            try {
                db::Connection &c = m_connections.getConnection();
                db::Recordset rs = c.openRecordset(
                    QStringLiteral("select cli_Nombre, cli_Calle, cli_Exterior, cli_Interior, cli_Colonia, "
                                   "cli_DelMun, cli_Ciudad, edo_Clave, cli_CP, cli_Telefono1, cli_Telefono2, "
                                   "cli_Fax, cli_Referencia from tCliente where cli_Clave = ?"),
                    {t.cliente});
                if (!rs.eof()) {
                    const auto campo = [&](const char *n) { return rs.text(QString::fromLatin1(n)); };
                    const QStringList datos = {
                        campo("cli_Nombre"),
                        campo("cli_Calle") + QStringLiteral(" Exterior: ") + campo("cli_Exterior") +
                            QStringLiteral(" Interior: ") + campo("cli_Interior"),
                        campo("cli_Colonia"),
                        campo("cli_DelMun"),
                        campo("cli_Ciudad"),
                        campo("edo_Clave"),
                        campo("cli_CP"),
                        QStringLiteral("Tel1:") + campo("cli_Telefono1"),
                        QStringLiteral("Tel2:") + campo("cli_Telefono2"),
                        QStringLiteral("Fax:") + campo("cli_Fax"),
                        campo("cli_Referencia")};
                    // An address longer than the paper wraps rather than losing its end.
                    for (const QString &d : datos) {
                        QStringList partes;
                        m_cadenas.StrToArr(partes, d, kAncho);
                        for (const QString &p : std::as_const(partes))
                            imprimeLinea(p);
                    }
                }
            } catch (const db::DbError &e) {
                writeLog(QStringLiteral("cTicketPrinter.imprimeVentaPendiente: ") + e.description());
            }
        }
        lineasVenta(t.lineas);
        imprimeLinea(QStringLiteral("NO.DE ARTICULOS DE VENDIDOS  ") + derecha(cuenta(t.articulos), 6));
        imprimeLinea(QStringLiteral("TOTAL A PAGAR           $") + derecha(importe(t.total), 10));
        enLetras(t.total);
    }
    for (const QString &l : std::as_const(m_vpendPie))
        imprimeLinea(l);
    return terminaImpresion();
}

TicketVenta cTicketPrinter::deVenta(QObject *venta)
{
    TicketVenta t;
    const auto *v = qobject_cast<cVenta *>(venta);
    if (!v)
        return t;
    const cVenta::Datos &d = v->datos();
    t.lineas = d.lineas;
    t.importe = d.importe;
    t.total = d.total;
    t.redondeo = d.redondeo;
    t.cambio = d.cambio;
    t.articulos = d.articulos;
    for (const QString &p : d.pagos)
        t.pagos << PagoVenta::deTexto(p);
    t.folio = d.folio;
    return t;
}

bool cTicketPrinter::imprimeTicket(QObject *venta)
{
    return imprimeTicket(deVenta(venta));
}

bool cTicketPrinter::imprimeTicketSimple(QObject *venta)
{
    return imprimeTicketSimple(deVenta(venta));
}

bool cTicketPrinter::imprimeNota(QObject *venta)
{
    return imprimeNota(deVenta(venta));
}

bool cTicketPrinter::imprimePresupuesto(QObject *venta)
{
    return imprimePresupuesto(deVenta(venta));
}

// ---- other documents ----

bool cTicketPrinter::imprimeDevolucion(const DevolucionTicket &d)
{
    // The credit is paid out of the drawer.
    iniciaImpresionTicket();
    for (const QString &l : std::as_const(m_encabezado))
        imprimeLinea(l);
    imprimeLinea(QStringLiteral("      DEVOLUCION DE MERCANCIA"));
    lineaFecha(d.fecha);
    lineaTerminal(d.terminal, d.usuario);
    lineaFolio(d.folio);
    imprimeLinea(QStringLiteral("BONIFICACIONES"));
    for (const LineaVenta &l : d.lineas)
        imprimeLinea(izquierda(cantidad(l.cantidad), 4) + izquierda(l.nombre, 20) + u'$' +
                     derecha(importe(l.total), 10));
    imprimeLinea(SepEncabezado());
    imprimeLinea(QStringLiteral("IMPORTE BONIFICADO      $") + derecha(importe(d.importe), 10));
    imprimeLinea(QStringLiteral("NO.DE ARTICULOS DEVUELTOS   ") + derecha(cuenta(d.articulos), 6));
    imprimeLinea(QString());
    imprimeLinea(QString());
    imprimeLinea(espacios(4) + QString(28, u'_'));
    imprimeLinea(QStringLiteral("    NOMBRE Y FIRMA DEL CLIENTE"));
    return terminaImpresion();
}

bool cTicketPrinter::tiempoAire(const TiempoAireTicket &t, bool reversa)
{
    iniciaImpresionImpresoraRecibos();
    imprimeLinea(reversa ? QStringLiteral("      REVERSO DE TIEMPO AIRE") : QStringLiteral("       VENTA DE TIEMPO AIRE"));
    if (t.copia)
        imprimeLinea(QStringLiteral("***            COPIA            ***"));
    lineaFecha(QDateTime());
    lineaTerminal(t.terminal, t.usuario);
    const QDateTime f = t.fecha.isValid() ? t.fecha : ahora();
    const QString formato = cConfigValue::qtDateFormat(m_config.getString(QStringLiteral("FORMATO-FECHA-CLIENTE")));
    imprimeLinea(QStringLiteral("FOLIO DE TIEMPO AIRE # ") + QString::number(t.folio));
    imprimeLinea(QStringLiteral("FECHA       : ") + f.toString(formato));
    imprimeLinea(QStringLiteral("HORA        : ") + f.toString(QStringLiteral("HH:mm:ss")));
    imprimeLinea(QStringLiteral("TELEFONO    : ") + t.telefono);
    imprimeLinea(QStringLiteral("MONTO       $ ") + importe(t.monto));
    imprimeLinea(QStringLiteral("TRANSACCION : ") + t.transaccion);
    imprimeLinea(QStringLiteral("OPERACION   : ") + t.operacion);
    imprimeLinea(QStringLiteral("ACCION      : ") + t.accion);
    imprimeLinea(QStringLiteral("VERIFICACION: ") + t.verificacion);
    QStringList partes;
    m_cadenas.StrToArr(partes, t.comentario, 35);
    for (const QString &p : std::as_const(partes))
        imprimeLinea(p);
    if (reversa)
        firmas();
    return terminaImpresion();
}

bool cTicketPrinter::imprimeTiempoAire(const TiempoAireTicket &t)
{
    return tiempoAire(t, false);
}

bool cTicketPrinter::imprimeTiempoAireReversa(const TiempoAireTicket &t)
{
    return tiempoAire(t, true);
}

bool cTicketPrinter::imprimeMovimientoDeCaja(const MovimientoCajaTicket &m)
{
    iniciaImpresionMovCaja();
    imprimeLinea(QStringLiteral("-CORTE DE CAJA: ") + m.corte);
    imprimeLinea(QStringLiteral("MOVIMIENTO : ") + cuenta(Decimal(m.movimiento)));
    lineaFecha(m.fecha);
    lineaTerminal(m.terminal, m.usuario);
    imprimeLinea(QStringLiteral("CONCEPTO :") + m.concepto);
    imprimeLinea(QStringLiteral("IMPORTE $") + importe(m.importe));
    QStringList partes;
    m_cadenas.StrToArr(partes, m_cadenas.NroEnLetras(m.importe, true, QStringLiteral("PESOS")), kAncho);
    for (const QString &p : std::as_const(partes))
        imprimeLinea(p);
    firmas();
    return terminaImpresion();
}

bool cTicketPrinter::imprimeCorteDeCaja(const CorteTicket &c)
{
    iniciaImpresionCorteDeCaja();
    imprimeLinea(QStringLiteral("-CORTE DE CAJA: ") + c.terminal + u'-' + QString::number(c.anio) + u'-' +
                 QString::number(c.numero));
    lineaFecha(c.fecha);
    lineaTerminal(c.terminal, c.usuario);
    imprimeLinea(QStringLiteral("ARTICULOS VENDIDOS   :") + derecha(cuenta(c.articulos), 14));
    imprimeLinea(QStringLiteral("VENTAS EFECTUADAS    :") + derecha(cuenta(Decimal(c.ventas)), 14));
    imprimeLinea(QStringLiteral("DEVOLUCIONES         :") + derecha(cuenta(Decimal(c.devoluciones)), 14));
    imprimeLinea(SepEncabezado());
    // An expense carries its minus sign, so the column adds up to the total.
    for (const CorteTicket::Movimiento &m : c.movimientos)
        imprimeLinea(izquierda(m.concepto, 23) + (m.ingreso ? u'+' : u'-') + u'$' +
                     derecha(importe(m.importe), 10));
    imprimeLinea(SepEncabezado());
    imprimeLinea(QStringLiteral("(=) TOTAL INGRESOS   $") + derecha(importe(c.ingresos()), 10));
    imprimeLinea(QStringLiteral("(=) TOTAL EGRESOS    $") + derecha(importe(c.egresos()), 10));
    imprimeLinea(QStringLiteral("=== TOTAL            $") + derecha(importe(c.ingresos() - c.egresos()), 10));
    imprimeLinea(QString());
    imprimeLinea(QStringLiteral("ARQUEO DE CAJA"));
    for (const CorteTicket::Arqueo &a : c.arqueo) {
        if (a.cantidad.isZero())
            continue;
        imprimeLinea(izquierda(cuenta(a.cantidad), 5) + u'*' + importe(a.valor) + QStringLiteral(" = $") +
                     derecha(importe(a.cantidad * a.valor), 10));
    }
    imprimeLinea(QStringLiteral("EFECTIVO      $ ") + derecha(importe(c.efectivoContado()), 10));
    firmas();
    return terminaImpresion();
}

bool cTicketPrinter::imprimePedido(const PedidoTicket &p)
{
    iniciaImpresionImpresoraRecibos();
    const QString formato = cConfigValue::qtDateFormat(m_config.getString(QStringLiteral("FORMATO-FECHA-CLIENTE")));
    imprimeLinea(izquierda(QStringLiteral("PEDIDO ") + p.numero, kAncho));
    imprimeLinea(QStringLiteral(" Fecha Sol. ") +
                 (p.fechaSolicitud.isValid() ? p.fechaSolicitud : ahora()).toString(formato));
    imprimeLinea(izquierda(p.proveedor, kAncho));
    imprimeLinea(SepEncabezado());
    Decimal normal, oferta;
    for (const PedidoTicket::Linea &l : p.lineas) {
        imprimeLinea(izquierda(l.clave, 14) + izquierda(l.nombre, 22));
        imprimeLinea(QStringLiteral("  NORMAL #") + derecha(cuenta(l.normal), 8) + QStringLiteral("  OFERTA #") +
                     derecha(cuenta(l.oferta), 8));
        normal += l.normal;
        oferta += l.oferta;
    }
    imprimeLinea(SepEncabezado());
    imprimeLinea(QStringLiteral("NORMAL #") + derecha(cuenta(normal), 10));
    imprimeLinea(QStringLiteral("OFERTA #") + derecha(cuenta(oferta), 10));
    imprimeLinea(QStringLiteral("TOTAL  #") + derecha(cuenta(normal + oferta), 10));
    return terminaImpresion();
}

bool cTicketPrinter::imprimeFaltantes(const FaltantesTicket &f)
{
    iniciaImpresionImpresoraRecibos();
    imprimeLinea(QStringLiteral("PROVEEDOR: ") + izquierda(f.proveedor, 25));
    lineaFecha(f.fecha);
    imprimeLinea(SepEncabezado());
    Decimal suma;
    for (const FaltantesTicket::Linea &l : f.lineas) {
        imprimeLinea(izquierda(cuenta(l.cantidad), 6) + izquierda(l.nombre, 30));
        suma += l.cantidad;
    }
    imprimeLinea(SepEncabezado());
    imprimeLinea(QStringLiteral("ARTICULOS SOLICITADOS : ") + derecha(cuenta(suma), 12));
    return terminaImpresion();
}

bool cTicketPrinter::imprimeCodigoBarras(const QString &texto)
{
    if (m_documento) {
        m_doc.codigoBarras(texto);
        return true;
    }
    iniciaImpresionImpresoraRecibos();
    m_doc.codigoBarras(texto);
    return terminaImpresion();
}

bool cTicketPrinter::imprimePrueba(bool nota)
{
    if (nota) {
        iniciaImpresionImpresoraNota();
    } else {
        abreTrabajo();
        // The drawer opens on the test page whatever the document would do.
        if (m_config.getBool(QStringLiteral("IMPRIME-ABRE-CAJON")))
            sendEscapeCode(m_config.getString(QStringLiteral("PUERTO-APERTURA-CAJON")),
                           m_config.getString(QStringLiteral("IMPRIME-CODIGOS-CAJON-STRING")));
        iniciaImpresionImpresoraRecibos();
    }
    const bool directa = directo();
    imprimeLinea(QStringLiteral("        PRUEBA DE IMPRESION"));
    imprimeLinea(SepEncabezado());
    imprimeLinea(izquierda(QStringLiteral("Salida: ") + (directa ? QStringLiteral("puerto ") : QStringLiteral("impresora ")) +
                               PrinterDevice(),
                           kAncho));
    if (directa)
        imprimeLinea(QStringLiteral("Tabla: ") +
                     m_config.getString(clave("IMPRESORA-PAGINA-CODIGOS", "IMPRESORA-NOTA-PAGINA-CODIGOS")));
    lineaFecha(QDateTime());
    imprimeLinea(QStringLiteral("123456789012345678901234567890123456"));
    imprimeLinea(QStringLiteral("áéíóú ÁÉÍÓÚ ñÑ üÜ ¿? ¡! $ € °"));
    imprimeLinea(QStringLiteral("AÑO PEÑA CAMIÓN ACCIÓN PINGÜINO"));
    imprimeLinea(izquierda(QStringLiteral("Cajón: ") + (!nota && m_config.getBool(QStringLiteral("IMPRIME-ABRE-CAJON"))
                                                             ? QStringLiteral("se abre")
                                                             : QStringLiteral("no configurado")),
                           kAncho));
    imprimeLinea(izquierda(QStringLiteral("Corte: ") + (!nota && directa &&
                                                                m_config.getBool(QStringLiteral("IMPRIME-CORTE-DE-PAGINA"))
                                                            ? QStringLiteral("al terminar")
                                                            : QStringLiteral("no configurado")),
                           kAncho));
    imprimeCodigoBarras(QStringLiteral("1234567890"));
    imprimeLinea(SepEncabezado());
    return terminaImpresion();
}

// ---- data read back ----

Decimal CorteTicket::ingresos() const
{
    Decimal s;
    for (const Movimiento &m : movimientos)
        if (m.ingreso)
            s += m.importe;
    return s;
}

Decimal CorteTicket::egresos() const
{
    Decimal s;
    for (const Movimiento &m : movimientos)
        if (!m.ingreso)
            s += m.importe;
    return s;
}

Decimal CorteTicket::efectivoContado() const
{
    if (efectivo)
        return *efectivo;
    Decimal s;
    for (const Arqueo &a : arqueo)
        s += a.cantidad * a.valor;
    return s;
}
