#include "Convert.h"
#include "Engine.h"
#include "Interpreter.h"

#include <QHash>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPointer>

#include <memory>
#include <unordered_map>

namespace vbs {

namespace {

// Members of one QObject class by lower-cased name, built once per class.
struct MetaIndex {
    struct Entry {
        int property = -1;
        std::vector<int> methods; // overloads (default arguments give one per count)
    };
    QHash<QString, Entry> members;
    QString defaultMember; // Q_CLASSINFO("DefaultMember", "...")
};

const MetaIndex &indexFor(const QMetaObject *mo)
{
    // entries never move, so references stay valid while a call re-enters the engine
    thread_local std::unordered_map<const QMetaObject *, std::unique_ptr<MetaIndex>> cache;
    auto it = cache.find(mo);
    if (it != cache.end())
        return *it->second;
    auto owned = std::make_unique<MetaIndex>();
    MetaIndex &idx = *owned;
    for (int i = 0; i < mo->propertyCount(); ++i)
        idx.members[QString::fromLatin1(mo->property(i).name()).toLower()].property = i;
    for (int i = 0; i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.access() != QMetaMethod::Public)
            continue;
        if (m.methodType() != QMetaMethod::Method && m.methodType() != QMetaMethod::Slot)
            continue;
        if (i < QObject::staticMetaObject.methodCount())
            continue; // deleteLater and friends stay hidden
        idx.members[QString::fromLatin1(m.name()).toLower()].methods.push_back(i);
    }
    const int ci = mo->indexOfClassInfo("DefaultMember");
    if (ci >= 0)
        idx.defaultMember = QString::fromLatin1(mo->classInfo(ci).value()).toLower();
    return *cache.emplace(mo, std::move(owned)).first->second;
}

QObject *qobjectOf(const Value &v);

QVariant convertArg(const Value &v, QMetaType type)
{
    if (type == QMetaType::fromType<QVariant>())
        return toVariant(v);
    if (type == QMetaType::fromType<Value>())
        return QVariant::fromValue(v);
    if (type.flags() & QMetaType::PointerToQObject) {
        QVariant r = QVariant::fromValue(qobjectOf(v));
        if (!r.convert(type))
            raise(13);
        return r;
    }
    QVariant q;
    switch (type.id()) {
    case QMetaType::QString:
        q = QVariant(toString(v));
        break;
    case QMetaType::Bool:
        q = QVariant(toBool(v));
        break;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
        q = QVariant(toLong(v));
        break;
    case QMetaType::LongLong:
        q = QVariant(qlonglong(std::llround(toDouble(v))));
        break;
    case QMetaType::Double:
        q = QVariant(toDouble(v));
        break;
    case QMetaType::Float:
        q = QVariant(float(toDouble(v)));
        break;
    default:
        q = toVariant(v);
    }
    if (q.metaType() != type && !q.convert(type))
        raise(13);
    return q;
}

} // namespace

class QObjectHost;

// One wrapper per live QObject, so the same object is the same script object (Is compares equal).
static thread_local QHash<QObject *, QObjectHost *> g_wrappers;

class QObjectHost : public HostObject {
public:
    QObjectHost(QObject *o, bool owned) : m_obj(o), m_key(o), m_owned(owned) { g_wrappers.insert(o, this); }
    ~QObjectHost() override
    {
        auto it = g_wrappers.find(m_key);
        if (it != g_wrappers.end() && it.value() == this)
            g_wrappers.erase(it);
        // A factory object the script let go of; one given a parent meanwhile belongs to that parent.
        if (m_owned && m_obj && !m_obj->parent())
            delete m_obj.data();
    }
    QObject *object() const { return m_obj.data(); }

    QString typeName() const override
    {
        return m_obj ? QString::fromLatin1(m_obj->metaObject()->className()) : QStringLiteral("Nothing");
    }

    bool get(const Name &name, Args &args, Value &result) override
    {
        QObject *o = live();
        const MetaIndex &idx = indexFor(o->metaObject());
        auto it = idx.members.constFind(name.key);
        if (it == idx.members.constEnd()) {
            const QVariant dyn = o->property(name.text.toLatin1().constData());
            if (dyn.isValid() && args.isEmpty()) {
                result = fromVariant(dyn);
                return true;
            }
            return false;
        }
        const MetaIndex::Entry &e = it.value();
        if (!e.methods.empty() && (e.property < 0 || !args.isEmpty())) {
            result = invoke(o, e.methods, args);
            return true;
        }
        if (e.property >= 0) {
            const Value v = fromVariant(o->metaObject()->property(e.property).read(o));
            if (args.isEmpty()) {
                result = v;
                return true;
            }
            if (v.isArray()) {
                Value copy = v;
                ArrayData *a = copy.rawArray();
                if (args.size() != a->dims())
                    raise(9);
                const int i = toLong(args[0]);
                if (a->dims() != 1 || i < 0 || size_t(i) >= a->items.size())
                    raise(9);
                result = a->items[size_t(i)];
                return true;
            }
            if (v.isObject() && v.rawObject()) {
                if (!v.rawObject()->getDefault(args, result))
                    raise(438);
                return true;
            }
            raise(450);
        }
        return false;
    }

    bool set(const Name &name, Args &args, const Value &value, bool) override
    {
        QObject *o = live();
        const MetaIndex &idx = indexFor(o->metaObject());
        auto it = idx.members.constFind(name.key);
        if (it == idx.members.constEnd() || it.value().property < 0) {
            if (o->property(name.text.toLatin1().constData()).isValid()) {
                o->setProperty(name.text.toLatin1().constData(), toVariant(value));
                return true;
            }
            return false;
        }
        if (!args.isEmpty())
            raise(450);
        const QMetaProperty p = o->metaObject()->property(it.value().property);
        if (!p.isWritable())
            raise(5008);
        if (!p.write(o, convertArg(value, p.metaType())))
            raise(13);
        return true;
    }

    bool getDefault(Args &args, Value &result) override
    {
        QObject *o = live();
        const MetaIndex &idx = indexFor(o->metaObject());
        if (idx.defaultMember.isEmpty())
            return false;
        Name n{-1, idx.defaultMember, idx.defaultMember};
        return get(n, args, result);
    }

    bool setDefault(Args &args, const Value &value) override
    {
        QObject *o = live();
        const MetaIndex &idx = indexFor(o->metaObject());
        if (idx.defaultMember.isEmpty())
            return false;
        Name n{-1, idx.defaultMember, idx.defaultMember};
        return set(n, args, value, false);
    }

private:
    QObject *live() const
    {
        if (!m_obj)
            raise(91);
        return m_obj.data();
    }

    static Value invoke(QObject *o, const std::vector<int> &overloads, Args &args)
    {
        const QMetaObject *mo = o->metaObject();
        int chosen = -1;
        for (int i : overloads)
            if (mo->method(i).parameterCount() == args.size())
                chosen = i;
        if (chosen < 0)
            raise(450);
        const QMetaMethod m = mo->method(chosen);
        const int pc = m.parameterCount();
        std::vector<QVariant> storage(static_cast<size_t>(pc));
        // As many slots as the method has parameters: constructors of report objects take 14.
        std::vector<void *> argv(static_cast<size_t>(pc) + 1, nullptr);
        const QMetaType rt = m.returnMetaType();
        QVariant ret;
        if (rt.isValid() && rt.id() != QMetaType::Void) {
            ret = QVariant(rt);
            argv[0] = ret.data();
        }
        for (int i = 0; i < pc; ++i) {
            const QMetaType t = m.parameterMetaType(i);
            if (t == QMetaType::fromType<QVariant>()) {
                storage[size_t(i)] = toVariant(args[i]);
                argv[i + 1] = &storage[size_t(i)];
            } else {
                storage[size_t(i)] = convertArg(args[i], t);
                argv[i + 1] = storage[size_t(i)].data();
            }
        }
        QMetaObject::metacall(o, QMetaObject::InvokeMetaMethod, chosen, argv.data());
        if (!ret.isValid())
            return Value();
        if (rt == QMetaType::fromType<QVariant>())
            return fromVariant(*static_cast<QVariant *>(ret.data()));
        if (rt.flags() & QMetaType::PointerToQObject)
            return Value::object(wrapReturned(*static_cast<QObject **>(ret.data())));
        return fromVariant(ret);
    }

public:
    static HostObjectRef wrapReturned(QObject *object);

private:
    QPointer<QObject> m_obj;
    QObject *m_key; // the address registered in g_wrappers, even after the object is gone
    bool m_owned;   // deleted with the wrapper: a parentless object a method handed to the script
};

namespace {
QObject *qobjectOf(const Value &v)
{
    if (!v.isObject() || !v.rawObject())
        return nullptr;
    auto *h = dynamic_cast<QObjectHost *>(v.rawObject());
    if (!h)
        raise(13);
    return h->object();
}
} // namespace

namespace {
QObjectHost *existingWrapper(QObject *object)
{
    auto it = g_wrappers.constFind(object);
    if (it != g_wrappers.constEnd() && it.value()->object() == object)
        return it.value();
    return nullptr;
}
} // namespace

HostObjectRef wrapQObject(QObject *object)
{
    if (!object)
        return {};
    if (QObjectHost *h = existingWrapper(object))
        return HostObjectRef(h);
    return HostObjectRef(new QObjectHost(object, false));
}

HostObjectRef wrapReturnedQObject(QObject *object)
{
    return QObjectHost::wrapReturned(object);
}

// As in QJSEngine: a parentless object returned by an invokable method is the script's and goes
// with its last reference; an object the script already knows keeps the ownership it had.
HostObjectRef QObjectHost::wrapReturned(QObject *object)
{
    if (!object)
        return {};
    if (QObjectHost *h = existingWrapper(object))
        return HostObjectRef(h);
    return HostObjectRef(new QObjectHost(object, object->parent() == nullptr));
}

} // namespace vbs
