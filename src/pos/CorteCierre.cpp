#include "CorteCierre.h"

#include "cCorte.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "Permisos.h"
#include "Prompter.h"
#include "Secuencias.h"
#include "cCode.h"
#include "cConfigure.h"

#include "Connection.h"
#include "DbError.h"
#include "Transaction.h"

const QString CorteCierre::kSinCorte =
    QStringLiteral("No hay un corte de caja abierto, debe tener uno antes de intentar cerrarlo");
const QString CorteCierre::kSeleccione = QStringLiteral("Seleccione un corte");
const QString CorteCierre::kMasAbiertos = QStringLiteral(
    "Hay mas cortes abiertos, la terminal actual debería ser la última en cerrarse, desea continuar");
const QString CorteCierre::kNoCoinciden = QStringLiteral("Los pagos recibidos no coinciden con el total");
const QString CorteCierre::kConfirma = QStringLiteral("Ya capturo los pagos recibidos");
const QString CorteCierre::kPreguntaImprime = QStringLiteral("Desea Imprimir Ticket de Corte de Caja");
const QString CorteCierre::kReimprime = QStringLiteral("Desea volver a imprimir el corte de caja");
const QString CorteCierre::kEliminaPendientes = QStringLiteral("Desea eliminar la ventas pendientes");
const QString CorteCierre::kValorNumerico = QStringLiteral("Debe ingresar un valor numerico");
const QString CorteCierre::kMayorACero = QStringLiteral("Debe ingresar un valor mayor a cero");
const QString CorteCierre::kCambioElCorte = QStringLiteral(
    "El corte recibio operaciones mientras se capturaba; revise el resumen y vuelva a aceptar");
const QString CorteCierre::kDerechoCambiarTerminal = QStringLiteral("frmCorteFin_CambiarTerminal");
const QString CorteCierre::kDerechoVerTotal = QStringLiteral("frmCorteFin_VerTotal");
const QString CorteCierre::kDerechoCerrarSinCapturar = QStringLiteral("frmCorteFin_CerrarSinCapturar");

namespace {

struct Rechazo {
    QString texto;
    bool recarga = false; // the summary changed: read it again
};

QString ahora(const Corte::Abierto &a)
{
    return Corte::codigo(a.clave) + QStringLiteral("    ") +
           a.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

} // namespace

CorteCierre::CorteCierre(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                         Permisos &permisos, cCode *code)
    : m_connections(connections), m_config(config), m_prompter(prompter), m_permisos(permisos), m_code(code)
{
}

CorteCierre::~CorteCierre() = default;

bool CorteCierre::puedeVerTotal() const
{
    return m_permisos.hasPermission(kDerechoVerTotal);
}

bool CorteCierre::puedeCambiarTerminal() const
{
    return m_permisos.hasPermission(kDerechoCambiarTerminal);
}

bool CorteCierre::inicia()
{
    m_resumen.reset();
    m_almacen = m_config.getString(QStringLiteral("ALMACEN"));
    const QString terminal = m_config.getString(QStringLiteral("TERMINAL"));
    QList<Corte::Abierto> abiertos;
    try {
        for (db::Recordset rs = m_connections.getConnection().openRecordset(
                 QStringLiteral("select term_Clave, corte_Anio, corte_Numero, corte_Fecha from TCORTE where "
                                "alm_Clave = ? and ecorte_Clave = 'ABIERTO' order by term_Clave"),
                 {m_almacen});
             !rs.eof(); rs.moveNext())
            abiertos << Corte::Abierto{{rs.value(0).toString(), rs.value(1).toInt(), rs.value(2).toInt()},
                                       rs.value(3).toDateTime()};
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("CorteCierre.inicia: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical,
                                   QStringLiteral("No fue posible consultar los cortes"), e.description());
        return false;
    }
    const auto propio = std::find_if(abiertos.cbegin(), abiertos.cend(),
                                     [&](const Corte::Abierto &a) { return a.clave.terminal == terminal; });
    const bool cambia = puedeCambiarTerminal();
    if (abiertos.isEmpty() || (!cambia && propio == abiertos.cend())) {
        m_prompter.information(kSinCorte);
        return false;
    }
    Corte::Clave elegido;
    if (!cambia || abiertos.size() == 1) {
        elegido = cambia ? abiertos.first().clave : propio->clave;
    } else {
        QStringList lista;
        for (const Corte::Abierto &a : abiertos)
            lista << ahora(a);
        int i = propio == abiertos.cend() ? 0 : int(propio - abiertos.cbegin());
        if (!m_prompter.choose(kSeleccione, QStringLiteral("Cierre de corte de caja"), lista, i) || i < 0 ||
            i >= abiertos.size()) {
            m_prompter.information(kSeleccione);
            return false;
        }
        elegido = abiertos.at(i).clave;
    }
    // This terminal's cut should be the last one closed.
    if (cambia && abiertos.size() > 1 && elegido.terminal == terminal &&
        !m_prompter.question(kMasAbiertos, false))
        return false;
    return carga(elegido);
}

bool CorteCierre::carga(const Corte::Clave &clave)
{
    m_almacen = m_config.getString(QStringLiteral("ALMACEN"));
    try {
        auto r = ResumenCorte::lee(m_connections.getConnection(), m_almacen, clave);
        if (!r || !r->abierto()) {
            m_prompter.information(kSinCorte);
            return false;
        }
        // What was typed stays when the summary is read again.
        if (m_resumen && m_resumen->clave == clave) {
            for (PagoRecibido &p : r->pagos)
                for (const PagoRecibido &q : m_resumen->pagos)
                    if (q.tipo == p.tipo)
                        p.importe = q.importe;
            for (ArqueoFila &a : r->arqueo)
                for (const ArqueoFila &b : m_resumen->arqueo)
                    if (b.clave == a.clave)
                        a.cantidad = b.cantidad;
        }
        m_resumen = std::move(r);
        return true;
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("CorteCierre.carga: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical, QStringLiteral("No fue posible leer el corte"),
                                   e.description());
        return false;
    }
}

std::optional<Decimal> CorteCierre::leeValor(const QString &texto, Campo campo, bool entero)
{
    QString t = texto.trimmed();
    t.remove(u',');
    t.remove(u'$');
    if (t.isEmpty())
        return Decimal();
    bool ok = false;
    const Decimal d = Decimal::fromString(t, &ok);
    if (!ok || (entero && d != d.truncated())) {
        m_campo = campo;
        m_prompter.exclamation(kValorNumerico);
        return std::nullopt;
    }
    // Zero clears a row; only a negative amount or quantity is refused.
    if (d < Decimal()) {
        m_campo = campo;
        m_prompter.exclamation(kMayorACero);
        return std::nullopt;
    }
    return d;
}

bool CorteCierre::capturaPago(int fila, const QString &texto)
{
    m_campo = Campo::Ninguno;
    if (!m_resumen || fila < 0 || fila >= m_resumen->pagos.size())
        return false;
    const auto v = leeValor(texto, Campo::Pagos, false);
    if (!v)
        return false;
    m_resumen->pagos[fila].importe = *v;
    return true;
}

bool CorteCierre::capturaCantidad(int fila, const QString &texto)
{
    m_campo = Campo::Ninguno;
    if (!m_resumen || fila < 0 || fila >= m_resumen->arqueo.size())
        return false;
    const auto v = leeValor(texto, Campo::Arqueo, true);
    if (!v)
        return false;
    m_resumen->arqueo[fila].cantidad = v->toInt64();
    for (PagoRecibido &p : m_resumen->pagos)
        if (p.tipo == QLatin1String("EFECTIVO"))
            p.importe = m_resumen->efectivoArqueo();
    return true;
}

bool CorteCierre::cmdAceptar()
{
    m_campo = Campo::Ninguno;
    if (!m_resumen)
        return false;
    if (m_resumen->recibido() != m_resumen->total() && !m_permisos.hasPermission(kDerechoCerrarSinCapturar)) {
        m_campo = Campo::Pagos;
        m_prompter.exclamation(kNoCoinciden);
        return false;
    }
    if (!m_prompter.question(kConfirma, false))
        return false;
    const Corte::Clave clave = m_resumen->clave;
    try {
        escribeCierre();
    } catch (const Rechazo &r) {
        m_prompter.exclamation(r.texto);
        if (r.recarga)
            carga(clave);
        return false;
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("CorteCierre.cmdAceptar: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical, QStringLiteral("No fue posible cerrar el corte"),
                                   e.description());
        return false;
    }

    // The cut is closed: what follows never reopens it.
    std::optional<ResumenCorte> cerrado;
    try {
        cerrado = ResumenCorte::lee(m_connections.getConnection(), m_almacen, clave);
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("CorteCierre.cmdAceptar: ") + e.description());
    }
    if (cerrado && m_config.getBool(QStringLiteral("IMPRIMIR-CORTE-DE-CAJA")))
        imprime(*cerrado, m_config.getBool(QStringLiteral("IMPRIMIR-CORTE-DE-CAJA-PREGUNTA")));
    eliminaPendientes();
    if (m_config.getString(QStringLiteral("CORTE-CAJA")) == Corte::codigo(clave)) {
        m_config.setValue(QStringLiteral("CORTE-CAJA"), QString());
        m_config.saveValue(QStringLiteral("CORTE-CAJA"));
    }
    m_resumen.reset();
    return true;
}

void CorteCierre::escribeCierre()
{
    const ResumenCorte &r = *m_resumen;
    db::Connection &c = m_connections.getConnection();
    db::Transaction t(c);
    if (!Corte::bloqueaAbierto(c, m_almacen, r.clave))
        throw Rechazo{kSinCorte};
    // Sales or movements written since the summary was shown would be closed unseen.
    const auto ahora = ResumenCorte::lee(c, m_almacen, r.clave);
    if (!ahora || ahora->total() != r.total() || ahora->ventas != r.ventas ||
        ahora->devoluciones != r.devoluciones || ahora->movimientos.size() != r.movimientos.size() ||
        ahora->articulos != r.articulos)
        throw Rechazo{kCambioElCorte, true};

    const QString usuario = m_config.getString(QStringLiteral("USUARIO"));
    const QString secuencia =
        Secuencias::clave(Secuencias::Documento::MovCaja, m_almacen, {}, Corte::codigo(r.clave));
    const QString movimiento = QStringLiteral(
        "insert into tMovCaja (alm_Clave, term_Clave, corte_Anio, corte_Numero, movc_Clave, concepto_Clave, "
        "concepto_Nombre, movc_Importe, movc_Fecha, usu_Clave) values (?, ?, ?, ?, ?, ?, ?, ?, getdate(), "
        "?)");
    for (const auto &[concepto, importe] : {std::pair{ResumenCorte::kVentas, r.importeVentas},
                                            std::pair{ResumenCorte::kDevoluciones, r.importeDevoluciones}})
        c.execute(movimiento, {m_almacen, r.clave.terminal, r.clave.anio, r.clave.numero,
                               Secuencias::getNextSequence(c, secuencia), concepto, concepto,
                               importe.toQVariant(), usuario});
    for (const PagoRecibido &p : r.pagos)
        if (p.importe > Decimal())
            c.execute(
                QStringLiteral("insert into tCorteTipoPago (alm_Clave, term_Clave, corte_Anio, corte_Numero, "
                               "tpago_Clave, cortetp_Importe) values (?, ?, ?, ?, ?, ?)"),
                {m_almacen, r.clave.terminal, r.clave.anio, r.clave.numero, p.tipo, p.importe.toQVariant()});
    for (const ArqueoFila &a : r.arqueo)
        if (a.cantidad > 0)
            c.execute(
                QStringLiteral(
                    "insert into tCorteArqueo (alm_Clave, term_Clave, corte_Anio, corte_Numero, "
                    "deno_Clave, deno_Valor, deno_Nombre, carq_Cantidad) values (?, ?, ?, ?, ?, ?, ?, ?)"),
                {m_almacen, r.clave.terminal, r.clave.anio, r.clave.numero, a.clave, a.valor.toQVariant(),
                 a.nombre, a.cantidad});
    const Decimal diferencia = r.diferencia();
    c.execute(QStringLiteral(
                  "update TCORTE set ecorte_Clave = ?, corte_Articulos = ?, corte_Total = ?, "
                  "corte_Diferencia = ?, corte_FechaFin = getdate(), usu_ClaveFin = ? where alm_Clave = ? "
                  "and term_Clave = ? and corte_Anio = ? and corte_Numero = ?"),
              {diferencia == Decimal() ? QStringLiteral("CERRADO") : QStringLiteral("DIFERENCIA"),
               r.articulos.toQVariant(), r.total().toQVariant(), diferencia.toQVariant(), usuario, m_almacen,
               r.clave.terminal, r.clave.anio, r.clave.numero});
    t.commit();
}

void CorteCierre::imprime(const ResumenCorte &cerrado, bool preguntar)
{
    if (preguntar && !m_prompter.question(kPreguntaImprime, true))
        return;
    m_ultimo = std::make_unique<cCorte>();
    m_ultimo->load(cerrado);
    // A printer or a script that fails is reported by its own code; the cut stays closed.
    do {
        if (m_code && m_code->Search(QStringLiteral("OnCutOfBox")) && m_code->Activo())
            m_code->runEvent(QStringLiteral("OnCutOfBox"),
                             {{QStringLiteral("xCorte"), QVariant::fromValue<QObject *>(m_ultimo.get())}});
        else if (m_imprime)
            m_imprime(*m_ultimo);
    } while (m_prompter.question(kReimprime, false));
}

void CorteCierre::eliminaPendientes()
{
    try {
        db::Connection &c = m_connections.getConnection();
        if (c.scalar(QStringLiteral("select count(*) from tVentaPendiente where alm_Clave = ?"), {m_almacen})
                    .toInt() == 0 ||
            !m_prompter.question(kEliminaPendientes, false))
            return;
        db::Transaction t(c);
        c.execute(QStringLiteral("delete from tVentaPendienteDet where alm_Clave = ?"), {m_almacen});
        c.execute(QStringLiteral("delete from tVentaPendiente where alm_Clave = ?"), {m_almacen});
        t.commit();
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("CorteCierre.eliminaPendientes: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical,
                                   QStringLiteral("No fue posible eliminar las ventas pendientes"),
                                   e.description());
    }
}

QList<Corte::Abierto> CorteCierre::cortesCerrados(int limite)
{
    QList<Corte::Abierto> out;
    try {
        for (db::Recordset rs = m_connections.getConnection().openRecordset(
                 QStringLiteral(
                     "select term_Clave, corte_Anio, corte_Numero, corte_FechaFin from TCORTE where "
                     "alm_Clave = ? and ecorte_Clave <> 'ABIERTO' order by case when corte_FechaFin is null "
                     "then "
                     "1 else 0 end, corte_FechaFin desc, term_Clave, corte_Anio desc, corte_Numero desc "
                     "limit ?"),
                 {m_config.getString(QStringLiteral("ALMACEN")), limite});
             !rs.eof(); rs.moveNext())
            out << Corte::Abierto{{rs.value(0).toString(), rs.value(1).toInt(), rs.value(2).toInt()},
                                  rs.value(3).toDateTime()};
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("CorteCierre.cortesCerrados: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical,
                                   QStringLiteral("No fue posible consultar los cortes"), e.description());
    }
    return out;
}

bool CorteCierre::reimprime(const Corte::Clave &clave)
{
    m_almacen = m_config.getString(QStringLiteral("ALMACEN"));
    try {
        const auto r = ResumenCorte::lee(m_connections.getConnection(), m_almacen, clave);
        if (!r || r->abierto()) {
            m_prompter.information(QStringLiteral("El corte ") + Corte::codigo(clave) +
                                   QStringLiteral(" no esta cerrado"));
            return false;
        }
        imprime(*r, false);
        return true;
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("CorteCierre.reimprime: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical, QStringLiteral("No fue posible leer el corte"),
                                   e.description());
        return false;
    }
}

bool CorteCierre::cmdReimprimir()
{
    const QList<Corte::Abierto> cerrados = cortesCerrados();
    if (cerrados.isEmpty()) {
        m_prompter.information(QStringLiteral("No hay cortes cerrados"));
        return false;
    }
    QStringList lista;
    for (const Corte::Abierto &a : cerrados)
        lista << ahora(a);
    int i = 0;
    if (!m_prompter.choose(kSeleccione, QStringLiteral("Reimpresion de corte de caja"), lista, i) || i < 0 ||
        i >= cerrados.size())
        return false;
    return reimprime(cerrados.at(i).clave);
}
