// Timing of path length, division and hit testing on long curved paths; each should grow
// linearly with the number of curve elements.
#include "toolkit/path_measure.h"

#include <benchmark/benchmark.h>

namespace {

// A wave of `curves` curve-to elements, 10 units per curve along x.
BezierPath wave(int curves)
{
    BezierPath path;
    path.moveToPoint({0, 0});
    for (int i = 0; i < curves; ++i) {
        const float x = 10.0f * i, up = (i % 2 == 0) ? 8.0f : -8.0f;
        path.curveToPoint({x + 10, 0}, {x + 3, up}, {x + 7, up});
    }
    return path;
}

void BM_TotalLength(benchmark::State &state)
{
    const BezierPath path = wave(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(totalLength(path));
    state.SetComplexityN(state.range(0));
}

void BM_DivideInto(benchmark::State &state)
{
    const BezierPath path = wave(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(divideInto(path, int(state.range(0))));
    state.SetComplexityN(state.range(0));
}

void BM_IsOnPathMiss(benchmark::State &state)
{
    const BezierPath path = wave(int(state.range(0)));
    // Inside the first hump, off the outline: every element is visited.
    const Point probe{5, 3};
    for (auto _ : state)
        benchmark::DoNotOptimize(isOnPath(path, probe, nullptr, nullptr, nullptr));
    state.SetComplexityN(state.range(0));
}

void BM_IsOnPathHitAtEnd(benchmark::State &state)
{
    const BezierPath path = wave(int(state.range(0)));
    const Point probe{10.0f * float(state.range(0)) - 5, 0};
    Point found;
    for (auto _ : state)
        benchmark::DoNotOptimize(isOnPath(path, probe, &found, nullptr, nullptr));
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_TotalLength)->RangeMultiplier(2)->Range(1 << 10, 10000)->Complexity(benchmark::oN);
BENCHMARK(BM_DivideInto)->RangeMultiplier(2)->Range(1 << 10, 10000)->Complexity(benchmark::oN);
BENCHMARK(BM_IsOnPathMiss)->RangeMultiplier(2)->Range(1 << 10, 10000)->Complexity(benchmark::oN);
BENCHMARK(BM_IsOnPathHitAtEnd)->RangeMultiplier(2)->Range(1 << 10, 10000)->Complexity(benchmark::oN);
