// VekObjText: the rich-text box among the drawing objects.
//
// Its text is a TextStorage that flows inside the bounds, inside or around the clip shape
// of the path object directly behind it, around exclusive objects on the page and, when
// the box is linked (groupWithNext), on into the next text box behind it. The store object
// is never exchanged: every change replaces its characters, so an editor attached to it
// stays attached.
//
// The members are spread over files by job: the model, setters and caches
// (vek_obj_text.cpp), the dictionary form (vek_obj_text_dictionary.cpp), measuring and the
// shared layout (vek_obj_text_layout.cpp), drawing (vek_obj_text_drawing.cpp), linked boxes
// (vek_obj_text_links.cpp), anchors and links (vek_obj_text_anchors.cpp), in-place
// editing (vek_obj_text_editing.cpp) and styling with the run table
// (vek_obj_text_styling.cpp).
#pragma once

#include "model/object_editing.h"
#include "model/vek_object.h"
#include "platform/foundation/notification_center.h"
#include "platform/geometry/affine_transform.h"
#include "platform/image/image.h"
#include "platform/text/layout_manager.h"
#include "platform/text/text_storage.h"

#include <functional>
#include <optional>
#include <set>

class ChainText;
class VekTextView;

class VekObjText : public VekObject, public ObjectEditing {
public:
    explicit VekObjText(Passkey key);
    ~VekObjText() override;
    // A box holding one space in the default font, no shadow, no simple clip, note "T".
    static std::shared_ptr<VekObjText> create();

    QString className() const override { return QStringLiteral("VekObjText"); }
    bool drawsStroke() const override { return false; }
    bool canDrawStroke() const override { return false; }
    bool canTransform() const override { return true; }
    bool canGoToObjMatrix() const override { return false; }
    bool hasEditablePath() const override { return false; }
    bool hasNaturalSize() const override { return true; }
    bool isEditable() const override { return true; }

    static constexpr Size minSize() { return {10, 10}; }
    // The canvas's size (all pages); the zero size without a canvas.
    Size maxSize() const;

    TextStorage &contents() { return _contents; }
    const TextStorage &contents() const { return _contents; }
    float tcPadding() const { return _tcPadding; }
    float hyphenFactor() const { return _hyphenFactor; }
    Rect editingBounds() const { return _editingBounds; }

    // Undoable; equal values do nothing.
    void setTCPadding(float padding);
    void setHyphenFactor(float factor);
    // Replaces the characters (undoably unless the object is loading), sets the word count
    // and calls didChange.
    void setContents(const AttributedString &text);
    void setRotation(float degrees, Point center, bool update) override;
    void setSimpleClip(bool flag) override;
    // Both re-flow linked text.
    void setGroupWithNext(bool flag) override;
    // At least minSize; re-flows linked text when the rectangle really changed.
    void setBounds(const Rect &bounds) override;
    void clipDidChange() override;

    // The exclusive objects layouts cut lines around since one of them last changed. Drawing
    // threads lay the box out at the same time and add what they found, under the drawing
    // cache lock.
    std::set<const VekObject *> floatingObjects() const;
    void noteFloatingObjects(const std::set<const VekObject *> &objects);

    // The text-information rows (font name, size, text, first index) of the runs; absent
    // for an empty text. Cached until cleanupLocalCache.
    PropertyList textInfo();
    void cleanupLocalCache();

    // ---- Sizes (vek_obj_text_layout.cpp) ----

    // The size the text needs within the width limit for a box at origin: at least
    // minSize, 1 point wider than the text, and 2 points higher for each page boundary the
    // box crosses.
    Size requiredSize(float widthLimit, Point origin);
    Size originalSize() const override;
    void setToNaturalSize() override;
    // The knob stops where the box would become narrower or lower than minSize.
    int resizeByMovingKnob(int knob, Point p) override;

    // ---- Drawing (vek_obj_text_drawing.cpp) ----

    // Flips, then rotation (above 0), then skew; none when nothing applies. Applied about
    // the centre of the drawn rectangle.
    std::optional<AffineTransform> currentTransform() const;
    Rect drawingBounds() const override;
    // Drawing bounds and bounds, on the visible repeated page, grown so a rotation stays inside.
    Rect boundsToRedraw() const override;
    // The box as drawn (turned when it is): its fill and glyphs lie within it. Neither the
    // room drawingBounds() keeps around the box nor the shadow counts, so that vector output
    // puts the box's text (clipped, but found by search and extraction) on no page the box
    // itself does not meet; a shadow reaching onto such a page is cut at its edge there.
    Rect paintedBounds() const override;
    void drawInViewIsSelected(CanvasServices *view, bool selected) override;
    void drawInViewInRect(CanvasServices *view, const Rect &rect) override;
    // The text laid out alone in a plain container of the drawing bounds' size (the
    // inspector's preview), its first line moved down by its largest leading; none for an
    // empty text or one of which nothing fits.
    std::optional<Image> currentTextImage() const;
    // The text as the box lays it out, for writers that place text themselves: one piece per
    // line and attribute run, with the start of its baseline in canvas coordinates (a turn
    // or skew of the box left aside). Only the characters that fit into the box.
    std::vector<PlacedText> placedText();

    // ---- Linked boxes (vek_obj_text_links.cpp) ----

    // The first text box behind this one when it is linked, else null.
    std::shared_ptr<VekObjText> connectedTextObject() const;
    // The linked text box in front of this one whose text flows into it, else null.
    std::shared_ptr<VekObjText> preceedingConnectedTextObject() const;
    // Flows the chain this box belongs to again (see reflow).
    void controlConnection();

    // ---- Anchors and links (vek_obj_text_anchors.cpp) ----

    // An anchor or a link spans all the characters that carry it in a row, whatever their
    // styles. The queries change nothing.
    //
    // Anchor name to the text of its rectangle on the canvas (of the name's first place);
    // absent for an empty text.
    PropertyList anchorInfo();
    // One entry per link: [URL, rectangle text, the link's characters].
    PropertyList linkInfo();
    // Anchor name to the text of its range; absent without anchors.
    PropertyList anchorInfoToSave() const;
    void setSavedAnchorInfo(const PropertyList &info);
    // The range of the name's first place, or {NotFound, 0}.
    TextRange rangeOfAnchor(const QString &name) const;
    // The anchor at the edited selection; null when not edited here or the selection is empty.
    QString anchorName() const override;
    // Sets the object's anchor name and anchors the edited selection (or the first
    // character); the name leaves any other place of the text.
    void setAnchorName(const QString &name) override;
    // Links the editor's selection to the URL, or unlinks it (empty or one character).
    void markSelectionAsLink(VekTextView &editor, const QString &url);
    // The link at the start of the editor's selection, or "".
    QString linkDestination(const VekTextView *editor) const;

    // ---- In-place editing (vek_obj_text_editing.cpp) ----

    ObjectEditing *editing() override { return this; }
    void startEditingWithEvent(const MouseEvent &event, CanvasServices *view) override;
    void editWithEvent(const MouseEvent &event, CanvasServices *view) override;
    bool keyDownWhileEditing(QChar character, unsigned modifierFlags, CanvasServices *view) override;
    bool deleteWhileEditing(CanvasServices *view) override;
    bool copyWhileEditing(CanvasServices *view) override;
    bool pasteWhileEditing(CanvasServices *view) override;
    void endEditingInView(CanvasServices *view) override;
    // The editor of this object while it is edited, else null.
    VekTextView *editor() const { return _editor; }
    // The editor changed the text: grows the box (and the document by a page when the box
    // grows past the last one), reports the fonts, cleans the caches.
    void textDidChange();
    // The edit just made was typed: it joins the run of typing before it in one undo step
    // "Typing" (the editor, the canvas and the end of editing break the run).
    void noteTyping();
    // Replaces characters of the text with undo (the inverse puts the old characters back
    // and, while the box is edited, selects them); the editor's edits go through here.
    void replaceCharactersUndoably(TextRange range, const AttributedString &text);
    // The editor's selection changed: reports font, size and colour of a non-empty selection.
    void textViewDidChangeSelection();

    // ---- Styling (vek_obj_text_styling.cpp) ----
    //
    // The setters act on the edited selection while this box is edited (undone with the
    // editor's edits), on the whole text (one undo step) while it is selected and no object
    // is edited, and do nothing otherwise or for an empty text.

    // The text colour: of the selection's first character while edited (else of the last
    // character, else the typing colour), else of the first character; in CMYK while the
    // document uses CMYK; the inherited colour when the text has none.
    Color strokeColor() const override;
    // The outline width (percent of the font size) at the selection or the first character.
    float lineWidth() const override;
    // 0 removes the outline width.
    void setObjLineWidth(float width) override;
    // A transparent or absent colour removes the outline colour.
    void setOutlineColor(const std::optional<Color> &color);
    // Sets the text colour; a transparent colour applies to an edited selection only.
    void setObjStrokeColor(const std::optional<Color> &color) override;
    // The toolbar's font commands on the editor's range: each run takes the family (with
    // its own traits; runs whose face the family lacks keep their font) or the size. An
    // empty range changes the typing attributes instead.
    void setFontNameEditorRange(const QString &family, VekTextView &editor, TextRange range);
    void setFontSize(float size, VekTextView &editor, TextRange range);
    // Italic on and off per run: the italic face of the family, or a slant of 0.3 for
    // a family without one.
    void updateItalic(TextRange range, VekTextView &editor);
    // The inspector's proportional scaling: font sizes times factor (at least 3 points), the
    // box resized in proportion, one undo step.
    void scaleContentsBy(float factor);
    // Inserts the text at the edited insertion point (the start when not edited) in the
    // attributes found there, undoably.
    void insertDateString(const QString &string);

    // The inspector's run table: one row per run of the text information; the columns
    // "tcTxtFName", "tcTxtFSz" and "tcTxtStr" show the font name, size and text.
    int numberOfRowsInTableView();
    PropertyList tableViewObjectValueForTableColumnRow(const QString &column, int row);
    // Selecting a row edits this box (ending any other editing) with the row's run selected.
    bool tableViewShouldSelectRow(int row);

    // Changes the attributes of a range undoably, keeping the editor's selection (the
    // Format menu's commands on an edited selection).
    void restyleRange(TextRange range, const std::function<void(TextAttributes &)> &change);
    // Changes the attributes of the whole text as one undo step.
    void restyleWholeText(const std::function<void(TextAttributes &)> &change);

protected:
    // The whole text in another family (empty: each run's own) and size (0 or less: each
    // run's own), as one replacement.
    bool applyFontNameSize(const QString &family, float size) override;
    void writePropertyListKeys(PropertyList &dict) const override;
    void readPropertyListKeys(const PropertyList &dict) override;
    void copyAttributesTo(VekObject &copy) const override;

private:
    enum class StyleScope { None, Selection, WholeText };
    StyleScope styleScope() const;
    // The selection while edited, else (when wholeTextToo) the whole text while selected.
    void restyle(const std::function<void(TextAttributes &)> &change, bool wholeTextToo = true);
    // Gives each run of the range the font change answers (none: the run keeps its own).
    void changeFontsInRange(VekTextView &editor, TextRange range,
                            const std::function<std::optional<Font>(const Font &)> &change);
    // Detaches the editor from this box and returns it: the shared one becomes free, a
    // private one is deleted.
    void giveEditorBack();
    // A box destroyed while edited: the canvas stops hosting its editor, which must not
    // keep pointing at the box's text.
    void stopEditingOnDestruction();
    // Replaces the characters without undo or word count (the editor's own edits).
    void replaceContentsSilently(const AttributedString &text);
    // The room or the text of this box changed: flows its chain again from the box before
    // it (from this box while it is edited), each box taking what fits and the last one the
    // rest, until the boxes behind begin as they did. Each replaced text is an undo registration of its box. Nothing while
    // undoing or redoing: the step replays the replacements itself.
    void reflow();
    // This box's chain to its last box, from the box that flows into this one when asked
    // and there is one, else from this box; one box when there is nothing to flow into.
    std::vector<std::shared_ptr<VekObjText>> chainToFlow(bool fromPredecessor) const;
    // How many of the chain's characters from start fit into this box; expected (what the
    // box before took) guides the first guess of how much to lay out.
    int charactersThatFit(const ChainText &text, int start, int expected);
    // Takes the text a flow gives this box (undoably), keeping the editor's selection inside it.
    void takeFlowedText(const AttributedString &text);
    // Other objects' bounds changed (those for which `changed` answers true): redraw when the
    // text was cut around one, re-flow when one is the clip shape behind.
    void checkRelevantObjects(const std::function<bool(const VekObject *)> &changed);
    // The path object directly behind when it clips.
    bool objectBehindClips() const;
    // Sets the anchor name and the text as one undoable change.
    void setAnchorState(const QString &name, const AttributedString &text);
    // Reports the font, size and colour at a character to the document's recent lists.
    void updateMyFonts(TextRange range);
    // The selection while this object is edited (cut to the text), else none.
    std::optional<TextRange> editedSelection() const;

    TextStorage _contents;
    int _contentsObserver = 0;
    NotificationCenter::ObserverToken _boundsObserver = 0;
    NotificationCenter::ObserverToken _batchObserver = 0;
    PropertyList _txtInfoArray;
    std::set<const VekObject *> _floatingObjects;
    PropertyList _anchorInfo;
    Rect _editingBounds;
    Rect _boundsBeforEditing;
    float _tcPadding = 5.0f;
    float _hyphenFactor = 0.0f;
    VekTextView *_editor = nullptr;
    bool _replacingContents = false;
};
