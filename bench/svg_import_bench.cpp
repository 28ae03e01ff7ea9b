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

void compare(benchmark::State &state, int paths, int rules, bool draw)
{
    offscreenApplication();
    QTemporaryDir dir;
    const QByteArray svg = manyCubicPaths(paths, rules);
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
    state.counters["ns_per_path"] = oursTotal / iterations / paths * 1e9;
    state.counters["load1"] = loadTotal / iterations;
    state.SetItemsProcessed(state.iterations() * paths);
}

void BM_SvgImportGrowth(benchmark::State &state)
{
    const int paths = int(state.range(0)), rules = int(state.range(1));
    compare(state, paths, rules, false);
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
    compare(state, 10000, 10, true);
}
BENCHMARK(BM_SvgImportAndDrawVersusRsvg)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
