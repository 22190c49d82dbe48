#include "cObjectFactory.h"

#include "AdoObjects.h"
#include "CValue.h"
#include "cCollectionContainer.h"

#include "Engine.h"

cObjectFactory::cObjectFactory(QObject *parent) : QObject(parent)
{
    registerClass(QStringLiteral("newcCollectionContainer"), [] { return new cCollectionContainer; });
    registerClass(QStringLiteral("NewCollection"), [] { return new cCollectionContainer; });
    registerClass(QStringLiteral("newCValue"), [] { return new CValue; });
}

void cObjectFactory::registerClass(const QString &member, Creator creator)
{
    m_creators.insert(member.toCaseFolded(), {member, std::move(creator)});
}

bool cObjectFactory::hasClass(const QString &member) const
{
    return m_creators.contains(member.toCaseFolded());
}

void cObjectFactory::registerConstructor(const QString &member, Constructor constructor)
{
    m_constructors.insert(member.toCaseFolded(), std::move(constructor));
    registerClass(member, [this, member] { return construct(member, {}); });
}

QObject *cObjectFactory::construct(const QString &member, QVariantList args) const
{
    const auto it = m_constructors.constFind(member.toCaseFolded());
    if (it == m_constructors.cend() || !*it)
        return nullptr;
    while (!args.isEmpty() && !args.last().isValid())
        args.removeLast();
    return (*it)(args);
}

QStringList cObjectFactory::members() const
{
    QStringList out;
    for (const auto &entry : m_creators)
        out << entry.first;
    out.sort(Qt::CaseInsensitive);
    return out;
}

QObject *cObjectFactory::create(const QString &member) const
{
    const auto it = m_creators.constFind(member.toCaseFolded());
    if (it == m_creators.cend() || !it->second)
        return nullptr;
    return it->second();
}

QObject *cObjectFactory::newcCollectionContainer() const
{
    return create(QStringLiteral("newcCollectionContainer"));
}

QVariant cObjectFactory::newADODBConnection() const
{
    return QVariant::fromValue(vbs::Value::object(ado::newConnection()));
}

QVariant cObjectFactory::newADODBRecordSet() const
{
    return QVariant::fromValue(vbs::Value::object(ado::newRecordset()));
}
