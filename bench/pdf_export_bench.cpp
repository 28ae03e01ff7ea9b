// BM_SvgToPdf: the big page (bench/big_page.h) as an SVG file, parsed and written as PDF:
// our import and PDF export against librsvg parsing it and rendering it into cairo's PDF
// surface, in this process, interleaved iteration by iteration, with the machine's load
// beside them. "ratio" is librsvg's time over ours; both files' sizes are reported.
//
// BM_SvgToPdfProcess/<paths>: the same as whole processes, our vek_svg_export against
// rsvg-convert -f pdf, interleaved, with wall and CPU time and peak memory of each
// (whole_process.h), from 1,000 to 50,000 paths.
#include "bench/librsvg_peer.h"
#include "bench/offscreen_application.h"

#include "bench/big_page.h"
#include "bench/whole_process.h"
#include "export/pdf_export.h"
#include "platform/foundation/file_writing.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

const ExportSelection WholePage{Rect(0, 0, bigpage::Side, bigpage::Side), {}, false};

// Ours: the SVG file imported and its page written as PDF. Milliseconds, negative on failure.
double ours(const QString &svgPath, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QString error;
    const std::unique_ptr<VekDocument> document = VekDocument::documentFromSVGFile(svgPath, &error);
    if (!document)
        return -1;
    const QByteArray pdf = areaAsPDF(*document, WholePage);
    return !pdf.isEmpty() && writeWholeFile(path, pdf) ? librsvg::millisecondsSince(timer) : -1;
}

void BM_SvgToPdf(benchmark::State &state)
{
    offscreenApplication();
    QTemporaryDir dir;
    const QByteArray svg = bigpage::svg();
    const QString svgPath = dir.filePath("page.svg"), oursPath = dir.filePath("ours.pdf"),
                  theirsPath = dir.filePath("librsvg.pdf");
    if (!writeWholeFile(svgPath, svg)) {
        state.SkipWithError("cannot write the SVG file");
        return;
    }
    if (!librsvg::compareInterleaved(
            state, [&] { return ours(svgPath, oursPath); }, [&] { return librsvg::svgToPdf(svg, bigpage::Side, bigpage::Side, theirsPath); }))
        return;
    state.counters["bytes"] = double(QFile(oursPath).size());
    state.counters["librsvg_bytes"] = double(QFile(theirsPath).size());
}
BENCHMARK(BM_SvgToPdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SvgToPdfProcess(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString svgPath = dir.filePath("page.svg");
    if (!writeWholeFile(svgPath, bigpage::svg(int(state.range(0))))) {
        state.SkipWithError("cannot write the SVG file");
        return;
    }
    wholeprocess::compareInterleaved(state, {QStringLiteral(VEK_SVG_EXPORT), svgPath, dir.filePath("ours.pdf")},
                                     {"rsvg-convert", "-f", "pdf", svgPath, "-o", dir.filePath("peer.pdf")});
}
BENCHMARK(BM_SvgToPdfProcess)->Arg(1000)->Arg(10000)->Arg(50000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
