// The text ruler's paragraph edits on an edited text box.
#include "model/text/paragraph_ruler_edits.h"

#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/undo_manager.h"
#include "platform/text/text_storage.h"

#include <algorithm>

namespace {

void insertTab(QList<TextTab> &tabs, const TextTab &tab)
{
    tabs.removeIf([&](const TextTab &t) { return t.location == tab.location; });
    const auto at = std::find_if(tabs.begin(), tabs.end(), [&](const TextTab &t) { return t.location > tab.location; });
    tabs.insert(at, tab);
}

// The paragraphs the selection touches; empty when it lies in an empty last paragraph.
TextRange touchedParagraphs(const VekTextView &editor)
{
    const TextStorage *storage = editor.textStorage();
    if (!storage || storage->length() == 0)
        return {};
    const TextRange selection = intersectionRange(editor.selectedRange(), {0, storage->length()});
    return storage->text().paragraphRange(selection);
}

} // namespace

void applyParagraphEdit(ParagraphStyle &style, const ParagraphEdit &edit)
{
    switch (edit.kind) {
    case ParagraphEdit::Kind::Alignment:
        style.alignment = edit.alignment;
        break;
    case ParagraphEdit::Kind::AddTab:
        insertTab(style.tabStops, edit.tab);
        break;
    case ParagraphEdit::Kind::MoveTab:
        if (style.tabStops.removeOne(edit.tab))
            insertTab(style.tabStops, TextTab{edit.tab.type, edit.value});
        break;
    case ParagraphEdit::Kind::RemoveTab:
        style.tabStops.removeOne(edit.tab);
        break;
    case ParagraphEdit::Kind::FirstLineIndent:
        style.firstLineHeadIndent = std::max(edit.value, 0.0f);
        break;
    case ParagraphEdit::Kind::HeadIndent:
        style.headIndent = std::max(edit.value, 0.0f);
        break;
    case ParagraphEdit::Kind::TailIndent:
        style.tailIndent = edit.value;
        break;
    case ParagraphEdit::Kind::LineHeight:
        style.lineHeightMultiple = edit.value == 1.0f ? 0 : std::max(edit.value, 0.0f);
        style.lineSpacing = 0;
        style.minimumLineHeight = 0;
        style.maximumLineHeight = 0;
        break;
    }
}

ParagraphStyle rulerParagraphStyle(const VekTextView &editor)
{
    const TextRange paragraphs = touchedParagraphs(editor);
    const TextAttributes &attributes =
        paragraphs.isEmpty() ? editor.typingAttributes() : editor.textStorage()->text().attributesAt(paragraphs.location);
    return attributes.paragraphStyle.value_or(ParagraphStyle{});
}

std::optional<float> simpleLineHeightMultiple(const ParagraphStyle &style)
{
    if (style.lineSpacing != 0 || style.minimumLineHeight != 0 || style.maximumLineHeight != 0)
        return std::nullopt;
    return style.lineHeightMultiple > 0 ? style.lineHeightMultiple : 1.0f;
}

bool applyParagraphEditInEditor(VekObjText &box, VekTextView &editor, const ParagraphEdit &edit)
{
    TextStorage *storage = editor.textStorage();
    if (!storage)
        return false;
    const auto change = [&edit](TextAttributes &a) {
        ParagraphStyle style = a.paragraphStyle.value_or(ParagraphStyle{});
        applyParagraphEdit(style, edit);
        a.paragraphStyle = style;
    };
    const TextRange paragraphs = touchedParagraphs(editor);
    if (paragraphs.isEmpty()) {
        // Nothing to restyle yet: what is typed next takes the style.
        TextAttributes typing = editor.typingAttributes();
        change(typing);
        editor.setTypingAttributes(typing);
        return false;
    }
    const AttributedString before = storage->text();
    box.restyleRange(paragraphs, change);
    if (storage->text() == before)
        return false;
    if (UndoManager *undo = box.undoManager())
        undo->setActionName(undoActionName(edit.kind));
    // Wider indents may need a taller box (which flows a chain on).
    box.textDidChange();
    return true;
}

QString undoActionName(ParagraphEdit::Kind kind)
{
    const char *name = "";
    switch (kind) {
    case ParagraphEdit::Kind::Alignment: name = "Set Alignment"; break;
    case ParagraphEdit::Kind::AddTab: name = "Add Tab Stop"; break;
    case ParagraphEdit::Kind::MoveTab: name = "Move Tab Stop"; break;
    case ParagraphEdit::Kind::RemoveTab: name = "Remove Tab Stop"; break;
    case ParagraphEdit::Kind::FirstLineIndent:
    case ParagraphEdit::Kind::HeadIndent:
    case ParagraphEdit::Kind::TailIndent: name = "Set Indent"; break;
    case ParagraphEdit::Kind::LineHeight: name = "Set Line Spacing"; break;
    }
    return localizedString(QString::fromLatin1(name));
}
