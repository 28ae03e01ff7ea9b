// In-place editing of a text box: the shared field editor (a private one while the shared
// one is busy), growing the box while typing and the end of editing.
#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/undo_manager.h"
#include "platform/text/layout_manager.h"

#include <memory>
#include <utility>

namespace {

struct SharedEditor {
    std::unique_ptr<VekTextView> editor;
    bool inUse = false;
};

SharedEditor &sharedEditor()
{
    static SharedEditor shared;
    return shared;
}

// The editors made while the shared one was busy, owned until their editing ends.
std::vector<std::unique_ptr<VekTextView>> &privateEditors()
{
    static std::vector<std::unique_ptr<VekTextView>> editors;
    return editors;
}

} // namespace

std::optional<TextRange> VekObjText::editedSelection() const
{
    if (!_editor)
        return std::nullopt;
    return intersectionRange(_editor->selectedRange(), {0, _contents.length()});
}

void VekObjText::startEditingWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!view || _editor)
        return;
    const Size maximum = maxSize();
    _boundsBeforEditing = _bounds;
    Rect frame = _bounds;
    // A box shown on another page through repetition is edited where it was clicked.
    if (!intersectsRect(_bounds, view->visibleRect()) && isClickEvent(event)) {
        const int page = view->pageIncludingPoint(view->convertPointFromWindow(event.locationInWindow));
        frame.origin.y += float(page - 1) * view->rectForPage(page).height();
    }
    SharedEditor &shared = sharedEditor();
    if (!shared.inUse) {
        if (!shared.editor)
            shared.editor = std::make_unique<VekTextView>(_document, this);
        shared.inUse = true;
        shared.editor->updateSender(_document, this);
        _editor = shared.editor.get();
    } else {
        privateEditors().push_back(std::make_unique<VekTextView>(_document, this));
        _editor = privateEditors().back().get();
    }
    const bool dragged = _bounds.width() > minSize().width + 1.0f;
    _editor->textContainer().setContainerSize(dragged ? Size{_bounds.width(), std::max(maximum.height, 1.0e6f)}
                                                      : Size{1.0e6f, 1.0e6f});
    _editor->setResizesHorizontally(!dragged);
    _editor->setFrame(frame);
    _editingBounds = frame;
    _editor->textContainer().setLineFragmentPadding(_tcPadding);
    _editor->layoutManager().setHyphenationFactor(_hyphenFactor);
    _editor->layoutManager().setShowsInvisibleCharacters(view->showInvisibleChars());
    _editor->setTextStorage(&_contents);
    view->setEditingObject(shared_from_this(), _editor);
    // A new box's single space is selected, so that the first keystroke replaces it.
    if (_contents.string() == QStringLiteral(" "))
        _editor->setSelectedRange({0, 1});
    else
        _editor->setSelectedRange({0, 0});
    didChange();
    if (frame != _bounds)
        view->setNeedsDisplayInRect(insetRect(frame, -3, -3));
    if (isClickEvent(event))
        editWithEvent(event, view);
}

void VekObjText::editWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!_editor || !view)
        return;
    _editor->mouseDown(view->convertPointFromWindow(event.locationInWindow), event.modifierFlags, event.clickCount);
    // The drag extends the selection until the button goes up.
    for (MouseEvent next = event; next.type != EventType::LeftMouseUp;) {
        next = view->eventSource().nextEvent(DragOrUpMask);
        const Point p = view->convertPointFromWindow(next.locationInWindow);
        view->autoscroll(next);
        if (next.type == EventType::LeftMouseUp)
            _editor->mouseUp(p);
        else
            _editor->mouseDragged(p);
        view->setNeedsDisplayInRect(_editor->frame());
    }
}

bool VekObjText::keyDownWhileEditing(QChar character, unsigned modifierFlags, CanvasServices *)
{
    if (!_editor)
        return false;
    return _editor->keyDown(KeyInput{0, modifierFlags, QString(character)});
}

bool VekObjText::deleteWhileEditing(CanvasServices *)
{
    if (!_editor)
        return false;
    _editor->deleteBackward();
    return true;
}

bool VekObjText::copyWhileEditing(CanvasServices *)
{
    if (!_editor)
        return false;
    _editor->copy();
    return true;
}

bool VekObjText::pasteWhileEditing(CanvasServices *)
{
    if (!_editor)
        return false;
    _editor->paste();
    return true;
}

void VekObjText::textDidChange()
{
    if (!_editor)
        return;
    const float limit = _editor->resizesHorizontally() ? 1.0e6f : _bounds.width();
    const Size need = requiredSize(limit, _bounds.origin);
    if (need.width > _bounds.width() || need.height > _bounds.height()) {
        const float width = _editor->resizesHorizontally() ? std::max(need.width, _bounds.width()) : _bounds.width();
        setBounds(Rect(_bounds.origin, {width, std::max(need.height, _bounds.height())}));
    }
    CanvasServices *view = vekView();
    const Rect before = _editingBounds;
    _editingBounds.size = _bounds.size;
    if (_editingBounds != before) {
        _editor->setFrame(_editingBounds);
        if (view) {
            view->setNeedsDisplayInRect(insetRect(_editingBounds, -3, -3));
            const int pageBefore = view->pageOfLocation({before.minX(), before.maxY()});
            const int pageAfter = view->pageOfLocation({_editingBounds.minX(), _editingBounds.maxY()});
            if (pageAfter > pageBefore && pageAfter > view->numberOfPages() && _document)
                _document->addLastPage();
        }
    }
    updateMyFonts(_editor->selectedRange());
    cleanupLocalCache();
    // The word count follows the typing, so that the document's statistics stay current.
    const int words = _contents.length() > 0 ? ::wordCount(_contents.string()) : 0;
    if (words != wordCount()) {
        setWordCount(words);
        if (_document)
            postNotification(VekObjectWordcountDidChangeNotification);
    }
}

void VekObjText::noteTyping()
{
    if (UndoManager *undo = undoManager()) {
        undo->coalesceWith(this);
        undo->setActionName(localizedString(QStringLiteral("Typing")));
    }
}

void VekObjText::replaceCharactersUndoably(TextRange range, const AttributedString &text)
{
    range = intersectionRange(range, {0, _contents.length()});
    const AttributedString old = _contents.text().substring(range);
    const TextRange inserted{range.location, text.length()};
    registerUndo([inserted, old](VekObject &object) {
        auto &box = static_cast<VekObjText &>(object);
        box.replaceCharactersUndoably(inserted, old);
        if (box._editor)
            box._editor->setSelectedRange({inserted.location, old.length()});
    });
    _contents.replaceCharacters(range, text);
    if (_editor)
        _editor->setSelectedRange({range.location + text.length(), 0});
}

void VekObjText::textViewDidChangeSelection()
{
    if (const auto selection = editedSelection(); selection && !selection->isEmpty())
        updateMyFonts(*selection);
}

void VekObjText::updateMyFonts(TextRange range)
{
    if (!_document || range.isEmpty() || range.location >= _contents.length())
        return;
    const TextAttributes &a = _contents.text().attributesAt(range.location);
    if (a.font) {
        _document->updateMyFontWith(a.font->name);
        _document->updateMySizeWith(a.font->size);
    }
    if (a.foregroundColor)
        _document->updateMyColorWith(*a.foregroundColor);
}

void VekObjText::giveEditorBack()
{
    VekTextView *editor = std::exchange(_editor, nullptr);
    if (!editor)
        return;
    editor->setTextStorage(nullptr);
    editor->updateSender(nullptr, nullptr);
    SharedEditor &shared = sharedEditor();
    if (editor == shared.editor.get()) {
        shared.inUse = false;
    } else {
        auto &editors = privateEditors();
        editors.erase(std::remove_if(editors.begin(), editors.end(), [&](const auto &e) { return e.get() == editor; }),
                      editors.end());
    }
}

void VekObjText::stopEditingOnDestruction()
{
    if (!_editor)
        return;
    if (CanvasServices *view = vekView(); view && view->editorView() == _editor)
        view->setEditingObject(nullptr, nullptr);
    giveEditorBack();
}

void VekObjText::endEditingInView(CanvasServices *view)
{
    if (!view || view->editingObject().get() != this || !_editor)
        return;
    if (UndoManager *undo = undoManager())
        undo->breakCoalescing();
    view->disableTextRulerAccessory();
    view->setEditingObject(nullptr, nullptr);
    _editingBounds = Rect();
    giveEditorBack();
    // A linked box returns to its size from before editing; the text that no longer fits
    // flows on into the next box. A box of a chain that kept its size (text was deleted,
    // not added) flows all the same, so that the chain takes the following text back.
    const bool linked = connectedTextObject() != nullptr;
    if (linked && !_boundsBeforEditing.isEmpty() && _bounds != _boundsBeforEditing)
        setBounds(_boundsBeforEditing);
    else if (linked || preceedingConnectedTextObject())
        reflow();
    _boundsBeforEditing = Rect();
    cleanupLocalCache();
    setWordCount(_contents.length() > 0 ? ::wordCount(_contents.string()) : 0);
    if (!_isLoadingPropertyList && _document)
        postNotification(VekObjectWordcountDidChangeNotification);
    didChange();
}
