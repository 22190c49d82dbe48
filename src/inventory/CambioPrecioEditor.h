#pragma once

#include <QString>
#include <QStringList>

#include <exception>

class ConnectionProvider;
class Permisos;
class Prompter;

// The rules of frmCambioPrecio over tCambioPrecio and, for each method of the store's own, its
// formula: the tCodigo row "ONCHANGEPRICE_" + key. Modes add "A", change "C" and query "Q"; the
// rights frmCambioPrecio_cmdAlta, _cmdCambio, _cmdBaja, _cmdConsulta are checked by every
// command. A method and its script are written in one transaction: both or neither.
class CambioPrecioEditor {
public:
    struct Metodo {
        QString clave;
        QString nombre;
        QString script; // ignored for the built-in methods, which have none
    };

    static const QString kClaveEnUso;
    static const QString kNoExiste;
    static const QString kClaveNoExiste;
    static const QString kAgregado;
    static const QString kActualizado;
    static const QString kConfirmaBaja;
    static const QString kEliminado;
    static const QString kFaltaClave;
    static const QString kFaltaNombre;
    static const QString kUsadoPorArticulos;
    static const QString kUsadoPorConceptos;
    static const QString kSinAcceso;
    static QString predefinido(const QString &clave);
    static QString claveLarga(int maximo);
    static QString nombreLargo(int maximo);

    static constexpr int kLongitudClave = 30;
    static constexpr int kLongitudNombre = 100;

    CambioPrecioEditor(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter,
                       const QString &modo = QStringLiteral("A"));

    void setModo(const QString &modo) { m_modo = modo.trimmed().toUpper(); }
    const QString &modo() const { return m_modo; }
    bool soloLectura() const { return m_modo == QLatin1String("Q"); }
    QString titulo() const;
    // 'A' add, 'C' change, 'B' delete, 'Q' query (change includes query).
    bool puede(QChar comando) const;

    // The methods the price calculation knows by itself: no script, never deleted.
    static bool esPredefinido(const QString &clave);
    // The tCodigo key of a method's formula.
    static QString claveScript(const QString &clave);
    // What a formula receives, as the editor offers it for insertion.
    static QStringList valoresScript();

    bool validaDatos(const Metodo &m);
    // "clave", "nombre" or "script" after a refusal, for the form's focus; empty otherwise.
    const QString &campoRechazado() const { return m_campoRechazado; }
    // A formula that does not compile is saved only when the user says so (errorSintaxis(),
    // lineaError() tell where). True to go on saving; always true for a built-in method.
    bool revisaSintaxis(const Metodo &m);
    const QString &errorSintaxis() const { return m_errorSintaxis; }
    int lineaError() const { return m_lineaError; }

    // Inserts the method and its script row (a script row left under that key is replaced);
    // afterwards asks whether to go on adding (continuarAgregando()).
    bool agregarRegistro(const Metodo &m);
    bool continuarAgregando() const { return m_continuar; }
    // Rewrites the name and replaces the script row.
    bool modificarRegistro(const Metodo &m);
    bool consultarRegistro(const QString &clave, Metodo *m);
    // The text of a script row already stored under the method's key (an orphan the script
    // catalogue kept), so that adding the method starts from it. False when there is none.
    bool scriptGuardado(const QString &clave, QString *texto);
    // Refuses a built-in method and one that articles or client-type concepts use, asks, then
    // deletes the method with its script row.
    bool eliminarRegistro(const QString &clave);

private:
    bool checkRight(QChar comando);
    bool fetch(const QString &clave, Metodo *m);
    QString usadoPor(const QString &clave);
    void escribeScript(const Metodo &m);
    void report(const char *operation, const std::exception &e);

    ConnectionProvider &m_connections;
    Permisos &m_permisos;
    Prompter &m_prompter;
    QString m_modo;
    QString m_campoRechazado;
    bool m_continuar = false;
    QString m_errorSintaxis;
    int m_lineaError = 0;
};
