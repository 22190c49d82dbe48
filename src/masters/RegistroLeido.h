#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

class ConnectionProvider;

// The record a script object of the masters reads (cCliente, cProveedor): loaded by its key,
// every column by name, numbers as doubles and texts trimmed. Read only.
class RegistroLeido {
public:
    // Loads the row of tabla whose columnaClave is clave; false (and nothing loaded) when none.
    bool busca(ConnectionProvider &connections, const QString &tabla, const QString &columnaClave,
               const QStringList &campos, const QString &clave);
    bool cargado() const { return m_cargado; }
    // Empty when nothing is loaded or the column is not one of campos.
    QVariant campo(const QString &columna) const { return m_valores.value(columna.trimmed().toLower()); }
    QString texto(const char *columna) const;
    double numero(const char *columna) const;

private:
    bool m_cargado = false;
    QHash<QString, QVariant> m_valores; // lower-case column → value
};
