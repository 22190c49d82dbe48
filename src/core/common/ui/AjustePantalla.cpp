#include "AjustePantalla.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

namespace {

// The area a widget may use: its screen's available area (no task bar), or the frame's.
QRect areaDe(QWidget *w)
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(w))
        if (QMdiArea *area = sub->mdiArea())
            return area->viewport()->rect();
    QScreen *screen = w->screen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

void AjustePantalla::ajusta(QWidget *w)
{
    const QRect area = areaDe(w);
    if (!area.isValid())
        return;
    // The frame (title bar, borders) counts: a window whose frame leaves the screen is cut off.
    const QRect frame = w->frameGeometry();
    const int extraW = qMax(0, frame.width() - w->width());
    const int extraH = qMax(0, frame.height() - w->height());
    const QSize most(area.width() - extraW, area.height() - extraH);
    QSize size = w->size().boundedTo(most);
    size = size.expandedTo(w->minimumSize().boundedTo(most));
    if (size != w->size())
        w->resize(size);
    QRect placed(w->frameGeometry().topLeft(), QSize(size.width() + extraW, size.height() + extraH));
    if (placed.right() > area.right())
        placed.moveRight(area.right());
    if (placed.bottom() > area.bottom())
        placed.moveBottom(area.bottom());
    if (placed.left() < area.left())
        placed.moveLeft(area.left());
    if (placed.top() < area.top())
        placed.moveTop(area.top());
    if (placed.topLeft() != w->frameGeometry().topLeft())
        w->move(placed.topLeft());
}

bool AjustePantalla::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        if (w->isWindow() || qobject_cast<QMdiSubWindow *>(w))
            ajusta(w);
    }
    return false;
}
