// Where the insertion point and the selection of an editor stand in a laid-out text, and
// which insertion point a click means.
#include "platform/text/layout_manager.h"
#include "platform/text/layout_manager_private.h"

#include <algorithm>

namespace {

constexpr float InsertionPointWidth = 1;

} // namespace

Rect LayoutManager::extraLineFragmentRect()
{
    ensureLayout();
    return m_extraLineFragment.rect;
}

Rect LayoutManager::insertionPointRectForCharacterIndex(int index, int *container)
{
    ensureLayout();
    if (container)
        *container = 0;
    if (m_text.isEmpty()) {
        const LineFragment &f = m_extraLineFragment;
        if (f.rect.isEmpty())
            return Rect();
        const float pad = m_containers.empty() ? 0 : m_containers.front()->lineFragmentPadding();
        const ParagraphStyle style = m_typingAttributes.paragraphStyle.value_or(ParagraphStyle{});
        return Rect(f.rect.minX() + pad + style.firstLineHeadIndent, f.rect.minY(), InsertionPointWidth,
                    f.rect.height());
    }
    index = std::clamp(index, 0, m_text.length());
    // The fragment holding the character; after the last character, the last fragment
    // (unless the text ends with an empty line, which has a fragment of its own).
    int k = fragmentIndexForCharacter(index);
    if (k < 0 && index == m_text.length() && !m_fragments.empty() && m_fragments.back().characters.end() == index)
        k = int(m_fragments.size()) - 1;
    if (k < 0)
        return Rect();
    const LineFragment &f = m_fragments[k];
    const Paragraph &p = *m_paragraphs[f.paragraph];
    const QTextLine line = p.layout->lineAt(f.line);
    const int offset = std::clamp(index - p.range.location, line.textStart(), line.textStart() + line.textLength());
    if (container)
        *container = f.container;
    return Rect(float(line.cursorToX(offset)), f.rect.minY(), InsertionPointWidth, f.rect.height());
}

std::vector<Rect> LayoutManager::selectionRectsForCharacterRange(TextRange range, const TextContainer *container)
{
    ensureLayout();
    std::vector<Rect> rects;
    if (range.isEmpty())
        return rects;
    for (const LineFragment &f : m_fragments) {
        if (m_containers[f.container] != container)
            continue;
        const TextRange part = intersectionRange(range, f.characters);
        if (part.isEmpty())
            continue;
        const Paragraph &p = *m_paragraphs[f.paragraph];
        const QTextLine line = p.layout->lineAt(f.line);
        const int lineEnd = line.textStart() + line.textLength();
        const int a = std::min(part.location - p.range.location, lineEnd);
        const int b = std::min(part.end() - p.range.location, lineEnd);
        float x1 = float(line.cursorToX(a));
        float x2 = float(line.cursorToX(b));
        if (x1 > x2)
            std::swap(x1, x2);
        if (range.end() > f.characters.end() || part.end() > p.range.location + lineEnd)
            x2 = std::max(x2, f.rect.maxX() - m_containers[f.container]->lineFragmentPadding());
        rects.push_back(Rect(x1, f.rect.minY(), x2 - x1, f.rect.height()));
    }
    return rects;
}

int LayoutManager::characterIndexForInsertionAtPoint(Point point, const TextContainer *container)
{
    const LineFragment *best = nearestFragment(point, container);
    if (!best)
        return m_text.isEmpty() ? 0 : m_text.length();
    const Paragraph &p = *m_paragraphs[best->paragraph];
    const QTextLine line = p.layout->lineAt(best->line);
    int index = p.range.location + line.xToCursor(point.x, QTextLine::CursorBetweenCharacters);
    // A line that wraps ends before its last character's trailing break, and a paragraph's
    // last line before its separator, so a click past a line's end stays on that line.
    int last = best->characters.end();
    if (last > best->characters.location && last <= m_text.length()
        && (isParagraphSeparator(m_text.string()[last - 1]) || last < m_text.length()))
        --last;
    return std::clamp(index, best->characters.location, std::max(best->characters.location, last));
}
