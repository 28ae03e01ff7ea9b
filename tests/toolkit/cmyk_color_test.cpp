// Tests of CMYK output colours, RGB conversion and colour comparison.
#include "toolkit/cmyk_color.h"

#include "platform/graphics/pattern_tile.h"

#include <gtest/gtest.h>

namespace {

void expectCMYK(const Color &c, float cyan, float magenta, float yellow, float black, float alpha)
{
    ASSERT_EQ(c.colorSpaceName(), DeviceCMYKColorSpace);
    EXPECT_FLOAT_EQ(c.cyanComponent(), cyan);
    EXPECT_FLOAT_EQ(c.magentaComponent(), magenta);
    EXPECT_FLOAT_EQ(c.yellowComponent(), yellow);
    EXPECT_FLOAT_EQ(c.blackComponent(), black);
    EXPECT_FLOAT_EQ(c.alphaComponent(), alpha);
}

std::shared_ptr<QImagePatternTile> stripedTile()
{
    // 5 x 5, every row its own colour; row 1 from the top is (3, 3) from the lower left.
    QImage tile(5, 5, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            tile.setPixel(x, y, qRgb(y * 50, 0, 255 - y * 50));
    return std::make_shared<QImagePatternTile>(tile);
}

TEST(CmykColor, RulesInOrder)
{
    struct Case {
        const char *what;
        Color in;
        float c, m, y, k, a;
    } cases[] = {
        {"grey", Color::colorWithDeviceRed(0.5f, 0.5f, 0.5f, 1), 0, 0, 0, 0.5f, 1},
        {"black is rich black", Color::colorWithCalibratedRed(0, 0, 0, 1), 1, 1, 1, 1, 1},
        {"black keeps a low alpha", Color::colorWithDeviceRed(0, 0, 0, 0.05f), 1, 1, 1, 1, 0.05f},
        {"white keeps a low alpha", Color::colorWithDeviceRed(1, 1, 1, 0.05f), 0, 0, 0, 0, 0.05f},
        {"nearly transparent grey empties", Color::colorWithDeviceRed(0.5f, 0.5f, 0.5f, 0.05f), 0, 0, 0, 0, 0},
        {"white space has no threshold", Color::colorWithDeviceWhite(0.25f, 0.05f), 0, 0, 0, 0.75f, 0.05f},
        {"calibrated white", Color::colorWithCalibratedWhite(0.0f, 1), 0, 0, 0, 1, 1},
        {"orange", Color::colorWithDeviceRed(1.0f, 0.5f, 0.0f, 1), 0, 0.5f, 1.0f, 0, 1},
        {"out-of-range RGB", Color::colorWithDeviceRed(-0.5f, -0.2f, 1.5f, 1), 1, 1, 0, 0, 1},
        {"named through its colour", Color::colorWithCatalogName("C", "n", Color::colorWithDeviceRed(1, 0.5f, 0)), 0, 0.5f, 1, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        expectCMYK(cmykColor(c.in), c.c, c.m, c.y, c.k, c.a);
    }
    // Just below the threshold empties, at it the colour stays.
    expectCMYK(cmykColor(Color::colorWithDeviceRed(0.2f, 0.4f, 0.6f, 0.0899f)), 0, 0, 0, 0, 0);
    EXPECT_GT(cmykColor(Color::colorWithDeviceRed(0.2f, 0.4f, 0.6f, 0.09f)).alphaComponent(), 0);
}

TEST(CmykColor, CmykColoursComeBackUnchanged)
{
    const Color device = Color::colorWithDeviceCyan(0.1f, 0.2f, 0.3f, 0.4f, 0.01f);
    EXPECT_EQ(cmykColor(device), device);
    const Color generic = Color::colorWithGenericCyan(0.1f, 0.2f, 0.3f, 0.4f, 1);
    EXPECT_EQ(cmykColor(generic), generic);
    const float comps[5] = {0.1f, 0.2f, 0.3f, 0.4f, 1};
    const auto profiled = Color::colorWithColorSpace(
        std::make_shared<const ColorSpace>(ColorSpaceModel::CMYK, 4, "Press", QByteArray("icc")), comps, 5);
    EXPECT_EQ(cmykColor(*profiled), *profiled);
}

TEST(CmykColor, PatternsGoThroughTheirSwatch)
{
    const Color pattern = Color::colorWithPatternImage(stripedTile());
    const Color rgb = rgbColor(pattern);
    EXPECT_EQ(rgb.colorSpaceName(), CalibratedRGBColorSpace);
    EXPECT_NEAR(rgb.redComponent(), 50 / 255.0, 1e-6);
    EXPECT_NEAR(rgb.blueComponent(), 205 / 255.0, 1e-6);
    const Color cmyk = cmykColor(pattern);
    EXPECT_EQ(cmyk.colorSpaceName(), DeviceCMYKColorSpace);
    EXPECT_NEAR(cmyk.cyanComponent(), 155 / 205.0, 1e-5);

    EXPECT_EQ(rgbColor(Color::colorWithDeviceWhite(0.5f)), Color::colorWithCalibratedRed(0.5f, 0.5f, 0.5f));
}

TEST(CmykColor, CalibratedCounterparts)
{
    EXPECT_TRUE(isCalibratedRGB(Color::redColor()));
    EXPECT_FALSE(isCalibratedRGB(Color::colorWithDeviceRed(1, 0, 0)));
    EXPECT_EQ(calibratedColorIfPossible(Color::colorWithDeviceRed(0.1f, 0.2f, 0.3f, 0.4f)),
              Color::colorWithCalibratedRed(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_EQ(calibratedColorIfPossible(Color::colorWithDeviceWhite(0.3f)), Color::colorWithCalibratedWhite(0.3f));
    EXPECT_EQ(calibratedColorIfPossible(Color::colorWithDeviceBlack(0.3f)), Color::colorWithCalibratedBlack(0.3f));
    const Color cmyk = Color::colorWithDeviceCyan(1, 0, 0, 0);
    EXPECT_EQ(calibratedColorIfPossible(cmyk), cmyk);
}

TEST(CmykColor, DeviceColours)
{
    const auto cmyk = convertColorToDeviceColor(Color::colorWithGenericCyan(0.1f, 0.2f, 0.3f, 0.4f, 0.5f));
    ASSERT_TRUE(cmyk);
    EXPECT_EQ(cmyk->model, DeviceColor::Model::CMYK);
    EXPECT_EQ(cmyk->components[3], 0.4f);
    EXPECT_EQ(cmyk->alpha, 0.5f);
    const auto grey = convertColorToDeviceColor(Color::colorWithCalibratedWhite(0.25f));
    EXPECT_EQ(grey->model, DeviceColor::Model::RGB);
    EXPECT_EQ(grey->components[1], 0.25f);
    // A 5-component colour of a space with no CMYK conversion has no device colour.
    const float comps[5] = {1, 2, 3, 4, 1};
    const auto odd = Color::colorWithColorSpace(std::make_shared<const ColorSpace>(ColorSpaceModel::DeviceN, 4, "Inks"),
                                                comps, 5);
    EXPECT_FALSE(convertColorToDeviceColor(*odd));
}

TEST(CmykColor, EqualityTable)
{
    struct Case {
        const char *what;
        Color a, b;
        bool equal;
    } cases[] = {
        {"same RGB", Color::colorWithDeviceRed(0.1f, 0.2f, 0.3f), Color::colorWithDeviceRed(0.1f, 0.2f, 0.3f), true},
        {"device vs calibrated", Color::colorWithDeviceRed(0.1f, 0.2f, 0.3f), Color::colorWithCalibratedRed(0.1f, 0.2f, 0.3f), false},
        {"alpha differs", Color::colorWithDeviceWhite(0.5f, 1), Color::colorWithDeviceWhite(0.5f, 0.9f), false},
        {"grey differs", Color::colorWithDeviceWhite(0.5f), Color::colorWithDeviceWhite(0.6f), false},
        {"CMYK same", Color::colorWithDeviceCyan(0, 1, 0, 0), Color::colorWithDeviceCyan(0, 1, 0, 0), true},
        {"named with the same colour", Color::colorWithCatalogName("A", "x", Color::redColor()),
         Color::colorWithCatalogName("B", "y", Color::redColor()), true},
        {"named with other colours", Color::colorWithCatalogName("A", "x", Color::redColor()),
         Color::colorWithCatalogName("A", "x", Color::blueColor()), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(isEqualToColor(c.a, c.b), c.equal) << c.what;

    // Without device colours the components of the common space decide.
    auto inks = std::make_shared<const ColorSpace>(ColorSpaceModel::DeviceN, 4, "Inks");
    const float p[5] = {1, 2, 3, 4, 1}, q[5] = {1, 2, 3, 5, 1};
    EXPECT_TRUE(isEqualToColor(*Color::colorWithColorSpace(inks, p, 5), *Color::colorWithColorSpace(inks, p, 5)));
    EXPECT_FALSE(isEqualToColor(*Color::colorWithColorSpace(inks, p, 5), *Color::colorWithColorSpace(inks, q, 5)));
}

TEST(CmykColor, TextureAndClip)
{
    const QImage texture = colorToTexture(Color::colorWithDeviceRed(0, 1, 0));
    EXPECT_EQ(texture.size(), QSize(256, 256));
    EXPECT_EQ(texture.pixel(255, 255), qRgb(0, 255, 0));

    QImage mask(4, 1, QImage::Format_ARGB32_Premultiplied);
    mask.setPixel(0, 0, qRgba(0, 0, 0, 0));
    mask.setPixel(1, 0, qPremultiply(qRgba(255, 255, 255, 128)));
    mask.setPixel(2, 0, qRgba(0, 0, 255, 255));
    mask.setPixel(3, 0, qRgba(0, 0, 255, 255));
    const QImage clipped = colorClip(Color::redColor(), mask);
    ASSERT_EQ(clipped.size(), mask.size());
    EXPECT_EQ(qAlpha(clipped.pixel(0, 0)), 0);
    EXPECT_NEAR(qAlpha(clipped.pixel(1, 0)), 128, 1);
    EXPECT_EQ(clipped.pixel(2, 0), qRgb(255, 0, 0));
    EXPECT_TRUE(colorClip(Color::redColor(), QImage()).isNull());
}

} // namespace
