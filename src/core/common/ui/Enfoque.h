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

// For a window's destructor: a field that loses the focus while the window is being taken apart
// still says editingFinished, and a handler of the half-destroyed window must not hear it.
inline void sueltaCampos(QWidget *ventana)
{
    for (QObject *hijo : ventana->findChildren<QObject *>())
        QObject::disconnect(hijo, nullptr, ventana, nullptr);
}
