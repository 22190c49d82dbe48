#include "Engine.h"

#include "Convert.h"
#include "Interpreter.h"

#include <QDateTime>

#include <cmath>

namespace vbs {

Engine::Engine() : m_in(std::make_unique<Interpreter>()) {}

Engine::~Engine() = default;

template <class F> bool Engine::guarded(F &&f)
{
    m_hasError = false;
    m_error = ScriptError();
    setCurrentLocale(localeByLcid(m_in->localeLcid));
    // a host function calling back into the engine stays within the outer call's limits
    const bool outermost = m_running == 0;
    if (outermost)
        m_in->beginRun();
    ResourceMeter::Scope meter(&m_in->meter());
    struct Running {
        int &n;
        ~Running() { --n; }
    } running{++m_running};
    try {
        f();
        return true;
    } catch (const ScriptError &e) {
        m_error = e;
        if (!m_error.line)
            m_error.line = m_in->line();
        m_in->err().number = e.number;
        m_in->err().description = e.description;
        m_in->err().source = e.source;
        m_in->err().helpFile = e.helpFile;
        m_in->err().helpContext = e.helpContext;
    } catch (const Abort &a) {
        m_error = ScriptError(a.number, a.reason, QStringLiteral("vbscript host"));
        m_error.line = m_in->line();
    } catch (const std::bad_alloc &) {
        m_error = ScriptError(7, errorMessage(7), QString::fromLatin1(kRuntimeSource));
        m_error.line = m_in->line();
    }
    m_hasError = true;
    return false;
}

void Engine::reset()
{
    m_in->reset();
    clearError();
}

void Engine::addObject(const QString &name, QObject *object)
{
    m_in->addObject(name, Value::object(wrapQObject(object)));
}

void Engine::addObject(const QString &name, const HostObjectRef &object)
{
    m_in->addObject(name, Value::object(object));
}

void Engine::addFunction(const QString &name, HostFunction fn)
{
    m_in->addFunction(name, std::move(fn));
}

void Engine::registerProgId(const QString &progId, ObjectFactory factory)
{
    m_in->registerProgId(progId, std::move(factory));
}

bool Engine::addCode(const QString &code)
{
    return guarded([&] { m_in->addCode(code); });
}

bool Engine::run(const QString &procedure, const QVariantList &args, QVariant *result)
{
    ValueList values;
    values.reserve(size_t(args.size()));
    for (const QVariant &v : args)
        values.push_back(fromVariant(v));
    Value r;
    const bool ok = call(procedure, values, &r);
    if (ok && result)
        *result = toVariant(r);
    return ok;
}

bool Engine::call(const QString &procedure, ValueList &args, Value *result)
{
    return guarded([&] {
        std::vector<Value *> refs;
        for (Value &v : args)
            refs.push_back(&v);
        Value r = m_in->callByName(procedure, refs.data(), int(refs.size()));
        if (result)
            *result = std::move(r);
    });
}

bool Engine::execute(const QString &statements)
{
    return guarded([&] { m_in->executeStatements(statements, true); });
}

bool Engine::evaluate(const QString &expression, Value &result)
{
    return guarded([&] { result = m_in->evaluate(expression); });
}

QVariant Engine::eval(const QString &expression, bool *ok)
{
    Value v;
    const bool good = evaluate(expression, v);
    if (ok)
        *ok = good;
    return good ? toVariant(v) : QVariant();
}

bool Engine::hasProcedure(const QString &name) const
{
    return m_in->hasProcedure(name);
}

Value Engine::global(const QString &name) const
{
    return m_in->globalValue(name);
}

QString Engine::errorText() const
{
    if (!m_hasError)
        return QString();
    if (m_error.line > 0)
        return m_error.describe() + QStringLiteral(" (line ") + QString::number(m_error.line) +
               QLatin1Char(')');
    return m_error.describe();
}

void Engine::clearError()
{
    m_hasError = false;
    m_error = ScriptError();
}

void Engine::setStatementBudget(qint64 statements)
{
    m_in->setBudget(statements);
}

void Engine::setMemoryLimit(qint64 bytes)
{
    m_in->setMemoryLimit(bytes > 0 ? size_t(bytes) : 0);
}

void Engine::setTimeLimit(qint64 milliseconds)
{
    m_in->setTimeLimit(milliseconds > 0 ? milliseconds : 0);
}

void Engine::cancel()
{
    m_in->cancel.store(true);
}

bool Engine::setLocale(int lcid)
{
    const LocaleInfo *info = localeByLcid(lcid);
    if (!info)
        return false;
    m_in->localeLcid = lcid;
    return true;
}

bool Engine::setLocale(const QString &name)
{
    const LocaleInfo *info = localeByName(name);
    if (!info)
        return false;
    m_in->localeLcid = info->lcid;
    return true;
}

int Engine::locale() const
{
    return m_in->localeLcid;
}

// ---------------------------------------------------------------- QVariant boundary

namespace {

QDateTime serialToDateTime(double serial)
{
    const DateParts p = splitDate(serial);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
}

double dateTimeToSerial(const QDate &d, const QTime &t)
{
    const double day = d.isValid() ? makeDate(d.year(), d.month(), d.day()) : 0;
    const double frac = t.isValid() ? t.msecsSinceStartOfDay() / 86400000.0 : 0;
    return combineDateTime(day, frac);
}

} // namespace

QVariant toVariant(const Value &v)
{
    switch (v.type()) {
    case VarType::Empty:
        return QVariant();
    case VarType::Null:
        return QVariant::fromValue(nullptr);
    case VarType::Boolean:
        return QVariant(v.rawBool());
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Error:
        return QVariant(int(v.rawInt()));
    case VarType::Single:
        return QVariant(float(v.rawDouble()));
    case VarType::Double:
        return QVariant(v.rawDouble());
    case VarType::Currency:
        return QVariant(double(v.rawInt()) / 10000.0);
    case VarType::Date:
        return QVariant(serialToDateTime(v.rawDouble()));
    case VarType::String:
        return QVariant(v.rawString());
    case VarType::Array: {
        QVariantList list;
        for (const Value &x : v.rawArray()->items)
            list.push_back(toVariant(x));
        return list;
    }
    case VarType::Object:
        return QVariant::fromValue(v);
    }
    return QVariant();
}

Value fromVariant(const QVariant &v)
{
    if (!v.isValid())
        return Value();
    switch (v.metaType().id()) {
    case QMetaType::Nullptr:
        return Value::null();
    case QMetaType::Bool:
        return Value::boolean(v.toBool());
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        return Value::integer(int16_t(v.toInt()));
    case QMetaType::UChar:
        return Value::byte(uint8_t(v.toUInt()));
    case QMetaType::Int:
        return Value::lng(v.toInt());
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qlonglong n = v.toLongLong();
        if (n >= INT32_MIN && n <= INT32_MAX)
            return Value::lng(int32_t(n));
        return Value::dbl(double(n));
    }
    case QMetaType::Float:
        return Value::single(v.toFloat());
    case QMetaType::Double:
        return Value::dbl(v.toDouble());
    case QMetaType::QString:
        return Value(v.toString());
    case QMetaType::QByteArray:
        return Value(QString::fromLatin1(v.toByteArray()));
    case QMetaType::QChar:
        return Value(QString(v.toChar()));
    case QMetaType::QDate:
        return Value::date(dateTimeToSerial(v.toDate(), QTime()));
    case QMetaType::QTime:
        return Value::date(dateTimeToSerial(QDate(), v.toTime()));
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return Value::date(dateTimeToSerial(dt.date(), dt.time()));
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        const QVariantList list = v.toList();
        auto *a = new ArrayData;
        a->bounds = {int(list.size()) - 1};
        for (const QVariant &x : list)
            a->items.push_back(fromVariant(x));
        return Value::array(a);
    }
    default:
        break;
    }
    if (v.metaType() == QMetaType::fromType<Value>())
        return v.value<Value>();
    if (v.metaType().flags() & QMetaType::PointerToQObject)
        return Value::object(wrapQObject(v.value<QObject *>()));
    // host value types (a fixed-point decimal, say) registered with a conversion to double are numbers
    if (v.canConvert<double>())
        return Value::dbl(v.toDouble());
    if (v.canConvert<QString>())
        return Value(v.toString());
    raise(458);
}

} // namespace vbs
