#include "SettingsStore.h"

#include "Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

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

SettingsStore::Exclusive::Exclusive(SettingsStore &store)
{
    const QString path = store.filePath();
    prepareFile(path);
    // Not QSettings' own ".lock", which sync() takes while this one is held.
    const QString lockPath = path + QStringLiteral(".mostrador-lock");
#ifdef Q_OS_UNIX
    // flock rather than QLockFile: QLockFile takes a holder whose executable is not named like
    // the application ("mostrador-admin" for "Mostrador") for a dead one and breaks its lock.
    // The kernel releases this lock when a holder dies.
    m_fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0 || ::flock(m_fd, LOCK_EX) != 0)
        writeLog(QStringLiteral("SettingsStore: se escribe sin el candado de ") + path);
#else
    m_lock = std::make_unique<QLockFile>(lockPath);
    m_lock->setStaleLockTime(30000);
    if (!m_lock->tryLock(30000))
        writeLog(QStringLiteral("SettingsStore: se escribe sin el candado de ") + path);
#endif
    m_path = path;
    m_before = QFileInfo(path).lastModified();
    store.m_settings->sync(); // what another process wrote meanwhile
}

SettingsStore::Exclusive::~Exclusive()
{
    // QSettings reads the file again only when its size or time changed; two writes within one
    // tick of the file clock with the same size would look unchanged to the next holder.
    const QDateTime after = QFileInfo(m_path).lastModified();
    if (m_before.isValid() && after.isValid() && after <= m_before) {
        QFile file(m_path);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(m_before.addMSecs(1), QFileDevice::FileModificationTime);
    }
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
#endif
}

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
