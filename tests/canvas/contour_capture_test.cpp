// The contour tool's capture: redraw areas, the closing question, the path object made from
// the points, and its undo.
#include "canvas/contour_capture.h"

#include "model/vek_obj_path.h"
#include "tests/canvas/command_fixture.h"
#include "tests/support/path_helpers.h"

namespace {

// Answers the closing question and counts how often it was asked.
struct ScriptedQuestion {
    bool answer = true;
    int asked = 0;
    ContourCloseQuestion ask()
    {
        return [this] {
            ++asked;
            return answer;
        };
    }
};

// Whether the path ends where it starts (a closed outline).
bool endsAtStart(const BezierPath &path)
{
    const Point start = path.element(0).endPoint();
    for (int i = path.elementCount() - 1; i >= 0; --i)
        if (path.element(i).kind != ClosePathBezierPathElement)
            return pointNear(path.element(i).endPoint(), start, 0.01f);
    return false;
}

} // namespace

TEST(ContourCapture, ClicksCollectPointsAndAnswerTheAreaToRedraw)
{
    ContourCapture capture;
    EXPECT_EQ(capture.continueContourAt({5, 5}), Rect());   // nothing under way
    EXPECT_FALSE(capture.isCapturing());

    EXPECT_EQ(capture.startContourAt({10, 20}), Rect(3, 13, 14, 14));
    EXPECT_EQ(capture.continueContourAt({50, 20}), Rect(5, 15, 50, 10));
    ASSERT_TRUE(capture.contour());
    EXPECT_EQ(capture.contour()->count(), 2);

    capture.startContourAt({0, 0});   // a new capture drops the old one
    EXPECT_EQ(capture.contour()->count(), 1);
    capture.cancel();
    EXPECT_FALSE(capture.isCapturing());
}

TEST(ContourCapture, FinishMakesOneSmoothPathObjectInFrontUndoneExactly)
{
    CommandFixture f;
    const auto behind = f.add({0, 0, 5, 5});
    f.settle();
    ContourCapture capture;
    ScriptedQuestion question;
    capture.startContourAt({10, 10});
    for (const Point p : {Point{60, 10}, Point{60, 60}, Point{20, 50}})
        capture.continueContourAt(p);
    auto context = f.context();
    const auto object = capture.finish(context, question.ask());
    f.step();

    ASSERT_TRUE(object);
    EXPECT_FALSE(capture.isCapturing());
    EXPECT_EQ(question.asked, 1);
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{object.get(), behind.get()}));
    EXPECT_EQ(object->className(), QStringLiteral("VekObjPath"));
    EXPECT_TRUE(endsAtStart(object->bezierPath()));
    // Smoothed into curves, through the refined points, within the clicked area.
    const std::vector<int> elementKinds = kinds(object->bezierPath());
    EXPECT_NE(std::find(elementKinds.begin(), elementKinds.end(), 2), elementKinds.end());
    const Rect b = object->bounds();
    EXPECT_GT(b.width(), 30);
    EXPECT_TRUE(pointInRect({b.origin.x + 1, b.origin.y + 1}, Rect(0, 0, 70, 70)));
    EXPECT_EQ(f.host.selected, std::vector<std::shared_ptr<VekObject>>{object});
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Create Object"));

    f.undo();
    EXPECT_EQ(f.order(), std::vector<VekObject *>{behind.get()});
    f.redo();
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{object.get(), behind.get()}));
}

TEST(ContourCapture, ClosingIsOfferedOnlyWhenTheEndsLieApartOnBothAxes)
{
    struct Case {
        std::vector<Point> points;
        bool asked;
    };
    const Case cases[] = {
        {{{0, 0}, {40, 20}, {10, 10}}, true},
        {{{0, 0}, {40, 20}, {1, 50}}, false},       // straight below the start
        {{{0, 0}, {40, 20}, {2.9f, 2.9f}}, false},  // 2.9 counts as 2
        {{{0, 0}, {40, 20}}, false},                // two points
    };
    for (const Case &c : cases) {
        CommandFixture f;
        f.settle();
        ContourCapture capture;
        ScriptedQuestion question;
        question.answer = false;
        capture.startContourAt(c.points.front());
        for (size_t i = 1; i < c.points.size(); ++i)
            capture.continueContourAt(c.points[i]);
        auto context = f.context();
        const auto object = capture.finish(context, question.ask());
        ASSERT_TRUE(object);
        EXPECT_EQ(question.asked, c.asked ? 1 : 0);
        // "No" (or no question) leaves the path open.
        EXPECT_FALSE(endsAtStart(object->bezierPath()));
    }
}

TEST(ContourCapture, OnePointMakesNothing)
{
    CommandFixture f;
    f.settle();
    ContourCapture capture;
    capture.startContourAt({10, 10});
    auto context = f.context();
    EXPECT_FALSE(capture.finish(context, {}));
    EXPECT_FALSE(capture.finish(context, {}));   // no capture left
    EXPECT_TRUE(f.doc.objects().empty());
    EXPECT_FALSE(f.doc.undoManager()->canUndo());
}
