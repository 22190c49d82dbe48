#include "ConfigExchange.h"

#include "ConfigIniFile.h"
#include "Prompter.h"
#include "cConfigure.h"

#include <QRegularExpression>

namespace {
const QString Secciones = QStringLiteral("SECCIONES");

QString categorySection(const QString &name)
{
    return QStringLiteral("SECCION-") + name;
}

QString valueSection(const QString &name, int i)
{
    return categorySection(name) + QStringLiteral("-VALOR") + QString::number(i);
}
} // namespace

ConfigExchange::ConfigExchange(cConfigure &config, Prompter &prompter)
    : m_config(config), m_prompter(prompter)
{
}

QString ConfigExchange::encodeValue(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toBase64());
}

QString ConfigExchange::decodeValue(const QString &stored)
{
    static const QRegularExpression base64(
        QStringLiteral("^(?:[A-Za-z0-9+/]{4})*(?:[A-Za-z0-9+/]{2}==|[A-Za-z0-9+/]{3}=)?$"));
    if (stored.isEmpty() || !base64.match(stored).hasMatch())
        return stored;
    const QByteArray bytes = QByteArray::fromBase64(stored.toLatin1());
    const QString text = QString::fromUtf8(bytes);
    // Bytes that are not UTF-8, or control characters, mean the text was not Base64 after all.
    if (text.toUtf8() != bytes)
        return stored;
    for (const QChar c : text) {
        switch (c.category()) {
        case QChar::Other_Control:
            if (c == QLatin1Char('\t'))
                break;
            return stored;
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_PrivateUse:
        case QChar::Other_NotAssigned:
            return stored;
        default:
            break;
        }
    }
    return text;
}

bool ConfigExchange::exportar(const QString &fileName, const QList<int> &categories)
{
    QList<QPair<int, QStringList>> keys;
    for (int category : categories) {
        QStringList list;
        for (int i = 0; i < m_config.getCount(); ++i) {
            const cConfigValue *item = m_config.getItemByPos(i);
            if (item->category() == category)
                list << item->key();
        }
        keys.append({category, list});
    }
    return exportarClaves(fileName, keys);
}

bool ConfigExchange::exportarClaves(const QString &fileName,
                                    const QList<QPair<int, QStringList>> &keysByCategory)
{
    ConfigIniFile ini;
    ini.setValue(Secciones, QStringLiteral("TOTAL"), encodeValue(QString::number(keysByCategory.size())));
    int n = 0;
    for (const auto &[category, keys] : keysByCategory) {
        const QString name = m_config.sectionName(category);
        ini.setValue(Secciones, QStringLiteral("SECCION") + QString::number(++n), encodeValue(name));
        int i = 0;
        for (const QString &key : keys) {
            const cConfigValue *item = m_config.getItemByKey(key);
            if (!item) {
                m_prompter.exclamation(QStringLiteral("Configuracion no encontrada: ") + key);
                continue;
            }
            ini.setValue(categorySection(name), QStringLiteral("VALOR") + QString::number(++i),
                         encodeValue(item->key()));
            const QString section = valueSection(name, i);
            ini.setValue(section, QStringLiteral("xType"), encodeValue(QString::number(item->category())));
            ini.setValue(section, QStringLiteral("xDataType"),
                         encodeValue(QString::number(item->dataType())));
            ini.setValue(section, QStringLiteral("bSave"),
                         encodeValue(item->writeBack() ? QStringLiteral("S") : QStringLiteral("N")));
            ini.setValue(section, QStringLiteral("vValue"), encodeValue(item->toText()));
        }
        ini.setValue(categorySection(name), QStringLiteral("COUNT"), encodeValue(QString::number(i)));
    }
    if (!ini.save(fileName)) {
        m_prompter.critical(QStringLiteral("No se pudo escribir el archivo ") + fileName);
        return false;
    }
    return true;
}

bool ConfigExchange::importar(const QString &fileName)
{
    m_imported.clear();
    ConfigIniFile ini;
    // A value typed by hand is taken as it is where it already reads right: a number, a
    // registered key, a category section name.
    const auto number = [&ini](const QString &section, const QString &key) {
        const QString raw = ini.value(section, key);
        bool ok = false;
        const int n = raw.toInt(&ok);
        return ok ? n : decodeValue(raw).toInt();
    };
    QStringList sectionNames;
    for (int c = cConfigure::GLOBAL; c <= cConfigure::UltimaCategoria; ++c)
        sectionNames << m_config.sectionName(c);
    const auto name = [&ini, &sectionNames](const QString &section, const QString &key) {
        const QString raw = ini.value(section, key);
        return sectionNames.contains(raw, Qt::CaseInsensitive) ? raw : decodeValue(raw);
    };
    const auto clave = [&ini, this](const QString &section, const QString &key) {
        const QString raw = ini.value(section, key);
        return m_config.existsValue(raw) ? raw : decodeValue(raw);
    };

    const int total = ini.load(fileName) ? number(Secciones, QStringLiteral("TOTAL")) : 0;
    if (total <= 0) {
        m_prompter.information(QStringLiteral("No hay configuraciones disponibles en este archivo"));
        return false;
    }
    for (int n = 1; n <= total; ++n) {
        const QString category = name(Secciones, QStringLiteral("SECCION") + QString::number(n));
        const int count = number(categorySection(category), QStringLiteral("COUNT"));
        for (int i = 1; i <= count; ++i) {
            const QString key =
                clave(categorySection(category), QStringLiteral("VALOR") + QString::number(i));
            const QString section = valueSection(category, i);
            const cConfigValue *item = m_config.getItemByKey(key);
            // Session values (COMPUTER above all) belong to this workstation, not to the file's.
            if (!item || !item->writeBack() || !ini.hasSection(section))
                continue;
            const QString raw = ini.value(section, QStringLiteral("vValue"));
            const QString decoded = decodeValue(raw);
            if (m_config.setValue(key, decoded) || (decoded != raw && m_config.setValue(key, raw)))
                m_imported << item->key();
        }
    }
    return true;
}
