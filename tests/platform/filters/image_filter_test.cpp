// Each image filter's defining property on small synthetic images.
#include "platform/filters/gegl_operation.h"
#include "platform/filters/image_filter.h"
#include "tests/support/golden_image.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <array>
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

TEST(ImageFilters, EveryTypeMakesAnImageOfItsExtent)
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
        filter->setNumber(QStringLiteral("inputRadius"), 4);
        // The filters that blur colour outwards reach past the image by the blur's margin
        // (3 x 4 pixels); the others keep its size.
        const bool spreads = name == "CIGaussianBlur" || name == "CIBloom" || name == "CIHeightFieldFromMask";
        EXPECT_EQ(filter->outputMargin(), spreads ? 12 : 0);
        EXPECT_EQ(filter->outputImage().size(), input.size() + QSize(2, 2) * filter->outputMargin());
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

TEST(ImageFilters, BlursSpreadPastTheEdgesAndKeepEveryColour)
{
    ensureGuiApp();
    QImage input(64, 48, QImage::Format_ARGB32_Premultiplied);
    input.fill(Qt::white);
    QPainter(&input).fillRect(16, 16, 32, 16, Qt::black);
    const auto sums = [](const QImage &image) {
        std::array<double, 2> red_alpha = {0, 0};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                red_alpha[0] += qRed(image.pixel(x, y));
                red_alpha[1] += qAlpha(image.pixel(x, y));
            }
        return red_alpha;
    };
    const QImage out = run("CIGaussianBlur", input, {{"inputRadius", 3}});
    ASSERT_EQ(out.size(), QSize(64 + 18, 48 + 18));
    // Nothing is lost at the edges: the colour and the coverage spread into the margin.
    EXPECT_NEAR(sums(out)[0] / sums(input)[0], 1.0, 0.01);
    EXPECT_NEAR(sums(out)[1] / sums(input)[1], 1.0, 0.01);
    // The image sits in the middle: half covered across its edges, the margin's corner clear.
    EXPECT_NEAR((qAlpha(out.pixel(8, 30)) + qAlpha(out.pixel(9, 30))) / 2, 128, 4);
    EXPECT_EQ(qAlpha(out.pixel(72, 56)), qAlpha(out.pixel(9, 9)));
    EXPECT_EQ(qAlpha(out.pixel(0, 0)), 0);
    // The bloom's glow reaches into the margin as far; without intensity there is none.
    const QImage glow = run("CIBloom", input, {{"inputRadius", 3}, {"inputIntensity", 1}});
    ASSERT_EQ(glow.size(), out.size());
    EXPECT_GT(qAlpha(glow.pixel(5, 30)), 0);
    EXPECT_EQ(qAlpha(glow.pixel(0, 0)), 0);
    const QImage none = run("CIBloom", input, {{"inputRadius", 3}, {"inputIntensity", 0}});
    EXPECT_EQ(none.copy(9, 9, 64, 48), input);
    EXPECT_EQ(qAlpha(none.pixel(5, 30)), 0);
    const int edge = qRed(run("CIGaussianBlur", input, {{"inputRadius", 3}}).pixel(16 + 9, 24 + 9));
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
        // The blur's golden image is the picture's own rectangle of its grown output.
        const QImage out = run(golden.filter, input, golden.numbers, {{QStringLiteral("inputCenter"), center}});
        const int margin = (out.width() - input.width()) / 2;
        expectMatchesGolden(out.copy(margin, margin, input.width(), input.height()), QString::fromLatin1(golden.file),
                            0.005);
    }
}

TEST(ImageFilters, MatchTheirCounterpartsInGegl)
{
    // Each filter with a counterpart among the engine's operations against that operation run
    // over the whole picture at once (a reach as large as the picture). The tolerance is the
    // largest channel difference, 0 to 255, over the pixels `inset` away from the edges
    // (where the engine clamps the picture and our blur fades it out):
    // - the operations we run through the engine tile by tile give its pixels exactly;
    // - invert, sepia and posterize work on the gamma-encoded values in both;
    // - the blur, sharpening, gamma and colour controls of our own work on the stored
    //   (gamma-encoded) values, the engine's in linear light: the engine is handed the
    //   stored values as linear ones (AsStored) to compare the arithmetic. The blur is three
    //   box blurs, within 6 of the engine's true Gaussian; the sharpening subtracts that blur.
    ensureGuiApp();
    QImage input = sampleImage(160, 120);
    {
        QPainter p(&input);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(30, 20, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(90, 60), 30, 22);
    }
    constexpr int whole = 1000;
    constexpr auto encoded = GeglValues::Encoded, stored = GeglValues::AsStored;
    struct Counterpart {
        const char *name;
        std::map<QString, double> numbers;
        const char *operation;
        std::vector<std::pair<const char *, double>> properties;
        GeglValues values;
        int inset, tolerance;
    };
    const Counterpart counterparts[] = {
        {"CIMedianFilter", {}, "gegl:median-blur", {{"radius", 1}}, encoded, 0, 0},
        {"CIExposureAdjust", {{"inputEV", 1.5}}, "gegl:exposure", {{"exposure", 1.5}}, encoded, 0, 0},
        // On the edge row the engine's alpha takes in the clear beyond; ours is opaque.
        {"CIEdges", {{"inputIntensity", 1}}, "gegl:edge-sobel", {}, encoded, 1, 0},
        {"CINoiseReduction", {{"inputNoiseLevel", 0.05}, {"inputSharpness", 0}}, "gegl:noise-reduction",
         {{"iterations", 5}}, encoded, 0, 0},
        {"CIColorInvert", {}, "gegl:invert-gamma", {}, encoded, 0, 1},
        {"CISepiaTone", {{"inputIntensity", 1}}, "gegl:sepia", {{"scale", 1}}, encoded, 0, 1},
        // The engine's levels count the steps: one fewer than the values.
        {"CIColorPosterize", {{"inputLevels", 6}}, "gegl:posterize", {{"levels", 5}}, encoded, 0, 1},
        {"CIGaussianBlur", {{"inputRadius", 4}}, "gegl:gaussian-blur", {{"std-dev-x", 4}, {"std-dev-y", 4}}, stored, 12, 6},
        {"CIUnsharpMask", {{"inputRadius", 3}, {"inputIntensity", 0.5}}, "gegl:unsharp-mask",
         {{"std-dev", 3}, {"scale", 0.5}}, stored, 9, 4},
        {"CISharpenLuminance", {{"inputSharpness", 0.4}}, "gegl:unsharp-mask", {{"std-dev", 1}, {"scale", 0.4}}, stored,
         3, 7},
        {"CIGammaAdjust", {{"inputPower", 0.75}}, "gegl:gamma", {{"value", 0.75}}, stored, 0, 2},
        // Our brightness is added before the contrast, the engine's after it: 0.1 x 1.5.
        {"CIColorControls", {{"inputSaturation", 1}, {"inputBrightness", 0.1}, {"inputContrast", 1.5}},
         "gegl:brightness-contrast", {{"contrast", 1.5}, {"brightness", 0.15}}, stored, 0, 2},
    };
    const auto compare = [&](const QImage &ours, const QImage &theirs, int inset) {
        const int margin = (ours.width() - input.width()) / 2;
        const QRect inner(inset, inset, input.width() - 2 * inset, input.height() - 2 * inset);
        return largestDifference(ours.copy(inner.translated(margin, margin)), theirs.copy(inner));
    };
    for (const Counterpart &c : counterparts) {
        SCOPED_TRACE(c.name);
        EXPECT_LE(compare(run(c.name, input, c.numbers), throughGegl(input, c.operation, c.properties, whole, c.values),
                          c.inset),
                  c.tolerance);
    }
    // The blur's tolerance tells radii apart: 5 is not 4.
    EXPECT_GT(compare(run("CIGaussianBlur", input, {{"inputRadius", 5}}),
                      throughGegl(input, "gegl:gaussian-blur", {{"std-dev-x", 4}, {"std-dev-y", 4}}, whole, stored), 12),
              6);
}
