#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <vector>

class cPrintObject;
class cReportPrinter;
class ReportRun;

// One band of the report (page header, group, detail, summary, page footer, report footer): its
// objects in order, its design place and height (mm) and where it prints on the current page.
class cPrintSection : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Visible MEMBER m_visible)
    Q_PROPERTY(double Height READ Height WRITE setHeight)
    Q_PROPERTY(double Top READ Top WRITE setTop)
    Q_PROPERTY(double TopCurrent MEMBER m_topCurrent)
    Q_PROPERTY(double HeightCurrent MEMBER m_heightCurrent)
public:
    explicit cPrintSection(QObject *parent = nullptr) : QObject(parent) {}

    Q_INVOKABLE QString ObjectType() const { return QStringLiteral("cPrintSection"); }
    // Keys "K0", "K1" … by the count before the append.
    Q_INVOKABLE void addObject(QObject *object);
    Q_INVOKABLE QObject *Item(const QVariant &key) const;
    Q_INVOKABLE int Count() const { return int(m_objects.size()); }
    // The lowest bottom edge of its objects; 0 when empty.
    Q_INVOKABLE double MaxHeightControls() const;
    // The larger of Height and MaxHeightControls.
    Q_INVOKABLE double MaxHeight() const;
    Q_INVOKABLE void reset();
    void printObjects(ReportRun &run, cReportPrinter &printer);
    void refresh(ReportRun &run);

    double Height() const { return m_height; }
    void setHeight(double h) { m_height = h; }
    double Top() const { return m_top; }
    void setTop(double t)
    {
        m_top = t;
        m_topCurrent = t;
    }
    double topCurrent() const { return m_topCurrent; }
    void setTopCurrent(double t) { m_topCurrent = t; }
    double heightCurrent() const { return m_heightCurrent; }
    void setHeightCurrent(double h) { m_heightCurrent = h; }
    bool visible() const { return m_visible; }
    const std::vector<QPointer<cPrintObject>> &objects() const { return m_objects; }

private:
    bool m_visible = true;
    double m_height = 0;
    double m_top = 0;
    double m_topCurrent = 0;
    double m_heightCurrent = 0;
    std::vector<QPointer<cPrintObject>> m_objects;
};
