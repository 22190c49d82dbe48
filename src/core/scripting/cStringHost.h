#pragma once

#include "HostObject.h"

class cString;

// What event scripts see as "xLibStr": every invokable member of cString by name, plus the
// ByRef arguments the meta-object system cannot express — StrToArr fills the caller's array,
// EAN8 and EAN13 append the check digit to the caller's code.
//   engine.addObject("xLibStr", cStringHost::create(&lib));
class cStringHost : public vbs::HostObject {
public:
    static vbs::HostObjectRef create(cString *lib);

    QString typeName() const override;
    bool get(const vbs::Name &name, vbs::Args &args, vbs::Value &result) override;
    bool set(const vbs::Name &name, vbs::Args &args, const vbs::Value &value, bool isSet) override;

private:
    explicit cStringHost(cString *lib);

    cString *m_lib;
    vbs::HostObjectRef m_members; // the plain QObject view
};
