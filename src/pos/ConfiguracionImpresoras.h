#pragma once

#include <QString>

class ImpresoraSistema;
class Prompter;
class VistaPrevia;
class cConfigure;
class cTicketPrinter;

// The rules of frmImpresora: the receipt, note and report printers as the configuration holds
// them, checked, tried with a test page and saved. A test prints with the values on screen
// (memory only); cancelling puts back what was loaded.
class ConfiguracionImpresoras {
public:
    enum class Impresora { Recibos, Nota, Reportes };

    // One printer of the counter (receipts or notes).
    struct Salida {
        bool enLinea = true;
        bool directo = true;
        QString puerto;       // device, file or host:port
        QString impresora;    // system printer name
        QString paginaCodigos = QStringLiteral("CP858");
        QString fuente;
        int tamanio = 10;
    };
    struct Valores {
        Salida recibos, nota;
        QString impresoraReportes;
        bool abreCajon = false;
        QString puertoCajon, codigosCajon; // "27,112,48,49,"
        bool cortePagina = false;
        QString puertoCorte, codigosCorte;
        int esperaRed = 3000;
    };

    ConfiguracionImpresoras(cConfigure &config, cTicketPrinter &impresora, Prompter &prompter);

    const Valores &valores() const { return m_valores; }
    void setValores(const Valores &v) { m_valores = v; }

    // Reads the values from the configuration and remembers them for cancelar.
    void carga();
    // Every field that must hold something (a port for a direct output, a code page the printer
    // knows, a control string of byte values); the refusal shown and its field kept.
    bool validaDatos();
    QString campoRechazado() const { return m_campo; }
    // Writes the values to the configuration in memory.
    void aplica();
    // Applies and saves them; false when the configuration could not be saved.
    bool guarda();
    // Puts back what carga read.
    void cancela();
    // Prints the test page on that printer with the values as they are now (applied, not saved);
    // the result shown. True when it reached the printer.
    bool prueba(Impresora impresora);
    // The test page of the receipt or note printer drawn on the preview only, not on paper.
    bool vistaPrevia(Impresora impresora, VistaPrevia &vista);

private:
    bool rechaza(const QString &campo, const QString &mensaje);

    cConfigure &m_config;
    cTicketPrinter &m_impresora;
    Prompter &m_prompter;
    Valores m_valores, m_cargados;
    QString m_campo;
};
