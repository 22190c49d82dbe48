#include "cCorte.h"

#include "cMovCaja.h"

#include "ConnectionProvider.h"
#include "cConfigure.h"
#include "cObjectFactory.h"

#include "Connection.h"
#include "DbError.h"
#include "Engine.h"

const QString cCorte::kFueraMovimiento = QStringLiteral("Fuera del limite de movimiento de corte");
const QString cCorte::kFueraArqueo = QStringLiteral("Fuera del limite de arqueo");
const QString cCorte::kFueraPagos = QStringLiteral("Fuera del limite de Pagos");

namespace {

// "Subscript out of range", with the cut's own words.
[[noreturn]] void fuera(const QString &texto)
{
    vbs::raiseText(9, texto);
}

} // namespace

cCorte::cCorte(QObject *parent) : QObject(parent) {}

void cCorte::load(const ResumenCorte &resumen)
{
    m_r = resumen;
    m_loaded = true;
}

bool cCorte::loadData(const QString &terminal, int anio, int numero)
{
    if (!m_lector)
        return false;
    const auto r = m_lector(Corte::Clave{terminal, anio, numero});
    if (!r)
        return false;
    load(*r);
    return true;
}

QVariant cCorte::Movimiento(int renglon, int columna) const
{
    if (renglon < 0 || renglon >= m_r.movimientos.size() || columna < 0 || columna >= kMovCols)
        fuera(kFueraMovimiento);
    const MovimientoResumen &m = m_r.movimientos.at(renglon);
    switch (columna) {
    case 0:
        return m.numero;
    case 1:
        return m.concepto;
    case 2:
        return m.nombre;
    case 3:
        return m.ingreso ? QStringLiteral("INGRESO") : QStringLiteral("GASTO");
    case 4:
        return moneda(m.importe);
    default:
        return m.documentos < 0 ? QVariant() : QVariant(m.documentos);
    }
}

QVariant cCorte::Arqueo(int renglon, int columna) const
{
    if (renglon < 0 || renglon >= m_r.arqueo.size() || columna < 0 || columna >= kArqueoCols)
        fuera(kFueraArqueo);
    const ArqueoFila &a = m_r.arqueo.at(renglon);
    switch (columna) {
    case 0:
        return a.clave;
    case 1:
        return moneda(a.valor);
    case 2:
        return a.nombre;
    case 3:
        return a.cantidad;
    default:
        return moneda(a.subtotal());
    }
}

QString cCorte::PagosRecibidos(int i) const
{
    if (i < 0 || i >= m_r.pagos.size())
        fuera(kFueraPagos);
    const PagoRecibido &p = m_r.pagos.at(i);
    return p.tipo + u'\t' + p.nombre + u'\t' + p.importe.toString(2);
}

QVariant cCorte::moneda(const Decimal &d)
{
    // Currency keeps four places: millionths / 100, rounded as "0.0000" would.
    return QVariant::fromValue(vbs::Value::currencyRaw(d.round(4).raw() / 100));
}

void registraScriptsCorte(cObjectFactory &factory, ConnectionProvider &connections, cConfigure &config)
{
    // A failed read is a script error with the database's text, not a silent False.
    factory.registerClass(QStringLiteral("newcCorte"), [&connections, &config] {
        auto *c = new cCorte();
        c->setLector([&connections, &config](const Corte::Clave &k) {
            try {
                return ResumenCorte::lee(connections.getConnection(),
                                         config.getString(QStringLiteral("ALMACEN")), k);
            } catch (const db::DbError &e) {
                vbs::raiseText(-2147217900, e.description());
            }
        });
        return c;
    });
    factory.registerClass(QStringLiteral("newcMovCaja"), [&connections, &config] {
        auto *m = new cMovCaja();
        m->setLector([&connections, &config](const QString &terminal, int anio, int numero,
                                             qint64 mov) -> std::optional<cMovCaja::Datos> {
            try {
                const QString almacen = config.getString(QStringLiteral("ALMACEN"));
                db::Recordset rs = connections.getConnection().openRecordset(
                    QStringLiteral(
                        "select concepto_Clave, concepto_Nombre, movc_Importe, movc_Fecha, usu_Clave "
                        "from tMovCaja where alm_Clave = ? and term_Clave = ? and corte_Anio = ? and "
                        "corte_Numero = ? and movc_Clave = ?"),
                    {almacen, terminal, anio, numero, mov});
                if (rs.eof())
                    return std::nullopt;
                return cMovCaja::Datos{almacen,
                                       terminal,
                                       anio,
                                       numero,
                                       mov,
                                       rs.value(0).toString(),
                                       rs.value(1).toString(),
                                       Decimal::fromVariant(rs.value(2)),
                                       rs.value(3).toDateTime(),
                                       rs.value(4).toString()};
            } catch (const db::DbError &e) {
                vbs::raiseText(-2147217900, e.description());
            }
        });
        return m;
    });
}
