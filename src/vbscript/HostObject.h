#pragma once

#include "ScriptError.h"
#include "Value.h"

#include <QString>

namespace vbs {

class ClassInstance;

// A member name as the script wrote it; `key` is the lower-cased form to match on.
struct Name {
    int id = -1;
    QString text;
    QString key;
};

// Arguments of a member access. Each slot points at the caller's variable when the script passed a
// plain variable (so writing it is a ByRef result), otherwise at a temporary.
class Args {
public:
    Args(Value **items, int n) : m_slots(items), m_n(n) {}
    int size() const { return m_n; }
    bool isEmpty() const { return m_n == 0; }
    // A missing argument is "Wrong number of arguments" (450), never a read past the list.
    Value &operator[](int i)
    {
        if (i < 0 || i >= m_n)
            raise(450);
        return *m_slots[i];
    }
    const Value &at(int i) const
    {
        if (i < 0 || i >= m_n)
            raise(450);
        return *m_slots[i];
    }
    // An optional argument left out, as in f(1, , 3).
    bool isMissing(int i) const;

private:
    Value **m_slots;
    int m_n;
};

// The object interface scripts see: members reached by name without regard to case.
// Return false from get/set for "no such member" (the script gets error 438); throw vbs::ScriptError
// (see vbs::raise) for any other failure. Objects are reference counted by the engine; create them with
// `new` and hand them over in a Ref or Value.
class HostObject {
public:
    virtual ~HostObject() = default;

    void addRef() { ++m_refs; }
    void release()
    {
        if (--m_refs == 0)
            lastRelease(this);
    }
    int refCount() const { return m_refs; }

    // TypeName() of the object.
    virtual QString typeName() const { return QStringLiteral("Object"); }
    // Property read or method call: obj.Name or obj.Name(args).
    virtual bool get(const Name &name, Args &args, Value &result) { return false; }
    // Property write: obj.Name(args) = value; isSet for `Set obj.Name = ...`.
    virtual bool set(const Name &name, Args &args, const Value &value, bool isSet) { return false; }
    // Default member: obj(args) and obj used as a plain value.
    virtual bool getDefault(Args &args, Value &result) { return false; }
    virtual bool setDefault(Args &args, const Value &value) { return false; }
    // For Each: the items in order; false when the object is not a collection (error 451).
    virtual bool enumerate(ValueList &items) { return false; }

    virtual ClassInstance *asClassInstance() { return nullptr; }

protected:
    virtual void finalRelease() { delete this; }

private:
    friend struct ReleaseQueue;
    // Runs finalRelease; objects freed by another object's destruction wait in a queue, so a long
    // chain of objects is freed in a loop rather than by recursion.
    static void lastRelease(HostObject *o);
    int m_refs = 0;
};

using HostObjectRef = Ref<HostObject>;

// What a host member or function returned, as scripts may hold it: texts within the string limit
// ("Out of string space", 14), sizes reported to the call's memory limit.
const Value &checkedFromHost(const Value &v);

} // namespace vbs
