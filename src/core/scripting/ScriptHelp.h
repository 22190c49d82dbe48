#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct QMetaObject;
struct ScriptServices;

// The script editor's help list, read from the objects scripts receive so that it always shows
// what a script can call: public Q_INVOKABLE methods and slots with their parameter names, and
// Q_PROPERTYs; QObject's own members stay hidden as they do from scripts. Overloads made by
// default arguments fold into one line with the optional parameters bracketed:
// "getNextSequence(sTipo, [[[[dValorIni,] dValorFin,] dIncremento,] dValorInicial])".
// A procedure without parameters shows its bare name ("execDoEvents"), a function "getDate()".
class ScriptHelp {
public:
    struct Topic {
        QString title;       // "Globales"
        QString object;      // "xGlobal"
        QStringList members; // "addObject(key, value)"

        // "xGlobal.addObject(key, value)", what the editor inserts for member i.
        QString qualified(int i) const { return object + QLatin1Char('.') + members.at(i); }
    };

    static QStringList members(const QMetaObject &meta);
    // One line for a member: required parameters, then optional ones in brackets.
    static QString signature(const QString &name, const QStringList &required, const QStringList &optional,
                             bool function);
    // The heading under which a standard object's members are listed.
    static QString titleFor(const QString &object);
    static Topic topic(const QString &object, const QStringList &members);
    // One topic per object of the standard list, in its order ("cn" from the ADO objects), then
    // the recordsets that cn.Execute returns.
    static QList<Topic> standard(const ScriptServices &services);
};
