#include "ReportFormulas.h"

#include "Convert.h"
#include "ScriptError.h"
#include "cPrintObject.h"

ReportFormulas::ReportFormulas() = default;
ReportFormulas::~ReportFormulas() = default;

void ReportFormulas::prepare(const std::function<void(vbs::Engine &)> &hostObjects, QObject *objectsBag,
                             Lookup lookup, ReportProperty reportProperty)
{
    m_engine.reset();
    m_engine.setLocale(2058);
    m_compiled.clear();
    m_references.clear();
    m_referenceIndex.clear();
    m_lookup = std::move(lookup);
    m_reportProperty = std::move(reportProperty);
    if (hostObjects)
        hostObjects(m_engine);
    if (objectsBag)
        m_engine.addObject(QStringLiteral("xRpt"), objectsBag);
    m_engine.addFunction(QStringLiteral("zevRef"),
                         [this](vbs::Args &a) { return referenceValue(vbs::toLong(a[0])); });
}

vbs::Value ReportFormulas::referenceValue(int index)
{
    if (index < 0 || index >= int(m_references.size()))
        vbs::raise(9);
    const Reference &r = m_references[size_t(index)];
    if (!r.property.isEmpty() && !r.object) {
        bool known = false;
        vbs::Value v = m_reportProperty ? m_reportProperty(r.property, &known) : vbs::Value();
        if (!known)
            vbs::raise(438);
        return v;
    }
    if (!r.object)
        vbs::raise(424); // the object went away during the run
    if (!r.property.isEmpty())
        vbs::raise(438); // only the report answers [name.property]
    return r.object->scriptValue();
}

const ReportFormulas::Compiled &ReportFormulas::compile(const QString &text, bool statements)
{
    const QString key = (statements ? QStringLiteral("S:") : QStringLiteral("E:")) + text;
    if (auto it = m_compiled.constFind(key); it != m_compiled.constEnd())
        return *it;
    Compiled c;
    QString body;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'[', pos);
        if (open < 0) {
            body += QStringView(text).mid(pos);
            break;
        }
        const qsizetype close = text.indexOf(u']', open + 1);
        if (close < 0) {
            body += QStringView(text).mid(pos);
            break;
        }
        body += QStringView(text).mid(pos, open - pos);
        const QString inner = text.mid(open + 1, close - open - 1);
        const qsizetype dot = inner.indexOf(u'.');
        const QString name = dot < 0 ? inner : inner.left(dot);
        const QString property = dot < 0 ? QString() : inner.mid(dot + 1);
        const bool report =
            name.compare(QLatin1String("xRpt"), Qt::CaseInsensitive) == 0 && !property.isEmpty();
        cPrintObject *object = report ? nullptr : (m_lookup ? m_lookup(name) : nullptr);
        if (!report && !object) {
            if (c.missing.isEmpty())
                c.missing = name;
            body += QLatin1String("(!)");
        } else {
            const QString refKey = inner.toLower();
            int index = m_referenceIndex.value(refKey, -1);
            if (index < 0) {
                index = int(m_references.size());
                m_references.push_back({object, property});
                m_referenceIndex.insert(refKey, index);
            }
            body += QStringLiteral("zevRef(%1)").arg(index);
        }
        pos = close + 1;
    }
    if (c.missing.isEmpty()) {
        c.procedure = QStringLiteral("zev%1").arg(m_compiled.size());
        const QString code =
            statements ? QStringLiteral("Sub %1()\r\n%2\r\nEnd Sub").arg(c.procedure, body)
                       : QStringLiteral("Function %1()\r\n%1 = %2\r\nEnd Function").arg(c.procedure, body);
        if (!m_engine.addCode(code)) {
            c.failed = true;
            m_engine.clearError();
        }
    }
    return *m_compiled.insert(key, c);
}

ReportFormulas::Outcome ReportFormulas::evaluate(const QString &formula, vbs::Value &result, QString *detail)
{
    const Compiled &c = compile(formula, false);
    if (!c.missing.isEmpty())
        return Outcome::MissingReference;
    if (c.failed) {
        if (detail)
            *detail = QStringLiteral("Error de sintaxis");
        return Outcome::Failed;
    }
    vbs::ValueList args;
    vbs::Value value;
    if (!m_engine.call(c.procedure, args, &value)) {
        if (detail)
            *detail = m_engine.errorText();
        m_engine.clearError();
        return Outcome::Failed;
    }
    result = vbs::defaultValue(value);
    return Outcome::Ok;
}

ReportFormulas::Outcome ReportFormulas::run(const QString &statements, QString *missing, QString *detail)
{
    const Compiled &c = compile(statements, true);
    if (!c.missing.isEmpty()) {
        if (missing)
            *missing = c.missing;
        return Outcome::MissingReference;
    }
    if (c.failed) {
        if (detail)
            *detail = QStringLiteral("Error de sintaxis");
        return Outcome::Failed;
    }
    vbs::ValueList args;
    if (!m_engine.call(c.procedure, args)) {
        if (detail)
            *detail = m_engine.errorText();
        m_engine.clearError();
        return Outcome::Failed;
    }
    return Outcome::Ok;
}
