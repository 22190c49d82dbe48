#pragma once

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace vbs {

// VarType() codes; Array is or-ed with Variant for arrays.
enum class VarType : uint8_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Byte = 17,
    Array = 64, // internal tag; VarType() reports 8204
};

class HostObject;
class ArrayData;

// Intrusive reference-counted pointer; objects die (and Class_Terminate runs) at the last release.
template <class T> class Ref {
public:
    Ref() = default;
    Ref(T *p) : m_p(p)
    {
        if (m_p)
            m_p->addRef();
    }
    Ref(const Ref &o) : m_p(o.m_p)
    {
        if (m_p)
            m_p->addRef();
    }
    Ref(Ref &&o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    template <class U> Ref(const Ref<U> &o) : m_p(o.get())
    {
        if (m_p)
            m_p->addRef();
    }
    ~Ref()
    {
        if (m_p)
            m_p->release();
    }
    Ref &operator=(Ref o) noexcept
    {
        std::swap(m_p, o.m_p);
        return *this;
    }
    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    T &operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T *m_p = nullptr;
};

template <class T, class... A> Ref<T> makeRef(A &&...a)
{
    return Ref<T>(new T(std::forward<A>(a)...));
}

// A VBScript Variant. Small and cheap to copy: strings are implicitly shared, objects and arrays
// are reference counted (arrays copy on write, as VBScript arrays are values).
class Value {
public:
    Value() : m_type(VarType::Empty) { m_i64 = 0; }
    Value(const Value &o) { copyFrom(o); }
    Value(Value &&o) noexcept { moveFrom(o); }
    Value(const QString &s) : m_type(VarType::String) { new (&m_str) QString(s); }
    Value(QString &&s) : m_type(VarType::String) { new (&m_str) QString(std::move(s)); }
    Value(const char *) = delete;
    ~Value()
    {
        if (m_type >= VarType::String)
            destroy();
    }
    Value &operator=(const Value &o)
    {
        if (this != &o) {
            clear();
            copyFrom(o);
        }
        return *this;
    }
    Value &operator=(Value &&o) noexcept
    {
        if (this != &o) {
            clear();
            moveFrom(o);
        }
        return *this;
    }

    static Value null()
    {
        Value v;
        v.m_type = VarType::Null;
        return v;
    }
    static Value boolean(bool b)
    {
        Value v;
        v.m_type = VarType::Boolean;
        v.m_bool = b;
        return v;
    }
    static Value byte(uint8_t b)
    {
        Value v;
        v.m_type = VarType::Byte;
        v.m_i64 = b;
        return v;
    }
    static Value integer(int16_t i)
    {
        Value v;
        v.m_type = VarType::Integer;
        v.m_i64 = i;
        return v;
    }
    static Value lng(int32_t i)
    {
        Value v;
        v.m_type = VarType::Long;
        v.m_i64 = i;
        return v;
    }
    static Value single(float f)
    {
        Value v;
        v.m_type = VarType::Single;
        v.m_dbl = f;
        return v;
    }
    static Value dbl(double d)
    {
        Value v;
        v.m_type = VarType::Double;
        v.m_dbl = d;
        return v;
    }
    static Value currencyRaw(int64_t scaled)
    {
        Value v;
        v.m_type = VarType::Currency;
        v.m_i64 = scaled;
        return v;
    }
    static Value date(double serial)
    {
        Value v;
        v.m_type = VarType::Date;
        v.m_dbl = serial;
        return v;
    }
    static Value error(int32_t code)
    {
        Value v;
        v.m_type = VarType::Error;
        v.m_i64 = code;
        return v;
    }
    static Value string(const QString &s) { return Value(s); }
    static Value object(HostObject *o); // nullptr gives Nothing
    static Value object(const Ref<HostObject> &o) { return object(o.get()); }
    static Value nothing() { return object(nullptr); }
    static Value array(ArrayData *a);
    // Smallest integer subtype holding n (Integer, Long, else Double), as literals and results do.
    static Value fromInt(int64_t n);

    VarType type() const { return m_type; }
    bool isEmpty() const { return m_type == VarType::Empty; }
    bool isNull() const { return m_type == VarType::Null; }
    bool isString() const { return m_type == VarType::String; }
    bool isObject() const { return m_type == VarType::Object; }
    bool isArray() const { return m_type == VarType::Array; }
    bool isNothing() const { return m_type == VarType::Object && !m_obj; }
    // Numeric subtypes in the VBScript sense (Boolean, Date and Empty excluded).
    bool isNumber() const
    {
        return m_type == VarType::Integer || m_type == VarType::Long || m_type == VarType::Double ||
               m_type == VarType::Single || m_type == VarType::Currency || m_type == VarType::Byte;
    }
    bool isIntegral() const
    {
        return m_type == VarType::Integer || m_type == VarType::Long || m_type == VarType::Byte ||
               m_type == VarType::Boolean;
    }

    // Raw accessors: valid only for the matching subtype.
    bool rawBool() const { return m_bool; }
    int64_t rawInt() const { return m_i64; }   // Byte, Integer, Long, Error, Currency (scaled)
    double rawDouble() const { return m_dbl; } // Single, Double, Date
    const QString &rawString() const { return m_str; }
    HostObject *rawObject() const { return m_obj; }
    ArrayData *rawArray() const { return m_arr; }
    ArrayData *mutableArray();                          // detaches a shared array first
    void appendString(const QString &s) { m_str += s; } // String subtype only: s = s & x in place

    int varTypeCode() const; // what VarType() returns
    void clear()
    {
        if (m_type >= VarType::String)
            destroy();
        m_type = VarType::Empty;
        m_i64 = 0;
    }

private:
    void copyFrom(const Value &o);
    void moveFrom(Value &o) noexcept
    {
        m_type = o.m_type;
        if (m_type == VarType::String) {
            new (&m_str) QString(std::move(o.m_str));
            o.m_str.~QString();
        } else {
            m_i64 = o.m_i64;
        }
        o.m_type = VarType::Empty;
        o.m_i64 = 0;
    }
    void destroy();

    VarType m_type;
    union {
        bool m_bool;
        int64_t m_i64;
        double m_dbl;
        QString m_str;
        HostObject *m_obj;
        ArrayData *m_arr;
    };
};

// Multi-dimensional array storage; element (i0, i1, ...) lives at i0 + n0 * (i1 + n1 * ...).
class ArrayData {
public:
    std::vector<int> bounds; // upper bound per dimension (lower bounds are 0)
    std::vector<Value> items;
    bool fixedSize = false; // declared with Dim a(n): ReDim refuses it
    int locks = 0;          // For Each in progress: Erase/ReDim refuse it

    void addRef() { ++m_refs; }
    void release()
    {
        if (--m_refs == 0)
            lastRelease(this);
    }
    int refs() const { return m_refs; }
    void resize(const std::vector<int> &newBounds, bool preserve);
    int dims() const { return int(bounds.size()); }

private:
    static void lastRelease(ArrayData *a); // arrays of arrays are freed in a loop, see HostObject
    int m_refs = 0;
};

// While alive, objects and arrays released on this thread are freed at once, not queued (the
// script in Class_Terminate sees its releases take effect).
struct ReleaseImmediately {
    ReleaseImmediately();
    ~ReleaseImmediately();
    bool saved;
};

using ValueList = std::vector<Value>;

// Longest text a script may build (64 M characters): beyond it "Out of string space", not host exhaustion.
constexpr int kMaxStringLength = 1 << 26;

} // namespace vbs
