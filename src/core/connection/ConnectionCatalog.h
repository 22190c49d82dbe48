#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// The named connections of a workstation, kept in the settings store under section "Servers":
// "Count", "Server"+i (name), "ADO"+i (connection string in Base64, marked by
// "Analizer"/"Resource"+i), "Selected" and "Mostrar". The layout is shared with older
// installations, so it is kept exactly.
class ConnectionCatalog {
public:
    explicit ConnectionCatalog(SettingsStore &settings);

    int count() const;
    // Names in order, index 0 is entry 1.
    QStringList names() const;
    // Position (1-based) of a name, or 0.
    int indexOf(const QString &name) const;
    // The stored connection string of entry i (1-based); decoded only when its marker is present.
    QString connectionString(int i) const;
    QString connectionString(const QString &name) const;
    // Stores (or overwrites) a named definition; returns its position.
    int save(const QString &name, const QString &connectionString);

    QString selected() const;
    void setSelected(const QString &name);
    // "S": the connection dialog is shown at every start.
    bool mostrar() const;
    void setMostrar(bool show);

private:
    SettingsStore &m_settings;
};
