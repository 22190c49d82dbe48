#pragma once

#include "Venta.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The sale being rung up, kept in a file of the workstation after every change, so that a crash
// or a power cut loses nothing: the next time the counter opens it offers the lines back. The
// file is replaced whole (written aside, then renamed over the old one), so a cut in the middle of
// a write leaves the previous copy, never half of one.
class RespaldoVenta {
public:
    struct Contenido {
        QString cliente;
        QString vendedor;
        QStringList pendientes; // held sales loaded into it (their keys)
        QList<LineaVenta> lineas;
        Decimal total; // the sale's total as last shown (client discount and rounding applied)
        QDateTime fecha;
    };

    explicit RespaldoVenta(QString archivo);

    const QString &archivo() const { return m_archivo; }
    // False when the file could not be written (logged; the sale goes on).
    bool guarda(const Contenido &contenido);
    // Nothing when there is no copy. A damaged file is set aside (renamed ".danado") and logged.
    std::optional<Contenido> lee();
    void borra();

private:
    QString m_archivo;
};
