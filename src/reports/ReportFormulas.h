#pragma once

#include "Engine.h"

#include <QHash>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class cPrintObject;
class cCollectionContainer;

// The formulas of one report run. Each formula text is compiled once into a script function
// whose [name] and [name.property] references read the objects' current values through a host
// function, and is then only called: a 10,000-row report does not parse or prepare anything per
// row. Results are those of expanding the references into the text and evaluating it.
class ReportFormulas {
public:
    // Finds a report object by name (without regard to case); nullptr when there is none.
    using Lookup = std::function<cPrintObject *(const QString &name)>;
    // The script text of the report's own [xRpt.property]; empty when it has no such property.
    using ReportProperty = std::function<vbs::Value(const QString &property, bool *known)>;

    ReportFormulas();
    ~ReportFormulas();

    // A fresh engine for a run: the host objects, then "xRpt" (the objects as a collection).
    void prepare(const std::function<void(vbs::Engine &)> &hostObjects, QObject *objectsBag, Lookup lookup,
                 ReportProperty reportProperty);

    enum class Outcome { Ok, MissingReference, Failed };
    Outcome evaluate(const QString &formula, vbs::Value &result, QString *detail = nullptr);
    // On-print statements; a missing reference names the reference in *missing.
    Outcome run(const QString &statements, QString *missing, QString *detail = nullptr);

    vbs::Engine &engine() { return m_engine; }
    int compiledCount() const { return int(m_compiled.size()); }

private:
    struct Reference {
        QPointer<cPrintObject> object; // null for a property of the report itself
        QString property;
    };
    struct Compiled {
        QString procedure;
        QString missing; // the first reference that names no object
        bool failed = false;
    };
    const Compiled &compile(const QString &text, bool statements);
    vbs::Value referenceValue(int index);

    vbs::Engine m_engine;
    Lookup m_lookup;
    ReportProperty m_reportProperty;
    std::vector<Reference> m_references;
    QHash<QString, int> m_referenceIndex;
    QHash<QString, Compiled> m_compiled; // by kind and text
};
