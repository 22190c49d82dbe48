#include "ReportFactory.h"

#include "cObjectFactory.h"
#include "cPrintObjects.h"

namespace {

// Assigns the constructor's arguments, in order, to the named properties; missing ones keep
// the class's defaults.
template <class T> QObject *make(const QVariantList &args, const QList<const char *> &names)
{
    auto *o = new T;
    for (int i = 0; i < names.size() && i < args.size(); ++i) {
        const QVariant &v = args.at(i);
        if (!v.isValid())
            continue;
        const QLatin1String name(names.at(i));
        if (name == QLatin1String("Value"))
            o->setValue(v);
        else if (name == QLatin1String("FontBold"))
            o->QObject::setProperty(names.at(i), v.toBool());
        else if (name == QLatin1String("Name") || name == QLatin1String("FontName") ||
                 name == QLatin1String("Formula") || name == QLatin1String("FormatField") ||
                 name == QLatin1String("DataType"))
            o->QObject::setProperty(names.at(i), v.toString());
        else if (name == QLatin1String("ForeColor"))
            o->QObject::setProperty(names.at(i), qint64(v.toDouble()));
        else if (name == QLatin1String("Align"))
            o->QObject::setProperty(names.at(i), int(v.toDouble()));
        else
            o->QObject::setProperty(names.at(i), v.toDouble());
    }
    return o;
}

} // namespace

void registraObjetosReporte(cObjectFactory &factory)
{
    factory.registerConstructor(QStringLiteral("NewcPrintLine"), [](const QVariantList &a) {
        return make<cPrintLine>(a, {"Name", "Top", "Left", "Height", "Width", "DrawWidth", "ForeColor"});
    });
    factory.registerConstructor(QStringLiteral("NewcPrintText"), [](const QVariantList &a) {
        return make<cPrintText>(a, {"Name", "Top", "Left", "Height", "Width", "Value", "ForeColor", "Align",
                                    "FontName", "FontBold", "FontSize"});
    });
    factory.registerConstructor(QStringLiteral("NewcPrintField"), [](const QVariantList &a) {
        return make<cPrintField>(a, {"Name", "Top", "Left", "Height", "Width", "ForeColor", "Align",
                                     "FontName", "FontBold", "FontSize", "FormatField"});
    });
    factory.registerConstructor(QStringLiteral("NewcPrintFormula"), [](const QVariantList &a) {
        return make<cPrintFormula>(a,
                                   {"Name", "Top", "Left", "Height", "Width", "Formula", "Value", "ForeColor",
                                    "Align", "FontName", "FontBold", "FontSize", "FormatField", "DataType"});
    });
    factory.registerConstructor(QStringLiteral("NewcPrintGroup"), [](const QVariantList &a) {
        return make<cPrintGroup>(a, {"Name", "Top", "Left", "Height", "Width", "ForeColor", "Align",
                                     "FontName", "FontBold", "FontSize"});
    });
    factory.registerConstructor(QStringLiteral("NewcPrintSumary"), [](const QVariantList &a) {
        return make<cPrintSumary>(a,
                                  {"Name", "Top", "Left", "Height", "Width", "Formula", "Value", "ForeColor",
                                   "Align", "FontName", "FontBold", "FontSize", "FormatField"});
    });
    factory.registerConstructor(QStringLiteral("NewcPrintImage"), [](const QVariantList &a) {
        return make<cPrintImage>(a, {"Name", "Top", "Left", "Height", "Width", "Value", "Formula"});
    });
}
