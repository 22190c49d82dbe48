#include "cPrintObject.h"

#include "Convert.h"
#include "Engine.h"
#include "ReportValue.h"
#include "cReportPrinter.h"

#include <QMetaProperty>

#include <stdexcept>

cPrintObject::cPrintObject(QObject *parent) : QObject(parent) {}

QString cPrintObject::ValueToScript() const
{
    return reportvalue::toScript(m_value, m_dataType);
}

vbs::Value cPrintObject::scriptValue() const
{
    return reportvalue::toScriptValue(m_value, m_dataType);
}

QString cPrintObject::ValueToDb() const
{
    return reportvalue::toDb(m_value, m_dataType, QStringLiteral("dd/mm/yyyy"));
}

QString cPrintObject::printText(ReportRun &) const
{
    return reportvalue::text(m_value);
}

void cPrintObject::applyPen(cReportPrinter &printer, bool font) const
{
    printer.setDrawMode(m_drawMode);
    printer.setDrawWidth(m_drawWidth);
    printer.setForeColor(m_foreColor);
    printer.setDrawStyle(m_drawStyle);
    if (!font)
        return;
    printer.setFontName(m_fontName);
    printer.setFontSize(m_fontSize);
    printer.setFontBold(m_fontBold);
    printer.setFontItalic(m_fontItalic);
    printer.setFontTransparent(m_fontTransparent);
}

bool cPrintObject::insideBand(double y1, double y2, double sectionTop, double sectionHeight) const
{
    // Objects that do not fit whole are not drawn: no clipping of parts.
    return m_visible && y1 + sectionTop <= sectionHeight + sectionTop &&
           y2 + sectionTop <= sectionHeight + sectionTop;
}

void cPrintObject::printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                               double sectionHeight)
{
    drawTextBox(run, printer, sectionTop, sectionHeight);
}

void cPrintObject::drawTextBox(ReportRun &run, cReportPrinter &printer, double sectionTop,
                               double sectionHeight)
{
    if (!insideBand(m_top, m_top + m_height, sectionTop, sectionHeight))
        return;
    applyPen(printer);
    const auto x = [&printer](double mm) { return qRound(printer.ScaleX(mm, 6, 3)); };
    const auto y = [&printer](double mm) { return qRound(printer.ScaleY(mm, 6, 3)); };
    const int l = x(m_left), t = y(m_top + sectionTop), r = x(m_left + m_width),
              b = y(m_top + sectionTop + m_height);
    const QString text = printText(run);
    printer.DrawText(l, t, r, b, text, int(text.size()), m_align);
    if (m_box)
        printer.DrawLine(l, t, r, b, printer.ForeColor(), true);
}

bool cPrintObject::refreshFormula(ReportRun &run)
{
    if (m_formula.isEmpty())
        return false;
    vbs::Value result;
    if (run.evaluate(*this, m_formula, result) != ReportRun::Outcome::Ok)
        return false;
    setValue(vbs::toVariant(result));
    return true;
}

namespace {

enum class Kind { Text, Number, Integer, Boolean, Variant };

Kind kindOf(const QString &type)
{
    if (type == u"Single" || type == u"Double" || type == u"Long")
        return Kind::Number;
    if (type == u"Integer")
        return Kind::Integer;
    if (type == u"Boolean")
        return Kind::Boolean;
    if (type == u"Variant")
        return Kind::Variant;
    return Kind::Text;
}

} // namespace

bool cPrintObject::setPropertyText(const QString &name, const QString &text, QString *message)
{
    QString type;
    QString canonical;
    for (const QString &p : getProperties()) {
        if (p.section(u',', 0, 0).compare(name, Qt::CaseInsensitive) == 0) {
            canonical = p.section(u',', 0, 0);
            type = p.section(u',', 1);
        }
    }
    if (canonical.isEmpty()) {
        if (message)
            *message = QStringLiteral("Propiedad inexistente: ") + name;
        return false;
    }
    QVariant value;
    switch (kindOf(type)) {
    case Kind::Number:
    case Kind::Integer: {
        bool ok = false;
        const double d = text.trimmed().toDouble(&ok);
        if (!ok) {
            if (message)
                *message = QStringLiteral("Debe ingresar un valor numerico");
            return false;
        }
        value = kindOf(type) == Kind::Integer ? QVariant(int(d)) : QVariant(d);
        break;
    }
    case Kind::Boolean: {
        const std::optional<bool> b = reportvalue::booleanText(text);
        if (!b) {
            if (message)
                *message = QStringLiteral("Valor invalido, se esperaba TRUE,FALSE,SI,NO");
            return false;
        }
        value = *b;
        break;
    }
    default:
        value = text;
        break;
    }
    if (canonical == u"Value") {
        setValue(value);
        return true;
    }
    if (canonical == u"ForeColor")
        value = QVariant(qint64(value.toDouble()));
    return QObject::setProperty(canonical.toLatin1().constData(), value);
}

bool cPrintObject::setProperty(const QString &name, const QString &text)
{
    QString message;
    if (!setPropertyText(name, text, &message))
        throw std::runtime_error(message.toStdString());
    return true;
}

QVariant cPrintObject::getPropertyValue(const QString &name) const
{
    for (const QString &p : getProperties()) {
        const QString canonical = p.section(u',', 0, 0);
        if (canonical.compare(name, Qt::CaseInsensitive) == 0)
            return canonical == u"Value" ? m_value : property(canonical.toLatin1().constData());
    }
    return {};
}
