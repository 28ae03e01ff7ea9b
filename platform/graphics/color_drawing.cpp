// Making a colour the current context's fill or stroke colour.
#include "platform/color/color.h"
#include "platform/graphics/graphics_context.h"

void Color::set() const
{
    if (GraphicsContext *context = GraphicsContext::current()) {
        context->setFillColor(*this);
        context->setStrokeColor(*this);
    }
}

void Color::setFill() const
{
    if (GraphicsContext *context = GraphicsContext::current())
        context->setFillColor(*this);
}

void Color::setStroke() const
{
    if (GraphicsContext *context = GraphicsContext::current())
        context->setStrokeColor(*this);
}
