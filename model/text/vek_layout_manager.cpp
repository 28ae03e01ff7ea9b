// The field editor's layout manager: the leaders in front of lines set in from the left.
#include "model/text/vek_layout_manager.h"

#include "platform/text/text_container.h"
#include "platform/text/text_drawing.h"

#include <QTextLayout>

#include <cmath>

std::vector<std::pair<Point, int>> VekLayoutManager::leaderMarks(TextRange range, Point origin)
{
    std::vector<std::pair<Point, int>> marks;
    for (const LineFragment &f : lineFragments()) {
        if (intersectionRange(range, f.characters).isEmpty())
            continue;
        // Where the text of the line begins, alignment and indent included.
        const QTextLine line = paragraphLayout(f.paragraph)->lineAt(f.line);
        const float textStart = float(line.cursorToX(line.textStart())) - textContainers()[f.container]->lineFragmentPadding();
        if (std::abs(textStart - f.rect.minX()) > 0.01f)
            marks.emplace_back(Point{origin.x + (textStart + f.rect.minX()) / 2, origin.y + f.rect.minY()},
                               f.characters.location);
    }
    return marks;
}

void VekLayoutManager::drawGlyphsForGlyphRange(TextRange range, Point origin)
{
    for (const auto &[at, firstCharacter] : leaderMarks(range, origin))
        drawAttributedStringAtPoint(AttributedString(QString(QChar(0x2025)), text().attributesAt(firstCharacter)), at);
    LayoutManager::drawGlyphsForGlyphRange(range, origin);
}
