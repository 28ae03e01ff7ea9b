// Benchmark: drawing 1,000 path objects into a 2000 x 2000 image -- sprayed ones, dashed ones
// with arrow heads -- and, for the patterns cached as a stroke image (spray, blur, brush),
// the first drawing that renders the image against the later ones that only compose it.
#include "model/vek_obj_path.h"
#include "platform/graphics/graphics_context.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <memory>
#include <vector>

namespace {

constexpr int ObjectCount = 1000;

// Wavy strokes of 60 x 40 points on a 60-point grid.
std::vector<std::shared_ptr<VekObjPath>> makePaths(int pattern, float width)
{
    std::vector<std::shared_ptr<VekObjPath>> paths;
    paths.reserve(ObjectCount);
    for (int i = 0; i < ObjectCount; ++i) {
        const float x = float(i % 32) * 60 + 10;
        const float y = float(i / 32) * 60 + 10;
        BezierPath path;
        path.moveToPoint({x, y + 20});
        path.curveToPoint({x + 30, y + 20}, {x + 10, y}, {x + 20, y + 40});
        path.lineToPoint({x + 60, y + 30});
        auto object = VekObjPath::create();
        object->setBezierPath(path);
        object->setObjLineWidth(width);
        object->setLineDrawPattern(pattern, false);
        object->setLineDrawIntensity(0.5f, false);
        paths.push_back(std::move(object));
    }
    return paths;
}

void drawAll(const std::vector<std::shared_ptr<VekObjPath>> &paths, QImage &image)
{
    image.fill(Qt::white);
    GraphicsContext context(image);
    GraphicsContext::Scope scope(context);
    for (const auto &path : paths)
        path->drawInViewIsSelected(nullptr, false);
}

void BM_DashedPathsWithArrows(benchmark::State &state)
{
    auto paths = makePaths(0, 2);
    for (const auto &path : paths) {
        path->setDashPatternUpdate(3, false);
        path->setDashScale(1, false);
        path->setStartArrow(1);
        path->setEndArrow(2);
    }
    QImage image(2000, 2000, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        drawAll(paths, image);
    state.SetItemsProcessed(state.iterations() * ObjectCount);
}
BENCHMARK(BM_DashedPathsWithArrows)->Unit(benchmark::kMillisecond);

// Arg 0: every drawing renders the stroke image anew; 1: later drawings compose the cached one.
void BM_CachedPatternPaths(benchmark::State &state, int pattern)
{
    const auto paths = makePaths(pattern, 6);
    const bool cached = state.range(0) != 0;
    QImage image(2000, 2000, QImage::Format_ARGB32_Premultiplied);
    drawAll(paths, image);
    for (auto _ : state) {
        if (!cached) {
            for (const auto &path : paths)
                path->clearCachedImage();
        }
        drawAll(paths, image);
    }
    state.SetItemsProcessed(state.iterations() * ObjectCount);
}
BENCHMARK_CAPTURE(BM_CachedPatternPaths, Spray, 1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CachedPatternPaths, Blur, 4)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CachedPatternPaths, Brush, 5)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
