// The document window's rulers as a user meets them: the selection's markers resize and
// (with Shift) move the selection, one undo step a drag; while a text box is edited the
// text ruler above the scale sets the paragraph's alignment and adds tab stops, and it is
// greyed once the editing ends; the Page menu shows and hides the rulers.
#include "tests/app/window/window_driver.h"

#include "canvas/ruler_markers.h"
#include "canvas/ui/text_ruler_accessory.h"
#include "document/vek_document.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "platform/text/text_storage.h"

#include <QMouseEvent>
#include <QToolButton>

namespace {

// The Page menu's item that shows or hides the rulers, titled as the open menu shows it.
QAction *rulersItem(QMainWindow &window, const QString &title)
{
    for (QAction *top : window.menuBar()->actions())
        if (top->text() == QLatin1String("Page") && top->menu())
            emit top->menu()->aboutToShow();
    return menuItem(window, QStringLiteral("Page"), title);
}

class RulersTest : public WindowTest {
protected:
    VekDocumentWindow &startLarge()
    {
        VekDocumentWindow &window = start();
        window.resize(1600, 1000);
        QCoreApplication::processEvents();
        activate(window);
        return window;
    }
};

// Where the marker of the edge stands in its ruler.
QPoint markerPoint(VekRulerView &ruler, RulerEdge edge)
{
    return ruler.imageRectOfMarker(*ruler.markerRepresenting(rulerEdgeName(edge))).center().toPoint();
}

// A drag along the ruler; the moves carry the modifiers held (QTest's moves carry none).
void dragOnRuler(VekRulerView &ruler, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mousePress(&ruler, Qt::LeftButton, modifiers, from);
    for (QPoint p : {(from + to) / 2, to}) {
        QMouseEvent move(QEvent::MouseMove, p, ruler.mapToGlobal(p), Qt::NoButton, Qt::LeftButton, modifiers);
        QApplication::sendEvent(&ruler, &move);
    }
    QTest::mouseRelease(&ruler, Qt::LeftButton, modifiers, to);
    QCoreApplication::processEvents();
}

// The last word shown on screen in the canvas rectangle (dark ink with no gap of 5 pixels
// or more), as gaps from the rectangle's left and right edges; -1 without ink. Dots the
// editor draws before a line set in from the left stand apart and do not count.
std::pair<int, int> lastWordGaps(VekView &view, const Rect &area)
{
    view.viewport()->repaint();
    const double scale = view.rulerCanvasScale();
    const QPointF origin = view.rulerCanvasOrigin();
    const QRect pixels = QRectF(origin.x() + area.minX() * scale, origin.y() + area.minY() * scale,
                                area.width() * scale, area.height() * scale)
                             .toAlignedRect();
    const QImage shot = view.viewport()->grab(pixels).toImage();
    int first = -1, last = -1;
    for (int x = 0; x < shot.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < shot.height() && !ink; ++y)
            ink = qGray(shot.pixel(x, y)) < 110;
        if (!ink)
            continue;
        if (first < 0 || x - last > 5)
            first = x;
        last = x;
    }
    return {first, first < 0 ? -1 : shot.width() - 1 - last};
}

// The lower line of a two-line box, 3 points in from its sides.
Rect lowerLine(const Rect &box)
{
    return Rect(box.minX() + 3, box.midY() + 2, box.width() - 6, box.height() / 2 - 4);
}

} // namespace

TEST_F(RulersTest, TheSelectionsMarkersResizeAndMoveItOneUndoStepADrag)
{
    VekDocumentWindow &window = startLarge();
    CanvasDriver canvas(window);
    VekView &view = window.vekView();
    ASSERT_TRUE(view.rulersVisible());
    drawRectangle(canvas, {100, 100}, {300, 200});
    canvas.click(150, 100);   // on its top edge, beside the knob in its middle
    ASSERT_EQ(view.selectedObjects().size(), 1u);
    const auto object = view.selectedObjects().front();
    const Rect drawn = object->bounds();
    VekRulerView &horizontal = view.rulerHost().horizontalRuler();
    VekRulerView &vertical = view.rulerHost().verticalRuler();
    ASSERT_EQ(horizontal.markers().size(), 2u);
    EXPECT_EQ(horizontal.markerRepresenting(rulerEdgeName(RulerEdge::Left))->location(), drawn.minX());
    EXPECT_EQ(horizontal.markerRepresenting(rulerEdgeName(RulerEdge::Right))->location(), drawn.maxX());
    EXPECT_EQ(vertical.markerRepresenting(rulerEdgeName(RulerEdge::Bottom))->location(), drawn.maxY());

    // The right marker 40 pixels on: the right edge follows, the left one stays.
    const double scale = view.rulerCanvasScale();
    const QPoint right = markerPoint(horizontal, RulerEdge::Right);
    dragOnRuler(horizontal, right, right + QPoint(40, 0));
    const Rect resized = object->bounds();
    EXPECT_EQ(resized.minX(), drawn.minX());
    EXPECT_NEAR(resized.width(), drawn.width() + 40 / scale, 1.0);
    EXPECT_EQ(horizontal.markerRepresenting(rulerEdgeName(RulerEdge::Right))->location(), resized.maxX());

    // With Shift the top marker moves the box down; its height stays.
    const QPoint top = markerPoint(vertical, RulerEdge::Top);
    dragOnRuler(vertical, top, top + QPoint(0, 30), Qt::ShiftModifier);
    const Rect moved = object->bounds();
    EXPECT_NEAR(moved.minY(), resized.minY() + 30 / scale, 1.0);
    EXPECT_EQ(moved.height(), resized.height());
    EXPECT_EQ(vertical.markerRepresenting(rulerEdgeName(RulerEdge::Bottom))->location(), moved.maxY());

    // Each drag was one step: undo all, then redo all.
    canvas.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(object->bounds(), resized);
    canvas.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(object->bounds(), drawn);
    canvas.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    canvas.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(object->bounds(), moved);

    // Without a selection there are no markers.
    canvas.click(700, 600);
    EXPECT_TRUE(view.selectedObjects().empty());
    EXPECT_TRUE(horizontal.markers().empty());
    EXPECT_TRUE(vertical.markers().empty());
}

TEST_F(RulersTest, TheTextRulerCentresTheEditedParagraphAddsTabStopsAndGreysWhenEditingEnds)
{
    VekDocumentWindow &window = startLarge();
    CanvasDriver canvas(window);
    VekView &view = window.vekView();
    RulerHost &rulers = view.rulerHost();

    rulersItem(window, QStringLiteral("Hide Rulers"))->trigger();
    ASSERT_FALSE(view.rulersVisible());

    // A text box drawn with the text tool and typed into (two paragraphs), left, then
    // double-clicked again on the short word and typed over.
    chooseTool(QStringLiteral("Text"));
    canvas.drag({100, 100}, {400, 160});
    canvas.type(QStringLiteral("A much longer first line"));
    canvas.key(Qt::Key_Return);
    canvas.type(QStringLiteral("tail"));
    chooseTool(QStringLiteral("Arrow"));
    canvas.click(700, 600);
    ASSERT_EQ(window.document().objects().size(), 1u);
    const auto box = std::dynamic_pointer_cast<VekObjText>(window.document().objects().front());
    ASSERT_TRUE(box);
    ASSERT_FALSE(view.editingObject());
    canvas.doubleClick(box->bounds().minX() + 8, box->bounds().maxY() - 5);
    ASSERT_EQ(view.editingObject(), box);
    canvas.type(QStringLiteral("end"));
    const AttributedString typed = box->contents().text();
    ASSERT_TRUE(typed.string().startsWith(QStringLiteral("A much longer first line")));
    ASSERT_TRUE(typed.string().endsWith(QStringLiteral("end")));
    const int inSecond = typed.length() - 1;

    // Showing the rulers while editing brings the text ruler, enabled, above the scale.
    rulersItem(window, QStringLiteral("Show Rulers"))->trigger();
    ASSERT_TRUE(view.rulersVisible());
    TextRulerAccessory *strip = rulers.textRulerAccessory();
    ASSERT_TRUE(strip);
    EXPECT_TRUE(strip->isActive());
    EXPECT_TRUE(strip->isVisible());
    EXPECT_EQ(rulers.horizontalRuler().height(),
              VekRulerView::ScaleThickness + VekRulerView::MarkerThickness + strip->height());
    EXPECT_TRUE(strip->alignmentButton(TextAlignment::Left)->isChecked());

    // The centre control centres the edited paragraph: on screen the short word stands in
    // the middle below the long line.
    const auto [leftBefore, rightBefore] = lastWordGaps(view, lowerLine(box->bounds()));
    ASSERT_GE(leftBefore, 0);
    EXPECT_GT(rightBefore - leftBefore, 40);
    QTest::mouseClick(strip->alignmentButton(TextAlignment::Center), Qt::LeftButton);
    QCoreApplication::processEvents();
    const auto alignmentAt = [&](int index) {
        return box->contents().text().attributesAt(index).paragraphStyle.value_or(ParagraphStyle{}).alignment;
    };
    EXPECT_EQ(alignmentAt(inSecond), TextAlignment::Center);
    EXPECT_EQ(alignmentAt(0), TextAlignment::Natural);
    EXPECT_TRUE(strip->alignmentButton(TextAlignment::Center)->isChecked());
    EXPECT_EQ(window.document().undoManager()->undoActionName(), QStringLiteral("Set Alignment"));
    const auto [leftAfter, rightAfter] = lastWordGaps(view, lowerLine(box->bounds()));
    EXPECT_GT(leftAfter, leftBefore + 15);
    EXPECT_NEAR(leftAfter, rightAfter, 4);
    const AttributedString centred = box->contents().text();

    // A click on the band of the text ruler, 100 points into the text, adds a left tab stop.
    const std::optional<double> at100 = strip->positionOfTextLocation(100);
    ASSERT_TRUE(at100);
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(int(*at100), strip->band().bottom() - 3));
    QCoreApplication::processEvents();
    const QList<TextTab> tabs = box->contents().text().attributesAt(inSecond).paragraphStyle->tabStops;
    ASSERT_EQ(tabs.size(), 1);
    EXPECT_EQ(tabs.front().type, TextTabType::Left);
    EXPECT_NEAR(tabs.front().location, 100, 1);
    EXPECT_EQ(window.document().undoManager()->undoActionName(), QStringLiteral("Add Tab Stop"));
    const AttributedString tabbed = box->contents().text();

    // Undo all and redo all give back the exact runs.
    canvas.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box->contents().text(), centred);
    canvas.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box->contents().text(), typed);
    canvas.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    canvas.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(box->contents().text(), tabbed);

    // Editing ends: the strip stays, greyed, and changes nothing.
    canvas.click(700, 600);
    ASSERT_FALSE(view.editingObject());
    strip = rulers.textRulerAccessory();
    ASSERT_TRUE(strip);
    EXPECT_FALSE(strip->isActive());
    EXPECT_FALSE(strip->isEnabled());
    EXPECT_FALSE(strip->alignmentButton(TextAlignment::Right)->isEnabled());
    EXPECT_FALSE(strip->positionOfTextLocation(0));
    EXPECT_EQ(box->contents().text(), tabbed);

    // Hiding the rulers drops the strip; showing them with nothing edited brings none.
    rulersItem(window, QStringLiteral("Hide Rulers"))->trigger();
    EXPECT_FALSE(rulers.horizontalRuler().accessoryView());
    rulersItem(window, QStringLiteral("Show Rulers"))->trigger();
    EXPECT_TRUE(view.rulersVisible());
    EXPECT_FALSE(rulers.horizontalRuler().accessoryView());

    // Editing again with the rulers shown brings the text ruler at once, showing the
    // paragraph clicked into.
    canvas.doubleClick(box->bounds().midX(), box->bounds().maxY() - 5);
    ASSERT_EQ(view.editingObject(), box);
    // The strip comes once the click is released (it moves the canvas down) and catches up
    // with the paragraph as the canvas redraws the edited text.
    const auto centreShown = [&] {
        const TextRulerAccessory *shown = rulers.textRulerAccessory();
        return shown && shown->isActive() && shown->alignmentButton(TextAlignment::Center)->isChecked();
    };
    EXPECT_TRUE(QTest::qWaitFor(centreShown));
    // The double-click selected the word under it, though the canvas moved afterwards.
    EXPECT_EQ(view.rulerTextEditor()->selectedRange(), TextRange({inSecond - 2, 3}));
}
