// Benchmark: redrawing the big page (bench/big_page.h: 2000 x 2000 points, 10,000 filled and
// stroked cubic paths).
//
// The full redraws are compared with librsvg rendering the same drawing from a handle it has
// already loaded, in this process, interleaved iteration by iteration ("ratio" is librsvg's
// time over ours), with the machine's load beside them:
//   BM_FullRedrawInTiles    the page drawn as an image export draws it: tiles (of the side
//                           given) on all cores, the index built for the export
//   BM_FullRedrawOneImage   the same page drawn into one image on the calling thread, every
//                           object looked at (the page loop without tiles or index)
//   BM_DragRedraw           one object dragged across the page: per frame the index takes its
//                           new area and its old and new areas are drawn, on one thread; the
//                           frame budget is 16 ms.
//   BM_HitTestThroughIndex  the object under the mouse on that page, as a click asks for it:
//                           candidates from the spatial index, front-most first; reported
//                           against walking every object as well
#include "bench/librsvg_peer.h"

#include "bench/big_page.h"
#include "canvas/document_renderer.h"
#include "canvas/object_hit_test.h"
#include "canvas/offscreen_canvas.h"
#include "canvas/spatial_index.h"
#include "canvas/tiled_renderer.h"
#include "platform/graphics/graphics_context.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <random>

namespace {

using bigpage::PathCount;
constexpr float PageSide = bigpage::Side;
constexpr double FrameBudgetMs = 16;

bigpage::Page &page()
{
    static bigpage::Page p;
    return p;
}

// Processor time (user and system) of this process's threads, in milliseconds.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

const librsvg::Handle &loadedHandle()
{
    static const librsvg::Handle handle(bigpage::svg());
    return handle;
}

// A full redraw of ours (the callback, timed) against librsvg rendering its loaded handle,
// one after the other in every iteration.
template <typename Redraw>
void compareWithLibrsvg(benchmark::State &state, Redraw redraw)
{
    const librsvg::Handle &handle = loadedHandle();
    redraw();   // one untimed round each: caches and allocator warm up outside the figures
    librsvg::renderLoaded(handle, int(PageSide), int(PageSide));
    double ours = 0, theirs = 0, load = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        redraw();
        ours += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const double peer = librsvg::renderLoaded(handle, int(PageSide), int(PageSide));
        if (peer < 0) {
            state.SkipWithError("librsvg failed");
            return;
        }
        theirs += peer;
        load += librsvg::machineLoad();
    }
    const double n = double(state.iterations());
    state.counters["ms_per_redraw"] = ours / n;
    state.counters["librsvg_ms"] = theirs / n;
    state.counters["ratio"] = ours > 0 ? theirs / ours : 0;
    state.counters["load1"] = load / n;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void BM_FullRedrawInTiles(benchmark::State &state)
{
    bigpage::Page &p = page();
    compareWithLibrsvg(state, [&] {
        QImage image = renderPageImage(p.doc, 1, 1.0, true, {int(state.range(0)), 0});
        benchmark::DoNotOptimize(image.constBits());
    });
}
BENCHMARK(BM_FullRedrawInTiles)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullRedrawOneImage(benchmark::State &state)
{
    bigpage::Page &p = page();
    OffscreenCanvas canvas(p.doc);
    QImage image{int(PageSide), int(PageSide), QImage::Format_ARGB32_Premultiplied};
    compareWithLibrsvg(state, [&] {
        image.fill(Qt::white);
        GraphicsContext context(image);
        GraphicsContext::Scope scope(context);
        RenderRequest request;
        request.dirty = canvas.rectForPage(1);
        drawDocumentPages(p.doc, canvas, request);
    });
}
BENCHMARK(BM_FullRedrawOneImage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DragRedraw(benchmark::State &state)
{
    bigpage::Page &p = page();
    OffscreenCanvas canvas(p.doc);
    canvas.setDrawingToSave(false);
    SpatialIndex index(p.doc);
    const auto dragged = p.doc.objects()[PathCount / 2];
    const Rect home = dragged->bounds();
    int frame = 0;
    double total = 0;
    const double cpuBefore = cpuMs();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        // The drag moves the object by a few points a frame, to and fro across the page.
        const Rect before = dragged->boundsToRedraw();
        const float step = float(frame++ % 200) * 7;
        dragged->setBoundsSimplyAs(Rect(home.origin.x + step - 700, home.origin.y + step / 2 - 350,
                                        home.width(), home.height()));
        index.update(*dragged);
        for (const Rect &area : {before, dragged->boundsToRedraw()}) {
            RenderRequest request;
            request.dirty = area;
            request.index = &index;
            const RenderedArea drawn = renderTiled(p.doc, canvas, request, 1.0, {256, 1});
            benchmark::DoNotOptimize(drawn.image.constBits());
        }
        total += millisecondsSince(start);
    }
    const double n = double(state.iterations());
    dragged->setBoundsSimplyAs(home);
    const double frameMs = total / n;
    state.counters["ms_per_frame"] = frameMs;
    state.counters["cpu_ms_per_frame"] = (cpuMs() - cpuBefore) / n;
    state.counters["frame_budget_used"] = frameMs / FrameBudgetMs;
    state.counters["load1"] = librsvg::machineLoad();
}
BENCHMARK(BM_DragRedraw)->Unit(benchmark::kMillisecond)->UseRealTime();

// Points spread over the page, the same for both ways of finding the object under them.
std::vector<Point> clickPoints()
{
    std::mt19937 random(99);
    std::uniform_real_distribution<float> place(0, PageSide);
    std::vector<Point> points(1000);
    for (Point &p : points)
        p = {place(random), place(random)};
    return points;
}

// Microseconds per hit test of walking every object from the front, as the canvas did.
double walkingMicroseconds(const VekDocument &doc, const std::vector<Point> &points)
{
    const auto start = std::chrono::steady_clock::now();
    for (const Point &p : points)
        for (const auto &object : doc.objects())
            if (object->containsPoint(p, true)) {
                benchmark::DoNotOptimize(object.get());
                break;
            }
    return millisecondsSince(start) * 1e3 / double(points.size());
}

void BM_HitTestThroughIndex(benchmark::State &state)
{
    bigpage::Page &p = page();
    SpatialIndex index(p.doc);
    const std::vector<Point> points = clickPoints();
    size_t next = 0;
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(objectUnderPoint(index, {}, points[next], true));
        total += millisecondsSince(start);
        next = (next + 1) % points.size();
    }
    const double ours = total * 1e3 / double(state.iterations());
    const double walking = walkingMicroseconds(p.doc, points);
    state.counters["us_per_hit_test"] = ours;
    state.counters["walking_every_object_us"] = walking;
    state.counters["speedup_vs_walking"] = ours > 0 ? walking / ours : 0;
}
BENCHMARK(BM_HitTestThroughIndex);

} // namespace
