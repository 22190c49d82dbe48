#pragma once

#include "Decimal.h"

#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <initializer_list>
#include <type_traits>

namespace db {

// One value for a statement; takes Decimal and anything QVariant takes.
struct ParamValue {
    QVariant value;

    ParamValue(std::nullptr_t) {}
    template <typename T>
    ParamValue(const T &v)
    {
        if constexpr (std::is_same_v<T, QVariant>)
            value = v;
        else if constexpr (std::is_same_v<T, Decimal>)
            value = QVariant::fromValue(v);
        else if constexpr (std::is_constructible_v<QVariant, const T &>)
            value = QVariant(v);
        else
            value = QVariant::fromValue(v);
    }
};

// The values of a statement: positional for '?' placeholders, or named for ":name" ones.
//   conn.execute("update t set a = ? where k = ?", {precio, clave});
//   conn.execute("update t set a = :a where k = :k", QVariantMap{{"a", 1}, {"k", clave}});
class Params {
public:
    Params() = default;
    Params(const QVariantList &positional) : m_positional(positional) {}
    Params(const QVariantMap &named) : m_named(named), m_isNamed(true) {}
    Params(std::initializer_list<ParamValue> positional)
    {
        m_positional.reserve(qsizetype(positional.size()));
        for (const ParamValue &p : positional)
            m_positional.append(p.value);
    }

    bool isNamed() const { return m_isNamed; }
    bool isEmpty() const { return m_isNamed ? m_named.isEmpty() : m_positional.isEmpty(); }
    const QVariantList &positional() const { return m_positional; }
    const QVariantMap &named() const { return m_named; }

private:
    QVariantList m_positional;
    QVariantMap m_named;
    bool m_isNamed = false;
};

} // namespace db
