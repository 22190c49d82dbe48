#include "RangoImpresion.h"

bool RangoImpresion::lee(const QString &copias, const QString &desde, const QString &hasta, bool todas,
                         RangoImpresion &rango, QString *mensaje, Campo *campo)
{
    const auto falla = [&](const QString &texto, Campo c) {
        if (mensaje)
            *mensaje = texto;
        if (campo)
            *campo = c;
        return false;
    };
    const auto numero = [](const QString &text, int &out) {
        bool ok = false;
        out = text.trimmed().toInt(&ok);
        return ok && out > 0;
    };
    RangoImpresion r;
    r.todas = todas;
    if (!numero(copias, r.copias))
        return falla(QStringLiteral("Debe capturar un numero"), Campo::Copias);
    if (!todas) {
        if (!numero(desde, r.desde))
            return falla(QStringLiteral("Debe capturar un numero"), Campo::Desde);
        if (!numero(hasta, r.hasta))
            return falla(QStringLiteral("Debe capturar un numero"), Campo::Hasta);
        if (r.desde > r.hasta)
            return falla(QStringLiteral("La página de inicio debe ser menor a la pagina final"),
                         Campo::Desde);
    }
    rango = r;
    return true;
}
