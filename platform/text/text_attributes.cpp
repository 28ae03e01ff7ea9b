// Generic access to the attributes of a run by key.
#include "platform/text/text_attributes.h"

namespace {

// Calls f with the member pointer that stores key.
template <class F>
decltype(auto) withMember(TextAttribute key, F &&f)
{
    switch (key) {
    case TextAttribute::Font: return f(&TextAttributes::font);
    case TextAttribute::ForegroundColor: return f(&TextAttributes::foregroundColor);
    case TextAttribute::BackgroundColor: return f(&TextAttributes::backgroundColor);
    case TextAttribute::UnderlineStyle: return f(&TextAttributes::underlineStyle);
    case TextAttribute::UnderlineColor: return f(&TextAttributes::underlineColor);
    case TextAttribute::StrikethroughStyle: return f(&TextAttributes::strikethroughStyle);
    case TextAttribute::StrikethroughColor: return f(&TextAttributes::strikethroughColor);
    case TextAttribute::StrokeWidth: return f(&TextAttributes::strokeWidth);
    case TextAttribute::StrokeColor: return f(&TextAttributes::strokeColor);
    case TextAttribute::Obliqueness: return f(&TextAttributes::obliqueness);
    case TextAttribute::BaselineOffset: return f(&TextAttributes::baselineOffset);
    case TextAttribute::Kerning: return f(&TextAttributes::kerning);
    case TextAttribute::Link: return f(&TextAttributes::link);
    case TextAttribute::Anchor: return f(&TextAttributes::anchor);
    case TextAttribute::Attachment: return f(&TextAttributes::attachment);
    case TextAttribute::ParagraphStyle: break;
    }
    return f(&TextAttributes::paragraphStyle);
}

} // namespace

bool TextAttributes::has(TextAttribute key) const
{
    return withMember(key, [this](auto m) { return (this->*m).has_value(); });
}

void TextAttributes::remove(TextAttribute key)
{
    withMember(key, [this](auto m) { (this->*m).reset(); });
}

void TextAttributes::take(TextAttribute key, const TextAttributes &other)
{
    withMember(key, [&](auto m) { this->*m = other.*m; });
}

bool TextAttributes::sameValue(TextAttribute key, const TextAttributes &other) const
{
    return withMember(key, [&](auto m) { return this->*m == other.*m; });
}

void TextAttributes::merge(const TextAttributes &other)
{
    for (int k = 0; k < TextAttributeCount; ++k) {
        auto key = TextAttribute(k);
        if (other.has(key))
            take(key, other);
    }
}

bool TextAttributes::isEmpty() const
{
    for (int k = 0; k < TextAttributeCount; ++k)
        if (has(TextAttribute(k)))
            return false;
    return true;
}
