// Benchmarks of drawing: the Gaussian blur at growing radii and shadowed path fills.
#include "platform/graphics/graphics_context.h"
#include "toolkit/blur.h"

#include <benchmark/benchmark.h>

#include <QPainter>

namespace {

QImage testImage(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 50; ++i)
        p.fillRect(QRectF((i * 37) % side, (i * 53) % side, 120, 80), QColor::fromHsv(i * 7 % 360, 200, 200, 220));
    return image;
}

// The radius is the benchmark's argument; the time per pixel of the result stays flat as
// the radius grows (three running-sum box passes, not a kernel of the radius's size).
void BM_GaussianBlur2000(benchmark::State &state)
{
    const QImage image = testImage(2000);
    const float radius = float(state.range(0));
    qint64 pixels = 0;
    for (auto _ : state) {
        const QImage blurred = gaussianblur(image, radius * 4, 1);
        pixels += qint64(blurred.width()) * blurred.height();
        benchmark::DoNotOptimize(blurred.constBits());
    }
    state.SetItemsProcessed(pixels);
}
BENCHMARK(BM_GaussianBlur2000)->Arg(1)->Arg(4)->Arg(16)->Arg(64)->Arg(100)->Unit(benchmark::kMillisecond);

// 1,000 paths (rectangles, ovals and rounded rectangles) filled with a blurred drop shadow.
void BM_ShadowedFill1000Paths(benchmark::State &state)
{
    std::vector<BezierPath> paths;
    for (int i = 0; i < 1000; ++i) {
        const Rect r(float((i * 97) % 1900), float((i * 61) % 1900), float(20 + i % 80), float(15 + (i * 7) % 90));
        paths.push_back(i % 3 == 0   ? BezierPath::bezierPathWithRect(r)
                        : i % 3 == 1 ? BezierPath::bezierPathWithOvalInRect(r)
                                     : BezierPath::bezierPathWithRoundedRect(r, 6, 6));
    }
    for (auto _ : state) {
        QImage image(2000, 2000, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            GraphicsContext context(image);
            context.setShadow(Shadow{4, -4, float(state.range(0)), Color::blackColor().colorWithAlphaComponent(0.6f)});
            for (size_t i = 0; i < paths.size(); ++i) {
                context.setFillColor(Color::colorWithCalibratedHue(float(i % 360) / 360.0f, 0.7f, 0.9f));
                context.fillPath(paths[i]);
            }
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ShadowedFill1000Paths)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace
