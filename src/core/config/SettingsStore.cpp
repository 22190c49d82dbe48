#include "SettingsStore.h"

#include "Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions OwnerDir = OwnerOnly | QFileDevice::ExeOwner;

QString settingsKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

// Creates the file empty with owner-only rights before QSettings writes it: QSettings saves
// through QSaveFile, which keeps the rights of an existing file, so the connection strings are
// never readable by others, not even for a moment.
void prepareFile(const QString &path)
{
    const QFileInfo info(path);
    QDir dir = info.absoluteDir();
    if (!dir.exists()) {
        dir.mkpath(QStringLiteral("."));
        QFile::setPermissions(dir.absolutePath(), OwnerDir);
    }
    if (!info.exists()) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnly))
            file.close();
    }
}
} // namespace

SettingsStore::SettingsStore() : SettingsStore(defaultFilePath()) {}

SettingsStore::SettingsStore(const QString &filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultFilePath(const QString &applicationTitle)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/mostrador/") + applicationTitle + QStringLiteral(".ini");
}

QString SettingsStore::filePath() const
{
    return m_settings->fileName();
}

QString SettingsStore::getSetting(const QString &section, const QString &key,
                                  const QString &defaultValue) const
{
    const QVariant value = m_settings->value(settingsKey(section, key));
    if (!value.isValid())
        return defaultValue;
    // An unquoted hand-written value with commas ("27,105,") comes back from the INI reader as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::saveSetting(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(settingsKey(section, key), value);
    write();
}

void SettingsStore::deleteSetting(const QString &section, const QString &key)
{
    m_settings->remove(key.isEmpty() ? section : settingsKey(section, key));
    write();
}

bool SettingsStore::containsSetting(const QString &section, const QString &key) const
{
    return m_settings->contains(settingsKey(section, key));
}

QStringList SettingsStore::sectionKeys(const QString &section) const
{
    m_settings->beginGroup(section);
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    return keys;
}

QStringList SettingsStore::sections() const
{
    return m_settings->childGroups();
}

QString SettingsStore::getEncodedSetting(const QString &section, const QString &key,
                                         const QString &defaultValue) const
{
    if (!containsSetting(section, key))
        return defaultValue;
    const QString stored = getSetting(section, key);
    if (containsSetting(section, markerKey(key)))
        return decode(stored);
    return stored;
}

void SettingsStore::saveEncodedSetting(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(settingsKey(section, key), encode(value));
    m_settings->setValue(settingsKey(section, markerKey(key)), encode(QStringLiteral("Resource")));
    write();
}

QString SettingsStore::encode(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toBase64());
}

QString SettingsStore::decode(const QString &base64)
{
    return QString::fromUtf8(QByteArray::fromBase64(base64.toLatin1()));
}

void SettingsStore::write()
{
    const QString path = m_settings->fileName();
    prepareFile(path);
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        writeLog(QStringLiteral("SettingsStore: no se pudo escribir ") + path);
    // A file made by hand or by an older version may have wider rights: narrow them.
    constexpr QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (QFile::permissions(path) & others)
        QFile::setPermissions(path, OwnerOnly);
}
