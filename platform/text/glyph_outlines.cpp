// Laid-out text as glyph outlines, each with the characters it shows ("text to outlines").
//
// Qt 6.4 does not tell which characters a glyph came from, so the glyphs are asked for one
// grapheme cluster at a time: a glyph that several clusters answer (a ligature) belongs to
// all of them, and no cluster is ever split, so surrogate pairs and combining marks stay
// whole.
#include "platform/graphics/path_conversion.h"
#include "platform/text/layout_manager.h"
#include "platform/text/layout_manager_private.h"

#include <QGlyphRun>
#include <QHash>
#include <QPainterPath>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <tuple>

namespace {

// A glyph on a line: its index in its font and its position, to 1/64 point.
struct PlacedGlyph {
    quint32 glyph;
    int x;
    int y;
    friend bool operator==(const PlacedGlyph &a, const PlacedGlyph &b)
    {
        return std::tie(a.glyph, a.x, a.y) == std::tie(b.glyph, b.x, b.y);
    }
};

size_t qHash(const PlacedGlyph &g, size_t seed = 0)
{
    return qHashMulti(seed, g.glyph, g.x, g.y);
}

} // namespace

std::vector<GlyphOutline> LayoutManager::glyphOutlinesForGlyphRange(TextRange range, Point origin)
{
    std::vector<GlyphOutline> outlines;
    ensureLayout();
    const QPointF at(origin.x, origin.y);
    for (const LineFragment &f : m_fragments) {
        const TextRange part = intersectionRange(range, f.characters);
        if (part.isEmpty())
            continue;
        const QTextLayout *layout = paragraphLayout(f.paragraph);
        const QTextLine line = layout->lineAt(f.line);
        const int base = paragraphStart(f.paragraph);
        const QString &s = layout->text();
        // Where each glyph of this line went in `outlines`.
        QHash<PlacedGlyph, size_t> seen;
        QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, s);
        clusters.setPosition(std::max(part.location - base, 0));
        if (!clusters.isAtBoundary())
            clusters.toPreviousBoundary();
        for (qsizetype start = clusters.position(); start >= 0 && start < part.end() - base && start < s.size();) {
            const qsizetype end = clusters.toNextBoundary();
            if (end < 0)
                break;
            const TextRange cluster{base + int(start), int(end - start)};
            const TextAttributes &a = m_text.attributesAt(cluster.location);
            if (!a.attachment) {
                for (const QGlyphRun &run : line.glyphRuns(int(start), int(end - start))) {
                    const QList<quint32> glyphs = run.glyphIndexes();
                    const QList<QPointF> positions = run.positions();
                    for (qsizetype i = 0; i < glyphs.size(); ++i) {
                        const PlacedGlyph key{glyphs[i], qRound(positions[i].x() * 64), qRound(positions[i].y() * 64)};
                        if (const auto it = seen.constFind(key); it != seen.constEnd()) {
                            TextRange &chars = outlines[*it].characters;
                            const int from = std::min(chars.location, cluster.location);
                            chars = {from, std::max(chars.end(), cluster.end()) - from};
                            continue;
                        }
                        QGlyphRun one = run;
                        one.setGlyphIndexes({glyphs[i]});
                        one.setPositions({positions[i]});
                        const QPainterPath path = runPath(one, f.baseline, a, at);
                        if (path.isEmpty())
                            continue;
                        seen.insert(key, outlines.size());
                        outlines.push_back({fromQPainterPath(path), cluster});
                    }
                }
            }
            start = end;
        }
    }
    return outlines;
}
