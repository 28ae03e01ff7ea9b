// Each image filter's defining property on small synthetic images.
#include "platform/filters/image_filter.h"
#include "tests/support/golden_image.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <set>

namespace {

// Colour bands and a diagonal ramp: every channel takes many values.
QImage sampleImage(int w = 64, int h = 48)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), (x + y) * 255 / (w + h - 2)));
    return image;
}

QImage run(const QString &name, const QImage &input, const std::map<QString, double> &numbers = {},
           const std::map<QString, std::vector<double>> &vectors = {})
{
    auto filter = ImageFilter::filterWithName(name);
    EXPECT_TRUE(filter) << name.toStdString();
    if (!filter)
        return QImage();
    filter->setImage(QStringLiteral("inputImage"), input);
    for (const auto &[key, value] : numbers)
        filter->setNumber(key, value);
    for (const auto &[key, value] : vectors)
        filter->setVector(key, value);
    return filter->outputImage();
}

// The largest difference of any channel between two images of one size.
int largestDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 256;
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return most;
}

const QStringList allTypes = {
    "CIGaussianBlur", "CIMedianFilter", "CINoiseReduction", "CISharpenLuminance", "CIUnsharpMask",
    "CIExposureAdjust", "CIColorControls", "CIGammaAdjust", "CIHueAdjust", "CIColorInvert", "CIColorMonochrome",
    "CISepiaTone", "CIMaskToAlpha", "CIColorPosterize", "CICircularWrap", "CIHoleDistortion", "CIPinchDistortion",
    "CITorusLensDistortion", "CITwirlDistortion", "CIPerspectiveTransform", "CICircularScreen", "CICMYKHalftone",
    "CILineScreen", "CIBloom", "CICrystallize", "CIEdges", "CIEdgeWork", "CIGloom", "CIHeightFieldFromMask",
    "CIPixellate", "CIPointillize", "CISpotLight", "CIShadedMaterial", "CIKaleidoscope", "CIOpTile",
    "CIParallelogramTile", "CITriangleTile"};

} // namespace

TEST(ImageFilters, EveryTypeMakesAnImageOfItsInputsSize)
{
    ensureGuiApp();
    EXPECT_FALSE(ImageFilter::filterWithName(QStringLiteral("CINoSuchFilter")));
    const QImage input = sampleImage();
    QImage shading(32, 32, QImage::Format_ARGB32_Premultiplied);
    shading.fill(Qt::gray);
    for (const QString &name : allTypes) {
        SCOPED_TRACE(name.toStdString());
        auto filter = ImageFilter::filterWithName(name);
        ASSERT_TRUE(filter);
        EXPECT_TRUE(filter->outputImage().isNull());   // no input image
        filter->setImage(QStringLiteral("inputImage"), input);
        filter->setImage(QStringLiteral("inputShadingImage"), shading);
        EXPECT_EQ(filter->outputImage().size(), input.size());
    }
}

TEST(ImageFilters, NeutralParametersLeaveTheImageAsItIs)
{
    ensureGuiApp();
    const QImage input = sampleImage();
    const struct {
        const char *name;
        std::map<QString, double> numbers;
        int tolerance;
    } cases[] = {
        {"CIColorControls", {{"inputSaturation", 1}, {"inputBrightness", 0}, {"inputContrast", 1}}, 1},
        {"CIGammaAdjust", {{"inputPower", 1}}, 1},
        {"CIHueAdjust", {{"inputAngle", 0}}, 2},
        {"CIExposureAdjust", {{"inputEV", 0}}, 2},
        {"CISepiaTone", {{"inputIntensity", 0}}, 1},
        {"CIColorMonochrome", {{"inputIntensity", 0}}, 1},
        {"CIGaussianBlur", {{"inputRadius", 0}}, 0},
        {"CIUnsharpMask", {{"inputRadius", 2.5}, {"inputIntensity", 0}}, 2},
        {"CITwirlDistortion", {{"inputRadius", 300}, {"inputAngle", 0}}, 2},
        {"CIPinchDistortion", {{"inputRadius", 300}, {"inputScale", 0}}, 2},
        {"CIPixellate", {{"inputScale", 1}}, 0},
        {"CIPerspectiveTransform", {}, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_LE(largestDifference(run(c.name, input, c.numbers), input), c.tolerance);
    }
}

TEST(ImageFilters, InvertingTwiceGivesTheImageBack)
{
    ensureGuiApp();
    const QImage input = sampleImage();
    const QImage once = run("CIColorInvert", input);
    EXPECT_EQ(QColor(once.pixel(0, 0)), QColor(255, 255, 255));
    EXPECT_LE(largestDifference(run("CIColorInvert", once), input), 1);
}

TEST(ImageFilters, PosterizeGivesTheNumberOfLevels)
{
    ensureGuiApp();
    for (int levels : {2, 6, 30}) {
        const QImage out = run("CIColorPosterize", sampleImage(256, 8), {{"inputLevels", double(levels)}});
        std::set<int> reds;
        for (int x = 0; x < out.width(); ++x)
            reds.insert(qRed(out.pixel(x, 0)));
        EXPECT_EQ(int(reds.size()), levels);
    }
}

TEST(ImageFilters, PixellateMakesBlocksOfTheScaleAroundTheCentre)
{
    ensureGuiApp();
    const QImage input = sampleImage(64, 64);
    // Centre (32, 32) in y-up coordinates: a block spans 28..36 in both directions.
    const QImage out = run("CIPixellate", input, {{"inputScale", 8}}, {{"inputCenter", {32, 32}}});
    for (int y = 28; y < 36; ++y)
        for (int x = 28; x < 36; ++x)
            EXPECT_EQ(out.pixel(x, y), out.pixel(28, 28));
    EXPECT_NE(out.pixel(27, 28), out.pixel(28, 28));
    EXPECT_NE(out.pixel(36, 28), out.pixel(28, 28));
}

TEST(ImageFilters, TheCentreMovesTheEffect)
{
    ensureGuiApp();
    const QImage input = sampleImage(64, 64);
    for (const char *name : {"CITwirlDistortion", "CIPinchDistortion", "CIHoleDistortion", "CIKaleidoscope"}) {
        SCOPED_TRACE(name);
        const std::map<QString, double> numbers = {{"inputRadius", 16}, {"inputScale", 1}};
        const QImage left = run(name, input, numbers, {{"inputCenter", {14, 50}}});
        const QImage right = run(name, input, numbers, {{"inputCenter", {50, 14}}});
        EXPECT_GT(largestDifference(left, right), 20);
        if (std::string(name) != "CIKaleidoscope" && std::string(name) != "CIHoleDistortion") {
            // Far from the centre and outside the radius nothing moves.
            EXPECT_EQ(left.pixel(60, 60), input.pixel(60, 60));
            EXPECT_NE(left.pixel(14, 14), input.pixel(14, 14));
        }
    }
}

TEST(ImageFilters, BlurKeepsTheMeanColourAndSmoothsEdges)
{
    ensureGuiApp();
    QImage input(64, 64, QImage::Format_ARGB32_Premultiplied);
    input.fill(Qt::white);
    QPainter(&input).fillRect(16, 16, 32, 32, Qt::black);
    const QImage out = run("CIGaussianBlur", input, {{"inputRadius", 3}});
    double before = 0, after = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            before += qRed(input.pixel(x, y));
            after += qRed(out.pixel(x, y)) + (255 - qAlpha(out.pixel(x, y)));   // the edges fade to clear
        }
    EXPECT_NEAR(after / before, 1.0, 0.02);
    const int edge = qRed(out.pixel(16, 32));
    EXPECT_GT(edge, 40);
    EXPECT_LT(edge, 215);
}

TEST(ImageFilters, HalftonesUseOnlyTheirScreensInks)
{
    ensureGuiApp();
    const QImage input = sampleImage();
    for (const char *name : {"CICircularScreen", "CILineScreen", "CICMYKHalftone"}) {
        SCOPED_TRACE(name);
        const QImage out = run(name, input, {{"inputSharpness", 1}});
        std::set<QRgb> colours;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                colours.insert(out.pixel(x, y));
        for (QRgb c : colours)
            for (int channel : {qRed(c), qGreen(c), qBlue(c)})
                EXPECT_TRUE(channel == 0 || channel == 255) << std::hex << c;
        EXPECT_GE(colours.size(), 2u);
    }
}

TEST(ImageFilters, MaskToAlphaMakesWhiteCarryTheLuminance)
{
    ensureGuiApp();
    const QImage out = run("CIMaskToAlpha", sampleImage());
    const QColor c = QColor::fromRgba(out.pixel(63, 47));
    EXPECT_EQ(c.alpha(), 255);
    EXPECT_EQ(QColor::fromRgba(out.pixel(0, 0)).alpha(), 0);
    EXPECT_EQ(qRed(out.pixel(63, 47)), 255);
}

TEST(ImageFilters, EdgesOfAFlatImageAreDark)
{
    ensureGuiApp();
    QImage flat(32, 32, QImage::Format_ARGB32_Premultiplied);
    flat.fill(QColor(120, 60, 200));
    const QImage out = run("CIEdges", flat, {{"inputIntensity", 1}});
    EXPECT_LT(qRed(out.pixel(16, 16)) + qGreen(out.pixel(16, 16)) + qBlue(out.pixel(16, 16)), 10);
}

TEST(ImageFilters, ScreensCellsAndWarpsMatchTheirGoldenImages)
{
    // Kernels whose look no single property pins down: the halftone's dots, the crystals'
    // cells, the kaleidoscope's wedges, the twirl and the blur, over the sample picture
    // with a dark disc on it (VEK_UPDATE_GOLDEN=1 writes them anew).
    ensureGuiApp();
    QImage input = sampleImage(96, 64);
    {
        QPainter p(&input);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(30, 20, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(60, 30), 18, 14);
    }
    const std::vector<double> center = {40, 28};
    struct Golden {
        const char *file;
        QString filter;
        std::map<QString, double> numbers;
    };
    const Golden goldens[] = {
        {"cmyk_halftone.png", "CICMYKHalftone",
         {{"inputWidth", 6}, {"inputAngle", 0}, {"inputSharpness", 0.7}, {"inputGCR", 1}, {"inputUCR", 0.5}}},
        {"crystallize.png", "CICrystallize", {{"inputRadius", 8}}},
        {"kaleidoscope.png", "CIKaleidoscope", {{"inputCount", 6}, {"inputAngle", 0.3}}},
        {"twirl.png", "CITwirlDistortion", {{"inputRadius", 40}, {"inputAngle", 3.14}}},
        {"gaussian_blur.png", "CIGaussianBlur", {{"inputRadius", 4}}},
    };
    for (const Golden &golden : goldens) {
        SCOPED_TRACE(golden.file);
        expectMatchesGolden(run(golden.filter, input, golden.numbers, {{QStringLiteral("inputCenter"), center}}),
                            QString::fromLatin1(golden.file), 0.005);
    }
}
