#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// An initialization file: "[section]" headers and "key=value" lines, read and written as the
// Windows profile functions do: section and key names without regard to case, blanks around
// names trimmed, ";" comment lines and blank lines ignored, CRLF or LF. Values are kept
// verbatim (no quoting, no lists), which QSettings would not guarantee.
class ConfigIniFile {
public:
    bool load(const QString &fileName);
    // Writes with CRLF line ends, readable by the Windows tools admins still use.
    bool save(const QString &fileName) const;

    bool isEmpty() const { return m_sections.isEmpty(); }
    QStringList sections() const;
    bool hasSection(const QString &section) const;
    QString value(const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    void setValue(const QString &section, const QString &key, const QString &value);

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QList<Entry> entries;
    };
    Section *find(const QString &section);
    const Section *find(const QString &section) const;

    QList<Section> m_sections;
};
