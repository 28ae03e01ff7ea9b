// Glyph outlines of a text: each line is shaped by a QTextLayout of its own and its glyphs'
// outlines are collected from the glyph runs, which carry the face every glyph came from.
#include "canvas/glyph_outlines.h"

#include "platform/graphics/path_conversion.h"
#include "platform/text/font_registry.h"
#include "toolkit/path_editing.h"

#include <QGlyphRun>
#include <QTextLayout>

#include <cmath>

namespace {

// What text without a font attribute is set in (the layout manager's default).
const Font DefaultFont{QStringLiteral("Helvetica"), 12};

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2028) || c == QChar(0x2029);
}

// The height of the face's bounding box (the "head" table's yMin to yMax) at the raw
// font's size; its ascent plus descent when the table is missing.
float fontBoxHeight(const QRawFont &font)
{
    const QByteArray head = font.fontTable("head");
    if (head.size() >= 44) {
        auto u16 = [&head](int at) { return quint16((uchar(head[at]) << 8) | uchar(head[at + 1])); };
        const int unitsPerEm = u16(18);
        const int yMin = qint16(u16(38)), yMax = qint16(u16(42));
        if (unitsPerEm > 0)
            return float((yMax - yMin) * font.pixelSize() / unitsPerEm);
    }
    return float(font.ascent() + font.descent());
}

// The glyph runs of one line of text (no line breaks in it), set without wrapping: the
// positions are relative to the start of the line's baseline.
QList<QGlyphRun> shapeLine(const AttributedString &text, TextRange line)
{
    QTextLayout layout(text.string().mid(line.location, line.length),
                       qFont(text.attributesAt(line.location).font.value_or(DefaultFont)), layoutPaintDevice());
    QList<QTextLayout::FormatRange> formats;
    text.enumerateRuns(line, [&](const TextRun &run) {
        QTextLayout::FormatRange range;
        range.start = run.range.location - line.location;
        range.length = run.range.length;
        range.format.setFont(qFont(run.attributes.font.value_or(DefaultFont)), QTextCharFormat::FontPropertiesAll);
        formats.append(range);
    });
    layout.setFormats(formats);

    // Very long lines come out of the layout in pieces; they are set one after the other
    // on the same baseline.
    QList<QGlyphRun> runs;
    qreal x = 0;
    layout.beginLayout();
    for (QTextLine piece = layout.createLine(); piece.isValid(); piece = layout.createLine()) {
        piece.setLineWidth(1.0e6);
        piece.setPosition(QPointF(x, 0));
        for (QGlyphRun run : piece.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF &p : positions)
                p.ry() -= piece.ascent();
            run.setPositions(positions);
            runs.append(run);
        }
        x += piece.horizontalAdvance();
    }
    layout.endLayout();
    return runs;
}

} // namespace

BezierPath bezierPathWithText(const AttributedString &text, TextRange range)
{
    range = intersectionRange(range, {0, text.length()});
    const QString &string = text.string();
    BezierPath outlines;
    float penY = 0;
    int pendingBreaks = 0;
    for (int start = range.location; start < range.end();) {
        int end = start;
        while (end < range.end() && !isLineBreak(string[end]))
            ++end;
        const QList<QGlyphRun> runs = end > start ? shapeLine(text, {start, end - start}) : QList<QGlyphRun>();
        for (const QGlyphRun &run : runs) {
            const QRawFont font = run.rawFont();
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype i = 0; i < glyphs.size(); ++i) {
                if (glyphs[i] == 0)
                    continue;   // no face has a glyph for the character
                if (pendingBreaks > 0) {
                    const float glyphHeight = float(font.boundingRect(glyphs[i]).height());
                    const float step = glyphHeight > 0 ? std::ceil(glyphHeight) + 5.0f : std::ceil(fontBoxHeight(font));
                    penY += step * float(pendingBreaks);
                    pendingBreaks = 0;
                }
                QPainterPath glyph = font.pathForGlyph(glyphs[i]);
                if (glyph.isEmpty())
                    continue;
                glyph.translate(positions[i].x(), positions[i].y() + penY);
                outlines.appendBezierPath(fromQPainterPath(glyph));
            }
        }
        if (end < range.end()) {
            ++pendingBreaks;
            // A CR LF pair is one line break.
            const bool crlf = string[end] == QLatin1Char('\r') && end + 1 < range.end()
                              && string[end + 1] == QLatin1Char('\n');
            end += crlf ? 2 : 1;
        }
        start = end;
    }
    if (outlines.isEmpty())
        return outlines;
    return keepAtBase(outlines);
}
