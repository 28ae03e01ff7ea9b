// Every image filter type over a 1-megapixel preview and a 12-megapixel photo-sized image,
// with the cores the kernels split their rows among. Goal: each type under 100 ms at 1 MP.
#include "platform/filters/image_filter.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>

#include <thread>

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

void BM_Filter(benchmark::State &state, const QString &name, int width, int height)
{
    const QImage input = pictureOf(width, height);
    auto filter = ImageFilter::filterWithName(name);
    filter->setImage(QStringLiteral("inputImage"), input);
    filter->setImage(QStringLiteral("inputShadingImage"), pictureOf(64, 64));
    for (auto _ : state)
        benchmark::DoNotOptimize(filter->outputImage());
    state.counters["cores"] = double(std::thread::hardware_concurrency());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (const QString &name : ImageFilter::filterNames()) {
        benchmark::RegisterBenchmark(("1MP/" + name).toStdString().c_str(), BM_Filter, name, 1155, 866)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("12MP/" + name).toStdString().c_str(), BM_Filter, name, 4000, 3000)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
