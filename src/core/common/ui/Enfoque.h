#pragma once

#include <QLineEdit>
#include <QWidget>

// After a refusal, the field the rule named takes the next keystrokes (its text selected, so
// typing replaces it). Does nothing without a field.
inline void enfocaCampo(QWidget *campo)
{
    if (!campo)
        return;
    campo->setFocus();
    if (auto *line = qobject_cast<QLineEdit *>(campo))
        line->selectAll();
}
