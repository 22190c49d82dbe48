#pragma once

// The drawer of the cut tests, over the counter of PuestoVenta.h (warehouse A1, CAJA1 with its
// open cut 2, CAJA2 with its open cut 1, CAJA9 in A2): cash concepts of both signs, the peso's
// notes and coins down to the cent, a supplier with invoices and a bank account.
#include "PuestoVenta.h"

#include "Corte.h"
#include "CorteCierre.h"
#include "MovimientoCaja.h"
#include "Secuencias.h"

// filas with bound values.
inline QStringList filas(db::Connection &c, const QString &sql, const QVariantList &params)
{
    QStringList out;
    for (db::Recordset rs = c.openRecordset(sql, params); !rs.eof(); rs.moveNext()) {
        QStringList campos;
        for (int i = 0; i < rs.fieldCount(); ++i) {
            const QVariant v = rs.value(i);
            campos << (v.metaType() == QMetaType::fromType<Decimal>() ? Decimal::fromVariant(v).toString()
                                                                      : v.toString());
        }
        out << campos.join(u'|');
    }
    return out;
}

inline void creaCaja(db::Connection &c)
{
    c.execute(QStringLiteral(
        "insert into tConcepto (concepto_Clave, concepto_Nombre, tconcepto_Clave, concepto_Signo) values "
        "('FONDO', 'FONDO PARA CAMBIO', 'INGRESO', '+'), ('LUZ', 'PAGO DE LUZ', 'GASTO', '-'), "
        "('DEPOSITO_DIA', 'DEPOSITO DEL DIA', 'GASTO', '-')"));
    c.execute(QStringLiteral(
        "insert into tDenominacion (deno_Clave, deno_Valor, deno_Nombre) values ('B500', 500, 'Billete'), "
        "('B200', 200, 'Billete'), ('B100', 100, 'Billete'), ('B50', 50, 'Billete'), ('B20', 20, 'Billete'), "
        "('M10', 10, 'Moneda'), ('M5', 5, 'Moneda'), ('M1', 1, 'Moneda'), ('M050', 0.5, 'Moneda'), "
        "('M010', 0.1, 'Moneda'), ('M001', 0.01, 'Centavo')"));
    c.execute(QStringLiteral("insert into tPais (pais_Clave, pais_Nombre) values ('MEX', 'Mexico')"));
    c.execute(QStringLiteral(
        "insert into tEstado (pais_Clave, edo_Clave, edo_Nombre) values ('MEX', 'JAL', 'Jalisco')"));
    c.execute(
        QStringLiteral("insert into tProveedor (prov_Clave, prov_Nombre, pais_Clave, edo_Clave, tpag_Clave) "
                       "values ('P1', 'Distribuidora Farmaceutica del Occidente de Mexico, S.A. de C.V.', "
                       "'MEX', 'JAL', 'CREDITO'), ('P2', 'Lacteos', 'MEX', 'JAL', 'CREDITO'), "
                       "('PROVEEDOR-CLAVE-LARGA-01', 'Largo', 'MEX', 'JAL', 'CREDITO')"));
    c.execute(QStringLiteral("insert into tFactura (alm_Clave, prov_Clave, fact_Clave, fact_Fecha, "
                             "fact_Total, fact_Pago, edof_Clave) "
                             "values ('A1', 'P1', 'F-100', getdate(), 1160, null, 'AUTORIZADA'), "
                             "('A1', 'P1', 'F-101', getdate(), 300, 100, 'PAGO_PARCIAL'), "
                             "('A1', 'P1', 'F-102', getdate(), 50, 0, 'CANCELADA'), "
                             "('A1', 'P1', 'F-103', getdate(), 80, 80, 'PAGADA'), "
                             "('A2', 'P1', 'F-200', getdate(), 10, 0, 'REGISTRADA'), "
                             "('A1', 'PROVEEDOR-CLAVE-LARGA-01', 'F-300', getdate(), 10, 0, 'REGISTRADA')"));
    c.execute(
        QStringLiteral("insert into tBanco (banco_Clave, banco_Nombre) values ('BBVA', 'BBVA Mexico')"));
    c.execute(QStringLiteral("insert into tCuentaBancaria (ctab_Clave, banco_Clave, ctab_Saldo) values "
                             "('0123456789', 'BBVA', 1000)"));
}

// The initial amount of CAJA1's open cut, as the opening writes it.
inline void importeInicial(db::Connection &c, const char *importe)
{
    c.execute(QStringLiteral(
                  "insert into tMovCaja (alm_Clave, term_Clave, corte_Anio, corte_Numero, movc_Clave, "
                  "concepto_Clave, concepto_Nombre, movc_Importe, movc_Fecha, usu_Clave) values "
                  "('A1', 'CAJA1', ?, 2, 1, 'EFEC_APORTACION', 'IMPORTE INICIAL', ?, getdate(), 'ADMIN')"),
              {anioServidor(c), QString::fromLatin1(importe)});
    c.execute(QStringLiteral("insert into tSecuencia (sec_Clave, sec_Valor) values (?, 1)"),
              {QStringLiteral("MOV_CAJA_A1_CAJA1_%1_2").arg(anioServidor(c))});
}

// The counter of PuestoVenta.h with the drawer above; given an amount, CAJA1's cut opens with it.
inline void preparaCaja(db::Connection &c, const QString &settingsFile, const char *importe = nullptr)
{
    preparaMostrador(c, settingsFile);
    creaCaja(c);
    if (importe)
        importeInicial(c, importe);
}

// The state of CAJA1's cut 2 and everything its closing writes, to compare before and after.
inline QStringList estadoDelCorte(db::Connection &c)
{
    return filas(c, QStringLiteral(
                        "select ecorte_Clave, corte_Total, corte_Diferencia, usu_ClaveFin from TCORTE "
                        "where term_Clave = 'CAJA1' order by corte_Numero")) +
           filas(c, QStringLiteral(
                        "select movc_Clave, concepto_Clave, movc_Importe from tMovCaja order by term_Clave, "
                        "movc_Clave")) +
           filas(c, QStringLiteral("select tpago_Clave, cortetp_Importe from tCorteTipoPago")) +
           filas(c, QStringLiteral("select deno_Clave, carq_Cantidad from tCorteArqueo")) +
           filas(c, QStringLiteral("select sec_Clave, sec_Valor from tSecuencia order by sec_Clave"));
}
