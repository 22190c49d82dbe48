#include "MovimientoCaja.h"

#include "cMovCaja.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "Prompter.h"
#include "Secuencias.h"
#include "TextFold.h"
#include "cCode.h"
#include "cConfigValue.h"
#include "cConfigure.h"

#include "Connection.h"
#include "DbError.h"
#include "Transaction.h"

const QString MovimientoCaja::kSinConcepto = QStringLiteral("Debe seleccionar un concepto");
const QString MovimientoCaja::kSinDescripcion = QStringLiteral("Debe indicar una descripcion");
const QString MovimientoCaja::kSinImporte = QStringLiteral("Debe indicar un importe");
const QString MovimientoCaja::kSinProveedor = QStringLiteral("Debe seleccionar un proveedor");
const QString MovimientoCaja::kFacturaNoRegistrada = QStringLiteral("La Factura no esta registrada");
const QString MovimientoCaja::kSinCuenta = QStringLiteral("Debe seleccionar una cuenta");
const QString MovimientoCaja::kConfirma = QStringLiteral("Los datos son correctos");
const QString MovimientoCaja::kReimprime = QStringLiteral("Desea volver a imprimir el movimiento de caja");
const QString MovimientoCaja::kOtroMovimiento =
    QStringLiteral("Movimiento generado con exito, desea generar mas movimientos");

namespace {

struct Rechazo {
    QString texto;
    MovimientoCaja::Campo campo = MovimientoCaja::Campo::Ninguno;
};

const QString kExcede = QStringLiteral("El importe excede el total a pagar de la factura ");

QString cancelada(const QString &f)
{
    return QStringLiteral("La factura ") + f + QStringLiteral(" esta cancelada, no es posible pagarla");
}

QString pagada(const QString &f)
{
    return QStringLiteral("La factura ") + f + QStringLiteral(" esta pagada, no es posible volver a pagarla");
}

// The invoice as it stands; nothing when the warehouse has no such invoice of the supplier.
std::optional<MovimientoCaja::Factura> leeFactura(db::Connection &c, const QString &almacen,
                                                  const QString &proveedor, const QString &factura)
{
    db::Recordset rs =
        c.openRecordset(QStringLiteral("select fact_Clave, edof_Clave, fact_Total, fact_Pago from "
                                       "tFactura where alm_Clave = ? and prov_Clave = ? and "
                                       "fact_Clave = ?"),
                        {almacen, proveedor, factura});
    if (rs.eof())
        return std::nullopt;
    return MovimientoCaja::Factura{rs.value(0).toString(), rs.value(1).toString(),
                                   Decimal::fromVariant(rs.value(2)), Decimal::fromVariant(rs.value(3))};
}

} // namespace

MovimientoCaja::MovimientoCaja(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                               cCode *code)
    : m_connections(connections), m_config(config), m_prompter(prompter), m_code(code)
{
}

MovimientoCaja::~MovimientoCaja() = default;

bool MovimientoCaja::validaCorte()
{
    Corte corte(m_connections, m_config, m_prompter);
    if (!corte.validaCorte())
        return false;
    // validaCorte just wrote the open cut's code.
    const auto clave = Corte::deCodigo(m_config.getString(QStringLiteral("CORTE-CAJA")));
    if (!clave)
        return false;
    m_corte = *clave;
    m_almacen = m_config.getString(QStringLiteral("ALMACEN"));
    return true;
}

QList<MovimientoCaja::Concepto> MovimientoCaja::conceptos()
{
    QList<Concepto> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(QStringLiteral(
             "select concepto_Clave, concepto_Nombre, tconcepto_Clave, concepto_Signo from tConcepto "
             "where tconcepto_Clave in ('INGRESO', 'GASTO') and concepto_Clave not in ('VENTAS', "
             "'DEVOLUCIONES') order by concepto_Nombre"));
         !rs.eof(); rs.moveNext())
        out << Concepto{rs.value(0).toString(), rs.value(1).toString(), rs.value(2).toString(),
                        rs.value(3).toString() == QLatin1String("+")};
    return out;
}

QList<MovimientoCaja::Cuenta> MovimientoCaja::cuentas()
{
    QList<Cuenta> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(QStringLiteral(
             "select c.ctab_Clave, coalesce(b.banco_Nombre, c.banco_Clave) from tCuentaBancaria c "
             "left join tBanco b on b.banco_Clave = c.banco_Clave order by 2, 1"));
         !rs.eof(); rs.moveNext())
        out << Cuenta{rs.value(0).toString(), rs.value(1).toString()};
    return out;
}

QList<QPair<QString, QString>> MovimientoCaja::proveedoresConFacturas()
{
    QList<QPair<QString, QString>> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(
             QStringLiteral(
                 "select p.prov_Clave, p.prov_Nombre from tProveedor p where exists (select 1 from tFactura "
                 "f where f.prov_Clave = p.prov_Clave and f.alm_Clave = ? and f.edof_Clave not in "
                 "('PAGADA', 'CANCELADA')) order by p.prov_Nombre"),
             {m_config.getString(QStringLiteral("ALMACEN"))});
         !rs.eof(); rs.moveNext())
        out << qMakePair(rs.value(0).toString(), rs.value(1).toString());
    return out;
}

QList<MovimientoCaja::Factura> MovimientoCaja::facturasPendientes(const QString &proveedor)
{
    QList<Factura> out;
    for (db::Recordset rs = m_connections.getConnection().openRecordset(
             QStringLiteral(
                 "select fact_Clave, edof_Clave, fact_Total, fact_Pago from tFactura where alm_Clave = ? "
                 "and prov_Clave = ? and edof_Clave not in ('PAGADA', 'CANCELADA') order by fact_Fecha, "
                 "fact_Clave"),
             {m_config.getString(QStringLiteral("ALMACEN")), proveedor});
         !rs.eof(); rs.moveNext())
        out << Factura{rs.value(0).toString(), rs.value(1).toString(), Decimal::fromVariant(rs.value(2)),
                       Decimal::fromVariant(rs.value(3))};
    return out;
}

QString MovimientoCaja::descripcionPropuesta(const Concepto &concepto, const QDateTime &ahora) const
{
    // The catalogue has no deposit type among incomes and expenses: a deposit concept is one
    // that says so in its key or name.
    const QString deposito = QStringLiteral("deposito");
    if (db::foldText(concepto.clave).contains(deposito) || db::foldText(concepto.nombre).contains(deposito))
        return QStringLiteral("DEPOSITO A CUENTA ") +
               ahora.toString(cConfigValue::qtDateFormat(
                   m_config.getString(QStringLiteral("FORMATO-FECHA-CLIENTE-FULL"))));
    return concepto.nombre;
}

bool MovimientoCaja::rechaza(Campo campo, const QString &texto)
{
    m_campo = campo;
    m_prompter.exclamation(texto);
    return false;
}

std::optional<Decimal> MovimientoCaja::leeImporte(const QString &texto)
{
    QString t = texto.trimmed();
    t.remove(u',');
    t.remove(u'$');
    bool ok = false;
    const Decimal d = Decimal::fromString(t, &ok);
    if (!ok || d <= Decimal()) {
        rechaza(Campo::Importe, kSinImporte);
        return std::nullopt;
    }
    return d;
}

bool MovimientoCaja::conceptoUsable(const QString &clave, const QString &tipo, Campo campo)
{
    // Concept keys are 20 characters; a longer supplier or account key cannot become one.
    if (clave.size() > 20)
        return rechaza(
            campo,
            QStringLiteral("La clave ") + clave +
                QStringLiteral(" tiene mas de 20 caracteres, no es posible usarla como concepto de caja"));
    db::Recordset rs = m_connections.getConnection().openRecordset(
        QStringLiteral("select tconcepto_Clave, concepto_Signo from tConcepto where concepto_Clave = ?"),
        {clave});
    if (rs.eof() || (rs.value(0).toString() == tipo && rs.value(1).toString() == QLatin1String("-")))
        return true;
    return rechaza(campo,
                   QStringLiteral("La clave ") + clave +
                       QStringLiteral(" ya es un concepto de caja de otro tipo, no es posible usarla"));
}

void MovimientoCaja::aseguraConcepto(db::Connection &c, const QString &clave, const QString &nombre,
                                     const QString &tipo)
{
    if (c.scalar(QStringLiteral("select count(*) from tConcepto where concepto_Clave = ?"), {clave}).toInt() >
        0)
        return;
    c.execute(QStringLiteral("insert into tConcepto (concepto_Clave, concepto_Nombre, tconcepto_Clave, "
                             "concepto_Signo) values (?, ?, ?, '-')"),
              {clave, nombre.left(50), tipo});
}

std::optional<qint64> MovimientoCaja::registraConcepto(const QString &concepto, const QString &descripcion,
                                                       const QString &importe)
{
    m_campo = Campo::Ninguno;
    if (m_almacen.isEmpty() && !validaCorte())
        return std::nullopt;
    try {
        const QList<Concepto> lista = conceptos();
        const auto it = std::find_if(lista.cbegin(), lista.cend(),
                                     [&](const Concepto &c) { return c.clave == concepto; });
        if (concepto.trimmed().isEmpty() || it == lista.cend()) {
            rechaza(Campo::Concepto, kSinConcepto);
            return std::nullopt;
        }
        if (descripcion.trimmed().isEmpty()) {
            rechaza(Campo::Descripcion, kSinDescripcion);
            return std::nullopt;
        }
        const auto monto = leeImporte(importe);
        if (!monto || !m_prompter.question(kConfirma, true))
            return std::nullopt;
        return escribe({}, concepto, descripcion.trimmed().left(100), *monto);
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("MovimientoCaja.registraConcepto: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical,
                                   QStringLiteral("No fue posible registrar el movimiento"), e.description());
        return std::nullopt;
    }
}

std::optional<qint64> MovimientoCaja::registraPagoFactura(const QString &proveedor, const QString &factura,
                                                          const QString &importe)
{
    m_campo = Campo::Ninguno;
    if (m_almacen.isEmpty() && !validaCorte())
        return std::nullopt;
    try {
        db::Connection &c = m_connections.getConnection();
        const QVariant nombreProveedor = c.scalar(
            QStringLiteral("select prov_Nombre from tProveedor where prov_Clave = ?"), {proveedor.trimmed()});
        if (proveedor.trimmed().isEmpty() || !nombreProveedor.isValid() || nombreProveedor.isNull()) {
            rechaza(Campo::Proveedor, kSinProveedor);
            return std::nullopt;
        }
        const QString prov = proveedor.trimmed();
        const QString fact = factura.trimmed();
        const auto f = leeFactura(c, m_almacen, prov, fact);
        if (!f) {
            rechaza(Campo::Factura, kFacturaNoRegistrada);
            return std::nullopt;
        }
        if (f->estado == QLatin1String("CANCELADA")) {
            rechaza(Campo::Factura, cancelada(fact));
            return std::nullopt;
        }
        if (f->estado == QLatin1String("PAGADA")) {
            rechaza(Campo::Factura, pagada(fact));
            return std::nullopt;
        }
        const auto monto = leeImporte(importe);
        if (!monto)
            return std::nullopt;
        if (*monto > f->porPagar()) {
            rechaza(Campo::Importe, kExcede + fact);
            return std::nullopt;
        }
        if (!conceptoUsable(prov, QStringLiteral("FACTURA"), Campo::Proveedor) ||
            !m_prompter.question(kConfirma, true))
            return std::nullopt;
        const QString nombre = nombreProveedor.toString();
        const auto antes = [&](db::Connection &c) {
            aseguraConcepto(c, prov, nombre, QStringLiteral("FACTURA"));
            const QDate hoy = c.scalar(QStringLiteral("select getdate()")).toDateTime().date();
            const qint64 pago = Secuencias::folioConAnio(
                hoy, Secuencias::getNextSequence(
                         c, Secuencias::clave(Secuencias::Documento::Pago, m_almacen, hoy)));
            c.execute(QStringLiteral(
                          "insert into TPAGO (alm_Clave, pago_Clave, tpago_Clave, vpago_Importe, prov_Clave) "
                          "values (?, ?, 'EFECTIVO', ?, ?)"),
                      {m_almacen, pago, monto->toQVariant(), prov});
            c.execute(
                QStringLiteral("insert into tFacturaPago (alm_Clave, prov_Clave, fact_Clave, pago_Clave, "
                               "fpag_Importe, fpag_Fecha, usu_Clave) values (?, ?, ?, ?, ?, getdate(), ?)"),
                {m_almacen, prov, fact, pago, monto->toQVariant(),
                 m_config.getString(QStringLiteral("USUARIO"))});
            // Checked again under the row's lock: another station may have paid it meanwhile. The
            // amount is cast: SQLite compares a number with bound text as text.
            const int n = c.execute(
                QStringLiteral(
                    "update tFactura set fact_Pago = coalesce(fact_Pago, 0) + ?, fact_FecPago = getdate(), "
                    "edof_Clave = case when fact_Total - (coalesce(fact_Pago, 0) + ?) < 0.01 then 'PAGADA' "
                    "else 'PAGO_PARCIAL' end where alm_Clave = ? and prov_Clave = ? and fact_Clave = ? and "
                    "edof_Clave not in ('PAGADA', 'CANCELADA') and fact_Total - coalesce(fact_Pago, 0) >= "
                    "cast(? as numeric(18,6))"),
                {monto->toQVariant(), monto->toQVariant(), m_almacen, prov, fact, monto->toQVariant()});
            if (n != 1)
                throw Rechazo{kExcede + fact, Campo::Importe};
        };
        return escribe(antes, prov, QString(QStringLiteral("FACTURA ") + fact + u' ' + nombre).left(100),
                       *monto);
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("MovimientoCaja.registraPagoFactura: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical,
                                   QStringLiteral("No fue posible registrar el movimiento"), e.description());
        return std::nullopt;
    }
}

std::optional<qint64> MovimientoCaja::registraDeposito(const QString &cuenta, const QString &importe)
{
    m_campo = Campo::Ninguno;
    if (m_almacen.isEmpty() && !validaCorte())
        return std::nullopt;
    try {
        const QString ctab = cuenta.trimmed();
        const QList<Cuenta> lista = cuentas();
        const auto it =
            std::find_if(lista.cbegin(), lista.cend(), [&](const Cuenta &c) { return c.clave == ctab; });
        if (ctab.isEmpty() || it == lista.cend()) {
            rechaza(Campo::Cuenta, kSinCuenta);
            return std::nullopt;
        }
        const auto monto = leeImporte(importe);
        if (!monto || !conceptoUsable(ctab, QStringLiteral("TESORERIA"), Campo::Cuenta) ||
            !m_prompter.question(kConfirma, true))
            return std::nullopt;
        const QString banco = it->banco;
        const auto antes = [&](db::Connection &c) {
            aseguraConcepto(c, ctab, QStringLiteral("DEPOSITO ") + banco + u' ' + ctab,
                            QStringLiteral("TESORERIA"));
            const qint64 numero = Secuencias::getNextSequence(
                c, Secuencias::clave(Secuencias::Documento::CuentaBancaria, {}, {}, ctab));
            c.execute(
                QStringLiteral("update tCuentaBancaria set ctab_Saldo = ctab_Saldo + ? where ctab_Clave = ?"),
                {monto->toQVariant(), ctab});
            const QVariant saldo = c.scalar(
                QStringLiteral("select ctab_Saldo from tCuentaBancaria where ctab_Clave = ?"), {ctab});
            const QVariant tipo = c.scalar(QStringLiteral(
                "select tmovcb_Nombre from tTipoMovCuentaBancaria where tmovcb_Clave = 'DEPOSITO'"));
            c.execute(QStringLiteral(
                          "insert into tMovCuentaBancaria (ctab_Clave, movcb_Clave, tmovcb_Clave, "
                          "tmovcb_Nombre, movcb_Beneficiario, movcb_Importe, movcb_Fecha, usu_Clave, "
                          "movcb_Saldo, emovcb_Clave, movcb_FecApl, alm_Clave) values (?, ?, 'DEPOSITO', ?, "
                          "?, ?, getdate(), ?, ?, 'APLICADO', getdate(), ?)"),
                      {ctab, numero, tipo.isNull() ? QVariant(QStringLiteral("DEPOSITO")) : tipo,
                       QStringLiteral("CORTE DE CAJA ") + Corte::codigo(m_corte), monto->toQVariant(),
                       m_config.getString(QStringLiteral("USUARIO")), saldo, m_almacen});
        };
        return escribe(antes, ctab, QStringLiteral("DEPOSITO A CUENTA ") + ctab, *monto);
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("MovimientoCaja.registraDeposito: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical,
                                   QStringLiteral("No fue posible registrar el movimiento"), e.description());
        return std::nullopt;
    }
}

std::optional<qint64> MovimientoCaja::escribe(const std::function<void(db::Connection &)> &antes,
                                              const QString &concepto, const QString &nombre,
                                              const Decimal &importe)
{
    cMovCaja::Datos d;
    try {
        db::Connection &c = m_connections.getConnection();
        db::Transaction t(c);
        if (!Corte::bloqueaAbierto(c, m_almacen, m_corte))
            throw Rechazo{Corte::kCorteInvalido};
        if (antes)
            antes(c);
        d.movimiento = Secuencias::getNextSequence(
            c, Secuencias::clave(Secuencias::Documento::MovCaja, m_almacen, {}, Corte::codigo(m_corte)));
        d.usuario = m_config.getString(QStringLiteral("USUARIO"));
        c.execute(QStringLiteral(
                      "insert into tMovCaja (alm_Clave, term_Clave, corte_Anio, corte_Numero, movc_Clave, "
                      "concepto_Clave, concepto_Nombre, movc_Importe, movc_Fecha, usu_Clave) "
                      "values (?, ?, ?, ?, ?, ?, ?, ?, getdate(), ?)"),
                  {m_almacen, m_corte.terminal, m_corte.anio, m_corte.numero, d.movimiento, concepto, nombre,
                   importe.toQVariant(), d.usuario});
        d.fecha = c.scalar(QStringLiteral(
                               "select movc_Fecha from tMovCaja where alm_Clave = ? and term_Clave = ? and "
                               "corte_Anio = ? and corte_Numero = ? and movc_Clave = ?"),
                           {m_almacen, m_corte.terminal, m_corte.anio, m_corte.numero, d.movimiento})
                      .toDateTime();
        t.commit();
    } catch (const Rechazo &r) {
        rechaza(r.campo, r.texto);
        return std::nullopt;
    } catch (const db::DbError &e) {
        writeLog(QStringLiteral("MovimientoCaja.escribe: ") + e.description());
        m_prompter.detailedMessage(Prompter::Icon::Critical,
                                   QStringLiteral("No fue posible registrar el movimiento"), e.description());
        return std::nullopt;
    }
    d.almacen = m_almacen;
    d.terminal = m_corte.terminal;
    d.corteAnio = m_corte.anio;
    d.corteNumero = m_corte.numero;
    d.concepto = concepto;
    d.conceptoNombre = nombre;
    d.importe = importe;
    m_ultimo = std::make_unique<cMovCaja>();
    m_ultimo->load(d);
    despues(d.movimiento);
    return d.movimiento;
}

void MovimientoCaja::despues(qint64)
{
    // The movement is written: a printer that fails or a script that errs does not undo it.
    if (m_config.getBool(QStringLiteral("IMPRIME-MOVIMIENTO-DE-CAJA"))) {
        do {
            if (m_code && m_code->Search(QStringLiteral("OnMovOfBox")) && m_code->Activo())
                m_code->runEvent(
                    QStringLiteral("OnMovOfBox"),
                    {{QStringLiteral("xMovimiento"), QVariant::fromValue<QObject *>(m_ultimo.get())}});
            else if (m_imprime)
                m_imprime(*m_ultimo);
        } while (m_config.getBool(QStringLiteral("PREGUNTA-REIMPRESION")) &&
                 m_prompter.question(kReimprime, false));
    }
    m_otro = m_prompter.question(kOtroMovimiento, false);
}
