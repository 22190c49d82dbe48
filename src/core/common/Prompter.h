#pragma once

#include <QString>
#include <QStringList>

// Every modal message and question of the program goes through a Prompter, so the rules
// that show them run without widgets and tests can read the exact text a user would see.
class Prompter {
public:
    enum class Icon { Information, Exclamation, Critical, Question };

    virtual ~Prompter() = default;

    virtual void message(Icon icon, const QString &text, const QString &title = QString()) = 0;
    // A message whose technical detail stays out of the text and behind a "Detalles" button.
    virtual void detailedMessage(Icon icon, const QString &text, const QString &details,
                                 const QString &title = QString())
    {
        message(icon, text, title);
    }
    // Yes/No question; the default button is Yes when defaultYes is true.
    virtual bool question(const QString &text, bool defaultYes = false, const QString &title = QString()) = 0;
    // Free text; returns false when the user cancelled.
    virtual bool input(const QString &prompt, const QString &title, QString &value) = 0;
    // One entry of a list; returns false when the user cancelled.
    virtual bool choose(const QString &prompt, const QString &title, const QStringList &items,
                        int &index) = 0;

    void information(const QString &text, const QString &title = QString())
    {
        message(Icon::Information, text, title);
    }
    void exclamation(const QString &text, const QString &title = QString())
    {
        message(Icon::Exclamation, text, title);
    }
    void critical(const QString &text, const QString &title = QString())
    {
        message(Icon::Critical, text, title);
    }
};
