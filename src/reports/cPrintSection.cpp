#include "cPrintSection.h"

#include "cPrintObject.h"

void cPrintSection::addObject(QObject *object)
{
    if (auto *o = qobject_cast<cPrintObject *>(object))
        m_objects.emplace_back(o);
}

QObject *cPrintSection::Item(const QVariant &key) const
{
    // "K" and the position the object was added at, or the 1-based position.
    bool ok = false;
    int index = -1;
    const QString text = key.toString();
    if (text.startsWith(u'K', Qt::CaseInsensitive))
        index = text.mid(1).toInt(&ok);
    else if ((index = key.toInt(&ok) - 1), !ok)
        index = -1;
    if (!ok || index < 0 || index >= int(m_objects.size()))
        return nullptr;
    return m_objects[size_t(index)].data();
}

double cPrintSection::MaxHeightControls() const
{
    double max = 0;
    for (const auto &o : m_objects)
        if (o)
            max = qMax(max, o->bottom());
    return max;
}

double cPrintSection::MaxHeight() const
{
    const double controls = MaxHeightControls();
    return controls > m_height ? controls : m_height;
}

void cPrintSection::reset()
{
    for (const auto &o : m_objects)
        if (o)
            o->reset();
}

void cPrintSection::printObjects(ReportRun &run, cReportPrinter &printer)
{
    if (!m_visible)
        return;
    for (const auto &o : m_objects)
        if (o)
            o->printObject(run, printer, m_topCurrent, m_heightCurrent);
}

void cPrintSection::refresh(ReportRun &run)
{
    for (const auto &o : m_objects)
        if (o)
            o->Refresh(run);
}
