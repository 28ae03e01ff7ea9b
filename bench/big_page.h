// The benchmarks' big page: 2000 x 2000 points of 10,000 filled and stroked cubic paths at
// random places (a fixed seed), filled at opacity 0.7, some crossing the page's edge, as a
// document built directly and as the SVG text of the same drawing for librsvg and for our
// import. Semi-transparent fills blend with what lies below, which opaque ones do not.
#pragma once

#include "document/vek_document.h"
#include "model/vek_obj_path.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextStream>

#include <map>
#include <random>
#include <vector>

namespace bigpage {

constexpr int PathCount = 10000;
constexpr float Side = 2000;
constexpr float FillOpacity = 0.7f;

struct Shape {
    BezierPath path;
    QColor fill, stroke;
};

inline std::vector<Shape> makeShapes(int count)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> place(0, Side), offset(-30, 30);
    std::uniform_int_distribution<int> channel(0, 255);
    std::vector<Shape> shapes;
    shapes.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const Point centre{place(random), place(random)};
        const auto near = [&] { return Point{centre.x + offset(random), centre.y + offset(random)}; };
        Shape s;
        s.path.moveToPoint(near());
        for (int k = 0; k < 3; ++k)
            s.path.curveToPoint(near(), near(), near());
        s.path.closePath();
        s.fill = QColor(channel(random), channel(random), channel(random));
        s.stroke = QColor(channel(random), channel(random), channel(random));
        shapes.push_back(s);
    }
    return shapes;
}

inline const std::vector<Shape> &shapes(int count = PathCount)
{
    static std::map<int, std::vector<Shape>> made;
    auto it = made.find(count);
    if (it == made.end())
        it = made.emplace(count, makeShapes(count)).first;
    return it->second;
}

inline Color colourOf(const QColor &c, float alpha = 1)
{
    return Color::colorWithCalibratedRed(float(c.redF()), float(c.greenF()), float(c.blueF()), alpha);
}

// The document: the shapes as path objects, the first shape front-most.
struct Page {
    Page()
    {
        doc.setDrawAreaSizePerPage({Side, Side});
        doc.setNumberOfPages(1);
        doc.undoManager()->disableUndoRegistration();
        for (auto it = shapes().rbegin(); it != shapes().rend(); ++it) {
            auto o = VekObjPath::create();
            o->setBezierPath(it->path);
            o->setBounds(it->path.bounds());
            o->setFillColor(colourOf(it->fill, FillOpacity));
            o->setDrawsFill(true);
            o->setObjStrokeColor(colourOf(it->stroke));
            o->setObjLineWidth(1.5f);
            o->setDrawsStroke(true);
            doc.insertObject(o, 0, false);
        }
    }
    VekDocument doc;
};

inline QString svgPathData(const BezierPath &path)
{
    QString d;
    for (const PathElement &e : path.elements()) {
        switch (e.kind) {
        case MoveToBezierPathElement: d += QStringLiteral("M%1 %2").arg(e.points[0].x).arg(e.points[0].y); break;
        case LineToBezierPathElement: d += QStringLiteral("L%1 %2").arg(e.points[0].x).arg(e.points[0].y); break;
        case CurveToBezierPathElement:
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(e.points[0].x).arg(e.points[0].y).arg(e.points[1].x)
                     .arg(e.points[1].y).arg(e.points[2].x).arg(e.points[2].y);
            break;
        case ClosePathBezierPathElement: d += QLatin1Char('Z'); break;
        }
    }
    return d;
}

// The same drawing as SVG, back to front; `count` paths instead of PathCount for the
// benchmarks that show how the time grows.
inline QByteArray svg(int count = PathCount)
{
    QString text;
    QTextStream out(&text);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2000\" height=\"2000\">\n";
    for (auto it = shapes(count).rbegin(); it != shapes(count).rend(); ++it)
        out << "<path d=\"" << svgPathData(it->path) << "\" fill=\"" << it->fill.name() << "\" fill-opacity=\"" << FillOpacity << "\" stroke=\""
            << it->stroke.name() << "\" stroke-width=\"1.5\" stroke-miterlimit=\"10\"/>\n";
    out << "</svg>\n";
    out.flush();
    return text.toUtf8();
}

} // namespace bigpage
