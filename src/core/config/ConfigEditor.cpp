#include "ConfigEditor.h"

#include "Prompter.h"
#include "cConfigure.h"

ConfigEditor::ConfigEditor(cConfigure &config, Prompter &prompter) : m_config(config), m_prompter(prompter) {}

bool ConfigEditor::setClave(const QString &key)
{
    m_item = m_config.getItemByKey(key);
    return m_item != nullptr;
}

ConfigEditor::Control ConfigEditor::control() const
{
    if (!m_item)
        return Texto;
    switch (m_item->dataType()) {
    case cConfigValue::BOOLEAN:
        return SiNo;
    case cConfigValue::DATE:
        return Fecha;
    case cConfigValue::LONG:
    case cConfigValue::DOUBLE:
        return Numero;
    default:
        return m_item->choiceList().isEmpty() ? Texto : Lista;
    }
}

QStringList ConfigEditor::opciones() const
{
    return m_item ? m_item->choiceList() : QStringList();
}

QString ConfigEditor::texto() const
{
    return m_item ? m_item->toText() : QString();
}

bool ConfigEditor::siNo() const
{
    return m_item && m_item->value().toBool();
}

QDateTime ConfigEditor::fecha() const
{
    return m_item ? m_item->value().toDateTime() : QDateTime();
}

bool ConfigEditor::aceptar(const QVariant &entrada)
{
    if (!m_item)
        return false;
    QVariant value;
    bool ok = false;
    switch (control()) {
    case Lista: {
        const QString choice = entrada.toString().trimmed();
        ok = opciones().contains(choice);
        value = choice;
        if (!ok) {
            m_prompter.information(QStringLiteral("Debe Elegir un valor"));
            return false;
        }
        break;
    }
    case SiNo:
        if (entrada.typeId() != QMetaType::Bool) {
            m_prompter.information(QStringLiteral("Debe Elegir un valor"));
            return false;
        }
        value = entrada;
        break;
    case Fecha:
        value = cConfigValue::convert(entrada, cConfigValue::DATE, &ok);
        if (!ok || !value.toDateTime().isValid()) {
            m_prompter.information(QStringLiteral("Debe Ingresar una fecha"));
            return false;
        }
        break;
    case Numero: {
        const QString text = entrada.toString().trimmed();
        value = cConfigValue::convert(text, m_item->dataType(), &ok);
        if (text.isEmpty() || !ok) {
            m_prompter.information(QStringLiteral("Debe Ingresar un numero"));
            return false;
        }
        break;
    }
    case Texto:
        value = entrada.toString();
        break;
    }
    if (!m_config.setValue(m_item->key(), value) || !m_config.saveValue(m_item->key()))
        return false;
    m_prompter.information(QStringLiteral("Configuración actualizada"));
    return true;
}
