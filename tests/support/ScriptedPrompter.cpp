#include "ScriptedPrompter.h"

#include <QTest>

void ScriptedPrompter::message(Icon icon, const QString &text, const QString &title)
{
    shown.append({icon, text, title});
}

void ScriptedPrompter::detailedMessage(Icon icon, const QString &text, const QString &details,
                                       const QString &title)
{
    shown.append({icon, text, title, false, details});
}

bool ScriptedPrompter::question(const QString &text, bool defaultYes, const QString &title)
{
    shown.append({Icon::Question, text, title, defaultYes});
    if (answers.isEmpty()) {
        qWarning("ScriptedPrompter: unexpected question: %s", qPrintable(text));
        return defaultYes;
    }
    return answers.dequeue();
}

bool ScriptedPrompter::input(const QString &prompt, const QString &title, QString &value)
{
    shown.append({Icon::Question, prompt, title});
    if (inputs.isEmpty())
        return false;
    value = inputs.dequeue();
    return true;
}

bool ScriptedPrompter::choose(const QString &prompt, const QString &title, const QStringList &items,
                              int &index)
{
    shown.append({Icon::Question, prompt, title});
    if (choices.isEmpty())
        return false;
    index = choices.dequeue();
    return index >= 0 && index < items.size();
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const auto &s : shown)
        out << s.text;
    return out;
}
