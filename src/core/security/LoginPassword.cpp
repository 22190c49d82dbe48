#include "LoginPassword.h"

#include <sodium.h>

#include <atomic>

namespace {

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

constexpr unsigned long long kOps = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t kMem = crypto_pwhash_MEMLIMIT_INTERACTIVE;

std::atomic<size_t> g_hashMemory{0};
std::atomic<qint64> g_verifications{0};

} // namespace

void LoginPassword::setHashMemoryLimit(size_t bytes)
{
    g_hashMemory = bytes;
}

qint64 LoginPassword::verifications()
{
    return g_verifications;
}

QString LoginPassword::hash(const QString &plain)
{
    if (plain.isEmpty())
        return plain;
    if (!sodiumReady())
        throw HashFailure();
    const QByteArray utf8 = plain.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    const size_t memory = g_hashMemory ? g_hashMemory.load() : kMem;
    if (crypto_pwhash_str(out, utf8.constData(), quint64(utf8.size()), kOps, memory) != 0)
        throw HashFailure();
    return QString::fromLatin1(out);
}

void LoginPassword::verifyNothing(const QString &typed)
{
    // Made once with today's limits: verifying it costs what verifying a user's hash costs.
    static const QString dummy = [] {
        try {
            return hash(QStringLiteral("sin-usuario"));
        } catch (const HashFailure &) {
            return QString();
        }
    }();
    if (!dummy.isEmpty())
        verify(dummy, typed);
}

bool LoginPassword::isHashed(const QString &stored)
{
    return stored.startsWith(QLatin1String("$argon2"));
}

bool LoginPassword::verify(const QString &stored, const QString &typed)
{
    if (!isHashed(stored))
        return stored == typed;
    if (!sodiumReady())
        return false;
    const QByteArray h = stored.toLatin1();
    const QByteArray t = typed.toUtf8();
    ++g_verifications;
    return crypto_pwhash_str_verify(h.constData(), t.constData(), quint64(t.size())) == 0;
}

bool LoginPassword::needsRehash(const QString &stored)
{
    if (stored.isEmpty())
        return false;
    if (!isHashed(stored))
        return true;
    const QByteArray h = stored.toLatin1();
    return sodiumReady() && crypto_pwhash_str_needs_rehash(h.constData(), kOps, kMem) != 0;
}
