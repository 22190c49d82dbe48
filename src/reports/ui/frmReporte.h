#pragma once

#include "CatalogoReportes.h"
#include "cReporte.h"

#include <QDialog>

#include <functional>

class QDateEdit;
class QFormLayout;
class QLabel;
class QListWidget;
class QWidget;

// The run window of stored reports: the reports the profile may run (of one kind, or all), the
// chosen one's description and one input per parameter (a list, a text, a number or dates),
// Aceptar (Enter) checks the inputs and hands the report's program and values to the runner,
// then closes; Escape closes. Every rule sits in CatalogoReportes and ParametrosReporte.
class frmReporte : public QDialog {
    Q_OBJECT
public:
    using Ejecucion = std::function<void(const QString &repClave, const QString &programa,
                                         const QList<ValorParametro> &valores)>;

    frmReporte(CatalogoReportes &catalogo, Ejecucion ejecuta, QWidget *parent = nullptr);
    ~frmReporte() override;

    // Fills the list with the reports of the kind (all when empty), gives the inputs the values
    // named in parametros, and selects the report of repClave when given. Automatic with a report
    // chosen runs it at once: true when it ran, and the window need not be shown.
    bool init(const QString &tipo, const QList<cReporte::Valor> &parametros, bool automatico,
              const QString &repClave);

    // True when the report ran.
    bool cmdAceptar();

    // The input of a parameter by its name (the start date of a range), for tests and focus.
    QWidget *entrada(const QString &nombre) const;
    QDateEdit *fechaFin(const QString &nombre) const;

private:
    struct Campo {
        QWidget *valor = nullptr;
        QDateEdit *fin = nullptr;
    };

    void seleccionaReporte();
    void construyeEntradas();
    void limpiaEntradas();
    void aplicaValores();
    void llenaLista(int indice);
    void cambioEn(int indice);
    QList<ParametrosReporte::Captura> capturas() const;

    CatalogoReportes &m_catalogo;
    Ejecucion m_ejecuta;
    QList<cReporte::Valor> m_valores; // given by the caller, by parameter name
    QList<Campo> m_campos;
    QListWidget *lstReportes;
    QLabel *lblNombre, *lblDescripcion;
    QWidget *fraParametros;
    QFormLayout *m_formulario;
};
