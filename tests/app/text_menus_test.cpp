// The text commands of the menus, chosen as a user does (validated, then triggered) in a
// real document window: styling of an edited selection and of selected boxes with undo,
// find across text boxes on two pages, and anchors, links and following a link.
#include "tests/app/shell_fixture.h"

#include "app/document/find_panel.h"
#include "canvas/ui/vek_view.h"
#include "model/text/text_finder.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "platform/text/font_registry.h"
#include "tests/model/fakes.h"

#include "app/main_menu.h"

#include <QLineEdit>
#include <QMenuBar>

#include <functional>

namespace {

const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

bool isBold(const TextAttributes &a)
{
    return a.font && fontTraits(a.font->name).value_or(FontTraits{}).bold;
}

class TextMenusTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        controller->startUp({});
        window = windows().front();
        window->resize(700, 500);
        view().setFocus();
    }

    VekView &view() const { return window->vekView(); }
    VekDocument &doc() const { return window->document(); }
    UndoManager &undo() const { return *doc().undoManager(); }

    // A box in 12-point Helvetica, in front of the others, with a clean history.
    std::shared_ptr<VekObjText> addText(const QString &text, const Rect &bounds)
    {
        auto box = VekObjText::create();
        box->setBounds(bounds);
        TextAttributes attributes;
        attributes.font = Font{QStringLiteral("Helvetica"), 12};
        box->setContents(AttributedString(text, attributes));
        doc().insertObject(box, 0, false);
        settle();
        return box;
    }
    void edit(const std::shared_ptr<VekObjText> &box, TextRange selection)
    {
        view().endEditing();
        view().selectObjectExclusively(box);
        box->startEditingWithEvent(MouseEvent{}, &view());
        ASSERT_TRUE(box->editor());
        box->editor()->setSelectedRange(selection);
        settle();
    }
    void settle()
    {
        undo().closeEventGroup();
        undo().removeAllActions();
    }

    // The item at the end of the path of titles, and the menu holding it.
    std::pair<QMenu *, QAction *> item(const QStringList &path) const
    {
        QList<QAction *> actions = window->menuBar()->actions();
        QMenu *menu = nullptr;
        for (const QString &title : path) {
            QAction *found = nullptr;
            for (QAction *a : actions)
                if (a->text() == title)
                    found = a;
            if (!found)
                return {nullptr, nullptr};
            if (found->menu()) {
                menu = found->menu();
                emit menu->aboutToShow();   // fills lists made on opening
                actions = menu->actions();
            } else {
                return {menu, found};
            }
        }
        return {nullptr, nullptr};
    }
    // Validates the item as opening its menu does; chooses it when it is enabled.
    bool choose(const QStringList &path)
    {
        auto [menu, action] = item(path);
        EXPECT_TRUE(action) << path.join(QLatin1Char('/')).toStdString();
        if (!action)
            return false;
        validateMenu(*menu, controller->responderChain());
        if (!action->isEnabled())
            return false;
        action->trigger();
        undo().closeEventGroup();
        return true;
    }
    bool isChecked(const QStringList &path)
    {
        auto [menu, action] = item(path);
        validateMenu(*menu, controller->responderChain());
        return action && action->isChecked();
    }
    // Where a point of the canvas lies in the window, at 100 %.
    Point inWindow(Point canvasPoint) const
    {
        const Point origin = view().convertPointFromWindow({0, 0});
        return {canvasPoint.x - origin.x, canvasPoint.y - origin.y};
    }

    VekDocumentWindow *window = nullptr;
};

struct StyleCase {
    QStringList path;
    const char *undoName;
    std::function<bool(const TextAttributes &)> applied;
};

const std::vector<StyleCase> &styleCases()
{
    static const std::vector<StyleCase> cases = {
        {{"Format", "Font", "Bold"}, "Bold", isBold},
        {{"Format", "Font", "Italic"}, "Italic",
         [](const TextAttributes &a) {
             return fontTraits(a.font->name).value_or(FontTraits{}).italic || a.obliqueness.value_or(0) != 0;
         }},
        {{"Format", "Font", "Underline"}, "Underline", [](const TextAttributes &a) { return a.underlineStyle == 1; }},
        {{"Format", "Font", "Size", "24"}, "Set Font Size", [](const TextAttributes &a) { return a.font->size == 24; }},
        {{"Format", "Font", "Bigger"}, "Bigger", [](const TextAttributes &a) { return a.font->size == 13; }},
        {{"Format", "Font", "Smaller"}, "Smaller", [](const TextAttributes &a) { return a.font->size == 11; }},
        {{"Format", "Baseline", "Superscript"}, "Superscript",
         [](const TextAttributes &a) { return a.baselineOffset.value_or(0) > 0; }},
        {{"Format", "Baseline", "Subscript"}, "Subscript",
         [](const TextAttributes &a) { return a.baselineOffset.value_or(0) < 0; }},
        {{"Format", "Baseline", "Raise"}, "Raise Baseline", [](const TextAttributes &a) { return a.baselineOffset == 1.0f; }},
        {{"Format", "Baseline", "Lower"}, "Lower Baseline", [](const TextAttributes &a) { return a.baselineOffset == -1.0f; }},
    };
    return cases;
}

} // namespace

TEST_F(TextMenusTest, StylingAnEditedSelectionIsOneNamedUndoStepAndLeavesTheRestAlone)
{
    auto box = addText(QStringLiteral("Hello world"), Rect(40, 40, 200, 60));
    edit(box, {0, 5});
    const AttributedString original = box->contents().text();
    for (const StyleCase &c : styleCases()) {
        SCOPED_TRACE(c.path.join(QLatin1Char('/')).toStdString());
        ASSERT_TRUE(choose(c.path));
        const AttributedString &text = box->contents().text();
        EXPECT_TRUE(c.applied(text.attributesAt(0)));
        EXPECT_TRUE(c.applied(text.attributesAt(4)));
        EXPECT_EQ(text.substring({5, 6}), original.substring({5, 6}));
        EXPECT_EQ(box->editor()->selectedRange(), (TextRange{0, 5}));
        EXPECT_EQ(undo().undoActionName(), QString::fromLatin1(c.undoName));
        undo().undo();
        EXPECT_EQ(box->contents().text(), original);
        undo().redo();
        EXPECT_TRUE(c.applied(box->contents().text().attributesAt(0)));
        undo().undo();
        box->editor()->setSelectedRange({0, 5});
    }
}

TEST_F(TextMenusTest, TogglesShowAndTurnOverTheStateOfTheSelection)
{
    auto box = addText(QStringLiteral("Hello world"), Rect(40, 40, 200, 60));
    edit(box, {0, 5});
    EXPECT_FALSE(isChecked({"Format", "Font", "Bold"}));
    ASSERT_TRUE(choose({"Format", "Font", "Bold"}));
    EXPECT_TRUE(isChecked({"Format", "Font", "Bold"}));
    // A selection that starts bold turns bold off over all of it.
    box->editor()->setSelectedRange({0, 11});
    ASSERT_TRUE(choose({"Format", "Font", "Bold"}));
    for (int i : {0, 4, 8})
        EXPECT_FALSE(isBold(box->contents().text().attributesAt(i)));

    // Alignment goes to the whole paragraph of the insertion point.
    box->editor()->setSelectedRange({3, 0});
    EXPECT_TRUE(isChecked({"Format", "Text", "Align Left"}));
    ASSERT_TRUE(choose({"Format", "Text", "Center"}));
    for (int i : {0, 10})
        EXPECT_EQ(box->contents().text().attributesAt(i).paragraphStyle->alignment, TextAlignment::Center);
    EXPECT_TRUE(isChecked({"Format", "Text", "Center"}));
    EXPECT_FALSE(isChecked({"Format", "Text", "Align Left"}));

    // With nothing selected, the next characters typed take the style.
    ASSERT_TRUE(choose({"Format", "Font", "Underline"}));
    box->editor()->insertText(QStringLiteral("!"));
    EXPECT_EQ(box->contents().text().attributesAt(3).underlineStyle, 1);
    EXPECT_FALSE(box->contents().text().attributesAt(4).underlineStyle);
}

TEST_F(TextMenusTest, SelectedBoxesTakeTheCommandOnTheirWholeTextAsOneStep)
{
    auto first = addText(QStringLiteral("first box"), Rect(40, 40, 200, 60));
    auto second = addText(QStringLiteral("second box"), Rect(40, 140, 200, 60));
    auto shape = VekObjPath::create();
    shape->setBezierPath(BezierPath::bezierPathWithRect(Rect(300, 40, 50, 50)));
    shape->setBounds(Rect(300, 40, 50, 50));
    doc().insertObject(shape, 0, false);
    settle();
    const AttributedString firstBefore = first->contents().text();
    const AttributedString secondBefore = second->contents().text();
    view().selectObjects({first, second, shape});
    settle();

    ASSERT_TRUE(choose({"Format", "Font", "Bold"}));
    for (const auto &box : {first, second})
        for (int i : {0, box->contents().length() - 1})
            EXPECT_TRUE(isBold(box->contents().text().attributesAt(i)));
    EXPECT_EQ(undo().undoActionName(), QStringLiteral("Bold"));
    undo().undo();
    EXPECT_EQ(first->contents().text(), firstBefore);
    EXPECT_EQ(second->contents().text(), secondBefore);

    ASSERT_TRUE(choose({"Format", "Font", "Family", "DejaVu Serif"}));
    EXPECT_EQ(fontFamilyName(second->contents().text().attributesAt(0).font->name), QStringLiteral("DejaVu Serif"));
    EXPECT_TRUE(isChecked({"Format", "Font", "Family", "DejaVu Serif"}));
    ASSERT_TRUE(choose({"Format", "Text", "Justify"}));
    EXPECT_EQ(first->contents().text().attributesAt(0).paragraphStyle->alignment, TextAlignment::Justified);
    undo().undo();
    undo().undo();
    EXPECT_EQ(first->contents().text(), firstBefore);
}

TEST_F(TextMenusTest, TextCommandsAreDisabledWithoutTextInReach)
{
    const QStringList commands[] = {{"Format", "Font", "Bold"},     {"Format", "Font", "Size", "12"},
                                    {"Format", "Text", "Center"},   {"Format", "Baseline", "Superscript"},
                                    {"Format", "Set Link..."},      {"Edit", "Find", "Find Next"},
                                    {"Edit", "Find", "Jump to Selection"}};
    auto shape = VekObjPath::create();
    shape->setBezierPath(BezierPath::bezierPathWithRect(Rect(300, 40, 50, 50)));
    shape->setBounds(Rect(300, 40, 50, 50));
    doc().insertObject(shape, 0, false);
    view().selectObjectExclusively(shape);
    for (const QStringList &path : commands)
        EXPECT_FALSE(choose(path)) << path.join(QLatin1Char('/')).toStdString();
    // A selected shape can still be named as an anchor; find can always be asked for.
    auto [menu, anchor] = item({"Format", "Set Anchor..."});
    validateMenu(*menu, controller->responderChain());
    EXPECT_TRUE(anchor->isEnabled());
    auto [editMenu, find] = item({"Edit", "Find", "Find..."});
    validateMenu(*editMenu, controller->responderChain());
    EXPECT_TRUE(find->isEnabled());
    // An edited box without a selection offers no link.
    auto box = addText(QStringLiteral("text"), Rect(40, 40, 200, 60));
    edit(box, {1, 0});
    EXPECT_FALSE(choose({"Format", "Set Link..."}));
}

TEST_F(TextMenusTest, FindGoesOnIntoTheTextBoxOnTheNextPageAndScrollsToIt)
{
    doc().setNumberOfPages(2);
    view().updateFrame();
    const float pageHeight = view().rectForPage(2).minY();
    auto second = addText(QStringLiteral("another apple"), Rect(40, pageHeight + 300, 200, 40));
    auto first = addText(QStringLiteral("one apple"), Rect(40, 40, 200, 40));

    ASSERT_TRUE(choose({"Edit", "Find", "Find..."}));
    EXPECT_EQ(view().editingObject(), first);
    FindPanel &panel = controller->findPanel();
    EXPECT_TRUE(panel.isVisible());
    panel.findField()->setText(QStringLiteral("APPLE"));
    panel.perform(FindPanelNext);
    ASSERT_EQ(view().editingObject(), first);
    EXPECT_EQ(first->editor()->selectedRange(), (TextRange{4, 5}));

    // No further match in the first box: the search moves on to the next one.
    ASSERT_TRUE(choose({"Edit", "Find", "Find Next"}));
    ASSERT_EQ(view().editingObject(), second);
    EXPECT_EQ(second->editor()->selectedRange(), (TextRange{8, 5}));
    EXPECT_TRUE(intersectsRect(view().visibleRect(), second->editor()->selectionBounds()));

    ASSERT_TRUE(choose({"Edit", "Find", "Find Previous"}));
    ASSERT_EQ(view().editingObject(), first);
    EXPECT_EQ(first->editor()->selectedRange(), (TextRange{4, 5}));
    EXPECT_TRUE(intersectsRect(view().visibleRect(), first->editor()->selectionBounds()));

    first->editor()->setSelectedRange({0, 3});
    ASSERT_TRUE(choose({"Edit", "Find", "Use Selection for Find"}));
    EXPECT_EQ(TextFinder::shared().settings.findString, QStringLiteral("one"));
}

TEST_F(TextMenusTest, AnAnchorNamedInOneBoxIsTheTargetOfALinkThatAClickFollows)
{
    doc().setNumberOfPages(2);
    view().updateFrame();
    const float pageHeight = view().rectForPage(2).minY();
    auto target = addText(QStringLiteral("the target here"), Rect(40, pageHeight + 300, 200, 40));
    auto source = addText(QStringLiteral("Go to the target"), Rect(40, 40, 200, 40));

    edit(target, {4, 6});
    dialogs.anchorNames.push_back(QStringLiteral("target"));
    ASSERT_TRUE(choose({"Format", "Set Anchor..."}));
    EXPECT_EQ(dialogs.anchorPanelShowed, QStringList{QStringLiteral("#")});
    EXPECT_EQ(target->contents().text().attributesAt(4).anchor, QStringLiteral("#target"));
    EXPECT_FALSE(target->contents().text().attributesAt(3).anchor);
    EXPECT_EQ(undo().undoActionName(), QStringLiteral("Set Anchor"));
    EXPECT_EQ(doc().anchorNames(), QStringList{QStringLiteral("#target")});
    // The anchor's name and characters come and go together with undo.
    undo().undo();
    EXPECT_FALSE(target->contents().text().attributesAt(4).anchor);
    EXPECT_TRUE(doc().anchorNames().isEmpty());
    undo().redo();
    EXPECT_EQ(doc().anchorNames(), QStringList{QStringLiteral("#target")});

    edit(source, {0, 5});
    dialogs.linkDestinations.push_back(QStringLiteral("#target"));
    ASSERT_TRUE(choose({"Format", "Set Link..."}));
    EXPECT_EQ(dialogs.linkPanelOffered, QStringList{QStringLiteral("#target")});
    EXPECT_EQ(source->contents().text().attributesAt(0).link, QStringLiteral("#target"));
    EXPECT_FALSE(source->contents().text().attributesAt(5).link);
    EXPECT_EQ(undo().undoActionName(), QStringLiteral("Set Link"));
    undo().undo();
    EXPECT_FALSE(source->contents().text().attributesAt(0).link);
    undo().redo();

    // A click on the link scrolls the canvas to the anchor on the next page.
    const Rect anchor = doc().anchorInView(QStringLiteral("#target"));
    ASSERT_FALSE(anchor.isEmpty());
    EXPECT_GT(anchor.minY(), pageHeight);
    view().scrollRectToVisible(source->bounds());
    ASSERT_FALSE(intersectsRect(view().visibleRect(), anchor));
    ScriptedEventSource events;
    view().setEventSource(&events);
    const Point onLink = inWindow({source->bounds().minX() + 12, source->bounds().minY() + 8});
    events.up(onLink);
    view().mouseDownWithEvent({EventType::LeftMouseDown, onLink, 0, 1});
    EXPECT_TRUE(intersectsRect(view().visibleRect(), anchor));
    EXPECT_EQ(view().editingObject(), source);

    // A link to an anchor in the same text selects the anchor's characters, and the
    // release of the button leaves them selected.
    edit(target, {11, 4});
    dialogs.linkDestinations.push_back(QStringLiteral("#target"));
    ASSERT_TRUE(choose({"Format", "Set Link..."}));
    const Rect here = target->editor()->selectionBounds();
    target->editor()->setSelectedRange({0, 0});
    view().scrollRectToVisible(target->bounds());
    const Point onHere = inWindow({here.midX(), here.midY()});
    events.up(onHere);
    view().mouseDownWithEvent({EventType::LeftMouseDown, onHere, 0, 1});
    view().setEventSource(nullptr);
    EXPECT_EQ(target->editor()->selectedRange(), (TextRange{4, 6}));
}
