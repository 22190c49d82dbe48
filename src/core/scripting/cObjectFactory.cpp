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

bool cObjectFactory::hasConstructor(const QString &member) const
{
    return m_constructors.contains(member.toCaseFolded());
}

namespace {

// The factory's invokable members, every registered class by its member name, and the
// constructors with however many arguments a class takes (the meta-object's methods would need a
// declaration per class and argument count).
class FactoryHost : public vbs::HostObject {
public:
    explicit FactoryHost(cObjectFactory *factory) : m_factory(factory), m_members(vbs::wrapQObject(factory))
    {
    }
    QString typeName() const override { return QStringLiteral("cObjectFactory"); }
    bool get(const vbs::Name &name, vbs::Args &args, vbs::Value &result) override
    {
        if (m_factory->hasConstructor(name.text)) {
            QVariantList values;
            for (int i = 0; i < args.size(); ++i)
                values << (args.isMissing(i) ? QVariant() : vbs::toVariant(args[i]));
            result = vbs::Value::object(vbs::wrapReturnedQObject(m_factory->construct(name.text, values)));
            return true;
        }
        if (m_members->get(name, args, result))
            return true;
        // A class registered later (newcReporte, newcArticulo …) is a member too.
        if (args.isEmpty() && m_factory->hasClass(name.text)) {
            result = vbs::Value::object(vbs::wrapReturnedQObject(m_factory->create(name.text)));
            return true;
        }
        return false;
    }
    bool set(const vbs::Name &name, vbs::Args &args, const vbs::Value &value, bool isSet) override
    {
        return m_members->set(name, args, value, isSet);
    }

private:
    cObjectFactory *m_factory;
    vbs::HostObjectRef m_members;
};

} // namespace

vbs::HostObjectRef cObjectFactory::scriptHost()
{
    return vbs::HostObjectRef(new FactoryHost(this));
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
