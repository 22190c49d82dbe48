#include "cCollectionContainer.h"

#include "Convert.h"
#include "Engine.h"

#include <cmath>

cCollectionContainer::cCollectionContainer(QObject *parent) : QObject(parent) {}

void cCollectionContainer::addObject(const QVariant &value, const QString &key)
{
    if (value.metaType() == QMetaType::fromType<vbs::Value>()) {
        const vbs::Value v = value.value<vbs::Value>();
        if (v.isObject() && v.rawObject() && v.rawObject()->asClassInstance())
            vbs::raise(13);
    }
    const QString k = fold(key);
    auto it = m_items.find(k);
    if (it != m_items.end()) {
        it->value = value;
        return;
    }
    m_items.insert(k, {key, value});
    m_order.append(k);
}

std::optional<QString> cCollectionContainer::keyOf(const QVariant &argument) const
{
    QVariant keyOrPosition = argument;
    // A field, a CValue or another object with a default member: its value is the key or
    // position, as a collection's Item takes it (xGlobal.getItem(rs("n"))).
    if (argument.metaType() == QMetaType::fromType<vbs::Value>()) {
        const vbs::Value v = argument.value<vbs::Value>();
        if (v.isObject())
            keyOrPosition = vbs::toVariant(vbs::defaultValue(v));
    }
    const int type = keyOrPosition.metaType().id();
    if (type == QMetaType::QString || type == QMetaType::QByteArray)
        return fold(keyOrPosition.toString());
    bool numeric = false;
    const double position = keyOrPosition.toDouble(&numeric);
    if (!numeric)
        return std::nullopt;
    const qsizetype i = qsizetype(std::llround(position)) - 1;
    if (i < 0 || i >= m_order.size())
        return std::nullopt;
    return m_order.at(i);
}

QVariant cCollectionContainer::getItem(const QVariant &keyOrPosition) const
{
    const auto k = keyOf(keyOrPosition);
    return k ? m_items.value(*k).value : QVariant();
}

bool cCollectionContainer::removeItem(const QVariant &keyOrPosition)
{
    const auto k = keyOf(keyOrPosition);
    if (!k || !m_items.remove(*k))
        return false;
    m_order.removeOne(*k);
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
