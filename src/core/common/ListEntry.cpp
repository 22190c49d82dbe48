#include "ListEntry.h"

#include <QStringList>

namespace ListEntry {

QString make(const QString &text, const QString &key, int width)
{
    return text.leftJustified(width, QLatin1Char(' ')) + QLatin1Char('\t') + key;
}

QString key(const QString &entry)
{
    const QStringList parts = entry.split(QLatin1Char('\t'));
    return parts.size() > 1 ? parts.at(1) : QString();
}

QString text(const QString &entry)
{
    QString first = entry.section(QLatin1Char('\t'), 0, 0);
    while (first.endsWith(QLatin1Char(' ')))
        first.chop(1);
    return first;
}

} // namespace ListEntry
