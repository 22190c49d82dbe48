#pragma once

#include "ReportRun.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

class cReportPrinter;

// What every printable object of a report holds: its place in the section (millimetres), pen,
// font, data kind and value. The classes differ in what they draw, which properties the designer
// sees (getProperties) and how their value is computed.
class cPrintObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE setName)
    Q_PROPERTY(bool Visible MEMBER m_visible)
    Q_PROPERTY(double Left MEMBER m_left)
    Q_PROPERTY(double Top MEMBER m_top)
    Q_PROPERTY(double Width MEMBER m_width)
    Q_PROPERTY(double Height MEMBER m_height)
    Q_PROPERTY(int Align MEMBER m_align)
    Q_PROPERTY(QString FontName MEMBER m_fontName)
    Q_PROPERTY(double FontSize MEMBER m_fontSize)
    Q_PROPERTY(bool FontBold MEMBER m_fontBold)
    Q_PROPERTY(bool FontItalic MEMBER m_fontItalic)
    Q_PROPERTY(bool FontTransparent MEMBER m_fontTransparent)
    Q_PROPERTY(qint64 ForeColor MEMBER m_foreColor)
    Q_PROPERTY(double DrawWidth MEMBER m_drawWidth)
    Q_PROPERTY(double DrawStyle MEMBER m_drawStyle)
    Q_PROPERTY(double DrawMode MEMBER m_drawMode)
    Q_PROPERTY(bool Box MEMBER m_box)
    Q_PROPERTY(QString DataType MEMBER m_dataType)
    Q_PROPERTY(QString FormatField MEMBER m_formatField)
    Q_PROPERTY(QString Formula MEMBER m_formula)
    Q_PROPERTY(bool ReCalc MEMBER m_reCalc)
    Q_PROPERTY(QString onPrintFormula MEMBER m_onPrintFormula)
    Q_PROPERTY(QVariant Value READ Value WRITE setValue)
public:
    explicit cPrintObject(QObject *parent = nullptr);

    Q_INVOKABLE virtual QString ObjectType() const = 0;
    QString Name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QVariant Value() const { return m_value; }
    Q_INVOKABLE virtual void setValue(const QVariant &value) { m_value = value; }

    // Text forms of the value by data kind.
    Q_INVOKABLE virtual QString ValueToScript() const;
    Q_INVOKABLE virtual QString ValueToDb() const;
    // What evaluating ValueToScript() gives, for formulas.
    virtual vbs::Value scriptValue() const;

    // Draws the object in its section's current band.
    virtual void printObject(ReportRun &run, cReportPrinter &printer, double sectionTop,
                             double sectionHeight);
    // Recomputes formula-bearing objects; others do nothing.
    virtual void Refresh(ReportRun &run) { Q_UNUSED(run) }
    Q_INVOKABLE virtual void reset() {}

    // The designer's view: "Name,String" … in the class's order; texts converted by type.
    Q_INVOKABLE virtual QStringList getProperties() const = 0;
    // False with the user's message in *message when the text does not fit the property.
    bool setPropertyText(const QString &name, const QString &text, QString *message = nullptr);
    using QObject::setProperty;
    // For scripts and the designer: a refused text is a script error with the message.
    Q_INVOKABLE bool setProperty(const QString &name, const QString &text);
    Q_INVOKABLE QVariant getPropertyValue(const QString &name) const;

    // The bottom edge the section must leave room for.
    virtual double bottom() const { return m_top + m_height; }

    bool visible() const { return m_visible; }
    double left() const { return m_left; }
    double top() const { return m_top; }
    double width() const { return m_width; }
    double height() const { return m_height; }
    QString dataType() const { return m_dataType; }
    QString formula() const { return m_formula; }
    bool reCalc() const { return m_reCalc; }
    QString onPrintFormula() const { return m_onPrintFormula; }

    // Compiled-formula bookkeeping of the report that runs the object.
    int formulaSlot = -1;
    int onPrintSlot = -1;
    quint64 compiledRun = 0;
    bool errorListed = false;

protected:
    // The printed text; formatted objects apply FormatField.
    virtual QString printText(ReportRun &run) const;
    void applyPen(cReportPrinter &printer, bool font = true) const;
    bool insideBand(double y1, double y2, double sectionTop, double sectionHeight) const;
    // Common drawing of text-bearing objects.
    void drawTextBox(ReportRun &run, cReportPrinter &printer, double sectionTop, double sectionHeight);
    // Evaluates Formula into the value; false leaves it as it was.
    bool refreshFormula(ReportRun &run);

    QString m_name;
    bool m_visible = true;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    int m_align = 0;
    QString m_fontName = QStringLiteral("Arial");
    double m_fontSize = 10;
    bool m_fontBold = false, m_fontItalic = false, m_fontTransparent = false;
    qint64 m_foreColor = 0;
    double m_drawWidth = 1, m_drawStyle = 0, m_drawMode = 13;
    bool m_box = false;
    QString m_dataType = QStringLiteral("T");
    QString m_formatField;
    QString m_formula;
    bool m_reCalc = false;
    QString m_onPrintFormula;
    QVariant m_value;
};
