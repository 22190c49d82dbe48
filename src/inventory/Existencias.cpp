#include "Existencias.h"

#include "Connection.h"
#include "ConnectionProvider.h"
#include "Log.h"
#include "Prompter.h"
#include "Transaction.h"
#include "cConfigure.h"

#include <QRegularExpression>
#include <QVariantMap>

#include <optional>

bool Existencias::esRechazo(const QString &textoDeError)
{
    // The messages the routine raises on both engines; anything else (a lost connection, a lock,
    // a failed statement) is a database failure.
    static const QRegularExpression rechazo(
        QStringLiteral("^(?:Requiere capturar el Lote|Capture la serie|"
                       "La cantidad solo puede ser uno|La Serie ya existe|El articulo .+ no existe|"
                       "El ensamble .+ se contiene a si mismo|La serie no existe|"
                       "La Serie no esta disponible|El Lote no existe|El Lote no tiene existencia suficiente|"
                       "El producto .+ No tiene existencia suficiente|Falta el almacen|"
                       "La cantidad debe ser mayor que cero|El tipo de movimiento debe ser E o S)"));
    return rechazo.match(textoDeRechazo(textoDeError)).hasMatch();
}

QString Existencias::textoDeRechazo(const QString &textoDeError)
{
    QString t = textoDeError.section(u'\n', 0, 0).trimmed();
    if (t.startsWith(QLatin1String("ERROR:")))
        t = t.mid(6).trimmed();
    return t;
}

Existencias::Existencias(ConnectionProvider &connections, cConfigure &config, Prompter &prompter)
    : m_connections(connections), m_config(config), m_prompter(prompter)
{
}

bool Existencias::actualizaArticuloAlmacen(const QString &almacen, const QString &articulo,
                                           const QString &loteSerie, const Decimal &cantidad,
                                           const QString &tipo, const QString &origen,
                                           const QString &proveedor, const QString &factura,
                                           const Decimal &costo, bool verificaSeparar, bool verificaAcumular,
                                           bool verificaEnsamble, db::Connection *conexion)
{
    m_error.clear();
    m_detalle.clear();
    m_existencia = Decimal();
    const auto sn = [](bool b) { return b ? QStringLiteral("S") : QStringLiteral("N"); };
    try {
        db::Connection &c = conexion ? *conexion : m_connections.getConnection();
        // Inside a document's transaction the call is a savepoint: a refused exit leaves the
        // document's transaction usable (PostgreSQL would otherwise abort it whole).
        std::optional<db::Transaction> punto;
        if (c.transactionDepth() > 0)
            punto.emplace(c);
        // Named, in the routine's order; the first flag keeps its historical spelling.
        const QVariantMap out = c.callRoutine(
            QStringLiteral("sp_actualizaArticuloAlmacen"),
            {{QStringLiteral("@ALMACEN"), almacen},
             {QStringLiteral("@ARTICULO"), articulo},
             {QStringLiteral("@LOTESERIE"), loteSerie},
             {QStringLiteral("@CANTIDAD"), cantidad.toQVariant()},
             {QStringLiteral("@TIPO"), tipo},
             {QStringLiteral("@ORIGEN"), origen},
             {QStringLiteral("@PROVEEDOR"), proveedor},
             {QStringLiteral("@FACTURA"), factura},
             {QStringLiteral("@COSTO"), costo.toQVariant()},
             {QStringLiteral("@VERFICASEPARAR"), sn(verificaSeparar)},
             {QStringLiteral("@VERIFICAACUMULAR"), sn(verificaAcumular)},
             {QStringLiteral("@VERIFICAENSAMBLE"), sn(verificaEnsamble)},
             {QStringLiteral("@USUARIO"), m_config.getValue(QStringLiteral("USUARIO")).toString()}});
        if (punto)
            punto->commit();
        m_existencia = Decimal::fromVariant(out.value(QStringLiteral("existencia")));
        return true;
    } catch (const db::DbError &e) {
        m_error = e.description();
    } catch (const std::exception &e) {
        m_error = QString::fromUtf8(e.what());
    }
    if (esRechazo(m_error)) {
        // As the user reads it: without the server's "ERROR:" and context lines.
        m_error = textoDeRechazo(m_error);
    } else {
        m_detalle = m_error;
        m_error = QStringLiteral("No fue posible actualizar la existencia del articulo ") + articulo;
        writeLog(QStringLiteral("Existencias.actualizaArticuloAlmacen: ") + m_error + QStringLiteral(": ") +
                 m_detalle);
    }
    return false;
}

bool Existencias::validaLoteSerie(const QString &texto, const QString &control, bool mensaje)
{
    if (!texto.trimmed().isEmpty())
        return true;
    if (control == QLatin1String("LOTE")) {
        if (mensaje)
            m_prompter.exclamation(QStringLiteral("Requiere capturar el Lote"));
        return false;
    }
    if (control == QLatin1String("SERIE")) {
        if (mensaje)
            m_prompter.information(QStringLiteral("Capture la serie"));
        return false;
    }
    // NINGUNO, LIBRE, EXISTENCIA and an empty kind take no lot.
    return true;
}
