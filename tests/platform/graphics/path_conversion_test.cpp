// Tests of the conversion of paths and line attributes to Qt's paths and pens.
#include "platform/graphics/path_conversion.h"

#include <QImage>
#include <QPainter>
#include <QPainterPathStroker>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PathConversion, DashLengthsBecomePenWidthUnitsAndOddPatternsRepeat)
{
    struct Case {
        std::vector<float> pattern;
        float phase, width;
        QList<qreal> expected;
        qreal offset;
    } cases[] = {
        {{6, 2}, 1, 2, {3, 1}, 0.5},
        {{3}, 0, 1, {3, 3}, 0},
        {{3, 1, 2}, 0, 0.5f, {6, 2, 4, 6, 2, 4}, 0},
        {{}, 0, 1, {}, 0},
        {{0, 0}, 0, 1, {}, 0},        // nothing to draw: solid
        {{4, -1}, 0, 1, {}, 0},       // negative length: solid
    };
    for (const Case &c : cases) {
        const QtDash dash = toQtDash(c.pattern, c.phase, c.width);
        EXPECT_EQ(dash.pattern, c.expected);
        EXPECT_DOUBLE_EQ(dash.offset, c.offset);
    }
    // The thinnest line dashes in device pixels.
    EXPECT_EQ(toQtDash({2, 1}, 0, 0, 3.0).pattern, (QList<qreal>{6, 3}));
}

TEST(PathConversion, PenKeepsThePathDefaultsNotQts)
{
    BezierPath path;
    const QPen pen = penForPath(path, QBrush(Qt::red));
    EXPECT_EQ(pen.capStyle(), Qt::FlatCap);
    EXPECT_EQ(pen.joinStyle(), Qt::SvgMiterJoin);
    EXPECT_EQ(pen.miterLimit(), 10.0);
    EXPECT_EQ(pen.widthF(), 1.0);
    EXPECT_EQ(pen.style(), Qt::SolidLine);

    path.setLineWidth(0);
    path.setLineCapStyle(RoundLineCapStyle);
    path.setLineJoinStyle(BevelLineJoinStyle);
    const float dash[] = {4, 2};
    path.setLineDash(dash, 2, 1);
    const QPen thin = penForPath(path, QBrush(Qt::red), 2.0);
    EXPECT_TRUE(thin.isCosmetic());
    EXPECT_EQ(thin.capStyle(), Qt::RoundCap);
    EXPECT_EQ(thin.joinStyle(), Qt::BevelJoin);
    EXPECT_EQ(thin.dashPattern(), (QList<qreal>{8, 4}));
    EXPECT_EQ(thin.dashOffset(), 2.0);
}

// A corner whose miter length is `ratio` line widths: a miter limit just above keeps the
// point, one just below bevels it (the path's meaning of the limit).
TEST(PathConversion, MiterLimitIsTheRatioOfMiterLengthToLineWidth)
{
    for (float ratio : {3.9f, 4.1f}) {
        const double half = std::asin(1.0 / ratio);
        BezierPath v;
        v.moveToPoint({float(-100 * std::sin(half)), float(100 * std::cos(half))});
        v.lineToPoint({0, 0});
        v.lineToPoint({float(100 * std::sin(half)), float(100 * std::cos(half))});
        v.setLineWidth(10);
        v.setMiterLimit(4);
        QPainterPathStroker stroker(penForPath(v, QBrush(Qt::black)));
        const double top = stroker.createStroke(toQPainterPath(v)).boundingRect().top();
        if (ratio < 4)
            EXPECT_NEAR(top, -5 * ratio, 0.01);
        else
            EXPECT_GT(top, -5.0);
    }
}

TEST(PathConversion, FillRuleFollowsTheWindingRule)
{
    // Two nested squares in the same direction: the inner one is filled only under non-zero.
    BezierPath path = BezierPath::bezierPathWithRect(Rect(0, 0, 30, 30));
    path.appendBezierPathWithRect(Rect(10, 10, 10, 10));
    for (WindingRule rule : {NonZeroWindingRule, EvenOddWindingRule}) {
        path.setWindingRule(rule);
        QImage image(30, 30, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.fillPath(toQPainterPath(path), Qt::black);
        p.end();
        EXPECT_EQ(qAlpha(image.pixel(15, 15)), rule == NonZeroWindingRule ? 255 : 0);
        EXPECT_EQ(qAlpha(image.pixel(5, 5)), 255);
    }
}

TEST(PathConversion, ElementsMapOneToOne)
{
    BezierPath path;
    path.moveToPoint({1, 2});
    path.curveToPoint({7, 8}, {3, 4}, {5, 6});
    path.lineToPoint({9, 9});
    path.closePath();
    const QPainterPath q = toQPainterPath(path);
    ASSERT_EQ(q.elementCount(), 6);  // move, curve (3 Qt elements), line, close back to the start
    EXPECT_EQ(q.elementAt(1).x, 3);
    EXPECT_EQ(q.elementAt(3).y, 8);
    EXPECT_EQ(QPointF(q.elementAt(5)), QPointF(1, 2));
}

} // namespace
