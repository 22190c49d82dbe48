#include "ScriptObjects.h"

#include "AdoObjects.h"
#include "CValue.h"
#include "Convert.h"
#include "Engine.h"
#include "cAplication.h"
#include "cCollectionContainer.h"
#include "cConfigure.h"
#include "cObjectFactory.h"
#include "cStringHost.h"
#include "cSucursal.h"

namespace {

bool isObject(const QVariant &v)
{
    return (v.metaType().flags() & QMetaType::PointerToQObject) ||
           v.metaType() == QMetaType::fromType<vbs::Value>();
}

// The data type a plain value gets in its wrapper, so that ValueToDb writes it as it is.
QString tipoOf(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return QStringLiteral("S");
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return QStringLiteral("F");
    case QMetaType::QString:
    case QMetaType::UnknownType:
        return QStringLiteral("T");
    default:
        return v.canConvert<double>() ? QStringLiteral("N") : QStringLiteral("T");
    }
}

} // namespace

ScriptObjects::ScriptObjects() = default;
ScriptObjects::~ScriptObjects() = default;
ScriptObjects::ScriptObjects(ScriptObjects &&) noexcept = default;
ScriptObjects &ScriptObjects::operator=(ScriptObjects &&) noexcept = default;

int ScriptObjects::indexOf(const QString &name) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i]->key().compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void ScriptObjects::add(const QString &name, const QVariant &object)
{
    // A script value that is not an object is a plain value like any other.
    const QVariant value =
        object.metaType() == QMetaType::fromType<vbs::Value>() && !object.value<vbs::Value>().isObject()
            ? vbs::toVariant(object.value<vbs::Value>())
            : object;
    auto item = std::make_unique<CValue>(name, QVariant(), QStringLiteral("O"));
    if (isObject(value)) {
        item->setValue(value);
    } else {
        // The wrapper belongs to the pair, so it lives exactly as long as the name does.
        auto *wrapper = new CValue(name, value, tipoOf(value), item.get());
        item->setValue(QVariant::fromValue<QObject *>(wrapper));
    }
    const int i = indexOf(name);
    if (i >= 0)
        m_items[size_t(i)] = std::move(item);
    else
        m_items.push_back(std::move(item));
}

bool ScriptObjects::contains(const QString &name) const
{
    return indexOf(name) >= 0;
}

QVariant ScriptObjects::get(const QString &name) const
{
    const int i = indexOf(name);
    return i >= 0 ? m_items[size_t(i)]->value() : QVariant();
}

void ScriptObjects::clear()
{
    m_items.clear();
}

QStringList ScriptObjects::names() const
{
    QStringList list;
    for (const auto &item : m_items)
        list << item->key();
    return list;
}

void ScriptObjects::addTo(vbs::Engine &engine) const
{
    for (const auto &item : m_items) {
        const QVariant v = item->value();
        if (v.metaType() == QMetaType::fromType<vbs::Value>()) {
            const vbs::Value object = v.value<vbs::Value>();
            engine.addObject(item->key(), vbs::HostObjectRef(object.rawObject()));
        } else {
            engine.addObject(item->key(), v.value<QObject *>());
        }
    }
}

ScriptObjects buildScriptObjects(const ScriptServices &services)
{
    const auto host = [](const vbs::HostObjectRef &object) {
        return QVariant::fromValue(vbs::Value::object(object));
    };
    ScriptObjects list;
    list.add(QStringLiteral("xConfig"), QVariant::fromValue<QObject *>(&services.config));
    list.add(QStringLiteral("cn"), host(ado::sharedConnection(services.connections)));
    list.add(QStringLiteral("xLibStr"), host(cStringHost::create(&services.string)));
    if (services.ticketPrinter)
        list.add(QStringLiteral("xTicketPrinter"), QVariant::fromValue(services.ticketPrinter));
    list.add(QStringLiteral("xApp"), QVariant::fromValue<QObject *>(&services.app));
    list.add(QStringLiteral("xFactory"), host(services.factory.scriptHost()));
    list.add(QStringLiteral("xGlobal"), QVariant::fromValue<QObject *>(&services.global));
    return list;
}

void prepareScriptEngine(vbs::Engine &engine)
{
    ado::registerProgIds(engine);
    // A branch's Connection reaches scripts as an ADO connection, which only this layer makes.
    cSucursal::setScriptConnectionMaker([](ConnectionProvider &provider) {
        return QVariant::fromValue(vbs::Value::object(ado::sharedConnection(provider)));
    });
    // xApp.getImageFromRecordSet(rs, field): the field through the recordset's default member;
    // binary values reach scripts one character per byte.
    cAplication::setFieldReader([](const QVariant &rs, const QString &field) -> std::optional<QByteArray> {
        if (rs.metaType() != QMetaType::fromType<vbs::Value>())
            return std::nullopt;
        const vbs::Value object = rs.value<vbs::Value>();
        if (!object.isObject() || !object.rawObject())
            return std::nullopt;
        vbs::Value name(field);
        vbs::Value *items[] = {&name};
        vbs::Args args(items, 1);
        vbs::Value found;
        if (!object.rawObject()->getDefault(args, found))
            return std::nullopt;
        const vbs::Value value = vbs::defaultValue(found);
        if (value.isNull() || value.isEmpty())
            return QByteArray();
        return vbs::toString(value).toLatin1();
    });
}
