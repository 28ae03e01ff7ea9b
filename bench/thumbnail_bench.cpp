// Thumbnails of documents of 1,000 and 10,000 path objects: through the preview plug-in's
// interface in this process (reading the file and drawing page 1), and as a file manager
// runs the thumbnailer program. A 10,000-object document should take well under a second.
//
// BM_ThumbnailerVsRsvgConvert/<objects>: the thumbnailer program against rsvg-convert -w 256
// of the same drawing as SVG, whole process against whole process, interleaved, with wall
// and CPU time and peak memory of each (whole_process.h).
#include "bench/path_document.h"
#include "bench/whole_process.h"
#include "platform/foundation/file_writing.h"
#include "plugins/preview/preview_interface.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <dlfcn.h>

namespace {

QString documentFile(const QTemporaryDir &dir, int count)
{
    const QString path = dir.filePath(QStringLiteral("doc%1.vek").arg(count));
    auto document = documentOf(count);
    document->setDrawAreaSizePerPage({2000, 2000});
    document->writeToFile(path, false, nullptr);
    return path;
}

VekPreviewInterface **previewInstance()
{
    void *library = dlopen(VEK_PLUGIN_DIR "/libVekantoPreview.so", RTLD_NOW | RTLD_LOCAL);
    auto factory = reinterpret_cast<VekPlugInFactoryFunction>(dlsym(library, "QuickLookGeneratorPluginFactory"));
    const VekUUIDBytes type = *uuidFromString(VEK_PREVIEW_GENERATOR_TYPE_ID);
    void *made = factory(nullptr, &type);
    void *queried = nullptr;
    (*static_cast<VekUnknownTable **>(made))->QueryInterface(made, *uuidFromString(VEK_PREVIEW_CALLBACKS_INTERFACE_ID),
                                                             &queried);
    return static_cast<VekPreviewInterface **>(queried);
}

void BM_ThumbnailThroughThePlugIn(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray path = documentFile(dir, int(state.range(0))).toLocal8Bit();
    VekPreviewInterface **instance = previewInstance();
    size_t bytes = 0;
    VekPreviewRequest request{&bytes, [](VekPreviewRequest *r, const char *, size_t length, const char *) {
                                  *static_cast<size_t *>(r->host) = length;
                              }};
    for (auto _ : state)
        (*instance)->GenerateThumbnailForURL(instance, &request, path.constData(), "", nullptr, {256, 256});
    state.counters["png_bytes"] = double(bytes);
    state.SetComplexityN(state.range(0));
}

void BM_ThumbnailerProgram(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = documentFile(dir, int(state.range(0)));
    for (auto _ : state)
        QProcess::execute(QStringLiteral(VEK_THUMBNAILER),
                          {QStringLiteral("-s"), QStringLiteral("256"), path, dir.filePath(QStringLiteral("t.png"))});
    state.SetComplexityN(state.range(0));
}

void BM_ThumbnailerVsRsvgConvert(benchmark::State &state)
{
    QTemporaryDir dir;
    const int count = int(state.range(0));
    const QString path = documentFile(dir, count), svgPath = dir.filePath(QStringLiteral("doc.svg"));
    if (!writeWholeFile(svgPath, svgOfDocument(count))) {
        state.SkipWithError("cannot write the SVG file");
        return;
    }
    wholeprocess::compareInterleaved(state, {QStringLiteral(VEK_THUMBNAILER), "-s", "256", path, dir.filePath("t.png")},
                                     {"rsvg-convert", "-w", "256", svgPath, "-o", dir.filePath("peer.png")});
}
BENCHMARK(BM_ThumbnailerVsRsvgConvert)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK(BM_ThumbnailThroughThePlugIn)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThumbnailerProgram)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
