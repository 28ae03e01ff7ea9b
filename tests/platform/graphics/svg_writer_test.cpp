// What the SVG writer makes of pens, fill rules, gradients, clips and transforms.
#include "platform/graphics/recording_paint_device.h"
#include "platform/graphics/svg_writer.h"

#include <gtest/gtest.h>

#include <QLinearGradient>

namespace {

QByteArray svgOf(const std::function<void(QPainter &)> &draw)
{
    RecordingPaintDevice device(QSize(100, 100));
    {
        QPainter painter(&device);
        draw(painter);
    }
    return svgDocumentFromDraws(device.draws(), QSizeF(100, 100));
}

QPainterPath square()
{
    QPainterPath path;
    path.addRect(10, 10, 30, 30);
    return path;
}

} // namespace

TEST(SvgWriter, PenBecomesStrokeAttributes)
{
    struct Case {
        QPen pen;
        std::vector<QByteArray> attributes;
    };
    QPen dashed(Qt::red, 2, Qt::CustomDashLine, Qt::RoundCap, Qt::BevelJoin);
    dashed.setDashPattern({3, 1});
    dashed.setDashOffset(1);
    QPen mitred(QColor(0, 0, 255, 128), 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    mitred.setMiterLimit(10);
    for (const Case &c : {Case{dashed,
                               {"stroke=\"#ff0000\"", "stroke-width=\"2\"", "stroke-linecap=\"round\"",
                                "stroke-linejoin=\"bevel\"", "stroke-dasharray=\"6 2\"", "stroke-dashoffset=\"2\""}},
                          Case{mitred,
                               {"stroke=\"#0000ff\"", "stroke-opacity=\"0.502\"", "stroke-width=\"4\"",
                                "stroke-linecap=\"square\"", "stroke-miterlimit=\"10\""}}}) {
        const QByteArray svg = svgOf([&](QPainter &p) {
            p.setPen(c.pen);
            p.setBrush(Qt::NoBrush);
            p.drawPath(square());
        });
        SCOPED_TRACE(svg.toStdString());
        EXPECT_TRUE(svg.contains("fill=\"none\""));
        for (const QByteArray &attribute : c.attributes)
            EXPECT_TRUE(svg.contains(attribute)) << attribute.toStdString();
    }
}

TEST(SvgWriter, FillRuleGradientTransformAndClip)
{
    const QByteArray svg = svgOf([](QPainter &p) {
        QLinearGradient gradient(0, 0, 40, 0);
        gradient.setColorAt(0, Qt::red);
        gradient.setColorAt(1, Qt::blue);
        p.setPen(Qt::NoPen);
        p.setBrush(gradient);
        p.setClipRect(QRectF(0, 0, 20, 100));
        p.translate(5, 6);
        p.rotate(90);
        QPainterPath path = square();
        path.setFillRule(Qt::OddEvenFill);
        p.drawPath(path);
    });
    EXPECT_TRUE(svg.contains("fill-rule=\"evenodd\""));
    EXPECT_TRUE(svg.contains("<linearGradient id=\"paint2\" x1=\"0\" y1=\"0\" x2=\"40\" y2=\"0\""));
    EXPECT_TRUE(svg.contains("fill=\"url(#paint2)\""));
    EXPECT_TRUE(svg.contains("transform=\"matrix(0 1 -1 0 5 6)\""));
    EXPECT_TRUE(svg.contains("<clipPath id=\"clip1\"><path d=\"M0 0L20 0L20 100L0 100L0 0\""));
    EXPECT_TRUE(svg.contains("<g clip-path=\"url(#clip1)\">"));
}
