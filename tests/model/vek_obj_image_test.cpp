// The image object: defaults, undoable setters and transforms, sizes, caches, drawing on
// the recording paint device (with CMYK and the compositing operations) and copying.
#include "fakes.h"

#include "model/vek_obj_image.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "platform/image/image_file.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace {

// 40 x 20 pixels: the left half red, the right half blue, so that flips show.
Image twoColourImage(int width = 40, int height = 20)
{
    QImage pixels(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.setPixelColor(x, y, x < width / 2 ? QColor(255, 0, 0) : QColor(0, 0, 255));
    return Image(pixels);
}

std::shared_ptr<VekObjImage> imageObject(const Rect &bounds = {10, 20, 40, 20})
{
    auto o = VekObjImage::create();
    o->setImage(twoColourImage());
    o->setBounds(bounds);
    return o;
}

// An object in a document with a window; each setter call is its own undo step.
struct InDocument {
    InDocument() { doc.adopt(object); }
    void step() { doc.undo.closeEventGroup(); }

    FakeDocument doc;
    std::shared_ptr<VekObjImage> object = imageObject();
};

// Draws through a context on the recording device.
struct Recording {
    Recording() : device(QSize(600, 800)), context(&device, GraphicsContext::Output::Bitmap), scope(context) {}
    std::vector<RecordedDraw> ofKind(RecordedDraw::Kind kind) const
    {
        std::vector<RecordedDraw> out;
        for (const RecordedDraw &d : device.draws())
            if (d.kind == kind)
                out.push_back(d);
        return out;
    }
    std::vector<RecordedDraw> images() const { return ofKind(RecordedDraw::Kind::Image); }

    RecordingPaintDevice device;
    GraphicsContext context;
    GraphicsContext::Scope scope;
};

QColor leftPixel(const QImage &image) { return image.pixelColor(1, image.height() / 2); }

TEST(VekObjImage, NewObjectDefaults)
{
    FakePanels panels;
    const ScopedPanels installed(panels);
    const VekObject *address = nullptr;
    {
        auto o = VekObjImage::create();
        address = o.get();
        EXPECT_EQ(o->compositeOperation(), 2u);
        EXPECT_FALSE(o->colorizingColor());
        EXPECT_TRUE(o->noShadow());
        EXPECT_FALSE(o->drawsStroke());
        EXPECT_EQ(o->note(), QStringLiteral("I"));
        EXPECT_FALSE(o->canGoToObjMatrix());
        EXPECT_TRUE(o->hasNaturalSize());
        EXPECT_TRUE(o->canTransform());
        EXPECT_EQ(o->originalSize(), (Size{10, 10}));
        EXPECT_EQ(o->imgrepSize(), Size());
        EXPECT_EQ(o->drawingBounds(), Rect());
    }
    // The filter panel hears of the object's end.
    ASSERT_EQ(panels.deleted.size(), 1u);
    EXPECT_EQ(panels.deleted[0], address);
}

TEST(VekObjImage, NoImageOrTinyBoundsMakesNoNotices)
{
    FakeDocument doc;
    auto empty = VekObjImage::create();
    doc.adopt(empty);
    empty->setCompositeOperation(5);
    EXPECT_TRUE(doc.invalidated.empty());

    auto tiny = imageObject({0, 0, 1, 30});
    doc.adopt(tiny);
    tiny->setCompositeOperation(5);
    EXPECT_TRUE(doc.invalidated.empty());
    EXPECT_EQ(tiny->drawingBounds(), Rect());
}

TEST(VekObjImage, TintThresholdAndUndo)
{
    InDocument t;
    auto &o = *t.object;
    o.setColorizeWith(Color::redColor().colorWithAlphaComponent(0.05f));
    EXPECT_FALSE(o.colorizingColor());
    EXPECT_FALSE(t.doc.undo.canUndo());   // nothing changed

    // The first tint is undone back to none.
    o.setColorizeWith(Color::redColor());
    t.step();
    ASSERT_TRUE(t.doc.undo.canUndo());
    t.doc.undo.undo();
    EXPECT_FALSE(o.colorizingColor());
    t.doc.undo.redo();
    EXPECT_EQ(o.colorizingColor(), Color::redColor());
    ASSERT_TRUE(o.coloredImage().isValid());

    o.setColorizeWith(Color::greenColor());
    t.step();
    EXPECT_EQ(o.colorizingColor(), Color::greenColor());
    t.doc.undo.undo();
    EXPECT_EQ(o.colorizingColor(), Color::redColor());
}

TEST(VekObjImage, PlainSettersUndo)
{
    InDocument t;
    auto &o = *t.object;
    const Image first = o.image();

    o.setCompositeOperation(8);
    t.step();
    o.setImage(twoColourImage(10, 10));
    t.step();
    o.setBounds({0, 0, 80, 60});
    t.step();
    EXPECT_EQ(o.image().size(), (Size{10, 10}));

    t.doc.undo.undo();
    EXPECT_EQ(o.bounds(), (Rect{10, 20, 40, 20}));
    t.doc.undo.undo();
    EXPECT_EQ(o.image().size(), first.size());
    t.doc.undo.undo();
    EXPECT_EQ(o.compositeOperation(), 2u);
}

TEST(VekObjImage, DragIsOneUndoStep)
{
    InDocument t;
    auto &o = *t.object;
    o.startBoundsManipulation();
    o.setBounds({10, 20, 50, 30});
    o.setBounds({10, 20, 60, 40});
    o.stopBoundsManipulation();
    t.step();
    t.doc.undo.undo();
    EXPECT_EQ(o.bounds(), (Rect{10, 20, 40, 20}));
    EXPECT_FALSE(t.doc.undo.canUndo());
}

// Flips are undoable and redrawn even when nothing was drawn since the last change.
TEST(VekObjImage, FlipsUndoWithoutCachedImage)
{
    InDocument t;
    auto &o = *t.object;
    o.setBounds({10, 20, 50, 20});   // drops the caches
    t.step();
    const size_t before = t.doc.invalidated.size();
    o.flipHorizontally();
    t.step();
    EXPECT_TRUE(o.flippedHorizontally());
    EXPECT_GT(t.doc.invalidated.size(), before);
    EXPECT_EQ(leftPixel(o.transformedImage().toQImage()), QColor(0, 0, 255));

    t.doc.undo.undo();
    EXPECT_FALSE(o.flippedHorizontally());
    EXPECT_EQ(leftPixel(o.transformedImage().toQImage()), QColor(255, 0, 0));
}

TEST(VekObjImage, RotationAndSkewAreUndoable)
{
    InDocument t;
    auto &o = *t.object;
    const Rect bounds = o.bounds();
    o.setRotation(45.7f, Point{}, true);
    t.step();
    EXPECT_FLOAT_EQ(o.objRotation(), 45.7f);
    EXPECT_EQ(o.bounds(), bounds);
    // Turned by whole degrees into a larger rectangle about the same centre.
    const Rect drawn = o.drawingBounds();
    EXPECT_GT(drawn.width(), bounds.width());
    EXPECT_GT(drawn.height(), bounds.height());
    EXPECT_NEAR(drawn.midX(), bounds.midX(), 0.01);
    EXPECT_NEAR(drawn.midY(), bounds.midY(), 0.01);

    o.setRotation(400, Point{}, true);   // out of range: ignored
    EXPECT_FLOAT_EQ(o.objRotation(), 45.7f);
    o.setSkewX(0.5f, true);
    t.step();
    EXPECT_FLOAT_EQ(o.skewX(), 0.5f);

    t.doc.undo.undo();
    EXPECT_FLOAT_EQ(o.skewX(), 0);
    t.doc.undo.undo();
    EXPECT_FLOAT_EQ(o.objRotation(), 0);
    EXPECT_EQ(o.drawingBounds(), bounds);
    t.doc.undo.redo();
    EXPECT_FLOAT_EQ(o.objRotation(), 45.7f);
}

TEST(VekObjImage, StoringWithoutUpdateRegistersNothing)
{
    InDocument t;
    t.object->setRotation(90, Point{}, false);
    EXPECT_EQ(t.object->transformedImage().size(), (Size{20, 40}));
    t.object->setSkewY(-0.25f, false);
    EXPECT_GT(t.object->transformedImage().size().height, 40);
    EXPECT_FALSE(t.doc.undo.canUndo());
    EXPECT_FLOAT_EQ(t.object->objRotation(), 90);
    EXPECT_FLOAT_EQ(t.object->skewY(), -0.25f);
}

TEST(VekObjImage, NaturalSizeKeepsTheLongerSide)
{
    struct Case {
        Rect bounds;
        Size expected;
    };
    const Case cases[] = {{{0, 0, 200, 100}, {200, 200}}, {{0, 0, 50, 100}, {100, 100}}};
    for (const Case &c : cases) {
        auto o = VekObjImage::create();
        o->setImage(twoColourImage(400, 400));
        o->setBounds(c.bounds);
        o->setFlippedHorizontally(true);
        o->setFlippedVertically(true);
        o->setToNaturalSize();
        EXPECT_EQ(o->bounds().size, c.expected);
        EXPECT_FALSE(o->flippedHorizontally());
        EXPECT_FALSE(o->flippedVertically());
    }
}

TEST(VekObjImage, ResamplingChangesThePixelSizeUndoably)
{
    InDocument t;
    auto &o = *t.object;
    EXPECT_EQ(o.imgrepSize(), (Size{40, 20}));
    o.setImgrepSize({20, 10});
    t.step();
    EXPECT_EQ(o.imgrepSize(), (Size{20, 10}));
    EXPECT_EQ(leftPixel(o.image().toQImage()), QColor(255, 0, 0));

    o.setImgrepSize({0, 10});
    o.setImgrepSize({100000, 100000});
    EXPECT_EQ(o.imgrepSize(), (Size{20, 10}));

    t.doc.undo.undo();
    EXPECT_EQ(o.imgrepSize(), (Size{40, 20}));
}

TEST(VekObjImage, RedrawAreaGrowsByTheDocumentShadow)
{
    InDocument t;
    auto &o = *t.object;
    EXPECT_EQ(o.boundsToRedraw(), o.bounds());
    o.setNoShadow(false);
    t.doc.shadowOn = true;
    // 40 / cos 45 - 40 = 16.57, cut to 16.
    EXPECT_EQ(o.boundsToRedraw(), (Rect{-6, 4, 72, 52}));
}

TEST(VekObjImage, DrawsTheImageOverTheFillAndFramesIt)
{
    InDocument t;
    auto &o = *t.object;
    o.setFillColor(Color::greenColor());
    o.setObjStrokeColor(Color::blackColor());
    o.setFillAlpha(0.5f);
    Recording rec;
    o.drawInViewIsSelected(&t.doc.canvas, false);

    const auto images = rec.images();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].target, QRectF(10, 20, 40, 20));
    EXPECT_DOUBLE_EQ(images[0].opacity, 0.5);
    EXPECT_EQ(images[0].composition, QPainter::CompositionMode_SourceOver);
    EXPECT_EQ(leftPixel(images[0].image), QColor(255, 0, 0));

    const auto paths = rec.ofKind(RecordedDraw::Kind::Path);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_TRUE(paths[0].isFill());
    EXPECT_EQ(paths[0].path.boundingRect(), QRectF(10, 20, 40, 20));
    EXPECT_TRUE(paths[1].isStroke());
    EXPECT_EQ(paths[1].path.boundingRect(), QRectF(8, 18, 44, 24));
}

TEST(VekObjImage, DrawsTransformedAndTintedImages)
{
    InDocument t;
    auto &o = *t.object;
    o.setFlippedHorizontally(true);
    {
        Recording rec;
        o.drawInViewIsSelected(&t.doc.canvas, false);
        ASSERT_EQ(rec.images().size(), 1u);
        EXPECT_EQ(leftPixel(rec.images()[0].image), QColor(0, 0, 255));
    }
    o.setColorizeWith(Color::colorWithCalibratedRed(0, 1, 0));
    Recording rec;
    o.drawInViewIsSelected(&t.doc.canvas, false);
    ASSERT_EQ(rec.images().size(), 1u);
    const QColor tinted = leftPixel(rec.images()[0].image);
    EXPECT_GT(tinted.green(), tinted.red());
    EXPECT_GT(tinted.green(), tinted.blue());
}

// A CMYK document draws the CMYK version of whatever image is shown, tinted or transformed.
TEST(VekObjImage, CmykDocumentDrawsTheCmykVersion)
{
    InDocument t;
    t.doc.cmyk = true;
    auto &o = *t.object;
    for (int round = 0; round < 3; ++round) {
        if (round == 1)
            o.setRotation(90, Point{}, true);
        if (round == 2)
            o.setColorizeWith(Color::blueColor());
        Recording rec;
        o.drawInViewIsSelected(&t.doc.canvas, false);
        ASSERT_TRUE(o.cmykImage().isValid()) << round;
        ASSERT_NE(o.cmykImage().bitmap().isNull(), true);
        EXPECT_TRUE(o.cmykImage().bitmap().isCMYK()) << round;
        EXPECT_EQ(rec.images().size(), 1u) << round;
        if (round == 1) {
            EXPECT_EQ(o.cmykImage().size(), (Size{20, 40}));
        }
    }
    o.clearCachedImage();
    EXPECT_FALSE(o.cmykImage().isValid());
}

struct OperationCase {
    const char *name;
    unsigned op;
    Color background;
    bool toSave;
    QPainter::CompositionMode imageMode;
    std::optional<QColor> behind;   // the colour filled behind with destination-atop, if any
};

TEST(VekObjImage, SpecialOperationsOnScreenGetTheBackgroundBehind)
{
    const OperationCase cases[] = {
        {"source over", 2, Color::whiteColor(), false, QPainter::CompositionMode_SourceOver, std::nullopt},
        {"destination out on white", 8, Color::whiteColor(), false, QPainter::CompositionMode_DestinationOut,
         QColor(255, 255, 255)},
        {"xor on a clear canvas", 10, Color::clearColor(), false, QPainter::CompositionMode_Xor,
         QColor::fromRgbF(0.93f, 0.93f, 0.93f)},
        {"xor on a clear canvas while saving", 10, Color::clearColor(), true, QPainter::CompositionMode_Xor,
         std::nullopt},
    };
    for (const OperationCase &c : cases) {
        SCOPED_TRACE(c.name);
        InDocument t;
        t.doc.canvas.background = c.background;
        t.doc.canvas.toSave = c.toSave;
        t.object->setCompositeOperation(c.op);
        Recording rec;
        t.object->drawInRect(t.object->bounds(), false);
        ASSERT_EQ(rec.images().size(), 1u);
        EXPECT_EQ(rec.images()[0].composition, c.imageMode);
        const auto paths = rec.ofKind(RecordedDraw::Kind::Path);
        ASSERT_EQ(paths.size(), c.behind ? 1u : 0u);
        if (c.behind) {
            EXPECT_EQ(paths[0].composition, QPainter::CompositionMode_DestinationAtop);
            EXPECT_EQ(paths[0].brush.color().rgb(), c.behind->rgb());
        }
    }
}

TEST(VekObjImage, PdfComposesAgainstTheAreaBelow)
{
    std::vector<Rect> asked;
    VekObjImage::setAreaBelowRenderer([&](const VekObjImage &, const Rect &r) {
        asked.push_back(r);
        QImage below(int(r.width()), int(r.height()), QImage::Format_ARGB32);
        below.fill(QColor(0, 255, 0));
        return Image(below);
    });
    struct Case {
        unsigned op;
        size_t images;
        QColor left;   // of the one image drawn
    };
    // 6: nothing; 3: the image over the area; 12: the area alone.
    const Case cases[] = {{6, 0, {}}, {3, 1, QColor(255, 0, 0)}, {12, 1, QColor(0, 255, 0)}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.op);
        InDocument t;
        t.doc.canvas.toPDF = true;
        t.object->setCompositeOperation(c.op);
        Recording rec;
        t.object->drawInRect(t.object->bounds(), false);
        ASSERT_EQ(rec.images().size(), c.images);
        if (c.images) {
            EXPECT_EQ(rec.images()[0].composition, QPainter::CompositionMode_SourceOver);
            EXPECT_EQ(leftPixel(rec.images()[0].image), c.left);
        }
    }
    EXPECT_EQ(asked.size(), 3u);
    VekObjImage::setAreaBelowRenderer(nullptr);

    // Without a renderer the image is drawn directly with its operation.
    InDocument t;
    t.doc.canvas.toPDF = true;
    t.object->setCompositeOperation(3);
    Recording rec;
    t.object->drawInRect(t.object->bounds(), false);
    EXPECT_EQ(rec.images().size(), 1u);
}

TEST(VekObjImage, RepeatedPageDrawsTheImageMoved)
{
    auto o = imageObject();
    Recording rec;
    o->drawInViewInRect(nullptr, {10, 820, 40, 20});
    ASSERT_EQ(rec.images().size(), 1u);
    EXPECT_EQ(rec.images()[0].target, QRectF(10, 820, 40, 20));
    EXPECT_EQ(o->boundsOnPage(2, {0, 0, 600, 800}), (Rect{10, 820, 40, 20}));
}

TEST(VekObjImage, DictionaryKeys)
{
    auto o = imageObject();
    PropertyList dict = o->propertyListRepresentation();
    EXPECT_TRUE(dict.contains(QStringLiteral("image")));
    EXPECT_EQ(dict.value(QStringLiteral("compOp")).intValue(), 2);
    EXPECT_FALSE(dict.contains(QStringLiteral("overcolor")));

    o->setColorizeWith(Color::redColor());
    dict = o->propertyListRepresentation();
    EXPECT_TRUE(dict.contains(QStringLiteral("overcolor")));
    auto back = std::static_pointer_cast<VekObjImage>(VekObject::objectWithPropertyListRepresentation(dict));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->colorizingColor(), Color::redColor());
    EXPECT_EQ(back->bounds(), o->bounds());
    EXPECT_EQ(back->imgrepSize(), (Size{40, 20}));
    EXPECT_EQ(leftPixel(back->image().toQImage()), QColor(255, 0, 0));

    // A stored tint is kept however transparent it is.
    const Color clearRed = Color::redColor().colorWithAlphaComponent(0);
    dict.insert(QStringLiteral("overcolor"), PropertyList::fromData(*archivedDataWithRootObject(clearRed).value));
    back = std::static_pointer_cast<VekObjImage>(VekObject::objectWithPropertyListRepresentation(dict));
    EXPECT_EQ(back->colorizingColor(), clearRed);
}

// CMYK pixels keep their inks and every image its size in points.
TEST(VekObjImage, DictionaryKeepsInksAndPointSize)
{
    BitmapRep cmyk = BitmapRep::cmykBitmap(4, 2, false);
    const unsigned ink[4] = {10, 200, 30, 40};
    cmyk.setPixel(ink, 3, 1);
    Image picture(cmyk);
    picture.setSize({2, 1});
    auto o = imageObject();
    o->setImage(picture);
    auto back = std::static_pointer_cast<VekObjImage>(
        VekObject::objectWithPropertyListRepresentation(o->propertyListRepresentation()));
    ASSERT_TRUE(back && back->image().isValid());
    EXPECT_EQ(back->originalSize(), (Size{2, 1}));
    const BitmapRep read = back->image().bitmap();
    ASSERT_TRUE(read.isCMYK());
    unsigned samples[4] = {};
    read.getPixel(samples, 3, 1);
    EXPECT_EQ(std::vector<unsigned>(samples, samples + 4), std::vector<unsigned>(ink, ink + 4));
}

TEST(VekObjImage, DictionaryWithDamagedValues)
{
    auto o = imageObject();
    PropertyList dict = o->propertyListRepresentation();
    dict.insert(QStringLiteral("image"), PropertyList::fromData(QByteArray("not an image")));
    dict.insert(QStringLiteral("compOp"), PropertyList::fromInt(99));
    auto back = std::static_pointer_cast<VekObjImage>(VekObject::objectWithPropertyListRepresentation(dict));
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->image().isValid());
    EXPECT_EQ(back->compositeOperation(), 2u);
    EXPECT_EQ(back->originalSize(), (Size{10, 10}));
}

TEST(VekObjImage, CopyKeepsImageOperationAndTint)
{
    auto o = imageObject();
    o->setCompositeOperation(7);
    o->setColorizeWith(Color::yellowColor());
    o->setRotation(30, Point{}, true);
    auto copy = std::static_pointer_cast<VekObjImage>(o->copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->compositeOperation(), 7u);
    EXPECT_EQ(copy->colorizingColor(), Color::yellowColor());
    EXPECT_EQ(copy->imgrepSize(), (Size{40, 20}));
    EXPECT_FLOAT_EQ(copy->objRotation(), 30);
    EXPECT_EQ(copy->drawingBounds(), o->drawingBounds());
}

} // namespace

// The centre of the non-white pixels of an image.
QPointF inkCentre(const QImage &image)
{
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white)) {
                sx += x + 0.5;
                sy += y + 0.5;
                ++n;
            }
    return n ? QPointF(sx / n, sy / n) : QPointF(-1, -1);
}

TEST(VekObjImage, ARotatedImageLandsOnItsBoundsOnEveryDrawingPath)
{
    InDocument t;
    t.doc.pages = 3;
    t.doc.canvas.pages = 3;
    t.object->setBounds(Rect(100, 100, 80, 40));
    t.object->setRotation(30, Point{}, true);
    t.object->setRepeatType(3);
    const Rect bounds = t.object->bounds();
    const float pageHeight = t.doc.canvas.rectForPage(1).height();

    struct Case {
        const char *name;
        std::function<void()> draw;
        QPointF expected;
    };
    const Case cases[] = {
        {"page 1", [&] { t.object->drawInViewIsSelectedOnPagePageRect(&t.doc.canvas, false, 1, t.doc.canvas.rectForPage(1)); },
         QPointF(bounds.midX(), bounds.midY())},
        {"page 2", [&] { t.object->drawInViewIsSelectedOnPagePageRect(&t.doc.canvas, false, 2, t.doc.canvas.rectForPage(2)); },
         QPointF(bounds.midX(), bounds.midY() + pageHeight)},
        {"in a rectangle", [&] { t.object->drawInViewInRect(&t.doc.canvas, Rect(300, 500, 80, 40)); }, QPointF(340, 520)},
    };
    for (const Case &c : cases) {
        QImage pixels(600, 2 * int(pageHeight) + 50, QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::white);
        {
            GraphicsContext context(pixels);
            GraphicsContext::Scope scope(context);
            c.draw();
        }
        const QPointF centre = inkCentre(pixels);
        EXPECT_NEAR(centre.x(), c.expected.x(), 1.5) << c.name;
        EXPECT_NEAR(centre.y(), c.expected.y(), 1.5) << c.name;
    }

    // Repetition off and on again leaves the bounds where they were.
    t.object->setRepeatType(0);
    t.object->setRepeatType(3);
    EXPECT_EQ(t.object->bounds(), bounds);
}

// The PDF of a 100 x 50 point page with a red rectangle.
QByteArray smallPdf()
{
    const std::string content = "1 0 0 rg 10 10 80 30 re f";
    return pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                           "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 50] /Contents 4 0 R >>",
                           streamObject("", content)});
}

// An archive of the platform's NSImage (version 46) holding an NSBitmapImageRep (version 17)
// with the image file, sized 40 x 20 points.
QByteArray archivedPlatformImage(const QByteArray &file)
{
    auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    QByteArray out = hex("040b") + "streamtyped" + hex("81e803");
    // Strings: "@" 0, "NSImage" 1, "NSObject" 2, "c" 3, "ff" 4, "s" 5, "NSBitmapImageRep" 6,
    // "i" 7, "[Nc]" 8; objects: the image 0, its class 1, NSObject 2, the representation 3.
    out += hex("840140") + hex("848484") + hex("07") + "NSImage" + hex("2e") + hex("848408") + "NSObject" + hex("0085");
    out += hex("9285");                                  // "@": nil
    out += hex("84016300");                              // fourteen "c" flags
    for (int i = 1; i < 14; ++i)
        out += hex("9500");
    out += hex("84026666" "2814") + hex("84017300") + hex("9500");   // "ff" 40 20, "s", "c"
    out += hex("92") + hex("848484") + hex("10") + "NSBitmapImageRep" + hex("11") + hex("94");
    char length[4];
    qToLittleEndian(quint32(file.size()), length);
    out += hex("84016982") + QByteArray(length, 4);
    const QByteArray arrayType = "[" + QByteArray::number(file.size()) + "c]";
    out += hex("84") + QByteArray(1, char(arrayType.size())) + arrayType + file + hex("86");
    out += hex("9285") + hex("86");                      // no background colour; end of image
    return out;
}

TEST(VekObjImage, TheImageKeyKeepsTheFileItCameFrom)
{
    ensureGuiApp();
    auto o = VekObjImage::create();
    o->setImage(readImageData(smallPdf()));
    o->setBounds(Rect(10, 10, 100, 50));
    ASSERT_TRUE(o->image().isValid());
    const PropertyList dict = o->propertyListRepresentation();
    EXPECT_EQ(dict.value(QStringLiteral("image")).dataValue(), smallPdf());

    const std::function<PropertyList(const PropertyList &)> forms[] = {
        [](const PropertyList &d) { return propertyListFromText(textPropertyListData(d)); },
        [](const PropertyList &d) { return *unarchivePropertyListWithData(*archivedDataWithRootObject(d).value).value; },
    };
    for (const auto &form : forms) {
        auto back = std::static_pointer_cast<VekObjImage>(VekObject::objectWithPropertyListRepresentation(form(dict)));
        ASSERT_TRUE(back && back->image().isValid());
        ASSERT_NE(back->image().bestRepresentation()->pdfDocument(), nullptr);   // still vectors
        EXPECT_EQ(back->propertyListRepresentation().value(QStringLiteral("image")).dataValue(), smallPdf());
    }
    auto copy = std::static_pointer_cast<VekObjImage>(o->copy());
    EXPECT_EQ(copy->propertyListRepresentation().value(QStringLiteral("image")).dataValue(), smallPdf());

    // A photo keeps its own bytes too, instead of being encoded again.
    QImage pixels(8, 8, QImage::Format_RGB888);
    pixels.fill(Qt::darkGreen);
    const QByteArray jpeg = encodeBitmap(BitmapRep(pixels), "jpeg", 0.5f);
    o->setImage(readImageData(jpeg));
    EXPECT_EQ(o->propertyListRepresentation().value(QStringLiteral("image")).dataValue(), jpeg);
}

TEST(VekObjImage, SettingTheSameImageAgainRegistersNothing)
{
    InDocument t;
    t.step();
    t.object->setImage(t.object->image());
    t.object->setImage(Image(t.object->image()));
    t.step();
    EXPECT_FALSE(t.doc.undo.canUndo());
    t.object->setImage(twoColourImage(20, 20));
    t.step();
    EXPECT_TRUE(t.doc.undo.canUndo());
}

TEST(VekObjImage, ImagesArchivedByOlderDocumentsAreReadOrKept)
{
    ensureGuiApp();
    auto o = imageObject();
    PropertyList dict = o->propertyListRepresentation();
    QImage pixels(4, 2, QImage::Format_RGB888);
    pixels.fill(Qt::blue);
    dict.insert(QStringLiteral("image"), PropertyList::fromData(archivedPlatformImage(encodeBitmap(BitmapRep(pixels), "tiff"))));
    auto back = std::static_pointer_cast<VekObjImage>(VekObject::objectWithPropertyListRepresentation(dict));
    ASSERT_TRUE(back && back->image().isValid());
    EXPECT_EQ(back->image().size(), (Size{40, 20}));
    EXPECT_EQ(back->image().toQImage(QSize(4, 2)).pixelColor(1, 1), QColor(Qt::blue));

    // Data no reader understands stays as it came, shown as a placeholder.
    const QByteArray unknown = QByteArray::fromHex("040b") + "streamtyped" + QByteArray::fromHex("81e803840140848484")
        + QByteArray::fromHex("07") + "NSImage" + QByteArray::fromHex("05848408") + "NSObject" + QByteArray::fromHex("008586");
    dict.insert(QStringLiteral("image"), PropertyList::fromData(unknown));
    back = std::static_pointer_cast<VekObjImage>(VekObject::objectWithPropertyListRepresentation(dict));
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->image().isValid());
    EXPECT_TRUE(back->hasUnreadableImage());
    EXPECT_EQ(back->propertyListRepresentation().value(QStringLiteral("image")).dataValue(), unknown);
    Recording rec;
    back->drawInRect(back->bounds(), false);
    EXPECT_FALSE(rec.ofKind(RecordedDraw::Kind::Path).empty());
}
