#pragma once

#include "HostObject.h"

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
    // A class whose constructor takes arguments (the report objects: name, top, left …).
    using Constructor = std::function<QObject *(const QVariantList &args)>;

    explicit cObjectFactory(QObject *parent = nullptr);

    // Member names compare without regard to case; a second registration replaces the first.
    void registerClass(const QString &member, Creator creator);
    bool hasClass(const QString &member) const;
    // Scripts reach these members with any number of arguments through scriptHost().
    void registerConstructor(const QString &member, Constructor constructor);
    bool hasConstructor(const QString &member) const;
    // A new instance from the arguments given (trailing Empty ones dropped); nullptr when unknown.
    QObject *construct(const QString &member, QVariantList args) const;
    QStringList members() const;

    // A new instance by member name ("newcCollectionContainer"); nullptr for an unknown one.
    Q_INVOKABLE QObject *create(const QString &member) const;
    // "xFactory" as scripts see it: the members below, and every registered constructor
    // (xFactory.NewcPrintField("Importe", 0, 120, 5, 30, …)).
    vbs::HostObjectRef scriptHost();

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
    QHash<QString, std::pair<QString, Creator>> m_creators;
    QHash<QString, Constructor> m_constructors; // folded name // folded name -> (name, creator)
};
