#include "frmSplash.h"

#include "SplashController.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// 0x00BBGGRR, as the original stored colours.
QColor fromBgr(unsigned bgr)
{
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

const QColor kBand(0x1f, 0x4e, 0x79);
// Dark enough for both red and yellow text to stand out.
const QColor kWarningBand(0x26, 0x26, 0x26);

} // namespace

frmSplash::frmSplash(std::function<void()> onClosed, QWidget *parent, const QLocale &userLocale)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_onClosed(std::move(onClosed)),
      m_msgColor(SplashController::kRed)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Mostrador"));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(560, 300);

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("imgLogo"));
    m_logo->setPixmap(drawLogo(140));
    m_logo->setFixedSize(150, 150);
    m_logo->setAlignment(Qt::AlignCenter);

    auto *name = new QLabel(QStringLiteral("Mostrador"), this);
    name->setObjectName(QStringLiteral("lblProductName"));
    QFont big = name->font();
    big.setPointSize(30);
    big.setBold(true);
    name->setFont(big);
    name->setStyleSheet(QStringLiteral("color: #1f4e79;"));

    auto *tagline =
        new QLabel(QStringLiteral("Punto de venta y administración para tiendas y farmacias"), this);
    tagline->setObjectName(QStringLiteral("lblTagline"));
    tagline->setWordWrap(true);
    tagline->setStyleSheet(QStringLiteral("color: #404040;"));

    auto *versionCaption = new QLabel(QStringLiteral("Versión"), this);
    versionCaption->setStyleSheet(QStringLiteral("color: #404040;"));
    m_version = new QLabel(SplashController::versionText(QCoreApplication::applicationVersion()), this);
    m_version->setObjectName(QStringLiteral("lblVersion"));
    QFont versionFont = m_version->font();
    versionFont.setBold(true);
    m_version->setFont(versionFont);

    m_msg = new QLabel(this);
    m_msg->setObjectName(QStringLiteral("lblMsg"));
    m_msg->setAlignment(Qt::AlignCenter);
    m_msg->setMinimumHeight(34);
    QFont msgFont = m_msg->font();
    msgFont.setPointSize(12);
    msgFont.setBold(true);
    m_msg->setFont(msgFont);
    m_msg->setAutoFillBackground(true);

    auto *versionRow = new QHBoxLayout;
    versionRow->addWidget(versionCaption);
    versionRow->addWidget(m_version);
    versionRow->addStretch();

    auto *text = new QVBoxLayout;
    text->addStretch();
    text->addWidget(name);
    text->addWidget(tagline);
    text->addSpacing(12);
    text->addLayout(versionRow);
    text->addStretch();

    auto *body = new QHBoxLayout;
    body->setContentsMargins(24, 40, 24, 8);
    body->setSpacing(24);
    body->addWidget(m_logo, 0, Qt::AlignVCenter);
    body->addLayout(text, 1);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addLayout(body, 1);
    root->addWidget(m_msg);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(SplashController::kBlinkInterval);
    connect(m_timer1, &QTimer::timeout, this, &QWidget::close);
    connect(m_timer2, &QTimer::timeout, this, &frmSplash::blink);

    const SplashController::Timing timing = SplashController::timingFor(userLocale.decimalPoint());
    m_msg->setText(timing.warning);
    QPalette msgPalette = m_msg->palette();
    msgPalette.setColor(QPalette::Window, timing.warning.isEmpty() ? kBand : kWarningBand);
    msgPalette.setColor(QPalette::WindowText, fromBgr(m_msgColor));
    m_msg->setPalette(msgPalette);
    m_timer1->setInterval(timing.timer1Interval);
    m_timer1->start();
    m_timer2->start();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSplash::blink()
{
    m_msgColor = SplashController::nextBlinkColor(m_msgColor);
    QPalette p = m_msg->palette();
    p.setColor(QPalette::WindowText, fromBgr(m_msgColor));
    m_msg->setPalette(p);
    m_msg->repaint();
}

void frmSplash::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_closed)
        return;
    m_closed = true;
    m_timer1->stop();
    m_timer1->setInterval(0);
    m_timer2->stop();
    // After the close has completed: the callback opens modal windows and may delete the splash.
    if (m_onClosed)
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [cb = m_onClosed] { cb(); }, Qt::QueuedConnection);
}

void frmSplash::keyPressEvent(QKeyEvent *)
{
    close();
}

void frmSplash::mousePressEvent(QMouseEvent *)
{
    close();
}

void frmSplash::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    raise();
    activateWindow();
    setFocus();
}

void frmSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.fillRect(QRect(0, 0, width(), 12), kBand);
    p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

QPixmap frmSplash::drawLogo(int size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(QSize(size, size) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // A shop front: striped awning over a counter with a price tag.
    QPainterPath body;
    body.addRoundedRect(QRectF(s * 0.05, s * 0.05, s * 0.9, s * 0.9), s * 0.14, s * 0.14);
    p.fillPath(body, kBand);

    const int stripes = 5;
    const qreal left = s * 0.16, right = s * 0.84, top = s * 0.2, awning = s * 0.16;
    const qreal w = (right - left) / stripes;
    for (int i = 0; i < stripes; ++i) {
        const QColor c = (i % 2 == 0) ? QColor(0xe0, 0x3c, 0x31) : QColor(Qt::white);
        QPainterPath stripe;
        stripe.moveTo(left + i * w, top);
        stripe.lineTo(left + (i + 1) * w, top);
        stripe.lineTo(left + (i + 1) * w, top + awning);
        stripe.arcTo(QRectF(left + i * w, top + awning - w / 2, w, w), 0, -180);
        stripe.closeSubpath();
        p.fillPath(stripe, c);
    }
    const QRectF counter(left + s * 0.04, top + awning + w / 2 + s * 0.04, right - left - s * 0.08, s * 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    p.drawRoundedRect(counter, s * 0.03, s * 0.03);
    p.setPen(QPen(kBand, s * 0.025));
    p.drawLine(QPointF(counter.left() + s * 0.06, counter.center().y()),
               QPointF(counter.right() - s * 0.06, counter.center().y()));
    QFont f;
    f.setBold(true);
    f.setPixelSize(int(s * 0.16));
    p.setFont(f);
    p.setPen(kBand);
    p.setBrush(Qt::NoBrush);
    p.drawText(counter.adjusted(0, 0, 0, -counter.height() / 2), Qt::AlignCenter, QStringLiteral("$"));
    return pm;
}
