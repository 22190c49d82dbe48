#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class CValue;
class ConnectionProvider;
class cAplication;
class cCollectionContainer;
class cConfigure;
class cObjectFactory;
class cString;

namespace vbs {
class Engine;
}

// The named objects handed to a script: CValue pairs (Key = the name the script uses, Value =
// the object), in the order they were added. Names compare without regard to case, as script
// names do; adding a name again replaces its object in place.
class ScriptObjects {
public:
    ScriptObjects();
    ~ScriptObjects();
    ScriptObjects(ScriptObjects &&) noexcept;
    ScriptObjects &operator=(ScriptObjects &&) noexcept;

    // object: a QObject pointer, a script object (QVariant holding a vbs::Value) or a plain value,
    // which is handed to scripts wrapped in a CValue of its own so that they change `.Value`.
    void add(const QString &name, const QVariant &object);
    bool contains(const QString &name) const;
    // The object under name; for a plain value, its CValue wrapper. Invalid when there is none.
    QVariant get(const QString &name) const;
    void clear();
    int size() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    const CValue &at(int i) const { return *m_items[size_t(i)]; }
    QStringList names() const;

    // Adds every object to the engine under its name.
    void addTo(vbs::Engine &engine) const;

private:
    int indexOf(const QString &name) const;

    std::vector<std::unique_ptr<CValue>> m_items;
};

// What the standard list is made of: the process-wide services.
struct ScriptServices {
    cConfigure &config;
    ConnectionProvider &connections;
    cString &string;
    cAplication &app;
    cObjectFactory &factory;
    cCollectionContainer &global;
    QObject *ticketPrinter = nullptr; // "xTicketPrinter" only when there is one
};

// A fresh standard list, in order: "xConfig", "cn", "xLibStr", "xTicketPrinter", "xApp",
// "xFactory", "xGlobal".
ScriptObjects buildScriptObjects(const ScriptServices &services);

// What every engine that runs stored scripts needs besides the objects:
// CreateObject("ADODB.Connection") and CreateObject("ADODB.Recordset").
void prepareScriptEngine(vbs::Engine &engine);
