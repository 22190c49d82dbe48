#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class cConfigure;
class Prompter;

// Export and import of configuration categories through an initialization file:
//   [SECCIONES]                 TOTAL, SECCION1..n = category section names
//   [SECCION-<cat>]             COUNT, VALOR1..n = keys
//   [SECCION-<cat>-VALOR<i>]    xType, xDataType, bSave ("S"/"N"), vValue
// Every value is Base64 of its UTF-8 text. Reading also accepts a value typed in plain text by
// hand: when it cannot be Base64 (wrong length or alphabet, or not decoding to clean text), or
// when it already reads right (a number, a registered key, a category name, a value that fits
// its item where the decoded text does not).
// Import changes the values in memory only; saving them is cmdSalvar's job (saveAll).
class ConfigExchange {
public:
    ConfigExchange(cConfigure &config, Prompter &prompter);

    // Every item of the categories, in registration order.
    bool exportar(const QString &fileName, const QList<int> &categories);
    // Listed keys per category; a key the store does not hold is reported
    // ("Configuracion no encontrada: " + key) and left out.
    bool exportarClaves(const QString &fileName, const QList<QPair<int, QStringList>> &keysByCategory);
    // False (and "No hay configuraciones disponibles en este archivo") when the file lists no category.
    bool importar(const QString &fileName);
    // Keys whose values the last import set; unregistered keys and session values are skipped.
    const QStringList &importedKeys() const { return m_imported; }

    static QString encodeValue(const QString &text);
    static QString decodeValue(const QString &stored);

private:
    cConfigure &m_config;
    Prompter &m_prompter;
    QStringList m_imported;
};
