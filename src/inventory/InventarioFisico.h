#pragma once

#include "Decimal.h"

#include <QList>
#include <QString>

#include <optional>

class ConnectionProvider;
class Existencias;
class Prompter;
class cConfigure;

namespace db {
class Connection;
}

// The physical inventory of a warehouse (the logic of frmInventarioDet): opening, up to three
// counts, closing each count, processing the counts into adjustment rows and concluding them into
// stock. Every message and question goes through the Prompter; a method returns false when it was
// refused or the user answered No. Database failures leave as db::DbError for the window to report,
// except in concluye, which reports them itself after undoing every stock call.
class InventarioFisico {
public:
    struct Apertura {
        QString almacen;
        int anio = 0;
        int numero = 0;
        int conteos = 0; // 1 to 3
        QString tipo;    // 'TOTAL', 'PARCIAL', 'DEPTO', 'CATEGORIA'
        QString departamento;
        QString categoria;
    };
    enum class Captura { Capturado, Rechazado, RegistrarArticulo };
    // One counted row, as the capture grid shows it.
    struct FilaConteo {
        QString articulo;
        QString nombre;
        QString lote;
        Decimal conteo1;
        Decimal conteo2;
        Decimal conteo3;
    };
    // One adjustment row of a processed inventory.
    struct FilaAjuste {
        QString articulo;
        QString nombre;
        QString lote;
        Decimal contado;
        Decimal existencia;
        QString tipo; // 'E' or 'S'
        Decimal cantidad;
        Decimal costo;
    };

    InventarioFisico(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                     Existencias &existencias);

    // ISNULL(MAX(inv_Clave), 0) + 1 for the warehouse and year.
    int siguienteNumero(const QString &almacen, int anio);

    // Opens a new inventory (preloading its articles) or continues one in progress.
    bool abre(const Apertura &datos);
    // Takes an existing inventory as it stands, asking nothing: to view a closed one or to delete
    // one from the list. False when it does not exist.
    bool consulta(const QString &almacen, int anio, int numero);
    bool abierto() const { return !m_almacen.isEmpty(); }
    // The field the last refusal of abre or captura named ("almacen", "anio", "numero", "conteos",
    // "tipo", "departamento", "categoria"; "articulo", "lote", "cantidad"), so the window can give
    // it the focus; empty otherwise.
    QString campoRechazado() const { return m_campoRechazado; }
    QString almacen() const { return m_almacen; }
    int anio() const { return m_anio; }
    int numero() const { return m_numero; }
    QString estado();
    int conteoActual();
    int conteos() const { return m_conteos; }
    QString tipo() const { return m_tipo; }
    QString origen() const; // "INVENTARIO-" + year + "-" + number

    // Adds the quantity to the current count of (article, lot). Without a quantity and with the
    // setting "OPERACION-CAPTURA-AUTOMATICA" a scanned article counts one unit.
    // RegistrarArticulo: the article is not on file and the user wants to register it.
    // articulo is a key or a barcode.
    Captura captura(const QString &articulo, const QString &lote, std::optional<Decimal> cantidad);
    // The control kind of the article a key or barcode names ('' for none); nullopt when no
    // article has it. Tells the window whether the lot/serial field comes next.
    std::optional<QString> controlDe(const QString &codigo);
    // The article key and lot of the last accepted capture.
    QString ultimoArticulo() const { return m_ultimoArticulo; }
    QString ultimoLote() const { return m_ultimoLote; }
    // A count edited in the grid (conteo 1 to 3); texto must be a number.
    bool fijaConteo(const QString &articulo, const QString &lote, int conteo, const QString &texto);
    bool eliminaArticulo(const QString &articulo, const QString &lote);
    // Counts from a scanner's export, one "code quantity" a line (separated by blanks, tab, comma
    // or semicolon), into the current count. Returns one text per line not taken, naming the line.
    // False when the user kept the rows already counted from being replaced and declined the load.
    bool cargaArchivo(const QString &ruta, QStringList &reporte);

    // Closes the current count; after the last one offers to process.
    bool cierraConteo();
    // Back to count 1 and 'REGISTRADO' (the counts are kept).
    bool reiniciaCaptura();
    // Results and adjustment rows; the inventory becomes 'PROCESADO'.
    bool procesa();
    // Every adjustment row becomes one stock call, all in one transaction; then 'CERRADO'.
    bool concluye();
    bool elimina();

    // The counted rows by article and lot; the adjustment rows likewise.
    QList<FilaConteo> articulos();
    QList<FilaAjuste> ajustes();
    // "ENTRADA DE ALMACEN" for 'E', "SALIDA DE ALMACEN" for 'S'.
    static QString nombreAjuste(const QString &tipo);

private:
    db::Connection &conexion();
    bool pregunta(const QString &texto);
    void aviso(const QString &texto);
    void cargaCabecera();
    bool rechazaCampo(const QString &campo, const QString &texto);
    bool hayDiferencias();
    Captura rechaza(const QString &texto, const QString &campo = QStringLiteral("articulo"));
    QString *m_motivo = nullptr; // while loading a file: where a refusal goes instead of a message

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    Existencias &m_existencias;
    QString m_almacen;
    int m_anio = 0;
    int m_numero = 0;
    int m_conteos = 0;
    QString m_tipo;
    QString m_campoRechazado;
    QString m_ultimoArticulo;
    QString m_ultimoLote;
};
