// The graphics context: state stack, clipping, transforms, painting, emulated shadows and layers.
#include "platform/graphics/graphics_context.h"

#include "platform/graphics/cmyk_stand_ins.h"
#include "platform/graphics/color_conversion.h"
#include "platform/graphics/image_blur.h"
#include "platform/graphics/pdf_page_markers.h"
#include "platform/graphics/path_conversion.h"
#include "platform/graphics/recording_paint_device.h"
#include "platform/graphics/stroke_outline_cache.h"

#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPaintEngine>

#include <algorithm>
#include <cmath>

namespace {

// Each thread draws into its own contexts (tiles render on worker threads), so each has
// its own stack of current contexts.
std::vector<GraphicsContext *> &currentStack()
{
    thread_local std::vector<GraphicsContext *> stack;
    return stack;
}

QTransform toQTransform(const AffineTransform &t)
{
    return QTransform(t.m11, t.m12, t.m21, t.m22, t.tX, t.tY);
}

AffineTransform toAffineTransform(const QTransform &t)
{
    return AffineTransform(t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy());
}

// The glyph run with each glyph moved to the 1/64 device pixel at or before its place.
// Qt's glyph cache cuts device positions to 1/64 pixel towards zero, so a glyph left of or
// above the device's origin (one that a tile's edge cuts) would land up to a quarter pixel
// apart from its place in the neighbouring tile; on the grid both tiles agree. A quarter
// of a step inwards keeps the way back and forth through the transform from crossing it.
QGlyphRun onDeviceGrid(const QGlyphRun &run, const QTransform &toDevice)
{
    bool invertible = false;
    const QTransform back = toDevice.inverted(&invertible);
    if (!invertible)
        return run;
    const auto snapped = [](double v) {
        const double step = std::floor(v * 64);
        return (step + (step < 0 ? -0.25 : 0.25)) / 64;
    };
    QList<QPointF> positions = run.positions();
    for (QPointF &p : positions) {
        const QPointF device = toDevice.map(p);
        p = back.map(QPointF(snapped(device.x()), snapped(device.y())));
    }
    QGlyphRun moved = run;
    moved.setPositions(positions);
    return moved;
}

// The largest side of an off-screen mask or layer, in pixels.
constexpr int maxOffscreenSide = 16384;
// Resolution of shadow masks in PDF and print, in pixels per point.
constexpr qreal vectorShadowPixelsPerPoint = 150.0 / 72.0;

} // namespace

// A transparency layer: its drawing recorded as our own drawing commands (paths, images and
// text as they were drawn, so that replaying them at any resolution changes nothing), and
// the device area it covers.
struct GraphicsContext::Layer {
    explicit Layer(QSize deviceSize) : recording(deviceSize) {}
    RecordingPaintDevice recording;
    std::unique_ptr<QPainter> painter;
    QRectF drawn;           // device coordinates
    size_t stateDepth = 0;  // depth of the state stack inside the layer
};

GraphicsContext::GraphicsContext(QPaintDevice *device, Output output)
    : m_output(output), m_device(device), m_ownPainter(std::make_unique<QPainter>()), m_painter(m_ownPainter.get()),
      m_states(1)
{
    if (device && device->paintEngine())
        m_ownPainter->begin(device);
    applyFlags();
}

GraphicsContext::GraphicsContext(QImage &image) : GraphicsContext(&image, Output::Bitmap) {}

GraphicsContext::GraphicsContext(QPainter *painter, Output output)
    : m_output(output), m_device(painter->device()), m_painter(painter), m_states(1)
{
    m_painter->save();
    applyFlags();
}

GraphicsContext::~GraphicsContext()
{
    while (!m_layers.empty())
        endTransparencyLayer();
    while (m_states.size() > 1)
        restoreGraphicsState();
    auto &stack = currentStack();
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    if (m_ownPainter) {
        if (m_ownPainter->isActive())
            m_ownPainter->end();
    }
    else
        m_painter->restore();
}

GraphicsContext *GraphicsContext::current()
{
    const auto &stack = currentStack();
    return stack.empty() ? nullptr : stack.back();
}

GraphicsContext::Scope::Scope(GraphicsContext &context)
{
    currentStack().push_back(&context);
}

GraphicsContext::Scope::~Scope()
{
    currentStack().pop_back();
}

QPainter *GraphicsContext::painter() const
{
    return m_layers.empty() ? m_painter : m_layers.back()->painter.get();
}

bool GraphicsContext::newPage()
{
    auto *paged = dynamic_cast<QPagedPaintDevice *>(m_device);
    return paged && paged->newPage();
}

void GraphicsContext::saveGraphicsState()
{
    m_states.push_back(state());
    painter()->save();
}

void GraphicsContext::restoreGraphicsState()
{
    const size_t base = m_layers.empty() ? 1 : m_layers.back()->stateDepth;
    if (m_states.size() <= base)
        return;
    m_states.pop_back();
    painter()->restore();
}

void GraphicsContext::addClip(const BezierPath &path)
{
    painter()->setClipPath(toQPainterPath(path), Qt::IntersectClip);
}

void GraphicsContext::setClip(const BezierPath &path)
{
    painter()->setClipPath(toQPainterPath(path), Qt::ReplaceClip);
}

void GraphicsContext::clipRect(const Rect &rect)
{
    painter()->setClipRect(QRectF(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height), Qt::IntersectClip);
}

void GraphicsContext::concat(const AffineTransform &t)
{
    painter()->setWorldTransform(toQTransform(t), true);
}

AffineTransform GraphicsContext::currentTransform() const
{
    return toAffineTransform(painter()->worldTransform());
}

void GraphicsContext::setCurrentTransform(const AffineTransform &t)
{
    painter()->setWorldTransform(toQTransform(t));
}

void GraphicsContext::setFillColor(const Color &color)
{
    state().fill = color;
}

void GraphicsContext::setStrokeColor(const Color &color)
{
    state().stroke = color;
}

QBrush GraphicsContext::brushFor(const Color &color) const
{
    if (color.kind() == Color::Kind::Named)
        return brushFor(color.namedFallback());
    if (m_standIns && color.isCMYK()) {
        const CmykValue value{color.cyanComponent(), color.magentaComponent(), color.yellowComponent(),
                              color.blackComponent()};
        QColor c = QColor::fromRgb(m_standIns->standInFor(value));
        c.setAlphaF(std::clamp(color.alphaComponent(), 0.0f, 1.0f));
        return QBrush(c);
    }
    return toQBrush(color);
}

void GraphicsContext::fillPath(const BezierPath &path)
{
    const QPainterPath qpath = toQPainterPath(path);
    const QBrush brush = brushFor(state().fill);
    fillPathWithBrush(qpath, brush);
}

void GraphicsContext::fillPathWithBrush(const QPainterPath &path, const QBrush &brush)
{
    if (!painter()->isActive())
        return;
    paint([&](QPainter &p) { p.fillPath(path, brush); }, painter()->worldTransform().mapRect(path.boundingRect()));
}

void GraphicsContext::drawGlyphRun(const QGlyphRun &run, const QTransform &placement, const QBrush &brush)
{
    if (!painter()->isActive() || run.glyphIndexes().isEmpty())
        return;
    const QRectF bounds = (placement * painter()->worldTransform()).mapRect(run.boundingRect()).adjusted(-1, -1, 1, 1);
    paint(
        [&](QPainter &p) {
            p.save();
            p.setWorldTransform(placement, true);
            p.setPen(QPen(brush, 0));
            const bool raster = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
            RecordingPaintDevice::drawGlyphRun(p, raster ? onDeviceGrid(run, p.combinedTransform() * p.deviceTransform()) : run);
            p.restore();
        },
        bounds);
}

QRectF GraphicsContext::clipBounds() const
{
    const QPainter *p = painter();
    if (!p->isActive())
        return QRectF();
    if (p->hasClipping())
        return p->clipBoundingRect();
    return p->worldTransform().inverted().mapRect(deviceRect());
}

void GraphicsContext::strokePath(const BezierPath &path)
{
    if (!painter()->isActive())
        return;
    const QPainterPath qpath = toQPainterPath(path);
    const QTransform &world = painter()->worldTransform();
    const QPen pen = penForPath(path, brushFor(state().stroke), std::sqrt(std::abs(world.determinant())));
    // A miter may reach half the width times the miter limit beyond its corner.
    const qreal reach = pen.widthF() / 2 * std::max<qreal>(pen.miterLimit(), 1.5) + 1;
    const QRectF bounds = world.mapRect(qpath.boundingRect().adjusted(-reach, -reach, reach, reach)).adjusted(-1, -1, 1, 1);
    paint([&](QPainter &p) { strokePathKeepingOutline(p, qpath, pen); }, bounds);
}

void GraphicsContext::fillAndStrokePath(const BezierPath &path)
{
    const auto &shadow = state().shadow;
    if (isDrawingToScreen() || !m_layers.empty() || (shadow && shadow->color.alphaComponent() > 0)
        || !painter()->isActive()) {
        fillPath(path);
        strokePath(path);
        return;
    }
    QPainter &p = *painter();
    p.save();
    p.setBrush(brushFor(state().fill));
    p.setPen(penForPath(path, brushFor(state().stroke), std::sqrt(std::abs(p.worldTransform().determinant()))));
    p.drawPath(toQPainterPath(path));
    p.restore();
}

void GraphicsContext::fillRect(const Rect &rect)
{
    fillPath(BezierPath::bezierPathWithRect(rect));
}

void GraphicsContext::fillRectUsingOperation(const Rect &rect, CompositingOperation op)
{
    GraphicsStateSaver saver(*this);
    setCompositingOperation(op);
    fillRect(rect);
}

void GraphicsContext::drawImage(const QImage &image, const Rect &target, const Rect &source, CompositingOperation op,
                                float fraction)
{
    if (image.isNull() || !painter()->isActive())
        return;
    const QRectF to(target.origin.x, target.origin.y, target.size.width, target.size.height);
    const QRectF from = source.isEmpty() ? QRectF(image.rect())
                                         : QRectF(source.origin.x, source.origin.y, source.size.width, source.size.height);
    GraphicsStateSaver saver(*this);
    setCompositingOperation(op);
    paint(
        [&](QPainter &p) {
            p.setOpacity(std::clamp(double(fraction), 0.0, 1.0));
            p.drawImage(to, image, from);
            p.setOpacity(1.0);
        },
        painter()->worldTransform().mapRect(to));
}

void GraphicsContext::setShadow(const Shadow &shadow)
{
    state().shadow = shadow;
}

void GraphicsContext::clearShadow()
{
    state().shadow.reset();
}

void GraphicsContext::setCompositingOperation(CompositingOperation op)
{
    state().op = op;
    applyFlags();
}

void GraphicsContext::setImageInterpolation(ImageInterpolation level)
{
    state().interpolation = level;
    applyFlags();
}

void GraphicsContext::setShouldAntialias(bool on)
{
    state().antialias = on;
    applyFlags();
}

void GraphicsContext::setShouldSmoothFonts(bool on)
{
    state().smoothFonts = on;
    applyFlags();
}

void GraphicsContext::setCMYKStandIns(std::shared_ptr<CmykStandIns> table)
{
    m_standIns = std::move(table);
}

void GraphicsContext::setPdfPageMarkers(std::shared_ptr<PdfPageMarkers> table)
{
    m_pdfPageMarkers = std::move(table);
}

bool GraphicsContext::placePdfPage(const std::shared_ptr<const PdfDocument> &document, int page, const Rect &target,
                                   float fraction)
{
    if (!m_pdfPageMarkers || m_output != Output::PDF || !document || !painter()->isActive())
        return false;
    const std::optional<QRgba64> marker = m_pdfPageMarkers->markerFor(document, page);
    if (!marker)
        return false;
    // Corners in the order the pass reads them: top left, top right, bottom right, bottom left.
    QPainterPath corners;
    corners.moveTo(target.minX(), target.minY());
    corners.lineTo(target.maxX(), target.minY());
    corners.lineTo(target.maxX(), target.maxY());
    corners.lineTo(target.minX(), target.maxY());
    corners.closeSubpath();
    GraphicsStateSaver saver(*this);
    paint(
        [&](QPainter &p) {
            p.setOpacity(p.opacity() * std::clamp(double(fraction), 0.0, 1.0));
            p.fillPath(corners, QColor::fromRgba64(*marker));
        },
        painter()->worldTransform().mapRect(corners.boundingRect()));
    return true;
}

void GraphicsContext::applyFlags()
{
    QPainter *p = painter();
    if (!p->isActive())
        return;
    const State &s = state();
    p->setRenderHint(QPainter::Antialiasing, s.antialias);
    p->setRenderHint(QPainter::TextAntialiasing, s.smoothFonts);
    p->setRenderHint(QPainter::SmoothPixmapTransform,
                     s.interpolation != ImageInterpolation::None && s.interpolation != ImageInterpolation::Low);
    // Vector devices compose source-over only; asking them for more only produces warnings.
    const QPainter::CompositionMode mode = toQtCompositionMode(s.op);
    if (mode == QPainter::CompositionMode_SourceOver || p->paintEngine()->hasFeature(QPaintEngine::PorterDuff))
        p->setCompositionMode(mode);
}

qreal GraphicsContext::baseScale() const
{
    return isDrawingToScreen() || !m_device ? 1.0 : m_device->logicalDpiX() / 72.0;
}

QRectF GraphicsContext::deviceRect() const
{
    return m_device ? QRectF(0, 0, m_device->width(), m_device->height()) : QRectF();
}

void GraphicsContext::paint(const std::function<void(QPainter &)> &draw, const QRectF &bounds)
{
    if (!painter()->isActive())
        return;
    if (const auto &shadow = state().shadow; shadow && shadow->color.alphaComponent() > 0)
        paintShadowOf(draw, bounds, *shadow);
    if (!m_layers.empty())
        m_layers.back()->drawn |= bounds;
    draw(*painter());
}

void GraphicsContext::paintShadowOf(const std::function<void(QPainter &)> &draw, const QRectF &bounds,
                                    const Shadow &shadow)
{
    QPainter *p = painter();
    const qreal unit = baseScale();
    const QPointF offset(shadow.offsetWidth * unit, -shadow.offsetHeight * unit);
    const qreal sigma = std::max<qreal>(shadow.blurRadius, 0) * unit / 2;
    const qreal margin = blurMarginFor(float(sigma));

    // Only the part of the shadow that lands on the device (and inside the clip) is made;
    // the mask reaches one blur margin further so that its edges blur as in the whole.
    QRectF landing = bounds.adjusted(-margin, -margin, margin, margin).translated(offset) & deviceRect();
    if (p->hasClipping())
        landing &= p->worldTransform().mapRect(p->clipBoundingRect());
    if (landing.isEmpty())
        return;
    // The mask lands on whole device pixels: then it is drawn without resampling, and the
    // shadow comes out the same whatever part of it is drawn (tiles, dirty rectangles).
    // Vector output gets masks of 150 dpi whatever its own resolution (a 72-dpi PDF writer
    // included), pixels on screen and in images.
    const QRectF placed = QRectF(landing.adjusted(-margin, -margin, margin, margin).toAlignedRect());
    const QRectF maskRect = placed.translated(-offset);
    const qreal pixels = isDrawingToScreen() ? m_device->devicePixelRatioF() : vectorShadowPixelsPerPoint / unit;
    const QSize size(std::min(maxOffscreenSide, int(std::ceil(maskRect.width() * pixels))),
                     std::min(maxOffscreenSide, int(std::ceil(maskRect.height() * pixels))));
    if (size.isEmpty())
        return;

    if (!m_layers.empty())
        m_layers.back()->drawn |= maskRect.translated(offset);
    QImage mask(size, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter mp(&mask);
        mp.setRenderHints(p->renderHints());
        mp.scale(size.width() / maskRect.width(), size.height() / maskRect.height());
        mp.translate(-maskRect.topLeft());
        mp.setWorldTransform(p->worldTransform(), true);
        draw(mp);
    }
    blurImage(mask, float(sigma * pixels), true);
    {
        QPainter tint(&mask);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(mask.rect(), brushFor(shadow.color).color());
    }
    p->save();
    p->resetTransform();
    p->setOpacity(1.0);
    if (p->paintEngine()->hasFeature(QPaintEngine::PorterDuff))
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::SmoothPixmapTransform, true);
    p->drawImage(maskRect.translated(offset), mask);
    p->restore();
}

void GraphicsContext::beginTransparencyLayer()
{
    QPainter *parent = painter();
    auto layer = std::make_unique<Layer>(deviceRect().size().toSize().expandedTo(QSize(1, 1)));
    layer->painter = std::make_unique<QPainter>(&layer->recording);
    QPainter *lp = layer->painter.get();
    if (parent->isActive()) {
        lp->setRenderHints(parent->renderHints());
        if (parent->hasClipping())
            lp->setClipPath(parent->worldTransform().map(parent->clipPath()));
        lp->setWorldTransform(parent->worldTransform());
    }

    m_states.push_back(state());
    state().shadow.reset();
    state().op = CompositingOperation::SourceOver;
    layer->stateDepth = m_states.size();
    m_layers.push_back(std::move(layer));
    applyFlags();
}

void GraphicsContext::endTransparencyLayer()
{
    if (m_layers.empty())
        return;
    while (m_states.size() > m_layers.back()->stateDepth)
        restoreGraphicsState();
    std::unique_ptr<Layer> layer = std::move(m_layers.back());
    m_layers.pop_back();
    m_states.pop_back();
    layer->painter->end();
    if (!painter()->isActive())
        return;

    // What shows: the layer's drawing on the device and inside the clip, and with a shadow
    // also the drawing off it whose shadow falls onto it (a tile or a dirty rectangle must
    // show the shadow of an object lying beside it).
    QRectF visible = deviceRect();
    if (painter()->hasClipping())
        visible &= painter()->worldTransform().mapRect(painter()->clipBoundingRect());
    QRectF reach = visible;
    if (const auto &shadow = state().shadow; shadow && shadow->color.alphaComponent() > 0) {
        const qreal unit = baseScale();
        const qreal margin = blurMarginFor(float(std::max<qreal>(shadow->blurRadius, 0) * unit / 2));
        const QPointF offset(shadow->offsetWidth * unit, -shadow->offsetHeight * unit);
        reach |= visible.translated(-offset).adjusted(-margin, -margin, margin, margin);
    }
    const QRectF area = layer->drawn & reach;
    if (area.isEmpty())
        return;
    const QTransform toDevice = painter()->worldTransform().inverted();
    if (!isDrawingToScreen()) {
        // Vector output replays the recorded drawing, so vectors stay vectors.
        paint(
            [&](QPainter &p) {
                p.save();
                p.setWorldTransform(toDevice, true);
                layer->recording.replay(p);
                p.restore();
            },
            area);
        return;
    }
    // On screen and in images the layer becomes pixels of only the area it covers, so that
    // its content composes with itself first (a transparent backdrop), then as one piece.
    const QRect pixelArea = area.toAlignedRect();
    const qreal ratio = m_device->devicePixelRatioF();
    QImage pixels(std::min(maxOffscreenSide, int(std::ceil(pixelArea.width() * ratio))),
                  std::min(maxOffscreenSide, int(std::ceil(pixelArea.height() * ratio))),
                  QImage::Format_ARGB32_Premultiplied);
    if (pixels.isNull())
        return;
    pixels.fill(Qt::transparent);
    {
        QPainter ip(&pixels);
        ip.scale(pixels.width() / qreal(pixelArea.width()), pixels.height() / qreal(pixelArea.height()));
        ip.translate(-pixelArea.topLeft());
        layer->recording.replay(ip);
    }
    paint(
        [&](QPainter &p) {
            p.save();
            p.setWorldTransform(toDevice, true);
            p.drawImage(QRectF(pixelArea), pixels);
            p.restore();
        },
        pixelArea);
}
