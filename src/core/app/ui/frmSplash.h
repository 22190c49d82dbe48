#pragma once

#include <QLocale>
#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

// The splash window: program name and version, and a blinking warning when the workstation's
// decimal separator is not ".". A Timer1 tick, a click or any key closes it; then the
// callback runs (login and main window, or the shutdown).
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(std::function<void()> onClosed = {}, QWidget *parent = nullptr,
                       const QLocale &userLocale = QLocale::system());

    QTimer *timer1() const { return m_timer1; }
    QTimer *timer2() const { return m_timer2; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void blink();
    static QPixmap drawLogo(int size);

    std::function<void()> m_onClosed;
    QLabel *m_logo = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_msg = nullptr;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
    unsigned m_msgColor;
    bool m_closed = false;
};
