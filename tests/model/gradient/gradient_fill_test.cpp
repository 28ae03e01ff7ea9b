// Tests of the gradient fill: the model made from stored stops, and the gradient drawn inside a path.
#include "model/gradient/gradient_fill.h"

#include "model/gradient/vek_gradient_view.h"
#include "model/vek_object.h"
#include "platform/foundation/archiving.h"
#include "platform/graphics/graphics_context.h"

#include <gtest/gtest.h>

namespace {

TEST(GradientFillTest, ModelFromStoredStopsDrawsInsideThePathAtTheAlpha)
{
    auto object = VekObject::create();
    PropertyList colors, shares;
    for (const Color &c : {Color::colorWithCalibratedRed(1, 0, 0), Color::colorWithCalibratedRed(0, 0, 1)})
        colors.append(PropertyList::fromData(*archivedDataWithRootObject(c).value));
    shares.append(PropertyList::fromFloat(1));
    const auto model = makeGradientModel(object, shares, colors);
    EXPECT_EQ(model->vekObject(), object);
    ASSERT_EQ(model->colors().size(), 2u);
    EXPECT_EQ(model->colorProportion(), std::vector<float>{1});

    QImage image(40, 30, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        GraphicsContext context(image);
        GraphicsContext::Scope scope(context);
        BezierPath path;
        path.appendBezierPathWithOvalInRect(Rect(10, 10, 20, 10));
        drawGradientFill(*model, path, GradientLinear, 0, 0, Point(), false, 0.5f);
    }
    const QColor left = image.pixelColor(12, 15);
    EXPECT_GT(left.redF(), 0.8);
    EXPECT_NEAR(left.alpha(), 128, 3);
    EXPECT_GT(image.pixelColor(28, 15).blueF(), 0.8);
    EXPECT_EQ(image.pixelColor(5, 5).alpha(), 0);
    EXPECT_EQ(image.pixelColor(10, 10).alpha(), 0);   // the oval's corner stays empty

    // One colour renders nothing, so nothing is drawn.
    PropertyList one;
    one.append(colors.at(0));
    model->setGradColors(one);
    QImage untouched(8, 8, QImage::Format_ARGB32_Premultiplied);
    untouched.fill(Qt::transparent);
    {
        GraphicsContext context(untouched);
        GraphicsContext::Scope scope(context);
        BezierPath path;
        path.appendBezierPathWithRect(Rect(0, 0, 8, 8));
        drawGradientFill(*model, path, GradientLinear, 0, 0, Point(), false, 1);
    }
    EXPECT_EQ(untouched.pixelColor(4, 4).alpha(), 0);
}

} // namespace
