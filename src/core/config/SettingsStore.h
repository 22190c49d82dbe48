#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

class QSettings;

// The per-user settings store: text values addressed by application title, section and key.
// One INI file per application title under the user's configuration directory; it holds
// connection strings, so it is kept readable by its owner only (0600, directory 0700).
//
// Raw values are read and written as they are. The encoded form is the one configuration
// values and named connections use: the value in Base64 and a marker key (key + "_Resource")
// holding Base64 of "Resource"; reading decodes only when the marker is there, so values
// typed in by hand still work. Base64 is taken over the UTF-8 bytes of the text.
class SettingsStore {
public:
    // The user's file for the application title (default "Mostrador").
    SettingsStore();
    // An explicit file (tests, tools, another application title).
    explicit SettingsStore(const QString &filePath);
    ~SettingsStore();

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    static QString applicationTitle() { return QStringLiteral("Mostrador"); }
    // <generic config dir>/mostrador/<title>.ini
    static QString defaultFilePath(const QString &applicationTitle = SettingsStore::applicationTitle());

    QString filePath() const;

    QString getSetting(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    void saveSetting(const QString &section, const QString &key, const QString &value);
    // An empty key deletes the whole section.
    void deleteSetting(const QString &section, const QString &key = QString());
    bool containsSetting(const QString &section, const QString &key) const;
    QStringList sectionKeys(const QString &section) const;
    QStringList sections() const;

    // The encoded form (see above).
    QString getEncodedSetting(const QString &section, const QString &key,
                              const QString &defaultValue = QString()) const;
    void saveEncodedSetting(const QString &section, const QString &key, const QString &value);

    static QString markerKey(const QString &key) { return key + QStringLiteral("_Resource"); }
    static QString encode(const QString &text);
    static QString decode(const QString &base64);

    // Holds the file for a read-modify-write across processes (two `connection add` at once):
    // waits for another holder (an exclusive lock on the file's ".mostrador-lock" companion), then
    // reloads what is on disk before the caller reads it.
    class Exclusive {
    public:
        explicit Exclusive(SettingsStore &store);
        ~Exclusive();
        Exclusive(const Exclusive &) = delete;
        Exclusive &operator=(const Exclusive &) = delete;

    private:
        std::unique_ptr<QLockFile> m_lock;
        int m_fd = -1;
        QString m_path;
        QDateTime m_before;
    };

private:
    void write();

    std::unique_ptr<QSettings> m_settings;
};
