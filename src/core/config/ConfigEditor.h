#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

class cConfigure;
class cConfigValue;
class Prompter;

// The rules of frmConfigDet: which control fits an item, the check of what was entered, and
// the change (setValue, saveValue, "Configuración actualizada").
class ConfigEditor {
public:
    enum Control {
        Lista,  // text with choices
        SiNo,   // Boolean
        Fecha,  // date
        Numero, // LONG or DOUBLE
        Texto,
    };

    ConfigEditor(cConfigure &config, Prompter &prompter);

    // False for a key the store does not hold.
    bool setClave(const QString &key);
    const cConfigValue *item() const { return m_item; }
    Control control() const;
    QStringList opciones() const;

    // The current value in the form the control takes.
    QString texto() const;
    bool siNo() const;
    QDateTime fecha() const;

    // What the user entered: text for Lista, Numero and Texto; a bool (or nothing when no
    // option is chosen) for SiNo; a QDateTime or its text for Fecha. Refuses an empty or
    // unfitting entry with "Debe Elegir un valor", "Debe Ingresar una fecha" or
    // "Debe Ingresar un numero"; otherwise changes and stores the value.
    bool aceptar(const QVariant &entrada);

private:
    cConfigure &m_config;
    Prompter &m_prompter;
    cConfigValue *m_item = nullptr;
};
