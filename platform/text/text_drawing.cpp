// Drawing laid-out text into the current graphics context: glyphs through Qt's glyph cache
// on screen and in images, text with embedded fonts in PDF and print, outlines for stroked,
// turned and slanted text on screen.
#include "platform/text/text_drawing.h"

#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "platform/text/font_registry.h"
#include "platform/text/layout_manager.h"
#include "platform/text/layout_manager_private.h"
#include "platform/text/text_attachment.h"

#include <QPainterPath>
#include <QHash>
#include <QPainterPathStroker>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <map>
#include <tuple>

namespace {

// The outline of a glyph at the raw font's size. Getting it from FreeType runs the font's
// instructions every time, and a page repeats the same few glyphs, so outlines are kept
// (per thread, dropped all at once when many fonts and sizes have filled the cache).
QPainterPath glyphPath(const QRawFont &raw, quint32 glyph)
{
    using Key = std::tuple<QString, QString, double, quint32>;
    static thread_local std::map<Key, QPainterPath> outlines;
    Key key{raw.familyName(), raw.styleName(), raw.pixelSize(), glyph};
    if (const auto it = outlines.find(key); it != outlines.end())
        return it->second;
    if (outlines.size() > 20000)
        outlines.clear();
    return outlines.emplace(std::move(key), raw.pathForGlyph(glyph)).first->second;
}

} // namespace

QPainterPath runPath(const QGlyphRun &run, float baseline, const TextAttributes &a, QPointF origin)
{
    QPainterPath path;
    QRawFont raw = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    float raise = a.baselineOffset.value_or(0);
    float slant = a.obliqueness.value_or(0);
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const QPainterPath glyph = glyphPath(raw, glyphs[i]);
        QPointF at = positions[i] + origin - QPointF(0, raise);
        float baseY = float(origin.y()) + baseline - raise;
        QTransform t(1, 0, 0, 1, at.x(), at.y());
        if (slant != 0)
            t = t * QTransform(1, 0, -slant, 1, slant * baseY, 0);   // x += slant * (base - y)
        path.addPath(t.map(glyph));
    }
    return path;
}

namespace {

Font fontOf(const TextAttributes &a) { return a.font.value_or(Font{QStringLiteral("Helvetica"), 12}); }

void fillAndStroke(GraphicsContext &gc, const QPainterPath &path, const TextAttributes &a)
{
    Color fill = a.foregroundColor.value_or(Color::blackColor());
    float width = a.strokeWidth.value_or(0);
    if (width <= 0)
        gc.fillPathWithBrush(path, gc.brushFor(fill));
    if (width != 0) {
        QPainterPathStroker stroker;
        stroker.setWidth(std::abs(width) / 100.0f * fontOf(a).size);
        stroker.setJoinStyle(Qt::MiterJoin);
        gc.fillPathWithBrush(stroker.createStroke(path), gc.brushFor(a.strokeColor.value_or(fill)));
    }
}

// The run in the same face loaded through the font database, which knows the face's file:
// PDF and print embed such a font and keep the glyphs as text, while a font loaded from
// data would be drawn as outlines. Empty when the database picks another face.
QGlyphRun fileBackedRun(const QGlyphRun &run, const TextAttributes &a)
{
    static thread_local QHash<QString, QRawFont> byName;
    const Font font = fontOf(a);
    auto it = byName.find(font.name);
    if (it == byName.end())
        it = byName.insert(font.name, QRawFont::fromFont(qFont(font)));
    QRawFont file = *it;
    const QRawFont laidOut = run.rawFont();
    if (!file.isValid() || file.familyName() != laidOut.familyName() || file.styleName() != laidOut.styleName())
        return {};
    file.setPixelSize(laidOut.pixelSize());
    QGlyphRun copy = run;
    copy.setRawFont(file);
    return copy;
}

// Draws one run of laid-out glyphs. Filled text is drawn as glyphs: in PDF and print as
// text, on screen and in images through Qt's glyph cache where the text stands upright and
// unslanted (turned and slanted glyphs come out of the cache on other pixels in each tile).
// Stroked, turned and slanted text on screen, and all of it when asked, is drawn as outlines
// through the context.
void drawRun(GraphicsContext &gc, const QGlyphRun &run, float baseline, const TextAttributes &a, QPointF origin,
             bool outlinesOnScreen)
{
    if (a.strokeWidth.value_or(0) == 0) {
        const float raise = a.baselineOffset.value_or(0);
        const float slant = a.obliqueness.value_or(0);
        const float baseY = float(origin.y()) + baseline - raise;
        QTransform placement = QTransform::fromTranslate(origin.x(), origin.y() - raise);
        if (slant != 0)
            placement = placement * QTransform(1, 0, -slant, 1, slant * baseY, 0);
        const bool upright =
            !outlinesOnScreen && (placement * gc.painter()->worldTransform()).type() <= QTransform::TxScale;
        QGlyphRun text = !gc.isDrawingToScreen() ? fileBackedRun(run, a) : upright ? run : QGlyphRun();
        if (!text.glyphIndexes().isEmpty()) {
            gc.drawGlyphRun(text, placement, gc.brushFor(a.foregroundColor.value_or(Color::blackColor())));
            return;
        }
    }
    fillAndStroke(gc, runPath(run, baseline, a, origin), a);
}

// Horizontal lines (underline, strikethrough) from x1 to x2 at y in a style.
void drawLine(GraphicsContext &gc, float x1, float x2, float y, float thickness, int style, const Color &color)
{
    if (style == 0 || x2 <= x1)
        return;
    int lineStyle = style & 0xFF;
    if (lineStyle == UnderlineStyleThick)
        thickness *= 2;
    QPainterPath path;
    auto addLine = [&](float yy) {
        QPainterPath line;
        line.moveTo(x1, yy);
        line.lineTo(x2, yy);
        QPainterPathStroker stroker;
        stroker.setWidth(thickness);
        stroker.setCapStyle(Qt::FlatCap);
        switch (style & 0x0F00) {
        case UnderlinePatternDot: stroker.setDashPattern(Qt::DotLine); break;
        case UnderlinePatternDash: stroker.setDashPattern(Qt::DashLine); break;
        case UnderlinePatternDashDot: stroker.setDashPattern(Qt::DashDotLine); break;
        case UnderlinePatternDashDotDot: stroker.setDashPattern(Qt::DashDotDotLine); break;
        default: break;
        }
        path.addPath(stroker.createStroke(line));
    };
    if (lineStyle == UnderlineStyleDouble) {
        addLine(y);
        addLine(y + 2 * thickness);
    } else {
        addLine(y);
    }
    gc.fillPathWithBrush(path, gc.brushFor(color));
}

} // namespace

void LayoutManager::drawGlyphsForGlyphRange(TextRange range, Point origin)
{
    GraphicsContext *gc = GraphicsContext::current();
    if (!gc)
        return;
    ensureLayout();
    for (const LineFragment &f : m_fragments) {
        TextRange part = intersectionRange(range, f.characters);
        if (part.isEmpty())
            continue;
        const QTextLayout *layout = paragraphLayout(f.paragraph);
        QTextLine line = layout->lineAt(f.line);
        int base = paragraphStart(f.paragraph);
        int lineEnd = base + line.textStart() + line.textLength();
        QPointF at(origin.x, origin.y);
        // Backgrounds first, then glyphs with their lines.
        m_text.enumerateRuns(part, [&](const TextRun &run) {
            if (!run.attributes.backgroundColor)
                return;
            float x1 = float(line.cursorToX(run.range.location - base));
            float x2 = float(line.cursorToX(std::min(run.range.end(), lineEnd) - base));
            gc->fillPathWithBrush(
                [&] {
                    QPainterPath p;
                    p.addRect(QRectF(std::min(x1, x2), f.rect.minY(), std::abs(x2 - x1), f.rect.height())
                                  .translated(at));
                    return p;
                }(),
                gc->brushFor(*run.attributes.backgroundColor));
        });
        m_text.enumerateRuns(part, [&](const TextRun &run) {
            const TextAttributes &a = run.attributes;
            int from = run.range.location - base;
            int length = std::min(run.range.end(), lineEnd) - run.range.location;
            if (length <= 0)
                return;
            if (a.attachment) {
                QImage image = attachmentImage(*a.attachment);
                Size size = attachmentSize(*a.attachment);
                for (int k = 0; k < length && !image.isNull(); ++k) {
                    float x = float(line.cursorToX(from + k)) + origin.x;
                    float bottom = f.baseline + origin.y - a.baselineOffset.value_or(0);
                    gc->drawImage(image, Rect(x, bottom - size.height, size.width, size.height), Rect(),
                                  CompositingOperation::SourceOver, 1.0f);
                }
                return;
            }
            const QList<QGlyphRun> runs = line.glyphRuns(from, length);
            // A single run shows the characters of the range; outputs that keep text take them
            // and the link.
            const GlyphRunCharacters characters(
                runs.size() == 1 ? m_text.string().mid(run.range.location, length) : QString(), a.link.value_or(QString()));
            for (const QGlyphRun &glyphs : runs)
                drawRun(*gc, glyphs, f.baseline, a, at, m_drawsOutlines);
            FontMetrics m = fontMetrics(fontOf(a));
            float x1 = float(line.cursorToX(from)) + origin.x;
            float x2 = float(line.cursorToX(from + length)) + origin.x;
            float baseline = f.baseline + origin.y - a.baselineOffset.value_or(0);
            Color fg = a.foregroundColor.value_or(Color::blackColor());
            float thickness = m.underlineThickness > 0 ? m.underlineThickness : fontOf(a).size / 14;
            if (a.underlineStyle)
                drawLine(*gc, x1, x2, baseline - m.underlinePosition + thickness / 2, thickness, *a.underlineStyle,
                         a.underlineColor.value_or(fg));
            if (a.strikethroughStyle)
                drawLine(*gc, x1, x2, baseline - m.xHeight / 2, thickness, *a.strikethroughStyle,
                         a.strikethroughColor.value_or(fg));
        });
        if (m_showsInvisibles) {
            const QString &chars = m_text.string();
            for (int i = part.location; i < part.end(); ++i) {
                const TextAttributes &a = m_text.attributesAt(i);
                QChar c = chars[i];
                bool hasGlyph = c.isSurrogate() || rawFont(fontOf(a)).supportsCharacter(c);
                QChar mark = invisibleCharacterMark(c, hasGlyph);
                if (mark.isNull())
                    continue;
                float x = float(line.cursorToX(std::min(i, lineEnd) - base));
                drawAttributedStringAtPoint(AttributedString(QString(mark), a), {origin.x + x, origin.y + f.rect.minY()});
            }
        }
        if (f.hyphenated && part.end() >= lineEnd && lineEnd > base) {
            const TextAttributes &a = m_text.attributesAt(lineEnd - 1);
            QRawFont raw = rawFont(fontOf(a));
            QList<quint32> dash = raw.glyphIndexesForString(QStringLiteral("-"));
            if (!dash.isEmpty()) {
                QGlyphRun run;
                run.setRawFont(raw);
                run.setGlyphIndexes(dash);
                run.setPositions({QPointF(line.cursorToX(lineEnd - base), f.baseline)});
                drawRun(*gc, run, f.baseline, a, at, m_drawsOutlines);
            }
        }
    }
}

QChar invisibleCharacterMark(QChar c, bool hasGlyph)
{
    char16_t u = c.unicode();
    switch (u) {
    case u' ': return QChar(0x00B7);
    case u'\t': case 0x21E4: case 0x21E5: return QChar(0x2192);
    case u'\n': return QChar(0x00B6);
    case u'\f': return QChar(0x21CB);
    default: break;
    }
    if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || c.category() == QChar::Other_NotAssigned || !hasGlyph)
        return QChar(0xFFFD);
    return QChar();
}

namespace {

// A layout of the text on unbounded lines without padding.
struct FreeLayout {
    explicit FreeLayout(const AttributedString &text)
    {
        container.setLineFragmentPadding(0);
        manager.addTextContainer(&container);
        manager.setAttributedString(text);
    }
    TextContainer container{Size{1.0e7f, 1.0e7f}};
    LayoutManager manager;
};

} // namespace

Size attributedStringSize(const AttributedString &text)
{
    if (text.isEmpty())
        return Size{};
    FreeLayout l(text);
    Rect used = l.manager.usedRectForTextContainer(&l.container);
    return Size{used.maxX(), used.maxY()};
}

void drawAttributedStringAtPoint(const AttributedString &text, Point point)
{
    FreeLayout l(text);
    l.manager.drawGlyphsForGlyphRange({0, text.length()}, point);
}
