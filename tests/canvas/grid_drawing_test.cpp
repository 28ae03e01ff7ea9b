// The grid: major lines every 4th line for centimetres and inches, every 5th otherwise, and
// horizontal lines that run on across pages.
#include "canvas/grid_drawing.h"

#include "platform/graphics/graphics_context.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

const Color Minor = Color::redColor(), Major = Color::blueColor();

QImage drawGrid(int unit, const Rect &page, Point origin, float *lastY)
{
    QImage image(200, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    GraphicsContext context(&painter, GraphicsContext::Output::Bitmap);
    *lastY = drawGridWithSettingsInRect(context, 10, page, origin, unit, Minor, Major);
    return image;
}

} // namespace

TEST(GridDrawing, MajorLinesFollowTheUnitAndRowsContinueOnTheNextPage)
{
    ensureGuiApp();
    float lastY = 0;
    for (const auto &[unit, every] : {std::pair{0, 4}, std::pair{1, 4}, std::pair{2, 5}}) {
        SCOPED_TRACE(unit);
        const QImage image = drawGrid(unit, Rect(0, 0, 100, 95), {0, 10}, &lastY);
        for (int i = 0; i <= 9; ++i)
            EXPECT_EQ(image.pixelColor(i * 10, 5), i % every == 0 ? QColor(Qt::blue) : QColor(Qt::red)) << i;
        EXPECT_EQ(lastY, 90.5f);
    }
    // The next page starts from the last row plus one spacing: no break between the pages.
    const QImage next = drawGrid(0, Rect(0, 95, 100, 95), {0, lastY + 10}, &lastY);
    EXPECT_EQ(next.pixelColor(5, 100), QColor(Qt::red));
    EXPECT_EQ(lastY, 180.5f);
}
