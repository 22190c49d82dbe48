#include "Venta.h"

QString PagoVenta::texto() const
{
    return QStringList{tipo,         importe.toString(),
                       banco,        cheque,
                       tarjeta,      folioTarjeta,
                       moneda,       importeMoneda.toString(),
                       tipoCambio.toString(), referencia,
                       referenciaAdic}
        .join(u'\t');
}

PagoVenta PagoVenta::deTexto(const QString &texto, bool *ok)
{
    const QStringList f = texto.split(u'\t');
    const auto campo = [&f](int i) { return i < f.size() ? f.at(i) : QString(); };
    bool todos = true;
    const auto numero = [&](int i) {
        const QString t = campo(i).trimmed();
        if (t.isEmpty())
            return Decimal();
        bool bien = false;
        const Decimal d = Decimal::fromString(t, &bien);
        todos = todos && bien;
        return d;
    };
    PagoVenta p;
    p.tipo = campo(0);
    p.importe = numero(1);
    p.banco = campo(2);
    p.cheque = campo(3);
    p.tarjeta = campo(4);
    p.folioTarjeta = campo(5);
    p.moneda = campo(6);
    p.importeMoneda = numero(7);
    p.tipoCambio = numero(8);
    p.referencia = campo(9);
    p.referenciaAdic = campo(10);
    if (ok)
        *ok = todos;
    return p;
}

QString PagoVenta::estadoInicial(const QString &tipo)
{
    if (tipo == QLatin1String("EFECTIVO") || tipo == QLatin1String("EXTRANJERA"))
        return QStringLiteral("PAGADO");
    if (tipo == QLatin1String("CREDITO"))
        return QStringLiteral("COBRANZA");
    return QStringLiteral("REGISTRADO");
}
