// The text box's keys of the dictionary form, and copies.
#include "model/dictionary_values.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/c_locale.h"
#include "platform/text/layout_manager.h"
#include "platform/text/rtf.h"
#include "platform/text/text_archiving.h"

namespace {

// A padding beyond this comes only from a damaged file: it would leave no room for text.
constexpr float MaxPadding = 1000;

// The runs are archived with our text coders, which must be known before the first text
// box is written or read, whoever starts the program.
void ensureTextCoders()
{
    static const bool registered = (registerTextCoders(ArchiveCoderRegistry::shared()), true);
    (void)registered;
}

} // namespace

void VekObjText::writePropertyListKeys(PropertyList &dict) const
{
    VekObject::writePropertyListKeys(dict);
    dict.insert(QStringLiteral("class"), PropertyList::fromString(className()));
    // The runs are preferred when reading; the RTFD copy is for readers without our coders,
    // and is written even when archiving the runs fails, so that the text is never lost.
    if (_contents.length() > 0) {
        ensureTextCoders();
        if (const auto runs = archivedDataWithRootObject(std::any(_contents.text()))) {
            dict.insert(QStringLiteral("attruns"), PropertyList::fromData(*runs.value));
            const PropertyList anchors = anchorInfoToSave();
            if (!anchors.isAbsent())
                dict.insert(QStringLiteral("anchors"), anchors);
        }
        const QByteArray rtfd = RTFDFromRange(_contents.text(), {0, _contents.length()});
        if (!rtfd.isEmpty())
            dict.insert(QStringLiteral("text"), PropertyList::fromData(rtfd));
    }
    dict.insert(QStringLiteral("tcPadding"), PropertyList::fromString(formatFixed(_tcPadding, 1)));
    dict.insert(QStringLiteral("hyphenFactor"), PropertyList::fromString(formatFixed(_hyphenFactor, 1)));
}

void VekObjText::readPropertyListKeys(const PropertyList &dict)
{
    VekObject::readPropertyListKeys(dict);
    setIsLoadingPropertyList(true);
    std::optional<AttributedString> text;
    const PropertyList runs = dict.value(QStringLiteral("attruns"));
    if (!runs.isAbsent()) {
        ensureTextCoders();
        if (const auto decoded = unarchiveObjectWithData(runs.dataValue())) {
            if (const auto *string = std::any_cast<AttributedString>(&*decoded.value); string && !string->isEmpty())
                text = *string;
        }
    }
    // Runs that cannot be read (damaged, or classes we do not know) must not cost the text:
    // the RTFD copy beside them holds it too.
    const PropertyList rtfd = dict.value(QStringLiteral("text"));
    if (!text && !rtfd.isAbsent())
        text = attributedStringWithRTFD(rtfd.dataValue());
    // A box saved empty (a linked box whose text all flowed elsewhere) has neither key; it
    // must not come back with the placeholder space, which would join the chain's text.
    if (runs.isAbsent() && rtfd.isAbsent())
        text = AttributedString();
    if (text) {
        replaceContentsSilently(*text);
        setSavedAnchorInfo(dict.value(QStringLiteral("anchors")));
        if (!text->isEmpty())
            setWordCount(::wordCount(text->string()));
    }
    _tcPadding = floatIn(dict.value(QStringLiteral("tcPadding")), 0, MaxPadding).value_or(0);
    _hyphenFactor = floatIn(dict.value(QStringLiteral("hyphenFactor")), 0, 1).value_or(0);
    setIsLoadingPropertyList(false);
}

void VekObjText::copyAttributesTo(VekObject &copy) const
{
    VekObject::copyAttributesTo(copy);
    auto &text = static_cast<VekObjText &>(copy);
    text.setContents(_contents.text());
    text.setGroupWithNext(_grpWithNxt);
    text.setTCPadding(_tcPadding);
    text.setHyphenFactor(_hyphenFactor);
}
