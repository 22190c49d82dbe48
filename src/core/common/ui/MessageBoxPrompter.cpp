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

namespace {

QMessageBox::Icon boxIconFor(Prompter::Icon icon)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case Prompter::Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    case Prompter::Icon::Exclamation:
        boxIcon = QMessageBox::Warning;
        break;
    case Prompter::Icon::Critical:
        boxIcon = QMessageBox::Critical;
        break;
    case Prompter::Icon::Question:
        boxIcon = QMessageBox::Question;
        break;
    }
    return boxIcon;
}

} // namespace

void MessageBoxPrompter::message(Icon icon, const QString &text, const QString &title)
{
    detailedMessage(icon, text, QString(), title);
}

void MessageBoxPrompter::detailedMessage(Icon icon, const QString &text, const QString &details,
                                         const QString &title)
{
    QMessageBox box(boxIconFor(icon), titleOr(title), text, QMessageBox::Ok, parentWidget());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    if (!details.isEmpty()) {
        box.setDetailedText(details);
        // The box adds its own toggle with the action role; it reads "Detalles" until opened.
        for (QAbstractButton *b : box.buttons())
            if (box.buttonRole(b) == QMessageBox::ActionRole)
                b->setText(QStringLiteral("Detalles"));
    }
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
