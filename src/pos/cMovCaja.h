#pragma once

#include "Decimal.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

// One cash movement as event scripts ("xMovimiento", at "OnMovOfBox") and the printer read it;
// xFactory.create("newcMovCaja").loadData(terminal, year, cut, movement) reads any other.
class cMovCaja : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Almacen READ almacen)
    Q_PROPERTY(QString Terminal READ terminal)
    Q_PROPERTY(int CorteAnio READ corteAnio)
    Q_PROPERTY(int CorteNumero READ corteNumero)
    Q_PROPERTY(int Movimiento READ movimiento)
    Q_PROPERTY(QString Concepto READ concepto)
    Q_PROPERTY(QString ConceptoNombre READ conceptoNombre)
    Q_PROPERTY(QVariant Importe READ importe)
    Q_PROPERTY(QDateTime Fecha READ fecha)
    Q_PROPERTY(QString Usuario READ usuario)
    Q_PROPERTY(bool isLoad READ isLoad)
public:
    struct Datos {
        QString almacen, terminal;
        int corteAnio = 0, corteNumero = 0;
        qint64 movimiento = 0;
        QString concepto, conceptoNombre;
        Decimal importe;
        QDateTime fecha;
        QString usuario;
    };
    // Reads a movement of the warehouse for loadData.
    using Lector =
        std::function<std::optional<Datos>(const QString &terminal, int anio, int numero, qint64 mov)>;

    explicit cMovCaja(QObject *parent = nullptr);

    void load(const Datos &datos);
    void setLector(Lector lector) { m_lector = std::move(lector); }
    const Datos &datos() const { return m_d; }
    // The cut code the receipt heads with: terminal-year-number.
    QString codigoCorte() const;

    // Loads a movement of a cut of the warehouse; False when there is none.
    Q_INVOKABLE bool loadData(const QString &terminal, int anio, int numero, int movimiento);

    QString almacen() const { return m_d.almacen; }
    QString terminal() const { return m_d.terminal; }
    int corteAnio() const { return m_d.corteAnio; }
    int corteNumero() const { return m_d.corteNumero; }
    int movimiento() const { return int(m_d.movimiento); }
    QString concepto() const { return m_d.concepto; }
    QString conceptoNombre() const { return m_d.conceptoNombre; }
    QVariant importe() const;
    QDateTime fecha() const { return m_d.fecha; }
    QString usuario() const { return m_d.usuario; }
    bool isLoad() const { return m_loaded; }

private:
    Datos m_d;
    Lector m_lector;
    bool m_loaded = false;
};
