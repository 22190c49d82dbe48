#include "cPrintObjects.h"

#include "Convert.h"
#include "ReportValue.h"
#include "cReportPrinter.h"

namespace {

const QStringList kPlace = {QStringLiteral("Left,Single"), QStringLiteral("Top,Single"),
                            QStringLiteral("Width,Single"), QStringLiteral("Height,Single")};
const QStringList kPen = {QStringLiteral("ForeColor,Long"), QStringLiteral("DrawWidth,Double"),
                          QStringLiteral("DrawStyle,Double"), QStringLiteral("DrawMode,Double")};
const QStringList kFont = {QStringLiteral("FontName,String"), QStringLiteral("FontSize,Double"),
                           QStringLiteral("FontBold,Boolean"), QStringLiteral("FontItalic,Boolean"),
                           QStringLiteral("FontTransparent,Boolean")};
const QString kName = QStringLiteral("Name,String");
const QString kValue = QStringLiteral("Value,Variant");
const QString kAlign = QStringLiteral("Align,Integer");
const QString kDataType = QStringLiteral("DataType,String");
const QString kVisible = QStringLiteral("Visible,Boolean");
const QString kBox = QStringLiteral("Box,Boolean");
const QString kFormat = QStringLiteral("FormatField,String");
const QString kFormula = QStringLiteral("Formula,String");

// Name; Value; Align; font; [FormatField]; [DataType]; place; pen; Visible — the text-bearing order.
QStringList textLike(bool dataType, bool format)
{
    QStringList p{kName, kValue, kAlign};
    p << kFont;
    if (format)
        p << kFormat;
    if (dataType)
        p << kDataType;
    p << kPlace << kPen << kVisible;
    return p;
}

QString formatted(ReportRun &run, const QVariant &value, const QString &picture)
{
    return picture.isEmpty() ? reportvalue::text(value) : run.format(value, picture);
}

// Formula results and assigned values of summaries and formulas are kept as text.
QVariant asText(const QVariant &value)
{
    if (!value.isValid() || reportvalue::isNull(value))
        return value;
    if (value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate)
        return reportvalue::text(value);
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return reportvalue::scriptNumber(value.toDouble());
    return reportvalue::text(value);
}

} // namespace

QStringList cPrintLine::getProperties() const
{
    QStringList p{kName, kValue, kDataType};
    p << kPlace << kPen << kVisible;
    return p;
}

void cPrintLine::printObject(ReportRun &, cReportPrinter &printer, double sectionTop, double sectionHeight)
{
    if (!insideBand(m_top, m_height, sectionTop, sectionHeight))
        return;
    applyPen(printer, false);
    printer.DrawLine(qRound(printer.ScaleX(m_left, 6, 3)), qRound(printer.ScaleY(m_top + sectionTop, 6, 3)),
                     qRound(printer.ScaleX(m_width, 6, 3)),
                     qRound(printer.ScaleY(m_height + sectionTop, 6, 3)), m_foreColor, m_box);
}

QStringList cPrintText::getProperties() const
{
    QStringList p = textLike(true, false);
    p << kBox;
    return p;
}

QStringList cPrintField::getProperties() const
{
    return textLike(true, true);
}

QString cPrintField::printText(ReportRun &run) const
{
    return formatted(run, m_value, m_formatField);
}

cPrintGroup::cPrintGroup(QObject *parent) : cPrintObject(parent) {}

QStringList cPrintGroup::getProperties() const
{
    return textLike(false, false);
}

QVariant cPrintGroup::groupValue() const
{
    QStringList parts;
    for (const auto &f : m_fields)
        if (f)
            parts << reportvalue::text(f->Value());
    return parts.join(m_separator);
}

QString cPrintGroup::ValueToScript() const
{
    return reportvalue::scriptString(groupValue().toString());
}

vbs::Value cPrintGroup::scriptValue() const
{
    return reportvalue::toScriptValue(groupValue(), QStringLiteral("T"));
}

QString cPrintGroup::printText(ReportRun &) const
{
    return groupValue().toString();
}

void cPrintGroup::reset()
{
    m_value = QVariant();
    m_snapshot.clear();
    m_started = false;
    for (const auto &s : m_summaries)
        if (s)
            s->reset();
}

void cPrintGroup::addField(QObject *field)
{
    if (auto *o = qobject_cast<cPrintObject *>(field)) {
        for (const auto &f : m_fields)
            if (f && f->Name().compare(o->Name(), Qt::CaseInsensitive) == 0)
                return;
        m_fields << o;
    }
}

void cPrintGroup::addSumary(QObject *summary)
{
    if (auto *o = qobject_cast<cPrintObject *>(summary)) {
        for (const auto &s : m_summaries)
            if (s && s->Name().compare(o->Name(), Qt::CaseInsensitive) == 0)
                return;
        m_summaries << o;
    }
}

QVariantList cPrintGroup::getFields() const
{
    QVariantList out;
    for (const auto &f : m_fields)
        if (f)
            out << QVariant::fromValue<QObject *>(f.data());
    return out;
}

QVariantList cPrintGroup::getResetObjects() const
{
    QVariantList out;
    for (const auto &s : m_summaries)
        if (s)
            out << QVariant::fromValue<QObject *>(s.data());
    return out;
}

bool cPrintGroup::isChangeGroup() const
{
    if (!m_started)
        return true;
    for (const auto &f : m_fields) {
        if (!f)
            continue;
        const QVariant now = f->Value();
        bool found = false;
        for (const auto &[name, then] : m_snapshot) {
            if (name.compare(f->Name(), Qt::CaseInsensitive) != 0)
                continue;
            found = true;
            const bool nullNow = !now.isValid() || reportvalue::isNull(now);
            const bool nullThen = !then.isValid() || reportvalue::isNull(then);
            if (nullNow != nullThen || reportvalue::text(now) != reportvalue::text(then))
                return true;
        }
        if (!found)
            return true;
    }
    return false;
}

void cPrintGroup::startGroup()
{
    m_snapshot.clear();
    for (const auto &f : m_fields)
        if (f)
            m_snapshot.append({f->Name(), f->Value()});
    m_started = true;
    m_value = groupValue();
    for (const auto &s : m_summaries)
        if (s)
            s->reset();
}

cPrintSumary::cPrintSumary(QObject *parent) : cPrintObject(parent)
{
    m_dataType = QStringLiteral("N");
    m_value = QStringLiteral("0");
}

QStringList cPrintSumary::getProperties() const
{
    QStringList p = textLike(true, true);
    p.insert(1, kFormula);
    return p;
}

void cPrintSumary::setValue(const QVariant &value)
{
    m_value = asText(value);
}

void cPrintSumary::reset()
{
    m_value = QStringLiteral("0");
}

QString cPrintSumary::printText(ReportRun &run) const
{
    return formatted(run, m_value, m_formatField);
}

QStringList cPrintFormula::getProperties() const
{
    QStringList p = textLike(true, true);
    p.insert(1, kFormula);
    p << kBox << QStringLiteral("ReCalc,Boolean") << QStringLiteral("onPrintFormula,String");
    return p;
}

void cPrintFormula::setValue(const QVariant &value)
{
    m_value = asText(value);
}

void cPrintFormula::reset()
{
    if (!m_formula.isEmpty())
        m_value = QStringLiteral("0");
}

void cPrintFormula::printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                                double sectionHeight)
{
    if (!m_onPrintFormula.isEmpty() && !run.runOnPrint(*this, m_onPrintFormula))
        return;
    drawTextBox(run, printer, sectionTop, sectionHeight);
}

QString cPrintFormula::printText(ReportRun &run) const
{
    return formatted(run, m_value, m_formatField);
}

cPrintImage::cPrintImage(QObject *parent) : cPrintObject(parent)
{
    m_dataType = QStringLiteral("N");
}

QStringList cPrintImage::getProperties() const
{
    QStringList p{kName, kValue, kDataType, kFormula};
    p << kPlace << kVisible << kBox << QStringLiteral("ReCalc,Boolean")
      << QStringLiteral("onPrintFormula,String");
    return p;
}

void cPrintImage::reset()
{
    if (!m_formula.isEmpty())
        m_value = 0;
}

void cPrintImage::printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                              double sectionHeight)
{
    if (!m_onPrintFormula.isEmpty() && !run.runOnPrint(*this, m_onPrintFormula))
        return;
    if (!insideBand(m_top, m_top + m_height, sectionTop, sectionHeight))
        return;
    const int l = qRound(printer.ScaleX(m_left, 6, 3)), t = qRound(printer.ScaleY(m_top + sectionTop, 6, 3));
    const int r = qRound(printer.ScaleX(m_left + m_width, 6, 3));
    const int b = qRound(printer.ScaleY(m_top + sectionTop + m_height, 6, 3));
    printer.DrawImage(l, t, r, b, qint64(reportvalue::leadingNumber(reportvalue::text(m_value))));
    if (m_box)
        printer.DrawLine(l, t, r, b, printer.ForeColor(), true);
}
