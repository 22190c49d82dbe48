#include "cStringHost.h"

#include "Engine.h"
#include "cString.h"

vbs::HostObjectRef cStringHost::create(cString *lib)
{
    return vbs::HostObjectRef(new cStringHost(lib));
}

cStringHost::cStringHost(cString *lib) : m_lib(lib), m_members(vbs::wrapQObject(lib)) {}

QString cStringHost::typeName() const
{
    return QStringLiteral("cString");
}

bool cStringHost::get(const vbs::Name &name, vbs::Args &args, vbs::Value &result)
{
    if (name.key == u"strtoarr" && args.size() == 3) {
        QStringList parts;
        const int count = m_lib->StrToArr(parts, vbs::toString(args[1]), vbs::toLong(args[2]));
        auto *array = new vbs::ArrayData;
        array->bounds = {count - 1};
        for (const QString &part : parts)
            array->items.emplace_back(part);
        args[0] = vbs::Value::array(array);
        result = vbs::Value::lng(count);
        return true;
    }
    const bool ean8 = name.key == u"ean8";
    if ((ean8 || name.key == u"ean13") && args.size() == 1) {
        QString code = vbs::toString(args[0]);
        const QString font = ean8 ? m_lib->EAN8(code) : m_lib->EAN13(code);
        if (!font.isEmpty())
            args[0] = vbs::Value(code); // a rejected code keeps its own subtype
        result = vbs::Value(font);
        return true;
    }
    return m_members->get(name, args, result);
}

bool cStringHost::set(const vbs::Name &name, vbs::Args &args, const vbs::Value &value, bool isSet)
{
    return m_members->set(name, args, value, isSet);
}
