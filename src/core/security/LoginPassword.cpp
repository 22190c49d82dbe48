#include "LoginPassword.h"

#include <sodium.h>

namespace {

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

constexpr unsigned long long kOps = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t kMem = crypto_pwhash_MEMLIMIT_INTERACTIVE;

} // namespace

QString LoginPassword::hash(const QString &plain)
{
    if (plain.isEmpty() || !sodiumReady())
        return plain;
    const QByteArray utf8 = plain.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), quint64(utf8.size()), kOps, kMem) != 0)
        return plain; // out of memory: the caller still has a usable (if unhashed) value
    return QString::fromLatin1(out);
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
