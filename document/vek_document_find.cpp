// Find in the document: find panel actions go to the canvas's text editor, and a search
// that runs out of matches moves on to the next text box in the stacking order.
#include "document/vek_document.h"
#include "model/services/canvas_services.h"
#include "model/text/text_finder.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"

#include <algorithm>

namespace {

VekTextView *textEditorOf(CanvasServices &view)
{
    return dynamic_cast<VekTextView *>(view.editorView());
}

} // namespace

void VekDocument::performFindPanelAction(int action)
{
    CanvasServices *view = vekView();
    if (!view)
        return;
    if (VekTextView *editor = textEditorOf(*view)) {
        editor->performFindPanelAction(action);
        return;
    }
    if (action != FindPanelShow)
        return;
    const auto &list = objects();
    const auto first = std::find_if(list.begin(), list.end(),
                                    [](const auto &o) { return std::dynamic_pointer_cast<VekObjText>(o) != nullptr; });
    if (first == list.end())
        return;
    (*first)->editing()->startEditingWithEvent(MouseEvent{}, view);
    if (VekTextView *editor = textEditorOf(*view))
        editor->performFindPanelAction(action);
}

void VekDocument::continueFindAfter(const VekObject &textObject, int senderTag)
{
    CanvasServices *view = vekView();
    const auto &list = objects();
    if (!view || list.size() < 2)
        return;
    const auto at = std::find_if(list.begin(), list.end(), [&](const auto &o) { return o.get() == &textObject; });
    if (at == list.end())
        return;
    const bool backwards = senderTag == FindPanelPrevious;
    std::shared_ptr<VekObjText> next;
    if (backwards) {
        for (auto it = at; it != list.begin() && !next;)
            next = std::dynamic_pointer_cast<VekObjText>(*--it);
    } else {
        for (auto it = at + 1; it != list.end() && !next; ++it)
            next = std::dynamic_pointer_cast<VekObjText>(*it);
    }
    if (!next)
        return;
    view->endEditing();
    view->selectObjectExclusively(next);
    next->startEditingWithEvent(MouseEvent{}, view);
    VekTextView *editor = textEditorOf(*view);
    if (!editor || view->editingObject() != next)
        return;
    // A backward search starts before the last character, a forward one at the start.
    const int length = next->contents().length();
    editor->setSelectedRange({backwards && length > 0 ? length - 1 : 0, 0});
    if (!intersectsRect(next->bounds(), view->visibleRect()))
        view->scrollRectToVisible(next->bounds());
    editor->performFindPanelAction(senderTag);
}
