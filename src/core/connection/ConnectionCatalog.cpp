#include "ConnectionCatalog.h"

#include "SettingsStore.h"

namespace {
const QString kServers = QStringLiteral("Servers");
const QString kAnalizer = QStringLiteral("Analizer");

QString toBase64(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toBase64());
}

QString fromBase64(const QString &text)
{
    return QString::fromUtf8(QByteArray::fromBase64(text.toLatin1()));
}
} // namespace

ConnectionCatalog::ConnectionCatalog(SettingsStore &settings) : m_settings(settings) {}

int ConnectionCatalog::count() const
{
    return m_settings.getSetting(kServers, QStringLiteral("Count"), QStringLiteral("0")).toInt();
}

QStringList ConnectionCatalog::names() const
{
    QStringList out;
    const int n = count();
    for (int i = 1; i <= n; ++i)
        out << m_settings.getSetting(kServers, QStringLiteral("Server") + QString::number(i), QString());
    return out;
}

int ConnectionCatalog::indexOf(const QString &name) const
{
    const QStringList all = names();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i) == name)
            return i + 1;
    }
    return 0;
}

QString ConnectionCatalog::connectionString(int i) const
{
    const QString stored = m_settings.getSetting(kServers, QStringLiteral("ADO") + QString::number(i), QString());
    const QString marker = m_settings.getSetting(kAnalizer, QStringLiteral("Resource") + QString::number(i), QString());
    // Only a marked value is encoded; a value typed in by hand is used as it stands.
    if (!marker.isEmpty() && fromBase64(marker) == QStringLiteral("ADO"))
        return fromBase64(stored);
    return stored;
}

QString ConnectionCatalog::connectionString(const QString &name) const
{
    const int i = indexOf(name);
    return i > 0 ? connectionString(i) : QString();
}

int ConnectionCatalog::save(const QString &name, const QString &connectionString)
{
    // The count is read and written back: another workstation process must not interleave.
    const SettingsStore::Exclusive exclusive(m_settings);
    const int n = count();
    int i = indexOf(name);
    const int newCount = i > 0 ? n : n + 1;
    if (i == 0)
        i = n + 1;
    const QString idx = QString::number(i);
    m_settings.saveSetting(kServers, QStringLiteral("Server") + idx, name);
    m_settings.saveSetting(kServers, QStringLiteral("ADO") + idx, toBase64(connectionString));
    m_settings.saveSetting(kAnalizer, QStringLiteral("Resource") + idx, toBase64(QStringLiteral("ADO")));
    m_settings.saveSetting(kServers, QStringLiteral("Count"), QString::number(newCount));
    return i;
}

QString ConnectionCatalog::selected() const
{
    return m_settings.getSetting(kServers, QStringLiteral("Selected"), QString());
}

void ConnectionCatalog::setSelected(const QString &name)
{
    m_settings.saveSetting(kServers, QStringLiteral("Selected"), name);
}

bool ConnectionCatalog::mostrar() const
{
    return m_settings.getSetting(kServers, QStringLiteral("Mostrar"), QStringLiteral("S")) == QStringLiteral("S");
}

void ConnectionCatalog::setMostrar(bool show)
{
    m_settings.saveSetting(kServers, QStringLiteral("Mostrar"), show ? QStringLiteral("S") : QStringLiteral("N"));
}
