#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

// One configuration item: a registered key with its category, data type, value and storage.
// Values are held as QVariant of the data type: QString, bool, int (LONG is 32-bit), double,
// QDateTime. A time-only default (08:00) is a QDateTime on 30/12/1899, the zero date of the
// Variant dates scripts use, so it compares and formats like one.
class cConfigValue {
public:
    enum DataType { STRING = 1, BOOLEAN = 2, LONG = 3, DOUBLE = 4, DATE = 5 };
    // Load source and write target codes.
    enum Storage { PorCategoria = 0, Tabla = 1, Registro = 2 };

    cConfigValue(int category, const QString &key, const QVariant &defaultValue, int dataType, bool writeBack,
                 int loadSource, int writeTarget, const QString &choices);

    const QString &key() const { return m_key; }
    int category() const { return m_category; }
    int dataType() const { return m_dataType; }
    const QVariant &value() const { return m_value; }
    const QVariant &defaultValue() const { return m_default; }
    bool writeBack() const { return m_writeBack; }
    int loadSource() const { return m_loadSource; }
    int writeTarget() const { return m_writeTarget; }
    const QString &choices() const { return m_choices; }
    QStringList choiceList() const;

    // False (value untouched) when the value cannot be read as the item's data type.
    bool setValue(const QVariant &value);
    void setLoadSource(int code) { m_loadSource = code; }
    void setWriteTarget(int code) { m_writeTarget = code; }

    // The value in its text form (settings store, export): Booleans "S"/"N", numbers with ".",
    // dates "dd/MM/yyyy HH:mm:ss".
    QString toText() const { return toText(m_value, m_dataType); }
    static QString toText(const QVariant &value, int dataType);
    // Reads a value of the data type from a variant or from its text form; *ok false when it does not fit.
    static QVariant convert(const QVariant &value, int dataType, bool *ok = nullptr);
    // The Variant zero date (30/12/1899) at a time of day.
    static QDateTime timeOfDay(int hour, int minute);

    // A date format of the configuration ("dd/mm/yyyy HH:nn:ss") as a Qt format ("dd/MM/yyyy HH:mm:ss").
    static QString qtDateFormat(const QString &configuredFormat);

private:
    QString m_key;
    int m_category;
    int m_dataType;
    QVariant m_value;
    QVariant m_default;
    bool m_writeBack;
    int m_loadSource;
    int m_writeTarget;
    QString m_choices;
};
