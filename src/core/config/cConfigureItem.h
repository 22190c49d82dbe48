#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class cConfigure;
class cConfigValue;

// How scripts see one configuration item (xConfig.getItemByKey / getItemByPos): its key,
// category, data type, write-back flag and value, under the names of the configuration export
// (xType, xDataType, bSave, vValue). The value is the default member, so `xConfig.getItemByKey(k)`
// reads as the value. Assigning vValue goes through cConfigure::setValue: memory only, and a
// value that does not fit the data type is an error instead of being stored.
class cConfigureItem : public QObject {
    Q_OBJECT
    Q_CLASSINFO("DefaultMember", "vValue")
    Q_PROPERTY(QString xKey READ xKey)
    Q_PROPERTY(int xType READ xType)
    Q_PROPERTY(int xDataType READ xDataType)
    Q_PROPERTY(bool bSave READ bSave)
    Q_PROPERTY(QString sChoices READ sChoices)
    Q_PROPERTY(QVariant vValue READ vValue WRITE setVValue)
public:
    cConfigureItem(cConfigure &config, const cConfigValue &item);

    QString xKey() const;
    int xType() const;
    int xDataType() const;
    bool bSave() const;
    QString sChoices() const;
    QVariant vValue() const;
    void setVValue(const QVariant &value);

private:
    cConfigure &m_config;
    const cConfigValue &m_item;
};
