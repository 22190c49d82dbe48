#pragma once

#include <QObject>

class QWidget;

// Keeps every window that is shown on a 1366×768 screen: a window or dialog larger than the
// available area of its screen is shrunk to it and moved inside it; an inner window of the main
// frame is kept inside the frame. Installed once on the application.
class AjustePantalla : public QObject {
public:
    using QObject::QObject;

    // Shrinks and moves one widget inside the area it may use.
    static void ajusta(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
