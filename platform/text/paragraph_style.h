// Paragraph style: alignment, indents, spacing, line heights, tab stops and hyphenation.
//
// All lengths are in points. The numbering of alignments and tab kinds is the one that
// document files and archived runs store.
#pragma once

#include <QList>

enum class TextAlignment { Left = 0, Right = 1, Center = 2, Justified = 3, Natural = 4 };

enum class TextTabType { Left = 0, Right = 1, Center = 2, Decimal = 3 };

struct TextTab {
    TextTabType type = TextTabType::Left;
    float location = 0;

    friend bool operator==(const TextTab &a, const TextTab &b) { return a.type == b.type && a.location == b.location; }
};

struct ParagraphStyle {
    TextAlignment alignment = TextAlignment::Natural;
    float firstLineHeadIndent = 0;
    float headIndent = 0;
    // Above 0: distance of the right margin from the container's left edge; 0 or below:
    // distance from the container's right edge (negative values move it in).
    float tailIndent = 0;
    float lineSpacing = 0;             // extra space below each line
    float paragraphSpacing = 0;        // space after the paragraph
    float paragraphSpacingBefore = 0;
    float minimumLineHeight = 0;
    float maximumLineHeight = 0;       // 0: no maximum
    float lineHeightMultiple = 0;      // 0: natural line height
    QList<TextTab> tabStops;           // in increasing location
    float defaultTabInterval = 0;      // beyond the last stop; 0: every 28 points
    float hyphenationFactor = 0;       // 0: no hyphenation; up to 1

    friend bool operator==(const ParagraphStyle &, const ParagraphStyle &) = default;
};
