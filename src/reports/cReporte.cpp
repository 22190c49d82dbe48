#include "cReporte.h"

namespace {

cReporte::Ejecutor &ejecutor()
{
    static cReporte::Ejecutor e;
    return e;
}

} // namespace

cReporte::cReporte(QObject *parent) : QObject(parent) {}

void cReporte::setEjecutor(Ejecutor e)
{
    ejecutor() = std::move(e);
}

void cReporte::addParam(const QString &clave, const QVariant &valor, const QVariant &valorExtra)
{
    const QString nombre = clave.trimmed();
    for (Valor &v : m_parametros)
        if (v.clave.compare(nombre, Qt::CaseInsensitive) == 0) {
            v.valor = valor;
            v.valorExtra = valorExtra;
            return;
        }
    m_parametros << Valor{nombre, valor, valorExtra};
}

bool cReporte::execute()
{
    const Ejecutor &e = ejecutor();
    return e ? e(*this) : false;
}
