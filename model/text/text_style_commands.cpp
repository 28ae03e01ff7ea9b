// The Format menu's text commands on an edited selection or on a box's whole text.
#include "model/text/text_style_commands.h"

#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/localized_strings.h"
#include "platform/text/font_registry.h"
#include "platform/text/text_storage.h"
#include "toolkit/text_extensions.h"

#include <algorithm>
#include <functional>

namespace {

using AttributeChange = std::function<void(TextAttributes &)>;

// The size steps of Bigger and Smaller, and the smallest size Smaller goes to.
constexpr float SizeStep = 1.0f;
constexpr float SmallestSize = 1.0f;
// The step of Raise and Lower, in points.
constexpr float BaselineStep = 1.0f;

// A run without a font is drawn in the label font at 12 points.
Font fontOfRun(const TextAttributes &a)
{
    return a.font.value_or(labelFont(12));
}

bool isBold(const TextAttributes &a)
{
    return fontTraits(fontOfRun(a).name).value_or(FontTraits{}).bold;
}

bool isUnderlined(const TextAttributes &a)
{
    return a.underlineStyle.value_or(0) != 0;
}

TextAlignment alignmentOf(const TextAttributes &a)
{
    const TextAlignment alignment = a.paragraphStyle ? a.paragraphStyle->alignment : TextAlignment::Natural;
    // Left-to-right text: the natural alignment is the left one.
    return alignment == TextAlignment::Natural ? TextAlignment::Left : alignment;
}

AttributeChange shiftingBaseline(float delta)
{
    return [delta](TextAttributes &a) {
        const float offset = a.baselineOffset.value_or(0) + delta;
        if (offset == 0)
            a.baselineOffset.reset();
        else
            a.baselineOffset = offset;
    };
}

AttributeChange resizingBy(float delta)
{
    return [delta](TextAttributes &a) {
        const Font font = fontOfRun(a);
        a.font = Font{font.name, std::max(SmallestSize, font.size + delta)};
    };
}

// The change a command makes to each run; toggles decide from the reference once, so
// that a mixed selection ends up all on or all off.
AttributeChange runChange(const TextStyleRequest &request, const TextAttributes &reference)
{
    switch (request.command) {
    case TextStyleCommand::Bold: {
        const bool bold = !isBold(reference);
        return [bold](TextAttributes &a) {
            const Font font = fontOfRun(a);
            const bool italic = fontTraits(font.name).value_or(FontTraits{}).italic;
            const QString name = fontNameWithTraits(font.name, bold, italic);
            if (name != font.name)
                a.font = Font{name, font.size};
        };
    }
    case TextStyleCommand::Underline: {
        const bool underline = !isUnderlined(reference);
        return [underline](TextAttributes &a) {
            if (underline)
                a.underlineStyle = 1;
            else
                a.underlineStyle.reset();
        };
    }
    case TextStyleCommand::Italic:
        return toggleItalicOfRun;
    case TextStyleCommand::Bigger:
        return resizingBy(SizeStep);
    case TextStyleCommand::Smaller:
        return resizingBy(-SizeStep);
    case TextStyleCommand::Alignment:
        return [alignment = request.alignment](TextAttributes &a) {
            ParagraphStyle style = a.paragraphStyle.value_or(ParagraphStyle{});
            style.alignment = alignment;
            a.paragraphStyle = style;
        };
    case TextStyleCommand::RaiseBaseline:
        return shiftingBaseline(BaselineStep);
    case TextStyleCommand::LowerBaseline:
        return shiftingBaseline(-BaselineStep);
    case TextStyleCommand::DefaultBaseline:
        return [](TextAttributes &a) { a.baselineOffset.reset(); };
    case TextStyleCommand::FontFamily:
    case TextStyleCommand::FontSize:
    case TextStyleCommand::Superscript:
    case TextStyleCommand::Subscript:
        break;   // carried out by the box's and the editor's own operations
    }
    return [](TextAttributes &) {};
}

void changeTypingAttributes(VekTextView &editor, const AttributeChange &change)
{
    TextAttributes typing = editor.typingAttributes();
    change(typing);
    editor.setTypingAttributes(typing);
}

} // namespace

TextAttributes referenceAttributesInEditor(const VekTextView &editor)
{
    const TextStorage *storage = editor.textStorage();
    const TextRange selection = editor.selectedRange();
    if (storage && !selection.isEmpty() && selection.location < storage->length())
        return storage->text().attributesAt(selection.location);
    return editor.typingAttributes();
}

TextAttributes referenceAttributesOfText(const VekObjText &box)
{
    return box.contents().length() > 0 ? box.contents().text().attributesAt(0) : TextAttributes{};
}

bool commandStateIsOn(const TextStyleRequest &request, const TextAttributes &reference)
{
    switch (request.command) {
    case TextStyleCommand::Bold:
        return isBold(reference);
    case TextStyleCommand::Italic:
        return fontTraits(fontOfRun(reference).name).value_or(FontTraits{}).italic
               || reference.obliqueness.value_or(0) != 0;
    case TextStyleCommand::Underline:
        return isUnderlined(reference);
    case TextStyleCommand::Alignment:
        return alignmentOf(reference) == request.alignment;
    case TextStyleCommand::FontFamily:
        return fontFamilyName(fontOfRun(reference).name).compare(request.family, Qt::CaseInsensitive) == 0;
    case TextStyleCommand::FontSize:
        return fontOfRun(reference).size == request.size;
    default:
        return false;
    }
}

bool applyTextStyleInEditor(VekObjText &box, VekTextView &editor, const TextStyleRequest &request)
{
    TextStorage *storage = editor.textStorage();
    if (!storage)
        return false;
    const AttributedString before = storage->text();
    const TextRange selection = intersectionRange(editor.selectedRange(), {0, storage->length()});
    switch (request.command) {
    case TextStyleCommand::FontFamily:
        box.setFontNameEditorRange(request.family, editor, selection);
        break;
    case TextStyleCommand::FontSize:
        box.setFontSize(request.size, editor, selection);
        break;
    case TextStyleCommand::Superscript:
        editor.raisebaselineByHalf();
        break;
    case TextStyleCommand::Subscript:
        editor.lowerBaselineByHalf();
        break;
    case TextStyleCommand::Alignment:
        // Alignment belongs to whole paragraphs, also the one holding the insertion point.
        if (before.length() > 0)
            box.restyleRange(before.paragraphRange(selection), runChange(request, {}));
        else
            changeTypingAttributes(editor, runChange(request, {}));
        break;
    case TextStyleCommand::Italic:
        if (selection.isEmpty())
            changeTypingAttributes(editor, toggleItalicOfRun);
        else
            box.updateItalic(selection, editor);
        break;
    default: {
        const AttributeChange change = runChange(request, referenceAttributesInEditor(editor));
        if (selection.isEmpty())
            changeTypingAttributes(editor, change);
        else
            box.restyleRange(selection, change);
        break;
    }
    }
    if (storage->text() == before)
        return false;
    // Larger characters may need a larger box.
    box.textDidChange();
    return true;
}

bool applyTextStyleToWholeText(VekObjText &box, const TextStyleRequest &request)
{
    if (box.contents().length() == 0)
        return false;
    const AttributedString before = box.contents().text();
    switch (request.command) {
    case TextStyleCommand::FontFamily:
        box.setFontNameSize(request.family, 0);
        break;
    case TextStyleCommand::FontSize:
        box.setFontNameSize(QString(), request.size);
        break;
    case TextStyleCommand::Superscript:
    case TextStyleCommand::Subscript:
        box.setContents(withBaselineByHalf(before, request.command == TextStyleCommand::Superscript));
        break;
    default:
        box.restyleWholeText(runChange(request, referenceAttributesOfText(box)));
        break;
    }
    return box.contents().text() != before;
}

QString undoActionName(TextStyleCommand command)
{
    const char *name = "";
    switch (command) {
    case TextStyleCommand::FontFamily: name = "Set Font"; break;
    case TextStyleCommand::FontSize: name = "Set Font Size"; break;
    case TextStyleCommand::Bold: name = "Bold"; break;
    case TextStyleCommand::Italic: name = "Italic"; break;
    case TextStyleCommand::Underline: name = "Underline"; break;
    case TextStyleCommand::Bigger: name = "Bigger"; break;
    case TextStyleCommand::Smaller: name = "Smaller"; break;
    case TextStyleCommand::Alignment: name = "Set Alignment"; break;
    case TextStyleCommand::Superscript: name = "Superscript"; break;
    case TextStyleCommand::Subscript: name = "Subscript"; break;
    case TextStyleCommand::RaiseBaseline: name = "Raise Baseline"; break;
    case TextStyleCommand::LowerBaseline: name = "Lower Baseline"; break;
    case TextStyleCommand::DefaultBaseline: name = "Use Default Baseline"; break;
    }
    return localizedString(QString::fromLatin1(name));
}
