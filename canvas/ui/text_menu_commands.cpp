// The canvas's text commands: which text they reach, their validation and what they run.
#include "canvas/ui/text_menu_commands.h"

#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/text/text_finder.h"
#include "model/text/text_style_commands.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "panels/document_dialogs.h"
#include "platform/foundation/localized_strings.h"
#include "platform/text/text_storage.h"

#include <functional>
#include <map>
#include <optional>

namespace {

using S = TextStyleCommand;

TextStyleRequest requestFor(S command, const QString &family = {}, float size = 0,
                            TextAlignment alignment = TextAlignment::Left)
{
    TextStyleRequest request;
    request.command = command;
    request.family = family;
    request.size = size;
    request.alignment = alignment;
    return request;
}

// The styling actions and the request each makes of its menu item (the family comes with
// the item's title, the size and the alignment with its tag).
const std::map<QString, std::function<TextStyleRequest(const ActionSender &)>> &styleActions()
{
    auto plain = [](S command) { return [command](const ActionSender &) { return requestFor(command); }; };
    static const std::map<QString, std::function<TextStyleRequest(const ActionSender &)>> actions = {
        {"setFontFamily", [](const ActionSender &s) { return requestFor(S::FontFamily, s.title); }},
        {"setFontSize", [](const ActionSender &s) { return requestFor(S::FontSize, {}, float(s.tag)); }},
        {"setTextAlignment", [](const ActionSender &s) {
             return requestFor(S::Alignment, {}, 0, TextAlignment(s.tag));
         }},
        {"setBold", plain(S::Bold)},
        {"setItalic", plain(S::Italic)},
        {"setUnderline", plain(S::Underline)},
        {"makeFontBigger", plain(S::Bigger)},
        {"makeFontSmaller", plain(S::Smaller)},
        {"raisebaselineByHalf", plain(S::Superscript)},
        {"lowerBaselineByHalf", plain(S::Subscript)},
        {"raiseBaseline", plain(S::RaiseBaseline)},
        {"lowerBaseline", plain(S::LowerBaseline)},
        {"unscript", plain(S::DefaultBaseline)},
    };
    return actions;
}

const QString FindAction = QStringLiteral("performFindPanelAction");
const QString JumpToSelectionAction = QStringLiteral("centerSelectionInVisibleArea");
const QString SetAnchorAction = QStringLiteral("setAnchor");
const QString SetLinkAction = QStringLiteral("setLink");

// The editor of the text box edited on the canvas, else null.
VekTextView *textEditor(const VekView &view)
{
    auto *editor = dynamic_cast<VekTextView *>(view.editorView());
    return editor && editor->textObject() && editor->textStorage() ? editor : nullptr;
}

bool hasSelectedText(const VekTextView *editor)
{
    return editor && !intersectionRange(editor->selectedRange(), {0, editor->textStorage()->length()}).isEmpty();
}

// The selected text boxes, when nothing is edited.
std::vector<std::shared_ptr<VekObjText>> selectedTextBoxes(const VekView &view)
{
    std::vector<std::shared_ptr<VekObjText>> boxes;
    if (view.editingObject())
        return boxes;
    for (const auto &object : view.selectedObjects())
        if (auto box = std::dynamic_pointer_cast<VekObjText>(object))
            boxes.push_back(box);
    return boxes;
}

void nameUndoStep(VekView &view, const QString &name)
{
    view.document().undoManager()->setActionName(name);
}

bool validateStyle(VekView &view, const TextStyleRequest &request, ActionSender &sender)
{
    std::optional<TextAttributes> reference;
    if (VekTextView *editor = textEditor(view)) {
        reference = referenceAttributesInEditor(*editor);
    } else {
        const auto boxes = selectedTextBoxes(view);
        if (!boxes.empty())
            reference = referenceAttributesOfText(*boxes.front());
    }
    if (!reference)
        return false;
    sender.state = commandStateIsOn(request, *reference) ? 1 : 0;
    return true;
}

bool performStyle(VekView &view, const TextStyleRequest &request)
{
    bool changed = false;
    if (VekTextView *editor = textEditor(view)) {
        changed = applyTextStyleInEditor(*editor->textObject(), *editor, request);
    } else {
        for (const auto &box : selectedTextBoxes(view))
            changed = applyTextStyleToWholeText(*box, request) || changed;
    }
    if (changed)
        nameUndoStep(view, undoActionName(request.command));
    return changed;
}

void scrollSelectionIntoView(VekView &view)
{
    if (VekTextView *editor = textEditor(view))
        view.scrollRectToVisible(editor->selectionBounds());
}

bool validateFind(VekView &view, int action)
{
    switch (action) {
    case FindPanelShow:
        return true;
    case FindPanelSetFindString:
        return hasSelectedText(textEditor(view));
    default:
        return textEditor(view) != nullptr;
    }
}

// The anchor of the current object (of the edited selection for a text box) is named in
// the anchor panel; a name without the leading "#" gets one, an empty one removes it.
bool setAnchor(VekView &view)
{
    std::shared_ptr<VekObject> object = view.editingObject();
    if (!object)
        object = view.currentObject();
    if (!object)
        return false;
    const QString current = object->anchorName();
    const std::optional<QString> answer =
        documentDialogs().runAnchorPanel(view.window(), current.isEmpty() ? QStringLiteral("#") : current);
    if (!answer)
        return false;
    QString name = *answer;
    if (!name.isEmpty() && !name.startsWith(u'#'))
        name.prepend(u'#');
    object->setAnchorName(name);
    nameUndoStep(view, localizedString(QStringLiteral("Set Anchor")));
    return true;
}

// The edited selection becomes a link to the destination given in the link panel (to one
// of the document's anchors, or any address); an empty destination removes the link.
bool setLink(VekView &view)
{
    VekTextView *editor = textEditor(view);
    if (!hasSelectedText(editor))
        return false;
    VekObjText &box = *editor->textObject();
    const TextRange selection = editor->selectedRange();
    const QString selected = editor->textStorage()->string().mid(selection.location, selection.length);
    const std::optional<QString> destination = documentDialogs().runLinkPanel(
        view.window(), selected, box.linkDestination(editor), view.document().anchorNames());
    // The panel is modal: the editor may have gone meanwhile.
    if (!destination || textEditor(view) != editor)
        return false;
    box.markSelectionAsLink(*editor, *destination);
    nameUndoStep(view, localizedString(QStringLiteral("Set Link")));
    return true;
}

} // namespace

bool respondsToTextAction(const QString &action)
{
    return styleActions().count(action) > 0 || action == FindAction || action == JumpToSelectionAction
           || action == SetAnchorAction || action == SetLinkAction;
}

bool validateTextAction(VekView &view, const QString &action, ActionSender &sender)
{
    if (const auto it = styleActions().find(action); it != styleActions().end())
        return validateStyle(view, it->second(sender), sender);
    if (action == FindAction)
        return validateFind(view, sender.tag);
    if (action == JumpToSelectionAction)
        return textEditor(view) != nullptr;
    if (action == SetAnchorAction)
        return view.editingObject() || view.currentObject();
    if (action == SetLinkAction)
        return hasSelectedText(textEditor(view));
    return false;
}

bool performTextAction(VekView &view, const QString &action, const ActionSender &sender)
{
    if (const auto it = styleActions().find(action); it != styleActions().end())
        return performStyle(view, it->second(sender));
    if (action == FindAction) {
        view.document().performFindPanelAction(sender.tag);
        // The search may have moved on into another box: the editor is asked afresh.
        scrollSelectionIntoView(view);
        return true;
    }
    if (action == JumpToSelectionAction) {
        scrollSelectionIntoView(view);
        return true;
    }
    if (action == SetAnchorAction)
        return setAnchor(view);
    if (action == SetLinkAction)
        return setLink(view);
    return false;
}
