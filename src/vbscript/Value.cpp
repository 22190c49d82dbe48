#include "Value.h"

#include "HostObject.h"
#include "Resources.h"
#include "ScriptError.h"

#include <vector>

namespace vbs {

// Objects and arrays whose last reference went while another was being freed, in release order.
struct ReleaseQueue {
    bool draining = false;
    size_t head = 0;
    std::vector<HostObject *> objects; // nullptr entries stand for the next array
    std::vector<ArrayData *> arrays;
    size_t arrayHead = 0;

    static ReleaseQueue &local()
    {
        thread_local ReleaseQueue q;
        return q;
    }
    template <class F> void run(F &&first)
    {
        draining = true;
        struct Done {
            ReleaseQueue &q;
            ~Done()
            {
                q.draining = false;
                q.objects.clear();
                q.arrays.clear();
                q.head = q.arrayHead = 0;
            }
        } done{*this};
        first();
        while (head < objects.size()) {
            HostObject *o = objects[head++];
            if (o)
                o->finalRelease();
            else
                delete arrays[arrayHead++];
        }
    }
};

void HostObject::lastRelease(HostObject *o)
{
    ReleaseQueue &q = ReleaseQueue::local();
    if (q.draining) {
        q.objects.push_back(o);
        return;
    }
    q.run([o] { o->finalRelease(); });
}

void ArrayData::lastRelease(ArrayData *a)
{
    ReleaseQueue &q = ReleaseQueue::local();
    if (q.draining) {
        q.objects.push_back(nullptr);
        q.arrays.push_back(a);
        return;
    }
    q.run([a] { delete a; });
}

const Value &checkedFromHost(const Value &v)
{
    auto check = [](const Value &x) {
        if (x.isString()) {
            if (x.rawString().size() > kMaxStringLength)
                raise(14);
            chargeMemory(size_t(x.rawString().size()) * 2);
        }
    };
    check(v);
    if (v.isArray()) {
        const ArrayData *a = v.rawArray();
        if (a->items.size() > (size_t(1) << 26))
            raise(7);
        chargeMemory(a->items.size() * sizeof(Value));
        for (const Value &x : a->items)
            check(x);
    }
    return v;
}

ReleaseImmediately::ReleaseImmediately() : saved(ReleaseQueue::local().draining)
{
    ReleaseQueue &q = ReleaseQueue::local();
    if (saved) {
        // hand what is queued so far to the nested run; the outer loop then finds an empty queue
        q.draining = false;
    }
}

ReleaseImmediately::~ReleaseImmediately()
{
    ReleaseQueue::local().draining = saved;
}

Value Value::object(HostObject *o)
{
    Value v;
    v.m_type = VarType::Object;
    v.m_obj = o;
    if (o)
        o->addRef();
    return v;
}

Value Value::array(ArrayData *a)
{
    Value v;
    v.m_type = VarType::Array;
    v.m_arr = a;
    a->addRef();
    return v;
}

Value Value::fromInt(int64_t n)
{
    if (n >= -32768 && n <= 32767)
        return integer(int16_t(n));
    if (n >= INT32_MIN && n <= INT32_MAX)
        return lng(int32_t(n));
    return dbl(double(n));
}

void Value::copyFrom(const Value &o)
{
    m_type = o.m_type;
    switch (m_type) {
    case VarType::String:
        new (&m_str) QString(o.m_str);
        break;
    case VarType::Object:
        m_obj = o.m_obj;
        if (m_obj)
            m_obj->addRef();
        break;
    case VarType::Array:
        m_arr = o.m_arr;
        m_arr->addRef();
        break;
    default:
        m_i64 = o.m_i64;
    }
}

void Value::destroy()
{
    switch (m_type) {
    case VarType::String:
        m_str.~QString();
        break;
    case VarType::Object:
        if (m_obj) {
            HostObject *o = m_obj;
            m_type = VarType::Empty;
            m_obj = nullptr;
            o->release(); // may run script (Class_Terminate); this slot is already clean
        }
        break;
    case VarType::Array:
        m_arr->release();
        break;
    default:
        break;
    }
}

ArrayData *Value::mutableArray()
{
    if (m_type != VarType::Array)
        return nullptr;
    if (m_arr->refs() > 1) {
        chargeMemory(m_arr->items.size() * sizeof(Value));
        auto *copy = new ArrayData;
        copy->bounds = m_arr->bounds;
        copy->items = m_arr->items;
        copy->fixedSize = m_arr->fixedSize;
        copy->addRef();
        m_arr->release();
        m_arr = copy;
    }
    return m_arr;
}

int Value::varTypeCode() const
{
    if (m_type == VarType::Array)
        return 8204;
    return int(m_type);
}

void ArrayData::resize(const std::vector<int> &newBounds, bool preserve)
{
    size_t total = 1;
    for (int b : newBounds) {
        if (b < -1)
            raise(9);
        total *= size_t(b + 1);
        if (total > (size_t(1) << 26)) // 64 M elements: refuse rather than exhaust the host's memory
            raise(7);
    }
    if (total > items.size())
        chargeMemory((total - items.size()) * sizeof(Value));
    if (!preserve) {
        bounds = newBounds;
        items.assign(total, Value());
        return;
    }
    if (newBounds.size() != bounds.size())
        raise(9);
    // Preserve may change only the last dimension, so the flat prefix stays in place.
    for (size_t i = 0; i + 1 < bounds.size(); ++i) {
        if (bounds[i] != newBounds[i])
            raise(9);
    }
    bounds = newBounds;
    items.resize(total);
}

bool Args::isMissing(int i) const
{
    if (i < 0 || i >= m_n)
        return true;
    const Value &v = *m_slots[i];
    return v.type() == VarType::Error && int32_t(v.rawInt()) == int32_t(0x80020004u);
}

} // namespace vbs
