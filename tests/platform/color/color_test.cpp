// Tests of the colour value: kinds and their space names, equality, alpha and space conversions.
#include "platform/color/color.h"

#include <gtest/gtest.h>

namespace {

struct FakePattern : PatternImage {};

TEST(Color, KindsReportTheirSpaceNameAndComponentCount)
{
    struct Case {
        Color color;
        QString space;
        int components;
    } cases[] = {
        {Color::colorWithCalibratedRed(1, 0, 0), "NSCalibratedRGBColorSpace", 4},
        {Color::colorWithDeviceRed(1, 0, 0), "NSDeviceRGBColorSpace", 4},
        {Color::colorWithCalibratedWhite(0.5f), "NSCalibratedWhiteColorSpace", 2},
        {Color::colorWithDeviceWhite(0.5f), "NSDeviceWhiteColorSpace", 2},
        {Color::colorWithCalibratedBlack(0.5f), "NSCalibratedBlackColorSpace", 2},
        {Color::colorWithDeviceBlack(0.5f), "NSDeviceBlackColorSpace", 2},
        {Color::colorWithDeviceCyan(1, 0, 0, 0), "NSDeviceCMYKColorSpace", 5},
        {Color::colorWithGenericCyan(1, 0, 0, 0), "NSCustomColorSpace", 5},
        {Color::colorWithCatalogName("System", "red", Color::redColor()), "NSNamedColorSpace", 0},
        {Color::colorWithPatternImage(std::make_shared<FakePattern>()), "NSPatternColorSpace", 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.color.colorSpaceName(), c.space);
        EXPECT_EQ(c.color.numberOfComponents(), c.components) << c.space.toStdString();
    }
    EXPECT_EQ(Color().colorSpaceName(), CalibratedWhiteColorSpace);
    EXPECT_EQ(Color().whiteComponent(), 0.0f);
    EXPECT_EQ(Color().alphaComponent(), 1.0f);
}

TEST(Color, ComponentsAreKeptExactlyOutsideTheUsualRange)
{
    const Color c = Color::colorWithDeviceCyan(0.123456f, 1.5f, -0.25f, 0.3f, 0.7f);
    float v[5];
    c.getComponents(v);
    EXPECT_EQ(v[0], 0.123456f);
    EXPECT_EQ(v[1], 1.5f);
    EXPECT_EQ(v[2], -0.25f);
    EXPECT_EQ(v[3], 0.3f);
    EXPECT_EQ(v[4], 0.7f);
}

TEST(Color, EqualityNeedsTheSameSpaceAndComponents)
{
    EXPECT_EQ(Color::colorWithCalibratedRed(0.1f, 0.2f, 0.3f, 0.4f), Color::colorWithCalibratedRed(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_NE(Color::colorWithCalibratedRed(0.1f, 0.2f, 0.3f), Color::colorWithDeviceRed(0.1f, 0.2f, 0.3f));
    EXPECT_NE(Color::colorWithCalibratedRed(0.1f, 0.2f, 0.3f, 1), Color::colorWithCalibratedRed(0.1f, 0.2f, 0.3f, 0.5f));
    EXPECT_NE(Color::colorWithCalibratedWhite(0.5f), Color::colorWithCalibratedBlack(0.5f));
    EXPECT_NE(Color::colorWithDeviceCyan(0, 0, 0, 1), Color::colorWithGenericCyan(0, 0, 0, 1));
    EXPECT_EQ(Color::colorWithGenericCyan(0, 0.5f, 0, 1), Color::colorWithGenericCyan(0, 0.5f, 0, 1));

    // Named colours compare their names, not the colour they stand for.
    EXPECT_EQ(Color::colorWithCatalogName("Crayons", "Sky", Color::blueColor()),
              Color::colorWithCatalogName("Crayons", "Sky", Color::redColor()));
    EXPECT_NE(Color::colorWithCatalogName("Crayons", "Sky", Color::blueColor()),
              Color::colorWithCatalogName("Crayons", "Sea", Color::blueColor()));

    // Pattern colours compare their image by identity.
    auto image = std::make_shared<FakePattern>();
    EXPECT_EQ(Color::colorWithPatternImage(image), Color::colorWithPatternImage(image));
    EXPECT_NE(Color::colorWithPatternImage(image), Color::colorWithPatternImage(std::make_shared<FakePattern>()));

    // A custom space equal in content counts as the same space.
    auto lab1 = std::make_shared<const ColorSpace>(ColorSpaceModel::LAB, 3, "Lab");
    auto lab2 = std::make_shared<const ColorSpace>(ColorSpaceModel::LAB, 3, "Lab");
    const float comps[4] = {50, 10, -10, 1};
    EXPECT_EQ(*Color::colorWithColorSpace(lab1, comps, 4), *Color::colorWithColorSpace(lab2, comps, 4));
}

TEST(Color, CustomSpaceColoursCheckTheirComponentCount)
{
    const float comps[6] = {0.1f, 0.2f, 0.3f, 0.4f, 1, 1};
    EXPECT_FALSE(Color::colorWithColorSpace(nullptr, comps, 5));
    EXPECT_FALSE(Color::colorWithColorSpace(ColorSpace::genericCMYKColorSpace(), comps, 4));
    EXPECT_FALSE(Color::colorWithColorSpace(ColorSpace::genericCMYKColorSpace(), comps, 6));
    const auto c = Color::colorWithColorSpace(ColorSpace::genericCMYKColorSpace(), comps, 5);
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->isCMYK());
    EXPECT_EQ(c->colorSpace(), ColorSpace::genericCMYKColorSpace());
    EXPECT_EQ(c->magentaComponent(), 0.2f);
    EXPECT_EQ(c->alphaComponent(), 1.0f);
}

TEST(Color, ConvertsBetweenSpacesWithTheDeviceFormulas)
{
    const Color orange = Color::colorWithDeviceRed(1.0f, 0.5f, 0.0f, 0.8f);
    const auto cmyk = orange.colorUsingColorSpaceName(DeviceCMYKColorSpace);
    ASSERT_TRUE(cmyk);
    EXPECT_EQ(cmyk->kind(), Color::Kind::DeviceCMYK);
    EXPECT_FLOAT_EQ(cmyk->cyanComponent(), 0);
    EXPECT_FLOAT_EQ(cmyk->magentaComponent(), 0.5f);
    EXPECT_FLOAT_EQ(cmyk->yellowComponent(), 1);
    EXPECT_FLOAT_EQ(cmyk->blackComponent(), 0);
    EXPECT_EQ(cmyk->alphaComponent(), 0.8f);

    const auto back = Color::colorWithDeviceCyan(0.2f, 0, 0, 0.5f).colorUsingColorSpaceName(CalibratedRGBColorSpace);
    ASSERT_TRUE(back);
    EXPECT_FLOAT_EQ(back->redComponent(), 0.3f);
    EXPECT_FLOAT_EQ(back->greenComponent(), 0.5f);

    const auto grey = Color::colorWithCalibratedRed(1, 0, 0).colorUsingColorSpaceName(CalibratedWhiteColorSpace);
    ASSERT_TRUE(grey);
    EXPECT_FLOAT_EQ(grey->whiteComponent(), 0.3f);
    EXPECT_FLOAT_EQ(Color::colorWithDeviceWhite(0.25f).blackComponent(), 0.75f);

    // Black and components past 1 give no division by zero.
    const auto black = Color::colorWithDeviceRed(-0.1f, 0, 0).colorUsingColorSpaceName(DeviceCMYKColorSpace);
    ASSERT_TRUE(black);
    EXPECT_EQ(black->blackComponent(), 1.0f);
    EXPECT_EQ(black->cyanComponent(), 0.0f);

    // The own space is the colour itself; named colours convert as their fallback; patterns not at all.
    EXPECT_EQ(*orange.colorUsingColorSpaceName(DeviceRGBColorSpace), orange);
    const Color named = Color::colorWithCatalogName("C", "n", Color::colorWithDeviceRed(0, 1, 0));
    EXPECT_EQ(named.colorUsingColorSpaceName(CalibratedRGBColorSpace)->greenComponent(), 1.0f);
    EXPECT_FALSE(Color::colorWithPatternImage(nullptr).colorUsingColorSpaceName(CalibratedRGBColorSpace));
    EXPECT_FALSE(orange.colorUsingColorSpaceName("NoSuchSpace"));
    EXPECT_FALSE(orange.colorUsingColorSpaceName(NamedColorSpace));

    const auto generic = orange.colorUsingColorSpace(ColorSpace::genericCMYKColorSpace());
    ASSERT_TRUE(generic);
    EXPECT_EQ(generic->colorSpaceName(), CustomColorSpace);
    EXPECT_FLOAT_EQ(generic->yellowComponent(), 1.0f);
}

TEST(Color, HueAlphaAndBlending)
{
    const Color c = Color::colorWithCalibratedHue(1.0f / 3.0f, 1, 1, 0.5f);
    EXPECT_FLOAT_EQ(c.greenComponent(), 1);
    EXPECT_FLOAT_EQ(c.redComponent(), 0);
    EXPECT_NEAR(c.hueComponent(), 1.0f / 3.0f, 1e-6);

    const Color named = Color::colorWithCatalogName("C", "n", Color::redColor());
    const Color faded = named.colorWithAlphaComponent(0.25f);
    EXPECT_EQ(faded.alphaComponent(), 0.25f);
    EXPECT_EQ(faded.colorNameComponent(), "n");
    EXPECT_EQ(faded.namedFallback().alphaComponent(), 0.25f);

    const auto mid = Color::blackColor().blendedColor(0.5f, Color::colorWithDeviceRed(1, 1, 1, 0));
    ASSERT_TRUE(mid);
    EXPECT_EQ(mid->colorSpaceName(), CalibratedRGBColorSpace);
    EXPECT_FLOAT_EQ(mid->redComponent(), 0.5f);
    EXPECT_FLOAT_EQ(mid->alphaComponent(), 0.5f);
    EXPECT_FALSE(Color::blackColor().blendedColor(0.5f, Color::colorWithPatternImage(nullptr)));
}

} // namespace
