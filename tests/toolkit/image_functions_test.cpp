// Image functions: orientation of rotations, shears and flips; resizing, clipping,
// tinting; CMYK versions; scans and trimming; icons; PDF output; screen resolution.
#include "toolkit/image_functions.h"

#include "platform/pdf/pdf_document.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

namespace {

// w x h, blue, with a red 10 x 10 block in the top-left corner: mirroring and turning
// move the block to a place the tests can name.
Image markedImage(int w = 30, int h = 20)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            image.setPixelColor(x, y, Qt::red);
    return Image(image);
}

QColor at(const Image &image, int x, int y)
{
    return image.bitmap().toQImage().pixelColor(x, y);
}

bool isRed(const QColor &c)
{
    return c.red() > 200 && c.blue() < 60 && c.alpha() > 200;
}
bool isBlue(const QColor &c)
{
    return c.blue() > 200 && c.red() < 60 && c.alpha() > 200;
}

Image rgbaImage(std::initializer_list<QColor> pixels)
{
    QImage image(int(pixels.size()), 1, QImage::Format_ARGB32);
    int x = 0;
    for (const QColor &c : pixels)
        image.setPixelColor(x++, 0, c);
    return Image(image);
}

std::vector<unsigned> samples(const BitmapRep &rep, int x, int y)
{
    std::vector<unsigned> s(size_t(rep.samplesPerPixel()));
    rep.getPixel(s.data(), x, y);
    return s;
}

} // namespace

TEST(ImageTransforms, RotationTurnsCounterClockwiseAsSeenOnScreen)
{
    const Image turned = rotateSkewXSkewY(markedImage(), 90, 0, 0);
    EXPECT_NEAR(turned.size().width, 20, 0.01);
    EXPECT_NEAR(turned.size().height, 30, 0.01);
    EXPECT_TRUE(isRed(at(turned, 5, 25))) << "the top-left block goes to the bottom left";
    EXPECT_TRUE(isBlue(at(turned, 5, 5)));
    EXPECT_TRUE(isBlue(at(turned, 15, 25)));

    const Image plain = rotate(markedImage(), 90);
    EXPECT_TRUE(isRed(at(plain, 5, 25)));
    const Image back = rotate(markedImage(), -90);
    EXPECT_TRUE(isRed(at(back, 15, 5))) << "a negative angle turns clockwise";
}

TEST(ImageTransforms, NegativeWholeDegreesAreLeftUnappliedAndZeroIsACopy)
{
    const Image original = markedImage();
    const Image unrotated = rotateSkewXSkewY(original, -30, 0, 0);
    EXPECT_EQ(unrotated.size(), original.size());
    EXPECT_TRUE(isRed(at(unrotated, 5, 5)));
    EXPECT_TRUE(isBlue(at(unrotated, 25, 15)));
    EXPECT_EQ(rotateSkewXSkewY(original, 0, 0, 0).bitmap().image(), original.bitmap().image());
}

TEST(ImageTransforms, ShearLeansTheTopToTheRight)
{
    // 40 x 20 with a red top band: skew x 0.5 moves the top right by half the height.
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixelColor(x, y, Qt::red);
    const Image sheared = rotateSkewXSkewY(Image(image), 0, 0.5f, 0);
    EXPECT_NEAR(sheared.size().width, 50, 0.01);
    EXPECT_NEAR(sheared.size().height, 20, 0.01);
    EXPECT_EQ(at(sheared, 2, 2).alpha(), 0);
    EXPECT_TRUE(isRed(at(sheared, 47, 2)));
    EXPECT_TRUE(isBlue(at(sheared, 2, 18)));
    EXPECT_EQ(at(sheared, 48, 18).alpha(), 0);
}

TEST(ImageTransforms, FlipModesMirrorAboutTheCentre)
{
    struct Case {
        int mode;
        QPoint red;
    };
    for (const Case &c : {Case{1, {25, 5}}, Case{2, {5, 15}}, Case{3, {25, 15}}, Case{0, {5, 5}}, Case{4, {5, 5}}}) {
        const Image flipped = flip(markedImage(), c.mode);
        EXPECT_EQ(flipped.size(), (Size{30, 20}));
        EXPECT_TRUE(isRed(at(flipped, c.red.x(), c.red.y()))) << "mode " << c.mode;
        const int others = isRed(at(flipped, 5, 5)) + isRed(at(flipped, 25, 5)) + isRed(at(flipped, 5, 15))
            + isRed(at(flipped, 25, 15));
        EXPECT_EQ(others, 1) << "mode " << c.mode;
    }
}

TEST(ImageTransforms, ResizeKeepsProportionsAndOnlyShrinks)
{
    struct Case {
        int w, h;
        float side;
        Size expected;
    };
    for (const Case &c : {Case{100, 200, 50, {25, 50}}, Case{200, 100, 50, {50, 25}}, Case{80, 80, 40, {40, 40}},
                          Case{30, 20, 50, {30, 20}}, Case{50, 20, 50, {50, 20}}}) {
        const Image resized = resizeProportionallyTo(markedImage(c.w, c.h), c.side);
        EXPECT_EQ(resized.size(), c.expected) << c.w << "x" << c.h;
        EXPECT_EQ(resized.bitmap().pixelsWide(), int(std::ceil(c.expected.width)));
    }
}

TEST(ImageTransforms, DefaultResolutionCopyReportsTheDotsPerInch)
{
    Image image = markedImage(100, 50);
    image.setSize(Size{50, 25});
    float dpi = 0;
    const Image copy = createDefaultResolutionImage(image, &dpi);
    EXPECT_FLOAT_EQ(dpi, 144);
    EXPECT_EQ(copy.size(), (Size{100, 50}));
    EXPECT_TRUE(isRed(at(copy, 5, 5)));
    EXPECT_FALSE(createDefaultResolutionImage(Image(), &dpi).isValid());
}

TEST(ImageTransforms, LargestRepresentationRules)
{
    Image image(QImage(16, 16, QImage::Format_RGB32));
    image.addRepresentation(ImageRep(BitmapRep(QImage(64, 32, QImage::Format_RGB32))));
    image.addRepresentation(ImageRep(BitmapRep(QImage(32, 64, QImage::Format_RGB32))));
    QImage tie(64, 32, QImage::Format_RGB32);
    tie.fill(Qt::green);
    BitmapRep tieRep(tie);
    tieRep.setSize(Size{32, 16});
    image.addRepresentation(ImageRep(tieRep));

    const std::optional<ImageRep> largest = getLargestRep(image);
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->pixelsWide(), 64);
    EXPECT_EQ(largest->toQImage().pixelColor(0, 0), QColor(Qt::green)) << "a later one wins a tie";
    EXPECT_EQ(largest->size(), (Size{64, 32})) << "the size in points becomes the pixel size";
    EXPECT_EQ(getMaxRepSize(image), (Size{64, 64}));
    EXPECT_FALSE(getLargestRep(Image()));

    const Image one = largestImageWithOneRep(image);
    ASSERT_EQ(one.representations().size(), 1u);
    EXPECT_EQ(one.size(), (Size{64, 32}));
    EXPECT_EQ(at(one, 10, 10), QColor(Qt::green));

    QImage q(7, 3, QImage::Format_RGB32);
    q.fill(Qt::red);
    EXPECT_EQ(imageFromCGImageRef(q).size(), (Size{7, 3}));
}

TEST(ImageTransforms, ClipImageKeepsWhatLiesInsideThePath)
{
    BezierPath triangle;
    triangle.moveToPoint({10, 10});
    triangle.lineToPoint({30, 10});
    triangle.lineToPoint({10, 30});
    triangle.closePath();
    const Image clipped = ClipImage(markedImage(40, 40), triangle);
    EXPECT_EQ(clipped.size(), (Size{20, 20}));
    // The image is drawn at the origin, the clip moved there with it.
    EXPECT_TRUE(isRed(at(clipped, 2, 2)));
    EXPECT_TRUE(isBlue(at(clipped, 15, 2)));
    EXPECT_EQ(at(clipped, 18, 18).alpha(), 0) << "outside the triangle";
    EXPECT_FALSE(ClipImage(markedImage(), BezierPath()).isValid());
}

TEST(ImageTint, MapsGreyLevelsThroughTheColour)
{
    const Image source = rgbaImage({Qt::black, QColor(128, 128, 128), Qt::white, QColor(255, 0, 0, 128)});
    const Color blue = Color::colorWithCalibratedRed(0, 0, 1);

    const Image tinted = colorWith(source, blue, 0);
    EXPECT_EQ(at(tinted, 0, 0), QColor(0, 0, 0));
    const QColor mid = at(tinted, 1, 0);
    EXPECT_LE(mid.red(), 3);
    EXPECT_GE(mid.blue(), 250);
    EXPECT_EQ(at(tinted, 2, 0), QColor(255, 255, 255));
    EXPECT_EQ(at(tinted, 3, 0).alpha(), 128) << "alpha stays";

    const Image all = colorWith(source, blue, AlternateKeyMask);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(at(all, x, 0), QColor(0, 0, 255)) << x;

    const Image colouredOnly = colorWith(source, blue, ShiftKeyMask | 0x2);
    EXPECT_EQ(at(colouredOnly, 1, 0), QColor(128, 128, 128)) << "grey pixels stay";
    EXPECT_NE(at(colouredOnly, 3, 0).red(), 255) << "coloured pixels are tinted";

    const Image none = colorWith(source, Color::colorWithPatternImage(nullptr), 0);
    EXPECT_FALSE(none.isValid());
    EXPECT_EQ(none.size(), source.size());
}

TEST(ImageCMYK, ChoosesTheVersionByAlpha)
{
    const Image withAlpha = rgbaImage({QColor(255, 0, 0, 255), QColor(0, 0, 0, 0)});
    const BitmapRep opaque = imageInCMYKcolorspace(withAlpha, true).bitmap();
    EXPECT_TRUE(opaque.isCMYK());
    EXPECT_FALSE(opaque.hasAlpha());
    const BitmapRep perPixel = imageInCMYKcolorspace(withAlpha, false).bitmap();
    EXPECT_TRUE(perPixel.isCMYK());
    EXPECT_TRUE(perPixel.hasAlpha());

    Image already(BitmapRep::cmykBitmap(2, 2, false));
    EXPECT_EQ(imageInCMYKcolorspace(already, false).bitmap().samplesPerPixel(), 4);
    EXPECT_FALSE(imageInCMYKcolorspace(Image(), true).isValid());

    QImage rgb(2, 2, QImage::Format_RGB32);
    rgb.fill(Qt::white);
    EXPECT_FALSE(imageInCMYKA(Image(rgb)).isValid()) << "no alpha, no per-pixel version";
    EXPECT_FALSE(imageInCMYKcolorspace(Image(rgb), false).bitmap().hasAlpha());
}

TEST(ImageCMYK, PerPixelVersionFollowsTheColourRules)
{
    const Image source = rgbaImage({Qt::black, QColor(255, 255, 255, 100), QColor(255, 0, 0, 13), QColor(128, 128, 128)});
    const BitmapRep cmyk = imageInCMYKA(source).bitmap();
    ASSERT_EQ(cmyk.samplesPerPixel(), 5);
    EXPECT_EQ(samples(cmyk, 0, 0), (std::vector<unsigned>{255, 255, 255, 255, 255})) << "rich black";
    EXPECT_EQ(samples(cmyk, 1, 0), (std::vector<unsigned>{0, 0, 0, 0, 100})) << "white keeps its alpha";
    EXPECT_EQ(samples(cmyk, 2, 0), (std::vector<unsigned>{0, 0, 0, 0, 0})) << "alpha below 0.09 is empty";
    const std::vector<unsigned> grey = samples(cmyk, 3, 0);
    EXPECT_EQ(grey[0] + grey[1] + grey[2], 0u) << "grey is black ink only";
    EXPECT_NEAR(int(grey[3]), 127, 1);
}

TEST(ImageCMYK, ByteFormulaWithAlpha)
{
    const Image source = rgbaImage({Qt::white, Qt::black, Qt::red, QColor(128, 64, 32, 77)});
    const BitmapRep cmyk = imageInCMYKcolorspaceWithAlpha(source).bitmap();
    ASSERT_EQ(cmyk.samplesPerPixel(), 5);
    EXPECT_EQ(samples(cmyk, 0, 0), (std::vector<unsigned>{0, 0, 0, 0, 255}));
    EXPECT_EQ(samples(cmyk, 1, 0), (std::vector<unsigned>{255, 255, 255, 255, 255}));
    EXPECT_EQ(samples(cmyk, 2, 0), (std::vector<unsigned>{0, 255, 255, 0, 255}));
    // c' 127, m' 191, y' 223, K 127: M = 64 / 128 x 255 = 127.5, Y = 96 / 128 x 255 = 191.25.
    EXPECT_EQ(samples(cmyk, 3, 0), (std::vector<unsigned>{0, 128, 191, 127, 77}));
}

TEST(ImageScans, BlackOnlyIgnoresTransparentPixels)
{
    EXPECT_TRUE(isBlackOnly(rgbaImage({Qt::black, QColor(255, 0, 0, 0)}).bitmap()));
    EXPECT_FALSE(isBlackOnly(rgbaImage({Qt::black, QColor(1, 0, 0, 1)}).bitmap()));
    QImage rgb(2, 2, QImage::Format_RGB888);
    rgb.fill(Qt::black);
    EXPECT_TRUE(isBlackOnly(BitmapRep(rgb))) << "24-bit bitmaps are read as opaque";
    rgb.setPixelColor(1, 1, Qt::darkGray);
    EXPECT_FALSE(isBlackOnly(BitmapRep(rgb)));
    EXPECT_TRUE(hasStraightAlphaTransparent(rgbaImage({Qt::black}).bitmap()));
    EXPECT_FALSE(hasStraightAlphaTransparent(BitmapRep(rgb)));
    EXPECT_EQ(GetAlphaInfoFromBitmapImageRep(BitmapRep(rgb)), BitmapAlphaInfo::None);
}

TEST(ImageScans, MarginsAndTrimming)
{
    // 10 x 8, visible pixels in columns 3..5 and rows 2..4.
    QImage image(10, 8, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 2; y <= 4; ++y)
        for (int x = 3; x <= 5; ++x)
            image.setPixelColor(x, y, Qt::red);
    image.setPixelColor(9, 7, QColor(0, 0, 0, 2)); // below the trimming threshold, above the margins'
    const BitmapRep rep(image);
    EXPECT_EQ(marginLRTB(rep), (std::array<int, 4>{3, 0, 2, 0}));

    const BitmapRep trimmed = trimToSize(rep, Size{0, 0});
    EXPECT_EQ(trimmed.pixelsWide(), 3);
    EXPECT_EQ(trimmed.pixelsHigh(), 5) << "one transparent row kept above and below";
    EXPECT_EQ(trimmed.toQImage().pixelColor(0, 1), QColor(Qt::red));

    // Growing towards 9 x 9: d = 3 columns each side only where more than 3 are free.
    const BitmapRep grown = trimToSize(rep, Size{9, 1});
    EXPECT_EQ(grown.pixelsWide(), 6) << "3 free columns on the left are not more than 3, 4 on the right are";

    QImage clear(6, 4, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    EXPECT_EQ(marginLRTB(BitmapRep(clear)), (std::array<int, 4>{6, 0, 4, 0}));
    const BitmapRep untouched = trimToSize(BitmapRep(clear), Size{0, 0});
    EXPECT_EQ(untouched.pixelsWide(), 6);
    EXPECT_EQ(untouched.pixelsHigh(), 4);

    QImage opaque(5, 5, QImage::Format_RGB888);
    opaque.fill(Qt::white);
    EXPECT_EQ(marginLRTB(BitmapRep(opaque)), (std::array<int, 4>{0, 0, 0, 0}));
}

TEST(ImageScans, ColourAtCountsFromTheTopLeft)
{
    const Image image = markedImage();
    const std::optional<Color> topLeft = colorAtX(image, 2.5f, 1, false);
    ASSERT_TRUE(topLeft);
    EXPECT_EQ(topLeft->redComponent(), 1.0f);
    EXPECT_EQ(colorAtX(image, 2, 18, false)->blueComponent(), 1.0f);
    const std::optional<Color> inCmyk = colorAtX(image, 2, 18, true);
    ASSERT_TRUE(inCmyk);
    EXPECT_TRUE(inCmyk->isCMYK());
    EXPECT_FALSE(colorAtX(image, 30, 0, false));
    EXPECT_FALSE(colorAtX(image, -0.5f, 0, false));
}

TEST(ImageIcons, SquareImagesAndExtraSizes)
{
    Image image = markedImage(1000, 500);
    image.addRepresentation(ImageRep(BitmapRep(QImage(40, 40, QImage::Format_RGB32))));
    image.addRepresentation(ImageRep(BitmapRep(QImage(300, 100, QImage::Format_RGB32))));

    const Image exclusive = squareImageInSize(image, 512, true);
    ASSERT_EQ(exclusive.representations().size(), 1u);
    EXPECT_EQ(exclusive.size(), (Size{512, 512}));
    const Image square = exclusive;
    EXPECT_TRUE(isRed(at(square, 2, 130))) << "fitted and centred: the picture starts 128 pixels down";
    EXPECT_EQ(at(square, 2, 2).alpha(), 0);

    const Image all = squareImageInSize(image, 512, false);
    std::vector<int> sides;
    for (const ImageRep &rep : all.representations()) {
        EXPECT_EQ(rep.pixelsWide(), rep.pixelsHigh());
        sides.push_back(rep.pixelsWide());
    }
    EXPECT_EQ(sides, (std::vector<int>{512, 32, 256}));

    const Image ready = markedImage(64, 64);
    EXPECT_EQ(squareImageInSize(ready, 64, true).bitmap().image(), ready.bitmap().image());
}

TEST(ImageIcons, AquaBallIsTintedRoundAndGlossy)
{
    const Image ball = aquaBallInSize(40, Color::colorWithCalibratedRed(0, 0, 1));
    ASSERT_TRUE(ball.isValid());
    EXPECT_EQ(ball.size(), (Size{40, 40}));
    EXPECT_EQ(at(ball, 0, 0).alpha(), 0) << "clipped to the circle";
    const QColor middle = at(ball, 20, 30);
    EXPECT_GT(middle.blue(), middle.red());
    EXPECT_GT(at(ball, 20, 8).lightness(), at(ball, 20, 30).lightness() - 40) << "the gloss lightens the top";
    EXPECT_FALSE(aquaBallInSize(0, Color::blueColor()).isValid());
}

TEST(ImagePdf, SaveImageAsPDFWritesAnUprightPageOfTheImageSize)
{
    ensureGuiApp();
    QTemporaryDir dir;
    const QString path = dir.filePath("image.pdf");
    ASSERT_TRUE(SaveImageAsPDF(markedImage(60, 40), path));
    auto pdf = PdfDocument::open(path);
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->pageCount(), 1);
    EXPECT_EQ(pdf->pageSize(0), (Size{60, 40}));
    const QImage page = pdf->renderPage(0, 72);
    EXPECT_TRUE(isRed(page.pixelColor(3, 3))) << "the top-left block stays at the top left";
    EXPECT_TRUE(isBlue(page.pixelColor(3, 36)));
}

TEST(ImagePdf, SaveImageAsPDFFailuresKeepTheOldFile)
{
    ensureGuiApp();
    QTemporaryDir dir;
    const QString path = dir.filePath("old.pdf");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("previous contents");
    }
    EXPECT_FALSE(SaveImageAsPDF(Image(), path));
    EXPECT_FALSE(SaveImageAsPDF(markedImage(), QString()));
    EXPECT_FALSE(SaveImageAsPDF(markedImage(), dir.filePath("missing/x.pdf")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("previous contents"));
}

TEST(ScreenResolution, DividesPixelsByInchesAndFallsBackTo72)
{
    EXPECT_NEAR(screenResolution(1920, 338.7f), 144, 0.1);
    EXPECT_EQ(screenResolution(1920, 0), 72);
    EXPECT_EQ(screenResolution(1920, NAN), 72);
    EXPECT_EQ(screenResolution(0, 300), 72);
    ensureGuiApp();
    const float dpi = GetCurrentScreenResolution();
    EXPECT_TRUE(std::isfinite(dpi));
    EXPECT_GT(dpi, 0);
}
