// Stroking through kept outlines paints exactly the pixels of QPainter::strokePath, for
// every pen and transform, the first time and from the cache, and from many threads at once.
#include "platform/graphics/stroke_outline_cache.h"

#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QImage>

#include <thread>
#include <vector>

namespace {

QPainterPath curvyPath()
{
    QPainterPath path;
    path.moveTo(12, 30);
    path.cubicTo(80, -10, 20, 90, 70, 60);
    path.cubicTo(95, 45, 60, 20, 40, 75);
    path.lineTo(20, 70);
    path.closeSubpath();
    path.moveTo(50, 5);
    path.cubicTo(55, 25, 75, 5, 85, 15);   // an open sub-path, for the caps
    return path;
}

QImage painted(const QTransform &transform, const QPen &pen, bool keepingOutline)
{
    QImage image(180, 180, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setWorldTransform(transform);
    if (keepingOutline)
        strokePathKeepingOutline(painter, curvyPath(), pen);
    else
        painter.strokePath(curvyPath(), pen);
    return image;
}

QPen pen(qreal width, Qt::PenCapStyle cap, Qt::PenJoinStyle join, Qt::PenStyle style = Qt::SolidLine)
{
    QPen p(QBrush(QColor(30, 90, 200, 220)), width, style, cap, join);
    p.setMiterLimit(4);
    return p;
}

} // namespace

TEST(StrokeOutlineCache, PaintsThePixelsOfQtsStrokeForEveryPenAndTransform)
{
    ensureGuiApp();
    const QTransform transforms[] = {QTransform(), QTransform(1.5, 0, 0, 1.5, 3.25, -2), QTransform::fromScale(2, 2),
                                     QTransform::fromScale(0.5, 0.5), QTransform::fromScale(2, 1),
                                     QTransform().rotate(20).scale(1.3, 1.3)};
    const QPen pens[] = {pen(1.5, Qt::FlatCap, Qt::SvgMiterJoin), pen(6, Qt::RoundCap, Qt::RoundJoin),
                         pen(9, Qt::SquareCap, Qt::BevelJoin), pen(0.8, Qt::FlatCap, Qt::MiterJoin),
                         pen(0, Qt::FlatCap, Qt::MiterJoin), pen(4, Qt::FlatCap, Qt::MiterJoin, Qt::DashLine)};
    for (size_t t = 0; t < std::size(transforms); ++t)
        for (size_t p = 0; p < std::size(pens); ++p) {
            const QImage expected = painted(transforms[t], pens[p], false);
            // Twice: once building the outline, once from the cache.
            for (int round = 0; round < 2; ++round)
                ASSERT_EQ(painted(transforms[t], pens[p], true), expected)
                    << "transform " << t << ", pen " << p << ", round " << round;
        }
}

TEST(StrokeOutlineCache, ThreadsStrokingTheSamePathAtOnceGetTheSamePixels)
{
    ensureGuiApp();
    const QPen wide = pen(3, Qt::RoundCap, Qt::RoundJoin);
    const QImage expected = painted(QTransform::fromScale(1.25, 1.25), wide, false);
    std::vector<QImage> results(8);
    std::vector<std::thread> threads;
    for (QImage &result : results)
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i)
                result = painted(QTransform::fromScale(1.25, 1.25), wide, true);
        });
    for (std::thread &thread : threads)
        thread.join();
    for (const QImage &result : results)
        EXPECT_EQ(result, expected);
}
