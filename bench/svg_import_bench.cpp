// Importing SVG files into new documents against librsvg loading the same bytes, both in
// this process, interleaved iteration by iteration, with the machine's load beside them.
//
// BM_SvgImportGrowth/<paths>/<class rules>: files of 1,000 to 50,000 filled and stroked
// cubic paths, each path naming one of 10 or 1,000 class rules of a style sheet. Ours is the
// whole import (parse, walk, objects, page); librsvg's is rsvg_handle_new_from_data (parse
// and its element tree). "ns_per_path" and "growth" (the time per path over that of the
// 1,000-path file) show how import time grows: growth stays near 1 when it is linear.
// "ratio" is librsvg's time over ours.
//
// BM_SvgImportAndDrawVersusRsvg: 10,000 paths imported and the page drawn, against librsvg
// loading and rendering the same file into an image of the page's size.
//
// BM_SvgRichFeaturesVersusRsvg/<cells>: a file whose every cell uses what files from the wild
// do: colour functions and currentColor, a turned and a reflected gradient, a clip path in
// box units, markers on a polyline, a pattern with a nested pattern and a sliced image
// viewport; imported (and drawn) against librsvg loading (and rendering) it.
// librsvg's GLib headers name a member "signals": they come before Qt defines that word.
#include "bench/librsvg_peer.h"
#include "bench/offscreen_application.h"

#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "document/vek_document.h"
#include "platform/foundation/c_locale.h"
#include "platform/graphics/graphics_context.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// `count` filled and stroked cubic paths over a 1000 x 1000 page in a fixed pattern, each
// of one of `rules` classes that a style sheet colours.
QByteArray manyCubicPaths(int count, int rules)
{
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"1000\">\n<style>\n";
    for (int r = 0; r < rules; ++r)
        svg += formatC(".c%d { fill: #%06x; stroke: black; stroke-width: 0.5 }\n", r, (r * 2654435761u) & 0xFFFFFF).toUtf8();
    svg += "</style>\n";
    for (int i = 0; i < count; ++i) {
        const double x = (i % 100) * 10.0, y = ((i / 100) % 100) * 10.0;
        svg += formatC("<path class=\"c%d\" d=\"M%g %g C%g %g %g %g %g %g C%g %g %g %g %g %g Z\"/>\n", i % rules, x, y,
                       x + 3, y - 2, x + 9, y + 2, x + 8, y + 8, x + 4, y + 11, x - 1, y + 6, x, y)
                   .toUtf8();
    }
    return svg + "</svg>\n";
}

// `cells` cells of 100 x 100 on a page 1000 wide, each drawing with the features above.
QByteArray richFeatures(int cells)
{
    QByteArray svg = R"x(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="1000" height=")x"
                     + QByteArray::number((cells + 9) / 10 * 100) + R"x(">
<defs>
  <linearGradient id="turned" gradientTransform="rotate(45 0.5 0.5)"><stop offset="0" stop-color="hsl(220, 80%, 30%)"/><stop offset="1" stop-color="rgba(255, 200, 0, 0.8)"/></linearGradient>
  <radialGradient id="rings" r="0.2" fx="0.4" spreadMethod="reflect"><stop offset="0" stop-color="white"/><stop offset="1" stop-color="teal"/></radialGradient>
  <clipPath id="disc" clipPathUnits="objectBoundingBox"><circle cx="0.5" cy="0.5" r="0.5"/></clipPath>
  <marker id="arrow" viewBox="0 0 10 10" refX="5" refY="5" markerWidth="4" markerHeight="4" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 Z" fill="currentColor"/></marker>
  <pattern id="dots" patternUnits="userSpaceOnUse" width="6" height="6"><circle cx="3" cy="3" r="2" fill="crimson"/></pattern>
  <pattern id="boxes" patternUnits="userSpaceOnUse" width="20" height="20" patternTransform="rotate(20)"><rect x="2" y="2" width="16" height="16" fill="url(#dots)" stroke="black"/></pattern>
  <image id="wide" width="40" height="20" xlink:href="data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAQAAAACCAIAAADwyuo0AAAAE0lEQVR4nGO4w8AARGDiDgMyBwBZegbhlJ3wlQAAAABJRU5ErkJggg=="/>
</defs>
)x";
    for (int i = 0; i < cells; ++i) {
        const int x = (i % 10) * 100, y = (i / 10) * 100;
        svg += formatC(R"x(<g transform="translate(%d %d)" color="rgb(%d%%, 20%%, 40%%)">
  <rect x="5" y="5" width="40" height="40" fill="url(#turned)" stroke="currentColor"/>
  <rect x="55" y="5" width="40" height="40" fill="url(#rings)" clip-path="url(#disc)"/>
  <polyline points="5,60 25,50 45,60" fill="none" stroke="currentColor" stroke-width="2" marker-start="url(#arrow)" marker-mid="url(#arrow)" marker-end="url(#arrow)"/>
  <rect x="5" y="70" width="40" height="25" fill="url(#boxes)"/>
  <svg x="55" y="55" width="40" height="40" viewBox="0 0 40 20" preserveAspectRatio="xMidYMid slice"><use xlink:href="#wide"/></svg>
</g>
)x", x, y, i % 100)
                   .toUtf8();
    }
    return svg + "</svg>\n";
}

QString writtenFile(const QTemporaryDir &dir, const QByteArray &svg)
{
    const QString path = dir.filePath(QStringLiteral("paths.svg"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(svg);
    return path;
}

double seconds(const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e9; }

// Our import of the file; with `draw`, the page is drawn too. Negative when it fails.
double ours(const QString &path, bool draw)
{
    QElapsedTimer timer;
    timer.start();
    QString error;
    auto document = VekDocument::documentFromSVGFile(path, &error);
    if (!document)
        return -1;
    if (draw) {
        const Size page = document->drawAreaSizePerPage();
        QImage pixels(int(page.width), int(page.height), QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::white);
        GraphicsContext context(pixels);
        GraphicsContext::Scope scope(context);
        OffscreenCanvas canvas(*document);
        RenderRequest request;
        request.dirty = Rect(0, 0, page.width, page.height);
        drawDocumentPages(*document, canvas, request);
    }
    return seconds(timer);
}

// librsvg loading the bytes; with `draw`, rendering them into a 1000 x 1000 image too.
double theirs(const QByteArray &svg, bool draw)
{
    QElapsedTimer timer;
    timer.start();
    const librsvg::Handle handle(svg);
    if (!handle.ok() || (draw && librsvg::renderLoaded(handle, 1000, 1000) < 0))
        return -1;
    return seconds(timer);
}

// Ours against librsvg on the file, per iteration; `items` counts what the file holds.
void compare(benchmark::State &state, const QByteArray &svg, int items, bool draw)
{
    offscreenApplication();
    QTemporaryDir dir;
    const QString path = writtenFile(dir, svg);
    if (path.isEmpty()) {
        state.SkipWithError("cannot write the SVG file");
        return;
    }
    // One untimed round first: fonts, caches and allocator warm up outside the figures.
    ours(path, draw);
    theirs(svg, draw);
    double oursTotal = 0, theirsTotal = 0, loadTotal = 0;
    for (auto _ : state) {
        const double a = ours(path, draw);
        const double b = theirs(svg, draw);
        if (a < 0 || b < 0) {
            state.SkipWithError(a < 0 ? "the import failed" : "librsvg failed");
            return;
        }
        state.SetIterationTime(a);
        oursTotal += a;
        theirsTotal += b;
        loadTotal += librsvg::machineLoad();
    }
    const double iterations = double(state.iterations());
    state.counters["librsvg_ms"] = theirsTotal / iterations * 1e3;
    state.counters["ratio"] = theirsTotal / oursTotal;
    state.counters["ns_per_path"] = oursTotal / iterations / items * 1e9;
    state.counters["load1"] = loadTotal / iterations;
    state.SetItemsProcessed(state.iterations() * items);
}

void BM_SvgImportGrowth(benchmark::State &state)
{
    const int paths = int(state.range(0)), rules = int(state.range(1));
    compare(state, manyCubicPaths(paths, rules), paths, false);
    // Time per path against the 1,000-path file with as many rules (run first): 1 is linear.
    static QHash<int, double> perPathAtFirst;
    const double perPath = state.counters["ns_per_path"];
    if (paths == 1000)
        perPathAtFirst[rules] = perPath;
    if (perPathAtFirst.value(rules) > 0)
        state.counters["growth"] = perPath / perPathAtFirst.value(rules);
}
BENCHMARK(BM_SvgImportGrowth)
    ->ArgsProduct({{1000, 2000, 5000, 10000, 20000, 50000}, {10, 1000}})
    ->ArgNames({"paths", "rules"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_SvgImportAndDrawVersusRsvg(benchmark::State &state)
{
    compare(state, manyCubicPaths(10000, 10), 10000, true);
}
BENCHMARK(BM_SvgImportAndDrawVersusRsvg)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// "ns_per_path" is the time per cell here.
void BM_SvgRichFeaturesVersusRsvg(benchmark::State &state)
{
    const int cells = int(state.range(0));
    compare(state, richFeatures(cells), cells, state.range(1) != 0);
}
BENCHMARK(BM_SvgRichFeaturesVersusRsvg)
    ->ArgsProduct({{100}, {0, 1}})
    ->ArgNames({"cells", "draw"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
