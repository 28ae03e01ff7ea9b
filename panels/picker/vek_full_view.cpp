// The picture of the screen, the tinted pick cursor and the click that picks.
#include "panels/picker/vek_full_view.h"

#include "canvas/screen_capture.h"
#include "panels/picker/colour_pick.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

constexpr int HotSpotX = 1;
constexpr int HotSpotY = 14;
constexpr int UpdateInterval = 500;

// A pipette pointing down-left at the hot spot.
QPainterPath pipettePath()
{
    QPainterPath path;
    path.moveTo(1, 14);
    path.lineTo(3, 10);
    path.lineTo(9, 4);
    path.lineTo(11, 6);
    path.lineTo(5, 12);
    path.closeSubpath();
    path.addEllipse(QRectF(9.5, 0.5, 5, 5));
    return path;
}

} // namespace

VekFullView::VekFullView(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_timer.setInterval(UpdateInterval);
    connect(&m_timer, &QTimer::timeout, this, &VekFullView::updatePicker);
}

QImage VekFullView::pickImage()
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(pipettePath(), Qt::white);
    return image;
}

QImage VekFullView::pickOutlineImage()
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.drawPath(pipettePath());
    return image;
}

QImage VekFullView::tintedPickImage(const QColor &color)
{
    QImage image = pickImage();
    QPainter p(&image);
    // Only the image's opaque pixels take the colour.
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(image.rect(), color);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(0, 0, pickOutlineImage());
    return image;
}

void VekFullView::setScreenshot(const QImage &image)
{
    m_screenshot = image;
    update();
}

void VekFullView::setupFullView()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    setScreenshot(screen ? captureScreenArea(screen->geometry()).image : QImage());
    m_cursor = QCursor(QPixmap::fromImage(tintedPickImage(Qt::white)), HotSpotX, HotSpotY);
    setCursor(m_cursor);
    m_timer.start();
}

QColor VekFullView::colorAt(QPoint p) const
{
    if (m_screenshot.isNull())
        return Qt::black;
    // The picture has the screen's device pixels.
    const qreal ratio = m_screenshot.width() / qreal(std::max(1, width()));
    const QPoint pixel(int(p.x() * ratio), int(p.y() * ratio));
    if (!m_screenshot.rect().contains(pixel))
        return {};
    return m_screenshot.pixelColor(pixel);
}

void VekFullView::updatePicker()
{
    // The pointer's position now, whatever event came last.
    const QColor color = colorAt(mapFromGlobal(QCursor::pos()));
    if (!color.isValid())
        return;
    m_pickedColor = color;
    m_cursor = QCursor(QPixmap::fromImage(tintedPickImage(color)), HotSpotX, HotSpotY);
    setCursor(m_cursor);
}

void VekFullView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_screenshot.isNull())
        p.drawImage(rect(), m_screenshot);
}

void VekFullView::enterEvent(QEnterEvent *)
{
    if (!m_timer.isActive())
        m_timer.start();
}

void VekFullView::leaveEvent(QEvent *)
{
    m_timer.stop();
}

void VekFullView::mousePressEvent(QMouseEvent *event)
{
    m_timer.stop();
    // The colour under the click itself, not the last reading, which may be half a second old.
    m_pickedColor = colorAt(event->position().toPoint());
    if (!finishColourPickWith(m_pickedColor, this))
        releaseFullWindow();
}

void VekFullView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        stopColorPickup();
    else
        QWidget::keyPressEvent(event);
}
