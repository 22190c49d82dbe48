#pragma once

#include "Prompter.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// Records every message and answers questions from queues; an unexpected question fails loudly.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        Icon icon;
        QString text;
        QString title;
        bool defaultYes = false; // questions only
        QString details;         // behind the "Detalles" button
    };

    QQueue<bool> answers;   // for question()
    QQueue<QString> inputs; // for input(); an empty queue cancels
    QQueue<int> choices;    // for choose(); an empty queue cancels
    QList<Shown> shown;

    void message(Icon icon, const QString &text, const QString &title) override;
    void detailedMessage(Icon icon, const QString &text, const QString &details,
                         const QString &title) override;
    bool question(const QString &text, bool defaultYes, const QString &title) override;
    bool input(const QString &prompt, const QString &title, QString &value) override;
    bool choose(const QString &prompt, const QString &title, const QStringList &items, int &index) override;

    QStringList texts() const;
    QString last() const { return shown.isEmpty() ? QString() : shown.last().text; }
    void clear() { shown.clear(); }
    // True when every queued answer was used.
    bool drained() const { return answers.isEmpty() && inputs.isEmpty() && choices.isEmpty(); }
};
