// Qt's raster engine hands a large blended fill to a thread pool in parts and waits for them
// unless the painting thread belongs to that pool. Tiles already run one a core, so a tile's
// fill must never fan out again: a tile that waits for parts blocks on a futex, which shows
// as voluntary context switches, one or more per fill. Without fan-out a tile never blocks.
#include "canvas/offscreen_canvas.h"
#include "canvas/spatial_index.h"
#include "canvas/tiled_renderer.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPainterPath>
#include <QSemaphore>
#include <QThreadPool>

#include <sys/resource.h>

#include <thread>

namespace {

long voluntarySwitches(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_nvcsw;
}

constexpr int Side = 1024, TileSide = 256;
// Every tile holds this many semi-transparent fills of its whole height.
constexpr int FillsPerTile = 24;

// Large semi-transparent discs (fill opacity 0.7, stroked) covering every tile many times,
// some crossing the page's edge.
struct TranslucentPage {
    TranslucentPage()
    {
        ensureGuiApp();
        doc.setDrawAreaSizePerPage({Side, Side});
        doc.setNumberOfPages(1);
        doc.undoManager()->disableUndoRegistration();
        for (int i = 0; i < FillsPerTile; ++i)
            for (int y = -TileSide / 2; y < Side; y += TileSide)
                for (int x = -TileSide / 2; x < Side; x += TileSide) {
                    const BezierPath oval = BezierPath::bezierPathWithOvalInRect(
                        Rect(float(x + i), float(y + i), 2 * TileSide, 2 * TileSide));
                    auto o = VekObjPath::create();
                    o->setBezierPath(oval);
                    o->setBounds(oval.bounds());
                    o->setFillColor(Color::colorWithCalibratedRed(0.2f, 0.4f, float(i) / FillsPerTile, 0.7f));
                    o->setDrawsFill(true);
                    o->setObjStrokeColor(Color::blackColor());
                    o->setObjLineWidth(2);
                    o->setDrawsStroke(true);
                    doc.insertObject(o, 0, false);
                }
    }
    // The fills a rendering of the whole page makes, at least.
    static constexpr long fills() { return long(Side / TileSide) * (Side / TileSide) * FillsPerTile; }
    VekDocument doc;
};

// The process's voluntary context switches while `draw` runs.
template <typename Draw>
long switchesDuring(Draw draw)
{
    const long before = voluntarySwitches(RUSAGE_SELF);
    draw();
    return voluntarySwitches(RUSAGE_SELF) - before;
}

} // namespace

// What the tiles are protected from, on the installed Qt: the same fills painted on a thread
// outside Qt's pool wait for their parts.
TEST(TileFillThreads, TheEngineFansOutFillsPaintedOutsideItsPool)
{
    ensureGuiApp();
    long switches = 0;
    std::thread outside([&] {
        QImage pixels(TileSide, TileSide, QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::transparent);
        QPainterPath disc;
        disc.addEllipse(QRectF(-10, -10, TileSide + 20, TileSide + 20));
        const long before = voluntarySwitches(RUSAGE_THREAD);
        QPainter painter(&pixels);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < FillsPerTile; ++i)
            painter.fillPath(disc, QColor(40, 80, 200, 180));
        painter.end();
        switches = voluntarySwitches(RUSAGE_THREAD) - before;
    });
    outside.join();
    // A part may be done before the fill waits for it: most fills wait, not every one.
    EXPECT_GE(switches, FillsPerTile / 2) << "this Qt no longer fans fills out: the tile pool may be any pool";
}

// Export and the screen's redraw: all tiles on all cores, one tile thread, and tiles asked
// for from inside a busy pool; a handful of switches for the hand-over, none per fill.
TEST(TileFillThreads, NoTileFillFansOutAgain)
{
    TranslucentPage page;
    OffscreenCanvas screen(page.doc);
    SpatialIndex index(page.doc);
    RenderRequest redraw;
    redraw.dirty = screen.bounds();
    redraw.index = &index;
    const long exportSwitches = switchesDuring([&] { (void)renderPageImage(page.doc, 1, 1.0, false, {TileSide, 0}); });
    const long redrawSwitches = switchesDuring([&] { (void)renderTiled(page.doc, screen, redraw, 1.0, {TileSide, 0}); });
    const long oneThreadSwitches =
        switchesDuring([&] { (void)renderTiled(page.doc, screen, redraw, 1.0, {TileSide, 1}); });
    // Fanning out costs a switch or more for each of the fills(); threads starting, ending
    // and sharing the allocator cost a few dozen.
    const long budget = TranslucentPage::fills();
    EXPECT_LT(exportSwitches, budget);
    EXPECT_LT(redrawSwitches, budget);
    EXPECT_LT(oneThreadSwitches, budget);
}

// Every pool thread asks for a rendering at once: none waits for helpers that cannot start,
// and each gets the page whole. Repeated, as threaded code must be.
TEST(TileFillThreads, RenderingsAskedFromEveryPoolThreadAtOnceComplete)
{
    TranslucentPage page;
    const QImage expected = renderPageImage(page.doc, 1, 0.25, false, {64, 1});
    QThreadPool &pool = *QThreadPool::globalInstance();
    for (int run = 0; run < 5; ++run) {
        const int callers = pool.maxThreadCount();
        std::vector<QImage> images(static_cast<size_t>(callers));
        QSemaphore done;
        for (int i = 0; i < callers; ++i)
            pool.start([&, i] {
                images[size_t(i)] = renderPageImage(page.doc, 1, 0.25, false, {64, 0});
                done.release();
            });
        ASSERT_TRUE(done.tryAcquire(callers, 60000)) << "run " << run;
        for (const QImage &image : images)
            EXPECT_EQ(image, expected) << "run " << run;
    }
}
