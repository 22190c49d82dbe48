#include "PlazoCredito.h"

#include "Log.h"

#include "Connection.h"

std::optional<QDateTime> PlazoCredito::sumaIntervalo(const QDateTime &desde, const QString &parte,
                                                     int cantidad)
{
    const QString p = parte.trimmed().toLower();
    const auto es = [&p](std::initializer_list<const char *> palabras) {
        for (const char *w : palabras)
            if (p == QLatin1String(w))
                return true;
        return false;
    };
    if (es({"yy", "yyyy", "year"}))
        return desde.addYears(cantidad);
    if (es({"q", "qq", "quarter"}))
        return desde.addMonths(3 * cantidad);
    if (es({"m", "mm", "month"}))
        return desde.addMonths(cantidad);
    if (es({"d", "dd", "day", "dy", "y", "dayofyear"}))
        return desde.addDays(cantidad);
    if (es({"wk", "ww", "week"}))
        return desde.addDays(7LL * cantidad);
    if (es({"hh", "hour"}))
        return desde.addSecs(3600LL * cantidad);
    return std::nullopt;
}

QDateTime PlazoCredito::vencimiento(db::Connection &c, const QString &cliente, const QDateTime &fecha)
{
    db::Recordset rs = c.openRecordset(
        QStringLiteral(
            "select c.cli_Periodo, p.per_IntervaloSQL from tCliente c join tPeriodo p on p.per_Clave = "
            "c.per_Clave where c.cli_Clave = ? and p.per_Credito = 'S'"),
        {cliente});
    if (!rs.eof()) {
        const QString parte = rs.text(QStringLiteral("per_IntervaloSQL"));
        if (const auto v = sumaIntervalo(fecha, parte, int(rs.integer(QStringLiteral("cli_Periodo")))))
            return *v;
        writeLog(QStringLiteral("PlazoCredito: el periodo del cliente ") + cliente +
                 QStringLiteral(" dice '") + parte +
                 QStringLiteral("', que no es una parte de fecha; vence en un mes"));
    }
    return fecha.addMonths(1);
}
