// The colour panel's target for the page background.
#include "canvas/ui/background_colour_target.h"

#include "document/vek_document.h"

void BackgroundColourTarget::orderFrontColourPanel()
{
    ColourPanel &panel = ColourPanel::sharedColorPanel();
    panel.setTarget(this);
    panel.setColor(m_document.backgroundColor());
    panel.orderFront();
}

void BackgroundColourTarget::changeColor(const ColourPanel &)
{
    changeBackgroundColor(m_document, *this);
}

Color BackgroundColourTarget::color() const
{
    return ColourPanel::sharedColorPanel().color();
}

void BackgroundColourTarget::setColor(const Color &color)
{
    ColourPanel::sharedColorPanel().setColor(color);
}
