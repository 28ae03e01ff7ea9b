// The text ruler above the horizontal ruler: when the show/hide command and the start and
// end of editing put it there, and what dragging its markers does to the edited paragraph
// (each drag one undo step, undo-all/redo-all back to the exact runs).
#include "canvas/ui/text_ruler_accessory.h"

#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "platform/text/text_storage.h"
#include "tests/canvas/ui/ruler_canvas_fixture.h"

#include <QComboBox>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// The rulers' canvas with a text box that can be edited in place.
class TextRulerCanvas : public RulerTestCanvas {
public:
    TextRulerCanvas()
    {
        box = VekObjText::create();
        box->setBounds({20, 30, 200, 60});
        ParagraphStyle style;
        style.tabStops = {TextTab{TextTabType::Right, 150}};
        TextAttributes a;
        a.font = Font{QStringLiteral("DejaVuSans"), 12};
        a.paragraphStyle = style;
        box->setContents(AttributedString(QStringLiteral("name\tvalue"), a));
        doc.insertObject(box, 0, false);
        doc.undoManager()->closeEventGroup();
        doc.undoManager()->removeAllActions();
    }
    ~TextRulerCanvas() override { box->endEditingInView(&services); }

    void edit() { box->startEditingWithEvent(MouseEvent{}, &services); }
    VekTextView *rulerTextEditor() const override
    {
        return services.editorView() ? box->editor() : nullptr;
    }
    ParagraphStyle style() const { return *box->contents().text().attributesAt(0).paragraphStyle; }

    std::shared_ptr<VekObjText> box;
};

// Drags on the strip from one ruler x to another, in the band's lower half (where the tab
// stops and the head and tail indents stand) and `dy` off it at the end.
void dragOnStrip(TextRulerAccessory &strip, double from, double to, double dy = 0)
{
    const double y = strip.band().bottom() - 3;
    sendMouse(strip, QEvent::MouseButtonPress, {from, y});
    sendMouse(strip, QEvent::MouseMove, {(from + to) / 2, y + dy / 2});
    sendMouse(strip, QEvent::MouseMove, {to, y + dy});
    sendMouse(strip, QEvent::MouseButtonRelease, {to, y + dy});
}

} // namespace

TEST(TextRulerAccessory, ShowingHidingAndEditingDecideWhetherTheStripIsThereAndActive)
{
    ensureWidgetApp();
    TextRulerCanvas canvas;
    RulerHost &host = *canvas.host;
    const int plain = VekRulerView::ScaleThickness + VekRulerView::MarkerThickness;

    // Shown with nothing edited: no strip.
    host.toggleVekRulers();
    EXPECT_EQ(host.horizontalRuler().height(), plain);
    EXPECT_FALSE(host.textRulerAccessory());

    // Editing with the rulers shown brings it, enabled, and the ruler grows by its height.
    canvas.edit();
    host.showTextRulerAccessory();
    ASSERT_TRUE(host.textRulerAccessory());
    EXPECT_TRUE(host.textRulerAccessory()->isActive());
    EXPECT_EQ(host.horizontalRuler().height(), plain + TextRulerAccessory::RowHeight + TextRulerAccessory::BandHeight);
    EXPECT_EQ(canvas.viewport()->geometry().top(), host.horizontalRuler().height());

    // Editing ends: the strip stays, greyed, and the ruler keeps its height.
    host.disableTextRulerAccessory();
    canvas.box->endEditingInView(&canvas.services);
    ASSERT_TRUE(host.textRulerAccessory());
    EXPECT_FALSE(host.textRulerAccessory()->isActive());
    EXPECT_FALSE(host.textRulerAccessory()->isEnabled());
    EXPECT_EQ(host.horizontalRuler().height(), plain + TextRulerAccessory::RowHeight + TextRulerAccessory::BandHeight);

    // Hidden and shown again with nothing edited: the greyed strip is gone.
    host.toggleVekRulers();
    EXPECT_FALSE(host.horizontalRuler().accessoryView());
    host.toggleVekRulers();
    EXPECT_FALSE(host.horizontalRuler().accessoryView());
    EXPECT_EQ(host.horizontalRuler().height(), plain);

    // Shown while a text is edited: the strip comes with the rulers.
    host.toggleVekRulers();
    canvas.edit();
    host.toggleVekRulers();
    ASSERT_TRUE(host.textRulerAccessory());
    EXPECT_TRUE(host.textRulerAccessory()->isActive());
    // A disabled strip gives way to an enabled one when editing starts again.
    host.disableTextRulerAccessory();
    host.showTextRulerAccessory();
    EXPECT_TRUE(host.textRulerAccessory()->isActive());
    // Nothing happens while the rulers are hidden.
    host.toggleVekRulers();
    host.showTextRulerAccessory();
    EXPECT_FALSE(host.horizontalRuler().accessoryView());
}

TEST(TextRulerAccessory, DraggingMarkersMovesAndRemovesTabStopsAndSetsIndentsOneStepEach)
{
    ensureWidgetApp();
    TextRulerCanvas canvas;
    canvas.resize(700, 300);
    canvas.scale = 2.0;
    canvas.host->setRulersVisible(true);
    canvas.edit();
    canvas.host->showTextRulerAccessory();
    TextRulerAccessory &strip = *canvas.host->textRulerAccessory();
    UndoManager &undo = *canvas.doc.undoManager();
    const float padding = canvas.box->editor()->textContainer().lineFragmentPadding();
    const auto at = [&](float location) { return *strip.positionOfTextLocation(location); };
    // The band stands on the ruler's scale: text location 0 is the box's left edge.
    EXPECT_DOUBLE_EQ(at(0), canvas.host->horizontalRuler().rulerPosition(20));
    EXPECT_DOUBLE_EQ(at(10) - at(0), 20);

    std::vector<AttributedString> states{canvas.box->contents().text()};
    const auto step = [&](const char *what, const std::function<void()> &drag,
                          const std::function<void(const ParagraphStyle &)> &check) {
        SCOPED_TRACE(what);
        drag();
        undo.closeEventGroup();
        check(canvas.style());
        states.push_back(canvas.box->contents().text());
        EXPECT_NE(states.back(), states[states.size() - 2]);
    };
    step("the right tab from 150 to 120", [&] { dragOnStrip(strip, at(150), at(120)); },
         [](const ParagraphStyle &s) { EXPECT_EQ(s.tabStops, QList<TextTab>({TextTab{TextTabType::Right, 120}})); });
    step("a click adds a centre tab at 60",
         [&] {
             strip.tabKindButton(TextTabType::Center)->click();
             dragOnStrip(strip, at(60), at(60));
         },
         [](const ParagraphStyle &s) {
             EXPECT_EQ(s.tabStops, QList<TextTab>({TextTab{TextTabType::Center, 60}, TextTab{TextTabType::Right, 120}}));
         });
    step("the right tab dragged off the band goes", [&] { dragOnStrip(strip, at(120), at(125), 40); },
         [](const ParagraphStyle &s) { EXPECT_EQ(s.tabStops, QList<TextTab>({TextTab{TextTabType::Center, 60}})); });
    // The first line's marker hangs from the band's top; the head indent's stands below.
    step("first-line indent to 30",
         [&] {
             const double y = strip.band().top() + 2;
             sendMouse(strip, QEvent::MouseButtonPress, {at(padding), y});
             sendMouse(strip, QEvent::MouseMove, {at(padding + 30), y});
             sendMouse(strip, QEvent::MouseButtonRelease, {at(padding + 30), y});
         },
         [](const ParagraphStyle &s) {
             EXPECT_EQ(s.firstLineHeadIndent, 30);
             EXPECT_EQ(s.headIndent, 0);
         });
    step("head indent to 12", [&] { dragOnStrip(strip, at(padding), at(padding + 12)); },
         [](const ParagraphStyle &s) { EXPECT_EQ(s.headIndent, 12); });
    step("the tail 20 in from the right edge stays measured from it",
         [&] { dragOnStrip(strip, at(200 - padding), at(180 - padding)); },
         [](const ParagraphStyle &s) { EXPECT_EQ(s.tailIndent, -20); });
    step("double spacing from the choice",
         [&] { emit strip.lineSpacingChoice()->activated(strip.lineSpacingChoice()->findData(2.0f)); },
         [](const ParagraphStyle &s) { EXPECT_EQ(s.lineHeightMultiple, 2); });

    // A tab dragged off as it is added adds nothing; a marker let go where it was, nothing.
    dragOnStrip(strip, at(90), at(90), -40);
    dragOnStrip(strip, at(60), at(60));
    undo.closeEventGroup();
    EXPECT_EQ(canvas.box->contents().text(), states.back());

    for (size_t i = states.size() - 1; i > 0; --i) {
        undo.undo();
        EXPECT_EQ(canvas.box->contents().text(), states[i - 1]) << "after undoing step " << i;
    }
    EXPECT_FALSE(undo.canUndo());
    for (size_t i = 1; i < states.size(); ++i)
        undo.redo();
    EXPECT_EQ(canvas.box->contents().text(), states.back());
}
