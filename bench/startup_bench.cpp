// Timing of the application's start-up to its first painted document window, and of
// opening documents of 1,000 and 10,000 path objects to their first painted window. The
// opening times should grow about linearly with the objects (the reported complexity); the
// start-up should stay well under half a second.
#include "app/document/vek_doc_controller.h"
#include "app/document/vek_document_window.h"
#include "app/vek_main_controller.h"
#include "bench/path_document.h"
#include "platform/foundation/user_defaults.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

namespace {

// The windows keep their frames and the recent files in the user's defaults: the benchmark
// keeps its own.
QApplication &application()
{
    static QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    static int argc = 1;
    static char name[] = "startup_bench";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

// Paints the window as the screen would show it first.
void paintFirstTime(VekDocumentWindow &window)
{
    benchmark::DoNotOptimize(window.grab());
}

void closeAll(VekMainController &controller)
{
    for (VekDocumentWindow *w : controller.docController().documentWindows())
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_StartUpToFirstPaintedWindow(benchmark::State &state)
{
    application();
    QTemporaryDir folder;
    for (auto _ : state) {
        UserDefaults defaults(folder.filePath(QStringLiteral("prefs.plist")));
        VekMainController controller(defaults);
        controller.startUp({});
        paintFirstTime(*controller.docController().currentVekDocument());
        state.PauseTiming();
        closeAll(controller);
        state.ResumeTiming();
    }
    state.SetLabel("new untitled document");
}

void BM_OpenDocumentToFirstPaintedWindow(benchmark::State &state)
{
    application();
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("objects.vek"));
    documentOf(int(state.range(0)))->writeToFile(file, false, nullptr);
    UserDefaults defaults(folder.filePath(QStringLiteral("prefs.plist")));
    VekMainController controller(defaults);
    controller.startUp({file});
    closeAll(controller);
    for (auto _ : state) {
        if (!controller.applicationOpenFile(file)) {
            state.SkipWithError("the document did not open");
            break;
        }
        paintFirstTime(*controller.docController().currentVekDocument());
        state.PauseTiming();
        closeAll(controller);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_StartUpToFirstPaintedWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDocumentToFirstPaintedWindow)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
