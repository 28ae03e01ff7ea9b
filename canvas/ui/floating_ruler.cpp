// The floating rulers' windows and their controller.
#include "canvas/ui/floating_ruler.h"

#include "canvas/ui/floating_ruler_geometry.h"
#include "canvas/ui/mini_close_button.h"
#include "document/vek_document.h"
#include "model/services/canvas_services.h"
#include "model/services/shell_services.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"
#include "platform/graphics/color_conversion.h"
#include "toolkit/image_functions.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace {

constexpr int HandleLong = 13, HandleShort = 9, HandleInset = 5, ButtonInset = 5;

// The resize handle: an arrow pointing the way the ruler grows.
void drawHandle(QPainter &painter, const QRect &area, bool horizontal, const QColor &color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.5));
    const QRectF r = QRectF(area).adjusted(1.5, 1.5, -1.5, -1.5);
    if (horizontal)
        painter.drawPolyline(QPolygonF({r.topLeft(), QPointF(r.right(), r.center().y()), r.bottomLeft()}));
    else
        painter.drawPolyline(QPolygonF({r.topLeft(), QPointF(r.center().x(), r.bottom()), r.topRight()}));
    painter.restore();
}

// The cursor of a ruler at its minimum length: an arrow pointing right (or down) only.
QCursor oneWayResizeCursor(bool horizontal)
{
    QPixmap picture(17, 17);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::white, 3));
    const QPolygonF arrow({{2, 8}, {14, 8}, {10, 4}, {14, 8}, {10, 12}});
    painter.drawPolyline(arrow);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPolyline(arrow);
    painter.end();
    if (!horizontal)
        picture = picture.transformed(QTransform().rotate(90));
    return QCursor(picture, 8, 8);
}

QFont labelFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(8);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
    return font;
}

} // namespace

// ---- FloatingRulerView ----

FloatingRulerView::FloatingRulerView(const QRect &frame, FloatingRulerController &controller)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_controller(controller), m_horizontal(frame.width() > frame.height())
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setGeometry(frame);
    auto *button = new MiniCloseButton(this);
    connect(button, &QAbstractButton::clicked, this, [this] { hide(); });
    m_closeButton = button;
    m_closeButton->setGeometry(closeButtonArea());
    updateRuler();
}

void FloatingRulerView::updateRuler()
{
    m_unit = shellServices().selectedUnit();
    m_zoomFactor = m_controller.currentZoomFactor();
    update();
}

QRect FloatingRulerView::resizeArea() const
{
    if (m_horizontal)
        return QRect(width() - HandleShort - HandleInset, (height() - HandleLong) / 2, HandleShort, HandleLong);
    return QRect((width() - HandleLong) / 2, height() - HandleShort - HandleInset, HandleLong, HandleShort);
}

QRect FloatingRulerView::closeButtonArea() const
{
    const int side = MiniCloseButton::Side;
    if (m_horizontal)
        return QRect(ButtonInset, (height() - side) / 2, side, side);
    return QRect((width() - side) / 2, ButtonInset, side, side);
}

void FloatingRulerView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor background = toQColor(shellServices().frBGColor());
    const QColor marks = toQColor(shellServices().frMKColor());
    painter.fillRect(rect(), background);
    painter.setPen(QPen(marks, 0));
    const QFont font = labelFont();
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    const double w = width(), h = height();
    for (const RulerTick &tick : floatingRulerTicks(m_unit, m_zoomFactor, m_horizontal ? w : h)) {
        // Every tick from both long edges inwards, the label centred on its tick.
        const double p = tick.position, l = tick.length;
        if (m_horizontal) {
            painter.drawLine(QPointF(p, 0), QPointF(p, l));
            painter.drawLine(QPointF(p, h), QPointF(p, h - l));
        } else {
            painter.drawLine(QPointF(0, p), QPointF(l, p));
            painter.drawLine(QPointF(w, p), QPointF(w - l, p));
        }
        if (!tick.labelled)
            continue;
        const QString text = QString::number(tick.label);
        const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
        const QPointF topLeft = m_horizontal ? QPointF(p - size.width() / 2, h / 2 - size.height() / 2)
                                             : QPointF(w / 2 - size.width() / 2, p - size.height() / 2);
        painter.drawText(topLeft + QPointF(0, metrics.ascent()), text);
    }
    drawHandle(painter, resizeArea(), m_horizontal, marks);
}

void FloatingRulerView::setResizeCursor()
{
    if (m_oneDirection)
        setCursor(oneWayResizeCursor(m_horizontal));
    else
        setCursor(m_horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

void FloatingRulerView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_initialFrame = geometry();
    m_initialPoint = event->globalPosition().toPoint();
    if (resizeArea().contains(event->position().toPoint())) {
        m_oneDirection = (m_horizontal ? width() : height()) <= FloatingRulerMinimumLength;
        setResizeCursor();
        m_resizing = true;
        return;
    }
    setCursor(Qt::OpenHandCursor);
    // Wayland places windows itself and moves them only through the compositor.
    if (QGuiApplication::platformName() == QLatin1String("wayland") && windowHandle()
        && windowHandle()->startSystemMove())
        return;
    m_moving = true;
}

void FloatingRulerView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint delta = event->globalPosition().toPoint() - m_initialPoint;
    if (m_resizing) {
        bool atMinimum = false;
        const QRect frame = resizedFloatingRulerFrame(m_initialFrame, delta, m_horizontal, &atMinimum);
        if (atMinimum != m_oneDirection) {
            m_oneDirection = atMinimum;
            setResizeCursor();
        }
        setGeometry(frame);
    } else if (m_moving) {
        move(m_initialFrame.topLeft() + delta);
    }
}

void FloatingRulerView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_resizing = false;
    m_moving = false;
    setCursor(Qt::ArrowCursor);
    // Every mouse-up keeps the frame, also after a plain click.
    m_controller.storeFrame(*this);
}

void FloatingRulerView::resizeEvent(QResizeEvent *event)
{
    if (m_closeButton)
        m_closeButton->setGeometry(closeButtonArea());
    QWidget::resizeEvent(event);
}

// ---- FloatingRulerController ----

FloatingRulerController &FloatingRulerController::sharedFloatingRulerController()
{
    static FloatingRulerController *shared = [] {
        auto *controller = new FloatingRulerController(UserDefaults::standardUserDefaults());
        // The windows must go while the application still exists.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, controller, [controller] {
            delete controller->m_horizontal.data();
            delete controller->m_vertical.data();
        });
        return controller;
    }();
    return *shared;
}

FloatingRulerController::FloatingRulerController(UserDefaults &defaults) : m_defaults(defaults)
{
}

FloatingRulerController::~FloatingRulerController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    delete m_horizontal.data();
    delete m_vertical.data();
}

void FloatingRulerController::setCurrentDocumentProvider(std::function<VekDocument *()> provider)
{
    m_currentDocument = std::move(provider);
}

VekDocument *FloatingRulerController::currentDocument() const
{
    return m_currentDocument ? m_currentDocument() : nullptr;
}

double FloatingRulerController::currentZoomFactor() const
{
    VekDocument *document = currentDocument();
    const CanvasServices *canvas = document ? document->vekView() : nullptr;
    const int resolution = document ? document->resolution() : 72;
    const double canvasZoom = canvas ? canvas->currentZoom() * 0.01 * 72.0 / std::max(resolution, 1) : 1.0;
    return rulerZoomFactor(canvasZoom, shellServices().displayOnRealWorldBase(), GetCurrentScreenResolution(),
                           resolution);
}

void FloatingRulerController::createRulers()
{
    if (m_horizontal && m_vertical)
        return;
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const PropertyList prefs = m_defaults.objectForKey(DefaultsKey::Prefs);
    m_horizontal = new FloatingRulerView(floatingRulerFrame(prefs, true, screens), *this);
    m_vertical = new FloatingRulerView(floatingRulerFrame(prefs, false, screens), *this);
    NotificationCenter::defaultCenter().addObserver(this, VekRulerUnitDidChangeNotification, nullptr,
                                                    [this](const Notification &) { updateFloatingRulers(); });
}

void FloatingRulerController::toggleRuler(int which)
{
    FloatingRulerView *ruler = which == 0 ? m_horizontal.data() : m_vertical.data();
    if (ruler && ruler->isVisible()) {
        ruler->hide();
        return;
    }
    if (ruler) {
        ruler->updateRuler();
    } else {
        createRulers();
        ruler = which == 0 ? m_horizontal.data() : m_vertical.data();
    }
    ruler->show();
    ruler->raise();
}

bool FloatingRulerController::horizontalRulerIsVisible() const
{
    return m_horizontal && m_horizontal->isVisible();
}

bool FloatingRulerController::verticalRulerIsVisible() const
{
    return m_vertical && m_vertical->isVisible();
}

void FloatingRulerController::orderOutBoth()
{
    for (FloatingRulerView *ruler : {m_horizontal.data(), m_vertical.data()})
        if (ruler)
            ruler->hide();
}

void FloatingRulerController::mainWindowChanged(bool hasMainWindow)
{
    if (!m_horizontal)
        return;
    if (!hasMainWindow)
        orderOutBoth();
    updateFloatingRulers();
}

void FloatingRulerController::mainWindowResigned()
{
    if (!m_horizontal)
        return;
    if (!currentDocument())
        orderOutBoth();
    updateFloatingRulers();
}

void FloatingRulerController::setApplicationActive(bool active)
{
    FloatingRulerView *rulers[2] = {m_horizontal.data(), m_vertical.data()};
    for (int i = 0; i < 2; ++i) {
        if (!rulers[i])
            continue;
        if (!active && rulers[i]->isVisible()) {
            rulers[i]->hide();
            m_hiddenByDeactivation[i] = true;
        } else if (active && m_hiddenByDeactivation[i]) {
            rulers[i]->show();
            m_hiddenByDeactivation[i] = false;
        }
    }
}

void FloatingRulerController::updateFloatingRulers()
{
    for (FloatingRulerView *ruler : {m_horizontal.data(), m_vertical.data()})
        if (ruler)
            ruler->updateRuler();
}

void FloatingRulerController::setRulersNeedsDisplay()
{
    for (FloatingRulerView *ruler : {m_horizontal.data(), m_vertical.data()})
        if (ruler)
            ruler->update();
}

void FloatingRulerController::storeFrame(const FloatingRulerView &ruler)
{
    const QRect f = ruler.geometry();
    const QString text = stringFromRect(Rect(float(f.x()), float(f.y()), float(f.width()), float(f.height())));
    m_defaults.updateObjectForKey(DefaultsKey::Prefs, [&](PropertyList &prefs) {
        if (!prefs.isDictionary())
            prefs = PropertyList::dictionary();
        prefs.insert(floatingRulerFrameKey(ruler.isHorizontal()), text);
    });
    m_defaults.synchronize();
}
