#pragma once

#include "Prompter.h"

#include <QTextStream>

// Messages of the command line go to stderr; questions take their default answer.
class ConsolePrompter : public Prompter {
public:
    explicit ConsolePrompter(QTextStream &err) : m_err(err) {}
    void message(Icon, const QString &text, const QString &) override { m_err << text << Qt::endl; }
    void detailedMessage(Icon, const QString &text, const QString &details, const QString &) override
    {
        m_err << text << Qt::endl;
        if (!details.isEmpty())
            m_err << details << Qt::endl;
    }
    bool question(const QString &text, bool defaultYes, const QString &) override
    {
        m_err << text << Qt::endl;
        return defaultYes;
    }
    bool input(const QString &, const QString &, QString &) override { return false; }
    bool choose(const QString &, const QString &, const QStringList &, int &) override { return false; }

private:
    QTextStream &m_err;
};
