// The grab area: starting and adjusting it by its corners, the question after the drag,
// its label and overlay; and the screen capture's session check.
#include "canvas/grab_area.h"
#include "canvas/screen_capture.h"

#include "platform/graphics/graphics_context.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// Scripted answers to the question, and what was saved.
struct Dialog {
    GrabChoice answer = GrabChoice::Save;
    int asked = 0;
    std::vector<Rect> saved;
    GrabArea::Question ask()
    {
        return [this] {
            ++asked;
            return answer;
        };
    }
    GrabArea::SaveHandler save()
    {
        return [this](const Rect &area) { saved.push_back(area); };
    }
};

// A grab area from (10, 10) to (60, 40), adjusted afterwards.
GrabArea dragged(Dialog &dialog)
{
    GrabArea grab;
    grab.begin();
    grab.mouseDown({10, 10});
    grab.mouseDragged({30, 30});
    dialog.answer = GrabChoice::Adjust;
    EXPECT_EQ(grab.mouseUp({60, 40}, dialog.ask(), dialog.save()), GrabOutcome::Adjusting);
    EXPECT_EQ(grab.bounds(), Rect(10, 10, 50, 30));
    return grab;
}

} // namespace

TEST(GrabArea, ModeStartsWithoutAPointAndEndsAtTheZeroPoint)
{
    GrabArea grab;
    EXPECT_FALSE(grab.end());
    grab.begin();
    EXPECT_TRUE(grab.isActive());
    EXPECT_EQ(grab.grabPoint(), NoPoint);
    grab.mouseMovedTo({5, 6});
    grab.mouseMovedTo({9, 9});   // only the first position places the area
    EXPECT_EQ(grab.bounds(), Rect(5, 6, 0, 0));
    EXPECT_EQ(grab.grabPoint(), Point(5, 6));
    EXPECT_TRUE(grab.end());
    EXPECT_FALSE(grab.isActive());
    EXPECT_EQ(grab.grabPoint(), Point());
    EXPECT_EQ(grab.bounds(), Rect());
}

TEST(GrabArea, ClicksOnCornersMoveThatCornerAndElsewhereTheBottomRight)
{
    struct Case {
        Point click, dragTo;
        int corner;
        Rect result;
    };
    const Case cases[] = {
        {{11, 9}, {0, 0}, 2, {0, 0, 60, 40}},      // top left
        {{59, 11}, {70, 0}, 1, {10, 0, 60, 40}},   // top right
        {{9, 41}, {0, 50}, 3, {0, 10, 60, 40}},    // bottom left
        {{61, 39}, {70, 50}, 0, {10, 10, 60, 40}}, // bottom right
        {{30, 20}, {40, 30}, 0, {10, 10, 30, 20}}, // inside: the bottom right jumps
        {{20, 8}, {40, 30}, 0, {10, 10, 30, 20}},  // just outside the corner square
    };
    for (const Case &c : cases) {
        Dialog dialog;
        GrabArea grab = dragged(dialog);
        grab.mouseDown(c.click);
        EXPECT_EQ(grab.corner(), c.corner);
        grab.mouseDragged(c.dragTo);
        EXPECT_EQ(grab.bounds(), c.result);
        EXPECT_EQ(grab.grabPoint(), c.dragTo);
    }
}

TEST(GrabArea, TheAnswerSavesCancelsOrKeepsTheArea)
{
    Dialog dialog;
    GrabArea grab = dragged(dialog);
    EXPECT_TRUE(grab.isActive());
    EXPECT_TRUE(dialog.saved.empty());

    grab.mouseDown({61, 41});
    dialog.answer = GrabChoice::Save;
    EXPECT_EQ(grab.mouseUp({80, 50}, dialog.ask(), dialog.save()), GrabOutcome::Saved);
    EXPECT_EQ(dialog.saved, std::vector<Rect>{Rect(10, 10, 70, 40)});
    EXPECT_TRUE(grab.isActive());   // the document ends the mode once it has saved

    grab.mouseDown({81, 51});
    dialog.answer = GrabChoice::Cancel;
    EXPECT_EQ(grab.mouseUp({80, 50}, dialog.ask(), dialog.save()), GrabOutcome::Ended);
    EXPECT_FALSE(grab.isActive());
    EXPECT_EQ(dialog.asked, 3);
}

TEST(GrabArea, AnAreaBelowTwoByTwoEndsWithoutAsking)
{
    for (const Point end : {Point{11.9f, 30}, Point{30, 11.9f}, Point{10, 10}}) {
        Dialog dialog;
        GrabArea grab;
        grab.begin();
        grab.mouseDown({10, 10});
        EXPECT_EQ(grab.mouseUp(end, dialog.ask(), dialog.save()), GrabOutcome::Ended);
        EXPECT_EQ(dialog.asked, 0);
        EXPECT_FALSE(grab.isActive());
    }
}

TEST(GrabArea, LabelShowsThePositionAndSizeBesideTheGrabPoint)
{
    GrabArea grab;
    grab.begin();
    grab.mouseMovedTo({12.7f, 30.2f});
    EXPECT_EQ(grab.label(), QStringLiteral(" 12 30 "));
    grab.mouseDown({12.7f, 30.2f});
    grab.mouseDragged({62.9f, 50.5f});
    EXPECT_EQ(grab.label(), QStringLiteral(" 62 50 50 20 "));
    EXPECT_EQ(GrabArea::labelFontSize(72), 8);
    EXPECT_EQ(GrabArea::labelFontSize(150), 16);
    // Dragged right and down: the label ends at the grab point.
    EXPECT_EQ(grab.labelOrigin({30, 10}), Point(62.9f - 30, 50.5f - 10));
    // Dragged up and left of the anchor: the area begins at the grab point.
    grab.mouseDragged({2, 3});
    EXPECT_EQ(grab.labelOrigin({30, 10}), Point(2, 3));
}

TEST(GrabArea, OverlayFramesTheAreaInRedWithCornerKnobs)
{
    ensureGuiApp();
    GrabArea grab;
    grab.begin();
    grab.mouseDown({10, 10});
    grab.mouseDragged({90, 60});
    QImage image(100, 80, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    FakeCanvas view;
    {
        GraphicsContext context(image);
        GraphicsContext::Scope scope(context);
        grab.drawOverlay(context, view, 72);
    }
    ASSERT_EQ(view.knobsDrawn.size(), 4u);
    EXPECT_EQ(view.knobsDrawn[3].first, Point(90, 60));
    EXPECT_EQ(view.knobsDrawn[0].second, Color::redColor());
    // The hairline at y 10 covers the rows on both sides of it in part.
    const QColor frame = image.pixelColor(50, 10);
    EXPECT_EQ(frame.red(), 255);
    EXPECT_LT(frame.green(), 200);
    EXPECT_EQ(image.pixelColor(50, 35), QColor(Qt::white));   // the inside stays clear
}

TEST(ScreenCapture, WaylandSessionsGetAClearReasonAndX11None)
{
    EXPECT_TRUE(screenCaptureUnavailableReason(QStringLiteral("xcb")).isEmpty());
    for (const QString &name : {QStringLiteral("wayland"), QStringLiteral("wayland-egl")}) {
        const QString reason = screenCaptureUnavailableReason(name);
        EXPECT_TRUE(reason.contains(QStringLiteral("Wayland")));
        EXPECT_TRUE(reason.contains(QStringLiteral("xcb")));
    }
}

TEST(ScreenCapture, AFailedCaptureSaysWhy)
{
    ensureGuiApp();
    const ScreenCapture capture = captureScreenArea(QRect(0, 0, 0, 0));
    EXPECT_TRUE(capture.image.isNull());
    EXPECT_FALSE(capture.error.isEmpty());
}
