#pragma once

// The receipt printer of the printing tests: direct output to a file (drawer and cut to the same
// file, so their bytes land where a printer would get them), a fixed clock, the store's header
// and footer in tParametro, and golden files for what it prints.
#include "EstacionPrueba.h"
#include "cString.h"
#include "cTicketPrinter.h"

#include "Connection.h"

#include <QDir>
#include <QFile>
#include <QTest>

inline QDateTime relojTicket()
{
    return QDateTime(QDate(2026, 3, 5), QTime(14, 7, 33));
}

inline void encabezadosTicket(db::Connection &c)
{
    c.execute(QStringLiteral(
        "insert into tParametro (param_Tipo, param_Clave, param_Nombre, param_Valor) values "
        "('RECINICIO', '02', 'Domicilio', '  AV. JUÁREZ 123, GUADALAJARA'), "
        "('RECINICIO', '01', 'Nombre', '    FARMACIA SAN JOSÉ, S.A.'), "
        "('RECINICIO', '03', 'RFC', '      RFC FSJ010101AB1'), "
        "('RECFIN', '01', 'Gracias', '    GRACIAS POR SU COMPRA'), "
        "('RECFIN', '02', 'Conserve', '  CONSERVE SU TICKET: NO HAY'), "
        "('RECFIN', '03', 'Cambios', '  CAMBIOS SIN ÉL'), "
        "('VPENDINI', '01', 'Pendiente', '      FARMACIA SAN JOSÉ'), "
        "('VPENDFIN', '01', 'Pendiente', '  PRESENTE ESTE TICKET EN CAJA')"));
}

// Direct output of receipts to archivo, the note to archivoNota, drawer and cut configured.
inline void configuraImpresora(cConfigure &config, const QString &archivo, const QString &archivoNota)
{
    config.setValue(QStringLiteral("TERMINAL"), QStringLiteral("CAJA1"));
    config.setValue(QStringLiteral("USUARIO"), QStringLiteral("CAJERO"));
    config.setValue(QStringLiteral("FORMATO-FECHA-CLIENTE"), QStringLiteral("dd/mm/yyyy"));
    config.setValue(QStringLiteral("IMPRESORA-EN-LINEA"), true);
    config.setValue(QStringLiteral("IMPRESORA-DIRECTO-A-PUERTO"), true);
    config.setValue(QStringLiteral("IMPRESORA-PUERTO"), archivo);
    config.setValue(QStringLiteral("IMPRIME-ABRE-CAJON"), true);
    config.setValue(QStringLiteral("PUERTO-APERTURA-CAJON"), archivo);
    config.setValue(QStringLiteral("IMPRIME-CODIGOS-CAJON"), QStringLiteral("27,112,48,25,250,"));
    config.setValue(QStringLiteral("IMPRIME-CORTE-DE-PAGINA"), true);
    config.setValue(QStringLiteral("PUERTO-CORTE-DE-PAGINA"), archivo);
    config.setValue(QStringLiteral("IMPRIME-CODIGOS-CORTE"), QStringLiteral("29,86,66,0,"));
    config.traducir();
    config.setValue(QStringLiteral("IMPRIMIR-CODIGO-DE-BARRAS"), true);
    config.setValue(QStringLiteral("IMPRIME-IMPORTE-EN-LETRAS"), true);
    config.setValue(QStringLiteral("IMPRESORA-NOTA-EN-LINEA"), true);
    config.setValue(QStringLiteral("IMPRESORA-NOTA-DIRECTO-A-PUERTO"), true);
    config.setValue(QStringLiteral("IMPRESORA-NOTA-PUERTO"), archivoNota);
    config.setValue(QStringLiteral("PREGUNTA-REIMPRESION"), false);
    config.setValue(QStringLiteral("IMPRESORA-NOTA-PREGUNTA-REIMPRESION"), false);
}

inline QByteArray leeArchivo(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Compares with tests/data/tickets/<nombre>.bin (the bytes) and .txt (the lines); with
// MDR_REGENERA_TICKETS set the files are written instead, to be read and committed on purpose.
inline bool comparaGolden(const QString &nombre, const QByteArray &bytes, const QString &texto)
{
    const QString dir = qEnvironmentVariable("MDR_TEST_DATA") + QStringLiteral("/tickets/");
    if (qEnvironmentVariableIsSet("MDR_REGENERA_TICKETS")) {
        QDir().mkpath(dir);
        QFile b(dir + nombre + QStringLiteral(".bin"));
        QFile t(dir + nombre + QStringLiteral(".txt"));
        return b.open(QIODevice::WriteOnly) && b.write(bytes) == bytes.size() && t.open(QIODevice::WriteOnly) &&
               t.write(texto.toUtf8()) >= 0;
    }
    const QByteArray esperadoBytes = leeArchivo(dir + nombre + QStringLiteral(".bin"));
    const QString esperadoTexto = QString::fromUtf8(leeArchivo(dir + nombre + QStringLiteral(".txt")));
    if (!QTest::qCompare(texto, esperadoTexto, "texto", "golden .txt", __FILE__, __LINE__))
        return false;
    return QTest::qCompare(bytes, esperadoBytes, "bytes", "golden .bin", __FILE__, __LINE__);
}
