// A paint device that records what is drawn on it instead of making pixels (for tests).
#include "platform/graphics/recording_paint_device.h"

#include <QPaintEngine>
#include <QPixmap>
#include <QTextItem>

namespace {
thread_local const GlyphRunCharacters *innermostCharacters = nullptr;
}

GlyphRunCharacters::GlyphRunCharacters(const QString &characters, const QString &link)
    : m_characters(characters), m_link(link), m_outer(innermostCharacters)
{
    innermostCharacters = this;
}

GlyphRunCharacters::~GlyphRunCharacters()
{
    innermostCharacters = m_outer;
}

const GlyphRunCharacters *GlyphRunCharacters::current()
{
    return innermostCharacters;
}

class RecordingPaintEngine : public QPaintEngine {
public:
    RecordingPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    std::vector<RecordedDraw> draws;

    bool begin(QPaintDevice *) override
    {
        m_current = {};
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen)
            m_current.pen = state.pen();
        if (dirty & DirtyBrush)
            m_current.brush = state.brush();
        if (dirty & DirtyTransform)
            m_current.transform = state.transform();
        if (dirty & DirtyCompositionMode)
            m_current.composition = state.compositionMode();
        if (dirty & DirtyOpacity)
            m_current.opacity = state.opacity();
        if (dirty & DirtyHints)
            m_current.hints = state.renderHints();
        if (dirty & DirtyClipPath)
            combineClip(state.clipOperation(), state.transform().map(state.clipPath()));
        if (dirty & DirtyClipRegion) {
            QPainterPath region;
            region.addRegion(state.clipRegion());
            combineClip(state.clipOperation(), state.transform().map(region));
        }
        if (dirty & DirtyClipEnabled)
            m_current.clipped = state.isClipEnabled() && m_hasClip;
    }

    void drawPath(const QPainterPath &path) override
    {
        RecordedDraw d = m_current;
        d.kind = RecordedDraw::Kind::Path;
        d.path = path;
        d.devicePath = m_current.transform.map(path);
        draws.push_back(std::move(d));
    }

    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        QPainterPath path;
        if (count > 0) {
            path.moveTo(points[0]);
            for (int i = 1; i < count; ++i)
                path.lineTo(points[i]);
            if (mode != PolylineMode)
                path.closeSubpath();
        }
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        const QBrush brush = m_current.brush;
        if (mode == PolylineMode)
            m_current.brush = Qt::NoBrush;
        drawPath(path);
        m_current.brush = brush;
    }

    void drawImage(const QRectF &target, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags) override
    {
        RecordedDraw d = m_current;
        d.kind = RecordedDraw::Kind::Image;
        d.image = image;
        d.target = target;
        d.source = source;
        d.devicePath.addRect(target);
        d.devicePath = m_current.transform.map(d.devicePath);
        draws.push_back(std::move(d));
    }

    void drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source) override
    {
        drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
    }

    void drawTextItem(const QPointF &position, const QTextItem &item) override
    {
        RecordedDraw d = m_current;
        d.kind = RecordedDraw::Kind::Text;
        d.text = item.text();
        d.position = position;
        d.font = item.font();
        d.glyphs = pendingGlyphs;
        if (const GlyphRunCharacters *told = GlyphRunCharacters::current(); told && !pendingGlyphs.glyphIndexes().isEmpty()) {
            d.characters = told->characters();
            d.link = told->link();
        }
        const QList<quint32> glyphs = pendingGlyphs.glyphIndexes();
        const QList<QPointF> positions = pendingGlyphs.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            d.path.addPath(pendingGlyphs.rawFont().pathForGlyph(glyphs[i]).translated(positions[i]));
        d.devicePath = d.transform.map(d.path);
        draws.push_back(std::move(d));
    }

    QGlyphRun pendingGlyphs;   // the run being drawn through RecordingPaintDevice::drawGlyphRun

private:
    void combineClip(Qt::ClipOperation op, const QPainterPath &path)
    {
        if (op == Qt::NoClip) {
            m_hasClip = false;
            m_current.clipped = false;
            m_current.clip = QPainterPath();
            return;
        }
        m_current.clip = op == Qt::IntersectClip && m_hasClip ? m_current.clip.intersected(path) : path;
        m_hasClip = true;
        m_current.clipped = true;
    }

    RecordedDraw m_current;
    bool m_hasClip = false;
};

RecordingPaintDevice::RecordingPaintDevice(QSize size) : m_size(size), m_engine(std::make_unique<RecordingPaintEngine>())
{
}

RecordingPaintDevice::~RecordingPaintDevice() = default;

const std::vector<RecordedDraw> &RecordingPaintDevice::draws() const
{
    return m_engine->draws;
}

void RecordingPaintDevice::clear()
{
    m_engine->draws.clear();
}

void RecordingPaintDevice::replay(QPainter &painter) const
{
    const QTransform base = painter.worldTransform();
    const qreal opacity = painter.opacity();
    const bool porterDuff = painter.paintEngine() && painter.paintEngine()->hasFeature(QPaintEngine::PorterDuff);
    for (const RecordedDraw &d : m_engine->draws) {
        painter.save();
        if (d.clipped) {
            painter.setWorldTransform(base);
            painter.setClipPath(d.clip, Qt::IntersectClip);
        }
        painter.setWorldTransform(d.transform * base);
        if (porterDuff)
            painter.setCompositionMode(d.composition);
        painter.setOpacity(opacity * d.opacity);
        painter.setRenderHints(painter.renderHints(), false);
        painter.setRenderHints(d.hints, true);
        painter.setPen(d.pen);
        painter.setBrush(d.brush);
        switch (d.kind) {
        case RecordedDraw::Kind::Path:
            painter.drawPath(d.path);
            break;
        case RecordedDraw::Kind::Image:
            painter.drawImage(d.target, d.image, d.source);
            break;
        case RecordedDraw::Kind::Text: {
            // Point sizes resolve against the device: the recording is 72 dpi, so the text
            // keeps its size in units on a device of any other resolution.
            QFont font = d.font;
            const int dpi = painter.device() ? painter.device()->logicalDpiY() : 72;
            if (font.pointSizeF() > 0 && dpi > 0)
                font.setPointSizeF(font.pointSizeF() * 72.0 / dpi);
            if (!d.glyphs.glyphIndexes().isEmpty()) {
                painter.drawGlyphRun(QPointF(), d.glyphs);
                break;
            }
            painter.setFont(font);
            painter.drawText(d.position, d.text);
            break;
        }
        }
        painter.restore();
    }
}

void RecordingPaintDevice::drawGlyphRun(QPainter &painter, const QGlyphRun &run)
{
    auto *recording = dynamic_cast<RecordingPaintDevice *>(painter.device());
    if (recording)
        recording->m_engine->pendingGlyphs = run;
    painter.drawGlyphRun(QPointF(), run);
    if (recording)
        recording->m_engine->pendingGlyphs = QGlyphRun();
}

QPaintEngine *RecordingPaintDevice::paintEngine() const
{
    return m_engine.get();
}

int RecordingPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return qRound(m_size.width() * 25.4 / 72.0);
    case PdmHeightMM: return qRound(m_size.height() * 25.4 / 72.0);
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 72;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    default: return QPaintDevice::metric(metric);
    }
}
