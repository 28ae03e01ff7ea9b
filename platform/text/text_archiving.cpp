// Archive coders of the text values.
#include "platform/text/text_archiving.h"

#include "platform/color/color.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/unarchiver.h"
#include "platform/text/attributed_string.h"
#include "platform/text/platform_text_coders.h"

#include <vector>

namespace {

constexpr int MaxTabStops = 1000;

bool encodeFont(Archiver &out, const Font &font)
{
    out.beginObject({{"VekFont", 1}, {"NSObject", 0}});
    out.encodeStringObject(font.name);
    out.encodeFloat(font.size);
    return true;
}

bool decodeFont(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    Font font;
    if (!decodeStringObject(in, font.name) || !in.decodeFloat(font.size))
        return false;
    object = font;
    return true;
}

bool encodeParagraphStyle(Archiver &out, const ParagraphStyle &p)
{
    out.beginObject({{"VekParagraphStyle", 1}, {"NSObject", 0}});
    out.encodeInt(int(p.alignment));
    out.encodeFloatArray({p.firstLineHeadIndent, p.headIndent, p.tailIndent, p.lineSpacing, p.paragraphSpacing,
                          p.paragraphSpacingBefore, p.minimumLineHeight, p.maximumLineHeight, p.lineHeightMultiple,
                          p.defaultTabInterval, p.hyphenationFactor});
    std::vector<float> tabs;
    for (const TextTab &t : p.tabStops) {
        tabs.push_back(float(int(t.type)));
        tabs.push_back(t.location);
    }
    out.encodeFloatArray(tabs);
    return true;
}

bool decodeParagraphStyle(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    qint64 alignment;
    std::vector<float> v, tabs;
    if (!in.decodeInt(alignment) || !in.decodeFloatArray(v) || !in.decodeFloatArray(tabs))
        return false;
    if (alignment < 0 || alignment > 4 || v.size() < 11 || tabs.size() % 2 || tabs.size() > 2 * MaxTabStops)
        return in.fail(QStringLiteral("bad paragraph style"));
    ParagraphStyle p;
    p.alignment = TextAlignment(alignment);
    float *fields[] = {&p.firstLineHeadIndent, &p.headIndent, &p.tailIndent, &p.lineSpacing, &p.paragraphSpacing,
                       &p.paragraphSpacingBefore, &p.minimumLineHeight, &p.maximumLineHeight, &p.lineHeightMultiple,
                       &p.defaultTabInterval, &p.hyphenationFactor};
    for (size_t i = 0; i < 11; ++i)
        *fields[i] = v[i];
    for (size_t i = 0; i < tabs.size(); i += 2) {
        int type = int(tabs[i]);
        if (type < 0 || type > 3)
            return in.fail(QStringLiteral("bad tab stop kind"));
        p.tabStops.append({TextTabType(type), tabs[i + 1]});
    }
    object = p;
    return true;
}

bool encodeAttachment(Archiver &out, const TextAttachment &a)
{
    out.beginObject({{"VekTextAttachment", 1}, {"NSObject", 0}});
    out.encodeStringObject(a.fileName);
    encodeDataObject(out, a.contents);
    return true;
}

bool decodeAttachment(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    TextAttachment a;
    if (!decodeStringObject(in, a.fileName) || !decodeDataObject(in, a.contents))
        return false;
    object = a;
    return true;
}

// Reads an object of type T, or nil; anything else is an error.
template <typename T>
bool decodeOptional(Unarchiver &in, std::optional<T> &value, const char *what)
{
    std::any object;
    if (!in.decodeObject(object))
        return false;
    if (!object.has_value())
        return true;
    if (const T *v = std::any_cast<T>(&object)) {
        value = *v;
        return true;
    }
    return in.fail(QStringLiteral("not a %1 in text attributes").arg(QLatin1String(what)));
}

bool decodeOptionalString(Unarchiver &in, std::optional<QString> &value)
{
    QString s;
    if (!decodeStringObject(in, s))
        return false;
    value = s;
    return true;
}

bool encodeAttributes(Archiver &out, const TextAttributes &a)
{
    out.beginObject({{"VekTextAttributes", 1}, {"NSObject", 0}});
    int mask = 0;
    for (int k = 0; k < TextAttributeCount; ++k)
        if (a.has(TextAttribute(k)))
            mask |= 1 << k;
    out.encodeInt(mask);
    if (a.font) out.encodeObject(*a.font);
    if (a.foregroundColor) out.encodeObject(*a.foregroundColor);
    if (a.backgroundColor) out.encodeObject(*a.backgroundColor);
    if (a.underlineStyle) out.encodeInt(*a.underlineStyle);
    if (a.underlineColor) out.encodeObject(*a.underlineColor);
    if (a.strikethroughStyle) out.encodeInt(*a.strikethroughStyle);
    if (a.strikethroughColor) out.encodeObject(*a.strikethroughColor);
    if (a.strokeWidth) out.encodeFloat(*a.strokeWidth);
    if (a.strokeColor) out.encodeObject(*a.strokeColor);
    if (a.obliqueness) out.encodeFloat(*a.obliqueness);
    if (a.baselineOffset) out.encodeFloat(*a.baselineOffset);
    if (a.kerning) out.encodeFloat(*a.kerning);
    if (a.link) out.encodeStringObject(*a.link);
    if (a.anchor) out.encodeStringObject(*a.anchor);
    if (a.attachment) out.encodeObject(*a.attachment);
    if (a.paragraphStyle) out.encodeObject(*a.paragraphStyle);
    return !out.failed();
}

bool decodeAttributes(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    qint64 mask;
    if (!in.decodeInt(mask))
        return false;
    if (mask < 0 || mask >= (qint64(1) << TextAttributeCount))
        return in.fail(QStringLiteral("unknown text attributes"));
    auto has = [mask](TextAttribute k) { return (mask >> int(k)) & 1; };
    TextAttributes a;
    auto number = [&](std::optional<float> &v) {
        float f;
        if (!in.decodeFloat(f))
            return false;
        v = f;
        return true;
    };
    auto style = [&](std::optional<int> &v) {
        qint64 i;
        if (!in.decodeInt(i))
            return false;
        v = int(i);
        return true;
    };
    bool ok = (!has(TextAttribute::Font) || decodeOptional(in, a.font, "font"))
        && (!has(TextAttribute::ForegroundColor) || decodeOptional(in, a.foregroundColor, "colour"))
        && (!has(TextAttribute::BackgroundColor) || decodeOptional(in, a.backgroundColor, "colour"))
        && (!has(TextAttribute::UnderlineStyle) || style(a.underlineStyle))
        && (!has(TextAttribute::UnderlineColor) || decodeOptional(in, a.underlineColor, "colour"))
        && (!has(TextAttribute::StrikethroughStyle) || style(a.strikethroughStyle))
        && (!has(TextAttribute::StrikethroughColor) || decodeOptional(in, a.strikethroughColor, "colour"))
        && (!has(TextAttribute::StrokeWidth) || number(a.strokeWidth))
        && (!has(TextAttribute::StrokeColor) || decodeOptional(in, a.strokeColor, "colour"))
        && (!has(TextAttribute::Obliqueness) || number(a.obliqueness))
        && (!has(TextAttribute::BaselineOffset) || number(a.baselineOffset))
        && (!has(TextAttribute::Kerning) || number(a.kerning))
        && (!has(TextAttribute::Link) || decodeOptionalString(in, a.link))
        && (!has(TextAttribute::Anchor) || decodeOptionalString(in, a.anchor))
        && (!has(TextAttribute::Attachment) || decodeOptional(in, a.attachment, "attachment"))
        && (!has(TextAttribute::ParagraphStyle) || decodeOptional(in, a.paragraphStyle, "paragraph style"));
    if (!ok)
        return false;
    object = a;
    return true;
}

bool encodeAttributedString(Archiver &out, const AttributedString &s)
{
    out.beginObject({{"VekAttributedString", 1}, {"NSObject", 0}});
    out.encodeStringObject(s.string());
    out.encodeInt(qint64(s.runs().size()));
    for (const TextRun &run : s.runs()) {
        out.encodeInt(run.range.length);
        out.encodeObject(run.attributes);
    }
    return !out.failed();
}

bool decodeAttributedString(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    QString text;
    qint64 count;
    if (!decodeStringObject(in, text) || !in.decodeInt(count))
        return false;
    if (count < 0 || count > text.size())
        return in.fail(QStringLiteral("bad run count"));
    AttributedString result;
    qint64 position = 0;
    for (qint64 i = 0; i < count; ++i) {
        qint64 length;
        std::optional<TextAttributes> attributes;
        if (!in.decodeInt(length) || !decodeOptional(in, attributes, "text attributes"))
            return false;
        if (length <= 0 || length > text.size() - position)
            return in.fail(QStringLiteral("bad run length"));
        result.append(AttributedString(text.mid(position, length), attributes.value_or(TextAttributes{})));
        position += length;
    }
    if (position != text.size())
        return in.fail(QStringLiteral("runs do not cover the text"));
    object = result;
    return true;
}

} // namespace

void registerTextCoders(ArchiveCoderRegistry &registry)
{
    registry.registerDecoder("VekFont", decodeFont);
    registry.registerDecoder("VekParagraphStyle", decodeParagraphStyle);
    registry.registerDecoder("VekTextAttachment", decodeAttachment);
    registry.registerDecoder("VekTextAttributes", decodeAttributes);
    registry.registerDecoder("VekAttributedString", decodeAttributedString);
    registry.registerEncoder<Font>(encodeFont);
    registry.registerEncoder<ParagraphStyle>(encodeParagraphStyle);
    registry.registerEncoder<TextAttachment>(encodeAttachment);
    registry.registerEncoder<TextAttributes>(encodeAttributes);
    registry.registerEncoder<AttributedString>(encodeAttributedString);
    registerPlatformTextDecoders(registry);
}
