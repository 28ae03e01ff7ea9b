// Work on the whole selection of a page of N objects; the time per object should stay flat
// from 1,000 to 50,000 objects.
//
// Select All and its undo, next to replacing the selection by the same list (selectObjects,
// no group rules, no undo), run interleaved in one process.
//
// Moving the selection: a drag of one step and of ten, an arrow-key nudge, and undo and redo
// of a drag, each measured in the same iteration as its peer, the bare work of the move (each
// object's bounds offset as many times, without undo, redrawing or notifications). Each row
// prints the peer's time ("peer_ms"), the peer's time over ours ("ratio"), our time per
// object against that at 1,000 objects ("growth", 1 for linear work) and the machine's load.
#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/services/event_source.h"
#include "model/vek_obj_path.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <memory>

namespace {

QApplication &app()
{
    static int argc = 1;
    static char name[] = "selection_bench";
    static char *argv[] = {name, nullptr};
    // Never destroyed: Qt's widgets and input devices do not survive their destruction among
    // the static objects at exit.
    static auto *application = new QApplication(argc, argv);
    return *application;
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
        // Shown, so that redrawing is marked as in a window; large enough that a drag stays
        // inside it.
        view->resize(1200, 900);
        view->show();
    }
    VekDocument document;
    std::unique_ptr<VekView> view;
};

// The pages, like the application, last to the end of the process.
Page &pageOf(int count)
{
    static auto *pages = new std::map<int, std::unique_ptr<Page>>;
    auto &page = (*pages)[count];
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
    page.view->clearSelection();
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

// The mouse events of a drag from (100, 100) through `steps` motions of 5 points.
class ScriptedDrag : public EventSource {
public:
    explicit ScriptedDrag(int steps)
    {
        for (int i = 1; i <= steps; ++i)
            m_events.push_back({EventType::LeftMouseDragged, {100.0f + 5 * i, 100.0f + 5 * i}});
        m_events.push_back({EventType::LeftMouseUp, m_events.back().locationInWindow});
    }
    MouseEvent nextEvent(unsigned) override
    {
        if (m_events.size() > 1) {
            const MouseEvent next = m_events.front();
            m_events.pop_front();
            return next;
        }
        return m_events.front();
    }

private:
    std::deque<MouseEvent> m_events;
};

void dragSelection(Page &page, int steps)
{
    ScriptedDrag script(steps);
    page.view->setEventSource(&script);
    page.view->moveSelectedObjectsWithEvent({EventType::LeftMouseDown, {100, 100}});
    page.view->setEventSource(nullptr);
    page.document.undoManager()->closeEventGroup();
}

// The peer: each object's bounds offset `passes` times, nothing else.
void offsetBounds(Page &page, int passes)
{
    for (int pass = 0; pass < passes; ++pass)
        for (const auto &object : page.document.objects())
            object->setBoundsSimplyAs(offsetRect(object->bounds(), 5, 5));
}

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Ours and the peer on the same page in each iteration (`prepare` untimed before both); the
// iteration time is ours.
void measureMove(benchmark::State &state, const char *name, const std::function<void(Page &)> &prepare,
                 const std::function<void(Page &)> &ours, int peerPasses)
{
    const int count = int(state.range(0));
    Page &page = pageOf(count);
    page.view->selectAll();
    double oursMs = 0, peerMs = 0, load = 0;
    for (auto _ : state) {
        page.document.undoManager()->removeAllActions();
        prepare(page);
        QCoreApplication::processEvents();   // the redraw of the step before
        const double a = millisecondsOf([&] { ours(page); });
        const double b = millisecondsOf([&] { offsetBounds(page, peerPasses); });
        state.SetIterationTime(a / 1e3);
        oursMs += a;
        peerMs += b;
        load += loadAverage();
    }
    const double n = double(state.iterations());
    static std::map<std::string, double> perObjectAtFirstSize;
    const double perObject = oursMs / n / count;
    const double first = perObjectAtFirstSize.emplace(name, perObject).first->second;
    state.counters["peer_ms"] = peerMs / n;
    state.counters["ratio"] = peerMs / oursMs;
    state.counters["growth"] = perObject / first;
    state.counters["load1"] = load / n;
    page.document.undoManager()->removeAllActions();
    reset(page);
}

void nothing(Page &) {}

void DragOneStep(benchmark::State &state)
{
    measureMove(state, "drag1", nothing, [](Page &page) { dragSelection(page, 1); }, 1);
}

void DragTenSteps(benchmark::State &state)
{
    measureMove(state, "drag10", nothing, [](Page &page) { dragSelection(page, 10); }, 10);
}

void Nudge(benchmark::State &state)
{
    measureMove(state, "nudge", nothing, [](Page &page) { page.view->moveSelectedObjectsByPoint({1, 0}); }, 1);
}

void UndoMove(benchmark::State &state)
{
    measureMove(state, "undo", [](Page &page) { dragSelection(page, 1); },
                [](Page &page) { page.document.undoManager()->undo(); }, 1);
}

void RedoMove(benchmark::State &state)
{
    measureMove(state, "redo",
                [](Page &page) {
                    dragSelection(page, 1);
                    page.document.undoManager()->undo();
                },
                [](Page &page) { page.document.undoManager()->redo(); }, 1);
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

// Moving the selection, by size so that the growth compares with the first.
#define MOVE(n)                                                                                    \
    BENCHMARK(DragOneStep)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);                \
    BENCHMARK(DragTenSteps)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);               \
    BENCHMARK(Nudge)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);                      \
    BENCHMARK(UndoMove)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);                   \
    BENCHMARK(RedoMove)->Arg(n)->UseManualTime()->Unit(benchmark::kMillisecond);
MOVE(1000)
MOVE(10000)
MOVE(50000)
