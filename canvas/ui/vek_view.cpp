// The canvas widget: construction, page geometry, zoom, scrolling and the event source.
#include "canvas/ui/vek_view.h"

#include "canvas/ui/background_colour_target.h"
#include "canvas/ui/floating_ruler.h"
#include "canvas/ui/widget_event_source.h"
#include "canvas/page_geometry.h"
#include "canvas/zoom_commands.h"
#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "toolkit/image_functions.h"
#include "toolkit/path_editing.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>


VekView::VekView(VekDocument &document, QWidget *parent) : QAbstractScrollArea(parent), m_document(document)
{
    m_events = std::make_unique<WidgetEventSource>(viewport());
    m_document.setVekView(this);
    m_document.setHiddenBackgroundQuestion([this] {
        QMessageBox box(QMessageBox::Question, tr("Background image is hidden."),
                        localizedString(QStringLiteral("Message for Save w/o Background")), QMessageBox::NoButton, this);
        QPushButton *exclude = box.addButton(tr("Exclude"), QMessageBox::AcceptRole);
        box.addButton(tr("Include"), QMessageBox::RejectRole);
        box.setDefaultButton(exclude);
        box.exec();
        return box.clickedButton() != exclude;
    });
    m_document.setHasWindow(true);
    m_currentPage = std::clamp(m_document.lastCurrentPage(), 1, numberOfPages());
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    // Drops arrive at the viewport, which passes them to the view's handlers.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    m_unhideKnobsTimer.setSingleShot(true);
    connect(&m_unhideKnobsTimer, &QTimer::timeout, this, [this] { unhideKnobs(); });
    updateScrollBars();
    m_rulers = std::make_unique<RulerHost>(*this);   // hidden until the window shows them
    m_backgroundTarget = new BackgroundColourTarget(m_document, this);
}

VekView::~VekView()
{
    m_rulers.reset();
    endEditing();
    // Undo steps that select objects or change pages through this view end with it.
    m_document.undoManager()->removeAllActionsWithTarget(this);
    m_document.setHasWindow(false);
    m_document.setVekView(nullptr);
    m_document.setHiddenBackgroundQuestion(nullptr);
}

// The wheel with Control held zooms one step a notch; without it, it scrolls.
void VekView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return QAbstractScrollArea::wheelEvent(event);
    event->accept();
    m_wheelZoomDelta += event->angleDelta().y();
    const int notch = QWheelEvent::DefaultDeltasPerStep;
    for (; std::abs(m_wheelZoomDelta) >= notch; m_wheelZoomDelta -= m_wheelZoomDelta > 0 ? notch : -notch) {
        CanvasCommandContext context = commandContext();
        m_wheelZoomDelta > 0 ? zoomIn(context) : zoomOut(context);
    }
}

double VekView::scale() const
{
    const double realWorldFactor =
        shellServices().displayOnRealWorldBase() ? GetCurrentScreenResolution() / 72.0 : 1.0;
    return zoomScale(m_zoom, m_document.resolution(), realWorldFactor);
}

void VekView::setCurrentZoom(int percent)
{
    const int page = m_currentPage;
    m_zoom = clampedZoom(percent);
    clearPasteConditions();
    if (m_rulers)
        m_rulers->updateBaseWithZoom();
    FloatingRulerController::sharedFloatingRulerController().updateFloatingRulers();
    updateScrollBars();
    // The user keeps sight of what they work on: the first selected object, else the page.
    const ObjectList selected = selectedObjects();
    if (!selected.empty())
        scrollRectToVisible(selected.front()->bounds());
    else
        setCurrentPageTo(page);
    viewport()->update();
    NotificationCenter::defaultCenter().postNotificationName(VekViewFrameDidChangeNotification, this);
}

// ---- Geometry ----

int VekView::numberOfPages() const
{
    return m_document.numberOfPages();
}

Rect VekView::rectForPage(int page) const
{
    return pageRect(m_document, page);
}

int VekView::pageOfLocation(Point p) const
{
    return ::pageOfLocation(m_document, p.y);
}

int VekView::pageIncludingPoint(Point p) const
{
    return pageHoldingY(m_document, p.y);
}

Point VekView::convertRelativeToPage(Point p) const
{
    return pointRelativeToPage(m_document, p);
}

Rect VekView::bounds() const
{
    return canvasBounds(m_document);
}

QPointF VekView::canvasOrigin() const
{
    const Rect b = bounds();
    const double width = b.width() * scale(), height = b.height() * scale();
    const double x = width < viewport()->width() ? std::floor((viewport()->width() - width) / 2) : -horizontalScrollBar()->value();
    const double y = height < viewport()->height() ? std::floor((viewport()->height() - height) / 2) : -verticalScrollBar()->value();
    return {x, y};
}

Point VekView::convertPointFromWindow(Point p) const
{
    const QPointF local = viewport()->mapFrom(window(), QPointF(p.x, p.y)) - canvasOrigin();
    return {float(local.x() / scale()), float(local.y() / scale())};
}

Rect VekView::visibleRect() const
{
    const QPointF origin = canvasOrigin();
    const Rect visible(float(-origin.x() / scale()), float(-origin.y() / scale()),
                       float(viewport()->width() / scale()), float(viewport()->height() / scale()));
    return intersectionRect(visible, bounds());
}

void VekView::updateScrollBars()
{
    const Rect b = bounds();
    const int width = int(std::ceil(b.width() * scale())), height = int(std::ceil(b.height() * scale()));
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setPageStep(viewport()->height());
}

void VekView::scrollRectToVisible(const Rect &r)
{
    horizontalScrollBar()->setValue(int(r.origin.x * scale()));
    verticalScrollBar()->setValue(int(r.origin.y * scale()));
}

void VekView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

// The page the user scrolled to becomes the current page: the one holding the middle of the
// visible area (not while the canvas itself scrolls to a page it was asked for).
void VekView::scrollContentsBy(int, int)
{
    viewport()->update();
    if (m_scrollingToPage)
        return;
    const Rect visible = visibleRect();
    setCurrentPage(pageIncludingPoint({visible.midX(), visible.midY()}));
    if (rulersVisible())
        updateRulers();
}

void VekView::autoscroll(const MouseEvent &event)
{
    const QPoint inViewport = viewport()->mapFrom(window(), QPointF(event.locationInWindow.x, event.locationInWindow.y).toPoint());
    const QRect area = viewport()->rect();
    if (area.contains(inViewport))
        return;
    const int dx = inViewport.x() < 0 ? inViewport.x() : std::max(0, inViewport.x() - area.right());
    const int dy = inViewport.y() < 0 ? inViewport.y() : std::max(0, inViewport.y() - area.bottom());
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

Point VekView::currentGlobalMouseInView() const
{
    const QPointF inViewport = viewport()->mapFromGlobal(QCursor::pos()) - canvasOrigin();
    const Point p{float(inViewport.x() / scale()), float(inViewport.y() / scale())};
    return pointInRect(p, visibleRect()) ? HalfPosition(p) : NoPoint;
}

EventSource &VekView::eventSource()
{
    return m_scriptedEvents ? *m_scriptedEvents : *m_events;
}

CanvasCommandContext VekView::commandContext()
{
    return CanvasCommandContext{m_document, *this, selectedObjects(), m_currentPage, m_zoom, this};
}

void VekView::updateFrame()
{
    // The rulers' scale and the scroll range follow the page size and the resolution.
    if (m_rulers)
        m_rulers->updateBaseWithZoom();
    updateScrollBars();
    display();
    NotificationCenter::defaultCenter().postNotificationName(VekViewFrameDidChangeNotification, this);
}

bool VekView::confirmPageRemoval(int page)
{
    QMessageBox box(QMessageBox::Warning, tr("Delete page %1").arg(page), tr("Are you sure to delete the page?"),
                    QMessageBox::NoButton, this);
    box.addButton(tr("Delete"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return box.buttonRole(box.clickedButton()) == QMessageBox::DestructiveRole;
}

void VekView::beep()
{
    QApplication::beep();
}

void VekView::setCurrentPageTo(int page)
{
    page = std::clamp(page, 1, numberOfPages());
    setCurrentPage(page);
    m_scrollingToPage = true;
    scrollRectToVisible(rectForPage(page));
    m_scrollingToPage = false;
    viewport()->update();
}

void VekView::updateRulers()
{
    if (m_rulers)
        m_rulers->updateRulers();
}

void VekView::updateRulerMarkers()
{
    if (!m_rulers)
        return;
    m_rulers->setSimplyMoveRulerMarkers(true);
    m_rulers->updateRulers();
    m_rulers->setSimplyMoveRulerMarkers(false);
}
