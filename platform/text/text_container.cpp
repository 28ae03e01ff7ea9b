// The plain rectangular text container.
#include "platform/text/text_container.h"

#include "platform/text/layout_manager.h"

#include <algorithm>

TextContainer::TextContainer(Size size) : m_size(size) {}

TextContainer::~TextContainer()
{
    if (m_layoutManager)
        m_layoutManager->removeTextContainer(this);
}

void TextContainer::setContainerSize(Size size)
{
    m_size = size;
    invalidate();
}

void TextContainer::setLineFragmentPadding(float padding)
{
    m_padding = padding;
    invalidate();
}

void TextContainer::invalidate()
{
    if (m_layoutManager)
        m_layoutManager->invalidateLayout();
}

bool TextContainer::containsPoint(Point point) const
{
    return pointInRect(point, Rect({0, 0}, m_size));
}

Rect TextContainer::lineFragmentRectForProposedRect(const Rect &proposed, LineSweepDirection, LineMovementDirection,
                                                    Rect *remaining)
{
    if (remaining)
        *remaining = Rect();
    float x = std::max(proposed.minX(), 0.0f);
    float right = std::min(proposed.maxX(), m_size.width);
    float y = std::max(proposed.minY(), 0.0f);
    if (right <= x || y + proposed.height() > m_size.height)
        return Rect();
    return Rect(x, y, right - x, proposed.height());
}
