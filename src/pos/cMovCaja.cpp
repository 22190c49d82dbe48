#include "cMovCaja.h"

#include "cCorte.h"

cMovCaja::cMovCaja(QObject *parent) : QObject(parent) {}

void cMovCaja::load(const Datos &datos)
{
    m_d = datos;
    m_loaded = true;
}

QString cMovCaja::codigoCorte() const
{
    return Corte::codigo(Corte::Clave{m_d.terminal, m_d.corteAnio, m_d.corteNumero});
}

bool cMovCaja::loadData(const QString &terminal, int anio, int numero, int movimiento)
{
    if (!m_lector)
        return false;
    const auto d = m_lector(terminal, anio, numero, movimiento);
    if (!d)
        return false;
    load(*d);
    return true;
}

QVariant cMovCaja::importe() const
{
    return cCorte::moneda(m_d.importe);
}
