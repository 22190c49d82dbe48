#include "Value.h"

#include "HostObject.h"
#include "ScriptError.h"

namespace vbs {

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
    const Value &v = *m_slots[i];
    return v.type() == VarType::Error && int32_t(v.rawInt()) == int32_t(0x80020004u);
}

} // namespace vbs
