#pragma once

#include "cConfigValue.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace db {
class Connection;
}
class ConnectionProvider;
class Decimal;
class cConfigureItem;
class Prompter;
class SettingsStore;

// The configuration store (gConfig, "xConfig" for event scripts): every behaviour switch as a
// registered key with category, data type, default and storage. Values live per workstation,
// in tConfiguracion (keyed by COMPUTER) or in the per-user settings store.
//
// Keys are matched without regard to case, as the original keyed collection did. The members
// marked Q_INVOKABLE are the ones scripts call by name.
class cConfigure : public QObject {
    Q_OBJECT
public:
    enum Categoria {
        GLOBAL = 1,
        Usuarios = 2,
        Setting = 3,
        Operacion = 4,
        Impresion = 5,
        Crystal = 6,
        Actualizaciones = 7,
        Database = 8,
        Setup = 9,
        Ventas = 10,
        Recepcion = 11,
        Resurtido = 12,
        Envio = 13,
        Facturacion = 14,
        Pedidos = 15,
        Catalogo = 16,
        Almacen = 17,
        Scripts = 18,
        Reportes = 19,
        Consulta = 20,
        TiempoAire = 21,
        UltimaCategoria = 26
    };

    // Registers every key (prepare) and loads at once the keys of the settings store, so that
    // CONEXION is known before the database connection is opened.
    cConfigure(ConnectionProvider &connections, SettingsStore &settings, Prompter &prompter,
               QObject *parent = nullptr);
    ~cConfigure() override;

    Q_INVOKABLE int getCount() const;
    // Position counts from 0, in registration order; nullptr outside the range.
    cConfigValue *getItemByPos(int i) const;
    // nullptr for a key that was never registered.
    cConfigValue *getItemByKey(const QString &key) const;
    // For scripts: the item as an object (cConfigureItem), by position counted from 1 as in
    // VB collections, or by key; Nothing when there is no such item.
    Q_INVOKABLE QObject *getItemByPos(const QVariant &position) const;
    Q_INVOKABLE QObject *getItemByKey(const QVariant &key) const;
    Q_INVOKABLE QString getDataTypeToString(int dataType) const;
    Q_INVOKABLE QString getTypeToString(int category) const;
    // An invalid QVariant (Empty for scripts) for a key that was never registered.
    Q_INVOKABLE QVariant getValue(const QString &key) const;
    Q_INVOKABLE bool addValue(int category, const QString &key, const QVariant &defaultValue, int dataType,
                              bool writeBack = true, bool loadNow = false, int loadSource = 0,
                              int writeTarget = 0, const QString &choices = QString());
    // Writes one item to its store; true when written or nothing had to be written. A database
    // error is reported (reportError) and leaves the value in memory.
    Q_INVOKABLE bool saveValue(const QString &key);
    // Memory only. False for an unknown key or a value that does not fit the data type.
    Q_INVOKABLE bool setValue(const QString &key, const QVariant &value);
    // Every item with the write-back flag; the database items in one transaction, so a failure
    // is reported once and writes none of them.
    Q_INVOKABLE bool saveAll();
    // Reads one item from its store; false when nothing was read (no row, no database).
    Q_INVOKABLE bool loadValue(const QString &key);
    Q_INVOKABLE void loadAll();
    Q_INVOKABLE void loadByType(int category);
    void prepare();
    Q_INVOKABLE void traducir();
    // "27,112,48,49," -> the characters with those codes (0..255, one QChar per byte; the
    // printer sends them with toLatin1()). Stops at the first empty, non-numeric or
    // out-of-range element.
    Q_INVOKABLE QString traduceSecuenciaASCII(const QString &text) const;
    Q_INVOKABLE bool existsValue(const QString &key) const;

    // Typed reads for C++ callers.
    QString getString(const QString &key) const;
    bool getBool(const QString &key) const;
    int getLong(const QString &key) const;
    double getDouble(const QString &key) const;
    Decimal getDecimal(const QString &key) const;
    QDateTime getDate(const QString &key) const;

    QString computer() const { return getString(QStringLiteral("COMPUTER")); }
    // Section of the settings store and of the export file: the category name, "Categoria" + n
    // for the categories without one (22 to 26).
    QString sectionName(int category) const;
    // Categories 1 .. 26 that hold at least one item, ascending.
    QList<int> categories() const;
    // The load source or write target an item ends up with: 0 none, 1 tConfiguracion, 2 settings.
    static int resolveStorage(int code, int category);
    // "tConfiguracion", "settings" or "no se guarda".
    QString storageName(const cConfigValue &item) const;
    // One tab-separated line per item: key, category name (number for 22..26), data type name,
    // default, storage. For `mostrador-admin config list`.
    QStringList describeAll() const;
    // The default shown as text: Booleans "true"/"false", time-only dates "HH:mm:ss".
    static QString displayText(const QVariant &value, int dataType);

Q_SIGNALS:
    void valueChanged(const QString &key);
    void itemAdded(const QString &key);

private:
    cConfigValue *item(const QString &key) const;
    bool loadFromSettings(cConfigValue &item);
    bool saveToSettings(const cConfigValue &item);
    // The connection for reads, or nullptr while the database does not answer.
    db::Connection *answeringConnection() const;
    void writeRows(db::Connection &conn, const QList<const cConfigValue *> &items) const;
    void assign(cConfigValue &item, const QVariant &value);

    ConnectionProvider &m_connections;
    SettingsStore &m_settings;
    Prompter &m_prompter;
    std::vector<std::unique_ptr<cConfigValue>> m_items;
    QHash<QString, cConfigValue *> m_byKey;                      // upper-case key
    mutable QHash<const cConfigValue *, cConfigureItem *> m_scriptItems; // one per item, so `Is` holds
    QObject *scriptItem(const cConfigValue *item) const;
};
