// VekGradientStrip: painting, clicks, drags, keys, the colour panel and colour drops.
#include "panels/gradient_strip.h"

#include "model/services/event_source.h"
#include "model/services/shell_services.h"
#include "model/vek_object.h"
#include "platform/graphics/color_conversion.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr char16_t deleteCharacter = 0x7F;

} // namespace

VekGradientStrip::VekGradientStrip(QWidget *parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(true);
    NotificationCenter::defaultCenter().addObserver(this, WindowWillCloseNotification, nullptr,
                                                    [this](const Notification &n) { windowWillClose(n); });
}

VekGradientStrip::~VekGradientStrip()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    if (m_model)
        m_model->setChangeHandler(nullptr);
}

QSize VekGradientStrip::sizeHint() const
{
    return QSize(int(gGradViewSize.width), int(gGradViewSize.height));
}

void VekGradientStrip::setGradientModel(const std::shared_ptr<VekGradientView> &model)
{
    if (m_model)
        m_model->setChangeHandler(nullptr);
    m_model = model;
    if (m_model)
        m_model->setChangeHandler([this] { update(); });
    update();
}

Point VekGradientStrip::stripPoint(QPointF position) const
{
    return Point(float(position.x()), float(height() - position.y()));
}

Rect VekGradientStrip::widgetRect(const Rect &r) const
{
    return Rect(r.origin.x, float(height()) - r.origin.y - r.height(), r.width(), r.height());
}

void VekGradientStrip::paintEvent(QPaintEvent *)
{
    if (!m_model)
        return;
    const QImage image = m_model->sampleImage();
    const auto &colors = m_model->colors();
    const auto &rects = m_model->stopRects();
    if (image.isNull() || colors.empty() || rects.empty())
        return;
    QPainter painter(this);
    for (size_t i = 0; i < colors.size() && i < rects.size(); ++i) {
        const Rect r = widgetRect(rects[i]);
        const QRectF square(r.origin.x, r.origin.y, r.width(), r.height());
        painter.fillRect(square, toQColor(colors[i]));
        const bool selected = int(i) == m_model->selectedCRIndex();
        QPen pen(selected ? Qt::red : Qt::gray, selected ? 1.5 : 0);
        painter.setPen(pen);
        painter.drawRect(square);
    }
    const Rect area = widgetRect(VekGradientView::gradientArea());
    painter.drawImage(QRectF(area.origin.x, area.origin.y, area.width(), area.height()), image);
}

void VekGradientStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mouseDown(event->position(), 1);
}

void VekGradientStrip::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mouseDown(event->position(), 2);
}

void VekGradientStrip::mouseDown(QPointF position, int clickCount)
{
    m_tracking = false;
    setFocus(Qt::MouseFocusReason);
    if (!m_model || !m_model->vekObject())
        return;
    const Point p = stripPoint(position);
    m_selectionAtPress = m_model->selectedCRIndex();
    m_model->setSelectedCRIndex(m_model->colorRectUnder(p));
    const int selected = m_model->selectedCRIndex();
    const int stops = int(m_model->stopRects().size());
    if (selected < 0 && clickCount > 1) {
        m_model->insertStopAt(p);
    } else if (selected > 0 && selected + 1 < stops) {
        // An interior stop: it follows the drag; the end stops never move.
        m_dragged = false;
        if (m_eventSource) {
            if (trackStop())
                return;
        } else {
            m_tracking = true;
            return;   // the release ends the click
        }
    }
    connectColourPanel(m_selectionAtPress);
}

bool VekGradientStrip::trackStop()
{
    for (;;) {
        const MouseEvent e = m_eventSource->nextEvent(DragOrUpMask);
        if (e.type != EventType::LeftMouseDragged)
            return m_dragged;
        const QPointF local = mapFrom(window(), QPointF(e.locationInWindow.x, e.locationInWindow.y));
        dragStopTo(stripPoint(local).x);
    }
}

void VekGradientStrip::dragStopTo(float x)
{
    if (!m_dragged) {
        m_dragged = true;
        m_model->beginStopMove();
    }
    if (!m_model->moveSelectedStopTo(x))
        QApplication::beep();
}

void VekGradientStrip::mouseMoveEvent(QMouseEvent *event)
{
    if (m_tracking && m_model && (event->buttons() & Qt::LeftButton))
        dragStopTo(stripPoint(event->position()).x);
}

void VekGradientStrip::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_tracking || event->button() != Qt::LeftButton)
        return;
    m_tracking = false;
    if (!m_dragged && m_model)
        connectColourPanel(m_selectionAtPress);
}

void VekGradientStrip::connectColourPanel(int previousSelection)
{
    const int selected = m_model->selectedCRIndex();
    if (selected >= 0) {
        ColourPanel &panel = ColourPanel::sharedColorPanel();
        panel.setTarget(this);
        panel.orderFront();
        if (selected != previousSelection) {
            if (selected < int(m_model->colors().size()))
                panel.setColor(m_model->colors()[size_t(selected)]);
            update();
        }
    }
    setFocus(Qt::MouseFocusReason);
}

void VekGradientStrip::changeColor(const ColourPanel &sender)
{
    if (m_model && m_model->changeSelectedRectColorTo(sender.color()))
        setFocus(Qt::OtherFocusReason);
}

void VekGradientStrip::keyPressEvent(QKeyEvent *event)
{
    char16_t character = 0;
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)
        character = deleteCharacter;
    else if (!event->text().isEmpty())
        character = event->text().at(0).unicode();
    if (m_model && character && m_model->doEventForChar(character, modifierFlagsFromQt(event->modifiers())))
        return;
    QWidget::keyPressEvent(event);
}

void VekGradientStrip::focusOutEvent(QFocusEvent *event)
{
    // Focus that leaves for another window (the colour panel) keeps the selection, so the
    // panel's colour still reaches the stop.
    if (m_model && event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        m_model->setSelectedCRIndex(-1);
        update();
    }
    QWidget::focusOutEvent(event);
}

void VekGradientStrip::windowWillClose(const Notification &notification)
{
    if (!ColourPanel::sharedColorPanelExists()
        || notification.sender != static_cast<const QWidget *>(&ColourPanel::sharedColorPanel()))
        return;
    ColourPanel::sharedColorPanel().setTarget(nullptr);
    if (hasFocus())
        clearFocus();
    if (isVisible())
        update();
}

int VekGradientStrip::dropTarget(const QMimeData *data, QPointF position) const
{
    if (!m_model || !m_model->vekObject() || !data || !data->hasColor())
        return -1;
    return m_model->colorRectUnder(stripPoint(position));
}

void VekGradientStrip::dragEnterEvent(QDragEnterEvent *event)
{
    if (dropTarget(event->mimeData(), event->position()) >= 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void VekGradientStrip::dragMoveEvent(QDragMoveEvent *event)
{
    if (dropTarget(event->mimeData(), event->position()) >= 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void VekGradientStrip::dropEvent(QDropEvent *event)
{
    const int stop = dropTarget(event->mimeData(), event->position());
    if (stop < 0) {
        event->ignore();
        return;
    }
    const QColor c = qvariant_cast<QColor>(event->mimeData()->colorData());
    m_model->setSelectedCRIndex(stop);
    m_model->changeSelectedRectColorTo(
        Color::colorWithCalibratedRed(float(c.redF()), float(c.greenF()), float(c.blueF()), float(c.alphaF())));
    update();
    event->acceptProposedAction();
}
