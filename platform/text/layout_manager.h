// The layout manager: lays a text out into a chain of text containers, line by line, and
// answers where characters and glyphs ended up.
//
// Each paragraph is shaped and broken into lines by a QTextLayout; this class places the
// lines: for every line it proposes a rectangle to the current container and sets the line
// into the fragment the container returns (several fragments may share one line; an empty
// answer moves on to the next container; when the last one is full, the rest of the text
// stays unlaid). Measurements are in points at 72 dpi with unhinted design metrics, so the
// layout does not depend on the screen.
//
// Glyph indexes are character indexes (UTF-16 code units): the second unit of a surrogate
// pair and characters shaped into a ligature have an empty rectangle. A paragraph separator
// or another control character answers ControlGlyph.
//
// Line heights: the tallest ascender (raised by a positive baseline offset) plus the
// deepest descender (lowered by a negative offset) plus the largest leading, times the
// paragraph's line height multiple, then held between its minimum and maximum line height;
// the fragment adds the line spacing, the paragraph spacing before on a paragraph's first
// line (not at the top of the text) and the paragraph spacing after on its last line.
// Hyphenation: when the paragraph's hyphenation factor (or, when that is 0, the layout
// manager's) is above 0 and a line fills less than that fraction of its width, the word
// after it is broken at the last dictionary point that still fits with a hyphen.
#pragma once

#include "platform/geometry/bezier_path.h"
#include "platform/text/attributed_string.h"
#include "platform/text/text_container.h"

#include <QtGlobal>

#include <memory>
#include <vector>

class GraphicsContext;
class TextStorage;
class QTextLayout;
class QTextLine;

inline constexpr quint32 ControlGlyph = 0x00FFFFFF;

struct LineFragment {
    int container = 0;       // index in textContainers()
    Rect rect;               // the fragment in the container
    Rect usedRect;           // the part the text covers, line fragment padding included
    float baseline = 0;      // y of the baseline in the container
    TextRange characters;    // a paragraph's last fragment includes its separator
    bool hyphenated = false; // a hyphen is drawn after the fragment's text
    int paragraph = 0;
    int line = 0;            // line index in the paragraph's QTextLayout
};

// A piece of laid-out text for writers that place text themselves: the characters of one
// line in one attribute run, and the start of their baseline.
struct PlacedText {
    TextRange characters;
    Point baseline;
};

// One glyph of laid-out text as a path, and the characters it stands for.
struct GlyphOutline {
    BezierPath path;
    TextRange characters;
};

class LayoutManager {
public:
    LayoutManager();
    virtual ~LayoutManager();
    LayoutManager(const LayoutManager &) = delete;
    LayoutManager &operator=(const LayoutManager &) = delete;

    // The text laid out: a store that is followed as it changes, or a fixed copy.
    void setTextStorage(TextStorage *storage);
    TextStorage *textStorage() const { return m_storage; }
    void setAttributedString(const AttributedString &text);
    const AttributedString &text() const { return m_text; }

    // Containers are not owned; a container removes itself when it is destroyed.
    void addTextContainer(TextContainer *container);
    void removeTextContainer(TextContainer *container);
    const std::vector<TextContainer *> &textContainers() const { return m_containers; }

    float hyphenationFactor() const { return m_hyphenationFactor; }
    void setHyphenationFactor(float factor);
    bool showsInvisibleCharacters() const { return m_showsInvisibles; }
    void setShowsInvisibleCharacters(bool on) { m_showsInvisibles = on; }
    // Glyphs drawn on screen and in images as filled outlines rather than through Qt's
    // glyph cache (text along paths draws each glyph turned on its own).
    bool drawsGlyphOutlines() const { return m_drawsOutlines; }
    void setDrawsGlyphOutlines(bool on) { m_drawsOutlines = on; }

    void invalidateLayout();
    void ensureLayout();

    // Results (each lays out first when needed).
    const std::vector<LineFragment> &lineFragments();
    int numberOfGlyphs() const { return m_text.length(); }
    // Characters from here on did not fit into the containers.
    int firstUnlaidCharacterIndex();
    TextRange glyphRangeForTextContainer(const TextContainer *container);
    Rect usedRectForTextContainer(const TextContainer *container);
    // The container a glyph was laid into; null when it did not fit.
    TextContainer *textContainerForGlyphAtIndex(int index, TextRange *effectiveRange = nullptr);
    // The union of the rectangles the glyphs of range take in container, each a line high.
    Rect boundingRectForGlyphRange(TextRange range, const TextContainer *container);
    Rect lineFragmentRectForGlyphAtIndex(int index, TextRange *effectiveRange = nullptr);
    Rect lineFragmentUsedRectForGlyphAtIndex(int index, TextRange *effectiveRange = nullptr);
    // The glyph's origin on its baseline, relative to its line fragment's origin.
    Point locationForGlyphAtIndex(int index);
    // The glyph nearest to point in container; fraction receives how far across it the point lies.
    int glyphIndexForPoint(Point point, const TextContainer *container, float *fraction = nullptr);
    int characterIndexForPoint(Point point, const TextContainer *container) { return glyphIndexForPoint(point, container); }
    // The font's glyph for the character, ControlGlyph for control characters, 0 when invalid.
    quint32 glyphAtIndex(int index, bool *isValid = nullptr);

    // Draws the glyphs of range into the current graphics context, each container's origin
    // at origin: background colours, glyphs (filled and/or stroked, slanted and raised as
    // their attributes say), underlines, strikethroughs and the hyphens of hyphenated lines.
    // Filled glyphs are drawn as text in PDF and print and, where they stand upright, through
    // Qt's glyph cache on screen and in images; the others as outlines. With showsInvisibleCharacters, each character that has a
    // mark (invisibleCharacterMark) gets it drawn in its attributes at the top of its line.
    // Defined in text_drawing.cpp.
    virtual void drawGlyphsForGlyphRange(TextRange range, Point origin);
    // The laid-out characters of range, one piece per line and attribute run, placed as
    // drawGlyphsForGlyphRange draws them (baseline offsets included) with the containers'
    // origin at origin.
    std::vector<PlacedText> placedText(TextRange range, Point origin);

    // The outline of every glyph of range, placed as drawGlyphsForGlyphRange draws it (in
    // points, the containers at origin), each with the characters it shows: a ligature
    // or a cluster of a base and its combining marks maps to all its characters, a
    // surrogate pair to both units. Spaces, control characters and attachments have none.
    // Defined in glyph_outlines.cpp.
    std::vector<GlyphOutline> glyphOutlinesForGlyphRange(TextRange range, Point origin);

    // The attributes of text typed next; an empty text's line takes its height from them.
    const TextAttributes &typingAttributes() const { return m_typingAttributes; }
    void setTypingAttributes(const TextAttributes &attributes);

    // ---- Insertion point and selection (layout_geometry.cpp) ----

    // The line of an empty text, where the insertion point stands (line is -1 there); the
    // zero rectangle for a text with characters, whose last empty line (after a final
    // paragraph separator) is an ordinary fragment.
    Rect extraLineFragmentRect();
    // The insertion point before the character at index (index = length: after the last),
    // one point wide and as high as its line, in the coordinates of its container, whose
    // index goes to container; the zero rectangle when the index did not fit.
    Rect insertionPointRectForCharacterIndex(int index, int *container = nullptr);
    // One rectangle per line fragment of the container that the range touches, each as high
    // as its fragment; a range that goes on past a fragment's end reaches its right edge.
    std::vector<Rect> selectionRectsForCharacterRange(TextRange range, const TextContainer *container);
    // The insertion point nearest to the point (between characters, 0 to length); never
    // after a line's paragraph separator.
    int characterIndexForInsertionAtPoint(Point point, const TextContainer *container);

    // What the typesetter is doing while a container is asked for a fragment.
    TextRange currentParagraphRange() const { return m_currentParagraph; }
    const ParagraphStyle &currentParagraphStyle() const { return m_currentStyle; }

    // For drawing: the paragraph layout holding a fragment's line.
    const QTextLayout *paragraphLayout(int paragraph) const;
    int paragraphStart(int paragraph) const;

private:
    const LineFragment *nearestFragment(Point point, const TextContainer *container);
    struct Paragraph;
    void layout();
    void layoutExtraLineFragment();
    bool layoutParagraph(int index, int &container, float &y);
    int fragmentIndexForCharacter(int index);

    TextStorage *m_storage = nullptr;
    int m_observer = 0;
    AttributedString m_text;
    std::vector<TextContainer *> m_containers;
    float m_hyphenationFactor = 0;
    bool m_showsInvisibles = false;
    bool m_drawsOutlines = false;

    bool m_valid = false;
    std::vector<std::unique_ptr<Paragraph>> m_paragraphs;
    std::vector<LineFragment> m_fragments;
    LineFragment m_extraLineFragment;
    TextAttributes m_typingAttributes;
    int m_firstUnlaid = 0;
    TextRange m_currentParagraph;
    ParagraphStyle m_currentStyle;
};

// The mark shown for an invisible character: U+00B7 for a space, U+2192 for a tab (and
// U+21E4, U+21E5), U+00B6 for a line feed, U+21CB for a form feed, U+FFFD for other control
// characters, unassigned code points and characters the font has no glyph for; none (a
// null QChar) for the rest.
QChar invisibleCharacterMark(QChar c, bool hasGlyph);

// The number of words: segments between word boundaries that hold a letter or a digit.
int wordCount(const QString &text);
