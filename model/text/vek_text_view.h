// VekTextView: the field editor laid over a text box while it is edited in place.
//
// It shares the box's text store, so that typing changes the box's text directly; its own
// layout manager (one plain container of 1e6 x 1e6 points, the box's padding and
// hyphenation) lays the store out for the insertion point, the selection and drawing.
// Edits register their inverses in the document's undo manager; rich copy and paste go
// through a TextClipboard (RTF, RTFD and plain text).
#pragma once

#include "model/text/text_view.h"
#include "model/text/vek_layout_manager.h"
#include "platform/text/layout_manager.h"
#include "platform/text/text_container.h"

#include <QByteArray>
#include <QHash>

#include <functional>
#include <memory>

class DocumentServices;
class TextStorage;
class VekObjText;

// The clipboard as the editor uses it: data by MIME type.
class TextClipboard {
public:
    virtual ~TextClipboard() = default;
    virtual void setData(const QHash<QString, QByteArray> &data) = 0;
    virtual QByteArray data(const QString &mimeType) const = 0;
    // The application's clipboard (QGuiApplication's).
    static TextClipboard &system();
};

inline const QString RTFMimeType = QStringLiteral("text/rtf");
inline const QString RTFDMimeType = QStringLiteral("application/x-vekanto-rtfd");
inline const QString PlainTextMimeType = QStringLiteral("text/plain");

class VekTextView : public TextView {
public:
    VekTextView(DocumentServices *document, VekObjText *textObject);
    ~VekTextView() override;

    // Re-targets the editor at a box (the shared editor serves one box after the other).
    void updateSender(DocumentServices *document, VekObjText *textObject);
    VekObjText *textObject() const { return m_textObject; }
    DocumentServices *document() const { return m_document; }

    // Attaches the editor's layout to a store (the edited box's), or detaches it (null).
    void setTextStorage(TextStorage *storage);
    TextStorage *textStorage() const { return m_storage; }
    VekLayoutManager &layoutManager() { return m_layout; }
    TextContainer &textContainer() { return m_container; }

    TextRange selectedRange() const { return m_selection; }
    // Cut to the text; reports the change to the box.
    void setSelectedRange(TextRange range);
    const TextAttributes &typingAttributes() const { return m_typingAttributes; }
    void setTypingAttributes(const TextAttributes &attributes);
    // The text being composed by an input method, shown at the insertion point.
    const QString &markedText() const { return m_markedText; }

    bool resizesHorizontally() const { return m_resizesHorizontally; }
    void setResizesHorizontally(bool flag) { m_resizesHorizontally = flag; }
    void setClipboard(TextClipboard *clipboard) { m_clipboard = clipboard; }

    // Replaces the selection with the text (in the typing attributes), undoably.
    void insertText(const QString &text);
    void insertAttributedText(const AttributedString &text);
    // Replaces the selection with plain text in the attributes of its first character.
    void replaceSelectedCharacters(const QString &text);
    void deleteBackward();
    void deleteForward();
    void selectAll();
    void copy();
    void cut();
    void paste();

    // Runs a find panel action (FindPanelAction, text_finder.h) in this text; when the
    // application continues searches in other text boxes and the action found nothing new
    // (the selection kept its length and did not move in the search's direction), the
    // document carries the search on into the next text box.
    void performFindPanelAction(int action);

    // The editor's baseline actions: the selection's baseline offset becomes half the cap
    // height of its font, up or down, undoably; nothing without a selection.
    void raisebaselineByHalf();
    void lowerBaselineByHalf();

    // Follows a "#" link to its anchor; other links go to the shell. Answers whether the
    // link was handled here.
    bool clickedOnLink(const QString &link, int characterIndex);

    void drawInContext(GraphicsContext &context, float zoom) override;
    bool keyDown(const KeyInput &key) override;
    void inputMethodEvent(const InputMethodInput &input) override;
    void mouseDown(Point point, unsigned modifierFlags, int clickCount) override;
    void mouseDragged(Point point) override;
    void mouseUp(Point point) override;

    // The insertion point in canvas coordinates (the zero rectangle with a selection).
    Rect insertionPointRect();
    // What the selection covers (the insertion point when it is empty) in canvas
    // coordinates, for scrolling it into view.
    Rect selectionBounds();
    // The character index at a point in canvas coordinates.
    int characterIndexAtPoint(Point point);

private:
    // Replaces characters with undo, keeps the typing attributes and tells the box.
    void replaceCharacters(TextRange range, const AttributedString &text);
    void shiftBaselineByHalf(bool raise);
    void moveInsertionPoint(int index, bool extend);
    // The insertion point moved by the user's hand: what is typed next is a new undo step.
    void breakTyping();
    // The word (clickCount 2) or sentence (3) around a character index.
    TextRange unitRangeAt(int index, int clickCount) const;
    int lineStart(int index);
    int lineEnd(int index);
    int verticalNeighbour(int index, int direction);
    Point toContainer(Point canvasPoint) const;

    DocumentServices *m_document = nullptr;
    VekObjText *m_textObject = nullptr;
    TextStorage *m_storage = nullptr;
    VekLayoutManager m_layout;
    TextContainer m_container{Size{1.0e6f, 1.0e6f}};
    TextRange m_selection;
    int m_selectionAnchor = 0;
    // What the last click selects by (1 characters, 2 words, 3 sentences) and the unit it
    // selected, from which a drag extends.
    int m_clickUnit = 1;
    TextRange m_clickedUnit;
    TextAttributes m_typingAttributes;
    QString m_markedText;
    bool m_resizesHorizontally = false;
    bool m_followedLink = false;   // the last mouse-down followed a link; its drag selects nothing
    bool m_typing = false;         // the edit under way comes from typed keys
    TextClipboard *m_clipboard = nullptr;
};
