#include "Routines.h"

#include "migrations/Migrations.h"

#include <QHash>
#include <QMutex>

namespace db {

namespace {

struct Registry {
    QMutex mutex;
    // The schema's routines, present before any connection can call them.
    QHash<QString, Routine> routines{
        {QStringLiteral("sp_generasecuencia"), &migrations::generaSecuencia},
        {QStringLiteral("sp_actualizaarticuloalmacen"), &migrations::actualizaArticuloAlmacen}};
};

Registry &registry()
{
    static Registry r;
    return r;
}

} // namespace

QString Routines::normalizeName(const QString &name)
{
    QString n = name.trimmed().toLower();
    if (n.startsWith(QLatin1String("[dbo].")))
        n = n.mid(6);
    if (n.startsWith(QLatin1String("dbo.")))
        n = n.mid(4);
    while (n.startsWith(u'@') || n.startsWith(u':'))
        n = n.mid(1);
    return n;
}

QVariantMap Routines::normalizeKeys(const QVariantMap &values)
{
    QVariantMap out;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        out.insert(normalizeName(it.key()), it.value());
    return out;
}

void Routines::registerRoutine(const QString &name, Routine routine)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    r.routines.insert(normalizeName(name), std::move(routine));
}

void Routines::unregisterRoutine(const QString &name)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    r.routines.remove(normalizeName(name));
}

std::optional<Routine> Routines::find(const QString &name)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    const auto it = r.routines.constFind(normalizeName(name));
    if (it == r.routines.cend())
        return std::nullopt;
    return *it;
}

} // namespace db
