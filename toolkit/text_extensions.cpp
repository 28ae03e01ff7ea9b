// Scaled, CMYK and hyphenated copies of attributed texts, and trimming.
#include "toolkit/text_extensions.h"

#include "platform/text/font_registry.h"
#include "platform/text/text_drawing.h"
#include "toolkit/cmyk_color.h"

AttributedString createCopyInScale(const AttributedString &text, float scale, float minFontSize)
{
    AttributedString copy = text;
    if (scale == 1.0f)
        return copy;
    int length = text.length();
    for (int i = 0; i < length;) {
        TextRange run = text.longestEffectiveRange(TextAttribute::Font, i);
        const auto &font = text.attributesAt(i).font;
        if (!font || run.length <= 0) {
            ++i;
            continue;
        }
        float size = std::max(scale * font->size, minFontSize);
        TextAttributes scaled;
        scaled.font = fontWithName(font->name, size).value_or(labelFont(size));
        copy.addAttributes(scaled, run);
        i = run.end();
    }
    // Tail indents may not reach beyond the scaled text's own width.
    float width = attributedStringSize(copy).width;
    for (int i = 0; i < length;) {
        TextRange run = text.longestEffectiveRange(TextAttribute::ParagraphStyle, i);
        i = std::max(run.end(), i + 1);
        const auto &style = text.attributesAt(run.location).paragraphStyle;
        if (!style)
            continue;
        ParagraphStyle p = *style;
        bool changed = false;
        for (float *v : {&p.lineSpacing, &p.paragraphSpacing, &p.paragraphSpacingBefore}) {
            if (*v > 0) {
                *v *= scale;
                changed = true;
            }
        }
        for (TextTab &tab : p.tabStops) {
            tab.location *= scale;
            changed = true;
        }
        if (p.tailIndent > width) {
            p.tailIndent = width;
            changed = true;
        }
        if (changed) {
            copy.modifyAttributes(run, [&](TextAttributes &a) { a.paragraphStyle = p; });
        }
    }
    return copy;
}

AttributedString attributedStringUsingCMYK(const AttributedString &text)
{
    AttributedString copy = text;
    for (int i = 0; i < text.length();) {
        TextRange run = text.longestEffectiveRange(TextAttribute::ForegroundColor, i);
        if (run.length <= 0)
            run = {i, 1};
        const auto &foreground = text.attributesAt(i).foregroundColor;
        Color cmyk = foreground ? cmykColor(*foreground) : Color::colorWithDeviceCyan(1, 1, 1, 1, 1);
        copy.modifyAttributes(run, [&](TextAttributes &a) {
            a.foregroundColor = cmyk;
            a.strikethroughColor = cmyk;
            a.strokeColor = cmyk;
            a.underlineColor = cmyk;
        });
        i = run.end();
    }
    return copy;
}

AttributedString addHyphen(const AttributedString &text)
{
    if (text.isEmpty())
        return AttributedString(QStringLiteral("-"));
    AttributedString copy = text;
    copy.append(AttributedString(QStringLiteral("-"), text.attributesAt(text.length() - 1)));
    return copy;
}

AttributedString withBaselineByHalf(const AttributedString &text, bool raise)
{
    AttributedString copy = text;
    if (copy.isEmpty())
        return copy;
    float offset = attributedStringSize(text).height / 2;
    if (const auto &font = text.attributesAt(0).font) {
        if (const float half = fontMetrics(*font).capHeight / 2; half > 0)
            offset = half;
    }
    TextAttributes shift;
    shift.baselineOffset = raise ? offset : -offset;
    copy.addAttributes(shift, {0, copy.length()});
    return copy;
}

QString TrimSpaces(const QString &string)
{
    qsizetype start = 0, end = string.size();
    while (start < end && string[start] == u' ')
        ++start;
    while (end > start && string[end - 1] == u' ')
        --end;
    return string.mid(start, end - start);
}

QString StripSpacesOfCommaSeparatedString(const QString &string)
{
    QStringList items;
    for (const QString &item : string.split(u','))
        if (QString trimmed = TrimSpaces(item); !trimmed.isEmpty())
            items.append(trimmed);
    return items.join(u',');
}
