// Tests of the gradient model: the renderers' orientation, stop proportions, and undoable stop edits.
#include "model/gradient/vek_gradient_view.h"

#include "model/services/shell_services.h"
#include "platform/foundation/archiving.h"
#include "tests/model/fakes.h"
#include "toolkit/cmyk_color.h"

#include <gtest/gtest.h>

namespace {

const Color red = Color::colorWithCalibratedRed(1, 0, 0);
const Color blue = Color::colorWithCalibratedRed(0, 0, 1);
const Color white = Color::colorWithCalibratedRed(1, 1, 1);

// How red a pixel is against blue: 1 all red, 0 all blue.
float redness(const QImage &image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return float(c.redF()) / std::max(0.001f, float(c.redF() + c.blueF()));
}

std::vector<Rect> stopsAt(std::initializer_list<float> xs)
{
    std::vector<Rect> rects;
    for (float x : xs)
        rects.push_back(Rect(x, VekGradientView::stopRowY(), 4, 4));
    return rects;
}

std::shared_ptr<VekGradientView> redToBlue()
{
    auto model = std::make_shared<VekGradientView>(gGradViewSize);
    model->setStops({red, blue}, stopsAt({2, 178}));
    return model;
}

TEST(VekGradientViewTest, StripGeometryAndDefaults)
{
    VekGradientView model(gGradViewSize);
    EXPECT_EQ(VekGradientView::gradientArea(), Rect(2, 2, 182, 26));
    EXPECT_FLOAT_EQ(VekGradientView::stopRowY(), 29.5f);
    ASSERT_EQ(model.colors().size(), 2u);
    EXPECT_EQ(model.stopRects(), stopsAt({2, 178}));
    EXPECT_EQ(model.colors()[1], Color::colorWithCalibratedRed(0.1f, 0.5f, 1.0f));
    EXPECT_EQ(model.sampleImage().size(), QSize(182, 26));
    EXPECT_EQ(model.selectedCRIndex(), -1);
}

TEST(VekGradientViewTest, LinearRunsAlongTheAngleCountingUpwards)
{
    const auto model = redToBlue();
    const QImage across = model->gradient(GradientLinear, Size(40, 20), 0, 0, Point(), false);
    ASSERT_EQ(across.size(), QSize(40, 20));
    EXPECT_GT(redness(across, 0, 10), 0.9f);
    EXPECT_LT(redness(across, 39, 10), 0.1f);
    EXPECT_NEAR(redness(across, 0, 0), redness(across, 0, 19), 0.01f);

    // 90 degrees turns it to run upwards: red at the bottom, blue at the top.
    const QImage up = model->gradient(GradientLinear, Size(40, 20), 0, 90, Point(), false);
    EXPECT_GT(redness(up, 20, 19), 0.9f);
    EXPECT_LT(redness(up, 20, 0), 0.1f);

    // Flip 1 swaps the ends.
    const QImage flipped = model->gradient(GradientLinear, Size(40, 20), 1, 0, Point(), false);
    EXPECT_LT(redness(flipped, 0, 10), 0.1f);

    // With a centre offset the gradient runs between the turned corners and covers all.
    const QImage shifted = model->gradient(GradientLinear, Size(40, 20), 0, 0, Point(0.5f, 0), false);
    EXPECT_EQ(shifted.pixelColor(0, 0).alpha(), 255);
    EXPECT_EQ(shifted.pixelColor(39, 19).alpha(), 255);
}

TEST(VekGradientViewTest, CentredTypesPutTheFirstColourAtTheirCentre)
{
    const auto model = redToBlue();
    const Size size(40, 20);
    // Angular: squares about the centre, moved right by a quarter of the width.
    const QImage angular = model->gradient(GradientAngular, size, 0, 0, Point(0.25f, 0), false);
    EXPECT_GT(redness(angular, 30, 10), 0.9f);
    EXPECT_GT(redness(angular, 30, 10), redness(angular, 10, 10) + 0.3f);

    // Circular: a positive y offset moves the centre down.
    const QImage circular = model->gradient(GradientCircular, size, 0, 0, Point(0, 0.25f), false);
    EXPECT_GT(redness(circular, 20, 15), 0.8f);
    EXPECT_GT(redness(circular, 20, 15), redness(circular, 20, 5) + 0.3f);
    EXPECT_LT(redness(circular, 0, 0), 0.1f);

    // Oval: the centre lies on the bottom edge.
    const QImage oval = model->gradient(GradientOval, size, 0, 0, Point(), false);
    EXPECT_GT(redness(oval, 20, 19), 0.95f);
    EXPECT_GT(redness(oval, 20, 19), redness(oval, 20, 0) + 0.3f);
}

TEST(VekGradientViewTest, RadialSweepsClockwiseOnScreen)
{
    const auto model = redToBlue();
    // Rotation -90 starts the sweep pointing right; a quarter turn later it points down.
    const QImage radial = model->gradient(GradientRadial, Size(40, 40), 0, -90, Point(), false);
    ASSERT_FALSE(radial.isNull());
    EXPECT_NEAR(redness(radial, 20, 35), 0.75f, 0.08f);
    EXPECT_NEAR(redness(radial, 5, 20), 0.5f, 0.08f);
    EXPECT_NEAR(redness(radial, 20, 5), 0.25f, 0.08f);
    // The rays end on a circle about the image's origin, so the start ray climbs a little;
    // above it the sweep ends in blue.
    EXPECT_GT(redness(radial, 38, 19), 0.9f);
    EXPECT_LT(redness(radial, 38, 10), 0.1f);
}

TEST(VekGradientViewTest, CmykRenderingMixesInk)
{
    auto model = std::make_shared<VekGradientView>(gGradViewSize);
    model->setStops({Color::colorWithDeviceCyan(0, 1, 1, 0, 1), Color::colorWithDeviceCyan(1, 1, 0, 0, 1)},
                    stopsAt({2, 178}));
    for (int type = GradientLinear; type <= GradientRadial; ++type) {
        const QImage image = model->gradient(type, Size(16, 8), 0, 0, Point(), true);
        ASSERT_FALSE(image.isNull()) << type;
        EXPECT_EQ(image.pixelColor(8, 4).alpha(), 255) << type;
    }
}

TEST(VekGradientViewTest, NothingIsRenderedForUnusableStopsOrSizes)
{
    const auto model = redToBlue();
    EXPECT_TRUE(model->gradient(GradientLinear, Size(0.5f, 10), 0, 0, Point(), false).isNull());
    EXPECT_TRUE(model->gradient(6, Size(10, 10), 0, 0, Point(), false).isNull());
    EXPECT_TRUE(model->gradient(GradientNone, Size(10, 10), 0, 0, Point(), false).isNull());
    model->setStops({red}, stopsAt({2}));
    EXPECT_TRUE(model->gradient(GradientLinear, Size(10, 10), 0, 0, Point(), false).isNull());
    model->setStops({red, blue, white}, stopsAt({2, 178}));
    EXPECT_TRUE(model->gradient(GradientAngular, Size(10, 10), 0, 0, Point(), false).isNull());

    // Fewer than two archived colours leave none.
    PropertyList one;
    one.append(PropertyList::fromData(*archivedDataWithRootObject(red).value));
    model->setGradColors(one);
    EXPECT_TRUE(model->colors().empty());
}

TEST(VekGradientViewTest, FlipReversesColoursAndProportions)
{
    auto model = std::make_shared<VekGradientView>(gGradViewSize);
    model->setColorRectsWithProportion(std::vector<float>{0.25f, 0.75f});
    PropertyList colors;
    for (const Color &c : {white, red, blue})
        colors.append(PropertyList::fromData(*archivedDataWithRootObject(c).value));
    model->setGradColors(colors);
    EXPECT_EQ(model->colorProportion(), (std::vector<float>{0.25f, 0.75f}));
    EXPECT_EQ(model->gradColors(), colors);
    // Reversed, red sits at 0.75: three quarters of the way across it is red.
    const QImage flipped = model->gradient(GradientLinear, Size(101, 4), 1, 0, Point(), false);
    EXPECT_LT(redness(flipped, 0, 2), 0.05f);
    const QColor atRed = flipped.pixelColor(75, 2);
    EXPECT_GT(atRed.redF(), 0.95);
    EXPECT_LT(atRed.greenF(), 0.05);
}

TEST(VekGradientViewTest, LocationsAreCappedAndShortListsRefused)
{
    const auto g = VekGradientView::gradientWithColors({red, white, blue, red}, {0.8f, 0.7f, 0.1f}, false);
    ASSERT_TRUE(g);
    EXPECT_FLOAT_EQ(g->locationAtStop(1), 0.8f);
    EXPECT_FLOAT_EQ(g->locationAtStop(2), 1.0f);
    EXPECT_TRUE(VekGradientView::gradientWithColors({red, white, blue}, {1.0f}, false));
    EXPECT_FALSE(VekGradientView::gradientWithColors({red, white, blue, red}, {0.5f}, false));
}

TEST(VekGradientViewTest, ProportionsSurviveRepeatedSaveAndReopen)
{
    // Each cycle: the shares a document stores -> a new model laid out from them -> its shares.
    for (const std::vector<float> &start : {std::vector<float>{0.3f, 0.7f}, std::vector<float>{0.1f, 0.2f, 0.33f, 0.37f},
                                            std::vector<float>{1.0f / 3, 1.0f / 3, 1.0f / 3}}) {
        auto model = std::make_shared<VekGradientView>(gGradViewSize);
        model->setColorRectsWithProportion(start);
        const std::vector<Rect> squares = model->stopRects();
        std::vector<float> shares = model->colorProportion();
        for (int cycle = 0; cycle < 5; ++cycle) {
            auto reopened = std::make_shared<VekGradientView>(gGradViewSize);
            reopened->setColorRectsWithProportion(shares);
            shares = reopened->colorProportion();
            EXPECT_EQ(reopened->stopRects(), squares);
        }
        EXPECT_EQ(shares, start);
    }

    // Squares placed by hand (an edit) give shares of the span between the end stops, and
    // laying them out again puts the squares back.
    auto edited = std::make_shared<VekGradientView>(gGradViewSize);
    edited->setStops({red, white, blue}, stopsAt({2, 46, 178}));
    EXPECT_EQ(edited->colorProportion(), (std::vector<float>{0.25f, 0.75f}));
    auto reopened = std::make_shared<VekGradientView>(gGradViewSize);
    reopened->setColorRectsWithProportion(edited->colorProportion());
    EXPECT_EQ(reopened->stopRects(), edited->stopRects());

    // Damaged shares still give squares in order on the row.
    reopened->setColorRectsWithProportion(std::vector<float>{-0.5f, 2.0f, 0.1f});
    const auto &rects = reopened->stopRects();
    for (size_t i = 1; i < rects.size(); ++i)
        EXPECT_LE(rects[i - 1].origin.x, rects[i].origin.x);
    EXPECT_EQ(rects.back().origin.x, 178);
}

class GradientEditing : public ::testing::Test {
protected:
    FakeDocument doc;
    std::shared_ptr<VekObject> object = VekObject::create();
    std::shared_ptr<VekGradientView> model = redToBlue();

    void SetUp() override
    {
        doc.adopt(object);
        model->setVekObject(object);
    }
    void step() { doc.undo.closeEventGroup(); }
};

TEST_F(GradientEditing, InsertTakesTheLeftColourAndUndoes)
{
    EXPECT_FALSE(model->insertStopAt(Point(1, 30)));
    EXPECT_FALSE(model->insertStopAt(Point(179, 30)));
    ASSERT_TRUE(model->insertStopAt(Point(90, 30)));
    step();
    EXPECT_EQ(model->colors(), (std::vector<Color>{red, red, blue}));
    EXPECT_EQ(model->stopRects(), stopsAt({2, 90, 178}));
    EXPECT_EQ(model->selectedCRIndex(), 1);
    doc.undo.undo();
    EXPECT_EQ(model->stopRects(), stopsAt({2, 178}));
    EXPECT_EQ(model->selectedCRIndex(), -1);
    doc.undo.redo();
    EXPECT_EQ(model->stopRects(), stopsAt({2, 90, 178}));
}

TEST_F(GradientEditing, DragMovesInteriorStopsBetweenNeighboursInOneStep)
{
    model->setStops({red, white, blue}, stopsAt({2, 90, 178}));
    model->setSelectedCRIndex(0);
    EXPECT_FALSE(model->beginStopMove());
    model->setSelectedCRIndex(1);
    ASSERT_TRUE(model->beginStopMove());
    EXPECT_TRUE(model->moveSelectedStopTo(60));
    EXPECT_TRUE(model->moveSelectedStopTo(120));
    EXPECT_FALSE(model->moveSelectedStopTo(178));
    EXPECT_FALSE(model->moveSelectedStopTo(1));
    step();
    EXPECT_EQ(model->stopRects(), stopsAt({2, 120, 178}));
    doc.undo.undo();
    EXPECT_EQ(model->stopRects(), stopsAt({2, 90, 178}));
}

TEST_F(GradientEditing, DeleteRemovesOnlyInteriorStops)
{
    model->setSelectedCRIndex(1);
    EXPECT_FALSE(model->doEventForChar(0x7F, 0));   // two stops stay two
    model->setStops({red, white, blue}, stopsAt({2, 90, 178}));
    model->setSelectedCRIndex(2);
    EXPECT_FALSE(model->doEventForChar(0x7F, 0));
    model->setSelectedCRIndex(1);
    EXPECT_FALSE(model->doEventForChar(u'a', 0));
    ASSERT_TRUE(model->doEventForChar(0x7F, 0));
    step();
    EXPECT_EQ(model->colors(), (std::vector<Color>{red, blue}));
    EXPECT_EQ(model->selectedCRIndex(), -1);
    doc.undo.undo();
    EXPECT_EQ(model->colors(), (std::vector<Color>{red, white, blue}));
}

TEST_F(GradientEditing, RecolouringConvertsToRgbAndNeedsAnObject)
{
    EXPECT_FALSE(model->changeSelectedRectColorTo(white));   // no selection
    model->setSelectedCRIndex(0);
    EXPECT_FALSE(model->changeSelectedRectColorTo(red));     // the same colour
    ASSERT_TRUE(model->changeSelectedRectColorTo(Color::colorWithDeviceCyan(0, 0, 0, 0, 1)));
    EXPECT_EQ(model->colors()[0].colorSpaceName(), rgbColor(white).colorSpaceName());
    step();
    doc.undo.undo();
    EXPECT_EQ(model->colors()[0], red);

    // Without an object nothing is edited.
    auto loose = redToBlue();
    loose->setSelectedCRIndex(0);
    EXPECT_FALSE(loose->changeSelectedRectColorTo(white));
    EXPECT_FALSE(loose->insertStopAt(Point(90, 30)));
}

} // namespace
