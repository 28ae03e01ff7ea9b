// The set of attributes one run of text carries; every attribute may be absent.
#pragma once

#include "platform/color/color.h"
#include "platform/text/font.h"
#include "platform/text/paragraph_style.h"
#include "platform/text/text_attachment.h"

#include <optional>

// Underline and strikethrough styles: 0 none, 1 single, 2 thick, 9 double; a pattern
// (0x100 dot, 0x200 dash, 0x300 dash-dot, 0x400 dash-dot-dot) and 0x8000 (by word) may be
// added to the line style.
enum : int {
    UnderlineStyleNone = 0,
    UnderlineStyleSingle = 1,
    UnderlineStyleThick = 2,
    UnderlineStyleDouble = 9,
    UnderlinePatternDot = 0x100,
    UnderlinePatternDash = 0x200,
    UnderlinePatternDashDot = 0x300,
    UnderlinePatternDashDotDot = 0x400,
    UnderlineByWord = 0x8000,
};

enum class TextAttribute {
    Font,
    ForegroundColor,
    BackgroundColor,
    UnderlineStyle,
    UnderlineColor,
    StrikethroughStyle,
    StrikethroughColor,
    StrokeWidth,
    StrokeColor,
    Obliqueness,
    BaselineOffset,
    Kerning,
    Link,
    Anchor,
    Attachment,
    ParagraphStyle,
};
inline constexpr int TextAttributeCount = int(TextAttribute::ParagraphStyle) + 1;

struct TextAttributes {
    std::optional<Font> font;
    std::optional<Color> foregroundColor;
    std::optional<Color> backgroundColor;
    std::optional<int> underlineStyle;
    std::optional<Color> underlineColor;      // absent: the foreground colour
    std::optional<int> strikethroughStyle;
    std::optional<Color> strikethroughColor;  // absent: the foreground colour
    // Percent of the font size; above 0 outlines the glyphs only, below 0 fills and outlines.
    std::optional<float> strokeWidth;
    std::optional<Color> strokeColor;         // absent: the foreground colour
    std::optional<float> obliqueness;       // skew factor of the glyphs, 0 upright
    std::optional<float> baselineOffset;    // points, positive upwards
    std::optional<float> kerning;           // points added after each character; 0 turns kerning off
    std::optional<QString> link;            // URL text
    std::optional<QString> anchor;          // "#name"
    std::optional<TextAttachment> attachment;
    std::optional<ParagraphStyle> paragraphStyle;
    // Private to the running program, outside the keyed attributes above, so neither the
    // archive nor RTF writes it: the hyphen the flow of linked text boxes appended to a
    // box's text when it split a word, which a later flow may take away again. A "-" the
    // user typed never carries it.
    bool insertedHyphen = false;

    bool has(TextAttribute key) const;
    void remove(TextAttribute key);
    // Takes the value of key from other (removing it here when other has none).
    void take(TextAttribute key, const TextAttributes &other);
    bool sameValue(TextAttribute key, const TextAttributes &other) const;
    // Every attribute other carries replaces the one here; the rest stay.
    void merge(const TextAttributes &other);
    bool isEmpty() const;

    friend bool operator==(const TextAttributes &, const TextAttributes &) = default;
};
