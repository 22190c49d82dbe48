#include "MessageBoxPrompter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

MessageBoxPrompter::MessageBoxPrompter(QWidget *parent) : m_parent(parent) {}

QWidget *MessageBoxPrompter::parentWidget() const
{
    return m_parent ? m_parent.data() : QApplication::activeWindow();
}

QString MessageBoxPrompter::titleOr(const QString &title)
{
    // Message boxes without a title carry the program's name, as the user knows it.
    if (!title.isEmpty())
        return title;
    const QString display = QGuiApplication::applicationDisplayName();
    return display.isEmpty() ? QStringLiteral("Mostrador") : display;
}

void MessageBoxPrompter::message(Icon icon, const QString &text, const QString &title)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    case Icon::Exclamation:
        boxIcon = QMessageBox::Warning;
        break;
    case Icon::Critical:
        boxIcon = QMessageBox::Critical;
        break;
    case Icon::Question:
        boxIcon = QMessageBox::Question;
        break;
    }
    QMessageBox box(boxIcon, titleOr(title), text, QMessageBox::Ok, parentWidget());
    box.exec();
}

bool MessageBoxPrompter::question(const QString &text, bool defaultYes, const QString &title)
{
    QMessageBox box(QMessageBox::Question, titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
                    parentWidget());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool MessageBoxPrompter::input(const QString &prompt, const QString &title, QString &value)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parentWidget(), titleOr(title), prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

bool MessageBoxPrompter::choose(const QString &prompt, const QString &title, const QStringList &items,
                                int &index)
{
    if (items.isEmpty())
        return false;
    bool ok = false;
    const int current = (index >= 0 && index < items.size()) ? index : 0;
    const QString picked =
        QInputDialog::getItem(parentWidget(), titleOr(title), prompt, items, current, false, &ok);
    if (!ok)
        return false;
    index = int(items.indexOf(picked));
    return index >= 0;
}
