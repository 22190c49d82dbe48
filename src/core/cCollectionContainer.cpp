#include "cCollectionContainer.h"

cCollectionContainer::cCollectionContainer(QObject *parent) : QObject(parent) {}

void cCollectionContainer::addObject(const QString &key, const QVariant &value)
{
    const QString k = fold(key);
    auto it = m_items.find(k);
    if (it != m_items.end()) {
        it->value = value;
        return;
    }
    m_items.insert(k, {key, value});
    m_order.append(k);
}

QVariant cCollectionContainer::getItem(const QString &key) const
{
    const auto it = m_items.constFind(fold(key));
    return it == m_items.cend() ? QVariant() : it->value;
}

bool cCollectionContainer::removeItem(const QString &key)
{
    const QString k = fold(key);
    if (!m_items.remove(k))
        return false;
    m_order.removeOne(k);
    return true;
}

bool cCollectionContainer::existsItem(const QString &key) const
{
    return m_items.contains(fold(key));
}

void cCollectionContainer::clear()
{
    m_items.clear();
    m_order.clear();
}

QStringList cCollectionContainer::keys() const
{
    QStringList out;
    out.reserve(m_order.size());
    for (const auto &k : m_order)
        out << m_items.value(k).key;
    return out;
}
