// The filter panel's types: their table, sliders from saved parameters, the filters built
// from them and the centre marker mapped into the image.
#include "panels/filters/filter_types.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

TEST(FilterTypes, NamesAndNumbersMatchBothWays)
{
    EXPECT_EQ(filterTypeFor(QStringLiteral("CISpotLight")), 31);
    EXPECT_EQ(filterTypeFor(QStringLiteral("CINotAFilter")), -1);
    EXPECT_EQ(filterNameFor(37), QString());
    EXPECT_EQ(filterNameFor(-1), QString());
    for (int type = 0; type < filterTypeCount; ++type) {
        EXPECT_EQ(filterTypeFor(filterNameFor(type)), type);
        EXPECT_TRUE(ImageFilter::filterWithName(filterNameFor(type))) << type;
    }
}

TEST(FilterTypes, SlidersTakeSavedValuesOrTheirStart)
{
    for (int type : {1, 9, 12, 19})
        EXPECT_TRUE(filterTypeAt(type)->sliders.empty()) << type;
    EXPECT_FLOAT_EQ(filterTypeAt(5)->sliders[0].start, 0.5f);
    EXPECT_STREQ(filterTypeAt(13)->sliders[0].label, "Level");
    EXPECT_STREQ(filterTypeAt(33)->sliders[0].label, "Level");
    EXPECT_DOUBLE_EQ(filterTypeAt(18)->sliders[1].maximum, 12.57);
    // A missing key gives the start; extra keys are ignored.
    EXPECT_EQ(sliderValuesFor(4, {{"inputRadius", 7}, {"inputBogus", 3}}), (std::vector<float>{7, 0.5f}));
    EXPECT_TRUE(sliderValuesFor(40, {}).empty());
}

TEST(FilterTypes, FiltersAreBuiltFromTheSlidersWithEachTypesExtraSteps)
{
    ensureGuiApp();
    QImage source(40, 30, QImage::Format_ARGB32_Premultiplied);
    source.fill(QColor(200, 40, 40));
    for (int type = 0; type < filterTypeCount; ++type) {
        SCOPED_TRACE(type);
        const auto filter = filterForType(type, source, sliderValuesFor(type, {}), Point(20, 15));
        if (type == 32) {
            EXPECT_FALSE(filter);   // no shading image
            continue;
        }
        ASSERT_TRUE(filter);
        // The blur (0), the bloom (23) and the height field (28) reach past the picture by
        // their blur's margin, 3 x the radius of 10 at the sliders' start.
        const int margin = type == 0 || type == 23 || type == 28 ? 30 : 0;
        EXPECT_EQ(filter->outputImage().size(), source.size() + QSize(2, 2) * margin);
    }
    EXPECT_FALSE(filterForType(37, source, {}, Point(0, 0)));

    const auto monochrome = filterForType(10, source, {0.25f, 1}, Point(0, 0));
    EXPECT_EQ(monochrome->color(QStringLiteral("inputColor"), Qt::black), QColor::fromRgbF(0.25f, 0.25f, 0.25f, 1));
    const auto halftone = filterForType(21, source, sliderValuesFor(21, {}), Point(20, 15));
    EXPECT_EQ(halftone->number(QStringLiteral("inputUCR")), 0.5);
    const auto perspective = filterForType(19, source, {}, Point(20, 15));
    EXPECT_EQ(perspective->vector(QStringLiteral("inputBottomRight")), (std::vector<double>{32, 0}));
    QImage shading(16, 16, QImage::Format_ARGB32_Premultiplied);
    shading.fill(Qt::white);
    const auto shaded = filterForType(32, source, {10}, Point(0, 0), shading);
    ASSERT_TRUE(shaded);
    EXPECT_EQ(shaded->name(), QStringLiteral("CIHardLightBlendMode"));
}

TEST(FilterTypes, TheCentreMarkerMapsIntoTheImage)
{
    // Unscaled: the image at (10, 20) in the preview; y counts upwards in the image.
    EXPECT_EQ(selectedCenterFor(Size(100, 80), Point(60, 30), Rect(10, 20, 200, 150)), Point(50, 70));
    // Scaled down by 0.5 into a 100 x 100 preview: the middle lies 7 and 6 pixels off.
    const auto scaled = selectedCenterFor(Size(200, 100), Point(50, 50), Rect(0, 0, 100, 100));
    ASSERT_TRUE(scaled);
    EXPECT_FLOAT_EQ(scaled->x, 107);
    EXPECT_FLOAT_EQ(scaled->y, 56);
    // Outside the image: none (the image's middle is used and the marker goes back).
    EXPECT_FALSE(selectedCenterFor(Size(100, 80), Point(500, 30), Rect(10, 20, 200, 150)));
}
