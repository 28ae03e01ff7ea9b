// VekObjPath's drawing: dash set-up, fill, arrow heads, the stroke plain or by line pattern
// (spray, parallel lines, blur, brush), the cached stroke image and the area to redraw.
//
// Spray, blur and brush strokes are costly, so they are rendered once into an image (one
// pixel per point) that later drawings only compose; every didChange drops it. Images are
// drawn y-down like the canvas, so a path copy moved into an image keeps its orientation.
#include "model/vek_obj_path.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "platform/graphics/graphics_context.h"
#include "platform/image/image.h"
#include "platform/text/text_drawing.h"
#include "toolkit/blur.h"
#include "toolkit/dash_styles.h"
#include "toolkit/path_editing.h"
#include "toolkit/path_measure.h"
#include "toolkit/spray.h"

#include <algorithm>
#include <cmath>

namespace {

// Line patterns.
constexpr int SprayPattern = 1;
constexpr int SprayScatterPattern = 2;
constexpr int ParallelLinesPattern = 3;
constexpr int BlurPattern = 4;
constexpr int BrushPattern = 5;

// A plain stroke needs more alpha than this to be drawn at all.
constexpr float MinStrokeAlpha = 0.009f;
// The thinnest line PDF output gets for a line width of 0 (on screen 0 is the device's
// thinnest line).
constexpr float ThinnestPrintedLine = 0.1f;
// Samples `brush` takes along a segment at least; longer segments take one per point so
// that no step of the brush is skipped.
constexpr int MinBrushSamples = 100;

// Spray, blur and brush are the patterns rendered into the stroke image.
bool rendersStrokeImage(int pattern)
{
    return pattern == SprayPattern || pattern == SprayScatterPattern || pattern == BlurPattern
           || pattern == BrushPattern;
}

// The intensity the patterns work with: the object stores 0.1 to 1 through its inspector,
// but a file may hold anything, and 0 or a huge value would stop or swamp the walks.
float usableIntensity(float intensity)
{
    return std::isfinite(intensity) ? std::clamp(intensity, 0.1f, 1.0f) : 0.5f;
}

QImage transparentImage(const Rect &r)
{
    const int w = int(std::ceil(r.width()));
    const int h = int(std::ceil(r.height()));
    if (w < 1 || h < 1)
        return {};
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void drawImageAt(GraphicsContext &context, const QImage &image, Point origin)
{
    Image(image).drawInRect(context, Rect(origin.x, origin.y, float(image.width()), float(image.height())));
}

void translate(BezierPath &path, float dx, float dy)
{
    AffineTransform move;
    move.translateXBy(dx, dy);
    path.transformUsingAffineTransform(move);
}

// The images the patterns render into: from the bounds grown by `margin`, the copy of the
// path centred in it.
struct PatternCanvas {
    Rect area;
    BezierPath path;
};
PatternCanvas patternCanvas(const BezierPath &path, float margin)
{
    const Rect b = path.bounds();
    BezierPath copy = path;
    translate(copy, margin - b.origin.x, margin - b.origin.y);
    return {insetRect(b, -margin, -margin), copy};
}

void stamp(GraphicsContext &context, const QImage &brushImage, Point p)
{
    drawImageAt(context, brushImage, {p.x - float(brushImage.width()) / 2, p.y - float(brushImage.height()) / 2});
}

} // namespace

float VekObjPath::strokeOffset() const
{
    const float half = lineWidth() / 2;
    return std::sqrt(2 * half * half);
}

// ---- Drawing entry points ----

void VekObjPath::drawInViewIsSelected(CanvasServices *view, bool selected)
{
    if (pathCreated()) {
        drawPath(*_path, view);
        if (view && view->editingObject().get() == this) {
            drawControlPointsInView(view);
            return;
        }
    }
    VekObject::drawInViewIsSelected(view, selected);
}

void VekObjPath::drawInViewInRect(CanvasServices *view, const Rect &rect)
{
    if (!pathCreated())
        return;
    if (!view) {
        drawPath(*_path, view);
        return;
    }
    BezierPath moved = *_path;
    translate(moved, 0, rect.origin.y - moved.bounds().origin.y);
    drawPath(moved, view);
}

void VekObjPath::drawPath(const BezierPath &source, CanvasServices *view)
{
    GraphicsContext *context = GraphicsContext::current();
    if (source.isEmpty() || !context)
        return;
    BezierPath path = source;

    const float thickness = _dashScale >= 0.1f ? lineWidth() * _dashScale : 1.0f;
    {
        // The dash information is filled in at the first drawing.
        std::lock_guard lock(_drawingCacheMutex);
        if (!_dashInfo.isAbsent()) {
            setDashPatternWithPhaseForThickness(path, _dashInfo.value(QStringLiteral("pattern")),
                                                _dashInfo.value(QStringLiteral("phase")).floatValue(), thickness);
        } else if (auto entry = setDashPatternForThickness(path, _dashPattern, thickness)) {
            setDashInfo(*entry);
        }
    }
    float width = lineWidth();
    if (width == 0 && (!view || view->drawingToPDF()))
        width = ThinnestPrintedLine;
    path.setLineWidth(width);
    path.setFlatness(_flatness);
    path.setLineJoinStyle(LineJoinStyle(joinStyle()));
    path.setLineCapStyle(LineCapStyle(capStyle()));

    {
        GraphicsStateSaver saver(*context);
        // Fill and stroke go into one layer only where drawing them one by one would differ:
        // under a shadow (one shadow for the whole, not one for each), with a compositing
        // operation (applied to the whole), or with a stroke that lets the fill show through.
        // Everything else is plain source-over drawing, the same with or without a layer.
        const auto &shadow = context->shadow();
        const bool layer = drawsFill()
            && ((shadow && shadow->color.alphaComponent() > 0)
                || context->compositingOperation() != CompositingOperation::SourceOver
                || (drawsStroke() && strokeColor().alphaComponent() < 1));
        if (layer)
            context->beginTransparencyLayer();
        // A plain fill under a plain stroke is painted in one go (one operator in PDF).
        if (!layer && fillsWithPlainColour() && drawsStroke() && !hasArrow() && !rendersStrokeImage(_lineDrawPattern)
            && _lineDrawPattern != ParallelLinesPattern && strokeColor().alphaComponent() > MinStrokeAlpha) {
            context->setFillColor(fillColor());
            context->setStrokeColor(strokeColor());
            context->fillAndStrokePath(pathForFill(path));
        } else {
            fillup(&path);
            addArrowTo(path);
            if (drawsStroke())
                strokeWithPattern(path, width);
        }
        if (layer)
            context->endTransparencyLayer();
    }

    if (!manipulatingBounds()) {
        if (const auto text = attStringForPath())
            drawString(*text, path);
    }
}

// The stroke by the line pattern: an image for spray, blur and brush, parallel copies, or
// the path's own stroke.
void VekObjPath::strokeWithPattern(const BezierPath &path, float width)
{
    GraphicsContext *context = GraphicsContext::current();
    const Color color = strokeColor();
    switch (_lineDrawPattern) {
    case SprayPattern:
    case SprayScatterPattern:
    case BrushPattern:
        if (const QImage image = strokeImageFor(path, color); !image.isNull()) {
            const float d = strokeOffset();
            drawImageAt(*context, image, insetRect(path.bounds(), -2 * d, -2 * d).origin);
        } else if (_lineDrawPattern == BrushPattern) {
            // A brush without its image still draws the line; a spray draws nothing.
            context->setStrokeColor(color);
            context->strokePath(path);
        }
        break;
    case ParallelLinesPattern: {
        if (path.elementCount() < 2)
            break;
        const Point first = firstPoint(path);
        const PathElement &second = path.element(1);
        const Point to = second.kind == ClosePathBezierPathElement ? first : second.endPoint();
        float a = std::atan2(to.y - first.y, to.x - first.x);
        if (std::fabs(a) > float(M_PI) / 2)
            a += a >= 0 ? -float(M_PI) : float(M_PI);
        const float w = width;
        // 2 x intensity x w / (w / 10) copies: the width cancels out, and must, as a
        // width of 0 would make it 0 / 0.
        const int n = w > 0 ? int(20.0f * usableIntensity(_lineDrawIntensity) + 1e-4f) : 0;
        context->setStrokeColor(color);
        if (n <= 2 || w / float(n) < 1.0f) {
            context->strokePath(path);
            break;
        }
        BezierPath copy = path;
        copy.setLineWidth(w / 10);
        const float s = std::sin(-a);
        const float c = std::cos(-a);
        translate(copy, -(w / 2) * s, -(w / 2) * c);
        for (int i = 0; i < n; ++i) {
            translate(copy, s * w / float(n), c * w / float(n));
            if (i % 2 == 0)
                context->strokePath(copy);
        }
        break;
    }
    case BlurPattern: {
        const QImage image = strokeImageFor(path, color);
        if (image.isNull()) {
            context->setStrokeColor(color);
            context->strokePath(path);
            break;
        }
        // The blur spreads the image by its margin on every side.
        const float w = path.lineWidth();
        const Rect r = insetRect(path.bounds(), -w, -w);
        const float m = float(gaussianblurMargin(w, _lineDrawIntensity));
        drawImageAt(*context, image, {r.origin.x - m, r.origin.y - m});
        break;
    }
    default:
        if (color.alphaComponent() > MinStrokeAlpha) {
            context->setStrokeColor(color);
            context->strokePath(path);
        }
        break;
    }
}

// ---- Arrows ----

void VekObjPath::addArrowTo(const BezierPath &path)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context || !hasArrow())
        return;
    const double length = _arrowLength;
    const double angle = _arrowAngle;
    const Color color = strokeColor();

    // Draws the head at the start of `along` and answers it (closed for types 1 to 3).
    const auto drawHead = [&](const BezierPath &along, int type) {
        BezierPath head = addArrowOfLength(along, length, angle);
        head.setLineWidth(path.lineWidth());
        head.setLineJoinStyle(path.lineJoinStyle() == RoundLineJoinStyle ? RoundLineJoinStyle : MiterLineJoinStyle);
        head.setLineCapStyle(path.lineCapStyle() == RoundLineCapStyle ? RoundLineCapStyle : SquareLineCapStyle);
        context->setStrokeColor(color);
        context->setFillColor(color);
        if (type <= 3) {
            head.closePath();
            if (type == 1)
                context->fillPath(head);
        }
        context->strokePath(head);
        return head;
    };

    std::optional<BezierPath> startHead;
    std::optional<BezierPath> endHead;
    if (_arrowTypeS > 0)
        startHead = drawHead(path, _arrowTypeS);
    if (_arrowTypeE > 0)
        endHead = drawHead(path.bezierPathByReversingPath(), _arrowTypeE);

    // The line must not run across a filled or closed head: clip the head out of the rest.
    Rect b = path.bounds();
    b.size.width = std::max(b.size.width, 1.0f);
    b.size.height = std::max(b.size.height, 1.0f);
    const auto clipOut = [&](const BezierPath &head) {
        const float grow = path.lineWidth();
        BezierPath clip = BezierPath::bezierPathWithRect(insetRect(unionRect(b, head.bounds()), -grow, -grow));
        clip.appendBezierPath(head);
        clip.setWindingRule(EvenOddWindingRule);
        context->addClip(clip);
    };
    if (startHead && (_arrowTypeS == 1 || _arrowTypeS == 2))
        clipOut(*startHead);
    if (endHead && (_arrowTypeE == 1 || _arrowTypeE == 2))
        clipOut(*endHead);
}

// ---- The stroke image ----

QImage VekObjPath::strokeImageFor(const BezierPath &path, const Color &color)
{
    std::lock_guard lock(_drawingCacheMutex);
    if (!_pathStrokeImage.isNull())
        return _pathStrokeImage;
    switch (_lineDrawPattern) {
    case SprayPattern:
    case SprayScatterPattern:
        drawSpray(path, _lineDrawPattern, _lineDrawIntensity);
        break;
    case BlurPattern: {
        const float w = path.lineWidth();
        PatternCanvas canvas = patternCanvas(path, w);
        QImage sharp = transparentImage(canvas.area);
        if (!sharp.isNull()) {
            GraphicsContext imageContext(sharp);
            imageContext.setStrokeColor(color);
            imageContext.strokePath(canvas.path);
            _pathStrokeImage = gaussianblur(sharp, w, _lineDrawIntensity);
        }
        break;
    }
    case BrushPattern:
        if (const QImage brushImage = blurCircle(QImage(), color, lineWidth()); !brushImage.isNull())
            createStrokeImageOf(path, brushImage, _lineDrawIntensity);
        break;
    default:
        break;
    }
    return _pathStrokeImage;
}

// ---- Spray ----

void VekObjPath::drawSpray(const BezierPath &path, int type, float intensity)
{
    const int passes = std::max(1, int(10 * usableIntensity(intensity)));
    _pathStrokeImage = QImage();
    if (path.isEmpty())
        return;
    const float w = lineWidth();
    const float d = strokeOffset();
    // The image is drawn at the bounds grown by 2d. Spray drops its dots up to a line width
    // beyond each point along the walk, so the copy goes half a width before the middle:
    // the dots then fall around the path itself.
    PatternCanvas canvas = patternCanvas(path, 2 * d);
    translate(canvas.path, -w / 2, -w / 2);
    QImage image = transparentImage(canvas.area);
    if (image.isNull())
        return;
    const Color color = strokeColor();
    {
        GraphicsContext imageContext(image);
        GraphicsContext::Scope scope(imageContext);
        Point current;
        Point start;
        for (const PathElement &e : canvas.path.elements()) {
            switch (e.kind) {
            case MoveToBezierPathElement:
                current = start = e.points[0];
                break;
            case LineToBezierPathElement:
                spray(type, color, passes, w, current.x, current.y, e.points[0].x, e.points[0].y);
                current = e.points[0];
                break;
            case CurveToBezierPathElement:
                sprayCurve(type, color, passes, w,
                           BezierCurve{current.x, current.y, e.points[0].x, e.points[0].y, e.points[1].x,
                                       e.points[1].y, e.points[2].x, e.points[2].y});
                current = e.points[2];
                break;
            case ClosePathBezierPathElement:
                spray(type, color, passes, w, current.x, current.y, start.x, start.y);
                current = start;
                break;
            }
        }
    }
    _pathStrokeImage = image;
}

// ---- Brush ----

float brush(const QImage &brushImage, float d, Point from, Point to, float carried, float step)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return carried;
    from = {from.x + d, from.y + d};
    to = {to.x + d, to.y + d};
    if (from == to) {
        stamp(*context, brushImage, from);
        return 0;
    }
    // From next to the end point back to the start point.
    const int samples = std::max(MinBrushSamples, int(std::ceil(distanceBetweenPoints(from, to))));
    Point previous = from;
    for (int k = 0; k < samples; ++k) {
        const float t = float(k + 1) / float(samples);
        const Point p{(1 - t) * to.x + t * from.x, (1 - t) * to.y + t * from.y};
        carried += distanceBetweenPoints(previous, p);
        previous = p;
        if (carried >= step) {
            stamp(*context, brushImage, p);
            carried = 0;
        }
    }
    return carried;
}

float brushCurve(const QImage &brushImage, float /*lineWidth*/, float d, const Point curve[4], float carried,
                 float step)
{
    BezierPath one;
    one.moveToPoint(curve[0]);
    one.curveToPoint(curve[3], curve[1], curve[2]);
    const int n = std::max(2, int(std::ceil(totalLength(one))));
    const std::vector<Point> points = divideInto(one, n);
    if (points.empty())
        return carried;
    Point p = points.front();
    for (size_t i = 1; i < points.size(); ++i) {
        const Point q = points[i];
        const float distance = distanceBetweenPoints(p, q);
        if (carried + distance >= step)
            carried = brush(brushImage, d, p, q, carried, step);
        else
            carried += distance;
        p = q;
    }
    return carried;
}

void VekObjPath::createStrokeImageOf(const BezierPath &path, const QImage &brushImage, float intensity)
{
    if (path.isEmpty() || brushImage.isNull())
        return;
    const float step = 2.0f / usableIntensity(intensity);
    const float d = strokeOffset();
    PatternCanvas canvas = patternCanvas(path, d);
    canvas.area = insetRect(canvas.area, -d, -d);
    _pathStrokeImage = QImage();
    QImage image = transparentImage(canvas.area);
    if (image.isNull())
        return;
    {
        GraphicsContext imageContext(image);
        GraphicsContext::Scope scope(imageContext);
        Point current;
        Point start;
        float carried = 0;
        for (const PathElement &e : canvas.path.elements()) {
            switch (e.kind) {
            case MoveToBezierPathElement:
                brush(brushImage, d, e.points[0], e.points[0], 0, step);
                current = start = e.points[0];
                carried = 0;
                break;
            case LineToBezierPathElement: {
                const float distance = distanceBetweenPoints(current, e.points[0]);
                if (carried + distance >= step)
                    carried = brush(brushImage, d, current, e.points[0], carried, step);
                else
                    carried += distance;
                current = e.points[0];
                break;
            }
            case CurveToBezierPathElement: {
                const Point curve[4] = {current, e.points[0], e.points[1], e.points[2]};
                carried = brushCurve(brushImage, path.lineWidth(), d, curve, carried, step);
                current = e.points[2];
                break;
            }
            case ClosePathBezierPathElement:
                if (carried + distanceBetweenPoints(current, start) >= step)
                    brush(brushImage, d, current, start, carried, step);
                current = start;
                carried = 0;
                break;
            }
        }
    }
    _pathStrokeImage = image;
}

// ---- The cache and the area to redraw ----

void VekObjPath::clearCachedImage()
{
    std::lock_guard lock(_drawingCacheMutex);
    _pathStrokeImage = QImage();
}

Rect VekObjPath::boundsToRedraw() const
{
    Rect r = drawingBounds();
    if (pathCreated())
        r = unionRect(r, _path->controlPointBounds());

    if (const auto text = attStringForPath(); text && !text->isEmpty()) {
        const float first = attributedStringSize(text->substring({0, 1})).width;
        const float last = attributedStringSize(text->substring({text->length() - 1, 1})).width;
        const float height = attributedStringSize(*text).height;
        r = insetRect(r, -(first + last), -2 * height);
    }
    if (_lineDrawPattern > 0) {
        const float half = lineWidth() / 2;
        r = insetRect(r, -half, -half);
    }
    std::unique_lock cacheLock(_drawingCacheMutex);
    if (!_pathStrokeImage.isNull() && pathCreated() && rendersStrokeImage(_lineDrawPattern)) {
        // Where drawPath composes the image; the blur image spreads beyond its margin.
        const Rect b = _path->bounds();
        float grow = 2 * strokeOffset();
        if (_lineDrawPattern == BlurPattern)
            grow = lineWidth() + float(gaussianblurMargin(lineWidth(), _lineDrawIntensity));
        const Point origin = insetRect(b, -grow, -grow).origin;
        r = unionRect(r, Rect(origin.x, origin.y, float(_pathStrokeImage.width()), float(_pathStrokeImage.height())));
    }
    cacheLock.unlock();
    if (hasArrow()) {
        const double half = double(_arrowAngle) / 2 * M_PI / 180;
        const float grow = std::sin(half) > 1e-3 ? float(_arrowLength / std::sin(half)) : _arrowLength;
        r = insetRect(r, -grow, -grow);
    }

    CanvasServices *view = vekView();
    if (view && repeatType() != 0 && !intersectsRect(r, view->visibleRect())) {
        const float pageHeight = _document->drawAreaSizePerPage().height;
        for (int i = 1; i < _document->numberOfPages() && pageHeight > 0 && !intersectsRect(r, view->visibleRect()); ++i)
            r = offsetRect(r, 0, pageHeight);
    }

    Size offset;
    float blur = 0;
    if (indvShadow()) {
        offset = indvShadowSize();
        blur = indvShadowBlur();
    } else if (!_noShadow && _document && _document->shadowState()) {
        offset = _document->shadowOffsetFor(std::min(r.width(), r.height()));
        blur = _document->shadowBlur();
    }
    // The blur radius is two standard deviations; the Gaussian reaches three.
    const float spread = 1.5f * std::max(blur, 0.0f);
    return insetRect(r, -(2 * std::fabs(offset.width) + 3 + spread), -(2 * std::fabs(offset.height) + 3 + spread));
}
