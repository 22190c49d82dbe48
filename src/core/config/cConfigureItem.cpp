#include "cConfigureItem.h"

#include "cConfigValue.h"
#include "cConfigure.h"

#include <stdexcept>

cConfigureItem::cConfigureItem(cConfigure &config, const cConfigValue &item)
    : QObject(&config), m_config(config), m_item(item)
{
}

QString cConfigureItem::xKey() const
{
    return m_item.key();
}

int cConfigureItem::xType() const
{
    return m_item.category();
}

int cConfigureItem::xDataType() const
{
    return m_item.dataType();
}

bool cConfigureItem::bSave() const
{
    return m_item.writeBack();
}

QString cConfigureItem::sChoices() const
{
    return m_item.choices();
}

QVariant cConfigureItem::vValue() const
{
    return m_item.value();
}

void cConfigureItem::setVValue(const QVariant &value)
{
    // The script engine turns the exception into a run-time error with this text.
    if (!m_config.setValue(m_item.key(), value))
        throw std::runtime_error(
            QStringLiteral("El valor no corresponde al tipo de dato de la configuración «%1»")
                .arg(m_item.key())
                .toStdString());
}
