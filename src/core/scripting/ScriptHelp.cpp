#include "ScriptHelp.h"

#include "AdoObjects.h"
#include "CValue.h"
#include "ScriptObjects.h"
#include "cObjectFactory.h"
#include "cString.h"

#include <QHash>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QObject>
#include <QSet>

#include <algorithm>
#include <numeric>

namespace {

struct Overload {
    QStringList parameters;
    bool function = false;
};

QStringList parameterNames(const QMetaMethod &m)
{
    QStringList out;
    const QList<QByteArray> names = m.parameterNames();
    for (int i = 0; i < m.parameterCount(); ++i) {
        const QByteArray name = i < names.size() ? names.at(i) : QByteArray();
        out << (name.isEmpty() ? QStringLiteral("p%1").arg(i + 1) : QString::fromLatin1(name));
    }
    return out;
}

bool isPrefix(const QStringList &shorter, const QStringList &longer)
{
    return shorter.size() <= longer.size() && std::equal(shorter.cbegin(), shorter.cend(), longer.cbegin());
}

// Lines for one member name. Default arguments give a chain of overloads, each one parameter
// shorter than the next and a prefix of the longest; every such chain folds into one line with
// its optional parameters bracketed. Lines follow the declaration order.
QStringList linesFor(const QString &name, const QList<Overload> &overloads)
{
    QList<qsizetype> byLength(overloads.size());
    std::iota(byLength.begin(), byLength.end(), 0);
    std::stable_sort(byLength.begin(), byLength.end(), [&](qsizetype a, qsizetype b) {
        return overloads.at(a).parameters.size() > overloads.at(b).parameters.size();
    });
    QList<bool> used(overloads.size(), false);
    QList<std::pair<qsizetype, QString>> lines; // (first declared member of the chain, line)
    for (qsizetype longestAt : byLength) {
        if (used.at(longestAt))
            continue;
        used[longestAt] = true;
        const Overload &longest = overloads.at(longestAt);
        qsizetype required = longest.parameters.size();
        qsizetype first = longestAt;
        for (bool grown = true; grown && required > 0;) {
            grown = false;
            for (qsizetype i : byLength)
                if (!used.at(i) && overloads.at(i).parameters.size() == required - 1 &&
                    isPrefix(overloads.at(i).parameters, longest.parameters)) {
                    used[i] = true;
                    first = std::min(first, i);
                    --required;
                    grown = true;
                    break;
                }
        }
        const QString line = ScriptHelp::signature(name, longest.parameters.mid(0, required),
                                                   longest.parameters.mid(required), longest.function);
        if (std::none_of(lines.cbegin(), lines.cend(), [&](const auto &l) { return l.second == line; }))
            lines.append({first, line});
    }
    std::sort(lines.begin(), lines.end());
    QStringList out;
    for (const auto &l : std::as_const(lines))
        out << l.second;
    return out;
}

QString memberName(const QString &line)
{
    return line.section(QLatin1Char('('), 0, 0).trimmed().toLower();
}

// The string library's adapter adds the members with ByRef parameters (StrToArr), which the
// meta-object system cannot describe; the library lists them with the rest of its routines.
QStringList withByRefMembers(QStringList lines, const QStringList &listed)
{
    QSet<QString> names;
    for (const QString &line : std::as_const(lines))
        names.insert(memberName(line));
    for (const QString &line : listed)
        if (!names.contains(memberName(line))) {
            lines << line;
            names.insert(memberName(line));
        }
    return lines;
}

} // namespace

QString ScriptHelp::signature(const QString &name, const QStringList &required, const QStringList &optional,
                              bool function)
{
    if (required.isEmpty() && optional.isEmpty())
        return function ? name + QStringLiteral("()") : name;
    QString list = required.join(QStringLiteral(", "));
    if (!optional.isEmpty()) {
        if (!list.isEmpty())
            list += QStringLiteral(", ");
        list += QString(optional.size(), QLatin1Char('[')) + optional.constFirst();
        for (qsizetype i = 1; i < optional.size(); ++i)
            list += QStringLiteral(",] ") + optional.at(i);
        list += QLatin1Char(']');
    }
    return name + QLatin1Char('(') + list + QLatin1Char(')');
}

QStringList ScriptHelp::members(const QMetaObject &meta)
{
    QStringList order; // member names as first declared
    QHash<QString, QList<Overload>> overloads;
    for (int i = QObject::staticMetaObject.methodCount(); i < meta.methodCount(); ++i) {
        const QMetaMethod m = meta.method(i);
        if (m.access() != QMetaMethod::Public ||
            (m.methodType() != QMetaMethod::Method && m.methodType() != QMetaMethod::Slot))
            continue;
        const QString name = QString::fromLatin1(m.name());
        if (!overloads.contains(name))
            order << name;
        overloads[name].append({parameterNames(m), m.returnMetaType().id() != QMetaType::Void});
    }
    QStringList out;
    QSet<QString> seen;
    for (const QString &name : std::as_const(order)) {
        out << linesFor(name, overloads.value(name));
        seen.insert(name.toLower());
    }
    // Properties, unless a method of the same name already stands for them (scripts reach both
    // by one name).
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta.propertyCount(); ++i) {
        const QString name = QString::fromLatin1(meta.property(i).name());
        if (!seen.contains(name.toLower())) {
            out << name;
            seen.insert(name.toLower());
        }
    }
    return out;
}

QString ScriptHelp::titleFor(const QString &object)
{
    static const QHash<QString, QString> titles = {
        {QStringLiteral("xconfig"), QStringLiteral("Configuracion")},
        {QStringLiteral("cn"), QStringLiteral("Conexion")},
        {QStringLiteral("xlibstr"), QStringLiteral("Cadenas")},
        {QStringLiteral("xticketprinter"), QStringLiteral("Impresora de tickets")},
        {QStringLiteral("xapp"), QStringLiteral("Aplicacion")},
        {QStringLiteral("xfactory"), QStringLiteral("Fabrica de objetos")},
        {QStringLiteral("xglobal"), QStringLiteral("Globales")},
    };
    return titles.value(object.toLower(), object);
}

ScriptHelp::Topic ScriptHelp::topic(const QString &object, const QStringList &members)
{
    return {titleFor(object), object, members};
}

namespace {

// The classes registered after the factory was written are members of "xFactory" too.
QStringList withRegisteredClasses(QStringList list, const cObjectFactory &factory)
{
    for (const QString &member : factory.members()) {
        const bool listed = std::any_of(list.cbegin(), list.cend(), [&](const QString &m) {
            return m.section(u'(', 0, 0).compare(member, Qt::CaseInsensitive) == 0;
        });
        if (!listed)
            list << (factory.hasConstructor(member) ? member + QStringLiteral("(...)") : member);
    }
    return list;
}

} // namespace

QList<ScriptHelp::Topic> ScriptHelp::standard(const ScriptServices &services)
{
    const ScriptObjects objects = buildScriptObjects(services);
    QList<Topic> out;
    for (int i = 0; i < objects.size(); ++i) {
        const CValue &item = objects.at(i);
        const QString name = item.key();
        QObject *object = item.value().metaType().flags().testFlag(QMetaType::PointerToQObject)
                              ? item.value().value<QObject *>()
                              : nullptr;
        // Objects handed over through an adapter: the class the adapter serves.
        if (!object && name.compare(QLatin1String("xLibStr"), Qt::CaseInsensitive) == 0)
            object = &services.string;
        if (!object && name.compare(QLatin1String("xFactory"), Qt::CaseInsensitive) == 0)
            object = &services.factory;
        if (name.compare(QLatin1String("cn"), Qt::CaseInsensitive) == 0)
            out << topic(name, ado::connectionMembers());
        else if (object == &services.string)
            out << topic(name,
                         withByRefMembers(members(*object->metaObject()), services.string.listaFunciones()));
        else if (object == &services.factory)
            out << topic(name, withRegisteredClasses(members(*object->metaObject()), services.factory));
        else if (object)
            out << topic(name, members(*object->metaObject()));
    }
    out << Topic{QStringLiteral("Recordset"), QStringLiteral("rs"), ado::recordsetMembers()};
    return out;
}
