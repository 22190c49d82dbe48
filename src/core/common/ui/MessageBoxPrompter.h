#pragma once

#include "Prompter.h"

#include <QPointer>

class QWidget;

// The Prompter of the desktop program: modal message boxes and input dialogs.
class MessageBoxPrompter : public Prompter {
public:
    // Dialogs are centred on parent, or on the active window when there is none.
    explicit MessageBoxPrompter(QWidget *parent = nullptr);

    void setParent(QWidget *parent) { m_parent = parent; }

    void message(Icon icon, const QString &text, const QString &title = QString()) override;
    void detailedMessage(Icon icon, const QString &text, const QString &details,
                         const QString &title = QString()) override;
    bool question(const QString &text, bool defaultYes = false, const QString &title = QString()) override;
    bool input(const QString &prompt, const QString &title, QString &value) override;
    bool choose(const QString &prompt, const QString &title, const QStringList &items, int &index) override;

private:
    QWidget *parentWidget() const;
    static QString titleOr(const QString &title);

    QPointer<QWidget> m_parent;
};
