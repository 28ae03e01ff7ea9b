// PNG export of the big page (bench/big_page.h) against librsvg doing the same work in this
// process, interleaved iteration by iteration, with the machine's load beside them.
//
// BM_SvgToPng: the SVG file parsed, the page drawn and written as PNG: our import and image
// export (tiles on all cores, the PNG deflated in bands) against librsvg rendering into a
// cairo image surface and cairo writing the PNG. "ratio" is librsvg's time over ours (goal:
// at least 2); both files' sizes are reported.
//
// BM_SvgToPngProcess/<paths>: the same work as whole processes, our vek_svg_export against
// rsvg-convert, interleaved, with wall and CPU time and peak memory of each (whole_process.h):
// how the time grows from 1,000 to 50,000 paths, and what the process as a whole costs.
//
// BM_PngEncoding/<zlib level>: the page's pixels encoded by our band encoder at the level,
// against Qt's PNG writer on the same pixels ("qt_ratio" is Qt's time over ours), with both
// sizes: what a faster level costs in bytes.
#include "bench/librsvg_peer.h"
#include "bench/offscreen_application.h"

#include "bench/big_page.h"
#include "bench/whole_process.h"
#include "canvas/tiled_renderer.h"
#include "export/export_dispatch.h"
#include "platform/foundation/file_writing.h"
#include "platform/image/png_encoder.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

namespace {

// Ours: the SVG file imported and exported as PNG. Milliseconds, negative on failure.
double ours(const QString &svgPath, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QString error;
    const std::unique_ptr<VekDocument> document = VekDocument::documentFromSVGFile(svgPath, &error);
    if (!document)
        return -1;
    ExportRequest request;
    request.path = path;
    request.format = QStringLiteral("png");
    return saveArea(*document, request, &error) ? librsvg::millisecondsSince(timer) : -1;
}

void BM_SvgToPng(benchmark::State &state)
{
    offscreenApplication();
    QTemporaryDir dir;
    const QByteArray svg = bigpage::svg();
    const QString svgPath = dir.filePath("page.svg"), oursPath = dir.filePath("ours.png"),
                  theirsPath = dir.filePath("librsvg.png");
    if (!writeWholeFile(svgPath, svg)) {
        state.SkipWithError("cannot write the SVG file");
        return;
    }
    const int side = int(bigpage::Side);
    if (!librsvg::compareInterleaved(
            state, [&] { return ours(svgPath, oursPath); }, [&] { return librsvg::svgToPng(svg, side, side, theirsPath); }))
        return;
    state.counters["bytes"] = double(QFile(oursPath).size());
    state.counters["librsvg_bytes"] = double(QFile(theirsPath).size());
}
BENCHMARK(BM_SvgToPng)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SvgToPngProcess(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString svgPath = dir.filePath("page.svg");
    if (!writeWholeFile(svgPath, bigpage::svg(int(state.range(0))))) {
        state.SkipWithError("cannot write the SVG file");
        return;
    }
    const QString side = QString::number(int(bigpage::Side));
    wholeprocess::compareInterleaved(state, {QStringLiteral(VEK_SVG_EXPORT), svgPath, dir.filePath("ours.png")},
                                     {"rsvg-convert", "-w", side, "-h", side, svgPath, "-o", dir.filePath("peer.png")});
}
BENCHMARK(BM_SvgToPngProcess)->Arg(1000)->Arg(10000)->Arg(50000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

QByteArray qtPng(const QImage &image)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return out;
}

void BM_PngEncoding(benchmark::State &state)
{
    offscreenApplication();
    static bigpage::Page page;
    static const QImage pixels = renderPageImage(page.doc, 1, 1.0);
    const int level = int(state.range(0));
    double oursMs = 0, qtMs = 0, load = 0;
    qsizetype oursBytes = 0, qtBytes = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        oursBytes = encodePng(pixels, level).size();
        const double a = librsvg::millisecondsSince(timer);
        timer.restart();
        qtBytes = qtPng(pixels).size();
        qtMs += librsvg::millisecondsSince(timer);
        state.SetIterationTime(a / 1e3);
        oursMs += a;
        load += librsvg::machineLoad();
    }
    const double n = double(state.iterations());
    state.counters["qt_writer_ms"] = qtMs / n;
    state.counters["qt_ratio"] = qtMs / oursMs;
    state.counters["bytes"] = double(oursBytes);
    state.counters["qt_bytes"] = double(qtBytes);
    state.counters["load1"] = load / n;
}
BENCHMARK(BM_PngEncoding)->Arg(1)->Arg(3)->Arg(6)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
