#pragma once

#include "LookupServices.h"
#include "PrecioRapido.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The quick article entry over PrecioRapido: key, name, department, cost and price as the
// customer pays them, and the breakdown shown read-only. Every widget is named after its column.
class frmPrecio : public QDialog {
    Q_OBJECT
public:
    frmPrecio(PrecioRapido &rapido, ConnectionProvider &connections, Prompter &prompter, QWidget *parent = nullptr);
    ~frmPrecio() override;

    // The counter's quick entry of an unknown key: true when the article was added.
    static bool alta(const LookupServices &services, const CalculoPrecio &calculo, const QString &clave,
                     QWidget *parent = nullptr);

    void setClave(const QString &clave);
    QWidget *campo(const QString &columna) const { return m_campos.value(columna); }

public Q_SLOTS:
    void cmdAceptar_Click();

private:
    QLineEdit *numero(const QString &columna, bool soloLectura);
    void muestra();

    PrecioRapido &m_rapido;
    QHash<QString, QWidget *> m_campos;
    QCheckBox *m_incluyeIva = nullptr;
};
