// Importing an SVG file of 10,000 cubic paths into a new document and drawing its page,
// against rsvg-convert turning the same file into a PNG, both measured in the same run.
// The counter "ratio" is rsvg-convert's time over ours (the goal: at least 2).
#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "document/vek_document.h"
#include "platform/foundation/c_locale.h"
#include "platform/graphics/graphics_context.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr int PathCount = 10000;

QGuiApplication &application()
{
    static int argc = 1;
    static char name[] = "svg_import_bench";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return app;
}

// 10,000 filled and stroked cubic paths over a 1000 x 1000 page, in a fixed pattern.
QByteArray manyCubicPaths()
{
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"1000\">\n";
    for (int i = 0; i < PathCount; ++i) {
        const double x = (i % 100) * 10.0, y = (i / 100) * 10.0;
        svg += formatC("<path d=\"M%g %g C%g %g %g %g %g %g C%g %g %g %g %g %g Z\" fill=\"#%06x\" stroke=\"black\" "
                       "stroke-width=\"0.5\"/>\n",
                       x, y, x + 3, y - 2, x + 9, y + 2, x + 8, y + 8, x + 4, y + 11, x - 1, y + 6, x, y,
                       (i * 2654435761u) & 0xFFFFFF)
                   .toUtf8();
    }
    return svg + "</svg>\n";
}

double importAndDraw(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QString error;
    auto document = VekDocument::documentFromSVGFile(path, &error);
    if (!document)
        return -1;
    const Size page = document->drawAreaSizePerPage();
    QImage pixels(int(page.width), int(page.height), QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::white);
    {
        GraphicsContext context(pixels);
        GraphicsContext::Scope scope(context);
        OffscreenCanvas canvas(*document);
        RenderRequest request;
        request.dirty = Rect(0, 0, page.width, page.height);
        drawDocumentPages(*document, canvas, request);
    }
    return timer.nsecsElapsed() / 1e9;
}

double rsvgConvert(const QString &path, const QString &png)
{
    QElapsedTimer timer;
    timer.start();
    QProcess rsvg;
    rsvg.start(QStringLiteral("rsvg-convert"), {QStringLiteral("-o"), png, path});
    if (!rsvg.waitForFinished(120000) || rsvg.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

void BM_SvgImportAndDrawVersusRsvg(benchmark::State &state)
{
    application();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("paths.svg"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the SVG file");
        return;
    }
    file.write(manyCubicPaths());
    file.close();
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        const double a = importAndDraw(path);
        const double b = rsvgConvert(path, dir.filePath(QStringLiteral("paths.png")));
        if (a < 0 || b < 0) {
            state.SkipWithError(a < 0 ? "the import failed" : "rsvg-convert failed");
            return;
        }
        state.SetIterationTime(a);
        ours += a;
        theirs += b;
    }
    state.counters["rsvg_convert_s"] = benchmark::Counter(theirs, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = theirs / ours;
    state.SetItemsProcessed(state.iterations() * PathCount);
}
BENCHMARK(BM_SvgImportAndDrawVersusRsvg)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
