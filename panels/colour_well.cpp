// The colour well: its swatch and its link to the shared colour panel.
#include "panels/colour_well.h"

#include "platform/graphics/color_conversion.h"

#include <QPainter>

ColourWell::ColourWell(QWidget *parent) : QPushButton(parent)
{
    setMinimumSize(36, 22);
    connect(this, &QPushButton::clicked, this, &ColourWell::activate);
}

void ColourWell::setColor(const Color &color)
{
    m_color = color;
    update();
}

void ColourWell::takeColor(const Color &color)
{
    setColor(color);
    emit colorChanged();
}

void ColourWell::changeColor(const ColourPanel &sender)
{
    takeColor(sender.color());
}

void ColourWell::activate()
{
    ColourPanel &panel = ColourPanel::sharedColorPanel();
    panel.setTarget(this);
    panel.setColor(m_color);
    panel.orderFront();
}

void ColourWell::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect().adjusted(5, 5, -5, -5), toQColor(m_color));
}
