// The field editor: editing the shared text store, the insertion point and selection,
// input methods, undo, the clipboard and drawing.
#include "model/text/vek_text_view.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/services/shell_services.h"
#include "model/text/text_finder.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/modifier_flags.h"
#include "platform/foundation/undo_manager.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/rtf.h"
#include "platform/text/text_storage.h"
#include "toolkit/text_extensions.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

class SystemClipboard : public TextClipboard {
public:
    void setData(const QHash<QString, QByteArray> &data) override
    {
        auto *mime = new QMimeData;
        for (auto it = data.begin(); it != data.end(); ++it)
            mime->setData(it.key(), it.value());
        QGuiApplication::clipboard()->setMimeData(mime);
    }
    QByteArray data(const QString &mimeType) const override
    {
        const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
        return mime ? mime->data(mimeType) : QByteArray();
    }
};


} // namespace

TextClipboard &TextClipboard::system()
{
    static SystemClipboard clipboard;
    return clipboard;
}

KeyInput KeyInput::fromQKeyEvent(const QKeyEvent &event)
{
    return {event.key(), modifierFlagsFromQt(event.modifiers()), event.text()};
}

InputMethodInput InputMethodInput::fromQInputMethodEvent(const QInputMethodEvent &event)
{
    return {event.commitString(), event.preeditString(), event.replacementStart(), event.replacementLength()};
}

VekTextView::VekTextView(DocumentServices *document, VekObjText *textObject)
    : m_document(document), m_textObject(textObject)
{
    m_layout.addTextContainer(&m_container);
}

VekTextView::~VekTextView()
{
    m_layout.setTextStorage(nullptr);
    m_layout.removeTextContainer(&m_container);
}

void VekTextView::updateSender(DocumentServices *document, VekObjText *textObject)
{
    m_document = document;
    m_textObject = textObject;
}

void VekTextView::setTextStorage(TextStorage *storage)
{
    m_storage = storage;
    m_layout.setTextStorage(storage);
    m_selection = {0, 0};
    m_selectionAnchor = 0;
    m_markedText.clear();
    if (storage && storage->length() > 0)
        m_typingAttributes = storage->text().attributesAt(0);
    m_layout.setTypingAttributes(m_typingAttributes);
}

void VekTextView::setSelectedRange(TextRange range)
{
    const int length = m_storage ? m_storage->length() : 0;
    const int start = std::clamp(range.location, 0, length);
    m_selection = {start, std::clamp(range.length, 0, length - start)};
    if (m_storage && length > 0) {
        // Typing continues in the attributes of the character before the insertion point.
        const int from = m_selection.location > 0 && m_selection.isEmpty() ? m_selection.location - 1
                                                                           : std::min(m_selection.location, length - 1);
        m_typingAttributes = m_storage->text().attributesAt(from);
        m_typingAttributes.link.reset();
        m_typingAttributes.anchor.reset();
    }
    if (m_textObject)
        m_textObject->textViewDidChangeSelection();
}

void VekTextView::setTypingAttributes(const TextAttributes &attributes)
{
    m_typingAttributes = attributes;
    m_layout.setTypingAttributes(attributes);
}

void VekTextView::replaceCharacters(TextRange range, const AttributedString &text)
{
    if (!m_storage)
        return;
    // What the user puts in is the user's own: a "-" typed after (or over) a hyphen the
    // flow of linked boxes added must not be taken away with it.
    AttributedString typed = text;
    if (!typed.isEmpty())
        typed.modifyAttributes({0, typed.length()}, [](TextAttributes &a) { a.insertedHyphen = false; });
    // The box registers the undo, so that it outlives this editor.
    if (m_textObject)
        m_textObject->replaceCharactersUndoably(range, typed);
    else
        m_storage->replaceCharacters(range, typed);
    m_selection = {range.location + text.length(), 0};
    m_selectionAnchor = m_selection.location;
    if (m_textObject) {
        m_textObject->textDidChange();
        if (m_typing)
            m_textObject->noteTyping();
    }
}

void VekTextView::breakTyping()
{
    if (UndoManager *undo = m_document ? m_document->undoManager() : nullptr)
        undo->breakCoalescing();
}

void VekTextView::raisebaselineByHalf()
{
    shiftBaselineByHalf(true);
}

void VekTextView::lowerBaselineByHalf()
{
    shiftBaselineByHalf(false);
}

void VekTextView::shiftBaselineByHalf(bool raise)
{
    if (!m_storage || m_selection.isEmpty())
        return;
    const TextRange range = intersectionRange(m_selection, {0, m_storage->length()});
    if (range.isEmpty())
        return;
    replaceCharacters(range, withBaselineByHalf(m_storage->text().substring(range), raise));
    setSelectedRange(range);
}

void VekTextView::insertText(const QString &text)
{
    insertAttributedText(AttributedString(text, m_typingAttributes));
}

void VekTextView::insertAttributedText(const AttributedString &text)
{
    replaceCharacters(m_selection, text);
}

void VekTextView::replaceSelectedCharacters(const QString &text)
{
    if (!m_storage)
        return;
    const TextRange range = intersectionRange(m_selection, {0, m_storage->length()});
    const TextAttributes attributes =
        range.isEmpty() ? m_typingAttributes : m_storage->text().attributesAt(range.location);
    replaceCharacters(range, AttributedString(text, attributes));
}

void VekTextView::performFindPanelAction(int action)
{
    breakTyping();
    const TextRange before = m_selection;
    TextFinder::shared().performAction(*this, action);
    const TextRange after = m_selection;
    if (!m_document || !m_textObject || !shellServices().continueFindInOthers() || after.length != before.length)
        return;
    const bool forward = action == FindPanelNext || action == FindPanelReplaceAndFind;
    const bool stuck = (forward && after.location <= before.location)
                       || (action == FindPanelPrevious && after.location >= before.location);
    // The document may re-target this editor at another box: nothing here is used after.
    if (stuck)
        m_document->continueFindAfter(*m_textObject, action);
}

void VekTextView::deleteBackward()
{
    if (!m_selection.isEmpty())
        replaceCharacters(m_selection, AttributedString());
    else if (m_selection.location > 0) {
        int from = m_selection.location - 1;
        if (from > 0 && m_storage->string()[from].isLowSurrogate())
            --from;
        replaceCharacters({from, m_selection.location - from}, AttributedString());
    }
}

void VekTextView::deleteForward()
{
    if (!m_selection.isEmpty())
        replaceCharacters(m_selection, AttributedString());
    else if (m_storage && m_selection.location < m_storage->length()) {
        int to = m_selection.location + 1;
        if (to < m_storage->length() && m_storage->string()[to].isLowSurrogate())
            ++to;
        replaceCharacters({m_selection.location, to - m_selection.location}, AttributedString());
    }
}

void VekTextView::selectAll()
{
    breakTyping();
    m_selectionAnchor = 0;
    setSelectedRange({0, m_storage ? m_storage->length() : 0});
}

void VekTextView::copy()
{
    if (!m_storage || m_selection.isEmpty())
        return;
    TextClipboard &clipboard = m_clipboard ? *m_clipboard : TextClipboard::system();
    const AttributedString &text = m_storage->text();
    clipboard.setData({{RTFMimeType, RTFFromRange(text, m_selection)},
                       {RTFDMimeType, RTFDFromRange(text, m_selection)},
                       {PlainTextMimeType, text.string().mid(m_selection.location, m_selection.length).toUtf8()}});
}

void VekTextView::cut()
{
    copy();
    if (!m_selection.isEmpty())
        replaceCharacters(m_selection, AttributedString());
}

void VekTextView::paste()
{
    TextClipboard &clipboard = m_clipboard ? *m_clipboard : TextClipboard::system();
    // The richest form first: RTFD keeps attachments, RTF the styles, plain text only characters.
    if (const QByteArray rtfd = clipboard.data(RTFDMimeType); !rtfd.isEmpty()) {
        if (auto text = attributedStringWithRTFD(rtfd)) {
            insertAttributedText(*text);
            return;
        }
    }
    if (const QByteArray rtf = clipboard.data(RTFMimeType); !rtf.isEmpty()) {
        if (auto text = attributedStringWithRTF(rtf)) {
            insertAttributedText(*text);
            return;
        }
    }
    if (const QByteArray plain = clipboard.data(PlainTextMimeType); !plain.isEmpty())
        insertText(QString::fromUtf8(plain));
}

bool VekTextView::clickedOnLink(const QString &link, int)
{
    if (!link.startsWith(u'#') || !m_document || !m_textObject)
        return false;
    const Rect target = m_document->anchorInView(link);
    if (intersectsRect(target, m_textObject->bounds())) {
        const TextRange range = m_textObject->rangeOfAnchor(link);
        if (!range.isEmpty())
            setSelectedRange(range);
        return true;
    }
    if (CanvasServices *view = m_document->vekView(); view && !target.isEmpty())
        view->scrollRectToVisible(target);
    return true;
}

Point VekTextView::toContainer(Point canvasPoint) const
{
    return {canvasPoint.x - frame().minX(), canvasPoint.y - frame().minY()};
}

int VekTextView::characterIndexAtPoint(Point point)
{
    return m_layout.characterIndexForInsertionAtPoint(toContainer(point), &m_container);
}

Rect VekTextView::insertionPointRect()
{
    if (!m_selection.isEmpty())
        return Rect();
    Rect r = m_layout.insertionPointRectForCharacterIndex(m_selection.location);
    r.origin.x += frame().minX();
    r.origin.y += frame().minY();
    return r;
}

Rect VekTextView::selectionBounds()
{
    if (m_selection.isEmpty())
        return insertionPointRect();
    Rect bounds;
    for (const Rect &r : m_layout.selectionRectsForCharacterRange(m_selection, &m_container))
        bounds = bounds.isEmpty() ? r : unionRect(bounds, r);
    bounds.origin.x += frame().minX();
    bounds.origin.y += frame().minY();
    return bounds;
}

void VekTextView::moveInsertionPoint(int index, bool extend)
{
    breakTyping();
    const int length = m_storage ? m_storage->length() : 0;
    index = std::clamp(index, 0, length);
    if (!extend)
        m_selectionAnchor = index;
    setSelectedRange({std::min(index, m_selectionAnchor), std::abs(index - m_selectionAnchor)});
}

int VekTextView::lineStart(int index)
{
    TextRange line;
    m_layout.lineFragmentRectForGlyphAtIndex(std::min(index, std::max(m_storage->length() - 1, 0)), &line);
    return line.location;
}

int VekTextView::lineEnd(int index)
{
    TextRange line;
    m_layout.lineFragmentRectForGlyphAtIndex(std::min(index, std::max(m_storage->length() - 1, 0)), &line);
    int end = line.end();
    if (end > line.location && end <= m_storage->length() && isParagraphSeparator(m_storage->string()[end - 1]))
        --end;
    return end;
}

int VekTextView::verticalNeighbour(int index, int direction)
{
    const Rect caret = m_layout.insertionPointRectForCharacterIndex(index);
    if (caret.isEmpty() && caret.origin == Point{})
        return index;
    const float y = direction < 0 ? caret.minY() - 1 : caret.maxY() + 1;
    if (y < 0)
        return 0;
    const int found = m_layout.characterIndexForInsertionAtPoint({caret.minX(), y}, &m_container);
    return found == index && direction > 0 ? m_storage->length() : found;
}

bool VekTextView::keyDown(const KeyInput &key)
{
    if (!m_storage)
        return false;
    const bool extend = key.modifierFlags & ShiftKeyMask;
    const bool command = key.modifierFlags & CommandKeyMask;
    const int caret = m_selection.location == m_selectionAnchor ? m_selection.end() : m_selection.location;
    switch (key.key) {
    case Qt::Key_Left:
        moveInsertionPoint(!extend && !m_selection.isEmpty() ? m_selection.location : caret - 1, extend);
        return true;
    case Qt::Key_Right:
        moveInsertionPoint(!extend && !m_selection.isEmpty() ? m_selection.end() : caret + 1, extend);
        return true;
    case Qt::Key_Up:
        moveInsertionPoint(verticalNeighbour(caret, -1), extend);
        return true;
    case Qt::Key_Down:
        moveInsertionPoint(verticalNeighbour(caret, 1), extend);
        return true;
    case Qt::Key_Home:
        moveInsertionPoint(lineStart(caret), extend);
        return true;
    case Qt::Key_End:
        moveInsertionPoint(lineEnd(caret), extend);
        return true;
    default:
        break;
    }
    // Typed keys: a run of them is one undo step.
    const QScopedValueRollback<bool> typing(m_typing, true);
    switch (key.key) {
    case Qt::Key_Backspace:
        deleteBackward();
        return true;
    case Qt::Key_Delete:
        deleteForward();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        insertText(QStringLiteral("\n"));
        return true;
    case Qt::Key_Tab:
        insertText(QStringLiteral("\t"));
        return true;
    default:
        break;
    }
    if (command) {
        const QScopedValueRollback<bool> notTyping(m_typing, false);
        switch (key.key) {
        case Qt::Key_A: selectAll(); return true;
        case Qt::Key_C: copy(); return true;
        case Qt::Key_X: cut(); return true;
        case Qt::Key_V: paste(); return true;
        default: return false;
        }
    }
    // Printable text only: control characters come as the keys above.
    QString text = key.text;
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    if (text.isEmpty())
        return false;
    insertText(text);
    return true;
}

void VekTextView::inputMethodEvent(const InputMethodInput &input)
{
    if (!m_storage)
        return;
    if (!input.commitString.isEmpty() || input.replacementLength > 0) {
        if (input.replacementLength > 0 && m_selection.isEmpty()) {
            const int start = std::clamp(m_selection.location + input.replacementStart, 0, m_storage->length());
            const int end = std::clamp(start + input.replacementLength, start, m_storage->length());
            m_selection = {start, end - start};
        }
        const QScopedValueRollback<bool> typing(m_typing, true);
        insertText(input.commitString);
    }
    m_markedText = input.preeditString;
}

TextRange VekTextView::unitRangeAt(int index, int clickCount) const
{
    const QString &s = m_storage->string();
    const auto kind = clickCount == 2 ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Sentence;
    QTextBoundaryFinder finder(kind, s);
    finder.setPosition(std::min<qsizetype>(index, s.size()));
    const int start = finder.isAtBoundary() && index < s.size() ? index : int(finder.toPreviousBoundary());
    finder.setPosition(std::min<qsizetype>(index, s.size()));
    const int end = int(finder.toNextBoundary());
    return {std::max(start, 0), std::max(0, (end < 0 ? int(s.size()) : end) - std::max(start, 0))};
}

void VekTextView::mouseDown(Point point, unsigned modifierFlags, int clickCount)
{
    breakTyping();
    m_followedLink = false;
    if (!m_storage)
        return;
    const int index = characterIndexAtPoint(point);
    m_clickUnit = 1;
    if (clickCount >= 2 && m_storage->length() > 0) {
        m_clickUnit = clickCount;
        m_clickedUnit = unitRangeAt(index, clickCount);
        m_selectionAnchor = m_clickedUnit.location;
        setSelectedRange(m_clickedUnit);
        return;
    }
    // A click on a link follows it.
    if (!(modifierFlags & ShiftKeyMask) && index < m_storage->length()) {
        if (const auto &link = m_storage->text().attributesAt(index).link; link && clickedOnLink(*link, index)) {
            m_followedLink = true;
            return;
        }
    }
    moveInsertionPoint(index, modifierFlags & ShiftKeyMask);
}

void VekTextView::mouseDragged(Point point)
{
    // The click followed a link: what it selected or scrolled to stays.
    if (m_followedLink)
        return;
    const int index = characterIndexAtPoint(point);
    if (m_clickUnit < 2 || !m_storage) {
        moveInsertionPoint(index, true);
        return;
    }
    // After a double or triple click the selection grows by whole words or sentences
    // from the one clicked, and the button going up keeps it.
    const TextRange unit = unitRangeAt(index, m_clickUnit);
    const int start = std::min(unit.location, m_clickedUnit.location);
    setSelectedRange({start, std::max(unit.end(), m_clickedUnit.end()) - start});
}

void VekTextView::mouseUp(Point point)
{
    mouseDragged(point);
}

void VekTextView::drawInContext(GraphicsContext &context, float zoom)
{
    if (!m_storage)
        return;
    GraphicsStateSaver saver(context);
    const Point origin = frame().origin;
    if (!m_selection.isEmpty()) {
        context.setFillColor(Color::colorWithCalibratedRed(0.7f, 0.8f, 1.0f));
        for (Rect r : m_layout.selectionRectsForCharacterRange(m_selection, &m_container)) {
            r.origin.x += origin.x;
            r.origin.y += origin.y;
            context.fillRect(r);
        }
    }
    if (m_storage->length() > 0)
        m_layout.drawGlyphsForGlyphRange({0, m_storage->length()}, origin);
    Rect caret = insertionPointRect();
    if (!caret.isEmpty()) {
        // One device pixel wide at any zoom.
        caret.size.width = zoom > 0 ? 1.0f / zoom : 1.0f;
        context.setFillColor(Color::colorWithCalibratedWhite(0));
        context.fillRect(caret);
        if (!m_markedText.isEmpty()) {
            // The composed text stands underlined at the insertion point.
            TextAttributes marked = m_typingAttributes;
            marked.underlineStyle = 1;
            LayoutManager preedit;
            TextContainer container;
            container.setLineFragmentPadding(0);
            preedit.addTextContainer(&container);
            preedit.setAttributedString(AttributedString(m_markedText, marked));
            preedit.drawGlyphsForGlyphRange({0, int(m_markedText.size())}, caret.origin);
        }
    }
}
