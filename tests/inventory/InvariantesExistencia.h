#pragma once

// What every stock test checks afterwards, on any database: each (warehouse, article, lot) row
// holds the sum of its kardex quantities, each kardex row's "stock after" is the running sum of
// its row, no kardex row lacks its stock row, and art_Existencia is the sum over warehouses.
// Returns the first broken rule, or an empty text.
#include "Connection.h"
#include "Decimal.h"

#include <QMap>
#include <QString>
#include <QStringList>

inline QString invariantesExistencia(db::Connection &c)
{
    QMap<QString, Decimal> kardex;
    for (db::Recordset rs = c.openRecordset(QStringLiteral(
             "select ALM_CLAVE, art_Clave, alma_Clave, kar_Cantidad, alma_Existencia, kar_Clave "
             "from tArticuloKardex order by kar_Clave"));
         !rs.eof(); rs.moveNext()) {
        const QString key = rs.text(QStringLiteral("ALM_CLAVE")) + u'|' +
                            rs.text(QStringLiteral("art_Clave")) + u'|' +
                            rs.text(QStringLiteral("alma_Clave"));
        Decimal &suma = kardex[key];
        suma += rs.decimal(QStringLiteral("kar_Cantidad"));
        if (suma != rs.decimal(QStringLiteral("alma_Existencia")))
            return QStringLiteral("kardex %1 de %2: existencia posterior %3, suma %4")
                .arg(rs.integer(QStringLiteral("kar_Clave")))
                .arg(key, rs.decimal(QStringLiteral("alma_Existencia")).toString(), suma.toString());
    }
    QMap<QString, Decimal> porArticulo;
    for (db::Recordset rs = c.openRecordset(QStringLiteral(
             "select alm_Clave, art_Clave, alma_Clave, alma_Existencia from tArticuloAlmacen"));
         !rs.eof(); rs.moveNext()) {
        const QString key = rs.text(QStringLiteral("alm_Clave")) + u'|' +
                            rs.text(QStringLiteral("art_Clave")) + u'|' +
                            rs.text(QStringLiteral("alma_Clave"));
        const Decimal existencia = rs.decimal(QStringLiteral("alma_Existencia"));
        if (existencia != kardex.value(key))
            return QStringLiteral("%1: existencia %2, kardex %3")
                .arg(key, existencia.toString(), kardex.value(key).toString());
        kardex.remove(key);
        porArticulo[rs.text(QStringLiteral("art_Clave"))] += existencia;
    }
    if (!kardex.isEmpty())
        return QStringLiteral("kardex sin fila de existencia: ") + kardex.firstKey();
    for (db::Recordset rs =
             c.openRecordset(QStringLiteral("select art_Clave, art_Existencia from tArticulo"));
         !rs.eof(); rs.moveNext()) {
        const QString art = rs.text(QStringLiteral("art_Clave"));
        if (rs.decimal(QStringLiteral("art_Existencia")) != porArticulo.value(art))
            return QStringLiteral("%1: art_Existencia %2, suma de almacenes %3")
                .arg(art, rs.decimal(QStringLiteral("art_Existencia")).toString(),
                     porArticulo.value(art).toString());
    }
    return {};
}

// The stock rows as "warehouse|article|lot=stock", sorted.
inline QStringList filasExistencia(db::Connection &c)
{
    QStringList out;
    for (db::Recordset rs = c.openRecordset(QStringLiteral(
             "select alm_Clave, art_Clave, alma_Clave, alma_Existencia from tArticuloAlmacen"));
         !rs.eof(); rs.moveNext())
        out << rs.text(QStringLiteral("alm_Clave")) + u'|' + rs.text(QStringLiteral("art_Clave")) + u'|' +
                   rs.text(QStringLiteral("alma_Clave")) + u'=' +
                   rs.decimal(QStringLiteral("alma_Existencia")).toString();
    out.sort();
    return out;
}

#define MDR_VERIFICA_INVARIANTES(conn)                                                                       \
    do {                                                                                                     \
        const QString roto_ = invariantesExistencia(conn);                                                   \
        QVERIFY2(roto_.isEmpty(), qPrintable(roto_));                                                        \
    } while (false)
