#pragma once

#include <QList>
#include <QString>

#include <exception>

class ConnectionProvider;
class Permisos;
class Prompter;

// The price concepts of a client type (tTipoClienteConcepto): for the control kinds
// 'DEPARTAMENTO' and 'FAMILIA', one row per department or family with the price-change method
// and the value it puts into the price (a discount for 'PUBLICO', a margin, a utility, a fixed
// price). Saving rewrites every row of one type and kind at once, in one transaction. Reading
// needs frmTipoCliente_cmdConsulta or _cmdCambio, saving _cmdCambio.
class TipoClienteConceptos {
public:
    // A grid line as typed: keys and the value as text.
    struct Linea {
        QString concepto; // tart_Clave or fam_Clave
        QString metodo;   // cambio_Clave
        QString valor;
        bool vacia() const
        {
            return concepto.trimmed().isEmpty() && metodo.trimmed().isEmpty() && valor.trimmed().isEmpty();
        }
    };
    struct Opcion {
        QString clave;
        QString nombre;
    };
    enum Columna { ColConcepto = 0, ColMetodo = 1, ColValor = 2 };

    static const QString kDepartamento;
    static const QString kFamilia;
    static const QString kSinAcceso;
    static const QString kTipoNoExiste;
    static const QString kGuardado;
    static const QString kFaltaMetodo;
    static const QString kFaltaValor;
    static const QString kValorNoNumerico;
    static const QString kValorNegativo;
    static const QString kDescuentoMayorACien;
    static QString sinConceptos(const QString &control);
    static QString faltaConcepto(const QString &control);
    static QString conceptoNoExiste(const QString &control, const QString &clave);
    static QString conceptoRepetido(const QString &control, const QString &clave);
    static QString metodoNoExiste(const QString &clave);
    // The grid's caption of the concept column: "Departamento" or "Familia".
    static QString tituloConcepto(const QString &control);

    TipoClienteConceptos(ConnectionProvider &connections, Permisos &permisos, Prompter &prompter,
                         const QString &modo = QStringLiteral("C"));

    bool soloLectura() const { return m_modo != QLatin1String("C"); }
    // Whether a control kind keeps concepts ('DEPARTAMENTO', 'FAMILIA').
    static bool usaConceptos(const QString &control);

    // Every control kind in tcontrol_Orden order; the kinds with concepts of them.
    QList<Opcion> tiposControl();
    QList<Opcion> controlesConConceptos();
    // The departments (tTipoArticulo) or families (tFamilia), by name; the methods (tCambioPrecio).
    QList<Opcion> conceptos(const QString &control);
    QList<Opcion> metodos();

    // The type's name; false (told) when the type does not exist or the right is missing.
    bool tipoCliente(const QString &tcli, QString *nombre, QString *control = nullptr);
    // The stored rows of one type and kind, ordered by concept.
    bool consultar(const QString &tcli, const QString &control, QList<Linea> *lineas);

    // Blank lines are left out. On a refusal the line and column to focus are kept.
    bool validaDatos(const QString &control, const QList<Linea> &lineas);
    int filaRechazada() const { return m_fila; }
    int columnaRechazada() const { return m_columna; }
    // Deletes the rows of the type and kind, then inserts one row per line, all or nothing.
    bool guardar(const QString &tcli, const QString &control, const QList<Linea> &lineas);

private:
    bool checkRight(QChar comando);
    bool leeTipo(const QString &tcli, QString *nombre, QString *control = nullptr);
    QList<Opcion> opciones(const QString &sql);
    void report(const char *operation, const std::exception &e);

    ConnectionProvider &m_connections;
    Permisos &m_permisos;
    Prompter &m_prompter;
    QString m_modo;
    int m_fila = -1;
    int m_columna = -1;
};
