// Every filter type of the filter panel, built from its sliders' starting values and the
// centre in the middle as the panel builds it, over a 1-megapixel preview and a 12-megapixel
// photo-sized picture. Goal: each type under 100 ms at 1 MP.
//
// "Time" is the wall-clock time of one run, "CPU" the processor time of the whole process
// (all threads) for it; `cores` is the threads the kernels split their rows among and
// `load` the machine's one-minute load average as the type ran (other programs' threads
// compete for the same cores). One untimed run of each type comes first.
#include "panels/filters/filter_runner.h"
#include "panels/filters/filter_types.h"
#include "platform/graphics/parallel_rows.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>

#include <cstdlib>

namespace {

QImage pictureOf(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        p.setBrush(QColor::fromHsv(i * 9 % 360, 200, 220));
        p.drawEllipse(QPointF(width * ((i * 37) % 100) / 100.0, height * ((i * 61) % 100) / 100.0), width / 8.0,
                      height / 8.0);
    }
    return image;
}

const QImage &picture(int width, int height)
{
    static std::map<std::pair<int, int>, QImage> made;
    QImage &image = made[{width, height}];
    if (image.isNull())
        image = pictureOf(width, height);
    return image;
}

void BM_FilterType(benchmark::State &state, int type, int width, int height)
{
    const QImage &input = picture(width, height);
    const FilterSettings settings{type, sliderValuesFor(type, {}), Point(width / 2.0f, height / 2.0f)};
    benchmark::DoNotOptimize(outputImageOf(input, settings));
    for (auto _ : state)
        benchmark::DoNotOptimize(outputImageOf(input, settings));
    double load[1] = {0};
    getloadavg(load, 1);
    state.counters["cores"] = parallelRowThreads();
    state.counters["load"] = load[0];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (const auto &[label, width, height] : {std::tuple{"1MP", 1155, 866}, std::tuple{"12MP", 4000, 3000}})
        for (int type = 0; type < filterTypeCount; ++type) {
            const std::string name = std::string(label) + "/" + (type < 10 ? "0" : "") + std::to_string(type) + " " +
                                     filterNameFor(type).toStdString();
            auto *bench = benchmark::RegisterBenchmark(name.c_str(), BM_FilterType, type, width, height)
                              ->Unit(benchmark::kMillisecond)
                              ->MeasureProcessCPUTime()
                              ->UseRealTime();
            if (height > 1000)
                bench->Iterations(1);
        }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
