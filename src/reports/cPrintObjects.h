#pragma once

#include "cPrintObject.h"

#include <QList>
#include <QPointer>

#include <utility>

// A line between (Left, Top) and (Width, Height), or the frame of that rectangle with Box.
class cPrintLine : public cPrintObject {
    Q_OBJECT
public:
    using cPrintObject::cPrintObject;
    QString ObjectType() const override { return QStringLiteral("cPrintLine"); }
    QStringList getProperties() const override;
    void printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                     double sectionHeight) override;
    double bottom() const override { return qMax(m_top, m_height); }
};

// Fixed text.
class cPrintText : public cPrintObject {
    Q_OBJECT
public:
    using cPrintObject::cPrintObject;
    QString ObjectType() const override { return QStringLiteral("cPrintText"); }
    QStringList getProperties() const override;
    void printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                     double sectionHeight) override
    {
        drawTextBox(run, printer, sectionTop, sectionHeight);
    }
};

// A column of the report's data, named after the column.
class cPrintField : public cPrintObject {
    Q_OBJECT
public:
    using cPrintObject::cPrintObject;
    QString ObjectType() const override { return QStringLiteral("cPrintField"); }
    QStringList getProperties() const override;
    void printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                     double sectionHeight) override
    {
        drawTextBox(run, printer, sectionTop, sectionHeight);
    }

protected:
    QString printText(ReportRun &run) const override;
};

// A group: its key fields, the values they had when it started, and the summaries it resets.
class cPrintGroup : public cPrintObject {
    Q_OBJECT
    Q_PROPERTY(QString SeparatorGroup MEMBER m_separator)
public:
    explicit cPrintGroup(QObject *parent = nullptr);
    QString ObjectType() const override { return QStringLiteral("cPrintGroup"); }
    QStringList getProperties() const override;
    void printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                     double sectionHeight) override
    {
        drawTextBox(run, printer, sectionTop, sectionHeight);
    }
    // The key fields' texts joined with SeparatorGroup.
    QVariant groupValue() const;
    QString ValueToScript() const override;
    vbs::Value scriptValue() const override;
    void reset() override;

    Q_INVOKABLE void addField(QObject *field);
    Q_INVOKABLE void addSumary(QObject *summary);
    Q_INVOKABLE QVariantList getFields() const;
    Q_INVOKABLE QVariantList getResetObjects() const;
    Q_INVOKABLE bool isChangeGroup() const;
    Q_INVOKABLE void startGroup();
    bool started() const { return m_started; }

protected:
    QString printText(ReportRun &run) const override;

private:
    QString m_separator = QStringLiteral(" - ");
    QList<QPointer<cPrintObject>> m_fields;
    QList<QPointer<cPrintObject>> m_summaries;
    QList<std::pair<QString, QVariant>> m_snapshot;
    bool m_started = false;
};

// A group summary: accumulates by a formula that refers to itself, reset by its group.
class cPrintSumary : public cPrintObject {
    Q_OBJECT
public:
    explicit cPrintSumary(QObject *parent = nullptr);
    QString ObjectType() const override { return QStringLiteral("cPrintSumary"); }
    QStringList getProperties() const override;
    void setValue(const QVariant &value) override;
    void printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                     double sectionHeight) override
    {
        drawTextBox(run, printer, sectionTop, sectionHeight);
    }
    void Refresh(ReportRun &run) override { refreshFormula(run); }
    void reset() override;

protected:
    QString printText(ReportRun &run) const override;
};

// A computed value, with statements that may run each time it prints.
class cPrintFormula : public cPrintObject {
    Q_OBJECT
public:
    using cPrintObject::cPrintObject;
    QString ObjectType() const override { return QStringLiteral("cPrintFormula"); }
    QStringList getProperties() const override;
    void setValue(const QVariant &value) override;
    void printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                     double sectionHeight) override;
    void Refresh(ReportRun &run) override { refreshFormula(run); }
    void reset() override;

protected:
    QString printText(ReportRun &run) const override;
};

// A stored image, its key in Value (or computed by Formula).
class cPrintImage : public cPrintObject {
    Q_OBJECT
public:
    explicit cPrintImage(QObject *parent = nullptr);
    QString ObjectType() const override { return QStringLiteral("cPrintImage"); }
    QStringList getProperties() const override;
    void printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                     double sectionHeight) override;
    void Refresh(ReportRun &run) override { refreshFormula(run); }
    void reset() override;
};
