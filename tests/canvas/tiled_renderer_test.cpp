// Tiled rendering and culling through the spatial index: the same pixels as drawing every
// object into one image, whatever the tiles, threads and dirty rectangles.
#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "canvas/spatial_index.h"
#include "canvas/tiled_renderer.h"

#include "document/vek_document.h"
#include "model/vek_obj_format.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_path.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/undo_manager.h"
#include "platform/graphics/graphics_context.h"
#include "platform/pdf/pdf_document.h"
#include "tests/canvas/tile_comparison.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr float PageWidth = 400, PageHeight = 300;

std::shared_ptr<VekObjPath> pathObject(const BezierPath &path, const Color &fill, const Color &stroke, float width)
{
    auto o = VekObjPath::create();
    o->setBezierPath(path);
    o->setBounds(path.bounds());
    o->setFillColor(fill);
    o->setDrawsFill(true);
    o->setObjStrokeColor(stroke);
    o->setObjLineWidth(width);
    o->setDrawsStroke(true);
    return o;
}

BezierPath curvyPath(std::mt19937 &random, Point around, float size)
{
    std::uniform_real_distribution<float> offset(-size, size);
    const auto near = [&] { return Point{around.x + offset(random), around.y + offset(random)}; };
    BezierPath path;
    path.moveToPoint(near());
    for (int i = 0; i < 3; ++i)
        path.curveToPoint(near(), near(), near());
    path.closePath();
    return path;
}

PropertyList shadowValues(float offset, float blur, float angle)
{
    PropertyList shadow = PropertyList::dictionary();
    shadow.insert(ShadowStateKey, PropertyList::fromInt(1));
    shadow.insert(ShadowColorKey,
                  PropertyList::fromData(*archivedDataWithRootObject(Color::colorWithCalibratedRed(0.1f, 0.1f, 0.4f, 0.8f)).value));
    shadow.insert(ShadowOffsetKey, PropertyList::fromFloat(offset));
    shadow.insert(ShadowBlurKey, PropertyList::fromFloat(blur));
    shadow.insert(ShadowAngleKey, PropertyList::fromFloat(angle));
    return shadow;
}

QImage checkerImage(int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixelColor(x, y, ((x / 4 + y / 4) % 2) ? QColor(200, 30, 30) : QColor(30, 30, 200, 160));
    return image;
}

// Two pages of everything drawing has caches or special paths for: random filled and
// stroked curves, a gradient, own and document shadows falling across tile edges, clip paths
// inside and outside, a repeating object and a repeating page-number field, an image turned
// about its centre, blur and brush strokes.
struct VariedDocument {
    VariedDocument()
    {
        ensureGuiApp();
        doc.setDrawAreaSizePerPage({PageWidth, PageHeight});
        doc.setNumberOfPages(2);
        doc.setBackgroundColor(Color::colorWithCalibratedRed(0.95f, 0.95f, 0.9f));
        std::mt19937 random(7);
        std::uniform_real_distribution<float> x(0, PageWidth), y(0, 2 * PageHeight), channel(0, 1);
        const auto colour = [&](float alpha) { return Color::colorWithCalibratedRed(channel(random), channel(random), channel(random), alpha); };
        for (int i = 0; i < 60; ++i)
            add(pathObject(curvyPath(random, {x(random), y(random)}, 30), colour(0.8f), colour(1), 2));

        auto gradient = pathObject(BezierPath::bezierPathWithOvalInRect(Rect(60, 40, 150, 90)), colour(1), colour(1), 1);
        PropertyList colours = PropertyList::array();
        for (const Color &c : {Color::redColor(), Color::greenColor(), Color::blueColor()})
            colours.append(PropertyList::fromData(*archivedDataWithRootObject(c).value));
        PropertyList stops = PropertyList::array();
        stops.append(PropertyList::fromFloat(0.3f));
        stops.append(PropertyList::fromFloat(0.7f));
        gradient->setGradientType(1, false);
        gradient->setGradientRotate(30, false);
        gradient->setGradientColorsAndColorRects(colours, stops);
        add(gradient);

        auto shadowed = pathObject(BezierPath::bezierPathWithRect(Rect(120, 120, 70, 50)), colour(1), colour(1), 3);
        shadowed->setIndvShadowValues(shadowValues(12, 6, 315));
        add(shadowed);

        auto clipped = pathObject(BezierPath::bezierPathWithRect(Rect(250, 30, 120, 100)), colour(1), colour(1), 1);
        add(clipPath(BezierPath::bezierPathWithOvalInRect(Rect(260, 40, 90, 90)), 1));
        add(clipped);
        auto outside = pathObject(BezierPath::bezierPathWithRect(Rect(250, 180, 120, 100)), colour(1), colour(1), 1);
        add(clipPath(BezierPath::bezierPathWithOvalInRect(Rect(270, 190, 80, 80)), 2));
        add(outside);

        auto everyPage = pathObject(BezierPath::bezierPathWithRoundedRect(Rect(20, 250, 90, 30), 8, 8), colour(1), colour(1), 2);
        everyPage->setRepeatType(3);
        add(everyPage);
        auto field = VekObjFormat::create();
        TextAttributes style;
        style.font = Font{QStringLiteral("DejaVuSans"), 14};
        style.foregroundColor = Color::blackColor();
        field->setExample(AttributedString(QStringLiteral("1"), style));
        field->setBounds(Rect(190, 270, 40, 20));
        field->setRepeatType(3);
        add(field);

        auto image = VekObjImage::create();
        image->setImage(Image(checkerImage(64)));
        image->setBounds(Rect(40, 380, 100, 80));
        image->setRotation(25, Point(), true);
        add(image);

        for (int pattern : {4, 5}) {
            BezierPath line;
            line.moveToPoint({float(150 + 100 * (pattern - 4)), 420});
            line.curveToPoint({float(230 + 100 * (pattern - 4)), 560}, {180, 520}, {260, 380});
            auto stroke = pathObject(line, Color::clearColor(), colour(1), 8);
            stroke->setDrawsFill(false);
            stroke->setLineDrawPattern(pattern, false);
            add(stroke);
        }
        doc.setShadowState(1);
        doc.setShadowOffset(5);
        doc.setShadowBlur(4);
    }
    std::shared_ptr<VekObjPath> clipPath(const BezierPath &path, int type)
    {
        auto o = VekObjPath::create();
        o->setBezierPath(path);
        o->setBounds(path.bounds());
        o->setDrawsStroke(false);
        o->simplySetAsClip(type, nullptr);
        return o;
    }
    void add(const std::shared_ptr<VekObject> &object) { doc.insertObject(object, 0, false); }
    void dropCaches()
    {
        for (const auto &o : doc.objects())
            o->clearCachedImage();
    }

    QImage drawnWhole(double scale, const SpatialIndex *index = nullptr, Rect dirty = Rect())
    {
        return ::drawnWhole(doc, scale, index, dirty);
    }
    QImage drawnInTiles(double scale, int tileSide, int threads) { return ::drawnInTiles(doc, scale, tileSide, threads); }

    VekDocument doc;
};

// Qt resamples an image drawn at a fractional place along each span of pixels from the
// span's start, so where a tile or dirty rectangle starts a span the turned image may come
// out a level or two apart; everything else matches exactly.
constexpr int ResamplingTolerance = 2;

} // namespace

TEST(TiledRenderer, TilesOnThreadsDrawTheSamePixelsAsOneImage)
{
    VariedDocument t;
    for (double scale : {1.0, 1.5, 2.0}) {
        t.dropCaches();
        const QImage whole = t.drawnWhole(scale);
        // Several runs with the caches dropped each time, so that tiles fill them in parallel.
        for (int run = 0; run < 4; ++run) {
            t.dropCaches();
            const QImage tiled = t.drawnInTiles(scale, 48 + 16 * run, 4);
            ASSERT_LE(largestDifference(whole, tiled), ResamplingTolerance) << "scale " << scale << ", run " << run;
        }
    }
}

TEST(TiledRenderer, PageImageForExport)
{
    VariedDocument t;
    const QImage whole = t.drawnWhole(1.5);
    const QImage second = renderPageImage(t.doc, 2, 1.5);
    ASSERT_EQ(second.size(), QSize(int(PageWidth * 1.5), int(PageHeight * 1.5)));
    EXPECT_LE(largestDifference(whole.copy(0, int(PageHeight * 1.5), second.width(), second.height()), second),
              ResamplingTolerance);
}

TEST(TiledRenderer, EachTileDrawsItsPartOfTheBackgroundPdfPage)
{
    ensureGuiApp();
    // A page of red, green and blue bands and a black disc across them.
    const auto page = [](const char *contents) {
        return std::string("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 400 300] /Contents ") + contents + " >>";
    };
    const std::string bands = "1 0 0 rg 0 0 400 100 re f 0 1 0 rg 0 100 400 100 re f 0 0 1 rg 0 200 400 100 re f "
                              "0 g 200 150 m 300 150 l 300 205 255 250 200 250 c 145 250 100 205 100 150 c h f";
    const QByteArray data = pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>",
                                            "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>", page("5 0 R"),
                                            page("5 0 R"), streamObject("", bands)});
    VariedDocument t;
    t.doc.setBackgroundPDF(PdfDocument::openData(data), data);
    for (double scale : {1.0, 2.0}) {
        const QImage whole = t.drawnWhole(scale);
        EXPECT_EQ(whole.pixelColor(int(10 * scale), int(295 * scale)).red(), 255);   // shown on page 1
        EXPECT_LE(largestDifference(whole, t.drawnInTiles(scale, 100, 4)), ResamplingTolerance) << scale;
    }
}

// A tiny PDF with a 30,000-point page: a window's worth of tiles renders only the parts it
// shows, at full resolution, and the process's peak memory stays far from what rendering
// the whole page per tile takes.
TEST(TiledRenderer, AHugeBackgroundPdfPageCostsOnlyTheTilesShown)
{
    ensureGuiApp();
    const QByteArray data = pdfFromObjects(
        {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
         "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 30000 30000] /Contents 4 0 R >>",
         streamObject("", "1 0 0 rg 0 29900 100 100 re f")});
    ASSERT_LT(data.size(), 1024);
    VekDocument doc;
    doc.setBackgroundPDF(PdfDocument::openData(data), data);
    ASSERT_EQ(doc.drawAreaSizePerPage(), (Size{30000, 30000}));
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    OffscreenCanvas canvas(doc);
    RenderRequest request;
    request.dirty = Rect(0, 0, 1600, 1200);
    const QImage shown = renderTiled(doc, canvas, request, 1.0, {256, 4}).image;
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_EQ(shown.pixelColor(50, 50), QColor(Qt::red));   // the page's top left corner, sharp
    EXPECT_EQ(shown.pixelColor(99, 99), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(101, 101), QColor(Qt::red));
    EXPECT_LT((after.ru_maxrss - before.ru_maxrss) / 1024, 400) << "MB more at the peak";
}

TEST(SpatialIndexCulling, DirtyRectanglesDrawTheSamePixelsWithTheIndex)
{
    VariedDocument t;
    const QImage whole = t.drawnWhole(1);
    SpatialIndex index(t.doc);
    // Each rectangle cuts a clip pair, a shadow or the repeating objects.
    for (const Rect &dirty : {Rect(300, 100, 60, 40), Rect(255, 200, 30, 30), Rect(180, 160, 40, 40),
                              Rect(0, 260, 240, 80), Rect(100, 400, 200, 150), Rect(0, 0, PageWidth, 2 * PageHeight)}) {
        const QRect pixels = QRectF(dirty.origin.x, dirty.origin.y, dirty.width(), dirty.height()).toAlignedRect();
        const QImage culled = t.drawnWhole(1, &index, dirty).copy(pixels);
        const QImage all = t.drawnWhole(1, nullptr, dirty).copy(pixels);
        EXPECT_EQ(largestDifference(culled, all), 0) << dirty.origin.x << "," << dirty.origin.y;
        EXPECT_LE(largestDifference(culled, whole.copy(pixels)), ResamplingTolerance)
            << dirty.origin.x << "," << dirty.origin.y;
    }
}

namespace {

// A document with a window, so that its objects post their change notifications.
struct IndexedDocument {
    IndexedDocument() : canvas(doc)
    {
        ensureGuiApp();
        doc.setDrawAreaSizePerPage({PageWidth, PageHeight});
        doc.setNumberOfPages(2);
        doc.setVekView(&canvas);
        doc.setHasWindow(true);
        a = square(Rect(10, 10, 20, 20));
        b = square(Rect(200, 100, 20, 20));
        index = std::make_unique<SpatialIndex>(doc);
    }
    ~IndexedDocument() { index.reset(); doc.setVekView(nullptr); }
    std::shared_ptr<VekObjPath> square(const Rect &r)
    {
        auto o = pathObject(BezierPath::bezierPathWithRect(r), Color::redColor(), Color::blackColor(), 1);
        doc.insertObject(o, 0, false);
        return o;
    }
    std::vector<VekObject *> at(const Rect &r)
    {
        index->refresh();
        std::vector<VekObject *> found;
        for (const auto &o : index->objectsMeeting(r))
            found.push_back(o.get());
        return found;
    }
    VekDocument doc;
    OffscreenCanvas canvas;
    std::shared_ptr<VekObjPath> a, b;
    std::unique_ptr<SpatialIndex> index;
};

using Found = std::vector<VekObject *>;

} // namespace

TEST(SpatialIndexUpkeep, FollowsMovesResizesDeletionsAndUndo)
{
    IndexedDocument t;
    const Rect nearA(15, 15, 2, 2), far(300, 250, 2, 2);
    EXPECT_EQ(t.at(nearA), Found{t.a.get()});
    EXPECT_EQ(t.at(far), Found{});

    t.a->setBounds(Rect(295, 245, 20, 20));   // moved
    EXPECT_EQ(t.at(nearA), Found{});
    EXPECT_EQ(t.at(far), Found{t.a.get()});

    t.a->setBounds(Rect(195, 95, 120, 170));   // grown over b, which is in front
    EXPECT_EQ(t.at(Rect(205, 105, 2, 2)), (Found{t.b.get(), t.a.get()}));

    t.doc.moveObject(t.a, 0);   // brought to the front
    EXPECT_EQ(t.at(Rect(205, 105, 2, 2)), (Found{t.a.get(), t.b.get()}));

    t.doc.undoManager()->closeEventGroup();
    t.doc.removeObject(t.b);
    EXPECT_EQ(t.at(Rect(205, 105, 2, 2)), Found{t.a.get()});
    t.doc.undoManager()->closeEventGroup();
    t.doc.undoManager()->undo();   // the deletion
    EXPECT_EQ(t.at(Rect(205, 105, 2, 2)), (Found{t.a.get(), t.b.get()}));
    t.doc.undoManager()->undo();   // the move, resizes and insertions
    EXPECT_EQ(t.at(Rect(205, 105, 2, 2)), Found{});
    t.doc.undoManager()->redo();
    EXPECT_EQ(t.at(nearA), Found{});
    EXPECT_EQ(t.at(Rect(205, 105, 2, 2)), (Found{t.a.get(), t.b.get()}));

    // The document's shadow widens every area; a change inside a drag posts nothing, and the
    // canvas tells the index.
    t.doc.setShadowState(1);
    t.doc.setShadowOffset(200);
    t.doc.setShadowBlur(0);
    const Size cast = t.doc.shadowOffsetSize();   // y-up
    const Point shadowMiddle{t.a->bounds().midX() + cast.width, t.a->bounds().midY() - cast.height};
    const auto found = t.at(Rect(shadowMiddle.x, shadowMiddle.y, 1, 1));
    EXPECT_NE(std::find(found.begin(), found.end(), t.a.get()), found.end());
    t.a->startBoundsManipulation();
    t.a->setBounds(Rect(100, 400, 20, 20));
    t.index->update(*t.a);
    EXPECT_EQ(t.at(Rect(105, 405, 2, 2)), Found{t.a.get()});
    t.a->stopBoundsManipulation();
}
