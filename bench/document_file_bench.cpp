// Timing of writing and reading whole documents of path objects in both stored forms (the
// archive and the text form); each should grow linearly with the number of objects, and a
// document of 10,000 objects should take well under a second each way.
#include "bench/path_document.h"
#include "document/vek_document.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

void BM_WriteDocument(benchmark::State &state)
{
    const auto doc = documentOf(int(state.range(0)));
    const bool textForm = state.range(1) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->dataOfDocument(textForm));
    state.SetComplexityN(state.range(0));
}

void BM_ReadDocument(benchmark::State &state)
{
    const QByteArray data = documentOf(int(state.range(0)))->dataOfDocument(state.range(1) != 0);
    for (auto _ : state) {
        VekDocument doc;
        benchmark::DoNotOptimize(doc.readFromData(data, nullptr));
    }
    state.SetComplexityN(state.range(0));
}

// Sizes 1,000 and 10,000; form 0 the archive, 1 the text form.
void sizesAndForms(benchmark::internal::Benchmark *b)
{
    for (int form : {0, 1})
        for (int n : {1000, 10000})
            b->Args({n, form});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_WriteDocument)->Apply(sizesAndForms);
BENCHMARK(BM_ReadDocument)->Apply(sizesAndForms);

} // namespace
