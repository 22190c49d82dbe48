#include "cObjectFactory.h"

#include "cCollectionContainer.h"

cObjectFactory::cObjectFactory(QObject *parent) : QObject(parent)
{
    registerClass(QStringLiteral("newcCollectionContainer"), [] { return new cCollectionContainer; });
}

void cObjectFactory::registerClass(const QString &member, Creator creator)
{
    m_creators.insert(member.toCaseFolded(), {member, std::move(creator)});
}

bool cObjectFactory::hasClass(const QString &member) const
{
    return m_creators.contains(member.toCaseFolded());
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
