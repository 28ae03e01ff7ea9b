// Flowing linked text boxes and typing into them. A chain of 25 to 200 boxes holds two
// pages of text per box (400 pages in 200 boxes).
//
// Flowing the chain is set beside its peer, the same text laid out once by one layout
// manager across as many plain containers of the boxes' size, timed in the same iterations;
// "ratio" is the flow's time over the peer's, "load" the machine's load average over one
// minute. Both should grow linearly with the text. A keystroke (typed and taken back, each
// its own undo step) at the start or in the middle of the chain stays flat as it grows.
#include "bench/linked_text_chain.h"
#include "model/text/vek_text_view.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

// The peer: the chain's text laid out once into a container per box.
double oneLayoutMilliseconds(const AttributedString &text, int boxes)
{
    std::vector<std::unique_ptr<TextContainer>> containers;
    for (int i = 0; i < boxes; ++i)
        containers.push_back(std::make_unique<TextContainer>(ChainBoxSize));
    QElapsedTimer timer;
    timer.start();
    benchmark::DoNotOptimize(layOutOnce(text, containers));
    return double(timer.nsecsElapsed()) / 1e6;
}

void flowLinkedBoxes(benchmark::State &state)
{
    const int length = int(state.range(0));
    double flowMs = 0, peerMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LinkedTextChain chain(length);
        const AttributedString text = chain.boxes.front()->contents().text();
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        chain.flow();
        flowMs += double(timer.nsecsElapsed()) / 1e6;
        state.PauseTiming();
        peerMs += oneLayoutMilliseconds(text, length);
        benchmark::DoNotOptimize(chain.boxes.back()->contents().length());
        state.ResumeTiming();
    }
    state.SetComplexityN(length);
    state.counters["pages"] = 2.0 * length;
    state.counters["peer_ms"] = peerMs / double(state.iterations());
    state.counters["ratio"] = peerMs > 0 ? flowMs / peerMs : 0;
    state.counters["load"] = loadAverage();
}

// A character typed and taken back in a box of a flowed chain, as the editor receives them.
void typeIntoTheChain(benchmark::State &state, bool middle)
{
    const int length = int(state.range(0));
    LinkedTextChain chain(length);
    chain.flow();
    VekObjText &box = *chain.boxes[middle ? length / 2 : 0];
    box.startEditingWithEvent(MouseEvent{}, &chain.document.canvas);
    VekTextView &editor = *box.editor();
    editor.setSelectedRange({middle ? box.contents().length() / 2 : 0, 0});
    for (auto _ : state) {
        editor.keyDown(KeyInput{0, 0, QStringLiteral("x")});
        chain.document.undo.closeEventGroup();
        editor.keyDown(KeyInput{Qt::Key_Backspace, 0, {}});
        chain.document.undo.closeEventGroup();
    }
    state.SetItemsProcessed(2 * state.iterations());
    state.SetComplexityN(length);
    state.counters["load"] = loadAverage();
}

void typeAtTheStartOfTheChain(benchmark::State &state)
{
    typeIntoTheChain(state, false);
}

void typeInTheMiddleOfTheChain(benchmark::State &state)
{
    typeIntoTheChain(state, true);
}

} // namespace

BENCHMARK(flowLinkedBoxes)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(typeAtTheStartOfTheChain)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oAuto);
BENCHMARK(typeInTheMiddleOfTheChain)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oAuto);
