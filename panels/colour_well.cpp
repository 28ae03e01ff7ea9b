// The colour well and its hold on the shared colour panel.
#include "panels/colour_well.h"

#include "platform/graphics/color_conversion.h"

#include <QFocusEvent>
#include <QPainter>

ColourWell::ColourWell(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ColourWell::setColor(const Color &color)
{
    m_color = color;
    update();
}

bool ColourWell::isActive() const
{
    return ColourPanel::sharedColorPanelExists() && ColourPanel::sharedColorPanel().target() == this;
}

void ColourWell::changeColor(const ColourPanel &sender)
{
    setColor(sender.color());
    emit colorChanged(m_color);
}

void ColourWell::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    p.setPen(isActive() ? palette().highlight().color() : palette().mid().color());
    p.setBrush(palette().button());
    p.drawRect(frame);
    p.fillRect(frame.adjusted(4, 4, -3, -3), toQColor(m_color));
}

void ColourWell::mousePressEvent(QMouseEvent *)
{
    setFocus(Qt::MouseFocusReason);
    // A well that kept the focus while the panel served another target takes it back.
    ColourPanel &panel = ColourPanel::sharedColorPanel();
    if (!isActive()) {
        panel.setTarget(this);
        panel.setColor(m_color);
        update();
    }
    panel.orderFront();
}

// Only one well takes the panel's colours at a time: the one with the focus.
void ColourWell::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    ColourPanel &panel = ColourPanel::sharedColorPanel();
    panel.setTarget(this);
    panel.setColor(m_color);
    update();
}

void ColourWell::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    // Focus that leaves for the panel itself keeps the well connected.
    if (event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (isActive())
        ColourPanel::sharedColorPanel().setTarget(nullptr);
    update();
}
