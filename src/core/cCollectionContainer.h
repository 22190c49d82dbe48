#pragma once

#include <QHash>
#include <QStringList>
#include <QObject>
#include <QString>
#include <QVariant>

// A keyed bag of values shared between scripts and windows ("xGlobal"). Keys compare without
// regard to case, as script names do; insertion order is kept. Values may be QObject pointers,
// which the bag does not own.
class cCollectionContainer : public QObject {
    Q_OBJECT
    Q_PROPERTY(int count READ count)
public:
    explicit cCollectionContainer(QObject *parent = nullptr);

    // Adds the value under key, replacing what the key held.
    Q_INVOKABLE void addObject(const QString &key, const QVariant &value);
    // The value under key; an empty QVariant when there is none.
    Q_INVOKABLE QVariant getItem(const QString &key) const;
    // False when there was nothing to remove.
    Q_INVOKABLE bool removeItem(const QString &key);
    Q_INVOKABLE bool existsItem(const QString &key) const;
    Q_INVOKABLE int count() const { return int(m_order.size()); }
    Q_INVOKABLE void clear();
    // Keys as they were first added.
    Q_INVOKABLE QStringList keys() const;

private:
    struct Item {
        QString key; // as first added
        QVariant value;
    };
    static QString fold(const QString &key) { return key.toCaseFolded(); }

    QHash<QString, Item> m_items; // by folded key
    QStringList m_order;          // folded keys in insertion order
};
