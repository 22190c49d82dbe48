#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <functional>

// Hands scripts ("xFactory") fresh instances of the program's classes, one member per class.
// Classes that arrive later register a creator under their member name (registerClass) and,
// for scripts that call the member directly, get a Q_INVOKABLE forwarding to create().
// The caller owns what it receives: the script engine deletes a parentless object returned by a
// member when the script's last reference to it goes.
class cObjectFactory : public QObject {
    Q_OBJECT
public:
    using Creator = std::function<QObject *()>;

    explicit cObjectFactory(QObject *parent = nullptr);

    // Member names compare without regard to case; a second registration replaces the first.
    void registerClass(const QString &member, Creator creator);
    bool hasClass(const QString &member) const;
    QStringList members() const;

    // A new instance by member name ("newcCollectionContainer"); nullptr for an unknown one.
    Q_INVOKABLE QObject *create(const QString &member) const;

    Q_INVOKABLE QObject *newcCollectionContainer() const;
    Q_INVOKABLE QObject *NewCollection() const { return create(QStringLiteral("NewCollection")); }
    Q_INVOKABLE QObject *newCValue() const { return create(QStringLiteral("newCValue")); }
    // The ADO objects are script objects, not QObjects: they come as a script value in a QVariant.
    Q_INVOKABLE QVariant newADODBConnection() const;
    Q_INVOKABLE QVariant newADODBRecordSet() const;
    // Registered by the program's services, which know what these classes need.
    Q_INVOKABLE QObject *newcString() const { return create(QStringLiteral("newcString")); }
    Q_INVOKABLE QObject *newcDatabase() const { return create(QStringLiteral("newcDatabase")); }
    Q_INVOKABLE QObject *newcSucursal() const { return create(QStringLiteral("newcSucursal")); }

private:
    QHash<QString, std::pair<QString, Creator>> m_creators; // folded name -> (name, creator)
};
