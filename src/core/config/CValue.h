#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class cConfigure;

// A typed value under a name: a stored query's parameter ([NAME] markers) and the wrapper in
// which plain values reach event scripts, so a script can read and change `Value`.
// Data-type codes: "T" TEXTO, "O" OBJETO, "E" EAN, "N" NUMERO, "F" FECHA, "S" SI/NO.
class CValue : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Key READ key WRITE setKey)
    Q_PROPERTY(QVariant Value READ value WRITE setValue)
    Q_PROPERTY(QString Tipo READ tipo WRITE setTipo)
    Q_PROPERTY(QString ValueToDb READ valueToDb)
    Q_CLASSINFO("DefaultMember", "Value")
public:
    explicit CValue(QObject *parent = nullptr);
    CValue(const QString &key, const QVariant &value, const QString &tipo = QStringLiteral("T"),
           QObject *parent = nullptr);

    QString key() const { return m_key; }
    void setKey(const QString &key) { m_key = key; }
    QVariant value() const { return m_value; }
    void setValue(const QVariant &value) { m_value = value; }
    QString tipo() const { return m_tipo; }
    void setTipo(const QString &tipo) { m_tipo = tipo.trimmed().toUpper(); }

    // The value as an SQL literal, for texts that admins run as written: "F" quoted in the
    // full server date format, "N" as it stands, "E"/"T" between apostrophes (doubled inside),
    // anything else empty. The program's own statements bind value() instead.
    // "F" uses the configuration's FORMATO-FECHA-SERVIDOR-FULL when a configuration is set,
    // else the format given with setDateFormat.
    QString valueToDb() const;
    QString valueToDb(const QString &vbDateFormat) const;
    // What stands between the apostrophes of a literal for this value (not yet escaped):
    // "F" the date in the given format, anything else the value's text.
    QString literalText(const QString &vbDateFormat) const;
    // The format "F" values are written with when no configuration is set (VB picture).
    void setDateFormat(const QString &vbPicture) { m_dateFormat = vbPicture; }
    void setConfig(const cConfigure *config) { m_config = config; }
    QString dateFormat() const;

    // The value converted for binding by its data type: "N" to a whole number or a Decimal,
    // "F" to a date and time, "S" to 'S'/'N', "T"/"E" to text; an empty value binds as NULL.
    QVariant valueForBinding() const;

    // Data-type codes in the order offered to users, and their names.
    static QStringList tipos();
    static QString nombreTipo(const QString &tipo);

private:
    QString m_key;
    QVariant m_value;
    QString m_tipo = QStringLiteral("T");
    QString m_dateFormat = QStringLiteral("dd/mm/yyyy HH:nn:ss");
    const cConfigure *m_config = nullptr; // process-wide, outlives every value
};
