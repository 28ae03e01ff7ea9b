// VekObject: the drawing entry points, the fill, and the areas an object covers and redraws.
#include "model/vek_object.h"

#include "model/gradient/gradient_fill.h"
#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/services/shell_services.h"
#include "model/vek_object_private.h"
#include "platform/graphics/graphics_context.h"

#include <algorithm>

void VekObject::drawInViewIsSelected(CanvasServices *view, bool selected)
{
    if (!_path) {
        // A path-less object shows its frame while it is dragged out, and when it strokes an
        // editable path (which is then its bounds).
        GraphicsContext *context = GraphicsContext::current();
        const bool creating = view && view->creatingObject().get() == this;
        if (context && (creating || (drawsStroke() && hasEditablePath()))) {
            GraphicsStateSaver saver(*context);
            context->setStrokeColor(systemKnobColor());
            context->strokePath(BezierPath::bezierPathWithRect(_bounds));
        }
    }
    if (!view || view->drawingToSave() || !selected)
        return;
    drawSelectionMarkersFor(_bounds, view);
}

void VekObject::drawInViewIsSelectedOnPagePageRect(CanvasServices *view, bool selected, int page,
                                                    const Rect &pageRect)
{
    if (!shouldDrawOnPage(page, pageRect))
        return;
    const Rect onPage = boundsOnPage(page, pageRect);
    if (onPage == _bounds) {
        drawInViewIsSelected(view, selected);
        return;
    }
    drawInViewInRect(view, onPage);
    if (view && !view->drawingToSave() && selected)
        drawSelectionMarkersFor(onPage, view);
}

void VekObject::drawInViewInRect(CanvasServices *, const Rect &) {}

void VekObject::fillup(const BezierPath *path)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;
    if (path && documentUsesCMYK()) {
        // An invisible CMYK fill puts the page's drawing into the CMYK colour space without
        // marking it.
        GraphicsStateSaver saver(*context);
        context->setFillColor(Color::colorWithDeviceCyan(0, 0, 0, 0, 0));
        context->fillRect(path->bounds());
    }
    if (!path || !drawsFill())
        return;
    const BezierPath filled = pathForFill(*path);
    if (_gradType != 0) {
        std::shared_ptr<VekGradientView> model;
        {
            // An object read from a dictionary makes its gradient model at its first fill.
            std::lock_guard lock(_drawingCacheMutex);
            if (!_gradView && !_gradProportion.isAbsent() && !_gradColors.isAbsent())
                setupGradientView();
            model = _gradView;
        }
        if (model)
            drawGradientFill(*model, filled, _gradType, _gradFlip, -_gradRotate, _gradCenter, documentUsesCMYK(),
                             _fillAlpha);
        return;
    }
    const Color color = fillColor();
    // A plain fill shows the colour's own alpha; fillAlpha is the opacity of gradients.
    if (!isVisibleAlpha(color.alphaComponent()))
        return;
    context->setFillColor(color);
    context->fillPath(filled);
}

bool VekObject::fillsWithPlainColour() const
{
    return drawsFill() && _gradType == 0 && !documentUsesCMYK() && isVisibleAlpha(fillColor().alphaComponent());
}

BezierPath VekObject::pathForFill(const BezierPath &path) const
{
    BezierPath filled = path;
    filled.setWindingRule(_fillRule == 1 ? EvenOddWindingRule : NonZeroWindingRule);
    return filled;
}

Rect VekObject::drawingBounds() const
{
    const float grow = drawsStroke() ? std::max(lineWidth() / 2 + 1, 2.0f) + 1 : 3.0f;
    return insetRect(_bounds, -grow, -grow);
}

Rect VekObject::boundsToRedraw() const
{
    Rect r = drawingBounds();
    const float lw = lineWidth();
    CanvasServices *view = vekView();
    // A repeating object is seen on the visible page: redraw it there.
    if (view && repeatType() != 0 && !intersectsRect(r, view->visibleRect())) {
        const Rect visible = view->visibleRect();
        const float pageHeight = _document->drawAreaSizePerPage().height;
        const int pages = _document->numberOfPages();
        for (int i = 1; i < pages && pageHeight > 0 && !intersectsRect(r, visible); ++i)
            r = offsetRect(r, 0, pageHeight);
    }
    r = withShadowOf(r);
    const float grow = 2 * lw + 3;
    return insetRect(r, -grow, -grow);
}

Rect VekObject::paintedBounds() const
{
    return unionRect(drawingBounds(), boundsToRedraw());
}

Rect VekObject::withShadowOf(const Rect &r) const
{
    // The shadow falls wherever its offset points (the offset is y-up like the graphics
    // context's, so it moves down the flipped canvas when negative) and spreads by the blur.
    Size offset;
    float blur = 0;
    if (indvShadow()) {
        offset = indvShadowSize();
        blur = indvShadowBlur();
    } else if (!_noShadow && _document && _document->shadowState()) {
        offset = _document->shadowOffsetSize();
        blur = _document->shadowBlur();
    } else {
        return r;
    }
    // The blur radius is two standard deviations; the Gaussian reaches three.
    const float spread = 1.5f * std::max(blur, 0.0f);
    return unionRect(r, insetRect(offsetRect(r, offset.width, -offset.height), -spread, -spread));
}

float VekObject::shadowBaseSize() const
{
    if (drawsFill() || _gradType > 0)
        return std::max(_bounds.width(), _bounds.height());
    return lineWidth();
}

void VekObject::setObjLineWidth(float width)
{
    if (!(width > 0))
        width = 0;   // negative (or unreadable) widths draw the thinnest line
    if (width == _lineWidth)
        return;
    if (_document)
        _document->vekViewNeedsDisplayInRect(boundsToRedraw());
    registerUndo([old = _lineWidth](VekObject &o) { o.setObjLineWidth(old); });
    _lineWidth = width;
    didChange();
}

bool VekObject::hasClip() const
{
    if (!_document)
        return false;
    const auto &objects = _document->objects();
    const auto it = std::find_if(objects.begin(), objects.end(), [this](const auto &o) { return o.get() == this; });
    if (it == objects.end() || it + 1 == objects.end())
        return false;
    return (*(it + 1))->clipType() > 0;
}
