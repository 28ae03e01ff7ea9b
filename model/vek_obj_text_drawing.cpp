// Drawing a text box: its transform, the areas it covers and redraws, and the text laid out
// with the shared layout manager on the canvas, in print, PDF and images alike.
#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/services/shell_services.h"
#include "model/vek_obj_text.h"
#include "model/vek_obj_text_layout.h"
#include "platform/graphics/graphics_context.h"
#include "platform/image/image.h"
#include "platform/text/font_registry.h"
#include "toolkit/geometry_extensions.h"
#include "toolkit/text_extensions.h"

#include <cmath>

namespace {

// The transform applied about the centre of rect: points move into the centre's frame,
// through the transform, and back.
AffineTransform aboutCentre(const AffineTransform &transform, const Rect &rect)
{
    AffineTransform all;
    all.translateXBy(-rect.midX(), -rect.midY());
    all.appendTransform(transform);
    AffineTransform back;
    back.translateXBy(rect.midX(), rect.midY());
    all.appendTransform(back);
    return all;
}

Rect enclosingRect(const AffineTransform &t, const Rect &r)
{
    const Point corners[] = {t.transformPoint({r.minX(), r.minY()}), t.transformPoint({r.maxX(), r.minY()}),
                             t.transformPoint({r.minX(), r.maxY()}), t.transformPoint({r.maxX(), r.maxY()})};
    float x0 = corners[0].x, x1 = x0, y0 = corners[0].y, y1 = y0;
    for (const Point &p : corners) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

} // namespace

std::optional<AffineTransform> VekObjText::currentTransform() const
{
    const bool flipped = _flippedHorizontally || _flippedVertically;
    if (_rotation == 0 && _skewX == 0 && _skewY == 0 && !flipped)
        return std::nullopt;
    AffineTransform t;
    if (flipped) {
        t.scaleXBy(_flippedHorizontally ? -1 : 1, _flippedVertically ? -1 : 1);
        t.translateXBy(_flippedHorizontally ? -_bounds.width() : 0, _flippedVertically ? -_bounds.height() : 0);
    }
    if (_rotation > 0)
        t.rotateByDegrees(_rotation);
    if (_skewX != 0 || _skewY != 0)
        skewXBy(t, _skewX, _skewY);
    return t;
}

Rect VekObjText::drawingBounds() const
{
    const auto transform = currentTransform();
    if (!transform)
        return VekObject::drawingBounds();
    const Rect enclosing = enclosingRect(aboutCentre(*transform, _bounds), _bounds);
    return Rect(_bounds.midX() - enclosing.width() / 2, _bounds.midY() - enclosing.height() / 2, enclosing.width(),
                enclosing.height());
}

Rect VekObjText::paintedBounds() const
{
    return currentTransform() ? drawingBounds() : _bounds;
}

Rect VekObjText::boundsToRedraw() const
{
    Rect area = unionRect(drawingBounds(), _bounds);
    CanvasServices *view = vekView();
    if (view && repeatType() != 0 && _document && !intersectsRect(area, view->visibleRect())) {
        const float step = _document->drawAreaSizePerPage().height;
        for (int i = 1; i < _document->numberOfPages() && !intersectsRect(area, view->visibleRect()); ++i)
            area.origin.y += step;
    }
    // Room for any rotation of the box.
    const float w = area.width();
    const float d = std::floor(w / std::cos(float(M_PI) / 4) - w);
    return insetRect(area, -d, -d);
}

void VekObjText::drawInViewIsSelected(CanvasServices *view, bool selected)
{
    GraphicsContext *context = GraphicsContext::current();
    const bool edited = view && (view->editingObject().get() == this || view->creatingObject().get() == this);
    if (edited && context) {
        // The editor draws the text; the box shows its fill and a frame around the editor.
        const Rect frame = _editingBounds.isEmpty() ? _bounds : _editingBounds;
        const BezierPath path = BezierPath::bezierPathWithRect(frame);
        fillup(&path);
        GraphicsStateSaver saver(*context);
        context->setStrokeColor(systemKnobColor());
        context->strokePath(BezierPath::bezierPathWithRect(insetRect(frame, -1, -1)));
    } else {
        drawInViewInRect(view, _bounds);
    }
    VekObject::drawInViewIsSelected(view, selected);
}

void VekObjText::drawInViewInRect(CanvasServices *view, const Rect &rect)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context || _contents.length() == 0)
        return;
    if (view && (view->editingObject().get() == this || view->creatingObject().get() == this))
        return;
    const auto transform = currentTransform();
    if (drawsFill()) {
        const Rect drawn = drawingBounds();
        BezierPath area = BezierPath::bezierPathWithRect(_bounds);
        if (transform) {
            area = aboutCentre(*transform, _bounds).transformBezierPath(area);
            const Rect at = area.bounds();
            AffineTransform move;
            move.translateXBy(drawn.minX() - at.minX(), drawn.minY() - at.minY());
            area = move.transformBezierPath(area);
        }
        area = BezierPath::bezierPathWithRect(area.bounds());
        fillup(&area);
    }
    const AttributedString text =
        documentUsesCMYK() ? attributedStringUsingCMYK(_contents.text()) : _contents.text();
    Rect target = rect;
    if (!view) {
        // Printing and PDF output: never below the box.
        const Rect within = intersectionRect(rect, _bounds);
        if (within.height() < rect.height())
            target = Rect(rect.minX(), within.minY(), rect.width(), within.height());
    }
    TextBoxLayout layout(*this, text, target.size);
    const TextRange glyphs = layout.layoutManager().glyphRangeForTextContainer(&layout.container());
    if (glyphs.isEmpty())
        return;
    GraphicsStateSaver saver(*context);
    if (_document) {
        context->setShouldSmoothFonts(_document->smoothFonts());
        context->setShouldAntialias(_document->antialiasDraw());
    }
    if (transform)
        context->concat(aboutCentre(*transform, target));
    layout.layoutManager().drawGlyphsForGlyphRange(glyphs, target.origin);
}

std::vector<PlacedText> VekObjText::placedText()
{
    if (_contents.length() == 0)
        return {};
    TextBoxLayout layout(*this, _contents.text(), _bounds.size);
    LayoutManager &manager = layout.layoutManager();
    return manager.placedText(manager.glyphRangeForTextContainer(&layout.container()), _bounds.origin);
}

std::optional<Image> VekObjText::currentTextImage() const
{
    if (_contents.length() == 0)
        return std::nullopt;
    // A private layout in a plain container: the preview shows the text without clip
    // shape, exclusions or page boundaries.
    const Rect drawn = drawingBounds();
    LayoutManager layout;
    TextContainer container(drawn.size);
    layout.addTextContainer(&container);
    layout.setHyphenationFactor(_hyphenFactor);
    layout.setAttributedString(_contents.text());
    const TextRange glyphs = layout.glyphRangeForTextContainer(&container);
    if (glyphs.isEmpty())
        return std::nullopt;
    // The first line is moved down by the largest leading of the runs it begins.
    const AttributedString &text = layout.text();
    const TextRange firstLine = layout.lineFragments().front().characters;
    float leading = 0;
    for (const TextRun &run : text.runs()) {
        if (run.range.location >= firstLine.end())
            break;
        if (run.attributes.font)
            leading = std::max(leading, fontMetrics(*run.attributes.font).leading);
    }
    const float padding = container.lineFragmentPadding();
    return Image::imageByDrawing({drawn.width() + padding, drawn.height()}, [&](QPainter &painter) {
        GraphicsContext context(&painter, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        context.setImageInterpolation(ImageInterpolation::High);
        layout.drawGlyphsForGlyphRange(glyphs, {0, leading});
    });
}
