#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// A keyed bag of values shared between scripts and windows ("xGlobal"). Keys compare without
// regard to case, as script names do; insertion order is kept and items are also reached by
// their 1-based position. Values may be plain values, QObject pointers (not owned) or script
// objects (held while they are in the bag).
class cCollectionContainer : public QObject {
    Q_OBJECT
    Q_PROPERTY(int count READ count)
public:
    explicit cCollectionContainer(QObject *parent = nullptr);

    // Scripts write addObject(xObj, sKey): the value first. Adding under a key already present
    // replaces its value and keeps its place. Instances of a script's own classes are refused:
    // they cannot outlive the run that made them.
    Q_INVOKABLE void addObject(const QVariant &xObj, const QString &sKey);
    // By key (text) or by 1-based position (number); Empty when there is no such item.
    Q_INVOKABLE QVariant getItem(const QVariant &vVariant) const;
    Q_INVOKABLE QVariant getObject(const QVariant &vVariant) const { return getItem(vVariant); }
    // By key or position; false when there was nothing to remove.
    Q_INVOKABLE bool removeItem(const QVariant &vVariant);
    Q_INVOKABLE bool existsItem(const QString &key) const;
    Q_INVOKABLE bool existsValue(const QString &key) const { return existsItem(key); }
    Q_INVOKABLE int count() const { return int(m_order.size()); }
    Q_INVOKABLE int getCount() const { return count(); }
    Q_INVOKABLE void clear();
    Q_INVOKABLE void RemoveAll() { clear(); }
    // Keys as they were first added.
    Q_INVOKABLE QStringList keys() const;

private:
    struct Item {
        QString key; // as first added
        QVariant value;
    };
    static QString fold(const QString &key) { return key.toCaseFolded(); }
    // The folded key an argument names: text is a key, a number a 1-based position.
    std::optional<QString> keyOf(const QVariant &keyOrPosition) const;

    QHash<QString, Item> m_items; // by folded key
    QStringList m_order;          // folded keys in insertion order
};
