// Benchmark: redrawing a 2000 x 2000 page of 10,000 filled and stroked cubic paths.
//
// Each benchmark reports, beside its own time, the ratio to `rsvg-convert` rendering the same
// paths from an SVG file written here, measured in the same run (the median of three whole
// runs of the program, as a user would export the drawing):
//   BM_FullRedrawInTiles    the page exported as an image: tiles (of the side given) on all
//                           cores, the index built for the export
//   BM_FullRedrawOneImage   the same page drawn into one image on the calling thread, every
//                           object looked at (the page loop without tiles or index)
//   BM_DragRedraw           one object dragged across the page: per frame the index takes its
//                           new area and its old and new areas are drawn, on one thread; the
//                           frame budget is 16 ms.
//   BM_HitTestThroughIndex  (b2) the object under the mouse on that page, as a click asks
//                           for it: candidates from the spatial index, front-most first;
//                           reported against walking every object as well
#include "canvas/document_renderer.h"
#include "canvas/object_hit_test.h"
#include "canvas/offscreen_canvas.h"
#include "canvas/spatial_index.h"
#include "canvas/tiled_renderer.h"
#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "platform/graphics/graphics_context.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <random>

namespace {

constexpr int PathCount = 10000;
constexpr float PageSide = 2000;
constexpr double FrameBudgetMs = 16;

struct Shape {
    BezierPath path;
    QColor fill, stroke;
};

std::vector<Shape> makeShapes()
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> place(30, PageSide - 30), offset(-30, 30);
    std::uniform_int_distribution<int> channel(0, 255);
    std::vector<Shape> shapes;
    shapes.reserve(PathCount);
    for (int i = 0; i < PathCount; ++i) {
        const Point centre{place(random), place(random)};
        const auto near = [&] { return Point{centre.x + offset(random), centre.y + offset(random)}; };
        Shape s;
        s.path.moveToPoint(near());
        for (int k = 0; k < 3; ++k)
            s.path.curveToPoint(near(), near(), near());
        s.path.closePath();
        s.fill = QColor(channel(random), channel(random), channel(random));
        s.stroke = QColor(channel(random), channel(random), channel(random));
        shapes.push_back(s);
    }
    return shapes;
}

Color colourOf(const QColor &c)
{
    return Color::colorWithCalibratedRed(float(c.redF()), float(c.greenF()), float(c.blueF()));
}

// The document: the shapes as path objects, the first shape front-most.
struct Page {
    Page()
    {
        doc.setDrawAreaSizePerPage({PageSide, PageSide});
        doc.setNumberOfPages(1);
        doc.undoManager()->disableUndoRegistration();
        for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
            auto o = VekObjPath::create();
            o->setBezierPath(it->path);
            o->setBounds(it->path.bounds());
            o->setFillColor(colourOf(it->fill));
            o->setDrawsFill(true);
            o->setObjStrokeColor(colourOf(it->stroke));
            o->setObjLineWidth(1.5f);
            o->setDrawsStroke(true);
            doc.insertObject(o, 0, false);
        }
    }
    std::vector<Shape> shapes = makeShapes();
    VekDocument doc;
};

Page &page()
{
    static Page p;
    return p;
}

QString svgPathData(const BezierPath &path)
{
    QString d;
    for (const PathElement &e : path.elements()) {
        switch (e.kind) {
        case MoveToBezierPathElement: d += QStringLiteral("M%1 %2").arg(e.points[0].x).arg(e.points[0].y); break;
        case LineToBezierPathElement: d += QStringLiteral("L%1 %2").arg(e.points[0].x).arg(e.points[0].y); break;
        case CurveToBezierPathElement:
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(e.points[0].x).arg(e.points[0].y).arg(e.points[1].x)
                     .arg(e.points[1].y).arg(e.points[2].x).arg(e.points[2].y);
            break;
        case ClosePathBezierPathElement: d += QLatin1Char('Z'); break;
        }
    }
    return d;
}

// Processor time (user and system) in milliseconds of this process's threads, or of the
// programs it ran and waited for.
double cpuMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct RsvgRun {
    double ms = 0;      // whole run, wall clock
    double cpuMs = 0;   // processor time
};

// The whole run of rsvg-convert on the same drawing (median of three, by wall clock);
// zero when the program is missing.
RsvgRun rsvgConvert()
{
    static const RsvgRun run = [] {
        QTemporaryDir dir;
        const QString svg = dir.filePath(QStringLiteral("page.svg"));
        QFile file(svg);
        if (!file.open(QIODevice::WriteOnly))
            return RsvgRun();
        QTextStream out(&file);
        out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2000\" height=\"2000\">\n";
        const auto &shapes = page().shapes;
        for (auto it = shapes.rbegin(); it != shapes.rend(); ++it)   // back to front
            out << "<path d=\"" << svgPathData(it->path) << "\" fill=\"" << it->fill.name() << "\" stroke=\""
                << it->stroke.name() << "\" stroke-width=\"1.5\" stroke-miterlimit=\"10\"/>\n";
        out << "</svg>\n";
        file.close();
        std::vector<RsvgRun> runs;
        for (int i = 0; i < 3; ++i) {
            const double cpuBefore = cpuMs(RUSAGE_CHILDREN);
            QElapsedTimer timer;
            timer.start();
            const int code = QProcess::execute(QStringLiteral("rsvg-convert"),
                                               {QStringLiteral("-o"), dir.filePath(QStringLiteral("page.png")), svg});
            if (code != 0)
                return RsvgRun();
            runs.push_back({double(timer.nsecsElapsed()) / 1e6, cpuMs(RUSAGE_CHILDREN) - cpuBefore});
        }
        std::sort(runs.begin(), runs.end(), [](const RsvgRun &a, const RsvgRun &b) { return a.ms < b.ms; });
        return runs[1];
    }();
    return run;
}

// Wall clock and processor time per redraw against rsvg-convert's: the processor times
// compare the work done whatever else the machine runs.
void reportAgainstRsvg(benchmark::State &state, double ourMs, double ourCpuMs)
{
    const RsvgRun rsvg = rsvgConvert();
    state.counters["ms_per_redraw"] = ourMs;
    state.counters["cpu_ms_per_redraw"] = ourCpuMs;
    state.counters["rsvg_convert_ms"] = rsvg.ms;
    state.counters["rsvg_convert_cpu_ms"] = rsvg.cpuMs;
    state.counters["speedup_vs_rsvg"] = ourMs > 0 ? rsvg.ms / ourMs : 0;
    state.counters["cpu_ratio_vs_rsvg"] = ourCpuMs > 0 ? rsvg.cpuMs / ourCpuMs : 0;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void BM_FullRedrawInTiles(benchmark::State &state)
{
    Page &p = page();
    rsvgConvert();
    double total = 0;
    const double cpuBefore = cpuMs(RUSAGE_SELF);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QImage image = renderPageImage(p.doc, 1, 1.0, true, {int(state.range(0)), 0});
        total += millisecondsSince(start);
        benchmark::DoNotOptimize(image.constBits());
    }
    const double n = double(state.iterations());
    reportAgainstRsvg(state, total / n, (cpuMs(RUSAGE_SELF) - cpuBefore) / n);
}
BENCHMARK(BM_FullRedrawInTiles)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullRedrawOneImage(benchmark::State &state)
{
    Page &p = page();
    rsvgConvert();
    OffscreenCanvas canvas(p.doc);
    QImage image{int(PageSide), int(PageSide), QImage::Format_ARGB32_Premultiplied};
    double total = 0;
    const double cpuBefore = cpuMs(RUSAGE_SELF);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        image.fill(Qt::white);
        GraphicsContext context(image);
        GraphicsContext::Scope scope(context);
        RenderRequest request;
        request.dirty = canvas.rectForPage(1);
        drawDocumentPages(p.doc, canvas, request);
        total += millisecondsSince(start);
    }
    const double n = double(state.iterations());
    reportAgainstRsvg(state, total / n, (cpuMs(RUSAGE_SELF) - cpuBefore) / n);
}
BENCHMARK(BM_FullRedrawOneImage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DragRedraw(benchmark::State &state)
{
    Page &p = page();
    rsvgConvert();
    OffscreenCanvas canvas(p.doc);
    canvas.setDrawingToSave(false);
    SpatialIndex index(p.doc);
    const auto dragged = p.doc.objects()[PathCount / 2];
    const Rect home = dragged->bounds();
    int frame = 0;
    double total = 0;
    const double cpuBefore = cpuMs(RUSAGE_SELF);
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
    const double cpuPerFrame = (cpuMs(RUSAGE_SELF) - cpuBefore) / n;
    dragged->setBoundsSimplyAs(home);
    const double frameMs = total / n;
    reportAgainstRsvg(state, frameMs, cpuPerFrame);
    state.counters["frame_budget_used"] = frameMs / FrameBudgetMs;
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
    Page &p = page();
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
