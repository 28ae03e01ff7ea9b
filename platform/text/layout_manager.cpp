// Line-by-line layout of paragraphs into text containers.
#include "platform/text/layout_manager.h"
#include "platform/text/layout_manager_private.h"

#include "platform/text/font_registry.h"
#include "platform/text/hyphenator.h"
#include "platform/text/text_attachment.h"
#include "platform/text/text_storage.h"

#include <QFontMetricsF>
#include <QHash>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr float DefaultTabInterval = 28;

struct LineMetrics {
    float ascent = 0;
    float descent = 0;   // positive
    float leading = 0;
};

QString fontKey(const Font &f) { return f.name + QLatin1Char('/') + QString::number(f.size); }

Font fontOf(const TextAttributes &a) { return a.font.value_or(Font{QStringLiteral("Helvetica"), 12}); }

float hyphenWidth(const Font &font)
{
    thread_local QHash<QString, float> cache;
    QString key = fontKey(font);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, float(QFontMetricsF(qFont(font), layoutPaintDevice()).horizontalAdvance(u'-')));
    return *it;
}

// The metrics of the characters of range (one character at its start when it is empty).
LineMetrics metricsOf(const AttributedString &text, TextRange range)
{
    LineMetrics m;
    if (range.isEmpty())
        range = {std::clamp(range.location, 0, std::max(text.length() - 1, 0)), 1};
    auto add = [&](const TextAttributes &a) {
        if (a.attachment) {
            // An image stands on the baseline.
            m.ascent = std::max(m.ascent, attachmentSize(*a.attachment).height + a.baselineOffset.value_or(0));
            return;
        }
        const FontMetrics f = fontMetrics(fontOf(a));
        float offset = a.baselineOffset.value_or(0);
        m.ascent = std::max(m.ascent, f.ascender + std::max(offset, 0.0f));
        m.descent = std::max(m.descent, -f.descender - std::min(offset, 0.0f));
        m.leading = std::max(m.leading, f.leading);
    };
    if (text.isEmpty())
        add(TextAttributes{});
    text.enumerateRuns(range, [&](const TextRun &run) { add(run.attributes); });
    return m;
}

float lineHeight(const LineMetrics &m, const ParagraphStyle &s)
{
    float h = m.ascent + m.descent + m.leading;
    if (s.lineHeightMultiple > 0)
        h *= s.lineHeightMultiple;
    if (s.minimumLineHeight > 0)
        h = std::max(h, s.minimumLineHeight);
    if (s.maximumLineHeight > 0)
        h = std::min(h, s.maximumLineHeight);
    return h;
}

Qt::Alignment qtAlignment(TextAlignment a)
{
    switch (a) {
    case TextAlignment::Right: return Qt::AlignRight;
    case TextAlignment::Center: return Qt::AlignHCenter;
    case TextAlignment::Justified: return Qt::AlignJustify;
    case TextAlignment::Left: return Qt::AlignLeft | Qt::AlignAbsolute;
    case TextAlignment::Natural: break;
    }
    return Qt::AlignLeft;
}

std::unique_ptr<QTextLayout> makeLayout(const AttributedString &text, TextRange range, int length,
                                        const ParagraphStyle &style)
{
    // Qt lays U+FFFC out as an inline object of a document, which a bare layout does not
    // have: a no-break space holds the attachment's place instead (see the formats below).
    QString s = text.string().mid(range.location, length);
    s.replace(QChar(AttachmentCharacter), QChar(0x00A0));
    Font first = fontOf(text.attributesAt(range.location));
    auto layout = std::make_unique<QTextLayout>(s, qFont(first), layoutPaintDevice());
    QList<QTextLayout::FormatRange> formats;
    text.enumerateRuns({range.location, length}, [&](const TextRun &run) {
        QTextLayout::FormatRange f;
        f.start = run.range.location - range.location;
        f.length = run.range.length;
        f.format.setFont(qFont(fontOf(run.attributes)), QTextCharFormat::FontPropertiesAll);
        if (run.attributes.attachment) {
            // The attachment's place holder is set in a size that makes it as wide as the
            // image, so that the line breaker leaves room for the image.
            QFont sized = f.format.font();
            sized.setPointSizeF(100);
            qreal advance = QFontMetricsF(sized, layoutPaintDevice()).horizontalAdvance(QChar(0x00A0));
            float width = attachmentSize(*run.attributes.attachment).width;
            sized.setPointSizeF(advance > 0 && width > 0 ? 100 * width / advance : 0.01);
            f.format.setFont(sized, QTextCharFormat::FontPropertiesAll);
            formats.append(f);
            return;
        }
        if (run.attributes.kerning) {
            float k = *run.attributes.kerning;
            if (k == 0) {
                f.format.setFontKerning(false);
            } else {
                f.format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
                f.format.setFontLetterSpacing(k);
            }
        }
        formats.append(f);
    });
    layout->setFormats(formats);
    QTextOption option;
    option.setAlignment(qtAlignment(style.alignment));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    return layout;
}

// Qt measures tab stops from the start of each line and scales them by the ratio of the
// layout's resolution to the screen's; this finds that ratio once by measuring a tab.
double tabScale()
{
    static const double scale = [] {
        QTextLayout probe(QStringLiteral("\tx"), qFont(Font{QStringLiteral("Helvetica"), 12}), layoutPaintDevice());
        QTextOption option;
        option.setTabs({QTextOption::Tab(100, QTextOption::LeftTab)});
        probe.setTextOption(option);
        probe.beginLayout();
        QTextLine line = probe.createLine();
        line.setLineWidth(1000);
        probe.endLayout();
        double x = line.cursorToX(1);
        return x > 1 ? x / 100 : 1.0;
    }();
    return scale;
}

// Sets the paragraph's tab stops for a line whose text starts offset points right of its
// fragment's origin: stops are measured from the fragment's origin, and the default
// interval continues after the last stop up to the line's end.
void applyTabs(QTextLayout &layout, const ParagraphStyle &style, float offset, float width)
{
    const double scale = tabScale();
    QList<QTextOption::Tab> tabs;
    float last = 0;
    for (const TextTab &t : style.tabStops) {
        QTextOption::Tab tab;
        tab.position = (t.location - offset) / scale;
        switch (t.type) {
        case TextTabType::Left: tab.type = QTextOption::LeftTab; break;
        case TextTabType::Right: tab.type = QTextOption::RightTab; break;
        case TextTabType::Center: tab.type = QTextOption::CenterTab; break;
        case TextTabType::Decimal:
            tab.type = QTextOption::DelimiterTab;
            tab.delimiter = u'.';
            break;
        }
        tabs.append(tab);
        last = std::max(last, t.location);
    }
    float interval = style.defaultTabInterval > 0 ? style.defaultTabInterval : DefaultTabInterval;
    for (float x = (std::floor(last / interval) + 1) * interval; x < offset + width + interval && tabs.size() < 1000;
         x += interval)
        tabs.append(QTextOption::Tab((x - offset) / scale, QTextOption::LeftTab));
    QTextOption option = layout.textOption();
    option.setTabs(tabs);
    option.setTabStopDistance(interval / scale);
    layout.setTextOption(option);
}

// Breaks the word after the line at the last hyphenation point that fits with a hyphen.
bool hyphenate(QTextLine &line, const QString &s, float width, const Font &font)
{
    int start = line.textStart();
    int end = start + line.textLength();
    if (end >= s.size() || end == start || !s[end - 1].isSpace() || !s[end].isLetter())
        return false;
    int wordEnd = end;
    while (wordEnd < s.size() && s[wordEnd].isLetter())
        ++wordEnd;
    QList<int> points = hyphenationPoints(s.mid(end, wordEnd - end));
    float dash = hyphenWidth(font);
    for (auto it = points.crbegin(); it != points.crend(); ++it) {
        line.setNumColumns(end - start + *it, width);
        if (line.textLength() == end - start + *it && line.naturalTextWidth() + dash <= width)
            return true;
    }
    line.setLineWidth(width);
    return false;
}

} // namespace

LayoutManager::LayoutManager() = default;

LayoutManager::~LayoutManager()
{
    setTextStorage(nullptr);
    for (TextContainer *c : m_containers)
        c->m_layoutManager = nullptr;
}

void LayoutManager::setTextStorage(TextStorage *storage)
{
    if (m_storage)
        m_storage->removeObserver(m_observer);
    m_storage = storage;
    m_observer = 0;
    if (storage) {
        m_text = storage->text();
        m_observer = storage->addObserver([this](const TextStorage &s, const TextEdit &) {
            m_text = s.text();
            invalidateLayout();
        });
    }
    invalidateLayout();
}

void LayoutManager::setAttributedString(const AttributedString &text)
{
    setTextStorage(nullptr);
    m_text = text;
    invalidateLayout();
}

void LayoutManager::addTextContainer(TextContainer *container)
{
    if (container->m_layoutManager)
        container->m_layoutManager->removeTextContainer(container);
    container->m_layoutManager = this;
    m_containers.push_back(container);
    invalidateLayout();
}

void LayoutManager::removeTextContainer(TextContainer *container)
{
    auto it = std::find(m_containers.begin(), m_containers.end(), container);
    if (it == m_containers.end())
        return;
    container->m_layoutManager = nullptr;
    m_containers.erase(it);
    invalidateLayout();
}

void LayoutManager::setHyphenationFactor(float factor)
{
    m_hyphenationFactor = std::clamp(factor, 0.0f, 1.0f);
    invalidateLayout();
}

void LayoutManager::setTypingAttributes(const TextAttributes &attributes)
{
    m_typingAttributes = attributes;
    if (m_text.isEmpty())
        invalidateLayout();
}

void LayoutManager::invalidateLayout()
{
    m_valid = false;
}

void LayoutManager::ensureLayout()
{
    if (!m_valid)
        layout();
}

void LayoutManager::layout()
{
    m_valid = true;
    m_paragraphs.clear();
    m_fragments.clear();
    m_firstUnlaid = 0;
    const QString &s = m_text.string();
    // Paragraphs; a text ending with a separator gets an empty last paragraph.
    int pos = 0;
    while (pos < m_text.length()) {
        auto p = std::make_unique<Paragraph>();
        p->range = m_text.paragraphRange({pos, 0});
        int len = p->range.length;
        while (len > 0 && isParagraphSeparator(s[p->range.location + len - 1]))
            --len;
        p->textLength = len;
        p->style = m_text.attributesAt(p->range.location).paragraphStyle.value_or(ParagraphStyle{});
        m_paragraphs.push_back(std::move(p));
        pos = m_paragraphs.back()->range.end();
    }
    if (!m_text.isEmpty() && isParagraphSeparator(s.back())) {
        auto p = std::make_unique<Paragraph>();
        p->range = {m_text.length(), 0};
        p->style = m_text.attributesAt(m_text.length() - 1).paragraphStyle.value_or(ParagraphStyle{});
        m_paragraphs.push_back(std::move(p));
    }
    m_extraLineFragment = LineFragment{};
    if (m_text.isEmpty()) {
        layoutExtraLineFragment();
        return;
    }
    int container = 0;
    float y = 0;
    for (int i = 0; i < int(m_paragraphs.size()); ++i) {
        if (!layoutParagraph(i, container, y))
            return;
    }
    m_firstUnlaid = m_text.length();
}

// An empty text still has a line for the insertion point: the first container's first
// fragment, as high as a line in the typing attributes.
void LayoutManager::layoutExtraLineFragment()
{
    if (m_containers.empty())
        return;
    const ParagraphStyle style = m_typingAttributes.paragraphStyle.value_or(ParagraphStyle{});
    AttributedString sample(QStringLiteral(" "), m_typingAttributes);
    const LineMetrics m = metricsOf(sample, {0, 1});
    const float height = lineHeight(m, style) + style.lineSpacing;
    TextContainer *c = m_containers.front();
    Rect rest;
    const Rect frag = c->lineFragmentRectForProposedRect(Rect(0, 0, c->containerSize().width, height),
                                                         LineSweepDirection::Right, LineMovementDirection::MovesDown,
                                                         &rest);
    if (frag.isEmpty())
        return;
    m_extraLineFragment.rect = Rect(frag.origin, {frag.width(), std::max(frag.height(), height)});
    m_extraLineFragment.usedRect = Rect(frag.origin, {std::min(2 * c->lineFragmentPadding(), frag.width()), height});
    m_extraLineFragment.baseline = frag.minY() + lineHeight(m, style) - m.descent - m.leading;
    m_extraLineFragment.characters = {0, 0};
    m_extraLineFragment.line = -1;
}

// Lays out one paragraph from y in container; false when the containers are full.
bool LayoutManager::layoutParagraph(int index, int &container, float &y)
{
    Paragraph &p = *m_paragraphs[index];
    const ParagraphStyle &style = p.style;
    m_currentParagraph = p.range;
    m_currentStyle = style;
    AttributedString &text = m_text;
    p.layout = makeLayout(text, p.range, p.textLength, style);
    QTextLayout &layout = *p.layout;
    const QString &s = layout.text();
    float factor = style.hyphenationFactor > 0 ? style.hyphenationFactor : m_hyphenationFactor;

    layout.beginLayout();
    Rect remaining;
    bool firstLine = true;
    int lineIndex = 0;
    float lineTop = y;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        if (container >= int(m_containers.size())) {
            layout.endLayout();
            m_firstUnlaid = p.range.location + line.textStart();
            return false;
        }
        int start = line.textStart();
        LineMetrics estimate = metricsOf(text, {p.range.location + start, 0});
        float before = firstLine && index > 0 ? style.paragraphSpacingBefore : 0;
        float height = before + lineHeight(estimate, style) + style.lineSpacing;
        bool placed = false;
        while (!placed) {
            TextContainer *c = m_containers[container];
            bool newLine = remaining.isEmpty();
            Rect proposed = newLine ? Rect(0, lineTop, c->containerSize().width, height)
                                    : Rect(remaining.origin, {remaining.width(), height});
            Rect rest;
            Rect frag;
            float lineH = 0, after = 0;
            LineMetrics m;
            bool hyphenated = false;
            for (int attempt = 0; attempt < 4; ++attempt) {
                frag = c->lineFragmentRectForProposedRect(proposed, LineSweepDirection::Right,
                                                          LineMovementDirection::MovesDown, &rest);
                if (frag.isEmpty())
                    break;
                float pad = c->lineFragmentPadding();
                float indent = newLine ? (firstLine ? style.firstLineHeadIndent : style.headIndent) : 0;
                float left = frag.minX() + pad + indent;
                float right = frag.maxX() - pad;
                if (style.tailIndent > 0)
                    right = std::min(right, style.tailIndent);
                else
                    right += style.tailIndent;
                float width = std::max(right - left, 0.0f);
                line.setPosition(QPointF(left, 0));
                if (s.contains(u'\t'))
                    applyTabs(layout, style, left - frag.minX(), width);
                line.setLineWidth(width);
                hyphenated = false;
                int end = line.textStart() + line.textLength();
                if (factor > 0 && width > 0 && end < s.size() && line.naturalTextWidth() / width < factor)
                    hyphenated = hyphenate(line, s, width, fontOf(text.attributesAt(p.range.location + end)));
                m = metricsOf(text, {p.range.location + line.textStart(), line.textLength()});
                bool last = line.textStart() + line.textLength() >= s.size();
                after = last ? style.paragraphSpacing : 0;
                lineH = lineHeight(m, style);
                float needed = before + lineH + style.lineSpacing + after;
                if (needed <= proposed.height() + 0.001f)
                    break;
                proposed.size.height = needed;
            }
            if (frag.isEmpty()) {
                if (!newLine) {
                    // No room beside the earlier fragment: the line goes on below it.
                    remaining = Rect();
                    lineTop += height;
                    continue;
                }
                ++container;
                lineTop = 0;
                remaining = Rect();
                if (container >= int(m_containers.size())) {
                    layout.endLayout();
                    m_firstUnlaid = p.range.location + start;
                    return false;
                }
                continue;
            }
            float fragHeight = std::max(proposed.height(), before + lineH + style.lineSpacing + after);
            float baseline = frag.minY() + before + lineH - m.descent - m.leading;
            line.setPosition(QPointF(line.position().x(), baseline - line.ascent()));
            LineFragment f;
            f.container = container;
            f.rect = Rect(frag.minX(), frag.minY(), frag.width(), fragHeight);
            float pad = c->lineFragmentPadding();
            float textWidth = float(line.naturalTextWidth()) + (hyphenated ? hyphenWidth(fontOf(text.attributesAt(
                                                                   p.range.location + line.textStart()))) : 0);
            float usedLeft = float(line.cursorToX(line.textStart())) - pad;
            if (style.alignment == TextAlignment::Justified && line.textStart() + line.textLength() < s.size())
                textWidth = float(line.width());
            f.usedRect = Rect(std::max(frag.minX(), std::min(usedLeft, float(line.x()) - pad)), frag.minY(),
                              std::min(textWidth + 2 * pad, frag.width()), fragHeight);
            f.baseline = baseline;
            int startChar = p.range.location + line.textStart();
            int endChar = p.range.location + line.textStart() + line.textLength();
            if (line.textStart() + line.textLength() >= s.size())
                endChar = p.range.end();
            f.characters = {startChar, endChar - startChar};
            f.hyphenated = hyphenated;
            f.paragraph = index;
            f.line = lineIndex;
            m_fragments.push_back(f);
            placed = true;
            firstLine = false;
            if (!rest.isEmpty() && rest.width() > 0) {
                remaining = rest;
                height = fragHeight;
            } else {
                remaining = Rect();
                lineTop = frag.minY() + fragHeight;
            }
        }
        ++lineIndex;
    }
    layout.endLayout();
    // The line after a fragment that left a remaining rectangle starts below it.
    if (!remaining.isEmpty() && !m_fragments.empty())
        lineTop = m_fragments.back().rect.maxY();
    y = lineTop;
    return true;
}

const std::vector<LineFragment> &LayoutManager::lineFragments()
{
    ensureLayout();
    return m_fragments;
}

int LayoutManager::firstUnlaidCharacterIndex()
{
    ensureLayout();
    return m_firstUnlaid;
}

const QTextLayout *LayoutManager::paragraphLayout(int paragraph) const
{
    return paragraph >= 0 && paragraph < int(m_paragraphs.size()) ? m_paragraphs[paragraph]->layout.get() : nullptr;
}

int LayoutManager::paragraphStart(int paragraph) const
{
    return paragraph >= 0 && paragraph < int(m_paragraphs.size()) ? m_paragraphs[paragraph]->range.location : 0;
}

int LayoutManager::fragmentIndexForCharacter(int index)
{
    ensureLayout();
    auto it = std::upper_bound(m_fragments.begin(), m_fragments.end(), index,
                               [](int i, const LineFragment &f) { return i < f.characters.location; });
    if (it == m_fragments.begin())
        return -1;
    int k = int(it - m_fragments.begin()) - 1;
    const LineFragment &f = m_fragments[k];
    if (f.characters.contains(index) || (f.characters.isEmpty() && f.characters.location == index))
        return k;
    return -1;
}

TextRange LayoutManager::glyphRangeForTextContainer(const TextContainer *container)
{
    ensureLayout();
    int start = -1, end = -1;
    for (const LineFragment &f : m_fragments) {
        if (m_containers[f.container] != container)
            continue;
        if (start < 0)
            start = f.characters.location;
        end = f.characters.end();
    }
    return start < 0 ? TextRange{0, 0} : TextRange{start, end - start};
}

Rect LayoutManager::usedRectForTextContainer(const TextContainer *container)
{
    ensureLayout();
    Rect used;
    bool any = false;
    for (const LineFragment &f : m_fragments) {
        if (m_containers[f.container] != container)
            continue;
        // Fragments of empty lines have no width but still take height.
        Rect r = f.usedRect;
        if (r.width() <= 0)
            r.size.width = 0.001f;
        used = any ? unionRect(used, r) : r;
        any = true;
    }
    return used;
}

TextContainer *LayoutManager::textContainerForGlyphAtIndex(int index, TextRange *effectiveRange)
{
    int k = fragmentIndexForCharacter(index);
    if (k < 0)
        return nullptr;
    TextContainer *c = m_containers[m_fragments[k].container];
    if (effectiveRange)
        *effectiveRange = glyphRangeForTextContainer(c);
    return c;
}

Rect LayoutManager::boundingRectForGlyphRange(TextRange range, const TextContainer *container)
{
    ensureLayout();
    Rect result;
    bool any = false;
    for (const LineFragment &f : m_fragments) {
        if (m_containers[f.container] != container)
            continue;
        TextRange part = intersectionRange(range, f.characters);
        if (part.isEmpty())
            continue;
        QTextLine line = m_paragraphs[f.paragraph]->layout->lineAt(f.line);
        int base = m_paragraphs[f.paragraph]->range.location;
        int lineEnd = line.textStart() + line.textLength();
        int a = std::min(part.location - base, lineEnd);
        int b = std::min(part.end() - base, lineEnd);
        float x1 = float(line.cursorToX(a));
        float x2 = float(line.cursorToX(b));
        if (part.end() > base + lineEnd && f.hyphenated)
            x2 += hyphenWidth(fontOf(m_text.attributesAt(part.end() - 1)));
        Rect r(std::min(x1, x2), f.rect.minY(), std::abs(x2 - x1), f.rect.height());
        if (r.width() <= 0)
            r.size.width = 0;
        result = any ? Rect(std::min(result.minX(), r.minX()), std::min(result.minY(), r.minY()),
                            std::max(result.maxX(), r.maxX()) - std::min(result.minX(), r.minX()),
                            std::max(result.maxY(), r.maxY()) - std::min(result.minY(), r.minY()))
                     : r;
        any = true;
    }
    return result;
}

Rect LayoutManager::lineFragmentRectForGlyphAtIndex(int index, TextRange *effectiveRange)
{
    int k = fragmentIndexForCharacter(index);
    if (k < 0) {
        if (effectiveRange)
            *effectiveRange = {index, 0};
        return Rect();
    }
    if (effectiveRange)
        *effectiveRange = m_fragments[k].characters;
    return m_fragments[k].rect;
}

Rect LayoutManager::lineFragmentUsedRectForGlyphAtIndex(int index, TextRange *effectiveRange)
{
    int k = fragmentIndexForCharacter(index);
    if (k < 0) {
        if (effectiveRange)
            *effectiveRange = {index, 0};
        return Rect();
    }
    if (effectiveRange)
        *effectiveRange = m_fragments[k].characters;
    return m_fragments[k].usedRect;
}

Point LayoutManager::locationForGlyphAtIndex(int index)
{
    int k = fragmentIndexForCharacter(index);
    if (k < 0)
        return Point{};
    const LineFragment &f = m_fragments[k];
    QTextLine line = m_paragraphs[f.paragraph]->layout->lineAt(f.line);
    int offset = std::min(index - m_paragraphs[f.paragraph]->range.location, line.textStart() + line.textLength());
    return Point{float(line.cursorToX(offset)) - f.rect.minX(), f.baseline - f.rect.minY()};
}

std::vector<PlacedText> LayoutManager::placedText(TextRange range, Point origin)
{
    std::vector<PlacedText> pieces;
    for (const LineFragment &fragment : lineFragments()) {
        const TextRange line = intersectionRange(fragment.characters, range);
        if (line.isEmpty())
            continue;
        m_text.enumerateRuns(line, [&](const TextRun &run) {
            const TextRange piece = intersectionRange(run.range, line);
            if (piece.isEmpty())
                return;
            const Point at = locationForGlyphAtIndex(piece.location);
            pieces.push_back({piece, Point(origin.x + fragment.rect.minX() + at.x,
                                           origin.y + fragment.rect.minY() + at.y
                                               - run.attributes.baselineOffset.value_or(0))});
        });
    }
    return pieces;
}

// The fragment of the container nearest the point: the nearest line first, then the
// nearest fragment on it; null when the container has none.
const LineFragment *LayoutManager::nearestFragment(Point point, const TextContainer *container)
{
    ensureLayout();
    const LineFragment *best = nullptr;
    float bestDistance = 0;
    for (const LineFragment &f : m_fragments) {
        if (m_containers[f.container] != container)
            continue;
        const float dy = point.y < f.rect.minY() ? f.rect.minY() - point.y
                       : point.y >= f.rect.maxY() ? point.y - f.rect.maxY() + 0.001f : 0;
        const float dx = point.x < f.rect.minX() ? f.rect.minX() - point.x
                       : point.x >= f.rect.maxX() ? point.x - f.rect.maxX() : 0;
        const float d = dy * 10000 + dx;
        if (!best || d < bestDistance) {
            best = &f;
            bestDistance = d;
        }
    }
    return best;
}

int LayoutManager::glyphIndexForPoint(Point point, const TextContainer *container, float *fraction)
{
    const LineFragment *best = nearestFragment(point, container);
    if (fraction)
        *fraction = 0;
    if (!best)
        return m_text.length();
    QTextLine line = m_paragraphs[best->paragraph]->layout->lineAt(best->line);
    int base = m_paragraphs[best->paragraph]->range.location;
    int offset = line.xToCursor(point.x, QTextLine::CursorOnCharacter);
    int index = std::clamp(base + offset, best->characters.location,
                           std::max(best->characters.location, best->characters.end() - 1));
    if (fraction) {
        float x1 = float(line.cursorToX(index - base)), x2 = float(line.cursorToX(index - base + 1));
        *fraction = x2 > x1 ? std::clamp((point.x - x1) / (x2 - x1), 0.0f, 1.0f) : 0;
    }
    return index;
}

quint32 LayoutManager::glyphAtIndex(int index, bool *isValid)
{
    bool valid = index >= 0 && index < m_text.length();
    if (isValid)
        *isValid = valid;
    if (!valid)
        return 0;
    QChar c = m_text.string()[index];
    if (c.category() == QChar::Other_Control || c == QChar(0x2028) || c == QChar(0x2029))
        return ControlGlyph;
    if (c.isLowSurrogate())
        return 0;
    QString chars = c.isHighSurrogate() ? m_text.string().mid(index, 2) : QString(c);
    QList<quint32> glyphs = rawFont(fontOf(m_text.attributesAt(index))).glyphIndexesForString(chars);
    return glyphs.isEmpty() ? 0 : glyphs.first();
}

int wordCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    int count = 0;
    qsizetype start = 0;
    while (finder.toNextBoundary() >= 0) {
        qsizetype end = finder.position();
        for (qsizetype i = start; i < end; ++i) {
            if (text[i].isLetterOrNumber()) {
                ++count;
                break;
            }
        }
        start = end;
    }
    return count;
}
