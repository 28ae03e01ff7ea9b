// The image object's caches, drawing extents and drawing.
#include "model/vek_obj_image.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "platform/graphics/compositing.h"
#include "platform/graphics/graphics_context.h"
#include "toolkit/image_functions.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float AlphaThreshold = 0.09f;

VekObjImage::AreaBelowRenderer &areaBelowRenderer()
{
    static VekObjImage::AreaBelowRenderer renderer;
    return renderer;
}

// The operation that puts the image onto a captured background off-screen, for PDF output;
// none when the image does not show.
std::optional<CompositingOperation> offscreenOperationFor(CompositingOperation op)
{
    switch (op) {
    case CompositingOperation::SourceIn: return CompositingOperation::SourceOver;
    case CompositingOperation::DestinationIn:
    case CompositingOperation::DestinationAtop: return CompositingOperation::DestinationOut;
    case CompositingOperation::DestinationOut: return CompositingOperation::DestinationIn;
    default: return std::nullopt;
    }
}

// The platform's control colour, shown behind special operations on a transparent canvas.
Color controlColor()
{
    return Color::colorWithCalibratedWhite(0.93f);
}

} // namespace

void VekObjImage::setAreaBelowRenderer(AreaBelowRenderer renderer)
{
    areaBelowRenderer() = std::move(renderer);
}

const Image &VekObjImage::transformedImage() const
{
    std::lock_guard lock(_drawingCacheMutex);
    if (_cachedImage.isValid() || !_image.isValid() || !hasDrawableBounds())
        return _cachedImage;
    const float w = _bounds.width();
    const float h = _bounds.height();
    const Image source = _image;
    const bool flipH = _flippedHorizontally;
    const bool flipV = _flippedVertically;
    Image drawn = Image::imageByDrawing(Size{w, h}, [&](QPainter &painter) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (flipH || flipV) {
            painter.scale(flipH ? -1 : 1, flipV ? -1 : 1);
            painter.translate(flipH ? -w : 0, flipV ? -h : 0);
        }
        if (const ImageRep *rep = source.bestRepresentation())
            rep->drawInRect(painter, QRectF(0, 0, w, h));
    });
    if (isTransformed())
        drawn = rotateSkewXSkewY(drawn, int(_rotation), _skewX, _skewY);
    _cachedImage = std::move(drawn);
    _cmykImage = Image();
    return _cachedImage;
}

const Image &VekObjImage::coloredImage() const
{
    std::lock_guard lock(_drawingCacheMutex);
    if (_coloredImage.isValid() || !_overcolor)
        return _coloredImage;
    const Image &transformed = transformedImage();
    const Image &base = transformed.isValid() ? transformed : _image;
    if (!base.isValid())
        return _coloredImage;
    _coloredImage = colorWith(base, *_overcolor, 0);
    _cmykImage = Image();
    return _coloredImage;
}

Rect VekObjImage::drawingBounds() const
{
    if (!hasDrawableBounds())
        return Rect();
    std::lock_guard lock(_drawingCacheMutex);
    const Image &transformed = transformedImage();
    if (!transformed.isValid())
        return _bounds;
    const Size s = transformed.size();
    return Rect(_bounds.midX() - s.width / 2, _bounds.midY() - s.height / 2, s.width, s.height);
}

float VekObjImage::shadowBaseSize() const
{
    return std::min(_bounds.width(), _bounds.height());
}

Rect VekObjImage::boundsOnPage(int page, const Rect &pageRect) const
{
    const Rect drawn = drawingBounds();
    if (drawn.width() <= 1.0f || drawn.height() <= 1.0f)
        return Rect();
    return offsetRect(drawn, 0, float(page - 1) * pageRect.height());
}

Rect VekObjImage::boundsToRedraw() const
{
    Rect u = unionRect(drawingBounds(), _bounds);
    float s = 0;
    if (!_noShadow && _document && _document->shadowState())
        s = std::fabs(u.width() / std::cos(std::numbers::pi_v<float> / 4) - u.width());
    if (repeatType() != 0 && _document) {
        if (const CanvasServices *view = _document->vekView()) {
            const Rect visible = view->visibleRect();
            const float pageHeight = _document->drawAreaSizePerPage().height;
            for (int i = 1; i < _document->numberOfPages() && !intersectsRect(u, visible); ++i)
                u = offsetRect(u, 0, pageHeight);
        }
    }
    const float grow = std::trunc(s);
    return insetRect(u, -grow, -grow);
}

void VekObjImage::drawInViewIsSelected(CanvasServices *view, bool selected)
{
    const Rect drawn = drawingBounds();
    if (drawn == Rect())
        return;
    drawInRect(drawn, selected);
    VekObject::drawInViewIsSelected(view, selected);
}

void VekObjImage::drawInViewIsSelectedOnPagePageRect(CanvasServices *view, bool selected, int page,
                                                      const Rect &pageRect)
{
    if (!shouldDrawOnPage(page, pageRect))
        return;
    const float down = float(page - 1) * pageRect.height();
    if (down == 0) {
        drawInViewIsSelected(view, selected);
        return;
    }
    drawInViewInRect(view, offsetRect(_bounds, 0, down));
    if (view && !view->drawingToSave() && selected)
        drawSelectionMarkersFor(boundsOnPage(page, pageRect), view);
}

void VekObjImage::drawInViewInRect(CanvasServices *, const Rect &rect)
{
    // The image takes the move from the bounds to the rectangle.
    const Rect drawn = drawingBounds();
    if (drawn == Rect())
        return;
    drawInRect(offsetRect(drawn, rect.origin.x - _bounds.origin.x, rect.origin.y - _bounds.origin.y),
                         false);
}

void VekObjImage::drawInRect(const Rect &r, bool)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;
    GraphicsStateSaver saver(*context);
    const BezierPath frame = BezierPath::bezierPathWithRect(r);
    fillup(&frame);
    context->setImageInterpolation(ImageInterpolation::High);

    Image chosen;
    {
        std::lock_guard lock(_drawingCacheMutex);
        chosen = coloredImage();
        if (!chosen.isValid())
            chosen = (_flippedHorizontally || _flippedVertically || isTransformed()) ? transformedImage() : _image;
        if (chosen.isValid() && documentUsesCMYK()) {
            // A CMYK document draws the CMYK version of whichever image is shown.
            if (!_cmykImage.isValid())
                _cmykImage = imageInCMYKcolorspace(chosen, false);
            if (_cmykImage.isValid())
                chosen = _cmykImage;
        }
    }
    if (chosen.isValid())
        drawImageWithOperation(chosen, r);
    else if (hasUnreadableImage())
        drawPlaceholder(r);

    if (drawsStroke()) {
        BezierPath outline = BezierPath::bezierPathWithRect(insetRect(r, -2.0f, -2.0f));
        outline.setLineWidth(1.0f);
        context->setStrokeColor(strokeColor());
        context->strokePath(outline);
    }
}

void VekObjImage::drawImageWithOperation(const Image &image, const Rect &r)
{
    GraphicsContext &context = *GraphicsContext::current();
    const CompositingOperation op = compositingOperationFromNumber(int(_compositeOp));
    const CanvasServices *view = vekView();
    const bool toPDF = view && view->drawingToPDF();
    context.setCompositingOperation(CompositingOperation::SourceOver);

    if (!toPDF || op == CompositingOperation::SourceOver) {
        image.drawInRect(context, r, {}, op, _fillAlpha);
        if (op != CompositingOperation::SourceOver)
            drawBackgroundBehind(r);
        return;
    }

    // PDF composes source-over only: other operations are worked out off-screen against
    // the content below, rendered at output resolution by the document.
    const Image below = areaBelowRenderer() ? areaBelowRenderer()(*this, r) : Image();
    if (!below.isValid()) {
        image.drawInRect(context, r, {}, op, _fillAlpha);
        drawBackgroundBehind(r);
        return;
    }
    if (op == CompositingOperation::DestinationOver)
        return;   // the image would lie entirely behind what is already there
    const std::optional<CompositingOperation> offscreen = offscreenOperationFor(op);
    const float fraction = _fillAlpha;
    const Image composed = Image::imageByDrawing(r.size, [&](QPainter &painter) {
        const QRectF all(0, 0, r.width(), r.height());
        below.drawInRect(painter, all);
        if (offscreen)
            image.drawInRect(painter, all, {}, toQtCompositionMode(*offscreen), fraction);
    });
    composed.drawInRect(context, r, {}, CompositingOperation::SourceOver, 1.0f);
}

void VekObjImage::drawPlaceholder(const Rect &r)
{
    // A grey frame crossed from corner to corner: an image is there but cannot be shown.
    GraphicsContext &context = *GraphicsContext::current();
    BezierPath cross = BezierPath::bezierPathWithRect(r);
    cross.moveToPoint(r.origin);
    cross.lineToPoint({r.maxX(), r.maxY()});
    cross.moveToPoint({r.origin.x, r.maxY()});
    cross.lineToPoint({r.maxX(), r.origin.y});
    cross.setLineWidth(1.0f);
    context.setStrokeColor(Color::grayColor());
    context.strokePath(cross);
}

void VekObjImage::drawBackgroundBehind(const Rect &r)
{
    GraphicsContext &context = *GraphicsContext::current();
    const CanvasServices *view = vekView();
    Color color = view ? view->backgroundColor() : Color::clearColor();
    const bool transparent = color.alphaComponent() <= AlphaThreshold;
    if (transparent && !(view && (view->drawingToSave() || view->drawingToPDF())))
        color = controlColor();
    if (color.alphaComponent() <= AlphaThreshold)
        return;
    context.setFillColor(color);
    context.fillRectUsingOperation(r, CompositingOperation::DestinationAtop);
}
