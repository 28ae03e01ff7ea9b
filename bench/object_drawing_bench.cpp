// Benchmark: filling 10,000 drawing objects into a 2000 x 2000 image, as the canvas draws a
// full page of filled shapes, back to front.
#include "model/vek_object.h"
#include "platform/graphics/graphics_context.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <memory>
#include <vector>

namespace {

constexpr int ObjectCount = 10000;

// 100 x 100 overlapping objects of 30 x 25 points on a 20-point grid, in four colours.
std::vector<std::shared_ptr<VekObject>> makeObjects()
{
    const Color colors[] = {Color::redColor(), Color::greenColor().colorWithAlphaComponent(0.5f),
                            Color::blueColor(), Color::yellowColor()};
    std::vector<std::shared_ptr<VekObject>> objects;
    objects.reserve(ObjectCount);
    for (int i = 0; i < ObjectCount; ++i) {
        auto object = VekObject::create();
        object->setBounds(Rect(float(i % 100) * 20, float(i / 100) * 20, 30, 25));
        object->setFillColor(colors[i % 4]);
        objects.push_back(std::move(object));
    }
    return objects;
}

void BM_FillObjects(benchmark::State &state)
{
    const auto objects = makeObjects();
    QImage image(2000, 2000, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        GraphicsContext context(image);
        GraphicsContext::Scope scope(context);
        for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
            const BezierPath path = (*it)->bezierPath();
            (*it)->fillup(&path);
        }
    }
    state.SetItemsProcessed(state.iterations() * ObjectCount);
}
BENCHMARK(BM_FillObjects)->Unit(benchmark::kMillisecond);

} // namespace
