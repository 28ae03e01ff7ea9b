// Select All and its undo on a page of N objects, next to replacing the selection by the
// same list (selectObjects, no group rules, no undo), run interleaved in one process. The
// time per object should stay flat from 1,000 to 50,000 objects.
#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/vek_obj_path.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <fstream>
#include <memory>

namespace {

QApplication &app()
{
    static int argc = 1;
    static char name[] = "selection_bench";
    static char *argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

struct Page {
    explicit Page(int count)
    {
        app();
        document.setDrawAreaSizePerPage({2000, 2000});
        for (int i = 0; i < count; ++i) {
            auto o = VekObjPath::create();
            const Rect r(float(i % 200) * 10, float(i / 200 % 200) * 10, 8, 8);
            o->setBezierPath(BezierPath::bezierPathWithRect(r));
            o->setBounds(r);
            document.insertObject(o, int(document.objects().size()), false);
        }
        view = std::make_unique<VekView>(document);
    }
    VekDocument document;
    std::unique_ptr<VekView> view;
};

Page &pageOf(int count)
{
    static std::map<int, std::unique_ptr<Page>> pages;
    auto &page = pages[count];
    if (!page)
        page = std::make_unique<Page>(count);
    return *page;
}

double loadAverage()
{
    std::ifstream in("/proc/loadavg");
    double load = 0;
    in >> load;
    return load;
}

// Each measured step starts from an empty selection and an empty undo history.
void reset(Page &page)
{
    page.view->selectObjects({});
    page.document.undoManager()->removeAllActions();
}

void SelectAll(benchmark::State &state)
{
    Page &page = pageOf(int(state.range(0)));
    for (auto _ : state) {
        page.view->selectAll();
        state.PauseTiming();
        reset(page);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["load"] = loadAverage();
}

void UndoSelectAll(benchmark::State &state)
{
    Page &page = pageOf(int(state.range(0)));
    UndoManager &undo = *page.document.undoManager();
    for (auto _ : state) {
        state.PauseTiming();
        page.view->selectAll();
        undo.closeEventGroup();
        state.ResumeTiming();
        undo.undo();
        state.PauseTiming();
        reset(page);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["load"] = loadAverage();
}

void ReplaceSelectionPeer(benchmark::State &state)
{
    Page &page = pageOf(int(state.range(0)));
    const VekView::ObjectList all = page.document.objects();
    for (auto _ : state) {
        page.view->selectObjects(all);
        state.PauseTiming();
        reset(page);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["load"] = loadAverage();
}

} // namespace

// Interleaved by size: the peer, Select All and its undo on the same page one after the other.
#define SIZE(n)                                                                                    \
    BENCHMARK(ReplaceSelectionPeer)->Arg(n)->Unit(benchmark::kMillisecond);                        \
    BENCHMARK(SelectAll)->Arg(n)->Unit(benchmark::kMillisecond);                                   \
    BENCHMARK(UndoSelectAll)->Arg(n)->Unit(benchmark::kMillisecond);
SIZE(1000)
SIZE(10000)
SIZE(50000)
