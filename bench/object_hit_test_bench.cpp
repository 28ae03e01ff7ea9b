// Benchmark: finding the object under the mouse among 10,000 drawing objects, as the canvas
// does on a click (front-most first, the first hit wins).
#include "model/vek_object.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int ObjectCount = 10000;

// 100 x 100 objects of 20 x 15 points on a 30-point grid.
std::vector<std::shared_ptr<VekObject>> makeObjects()
{
    std::vector<std::shared_ptr<VekObject>> objects;
    objects.reserve(ObjectCount);
    for (int i = 0; i < ObjectCount; ++i) {
        auto object = VekObject::create();
        object->setBounds(Rect(float(i % 100) * 30, float(i / 100) * 30, 20, 15));
        objects.push_back(std::move(object));
    }
    return objects;
}

const VekObject *objectUnder(const std::vector<std::shared_ptr<VekObject>> &objects, Point p)
{
    for (const auto &object : objects) {
        if (object->containsPoint(p, true))
            return object.get();
    }
    return nullptr;
}

// A point between all objects: every object is tested.
void BM_HitTestMiss(benchmark::State &state)
{
    const auto objects = makeObjects();
    for (auto _ : state)
        benchmark::DoNotOptimize(objectUnder(objects, {1500 + 26, 1500 + 26}));
    state.SetItemsProcessed(state.iterations() * ObjectCount);
}
BENCHMARK(BM_HitTestMiss);

// A point on the last object in the list.
void BM_HitTestLastObject(benchmark::State &state)
{
    const auto objects = makeObjects();
    const Rect last = objects.back()->bounds();
    for (auto _ : state)
        benchmark::DoNotOptimize(objectUnder(objects, {last.midX(), last.midY()}));
    state.SetItemsProcessed(state.iterations() * ObjectCount);
}
BENCHMARK(BM_HitTestLastObject);

} // namespace
