// Text boxes: the model and its dictionary form, measuring, the container's line shapes,
// linked boxes, anchors, and in-place editing through the field editor.
#include "model/text/vek_text_view.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "model/vek_obj_text_layout.h"
#include "platform/foundation/modifier_flags.h"
#include "platform/text/rtf.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

TextAttributes body(float size = 12)
{
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSans"), size};
    return a;
}

QString words(int count)
{
    static const QStringList pool{QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma"),
                                  QStringLiteral("delta"), QStringLiteral("epsilon")};
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << pool[i % pool.size()];
    return out.join(u' ');
}

std::shared_ptr<VekObjText> box(FakeDocument &document, const Rect &bounds, const QString &text = {})
{
    ensureGuiApp();
    auto object = VekObjText::create();
    document.adopt(object);
    object->setBounds(bounds);
    if (!text.isNull())
        object->setContents(AttributedString(text, body()));
    return object;
}

QString chainText(const std::vector<std::shared_ptr<VekObjText>> &boxes)
{
    QString all;
    for (const auto &b : boxes)
        all += b->contents().string();
    return all;
}

class RecordingClipboard : public TextClipboard {
public:
    QHash<QString, QByteArray> stored;
    void setData(const QHash<QString, QByteArray> &data) override { stored = data; }
    QByteArray data(const QString &mimeType) const override { return stored.value(mimeType); }
};

} // namespace

TEST(VekObjText, NewBoxHoldsOneSpaceAndKeepsItsMinimumSize)
{
    ensureGuiApp();
    auto text = VekObjText::create();
    EXPECT_EQ(text->contents().string(), QStringLiteral(" "));
    EXPECT_EQ(text->wordCount(), 0);
    EXPECT_EQ(text->note(), QStringLiteral("T"));
    EXPECT_TRUE(text->noShadow());
    const PropertyList dict = text->propertyListRepresentation();
    EXPECT_EQ(dict.value(QStringLiteral("tcPadding")).stringValue(), QStringLiteral("5.0"));
    EXPECT_EQ(dict.value(QStringLiteral("hyphenFactor")).stringValue(), QStringLiteral("0.0"));
    text->setBounds(Rect(5, 5, 3, 200));
    EXPECT_EQ(text->bounds(), Rect(5, 5, 10, 200));
    // A knob drag stops at the minimum width.
    text->setBounds(Rect(0, 0, 100, 100));
    text->resizeByMovingKnob(5, {2, 50});
    EXPECT_FLOAT_EQ(text->bounds().width(), 10);
}

TEST(VekObjText, DictionaryPrefersTheRunsAndReadsRTFDAlone)
{
    ensureGuiApp();
    FakeDocument document;
    auto text = box(document, Rect(10, 10, 200, 100), QStringLiteral("Go to the anchor"));
    TextAttributes anchor;
    anchor.anchor = QStringLiteral("#here");
    text->contents().addAttributes(anchor, {10, 6});
    text->setTCPadding(3);
    PropertyList dict = text->propertyListRepresentation();
    ASSERT_TRUE(dict.contains(QStringLiteral("attruns")));
    ASSERT_TRUE(dict.contains(QStringLiteral("text")));
    EXPECT_EQ(dict.value(QStringLiteral("anchors")).value(QStringLiteral("#here")).stringValue(),
              QStringLiteral("{10, 6}"));

    // Both keys: the runs win.
    PropertyList both = dict;
    both.insert(QStringLiteral("text"),
                PropertyList::fromData(RTFDFromRange(AttributedString(QStringLiteral("other"), body()), {0, 5})));
    auto back = std::static_pointer_cast<VekObjText>(VekObject::objectWithPropertyListRepresentation(both));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->contents().string(), QStringLiteral("Go to the anchor"));
    EXPECT_EQ(back->rangeOfAnchor(QStringLiteral("#here")), (TextRange{10, 6}));
    EXPECT_FLOAT_EQ(back->tcPadding(), 3);
    EXPECT_EQ(back->wordCount(), 4);

    // The RTFD copy alone.
    PropertyList rtfdOnly = dict;
    rtfdOnly.remove(QStringLiteral("attruns"));
    back = std::static_pointer_cast<VekObjText>(VekObject::objectWithPropertyListRepresentation(rtfdOnly));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->contents().string(), QStringLiteral("Go to the anchor"));

    // Damaged runs fall back on the RTFD copy; hostile numbers are refused.
    PropertyList damaged = dict;
    damaged.insert(QStringLiteral("attruns"), PropertyList::fromData(QByteArray("garbage")));
    damaged.insert(QStringLiteral("tcPadding"), PropertyList::fromString(QStringLiteral("1e30")));
    back = std::static_pointer_cast<VekObjText>(VekObject::objectWithPropertyListRepresentation(damaged));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->contents().string(), QStringLiteral("Go to the anchor"));
    EXPECT_FLOAT_EQ(back->tcPadding(), 0);
    // A box saved empty comes back empty, not with the new box's space.
    text->setContents(AttributedString());
    back = std::static_pointer_cast<VekObjText>(
        VekObject::objectWithPropertyListRepresentation(text->propertyListRepresentation()));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->contents().length(), 0);
    // Without any readable copy the box keeps its one space.
    damaged.remove(QStringLiteral("text"));
    back = std::static_pointer_cast<VekObjText>(VekObject::objectWithPropertyListRepresentation(damaged));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->contents().string(), QStringLiteral(" "));
}

TEST(VekObjText, RequiredSizeAddsTwoPointsPerPageBoundary)
{
    FakeDocument document;
    document.canvas.pages = 3;
    auto text = box(document, Rect(10, 400, 200, 20), words(1) + QStringLiteral("\n").repeated(100));
    document.window = false;   // measured without a canvas: no page allowance
    const Size plain = text->requiredSize(200, {10, 400});
    document.window = true;
    ASSERT_GT(400 + plain.height, 1600);
    ASSERT_LT(400 + plain.height, 2390);
    // From the middle of page 1 into page 3: two boundaries, 2 points each, besides the
    // lines that moved below the boundaries (each less than a line high).
    const float extra = text->requiredSize(200, {10, 400}).height - plain.height;
    EXPECT_GE(extra, 4);
    EXPECT_LT(extra, 4 + 2 * 15);
    // A short text that ends on page 1 gets nothing.
    text->setContents(AttributedString(words(2), body()));
    document.window = false;
    const Size shortPlain = text->requiredSize(200, {10, 100});
    document.window = true;
    EXPECT_FLOAT_EQ(text->requiredSize(200, {10, 100}).height, shortPlain.height);
}

TEST(VekObjText, DestroyingATextBoxDropsTheSharedLayout)
{
    FakeDocument document;
    auto text = box(document, Rect(0, 0, 100, 50), QStringLiteral("measure me"));
    text->requiredSize(100, {0, 0});
    EXPECT_TRUE(sharedTextLayoutExists());
    {
        auto other = VekObjText::create();
    }
    EXPECT_FALSE(sharedTextLayoutExists());
    text->requiredSize(100, {0, 0});
    EXPECT_TRUE(sharedTextLayoutExists());
}

TEST(VekTextContainer, ExclusiveObjectsAndClipShapesShapeTheLines)
{
    FakeDocument document;
    auto text = box(document, Rect(0, 0, 300, 200), words(60));
    // An exclusive object in the middle of the first lines splits them in two.
    auto block = VekObject::create();
    block->setBounds(Rect(120, 0, 40, 30));
    block->setExclusive(true);
    document.adopt(block);
    {
        TextBoxLayout layout(*text, text->contents().text(), text->bounds().size);
        const auto &fragments = layout.layoutManager().lineFragments();
        ASSERT_GE(fragments.size(), 2u);
        EXPECT_LE(fragments[0].rect.maxX(), 120 - 2);
        EXPECT_GE(fragments[1].rect.minX(), 160 + 2);
        EXPECT_FLOAT_EQ(fragments[1].rect.minY(), fragments[0].rect.minY());
    }
    EXPECT_EQ(text->floatingObjects().count(block.get()), 1u);

    // A circle behind the box with clip type 1: lines near its top are narrower than in its middle.
    document.list.pop_back();
    block->setDocument(nullptr, false);
    auto circle = VekObjPath::create();
    circle->setBezierPath(BezierPath::bezierPathWithOvalInRect(Rect(0, 0, 300, 200)));
    circle->setClipType(1);
    document.adopt(circle);
    TextBoxLayout layout(*text, text->contents().text(), text->bounds().size);
    const auto &fragments = layout.layoutManager().lineFragments();
    ASSERT_GE(fragments.size(), 5u);
    const float top = fragments[0].rect.width();
    const float middle = fragments[fragments.size() / 2].rect.width();
    EXPECT_LT(top, middle);
    EXPECT_LT(middle, 300);
}

TEST(VekTextContainer, AnObjectWithinTheIndentLeavesNoRoomOnTheLeft)
{
    FakeDocument document;
    auto text = box(document, Rect(0, 0, 300, 200));
    TextAttributes indented = body();
    ParagraphStyle style;
    style.firstLineHeadIndent = 40;
    indented.paragraphStyle = style;
    text->setContents(AttributedString(words(30), indented));
    auto block = VekObject::create();
    block->setBounds(Rect(30, 0, 30, 20));
    block->setExclusive(true);
    document.adopt(block);
    TextBoxLayout layout(*text, text->contents().text(), text->bounds().size);
    const LineFragment &first = layout.layoutManager().lineFragments().front();
    // The line starts right of the object, never under it.
    EXPECT_GE(first.rect.minX(), 60 + 2);
    EXPECT_GE(first.usedRect.minX(), 60);
}

TEST(VekTextContainer, LinesNeverStraddleAPageBoundary)
{
    FakeDocument document;
    document.canvas.pages = 2;
    auto text = box(document, Rect(0, 700, 300, 300), words(200));
    TextBoxLayout layout(*text, text->contents().text(), text->bounds().size);
    for (const LineFragment &f : layout.layoutManager().lineFragments()) {
        const float top = 700 + f.rect.minY(), bottom = 700 + f.rect.maxY();
        EXPECT_FALSE(top < 800 && bottom > 800) << top << " " << bottom;
    }
}

TEST(VekObjText, LinkedBoxesFlowTextOnAndPullItBack)
{
    FakeDocument document;
    auto first = box(document, Rect(0, 0, 200, 300));
    auto between = VekObjPath::create();   // an unrelated shape between the two boxes
    document.adopt(between);
    auto second = box(document, Rect(0, 400, 200, 600));
    first->setGroupWithNext(true);
    const QString text = words(120);
    first->setContents(AttributedString(text, body()));
    first->setBounds(Rect(0, 0, 200, 60));
    EXPECT_FALSE(second->contents().string().isEmpty());
    EXPECT_LT(first->contents().length(), int(text.size()));
    auto joined = [&] {
        QString all = first->contents().string();
        if (all.endsWith(u'-'))
            all.chop(1);
        return all + second->contents().string();
    };
    EXPECT_EQ(joined().simplified().remove(u' '), QString(text).remove(u' '));
    // Room again pulls everything back.
    first->setBounds(Rect(0, 0, 200, 2000));
    EXPECT_EQ(first->contents().string(), text);
    EXPECT_TRUE(second->contents().string().isEmpty());
    // Switching the link off leaves both texts alone.
    first->setGroupWithNext(false);
    first->setBounds(Rect(0, 0, 200, 40));
    EXPECT_EQ(first->contents().string(), text);
}

TEST(VekObjText, ACutShortWordMovesWholeToTheNextBox)
{
    FakeDocument document;
    auto first = box(document, Rect(0, 0, 60, 300));
    auto second = box(document, Rect(0, 400, 200, 600));
    first->setGroupWithNext(true);
    first->setContents(AttributedString(QStringLiteral("abcd abcd abcd abcd abcd abcd abcd abcd"), body()));
    first->setBounds(Rect(0, 0, 60, 20));
    const QString kept = first->contents().string();
    const QString rest = second->contents().string();
    ASSERT_FALSE(rest.isEmpty());
    // The boundary falls between words.
    EXPECT_TRUE(kept.endsWith(u' ') || rest.startsWith(u' ') || rest.startsWith(QStringLiteral("abcd")));
    EXPECT_EQ(QString(kept + rest).remove(u' '), QStringLiteral("abcd").repeated(8));
}

TEST(VekObjText, OnlyTheHyphenTheFlowAddedIsTakenAwayAgain)
{
    // A word too long for the narrow first box is split at a dictionary break; the hyphen
    // that adds goes again when the box is widened and the word moves back whole.
    FakeDocument document;
    auto first = box(document, Rect(0, 0, 60, 20), QStringLiteral("hyphenation"));
    auto second = box(document, Rect(0, 400, 200, 100));
    second->setContents(AttributedString());
    first->setGroupWithNext(true);
    const QString kept = first->contents().string();
    ASSERT_TRUE(kept.endsWith(u'-')) << kept.toStdString();
    EXPECT_TRUE(first->contents().text().attributesAt(kept.size() - 1).insertedHyphen);
    EXPECT_EQ(kept.chopped(1) + second->contents().string(), QStringLiteral("hyphenation"));
    // Neither stored form (the runs, the RTFD copy) holds the mark: the hyphen reads back
    // as an ordinary character.
    const PropertyList dict = first->propertyListRepresentation();
    PropertyList rtfdOnly = dict;
    rtfdOnly.remove(QStringLiteral("attruns"));
    for (const PropertyList &form : {dict, rtfdOnly}) {
        auto back = std::static_pointer_cast<VekObjText>(VekObject::objectWithPropertyListRepresentation(form));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->contents().string(), kept);
        EXPECT_FALSE(back->contents().text().attributesAt(kept.size() - 1).insertedHyphen);
    }
    first->setBounds(Rect(0, 0, 200, 20));
    EXPECT_EQ(first->contents().string(), QStringLiteral("hyphenation"));
    EXPECT_TRUE(second->contents().string().isEmpty());

    // A "-" the user typed at the end of a box survives every flow, also one typed
    // right after a hyphen the flow added.
    const struct {
        const char *firstText;
        const char *secondText;
        const char *joined;
    } cases[] = {{"pages 4-", "7 and on", "pages 4-7 and on"}, {"pages 4-", "", "pages 4-"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.firstText);
        FakeDocument doc;
        auto a = box(doc, Rect(0, 0, 200, 20), QString::fromUtf8(c.firstText));
        auto b = box(doc, Rect(0, 400, 200, 100), QString::fromUtf8(c.secondText));
        a->setGroupWithNext(true);
        a->setBounds(Rect(0, 0, 200, 40));
        EXPECT_EQ(a->contents().string() + b->contents().string(), QString::fromUtf8(c.joined));
    }
    FakeDocument doc;
    auto a = box(doc, Rect(0, 0, 60, 20), QStringLiteral("hyphenation"));
    auto b = box(doc, Rect(0, 400, 200, 100));
    b->setContents(AttributedString());
    a->setGroupWithNext(true);
    a->startEditingWithEvent(MouseEvent{}, &doc.canvas);
    a->editor()->setSelectedRange({a->contents().length(), 0});
    a->editor()->keyDown(KeyInput{0, 0, QStringLiteral("-")});
    a->endEditingInView(&doc.canvas);
    const AttributedString &edited = a->contents().text();
    ASSERT_TRUE(edited.string().endsWith(QStringLiteral("--"))) << edited.string().toStdString();
    EXPECT_FALSE(edited.attributesAt(edited.length() - 1).insertedHyphen);
    a->setBounds(Rect(0, 0, 60, 21));
    EXPECT_TRUE(a->contents().string().endsWith(QStringLiteral("--")));
}

TEST(VekObjText, PullingBackFromALongChainKeepsEveryCharacterOnce)
{
    FakeDocument document;
    std::vector<std::shared_ptr<VekObjText>> boxes;
    for (int i = 0; i < 4; ++i) {
        boxes.push_back(box(document, Rect(0, float(i) * 100, 200, 40)));
        boxes.back()->setGroupWithNext(i < 3);
    }
    const QString text = words(80);
    boxes[0]->setContents(AttributedString(text, body()));
    boxes[0]->setBounds(Rect(0, 0, 200, 41));
    for (int i = 1; i < 4; ++i)
        boxes[i]->setBounds(Rect(0, float(i) * 100, 200, 41));
    boxes[0]->setBounds(Rect(0, 0, 200, 80));
    QString all = chainText(boxes);
    all.remove(u'-');
    EXPECT_EQ(all.remove(u' '), QString(text).remove(u' '));
}

TEST(VekObjText, AnchorsAreUniqueAndFoundByName)
{
    FakeDocument document;
    auto text = box(document, Rect(0, 0, 300, 100), QStringLiteral("one two three"));
    TextAttributes a;
    a.anchor = QStringLiteral("#a");
    text->contents().addAttributes(a, {0, 3});
    text->contents().addAttributes(a, {8, 5});
    // A name stands for its first place.
    const PropertyList info = text->anchorInfo();
    EXPECT_TRUE(info.contains(QStringLiteral("#a")));
    EXPECT_EQ(text->rangeOfAnchor(QStringLiteral("#a")), (TextRange{0, 3}));
    EXPECT_EQ(text->rangeOfAnchor(QStringLiteral("#b")).length, 0);
    // Naming a place takes the name from the others.
    text->setAnchorName(QStringLiteral("#a"));
    EXPECT_EQ(text->rangeOfAnchor(QStringLiteral("#a")), (TextRange{0, 1}));
    EXPECT_FALSE(text->contents().text().attributesAt(9).anchor.has_value());
    // "#" alone removes the anchor.
    text->setAnchorName(QStringLiteral("#"));
    EXPECT_FALSE(text->contents().text().attributesAt(0).anchor.has_value());
}

TEST(VekTextView, TypingReplacesTheSpaceGrowsTheBoxAndUndoes)
{
    FakeDocument document;
    auto text = box(document, Rect(10, 10, 10, 10));
    text->startEditingWithEvent(MouseEvent{}, &document.canvas);
    VekTextView *editor = text->editor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(document.canvas.editingObject(), text);
    EXPECT_EQ(editor->selectedRange(), (TextRange{0, 1}));
    for (QChar c : QStringLiteral("Hello world"))
        editor->keyDown(KeyInput{0, 0, QString(c)});
    EXPECT_EQ(text->contents().string(), QStringLiteral("Hello world"));
    EXPECT_GT(text->bounds().width(), 50);   // a box at minimum width grows to the right
    EXPECT_EQ(editor->frame().size, text->bounds().size);

    // Shift-left selects, typing replaces the selection.
    editor->keyDown(KeyInput{Qt::Key_Left, ShiftKeyMask, {}});
    editor->keyDown(KeyInput{Qt::Key_Left, ShiftKeyMask, {}});
    EXPECT_EQ(editor->selectedRange(), (TextRange{9, 2}));
    editor->inputMethodEvent(InputMethodInput{QStringLiteral("ms"), {}, 0, 0});
    EXPECT_EQ(text->contents().string(), QStringLiteral("Hello worms"));

    // Every edit can be undone in the document's undo manager.
    while (document.undo.canUndo())
        document.undo.undo();
    EXPECT_EQ(text->contents().string(), QStringLiteral(" "));

    text->endEditingInView(&document.canvas);
    EXPECT_EQ(text->editor(), nullptr);
    EXPECT_FALSE(document.canvas.editingObject());
    EXPECT_EQ(text->editingBounds(), Rect());
}

TEST(VekTextView, ASecondBoxGetsAPrivateEditorAndCopyPasteKeepsStyles)
{
    FakeDocument document;
    FakeDocument other;
    auto a = box(document, Rect(0, 0, 200, 100), QStringLiteral("styled text"));
    auto b = box(other, Rect(0, 0, 200, 100), QStringLiteral("plain"));
    a->startEditingWithEvent(MouseEvent{}, &document.canvas);
    b->startEditingWithEvent(MouseEvent{}, &other.canvas);
    ASSERT_TRUE(a->editor() && b->editor());
    EXPECT_NE(a->editor(), b->editor());

    RecordingClipboard clipboard;
    TextAttributes red = body(20);
    red.foregroundColor = Color::colorWithCalibratedRed(1, 0, 0);
    a->contents().setAttributes(red, {0, 6});
    a->editor()->setClipboard(&clipboard);
    a->editor()->setSelectedRange({0, 6});
    a->editor()->copy();
    EXPECT_FALSE(clipboard.stored.value(RTFMimeType).isEmpty());
    EXPECT_EQ(clipboard.stored.value(PlainTextMimeType), QByteArray("styled"));
    b->editor()->setClipboard(&clipboard);
    b->editor()->setSelectedRange({5, 0});
    b->editor()->paste();
    EXPECT_EQ(b->contents().string(), QStringLiteral("plainstyled"));
    EXPECT_EQ(b->contents().text().attributesAt(6).font->size, 20);
    b->endEditingInView(&other.canvas);
    // The shared editor is still a's.
    EXPECT_TRUE(a->editor());
    a->endEditingInView(&document.canvas);
}

TEST(VekTextView, ABoxDestroyedWhileEditedLetsGoOfItsEditor)
{
    // Destroyed with its document still there: the canvas stops hosting the editor.
    FakeDocument document;
    auto doomed = box(document, Rect(0, 0, 200, 100), QStringLiteral("going"));
    doomed->startEditingWithEvent(MouseEvent{}, &document.canvas);
    VekTextView *shared = doomed->editor();
    ASSERT_EQ(document.canvas.editorView(), shared);
    document.list.clear();
    document.undo.removeAllActions();
    doomed.reset();
    EXPECT_EQ(document.canvas.editorView(), nullptr);
    EXPECT_EQ(shared->textStorage(), nullptr);
    shared->keyDown(KeyInput{0, 0, QStringLiteral("x")});   // reaches no freed text

    // Destroyed after leaving its document (a private editor is made while the shared one
    // is busy): the editors are free again, and the next box edits with the shared one.
    FakeDocument other;
    auto first = box(other, Rect(0, 0, 200, 100), QStringLiteral("first"));
    auto second = box(other, Rect(0, 120, 200, 100), QStringLiteral("second"));
    first->startEditingWithEvent(MouseEvent{}, &other.canvas);
    second->startEditingWithEvent(MouseEvent{}, &other.canvas);
    ASSERT_EQ(first->editor(), shared);
    other.list.clear();
    other.undo.removeAllActions();
    for (const auto &gone : {first, second})
        gone->setDocument(nullptr, false);
    first.reset();
    second.reset();
    auto next = box(other, Rect(0, 0, 200, 100), QStringLiteral("next"));
    next->startEditingWithEvent(MouseEvent{}, &other.canvas);
    EXPECT_EQ(next->editor(), shared);
    shared->setSelectedRange({4, 0});
    shared->keyDown(KeyInput{0, 0, QStringLiteral("!")});
    EXPECT_EQ(next->contents().string(), QStringLiteral("next!"));
    next->endEditingInView(&other.canvas);
}

TEST(LayoutGeometry, InsertionPointsSelectionsAndClicks)
{
    ensureGuiApp();
    LayoutManager layout;
    TextContainer container(Size{200, 1000});
    layout.addTextContainer(&container);
    layout.setTypingAttributes(body(12));
    // An empty text still has a line for the insertion point.
    const Rect empty = layout.insertionPointRectForCharacterIndex(0);
    EXPECT_GT(empty.height(), 10);
    EXPECT_FLOAT_EQ(empty.minX(), container.lineFragmentPadding());
    EXPECT_FALSE(layout.extraLineFragmentRect().isEmpty());

    layout.setAttributedString(AttributedString(QStringLiteral("first line\nsecond"), body(12)));
    const Rect start = layout.insertionPointRectForCharacterIndex(0);
    const Rect second = layout.insertionPointRectForCharacterIndex(11);
    const Rect end = layout.insertionPointRectForCharacterIndex(17);
    EXPECT_GT(second.minY(), start.minY());
    EXPECT_FLOAT_EQ(end.minY(), second.minY());
    EXPECT_GT(end.minX(), second.minX());
    // A selection across the line break has one rectangle per line, the first to its edge.
    const auto rects = layout.selectionRectsForCharacterRange({6, 8}, &container);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_FLOAT_EQ(rects[0].maxX(), 200 - container.lineFragmentPadding());
    // A click past the end of a line stays before its line feed.
    EXPECT_EQ(layout.characterIndexForInsertionAtPoint({190, start.midY()}, &container), 10);
    EXPECT_EQ(layout.characterIndexForInsertionAtPoint({0, second.midY()}, &container), 11);
    EXPECT_EQ(layout.characterIndexForInsertionAtPoint({190, 900}, &container), 17);
}

TEST(VekTextView, CentredLinesGetALeaderEvenWithInvisiblesHidden)
{
    FakeDocument document;
    TextAttributes centred = body();
    ParagraphStyle style;
    style.alignment = TextAlignment::Center;
    centred.paragraphStyle = style;
    AttributedString text(QStringLiteral("left line\n"), body());
    text.append(AttributedString(QStringLiteral("centred line"), centred));
    auto centredBox = box(document, Rect(0, 0, 200, 100));
    centredBox->setContents(text);
    centredBox->startEditingWithEvent(MouseEvent{}, &document.canvas);
    VekLayoutManager &layout = centredBox->editor()->layoutManager();
    ASSERT_FALSE(layout.showsInvisibleCharacters());
    const auto marks = layout.leaderMarks({0, text.length()}, {0, 0});
    ASSERT_EQ(marks.size(), 1u);   // the centred line only
    const LineFragment &line = layout.lineFragments()[1];
    EXPECT_EQ(marks[0].second, 10);
    EXPECT_GT(marks[0].first.x, line.rect.minX() + 20);
    EXPECT_FLOAT_EQ(marks[0].first.y, line.rect.minY());
    centredBox->endEditingInView(&document.canvas);
}

TEST(VekObjText, InspectorImageShowsTheTextWithoutExclusions)
{
    FakeDocument document;
    auto text = box(document, Rect(0, 0, 150, 60), words(8));
    const auto image = text->currentTextImage();
    ASSERT_TRUE(image);
    const Rect drawn = text->drawingBounds();
    EXPECT_EQ(image->size(), (Size{drawn.width() + 5, drawn.height()}));   // plus the padding
    const QImage pixels = image->toQImage();
    bool inked = false;
    for (int y = 0; y < pixels.height() && !inked; ++y)
        for (int x = 0; x < pixels.width() && !inked; ++x)
            inked = qAlpha(pixels.pixel(x, y)) > 128;
    EXPECT_TRUE(inked);
    // An exclusive object over the box changes the box's layout, not the preview.
    auto block = VekObject::create();
    block->setBounds(Rect(0, 0, 150, 30));
    block->setExclusive(true);
    document.adopt(block);
    EXPECT_EQ(text->currentTextImage()->toQImage(), pixels);
    text->setContents(AttributedString());
    EXPECT_FALSE(text->currentTextImage());
}

TEST(VekObjText, ALongChainTextFlowsAsTheWholeTextWouldBeLaidOut)
{
    // Many short paragraphs, and one paragraph longer than any prefix the flow lays out.
    for (const QString &separator : {QStringLiteral("\n"), QStringLiteral(" ")}) {
        FakeDocument document;
        auto first = box(document, Rect(0, 0, 200, 400));
        auto second = box(document, Rect(0, 500, 200, 400));
        first->setGroupWithNext(true);
        QString text;
        for (int i = 0; text.size() < 30000; ++i)
            text += words(7) + separator;
        const AttributedString whole(text, body());
        first->setContents(whole);
        int fitsWhole = 0;
        {
            TextBoxLayout layout(*first, whole, first->bounds().size);
            fitsWhole = layout.charactersThatFit();
        }
        first->controlConnection();
        const QString kept = first->contents().string();
        ASSERT_GT(kept.size(), 100);
        EXPECT_LE(kept.size(), fitsWhole + 1);   // a hyphen may be added
        EXPECT_GE(kept.size(), fitsWhole - 12);  // a cut word may move on whole
        EXPECT_EQ(QString(kept + second->contents().string()).remove(u'-'), text);
    }
}
