// Laying out long texts: a chain of page containers (up to 100 pages, about 300,000
// characters), and drawing a chain of linked boxes that holds two pages of text per box
// (200 pages in 100 boxes) at 25, 50 and 100 boxes, with its growth with the chain's length
// (ideally linear). Flowing and typing into a chain are in text_flow_bench.cpp.
#include "bench/linked_text_chain.h"
#include "platform/graphics/graphics_context.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void layoutPages(benchmark::State &state)
{
    ensureBenchmarkApp();
    int length = int(state.range(0));
    AttributedString text = benchmarkText(length);
    std::vector<std::unique_ptr<TextContainer>> pages;
    for (int i = 0; i < length / 1500 + 10; ++i)
        pages.push_back(std::make_unique<TextContainer>(Size{450, 650}));
    for (auto _ : state)
        benchmark::DoNotOptimize(layOutOnce(text, pages));
    state.SetComplexityN(length);
}

void drawLinkedBoxes(benchmark::State &state)
{
    const int length = int(state.range(0));
    LinkedTextChain chain(length);
    chain.flow();
    QImage page(450, 1300, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        for (const auto &box : chain.boxes) {
            page.fill(Qt::white);
            GraphicsContext context(page);
            GraphicsContext::Scope scope(context);
            AffineTransform toBox;
            toBox.translateXBy(-box->bounds().minX(), -box->bounds().minY());
            context.concat(toBox);
            box->drawInViewIsSelected(nullptr, false);
        }
    }
    state.SetComplexityN(length);
    state.counters["pages"] = 2.0 * length;
}

} // namespace

BENCHMARK(layoutPages)->Arg(30000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(drawLinkedBoxes)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
